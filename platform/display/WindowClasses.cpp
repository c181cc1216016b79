// Window classes and the atom table they share with registered window messages.
#include "platform/display/DisplayInternal.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace display_detail {
namespace {

std::u16string NameOf(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        std::string digits = std::to_string(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
        return u"#" + std::u16string(digits.begin(), digits.end());
    }
    return std::u16string(name);
}

// "#32770"-style names stand for the integer atom they spell.
ATOM IntegerAtom(const std::u16string& name) {
    if (name.size() < 2 || name[0] != u'#') {
        return 0;
    }
    unsigned long value = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
        if (name[i] < u'0' || name[i] > u'9') {
            return 0;
        }
        value = value * 10 + (name[i] - u'0');
        if (value > 0xFFFF) {
            return 0;
        }
    }
    return static_cast<ATOM>(value);
}

ATOM AtomForLocked(const std::u16string& name) {
    if (ATOM atom = IntegerAtom(name)) {
        return atom;
    }
    Globals& g = G();
    std::u16string key = Upper(name);
    auto it = g.atoms.find(key);
    if (it != g.atoms.end()) {
        return it->second;
    }
    if (g.nextAtom == 0xFFFF) {
        return 0;
    }
    ATOM atom = g.nextAtom++;
    g.atoms.emplace(std::move(key), atom);
    return atom;
}

std::shared_ptr<WindowClass> FindClassOnlyLocked(const std::u16string& name, bool system) {
    Globals& g = G();
    ATOM atom = IntegerAtom(name);
    std::u16string key = Upper(name);
    for (auto& cls : g.classes) {
        if (cls->system != system) {
            continue;
        }
        if ((atom && cls->atom == atom) || Upper(cls->name) == key) {
            return cls;
        }
    }
    return nullptr;
}

ATOM RegisterLocked(const WNDCLASSEXW& wc, bool system) {
    if (!wc.lpszClassName || !wc.lpfnWndProc || wc.cbClsExtra < 0 || wc.cbWndExtra < 0 ||
        (!IS_INTRESOURCE(wc.lpszClassName) && wc.lpszClassName[0] == 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string name = NameOf(wc.lpszClassName);
    if (FindClassOnlyLocked(name, system)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto cls = std::make_shared<WindowClass>();
    cls->atom = AtomForLocked(name);
    if (!cls->atom) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    cls->name = name;
    cls->style = wc.style;
    cls->proc = wc.lpfnWndProc;
    cls->clsExtra = wc.cbClsExtra;
    cls->wndExtra = wc.cbWndExtra;
    cls->instance = wc.hInstance;
    cls->icon = wc.hIcon;
    cls->iconSmall = wc.hIconSm;
    cls->cursor = wc.hCursor;
    cls->background = wc.hbrBackground;
    if (wc.lpszMenuName && IS_INTRESOURCE(wc.lpszMenuName)) {
        cls->menuNameId = wc.lpszMenuName;
    } else if (wc.lpszMenuName) {
        cls->menuName = wc.lpszMenuName;
    }
    cls->extra.assign(static_cast<std::size_t>(wc.cbClsExtra), 0);
    cls->system = system;
    G().classes.push_back(cls);
    return cls->atom;
}

WNDCLASSEXW FromPlain(const WNDCLASSW& wc) {
    WNDCLASSEXW ex{};
    ex.cbSize = sizeof ex;
    ex.style = wc.style;
    ex.lpfnWndProc = wc.lpfnWndProc;
    ex.cbClsExtra = wc.cbClsExtra;
    ex.cbWndExtra = wc.cbWndExtra;
    ex.hInstance = wc.hInstance;
    ex.hIcon = wc.hIcon;
    ex.hCursor = wc.hCursor;
    ex.hbrBackground = wc.hbrBackground;
    ex.lpszMenuName = wc.lpszMenuName;
    ex.lpszClassName = wc.lpszClassName;
    return ex;
}

} // namespace

std::u16string ClassKey(LPCWSTR name) {
    return NameOf(name);
}

// Program classes hide system ones; a class not found yet may be one a lazy registrar provides, which runs
// without the lock.
std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name, HINSTANCE) {
    if (!name) {
        return nullptr;
    }
    std::u16string key = NameOf(name);
    if (auto cls = FindClassOnlyLocked(key, false)) {
        return cls;
    }
    if (auto cls = FindClassOnlyLocked(key, true)) {
        return cls;
    }
    return nullptr;
}

// Runs the lazy registrar of a system class, if one is waiting for this name. Lock held on entry and exit.
bool RunLazyRegistrar(Lock& lock, LPCWSTR name) {
    Globals& g = G();
    std::u16string key = Upper(NameOf(name));
    auto it = std::find_if(g.lazyClasses.begin(), g.lazyClasses.end(),
                           [&](const auto& entry) { return Upper(entry.first) == key; });
    if (it == g.lazyClasses.end()) {
        return false;
    }
    void (*registrar)() = it->second;
    g.lazyClasses.erase(it);
    lock.unlock();
    registrar();
    lock.lock();
    return true;
}

std::shared_ptr<WindowClass> FindClassWithLazy(Lock& lock, LPCWSTR name) {
    auto cls = FindClassLocked(name, nullptr);
    if (!cls && name && RunLazyRegistrar(lock, name)) {
        cls = FindClassLocked(name, nullptr);
    }
    return cls;
}

ATOM AtomFor(const std::u16string& name) {
    Lock lock = LockState();
    return AtomForLocked(name);
}

} // namespace display_detail

using namespace display_detail;

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW ex = FromPlain(*wc);
    Lock lock = LockState();
    return RegisterLocked(ex, false);
}

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Lock lock = LockState();
    return RegisterLocked(*wc, false);
}

ATOM DisplayRegisterSystemClass(const WNDCLASSEXW* wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXW copy = *wc;
    copy.style |= CS_GLOBALCLASS;
    Lock lock = LockState();
    return RegisterLocked(copy, true);
}

void DisplayAddLazySystemClass(LPCWSTR className, void (*registrar)()) {
    if (!className || !registrar) {
        return;
    }
    Lock lock = LockState();
    G().lazyClasses.emplace_back(NameOf(className), registrar);
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    if (!className) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    auto cls = FindClassOnlyLocked(NameOf(className), false);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (cls->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    auto& classes = G().classes;
    classes.erase(std::remove(classes.begin(), classes.end(), cls), classes.end());
    return TRUE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, LPWNDCLASSEXW wc) {
    if (!className || !wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    auto cls = FindClassWithLazy(lock, className);
    if (!cls) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wc->style = cls->style;
    wc->lpfnWndProc = cls->proc;
    wc->cbClsExtra = cls->clsExtra;
    wc->cbWndExtra = cls->wndExtra;
    wc->hInstance = cls->instance;
    wc->hIcon = cls->icon;
    wc->hIconSm = cls->iconSmall;
    wc->hCursor = cls->cursor;
    wc->hbrBackground = cls->background;
    wc->lpszMenuName =
        cls->menuNameId ? cls->menuNameId : (cls->menuName.empty() ? nullptr : cls->menuName.c_str());
    wc->lpszClassName = className;
    return cls->atom;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW wc) {
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WNDCLASSEXW ex{};
    ex.cbSize = sizeof ex;
    if (!GetClassInfoExW(instance, className, &ex)) {
        return FALSE;
    }
    wc->style = ex.style;
    wc->lpfnWndProc = ex.lpfnWndProc;
    wc->cbClsExtra = ex.cbClsExtra;
    wc->cbWndExtra = ex.cbWndExtra;
    wc->hInstance = ex.hInstance;
    wc->hIcon = ex.hIcon;
    wc->hCursor = ex.hCursor;
    wc->hbrBackground = ex.hbrBackground;
    wc->lpszMenuName = ex.lpszMenuName;
    wc->lpszClassName = ex.lpszClassName;
    return TRUE;
}

namespace display_detail {
int CopyText(const std::u16string& text, LPWSTR buffer, int maxCount) {
    if (!buffer || maxCount <= 0) {
        return 0;
    }
    int n = std::min(static_cast<int>(text.size()), maxCount - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
    return n;
}
std::u16string ForeignClassName(HWND hwnd);
} // namespace display_detail

int GetClassNameW(HWND hwnd, LPWSTR className, int maxCount) {
    if (IsForeignHandle(hwnd)) {
        return CopyText(ForeignClassName(hwnd), className, maxCount);
    }
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    if (!className || maxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    return CopyText(w->cls->name, className, maxCount);
}

namespace {

bool ExtraOffsetOk(const std::vector<BYTE>& extra, int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) + size <= extra.size();
}

template <class T>
T ReadExtra(const std::vector<BYTE>& extra, int index) {
    T value{};
    std::memcpy(&value, extra.data() + index, sizeof value);
    return value;
}

template <class T>
void WriteExtra(std::vector<BYTE>& extra, int index, T value) {
    std::memcpy(extra.data() + index, &value, sizeof value);
}

ULONG_PTR GetClassValueLocked(WindowClass& cls, int index, std::size_t extraSize, bool& ok) {
    ok = true;
    switch (index) {
    case GCLP_MENUNAME:
        return cls.menuNameId
                   ? reinterpret_cast<ULONG_PTR>(cls.menuNameId)
                   : reinterpret_cast<ULONG_PTR>(cls.menuName.empty() ? nullptr : cls.menuName.c_str());
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<ULONG_PTR>(cls.background);
    case GCLP_HCURSOR:
        return reinterpret_cast<ULONG_PTR>(cls.cursor);
    case GCLP_HICON:
        return reinterpret_cast<ULONG_PTR>(cls.icon);
    case GCLP_HICONSM:
        return reinterpret_cast<ULONG_PTR>(cls.iconSmall);
    case GCLP_HMODULE:
        return reinterpret_cast<ULONG_PTR>(cls.instance);
    case GCLP_WNDPROC:
        return reinterpret_cast<ULONG_PTR>(cls.proc);
    case GCL_CBWNDEXTRA:
        return static_cast<ULONG_PTR>(cls.wndExtra);
    case GCL_CBCLSEXTRA:
        return static_cast<ULONG_PTR>(cls.clsExtra);
    case GCL_STYLE:
        return cls.style;
    case GCW_ATOM:
        return cls.atom;
    default:
        if (ExtraOffsetOk(cls.extra, index, extraSize)) {
            return extraSize == sizeof(ULONG_PTR) ? ReadExtra<ULONG_PTR>(cls.extra, index)
                                                  : ReadExtra<DWORD>(cls.extra, index);
        }
        ok = false;
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

ULONG_PTR SetClassValueLocked(WindowClass& cls, int index, LONG_PTR value, std::size_t extraSize) {
    bool ok = false;
    ULONG_PTR old = GetClassValueLocked(cls, index, extraSize, ok);
    if (!ok) {
        return 0;
    }
    switch (index) {
    case GCLP_MENUNAME:
        if (IS_INTRESOURCE(reinterpret_cast<LPCWSTR>(value))) {
            cls.menuNameId = reinterpret_cast<LPCWSTR>(value);
            cls.menuName.clear();
        } else {
            cls.menuNameId = nullptr;
            cls.menuName = reinterpret_cast<LPCWSTR>(value);
        }
        break;
    case GCLP_HBRBACKGROUND:
        cls.background = reinterpret_cast<HBRUSH>(value);
        break;
    case GCLP_HCURSOR:
        cls.cursor = reinterpret_cast<HCURSOR>(value);
        break;
    case GCLP_HICON:
        cls.icon = reinterpret_cast<HICON>(value);
        break;
    case GCLP_HICONSM:
        cls.iconSmall = reinterpret_cast<HICON>(value);
        break;
    case GCLP_HMODULE:
        cls.instance = reinterpret_cast<HINSTANCE>(value);
        break;
    case GCLP_WNDPROC:
        cls.proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GCL_STYLE:
        cls.style = static_cast<UINT>(value);
        break;
    case GCL_CBWNDEXTRA:
    case GCL_CBCLSEXTRA:
    case GCW_ATOM:
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    default:
        if (extraSize == sizeof(ULONG_PTR)) {
            WriteExtra<ULONG_PTR>(cls.extra, index, static_cast<ULONG_PTR>(value));
        } else {
            WriteExtra<DWORD>(cls.extra, index, static_cast<DWORD>(value));
        }
        break;
    }
    SetLastError(ERROR_SUCCESS);
    return old;
}

} // namespace

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    bool ok = false;
    return GetClassValueLocked(*w->cls, index, sizeof(ULONG_PTR), ok);
}

ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    return SetClassValueLocked(*w->cls, index, value, sizeof(ULONG_PTR));
}

DWORD GetClassLongW(HWND hwnd, int index) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    bool ok = false;
    return static_cast<DWORD>(GetClassValueLocked(*w->cls, index, sizeof(DWORD), ok));
}

DWORD SetClassLongW(HWND hwnd, int index, LONG value) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    return static_cast<DWORD>(SetClassValueLocked(*w->cls, index, value, sizeof(DWORD)));
}

WORD GetClassWord(HWND hwnd, int index) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return 0;
    }
    if (index == GCW_ATOM) {
        return w->cls->atom;
    }
    if (!ExtraOffsetOk(w->cls->extra, index, sizeof(WORD))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return ReadExtra<WORD>(w->cls->extra, index);
}

UINT RegisterWindowMessageW(LPCWSTR name) {
    if (!name || IS_INTRESOURCE(name) || !name[0]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return AtomFor(name);
}
