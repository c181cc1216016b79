#include "toolkit/SECToolBarManager.h"

#include "toolkit/SECBmpMgr.h"
#include "toolkit/SECBtnDrawContext.h"
#include "toolkit/SECControlBarInfo.h"
#include "toolkit/SECCustomToolBarInfoEx.h"
#include "toolkit/SECMenuBar.h"
#include "toolkit/ToolkitResourceIds.h"

#include "platform/framework/CDockBar.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(SECToolBarManager, SECControlBarManager)

UINT SECGetBarNotifyMessage() {
    static const UINT message = ::RegisterWindowMessageW(u"WM_BARNOTIFY");
    return message;
}

SECToolBarManager::SECToolBarManager(CFrameWnd* pFrameWnd) : SECControlBarManager(pFrameWnd) {
    m_pBmpMgr = new SECBmpMgr;
    m_pToolBarClass = RUNTIME_CLASS(SECCustomToolBar);
    SECGetBarNotifyMessage();
}

SECToolBarManager::~SECToolBarManager() {
    // Bars outliving the manager must not call back into it.
    for (SECCustomToolBar* pBar : ToolBars()) {
        pBar->SetManager(nullptr);
    }
    m_pBmpMgr->Release();
}

BOOL SECToolBarManager::AddBitmap(LPCTSTR lpszNormal, LPCTSTR lpszLarge, const UINT* pIDs, int nCount,
                                  BOOL bSysColor) {
    return m_pBmpMgr->AddBitmap(lpszNormal, lpszLarge, pIDs, nCount, bSysColor);
}

SECBtnDrawContext* SECToolBarManager::GetDrawContext() {
    if (!m_pDrawCtx) {
        m_pDrawCtx = std::make_unique<SECBtnDrawContext>();
    }
    return m_pDrawCtx.get();
}

// ---- Default layouts

void SECToolBarManager::DefineDefaultToolBar(UINT nID, LPCTSTR lpszTitle, const UINT* pButtons, int nCount) {
    SECDefaultToolBar entry;
    entry.nID = nID;
    entry.strTitle = lpszTitle ? lpszTitle : u"";
    entry.buttons.assign(pButtons, pButtons + std::max(nCount, 0));
    auto it = std::find_if(m_defaults.begin(), m_defaults.end(), [nID](const auto& e) { return e.nID == nID; });
    if (it != m_defaults.end()) {
        *it = std::move(entry);
    } else {
        m_defaults.push_back(std::move(entry));
    }
}

BOOL SECToolBarManager::FindDefaultButtons(UINT nID, const UINT*& pButtons, int& nCount) const {
    for (const SECDefaultToolBar& e : m_defaults) {
        if (e.nID == nID) {
            pButtons = e.buttons.data();
            nCount = static_cast<int>(e.buttons.size());
            return TRUE;
        }
    }
    return FALSE;
}

SECCustomToolBar* SECToolBarManager::CreateToolBar(UINT nID, LPCTSTR lpszTitle, DWORD dwStyle) {
    if (!m_pFrameWnd) {
        return nullptr;
    }
    auto* pBar = static_cast<SECCustomToolBar*>(m_pToolBarClass->CreateObject());
    if (!pBar) {
        return nullptr;
    }
    if (m_pOwner) {
        pBar->SetOwner(m_pOwner);
    }
    pBar->SetManager(this);
    pBar->SetBmpMgr(m_pBmpMgr);
    if (m_bFlyBy) {
        dwStyle |= CBRS_FLYBY;
    }
    if (m_bToolTips) {
        dwStyle |= CBRS_TOOLTIPS;
    }
    DWORD dwExStyle = m_bCoolLook ? (CBRS_EX_FLATSTYLE | CBRS_EX_GRIPPER) : 0;
    if (!pBar->CreateToolBarEx(dwExStyle, m_pFrameWnd, dwStyle, nID, lpszTitle)) {
        delete pBar;
        return nullptr;
    }
    ApplyButtonSize(pBar);
    pBar->SetCustomizeValue(m_bCustomizeValue);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    pBar->m_bAutoDelete = TRUE;
    return pBar;
}

void SECToolBarManager::CreateDefaultToolBars(DWORD dwAlign) {
    for (const SECDefaultToolBar& e : m_defaults) {
        if (FindToolBar(e.nID)) {
            continue;
        }
        SECCustomToolBar* pBar = CreateToolBar(e.nID, e.strTitle.GetString(),
                                               WS_CHILD | WS_VISIBLE | dwAlign | CBRS_BORDER_BOTTOM |
                                                   CBRS_SIZE_DYNAMIC);
        if (!pBar) {
            continue;
        }
        pBar->SetButtons(e.buttons.data(), static_cast<int>(e.buttons.size()));
        // Without dock bars on the frame the bar stays where the frame's layout puts it.
        m_pFrameWnd->DockControlBar(pBar);
    }
    m_pFrameWnd->RecalcLayout();
}

SECCustomToolBar* SECToolBarManager::CreateUserToolBar(LPCTSTR lpszTitle) {
    UINT nID = SEC_IDW_FIRST_USER_TOOLBAR;
    while (nID < SEC_IDW_USER_TOOLBAR_END && FindToolBar(nID)) {
        ++nID;
    }
    if (nID >= SEC_IDW_USER_TOOLBAR_END) {
        return nullptr;
    }
    CString title;
    if (lpszTitle) {
        title = lpszTitle;
    } else {
        CString format;
        if (!format.LoadString(IDS_SEC_TOOLBAR_NAME)) {
            format = u"ToolBar%d";
        }
        title.Format(format.GetString(), static_cast<int>(nID - SEC_IDW_LAST_STD_TOOLBAR));
    }
    return CreateToolBar(nID, title.GetString(),
                         WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC);
}

namespace {

CString ListSection(LPCTSTR lpszProfile) {
    return CString(lpszProfile) + u"-ToolBars";
}

CString BarSection(LPCTSTR lpszProfile, UINT nID) {
    CString section;
    section.Format(u"%s-ToolBar%u", lpszProfile, nID);
    return section;
}

} // namespace

void SECToolBarManager::SaveToolBars(LPCTSTR lpszProfile) const {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return;
    }
    // A menu bar's buttons are its menu's, made again from the menu; saved ones would replace them.
    std::vector<SECCustomToolBar*> bars = ToolBars();
    std::erase_if(bars, [](SECCustomToolBar* pBar) { return dynamic_cast<SECMenuBar*>(pBar) != nullptr; });
    pApp->WriteProfileInt(ListSection(lpszProfile), u"Count", static_cast<int>(bars.size()));
    for (size_t i = 0; i < bars.size(); ++i) {
        const UINT nID = static_cast<UINT>(bars[i]->GetDlgCtrlID());
        CString key;
        key.Format(u"Bar%d", static_cast<int>(i));
        pApp->WriteProfileInt(ListSection(lpszProfile), key, static_cast<int>(nID));
        bars[i]->GetBarInfoEx()->SaveState(BarSection(lpszProfile, nID));
    }
}

void SECToolBarManager::LoadToolBars(LPCTSTR lpszProfile) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return;
    }
    const int count = static_cast<int>(pApp->GetProfileInt(ListSection(lpszProfile), u"Count", 0));
    for (int i = 0; i < count && i < static_cast<int>(SEC_IDW_USER_TOOLBAR_END); ++i) {
        CString key;
        key.Format(u"Bar%d", i);
        const UINT nID = pApp->GetProfileInt(ListSection(lpszProfile), key, 0);
        SECCustomToolBarInfoEx info;
        if (!nID || !info.LoadState(BarSection(lpszProfile, nID))) {
            continue;
        }
        SECCustomToolBar* pBar = FindToolBar(nID);
        if (!pBar && nID >= SEC_IDW_FIRST_USER_TOOLBAR && nID < SEC_IDW_USER_TOOLBAR_END) {
            pBar = CreateToolBar(nID, info.m_strTitle.GetString(),
                                 WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC);
            if (pBar && m_pFrameWnd) {
                m_pFrameWnd->DockControlBar(pBar);
            }
        }
        if (pBar && !dynamic_cast<SECMenuBar*>(pBar)) {
            pBar->SetBarInfoEx(info);
        }
    }
    if (m_pFrameWnd) {
        m_pFrameWnd->RecalcLayout();
    }
}

UINT SECToolBarManager::GetBarTypeID(CControlBar* pBar) const {
    const bool toolBar = dynamic_cast<SECCustomToolBar*>(pBar) && !dynamic_cast<SECMenuBar*>(pBar);
    return toolBar ? kToolBarTypeID : 0;
}

SECControlBarInfoEx* SECToolBarManager::CreateBarInfoEx(SECControlBarInfo* pInfo) {
    return pInfo && pInfo->m_nTypeID == kToolBarTypeID ? new SECCustomToolBarInfoEx : nullptr;
}

CControlBar* SECToolBarManager::CreateMissingBar(SECControlBarInfo* pInfo) {
    auto* pEx = pInfo ? dynamic_cast<SECCustomToolBarInfoEx*>(pInfo->m_pBarInfoEx) : nullptr;
    if (!pEx || pInfo->m_nBarID == 0) {
        return nullptr;
    }
    const CString& title = pEx->m_strTitle.IsEmpty() ? pInfo->m_strWindowName : pEx->m_strTitle;
    // Where it floats or docks is the layout's to say.
    const DWORD dwStyle =
        WS_CHILD | WS_VISIBLE | (pInfo->m_dwStyle & CBRS_ALL & ~static_cast<DWORD>(CBRS_FLOATING));
    return CreateToolBar(pInfo->m_nBarID, title.GetString(), dwStyle);
}

std::vector<SECCustomToolBar*> SECToolBarManager::ToolBars() const {
    std::vector<SECCustomToolBar*> bars;
    if (!m_pFrameWnd) {
        return bars;
    }
    for (POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(m_pFrameWnd->m_listControlBars.GetNext(pos));
        if (auto* pTool = dynamic_cast<SECCustomToolBar*>(pBar); pTool && pTool->GetSafeHwnd()) {
            bars.push_back(pTool);
        }
    }
    return bars;
}

SECCustomToolBar* SECToolBarManager::FindToolBar(UINT nID) const {
    for (SECCustomToolBar* pBar : ToolBars()) {
        if (static_cast<UINT>(pBar->GetDlgCtrlID()) == nID) {
            return pBar;
        }
    }
    return nullptr;
}

// ---- Look

void SECToolBarManager::SetToolTips(BOOL bOn) {
    if (bOn == m_bToolTips) {
        return;
    }
    m_bToolTips = bOn;
    for (SECCustomToolBar* pBar : ToolBars()) {
        DWORD dwStyle = pBar->GetBarStyle();
        pBar->SetBarStyle(bOn ? (dwStyle | CBRS_TOOLTIPS) : (dwStyle & ~static_cast<DWORD>(CBRS_TOOLTIPS)));
    }
}

void SECToolBarManager::SetCoolLook(BOOL bOn, DWORD dwBits) {
    if (bOn == m_bCoolLook) {
        return;
    }
    m_bCoolLook = bOn;
    for (SECCustomToolBar* pBar : ToolBars()) {
        pBar->ModifyExStyle(bOn ? 0 : dwBits, bOn ? dwBits : 0, FALSE);
        pBar->RecalcButtonSizes();
        if (dwBits & CBRS_EX_FLATSTYLE) {
            pBar->Invalidate(FALSE);
        }
    }
    if (m_pFrameWnd) {
        m_pFrameWnd->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
    }
}

void SECToolBarManager::SetLargeButtons(BOOL bOn) {
    if (bOn == m_bLargeButtons) {
        return;
    }
    m_bLargeButtons = bOn;
    m_pBmpMgr->SetNormalMode(!bOn);
    for (SECCustomToolBar* pBar : ToolBars()) {
        ApplyButtonSize(pBar);
        pBar->Invalidate(FALSE);
    }
    if (m_pFrameWnd) {
        m_pFrameWnd->RecalcLayout();
    }
}

void SECToolBarManager::ApplyButtonSize(SECCustomToolBar* pBar) {
    pBar->RecalcButtonSizes(m_pBmpMgr->GetImageWidth(), m_pBmpMgr->GetImageHeight());
}

// ---- Customise mode

void SECToolBarManager::SetCustomizeValue(BOOL bValue) {
    if (bValue == m_bCustomizeValue) {
        return;
    }
    m_bCustomizeValue = bValue;
    for (SECCustomToolBar* pBar : ToolBars()) {
        pBar->SetCustomizeValue(bValue);
    }
}

void SECToolBarManager::EnterCustomize() {
    if (m_bCustomizing) {
        return;
    }
    m_bCustomizing = TRUE;
    if (!m_pFrameWnd) {
        return;
    }
    m_bFrameWasDisabled = !m_pFrameWnd->IsWindowEnabled();
    m_pFrameWnd->EnableWindow(TRUE);
    m_disabledWnds.clear();
    for (HWND h = ::GetWindow(m_pFrameWnd->m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(h);
        auto* pBar = dynamic_cast<CControlBar*>(pWnd);
        if ((pBar && pBar->IsDockBar()) || !::IsWindowEnabled(h)) {
            continue;
        }
        ::EnableWindow(h, FALSE);
        m_disabledWnds.push_back(h);
    }
}

void SECToolBarManager::ExitCustomize() {
    if (!m_bCustomizing) {
        return;
    }
    m_bCustomizing = FALSE;
    // Disabled again only when it was: after a modeless dialog the frame would otherwise stay dead.
    if (m_pFrameWnd && m_bFrameWasDisabled) {
        m_pFrameWnd->EnableWindow(FALSE);
    }
    for (HWND h : m_disabledWnds) {
        if (::IsWindow(h)) {
            ::EnableWindow(h, TRUE);
        }
    }
    m_disabledWnds.clear();
}

// ---- Notifications

void SECToolBarManager::AddNotifyWindow(CWnd* pWnd) {
    if (pWnd && std::find(m_notifyWnds.begin(), m_notifyWnds.end(), pWnd->m_hWnd) == m_notifyWnds.end()) {
        m_notifyWnds.push_back(pWnd->m_hWnd);
    }
}

void SECToolBarManager::RemoveNotifyWindow(CWnd* pWnd) {
    if (pWnd) {
        std::erase(m_notifyWnds, pWnd->m_hWnd);
    }
}

void SECToolBarManager::Notify(UINT nBarID, UINT nCode) {
    // A receiver may unregister itself while it is told.
    std::vector<HWND> wnds = m_notifyWnds;
    for (HWND h : wnds) {
        if (::IsWindow(h)) {
            ::SendMessageW(h, SECGetBarNotifyMessage(), nBarID, nCode);
        }
    }
}

void SECToolBarManager::GetCustomizeDialogRect(CRect& rect) const {
    rect.SetRectEmpty();
    if (m_pCustomizeDlg && m_pCustomizeDlg->GetSafeHwnd()) {
        m_pCustomizeDlg->GetWindowRect(&rect);
    }
}

void SECToolBarManager::BroadcastToButtons(UINT nID, UINT nCode, const UINT* pData) {
    for (SECCustomToolBar* pBar : ToolBars()) {
        for (SECStdBtn* pBtn : pBar->m_btns) {
            if (pBtn->m_nID == nID) {
                pBtn->OnBroadcast(nCode, pData);
            }
        }
    }
}
