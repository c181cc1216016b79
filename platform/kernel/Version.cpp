#include "platform/kernel/Version.h"

DWORD GetVersion() {
    constexpr DWORD kMajor = 10;
    constexpr DWORD kMinor = 0;
    constexpr DWORD kBuild = 19041;
    return kMajor | (kMinor << 8) | (kBuild << 16);
}
