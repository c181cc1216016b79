// The static text cell: shows the value as text the user cannot edit, in a margin inside the cell. The
// base of the header and of the edit cell, which draws like it while not being edited.
#pragma once

#include "grid/CGXControl.h"

class CGXStatic : public CGXControl {
public:
    static const ControlTypeRecord kTypeRecord;

    explicit CGXStatic(CGXGridCore* grid) : CGXControl(grid) {}

    // Half the frame width, but 2 at least.
    static int TextMargin();

    const ControlTypeRecord& GetTypeRecord() const override { return kTypeRecord; }
    CRect GetInnerRect(ROWCOL row, ROWCOL col, const RECT* cellRect = nullptr,
                       const CGXStyle* style = nullptr) override;
    CSize AddBorderSize(int width, int height, const CGXStyle& style) override;
    CSize CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style, const CGXStyle* standard,
                       BOOL widthOnly, int extra) override;
    BOOL CanFloatCell(ROWCOL row, ROWCOL col, const CGXStyle& style, BOOL floatCell) override;
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;
};
