// Fixtures shared by the window-core tests: a test clock, a recording window procedure, pumping helpers.
#pragma once

#include "platform/display/User.h"

#include "platform/kernel/Threads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace displaytest {

struct Logged {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Records every message the windows of the test classes receive; a behaviour may answer a message itself
// (otherwise DefWindowProc does).
class MessageLog {
public:
    using Behaviour = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    MessageLog();
    ~MessageLog();

    void Name(HWND hwnd, const std::string& name) { names_[hwnd] = name; }
    void Clear() { entries_.clear(); }
    void SetBehaviour(Behaviour behaviour) { behaviour_ = std::move(behaviour); }
    const std::vector<Logged>& Entries() const { return entries_; }

    // "name:WM_X" for each recorded message among `only` (every message when empty).
    std::vector<std::string> Sequence(const std::set<UINT>& only = {}) const;
    std::vector<Logged> Of(UINT msg) const;
    int Count(UINT msg) const { return static_cast<int>(Of(msg).size()); }

    static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static MessageLog* current;

private:
    std::vector<Logged> entries_;
    std::map<HWND, std::string> names_;
    Behaviour behaviour_;
};

std::string MessageName(UINT msg);

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers (once per process) a class with the recording procedure.
    static const char16_t* Class(UINT style = CS_DBLCLKS, HBRUSH background = nullptr,
                                 const char16_t* name = nullptr);
    HWND TopLevel(const RECT& rect, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, DWORD exStyle = 0,
                  const char16_t* cls = nullptr, HWND owner = nullptr);
    HWND Child(HWND parent, const RECT& rect, int id = 1, DWORD style = WS_CHILD | WS_VISIBLE,
               DWORD exStyle = 0, const char16_t* cls = nullptr);
    // Runs PeekMessage/TranslateMessage/DispatchMessage until the queue is empty.
    static int Pump();
    // Clicks (down and up) at a point in a window's client coordinates.
    static void Click(HWND hwnd, POINT client, UINT down = WM_LBUTTONDOWN);
    static POINT ToScreen(HWND hwnd, POINT client);

    MessageLog log;
    std::vector<HWND> created;
};

} // namespace displaytest
