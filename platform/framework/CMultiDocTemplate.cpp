#include "platform/framework/CMultiDocTemplate.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/FrameworkResources.h"

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents still open outlive their template (the manager deletes templates at the end); they must
    // not reach back into it.
    POSITION pos = m_docList.GetHeadPosition();
    while (pos) {
        static_cast<CDocument*>(m_docList.GetNext(pos))->m_pDocTemplate = nullptr;
    }
    m_docList.RemoveAll();
    if (m_hMenuShared) {
        ::DestroyMenu(m_hMenuShared);
    }
}

void CMultiDocTemplate::LoadTemplate() {
    CDocTemplate::LoadTemplate();
    if (!m_hMenuShared) {
        m_hMenuShared = AfxGetResourceProvider().LoadMenu(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDResource));
    }
    if (!m_hAccelTable) {
        m_hAccelTable =
            AfxGetResourceProvider().LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCEW(m_nIDResource));
    }
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    if (POSITION pos = m_docList.Find(pDoc)) {
        m_docList.RemoveAt(pos);
    }
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const {
    return m_docList.GetHeadPosition();
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const {
    return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString title;
    if (GetDocString(title, docName) && !title.IsEmpty()) {
        title.AppendFormat(u"%u", m_nUntitledCount + 1);
    } else if (!title.LoadString(AFX_IDS_UNTITLED)) {
        title = u"Untitled";
    }
    pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = CreateNewDocument();
    if (!pDocument) {
        return nullptr;
    }
    // The document is deleted here on failure, whether or not a view came to hold it.
    const BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    auto fail = [&]() -> CDocument* {
        if (pFrame) {
            pFrame->DestroyWindow();
        }
        delete pDocument;
        return nullptr;
    };
    if (!pFrame) {
        return fail();
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!bMakeVisible) {
            pDocument->m_bEmbedded = TRUE;
        }
        if (!pDocument->OnNewDocument()) {
            return fail();
        }
        ++m_nUntitledCount;
    } else {
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            return fail();
        }
        pDocument->SetPathName(lpszPathName);
    }
    pDocument->m_bAutoDelete = bAutoDelete;
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}
