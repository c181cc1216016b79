// The program's module: its path and handle. There is one module, the running executable.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"

// The path of the running program (/proc/self/exe) for a null module or the program's own handle. Answers
// the length copied; a buffer too small gets the truncated path, answers nSize and sets
// ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
// The program's own handle for a null name; null (ERROR_MOD_NOT_FOUND) for any other module.
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);

#define GetModuleFileName GetModuleFileNameW
#define GetModuleHandle GetModuleHandleW
