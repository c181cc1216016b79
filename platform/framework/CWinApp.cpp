#include "platform/framework/CWinApp.h"

#include "platform/base/CodePage.h"
#include "platform/base/GlobalMemory.h"
#include "platform/base/WideRuntime.h"
#include "platform/display/User.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CPrintDialog.h"
#include "platform/registry/AppProfile.h"

#include <cstdlib>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, OnOpenRecentFile)
ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace {

CWinApp* g_pApp = nullptr;

void ReplaceString(LPCTSTR& field, LPCTSTR value) {
    std::free(const_cast<LPTSTR>(field));
    field = AfxStrDup(value);
}

CAppProfile ProfileOf(const CWinApp* app) {
    LPCTSTR name = app->m_pszProfileName ? app->m_pszProfileName : app->m_pszAppName;
    return CAppProfile(app->m_pszRegistryKey ? app->m_pszRegistryKey : u"", name ? name : u"");
}

} // namespace

LPTSTR AfxStrDup(LPCTSTR text) {
    return text ? _wcsdup(text) : nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

LPCTSTR AfxGetAppName() {
    return g_pApp ? g_pApp->m_pszAppName : nullptr;
}

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    m_pszAppName = AfxStrDup(lpszAppName);
    m_nThreadID = ::GetCurrentThreadId();
    g_pApp = this;
    // Exceptions report through the application's message box from now on.
    SetExceptionReporter(
        [](LPCTSTR text, UINT type, UINT helpContext) { return AfxMessageBox(text, type, helpContext); });
}

CWinApp::~CWinApp() {
    ::GlobalFree(m_hDevMode);
    ::GlobalFree(m_hDevNames);
    m_hDevMode = m_hDevNames = nullptr;
    delete m_pDocManager;
    m_pDocManager = nullptr;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    for (LPCTSTR* field :
         {&m_pszAppName, &m_pszRegistryKey, &m_pszProfileName, &m_pszHelpFilePath, &m_pszExeName}) {
        std::free(const_cast<LPTSTR>(*field));
        *field = nullptr;
    }
    std::free(m_lpCmdLine);
    m_lpCmdLine = nullptr;
    if (g_pApp == this) {
        g_pApp = nullptr;
        SetExceptionReporter(nullptr);
    }
}

// ---- Profile

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    ReplaceString(m_pszRegistryKey, lpszRegistryKey);
    ReplaceString(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey() {
    return ProfileOf(this).GetAppRegistryKey();
}
HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection) {
    return ProfileOf(this).GetSectionKey(lpszSection);
}
UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    return ProfileOf(this).GetProfileInt(lpszSection, lpszEntry, nDefault);
}
CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    return CString(ProfileOf(this).GetProfileString(lpszSection, lpszEntry, lpszDefault).c_str());
}
BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
    return ProfileOf(this).GetProfileBinary(lpszSection, lpszEntry, ppData, pBytes);
}
BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    return ProfileOf(this).WriteProfileInt(lpszSection, lpszEntry, nValue);
}
BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    return ProfileOf(this).WriteProfileString(lpszSection, lpszEntry, lpszValue);
}
BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes) {
    return ProfileOf(this).WriteProfileBinary(lpszSection, lpszEntry, pData, nBytes);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU != 0) {
        delete m_pRecentFileList;
        m_pRecentFileList = new CRecentFileList(0, u"Recent File List", u"File%d", static_cast<int>(nMaxMRU));
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = GetProfileInt(u"Settings", u"PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList) {
        m_pRecentFileList->WriteList();
    }
    if (m_nNumPreviewPages != 0) {
        WriteProfileInt(u"Settings", u"PreviewPages", static_cast<int>(m_nNumPreviewPages));
    }
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (m_pRecentFileList) {
        m_pRecentFileList->Add(lpszPathName);
    }
}

// ---- Recent files

CRecentFileList::CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSectionName(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(nSize),
      m_nMaxDisplayLength(nMaxDispLen), m_arrNames(static_cast<size_t>(nSize > 0 ? nSize : 0)) {}

void CRecentFileList::Add(LPCTSTR lpszPathName) {
    if (!lpszPathName || !*lpszPathName || m_nSize <= 0) {
        return;
    }
    CString name(lpszPathName);
    int found = m_nSize - 1;
    for (int i = 0; i < m_nSize; ++i) {
        if (m_arrNames[static_cast<size_t>(i)].CompareNoCase(name) == 0) {
            found = i;
            break;
        }
    }
    for (int i = found; i > 0; --i) {
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i - 1)];
    }
    m_arrNames[0] = name;
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex < 0 || nIndex >= m_nSize) {
        return;
    }
    for (int i = nIndex; i < m_nSize - 1; ++i) {
        m_arrNames[static_cast<size_t>(i)] = m_arrNames[static_cast<size_t>(i + 1)];
    }
    m_arrNames[static_cast<size_t>(m_nSize - 1)].Empty();
}

void CRecentFileList::ReadList() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return;
    }
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        m_arrNames[static_cast<size_t>(i)] = pApp->GetProfileString(m_strSectionName, entry);
    }
}

void CRecentFileList::WriteList() {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return;
    }
    for (int i = 0; i < m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i + 1);
        const CString& name = m_arrNames[static_cast<size_t>(i)];
        // Empty places leave no entry behind.
        pApp->WriteProfileString(m_strSectionName, entry,
                                 name.IsEmpty() ? nullptr : static_cast<LPCTSTR>(name));
    }
}

// ---- Documents

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (!m_pDocManager) {
        m_pDocManager = new CDocManager;
    }
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const {
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const {
    return m_pDocManager->GetNextDocTemplate(pos);
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL CWinApp::SaveAllModified() {
    return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    if (m_pDocManager) {
        m_pDocManager->CloseAllDocuments(bEndSession);
    }
}

int CWinApp::GetOpenDocumentCount() {
    return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0;
}

void CWinApp::OnFileNew() {
    if (m_pDocManager) {
        m_pDocManager->OnFileNew();
    }
}

void CWinApp::OnFileOpen() {
    if (m_pDocManager) {
        m_pDocManager->OnFileOpen();
    }
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    if (!m_pRecentFileList) {
        return FALSE;
    }
    int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[index].IsEmpty()) {
        return FALSE;
    }
    if (!OpenDocumentFile((*m_pRecentFileList)[index])) {
        m_pRecentFileList->Remove(index);
    }
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pRecentFileList && !(*m_pRecentFileList)[0].IsEmpty());
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) {
        m_pMainWnd->SendMessageW(WM_CLOSE);
    }
}

void CWinApp::HideApplication() {
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd()) {
        m_pMainWnd->ShowWindow(SW_HIDE);
    }
}

// ---- Start-up and the loop

BOOL CWinApp::InitApplication() {
    if (CDocManager::pStaticDocManager) {
        if (!m_pDocManager) {
            m_pDocManager = CDocManager::pStaticDocManager;
        }
        CDocManager::pStaticDocManager = nullptr;
    }
    return TRUE;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

int CWinApp::Run() {
    if (!m_pMainWnd) {
        // Nothing to show: the loop ends at once.
        AfxPostQuitMessage(0);
    }
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWinThread::OnIdle(lCount);
        return TRUE;
    }
    return CWinThread::OnIdle(lCount);
}

void CWinApp::WinHelp(DWORD_PTR, UINT) {}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND owner = pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
    if (owner) {
        owner = ::GetLastActivePopup(owner);
    }
    return ::MessageBoxW(owner, lpszPrompt, m_pszAppName ? m_pszAppName : u"", nType);
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    if (CWinApp* pApp = AfxGetApp()) {
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    }
    return ::MessageBoxW(nullptr, lpszText, u"", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    if (!text.LoadString(nIDPrompt)) {
        text.Format(u"Message %u", nIDPrompt);
    }
    return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

HCURSOR CWinApp::LoadCursorW(LPCTSTR name) const {
    return ::LoadCursorW(AfxGetResourceHandle(), name);
}
HCURSOR CWinApp::LoadCursorW(UINT id) const {
    return LoadCursorW(MAKEINTRESOURCEW(id));
}
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR name) const {
    return ::LoadCursorW(nullptr, name);
}
HICON CWinApp::LoadIconW(LPCTSTR name) const {
    return ::LoadIconW(AfxGetResourceHandle(), name);
}
HICON CWinApp::LoadIconW(UINT id) const {
    return LoadIconW(MAKEINTRESOURCEW(id));
}
HICON CWinApp::LoadStandardIcon(LPCTSTR name) const {
    return ::LoadIconW(nullptr, name);
}

// ---- Command line

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew) {}

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag) {
        ParseParamFlag(pszParam);
    } else {
        ParseParamNotFlag(pszParam);
    }
    ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(LPCTSTR pszParam) {
    CString flag(pszParam);
    if (flag.CompareNoCase(u"pt") == 0) {
        m_nShellCommand = FilePrintTo;
    } else if (flag.CompareNoCase(u"p") == 0) {
        m_nShellCommand = FilePrint;
    } else if (flag.CompareNoCase(u"Unregister") == 0 || flag.CompareNoCase(u"Unregserver") == 0) {
        m_nShellCommand = AppUnregister;
    } else if (flag.CompareNoCase(u"dde") == 0) {
        m_nShellCommand = FileDDE;
    } else if (flag.CompareNoCase(u"Embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    } else if (flag.CompareNoCase(u"Automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseParamNotFlag(LPCTSTR pszParam) {
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
    } else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty()) {
        m_strPrinterName = pszParam;
    } else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty()) {
        m_strDriverName = pszParam;
    } else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty()) {
        m_strPortName = pszParam;
    }
}

void CCommandLineInfo::ParseLast(BOOL bLast) {
    if (bLast && m_nShellCommand == FileNew && !m_strFileName.IsEmpty()) {
        m_nShellCommand = FileOpen;
    }
    if (bLast) {
        m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    int count = static_cast<int>(m_argv.size());
    for (int i = 1; i < count; ++i) {
        const CString& param = m_argv[static_cast<size_t>(i)];
        BOOL bFlag = FALSE;
        LPCTSTR text = param;
        if (param.GetLength() > 1 && (param[0] == u'-' || (param[0] == u'/' && param.Find(u'/', 1) < 0))) {
            bFlag = TRUE;
            ++text;
        }
        rCmdInfo.ParseParam(text, bFlag, i == count - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    BOOL bResult = TRUE;
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) {
            OnFileNew();
        }
        if (!m_pMainWnd) {
            bResult = FALSE;
        }
        break;
    case CCommandLineInfo::FileOpen:
        if (!OpenDocumentFile(rCmdInfo.m_strFileName)) {
            bResult = FALSE;
        }
        break;
    case CCommandLineInfo::FilePrintTo:
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FileDDE:
        // Printing from the shell and DDE do not exist on this system.
        bResult = FALSE;
        break;
    case CCommandLineInfo::AppUnregister:
    case CCommandLineInfo::FileNothing:
        break;
    }
    return bResult;
}

// ---- The entry

BOOL AfxWinInit(int argc, char** argv) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return FALSE;
    }
    pApp->m_hInstance = AfxGetInstanceHandle();
    pApp->m_nCmdShow = SW_SHOWNORMAL;
    pApp->m_nThreadID = ::GetCurrentThreadId();
    pApp->m_argv.clear();
    CString cmdLine;
    for (int i = 0; i < argc; ++i) {
        CString arg(Utf8ToUtf16(argv[i] ? argv[i] : "").c_str());
        if (i > 0) {
            if (i > 1) {
                cmdLine += u' ';
            }
            cmdLine += arg;
        }
        pApp->m_argv.push_back(arg);
    }
    std::free(pApp->m_lpCmdLine);
    pApp->m_lpCmdLine = AfxStrDup(cmdLine);

    TCHAR path[4096];
    CString exePath;
    if (::GetModuleFileNameW(nullptr, path, 4096)) {
        exePath = path;
    } else if (argc > 0 && argv[0]) {
        exePath = Utf8ToUtf16(argv[0]).c_str();
    }
    CString exeName = exePath.Mid(exePath.ReverseFind(u'/') + 1);
    int dot = exeName.ReverseFind(u'.');
    if (dot > 0) {
        exeName = exeName.Left(dot);
    }
    if (!pApp->m_pszExeName) {
        pApp->m_pszExeName = AfxStrDup(exeName);
    }
    if (!pApp->m_pszAppName) {
        CString title;
        pApp->m_pszAppName = AfxStrDup(title.LoadString(AFX_IDS_APP_TITLE) ? title : exeName);
    }
    if (!pApp->m_pszHelpFilePath) {
        CString help = exePath;
        int slash = help.ReverseFind(u'/');
        int extension = help.ReverseFind(u'.');
        if (extension > slash) {
            help = help.Left(extension);
        }
        help += u".HLP";
        pApp->m_pszHelpFilePath = AfxStrDup(help);
    }
    if (!pApp->m_pszProfileName) {
        pApp->m_pszProfileName = AfxStrDup(pApp->m_pszAppName);
    }
    AfxEndDeferRegisterClass();
    return TRUE;
}

void AfxWinTerm() {
    AfxDeleteTempMaps();
}

int AfxWinMain(int argc, char** argv) {
    int nReturnCode = -1;
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !AfxWinInit(argc, argv)) {
        return nReturnCode;
    }
    if (pApp->InitApplication()) {
        if (!pApp->InitInstance()) {
            if (pApp->m_pMainWnd && pApp->m_pMainWnd->GetSafeHwnd()) {
                pApp->m_pMainWnd->DestroyWindow();
            }
            nReturnCode = pApp->ExitInstance();
        } else {
            nReturnCode = pApp->Run();
        }
    }
    AfxWinTerm();
    return nReturnCode;
}

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep) {
    rString.Empty();
    if (!lpszFullString) {
        return FALSE;
    }
    const TCHAR* p = lpszFullString;
    while (iSubString--) {
        while (*p && *p != chSep) {
            ++p;
        }
        if (!*p) {
            return FALSE;
        }
        ++p;
    }
    const TCHAR* end = p;
    while (*end && *end != chSep) {
        ++end;
    }
    rString = CString(p, static_cast<int>(end - p));
    return TRUE;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pPD) {
    pPD->m_pd.hDevMode = m_hDevMode;
    pPD->m_pd.hDevNames = m_hDevNames;
    const INT_PTR result = pPD->DoModal();
    // The dialog replaces (and frees) the blocks it was given when the user picks a printer.
    m_hDevMode = pPD->m_pd.hDevMode;
    m_hDevNames = pPD->m_pd.hDevNames;
    return result;
}
