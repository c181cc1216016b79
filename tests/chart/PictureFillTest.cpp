// The picture fill's seam to the raster images: the platform's bitmap files first, then the installed
// decoders, then the chart's stand-in picture.
#include "ChartTestSupport.h"

#include "chart/PictureDecoders.h"
#include "chart/SRGraphBackground.h"

#include "platform/base/CodePage.h"
#include "platform/framework/CGdiObject.h"
#include "support/TestSupport.h"
#include "tests/toolkit/ImageTestSupport.h"
#include "toolkit/SECJpeg.h"

#include <gtest/gtest.h>

#include <string>

using charttest::Canvas;

namespace {
constexpr COLORREF kBlue = RGB(0, 0, 255);

HBITMAP SolidBitmap(COLORREF colour) {
    HBITMAP bitmap = ::CreateBitmap(2, 2, 1, 32, nullptr);
    CDC memory;
    memory.Attach(::CreateCompatibleDC(nullptr));
    HGDIOBJ old = ::SelectObject(memory.m_hDC, bitmap);
    CRect all(0, 0, 2, 2);
    memory.FillSolidRect(&all, colour);
    ::SelectObject(memory.m_hDC, old);
    return bitmap;
}

// An image class of the shape the toolkit's raster images have.
struct FakeImage {
    bool LoadImageFile(LPCTSTR path) { return std::u16string(path).ends_with(u".jpg"); }
    CBitmap* CreateBitmap(CDC*) {
        auto* bitmap = new CBitmap;
        bitmap->Attach(SolidBitmap(kBlue));
        return bitmap;
    }
};

struct DecoderReset {
    ~DecoderReset() { SRGSetPictureDecoders(SRGDefaultPictureDecoders()); }
};

void DrawPicture(Canvas& canvas, const CString& name) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    auto* background = new SRGraphBackground;
    background->SetRect(0, 0, 40, 40);
    background->GetStyle().SetFrameFillKind(6);
    background->GetStyle().m_dwSecondary |= SRGS_STRETCH;
    background->SetPictureName(name);
    chart.AddComponent(background);
    chart.DrawGraph(canvas.DC(), nullptr);
}
} // namespace

TEST(PictureFill, FilesGoThroughTheDecodersAndFallBackToTheStandIn) {
    DecoderReset reset;
    SRGSetPictureDecoders({SRGMakeRasterDecoder<FakeImage>()});
    Canvas canvas(60, 60);
    DrawPicture(canvas, u"/nowhere/sky.jpg");
    EXPECT_EQ(canvas.Count(RECT{1, 1, 39, 39}, kBlue), 38 * 38);
    EXPECT_EQ(canvas.At(50, 50), RGB(255, 255, 255));

    // No decoder reads it: the stand-in picture (grey with a red cross) is stretched over the area.
    canvas.Clear(RGB(255, 255, 255));
    DrawPicture(canvas, u"/nowhere/sky.png");
    EXPECT_EQ(canvas.Count(RECT{0, 0, 40, 40}, kBlue), 0);
    EXPECT_GT(canvas.Count(RECT{0, 0, 40, 40}, RGB(192, 192, 192)), 400);
    EXPECT_GT(canvas.Count(RECT{0, 0, 40, 40}, RGB(255, 0, 0)), 20);
}

// Without a decoder installed, the toolkit's images read what the bitmap file loader cannot: a JPEG file.
TEST(PictureFill, JpegFilesAreReadByTheToolkitsImages) {
    const int width = 8;
    const int height = 8;
    imagetest::Bytes bits(imagetest::PaddedRow(24, width) * height);
    for (size_t i = 0; i + 2 < bits.size(); i += 3) {
        bits[i] = 255; // blue, green, red
    }
    SECJpeg jpeg;
    ASSERT_TRUE(imagetest::HoldBmp(jpeg, imagetest::MakeBmp(imagetest::Header(width, height, 24), {}, bits)));
    const CString path = Utf8ToUtf16((testsupport::ScratchDir() / "sky.jpg").string()).c_str();
    ASSERT_TRUE(jpeg.SaveImageFile(path));

    Canvas canvas(60, 60);
    DrawPicture(canvas, path);
    int bluish = 0;
    for (int y = 2; y < 38; ++y) {
        for (int x = 2; x < 38; ++x) {
            const COLORREF c = canvas.At(x, y);
            bluish += GetBValue(c) > 230 && GetRValue(c) < 25 && GetGValue(c) < 25 ? 1 : 0;
        }
    }
    EXPECT_EQ(bluish, 36 * 36);
}
