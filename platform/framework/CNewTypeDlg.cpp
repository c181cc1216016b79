#include "platform/framework/CNewTypeDlg.h"

#include "platform/commdlg/CommDlgInternal.h"
#include "platform/framework/CDocTemplate.h"

BEGIN_MESSAGE_MAP(CNewTypeDlg, CDialog)
ON_LBN_DBLCLK(CNewTypeDlg::kListId, OnListDoubleClick)
END_MESSAGE_MAP()

CNewTypeDlg::CNewTypeDlg(CPtrList* pTemplates, CWnd* pParentWnd) : m_pTemplates(pTemplates) {
    m_pParentWnd = pParentWnd;
}

INT_PTR CNewTypeDlg::DoModal() {
    using namespace commdlg;
    TemplateBuilder t(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, u"New", 166,
                      90);
    t.Add(kStatic, u"&New", -1, WS_VISIBLE, 7, 7, 100, 8);
    t.Add(kListBox, u"", kListId,
          WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS, 7,
          18, 98, 65);
    t.Add(kButton, u"OK", IDOK, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 112, 18, 47, 14);
    t.Add(kButton, u"Cancel", IDCANCEL, WS_VISIBLE | WS_TABSTOP, 112, 36, 47, 14);
    if (!InitModalIndirect(t.Get(), t.Size(), m_pParentWnd)) {
        return -1;
    }
    return CDialog::DoModal();
}

BOOL CNewTypeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, kListId);
    for (POSITION pos = m_pTemplates ? m_pTemplates->GetHeadPosition() : nullptr; pos;) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_pTemplates->GetNext(pos));
        CString name;
        pTemplate->GetDocString(name, CDocTemplate::fileNewName);
        const LRESULT index = ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.GetString()));
        ::SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(pTemplate));
    }
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    return TRUE;
}

void CNewTypeDlg::OnOK() {
    HWND list = ::GetDlgItem(m_hWnd, kListId);
    const LRESULT index = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) {
        return; // nothing picked yet: the dialog stays
    }
    m_pSelectedTemplate =
        reinterpret_cast<CDocTemplate*>(::SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    CDialog::OnOK();
}

void CNewTypeDlg::OnListDoubleClick() {
    OnOK();
}
