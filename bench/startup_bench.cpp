// The program's start, headless: from the application object to the main window painted, and the memory
// of the built program once it idles.
#include "app/CMainFrame.h"
#include "app/CPex32App.h"
#include "app/CPex32View.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/MessageApi.h"
#include "platform/display/PaintApi.h"
#include "platform/display/WindowApi.h"
#include "platform/resources/Resources.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void UseHeadlessDisplayAndNoPorts() {
    setenv("DOLIVA_DISPLAY", "headless", 1);
    // The receiver link is never started, and if it were no real port would be reached.
    for (int n = 1; n <= 8; ++n) {
        setenv(("DOLIVA_COM" + std::to_string(n)).c_str(), "fake://absent", 1);
    }
}

void DrainQueue() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_APP_START_GPS_INIT) {
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Start-up as the entry routine runs it, to the frame and every child painted; the close is not timed.
void BM_StartupToFirstPaint(benchmark::State& state) {
    static const bool ready = [] {
        UseHeadlessDisplayAndNoPorts();
        RegisterStandardControls();
        DolivaInstallResourceHooks();
        return true;
    }();
    benchmark::DoNotOptimize(ready);
    static char name[] = "doliva";
    static char* argv[] = {name, nullptr};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto app = std::make_unique<CPex32App>();
        g_firstIdle = 1;
        if (!AfxWinInit(1, argv) || !app->InitApplication() || !app->InitInstance() || !app->m_pMainWnd) {
            state.SkipWithError("the program did not start");
            break;
        }
        HWND frame = app->m_pMainWnd->GetSafeHwnd();
        ::RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        DrainQueue();
        CView* view = static_cast<CMainFrame*>(app->m_pMainWnd)->GetActiveView();
        if (!view || ::GetUpdateRect(view->GetSafeHwnd(), nullptr, FALSE)) {
            state.SkipWithError("the view was not painted");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

        if (::IsWindow(frame)) {
            ::SendMessageW(frame, WM_CLOSE, 0, 0);
        }
        DrainQueue();
        app->ExitInstance();
        AfxWinTerm();
    }
}
BENCHMARK(BM_StartupToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The built program beside this one: <tree>/bench/bench_startup -> <tree>/app/doliva.
fs::path ProgramPath() {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return self.parent_path().parent_path() / "app" / "doliva";
}

// "VmRSS:  1234 kB" and the like from /proc/<pid>/status, in KiB; -1 when absent.
long StatusKib(pid_t pid, const std::string& key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::atol(line.c_str() + key.size() + 1);
        }
    }
    return -1;
}

// The program started headless with no receiver, left to settle, then measured.
void BM_IdleProcessMemory(benchmark::State& state) {
    const fs::path program = ProgramPath();
    if (!fs::exists(program)) {
        state.SkipWithError("the program is not built beside the benchmark");
        return;
    }
    UseHeadlessDisplayAndNoPorts();
    for (auto _ : state) {
        std::string path = program.string();
        std::string noService = "-noservice";
        char* argv[] = {path.data(), noService.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            state.SkipWithError("the program could not be started");
            return;
        }
        std::this_thread::sleep_for(3s);
        const long rss = StatusKib(pid, "VmRSS");
        const long peak = StatusKib(pid, "VmHWM");
        const long threads = StatusKib(pid, "Threads");
        kill(pid, SIGTERM);
        for (int i = 0; i < 50 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) {
            std::this_thread::sleep_for(100ms);
        }
        if (waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (rss < 0) {
            state.SkipWithError("the program ended before it idled");
            return;
        }
        using benchmark::Counter;
        state.counters["idle_rss"] = Counter(rss * 1024.0, Counter::kDefaults, Counter::kIs1024);
        state.counters["peak_rss"] = Counter(peak * 1024.0, Counter::kDefaults, Counter::kIs1024);
        state.counters["threads"] = static_cast<double>(threads);
    }
}
BENCHMARK(BM_IdleProcessMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
