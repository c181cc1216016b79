// What the standard controls share: their per-window state pointer, notifications to the parent, the
// colours the parent chooses, the font in use.
#pragma once

#include "platform/base/Geometry.h"
#include "platform/controls/ControlConstants.h"
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <string>

namespace controls {

// The state object lives in the first extra bytes of the window (so that superclasses keep it).
template <typename T>
T* StateOf(HWND hwnd) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, 0));
}
inline void SetState(HWND hwnd, void* state) {
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
}
// The state of a control that needs nothing else at creation: made on WM_NCCREATE. Null until then (and
// after WM_NCDESTROY), when the message goes to DefWindowProcW.
template <typename T>
T* StateOrNew(HWND hwnd, UINT msg) {
    if (T* state = StateOf<T>(hwnd)) {
        return state;
    }
    if (msg == WM_NCCREATE) {
        SetState(hwnd, new T);
    }
    return nullptr;
}
// WM_NCDESTROY: the state goes with the window.
template <typename T>
LRESULT DestroyState(HWND hwnd, T* state, WPARAM wParam, LPARAM lParam) {
    SetState(hwnd, nullptr);
    delete state;
    return DefWindowProcW(hwnd, WM_NCDESTROY, wParam, lParam);
}
inline void NothingMore(HWND) {}
// The window procedure of a control whose state is made on WM_NCCREATE (`Created` may then adjust the new
// window) and freed on WM_NCDESTROY, and whose painting covers the background; `Handle` answers the rest.
template <typename T, LRESULT (*Handle)(HWND, T&, UINT, WPARAM, LPARAM), void (*Created)(HWND) = NothingMore>
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    T* state = StateOrNew<T>(hwnd, msg);
    if (!state) {
        if (msg == WM_NCCREATE) {
            Created(hwnd);
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        return DestroyState(hwnd, state, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    default:
        return Handle(hwnd, *state, msg, wParam, lParam);
    }
}

// Registers a class of the system once per process, with room for the state pointer.
void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style, LPCWSTR cursor, HBRUSH background);

// WM_COMMAND(MAKEWPARAM(id, code), hwnd) to the parent (the owner for pop-ups).
void NotifyParent(HWND hwnd, UINT code);
// The brush the parent answers for WM_CTLCOLOR*, after setting the DC's colours; the parent's default
// (DefWindowProc) sets the classic ones.
HBRUSH ControlColor(HWND hwnd, HDC dc, UINT ctlColorMessage);
// A colour message: the colour goes into `slot` and the window is repainted; answers the old colour.
LRESULT ReplaceColor(HWND hwnd, COLORREF& slot, COLORREF color);
// The colour, or the system colour `sysColor` for CLR_DEFAULT.
COLORREF ColorOrSystem(COLORREF color, int sysColor);
// The font a control draws with: the one set by WM_SETFONT, else the stock system font.
HFONT ControlFont(HFONT font);
// The metrics of a control's font (ControlFont of `font`).
TEXTMETRICW FontMetrics(HFONT font);
// WM_PAINT and WM_PRINTCLIENT: paints into the DC that WM_PRINTCLIENT brings, else between BeginPaint and
// EndPaint.
template <typename PaintFn>
LRESULT PaintClient(HWND hwnd, WPARAM printDc, PaintFn&& paint) {
    if (printDc) {
        paint(reinterpret_cast<HDC>(printDc));
        return 0;
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    paint(dc);
    EndPaint(hwnd, &ps);
    return 0;
}
// WM_GETTEXT out of a control's own text: as much as fits the buffer of `size` characters, terminated.
LRESULT CopyTextOut(const std::u16string& text, WPARAM size, LPARAM buffer);
// A new height for a window, its place and width kept.
void SetWindowHeight(HWND hwnd, int height);
// A press on a size grip: the top-level window is sized from the grip's corner (a WMSZ_* edge).
void SizeTopLevelFromGrip(HWND grip, UINT edge, LPARAM screenPoint);
// The text of a window as DefWindowProc keeps it.
std::u16string WindowText(HWND hwnd);
// The style bits below 16 (the class-specific part).
inline DWORD ClassStyle(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}
int CompareNoCase(const std::u16string& a, const std::u16string& b);
char16_t FoldCase(char16_t c);
bool StartsWithNoCase(const std::u16string& text, const std::u16string& prefix);

} // namespace controls
