// Asks for the name of a new toolbar: at most 128 characters, OK only with a name.
#pragma once

#include "platform/framework/CDialog.h"

#define SEC_TOOLBAR_NAME_MAX 128

class SECNewToolBar : public CDialog {
public:
    explicit SECNewToolBar(CWnd* pParent = nullptr);

    CString m_strName;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnNameChange();

    DECLARE_MESSAGE_MAP()
};

// Cuts the edit's text to the limit (written back only when cut); the text it ends with.
CString SECLimitEditText(CWnd& edit, int nMax);
