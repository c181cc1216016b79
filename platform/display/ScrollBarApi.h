// The standard scroll bars of windows (WS_HSCROLL, WS_VSCROLL) and the pieces the scroll-bar control reuses.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/display/WindowConstants.h"
#include "platform/display/WindowMessages.h"
#include "platform/gdi/GdiTypes.h"

#include <functional>

// SB_HORZ, SB_VERT, or SB_CTL (which the scroll-bar control answers through SBM_SETSCROLLINFO and
// SBM_GETSCROLLINFO). The position is clamped to [nMin, nMax - max(nPage - 1, 0)]; the page to
// [0, nMax - nMin + 1]. A bar whose range no longer scrolls is hidden, or disabled with SIF_DISABLENOSCROLL.
// Answers the new position.
int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
// Answers the previous position.
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
// Changes WS_HSCROLL/WS_VSCROLL and recomputes the client area (WM_NCCALCSIZE, and WM_SIZE when it changed).
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, int bar, UINT arrows);

// ---- Shared with the scroll-bar control
enum ScrollBarPart {
    SBP_NONE = 0,
    SBP_LINEUP = 1, // the top or left arrow
    SBP_PAGEUP = 2,
    SBP_THUMB = 3,
    SBP_PAGEDOWN = 4,
    SBP_LINEDOWN = 5,
};

struct ScrollBarGeometry {
    RECT lineUp;
    RECT pageUp;
    RECT thumb;
    RECT pageDown;
    RECT lineDown;
    BOOL thumbShown; // FALSE when the bar is too short for a thumb or the range does not scroll
};

// Parts of a bar occupying `bar`, with the thumb at `pos` (the track position while dragging).
void ScrollBarCalcGeometry(const RECT* bar, BOOL vertical, const SCROLLINFO* info, int pos,
                           ScrollBarGeometry* out);
int ScrollBarHitTest(const ScrollBarGeometry* geometry, BOOL vertical, POINT point);
// The position the thumb would have with its leading edge at `thumbStart` (pixels along the bar).
int ScrollBarPosFromThumb(const RECT* bar, BOOL vertical, const SCROLLINFO* info, int thumbStart);
// Draws the classic bar: arrow buttons, the dithered track, the raised thumb; `pressedPart` drawn pushed.
void ScrollBarPaint(HDC dc, const RECT* bar, BOOL vertical, const SCROLLINFO* info, int pos,
                    UINT disabledArrows, BOOL enabled, int pressedPart);

// What a tracking loop needs to know about the bar it drives.
struct ScrollBarTracking {
    HWND captureWindow = nullptr; // takes the capture while the mouse is held
    HWND notifyWindow = nullptr;  // receives WM_HSCROLL/WM_VSCROLL
    HWND control = nullptr;       // lParam of the notifications (the control, or null for a window's bar)
    BOOL vertical = FALSE;
    std::function<RECT()> barRectScreen;
    std::function<SCROLLINFO()> info;
    std::function<UINT()> disabledArrows;
    std::function<void(int pressedPart, int trackPos, BOOL tracking)> show; // redraw with this state
};

// Runs the capture loop that starts with a button-down at `screen`: arrows and page areas send their codes
// at once and then repeat on a timer while held over them; the thumb sends SB_THUMBTRACK on each move and
// SB_THUMBPOSITION on release; every press ends with SB_ENDSCROLL. The loop ends on button-up, on losing the
// capture, or on WM_CANCELMODE.
void ScrollBarTrackLoop(const ScrollBarTracking& tracking, POINT screen);
