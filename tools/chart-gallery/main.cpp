// doliva-chart-gallery FOLDER: draws each graph style of the chart at a fixed size from a small fixed data set
// (three groups of five items; the styles that read their groups in pairs, triples or quadruples get as many
// as they need) and writes graph-style-NN-name.png into FOLDER. A style that raises a chart error is drawn
// as far as it got and the error is printed.
#include "chart/SRGraph.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDisplay.h"
#include "chart/SRGraphTitle.h"

#include "platform/base/CodePage.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/Gdi.h"

#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {
constexpr int kWidth = 480;
constexpr int kHeight = 360;

struct Style {
    int graph;
    const char* name;
};

const Style kStyles[] = {
    {1, "lines"},
    {2, "bars"},
    {3, "columns"},
    {4, "pie"},
    {6, "areas"},
    {7, "high-low-bars"},
    {9, "perspective-columns"},
    {10, "perspective-ribbons"},
    {11, "layered-columns"},
    {12, "layered-bars"},
    {13, "tilted-pie"},
    {14, "stacked-areas"},
    {15, "columns-with-depth"},
    {16, "bars-with-depth"},
    {17, "ribbon-tops"},
    {18, "radar"},
    {19, "xy-pairs-per-group"},
    {20, "xy-pairs-across-groups"},
    {21, "xy-group-pairs"},
    {23, "filled-radar"},
    {24, "high-low-bands"},
    {25, "combination"},
    {26, "polar"},
    {27, "filled-polar"},
    {28, "stock-boxes"},
    {29, "stock-ticks"},
    {30, "floating-bars"},
    {31, "tagged-lines"},
    {32, "xy-log-pairs-per-group"},
    {33, "xy-log-pairs-across-groups"},
    {34, "xy-log-group-pairs"},
    {35, "steps"},
    {36, "steps-without-symbols"},
    {37, "stacked-columns"},
    {38, "stacked-bars"},
    {39, "group-stacked-columns"},
    {40, "group-stacked-bars"},
    {41, "bubbles"},
    {42, "bubbles-by-area"},
    {43, "vectors"},
    {44, "centred-vectors"},
    {45, "offset-vectors"},
    {46, "candles"},
};

const double kValues[3][5] = {{3, 5, 2, 6, 4}, {4, 2, 5, 3, 6}, {2, 4, 3, 5, 1}};

void Fill(SRGraph& chart, const std::vector<std::vector<double>>& groups) {
    for (size_t g = 0; g < groups.size(); ++g) {
        for (size_t i = 0; i < groups[g].size(); ++i) {
            chart.SetItemValue(static_cast<int>(i), static_cast<int>(g), groups[g][i], TRUE);
        }
    }
}

std::vector<std::vector<double>> Standard() {
    std::vector<std::vector<double>> groups;
    for (const auto& row : kValues) {
        groups.emplace_back(row, row + 5);
    }
    return groups;
}

void FillData(SRGraph& chart, int graph) {
    switch (graph) {
    case 7:
    case 24:
        // Every item's own range: a value above and one below before the value itself.
        for (int g = 0; g < 3; ++g) {
            for (int i = 0; i < 5; ++i) {
                chart.SetItemValue(i, g, kValues[g][i] + 1.5, TRUE);
                chart.SetItemValue(i, g, kValues[g][i] - 1.0, TRUE);
                chart.SetItemValue(i, g, kValues[g][i], TRUE);
            }
        }
        return;
    case 26:
    case 27:
        Fill(chart, {{0, 72, 144, 216, 288}, {3, 5, 2, 6, 4}, {36, 108, 180, 252, 324}, {4, 2, 5, 3, 6}});
        return;
    case 28:
    case 29:
    case 46:
        Fill(chart, {{8, 9, 7, 10, 9}, {3, 4, 2, 5, 4}, {4, 8, 6, 5, 8}, {7, 5, 3, 9, 6}});
        return;
    case 30:
        Fill(chart, {{1, 3, 2, 4, 1}, {5, 6, 4, 8, 3}, {2, 1, 3, 2, 5}, {7, 4, 6, 9, 8}});
        return;
    case 19:
    case 20:
    case 21:
    case 32:
    case 33:
    case 34:
        // Pairs of items (x, y) in each group, and the groups in pairs.
        Fill(chart, {{1, 3, 2, 5, 4, 8}, {2, 6, 3, 4, 6, 7}, {2, 1, 5, 2, 7, 3}, {1, 2, 4, 3, 5, 6}});
        return;
    case 43:
    case 44:
    case 45:
        Fill(chart, {{1, 2, 3, 4, 5}, {3, 5, 2, 6, 4}, {0, 45, 90, 135, 200}, {1, 2, 1.5, 1, 2}});
        return;
    case 25:
        // The first group as bars, the others as lines with symbols.
        Fill(chart, Standard());
        for (int g = 0; g < 3; ++g) {
            for (int i = 0; i < 5; ++i) {
                chart.GetItem(i, g)->GetStyle().SetShapeKind(g == 0 ? 5 : 2);
            }
        }
        return;
    default:
        Fill(chart, Standard());
        return;
    }
}

bool WritePng(HDC dc, HBITMAP bitmap, const std::string& path) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    if (::GetDIBits(dc, bitmap, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS) != kHeight) {
        return false;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(pixels.data(), CAIRO_FORMAT_RGB24, kWidth, kHeight,
                                                                   kWidth * 4);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

bool DrawStyle(const Style& style, const std::filesystem::path& folder) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    FillData(chart, style.graph);
    chart.SetGraphAnnotation(CString(Utf8ToUtf16(style.name).c_str()), 1);
    const char16_t* const categories[] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    for (int i = 0; i < chart.GetMaxItemCount(); ++i) {
        chart.SetItemAnnotation(i, 0, categories[i % 6]);
    }
    for (int g = 0; g < chart.GetGroupCount(); ++g) {
        CString name;
        name.Format(u"Series %d", g + 1);
        chart.SetGroupAnnotation(g, name, TRUE);
    }
    auto* title = new SRGraphTitle;
    title->SetRect(0, 0, kWidth, 40);
    chart.AddComponent(title);
    auto* display = new SRGraphDisplay;
    display->SetRect(0, 40, kWidth, kHeight);
    display->GetStyle().SetGraphStyle(style.graph);
    display->GetStyle().SetAxisStyle(1);
    chart.AddComponent(display);

    CDC dc;
    dc.Attach(::CreateCompatibleDC(nullptr));
    HBITMAP bitmap = ::CreateBitmap(kWidth, kHeight, 1, 32, nullptr);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, bitmap);
    CRect all(0, 0, kWidth, kHeight);
    dc.FillSolidRect(&all, RGB(255, 255, 255));
    chart.DrawGraph(&dc, nullptr);
    ::SelectObject(dc.m_hDC, old);
    char name[96];
    std::snprintf(name, sizeof name, "graph-style-%02d-%s.png", style.graph, style.name);
    const std::string path = (folder / name).string();
    const bool written = WritePng(dc.m_hDC, bitmap, path);
    ::DeleteObject(bitmap);
    if (!written) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
    }
    return written;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: doliva-chart-gallery FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot make %s: %s\n", argv[1], error.message().c_str());
        return 1;
    }
    // The chart reports its errors in message boxes: here they are printed and the gallery goes on.
    int current = 0;
    DisplaySetMessageBoxResponder([&current](HWND, const std::u16string&, const std::u16string& text, UINT type) {
        std::fprintf(stderr, "graph style %d: %s\n", current, Utf16ToUtf8(text).c_str());
        return DisplayDefaultMessageBoxAnswer(type);
    });
    int failures = 0;
    for (const Style& style : kStyles) {
        current = style.graph;
        failures += DrawStyle(style, folder) ? 0 : 1;
    }
    std::printf("%d pictures in %s\n", static_cast<int>(std::size(kStyles)) - failures, argv[1]);
    return failures ? 1 : 0;
}
