// The built program run as its own process: the service switches, and a second start meeting the first.
#include "platform/base/CodePage.h"
#include "platform/display/WindowApi.h"
#include "platform/kernel/FileLock.h"
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One run of the program, headless, with no receiver on any port and its standard error kept in a file.
class ProgramRun : public testsupport::ChildProcess {
public:
    // extraEnv entries "NAME=value" replace the test's own.
    ProgramRun(const std::vector<std::string>& args, const std::string& tag,
               const std::vector<std::string>& extraEnv = {})
        : ChildProcess(Argv(args), Environment(extraEnv), testsupport::ScratchDir() / tag) {}

    // Waits until standard error holds the text.
    bool WaitForStderr(const std::string& text, std::chrono::seconds timeout = 60s) {
        for (auto end = std::chrono::steady_clock::now() + timeout; std::chrono::steady_clock::now() < end;) {
            if (Stderr().find(text) != std::string::npos) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

private:
    static std::vector<std::string> Argv(const std::vector<std::string>& args) {
        std::vector<std::string> argv{std::string(DOLIVA_BINARY_DIR) + "/app/doliva"};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    static std::vector<std::string> Environment(const std::vector<std::string>& extraEnv) {
        std::vector<std::string> env{"DOLIVA_DISPLAY=headless"};
        for (int n = 1; n <= 8; ++n) {
            env.push_back("DOLIVA_COM" + std::to_string(n) + "=fake://absent");
        }
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        return env;
    }
};

fs::path FreshDir(const std::string& name, fs::perms perms = fs::perms::owner_all) {
    const fs::path dir = testsupport::ScratchDir() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::permissions(dir, perms);
    return dir;
}

fs::path UnitFile() {
    return fs::path(std::getenv("DOLIVA_UNIT_DIR")) / "DolivaService.service";
}

std::string MachineHive() {
    return testsupport::ReadWholeFile(fs::path(std::getenv("DOLIVA_CONFIG_DIR")) / "system.reg");
}

// The switches end the program at once with their message box; the unit is written and deleted.
TEST(ProgramProcess, InstallAndRemoveTheServiceUnit) {
    ProgramRun install({"-INSTALL", "-remove"}, "install");
    ASSERT_EQ(install.Wait(60s), 0) << install.Stderr();
    EXPECT_NE(install.Stderr().find("Completed"), std::string::npos) << install.Stderr();
    EXPECT_NE(install.Stderr().find("Created service DolivaService"), std::string::npos) << install.Stderr();
    EXPECT_EQ(install.Stderr().find("Deleted"), std::string::npos) << "words after the switch are not read";
    ASSERT_TRUE(fs::exists(UnitFile()));
    const std::string unit = testsupport::ReadWholeFile(UnitFile());
    EXPECT_NE(unit.find("Description=Doliva Service"), std::string::npos) << unit;
    EXPECT_NE(unit.find("/app/doliva"), std::string::npos) << unit;
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

// Copies started at the same moment: the lock taken before looking for the other's frame leaves exactly one
// running; the others end at once, as a second start does.
TEST(ProgramProcess, CopiesStartedTogetherLeaveOneRunning) {
    std::vector<std::unique_ptr<ProgramRun>> runs;
    for (int i = 0; i < 6; ++i) {
        runs.push_back(std::make_unique<ProgramRun>(std::vector<std::string>{"-noservice"},
                                                    "together" + std::to_string(i)));
    }
    int running = 0;
    for (auto end = std::chrono::steady_clock::now() + 90s; std::chrono::steady_clock::now() < end;) {
        running = 0;
        for (auto& run : runs) {
            running += run->Running() ? 1 : 0;
        }
        if (running <= 1) {
            break;
        }
        std::this_thread::sleep_for(100ms);
    }
    std::this_thread::sleep_for(1s);
    int stillRunning = 0;
    for (auto& run : runs) {
        if (run->Running()) {
            ++stillRunning;
        } else {
            EXPECT_EQ(run->Wait(0s), 0) << run->Stderr();
        }
    }
    EXPECT_EQ(stillRunning, 1);
}

// Without XDG_RUNTIME_DIR, a runtime directory that someone else made first in the temporary folder is not
// used: the program says which and ends.
TEST(ProgramProcess, ARuntimeDirectoryMadeBySomeoneElseEndsTheStartWithAMessage) {
    const fs::path tmp = FreshDir("planted-tmp");
    const fs::path planted = tmp / ("doliva-runtime-" + std::to_string(geteuid()));
    FreshDir("planted-tmp/" + planted.filename().string(), fs::perms::all);
    ProgramRun run({"-noservice"}, "planted", {"XDG_RUNTIME_DIR=", "TMPDIR=" + tmp.string()});
    EXPECT_EQ(run.Wait(60s), 0) << run.Stderr();
    EXPECT_NE(run.Stderr().find("Doliva cannot start: the runtime directory " + planted.string() +
                                " can be reached by other users"),
              std::string::npos)
        << run.Stderr();
}

// Two sessions (two runtime directories) with one settings folder: the second copy would drive the same
// port and clock, so it ends and says why.
TEST(ProgramProcess, SettingsInUseInAnotherSessionAreNotShared) {
    const fs::path config = FreshDir("shared-settings");
    const std::string configEnv = "DOLIVA_CONFIG_DIR=" + config.string();
    ProgramRun first({"-noservice"}, "session-a",
                     {configEnv, "XDG_RUNTIME_DIR=" + FreshDir("session-a").string()});
    ExclusiveFileLock probe;
    for (auto end = std::chrono::steady_clock::now() + 60s;
         first.Running() && std::chrono::steady_clock::now() < end &&
         probe.TryTake((config / "user.reg.instance").string()) != ExclusiveFileLock::Result::kHeld;) {
        probe.Release();
        std::this_thread::sleep_for(50ms);
    }
    probe.Release();
    ASSERT_TRUE(first.Running()) << first.Stderr();

    ProgramRun second({"-noservice"}, "session-b",
                      {configEnv, "XDG_RUNTIME_DIR=" + FreshDir("session-b").string()});
    EXPECT_EQ(second.Wait(60s), 0) << second.Stderr();
    EXPECT_NE(second.Stderr().find("running already with the settings in " + (config / "user.reg").string()),
              std::string::npos)
        << second.Stderr();
    EXPECT_TRUE(first.Running());
}

// Settings that cannot be saved are told at start, once, and the program runs on.
TEST(ProgramProcess, SettingsThatCannotBeSavedAreToldAtStartAndTheProgramRunsOn) {
    const fs::path notAFolder = testsupport::ScratchDir() / "settings-file";
    std::ofstream(notAFolder) << "not a folder";
    ProgramRun run({"-noservice"}, "unsaved", {"DOLIVA_CONFIG_DIR=" + notAFolder.string()});
    const std::string told = "The settings cannot be saved in " + (notAFolder / "user.reg").string() + ": " +
                             notAFolder.string() + " is not a folder";
    ASSERT_TRUE(run.WaitForStderr(told)) << run.Stderr();
    std::this_thread::sleep_for(2s);
    EXPECT_TRUE(run.Running()) << run.Stderr();
    const std::string errors = run.Stderr();
    EXPECT_EQ(errors.find("cannot be saved"), errors.rfind("cannot be saved")) << "told once: " << errors;
}

} // namespace
