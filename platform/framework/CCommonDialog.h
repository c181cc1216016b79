// The base of the framework's common dialogs. The dialogs themselves are the layer's (platform/commdlg); the
// objects hold their structures, run them and read the results.
#pragma once

#include "platform/commdlg/CommDlg.h"
#include "platform/framework/CDialog.h"

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)

public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    // The dialog's own procedure ends it (or, modeless, sends its notification): OK and Cancel go there.
    void OnOK() override;
    void OnCancel() override;
    // The owner for the dialog: the parent's top-level window, else the application's main window.
    HWND OwnerWindow() const;
};
