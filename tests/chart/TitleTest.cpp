#include "ChartTestSupport.h"

#include "chart/SRGraphTitle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

using charttest::Canvas;

namespace {
// Exposes the font the title would make for a size.
class FontTitle : public SRGraphTitle {
public:
    LONG HeightFor(int size, CDC* dc) {
        LOGFONTW font{};
        MakeLogFont(font, size, 0, dc);
        return font.lfHeight;
    }
};

// The x range of the ink in a row band.
std::pair<int, int> InkColumns(Canvas& canvas, int width, int top, int bottom) {
    int first = width, last = -1;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < width; ++x) {
            if (canvas.At(x, y) != RGB(255, 255, 255)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}
} // namespace

TEST(ChartTitle, EmptyTextIsASpaceAndSizesBecomeHeights) {
    SRGraphTitle title;
    title.SetText(u"", 0);
    EXPECT_EQ(title.GetTitleText(), CString(u" "));

    Canvas canvas(10, 10); // 96 pixels an inch
    FontTitle font;
    EXPECT_EQ(font.HeightFor(10, canvas.DC()), -13);
    EXPECT_EQ(font.HeightFor(-20, canvas.DC()), -20);
}

TEST(ChartTitle, AlignmentPlacesTheText) {
    // 2 centres, 1 aligns right and anything else left. The text is the chart's annotation.
    std::pair<int, int> ink[3];
    const int alignments[] = {2, 1, 5};
    for (int i = 0; i < 3; ++i) {
        SRGraph chart;
        chart.SetOffscreen(FALSE);
        auto* title = new SRGraphTitle;
        title->SetRect(0, 0, 300, 40);
        title->SetText(u"", alignments[i]);
        chart.AddComponent(title);
        chart.SetGraphAnnotation(u"Sky plot", 1);
        Canvas canvas(300, 40);
        chart.DrawGraph(canvas.DC(), nullptr);
        ink[i] = InkColumns(canvas, 300, 0, 40);
        ASSERT_LE(ink[i].first, ink[i].second) << alignments[i];
    }
    EXPECT_NEAR((ink[0].first + ink[0].second) / 2, 150, 6);
    EXPECT_GT(ink[1].first, 150);
    EXPECT_LT(ink[2].second, 150);
}
