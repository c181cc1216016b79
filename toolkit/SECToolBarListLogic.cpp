#include "toolkit/SECToolBarListLogic.h"

#include "toolkit/SECMenuBar.h"
#include "toolkit/SECNewToolBar.h"
#include "toolkit/SECToolBarManager.h"
#include "toolkit/ToolkitResourceIds.h"

#include "platform/framework/CFrameWnd.h"

#include <algorithm>

BOOL SECToolBarListLogic::IsUserToolBar(UINT nID) {
    return nID >= SEC_IDW_FIRST_USER_TOOLBAR && nID != SEC_IDW_MENUBAR;
}

void SECToolBarListLogic::Init() {
    m_list.SubclassDlgItem(IDC_SEC_TOOLBARLIST, m_pOwner);
    m_list.SetCheckStyle(BS_AUTOCHECKBOX);
    std::vector<SECCustomToolBar*> bars = m_pManager->ToolBars();
    std::sort(bars.begin(), bars.end(),
              [](SECCustomToolBar* a, SECCustomToolBar* b) { return a->GetDlgCtrlID() < b->GetDlgCtrlID(); });
    for (SECCustomToolBar* pBar : bars) {
        InsertBar(pBar);
    }
    m_bToolTips = m_pManager->IsToolTips();
    m_bCoolLook = m_pManager->IsCoolLook();
    m_bLargeButtons = m_pManager->IsLargeButtons();
    m_pOwner->CheckDlgButton(IDC_SEC_TOOLTIPS, m_bToolTips ? BST_CHECKED : BST_UNCHECKED);
    m_pOwner->CheckDlgButton(IDC_SEC_COOLLOOK, m_bCoolLook ? BST_CHECKED : BST_UNCHECKED);
    m_pOwner->CheckDlgButton(IDC_SEC_LARGEBUTTONS, m_bLargeButtons ? BST_CHECKED : BST_UNCHECKED);
    UpdateNameField();
}

void SECToolBarListLogic::InsertBar(SECCustomToolBar* pBar) {
    const UINT nID = static_cast<UINT>(pBar->GetDlgCtrlID());
    int nAt = m_list.GetCount();
    for (int i = 0; i < m_list.GetCount(); ++i) {
        if (static_cast<UINT>(m_list.GetItemData(i)) > nID) {
            nAt = i;
            break;
        }
    }
    CString title;
    pBar->GetWindowTextW(title);
    int nIndex = m_list.InsertString(nAt, title);
    m_list.SetItemData(nIndex, nID);
    m_list.SetCheck(nIndex, (pBar->GetStyle() & WS_VISIBLE) ? 1 : 0);
}

void SECToolBarListLogic::ReadBoxes() {
    m_bToolTips = m_pOwner->IsDlgButtonChecked(IDC_SEC_TOOLTIPS) == BST_CHECKED;
    m_bCoolLook = m_pOwner->IsDlgButtonChecked(IDC_SEC_COOLLOOK) == BST_CHECKED;
    m_bLargeButtons = m_pOwner->IsDlgButtonChecked(IDC_SEC_LARGEBUTTONS) == BST_CHECKED;
}

void SECToolBarListLogic::ApplyLook() {
    m_pManager->SetToolTips(m_bToolTips);
    m_pManager->SetCoolLook(m_bCoolLook, CBRS_EX_FLATSTYLE | CBRS_EX_GRIPPER);
    m_pManager->SetLargeButtons(m_bLargeButtons);
}

void SECToolBarListLogic::OnToolTips() {
    ReadBoxes();
    m_pManager->SetToolTips(m_bToolTips);
}

void SECToolBarListLogic::OnCoolLook() {
    ReadBoxes();
    m_pManager->SetCoolLook(m_bCoolLook, CBRS_EX_FLATSTYLE | CBRS_EX_GRIPPER);
}

void SECToolBarListLogic::OnLargeButtons() {
    ReadBoxes();
    m_pManager->SetLargeButtons(m_bLargeButtons);
}

int SECToolBarListLogic::FindItemById(UINT nID) const {
    for (int i = 0; i < m_list.GetCount(); ++i) {
        if (static_cast<UINT>(m_list.GetItemData(i)) == nID) {
            return i;
        }
    }
    return -1;
}

BOOL SECToolBarListLogic::GetSelectedBar(SECCustomToolBar*& pBar, UINT& nID) const {
    int nSel = m_list.GetCurSel();
    if (nSel < 0) {
        return FALSE;
    }
    nID = static_cast<UINT>(m_list.GetItemData(nSel));
    pBar = m_pManager->FindToolBar(nID);
    return pBar != nullptr;
}

void SECToolBarListLogic::UpdateNameField() {
    CWnd* pEdit = m_pOwner->GetDlgItem(IDC_SEC_TOOLBARNAME);
    if (!pEdit) {
        return;
    }
    pEdit->SetWindowTextW(u"");
    SECCustomToolBar* pBar = nullptr;
    UINT nID = 0;
    const bool bSelected = GetSelectedBar(pBar, nID) != FALSE;
    if (bSelected) {
        CString title;
        pBar->GetWindowTextW(title);
        pEdit->SetWindowTextW(title);
    }
    const bool bUser = bSelected && IsUserToolBar(nID);
    pEdit->EnableWindow(bUser);
    if (CWnd* pLabel = m_pOwner->GetDlgItem(IDC_SEC_NAMELABEL)) {
        pLabel->EnableWindow(bUser);
    }
    CString text;
    if (!text.LoadString(bUser ? IDS_SEC_DELETE : IDS_SEC_RESET)) {
        text = bUser ? u"&Delete" : u"&Reset";
    }
    m_pOwner->SetDlgItemTextW(IDC_SEC_RESET, text);
    pEdit->SendMessage(EM_SETMODIFY, FALSE);
}

void SECToolBarListLogic::OnBarNotify(UINT nID, UINT nCode) {
    const int nItem = FindItemById(nID);
    switch (nCode) {
    case SECToolBarManager::BarShown:
    case SECToolBarManager::BarHidden:
        if (nItem >= 0) {
            m_list.SetCheck(nItem, nCode == SECToolBarManager::BarShown ? 1 : 0);
        }
        break;
    case SECToolBarManager::BarCreated:
        if (SECCustomToolBar* pBar = m_pManager->FindToolBar(nID); pBar && nItem < 0) {
            InsertBar(pBar);
        }
        break;
    case SECToolBarManager::BarDestroyed:
        if (nItem >= 0) {
            const bool bSelected = m_list.GetCurSel() == nItem;
            m_list.DeleteString(static_cast<UINT>(nItem));
            if (bSelected) {
                m_list.SetCurSel(std::min(nItem, m_list.GetCount() - 1));
                UpdateNameField();
            }
        }
        break;
    default:
        break;
    }
}

void SECToolBarListLogic::Rename() {
    CWnd* pEdit = m_pOwner->GetDlgItem(IDC_SEC_TOOLBARNAME);
    SECCustomToolBar* pBar = nullptr;
    UINT nID = 0;
    if (!pEdit || !pEdit->IsWindowEnabled() || !pEdit->SendMessage(EM_GETMODIFY) || !GetSelectedBar(pBar, nID)) {
        return;
    }
    CString name = SECLimitEditText(*pEdit, SEC_TOOLBAR_NAME_MAX);
    pBar->SetWindowTextW(name);
    if (pBar->IsFloating()) {
        if (CWnd* pParent = pBar->GetParent()) {
            pParent->SetWindowTextW(name);
        }
        if (CFrameWnd* pFloating = pBar->GetParentFrame()) {
            pFloating->SetWindowTextW(name);
        }
    }
    pEdit->SendMessage(EM_SETMODIFY, FALSE);
    const int nSel = m_list.GetCurSel();
    const int nCheck = m_list.GetCheck(nSel);
    m_list.DeleteString(static_cast<UINT>(nSel));
    m_list.InsertString(nSel, name);
    m_list.SetItemData(nSel, nID);
    m_list.SetCheck(nSel, nCheck);
    m_list.SetCurSel(nSel);
}

void SECToolBarListLogic::ResetOrDelete() {
    SECCustomToolBar* pBar = nullptr;
    UINT nID = 0;
    if (!GetSelectedBar(pBar, nID)) {
        return;
    }
    if (nID == SEC_IDW_MENUBAR) {
        if (auto* pMenuBar = dynamic_cast<SECMenuBar*>(pBar); pMenuBar && pMenuBar->GetMenu()) {
            pMenuBar->SetMenu(pMenuBar->GetMenu());
        }
        return;
    }
    if (IsUserToolBar(nID)) {
        pBar->DestroyWindow();
        return;
    }
    const UINT* pButtons = nullptr;
    int nCount = 0;
    if (!m_pManager->FindDefaultButtons(nID, pButtons, nCount)) {
        return;
    }
    pBar->SetButtons(pButtons, nCount);
    if (CFrameWnd* pFrame = m_pManager->GetFrameWnd()) {
        pFrame->RecalcLayout();
    }
    pBar->Invalidate(FALSE);
}

void SECToolBarListLogic::ToggleVisible(int nIndex) {
    if (nIndex < 0 || nIndex >= m_list.GetCount()) {
        return;
    }
    SECCustomToolBar* pBar = m_pManager->FindToolBar(static_cast<UINT>(m_list.GetItemData(nIndex)));
    CFrameWnd* pFrame = m_pManager->GetFrameWnd();
    if (!pBar || !pFrame) {
        return;
    }
    const BOOL bShow = m_list.GetCheck(nIndex) != 0;
    if (dynamic_cast<SECMenuBar*>(pBar)) {
        // The menu bar cannot be hidden.
        if (!bShow) {
            m_list.SetCheck(nIndex, 1);
        }
        return;
    }
    pFrame->ShowControlBar(pBar, bShow, FALSE);
    pFrame->RecalcLayout();
}

INT_PTR SECToolBarListLogic::AskName(CString& strName) {
    SECNewToolBar dlg(m_pOwner);
    INT_PTR result = dlg.DoModal();
    strName = dlg.m_strName;
    return result;
}

BOOL SECToolBarListLogic::NewToolBar() {
    m_pManager->ExitCustomize();
    CString name;
    INT_PTR result = AskName(name);
    m_pManager->EnterCustomize();
    if (result != IDOK) {
        return FALSE;
    }
    SECCustomToolBar* pBar = m_pManager->CreateUserToolBar(name.Left(SEC_TOOLBAR_NAME_MAX).GetString());
    CFrameWnd* pFrame = m_pManager->GetFrameWnd();
    if (!pBar || !pFrame) {
        return FALSE;
    }
    CRect rect;
    if (CWnd* pTop = pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP)) {
        pTop->GetWindowRect(&rect);
    } else {
        pFrame->GetClientRect(&rect);
        pFrame->ClientToScreen(&rect);
    }
    pFrame->FloatControlBar(pBar, rect.TopLeft() + CPoint(5, 5), CBRS_ALIGN_TOP);
    return TRUE;
}

BOOL SECToolBarListLogic::OnSharedCommand(UINT nID, UINT nCode, LPARAM lParam) {
    if (nID == IDC_SEC_TOOLBARLIST && nCode == LBN_SELCHANGE) {
        UpdateNameField();
    } else if (nID == IDC_SEC_TOOLBARLIST && nCode == CLBN_CHKCHANGE) {
        ToggleVisible(m_list.GetCurSel());
    } else if (nID == IDC_SEC_TOOLBARNAME && nCode == EN_KILLFOCUS) {
        Rename();
    } else if (nCode != BN_CLICKED || lParam == 0) {
        return FALSE;
    } else if (nID == IDC_SEC_RESET) {
        ResetOrDelete();
    } else if (nID == IDC_SEC_TOOLTIPS) {
        OnToolTips();
    } else {
        return FALSE;
    }
    return TRUE;
}
