#include "platform/framework/CFindReplaceDialog.h"

#include "platform/framework/CWinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CFindReplaceDialog, CCommonDialog)

CFindReplaceDialog::CFindReplaceDialog() : CCommonDialog(nullptr) {
    m_fr.lStructSize = sizeof m_fr;
    m_fr.lpstrFindWhat = m_szFindWhat;
    m_fr.wFindWhatLen = static_cast<WORD>(std::size(m_szFindWhat));
    m_fr.lpstrReplaceWith = m_szReplaceWith;
    m_fr.wReplaceWithLen = static_cast<WORD>(std::size(m_szReplaceWith));
    // The notifier is found through the structure the owner receives.
    m_fr.lCustData = reinterpret_cast<LPARAM>(this);
}

namespace {
void CopyInto(LPCTSTR text, TCHAR* buffer, std::size_t size) {
    std::u16string s = text ? text : u"";
    std::size_t n = std::min(s.size(), size - 1);
    std::copy_n(s.begin(), n, buffer);
    buffer[n] = 0;
}
} // namespace

BOOL CFindReplaceDialog::Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith,
                                DWORD dwFlags, CWnd* pParentWnd) {
    m_pParentWnd = pParentWnd;
    m_fr.Flags = dwFlags;
    // The commands go to the parent itself (a child window may search its own text), else the main window.
    CWnd* pOwner = pParentWnd ? pParentWnd : AfxGetMainWnd();
    m_fr.hwndOwner = pOwner ? pOwner->GetSafeHwnd() : nullptr;
    CopyInto(lpszFindWhat, m_szFindWhat, std::size(m_szFindWhat));
    CopyInto(lpszReplaceWith, m_szReplaceWith, std::size(m_szReplaceWith));
    HWND hWnd = bFindDialogOnly ? ::FindTextW(&m_fr) : ::ReplaceTextW(&m_fr);
    if (!hWnd) {
        return FALSE;
    }
    // Messages reach the object from here on; the dialog's own procedure stays the default handling.
    SubclassWindow(hWnd);
    return TRUE;
}

CFindReplaceDialog* CFindReplaceDialog::GetNotifier(LPARAM lParam) {
    auto* fr = reinterpret_cast<LPFINDREPLACE>(lParam);
    return fr ? reinterpret_cast<CFindReplaceDialog*>(fr->lCustData) : nullptr;
}

void CFindReplaceDialog::PostNcDestroy() {
    delete this;
}
