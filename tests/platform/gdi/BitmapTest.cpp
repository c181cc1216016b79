// Bitmaps: device bitmaps and their bits, DIB sections of every depth, DIB conversions, the packed-DIB
// reader.
#include "tests/platform/gdi/GdiTestSupport.h"

#include "platform/gdi/PlainDib.h"

#include <cstring>

using namespace gditest;

namespace {
struct Info {
    BITMAPINFOHEADER h;
    RGBQUAD colors[256];
};

Info Header(int w, int h, int bpp, DWORD used = 0) {
    Info i{};
    i.h =
        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, used, 0};
    return i;
}
} // namespace

TEST(GdiBitmaps, MonochromeBitsAreWordAlignedMostSignificantFirst) {
    const uint8_t bits[4] = {0x80, 0x00, 0x40, 0x00}; // (0,0) white, (1,1) white
    HBITMAP b = CreateBitmap(3, 2, 1, 1, bits);
    BITMAP bm{};
    GetObjectW(b, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidthBytes, 2);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmBits, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    EXPECT_EQ(GetPixel(mem, 0, 0), kWhite);
    EXPECT_EQ(GetPixel(mem, 1, 0), kBlack);
    EXPECT_EQ(GetPixel(mem, 1, 1), kWhite);
    SetPixel(mem, 2, 0, kWhite);
    SelectObject(mem, old);
    DeleteDC(mem);
    uint8_t out[4] = {};
    EXPECT_EQ(GetBitmapBits(b, sizeof(out), out), 4);
    EXPECT_EQ(out[0], 0xA0);
    EXPECT_EQ(out[2], 0x40);
    EXPECT_EQ(GetBitmapBits(b, 0, nullptr), 4);
    const uint8_t flip[4] = {0x00, 0x00, 0xE0, 0x00};
    EXPECT_EQ(SetBitmapBits(b, sizeof(flip), flip), 4);
    GetBitmapBits(b, sizeof(out), out);
    EXPECT_EQ(out[0], 0x00);
    EXPECT_EQ(out[2], 0xE0);
    DeleteObject(b);
}

TEST(GdiBitmaps, DimensionIsBookkeeping) {
    HBITMAP b = CreateBitmap(1, 1, 1, 32, nullptr);
    SIZE s{1, 1};
    SetBitmapDimensionEx(b, 250, 120, &s);
    EXPECT_EQ(s.cx, 0);
    GetBitmapDimensionEx(b, &s);
    EXPECT_EQ(s.cx, 250);
    EXPECT_EQ(s.cy, 120);
    DeleteObject(b);
}

TEST(GdiBitmaps, DibSectionBitsFollowDrawingAtEveryDepth) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(testing::Message() << bpp << " bpp " << (topDown ? "top-down" : "bottom-up"));
            Info info = Header(5, 3, bpp);
            info.h.biHeight = topDown ? -3 : 3;
            info.colors[0] = RGBQUAD{255, 255, 255, 0}; // white
            info.colors[1] = RGBQUAD{0, 0, 255, 0};     // red
            void* bits = nullptr;
            HBITMAP b = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                         nullptr, 0);
            ASSERT_NE(b, nullptr);
            ASSERT_NE(bits, nullptr);
            DIBSECTION ds{};
            ASSERT_EQ(GetObjectW(b, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
            EXPECT_EQ(ds.dsBm.bmBits, bits);
            EXPECT_EQ(ds.dsBm.bmBitsPixel, bpp);
            int stride = ((5 * bpp + 31) / 32) * 4;
            EXPECT_EQ(ds.dsBm.bmWidthBytes, stride);
            HDC mem = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(mem, b);
            RECT all{0, 0, 5, 3};
            FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            SetPixel(mem, 4, 0, kRed); // top-right pixel
            GdiFlush();
            // Where the top row lives in memory depends on the orientation.
            const uint8_t* top = static_cast<uint8_t*>(bits) + (topDown ? 0 : 2 * stride);
            const uint8_t* bottom = static_cast<uint8_t*>(bits) + (topDown ? 2 * stride : 0);
            switch (bpp) {
            case 1:
                EXPECT_EQ(top[0], 0x08); // pixel 4 is index 1 (red); white is index 0
                EXPECT_EQ(bottom[0], 0x00);
                break;
            case 4:
                EXPECT_EQ(top[2], 0x10);
                break;
            case 8:
                EXPECT_EQ(top[4], 1);
                EXPECT_EQ(top[0], 0);
                break;
            case 16:
                EXPECT_EQ(top[8] | (top[9] << 8), 0x7C00);
                EXPECT_EQ(top[0] | (top[1] << 8), 0x7FFF);
                break;
            case 24:
                EXPECT_EQ(top[12], 0);
                EXPECT_EQ(top[14], 255);
                EXPECT_EQ(bottom[0], 255);
                break;
            case 32:
                EXPECT_EQ(top[16 + 2], 255);
                EXPECT_EQ(top[16 + 1], 0);
                break;
            }
            // Writing the bits changes what the DC draws from.
            std::memset(bits, 0, static_cast<size_t>(stride) * 3);
            COLORREF expect = bpp <= 8 ? kWhite : kBlack; // index 0 or colour 0
            EXPECT_EQ(GetPixel(mem, 0, 0), expect);
            SelectObject(mem, old);
            DeleteDC(mem);
            DeleteObject(b);
        }
    }
}

TEST(GdiBitmaps, PaletteDibSectionsHoldOnlyTheirColours) {
    Info info = Header(2, 1, 8, 2);
    info.colors[0] = RGBQUAD{0, 0, 0, 0};
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    void* bits = nullptr;
    HBITMAP b =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    // Light grey is stored as the nearest entry, white, and reads back as such.
    SetPixel(mem, 0, 0, RGB(200, 200, 200));
    EXPECT_EQ(static_cast<uint8_t*>(bits)[0], 1);
    EXPECT_EQ(GetPixel(mem, 0, 0), kWhite);
    // A new colour table recolours the same bits.
    RGBQUAD red{0, 0, 255, 0};
    EXPECT_EQ(SetDIBColorTable(mem, 1, 1, &red), 1u);
    EXPECT_EQ(GetPixel(mem, 0, 0), kRed);
    RGBQUAD table[2]{};
    EXPECT_EQ(GetDIBColorTable(mem, 0, 2, table), 2u);
    EXPECT_EQ(table[1].rgbRed, 255);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(b);
}

TEST(GdiBitmaps, BitfieldsDibSection) {
    struct {
        BITMAPINFOHEADER h;
        DWORD masks[3];
    } info{};
    info.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, -1, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0};
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F; // 5-6-5
    void* bits = nullptr;
    HBITMAP b =
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(b, nullptr);
    auto* px = static_cast<WORD*>(bits);
    px[0] = 0x07E0; // green
    px[1] = 0xF800; // red
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    EXPECT_EQ(GetPixel(mem, 0, 0), kGreen);
    EXPECT_EQ(GetPixel(mem, 1, 0), kRed);
    SetPixel(mem, 0, 0, kBlue);
    EXPECT_EQ(px[0], 0x001F);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(b);
}

TEST(GdiBitmaps, GetAndSetDIBitsRoundTrip) {
    Canvas c(3, 2);
    SetPixel(c.dc(), 0, 0, kRed);
    SetPixel(c.dc(), 2, 1, kBlue);
    // Describe-only call.
    BITMAPINFO probe{};
    probe.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_TRUE(GetDIBits(c.dc(), c.bitmap(), 0, 0, nullptr, &probe, DIB_RGB_COLORS));
    EXPECT_EQ(probe.bmiHeader.biWidth, 3);
    EXPECT_EQ(probe.bmiHeader.biHeight, 2);
    EXPECT_EQ(probe.bmiHeader.biBitCount, 32);
    // 24 bpp bottom-up: rows of 9 bytes padded to 12, bottom row first.
    Info info = Header(3, 2, 24);
    uint8_t bits[24] = {};
    ASSERT_EQ(GetDIBits(c.dc(), c.bitmap(), 0, 2, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
              2);
    EXPECT_EQ(info.h.biSizeImage, 24u);
    EXPECT_EQ(bits[6], 255);      // bottom row, pixel 2: blue
    EXPECT_EQ(bits[12 + 2], 255); // top row, pixel 0: red
    // Back into a fresh bitmap, one scan at a time.
    HBITMAP copy = CreateCompatibleBitmap(c.dc(), 3, 2);
    EXPECT_EQ(SetDIBits(c.dc(), copy, 0, 1, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 1);
    EXPECT_EQ(SetDIBits(c.dc(), copy, 1, 1, bits + 12, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
              1);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, copy);
    EXPECT_EQ(GetPixel(mem, 0, 0), kRed);
    EXPECT_EQ(GetPixel(mem, 2, 1), kBlue);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(copy);
    // To 1 bpp the colours go to the nearer of black and white, with a two-colour table.
    Info mono = Header(3, 2, 1);
    uint8_t mbits[8] = {};
    GetDIBits(c.dc(), c.bitmap(), 0, 2, mbits, reinterpret_cast<BITMAPINFO*>(&mono), DIB_RGB_COLORS);
    EXPECT_EQ(mono.colors[1].rgbRed, 255);
    EXPECT_EQ(mbits[4] & 0xE0, 0x60); // top row: red (dark) then white, white
}

TEST(GdiBitmaps, CreateDIBitmapInitialisesFromBits) {
    Info info = Header(2, 1, 8, 2);
    info.colors[0] = RGBQUAD{0, 255, 0, 0};
    info.colors[1] = RGBQUAD{255, 0, 0, 0};
    const uint8_t bits[4] = {1, 0, 0, 0};
    HDC screen = CreateICW(u"DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP b =
        CreateDIBitmap(screen, &info.h, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ASSERT_NE(b, nullptr);
    BITMAP bm{};
    GetObjectW(b, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    EXPECT_EQ(GetPixel(mem, 0, 0), kBlue);
    EXPECT_EQ(GetPixel(mem, 1, 0), kGreen);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteDC(screen);
    DeleteObject(b);
}

TEST(GdiBitmaps, PackedDibReaderAcceptsWellFormedInput) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
        uint8_t rows[2][4];
    } dib{};
    dib.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 3, 2, 1, 1, BI_RGB, 0, 0, 0, 2, 0};
    dib.colors[1] = RGBQUAD{255, 255, 255, 0};
    dib.rows[1][0] = 0xA0; // top row: white, black, white
    HBITMAP b = GdiCreateBitmapFromPackedDib(&dib, sizeof(dib), false);
    ASSERT_NE(b, nullptr);
    BITMAP bm{};
    GetObjectW(b, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1); // a black-and-white DIB becomes a monochrome bitmap
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    EXPECT_EQ(GetPixel(mem, 0, 0), kWhite);
    EXPECT_EQ(GetPixel(mem, 1, 0), kBlack);
    EXPECT_EQ(GetPixel(mem, 0, 1), kBlack);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(b);
    HBITMAP section = GdiCreateBitmapFromPackedDib(&dib, sizeof(dib), true);
    ASSERT_NE(section, nullptr);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(section, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(static_cast<uint8_t*>(ds.dsBm.bmBits)[4], 0xA0);
    DeleteObject(section);

    // The same as a .bmp file.
    std::vector<uint8_t> file(sizeof(BITMAPFILEHEADER) + sizeof(dib));
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(file.size()), 0, 0,
                        static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + 8)};
    std::memcpy(file.data(), &fh, sizeof(fh));
    std::memcpy(file.data() + sizeof(fh), &dib, sizeof(dib));
    HBITMAP fromFile = GdiCreateBitmapFromBmpFile(file.data(), file.size(), false);
    EXPECT_NE(fromFile, nullptr);
    DeleteObject(fromFile);
}

TEST(GdiBitmaps, PackedDibReaderRefusesMalformedInput) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[256];
        uint8_t bits[64];
    } dib{};
    auto reject = [&](size_t size, const char* why) {
        SetLastError(0);
        EXPECT_EQ(GdiCreateBitmapFromPackedDib(&dib, size, false), nullptr) << why;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << why;
    };
    dib.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 4, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    size_t whole = sizeof(BITMAPINFOHEADER) + 256 * 4 + 16;
    HBITMAP ok = GdiCreateBitmapFromPackedDib(&dib, whole, false);
    EXPECT_NE(ok, nullptr);
    DeleteObject(ok);
    reject(whole - 1, "bits cut short");
    reject(30, "header cut short");
    reject(sizeof(BITMAPINFOHEADER) + 100, "colour table cut short");
    dib.h.biClrUsed = 300;
    reject(sizeof(dib), "more colours than 8 bits address");
    dib.h.biClrUsed = 0;
    dib.h.biBitCount = 7;
    reject(sizeof(dib), "odd depth");
    dib.h.biBitCount = 8;
    dib.h.biWidth = 0;
    reject(sizeof(dib), "no width");
    dib.h.biWidth = 100000;
    reject(sizeof(dib), "too wide");
    dib.h.biWidth = 4;
    dib.h.biSize = 7;
    reject(sizeof(dib), "header size");
    dib.h.biSize = sizeof(BITMAPINFOHEADER);
    dib.h.biCompression = BI_JPEG;
    reject(sizeof(dib), "compressed with a codec");
    EXPECT_EQ(GdiCreateBitmapFromPackedDib(nullptr, 100, false), nullptr);
}

TEST(GdiBitmaps, RunLengthEncodedDibs) {
    // 4x2 RLE8: bottom row: 4 x index 1; top row: absolute 1,0,1 then 1 x index 0; end of bitmap.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
        uint8_t rle[16];
    } dib{};
    dib.h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RLE8, 14, 0, 0, 2, 0};
    dib.colors[1] = RGBQUAD{0, 0, 255, 0};
    const uint8_t rle[14] = {4, 1, 0, 0, 0, 3, 1, 0, 1, 0, 1, 0, 0, 1};
    std::memcpy(dib.rle, rle, sizeof(rle));
    size_t size = sizeof(BITMAPINFOHEADER) + 8 + sizeof(rle);
    HBITMAP b = GdiCreateBitmapFromPackedDib(&dib, size, false);
    ASSERT_NE(b, nullptr);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, b);
    EXPECT_EQ(GetPixel(mem, 0, 1), kRed);
    EXPECT_EQ(GetPixel(mem, 3, 1), kRed);
    EXPECT_EQ(GetPixel(mem, 0, 0), kRed);
    EXPECT_EQ(GetPixel(mem, 1, 0), kBlack);
    EXPECT_EQ(GetPixel(mem, 3, 0), kBlack);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(b);
    // A run pointing past the input is refused.
    dib.rle[5] = 200;
    EXPECT_EQ(GdiCreateBitmapFromPackedDib(&dib, size, false), nullptr);
}

TEST(GdiBitmaps, PlainDibReaderConvertsEveryStoredForm) {
    GdiPlainDib plain;
    auto read = [&](const void* dib, size_t size) { return GdiReadPlainDib(dib, size, &plain); };
    auto expectPlain = [&](int bpp, size_t colours) {
        EXPECT_EQ(plain.header.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(plain.header.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_GT(plain.header.biHeight, 0);
        EXPECT_EQ(plain.header.biBitCount, bpp);
        EXPECT_EQ(plain.colors.size(), colours);
        EXPECT_EQ(plain.bits.size(), plain.header.biSizeImage);
        EXPECT_EQ(plain.bits.size(),
                  static_cast<size_t>((plain.header.biWidth * bpp + 31) / 32 * 4 * plain.header.biHeight));
    };

    // A core header with three-byte colours.
    struct {
        BITMAPCOREHEADER h;
        BYTE colors[6];
        BYTE bits[4];
    } core{{sizeof(BITMAPCOREHEADER), 3, 1, 1, 1}, {0, 0, 255, 255, 0, 0}, {0x40, 0, 0, 0}};
    ASSERT_TRUE(read(&core, sizeof(core)));
    expectPlain(1, 2);
    EXPECT_EQ(plain.colors[0].rgbRed, 255);
    EXPECT_EQ(plain.colors[1].rgbBlue, 255);
    EXPECT_EQ(plain.bits[0], 0x40);

    // Top-down rows, and two of 256 colours stored.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
        BYTE rows[2][4];
    } topDown{{sizeof(BITMAPINFOHEADER), 2, -2, 1, 8, BI_RGB, 0, 0, 0, 2, 0}, {}, {{1, 0, 0, 0}, {0, 1, 0, 0}}};
    topDown.colors[1] = RGBQUAD{9, 8, 7, 0};
    ASSERT_TRUE(read(&topDown, sizeof(topDown)));
    expectPlain(8, 256);
    EXPECT_EQ(plain.header.biClrUsed, 2u);
    EXPECT_EQ(plain.colors[1].rgbRed, 7);
    EXPECT_EQ(plain.colors[2].rgbRed, 0);
    EXPECT_EQ(plain.bits[1], 1); // the bottom row first
    EXPECT_EQ(plain.bits[4], 1);

    // Run-length encoded rows come out whole.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
        BYTE rle[14];
    } rle{{sizeof(BITMAPINFOHEADER), 4, 2, 1, 8, BI_RLE8, 14, 0, 0, 2, 0},
          {},
          {4, 1, 0, 0, 0, 3, 1, 0, 1, 0, 1, 0, 0, 1}};
    ASSERT_TRUE(read(&rle, sizeof(rle)));
    expectPlain(8, 256);
    const std::vector<BYTE> rows{1, 1, 1, 1, 1, 0, 1, 0};
    EXPECT_EQ(plain.bits, rows);

    // 5-6-5 bit fields become 24-bit rows; the standard 8-8-8 ones stay as they are.
    struct {
        BITMAPINFOHEADER h;
        DWORD masks[3];
        WORD pixels[2];
    } rgb565{{sizeof(BITMAPINFOHEADER), 2, 1, 1, 16, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0xF800, 0x07E0, 0x001F},
             {0xF800, 0x07E0}};
    ASSERT_TRUE(read(&rgb565, sizeof(rgb565)));
    expectPlain(24, 0);
    const std::vector<BYTE> wide{0, 0, 255, 0, 255, 0, 0, 0};
    EXPECT_EQ(plain.bits, wide);
    struct {
        BITMAPINFOHEADER h;
        DWORD masks[3];
        DWORD pixel;
    } rgb888{{sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_BITFIELDS, 0, 0, 0, 0, 0}, {0xFF0000, 0xFF00, 0xFF},
             0x00123456};
    ASSERT_TRUE(read(&rgb888, sizeof(rgb888)));
    expectPlain(32, 0);
    EXPECT_EQ(plain.bits, (std::vector<BYTE>{0x56, 0x34, 0x12, 0}));

    // Refused as the bitmap reader refuses them.
    SetLastError(0);
    EXPECT_FALSE(read(&topDown, sizeof(topDown) - 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    rle.rle[5] = 200;
    EXPECT_FALSE(read(&rle, sizeof(rle)));
    EXPECT_FALSE(GdiReadPlainBmpFile(&topDown, sizeof(topDown), &plain)); // no file header

    // A .bmp file image.
    std::vector<BYTE> file(sizeof(BITMAPFILEHEADER) + sizeof(topDown));
    const BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(file.size()), 0, 0,
                              static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + 8)};
    std::memcpy(file.data(), &fh, sizeof(fh));
    std::memcpy(file.data() + sizeof(fh), &topDown, sizeof(topDown));
    ASSERT_TRUE(GdiReadPlainBmpFile(file.data(), file.size(), &plain));
    EXPECT_EQ(plain.bits[4], 1);
    EXPECT_TRUE(GdiBitmapSizeAllowed(32767, 4096));
    EXPECT_FALSE(GdiBitmapSizeAllowed(32768, 1));
    EXPECT_FALSE(GdiBitmapSizeAllowed(32767, 32767));
}

TEST(GdiIcons, IconsDrawThroughTheirMask) {
    Canvas c(8, 8);
    c.Clear(kGreen);
    // 2x2 icon: mask keeps the destination at (0,0), colour paints red at (1,0) and blue row below.
    const uint8_t maskBits[4] = {0x80, 0, 0x00, 0};
    HBITMAP mask = CreateBitmap(2, 2, 1, 1, maskBits);
    const DWORD colorBits[4] = {0x000000, 0xFF0000, 0x0000FF, 0x0000FF};
    HBITMAP color = CreateBitmap(2, 2, 1, 32, colorBits);
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, nullptr);
    DeleteObject(mask); // the icon keeps its own copies
    DeleteObject(color);
    ASSERT_TRUE(DrawIconEx(c.dc(), 3, 3, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.At(3, 3), kGreen);
    EXPECT_EQ(c.At(4, 3), kRed);
    EXPECT_EQ(c.At(3, 4), kBlue);
    EXPECT_EQ(c.At(5, 5), kGreen);
    // Stretched to 4x4.
    ASSERT_TRUE(DrawIconEx(c.dc(), 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.At(3, 1), kRed);
    ICONINFO out{};
    ASSERT_TRUE(GetIconInfo(icon, &out));
    EXPECT_TRUE(out.fIcon);
    EXPECT_EQ(out.xHotspot, 1u);
    BITMAP bm{};
    GetObjectW(out.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteObject(out.hbmMask);
    DeleteObject(out.hbmColor);
    HICON copy = CopyIcon(icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_TRUE(DrawIcon(c.dc(), 0, 0, copy));
    EXPECT_TRUE(DestroyIcon(copy));
}
