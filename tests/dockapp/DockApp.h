// The docking test application: a frame with a document view, a menu bar and two custom toolbars above two
// sizing bars sharing the top row, and a dialog bar docked at the bottom. The toolbars' buttons and the bar
// layout are saved in the profile when the frame closes and read back when it opens.
// (Saved on WM_CLOSE: DestroyWindow alone leaves the saved layout as it was.) It runs as a program of its own
// (doliva-dock-app) and inside the tests.
#pragma once

#include "toolkit/SECControlBar.h"
#include "toolkit/SECDialogBar.h"
#include "toolkit/SECFrameWnd.h"
#include "toolkit/SECMenuBar.h"
#include "toolkit/SECMenuBarFeature.h"
#include "toolkit/SECToolBarListDialog.h"
#include "toolkit/SECToolBarManager.h"

#include "DockAppCustomize.h"

#include <memory>

namespace dockapp {

constexpr UINT ID_BAR_SATELLITES = 0xE830;
constexpr UINT ID_BAR_LOG = 0xE831;
constexpr UINT ID_BAR_CONTROLS = 0xE832;
constexpr UINT ID_BAR_STANDARD = 0xE800;
// Not 0xE801: the frame writes its prompts into the bar with the status bar's id.
constexpr UINT ID_BAR_RECEIVER = 0xE806;
constexpr const char16_t* kLayoutName = u"DockApp Layout";
constexpr const char16_t* kToolBarsName = u"DockApp";
constexpr UINT ID_DOCK_MENU = 1;

// A sizing bar that shows a coloured panel with its name.
class PanelBar : public SECControlBar {
public:
    explicit PanelBar(COLORREF colour) : m_colour(colour) {}
    void DoPaint(CDC* pDC) override;

    COLORREF m_colour;
};

// The image strip (kept in `images` until the frame goes) and the two default toolbars, Standard and
// Receiver, made by `manager` on its frame; FALSE when one cannot be made.
BOOL CreateDockToolBars(SECToolBarManager& manager, HBITMAP& images);
// Above the panels, each put first: the toolbars sharing a row below the one that `first` (the menu bar) gets
// alone; without `first`, the toolbars' row is the first.
void DockToolBarsOnTop(CFrameWnd* frame, SECToolBarManager& manager, CControlBar* first = nullptr);

// The two panels, Satellites and Log, and the controls dialog bar, made on `frame` and allowed to dock.
BOOL CreatePanelsAndControls(CFrameWnd* frame, PanelBar& satellites, PanelBar& log, SECDialogBar& controls);

class DocumentView : public CWnd {
protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class DockAppFrame : public SECFrameWnd {
public:
    DockAppFrame();

    // The first layout: the menu bar above the toolbars, Satellites and Log sharing the next row 4:6, the
    // controls at the bottom.
    void DefaultLayout();

    // Opens the toolbar list dialog (modeless, so that buttons can be dragged while it is open).
    void OnCustomizeToolBars();
    // Opens the customisation sheet (modeless too).
    void OnCustomizeSheet();

    DocumentView m_view;
    PanelBar m_satellites{RGB(222, 236, 250)};
    PanelBar m_log{RGB(236, 246, 226)};
    SECDialogBar m_controls;
    std::unique_ptr<SECToolBarManager> m_pManager;
    SECMenuBar* m_pMenuBar = nullptr; // deletes itself with its window
    std::unique_ptr<SECMenuBarFeature> m_pMenuFeature;
    std::unique_ptr<SECToolBarListDialog> m_pCustomize;
    CustomizeSheetHolder m_sheet;
    HMENU m_hMenu = nullptr;
    HBITMAP m_hImages = nullptr;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // The bars and their layout: the saved one when there is a sound one, else the default.
    int OnCreate(LPCREATESTRUCT lpcs);
    BOOL CreateMenuAndToolBars();
    // Ends customise mode when the toolbar list is up, and destroys it.
    void CloseToolBarList();
    void OnClose();
    void OnDestroy();
    void OnExit();
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    // The toolbars' commands do nothing here, but have a handler so that their buttons stay enabled.
    void OnToolCommand(UINT) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    DECLARE_MESSAGE_MAP()
};

// Creates and shows the frame (top left at `origin`); null when it cannot be created.
DockAppFrame* OpenDockAppFrame(CPoint origin = CPoint(40, 40));

} // namespace dockapp
