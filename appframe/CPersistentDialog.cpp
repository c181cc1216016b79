#include "appframe/CPersistentDialog.h"

#include "appframe/CPersistentFrame.h"
#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNAMIC(CPersistentDialog, CDialog)

BEGIN_MESSAGE_MAP(CPersistentDialog, CDialog)
ON_WM_DESTROY()
ON_MESSAGE(CPersistentDialog::kFieldCheckMessage, OnFieldCheckMessage)
END_MESSAGE_MAP()

namespace {

const TCHAR kRectKey[] = u"Rect";

} // namespace

CPersistentDialog::CPersistentDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_dialogId(nIDTemplate) {
    m_sectionName.Format(u"Dialog %u size", nIDTemplate);
}

CPersistentDialog::CPersistentDialog(UINT nIDTemplate, LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_dialogId(nIDTemplate) {
    m_pParentWnd = pParentWnd;
    if (lpszTemplateName && *lpszTemplateName) {
        m_sectionName.Format(u"Dialog %s size", lpszTemplateName);
    } else {
        m_sectionName.Format(u"Dialog %u size", nIDTemplate);
    }
}

BOOL CPersistentDialog::RestorePlacement() {
    CString text = AfxGetApp()->GetProfileString(m_sectionName, kRectKey, u"");
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    BOOL result = GetWindowPlacement(&wp);
    if (text.IsEmpty() || !result) {
        return result;
    }
    std::vector<int> n = ParsePlacementNumbers(text);
    n.resize(std::max<size_t>(n.size(), 4), 0);
    CRect current(wp.rcNormalPosition);
    CRect wanted(n[0], n[1], n[0] + current.Width(), n[1] + current.Height());
    if (GetStyle() & WS_THICKFRAME) {
        wanted.right = n[2];
        wanted.bottom = n[3];
    }
    if (wanted != current) {
        wp.rcNormalPosition = wanted;
        result = SetWindowPlacement(&wp);
    }
    return result;
}

void CPersistentDialog::SavePlacement() {
    if (!GetSafeHwnd()) {
        return;
    }
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(&wp)) {
        return;
    }
    const RECT& r = wp.rcNormalPosition;
    CString text;
    text.Format(u"%04d %04d %04d %04d", r.left, r.top, r.right, r.bottom);
    AfxGetApp()->WriteProfileString(m_sectionName, kRectKey, text);
}

BOOL CPersistentDialog::ShowWindowRestoring(int nCmdShow) {
    if (nCmdShow == SW_RESTORE) {
        RestorePlacement();
    }
    return ShowWindow(nCmdShow);
}

INT_PTR CPersistentDialog::DoModal() {
    m_restoreOnInit = 1;
    return CDialog::DoModal();
}

BOOL CPersistentDialog::OnInitDialog() {
    if (m_restoreOnInit) {
        RestorePlacement();
        m_restoreOnInit = 0;
    }
    CDialog::OnInitDialog();
    return TRUE;
}

BOOL CPersistentDialog::DestroyWindow() {
    SavePlacement();
    return CDialog::DestroyWindow();
}

void CPersistentDialog::OnOK() {
    SavePlacement();
    CDialog::OnOK();
}

void CPersistentDialog::OnCancel() {
    SavePlacement();
    CDialog::OnCancel();
}

void CPersistentDialog::OnDestroy() {
    SavePlacement();
    CDialog::OnDestroy();
}

void CPersistentDialog::PostFieldCheck(UINT controlId) {
    if (m_fieldCheckRunning) {
        return;
    }
    // While a notification of the lost focus is sent, the focus is already where it went.
    const HWND focus = ::GetFocus();
    if (!focus || (focus != m_hWnd && !::IsChild(m_hWnd, focus))) {
        return;
    }
    PostMessageW(kFieldCheckMessage, controlId, 0);
}

void CPersistentDialog::OnFieldCheck(UINT) {}

LRESULT CPersistentDialog::OnFieldCheckMessage(WPARAM wParam, LPARAM) {
    // A check waiting behind a running one would raise its box over the other's.
    if (m_fieldCheckRunning) {
        return 0;
    }
    m_fieldCheckRunning = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_fieldCheckRunning};
    OnFieldCheck(static_cast<UINT>(wParam));
    return 0;
}
