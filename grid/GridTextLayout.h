// The drawing services' text layout: where each line of a cell's text starts and how it is placed. Kept
// apart from the drawing so that the measuring rules are in one place for drawing, hit testing and sizing.
#pragma once

#include "platform/base/CString.h"
#include "platform/gdi/GdiTypes.h"

class CDC;

// The laid-out lines of a text with the metrics they were made with.
struct GridTextLines {
    int count = 0;
    int starts[32] = {};
    int lengths[32] = {};
    int lineHeight = 0; // tmHeight + tmExternalLeading
    int lineStep = 0;   // the distance between lines on screen: one less for lines above 19 pixels
    TEXTMETRICW metrics{};
    RECT rect{};        // the layout rectangle, its top moved for vertical alignment
};

// Lays the text out in the rectangle through the drawing services' CalcLines.
GridTextLines LayOutGridText(CDC* dc, LPCTSTR text, int length, const RECT& rect, UINT format);

// The width of part of a text on the dc, without the blanks at its end.
int MeasureGridTextLine(CDC* dc, LPCTSTR text, int length);

// The x of a line of the width in the rectangle by the format's alignment, never left of its left edge.
int AlignGridTextLine(const RECT& rect, int lineWidth, UINT format);
