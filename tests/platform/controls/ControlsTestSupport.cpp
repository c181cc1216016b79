#include "ControlsTestSupport.h"

#include "platform/clipboard/Clipboard.h"

namespace controlstest {

ControlsTest* ControlsTest::current = nullptr;

LRESULT CALLBACK ControlsTest::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (current && hwnd == current->parent) {
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
            current->parentMessages.push_back(msg);
        }
        if (msg == WM_DRAWITEM || msg == WM_MEASUREITEM || msg == WM_COMPAREITEM || msg == WM_DELETEITEM) {
            current->parentMessages.push_back(msg);
        }
        if (current->parentHook) {
            if (auto answer = current->parentHook(msg, wParam, lParam)) {
                return *answer;
            }
        }
        if (msg == WM_COMMAND && lParam) {
            current->notes.push_back(Note{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void ControlsTest::SetUp() {
    DisplayUseTestClock(100000);
    RegisterButtonClass();
    RegisterStaticClass();
    RegisterEditClass();
    RegisterListBoxClass();
    RegisterComboBoxClass();
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ParentProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = u"ControlsTestParent";
        ASSERT_NE(RegisterClassW(&wc), 0);
        registered = true;
    }
    current = this;
    parent =
        CreateWindowExW(0, u"ControlsTestParent", u"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                        100, 100, 500, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    SetForegroundWindow(parent);
    SetActiveWindow(parent);
    Pump();
    notes.clear();
}

void ControlsTest::TearDown() {
    // Hooks capture the test's locals; none may run while the windows go.
    parentHook = nullptr;
    if (IsWindow(parent)) {
        DestroyWindow(parent);
    }
    Pump();
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    current = nullptr;
    DisplayUseRealClock();
}

HWND ControlsTest::Make(LPCWSTR cls, LPCWSTR text, DWORD style, RECT rect, int id, DWORD exStyle) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    Pump();
    return hwnd;
}

std::vector<UINT> ControlsTest::Codes(int id) const {
    std::vector<UINT> out;
    for (const auto& note : notes) {
        if (note.id == id) {
            out.push_back(note.code);
        }
    }
    return out;
}

int ControlsTest::Pump() {
    int n = 0;
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        ++n;
    }
    return n;
}

void ControlsTest::Press(UINT vk, std::initializer_list<UINT> modifiers) {
    for (UINT m : modifiers) {
        DisplayInjectKey(m, 0, TRUE, FALSE);
    }
    DisplayInjectKey(vk, 0, TRUE, FALSE);
    DisplayInjectKey(vk, 0, FALSE, FALSE);
    for (UINT m : modifiers) {
        DisplayInjectKey(m, 0, FALSE, FALSE);
    }
    Pump();
}

void ControlsTest::Type(const std::u16string& text) {
    DisplayInjectText(text);
    Pump();
}

POINT ControlsTest::ToScreen(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return client;
}

void ControlsTest::MouseDown(HWND hwnd, POINT client) {
    POINT pt = ToScreen(hwnd, client);
    DisplayInjectMouse(WM_MOUSEMOVE, pt);
    DisplayInjectMouse(WM_LBUTTONDOWN, pt);
    Pump();
}

void ControlsTest::MouseUp(HWND hwnd, POINT client) {
    POINT pt = ToScreen(hwnd, client);
    DisplayInjectMouse(WM_MOUSEMOVE, pt);
    DisplayInjectMouse(WM_LBUTTONUP, pt);
    Pump();
}

void ControlsTest::Click(HWND hwnd, POINT client) {
    MouseDown(hwnd, client);
    MouseUp(hwnd, client);
    // Far enough apart in time that the next click is no double click.
    DisplayAdvanceTestClock(1000);
}

std::u16string ControlsTest::Text(HWND hwnd) {
    int length = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(got));
    return text;
}

} // namespace controlstest
