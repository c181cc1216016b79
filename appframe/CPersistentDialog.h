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

    // Posted by a dialog to itself with a field's id when the field was left: the field's check runs once
    // the focus change (and a click on Cancel that caused it) has been seen.
    static constexpr UINT kFieldCheckMessage = WM_APP + 0x12;

protected:
    // A field lost the focus: posts its check when the focus went to another window of this dialog. Leaving
    // for a message box (or the window system taking the focus away and giving it back) is not leaving the
    // field, and nothing is posted while a check runs: its message box and the focus it gives back to the
    // field would ask for checks again, without end.
    void PostFieldCheck(UINT controlId);
    // The check of one field; a check that refuses the value shows its message and gives the focus back.
    virtual void OnFieldCheck(UINT controlId);

    void OnOK() override;
    void OnCancel() override;
    void OnDestroy();
    LRESULT OnFieldCheckMessage(WPARAM wParam, LPARAM lParam);

    CString m_sectionName;
    int m_restoreOnInit = 0;
    int m_resizable = 0;
    UINT m_dialogId = 0;

private:
    bool m_fieldCheckRunning = false;

    DECLARE_MESSAGE_MAP()
};
