// The gradient caption: bands of the fill, the text split at the hyphen, the caption rectangle.
#include "platform/framework/FrameworkTestSupport.h"

#include "platform/framework/CGdiObject.h"
#include "toolkit/SECGradientCaption.h"

namespace {

using GradientCaptionTest = fwtest::FrameworkTest;

// The colour of each pixel along the middle row of a fill of `width` from black to `end`.
std::vector<COLORREF> FillRow(int width, COLORREF end) {
    CWindowDC screen(nullptr);
    CDC dc;
    CBitmap bitmap;
    EXPECT_TRUE(dc.CreateCompatibleDC(&screen));
    EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&screen, width + 10, 4));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width + 10, 4, RGB(1, 2, 3));
    SECGradientCaption::GradientFill(&dc, CRect(0, 0, width, 4), SECGradientCaption::kSteps, RGB(0, 0, 0),
                                     end);
    std::vector<COLORREF> row;
    for (int x = 0; x < width + 1; ++x) {
        row.push_back(dc.GetPixel(x, 2));
    }
    dc.SelectObject(old);
    return row;
}

TEST_F(GradientCaptionTest, NarrowCaptionsGetOneBandPerPixelWideOnesSixtyBands) {
    const COLORREF end = RGB(0, 84, 227);
    struct Case {
        int width;
        int bands;
        int bandWidth;
    };
    for (Case k : {Case{40, 40, 1}, Case{200, 60, 3}, Case{61, 60, 1}}) {
        const std::vector<COLORREF> row = FillRow(k.width, end);
        for (int band = 0; band < k.bands; ++band) {
            // Each band's colour: the 8.8 step from black, never past the end colour.
            const int g = std::min(band * ((84 * 256) / k.bands) >> 8, 84);
            const int b = std::min(band * ((227 * 256) / k.bands) >> 8, 227);
            EXPECT_EQ(row[band * k.bandWidth], RGB(0, g, b)) << k.width << " band " << band;
        }
        const int lastStart = (k.bands - 1) * k.bandWidth;
        for (int x = lastStart; x < k.width; ++x) {
            EXPECT_EQ(row[x], row[lastStart]) << k.width << ": the last band reaches the edge at " << x;
        }
        EXPECT_EQ(row[k.width], RGB(1, 2, 3)) << "nothing beyond the rectangle";
    }
}

TEST_F(GradientCaptionTest, TextSplitsAtTheFirstHyphen) {
    struct Case {
        const char16_t* text;
        const char16_t* first;
        const char16_t* rest;
    };
    const Case cases[] = {
        {u"Receiver - Log 1", u"Receiver ", u"- Log 1"},
        {u"Receiver", u"Receiver", u""},
        {u"-x-y", u"", u"-x-y"},
    };
    for (const Case& k : cases) {
        CString first;
        CString rest;
        SECGradientCaption::SplitText(k.text, first, rest);
        EXPECT_EQ(first, CString(k.first));
        EXPECT_EQ(rest, CString(k.rest));
    }
}

TEST_F(GradientCaptionTest, CaptionRectLeavesRoomForTheButtons) {
    const int frameX = ::GetSystemMetrics(SM_CXFRAME);
    const int frameY = ::GetSystemMetrics(SM_CYFRAME);
    const int button = ::GetSystemMetrics(SM_CXSIZE);
    const int border = ::GetSystemMetrics(SM_CXBORDER);
    struct Case {
        DWORD style;
        BOOL close;
        int buttonsRight; // buttons right of the caption besides the one always there
    };
    const Case cases[] = {
        {WS_OVERLAPPEDWINDOW, TRUE, 2},
        {WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX, TRUE, 1},
        {WS_CAPTION | WS_SYSMENU, TRUE, 0},
        {WS_CAPTION | WS_SYSMENU, FALSE, -1},
    };
    for (const Case& k : cases) {
        CRect r = SECGradientCaption::CaptionRect(400, k.style, k.close);
        EXPECT_EQ(r.left, frameX);
        EXPECT_EQ(r.top, frameY - ((k.style & WS_THICKFRAME) ? 0 : 1));
        EXPECT_EQ(r.Height(), ::GetSystemMetrics(SM_CYSIZE));
        const int d = ((k.style & WS_MAXIMIZEBOX) ? 1 : 0) + ((k.style & WS_MINIMIZEBOX) ? 1 : 0);
        EXPECT_EQ(r.right, 400 - button - 1 + border - k.buttonsRight * button - (d > 0 ? 1 : 0)) << k.style;
    }
}

} // namespace
