// The sort buttons of the satellites grid's header row: a push button that latches in when pressed and
// springs out when pressed again, and tells the grid of each press (OnClickedButtonRowCol). One control
// serves one header cell, so its button child keeps that cell's latch.
#pragma once

#include "grid/CGXButton.h"
#include "grid/CGXControl.h"

// The grid's push button child with a latch: each click inverts it before the owner hears of the click.
class CSatSortButton : public CGXButton {
public:
    explicit CSatSortButton(CGXControl* owner) : CGXButton(owner) {}

    void Draw(CDC* dc, BOOL active) override;
    BOOL LButtonUp(UINT flags, int x, int y) override;
    BOOL KeyUp(UINT key, UINT repeat, UINT flags) override;

    // Latches the button in; the previous state.
    BOOL SetChecked();
    // Lets the button out; the previous state.
    BOOL ClearChecked();
    BOOL IsChecked() const { return m_bChecked; }

private:
    BOOL m_bChecked = FALSE;
};

class CSatSortPushbutton : public CGXControl {
public:
    static const ControlTypeRecord kTypeRecord;

    explicit CSatSortPushbutton(CGXGridCore* grid);

    const ControlTypeRecord& GetTypeRecord() const override { return kTypeRecord; }
    void InitCell(ROWCOL row, ROWCOL col) override;
    CSize CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style, const CGXStyle* standardStyle,
                       BOOL heightForWidth, int extra) override;
    // No current-cell frame: the button shows its focus itself.
    void DrawCurrentCellFrame(CDC*, const RECT&) override {}
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;
    void PlaceChildren(ROWCOL row, ROWCOL col, const RECT& rect) override;

    BOOL SetChecked() { return m_pButton->SetChecked(); }
    BOOL ClearChecked() { return m_pButton->ClearChecked(); }
    BOOL IsChecked() const { return m_pButton->IsChecked(); }
    CSatSortButton* Button() const { return m_pButton; }

private:
    // Owned by the child list.
    CSatSortButton* m_pButton;
};
