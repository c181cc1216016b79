// The "Commands" page of the customisation sheet: the categories are the manager's default toolbars; the
// buttons of the selected one are shown with their images; a click shows the command's status text as its
// description, and a button dragged onto a toolbar is copied there (dropped away from any toolbar and the
// sheet, it starts a new user toolbar).
#pragma once

#include "platform/framework/CPropertyPage.h"

#include <vector>

class SECToolBarManager;

class SECToolBarCmdPage : public CPropertyPage {
    DECLARE_DYNAMIC(SECToolBarCmdPage)

public:
    explicit SECToolBarCmdPage(SECToolBarManager* pManager);

    // The buttons of the selected category (separators left out) and where each is drawn, in client
    // coordinates.
    const std::vector<UINT>& Buttons() const { return m_buttons; }
    CRect ButtonRect(int nIndex) const;
    int HitTest(CPoint point) const;
    void SelectCategory(int nIndex);
    // Shows the button's description and draws it pressed; -1 clears both.
    void SelectButton(int nIndex);
    // Drops a copy of the button at a screen rectangle, as the end of a drag does.
    BOOL DropButton(int nIndex, const CRect& rectScreen);

    int m_nSelected = -1;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(CDC* pDC);
    void OnLButtonDown(CPoint point);
    void OnMouseMove(CPoint point);
    void OnLButtonUp(CPoint point);
    CSize CellSize() const;
    CRect ButtonArea() const;

    SECToolBarManager* m_pManager;
    std::vector<UINT> m_buttons;
    int m_nPressed = -1; // the button under a press, until the release
    BOOL m_bDragging = FALSE;
    CPoint m_ptDown;
};

// The status text of a command: its string up to the tooltip's newline; empty when there is none.
CString SECCommandDescription(UINT nID);
