// The push button cell: one button child filling the cell, captioned with the style's choice list; a click
// on it reaches the grid as OnClickedButtonRowCol.
#pragma once

#include "grid/CGXControl.h"

class CGXButton;

class CGXPushbutton : public CGXControl {
public:
    static const ControlTypeRecord kTypeRecord;

    explicit CGXPushbutton(CGXGridCore* grid);

    const ControlTypeRecord& GetTypeRecord() const override { return kTypeRecord; }
    void InitCell(ROWCOL row, ROWCOL col) override;
    CSize CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style, const CGXStyle* standardStyle,
                       BOOL heightForWidth, int extra) override;
    // The button shows the focus; the cell has no current-cell frame.
    void DrawCurrentCellFrame(CDC*, const RECT&) override {}
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;
    void PlaceChildren(ROWCOL row, ROWCOL col, const RECT& inner) override;

    CGXButton* Button() const { return m_pButton; }

protected:
    // Owned by the child list.
    CGXButton* m_pButton;
};
