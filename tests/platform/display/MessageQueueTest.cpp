// Sending, posting, the retrieval order, timers, nested loops, waits and hooks.
#include "DisplayTestSupport.h"

#include "platform/kernel/Sync.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using namespace displaytest;
using ::testing::ElementsAre;

namespace {

class DisplayQueue : public DisplayTest {};

// A window on another thread that pumps until told to quit. Its procedure runs `handler` on that thread.
class WorkerWindow {
public:
    explicit WorkerWindow(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> handler)
        : handler_(std::move(handler)) {
        thread_ = std::thread([this] { Run(); });
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return hwnd_ != nullptr; });
    }
    ~WorkerWindow() {
        PostThreadMessageW(tid_, WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND hwnd() const { return hwnd_; }
    DWORD tid() const { return tid_; }

private:
    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WorkerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg >= WM_USER) {
            return self->handler_(hwnd, msg, wParam, lParam);
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    void Run() {
        static std::once_flag once;
        std::call_once(once, [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = Proc;
            wc.lpszClassName = u"WorkerWindow";
            RegisterClassW(&wc);
        });
        HWND hwnd = CreateWindowExW(0, u"WorkerWindow", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        {
            std::lock_guard<std::mutex> lock(mutex_);
            tid_ = GetCurrentThreadId();
            hwnd_ = hwnd;
        }
        ready_.notify_all();
        MSG msg{};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageW(&msg);
        }
        DestroyWindow(hwnd);
    }

    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> handler_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ready_;
    HWND hwnd_ = nullptr;
    DWORD tid_ = 0;
};

TEST_F(DisplayQueue, SendInsideSendReturnsEachAnswer) {
    HWND a = TopLevel({0, 0, 10, 10}, WS_POPUP);
    HWND b = TopLevel({0, 0, 10, 10}, WS_POPUP);
    log.Name(a, "a");
    log.Name(b, "b");
    log.SetBehaviour([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (hwnd == a && msg == WM_USER) {
            return SendMessageW(b, WM_USER + 1, 0, 0) + 1;
        }
        if (hwnd == b && msg == WM_USER + 1) {
            return SendMessageW(a, WM_USER + 2, 0, 0) * 10;
        }
        if (msg == WM_USER + 2) {
            return 4;
        }
        return std::nullopt;
    });
    log.Clear();
    EXPECT_EQ(SendMessageW(a, WM_USER, 0, 0), 41);
    EXPECT_THAT(log.Sequence({WM_USER, WM_USER + 1, WM_USER + 2}),
                ElementsAre("a:WM_USER", "b:0x0401", "a:0x0402"));
}

TEST_F(DisplayQueue, CrossThreadSendRunsOnTheOwnerWhileTheSenderServesItsOwnSends) {
    HWND mine = TopLevel({0, 0, 10, 10}, WS_POPUP);
    DWORD self = GetCurrentThreadId();
    std::atomic<DWORD> handledOn{0};
    log.SetBehaviour([&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_USER + 7) {
            handledOn = GetCurrentThreadId();
            return static_cast<LRESULT>(wParam * 2);
        }
        return std::nullopt;
    });
    WorkerWindow worker([&](HWND, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
        if (msg == WM_USER) {
            EXPECT_TRUE(InSendMessage());
            // A send back to the waiting thread: it must handle it while it waits.
            return SendMessageW(mine, WM_USER + 7, wParam, 0) + 1;
        }
        return 0;
    });
    EXPECT_EQ(SendMessageW(worker.hwnd(), WM_USER, 20, 0), 41);
    EXPECT_EQ(handledOn.load(), self);
    EXPECT_FALSE(InSendMessage());

    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutW(worker.hwnd(), WM_USER, 1, 0, SMTO_NORMAL, 5000, &result));
    EXPECT_EQ(result, 3u);
}

TEST_F(DisplayQueue, SendTimeoutAndEarlyReply) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> finished{false};
    WorkerWindow worker([&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        if (msg == WM_USER) {
            WaitForSingleObject(first, INFINITE);
            return 1;
        }
        if (msg == WM_USER + 1) {
            ReplyMessage(99);
            // The sender already has its answer; this one is discarded.
            WaitForSingleObject(second, INFINITE);
            finished = true;
            return 5;
        }
        return 0;
    });
    DWORD_PTR result = 0;
    EXPECT_FALSE(SendMessageTimeoutW(worker.hwnd(), WM_USER, 0, 0, SMTO_NORMAL, 30, &result));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    SetEvent(first);
    EXPECT_EQ(SendMessageW(worker.hwnd(), WM_USER + 1, 0, 0), 99);
    EXPECT_FALSE(finished.load());
    SetEvent(second);
    SendMessageW(worker.hwnd(), WM_USER + 2, 0, 0);
    EXPECT_TRUE(finished.load());
    CloseHandle(first);
    CloseHandle(second);
}

TEST_F(DisplayQueue, PostsFromManyThreadsAreNeverLostNorReordered) {
    HWND hwnd = TopLevel({0, 0, 10, 10}, WS_POPUP);
    constexpr int kThreads = 8;
    constexpr int kEach = 3000;
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([hwnd, t] {
            for (int i = 0; i < kEach; ++i) {
                ASSERT_TRUE(PostMessageW(hwnd, WM_APP, static_cast<WPARAM>(t), i));
            }
        });
    }
    std::vector<int> next(kThreads, 0);
    int received = 0;
    MSG msg{};
    while (received < kThreads * kEach && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message != WM_APP) {
            DispatchMessageW(&msg);
            continue;
        }
        ASSERT_EQ(msg.hwnd, hwnd);
        ASSERT_EQ(msg.lParam, next[msg.wParam]) << "thread " << msg.wParam;
        ++next[msg.wParam];
        ++received;
    }
    for (auto& t : posters) {
        t.join();
    }
    EXPECT_EQ(received, kThreads * kEach);
}

TEST_F(DisplayQueue, RetrievalOrderIsSentPostedInputQuitPaintTimer) {
    HWND hwnd = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE);
    SetFocus(hwnd);
    Pump();
    ValidateRect(hwnd, nullptr);
    SetTimer(hwnd, 3, 10, nullptr);
    InvalidateRect(hwnd, nullptr, FALSE);
    DisplayInjectKey('A', 0, TRUE, FALSE);
    PostMessageW(hwnd, WM_APP, 0, 0);
    PostQuitMessage(7);
    DisplayAdvanceTestClock(20);
    std::vector<std::string> order;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(MessageName(msg.message));
        if (msg.message == WM_TIMER) {
            break;
        }
        DispatchMessageW(&msg);
    }
    EXPECT_THAT(order, ElementsAre("WM_APP", "WM_KEYDOWN", "0x0012", "WM_PAINT", "WM_TIMER"));
    KillTimer(hwnd, 3);
    DisplayInjectKey('A', 0, FALSE, FALSE);
    Pump();
}

TEST_F(DisplayQueue, WmPaintStaysUntilValidatedAndTimerOnlyWhenNothingElse) {
    HWND hwnd = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE);
    Pump();
    InvalidateRect(hwnd, nullptr, FALSE);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT)) << "removing does not validate";
    ValidateRect(hwnd, nullptr);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));

    SetTimer(hwnd, 1, 50, nullptr);
    DisplayAdvanceTestClock(60);
    PostMessageW(hwnd, WM_APP, 0, 0);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 1u);
    KillTimer(hwnd, 1);
}

TEST_F(DisplayQueue, TimersCoalesceAndRearmingRestarts) {
    HWND hwnd = TopLevel({0, 0, 10, 10}, WS_POPUP);
    EXPECT_EQ(SetTimer(hwnd, 5, 100, nullptr), 5u);
    DisplayAdvanceTestClock(1000);
    log.Clear();
    Pump();
    EXPECT_EQ(log.Count(WM_TIMER), 1) << "ten periods late still gives one WM_TIMER";
    DisplayAdvanceTestClock(99);
    Pump();
    EXPECT_EQ(log.Count(WM_TIMER), 1);
    DisplayAdvanceTestClock(1);
    Pump();
    EXPECT_EQ(log.Count(WM_TIMER), 2);

    DisplayAdvanceTestClock(60);
    SetTimer(hwnd, 5, 100, nullptr);
    DisplayAdvanceTestClock(60);
    Pump();
    EXPECT_EQ(log.Count(WM_TIMER), 2) << "setting the id again restarted the period";
    DisplayAdvanceTestClock(40);
    Pump();
    EXPECT_EQ(log.Count(WM_TIMER), 3);

    EXPECT_TRUE(KillTimer(hwnd, 5));
    EXPECT_FALSE(KillTimer(hwnd, 5));
    DisplayAdvanceTestClock(500);
    Pump();
    EXPECT_EQ(log.Count(WM_TIMER), 3);

    static std::vector<UINT_PTR> fired;
    fired.clear();
    TIMERPROC proc = [](HWND h, UINT msg, UINT_PTR id, DWORD) {
        EXPECT_EQ(h, nullptr);
        EXPECT_EQ(msg, static_cast<UINT>(WM_TIMER));
        fired.push_back(id);
    };
    UINT_PTR id = SetTimer(nullptr, 0, 30, proc);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(SetTimer(nullptr, id, 30, proc), id) << "an existing thread timer keeps its id";
    DisplayAdvanceTestClock(30);
    Pump();
    EXPECT_EQ(fired, std::vector<UINT_PTR>{id});
    KillTimer(nullptr, id);
}

TEST_F(DisplayQueue, NestedModalLoopsEndCleanly) {
    HWND hwnd = TopLevel({0, 0, 10, 10}, WS_POPUP);
    int depth = 0;
    bool done = false;
    std::vector<std::string> seen;
    log.SetBehaviour([&](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg < WM_APP || msg > WM_APP + 10) {
            return std::nullopt;
        }
        seen.push_back(MessageName(msg).substr(0, 0) + std::to_string(msg - WM_APP) + "@" +
                       std::to_string(depth));
        if (msg == WM_APP) {
            ++depth;
            done = false;
            MSG m{};
            while (!done) {
                BOOL r = GetMessageW(&m, nullptr, 0, 0);
                if (r == 0) {
                    PostQuitMessage(static_cast<int>(m.wParam));
                    break;
                }
                DispatchMessageW(&m);
            }
            --depth;
        } else if (msg == WM_APP + 1) {
            done = true;
        }
        return 0;
    });
    PostMessageW(hwnd, WM_APP, 0, 0);
    PostMessageW(hwnd, WM_APP + 2, 0, 0);
    PostMessageW(hwnd, WM_APP + 1, 0, 0);
    PostMessageW(hwnd, WM_APP + 3, 0, 0);
    Pump();
    EXPECT_THAT(seen, ElementsAre("0@0", "2@1", "1@1", "3@0"));

    // A quit inside the nested loop ends it and still reaches the outer loop.
    seen.clear();
    PostMessageW(hwnd, WM_APP, 0, 0);
    MSG m{};
    ASSERT_GT(GetMessageW(&m, nullptr, 0, 0), 0);
    PostQuitMessage(3);
    DispatchMessageW(&m);
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), FALSE);
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_EQ(depth, 0);
}

TEST_F(DisplayQueue, FiltersSelectByWindowAndRange) {
    HWND a = TopLevel({0, 0, 10, 10}, WS_POPUP);
    HWND child = Child(a, {0, 0, 5, 5}, 1);
    HWND b = TopLevel({0, 0, 10, 10}, WS_POPUP);
    PostMessageW(b, WM_APP, 0, 0);
    PostMessageW(child, WM_APP + 1, 0, 0);
    PostMessageW(nullptr, WM_APP + 2, 0, 0);
    PostMessageW(a, WM_USER, 0, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, a, WM_APP, WM_APP + 5, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 1)) << "the window filter takes its children";
    ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_APP + 2)) << "(HWND)-1 takes thread messages only";
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE));
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    DestroyWindow(b);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "a destroyed window's posts go with it";
    EXPECT_FALSE(PostMessageW(b, WM_APP, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DisplayQueue, WaitsWakeForPostsFromOtherThreadsAndForHandles) {
    HWND hwnd = TopLevel({0, 0, 10, 10}, WS_POPUP);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread poster([hwnd] { PostMessageW(hwnd, WM_APP, 1, 0); });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 10000, QS_ALLINPUT), WAIT_OBJECT_0 + 1);
    poster.join();
    MSG msg{};
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));

    std::thread setter([event] { SetEvent(event); });
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 10000, QS_ALLINPUT), WAIT_OBJECT_0);
    setter.join();
    ResetEvent(event);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 20, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));

    std::thread late([hwnd] { PostMessageW(hwnd, WM_APP, 2, 0); });
    EXPECT_TRUE(WaitMessage());
    late.join();
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    CloseHandle(event);
}

TEST_F(DisplayQueue, HooksSeeTheirMessagesInChainOrder) {
    HWND hwnd = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE);
    SetFocus(hwnd);
    Pump();
    static std::vector<std::string> calls;
    static HHOOK first = nullptr;
    static HHOOK second = nullptr;
    calls.clear();
    first = SetWindowsHookExW(
        WH_GETMESSAGE,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            calls.push_back("first");
            auto* msg = reinterpret_cast<MSG*>(lParam);
            if (msg->message == WM_APP) {
                msg->wParam = 77; // a GetMessage hook may change the message
            }
            return CallNextHookEx(first, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    second = SetWindowsHookExW(
        WH_GETMESSAGE,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            calls.push_back("second");
            return CallNextHookEx(second, code, wParam, lParam);
        },
        nullptr, 0);
    PostMessageW(hwnd, WM_APP, 1, 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 77u);
    EXPECT_THAT(calls, ElementsAre("second", "first"));
    UnhookWindowsHookEx(first);
    UnhookWindowsHookEx(second);
    EXPECT_FALSE(UnhookWindowsHookEx(second));

    static std::vector<UINT> sent;
    HHOOK callwnd = SetWindowsHookExW(
        WH_CALLWNDPROC,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            sent.push_back(reinterpret_cast<CWPSTRUCT*>(lParam)->message);
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    SendMessageW(hwnd, WM_USER + 3, 0, 0);
    PostMessageW(hwnd, WM_USER + 4, 0, 0);
    Pump();
    UnhookWindowsHookEx(callwnd);
    EXPECT_NE(std::find(sent.begin(), sent.end(), WM_USER + 3u), sent.end());
    EXPECT_EQ(std::find(sent.begin(), sent.end(), WM_USER + 4u), sent.end())
        << "posted messages are not sent";

    HHOOK keyboard = SetWindowsHookExW(
        WH_KEYBOARD,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HC_ACTION && wParam == 'Q') {
                return 1;
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    log.Clear();
    DisplayInjectKey('Q', 0, TRUE, FALSE);
    DisplayInjectKey('W', 0, TRUE, FALSE);
    Pump();
    UnhookWindowsHookEx(keyboard);
    ASSERT_EQ(log.Count(WM_KEYDOWN), 1);
    EXPECT_EQ(log.Of(WM_KEYDOWN)[0].wParam, static_cast<WPARAM>('W'));
    DisplayInjectKey('Q', 0, FALSE, FALSE);
    DisplayInjectKey('W', 0, FALSE, FALSE);
    Pump();

    HHOOK filter = SetWindowsHookExW(
        WH_MSGFILTER,
        [](int code, WPARAM, LPARAM lParam) -> LRESULT {
            return code == MSGF_DIALOGBOX && reinterpret_cast<MSG*>(lParam)->message == WM_APP ? 1 : 0;
        },
        nullptr, GetCurrentThreadId());
    MSG probe{hwnd, WM_APP, 0, 0, 0, {}};
    EXPECT_TRUE(CallMsgFilterW(&probe, MSGF_DIALOGBOX));
    EXPECT_FALSE(CallMsgFilterW(&probe, MSGF_MENU));
    UnhookWindowsHookEx(filter);
    EXPECT_FALSE(CallMsgFilterW(&probe, MSGF_DIALOGBOX));
}

TEST_F(DisplayQueue, CbtHookCanPreventCreation) {
    HHOOK hook = SetWindowsHookExW(
        WH_CBT, [](int code, WPARAM, LPARAM) -> LRESULT { return code == HCBT_CREATEWND ? 1 : 0; }, nullptr,
        GetCurrentThreadId());
    log.Clear();
    HWND hwnd = CreateWindowExW(0, Class(), u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_TRUE(log.Entries().empty()) << "no message reached the window";
}

} // namespace
