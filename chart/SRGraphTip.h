// The chart's tool tip: a small pop-up near a screen point showing a text of one or more lines. It hides
// when the mouse moves over it or when its auto-hide time has passed.
#pragma once

#include "platform/framework/CWnd.h"

class SRGraphTip : public CWnd {
public:
    SRGraphTip() = default;
    ~SRGraphTip() override;

    virtual void SetAutoHideTime(int milliseconds) { m_nAutoHide = milliseconds; }
    virtual int GetAutoHideTime() const { return m_nAutoHide; }
    virtual BOOL IsShown() const { return m_bShown; }
    // Formats the text (at most 1024 characters) and shows it.
    virtual void ShowFormat(int x, int y, CWnd* parent, LPCTSTR format, ...);
    // Above the point (below it near the top of the screen), left of it near the right edge.
    virtual void Show(const CString& text, int x, int y, CWnd* parent);
    virtual void Hide();

    const CString& GetText() const { return m_strText; }

    // The timer that hides the tip.
    static constexpr UINT_PTR kHideTimer = 2000;

protected:
    void OnPaint();
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    int m_nAutoHide = 5000;
    HBRUSH m_hBackground = nullptr;
    CString m_strClass;
    CString m_strText;
    int m_x = 0;
    int m_y = 0;
    BOOL m_bShown = FALSE;
};
