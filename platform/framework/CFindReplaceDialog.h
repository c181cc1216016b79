// The modeless find and replace dialog as a framework object. Create it with new; it deletes itself when its
// window goes. The owner receives the registered message FINDMSGSTRING for each command and finds the
// object with GetNotifier.
#pragma once

#include "platform/framework/CCommonDialog.h"

class CFindReplaceDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFindReplaceDialog)

public:
    CFindReplaceDialog();

    // bFindDialogOnly: the find dialog, else the replace dialog. Flags as FINDREPLACE's (FR_DOWN...).
    using CCommonDialog::Create;
    BOOL Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith = nullptr,
                DWORD dwFlags = FR_DOWN, CWnd* pParentWnd = nullptr);

    // The object behind the lParam of the registered message.
    static CFindReplaceDialog* GetNotifier(LPARAM lParam);

    CString GetFindString() const { return CString(m_fr.lpstrFindWhat); }
    CString GetReplaceString() const { return CString(m_fr.lpstrReplaceWith); }
    BOOL SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
    BOOL FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
    BOOL MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
    BOOL MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
    BOOL ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
    BOOL ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
    BOOL IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

    FINDREPLACE m_fr{};

protected:
    void PostNcDestroy() override;

    TCHAR m_szFindWhat[128] = {};
    TCHAR m_szReplaceWith[128] = {};
};
