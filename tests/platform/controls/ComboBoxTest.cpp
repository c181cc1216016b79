#include "ControlsTestSupport.h"

namespace controlstest {
namespace {

class ComboBoxTest : public ControlsTest {
protected:
    HWND Combo(DWORD style,
               std::initializer_list<const char16_t*> items = {u"red", u"green", u"blue", u"black"},
               int id = 3) {
        int x = 10 + 200 * (id - 3);
        HWND combo = Make(u"ComboBox", u"", style | WS_VSCROLL, {x, 10, x + 150, 160}, id);
        for (const char16_t* item : items) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        ClearNotes();
        return combo;
    }
    // The dropped list: the top-level "ComboLBox" window the combo box shows.
    static HWND DroppedList(HWND combo) {
        HWND list = nullptr;
        EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
                char16_t name[32] = {};
                GetClassNameW(hwnd, name, 32);
                if (std::u16string(name) == u"ComboLBox" && IsWindowVisible(hwnd)) {
                    *reinterpret_cast<HWND*>(param) = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&list));
        (void)combo;
        return list;
    }
    static std::u16string LbText(HWND combo, int i) {
        char16_t buffer[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
};

TEST_F(ComboBoxTest, FindStringStartIndexWrapAndCase) {
    HWND combo = Combo(CBS_DROPDOWNLIST | CBS_SORT, {u"Beta", u"alpha", u"ALPHABET", u"beta", u"Gamma"});
    // alpha, ALPHABET, Beta, beta, Gamma
    EXPECT_EQ(LbText(combo, 0), u"alpha");
    EXPECT_EQ(LbText(combo, 4), u"Gamma");
    struct Case {
        UINT msg;
        int start;
        const char16_t* text;
        LRESULT found;
    };
    const Case cases[] = {
        {CB_FINDSTRING, -1, u"ALP", 0},        {CB_FINDSTRING, 0, u"alp", 1},
        {CB_FINDSTRING, 1, u"alp", 0},         {CB_FINDSTRING, 4, u"b", 2},
        {CB_FINDSTRING, 2, u"BETA", 3},        {CB_FINDSTRING, 3, u"beta", 2},
        {CB_FINDSTRING, -1, u"delta", CB_ERR}, {CB_FINDSTRINGEXACT, -1, u"BETA", 2},
        {CB_FINDSTRINGEXACT, 2, u"beta", 3},   {CB_FINDSTRINGEXACT, -1, u"alphab", CB_ERR},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SendMessageW(combo, c.msg, static_cast<WPARAM>(c.start), reinterpret_cast<LPARAM>(c.text)),
                  c.found)
            << c.start << " " << (c.msg == CB_FINDSTRING ? "prefix" : "exact");
    }
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, 2, reinterpret_cast<LPARAM>(u"b")), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"x")),
              CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 3) << "a failed select keeps the selection";
    EXPECT_EQ(Text(combo), u"beta");
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 2, 0), 4);
    EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 7, 0), CB_ERR);
    EXPECT_TRUE(Codes(3).empty());
}

TEST_F(ComboBoxTest, DropDownListByKeyboard) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    SetFocus(combo);
    EXPECT_EQ(Codes(3), std::vector<UINT>{CBN_SETFOCUS});
    ClearNotes();
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Codes(3), std::vector<UINT>{CBN_SELCHANGE}) << "arrows select while closed";
    ClearNotes();

    Press(VK_F4);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    HWND list = DroppedList(combo);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetAncestor(list, GA_PARENT), GetDesktopWindow());
    RECT comboRect;
    RECT listRect;
    GetWindowRect(combo, &comboRect);
    GetWindowRect(list, &listRect);
    EXPECT_EQ(listRect.top, comboRect.bottom);
    EXPECT_EQ(listRect.left, comboRect.left);
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Codes(3), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    ClearNotes();

    Press(VK_DOWN, {VK_MENU});
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    Press(VK_ESCAPE);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(Codes(3), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    ClearNotes();

    Type(u"b");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2) << "typing selects the next item with the prefix";
    Type(u"b");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Codes(3), (std::vector<UINT>{CBN_SELCHANGE, CBN_SELCHANGE}));
}

TEST_F(ComboBoxTest, DropDownListByMouse) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    RECT client;
    GetClientRect(combo, &client);
    Click(combo, {client.right / 2, client.bottom / 2});
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetFocus(), combo);
    HWND list = DroppedList(combo);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetCapture(), list);
    ClearNotes();

    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    Click(list, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes(3), (std::vector<UINT>{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    EXPECT_EQ(GetCapture(), nullptr);
    ClearNotes();

    // A click elsewhere closes it without choosing.
    Click(combo, {client.right / 2, client.bottom / 2});
    ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    Click(parent, {400, 300});
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Codes(3), (std::vector<UINT>{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, DroppedListScrollBarScrollsWithoutClosing) {
    HWND combo = Combo(CBS_DROPDOWNLIST, {});
    for (int i = 0; i < 30; ++i) {
        std::u16string text = u"item " + std::u16string(1, static_cast<char16_t>(u'A' + i));
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    HWND list = DroppedList(combo);
    ASSERT_NE(list, nullptr);
    RECT window;
    GetWindowRect(list, &window);
    POINT arrow{window.right - 4, window.bottom - 4};
    DisplayInjectMouse(WM_MOUSEMOVE, arrow);
    DisplayInjectMouse(WM_LBUTTONDOWN, arrow);
    DisplayInjectMouse(WM_LBUTTONUP, arrow);
    Pump();
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessageW(combo, CB_GETTOPINDEX, 0, 0), 1);
    EXPECT_EQ(GetCapture(), list);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBoxTest, DropDownEditChildNotifiesAndLimits) {
    HWND combo = Combo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    HWND edit = GetDlgItem(combo, 1001);
    ASSERT_NE(edit, nullptr);
    char16_t cls[16] = {};
    GetClassNameW(edit, cls, 16);
    EXPECT_EQ(std::u16string(cls), u"Edit");

    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(Text(edit), u"green");
    EXPECT_EQ(Text(combo), u"green");
    EXPECT_TRUE(Codes(3).empty()) << "the program's selection sends nothing";

    SetFocus(combo);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(SendMessageW(combo, CB_GETEDITSEL, 0, 0), MAKELONG(0, 5)) << "focus selects the text";
    ClearNotes();
    SendMessageW(combo, CB_LIMITTEXT, 3, 0);
    Press(VK_END);
    Type(u"xy");
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    Type(u"abcd");
    EXPECT_EQ(Text(combo), u"abc");
    auto codes = Codes(3);
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[0], static_cast<UINT>(CBN_EDITUPDATE));
    EXPECT_EQ(codes[1], static_cast<UINT>(CBN_EDITCHANGE));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1) << "typing leaves the list selection";

    ClearNotes();
    SetWindowTextW(combo, u"blue");
    EXPECT_EQ(Text(edit), u"blue");
    EXPECT_TRUE(Codes(3).empty());

    ClearNotes();
    SetFocus(parent);
    EXPECT_EQ(Codes(3), std::vector<UINT>{CBN_KILLFOCUS});
}

TEST_F(ComboBoxTest, DropDownButtonAndArrowsInTheEdit) {
    HWND combo = Combo(CBS_DROPDOWN);
    RECT client;
    GetClientRect(combo, &client);
    Click(combo, {client.right - 6, client.bottom / 2});
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    Press(VK_DOWN);
    EXPECT_EQ(Text(combo), u"red");
    Press(VK_F4);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(Codes(3),
              (std::vector<UINT>{CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, HeightsAndDroppedRect) {
    HWND combo = Combo(CBS_DROPDOWNLIST);
    RECT window;
    GetWindowRect(combo, &window);
    int field = window.bottom - window.top;
    EXPECT_LT(field, 150) << "the closed combo box is the selection field only";
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0) + 6, field);
    // WS_VSCROLL is the list's: the closed combo box draws no scroll bar beside its arrow.
    EXPECT_EQ(GetWindowLongW(combo, GWL_STYLE) & WS_VSCROLL, 0);
    RECT client;
    GetClientRect(combo, &client);
    EXPECT_EQ(client.right, window.right - window.left);
    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.top, window.top);
    EXPECT_EQ(dropped.bottom - dropped.top, 150);

    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 24);
    GetWindowRect(combo, &window);
    EXPECT_EQ(window.bottom - window.top, 30);
    MoveWindow(combo, 10, 10, 150, 200, TRUE);
    GetWindowRect(combo, &window);
    EXPECT_EQ(window.bottom - window.top, 30);
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, 200);

    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    HWND list = DroppedList(combo);
    ASSERT_NE(list, nullptr);
    RECT listRect;
    GetWindowRect(list, &listRect);
    int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(listRect.bottom - listRect.top, 4 * itemHeight + 2) << "as many rows as items when they fit";
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(Codes(3), (std::vector<UINT>{CBN_DROPDOWN, CBN_CLOSEUP}));
}

TEST_F(ComboBoxTest, SimpleComboShowsItsListAlways) {
    HWND combo = Combo(CBS_SIMPLE);
    HWND edit = GetDlgItem(combo, 1001);
    HWND list = GetDlgItem(combo, 1000);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
    Click(list, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(Text(edit), u"black");
    auto codes = Codes(3);
    EXPECT_NE(std::find(codes.begin(), codes.end(), static_cast<UINT>(CBN_SELCHANGE)), codes.end());
}

TEST_F(ComboBoxTest, OwnerDrawComboMeasuresFieldAndItemsAndDrawsTheField) {
    std::vector<UINT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    parentHook = [&](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            EXPECT_EQ(mis->CtlType, static_cast<UINT>(ODT_COMBOBOX));
            measured.push_back(mis->itemID);
            mis->itemHeight = mis->itemID == static_cast<UINT>(-1) ? 20 : 12;
            return TRUE;
        }
        if (msg == WM_DRAWITEM) {
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return std::nullopt;
    };
    HWND combo = Combo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    EXPECT_EQ(measured, (std::vector<UINT>{static_cast<UINT>(-1), 0}));
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 12);
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    drawn.clear();
    UpdateWindow(parent);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().itemID, 2u);
    EXPECT_TRUE(drawn.back().itemState & ODS_COMBOBOXEDIT);
    EXPECT_EQ(drawn.back().hwndItem, combo);
    parentHook = nullptr;
}

TEST_F(ComboBoxTest, DeletingAndResetting) {
    HWND combo = Combo(CBS_DROPDOWN);
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(combo, CB_SETITEMDATA, 2, 42);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 42);
    EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 9, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"first")), 0);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 9, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Text(combo), u"");
}

} // namespace
} // namespace controlstest
