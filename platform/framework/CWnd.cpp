// CWnd's routing: the window procedure and the message map dispatch (commands, notifications, colours),
// the handle maps, the creation hook that attaches an object to its window, and the default handlers.
#include "platform/framework/CWnd.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/DataExchange.h"

#include "platform/base/Exceptions.h"
#include "platform/framework/AfxHandleMap.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

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
    return CreateAttached([&cs] {
        return ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                 cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    });
}

BOOL CWnd::CreateAttached(const std::function<HWND()>& create) {
    CWnd* pSavedInit = t_pWndInit;
    t_pWndInit = this;
    if (t_createDepth++ == 0) {
        // A hook needs the thread's queue; asking anything of the queue makes sure it exists.
        (void)::InSendMessage();
        t_hHookCbt = ::SetWindowsHookExW(WH_CBT, &CbtFilterHook, nullptr, ::GetCurrentThreadId());
    }
    HWND hWnd = create();
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
