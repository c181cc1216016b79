#include "grid/CGXDrawingAndFormatting.h"

#include "grid/CGXControl.h"
#include "grid/CGXDIB.h"
#include "grid/CGXDIBPool.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/GridColor.h"
#include "grid/GridLibraryState.h"
#include "grid/GridSysColorCache.h"
#include "grid/GridTextLayout.h"
#include "platform/base/GlobalMemory.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/AfxControls.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/SystemColors.h"
#include "platform/resources/Resources.h"

#include <algorithm>
#include <cstring>

namespace {

// Rows of each pattern, top first, bit 7 leftmost.
constexpr BYTE kPatternRows[CGXDrawingAndFormatting::kPatternCount][8] = {
    {0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11}, {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA},
    {0xBB, 0xEE, 0xBB, 0xEE, 0xBB, 0xEE, 0xBB, 0xEE}, {0xEE, 0xFF, 0xBB, 0xFF, 0xEE, 0xFF, 0xBB, 0xFF},
    {0xFF, 0xFF, 0xEE, 0xFF, 0xFF, 0xFF, 0xBB, 0xFF}, {0xFB, 0xFF, 0xBF, 0xFF, 0xFA, 0xFF, 0xAF, 0xFF},
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}, {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC},
    {0x55, 0xCC, 0x99, 0x44, 0x55, 0xCC, 0x99, 0x44}, {0x44, 0x99, 0xCC, 0x55, 0x44, 0x99, 0xCC, 0x55},
    {0x55, 0x55, 0x99, 0x99, 0x55, 0x55, 0x99, 0x99}, {0x55, 0x00, 0x99, 0x00, 0x55, 0x00, 0x99, 0x00},
    {0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF}, {0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD},
    {0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB, 0x77}, {0x77, 0xBB, 0xDD, 0xEE, 0x77, 0xBB, 0xDD, 0xEE},
    {0xEE, 0x00, 0xEE, 0xEE, 0xEE, 0x00, 0xEE, 0xEE}, {0xEE, 0x55, 0xBB, 0x55, 0xEE, 0xBB, 0x55, 0xEE},
    {0x88, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF},
    {0xFE, 0xFF, 0xFB, 0xFF, 0xEF, 0xFF, 0xBF, 0xFF}, {0xF7, 0xFF, 0xFD, 0xFF, 0x7F, 0xFF, 0xDF, 0xFF},
    {0x88, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFE, 0xFF}, {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE}, {0xFE, 0xFD, 0xFB, 0xF7, 0xEF, 0xDF, 0xBF, 0x7F},
    {0xF7, 0xFB, 0xFD, 0xFE, 0x7F, 0xBF, 0xDF, 0xEF}, {0x00, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE, 0xFE},
    {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, {0xF3, 0xF3, 0xF3, 0xF3, 0xF3, 0xF3, 0xF3, 0xF3},
    {0xF3, 0xF9, 0xFC, 0x7E, 0x3F, 0x9F, 0xCF, 0xE7}, {0xE7, 0xCF, 0x9F, 0x3F, 0x7E, 0xFC, 0xF9, 0xF3},
    {0x00, 0x00, 0xF3, 0xF3, 0xF3, 0xF3, 0xF3, 0xF3}, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11},
    {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}, {0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1, 0xB1},
    {0x51, 0x51, 0x51, 0x51, 0x51, 0x51, 0x51, 0x51}, {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF},
    {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF}, {0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF},
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF},
};

int TextLength(LPCTSTR text, int length) {
    return length >= 0 ? length : static_cast<int>(wcslen(text));
}

bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// Writes part of the text with the clip rectangle as the only clip (skipped on a dc without attributes,
// such as a metafile being recorded).
void TextOutClipped(CDC* dc, int x, int y, LPCTSTR text, int length, const RECT& clip) {
    if (!dc->m_hAttribDC) {
        dc->TextOutW(x, y, text, length);
        return;
    }
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(&clip);
    dc->TextOutW(x, y, text, length);
    dc->RestoreDC(saved);
}

// One laid-out line at y in the rectangle. A single character too wide for the rectangle is kept within the
// clip rectangle.
void WriteLine(CDC* dc, LPCTSTR line, int length, int y, const RECT& rect, UINT format, const RECT* clip) {
    const int width = MeasureGridTextLine(dc, line, length);
    int x = AlignGridTextLine(rect, width, format);
    if (length == 1 && clip) {
        if (width > clip->right - clip->left) {
            TextOutClipped(dc, clip->left, y, line, length, *clip);
            return;
        }
        if (width > rect.right - rect.left) {
            x = rect.left;
            if (x + width > clip->right) {
                x = clip->right - width;
            }
        }
    }
    dc->TextOutW(x, y, line, length);
}

// The line's characters with "..." after them, shortened until it fits the width: characters go first,
// then the dots.
CString ShortenWithDots(CDC* dc, LPCTSTR line, int length, int width) {
    int kept = length;
    CString dots(u"...");
    const auto fits = [&] {
        const CString candidate = CString(line, kept) + dots;
        return MeasureGridTextLine(dc, candidate, candidate.GetLength()) <= width;
    };
    while (kept > 1 && !fits()) {
        --kept;
    }
    while (kept == 1 && !dots.IsEmpty() && !fits()) {
        dots = dots.Left(dots.GetLength() - 1);
    }
    return CString(line, kept) + dots;
}

} // namespace

CGXDrawingAndFormatting::~CGXDrawingAndFormatting() = default;

int CGXDrawingAndFormatting::CalcLines(CDC* dc, LPCTSTR text, int length, RECT& rect, UINT format,
                                       int* lineStarts, int* lineLengths, int maxLines) {
    text = text ? text : u"";
    length = TextLength(text, length);
    TEXTMETRICW tm{};
    dc->GetTextMetricsW(&tm);
    const int lineHeight = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
    const int height = rect.bottom - rect.top;
    int linesLeft = lineHeight < height - lineHeight / 3 ? height / lineHeight : 0;
    const int width = rect.right - rect.left + 1;
    const bool wrap = (format & kTextWordBreak) != 0;
    const auto widthOf = [&](int from, int to) { return MeasureGridTextLine(dc, text + from, to - from); };

    int count = 0;
    int blockHeight = 0;
    int pos = 0;
    while (count < maxLines) {
        // Leading blanks belong to the line; each word takes the blanks after it.
        int words = 0;
        int lineEnd = pos;
        bool tooWide = false;
        int p = pos;
        while (p < length && text[p] == u' ') {
            ++p;
        }
        for (;;) {
            int q = p;
            while (q < length && text[q] != u' ' && !IsLineBreak(text[q])) {
                ++q;
            }
            while (q < length && text[q] == u' ') {
                ++q;
            }
            ++words;
            if (widthOf(pos, q) > width) {
                tooWide = true;
                break;
            }
            lineEnd = q;
            if (q >= length || IsLineBreak(text[q])) {
                break;
            }
            p = q;
        }
        int next = lineEnd;
        if (tooWide && !(words > 1 && wrap && linesLeft > 1)) {
            // Cut at the last character that fits; at least one, so that the layout moves on.
            int cut = pos + 1;
            while (cut < length && !IsLineBreak(text[cut]) && widthOf(pos, cut + 1) <= width) {
                ++cut;
            }
            lineEnd = next = cut;
        }
        lineStarts[count] = pos;
        lineLengths[count] = lineEnd - pos;
        ++count;
        blockHeight += tm.tmHeight + 1;
        --linesLeft;

        const bool atBreak = !tooWide && lineEnd < length && IsLineBreak(text[lineEnd]);
        if (atBreak) {
            const bool pair = text[lineEnd] == u'\r' && lineEnd + 1 < length && text[lineEnd + 1] == u'\n';
            next = lineEnd + (pair ? 2 : 1);
        }
        if (next >= length) {
            // A line end as the last character leaves one more, empty line.
            if (atBreak && wrap && linesLeft > 0 && count < maxLines) {
                lineStarts[count] = length;
                lineLengths[count] = 0;
                ++count;
                blockHeight += tm.tmHeight + 1;
            }
            break;
        }
        if (linesLeft <= 0 || !wrap) {
            break;
        }
        pos = next;
    }

    const int blockBottom = rect.top + blockHeight;
    if (blockBottom < rect.bottom) {
        if (format & kTextVCenter) {
            rect.top += (rect.bottom + tm.tmExternalLeading - blockBottom) / 2;
        } else if (format & kTextBottom) {
            rect.top += rect.bottom - blockBottom;
        }
    }
    return count;
}

int CGXDrawingAndFormatting::CalcLineCount(CDC* dc, LPCTSTR text, int length, int left, int top, int right,
                                           int bottom, UINT format) {
    RECT rect{left, top, right, bottom};
    int starts[kMaxDrawnLines];
    int lengths[kMaxDrawnLines];
    return CalcLines(dc, text, length, rect, format, starts, lengths, kMaxDrawnLines);
}

int CGXDrawingAndFormatting::DrawText(CDC* dc, LPCTSTR text, int length, int left, int top, int right,
                                      int bottom, UINT format, const RECT* clip) {
    return DrawTextEllipsis(dc, text, length, left, top, right, bottom, format, clip, kEllipsisNone);
}

int CGXDrawingAndFormatting::DrawTextEllipsis(CDC* dc, LPCTSTR text, int length, int left, int top, int right,
                                              int bottom, UINT format, const RECT* clip, int ellipsisKind) {
    if (!text) {
        return 0;
    }
    length = TextLength(text, length);
    const RECT rect{left, top, right, bottom};
    const GridTextLines lines = LayOutGridText(dc, text, length, rect, format);
    const int width = right - left;
    int y = lines.rect.top;
    for (int i = 0; i < lines.count; ++i) {
        LPCTSTR line = text + lines.starts[i];
        const int lineLength = lines.lengths[i];
        const bool holdsRest = lines.starts[i] + lineLength >= length;
        if (ellipsisKind == kEllipsisDots) {
            const bool anotherFits = bottom - y >= lines.metrics.tmAscent * 3 / 4 + lines.lineStep;
            if (anotherFits && i + 1 < lines.count) {
                WriteLine(dc, line, lineLength, y, rect, format, clip);
            } else {
                const CString shown = holdsRest || lineLength < 2 ? CString(line, lineLength)
                                                                  : ShortenWithDots(dc, line, lineLength, width);
                WriteLine(dc, shown, shown.GetLength(), y, rect, format, clip);
                break;
            }
        } else if (ellipsisKind == kEllipsisPound && (format & kTextSingleLine) && !holdsRest) {
            const int poundWidth = std::max(1, static_cast<int>(dc->GetTextExtent(u"#", 1).cx));
            const int count = width / poundWidth;
            if (count > 0) {
                const CString pounds(u'#', count);
                WriteLine(dc, pounds, count, y, rect, format, clip);
            } else if (clip) {
                TextOutClipped(dc, left, y, u"#", 1, *clip);
            } else {
                dc->TextOutW(left, y, u"#", 1);
            }
        } else {
            WriteLine(dc, line, lineLength, y, rect, format, clip);
        }
        y += lines.lineStep;
    }
    return 0;
}

int CGXDrawingAndFormatting::DrawRotatedText(CDC* dc, LPCTSTR text, int length, int left, int top, int right,
                                             int bottom, UINT format, LONG orientation, const RECT* clip) {
    CGXAbstractDrawRotatedTextImp* rotated = GridLibraryState::Instance().drawRotatedTextImp;
    return rotated ? rotated->DrawRotatedText(dc, text, length, left, top, right, bottom, format, orientation,
                                              clip)
                   : 0;
}

int CGXDrawingAndFormatting::HitTestText(CDC* dc, LPCTSTR text, int length, int left, int top, int right,
                                         int bottom, UINT format, int x, int y) {
    if (!text) {
        return -1;
    }
    length = TextLength(text, length);
    const RECT rect{left, top, right, bottom};
    const GridTextLines lines = LayOutGridText(dc, text, length, rect, format);
    if (y < lines.rect.top || lines.lineHeight <= 0) {
        return -1;
    }
    const int index = (y - lines.rect.top) / lines.lineHeight;
    if (index >= lines.count) {
        return -1;
    }
    LPCTSTR line = text + lines.starts[index];
    const int lineLength = lines.lengths[index];
    const int lineX = AlignGridTextLine(rect, MeasureGridTextLine(dc, line, lineLength), format);
    const int tolerance = lines.metrics.tmMaxCharWidth / 3;
    if (x < lineX - tolerance) {
        return -1;
    }
    int lineWidth = 0;
    for (int k = 0; k < lineLength; ++k) {
        lineWidth = dc->GetTextExtent(line, k + 1).cx;
        if (lineX + lineWidth > x) {
            return lines.starts[index] + k;
        }
    }
    return x <= lineX + lineWidth + tolerance ? lines.starts[index] + lineLength : -1;
}

CBitmap* CGXDrawingAndFormatting::GetPatternBitmap(int index) {
    if (index < 0 || index >= kPatternCount) {
        return nullptr;
    }
    if (!m_patterns[index]) {
        // Monochrome bitmap rows are 16 bits wide; the low byte of each, first in memory, holds the pixels.
        WORD rows[8];
        for (int i = 0; i < 8; ++i) {
            rows[i] = kPatternRows[index][i];
        }
        auto bitmap = std::make_unique<CBitmap>();
        if (!bitmap->CreateBitmap(8, 8, 1, 1, rows)) {
            return nullptr;
        }
        m_patterns[index] = std::move(bitmap);
    }
    return m_patterns[index].get();
}

CString& CGXDrawingAndFormatting::FormatValueText(CString& out, const CGXStyle& style, LPCTSTR value,
                                                  int valueType, int reserved1, int reserved2) {
    if (CGXAbstractNumberFormattingImp* formatting = GridLibraryState::Instance().numberFormattingImp) {
        out = formatting->FormatNumber(style, value, valueType, reserved1, reserved2);
    } else if (value) {
        out = value;
    } else if (style.GetIncludeValue()) {
        out = style.GetValue();
    } else {
        out.Empty();
    }
    return out;
}

BOOL CGXDrawingAndFormatting::ParseValueText(LPCTSTR text, double* value, int* format, int* places) {
    CGXAbstractNumberFormattingImp* formatting = GridLibraryState::Instance().numberFormattingImp;
    return formatting ? formatting->ParseNumber(text, value, format, places) : FALSE;
}

void CGXDrawingAndFormatting::Draw3dFrame(CDC* dc, int left, int top, int right, int bottom, int width,
                                          COLORREF topLeft, COLORREF bottomRight) {
    for (int ring = 0; ring < width; ++ring) {
        FillRectColorXY(dc, left, top, right - left, 1, topLeft);
        FillRectColorXY(dc, left, top, 1, bottom - top, topLeft);
        FillRectColorXY(dc, left, bottom, right - left + 1, 1, bottomRight);
        FillRectColorXY(dc, right, top, 1, bottom - top, bottomRight);
        ++left;
        ++top;
        --right;
        --bottom;
    }
}

void CGXDrawingAndFormatting::DrawButtonFrame(CDC* dc, RECT& rect, BOOL outer, BOOL pressed) {
    if (outer) {
        const UINT edge = pressed ? (BDR_RAISEDINNER | BDR_SUNKENINNER) : (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
        dc->DrawEdge(&rect, edge, BF_RECT | BF_ADJUST | (pressed ? BF_FLAT : BF_MONO));
    }
    if (pressed) {
        dc->DrawEdge(&rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
}

void DrawFrameInParent(CWnd* window) {
    CWnd* parent = window->GetParent();
    if (!parent) {
        return;
    }
    CClientDC dc(parent);
    CRect rect;
    window->GetWindowRect(&rect);
    parent->ScreenToClient(&rect);
    rect.left -= 2;
    rect.top -= 2;
    rect.right += 3;
    rect.bottom += 3;
    GetDrawingAndFormatting()->DrawButtonFrame(&dc, rect, TRUE, TRUE);
}

void CGXDrawingAndFormatting::DrawButtonText(CDC* dc, int left, int top, int right, int bottom, BOOL focus,
                                             LPCTSTR text, UINT format) {
    dc->SetBkMode(TRANSPARENT);
    const bool hasText = text && *text;
    // An empty caption is measured as "--" so that the focus frame keeps a size.
    CRect measured(0, 0, 0, 0);
    dc->DrawTextW(hasText ? text : u"--", -1, &measured, format | DT_CALCRECT);
    measured.InflateRect(3, 0);
    CRect button(left, top, right, bottom);
    CRect centred(0, 0, measured.Width(), measured.Height());
    centred.OffsetRect(left + (button.Width() - centred.Width()) / 2, top + (button.Height() - centred.Height()) / 2);
    centred.IntersectRect(&centred, &button);
    if (hasText) {
        DrawText(dc, text, -1, centred.left, centred.top, centred.right, centred.bottom, format | kTextCenter,
                 nullptr);
    }
    if (focus) {
        const COLORREF shadow = GridSysColorCache::GetColor(COLOR_BTNSHADOW);
        FillRectColorXY(dc, centred.left + 2, centred.top, centred.Width() - 3, 1, shadow);
        FillRectColorXY(dc, centred.left + 2, centred.bottom - 1, centred.Width() - 3, 1, shadow);
        FillRectColorXY(dc, centred.left, centred.top + 2, 1, centred.Height() - 3, shadow);
        FillRectColorXY(dc, centred.right - 1, centred.top + 2, 1, centred.Height() - 3, shadow);
    }
}

CGXDrawingAndFormatting* GetDrawingAndFormatting() {
    GridLibraryState& state = GridLibraryState::Instance();
    if (!state.drawingAndFormatting) {
        state.drawingAndFormatting = std::make_unique<CGXDrawingAndFormatting>();
    }
    return state.drawingAndFormatting.get();
}

HGLOBAL LoadDibResource(HINSTANCE instance, LPCWSTR name) {
    HRSRC resource = FindResourceW(instance, name, RT_BITMAP);
    HGLOBAL data = resource ? LoadResource(instance, resource) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes) {
        return nullptr;
    }
    const DWORD size = SizeofResource(instance, resource);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (void* target = copy ? GlobalLock(copy) : nullptr) {
        std::memcpy(target, bytes, size);
        GlobalUnlock(copy);
    }
    return copy;
}

int DibColorCount(const BITMAPINFOHEADER& header) {
    if (header.biClrUsed != 0) {
        return static_cast<int>(header.biClrUsed);
    }
    switch (header.biBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

void InvertClippedRect(CDC* dc, const RECT& rect, const RECT& clip) {
    if (IsRectEmpty(&clip)) {
        dc->InvertRect(&rect);
        return;
    }
    RECT visible{};
    if (IntersectRect(&visible, &rect, &clip)) {
        dc->InvertRect(&visible);
    }
}

void FillRectColorXY(CDC* dc, int x, int y, int width, int height, COLORREF color) {
    if (IsSystemColorValue(color)) {
        color = GridSysColorCache::GetColor(static_cast<int>(0xFE - (color >> 24)));
    }
    const COLORREF old = dc->SetBkColor(color);
    const RECT rect{x, y, x + width, y + height};
    dc->ExtTextOutW(x, y, ETO_OPAQUE, &rect, u"", 0, nullptr);
    dc->SetBkColor(old);
}

void FillRectColor(CDC* dc, const RECT& rect, COLORREF color) {
    FillRectColorXY(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, color);
}

void DrawEdgeRect(CDC* dc, RECT& rect, UINT edge, BOOL adjustOnly) {
    dc->DrawEdge(&rect, edge, adjustOnly ? BF_ADJUST : BF_RECT);
}

// ---- Static cells

UINT CGXDrawingAndFormatting::CellTextFormat(const CGXStyle& style) {
    const UINT align = static_cast<UINT>(style.GetHorizontalAlignment() | style.GetVerticalAlignment());
    return align | kTextNoPrefix | (style.GetWrapText() ? kTextWordBreak : kTextSingleLine);
}

void CGXDrawingAndFormatting::DrawCellText(CDC* dc, const CString& text, const RECT& rect, UINT format,
                                           const CGXStyle& style, const RECT& clip) {
    const CGXFont& font = style.GetFont();
    if (style.GetIncludeFont() && font.GetIncludeOrientation() && font.GetOrientation() != 0) {
        DrawRotatedText(dc, text, -1, rect.left, rect.top, rect.right, rect.bottom, format, font.GetOrientation(),
                        &clip);
    } else if (style.HasUserAttribute(kAttrEllipsisKind)) {
        DrawTextEllipsis(dc, text, -1, rect.left, rect.top, rect.right, rect.bottom, format, &clip,
                         static_cast<int>(style.GetUserAttribute(kAttrEllipsisKind).GetLongValue()));
    } else {
        DrawText(dc, text, -1, rect.left, rect.top, rect.right, rect.bottom, format, &clip);
    }
}

BOOL CGXDrawingAndFormatting::DrawCellPicture(CDC* dc, const CString& text, const RECT& rect,
                                              const CGXStyle& style) {
    HGLOBAL picture = text.IsEmpty() ? nullptr : GetDIBPool()->LookupDIB(text);
    if (!picture) {
        return FALSE;
    }
    const UINT align = static_cast<UINT>(style.GetHorizontalAlignment() | style.GetVerticalAlignment());
    CGXDIB::Draw(dc, picture, CRect(rect), CGXDIB::kClipAndAlign, align);
    return TRUE;
}

void CGXDrawingAndFormatting::DrawStaticCell(CGXControl* control, CDC* dc, const RECT& rect, ROWCOL row,
                                             ROWCOL col, const CGXStyle& style, const CGXStyle* standardStyle) {
    CGXGridCore* grid = control->Grid();
    control->DrawBackground(dc, rect, style, FALSE);
    CString text;
    CGXGridParam* param = grid->GetParam();
    if (param && (param->m_wDisplayFlags & 0x2)) {
        text = grid->GetStoredValueRowCol(row, col);
    } else {
        control->ValueToDisplayText(text, row, col, nullptr, style);
    }
    const CRect cell(rect);
    if (text.IsEmpty() || cell.Width() <= 1 || cell.Height() <= 1) {
        if (text.IsEmpty()) {
            control->CGXControl::Draw(dc, rect, row, col, style, standardStyle);
        }
        return;
    }
    const CRect inner = control->GetInnerRect(row, col, &rect, &style);
    if (!control->IsWindowKindOf(RUNTIME_CLASS(CEdit)) && DrawCellPicture(dc, text, inner, style)) {
        control->CGXControl::Draw(dc, rect, row, col, style, standardStyle);
        return;
    }
    CFont* oldFont = control->SelectCellFont(dc, style, standardStyle);
    const CGXProperties* properties = param ? param->GetProperties() : nullptr;
    const BOOL blackAndWhite = properties && properties->printing && properties->printBlackAndWhite;
    dc->SetTextColor(blackAndWhite ? RGB(0, 0, 0) : style.GetTextColor());
    dc->SetBkColor(blackAndWhite ? RGB(255, 255, 255) : style.GetInterior().GetColor());
    dc->SetBkMode(TRANSPARENT);
    DrawCellText(dc, text, inner, CellTextFormat(style), style, rect);
    control->CGXControl::Draw(dc, rect, row, col, style, standardStyle);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
}
