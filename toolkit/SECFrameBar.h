// A dockable bar whose content is a frame window with its own view (a dockable frame): the bar docks, floats
// and sizes like the other sizing bars, while the frame inside handles its own keys, command updates and
// activation.
#pragma once

#include "toolkit/SECControlBar.h"

class SECFrameBar : public SECControlBar {
    DECLARE_DYNCREATE(SECFrameBar)

public:
    SECFrameBar();
    ~SECFrameBar() override;

    // The bar's own tooltips and status prompts are left out: the frame inside has its own.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The frame inside updates its own commands.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // The frame inside (the bar's first child when it is a frame), or null.
    CFrameWnd* GetContentFrame() const;
    // The floating or the docked form for the frame inside, as the bar floats or not; floating, it covers
    // the floating frame.
    void SyncContentForm();

protected:
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnSize(UINT nType, int cx, int cy);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()
};
