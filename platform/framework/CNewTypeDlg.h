// The "New" dialog of the document manager: the user picks which kind of document to make when several
// templates offer new documents, by their new-file names.
#pragma once

#include "platform/base/CLists.h"
#include "platform/framework/CDialog.h"

class CDocTemplate;

class CNewTypeDlg : public CDialog {
public:
    static constexpr int kListId = 100;

    // `pTemplates` lists the templates offered, in the order shown.
    explicit CNewTypeDlg(CPtrList* pTemplates, CWnd* pParentWnd = nullptr);

    // IDOK with the pick in m_pSelectedTemplate, or IDCANCEL.
    INT_PTR DoModal() override;

    CDocTemplate* m_pSelectedTemplate = nullptr;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnListDoubleClick();
    DECLARE_MESSAGE_MAP()

    CPtrList* m_pTemplates;
};
