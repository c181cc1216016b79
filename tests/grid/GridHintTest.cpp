// Update hints: each step tells the document's other views what changed, only while the document asks.
#include "tests/grid/GridEngineTestSupport.h"

#include <functional>

namespace gridtest {
namespace {

// Logs each hint as its name and the numbers it carries.
struct SpyHints : CGXAbstractGridUpdateHintImp {
    void Log(std::string entry) { log.push_back(std::move(entry)); }
    static std::string N(ROWCOL n) { return std::to_string(n); }

    void OnHint(CGXGridCore*, CObject*) override { Log("OnHint"); }
    void HintUpdateReadOnly(CGXGridCore*, BOOL old) override { Log("ReadOnly " + N(old)); }
    void HintSetCurrentCell(CGXGridCore*, ROWCOL row, ROWCOL col, UINT flags) override {
        Log("SetCurrentCell " + N(row) + "," + N(col) + " " + N(flags));
    }
    BOOL HintTransferCurrentCell(CGXGridCore*, BOOL save, UINT) override {
        Log("TransferCurrentCell " + N(save));
        return TRUE;
    }
    void HintChangedRowCount(CGXGridCore*, ROWCOL, UINT) override { Log("ChangedRowCount"); }
    void HintChangedColCount(CGXGridCore*, ROWCOL, UINT) override { Log("ChangedColCount"); }
    void HintFrozenRows(CGXGridCore*, ROWCOL frozen, ROWCOL header, UINT) override {
        Log("FrozenRows " + N(frozen) + "," + N(header));
    }
    void HintFrozenCols(CGXGridCore*, ROWCOL frozen, ROWCOL header, UINT) override {
        Log("FrozenCols " + N(frozen) + "," + N(header));
    }
    void HintTopRow(CGXGridCore*, ROWCOL row, UINT) override { Log("TopRow " + N(row)); }
    void HintLeftCol(CGXGridCore*, ROWCOL col, UINT) override { Log("LeftCol " + N(col)); }
    void HintInsertRows(CGXGridCore*, ROWCOL row, ROWCOL count, UINT) override {
        Log("InsertRows " + N(row) + "," + N(count));
    }
    void HintInsertCols(CGXGridCore*, ROWCOL col, ROWCOL count, UINT) override {
        Log("InsertCols " + N(col) + "," + N(count));
    }
    void HintRemoveRows(CGXGridCore*, ROWCOL from, ROWCOL to, UINT) override {
        Log("RemoveRows " + N(from) + "," + N(to));
    }
    void HintRemoveCols(CGXGridCore*, ROWCOL from, ROWCOL to, UINT) override {
        Log("RemoveCols " + N(from) + "," + N(to));
    }
    void HintRedrawRowCol(CGXGridCore*, ROWCOL top, ROWCOL left, ROWCOL, ROWCOL, UINT) override {
        Log("RedrawRowCol " + N(top) + "," + N(left));
    }
    void HintRedraw(CGXGridCore*, UINT) override { Log("Redraw"); }
    void HintRecalc(CGXGridCore*, LPCTSTR) override { Log("Recalc"); }
    void HintScroll(CGXGridCore*, int direction, ROWCOL count) override {
        Log("Scroll " + N(direction) + "," + N(count));
    }
    void HintTabName(CGXGridCore*, WPARAM) override { Log("TabName"); }
    void HintChangedRowHeights(CGXGridCore*, ROWCOL from, ROWCOL to, UINT) override {
        Log("RowHeights " + N(from) + "," + N(to));
    }
    void HintChangedColWidths(CGXGridCore*, ROWCOL from, ROWCOL to, UINT) override {
        Log("ColWidths " + N(from) + "," + N(to));
    }
    void HintStoreZoom(CGXGridCore*, int percent) override { Log("StoreZoom " + N(percent)); }
    void HintUpdateZoom(CGXGridCore*, int old, UINT) override { Log("UpdateZoom " + N(old)); }
    void HintStyleRange(CGXGridCore*, const CGXRange& range, const CGXStyle* style, int mode, int, UINT) override {
        Log("StyleRange " + N(range.top) + "," + N(range.left) + " " + (style ? "style" : "none") + " " +
            N(mode));
    }
    void HintStylesMap(CGXGridCore*, UINT) override { Log("StylesMap"); }
    void HintProperties(CGXGridCore*, UINT) override { Log("Properties"); }
    void HintBaseStyle(CGXGridCore*, WORD, UINT) override { Log("BaseStyle"); }

    std::vector<std::string> log;
};

struct HintTest : EngineFixture {
    void SetUp() override {
        Init();
        grid.InstallFeature<SpyHints>(kFeatureUpdateHint);
        hints = static_cast<SpyHints*>(grid.GetFeature(kFeatureUpdateHint));
    }
    SpyHints* hints = nullptr;
};

TEST_F(HintTest, EachStepSendsItsHintWhileTheDocumentAsks) {
    grid.SetUpdateViews(TRUE);
    const CGXStyle value = [] {
        CGXStyle s;
        s.SetValue(u"v");
        return s;
    }();
    struct Case {
        const char* step;
        std::function<void()> run;
        std::vector<std::string> hints;
    } cases[] = {
        {"style range", [&] { grid.SetStyleRange(CGXRange(2, 3, 2, 3), &value); }, {"StyleRange 2,3 style 0"}},
        {"row heights", [&] { grid.SetRowHeight(2, 4, 30); }, {"RowHeights 2,4"}},
        {"column widths", [&] { grid.SetColWidth(3, 3, 50); }, {"ColWidths 3,3"}},
        {"inserting rows", [&] { grid.InsertRows(5, 2); }, {"InsertRows 5,2"}},
        {"removing columns", [&] { grid.RemoveCols(8, 9); }, {"RemoveCols 8,9"}},
        {"frozen rows", [&] { grid.SetFrozenRows(2, 1); }, {"FrozenRows 0,0"}},
        {"top row", [&] { grid.SetTopRow(6); }, {"TopRow 6"}},
        {"scrolling", [&] { grid.ScrollCellsWithHint(3, 2); }, {"Scroll 3,2"}},
        {"zoom", [&] { grid.SetZoom(150); }, {"StoreZoom 150", "UpdateZoom 100"}},
        {"read-only", [&] { grid.SetReadOnly(TRUE); }, {"ReadOnly 0"}},
        {"redrawing a range", [&] { grid.RedrawRowCol(4, 1, 4, 2, 1, TRUE); }, {"RedrawRowCol 4,1"}},
    };
    for (const Case& c : cases) {
        hints->log.clear();
        c.run();
        EXPECT_EQ(hints->log, c.hints) << c.step;
    }

    // The current cell's moves follow only when the parameter asks for them too (the hint drops the
    // scrolling flag 0x08 and adds 0xE0).
    grid.SetCurrentCell(7, 2);
    hints->log.clear();
    grid.SetCurrentCell(8, 2, 0x0A);
    EXPECT_TRUE(hints->log.empty());
    grid.GetParam()->m_bHintCurrentCell = TRUE;
    grid.SetCurrentCell(9, 2, 0x0A);
    ASSERT_FALSE(hints->log.empty());
    EXPECT_EQ(hints->log.back(), "SetCurrentCell 9,2 226");
}

TEST_F(HintTest, NothingIsSentWhileTheDocumentDoesNotAskOrTheStepSaysNo) {
    CGXStyle value;
    value.SetValue(u"v");
    grid.SetStyleRange(CGXRange(2, 3, 2, 3), &value);
    grid.InsertRows(1, 1);
    grid.SetTopRow(4);
    EXPECT_TRUE(hints->log.empty());

    grid.SetUpdateViews(TRUE);
    grid.RedrawRowCol(4, 1, 4, 2, 1, FALSE);
    grid.Redraw(1, FALSE);
    grid.SetTopRow(5, 1, FALSE);
    EXPECT_TRUE(hints->log.empty());
}

} // namespace
} // namespace gridtest
