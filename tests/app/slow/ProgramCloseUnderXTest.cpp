// The program on a private X server closed from outside: by each termination signal, and by the X server
// going away. Each time it closes as the Close command does, writing the document file and the settings, and
// ends with 0; a message box waiting for a person at the time does not hold it up.
#include "support/ChildProcess.h"
#include "support/FreshProfile.h"
#include "support/PrivateXServer.h"
#include "tests/app/ProgramCloseSupport.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct CloseCase {
    const char* name;
    int signo;            // 0: the X server goes away instead
    bool afterMessageBox; // wait until the "not found" box is up first
};

class ProgramCloseUnderX : public ::testing::TestWithParam<CloseCase> {};

TEST_P(ProgramCloseUnderX, ClosesAsTheCloseCommand) {
    if (!testsupport::ToolInstalled("Xvfb")) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    const CloseCase& c = GetParam();
    std::optional<testsupport::PrivateXServer> xvfb(std::in_place);
    ASSERT_GE(xvfb->Display(), 0) << "Xvfb did not start";
    const fs::path config = testsupport::UseFreshProfile();
    std::vector<std::string> env{"DISPLAY=" + xvfb->Name(), "SDL_VIDEODRIVER=x11",
                                 "DOLIVA_DISPLAY=", "WAYLAND_DISPLAY="};
    // No receiver anywhere: the start ends with message boxes about it.
    for (int n = 1; n <= 8; ++n) {
        env.push_back("DOLIVA_COM" + std::to_string(n) + "=fake://absent");
    }
    testsupport::ChildProcess program({std::string(DOLIVA_BINARY_DIR) + "/app/doliva", "-noservice"}, env,
                                      testsupport::ScratchDir() / c.name);
    ASSERT_TRUE(closetest::WaitForFrame(program)) << program.Stderr();
    if (c.afterMessageBox) {
        const auto end = std::chrono::steady_clock::now() + 60s;
        while (!::FindWindowW(u"#32770", u"Doliva") && program.Running() &&
               std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(100ms);
        }
        ASSERT_NE(::FindWindowW(u"#32770", u"Doliva"), nullptr) << "no message box came up";
    }

    if (c.signo) {
        kill(program.Pid(), c.signo);
    } else {
        xvfb.reset();
    }
    EXPECT_EQ(program.Wait(60s), 0) << program.Stderr();
    EXPECT_EQ(closetest::MissingAfterClose(config), "");
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ProgramCloseUnderX,
    ::testing::Values(CloseCase{"Sigterm", SIGTERM, false}, CloseCase{"SigtermWithABoxUp", SIGTERM, true},
                      CloseCase{"Sigint", SIGINT, false}, CloseCase{"Sighup", SIGHUP, false},
                      CloseCase{"LostDisplay", 0, false}, CloseCase{"LostDisplayWithABoxUp", 0, true}),
    [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

} // namespace
