#include "grid/CGXProgressCtrl.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/UserDraw.h"

#include <algorithm>
#include <cstdio>
#include <string>

const ControlTypeRecord CGXProgressCtrl::kTypeRecord = {"CGXProgressCtrl", &CGXControl::kTypeRecord};

namespace {

long LongAttribute(const CGXStyle& style, WORD id) {
    return _wtol(style.GetUserAttribute(id).GetValue());
}

bool IsIntegerConversion(char16_t c) {
    return c == u'd' || c == u'i' || c == u'u' || c == u'x' || c == u'X' || c == u'o';
}

// One integer conversion's field: flags, width and precision (each width held to two digits, so that no
// template can ask for a huge field), as a narrow printf directive for a 64-bit integer.
std::string Directive(const std::u16string& flags, int width, int precision, char16_t conversion) {
    std::string out = "%";
    for (char16_t c : flags) {
        out += static_cast<char>(c);
    }
    if (width > 0) {
        out += std::to_string(width);
    }
    if (precision >= 0) {
        out += "." + std::to_string(precision);
    }
    out += "ll";
    out += static_cast<char>(conversion);
    return out;
}

} // namespace

CString FormatProgressCaption(const CString& format, long value) {
    const std::u16string text(static_cast<LPCTSTR>(format), static_cast<size_t>(format.GetLength()));
    std::u16string out;
    bool valueUsed = false;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != u'%') {
            out += text[i++];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'%') {
            out += u'%';
            i += 2;
            continue;
        }
        // Read a directive: flags, width, precision, length modifiers, conversion.
        size_t j = i + 1;
        std::u16string flags;
        while (j < text.size() && std::u16string_view(u"-+ 0#").find(text[j]) != std::u16string_view::npos) {
            flags += text[j++];
        }
        int width = 0;
        while (j < text.size() && text[j] >= u'0' && text[j] <= u'9') {
            width = std::min(99, width * 10 + (text[j++] - u'0'));
        }
        int precision = -1;
        if (j < text.size() && text[j] == u'.') {
            ++j;
            precision = 0;
            while (j < text.size() && text[j] >= u'0' && text[j] <= u'9') {
                precision = std::min(99, precision * 10 + (text[j++] - u'0'));
            }
        }
        while (j < text.size() && (text[j] == u'l' || text[j] == u'h')) {
            ++j;
        }
        if (j < text.size() && IsIntegerConversion(text[j]) && !valueUsed) {
            const bool isSigned = text[j] == u'd' || text[j] == u'i';
            // The value is a 32-bit long: unsigned conversions see its 32-bit pattern.
            const long long argument = isSigned ? static_cast<long long>(static_cast<int32_t>(value))
                                                : static_cast<long long>(static_cast<uint32_t>(value));
            char buffer[256];
            std::snprintf(buffer, sizeof buffer, Directive(flags, width, precision, text[j]).c_str(),
                          argument);
            for (const char* c = buffer; *c; ++c) {
                out += static_cast<char16_t>(*c);
            }
            valueUsed = true;
            i = j + 1;
        } else {
            // Not a conversion the value can fill: shown as written.
            const size_t end = std::min(text.size(), j + 1);
            out.append(text, i, end - i);
            i = end;
        }
    }
    return CString(out.c_str(), static_cast<int>(out.size()));
}

void CGXProgressCtrl::RegisterUserAttributes(CGXStylesMap* stylesMap) {
    stylesMap->RegisterUserAttribute(kUpperBoundAttribute);
    stylesMap->RegisterUserAttribute(kLowerBoundAttribute);
    stylesMap->RegisterUserAttribute(kCaptionAttribute);
}

int CGXProgressCtrl::BarRight(long value, long lower, long upper, int left, int right) {
    const long low = std::min(lower, upper);
    const long high = std::max(lower, upper);
    if (right <= left) {
        return left;
    }
    if (low == high) {
        return value >= high ? right : left;
    }
    const long long done = static_cast<long long>(std::clamp(value, low, high)) - low;
    const long long span = static_cast<long long>(high) - low;
    return left + static_cast<int>(done * (right - left) / span);
}

CString& CGXProgressCtrl::FormatCaption(CString& out, ROWCOL, ROWCOL, const CGXStyle& style) {
    out =
        FormatProgressCaption(style.GetUserAttribute(kCaptionAttribute).GetValue(), _wtol(style.GetValue()));
    return out;
}

COLORREF CGXProgressCtrl::GetBarColor(BOOL bar, const CGXStyle& style) {
    return bar ? style.GetTextColor() : style.GetInterior().GetColor();
}

COLORREF CGXProgressCtrl::GetCaptionColor(BOOL onBar, const CGXStyle& style) {
    return onBar ? style.GetInterior().GetColor() : style.GetTextColor();
}

void CGXProgressCtrl::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                           const CGXStyle* standardStyle) {
    const BOOL blackAndWhite = IsBlackAndWhitePrinting();
    const long upper = LongAttribute(style, kUpperBoundAttribute);
    const long lower = LongAttribute(style, kLowerBoundAttribute);
    const int width = rect.right - rect.left;
    m_scale = width != 0 ? (static_cast<double>(upper) - lower) / width : 1.0;

    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF barColor = blackAndWhite ? black : GetBarColor(TRUE, style);
    const COLORREF restColor = blackAndWhite ? white : GetBarColor(FALSE, style);
    const COLORREF captionOnBar = blackAndWhite ? white : GetCaptionColor(TRUE, style);
    const COLORREF captionElsewhere = blackAndWhite ? black : GetCaptionColor(FALSE, style);

    CString caption;
    FormatCaption(caption, row, col, style);
    const long value = _wtol(style.GetValue());

    CRect bar(rect.left, rect.top, BarRight(value, lower, upper, rect.left, rect.right), rect.bottom);
    CRect rest;
    if (bar.IsRectEmpty()) {
        rest = rect;
    } else {
        rest.SubtractRect(&rect, &bar);
    }
    if (!rest.IsRectEmpty()) {
        FillRectColor(dc, rest, restColor);
    }
    if (!bar.IsRectEmpty()) {
        FillRectColor(dc, bar, barColor);
    }
    const int frame = style.GetIncludeDraw3dFrame() ? style.GetDraw3dFrame() : 0;
    if (bar.Width() > 1 && (frame == 1 || frame == 2)) {
        CRect edge(bar);
        DrawEdgeRect(dc, edge, frame == 1 ? EDGE_RAISED : EDGE_SUNKEN, FALSE);
    }

    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    const CSize extent = dc->GetTextExtent(caption);
    if (!caption.IsEmpty() && extent.cx < width) {
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        const COLORREF oldColor = dc->GetTextColor();
        const int x = rect.left + (width - extent.cx) / 2;
        const int y = rect.top + (rect.bottom - rect.top - extent.cy) / 2;
        if (x + extent.cx >= bar.right) {
            dc->SetTextColor(captionElsewhere);
            dc->TextOutW(x, y, caption, caption.GetLength());
        }
        if (x < bar.right) {
            dc->SetTextColor(captionOnBar);
            // The part beyond the bar keeps the colour written first.
            const BOOL clip = x + extent.cx > bar.right && dc->m_hAttribDC;
            const int saved = clip ? dc->SaveDC() : 0;
            if (clip) {
                dc->IntersectClipRect(&bar);
            }
            dc->TextOutW(x, y, caption, caption.GetLength());
            if (clip) {
                dc->RestoreDC(saved);
            }
        }
        dc->SetTextColor(oldColor);
        dc->SetBkMode(oldMode);
    }
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
}

BOOL CGXProgressCtrl::StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind,
                                 const CGXStyle* cellStyle) {
    if (kind == 4 || !style || !style->GetIncludeValue()) {
        return CGXControl::StoreStyle(row, col, style, mode, kind, cellStyle);
    }
    const CGXStyle& cell = cellStyle ? *cellStyle : m_pGrid->LookupStyleRowCol(row, col);
    const auto bound = [&](WORD id, bool& given) {
        const CGXStyle& source = style->HasUserAttribute(id) ? *style : cell;
        given |= source.HasUserAttribute(id) != FALSE;
        return LongAttribute(source, id);
    };
    bool given = false;
    const long upper = bound(kUpperBoundAttribute, given);
    const long lower = bound(kLowerBoundAttribute, given);
    const long value = _wtol(style->GetValue());
    const long low = std::min(lower, upper);
    const long high = std::max(lower, upper);
    // Without any bound there is no range to hold the value to.
    if (!given || (value >= low && value <= high)) {
        return CGXControl::StoreStyle(row, col, style, mode, kind, cellStyle);
    }
    CGXStyle* clamped = style->Clone();
    clamped->SetValueLong(std::clamp(value, low, high));
    const BOOL result = CGXControl::StoreStyle(row, col, clamped, mode, kind, cellStyle);
    m_pGrid->RecycleStyle(clamped);
    return result;
}
