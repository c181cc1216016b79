// The static cells' tip: which cells overflow, and in which directions, at the grid test metrics (100-pixel
// columns after a 60-pixel header column, in a 400-pixel-wide grid window).
#include "grid/CGXStatic.h"
#include "grid_features/CGXCellTipStatic.h"
#include "grid_features/CGXCellTipWnd.h"
#include "grid_features/CGXGridCellTips.h"
#include "platform/display/InputApi.h"
#include "platform/display/SystemMetrics.h"
#include "tests/grid/GridEngineTestSupport.h"

namespace gridtest {
namespace {

class CellTipTest : public ::testing::Test {
protected:
    CellTipTest() : host(&grid) {
        grid.Initialize();
        grid.RegisterControl(52513, control = new CGXStatic(&grid), TRUE, FALSE);
        control->SetCellTip(tip = new CGXCellTipStatic(control));
        grid.SetRowCount(10);
        grid.SetColCount(6);
    }
    void TearDown() override { AfxDeleteTempMaps(); }
    int Needs(ROWCOL row, ROWCOL col, LPCTSTR text, int align = 0, BOOL wrap = FALSE) {
        CGXStyle cell;
        cell.SetValue(text).SetWrapText(wrap);
        if (align) {
            cell.SetHorizontalAlignment(align);
        }
        grid.SetStyleRange(CGXRange(row, col, row, col), &cell);
        const CGXStyle& style = grid.LookupStyleRowCol(row, col);
        return control->NeedsCellTip(row, col, style);
    }

    TestGrid grid;
    GridHost host;
    CGXStatic* control = nullptr;
    CGXCellTipStatic* tip = nullptr;
};

TEST_F(CellTipTest, OnlyClippedTextNeedsATip) {
    const std::u16string longText(60, u'x');
    EXPECT_EQ(Needs(2, 2, u"x"), 0);
    EXPECT_EQ(Needs(2, 2, longText.c_str()), kTipWiderThanCell);
    EXPECT_EQ(Needs(2, 2, longText.c_str(), 0, TRUE), 0); // a wrapped cell never gets one
    EXPECT_EQ(control->GetCellTipKind(2, 2, grid.LookupStyleRowCol(2, 2)), kTipText);
    // Column 4 ends past the window's right edge: right-aligned text there passes it.
    EXPECT_EQ(Needs(2, 4, u"x"), 0);
    EXPECT_EQ(Needs(3, 4, u"x", DT_RIGHT), kTipPastWindowSides);
}

TEST_F(CellTipTest, AControlWithoutATipNeverAsksForOne) {
    CGXStatic bare(&grid);
    const CGXStyle& style = grid.LookupStyleRowCol(2, 2);
    EXPECT_FALSE(bare.NeedsCellTip(2, 2, style));
    EXPECT_EQ(bare.GetCellTipKind(2, 2, style), 0x7FFFFFFF);
}

// The grid's mouse path: the pointer driven by messages to the grid window, the tip's delay by its timer.
class CellTipMouseTest : public CellTipTest {
protected:
    CellTipMouseTest() {
        tips = CGXGridCellTips::Install(&grid);
        grid.SetColWidth(1, 6, 100);
        Set(2, 2, longText.c_str());
        Set(3, 2, u"fits");
    }
    void Set(ROWCOL row, ROWCOL col, LPCTSTR text, const CGXStyle* extra = nullptr) {
        CGXStyle cell;
        cell.SetValue(text).SetControlId(52513).SetWrapText(FALSE); // the standard style wraps
        if (extra) {
            cell.MergeStyle(*extra, kMergeOverride);
        }
        grid.SetStyleRange(CGXRange(row, col, row, col), &cell);
    }
    void Move(POINT point, UINT flags = 0) { grid.SendMessage(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y)); }
    void Tick() { grid.SendMessage(WM_TIMER, kCellTipTimerId); }
    // Rests the pointer on a cell and lets the delay pass; the cursor goes there too.
    CGXCellTipWnd* Rest(ROWCOL row, ROWCOL col) {
        POINT at = CellCentre(row, col);
        Move(at);
        grid.ClientToScreen(&at);
        ::SetCursorPos(at.x, at.y);
        Tick();
        return tips->GetShownTip();
    }
    CRect ScreenCell(ROWCOL row, ROWCOL col) {
        CRect cell = grid.CalcCellRectSpanned(row, col);
        grid.ClientToScreen(&cell);
        return cell;
    }

    const std::u16string longText = std::u16string(40, u'W');
    CGXGridCellTips* tips = nullptr;
};

TEST_F(CellTipMouseTest, AClippedTextShowsOverItsCellAfterTheDelay) {
    Move(CellCentre(2, 2));
    EXPECT_TRUE(tips->IsPending());
    EXPECT_EQ(tips->GetShownTip(), nullptr); // nothing before the delay
    CGXCellTipWnd* tip = Rest(2, 2);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->GetKind(), kTipText);
    CString text;
    tip->GetWindowTextW(text);
    EXPECT_EQ(text, CString(longText.c_str()));
    CRect window;
    tip->GetWindowRect(&window);
    const CRect cell = ScreenCell(2, 2);
    EXPECT_EQ(window.TopLeft(), cell.TopLeft());
    EXPECT_GT(window.Width(), cell.Width()); // the whole text, not the cell's width
    EXPECT_GE(window.Height(), cell.Height() - 1);

    // Moves inside the cell, and over the tip itself, keep it.
    Move(CPoint(CellCentre(2, 2)) + CPoint(30, 3));
    CPoint onTip(30, 4); // over the cell; further right the tip covers the next cell
    tip->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(onTip.x, onTip.y));
    EXPECT_EQ(tips->GetShownTip(), tip);
    onTip.x = 150; // the tip's part over cell (2, 3)
    tip->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(onTip.x, onTip.y));
    EXPECT_EQ(tips->GetShownTip(), nullptr);
    Rest(2, 2);
    // Off the cell it goes, and the next cell's text fits: no tip comes.
    Move(CellCentre(3, 2));
    EXPECT_EQ(tips->GetShownTip(), nullptr);
    EXPECT_FALSE(tips->IsPending());
    EXPECT_EQ(Rest(3, 2), nullptr);
}

TEST_F(CellTipMouseTest, CellsWhoseContentFitsOrWrapsGetNoTip) {
    CGXStyle wrap;
    wrap.SetWrapText(TRUE);
    Set(4, 2, longText.c_str(), &wrap);
    for (const auto& [row, col] : {std::pair<ROWCOL, ROWCOL>{3, 2}, {4, 2}, {5, 2}}) {
        Move(CellCentre(row, col));
        EXPECT_FALSE(tips->IsPending()) << row;
        Tick();
        EXPECT_EQ(tips->GetShownTip(), nullptr) << row;
    }
}

TEST_F(CellTipMouseTest, TheTipIsDrawnInTheCellsFontAtTheGridsZoom) {
    CGXStyle bold;
    bold.SetFont(CGXFont().SetWeight(FW_BOLD).SetSize(12));
    Set(2, 2, longText.c_str(), &bold);
    grid.SetZoom(150);
    ASSERT_NE(Rest(2, 2), nullptr);
    CGXTextCellTipWnd* tip = tips->GetTextTip();
    const LOGFONTW expected = grid.LookupStyleRowCol(2, 2).GetFont().GetLogFontZoomed(150);
    EXPECT_EQ(tip->GetTipFont().lfWeight, FW_BOLD);
    EXPECT_EQ(tip->GetTipFont().lfHeight, expected.lfHeight);

    // Framed in black, on the tip colour, with text in the tip text colour inside the text rectangle.
    tip->UpdateWindow();
    HWND hwnd = tip->GetSafeHwnd();
    CRect client;
    tip->GetClientRect(&client);
    EXPECT_EQ(DisplayGetPixel(hwnd, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(DisplayGetPixel(hwnd, client.right - 2, client.bottom - 2), ::GetSysColor(COLOR_INFOBK));
    const CRect r = tip->GetTextRect();
    int inked = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < std::min<int>(r.left + 60, client.right - 1); ++x) {
            inked += DisplayGetPixel(hwnd, x, y) == ::GetSysColor(COLOR_INFOTEXT);
        }
    }
    EXPECT_GT(inked, 20);
}

TEST_F(CellTipMouseTest, LeavingTheCellOrPressingEndsTheTip) {
    // The pointer leaves the grid without the grid seeing it: the shown tip checks on its timer.
    ASSERT_NE(Rest(2, 2), nullptr);
    Tick();
    EXPECT_NE(tips->GetShownTip(), nullptr);
    ::SetCursorPos(0, 0);
    Tick();
    EXPECT_EQ(tips->GetShownTip(), nullptr);

    // A click on the tip lands on the cell, and the tip stays away while the pointer stays there.
    CGXCellTipWnd* tip = Rest(2, 2);
    ASSERT_NE(tip, nullptr);
    tip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 5));
    EXPECT_EQ(tips->GetShownTip(), nullptr);
    ROWCOL row = 0;
    ROWCOL col = 0;
    ASSERT_TRUE(grid.GetCurrentCell(row, col));
    EXPECT_EQ(row, 2u);
    EXPECT_EQ(col, 2u);
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(CellCentre(2, 2).x, CellCentre(2, 2).y));
    Move(CellCentre(2, 2));
    EXPECT_FALSE(tips->IsPending());

    // A move with a button held, a key, a scroll, or cell tips turned off end it too.
    const std::vector<std::function<void()>> enders = {
        [&] { Move(CellCentre(2, 2), MK_LBUTTON); },
        [&] {
            MSG key{};
            key.hwnd = grid.GetSafeHwnd();
            key.message = WM_KEYDOWN;
            key.wParam = VK_DOWN;
            grid.PreTranslateGridMessage(&key);
        },
        [&] { grid.SendMessage(WM_VSCROLL, SB_LINEDOWN); },
        [&] { grid.EnableCellTips(FALSE); },
    };
    for (size_t i = 0; i < enders.size(); ++i) {
        Move(CellCentre(5, 5));
        ASSERT_NE(Rest(2, 2), nullptr) << i;
        enders[i]();
        EXPECT_EQ(tips->GetShownTip(), nullptr) << i;
    }
    // Turned off, the grid no longer hands the pointer on.
    Move(CellCentre(5, 5));
    Move(CellCentre(2, 2));
    EXPECT_FALSE(tips->IsPending());
}

TEST_F(CellTipMouseTest, ATipPastTheScreensRightEdgeIsPulledBackOnScreen) {
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    // The host moved so that cell (2, 3) starts 50 pixels before the screen's right edge.
    const CRect before = ScreenCell(2, 3);
    host.Host().SetWindowPos(nullptr, screenW - 50 - before.left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Set(2, 3, longText.c_str());
    Move(CellCentre(2, 3));
    ASSERT_TRUE(tips->IsPending());
    ASSERT_NE(Rest(2, 3), nullptr);
    CRect window;
    tips->GetShownTip()->GetWindowRect(&window);
    EXPECT_EQ(window.right, screenW);
    EXPECT_LT(window.left, ScreenCell(2, 3).left);
}

} // namespace
} // namespace gridtest
