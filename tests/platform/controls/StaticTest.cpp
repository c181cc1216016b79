#include "ControlsTestSupport.h"

namespace controlstest {
namespace {

using StaticTest = ControlsTest;

TEST_F(StaticTest, FramesRectanglesAndEtchedLinesInTheClassicColours) {
    HWND black = Make(u"Static", u"", SS_BLACKFRAME, {10, 10, 50, 50}, 1);
    HWND gray = Make(u"Static", u"", SS_GRAYRECT, {60, 10, 100, 50}, 2);
    HWND etched = Make(u"Static", u"", SS_ETCHEDHORZ, {10, 60, 100, 62}, 3);
    HWND white = Make(u"Static", u"", SS_WHITEFRAME, {110, 10, 150, 50}, 4);
    UpdateWindow(parent);
    EXPECT_EQ(DisplayGetPixel(black, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(DisplayGetPixel(black, 39, 39), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(DisplayGetPixel(black, 20, 20), GetSysColor(COLOR_BTNFACE))
        << "a frame leaves the inside alone";
    EXPECT_EQ(DisplayGetPixel(gray, 20, 20), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(DisplayGetPixel(etched, 40, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(DisplayGetPixel(etched, 40, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(DisplayGetPixel(white, 0, 20), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(StaticTest, OnlySsNotifyTakesTheMouse) {
    HWND plain = Make(u"Static", u"label", SS_LEFT, {10, 10, 100, 30}, 1);
    HWND notify = Make(u"Static", u"", SS_BLACKFRAME | SS_NOTIFY, {10, 40, 100, 60}, 2);
    EXPECT_EQ(WindowFromPoint(ToScreen(plain, {5, 5})), parent);
    EXPECT_EQ(WindowFromPoint(ToScreen(notify, {5, 5})), notify);
    Click(notify, {5, 5});
    EXPECT_EQ(Codes(2), std::vector<UINT>{STN_CLICKED});
    EXPECT_EQ(SendMessageW(plain, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(StaticTest, TextAsksTheParentForColoursAndKeepsItsText) {
    HWND label = Make(u"Static", u"Hello", SS_LEFT, {10, 10, 200, 30}, 1);
    parentMessages.clear();
    SetWindowTextW(label, u"Changed");
    UpdateWindow(parent);
    EXPECT_EQ(Text(label), u"Changed");
    EXPECT_NE(std::find(parentMessages.begin(), parentMessages.end(), static_cast<UINT>(WM_CTLCOLORSTATIC)),
              parentMessages.end());
}

TEST_F(StaticTest, ImageMessagesAnswerThePreviousImage) {
    HWND icon = Make(u"Static", nullptr, SS_ICON, {10, 10, 42, 42}, 1);
    HICON first = LoadIconW(nullptr, IDI_APPLICATION);
    HICON second = LoadIconW(nullptr, IDI_WARNING);
    EXPECT_EQ(SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(first), 0), 0);
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    EXPECT_EQ(SendMessageW(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(second));
    EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, IMAGE_BITMAP, 0), 0) << "wrong kind for an icon static";
    UpdateWindow(parent);
}

} // namespace
} // namespace controlstest
