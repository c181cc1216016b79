// The run command (tools/run-program) without a receiver, against stand-ins for the program and the receiver
// simulator: however it ends (the program's own exit, SIGTERM, Ctrl-C), nothing it started is left running
// and its status says how it ended.
#include "support/ChildProcess.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void WriteScript(const fs::path& path, const std::string& body) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
}

// A built tree with stand-ins that note their process ids: the simulator prints its address and waits; the
// program waits, or ends at once with STANDIN_EXIT when that is set.
fs::path StandInTree(const std::string& name) {
    const fs::path tree = testsupport::ScratchDir() / name;
    fs::remove_all(tree);
    WriteScript(tree / "tools/simulator/doliva-receiver-sim", "echo $$ > \"$(dirname \"$0\")/sim.pid\"\n"
                                                              "echo rfc2217://127.0.0.1:9\n"
                                                              "exec sleep 30\n");
    WriteScript(tree / "app/doliva", "echo $$ > \"$DOLIVA_CONFIG_DIR/program.pid\"\n"
                                     "[ -n \"$STANDIN_EXIT\" ] && exit \"$STANDIN_EXIT\"\n"
                                     "exec sleep 30\n");
    return tree;
}

// The processes of a group that have not ended (zombies count as ended).
std::vector<int> LiveMembers(pid_t group) {
    std::vector<int> live;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string stat = testsupport::ReadWholeFile(entry.path() / "stat");
        const auto close = stat.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        char state = 0;
        int parent = 0, processGroup = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d %d", &state, &parent, &processGroup) == 3 &&
            processGroup == group && state != 'Z') {
            live.push_back(std::stoi(entry.path().filename().string()));
        }
    }
    return live;
}

bool WaitForFile(const fs::path& path) {
    for (int i = 0; i < 250 && !fs::exists(path); ++i) {
        std::this_thread::sleep_for(20ms);
    }
    return fs::exists(path);
}

struct EndCase {
    const char* name;
    const char* programExit; // empty: the program waits to be ended
    int signal;              // 0: none; SIGINT goes to the whole group, as Ctrl-C does
    int status;
};

TEST(RunProgram, EndsEverythingItStartedWithTheStatusOfTheEnd) {
    const EndCase cases[] = {
        {"program ends by itself", "3", 0, 3},
        {"SIGTERM", "", SIGTERM, 143},
        {"Ctrl-C", "", SIGINT, 130},
    };
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path tree = StandInTree(std::string("tree-") + std::to_string(c.signal));
        testsupport::ChildProcess run({std::string(DOLIVA_SOURCE_DIR) + "/tools/run-program", tree.string()},
                                      {std::string("STANDIN_EXIT=") + c.programExit}, tree / "run",
                                      /*ownProcessGroup=*/true);
        ASSERT_TRUE(run.Started());
        ASSERT_TRUE(WaitForFile(tree / "demo-settings/program.pid")) << run.Stderr();
        ASSERT_TRUE(fs::exists(tree / "tools/simulator/sim.pid"));
        if (c.signal == SIGINT) {
            kill(-run.Pid(), SIGINT);
        } else if (c.signal) {
            kill(run.Pid(), c.signal);
        }
        EXPECT_EQ(run.Wait(10s), c.status) << run.Stdout() << run.Stderr();
        std::vector<int> left = LiveMembers(run.Pid());
        for (int i = 0; i < 50 && !left.empty(); ++i) {
            std::this_thread::sleep_for(20ms);
            left = LiveMembers(run.Pid());
        }
        EXPECT_TRUE(left.empty()) << "still running: " << left.size() << " processes";
        for (int pid : left) {
            kill(pid, SIGKILL);
        }
    }
}

} // namespace
