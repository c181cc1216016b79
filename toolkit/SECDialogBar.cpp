#include "toolkit/SECDialogBar.h"

#include "platform/framework/CDialog.h"
#include "platform/framework/CFrameWnd.h"

IMPLEMENT_DYNAMIC(SECDialogBar, SECControlBar)

SECDialogBar::SECDialogBar() = default;

SECDialogBar::~SECDialogBar() {
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL SECDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, DWORD dwStyle, DWORD dwExStyle,
                          UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    m_dwExStyle = dwExStyle;
    if (IS_INTRESOURCE(lpszTemplateName)) {
        m_lpszTemplateName = lpszTemplateName;
    } else {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    }
    std::size_t size = 0;
    const void* tmpl = AfxFindDialogTemplate(m_lpszTemplateName, &size);
    if (!tmpl ||
        !AfxCreateDialogWindow(this, tmpl, size, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, 0)) {
        return FALSE;
    }
    SetDlgCtrlID(static_cast<int>(nID));
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    // A bar has no caption of its own: the floating frame's is the bar's.
    ModifyStyle(WS_CAPTION, WS_CLIPSIBLINGS, SWP_FRAMECHANGED);
    if (!AfxExecuteDlgInit(m_hWnd, m_lpszTemplateName)) {
        DestroyWindow();
        return FALSE;
    }
    if (m_dwExStyle & CBRS_EX_STRETCH_ON_SIZE) {
        RecordChildLayout();
    }
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     ((dwStyle & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    m_szHorzDock = m_szVertDock = m_szFloat = m_sizeDefault;
    return TRUE;
}

void SECDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
