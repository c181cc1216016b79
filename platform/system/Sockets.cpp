#include "platform/system/Sockets.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {
std::atomic<int> g_starts{0};
constexpr WORD kHighVersion = MAKEWORD(2, 2);
} // namespace

int WSAStartup(WORD versionRequested, LPWSADATA data) {
    if (!data) {
        return WSAEFAULT;
    }
    const BYTE major = LOBYTE(versionRequested);
    const BYTE minor = HIBYTE(versionRequested);
    std::memset(data, 0, sizeof *data);
    const bool above = major > 2 || (major == 2 && minor > 2);
    data->wVersion = above ? kHighVersion : versionRequested;
    data->wHighVersion = kHighVersion;
    std::strcpy(data->szDescription, "WinSock 2.0");
    std::strcpy(data->szSystemStatus, "Running");
    if (major < 1) {
        return WSAVERNOTSUPPORTED;
    }
    ++g_starts;
    return 0;
}

int WSACleanup() {
    int starts = g_starts.load();
    while (starts > 0 && !g_starts.compare_exchange_weak(starts, starts - 1)) {
    }
    if (starts <= 0) {
        WSASetLastError(WSANOTINITIALISED);
        return SOCKET_ERROR;
    }
    return 0;
}

int WSAGetLastError() {
    return static_cast<int>(GetLastError());
}

void WSASetLastError(int error) {
    SetLastError(static_cast<DWORD>(error));
}

int closesocket(SOCKET s) {
    struct stat st {};
    if (s > static_cast<SOCKET>(INT32_MAX) || fstat(static_cast<int>(s), &st) != 0 || !S_ISSOCK(st.st_mode)) {
        WSASetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (close(static_cast<int>(s)) != 0 && errno != EINTR) {
        WSASetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    return 0;
}
