#include "platform/framework/CDocument.h"

#include "platform/base/CFile.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
    // Views still pointing here must not reach back into a dead document.
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        GetNextView(pos)->m_pDocument = nullptr;
    }
    m_viewList.RemoveAll();
    if (m_pDocTemplate) {
        m_pDocTemplate->RemoveDocument(this);
    }
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
    m_strPathName = lpszPathName;
    CString title = m_strPathName.Mid(m_strPathName.ReverseFind(u'/') + 1);
    SetTitle(title);
    if (bAddToMRU) {
        if (CWinApp* pApp = AfxGetApp()) {
            pApp->AddToRecentFileList(m_strPathName);
        }
    }
}

void CDocument::AddView(CView* pView) {
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    POSITION pos = m_viewList.Find(pView);
    if (pos) {
        m_viewList.RemoveAt(pos);
    }
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList() {
    if (m_bAutoDelete && m_viewList.IsEmpty()) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && pView->IsWindowVisible()) {
            bool seen = false;
            for (CFrameWnd* f : frames) {
                seen = seen || f == pFrame;
            }
            if (!seen) {
                frames.push_back(pFrame);
            }
        }
    }
    int count = static_cast<int>(frames.size());
    for (int i = 0; i < count; ++i) {
        frames[static_cast<size_t>(i)]->m_nWindow = count > 1 ? i + 1 : 0;
        frames[static_cast<size_t>(i)]->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        if (pView != pSender) {
            pView->OnUpdate(pSender, lHint, pHint);
        }
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    auto* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return nullptr;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort) {
    if (bAbort) {
        pFile->Abort();
    } else {
        pFile->Close();
    }
    delete pFile;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (!pFile) {
        ReportSaveLoadException(lpszPathName, &fe, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE); // dirty while loading
    try {
        CArchive loadArchive(pFile, CArchive::load | CArchive::bNoFlushOnDelete);
        loadArchive.m_pDocument = this;
        Serialize(loadArchive);
        loadArchive.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        ReleaseFile(pFile, TRUE);
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    CFileException fe;
    CFile* pFile =
        GetFile(lpszPathName, CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive, &fe);
    if (!pFile) {
        ReportSaveLoadException(lpszPathName, &fe, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    try {
        CArchive saveArchive(pFile, CArchive::store | CArchive::bNoFlushOnDelete);
        saveArchive.m_pDocument = this;
        Serialize(saveArchive);
        saveArchive.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        ReleaseFile(pFile, TRUE);
        ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL, UINT nIDPDefault) {
    if (e && e->IsKindOf(RUNTIME_CLASS(CUserException))) {
        return; // already reported
    }
    if (e && (e->IsKindOf(RUNTIME_CLASS(CFileException)) || e->IsKindOf(RUNTIME_CLASS(CArchiveException)))) {
        e->ReportError(MB_ICONEXCLAMATION | MB_OK, nIDPDefault);
        return;
    }
    CString text;
    if (!text.LoadString(nIDPDefault)) {
        text = nIDPDefault == AFX_IDP_FAILED_TO_SAVE_DOC ? u"Failed to save document."
                                                         : u"Failed to open document.";
    }
    if (lpszPathName && *lpszPathName) {
        text = CString(lpszPathName) + u"\n" + text;
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION | MB_OK, nIDPDefault);
}

void CDocument::OnCloseDocument() {
    // Destroying the frames destroys the views, which leave the list; keep the document alive meanwhile.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        auto* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else {
            pView->DestroyWindow();
        }
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView) {
            m_viewList.RemoveHead(); // a view that outlived its window
            pView->m_pDocument = nullptr;
        }
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete) {
        delete this;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg) {
    // Another frame still showing the document lets this one go without asking.
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && pFrame != pFrameArg) {
            return TRUE;
        }
    }
    return SaveModified();
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) {
        return TRUE;
    }
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    if (name.IsEmpty()) {
        name = u"Untitled";
    }
    CString prompt;
    CString format;
    if (format.LoadString(AFX_IDP_ASK_TO_SAVE)) {
        AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, name);
    } else {
        prompt = u"Save changes to " + name + u"?";
    }
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave() {
    return DoSave(m_strPathName.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_strPathName));
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    CString newName = lpszPathName ? lpszPathName : u"";
    if (newName.IsEmpty()) {
        newName = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        CWinApp* pApp = AfxGetApp();
        if (!pApp || !pApp->m_pDocManager ||
            !pApp->m_pDocManager->DoPromptFileName(newName, 0, 0, FALSE, m_pDocTemplate)) {
            return FALSE;
        }
    }
    if (!OnSaveDocument(newName)) {
        return FALSE;
    }
    if (bReplace) {
        SetPathName(newName);
    }
    return TRUE;
}

void CDocument::OnFileClose() {
    if (!SaveModified()) {
        return;
    }
    OnCloseDocument();
}

void CDocument::OnFileSave() {
    DoFileSave();
}
void CDocument::OnFileSaveAs() {
    DoSave(nullptr);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
