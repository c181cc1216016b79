// Update regions, WM_PAINT and its companions, scrolling window contents, and pixels on the surfaces.
#include "DisplayTestSupport.h"

#include "platform/gdi/Gdi.h"

#include "support/TestSupport.h"

#include <cairo.h>

using namespace displaytest;
using ::testing::ElementsAre;

namespace {

class DisplayPainting : public DisplayTest {
protected:
    static RECT UpdateRect(HWND hwnd) {
        RECT rc{};
        GetUpdateRect(hwnd, &rc, FALSE);
        return rc;
    }
};

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(DisplayPainting, UpdateRegionsAccumulateAndValidate) {
    HWND top = TopLevel({0, 0, 300, 200}, WS_POPUP | WS_VISIBLE);
    Pump();
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
    RECT a{10, 10, 50, 50};
    RECT b{100, 20, 120, 40};
    InvalidateRect(top, &a, FALSE);
    InvalidateRect(top, &b, FALSE);
    EXPECT_TRUE(GetUpdateRect(top, nullptr, FALSE));
    EXPECT_TRUE(Same(UpdateRect(top), RECT{10, 10, 120, 50}));
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(rgn, 60, 30)) << "the region is the two rectangles, not their bounds";
    RECT part{0, 0, 50, 30};
    ValidateRect(top, &part);
    EXPECT_TRUE(Same(UpdateRect(top), RECT{10, 20, 120, 50}));
    ValidateRect(top, &b);
    EXPECT_EQ(GetUpdateRgn(top, rgn, FALSE), SIMPLEREGION);
    EXPECT_TRUE(Same(UpdateRect(top), RECT{10, 30, 50, 50}));
    RECT outside{-50, -50, 500, 500};
    InvalidateRect(top, &outside, FALSE);
    EXPECT_TRUE(Same(UpdateRect(top), RECT{0, 0, 300, 200})) << "clipped to the client area";
    ValidateRect(top, nullptr);
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
    DeleteObject(rgn);

    // A hidden window keeps no update region.
    ShowWindow(top, SW_HIDE);
    InvalidateRect(top, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
}

TEST_F(DisplayPainting, InvalidatingAParentReachesChildrenUnlessItClipsThem) {
    HWND top = TopLevel({0, 0, 300, 200}, WS_POPUP | WS_VISIBLE);
    HWND child = Child(top, {50, 50, 100, 100}, 1);
    HWND clipping = TopLevel({0, 0, 300, 200}, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND clipped = Child(clipping, {50, 50, 100, 100}, 1);
    Pump();
    RECT rc{60, 60, 200, 200};
    InvalidateRect(top, &rc, FALSE);
    InvalidateRect(clipping, &rc, FALSE);
    EXPECT_TRUE(Same(UpdateRect(child), RECT{10, 10, 50, 50}));
    EXPECT_FALSE(GetUpdateRect(clipped, nullptr, FALSE));
    RedrawWindow(clipping, &rc, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    EXPECT_TRUE(GetUpdateRect(clipped, nullptr, FALSE));
    RedrawWindow(top, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(child, nullptr, FALSE));
}

TEST_F(DisplayPainting, BeginPaintSendsFrameThenEraseAndValidates) {
    HWND plain = TopLevel({0, 0, 200, 150}, WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 0, Class(0, nullptr));
    HWND brushed = TopLevel({0, 0, 200, 150}, WS_POPUP | WS_VISIBLE, 0,
                            Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    Pump();
    PAINTSTRUCT seen{};
    log.SetBehaviour([&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps{};
            BeginPaint(hwnd, &ps);
            seen = ps;
            EndPaint(hwnd, &ps);
            return 0;
        }
        return std::nullopt;
    });
    RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    log.Clear();
    Pump();
    EXPECT_THAT(log.Sequence({WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}),
                ElementsAre("?:WM_PAINT", "?:WM_NCPAINT", "?:WM_ERASEBKGND"));
    // A rectangle inside the client area leaves the frame alone.
    RECT rc{5, 6, 20, 30};
    RedrawWindow(plain, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    log.Clear();
    Pump();
    EXPECT_THAT(log.Sequence({WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}),
                ElementsAre("?:WM_PAINT", "?:WM_ERASEBKGND"));
    EXPECT_TRUE(Same(seen.rcPaint, rc));
    EXPECT_TRUE(seen.fErase) << "no class brush: the background is still to be erased";
    EXPECT_FALSE(GetUpdateRect(plain, nullptr, FALSE));

    InvalidateRect(brushed, nullptr, TRUE);
    Pump();
    EXPECT_FALSE(seen.fErase) << "the class brush erased it";
    EXPECT_EQ(DisplayGetPixel(brushed, 10, 10), GetSysColor(COLOR_WINDOW));

    // Without the erase flag there is no WM_ERASEBKGND.
    InvalidateRect(brushed, nullptr, FALSE);
    log.Clear();
    Pump();
    EXPECT_EQ(log.Count(WM_ERASEBKGND), 0);
}

TEST_F(DisplayPainting, UpdateWindowPaintsNowParentsFirst) {
    HWND top = TopLevel({0, 0, 200, 150}, WS_POPUP | WS_VISIBLE);
    HWND child = Child(top, {10, 10, 50, 50}, 1);
    log.Name(top, "top");
    log.Name(child, "child");
    Pump();
    log.Clear();
    UpdateWindow(top);
    EXPECT_EQ(log.Count(WM_PAINT), 0) << "nothing to paint";
    InvalidateRect(top, nullptr, TRUE);
    UpdateWindow(top);
    EXPECT_THAT(log.Sequence({WM_PAINT}), ElementsAre("top:WM_PAINT", "child:WM_PAINT"));
    MSG msg{};
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));

    log.Clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INTERNALPAINT | RDW_UPDATENOW | RDW_NOCHILDREN);
    EXPECT_THAT(log.Sequence({WM_PAINT}), ElementsAre("top:WM_PAINT")) << "an internal paint with no region";

    log.Clear();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_NOCHILDREN);
    EXPECT_EQ(log.Count(WM_ERASEBKGND), 1);
    EXPECT_EQ(log.Count(WM_PAINT), 0);
    EXPECT_TRUE(GetUpdateRect(top, nullptr, FALSE)) << "erasing does not validate";
}

TEST_F(DisplayPainting, GrowingKeepsOldPixelsUnlessTheClassRedrawsEverything) {
    HWND keep = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE, 0, Class(0));
    HWND redraw = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE, 0, Class(CS_HREDRAW | CS_VREDRAW));
    Pump();
    SetWindowPos(keep, nullptr, 0, 0, 150, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(redraw, nullptr, 0, 0, 150, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Same(UpdateRect(keep), RECT{100, 0, 150, 100}));
    EXPECT_TRUE(Same(UpdateRect(redraw), RECT{0, 0, 150, 100}));
}

TEST_F(DisplayPainting, ScrollWindowExMovesPixelsTheUpdateRegionAndChildren) {
    HWND top = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE);
    HWND child = Child(top, {10, 60, 30, 80}, 1);
    log.Name(child, "child");
    Pump();
    HDC dc = GetDC(top);
    for (int y = 0; y < 100; ++y) {
        HBRUSH brush = CreateSolidBrush(RGB(y, 255 - y, 0));
        RECT row{0, y, 100, y + 1};
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }
    ReleaseDC(top, dc);
    RECT pending{40, 50, 50, 60};
    InvalidateRect(top, &pending, FALSE);
    log.Clear();
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    RECT band{};
    int kind = ScrollWindowEx(top, 0, -10, nullptr, nullptr, rgn, &band,
                              SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    EXPECT_EQ(kind, SIMPLEREGION);
    EXPECT_TRUE(Same(band, RECT{0, 90, 100, 100}));
    RECT box{};
    GetRgnBox(rgn, &box);
    EXPECT_TRUE(Same(box, band));
    DeleteObject(rgn);
    EXPECT_EQ(DisplayGetPixel(top, 90, 20), RGB(30, 225, 0)) << "row 30 is now at row 20";
    EXPECT_EQ(DisplayGetPixel(top, 90, 89), RGB(99, 156, 0));
    // The pending area moved up with the pixels; the uncovered band joined it.
    HRGN upd = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(top, upd, FALSE);
    EXPECT_TRUE(PtInRegion(upd, 45, 45));
    EXPECT_FALSE(PtInRegion(upd, 45, 55));
    EXPECT_TRUE(PtInRegion(upd, 5, 95));
    DeleteObject(upd);
    // The child moved along.
    RECT crc{};
    GetWindowRect(child, &crc);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&crc), 2);
    EXPECT_TRUE(Same(crc, RECT{10, 50, 30, 70}));
    ASSERT_EQ(log.Count(WM_MOVE), 1);
    EXPECT_EQ(log.Of(WM_MOVE)[0].lParam, MAKELPARAM(10, 50));

    // A scroll and clip rectangle: only pixels inside move; only the band inside the clip is invalid.
    ValidateRect(top, nullptr);
    RECT scroll{0, 0, 50, 100};
    RECT clip{0, 0, 50, 50};
    ScrollWindowEx(top, 5, 0, &scroll, &clip, nullptr, &band, SW_INVALIDATE);
    EXPECT_TRUE(Same(band, RECT{0, 0, 5, 50}));
}

TEST_F(DisplayPainting, BackgroundsFramesAndEdgesOnTheSurface) {
    HWND top = TopLevel({0, 0, 200, 150}, WS_POPUP | WS_VISIBLE, 0,
                        Class(0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    HWND edged = Child(top, {10, 10, 90, 60}, 1, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE,
                       Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    HWND bordered = Child(top, {100, 10, 180, 60}, 2, WS_CHILD | WS_VISIBLE | WS_BORDER, 0,
                          Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    UpdateWindow(top);
    EXPECT_EQ(DisplayGetPixel(top, 5, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(DisplayGetPixel(edged, 10, 10), GetSysColor(COLOR_WINDOW));
    // The sunken client edge: shadow then dark shadow at the top left, highlight then light at the bottom
    // right.
    EXPECT_EQ(DisplayGetPixel(top, 10, 30), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(DisplayGetPixel(top, 11, 30), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(DisplayGetPixel(top, 89, 30), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(DisplayGetPixel(top, 88, 30), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(DisplayGetPixel(top, 50, 10), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(DisplayGetPixel(top, 50, 59), GetSysColor(COLOR_3DHILIGHT));
    EXPECT_EQ(DisplayGetPixel(top, 12, 12), GetSysColor(COLOR_WINDOW));
    RECT client{};
    GetClientRect(edged, &client);
    EXPECT_EQ(client.right, 76);
    // WS_BORDER is one line of the window-frame colour.
    EXPECT_EQ(DisplayGetPixel(top, 100, 30), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(DisplayGetPixel(top, 101, 30), GetSysColor(COLOR_WINDOW));
    (void)bordered;
}

TEST_F(DisplayPainting, CaptionColourFollowsActivationAndRendersToPng) {
    HWND a = TopLevel({0, 0, 200, 120}, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                      Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    UpdateWindow(a);
    POINT origin{};
    cairo_surface_t* surface = DisplayWindowSurface(a, &origin);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(cairo_image_surface_get_width(surface), 200);
    EXPECT_EQ(origin.x, 4);
    EXPECT_EQ(origin.y, 4 + 19);
    // A caption pixel, in window coordinates (client origin minus the caption).
    EXPECT_EQ(DisplayGetPixel(a, 60, -10), GetSysColor(COLOR_ACTIVECAPTION));
    HWND b = TopLevel({300, 0, 500, 120});
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(DisplayGetPixel(a, 60, -10), GetSysColor(COLOR_INACTIVECAPTION));

    std::string path = (testsupport::ScratchDir() / "window.png").string();
    ASSERT_TRUE(DisplayRenderWindowToPng(a, path.c_str()));
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 200);
    EXPECT_EQ(cairo_image_surface_get_height(png), 120);
    cairo_surface_destroy(png);
}

TEST_F(DisplayPainting, ADcKeptAcrossCallsFollowsTheWindow) {
    HWND top = TopLevel({0, 0, 200, 200}, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                        Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    HWND child = Child(top, {10, 10, 50, 50}, 1, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                       Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    UpdateWindow(top);
    HDC kept = GetDC(child);
    MoveWindow(child, 10, 10, 100, 100, TRUE);
    UpdateWindow(top);
    RECT all{0, 0, 100, 100};
    FillRect(kept, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(DisplayGetPixel(child, 80, 80), RGB(0, 0, 0)) << "the grown part is drawn";
    EXPECT_EQ(DisplayGetPixel(top, 150, 150), RGB(255, 255, 255)) << "nothing outside the child";
    // A sibling placed over it clips it from then on.
    HWND cover = Child(top, {60, 60, 90, 90}, 2, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                       Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    UpdateWindow(top);
    FillRect(kept, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(DisplayGetPixel(cover, 5, 5), RGB(255, 255, 255));
    ReleaseDC(child, kept);
}

TEST_F(DisplayPainting, CaretInvertsAndBlinks) {
    HWND top = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE, 0,
                        Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    UpdateWindow(top);
    ASSERT_TRUE(CreateCaret(top, nullptr, 2, 10));
    SetCaretPos(5, 5);
    EXPECT_EQ(DisplayGetPixel(top, 5, 5), RGB(255, 255, 255)) << "a new caret is hidden";
    ShowCaret(top);
    EXPECT_EQ(DisplayGetPixel(top, 5, 5), RGB(0, 0, 0));
    EXPECT_EQ(DisplayGetPixel(top, 7, 5), RGB(255, 255, 255));
    DisplayAdvanceTestClock(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(DisplayGetPixel(top, 5, 5), RGB(255, 255, 255)) << "blinked off";
    DisplayAdvanceTestClock(GetCaretBlinkTime());
    Pump();
    EXPECT_EQ(DisplayGetPixel(top, 5, 5), RGB(0, 0, 0));
    // Painting under the caret does not leave it inverted twice.
    InvalidateRect(top, nullptr, TRUE);
    UpdateWindow(top);
    EXPECT_EQ(DisplayGetPixel(top, 5, 5), RGB(0, 0, 0));
    HideCaret(top);
    EXPECT_EQ(DisplayGetPixel(top, 5, 5), RGB(255, 255, 255));
    POINT pt{};
    GetCaretPos(&pt);
    EXPECT_EQ(pt.x, 5);
    DestroyCaret();
    EXPECT_FALSE(GetCaretPos(&pt));
}

TEST_F(DisplayPainting, SetRedrawFalseSuspendsPaintingAndLockedWindowsDrawNothing) {
    HWND top = TopLevel({0, 0, 100, 100}, WS_POPUP | WS_VISIBLE, 0,
                        Class(0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    UpdateWindow(top);
    SendMessageW(top, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(top, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
    SendMessageW(top, WM_SETREDRAW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(top));

    LockWindowUpdate(top);
    HDC dc = GetDC(top);
    RECT rc{0, 0, 10, 10};
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(top, dc);
    EXPECT_EQ(DisplayGetPixel(top, 1, 1), RGB(255, 255, 255));
    LockWindowUpdate(nullptr);
    EXPECT_TRUE(GetUpdateRect(top, nullptr, FALSE)) << "unlocking invalidates";
}

} // namespace
