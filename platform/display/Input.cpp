// Input: injection into the queues, the processing of mouse and keyboard events as a thread takes them
// (hit testing, double clicks, WM_PARENTNOTIFY, WM_MOUSEACTIVATE, WM_SETCURSOR, key states), the character
// translation, and the keyboard tables (a US layout).
#include "platform/display/DisplayInternal.h"

#include "platform/kernel/Threads.h"

#include <algorithm>
#include <cstdlib>

namespace display_detail {
namespace {

bool IsButtonDown(UINT kind) {
    return kind == WM_LBUTTONDOWN || kind == WM_RBUTTONDOWN || kind == WM_MBUTTONDOWN ||
           kind == WM_XBUTTONDOWN;
}

bool IsButtonUp(UINT kind) {
    return kind == WM_LBUTTONUP || kind == WM_RBUTTONUP || kind == WM_MBUTTONUP || kind == WM_XBUTTONUP;
}

UINT ButtonVk(UINT kind, WORD xbutton) {
    switch (kind) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return VK_LBUTTON;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return VK_RBUTTON;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return VK_MBUTTON;
    default:
        return xbutton == 2 ? VK_XBUTTON2 : VK_XBUTTON1;
    }
}

UINT NonClientMessage(UINT kind) {
    if (kind >= WM_XBUTTONDOWN && kind <= WM_XBUTTONDBLCLK) {
        return kind - WM_XBUTTONDOWN + 0x00AB;
    }
    return kind - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
}

WPARAM MouseKeysLocked(const BYTE* keys) {
    WPARAM k = 0;
    if (keys[VK_LBUTTON] & 0x80) {
        k |= MK_LBUTTON;
    }
    if (keys[VK_RBUTTON] & 0x80) {
        k |= MK_RBUTTON;
    }
    if (keys[VK_MBUTTON] & 0x80) {
        k |= MK_MBUTTON;
    }
    if (keys[VK_XBUTTON1] & 0x80) {
        k |= MK_XBUTTON1;
    }
    if (keys[VK_XBUTTON2] & 0x80) {
        k |= MK_XBUTTON2;
    }
    if (keys[VK_SHIFT] & 0x80) {
        k |= MK_SHIFT;
    }
    if (keys[VK_CONTROL] & 0x80) {
        k |= MK_CONTROL;
    }
    return k;
}

void SetKey(BYTE* state, UINT vk, bool down, bool toggle) {
    BYTE& s = state[vk & 0xFF];
    if (down) {
        if (toggle && !(s & 0x80)) {
            s ^= 0x01;
        }
        s |= 0x80;
    } else {
        s &= static_cast<BYTE>(~0x80);
    }
}

// Applies a key transition to a state table, keeping the left/right and generic keys consistent.
void ApplyKey(BYTE* state, UINT vk, UINT specific, bool down) {
    SetKey(state, specific, down, true);
    if (vk != specific) {
        UINT left = 0;
        UINT right = 0;
        if (vk == VK_SHIFT) {
            left = VK_LSHIFT;
            right = VK_RSHIFT;
        } else if (vk == VK_CONTROL) {
            left = VK_LCONTROL;
            right = VK_RCONTROL;
        } else {
            left = VK_LMENU;
            right = VK_RMENU;
        }
        bool any = (state[left] & 0x80) || (state[right] & 0x80);
        SetKey(state, vk, any, true);
    }
}

ThreadQueue* InputQueueLocked(HWND target) {
    Window* w = FindQuietLocked(target);
    auto q = w ? QueueOfLocked(w->tid) : nullptr;
    return q && q->alive ? q.get() : nullptr;
}

ThreadQueue* KeyboardQueueLocked() {
    Globals& g = G();
    if (ThreadQueue* q = InputQueueLocked(g.foreground)) {
        return q;
    }
    return &CurrentQueueLocked();
}

// The top-level window under a point, without asking any window (which thread gets the event).
HWND StructuralTopLevelLocked(POINT screen) {
    for (HWND top : FindQuietLocked(G().desktop)->children) {
        Window* t = FindQuietLocked(top);
        if (!t || !(t->style & WS_VISIBLE) || t->isMessageOnly) {
            continue;
        }
        RECT rc = WindowRectScreenLocked(*t);
        if (PtInRect(&rc, screen)) {
            return top;
        }
    }
    return nullptr;
}

bool TakeEventLocked(ThreadQueue& q, std::uint64_t seq, QueuedInput* copy, bool erase) {
    auto it =
        std::find_if(q.input.begin(), q.input.end(), [seq](const QueuedInput& in) { return in.seq == seq; });
    if (it == q.input.end()) {
        return false;
    }
    if (copy) {
        *copy = *it;
    }
    if (erase) {
        q.input.erase(it);
    }
    return true;
}

void SendParentNotifyForClick(HWND hwnd, UINT msg, POINT screen, WORD xbutton) {
    HWND cur = hwnd;
    for (;;) {
        HWND parent = nullptr;
        POINT pt = screen;
        {
            Lock lock = LockState();
            Window* w = FindQuietLocked(cur);
            if (!w || !(w->style & WS_CHILD) || (w->exStyle & WS_EX_NOPARENTNOTIFY) ||
                w->parent == G().desktop) {
                return;
            }
            parent = w->parent;
            Window* p = FindQuietLocked(parent);
            if (!p) {
                return;
            }
            POINT o = ClientOriginScreenLocked(*p);
            pt.x -= o.x;
            pt.y -= o.y;
        }
        SendMessageW(parent, WM_PARENTNOTIFY, MAKEWPARAM(msg, xbutton), MAKELPARAM(pt.x, pt.y));
        cur = parent;
    }
}

void MouseLeaveCheck(ThreadQueue& q, HWND hwnd, bool client) {
    Lock lock = LockState();
    HWND over = q.mouseOver;
    if (!over) {
        return;
    }
    Window* w = FindQuietLocked(over);
    if (!w) {
        q.mouseOver = nullptr;
        return;
    }
    bool nonclient = (w->trackFlags & TME_NONCLIENT) != 0;
    bool still = over == hwnd && (nonclient || client);
    if (still) {
        return;
    }
    w->trackFlags &= ~static_cast<DWORD>(TME_LEAVE | TME_NONCLIENT);
    q.mouseOver = nullptr;
    q.posted.emplace_back(
        MSG{over, nonclient ? static_cast<UINT>(WM_NCMOUSELEAVE) : static_cast<UINT>(WM_MOUSELEAVE), 0, 0,
            static_cast<DWORD>(Now()), G().cursorPos},
        0);
    WakeLocked(q, QS_POSTMESSAGE);
}

} // namespace

bool ProcessMouseInput(ThreadQueue& q, std::uint64_t seq, HWND filter, UINT minMsg, UINT maxMsg, bool remove,
                       MSG* out, bool& consumed) {
    QueuedInput ev;
    HWND capture = nullptr;
    HWND focusOrActive = nullptr;
    {
        Lock lock = LockState();
        if (!TakeEventLocked(q, seq, &ev, false)) {
            return false;
        }
        Window* c = FindQuietLocked(G().capture);
        capture = c && c->tid == q.tid ? G().capture : nullptr;
        focusOrActive = q.focus ? q.focus : q.active;
    }
    HWND hwnd = nullptr;
    int hit = HTCLIENT;
    bool wheel = ev.kind == WM_MOUSEWHEEL || ev.kind == WM_MOUSEHWHEEL;
    if (wheel) {
        hwnd = focusOrActive;
    } else if (capture) {
        hwnd = capture;
    } else {
        hwnd = WindowFromPointHit(ev.pt, &hit);
    }
    auto drop = [&] {
        Lock lock = LockState();
        TakeEventLocked(q, seq, nullptr, true);
        consumed = true;
        return false;
    };
    if (!hwnd) {
        return drop();
    }
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            TakeEventLocked(q, seq, nullptr, true);
            consumed = true;
            return false;
        }
        if (w->tid != q.tid) {
            // The window under the point belongs to another thread: the event moves there.
            ThreadQueue* other = InputQueueLocked(hwnd);
            if (TakeEventLocked(q, seq, nullptr, true) && other) {
                other->input.push_back(ev);
                WakeLocked(*other, ev.kind == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON);
            }
            consumed = true;
            return false;
        }
    }
    if (hit == HTERROR) {
        // A disabled window: the press beeps and brings its active popup forward; nothing reaches it.
        if (remove) {
            Lock lock = LockState();
            if (!TakeEventLocked(q, seq, nullptr, true)) {
                consumed = true;
                return false;
            }
            lock.unlock();
            SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTERROR, ev.kind));
            if (IsButtonDown(ev.kind)) {
                HWND top = GetAncestor(hwnd, GA_ROOT);
                HWND popup = GetLastActivePopup(top);
                if (popup && popup != top) {
                    SetForegroundWindow(popup);
                }
            }
            consumed = true;
        }
        return false;
    }

    bool client = hit == HTCLIENT || capture || wheel;
    MSG msg{};
    msg.hwnd = hwnd;
    msg.time = ev.time;
    msg.pt = ev.pt;
    UINT kind = ev.kind;
    POINT clientPt = ev.pt;
    UINT clsStyle = 0;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w) {
            return drop();
        }
        POINT o = ClientOriginScreenLocked(*w);
        clientPt.x -= o.x;
        clientPt.y -= o.y;
        clsStyle = w->cls->style;
    }
    UINT message = client ? kind : NonClientMessage(kind);
    bool dblclk = false;
    if (IsButtonDown(kind) && (!client || (clsStyle & CS_DBLCLKS))) {
        Lock lock = LockState();
        const Click& last = q.lastClick;
        int halfX = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
        int halfY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        if (last.hwnd == hwnd && last.message == message && ev.time - last.time <= G().doubleClickTime &&
            std::abs(ev.pt.x - last.pt.x) <= halfX && std::abs(ev.pt.y - last.pt.y) <= halfY) {
            dblclk = true;
        }
    }
    UINT finalMessage = dblclk ? message + 2 : message;
    if (wheel) {
        msg.wParam = MAKEWPARAM(ev.keys, static_cast<WORD>(static_cast<short>(ev.wheel)));
        msg.lParam = MAKELPARAM(ev.pt.x, ev.pt.y);
    } else if (client) {
        WORD extra = (kind >= WM_XBUTTONDOWN && kind <= WM_XBUTTONDBLCLK) ? ev.xbutton : 0;
        msg.wParam = MAKEWPARAM(ev.keys, extra);
        msg.lParam = MAKELPARAM(clientPt.x, clientPt.y);
    } else {
        WORD extra = (kind >= WM_XBUTTONDOWN && kind <= WM_XBUTTONDBLCLK) ? ev.xbutton : 0;
        msg.wParam = MAKEWPARAM(static_cast<WORD>(hit), extra);
        msg.lParam = MAKELPARAM(ev.pt.x, ev.pt.y);
    }
    msg.message = finalMessage;
    {
        Lock lock = LockState();
        if (!MessageMatches(filter, minMsg, maxMsg, hwnd, finalMessage)) {
            return false;
        }
    }
    if (!remove) {
        *out = msg;
        return true;
    }
    {
        Lock lock = LockState();
        if (!TakeEventLocked(q, seq, nullptr, true)) {
            consumed = true;
            return false;
        }
        if (IsButtonDown(kind)) {
            if (dblclk) {
                q.lastClick = Click{};
            } else if (!client || (clsStyle & CS_DBLCLKS)) {
                q.lastClick = Click{hwnd, message, ev.time, ev.pt};
            } else {
                q.lastClick = Click{};
            }
            SetKey(q.keyState, ButtonVk(kind, ev.xbutton), true, true);
        } else if (IsButtonUp(kind)) {
            SetKey(q.keyState, ButtonVk(kind, ev.xbutton), false, false);
        }
        q.extraInfo = ev.extraInfo;
    }
    if (HasHooks(WH_MOUSE)) {
        MOUSEHOOKSTRUCT mhs{ev.pt, hwnd, static_cast<UINT>(hit), ev.extraInfo};
        if (CallHooks(WH_MOUSE, HC_ACTION, finalMessage, reinterpret_cast<LPARAM>(&mhs))) {
            if (IsButtonDown(kind) && HasHooks(WH_CBT)) {
                CallHooks(WH_CBT, HCBT_CLICKSKIPPED, finalMessage, reinterpret_cast<LPARAM>(&mhs));
            }
            consumed = true;
            return false;
        }
    }
    if (!wheel) {
        MouseLeaveCheck(q, hwnd, client);
    }
    bool eat = false;
    if (IsButtonDown(kind) && !capture && !wheel) {
        if (client && !dblclk) {
            SendParentNotifyForClick(hwnd, kind, ev.pt, ev.xbutton);
        }
        if (IsWindow(hwnd)) {
            HWND top = GetAncestor(hwnd, GA_ROOT);
            if (hwnd != GetActiveWindow()) {
                LRESULT r = SendMessageW(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                         MAKELPARAM(hit, kind));
                eat = r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT;
                if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT && top && top != GetActiveWindow() &&
                    IsWindow(top)) {
                    SetActiveInternal(top, true);
                }
            }
        }
    }
    if (!capture && !wheel && IsWindow(hwnd)) {
        SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(hit, kind));
    }
    if (eat || !IsWindow(hwnd)) {
        consumed = true;
        return false;
    }
    *out = msg;
    return true;
}

bool ProcessKeyInput(ThreadQueue& q, std::uint64_t seq, HWND filter, UINT minMsg, UINT maxMsg, bool remove,
                     MSG* out, bool& consumed) {
    QueuedInput ev;
    MSG msg{};
    {
        Lock lock = LockState();
        if (!TakeEventLocked(q, seq, &ev, false)) {
            return false;
        }
        HWND hwnd = q.focus;
        bool sys = ev.sys;
        if (!hwnd) {
            hwnd = q.active;
            sys = true;
        }
        if (!hwnd) {
            TakeEventLocked(q, seq, nullptr, true);
            consumed = true;
            return false;
        }
        msg.hwnd = hwnd;
        msg.time = ev.time;
        msg.pt = G().cursorPos;
        if (ev.kind == WM_CHAR) {
            msg.message = q.focus ? WM_CHAR : WM_SYSCHAR;
            msg.wParam = ev.keys;
            msg.lParam = 1;
        } else {
            bool down = ev.kind == WM_KEYDOWN;
            msg.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
            msg.wParam = ev.keys & 0xFF;
            msg.lParam = ev.lParam;
        }
        if (!MessageMatches(filter, minMsg, maxMsg, hwnd, msg.message)) {
            return false;
        }
        if (!remove) {
            *out = msg;
            return true;
        }
        TakeEventLocked(q, seq, nullptr, true);
        if (ev.kind != WM_CHAR) {
            UINT specific = static_cast<UINT>(ev.keys >> 8);
            ApplyKey(q.keyState, static_cast<UINT>(ev.keys & 0xFF), specific ? specific : (ev.keys & 0xFF),
                     ev.kind == WM_KEYDOWN);
            q.lastKey = msg;
            q.lastKeyMode = ev.textMode;
            q.lastKeyText = ev.text;
            q.lastKeyDead = ev.dead;
        }
        q.extraInfo = ev.extraInfo;
    }
    if (ev.kind != WM_CHAR && HasHooks(WH_KEYBOARD)) {
        if (CallHooks(WH_KEYBOARD, HC_ACTION, msg.wParam, msg.lParam)) {
            if (HasHooks(WH_CBT)) {
                CallHooks(WH_CBT, HCBT_KEYSKIPPED, msg.wParam, msg.lParam);
            }
            consumed = true;
            return false;
        }
    }
    *out = msg;
    return true;
}

} // namespace display_detail

using namespace display_detail;

BOOL DisplayInjectMouse(UINT message, POINT screen, int wheelDelta, WORD xButton) {
    bool valid = message == WM_MOUSEMOVE ||
                 (message >= WM_LBUTTONDOWN && message <= WM_MOUSEHWHEEL && message != WM_LBUTTONDBLCLK &&
                  message != WM_RBUTTONDBLCLK && message != WM_MBUTTONDBLCLK && message != WM_XBUTTONDBLCLK);
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    Globals& g = G();
    if (g.clipCursorOn) {
        screen.x = std::clamp<LONG>(screen.x, g.clipCursor.left, g.clipCursor.right - 1);
        screen.y = std::clamp<LONG>(screen.y, g.clipCursor.top, g.clipCursor.bottom - 1);
    }
    g.cursorPos = screen;
    if (IsButtonDown(message)) {
        SetKey(g.asyncKeys, ButtonVk(message, xButton), true, true);
    } else if (IsButtonUp(message)) {
        SetKey(g.asyncKeys, ButtonVk(message, xButton), false, false);
    }
    ThreadQueue* q = nullptr;
    if (message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL) {
        q = KeyboardQueueLocked();
    } else if (Window* c = FindQuietLocked(g.capture)) {
        q = InputQueueLocked(c->hwnd);
    } else {
        q = InputQueueLocked(StructuralTopLevelLocked(screen));
    }
    if (!q) {
        return TRUE; // over no window of this process
    }
    QueuedInput in;
    in.seq = ++g.inputSeq;
    in.kind = message;
    in.pt = screen;
    in.time = static_cast<DWORD>(Now());
    in.keys = MouseKeysLocked(g.asyncKeys);
    in.wheel = wheelDelta;
    in.xbutton = xButton;
    if (message == WM_MOUSEMOVE && !q->input.empty() && q->input.back().kind == WM_MOUSEMOVE &&
        q->input.back().keys == in.keys) {
        // Moves not yet taken merge into the latest.
        q->input.back().pt = screen;
        q->input.back().time = in.time;
    } else {
        q->input.push_back(in);
    }
    WakeLocked(*q, message == WM_MOUSEMOVE ? QS_MOUSEMOVE : QS_MOUSEBUTTON);
    return TRUE;
}

BOOL DisplayInjectKey(UINT virtualKey, UINT scanCode, BOOL down, BOOL extended, DisplayKeyText textMode,
                      const std::u16string& text, BOOL dead) {
    if (virtualKey == 0 || virtualKey > 0xFE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    UINT specific = virtualKey;
    UINT generic = virtualKey;
    switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        generic = VK_SHIFT;
        break;
    case VK_LCONTROL:
    case VK_RCONTROL:
        generic = VK_CONTROL;
        extended = extended || virtualKey == VK_RCONTROL;
        break;
    case VK_LMENU:
    case VK_RMENU:
        generic = VK_MENU;
        extended = extended || virtualKey == VK_RMENU;
        break;
    case VK_SHIFT:
        specific = VK_LSHIFT;
        break;
    case VK_CONTROL:
        specific = extended ? VK_RCONTROL : VK_LCONTROL;
        break;
    case VK_MENU:
        specific = extended ? VK_RMENU : VK_LMENU;
        break;
    default:
        break;
    }
    if (!scanCode) {
        scanCode = MapVirtualKeyW(specific, MAPVK_VK_TO_VSC);
    }
    Lock lock = LockState();
    Globals& g = G();
    bool wasDown = (g.asyncKeys[specific] & 0x80) != 0;
    ApplyKey(g.asyncKeys, generic, specific, down != FALSE);
    bool alt = (g.asyncKeys[VK_MENU] & 0x80) != 0;
    bool ctrl = (g.asyncKeys[VK_CONTROL] & 0x80) != 0;
    bool sys = (alt && !ctrl) || generic == VK_F10 || (generic == VK_MENU && !ctrl);
    LPARAM lParam = 1 | (static_cast<LPARAM>(scanCode & 0xFF) << 16);
    if (extended) {
        lParam |= LPARAM{1} << 24;
    }
    if (alt) {
        lParam |= LPARAM{1} << 29;
    }
    if (!down || wasDown) {
        lParam |= LPARAM{1} << 30;
    }
    if (!down) {
        lParam |= static_cast<LPARAM>(0x80000000u);
    }
    ThreadQueue* q = KeyboardQueueLocked();
    QueuedInput in;
    in.seq = ++g.inputSeq;
    in.kind = down ? WM_KEYDOWN : WM_KEYUP;
    in.pt = g.cursorPos;
    in.time = static_cast<DWORD>(Now());
    in.keys = generic | (specific << 8);
    in.lParam = static_cast<LPARAM>(static_cast<std::uint32_t>(lParam));
    in.sys = sys;
    in.textMode =
        textMode == DisplayKeyText::Given
            ? KeyTextMode::Given
            : (textMode == DisplayKeyText::ControlOnly ? KeyTextMode::ControlOnly : KeyTextMode::Derive);
    in.text = text;
    in.dead = dead != FALSE;
    q->input.push_back(in);
    WakeLocked(*q, QS_KEY);
    return TRUE;
}

BOOL DisplayInjectText(const std::u16string& text) {
    Lock lock = LockState();
    Globals& g = G();
    ThreadQueue* q = KeyboardQueueLocked();
    for (char16_t unit : text) {
        QueuedInput in;
        in.seq = ++g.inputSeq;
        in.kind = WM_CHAR;
        in.pt = g.cursorPos;
        in.time = static_cast<DWORD>(Now());
        in.keys = unit;
        q->input.push_back(in);
    }
    if (!text.empty()) {
        WakeLocked(*q, QS_KEY);
    }
    return TRUE;
}

// ---- Key states

SHORT GetKeyState(int virtKey) {
    Lock lock = LockState();
    BYTE s = CurrentQueueLocked().keyState[virtKey & 0xFF];
    return static_cast<SHORT>(((s & 0x80) ? 0x8000 : 0) | (s & 0x01));
}

SHORT GetAsyncKeyState(int virtKey) {
    Lock lock = LockState();
    BYTE s = G().asyncKeys[virtKey & 0xFF];
    return static_cast<SHORT>((s & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(LPBYTE keyState) {
    if (!keyState) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    std::copy_n(CurrentQueueLocked().keyState, 256, keyState);
    return TRUE;
}

BOOL SetKeyboardState(const BYTE* keyState) {
    if (!keyState) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    std::copy_n(keyState, 256, CurrentQueueLocked().keyState);
    return TRUE;
}

UINT GetDoubleClickTime() {
    Lock lock = LockState();
    return G().doubleClickTime;
}

BOOL SetDoubleClickTime(UINT milliseconds) {
    Lock lock = LockState();
    G().doubleClickTime = milliseconds ? milliseconds : 500;
    return TRUE;
}

// ---- The US keyboard layout

namespace {

struct KeyInfo {
    UINT vk;
    UINT scan;
    bool extended;
    char16_t normal;
    char16_t shifted;
    const char* name;
};

const KeyInfo kKeys[] = {
    {VK_ESCAPE, 0x01, false, 0x1B, 0x1B, "Esc"},
    {'1', 0x02, false, u'1', u'!', "1"},
    {'2', 0x03, false, u'2', u'@', "2"},
    {'3', 0x04, false, u'3', u'#', "3"},
    {'4', 0x05, false, u'4', u'$', "4"},
    {'5', 0x06, false, u'5', u'%', "5"},
    {'6', 0x07, false, u'6', u'^', "6"},
    {'7', 0x08, false, u'7', u'&', "7"},
    {'8', 0x09, false, u'8', u'*', "8"},
    {'9', 0x0A, false, u'9', u'(', "9"},
    {'0', 0x0B, false, u'0', u')', "0"},
    {VK_OEM_MINUS, 0x0C, false, u'-', u'_', "-"},
    {VK_OEM_PLUS, 0x0D, false, u'=', u'+', "="},
    {VK_BACK, 0x0E, false, 0x08, 0x08, "Backspace"},
    {VK_TAB, 0x0F, false, 0x09, 0x09, "Tab"},
    {'Q', 0x10, false, u'q', u'Q', "Q"},
    {'W', 0x11, false, u'w', u'W', "W"},
    {'E', 0x12, false, u'e', u'E', "E"},
    {'R', 0x13, false, u'r', u'R', "R"},
    {'T', 0x14, false, u't', u'T', "T"},
    {'Y', 0x15, false, u'y', u'Y', "Y"},
    {'U', 0x16, false, u'u', u'U', "U"},
    {'I', 0x17, false, u'i', u'I', "I"},
    {'O', 0x18, false, u'o', u'O', "O"},
    {'P', 0x19, false, u'p', u'P', "P"},
    {VK_OEM_4, 0x1A, false, u'[', u'{', "["},
    {VK_OEM_6, 0x1B, false, u']', u'}', "]"},
    {VK_RETURN, 0x1C, false, 0x0D, 0x0D, "Enter"},
    {VK_LCONTROL, 0x1D, false, 0, 0, "Ctrl"},
    {VK_CONTROL, 0x1D, false, 0, 0, "Ctrl"},
    {'A', 0x1E, false, u'a', u'A', "A"},
    {'S', 0x1F, false, u's', u'S', "S"},
    {'D', 0x20, false, u'd', u'D', "D"},
    {'F', 0x21, false, u'f', u'F', "F"},
    {'G', 0x22, false, u'g', u'G', "G"},
    {'H', 0x23, false, u'h', u'H', "H"},
    {'J', 0x24, false, u'j', u'J', "J"},
    {'K', 0x25, false, u'k', u'K', "K"},
    {'L', 0x26, false, u'l', u'L', "L"},
    {VK_OEM_1, 0x27, false, u';', u':', ";"},
    {VK_OEM_7, 0x28, false, u'\'', u'"', "'"},
    {VK_OEM_3, 0x29, false, u'`', u'~', "`"},
    {VK_LSHIFT, 0x2A, false, 0, 0, "Shift"},
    {VK_SHIFT, 0x2A, false, 0, 0, "Shift"},
    {VK_OEM_5, 0x2B, false, u'\\', u'|', "\\"},
    {'Z', 0x2C, false, u'z', u'Z', "Z"},
    {'X', 0x2D, false, u'x', u'X', "X"},
    {'C', 0x2E, false, u'c', u'C', "C"},
    {'V', 0x2F, false, u'v', u'V', "V"},
    {'B', 0x30, false, u'b', u'B', "B"},
    {'N', 0x31, false, u'n', u'N', "N"},
    {'M', 0x32, false, u'm', u'M', "M"},
    {VK_OEM_COMMA, 0x33, false, u',', u'<', ","},
    {VK_OEM_PERIOD, 0x34, false, u'.', u'>', "."},
    {VK_OEM_2, 0x35, false, u'/', u'?', "/"},
    {VK_RSHIFT, 0x36, false, 0, 0, "Right Shift"},
    {VK_MULTIPLY, 0x37, false, u'*', u'*', "Num *"},
    {VK_LMENU, 0x38, false, 0, 0, "Alt"},
    {VK_MENU, 0x38, false, 0, 0, "Alt"},
    {VK_SPACE, 0x39, false, u' ', u' ', "Space"},
    {VK_CAPITAL, 0x3A, false, 0, 0, "Caps Lock"},
    {VK_F1, 0x3B, false, 0, 0, "F1"},
    {VK_F2, 0x3C, false, 0, 0, "F2"},
    {VK_F3, 0x3D, false, 0, 0, "F3"},
    {VK_F4, 0x3E, false, 0, 0, "F4"},
    {VK_F5, 0x3F, false, 0, 0, "F5"},
    {VK_F6, 0x40, false, 0, 0, "F6"},
    {VK_F7, 0x41, false, 0, 0, "F7"},
    {VK_F8, 0x42, false, 0, 0, "F8"},
    {VK_F9, 0x43, false, 0, 0, "F9"},
    {VK_F10, 0x44, false, 0, 0, "F10"},
    {VK_NUMLOCK, 0x45, false, 0, 0, "Num Lock"},
    {VK_SCROLL, 0x46, false, 0, 0, "Scroll Lock"},
    {VK_NUMPAD7, 0x47, false, u'7', u'7', "Num 7"},
    {VK_NUMPAD8, 0x48, false, u'8', u'8', "Num 8"},
    {VK_NUMPAD9, 0x49, false, u'9', u'9', "Num 9"},
    {VK_SUBTRACT, 0x4A, false, u'-', u'-', "Num -"},
    {VK_NUMPAD4, 0x4B, false, u'4', u'4', "Num 4"},
    {VK_NUMPAD5, 0x4C, false, u'5', u'5', "Num 5"},
    {VK_NUMPAD6, 0x4D, false, u'6', u'6', "Num 6"},
    {VK_ADD, 0x4E, false, u'+', u'+', "Num +"},
    {VK_NUMPAD1, 0x4F, false, u'1', u'1', "Num 1"},
    {VK_NUMPAD2, 0x50, false, u'2', u'2', "Num 2"},
    {VK_NUMPAD3, 0x51, false, u'3', u'3', "Num 3"},
    {VK_NUMPAD0, 0x52, false, u'0', u'0', "Num 0"},
    {VK_DECIMAL, 0x53, false, u'.', u'.', "Num Del"},
    {VK_OEM_102, 0x56, false, u'\\', u'|', "\\"},
    {VK_F11, 0x57, false, 0, 0, "F11"},
    {VK_F12, 0x58, false, 0, 0, "F12"},
    {VK_RCONTROL, 0x1D, true, 0, 0, "Right Ctrl"},
    {VK_RMENU, 0x38, true, 0, 0, "Right Alt"},
    {VK_DIVIDE, 0x35, true, u'/', u'/', "Num /"},
    {VK_HOME, 0x47, true, 0, 0, "Home"},
    {VK_UP, 0x48, true, 0, 0, "Up"},
    {VK_PRIOR, 0x49, true, 0, 0, "Page Up"},
    {VK_LEFT, 0x4B, true, 0, 0, "Left"},
    {VK_RIGHT, 0x4D, true, 0, 0, "Right"},
    {VK_END, 0x4F, true, 0, 0, "End"},
    {VK_DOWN, 0x50, true, 0, 0, "Down"},
    {VK_NEXT, 0x51, true, 0, 0, "Page Down"},
    {VK_INSERT, 0x52, true, 0, 0, "Insert"},
    {VK_DELETE, 0x53, true, 0, 0, "Delete"},
    {VK_LWIN, 0x5B, true, 0, 0, "Left Logo"},
    {VK_RWIN, 0x5C, true, 0, 0, "Right Logo"},
    {VK_APPS, 0x5D, true, 0, 0, "Application"},
    {VK_SNAPSHOT, 0x37, true, 0, 0, "Prnt Scrn"},
    {VK_PAUSE, 0x45, true, 0, 0, "Pause"},
};

const KeyInfo* ByVk(UINT vk) {
    for (const KeyInfo& k : kKeys) {
        if (k.vk == vk) {
            return &k;
        }
    }
    return nullptr;
}

const KeyInfo* ByScan(UINT scan, bool extended) {
    for (const KeyInfo& k : kKeys) {
        if (k.scan == scan && k.extended == extended) {
            return &k;
        }
    }
    return nullptr;
}

} // namespace

namespace display_detail {

// The characters a key-down makes with a key state: control characters with Ctrl, the shifted or unshifted
// character otherwise.
std::u16string DeriveChars(UINT vk, const BYTE* state, bool controlOnly) {
    bool ctrl = (state[VK_CONTROL] & 0x80) != 0;
    bool alt = (state[VK_MENU] & 0x80) != 0;
    bool shift = (state[VK_SHIFT] & 0x80) != 0;
    bool caps = (state[VK_CAPITAL] & 0x01) != 0;
    if (ctrl && alt) {
        return {};
    }
    if (ctrl) {
        if (vk >= 'A' && vk <= 'Z') {
            return std::u16string(1, static_cast<char16_t>(vk - 'A' + 1));
        }
        switch (vk) {
        case VK_OEM_4:
            return u"\x1b";
        case VK_OEM_5:
            return u"\x1c";
        case VK_OEM_6:
            return u"\x1d";
        case '6':
            return shift ? u"\x1e" : u"";
        case VK_OEM_MINUS:
            return shift ? u"\x1f" : u"";
        case VK_BACK:
            return u"\x7f";
        case VK_RETURN:
            return u"\n";
        case VK_SPACE:
            return u" ";
        case VK_ESCAPE:
            return u"\x1b";
        case VK_CANCEL:
            return u"\x03";
        default:
            return {};
        }
    }
    switch (vk) {
    case VK_BACK:
        return u"\b";
    case VK_TAB:
        return u"\t";
    case VK_RETURN:
        return u"\r";
    case VK_ESCAPE:
        return u"\x1b";
    default:
        break;
    }
    if (controlOnly) {
        return {};
    }
    const KeyInfo* k = ByVk(vk);
    if (!k || !k->normal) {
        return {};
    }
    char16_t c = shift ? k->shifted : k->normal;
    if (vk >= 'A' && vk <= 'Z' && caps) {
        c = shift ? k->normal : k->shifted;
    }
    return std::u16string(1, c);
}

} // namespace display_detail

BOOL TranslateMessage(const MSG* msg) {
    if (!msg) {
        return FALSE;
    }
    if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) {
        return TRUE;
    }
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) {
        return FALSE;
    }
    std::u16string chars;
    bool dead = false;
    {
        Lock lock = LockState();
        ThreadQueue& q = CurrentQueueLocked();
        bool fromQueue = q.lastKey.hwnd == msg->hwnd && q.lastKey.message == msg->message &&
                         q.lastKey.wParam == msg->wParam && q.lastKey.lParam == msg->lParam;
        KeyTextMode mode = fromQueue ? q.lastKeyMode : KeyTextMode::Derive;
        dead = fromQueue && q.lastKeyDead;
        if (mode == KeyTextMode::Given) {
            chars = q.lastKeyText;
        } else {
            chars = DeriveChars(static_cast<UINT>(msg->wParam), q.keyState, mode == KeyTextMode::ControlOnly);
        }
    }
    bool sys = msg->message == WM_SYSKEYDOWN;
    UINT charMsg = dead ? (sys ? WM_SYSDEADCHAR : WM_DEADCHAR) : (sys ? WM_SYSCHAR : WM_CHAR);
    for (char16_t c : chars) {
        PostMessageW(msg->hwnd, charMsg, c, msg->lParam);
    }
    return TRUE;
}

UINT MapVirtualKeyW(UINT code, UINT mapType) {
    switch (mapType) {
    case MAPVK_VK_TO_VSC: {
        const KeyInfo* k = ByVk(code);
        return k ? k->scan : 0;
    }
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
        bool extended = (code & 0xFF00) == 0xE000;
        const KeyInfo* k = ByScan(code & 0xFF, extended);
        if (!k) {
            return 0;
        }
        if (mapType == MAPVK_VSC_TO_VK) {
            if (k->vk == VK_LSHIFT || k->vk == VK_RSHIFT) {
                return VK_SHIFT;
            }
            if (k->vk == VK_LCONTROL || k->vk == VK_RCONTROL) {
                return VK_CONTROL;
            }
            if (k->vk == VK_LMENU || k->vk == VK_RMENU) {
                return VK_MENU;
            }
        }
        return k->vk;
    }
    case MAPVK_VK_TO_CHAR: {
        const KeyInfo* k = ByVk(code);
        if (!k || !k->normal) {
            return 0;
        }
        if (code >= 'A' && code <= 'Z') {
            return code;
        }
        return k->normal;
    }
    default:
        return 0;
    }
}

SHORT VkKeyScanW(WCHAR ch) {
    for (const KeyInfo& k : kKeys) {
        if (k.vk == VK_LSHIFT || k.vk == VK_RSHIFT || (k.vk >= VK_NUMPAD0 && k.vk <= VK_DIVIDE) ||
            k.vk == VK_OEM_102) {
            continue;
        }
        if (k.normal == ch) {
            return static_cast<SHORT>(k.vk);
        }
        if (k.shifted == ch) {
            return static_cast<SHORT>(k.vk | 0x100);
        }
    }
    if (ch >= 1 && ch <= 26) {
        return static_cast<SHORT>(('A' + ch - 1) | 0x200);
    }
    return -1;
}

int GetKeyNameTextW(LONG lParam, LPWSTR buffer, int size) {
    UINT scan = (static_cast<UINT>(lParam) >> 16) & 0xFF;
    bool extended = (lParam & (1 << 24)) != 0;
    const KeyInfo* k = ByScan(scan, extended);
    if (!k) {
        k = ByScan(scan, !extended);
    }
    if (!k) {
        if (buffer && size > 0) {
            buffer[0] = 0;
        }
        return 0;
    }
    std::string name = k->name;
    if (lParam & (1 << 25)) {
        // "Don't care" about left and right.
        if (name.rfind("Right ", 0) == 0) {
            name = name.substr(6);
        }
    }
    return CopyText(std::u16string(name.begin(), name.end()), buffer, size);
}
