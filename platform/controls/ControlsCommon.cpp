#include "platform/controls/ControlsCommon.h"

#include <cstring>
#include <mutex>

namespace controls {

void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style, LPCWSTR cursor, HBRUSH background) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    WNDCLASSW existing{};
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    // A class of the same name that the program registered hides ours; registering twice is harmless.
    if (GetClassInfoW(nullptr, name, &existing) && existing.lpfnWndProc == proc) {
        return;
    }
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    DisplayRegisterSystemClass(&wc);
}

void NotifyParent(HWND hwnd, UINT code) {
    HWND parent = GetParent(hwnd);
    if (!parent) {
        return;
    }
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

HBRUSH ControlColor(HWND hwnd, HDC dc, UINT ctlColorMessage) {
    HWND parent = GetParent(hwnd);
    LRESULT brush = 0;
    if (parent) {
        brush = SendMessageW(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(hwnd));
    }
    if (!brush) {
        brush = DefWindowProcW(hwnd, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(hwnd));
    }
    return reinterpret_cast<HBRUSH>(brush);
}

LRESULT ReplaceColor(HWND hwnd, COLORREF& slot, COLORREF color) {
    COLORREF old = slot;
    slot = color;
    InvalidateRect(hwnd, nullptr, TRUE);
    return static_cast<LRESULT>(old);
}

COLORREF ColorOrSystem(COLORREF color, int sysColor) {
    return color == CLR_DEFAULT ? GetSysColor(sysColor) : color;
}

HFONT ControlFont(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

TEXTMETRICW FontMetrics(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, ControlFont(font));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    DeleteDC(dc);
    return tm;
}

LRESULT CopyTextOut(const std::u16string& text, WPARAM size, LPARAM buffer) {
    if (!buffer || size == 0) {
        return 0;
    }
    auto* out = reinterpret_cast<char16_t*>(buffer);
    size_t count = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(out, text.data(), count * sizeof(char16_t));
    out[count] = 0;
    return static_cast<LRESULT>(count);
}

void SetWindowHeight(HWND hwnd, int height) {
    RECT window;
    GetWindowRect(hwnd, &window);
    SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SizeTopLevelFromGrip(HWND grip, UINT edge, LPARAM screenPoint) {
    if (HWND top = GetAncestor(grip, GA_ROOT)) {
        SendMessageW(top, WM_SYSCOMMAND, SC_SIZE | edge, screenPoint);
    }
}

std::u16string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

char16_t FoldCase(char16_t c) {
    if (c >= u'a' && c <= u'z') {
        return static_cast<char16_t>(c - u'a' + u'A');
    }
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
        return static_cast<char16_t>(c - 0x20);
    }
    return c;
}

int CompareNoCase(const std::u16string& a, const std::u16string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char16_t x = FoldCase(a[i]);
        char16_t y = FoldCase(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

bool StartsWithNoCase(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    return CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

} // namespace controls
