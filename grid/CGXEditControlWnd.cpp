// The edit cell's window: its style (re-created when the text needs another), and its messages: which keys
// it keeps and which go to the grid, the characters it lets in, focus and the input method.
#include "grid/CGXEditControl.h"

#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/display/InputApi.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/VirtualKeys.h"
#include "platform/display/WindowApi.h"
#include "platform/display/WindowMessages.h"
#include "platform/framework/AfxWindowMessageMap.h"
#include "platform/framework/CDC.h"

#include <algorithm>

namespace {

constexpr DWORD kWindowStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kEditStyle = ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;

} // namespace

BEGIN_MESSAGE_MAP(CGXEditControl, CEdit)
ON_WM_GETDLGCODE()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
ON_WM_SYSKEYDOWN()
ON_WM_SYSKEYUP()
ON_WM_SYSCHAR()
ON_WM_ERASEBKGND()
ON_WM_SHOWWINDOW()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_LBUTTONDOWN()
ON_WM_CONTEXTMENU()
ON_MESSAGE(WM_IME_STARTCOMPOSITION, OnImeStartComposition)
ON_MESSAGE(WM_IME_ENDCOMPOSITION, OnImeEndComposition)
END_MESSAGE_MAP()

BOOL CGXEditControl::IsKeyHeld(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

BOOL CGXEditControl::CreateEditWindow(DWORD style, const RECT* rect) {
    CWnd* grid = GetGridWnd();
    if (!grid) {
        return FALSE;
    }
    const CRect where = rect ? CRect(*rect) : CRect();
    if (!CWnd::Create(u"GXEDIT", u"", style, where, grid, m_nID)) {
        return FALSE;
    }
    // A hidden window is compared as the shown one it will become.
    m_dwLastStyle = style | WS_VISIBLE;
    return TRUE;
}

void CGXEditControl::SetAlignment(UINT alignmentBits) {
    m_dwAlignment = (alignmentBits & 0x3) == 0x1 ? ES_CENTER : (alignmentBits & 0x3) == 0x2 ? ES_RIGHT : 0;
}

DWORD CGXEditControl::CalcEditStyle(CRect& rect, int& lineHeight) {
    GetClientRect(&rect);
    CString text;
    GetWindowText(text);
    {
        CClientDC dc(this);
        CFont* oldFont = GetFont() ? dc.SelectObject(GetFont()) : nullptr;
        TEXTMETRICW metrics{};
        dc.GetTextMetrics(&metrics);
        m_nLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        m_nMaxCharWidth = metrics.tmMaxCharWidth;
        const CSize extent = dc.GetTextExtent(text);
        if (oldFont) {
            dc.SelectObject(oldFont);
        }
        lineHeight = m_nLineHeight;
        DWORD edit = kEditStyle | (m_bAllowEnter ? ES_WANTRETURN : 0);
        DWORD alignment = m_pDerived ? 0 : m_dwAlignment;
        DWORD window = kWindowStyle;
        const BOOL roomForLines = lineHeight < rect.Height() - lineHeight / 3;
        if (m_bWordWrap && (m_bScrollBar || roomForLines)) {
            window |= m_bScrollBar ? WS_VSCROLL : 0;
        } else {
            edit |= ES_AUTOHSCROLL;
            // Text wider than the window scrolls from its start, whatever the cell's alignment.
            if (extent.cx > rect.Width() - m_nMaxCharWidth) {
                alignment = 0;
            }
        }
        rect.bottom = std::max<LONG>(rect.bottom, rect.top + lineHeight + 1);
        return window | edit | alignment;
    }
}

BOOL CGXEditControl::UpdateEditWindow() {
    if (m_bRecreating || !GetSafeHwnd()) {
        return FALSE;
    }
    CRect format;
    int lineHeight = 0;
    const DWORD style = CalcEditStyle(format, lineHeight);
    if (style == m_dwLastStyle) {
        SetRectNP(&format);
        KeepCaretLineVisible(format, lineHeight);
        return FALSE;
    }
    m_bRecreating = TRUE;
    const BOOL modified = IsModified();
    const BOOL readOnly = (GetStyle() & ES_READONLY) != 0;
    const BOOL focused = ::GetFocus() == m_hWnd;
    CRect where;
    GetWindowRect(&where);
    GetGridWnd()->ScreenToClient(&where);
    CString text;
    GetWindowText(text);
    int start = 0;
    int end = 0;
    GetSel(start, end);

    ::HideCaret(m_hWnd);
    MoveWindow(0, 0, 0, 0, FALSE);
    m_pGrid->SetFocusChangeInProgress(TRUE);
    DestroyWindow();
    CreateEditWindow(style, &where);
    SetRect(&format);
    if (m_font.m_hObject) {
        SetFont(&m_font, TRUE);
    }
    SetWindowText(text);
    SetSel(start, end);
    SendMessage(EM_SCROLLCARET);
    SetModify(modified);
    SetReadOnly(readOnly);
    LimitText(m_nMaxLength);
    m_bRecreating = FALSE;
    KeepCaretLineVisible(format, lineHeight);
    if (focused) {
        SetFocus();
    }
    m_pGrid->SetFocusChangeInProgress(FALSE);
    return TRUE;
}

int CGXEditControl::GetLastVisibleLine(const RECT* rect) {
    CRect format;
    if (rect) {
        format = *rect;
    } else {
        GetRect(&format);
    }
    const int lines = m_nLineHeight > 0 ? std::max(1, format.Height() / m_nLineHeight) : 1;
    return GetFirstVisibleLine() + lines - 1;
}

// A window made taller or shorter, or re-created, may leave the caret's line out of sight.
void CGXEditControl::KeepCaretLineVisible(const CRect& format, int lineHeight) {
    if (lineHeight <= 0) {
        SendMessage(EM_SCROLLCARET);
        return;
    }
    const int first = GetFirstVisibleLine();
    const int last = GetLastVisibleLine(&format);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    const int caretLine = LineFromChar(end);
    const int lines = caretLine > last ? caretLine - last : caretLine < first ? caretLine - first : 0;
    if (lines != 0) {
        ::HideCaret(m_hWnd);
        LineScroll(lines);
        SendMessage(EM_SCROLLCARET);
        UpdateWindow();
        ::ShowCaret(m_hWnd);
    } else {
        SendMessage(EM_SCROLLCARET);
    }
}

UINT CGXEditControl::OnGetDlgCode() {
    return static_cast<UINT>(Default()) | DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTARROWS;
}

BOOL CGXEditControl::KeepsKey(UINT key) {
    int start = 0;
    int end = 0;
    GetSel(start, end);
    switch (key) {
    case VK_TAB:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
        return FALSE;
    case VK_RETURN:
        return (GetStyle() & ES_WANTRETURN) != 0;
    case VK_LEFT:
        return end > 0;
    case VK_UP:
        return LineFromChar(start) > 0;
    case VK_RIGHT:
        return start < GetWindowTextLength();
    case VK_DOWN:
        return LineFromChar(end) < GetLineCount() - 1;
    default:
        return key < VK_F1 || key > VK_F24;
    }
}

void CGXEditControl::OnKeyDown(UINT key, UINT repeat, UINT flags) {
    BOOL kept = FALSE;
    if (m_bActive) {
        m_pGrid->ScrollCellInView(m_nRow, m_nCol, 2, FALSE);
        if (!IsKeyHeld(VK_CONTROL) && KeepsKey(key)) {
            kept = TRUE;
            int start = 0;
            int end = 0;
            GetSel(start, end);
            if (key == VK_INSERT && IsKeyHeld(VK_SHIFT)) {
                CGXStatic::Paste();
            } else if (key == VK_DELETE && IsKeyHeld(VK_SHIFT) && start != end) {
                if (::OpenClipboard(m_hWnd)) {
                    ::EmptyClipboard();
                    ::CloseClipboard();
                }
                CGXStatic::Cut();
            } else {
                Default();
            }
        }
    }
    if (!kept) {
        m_pGrid->ProcessKeys(this, WM_KEYDOWN, key, repeat, flags);
    }
}

void CGXEditControl::OnKeyUp(UINT key, UINT repeat, UINT flags) {
    if (m_pGrid->ProcessKeys(this, WM_KEYUP, key, repeat, flags)) {
        return;
    }
    Default();
    if (key != VK_SHIFT && key != VK_END && key != VK_HOME && key != VK_UP && key != VK_DOWN) {
        UpdateEditWindow();
    }
}

void CGXEditControl::OnSysKeyDown(UINT key, UINT repeat, UINT flags) {
    if (!m_pGrid->ProcessKeys(this, WM_SYSKEYDOWN, key, repeat, flags)) {
        Default();
    }
}

void CGXEditControl::OnSysKeyUp(UINT key, UINT repeat, UINT flags) {
    if (!m_pGrid->ProcessKeys(this, WM_SYSKEYUP, key, repeat, flags)) {
        Default();
    }
}

void CGXEditControl::OnSysChar(UINT character, UINT repeat, UINT flags) {
    if (!m_pGrid->ProcessKeys(this, WM_SYSCHAR, character, repeat, flags)) {
        Default();
    }
}

void CGXEditControl::OnChar(UINT character, UINT repeat, UINT flags) {
    if (FilterTypedChar(character, repeat, flags)) {
        Default();
        m_pGrid->ProcessKeys(this, WM_CHAR, character, repeat, flags);
        return;
    }
    if (m_strPrepared.IsEmpty()) {
        return;
    }
    int start = 0;
    int end = 0;
    GetSel(start, end);
    start = std::min(start, end);
    const CString text = m_strPrepared;
    m_bInserting = TRUE;
    ReplaceSelection(text);
    m_bInserting = FALSE;
    SetSel(start + text.GetLength(), start + text.GetLength());
    SendMessage(EM_SCROLLCARET);
}

BOOL CGXEditControl::FilterTypedChar(UINT character, UINT repeat, UINT) {
    if (!m_bBound || !m_bActive || IsReadOnly() || (GetStyle() & ES_READONLY) ||
        (character != 8 && repeat == 0 && !::GetSystemMetrics(SM_PENWINDOWS))) {
        m_strPrepared.Empty();
        return FALSE;
    }
    m_pGrid->ScrollCellInView(m_nRow, m_nCol, 2, FALSE);
    if (!m_bInserting) {
        m_strPrepared.Empty();
    }
    if (IsKeyHeld(VK_CONTROL)) {
        switch (character) {
        case 3:
        case 24:
            if (::OpenClipboard(m_hWnd)) {
                ::EmptyClipboard();
                ::CloseClipboard();
            }
            if (character == 3) {
                CGXStatic::Copy();
            } else {
                CGXStatic::Cut();
            }
            return FALSE;
        case 22:
            CGXStatic::Paste();
            return FALSE;
        default:
            break;
        }
    }
    if (character == '\r') {
        if (GetStyle() & ES_WANTRETURN) {
            m_strPrepared = u"\r\n";
        }
        return FALSE;
    }
    if (character == '\n') {
        // Ctrl+Enter breaks the line only in a cell that wraps its text.
        if (GetCachedStyle().GetWrapText()) {
            m_strPrepared = u"\r\n";
        }
        return FALSE;
    }
    if (IsKeyHeld(VK_CONTROL)) {
        return m_strPrepared.IsEmpty();
    }
    CString typed;
    const BOOL joined = CharToText(static_cast<WCHAR>(character), typed, m_bPendingLead, m_storedUnit);
    if (joined && typed.IsEmpty()) {
        return FALSE;
    }
    if (!joined && character < 32) {
        return m_strPrepared.IsEmpty();
    }
    m_strPrepared = typed;
    if (!CheckTypedText(TextWithSelectionReplaced(typed))) {
        ReservedHook(m_strPrepared);
        m_strPrepared.Empty();
    }
    return FALSE;
}

BOOL CGXEditControl::OnEraseBkgnd(CDC* dc) {
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, RGB(255, 255, 255));
    if (m_bBound) {
        if (CBrush* brush = m_pGrid->GetBrush(GetCachedStyle().GetInterior())) {
            dc->FillRect(&client, brush);
        }
    }
    return TRUE;
}

void CGXEditControl::OnShowWindow(BOOL show, UINT) {
    Default();
    if (show) {
        UpdateEditWindow();
    }
}

void CGXEditControl::OnSetFocus(CWnd*) {
    Default();
    UpdateEditWindow();
}

void CGXEditControl::OnKillFocus(CWnd* newWnd) {
    Default();
    ForwardKillFocus(newWnd);
}

void CGXEditControl::OnLButtonDown(UINT, CPoint) {
    Default();
    if (!IsWindowVisible() && m_bBound) {
        SetActive(TRUE);
        RedrawCell();
    }
}

void CGXEditControl::OnContextMenu(CWnd*, CPoint) {}

LRESULT CGXEditControl::OnImeStartComposition(WPARAM, LPARAM) {
    GridLibraryState::Instance().imeComposing = TRUE;
    return Default();
}

LRESULT CGXEditControl::OnImeEndComposition(WPARAM, LPARAM) {
    GridLibraryState::Instance().imeComposing = FALSE;
    return Default();
}
