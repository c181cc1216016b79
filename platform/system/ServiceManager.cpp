// The service control manager half of Services.h: unit files in the unit directory.

#include "platform/system/Services.h"

#include "platform/base/CodePage.h"
#include "platform/system/SpawnProcess.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMarker[] = "# Installed through CreateServiceW; DeleteService removes it.";
constexpr char kSystemUnitDirectory[] = "/etc/systemd/system";

struct ScObject : SC_HANDLE__ {
    enum class Kind { Manager, Service };
    Kind kind = Kind::Manager;
    DWORD access = 0;
    std::string unitDir;
    std::string unitFile; // the service's unit file name as found on disk
    bool deleted = false;
};

std::mutex g_mutex;
std::map<SC_HANDLE, std::unique_ptr<ScObject>> g_handles;
ServiceCommandRunner g_runner;

ScObject* Lookup(SC_HANDLE handle, ScObject::Kind kind) {
    auto it = g_handles.find(handle);
    if (it == g_handles.end() || it->second->kind != kind) {
        return nullptr;
    }
    return it->second.get();
}

SC_HANDLE NewHandle(ScObject object) {
    auto heap = std::make_unique<ScObject>(std::move(object));
    SC_HANDLE handle = heap.get();
    g_handles.emplace(handle, std::move(heap));
    return handle;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Narrow(LPCWSTR text) {
    return text ? Utf16ToUtf8(text) : std::string();
}

// Letters, digits and ":_.-": what a unit name can carry without escaping, and no path tricks.
bool ValidServiceName(const std::string& name) {
    if (name.empty() || name.size() > 200 || name[0] == '.') {
        return false;
    }
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        c == ':' || c == '_' || c == '.' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return true;
}

// The unit file of a service in the directory, matched without regard to case; empty when none.
std::string FindUnitFile(const std::string& dir, const std::string& name) {
    const std::string wanted = name + ".service";
    struct stat st {};
    if (stat((dir + "/" + wanted).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        return wanted;
    }
    std::string found;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* entry = readdir(d)) {
            if (EqualsNoCase(entry->d_name, wanted)) {
                found = entry->d_name;
                break;
            }
        }
        closedir(d);
    }
    return found;
}

bool IsSystemUnitDirectory() {
    const char* dir = std::getenv("DOLIVA_UNIT_DIR");
    return !dir || !*dir;
}

int DefaultRunner(const std::vector<std::string>& argv) {
    return system_detail::RunAndWait(argv);
}

// Best effort: systemd picks the change up at the next reload anyway.
void RunSystemctl(std::vector<std::string> argv) {
    ServiceCommandRunner runner;
    {
        std::lock_guard lock(g_mutex);
        runner = g_runner;
    }
    if (!runner) {
        if (!IsSystemUnitDirectory()) {
            return;
        }
        runner = DefaultRunner;
    }
    argv.insert(argv.begin(), "systemctl");
    const int status = runner(argv);
    if (status != 0) {
        std::string line;
        for (const std::string& arg : argv) {
            line += (line.empty() ? "" : " ") + arg;
        }
        std::fprintf(stderr, "doliva: \"%s\" answered %d\n", line.c_str(), status);
    }
}

// ---- ExecStart from the original's binary path command line

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::string text = commandLine;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.erase(0, 1);
    }
    std::string program;
    std::string rest;
    if (!text.empty() && text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        program = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        rest = close == std::string::npos ? std::string() : text.substr(close + 1);
    } else {
        struct stat st {};
        // An unquoted path with spaces names the program when such a file exists.
        if (stat(text.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            program = text;
        } else {
            const std::size_t space = text.find_first_of(" \t");
            program = text.substr(0, space);
            rest = space == std::string::npos ? std::string() : text.substr(space);
        }
    }
    std::vector<std::string> argv{program};
    for (std::string& word : system_detail::SplitCommandWords(rest)) {
        argv.push_back(std::move(word));
    }
    return argv;
}

// One ExecStart word: "%" and "$" doubled (systemd would expand them), quoted when needed.
std::string UnitWord(const std::string& word) {
    std::string escaped;
    bool needsQuotes = word.empty();
    for (char c : word) {
        switch (c) {
        case '%':
            escaped += "%%";
            break;
        case '$':
            escaped += "$$";
            break;
        case '\\':
        case '"':
            escaped += '\\';
            escaped += c;
            needsQuotes = true;
            break;
        case ' ':
        case '\t':
        case '\'':
        case ';':
            escaped += c;
            needsQuotes = true;
            break;
        default:
            escaped += c;
        }
    }
    return needsQuotes ? "\"" + escaped + "\"" : escaped;
}

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text;
}

std::optional<std::string> UserLine(const std::string& account) {
    std::string name = account;
    if (const std::size_t slash = name.rfind('\\'); slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    if (name.empty() || EqualsNoCase(name, "LocalSystem")) {
        return std::nullopt;
    }
    return "User=" + OneLine(name) + "\n";
}

// The service's own runtime directory, made by systemd (so nobody can make it first) and handed to the
// program as its XDG_RUNTIME_DIR; "%t" is /run for a system service.
std::string RuntimeDirectoryLines(std::string name) {
    std::replace(name.begin(), name.end(), ':', '_'); // a colon would name a link
    return "RuntimeDirectory=" + name + "\nRuntimeDirectoryMode=0700\nEnvironment=XDG_RUNTIME_DIR=%t/" +
           name + "\n";
}

std::string UnitText(const std::string& name, const std::string& displayName, const std::string& binaryPath,
                     DWORD startType, LPCWSTR dependencies, const std::string& account) {
    std::string unit = std::string(kMarker) + "\n[Unit]\nDescription=" + OneLine(displayName) + "\n";
    for (LPCWSTR dep = dependencies; dep && *dep; dep += std::char_traits<char16_t>::length(dep) + 1) {
        if (*dep == SC_GROUP_IDENTIFIERW) {
            continue;
        }
        const std::string name = Narrow(dep);
        if (ValidServiceName(name)) {
            unit += "Requires=" + name + ".service\nAfter=" + name + ".service\n";
        }
    }
    unit += "\n[Service]\nType=notify\nExecStart=";
    const std::vector<std::string> argv = SplitCommandLine(binaryPath);
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (i) {
            unit += ' ';
        }
        unit += UnitWord(argv[i]);
    }
    unit += "\nAmbientCapabilities=CAP_SYS_TIME\nRestart=no\n" + RuntimeDirectoryLines(name);
    if (std::optional<std::string> user = UserLine(account)) {
        unit += *user;
    }
    if (startType == SERVICE_AUTO_START) {
        unit += "\n[Install]\nWantedBy=multi-user.target\n";
    }
    return unit;
}

// Written in full under a temporary name, then linked into place: a half-written unit is never seen, and
// the link fails when the unit appeared meanwhile.
DWORD WriteUnitFile(const std::string& dir, const std::string& file, const std::string& text) {
    std::string temp = dir + "/.doliva-unit-XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return Win32ErrorFromErrno(errno);
    }
    DWORD result = ERROR_SUCCESS;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            result = n < 0 ? Win32ErrorFromErrno(errno) : ERROR_WRITE_FAULT;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (result == ERROR_SUCCESS && (fchmod(fd, 0644) != 0 || fsync(fd) != 0)) {
        result = Win32ErrorFromErrno(errno);
    }
    close(fd);
    if (result == ERROR_SUCCESS && link(temp.c_str(), (dir + "/" + file).c_str()) != 0) {
        result = errno == EEXIST ? ERROR_SERVICE_EXISTS : Win32ErrorFromErrno(errno);
    }
    unlink(temp.c_str());
    return result;
}

bool ReadFile(const std::string& path, std::string* text) {
    FILE* f = std::fopen(path.c_str(), "rbe");
    if (!f) {
        return false;
    }
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        text->append(buf, n);
    }
    std::fclose(f);
    return true;
}

bool EqualsNoCase16(LPCWSTR a, std::u16string_view b) {
    std::u16string_view av(a);
    if (av.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < av.size(); ++i) {
        auto lower = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
        };
        if (lower(av[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Connecting, enumerating, querying, READ_CONTROL and GENERIC_READ leave the unit directory alone.
constexpr DWORD kReadOnlyManagerAccess = SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE |
                                         SC_MANAGER_QUERY_LOCK_STATUS | 0x00020000u | 0x80000000u;

} // namespace

std::string ServiceUnitDirectory() {
    const char* dir = std::getenv("DOLIVA_UNIT_DIR");
    return dir && *dir ? dir : kSystemUnitDirectory;
}

void SetServiceCommandRunner(ServiceCommandRunner runner) {
    std::lock_guard lock(g_mutex);
    g_runner = std::move(runner);
}

SC_HANDLE OpenSCManagerW(LPCWSTR machineName, LPCWSTR databaseName, DWORD desiredAccess) {
    if (machineName && *machineName) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    if (databaseName && !EqualsNoCase16(databaseName, SERVICES_ACTIVE_DATABASEW)) {
        SetLastError(ERROR_DATABASE_DOES_NOT_EXIST);
        return nullptr;
    }
    const std::string dir = ServiceUnitDirectory();
    struct stat st {};
    const bool writeWanted = (desiredAccess & ~kReadOnlyManagerAccess) != 0;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        (writeWanted && faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) != 0)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    ScObject object;
    object.kind = ScObject::Kind::Manager;
    object.access = desiredAccess;
    object.unitDir = dir;
    std::lock_guard lock(g_mutex);
    return NewHandle(std::move(object));
}

SC_HANDLE CreateServiceW(SC_HANDLE manager, LPCWSTR serviceName, LPCWSTR displayName, DWORD desiredAccess,
                         DWORD serviceType, DWORD startType, DWORD errorControl, LPCWSTR binaryPathName,
                         LPCWSTR, LPDWORD tagId, LPCWSTR dependencies, LPCWSTR serviceStartName, LPCWSTR) {
    std::string dir;
    {
        std::lock_guard lock(g_mutex);
        ScObject* scm = Lookup(manager, ScObject::Kind::Manager);
        if (!scm) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        if (!(scm->access & SC_MANAGER_CREATE_SERVICE)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        dir = scm->unitDir;
    }
    const std::string name = Narrow(serviceName);
    if (!ValidServiceName(name)) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    const DWORD kind = serviceType & ~static_cast<DWORD>(SERVICE_INTERACTIVE_PROCESS);
    if ((kind != SERVICE_WIN32_OWN_PROCESS && kind != SERVICE_WIN32_SHARE_PROCESS) ||
        (startType != SERVICE_AUTO_START && startType != SERVICE_DEMAND_START &&
         startType != SERVICE_DISABLED) ||
        errorControl > SERVICE_ERROR_CRITICAL || !binaryPathName || !*binaryPathName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!FindUnitFile(dir, name).empty()) {
        SetLastError(ERROR_SERVICE_EXISTS);
        return nullptr;
    }
    const std::string file = name + ".service";
    const std::string text = UnitText(name, displayName ? Narrow(displayName) : name, Narrow(binaryPathName),
                                      startType, dependencies, Narrow(serviceStartName));
    if (const DWORD error = WriteUnitFile(dir, file, text); error != ERROR_SUCCESS) {
        SetLastError(error);
        return nullptr;
    }
    if (tagId) {
        *tagId = 0;
    }
    RunSystemctl({"daemon-reload"});
    if (startType == SERVICE_AUTO_START) {
        RunSystemctl({"enable", file});
    }
    ScObject object;
    object.kind = ScObject::Kind::Service;
    object.access = desiredAccess;
    object.unitDir = dir;
    object.unitFile = file;
    std::lock_guard lock(g_mutex);
    return NewHandle(std::move(object));
}

SC_HANDLE OpenServiceW(SC_HANDLE manager, LPCWSTR serviceName, DWORD desiredAccess) {
    std::string dir;
    {
        std::lock_guard lock(g_mutex);
        ScObject* scm = Lookup(manager, ScObject::Kind::Manager);
        if (!scm) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        dir = scm->unitDir;
    }
    const std::string name = Narrow(serviceName);
    if (!ValidServiceName(name)) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    std::string file = FindUnitFile(dir, name);
    if (file.empty()) {
        SetLastError(ERROR_SERVICE_DOES_NOT_EXIST);
        return nullptr;
    }
    ScObject object;
    object.kind = ScObject::Kind::Service;
    object.access = desiredAccess;
    object.unitDir = dir;
    object.unitFile = std::move(file);
    std::lock_guard lock(g_mutex);
    return NewHandle(std::move(object));
}

BOOL DeleteService(SC_HANDLE service) {
    std::string path;
    std::string file;
    {
        std::lock_guard lock(g_mutex);
        ScObject* object = Lookup(service, ScObject::Kind::Service);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (!(object->access & DELETE)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (object->deleted) {
            SetLastError(ERROR_SERVICE_MARKED_FOR_DELETE);
            return FALSE;
        }
        file = object->unitFile;
        path = object->unitDir + "/" + file;
    }
    std::string text;
    if (!ReadFile(path, &text)) {
        SetLastError(errno == ENOENT ? ERROR_SERVICE_MARKED_FOR_DELETE : Win32ErrorFromErrno(errno));
        return FALSE;
    }
    if (text.rfind(kMarker, 0) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    RunSystemctl({"disable", file});
    if (unlink(path.c_str()) != 0) {
        SetLastError(errno == ENOENT ? ERROR_SERVICE_MARKED_FOR_DELETE : Win32ErrorFromErrno(errno));
        return FALSE;
    }
    RunSystemctl({"daemon-reload"});
    std::lock_guard lock(g_mutex);
    if (ScObject* object = Lookup(service, ScObject::Kind::Service)) {
        object->deleted = true;
    }
    return TRUE;
}

BOOL CloseServiceHandle(SC_HANDLE handle) {
    std::lock_guard lock(g_mutex);
    if (!g_handles.erase(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
