#include "dialogs/CSatSortPushbutton.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "grid/GridSysColorCache.h"
#include "platform/display/VirtualKeys.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/SystemColors.h"

// ---- The button child

void CSatSortButton::Draw(CDC* dc, BOOL active) {
    const BOOL focused = active && IsActiveChild();
    // A latched button stays in whether or not it is being pressed.
    const BOOL pressedIn = m_bChecked || (focused && m_bPressed);
    FillRectColor(dc, m_rect, GridSysColorCache::GetColor(m_bChecked ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE));
    CRect face = m_rect;
    DrawEdgeRect(dc, face, pressedIn ? EDGE_SUNKEN : EDGE_RAISED, FALSE);
    CRect text(m_rect.left + 1, m_rect.top + 1, m_rect.right - 2, m_rect.bottom - 2);
    if (pressedIn) {
        text.OffsetRect(1, 1);
    }
    GetDrawingAndFormatting()->DrawButtonText(dc, text.left, text.top, text.right, text.bottom, focused, m_text,
                                              kTextCenter | kTextVCenter | kTextSingleLine);
}

BOOL CSatSortButton::LButtonUp(UINT, int x, int y) {
    // The latch changes before the grid hears of the click, which reads it.
    if (m_bPressed && HitTest(x, y)) {
        m_bChecked = !m_bChecked;
        m_pOwner->ChildClicked(this);
    }
    m_bPressed = FALSE;
    m_bCaptured = FALSE;
    if (m_bRedrawOnChange) {
        Refresh();
    }
    return TRUE;
}

BOOL CSatSortButton::KeyUp(UINT key, UINT, UINT) {
    if (key != VK_SPACE || !m_bPressed) {
        return FALSE;
    }
    m_bChecked = !m_bChecked;
    m_pOwner->ChildClicked(this);
    m_bPressed = FALSE;
    Refresh();
    return TRUE;
}

BOOL CSatSortButton::SetChecked() {
    const BOOL was = m_bChecked;
    if (!m_bChecked) {
        m_bChecked = TRUE;
        Refresh();
    }
    return was;
}

BOOL CSatSortButton::ClearChecked() {
    const BOOL was = m_bChecked;
    if (m_bChecked) {
        m_bChecked = FALSE;
        Refresh();
    }
    return was;
}

// ---- The cell control

const ControlTypeRecord CSatSortPushbutton::kTypeRecord = {"CSatSortPushbutton", &CGXControl::kTypeRecord};

CSatSortPushbutton::CSatSortPushbutton(CGXGridCore* grid) : CGXControl(grid), m_pButton(new CSatSortButton(this)) {
    AddChild(m_pButton);
}

void CSatSortPushbutton::InitCell(ROWCOL row, ROWCOL col) {
    CGXControl::InitCell(row, col);
    RECT button{};
    m_pButton->GetRect(button);
    m_pGrid->InvalidateGridRect(&button, TRUE);
}

CSize CSatSortPushbutton::CalcCellSize(CDC* dc, ROWCOL, ROWCOL, const CGXStyle& style,
                                       const CGXStyle* standardStyle, BOOL, int) {
    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    const CString caption = style.GetIncludeChoicesList() ? style.GetChoicesList() : CString();
    const CSize extent = dc->GetTextExtent(caption);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
    return AddBorderSize(extent.cx + 8, extent.cy + 4, style);
}

void CSatSortPushbutton::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                              const CGXStyle* standardStyle) {
    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    dc->SetTextColor(style.GetTextColor());
    CGXControl::Draw(dc, rect, row, col, style, standardStyle);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
}

void CSatSortPushbutton::PlaceChildren(ROWCOL row, ROWCOL col, const RECT& rect) {
    const CGXStyle& style = m_pGrid->LookupStyleRowCol(row, col);
    SetActiveChild(m_pButton);
    m_pButton->SetRect(rect);
    m_pButton->SetText(style.GetIncludeChoicesList() ? style.GetChoicesList() : CString());
}
