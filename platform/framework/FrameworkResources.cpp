#include "platform/framework/FrameworkResources.h"

namespace {

AfxResourceProvider g_defaultProvider;
AfxResourceProvider* g_provider = nullptr;
// Stands for the program's own module; never dereferenced.
HINSTANCE const g_instance = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x400000));
HINSTANCE g_resourceHandle = g_instance;

template <class T>
T NotFound() {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

} // namespace

HMENU AfxResourceProvider::LoadMenu(HINSTANCE, LPCWSTR) {
    return NotFound<HMENU>();
}
HACCEL AfxResourceProvider::LoadAccelerators(HINSTANCE, LPCWSTR) {
    return NotFound<HACCEL>();
}
HICON AfxResourceProvider::LoadIcon(HINSTANCE, LPCWSTR) {
    return NotFound<HICON>();
}
HCURSOR AfxResourceProvider::LoadCursor(HINSTANCE, LPCWSTR) {
    return NotFound<HCURSOR>();
}
HBITMAP AfxResourceProvider::LoadBitmap(HINSTANCE, LPCWSTR) {
    return NotFound<HBITMAP>();
}
const void* AfxResourceProvider::FindDialogTemplate(HINSTANCE, LPCWSTR, size_t* size) {
    if (size) {
        *size = 0;
    }
    return NotFound<const void*>();
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
