#include "toolkit/SECCapConLstMDIMaxChildMsgFilter.h"

#include "toolkit/SECCaptionControlMsgFilter.h"

#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"

IMPLEMENT_DYNCREATE(SECCapConLstMDIMaxChildMsgFilter, SECCaptionControlListMsgFilter)

CMDIChildWnd* SECGetMaximizedMDIChild(CWnd* pFrame) {
    auto* pMDIFrame = dynamic_cast<CMDIFrameWnd*>(pFrame);
    if (!pMDIFrame || !pMDIFrame->m_hWndMDIClient) {
        return nullptr;
    }
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = pMDIFrame->MDIGetActive(&bMaximized);
    return bMaximized ? pChild : nullptr;
}

void SECCapConLstMDIMaxChildMsgFilter::GetButtonSize(CSize& size) const {
    GetButtonSizeFromMetrics(size, SM_CXMENUSIZE, SM_CYMENUSIZE);
}

void SECCapConLstMDIMaxChildMsgFilter::GetFirstButtonPos(CPoint& pt, const CRect& caption,
                                                         const CSize& button) const {
    SECCaptionControlListMsgFilter::GetFirstButtonPos(pt, caption, button);
    pt.y += ::GetSystemMetrics(SM_CYCAPTION);
}

void SECCapConLstMDIMaxChildMsgFilter::LayoutButtons() {
    // Without a menu row the place below the caption is the client's: the buttons would cover its bars.
    CFrameWnd* pFrame = GetFrameWnd();
    CMDIChildWnd* pChild = pFrame && ::GetMenu(pFrame->m_hWnd) ? SECGetMaximizedMDIChild(pFrame) : nullptr;
    for (SECMsgFilter* pFilter : m_children) {
        if (auto* pButton = dynamic_cast<SECCaptionControlMsgFilter*>(pFilter)) {
            pButton->m_pStateWnd = pChild;
            pButton->m_nHitCode = HTMENU;
            if (!pChild) {
                pButton->m_rect.SetRectEmpty();
            }
        }
    }
    if (pChild) {
        SECCaptionControlListMsgFilter::LayoutButtons();
    }
}
