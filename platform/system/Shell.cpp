#include "platform/system/Shell.h"

#include "platform/base/CodePage.h"
#include "platform/system/SpawnProcess.h"

#include <cerrno>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_mutex;
ShellLauncher g_launcher;

int SystemLauncher(const ShellLaunch& launch) {
    return system_detail::SpawnDetached(launch.argv, launch.directory);
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// "scheme:" with at least two characters, so that a drive letter is not taken for one.
bool HasScheme(const std::string& text) {
    std::size_t i = 0;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (text.empty() || !alpha(text[0])) {
        return false;
    }
    while (i < text.size() && (alpha(text[i]) || (text[i] >= '0' && text[i] <= '9') || text[i] == '+' ||
                               text[i] == '-' || text[i] == '.')) {
        ++i;
    }
    return i >= 2 && i < text.size() && text[i] == ':';
}

HINSTANCE Code(int value) {
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(value));
}

HINSTANCE Fail(int shellCode, DWORD error) {
    SetLastError(error);
    return Code(shellCode);
}

} // namespace

void SetShellLauncher(ShellLauncher launcher) {
    std::lock_guard lock(g_mutex);
    g_launcher = std::move(launcher);
}

HINSTANCE ShellExecuteW(HWND, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT) {
    if (operation && *operation && !EqualsNoCase(operation, u"open") &&
        !EqualsNoCase(operation, u"explore")) {
        return Fail(SE_ERR_NOASSOC, ERROR_NOT_SUPPORTED);
    }
    if (!file || !*file) {
        return Fail(SE_ERR_FNF, ERROR_FILE_NOT_FOUND);
    }
    const std::string target = Utf16ToUtf8(file);
    const std::string dir = directory ? Utf16ToUtf8(directory) : std::string();

    ShellLaunch launch;
    if (HasScheme(target)) {
        launch.argv = {"xdg-open", target};
    } else {
        const std::string path = target[0] == '/' || dir.empty() ? target : dir + "/" + target;
        struct stat st {};
        if (stat(path.c_str(), &st) != 0) {
            return errno == ENOENT ? Fail(SE_ERR_FNF, ERROR_FILE_NOT_FOUND)
                                   : Fail(SE_ERR_PNF, Win32ErrorFromErrno(errno));
        }
        if (S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0) {
            launch.argv = {path};
            for (std::string& word :
                 system_detail::SplitCommandWords(parameters ? Utf16ToUtf8(parameters) : std::string())) {
                launch.argv.push_back(std::move(word));
            }
            launch.directory = dir;
        } else {
            launch.argv = {"xdg-open", path};
        }
    }

    ShellLauncher launcher;
    {
        std::lock_guard lock(g_mutex);
        launcher = g_launcher;
    }
    const int err = launcher ? launcher(launch) : SystemLauncher(launch);
    switch (err) {
    case 0:
        return Code(42);
    case EACCES:
    case EPERM:
        return Fail(SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED);
    case ENOMEM:
        return Fail(SE_ERR_OOM, ERROR_NOT_ENOUGH_MEMORY);
    default:
        return Fail(SE_ERR_NOASSOC, Win32ErrorFromErrno(err));
    }
}
