// The up-down control: UDN_DELTAPOS decides, the buddy shows and supplies the integer, limits and wrapping,
// auto-repeat while held.
#include "ControlsTestSupport.h"

#include "platform/controls/CommonControls.h"

using namespace controlstest;

namespace {

class UpDownTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterUpDownClass();
        parentHook = [this](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_NOTIFY) {
                auto* nm = reinterpret_cast<NMUPDOWN*>(lParam);
                if (nm->hdr.code == UDN_DELTAPOS) {
                    asked.push_back({nm->iPos, nm->iDelta});
                    if (newDelta) {
                        nm->iDelta = *newDelta;
                    }
                    return cancel ? 1 : 0;
                }
            }
            return std::nullopt;
        };
    }

    // An edit and its up-down (created right after it, so UDS_AUTOBUDDY takes it).
    void MakePair(DWORD extraStyle) {
        edit = Make(u"Edit", u"", WS_BORDER, RECT{10, 10, 110, 34}, 10);
        updown = Make(UPDOWN_CLASSW, u"", UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | extraStyle,
                      RECT{0, 0, 16, 24}, 11);
    }

    void ClickArrow(bool up) {
        RECT rc{};
        GetClientRect(updown, &rc);
        Click(updown, POINT{rc.right / 2, up ? rc.bottom / 4 : rc.bottom * 3 / 4});
    }

    struct Asked {
        int pos;
        int delta;
    };
    std::vector<Asked> asked;
    bool cancel = false;
    std::optional<int> newDelta;
    HWND edit = nullptr;
    HWND updown = nullptr;
};

// Records WM_VSCROLL codes and positions through a second hook layer.
struct ScrollSpy {
    std::vector<std::pair<int, int>> seen; // (code, position)
    HWND from = nullptr;
};

TEST_F(UpDownTest, DeltaPosAcceptedMovesAndReportsCancelledKeepsPosition) {
    MakePair(0);
    ScrollSpy spy;
    auto base = parentHook;
    parentHook = [&](UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_VSCROLL) {
            spy.seen.emplace_back(LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
            spy.from = reinterpret_cast<HWND>(lParam);
            return 0;
        }
        return base(msg, wParam, lParam);
    };
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), edit);
    SendMessageW(updown, UDM_SETRANGE32, 0, 10);
    SendMessageW(updown, UDM_SETPOS32, 0, 5);
    EXPECT_EQ(Text(edit), u"5");

    ClickArrow(true);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].pos, 5);
    EXPECT_EQ(asked[0].delta, 1);
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 6);
    EXPECT_EQ(Text(edit), u"6");
    ASSERT_GE(spy.seen.size(), 2u);
    EXPECT_EQ(spy.seen[0], std::make_pair(static_cast<int>(SB_THUMBPOSITION), 6));
    EXPECT_EQ(spy.seen.back().first, SB_ENDSCROLL);
    EXPECT_EQ(spy.from, updown);

    cancel = true;
    spy.seen.clear();
    ClickArrow(false);
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 6);
    EXPECT_EQ(Text(edit), u"6");
    for (const auto& seen : spy.seen) {
        EXPECT_NE(seen.first, SB_THUMBPOSITION);
    }

    // The parent may change the step.
    cancel = false;
    newDelta = -4;
    ClickArrow(false);
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 2);
}

TEST_F(UpDownTest, BuddyIntegerIsReadBackWithSeparatorsAndErrors) {
    MakePair(0);
    SendMessageW(updown, UDM_SETRANGE32, 0, 5000);
    SendMessageW(updown, UDM_SETPOS32, 0, 2500);
    EXPECT_EQ(Text(edit), u"2,500");

    SetWindowTextW(edit, u"1,234");
    LRESULT pos = SendMessageW(updown, UDM_GETPOS, 0, 0);
    EXPECT_EQ(LOWORD(pos), 1234);
    EXPECT_EQ(HIWORD(pos), 0);

    SetWindowTextW(edit, u"12x");
    BOOL error = FALSE;
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 1234);
    EXPECT_TRUE(error);
    EXPECT_NE(HIWORD(SendMessageW(updown, UDM_GETPOS, 0, 0)), 0);

    // A typed value is where the next step starts from.
    SetWindowTextW(edit, u"40");
    ClickArrow(true);
    EXPECT_EQ(Text(edit), u"41");
}

TEST_F(UpDownTest, NoThousandsAndHexBase) {
    MakePair(UDS_NOTHOUSANDS);
    SendMessageW(updown, UDM_SETRANGE32, 0, 100000);
    SendMessageW(updown, UDM_SETPOS32, 0, 12345);
    EXPECT_EQ(Text(edit), u"12345");
    EXPECT_EQ(SendMessageW(updown, UDM_SETBASE, 16, 0), 10);
    EXPECT_EQ(Text(edit), u"0x3039");
    EXPECT_EQ(SendMessageW(updown, UDM_SETBASE, 7, 0), 0);
}

TEST_F(UpDownTest, LimitsClampOrWrap) {
    struct Case {
        DWORD style;
        int start;
        bool up;
        int expected;
    } cases[] = {
        {0, 10, true, 10},
        {0, 0, false, 0},
        {UDS_WRAP, 10, true, 0},
        {UDS_WRAP, 0, false, 10},
    };
    for (const Case& c : cases) {
        MakePair(c.style);
        SendMessageW(updown, UDM_SETRANGE32, 0, 10);
        SendMessageW(updown, UDM_SETPOS32, 0, c.start);
        ClickArrow(c.up);
        EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), c.expected) << c.style << " " << c.start;
        DestroyWindow(updown);
        DestroyWindow(edit);
    }
    // Positions set from outside are clamped too, and the old packed range reads back.
    MakePair(0);
    SendMessageW(updown, UDM_SETRANGE, 0, MAKELPARAM(20, 10));
    EXPECT_EQ(SendMessageW(updown, UDM_GETRANGE, 0, 0), MAKELONG(20, 10));
    SendMessageW(updown, UDM_SETPOS, 0, 99);
    EXPECT_EQ(LOWORD(SendMessageW(updown, UDM_GETPOS, 0, 0)), 20);
}

TEST_F(UpDownTest, InvertedRangeUpArrowMovesTowardTheUpperValue) {
    MakePair(0);
    SendMessageW(updown, UDM_SETRANGE32, 10, 0); // lower 10, upper 0
    SendMessageW(updown, UDM_SETPOS32, 0, 5);
    ClickArrow(true);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back().delta, -1);
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 4);
}

TEST_F(UpDownTest, HeldArrowRepeatsOnTimer) {
    MakePair(0);
    SendMessageW(updown, UDM_SETRANGE32, 0, 100);
    SendMessageW(updown, UDM_SETPOS32, 0, 0);
    RECT rc{};
    GetClientRect(updown, &rc);
    MouseDown(updown, POINT{rc.right / 2, rc.bottom / 4});
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 1);
    DisplayAdvanceTestClock(499);
    Pump();
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 1);
    DisplayAdvanceTestClock(1);
    Pump();
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 2);
    DisplayAdvanceTestClock(100);
    Pump();
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 3);
    MouseUp(updown, POINT{rc.right / 2, rc.bottom / 4});
    DisplayAdvanceTestClock(1000);
    Pump();
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 3);
}

TEST_F(UpDownTest, AlignsToTheBuddyAndTakesArrowKeysFromIt) {
    MakePair(UDS_ARROWKEYS);
    RECT buddy{}, self{};
    GetWindowRect(edit, &buddy);
    GetWindowRect(updown, &self);
    EXPECT_EQ(self.top, buddy.top);
    EXPECT_EQ(self.bottom, buddy.bottom);
    EXPECT_EQ(self.left, buddy.right - 2); // overlapping the buddy's border
    SendMessageW(updown, UDM_SETRANGE32, 0, 10);
    SendMessageW(updown, UDM_SETPOS32, 0, 3);
    SetFocus(edit);
    Press(VK_UP);
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 4);
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS32, 0, 0), 2);
}

} // namespace
