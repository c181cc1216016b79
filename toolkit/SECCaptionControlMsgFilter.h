// One caption button drawn and tracked by the toolkit: drawn with DrawFrameControl on the frame's window DC,
// pushed while the left button is held over it (the frame captures the mouse), and a command when released
// over it, when clicked right, or when held for the hold period.
#pragma once

#include "toolkit/SECCaptionMsgFilter.h"

#include "platform/framework/CWnd.h"

// Button ids 0 to 4 are the standard kinds.
#define SEC_CAPTION_CLOSE 0
#define SEC_CAPTION_MIN 1
#define SEC_CAPTION_MAX 2
#define SEC_CAPTION_RESTORE 3
#define SEC_CAPTION_HELP 4

class SECCaptionControlMsgFilter;

// The invisible child window whose timer tells a held button that its hold period has passed.
class SECCaptionControlMsgFilterTimer : public CWnd {
public:
    SECCaptionControlMsgFilterTimer(SECCaptionControlMsgFilter* pButton, UINT nPeriod, CPoint pt)
        : m_pButton(pButton), m_nPeriod(nPeriod), m_pt(pt) {}

    SECCaptionControlMsgFilter* m_pButton;
    UINT m_nPeriod;
    BOOL m_bStarted = FALSE;
    BOOL m_bFired = FALSE;
    CPoint m_pt;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

class SECCaptionControlMsgFilter : public SECCaptionMsgFilter {
    DECLARE_DYNCREATE(SECCaptionControlMsgFilter)

public:
    enum Command { Click = 0, RightClick = 1, Held = 2 };

    SECCaptionControlMsgFilter() : SECCaptionControlMsgFilter(nullptr, -1) {}
    SECCaptionControlMsgFilter(CFrameWnd* pFrame, int nID, UINT nType = DFC_CAPTION, UINT nState = 0,
                               int nHoldPeriod = -1);
    SECCaptionControlMsgFilter(const SECCaptionControlMsgFilter& other);
    ~SECCaptionControlMsgFilter() override;
    SECMsgFilter* Clone() const override { return new SECCaptionControlMsgFilter(*this); }

    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    virtual void DrawCaptionButton();
    virtual BOOL HitTestButton(CPoint ptScreen) const;
    virtual void OnButtonDown(CPoint ptScreen);
    virtual void OnButtonUp(CPoint ptScreen);
    virtual void OnHoldTimeout(CPoint ptScreen);
    virtual void OnTrackMove(CPoint ptScreen);
    virtual void SendButtonCommand(int nCode, CPoint ptScreen);
    virtual BOOL BuildButtonCommand(int nCode, CPoint ptScreen, HWND& hWnd, UINT& message, WPARAM& wParam,
                                    LPARAM& lParam);
    virtual void BeginTracking(BOOL bPush, BOOL bRedraw);
    virtual void EndTracking(BOOL bRelease, BOOL bRedraw);
    virtual void KillHoldTimer();
    virtual void StartHoldTimer(CPoint ptScreen);
    virtual BOOL IsButtonApplicable(BOOL& bInactive) const;

    CRect m_rect;
    UINT m_nType = DFC_CAPTION;
    UINT m_nState = 0;
    BOOL m_bTracking = FALSE;
    int m_nHoldPeriod = -1;
    SECCaptionControlMsgFilterTimer* m_pTimer = nullptr;
    // The window whose state the button shows and whose command it gives, when not the frame it is drawn
    // on (a maximised document window's buttons in the main window's menu row).
    CWnd* m_pStateWnd = nullptr;
    // The hit code of the non-client area the button sits in.
    UINT m_nHitCode = HTCAPTION;

protected:
    CWnd* GetStateWnd() const;
};
