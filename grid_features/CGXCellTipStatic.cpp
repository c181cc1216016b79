#include "grid_features/CGXCellTipStatic.h"

#include "grid/CGXControl.h"
#include "grid/CGXDIBPool.h"
#include "grid/CGXFont.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "grid_features/CGXCellTipWnd.h"
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

void CGXCellTipStatic::InitTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CWnd* tipWindow) {
    if (!m_pControl) {
        return;
    }
    if (auto* text = dynamic_cast<CGXTextCellTipWnd*>(tipWindow)) {
        InitTextTip(row, col, style, text);
    } else if (auto* picture = dynamic_cast<CGXStaticBitmapCellTipWnd*>(tipWindow)) {
        InitPictureTip(row, col, style, picture);
    }
}

void CGXCellTipStatic::InitTextTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CGXTextCellTipWnd* tip) {
    const CString text = TipText(row, col, style);
    tip->SetWindowTextW(text);
    tip->SetTipFont(style.GetFont().GetLogFontZoomed(m_pControl->Grid()->GetZoom()));

    const CRect c = CellRect(row, col, style);
    const CRect r = m_pControl->GetInnerRect(row, col, &c, &style);
    const CSize s = TextSize(text, style, TRUE) + CSize(6, 2);
    const int flags = TextTest(row, col, text, style);
    const CPoint p = TextOrigin(text, r, style);
    const int h = style.GetIncludeHorizontalAlignment() ? style.GetHorizontalAlignment() : 0;
    const int v = style.GetIncludeVerticalAlignment() ? style.GetVerticalAlignment() : 0;
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);

    // Past the screen the tip is the text's own size; past the window it ends with the text; otherwise it
    // covers at least the cell.
    int w = 0;
    if (flags & kTipPastScreenSides) {
        w = s.cx;
    } else if ((flags & kTipPastWindowSides) && h != DT_CENTER) {
        w = p.x + s.cx - r.left;
    } else {
        w = std::max<int>(p.x + s.cx - r.left, std::min<int>(screenW - r.left + 1, c.right - r.left + 1));
    }
    int hgt = 0;
    if (flags & kTipPastScreenTopOrBottom) {
        hgt = s.cy;
    } else if ((flags & kTipPastWindowTopOrBottom) && v != DT_VCENTER) {
        hgt = p.y + s.cy - r.top;
    } else {
        hgt = std::max<int>(p.y + s.cy - r.top, std::min<int>(screenH - r.top, c.bottom - r.top));
    }
    int left = c.left;
    if (flags & kTipPastScreenSides) {
        left = c.left + w > screenW ? screenW : 0;
    }
    left = std::clamp(left, 0, std::max(0, screenW - w));
    int top = c.top;
    if (flags & kTipPastScreenTopOrBottom) {
        top = c.top + hgt > screenH ? screenH : 0;
    }
    top = std::clamp(top, 0, std::max(0, screenH - hgt));
    tip->SetWindowPos(nullptr, left, top, w, hgt, SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW);

    CPoint at(std::min<int>(p.x, screenW - s.cx + 2), std::min<int>(p.y, screenH - s.cy + 2));
    tip->ScreenToClient(&at);
    CRect client;
    tip->GetClientRect(&client);
    CRect textRect = client;
    textRect.left = (flags & kTipPastScreenSides) ? client.left + 2 : at.x;
    if (!(flags & kTipPastScreenTopOrBottom)) {
        textRect.top = at.y;
    }
    if (v == DT_BOTTOM) {
        textRect.top = std::max(0, static_cast<int>(textRect.top) - 1);
    }
    tip->SetTextRect(textRect);
}

void CGXCellTipStatic::InitPictureTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CGXStaticBitmapCellTipWnd* tip) {
    HGLOBAL picture = GetDIBPool()->LookupDIB(TipText(row, col, style));
    if (!picture) {
        return;
    }
    tip->SetPicture(picture);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(picture));
    const int pw = header ? header->biWidth : 0;
    const int ph = header ? std::abs(header->biHeight) : 0;
    ::GlobalUnlock(picture);

    const CRect c = CellRect(row, col, style);
    const CRect r = m_pControl->GetInnerRect(row, col, &c, &style);
    const int w = std::max<int>(pw + 1, c.right - r.left + 1);
    const int hgt = std::max<int>(ph + 1, c.bottom - r.top - 1);
    int left = std::max(0, std::min<int>(c.left, ::GetSystemMetrics(SM_CXFULLSCREEN) - w));
    int top = std::max(0, std::min<int>(c.top, ::GetSystemMetrics(SM_CYFULLSCREEN) - hgt));
    const int h = style.GetIncludeHorizontalAlignment() ? style.GetHorizontalAlignment() : 0;
    const int v = style.GetIncludeVerticalAlignment() ? style.GetVerticalAlignment() : 0;
    if (v == DT_BOTTOM && ph >= c.Height()) {
        top = c.bottom - hgt;
    }
    tip->SetWindowPos(nullptr, left, top, w, hgt, SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW);

    CRect place;
    tip->GetClientRect(&place);
    if (pw < c.Width()) {
        if (h == DT_CENTER) {
            place.left += (place.Width() - pw) / 2;
        } else if (h == DT_RIGHT) {
            place.left = place.right - pw;
        }
    }
    if (ph < c.Height()) {
        if (v == DT_VCENTER) {
            place.top += (place.Height() - ph) / 2;
        } else if (v == DT_BOTTOM) {
            place.top = place.bottom - ph;
        }
    }
    place.right = place.left + pw;
    place.bottom = place.top + ph;
    tip->SetPictureRect(place);
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
