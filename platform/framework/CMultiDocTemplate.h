// The template of a multiple-document program: every new or opened document gets a document frame of its own
// (normally an MDI child) with its view. The frames share the template's menu and accelerators, and a new
// document is titled with the template's document name and a running number.
#pragma once

#include "platform/framework/CDocTemplate.h"

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)

public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    // The document strings, and the menu and accelerators of the resource for the frames.
    void LoadTemplate() override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    // A new document in a new frame; null, with nothing left behind, when any step fails.
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    // The document name with the next number ("Sky1", "Sky2"...), or "Untitled" without a document name.
    void SetDefaultTitle(CDocument* pDocument) override;

    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;
    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
};
