#include "toolkit/SECCaptionMsgFilter.h"

#include "toolkit/SECCaptionControlMsgFilter.h"

#include "platform/framework/CFrameWnd.h"

IMPLEMENT_DYNCREATE(SECCaptionMsgFilter, SECNcMsgFilter)
IMPLEMENT_DYNCREATE(SECCaptionControlListMsgFilter, SECCaptionMsgFilter)

void SECCaptionMsgFilter::GetCaptionRect(CRect& rect) const {
    rect.SetRectEmpty();
    CFrameWnd* pFrame = GetFrameWnd();
    if (!pFrame || !pFrame->GetSafeHwnd()) {
        return;
    }
    const DWORD style = pFrame->GetStyle();
    CSize border(0, 0);
    if ((style & WS_THICKFRAME) && !pFrame->IsIconic()) {
        border = CSize(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    } else if (style & WS_DLGFRAME) {
        border = CSize(::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME));
    } else if (style & (WS_BORDER | WS_THICKFRAME)) {
        border = CSize(::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER));
    }
    CRect window;
    pFrame->GetWindowRect(&window);
    int height = 0;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        height = ((pFrame->GetExStyle() & WS_EX_TOOLWINDOW) ? ::GetSystemMetrics(SM_CYSMCAPTION)
                                                             : ::GetSystemMetrics(SM_CYCAPTION)) -
                 ::GetSystemMetrics(SM_CYBORDER);
    }
    rect = CRect(border.cx, border.cy, window.Width() - border.cx, border.cy + height);
}

void SECCaptionMsgFilter::GetButtonSizeFromMetrics(CSize& size, int nWidthMetric, int nHeightMetric) const {
    size = CSize(::GetSystemMetrics(nWidthMetric) - 2, ::GetSystemMetrics(nHeightMetric) - 4);
}

void SECCaptionMsgFilter::GetButtonSize(CSize& size) const {
    CFrameWnd* pFrame = GetFrameWnd();
    const bool tool = pFrame && (pFrame->GetExStyle() & WS_EX_TOOLWINDOW);
    GetButtonSizeFromMetrics(size, tool ? SM_CXSMSIZE : SM_CXSIZE, tool ? SM_CYSMSIZE : SM_CYSIZE);
}

void SECCaptionMsgFilter::GetFirstButtonPos(CPoint& pt, const CRect& caption, const CSize& button) const {
    pt = CPoint(caption.right - button.cx - 2, caption.top + 2);
}

// ---- The list of standard buttons

SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter() {
    MakeButtons();
}

SECCaptionControlListMsgFilter::SECCaptionControlListMsgFilter(CFrameWnd* pFrame, int nID)
    : SECCaptionMsgFilter(pFrame, nID) {
    MakeButtons();
}

void SECCaptionControlListMsgFilter::MakeButtons() {
    for (int id : {SEC_CAPTION_CLOSE, SEC_CAPTION_MAX, SEC_CAPTION_RESTORE, SEC_CAPTION_MIN, SEC_CAPTION_HELP}) {
        m_table.push_back(Descriptor{id, -1, RUNTIME_CLASS(SECCaptionControlMsgFilter), 0});
    }
    ApplyDescriptorTable(m_table, TRUE);
}

UINT SECCaptionControlListMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (m_bEnabled && GetFrameWnd()) {
        LayoutButtons();
    }
    return SECCaptionMsgFilter::ProcessMessage(message, wParam, lParam, pResult);
}

void SECCaptionControlListMsgFilter::LayoutButtons() {
    CFrameWnd* pFrame = GetFrameWnd();
    CRect caption;
    GetCaptionRect(caption);
    CSize size;
    GetButtonSize(size);
    CPoint pt;
    GetFirstButtonPos(pt, caption, size);
    for (SECMsgFilter* pChild : m_children) {
        auto* pButton = dynamic_cast<SECCaptionControlMsgFilter*>(pChild);
        if (!pButton) {
            continue;
        }
        BOOL bInactive = FALSE;
        if (!pButton->IsButtonApplicable(bInactive)) {
            pButton->m_rect.SetRectEmpty();
            continue;
        }
        pButton->m_rect = CRect(pt, size);
        pButton->m_nState = bInactive ? (pButton->m_nState | DFCS_INACTIVE) : (pButton->m_nState & ~DFCS_INACTIVE);
        pt.x -= size.cx;
        const int id = pButton->m_nID;
        if (id == SEC_CAPTION_CLOSE || id == SEC_CAPTION_MIN || (id == SEC_CAPTION_RESTORE && pFrame->IsIconic())) {
            pt.x -= 2;
        }
    }
}
