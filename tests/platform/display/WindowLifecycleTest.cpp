// Classes, creation and destruction order, the window tree, window data.
#include "DisplayTestSupport.h"

using namespace displaytest;
using ::testing::ElementsAre;

namespace {

class DisplayWindows : public DisplayTest {};

TEST_F(DisplayWindows, CreationSendsTheOriginalSequence) {
    HWND parent = TopLevel({10, 10, 310, 210}, WS_OVERLAPPEDWINDOW);
    log.Name(parent, "parent");
    std::vector<std::string> cbt;
    static std::vector<std::string>* cbtLog = &cbt;
    HHOOK hook = SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_CREATEWND) {
                // Before any message: the window exists, nothing has been sent to it yet.
                cbtLog->push_back(MessageLog::current->Entries().empty() ? "cbt-first" : "cbt-late");
                auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
                EXPECT_EQ(cbt->lpcs->cx, 50);
                EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(wParam)));
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    log.Clear();
    HWND child = Child(parent, {5, 5, 55, 35}, 7, WS_CHILD | WS_VISIBLE);
    UnhookWindowsHookEx(hook);
    log.Name(child, "child");
    EXPECT_EQ(cbt, std::vector<std::string>{"cbt-first"});
    EXPECT_THAT(log.Sequence({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                              WM_PARENTNOTIFY, WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}),
                ElementsAre("child:WM_NCCREATE", "child:WM_NCCALCSIZE", "child:WM_CREATE", "child:WM_SIZE",
                            "child:WM_MOVE", "parent:WM_PARENTNOTIFY", "child:WM_SHOWWINDOW",
                            "child:WM_WINDOWPOSCHANGING", "child:WM_WINDOWPOSCHANGED"));
    auto notify = log.Of(WM_PARENTNOTIFY);
    ASSERT_EQ(notify.size(), 1u);
    EXPECT_EQ(notify[0].wParam, MAKEWPARAM(WM_CREATE, 7));
    EXPECT_EQ(notify[0].lParam, reinterpret_cast<LPARAM>(child));

    // A resizable top-level window is asked for its limits first.
    log.Clear();
    HWND top = TopLevel({0, 0, 200, 100}, WS_OVERLAPPEDWINDOW);
    log.Name(top, "top");
    EXPECT_THAT(log.Sequence({WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}),
                ElementsAre("top:WM_GETMINMAXINFO", "top:WM_NCCREATE", "top:WM_NCCALCSIZE", "top:WM_CREATE"));
}

TEST_F(DisplayWindows, CreationFailsOnRefusals) {
    struct Case {
        UINT refused;
        LRESULT answer;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {WM_NCCREATE, FALSE, {"?:WM_NCCREATE", "?:WM_NCDESTROY"}},
        {WM_CREATE, -1, {"?:WM_NCCREATE", "?:WM_CREATE", "?:WM_DESTROY", "?:WM_NCDESTROY"}},
    };
    for (const Case& c : cases) {
        log.Clear();
        UINT refused = c.refused;
        LRESULT answer = c.answer;
        log.SetBehaviour([=](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == refused) {
                return answer;
            }
            return std::nullopt;
        });
        HWND hwnd =
            CreateWindowExW(0, Class(), u"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(hwnd, nullptr);
        EXPECT_EQ(log.Sequence({WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}), c.expected);
        // The handle that was given to the procedure is dead.
        ASSERT_FALSE(log.Entries().empty());
        EXPECT_FALSE(IsWindow(log.Entries().front().hwnd));
    }
}

TEST_F(DisplayWindows, DestructionOrderOwnedThenParentsFirstThenChildrenFirst) {
    HWND top = TopLevel({0, 0, 300, 200});
    HWND a = Child(top, {0, 0, 50, 50}, 1);
    HWND a1 = Child(a, {0, 0, 10, 10}, 11);
    HWND b = Child(top, {60, 0, 110, 50}, 2);
    HWND owned = TopLevel({20, 20, 120, 120}, WS_POPUP | WS_VISIBLE, 0, nullptr, top);
    log.Name(top, "top");
    log.Name(a, "a");
    log.Name(a1, "a1");
    log.Name(b, "b");
    log.Name(owned, "owned");
    log.Clear();
    ASSERT_TRUE(DestroyWindow(top));
    EXPECT_THAT(log.Sequence({WM_DESTROY, WM_NCDESTROY}),
                ElementsAre("owned:WM_DESTROY", "owned:WM_NCDESTROY", "top:WM_DESTROY", "a:WM_DESTROY",
                            "a1:WM_DESTROY", "b:WM_DESTROY", "a1:WM_NCDESTROY", "a:WM_NCDESTROY",
                            "b:WM_NCDESTROY", "top:WM_NCDESTROY"));
    for (HWND hwnd : {top, a, a1, b, owned}) {
        EXPECT_FALSE(IsWindow(hwnd));
    }
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DisplayWindows, DestroyingAChildNotifiesItsParentFirst) {
    HWND top = TopLevel({0, 0, 300, 200});
    HWND child = Child(top, {0, 0, 50, 50}, 9);
    HWND quiet = Child(top, {0, 0, 50, 50}, 10, WS_CHILD | WS_VISIBLE, WS_EX_NOPARENTNOTIFY);
    log.Name(top, "top");
    log.Name(child, "child");
    log.Clear();
    DestroyWindow(child);
    DestroyWindow(quiet);
    EXPECT_THAT(log.Sequence({WM_PARENTNOTIFY, WM_DESTROY}),
                ElementsAre("top:WM_PARENTNOTIFY", "child:WM_DESTROY", "?:WM_DESTROY"));
    EXPECT_EQ(log.Of(WM_PARENTNOTIFY)[0].wParam, MAKEWPARAM(WM_DESTROY, 9));
}

TEST_F(DisplayWindows, ClassesAreFoundWithoutRegardToCaseAndKeepTheirData) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = MessageLog::Proc;
    wc.cbClsExtra = 8;
    wc.cbWndExtra = 16;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = u"LifecycleClass";
    ATOM atom = RegisterClassExW(&wc);
    ASSERT_GE(atom, 0xC000);
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));

    WNDCLASSW info{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"lifecycleCLASS", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_DBLCLKS));
    EXPECT_EQ(info.cbWndExtra, 16);

    HWND hwnd = TopLevel({0, 0, 100, 100}, WS_POPUP, 0, u"LIFECYCLECLASS");
    char16_t name[64]{};
    EXPECT_EQ(GetClassNameW(hwnd, name, 64), 14);
    EXPECT_EQ(std::u16string(name), u"LifecycleClass");
    EXPECT_EQ(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
    EXPECT_EQ(SetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND, COLOR_WINDOW + 1),
              static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
    EXPECT_EQ(GetClassLongW(hwnd, GCL_STYLE), static_cast<DWORD>(CS_HREDRAW | CS_DBLCLKS));
    EXPECT_EQ(GetClassWord(hwnd, GCW_ATOM), atom);
    SetClassLongPtrW(hwnd, 0, 0x1234);
    EXPECT_EQ(GetClassLongPtrW(hwnd, 0), 0x1234u);
    EXPECT_EQ(GetClassLongPtrW(hwnd, 4), 0u) << "reads past the extra bytes fail";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

    SetWindowLongPtrW(hwnd, 8, 0x55AA);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, 8), 0x55AA);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, 12), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));

    EXPECT_FALSE(UnregisterClassW(u"LifecycleClass", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(hwnd);
    EXPECT_TRUE(UnregisterClassW(u"LifecycleClass", nullptr));
    EXPECT_EQ(
        CreateWindowExW(0, u"LifecycleClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(DisplayWindows, LazySystemClassesRegisterOnFirstUse) {
    static int calls;
    static std::u16string name;
    static int run = 0;
    calls = 0;
    name = u"LazyThing" + std::u16string(1, static_cast<char16_t>(u'A' + run++ % 26));
    DisplayAddLazySystemClass(name.c_str(), [] {
        ++calls;
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = name.c_str();
        DisplayRegisterSystemClass(&wc);
    });
    EXPECT_EQ(calls, 0);
    std::u16string lower = name;
    lower[0] = u'l';
    HWND hwnd =
        CreateWindowExW(0, lower.c_str(), u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    EXPECT_EQ(calls, 1);
    WNDCLASSW info{};
    EXPECT_TRUE(GetClassInfoW(nullptr, name.c_str(), &info));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(info.style & CS_GLOBALCLASS);
    DestroyWindow(hwnd);
}

TEST_F(DisplayWindows, TreeWalksAndOwners) {
    HWND top = TopLevel({0, 0, 300, 200});
    HWND first = Child(top, {0, 0, 10, 10}, 1);
    HWND second = Child(top, {0, 0, 10, 10}, 2);
    HWND inner = Child(second, {0, 0, 5, 5}, 3);
    HWND popup = TopLevel({0, 0, 50, 50}, WS_POPUP, 0, nullptr, inner);
    HWND overlapped = TopLevel({0, 0, 50, 50}, WS_OVERLAPPED, 0, nullptr, top);

    // Children are created at the bottom of the z-order, so creation order is tab order.
    EXPECT_EQ(GetWindow(top, GW_CHILD), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(first, GW_HWNDLAST), second);
    EXPECT_EQ(GetParent(inner), second);
    EXPECT_EQ(GetParent(popup), top) << "a popup's parent is its owner, the top-level window";
    EXPECT_EQ(GetWindow(popup, GW_OWNER), top);
    EXPECT_EQ(GetParent(overlapped), nullptr) << "an overlapped window has no parent even when owned";
    EXPECT_EQ(GetAncestor(inner, GA_ROOT), top);
    EXPECT_EQ(GetAncestor(inner, GA_PARENT), second);
    EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), top);
    EXPECT_TRUE(IsChild(top, inner));
    EXPECT_FALSE(IsChild(top, popup));
    EXPECT_EQ(GetDlgItem(top, 2), second);
    EXPECT_EQ(GetDlgItem(top, 3), nullptr) << "only direct children";
    EXPECT_EQ(GetDlgCtrlID(inner), 3);

    std::vector<HWND> seen;
    EnumChildWindows(
        top,
        [](HWND hwnd, LPARAM lParam) {
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(seen, (std::vector<HWND>{first, second, inner}));

    // SetParent keeps the relative position and answers the old parent.
    EXPECT_EQ(SetParent(inner, first), second);
    EXPECT_EQ(GetParent(inner), first);
    EXPECT_EQ(SetParent(first, inner), nullptr) << "a window cannot become its descendant's child";
}

TEST_F(DisplayWindows, TextStylesPropertiesAndSubclassing) {
    HWND hwnd = TopLevel({0, 0, 100, 100}, WS_OVERLAPPEDWINDOW);
    char16_t buffer[8]{};
    EXPECT_EQ(GetWindowTextW(hwnd, buffer, 8), 4);
    EXPECT_EQ(std::u16string(buffer), u"Test");
    EXPECT_TRUE(SetWindowTextW(hwnd, u"A longer title"));
    EXPECT_EQ(GetWindowTextLengthW(hwnd), 14);
    EXPECT_EQ(GetWindowTextW(hwnd, buffer, 8), 7) << "truncated and terminated";
    EXPECT_EQ(std::u16string(buffer), u"A longe");

    log.Clear();
    LONG old = SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | WS_VSCROLL);
    EXPECT_FALSE(old & WS_VSCROLL);
    EXPECT_THAT(log.Sequence({WM_STYLECHANGING, WM_STYLECHANGED}),
                ElementsAre("?:WM_STYLECHANGING", "?:WM_STYLECHANGED"));
    EXPECT_EQ(log.Of(WM_STYLECHANGED)[0].wParam, static_cast<WPARAM>(GWL_STYLE));

    EXPECT_TRUE(SetPropW(hwnd, u"Key", reinterpret_cast<HANDLE>(5)));
    EXPECT_EQ(GetPropW(hwnd, u"KEY"), reinterpret_cast<HANDLE>(5));
    EXPECT_EQ(RemovePropW(hwnd, u"key"), reinterpret_cast<HANDLE>(5));
    EXPECT_EQ(GetPropW(hwnd, u"Key"), nullptr);

    static WNDPROC previous = nullptr;
    static int seen = 0;
    seen = 0;
    WNDPROC sub = [](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_USER + 5) {
            ++seen;
            return 42;
        }
        return CallWindowProcW(previous, h, msg, wParam, lParam);
    };
    previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sub)));
    EXPECT_EQ(previous, &MessageLog::Proc);
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 5, 0, 0), 42);
    EXPECT_EQ(seen, 1);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 77);
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWLP_USERDATA), 77);
}

TEST_F(DisplayWindows, RegisteredMessagesShareIdsWithoutRegardToCase) {
    UINT a = RegisterWindowMessageW(u"commdlg_FindReplace");
    EXPECT_GE(a, 0xC000u);
    EXPECT_EQ(RegisterWindowMessageW(u"COMMDLG_FINDREPLACE"), a);
    EXPECT_NE(RegisterWindowMessageW(u"secComboExApply"), a);
    EXPECT_EQ(RegisterWindowMessageW(u""), 0u);
}

TEST_F(DisplayWindows, PositionsSizesAndStates) {
    HWND top = TopLevel({100, 50, 400, 250}, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RECT rc{};
    GetWindowRect(top, &rc);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.right, 400);
    GetClientRect(top, &rc);
    // 4-pixel sizing frame, 19-pixel caption.
    EXPECT_EQ(rc.right, 300 - 8);
    EXPECT_EQ(rc.bottom, 200 - 8 - 19);
    POINT pt{0, 0};
    ClientToScreen(top, &pt);
    EXPECT_EQ(pt.x, 104);
    EXPECT_EQ(pt.y, 50 + 4 + 19);

    HWND child = Child(top, {10, 20, 60, 70}, 1, WS_CHILD | WS_VISIBLE | WS_BORDER);
    POINT p{0, 0};
    EXPECT_EQ(MapWindowPoints(child, top, &p, 1), MAKELONG(11, 21));
    EXPECT_EQ(p.x, 11);

    log.Clear();
    SetWindowPos(child, nullptr, 15, 25, 80, 90, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_THAT(log.Sequence({WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
                ElementsAre("?:WM_WINDOWPOSCHANGING", "?:WM_NCCALCSIZE", "?:WM_WINDOWPOSCHANGED", "?:WM_MOVE",
                            "?:WM_SIZE"));
    auto size = log.Of(WM_SIZE);
    EXPECT_EQ(size[0].lParam, MAKELPARAM(78, 88));

    log.Clear();
    ShowWindow(top, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(top));
    ASSERT_FALSE(log.Of(WM_SIZE).empty());
    EXPECT_EQ(log.Of(WM_SIZE).back().wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
    GetWindowRect(top, &rc);
    EXPECT_EQ(rc.left, -4) << "the sizing frame lies off the screen";
    EXPECT_EQ(rc.right, 1280 + 4);

    log.Clear();
    ShowWindow(top, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(top));
    EXPECT_EQ(log.Of(WM_SIZE).back().wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    ASSERT_TRUE(GetWindowPlacement(top, &wp));
    EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(wp.flags, static_cast<UINT>(WPF_RESTORETOMAXIMIZED));
    EXPECT_EQ(wp.rcNormalPosition.left, 100);

    ShowWindow(top, SW_RESTORE);
    EXPECT_TRUE(IsZoomed(top)) << "restoring a window minimised from maximised maximises it again";
    ShowWindow(top, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(top));
    GetWindowRect(top, &rc);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.bottom, 250);

    log.Clear();
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_EQ(log.Count(WM_SHOWWINDOW), 1);
    EXPECT_FALSE(ShowWindow(child, SW_HIDE));
}

TEST_F(DisplayWindows, ZOrderKeepsTopmostAndOwnedWindowsAbove) {
    HWND a = TopLevel({0, 0, 50, 50});
    HWND pinned = TopLevel({0, 0, 50, 50}, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST);
    HWND b = TopLevel({0, 0, 50, 50});
    auto order = [] {
        std::vector<HWND> out;
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
            out.push_back(h);
        }
        return out;
    };
    EXPECT_EQ(order(), (std::vector<HWND>{pinned, b, a})) << "a new window goes below the topmost ones";
    HWND owned = TopLevel({0, 0, 20, 20}, WS_POPUP | WS_VISIBLE, 0, nullptr, a);
    EXPECT_EQ(order(), (std::vector<HWND>{pinned, owned, b, a}));
    BringWindowToTop(a);
    EXPECT_EQ(order(), (std::vector<HWND>{pinned, owned, a, b})) << "owned windows stay above their owner";
    SetWindowPos(pinned, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(GetWindowLongW(pinned, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(pinned, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(order().back(), pinned);
    SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(order().front(), b);
    EXPECT_TRUE(GetWindowLongW(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(DisplayWindows, DeferredPositionsApplyTogether) {
    HWND top = TopLevel({0, 0, 400, 300});
    HWND a = Child(top, {0, 0, 10, 10}, 1);
    HWND b = Child(top, {0, 0, 10, 10}, 2);
    HDWP dwp = BeginDeferWindowPos(2);
    dwp = DeferWindowPos(dwp, a, nullptr, 5, 5, 20, 20, SWP_NOZORDER);
    dwp = DeferWindowPos(dwp, b, nullptr, 30, 5, 20, 20, SWP_NOZORDER);
    dwp = DeferWindowPos(dwp, a, nullptr, 0, 0, 25, 25, SWP_NOZORDER | SWP_NOMOVE);
    ASSERT_NE(dwp, nullptr);
    EXPECT_TRUE(EndDeferWindowPos(dwp));
    RECT rc{};
    GetWindowRect(a, &rc);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 5);
    EXPECT_EQ(rc.right, 30);
    GetWindowRect(b, &rc);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 30);
    EXPECT_FALSE(EndDeferWindowPos(dwp)) << "the handle is gone";
}

TEST_F(DisplayWindows, EnableWindowCancelsModesBeforeWmEnable) {
    HWND top = TopLevel({0, 0, 200, 200});
    SetCapture(top);
    log.Clear();
    EXPECT_FALSE(EnableWindow(top, FALSE));
    EXPECT_THAT(log.Sequence({WM_CANCELMODE, WM_CAPTURECHANGED, WM_ENABLE}),
                ElementsAre("?:WM_CANCELMODE", "?:WM_CAPTURECHANGED", "?:WM_ENABLE"));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(top));
    EXPECT_TRUE(EnableWindow(top, TRUE)) << "answers whether it was disabled";
}

} // namespace
