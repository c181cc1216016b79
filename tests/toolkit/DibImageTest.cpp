// BMP pictures: reading and writing every depth, the palette, the row layout, the archive form, loading and
// saving by name, and damaged files refused with the earlier picture kept.
#include "tests/toolkit/ImageTestSupport.h"

#include "support/TestSupport.h"
#include "toolkit/SECDib.h"
#include "toolkit/SECJpeg.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <filesystem>
#include <functional>

using namespace imagetest;

namespace {

// The file header's bfSize and bfOffBits.
DWORD FileSizeField(const Bytes& file) {
    DWORD v;
    std::memcpy(&v, file.data() + 2, 4);
    return v;
}

DWORD BitsOffsetField(const Bytes& file) {
    DWORD v;
    std::memcpy(&v, file.data() + 10, 4);
    return v;
}

// An 8-bit 5x3 picture with a grey table.
Bytes Grey8Bmp(int seed = 0) {
    return MakeBmp(Header(5, 3, 8), GreyTable(256), PatternBits(8, 5, 3, seed));
}

// The colour of pixel (x, y) (top-left origin) of a device bitmap.
COLORREF PixelOf(CBitmap* bitmap, int x, int y) {
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap->GetSafeHandle());
    COLORREF c = ::GetPixel(memory, x, y);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return c;
}

// The screen's DC, as the chart's window DC would be.
class ScreenDC : public CDC {
public:
    ScreenDC() { Attach(::GetDC(nullptr)); }
    ~ScreenDC() override { ::ReleaseDC(nullptr, Detach()); }
};

std::u16string ScratchFile(const char* name) {
    const std::string path = (testsupport::ScratchDir() / name).string();
    return std::u16string(path.begin(), path.end());
}

} // namespace

TEST(DibImage, EveryDepthLoadsAndSavesUnchanged) {
    struct Case {
        int bpp;
        int width;
        int height;
    };
    // 33 pixels of 1 bit take 5 bytes, padded to 8.
    for (Case c : {Case{1, 33, 3}, {4, 5, 2}, {8, 7, 3}, {16, 3, 2}, {24, 5, 3}, {32, 2, 2}}) {
        SCOPED_TRACE(c.bpp);
        const int entries = c.bpp <= 8 ? 1 << c.bpp : 0;
        const Bytes file = MakeBmp(Header(c.width, c.height, c.bpp), GreyTable(entries),
                                   PatternBits(c.bpp, c.width, c.height));
        SECDib dib;
        ASSERT_TRUE(ReadFromBytes(dib, file));
        EXPECT_EQ(dib.GetWidth(), c.width);
        EXPECT_EQ(dib.GetHeight(), c.height);
        EXPECT_EQ(dib.GetBitsPerPixel(), c.bpp);
        EXPECT_EQ(dib.GetColorCount(), entries);
        EXPECT_EQ(dib.GetPalette() != nullptr, c.bpp <= 8);

        const Bytes saved = WriteToBytes(dib);
        EXPECT_EQ(FileSizeField(saved), saved.size());
        EXPECT_EQ(BitsOffsetField(saved), 54u + 4 * entries);
        EXPECT_EQ(saved.size(), 54u + 4 * entries + PaddedRow(c.bpp, c.width) * c.height);
        EXPECT_EQ(saved, file);

        SECDib again;
        ASSERT_TRUE(ReadFromBytes(again, saved));
        EXPECT_EQ(Snap(again), Snap(dib));
    }
}

TEST(DibImage, PaletteHasTheFullTableWithUnstoredColoursBlack) {
    // Three colours stored for an 8-bit picture.
    const std::vector<RGBQUAD> three{{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    SECDib dib;
    ASSERT_TRUE(ReadFromBytes(dib, MakeBmp(Header(4, 1, 8, BI_RGB, 3), three, Bytes{0, 1, 2, 0})));
    CPalette* palette = dib.GetPalette();
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->GetEntryCount(), 256);
    PALETTEENTRY e[4]{};
    ASSERT_EQ(palette->GetPaletteEntries(0, 4, e), 4u);
    EXPECT_EQ(RGB(e[0].peRed, e[0].peGreen, e[0].peBlue), RGB(255, 0, 0));
    EXPECT_EQ(RGB(e[2].peRed, e[2].peGreen, e[2].peBlue), RGB(0, 0, 255));
    EXPECT_EQ(RGB(e[3].peRed, e[3].peGreen, e[3].peBlue), RGB(0, 0, 0));
    PALETTEENTRY last{};
    palette->GetPaletteEntries(255, 1, &last);
    EXPECT_EQ(RGB(last.peRed, last.peGreen, last.peBlue), RGB(0, 0, 0));
}

TEST(DibImage, DeviceBitmapShowsThePictureTopRowFirst) {
    // 2x2, 24 bits: bottom row red, green; top row blue, white.
    Bytes bits{0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    SECDib colour;
    ASSERT_TRUE(ReadFromBytes(colour, MakeBmp(Header(2, 2, 24), {}, bits)));
    EXPECT_EQ(colour.GetPalette(), nullptr);
    ScreenDC screen;
    std::unique_ptr<CBitmap> bitmap(colour.CreateBitmap(&screen));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap.get(), 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(bitmap.get(), 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(bitmap.get(), 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(bitmap.get(), 1, 1), RGB(0, 255, 0));

    // A 1-bit picture through its table.
    SECDib mono;
    const std::vector<RGBQUAD> table{{0, 128, 0, 0}, {255, 0, 0, 0}};
    ASSERT_TRUE(ReadFromBytes(mono, MakeBmp(Header(2, 1, 1), table, Bytes{0x40, 0, 0, 0})));
    bitmap.reset(mono.CreateBitmap(&screen));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap.get(), 0, 0), RGB(0, 128, 0));
    EXPECT_EQ(PixelOf(bitmap.get(), 1, 0), RGB(0, 0, 255));

    SECDib empty;
    EXPECT_EQ(empty.CreateBitmap(&screen), nullptr);
}

TEST(DibImage, DamagedFilesAreRefusedAndThePictureKept) {
    const Bytes good = Grey8Bmp();
    auto withHeader = [&](const std::function<void(BITMAPINFOHEADER&)>& change) {
        Bytes file = good;
        BITMAPINFOHEADER h;
        std::memcpy(&h, file.data() + 14, sizeof(h));
        change(h);
        std::memcpy(file.data() + 14, &h, sizeof(h));
        return file;
    };
    Bytes notBmp = good;
    notBmp[0] = 'X';
    // RLE8 whose absolute run claims more bytes than follow.
    const Bytes rle =
        MakeBmp(Header(4, 2, 8, BI_RLE8, 2), GreyTable(2), Bytes{4, 1, 0, 0, 0, 200, 1, 0, 1, 0});
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"empty file", {}},
        {"not a BMP", notBmp},
        {"file header only", Bytes(good.begin(), good.begin() + 14)},
        {"info header cut short", Bytes(good.begin(), good.begin() + 40)},
        {"colour table cut short", Bytes(good.begin(), good.begin() + 54 + 100)},
        {"pixel rows cut short", Bytes(good.begin(), good.end() - 1)},
        {"no width", withHeader([](BITMAPINFOHEADER& h) { h.biWidth = 0; })},
        {"negative width", withHeader([](BITMAPINFOHEADER& h) { h.biWidth = -5; })},
        {"no height", withHeader([](BITMAPINFOHEADER& h) { h.biHeight = 0; })},
        {"taller than a bitmap can be", withHeader([](BITMAPINFOHEADER& h) { h.biHeight = 40000; })},
        {"width times depth overflows", withHeader([](BITMAPINFOHEADER& h) {
             h.biWidth = 0x7FFFFFFF;
             h.biBitCount = 32;
         })},
        {"no such depth", withHeader([](BITMAPINFOHEADER& h) { h.biBitCount = 7; })},
        {"more colours than 8 bits address", withHeader([](BITMAPINFOHEADER& h) { h.biClrUsed = 300; })},
        {"header size too small", withHeader([](BITMAPINFOHEADER& h) { h.biSize = 7; })},
        {"header size past the file", withHeader([](BITMAPINFOHEADER& h) { h.biSize = 1000; })},
        {"pixels in a codec's format", withHeader([](BITMAPINFOHEADER& h) { h.biCompression = BI_JPEG; })},
        {"run-length data past its end", rle},
    };
    SECDib dib;
    ASSERT_TRUE(ReadFromBytes(dib, good));
    const Snapshot before = Snap(dib);
    for (const Case& c : cases) {
        EXPECT_FALSE(ReadFromBytes(dib, c.file)) << c.what;
        EXPECT_EQ(Snap(dib), before) << c.what;
        EXPECT_NE(dib.GetPalette(), nullptr) << c.what;
    }
    SECDib empty;
    EXPECT_FALSE(ReadFromBytes(empty, notBmp));
    EXPECT_FALSE(empty.HasImage());
    EXPECT_EQ(empty.GetInfoHeader(), nullptr);
}

TEST(DibImage, OtherHeaderKindsAndRowOrdersAreHeldAsPlainDibs) {
    // A 2x2 32-bit picture with a 124-byte header and the standard masks, rows top down.
    struct {
        BITMAPINFOHEADER h;
        DWORD masks[4];
        BYTE rest[68];
    } v5{};
    v5.h = Header(2, -2, 32, BI_BITFIELDS);
    v5.h.biSize = sizeof(v5);
    v5.masks[0] = 0xFF0000;
    v5.masks[1] = 0xFF00;
    v5.masks[2] = 0xFF;
    const Bytes topDown = PatternBits(32, 2, 2);
    SECDib dib;
    ASSERT_TRUE(ReadFromBytes(dib, MakeBmp(&v5, sizeof(v5), {}, topDown)));
    EXPECT_EQ(dib.GetInfoHeader()->biSize, 40u);
    EXPECT_EQ(dib.GetInfoHeader()->biHeight, 2);
    EXPECT_EQ(dib.GetInfoHeader()->biCompression, static_cast<DWORD>(BI_RGB));
    // Bottom row first now.
    EXPECT_TRUE(std::equal(topDown.begin(), topDown.begin() + 8, dib.GetBits() + 8));
    // Saved with the header it holds, so the offset of the bits is right.
    const Bytes saved = WriteToBytes(dib);
    EXPECT_EQ(BitsOffsetField(saved), 54u);
    SECDib again;
    ASSERT_TRUE(ReadFromBytes(again, saved));
    EXPECT_EQ(Snap(again), Snap(dib));

    // Bits placed after a gap that bfOffBits names.
    Bytes gap = Grey8Bmp();
    const size_t bitsAt = 54 + 1024;
    gap.insert(gap.begin() + static_cast<long>(bitsAt), 16, 0xEE);
    const DWORD offset = bitsAt + 16;
    std::memcpy(gap.data() + 10, &offset, 4);
    SECDib plain;
    ASSERT_TRUE(ReadFromBytes(plain, Grey8Bmp()));
    ASSERT_TRUE(ReadFromBytes(again, gap));
    EXPECT_EQ(Snap(again), Snap(plain));
}

TEST(DibImage, RowsPadUnpadAndFlipInPlace) {
    SECDib dib;
    ASSERT_TRUE(ReadFromBytes(dib, Grey8Bmp()));
    const Snapshot held = Snap(dib);
    const Bytes& rows = held.bits; // 5 bytes of pixels in rows of 8

    ASSERT_TRUE(dib.UnpadRows());
    EXPECT_FALSE(dib.AreRowsPadded());
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(std::equal(rows.begin() + row * 8, rows.begin() + row * 8 + 5, dib.GetBits() + row * 5));
    }
    // Flipping pads first; the middle row of three stays.
    ASSERT_TRUE(dib.FlipRows());
    EXPECT_TRUE(dib.AreRowsPadded());
    EXPECT_TRUE(std::equal(rows.begin() + 16, rows.begin() + 24, dib.GetBits()));
    EXPECT_TRUE(std::equal(rows.begin() + 8, rows.begin() + 16, dib.GetBits() + 8));
    EXPECT_TRUE(std::equal(rows.begin(), rows.begin() + 8, dib.GetBits() + 16));
    ASSERT_TRUE(dib.FlipRows());
    EXPECT_EQ(Snap(dib), held);

    // Equal padded and unpadded rows: nothing moves.
    SECDib even;
    ASSERT_TRUE(ReadFromBytes(even, MakeBmp(Header(8, 2, 8), GreyTable(256), PatternBits(8, 8, 2))));
    const Snapshot evenHeld = Snap(even);
    ASSERT_TRUE(even.UnpadRows());
    ASSERT_TRUE(even.PadRows());
    EXPECT_EQ(Snap(even).bits, evenHeld.bits);

    EXPECT_EQ(SECRasterImage::GetRowBytes(1, 33), 5u);
    EXPECT_EQ(SECRasterImage::GetPaddedRowBytes(1, 33), 8u);
    EXPECT_EQ(SECRasterImage::GetPaddedRowBytes(24, 5), 16u);
}

TEST(DibImage, ArchiveFormIsABmpFileForEveryImageClass) {
    // Three colours stored of 16: the archive holds the full table, so the rows are found past all of it.
    SECDib source;
    ASSERT_TRUE(ReadFromBytes(source, MakeBmp(Header(3, 2, 4, BI_RGB, 3), GreyTable(3), PatternBits(4, 3, 2))));
    CMemFile first;
    {
        CArchive ar(&first, CArchive::store);
        source.Serialize(ar);
    }
    // Into a JPEG image and out again: still the BMP form, which the BMP reader takes as a file.
    SECJpeg jpeg;
    first.SeekToBegin();
    {
        CArchive ar(&first, CArchive::load);
        jpeg.Serialize(ar);
    }
    EXPECT_EQ(Snap(jpeg), Snap(source));
    CMemFile memory;
    {
        CArchive ar(&memory, CArchive::store);
        jpeg.Serialize(ar);
    }
    SECDib fromFile;
    memory.SeekToBegin();
    ASSERT_TRUE(fromFile.ReadImage(&memory));
    EXPECT_EQ(Snap(fromFile), Snap(source));

    // As an object: the class and its schema, then the picture, palette rebuilt.
    CMemFile objects;
    {
        CArchive ar(&objects, CArchive::store);
        ar << static_cast<CObject*>(&fromFile);
    }
    objects.SeekToBegin();
    CArchive in(&objects, CArchive::load);
    CObject* loaded = nullptr;
    in >> loaded;
    std::unique_ptr<CObject> owner(loaded);
    ASSERT_NE(loaded, nullptr);
    ASSERT_TRUE(loaded->IsKindOf(RUNTIME_CLASS(SECDib)));
    auto* dib = static_cast<SECDib*>(loaded);
    EXPECT_EQ(Snap(*dib), Snap(fromFile));
    EXPECT_NE(dib->GetPalette(), nullptr);
}

TEST(DibImage, DamagedArchivesRaiseTheArchiveException) {
    SECDib dib;
    ASSERT_TRUE(ReadFromBytes(dib, Grey8Bmp()));
    CMemFile memory;
    {
        CArchive ar(&memory, CArchive::store);
        dib.Serialize(ar);
    }
    const Bytes stored = ContentOf(memory);
    auto load = [](Bytes bytes) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        SECDib target;
        try {
            target.Serialize(ar);
        } catch (CArchiveException* e) {
            const int cause = e->m_cause;
            e->Delete();
            return cause;
        }
        return static_cast<int>(CArchiveException::none);
    };
    EXPECT_EQ(load(stored), CArchiveException::none);
    EXPECT_EQ(load(Bytes(stored.begin(), stored.end() - 1)), CArchiveException::endOfFile);
    EXPECT_EQ(load(Bytes(stored.begin(), stored.begin() + 10)), CArchiveException::endOfFile);
    Bytes notBmp = stored;
    notBmp[1] = 'X';
    EXPECT_EQ(load(notBmp), CArchiveException::badSchema);
    Bytes hugeOffset = stored;
    hugeOffset[13] = 0x7F; // bfOffBits far beyond any header
    EXPECT_EQ(load(hugeOffset), CArchiveException::badSchema);
    Bytes badDepth = stored;
    badDepth[14 + 14] = 7;
    EXPECT_EQ(load(badDepth), CArchiveException::badSchema);

    // Nothing to store is refused rather than written as a truncated record.
    SECDib empty;
    CMemFile sink;
    CArchive ar(&sink, CArchive::store);
    EXPECT_TRUE(Raises<CArchiveException>([&] { empty.Serialize(ar); }));
    ar.Abort();
}

TEST(DibImage, LoadsAndSavesByName) {
    SECDib dib;
    ASSERT_TRUE(ReadFromBytes(dib, Grey8Bmp()));
    const std::u16string first = ScratchFile("first.bmp");
    const std::u16string second = ScratchFile("second.bmp");
    ASSERT_TRUE(dib.SaveImageFile(first.c_str()));
    // The file object the image made is reopened on the next name.
    ASSERT_TRUE(dib.SaveImageFile(second.c_str()));
    EXPECT_EQ(testsupport::ReadWholeFile(testsupport::ScratchDir() / "second.bmp"),
              testsupport::ReadWholeFile(testsupport::ScratchDir() / "first.bmp"));
    SECDib loaded;
    ASSERT_TRUE(loaded.LoadImageFile(second.c_str()));
    EXPECT_EQ(Snap(loaded), Snap(dib));

    // A file that cannot be opened raises the file exception, and the picture stays.
    int cause = CFileException::none;
    try {
        loaded.LoadImageFile(ScratchFile("missing.bmp").c_str());
    } catch (CFileException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CFileException::fileNotFound);
    EXPECT_EQ(Snap(loaded), Snap(dib));
    cause = CFileException::none;
    SECDib fresh;
    try {
        fresh.SaveImageFile(ScratchFile("no-such-folder/x.bmp").c_str());
    } catch (CFileException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_NE(cause, CFileException::none);
}

TEST(DibImage, AReadThatFailsMidwayRaisesAndKeepsThePicture) {
    SECDib dib;
    ASSERT_TRUE(ReadFromBytes(dib, Grey8Bmp()));
    const Snapshot before = Snap(dib);
    FailingFile broken(true, false, Grey8Bmp(9));
    EXPECT_TRUE(Raises<CFileException>([&] { dib.ReadImage(&broken); }));
    EXPECT_EQ(Snap(dib), before);
}
