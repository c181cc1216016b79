#include "platform/framework/CPropertyPage.h"

#include "platform/dialog/DialogTemplate.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate) {
    if (nIDCaption) {
        m_strCaption.LoadString(nIDCaption);
    }
}

CString CPropertyPage::GetCaption() const {
    if (!m_strCaption.IsEmpty()) {
        return m_strCaption;
    }
    std::size_t size = 0;
    const void* tmpl = AfxFindDialogTemplate(m_lpszTemplateName, &size);
    std::optional<DialogTemplateInfo> info = tmpl ? DialogParseTemplate(tmpl, size) : std::nullopt;
    return info ? CString(reinterpret_cast<LPCTSTR>(info->title.c_str())) : CString();
}

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    SetModified(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnQueryCancel() {
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

void CPropertyPage::SetModified(BOOL bChanged) {
    m_bModified = bChanged;
    if (m_hWnd) {
        if (HWND sheet = ::GetParent(m_hWnd)) {
            ::SendMessageW(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
        }
    }
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
    HWND sheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    return sheet ? ::SendMessageW(sheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

void CPropertyPage::CancelToClose() {
    if (HWND sheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr) {
        ::SendMessageW(sheet, PSM_CANCELTOCLOSE, 0, 0);
    }
}
