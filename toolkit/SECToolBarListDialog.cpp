#include "toolkit/SECToolBarListDialog.h"

#include "toolkit/SECToolBarManager.h"
#include "toolkit/ToolkitResourceIds.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CFrameWnd.h"

namespace {

// Floating windows follow the frame's active look (FS_ACTIVATE / FS_DEACTIVATE).
constexpr WPARAM FLOAT_ACTIVATE = 4;
constexpr WPARAM FLOAT_DEACTIVATE = 8;

} // namespace

SECToolBarListDialog::SECToolBarListDialog(SECToolBarManager* pManager, CWnd* pParent)
    : CDialog(IDD_SEC_TOOLBARS, pParent), m_pLogic(std::make_unique<SECToolBarListLogic>(this, pManager)),
      m_pManager(pManager) {}

SECToolBarListDialog::~SECToolBarListDialog() = default;

BOOL SECToolBarListDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_pLogic->Init();
    m_pManager->EnterCustomize();
    m_pManager->SetCustomizeValue(TRUE);
    m_pManager->AddNotifyWindow(this);
    m_pManager->SetCustomizeDialog(this);
    return TRUE;
}

void SECToolBarListDialog::Close(int nResult) {
    m_pManager->ExitCustomize();
    m_pManager->SetCustomizeValue(FALSE);
    m_pManager->RemoveNotifyWindow(this);
    m_pManager->SetCustomizeDialog(nullptr);
    if (nResult != IDCANCEL) {
        m_pLogic->ApplyLook();
    }
    EndDialog(nResult);
}

BOOL SECToolBarListDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const UINT nCode = HIWORD(wParam);
    SECToolBarListLogic& logic = *m_pLogic;
    if (logic.OnSharedCommand(nID, nCode, lParam)) {
        return TRUE;
    }
    if (nCode != BN_CLICKED || lParam == 0) {
        return CDialog::OnCommand(wParam, lParam);
    }
    if (nID == IDC_SEC_NEW) {
        if (logic.NewToolBar()) {
            Close(IDC_SEC_CUSTOMIZE);
        }
    } else if (nID == IDC_SEC_CUSTOMIZE) {
        Close(IDC_SEC_CUSTOMIZE);
    } else if (nID == IDC_SEC_COOLLOOK) {
        logic.OnCoolLook();
    } else if (nID == IDC_SEC_LARGEBUTTONS) {
        logic.OnLargeButtons();
    } else {
        return CDialog::OnCommand(wParam, lParam);
    }
    return TRUE;
}

void SECToolBarListDialog::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CDialog::OnActivate(nState, pWndOther, bMinimized);
    const WPARAM status = nState == WA_INACTIVE ? FLOAT_DEACTIVATE : FLOAT_ACTIVATE;
    for (SECCustomToolBar* pBar : m_pManager->ToolBars()) {
        if (pBar->IsFloating()) {
            if (CFrameWnd* pFloating = pBar->GetParentFrame()) {
                pFloating->SendMessage(WM_FLOATSTATUS, status);
            }
        }
    }
}

LRESULT SECToolBarListDialog::OnFloatStatus(WPARAM wParam, LPARAM) {
    if (wParam & (FLOAT_ACTIVATE | FLOAT_DEACTIVATE)) {
        SendMessage(WM_NCACTIVATE, (wParam & FLOAT_ACTIVATE) ? TRUE : FALSE);
    }
    return TRUE;
}

LRESULT SECToolBarListDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SECGetBarNotifyMessage()) {
        m_pLogic->OnBarNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

BEGIN_MESSAGE_MAP(SECToolBarListDialog, CDialog)
ON_WM_ACTIVATE()
ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()
