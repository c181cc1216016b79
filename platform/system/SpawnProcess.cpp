#include "platform/system/SpawnProcess.h"

#include <cerrno>
#include <csignal>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class SpawnSettings {
public:
    SpawnSettings() {
        posix_spawnattr_init(&attr_);
        posix_spawn_file_actions_init(&actions_);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attr_, &none);
        posix_spawnattr_setsigdefault(&attr_, &all);
        flags_ = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        posix_spawnattr_setflags(&attr_, flags_);
    }
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attr_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    void NewSession() {
        flags_ |= POSIX_SPAWN_SETSID;
        posix_spawnattr_setflags(&attr_, flags_);
    }
    void Directory(const std::string& dir) { posix_spawn_file_actions_addchdir_np(&actions_, dir.c_str()); }

    // 0 or the errno value.
    int Spawn(const std::vector<std::string>& argv, pid_t* pid) {
        if (argv.empty()) {
            return EINVAL;
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        return posix_spawnp(pid, args[0], &actions_, &attr_, args.data(), environ);
    }

private:
    posix_spawnattr_t attr_;
    posix_spawn_file_actions_t actions_;
    short flags_ = 0;
};

int Wait(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

} // namespace

namespace system_detail {

int RunAndWait(const std::vector<std::string>& argv) {
    SpawnSettings settings;
    pid_t pid = 0;
    if (const int err = settings.Spawn(argv, &pid); err != 0) {
        errno = err;
        return -1;
    }
    return Wait(pid);
}

int SpawnDetached(const std::vector<std::string>& argv, const std::string& directory) {
    SpawnSettings settings;
    settings.NewSession();
    if (!directory.empty()) {
        settings.Directory(directory);
    }
    pid_t pid = 0;
    if (const int err = settings.Spawn(argv, &pid); err != 0) {
        return err;
    }
    try {
        std::thread([pid] { Wait(pid); }).detach();
    } catch (...) {
        // No thread for the reaper: the child stays a zombie until this process ends.
    }
    return 0;
}

std::vector<std::string> SplitCommandWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        if (i >= text.size()) {
            break;
        }
        std::string word;
        bool quoted = false;
        for (; i < text.size() && (quoted || (text[i] != ' ' && text[i] != '\t')); ++i) {
            if (text[i] == '"') {
                quoted = !quoted;
            } else {
                word += text[i];
            }
        }
        words.push_back(word);
    }
    return words;
}

} // namespace system_detail
