// Regions and paths.
#include "tests/platform/gdi/GdiTestSupport.h"

#include "platform/gdi/GdiInternal.h"

using namespace gditest;

namespace {
RECT Box(HRGN r) {
    RECT b{};
    GetRgnBox(r, &b);
    return b;
}
} // namespace

TEST(GdiRegions, CombineAnswersTheResultingKind) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN far = CreateRectRgn(20, 20, 30, 30);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        HRGN x;
        HRGN y;
        int mode;
        int kind;
        RECT box;
    };
    const Case cases[] = {
        {a, b, RGN_AND, SIMPLEREGION, {5, 5, 10, 10}},  {a, b, RGN_OR, COMPLEXREGION, {0, 0, 15, 15}},
        {a, b, RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}}, {a, b, RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}},
        {a, far, RGN_AND, NULLREGION, {0, 0, 0, 0}},    {a, nullptr, RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}},
        {a, a, RGN_DIFF, NULLREGION, {0, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(CombineRgn(d, k.x, k.y, k.mode), k.kind) << "mode " << k.mode;
        EXPECT_EQ(Box(d), k.box) << "mode " << k.mode;
    }
    // XOR leaves out the overlap; DIFF leaves out b.
    CombineRgn(d, a, b, RGN_XOR);
    EXPECT_FALSE(PtInRegion(d, 7, 7));
    EXPECT_TRUE(PtInRegion(d, 2, 2));
    EXPECT_TRUE(PtInRegion(d, 12, 12));
    CombineRgn(d, a, b, RGN_DIFF);
    EXPECT_FALSE(PtInRegion(d, 7, 7));
    EXPECT_TRUE(PtInRegion(d, 7, 2));
    // The destination may be a source.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 14, 14));
    EXPECT_EQ(CombineRgn(d, a, reinterpret_cast<HRGN>(GetStockObject(BLACK_PEN)), RGN_OR), ERROR);
    for (HRGN r : {a, b, far, d}) {
        DeleteObject(r);
    }
}

TEST(GdiRegions, RectanglesAreHalfOpenAndQueriesAgree) {
    HRGN r = CreateRectRgn(10, 10, 2, 2); // normalised
    EXPECT_EQ(Box(r), (RECT{2, 2, 10, 10}));
    EXPECT_TRUE(PtInRegion(r, 2, 2));
    EXPECT_FALSE(PtInRegion(r, 10, 5));
    RECT touching{10, 0, 20, 5};
    EXPECT_FALSE(RectInRegion(r, &touching));
    RECT overlapping{9, 9, 20, 20};
    EXPECT_TRUE(RectInRegion(r, &overlapping));
    EXPECT_EQ(OffsetRgn(r, 3, -2), SIMPLEREGION);
    EXPECT_EQ(Box(r), (RECT{5, 0, 13, 8}));
    HRGN same = CreateRectRgn(5, 0, 13, 8);
    EXPECT_TRUE(EqualRgn(r, same));
    SetRectRgn(same, 0, 0, 1, 1);
    EXPECT_FALSE(EqualRgn(r, same));
    DWORD size = GetRegionData(r, 0, nullptr);
    EXPECT_EQ(size, sizeof(RGNDATAHEADER) + sizeof(RECT));
    std::vector<char> buf(size);
    auto* data = reinterpret_cast<RGNDATA*>(buf.data());
    ASSERT_EQ(GetRegionData(r, size, data), size);
    EXPECT_EQ(data->rdh.nCount, 1u);
    HRGN copy = ExtCreateRegion(nullptr, size, data);
    EXPECT_TRUE(EqualRgn(r, copy));
    for (HRGN h : {r, same, copy}) {
        DeleteObject(h);
    }
}

TEST(GdiRegions, ShapedRegions) {
    HRGN e = CreateEllipticRgn(0, 0, 20, 10);
    EXPECT_EQ(Box(e), (RECT{0, 0, 20, 10}));
    EXPECT_TRUE(PtInRegion(e, 10, 5));
    EXPECT_FALSE(PtInRegion(e, 0, 0));
    EXPECT_FALSE(PtInRegion(e, 19, 9));
    POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
    HRGN t = CreatePolygonRgn(tri, 3, ALTERNATE);
    EXPECT_TRUE(PtInRegion(t, 1, 1));
    EXPECT_FALSE(PtInRegion(t, 8, 8));
    HRGN rr = CreateRoundRectRgn(0, 0, 20, 20, 8, 8);
    EXPECT_FALSE(PtInRegion(rr, 0, 0));
    EXPECT_TRUE(PtInRegion(rr, 10, 0));
    POINT two[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {10, 10}, {14, 10}, {14, 14}, {10, 14}};
    INT counts[] = {4, 4};
    HRGN pp = CreatePolyPolygonRgn(two, counts, 2, WINDING);
    EXPECT_EQ(GetRgnBox(pp, nullptr), ERROR);
    RECT b{};
    EXPECT_EQ(GetRgnBox(pp, &b), COMPLEXREGION);
    EXPECT_EQ(b, (RECT{0, 0, 14, 14}));
    for (HRGN h : {e, t, rr, pp}) {
        DeleteObject(h);
    }
}

TEST(GdiRegions, PaintingRegions) {
    Canvas c(20, 20);
    HRGN r = CreateRectRgn(2, 2, 12, 12);
    HBRUSH red = CreateSolidBrush(kRed);
    ASSERT_TRUE(FillRgn(c.dc(), r, red));
    EXPECT_EQ(c.Count(kRed), 100);
    c.Clear(kWhite);
    ASSERT_TRUE(FrameRgn(c.dc(), r, red, 2, 1));
    EXPECT_EQ(c.At(3, 6), kRed);
    EXPECT_EQ(c.At(4, 6), kWhite);
    EXPECT_EQ(c.At(6, 2), kRed);
    EXPECT_EQ(c.At(6, 3), kWhite);
    EXPECT_EQ(c.Count(kRed), 100 - 6 * 8);
    InvertRgn(c.dc(), r);
    EXPECT_EQ(c.At(6, 6), kBlack);
    InvertRgn(c.dc(), r);
    EXPECT_EQ(c.At(6, 6), kWhite);
    // Region coordinates are logical: the viewport moves them.
    c.Clear(kWhite);
    SetViewportOrgEx(c.dc(), 5, 5, nullptr);
    SelectObject(c.dc(), red);
    PaintRgn(c.dc(), r);
    EXPECT_EQ(c.Ink(), (RECT{7, 7, 17, 17}));
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
    DeleteObject(r);
}

TEST(GdiRegions, PixmanBridgeRoundTrips) {
    pixman_region32_t p;
    pixman_region32_init_rect(&p, 1, 2, 3, 4);
    HRGN r = GdiCreateRegionFromPixman(&p);
    EXPECT_EQ(Box(r), (RECT{1, 2, 4, 6}));
    pixman_region32_t back;
    pixman_region32_init(&back);
    ASSERT_TRUE(GdiCopyRegionToPixman(r, &back));
    EXPECT_TRUE(pixman_region32_equal(&p, &back));
    DeleteObject(r);
    EXPECT_FALSE(GdiCopyRegionToPixman(r, &back));
    pixman_region32_fini(&p);
    pixman_region32_fini(&back);
}

TEST(GdiPaths, FillStrokeAndClipPaths) {
    Canvas c(20, 20);
    ASSERT_TRUE(BeginPath(c.dc()));
    MoveToEx(c.dc(), 2, 2, nullptr);
    LineTo(c.dc(), 12, 2);
    LineTo(c.dc(), 12, 12);
    LineTo(c.dc(), 2, 12);
    CloseFigure(c.dc());
    ASSERT_TRUE(EndPath(c.dc()));
    EXPECT_EQ(c.Count(kWhite), 400); // nothing drawn while recording
    EXPECT_EQ(GetPath(c.dc(), nullptr, nullptr, 0), 4);
    POINT pts[4];
    BYTE types[4];
    ASSERT_EQ(GetPath(c.dc(), pts, types, 4), 4);
    EXPECT_EQ(types[0], PT_MOVETO);
    EXPECT_EQ(types[3], PT_LINETO | PT_CLOSEFIGURE);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(FillPath(c.dc()));
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 12, 12}));
    EXPECT_FALSE(FillPath(c.dc())); // the path is used up

    c.Clear(kWhite);
    BeginPath(c.dc());
    Rectangle(c.dc(), 2, 2, 12, 12);
    EndPath(c.dc());
    StrokePath(c.dc());
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 12, 12}));
    EXPECT_EQ(c.At(6, 6), kWhite);

    // A path as the clip.
    c.Clear(kWhite);
    BeginPath(c.dc());
    POINT tri[] = {{0, 0}, {20, 0}, {0, 20}};
    Polygon(c.dc(), tri, 3);
    EndPath(c.dc());
    ASSERT_TRUE(SelectClipPath(c.dc(), RGN_COPY));
    RECT all{0, 0, 20, 20};
    FillRect(c.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(c.At(2, 2), kBlack);
    EXPECT_EQ(c.At(18, 18), kWhite);

    // PathToRegion hands the area over as a region.
    BeginPath(c.dc());
    Ellipse(c.dc(), 0, 0, 10, 10);
    EndPath(c.dc());
    HRGN r = PathToRegion(c.dc());
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(PtInRegion(r, 5, 5));
    EXPECT_FALSE(PtInRegion(r, 0, 0));
    DeleteObject(r);
    EXPECT_TRUE(AbortPath(c.dc()));
}
