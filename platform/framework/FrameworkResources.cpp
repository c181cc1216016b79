#include "platform/framework/FrameworkResources.h"

namespace {

AfxResourceProvider g_defaultProvider;
AfxResourceProvider* g_provider = nullptr;
// Stands for the program's own module; never dereferenced.
HINSTANCE const g_instance = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x400000));
HINSTANCE g_resourceHandle = g_instance;

// The resource module behind an instance handle: the program's own stands for the program's module.
HMODULE ModuleOf(HINSTANCE instance) {
    return instance == g_instance ? nullptr : reinterpret_cast<HMODULE>(instance);
}

// The lookups below answer null with ERROR_RESOURCE_NAME_NOT_FOUND (or the loader's error) when nothing fits.
template <class T>
T Checked(T result) {
    if (!result && GetLastError() == 0) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return result;
}

} // namespace

HMENU AfxResourceProvider::LoadMenu(HINSTANCE instance, LPCWSTR name) {
    SetLastError(0);
    return Checked(::LoadMenuW(ModuleOf(instance), name));
}
HACCEL AfxResourceProvider::LoadAccelerators(HINSTANCE instance, LPCWSTR name) {
    SetLastError(0);
    return Checked(::LoadAcceleratorsW(ModuleOf(instance), name));
}
HICON AfxResourceProvider::LoadIcon(HINSTANCE instance, LPCWSTR name) {
    SetLastError(0);
    return Checked(DolivaLoadIconResource(ModuleOf(instance), name, 32, 32, false));
}
HCURSOR AfxResourceProvider::LoadCursor(HINSTANCE instance, LPCWSTR name) {
    SetLastError(0);
    return Checked(reinterpret_cast<HCURSOR>(DolivaLoadIconResource(ModuleOf(instance), name, 32, 32, true)));
}
HBITMAP AfxResourceProvider::LoadBitmap(HINSTANCE instance, LPCWSTR name) {
    SetLastError(0);
    return Checked(::LoadBitmapW(ModuleOf(instance), name));
}
const void* AfxResourceProvider::FindDialogTemplate(HINSTANCE instance, LPCWSTR name, size_t* size) {
    size_t n = 0;
    SetLastError(0);
    const void* data = Checked(DolivaResourceBytes(ModuleOf(instance), name, RT_DIALOG, &n));
    if (size) {
        *size = data ? n : 0;
    }
    return data;
}

AfxResourceProvider* AfxSetResourceProvider(AfxResourceProvider* provider) {
    AfxResourceProvider* previous = g_provider;
    g_provider = provider;
    return previous;
}

AfxResourceProvider& AfxGetResourceProvider() {
    return g_provider ? *g_provider : g_defaultProvider;
}

HINSTANCE AfxGetInstanceHandle() {
    return g_instance;
}
HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle;
}
void AfxSetResourceHandle(HINSTANCE instance) {
    g_resourceHandle = instance ? instance : g_instance;
}
