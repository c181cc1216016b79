#include "DockAppDocuments.h"

#include "DockAppIds.h"
#include "DockAppMdi.h"

#include "platform/framework/CWinApp.h"

namespace dockapp {

IMPLEMENT_DYNCREATE(NoteDocument, CDocument)
IMPLEMENT_DYNCREATE(NoteView, CView)

void NoteView::OnDraw(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    rect.DeflateRect(10, 10);
    NoteDocument* note = GetNote();
    const CString text = note ? note->GetTitle() + u"\n" + note->m_text : CString(u"Document");
    pDC->DrawText(text, &rect, DT_LEFT | DT_TOP | DT_WORDBREAK);
}

SECMultiDocTemplate* DocumentTemplate() {
    CWinApp* app = AfxGetApp();
    if (!app) {
        return nullptr;
    }
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
        auto* found = dynamic_cast<SECMultiDocTemplate*>(app->GetNextDocTemplate(pos));
        if (found && found->m_nIDResource == ID_DOCK_DOCUMENT) {
            return found;
        }
    }
    auto* pTemplate = new SECMultiDocTemplate(ID_DOCK_DOCUMENT, RUNTIME_CLASS(NoteDocument),
                                              RUNTIME_CLASS(DocumentFrame), RUNTIME_CLASS(NoteView));
    app->AddDocTemplate(pTemplate);
    return pTemplate;
}

} // namespace dockapp
