#include "ChartTestSupport.h"

#include "chart/SRGraphLabel.h"
#include "chart/SRGraphLabelBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using charttest::Canvas;

namespace {
struct Placed {
    const char16_t* text;
    int x, y;
};

// The block's labels drawn on a fresh canvas; the pixels as a list.
std::vector<COLORREF> DrawBlock(const std::vector<Placed>& labels, BOOL avoidOverlap) {
    SRGraph chart;
    chart.SetOffscreen(FALSE);
    auto* block = new SRGraphLabelBlock;
    block->SetRect(0, 0, 200, 100);
    block->SetAvoidOverlap(avoidOverlap);
    for (const Placed& p : labels) {
        auto* label = new SRGraphLabel;
        label->SetTextForKey(1, p.text);
        label->SetAnchor(p.x, p.y);
        block->AttachLabel(label, FALSE);
    }
    chart.AddComponent(block);
    Canvas canvas(200, 100);
    chart.DrawGraph(canvas.DC(), nullptr);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            pixels.push_back(canvas.At(x, y));
        }
    }
    return pixels;
}
} // namespace

TEST(LabelBlock, ALabelOverlappingAnEarlierOneIsHidden) {
    const std::vector<Placed> all = {{u"North", 50, 50}, {u"Nor", 55, 52}, {u"South", 150, 50}};
    const std::vector<Placed> without = {all[0], all[2]};
    const std::vector<COLORREF> blank(200 * 100, RGB(255, 255, 255));
    const std::vector<COLORREF> expected = DrawBlock(without, TRUE);
    EXPECT_NE(expected, blank);
    EXPECT_EQ(DrawBlock(all, TRUE), expected);
    EXPECT_NE(DrawBlock(all, FALSE), expected);
}

TEST(Label, AQuarterTurnStandsTheTextUp) {
    for (int mode : {0, 1}) {
        SRGraph chart;
        chart.SetOffscreen(FALSE);
        auto* label = new SRGraphLabel;
        label->SetTextForKey(1, u"Elevation");
        label->SetAnchor(100, 100);
        label->SetRotationMode(mode);
        chart.AddComponent(label);
        Canvas canvas(200, 200);
        chart.DrawGraph(canvas.DC(), nullptr);
        // The bounds of the ink.
        CRect ink(200, 200, 0, 0);
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                if (canvas.At(x, y) != RGB(255, 255, 255)) {
                    ink.SetRect(std::min<int>(ink.left, x), std::min<int>(ink.top, y), std::max<int>(ink.right, x + 1),
                                std::max<int>(ink.bottom, y + 1));
                }
            }
        }
        ASSERT_FALSE(ink.IsRectEmpty()) << mode;
        if (mode == 0) {
            EXPECT_GT(ink.Width(), 2 * ink.Height());
        } else {
            EXPECT_GT(ink.Height(), 2 * ink.Width());
        }
    }
}
