// The scroll-bar control: its scroll information through the SBM messages and SetScrollInfo(SB_CTL), and the
// notifications a click sends with the control's handle.
#include "ControlsTestSupport.h"

#include "platform/controls/CommonControls.h"

using namespace controlstest;

namespace {

class ScrollBarControlTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterScrollBarClass();
        parentHook = [this](UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
                seen.push_back({msg, LOWORD(wParam), reinterpret_cast<HWND>(lParam)});
                return 0;
            }
            return std::nullopt;
        };
    }
    struct Seen {
        UINT msg;
        int code;
        HWND from;
    };
    std::vector<Seen> seen;
};

TEST_F(ScrollBarControlTest, ScrollInfoIsClampedAndReadBack) {
    HWND bar = Make(WC_SCROLLBARW, u"", SBS_VERT, RECT{10, 10, 26, 210}, 7);
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0};
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &si, TRUE), 90); // 99 - (10 - 1)
    SCROLLINFO out{sizeof out, SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(bar, SB_CTL, &out));
    EXPECT_EQ(out.nMin, 0);
    EXPECT_EQ(out.nMax, 99);
    EXPECT_EQ(out.nPage, 10u);
    EXPECT_EQ(out.nPos, 90);
    EXPECT_EQ(SendMessageW(bar, SBM_SETPOS, 20, TRUE), 90);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 20);
    int lo = -1, hi = -1;
    SendMessageW(bar, SBM_SETRANGE, 5, 15);
    SendMessageW(bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, 5);
    EXPECT_EQ(hi, 15);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 6); // clamped by the page of 10
    EXPECT_TRUE(SendMessageW(bar, SBM_ENABLE_ARROWS, ESB_DISABLE_UP, 0));
    EXPECT_FALSE(SendMessageW(bar, SBM_ENABLE_ARROWS, ESB_DISABLE_UP, 0));
}

TEST_F(ScrollBarControlTest, ClickOnAnArrowNotifiesWithTheControl) {
    HWND bar = Make(WC_SCROLLBARW, u"", SBS_HORZ, RECT{10, 10, 210, 26}, 7);
    SetScrollRange(bar, SB_CTL, 0, 100, TRUE);
    // Both halves of the click are queued first: the press runs the bar's capture loop until the release.
    POINT pt = ToScreen(bar, POINT{196, 8}); // the right arrow
    DisplayInjectMouse(WM_MOUSEMOVE, pt);
    DisplayInjectMouse(WM_LBUTTONDOWN, pt);
    DisplayInjectMouse(WM_LBUTTONUP, pt);
    Pump();
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().msg, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(seen.front().code, SB_LINERIGHT);
    EXPECT_EQ(seen.front().from, bar);
    EXPECT_EQ(seen.back().code, SB_ENDSCROLL);
}

TEST_F(ScrollBarControlTest, SizeBoxAnswersTheSizingHitCode) {
    HWND box = Make(WC_SCROLLBARW, u"", SBS_SIZEBOX | SBS_SIZEGRIP, RECT{10, 10, 26, 26}, 8);
    RECT rc{};
    GetWindowRect(box, &rc);
    EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(rc.left + 4, rc.top + 4)), HTBOTTOMRIGHT);
}

} // namespace
