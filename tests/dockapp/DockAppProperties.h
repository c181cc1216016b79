// The properties pane of the multiple-document docking application: a dockable frame with a view of its
// own, docked on the right beside the documents. The Refresh command (F5 while it has the focus) reaches its
// view while it is the frame's active dockable frame.
#pragma once

#include "platform/framework/CView.h"
#include "toolkit/SECDockableFrame.h"

namespace dockapp {

constexpr UINT ID_BAR_PROPERTIES = 0xE833;

class PropertiesView : public CView {
    DECLARE_DYNCREATE(PropertiesView)

public:
    void OnDraw(CDC* pDC) override;

    int m_nRefreshes = 0;

protected:
    void OnRefresh();
    DECLARE_MESSAGE_MAP()
};

// The pane in a new frame bar on `pSite`; null when it cannot be made. The frame and its bar delete
// themselves with their windows.
SECDockableFrame* CreatePropertiesFrame(CFrameWnd* pSite);
// Docks the pane's bar on the right, 180 wide.
void DockPropertiesFrame(CFrameWnd* pSite, SECDockableFrame* pFrame);
PropertiesView* PropertiesViewOf(SECDockableFrame* pFrame);

} // namespace dockapp
