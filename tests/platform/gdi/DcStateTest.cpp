// DC state: clipping, saved states, mapping modes, device capabilities.
#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;

TEST(GdiClip, IntersectAndExcludeNarrowWhatIsDrawnAndGetClipBoxReportsIt) {
    Canvas c(20, 20);
    RECT box{};
    EXPECT_EQ(GetClipBox(c.dc(), &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 20, 20}));
    EXPECT_EQ(IntersectClipRect(c.dc(), 2, 2, 12, 12), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(c.dc(), 5, 5, 8, 8), COMPLEXREGION);
    EXPECT_EQ(GetClipBox(c.dc(), &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{2, 2, 12, 12}));
    RECT all{0, 0, 20, 20};
    FillRect(c.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 12, 12}));
    EXPECT_EQ(c.At(6, 6), kWhite);
    EXPECT_EQ(c.Count(kBlack), 100 - 9);
    EXPECT_TRUE(PtVisible(c.dc(), 2, 2));
    EXPECT_FALSE(PtVisible(c.dc(), 6, 6));
    EXPECT_FALSE(PtVisible(c.dc(), 12, 2));
    RECT inHole{5, 5, 8, 8};
    EXPECT_FALSE(RectVisible(c.dc(), &inHole));
    RECT overlapping{0, 0, 3, 3};
    EXPECT_TRUE(RectVisible(c.dc(), &overlapping));

    // Clipping everything away leaves an empty box.
    EXPECT_EQ(IntersectClipRect(c.dc(), 30, 30, 40, 40), NULLREGION);
    EXPECT_EQ(GetClipBox(c.dc(), &box), NULLREGION);
    // A null region resets to the whole surface.
    EXPECT_EQ(SelectClipRgn(c.dc(), nullptr), SIMPLEREGION);
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box, (RECT{0, 0, 20, 20}));
}

TEST(GdiClip, ClipRegionsAreDeviceUnitsAndBoxesLogical) {
    Canvas c(20, 20);
    HRGN rgn = CreateRectRgn(4, 4, 10, 10);
    SelectClipRgn(c.dc(), rgn);
    OffsetRgn(rgn, 5, 5); // the DC kept a copy
    SetViewportOrgEx(c.dc(), 2, 2, nullptr);
    RECT box{};
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box, (RECT{2, 2, 8, 8}));
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.dc(), out), 1);
    RECT rb{};
    GetRgnBox(out, &rb);
    EXPECT_EQ(rb, (RECT{4, 4, 10, 10}));
    SelectClipRgn(c.dc(), nullptr);
    EXPECT_EQ(GetClipRgn(c.dc(), out), 0);
    // Combining modes.
    SetRectRgn(rgn, 0, 0, 5, 5);
    SelectClipRgn(c.dc(), rgn);
    SetRectRgn(rgn, 3, 3, 8, 8);
    EXPECT_EQ(ExtSelectClipRgn(c.dc(), rgn, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(ExtSelectClipRgn(c.dc(), nullptr, RGN_AND), ERROR);
    OffsetClipRgn(c.dc(), 1, 0);
    SetViewportOrgEx(c.dc(), 0, 0, nullptr);
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box, (RECT{1, 0, 9, 8}));
    DeleteObject(rgn);
    DeleteObject(out);
}

TEST(GdiClip, SelectingARegionObjectSetsTheClip) {
    Canvas c(10, 10);
    HRGN rgn = CreateRectRgn(0, 0, 3, 3);
    HGDIOBJ result = SelectObject(c.dc(), rgn);
    EXPECT_EQ(reinterpret_cast<intptr_t>(result), SIMPLEREGION);
    RECT box{};
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box, (RECT{0, 0, 3, 3}));
    DeleteObject(rgn);
}

TEST(GdiSaveDC, RestoreBringsBackClipObjectsAndAttributes) {
    Canvas c(20, 20);
    HPEN red = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ original = SelectObject(c.dc(), red);
    int level = SaveDC(c.dc());
    EXPECT_EQ(level, 1);
    IntersectClipRect(c.dc(), 0, 0, 5, 5);
    SetTextColor(c.dc(), kBlue);
    SetViewportOrgEx(c.dc(), 3, 3, nullptr);
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SaveDC(c.dc()), 2);
    SetMapMode(c.dc(), MM_ANISOTROPIC);
    SetBkMode(c.dc(), TRANSPARENT);
    // Back one level: the second save.
    ASSERT_TRUE(RestoreDC(c.dc(), -1));
    EXPECT_EQ(GetMapMode(c.dc()), MM_TEXT);
    EXPECT_EQ(GetBkMode(c.dc()), OPAQUE);
    EXPECT_EQ(GetTextColor(c.dc()), kBlue);
    // Back to level 1 by number.
    ASSERT_TRUE(RestoreDC(c.dc(), 1));
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), red);
    EXPECT_EQ(GetTextColor(c.dc()), kBlack);
    RECT box{};
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box, (RECT{0, 0, 20, 20}));
    POINT org{};
    GetViewportOrgEx(c.dc(), &org);
    EXPECT_EQ(org.x, 0);
    // No saved state is left.
    EXPECT_FALSE(RestoreDC(c.dc(), -1));
    EXPECT_FALSE(RestoreDC(c.dc(), 1));
    SelectObject(c.dc(), original);
    EXPECT_TRUE(DeleteObject(red));
}

TEST(GdiSaveDC, ASavedPenIsKeptUntilItsStateGoes) {
    Canvas c(4, 4);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    SaveDC(c.dc());
    SelectObject(c.dc(), old);
    // Still held by the saved state: deleting it waits.
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
    RestoreDC(c.dc(), -1);
    EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), pen);
    SelectObject(c.dc(), old);
    EXPECT_EQ(GetObjectType(pen), 0u); // gone once nothing holds it
}

TEST(GdiMapping, AnisotropicMapsWindowExtentsOntoTheViewport) {
    Canvas c(200, 100);
    SetMapMode(c.dc(), MM_ANISOTROPIC);
    SetWindowExtEx(c.dc(), 1000, 1000, nullptr);
    SetViewportExtEx(c.dc(), 200, -100, nullptr);
    SetViewportOrgEx(c.dc(), 0, 100, nullptr);
    POINT pts[] = {{0, 0}, {500, 500}, {1000, 1000}, {3, 3}};
    ASSERT_TRUE(LPtoDP(c.dc(), pts, 4));
    EXPECT_EQ(pts[0].x, 0);
    EXPECT_EQ(pts[0].y, 100);
    EXPECT_EQ(pts[1].x, 100);
    EXPECT_EQ(pts[1].y, 50);
    EXPECT_EQ(pts[2].y, 0);
    EXPECT_EQ(pts[3].x, 1); // 0.6 rounds to 1
    EXPECT_EQ(pts[3].y, 100);
    POINT back[] = {{100, 50}};
    DPtoLP(c.dc(), back, 1);
    EXPECT_EQ(back[0].x, 500);
    EXPECT_EQ(back[0].y, 500);
    // Drawing goes through the mapping.
    RECT r{0, 0, 500, 500};
    FillRect(c.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(c.Ink(), (RECT{0, 50, 100, 100}));
    RECT box{};
    GetClipBox(c.dc(), &box);
    EXPECT_EQ(box, (RECT{0, 0, 1000, 1000}));
    SIZE ext{};
    GetWindowExtEx(c.dc(), &ext);
    EXPECT_EQ(ext.cx, 1000);
    ScaleViewportExtEx(c.dc(), 1, 2, 1, 1, &ext);
    EXPECT_EQ(ext.cx, 200);
    GetViewportExtEx(c.dc(), &ext);
    EXPECT_EQ(ext.cx, 100);
}

TEST(GdiMapping, FixedModesIgnoreExtentsAndPointYUp) {
    Canvas c(10, 10);
    SetMapMode(c.dc(), MM_LOMETRIC);
    EXPECT_TRUE(SetWindowExtEx(c.dc(), 5, 5, nullptr)); // accepted, ignored
    POINT p[] = {{254, -254}};                          // one inch right and down
    LPtoDP(c.dc(), p, 1);
    EXPECT_NEAR(p[0].x, 96, 1);
    EXPECT_NEAR(p[0].y, 96, 1);
    SetMapMode(c.dc(), MM_TWIPS);
    POINT q[] = {{1440, -1440}};
    LPtoDP(c.dc(), q, 1);
    EXPECT_NEAR(q[0].x, 96, 1);
    SetMapMode(c.dc(), MM_TEXT);
    POINT t[] = {{7, 8}};
    LPtoDP(c.dc(), t, 1);
    EXPECT_EQ(t[0].x, 7);
}

TEST(GdiMapping, IsotropicKeepsUnitsSquare) {
    Canvas c(10, 10);
    SetMapMode(c.dc(), MM_ISOTROPIC);
    SetWindowExtEx(c.dc(), 100, 100, nullptr);
    SetViewportExtEx(c.dc(), 400, 200, nullptr);
    SIZE v{};
    GetViewportExtEx(c.dc(), &v);
    EXPECT_EQ(v.cx, 200); // the longer axis shrinks to match
    EXPECT_EQ(v.cy, 200);
    SetViewportExtEx(c.dc(), 300, -600, nullptr);
    GetViewportExtEx(c.dc(), &v);
    EXPECT_EQ(v.cx, 300);
    EXPECT_EQ(v.cy, -300);
}

TEST(GdiMapping, OriginsOffsetAndAnswerThePreviousValue) {
    Canvas c(10, 10);
    POINT prev{};
    SetWindowOrgEx(c.dc(), 5, 6, &prev);
    OffsetWindowOrgEx(c.dc(), 1, 1, &prev);
    EXPECT_EQ(prev.x, 5);
    OffsetViewportOrgEx(c.dc(), 2, 2, nullptr);
    POINT p[] = {{6, 7}};
    LPtoDP(c.dc(), p, 1);
    EXPECT_EQ(p[0].x, 2);
    EXPECT_EQ(p[0].y, 2);
}

TEST(GdiDevice, DisplayCapabilities) {
    HDC ic = CreateICW(u"DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(ic, nullptr);
    EXPECT_EQ(GetDeviceCaps(ic, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(ic, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(ic, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(ic, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(ic, NUMCOLORS), -1);
    EXPECT_EQ(GetDeviceCaps(ic, TECHNOLOGY), DT_RASDISPLAY);
    EXPECT_EQ(GetDeviceCaps(ic, RASTERCAPS) & RC_PALETTE, 0);
    EXPECT_NE(GetDeviceCaps(ic, RASTERCAPS) & RC_STRETCHBLT, 0);
    int w = GetDeviceCaps(ic, HORZRES);
    EXPECT_GT(w, 0);
    EXPECT_NEAR(GetDeviceCaps(ic, HORZSIZE), w * 25.4 / 96, 1);
    EXPECT_EQ(GetObjectType(ic), static_cast<DWORD>(OBJ_DC));
    EXPECT_TRUE(DeleteDC(ic));
    HDC mem = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetObjectType(mem), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetDeviceCaps(mem, LOGPIXELSY), 96);
    DeleteDC(mem);
}

TEST(GdiDevice, FreshMemoryDCHoldsAOnePixelMonochromeBitmap) {
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ bmp = GetCurrentObject(mem, OBJ_BITMAP);
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(bmp, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    RECT box{};
    GetClipBox(mem, &box);
    EXPECT_EQ(box, (RECT{0, 0, 1, 1}));
    // A bitmap compatible with it is monochrome, the classic trap.
    HBITMAP compat = CreateCompatibleBitmap(mem, 4, 4);
    GetObjectW(compat, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteObject(compat);
    DeleteDC(mem);
}

TEST(GdiDevice, BadHandlesFailWithoutHarm) {
    HDC dc = CreateCompatibleDC(nullptr);
    DeleteDC(dc);
    SetLastError(0);
    EXPECT_EQ(SetTextColor(dc, kRed), CLR_INVALID);
    EXPECT_FALSE(LineTo(dc, 1, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_FALSE(DeleteDC(dc));
    auto junk = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x12345678));
    EXPECT_EQ(GetDeviceCaps(junk, LOGPIXELSX), 0);
    EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0xDEADBEEF))), 0u);
    EXPECT_FALSE(DeleteObject(nullptr));
}
