// Focus, activation, capture, mouse and keyboard input as the program's windows see them.
#include "DisplayTestSupport.h"

using namespace displaytest;
using ::testing::ElementsAre;

namespace {

class DisplayInput : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        // Start each test with no keys or buttons down.
        BYTE none[256]{};
        SetKeyboardState(none);
    }
};

TEST_F(DisplayInput, FocusChangeSendsKillFocusThenSetFocusWithTheOtherWindow) {
    HWND top = TopLevel({0, 0, 300, 200});
    HWND a = Child(top, {0, 0, 50, 50}, 1);
    HWND b = Child(top, {60, 0, 110, 50}, 2);
    log.Name(a, "a");
    log.Name(b, "b");
    SetFocus(a);
    HWND seenInKill = reinterpret_cast<HWND>(1);
    log.SetBehaviour([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (hwnd == a && msg == WM_KILLFOCUS) {
            seenInKill = GetFocus();
        }
        return std::nullopt;
    });
    log.Clear();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_THAT(log.Sequence({WM_KILLFOCUS, WM_SETFOCUS}), ElementsAre("a:WM_KILLFOCUS", "b:WM_SETFOCUS"));
    EXPECT_EQ(log.Of(WM_KILLFOCUS)[0].wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(log.Of(WM_SETFOCUS)[0].wParam, reinterpret_cast<WPARAM>(a));
    EXPECT_EQ(seenInKill, b);
    EXPECT_EQ(GetFocus(), b);

    // Neither disabled nor minimised windows take the focus.
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(GetFocus(), b);
}

TEST_F(DisplayInput, ActivationDeactivatesTheOldWindowFirst) {
    HWND first = TopLevel({0, 0, 200, 200});
    log.Name(first, "first");
    EXPECT_EQ(GetActiveWindow(), first) << "showing a top-level window activates it";
    ASSERT_EQ(log.Count(WM_ACTIVATEAPP), 1) << "the thread became active";
    EXPECT_TRUE(log.Of(WM_ACTIVATEAPP)[0].wParam);
    HWND second = TopLevel({50, 50, 250, 250});
    log.Name(second, "second");
    EXPECT_EQ(GetActiveWindow(), second);
    log.Clear();
    EXPECT_EQ(SetActiveWindow(first), second);
    EXPECT_THAT(log.Sequence({WM_NCACTIVATE, WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS}),
                ElementsAre("second:WM_NCACTIVATE", "second:WM_ACTIVATE", "first:WM_NCACTIVATE",
                            "first:WM_ACTIVATE", "second:WM_KILLFOCUS", "first:WM_SETFOCUS"));
    auto activate = log.Of(WM_ACTIVATE);
    EXPECT_EQ(LOWORD(activate[0].wParam), WA_INACTIVE);
    EXPECT_EQ(activate[0].lParam, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(LOWORD(activate[1].wParam), WA_ACTIVE);
    EXPECT_EQ(activate[1].lParam, reinterpret_cast<LPARAM>(second));
    EXPECT_EQ(GetFocus(), first);
    EXPECT_EQ(GetForegroundWindow(), first);

    // Hiding the active window activates another.
    ShowWindow(first, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), second);
    EXPECT_EQ(GetFocus(), second);
}

TEST_F(DisplayInput, ClickOnAChildNotifiesParentsBeforeTheFocusMoves) {
    HWND top = TopLevel({100, 100, 400, 300});
    HWND edit = Child(top, {10, 10, 110, 40}, 5);
    log.Name(top, "top");
    log.Name(edit, "edit");
    SetFocus(top);
    log.SetBehaviour([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (hwnd == edit && msg == WM_LBUTTONDOWN) {
            SetFocus(edit); // as an edit control does
        }
        return std::nullopt;
    });
    Pump();
    log.Clear();
    Click(edit, {20, 5});
    Pump();
    EXPECT_THAT(log.Sequence({WM_PARENTNOTIFY, WM_MOUSEACTIVATE, WM_SETCURSOR, WM_LBUTTONDOWN, WM_KILLFOCUS,
                              WM_SETFOCUS, WM_LBUTTONUP}),
                ElementsAre("edit:WM_SETCURSOR", "top:WM_SETCURSOR", "top:WM_PARENTNOTIFY",
                            "edit:WM_MOUSEACTIVATE", "top:WM_MOUSEACTIVATE", "edit:WM_SETCURSOR",
                            "top:WM_SETCURSOR", "edit:WM_LBUTTONDOWN", "top:WM_KILLFOCUS", "edit:WM_SETFOCUS",
                            "edit:WM_SETCURSOR", "top:WM_SETCURSOR", "edit:WM_LBUTTONUP"));
    auto notify = log.Of(WM_PARENTNOTIFY);
    ASSERT_EQ(notify.size(), 1u);
    EXPECT_EQ(LOWORD(notify[0].wParam), WM_LBUTTONDOWN);
    EXPECT_EQ(notify[0].lParam, MAKELPARAM(30, 15)) << "in the parent's client coordinates";
    auto activate = log.Of(WM_MOUSEACTIVATE);
    EXPECT_EQ(activate[0].wParam, reinterpret_cast<WPARAM>(top));
    EXPECT_EQ(activate[0].lParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    auto down = log.Of(WM_LBUTTONDOWN);
    EXPECT_EQ(down[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(down[0].lParam, MAKELPARAM(20, 5));
}

TEST_F(DisplayInput, ClickActivatesAnInactiveWindowAfterParentNotify) {
    HWND other = TopLevel({500, 500, 700, 700});
    HWND top = TopLevel({100, 100, 400, 300});
    HWND child = Child(top, {10, 10, 110, 40}, 5);
    HWND quiet = Child(top, {10, 50, 110, 80}, 6, WS_CHILD | WS_VISIBLE, WS_EX_NOPARENTNOTIFY);
    SetActiveWindow(other);
    log.Name(other, "other");
    log.Name(top, "top");
    log.Name(child, "child");
    Pump();
    log.Clear();
    Click(child, {1, 1});
    Pump();
    EXPECT_THAT(log.Sequence({WM_PARENTNOTIFY, WM_MOUSEACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_LBUTTONDOWN}),
                ElementsAre("top:WM_PARENTNOTIFY", "child:WM_MOUSEACTIVATE", "top:WM_MOUSEACTIVATE",
                            "other:WM_ACTIVATE", "top:WM_ACTIVATE", "top:WM_SETFOCUS",
                            "child:WM_LBUTTONDOWN"));
    EXPECT_EQ(LOWORD(log.Of(WM_ACTIVATE)[1].wParam), WA_CLICKACTIVE);
    EXPECT_EQ(GetActiveWindow(), top);

    log.Clear();
    Click(quiet, {1, 1});
    Pump();
    EXPECT_EQ(log.Count(WM_PARENTNOTIFY), 0);

    // MA_ACTIVATEANDEAT swallows the press but not the release.
    SetActiveWindow(other);
    log.SetBehaviour([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (hwnd == child && msg == WM_MOUSEACTIVATE) {
            return MA_ACTIVATEANDEAT;
        }
        return std::nullopt;
    });
    log.Clear();
    Click(child, {1, 1});
    Pump();
    EXPECT_EQ(log.Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(log.Count(WM_LBUTTONUP), 1);
    EXPECT_EQ(GetActiveWindow(), top);
}

TEST_F(DisplayInput, CaptureRoutesMovesOutsideAndCancelModeReleasesIt) {
    HWND top = TopLevel({100, 100, 400, 300});
    HWND a = Child(top, {10, 10, 60, 60}, 1);
    HWND b = Child(top, {70, 10, 120, 60}, 2);
    log.Name(a, "a");
    log.Name(b, "b");
    EXPECT_EQ(SetCapture(a), nullptr);
    Pump();
    log.Clear();
    DisplayInjectMouse(WM_MOUSEMOVE, {50, 50}); // far outside a, even outside the top-level window
    Pump();
    auto moves = log.Of(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].hwnd, a);
    POINT origin = ToScreen(a, {0, 0});
    EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 50 - origin.x);
    EXPECT_EQ(log.Count(WM_SETCURSOR), 0) << "no WM_SETCURSOR while captured";

    log.Clear();
    EXPECT_EQ(SetCapture(b), a);
    EXPECT_THAT(log.Sequence({WM_CAPTURECHANGED}), ElementsAre("a:WM_CAPTURECHANGED"));
    EXPECT_EQ(log.Of(WM_CAPTURECHANGED)[0].lParam, reinterpret_cast<LPARAM>(b));
    log.Clear();
    SendMessageW(b, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_THAT(log.Sequence({WM_CANCELMODE, WM_CAPTURECHANGED}),
                ElementsAre("b:WM_CANCELMODE", "b:WM_CAPTURECHANGED"));
    EXPECT_EQ(log.Of(WM_CAPTURECHANGED)[0].lParam, 0);
}

TEST_F(DisplayInput, DoubleClicksNeedTheClassTheTimeAndTheDistance) {
    HWND top = TopLevel({0, 0, 400, 300});
    HWND dbl = Child(top, {0, 0, 200, 200}, 1, WS_CHILD | WS_VISIBLE, 0, Class(CS_DBLCLKS));
    HWND plain = Child(top, {200, 0, 400, 200}, 2, WS_CHILD | WS_VISIBLE, 0, Class(0));
    struct Case {
        HWND hwnd;
        int delay;
        int dx;
        UINT second;
    };
    const Case cases[] = {
        {dbl, 100, 0, WM_LBUTTONDBLCLK}, {dbl, 500, 2, WM_LBUTTONDBLCLK}, {dbl, 501, 0, WM_LBUTTONDOWN},
        {dbl, 100, 3, WM_LBUTTONDOWN},   {plain, 100, 0, WM_LBUTTONDOWN},
    };
    for (const Case& c : cases) {
        DisplayAdvanceTestClock(5000);
        Pump();
        log.Clear();
        Click(c.hwnd, {50, 50});
        Pump();
        DisplayAdvanceTestClock(c.delay);
        Click(c.hwnd, {50 + c.dx, 50});
        Pump();
        auto downs = log.Sequence({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK});
        ASSERT_EQ(downs.size(), 2u);
        EXPECT_EQ(downs[1], "?:" + MessageName(c.second)) << "delay " << c.delay << " dx " << c.dx;
    }
    // A third click after a double click starts over.
    DisplayAdvanceTestClock(5000);
    Pump();
    log.Clear();
    Click(dbl, {50, 50});
    Click(dbl, {50, 50});
    Click(dbl, {50, 50});
    Pump();
    EXPECT_THAT(log.Sequence({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
                ElementsAre("?:WM_LBUTTONDOWN", "?:WM_LBUTTONDBLCLK", "?:WM_LBUTTONDOWN"));
}

TEST_F(DisplayInput, KeyStateIsTheStateOfTheMessageBeingHandled) {
    HWND top = TopLevel({0, 0, 200, 200});
    SetFocus(top);
    Pump();
    std::vector<std::pair<bool, bool>> shiftAtA; // (GetKeyState down, GetAsyncKeyState down)
    log.SetBehaviour([&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if ((msg == WM_KEYDOWN || msg == WM_KEYUP) && wParam == 'A') {
            shiftAtA.emplace_back(GetKeyState(VK_SHIFT) < 0, GetAsyncKeyState(VK_SHIFT) < 0);
        }
        return std::nullopt;
    });
    log.Clear();
    DisplayInjectKey(VK_LSHIFT, 0, TRUE, FALSE);
    DisplayInjectKey('A', 0, TRUE, FALSE);
    DisplayInjectKey('A', 0, TRUE, FALSE); // auto-repeat
    DisplayInjectKey(VK_LSHIFT, 0, FALSE, FALSE);
    DisplayInjectKey('A', 0, FALSE, FALSE);
    Pump();
    ASSERT_EQ(shiftAtA.size(), 3u);
    EXPECT_EQ(shiftAtA[0], std::make_pair(true, false)) << "Shift was released already, but not yet taken";
    EXPECT_EQ(shiftAtA[2], std::make_pair(false, false));
    auto downs = log.Of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(VK_SHIFT)) << "left Shift arrives as VK_SHIFT";
    EXPECT_EQ(downs[1].lParam, 0x001E0001) << "repeat 1, scan code 0x1E";
    EXPECT_EQ(downs[2].lParam, 0x401E0001) << "previous-state bit on auto-repeat";
    auto ups = log.Of(WM_KEYUP);
    EXPECT_EQ(static_cast<DWORD>(ups.back().lParam), 0xC01E0001u);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 1, 1) << "every key keeps a toggle bit";

    BYTE state[256]{};
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

TEST_F(DisplayInput, TranslateMessageMakesCharacters) {
    HWND top = TopLevel({0, 0, 200, 200});
    SetFocus(top);
    Pump();
    auto chars = [&] {
        std::vector<std::u16string> out;
        for (const Logged& e : log.Entries()) {
            if (e.msg == WM_CHAR || e.msg == WM_SYSCHAR || e.msg == WM_DEADCHAR) {
                std::u16string s = e.msg == WM_SYSCHAR ? u"sys:" : (e.msg == WM_DEADCHAR ? u"dead:" : u"");
                out.push_back(s + std::u16string(1, static_cast<char16_t>(e.wParam)));
            }
        }
        return out;
    };
    auto press = [](UINT vk) {
        DisplayInjectKey(vk, 0, TRUE, FALSE);
        DisplayInjectKey(vk, 0, FALSE, FALSE);
    };
    log.Clear();
    press('A');
    DisplayInjectKey(VK_SHIFT, 0, TRUE, FALSE);
    press('A');
    press('2');
    DisplayInjectKey(VK_SHIFT, 0, FALSE, FALSE);
    DisplayInjectKey(VK_CONTROL, 0, TRUE, FALSE);
    press('C');
    DisplayInjectKey(VK_CONTROL, 0, FALSE, FALSE);
    press(VK_RETURN);
    press(VK_BACK);
    Pump();
    EXPECT_EQ(chars(), (std::vector<std::u16string>{u"a", u"A", u"@", u"\x03", u"\r", u"\b"}));

    // Text from an input method: a surrogate pair is two WM_CHARs, in order.
    log.Clear();
    DisplayInjectKey(VK_PROCESSKEY, 0, TRUE, FALSE, DisplayKeyText::Given, u"\xD83D\xDE00");
    DisplayInjectText(u"\x00E9");
    Pump();
    EXPECT_EQ(chars(), (std::vector<std::u16string>{u"\xD83D", u"\xDE00", u"\x00E9"}));

    // Text that arrives apart leaves only control characters to the key.
    log.Clear();
    DisplayInjectKey('X', 0, TRUE, FALSE, DisplayKeyText::ControlOnly);
    DisplayInjectKey(VK_ESCAPE, 0, TRUE, FALSE, DisplayKeyText::ControlOnly);
    DisplayInjectKey('E', 0, TRUE, FALSE, DisplayKeyText::Given, u"\x00B4", TRUE);
    Pump();
    EXPECT_EQ(chars(), (std::vector<std::u16string>{u"\x1b", u"dead:\x00B4"}));

    // Alt+F is a system key with a system character.
    log.Clear();
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    press('F');
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Pump();
    EXPECT_EQ(log.Count(WM_KEYDOWN), 0);
    EXPECT_EQ(log.Count(WM_SYSKEYDOWN), 2);
    EXPECT_EQ(chars(), (std::vector<std::u16string>{u"sys:f"}));
    EXPECT_TRUE(log.Of(WM_SYSKEYDOWN)[1].lParam & (1 << 29)) << "context bit: Alt is down";
}

TEST_F(DisplayInput, WindowFromPointSkipsTransparentHiddenAndDisabledWindows) {
    HWND top = TopLevel({0, 0, 400, 300});
    HWND under = Child(top, {10, 10, 100, 100}, 1);
    HWND over = Child(top, {10, 10, 100, 100}, 2, WS_CHILD | WS_VISIBLE);
    SetWindowPos(over, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    POINT pt = ToScreen(top, {50, 50});
    EXPECT_EQ(WindowFromPoint(pt), over);
    log.SetBehaviour([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (hwnd == over && msg == WM_NCHITTEST) {
            return HTTRANSPARENT; // as a group box does
        }
        return std::nullopt;
    });
    EXPECT_EQ(WindowFromPoint(pt), under);
    EXPECT_EQ(ChildWindowFromPoint(top, {50, 50}), over) << "ChildWindowFromPoint does not hit-test";
    EXPECT_EQ(RealChildWindowFromPoint(top, {50, 50}), under);
    EnableWindow(under, FALSE);
    EXPECT_EQ(WindowFromPoint(pt), top);
    EXPECT_EQ(ChildWindowFromPointEx(top, {50, 50}, CWP_SKIPDISABLED | CWP_SKIPINVISIBLE), over);
    ShowWindow(over, SW_HIDE);
    EXPECT_EQ(ChildWindowFromPointEx(top, {50, 50}, CWP_SKIPDISABLED | CWP_SKIPINVISIBLE), top);
    EXPECT_EQ(ChildWindowFromPoint(top, {500, 50}), nullptr) << "outside the parent";
}

TEST_F(DisplayInput, DefaultHitTestOfTheClassicFrame) {
    HWND top = TopLevel({100, 100, 400, 300}, WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE);
    HWND dialog =
        TopLevel({500, 100, 700, 300}, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_DLGMODALFRAME);
    auto hit = [](HWND hwnd, int x, int y) {
        return static_cast<int>(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)));
    };
    EXPECT_EQ(hit(top, 250, 110), HTCAPTION);
    EXPECT_EQ(hit(top, 400 - 4 - 2 - 8, 104 + 2 + 7), HTCLOSE);
    EXPECT_EQ(hit(top, 400 - 4 - 2 - 16 - 2 - 8, 113), HTMAXBUTTON);
    EXPECT_EQ(hit(top, 400 - 4 - 2 - 16 - 2 - 16 - 8, 113), HTMINBUTTON);
    EXPECT_EQ(hit(top, 110, 110), HTSYSMENU);
    EXPECT_EQ(hit(top, 101, 101), HTTOPLEFT);
    EXPECT_EQ(hit(top, 101, 200), HTLEFT);
    EXPECT_EQ(hit(top, 398, 298), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(top, 250, 299), HTBOTTOM);
    EXPECT_EQ(hit(top, 200, 200), HTCLIENT);
    EXPECT_EQ(hit(top, 400 - 4 - 8, 200), HTVSCROLL);
    EXPECT_EQ(hit(top, 99, 200), HTNOWHERE);
    EXPECT_EQ(hit(dialog, 501, 200), HTBORDER) << "a fixed frame does not size";
    EXPECT_EQ(hit(dialog, 510, 110), HTCAPTION) << "no system icon with a modal frame";
}

TEST_F(DisplayInput, SetCursorAndContextMenuDefaults) {
    HWND top = TopLevel({100, 100, 400, 300});
    HWND child = Child(top, {10, 10, 110, 60}, 1);
    log.Name(top, "top");
    log.Name(child, "child");
    SetCursor(nullptr);
    Pump();
    DisplayInjectMouse(WM_MOUSEMOVE, ToScreen(child, {5, 5}));
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "the class cursor";
    DisplayInjectMouse(WM_MOUSEMOVE, {101, 200});
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));

    log.Clear();
    Click(child, {5, 6}, WM_RBUTTONDOWN);
    Pump();
    EXPECT_THAT(log.Sequence({WM_RBUTTONUP, WM_CONTEXTMENU}),
                ElementsAre("child:WM_RBUTTONUP", "child:WM_CONTEXTMENU", "top:WM_CONTEXTMENU"));
    POINT screen = ToScreen(child, {5, 6});
    EXPECT_EQ(log.Of(WM_CONTEXTMENU)[1].lParam, MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(log.Of(WM_CONTEXTMENU)[1].wParam, reinterpret_cast<WPARAM>(child));

    // The wheel goes to the focus window and climbs to its parent by default.
    SetFocus(child);
    log.Clear();
    DisplayInjectMouse(WM_MOUSEWHEEL, {700, 700}, -WHEEL_DELTA);
    Pump();
    auto wheel = log.Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_EQ(wheel[0].hwnd, child);
    EXPECT_EQ(wheel[1].hwnd, top);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -WHEEL_DELTA);
}

TEST_F(DisplayInput, MouseLeaveIsPostedWhenTheMouseGoes) {
    HWND top = TopLevel({100, 100, 400, 300});
    HWND child = Child(top, {10, 10, 110, 60}, 1);
    DisplayInjectMouse(WM_MOUSEMOVE, ToScreen(child, {5, 5}));
    Pump();
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, child, HOVER_DEFAULT};
    EXPECT_TRUE(TrackMouseEvent(&tme));
    log.Clear();
    DisplayInjectMouse(WM_MOUSEMOVE, ToScreen(child, {6, 5}));
    Pump();
    EXPECT_EQ(log.Count(WM_MOUSELEAVE), 0);
    DisplayInjectMouse(WM_MOUSEMOVE, ToScreen(top, {250, 150}));
    Pump();
    ASSERT_EQ(log.Count(WM_MOUSELEAVE), 1);
    EXPECT_EQ(log.Of(WM_MOUSELEAVE)[0].hwnd, child);
}

TEST_F(DisplayInput, KeyboardTables) {
    EXPECT_EQ(MapVirtualKeyW('A', MAPVK_VK_TO_VSC), 0x1Eu);
    EXPECT_EQ(MapVirtualKeyW(0x1E, MAPVK_VSC_TO_VK), static_cast<UINT>('A'));
    EXPECT_EQ(MapVirtualKeyW(0x2A, MAPVK_VSC_TO_VK), static_cast<UINT>(VK_SHIFT));
    EXPECT_EQ(MapVirtualKeyW(0x2A, MAPVK_VSC_TO_VK_EX), static_cast<UINT>(VK_LSHIFT));
    EXPECT_EQ(MapVirtualKeyW(VK_OEM_1, MAPVK_VK_TO_CHAR), static_cast<UINT>(';'));
    EXPECT_EQ(VkKeyScanW(u'?'), static_cast<SHORT>(VK_OEM_2 | 0x100));
    char16_t name[32]{};
    GetKeyNameTextW(0x011C0001, name, 32);
    EXPECT_EQ(std::u16string(name), u"Enter");
}

} // namespace
