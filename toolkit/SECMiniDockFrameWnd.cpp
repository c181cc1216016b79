#include "toolkit/SECMiniDockFrameWnd.h"

#include "platform/framework/CMenu.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDockContext.h"

IMPLEMENT_DYNCREATE(SECMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(SECMiniDockFrameWnd, CMiniDockFrameWnd)
ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

SECMiniDockFrameWnd::SECMiniDockFrameWnd() : CMiniDockFrameWnd(new SECDockBar(TRUE, FALSE)) {}

BOOL SECMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
    if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle)) {
        return FALSE;
    }
    if (CMenu* menu = GetSystemMenu(FALSE)) {
        for (UINT command : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) {
            menu->DeleteMenu(command, MF_BYCOMMAND);
        }
        CString hide;
        if (!hide.LoadString(IDS_SEC_HIDE_FLOATING)) {
            hide = u"Hide";
        }
        menu->ModifyMenu(SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, hide);
    }
    return TRUE;
}

void SECMiniDockFrameWnd::RecalcLayout(BOOL bNotify) {
    // A sizing bar's frame can be resized from its borders, however it came to float.
    if (m_hWnd && !(GetStyle() & WS_THICKFRAME)) {
        for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
            auto* sec = dynamic_cast<SECControlBar*>(m_wndDockBar.GetDockedControlBar(i));
            if (sec && !(sec->m_dwExStyle & CBRS_EX_FIXEDSIZE)) {
                ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME, 0);
                break;
            }
        }
    }
    CMiniDockFrameWnd::RecalcLayout(bNotify);
    if (m_hWnd && m_wndDockBar.m_hWnd) {
        CString title;
        m_wndDockBar.GetWindowTextW(title);
        SetWindowTextW(title);
    }
}

void SECMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
    if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
        for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
            CControlBar* pBar = m_wndDockBar.GetDockedControlBar(i);
            if (auto* context = pBar ? dynamic_cast<SECDockContext*>(pBar->m_pDockContext) : nullptr) {
                SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
                if (CWnd* owner = GetOwner()) {
                    owner->GetTopLevelParent()->SetActiveWindow();
                }
                context->StartResize(static_cast<int>(nHitTest), point);
                return;
            }
        }
    }
    CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}
