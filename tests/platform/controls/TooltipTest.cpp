// Tooltips: text asked from the owner through TTN_GETDISPINFO, the delays, leaving and hit testing.
#include "ControlsTestSupport.h"

#include "platform/controls/CommonControls.h"

using namespace controlstest;

namespace {

class TooltipTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterTooltipClass();
        tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                              parent, nullptr, nullptr, nullptr);
        ASSERT_NE(tip, nullptr);
        SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 400); // shows after 400, pops after 4000
        parentHook = [this](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_NOTIFY) {
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                if (info->hdr.code == TTN_GETDISPINFOW) {
                    ++asked;
                    askedId = info->hdr.idFrom;
                    askedFrom = info->hdr.hwndFrom;
                    std::u16string text = u"Tool " + std::u16string(1, char16_t(u'0' + info->hdr.idFrom));
                    std::copy(text.begin(), text.end(), info->szText);
                    info->szText[text.size()] = 0;
                    return 0;
                }
            }
            return std::nullopt;
        };
    }
    void TearDown() override {
        if (IsWindow(tip)) {
            DestroyWindow(tip);
        }
        ControlsTest::TearDown();
    }
    void Add(UINT_PTR id, RECT rect, LPWSTR text) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = parent;
        ti.uId = id;
        ti.rect = rect;
        ti.lpszText = text;
        ti.lParam = static_cast<LPARAM>(id * 100);
        EXPECT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    }
    void Move(POINT pt) {
        MSG msg{parent, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y), 0, {}};
        SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    void Wait(int ms) {
        DisplayAdvanceTestClock(static_cast<std::uint64_t>(ms));
        Pump();
    }
    std::u16string TipText(UINT_PTR id) {
        WCHAR buffer[80] = {};
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = parent;
        ti.uId = id;
        ti.lpszText = buffer;
        SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&ti));
        return buffer;
    }

    HWND tip = nullptr;
    int asked = 0;
    UINT_PTR askedId = 0;
    HWND askedFrom = nullptr;
};

TEST_F(TooltipTest, CallbackTextIsAskedWhenTheTipShows) {
    Add(1, RECT{0, 0, 100, 50}, LPSTR_TEXTCALLBACKW);
    Add(2, RECT{100, 0, 200, 50}, const_cast<LPWSTR>(u"Fixed"));
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

    Move(POINT{10, 10});
    Wait(399);
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(asked, 0);
    Wait(1);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(askedId, 1u);
    EXPECT_EQ(askedFrom, tip);
    EXPECT_EQ(TipText(1), u"Tool 1");
    EXPECT_EQ(TipText(2), u"Fixed");
    EXPECT_EQ(GetWindowLongW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);

    // Another tool takes over after the short reshow delay; leaving every tool hides the tip.
    Move(POINT{150, 10});
    EXPECT_FALSE(IsWindowVisible(tip));
    Wait(80);
    EXPECT_TRUE(IsWindowVisible(tip));
    Move(POINT{300, 300});
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, AutoPopHidesUntilTheMouseLeavesTheTool) {
    Add(1, RECT{0, 0, 100, 50}, const_cast<LPWSTR>(u"Hello"));
    Move(POINT{10, 10});
    Wait(400);
    ASSERT_TRUE(IsWindowVisible(tip));
    Wait(4000);
    EXPECT_FALSE(IsWindowVisible(tip));
    Move(POINT{12, 12});
    Wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
    Move(POINT{300, 300});
    Move(POINT{12, 12});
    Wait(400);
    EXPECT_TRUE(IsWindowVisible(tip));
    SendMessageW(tip, TTM_POP, 0, 0);
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, HitTestUpdateAndDelete) {
    Add(1, RECT{0, 0, 100, 50}, const_cast<LPWSTR>(u"One"));
    TTHITTESTINFOW hit{};
    hit.hwnd = parent;
    hit.pt = POINT{20, 20};
    EXPECT_TRUE(SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    EXPECT_EQ(hit.ti.uId, 1u);
    EXPECT_EQ(hit.ti.lParam, 100);
    hit.pt = POINT{120, 20};
    EXPECT_FALSE(SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));

    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = parent;
    ti.uId = 1;
    ti.rect = RECT{0, 0, 200, 50};
    SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
    hit.pt = POINT{120, 20};
    EXPECT_TRUE(SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    ti.lpszText = const_cast<LPWSTR>(u"Changed");
    SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(TipText(1), u"Changed");
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_FALSE(SendMessageW(tip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
}

TEST_F(TooltipTest, InactiveControlShowsNothing) {
    Add(1, RECT{0, 0, 100, 50}, const_cast<LPWSTR>(u"Hello"));
    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    Move(POINT{10, 10});
    Wait(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(TooltipTest, SubclassedToolWindowRelaysItsOwnMouseMessages) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = parent;
    ti.uId = reinterpret_cast<UINT_PTR>(parent);
    ti.lpszText = const_cast<LPWSTR>(u"Whole window");
    ASSERT_TRUE(SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    DisplayInjectMouse(WM_MOUSEMOVE, ToScreen(parent, POINT{60, 60}));
    Pump();
    Wait(400);
    EXPECT_TRUE(IsWindowVisible(tip));
    // Removing the tool gives the window its own procedure back.
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(parent, GWLP_WNDPROC)), &ControlsTest::ParentProc);
}

} // namespace
