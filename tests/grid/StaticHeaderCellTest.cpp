// Static and header cells drawn on a recording DC with a fixed-pitch font: the text margin, empty and
// too small cells, ellipses, and the header's raised, marked and flat faces.
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXHeader.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStatic.h"
#include "grid/GridSysColorCache.h"
#include "platform/gdi/SystemColors.h"
#include "tests/grid/GridEngineTestSupport.h"
#include "tests/grid/RecordingDC.h"

namespace gridtest {
namespace {

struct MarkAll : CGXAbstractGridMarkEditHeaderImp {
    BOOL IsHeaderMarked(CGXGridCore*, CGXControl*, ROWCOL, ROWCOL, const CGXStyle&) override { return TRUE; }
};

class StaticHeaderCellTest : public ::testing::Test {
protected:
    StaticHeaderCellTest() : host(&grid) {
        grid.Initialize();
        grid.SetRowCount(10);
        grid.SetColCount(5);
        FillRectColor(&dc, CRect(0, 0, 400, 200), kBackground);
    }
    void TearDown() override { AfxDeleteTempMaps(); }

    // Cell (2, 2) drawn at the given rectangle by the control; the style is its own standard, so the DC's
    // font stays.
    void DrawCell(CGXControl& control, const CGXStyle& style, const CRect& rect) {
        control.Draw(&dc, rect, 2, 2, style, &style);
    }

    static constexpr COLORREF kBackground = RGB(10, 20, 30);
    TestGrid grid;
    GridHost host;
    RecordingDC dc;
    CGXStatic staticCell{&grid};
    CGXHeader header{&grid};
};

TEST_F(StaticHeaderCellTest, StaticTextSitsInsideTheMarginOnTheSideOfItsAlignment) {
    const int margin = CGXStatic::TextMargin();
    EXPECT_GE(margin, 2);
    const CRect cell(100, 20, 200, 38);
    CGXStyle style;
    style.SetValue(u"ab");
    // The grid line takes the cell's first column and row.
    EXPECT_EQ(staticCell.GetInnerRect(2, 2, &cell, &style), CRect(101 + margin, 21, 200 - margin / 2, 38));
    DrawCell(staticCell, style, cell);
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].text, u"ab");
    EXPECT_EQ(dc.texts[0].x, 101 + margin);
    EXPECT_EQ(dc.texts[0].y, 21);

    dc.texts.clear();
    style.SetHorizontalAlignment(DT_RIGHT);
    EXPECT_EQ(staticCell.GetInnerRect(2, 2, &cell, &style).right, 200 - margin - 1);
    DrawCell(staticCell, style, cell);
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].x, 200 - margin - 1 - 2 * dc.charWidth);
}

TEST_F(StaticHeaderCellTest, NothingIsWrittenForAnEmptyValueOrACellOfOnePixel) {
    CGXStyle style;
    DrawCell(staticCell, style, CRect(0, 0, 100, 18)); // no value
    style.SetValue(u"");
    DrawCell(staticCell, style, CRect(0, 0, 100, 18));
    style.SetValue(u"x");
    DrawCell(staticCell, style, CRect(0, 0, 1, 18));
    DrawCell(staticCell, style, CRect(0, 0, 100, 1));
    DrawCell(header, style, CRect(0, 0, 1, 18));
    EXPECT_TRUE(dc.texts.empty());
    // The header draws not even its face.
    EXPECT_EQ(dc.Pixel(0, 0), kBackground);
    EXPECT_EQ(dc.fills.size(), 1u); // the fixture's own fill
}

TEST_F(StaticHeaderCellTest, TheEllipsisAttributeShortensALongValue) {
    CGXStyle style;
    style.SetValue(u"abcdefghijklmnopqrstuvwxyz");
    style.SetUserAttribute(kAttrEllipsisKind, u"1");
    const CRect cell(0, 0, 12 * dc.charWidth, 18);
    DrawCell(staticCell, style, cell);
    ASSERT_EQ(dc.texts.size(), 1u);
    const std::u16string& text = dc.texts[0].text;
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 3), u"...");
    EXPECT_LE(static_cast<int>(text.size()) * dc.charWidth, staticCell.GetInnerRect(2, 2, &cell, &style).Width() + 1);
}

TEST_F(StaticHeaderCellTest, AHeaderStandsOnARaisedFaceAndSinksWhenMarked) {
    const COLORREF highlight = GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT);
    const COLORREF black = RGB(0, 0, 0);
    const CRect cell(100, 20, 200, 60);
    const CRect b(101, 21, 200, 60); // inside the grid lines
    CGXStyle style;
    style.SetValue(u"ab");
    DrawCell(header, style, cell);
    EXPECT_EQ(dc.Pixel(150, b.top), highlight);
    EXPECT_EQ(dc.Pixel(b.left, 40), highlight);
    EXPECT_EQ(dc.Pixel(150, b.bottom - 1), black);
    EXPECT_EQ(dc.Pixel(b.right - 1, 40), black);
    ASSERT_EQ(dc.texts.size(), 1u);
    const TextCall raised = dc.texts[0];

    FillRectColor(&dc, CRect(0, 0, 400, 200), kBackground);
    dc.texts.clear();
    grid.InstallFeature<MarkAll>(kFeatureMarkEditHeader);
    DrawCell(header, style, cell);
    EXPECT_EQ(dc.Pixel(150, b.top), kBackground); // no highlight
    EXPECT_EQ(dc.Pixel(150, b.bottom - 1), black);
    EXPECT_EQ(dc.Pixel(b.right - 1, 40), black);
    ASSERT_EQ(dc.texts.size(), 1u);
    EXPECT_EQ(dc.texts[0].x, raised.x + 1);
    EXPECT_EQ(dc.texts[0].y, raised.y + 1);
}

TEST_F(StaticHeaderCellTest, AFlatHeaderHasNoFace) {
    const CRect cell(100, 20, 200, 60);
    CGXStyle style;
    style.SetValue(u"ab");
    grid.GetParam()->GetProperties()->threeDHeader = FALSE;
    DrawCell(header, style, cell);
    EXPECT_EQ(dc.Pixel(150, 59), kBackground);
    EXPECT_EQ(dc.Pixel(199, 40), kBackground);
    EXPECT_EQ(dc.texts.size(), 1u);

    // A 3-D frame of the style's own replaces the face: here inset, black above and highlight below.
    FillRectColor(&dc, CRect(0, 0, 400, 200), kBackground);
    grid.GetParam()->GetProperties()->threeDHeader = TRUE;
    style.SetDraw3dFrame(2);
    DrawCell(header, style, cell);
    EXPECT_EQ(dc.Pixel(150, 21), RGB(0, 0, 0));
    EXPECT_EQ(dc.Pixel(150, 59), GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dc.Pixel(150, 22), kBackground);
}

} // namespace
} // namespace gridtest
