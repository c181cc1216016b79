// The grid's cell-tip object: it sees the pointer's moves over the grid, size changes, the messages the
// grid translates and its own timer, and shows or hides a tip over a cell whose content does not fit.
// The grid owns it; the feature libraries supply it.
#pragma once

#include "platform/base/Win32Types.h"
#include "platform/base/WindowTypes.h"

class CGXGridCore;

// The timer the cell tips use on the grid window (the auto-scroll timer is 1).
constexpr UINT_PTR kCellTipTimerId = 0x4754;

class CGXAbstractCellTipHandler {
public:
    virtual ~CGXAbstractCellTipHandler() = default;
    // The pointer at a point of the grid window's client area, no button captured by the grid.
    virtual void OnMouseMove(CGXGridCore* grid, UINT flags, POINT point) = 0;
    virtual void OnSize(CGXGridCore* grid) = 0;
    virtual void RelayMessage(CGXGridCore* grid, const MSG* msg) = 0;
    // TRUE when the timer was the tip's.
    virtual BOOL OnTimer(CGXGridCore* grid, UINT_PTR timerId) = 0;
    // Takes the tip down at once (scrolling, cancel mode, the grid going away).
    virtual void Hide(CGXGridCore* grid) = 0;
    // Ends a shown or pending tip but keeps its cell: the tip comes back only on another cell (cancel mode,
    // which also comes when the grid is activated by a click).
    virtual void Dismiss(CGXGridCore* grid) = 0;
};
