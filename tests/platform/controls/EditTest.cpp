#include "ControlsTestSupport.h"

#include "platform/clipboard/Clipboard.h"

namespace controlstest {
namespace {

class EditTest : public ControlsTest {
protected:
    HWND Single(DWORD style = ES_AUTOHSCROLL, LPCWSTR text = u"", int id = 5) {
        return Make(u"Edit", text, style | WS_BORDER, {10, 10, 210, 34}, id);
    }
    HWND Multi(DWORD style = 0, LPCWSTR text = u"", RECT rect = {10, 10, 250, 110}) {
        return Make(u"Edit", text, style | ES_MULTILINE | WS_BORDER, rect, 6);
    }
    static std::pair<int, int> Sel(HWND edit) {
        DWORD from = 0;
        DWORD to = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        return {static_cast<int>(from), static_cast<int>(to)};
    }
    static std::u16string Clipboard() {
        std::u16string text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const char16_t*>(GlobalLock(mem));
                GlobalUnlock(mem);
            }
            CloseClipboard();
        }
        return text;
    }
};

TEST_F(EditTest, TypingNotifiesUpdateThenChange) {
    HWND edit = Single();
    SetFocus(edit);
    EXPECT_EQ(Codes(5), std::vector<UINT>{EN_SETFOCUS});
    ClearNotes();
    Type(u"ab");
    EXPECT_EQ(Text(edit), u"ab");
    EXPECT_EQ(Codes(5), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    ClearNotes();
    SetFocus(parent);
    EXPECT_EQ(Codes(5), std::vector<UINT>{EN_KILLFOCUS});
}

TEST_F(EditTest, SetTextNotifiesOnlyForSingleLine) {
    HWND single = Single();
    HWND multi = Multi();
    SetWindowTextW(single, u"x");
    SetWindowTextW(multi, u"y");
    EXPECT_EQ(Codes(5), (std::vector<UINT>{EN_UPDATE, EN_CHANGE}));
    EXPECT_TRUE(Codes(6).empty());
    EXPECT_FALSE(SendMessageW(single, EM_GETMODIFY, 0, 0));
    EXPECT_FALSE(SendMessageW(single, EM_CANUNDO, 0, 0));
}

TEST_F(EditTest, LimitTextLimitsTypingButNotSetText) {
    HWND edit = Single();
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
    SetFocus(edit);
    ClearNotes();
    Type(u"abcde");
    EXPECT_EQ(Text(edit), u"abc");
    auto codes = Codes(5);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), static_cast<UINT>(EN_MAXTEXT)), 2);
    SetWindowTextW(edit, u"longer than three");
    EXPECT_EQ(Text(edit), u"longer than three");
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_GT(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);
}

TEST_F(EditTest, ReplaceSelUndoFollowsTheCanUndoFlag) {
    HWND edit = Single(ES_AUTOHSCROLL, u"hello world");
    SendMessageW(edit, EM_SETSEL, 0, 5);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"goodbye"));
    EXPECT_EQ(Text(edit), u"goodbye world");
    EXPECT_EQ(Sel(edit), std::make_pair(7, 7));
    EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    EXPECT_TRUE(SendMessageW(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(edit), u"hello world");
    SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), u"goodbye world") << "undoing the undo redoes";

    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"!"));
    EXPECT_EQ(Text(edit), u"goodbye! world");
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageW(edit, EM_UNDO, 0, 0));

    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"?"));
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));
}

TEST_F(EditTest, TypedRunUndoesAsOneStep) {
    HWND edit = Single(ES_AUTOHSCROLL, u"x");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 1, 1);
    Type(u"abc");
    EXPECT_EQ(Text(edit), u"xabc");
    Press('Z', {VK_CONTROL});
    EXPECT_EQ(Text(edit), u"x");
}

TEST_F(EditTest, SelectionMessagesAndKeys) {
    HWND edit = Single(ES_AUTOHSCROLL, u"one two three");
    SendMessageW(edit, EM_SETSEL, 8, 4);
    EXPECT_EQ(Sel(edit), std::make_pair(4, 8));
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(4, 8));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(edit), std::make_pair(0, 13));
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Sel(edit).first, Sel(edit).second);

    SetFocus(edit);
    Press(VK_HOME);
    Press(VK_RIGHT, {VK_CONTROL});
    EXPECT_EQ(Sel(edit), std::make_pair(4, 4));
    Press(VK_RIGHT, {VK_SHIFT, VK_CONTROL});
    EXPECT_EQ(Sel(edit), std::make_pair(4, 8));
    Press(VK_END, {VK_SHIFT});
    EXPECT_EQ(Sel(edit), std::make_pair(4, 13));
    Press(VK_DELETE);
    EXPECT_EQ(Text(edit), u"one ");
    Press(VK_BACK);
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(Text(edit), u"ne");
}

TEST_F(EditTest, ClipboardKeysAndMessages) {
    HWND edit = Single(ES_AUTOHSCROLL, u"copy me");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, 4);
    Press('C', {VK_CONTROL});
    EXPECT_EQ(Clipboard(), u"copy");
    Press('X', {VK_CONTROL});
    EXPECT_EQ(Text(edit), u" me");
    Press(VK_END);
    Press('V', {VK_CONTROL});
    EXPECT_EQ(Text(edit), u" mecopy");
    SendMessageW(edit, EM_SETSEL, 0, 1);
    SendMessageW(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(edit), u"mecopy");

    // Read-only edits copy but do not change; password edits never give their text away.
    SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
    SendMessageW(edit, EM_SETSEL, 0, 2);
    SendMessageW(edit, WM_CUT, 0, 0);
    Type(u"zz");
    EXPECT_EQ(Text(edit), u"mecopy");
    HWND password = Make(u"Edit", u"secret", ES_PASSWORD | ES_AUTOHSCROLL, {10, 50, 200, 70}, 8);
    EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), u'*');
    SendMessageW(password, EM_SETSEL, 0, -1);
    SendMessageW(password, WM_COPY, 0, 0);
    EXPECT_EQ(Clipboard(), u"copy") << "neither the read-only cut nor the password copy replaced it";
}

TEST_F(EditTest, CharacterFilters) {
    HWND number = Make(u"Edit", u"", ES_NUMBER | ES_AUTOHSCROLL, {10, 10, 200, 30}, 1);
    HWND upper = Make(u"Edit", u"", ES_UPPERCASE | ES_AUTOHSCROLL, {10, 40, 200, 60}, 2);
    HWND lower = Make(u"Edit", u"", ES_LOWERCASE | ES_AUTOHSCROLL, {10, 70, 200, 90}, 3);
    SetFocus(number);
    Type(u"1a2-3");
    SetFocus(upper);
    Type(u"aBc");
    SetFocus(lower);
    Type(u"aBc");
    EXPECT_EQ(Text(number), u"123");
    EXPECT_EQ(Text(upper), u"ABC");
    EXPECT_EQ(Text(lower), u"abc");
}

TEST_F(EditTest, SingleLineWithoutAutoScrollStopsAtItsWidth) {
    HWND edit = Make(u"Edit", u"", 0, {10, 10, 40, 30}, 5);
    SetFocus(edit);
    Type(u"wwwwwwwwwwwwwwwwwwww");
    int length = GetWindowTextLengthW(edit);
    EXPECT_GT(length, 0);
    EXPECT_LT(length, 20);
    auto codes = Codes(5);
    EXPECT_NE(std::find(codes.begin(), codes.end(), static_cast<UINT>(EN_MAXTEXT)), codes.end());
}

TEST_F(EditTest, MultiLineWithoutAutoVScrollKeepsToItsLines) {
    HWND edit = Multi(ES_AUTOHSCROLL, u"", {10, 10, 200, 50});
    SetFocus(edit);
    ClearNotes();
    for (int i = 0; i < 10; ++i) {
        Type(u"x\r");
    }
    LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    EXPECT_GE(lines, 1);
    EXPECT_LT(lines, 5);
    auto codes = Codes(6);
    EXPECT_NE(std::find(codes.begin(), codes.end(), static_cast<UINT>(EN_MAXTEXT)), codes.end());
    // The program's own text is not limited.
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_GT(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), lines + 4);
}

TEST_F(EditTest, MultiLineLineQueries) {
    HWND edit = Multi(ES_AUTOHSCROLL, u"one\r\ntwo words\r\n\r\nlast");
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 4);
    struct Line {
        int index;
        int length;
    };
    const Line lines[] = {{0, 3}, {5, 9}, {16, 0}, {18, 4}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, i, 0), lines[i].index) << i;
        EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, lines[i].index, 0), lines[i].length) << i;
        EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, lines[i].index, 0), i) << i;
    }
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 4, 0), -1);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 22, 0), 3);

    char16_t buffer[16] = {};
    *reinterpret_cast<WORD*>(buffer) = 15;
    EXPECT_EQ(SendMessageW(edit, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buffer)), 9);
    EXPECT_EQ(std::u16string(buffer, 9), u"two words");

    // -1: the caret's line, and the unselected characters of the selected lines.
    SendMessageW(edit, EM_SETSEL, 7, 19);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 18);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, static_cast<WPARAM>(-1), 0), 2 + 3);

    // Backspace at a line start removes the whole line break.
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 5, 5);
    Press(VK_BACK);
    EXPECT_EQ(Text(edit), u"onetwo words\r\n\r\nlast");
    Type(u"\r");
    EXPECT_EQ(Text(edit), u"one\r\ntwo words\r\n\r\nlast");
}

TEST_F(EditTest, MultiLineWrapsWithoutHorizontalScrolling) {
    HWND edit = Multi(0, u"alpha beta gamma delta epsilon zeta eta theta", {10, 10, 90, 200});
    LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 2);
    // Every wrapped line starts with a word.
    for (int i = 1; i < lines; ++i) {
        int index = static_cast<int>(SendMessageW(edit, EM_LINEINDEX, i, 0));
        char16_t buffer[64] = {};
        GetWindowTextW(edit, buffer, 64);
        EXPECT_EQ(buffer[index - 1], u' ') << i;
    }
}

TEST_F(EditTest, VerticalScrollBarScrollsByMessagesCaretAndUser) {
    std::u16string text;
    for (int i = 0; i < 30; ++i) {
        text += u"line " + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u"\r\n";
    }
    HWND edit = Multi(WS_VSCROLL | ES_READONLY, text.c_str());
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    int length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, length, length);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    int first = static_cast<int>(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(first, 20);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &si));
    EXPECT_EQ(si.nPos, first);
    EXPECT_EQ(si.nMax, 30);

    ClearNotes();
    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(Codes(6), std::vector<UINT>{EN_VSCROLL});
    SendMessageW(edit, EM_LINESCROLL, 0, 3);
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 3);

    // A click on the bar's lower arrow scrolls one line.
    RECT window;
    GetWindowRect(edit, &window);
    POINT arrow{window.right - 3, window.bottom - 3};
    DisplayInjectMouse(WM_MOUSEMOVE, arrow);
    DisplayInjectMouse(WM_LBUTTONDOWN, arrow);
    DisplayInjectMouse(WM_LBUTTONUP, arrow);
    Pump();
    EXPECT_EQ(SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 4);
}

TEST_F(EditTest, DialogCodesAndColourMessages) {
    HWND single = Single();
    HWND multi = Multi(ES_WANTRETURN);
    const LRESULT base = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    EXPECT_EQ(SendMessageW(single, WM_GETDLGCODE, 0, 0), base);
    EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, 0, 0), base | DLGC_WANTALLKEYS);

    parentMessages.clear();
    InvalidateRect(single, nullptr, TRUE);
    UpdateWindow(parent);
    EXPECT_EQ(parentMessages, std::vector<UINT>{WM_CTLCOLOREDIT});
    parentMessages.clear();
    SendMessageW(single, EM_SETREADONLY, TRUE, 0);
    UpdateWindow(parent);
    EXPECT_EQ(parentMessages, std::vector<UINT>{WM_CTLCOLORSTATIC});
}

TEST_F(EditTest, MouseSelectsAndPositionsRoundTrip) {
    HWND edit = Single(ES_AUTOHSCROLL, u"abcdefgh");
    LRESULT posB = SendMessageW(edit, EM_POSFROMCHAR, 2, 0);
    LRESULT posF = SendMessageW(edit, EM_POSFROMCHAR, 6, 0);
    ASSERT_NE(posB, -1);
    POINT b{GET_X_LPARAM(posB), GET_Y_LPARAM(posB) + 2};
    POINT f{GET_X_LPARAM(posF), GET_Y_LPARAM(posF) + 2};
    EXPECT_EQ(LOWORD(SendMessageW(edit, EM_CHARFROMPOS, 0, MAKELPARAM(b.x, b.y))), 2);
    MouseDown(edit, b);
    EXPECT_EQ(GetFocus(), edit);
    MouseUp(edit, f);
    EXPECT_EQ(Sel(edit), std::make_pair(2, 6));
    EXPECT_EQ(SendMessageW(edit, EM_POSFROMCHAR, 9, 0), -1);
}

TEST_F(EditTest, CaretFollowsTheTextAndSelectionIsHighlightedWhileFocused) {
    HWND edit = Single(ES_AUTOHSCROLL, u"abcdef");
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 3, 3);
    POINT caret{};
    ASSERT_TRUE(GetCaretPos(&caret));
    LRESULT pos = SendMessageW(edit, EM_POSFROMCHAR, 3, 0);
    EXPECT_EQ(caret.x, GET_X_LPARAM(pos));
    EXPECT_EQ(caret.y, GET_Y_LPARAM(pos));

    SendMessageW(edit, EM_SETSEL, 0, 6);
    UpdateWindow(parent);
    LRESULT start = SendMessageW(edit, EM_POSFROMCHAR, 0, 0);
    POINT inside{GET_X_LPARAM(start) + 1, GET_Y_LPARAM(start) + 1};
    EXPECT_EQ(DisplayGetPixel(edit, inside.x, inside.y), GetSysColor(COLOR_HIGHLIGHT));
    SetFocus(parent);
    UpdateWindow(parent);
    EXPECT_EQ(DisplayGetPixel(edit, inside.x, inside.y), GetSysColor(COLOR_WINDOW)) << "hidden without focus";
}

TEST_F(EditTest, SuperclassReusesTheProcedure) {
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"EDIT", &wc));
    wc.lpszClassName = u"TestSuperEdit";
    wc.style |= CS_GLOBALCLASS;
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND edit = Make(u"TestSuperEdit", u"abc", ES_MULTILINE | ES_AUTOVSCROLL, {10, 10, 200, 100}, 3);
    SendMessageW(edit, EM_SETSEL, 3, 3);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"\r\ndef"));
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 2);
    DestroyWindow(edit);
    UnregisterClassW(u"TestSuperEdit", nullptr);
}

} // namespace
} // namespace controlstest
