// Dialog creation from templates, the dialog class and its default procedure, the modal loop and the
// GetDlgItem* helpers.
#include "platform/dialog/DialogInternal.h"

#include "platform/base/MulDiv.h"
#include "platform/dialog/DialogTemplate.h"
#include "platform/gdi/Gdi.h"

#include <cstdint>
#include <limits>
#include <mutex>
#include <string>
#include <unordered_map>

// The standard controls' registration (the controls' own header declares it too).
void RegisterStandardControls();

namespace dialog_detail {
namespace {

std::mutex& StatesLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_map<HWND, std::shared_ptr<DialogState>>& States() {
    static std::unordered_map<HWND, std::shared_ptr<DialogState>> states;
    return states;
}

// The state of the dialog being created on this thread, adopted by its first DefDlgProc call so the dialog
// procedure sees every message from WM_NCCREATE on.
thread_local std::shared_ptr<DialogState> pendingState;

void Adopt(HWND hwnd, std::shared_ptr<DialogState> state) {
    {
        std::lock_guard<std::mutex> guard(StatesLock());
        States()[hwnd] = state;
    }
    SetWindowLongPtrW(hwnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(state->proc));
}

void Forget(HWND hwnd) {
    std::shared_ptr<DialogState> state;
    {
        std::lock_guard<std::mutex> guard(StatesLock());
        auto it = States().find(hwnd);
        if (it == States().end()) {
            return;
        }
        state = it->second;
        States().erase(it);
    }
    if (state->ownsFont && state->font) {
        DeleteObject(state->font);
        state->font = nullptr;
    }
}

DLGPROC ProcOf(HWND hwnd, const std::shared_ptr<DialogState>& state) {
    if (auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hwnd, DWLP_DLGPROC))) {
        return proc;
    }
    return state ? state->proc : nullptr;
}

// Messages whose answer is the dialog procedure's return value rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT msg) {
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

void SaveFocus(HWND dialog, const std::shared_ptr<DialogState>& state) {
    HWND focus = GetFocus();
    if (state && focus && IsChild(dialog, focus)) {
        state->savedFocus = focus;
    }
}

void RestoreFocus(HWND dialog, const std::shared_ptr<DialogState>& state) {
    HWND target = state ? state->savedFocus : nullptr;
    DWORD style = target && IsWindow(target) ? static_cast<DWORD>(GetWindowLongW(target, GWL_STYLE)) : 0;
    if (!target || !IsChild(dialog, target) || !(style & WS_VISIBLE) || (style & WS_DISABLED)) {
        target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    }
    if (target) {
        DlgSetFocus(dialog, target);
    }
}

HWND ControlByDefId(HWND dialog, int id) {
    return id ? GetDlgItem(dialog, id) : nullptr;
}

bool IsPushButton(UINT code) {
    return (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

int FindDefaultId(HWND dialog) {
    for (HWND ctl : Controls(dialog)) {
        if (DlgCode(ctl) & DLGC_DEFPUSHBUTTON) {
            return GetDlgCtrlID(ctl);
        }
    }
    return 0;
}

LRESULT DefaultHandling(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                        const std::shared_ptr<DialogState>& state) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            SaveFocus(hwnd, state);
        } else if (!HIWORD(wParam)) {
            RestoreFocus(hwnd, state);
        }
        return 0;
    case WM_SETFOCUS:
        RestoreFocus(hwnd, state);
        return 0;
    case WM_SHOWWINDOW:
        if (!wParam) {
            SaveFocus(hwnd, state);
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CLOSE: {
        HWND cancel = GetDlgItem(hwnd, IDCANCEL);
        if (cancel && !IsWindowEnabled(cancel)) {
            MessageBeep(0);
            return 0;
        }
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case DM_GETDEFID:
        if (state && state->defId) {
            return MAKELRESULT(state->defId, DC_HASDEFID);
        }
        return 0;
    case DM_SETDEFID: {
        if (!state) {
            return FALSE;
        }
        HWND old = ControlByDefId(hwnd, state->defId);
        state->defId = static_cast<int>(wParam);
        HWND now = ControlByDefId(hwnd, state->defId);
        HWND focus = GetFocus();
        bool focusOnButton = focus && IsChild(hwnd, focus) && IsPushButton(DlgCode(focus));
        if (!focusOnButton) {
            if (old && old != now && (DlgCode(old) & DLGC_DEFPUSHBUTTON)) {
                SendMessageW(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
            }
            if (now && (DlgCode(now) & DLGC_UNDEFPUSHBUTTON)) {
                SendMessageW(now, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
            }
        }
        return TRUE;
    }
    case DM_REPOSITION:
        return 0;
    case WM_NEXTDLGCTL: {
        HWND target = nullptr;
        if (LOWORD(lParam)) {
            target = reinterpret_cast<HWND>(wParam);
        } else {
            HWND focus = GetFocus();
            if (focus && !IsChild(hwnd, focus)) {
                focus = nullptr;
            }
            target = GetNextDlgTabItem(hwnd, focus, wParam ? TRUE : FALSE);
        }
        if (target && IsChild(hwnd, target)) {
            DlgSetFocus(hwnd, target);
        }
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
    case WM_NCDESTROY: {
        LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        Forget(hwnd);
        return r;
    }
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT DialogClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(hwnd, msg, wParam, lParam);
}

struct Metrics {
    HFONT font = nullptr;
    bool owns = false;
    int baseX = 0;
    int baseY = 0;
};

void MeasureFont(HFONT font, int& baseX, int& baseY) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    static const char16_t alphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    GetTextExtentPoint32W(dc, alphabet, 52, &size);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    baseX = static_cast<int>((size.cx + 26) / 52);
    baseY = static_cast<int>(tm.tmHeight);
    if (baseX <= 0) {
        baseX = 8;
    }
    if (baseY <= 0) {
        baseY = 16;
    }
}

Metrics FontFor(const DialogTemplateInfo& info) {
    Metrics m;
    if (info.hasFont) {
        if (info.pointSize == 0x7FFF) {
            m.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        } else {
            HDC dc = GetDC(nullptr);
            int dpi = GetDeviceCaps(dc, LOGPIXELSY);
            ReleaseDC(nullptr, dc);
            int height = -MulDiv(info.pointSize, dpi > 0 ? dpi : 96, 72);
            int weight = info.extended && info.weight ? info.weight : FW_NORMAL;
            BYTE charset = info.extended ? info.charset : static_cast<BYTE>(DEFAULT_CHARSET);
            m.font = CreateFontW(height, 0, 0, 0, weight, info.extended ? info.italic : 0, 0, 0, charset, 0,
                                 0, 0, 0, info.faceName.c_str());
            m.owns = m.font != nullptr;
            if (!m.font) {
                m.font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
            }
        }
    }
    MeasureFont(m.font, m.baseX, m.baseY);
    return m;
}

const char16_t* OrdinalClass(WORD ordinal) {
    switch (ordinal) {
    case 0x0080:
        return u"Button";
    case 0x0081:
        return u"Edit";
    case 0x0082:
        return u"Static";
    case 0x0083:
        return u"ListBox";
    case 0x0084:
        return u"ScrollBar";
    case 0x0085:
        return u"ComboBox";
    default:
        return nullptr;
    }
}

void EnsureClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterDialogClass();
        RegisterStandardControls();
    });
}

HWND CreateFromInfo(HINSTANCE instance, const DialogTemplateInfo& info, HWND parent, DLGPROC proc,
                    LPARAM param, bool modal, const std::shared_ptr<DialogState>& modalState) {
    EnsureClasses();
    if (parent && !IsWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    DWORD style = info.style;
    DWORD exStyle = info.exStyle;
    if (style & DS_MODALFRAME) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    if (style & DS_CONTROL) {
        style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU);
        exStyle |= WS_EX_CONTROLPARENT;
    }
    bool child = (style & WS_CHILD) != 0;
    if (child && !parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    bool visible = (style & WS_VISIBLE) != 0;
    style &= ~static_cast<DWORD>(WS_VISIBLE);

    Metrics metrics = FontFor(info);
    auto state = modalState ? modalState : std::make_shared<DialogState>();
    state->proc = proc;
    state->font = metrics.font;
    state->ownsFont = metrics.owns;
    state->baseX = metrics.baseX;
    state->baseY = metrics.baseY;
    state->modal = modal;

    RECT rc{0, 0, MulDiv(info.cx, metrics.baseX, 4), MulDiv(info.cy, metrics.baseY, 8)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    POINT pos{MulDiv(info.x, metrics.baseX, 4), MulDiv(info.y, metrics.baseY, 8)};
    HWND owner = nullptr;
    if (!child) {
        owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
        if (parent && !(style & DS_ABSALIGN)) {
            ClientToScreen(parent, &pos);
        }
        if (style & (DS_CENTER | DS_CENTERMOUSE)) {
            RECT area{};
            if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
                GetWindowRect(owner, &area);
            } else {
                SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
            }
            pos.x = area.left + ((area.right - area.left) - width) / 2;
            pos.y = area.top + ((area.bottom - area.top) - height) / 2;
        }
    }
    std::u16string className = u"#32770";
    if (info.className.present) {
        className = info.className.name;
        if (info.className.isOrdinal) {
            std::string digits = std::to_string(info.className.ordinal);
            className = u"#" + std::u16string(digits.begin(), digits.end());
        }
    }

    std::shared_ptr<DialogState> outer = pendingState;
    pendingState = state;
    HWND dialog =
        CreateWindowExW(exStyle, className.c_str(), info.title.c_str(), style, pos.x, pos.y, width, height,
                        child ? parent : owner, nullptr, instance, reinterpret_cast<LPVOID>(param));
    if (dialog && pendingState == state) {
        Adopt(dialog, state);
    }
    pendingState = outer;
    if (!dialog) {
        // A window that got as far as WM_NCDESTROY has released the font already.
        if (state->ownsFont && state->font) {
            DeleteObject(state->font);
            state->font = nullptr;
        }
        return nullptr;
    }
    state->owner = owner;

    if (info.hasFont) {
        SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(metrics.font), FALSE);
    }
    for (const DialogItemTemplate& item : info.items) {
        std::u16string itemClass;
        if (item.className.isOrdinal) {
            const char16_t* name = OrdinalClass(item.className.ordinal);
            if (name) {
                itemClass = name;
            } else {
                std::string digits = std::to_string(item.className.ordinal);
                itemClass = u"#" + std::u16string(digits.begin(), digits.end());
            }
        } else {
            itemClass = item.className.name;
        }
        // An ordinal text (an icon or bitmap id of a static) travels as 0xFFFF and the id.
        std::u16string text;
        if (item.text.present) {
            text = item.text.isOrdinal ? std::u16string{char16_t(0xFFFF), char16_t(item.text.ordinal)}
                                       : item.text.name;
        }
        const void* createData = item.creationData.empty() ? nullptr : item.creationData.data();
        HWND ctl = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, itemClass.c_str(), text.c_str(),
                                   (item.style | WS_CHILD) & ~static_cast<DWORD>(WS_POPUP),
                                   MulDiv(item.x, metrics.baseX, 4), MulDiv(item.y, metrics.baseY, 8),
                                   MulDiv(item.cx, metrics.baseX, 4), MulDiv(item.cy, metrics.baseY, 8),
                                   dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                                   const_cast<void*>(createData));
        if (!ctl) {
            if (info.style & DS_NOFAILCREATE) {
                continue;
            }
            DWORD error = GetLastError();
            DestroyWindow(dialog);
            SetLastError(error ? error : ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        SendMessageW(ctl, WM_SETFONT, reinterpret_cast<WPARAM>(metrics.font), FALSE);
    }
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    state->defId = FindDefaultId(dialog);

    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    LRESULT wantsFocus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (!IsWindow(dialog)) {
        return nullptr;
    }
    if (wantsFocus) {
        if (!first || !IsWindow(first) || !IsWindowEnabled(first)) {
            first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        }
        if (first) {
            DlgSetFocus(dialog, first);
        }
    }
    HWND focus = GetFocus();
    state->savedFocus = focus && IsChild(dialog, focus) ? focus : nullptr;
    if (visible && !modal && !state->ended) {
        ShowWindow(dialog, SW_SHOWNORMAL);
    }
    return dialog;
}

constexpr std::size_t kUnsized = std::numeric_limits<std::size_t>::max() / 2;

INT_PTR RunModal(HINSTANCE instance, const void* tmpl, std::size_t size, HWND parent, DLGPROC proc,
                 LPARAM param) {
    auto info = DialogParseTemplate(tmpl, size);
    if (!info) {
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    if (parent && !IsWindow(parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    bool visible = (info->style & WS_VISIBLE) != 0;
    info->style &= ~static_cast<DWORD>(WS_CHILD);
    HWND owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    auto state = std::make_shared<DialogState>();
    state->owner = owner;
    // Disabled before WM_INITDIALOG, as a dialog procedure may look at its owner there.
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        state->ownerDisabled = true;
    }
    HWND dialog = CreateFromInfo(instance, *info, parent, proc, param, true, state);
    auto reenable = [&] {
        if (state->ownerDisabled && owner && IsWindow(owner)) {
            state->ownerDisabled = false;
            EnableWindow(owner, TRUE);
        }
    };
    if (!dialog) {
        reenable();
        return -1;
    }
    if (visible && !state->ended && IsWindow(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
    }
    bool quit = false;
    WPARAM quitCode = 0;
    while (!state->ended && IsWindow(dialog)) {
        MSG msg{};
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (owner && !(info->style & DS_NOIDLEMSG)) {
                SendMessageW(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(dialog));
            }
            if (state->ended || !IsWindow(dialog)) {
                break;
            }
        }
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            quit = got == 0;
            quitCode = msg.wParam;
            break;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    reenable();
    INT_PTR result = state->ended ? state->result : (quit ? 0 : -1);
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(quitCode));
    }
    return result;
}

} // namespace

std::shared_ptr<DialogState> StateOf(HWND dialog) {
    std::lock_guard<std::mutex> guard(StatesLock());
    auto it = States().find(dialog);
    return it == States().end() ? nullptr : it->second;
}

} // namespace dialog_detail

using namespace dialog_detail;

void RegisterDialogClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS | CS_SAVEBITS;
        wc.lpfnWndProc = DialogClassProc;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
        wc.lpszClassName = u"#32770";
        DisplayRegisterSystemClass(&wc);
    });
}

LRESULT DefDlgProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<DialogState> state = StateOf(hwnd);
    if (!state && pendingState) {
        state = pendingState;
        pendingState = nullptr;
        Adopt(hwnd, state);
    }
    DLGPROC proc = ProcOf(hwnd, state);
    if (proc) {
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, 0);
        INT_PTR handled = proc(hwnd, msg, wParam, lParam);
        if (AnswersDirectly(msg)) {
            if (handled || msg == WM_INITDIALOG) {
                return handled;
            }
        } else if (handled) {
            return IsWindow(hwnd) ? GetWindowLongPtrW(hwnd, DWLP_MSGRESULT) : 0;
        }
        if (!IsWindow(hwnd)) {
            return 0;
        }
    }
    return DefaultHandling(hwnd, msg, wParam, lParam, state);
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam) {
    return CreateDialogIndirectParamSizedW(instance, dialogTemplate, kUnsized, parent, dialogProc, initParam);
}

HWND CreateDialogIndirectParamSizedW(HINSTANCE instance, const void* dialogTemplate, std::size_t size,
                                     HWND parent, DLGPROC dialogProc, LPARAM initParam) {
    auto info = DialogParseTemplate(dialogTemplate, size);
    if (!info) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return CreateFromInfo(instance, *info, parent, dialogProc, initParam, false, nullptr);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND parent,
                                DLGPROC dialogProc, LPARAM initParam) {
    return RunModal(instance, dialogTemplate, kUnsized, parent, dialogProc, initParam);
}

INT_PTR DialogBoxIndirectParamSizedW(HINSTANCE instance, const void* dialogTemplate, std::size_t size,
                                     HWND parent, DLGPROC dialogProc, LPARAM initParam) {
    return RunModal(instance, dialogTemplate, size, parent, dialogProc, initParam);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    std::shared_ptr<DialogState> state = StateOf(dialog);
    if (state && state->modal) {
        state->ended = true;
        state->result = result;
        // The owner comes back before the dialog goes, so the activation returns to it.
        if (state->ownerDisabled && state->owner && IsWindow(state->owner)) {
            state->ownerDisabled = false;
            EnableWindow(state->owner, TRUE);
        }
        SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        if (state->owner && IsWindow(state->owner) && GetActiveWindow() == dialog) {
            SetActiveWindow(state->owner);
        }
        PostMessageW(dialog, WM_NULL, 0, 0); // wakes the loop
        return TRUE;
    }
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int maxCount) {
    if (text && maxCount > 0) {
        text[0] = 0;
    }
    HWND ctl = GetDlgItem(dialog, id);
    if (!ctl) {
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(ctl, text, maxCount));
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    HWND ctl = GetDlgItem(dialog, id);
    return ctl ? SetWindowTextW(ctl, text) : FALSE;
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) {
        *translated = FALSE;
    }
    HWND ctl = GetDlgItem(dialog, id);
    if (!ctl) {
        return 0;
    }
    int length = GetWindowTextLengthW(ctl);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(ctl, text.data(), length + 1)));
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-' && !isSigned) {
            return 0;
        }
        negative = text[i] == u'-';
        ++i;
    }
    std::uint64_t value = 0;
    std::size_t digits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
        value = value * 10 + static_cast<unsigned>(text[i] - u'0');
        if (value > 0xFFFFFFFFull) {
            return 0;
        }
    }
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    if (digits == 0 || i != text.size()) {
        return 0;
    }
    if (isSigned) {
        std::uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
        if (value > limit) {
            return 0;
        }
    }
    if (translated) {
        *translated = TRUE;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    return negative ? static_cast<UINT>(0u - bits) : static_cast<UINT>(bits);
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    std::string digits = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
    std::u16string text(digits.begin(), digits.end());
    return SetDlgItemTextW(dialog, id, text.c_str());
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND ctl = GetDlgItem(dialog, id);
    if (!ctl) {
        return FALSE;
    }
    SendMessageW(ctl, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND ctl = GetDlgItem(dialog, id);
    return ctl ? static_cast<UINT>(SendMessageW(ctl, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    if (!IsWindow(dialog)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    for (HWND ctl = GetWindow(dialog, GW_CHILD); ctl; ctl = GetWindow(ctl, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(ctl);
        if (id >= first && id <= last) {
            SendMessageW(ctl, BM_SETCHECK, id == check ? BST_CHECKED : 0, 0);
        }
    }
    return TRUE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND ctl = GetDlgItem(dialog, id);
    return ctl ? SendMessageW(ctl, msg, wParam, lParam) : 0;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<DialogState> state = StateOf(dialog);
    if (!state) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    rect->left = MulDiv(rect->left, state->baseX, 4);
    rect->right = MulDiv(rect->right, state->baseX, 4);
    rect->top = MulDiv(rect->top, state->baseY, 8);
    rect->bottom = MulDiv(rect->bottom, state->baseY, 8);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    static const LONG units = [] {
        int x = 0, y = 0;
        MeasureFont(nullptr, x, y);
        return static_cast<LONG>(MAKELONG(x, y));
    }();
    return units;
}
