#include "platform/framework/ModulePath.h"

#include "platform/base/CodePage.h"
#include "platform/framework/FrameworkResources.h"

#include <cstring>
#include <string>
#include <unistd.h>

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    if (hModule && hModule != AfxGetInstanceHandle()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        SetLastErrorFromErrno();
        return 0;
    }
    std::u16string path = Utf8ToUtf16(std::string(buffer, static_cast<size_t>(n)));
    if (!lpFilename || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    DWORD copied = static_cast<DWORD>(path.size() < nSize ? path.size() : nSize - 1);
    std::memcpy(lpFilename, path.data(), copied * sizeof(char16_t));
    lpFilename[copied] = 0;
    if (copied < path.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    return copied;
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
    if (lpModuleName) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return AfxGetInstanceHandle();
}
