// The satellite-enable grid made by its window class from the program's "SATSENABLEGRID" layout: the enable
// mask in its check boxes, clicks changing the mask, the arrow keys, the tracked colours, and the receiver
// parameters dialog that hosts it.
#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CSatEnableGridWnd.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "platform/framework/CWinApp.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/ReceiverState.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/GridTestHost.h"

#include <gtest/gtest.h>

namespace {

class SatEnableGridTest : public ::testing::Test {
protected:
    SatEnableGridTest() {
        HWND hwnd = ::CreateWindowExW(0, u"CSatEnableGridWnd", u"SATSENABLEGRID", WS_CHILD | WS_VISIBLE, 0, 0, 600,
                                      120, host.GetSafeHwnd(), reinterpret_cast<HMENU>(9), nullptr, nullptr);
        grid = dynamic_cast<CSatEnableGridWnd*>(CWnd::FromHandlePermanent(hwnd));
    }
    ~SatEnableGridTest() override {
        if (grid) {
            grid->DestroyWindow();
        }
    }
    COLORREF Interior(int prn) {
        const CGXStyle& style =
            grid->LookupStyleRowCol(CSatEnableGridWnd::CellRow(prn), CSatEnableGridWnd::CellCol(prn));
        return style.GetIncludeInterior() ? style.GetInterior().GetColor() & 0xFFFFFF : CLR_INVALID;
    }

    apptest::GridTestHost host;
    CSatEnableGridWnd* grid = nullptr;
};

TEST_F(SatEnableGridTest, ClassMakesTheGridFromItsLayoutAndDeletesItWithTheWindow) {
    ASSERT_NE(grid, nullptr);
    ASSERT_NE(grid->GetParam(), nullptr);
    EXPECT_TRUE(CSatEnableGridWnd::IsClassCreated(grid));
    EXPECT_EQ(grid->GetRowCount(), 4u);
    EXPECT_EQ(grid->GetColCount(), 16u);
    EXPECT_EQ(grid->GetValueRowCol(3, 16), CString(u"32"));
    EXPECT_EQ(grid->GetColWidth(0), 0);
    const CSatEnableGridWnd* made = grid;
    grid->DestroyWindow();
    grid = nullptr;
    EXPECT_FALSE(CSatEnableGridWnd::IsClassCreated(made));
}

TEST_F(SatEnableGridTest, EnableMaskChecksItsSatellitesOnly) {
    ASSERT_NE(grid, nullptr);
    grid->SetEnableMask(0x00010001);
    for (int prn = 1; prn <= 32; ++prn) {
        const CString expected = prn == 1 || prn == 17 ? u"1" : u"0";
        EXPECT_EQ(grid->GetValueRowCol(CSatEnableGridWnd::CellRow(prn), CSatEnableGridWnd::CellCol(prn)), expected)
            << "PRN " << prn;
    }
    EXPECT_EQ(grid->GetValueRowCol(2, 1), CString(u"1"));
    EXPECT_EQ(grid->GetValueRowCol(4, 1), CString(u"1"));
    EXPECT_FALSE(grid->GetParam()->m_bLockUpdate);
}

TEST_F(SatEnableGridTest, ClickedCheckBoxSetsOrClearsItsBitExceptOnUblox) {
    ASSERT_NE(grid, nullptr);
    struct Case {
        int mode;
        ROWCOL row, col;
        const char16_t* value;
        DWORD mask;
    };
    const Case cases[] = {
        {kModeMotorolaBinary, 2, 3, u"0", 0xFFFFFFFBu},  // PRN 3 unchecked
        {kModeMotorolaBinary, 4, 16, u"0", 0x7FFFFFFFu}, // PRN 32
        {kModeUbloxUbx, 2, 3, u"0", 0xFFFFFFFFu},        // u-blox: the bit stays
        {kModeMotorolaBinary, 1, 3, u"0", 0xFFFFFFFFu},  // a label row counts for nothing
    };
    for (const Case& c : cases) {
        g_interfaceMode = c.mode;
        grid->SetEnableMask(0xFFFFFFFFu);
        CGXStyle value;
        value.SetValue(c.value);
        grid->SetStyleRange(CGXRange(c.row, c.col, c.row, c.col), &value);
        grid->OnClickedButtonRowCol(c.row, c.col);
        EXPECT_EQ(grid->GetEnableMask(), c.mask) << c.row << "," << c.col << " mode " << c.mode;
    }
    g_interfaceMode = kModeMotorolaBinary;
    grid->SetEnableMask(0);
    CGXStyle checked;
    checked.SetValue(u"1");
    grid->SetStyleRange(CGXRange(4, 1, 4, 1), &checked);
    grid->OnClickedButtonRowCol(4, 1);
    EXPECT_EQ(grid->GetEnableMask(), 0x00010000u);
}

TEST_F(SatEnableGridTest, ArrowsWrapBetweenTheCheckBoxRows) {
    ASSERT_NE(grid, nullptr);
    struct Move {
        ROWCOL row, col;
        int direction; // 1 up, 2 left, 3 down, 4 right
        ROWCOL toRow, toCol;
    };
    const Move moves[] = {{2, 16, 4, 4, 1}, {4, 1, 2, 2, 16}, {2, 5, 3, 4, 5}, {4, 5, 1, 2, 5}, {2, 7, 4, 2, 8}};
    for (const Move& m : moves) {
        ASSERT_TRUE(grid->SetCurrentCell(m.row, m.col));
        grid->ProcessMoveKey(m.direction, 1);
        ROWCOL row = 0, col = 0;
        ASSERT_TRUE(grid->GetCurrentCell(row, col));
        EXPECT_EQ(row, m.toRow) << m.row << "," << m.col << " direction " << m.direction;
        EXPECT_EQ(col, m.toCol) << m.row << "," << m.col << " direction " << m.direction;
    }
}

TEST_F(SatEnableGridTest, TrackedSatelliteTurnsGreenThenDarkBlueOnceLost) {
    ASSERT_NE(grid, nullptr);
    grid->InitTrackedMasks(0x1, 0x2);
    EXPECT_EQ(Interior(1), CSatEnableGridWnd::kTrackedColour);
    EXPECT_EQ(Interior(2), CSatEnableGridWnd::kSeenColour);
    EXPECT_EQ(grid->GetSeenMask(), 0x3u);
    const COLORREF untouched = Interior(3);

    grid->ShowTrackedMasks(0x4, 0x7);
    EXPECT_EQ(Interior(1), CSatEnableGridWnd::kSeenColour);
    EXPECT_EQ(Interior(3), CSatEnableGridWnd::kTrackedColour);
    grid->ShowTrackedMasks(0x0, 0x7);
    EXPECT_EQ(Interior(1), CSatEnableGridWnd::kSeenColour);
    EXPECT_EQ(Interior(3), CSatEnableGridWnd::kSeenColour);
    EXPECT_EQ(Interior(4), untouched);
}

TEST_F(SatEnableGridTest, ReceiverParametersDialogStoresTheMaskTheGridShows) {
    CWinApp app(u"test"); // the dialog keeps its placement through the application
    g_interfaceMode = kModeMotorolaBinary;
    AppWriteProfileInt(u"GPS Rx Settings", u"Sat Enable Bit Mask", 0x0000000F);
    CGpsRxModeSelect dlg;
    ASSERT_TRUE(dlg.Create(CGpsRxModeSelect::IDD));
    dlg.SetTrackedSatellites(0x1);
    CSatEnableGridWnd* dialogGrid = dlg.SatelliteGrid();
    ASSERT_NE(dialogGrid, nullptr);
    EXPECT_EQ(dialogGrid->GetValueRowCol(2, 4), CString(u"1"));
    EXPECT_EQ(dialogGrid->GetValueRowCol(2, 5), CString(u"0"));
    EXPECT_EQ(dialogGrid->GetTrackedMask(), 0x1u);

    // PRN 2 unchecked through its cell, then OK.
    CGXStyle unchecked;
    unchecked.SetValue(u"0");
    dialogGrid->SetStyleRange(CGXRange(2, 2, 2, 2), &unchecked);
    dialogGrid->OnClickedButtonRowCol(2, 2);
    dlg.SendMessageW(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(AppGetProfileInt(u"GPS Rx Settings", u"Sat Enable Bit Mask", 0), 0x0000000D);
    if (dlg.GetSafeHwnd()) {
        dlg.DestroyWindow();
    }
}

} // namespace
