// The edit cell as a cell control: binding, activation, the text, storing, drawing and the keys and clicks
// the grid hands on while the edit window does not have the focus.
#include "grid/CGXEditControl.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXFont.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "platform/display/InputApi.h"
#include "platform/display/VirtualKeys.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/SystemColors.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CGXEditControl, CEdit)

const ControlTypeRecord CGXEditControl::kTypeRecord = {"CGXEditControl", &CGXStatic::kTypeRecord};

CGXEditControl::CGXEditControl(CGXGridCore* grid, UINT id)
    : CGXStatic(grid), m_nID(id), m_rgbSelectionText(::GetSysColor(COLOR_HIGHLIGHTTEXT)) {}

CGXEditControl::~CGXEditControl() {
    if (GetSafeHwnd()) {
        DestroyWindow();
    }
}

void CGXEditControl::SetActive(BOOL active) {
    const BOOL hasWindow = GetSafeHwnd() != nullptr;
    if (active && !m_bActive && hasWindow) {
        m_bActive = TRUE;
        // The style is read afresh for each edit.
        FreeStyle(TRUE);
        GetCachedStyle();
    } else {
        m_bActive = active && hasWindow;
    }
}

void CGXEditControl::SetModified(BOOL modified) {
    if (GetSafeHwnd()) {
        SetModify(modified);
    }
}

BOOL CGXEditControl::IsModified() {
    return GetSafeHwnd() ? GetModify() : FALSE;
}

void CGXEditControl::InitCell(ROWCOL row, ROWCOL col) {
    GridLibraryState::Instance().imeComposing = FALSE;
    // The window comes first, so that a cell that starts editing on being bound has it to start with.
    if (!GetSafeHwnd()) {
        CreateEditWindow(
            WS_CHILD | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL, nullptr);
    }
    CGXStatic::InitCell(row, col);
    const CGXStyle& style = GetCachedStyle();
    if (style.GetIncludeAutoSize()) {
        m_bAutoSize = style.GetAutoSize();
    }
    const CString text = m_pGrid->GetStoredValueRowCol(row, col);
    SetCellValue(text);
    if (GetSafeHwnd()) {
        SetSel(0, -1);
        SendMessage(EM_SCROLLCARET);
        if (m_bActive) {
            LineScroll(255);
        }
    }
    SetModified(FALSE);
}

BOOL CGXEditControl::StoreValue() {
    CString text;
    if (!m_pStyle || !IsModified() || !GetCellValue(text)) {
        return TRUE;
    }
    SetActive(FALSE);
    FreeStyle(TRUE);
    return m_pGrid->SetValueRange(CGXRange(m_nRow, m_nCol, m_nRow, m_nCol), text, kMergeOverride, 1);
}

void CGXEditControl::GetEditText(CString& text) {
    text.Empty();
    if (m_bActive && GetSafeHwnd()) {
        GetWindowText(text);
    } else if (m_bBound) {
        ValueToDisplayText(text, m_nRow, m_nCol, nullptr, GetCachedStyle());
    }
}

void CGXEditControl::SetEditText(const CString& text) {
    if (!m_bBound || !GetSafeHwnd()) {
        return;
    }
    if (!m_bActive) {
        SetActive(TRUE);
    }
    if (CheckTypedText(text)) {
        SetWindowText(text);
        SetModified(TRUE);
        ReportModified();
    }
}

BOOL CGXEditControl::GetCellValue(CString& text) {
    if (!m_bBound) {
        return FALSE;
    }
    GetEditText(text);
    return TRUE;
}

void CGXEditControl::SetCellValue(const CString& text) {
    if (!GetSafeHwnd()) {
        return;
    }
    CString shown;
    const CGXGridParam* param = m_pGrid->GetParam();
    if (param && (param->m_wDisplayFlags & 0x2)) {
        shown = text;
    } else {
        ValueToDisplayText(shown, m_nRow, m_nCol, text, GetCachedStyle());
    }
    SetWindowText(shown);
}

void CGXEditControl::Hide() {
    if (!GetSafeHwnd() || !IsWindowVisible()) {
        return;
    }
    m_pGrid->SetFocusChangeInProgress(TRUE);
    // Keys must not go on reaching a hidden window.
    if (::GetFocus() == m_hWnd && GetGridWnd()) {
        GetGridWnd()->SetFocus();
    }
    ::HideCaret(m_hWnd);
    MoveWindow(0, 0, 0, 0, FALSE);
    ShowWindow(SW_HIDE);
    m_pGrid->SetFocusChangeInProgress(FALSE);
}

void CGXEditControl::CreateCellFont(const CGXStyle& style) {
    CGXFont zoomed(style.GetFont());
    zoomed.SetSize(zoomed.GetSize() * m_pGrid->GetZoom() * 0.01);
    LOGFONTW logFont = zoomed.GetLogFont();
    logFont.lfEscapement = 0;
    logFont.lfOrientation = 0;
    m_font.CreateFontIndirect(&logFont);
}

// A cell scrolled in part under the frozen rows or columns: a child window would paint over the frozen
// cells, so the window keeps to the part of the cell that shows (its rectangle as the grid clamps it).
void CGXEditControl::ClipToScrolledPane(CRect& r, ROWCOL row, ROWCOL col, const CGXStyle& style) {
    const BOOL underRows = row > m_pGrid->GetFrozenRows() && row < m_pGrid->GetTopRow();
    const BOOL underCols = col > m_pGrid->GetFrozenCols() && col < m_pGrid->GetLeftCol();
    if (!underRows && !underCols) {
        return;
    }
    const CRect shown = GetInnerRect(row, col, nullptr, &style);
    if (underRows) {
        r.top = std::max(r.top, shown.top);
    }
    if (underCols) {
        r.left = std::max(r.left, shown.left);
    }
    r.bottom = std::max(r.bottom, r.top);
    r.right = std::max(r.right, r.left);
}

// Where the window goes: the cell's text area, one line high (placed by the vertical alignment) unless the
// cell wraps its text.
CRect CGXEditControl::PlaceWindowRect(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col,
                                      const CGXStyle& style) {
    CFont* oldFont = dc->SelectObject(&m_font);
    TEXTMETRICW metrics{};
    dc->GetTextMetrics(&metrics);
    m_nLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    m_nMaxCharWidth = metrics.tmMaxCharWidth;
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
    CRect r = GetInnerRect(row, col, &rect, &style);
    ClipToScrolledPane(r, row, col, style);
    if (!style.GetWrapText()) {
        if (style.GetIncludeVerticalAlignment()) {
            if (style.GetVerticalAlignment() == kTextVCenter) {
                r.top += std::max<LONG>(0, (r.bottom - m_nLineHeight - r.top) / 2);
            } else if (style.GetVerticalAlignment() == kTextBottom && r.bottom - m_nLineHeight > r.top) {
                r.top = r.bottom - m_nLineHeight;
            }
        }
        r.bottom = std::min(r.bottom, r.top + m_nLineHeight);
    }
    if (style.GetHorizontalAlignment() == kTextRight) {
        r.right += 1;
    }
    return r;
}

void CGXEditControl::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                          const CGXStyle* standardStyle) {
    if (!IsBoundTo(row, col) || !m_bActive || m_pGrid->IsPrinting() || !GetSafeHwnd()) {
        CGXStatic::Draw(dc, rect, row, col, style, standardStyle);
        return;
    }
    if (GridLibraryState::Instance().imeComposing) {
        return;
    }
    const CGXStyle& cached = GetCachedStyle();
    Hide();
    // The window lets go of the previous font (deleted on leaving) only when it has the new one.
    CFont previousFont;
    previousFont.Attach(m_font.Detach());
    CreateCellFont(cached);
    const COLORREF background = cached.GetInterior().GetColor();
    const CRect r = PlaceWindowRect(dc, rect, row, col, cached);
    DrawBackground(dc, rect, cached, TRUE);
    SetFont(&m_font, TRUE);
    MoveWindow(&r, FALSE);

    m_rgbBackground = background;
    SetAlignment(static_cast<UINT>(cached.GetHorizontalAlignment()));
    if (cached.GetIncludeVerticalScrollbar()) {
        m_bScrollBar = cached.GetVerticalScrollbar();
    }
    if (cached.GetIncludeAutoSize()) {
        m_bAutoSize = cached.GetAutoSize();
    }
    m_bAllowEnter = cached.GetAllowEnter();
    m_bWordWrap = cached.GetWrapText();
    SetActive(TRUE);

    CWnd* grid = GetGridWnd();
    if (grid && ::GetFocus() == grid->GetSafeHwnd()) {
        m_pGrid->SetFocusChangeInProgress(TRUE);
        SetFocus();
        m_pGrid->SetFocusChangeInProgress(FALSE);
    }
    m_nMaxLength = cached.GetIncludeMaxLength() ? cached.GetMaxLength() : 0;
    LimitText(m_nMaxLength);
    ShowWindow(SW_SHOW);
    SetReadOnly(IsReadOnly());
    UpdateWindow();
    CGXControl::Draw(dc, rect, row, col, style, standardStyle);
    ExcludeRectFromPaint(r);
}

BOOL CGXEditControl::StartEditWithCaret(int position) {
    if (!AskStartEdit()) {
        return FALSE;
    }
    if (!m_bBound) {
        ROWCOL row = 0;
        ROWCOL col = 0;
        if (!m_pGrid->GetCurrentCell(row, col)) {
            return FALSE;
        }
        InitCell(row, col);
    }
    SetActive(TRUE);
    const int caret = position < 0 ? GetWindowTextLength() : position;
    SetSel(caret, caret);
    return TRUE;
}

BOOL CGXEditControl::KeyDown(UINT key, UINT, UINT) {
    if (!GetSafeHwnd() || IsKeyHeld(VK_CONTROL)) {
        return FALSE;
    }
    BOOL started = FALSE;
    switch (key) {
    case VK_END:
        started = StartEditWithCaret(-1);
        break;
    case VK_HOME:
        started = StartEditWithCaret(0);
        break;
    case VK_DELETE:
        if (!IsReadOnly() && !IsKeyHeld(VK_SHIFT) && AskClearCell() && AskStartEdit()) {
            SetActive(TRUE);
            SetModified(TRUE);
            SetEditText(CString());
            started = TRUE;
        }
        break;
    default:
        return FALSE;
    }
    if (!started) {
        return FALSE;
    }
    UpdateEditWindow();
    if (!m_pGrid->ScrollCellInView(m_nRow, m_nCol, 2, FALSE)) {
        RedrawCell();
    }
    return TRUE;
}

BOOL CGXEditControl::CharTyped(UINT character, UINT repeat, UINT flags) {
    if (!GetSafeHwnd() || character < 32 || character == 127) {
        return FALSE;
    }
    const WCHAR text[2] = {static_cast<WCHAR>(character), 0};
    return TextTyped(CString(text), repeat, flags);
}

BOOL CGXEditControl::TextTyped(const CString& text, UINT, UINT) {
    if (IsReadOnly()) {
        return FALSE;
    }
    if (!m_bActive) {
        // A typed character replaces the cell's text and starts the edit.
        if (!CheckTypedText(text) || !AskStartEdit()) {
            return FALSE;
        }
        SetActive(TRUE);
        SetEditText(text);
        const int end = GetWindowTextLength();
        SetSel(end, end);
        RedrawCell();
        return TRUE;
    }
    if (!CheckTypedText(TextWithSelectionReplaced(text))) {
        return TRUE;
    }
    int start = 0;
    int end = 0;
    GetSel(start, end);
    m_bInserting = TRUE;
    ReplaceSelection(text);
    m_bInserting = FALSE;
    const int caret = std::min(start, end) + text.GetLength();
    SetSel(caret, caret);
    return TRUE;
}

void CGXEditControl::ReplaceSelection(const CString& text) {
    if (!m_bActive || !GetSafeHwnd()) {
        CGXStatic::ReplaceSelection(text);
        return;
    }
    if (!IsReadOnly()) {
        SetModified(TRUE);
        ReplaceSel(text, FALSE);
    }
}

BOOL CGXEditControl::GetSelectedText(CString& text) {
    if (!m_bActive || !GetSafeHwnd()) {
        GetEditText(text);
        return FALSE;
    }
    GetWindowText(text);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (start == end) {
        return FALSE;
    }
    text = text.Mid(std::min(start, end), std::abs(end - start));
    return TRUE;
}

BOOL CGXEditControl::CheckPastedText(const CString& text) {
    return CheckTypedText(TextWithSelectionReplaced(text));
}

CString CGXEditControl::TextWithSelectionReplaced(const CString& text) {
    CString window;
    GetWindowText(window);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (end < 0) {
        return text;
    }
    const int from = std::clamp(std::min(start, end), 0, window.GetLength());
    const int to = std::clamp(std::max(start, end), from, window.GetLength());
    return window.Left(from) + text + window.Mid(to);
}

BOOL CGXEditControl::LButtonUp(UINT flags, POINT point, UINT hitState) {
    if (GetSafeHwnd() && m_bBound) {
        const int position = CharFromPoint(point);
        const WORD activation = m_pGrid->GetParam() ? m_pGrid->GetParam()->m_wActivateCell : 0;
        if ((position != -1 && (activation & 0x1)) || (activation & 0x6)) {
            if (!m_bActive && AskStartEdit()) {
                SetActive(TRUE);
            }
            if (m_bActive) {
                if (position == -1) {
                    SetSel(0, -1);
                } else {
                    SetSel(position, position);
                }
            }
        }
        if (m_bActive && ::GetFocus() != m_hWnd) {
            RedrawCell();
        }
    }
    CGXStatic::LButtonUp(flags, point, hitState);
    return TRUE;
}

BOOL CGXEditControl::LButtonDblClk(UINT flags, POINT point) {
    const WORD activation = m_pGrid->GetParam() ? m_pGrid->GetParam()->m_wActivateCell : 0;
    if (GetSafeHwnd() && m_bBound && !m_bActive && (activation & 0x8)) {
        const int position = CharFromPoint(point);
        if (AskStartEdit()) {
            SetActive(TRUE);
            if (position == -1) {
                SetSel(0, -1);
            } else {
                SetSel(position, position);
            }
            RedrawCell();
        }
    }
    CGXStatic::LButtonDblClk(flags, point);
    return TRUE;
}

int CGXEditControl::CharFromPoint(POINT point) {
    CWnd* grid = GetGridWnd();
    if (!m_bBound || !grid) {
        return -1;
    }
    const CGXStyle& style = GetCachedStyle();
    const CRect inner = GetInnerRect(m_nRow, m_nCol, nullptr, &style);
    CString text;
    GetWindowText(text);
    CClientDC dc(grid);
    CFont* oldFont = m_pGrid->LoadFont(&dc, &style, nullptr);
    const int position = GetDrawingAndFormatting()->HitTestText(
        &dc, text, -1, inner.left, inner.top, inner.right, inner.bottom,
        CGXDrawingAndFormatting::CellTextFormat(style), point.x, point.y);
    if (oldFont) {
        dc.SelectObject(oldFont);
    }
    return position;
}

BOOL CGXEditControl::HandleCommand(WPARAM wParam, LPARAM lParam) {
    if (!m_bActive || m_bRecreating || !GetSafeHwnd() || reinterpret_cast<HWND>(lParam) != m_hWnd) {
        return CGXStatic::HandleCommand(wParam, lParam);
    }
    if (HIWORD(wParam) == EN_CHANGE) {
        ReportModified();
    }
    return TRUE;
}
