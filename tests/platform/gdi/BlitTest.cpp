// Raster operations: blits between DCs, every ROP3 family against its truth table, monochrome conversions,
// stretching, masks, DIBs to the device, inversions that undo themselves.
#include "tests/platform/gdi/GdiTestSupport.h"

#include <cstring>

using namespace gditest;

namespace {

// One byte of a ROP3 result from its truth table: bit (P<<2 | S<<1 | D) of the code.
int RopByte(int code, int p, int s, int d) {
    int r = 0;
    for (int bit = 0; bit < 8; ++bit) {
        int i = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        r |= ((code >> i) & 1) << bit;
    }
    return r;
}

} // namespace

TEST(GdiBlit, BitBltCopiesFromAMemoryDCWithAShiftedViewport) {
    Canvas src(20, 20);
    Canvas dst(20, 20);
    // The off-screen pattern: the memory DC draws in window coordinates through a moved viewport.
    SetViewportOrgEx(src.dc(), -8, -8, nullptr);
    RECT r{10, 10, 14, 13};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(src.dc(), &r, red);
    DeleteObject(red);
    ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 6, 6, src.dc(), 8, 8, SRCCOPY));
    EXPECT_EQ(dst.Ink(), (RECT{2, 2, 6, 5}));
    EXPECT_EQ(dst.At(2, 2), kRed);
}

TEST(GdiBlit, EveryRopFamilyMatchesItsTruthTable) {
    // Destination, source and pattern colours whose bits cover all combinations.
    const COLORREF d = RGB(0xAA, 0x0F, 0x33);
    const COLORREF s = RGB(0xCC, 0x33, 0x0F);
    const COLORREF p = RGB(0xF0, 0x55, 0xAA);
    Canvas src(2, 2);
    src.Clear(s);
    Canvas dst(2, 2);
    HBRUSH brush = CreateSolidBrush(p);
    SelectObject(dst.dc(), brush);
    const int codes[] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x5A, 0x66, 0x69, 0x88, 0x96, 0xAA, 0xB8,
                         0xBB, 0xC0, 0xCA, 0xCC, 0xE2, 0xEE, 0xF0, 0xFB, 0xFF, 0x1D, 0x6A, 0x9C, 0xD4};
    for (int code : codes) {
        dst.Clear(d);
        DWORD rop = static_cast<DWORD>(code) << 16;
        ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 2, 2, src.dc(), 0, 0, rop));
        COLORREF want = RGB(RopByte(code, GetRValue(p), GetRValue(s), GetRValue(d)),
                            RopByte(code, GetGValue(p), GetGValue(s), GetGValue(d)),
                            RopByte(code, GetBValue(p), GetBValue(s), GetBValue(d)));
        EXPECT_EQ(dst.At(1, 1), want) << std::hex << "rop 0x" << code;
    }
    SelectObject(dst.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(GdiBlit, NamedRopsAreTheirCodes) {
    Canvas src(1, 1);
    src.Clear(RGB(0x0F, 0x0F, 0x0F));
    Canvas dst(1, 1);
    struct Case {
        DWORD rop;
        COLORREF want;
    };
    const Case cases[] = {
        {SRCCOPY, RGB(0x0F, 0x0F, 0x0F)},    {SRCPAINT, RGB(0x3F, 0x3F, 0x3F)},
        {SRCAND, RGB(0x03, 0x03, 0x03)},     {SRCINVERT, RGB(0x3C, 0x3C, 0x3C)},
        {NOTSRCCOPY, RGB(0xF0, 0xF0, 0xF0)}, {DSTINVERT, RGB(0xCC, 0xCC, 0xCC)},
        {BLACKNESS, RGB(0, 0, 0)},           {WHITENESS, RGB(255, 255, 255)},
    };
    for (const Case& k : cases) {
        dst.Clear(RGB(0x33, 0x33, 0x33));
        BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, k.rop);
        EXPECT_EQ(dst.At(0, 0), k.want) << std::hex << k.rop;
    }
}

TEST(GdiBlit, MonochromeSourceTakesTheDestinationsTextAndBackgroundColours) {
    Canvas mono(2, 1, true);
    SetPixel(mono.dc(), 0, 0, kBlack);
    SetPixel(mono.dc(), 1, 0, kWhite);
    Canvas dst(2, 1);
    SetTextColor(dst.dc(), kRed);
    SetBkColor(dst.dc(), kBlue);
    BitBlt(dst.dc(), 0, 0, 2, 1, mono.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), kRed);  // 0 bits: text colour
    EXPECT_EQ(dst.At(1, 0), kBlue); // 1 bits: background colour
}

TEST(GdiBlit, ColourToMonochromeMakesTheSourceBackgroundWhite) {
    Canvas src(3, 1);
    SetPixel(src.dc(), 0, 0, kRed);
    SetPixel(src.dc(), 1, 0, kGreen);
    SetPixel(src.dc(), 2, 0, kWhite);
    SetBkColor(src.dc(), kGreen);
    Canvas mono(3, 1, true);
    BitBlt(mono.dc(), 0, 0, 3, 1, src.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(mono.At(0, 0), kBlack);
    EXPECT_EQ(mono.At(1, 0), kWhite); // the background colour
    EXPECT_EQ(mono.At(2, 0), kBlack); // white is not the background here
    // Drawing colours on a monochrome bitmap gives the nearer of black and white.
    EXPECT_EQ(SetPixel(mono.dc(), 0, 0, RGB(200, 200, 200)), kWhite);
}

TEST(GdiBlit, TransparentBlitWithMonochromeMaskAndRop3B8) {
    // 0xB8074A: where the source is set keep the destination, elsewhere the pattern (toolbar trick).
    Canvas mask(4, 1, true);
    SetPixel(mask.dc(), 0, 0, kWhite);
    SetPixel(mask.dc(), 1, 0, kBlack);
    SetPixel(mask.dc(), 2, 0, kWhite);
    SetPixel(mask.dc(), 3, 0, kBlack);
    Canvas dst(4, 1);
    dst.Clear(kGreen);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(dst.dc(), red);
    SetTextColor(dst.dc(), kBlack);
    SetBkColor(dst.dc(), kWhite);
    BitBlt(dst.dc(), 0, 0, 4, 1, mask.dc(), 0, 0, 0x00B8074A);
    EXPECT_EQ(dst.At(0, 0), kGreen);
    EXPECT_EQ(dst.At(1, 0), kRed);
    SelectObject(dst.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

TEST(GdiBlit, MaskBltChoosesForegroundOrBackgroundRopPerMaskBit) {
    Canvas src(2, 1);
    src.Clear(kRed);
    Canvas dst(2, 1);
    dst.Clear(kBlue);
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, nullptr);
    HDC m = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(m, mask);
    SetPixel(m, 0, 0, kWhite);
    SetPixel(m, 1, 0, kBlack);
    SelectObject(m, old);
    DeleteDC(m);
    ASSERT_TRUE(MaskBlt(dst.dc(), 0, 0, 2, 1, src.dc(), 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, 0x00AA0029)));
    EXPECT_EQ(dst.At(0, 0), kRed);  // mask 1: foreground (copy)
    EXPECT_EQ(dst.At(1, 0), kBlue); // mask 0: background (keep)
    DeleteObject(mask);
}

TEST(GdiBlit, StretchBltScalesAndMirrors) {
    Canvas src(2, 1);
    SetPixel(src.dc(), 0, 0, kRed);
    SetPixel(src.dc(), 1, 0, kBlue);
    Canvas dst(8, 2);
    SetStretchBltMode(dst.dc(), COLORONCOLOR);
    StretchBlt(dst.dc(), 0, 0, 8, 2, src.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.Count(kRed), 8);
    EXPECT_EQ(dst.At(3, 1), kRed);
    EXPECT_EQ(dst.At(4, 0), kBlue);
    // A negative destination width mirrors.
    StretchBlt(dst.dc(), 7, 0, -8, 2, src.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), kBlue);
    EXPECT_EQ(dst.At(7, 0), kRed);
}

TEST(GdiBlit, ShrinkingCombinesRowsByTheStretchMode) {
    Canvas src(2, 1);
    SetPixel(src.dc(), 0, 0, RGB(0xF0, 0xF0, 0xF0));
    SetPixel(src.dc(), 1, 0, RGB(0x0F, 0xFF, 0x0F));
    Canvas dst(1, 1);
    SetStretchBltMode(dst.dc(), BLACKONWHITE);
    StretchBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), RGB(0x00, 0xF0, 0x00));
    SetStretchBltMode(dst.dc(), WHITEONBLACK);
    StretchBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), RGB(0xFF, 0xFF, 0xFF));
}

TEST(GdiBlit, BlitWithinOneBitmapReadsTheOriginalPixels) {
    Canvas c(6, 1);
    for (int x = 0; x < 3; ++x) {
        SetPixel(c.dc(), x, 0, RGB(x * 50, 0, 0));
    }
    BitBlt(c.dc(), 1, 0, 3, 1, c.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(c.At(1, 0), RGB(0, 0, 0));
    EXPECT_EQ(c.At(2, 0), RGB(50, 0, 0));
    EXPECT_EQ(c.At(3, 0), RGB(100, 0, 0));
}

TEST(GdiBlit, InvertRectTwiceRestores) {
    Canvas c(10, 10);
    RECT a{1, 1, 6, 6};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(c.dc(), &a, red);
    DeleteObject(red);
    std::vector<COLORREF> before = c.Pixels();
    RECT r{3, 3, 9, 9};
    InvertRect(c.dc(), &r);
    EXPECT_EQ(c.At(3, 3), RGB(0, 255, 255));
    EXPECT_EQ(c.At(8, 8), kBlack);
    EXPECT_EQ(c.At(9, 9), kWhite); // right and bottom excluded
    InvertRect(c.dc(), &r);
    EXPECT_EQ(c.Pixels(), before);
}

TEST(GdiBlit, DrawFocusRectIsADottedXorFrame) {
    Canvas c(10, 8);
    RECT r{1, 1, 9, 7};
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(c.Picture(RECT{0, 0, 10, 8}), Join({"..........", ".#.#.#.#..", "........#.", ".#........",
                                                  "........#.", ".#........", "..#.#.#.#.", ".........."}));
    DrawFocusRect(c.dc(), &r);
    EXPECT_EQ(c.Count(kWhite), 80);
}

TEST(GdiBlit, PatBltUsesTheBrushAndPatternRops) {
    Canvas c(4, 4);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(c.dc(), red);
    PatBlt(c.dc(), 0, 0, 2, 2, PATCOPY);
    EXPECT_EQ(c.Count(kRed), 4);
    PatBlt(c.dc(), 0, 0, 4, 4, PATINVERT);
    EXPECT_EQ(c.At(0, 0), kBlack);
    EXPECT_EQ(c.At(3, 3), RGB(0, 255, 255));
    // Negative extents count from the other corner.
    c.Clear(kWhite);
    PatBlt(c.dc(), 4, 4, -2, -2, BLACKNESS);
    EXPECT_EQ(c.Ink(), (RECT{2, 2, 4, 4}));
    EXPECT_FALSE(PatBlt(c.dc(), 0, 0, 1, 1, SRCCOPY)); // needs a source
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}

namespace {
struct Dib {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
};
} // namespace

TEST(GdiBlit, StretchDIBitsDrawsEveryDepthBottomUp) {
    Canvas c(4, 2);
    // A 4x2 image: top row red, blue, red, blue; bottom row green throughout.
    const COLORREF top[4] = {kRed, kBlue, kRed, kBlue};
    auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(c.At(x, 0), top[x]);
            EXPECT_EQ(c.At(x, 1), kGreen);
        }
    };
    Dib dib{};
    dib.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 2, 1, 1, BI_RGB, 0, 0, 0, 0, 0};
    dib.colors[0] = RGBQUAD{0, 255, 0, 0};
    dib.colors[1] = RGBQUAD{0, 0, 255, 0};
    dib.colors[2] = RGBQUAD{255, 0, 0, 0};
    dib.colors[3] = RGBQUAD{0, 0, 0, 0};
    auto* info = reinterpret_cast<BITMAPINFO*>(&dib);
    // 1 bpp: 0 green, 1 red; blue needs more colours, so this one uses red/green only.
    {
        c.Clear(kWhite);
        const uint8_t bits[8] = {0x00, 0, 0, 0, 0xF0, 0, 0, 0}; // bottom row first: 0000, then 1111
        dib.h.biBitCount = 1;
        StretchDIBits(c.dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, info, DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ(c.At(0, 0), kRed);
        EXPECT_EQ(c.At(3, 1), kGreen);
    }
    {
        c.Clear(kWhite);
        const uint8_t bits[8] = {0x00, 0x00, 0, 0, 0x12, 0x12, 0, 0}; // 4 bpp: indices 1,2,1,2 on top
        dib.h.biBitCount = 4;
        StretchDIBits(c.dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, info, DIB_RGB_COLORS, SRCCOPY);
        check("4 bpp");
    }
    {
        c.Clear(kWhite);
        const uint8_t bits[8] = {0, 0, 0, 0, 1, 2, 1, 2};
        dib.h.biBitCount = 8;
        StretchDIBits(c.dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, info, DIB_RGB_COLORS, SRCCOPY);
        check("8 bpp");
    }
    {
        c.Clear(kWhite);
        uint8_t bits[24] = {};
        for (int x = 0; x < 4; ++x) {
            bits[3 * x + 1] = 255; // bottom row green (B, G, R)
            bits[12 + 3 * x + (x % 2 == 0 ? 2 : 0)] = 255;
        }
        dib.h.biBitCount = 24;
        StretchDIBits(c.dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, info, DIB_RGB_COLORS, SRCCOPY);
        check("24 bpp");
    }
    {
        // Top-down (negative height) 32 bpp.
        c.Clear(kWhite);
        DWORD bits[8] = {0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF, 0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00};
        dib.h.biBitCount = 32;
        dib.h.biHeight = -2;
        StretchDIBits(c.dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, info, DIB_RGB_COLORS, SRCCOPY);
        check("32 bpp top-down");
        dib.h.biHeight = 2;
    }
    {
        // 16 bpp 5-5-5.
        c.Clear(kWhite);
        WORD bits[8] = {0x03E0, 0x03E0, 0x03E0, 0x03E0, 0x7C00, 0x001F, 0x7C00, 0x001F};
        dib.h.biBitCount = 16;
        StretchDIBits(c.dc(), 0, 0, 4, 2, 0, 0, 4, 2, bits, info, DIB_RGB_COLORS, SRCCOPY);
        check("16 bpp");
    }
    {
        // A source rectangle of a bottom-up DIB counts from its bottom: row 0 is the green row.
        c.Clear(kWhite);
        const uint8_t bits[8] = {0, 0, 0, 0, 1, 2, 1, 2};
        dib.h.biBitCount = 8;
        StretchDIBits(c.dc(), 0, 0, 4, 1, 0, 0, 4, 1, bits, info, DIB_RGB_COLORS, SRCCOPY);
        EXPECT_EQ(c.At(0, 0), kGreen);
    }
}

TEST(GdiBlit, SetDIBitsToDeviceAndPaletteColours) {
    Canvas c(2, 2);
    Dib dib{};
    dib.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 8, BI_RGB, 0, 0, 0, 2, 0};
    dib.colors[0] = RGBQUAD{0, 0, 255, 0};
    dib.colors[1] = RGBQUAD{255, 0, 0, 0};
    const uint8_t bits[8] = {0, 1, 0, 0, 1, 0, 0, 0}; // bottom row: red blue; top row: blue red
    ASSERT_EQ(SetDIBitsToDevice(c.dc(), 0, 0, 2, 2, 0, 0, 0, 2, bits, reinterpret_cast<BITMAPINFO*>(&dib),
                                DIB_RGB_COLORS),
              2);
    EXPECT_EQ(c.At(0, 0), kBlue);
    EXPECT_EQ(c.At(0, 1), kRed);

    // DIB_PAL_COLORS: the table holds indexes into the DC's palette.
    struct {
        BITMAPINFOHEADER h;
        WORD idx[2];
    } pal{};
    pal.h = dib.h;
    pal.idx[0] = 13; // default palette: pure red
    pal.idx[1] = 16; // pure blue
    c.Clear(kWhite);
    SetDIBitsToDevice(c.dc(), 0, 0, 2, 2, 0, 0, 0, 2, bits, reinterpret_cast<BITMAPINFO*>(&pal),
                      DIB_PAL_COLORS);
    EXPECT_EQ(c.At(0, 0), kBlue);
    EXPECT_EQ(c.At(1, 0), kRed);
}

TEST(GdiPixels, SetPixelAndGetPixelHonourTheClip) {
    Canvas c(4, 4);
    EXPECT_EQ(SetPixel(c.dc(), 1, 1, kRed), kRed);
    EXPECT_EQ(GetPixel(c.dc(), 1, 1), kRed);
    EXPECT_EQ(GetPixel(c.dc(), 4, 0), CLR_INVALID); // outside the bitmap
    EXPECT_EQ(GetPixel(c.dc(), -1, 0), CLR_INVALID);
    IntersectClipRect(c.dc(), 0, 0, 1, 1);
    EXPECT_EQ(GetPixel(c.dc(), 1, 1), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc(), 2, 2, kRed), CLR_INVALID);
    EXPECT_EQ(c.At(2, 2), kWhite);
}

TEST(GdiPixels, FloodFillStopsAtTheBorderColour) {
    Canvas c(10, 10);
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(c.dc(), 2, 2, 8, 8);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(c.dc(), red);
    ASSERT_TRUE(FloodFill(c.dc(), 4, 4, kBlack));
    EXPECT_EQ(c.Count(kRed), 16);
    EXPECT_EQ(c.At(0, 0), kWhite);
    ASSERT_TRUE(ExtFloodFill(c.dc(), 0, 0, kWhite, FLOODFILLSURFACE));
    EXPECT_EQ(c.Count(kWhite), 0);
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(red);
}
