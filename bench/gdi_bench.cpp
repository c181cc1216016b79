// Drawing speed: a whole 1024x768 window repainted with lines and text (a grid full of cells), and the
// off-screen bitmap copied to the window in one blit, as the grid paints with a memory DC.
#include "platform/gdi/Gdi.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

struct Surface {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};
} // namespace

static void BM_GridRepaint1024x768(benchmark::State& state) {
    Surface s;
    HFONT font =
        CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
    HPEN grid = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
    HBRUSH face = CreateSolidBrush(RGB(255, 255, 255));
    HBRUSH header = CreateSolidBrush(RGB(192, 192, 192));
    SelectObject(s.dc, font);
    SelectObject(s.dc, grid);
    SetBkMode(s.dc, TRANSPARENT);
    const int colWidth = 100;
    const int rowHeight = 18;
    std::u16string cells[8] = {u"PRN 17",   u"42.5",   u"Elevation", u"-12.0345",
                               u"Tracking", u"3D fix", u"UTC",       u"OK"};
    for (auto _ : state) {
        RECT all{0, 0, kWidth, kHeight};
        FillRect(s.dc, &all, face);
        RECT top{0, 0, kWidth, rowHeight};
        FillRect(s.dc, &top, header);
        for (int x = 0; x < kWidth; x += colWidth) {
            MoveToEx(s.dc, x, 0, nullptr);
            LineTo(s.dc, x, kHeight);
        }
        for (int y = 0; y < kHeight; y += rowHeight) {
            MoveToEx(s.dc, 0, y, nullptr);
            LineTo(s.dc, kWidth, y);
        }
        int n = 0;
        for (int y = 0; y + rowHeight <= kHeight; y += rowHeight) {
            for (int x = 0; x + colWidth <= kWidth; x += colWidth) {
                const std::u16string& t = cells[n++ % 8];
                RECT cell{x + 2, y + 1, x + colWidth - 2, y + rowHeight - 1};
                DrawTextW(s.dc, t.c_str(), static_cast<int>(t.size()), &cell,
                          DT_SINGLELINE | DT_VCENTER | DT_LEFT);
            }
        }
        GdiFlush();
    }
    SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
    SelectObject(s.dc, GetStockObject(BLACK_PEN));
    DeleteObject(font);
    DeleteObject(grid);
    DeleteObject(face);
    DeleteObject(header);
}
BENCHMARK(BM_GridRepaint1024x768)->Unit(benchmark::kMillisecond);

static void BM_BitBlt1024x768(benchmark::State& state) {
    Surface src;
    Surface dst;
    PatBlt(src.dc, 0, 0, kWidth, kHeight, WHITENESS);
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, SRCCOPY);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BitBlt1024x768)->Unit(benchmark::kMillisecond);

static void BM_BitBltGeneralRop1024x768(benchmark::State& state) {
    // A raster operation with no fast path goes through the per-pixel truth table.
    Surface src;
    Surface dst;
    HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
    SelectObject(dst.dc, brush);
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, 0x00E20746);
        BitBlt(dst.dc, 0, 0, kWidth, kHeight, src.dc, 0, 0, 0x001D0000);
    }
    state.SetItemsProcessed(state.iterations() * 2 * kWidth * kHeight);
    SelectObject(dst.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}
BENCHMARK(BM_BitBltGeneralRop1024x768)->Unit(benchmark::kMillisecond);
