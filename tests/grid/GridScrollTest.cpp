// Scrolling: pixels move with the cells and only the uncovered band is painted; the limits of a scroll; the
// scroll bars' factor, modes and messages.
#include "platform/display/ScrollBarApi.h"
#include "platform/display/WindowApi.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <algorithm>

namespace gridtest {
namespace {

class ScrollTest : public EngineFixture {
protected:
    void SetUp() override {
        Init();
        host.Paint();
        grid.paintedClips.clear();
    }
};

TEST_F(ScrollTest, ScrollingDownMovesThePixelsAndPaintsOnlyTheUncoveredBand) {
    CGXStyle red;
    red.SetInteriorColor(RGB(255, 0, 0));
    grid.SetStyleRange(CGXRange(5, 1, 5, 3), &red);
    host.Paint();
    EXPECT_EQ(host.Pixel(200, 100), RGB(255, 0, 0)); // row 5 spans y 93..111
    grid.paintedClips.clear();

    EXPECT_TRUE(grid.ScrollCells(3, 2));
    EXPECT_EQ(grid.GetTopRow(), 3u);
    EXPECT_EQ(host.Pixel(200, 64), RGB(255, 0, 0)); // moved up by 36 pixels
    ASSERT_EQ(grid.paintedClips.size(), 1u);
    // The 36 pixels that came in at the bottom, and row 16's hidden part above them (from 291 - 36).
    EXPECT_EQ(grid.paintedClips[0], CRect(0, 255, 400, 300));
}

TEST_F(ScrollTest, AScrollAsLongAsTheAreaRepaintsTheArea) {
    grid.SetRowHeight(1, 3, 100);
    host.Paint();
    grid.paintedClips.clear();
    EXPECT_TRUE(grid.ScrollCells(3, 3));
    ASSERT_EQ(grid.paintedClips.size(), 1u);
    EXPECT_EQ(grid.paintedClips[0], CRect(0, 21, 400, 300));
}

TEST_F(ScrollTest, ScrollsStopAtTheFirstAndTheLastUsefulRow) {
    EXPECT_FALSE(grid.ScrollCells(1, 1));
    grid.SetTopRow(3);
    EXPECT_TRUE(grid.ScrollCells(1, 5));
    EXPECT_EQ(grid.GetTopRow(), 1u);
    EXPECT_TRUE(grid.ScrollCells(3, 100));
    EXPECT_EQ(grid.GetTopRow(), 7u); // rows 7 to 21 fill 270 of the 279 pixels below the header
    EXPECT_FALSE(grid.ScrollCells(3, 1));
}

TEST_F(ScrollTest, ScrollPositionsAreScaledToTheBarsRange) {
    grid.SetScrollBarMode(SB_VERT, 1);
    grid.SetScrollRange(SB_VERT, 0, 100000);
    EXPECT_EQ(grid.ScrollFactor(SB_VERT), 4);
    grid.SetScrollPos(SB_VERT, 10);
    EXPECT_EQ(::GetScrollPos(grid.GetSafeHwnd(), SB_VERT), 2);
    EXPECT_EQ(grid.GetScrollPos(SB_VERT), 8u);
    grid.SetScrollPos(SB_VERT, 3);
    EXPECT_EQ(::GetScrollPos(grid.GetSafeHwnd(), SB_VERT), 0);
}

TEST_F(ScrollTest, AnAsNeededBarShowsOnlyWhileThereIsSomethingToScroll) {
    const auto shown = [&] { return (grid.GetStyle() & WS_VSCROLL) != 0; };
    grid.SetScrollBarMode(SB_VERT, 10);
    EXPECT_TRUE(shown());
    grid.SetRowCount(5);
    grid.UpdateScrollbars(FALSE);
    EXPECT_FALSE(shown());
    grid.SetRowCount(21);
    grid.UpdateScrollbars(FALSE);
    EXPECT_TRUE(shown());
    grid.SetScrollBarMode(SB_BOTH, 0);
    EXPECT_FALSE(shown());
}

TEST_F(ScrollTest, ScrollMessagesMoveTheTopRowAndThumbTrackingFollowsTheParameter) {
    grid.SetScrollBarMode(SB_VERT, 10);
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(grid.GetTopRow(), 2u);
    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(grid.GetTopRow(), 7u); // the last useful top row stops the page
    grid.SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(grid.GetTopRow(), 1u);
    grid.GetParam()->m_bThumbTrack = FALSE;
    grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3));
    EXPECT_EQ(grid.GetTopRow(), 1u);
    grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
    EXPECT_EQ(grid.GetTopRow(), 3u); // seven rows to scroll: factor 1
}

TEST_F(ScrollTest, AutoScrollIsNotStartedWithoutItsPlugin) {
    grid.StartAutoScroll(TRUE, TRUE, FALSE);
    EXPECT_EQ(::GetCapture(), nullptr);
    MSG msg{};
    EXPECT_FALSE(::PeekMessageW(&msg, grid.GetSafeHwnd(), WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

TEST_F(ScrollTest, ACellIsBroughtIntoViewWholeAndFrozenRowsNeverScroll) {
    EXPECT_TRUE(grid.ScrollCellInView(16, 1)); // row 16 is cut off at the bottom
    EXPECT_EQ(grid.GetTopRow(), 2u);            // rows 2 to 16 take 270 of the 279 pixels
    grid.SetFrozenRows(2);
    EXPECT_FALSE(grid.ScrollCellInView(1, 1));
    EXPECT_EQ(grid.GetTopRow(), 3u); // the frozen rows pushed the top row to 3; row 1 needs no scroll
}

// An active cell whose covered range (rows 5-7 of column 2) the frozen rows would cut stores its value and
// deactivates before a scroll; an inactive one, or a range the frozen rows leave whole, is left alone.
TEST_F(ScrollTest, ScrollingStopsEditingACellTheFrozenRowsWouldSplit) {
    grid.InstallFeature<CoverColumnTwo>(kFeatureCoveredCells);
    struct Case {
        ROWCOL frozen;
        BOOL active;
        BOOL modified;
        bool stops;
    };
    for (const Case c : {Case{5, TRUE, TRUE, true}, Case{6, TRUE, FALSE, true}, Case{7, TRUE, TRUE, false},
                         Case{0, TRUE, TRUE, false}, Case{5, FALSE, TRUE, false}}) {
        grid.SetFrozenRows(c.frozen);
        ASSERT_TRUE(grid.SetCurrentCell(5, 2));
        spy->SetActive(c.active);
        spy->SetModified(c.modified);
        log.clear();
        grid.SendMessage(WM_VSCROLL, SB_LINEDOWN);
        const bool stored = std::find(log.begin(), log.end(), "StoreValue") != log.end();
        EXPECT_EQ(stored, c.stops && c.modified) << c.frozen;
        EXPECT_EQ(spy->IsActive(), c.active && !c.stops) << c.frozen;
        grid.SetTopRow(c.frozen + 1);
    }
}

} // namespace
} // namespace gridtest
