// The satellites grid: its layout and column widths, the summary cells written only when they change, and
// the sort buttons and arrow keys as the user works them.
#include "dialogs/CSatSortPushbutton.h"
#include "dialogs/CSatsDataGrid.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "grid/GridResourceIds.h"
#include "grid/GridSysColorCache.h"
#include "platform/display/VirtualKeys.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/gdi/SystemColors.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/GridTestHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Counts the cell writes and window redraws of the grid.
class CountingGrid : public CSatsDataGrid {
public:
    using CSatsDataGrid::CSatsDataGrid;
    BOOL StoreStyleRowCol(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind) override {
        ++stores;
        return CSatsDataGrid::StoreStyleRowCol(row, col, style, mode, kind);
    }
    void RedrawRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, UINT flags, BOOL hint) override {
        ++redraws;
        CSatsDataGrid::RedrawRowCol(top, left, bottom, right, flags, hint);
    }
    int stores = 0;
    int redraws = 0;
};

class SatsDataGridTest : public ::testing::Test {
protected:
    // A grid whose drawing rectangle is `width` pixels wide, initialised as the view does it.
    void Make(int width = 520) {
        host = std::make_unique<apptest::GridTestHost>();
        host->sortMode = &g_satelliteSortMode;
        grid = std::make_unique<CountingGrid>(host.get());
        grid->SetParam(new CGXGridParam, TRUE);
        ASSERT_TRUE(grid->Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, width, 420), host.get(), 7));
        grid->InitializeFromStyle();
        grid->stores = 0;
        grid->redraws = 0;
    }
    void TearDown() override {
        if (grid && grid->GetSafeHwnd()) {
            grid->DestroyWindow();
        }
        grid.reset();
        host.reset();
    }
    // A press and release of the left button in the middle of the cell.
    void Click(ROWCOL row, ROWCOL col) {
        const CPoint at = grid->CalcCellRectSpanned(row, col).CenterPoint();
        grid->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        grid->SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    BOOL Latched(ROWCOL col) { return grid->SortButton(col)->IsChecked(); }
    void Key(UINT message, WPARAM key) { grid->SendMessageW(message, key, 1); }
    void Mouse(UINT message, WPARAM flags, ROWCOL row, ROWCOL col) {
        const CPoint at = grid->CalcCellRectSpanned(row, col).CenterPoint();
        grid->SendMessageW(message, flags, MAKELPARAM(at.x, at.y));
    }

    // How the header cell's sort button is drawn: its edge sunken or raised, and its face colour.
    struct Look {
        bool sunken;
        COLORREF face;
    };
    Look Drawn(ROWCOL col) {
        const CRect rect = grid->CalcCellRectSpanned(1, col);
        HDC hdc = GdiCreateRecordingDC(400, 200);
        Look look{false, ::GetPixel(hdc, rect.left + 4, rect.top + 4)};
        {
            CDC dc;
            dc.Attach(hdc);
            grid->SortButton(col)->Draw(&dc, rect, 1, col, grid->LookupStyleRowCol(1, col), nullptr);
            dc.Detach();
        }
        int edges = 0;
        for (const GdiRecord& record : GdiGetRecords(hdc)) {
            if (record.op == "DrawEdge") {
                ++edges;
                look.sunken = record.args.at(4) == EDGE_SUNKEN;
            }
        }
        EXPECT_EQ(edges, 1) << "column " << col;
        look.face = ::GetPixel(hdc, rect.left + 4, rect.top + 4);
        ::DeleteDC(hdc);
        return look;
    }
    static COLORREF Face() { return GridSysColorCache::GetColor(COLOR_BTNFACE); }
    static COLORREF Highlight() { return GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT); }

    std::unique_ptr<apptest::GridTestHost> host;
    std::unique_ptr<CountingGrid> grid;
};

TEST_F(SatsDataGridTest, ColumnsTakeTheirShareOfTheWindowWidth) {
    Make(520);
    const int expected[] = {0, 59, 47, 12, 59, 75, 67, 67, 67, 67};
    for (ROWCOL col = 0; col <= 9; ++col) {
        EXPECT_EQ(grid->GetColWidth(col), expected[col]) << "column " << col;
    }
    EXPECT_EQ(grid->GetRowCount(), 21u);
    EXPECT_EQ(grid->GetColCount(), 9u);
    EXPECT_EQ(grid->GetRowHeight(0), 0);
    EXPECT_EQ(grid->GetScrollBarMode(SB_VERT), 0);
    EXPECT_EQ(grid->GetScrollBarMode(SB_HORZ), 0);
}

TEST_F(SatsDataGridTest, LayoutPutsButtonsLabelsBodyAndBarsInTheirCells) {
    Make();
    struct Cell {
        ROWCOL row, col;
        WORD control;
        const char16_t* text; // value, or caption of a sort button
    };
    const Cell cells[] = {
        {1, 1, IDS_SAT_SORT_BUTTON_1, u"PRN"}, {1, 2, IDS_SAT_SORT_BUTTON_2, u"El"},
        {1, 4, IDS_SAT_SORT_BUTTON_3, u"Azm"}, {1, 5, IDS_SAT_SORT_BUTTON_4, u"Eb/No"},
        {1, 6, IDS_GRID_CTRL_STATIC, u"5"},    {1, 9, IDS_GRID_CTRL_STATIC, u"35"},
        {2, 3, IDS_GRID_CTRL_STATIC, u""},     {17, 6, IDS_GRID_CTRL_PROGRESS, u"0"},
        {21, 1, IDS_GRID_CTRL_STATIC, u""},
    };
    for (const Cell& cell : cells) {
        const CGXStyle& style = grid->LookupStyleRowCol(cell.row, cell.col);
        EXPECT_EQ(style.GetControlId(), cell.control) << cell.row << "," << cell.col;
        const CString text = cell.control >= IDS_SAT_SORT_BUTTON_1 && cell.control <= IDS_SAT_SORT_BUTTON_4
                                 ? style.GetChoicesList()
                                 : style.GetValue();
        EXPECT_EQ(text, CString(cell.text)) << cell.row << "," << cell.col;
    }
    // The body's right alignment replaced the symbol column's centring; its font stayed.
    const CGXStyle& symbol = grid->LookupStyleRowCol(5, 3);
    EXPECT_EQ(symbol.GetHorizontalAlignment(), 2);
    EXPECT_EQ(symbol.GetFont().GetFaceName(), CString(u"Symbol"));
    // The bars' bounds and the covered cells of the bars and the summary lines.
    const CGXStyle& bar = grid->LookupStyleRowCol(9, 6);
    EXPECT_EQ(bar.GetUserAttribute(IDS_GRID_UA_PROGRESS_HIGH).GetValue(), CString(u"40"));
    EXPECT_EQ(bar.GetUserAttribute(IDS_GRID_UA_PROGRESS_LOW).GetValue(), CString(u"00"));
    CGXRange covered;
    if (grid->GetCoveredCellsRowCol(9, 7, covered)) {
        EXPECT_EQ(covered, CGXRange(9, 6, 9, 9));
        ASSERT_TRUE(grid->GetCoveredCellsRowCol(20, 4, covered));
        EXPECT_EQ(covered, CGXRange(20, 1, 20, 9));
    }
}

TEST_F(SatsDataGridTest, SummaryCellIsWrittenAndRedrawnOnlyWhenItsTextChanges) {
    Make();
    EXPECT_TRUE(grid->SetCellTextIfChanged(19, 1, u"3D Fix"));
    EXPECT_EQ(grid->GetValueRowCol(19, 1), CString(u"3D Fix"));
    const int stores = grid->stores;
    const int redraws = grid->redraws;
    EXPECT_GE(redraws, 1);
    EXPECT_FALSE(grid->SetCellTextIfChanged(19, 1, u"3D Fix"));
    EXPECT_EQ(grid->stores, stores);
    EXPECT_EQ(grid->redraws, redraws);
    EXPECT_FALSE(grid->GetParam()->m_bLockUpdate);
}

TEST_F(SatsDataGridTest, StoredSortModeLatchesItsButtonOnly) {
    g_satelliteSortMode = 1;
    Make();
    ASSERT_NE(Face(), Highlight());
    for (const ROWCOL col : {1u, 2u, 4u, 5u}) {
        const bool latched = col == 2;
        EXPECT_EQ(Latched(col), latched) << "column " << col;
        const Look look = Drawn(col);
        EXPECT_EQ(look.sunken, latched) << "column " << col;
        EXPECT_EQ(look.face, latched ? Highlight() : Face()) << "column " << col;
    }
}

TEST_F(SatsDataGridTest, SortClicksLatchOneButtonAndTellTheOwnerAtOnce) {
    g_satelliteSortMode = 0;
    Make();
    ASSERT_TRUE(Latched(1));
    struct Step {
        ROWCOL col;
        int mode;
        bool latched[4]; // columns 1, 2, 4, 5
    };
    const Step steps[] = {
        {4, 2, {false, false, true, false}}, // "Azm" while "PRN" is latched
        {4, 4, {false, false, false, false}}, // "Azm" again: sorting off
        {5, 3, {false, false, false, true}},
        {2, 1, {false, true, false, false}},
        {1, 0, {true, false, false, false}},
    };
    for (const Step& step : steps) {
        host->notices.clear();
        Click(1, step.col);
        EXPECT_EQ(g_satelliteSortMode, step.mode) << "column " << step.col;
        // Sent, not posted: the owner had the new mode before the click returned.
        EXPECT_EQ(host->notices, std::vector<int>{step.mode});
        const ROWCOL cols[] = {1, 2, 4, 5};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Latched(cols[i]), step.latched[i]) << "after column " << step.col << ", column " << cols[i];
        }
    }
}

TEST_F(SatsDataGridTest, SpaceBarLatchesAndReleasesTheCurrentButton) {
    Make();
    ASSERT_TRUE(grid->SetCurrentCell(1, 5));
    Key(WM_KEYDOWN, VK_SPACE);
    EXPECT_TRUE(host->notices.empty()) << "nothing before the release";
    Key(WM_KEYUP, VK_SPACE);
    EXPECT_TRUE(Latched(5));
    EXPECT_EQ(host->notices, std::vector<int>{3});
    Key(WM_KEYDOWN, VK_SPACE);
    Key(WM_KEYUP, VK_SPACE);
    EXPECT_FALSE(Latched(5));
    EXPECT_EQ(g_satelliteSortMode, kSatSortNone);
    // A release without a press first is no click.
    Key(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(host->notices.size(), 2u);
}

TEST_F(SatsDataGridTest, PressShowsTheButtonInButOnlyAReleaseOverItLatchesIt) {
    Make();
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1, 4);
    Look look = Drawn(4);
    EXPECT_TRUE(look.sunken) << "held down";
    EXPECT_EQ(look.face, Face()) << "not latched yet";
    // Dragged off and let go over a body cell: the press is abandoned.
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 6, 6);
    EXPECT_FALSE(Drawn(4).sunken);
    Mouse(WM_LBUTTONUP, 0, 6, 6);
    EXPECT_FALSE(Latched(4));
    EXPECT_TRUE(host->notices.empty());
    EXPECT_EQ(g_satelliteSortMode, kSatSortNone);
    // Off and back on before the release: a click.
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1, 4);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 6, 6);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, 1, 4);
    Mouse(WM_LBUTTONUP, 0, 1, 4);
    EXPECT_TRUE(Latched(4));
    EXPECT_EQ(host->notices, std::vector<int>{2});
    look = Drawn(4);
    EXPECT_TRUE(look.sunken);
    EXPECT_EQ(look.face, Highlight());
}

TEST_F(SatsDataGridTest, BodyPressesAreIgnored) {
    Make();
    ASSERT_TRUE(grid->SetCurrentCell(1, 4));
    Click(6, 2);
    grid->SendMessageW(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    ROWCOL row = 0, col = 0;
    ASSERT_TRUE(grid->GetCurrentCell(row, col));
    EXPECT_EQ(row, 1u);
    EXPECT_EQ(col, 4u);
    EXPECT_EQ(g_satelliteSortMode, kSatSortNone);
    EXPECT_TRUE(host->notices.empty());
}

TEST_F(SatsDataGridTest, ArrowsCycleThroughTheSortButtons) {
    Make();
    struct Move {
        ROWCOL from;
        int direction; // 1 up, 2 left, 3 down, 4 right
        ROWCOL to;
    };
    const Move moves[] = {{5, 4, 1}, {1, 2, 5}, {2, 4, 4}, {4, 2, 2}, {2, 1, 1}, {4, 3, 5}};
    for (const Move& move : moves) {
        ASSERT_TRUE(grid->SetCurrentCell(1, move.from));
        grid->ProcessMoveKey(move.direction, 1);
        ROWCOL row = 0, col = 0;
        ASSERT_TRUE(grid->GetCurrentCell(row, col));
        EXPECT_EQ(row, 1u);
        EXPECT_EQ(col, move.to) << "from " << move.from << " direction " << move.direction;
    }
}

} // namespace
