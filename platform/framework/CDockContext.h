// Dragging a control bar with the mouse: a tracking rectangle follows the pointer, taking the docked
// shape over a dock bar that accepts the bar and the floating shape elsewhere (or always with Ctrl held);
// the button's release docks or floats the bar there, Escape cancels. It also remembers where the bar was
// last docked and last floated, for double-click toggling.
#pragma once

#include "platform/framework/CControlBar.h"

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext() = default;

    // Runs the drag from `pt` (screen coordinates) until the left button is released or Escape is pressed.
    virtual void StartDrag(CPoint pt);
    // Docks a floating bar where it was last docked, or floats a docked one where it last floated.
    virtual void ToggleDocking();

    CPoint m_ptLast;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bDitherLast = FALSE;
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    CRect m_rectFrameDragVert;
    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;
    DWORD m_dwOverDockStyle = 0;
    DWORD m_dwStyle = 0;
    BOOL m_bFlip = FALSE;
    BOOL m_bForceFrame = FALSE;
    int m_nHitTest = 0;
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos;
    BOOL m_bDragging = FALSE;

protected:
    // The modal loop: the mouse moves the shapes, Ctrl floats, Shift flips the orientation, the release
    // ends the drag; Escape, the right button and lost capture cancel it.
    BOOL Track();
    // Derived contexts with their own feedback and drop rules replace these.
    virtual void Move(CPoint pt);
    virtual void EndDrag();
    virtual void CancelLoop();
    // Whether the current rectangle docks, and on which dock bar.
    virtual DWORD CanDock(CDockBar** ppDockBar = nullptr);
    virtual void DrawFocusRect(BOOL bRemoveRect = FALSE);
};
