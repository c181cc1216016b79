// The file open and save dialogs as a framework object: the filter in the framework's "Text|*.txt|All|*.*||"
// form, the default extension and file name, and the chosen path or paths afterwards.
#pragma once

#include "platform/base/CollectionTemplates.h"
#include "platform/framework/CCommonDialog.h"

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)

public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    // IDOK, or IDCANCEL when cancelled or failed (CommDlgExtendedError tells which).
    INT_PTR DoModal() override;

    // The full path, its file name, the extension without the dot, the name without the extension.
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
    // The chosen paths one by one (OFN_ALLOWMULTISELECT gives several).
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    OPENFILENAME m_ofn{};

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter; // with NULs for the bars
    CString m_strDefExt;
    TCHAR m_szFileTitle[64] = {};
    TCHAR m_szFileName[1024] = {};
};
