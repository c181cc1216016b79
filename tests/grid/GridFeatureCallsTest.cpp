// The calls into the interaction features: which feature sees a press, a move, a release or a key, in
// which order, and that a feature that takes the event ends the grid's own handling.
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

POINT CellCentre(ROWCOL row, ROWCOL col) {
    return POINT{60 + static_cast<LONG>(col - 1) * 100 + 50, 21 + static_cast<LONG>(row - 1) * 18 + 9};
}

std::vector<std::string>* g_log = nullptr;

std::string Event(const char* what, int hit, ROWCOL row, ROWCOL col) {
    std::string entry = std::string(what) + " " + std::to_string(hit) + " " + SpyControl::Cell(row, col);
    if (g_log) {
        g_log->push_back(entry);
    }
    return entry;
}

struct SpySelect : CGXAbstractGridUserSelectRangeImp {
    BOOL ExtendSelectionOnMove(CGXGridCore*, int direction, int count) override {
        Event("select key", direction, count, 0);
        return TRUE;
    }
    BOOL OnLButtonDown(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("select down", hit, row, col);
        return TRUE;
    }
    BOOL OnMouseMove(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("select move", hit, row, col);
        return TRUE;
    }
    BOOL OnLButtonUp(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("select up", hit, row, col);
        return TRUE;
    }
    void RefreshSelection(CGXGridCore*, const CGXRange*, BOOL, BOOL) override {}
    BOOL SelectRange(CGXGridCore*, const CGXRange&, BOOL) override { return TRUE; }
    void DrawSelectionChange(CGXGridCore*, const CGXRange&, const CGXRangeList*, BOOL) override {}
    void SetSelection(CGXGridCore*, POSITION, ROWCOL, ROWCOL, ROWCOL, ROWCOL) override {}
    void DrawSelectionRange(CGXGridCore*, POSITION, ROWCOL, ROWCOL, ROWCOL, ROWCOL, BOOL) override {}
    void ClearSelection(CGXGridCore*, BOOL) override { Event("select clear", 0, 0, 0); }
    BOOL OnCtrlClickCell(CGXGridCore*, ROWCOL, ROWCOL, UINT, POINT) override { return FALSE; }
};

struct SpyResize : CGXAbstractGridUserResizeCellsImp {
    BOOL OnMouseMove(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("resize hover", hit, row, col);
        return FALSE;
    }
    BOOL OnLButtonDown(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("resize down", hit, row, col);
        return TRUE;
    }
    BOOL OnLButtonUp(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("resize up", hit, row, col);
        return TRUE;
    }
    BOOL OnLButtonDblClk(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("resize dblclk", hit, row, col);
        return TRUE;
    }
    void BeginTrackSize(CGXGridCore*, POINT, int) override {}
    void TrackSize(CGXGridCore*, POINT) override {}
    void EndTrackSize(CGXGridCore*, POINT) override {}
    void CancelTrackSize(CGXGridCore*) override { Event("resize cancel", 0, 0, 0); }
};

struct SpyDrag : CGXAbstractGridUserDragSelectRangeImp {
    BOOL OnLButtonDown(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("drag down", hit, row, col);
        return takeDown;
    }
    BOOL OnMouseMove(CGXGridCore*, POINT, UINT, int, ROWCOL, ROWCOL) override { return FALSE; }
    BOOL OnLButtonUp(CGXGridCore*, POINT, UINT, int, ROWCOL, ROWCOL) override { return FALSE; }
    void CancelDragSelect(CGXGridCore*) override {}
    BOOL takeDown = FALSE;
};

struct SpyFill : CGXAbstractGridExcelLikeFillImp {
    BOOL OnLButtonDown(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("fill down", hit, row, col);
        return TRUE;
    }
    BOOL OnMouseMove(CGXGridCore*, POINT, UINT, int, ROWCOL, ROWCOL) override { return FALSE; }
    BOOL OnLButtonUp(CGXGridCore*, POINT, UINT, int hit, ROWCOL row, ROWCOL col) override {
        Event("fill up", hit, row, col);
        return TRUE;
    }
    BOOL FillCells(CGXGridCore*, const CGXRange& source, const CGXRange& filled) override {
        Event("fill", 0, source.top, filled.top);
        return TRUE;
    }
    void SelectFilledRange(CGXGridCore*, const CGXRange&) override {}
};

struct SpyFrame : CGXAbstractGridExcelLikeFrameImp {
    void DrawRangeFrame(CGXGridCore*, CDC*, const CGXRange&, int, BOOL) override {}
    void DrawSelectionFrame(CGXGridCore*, CDC*, BOOL, const CGXRange*) override {}
    void RefreshSelectionFrame(CGXGridCore*) override {}
    BOOL LockSelectionFrame(CGXGridCore*, BOOL lock, BOOL) override {
        Event("frame lock", lock, 0, 0);
        const BOOL old = locked;
        locked = lock;
        return old;
    }
    BOOL locked = FALSE;
};

class FeatureCallsTest : public EngineFixture {
protected:
    void SetUp() override {
        Init();
        g_log = &events;
        grid.InstallFeature<SpySelect>(kFeatureUserSelectRange);
        grid.InstallFeature<SpyResize>(kFeatureUserResizeCells);
        grid.InstallFeature<SpyDrag>(kFeatureUserDragSelectRange);
        grid.InstallFeature<SpyFill>(kFeatureExcelLikeFill);
        grid.InstallFeature<SpyFrame>(kFeatureExcelLikeFrame);
    }
    void TearDown() override {
        g_log = nullptr;
        EngineFixture::TearDown();
    }
    void Send(UINT message, UINT flags, POINT point) {
        grid.SendMessage(message, flags, MAKELPARAM(point.x, point.y));
    }
    std::vector<std::string> events;
};

TEST_F(FeatureCallsTest, ACellPressGoesToDragSelectThenSelectionThenTheCell) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(3, 2));
    Send(WM_MOUSEMOVE, MK_LBUTTON, CellCentre(3, 2)); // the same cell: the selection is not asked again
    Send(WM_MOUSEMOVE, MK_LBUTTON, CellCentre(4, 2));
    Send(WM_LBUTTONUP, 0, CellCentre(4, 2));
    EXPECT_EQ(events, (std::vector<std::string>{"drag down 3 3,2", "select down 3 3,2", "select move 3 4,2",
                                                "select up 3 4,2"}));
    EXPECT_EQ(log.front(), "InitCell 3,2"); // the grid's own handling went on

    // A drag-select that takes the press ends it there.
    static_cast<SpyDrag*>(grid.GetFeature(kFeatureUserDragSelectRange))->takeDown = TRUE;
    events.clear();
    log.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(6, 3));
    EXPECT_EQ(events, std::vector<std::string>{"drag down 3 6,3"});
    EXPECT_TRUE(log.empty());
}

TEST_F(FeatureCallsTest, EdgesGoToTheUserResizeFeature) {
    const POINT edge{160, 10}; // the right edge of column 1 in the header row
    Send(WM_MOUSEMOVE, 0, edge);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, edge);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, edge);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].substr(0, 14), "resize hover 1");
    EXPECT_EQ(events[1].substr(0, 13), "resize down 1");
    EXPECT_EQ(events[2].substr(0, 15), "resize dblclk 1");
    EXPECT_TRUE(log.empty());
}

TEST_F(FeatureCallsTest, KeysMoveThroughTheSelectionAndFillArgumentsAreSwapped) {
    grid.SetCurrentCell(3, 3);
    grid.SendMessage(WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(events, std::vector<std::string>{"select key 3 1,0"});

    events.clear();
    grid.ApplyExcelLikeFill(CGXRange(5, 1, 8, 1), CGXRange(2, 1, 3, 1));
    EXPECT_EQ(events, std::vector<std::string>{"fill 0 2,5"});
}

TEST_F(FeatureCallsTest, InsertingRowsHidesTheSelectionFrameUntilItEnds) {
    EXPECT_TRUE(grid.InsertRows(2, 1));
    EXPECT_EQ(events, (std::vector<std::string>{"frame lock 1 0,0", "frame lock 0 0,0"}));
}

TEST_F(FeatureCallsTest, CancelModeEndsTheTrackingOrThePressWithItsSelection) {
    grid.m_bSizeTracking = TRUE;
    grid.SendMessage(WM_CANCELMODE, 0, 0);
    EXPECT_EQ(events, std::vector<std::string>{"resize cancel 0 0,0"});
    grid.m_bSizeTracking = FALSE;

    events.clear();
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CellCentre(3, 2));
    events.clear();
    grid.SendMessage(WM_CANCELMODE, 0, 0);
    EXPECT_EQ(events, std::vector<std::string>{"select clear 0 0,0"});
    EXPECT_EQ(grid.GetButtonState(), 0);
}

} // namespace
} // namespace gridtest
