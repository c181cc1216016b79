// The status bar: parts and their text types read back, owner-drawn parts, its place along the parent's edge,
// the size grip.
#include "ControlsTestSupport.h"

#include "platform/controls/CommonControls.h"

using namespace controlstest;

namespace {

class StatusBarTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterStatusBarClass();
    }
    HWND MakeBar(DWORD style = 0) {
        HWND bar =
            CreateWindowExW(0, STATUSCLASSNAMEW, u"ready", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(59393)), nullptr, nullptr);
        EXPECT_NE(bar, nullptr);
        Pump();
        return bar;
    }
};

TEST_F(StatusBarTest, PartsAndTextTypesReadBack) {
    HWND bar = MakeBar();
    const int edges[] = {100, 200, -1};
    EXPECT_TRUE(SendMessageW(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges)));
    int back[8] = {};
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(back)), 3);
    EXPECT_EQ(back[0], 100);
    EXPECT_EQ(back[1], 200);
    EXPECT_EQ(back[2], -1);
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 0, 0), 3);

    // The window text is the first part's.
    EXPECT_EQ(Text(bar), u"ready");

    struct Case {
        int index;
        UINT type;
        const char16_t* text;
    } cases[] = {{0, 0, u"plain"}, {1, SBT_NOBORDERS, u"flat"}, {2, SBT_POPOUT, u"raised\tmiddle"}};
    for (const Case& c : cases) {
        EXPECT_TRUE(SendMessageW(bar, SB_SETTEXTW, c.index | c.type, reinterpret_cast<LPARAM>(c.text)));
    }
    for (const Case& c : cases) {
        std::u16string expected = c.text;
        LRESULT info = SendMessageW(bar, SB_GETTEXTLENGTHW, c.index, 0);
        EXPECT_EQ(LOWORD(info), expected.size());
        EXPECT_EQ(HIWORD(info), c.type);
        WCHAR buffer[64] = {};
        EXPECT_EQ(SendMessageW(bar, SB_GETTEXTW, c.index, reinterpret_cast<LPARAM>(buffer)), info);
        EXPECT_EQ(std::u16string(buffer), expected);
    }
    // Parts that do not exist, and too many parts, are refused.
    EXPECT_FALSE(SendMessageW(bar, SB_SETTEXTW, 3, reinterpret_cast<LPARAM>(u"x")));
    std::vector<int> many(257, -1);
    EXPECT_FALSE(SendMessageW(bar, SB_SETPARTS, 257, reinterpret_cast<LPARAM>(many.data())));
    EXPECT_EQ(SendMessageW(bar, SB_GETPARTS, 0, 0), 3);

    int borders[3] = {-1, -1, -1};
    EXPECT_TRUE(SendMessageW(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders)));
    EXPECT_EQ(borders[0], 0);
    EXPECT_EQ(borders[1], 2);
    EXPECT_EQ(borders[2], 2);

    RECT part{};
    EXPECT_TRUE(SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part)));
    EXPECT_EQ(part.left, 100 + borders[2]);
    EXPECT_EQ(part.right, 200);
    RECT client{};
    GetClientRect(bar, &client);
    EXPECT_TRUE(SendMessageW(bar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part)));
    EXPECT_EQ(part.right, client.right);
    EXPECT_FALSE(SendMessageW(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&part)));
}

TEST_F(StatusBarTest, OwnerDrawnPartGoesToTheParentWithItsData) {
    HWND bar = MakeBar();
    const int edges[] = {80, 160, -1};
    SendMessageW(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    std::vector<DRAWITEMSTRUCT> drawn;
    parentHook = [&](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_DRAWITEM) {
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return std::nullopt;
    };
    EXPECT_TRUE(SendMessageW(bar, SB_SETTEXTW, 1 | SBT_OWNERDRAW, 0x1234));
    EXPECT_EQ(SendMessageW(bar, SB_GETTEXTW, 1, 0), 0x1234); // the data, not a length
    EXPECT_EQ(HIWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 1, 0)), SBT_OWNERDRAW);
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].itemID, 1u);
    EXPECT_EQ(drawn[0].itemData, 0x1234u);
    EXPECT_EQ(drawn[0].hwndItem, bar);
    EXPECT_EQ(drawn[0].CtlID, 59393u);
    RECT part{};
    SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    EXPECT_GE(drawn[0].rcItem.left, part.left);
    EXPECT_LE(drawn[0].rcItem.right, part.right);

    // An icon in the part narrows what the owner draws, and stays the bar's.
    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    EXPECT_TRUE(SendMessageW(bar, SB_SETICON, 1, reinterpret_cast<LPARAM>(icon)));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(bar, SB_GETICON, 1, 0)), icon);
    drawn.clear();
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_GE(drawn[0].rcItem.left, part.left + GetSystemMetrics(SM_CXSMICON));
    EXPECT_FALSE(SendMessageW(bar, SB_SETICON, 7, reinterpret_cast<LPARAM>(icon)));
}

TEST_F(StatusBarTest, PlacesItselfAlongTheParentOnWmSize) {
    HWND bottom = MakeBar();
    HWND top = MakeBar(CCS_TOP);
    auto check = [&] {
        RECT area{};
        GetClientRect(parent, &area);
        for (HWND bar : {bottom, top}) {
            RECT rc{};
            GetWindowRect(bar, &rc);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
            EXPECT_EQ(rc.left, 0);
            EXPECT_EQ(rc.right, area.right);
            EXPECT_GT(rc.bottom - rc.top, 10);
            if (bar == bottom) {
                EXPECT_EQ(rc.bottom, area.bottom);
            } else {
                EXPECT_EQ(rc.top, 0);
            }
        }
    };
    check();
    MoveWindow(parent, 50, 50, 640, 480, TRUE);
    RECT area{};
    GetClientRect(parent, &area);
    for (HWND bar : {bottom, top}) {
        SendMessageW(bar, WM_SIZE, SIZE_RESTORED, MAKELPARAM(area.right, area.bottom));
    }
    check();

    // A larger minimum height shows on the next WM_SIZE.
    RECT before{};
    GetWindowRect(bottom, &before);
    SendMessageW(bottom, SB_SETMINHEIGHT, 60, 0);
    SendMessageW(bottom, WM_SIZE, 0, 0);
    RECT after{};
    GetWindowRect(bottom, &after);
    EXPECT_GE(after.bottom - after.top, 60);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(StatusBarTest, SizeGripAnswersBottomRightOnlyWithTheStyle) {
    HWND plain = MakeBar();
    HWND grip = MakeBar(SBARS_SIZEGRIP);
    for (HWND bar : {plain, grip}) {
        RECT rc{};
        GetWindowRect(bar, &rc);
        LRESULT hit = SendMessageW(bar, WM_NCHITTEST, 0, MAKELPARAM(rc.right - 2, rc.bottom - 2));
        EXPECT_EQ(hit, bar == grip ? HTBOTTOMRIGHT : HTCLIENT);
        EXPECT_EQ(SendMessageW(bar, WM_NCHITTEST, 0, MAKELPARAM(rc.left + 2, rc.bottom - 2)), HTCLIENT);
    }
}

TEST_F(StatusBarTest, SimpleModeShowsItsOwnText) {
    HWND bar = MakeBar();
    SendMessageW(bar, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(u"menu help"));
    SendMessageW(bar, SB_SIMPLE, TRUE, 0);
    EXPECT_TRUE(SendMessageW(bar, SB_ISSIMPLE, 0, 0));
    WCHAR buffer[32] = {};
    SendMessageW(bar, SB_GETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(std::u16string(buffer), u"menu help");
    EXPECT_EQ(Text(bar), u"ready"); // the parts keep their texts
}

} // namespace
