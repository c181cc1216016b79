// Update regions, painting and the DCs of windows.
//
// Each window keeps an update region in its client coordinates, an erase flag, a frame flag (its non-client
// area needs WM_NCPAINT) and an internal-paint flag. Invalidating a hidden window does nothing. Invalidating
// a window without WS_CLIPCHILDREN also invalidates the children under the area (RedrawWindow's
// RDW_ALLCHILDREN/RDW_NOCHILDREN decide explicitly). All top-level windows are backed by a surface of their
// own; child windows draw into their top-level window's surface, clipped to what is visible of them.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/display/WindowConstants.h"
#include "platform/display/WindowMessages.h"
#include "platform/gdi/GdiTypes.h"

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
// With erase TRUE and the erase flag set, sends WM_NCPAINT/WM_ERASEBKGND first, as BeginPaint would.
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
// Sends WM_PAINT now to the window and its children that have something to paint.
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* updateRect, HRGN updateRgn, UINT flags);
// Sends WM_NCPAINT when the frame needs it, takes the update region (validating it), then sends
// WM_ERASEBKGND when the erase flag is set; ps->fErase is TRUE when the background still needs erasing.
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// A null window gives a DC over the screen (the desktop window).
HDC GetDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);
// Moves the pixels of the client area (or scrollRect) by dx, dy, clipped to clipRect, together with the
// part of the update region inside; the area left uncovered is answered in updateRgn/updateRect and, with
// SW_INVALIDATE, added to the update region (with SW_ERASE, to be erased). SW_SCROLLCHILDREN moves the
// children under scrollRect (all children without one). Answers the region kind of the uncovered area.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN updateRgn,
                   LPRECT updateRect, UINT flags);
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN updateRgn,
              LPRECT updateRect);
// While a window is locked, drawing through its DCs is suppressed (except DCX_LOCKWINDOWUPDATE ones);
// unlocking invalidates it. One window at a time.
BOOL LockWindowUpdate(HWND hwnd);
