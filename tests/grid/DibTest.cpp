// Bitmap cell values: the pool that loads the bitmaps they name, and the drawing of a packed DIB.
#include "grid/CGXDIB.h"
#include "grid/CGXDIBPool.h"
#include "platform/base/GlobalMemory.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Gdi.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 2 x 2, 24-bit DIB: bottom row red, green; top row blue, white.
HGLOBAL MakeTwoByTwo() {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const BYTE bits[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}; // BGR, rows of 8
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof header + sizeof bits);
    auto* data = static_cast<BYTE*>(GlobalLock(block));
    std::memcpy(data, &header, sizeof header);
    std::memcpy(data + sizeof header, bits, sizeof bits);
    GlobalUnlock(block);
    return block;
}

// Draws into a white 8 x 8 surface and reads it back.
class Canvas {
public:
    Canvas() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 8;
        info.bmiHeader.biHeight = -8;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        std::memset(bits, 0xFF, 8 * 8 * 4);
        m_dc.Attach(CreateCompatibleDC(nullptr));
        m_old = SelectObject(m_dc.GetSafeHdc(), m_bitmap);
    }
    ~Canvas() {
        SelectObject(m_dc.GetSafeHdc(), m_old);
        DeleteObject(m_bitmap);
    }
    CDC* dc() { return &m_dc; }
    COLORREF at(int x, int y) { return GetPixel(m_dc.GetSafeHdc(), x, y); }

private:
    CDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

} // namespace

TEST(DibPool, ParsesBitmapValues) {
    CGXDIBPool pool;
    struct Case {
        const char16_t* value;
        bool bitmap;
        const char16_t* key;
    };
    const Case cases[] = {
        {u"#bmp(12)", true, u"#12"},       {u"#BMP(12", true, u"#12"},
        {u"#BMP(\"SKYPIC\")", true, u"SKYPIC"}, {u"#BMP(0)", false, u""},
        {u"#BMP(abc)", false, u""},        {u"#BMP(\"SKYPIC)", false, u""},
        {u"12", false, u""},               {u"#BM", false, u""},
    };
    for (const Case& c : cases) {
        CString key;
        EXPECT_EQ(pool.ParseValue(c.value, key) != nullptr, c.bitmap) << CString(c.value).GetLength();
        if (c.bitmap) {
            EXPECT_EQ(key, CString(c.key));
        }
    }
    CString value;
    pool.FormatIdValue(12, value);
    EXPECT_EQ(value, CString(u"#BMP(12)"));
    pool.FormatNameValue(u"SKYPIC", value);
    EXPECT_EQ(value, CString(u"#BMP(\"SKYPIC\")"));
}

TEST(DibPool, LoadsEachBitmapOnceAndRemembersMissingOnes) {
    CGXDIBPool pool;
    HGLOBAL numbered = pool.LookupDIB(u"#BMP(12)");
    ASSERT_NE(numbered, nullptr);
    EXPECT_EQ(pool.LookupDIB(u"#bmp(12"), numbered);
    HGLOBAL named = pool.LookupDIB(u"#BMP(\"SKYPIC\")");
    ASSERT_NE(named, nullptr);
    EXPECT_NE(named, numbered);
    EXPECT_EQ(pool.LookupDIB(u"#BMP(4711)"), nullptr);
    EXPECT_EQ(pool.LookupDIB(u"satellite 12"), nullptr);

    CGXDIB dib;
    ASSERT_TRUE(dib.AttachHandle(numbered));
    EXPECT_EQ(dib.GetWidth(), 4);
    EXPECT_EQ(dib.GetHeight(), 2);
    EXPECT_EQ(dib.GetColorCount(), 16);
    // The block stays the pool's when the object goes.
    EXPECT_EQ(dib.DetachHandle(), numbered);
    EXPECT_EQ(GetDIBPool(), GetDIBPool());
}

TEST(Dib, PlacementByModeAndFlags) {
    struct Case {
        const char* what;
        LONG width, height;
        CRect dest;
        int mode;
        UINT flags;
        CRect expectedDest, expectedSource;
    };
    const Case cases[] = {
        {"centred both ways", 10, 20, CRect(0, 0, 30, 30), CGXDIB::kClipAndAlign, CGXDIB::kCenter | CGXDIB::kVCenter,
         CRect(10, 5, 20, 25), CRect(0, 0, 10, 20)},
        {"right and bottom", 10, 20, CRect(0, 0, 30, 30), CGXDIB::kClipAndAlign, CGXDIB::kRight | CGXDIB::kBottom,
         CRect(20, 10, 30, 30), CRect(0, 0, 10, 20)},
        {"clipped: left and top part", 40, 40, CRect(0, 0, 30, 10), CGXDIB::kClipAndAlign, 0,
         CRect(0, 0, 30, 10), CRect(0, 30, 30, 40)},
        {"clipped: bottom part", 40, 40, CRect(0, 0, 30, 10), CGXDIB::kClipAndAlign, CGXDIB::kBottom,
         CRect(0, 0, 30, 10), CRect(0, 0, 30, 10)},
        {"stretched", 10, 20, CRect(5, 5, 50, 60), CGXDIB::kStretch, CGXDIB::kCenter, CRect(5, 5, 50, 60),
         CRect(0, 0, 10, 20)},
        {"aspect kept", 100, 50, CRect(0, 0, 50, 50), CGXDIB::kKeepAspect, 0, CRect(0, 0, 50, 25),
         CRect(0, 0, 100, 50)},
        {"aspect kept, centred", 100, 50, CRect(0, 0, 50, 50), CGXDIB::kKeepAspect, CGXDIB::kVCenter,
         CRect(0, 12, 50, 37), CRect(0, 0, 100, 50)},
    };
    for (const Case& c : cases) {
        CRect dest;
        CRect source;
        ASSERT_TRUE(CGXDIB::CalcPlacement(c.width, c.height, c.dest, c.mode, c.flags, nullptr, dest, source))
            << c.what;
        EXPECT_EQ(dest, c.expectedDest) << c.what;
        EXPECT_EQ(source, c.expectedSource) << c.what;
    }
    CRect dest;
    CRect source;
    EXPECT_FALSE(CGXDIB::CalcPlacement(0, 5, CRect(0, 0, 9, 9), 0, 0, nullptr, dest, source));
}

TEST(Dib, DrawsTheRowsTheRightWayUp) {
    HGLOBAL dib = MakeTwoByTwo();
    {
        Canvas canvas;
        CGXDIB::Draw(canvas.dc(), dib, CRect(0, 0, 6, 6), CGXDIB::kClipAndAlign, CGXDIB::kCenter | CGXDIB::kVCenter);
        EXPECT_EQ(canvas.at(2, 2), kBlue);
        EXPECT_EQ(canvas.at(3, 2), kWhite);
        EXPECT_EQ(canvas.at(2, 3), kRed);
        EXPECT_EQ(canvas.at(3, 3), kGreen);
        EXPECT_EQ(canvas.at(1, 1), kWhite);
    }
    {
        // One row of room: the top row, or the bottom one with the bottom flag.
        Canvas canvas;
        CGXDIB::Draw(canvas.dc(), dib, CRect(0, 0, 2, 1), CGXDIB::kClipAndAlign, 0);
        CGXDIB::Draw(canvas.dc(), dib, CRect(0, 4, 2, 5), CGXDIB::kClipAndAlign, CGXDIB::kBottom);
        EXPECT_EQ(canvas.at(0, 0), kBlue);
        EXPECT_EQ(canvas.at(0, 4), kRed);
    }
    // A block too short for its header's bits is not drawn.
    HGLOBAL cut = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + 4);
    std::memcpy(GlobalLock(cut), GlobalLock(dib), sizeof(BITMAPINFOHEADER) + 4);
    GlobalUnlock(cut);
    GlobalUnlock(dib);
    Canvas canvas;
    CGXDIB::Draw(canvas.dc(), cut, CRect(0, 0, 6, 6), CGXDIB::kStretch, 0);
    EXPECT_EQ(canvas.at(3, 3), kWhite);
    GlobalFree(cut);
    GlobalFree(dib);
}
