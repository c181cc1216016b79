// Document templates: which document, frame and view classes belong together and how a new document is
// brought up (document first, then its frame, whose creation creates the view), and the document manager
// over all templates.
#pragma once

#include "platform/base/CLists.h"
#include "platform/framework/CCmdTarget.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)

public:
    ~CDocTemplate() override;

    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;

    // How well a file suits this template, the best first being yesAlreadyOpen (rpDocMatch then is the
    // document that has it open).
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };
    // Already open here; the extension among the filter's ("*.txt;*.log"); else foreign.
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);
    virtual void LoadTemplate();

    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;

    virtual CDocument* CreateNewDocument();
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;

protected:
    // A frame of `pFrameClass` loaded from the template's resource for the document, with a view of
    // `pViewClass` (none when null); null when it cannot be made.
    CFrameWnd* CreateFrameOf(CRuntimeClass* pFrameClass, CDocument* pDoc, CFrameWnd* pOther,
                             CRuntimeClass* pViewClass);
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
};

class CSingleDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CSingleDocTemplate)

public:
    CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                       CRuntimeClass* pViewClass);
    ~CSingleDocTemplate() override;

    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    // The one document is reused: its frame stays, its contents are replaced.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

    CDocument* m_pOnlyDoc = nullptr;
};

class CDocManager : public CObject {
public:
    CDocManager() = default;
    ~CDocManager() override;

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const {
        return static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
    }
    // The document already open under that name is activated; otherwise the template that suits the file
    // best opens it.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();
    // A new document from the only template, else from the one the user picks among those with a new-file
    // name.
    virtual void OnFileNew();
    // The user's pick, in the "New" dialog, among several templates that offer a new document; null when
    // cancelled.
    virtual CDocTemplate* ChooseNewTemplate(CPtrList& offered);
    virtual void OnFileOpen();
    // Asks the user for a file name in the file dialog, offering the types of `pTemplate` or, without one,
    // of every template, then all files; FALSE when cancelled.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);

    // Templates added before the application exists wait here.
    static CDocManager* pStaticDocManager;

protected:
    CPtrList m_templateList;
};
