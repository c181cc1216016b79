#include "DockAppMdi.h"

#include "DockAppDocuments.h"
#include "DockAppIds.h"
#include "DockAppMdiMenus.h"

#include "platform/framework/CWinApp.h"
#include "toolkit/SECMDIMenuBar.h"
#include "toolkit/SECWorkbookClient.h"

#include <algorithm>

namespace dockapp {

IMPLEMENT_DYNCREATE(DocumentFrame, SECWorksheet)

BOOL DocumentFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    if (!SECWorksheet::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) {
        return FALSE;
    }
    m_pApp = dynamic_cast<DockAppMdiFrame*>(GetMDIFrame());
    if (m_pApp) {
        m_pApp->m_documents.push_back(this);
    }
    return TRUE;
}

void DocumentFrame::PostNcDestroy() {
    if (m_pApp) {
        std::erase(m_pApp->m_documents, this);
    }
    SECWorksheet::PostNcDestroy();
}

BEGIN_MESSAGE_MAP(DockAppMdiFrame, SECWorkbook)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_CONTEXTMENU()
ON_COMMAND(ID_DOCK_CUSTOMIZE_SHEET, OnCustomizeSheet)
ON_COMMAND_RANGE(ID_DOCK_NEW, ID_DOCK_LOG, OnToolCommand)
END_MESSAGE_MAP()

int DockAppMdiFrame::OnCreate(LPCREATESTRUCT lpcs) {
    if (SECWorkbook::OnCreate(lpcs) == -1) {
        return -1;
    }
    EnableDocking(CBRS_ALIGN_ANY);
    SetFrameMenu(kMdiFrameMenuId, MakeMdiFrameMenu());
    AddMenuForId(ID_DOCK_DOCUMENT, MakeMdiDocumentMenu());
    m_pManager = std::make_unique<SECToolBarManager>(this);
    SetToolBarManager(m_pManager.get());
    if (!CreateDockToolBars(*m_pManager, m_hImages)) {
        return -1;
    }
    if (!CreatePanelsAndControls(this, m_satellites, m_log, m_controls)) {
        return -1;
    }
    m_pProperties = CreatePropertiesFrame(this);
    if (!m_pProperties) {
        return -1;
    }
    m_pProperties->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    DefaultLayout();
    // The toolbars' buttons first: the bar layout then shows, hides and places the bars they are on.
    m_pManager->LoadToolBars(kMdiToolBarsName);
    LoadBarLayout(kMdiLayoutName);
    return 0;
}

void DockAppMdiFrame::DefaultLayout() {
    DockControlBarAtRowColEx(&m_satellites, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.4f, 110);
    DockControlBarAtRowColEx(&m_log, AFX_IDW_DOCKBAR_TOP, 0, 1, 0.6f, 110);
    DockControlBar(&m_controls, AFX_IDW_DOCKBAR_BOTTOM);
    DockPropertiesFrame(this, m_pProperties);
    DockToolBarsOnTop(this, *m_pManager);
    // A new first row above the panels: the menu bar alone in it.
    DockControlBarEx(GetMenuBar(), {-2, 0, 0}, AFX_IDW_DOCKBAR_TOP);
}

void DockAppMdiFrame::ShowAsWorkbook() {
    m_bTabsShown = TRUE;
    if (SECWorkbookClient* client = GetClient()) {
        client->SetMargins(6, 6, 6, m_nTabHeight + 12);
    }
    RecalcLayout();
    Invalidate();
}

DocumentFrame* DockAppMdiFrame::OpenDocument(const char16_t* title) {
    SECMultiDocTemplate* pTemplate = DocumentTemplate();
    auto* note = pTemplate ? dynamic_cast<NoteDocument*>(pTemplate->OpenDocumentFile(nullptr)) : nullptr;
    POSITION pos = note ? note->GetFirstViewPosition() : nullptr;
    auto* frame = pos ? dynamic_cast<DocumentFrame*>(note->GetNextView(pos)->GetParentFrame()) : nullptr;
    if (!frame) {
        return nullptr; // a document without its window has gone with it
    }
    note->SetTitle(title);
    note->m_text = CString(title) + u" notes, kept by the document wherever its view goes.";
    frame->OnUpdateFrameTitle(TRUE);
    // The window-mode button and the caption's commands, as the template offers them.
    frame->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    return frame;
}

void DockAppMdiFrame::OnClose() {
    // The documents' docked bars go first: a saved layout cannot bring back the documents they held.
    if (SECMultiDocTemplate* pTemplate = DocumentTemplate()) {
        pTemplate->CloseAllDocuments(FALSE);
    }
    // While the floating frames are still there to be measured.
    m_sheet.Close();
    m_pManager->SaveToolBars(kMdiToolBarsName);
    SaveBarLayout(kMdiLayoutName);
    SECWorkbook::OnClose();
}

void DockAppMdiFrame::OnDestroy() {
    m_sheet.Close();
    // The manager lets go of its bars before the frame takes them down.
    m_pManager.reset();
    SECWorkbook::OnDestroy();
    ::DeleteObject(m_hImages);
    m_hImages = nullptr;
}

void DockAppMdiFrame::OnCustomizeSheet() {
    m_sheet.Open(m_pManager.get());
}

void DockAppMdiFrame::OnContextMenu(CWnd* pWnd, CPoint pos) {
    if (!TrackBarMenu(this, pWnd, pos)) {
        SECWorkbook::OnContextMenu(pWnd, pos);
    }
}

DockAppMdiFrame* OpenDockAppMdiFrame(CPoint origin, bool workbook) {
    // Registered before the frame is made: a docking-aware MDI frame offers the window modes when it
    // finds such a template.
    DocumentTemplate();
    auto* frame = new DockAppMdiFrame;
    frame->SetMenuBarMode(TRUE);
    if (!frame->Create(nullptr, u"Docking MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                       CRect(origin, CSize(760, 520)))) {
        return nullptr;
    }
    // The documents' template finds the frame as the application's main window.
    if (CWinApp* app = AfxGetApp()) {
        app->m_pMainWnd = frame;
    }
    frame->ShowWindow(SW_SHOW);
    if (workbook) {
        frame->ShowAsWorkbook();
    }
    frame->RecalcLayout();
    for (const char16_t* title : {u"Survey", u"Sky", u"Log file"}) {
        if (!frame->OpenDocument(title)) {
            frame->DestroyWindow();
            return nullptr;
        }
    }
    return frame;
}

} // namespace dockapp
