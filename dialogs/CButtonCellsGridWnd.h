// A grid window that the user works only through its button cells: a press on any other cell is ignored, a
// double click does nothing, and the dialog manager leaves it the arrow keys and characters.
#pragma once

#include "grid/CGXGridWnd.h"

class CButtonCellsGridWnd : public CGXGridWnd {
protected:
    // Whether a press on the cell goes to the grid.
    virtual BOOL IsButtonCell(ROWCOL row, ROWCOL col) const = 0;

    void OnLButtonDown(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT, CPoint) {}
    UINT OnGetDlgCode();

    DECLARE_MESSAGE_MAP()

private:
    // Anywhere but on a cell other than a button cell; any press while a window has the capture.
    BOOL AcceptsPress(CPoint point);
};
