// A DC that logs the drawing calls made on it, with their arguments, for tests that check how a picture was
// drawn (which rectangles were filled, how many lines, what text where) rather than its pixels. It still
// draws, into a surface of its own, so metrics, clipping and pixels answer as on any other DC.
#pragma once

#include "platform/gdi/GdiTypes.h"

#include <string>
#include <vector>

// What is logged, arguments as the caller passed them:
//   SelectPen(style, width, colour)  SelectBrush(style, colour, hatch)  SelectBitmap(width, height, bits)
//   SelectFont(height, weight, escapement, italic; face)
//   SetROP2, SetBkMode, SetBkColor, SetTextColor, SetTextAlign, SetPolyFillMode, SetStretchBltMode,
//   SetArcDirection, SetGraphicsMode, SetMapMode (value)
//   SetWindowOrgEx, SetViewportOrgEx, OffsetWindowOrgEx, OffsetViewportOrgEx (x, y)
//   SetWindowExtEx, SetViewportExtEx (the extent in force afterwards)   SaveDC(new level)  RestoreDC(level)
//   SelectClipRgn() for none, SelectClipRgn(box, mode)   IntersectClipRect, ExcludeClipRect (rectangle)
//   MoveToEx(x, y)  LineTo(x, y, pen colour, pen style, pen width)
//   Polyline, PolylineTo, Polygon, PolyPolygon (x0, y0, x1, y1, ...)   Rectangle(rectangle)
//   Ellipse, RoundRect, Arc, ArcTo, Pie, Chord (rectangle, then the other four arguments)
//   PatBlt(x, y, w, h, rop)   BitBlt, StretchBlt, MaskBlt (x, y, w, h, xSrc, ySrc, wSrc, hSrc, rop)
//   StretchDIBits, SetDIBitsToDevice (destination and source rectangles)   SetPixel(x, y, colour)
//   TextOut(x, y, escapement; text)   ExtTextOut(x, y, options[, rectangle], escapement; text)
//   TabbedTextOut(x, y, tab count, tab origin; text)   DrawText(rectangle, format; text)
//   GrayString(x, y, w, h; text)   FillRect, FrameRect (rectangle, brush colour or -1 for patterns)
//   InvertRect, DrawFocusRect (rectangle)   DrawEdge(rectangle, edge, flags)
//   DrawFrameControl(rectangle, type, state)   DrawIconEx(x, y, w, h, flags)
//   FillRgn, PaintRgn, InvertRgn (region box)   FrameRgn(region box, w, h)   BeginPath()  EndPath()
// Helpers that draw through other calls (DrawText, DrawFrameControl, TabbedTextOut) log themselves only.
struct GdiRecord {
    std::string op;              // the function's name, e.g. "FillRect", "LineTo", "ExtTextOut"
    std::vector<long long> args; // its arguments as passed (logical units), then the state that matters
    std::u16string text;         // text output: the text
};

// A window-like DC of the given size (white), recording from the start.
HDC GdiCreateRecordingDC(int width, int height);
// Starts or stops recording on any DC (a paint DC, a memory DC).
BOOL GdiSetRecording(HDC dc, BOOL on);
std::vector<GdiRecord> GdiGetRecords(HDC dc);
void GdiClearRecords(HDC dc);
// "FillRect(0,0,10,10,#ff0000)" style text of one record, for readable assertions.
std::string GdiFormatRecord(const GdiRecord& record);
