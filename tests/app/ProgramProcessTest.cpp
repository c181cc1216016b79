// The built program run as its own process: the service switches, and a second start meeting the first.
#include "platform/base/CodePage.h"
#include "platform/display/WindowApi.h"
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One run of the program, headless, with no receiver on any port and its standard error kept in a file.
class ProgramRun : public testsupport::ChildProcess {
public:
    ProgramRun(const std::vector<std::string>& args, const std::string& tag)
        : ChildProcess(Argv(args), Environment(), testsupport::ScratchDir() / tag) {}

private:
    static std::vector<std::string> Argv(const std::vector<std::string>& args) {
        std::vector<std::string> argv{std::string(DOLIVA_BINARY_DIR) + "/app/doliva"};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    static std::vector<std::string> Environment() {
        std::vector<std::string> env{"DOLIVA_DISPLAY=headless"};
        for (int n = 1; n <= 8; ++n) {
            env.push_back("DOLIVA_COM" + std::to_string(n) + "=fake://absent");
        }
        return env;
    }
};

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

} // namespace
