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

// Registers a class of the system once per process.
void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style, LPCWSTR cursor, HBRUSH background);

// WM_COMMAND(MAKEWPARAM(id, code), hwnd) to the parent (the owner for pop-ups).
void NotifyParent(HWND hwnd, UINT code);
// The brush the parent answers for WM_CTLCOLOR*, after setting the DC's colours; the parent's default
// (DefWindowProc) sets the classic ones.
HBRUSH ControlColor(HWND hwnd, HDC dc, UINT ctlColorMessage);
// The font a control draws with: the one set by WM_SETFONT, else the stock system font.
HFONT ControlFont(HFONT font);
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
