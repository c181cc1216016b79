// A view made from a dialog template: the controls of the template (in dialog units of its font) become
// children of the view, which is the dialog manager's child window inside the frame. Tab and the other
// dialog keys work through IsDialogMessage; a frame smaller than the template gets scroll bars.
#pragma once

#include "platform/framework/CScrollView.h"
#include "platform/framework/DataExchange.h"

class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)

protected:
    explicit CFormView(UINT nIDTemplate);
    explicit CFormView(LPCTSTR lpszTemplateName);

public:
    ~CFormView() override;

    // Creates the view from its template as a child of pParentWnd, in `rect`, with the id nID; WS_BORDER of
    // dwStyle gives the sunken edge, WS_VISIBLE shows it.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // Loads the controls from the members (UpdateData(FALSE)), then the view's own first update.
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL PreTranslateInput(MSG* pMsg) override;
    void OnDraw(CDC*) override {}
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;

    LPCTSTR m_lpszTemplateName = nullptr;

protected:
    CString m_strTemplateName;

    DECLARE_MESSAGE_MAP()
};
