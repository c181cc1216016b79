#include "grid/CGXControl.h"

#include "grid/CGXBrushValue.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "platform/display/WindowMessages.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"

CGXControl::CGXControl(CGXGridCore* grid) : m_pGrid(grid) {}

CGXControl::~CGXControl() = default;

CWnd* CGXControl::GetGridWnd() const {
    return m_pGrid ? m_pGrid->GridWnd() : nullptr;
}

const CGXStyle& CGXControl::GetCachedStyle() {
    if (!m_pStyle) {
        m_pStyle = std::make_unique<CGXStyle>();
        if (m_bBound) {
            *m_pStyle = m_pGrid->LookupStyleRowCol(m_nRow, m_nCol);
        }
    }
    return *m_pStyle;
}

void CGXControl::FreeStyle(BOOL resetGridCache) {
    m_pStyle.reset();
    if (resetGridCache) {
        m_pGrid->ResetCurrentCellCache();
    }
}

void CGXControl::InitCell(ROWCOL row, ROWCOL col) {
    m_nRow = row;
    m_nCol = col;
    m_bBound = TRUE;
    SetActive(FALSE);
    SetModified(FALSE);
    FreeStyle(FALSE);
    m_pGrid->OnInitCurrentCell(row, col);
    CGXGridParam* param = m_pGrid->GetParam();
    if (param && (param->m_wActivateCell & 0x4) && AskStartEdit()) {
        SetActive(TRUE);
    }
}

void CGXControl::ResetCell() {
    Hide();
    SetModified(FALSE);
    SetActive(FALSE);
    FreeStyle(TRUE);
    m_bBound = FALSE;
}

BOOL CGXControl::ValidateValue() {
    return m_bBound ? m_pGrid->OnValidateCell(m_nRow, m_nCol) : TRUE;
}

BOOL CGXControl::AskStartEdit() {
    return m_bBound && m_pGrid->OnStartEditing(m_nRow, m_nCol);
}

BOOL CGXControl::ReportEditEnded() {
    return m_pGrid->OnEndEditing(m_nRow, m_nCol);
}

BOOL CGXControl::ReportCellLeft(ROWCOL newRow, ROWCOL newCol) {
    return m_pGrid->OnLeftCell(m_nRow, m_nCol, newRow, newCol);
}

BOOL CGXControl::AskCancelEdit() {
    return m_pGrid->OnCancelEditing(m_nRow, m_nCol);
}

void CGXControl::ReportEditCancelled() {}

void CGXControl::GetEditText(CString& text) {
    text.Empty();
    if (m_bBound) {
        text = GetCachedStyle().GetValue();
    }
}

void CGXControl::SetEditText(const CString& text) {
    if (m_bBound) {
        CGXStyle style;
        style.SetValue(text);
        m_pGrid->StoreStyleRowCol(m_nRow, m_nCol, &style, kMergeOverride, 0);
    }
}

BOOL CGXControl::GetCellValue(CString& text) {
    if (!m_bBound || !GetCachedStyle().GetIncludeValue()) {
        return FALSE;
    }
    text = GetCachedStyle().GetValue();
    return TRUE;
}

void CGXControl::SetCellValue(LPCTSTR text) {
    if (m_bBound) {
        GetCachedStyle();
        m_pStyle->SetValue(text ? text : u"");
    }
}

BOOL CGXControl::ReportModified() {
    if (!IsModified()) {
        return FALSE;
    }
    m_pGrid->OnModifyCell(m_nRow, m_nCol);
    return TRUE;
}

BOOL CGXControl::ValueToDisplayText(CString& out, ROWCOL, ROWCOL, LPCTSTR value, const CGXStyle& style) {
    if (!value) {
        if (!style.GetIncludeValue()) {
            return FALSE;
        }
        value = style.GetValueRef();
    }
    if (style.GetIncludeFormat() && style.GetFormat() != 0) {
        GetDrawingAndFormatting()->FormatValueText(out, style, value, style.GetValueType(), 0, 0);
    } else {
        out = value;
    }
    return TRUE;
}

CRect& CGXControl::GetInnerRect(CRect& rect, ROWCOL row, ROWCOL col, const RECT* cellRect,
                                const CGXStyle* style) {
    if (!style) {
        style = &m_pGrid->LookupStyleRowCol(row, col);
    }
    const CRect cell = cellRect ? CRect(*cellRect) : m_pGrid->CalcRangeRectCovered(row, col, row, col);
    rect = m_pGrid->SubtractBorders(cell, *style, TRUE);
    return rect;
}

BOOL CGXControl::IsReadOnly() {
    const CGXStyle& style = GetCachedStyle();
    const CGXGridParam* param = m_pGrid->GetParam();
    if (param && !param->m_bReadOnlyProtectsData) {
        return FALSE;
    }
    return m_pGrid->IsReadOnly() || style.GetReadOnly();
}

void CGXControl::ReplaceSelection(const CString& text) {
    if (m_bBound && m_pGrid->IsCurrentCell(m_nRow, m_nCol)) {
        CGXControl::SetEditText(text);
    }
}

void CGXControl::ForwardKillFocus(CWnd* newFocus) {
    CWnd* grid = GetGridWnd();
    if (!grid || m_pGrid->IsFocusChangeInProgress()) {
        return;
    }
    HWND next = newFocus ? newFocus->GetSafeHwnd() : nullptr;
    if (next != grid->GetSafeHwnd()) {
        grid->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
    }
}

void CGXControl::ExcludeRectFromPaint(const RECT& rect) {
    m_pGrid->ExcludeRectFromPaint(rect);
}

void CGXControl::Draw(CDC*, const RECT&, ROWCOL, ROWCOL, const CGXStyle&, const CGXStyle*) {}

void CGXControl::DrawCurrentCellFrame(CDC* dc, const RECT& rect) {
    // The thin inverted frame: one-pixel strips along the four sides.
    const CRect r(rect);
    const RECT strips[] = {{r.left, r.top, r.left + 1, r.bottom},
                           {r.right - 1, r.top, r.right, r.bottom},
                           {r.left + 1, r.top, r.right - 1, r.top + 1},
                           {r.left + 1, r.bottom - 1, r.right - 1, r.bottom}};
    for (const RECT& strip : strips) {
        dc->InvertRect(&strip);
    }
}

void CGXControl::DrawBackground(CDC* dc, const RECT& rect, const CGXStyle& style, BOOL erase) {
    CGXGridParam* param = m_pGrid->GetParam();
    const BOOL transparent = param && param->m_bTransparentBackground;
    if (erase || (!transparent && m_pGrid->IsDrawCellBackground())) {
        m_pGrid->FillRectWithBrush(dc, rect, style.GetInterior());
    }
}

void CGXControl::RedrawCell() {
    if (!m_bBound) {
        return;
    }
    Hide();
    CRect rect = m_pGrid->CalcCellRectSpanned(m_nRow, m_nCol);
    m_pGrid->InvalidateGridRect(&rect, TRUE);
}

BOOL CGXControl::MouseMove(UINT, POINT, UINT) {
    return FALSE;
}

BOOL CGXControl::MouseMoveOver(ROWCOL, ROWCOL, UINT, POINT) {
    return FALSE;
}

BOOL CGXControl::LButtonDown(UINT, POINT, UINT) {
    return FALSE;
}

BOOL CGXControl::LButtonUp(UINT flags, POINT point, UINT) {
    return m_bBound && m_pGrid->OnLButtonClickedRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::LButtonDblClk(UINT flags, POINT point) {
    return m_bBound && m_pGrid->OnLButtonDblClkRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::MButtonDown(UINT, POINT, UINT) {
    return FALSE;
}

BOOL CGXControl::MButtonUp(UINT flags, POINT point, UINT) {
    return m_bBound && m_pGrid->OnMButtonClickedRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::MButtonDblClk(UINT flags, POINT point) {
    return m_bBound && m_pGrid->OnMButtonDblClkRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::RButtonDown(UINT, POINT, UINT) {
    return FALSE;
}

BOOL CGXControl::RButtonUp(UINT flags, POINT point, UINT) {
    return m_bBound && m_pGrid->OnRButtonClickedRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::RButtonDblClk(UINT flags, POINT point) {
    return m_bBound && m_pGrid->OnRButtonDblClkRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags) {
    const UINT k = static_cast<UINT>(key);
    switch (message) {
    case WM_KEYDOWN:
        return KeyDown(k, repeat, flags);
    case WM_KEYUP:
        return KeyUp(k, repeat, flags);
    case WM_CHAR: {
        CString text;
        if (CharToText(static_cast<WCHAR>(key), text, m_bPendingLead, m_storedUnit)) {
            return text.IsEmpty() ? TRUE : TextTyped(text, repeat, flags);
        }
        return CharTyped(k, repeat, flags);
    }
    case WM_DEADCHAR:
        return DeadChar(k, repeat, flags);
    case WM_SYSKEYDOWN:
        return SysKeyDown(k, repeat, flags);
    case WM_SYSKEYUP:
        return SysKeyUp(k, repeat, flags);
    case WM_SYSCHAR:
        return SysChar(k, repeat, flags);
    case WM_SYSDEADCHAR:
        return SysDeadChar(k, repeat, flags);
    default:
        return FALSE;
    }
}

BOOL CharToText(WCHAR character, CString& text, BOOL& pendingLead, WCHAR storedUnit) {
    if (!pendingLead) {
        const WCHAR alone[2] = {character, 0};
        text = alone;
        return FALSE;
    }
    pendingLead = FALSE;
    const WCHAR pair[3] = {storedUnit, character, 0};
    text = pair;
    return TRUE;
}
