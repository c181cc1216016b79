// Top-level windows of this user's other processes: the runtime directory (Rendezvous.h) where each process
// keeps a list of its top-level windows ("<pid>.windows") and a unix socket ("<pid>.sock") through which
// another process asks it to bring a window forward, restore it, or tells whether it is minimised and which
// popup it last activated. Entries of processes that are gone are removed by whoever notices.
#include "platform/display/Rendezvous.h"

#include "platform/base/CodePage.h"
#include "platform/display/DisplayInternal.h"
#include "platform/display/RendezvousText.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace display_detail {
namespace {

using Entry = RendezvousWindow;

struct Proxy {
    pid_t pid = 0;
    std::string start;
    std::string dir;
    std::uintptr_t remote = 0;
    std::u16string cls;
    std::u16string title;
};

struct State {
    std::mutex mutex;
    std::string writtenDir;  // where this process's list was last written
    std::string writtenText; // and what
    pid_t writtenPid = 0;
    // The server.
    pid_t serverPid = 0;
    std::string serverDir;
    int wakeFd = -1;
    // Foreign windows seen through FindWindow.
    std::map<HWND, Proxy> proxies;
    std::uintptr_t nextProxy = 0x40000000;
};

State& S() {
    static State* s = [] {
        auto* state = new State;
        pthread_atfork([] { S().mutex.lock(); }, [] { S().mutex.unlock(); }, [] { S().mutex.unlock(); });
        return state;
    }();
    return *s;
}

std::string Hex(std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(value));
    return buffer;
}

std::string ScopeDir() {
    return DisplayRuntimeDirectory();
}

std::string StartTime(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return {};
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // Field 22 overall; the 20th after the command name.
    for (int i = 0; i < 20 && fields >> field; ++i) {
    }
    return field;
}

// The directory is this user's alone, so a process of another user (EPERM) has taken over a gone one's id.
bool Alive(pid_t pid, const std::string& start) {
    if (pid <= 0 || kill(pid, 0) != 0) {
        return false;
    }
    return start.empty() || StartTime(pid) == start;
}

bool ReadList(const std::string& path, pid_t& pid, std::string& start, std::vector<Entry>& entries) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    std::string text(kMaxWindowListBytes + 1, '\0');
    std::size_t got = 0;
    for (ssize_t n; got < text.size() && (n = read(fd, text.data() + got, text.size() - got)) != 0;) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    text.resize(got);
    RendezvousWindowList list;
    if (!ParseWindowList(text, &list)) {
        return false;
    }
    pid = list.pid;
    start = std::move(list.start);
    entries = std::move(list.windows);
    return true;
}

void RemoveEntry(const std::string& dir, pid_t pid) {
    unlink((dir + "/" + std::to_string(pid) + ".windows").c_str());
    unlink((dir + "/" + std::to_string(pid) + ".sock").c_str());
}

bool WriteAtomically(const std::string& path, const std::string& text) {
    std::string tmp = path + ".tmp";
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return ok && rename(tmp.c_str(), path.c_str()) == 0;
}

std::string Handle(const std::string& verb, HWND hwnd, int showCommand) {
    if (!IsWindow(hwnd) || GetAncestor(hwnd, GA_ROOT) != hwnd) {
        return "err";
    }
    if (verb == "iconic") {
        return IsIconic(hwnd) ? "1" : "0";
    }
    if (verb == "iswindow") {
        return "1";
    }
    if (verb == "show") {
        return ShowWindow(hwnd, showCommand) ? "1" : "0";
    }
    if (verb == "foreground") {
        return SetForegroundWindow(hwnd) ? "1" : "0";
    }
    if (verb == "popup") {
        return Hex(reinterpret_cast<std::uintptr_t>(GetLastActivePopup(hwnd)));
    }
    return "err";
}

int Listen(const std::string& path) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) {
        close(fd);
        return -1;
    }
    std::strcpy(addr.sun_path, path.c_str());
    unlink(path.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 8) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void Serve(int wakeFd) {
    std::string dir;
    int listenFd = -1;
    for (;;) {
        std::string wanted;
        {
            std::lock_guard<std::mutex> guard(S().mutex);
            wanted = S().serverDir;
        }
        if (wanted != dir) {
            if (listenFd >= 0) {
                close(listenFd);
                unlink((dir + "/" + std::to_string(getpid()) + ".sock").c_str());
            }
            dir = wanted;
            listenFd = Listen(dir + "/" + std::to_string(getpid()) + ".sock");
        }
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {listenFd, POLLIN, 0}};
        if (poll(fds, listenFd >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t value = 0;
            (void)!read(wakeFd, &value, sizeof value);
        }
        if (listenFd < 0 || !(fds[1].revents & POLLIN)) {
            continue;
        }
        int client = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            continue;
        }
        timeval tv{5, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        std::string line;
        char c = 0;
        while (line.size() < 256 && read(client, &c, 1) == 1 && c != '\n') {
            line += c;
        }
        RendezvousRequest request;
        std::string answer = "err\n";
        if (ParseRequest(line, &request)) {
            HWND hwnd = reinterpret_cast<HWND>(request.handle);
            answer = Handle(request.verb, hwnd, request.command) + "\n";
        }
        (void)!write(client, answer.data(), answer.size());
        close(client);
    }
}

void EnsureServer(const std::string& dir) {
    State& s = S();
    bool start = false;
    {
        std::lock_guard<std::mutex> guard(s.mutex);
        if (s.serverPid != getpid()) {
            s.serverPid = getpid();
            s.wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
            start = true;
        }
        if (s.serverDir != dir) {
            s.serverDir = dir;
            std::uint64_t one = 1;
            (void)!write(s.wakeFd, &one, sizeof one);
        }
    }
    if (start) {
        int fd = S().wakeFd;
        std::thread([fd] { Serve(fd); }).detach();
    }
}

void CleanStale(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    if (!d) {
        return;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > 8 && name.compare(name.size() - 8, 8, ".windows") == 0) {
            names.push_back(name);
        }
    }
    closedir(d);
    for (const std::string& name : names) {
        pid_t pid = 0;
        std::string start;
        std::vector<Entry> entries;
        if (ReadList(dir + "/" + name, pid, start, entries) && pid != getpid() && !Alive(pid, start)) {
            RemoveEntry(dir, pid);
        }
    }
}

HWND ProxyFor(pid_t pid, const std::string& start, const std::string& dir, const Entry& e) {
    State& s = S();
    std::lock_guard<std::mutex> guard(s.mutex);
    for (auto& [h, p] : s.proxies) {
        if (p.pid == pid && p.remote == e.handle && p.dir == dir) {
            if (!e.cls.empty()) {
                p.cls = e.cls;
                p.title = e.title;
            }
            return h;
        }
    }
    HWND h = reinterpret_cast<HWND>(s.nextProxy);
    s.nextProxy += 2;
    s.proxies[h] = Proxy{pid, start, dir, e.handle, e.cls, e.title};
    return h;
}

bool FindProxy(HWND hwnd, Proxy& out) {
    State& s = S();
    std::lock_guard<std::mutex> guard(s.mutex);
    auto it = s.proxies.find(hwnd);
    if (it == s.proxies.end()) {
        return false;
    }
    out = it->second;
    return true;
}

// The proxy's entry as its process lists it now; false when the window or the process is gone.
bool Refresh(HWND hwnd, Proxy& p, Entry* entry) {
    if (!FindProxy(hwnd, p)) {
        return false;
    }
    pid_t pid = 0;
    std::string start;
    std::vector<Entry> entries;
    if (!ReadList(p.dir + "/" + std::to_string(p.pid) + ".windows", pid, start, entries) || pid != p.pid ||
        start != p.start) {
        return false;
    }
    if (!Alive(p.pid, p.start)) {
        RemoveEntry(p.dir, p.pid);
        return false;
    }
    for (const Entry& e : entries) {
        if (e.handle == p.remote) {
            if (entry) {
                *entry = e;
            }
            return true;
        }
    }
    return false;
}

} // namespace

void RendezvousUpdate() {
    std::vector<Entry> entries;
    {
        Lock lock = LockState();
        Globals& g = G();
        for (HWND top : FindQuietLocked(g.desktop)->children) {
            Window* t = FindQuietLocked(top);
            if (!t || t->isMessageOnly || t->destroying) {
                continue;
            }
            Entry e;
            e.handle = reinterpret_cast<std::uintptr_t>(top);
            e.visible = (t->style & WS_VISIBLE) != 0;
            e.iconic = t->minimized;
            e.cls = t->cls->name;
            e.title = t->text;
            entries.push_back(std::move(e));
        }
    }
    std::string dir = ScopeDir();
    if (dir.empty()) {
        return; // refused: the program says so at its start
    }
    pid_t pid = getpid();
    RendezvousWindowList list{static_cast<int>(pid), StartTime(pid), std::move(entries)};
    std::string text = FormatWindowList(list);
    entries = std::move(list.windows);
    State& s = S();
    std::string oldDir;
    {
        std::lock_guard<std::mutex> guard(s.mutex);
        if (s.writtenPid == pid && s.writtenDir == dir && s.writtenText == text) {
            return;
        }
        if (s.writtenPid == pid) {
            oldDir = s.writtenDir;
        }
        s.writtenPid = pid;
        s.writtenDir = dir;
        s.writtenText = text;
    }
    if (!oldDir.empty() && oldDir != dir) {
        RemoveEntry(oldDir, pid);
    }
    if (entries.empty()) {
        RemoveEntry(dir, pid);
        std::lock_guard<std::mutex> guard(s.mutex);
        s.writtenText.clear();
        return;
    }
    CleanStale(dir);
    WriteAtomically(dir + "/" + std::to_string(pid) + ".windows", text);
    EnsureServer(dir);
}

bool IsForeignHandle(HWND hwnd) {
    if (reinterpret_cast<std::uintptr_t>(hwnd) < 0x40000000) {
        return false;
    }
    State& s = S();
    std::lock_guard<std::mutex> guard(s.mutex);
    return s.proxies.count(hwnd) != 0;
}

HWND RendezvousFind(const std::u16string* className, const std::u16string* title, HWND after) {
    std::string dir = ScopeDir();
    if (dir.empty()) {
        return nullptr;
    }
    Proxy afterProxy;
    bool skipping = after && FindProxy(after, afterProxy);
    DIR* d = opendir(dir.c_str());
    if (!d) {
        return nullptr;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() > 8 && name.compare(name.size() - 8, 8, ".windows") == 0) {
            names.push_back(name);
        }
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    std::u16string wantClass = className ? Upper(*className) : std::u16string();
    std::u16string wantTitle = title ? Upper(*title) : std::u16string();
    for (const std::string& name : names) {
        pid_t pid = 0;
        std::string start;
        std::vector<Entry> entries;
        if (!ReadList(dir + "/" + name, pid, start, entries) || pid == getpid()) {
            continue;
        }
        if (!Alive(pid, start)) {
            RemoveEntry(dir, pid);
            continue;
        }
        for (const Entry& e : entries) {
            if (skipping) {
                if (pid == afterProxy.pid && e.handle == afterProxy.remote) {
                    skipping = false;
                }
                continue;
            }
            if (className && Upper(e.cls) != wantClass) {
                continue;
            }
            if (title && Upper(e.title) != wantTitle) {
                continue;
            }
            return ProxyFor(pid, start, dir, e);
        }
    }
    return nullptr;
}

bool ForeignIsWindow(HWND hwnd) {
    Proxy p;
    return Refresh(hwnd, p, nullptr);
}

DWORD ForeignProcessId(HWND hwnd) {
    Proxy p;
    return Refresh(hwnd, p, nullptr) ? static_cast<DWORD>(p.pid) : 0;
}

std::u16string ForeignClassName(HWND hwnd) {
    Proxy p;
    Entry e;
    return Refresh(hwnd, p, &e) ? e.cls : std::u16string();
}

std::u16string ForeignTitle(HWND hwnd) {
    Proxy p;
    Entry e;
    return Refresh(hwnd, p, &e) ? e.title : std::u16string();
}

bool ForeignRequest(HWND hwnd, const std::string& request, std::int64_t& answer) {
    Proxy p;
    if (!Refresh(hwnd, p, nullptr)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    std::string verb = request.substr(0, request.find(' '));
    std::string arg = request.find(' ') == std::string::npos ? "" : request.substr(request.find(' ') + 1);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        SetLastErrorFromErrno();
        return false;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = p.dir + "/" + std::to_string(p.pid) + ".sock";
    if (path.size() >= sizeof addr.sun_path) {
        close(fd);
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::strcpy(addr.sun_path, path.c_str());
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    std::string line = FormatRequest(RendezvousRequest{verb, p.remote, std::atoi(arg.c_str())}) + "\n";
    bool sent = write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    std::string reply;
    char c = 0;
    while (sent && reply.size() < 64 && read(fd, &c, 1) == 1 && c != '\n') {
        reply += c;
    }
    close(fd);
    if (!sent || reply.empty() || reply == "err") {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (verb == "popup") {
        Entry e;
        e.handle = static_cast<std::uintptr_t>(std::strtoull(reply.c_str(), nullptr, 16));
        answer =
            static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(ProxyFor(p.pid, p.start, p.dir, e)));
        return true;
    }
    answer = std::strtoll(reply.c_str(), nullptr, 10);
    return true;
}

} // namespace display_detail

std::string DisplayPrivateDirectoryProblem(const std::string& dir, uid_t owner) {
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        return dir + " cannot be created (" + std::strerror(errno) + ")";
    }
    struct stat st {};
    if (lstat(dir.c_str(), &st) != 0) {
        return dir + " cannot be read (" + std::strerror(errno) + ")";
    }
    if (S_ISLNK(st.st_mode)) {
        return dir + " is a symbolic link";
    }
    if (!S_ISDIR(st.st_mode)) {
        return dir + " is not a directory";
    }
    if (st.st_uid != owner) {
        return dir + " belongs to another user (uid " + std::to_string(st.st_uid) + ")";
    }
    if (st.st_mode & 077) {
        char mode[16];
        std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
        return dir + " can be reached by other users (mode " + mode + ")";
    }
    return {};
}

std::string DisplayRuntimeDirectory(std::string* problem) {
    const uid_t uid = geteuid();
    std::string base;
    std::string wrong;
    struct stat st {};
    // One named but missing (a session that is gone) counts as none.
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && *runtime && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
        base = runtime;
    } else {
        const char* tmp = std::getenv("TMPDIR");
        base = std::string(tmp && *tmp == '/' ? tmp : "/tmp") + "/doliva-runtime-" + std::to_string(uid);
        wrong = DisplayPrivateDirectoryProblem(base, uid);
    }
    std::string dir = base + "/doliva";
    if (const char* config = std::getenv("DOLIVA_CONFIG_DIR"); config && *config) {
        std::uint64_t h = 1469598103934665603ull; // FNV-1a
        for (const char* c = config; *c; ++c) {
            h ^= static_cast<unsigned char>(*c);
            h *= 1099511628211ull;
        }
        char hex[32];
        std::snprintf(hex, sizeof hex, "-%llx", static_cast<unsigned long long>(h));
        dir += hex;
    }
    if (wrong.empty()) {
        wrong = DisplayPrivateDirectoryProblem(dir, uid);
    }
    if (problem) {
        *problem = wrong;
    }
    return wrong.empty() ? dir : std::string();
}

InstanceClaim DisplayClaimInstance(const std::u16string& name, ExclusiveFileLock& lock,
                                   std::string* problem) {
    std::string why;
    const std::string dir = DisplayRuntimeDirectory(&why);
    if (!dir.empty()) {
        std::string file;
        for (char c : Utf16ToUtf8(name)) {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            file += plain ? c : '_';
        }
        switch (lock.TryTake(dir + "/" + file + ".instance", &why)) {
        case ExclusiveFileLock::Result::kTaken:
            return InstanceClaim::kClaimed;
        case ExclusiveFileLock::Result::kHeld:
            return InstanceClaim::kRunning;
        case ExclusiveFileLock::Result::kUnavailable:
            break;
        }
    }
    if (problem) {
        *problem = why;
    }
    return InstanceClaim::kRefused;
}
