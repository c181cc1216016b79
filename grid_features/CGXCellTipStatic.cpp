#include "grid_features/CGXCellTipStatic.h"

#include "grid/CGXControl.h"
#include "grid/CGXDIBPool.h"
#include "grid/CGXFont.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "platform/base/GlobalMemory.h"
#include "platform/display/SystemMetrics.h"
#include "platform/framework/AfxControls.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"

#include <algorithm>

CString CGXCellTipStatic::TipText(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    CString text;
    m_pControl->ValueToDisplayText(text, row, col, nullptr, style);
    return text;
}

BOOL CGXCellTipStatic::IsPicture(const CString& text) {
    return !m_pControl->IsWindowKindOf(RUNTIME_CLASS(CEdit)) && text.Left(4) == CString(u"#BMP");
}

int CGXCellTipStatic::GetTipKind(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    return m_pControl && IsPicture(TipText(row, col, style)) ? kTipPicture : kTipText;
}

BOOL CGXCellTipStatic::NeedsTip(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    if (!m_pControl) {
        return 0;
    }
    const CString text = TipText(row, col, style);
    if (IsPicture(text)) {
        return PictureTest(row, col, text, style);
    }
    return style.GetWrapText() ? 0 : TextTest(row, col, text, style);
}

void CGXCellTipStatic::InitTip(ROWCOL, ROWCOL, const CGXStyle&, CWnd*) {
    // The tip windows that would be filled here are not part of the grid yet.
}

CRect CGXCellTipStatic::CellRect(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    CGXGridCore* grid = m_pControl->Grid();
    CRect rect = grid->CalcCellRectSpanned(row, col);
    const auto width = [&](int side) {
        return style.HasBorder(side) ? std::max(1, static_cast<int>(style.GetBorders(side).GetWidth())) : 0;
    };
    rect.left += width(kBorderLeft);
    rect.top += width(kBorderTop);
    rect.right -= std::max(0, width(kBorderRight) - 1);
    rect.bottom -= std::max(0, width(kBorderBottom) - 1);
    if (CWnd* window = grid->GridWnd()) {
        window->ClientToScreen(&rect);
    }
    return rect;
}

CSize CGXCellTipStatic::TextSize(const CString& text, const CGXStyle& style, BOOL zoomed) {
    CGXGridCore* grid = m_pControl->Grid();
    CWnd* window = grid->GridWnd();
    if (!style.GetIncludeFont() || !window) {
        return CSize(0, 0);
    }
    CClientDC dc(window);
    CFont font;
    const LOGFONTW logFont = zoomed ? style.GetFont().GetLogFontZoomed(grid->GetZoom()) : style.GetFont().GetLogFont();
    font.CreateFontIndirect(&logFont);
    CFont* old = dc.SelectObject(&font);
    const CSize size = dc.GetTextExtent(text, text.GetLength());
    dc.SelectObject(old);
    return size;
}

CPoint CGXCellTipStatic::TextOrigin(const CString& text, const CRect& r, const CGXStyle& style) {
    const int h = style.GetIncludeHorizontalAlignment() ? style.GetHorizontalAlignment() : 0;
    const int v = style.GetIncludeVerticalAlignment() ? style.GetVerticalAlignment() : 0;
    if (h == 0 && v == 0) {
        return r.TopLeft();
    }
    CString shown = text;
    CSize size = TextSize(shown, style, FALSE);
    if (h != 0) {
        // Centred and right-aligned texts are placed as drawn: shortened, with dots when the cell asks.
        const BOOL dots = style.HasUserAttribute(kAttrEllipsisKind) &&
                          style.GetUserAttribute(kAttrEllipsisKind).GetLongValue() == 1;
        int dotCount = dots ? 3 : 0;
        while (size.cx > r.Width() && shown.GetLength() >= 2 && (!dots || dotCount > 0)) {
            shown = shown.Left(shown.GetLength() - 1);
            if (dots && shown.GetLength() == 1) {
                --dotCount;
            }
            CString measured = shown;
            for (int i = 0; i < dotCount; ++i) {
                measured += u".";
            }
            size = TextSize(measured, style, FALSE);
        }
    }
    CPoint origin = r.TopLeft();
    if (h == DT_RIGHT) {
        origin.x = std::max(r.left, r.right - size.cx);
    } else if (h == DT_CENTER) {
        origin.x = r.left + std::max(0, static_cast<int>(r.right - size.cx - r.left) / 2);
    }
    if (v == DT_BOTTOM) {
        origin.y = std::max(r.top, r.bottom - size.cy);
    } else if (v == DT_VCENTER) {
        origin.y = r.top + std::max(0, static_cast<int>(r.bottom - size.cy - r.top) / 2);
    }
    return origin;
}

int CGXCellTipStatic::OutsideFlags(const CRect& rect) {
    int flags = 0;
    if (CWnd* window = m_pControl->Grid()->GridWnd()) {
        CRect client;
        window->GetClientRect(&client);
        window->ClientToScreen(&client);
        if (rect.left < client.left || rect.right > client.right) {
            flags |= kTipPastWindowSides;
        }
        if (rect.top < client.top || rect.bottom > client.bottom) {
            flags |= kTipPastWindowTopOrBottom;
        }
    }
    if (rect.left < 0 || rect.right > ::GetSystemMetrics(SM_CXSCREEN)) {
        flags |= kTipPastScreenSides;
    }
    if (rect.top < 0 || rect.bottom > ::GetSystemMetrics(SM_CYSCREEN)) {
        flags |= kTipPastScreenTopOrBottom;
    }
    return flags;
}

int CGXCellTipStatic::TextTest(ROWCOL row, ROWCOL col, const CString& text, const CGXStyle& style) {
    const CGXFont& font = style.GetFont();
    if (style.GetIncludeFont() && font.GetIncludeOrientation() && font.GetOrientation() != 0) {
        return 0;
    }
    const CRect cell = CellRect(row, col, style);
    const CRect r = m_pControl->GetInnerRect(row, col, &cell, &style);
    const CSize size = TextSize(text, style, TRUE);
    const CPoint p = TextOrigin(text, r, style);
    const CRect visible(p.x, p.y, std::min(p.x + size.cx, r.right), std::min(p.y + size.cy, r.bottom));
    int flags = 0;
    if (visible.Width() < size.cx) {
        flags |= kTipWiderThanCell;
    }
    if (visible.Height() < size.cy) {
        flags |= kTipTallerThanCell;
    }
    return flags | OutsideFlags(visible);
}

int CGXCellTipStatic::PictureTest(ROWCOL row, ROWCOL col, const CString& text, const CGXStyle& style) {
    HGLOBAL picture = GetDIBPool()->LookupDIB(text);
    if (!picture) {
        return 0;
    }
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(picture));
    const int w = header ? header->biWidth : 0;
    const int h = header ? std::abs(header->biHeight) : 0;
    ::GlobalUnlock(picture);
    const CRect c = CellRect(row, col, style);
    CPoint o = c.TopLeft();
    const int align = style.GetIncludeHorizontalAlignment() ? style.GetHorizontalAlignment() : 0;
    const int valign = style.GetIncludeVerticalAlignment() ? style.GetVerticalAlignment() : 0;
    if (align == DT_CENTER && w < c.Width()) {
        o.x = c.left + (c.Width() - w) / 2;
    } else if (align == DT_RIGHT && w < c.Width()) {
        o.x = c.right - w - 1;
    }
    if (valign == DT_VCENTER && h < c.Height()) {
        o.y = c.top + (c.Height() - h) / 2;
    } else if (valign == DT_BOTTOM && h < c.Height()) {
        o.y = c.bottom - h - 1;
    }
    int flags = 0;
    if (c.Width() < w) {
        flags |= kTipWiderThanCell;
    }
    if (c.Height() < h) {
        flags |= kTipTallerThanCell;
    }
    return flags | OutsideFlags(CRect(o.x, o.y, o.x + w, o.y + h));
}
