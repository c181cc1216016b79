#include "toolkit/SECWorkbookClient.h"

void SECWorkbookClient::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    lpClientRect->left += m_nLeftMargin;
    lpClientRect->top += m_nTopMargin;
    lpClientRect->right -= m_nRightMargin;
    lpClientRect->bottom -= m_nBottomMargin;
    CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

void SECWorkbookClient::GetMargins(int& left, int& right, int& top, int& bottom) const {
    left = m_nLeftMargin;
    right = m_nRightMargin;
    top = m_nTopMargin;
    bottom = m_nBottomMargin;
}

void SECWorkbookClient::SetMargins(int left, int top, int right, int bottom) {
    m_nLeftMargin = left;
    m_nTopMargin = top;
    m_nRightMargin = right;
    m_nBottomMargin = bottom;
}

LRESULT SECWorkbookClient::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_MDISETMENU && message != WM_SEC_WORKBOOK_NOMENU) {
        return CWnd::WindowProc(message, wParam, lParam);
    }
    const LPARAM none = -1;
    LRESULT result = 0;
    if (static_cast<LPARAM>(wParam) != none && lParam != none) {
        result = CWnd::WindowProc(WM_MDISETMENU, wParam, lParam);
    }
    ::SendMessageW(::GetParent(m_hWnd), WM_SEC_WORKBOOK_MENUCHANGED, 0, 0);
    return result;
}
