// Brushes: hatches with their gaps, monochrome patterns taking the DC's colours at the brush origin, and the
// brush objects' records.
#include "tests/platform/gdi/GdiTestSupport.h"

#include <cstring>

using namespace gditest;

namespace {
// A 8x8 monochrome bitmap from rows of bits (1 = white).
HBITMAP MonoPattern(const uint8_t rows[8]) {
    WORD words[8];
    for (int i = 0; i < 8; ++i) {
        words[i] = rows[i]; // each row is word aligned; the first byte holds the 8 pixels
    }
    return CreateBitmap(8, 8, 1, 1, words);
}

void Fill(Canvas& c, HBRUSH brush, RECT r) {
    FillRect(c.dc(), &r, brush);
}
} // namespace

TEST(GdiBrushes, HatchLinesTakeTheBrushColourAndGapsTheBackground) {
    Canvas c(16, 16);
    HBRUSH cross = CreateHatchBrush(HS_CROSS, kBlue);
    SetBkColor(c.dc(), kRed);
    SetBkMode(c.dc(), OPAQUE);
    Fill(c, cross, RECT{0, 0, 16, 16});
    // HS_CROSS: row 3 and column 4 of every 8x8 cell.
    EXPECT_EQ(c.At(0, 3), kBlue);
    EXPECT_EQ(c.At(4, 0), kBlue);
    EXPECT_EQ(c.At(12, 9), kBlue);
    EXPECT_EQ(c.At(0, 0), kRed);
    EXPECT_EQ(c.Count(kBlue), 2 * (16 + 16) - 4);

    // Transparent mode leaves the gaps alone.
    c.Clear(kWhite);
    SetBkMode(c.dc(), TRANSPARENT);
    Fill(c, cross, RECT{0, 0, 16, 16});
    EXPECT_EQ(c.At(0, 0), kWhite);
    EXPECT_EQ(c.At(0, 3), kBlue);
    DeleteObject(cross);
}

TEST(GdiBrushes, EveryHatchHasItsPattern) {
    Canvas c(8, 8);
    SetBkMode(c.dc(), TRANSPARENT);
    const char* rows[6] = {
        "........\n........\n........\n########\n........\n........\n........\n........\n",
        "....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n....#...\n",
        "#.......\n.#......\n..#.....\n...#....\n....#...\n.....#..\n......#.\n.......#\n",
        ".......#\n......#.\n.....#..\n....#...\n...#....\n..#.....\n.#......\n#.......\n",
        "....#...\n....#...\n....#...\n########\n....#...\n....#...\n....#...\n....#...\n",
        "#......#\n.#....#.\n..#..#..\n...##...\n...##...\n..#..#..\n.#....#.\n#......#\n",
    };
    for (int h = HS_HORIZONTAL; h <= HS_DIAGCROSS; ++h) {
        c.Clear(kWhite);
        HBRUSH b = CreateHatchBrush(h, kBlack);
        Fill(c, b, RECT{0, 0, 8, 8});
        DeleteObject(b);
        EXPECT_EQ(c.Picture(RECT{0, 0, 8, 8}), rows[h]) << "hatch " << h;
    }
}

TEST(GdiBrushes, MonochromePatternTakesTextAndBackgroundColoursAtTheBrushOrigin) {
    Canvas c(16, 8);
    const uint8_t rows[8] = {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}; // one 0 bit at (0,0)
    HBITMAP pat = MonoPattern(rows);
    HBRUSH brush = CreatePatternBrush(pat);
    SetTextColor(c.dc(), kRed);
    SetBkColor(c.dc(), kBlue);
    Fill(c, brush, RECT{0, 0, 16, 8});
    EXPECT_EQ(c.At(0, 0), kRed);  // 0 bit: text colour
    EXPECT_EQ(c.At(8, 0), kRed);  // repeats every 8 pixels
    EXPECT_EQ(c.At(1, 0), kBlue); // 1 bits: background colour
    EXPECT_EQ(c.Count(kRed), 2);

    // Moving the brush origin moves the pattern with it.
    SetBrushOrgEx(c.dc(), 3, 2, nullptr);
    Fill(c, brush, RECT{0, 0, 16, 8});
    EXPECT_EQ(c.At(3, 2), kRed);
    EXPECT_EQ(c.At(11, 2), kRed);
    EXPECT_EQ(c.At(0, 0), kBlue);
    POINT org{};
    GetBrushOrgEx(c.dc(), &org);
    EXPECT_EQ(org.x, 3);
    EXPECT_EQ(org.y, 2);

    // The background mode does not matter to pattern brushes.
    SetBkMode(c.dc(), TRANSPARENT);
    c.Clear(kWhite);
    Fill(c, brush, RECT{0, 0, 16, 8});
    EXPECT_EQ(c.Count(kWhite), 0);
    DeleteObject(brush);
    DeleteObject(pat);
}

TEST(GdiBrushes, PatternOriginFollowsTheViewportOfAShiftedDC) {
    // The off-screen painting trick: brush origin (clip.left mod 8, clip.top mod 8) with the viewport moved.
    Canvas c(8, 8);
    const uint8_t rows[8] = {0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    HBITMAP pat = MonoPattern(rows);
    HBRUSH brush = CreatePatternBrush(pat);
    SetTextColor(c.dc(), kBlack);
    SetBkColor(c.dc(), kWhite);
    SetViewportOrgEx(c.dc(), -13, -10, nullptr);
    SetBrushOrgEx(c.dc(), 13 % 8, 10 % 8, nullptr);
    RECT r{13, 10, 21, 18};
    FillRect(c.dc(), &r, brush);
    EXPECT_EQ(c.At(5, 2), kBlack);
    EXPECT_EQ(c.Count(kBlack), 1);
    DeleteObject(brush);
    DeleteObject(pat);
}

TEST(GdiBrushes, ColourPatternAndDibPatternBrushes) {
    Canvas c(8, 4);
    HBITMAP bmp = CreateBitmap(2, 2, 1, 32, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    SetPixel(mem, 0, 0, kRed);
    SetPixel(mem, 1, 0, kGreen);
    SetPixel(mem, 0, 1, kGreen);
    SetPixel(mem, 1, 1, kRed);
    SelectObject(mem, old);
    DeleteDC(mem);
    HBRUSH b = CreatePatternBrush(bmp);
    Fill(c, b, RECT{0, 0, 8, 4});
    EXPECT_EQ(c.At(0, 0), kRed);
    EXPECT_EQ(c.At(1, 0), kGreen);
    EXPECT_EQ(c.At(3, 3), kRed);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(b, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_PATTERN));
    EXPECT_EQ(reinterpret_cast<HBITMAP>(lb.lbHatch), bmp);
    DeleteObject(b);
    DeleteObject(bmp);

    // A packed 1-bit DIB brush uses its own colour table, not the DC's colours.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
        DWORD rows[8];
    } dib{};
    dib.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 8, 8, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
    dib.colors[0] = RGBQUAD{0, 255, 0, 0}; // green
    dib.colors[1] = RGBQUAD{255, 0, 0, 0}; // blue
    for (DWORD& r : dib.rows) {
        r = 0x55; // 01010101 per row
    }
    HBRUSH db = CreateDIBPatternBrushPt(&dib, DIB_RGB_COLORS);
    ASSERT_NE(db, nullptr);
    c.Clear(kWhite);
    Fill(c, db, RECT{0, 0, 8, 4});
    EXPECT_EQ(c.At(0, 0), kGreen);
    EXPECT_EQ(c.At(1, 0), kBlue);
    DeleteObject(db);
}

TEST(GdiBrushes, BrushRecordsAnswerTheirCreation) {
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, kRed);
    LOGBRUSH lb{};
    GetObjectW(hatch, sizeof(lb), &lb);
    EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
    EXPECT_EQ(lb.lbColor, kRed);
    EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));
    DeleteObject(hatch);
    EXPECT_EQ(CreateHatchBrush(6, kRed), nullptr);
    LOGBRUSH nullBrush{BS_NULL, 0, 0};
    HBRUSH hollow = CreateBrushIndirect(&nullBrush);
    Canvas c(4, 4);
    SelectObject(c.dc(), hollow);
    Rectangle(c.dc(), 0, 0, 4, 4);
    EXPECT_EQ(c.At(1, 1), kWhite);
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(hollow);
}
