// The floating frame of toolkit bars: its dock bar is a toolkit dock bar, and its system menu offers only
// moving and "Hide" (closing hides the bars it holds).
#pragma once

#include "platform/framework/CMiniDockFrameWnd.h"
#include "toolkit/SECDockBar.h"

#define IDS_SEC_HIDE_FLOATING 61457

class SECMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(SECMiniDockFrameWnd)

public:
    SECMiniDockFrameWnd();

    using CMiniDockFrameWnd::Create;
    BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    SECDockBar& DockBar() { return static_cast<SECDockBar&>(m_wndDockBar); }

protected:
    // A border resizes the first bar it holds (its dock context tracks the mouse); the rest as the base.
    void OnNcLButtonDown(UINT nHitTest, CPoint point);

    DECLARE_MESSAGE_MAP()
};
