#include "toolkit/SECMenuBarMessages.h"

#include "toolkit/SECTBMenuBtn.h"

#include "platform/kernel/Threads.h"

#include <cwctype>
#include <optional>
#include <utility>

namespace {

// One menu mode at a time: the object running it, the bar window whose pop-up is shown, the last pointer
// position, the hooks, and the open request that arrived while a pop-up was shown (a later one replaces it).
struct MenuModeState {
    SECMenuBarMessages* pActive = nullptr;
    HWND hTracked = nullptr;
    CPoint ptLast{-1, -1};
    HHOOK hKeyboard = nullptr;
    HHOOK hMouse = nullptr;
    HHOOK hMsgFilter = nullptr;
    BOOL bSysMenuTracked = FALSE;
    // The system command a double click on the system icon chose; posted once the menu has closed, so that
    // a close does not run inside the menu's loop.
    UINT nSysCommand = 0;
    std::optional<SECNMTOOLBAR> pending;
};

MenuModeState& State() {
    static MenuModeState state;
    return state;
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    SECMenuBarMessages* pActive = State().pActive;
    if (code == HC_ACTION && pActive && !State().hTracked && pActive->FilterKey(wParam, lParam)) {
        return 1;
    }
    return ::CallNextHookEx(State().hKeyboard, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    SECMenuBarMessages* pActive = State().pActive;
    if (code == HC_ACTION && pActive && !State().hTracked && lParam) {
        pActive->FilterMouse(static_cast<UINT>(wParam), reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam)->pt);
    }
    return ::CallNextHookEx(State().hMouse, code, wParam, lParam);
}

LRESULT CALLBACK MsgFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    SECMenuBarMessages* pActive = State().pActive;
    if (code == MSGF_MENU && pActive && lParam && pActive->FilterMenuMessage(*reinterpret_cast<MSG*>(lParam))) {
        return 1;
    }
    return ::CallNextHookEx(State().hMsgFilter, code, wParam, lParam);
}

void Unhook(HHOOK& hook) {
    if (hook) {
        ::UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

} // namespace

UINT SECGetMenuProdMessage() {
    static const UINT message = ::RegisterWindowMessageW(u"WM_SEC_MENUPROD");
    return message;
}

SECMenuBarMessages* SECMenuBarMessages::GetActive() {
    return State().pActive;
}

HWND SECMenuBarMessages::GetTrackedWindow() {
    return State().hTracked;
}

SECMenuBarMessages::~SECMenuBarMessages() {
    MenuModeState& s = State();
    if (s.pActive == this) {
        Unhook(s.hKeyboard);
        Unhook(s.hMouse);
        Unhook(s.hMsgFilter);
        s.pActive = nullptr;
        s.pending.reset();
    }
}

// ---- Hooks

void SECMenuBarMessages::HookKeyboardAndMouse(BOOL bOn) {
    MenuModeState& s = State();
    if (!bOn) {
        Unhook(s.hKeyboard);
        Unhook(s.hMouse);
        return;
    }
    if (!s.hKeyboard) {
        s.hKeyboard = ::SetWindowsHookExW(WH_KEYBOARD, &KeyboardHook, nullptr, ::GetCurrentThreadId());
    }
    if (!s.hMouse) {
        s.hMouse = ::SetWindowsHookExW(WH_MOUSE, &MouseHook, nullptr, ::GetCurrentThreadId());
    }
}

void SECMenuBarMessages::HookMenuMessages(BOOL bOn) {
    MenuModeState& s = State();
    if (!bOn) {
        Unhook(s.hMsgFilter);
    } else if (!s.hMsgFilter) {
        s.hMsgFilter = ::SetWindowsHookExW(WH_MSGFILTER, &MsgFilterHook, nullptr, ::GetCurrentThreadId());
    }
}

BOOL SECMenuBarMessages::FilterKey(WPARAM vk, LPARAM lParam) {
    const bool bUp = (static_cast<DWORD>(lParam) & 0x80000000u) != 0;
    if (vk == VK_MENU) {
        return FALSE;
    }
    if (bUp) {
        return TRUE;
    }
    switch (vk) {
    case VK_ESCAPE:
        CancelMenuMode();
        break;
    case VK_LEFT:
    case VK_RIGHT:
        if (m_pMenuBar) {
            m_pMenuBar->MoveToAdjacent(vk == VK_RIGHT);
        }
        break;
    case VK_DOWN:
        DropDownSelected();
        break;
    default:
        OpenByKey(static_cast<char16_t>(vk), TRUE);
        break;
    }
    return TRUE;
}

void SECMenuBarMessages::FilterMouse(UINT message, CPoint ptScreen) {
    MenuModeState& s = State();
    if (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE) {
        if (ptScreen != s.ptLast) {
            s.ptLast = ptScreen;
            TrackMouseAt(ptScreen);
        }
    } else if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
               message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_NCMBUTTONDOWN) {
        CancelMenuMode();
    }
}

BOOL SECMenuBarMessages::FilterMenuMessage(const MSG& msg) {
    MenuModeState& s = State();
    if (s.bSysMenuTracked && (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK ||
                              msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCLBUTTONDBLCLK) &&
        HitSystemIcon(msg)) {
        CWnd* pFrame = GetFrame();
        pFrame->PostMessage(WM_CANCELMODE);
        if (msg.message == WM_LBUTTONDBLCLK || msg.message == WM_NCLBUTTONDBLCLK) {
            HMENU hSys = SystemMenu();
            UINT nDefault = hSys ? ::GetMenuDefaultItem(hSys, FALSE, GMDI_GOINTOPOPUPS) : static_cast<UINT>(-1);
            if (nDefault != static_cast<UINT>(-1)) {
                s.nSysCommand = nDefault;
            }
        }
        return TRUE;
    }
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT) {
            RequestAdjacentMenu(msg.wParam == VK_RIGHT ? 1 : 0);
        }
        return FALSE;
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) {
            IgnoreNextAltUp();
        }
        return FALSE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
        if (msg.message == WM_MOUSEMOVE && CPoint(msg.pt) == s.ptLast) {
            return TRUE;
        }
        s.ptLast = msg.pt;
        if (m_pMenuBar && s.hTracked && ::WindowFromPoint(msg.pt) == s.hTracked) {
            return m_pMenuBar->FilterMenuModeMessage(msg);
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

// ---- Frame messages

BOOL SECMenuBarMessages::OpenByKey(char16_t ch, BOOL bConsumeUnmatched) {
    if (!m_pMenuBar) {
        return FALSE;
    }
    if (ch == u' ' || ch == u'-') {
        if (m_pMenuBar->IsInMenuMode()) {
            m_pMenuBar->ExitMenuMode();
        }
        m_bPressDown = TRUE;
        m_pMenuBar->OpenSystemMenu();
        return TRUE;
    }
    const auto lower = static_cast<char16_t>(std::towlower(static_cast<wint_t>(ch)));
    int nIndex = m_pMenuBar->FindMnemonic(lower);
    if (nIndex < 0) {
        return bConsumeUnmatched;
    }
    m_bPressDown = TRUE;
    if (m_pMenuBar->IsInMenuMode()) {
        m_pMenuBar->ExitMenuMode();
    }
    m_pMenuBar->MoveMenuTo(nIndex);
    return TRUE;
}

BOOL SECMenuBarMessages::PreTranslate(const MSG& msg) {
    if (!m_pMenuBar || !m_pMenuBar->GetSafeHwnd()) {
        return FALSE;
    }
    if (msg.message == WM_SYSKEYUP && msg.wParam == VK_MENU) {
        if (!m_bIgnoreAltUp) {
            if (m_pMenuBar->IsInMenuMode()) {
                CancelMenuMode();
            } else {
                m_pMenuBar->SelectMenuButton(m_pMenuBar->FirstTopMenuButton());
            }
        }
        m_bIgnoreAltUp = FALSE;
        return TRUE;
    }
    if (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_KEYMENU) {
        return OpenByKey(static_cast<char16_t>(msg.lParam), TRUE);
    }
    if (msg.message == WM_SYSKEYDOWN && msg.wParam != VK_MENU && (::GetKeyState(VK_MENU) & 0x8000)) {
        return OpenByKey(static_cast<char16_t>(msg.wParam), FALSE);
    }
    return FALSE;
}

void SECMenuBarMessages::RequestAdjacentMenu(int nDirection) {
    m_bSelectionChanged = FALSE;
    m_nDirection = nDirection;
    GetFrame()->PostMessage(SECGetMenuProdMessage());
}

BOOL SECMenuBarMessages::OnMenuSelect() {
    m_bSelectionChanged = TRUE;
    return FALSE;
}

void SECMenuBarMessages::OnMenuProd() {
    if (m_bSelectionChanged || !m_pMenuBar) {
        return;
    }
    // The menu did not use the arrow (no submenu opened or closed): the next menu opens.
    m_bPressDown = TRUE;
    m_pMenuBar->MoveToAdjacent(m_nDirection == 1);
}

void SECMenuBarMessages::CancelMenuMode() {
    if (m_pMenuBar && m_pMenuBar->IsInMenuMode()) {
        m_pMenuBar->ExitMenuMode();
    }
    if (State().hTracked) {
        GetFrame()->SendMessage(WM_CANCELMODE);
    }
}

BOOL SECMenuBarMessages::SetMenuById(UINT nID) {
    return m_pMenuBar && m_pMenuBar->SetMenuById(nID);
}

void SECMenuBarMessages::DropDownSelected() {
    if (m_pMenuBar) {
        m_bPressDown = TRUE;
        m_pMenuBar->DropDownSelected();
    }
}

void SECMenuBarMessages::TrackMouseAt(CPoint ptScreen) {
    if (!m_pMenuBar) {
        return;
    }
    CPoint pt = ptScreen;
    m_pMenuBar->ScreenToClient(&pt);
    if (::WindowFromPoint(ptScreen) == m_pMenuBar->m_hWnd) {
        m_pMenuBar->SelectMenuButtonAt(pt);
    }
}

HMENU SECMenuBarMessages::SystemMenu() {
    CWnd* pFrame = GetFrame();
    HMENU hSys = pFrame ? ::GetSystemMenu(pFrame->m_hWnd, FALSE) : nullptr;
    if (hSys && ::GetMenuDefaultItem(hSys, FALSE, GMDI_GOINTOPOPUPS) == static_cast<UINT>(-1)) {
        ::SetMenuDefaultItem(hSys, SC_CLOSE, FALSE);
    }
    return hSys;
}

BOOL SECMenuBarMessages::HitSystemIcon(const MSG& msg) const {
    auto* self = const_cast<SECMenuBarMessages*>(this);
    CWnd* pFrame = self->GetFrame();
    if (!pFrame) {
        return FALSE;
    }
    CRect rect;
    pFrame->GetWindowRect(&rect);
    if (pFrame->GetStyle() & WS_THICKFRAME) {
        rect.DeflateRect(::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME));
    }
    CRect icon(rect.left, rect.top, rect.left + ::GetSystemMetrics(SM_CXSIZE) - 1,
               rect.top + ::GetSystemMetrics(SM_CYSIZE));
    return icon.PtInRect(msg.pt);
}

HMENU SECMenuBarMessages::MenuFor(const SECNMTOOLBAR& nm, BOOL& bSystem) {
    bSystem = FALSE;
    if (static_cast<int>(nm.hdr.code) != SEC_TBN_OPENMENU) {
        return nullptr;
    }
    const LPARAM a = nm.lValueA;
    const LPARAM b = nm.lValueB;
    if (a != 0 && b >= 0) {
        CWnd* pFrame = GetFrame();
        auto hMenu = reinterpret_cast<HMENU>(pFrame->SendMessage(SECGetMenuRequestMessage(), a, b));
        return hMenu ? hMenu : m_pMenuBar->PopupFor(a, static_cast<int>(b));
    }
    if (a != 0) {
        return m_pMenuBar->PopupFor(a, -1);
    }
    if (b == -1) {
        bSystem = TRUE;
        return SystemMenu();
    }
    return nullptr;
}

BOOL SECMenuBarMessages::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (!pHdr || !m_pMenuBar || pHdr->hwndFrom != m_pMenuBar->m_hWnd) {
        return FALSE;
    }
    MenuModeState& s = State();
    const int code = static_cast<int>(pHdr->code);
    switch (code) {
    case SEC_TBN_ENTERMENUMODE:
        s.pActive = this;
        HookKeyboardAndMouse(TRUE);
        break;
    case SEC_TBN_LEAVEMENUMODE:
        HookKeyboardAndMouse(FALSE);
        break;
    case SEC_TBN_OPENMENU:
    case SEC_TBN_CLOSEMENU:
        ProcessOpen(*reinterpret_cast<const SECNMTOOLBAR*>(lParam));
        break;
    default:
        return FALSE;
    }
    if (pResult) {
        *pResult = 0;
    }
    return TRUE;
}

void SECMenuBarMessages::ProcessOpen(const SECNMTOOLBAR& request) {
    MenuModeState& s = State();
    BOOL bSystem = FALSE;
    HMENU hMenu = MenuFor(request, bSystem);
    if (s.hTracked) {
        // A pop-up is shown: it closes, and a menu asked for opens once it has.
        if (hMenu) {
            s.pending = request;
        }
        GetFrame()->SendMessage(WM_CANCELMODE);
        return;
    }
    SECNMTOOLBAR nm = request;
    const HWND hBar = m_pMenuBar->m_hWnd;
    for (;;) {
        s.pActive = this;
        s.hTracked = m_pMenuBar->m_hWnd;
        if (hMenu) {
            if (bSystem) {
                TrackSystemMenu(m_pMenuBar, hMenu, nm);
            } else {
                TrackMenu(m_pMenuBar, hMenu, nm);
            }
        }
        s.hTracked = nullptr;
        if (!::IsWindow(hBar)) {
            s.pending.reset();
            return;
        }
        if (!s.pending) {
            break;
        }
        nm = *s.pending;
        s.pending.reset();
        // The bar may have been destroyed while its menu was shown.
        if (!::IsWindow(nm.hdr.hwndFrom)) {
            return;
        }
        hMenu = MenuFor(nm, bSystem);
    }
    if (!m_pMenuBar->IsInMenuMode()) {
        s.pActive = nullptr;
    }
    m_pMenuBar->OnMenuClosed();
}

void SECMenuBarMessages::TrackMenu(SECMenuBar* pBar, HMENU hMenu, const SECNMTOOLBAR& nm) {
    SECStdBtn* pBtn = pBar->GetButton(nm.nIndex);
    if (!hMenu || !pBtn) {
        return;
    }
    CRect rect = pBtn->GetRect();
    pBar->ClientToScreen(&rect);
    HookMenuMessages(TRUE);
    ::TrackPopupMenu(hMenu, 0, rect.left, rect.bottom, 0, GetFrame()->m_hWnd, &rect);
    HookMenuMessages(FALSE);
}

void SECMenuBarMessages::TrackSystemMenu(SECMenuBar*, HMENU hMenu, const SECNMTOOLBAR&) {
    CWnd* pFrame = GetFrame();
    if (!hMenu || !pFrame) {
        return;
    }
    CRect window;
    pFrame->GetWindowRect(&window);
    CRect icon(CPoint(window.left + ::GetSystemMetrics(SM_CXFRAME), window.top + ::GetSystemMetrics(SM_CYFRAME)),
               CSize(::GetSystemMetrics(SM_CXSIZE), ::GetSystemMetrics(SM_CYSIZE)));
    HookMenuMessages(TRUE);
    State().bSysMenuTracked = TRUE;
    State().nSysCommand = 0;
    UINT nCmd = static_cast<UINT>(
        ::TrackPopupMenu(hMenu, TPM_RETURNCMD, icon.left, icon.bottom, 0, pFrame->m_hWnd, &icon));
    State().bSysMenuTracked = FALSE;
    HookMenuMessages(FALSE);
    if (!nCmd) {
        nCmd = std::exchange(State().nSysCommand, 0u);
    }
    if (nCmd) {
        pFrame->PostMessage(WM_SYSCOMMAND, nCmd);
    }
}

BOOL SECMenuBarMessages::OnInitMenuPopup() {
    if (m_bPressDown) {
        m_bPressDown = FALSE;
        GetFrame()->PostMessage(WM_KEYDOWN, VK_DOWN);
    }
    return FALSE;
}

BOOL SECMenuBarMessages::OnSysCommand(UINT nID, LPARAM) {
    if (nID == 0xF093 && m_pMenuBar) {
        m_pMenuBar->OpenSystemMenu();
        return TRUE;
    }
    return FALSE;
}

BOOL SECMenuBarMessages::OnNcActivate(BOOL bActive) {
    if (!bActive) {
        CancelMenuMode();
    }
    return FALSE;
}
