// A child object of a cell control: a small rectangle inside the cell, in grid-window coordinates, that
// draws itself and takes mouse and key input routed to it by its owner.
#pragma once

#include "platform/base/CRect.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "platform/base/WindowTypes.h"
#include "grid/GridDefs.h"

class CDC;
class CGXControl;

class CGXChild {
public:
    explicit CGXChild(CGXControl* owner) : m_pOwner(owner) {}
    virtual ~CGXChild() = default;
    CGXChild(const CGXChild&) = delete;
    CGXChild& operator=(const CGXChild&) = delete;

    CGXControl* Owner() const { return m_pOwner; }

    virtual void SetRect(const RECT& rect) { m_rect = rect; }
    virtual void GetRect(RECT& rect) const { rect = m_rect; }
    virtual BOOL HitTest(int x, int y) const { return m_rect.PtInRect(CPoint(x, y)); }
    virtual BOOL IsActiveChild() const;
    virtual void SetText(const CString& text) { m_text = text; }
    virtual CString GetText() const { return m_text; }
    virtual void Draw(CDC* dc, BOOL active) = 0;
    // Invalidates the child's rectangle in the grid window.
    virtual void Refresh();

    virtual BOOL MouseMove(UINT, int, int) { return FALSE; }
    virtual BOOL LButtonDown(UINT, int, int) { return FALSE; }
    virtual BOOL LButtonUp(UINT, int, int) { return FALSE; }
    virtual BOOL LButtonDblClk(UINT, int, int) { return FALSE; }
    virtual BOOL MButtonDown(UINT, int, int) { return FALSE; }
    virtual BOOL MButtonUp(UINT, int, int) { return FALSE; }
    virtual BOOL MButtonDblClk(UINT, int, int) { return FALSE; }
    virtual BOOL RButtonDown(UINT, int, int) { return FALSE; }
    virtual BOOL RButtonUp(UINT, int, int) { return FALSE; }
    virtual BOOL RButtonDblClk(UINT, int, int) { return FALSE; }
    virtual BOOL MouseMoveOver(ROWCOL, ROWCOL, UINT, int, int) { return FALSE; }

    // Dispatches a key message to the key operations below, as the owner does.
    virtual BOOL KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags);
    virtual BOOL KeyDown(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL KeyUp(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL CharTyped(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL TextTyped(const CString&, UINT, UINT) { return FALSE; }
    virtual BOOL DeadChar(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysKeyDown(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysKeyUp(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysChar(UINT, UINT, UINT) { return FALSE; }
    virtual BOOL SysDeadChar(UINT, UINT, UINT) { return FALSE; }
    virtual void WinIniChanged(LPCTSTR) {}
    virtual void SysColorChanged() {}
    virtual void CancelMode() {}

protected:
    CGXControl* m_pOwner;
    CRect m_rect;
    CString m_text;
    BOOL m_bPendingLead = FALSE;
    WCHAR m_storedUnit = 0;
};
