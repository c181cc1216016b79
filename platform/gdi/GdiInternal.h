// What the window core needs from the drawing layer beyond the public interface: DCs over a top-level
// window's surface, region conversions to and from pixman, and stock-like objects.
#pragma once

#include "platform/gdi/GdiTypes.h"

#include <cairo.h>
#include <pixman.h>

struct WindowDrawTarget {
    cairo_surface_t* surface;  // the top-level window's surface (not owned; the DC keeps a reference)
    POINT origin;              // where the DC's logical (0,0) lands in surface pixels
    pixman_region32_t visible; // surface-pixel region the DC may touch
};

// A DC drawing on `target.surface`; `visible` is copied. ReleaseDC/EndPaint call GdiDeleteWindowDC.
HDC GdiCreateWindowDC(HWND hwnd, const WindowDrawTarget& target);
void GdiDeleteWindowDC(HDC dc);
// Changes the visible region of a window DC kept across calls (surface pixels; copied).
bool GdiSetWindowDCVisible(HDC dc, const pixman_region32_t* visible);
HWND GdiWindowFromDC(HDC dc);

HRGN GdiCreateRegionFromPixman(const pixman_region32_t* region);
// `out` must be initialised; false for an invalid handle.
bool GdiCopyRegionToPixman(HRGN rgn, pixman_region32_t* out);

// Makes an object behave like a stock object: DeleteObject on it answers TRUE and does nothing.
void GdiMarkStock(HGDIOBJ object);

// The screen the DISPLAY DC describes (HORZRES/VERTRES, HORZSIZE/VERTSIZE at 96 pixels per inch).
// 1024x768 until the window core says otherwise.
void GdiSetScreenSize(int width, int height);
