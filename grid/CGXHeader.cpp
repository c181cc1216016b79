#include "grid/CGXHeader.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/GridSysColorCache.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/SystemColors.h"

const ControlTypeRecord CGXHeader::kTypeRecord = {"CGXHeader", &CGXStatic::kTypeRecord};

void CGXHeader::DrawCurrentCellFrame(CDC* dc, const RECT& rect) {
    dc->DrawFocusRect(&rect);
}

BOOL CGXHeader::DrawFace(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style, BOOL marked) {
    CGXGridParam* param = m_pGrid->GetParam();
    const CGXProperties* properties = param ? param->GetProperties() : nullptr;
    const BOOL threeD = properties && properties->threeDHeader;
    if ((style.GetIncludeDraw3dFrame() && style.GetDraw3dFrame() != 0) || !threeD) {
        return marked;
    }
    const CRect b = m_pGrid->SubtractBorders(rect, style, TRUE);
    if (m_pGrid->IsPrinting()) {
        // Printed headers get a plain line where the style leaves the edge without a border.
        if (col <= m_pGrid->GetHeaderCols() || row <= m_pGrid->GetHeaderRows()) {
            const CGXPenValue black(PS_SOLID, 1, RGB(0, 0, 0));
            if (style.GetBorders(kBorderBottom).GetStyle() == PS_NULL && properties->printHorizontalLines) {
                m_pGrid->DrawBorderLine(black, rect, 3, dc, nullptr);
            }
            if (style.GetBorders(kBorderRight).GetStyle() == PS_NULL && properties->printVerticalLines) {
                m_pGrid->DrawBorderLine(black, rect, 1, dc, nullptr);
            }
        }
        return marked;
    }
    if (marked) {
        FillRectColor(dc, CRect(b.left, b.bottom - 1, b.right - 1, b.bottom), RGB(0, 0, 0));
        FillRectColor(dc, CRect(b.right - 1, b.top, b.right, b.bottom), RGB(0, 0, 0));
        return TRUE;
    }
    GetDrawingAndFormatting()->Draw3dFrame(dc, b.left, b.top, b.right - 1, b.bottom - 1, 1,
                                           GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT), RGB(0, 0, 0));
    return FALSE;
}

void CGXHeader::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                     const CGXStyle* standardStyle) {
    CRect inner = GetInnerRect(row, col, &rect, &style);
    const CRect cell(rect);
    if (cell.Width() <= 1 || cell.Height() <= 1) {
        return;
    }
    CFont* oldFont = SelectCellFont(dc, style, standardStyle);
    dc->SetTextColor(IsBlackAndWhitePrinting() ? RGB(0, 0, 0) : style.GetTextColor());
    const BOOL marked = IsHeaderMarked(row, col, style);
    DrawBackground(dc, rect, style, FALSE);
    if (DrawFace(dc, rect, row, col, style, marked)) {
        inner.OffsetRect(1, 1);
    }
    dc->SetBkMode(TRANSPARENT);
    CString text;
    ValueToDisplayText(text, row, col, nullptr, style);
    CGXDrawingAndFormatting* services = GetDrawingAndFormatting();
    if (!CGXDrawingAndFormatting::DrawCellPicture(dc, text, inner, style) && !text.IsEmpty()) {
        services->DrawCellText(dc, text, inner, CGXDrawingAndFormatting::CellTextFormat(style), style, rect);
    }
    CGXControl::Draw(dc, rect, row, col, style, standardStyle);
    if (oldFont) {
        dc->SelectObject(oldFont);
    }
}
