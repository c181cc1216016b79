// The state of a find or replace: the texts, the options and where the search runs. The find-and-replace
// feature keeps one for the whole program; a cell control's FindText and ReplaceAll read it.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <memory>

class CGXGridCore;
class CGXStyle;
class CWnd;

class CGXFindReplaceInfo {
public:
    CGXFindReplaceInfo() = default;
    CGXFindReplaceInfo(const CGXFindReplaceInfo&) = delete;
    CGXFindReplaceInfo& operator=(const CGXFindReplaceInfo&) = delete;

    // After every change of the find text: the text the search compares with (upper-cased unless the case
    // must match) and its copy in the ANSI code page.
    void PrepareSearchText();
    const char* GetAnsiFindText() const { return m_pAnsiFind.get(); }
    void FreeAnsiFindText() { m_pAnsiFind.reset(); }

    CWnd* m_pFindReplaceDlg = nullptr; // the open dialog, if any
    BOOL m_bFindOnly = FALSE;
    CString m_strFind;
    CString m_strCompare;
    CString m_strReplace;
    BOOL m_bCase = FALSE;
    BOOL m_bSearchDown = TRUE;
    // Replace-all runs inside one undo transaction.
    BOOL m_bTransaction = TRUE;
    CGXGridCore* m_pActiveGrid = nullptr;
    CWnd* m_pDialogOwner = nullptr;
    // The style of the cell being searched; null lets the control compose it.
    const CGXStyle* m_pStyle = nullptr;

private:
    std::unique_ptr<char[]> m_pAnsiFind;
};
