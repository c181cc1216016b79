#include "grid/CGXStatic.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXStyle.h"
#include "platform/display/SystemMetrics.h"

const ControlTypeRecord CGXStatic::kTypeRecord = {"CGXStatic", &CGXControl::kTypeRecord};

int CGXStatic::TextMargin() {
    const int half = ::GetSystemMetrics(SM_CXFRAME) / 2;
    return half >= 3 ? half : 2;
}

CRect CGXStatic::GetInnerRect(ROWCOL row, ROWCOL col, const RECT* cellRect, const CGXStyle* style) {
    const CGXStyle& s = style ? *style : m_pGrid->LookupStyleRowCol(row, col);
    CRect rect = CGXControl::GetInnerRect(row, col, cellRect, &s);
    const int margin = TextMargin();
    rect.left += margin;
    const BOOL right = s.GetIncludeHorizontalAlignment() && s.GetHorizontalAlignment() == DT_RIGHT;
    rect.right -= right ? margin + 1 : margin / 2;
    return rect;
}

CSize CGXStatic::AddBorderSize(int width, int height, const CGXStyle& style) {
    return m_pGrid->AddBorders(width + 2 * TextMargin() + 1, height, style);
}

CSize CGXStatic::CalcCellSize(CDC* dc, ROWCOL row, ROWCOL col, const CGXStyle& style, const CGXStyle* standard,
                              BOOL widthOnly, int extra) {
    auto* calc = static_cast<CGXAbstractCalcSizeImp*>(m_pGrid->GetFeature(kFeatureCalcSize));
    return calc ? calc->CalcSize(m_pGrid, this, dc, row, col, style, standard, widthOnly, extra) : CSize(0, 0);
}

BOOL CGXStatic::CanFloatCell(ROWCOL row, ROWCOL col, const CGXStyle& style, BOOL floatCell) {
    auto* floating = static_cast<CGXAbstractGridFloatCellsImp*>(m_pGrid->GetFeature(kFeatureFloatCells));
    return floating ? floating->CanControlFloatCell(m_pGrid, this, row, col, style, floatCell) : FALSE;
}

void CGXStatic::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                     const CGXStyle* standardStyle) {
    GetDrawingAndFormatting()->DrawStaticCell(this, dc, rect, row, col, style, standardStyle);
}
