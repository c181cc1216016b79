// The sort buttons of the satellites grid's header row: a push button that latches in when pressed and
// springs out when pressed again, and tells the grid of each press (OnClickedButtonRowCol). One object
// serves one header cell, so the latch lives in the object.
#pragma once

#include "grid/CGXControl.h"
#include "platform/base/CRect.h"

class CSatSortPushbutton : public CGXControl {
public:
    explicit CSatSortPushbutton(CGXGridCore* grid) : CGXControl(grid) {}

    // Latches the button in; the previous state.
    BOOL SetChecked();
    // Lets the button out; the previous state.
    BOOL ClearChecked();
    BOOL IsChecked() const { return m_checked; }

    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;
    // No current-cell frame: the button shows its focus itself.
    void DrawCurrentCellFrame(CDC*, const RECT&) override {}
    BOOL LButtonDown(UINT flags, POINT point, UINT hitState) override;
    BOOL MouseMove(UINT flags, POINT point, UINT hitState) override;
    BOOL LButtonUp(UINT flags, POINT point, UINT hitState) override;
    BOOL KeyDown(UINT key, UINT repeat, UINT flags) override;
    BOOL KeyUp(UINT key, UINT repeat, UINT flags) override;
    void CancelMode() override;

private:
    // The latch inverted and the grid told, for the bound cell.
    void Toggle();
    void Redraw();
    CRect ButtonRect();

    BOOL m_checked = FALSE;
    BOOL m_pressed = FALSE;
};
