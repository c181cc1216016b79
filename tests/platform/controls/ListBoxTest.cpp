#include "ControlsTestSupport.h"

namespace controlstest {
namespace {

class ListBoxTest : public ControlsTest {
protected:
    HWND List(DWORD style, std::initializer_list<const char16_t*> items = {}, int id = 4) {
        int x = 10 + 170 * (id - 4);
        HWND list = Make(u"ListBox", u"", style | WS_BORDER | WS_VSCROLL, {x, 10, x + 150, 110}, id);
        for (const char16_t* item : items) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        return list;
    }
    static std::u16string ItemText(HWND list, int i) {
        char16_t buffer[64] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    static POINT ItemCentre(HWND list, int i) {
        RECT rect{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
};

TEST_F(ListBoxTest, SortedInsertionAndFindTables) {
    HWND list = List(LBS_SORT, {u"beta", u"Alpha", u"gamma", u"alpha2", u"Beta"});
    std::vector<std::u16string> order;
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        order.push_back(ItemText(list, i));
    }
    // Without regard to case; equal items keep the order they came in.
    EXPECT_EQ(order, (std::vector<std::u16string>{u"Alpha", u"alpha2", u"beta", u"Beta", u"gamma"}));
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"zeta")), 0)
        << "inserting never sorts";
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 99, reinterpret_cast<LPARAM>(u"x")), LB_ERR);

    struct Case {
        UINT msg;
        int start;
        const char16_t* text;
        LRESULT found;
    };
    // zeta, Alpha, alpha2, beta, Beta, gamma
    const Case cases[] = {
        {LB_FINDSTRING, -1, u"al", 1},        {LB_FINDSTRING, 1, u"AL", 2},
        {LB_FINDSTRING, 2, u"al", 1},         {LB_FINDSTRING, 5, u"z", 0},
        {LB_FINDSTRING, 3, u"beta", 4},       {LB_FINDSTRING, -1, u"q", LB_ERR},
        {LB_FINDSTRING, -1, u"", 0},          {LB_FINDSTRINGEXACT, -1, u"ALPHA", 1},
        {LB_FINDSTRINGEXACT, 1, u"alpha", 1}, {LB_FINDSTRINGEXACT, -1, u"alp", LB_ERR},
        {LB_FINDSTRING, 99, u"z", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SendMessageW(list, c.msg, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.text)),
                  c.found)
            << (c.msg == LB_FINDSTRING ? "prefix " : "exact ") << c.start;
    }
    EXPECT_EQ(SendMessageW(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"g")),
              5);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 5);
}

TEST_F(ListBoxTest, ItemsDataAndSelectionFollowDeletions) {
    HWND list = List(0, {u"a", u"b", u"c", u"d"});
    SendMessageW(list, LB_SETITEMDATA, 2, 77);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 2, 0), 77);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 1, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 1, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(Codes(4).empty()) << "no notifications for the program's own changes";
}

TEST_F(ListBoxTest, UserSelectionNotifiesWithLbsNotify) {
    HWND list = List(LBS_NOTIFY, {u"one", u"two", u"three", u"four"});
    Click(list, ItemCentre(list, 1));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(4), (std::vector<UINT>{LBN_SETFOCUS, LBN_SELCHANGE}));
    ClearNotes();
    Press(VK_DOWN);
    Press(VK_END);
    Press(VK_END);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Codes(4), (std::vector<UINT>{LBN_SELCHANGE, LBN_SELCHANGE}));
    ClearNotes();
    Type(u"t");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1) << "typing selects by prefix after the selection";
    ClearNotes();
    POINT pt = ToScreen(list, ItemCentre(list, 2));
    DisplayInjectMouse(WM_LBUTTONDOWN, pt);
    DisplayInjectMouse(WM_LBUTTONUP, pt);
    DisplayInjectMouse(WM_LBUTTONDOWN, pt);
    DisplayInjectMouse(WM_LBUTTONUP, pt);
    Pump();
    EXPECT_EQ(Codes(4), (std::vector<UINT>{LBN_SELCHANGE, LBN_DBLCLK}));

    HWND quiet = List(0, {u"a", u"b"}, 5);
    Click(quiet, ItemCentre(quiet, 1));
    EXPECT_EQ(SendMessageW(quiet, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(5), std::vector<UINT>{LBN_SETFOCUS}) << "focus notifications come without LBS_NOTIFY";
}

TEST_F(ListBoxTest, MultipleAndExtendedSelection) {
    HWND multi = List(LBS_MULTIPLESEL, {u"a", u"b", u"c", u"d", u"e"});
    Click(multi, ItemCentre(multi, 1));
    Click(multi, ItemCentre(multi, 3));
    Click(multi, ItemCentre(multi, 1));
    EXPECT_EQ(SendMessageW(multi, LB_GETSELCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(multi, LB_GETSEL, 3, 0), 1);
    EXPECT_EQ(SendMessageW(multi, LB_SETCURSEL, 0, 0), LB_ERR);
    SendMessageW(multi, LB_SETSEL, TRUE, -1);
    int items[8] = {};
    EXPECT_EQ(SendMessageW(multi, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(items)), 5);

    HWND extended = List(LBS_EXTENDEDSEL, {u"a", u"b", u"c", u"d", u"e"}, 5);
    Click(extended, ItemCentre(extended, 1));
    DisplayInjectKey(VK_SHIFT, 0, TRUE, FALSE);
    Click(extended, ItemCentre(extended, 3));
    DisplayInjectKey(VK_SHIFT, 0, FALSE, FALSE);
    Pump();
    EXPECT_EQ(SendMessageW(extended, LB_GETSELCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(extended, LB_GETCARETINDEX, 0, 0), 3);
    Press(VK_DOWN, {VK_SHIFT});
    EXPECT_EQ(SendMessageW(extended, LB_GETSELCOUNT, 0, 0), 4);
    Press(VK_HOME);
    EXPECT_EQ(SendMessageW(extended, LB_GETSELCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(extended, LB_GETSEL, 0, 0), 1);
}

TEST_F(ListBoxTest, ScrollingGeometry) {
    HWND list = List(0);
    for (int i = 0; i < 40; ++i) {
        std::u16string text = u"item " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(height, 0);
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 10, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 10);
    RECT rect{};
    EXPECT_EQ(SendMessageW(list, LB_GETITEMRECT, 12, reinterpret_cast<LPARAM>(&rect)), 1);
    EXPECT_EQ(rect.top, 2 * height);
    EXPECT_EQ(SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 2 * height + 1)), MAKELONG(12, 0));
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &si));
    EXPECT_EQ(si.nPos, 10);
    EXPECT_EQ(si.nMax, 39);

    SendMessageW(list, LB_SETCURSEL, 39, 0);
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 30) << "the selection is scrolled into view";
    SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 20);
}

TEST_F(ListBoxTest, HeightRoundsToWholeItemsUnlessNoIntegralHeight) {
    HWND integral = Make(u"ListBox", u"", WS_BORDER, {10, 10, 110, 110}, 4);
    HWND free = Make(u"ListBox", u"", WS_BORDER | LBS_NOINTEGRALHEIGHT, {120, 10, 220, 110}, 5);
    int itemHeight = static_cast<int>(SendMessageW(integral, LB_GETITEMHEIGHT, 0, 0));
    RECT client;
    GetClientRect(integral, &client);
    EXPECT_EQ(client.bottom % itemHeight, 0);
    EXPECT_GT(client.bottom, 98 - itemHeight);
    GetClientRect(free, &client);
    EXPECT_EQ(client.bottom, 98);

    // The height asked for is kept: a larger item height rounds from it again, not from the rounded one.
    SendMessageW(integral, LB_SETITEMHEIGHT, 0, MAKELPARAM(30, 0));
    GetClientRect(integral, &client);
    EXPECT_EQ(client.bottom, 90);
    SendMessageW(integral, LB_SETITEMHEIGHT, 0, MAKELPARAM(49, 0));
    GetClientRect(integral, &client);
    EXPECT_EQ(client.bottom, 98);
    MoveWindow(integral, 10, 10, 100, 60, TRUE);
    GetClientRect(integral, &client);
    EXPECT_EQ(client.bottom, 49);
}

TEST_F(ListBoxTest, OwnerDrawVariableMeasuresDrawsAndCompares) {
    std::vector<UINT> measured;
    std::vector<UINT> drawn;
    parentHook = [&](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            measured.push_back(mis->itemID);
            mis->itemHeight = 10 + 5 * mis->itemID;
            return TRUE;
        }
        if (msg == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            EXPECT_EQ(dis->CtlType, static_cast<UINT>(ODT_LISTBOX));
            drawn.push_back(dis->itemID);
            return TRUE;
        }
        return std::nullopt;
    };
    HWND list = List(LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, {u"a", u"b", u"c"});
    EXPECT_EQ(measured, (std::vector<UINT>{0, 1, 2}));
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 2, 0), 20);
    RECT rect{};
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.top, 10 + 15);
    UpdateWindow(parent);
    EXPECT_EQ(drawn, (std::vector<UINT>{0, 1, 2}));

    // Without strings a sorted list asks the parent to compare the item data.
    parentHook = [&](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_COMPAREITEM) {
            auto* cis = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
            return cis->itemData1 < cis->itemData2 ? -1 : (cis->itemData1 > cis->itemData2 ? 1 : 0);
        }
        return std::nullopt;
    };
    HWND data = Make(u"ListBox", u"", LBS_OWNERDRAWFIXED | LBS_SORT, {200, 10, 300, 100}, 9);
    for (LPARAM value : {30, 10, 20}) {
        SendMessageW(data, LB_ADDSTRING, 0, value);
    }
    EXPECT_EQ(SendMessageW(data, LB_GETITEMDATA, 0, 0), 10);
    EXPECT_EQ(SendMessageW(data, LB_GETITEMDATA, 2, 0), 30);
    EXPECT_EQ(SendMessageW(data, LB_FINDSTRING, static_cast<WPARAM>(-1), 20), 1);
    parentHook = nullptr;
}

TEST_F(ListBoxTest, SelectionPaintsHighlight) {
    HWND list = List(0, {u"one", u"two"});
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    UpdateWindow(parent);
    POINT inside = ItemCentre(list, 1);
    EXPECT_EQ(DisplayGetPixel(list, 140, inside.y), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(DisplayGetPixel(list, 140, ItemCentre(list, 0).y), GetSysColor(COLOR_WINDOW));
}

} // namespace
} // namespace controlstest
