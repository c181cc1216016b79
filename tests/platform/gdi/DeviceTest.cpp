// DCs over a window's surface (the window core's side of the contract), the recording DC and printers.
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/TestSupport.h"

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/Printers.h"
#include "platform/gdi/RecordingDC.h"

#include <filesystem>
#include <fstream>

using namespace gditest;

namespace {
uint32_t SurfacePixel(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
    return data[y * (cairo_image_surface_get_stride(s) / 4) + x] & 0xFFFFFF;
}

struct Window {
    cairo_surface_t* surface;
    Window() {
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    ~Window() { cairo_surface_destroy(surface); }
    // A client DC at (5, 4) with a child window at (10..20, 6..12) client coordinates cut out.
    HDC Dc(HWND hwnd) {
        WindowDrawTarget t{surface, POINT{5, 4}, {}};
        pixman_region32_init_rect(&t.visible, 5, 4, 30, 20);
        pixman_region32_t child;
        pixman_region32_init_rect(&child, 15, 10, 10, 6);
        pixman_region32_subtract(&t.visible, &t.visible, &child);
        HDC dc = GdiCreateWindowDC(hwnd, t);
        pixman_region32_fini(&child);
        pixman_region32_fini(&t.visible);
        return dc;
    }
};
} // namespace

TEST(GdiWindowDC, DrawsAtTheOriginInsideTheVisibleRegion) {
    Window w;
    auto hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4242));
    HDC dc = w.Dc(hwnd);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GdiWindowFromDC(dc), hwnd);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
    RECT box{};
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 30, 20}));
    RECT all{-10, -10, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(SurfacePixel(w.surface, 5, 4), 0u);        // client (0,0)
    EXPECT_EQ(SurfacePixel(w.surface, 4, 4), 0xFFFFFFu); // outside the client area
    EXPECT_EQ(SurfacePixel(w.surface, 34, 23), 0u);
    EXPECT_EQ(SurfacePixel(w.surface, 35, 23), 0xFFFFFFu);
    EXPECT_EQ(SurfacePixel(w.surface, 16, 11), 0xFFFFFFu); // the child's area is left alone
    // The clip a program selects narrows within the visible region, and NULL goes back to it.
    IntersectClipRect(dc, 0, 0, 2, 2);
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT{0, 0, 2, 2}));
    SelectClipRgn(dc, nullptr);
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT{0, 0, 30, 20}));
    POINT org{};
    GetDCOrgEx(dc, &org);
    EXPECT_EQ(org.x, 5);
    // A new visible region (the update region of a paint, say).
    pixman_region32_t upd;
    pixman_region32_init_rect(&upd, 5, 4, 3, 3);
    EXPECT_TRUE(GdiSetWindowDCVisible(dc, &upd));
    pixman_region32_fini(&upd);
    GetClipBox(dc, &box);
    EXPECT_EQ(box, (RECT{0, 0, 3, 3}));
    GdiDeleteWindowDC(dc);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(GdiWindowDC, BlitsBetweenWindowAndMemory) {
    Window w;
    HDC dc = w.Dc(nullptr);
    Canvas mem(10, 10);
    RECT r{0, 0, 10, 10};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(mem.dc(), &r, red);
    DeleteObject(red);
    BitBlt(dc, 1, 1, 3, 3, mem.dc(), 0, 0, SRCCOPY);
    EXPECT_EQ(SurfacePixel(w.surface, 6, 5), 0xFF0000u);
    EXPECT_EQ(GetPixel(dc, 1, 1), kRed);
    // And back: reads ignore the visible region of the source.
    BitBlt(mem.dc(), 0, 0, 10, 10, dc, -5, -4, SRCCOPY);
    EXPECT_EQ(mem.At(6, 5), kRed);
    EXPECT_EQ(mem.At(0, 0), kWhite);
    GdiDeleteWindowDC(dc);
}

TEST(GdiRecording, LogsCallsWithTheirArguments) {
    HDC dc = GdiCreateRecordingDC(50, 50);
    ASSERT_NE(dc, nullptr);
    RECT r{1, 2, 3, 4};
    HBRUSH red = CreateSolidBrush(kRed);
    FillRect(dc, &r, red);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 10, 0);
    TextOutW(dc, 5, 6, u"Hi", 2);
    SetROP2(dc, R2_XORPEN);
    std::vector<GdiRecord> rec = GdiGetRecords(dc);
    ASSERT_EQ(rec.size(), 5u);
    EXPECT_EQ(GdiFormatRecord(rec[0]), "FillRect(1,2,3,4,255)");
    EXPECT_EQ(GdiFormatRecord(rec[1]), "MoveToEx(0,0)");
    EXPECT_EQ(rec[2].op, "LineTo");
    EXPECT_EQ(rec[2].args[0], 10);
    EXPECT_EQ(GdiFormatRecord(rec[3]), "TextOut(5,6,0,\"Hi\")");
    EXPECT_EQ(rec[4].op, "SetROP2");
    // It still draws and measures like any DC.
    EXPECT_EQ(GetPixel(dc, 1, 2), kRed);
    TEXTMETRICW tm{};
    EXPECT_TRUE(GetTextMetricsW(dc, &tm));
    GdiClearRecords(dc);
    EXPECT_TRUE(GdiGetRecords(dc).empty());
    // Higher-level helpers log themselves, not their inner calls.
    RECT t{0, 0, 40, 20};
    DrawTextW(dc, u"x", 1, &t, DT_SINGLELINE);
    rec = GdiGetRecords(dc);
    ASSERT_EQ(rec.size(), 1u);
    EXPECT_EQ(rec[0].op, "DrawText");
    GdiSetRecording(dc, FALSE);
    FillRect(dc, &r, red);
    EXPECT_EQ(GdiGetRecords(dc).size(), 1u);
    DeleteObject(red);
    DeleteDC(dc);
}

TEST(GdiPrinters, NoPrinterConfiguredMeansNoDefault) {
    GdiSetPrinters({}, -1);
    DWORD size = 0;
    SetLastError(0);
    EXPECT_FALSE(GetDefaultPrinterW(nullptr, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(CreateDCW(nullptr, u"Nowhere", nullptr, nullptr), nullptr);
}

TEST(GdiPrinters, PdfPrinterWritesPagesAtItsResolution) {
    std::filesystem::path out = testsupport::ScratchDir() / "printed.pdf";
    std::u16string path = std::u16string(out.u16string());
    GdiSetPrinters({GdiPrinter{u"Office PDF", path, DMPAPER_A4, DMORIENT_PORTRAIT}}, 0);
    WCHAR name[64] = {};
    DWORD size = 2;
    EXPECT_FALSE(GetDefaultPrinterW(name, &size));
    EXPECT_EQ(size, 11u);
    size = 64;
    ASSERT_TRUE(GetDefaultPrinterW(name, &size));
    EXPECT_EQ(std::u16string(name), u"Office PDF");

    HDC dc = CreateDCW(nullptr, name, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), kGdiPrinterDpi);
    EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 210);
    EXPECT_EQ(GetDeviceCaps(dc, VERTSIZE), 297);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 2480);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 3508);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), 0);
    DOCINFOW di{sizeof(DOCINFOW), u"Test", nullptr, nullptr, 0};
    ASSERT_GT(StartDocW(dc, &di), 0);
    for (int page = 0; page < 2; ++page) {
        ASSERT_GT(StartPage(dc), 0);
        Rectangle(dc, 300, 300, 900, 600);
        TextOutW(dc, 300, 700, u"Page", 4);
        EXPECT_EQ(GetPixel(dc, 300, 300), kBlack);
        ASSERT_GT(EndPage(dc), 0);
    }
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    std::ifstream f(out, std::ios::binary);
    std::string head(5, '\0');
    f.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
    EXPECT_GT(std::filesystem::file_size(out), 1000u);

    // A landscape device mode swaps the sides; the driver name alone makes a PDF printer too.
    DEVMODEW dm{};
    dm.dmSize = sizeof(dm);
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    dm.dmPaperSize = DMPAPER_LETTER;
    HDC land = CreateDCW(u"PDF", nullptr, nullptr, &dm);
    ASSERT_NE(land, nullptr);
    EXPECT_EQ(GetDeviceCaps(land, HORZRES), 3300);
    EXPECT_EQ(GetDeviceCaps(land, VERTRES), 2550);
    EXPECT_EQ(StartDocW(land, nullptr), SP_ERROR); // nowhere to write
    DeleteDC(land);
    HDC ic = CreateICW(u"PDF", nullptr, nullptr, nullptr);
    EXPECT_EQ(GetDeviceCaps(ic, LOGPIXELSY), kGdiPrinterDpi);
    DeleteDC(ic);
    GdiSetPrinters({}, -1);
}
