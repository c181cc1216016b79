#include "platform/framework/AfxControls.h"

#include <string>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

void SetResult(LRESULT* pResult, LRESULT value) {
    if (pResult) {
        *pResult = value;
    }
}

CString ItemText(const CWnd* pWnd, UINT lenMsg, UINT textMsg, int nIndex) {
    LRESULT length = pWnd->SendMessageW(lenMsg, static_cast<WPARAM>(nIndex));
    if (length < 0) {
        return CString();
    }
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    LRESULT got =
        pWnd->SendMessageW(textMsg, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return CString(text);
}

} // namespace

// ---- Creation: the controls' own classes

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    RegisterStaticClass();
    return CWnd::Create(u"Static", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    RegisterButtonClass();
    return CWnd::Create(u"Button", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    RegisterEditClass();
    return CWnd::Create(u"Edit", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    RegisterListBoxClass();
    return CWnd::Create(u"ListBox", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    RegisterComboBoxClass();
    return CWnd::Create(u"ComboBox", nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    RegisterUpDownClass();
    return CWnd::Create(UPDOWN_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    RegisterProgressClass();
    return CWnd::Create(PROGRESS_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    RegisterTooltipClass();
    return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, SafeHwndOf(pParentWnd), nullptr);
}

// ---- Owner-drawn items reflected by the parent

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM) {
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    SetResult(pResult, TRUE);
    return TRUE;
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM) {
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    SetResult(pResult, TRUE);
    return TRUE;
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        SetResult(pResult, TRUE);
        return TRUE;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        SetResult(pResult, TRUE);
        return TRUE;
    case WM_COMPAREITEM:
        SetResult(pResult, CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)));
        return TRUE;
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        SetResult(pResult, TRUE);
        return TRUE;
    case WM_VKEYTOITEM:
        SetResult(pResult, VKeyToItem(LOWORD(wParam), HIWORD(wParam)));
        return TRUE;
    case WM_CHARTOITEM:
        SetResult(pResult, CharToItem(LOWORD(wParam), HIWORD(wParam)));
        return TRUE;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        SetResult(pResult, CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)));
        return TRUE;
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    SetResult(pResult, TRUE);
    return TRUE;
}

// ---- Out-of-line members

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer) const {
    return static_cast<int>(
        SendMessageW(EM_GETLINE, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const {
    // The first unit of the buffer tells the line message its size.
    lpszBuffer[0] = static_cast<TCHAR>(nMaxLength);
    return GetLine(nIndex, lpszBuffer);
}

void CEdit::SetSel(DWORD dwSelection, BOOL bNoScroll) {
    SetSel(static_cast<int>(static_cast<short>(LOWORD(dwSelection))),
           static_cast<int>(static_cast<short>(HIWORD(dwSelection))), bNoScroll);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
    SendMessageW(EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
    if (!bNoScroll) {
        SendMessageW(EM_SCROLLCARET);
    }
}

CPoint CEdit::PosFromChar(UINT nChar) const {
    LRESULT pos = SendMessageW(EM_POSFROMCHAR, nChar);
    return CPoint(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
}

void CListBox::GetText(int nIndex, CString& rString) const {
    rString = ItemText(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    LRESULT result = SendMessageW(LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(result) ? TRUE : FALSE;
    return LOWORD(result);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    rString = ItemText(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex);
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
    DWORD range = GetRange();
    lower = static_cast<short>(HIWORD(range));
    upper = static_cast<short>(LOWORD(range));
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    PBRANGE range{};
    SendMessageW(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
}

// ---- Tooltips

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
    ti = TOOLINFO{};
    ti.cbSize = sizeof(TOOLINFO);
    HWND hWnd = SafeHwndOf(pWnd);
    if (nIDTool == 0) {
        // The whole window is the tool, known by its handle.
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(hWnd);
    } else {
        ti.hwnd = hWnd;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool) {
        ti.rect = *lpRectTool;
    }
    ti.lpszText = const_cast<LPTSTR>(lpszText);
    return static_cast<BOOL>(SendMessageW(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    SendMessageW(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    std::u16string buffer(1024, u'\0');
    ti.lpszText = buffer.data();
    SendMessageW(TTM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&ti));
    str = ti.lpszText ? CString(ti.lpszText) : CString();
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO* lpToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
    FillInToolInfo(*lpToolInfo, pWnd, nIDTool);
    return static_cast<BOOL>(SendMessageW(TTM_GETTOOLINFO, 0, reinterpret_cast<LPARAM>(lpToolInfo)));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessageW(TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPTSTR>(lpszText);
    SendMessageW(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}
