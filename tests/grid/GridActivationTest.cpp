// The grid window gaining and losing the focus, plug-ins seeing its messages first, the colours it gives
// child windows of the current cell, and the partial repaint when it grows.
#include "grid/CGXPluginComponent.h"
#include "platform/framework/CFrameWnd.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

class ActivationTest : public EngineFixture {
protected:
    void SetUp() override {
        Init();
        other.Create(u"edit", u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &host.Host(), 7);
        grid.SetFocus();
        grid.SetCurrentCell(3, 2);
        log.clear();
    }
    void TearDown() override {
        other.DestroyWindow();
        EngineFixture::TearDown();
    }
    void StartEditing() {
        spy->SetActive(TRUE);
        spy->SetModified(TRUE);
    }
    CWnd other;
};

TEST_F(ActivationTest, LeavingTheGridStoresTheEditedCellAndComingBackActivatesIt) {
    StartEditing();
    other.SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"ValidateValue", "StoreValue", "Hide"}));
    EXPECT_FALSE(spy->IsActive());
    EXPECT_FALSE(spy->IsModified());
    EXPECT_FALSE(grid.IsGridActive());

    GridLibraryState::Instance().lastActivatedGrid = nullptr;
    grid.GetParam()->m_wActivateCell = 4;
    grid.SetFocus();
    EXPECT_TRUE(grid.IsGridActive());
    EXPECT_TRUE(spy->IsActive());
    EXPECT_EQ(GridLibraryState::Instance().lastActivatedGrid, &grid);
}

TEST_F(ActivationTest, ARefusedValueStaysBeingEditedAndAChildTakingTheFocusIsNoDeactivation) {
    StartEditing();
    spy->validateResult = FALSE;
    EXPECT_FALSE(grid.OnActivateGrid(FALSE));
    EXPECT_TRUE(spy->IsActive());
    EXPECT_TRUE(spy->IsModified());

    spy->validateResult = TRUE;
    log.clear();
    CWnd inside;
    inside.Create(u"edit", u"", WS_CHILD | WS_VISIBLE, CRect(160, 57, 260, 75), &grid, 5);
    inside.SetFocus();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(spy->IsActive());
    inside.DestroyWindow();
}

// Takes the left button press when told to; notes each one it sees.
class PressPlugin : public CGXPluginComponent {
public:
    PressPlugin(int* seen, bool* deleted) : m_seen(seen), m_deleted(deleted) {}
    ~PressPlugin() override { *m_deleted = true; }
    BOOL take = FALSE;

protected:
    void OnLButtonDown(UINT, CPoint) {
        ++*m_seen;
        skipDefault = take;
    }
    DECLARE_MESSAGE_MAP()

private:
    int* m_seen;
    bool* m_deleted;
};

BEGIN_MESSAGE_MAP(PressPlugin, CGXPluginComponent)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST(PluginRoutingTest, PluginsSeeTheGridsMessagesFirstAndGoWithTheGrid) {
    int seen = 0;
    bool deleted = false;
    {
        TestGrid grid;
        GridHost host(&grid);
        auto* plugin = new PressPlugin(&seen, &deleted);
        grid.AddPlugin(plugin);
        EXPECT_EQ(plugin->m_hWnd, grid.GetSafeHwnd());
        const POINT cell = CellCentre(4, 3);
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
        EXPECT_EQ(seen, 0); // not before the initial update

        grid.Initialize();
        grid.SetRowCount(10);
        grid.SetColCount(5);
        plugin->take = TRUE;
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
        ROWCOL row = 0;
        ROWCOL col = 0;
        EXPECT_EQ(seen, 1);
        EXPECT_FALSE(grid.GetCurrentCell(row, col)); // the grid never saw the press

        plugin->take = FALSE;
        grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
        grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell.x, cell.y));
        EXPECT_EQ(seen, 2);
        EXPECT_TRUE(grid.GetCurrentCell(row, col));
        EXPECT_EQ(SpyControl::Cell(row, col), "4,3");
        AfxDeleteTempMaps();
    }
    EXPECT_TRUE(deleted);
}

// Gives the child windows its own brush when it has one.
class BrushControl : public SpyControl {
public:
    using SpyControl::SpyControl;
    HBRUSH HandleCtlColor(CDC*, CWnd*, UINT) override { return own; }
    HBRUSH own = nullptr;
};

TEST_F(ActivationTest, ChildWindowsOfTheCurrentCellTakeItsColoursUnlessItsControlAnswers) {
    CGXStyle style;
    style.SetInteriorColor(RGB(255, 255, 0)).SetTextColor(RGB(0, 0, 128));
    grid.SetStyleRange(CGXRange(3, 2, 3, 2), &style);
    CClientDC dc(&grid);
    HBRUSH brush = grid.OnGridCtlColor(&dc, &other, CTLCOLOR_EDIT);
    EXPECT_NE(brush, nullptr);
    EXPECT_EQ(dc.GetBkColor(), RGB(255, 255, 0));
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 128));

    auto* control = new BrushControl(&grid, nullptr);
    control->own = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(0x1234));
    grid.RegisterControl(0x7002, control, FALSE, FALSE);
    style.SetControlId(0x7002);
    grid.SetStyleRange(CGXRange(3, 2, 3, 2), &style);
    EXPECT_EQ(grid.OnGridCtlColor(&dc, &other, CTLCOLOR_EDIT), control->own);

    grid.SetCurrentCellState(FALSE, 0, 0);
    EXPECT_EQ(grid.OnGridCtlColor(&dc, &other, CTLCOLOR_EDIT), nullptr);
}

// A grid in a frame window: growing it paints only what comes into view.
TEST(SmartResizeTest, GrowingTheGridInvalidatesOnlyTheNewStripsUnlessSwitchedOff) {
    RegisterEngineClasses();
    auto* frame = new CFrameWnd; // deleted with its window
    ASSERT_TRUE(frame->Create(nullptr, u"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600)));
    TestGrid grid;
    grid.Create(u"CGXGridWnd", u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 300), frame, 100);
    grid.Initialize();
    grid.SetRowCount(30);
    grid.SetColCount(9);
    // The size at creation comes before the window shows: only a later one is known.
    grid.SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    ::UpdateWindow(grid.GetSafeHwnd());

    // The old size is taken less the scroll bars: the column and the row under that corner are painted
    // again from their edges, at once; nothing else.
    const int oldWidth = 400 - ::GetSystemMetrics(SM_CXVSCROLL);
    const int oldHeight = 300 - ::GetSystemMetrics(SM_CYHSCROLL);
    const int colEdge = 60 + (oldWidth - 60) / 100 * 100;
    const int rowEdge = 21 + (oldHeight - 21) / 18 * 18;
    grid.paintedClips.clear();
    grid.SetWindowPos(nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    ::UpdateWindow(grid.GetSafeHwnd());
    EXPECT_EQ(grid.paintedClips, (std::vector<CRect>{CRect(colEdge, 0, 500, rowEdge), CRect(0, rowEdge, 500, 300)}));

    grid.paintedClips.clear();
    grid.GetParam()->m_bSmartResize = FALSE;
    grid.SetWindowPos(nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
    ::UpdateWindow(grid.GetSafeHwnd());
    ASSERT_FALSE(grid.paintedClips.empty());
    EXPECT_EQ(grid.paintedClips.front().left, 500); // only what the window system uncovered

    grid.DestroyWindow();
    frame->DestroyWindow();
    AfxDeleteTempMaps();
}

} // namespace
} // namespace gridtest
