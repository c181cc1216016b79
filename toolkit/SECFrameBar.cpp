#include "toolkit/SECFrameBar.h"

#include "platform/framework/CFrameWnd.h"
#include "toolkit/SECMDIFrameWnd.h"

IMPLEMENT_DYNCREATE(SECFrameBar, SECControlBar)

BEGIN_MESSAGE_MAP(SECFrameBar, SECControlBar)
ON_WM_MOUSEACTIVATE()
ON_WM_PARENTNOTIFY()
ON_WM_SIZE()
ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

SECFrameBar::SECFrameBar() = default;

SECFrameBar::~SECFrameBar() = default;

BOOL SECFrameBar::PreTranslateMessage(MSG* pMsg) {
    return CWnd::PreTranslateMessage(pMsg);
}

void SECFrameBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

CFrameWnd* SECFrameBar::GetContentFrame() const {
    if (!m_hWnd) {
        return nullptr;
    }
    return dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(::GetWindow(m_hWnd, GW_CHILD)));
}

int SECFrameBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message) {
    if (!IsFloating()) {
        return CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    }
    // A floating frame is a window of its own: a click brings it forward.
    if (CWnd* top = GetTopLevelParent()) {
        top->SetActiveWindow();
    }
    return MA_ACTIVATE;
}

void SECFrameBar::OnParentNotify(UINT message, LPARAM lParam) {
    CWnd::OnParentNotify(message, lParam);
}

void SECFrameBar::SyncContentForm() {
    auto* mdi = dynamic_cast<SECMDIFrameWnd*>(m_pDockSite);
    CFrameWnd* content = GetContentFrame();
    if (mdi && content) {
        mdi->SyncDockableFrameForm(content);
    }
}

void SECFrameBar::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
    SECControlBar::OnWindowPosChanged(lpwndpos);
    // Docking and floating move the bar even where its size stays.
    SyncContentForm();
}

void SECFrameBar::OnSize(UINT nType, int cx, int cy) {
    SECControlBar::OnSize(nType, cx, cy);
    SyncContentForm();
}
