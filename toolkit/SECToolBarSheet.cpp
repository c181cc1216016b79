#include "toolkit/SECToolBarSheet.h"

#include "toolkit/SECToolBarManager.h"

#include "platform/framework/CFrameWnd.h"

IMPLEMENT_DYNAMIC(SECToolBarSheet, CPropertySheet)

SECToolBarSheet::SECToolBarSheet(SECToolBarManager* pManager, CWnd* pParentWnd)
    : CPropertySheet(u"Customize", pParentWnd ? pParentWnd : pManager->GetFrameWnd()), m_toolBarsPage(pManager),
      m_commandsPage(pManager) {
    AddPage(&m_toolBarsPage);
    AddPage(&m_commandsPage);
}

BOOL SECToolBarSheet::Open() {
    if (IsOpen()) {
        ShowWindow(SW_SHOW);
        SetActiveWindow();
        return TRUE;
    }
    return Create(m_pParentWnd);
}
