// The docking test application as a multiple-document program: an MDI frame holding three document windows,
// with its menu bar alone in the first row (the frame's menu or the active document's, a maximised
// document's buttons at its ends), the two sizing panels sharing the next row and the dialog bar docked at
// the bottom. The documents and the properties pane carry the window-mode caption button. Bars can float in
// frames of their own or inside the main window; the bar layout is saved in the profile when the frame closes
// and read back when it opens. As a workbook, a tab per document below the documents' area.
#pragma once

#include "DockApp.h"
#include "DockAppProperties.h"

#include "toolkit/SECWorkbook.h"
#include "toolkit/SECWorksheet.h"

#include <vector>

namespace dockapp {

constexpr const char16_t* kMdiLayoutName = u"DockApp MDI Layout";
constexpr const char16_t* kMdiToolBarsName = u"DockApp MDI";

class DockAppMdiFrame;

// A document's MDI child window, made by the documents' template with the view filling its client area. It
// is listed in the main window's documents while it lives.
class DocumentFrame : public SECWorksheet {
    DECLARE_DYNCREATE(DocumentFrame)

public:
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    DockAppMdiFrame* m_pApp = nullptr; // forgets the window when it goes

protected:
    void PostNcDestroy() override;
};

// As a workbook it shows a tab per document below the MDI client.
class DockAppMdiFrame : public SECWorkbook {
public:
    // Tabs below the client, with the client's margins leaving room for them.
    void ShowAsWorkbook();
    // The first layout: Satellites and Log sharing the top row 4:6, the controls at the bottom, the
    // properties pane on the right.
    void DefaultLayout();
    // A new document titled `title` in a window of its own at the client's next place; null when it cannot
    // be made.
    DocumentFrame* OpenDocument(const char16_t* title);

    PanelBar m_satellites{RGB(222, 236, 250)};
    PanelBar m_log{RGB(236, 246, 226)};
    SECDialogBar m_controls;
    SECDockableFrame* m_pProperties = nullptr; // deletes itself with its window
    std::vector<DocumentFrame*> m_documents; // the documents' MDI children; each deletes itself with its window
    std::unique_ptr<SECToolBarManager> m_pManager;
    HBITMAP m_hImages = nullptr;
    CustomizeSheetHolder m_sheet;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();
    void OnDestroy();
    void OnCustomizeSheet();
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    // As in the SDI frame: no effect, but enabled buttons.
    void OnToolCommand(UINT) {}
    DECLARE_MESSAGE_MAP()
};

// Creates and shows the frame, the application's main window, with three documents (top left at `origin`), as a workbook when asked; null
// when it cannot be created.
DockAppMdiFrame* OpenDockAppMdiFrame(CPoint origin = CPoint(40, 40), bool workbook = false);

} // namespace dockapp
