#include "platform/framework/CDialog.h"

#include "platform/base/CodePage.h"
#include "platform/controls/ControlConstants.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/resources/ResourceTemplates.h"
#include "platform/resources/Resources.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOKCommand)
ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

namespace {

// The object the dialog window being created belongs to, until the creation hook attaches it.
thread_local CWnd* t_pDlgInit = nullptr;
thread_local HHOOK t_hDlgHook = nullptr;

LRESULT DialogCreateHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pDlgInit) {
        CWnd* pWnd = t_pDlgInit;
        t_pDlgInit = nullptr;
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_hDlgHook, code, wParam, lParam);
}

// The framework's dialog procedure: WM_INITDIALOG goes to OnInitDialog; everything else to the maps (which
// have seen it already through AfxWndProc) and the dialog manager.
INT_PTR AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        if (auto* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd))) {
            return pDlg->OnInitDialog();
        }
        return FALSE; // a form view takes the focus when it is activated, not when it is made
    }
    return FALSE;
}

bool IsNamedResource(LPCTSTR name) {
    return name && !IS_INTRESOURCE(name);
}

} // namespace

// ---- Helpers shared with the form view

const void* AfxFindDialogTemplate(LPCTSTR lpszTemplateName, std::size_t* size) {
    std::size_t found = 0;
    const void* data =
        AfxGetResourceProvider().FindDialogTemplate(AfxGetResourceHandle(), lpszTemplateName, &found);
    if (!data) {
        HMODULE module = DolivaFindResourceModule(lpszTemplateName, RT_DIALOG);
        data = module ? DolivaResourceBytes(module, lpszTemplateName, RT_DIALOG, &found) : nullptr;
    }
    if (size) {
        *size = data ? found : 0;
    }
    if (!data) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return data;
}

BOOL AfxCreateDialogWindow(CWnd* pWnd, const void* lpDialogTemplate, std::size_t size, HWND hWndParent,
                           LPARAM initParam) {
    CWnd* pSaved = t_pDlgInit;
    t_pDlgInit = pWnd;
    // One hook serves dialogs made while another is being made (a page from its sheet's WM_INITDIALOG):
    // a second one of the same procedure would pass each call on to itself.
    const bool bOwnHook = t_hDlgHook == nullptr;
    if (bOwnHook) {
        // A hook needs the thread's queue; asking anything of the queue makes sure it exists.
        (void)::InSendMessage();
        t_hDlgHook = ::SetWindowsHookExW(WH_CBT, &DialogCreateHook, nullptr, ::GetCurrentThreadId());
    }
    HWND hWnd = ::CreateDialogIndirectParamSizedW(AfxGetInstanceHandle(), lpDialogTemplate, size, hWndParent,
                                                  &AfxDlgProc, initParam);
    if (bOwnHook) {
        ::UnhookWindowsHookEx(t_hDlgHook);
        t_hDlgHook = nullptr;
    }
    bool attached = t_pDlgInit == nullptr;
    t_pDlgInit = pSaved;
    if (!hWnd) {
        if (attached && pWnd->m_hWnd) {
            pWnd->Detach();
        }
        return FALSE;
    }
    return attached ? TRUE : pWnd->SubclassWindow(hWnd);
}

BOOL AfxExecuteDlgInit(HWND hWnd, LPCTSTR lpszResourceName) {
    if (!lpszResourceName) {
        return TRUE;
    }
    HMODULE module = DolivaFindResourceModule(lpszResourceName, RT_DLGINIT);
    std::size_t size = 0;
    const BYTE* data = module ? DolivaResourceBytes(module, lpszResourceName, RT_DLGINIT, &size) : nullptr;
    if (!data) {
        return TRUE; // most dialogs have none
    }
    std::vector<DialogInitEntry> entries;
    if (!ParseDialogInit(data, size, entries)) {
        return FALSE;
    }
    for (const DialogInitEntry& entry : entries) {
        // The data keeps the 16-bit message numbers of list and combo boxes.
        UINT message = entry.message;
        if (message == 0x0401) {
            message = LB_ADDSTRING;
        } else if (message == 0x0403) {
            message = CB_ADDSTRING;
        }
        if (message != LB_ADDSTRING && message != CB_ADDSTRING) {
            continue;
        }
        std::u16string text = Cp1252ToUtf16(entry.text);
        if (::SendDlgItemMessageW(hWnd, entry.controlId, message, 0, reinterpret_cast<LPARAM>(text.c_str())) <
            0) {
            return FALSE;
        }
    }
    return TRUE;
}

int AfxGetCheckedRadioButton(HWND hWnd, int nIDFirstButton, int nIDLastButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        if (::IsDlgButtonChecked(hWnd, id)) {
            return id;
        }
    }
    return 0;
}

BOOL AfxReflectItemMessage(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult) {
    HWND hWndItem = nullptr;
    switch (message) {
    case WM_COMPAREITEM:
        hWndItem = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        hWndItem = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        hWndItem = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return FALSE;
    }
    return hWndItem && CWnd::ReflectLastMsg(hWndItem, pResult);
}

// ---- CDialog

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {
    if (IsNamedResource(lpszTemplateName)) {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    } else {
        m_lpszTemplateName = lpszTemplateName;
        m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    }
}

CDialog::~CDialog() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        DestroyWindow();
    }
}

BOOL CDialog::CreateDlgIndirect(const void* lpDialogTemplate, std::size_t size, CWnd* pParentWnd) {
    return AfxCreateDialogWindow(this, lpDialogTemplate, size,
                                 pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, 0);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    if (IsNamedResource(lpszTemplateName)) {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    } else {
        m_lpszTemplateName = lpszTemplateName;
        if (!m_nIDHelp) {
            m_nIDHelp = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
        }
    }
    std::size_t size = 0;
    const void* tmpl = AfxFindDialogTemplate(m_lpszTemplateName, &size);
    if (!tmpl) {
        return FALSE;
    }
    if (pParentWnd) {
        m_pParentWnd = pParentWnd;
    }
    return CreateDlgIndirect(tmpl, size, pParentWnd);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
    m_lpDialogInit = lpDialogInit;
    return CreateIndirect(static_cast<const void*>(lpDialogTemplate), static_cast<std::size_t>(-1) / 2,
                          pParentWnd);
}

BOOL CDialog::CreateIndirect(const void* lpDialogTemplate, std::size_t size, CWnd* pParentWnd) {
    if (pParentWnd) {
        m_pParentWnd = pParentWnd;
    }
    return CreateDlgIndirect(lpDialogTemplate, size, pParentWnd);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit) {
    m_lpDialogInit = lpDialogInit;
    return InitModalIndirect(static_cast<const void*>(lpDialogTemplate), static_cast<std::size_t>(-1) / 2,
                             pParentWnd);
}

BOOL CDialog::InitModalIndirect(const void* lpDialogTemplate, std::size_t size, CWnd* pParentWnd) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_templateSize = size;
    if (pParentWnd) {
        m_pParentWnd = pParentWnd;
    }
    return lpDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal() {
    const void* tmpl = m_lpDialogTemplate;
    std::size_t size = m_templateSize;
    if (!tmpl) {
        tmpl = AfxFindDialogTemplate(m_lpszTemplateName, &size);
        if (!tmpl) {
            return -1;
        }
    }
    // The owner: the parent's top-level window, else the main window; a modal box of it when it has one.
    HWND hWndOwner = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!hWndOwner) {
        CWnd* pMain = AfxGetMainWnd();
        hWndOwner = pMain ? pMain->GetSafeHwnd() : nullptr;
    }
    if (hWndOwner) {
        hWndOwner = ::GetAncestor(hWndOwner, GA_ROOT);
        hWndOwner = ::GetLastActivePopup(hWndOwner);
    }
    m_hWndModalOwner = hWndOwner;
    m_bOwnerDisabled = FALSE;
    if (hWndOwner && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        m_bOwnerDisabled = TRUE;
    }
    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    CWnd* pOwner = hWndOwner ? CWnd::FromHandle(hWndOwner) : nullptr;
    if (CreateDlgIndirect(tmpl, size, pOwner) && m_bContinueModal) {
        if (!(GetStyle() & WS_VISIBLE)) {
            ShowWindow(SW_SHOWNORMAL);
        }
        CWinThread* pThread = AfxGetThread();
        bool quit = false;
        WPARAM quitCode = 0;
        while (m_bContinueModal && m_hWnd && ::IsWindow(m_hWnd)) {
            MSG msg{};
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                if (hWndOwner && !(GetStyle() & DS_NOIDLEMSG)) {
                    ::SendMessageW(hWndOwner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
                }
                if (!m_bContinueModal) {
                    break;
                }
            }
            BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                quit = got == 0;
                quitCode = msg.wParam;
                m_nModalResult = -1;
                break;
            }
            BOOL handled = pThread ? pThread->PreTranslateMessage(&msg) : WalkPreTranslateTree(m_hWnd, &msg);
            if (!handled) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        m_bContinueModal = FALSE;
        if (quit) {
            ::PostQuitMessage(static_cast<int>(quitCode));
        }
    }
    m_bContinueModal = FALSE;
    if (m_bOwnerDisabled && hWndOwner && ::IsWindow(hWndOwner)) {
        ::EnableWindow(hWndOwner, TRUE);
    }
    m_bOwnerDisabled = FALSE;
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (hWndOwner && ::IsWindow(hWndOwner) && ::GetActiveWindow() == m_hWnd) {
            ::SetActiveWindow(hWndOwner);
        }
        DestroyWindow();
    }
    m_hWndModalOwner = nullptr;
    return m_nModalResult;
}

void CDialog::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = FALSE;
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0); // wakes the loop
    }
}

void CDialog::EndDialog(int nResult) {
    if (m_bContinueModal) {
        EndModalLoop(nResult);
        // The owner comes back before the dialog hides, so that the activation returns to it.
        if (m_bOwnerDisabled && m_hWndModalOwner && ::IsWindow(m_hWndModalOwner)) {
            ::EnableWindow(m_hWndModalOwner, TRUE);
            m_bOwnerDisabled = FALSE;
        }
    }
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    // Dialog-init data given with an in-memory template runs to its end mark; the parser stops there.
    BOOL ok = m_lpDialogInit ? ExecuteDlgInit(m_lpDialogInit, static_cast<std::size_t>(1) << 20)
                             : ExecuteDlgInit(m_lpszTemplateName);
    if (!ok || !UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::ExecuteDlgInit(LPCTSTR lpszResourceName) {
    return AfxExecuteDlgInit(m_hWnd, lpszResourceName);
}

BOOL CDialog::ExecuteDlgInit(const void* lpResource, std::size_t size) {
    std::vector<DialogInitEntry> entries;
    if (!lpResource || !ParseDialogInit(lpResource, size, entries)) {
        return FALSE;
    }
    for (const DialogInitEntry& entry : entries) {
        UINT message = entry.message == 0x0401 || entry.message == LB_ADDSTRING   ? LB_ADDSTRING
                       : entry.message == 0x0403 || entry.message == CB_ADDSTRING ? CB_ADDSTRING
                                                                                  : 0;
        if (message) {
            std::u16string text = Cp1252ToUtf16(entry.text);
            SendDlgItemMessageW(entry.controlId, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return; // the dialog stays, with the focus on the failing control
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg)) {
        return TRUE;
    }
    return PreTranslateInput(pMsg);
}

BOOL CDialog::PreTranslateInput(MSG* pMsg) {
    bool key = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    bool mouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (!key && !mouse) {
        return FALSE;
    }
    if (!m_hWnd || (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))) {
        return FALSE;
    }
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

// ---- Navigation

void CDialog::NextDlgCtrl() const {
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const {
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(SafeHwndOf(pWndCtrl)), 1);
}

void CDialog::SetDefID(UINT nID) {
    ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const {
    return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT lpRect) const {
    ::MapDialogRect(m_hWnd, lpRect);
}

int CDialog::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const {
    return AfxGetCheckedRadioButton(m_hWnd, nIDFirstButton, nIDLastButton);
}
