// Edges, frames and frame controls in the classic colours.
#include "tests/platform/gdi/GdiTestSupport.h"

#include "platform/gdi/SystemColors.h"

using namespace gditest;

namespace {
COLORREF Sys(int i) {
    return GetSysColor(i);
}
} // namespace

TEST(GdiUserDraw, RaisedEdgeHasTheClassicTwoPixelLayout) {
    Canvas c(10, 8);
    RECT r{0, 0, 10, 8};
    ASSERT_TRUE(DrawEdge(c.dc(), &r, EDGE_RAISED, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, (RECT{2, 2, 8, 6}));
    // Outer: light top-left, dark shadow bottom-right (which takes the corners it meets).
    EXPECT_EQ(c.At(0, 0), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(5, 0), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(0, 4), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(9, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(0, 7), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(9, 7), Sys(COLOR_3DDKSHADOW));
    // Inner: highlight top-left, shadow bottom-right.
    EXPECT_EQ(c.At(1, 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.At(8, 3), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(4, 6), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(4, 4), kWhite); // no middle asked for
}

TEST(GdiUserDraw, SunkenEtchedAndSingleEdges) {
    Canvas c(10, 10);
    RECT r{0, 0, 10, 10};
    DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(c.At(3, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(3, 9), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.At(3, 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(3, 8), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(5, 5), Sys(COLOR_BTNFACE));
    c.Clear(kWhite);
    DrawEdge(c.dc(), &r, EDGE_ETCHED, BF_RECT);
    EXPECT_EQ(c.At(3, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(3, 1), Sys(COLOR_BTNHIGHLIGHT));
    // One level alone sits on the boundary.
    c.Clear(kWhite);
    RECT thin = r;
    DrawEdge(c.dc(), &thin, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    EXPECT_EQ(thin, (RECT{1, 1, 9, 9}));
    EXPECT_EQ(c.At(3, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(3, 1), kWhite);
    // Some sides only.
    c.Clear(kWhite);
    RECT bottom = r;
    DrawEdge(c.dc(), &bottom, EDGE_RAISED, BF_BOTTOM | BF_ADJUST);
    EXPECT_EQ(bottom, (RECT{0, 0, 10, 8}));
    EXPECT_EQ(c.Ink(), (RECT{0, 8, 10, 10}));
}

TEST(GdiUserDraw, FlatAndMonoEdges) {
    Canvas c(10, 10);
    RECT r{0, 0, 10, 10};
    DrawEdge(c.dc(), &r, BDR_RAISEDINNER | BDR_SUNKENINNER, BF_RECT | BF_FLAT);
    EXPECT_EQ(c.At(0, 5), Sys(COLOR_BTNFACE));
    c.Clear(kWhite);
    DrawEdge(c.dc(), &r, BDR_RAISEDOUTER | BDR_SUNKENOUTER, BF_RECT | BF_MONO);
    EXPECT_EQ(c.At(0, 5), Sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(c.At(9, 5), Sys(COLOR_WINDOWFRAME));
}

TEST(GdiUserDraw, FrameRectAndSystemColourBrushes) {
    Canvas c(10, 10);
    RECT r{2, 2, 8, 7};
    HBRUSH red = CreateSolidBrush(kRed);
    FrameRect(c.dc(), &r, red);
    EXPECT_EQ(c.Ink(), r);
    EXPECT_EQ(c.Count(kRed), 2 * 6 + 2 * 3);
    DeleteObject(red);
    // COLOR_xxx + 1 stands for the system colour.
    c.Clear(kWhite);
    FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_HIGHLIGHT + 1)));
    EXPECT_EQ(c.At(2, 2), Sys(COLOR_HIGHLIGHT));
    EXPECT_FALSE(FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(0x7000001))));
}

TEST(GdiUserDraw, FrameControls) {
    Canvas c(40, 40);
    RECT r{0, 0, 16, 16};
    ASSERT_TRUE(DrawFrameControl(c.dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_EQ(c.At(15, 15), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(8, 8), Sys(COLOR_BTNFACE));
    // A checked box shows a tick in the window-text colour on the window colour.
    c.Clear(kGreen);
    RECT box{0, 0, 13, 13};
    DrawFrameControl(c.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(c.At(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(2, 2), Sys(COLOR_WINDOW));
    int ticked = c.Count(Sys(COLOR_WINDOWTEXT));
    c.Clear(kGreen);
    DrawFrameControl(c.dc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK);
    EXPECT_EQ(ticked - c.Count(Sys(COLOR_WINDOWTEXT)), 21); // the 7x7 tick
    // Radio buttons: round, with a dot when checked.
    c.Clear(kGreen);
    RECT radio{0, 0, 12, 12};
    DrawFrameControl(c.dc(), &radio, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(c.At(0, 0), kGreen);
    EXPECT_EQ(c.At(5, 5), Sys(COLOR_WINDOWTEXT));
    EXPECT_EQ(c.At(3, 3), Sys(COLOR_WINDOW));
    // Scroll arrows point their way.
    c.Clear(kGreen);
    RECT arrow{0, 0, 16, 16};
    DrawFrameControl(c.dc(), &arrow, DFC_SCROLL, DFCS_SCROLLUP);
    int topRow = 0;
    int bottomRow = 0;
    for (int x = 0; x < 16; ++x) {
        topRow += c.At(x, 6) == Sys(COLOR_BTNTEXT);
        bottomRow += c.At(x, 9) == Sys(COLOR_BTNTEXT);
    }
    EXPECT_LT(topRow, bottomRow);
    // Caption buttons and menu marks draw something.
    c.Clear(kGreen);
    RECT cap{0, 0, 16, 14};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &cap, DFC_CAPTION, DFCS_CAPTIONCLOSE));
    EXPECT_GT(c.Count(Sys(COLOR_BTNTEXT)), 8);
    c.Clear(kGreen);
    RECT mark{0, 0, 13, 13};
    EXPECT_TRUE(DrawFrameControl(c.dc(), &mark, DFC_MENU, DFCS_MENUCHECK));
    EXPECT_EQ(c.Count(kBlack), 21);
    EXPECT_FALSE(DrawFrameControl(c.dc(), &mark, 99, 0));
}
