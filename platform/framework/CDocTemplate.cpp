#include "platform/framework/CDocTemplate.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CNewTypeDlg.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocManager* CDocManager::pStaticDocManager = nullptr;

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
    LoadTemplate();
}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty()) {
        m_strDocStrings.LoadString(m_nIDResource);
    }
}

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const {
    return AfxExtractSubString(rString, m_strDocStrings, static_cast<int>(index));
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->GetPathName().IsEmpty() && pDoc->GetPathName().CompareNoCase(lpszPathName) == 0) {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString filter;
    const CString path(lpszPathName);
    const int dot = path.ReverseFind(u'.');
    if (dot < 0 || dot < path.ReverseFind(u'/') || !GetDocString(filter, filterExt) || filter.IsEmpty()) {
        return yesAttemptForeign;
    }
    const CString extension = path.Mid(dot);
    for (int i = 0;; ++i) {
        CString one;
        if (!AfxExtractSubString(one, filter, i, u';')) {
            break;
        }
        one.Trim();
        if (one.Left(1) == u"*") {
            one = one.Mid(1);
        }
        if (!one.IsEmpty() && one.CompareNoCase(extension) == 0) {
            return yesAttemptNative;
        }
    }
    return yesAttemptForeign;
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
    pDoc->m_pDocTemplate = this;
}
void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    auto* pDocument = AfxCreateObjectOf<CDocument>(m_pDocClass);
    if (!pDocument) {
        return nullptr;
    }
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    return CreateFrameOf(m_pFrameClass, pDoc, pOther, m_pViewClass);
}

CFrameWnd* CDocTemplate::CreateFrameOf(CRuntimeClass* pFrameClass, CDocument* pDoc, CFrameWnd* pOther,
                                       CRuntimeClass* pViewClass) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = pViewClass;
    context.m_pNewDocTemplate = this;
    auto* pFrame = AfxCreateObjectOf<CFrameWnd>(pFrameClass);
    if (!pFrame) {
        return nullptr;
    }
    // A frame that fails to load has deleted itself.
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        return nullptr;
    }
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->SaveModified()) {
            return FALSE;
        }
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = GetNextDoc(pos);
        pDoc->OnCloseDocument();
    }
}

// ---- Single document

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    if (m_pOnlyDoc) {
        m_pOnlyDoc->m_pDocTemplate = nullptr;
        m_pOnlyDoc = nullptr;
    }
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc) {
        m_pOnlyDoc = nullptr;
    }
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
    return m_pOnlyDoc ? reinterpret_cast<POSITION>(static_cast<INT_PTR>(1)) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
    CDocument* pDoc = rPos ? m_pOnlyDoc : nullptr;
    rPos = nullptr;
    return pDoc;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty()) {
        if (!title.LoadString(AFX_IDS_UNTITLED)) {
            title = u"Untitled";
        }
    }
    pDocument->SetTitle(title);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = nullptr;
    CFrameWnd* pFrame = nullptr;
    BOOL bCreated = FALSE;
    if (m_pOnlyDoc) {
        pDocument = m_pOnlyDoc;
        if (!pDocument->SaveModified()) {
            return nullptr;
        }
        pFrame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    } else {
        pDocument = CreateNewDocument();
        if (!pDocument) {
            return nullptr;
        }
        bCreated = TRUE;
    }
    if (!pFrame) {
        // The document must survive the frame's failure to come up, so it is deleted here, not by the views.
        BOOL bAutoDelete = pDocument->m_bAutoDelete;
        pDocument->m_bAutoDelete = FALSE;
        pFrame = CreateNewFrame(pDocument, nullptr);
        pDocument->m_bAutoDelete = bAutoDelete;
        if (!pFrame) {
            if (bCreated) {
                delete pDocument;
            }
            return nullptr;
        }
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible) {
            pDocument->m_bEmbedded = TRUE;
        }
        if (!pDocument->OnNewDocument()) {
            if (bCreated) {
                pFrame->DestroyWindow();
            }
            return nullptr;
        }
    } else {
        BOOL bWasModified = pDocument->IsModified();
        pDocument->SetModifiedFlag(FALSE);
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            if (bCreated) {
                pFrame->DestroyWindow();
            } else if (!pDocument->IsModified()) {
                pDocument->SetModifiedFlag(bWasModified);
            } else {
                SetDefaultTitle(pDocument);
                pDocument->OnNewDocument();
            }
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }
    CWinThread* pThread = AfxGetThread();
    if (bCreated && pThread && !pThread->m_pMainWnd) {
        pThread->m_pMainWnd = pFrame;
    }
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

// ---- Manager

CDocManager::~CDocManager() {
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        delete static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
    }
    m_templateList.RemoveAll();
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
    if (!pTemplate) {
        return;
    }
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName) {
    if (!lpszFileName) {
        return nullptr;
    }
    CDocTemplate* pBest = nullptr;
    CDocument* pOpen = nullptr;
    CDocTemplate::Confidence best = CDocTemplate::noAttempt;
    for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CDocument* pMatch = nullptr;
        const CDocTemplate::Confidence match = pTemplate->MatchDocType(lpszFileName, pMatch);
        if (match > best) {
            best = match;
            pBest = pTemplate;
            pOpen = pMatch;
        }
        if (match == CDocTemplate::yesAlreadyOpen) {
            break;
        }
    }
    if (pOpen) {
        POSITION viewPos = pOpen->GetFirstViewPosition();
        if (viewPos) {
            CView* pView = pOpen->GetNextView(viewPos);
            if (CFrameWnd* pFrame = pView->GetParentFrame()) {
                pFrame->ActivateFrame();
            }
        }
        return pOpen;
    }
    return pBest ? pBest->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL CDocManager::SaveAllModified() {
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) {
        if (!GetNextDocTemplate(pos)->SaveAllModified()) {
            return FALSE;
        }
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) {
        GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
    }
}

int CDocManager::GetOpenDocumentCount() {
    int count = 0;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        POSITION docPos = pTemplate->GetFirstDocPosition();
        while (docPos) {
            pTemplate->GetNextDoc(docPos);
            ++count;
        }
    }
    return count;
}

void CDocManager::OnFileNew() {
    if (m_templateList.IsEmpty()) {
        return;
    }
    CDocTemplate* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetHead());
    if (m_templateList.GetCount() > 1) {
        // Templates without a new-file name make documents only from files.
        CPtrList offered;
        for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
            CDocTemplate* t = GetNextDocTemplate(pos);
            CString name;
            if (t->GetDocString(name, CDocTemplate::fileNewName) && !name.IsEmpty()) {
                offered.AddTail(t);
            }
        }
        if (offered.IsEmpty()) {
            return;
        }
        pTemplate = offered.GetCount() == 1 ? static_cast<CDocTemplate*>(offered.GetHead()) : ChooseNewTemplate(offered);
    }
    if (pTemplate) {
        pTemplate->OpenDocumentFile(nullptr);
    }
}

CDocTemplate* CDocManager::ChooseNewTemplate(CPtrList& offered) {
    CNewTypeDlg dialog(&offered, AfxGetMainWnd());
    return dialog.DoModal() == IDOK ? dialog.m_pSelectedTemplate : nullptr;
}

void CDocManager::OnFileOpen() {
    CString name;
    if (!DoPromptFileName(name, 0, 0, TRUE, nullptr)) {
        return;
    }
    OpenDocumentFile(name);
}

namespace {

// "Name|*.a;*.b|" for a template with a filter name and extensions (".a" or "*.a;*.b"); its first
// extension, without the dot, becomes the default one when none is set yet.
void AppendFilterSuffix(CString& filter, CDocTemplate* pTemplate, CString& defaultExt) {
    CString name;
    CString extensions;
    if (!pTemplate->GetDocString(name, CDocTemplate::filterName) || name.IsEmpty() ||
        !pTemplate->GetDocString(extensions, CDocTemplate::filterExt) || extensions.IsEmpty()) {
        return;
    }
    CString patterns;
    for (int i = 0;; ++i) {
        CString one;
        if (!AfxExtractSubString(one, extensions, i, u';')) {
            break;
        }
        one.Trim();
        one.TrimLeft(u'*');
        if (one.IsEmpty()) {
            continue;
        }
        if (defaultExt.IsEmpty()) {
            defaultExt = one.Mid(1);
        }
        patterns += (patterns.IsEmpty() ? u"*" : u";*") + one;
    }
    if (!patterns.IsEmpty()) {
        filter += name + u"|" + patterns + u"|";
    }
}

} // namespace

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate) {
    // One template's type when saving a document of it; every template's when opening.
    CString filter;
    CString defaultExt;
    if (pTemplate) {
        AppendFilterSuffix(filter, pTemplate, defaultExt);
    } else {
        for (POSITION pos = GetFirstDocTemplatePosition(); pos;) {
            AppendFilterSuffix(filter, GetNextDocTemplate(pos), defaultExt);
        }
    }
    filter += u"All Files (*.*)|*.*||";
    const DWORD flags =
        lFlags | OFN_HIDEREADONLY | (bOpenFileDialog ? OFN_FILEMUSTEXIST : static_cast<DWORD>(OFN_OVERWRITEPROMPT));
    CFileDialog dialog(bOpenFileDialog, defaultExt.IsEmpty() ? nullptr : static_cast<LPCTSTR>(defaultExt), fileName,
                       flags, filter, AfxGetMainWnd());
    CString title;
    if (nIDSTitle && title.LoadString(nIDSTitle)) {
        dialog.m_ofn.lpstrTitle = title;
    }
    if (dialog.DoModal() != IDOK) {
        return FALSE;
    }
    fileName = dialog.GetPathName();
    return TRUE;
}
