// Dragging a toolkit bar: the outline takes the shape the bar would have where it would dock (a share of a
// row of sizing bars, computed by the toolkit dock bar), a floating bar docks only once the mouse has moved
// more than 4 pixels, Ctrl keeps it floating and Shift flips its orientation; double-clicking swaps a bar
// between its last docked place (kept as a placeholder) and its last floating place, each with its share.
#pragma once

#include "platform/framework/CDockContext.h"

#define IDS_SEC_PREVENT_DOCKING 20535

class SECDockContext : public CDockContext {
public:
    static constexpr int kDockThreshold = 4; // |dx| + |dy| a floating bar must pass before it docks

    explicit SECDockContext(CControlBar* pBar);
    ~SECDockContext() override;

    void StartDrag(CPoint pt) override;
    void ToggleDocking() override;
    // Resizes a floating bar by the frame border `nHitTest` (HTLEFT .. HTBOTTOMRIGHT) grabbed at `pt`
    // (screen), until the button is released; FALSE when cancelled or the mouse is held elsewhere. A sizing
    // bar keeps within the floating size limits: the edge that would cross one stays.
    BOOL StartResize(int nHitTest, CPoint pt);

    // Screen rectangle of the outline last drawn; where a drop docks is decided by the same rules.
    CRect m_rectLastFeedback;
    CPoint m_ptDragStart;
    CPoint m_ptLastFeedback;
    int m_nLastFeedbackRow = -1;
    BOOL m_bWasFloating = FALSE;
    CSize m_sizeMinFloat;
    CSize m_sizeMaxFloat;
    BOOL m_bResizing = FALSE;

    // Whether a drop at the current point docks (the over-dock side is set and, for a floating bar, the
    // mouse has moved far enough).
    BOOL WillDock() const;

protected:
    void Move(CPoint pt) override;
    void EndDrag() override;
    void CancelLoop() override;
    DWORD CanDock(CDockBar** ppDockBar = nullptr) override;
    void DrawFocusRect(BOOL bRemoveRect = FALSE) override;
    // The shapes of the bar, from its window rectangle at the start of a drag.
    void InitDragRects(CPoint pt);
    void SendStatusText(UINT nID);
    // One mouse step of a resize, and its end.
    void Stretch(CPoint pt);
    void EndResize();
    // The floating frame's outline around the bar's rectangle.
    void PlaceResizeFrame();
    // The frame floats or docks the bar as the frame does it.
    void FloatBar(CPoint pt, DWORD dwStyle);
};
