// The standard scroll bars: state, showing and hiding, geometry and the mouse.
#include "DisplayTestSupport.h"

using namespace displaytest;
using ::testing::ElementsAre;

namespace {

class DisplayScrollBars : public DisplayTest {
protected:
    // A window that scrolls as an application does: each WM_VSCROLL moves the position.
    HWND Scroller() {
        HWND hwnd = TopLevel({100, 100, 300, 300}, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
        SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
        SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
        log.SetBehaviour([hwnd](HWND h, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (h != hwnd || msg != WM_VSCROLL) {
                return std::nullopt;
            }
            int pos = GetScrollPos(hwnd, SB_VERT);
            switch (LOWORD(wParam)) {
            case SB_LINEDOWN:
                pos += 1;
                break;
            case SB_LINEUP:
                pos -= 1;
                break;
            case SB_PAGEDOWN:
                pos += 10;
                break;
            case SB_PAGEUP:
                pos -= 10;
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION:
                pos = HIWORD(wParam);
                break;
            default:
                break;
            }
            SetScrollPos(hwnd, SB_VERT, pos, TRUE);
            return 0;
        });
        Pump();
        return hwnd;
    }

    // The codes of the WM_VSCROLL messages recorded, with the position for thumb codes.
    std::vector<std::string> Codes() const {
        std::vector<std::string> out;
        for (const Logged& e : log.Of(WM_VSCROLL)) {
            static const char* names[] = {"LINEUP",     "LINEDOWN", "PAGEUP", "PAGEDOWN", "THUMBPOSITION",
                                          "THUMBTRACK", "TOP",      "BOTTOM", "ENDSCROLL"};
            std::string s = names[LOWORD(e.wParam)];
            if (LOWORD(e.wParam) == SB_THUMBTRACK || LOWORD(e.wParam) == SB_THUMBPOSITION) {
                s += " " + std::to_string(HIWORD(e.wParam));
            }
            out.push_back(s);
        }
        return out;
    }

    static POINT BarPoint(HWND hwnd, int offsetFromTop) {
        RECT rc{};
        GetWindowRect(hwnd, &rc);
        return POINT{rc.right - 8, rc.top + offsetFromTop};
    }
};

TEST_F(DisplayScrollBars, SetScrollInfoClampsPageAndPosition) {
    HWND hwnd = TopLevel({0, 0, 200, 200}, WS_POPUP | WS_VISIBLE | WS_VSCROLL);
    struct Case {
        int min, max;
        UINT page;
        int pos;
        UINT wantPage;
        int wantPos;
    };
    const Case cases[] = {
        {0, 100, 10, 95, 10, 91},                       // the last page ends at max
        {0, 100, 0, 150, 0, 100},                       // no page: up to max
        {0, 100, 10, -5, 10, 0},  {0, 9, 50, 3, 10, 0}, // a page larger than the range shrinks to it
        {-20, 20, 5, 17, 5, 16},
    };
    for (const Case& c : cases) {
        SCROLLINFO si{sizeof si, SIF_ALL, c.min, c.max, c.page, c.pos, 0};
        EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &si, FALSE), c.wantPos) << c.min << ".." << c.max;
        SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
        ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &got));
        EXPECT_EQ(got.nPage, c.wantPage);
        EXPECT_EQ(got.nPos, c.wantPos);
    }
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_POS, 0, 50, 0, 20, 0};
    SetScrollInfo(hwnd, SB_VERT, &si, FALSE);
    EXPECT_EQ(SetScrollPos(hwnd, SB_VERT, 30, FALSE), 20);
    int lo = 0;
    int hi = 0;
    EXPECT_TRUE(GetScrollRange(hwnd, SB_VERT, &lo, &hi));
    EXPECT_EQ(hi, 50);
}

TEST_F(DisplayScrollBars, ShowingAndHidingChangesTheClientAreaWithWmSize) {
    HWND hwnd = TopLevel({0, 0, 200, 200}, WS_POPUP | WS_VISIBLE);
    log.Clear();
    ShowScrollBar(hwnd, SB_VERT, TRUE);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_VSCROLL);
    ASSERT_EQ(log.Count(WM_SIZE), 1);
    EXPECT_EQ(log.Of(WM_SIZE)[0].lParam, MAKELPARAM(184, 200));
    log.Clear();
    ShowScrollBar(hwnd, SB_VERT, TRUE);
    EXPECT_EQ(log.Count(WM_SIZE), 0) << "no change, no message";
    ShowScrollBar(hwnd, SB_BOTH, FALSE);
    EXPECT_EQ(log.Of(WM_SIZE).back().lParam, MAKELPARAM(200, 200));

    // A range that scrolls shows the bar; one that does not hides it, or disables it on request.
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 100, 20, 0, 0};
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL);
    si.nPage = 101;
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    EXPECT_FALSE(GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL);
    si.nPage = 20;
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    si.nPage = 101;
    si.fMask |= SIF_DISABLENOSCROLL;
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(DisplayScrollBars, GeometryOfAProportionalThumb) {
    RECT bar{0, 0, 16, 216};
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 99, 20, 0, 0};
    ScrollBarGeometry g{};
    ScrollBarCalcGeometry(&bar, TRUE, &si, 0, &g);
    ASSERT_TRUE(g.thumbShown);
    EXPECT_EQ(g.lineUp.bottom, 16);
    EXPECT_EQ(g.lineDown.top, 200);
    EXPECT_EQ(g.thumb.top, 16);
    EXPECT_EQ(g.thumb.bottom - g.thumb.top, 184 * 20 / 100);
    ScrollBarCalcGeometry(&bar, TRUE, &si, 80, &g);
    EXPECT_EQ(g.thumb.bottom, 200) << "the last position puts the thumb at the end";
    EXPECT_EQ(ScrollBarHitTest(&g, TRUE, POINT{8, 30}), SBP_PAGEUP);
    EXPECT_EQ(ScrollBarHitTest(&g, TRUE, POINT{8, 190}), SBP_THUMB);
    EXPECT_EQ(ScrollBarHitTest(&g, TRUE, POINT{8, 205}), SBP_LINEDOWN);
    EXPECT_EQ(ScrollBarPosFromThumb(&bar, TRUE, &si, 16 + (184 - 36) / 2), 40);
}

TEST_F(DisplayScrollBars, ArrowClickScrollsOnceAndEnds) {
    HWND hwnd = Scroller();
    log.Clear();
    POINT down = BarPoint(hwnd, 200 - 8);
    DisplayInjectMouse(WM_MOUSEMOVE, down);
    DisplayInjectMouse(WM_LBUTTONDOWN, down);
    DisplayInjectMouse(WM_LBUTTONUP, down);
    Pump();
    EXPECT_THAT(Codes(), ElementsAre("LINEDOWN", "ENDSCROLL"));
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 1);
    EXPECT_EQ(log.Of(WM_VSCROLL)[0].lParam, 0) << "a window's own bar has no control handle";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DisplayScrollBars, HeldArrowRepeatsOnTheTimer) {
    HWND hwnd = Scroller();
    log.Clear();
    POINT down = BarPoint(hwnd, 200 - 8);
    // The loop runs inside the press; a message filter moves time on and lets go of the button.
    static POINT release;
    release = down;
    static int timers = 0;
    timers = 0;
    HHOOK hook = SetWindowsHookExW(
        WH_MSGFILTER,
        [](int code, WPARAM, LPARAM lParam) -> LRESULT {
            auto* msg = reinterpret_cast<MSG*>(lParam);
            if (code != MSGF_SCROLLBAR) {
                return 0;
            }
            if (msg->message == WM_MOUSEMOVE) {
                DisplayAdvanceTestClock(200); // the first repeat is due
            } else if (msg->message == WM_SYSTIMER && ++timers == 1) {
                PostMessageW(msg->hwnd, WM_NULL, 0, 0); // wakes the loop once the timer is re-armed
            } else if (msg->message == WM_NULL) {
                DisplayAdvanceTestClock(50); // the next repeat is due
            } else if (msg->message == WM_SYSTIMER) {
                DisplayInjectMouse(WM_LBUTTONUP, release);
            }
            return 0;
        },
        nullptr, GetCurrentThreadId());
    DisplayInjectMouse(WM_MOUSEMOVE, down);
    DisplayInjectMouse(WM_LBUTTONDOWN, down);
    DisplayInjectMouse(WM_MOUSEMOVE, POINT{down.x, down.y + 1});
    Pump();
    UnhookWindowsHookEx(hook);
    EXPECT_THAT(Codes(), ElementsAre("LINEDOWN", "LINEDOWN", "LINEDOWN", "ENDSCROLL"));
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 3);
}

TEST_F(DisplayScrollBars, PageClickAndThumbDrag) {
    HWND hwnd = Scroller();
    log.Clear();
    POINT page = BarPoint(hwnd, 150);
    DisplayInjectMouse(WM_LBUTTONDOWN, page);
    DisplayInjectMouse(WM_LBUTTONUP, page);
    Pump();
    EXPECT_THAT(Codes(), ElementsAre("PAGEDOWN", "ENDSCROLL"));
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 10);

    // Track is 168 pixels, the thumb 168*10/101 = 16: (168 - 16) pixels cover positions 0..91.
    log.Clear();
    RECT bar{0, 0, 16, 200};
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd, SB_VERT, &si);
    ScrollBarGeometry g{};
    ScrollBarCalcGeometry(&bar, TRUE, &si, si.nPos, &g);
    POINT grab = BarPoint(hwnd, g.thumb.top + 2);
    DisplayInjectMouse(WM_LBUTTONDOWN, grab);
    DisplayInjectMouse(WM_MOUSEMOVE, POINT{grab.x, grab.y + 76});
    DisplayInjectMouse(WM_LBUTTONUP, POINT{grab.x, grab.y + 76});
    Pump();
    int expected = ScrollBarPosFromThumb(&bar, TRUE, &si, g.thumb.top + 76);
    EXPECT_THAT(Codes(), ElementsAre("THUMBTRACK " + std::to_string(expected),
                                     "THUMBPOSITION " + std::to_string(expected), "ENDSCROLL"));
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), expected);
}

TEST_F(DisplayScrollBars, DisabledArrowDoesNothing) {
    HWND hwnd = Scroller();
    EXPECT_TRUE(EnableScrollBar(hwnd, SB_VERT, ESB_DISABLE_DOWN));
    EXPECT_FALSE(EnableScrollBar(hwnd, SB_VERT, ESB_DISABLE_DOWN)) << "no change";
    log.Clear();
    POINT down = BarPoint(hwnd, 200 - 8);
    DisplayInjectMouse(WM_LBUTTONDOWN, down);
    DisplayInjectMouse(WM_LBUTTONUP, down);
    Pump();
    EXPECT_TRUE(Codes().empty());
}

} // namespace
