// The edit cell: typing starts an edit that the grid stores, Escape cancels it, which keys the edit window
// keeps and which move the current cell, the window's style and place over the cell, and the limits.
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXEditControl.h"
#include "grid/CGXFindReplaceInfo.h"
#include "platform/display/InputApi.h"
#include "platform/display/VirtualKeys.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <array>

namespace gridtest {
namespace {

constexpr WORD kEditId = 52512;

// Holds modifier keys down for its lifetime.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys) {
        ::GetKeyboardState(m_saved.data());
        std::array<BYTE, 256> state = m_saved;
        for (int key : keys) {
            state[static_cast<size_t>(key)] = 0x80;
        }
        ::SetKeyboardState(state.data());
    }
    ~HeldKeys() { ::SetKeyboardState(m_saved.data()); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    std::array<BYTE, 256> m_saved{};
};

class EditControlTest : public EngineFixture {
protected:
    void SetUp() override {
        Init();
        edit = new CGXEditControl(&grid, kEditId);
        grid.RegisterControl(kEditId, edit, FALSE, FALSE);
        CGXStyle style;
        style.SetControlId(kEditId);
        grid.SetStyleRange(CGXRange().SetTable(), &style);
        grid.SetValueRange(CGXRange(3, 3, 3, 3), u"old");
    }

    std::string Current() {
        ROWCOL row = 0;
        ROWCOL col = 0;
        return grid.GetCurrentCell(row, col) ? SpyControl::Cell(row, col) : "none";
    }
    HWND EditWnd() { return edit->GetSafeHwnd(); }
    CString EditText() {
        CString text;
        edit->GetWindowText(text);
        return text;
    }
    CString Stored(ROWCOL row, ROWCOL col) { return grid.GetValueRowCol(row, col); }
    void Char(HWND to, WCHAR c) { ::SendMessageW(to, WM_CHAR, c, 1); }
    void Type(HWND to, const char16_t* text) {
        for (const char16_t* p = text; *p; ++p) {
            Char(to, *p);
        }
    }
    void Key(HWND to, UINT key) { ::SendMessageW(to, WM_KEYDOWN, key, 1); }
    // Makes (row, col) current and starts editing it with the text typed into the grid.
    void StartTyping(ROWCOL row, ROWCOL col, const char16_t* text) {
        grid.SetCurrentCell(row, col);
        host.Paint();
        Char(grid.GetSafeHwnd(), text[0]);
        host.Paint();
        Type(EditWnd(), text + 1);
        ::SendMessageW(EditWnd(), WM_KEYUP, 'A', 1);
    }
    // The height of the edit's one line (the font's, measured where it is placed).
    int EditLineHeight() {
        CGXStyle oneLine;
        oneLine.SetWrapText(FALSE);
        SetCellStyle(10, 5, oneLine);
        StartTyping(10, 5, u"a");
        const int height = EditRectInGrid().Height();
        grid.TransferCurrentCell(FALSE);
        return height;
    }
    CRect EditRectInGrid() {
        CRect r;
        edit->GetWindowRect(&r);
        grid.ScreenToClient(&r);
        return r;
    }
    void SetCellStyle(ROWCOL row, ROWCOL col, const CGXStyle& style) {
        grid.SetStyleRange(CGXRange(row, col, row, col), &style);
    }

    CGXEditControl* edit = nullptr;
};

TEST_F(EditControlTest, TypingOnTheCurrentCellStartsAnEditThatTheGridStores) {
    grid.SetCurrentCell(3, 3);
    host.Paint();
    EXPECT_FALSE(edit->IsActive());

    Char(grid.GetSafeHwnd(), u'x');
    EXPECT_TRUE(edit->IsActive());
    EXPECT_TRUE(edit->IsModified());
    EXPECT_EQ(EditText(), CString(u"x")); // the typed character replaces the cell's text
    int start = 0;
    int end = 0;
    edit->GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(Stored(3, 3), CString(u"old"));

    host.Paint();
    ASSERT_TRUE(edit->IsWindowVisible());
    EXPECT_EQ(::GetFocus(), EditWnd());
    const CRect cell = grid.CalcCellRect(3, 3);
    const CRect window = EditRectInGrid();
    CRect inside;
    EXPECT_TRUE(inside.IntersectRect(&cell, &window));
    EXPECT_EQ(inside, window) << "the window lies within its cell";

    Type(EditWnd(), u"yz");
    EXPECT_EQ(EditText(), CString(u"xyz"));
    Key(EditWnd(), VK_RETURN);
    EXPECT_EQ(Stored(3, 3), CString(u"xyz"));
    EXPECT_EQ(Current(), "3,4");
    EXPECT_FALSE(edit->IsWindowVisible());
    EXPECT_EQ(::GetFocus(), grid.GetSafeHwnd());
}

TEST_F(EditControlTest, EscapeCancelsTheEditAndTheCellKeepsItsValue) {
    StartTyping(3, 3, u"new");
    ASSERT_EQ(EditText(), CString(u"new"));
    Key(EditWnd(), VK_ESCAPE);
    EXPECT_FALSE(edit->IsActive());
    EXPECT_FALSE(edit->IsModified());
    EXPECT_FALSE(edit->IsWindowVisible());
    EXPECT_EQ(EditText(), CString(u"old"));
    EXPECT_EQ(Stored(3, 3), CString(u"old"));
    EXPECT_EQ(Current(), "3,3");

    // Leaving the cell afterwards stores nothing.
    Key(grid.GetSafeHwnd(), VK_DOWN);
    EXPECT_EQ(Current(), "4,3");
    EXPECT_EQ(Stored(3, 3), CString(u"old"));
}

TEST_F(EditControlTest, TheEditKeepsKeysThatMoveWithinItsTextAndLeavesTheRestToTheGrid) {
    CGXStyle wrapped;
    wrapped.SetWrapText(TRUE);
    grid.SetRowHeight(3, 3, 60);
    struct Case {
        const char16_t* text;
        int caret;
        UINT key;
        const char* current; // where the current cell is afterwards
        const char* stored;  // the cell's value afterwards
    } cases[] = {
        {u"abc", 0, VK_LEFT, "3,2", "abc"},  // at the start: the cell to the left
        {u"abc", 2, VK_LEFT, "3,3", "old"},  // the caret moves
        {u"abc", 3, VK_RIGHT, "3,4", "abc"}, // at the end: the cell to the right
        {u"abc", 1, VK_RIGHT, "3,3", "old"},
        {u"abc", 1, VK_UP, "2,3", "abc"}, // one line: up and down leave
        {u"abc", 1, VK_DOWN, "4,3", "abc"},
        {u"a\r\nb", 4, VK_UP, "3,3", "old"}, // on the second of two lines: up stays
        {u"a\r\nb", 0, VK_DOWN, "3,3", "old"},
        {u"abc", 1, VK_HOME, "3,3", "old"},
        {u"abc", 1, VK_END, "3,3", "old"},
        {u"abc", 1, VK_TAB, "3,4", "abc"},
        {u"abc", 1, VK_RETURN, "3,4", "abc"}, // no ES_WANTRETURN: the grid stores and moves on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("key ") + std::to_string(c.key) + " caret " + std::to_string(c.caret));
        grid.SetValueRange(CGXRange(3, 3, 3, 3), u"old");
        SetCellStyle(3, 3, wrapped);
        grid.SetCurrentCell(3, 3);
        host.Paint();
        edit->SetEditText(c.text);
        host.Paint();
        ASSERT_TRUE(edit->IsActive());
        edit->SetSel(c.caret, c.caret);
        Key(EditWnd(), c.key);
        EXPECT_EQ(Current(), c.current);
        EXPECT_EQ(Stored(3, 3), CString(c.stored));
        grid.TransferCurrentCell(FALSE);
    }
}

TEST_F(EditControlTest, EnterBreaksTheLineOnlyWhereTheCellAllowsIt) {
    struct Case {
        BOOL allowEnter;
        BOOL wrap;
        WCHAR typed; // CR for Enter, LF for Ctrl+Enter
        bool ctrl;
        const char16_t* text;
    } cases[] = {
        {TRUE, TRUE, u'\r', false, u"a\r\nb"},
        {FALSE, TRUE, u'\n', true, u"a\r\nb"},
        {FALSE, FALSE, u'\n', true, u"ab"},
        {TRUE, FALSE, u'\n', true, u"ab"},
    };
    grid.SetRowHeight(3, 3, 60);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.allowEnter) + std::to_string(c.wrap) + std::to_string(c.typed));
        CGXStyle style;
        style.SetAllowEnter(c.allowEnter).SetWrapText(c.wrap);
        SetCellStyle(3, 3, style);
        StartTyping(3, 3, u"a");
        if (c.allowEnter) {
            EXPECT_TRUE(edit->GetStyle() & ES_WANTRETURN);
        }
        {
            HeldKeys keys = c.ctrl ? HeldKeys{VK_CONTROL} : HeldKeys{};
            Char(EditWnd(), c.typed);
        }
        Char(EditWnd(), u'b');
        EXPECT_EQ(EditText(), CString(c.text));
        grid.TransferCurrentCell(FALSE);
    }
}

TEST_F(EditControlTest, TheWindowStyleFollowsTheCellAndTheText) {
    struct Case {
        BOOL wrap;
        BOOL allowEnter;
        BOOL scrollBar;
        int rowHeight; // 0: room for one line only
        int alignment;
        const char16_t* text;
        DWORD expected; // of the bits below
    } cases[] = {
        {FALSE, FALSE, FALSE, 60, kTextRight, u"a", ES_MULTILINE | ES_AUTOHSCROLL | ES_RIGHT},
        {FALSE, FALSE, FALSE, 60, kTextRight, u"a rather long text for the cell",
         ES_MULTILINE | ES_AUTOHSCROLL},
        {TRUE, FALSE, FALSE, 0, kTextCenter, u"a", ES_MULTILINE | ES_AUTOHSCROLL | ES_CENTER},
        {TRUE, TRUE, FALSE, 60, kTextCenter, u"a", ES_MULTILINE | ES_WANTRETURN | ES_CENTER},
        {TRUE, FALSE, TRUE, 0, 0, u"a", ES_MULTILINE | WS_VSCROLL}, // the scroll bar asks for lines even when short
        {FALSE, FALSE, TRUE, 0, 0, u"a", ES_MULTILINE | ES_AUTOHSCROLL}, // but only where the text wraps
    };
    const DWORD bits = ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN | ES_CENTER | ES_RIGHT | WS_VSCROLL;
    const int oneLine = EditLineHeight() + 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        CGXStyle style;
        style.SetWrapText(c.wrap).SetAllowEnter(c.allowEnter).SetVerticalScrollbar(c.scrollBar);
        style.SetHorizontalAlignment(c.alignment);
        SetCellStyle(3, 3, style);
        grid.SetRowHeight(3, 3, c.rowHeight ? c.rowHeight : oneLine);
        StartTyping(3, 3, c.text);
        EXPECT_EQ(edit->GetStyle() & bits, c.expected);
        EXPECT_EQ(EditText(), CString(c.text)) << "re-creating the window keeps the text";
        EXPECT_TRUE(edit->IsModified());
        EXPECT_EQ(::GetFocus(), EditWnd());
        grid.TransferCurrentCell(FALSE);
    }
}

TEST_F(EditControlTest, ASingleLineEditIsOneLineHighPlacedByTheVerticalAlignment) {
    grid.SetRowHeight(3, 3, 60);
    const CRect inner = edit->GetInnerRect(3, 3);
    int top[3] = {};
    int lineHeight = 0;
    const int alignments[] = {0, kTextVCenter, kTextBottom};
    for (int i = 0; i < 3; ++i) {
        CGXStyle style;
        style.SetVerticalAlignment(alignments[i]).SetWrapText(FALSE);
        SetCellStyle(3, 3, style);
        StartTyping(3, 3, u"a");
        const CRect r = EditRectInGrid();
        top[i] = r.top;
        lineHeight = r.Height();
        grid.TransferCurrentCell(FALSE);
    }
    EXPECT_GT(lineHeight, 5);
    EXPECT_LT(lineHeight, inner.Height() / 2);
    EXPECT_EQ(top[0], inner.top);
    EXPECT_EQ(top[1], inner.top + (inner.Height() - lineHeight) / 2);
    EXPECT_EQ(top[2], inner.bottom - lineHeight);
}

TEST_F(EditControlTest, TheWindowFollowsTheCellWhenTheGridScrollsAndHidesWhenItLeaves) {
    StartTyping(5, 3, u"abc");
    const CRect before = EditRectInGrid();
    ASSERT_TRUE(edit->IsWindowVisible());

    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN); // as the user scrolls
    host.Paint();
    ASSERT_TRUE(edit->IsWindowVisible());
    EXPECT_EQ(EditRectInGrid(), CRect(before.left, before.top - 18, before.right, before.bottom - 18));

    grid.SetTopRow(8); // row 5 scrolled out of sight
    host.Paint();
    EXPECT_FALSE(edit->IsWindowVisible());
    EXPECT_TRUE(edit->IsActive()) << "the edit goes on while its cell is out of sight";

    grid.SetTopRow(1);
    host.Paint();
    EXPECT_TRUE(edit->IsWindowVisible());
    EXPECT_EQ(EditRectInGrid(), before);
    EXPECT_EQ(EditText(), CString(u"abc"));

    grid.SetLeftCol(2);
    host.Paint();
    EXPECT_EQ(EditRectInGrid(), CRect(before.left - 100, before.top, before.right - 100, before.bottom));
}

TEST_F(EditControlTest, MaximumLengthAndReadOnlyHold) {
    CGXStyle limited;
    limited.SetMaxLength(5);
    SetCellStyle(3, 3, limited);
    StartTyping(3, 3, u"abcdefg");
    EXPECT_EQ(EditText(), CString(u"abcde"));
    Key(EditWnd(), VK_RETURN);
    EXPECT_EQ(Stored(3, 3), CString(u"abcde"));

    CGXStyle readOnly;
    readOnly.SetReadOnly(TRUE);
    SetCellStyle(2, 2, readOnly);
    grid.SetValueRange(CGXRange(2, 2, 2, 2), u"fixed");
    grid.SetCurrentCell(2, 2);
    host.Paint();
    Char(grid.GetSafeHwnd(), u'x');
    Key(grid.GetSafeHwnd(), VK_DELETE);
    EXPECT_FALSE(edit->IsActive());
    EXPECT_EQ(Stored(2, 2), CString(u"fixed"));

    // Opened for reading (F2), the window refuses typing.
    Key(grid.GetSafeHwnd(), VK_F2);
    host.Paint();
    ASSERT_TRUE(edit->IsWindowVisible());
    EXPECT_TRUE(edit->GetStyle() & ES_READONLY);
    Type(EditWnd(), u"yz");
    EXPECT_EQ(EditText(), CString(u"fixed"));
    EXPECT_FALSE(edit->IsModified());
}

TEST_F(EditControlTest, HomeEndAndDeleteStartAnEditFromTheGrid) {
    grid.SetCurrentCell(3, 3);
    host.Paint();
    Key(grid.GetSafeHwnd(), VK_END);
    ASSERT_TRUE(edit->IsActive());
    int start = 0;
    int end = 0;
    edit->GetSel(start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);
    grid.TransferCurrentCell(FALSE);

    Key(grid.GetSafeHwnd(), VK_HOME);
    edit->GetSel(start, end);
    EXPECT_EQ(end, 0);
    grid.TransferCurrentCell(FALSE);

    Key(grid.GetSafeHwnd(), VK_DELETE);
    EXPECT_TRUE(edit->IsActive());
    EXPECT_EQ(EditText(), CString());
    Key(grid.GetSafeHwnd(), VK_DOWN);
    EXPECT_EQ(Stored(3, 3), CString());
}

} // namespace
} // namespace gridtest

namespace gridtest {
namespace {

TEST_F(EditControlTest, AClickOnTheCurrentCellStartsEditingAtTheCharacterUnderIt) {
    struct Case {
        WORD activation;
        bool nearStart; // else far right of the short text
        bool active;
        int selStart;
        int selEnd;
    } cases[] = {
        {1, true, true, 0, 0},   // on the text: the caret goes there
        {1, false, false, 0, 0}, // off the text: nothing starts
        {2, false, true, 0, 3},  // any click starts, everything selected when off the text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        grid.GetParam()->m_wActivateCell = c.activation;
        grid.SetCurrentCell(3, 3);
        host.Paint();
        const CRect inner = edit->GetInnerRect(3, 3);
        const POINT at{c.nearStart ? inner.left + 1 : inner.right - 2, inner.top + 3};
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        EXPECT_EQ(edit->IsActive(), c.active);
        if (c.active) {
            int start = -1;
            int end = -1;
            edit->GetSel(start, end);
            EXPECT_EQ(start, c.selStart);
            EXPECT_EQ(end, c.selEnd);
        }
        grid.TransferCurrentCell(FALSE);
    }
}

TEST_F(EditControlTest, NothingIsDrawnOverTheCellWhileAnInputMethodComposes) {
    StartTyping(3, 3, u"ab");
    ::SendMessageW(EditWnd(), WM_IME_STARTCOMPOSITION, 0, 0);
    edit->RedrawCell();
    host.Paint();
    EXPECT_FALSE(edit->IsWindowVisible());
    ::SendMessageW(EditWnd(), WM_IME_ENDCOMPOSITION, 0, 0);
    edit->RedrawCell();
    host.Paint();
    EXPECT_TRUE(edit->IsWindowVisible());
    EXPECT_EQ(EditText(), CString(u"ab"));
}

} // namespace
} // namespace gridtest

namespace gridtest {
namespace {

class EditControlFindTest : public EditControlTest {
protected:
    CGXFindReplaceInfo& Search(const char16_t* text, BOOL matchCase, const char16_t* replace = u"") {
        info.m_strFind = text;
        info.m_bCase = matchCase;
        info.m_strReplace = replace;
        info.PrepareSearchText();
        return info;
    }
    std::pair<int, int> Selection() {
        int start = -1;
        int end = -1;
        edit->GetSel(start, end);
        return {start, end};
    }

    CGXFindReplaceInfo info;
};

TEST_F(EditControlFindTest, TheSearchTextIsPreparedForComparingAndInTheAnsiCodePage) {
    Search(u"Größe €", FALSE);
    EXPECT_EQ(info.m_strCompare, CString(u"GRÖßE €"));
    EXPECT_STREQ(info.GetAnsiFindText(), "Gr\xf6\xdf" "e \x80");
    Search(u"Größe", TRUE);
    EXPECT_EQ(info.m_strCompare, CString(u"Größe"));
}

TEST_F(EditControlFindTest, FindingInAnotherCellMakesItCurrentAndSelectsEachHitInTurn) {
    grid.SetValueRange(CGXRange(5, 2, 5, 2), u"Abc abc ABC");
    grid.SetCurrentCell(3, 3);
    host.Paint();

    EXPECT_FALSE(edit->FindText(Search(u"xyz", FALSE), 5, 2, TRUE, TRUE));
    EXPECT_FALSE(edit->FindText(Search(u"aBC", TRUE), 5, 2, TRUE, TRUE));
    EXPECT_TRUE(edit->FindText(Search(u"abc", TRUE), 5, 2, TRUE, FALSE));
    EXPECT_EQ(Current(), "3,3") << "found without selecting: nothing moves";

    ASSERT_TRUE(edit->FindText(Search(u"aBC", FALSE), 5, 2, TRUE, TRUE));
    EXPECT_EQ(Current(), "5,2");
    EXPECT_TRUE(edit->IsActive());
    EXPECT_EQ(Selection(), std::make_pair(0, 3)) << "a hit at the very start is found";
    EXPECT_TRUE(edit->FindText(info, 5, 2, FALSE, TRUE));
    EXPECT_EQ(Selection(), std::make_pair(4, 7));
    EXPECT_TRUE(edit->FindText(info, 5, 2, TRUE, TRUE)) << "from the selection itself: the same hit";
    EXPECT_EQ(Selection(), std::make_pair(4, 7));
    EXPECT_TRUE(edit->FindText(info, 5, 2, FALSE, TRUE));
    EXPECT_EQ(Selection(), std::make_pair(8, 11));
    EXPECT_FALSE(edit->FindText(info, 5, 2, FALSE, TRUE));
    EXPECT_EQ(Selection(), std::make_pair(8, 11));

    EXPECT_FALSE(edit->FindText(Search(u"", FALSE), 5, 2, TRUE, TRUE)) << "an empty text finds nothing";
    EXPECT_EQ(Stored(5, 2), CString(u"Abc abc ABC"));
}

TEST_F(EditControlFindTest, ReplaceAllReplacesEveryHitLeftToRightAndStoresTheResult) {
    struct Case {
        const char16_t* text;
        const char16_t* find;
        BOOL matchCase;
        const char16_t* replace;
        BOOL replaced;
        const char16_t* stored;
    } cases[] = {
        {u"abcABC", u"b", FALSE, u"x", TRUE, u"axcAxC"},
        {u"abcABC", u"b", TRUE, u"x", TRUE, u"axcABC"},
        {u"aaa", u"aa", FALSE, u"b", TRUE, u"ba"},        // hits do not overlap
        {u"aXa", u"a", FALSE, u"aa", TRUE, u"aaXaa"},     // inserted text is not searched again
        {u"abc", u"abc", FALSE, u"", TRUE, u""},
        {u"abc", u"x", FALSE, u"y", FALSE, u"abc"},
        {u"abc", u"", FALSE, u"y", FALSE, u"abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        grid.SetValueRange(CGXRange(6, 2, 6, 2), c.text);
        EXPECT_EQ(edit->ReplaceAll(Search(c.find, c.matchCase, c.replace), 6, 2), c.replaced);
        EXPECT_EQ(Stored(6, 2), CString(c.stored));
    }
}

TEST_F(EditControlFindTest, ReplaceAllInTheEditedCellKeepsTheTextBeforeTheSelection) {
    StartTyping(3, 3, u"ab ab ab");
    edit->SetSel(3, 3);
    ASSERT_TRUE(edit->ReplaceAll(Search(u"AB", FALSE, u"xy"), 3, 3));
    EXPECT_EQ(Stored(3, 3), CString(u"ab xy xy"));
    EXPECT_EQ(EditText(), CString(u"ab xy xy"));
    Key(EditWnd(), VK_RETURN);
    EXPECT_EQ(Stored(3, 3), CString(u"ab xy xy")) << "leaving the cell keeps the replacement";
}

TEST_F(EditControlFindTest, ALongResultIsStoredWholeAndARefusingCellReplacesNothing) {
    const CString many(std::u16string(700, u'a').c_str());
    grid.SetValueRange(CGXRange(6, 2, 6, 2), many);
    ASSERT_TRUE(edit->ReplaceAll(Search(u"a", FALSE, u"bc"), 6, 2));
    const CString stored = Stored(6, 2);
    EXPECT_EQ(stored.GetLength(), 1400);
    EXPECT_EQ(stored.Left(4), CString(u"bcbc"));
    EXPECT_EQ(stored.Right(4), CString(u"bcbc"));

    CGXStyle limited;
    limited.SetMaxLength(5);
    SetCellStyle(6, 3, limited);
    grid.SetValueRange(CGXRange(6, 3, 6, 3), u"aaa");
    EXPECT_TRUE(edit->ReplaceAll(info, 6, 3));
    EXPECT_EQ(Stored(6, 3), CString(u"bcbcb")) << "the cell keeps what its maximum length allows";

    grid.SetValueRange(CGXRange(6, 4, 6, 4), u"aaa");
    CGXStyle readOnly;
    readOnly.SetReadOnly(TRUE);
    SetCellStyle(6, 4, readOnly);
    EXPECT_FALSE(edit->ReplaceAll(info, 6, 4));
    EXPECT_EQ(Stored(6, 4), CString(u"aaa"));
}

} // namespace
} // namespace gridtest

namespace gridtest {
namespace {

TEST_F(EditControlTest, AnEditWithAScrollBarKeepsTheCaretLineInSightAndLosesTheBarWhenTheCellSaysSo) {
    CGXStyle style;
    style.SetWrapText(TRUE).SetVerticalScrollbar(TRUE);
    SetCellStyle(3, 3, style);
    grid.SetRowHeight(3, 3, 60);
    grid.SetCurrentCell(3, 3);
    host.Paint();
    edit->SetEditText(u"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8");
    edit->RedrawCell();
    host.Paint();
    ASSERT_TRUE(edit->IsWindowVisible());
    EXPECT_TRUE(edit->GetStyle() & WS_VSCROLL);
    edit->SetSel(edit->GetWindowTextLength(), edit->GetWindowTextLength());
    ::SendMessageW(EditWnd(), WM_KEYUP, 'A', 1);
    EXPECT_GT(edit->GetFirstVisibleLine(), 0);
    EXPECT_LE(edit->LineFromChar(-1), edit->GetLastVisibleLine());
    EXPECT_GE(edit->LineFromChar(-1), edit->GetFirstVisibleLine());

    // The cell turns the bar off: the window is made again without it, the edit carrying on.
    grid.TransferCurrentCell(FALSE);
    style.SetVerticalScrollbar(FALSE);
    SetCellStyle(3, 3, style);
    grid.SetCurrentCell(3, 3);
    host.Paint();
    edit->SetEditText(u"a\r\nb");
    edit->SetSel(1, 1);
    edit->RedrawCell();
    host.Paint();
    ::SendMessageW(EditWnd(), WM_KEYUP, 'A', 1);
    EXPECT_FALSE(edit->GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(edit->GetStyle() & ES_MULTILINE);
    EXPECT_EQ(EditText(), CString(u"a\r\nb"));
    int start = -1;
    int end = -1;
    edit->GetSel(start, end);
    EXPECT_EQ(end, 1);
    EXPECT_TRUE(edit->IsModified());
}

class EditUnderFrozenPanesTest : public EditControlTest {
protected:
    void SetUp() override {
        grid.InstallCoveredCells();
        EditControlTest::SetUp();
    }
};

TEST_F(EditUnderFrozenPanesTest, TheWindowKeepsOffTheFrozenCellsWhenItsBlockScrollsUnderThem) {
    for (const BOOL wrap : {TRUE, FALSE}) {
        SCOPED_TRACE(wrap);
        grid.SetFrozenRows(2);
        grid.SetFrozenCols(1);
        CGXStyle style;
        style.SetWrapText(wrap);
        SetCellStyle(4, 3, style);
        ASSERT_TRUE(grid.SetCoveredCellsRowCol(4, 3, 7, 4));
        StartTyping(4, 3, u"abc");
        const CRect inner = edit->GetInnerRect(4, 3);
        ASSERT_EQ(EditRectInGrid().top, inner.top) << "while the block shows whole";

        // As the user scrolls rows 3 and 4 and column 2 and 3 away (under the frozen panes).
        grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
        grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
        grid.SendMessage(WM_HSCROLL, SB_LINEDOWN);
        grid.SendMessage(WM_HSCROLL, SB_LINEDOWN);
        host.Paint();
        ASSERT_EQ(grid.GetTopRow(), 5u);
        ASSERT_EQ(grid.GetLeftCol(), 4u);
        ASSERT_TRUE(edit->IsActive());
        ASSERT_TRUE(edit->IsWindowVisible());
        const CRect shown = EditRectInGrid();
        // What shows of the block: below the frozen rows' line, right of the frozen columns' line.
        const CRect block = edit->GetInnerRect(4, 3);
        EXPECT_GT(block.top, grid.ScrollArea(TRUE).top);
        EXPECT_GT(block.left, grid.ScrollArea(FALSE).left);
        EXPECT_EQ(shown.top, block.top);
        EXPECT_EQ(shown.left, block.left);
        EXPECT_EQ(shown.right, block.right);
        if (wrap) {
            EXPECT_EQ(shown.bottom, block.bottom);
        } else {
            EXPECT_GT(shown.Height(), 5) << "one line, at the top of what shows";
            EXPECT_LT(shown.bottom, block.bottom);
        }
        EXPECT_EQ(EditText(), CString(u"abc"));

        grid.TransferCurrentCell(FALSE);
        grid.SetCoveredCellsRowCol(4, 3, 4, 3);
        grid.SetTopRow(3);
        grid.SetLeftCol(2);
    }
}

} // namespace
} // namespace gridtest
