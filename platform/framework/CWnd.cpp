#include "platform/framework/CWnd.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/DataExchange.h"

#include "platform/base/Exceptions.h"
#include "platform/framework/AfxHandleMap.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <vector>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

const TCHAR _afxWnd[] = u"AfxWnd";
const TCHAR _afxWndFrameOrView[] = u"AfxFrameOrView";

namespace {

CHandleMap<CWnd, HWND>* WndMap() {
    return AfxThreadHandleMap<CWnd, HWND>([](CWnd* w) { w->m_hWnd = nullptr; });
}

// The message each nested AfxCallWndProc is handling, for Default() and GetCurrentMessage().
thread_local std::vector<MSG> t_messages;
// The object the window being created on this thread belongs to, until the CBT hook attaches it.
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCbt = nullptr;
// Creations in progress on this thread (a window's WM_CREATE may create more); one hook serves them all.
thread_local int t_createDepth = 0;

} // namespace

LRESULT CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        pWnd->Attach(hWnd);
        pWnd->PreSubclassWindow();
        auto oldProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
        if (oldProc != &AfxWndProc) {
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
            pWnd->m_pfnSuper = oldProc;
        }
    }
    return ::CallNextHookEx(t_hHookCbt, code, wParam, lParam);
}

// ---- Procedures and dispatch

LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) {
        pWnd = CWnd::FromHandle(hWnd);
        if (!pWnd) {
            return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
        }
    }
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = hWnd;
    msg.message = nMsg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    t_messages.push_back(msg);
    LRESULT result = 0;
    try {
        // The object may be gone once WM_NCDESTROY has been handled (PostNcDestroy deleting it).
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        CWinThread* pThread = AfxGetThread();
        if (pThread) {
            result = pThread->ProcessWndProcException(e, &msg);
        } else {
            e->Delete();
            result = nMsg == WM_CREATE ? -1 : 0;
        }
    }
    t_messages.pop_back();
    return result;
}

const MSG* CWnd::GetCurrentMessage() {
    static thread_local MSG none{};
    return t_messages.empty() ? &none : &t_messages.back();
}

LRESULT CWnd::Default() {
    const MSG* msg = GetCurrentMessage();
    return DefWindowProcW(msg->message, msg->wParam, msg->lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProcW(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) {
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT result = 0;
    // An owner-drawn list's item messages go to the list's own object first, whatever its parent is.
    if ((message == WM_COMPAREITEM || message == WM_DELETEITEM || message == WM_CHARTOITEM ||
         message == WM_VKEYTOITEM) &&
        AfxReflectItemMessage(message, wParam, lParam, &result)) {
        if (pResult) {
            *pResult = result;
        }
        return TRUE;
    }
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            return FALSE;
        }
        result = 1;
    } else if (message == WM_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (!hdr || !hdr->hwndFrom || !OnNotify(wParam, lParam, &result)) {
            return FALSE;
        }
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        // The control has the first say about its colours.
        HWND hChild = reinterpret_cast<HWND>(lParam);
        CWnd* pChild = hChild != m_hWnd ? FromHandlePermanent(hChild) : nullptr;
        if (!(pChild && pChild->OnChildNotify(message, wParam, lParam, &result))) {
            const AFX_MSGMAP_ENTRY* e = FindMessageEntry(AfxKindWindow, WM_CTLCOLOR, 0, 0);
            if (!e) {
                return FALSE;
            }
            AFX_MSGCALL call;
            call.message = message;
            call.wParam = wParam;
            call.lParam = lParam;
            call.nID = message - WM_CTLCOLORMSGBOX;
            e->pfn(this, call);
            result = call.result;
        }
    } else {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(AfxKindWindow, message, 0, 0);
        if (!e && message >= 0xC000 && message <= 0xFFFF) {
            e = FindMessageEntry(AfxKindRegistered, message, 0, 0);
        }
        if (!e) {
            return FALSE;
        }
        AFX_MSGCALL call;
        call.message = message;
        call.wParam = wParam;
        call.lParam = lParam;
        e->pfn(this, call);
        result = call.result;
    }
    if (pResult) {
        *pResult = result;
    }
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam && AfxGetLockoutNotifyWindow() == m_hWnd) {
        return TRUE; // a control's notification while the data is exchanged
    }
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // Menus and accelerators: a command its update handler disables does not run.
        if (nID == 0) {
            return FALSE;
        }
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled) {
            return TRUE;
        }
        nCode = CN_COMMAND;
    } else {
        if (CWnd* pChild = FromHandlePermanent(hWndCtrl)) {
            if (pChild != this && pChild->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) {
                return TRUE;
            }
        }
        if (nID == 0) {
            return FALSE;
        }
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    if (AfxGetLockoutNotifyWindow() == m_hWnd) {
        return TRUE;
    }
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = hdr->hwndFrom;
    UINT nID = static_cast<UINT>(hdr->idFrom);
    if (CWnd* pChild = FromHandlePermanent(hWndCtrl)) {
        if (pChild != this && pChild->OnChildNotify(WM_NOTIFY, static_cast<WPARAM>(nID), lParam, pResult)) {
            return TRUE;
        }
    }
    AFX_NOTIFY notify{pResult, hdr};
    return OnCmdMsg(nID, static_cast<int>(MAKELONG(static_cast<WORD>(hdr->code), WM_NOTIFY)), &notify,
                    nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    AFX_MSGCALL call;
    call.wParam = wParam;
    call.lParam = lParam;
    switch (message) {
    case WM_COMMAND: {
        const AFX_MSGMAP_ENTRY* e =
            FindMessageEntry(AfxKindReflectCommand, WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
        if (!e) {
            return FALSE;
        }
        call.message = WM_REFLECT_BASE + WM_COMMAND;
        return e->pfn(this, call);
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        const AFX_MSGMAP_ENTRY* e =
            FindMessageEntry(AfxKindReflectNotify, WM_REFLECT_BASE + WM_NOTIFY, hdr->code, 0);
        if (!e) {
            return FALSE;
        }
        LRESULT ignored = 0;
        AFX_NOTIFY notify{pResult ? pResult : &ignored, hdr};
        call.message = WM_REFLECT_BASE + WM_NOTIFY;
        call.nID = static_cast<UINT>(hdr->idFrom);
        call.pExtra = &notify;
        return e->pfn(this, call);
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(AfxKindWindow, WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
        if (!e) {
            return FALSE;
        }
        call.message = WM_REFLECT_BASE + WM_CTLCOLOR;
        call.nID = message - WM_CTLCOLORMSGBOX;
        e->pfn(this, call);
        if (!call.result) {
            return FALSE; // a null brush leaves the colours to the parent
        }
        if (pResult) {
            *pResult = call.result;
        }
        return TRUE;
    }
    default: {
        // Other reflected messages go to ON_MESSAGE(WM_REFLECT_BASE + message) entries.
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(AfxKindWindow, WM_REFLECT_BASE + message, 0, 0);
        if (!e) {
            return FALSE;
        }
        call.message = WM_REFLECT_BASE + message;
        e->pfn(this, call);
        if (pResult) {
            *pResult = call.result;
        }
        return TRUE;
    }
    }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* pWnd = FromHandlePermanent(hWndChild);
    return pWnd ? pWnd->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG* msg = GetCurrentMessage();
    return OnChildNotify(msg->message, msg->wParam, msg->lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}
BOOL CWnd::PreTranslateInput(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
        if (hWnd == hWndStop) {
            break;
        }
    }
    return FALSE;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    return AfxUpdateData(this, bSaveAndValidate);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    CWnd wndTemp;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        CWnd* pChild = FromHandlePermanent(hWndChild);
        state.m_pOther = pChild ? pChild : &wndTemp;
        wndTemp.m_hWnd = hWndChild;
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        // Commands of the window itself first, then the target's.
        if (!state.DoUpdate(this, FALSE)) {
            state.DoUpdate(pTarget, bDisableIfNoHndler);
        }
    }
    wndTemp.m_hWnd = nullptr;
}

// ---- Handle map

CWnd::CWnd() = default;
CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd) {}

CWnd::~CWnd() {
    if (m_hWnd && m_hWnd != HWND_TOP && m_hWnd != HWND_BOTTOM && m_hWnd != HWND_TOPMOST &&
        m_hWnd != HWND_NOTOPMOST) {
        if (FromHandlePermanent(m_hWnd) == this) {
            // Destroying the object destroys its window; the object is no longer there for PostNcDestroy.
            HWND hWnd = m_hWnd;
            Detach();
            if (m_pfnSuper) {
                ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
            }
            ::DestroyWindow(hWnd);
        }
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto* map = WndMap();
    return hWnd && map ? map->LookupPermanent(hWnd) : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    auto* map = WndMap();
    if (!hWnd || !map) {
        return nullptr;
    }
    if (CWnd* permanent = map->LookupPermanent(hWnd)) {
        return permanent;
    }
    if (CWnd* temporary = map->LookupTemporary<CWnd>(hWnd)) {
        return temporary;
    }
    auto wnd = std::make_unique<CWnd>();
    wnd->m_hWnd = hWnd;
    return map->MakeTemporary(hWnd, std::move(wnd));
}

void CWnd::DeleteTempMap() {
    if (auto* map = WndMap()) {
        map->DeleteTemp();
    }
}

void AfxDeleteTempMaps() {
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew) {
        return FALSE;
    }
    m_hWnd = hWndNew;
    if (auto* map = WndMap()) {
        map->SetPermanent(hWndNew, this);
    }
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        if (auto* map = WndMap()) {
            map->RemovePermanent(h, this);
        }
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!::IsWindow(hWnd) || FromHandlePermanent(hWnd)) {
        return FALSE;
    }
    if (!Attach(hWnd)) {
        return FALSE;
    }
    PreSubclassWindow();
    auto oldProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (oldProc != &AfxWndProc) {
        m_pfnSuper = oldProc;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWndControl = ::GetDlgItem(SafeHwndOf(pParent), static_cast<int>(nID));
    return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    return Detach();
}

// ---- Classes

BOOL AfxRegisterClass(WNDCLASSW* lpWndClass) {
    WNDCLASSW existing{};
    if (::GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing)) {
        return TRUE;
    }
    return ::RegisterClassW(lpWndClass) != 0;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // The names live for the whole process, one per distinct combination.
    static std::mutex namesMutex;
    static std::set<std::u16string> names;
    char narrow[128];
    std::snprintf(narrow, sizeof narrow, "Afx:%x:%x:%zx:%zx:%zx", static_cast<unsigned>(nClassStyle),
                  0x400000u, reinterpret_cast<size_t>(hCursor), reinterpret_cast<size_t>(hbrBackground),
                  reinterpret_cast<size_t>(hIcon));
    std::u16string name(narrow, narrow + std::char_traits<char>::length(narrow));
    LPCTSTR stored = nullptr;
    {
        std::lock_guard lock(namesMutex);
        stored = names.insert(name).first->c_str();
    }
    WNDCLASSW wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszClassName = stored;
    AfxRegisterClass(&wc);
    return stored;
}

BOOL AfxEndDeferRegisterClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = _afxWnd;
    BOOL ok = AfxRegisterClass(&wc);
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = _afxWndFrameOrView;
    return AfxRegisterClass(&wc) && ok;
}

// ---- Creation

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, SafeHwndOf(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, SafeHwndOf(pParentWnd),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    CWnd* pSavedInit = t_pWndInit;
    t_pWndInit = this;
    if (t_createDepth++ == 0) {
        // A hook needs the thread's queue; asking anything of the queue makes sure it exists.
        (void)::InSendMessage();
        t_hHookCbt = ::SetWindowsHookExW(WH_CBT, &CbtFilterHook, nullptr, ::GetCurrentThreadId());
    }
    HWND hWnd =
        ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                          cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (--t_createDepth == 0) {
        ::UnhookWindowsHookEx(t_hHookCbt);
        t_hHookCbt = nullptr;
    }
    bool hookFired = t_pWndInit == nullptr;
    t_pWndInit = pSavedInit;
    if (!hWnd) {
        // A failed creation has already run WM_NCDESTROY (which may have deleted this object).
        return FALSE;
    }
    if (!hookFired) {
        Attach(hWnd);
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) {
        AfxEndDeferRegisterClass();
        cs.lpszClass = _afxWnd;
    }
    return TRUE;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) {
    DWORD exStyle = GetExStyle();
    if (nAdjustType == adjustBorder) {
        exStyle &= ~WS_EX_CLIENTEDGE;
    }
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, exStyle);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) {
        return FALSE;
    }
    return ::DestroyWindow(m_hWnd);
}

// ---- Default handlers

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnDestroy() {
    Default();
}

void CWnd::OnNcDestroy() {
    // The main window going away ends its thread's message loop.
    CWinThread* pThread = AfxGetThread();
    if (pThread) {
        if (pThread->m_pMainWnd == this) {
            ::PostQuitMessage(0);
            pThread->m_pMainWnd = nullptr;
        }
        if (pThread->m_pActiveWnd == this) {
            pThread->m_pActiveWnd = nullptr;
        }
    }
    LONG_PTR proc = ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
    Default();
    if (m_pfnSuper && proc == reinterpret_cast<LONG_PTR>(&AfxWndProc)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}

void CWnd::OnPaint() {
    Default();
}
void CWnd::OnNcPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnSizing(UINT, LPRECT) {
    Default();
}
void CWnd::OnMoving(UINT, LPRECT) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnNcLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnNcRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnNcRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnNcMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnDeadChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) {
        return;
    }
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) {
        return;
    }
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) {
    return reinterpret_cast<HBRUSH>(Default());
}
UINT CWnd::OnGetDlgCode() {
    return static_cast<UINT>(Default());
}
UINT CWnd::OnNcHitTest(CPoint) {
    return static_cast<UINT>(Default());
}
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {
    Default();
}
BOOL CWnd::OnNcActivate(BOOL) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
void CWnd::OnActivateApp(BOOL, DWORD) {
    Default();
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) {
    return static_cast<int>(Default());
}
void CWnd::OnCancelMode() {
    Default();
}
void CWnd::OnCaptureChanged(CWnd*) {
    Default();
}
void CWnd::OnSysColorChange() {
    Default();
}
void CWnd::OnSettingChange(UINT, LPCTSTR) {
    Default();
}
void CWnd::OnWinIniChange(LPCTSTR) {
    Default();
}
void CWnd::OnTimeChange() {
    Default();
}
void CWnd::OnFontChange() {
    Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}
void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct->CtlType != ODT_MENU && nIDCtl != 0) {
        CWnd* pChild = GetDescendantWindow(nIDCtl, TRUE);
        if (pChild && pChild->SendChildNotifyLastMsg()) {
            return;
        }
    }
    Default();
}
void CWnd::OnInitMenu(CMenu*) {
    Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) {
    Default();
}
void CWnd::OnMenuSelect(UINT, UINT, HMENU) {
    Default();
}
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) {
    return Default();
}
void CWnd::OnEnterMenuLoop(BOOL) {
    Default();
}
void CWnd::OnExitMenuLoop(BOOL) {
    Default();
}
void CWnd::OnEnterIdle(UINT, CWnd*) {
    Default();
}
void CWnd::OnParentNotify(UINT, LPARAM) {
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
void CWnd::OnWindowPosChanging(WINDOWPOS*) {
    Default();
}
void CWnd::OnWindowPosChanged(WINDOWPOS*) {
    Default();
}
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) {
    Default();
}
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) {
    Default();
}
void CWnd::OnEnable(BOOL) {
    Default();
}
BOOL CWnd::OnQueryEndSession() {
    return static_cast<BOOL>(Default());
}
void CWnd::OnEndSession(BOOL) {
    Default();
}
BOOL CWnd::OnHelpInfo(HELPINFO*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnPaletteChanged(CWnd*) {
    Default();
}
BOOL CWnd::OnQueryNewPalette() {
    return static_cast<BOOL>(Default());
}
void CWnd::OnChildActivate() {
    Default();
}
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) {
    return static_cast<BOOL>(Default());
}
BOOL CWnd::OnDeviceChange(UINT, DWORD_PTR) {
    return static_cast<BOOL>(Default());
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_NCDESTROY()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_WM_CTLCOLOR()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

// ---- Styles and text

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}
DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

namespace {

BOOL ModifyStyleIndex(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD style = static_cast<DWORD>(::GetWindowLongW(hWnd, index));
    DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) {
        return FALSE;
    }
    ::SetWindowLongW(hWnd, index, static_cast<LONG>(newStyle));
    if (nFlags != 0) {
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleIndex(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleIndex(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
}

void CWnd::SetWindowTextW(LPCTSTR lpszString) {
    ::SetWindowTextW(m_hWnd, lpszString);
}
int CWnd::GetWindowTextW(LPTSTR lpszStringBuf, int nMaxCount) const {
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowTextW(CString& rString) const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer();
}
int CWnd::GetWindowTextLengthW() const {
    return ::GetWindowTextLengthW(m_hWnd);
}
void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    SendMessageW(WM_SETFONT, reinterpret_cast<WPARAM>(CGdiObject::SafeHandleOf(pFont)), bRedraw);
}
CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT)));
}
HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessageW(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CWnd::GetIcon(BOOL bBigIcon) const {
    return reinterpret_cast<HICON>(SendMessageW(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL));
}
void CWnd::SetRedraw(BOOL bRedraw) {
    SendMessageW(WM_SETREDRAW, bRedraw);
}

// ---- Size and position

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT r, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, SafeHwndOf(pWndInsertAfter), x, y, cx, cy, nFlags);
}
void CWnd::GetWindowRect(LPRECT lpRect) const {
    ::GetWindowRect(m_hWnd, lpRect);
}
void CWnd::GetClientRect(LPRECT lpRect) const {
    ::GetClientRect(m_hWnd, lpRect);
}
void CWnd::ClientToScreen(LPPOINT lpPoint) const {
    ::ClientToScreen(m_hWnd, lpPoint);
}
void CWnd::ClientToScreen(LPRECT r) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(r), 2);
}
void CWnd::ScreenToClient(LPPOINT lpPoint) const {
    ::ScreenToClient(m_hWnd, lpPoint);
}
void CWnd::ScreenToClient(LPRECT r) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(r), 2);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, SafeHwndOf(pwndTo), lpPoint, nCount);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT r) const {
    ::MapWindowPoints(m_hWnd, SafeHwndOf(pwndTo), reinterpret_cast<LPPOINT>(r), 2);
}
BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* p) const {
    return ::GetWindowPlacement(m_hWnd, p);
}
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* p) {
    return ::SetWindowPlacement(m_hWnd, p);
}
void CWnd::BringWindowToTop() {
    ::BringWindowToTop(m_hWnd);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    DWORD style = GetStyle();
    HWND hWndCenter = SafeHwndOf(pAlternateOwner);
    if (!hWndCenter) {
        hWndCenter = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    }
    RECT dlg{};
    ::GetWindowRect(m_hWnd, &dlg);
    RECT area{};
    RECT center{};
    if (style & WS_CHILD) {
        HWND parent = ::GetParent(m_hWnd);
        ::GetClientRect(parent, &area);
        ::GetClientRect(hWndCenter ? hWndCenter : parent, &center);
        ::MapWindowPoints(hWndCenter ? hWndCenter : parent, parent, reinterpret_cast<LPPOINT>(&center), 2);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        if (hWndCenter && ::IsWindowVisible(hWndCenter) && !::IsIconic(hWndCenter)) {
            ::GetWindowRect(hWndCenter, &center);
        } else {
            center = area;
        }
    }
    int w = dlg.right - dlg.left;
    int h = dlg.bottom - dlg.top;
    int x = (center.left + center.right) / 2 - w / 2;
    int y = (center.top + center.bottom) / 2 - h / 2;
    if (x + w > area.right) {
        x = area.right - w;
    }
    if (x < area.left) {
        x = area.left;
    }
    if (y + h > area.bottom) {
        y = area.bottom - h;
    }
    if (y < area.top) {
        y = area.top;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect) {
    if (!lpLayout->hDWP) {
        return;
    }
    HWND hWndParent = ::GetParent(hWnd);
    RECT old{};
    ::GetWindowRect(hWnd, &old);
    ::MapWindowPoints(nullptr, hWndParent, reinterpret_cast<LPPOINT>(&old), 2);
    if (old.left == lpRect->left && old.top == lpRect->top && old.right == lpRect->right &&
        old.bottom == lpRect->bottom) {
        return;
    }
    lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, hWnd, nullptr, lpRect->left, lpRect->top,
                                      lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
                                      SWP_NOACTIVATE | SWP_NOZORDER);
}

void CWnd::RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag, LPRECT lpRectParam,
                          LPCRECT lpRectClient, BOOL bStretch) {
    AFX_SIZEPARENTPARAMS layout{};
    layout.bStretch = bStretch;
    if (lpRectClient) {
        layout.rect = *lpRectClient;
    } else {
        ::GetClientRect(m_hWnd, &layout.rect);
    }
    layout.hDWP = nFlag == reposQuery ? nullptr : ::BeginDeferWindowPos(8);
    HWND hWndLeftOver = nullptr;
    for (HWND hWndChild = ::GetTopWindow(m_hWnd); hWndChild;
         hWndChild = ::GetWindow(hWndChild, GW_HWNDNEXT)) {
        UINT nIDC = static_cast<UINT>(::GetDlgCtrlID(hWndChild));
        if (nIDC == nIDLeftOver) {
            hWndLeftOver = hWndChild;
        } else if (nIDC >= nIDFirst && nIDC <= nIDLast && FromHandlePermanent(hWndChild)) {
            ::SendMessageW(hWndChild, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&layout));
        }
    }
    if (nFlag == reposQuery) {
        if (lpRectParam) {
            if (bStretch) {
                *lpRectParam = layout.rect;
            } else {
                lpRectParam->left = lpRectParam->top = 0;
                lpRectParam->right = layout.sizeTotal.cx;
                lpRectParam->bottom = layout.sizeTotal.cy;
            }
        }
        return;
    }
    if (nIDLeftOver != 0 && hWndLeftOver) {
        RECT r = layout.rect;
        if (nFlag == reposExtra && lpRectParam) {
            r.left += lpRectParam->left;
            r.top += lpRectParam->top;
            r.right -= lpRectParam->right;
            r.bottom -= lpRectParam->bottom;
        }
        CWnd* pLeftOver = FromHandle(hWndLeftOver);
        pLeftOver->CalcWindowRect(&r);
        AfxRepositionWindow(&layout, hWndLeftOver, &r);
    }
    if (layout.hDWP) {
        ::EndDeferWindowPos(layout.hDWP);
    }
}

// ---- Visibility and state

BOOL CWnd::ShowWindow(int nCmdShow) {
    return ::ShowWindow(m_hWnd, nCmdShow);
}
BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}
BOOL CWnd::IsIconic() const {
    return ::IsIconic(m_hWnd);
}
BOOL CWnd::IsZoomed() const {
    return ::IsZoomed(m_hWnd);
}
BOOL CWnd::EnableWindow(BOOL bEnable) {
    return ::EnableWindow(m_hWnd, bEnable);
}
BOOL CWnd::IsWindowEnabled() const {
    return ::IsWindowEnabled(m_hWnd);
}
BOOL CWnd::FlashWindow(BOOL bInvert) {
    return ::FlashWindow(m_hWnd, bInvert);
}
void CWnd::ShowOwnedPopups(BOOL bShow) {
    ::ShowOwnedPopups(m_hWnd, bShow);
}

// ---- Painting

void CWnd::Invalidate(BOOL bErase) {
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) {
    ::InvalidateRect(m_hWnd, lpRect, bErase);
}
void CWnd::InvalidateRgn(CRgn* pRgn, BOOL bErase) {
    ::InvalidateRgn(m_hWnd, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)), bErase);
}
void CWnd::ValidateRect(LPCRECT lpRect) {
    ::ValidateRect(m_hWnd, lpRect);
}
void CWnd::ValidateRgn(CRgn* pRgn) {
    ::ValidateRgn(m_hWnd, static_cast<HRGN>(CGdiObject::SafeHandleOf(pRgn)));
}
void CWnd::UpdateWindow() {
    ::UpdateWindow(m_hWnd);
}
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, static_cast<HRGN>(CGdiObject::SafeHandleOf(prgnUpdate)),
                          flags);
}
BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL bErase) {
    return ::GetUpdateRect(m_hWnd, lpRect, bErase);
}
CDC* CWnd::GetDC() {
    return CDC::FromHandle(::GetDC(m_hWnd));
}
CDC* CWnd::GetWindowDC() {
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}
int CWnd::ReleaseDC(CDC* pDC) {
    return ::ReleaseDC(m_hWnd, CDC::SafeHdcOf(pDC));
}
CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) {
    return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint));
}
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) {
    ::EndPaint(m_hWnd, lpPaint);
}
BOOL CWnd::LockWindowUpdate() {
    return ::LockWindowUpdate(m_hWnd);
}
void CWnd::UnlockWindowUpdate() {
    ::LockWindowUpdate(nullptr);
}
void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}
int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags) {
    return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                            static_cast<HRGN>(CGdiObject::SafeHandleOf(prgnUpdate)), lpRectUpdate, flags);
}

// ---- Timers, focus, capture

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    return ::KillTimer(m_hWnd, nIDEvent);
}
CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}
CWnd* CWnd::SetCapture() {
    return FromHandle(::SetCapture(m_hWnd));
}
CWnd* CWnd::GetCapture() {
    return FromHandle(::GetCapture());
}
CWnd* CWnd::SetActiveWindow() {
    return FromHandle(::SetActiveWindow(m_hWnd));
}
CWnd* CWnd::GetActiveWindow() {
    return FromHandle(::GetActiveWindow());
}
BOOL CWnd::SetForegroundWindow() {
    return ::SetForegroundWindow(m_hWnd);
}
CWnd* CWnd::GetForegroundWindow() {
    return FromHandle(::GetForegroundWindow());
}

// ---- Scroll bars

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
    return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}
int CWnd::GetScrollPos(int nBar) const {
    return ::GetScrollPos(m_hWnd, nBar);
}
void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}
int CWnd::GetScrollLimit(int nBar) {
    SCROLLINFO info{};
    if (!GetScrollInfo(nBar, &info, SIF_RANGE | SIF_PAGE)) {
        return 0;
    }
    int limit = info.nMax;
    if (info.nPage > 1) {
        limit -= static_cast<int>(info.nPage) - 1;
    }
    return limit;
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) {
    ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow);
}
BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags) {
    return ::EnableScrollBar(m_hWnd, nSBFlags, nArrowFlags);
}
void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable) {
    if (nBar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, bEnable);
        EnableScrollBarCtrl(SB_VERT, bEnable);
        return;
    }
    ::ShowScrollBar(m_hWnd, nBar, bEnable);
}

// ---- Messages

LRESULT CWnd::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessageW(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::SendNotifyMessageW(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendNotifyMessageW(m_hWnd, message, wParam, lParam);
}
void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    SendMessageToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}
void CWnd::SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
    // Collect first: handlers may create or destroy children.
    std::vector<HWND> children;
    for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        children.push_back(hChild);
    }
    for (HWND hChild : children) {
        if (!::IsWindow(hChild)) {
            continue;
        }
        if (bOnlyPerm) {
            if (CWnd* pWnd = FromHandlePermanent(hChild)) {
                AfxCallWndProc(pWnd, hChild, message, wParam, lParam);
            }
        } else {
            ::SendMessageW(hChild, message, wParam, lParam);
        }
        if (bDeep && ::IsWindow(hChild) && ::GetTopWindow(hChild)) {
            SendMessageToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
        }
    }
}

// ---- The tree

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}
CWnd* CWnd::SetParent(CWnd* pWndNewParent) {
    return FromHandle(::SetParent(m_hWnd, SafeHwndOf(pWndNewParent)));
}
CWnd* CWnd::GetOwner() const {
    return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CFrameWnd* CWnd::GetParentFrame() const {
    if (!m_hWnd) {
        return nullptr;
    }
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* pWnd = FromHandlePermanent(h);
        if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
            return static_cast<CFrameWnd*>(pWnd);
        }
    }
    return nullptr;
}

CWnd* CWnd::GetTopLevelParent() const {
    if (!m_hWnd) {
        return nullptr;
    }
    HWND h = m_hWnd;
    for (HWND parent; (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(h)) != nullptr;) {
        h = parent;
    }
    return FromHandle(h);
}

CWnd* CWnd::GetTopLevelOwner() const {
    if (!m_hWnd) {
        return nullptr;
    }
    HWND h = m_hWnd;
    for (HWND owner; (owner = ::GetParent(h)) != nullptr;) {
        h = owner;
    }
    return FromHandle(h);
}

CWnd* CWnd::GetParentOwner() const {
    if (!m_hWnd) {
        return nullptr;
    }
    HWND h = m_hWnd;
    for (HWND parent; (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(h)) != nullptr;) {
        h = parent;
    }
    return FromHandle(h);
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    if (!m_hWnd) {
        return nullptr;
    }
    CFrameWnd* pFrame = nullptr;
    if (IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        pFrame = const_cast<CFrameWnd*>(static_cast<const CFrameWnd*>(this));
    } else {
        pFrame = GetParentFrame();
    }
    while (pFrame) {
        CFrameWnd* pParent = pFrame->GetParentFrame();
        if (!pParent) {
            break;
        }
        pFrame = pParent;
    }
    return pFrame;
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}
void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
    *phWnd = ::GetDlgItem(m_hWnd, nID);
}
int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}
int CWnd::SetDlgCtrlID(int nID) {
    return static_cast<int>(::SetWindowLongW(m_hWnd, GWL_ID, nID));
}

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const {
    return GetDescendantWindow(m_hWnd, nID, bOnlyPerm);
}
CWnd* CWnd::GetDescendantWindow(HWND hWnd, int nID, BOOL bOnlyPerm) {
    if (HWND hChild = ::GetDlgItem(hWnd, nID)) {
        if (CWnd* pWnd = bOnlyPerm ? FromHandlePermanent(hChild) : FromHandle(hChild)) {
            return pWnd;
        }
    }
    for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (CWnd* pWnd = GetDescendantWindow(hChild, nID, bOnlyPerm)) {
            return pWnd;
        }
    }
    return nullptr;
}

CWnd* CWnd::GetWindow(UINT nCmd) const {
    return FromHandle(::GetWindow(m_hWnd, nCmd));
}
CWnd* CWnd::GetTopWindow() const {
    return FromHandle(::GetTopWindow(m_hWnd));
}
CWnd* CWnd::GetLastActivePopup() const {
    return FromHandle(::GetLastActivePopup(m_hWnd));
}
BOOL CWnd::IsChild(const CWnd* pWnd) const {
    return ::IsChild(m_hWnd, SafeHwndOf(pWnd));
}
CWnd* CWnd::ChildWindowFromPoint(POINT point) const {
    return FromHandle(::ChildWindowFromPoint(m_hWnd, point));
}
CWnd* CWnd::WindowFromPoint(POINT point) {
    return FromHandle(::WindowFromPoint(point));
}
CWnd* CWnd::FindWindowW(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
    return FromHandle(::FindWindowW(lpszClassName, lpszWindowName));
}
CWnd* CWnd::GetDesktopWindow() {
    return FromHandle(::GetDesktopWindow());
}
CMenu* CWnd::GetMenu() const {
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}
BOOL CWnd::SetMenu(CMenu* pMenu) {
    return ::SetMenu(m_hWnd, CMenu::SafeHmenuOf(pMenu));
}
void CWnd::DrawMenuBar() {
    ::DrawMenuBar(m_hWnd);
}

// ---- Dialog items

#ifndef BM_GETCHECK
#define BM_GETCHECK 0x00F0
#endif
#ifndef BM_SETCHECK
#define BM_SETCHECK 0x00F1
#endif

LRESULT CWnd::SendDlgItemMessageW(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    return hItem ? ::SendMessageW(hItem, message, wParam, lParam) : 0;
}
void CWnd::SetDlgItemTextW(int nID, LPCTSTR lpszString) {
    if (HWND hItem = ::GetDlgItem(m_hWnd, nID)) {
        ::SetWindowTextW(hItem, lpszString);
    }
}
int CWnd::GetDlgItemTextW(int nID, LPTSTR lpStr, int nMaxCount) const {
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (!hItem) {
        if (lpStr && nMaxCount > 0) {
            lpStr[0] = 0;
        }
        return 0;
    }
    return ::GetWindowTextW(hItem, lpStr, nMaxCount);
}
int CWnd::GetDlgItemTextW(int nID, CString& rString) const {
    rString.Empty();
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (!hItem) {
        return 0;
    }
    int length = ::GetWindowTextLengthW(hItem);
    ::GetWindowTextW(hItem, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer();
    return rString.GetLength();
}
void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned) {
    CString text;
    if (bSigned) {
        text.Format(u"%d", static_cast<int>(nValue));
    } else {
        text.Format(u"%u", nValue);
    }
    SetDlgItemTextW(nID, text);
}
UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const {
    CString text;
    GetDlgItemTextW(nID, text);
    text.Trim();
    std::string narrow;
    for (int i = 0; i < text.GetLength(); ++i) {
        narrow.push_back(static_cast<char>(text[i] < 128 ? text[i] : '?'));
    }
    char* end = nullptr;
    long long value = narrow.empty() ? 0 : std::strtoll(narrow.c_str(), &end, 10);
    bool ok = !narrow.empty() && end && *end == 0 && (bSigned || value >= 0) && value >= INT32_MIN &&
              value <= (bSigned ? INT32_MAX : static_cast<long long>(UINT32_MAX));
    if (lpTrans) {
        *lpTrans = ok ? TRUE : FALSE;
    }
    return ok ? static_cast<UINT>(value) : 0;
}
void CWnd::CheckDlgButton(int nIDButton, UINT nCheck) {
    SendDlgItemMessageW(nIDButton, BM_SETCHECK, nCheck);
}
UINT CWnd::IsDlgButtonChecked(int nIDButton) const {
    return static_cast<UINT>(SendDlgItemMessageW(nIDButton, BM_GETCHECK));
}
void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id) {
        CheckDlgButton(id, id == nIDCheckButton ? 1u : 0u);
    }
}

// ---- Help and boxes

int CWnd::MessageBoxW(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
    if (!lpszCaption) {
        CWinApp* pApp = AfxGetApp();
        lpszCaption = pApp && pApp->m_pszAppName ? pApp->m_pszAppName : u"";
    }
    return ::MessageBoxW(m_hWnd, lpszText, lpszCaption, nType);
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd) {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->WinHelp(dwData, nCmd);
    }
}
