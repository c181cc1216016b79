// Push button and progress cells on the engine's test grid: the button's click by mouse and space bar and
// its drawing; the progress bar's geometry, clamping and caption.
#include "grid/CGXButton.h"
#include "grid/CGXProgressCtrl.h"
#include "grid/CGXPushbutton.h"
#include "platform/display/VirtualKeys.h"
#include "platform/display/WindowMessages.h"
#include "tests/grid/CellControlTestSupport.h"

namespace gridtest {
namespace {

constexpr WORD kPushbutton = 52514;
constexpr WORD kProgress = 52536;

class PushbuttonTest : public CellControlFixture<CGXPushbutton> {
protected:
    void SetUp() override { Init(new CGXPushbutton(&grid), kPushbutton); }
    POINT Centre(ROWCOL row, ROWCOL col) { return grid.CalcCellRect(row, col).CenterPoint(); }
};

TEST_F(PushbuttonTest, ClickOnTheButtonReachesTheGridOnce) {
    grid.SetCurrentCell(2, 2);
    const POINT centre = Centre(2, 2);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, centre);
    EXPECT_TRUE(control->Button()->IsPressed());
    Send(WM_LBUTTONUP, 0, centre);
    EXPECT_EQ(grid.buttonClicks, (std::vector<std::string>{"2,2"}));

    // Out and back in before the release: one click.
    const POINT outside = Centre(4, 3);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, centre);
    Send(WM_MOUSEMOVE, MK_LBUTTON, outside);
    EXPECT_FALSE(control->Button()->IsPressed());
    Send(WM_MOUSEMOVE, MK_LBUTTON, centre);
    EXPECT_TRUE(control->Button()->IsPressed());
    Send(WM_LBUTTONUP, 0, centre);
    EXPECT_EQ(grid.buttonClicks.size(), 2u);

    // Released outside: no click.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, centre);
    Send(WM_MOUSEMOVE, MK_LBUTTON, outside);
    Send(WM_LBUTTONUP, 0, outside);
    EXPECT_EQ(grid.buttonClicks.size(), 2u);
    EXPECT_FALSE(control->Button()->IsPressed());
}

TEST_F(PushbuttonTest, SpaceBarPressesAndReleaseClicks) {
    grid.SetCurrentCell(3, 1);
    Key(WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(control->Button()->IsPressed());
    EXPECT_TRUE(grid.buttonClicks.empty());
    Key(WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(control->Button()->IsPressed());
    EXPECT_EQ(grid.buttonClicks, (std::vector<std::string>{"3,1"}));
    // A cancelled press lets go without a click.
    Key(WM_KEYDOWN, VK_SPACE);
    control->CancelMode();
    Key(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(grid.buttonClicks.size(), 1u);
}

TEST_F(PushbuttonTest, DrawsTheCaptionOnARaisedFace) {
    CGXStyle caption;
    caption.SetChoicesList(u"Sort");
    SetCell(2, 2, caption);
    const CRect cell = grid.CalcCellRect(2, 2);
    const auto records = Record(2, 2, cell);
    const auto edges = Only(records, "DrawEdge");
    ASSERT_EQ(edges.size(), 1u);
    EXPECT_NE(edges[0].find("," + std::to_string(EDGE_RAISED) + ","), std::string::npos) << edges[0];
    const auto texts = Only(records, "TextOut");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("\"Sort\""), std::string::npos);

    // Without a choice list: a face with no caption; a cell one pixel wide draws nothing.
    EXPECT_TRUE(Only(Record(3, 2, grid.CalcCellRect(3, 2)), "TextOut").empty());
    EXPECT_EQ(Only(Record(3, 2, grid.CalcCellRect(3, 2)), "DrawEdge").size(), 1u);
    EXPECT_TRUE(Record(2, 2, CRect(cell.left, cell.top, cell.left + 1, cell.bottom)).empty());
}

class ProgressTest : public CellControlFixture<CGXProgressCtrl> {
protected:
    void SetUp() override { Init(new CGXProgressCtrl(&grid), kProgress); }
    void SetBounds(ROWCOL row, ROWCOL col, LPCTSTR lower, LPCTSTR upper) {
        CGXStyle bounds;
        bounds.SetUserAttribute(CGXProgressCtrl::kLowerBoundAttribute, lower)
            .SetUserAttribute(CGXProgressCtrl::kUpperBoundAttribute, upper);
        SetCell(row, col, bounds);
    }
    CString Store(ROWCOL row, ROWCOL col, LPCTSTR value) {
        CGXStyle style;
        style.SetValue(value);
        control->StoreStyle(row, col, &style, kMergeOverride, 0, nullptr);
        return Value(row, col);
    }
};

TEST(ProgressGeometryTest, BarEndWithinTheCell) {
    struct Case {
        long value, lower, upper;
        int right;
    };
    // The cell runs from x 10 to x 210.
    const Case cases[] = {
        {50, 0, 100, 110},  {0, 0, 100, 10},
        {100, 0, 100, 210}, {150, 0, 100, 210},
        {-20, 0, 100, 10},  {-50, -100, 0, 110},
        {25, 100, 0, 60},   {5, 5, 5, 210},
        {4, 5, 5, 10},      {2147483647, -2147483647 - 1, 2147483647, 210},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CGXProgressCtrl::BarRight(c.value, c.lower, c.upper, 10, 210), c.right) << &c - cases;
    }
    EXPECT_EQ(CGXProgressCtrl::BarRight(50, 0, 100, 10, 10), 10);
}

TEST_F(ProgressTest, DrawsBarAndRestInTheirColours) {
    SetBounds(2, 2, u"0", u"100");
    CGXStyle look;
    look.SetTextColor(RGB(0, 0, 255)).SetInteriorColor(RGB(255, 255, 0)).SetValue(u"50");
    SetCell(2, 2, look);
    const CRect cell(0, 0, 200, 18);
    const auto records = Record(2, 2, cell);
    // Each fill: the background colour set, the opaque rectangle, the old colour back.
    const auto yellowFill =
        std::find(records.begin(), records.end(), "SetBkColor(" + std::to_string(RGB(255, 255, 0)) + ")");
    ASSERT_NE(yellowFill, records.end());
    EXPECT_EQ(*(yellowFill + 1), "ExtTextOut(100,0,2,100,0,200,18,0)");
    const auto blueFill =
        std::find(records.begin(), records.end(), "SetBkColor(" + std::to_string(RGB(0, 0, 255)) + ")");
    ASSERT_NE(blueFill, records.end());
    EXPECT_EQ(*(blueFill + 1), "ExtTextOut(0,0,2,0,0,100,18,0)");
    EXPECT_DOUBLE_EQ(control->GetScale(), 0.5);
}

TEST_F(ProgressTest, CaptionStraddlingTheBarEndIsWrittenTwice) {
    SetBounds(2, 2, u"0", u"100");
    CGXStyle look;
    look.SetUserAttribute(CGXProgressCtrl::kCaptionAttribute, u"%d%%").SetValue(u"50");
    SetCell(2, 2, look);
    const CRect cell(0, 0, 200, 18);
    const auto records = Record(2, 2, cell);
    const auto texts = Only(records, "TextOut");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("\"50%\""), std::string::npos);
    // The second writing, over the bar, is clipped to it.
    EXPECT_EQ(Only(records, "IntersectClipRect"),
              (std::vector<std::string>{"IntersectClipRect(0,0,100,18)"}));

    // Caption wholly over a full bar: written once, unclipped; an empty template writes nothing.
    look.SetValue(u"100");
    SetCell(2, 2, look);
    EXPECT_EQ(Only(Record(2, 2, cell), "TextOut").size(), 1u);
    EXPECT_TRUE(Only(Record(2, 2, cell), "IntersectClipRect").empty());
    look.SetUserAttribute(CGXProgressCtrl::kCaptionAttribute, u"");
    SetCell(2, 2, look);
    EXPECT_TRUE(Only(Record(2, 2, cell), "TextOut").empty());
}

TEST_F(ProgressTest, StoredValuesAreHeldToTheBounds) {
    SetBounds(2, 2, u"0", u"100");
    EXPECT_EQ(Store(2, 2, u"150"), CString(u"100"));
    EXPECT_EQ(Store(2, 2, u"-5"), CString(u"0"));
    EXPECT_EQ(Store(2, 2, u"42"), CString(u"42"));
    // Negative bounds keep their sign; bounds in either order mean the same range.
    SetBounds(3, 2, u"-10", u"-1");
    EXPECT_EQ(Store(3, 2, u"-50"), CString(u"-10"));
    SetBounds(4, 2, u"100", u"0");
    EXPECT_EQ(Store(4, 2, u"150"), CString(u"100"));
    EXPECT_EQ(Store(4, 2, u"30"), CString(u"30"));
    // No bounds at all: nothing to hold the value to.
    EXPECT_EQ(Store(5, 2, u"150"), CString(u"150"));
}

TEST(ProgressCaptionTest, TemplateTakesTheValueOnlyForOneIntegerField) {
    const std::pair<LPCTSTR, LPCTSTR> cases[] = {
        {u"%d%%", u"50%"},
        {u"%ld of 100", u"50 of 100"},
        {u"[%5d]", u"[   50]"},
        {u"%x", u"32"},
        {u"%d and %d", u"50 and %d"},
        {u"%s%n%p", u"%s%n%p"},
        {u"", u""},
        {u"100%", u"100%"},
        {u"%999999999d", nullptr},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [format, expected] = cases[i];
        const CString out = FormatProgressCaption(format, 50);
        if (expected) {
            EXPECT_EQ(out, CString(expected)) << i;
        } else {
            EXPECT_LE(out.GetLength(), 99) << "a huge field stays small";
        }
    }
    EXPECT_EQ(FormatProgressCaption(u"%d", -7), CString(u"-7"));
}

} // namespace
} // namespace gridtest
