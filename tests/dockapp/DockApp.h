// The docking test application: a frame with a document view, two sizing bars sharing the top row and a
// dialog bar docked at the bottom, whose layout is saved in the profile when the frame closes and read back
// when it opens.
// (Saved on WM_CLOSE: DestroyWindow alone leaves the saved layout as it was.) It runs as a program of its own
// (doliva-dock-app) and inside the tests.
#pragma once

#include "toolkit/SECControlBar.h"
#include "toolkit/SECDialogBar.h"
#include "toolkit/SECFrameWnd.h"

namespace dockapp {

constexpr UINT ID_BAR_SATELLITES = 0xE830;
constexpr UINT ID_BAR_LOG = 0xE831;
constexpr UINT ID_BAR_CONTROLS = 0xE832;
constexpr const char16_t* kLayoutName = u"DockApp Layout";

// A sizing bar that shows a coloured panel with its name.
class PanelBar : public SECControlBar {
public:
    explicit PanelBar(COLORREF colour) : m_colour(colour) {}
    void DoPaint(CDC* pDC) override;

    COLORREF m_colour;
};

class DocumentView : public CWnd {
protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class DockAppFrame : public SECFrameWnd {
public:
    DockAppFrame();

    // The first layout: Satellites and Log share the top row 4:6, the controls at the bottom.
    void DefaultLayout();

    DocumentView m_view;
    PanelBar m_satellites{RGB(222, 236, 250)};
    PanelBar m_log{RGB(236, 246, 226)};
    SECDialogBar m_controls;

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    // The bars and their layout: the saved one when there is a sound one, else the default.
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnClose();
    DECLARE_MESSAGE_MAP()
};

// Creates and shows the frame (top left at `origin`); null when it cannot be created.
DockAppFrame* OpenDockAppFrame(CPoint origin = CPoint(40, 40));

} // namespace dockapp
