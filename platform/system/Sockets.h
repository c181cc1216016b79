// The socket library's start and end, and closing sockets. Sockets are the system's descriptors.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"

using SOCKET = UINT_PTR;
#define INVALID_SOCKET (~static_cast<SOCKET>(0))
#define SOCKET_ERROR (-1)

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

typedef struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
} WSADATA, *LPWSADATA;

#define WSABASEERR 10000
#define WSAEINTR 10004
#define WSAEBADF 10009
#define WSAEFAULT 10014
#define WSAEINVAL 10022
#define WSAENOTSOCK 10038
#define WSASYSNOTREADY 10091
#define WSAVERNOTSUPPORTED 10092
#define WSANOTINITIALISED 10093

// Answers 0 and fills data: wVersion is the version asked for, or 2.2 when more is asked; wHighVersion is
// 2.2. A version below 1.0 answers WSAVERNOTSUPPORTED (data still filled), a null data WSAEFAULT. The
// library counts starts; WSACleanup without a start answers SOCKET_ERROR with WSANOTINITIALISED.
int WSAStartup(WORD versionRequested, LPWSADATA data);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int error);
// 0, or SOCKET_ERROR with WSAENOTSOCK when the value is not an open socket.
int closesocket(SOCKET s);
