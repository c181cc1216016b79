// The progress bar: positions clamped to the range, steps wrapping, the answers of the setters, the fill.
#include "ControlsTestSupport.h"

#include "platform/controls/CommonControls.h"

using namespace controlstest;

namespace {

class ProgressTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterProgressClass();
        bar = Make(PROGRESS_CLASSW, u"", 0, RECT{10, 10, 210, 30}, 5);
    }
    int Pos() { return static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)); }
    HWND bar = nullptr;
};

TEST_F(ProgressTest, PositionsAreClampedAndSettersAnswerThePrevious) {
    EXPECT_EQ(SendMessageW(bar, PBM_SETRANGE32, 0, 200), MAKELONG(0, 100));
    struct Step {
        UINT msg;
        WPARAM wParam;
        int answer;
        int pos;
    } steps[] = {
        {PBM_SETPOS, 50, 0, 50},
        {PBM_SETPOS, 250, 50, 200},
        {PBM_DELTAPOS, static_cast<WPARAM>(-500), 200, 0},
        {PBM_DELTAPOS, 30, 0, 30},
        {PBM_SETPOS, static_cast<WPARAM>(-3), 30, 0},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(SendMessageW(bar, s.msg, s.wParam, 0), s.answer)
            << s.msg << " " << static_cast<int>(s.wParam);
        EXPECT_EQ(Pos(), s.pos);
    }
    PBRANGE range{};
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 0);
    EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 200);
    EXPECT_EQ(range.iHigh, 200);

    // A narrower range pulls the position in.
    SendMessageW(bar, PBM_SETPOS, 150, 0);
    SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(10, 40));
    EXPECT_EQ(Pos(), 40);
}

TEST_F(ProgressTest, StepItWrapsPastTheEnd) {
    EXPECT_EQ(SendMessageW(bar, PBM_SETSTEP, 30, 0), 10);
    SendMessageW(bar, PBM_SETPOS, 80, 0);
    EXPECT_EQ(SendMessageW(bar, PBM_STEPIT, 0, 0), 80);
    EXPECT_EQ(Pos(), 10); // 110 starts over from the beginning
    SendMessageW(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(Pos(), 40);
}

TEST_F(ProgressTest, SmoothBarFillsItsShareInTheBarColour) {
    DestroyWindow(bar);
    bar = Make(PROGRESS_CLASSW, u"", PBS_SMOOTH, RECT{10, 10, 210, 30}, 5);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(bar, PBM_SETBARCOLOR, 0, RGB(255, 0, 0))), CLR_DEFAULT);
    SendMessageW(bar, PBM_SETBKCOLOR, 0, RGB(0, 0, 255));
    SendMessageW(bar, PBM_SETPOS, 50, 0);
    UpdateWindow(bar);
    RECT rc{};
    GetClientRect(bar, &rc);
    int y = rc.bottom / 2;
    EXPECT_EQ(DisplayGetPixel(bar, rc.right / 4, y), RGB(255, 0, 0));
    EXPECT_EQ(DisplayGetPixel(bar, rc.right * 3 / 4, y), RGB(0, 0, 255));
}

TEST_F(ProgressTest, VerticalBarFillsFromTheBottom) {
    DestroyWindow(bar);
    bar = Make(PROGRESS_CLASSW, u"", PBS_SMOOTH | PBS_VERTICAL, RECT{10, 10, 30, 210}, 5);
    SendMessageW(bar, PBM_SETBARCOLOR, 0, RGB(0, 255, 0));
    SendMessageW(bar, PBM_SETBKCOLOR, 0, RGB(0, 0, 0));
    SendMessageW(bar, PBM_SETPOS, 25, 0);
    UpdateWindow(bar);
    RECT rc{};
    GetClientRect(bar, &rc);
    EXPECT_EQ(DisplayGetPixel(bar, rc.right / 2, rc.bottom - 5), RGB(0, 255, 0));
    EXPECT_EQ(DisplayGetPixel(bar, rc.right / 2, rc.bottom / 2), RGB(0, 0, 0));
}

} // namespace
