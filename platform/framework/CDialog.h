// Dialogs as framework objects: a CDialog is created from a dialog template of the resources (or one given
// in memory), modal through DoModal with the framework's own loop, or modeless through Create. The window is
// the dialog manager's "#32770" window subclassed to AfxWndProc, so the message maps see every message and
// the dialog manager does the default handling.
#pragma once

#include "platform/dialog/Dialog.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/DataExchange.h"

#include <cstddef>

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless creation; the template's WS_VISIBLE decides whether it shows at once.
    using CWnd::Create;
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                                void* lpDialogInit = nullptr);
    // A template of known size (refused when it runs past `size`).
    BOOL CreateIndirect(const void* lpDialogTemplate, std::size_t size, CWnd* pParentWnd);
    // A modal dialog from a template in memory instead of the resources.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                           void* lpDialogInit = nullptr);
    BOOL InitModalIndirect(const void* lpDialogTemplate, std::size_t size, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally: the owner is disabled, messages go through PreTranslateMessage (and so
    // IsDialogMessage) until EndDialog. Answers the EndDialog result, -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    // Ends a modal dialog; hides a modeless one.
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnSetFont(CFont*) {}
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL PreTranslateInput(MSG* pMsg) override;

    // ---- Navigation and default button
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;
    // The checked button among the ids [first, last], 0 when none.
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton) const;

    LPCTSTR m_lpszTemplateName = nullptr; // an id (MAKEINTRESOURCE) or m_strTemplateName
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_nModalResult = -1;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    // Fills the list and combo boxes from the template's dialog-init data.
    BOOL ExecuteDlgInit(LPCTSTR lpszResourceName);
    BOOL ExecuteDlgInit(const void* lpResource, std::size_t size);

    // Makes the window from a template (modal or not); the object is attached before WM_NCCREATE.
    BOOL CreateDlgIndirect(const void* lpDialogTemplate, std::size_t size, CWnd* pParentWnd);
    BOOL ContinueModal() const { return m_bContinueModal; }
    void EndModalLoop(int nResult);

    void OnOKCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }

    CString m_strTemplateName;
    const void* m_lpDialogTemplate = nullptr; // InitModalIndirect
    std::size_t m_templateSize = 0;
    const void* m_lpDialogInit = nullptr;
    BOOL m_bContinueModal = FALSE;
    HWND m_hWndModalOwner = nullptr;
    BOOL m_bOwnerDisabled = FALSE;

    DECLARE_MESSAGE_MAP()
};

// The bytes of a dialog template: the resource provider first, then the registered resources. Null when
// there is none (ERROR_RESOURCE_NAME_NOT_FOUND).
const void* AfxFindDialogTemplate(LPCTSTR lpszTemplateName, std::size_t* size);
// Creates a dialog window from a template with `pWnd` attached to it (before WM_NCCREATE), subclassed to
// AfxWndProc. Used by dialogs and form views.
BOOL AfxCreateDialogWindow(CWnd* pWnd, const void* lpDialogTemplate, std::size_t size, HWND hWndParent,
                           LPARAM initParam);
// Adds the dialog-init strings of a template to the list and combo boxes of `hWnd`.
BOOL AfxExecuteDlgInit(HWND hWnd, LPCTSTR lpszResourceName);
// The checked radio button among [first, last] of `hWnd`'s items, 0 when none.
int AfxGetCheckedRadioButton(HWND hWnd, int nIDFirstButton, int nIDLastButton);
// Reflects the owner-drawn item messages without a handler in CWnd (WM_COMPAREITEM, WM_DELETEITEM,
// WM_CHARTOITEM, WM_VKEYTOITEM) to the control's object; answers whether it took it.
BOOL AfxReflectItemMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
