// Painting a 21 x 9 grid headlessly at the test metrics: rows 18 pixels from y 21 (the header row), columns
// 100 pixels from x 60 (the header column); the cells end at x 960 and y 399.
#include "grid/CGXLongOperation.h"
#include "grid/CGXProperties.h"
#include "platform/gdi/RecordingDC.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <algorithm>
#include <set>

namespace gridtest {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Records which cells the grid asked to paint their own background; draws no frame when told not to.
class BackgroundSpy : public SpyControl {
public:
    using SpyControl::SpyControl;
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standard) override {
        if (Grid()->IsDrawCellBackground()) {
            ownBackground.insert(Cell(row, col));
        }
        gridDCIsPaintDC = gridDCIsPaintDC && Grid()->GetGridDC() == dc;
        SpyControl::Draw(dc, rect, row, col, style, standard);
    }
    void DrawCurrentCellFrame(CDC* dc, const RECT& rect) override {
        if (drawFrame) {
            SpyControl::DrawCurrentCellFrame(dc, rect);
        }
    }
    std::set<std::string> ownBackground;
    bool drawFrame = true;
    bool gridDCIsPaintDC = true;
};

class PaintTest : public ::testing::Test {
protected:
    PaintTest() : host(&grid, 1000, 420) {
        grid.Initialize();
        grid.RegisterControl(0x7001, spy = new BackgroundSpy(&grid, &log), TRUE, FALSE);
        grid.SetRowCount(21);
        grid.SetColCount(9);
        gridColour = ::GetSysColor(COLOR_GRAYTEXT);
        interior = grid.LookupStyleRowCol(5, 5).GetInterior().GetColor() & 0xFFFFFF;
    }
    void TearDown() override { AfxDeleteTempMaps(); }

    void PaintAll() {
        ::InvalidateRect(grid.GetSafeHwnd(), nullptr, FALSE);
        host.Paint();
    }
    // The grid's drawing calls on a recording DC of the window's size.
    std::vector<std::string> Record() {
        HDC hdc = GdiCreateRecordingDC(1000, 420);
        CDC dc;
        dc.Attach(hdc);
        grid.OnGridDraw(&dc);
        std::vector<std::string> out;
        for (const GdiRecord& record : GdiGetRecords(hdc)) {
            out.push_back(GdiFormatRecord(record));
        }
        dc.Detach();
        ::DeleteDC(hdc);
        return out;
    }
    static int CountStarting(const std::vector<std::string>& records, const std::string& prefix) {
        int n = 0;
        for (const std::string& r : records) {
            n += r.rfind(prefix, 0) == 0;
        }
        return n;
    }

    std::vector<std::string> log; // outlives the grid, whose spy logs while the window goes
    TestGrid grid;
    GridHost host;
    BackgroundSpy* spy = nullptr;
    COLORREF gridColour = 0;
    COLORREF interior = 0;
};

TEST_F(PaintTest, GridLinesLieOnTheColumnAndRowEdgesAndCloseTheLastCells) {
    PaintAll();
    for (int col = 1; col <= 10; ++col) { // the tenth is the closing line right of column 9
        const int x = 60 + (col - 1) * 100;
        EXPECT_EQ(host.Pixel(x, 100), gridColour) << "column " << col;
        if (col <= 9) {
            EXPECT_EQ(host.Pixel(x + 1, 100), interior) << "column " << col;
        }
    }
    for (int row = 1; row <= 22; ++row) {
        const int y = 21 + (row - 1) * 18;
        EXPECT_EQ(host.Pixel(500, y), gridColour) << "row " << row;
        if (row <= 21) {
            EXPECT_EQ(host.Pixel(500, y + 1), interior) << "row " << row;
        }
    }
}

TEST_F(PaintTest, EqualBackgroundsAreFilledAsOneRunAndALoneCellPaintsItsOwn) {
    CGXStyle red;
    red.SetInteriorColor(RGB(255, 0, 0));
    CGXStyle blue;
    blue.SetInteriorColor(RGB(0, 0, 255));
    grid.SetStyleRange(CGXRange(2, 1, 2, 3), &red);
    grid.SetStyleRange(CGXRange(2, 5, 2, 5), &blue);

    const std::vector<std::string> records = Record();
    // Row 2 spans y 39..57: one fill for the three red cells.
    EXPECT_EQ(CountStarting(records, "FillRect(60,39,360,57,255)"), 1);
    EXPECT_EQ(CountStarting(records, "FillRect(60,39,160,57"), 0);
    EXPECT_TRUE(spy->ownBackground.count("2,5"));
    EXPECT_TRUE(spy->ownBackground.count("2,4")); // alone between the red and the blue
    EXPECT_FALSE(spy->ownBackground.count("2,2"));
    EXPECT_FALSE(spy->ownBackground.count("3,5"));

    PaintAll();
    EXPECT_EQ(host.Pixel(200, 45), RGB(255, 0, 0));
    EXPECT_EQ(host.Pixel(500, 45), RGB(0, 0, 255)); // painted by its control
}

TEST_F(PaintTest, TheAreaRightOfTheLastColumnIsFilledFivePixelsTaller) {
    const std::vector<std::string> records = Record();
    const COLORREF background = ::GetSysColor(COLOR_BTNFACE);
    const auto fills = [&](const std::string& rect) {
        return std::count_if(records.begin(), records.end(), [&](const std::string& r) {
            return r.rfind("ExtTextOut(", 0) == 0 && r.find(rect) != std::string::npos;
        });
    };
    EXPECT_EQ(fills(",2,960,0,1000,404,"), 1); // the rows end at 399
    EXPECT_EQ(fills(",2,0,399,1000,420,"), 1); // below the last row: no extra
    PaintAll();
    EXPECT_EQ(host.Pixel(980, 100), background);
    EXPECT_EQ(host.Pixel(500, 410), background);
}

TEST_F(PaintTest, AnExplicitRectangleIsFramedOutsideDirectlyAndOnItsEdgeOffScreen) {
    const RECT rect{10, 10, 110, 60};
    grid.SetGridRect(TRUE, &rect);
    PaintAll();
    EXPECT_EQ(host.Pixel(9, 30), kBlack);
    EXPECT_EQ(host.Pixel(50, 9), kBlack);
    EXPECT_EQ(host.Pixel(110, 30), kBlack);
    EXPECT_EQ(host.Pixel(50, 60), kBlack);
    EXPECT_EQ(host.Pixel(110, 60), kBlack); // the closed corner
    EXPECT_EQ(host.Pixel(109, 40), interior);

    grid.SetPaintWithMemoryDC(TRUE);
    ::InvalidateRect(grid.GetSafeHwnd(), nullptr, FALSE);
    ::ValidateRect(grid.GetSafeHwnd(), nullptr);
    // A fresh surface: clear what the direct paint left.
    CClientDC clear(&grid);
    clear.FillSolidRect(CRect(0, 0, 200, 100), kWhite);
    PaintAll();
    EXPECT_EQ(host.Pixel(9, 30), kBlack);
    EXPECT_EQ(host.Pixel(109, 40), kBlack);
    EXPECT_EQ(host.Pixel(50, 59), kBlack);
    EXPECT_EQ(host.Pixel(110, 30), kWhite);
    EXPECT_EQ(host.Pixel(50, 60), kWhite);
}

TEST_F(PaintTest, AMemoryPaintLeavesAControlsWindowRectangleAloneOnce) {
    grid.SetPaintWithMemoryDC(TRUE);
    PaintAll();
    CClientDC clear(&grid);
    clear.FillSolidRect(CRect(200, 100, 240, 120), RGB(1, 2, 3));
    spy->ExcludeRectFromPaint(CRect(200, 100, 220, 120));
    PaintAll();
    EXPECT_EQ(host.Pixel(210, 110), RGB(1, 2, 3));
    EXPECT_EQ(host.Pixel(230, 110), interior);
    PaintAll(); // only the next paint
    EXPECT_EQ(host.Pixel(210, 110), interior);
}

TEST_F(PaintTest, TheCurrentCellGetsItsFrameInsideTheGridLines) {
    grid.SetCurrentCell(3, 2);
    host.Paint();
    // Cell (3, 2) is (160, 57, 260, 75); inside its grid lines (161, 58, 260, 75).
    EXPECT_EQ(host.Pixel(161, 66), kBlack);
    EXPECT_EQ(host.Pixel(162, 66), interior);
    EXPECT_EQ(host.Pixel(200, 58), kBlack);
    EXPECT_EQ(host.Pixel(259, 66), kBlack);
    EXPECT_EQ(host.Pixel(200, 74), kBlack);
    EXPECT_EQ(host.Pixel(200, 66), interior);

    grid.SetCurrentCell(4, 2); // the old frame goes with the old cell's redraw
    host.Paint();
    EXPECT_EQ(host.Pixel(161, 66), interior);
    EXPECT_EQ(host.Pixel(161, 84), kBlack);
}

TEST_F(PaintTest, ASelectedCurrentCellShowsOnlyEdgeStripsOrIsInvertedWholeWithClearStrips) {
    spy->drawFrame = false;
    grid.GetParam()->m_bSelectCurrentCell = TRUE;
    grid.SetCurrentCell(3, 2); // selects the one cell
    PaintAll();
    // Strips of (160, 57, 260, 75): top (160, 57, 258, 60), left (160, 60, 163, 73), bottom (160, 73, 258,
    // 75), right (258, 57, 260, 75).
    EXPECT_EQ(host.Pixel(200, 58), kBlack);
    EXPECT_EQ(host.Pixel(161, 66), kBlack);
    EXPECT_EQ(host.Pixel(200, 74), kBlack);
    EXPECT_EQ(host.Pixel(259, 66), kBlack);
    EXPECT_EQ(host.Pixel(200, 66), interior);

    grid.GetParam()->m_wCurrentCellDisplay = 1;
    PaintAll();
    EXPECT_EQ(host.Pixel(200, 66), kBlack);
    EXPECT_EQ(host.Pixel(200, 58), interior);
    EXPECT_EQ(host.Pixel(259, 66), interior);
}

TEST_F(PaintTest, BordersAddAndSubtractTheirWidthsAndTheGridLines) {
    CGXStyle frame;
    frame.SetDraw3dFrame(1);
    EXPECT_EQ(grid.AddBorders(10, 10, frame), CSize(13, 13));
    CGXStyle thick;
    thick.SetBorders(0, CGXPenValue(PS_SOLID, 2, kBlack));
    EXPECT_EQ(grid.SubtractBorders(CRect(0, 0, 50, 20), thick, TRUE), CRect(2, 1, 50, 20));
    EXPECT_EQ(grid.SubtractBorders(CRect(0, 0, 50, 20), thick, FALSE), CRect(2, 0, 50, 20));
    thick.SetDraw3dFrame(2);
    EXPECT_EQ(grid.SubtractBorders(CRect(0, 0, 50, 20), thick, TRUE), CRect(3, 2, 49, 19));
}

TEST_F(PaintTest, NothingIsDrawnWhileUpdatesAreLockedAndRedrawWithFlagsZeroDoesNothing) {
    host.Paint();
    grid.GetParam()->m_bLockUpdate = TRUE;
    EXPECT_TRUE(Record().empty());
    grid.GetParam()->m_bLockUpdate = FALSE;
    grid.RedrawRowCol(1, 1, 2, 2, 0);
    EXPECT_FALSE(host.HasUpdate());
    grid.RedrawRowCol(1, 1, 1, 1, 1);
    EXPECT_EQ(CRect(host.UpdateRect()), CRect(60, 21, 160, 39));

    grid.m_nTopRow = 30;
    grid.Redraw();
    EXPECT_EQ(grid.GetTopRow(), 21u);
}

TEST_F(PaintTest, TheGridDCIsThePaintsWhileDrawingElseOneKeptUntilReleased) {
    PaintAll();
    EXPECT_TRUE(spy->gridDCIsPaintDC);

    CDC* dc = grid.GetGridDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(grid.GetGridDC(), dc);
    GetLongOperationState().level = 1; // a long operation keeps it
    grid.ReleaseGridDC();
    EXPECT_EQ(grid.GetGridDC(), dc);
    GetLongOperationState().level = 0;
    grid.ReleaseGridDC();
    grid.ReleaseGridDC(); // twice is harmless

    CDC printer;
    printer.CreateCompatibleDC(nullptr);
    grid.PrepareDC(&printer, TRUE);
    EXPECT_EQ(printer.GetMapMode(), MM_ANISOTROPIC);
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    grid.PrepareDC(&screen);
    EXPECT_EQ(screen.GetMapMode(), MM_TEXT);
}

TEST(PaintWithoutControlsTest, ACellWithoutAnyControlStillGetsItsBackground) {
    auto* factory = new TestFactory;
    factory->makeControls = false;
    GridLibraryState::Instance().factory.reset(factory);
    TestGrid bare;
    GridHost host(&bare, 400, 300);
    bare.Initialize();
    ASSERT_EQ(bare.GetDefaultControl(), nullptr);
    bare.SetRowCount(5);
    bare.SetColCount(3);
    CGXStyle red;
    red.SetInteriorColor(RGB(255, 0, 0));
    bare.SetStyleRange(CGXRange(2, 2, 2, 2), &red);
    bare.SetPaintWithMemoryDC(TRUE);
    ::InvalidateRect(bare.GetSafeHwnd(), nullptr, FALSE);
    host.Paint();
    const POINT lone = CellCentre(2, 2);
    EXPECT_EQ(host.Pixel(lone.x, lone.y), RGB(255, 0, 0));
    AfxDeleteTempMaps();
}

} // namespace
} // namespace gridtest
