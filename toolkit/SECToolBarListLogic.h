// What the toolbar list dialog does with its controls: a check list of the frame's toolbars (checked when
// shown), the selected toolbar's name (user toolbars only) and its Reset or Delete button, new toolbars,
// and the look of all toolbars (tooltips, cool look, large buttons).
#pragma once

#include "platform/framework/CCheckListBox.h"
#include "platform/framework/CDialog.h"

class SECCustomToolBar;
class SECToolBarManager;

class SECToolBarListLogic {
public:
    SECToolBarListLogic(CDialog* pOwner, SECToolBarManager* pManager) : m_pOwner(pOwner), m_pManager(pManager) {}

    // Subclasses the list, fills it from the frame's toolbars and the boxes from the manager.
    void Init();
    void ApplyLook();
    int FindItemById(UINT nID) const;
    BOOL GetSelectedBar(SECCustomToolBar*& pBar, UINT& nID) const;
    void UpdateNameField();
    void OnBarNotify(UINT nID, UINT nCode);
    void Rename();
    void ResetOrDelete();
    void ToggleVisible(int nIndex);
    // Asks for a name and makes a floating user toolbar; whether one was made.
    BOOL NewToolBar();
    // The check boxes' current states to the manager.
    void OnToolTips();
    void OnCoolLook();
    void OnLargeButtons();

    // The commands the dialog and the page handle alike: list selection and check changes, the name edit
    // losing the focus, Reset/Delete and the tooltips box. Whether it was one of them.
    BOOL OnSharedCommand(UINT nID, UINT nCode, LPARAM lParam);

    // The name dialog; tests answer it themselves.
    virtual INT_PTR AskName(CString& strName);
    virtual ~SECToolBarListLogic() = default;

    CDialog* m_pOwner;
    BOOL m_bToolTips = TRUE;
    BOOL m_bCoolLook = TRUE;
    BOOL m_bLargeButtons = FALSE;
    SECToolBarManager* m_pManager;
    CCheckListBox m_list;

protected:
    static BOOL IsUserToolBar(UINT nID);
    void InsertBar(SECCustomToolBar* pBar);
    void ReadBoxes();
};
