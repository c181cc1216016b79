#include "platform/framework/CFormView.h"

#include "platform/framework/CDialog.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
END_MESSAGE_MAP()

CFormView::CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)) {}

CFormView::CFormView(LPCTSTR lpszTemplateName) {
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    } else {
        m_lpszTemplateName = lpszTemplateName;
    }
}

CFormView::~CFormView() = default;

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext) {
    std::size_t size = 0;
    const void* tmpl = AfxFindDialogTemplate(m_lpszTemplateName, &size);
    if (!tmpl || !pParentWnd) {
        if (!pParentWnd) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        }
        return FALSE;
    }
    // The creation context reaches WM_CREATE, where the view joins its document.
    if (!AfxCreateDialogWindow(this, tmpl, size, pParentWnd->GetSafeHwnd(),
                               reinterpret_cast<LPARAM>(pContext))) {
        return FALSE;
    }
    // The template decides the style, except the border, which the frame asks for.
    ModifyStyle(WS_BORDER | WS_CAPTION, 0);
    if (dwStyle & WS_BORDER) {
        ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    }
    SetDlgCtrlID(static_cast<int>(nID));
    CRect templateRect;
    GetWindowRect(&templateRect);
    SetScrollSizes(MM_TEXT, templateRect.Size());
    if (!AfxExecuteDlgInit(m_hWnd, m_lpszTemplateName)) {
        return FALSE;
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBars();
    if (dwStyle & WS_VISIBLE) {
        ShowWindow(SW_SHOWNORMAL);
    }
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
    if (CScrollView::PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    // The frames first: IsDialogMessage would eat their accelerators.
    for (CFrameWnd* pFrame = GetParentFrame(); pFrame; pFrame = pFrame->GetParentFrame()) {
        if (pFrame->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
    }
    if (!::GetWindow(m_hWnd, GW_CHILD)) {
        return FALSE;
    }
    return PreTranslateInput(pMsg);
}

BOOL CFormView::PreTranslateInput(MSG* pMsg) {
    bool key = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    bool mouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if ((!key && !mouse) || !m_hWnd || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))) {
        return FALSE;
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

int CFormView::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const {
    return AfxGetCheckedRadioButton(m_hWnd, nIDFirstButton, nIDLastButton);
}
