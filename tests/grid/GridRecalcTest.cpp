// Recalculation: the grid computes nothing itself but calls a computing data source's hooks at the right
// moments, and a recalculation paint redraws only from the first computed cell of each row.
#include "grid/CGXData.h"
#include "platform/display/MessageBox.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

// Computes the cells of column 3 and beyond in rows 2 and 3; logs every hook.
class ComputingData : public CGXData {
public:
    BOOL ResetValue(ROWCOL row, ROWCOL col) override { return (row == 2 || row == 3) && col >= 3; }
    void RecalcCellDrawn(ROWCOL row, ROWCOL col, int) override {
        drawn.push_back(SpyControl::Cell(row, col));
    }
    void RecalcRangeChanged(const CGXRange& range) override {
        log.push_back("Changed " + SpyControl::Cell(range.top, range.left) + "-" +
                      SpyControl::Cell(range.bottom, range.right));
    }
    void RecalcPrepare(BOOL) override { log.push_back("Prepare"); }
    void RecalcFinish() override { log.push_back("Finish"); }
    BOOL RecalcErrorText(CString& text) override {
        text = error;
        return !error.IsEmpty();
    }

    std::vector<std::string> log;
    std::vector<std::string> drawn;
    CString error;
};

class RecalcTest : public EngineFixture {
protected:
    RecalcTest() {
        Init();
        grid.GetParam()->SetData(data = new ComputingData, TRUE);
        grid.GetParam()->GetData()->SetRowCount(21);
        grid.GetParam()->GetData()->SetColCount(9);
    }
    ComputingData* data = nullptr;
};

constexpr COLORREF kMarker = RGB(1, 2, 3);

TEST_F(RecalcTest, ARecalculationPaintRedrawsOnlyFromTheFirstComputedCellOfARow) {
    host.Paint();
    CClientDC dc(&grid);
    dc.FillSolidRect(CRect(0, 0, 400, 300), kMarker);
    data->drawn.clear();
    EXPECT_TRUE(grid.Recalc(FALSE, nullptr, FALSE));

    const POINT before = CellCentre(2, 2);
    const POINT computed = CellCentre(2, 3);
    const POINT otherRow = CellCentre(5, 3);
    EXPECT_EQ(host.Pixel(before.x, before.y), kMarker);
    EXPECT_NE(host.Pixel(computed.x, computed.y), kMarker);
    EXPECT_EQ(host.Pixel(otherRow.x, otherRow.y), kMarker);
    // The window shows columns up to 4; each reached row goes on after it.
    EXPECT_EQ(data->drawn, (std::vector<std::string>{"2,5", "3,5"}));
    EXPECT_TRUE(grid.GetParam()->m_recalcRanges.IsEmpty());

    data->drawn.clear();
    ::InvalidateRect(grid.GetSafeHwnd(), nullptr, FALSE);
    host.Paint();
    EXPECT_EQ(host.Pixel(before.x, before.y), grid.LookupStyleRowCol(2, 2).GetInterior().GetColor() & 0xFFFFFF);
    EXPECT_NE(std::find(data->drawn.begin(), data->drawn.end(), "1,1"), data->drawn.end());
}

TEST_F(RecalcTest, AForcedRecalculationReportsTheDataSourcesErrorAndEmptyGridsRefuse) {
    data->error = u"Circular reference";
    CString text;
    EXPECT_FALSE(grid.Recalc(TRUE, &text, FALSE));
    EXPECT_EQ(text, CString(u"Circular reference"));
    EXPECT_EQ(data->log, (std::vector<std::string>{"Finish", "Prepare", "Finish"}));

    std::u16string shown;
    MessageBoxResponder previous =
        DisplaySetMessageBoxResponder([&](HWND, const std::u16string&, const std::u16string& body, UINT) {
            shown = body;
            return IDOK;
        });
    EXPECT_FALSE(grid.Recalc(TRUE, nullptr, FALSE));
    DisplaySetMessageBoxResponder(previous);
    EXPECT_EQ(shown, u"Circular reference");

    data->m_dwRecalcFlags = CGXData::kRecalcCannotStart; // cleared before the data source is asked
    data->error.Empty();
    EXPECT_TRUE(grid.Recalc(TRUE, nullptr, FALSE));
    grid.SetRowCount(0);
    EXPECT_FALSE(grid.Recalc(TRUE, nullptr, FALSE));
}

class CannotStart : public ComputingData {
public:
    BOOL ResetValue(ROWCOL, ROWCOL) override {
        m_dwRecalcFlags |= kRecalcCannotStart;
        return FALSE;
    }
};

TEST_F(RecalcTest, ADataSourceThatCannotStartIsNotRepainted) {
    auto* refusing = new CannotStart;
    grid.GetParam()->SetData(refusing, TRUE);
    host.Paint();
    EXPECT_FALSE(grid.Recalc(TRUE, nullptr, FALSE));
    EXPECT_TRUE(refusing->log.empty());
    EXPECT_FALSE(host.HasUpdate());
}

TEST_F(RecalcTest, StoresTellTheDataSourceWhichCellsChangedOncePerCall) {
    CGXStyle style;
    style.SetValue(u"7");
    grid.StoreStyleRowCol(4, 5, &style, kMergeOverride);
    grid.SetStyleRange(CGXRange(1, 1, 3, 2), &style);
    EXPECT_EQ(data->log, (std::vector<std::string>{"Changed 4,5-4,5", "Changed 1,1-3,2"}));
}

TEST_F(RecalcTest, LeavingAnEditedCellRecalculatesAndShowsTheSourcesError) {
    grid.SetCurrentCell(1, 1);
    spy->SetActive(TRUE);
    spy->SetModified(TRUE);
    data->error = u"Bad formula";
    std::u16string shown;
    MessageBoxResponder previous =
        DisplaySetMessageBoxResponder([&](HWND, const std::u16string&, const std::u16string& body, UINT) {
            shown = body;
            return IDOK;
        });
    data->log.clear();
    EXPECT_TRUE(grid.SetCurrentCell(1, 2));
    DisplaySetMessageBoxResponder(previous);
    // Not forced: prepared, repainted, and the error shown as the leaving cell's warning.
    EXPECT_EQ(data->log, (std::vector<std::string>{"Finish", "Prepare", "Finish"}));
    EXPECT_EQ(shown, u"Bad formula");
}

} // namespace
} // namespace gridtest
