#include "platform/framework/CCommonDialog.h"

#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

CCommonDialog::CCommonDialog(CWnd* pParentWnd) : CDialog(static_cast<UINT>(0), pParentWnd) {}

void CCommonDialog::OnOK() {
    Default();
}

void CCommonDialog::OnCancel() {
    Default();
}

HWND CCommonDialog::OwnerWindow() const {
    HWND parent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!parent) {
        CWnd* main = AfxGetMainWnd();
        parent = main ? main->GetSafeHwnd() : nullptr;
    }
    return parent ? ::GetAncestor(parent, GA_ROOT) : nullptr;
}
