#include "dialogs/CSatSortPushbutton.h"

#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"

BOOL CSatSortPushbutton::SetChecked() {
    const BOOL was = m_checked;
    if (!m_checked) {
        m_checked = TRUE;
        Redraw();
    }
    return was;
}

BOOL CSatSortPushbutton::ClearChecked() {
    const BOOL was = m_checked;
    if (m_checked) {
        m_checked = FALSE;
        Redraw();
    }
    return was;
}

void CSatSortPushbutton::Redraw() {
    if (m_pGrid->GridWnd() && m_pGrid->GridWnd()->GetSafeHwnd()) {
        m_pGrid->GridWnd()->Invalidate(FALSE);
    }
}

CRect CSatSortPushbutton::ButtonRect() {
    return m_bBound ? m_pGrid->CalcCellRectSpanned(m_nRow, m_nCol) : CRect();
}

void CSatSortPushbutton::Toggle() {
    m_checked = !m_checked;
    Redraw();
    if (m_bBound) {
        m_pGrid->OnClickedButtonRowCol(m_nRow, m_nCol);
    }
}

void CSatSortPushbutton::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                              const CGXStyle*) {
    const BOOL pressedIn = m_checked || (m_pressed && IsBoundTo(row, col));
    CRect button(rect);
    dc->FillSolidRect(&button, ::GetSysColor(m_checked ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE));
    dc->DrawEdge(&button, pressedIn ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    CRect caption(button.left + 1, button.top + 1, button.right - 2, button.bottom - 2);
    if (pressedIn) {
        caption.OffsetRect(1, 1);
    }
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    CFont* oldFont = m_pGrid->LoadFont(dc, &style, nullptr);
    const CString text = style.GetIncludeChoicesList() ? style.GetChoicesList() : CString();
    dc->DrawTextW(text, -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (IsBoundTo(row, col) && m_pGrid->GridWnd() && ::GetFocus() == m_pGrid->GridWnd()->GetSafeHwnd()) {
        CRect focus(caption);
        focus.DeflateRect(2, 2);
        dc->DrawFocusRect(&focus);
    }
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
    dc->SetTextColor(oldColour);
    dc->SetBkMode(oldMode);
}

BOOL CSatSortPushbutton::LButtonDown(UINT, POINT, UINT) {
    m_pressed = TRUE;
    Redraw();
    return TRUE;
}

BOOL CSatSortPushbutton::MouseMove(UINT, POINT point, UINT) {
    const BOOL inside = ButtonRect().PtInRect(point);
    if (m_pressed != inside && (GetKeyState(VK_LBUTTON) & 0x8000)) {
        m_pressed = inside;
        Redraw();
    }
    return TRUE;
}

BOOL CSatSortPushbutton::LButtonUp(UINT, POINT point, UINT) {
    const BOOL click = m_pressed && ButtonRect().PtInRect(point);
    m_pressed = FALSE;
    if (click) {
        Toggle();
    } else {
        Redraw();
    }
    return TRUE;
}

BOOL CSatSortPushbutton::KeyDown(UINT key, UINT, UINT) {
    if (key != VK_SPACE) {
        return FALSE;
    }
    m_pressed = TRUE;
    Redraw();
    return TRUE;
}

BOOL CSatSortPushbutton::KeyUp(UINT key, UINT, UINT) {
    if (key != VK_SPACE || !m_pressed) {
        return FALSE;
    }
    m_pressed = FALSE;
    Toggle();
    return TRUE;
}

void CSatSortPushbutton::CancelMode() {
    if (m_pressed) {
        m_pressed = FALSE;
        Redraw();
    }
}
