// Lines and shapes land on the original's pixels: end pixels and right/bottom edges excluded, dash patterns,
// mixes.
#include "tests/platform/gdi/GdiTestSupport.h"

#include <set>
#include <utility>

using namespace gditest;

namespace {

std::set<std::pair<int, int>> Inked(const Canvas& c) {
    std::set<std::pair<int, int>> s;
    std::vector<COLORREF> px = c.Pixels();
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            if (px[static_cast<size_t>(y) * c.width() + x] != kWhite) {
                s.emplace(x, y);
            }
        }
    }
    return s;
}

std::set<std::pair<int, int>> Line(Canvas& c, int x0, int y0, int x1, int y1) {
    c.Clear(kWhite);
    MoveToEx(c.dc(), x0, y0, nullptr);
    LineTo(c.dc(), x1, y1);
    return Inked(c);
}

} // namespace

TEST(GdiLines, LineToLeavesOutItsEndPixelInEveryOctant) {
    Canvas c(41, 41);
    const POINT ends[] = {{30, 24}, {24, 30}, {16, 30}, {10, 24}, {10, 16}, {16, 10}, {24, 10}, {30, 16},
                          {30, 20}, {20, 30}, {10, 20}, {20, 10}, {30, 30}, {10, 10}, {10, 30}, {30, 10}};
    for (POINT e : ends) {
        SCOPED_TRACE(testing::Message() << "to " << e.x << "," << e.y);
        auto px = Line(c, 20, 20, e.x, e.y);
        int major = std::max(std::abs(e.x - 20), std::abs(e.y - 20));
        EXPECT_EQ(static_cast<int>(px.size()), major); // one pixel per step, the last one not drawn
        EXPECT_TRUE(px.count({20, 20}));
        EXPECT_FALSE(px.count({e.x, e.y}));
        // The reverse line covers the same pixels, with the other end left out.
        auto back = Line(c, e.x, e.y, 20, 20);
        px.insert({e.x, e.y});
        back.insert({20, 20});
        EXPECT_EQ(px, back);
    }
}

TEST(GdiLines, HalfwayStepsGoUpOnShallowLines) {
    Canvas c(10, 10);
    auto px = Line(c, 0, 0, 4, 1);
    std::set<std::pair<int, int>> want{{0, 0}, {1, 0}, {2, 0}, {3, 1}};
    EXPECT_EQ(px, want);
}

TEST(GdiLines, CosmeticStylesHaveTheOriginalsDashLengths) {
    Canvas c(60, 3);
    struct Case {
        int style;
        const char* row;
    };
    const Case cases[] = {
        {PS_DOT, "###...###...###...###...###...###...###...###...###...###..."},
        {PS_DASH, "##################......##################......############"},
        {PS_DASHDOT, "#########......###......#########......###......#########..."},
        {PS_DASHDOTDOT, "#########...###...###...#########...###...###...#########..."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.style);
        c.Clear(kWhite);
        HPEN pen = CreatePen(k.style, 1, kBlack);
        HGDIOBJ old = SelectObject(c.dc(), pen);
        SetBkMode(c.dc(), TRANSPARENT);
        MoveToEx(c.dc(), 0, 1, nullptr);
        LineTo(c.dc(), 60, 1);
        SelectObject(c.dc(), old);
        DeleteObject(pen);
        EXPECT_EQ(c.Picture(RECT{0, 1, 60, 2}), std::string(k.row) + "\n");
    }
}

TEST(GdiLines, OpaqueBackgroundPaintsTheGapsOfStyledLines) {
    Canvas c(12, 1);
    HPEN pen = CreatePen(PS_DOT, 1, kBlack);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), kRed);
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 12, 0);
    EXPECT_EQ(c.At(0, 0), kBlack);
    EXPECT_EQ(c.At(3, 0), kRed);
    EXPECT_EQ(c.At(6, 0), kBlack);
    EXPECT_EQ(c.At(11, 0), kRed);
    SelectObject(c.dc(), old);
    DeleteObject(pen);
}

TEST(GdiLines, PenStyleCarriesOnAcrossPolylineCorners) {
    Canvas c(10, 10);
    HPEN pen = CreatePen(PS_DOT, 1, kBlack);
    HGDIOBJ old = SelectObject(c.dc(), pen);
    SetBkMode(c.dc(), TRANSPARENT);
    POINT pts[] = {{0, 0}, {4, 0}, {4, 6}};
    Polyline(c.dc(), pts, 3);
    // 3 on (x 0..2), 3 off (x 3, then (4,0), (4,1)), 3 on ((4,2)..(4,4)), off.
    EXPECT_EQ(c.Picture(RECT{0, 0, 5, 6}), Join({"###..", ".....", "....#", "....#", "....#", "....."}));
    SelectObject(c.dc(), old);
    DeleteObject(pen);
}

TEST(GdiLines, XorMixDrawsEachPolylinePixelOnceAndUndoesItself) {
    Canvas c(10, 10);
    SetROP2(c.dc(), R2_NOT);
    POINT pts[] = {{1, 1}, {6, 1}, {6, 6}};
    Polyline(c.dc(), pts, 3);
    EXPECT_EQ(c.At(6, 1), kBlack); // the corner once, not twice
    EXPECT_EQ(c.Count(kBlack), 10);
    Polyline(c.dc(), pts, 3);
    EXPECT_EQ(c.Count(kWhite), 100);
    EXPECT_EQ(GetROP2(c.dc()), R2_NOT);
}

TEST(GdiLines, Rop2ModesFollowTheirTruthTable) {
    Canvas c(1, 1);
    // Pen 0x0F0F0F over destination 0x330033 in each mode, per colour byte.
    const COLORREF pen = RGB(0x0F, 0x0F, 0x0F);
    const COLORREF dst = RGB(0x33, 0x00, 0x33);
    for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
        c.Clear(dst);
        HPEN p = CreatePen(PS_SOLID, 1, pen);
        HGDIOBJ old = SelectObject(c.dc(), p);
        SetROP2(c.dc(), mode);
        MoveToEx(c.dc(), 0, 0, nullptr);
        LineTo(c.dc(), 1, 0);
        SetROP2(c.dc(), R2_COPYPEN);
        SelectObject(c.dc(), old);
        DeleteObject(p);
        auto byte = [&](int pb, int db) {
            int r = 0;
            for (int bit = 0; bit < 8; ++bit) {
                int pv = (pb >> bit) & 1;
                int dv = (db >> bit) & 1;
                r |= (((mode - 1) >> (pv * 2 + dv)) & 1) << bit;
            }
            return r;
        };
        COLORREF want = RGB(byte(0x0F, 0x33), byte(0x0F, 0x00), byte(0x0F, 0x33));
        EXPECT_EQ(c.At(0, 0), want) << "mode " << mode;
    }
}

TEST(GdiShapes, RectangleAndFillRectLeaveOutRightAndBottom) {
    Canvas c(12, 10);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ oldBrush = SelectObject(c.dc(), red);
    Rectangle(c.dc(), 2, 2, 8, 6);
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 8, 6}));
    EXPECT_EQ(c.At(2, 2), kBlack);
    EXPECT_EQ(c.At(7, 5), kBlack);
    EXPECT_EQ(c.At(3, 3), kRed);
    EXPECT_EQ(c.Count(kRed), 4 * 2);

    // Without a pen the filled area is one pixel smaller.
    c.Clear(kWhite);
    HGDIOBJ oldPen = SelectObject(c.dc(), GetStockObject(NULL_PEN));
    Rectangle(c.dc(), 2, 2, 8, 6);
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 7, 5}));

    c.Clear(kWhite);
    RECT r{2, 2, 8, 6};
    FillRect(c.dc(), &r, red);
    EXPECT_EQ(c.Ink(), r);
    EXPECT_EQ(c.Count(kRed), 6 * 4);

    // Corners given the other way round draw the same rectangle.
    c.Clear(kWhite);
    SelectObject(c.dc(), oldPen);
    Rectangle(c.dc(), 8, 6, 2, 2);
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 8, 6}));
    SelectObject(c.dc(), oldBrush);
    DeleteObject(red);
}

TEST(GdiShapes, EllipseStaysInsideItsBox) {
    Canvas c(30, 20);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    Ellipse(c.dc(), 3, 2, 23, 14);
    EXPECT_EQ(c.Ink(), (RECT{3, 2, 23, 14}));
    // A hollow outline: the centre stays white.
    EXPECT_EQ(c.At(13, 8), kWhite);
    c.Clear(kWhite);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    Ellipse(c.dc(), 3, 2, 23, 14);
    EXPECT_EQ(c.At(13, 8), kBlack);
    EXPECT_EQ(c.At(3, 2), kWhite); // corners outside the ellipse
}

TEST(GdiShapes, PolygonFillModes) {
    Canvas c(20, 20);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    // A square drawn twice the same way round: even-odd leaves the inside empty, winding fills it.
    POINT pts[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}, {2, 2}, {12, 2}, {12, 12}, {2, 12}};
    SetPolyFillMode(c.dc(), ALTERNATE);
    Polygon(c.dc(), pts, 8);
    EXPECT_EQ(c.At(6, 6), kWhite);
    SetPolyFillMode(c.dc(), WINDING);
    Polygon(c.dc(), pts, 8);
    EXPECT_EQ(c.At(6, 6), kBlack);
    // Interior excludes the right and bottom edges.
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 12, 12}));
}

TEST(GdiShapes, PolygonOutlineIncludesEveryVertex) {
    Canvas c(20, 20);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    POINT pts[] = {{2, 2}, {12, 2}, {12, 12}};
    Polygon(c.dc(), pts, 3);
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 13, 13}));
}

TEST(GdiShapes, WidePensAreCentredOnTheLine) {
    Canvas c(40, 20);
    HPEN pen = CreatePen(PS_SOLID, 5, kBlack);
    SelectObject(c.dc(), pen);
    MoveToEx(c.dc(), 10, 10, nullptr);
    LineTo(c.dc(), 30, 10);
    RECT ink = c.Ink();
    EXPECT_EQ(ink.top, 8);
    EXPECT_EQ(ink.bottom, 13);
    EXPECT_LE(ink.left, 9); // round caps reach past the ends
    EXPECT_GE(ink.right, 32);
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(pen);

    // Flat caps stop at the ends.
    c.Clear(kWhite);
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    HPEN flat = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 4, &lb, 0, nullptr);
    ASSERT_NE(flat, nullptr);
    SelectObject(c.dc(), flat);
    MoveToEx(c.dc(), 10, 10, nullptr);
    LineTo(c.dc(), 30, 10);
    ink = c.Ink();
    EXPECT_EQ(ink.bottom - ink.top, 4);
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 31);
    SelectObject(c.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(flat);
}

TEST(GdiShapes, ArcPieAndChordFollowTheArcDirection) {
    Canvas c(40, 40);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    // Counter-clockwise from 3 o'clock to 12 o'clock: the upper right quarter only.
    Arc(c.dc(), 0, 0, 40, 40, 40, 20, 20, 0);
    RECT ink = c.Ink();
    EXPECT_GE(ink.left, 19);
    EXPECT_LE(ink.bottom, 21);
    c.Clear(kWhite);
    SetArcDirection(c.dc(), AD_CLOCKWISE);
    Arc(c.dc(), 0, 0, 40, 40, 40, 20, 20, 0);
    ink = c.Ink();
    EXPECT_EQ(ink.left, 0); // the other three quarters
    EXPECT_EQ(ink.bottom, 40);
    SetArcDirection(c.dc(), AD_COUNTERCLOCKWISE);

    c.Clear(kWhite);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    Pie(c.dc(), 0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(c.At(28, 12), kBlack);
    EXPECT_EQ(c.At(12, 28), kWhite);
    c.Clear(kWhite);
    Chord(c.dc(), 0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(c.At(30, 8), kBlack);
    EXPECT_EQ(c.At(22, 18), kWhite); // the triangle towards the centre is not in a chord
}

TEST(GdiShapes, RoundRectCornersAreCut) {
    Canvas c(30, 30);
    SelectObject(c.dc(), GetStockObject(BLACK_BRUSH));
    RoundRect(c.dc(), 0, 0, 30, 20, 10, 10);
    EXPECT_EQ(c.Ink(), (RECT{0, 0, 30, 20}));
    EXPECT_EQ(c.At(0, 0), kWhite);
    EXPECT_EQ(c.At(15, 0), kBlack);
    EXPECT_EQ(c.At(15, 10), kBlack);
}

TEST(GdiShapes, CurrentPositionMovesWithLineToAndPolylineTo) {
    Canvas c(10, 10);
    POINT p{};
    MoveToEx(c.dc(), 1, 2, &p);
    EXPECT_EQ(p.x, 0);
    LineTo(c.dc(), 5, 5);
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 5);
    POINT more[] = {{6, 6}, {7, 2}};
    PolylineTo(c.dc(), more, 2);
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 2);
    POINT pts[] = {{0, 0}, {3, 3}};
    Polyline(c.dc(), pts, 2); // does not touch the current position
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(p.x, 7);
}

TEST(GdiShapes, NullPenDrawsNothingButMoves) {
    Canvas c(10, 10);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    MoveToEx(c.dc(), 0, 0, nullptr);
    LineTo(c.dc(), 9, 9);
    EXPECT_EQ(c.Count(kWhite), 100);
    POINT p{};
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(p.x, 9);
}
