// The cell control tests' world: the engine's test grid (18-pixel rows, 100-pixel columns) with one real
// control registered under its id, cells that use it, the grid's button hook recorded, and drawing on a
// recording DC.
#pragma once

#include "grid/CGXRange.h"
#include "platform/gdi/RecordingDC.h"
#include "tests/grid/GridEngineTestSupport.h"

#include <algorithm>

namespace gridtest {

// Leaves clicks to the cell controls and records the button hook.
class CellGrid : public TestGrid {
public:
    BOOL OnLButtonClickedRowCol(ROWCOL, ROWCOL, UINT, POINT) override { return FALSE; }
    void OnClickedButtonRowCol(ROWCOL row, ROWCOL col) override {
        buttonClicks.push_back(SpyControl::Cell(row, col));
    }
    std::vector<std::string> buttonClicks;
};

template <class Control>
struct CellControlFixture : ::testing::Test {
    CellControlFixture() : host(&grid) {}
    // A 5 x 3 grid whose cells use the control registered as `id`.
    void Init(Control* made, WORD id) {
        control = made;
        grid.Initialize();
        grid.RegisterControl(id, control);
        grid.SetRowCount(5);
        grid.SetColCount(3);
        CGXStyle uses;
        uses.SetControlId(id);
        grid.SetStyleRange(CGXRange(1, 1, 5, 3), &uses);
    }
    void TearDown() override { AfxDeleteTempMaps(); }

    void SetCell(ROWCOL row, ROWCOL col, const CGXStyle& style) {
        grid.SetStyleRange(CGXRange(row, col, row, col), &style);
    }
    CString Value(ROWCOL row, ROWCOL col) { return grid.GetValueRowCol(row, col); }
    void Send(UINT message, WPARAM wParam, POINT point) {
        grid.SendMessage(message, wParam, MAKELPARAM(point.x, point.y));
    }
    void Key(UINT message, WPARAM key) { grid.SendMessage(message, key, 1); }

    // The control's drawing of the cell, as records.
    std::vector<std::string> Record(ROWCOL row, ROWCOL col, const RECT& rect) {
        HDC hdc = GdiCreateRecordingDC(400, 200);
        std::vector<std::string> out;
        {
            CDC dc;
            dc.Attach(hdc);
            control->Draw(&dc, rect, row, col, grid.LookupStyleRowCol(row, col), nullptr);
            for (const GdiRecord& record : GdiGetRecords(hdc)) {
                out.push_back(GdiFormatRecord(record));
            }
            dc.Detach();
        }
        ::DeleteDC(hdc);
        return out;
    }
    static std::vector<std::string> Only(const std::vector<std::string>& records, const std::string& op) {
        std::vector<std::string> out;
        std::copy_if(records.begin(), records.end(), std::back_inserter(out),
                     [&](const std::string& record) { return record.rfind(op + "(", 0) == 0; });
        return out;
    }

    CellGrid grid;
    GridHost host;
    Control* control = nullptr;
};

} // namespace gridtest
