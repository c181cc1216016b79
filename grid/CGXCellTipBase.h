// How a control shows a tip window for a cell whose content does not fit: whether one is needed, of which
// kind, and filling the tip window. A control that wants cell tips owns one.
#pragma once

#include "grid/GridDefs.h"

class CGXStyle;
class CWnd;

class CGXCellTipBase {
public:
    virtual ~CGXCellTipBase() = default;
    // The directions in which the content overflows the cell (0: no tip needed).
    virtual BOOL NeedsTip(ROWCOL row, ROWCOL col, const CGXStyle& style) = 0;
    virtual int GetTipKind(ROWCOL row, ROWCOL col, const CGXStyle& style) = 0;
    // Sizes, places and fills the tip window; nothing for a null window.
    virtual void InitTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CWnd* tipWindow) = 0;

protected:
    CGXCellTipBase() = default;
};
