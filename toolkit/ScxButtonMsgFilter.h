// The window-mode caption button: a click applies the default window mode, a right click or a press held
// for its hold period shows the mode menu below it. Its variants sit on a document window's caption and, for
// a maximised document window, in the main window's menu row. Also the right double click on that menu row.
#pragma once

#include "toolkit/SECCaptionControlMsgFilter.h"

class CMDIChildWnd;

namespace nsSysCommandEx {

constexpr int kModeButtonId = 5120;
constexpr int kModeButtonHold = 400; // ms

class ScxButtonMsgFilter : public SECCaptionControlMsgFilter {
    DECLARE_DYNCREATE(ScxButtonMsgFilter)

public:
    ScxButtonMsgFilter() : ScxButtonMsgFilter(nullptr, kModeButtonId) {}
    ScxButtonMsgFilter(CFrameWnd* pFrame, int nID)
        : SECCaptionControlMsgFilter(pFrame, nID, 3, 2, kModeButtonHold) {}
    SECMsgFilter* Clone() const override { return new ScxButtonMsgFilter(*this); }

    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void DrawCaptionButton() override;
    BOOL IsButtonApplicable(BOOL& bInactive) const override;
    void SendButtonCommand(int nCode, CPoint ptScreen) override;

protected:
    // The window the commands go to.
    virtual CWnd* GetCommandWnd() const;
};

// On a document window's caption; it rests while the window is maximised.
class ScxButtonMDIChildMsgFilter : public ScxButtonMsgFilter {
    DECLARE_DYNCREATE(ScxButtonMDIChildMsgFilter)

public:
    using ScxButtonMsgFilter::ScxButtonMsgFilter;
    SECMsgFilter* Clone() const override { return new ScxButtonMDIChildMsgFilter(*this); }

    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL IsButtonApplicable(BOOL& bInactive) const override;
};

// In the MDI frame's menu row for its maximised document window, while that window offers the button.
class ScxButtonMDIMaxChildMsgFilter : public ScxButtonMsgFilter {
    DECLARE_DYNCREATE(ScxButtonMDIMaxChildMsgFilter)

public:
    ScxButtonMDIMaxChildMsgFilter() : ScxButtonMDIMaxChildMsgFilter(nullptr, kModeButtonId) {}
    ScxButtonMDIMaxChildMsgFilter(CFrameWnd* pFrame, int nID) : ScxButtonMsgFilter(pFrame, nID) {
        m_nHitCode = HTMENU;
    }
    SECMsgFilter* Clone() const override { return new ScxButtonMDIMaxChildMsgFilter(*this); }

    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL IsButtonApplicable(BOOL& bInactive) const override;
    // The maximised toolkit document window whose mode button is on, or null.
    virtual CMDIChildWnd* GetMaximizedChild() const;

protected:
    CWnd* GetCommandWnd() const override;
};

// A right double click on the menu row of an MDI frame with a maximised document window: that window's
// default mode.
class ScxNCRDBLClkMDIMaxChildMsgFilter : public SECNcMsgFilter {
    DECLARE_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter)

public:
    using SECNcMsgFilter::SECNcMsgFilter;
    SECMsgFilter* Clone() const override { return new ScxNCRDBLClkMDIMaxChildMsgFilter(*this); }
    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// The glyph and frame of the mode button in `rect`: two chevrons, up above down, on a raised (or pushed)
// button face. The dockable frames' smaller caption moves the chevrons.
void DrawModeButton(HDC hDC, const RECT& rect, BOOL bPushed, BOOL bDockableFrame);

} // namespace nsSysCommandEx
