#include "toolkit/SECToolBarListPage.h"

#include "toolkit/SECToolBarManager.h"
#include "toolkit/ToolkitResourceIds.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(SECToolBarListPage, CPropertyPage)

UINT SECGetToolBarStyleChangingMessage() {
    static const UINT message = ::RegisterWindowMessageW(u"WM_TOOLBARSTYLECHANGING");
    return message;
}

void SECBeginCustomizePage(SECToolBarManager* pManager, CPropertyPage* pPage) {
    pManager->EnterCustomize();
    pManager->SetCustomizeValue(TRUE);
    pManager->AddNotifyWindow(pPage);
    pManager->SetCustomizeDialog(pPage->GetParent());
}

void SECEndCustomizePage(SECToolBarManager* pManager, CPropertyPage* pPage) {
    pManager->RemoveNotifyWindow(pPage);
    // Customise mode ends with the sheet's last page.
    HWND sheet = ::GetParent(pPage->m_hWnd);
    bool pagesLeft = std::any_of(pManager->m_notifyWnds.begin(), pManager->m_notifyWnds.end(),
                                 [sheet](HWND h) { return ::GetParent(h) == sheet; });
    if (!pagesLeft) {
        pManager->ExitCustomize();
        pManager->SetCustomizeValue(FALSE);
        pManager->SetCustomizeDialog(nullptr);
    }
}

SECToolBarListPage::SECToolBarListPage(SECToolBarManager* pManager)
    : CPropertyPage(IDD_SEC_TOOLBARS_PAGE), m_pLogic(std::make_unique<SECToolBarListLogic>(this, pManager)),
      m_pManager(pManager) {}

SECToolBarListPage::~SECToolBarListPage() = default;

BOOL SECToolBarListPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_pLogic->Init();
    SECBeginCustomizePage(m_pManager, this);
    return TRUE;
}

BOOL SECToolBarListPage::OnApply() {
    m_pLogic->ApplyLook();
    return CPropertyPage::OnApply();
}

void SECToolBarListPage::NotifySiblings(WPARAM what) {
    CWnd* pSheet = GetParent();
    if (!pSheet) {
        return;
    }
    for (HWND h = ::GetWindow(pSheet->m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h != m_hWnd && dynamic_cast<CPropertyPage*>(CWnd::FromHandlePermanent(h))) {
            ::SendMessageW(h, SECGetToolBarStyleChangingMessage(), what, 0);
        }
    }
}

BOOL SECToolBarListPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const UINT nCode = HIWORD(wParam);
    SECToolBarListLogic& logic = *m_pLogic;
    if (logic.OnSharedCommand(nID, nCode, lParam)) {
        return TRUE;
    }
    if (nCode != BN_CLICKED || lParam == 0) {
        return CPropertyPage::OnCommand(wParam, lParam);
    }
    if (nID == IDC_SEC_NEW) {
        logic.NewToolBar(); // the sheet stays open
    } else if (nID == IDC_SEC_COOLLOOK) {
        logic.OnCoolLook();
        NotifySiblings(SEC_STYLE_COOLLOOK);
    } else if (nID == IDC_SEC_LARGEBUTTONS) {
        logic.OnLargeButtons();
        NotifySiblings(SEC_STYLE_LARGEBUTTONS);
    } else {
        return CPropertyPage::OnCommand(wParam, lParam);
    }
    return TRUE;
}

LRESULT SECToolBarListPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SECGetBarNotifyMessage()) {
        m_pLogic->OnBarNotify(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
        return 0;
    }
    if (message == WM_DESTROY) {
        SECEndCustomizePage(m_pManager, this);
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}
