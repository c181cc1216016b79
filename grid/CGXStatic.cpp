#include "grid/CGXStatic.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/WindowConstants.h"
#include "platform/framework/CDC.h"

namespace {

int TextMargin() {
    const int half = ::GetSystemMetrics(SM_CXFRAME) / 2;
    return half >= 3 ? half : 2;
}

} // namespace

CRect& CGXStatic::GetInnerRect(CRect& rect, ROWCOL row, ROWCOL col, const RECT* cellRect,
                               const CGXStyle* style) {
    if (!style) {
        style = &m_pGrid->LookupStyleRowCol(row, col);
    }
    CGXControl::GetInnerRect(rect, row, col, cellRect, style);
    const int margin = TextMargin();
    rect.left += margin;
    const BOOL right =
        style->GetIncludeHorizontalAlignment() && style->GetHorizontalAlignment() == kTextRight;
    rect.right -= right ? margin + 1 : margin / 2;
    return rect;
}

UINT CGXStatic::TextFormat(const CGXStyle& style) {
    const UINT alignment = static_cast<UINT>(style.GetHorizontalAlignment() | style.GetVerticalAlignment());
    return alignment | kTextNoPrefix | (style.GetWrapText() ? kTextWordBreak : kTextSingleLine);
}

void CGXStatic::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                     const CGXStyle* standardStyle) {
    DrawBackground(dc, rect, style, FALSE);
    CString text;
    ValueToDisplayText(text, row, col, nullptr, style);
    const CRect cell(rect);
    if (!text.IsEmpty() && cell.Width() > 1 && cell.Height() > 1) {
        CFont* oldFont = m_pGrid->LoadFont(dc, &style, standardStyle);
        CRect inner;
        GetInnerRect(inner, row, col, &rect, &style);
        dc->SetTextColor(style.GetTextColor());
        dc->SetBkMode(TRANSPARENT);
        GetDrawingAndFormatting()->DrawText(dc, text, -1, inner.left, inner.top, inner.right, inner.bottom,
                                            TextFormat(style), &rect);
        if (oldFont) {
            dc->SelectObject(oldFont);
        }
    }
    CGXControl::Draw(dc, rect, row, col, style, standardStyle);
}
