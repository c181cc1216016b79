// The customisation sheet: the toolbar list and the "Commands" page in a modeless property sheet, so that
// buttons can be dragged onto and off the toolbars while it is up. Its pages keep the manager in customise
// mode for as long as they exist; closing the sheet ends it.
#pragma once

#include "toolkit/SECToolBarCmdPage.h"
#include "toolkit/SECToolBarListPage.h"

#include "platform/framework/CPropertySheet.h"

class SECToolBarSheet : public CPropertySheet {
    DECLARE_DYNAMIC(SECToolBarSheet)

public:
    // Over the manager's frame unless another parent is given.
    explicit SECToolBarSheet(SECToolBarManager* pManager, CWnd* pParentWnd = nullptr);

    // Opens the sheet, or brings it to the front when it is up; FALSE when it cannot be made.
    BOOL Open();
    BOOL IsOpen() const { return m_hWnd != nullptr; }

    SECToolBarListPage m_toolBarsPage;
    SECToolBarCmdPage m_commandsPage;
};
