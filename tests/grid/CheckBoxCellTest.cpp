// The check box cell on the engine's test grid: states, the toggle by space bar and mouse, read-only cells,
// and the box drawn from its strip.
#include "grid/CGXCheckBox.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/GridResourceIds.h"
#include "platform/display/VirtualKeys.h"
#include "platform/display/WindowMessages.h"
#include "platform/gdi/SystemColors.h"
#include "tests/grid/CellControlTestSupport.h"

namespace gridtest {
namespace {

constexpr WORD kFlatCheckBox = 52516;

class CheckBoxTest : public CellControlFixture<CGXCheckBox> {
protected:
    void SetUp() override {
        Init(new CGXCheckBox(&grid, FALSE), kFlatCheckBox);
        SetValue(2, 2, u"1");
    }
    void SetValue(ROWCOL row, ROWCOL col, LPCTSTR value) {
        grid.SetValueRange(CGXRange(row, col, row, col), value);
    }
    // A point inside the box of a cell without caption: the box sits 3 pixels in from the inner corner.
    POINT InBox(ROWCOL row, ROWCOL col) {
        const CRect inner = control->GetInnerRect(row, col);
        return POINT{inner.left + 9, inner.top + 8};
    }
    void Space() { Key(WM_CHAR, u' '); }
};

TEST_F(CheckBoxTest, StateFollowsValueTextsAndTriState) {
    struct Case {
        LPCTSTR value;
        BOOL triState;
        LPCTSTR checkedText;
        LPCTSTR uncheckedText;
        UINT state;
    };
    const Case cases[] = {
        {u"1", FALSE, nullptr, nullptr, CGXCheckBox::kStateChecked},
        {u"0", FALSE, nullptr, nullptr, CGXCheckBox::kStateUnchecked},
        {u"yes", FALSE, nullptr, nullptr, CGXCheckBox::kStateUnchecked},
        {u"", FALSE, nullptr, nullptr, CGXCheckBox::kStateUnchecked},
        {u"1", TRUE, nullptr, nullptr, CGXCheckBox::kStateChecked},
        {u"0", TRUE, nullptr, nullptr, CGXCheckBox::kStateUnchecked},
        {u"yes", TRUE, nullptr, nullptr, 0},
        {u"", TRUE, nullptr, nullptr, 0},
        // Own texts replace "1" and "0"; the checked text is compared with its case.
        {u"Y", FALSE, u"Y", u"N", CGXCheckBox::kStateChecked},
        {u"y", TRUE, u"Y", u"N", 0},
        {u"1", TRUE, u"Y", u"N", 0},
        {u"N", TRUE, u"Y", u"N", CGXCheckBox::kStateUnchecked},
    };
    for (const Case& c : cases) {
        CGXStyle style;
        style.SetValue(c.value).SetTriState(c.triState);
        if (c.checkedText) {
            style.SetUserAttribute(CGXCheckBox::kCheckedValueAttribute, c.checkedText)
                .SetUserAttribute(CGXCheckBox::kUncheckedValueAttribute, c.uncheckedText);
        }
        EXPECT_EQ(control->GetState(4, 1, style), c.state) << &c - cases;
    }
    CGXStyle disabled;
    disabled.SetValue(u"1").SetEnabled(FALSE);
    EXPECT_EQ(control->GetState(4, 1, disabled),
              CGXCheckBox::kStateChecked | CGXCheckBox::kStateDisabledOrPressed);
}

TEST_F(CheckBoxTest, SpaceBarTogglesTwoAndThreeStates) {
    grid.SetCurrentCell(2, 2);
    std::vector<CString> seen;
    for (int i = 0; i < 2; ++i) {
        Space();
        seen.push_back(Value(2, 2));
    }
    EXPECT_EQ(seen, (std::vector<CString>{u"0", u"1"}));
    EXPECT_EQ(grid.buttonClicks, (std::vector<std::string>{"2,2", "2,2"}));

    CGXStyle triState;
    triState.SetTriState(TRUE);
    SetCell(3, 2, triState);
    SetValue(3, 2, u"1");
    grid.SetCurrentCell(3, 2);
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        Space();
        seen.push_back(Value(3, 2));
    }
    EXPECT_EQ(seen, (std::vector<CString>{u"0", u"", u"1"}));
}

TEST_F(CheckBoxTest, ClickTogglesOnlyWhenPressedAndReleasedOnTheBox) {
    grid.SetCurrentCell(2, 2);
    const POINT box = InBox(2, 2);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, box);
    EXPECT_TRUE(control->IsPressed());
    Send(WM_LBUTTONUP, 0, box);
    EXPECT_EQ(Value(2, 2), CString(u"0"));

    // Down on the box, up elsewhere in the cell: the box lets go and nothing changes.
    const POINT besideBox{box.x + 40, box.y};
    Send(WM_LBUTTONDOWN, MK_LBUTTON, box);
    Send(WM_MOUSEMOVE, MK_LBUTTON, besideBox);
    EXPECT_FALSE(control->IsPressed());
    Send(WM_LBUTTONUP, 0, besideBox);
    EXPECT_EQ(Value(2, 2), CString(u"0"));

    // Down on the box, up in another cell.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, box);
    const POINT below{box.x, box.y + 18};
    Send(WM_MOUSEMOVE, MK_LBUTTON, below);
    Send(WM_LBUTTONUP, 0, below);
    EXPECT_EQ(Value(2, 2), CString(u"0"));

    // Out and back in before the release still toggles.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, box);
    Send(WM_MOUSEMOVE, MK_LBUTTON, besideBox);
    Send(WM_MOUSEMOVE, MK_LBUTTON, box);
    EXPECT_TRUE(control->IsPressed());
    Send(WM_LBUTTONUP, 0, box);
    EXPECT_EQ(Value(2, 2), CString(u"1"));
}

TEST_F(CheckBoxTest, ReadOnlyCellNeverToggles) {
    CGXStyle readOnly;
    readOnly.SetReadOnly(TRUE);
    SetCell(2, 2, readOnly);
    grid.SetCurrentCell(2, 2);
    Space();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, InBox(2, 2));
    EXPECT_FALSE(control->IsPressed());
    Send(WM_LBUTTONUP, 0, InBox(2, 2));
    EXPECT_EQ(Value(2, 2), CString(u"1"));
    EXPECT_TRUE(grid.buttonClicks.empty());

    // A read-only grid likewise.
    SetValue(3, 2, u"0");
    grid.SetReadOnly(TRUE);
    grid.SetCurrentCell(3, 2);
    Space();
    EXPECT_EQ(Value(3, 2), CString(u"0"));
}

TEST_F(CheckBoxTest, TypedTextOfTriStateBoxKeepsOnlyKnownValues) {
    CGXStyle triState;
    triState.SetTriState(TRUE);
    for (const auto& [typed, kept] :
         {std::pair<LPCTSTR, LPCTSTR>{u"1", u"1"}, {u"0", u"0"}, {u"maybe", u""}}) {
        CString text(typed);
        EXPECT_TRUE(control->DisplayTextToValue(text, 2, 2, triState));
        EXPECT_EQ(text, CString(kept));
    }
    CString twoState(u"maybe");
    control->DisplayTextToValue(twoState, 2, 2, CGXStyle());
    EXPECT_EQ(twoState, CString(u"maybe"));
}

TEST_F(CheckBoxTest, BoxPlacementByAlignment) {
    HDC hdc = GdiCreateRecordingDC(200, 100);
    CDC dc;
    dc.Attach(hdc);
    const RECT cell{0, 0, 100, 20};
    struct Case {
        UINT alignment;
        CRect box;
    };
    const Case cases[] = {
        {0, CRect(3, 3, 16, 16)},
        {kTextCenter | kTextVCenter, CRect(43, 3, 56, 16)},
        {kTextRight | kTextBottom, CRect(87, 7, 100, 20)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(control->CalcBoxRect(&dc, cell, CString(), c.alignment), c.box) << c.alignment;
    }
    // A cell smaller than the box cuts the box at its edges.
    EXPECT_EQ(control->CalcBoxRect(&dc, RECT{0, 0, 10, 8}, CString(), 0), CRect(0, 0, 10, 8));
    dc.Detach();
    ::DeleteDC(hdc);
}

TEST_F(CheckBoxTest, DrawsTheBoxOfItsStateFromTheStrip) {
    // The strip's boxes: 0 unchecked, 1 checked, 2 and 3 disabled, 4 indeterminate.
    struct Case {
        LPCTSTR value;
        BOOL enabled;
        int sourceX;
    };
    const Case cases[] = {
        {u"0", TRUE, 0}, {u"1", TRUE, 13}, {u"0", FALSE, 26}, {u"1", FALSE, 39}, {u"?", TRUE, 52}};
    const CRect cell(0, 0, 100, 18);
    for (const Case& c : cases) {
        CGXStyle style;
        style.SetTriState(TRUE).SetEnabled(c.enabled);
        SetCell(4, 1, style);
        SetValue(4, 1, c.value);
        const auto blits = Only(Record(4, 1, cell), "StretchDIBits");
        ASSERT_EQ(blits.size(), 1u) << &c - cases;
        const CRect inner = control->GetInnerRect(4, 1, &cell);
        const std::string expected = "StretchDIBits(" + std::to_string(inner.left + 3) + "," +
                                     std::to_string(inner.top + 3) + ",13,13," + std::to_string(c.sourceX) +
                                     ",0,13,13," + std::to_string(SRCCOPY) + ")";
        EXPECT_EQ(blits[0], expected) << &c - cases;
    }
    // A cell 8 pixels high cuts the box to its inner height.
    const CRect lowCell(0, 0, 100, 8);
    const CRect lowInner = control->GetInnerRect(4, 1, &lowCell);
    ASSERT_LT(lowInner.Height(), 13);
    const auto low = Only(Record(4, 1, lowCell), "StretchDIBits");
    ASSERT_EQ(low.size(), 1u);
    EXPECT_NE(low[0].find(",13," + std::to_string(lowInner.Height()) + ",52,0,13,13,"), std::string::npos)
        << low[0];
}

TEST_F(CheckBoxTest, StripColoursFollowTheSystemAndPrintWhite) {
    EXPECT_EQ(control->MapBitmapColor(RGB(255, 0, 0), FALSE), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(control->MapBitmapColor(RGB(255, 0, 0), TRUE), RGB(255, 255, 255));
    EXPECT_EQ(control->MapBitmapColor(RGB(0, 0, 0), FALSE), ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(control->MapBitmapColor(RGB(0, 0, 0), TRUE), RGB(0, 0, 0));
    EXPECT_EQ(control->MapBitmapColor(RGB(0, 255, 0), TRUE), ::GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(control->MapBitmapColor(RGB(192, 192, 192), FALSE), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(control->MapBitmapColor(RGB(128, 128, 128), FALSE), RGB(128, 128, 128));

    // The drawn unchecked box: its inside in the window colour, its frame in the window text colour.
    HDC hdc = GdiCreateRecordingDC(100, 40);
    CDC dc;
    dc.Attach(hdc);
    control->DrawBox(&dc, CRect(0, 0, 20, 20), CGXCheckBox::kStateUnchecked, 0, CString());
    EXPECT_EQ(dc.GetPixel(3 + 6, 3 + 3), ::GetSysColor(COLOR_WINDOW));
    dc.Detach();
    ::DeleteDC(hdc);
}

TEST_F(CheckBoxTest, SizeMadeOfBoxAndCaptionLines) {
    HDC hdc = GdiCreateRecordingDC(200, 100);
    CDC dc;
    dc.Attach(hdc);
    const auto size = [&](LPCTSTR caption, BOOL wrap, BOOL heightForWidth) {
        CGXStyle style = grid.LookupStyleRowCol(4, 1);
        style.SetWrapText(wrap);
        if (caption) {
            style.SetChoicesList(caption);
        }
        return control->CalcCellSize(&dc, 4, 1, style, nullptr, heightForWidth, 0);
    };
    const CSize bare = size(nullptr, FALSE, FALSE);
    const CSize oneLine = size(u"wide caption", FALSE, FALSE);
    const CSize twoLines = size(u"x\r\nwide caption", FALSE, FALSE);
    // The box alone is never lower than the box and its margin.
    EXPECT_GE(bare.cy, 13 + 4);
    EXPECT_GT(oneLine.cx, bare.cx);
    // The widest line sets the width; every line adds its height.
    EXPECT_EQ(twoLines.cx, oneLine.cx);
    EXPECT_GT(twoLines.cy, oneLine.cy);
    // Asked for the height at the cell's width: the inner width, a line height per wrapped line.
    const CSize fitted = size(u"one two three four five six seven", TRUE, TRUE);
    const CSize single = size(u"one", TRUE, TRUE);
    EXPECT_EQ(fitted.cx, single.cx);
    EXPECT_GT(fitted.cy, single.cy);
    dc.Detach();
    ::DeleteDC(hdc);
}

// Counts the reloads that map the strips' colours again.
class CountingCheckBox : public CGXCheckBox {
public:
    using CGXCheckBox::CGXCheckBox;
    BOOL LoadBitmaps() override {
        ++loads;
        return CGXCheckBox::LoadBitmaps();
    }
    int loads = 0;
};

TEST(CheckBoxBitmapsTest, SystemColourChangeMapsTheStripsAgain) {
    CellGrid grid;
    GridHost host(&grid);
    grid.Initialize();
    auto* box = new CountingCheckBox(&grid, FALSE);
    grid.RegisterControl(kFlatCheckBox, box);
    grid.SendMessage(WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(box->loads, 1);
    AfxDeleteTempMaps();
}

TEST(CheckBoxBitmapsTest, DefaultStripsByLook) {
    CGXGridWnd grid;
    CGXCheckBox flat(&grid, FALSE);
    EXPECT_EQ(flat.GetScreenBitmapId(), UINT(IDB_GRID_CHECKBOX_FLAT));
    EXPECT_EQ(flat.GetPrintBitmapId(), UINT(IDB_GRID_CHECKBOX_FLAT));
    BOOL& windows4 = GridLibraryState::Instance().isWindows4OrLater;
    const BOOL saved = windows4;
    windows4 = TRUE;
    EXPECT_EQ(CGXCheckBox(&grid, TRUE).GetScreenBitmapId(), UINT(IDB_GRID_CHECKBOX_3D));
    windows4 = FALSE;
    EXPECT_EQ(CGXCheckBox(&grid, TRUE).GetScreenBitmapId(), UINT(IDB_GRID_CHECKBOX_3D_OLD));
    windows4 = saved;
    EXPECT_EQ(CGXCheckBox(&grid, TRUE, 20024, 20025).GetPrintBitmapId(), 20025u);
    EXPECT_TRUE(CGXCheckBox(&grid, FALSE, 20099).LoadBitmaps() == FALSE);
}

} // namespace
} // namespace gridtest
