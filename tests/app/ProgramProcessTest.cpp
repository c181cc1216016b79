// The built program run as its own process: the service switches, and a second start meeting the first.
#include "platform/base/CodePage.h"
#include "platform/display/WindowApi.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One run of the program, headless, with its standard error kept in a file.
class ProgramRun {
public:
    explicit ProgramRun(const std::vector<std::string>& args, const std::string& tag) {
        m_stderrPath = (testsupport::ScratchDir() / (tag + ".stderr")).string();
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            env.emplace_back(*e);
        }
        env.emplace_back("DOLIVA_DISPLAY=headless");
        for (int n = 1; n <= 8; ++n) {
            env.push_back("DOLIVA_COM" + std::to_string(n) + "=fake://absent");
        }
        std::vector<std::string> argv{std::string(DOLIVA_BINARY_DIR) + "/app/doliva"};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> argp, envp;
        for (auto& a : argv) {
            argp.push_back(a.data());
        }
        argp.push_back(nullptr);
        for (auto& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, m_stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (posix_spawn(&m_pid, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ProgramRun() {
        if (m_pid > 0 && !m_exited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    // The exit code, or -1 when it is still running after the time-out.
    int Wait(std::chrono::milliseconds timeout) {
        auto end = std::chrono::steady_clock::now() + timeout;
        while (!m_exited && std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_exited = true;
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        return m_exited ? m_status : -1;
    }
    bool Running() { return Wait(0ms) == -1; }
    std::string Stderr() const {
        std::ifstream in(m_stderrPath);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    bool m_exited = false;
    int m_status = -1;
    std::string m_stderrPath;
};

fs::path UnitFile() {
    return fs::path(std::getenv("DOLIVA_UNIT_DIR")) / "DolivaService.service";
}

std::string MachineHive() {
    std::ifstream in(fs::path(std::getenv("DOLIVA_CONFIG_DIR")) / "system.reg");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The switches end the program at once with their message box; the unit is written and deleted.
TEST(ProgramProcess, InstallAndRemoveTheServiceUnit) {
    ProgramRun install({"-INSTALL", "-remove"}, "install");
    ASSERT_EQ(install.Wait(60s), 0) << install.Stderr();
    EXPECT_NE(install.Stderr().find("Completed"), std::string::npos) << install.Stderr();
    EXPECT_NE(install.Stderr().find("Created service DolivaService"), std::string::npos) << install.Stderr();
    EXPECT_EQ(install.Stderr().find("Deleted"), std::string::npos) << "words after the switch are not read";
    ASSERT_TRUE(fs::exists(UnitFile()));
    std::ifstream unit(UnitFile());
    std::stringstream text;
    text << unit.rdbuf();
    EXPECT_NE(text.str().find("Description=Doliva Service"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("/app/doliva"), std::string::npos) << text.str();
    EXPECT_NE(MachineHive().find("Services\\DolivaService\\Parameters]"), std::string::npos) << MachineHive();

    ProgramRun again({"\"-install\""}, "again");
    ASSERT_EQ(again.Wait(60s), 0);
    EXPECT_NE(again.Stderr().find("Failed to create service DolivaService ("), std::string::npos)
        << again.Stderr();

    ProgramRun remove({"-remove"}, "remove");
    ASSERT_EQ(remove.Wait(60s), 0) << remove.Stderr();
    EXPECT_NE(remove.Stderr().find("Deleted service DolivaService"), std::string::npos) << remove.Stderr();
    EXPECT_FALSE(fs::exists(UnitFile()));

    ProgramRun missing({"-remove"}, "missing");
    ASSERT_EQ(missing.Wait(60s), 0);
    EXPECT_NE(
        missing.Stderr().find("Failed: to open service DolivaService\nThe specified service does not exist."),
        std::string::npos)
        << missing.Stderr();
}

// A second start finds the running program's frame, brings it forward and ends at once.
TEST(ProgramProcess, SecondStartFindsTheFirstAndEnds) {
    ProgramRun first({"-noservice"}, "first");
    HWND frame = nullptr;
    auto end = std::chrono::steady_clock::now() + 60s;
    while (!frame && first.Running() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(100ms);
        frame = ::FindWindowW(u"Doliva", nullptr);
    }
    ASSERT_NE(frame, nullptr) << first.Stderr();

    ProgramRun second({"-noservice"}, "second");
    EXPECT_EQ(second.Wait(60s), 0) << second.Stderr();
    EXPECT_TRUE(first.Running());
    EXPECT_FALSE(::IsIconic(frame));
}

} // namespace
