// The small tool frame a floating control bar lives in: a caption, no menu, one floating dock bar sized to
// the bars it holds. Closing it hides the bars; dragging its caption drags the bar (to dock it again).
#pragma once

#include "platform/framework/CDockBar.h"
#include "platform/framework/CFrameWnd.h"

#include <memory>

#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L

class CMiniDockFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)

public:
    CMiniDockFrameWnd();
    ~CMiniDockFrameWnd() override;

    using CFrameWnd::Create;
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    void RecalcLayout(BOOL bNotify = TRUE) override;

private:
    std::unique_ptr<CDockBar> m_pOwnedDockBar;

public:
    CDockBar& m_wndDockBar;

protected:
    // For floating frames whose dock bar is of a derived class; the frame owns it.
    explicit CMiniDockFrameWnd(CDockBar* pDockBar);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnClose();
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    // The one bar it holds when there is exactly one (whose drag the caption starts).
    CControlBar* SingleBar() const;

    DECLARE_MESSAGE_MAP()
};
