// The grid's cell tips: while the pointer rests on a cell whose control says its content does not fit,
// a tip window shows the whole content over the cell, until the pointer leaves the cell, a button or key
// is pressed, or the grid scrolls or changes size.
#pragma once

#include "grid/CGXCellTipHandler.h"
#include "grid/GridDefs.h"
#include "platform/base/CRect.h"

#include <memory>

class CGXCellTipWnd;
class CGXStaticBitmapCellTipWnd;
class CGXTextCellTipWnd;

class CGXGridCellTips : public CGXAbstractCellTipHandler {
public:
    // How long the pointer rests on a cell before its tip shows, and how often a shown tip checks that
    // the pointer is still on its cell (the pointer may leave the grid without the grid seeing it).
    static constexpr UINT kShowDelay = 500;
    static constexpr UINT kLeaveCheck = 100;

    CGXGridCellTips();
    ~CGXGridCellTips() override;

    // Gives the grid its cell tips and turns them on.
    static CGXGridCellTips* Install(CGXGridCore* grid);

    void OnMouseMove(CGXGridCore* grid, UINT flags, POINT point) override;
    void OnSize(CGXGridCore* grid) override;
    void RelayMessage(CGXGridCore* grid, const MSG* msg) override;
    BOOL OnTimer(CGXGridCore* grid, UINT_PTR timerId) override;
    void Hide(CGXGridCore* grid) override;

    void Dismiss(CGXGridCore* grid) override;

    // The tip window shown now, or null.
    CGXCellTipWnd* GetShownTip() const;
    CGXTextCellTipWnd* GetTextTip() const { return m_pTextTip.get(); }
    CGXStaticBitmapCellTipWnd* GetPictureTip() const { return m_pPictureTip.get(); }
    BOOL IsPending() const { return m_bPending; }

private:
    void Show(CGXGridCore* grid);
    void StopTimer(CGXGridCore* grid);
    CGXCellTipWnd* TipWindow(CGXGridCore* grid, int kind);

    ROWCOL m_nRow = kGridNoRowCol;
    ROWCOL m_nCol = kGridNoRowCol;
    BOOL m_bPending = FALSE;
    CGXCellTipWnd* m_pShown = nullptr;
    CRect m_rectCell; // the shown tip's cell, in screen coordinates
    std::unique_ptr<CGXTextCellTipWnd> m_pTextTip;
    std::unique_ptr<CGXStaticBitmapCellTipWnd> m_pPictureTip;
};
