// The gradient caption of the toolkit's frames: black to the active caption colour in at most 60 steps,
// the window's icon in a black cell, and the text split at its first hyphen, the part before it italic.
#pragma once

#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"

namespace SECGradientCaption {

constexpr int kSteps = 60;

// Fills `rect` from `start` to `end` in `nSteps` vertical bands (fewer when the rectangle is narrower);
// the colours step in 8.8 fixed point and stop at `end`; the last band reaches the right edge.
void GradientFill(CDC* pDC, const CRect& rect, int nSteps, COLORREF start, COLORREF end);

// The text before the first hyphen, and the rest from the hyphen on (empty when there is none).
void SplitText(const CString& text, CString& first, CString& rest);

// The caption's rectangle in window coordinates, for a window of `width` with `style`; bClose says
// whether the system menu's Close item is enabled.
CRect CaptionRect(int width, DWORD style, BOOL bClose);

// Draws the caption into `pDC` at `rect` (its own coordinates): the icon cell with WS_SYSMENU, the
// gradient (or the inactive colour), the text aligned 0 left, 1 centred, else right.
void Draw(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bActive, int nAlignment);

} // namespace SECGradientCaption
