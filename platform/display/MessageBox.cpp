// Message boxes and beeps through replaceable handlers.
#include "platform/display/DisplayInternal.h"

#include "platform/base/CodePage.h"

#include <cstdio>
#include <mutex>
#include <vector>

namespace {

std::mutex handlerLock;

MessageBoxResponder& Responder() {
    static MessageBoxResponder responder;
    return responder;
}

MessageBeepHandler& Beeper() {
    static MessageBeepHandler beeper;
    return beeper;
}

int HeadlessAnswer(HWND, const std::u16string& caption, const std::u16string& text, UINT type) {
    std::string line = Utf16ToUtf8(caption) + ": " + Utf16ToUtf8(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    return DisplayDefaultMessageBoxAnswer(type);
}

} // namespace

int DisplayDefaultMessageBoxAnswer(UINT type) {
    std::vector<int> buttons;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        buttons = {IDOK, IDCANCEL};
        break;
    case MB_ABORTRETRYIGNORE:
        buttons = {IDABORT, IDRETRY, IDIGNORE};
        break;
    case MB_YESNOCANCEL:
        buttons = {IDYES, IDNO, IDCANCEL};
        break;
    case MB_YESNO:
        buttons = {IDYES, IDNO};
        break;
    case MB_RETRYCANCEL:
        buttons = {IDRETRY, IDCANCEL};
        break;
    case MB_CANCELTRYCONTINUE:
        buttons = {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
        break;
    default:
        buttons = {IDOK};
        break;
    }
    if (type & MB_HELP) {
        buttons.push_back(IDHELP);
    }
    std::size_t index = (type & MB_DEFMASK) >> 8;
    return buttons[index < buttons.size() ? index : 0];
}

MessageBoxResponder DisplaySetMessageBoxResponder(MessageBoxResponder responder) {
    std::lock_guard<std::mutex> guard(handlerLock);
    MessageBoxResponder old = std::move(Responder());
    Responder() = std::move(responder);
    return old;
}

MessageBeepHandler DisplaySetMessageBeepHandler(MessageBeepHandler handler) {
    std::lock_guard<std::mutex> guard(handlerLock);
    MessageBeepHandler old = std::move(Beeper());
    Beeper() = std::move(handler);
    return old;
}

int MessageBoxExW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, WORD) {
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    std::u16string body = text ? text : u"";
    std::u16string title = caption ? caption : u"Error";
    MessageBoxResponder responder;
    {
        std::lock_guard<std::mutex> guard(handlerLock);
        responder = Responder();
    }
    HWND top = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    HWND focus = GetFocus();
    bool disabled = false;
    if (top && IsWindowEnabled(top)) {
        // The box is modal to its owner: disabling the owner cancels its modes (and takes the capture).
        EnableWindow(top, FALSE);
        disabled = true;
    } else {
        HWND active = GetActiveWindow();
        if (active) {
            SendMessageW(active, WM_CANCELMODE, 0, 0);
        }
        if (GetCapture()) {
            ReleaseCapture();
        }
    }
    int answer = 0;
    if (responder) {
        answer = responder(owner, title, body, type);
    } else {
        answer = HeadlessAnswer(owner, title, body, type);
    }
    if (disabled && IsWindow(top)) {
        EnableWindow(top, TRUE);
    }
    if (focus && IsWindow(focus) && GetFocus() != focus && IsWindowEnabled(focus)) {
        SetFocus(focus);
    }
    return answer;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return MessageBoxExW(owner, text, caption, type, 0);
}

BOOL MessageBeep(UINT type) {
    MessageBeepHandler beeper;
    {
        std::lock_guard<std::mutex> guard(handlerLock);
        beeper = Beeper();
    }
    return beeper ? beeper(type) : TRUE;
}
