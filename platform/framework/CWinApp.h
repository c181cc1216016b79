// The application object: one per program, the main thread's CWinThread, with the program's name and
// profile, its document templates and the recent-file list, and the start-up helpers (command line, shell
// commands). AfxWinMain runs it.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CollectionTemplates.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/framework/ModulePath.h"
#include "platform/registry/Registry.h"

#include <vector>

class CDocTemplate;
class CDocManager;
class CPrintDialog;
class CDocument;

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo();
    ~CCommandLineInfo() override = default;

    // A parameter without its '-' or '/' when bFlag. '/' marks a flag only when no other '/' follows, so
    // absolute paths stay file names.
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

protected:
    void ParseParamFlag(LPCTSTR pszParam);
    void ParseParamNotFlag(LPCTSTR pszParam);
    void ParseLast(BOOL bLast);
};

// The most recently used files, kept in the profile as <section>\<entry format with 1..n>.
class CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = 0);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return m_nSize; }
    CString& operator[](int nIndex) { return m_arrNames[static_cast<size_t>(nIndex)]; }
    // Puts the file first (moving it up when it is already listed; names compare without regard to case).
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);
    virtual void ReadList();
    virtual void WriteList();

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;

protected:
    int m_nSize;
    int m_nMaxDisplayLength;
    std::vector<CString> m_arrNames;
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)

public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    HINSTANCE m_hPrevInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // Strings the application owns (malloc'd; a program may free and replace them with _wcsdup copies).
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;
    LPCTSTR m_pszProfileName = nullptr;
    LPCTSTR m_pszHelpFilePath = nullptr;
    LPCTSTR m_pszExeName = nullptr;
    CRecentFileList* m_pRecentFileList = nullptr;
    CDocManager* m_pDocManager = nullptr;
    UINT m_nNumPreviewPages = 0;
    // The application's printer: DEVMODE and DEVNAMES blocks (movable global memory, owned by the
    // application), null until a print dialog or a caller sets them.
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;

    // Profile under HKEY_CURRENT_USER\Software\<registry key>\<profile name>.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCTSTR lpszSection);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // Reads the recent-file list ("Recent File List", "File%d") and the preview page count.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);

    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount();

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    HCURSOR LoadCursorW(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursorW(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HICON LoadIconW(LPCTSTR lpszResourceName) const;
    HICON LoadIconW(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    void Delete() override {}
    // Help does nothing on this system.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    // Runs the dialog starting from the application's printer, which then takes the dialog's blocks.
    virtual INT_PTR DoPrintDialog(CPrintDialog* pPD);
    void HideApplication();
    void EnableShellOpen() {}
    void RegisterShellFileTypes(BOOL = FALSE) {}
    void Enable3dControls() {}
    void SetDialogBkColor(COLORREF = 0, COLORREF = 0) {}

    // The command-line arguments AfxWinMain received (program name first).
    std::vector<CString> m_argv;

    // Commands the application's map may route to.
    void OnFileNew();
    void OnFileOpen();
    BOOL OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    void OnAppExit();
    void OnHelp() {}

protected:
    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();
// A malloc'd copy (null for null), the form the application's strings are kept in.
LPTSTR AfxStrDup(LPCTSTR text);
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// Sets the instance, the command line, the program's name and paths; AfxWinMain calls it.
BOOL AfxWinInit(int argc, char** argv);
void AfxWinTerm();
// The program's entry: AfxWinInit, InitApplication, InitInstance, Run (or ExitInstance when InitInstance
// fails). Answers the exit code.
int AfxWinMain(int argc, char** argv);
// The substring number iSubString of a list separated by chSep.
BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep = u'\n');
