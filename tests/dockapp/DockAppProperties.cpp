#include "DockAppProperties.h"

#include "DockAppIds.h"

#include "toolkit/SECMDIFrameWnd.h"

namespace dockapp {

IMPLEMENT_DYNCREATE(PropertiesView, CView)

BEGIN_MESSAGE_MAP(PropertiesView, CView)
ON_COMMAND(ID_DOCK_REFRESH, OnRefresh)
END_MESSAGE_MAP()

void PropertiesView::OnDraw(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, RGB(250, 248, 236));
    pDC->SetBkMode(TRANSPARENT);
    rect.DeflateRect(8, 8);
    CString text;
    text.Format(u"Properties (refreshed %d times)", m_nRefreshes);
    pDC->DrawText(text, &rect, DT_LEFT | DT_TOP | DT_WORDBREAK);
}

void PropertiesView::OnRefresh() {
    ++m_nRefreshes;
    Invalidate();
}

SECDockableFrame* CreatePropertiesFrame(CFrameWnd* pSite) {
    auto* frame = new SECDockableFrame;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(PropertiesView);
    if (!frame->CreateInBar(pSite, ID_DOCK_PROPERTIES, ID_BAR_PROPERTIES, &context, CBRS_EX_COOLBORDERS)) {
        delete frame;
        return nullptr;
    }
    frame->InitialUpdateFrame(nullptr, TRUE);
    return frame;
}

void DockPropertiesFrame(CFrameWnd* pSite, SECDockableFrame* pFrame) {
    auto* mdi = dynamic_cast<SECMDIFrameWnd*>(pSite);
    CControlBar* bar = pFrame ? pFrame->GetHostBar() : nullptr;
    if (mdi && bar) {
        mdi->DockControlBarAtRowColEx(bar, AFX_IDW_DOCKBAR_RIGHT, 0, 0, 1.0f, 180);
    }
}

PropertiesView* PropertiesViewOf(SECDockableFrame* pFrame) {
    return pFrame ? dynamic_cast<PropertiesView*>(pFrame->GetActiveView()) : nullptr;
}

} // namespace dockapp
