#include "DockAppMdi.h"

#include "DockAppIds.h"

#include "toolkit/SECWorkbookClient.h"

#include <algorithm>

namespace dockapp {

BOOL DocumentFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext*) {
    LPCTSTR cls = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    return m_view.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
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
    m_pManager = std::make_unique<SECToolBarManager>(this);
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
    auto* document = new DocumentFrame;
    if (!document->LoadFrame(ID_DOCK_DOCUMENT, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, this)) {
        return nullptr; // a child that fails to be created has deleted itself
    }
    document->SetTitle(title);
    document->OnUpdateFrameTitle(TRUE);
    document->m_pApp = this;
    m_documents.push_back(document);
    return document;
}

void DockAppMdiFrame::OnClose() {
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
    auto* frame = new DockAppMdiFrame;
    if (!frame->Create(nullptr, u"Docking MDI", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                       CRect(origin, CSize(760, 520)))) {
        return nullptr;
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
