// The message box as a modal dialog of the layer, laid out the classic way: the system icon of the kind at
// the top left, the text wrapped beside it, the buttons of the type centred in a row below, the MB_DEFBUTTONn
// one the default. Enter presses the default button, Esc the Cancel button (or OK when it is the only one),
// Alt with a button's underlined letter presses that button.
#include "platform/dialog/MessageBoxDialog.h"

#include "platform/controls/StandardControls.h"
#include "platform/dialog/Dialog.h"
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct BoxButton {
    int id;
    const char16_t* label;
};

struct BoxRequest {
    std::u16string text;
    UINT type = 0;
    std::vector<BoxButton> buttons;
    int defaultId = IDOK;
};

std::vector<BoxButton> ButtonsOf(UINT type) {
    std::vector<BoxButton> buttons;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        buttons = {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
        break;
    case MB_ABORTRETRYIGNORE:
        buttons = {{IDABORT, u"&Abort"}, {IDRETRY, u"&Retry"}, {IDIGNORE, u"&Ignore"}};
        break;
    case MB_YESNOCANCEL:
        buttons = {{IDYES, u"&Yes"}, {IDNO, u"&No"}, {IDCANCEL, u"Cancel"}};
        break;
    case MB_YESNO:
        buttons = {{IDYES, u"&Yes"}, {IDNO, u"&No"}};
        break;
    case MB_RETRYCANCEL:
        buttons = {{IDRETRY, u"&Retry"}, {IDCANCEL, u"Cancel"}};
        break;
    case MB_CANCELTRYCONTINUE:
        buttons = {{IDCANCEL, u"Cancel"}, {IDTRYAGAIN, u"&Try Again"}, {IDCONTINUE, u"&Continue"}};
        break;
    default:
        buttons = {{IDOK, u"OK"}};
        break;
    }
    if (type & MB_HELP) {
        buttons.push_back({IDHELP, u"Help"});
    }
    return buttons;
}

LPCWSTR IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return IDI_HAND;
    case MB_ICONQUESTION:
        return IDI_QUESTION;
    case MB_ICONEXCLAMATION:
        return IDI_EXCLAMATION;
    case MB_ICONASTERISK:
        return IDI_ASTERISK;
    default:
        return nullptr;
    }
}

// An empty classic template: the controls are made in WM_INITDIALOG, once the text has been measured.
std::vector<WORD> EmptyTemplate(const std::u16string& caption) {
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(static_cast<WORD>(v & 0xFFFF));
        t.push_back(static_cast<WORD>(v >> 16));
    };
    auto text = [&t](const std::u16string& s) {
        t.insert(t.end(), s.begin(), s.end());
        t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    dword(0);
    t.insert(t.end(), {0, 0, 0, 100, 40}); // no items; the size comes later
    t.push_back(0);                        // no menu
    t.push_back(0);                        // the dialog class
    text(caption);
    t.push_back(8);
    text(u"MS Shell Dlg");
    return t;
}

bool HasButton(const BoxRequest& request, int id) {
    return std::any_of(request.buttons.begin(), request.buttons.end(),
                       [id](const BoxButton& b) { return b.id == id; });
}

void LayOut(HWND dialog, const BoxRequest& request) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    RECT unit{0, 0, 50, 14}; // the classic button, in dialog units
    MapDialogRect(dialog, &unit);
    RECT spacing{0, 0, 7, 7};
    MapDialogRect(dialog, &spacing);
    const int margin = std::max(11, static_cast<int>(spacing.right));
    const int gap = std::max(6, static_cast<int>(spacing.right) * 4 / 7);
    const int iconSize = GetSystemMetrics(SM_CXICON);

    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int maxText = std::max(200, static_cast<int>((area.right - area.left) * 5 / 8));

    HDC dc = GetDC(dialog);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT textRect{0, 0, maxText, 0};
    DrawTextW(dc, request.text.c_str(), -1, &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    int buttonWidth = unit.right;
    for (const BoxButton& b : request.buttons) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, b.label, -1, &r, DT_CALCRECT | DT_SINGLELINE);
        buttonWidth = std::max(buttonWidth, static_cast<int>(r.right) + 2 * gap);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);

    LPCWSTR iconName = IconOf(request.type);
    HICON icon = iconName ? LoadIconW(nullptr, iconName) : nullptr;
    int textWidth = textRect.right - textRect.left;
    int textHeight = std::max(static_cast<int>(textRect.bottom - textRect.top), 1);
    int textX = margin + (icon ? iconSize + margin : 0);
    // A short text stands in the middle of the icon's height.
    int textY = margin + (icon && textHeight < iconSize ? (iconSize - textHeight) / 2 : 0);
    int contentBottom = std::max(textY + textHeight, icon ? margin + iconSize : 0);

    int count = static_cast<int>(request.buttons.size());
    int rowWidth = count * buttonWidth + (count - 1) * gap;
    int clientWidth = std::max(textX + textWidth + margin, rowWidth + 2 * margin);
    int buttonY = contentBottom + margin + gap;
    int clientHeight = buttonY + unit.bottom + margin;

    if (icon) {
        HWND iconCtl = CreateWindowExW(0, u"Static", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, margin, margin,
                                       iconSize, iconSize, dialog,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), nullptr, nullptr);
        SendMessageW(iconCtl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    }
    HWND textCtl =
        CreateWindowExW(0, u"Static", request.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        textX, textY, textWidth, textHeight, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xFFFF)), nullptr, nullptr);
    SendMessageW(textCtl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    int x = (clientWidth - rowWidth) / 2;
    HWND defaultButton = nullptr;
    for (int i = 0; i < count; ++i) {
        const BoxButton& b = request.buttons[static_cast<std::size_t>(i)];
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                      (b.id == request.defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND button =
            CreateWindowExW(0, u"Button", b.label, style, x, buttonY, buttonWidth, unit.bottom, dialog,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), nullptr, nullptr);
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (b.id == request.defaultId) {
            defaultButton = button;
        }
        x += buttonWidth + gap;
    }

    // The window around that client area, centred over the owner (else the work area) and kept on screen.
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT over = area;
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &over);
    }
    int left = std::clamp(static_cast<int>(over.left + (over.right - over.left - width) / 2),
                          static_cast<int>(area.left),
                          std::max(static_cast<int>(area.left), static_cast<int>(area.right) - width));
    int top = std::clamp(static_cast<int>(over.top + (over.bottom - over.top - height) / 2),
                         static_cast<int>(area.top),
                         std::max(static_cast<int>(area.top), static_cast<int>(area.bottom) - height));
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(request.defaultId), 0);
    if (defaultButton) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(defaultButton), TRUE);
    }
}

INT_PTR BoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* request = reinterpret_cast<BoxRequest*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        LayOut(dialog, *request);
        ShowWindow(dialog, SW_SHOWNORMAL);
        MessageBeep(request->type & MB_ICONMASK);
        return FALSE; // the default button has the focus already
    }
    case WM_COMMAND: {
        auto* request = reinterpret_cast<BoxRequest*>(GetWindowLongPtrW(dialog, DWLP_USER));
        int id = LOWORD(wParam);
        if (!request || HIWORD(wParam) != BN_CLICKED) {
            return FALSE;
        }
        if (id == IDHELP) {
            return TRUE; // no help on this system
        }
        if (id == IDCANCEL && !HasButton(*request, IDCANCEL)) {
            // Esc and the close box answer OK when OK is the only way out, and nothing otherwise.
            if ((request->type & MB_TYPEMASK) == MB_OK) {
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        }
        if (HasButton(*request, id)) {
            EndDialog(dialog, id);
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

int DisplayRunMessageBoxDialog(HWND owner, const std::u16string& caption, const std::u16string& text,
                               UINT type) {
    RegisterStandardControls();
    BoxRequest request;
    request.text = text;
    request.type = type;
    request.buttons = ButtonsOf(type);
    request.defaultId = DisplayDefaultMessageBoxAnswer(type);
    std::vector<WORD> tmpl = EmptyTemplate(caption);
    INT_PTR answer = DialogBoxIndirectParamSizedW(nullptr, tmpl.data(), tmpl.size() * sizeof(WORD), owner,
                                                  &BoxProc, reinterpret_cast<LPARAM>(&request));
    return answer > 0 ? static_cast<int>(answer) : 0;
}
