#include "grid/GridTextLayout.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "platform/framework/CDC.h"

#include <algorithm>

GridTextLines LayOutGridText(CDC* dc, LPCTSTR text, int length, const RECT& rect, UINT format) {
    GridTextLines lines;
    dc->GetTextMetricsW(&lines.metrics);
    lines.lineHeight = lines.metrics.tmHeight + lines.metrics.tmExternalLeading;
    lines.lineStep = lines.lineHeight > 19 ? lines.lineHeight - 1 : lines.lineHeight;
    lines.rect = rect;
    lines.count = GetDrawingAndFormatting()->CalcLines(dc, text, length, lines.rect, format, lines.starts,
                                                       lines.lengths, CGXDrawingAndFormatting::kMaxDrawnLines);
    return lines;
}

int MeasureGridTextLine(CDC* dc, LPCTSTR text, int length) {
    while (length > 0 && text[length - 1] == u' ') {
        --length;
    }
    return length > 0 ? dc->GetTextExtent(text, length).cx : 0;
}

int AlignGridTextLine(const RECT& rect, int lineWidth, UINT format) {
    int x = rect.left;
    if (format & kTextRight) {
        x = rect.right - lineWidth;
    } else if (format & kTextCenter) {
        x = rect.left + (rect.right - rect.left - lineWidth) / 2;
    }
    return std::max(x, static_cast<int>(rect.left));
}
