// The row and column header cell: its text on a raised button face, sunken while the header is marked,
// with a focus rectangle as its current-cell frame.
#pragma once

#include "grid/CGXStatic.h"

class CGXHeader : public CGXStatic {
public:
    static const ControlTypeRecord kTypeRecord;

    explicit CGXHeader(CGXGridCore* grid) : CGXStatic(grid) {}

    const ControlTypeRecord& GetTypeRecord() const override { return kTypeRecord; }
    void DrawCurrentCellFrame(CDC* dc, const RECT& rect) override;
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;

private:
    // The face under the text; TRUE when the text moves one pixel right and down (the face looks pressed).
    BOOL DrawFace(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style, BOOL marked);
};
