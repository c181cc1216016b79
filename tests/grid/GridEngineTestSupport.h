// The grid engine tests' world: a visible host window with a grid at the fixed test metrics (15-pixel lines,
// 10-pixel characters: 18-pixel rows, 100-pixel columns, a 21-pixel header row and a 60-pixel header
// column), spy controls that record what the engine asks of them, and a factory that counts its work.
#pragma once

#include "grid/CGXControl.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXGridWnd.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageApi.h"
#include "platform/display/PaintApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/FrameworkResources.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gridtest {

// Records each call the engine makes, as "InitCell 2,3", "StoreValue", "LButtonDown 40,30"...
class SpyControl : public CGXControl {
public:
    SpyControl(CGXGridCore* grid, std::vector<std::string>* log, bool* deleted = nullptr)
        : CGXControl(grid), m_log(log), m_deleted(deleted) {}
    ~SpyControl() override {
        if (m_deleted) {
            *m_deleted = true;
        }
    }

    void SetActive(BOOL active) override { m_active = active; }
    BOOL IsActive() override { return m_active; }
    void SetModified(BOOL modified) override { m_modified = modified; }
    BOOL IsModified() override { return m_modified; }
    void InitCell(ROWCOL row, ROWCOL col) override {
        Log("InitCell " + Cell(row, col));
        CGXControl::InitCell(row, col);
    }
    void ResetCell() override {
        Log("ResetCell");
        CGXControl::ResetCell();
    }
    BOOL StoreValue() override {
        Log("StoreValue");
        return Answer(storeResult);
    }
    BOOL ValidateValue() override {
        Log("ValidateValue");
        return Answer(validateResult);
    }
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standard) override {
        ++draws;
        DrawBackground(dc, rect, style, FALSE);
        CGXControl::Draw(dc, rect, row, col, style, standard);
    }
    BOOL LButtonDown(UINT flags, POINT point, UINT hitState) override {
        Log("LButtonDown " + Cell(BoundRow(), BoundCol()) + " " + std::to_string(hitState));
        return CGXControl::LButtonDown(flags, point, hitState);
    }
    BOOL MouseMove(UINT, POINT, UINT hitState) override {
        Log("MouseMove " + std::to_string(hitState));
        return FALSE;
    }
    BOOL LButtonUp(UINT flags, POINT point, UINT hitState) override {
        Log("LButtonUp " + Cell(BoundRow(), BoundCol()) + " " + std::to_string(hitState));
        return CGXControl::LButtonUp(flags, point, hitState);
    }
    BOOL KeyDown(UINT key, UINT, UINT) override {
        Log("KeyDown " + std::to_string(key));
        return keyResult;
    }
    void Hide() override { Log("Hide"); }

    static std::string Cell(ROWCOL row, ROWCOL col) {
        return std::to_string(static_cast<long>(row == kGridNoRowCol ? -1 : static_cast<long>(row))) + "," +
               std::to_string(static_cast<long>(col == kGridNoRowCol ? -1 : static_cast<long>(col)));
    }

    // A refusal leaves this warning with the grid, as a control does.
    BOOL Answer(BOOL result) {
        if (!result && !failWarning.IsEmpty()) {
            Grid()->SetWarningText(failWarning);
        }
        return result;
    }

    CString failWarning;
    BOOL storeResult = TRUE;
    BOOL validateResult = TRUE;
    BOOL keyResult = FALSE;
    int draws = 0;

private:
    void Log(const std::string& entry) {
        if (m_log) {
            m_log->push_back(entry);
        }
    }
    std::vector<std::string>* m_log;
    bool* m_deleted;
    BOOL m_active = FALSE;
    BOOL m_modified = FALSE;
};

// Column 4 and row 4 hidden, as the hidden-rows feature would report them.
struct HideFourth : CGXAbstractGridHideCellsImp {
    void RemoveRows(CGXGridCore*, ROWCOL, ROWCOL) override {}
    void RemoveCols(CGXGridCore*, ROWCOL, ROWCOL) override {}
    void InsertRows(CGXGridCore*, ROWCOL, ROWCOL) override {}
    void InsertCols(CGXGridCore*, ROWCOL, ROWCOL) override {}
    BOOL HideRows(CGXGridCore*, ROWCOL, ROWCOL, BOOL, BOOL*, UINT, int) override { return FALSE; }
    BOOL IsRowHidden(CGXGridCore*, ROWCOL row) override { return row == 4; }
    BOOL StoreHideRow(CGXGridCore*, ROWCOL, BOOL) override { return FALSE; }
    BOOL HideCols(CGXGridCore*, ROWCOL, ROWCOL, BOOL, BOOL*, UINT, int) override { return FALSE; }
    BOOL IsColHidden(CGXGridCore*, ROWCOL col) override { return col == 4; }
    BOOL StoreHideCol(CGXGridCore*, ROWCOL, BOOL) override { return FALSE; }
};

// Rows 5 to 7 of column 2 covered as one cell, as the covered-cells feature would report them.
struct CoverColumnTwo : CGXAbstractGridCoveredCellsImp {
    BOOL SetCoveredCellsRowCol(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, ROWCOL, UINT, int) override { return FALSE; }
    CGXRange* GetCoveredCellsRowCol(CGXGridCore*, ROWCOL row, ROWCOL col, CGXRange& range) override {
        if (col != 2 || row < 5 || row > 7) {
            return nullptr;
        }
        range = CGXRange(5, 2, 7, 2);
        return &range;
    }
    BOOL StoreCoveredCellsRowCol(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, ROWCOL, BOOL) override { return FALSE; }
    void UpdateCoveredCellsRowCol(CGXGridCore*, ROWCOL, ROWCOL, ROWCOL, ROWCOL, UINT, BOOL) override {}
    BOOL ExpandRangeByCoveredCells(CGXGridCore* grid, CGXRange& range) override {
        CGXRange covered;
        if (GetCoveredCellsRowCol(grid, range.top, range.left, covered)) {
            range = covered;
            return TRUE;
        }
        return FALSE;
    }
    void RemoveCoveredRows(CGXGridCore*, ROWCOL, ROWCOL, UINT&, int) override {}
    void RemoveCoveredCols(CGXGridCore*, ROWCOL, ROWCOL, UINT&, int) override {}
};

struct SpyRecord : CObject {};

// Records the transactions and the hide and cover records it is asked for; keeps no undo list.
struct CommandSpy : CGXAbstractCommandFactory {
    BOOL Undo(CGXGridCore*) override { return FALSE; }
    BOOL Redo(CGXGridCore*) override { return FALSE; }
    void BeginTrans(CGXGridCore*, LPCTSTR name) override { log.push_back("BeginTrans " + Narrow(name)); }
    void CommitTrans(CGXGridCore*) override { log.push_back("CommitTrans"); }
    void Rollback(CGXGridCore*) override { log.push_back("Rollback"); }
    void AddCommand(CGXGridCore*, CObject* command, int ctCmd) override {
        log.push_back("AddCommand " + std::to_string(ctCmd));
        delete command;
    }
    BOOL OnUpdateEditUndo(CGXGridCore*, CCmdUI*) override { return FALSE; }
    BOOL OnUpdateEditRedo(CGXGridCore*, CCmdUI*) override { return FALSE; }
    CObject* CreateHideRowsCommand(ROWCOL from, ROWCOL to, BOOL* oldStates, int ctCmd) override {
        std::string states;
        for (ROWCOL i = 0; i <= to - from; ++i) {
            states += oldStates[i] ? '1' : '0';
        }
        delete[] oldStates;
        log.push_back("HideRows " + std::to_string(from) + "-" + std::to_string(to) + " was " + states + " " +
                      std::to_string(ctCmd));
        return new SpyRecord;
    }
    CObject* CreateCoveredCellsCommand(ROWCOL top, ROWCOL left, ROWCOL oldBottom, ROWCOL oldRight,
                                       int ctCmd) override {
        log.push_back("Covered " + SpyControl::Cell(top, left) + " was to " + SpyControl::Cell(oldBottom, oldRight) +
                      " " + std::to_string(ctCmd));
        return new SpyRecord;
    }
    static std::string Narrow(LPCTSTR text) {
        std::string out;
        for (; text && *text; ++text) {
            out += static_cast<char>(*text);
        }
        return out;
    }
    std::vector<std::string> log;
};

// A factory that installs the features it is given and makes spy controls, counting them.
class TestFactory : public CGXAbstractControlFactory {
public:
    CGXControl* CreateControl(UINT id, CGXGridCore* grid) override {
        ++created;
        lastId = id;
        return makeControls ? new SpyControl(grid, nullptr) : nullptr;
    }
    void RegisterControls(CGXStylesMap*) override {}
    void RegisterUserAttributes(CGXStylesMap*) override {}
    void InstallGridFeatures(CGXGridCore* grid) override {
        if (install) {
            install(grid);
        }
    }
    void InstallAppFeatures() override {}
    void RegisterWindowClasses(HINSTANCE) override {}
    void UnregisterWindowClasses(HINSTANCE) override {}

    std::function<void(CGXGridCore*)> install;
    bool makeControls = true;
    int created = 0;
    UINT lastId = 0;
};

// Cell (r, c) of the test metrics has its centre at these client coordinates.
inline POINT CellCentre(ROWCOL row, ROWCOL col) {
    return POINT{60 + static_cast<LONG>(col - 1) * 100 + 50, 21 + static_cast<LONG>(row - 1) * 18 + 9};
}

// A grid at the fixed test metrics.
class TestGrid : public CGXGridWnd {
public:
    void GetFontMetrics(CDC*, int& charWidth, int& lineHeight) override {
        charWidth = 10;
        lineHeight = 15;
    }
    BOOL OnLButtonClickedRowCol(ROWCOL row, ROWCOL col, UINT, POINT) override {
        clicks.push_back(SpyControl::Cell(row, col));
        return TRUE;
    }
    // Makes the metrics take hold even without a standard font.
    void InitializeGrid() override {
        CGXGridWnd::InitializeGrid();
        m_nLineHeight = 15;
        m_nCharWidth = 10;
    }

    void OnGridDraw(CDC* dc) override {
        CRect clip;
        dc->GetClipBox(&clip);
        paintedClips.push_back(clip);
        CGXGridWnd::OnGridDraw(dc);
    }

    using CGXGridCore::m_nTopRow;
    std::vector<CRect> paintedClips;
    std::vector<std::string> clicks;
};

inline void RegisterEngineClasses() {
    RegisterGridWindowClasses(AfxGetInstanceHandle());
    CGXGridWnd::RegisterWndClass(AfxGetInstanceHandle());
}

// A visible top-level window holding a grid of the given client size.
class GridHost {
public:
    explicit GridHost(TestGrid* grid, int width = 400, int height = 300, DWORD style = 0) : m_grid(grid) {
        RegisterEngineClasses();
        LPCTSTR cls = AfxRegisterWndClass(0);
        m_host.CreateEx(0, cls, u"host", WS_POPUP | WS_VISIBLE, CRect(0, 0, width + 40, height + 40), nullptr, 0);
        m_grid->Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 10 + width, 10 + height),
                       &m_host, 100);
    }
    ~GridHost() {
        if (m_grid->GetSafeHwnd()) {
            m_grid->DestroyWindow();
        }
        m_host.DestroyWindow();
    }
    GridHost(const GridHost&) = delete;
    GridHost& operator=(const GridHost&) = delete;

    CWnd& Host() { return m_host; }
    // Paints what is invalid now.
    void Paint() { ::UpdateWindow(m_grid->GetSafeHwnd()); }
    bool HasUpdate() {
        RECT r{};
        return ::GetUpdateRect(m_grid->GetSafeHwnd(), &r, FALSE) != FALSE;
    }
    RECT UpdateRect() {
        RECT r{};
        ::GetUpdateRect(m_grid->GetSafeHwnd(), &r, FALSE);
        return r;
    }
    void Validate() { ::ValidateRect(m_grid->GetSafeHwnd(), nullptr); }
    COLORREF Pixel(int x, int y) { return DisplayGetPixel(m_grid->GetSafeHwnd(), x, y); }

private:
    TestGrid* m_grid;
    CWnd m_host;
};

// A 21 x 9 grid, initialised, with a spy control as default.
struct EngineFixture : ::testing::Test {
    EngineFixture() : host(&grid) {}
    void Init(ROWCOL rows = 21, ROWCOL cols = 9) {
        grid.Initialize();
        grid.RegisterControl(0x7001, spy = new SpyControl(&grid, &log), TRUE, FALSE);
        grid.SetRowCount(rows);
        grid.SetColCount(cols);
        log.clear();
    }
    void TearDown() override { AfxDeleteTempMaps(); }

    // Outlives the grid: destroying the window takes the focus away, and the spy logs what that stores.
    std::vector<std::string> log;
    TestGrid grid;
    GridHost host;
    SpyControl* spy = nullptr;
};

} // namespace gridtest
