// Window longs and extra bytes, text, properties, ids and menus.
#include "platform/display/DisplayInternal.h"

#include <algorithm>
#include <cstring>

using namespace display_detail;

namespace {

bool ExtraOk(const Window& w, int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) + size <= w.extra.size();
}

LONG_PTR GetLongLocked(Window& w, int index, std::size_t extraSize, bool& ok) {
    ok = true;
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w.style));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(w.exStyle));
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w.proc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(w.instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>((w.style & WS_CHILD) && w.parent != G().desktop ? w.parent
                                                                                          : w.owner);
    case GWLP_ID:
        return w.id;
    case GWLP_USERDATA:
        return w.userData;
    default:
        if (ExtraOk(w, index, extraSize)) {
            if (extraSize == sizeof(LONG_PTR)) {
                LONG_PTR value = 0;
                std::memcpy(&value, w.extra.data() + index, sizeof value);
                return value;
            }
            LONG value = 0;
            std::memcpy(&value, w.extra.data() + index, sizeof value);
            return value;
        }
        ok = false;
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG_PTR SetLong(HWND hwnd, int index, LONG_PTR value, std::size_t extraSize) {
    if (index == GWL_STYLE || index == GWL_EXSTYLE) {
        STYLESTRUCT ss{};
        {
            Lock lock = LockState();
            Window* w = FindLocked(hwnd);
            if (!w) {
                return 0;
            }
            ss.styleOld = index == GWL_STYLE ? w->style : w->exStyle;
        }
        ss.styleNew = static_cast<DWORD>(value);
        SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        {
            Lock lock = LockState();
            Window* w = FindLocked(hwnd);
            if (!w) {
                return 0;
            }
            if (index == GWL_STYLE) {
                w->style = ss.styleNew;
            } else {
                // The topmost state changes only through SetWindowPos.
                w->exStyle =
                    (ss.styleNew & ~static_cast<DWORD>(WS_EX_TOPMOST)) | (w->exStyle & WS_EX_TOPMOST);
            }
        }
        SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        SetLastError(ERROR_SUCCESS);
        return static_cast<LONG_PTR>(static_cast<LONG>(ss.styleOld));
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    bool ok = false;
    LONG_PTR old = GetLongLocked(*w, index, extraSize, ok);
    if (!ok) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC:
        if (!value) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWLP_HINSTANCE:
        w->instance = reinterpret_cast<HINSTANCE>(value);
        break;
    case GWLP_HWNDPARENT:
        if ((w->style & WS_CHILD) && w->parent != G().desktop) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        w->owner = value ? TopLevelOfLocked(reinterpret_cast<HWND>(value)) : nullptr;
        break;
    case GWLP_ID:
        w->id = value;
        break;
    case GWLP_USERDATA:
        w->userData = value;
        break;
    default:
        if (extraSize == sizeof(LONG_PTR)) {
            std::memcpy(w->extra.data() + index, &value, sizeof value);
        } else {
            LONG v = static_cast<LONG>(value);
            std::memcpy(w->extra.data() + index, &v, sizeof v);
        }
        break;
    }
    SetLastError(ERROR_SUCCESS);
    return old;
}

std::u16string PropKey(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        return ClassKey(name);
    }
    return Upper(name);
}

} // namespace

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    bool ok = false;
    return GetLongLocked(*w, index, sizeof(LONG_PTR), ok);
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    return SetLong(hwnd, index, value, sizeof(LONG_PTR));
}

LONG GetWindowLongW(HWND hwnd, int index) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    bool ok = false;
    return static_cast<LONG>(GetLongLocked(*w, index, sizeof(LONG), ok));
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    return static_cast<LONG>(SetLong(hwnd, index, value, sizeof(LONG)));
}

WORD GetWindowWord(HWND hwnd, int index) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    if (!ExtraOk(*w, index, sizeof(WORD))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    WORD value = 0;
    std::memcpy(&value, w->extra.data() + index, sizeof value);
    return value;
}

WORD SetWindowWord(HWND hwnd, int index, WORD value) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    if (!ExtraOk(*w, index, sizeof(WORD))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    WORD old = 0;
    std::memcpy(&old, w->extra.data() + index, sizeof old);
    std::memcpy(w->extra.data() + index, &value, sizeof value);
    return old;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (IsForeignHandle(hwnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount) {
    if (IsForeignHandle(hwnd)) {
        return CopyText(ForeignTitle(hwnd), text, maxCount);
    }
    if (!text || maxCount <= 0) {
        return 0;
    }
    text[0] = 0;
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(
        SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND hwnd) {
    if (IsForeignHandle(hwnd)) {
        return static_cast<int>(ForeignTitle(hwnd).size());
    }
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int InternalGetWindowText(HWND hwnd, LPWSTR text, int maxCount) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    return CopyText(w->text, text, maxCount);
}

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return FALSE;
    }
    std::u16string key = PropKey(name);
    for (auto& [k, v] : w->props) {
        if (k == key) {
            v = data;
            return TRUE;
        }
    }
    w->props.emplace_back(std::move(key), data);
    return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
    if (!name) {
        return nullptr;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    std::u16string key = PropKey(name);
    for (auto& [k, v] : w->props) {
        if (k == key) {
            return v;
        }
    }
    return nullptr;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
    if (!name) {
        return nullptr;
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    std::u16string key = PropKey(name);
    for (auto it = w->props.begin(); it != w->props.end(); ++it) {
        if (it->first == key) {
            HANDLE data = it->second;
            w->props.erase(it);
            return data;
        }
    }
    return nullptr;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) {
        return 0;
    }
    return proc(hwnd, msg, wParam, lParam);
}

int GetDlgCtrlID(HWND hwnd) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w || !(w->style & WS_CHILD)) {
        return 0;
    }
    return static_cast<int>(w->id);
}

HWND GetDlgItem(HWND dialog, int id) {
    Lock lock = LockState();
    Window* w = FindLocked(dialog);
    if (!w) {
        return nullptr;
    }
    for (HWND child : w->children) {
        Window* c = FindQuietLocked(child);
        if (c && static_cast<int>(c->id) == id) {
            return child;
        }
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

HMENU GetMenu(HWND hwnd) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w || (w->style & WS_CHILD)) {
        return nullptr;
    }
    return reinterpret_cast<HMENU>(w->id);
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        if (w->style & WS_CHILD) {
            SetLastError(ERROR_CHILD_WINDOW_MENU);
            return FALSE;
        }
        w->id = reinterpret_cast<LONG_PTR>(menu);
    }
    return SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL DrawMenuBar(HWND hwnd) {
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        if (w->style & WS_CHILD) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
    }
    return SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
