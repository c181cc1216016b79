// The tab control: items kept in order with the selection following inserts and deletes, a click or a key
// asking the parent before the change, and the selected tab drawn raised above the others.
#include "ControlsTestSupport.h"

#include "platform/controls/CommonControls.h"

using namespace controlstest;

namespace {

class TabControlTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterTabControlClass();
        tab = Make(WC_TABCONTROLW, u"", WS_TABSTOP, RECT{10, 10, 310, 210}, 7);
        parentHook = [this](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg != WM_NOTIFY) {
                return std::nullopt;
            }
            const auto* nm = reinterpret_cast<const NMHDR*>(lParam);
            codes.push_back(nm->code);
            selectionSeen.push_back(Current());
            return nm->code == TCN_SELCHANGING ? refuse : 0;
        };
    }
    int Insert(int index, const char16_t* text, LPARAM param = 0) {
        std::u16string copy = text;
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = reinterpret_cast<LPWSTR>(copy.data());
        item.lParam = param;
        return static_cast<int>(SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                                             reinterpret_cast<LPARAM>(&item)));
    }
    std::u16string TextAt(int index) {
        WCHAR buffer[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        return SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))
                   ? std::u16string(reinterpret_cast<const char16_t*>(buffer))
                   : u"<none>";
    }
    int Current() { return static_cast<int>(SendMessageW(tab, TCM_GETCURSEL, 0, 0)); }
    POINT CentreOf(int index) {
        RECT rc{};
        SendMessageW(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    HWND tab = nullptr;
    std::vector<UINT> codes;
    std::vector<int> selectionSeen;
    LRESULT refuse = 0;
};

TEST_F(TabControlTest, SelectionFollowsInsertsAndDeletes) {
    EXPECT_EQ(Current(), -1);
    EXPECT_EQ(Insert(0, u"One", 11), 0);
    EXPECT_EQ(Current(), 0); // the first tab is selected at once
    EXPECT_EQ(Insert(99, u"Three"), 1); // past the end appends
    EXPECT_EQ(Insert(1, u"Two"), 1);
    EXPECT_EQ(Insert(-1, u"bad"), -1);
    EXPECT_EQ(SendMessageW(tab, TCM_SETCURSEL, 2, 0), 0);
    EXPECT_EQ(SendMessageW(tab, TCM_SETCURSEL, 5, 0), -1);
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(TextAt(0) + TextAt(1) + TextAt(2), u"OneTwoThree");
    EXPECT_EQ(TextAt(3), u"<none>");

    Insert(0, u"Zero");
    EXPECT_EQ(Current(), 3); // still "Three"
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEITEM, 1, 0));
    EXPECT_EQ(Current(), 2);
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEITEM, 2, 0));
    EXPECT_EQ(Current(), -1); // the owner chooses what comes next
    EXPECT_FALSE(SendMessageW(tab, TCM_DELETEITEM, 7, 0));

    TCITEMW item{};
    item.mask = TCIF_PARAM;
    item.lParam = 5;
    EXPECT_TRUE(SendMessageW(tab, TCM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.lParam = 0;
    SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.lParam, 5);
    EXPECT_TRUE(SendMessageW(tab, TCM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_TRUE(codes.empty()); // programmatic changes notify nothing
}

TEST_F(TabControlTest, ClicksAndKeysAskTheParentFirst) {
    Insert(0, u"One");
    Insert(1, u"Two");
    Insert(2, u"Three");
    Click(tab, CentreOf(2));
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
    EXPECT_EQ(selectionSeen, (std::vector<int>{0, 2})); // asked before, told after

    codes.clear();
    Click(tab, CentreOf(2)); // the tab in front: nothing
    Click(tab, POINT{290, 5}); // beside the tabs: nothing
    EXPECT_TRUE(codes.empty());

    EXPECT_EQ(GetFocus(), tab);
    Press(VK_LEFT);
    EXPECT_EQ(Current(), 1);
    Press(VK_HOME);
    EXPECT_EQ(Current(), 0);
    Press(VK_LEFT); // no wrapping
    EXPECT_EQ(Current(), 0);
    Press(VK_END);
    EXPECT_EQ(Current(), 2);

    refuse = TRUE;
    codes.clear();
    Click(tab, CentreOf(0));
    Press(VK_LEFT);
    EXPECT_EQ(Current(), 2);
    EXPECT_EQ(codes, (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGING}));

    TCHITTESTINFO hit{CentreOf(1), 0};
    EXPECT_EQ(SendMessageW(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_ONITEMLABEL));
    hit.pt = POINT{150, 150};
    EXPECT_EQ(SendMessageW(tab, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TCHT_NOWHERE));
}

TEST_F(TabControlTest, SelectedTabStandsAboveTheOthersAndTheDisplayAreaLiesInsideTheBody) {
    Insert(0, u"One");
    Insert(1, u"Two");
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
    UpdateWindow(tab);
    RECT first{}, second{};
    SendMessageW(tab, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(tab, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    int x1 = (first.left + first.right) / 2;
    int x2 = (second.left + second.right) / 2;
    COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    // The selected tab's top edge is lifted above the unselected one's.
    EXPECT_EQ(DisplayGetPixel(tab, x2, second.top - 2), light);
    EXPECT_NE(DisplayGetPixel(tab, x1, first.top - 2), light);
    EXPECT_EQ(DisplayGetPixel(tab, x1, first.top), light);
    // The selected tab joins the body: no edge line under it, one under the other.
    EXPECT_EQ(DisplayGetPixel(tab, x2, second.bottom), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(DisplayGetPixel(tab, x1, first.bottom), light);

    RECT display{0, 0, 300, 200};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_GT(display.top, second.bottom);
    EXPECT_GT(display.left, 0);
    EXPECT_LT(display.right, 300);
    RECT back = display;
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back.left, 0);
    EXPECT_EQ(back.top, 0);
    EXPECT_EQ(back.right, 300);
    EXPECT_EQ(back.bottom, 200);
}

} // namespace
