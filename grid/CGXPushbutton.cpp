#include "grid/CGXPushbutton.h"

#include "grid/CGXButton.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "platform/framework/CDC.h"

const ControlTypeRecord CGXPushbutton::kTypeRecord = {"CGXPushbutton", &CGXControl::kTypeRecord};

CGXPushbutton::CGXPushbutton(CGXGridCore* grid) : CGXControl(grid), m_pButton(new CGXButton(this)) {
    AddChild(m_pButton);
}

void CGXPushbutton::InitCell(ROWCOL row, ROWCOL col) {
    CGXControl::InitCell(row, col);
    RECT button{};
    m_pButton->GetRect(button);
    m_pGrid->InvalidateGridRect(&button, TRUE);
}

CSize CGXPushbutton::CalcCellSize(CDC* dc, ROWCOL, ROWCOL, const CGXStyle& style,
                                  const CGXStyle* standardStyle, BOOL, int) {
    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    const CString caption = style.GetIncludeChoicesList() ? style.GetChoicesList() : CString();
    const CSize extent = dc->GetTextExtent(caption);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
    return AddBorderSize(extent.cx + 8, extent.cy + 4, style);
}

void CGXPushbutton::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                         const CGXStyle* standardStyle) {
    if (rect.right - rect.left <= 1 || rect.bottom - rect.top <= 1) {
        return;
    }
    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    DrawFrame3d(dc, rect, style);
    dc->SetTextColor(style.GetTextColor());
    CGXControl::Draw(dc, rect, row, col, style, standardStyle);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
}

void CGXPushbutton::PlaceChildren(ROWCOL row, ROWCOL col, const RECT& inner) {
    SetActiveChild(m_pButton);
    m_pButton->SetRect(inner);
    const CGXStyle& style = m_pGrid->LookupStyleRowCol(row, col);
    m_pButton->SetText(style.GetIncludeChoicesList() ? style.GetChoicesList() : CString());
}
