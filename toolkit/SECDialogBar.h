// A dockable bar whose content is a modeless dialog made from a template: the bar is the dialog window,
// without the template's caption, sized as the dialog was made, its controls stretched with the bar when
// the extended style asks for it, and updated from the frame's command handlers at idle time.
#pragma once

#include "toolkit/SECControlBar.h"

class SECDialogBar : public SECControlBar {
    DECLARE_DYNAMIC(SECDialogBar)

public:
    SECDialogBar();
    ~SECDialogBar() override;

    using SECControlBar::Create;
    // The template by name or MAKEINTRESOURCE id; FALSE when there is no such template, the dialog cannot
    // be made or its initialisation data fail.
    virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, DWORD dwStyle, DWORD dwExStyle, UINT nID);
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, DWORD dwStyle, DWORD dwExStyle, UINT nID) {
        return Create(pParentWnd, MAKEINTRESOURCEW(nIDTemplate), dwStyle, dwExStyle, nID);
    }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    CSize m_sizeDefault;
    LPCTSTR m_lpszTemplateName = nullptr;

protected:
    CString m_strTemplateName; // the name, when the template is named rather than numbered
};
