// Opening documents and addresses through the desktop: xdg-open.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/base/WindowTypes.h"

#include <functional>
#include <string>
#include <vector>

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31
#define SE_ERR_DLLNOTFOUND 32

// The verbs "open" (or none) and "explore". An address with a scheme ("https://...", "mailto:...") and a
// file that is not a program are handed to xdg-open; a program file is started with the parameters (split
// as the original splits a command line), in `directory` when given. Relative paths are taken from
// `directory`. Answers a value above 32 when the launch started; otherwise SE_ERR_FNF for a missing file,
// SE_ERR_NOASSOC for another verb or when nothing could be started, SE_ERR_ACCESSDENIED or SE_ERR_OOM, with
// the last error set. The launched program runs detached; nothing waits for it. The window and show
// command are not used.
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT showCommand);
#define ShellExecute ShellExecuteW

struct ShellLaunch {
    std::vector<std::string> argv; // argv[0] is searched in PATH
    std::string directory;         // empty: the current one
};
// Starts a launch without waiting for it: 0, or the errno value of the failure. Tests put their own in
// place so that nothing is opened; an empty one restores the real one.
using ShellLauncher = std::function<int(const ShellLaunch& launch)>;
void SetShellLauncher(ShellLauncher launcher);
