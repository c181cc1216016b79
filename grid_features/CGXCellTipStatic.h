// The cell tip of the controls that show static text: whether a cell's display text (or its "#BMP"
// picture) overflows the cell, the grid window or the screen, and in which directions.
#pragma once

#include "grid/CGXCellTipBase.h"
#include "platform/base/CRect.h"
#include "platform/base/CString.h"

class CGXControl;
class CGXStaticBitmapCellTipWnd;
class CGXTextCellTipWnd;

// Overflow directions, the answer of NeedsTip (0: no tip).
enum GXCellTipOverflow : int {
    kTipWiderThanCell = 0x1,
    kTipTallerThanCell = 0x2,
    kTipPastWindowSides = 0x4,
    kTipPastWindowTopOrBottom = 0x8,
    kTipPastScreenSides = 0x10,
    kTipPastScreenTopOrBottom = 0x20,
};

// The tip kinds.
enum GXCellTipKind : int { kTipText = 1, kTipPicture = 2 };

class CGXCellTipStatic : public CGXCellTipBase {
public:
    explicit CGXCellTipStatic(CGXControl* control) : m_pControl(control) {}

    BOOL NeedsTip(ROWCOL row, ROWCOL col, const CGXStyle& style) override;
    int GetTipKind(ROWCOL row, ROWCOL col, const CGXStyle& style) override;
    void InitTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CWnd* tipWindow) override;

    // The cell's spanned rectangle inside its borders, in screen coordinates.
    CRect CellRect(ROWCOL row, ROWCOL col, const CGXStyle& style);

private:
    void InitTextTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CGXTextCellTipWnd* tip);
    void InitPictureTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CGXStaticBitmapCellTipWnd* tip);
    CString TipText(ROWCOL row, ROWCOL col, const CGXStyle& style);
    BOOL IsPicture(const CString& text);
    CSize TextSize(const CString& text, const CGXStyle& style, BOOL zoomed);
    CPoint TextOrigin(const CString& text, const CRect& textRect, const CGXStyle& style);
    int TextTest(ROWCOL row, ROWCOL col, const CString& text, const CGXStyle& style);
    int PictureTest(ROWCOL row, ROWCOL col, const CString& text, const CGXStyle& style);
    // The window and screen directions in which a rectangle (screen coordinates) passes.
    int OutsideFlags(const CRect& rect);

    CGXControl* m_pControl;
};
