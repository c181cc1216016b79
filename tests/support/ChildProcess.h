// A program run as a child of the test: its environment is the test's with some entries replaced, its
// standard input /dev/null and its standard output and error in files, the interrupt and terminate signals
// at their default effect; asked to end (then killed) when it goes out of scope. With ownProcessGroup it
// leads a process group of its own, as a command started from a terminal does (Ctrl-C signals the group).
#pragma once

#include "WholeFile.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testsupport {

class ChildProcess {
public:
    // argv[0] is the program's path; each extraEnv entry "NAME=value" replaces the test's own NAME. The
    // output files are logStem plus ".stdout" and ".stderr".
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                 const std::filesystem::path& logStem, bool ownProcessGroup = false)
        : m_stdout(logStem.string() + ".stdout"), m_stderr(logStem.string() + ".stderr") {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            env.emplace_back(*e);
        }
        // getenv takes the first entry of a name, so the test's own goes.
        for (const std::string& extra : extraEnv) {
            const std::string name = extra.substr(0, extra.find('=') + 1);
            std::erase_if(env, [&](const std::string& e) { return e.starts_with(name); });
            env.push_back(extra);
        }
        std::vector<std::string> args = argv;
        std::vector<char*> argp, envp;
        for (auto& a : args) {
            argp.push_back(a.data());
        }
        argp.push_back(nullptr);
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, m_stdout.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, m_stderr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults, none;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGTERM);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setsigmask(&attributes, &none);
        short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
        if (ownProcessGroup) {
            flags |= POSIX_SPAWN_SETPGROUP;
            posix_spawnattr_setpgroup(&attributes, 0);
        }
        posix_spawnattr_setflags(&attributes, flags);
        if (posix_spawn(&m_pid, argp[0], &actions, &attributes, argp.data(), envp.data()) != 0) {
            m_pid = -1;
        }
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    bool Running() {
        if (m_pid <= 0 || m_exited) {
            return false;
        }
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_exited = true;
            m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        return !m_exited;
    }
    // The exit code (128 + the signal when a signal ended it), or -1 when it is still running after the
    // time-out or never started.
    int Wait(std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (Running() && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return m_exited ? m_status : -1;
    }
    // Asks it to end, and ends it when it does not within a few seconds.
    void Stop() {
        if (!Running()) {
            return;
        }
        kill(m_pid, SIGTERM);
        if (Wait(std::chrono::seconds(5)) == -1) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_exited = true;
        }
    }
    std::string Stdout() const { return ReadWholeFile(m_stdout); }
    std::string Stderr() const { return ReadWholeFile(m_stderr); }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
    int m_status = -1;
    std::string m_stdout;
    std::string m_stderr;
};

} // namespace testsupport
