// The documents of the multiple-document docking application: a text with a view that shows it, made by
// the application's toolkit document template, so that each view can live in an MDI child, a docked bar or
// a floating window and move between them.
#pragma once

#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "toolkit/SECMultiDocTemplate.h"

namespace dockapp {

class NoteDocument : public CDocument {
    DECLARE_DYNCREATE(NoteDocument)

public:
    CString m_text;
};

// The document's title and text on white.
class NoteView : public CView {
    DECLARE_DYNCREATE(NoteView)

public:
    NoteDocument* GetNote() const { return dynamic_cast<NoteDocument*>(GetDocument()); }
    void OnDraw(CDC* pDC) override;
};

// The application's template for the documents, added to it the first time it is asked for.
SECMultiDocTemplate* DocumentTemplate();

} // namespace dockapp
