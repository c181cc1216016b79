// The grid engine painting a full window of a 1000 x 50 grid, and scrolling it by a page (the pixels moved
// by the window scroll, the band that came in painted).
#include "grid/CGXGridParam.h"
#include "grid/CGXGridWnd.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "platform/display/PaintApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/FrameworkResources.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class BenchGrid {
public:
    BenchGrid() {
        RegisterGridWindowClasses(AfxGetInstanceHandle());
        CGXGridWnd::RegisterWndClass(AfxGetInstanceHandle());
        m_host.CreateEx(0, AfxRegisterWndClass(0), u"bench", WS_POPUP | WS_VISIBLE, CRect(0, 0, 820, 620), nullptr,
                        0);
        m_grid.Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 810, 610), &m_host, 1);
        m_grid.Initialize();
        m_grid.SetRowCount(1000);
        m_grid.SetColCount(50);
        CGXStyle shaded;
        shaded.SetInteriorColor(RGB(230, 230, 250));
        for (ROWCOL row = 2; row <= 1000; row += 2) {
            m_grid.SetStyleRange(CGXRange(row, 1, row, 50), &shaded);
        }
        Paint();
    }
    ~BenchGrid() {
        m_grid.DestroyWindow();
        m_host.DestroyWindow();
    }
    void Paint() { ::UpdateWindow(m_grid.GetSafeHwnd()); }
    CGXGridWnd& Grid() { return m_grid; }

private:
    CWnd m_host;
    CGXGridWnd m_grid;
};

void BM_GridPaintViewport(benchmark::State& state) {
    BenchGrid bench;
    for (auto _ : state) {
        ::InvalidateRect(bench.Grid().GetSafeHwnd(), nullptr, FALSE);
        bench.Paint();
    }
}
BENCHMARK(BM_GridPaintViewport);

void BM_GridScrollPage(benchmark::State& state) {
    BenchGrid bench;
    for (auto _ : state) {
        if (bench.Grid().GetTopRow() > 900) {
            state.PauseTiming();
            bench.Grid().SetTopRow(1);
            bench.Paint();
            state.ResumeTiming();
        }
        bench.Grid().SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    }
}
BENCHMARK(BM_GridScrollPage);

} // namespace
