// The library's own window classes ("CGXGridWnd", "CGXTabWnd", "CGXTabBeam"), usable by name in dialog
// templates: a window of the class that no object claims gets one with its first message, and that object
// deletes itself when its window goes (the class's PostNcDestroy asks ReleaseIfSelfCreated).
#pragma once

#include "platform/base/Exceptions.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CWnd.h"

#include <set>

template <class Wnd>
class GridWindowClass {
public:
    // Registers the class unless it exists; a failure raises the resource exception.
    static void Register(HINSTANCE instance, LPCTSTR name) {
        WNDCLASSW existing{};
        if (::GetClassInfoW(instance, name, &existing)) {
            return;
        }
        WNDCLASSW wc{};
        wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
        wc.lpfnWndProc = ClassProc;
        wc.hInstance = instance;
        wc.lpszClassName = name;
        if (!::RegisterClassW(&wc)) {
            AfxThrowResourceException();
        }
    }
    static void Unregister(HINSTANCE instance, LPCTSTR name) { ::UnregisterClassW(name, instance); }

    static BOOL IsSelfCreated(const Wnd* wnd) { return Made().count(wnd) != 0; }
    // Deletes the object when the class procedure made it.
    static void ReleaseIfSelfCreated(Wnd* wnd) {
        if (Made().erase(wnd) != 0) {
            delete wnd;
        }
    }
    static void Forget(const Wnd* wnd) { Made().erase(wnd); }

private:
    static LRESULT CALLBACK ClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (CWnd::FromHandlePermanent(hwnd)) {
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
        }
        auto* wnd = new Wnd;
        Made().insert(wnd);
        wnd->SubclassWindow(hwnd);
        return AfxWndProc(hwnd, message, wParam, lParam);
    }
    static std::set<const Wnd*>& Made() {
        static std::set<const Wnd*> made;
        return made;
    }
};
