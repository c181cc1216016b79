// Keyboard navigation in dialogs: tab and group order, the default push button, Enter, Esc and mnemonics.
#include "platform/dialog/DialogInternal.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace dialog_detail {
namespace {

void Collect(HWND parent, std::vector<HWND>& out) {
    for (HWND ctl = GetWindow(parent, GW_CHILD); ctl; ctl = GetWindow(ctl, GW_HWNDNEXT)) {
        DWORD ex = static_cast<DWORD>(GetWindowLongW(ctl, GWL_EXSTYLE));
        DWORD style = static_cast<DWORD>(GetWindowLongW(ctl, GWL_STYLE));
        if ((ex & WS_EX_CONTROLPARENT) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
            Collect(ctl, out);
        } else {
            out.push_back(ctl);
        }
    }
}

DWORD StyleOf(HWND ctl) {
    return static_cast<DWORD>(GetWindowLongW(ctl, GWL_STYLE));
}

// The control's own state: a dialog that is not shown yet still has a tab order.
bool Usable(HWND ctl) {
    DWORD style = StyleOf(ctl);
    return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

bool IsPushButton(UINT code) {
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The mnemonic of a control's text: the character after a single '&'.
char16_t Mnemonic(HWND ctl) {
    if (StyleOf(ctl) & SS_NOPREFIX) {
        char16_t cls[16] = {};
        GetClassNameW(ctl, cls, 16);
        std::u16string name(cls);
        std::transform(name.begin(), name.end(), name.begin(), [](char16_t c) { return std::towupper(c); });
        if (name == u"STATIC") {
            return 0;
        }
    }
    int length = GetWindowTextLengthW(ctl);
    if (length <= 0) {
        return 0;
    }
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(ctl, text.data(), length + 1)));
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            return static_cast<char16_t>(std::towupper(text[i + 1]));
        }
    }
    return 0;
}

void SendCommand(HWND dialog, int id, HWND ctl) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(ctl));
}

HWND FocusIn(HWND dialog) {
    HWND focus = GetFocus();
    return focus && IsChild(dialog, focus) ? focus : nullptr;
}

// The control the focus sits in, seen from the dialog: a control may have children of its own (a combo
// box's edit), and the dialog's list holds the outer one.
HWND ControlOf(HWND dialog, HWND hwnd, const std::vector<HWND>& controls) {
    for (HWND cur = hwnd; cur && cur != dialog; cur = GetParent(cur)) {
        if (std::find(controls.begin(), controls.end(), cur) != controls.end()) {
            return cur;
        }
    }
    return nullptr;
}

void Press(HWND dialog, HWND ctl) {
    UINT code = DlgCode(ctl);
    if (code & DLGC_STATIC) {
        // A label hands the focus on to the next control that takes it.
        std::vector<HWND> controls = Controls(dialog);
        auto it = std::find(controls.begin(), controls.end(), ctl);
        for (++it; it != controls.end(); ++it) {
            if (Usable(*it) && !(DlgCode(*it) & DLGC_STATIC)) {
                DlgSetFocus(dialog, *it);
                return;
            }
        }
        return;
    }
    if (IsPushButton(code)) {
        SendMessageW(ctl, BM_CLICK, 0, 0);
        return;
    }
    DlgSetFocus(dialog, ctl);
    if (code & (DLGC_BUTTON | DLGC_RADIOBUTTON)) {
        SendMessageW(ctl, BM_CLICK, 0, 0);
    }
}

bool HandleMnemonic(HWND dialog, char16_t ch) {
    char16_t wanted = static_cast<char16_t>(std::towupper(ch));
    if (!wanted) {
        return false;
    }
    std::vector<HWND> controls = Controls(dialog);
    if (controls.empty()) {
        return false;
    }
    HWND focus = ControlOf(dialog, GetFocus(), controls);
    std::size_t start = 0;
    if (focus) {
        start =
            static_cast<std::size_t>(std::find(controls.begin(), controls.end(), focus) - controls.begin()) +
            1;
    }
    for (std::size_t n = 0; n < controls.size(); ++n) {
        HWND ctl = controls[(start + n) % controls.size()];
        if (!(StyleOf(ctl) & WS_VISIBLE)) {
            continue;
        }
        if (Mnemonic(ctl) != wanted) {
            continue;
        }
        // A disabled label still passes the focus on; a disabled control does nothing.
        if ((StyleOf(ctl) & WS_DISABLED) && !(DlgCode(ctl) & DLGC_STATIC)) {
            continue;
        }
        Press(dialog, ctl);
        return true;
    }
    return false;
}

int DefaultIdOf(HWND dialog) {
    LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(def) == DC_HASDEFID ? LOWORD(def) : 0;
}

void PressDefault(HWND dialog, HWND focus) {
    if (focus && IsPushButton(DlgCode(focus))) {
        SendCommand(dialog, GetDlgCtrlID(focus), focus);
        return;
    }
    int id = DefaultIdOf(dialog);
    if (!id) {
        id = IDOK;
    }
    HWND ctl = GetDlgItem(dialog, id);
    if (ctl && !IsWindowEnabled(ctl)) {
        MessageBeep(0);
        return;
    }
    SendCommand(dialog, id, ctl);
}

} // namespace

std::vector<HWND> Controls(HWND dialog) {
    std::vector<HWND> out;
    if (IsWindow(dialog)) {
        Collect(dialog, out);
    }
    return out;
}

UINT DlgCode(HWND control, const MSG* msg) {
    if (!control) {
        return 0;
    }
    return static_cast<UINT>(
        SendMessageW(control, WM_GETDLGCODE, msg ? msg->wParam : 0, reinterpret_cast<LPARAM>(msg)));
}

void CheckDefPushButton(HWND dialog, HWND focus) {
    std::shared_ptr<DialogState> state = StateOf(dialog);
    std::vector<HWND> controls = Controls(dialog);
    HWND target = nullptr;
    if (focus && IsPushButton(DlgCode(focus))) {
        target = focus;
    } else {
        int id = state ? state->defId : DefaultIdOf(dialog);
        HWND def = id ? GetDlgItem(dialog, id) : nullptr;
        if (def && IsPushButton(DlgCode(def))) {
            target = def;
        }
    }
    for (HWND ctl : controls) {
        if (ctl != target && (DlgCode(ctl) & DLGC_DEFPUSHBUTTON)) {
            SendMessageW(ctl, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        }
    }
    if (target && (DlgCode(target) & DLGC_UNDEFPUSHBUTTON)) {
        SendMessageW(target, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
    if (state) {
        state->lastFocus = focus;
    }
}

void DlgSetFocus(HWND dialog, HWND control) {
    if (!control) {
        return;
    }
    if (DlgCode(control) & DLGC_HASSETSEL) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
    SetFocus(control);
    CheckDefPushButton(dialog, GetFocus() == control ? control : FocusIn(dialog));
}

} // namespace dialog_detail

using namespace dialog_detail;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::vector<HWND> controls = Controls(dialog);
    if (controls.empty()) {
        return nullptr;
    }
    std::size_t n = controls.size();
    std::size_t start;
    auto it = control ? std::find(controls.begin(), controls.end(), control) : controls.end();
    if (it == controls.end()) {
        start = previous ? 0 : n - 1; // so that the first step lands on the first (last) control
    } else {
        start = static_cast<std::size_t>(it - controls.begin());
    }
    for (std::size_t step = 1; step <= n; ++step) {
        std::size_t i = previous ? (start + n - step % n) % n : (start + step) % n;
        HWND ctl = controls[i];
        if ((StyleOf(ctl) & WS_TABSTOP) && Usable(ctl)) {
            return ctl;
        }
    }
    return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::vector<HWND> controls = Controls(dialog);
    auto it = control ? std::find(controls.begin(), controls.end(), control) : controls.end();
    if (it == controls.end()) {
        return controls.empty() ? nullptr : (previous ? controls.back() : controls.front());
    }
    std::size_t at = static_cast<std::size_t>(it - controls.begin());
    std::size_t begin = at;
    while (begin > 0 && !(StyleOf(controls[begin]) & WS_GROUP)) {
        --begin;
    }
    std::size_t end = at + 1;
    while (end < controls.size() && !(StyleOf(controls[end]) & WS_GROUP)) {
        ++end;
    }
    std::size_t n = end - begin;
    std::size_t offset = at - begin;
    for (std::size_t step = 1; step < n; ++step) {
        std::size_t i = previous ? (offset + n - step) % n : (offset + step) % n;
        HWND ctl = controls[begin + i];
        if (Usable(ctl)) {
            return ctl;
        }
    }
    return control;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (!msg || !IsWindow(dialog)) {
        return FALSE;
    }
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) {
        return FALSE;
    }
    if (CallMsgFilterW(msg, MSGF_DIALOGBOX)) {
        return TRUE;
    }
    // The focus may have moved by mouse since the last look; the default button follows it.
    if (std::shared_ptr<DialogState> state = StateOf(dialog)) {
        HWND focus = FocusIn(dialog);
        if (focus != state->lastFocus) {
            CheckDefPushButton(dialog, focus);
        }
    }
    auto dispatch = [&] {
        TranslateMessage(msg);
        DispatchMessageW(msg);
        return TRUE;
    };
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSCHAR:
    case WM_CHAR:
        break;
    default:
        return dispatch();
    }
    UINT code = msg->hwnd != dialog ? DlgCode(msg->hwnd, msg) : 0;
    if (code & DLGC_WANTMESSAGE) {
        return dispatch();
    }
    HWND focus = FocusIn(dialog);
    if (msg->message == WM_KEYDOWN) {
        switch (msg->wParam) {
        case VK_TAB: {
            if (code & DLGC_WANTTAB) {
                return dispatch();
            }
            BOOL back = (GetKeyState(VK_SHIFT) & 0x8000) ? TRUE : FALSE;
            std::vector<HWND> controls = Controls(dialog);
            HWND from = ControlOf(dialog, focus, controls);
            HWND next = GetNextDlgTabItem(dialog, from, back);
            if (next) {
                DlgSetFocus(dialog, next);
            }
            return TRUE;
        }
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            if (code & DLGC_WANTARROWS) {
                return dispatch();
            }
            std::vector<HWND> controls = Controls(dialog);
            HWND from = ControlOf(dialog, focus, controls);
            BOOL back = (msg->wParam == VK_LEFT || msg->wParam == VK_UP) ? TRUE : FALSE;
            HWND next =
                from ? GetNextDlgGroupItem(dialog, from, back) : GetNextDlgTabItem(dialog, nullptr, FALSE);
            if (next && next != from) {
                UINT nextCode = DlgCode(next);
                DlgSetFocus(dialog, next);
                if ((nextCode & DLGC_RADIOBUTTON) && SendMessageW(next, BM_GETCHECK, 0, 0) != BST_CHECKED) {
                    SendMessageW(next, BM_CLICK, 0, 0);
                }
            }
            return TRUE;
        }
        case VK_RETURN:
        case VK_EXECUTE:
            if (code & DLGC_WANTALLKEYS) {
                return dispatch();
            }
            PressDefault(dialog, focus);
            return TRUE;
        case VK_ESCAPE: {
            HWND cancel = GetDlgItem(dialog, IDCANCEL);
            if (cancel && !IsWindowEnabled(cancel)) {
                MessageBeep(0);
                return TRUE;
            }
            SendCommand(dialog, IDCANCEL, cancel);
            return TRUE;
        }
        default:
            return dispatch();
        }
    }
    if (msg->message == WM_SYSCHAR) {
        if (HandleMnemonic(dialog, static_cast<char16_t>(msg->wParam))) {
            return TRUE;
        }
        return dispatch();
    }
    // WM_CHAR: a control that takes characters keeps them; elsewhere a plain letter works as a mnemonic.
    if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) {
        return dispatch();
    }
    char16_t ch = static_cast<char16_t>(msg->wParam);
    if (ch == u'\t' || ch == u'\r' || ch == 0x1B) {
        return TRUE; // the key-down already did its work
    }
    if (ch > u' ' && HandleMnemonic(dialog, ch)) {
        return TRUE;
    }
    return dispatch();
}
