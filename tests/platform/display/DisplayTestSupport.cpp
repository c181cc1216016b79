#include "DisplayTestSupport.h"

#include <cstdio>

namespace displaytest {

MessageLog* MessageLog::current = nullptr;

MessageLog::MessageLog() {
    current = this;
}

MessageLog::~MessageLog() {
    if (current == this) {
        current = nullptr;
    }
}

LRESULT MessageLog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MessageLog* self = current;
    if (self) {
        self->entries_.push_back(Logged{hwnd, msg, wParam, lParam});
        if (self->behaviour_) {
            if (auto answer = self->behaviour_(hwnd, msg, wParam, lParam)) {
                return *answer;
            }
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::vector<Logged> MessageLog::Of(UINT msg) const {
    std::vector<Logged> out;
    for (const Logged& e : entries_) {
        if (e.msg == msg) {
            out.push_back(e);
        }
    }
    return out;
}

std::vector<std::string> MessageLog::Sequence(const std::set<UINT>& only) const {
    std::vector<std::string> out;
    for (const Logged& e : entries_) {
        if (!only.empty() && !only.count(e.msg)) {
            continue;
        }
        auto it = names_.find(e.hwnd);
        std::string name = it != names_.end() ? it->second : "?";
        out.push_back(name + ":" + MessageName(e.msg));
    }
    return out;
}

std::string MessageName(UINT msg) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_SYSCHAR, "WM_SYSCHAR"},
        {WM_TIMER, "WM_TIMER"},
        {WM_HSCROLL, "WM_HSCROLL"},
        {WM_VSCROLL, "WM_VSCROLL"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
        {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"},
        {WM_USER, "WM_USER"},
        {WM_APP, "WM_APP"},
    };
    auto it = names.find(msg);
    if (it != names.end()) {
        return it->second;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", msg);
    return buffer;
}

void DisplayTest::SetUp() {
    DisplayUseTestClock(100000);
}

void DisplayTest::TearDown() {
    MessageLog::current = nullptr;
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        if (IsWindow(*it)) {
            DestroyWindow(*it);
        }
    }
    Pump();
    DisplayUseRealClock();
}

const char16_t* DisplayTest::Class(UINT style, HBRUSH background, const char16_t* name) {
    static std::set<std::u16string> registered;
    static std::vector<std::u16string> storage;
    std::u16string key =
        name ? std::u16string(name)
             : u"DisplayTestClass" + std::u16string(1, char16_t(u'A' + (style & 0x0F))) +
                   std::u16string(1, char16_t(u'A' + (reinterpret_cast<uintptr_t>(background) & 0x1F)));
    if (!registered.count(key)) {
        WNDCLASSW wc{};
        wc.style = style;
        wc.lpfnWndProc = MessageLog::Proc;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = background;
        storage.push_back(key);
        wc.lpszClassName = storage.back().c_str();
        EXPECT_NE(RegisterClassW(&wc), 0);
        registered.insert(key);
    }
    for (const auto& s : storage) {
        if (s == key) {
            return s.c_str();
        }
    }
    return nullptr;
}

HWND DisplayTest::TopLevel(const RECT& rc, DWORD style, DWORD exStyle, const char16_t* cls, HWND owner) {
    HWND hwnd = CreateWindowExW(exStyle, cls ? cls : Class(), u"Test", style, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top, owner, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    created.push_back(hwnd);
    return hwnd;
}

HWND DisplayTest::Child(HWND parent, const RECT& rc, int id, DWORD style, DWORD exStyle,
                        const char16_t* cls) {
    HWND hwnd = CreateWindowExW(exStyle, cls ? cls : Class(), u"", style, rc.left, rc.top, rc.right - rc.left,
                                rc.bottom - rc.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
}

int DisplayTest::Pump() {
    int n = 0;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++n;
    }
    return n;
}

POINT DisplayTest::ToScreen(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return client;
}

void DisplayTest::Click(HWND hwnd, POINT client, UINT down) {
    POINT pt = ToScreen(hwnd, client);
    DisplayInjectMouse(WM_MOUSEMOVE, pt);
    DisplayInjectMouse(down, pt);
    DisplayInjectMouse(down + 1, pt);
}

} // namespace displaytest
