#include "toolkit/SECNewToolBar.h"

#include "toolkit/ToolkitResourceIds.h"

CString SECLimitEditText(CWnd& edit, int nMax) {
    CString text;
    edit.GetWindowTextW(text);
    if (text.GetLength() > nMax) {
        text = text.Left(nMax);
        edit.SetWindowTextW(text);
    }
    return text;
}

SECNewToolBar::SECNewToolBar(CWnd* pParent) : CDialog(IDD_SEC_NEWTOOLBAR, pParent) {}

BOOL SECNewToolBar::OnInitDialog() {
    CDialog::OnInitDialog();
    SetDlgItemTextW(IDC_SEC_NEWNAME, m_strName);
    OnNameChange();
    return TRUE;
}

void SECNewToolBar::OnNameChange() {
    CWnd* pEdit = GetDlgItem(IDC_SEC_NEWNAME);
    CWnd* pOK = GetDlgItem(IDOK);
    if (!pEdit || !pOK) {
        return;
    }
    CString text = SECLimitEditText(*pEdit, SEC_TOOLBAR_NAME_MAX);
    pOK->EnableWindow(!text.IsEmpty());
}

void SECNewToolBar::OnOK() {
    GetDlgItemTextW(IDC_SEC_NEWNAME, m_strName);
    m_strName = m_strName.Left(SEC_TOOLBAR_NAME_MAX);
    if (m_strName.IsEmpty()) {
        return;
    }
    CDialog::OnOK();
}

BEGIN_MESSAGE_MAP(SECNewToolBar, CDialog)
ON_EN_CHANGE(IDC_SEC_NEWNAME, OnNameChange)
END_MESSAGE_MAP()
