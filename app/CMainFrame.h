// The program's frame window: the toolbar, the status bar with the receiver's panes (free text, antenna,
// receiver mode, the tick icon), the window class the single-instance check finds, and the title.
#pragma once

#include "appframe/CPersistentFrame.h"
#include "platform/framework/CToolBar.h"
#include "toolkit/SECCustomStatusBar.h"

// The frame's status bar, with readers for what a coloured pane shows.
class CMainStatusBar : public SECCustomStatusBar {
public:
    // FALSE when the pane has no colours of its own.
    BOOL GetPaneColours(int index, COLORREF& textColour, COLORREF& backColour) const;
    CString GetColouredPaneText(int index) const;
};

class CMainFrame : public CPersistentFrame {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void ActivateFrame(int nCmdShow = -1) override;

    // 0 "Ant OK", 1 "Ant OC Short", 2 "Ant Open", 3 "Ant No Pwr", anything else empty.
    void SetAntennaStatus(int state);
    // 0 "Navigating", 1 "Position Hold", 2 "Surveying", kReceiverLost "No Receiver", anything else empty.
    void SetReceiverModeStatus(int state);
    static constexpr int kReceiverLost = 9;
    void SetStatusText(LPCTSTR text);
    CString GetStatusText() const;
    // Appends the text unless the pane holds it already (then FALSE).
    BOOL AddStatusText(LPCTSTR text);
    // Removes the first occurrence; FALSE when the text is not there.
    BOOL RemoveStatusText(LPCTSTR text);
    void ShowTickIcon();
    void ClearTickIcon();
    // No icon at all: no receiver, so no ticks to come.
    void ShowNoTickIcon();
    // An empty text gives the frame class name, a blank and the version of string 121.
    void UpdateTitle(LPCTSTR text);

    // The state of the antenna and receiver-mode panes and how often they were redrawn.
    int GetAntennaState() const { return m_antennaState; }
    int GetReceiverModeState() const { return m_receiverModeState; }
    int GetPaneRedrawCount() const { return m_paneRedraws; }

    // What each coloured pane shows: its text, text colour and background.
    struct PaneLook {
        CString text;
        COLORREF textColour = 0;
        COLORREF backColour = 0;
    };
    static PaneLook AntennaLook(int state);
    static PaneLook ReceiverModeLook(int state);

    CMainStatusBar m_statusBar;
    CToolBar m_toolBar;
    HICON m_idleIcon = nullptr;
    HICON m_tickIcon = nullptr;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnHelpRequest();
    void OnUnusedCommand();
    void OnUpdateUnusedCommand(CCmdUI* pCmdUI);
    void OnUpdateUnusedChecked(CCmdUI* pCmdUI);

    void SetTickPaneIcon(HICON icon);
    // Shows a coloured pane and sizes it to its text.
    void ApplyPaneLook(UINT paneId, const PaneLook& look);
    int TextWidth(const CString& text);

    LPCTSTR m_registeredClass = nullptr;
    int m_placementApplied = 0;
    int m_antennaState = -1;
    int m_receiverModeState = -1;
    int m_paneRedraws = 0;
    CString m_statusText;

    DECLARE_MESSAGE_MAP()
};
