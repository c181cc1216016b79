// A cell showing its value as text the user cannot edit; the base of the edit cell, which draws exactly like
// it while the cell is not being edited.
#pragma once

#include "grid/CGXControl.h"

class CGXStatic : public CGXControl {
public:
    explicit CGXStatic(CGXGridCore* grid) : CGXControl(grid) {}

    // The text keeps a margin from the cell's sides (a little more on the right of right-aligned text).
    CRect& GetInnerRect(CRect& rect, ROWCOL row, ROWCOL col, const RECT* cellRect = nullptr,
                        const CGXStyle* style = nullptr) override;
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;

    // The layout flags of the style's text: alignment, and word wrap or a single line.
    static UINT TextFormat(const CGXStyle& style);
};
