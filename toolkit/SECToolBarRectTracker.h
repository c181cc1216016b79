// The outline that follows the mouse while a toolbar button is dragged: a hatched frame drawn by inversion
// over the top-level window, the button's rectangle moved by the pointer, Escape or the right button cancel.
#pragma once

#include "platform/framework/CWnd.h"

class SECToolBarRectTracker {
public:
    // rect: the button in the window's client coordinates.
    explicit SECToolBarRectTracker(const CRect& rect) : m_rect(rect) {}

    // Runs the modal loop; TRUE on release with m_rect in screen coordinates, FALSE when cancelled.
    BOOL TrackButton(CWnd* pWnd, CPoint point, HCURSOR hCursor = nullptr);

    CRect m_rect;
    int m_nHandleSize = 4;

private:
    void DrawTrackerRect(CWnd* pTopLevel, const CRect* pRect);
    CRect m_rectLast;
    CSize m_sizeLast;
};
