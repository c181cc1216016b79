#include "platform/framework/CDocTemplate.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
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

void CDocTemplate::AddDocument(CDocument* pDoc) {
    pDoc->m_pDocTemplate = this;
}
void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass) {
        return nullptr;
    }
    CObject* object = m_pDocClass->CreateObject();
    auto* pDocument = dynamic_cast<CDocument*>(object);
    if (!pDocument) {
        delete object;
        return nullptr;
    }
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!m_pFrameClass) {
        return nullptr;
    }
    CObject* object = m_pFrameClass->CreateObject();
    auto* pFrame = dynamic_cast<CFrameWnd*>(object);
    if (!pFrame) {
        delete object;
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
    // A document already open under that name is activated instead of read again.
    POSITION pos = GetFirstDocTemplatePosition();
    CDocTemplate* pFirst = nullptr;
    while (pos) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        if (!pFirst) {
            pFirst = pTemplate;
        }
        POSITION docPos = pTemplate->GetFirstDocPosition();
        while (docPos) {
            CDocument* pDoc = pTemplate->GetNextDoc(docPos);
            if (lpszFileName && pDoc->GetPathName().CompareNoCase(lpszFileName) == 0) {
                POSITION viewPos = pDoc->GetFirstViewPosition();
                if (viewPos) {
                    CView* pView = pDoc->GetNextView(viewPos);
                    if (CFrameWnd* pFrame = pView->GetParentFrame()) {
                        pFrame->ActivateFrame();
                    }
                }
                return pDoc;
            }
        }
    }
    return pFirst ? pFirst->OpenDocumentFile(lpszFileName) : nullptr;
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
    // With several templates the user would choose; the first one stands for that choice.
    POSITION pos = GetFirstDocTemplatePosition();
    if (pos) {
        GetNextDocTemplate(pos)->OpenDocumentFile(nullptr);
    }
}

void CDocManager::OnFileOpen() {
    CString name;
    if (!DoPromptFileName(name, 0, 0, TRUE, nullptr)) {
        return;
    }
    OpenDocumentFile(name);
}

BOOL CDocManager::DoPromptFileName(CString&, UINT, DWORD, BOOL, CDocTemplate*) {
    return FALSE;
}
