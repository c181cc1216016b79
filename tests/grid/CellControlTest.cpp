// The cell control base: the edit cycle with the grid's hooks at each step, validation against the bound
// attributes, choice lists, type records, the current-cell frame kinds, backgrounds in black-and-white
// printing, storing typed text, and routing the mouse and keys to child objects.
#include "grid/CGXBrushValue.h"
#include "grid/CGXButton.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXHeader.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStatic.h"
#include "grid/GridResourceIds.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/display/InputApi.h"
#include "tests/grid/GridEngineTestSupport.h"
#include "tests/grid/RecordingDC.h"

#include <algorithm>

namespace gridtest {
namespace {

// A grid that records its hooks as the controls call them.
class HookGrid : public TestGrid {
public:
    BOOL OnStartEditing(ROWCOL row, ROWCOL col) override { return Hook("StartEditing", row, col, allowStart); }
    BOOL OnValidateCell(ROWCOL row, ROWCOL col) override { return Hook("ValidateCell", row, col, TRUE); }
    BOOL OnEndEditing(ROWCOL row, ROWCOL col) override { return Hook("EndEditing", row, col, TRUE); }
    BOOL OnCancelEditing(ROWCOL row, ROWCOL col) override { return Hook("CancelEditing", row, col, TRUE); }
    void OnEditingCancelled(ROWCOL row, ROWCOL col) override { Hook("EditingCancelled", row, col, TRUE); }
    BOOL OnLeftCell(ROWCOL row, ROWCOL col, ROWCOL newRow, ROWCOL newCol) override {
        return Hook("LeftCell " + SpyControl::Cell(newRow, newCol), row, col, TRUE);
    }
    void OnInitCurrentCell(ROWCOL row, ROWCOL col) override {
        Hook("InitCurrentCell", row, col, TRUE);
        TestGrid::OnInitCurrentCell(row, col);
    }
    void OnModifyCell(ROWCOL row, ROWCOL col) override { Hook("ModifyCell", row, col, TRUE); }
    void OnClickedButtonRowCol(ROWCOL row, ROWCOL col) override { Hook("ClickedButton", row, col, TRUE); }

    BOOL Hook(const std::string& name, ROWCOL row, ROWCOL col, BOOL answer) {
        hooks.push_back(name + " " + SpyControl::Cell(row, col));
        return answer;
    }
    std::vector<std::string> hooks;
    BOOL allowStart = TRUE;
};

// An editing control without a window: active and modified as told, storing what it was given.
class EditProbe : public CGXStatic {
public:
    using CGXStatic::CGXStatic;
    void SetActive(BOOL active) override { m_active = active; }
    BOOL IsActive() override { return m_active; }
    void SetModified(BOOL modified) override { m_modified = modified; }
    BOOL IsModified() override { return m_modified; }
    void GetEditText(CString& text) override { text = typed; }
    BOOL StoreValue() override { return StoreDisplayText(m_nRow, m_nCol, typed, 1); }

    CString typed;

private:
    BOOL m_active = FALSE;
    BOOL m_modified = FALSE;
};

// A control with one button child over the left 30 pixels of its inner rectangle.
class ButtonCell : public CGXStatic {
public:
    explicit ButtonCell(CGXGridCore* grid) : CGXStatic(grid) { AddChild(button = new CGXButton(this)); }
    void PlaceChildren(ROWCOL, ROWCOL, const RECT& inner) override {
        button->SetRect(CRect(inner.left, inner.top, inner.left + 30, inner.bottom));
    }
    CGXButton* button;
};

constexpr WORD kProbeId = 0x7101;
constexpr WORD kButtonCellId = 0x7102;

class CellControlTest : public ::testing::Test {
protected:
    CellControlTest() : host(&grid) {
        grid.Initialize();
        grid.RegisterControl(kProbeId, probe = new EditProbe(&grid), TRUE, FALSE);
        grid.RegisterControl(kButtonCellId, buttons = new ButtonCell(&grid), FALSE, FALSE);
        grid.SetRowCount(20);
        grid.SetColCount(6);
    }
    void TearDown() override { AfxDeleteTempMaps(); }
    void Send(UINT message, UINT flags, POINT point) {
        grid.SendMessage(message, flags, MAKELPARAM(point.x, point.y));
    }
    void SetCellStyle(ROWCOL row, ROWCOL col, const CGXStyle& style) {
        grid.SetStyleRange(CGXRange(row, col, row, col), &style);
    }
    // The probe starts an edit as a key would.
    void TypeInto(ROWCOL row, ROWCOL col, LPCTSTR text) {
        grid.SetCurrentCell(row, col);
        ASSERT_TRUE(probe->AskStartEdit());
        probe->SetActive(TRUE);
        probe->typed = text;
        probe->SetModified(TRUE);
        probe->ReportModified();
    }

    HookGrid grid;
    GridHost host;
    EditProbe* probe = nullptr;
    ButtonCell* buttons = nullptr;
};

TEST_F(CellControlTest, AnEditAndAMoveAskTheGridsHooksInTheCyclesOrder) {
    TypeInto(2, 2, u"42");
    grid.hooks.clear();
    ASSERT_TRUE(grid.SetCurrentCell(2, 3));
    EXPECT_EQ(grid.hooks, (std::vector<std::string>{"ValidateCell 2,2", "EndEditing 2,2", "LeftCell 2,3 2,2",
                                                     "InitCurrentCell 2,3"}));
    EXPECT_EQ(grid.GetValueRowCol(2, 2), CString(u"42"));
    EXPECT_FALSE(probe->IsActive());

    // Cancelling: the grid is asked, the cell bound afresh, then told.
    TypeInto(2, 3, u"7");
    grid.hooks.clear();
    EXPECT_TRUE(grid.TransferCurrentCell(FALSE));
    EXPECT_EQ(grid.hooks,
              (std::vector<std::string>{"CancelEditing 2,3", "InitCurrentCell 2,3", "EditingCancelled 2,3"}));
    EXPECT_FALSE(probe->IsActive());
    EXPECT_TRUE(grid.GetValueRowCol(2, 3).IsEmpty());
}

TEST_F(CellControlTest, StartingAnEditNeedsABoundCellAndTheGridsConsent) {
    EXPECT_FALSE(probe->AskStartEdit()); // unbound
    grid.SetCurrentCell(3, 1);
    grid.allowStart = FALSE;
    EXPECT_FALSE(probe->AskStartEdit());
    grid.allowStart = TRUE;
    EXPECT_TRUE(probe->AskStartEdit());
    // Reporting a change needs one.
    grid.hooks.clear();
    EXPECT_FALSE(probe->ReportModified());
    probe->SetModified(TRUE);
    EXPECT_TRUE(probe->ReportModified());
    EXPECT_EQ(grid.hooks, (std::vector<std::string>{"ModifyCell 3,1"}));
}

TEST_F(CellControlTest, ValidationAgainstTheBoundsLeavesTheWarningOfTheCell) {
    CGXStyle bounded;
    bounded.SetUserAttribute(kAttrValidMin, u"10").SetUserAttribute(kAttrValidMax, u"20");
    bounded.SetUserAttribute(kAttrValidWarning, u"From 10 to 20");
    SetCellStyle(4, 2, bounded);
    struct Case {
        const char16_t* typed;
        BOOL valid;
    };
    const Case cases[] = {
        {u"abc", FALSE}, // reads as 0
        {u"9.5", FALSE}, {u"10", TRUE}, {u"20", TRUE}, {u"20.01", FALSE},
        {u"", TRUE}, // an empty text passes whatever the bounds
    };
    for (const Case& c : cases) {
        TypeInto(4, 2, c.typed);
        grid.SetWarningText(nullptr);
        EXPECT_EQ(probe->ValidateValue(), c.valid) << std::u16string(c.typed).size();
        EXPECT_EQ(grid.GetWarningText(), CString(c.valid ? u"" : u"From 10 to 20"));
        grid.TransferCurrentCell(FALSE);
    }
    // An inactive control only asks the grid.
    grid.SetCurrentCell(4, 2);
    probe->typed = u"abc";
    EXPECT_TRUE(probe->ValidateValue());
}

TEST_F(CellControlTest, AStoredTextKeepsToTheMaximumLengthAndTheReadOnlyCellRefusesIt) {
    CGXStyle limited;
    limited.SetMaxLength(3);
    SetCellStyle(5, 1, limited);
    EXPECT_TRUE(probe->StoreDisplayText(5, 1, u"abcdef", 1));
    EXPECT_EQ(grid.GetValueRowCol(5, 1), CString(u"abc"));

    CGXStyle locked;
    locked.SetReadOnly(TRUE);
    SetCellStyle(5, 2, locked);
    EXPECT_FALSE(probe->StoreDisplayText(5, 2, u"x", 1));
    EXPECT_TRUE(grid.GetValueRowCol(5, 2).IsEmpty());
    grid.GetParam()->m_bReadOnlyProtectsData = FALSE; // read-only tests apply only under the lock
    EXPECT_TRUE(probe->StoreDisplayText(5, 2, u"x", 1));
}

TEST_F(CellControlTest, AnActiveCellCopiesItsTextAndAnotherPastesIt) {
    EXPECT_FALSE(probe->CanPaste()); // unbound
    TypeInto(2, 2, u"42");
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    ASSERT_TRUE(probe->Copy());
    grid.TransferCurrentCell(FALSE);

    TypeInto(3, 3, u"");
    EXPECT_TRUE(probe->CanPaste());
    EXPECT_TRUE(probe->Paste());
    EXPECT_EQ(grid.GetValueRowCol(3, 3), CString(u"42"));
    grid.TransferCurrentCell(FALSE);

    // Nothing goes into a read-only cell, nor into one that is not being edited.
    CGXStyle locked;
    locked.SetReadOnly(TRUE);
    SetCellStyle(4, 3, locked);
    TypeInto(4, 3, u"");
    EXPECT_FALSE(probe->CanPaste());
    EXPECT_FALSE(probe->Paste());
    grid.TransferCurrentCell(FALSE);
    EXPECT_FALSE(probe->CanPaste());
    EXPECT_TRUE(grid.GetValueRowCol(4, 3).IsEmpty());
}

TEST_F(CellControlTest, ChoiceLists) {
    CString out;
    EXPECT_EQ(probe->FindChoiceEntry(out, u"ap", u"Apple\r\nApricot\r\nap", FALSE), 2); // the equal line wins
    EXPECT_EQ(out, CString(u"ap"));
    EXPECT_EQ(probe->FindChoiceEntry(out, u"AP", u"Apple\nApricot", FALSE), 0);
    EXPECT_EQ(out, CString(u"Apple"));
    EXPECT_EQ(probe->FindChoiceEntry(out, u"ap", u"Apple\nApricot", TRUE), -1);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(probe->FindChoiceEntry(out, u"", u"Apple", FALSE), -1);

    EXPECT_TRUE(probe->GetChoiceEntry(out, u"one\r\ntwo", 1));
    EXPECT_EQ(out, CString(u"two"));
    EXPECT_FALSE(probe->GetChoiceEntry(out, u"one\r\ntwo", 3));
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_FALSE(probe->GetChoiceEntry(out, nullptr, 0));
    EXPECT_FALSE(probe->GetChoiceEntry(out, u"one", -1));
}

TEST_F(CellControlTest, TypeRecordsFollowTheClassChainAndMatchByName) {
    CGXHeader header(&grid);
    EXPECT_TRUE(header.IsControlTypeOf(CGXHeader::kTypeRecord));
    EXPECT_TRUE(header.IsControlTypeOf(CGXStatic::kTypeRecord));
    EXPECT_TRUE(header.IsControlTypeOf(CGXControl::kTypeRecord));
    EXPECT_FALSE(probe->IsControlTypeOf(CGXHeader::kTypeRecord));
    const ControlTypeRecord sameName{"CGXStatic", nullptr};
    EXPECT_TRUE(header.IsControlTypeOf(sameName));
    // Unbound controls have nothing to copy or cut.
    EXPECT_FALSE(header.CanCopy());
    EXPECT_FALSE(header.CanCut());
    CString text;
    EXPECT_FALSE(header.GetSelectedText(text));
}

TEST_F(CellControlTest, TheCurrentCellFrameKinds) {
    RecordingDC dc;
    const CRect cell(10, 10, 60, 40);
    CGXProperties* properties = grid.GetParam()->GetProperties();
    grid.GetParam()->m_wCurrentCellDisplay = 0; // always drawn
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    struct Case {
        CString kind;
        int blackWidth; // of the left edge; 0 for none
    };
    const Case cases[] = {{properties->frameNames[0], 1}, {properties->frameNames[1], 2},
                          {properties->frameNames[2], 1}, {properties->frameNames[3], 2},
                          {properties->frameNames[4], 0}, {u"Unknown.", 1}};
    for (const Case& c : cases) {
        CGXStyle kind;
        kind.SetValue(c.kind);
        properties->SetUserProperty(IDS_GRID_PROP_CURRENT_CELL, kind);
        FillRectColor(&dc, CRect(0, 0, 100, 60), white);
        probe->DrawCurrentCellFrame(&dc, cell);
        const size_t name = static_cast<size_t>(&c - cases);
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(dc.Pixel(cell.left + x, 25), x < c.blackWidth ? black : white) << name << " x+" << x;
            EXPECT_EQ(dc.Pixel(cell.right - 1 - x, 25), x < c.blackWidth ? black : white) << name;
            EXPECT_EQ(dc.Pixel(30, cell.top + x), x < c.blackWidth ? black : white) << name;
            EXPECT_EQ(dc.Pixel(30, cell.bottom - 1 - x), x < c.blackWidth ? black : white) << name;
        }
    }
    // Mode 2 draws only while the grid has the focus; other modes never.
    grid.GetParam()->m_wCurrentCellDisplay = 3;
    FillRectColor(&dc, CRect(0, 0, 100, 60), white);
    probe->DrawCurrentCellFrame(&dc, cell);
    EXPECT_EQ(dc.Pixel(cell.left, 25), white);
}

TEST_F(CellControlTest, AHollowInteriorFillsWithItsBackgroundAndWhiteInBlackAndWhitePrinting) {
    RecordingDC dc;
    CGXStyle hollow;
    hollow.SetInterior(CGXBrushValue().SetStyle(BS_HOLLOW).SetBkColor(RGB(200, 0, 0)));
    probe->DrawBackground(&dc, CRect(0, 0, 20, 20), hollow, TRUE);
    CGXProperties* properties = grid.GetParam()->GetProperties();
    properties->printing = TRUE;
    properties->printBlackAndWhite = TRUE;
    probe->DrawBackground(&dc, CRect(0, 0, 20, 20), hollow, TRUE);
    properties->printing = FALSE;
    ASSERT_EQ(dc.fills.size(), 2u);
    EXPECT_EQ(dc.fills[0].color, RGB(200, 0, 0));
    EXPECT_EQ(dc.fills[1].color, RGB(255, 255, 255));
}

TEST_F(CellControlTest, ACellButtonClicksWhenReleasedOverItOnly) {
    CGXStyle buttonStyle;
    buttonStyle.SetControlId(kButtonCellId);
    SetCellStyle(3, 2, buttonStyle);
    const POINT onButton{60 + 100 + 15, 21 + 2 * 18 + 9};
    const POINT offButton{60 + 100 + 80, 21 + 2 * 18 + 9};
    grid.hooks.clear();

    Send(WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    EXPECT_TRUE(buttons->button->IsPressed());
    Send(WM_MOUSEMOVE, MK_LBUTTON, offButton);
    EXPECT_FALSE(buttons->button->IsPressed());
    Send(WM_MOUSEMOVE, MK_LBUTTON, onButton);
    EXPECT_TRUE(buttons->button->IsPressed());
    Send(WM_LBUTTONUP, 0, onButton);
    EXPECT_FALSE(buttons->button->IsPressed());
    EXPECT_EQ(std::count(grid.hooks.begin(), grid.hooks.end(), "ClickedButton 3,2"), 1);

    grid.hooks.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    Send(WM_MOUSEMOVE, MK_LBUTTON, CellCentre(6, 4));
    Send(WM_LBUTTONUP, 0, CellCentre(6, 4));
    EXPECT_EQ(std::count(grid.hooks.begin(), grid.hooks.end(), "ClickedButton 3,2"), 0);
    EXPECT_FALSE(buttons->button->IsCaptured());
}

TEST_F(CellControlTest, TheSpaceBarClicksTheActiveChildAndKeysReachItFirst) {
    CGXStyle buttonStyle;
    buttonStyle.SetControlId(kButtonCellId);
    SetCellStyle(3, 2, buttonStyle);
    grid.SetCurrentCell(3, 2);
    grid.hooks.clear();
    // Without an active child the keys go to the control's own key operations (FALSE in the base).
    EXPECT_FALSE(buttons->KeyMessage(WM_KEYDOWN, VK_SPACE, 1, 0));
    buttons->SetActiveChild(buttons->button);
    EXPECT_TRUE(buttons->KeyMessage(WM_KEYDOWN, VK_SPACE, 1, 0));
    EXPECT_TRUE(buttons->button->IsPressed());
    EXPECT_TRUE(buttons->KeyMessage(WM_KEYUP, VK_SPACE, 1, 0));
    EXPECT_EQ(grid.hooks, (std::vector<std::string>{"ClickedButton 3,2"}));
    // Another key is not the button's; a release without a press clicks nothing.
    EXPECT_FALSE(buttons->KeyMessage(WM_KEYDOWN, VK_RETURN, 1, 0));
    EXPECT_FALSE(buttons->KeyMessage(WM_KEYUP, VK_SPACE, 1, 0));
    // Cancel mode lets go of a press.
    buttons->KeyMessage(WM_KEYDOWN, VK_SPACE, 1, 0);
    buttons->CancelMode();
    EXPECT_FALSE(buttons->button->IsPressed());
    EXPECT_EQ(grid.hooks.size(), 1u);
}

} // namespace
} // namespace gridtest
