// JPEG pictures: encoding every depth and decoding colour and grey files, the palette-screen decode, the
// encoder's settings, cut-off, damaged and unsupported files, and file failures.
#include "tests/toolkit/ImageTestSupport.h"

#include "support/TestSupport.h"
#include "toolkit/SECDib.h"
#include "toolkit/SECJpeg.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include <jpeglib.h>

using namespace imagetest;

namespace {

using ColourAt = std::function<COLORREF(int x, int y)>;

// A JPEG written by the library itself, for the kinds of file the image class does not write.
Bytes LibraryJpeg(int width, int height, int components, J_COLOR_SPACE space,
                  const std::function<BYTE(int x, int y, int c)>& sample) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width * components));
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                row[static_cast<size_t>(x * components + c)] =
                    sample(x, static_cast<int>(cinfo.next_scanline), c);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes bytes(out, out + size);
    std::free(out);
    return bytes;
}

// Pixel indices, 16-bit (5-5-5) or 32-bit values packed into padded bottom-up rows.
Bytes PackRows(int bpp, bool msbFirst, int width, int height, const std::function<DWORD(int x, int y)>& value) {
    const size_t padded = PaddedRow(bpp, width);
    Bytes bits(padded * height);
    for (int y = 0; y < height; ++y) {
        BYTE* row = bits.data() + padded * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const DWORD v = value(x, y);
            if (bpp >= 8) {
                for (int b = 0; b < bpp / 8; ++b) {
                    row[x * (bpp / 8) + b] = static_cast<BYTE>(v >> (8 * b));
                }
            } else {
                const int bit = x * bpp % 8;
                const int shift = bpp == 1 && !msbFirst ? bit : 8 - bpp - bit;
                row[x * bpp / 8] |= static_cast<BYTE>(v << shift);
            }
        }
    }
    return bits;
}

Bytes Bmp24(int width, int height, const ColourAt& colour) {
    return MakeBmp(Header(width, height, 24), {}, PackRows(24, true, width, height, [&](int x, int y) {
                       const COLORREF c = colour(x, y);
                       return static_cast<DWORD>(GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16);
                   }));
}

// Pixel (x, y), top-left origin, of a held 24-bit or 8-bit picture.
COLORREF HeldPixel(const SECRasterImage& image, int x, int y) {
    const BYTE* row = image.GetBits() + static_cast<size_t>(PaddedRow(image.GetBitsPerPixel(), image.GetWidth())) *
                                            (image.GetHeight() - 1 - y);
    if (image.GetBitsPerPixel() == 8) {
        const RGBQUAD& q = image.GetColorTable()[row[x]];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    const BYTE* p = row + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

::testing::AssertionResult Near(COLORREF actual, COLORREF expected, int tolerance = 40) {
    for (int shift : {0, 8, 16}) {
        const int a = static_cast<int>((actual >> shift) & 0xFF);
        const int e = static_cast<int>((expected >> shift) & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// 32x32 in four 16x16 quarters: red, green / blue, white.
COLORREF Quarters(int x, int y) {
    if (y < 16) {
        return x < 16 ? kRed : kGreen;
    }
    return x < 16 ? kBlue : kWhite;
}

Bytes QuartersJpeg() {
    SECJpeg image;
    EXPECT_TRUE(HoldBmp(image, Bmp24(32, 32, Quarters)));
    return WriteToBytes(image);
}

} // namespace

TEST(JpegImage, EncodesAndDecodesAPictureLeavingItAsItWas) {
    SECJpeg image;
    ASSERT_TRUE(HoldBmp(image, Bmp24(32, 32, Quarters)));
    const Snapshot before = Snap(image);
    const Bytes jpeg = WriteToBytes(image);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
    EXPECT_EQ(Snap(image), before);

    SECJpeg decoded;
    ASSERT_TRUE(ReadFromBytes(decoded, jpeg));
    EXPECT_EQ(decoded.GetWidth(), 32);
    EXPECT_EQ(decoded.GetHeight(), 32);
    EXPECT_EQ(decoded.GetBitsPerPixel(), 24);
    EXPECT_TRUE(decoded.AreRowsPadded());
    EXPECT_EQ(decoded.GetPalette(), nullptr);
    EXPECT_EQ(decoded.m_nPixelBufferSize, 32 * 96);
    for (int y : {4, 27}) {
        for (int x : {4, 27}) {
            EXPECT_TRUE(Near(HeldPixel(decoded, x, y), Quarters(x, y))) << x << "," << y;
        }
    }
}

TEST(JpegImage, EncodesEveryDepthRowByRow) {
    // 21 pixels: 1- and 4-bit rows end inside a byte. A black and white pattern that shifts by a pixel each
    // row, so a row taken from the wrong bits, or pixels from the wrong end of a byte, show; at quality 100
    // grey levels come back within a few steps. Then a red picture, for the order of the colour bytes.
    const auto on = [](int x, int y) { return (x + y) % 7 < 3; };
    struct Case {
        const char* what;
        int bpp;
        bool msbFirst;
        DWORD white; // the pixel value, or index 1 of a black, white, red table
        DWORD red;
    };
    const Case cases[] = {{"1 bit", 1, true, 1, 1},           {"1 bit, least significant first", 1, false, 1, 1},
                          {"4 bits", 4, true, 1, 2},          {"8 bits", 8, true, 1, 2},
                          {"16 bits", 16, true, 0x7FFF, 0x7C00}, {"32 bits", 32, true, 0xFFFFFF, 0xFF0000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<RGBQUAD> table;
        if (c.bpp <= 8) {
            table.assign(size_t{1} << c.bpp, RGBQUAD{0, 0, 0, 0});
            table[1] = RGBQUAD{255, 255, 255, 0};
            table[c.bpp == 1 ? 1 : 2] = c.bpp == 1 ? table[1] : RGBQUAD{0, 0, 255, 0};
        }
        auto roundTrip = [&](const std::function<DWORD(int, int)>& value, SECJpeg& decoded) {
            SECJpeg image;
            image.SetMsbFirst(c.msbFirst);
            image.m_nQuality = 100;
            ASSERT_TRUE(HoldBmp(image, MakeBmp(Header(21, 16, c.bpp), table,
                                               PackRows(c.bpp, c.msbFirst, 21, 16, value))));
            const Snapshot before = Snap(image);
            const Bytes jpeg = WriteToBytes(image);
            EXPECT_EQ(Snap(image), before);
            ASSERT_TRUE(ReadFromBytes(decoded, jpeg));
            ASSERT_EQ(decoded.GetWidth(), 21);
            ASSERT_EQ(decoded.GetHeight(), 16);
        };
        SECJpeg pattern;
        roundTrip([&](int x, int y) { return on(x, y) ? c.white : 0; }, pattern);
        int wrong = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 21; ++x) {
                wrong += !Near(HeldPixel(pattern, x, y), on(x, y) ? kWhite : RGB(0, 0, 0), 48);
            }
        }
        EXPECT_EQ(wrong, 0);
        if (c.bpp > 1) {
            SECJpeg red;
            roundTrip([&](int, int) { return c.red; }, red);
            EXPECT_TRUE(Near(HeldPixel(red, 10, 8), kRed, 8));
        }
    }
}

// The library's own red, green, blue view of a file: pixel (x, y) from the top left.
COLORREF LibraryPixel(const Bytes& jpeg, int x, int y) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    std::vector<JSAMPLE> row(static_cast<size_t>(cinfo.output_width) * 3);
    COLORREF colour = 0;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[1] = {row.data()};
        const int at = static_cast<int>(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, rows, 1);
        if (at == y) {
            colour = RGB(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return colour;
}

TEST(JpegImage, ColoursMeanTheSameToTheLibraryAndThePicture) {
    // Written by the library as red, green, blue: read into the picture's blue, green, red.
    const Bytes fromLibrary = LibraryJpeg(32, 32, 3, JCS_RGB, [](int x, int y, int c) {
        const COLORREF q = Quarters(x, y);
        return c == 0 ? GetRValue(q) : c == 1 ? GetGValue(q) : GetBValue(q);
    });
    SECJpeg image;
    ASSERT_TRUE(ReadFromBytes(image, fromLibrary));
    for (const auto& [x, y] : {std::pair{4, 4}, {27, 4}, {4, 27}, {27, 27}}) {
        EXPECT_TRUE(Near(HeldPixel(image, x, y), Quarters(x, y))) << x << "," << y;
    }
    // Written from the picture: the library reads the same colours back.
    const Bytes written = QuartersJpeg();
    for (const auto& [x, y] : {std::pair{4, 4}, {27, 4}, {4, 27}, {27, 27}}) {
        EXPECT_TRUE(Near(LibraryPixel(written, x, y), Quarters(x, y))) << x << "," << y;
    }
}

TEST(JpegImage, GreyFilesDecodeToEqualBlueGreenAndRed) {
    const Bytes grey = LibraryJpeg(16, 8, 1, JCS_GRAYSCALE, [](int x, int, int) { return BYTE(x * 16); });
    SECJpeg image;
    ASSERT_TRUE(ReadFromBytes(image, grey));
    ASSERT_EQ(image.GetBitsPerPixel(), 24);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const COLORREF c = HeldPixel(image, x, y);
            ASSERT_EQ(GetRValue(c), GetGValue(c));
            ASSERT_EQ(GetGValue(c), GetBValue(c));
        }
    }
    EXPECT_TRUE(Near(HeldPixel(image, 1, 3), RGB(16, 16, 16), 12));
    EXPECT_TRUE(Near(HeldPixel(image, 14, 3), RGB(224, 224, 224), 12));
}

TEST(JpegImage, PaletteScreensGetAQuantisedPicture) {
    const Bytes colour = QuartersJpeg();
    SECJpeg image;
    image.SetDisplayFormat(1, 8);
    image.m_bQuantize = TRUE;
    ASSERT_TRUE(ReadFromBytes(image, colour));
    EXPECT_EQ(image.GetBitsPerPixel(), 8);
    EXPECT_EQ(image.GetColorCount(), 256);
    ASSERT_NE(image.GetPalette(), nullptr);
    EXPECT_EQ(image.GetPalette()->GetEntryCount(), 256);
    // The table holds blue, green, red: the red quarter's entry has its red byte high.
    for (int y : {4, 27}) {
        for (int x : {4, 27}) {
            EXPECT_TRUE(Near(HeldPixel(image, x, y), Quarters(x, y), 48)) << x << "," << y;
        }
    }

    // Grey files quantise to grey entries.
    const Bytes grey = LibraryJpeg(16, 8, 1, JCS_GRAYSCALE, [](int x, int, int) { return BYTE(x * 16); });
    ASSERT_TRUE(ReadFromBytes(image, grey));
    EXPECT_EQ(image.GetBitsPerPixel(), 8);
    const COLORREF c = HeldPixel(image, 14, 3);
    EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c));

    // Quantising off: the picture keeps its colours in 24 bits.
    image.m_bQuantize = FALSE;
    ASSERT_TRUE(ReadFromBytes(image, colour));
    EXPECT_EQ(image.GetBitsPerPixel(), 24);
    EXPECT_TRUE(Near(HeldPixel(image, 27, 4), kGreen));
}

TEST(JpegImage, ACutOffFileLoadsEveryRow) {
    const Bytes whole = QuartersJpeg();
    // Cut halfway through the entropy-coded data after the start of scan.
    size_t scan = 0;
    for (size_t i = 0; i + 1 < whole.size(); ++i) {
        if (whole[i] == 0xFF && whole[i + 1] == 0xDA) {
            scan = i;
        }
    }
    ASSERT_GT(scan, 0u);
    const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(scan + (whole.size() - scan) / 2));
    SECJpeg image;
    ASSERT_TRUE(ReadFromBytes(image, cut));
    EXPECT_EQ(image.GetWidth(), 32);
    EXPECT_EQ(image.GetHeight(), 32);
    EXPECT_EQ(image.GetCodecMessage(), CString(u"Premature end of JPEG file"));
    EXPECT_TRUE(Near(HeldPixel(image, 4, 4), kRed));
}

TEST(JpegImage, DamagedAndUnsupportedFilesFailAndKeepThePicture) {
    const Bytes good = QuartersJpeg();
    Bytes garbage{0xFF, 0xD8};
    for (int i = 0; i < 300; ++i) {
        garbage.push_back(static_cast<BYTE>(i * 37));
    }
    Bytes badTable = good;
    for (size_t i = 0; i + 4 < badTable.size(); ++i) {
        if (badTable[i] == 0xFF && badTable[i + 1] == 0xDB) { // a quantisation table of length 0
            badTable[i + 2] = 0;
            badTable[i + 3] = 0;
            break;
        }
    }
    struct Case {
        const char* what;
        Bytes file;
        const char16_t* message; // the codec's, or null when any
    };
    const Case cases[] = {
        {"empty file", {}, u"Empty input file"},
        {"a BMP file", Bmp24(4, 4, Quarters), nullptr},
        {"markers that make no sense", garbage, nullptr},
        {"a marker of impossible length", badTable, nullptr},
        {"cut inside the header", Bytes(good.begin(), good.begin() + 30), nullptr},
        {"four components",
         LibraryJpeg(8, 8, 4, JCS_CMYK, [](int, int, int c) { return BYTE(c * 60); }),
         u"Unsupported color conversion request"},
    };
    SECJpeg image;
    ASSERT_TRUE(ReadFromBytes(image, good));
    const Snapshot before = Snap(image);
    for (const Case& c : cases) {
        EXPECT_FALSE(ReadFromBytes(image, c.file)) << c.what;
        EXPECT_EQ(Snap(image), before) << c.what;
        EXPECT_FALSE(image.GetCodecMessage().IsEmpty()) << c.what;
        if (c.message) {
            EXPECT_EQ(image.GetCodecMessage(), CString(c.message)) << c.what;
        }
    }
    SECJpeg empty;
    EXPECT_FALSE(ReadFromBytes(empty, garbage));
    EXPECT_FALSE(empty.HasImage());
}

TEST(JpegImage, FileFailuresRaiseAndLeaveThePictureWhole) {
    SECJpeg image;
    ASSERT_TRUE(HoldBmp(image, Bmp24(32, 32, Quarters)));
    const Snapshot before = Snap(image);
    FailingFile full(false, true);
    EXPECT_TRUE(Raises<CFileException>([&] { image.WriteImage(&full); }));
    EXPECT_EQ(Snap(image), before);

    FailingFile broken(true, false, QuartersJpeg());
    EXPECT_TRUE(Raises<CFileException>([&] { image.ReadImage(&broken); }));
    EXPECT_EQ(Snap(image), before);
}

TEST(JpegImage, EncoderSettingsReachTheCodec) {
    SECJpeg image;
    ASSERT_TRUE(HoldBmp(image, Bmp24(32, 32, [](int x, int y) { return RGB(x * 8, y * 8, (x ^ y) * 8); })));
    const Bytes standard = WriteToBytes(image);
    image.m_nQuality = 10;
    const Bytes coarse = WriteToBytes(image);
    EXPECT_LT(coarse.size(), standard.size());
    image.m_nQuality = 75;
    image.m_bOptimizeCoding = TRUE;
    const Bytes optimised = WriteToBytes(image);
    EXPECT_LT(optimised.size(), standard.size());
    image.m_bOptimizeCoding = FALSE;
    image.m_bArithmeticCoding = TRUE;
    const Bytes arithmetic = WriteToBytes(image);
    const Bytes sof9{0xFF, 0xC9};
    EXPECT_NE(std::search(arithmetic.begin(), arithmetic.end(), sof9.begin(), sof9.end()), arithmetic.end());
    for (const Bytes* file : {&coarse, &optimised, &arithmetic}) {
        SECJpeg decoded;
        EXPECT_TRUE(ReadFromBytes(decoded, *file));
    }
}

TEST(JpegImage, PictureFillLoadsAJpegFileThatTheBmpReaderRefuses) {
    // As the chart's picture fill does: a BMP first, then a JPEG, then a bitmap for the drawing context.
    const Bytes jpeg = QuartersJpeg();
    const std::filesystem::path path = testsupport::ScratchDir() / "picture.jpg";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(jpeg.data()), static_cast<std::streamsize>(jpeg.size()));
    }
    const std::string narrow = path.string();
    const std::u16string name(narrow.begin(), narrow.end());
    auto dib = std::make_unique<SECDib>();
    EXPECT_FALSE(dib->LoadImageFile(name.c_str()));
    auto picture = std::make_unique<SECJpeg>();
    ASSERT_TRUE(picture->LoadImageFile(name.c_str()));
    CDC screen;
    screen.Attach(::GetDC(nullptr));
    std::unique_ptr<CBitmap> bitmap(picture->CreateBitmap(&screen));
    ::ReleaseDC(nullptr, screen.Detach());
    ASSERT_NE(bitmap, nullptr);
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap->GetSafeHandle());
    EXPECT_TRUE(Near(::GetPixel(memory, 4, 4), kRed));
    EXPECT_TRUE(Near(::GetPixel(memory, 27, 27), kWhite));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}
