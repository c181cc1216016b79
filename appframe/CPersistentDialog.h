// A dialog that keeps its rectangle in the profile, in the section "Dialog <id> size" (or "Dialog <template
// name> size"): stored when it closes or is destroyed, restored when a modal run starts or a modeless one
// is shown again with SW_RESTORE. A dialog without a sizing border keeps its own size and only moves.
#pragma once

#include "platform/framework/CDialog.h"

class CPersistentDialog : public CDialog {
    DECLARE_DYNAMIC(CPersistentDialog)

public:
    explicit CPersistentDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Without a template in the dialog part: the users create the window themselves with the id.
    CPersistentDialog(UINT nIDTemplate, LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CPersistentDialog() override = default;

    BOOL RestorePlacement();
    void SavePlacement();
    // SW_RESTORE restores the stored placement before showing.
    BOOL ShowWindowRestoring(int nCmdShow);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    BOOL DestroyWindow() override;

    const CString& GetSectionName() const { return m_sectionName; }

protected:
    void OnOK() override;
    void OnCancel() override;
    void OnDestroy();

    CString m_sectionName;
    int m_restoreOnInit = 0;
    int m_resizable = 0;
    UINT m_dialogId = 0;

    DECLARE_MESSAGE_MAP()
};
