// The toolbar list dialog: while it is open the toolbar manager customises (buttons are dragged between
// toolbars); it closes with IDOK, or with 43099 ("Customize" or a new toolbar made).
#pragma once

#include "toolkit/SECToolBarListLogic.h"

#include <memory>

class SECToolBarListDialog : public CDialog {
public:
    explicit SECToolBarListDialog(SECToolBarManager* pManager, CWnd* pParent = nullptr);
    ~SECToolBarListDialog() override;

    // Ends the dialog: customise mode is left and, unless cancelled, the look applied.
    void Close(int nResult);

    std::unique_ptr<SECToolBarListLogic> m_pLogic;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { Close(IDOK); }
    void OnCancel() override { Close(IDCANCEL); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);

    SECToolBarManager* m_pManager;

    DECLARE_MESSAGE_MAP()
};
