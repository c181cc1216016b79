#include "grid/CGXControl.h"

#include "grid/CGXBrushValue.h"
#include "grid/CGXChild.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/GridKeyDispatch.h"
#include "grid/GridSysColorCache.h"
#include "platform/gdi/SystemColors.h"
#include "platform/framework/CDC.h"

#include <cstring>

const ControlTypeRecord CGXControl::kTypeRecord = {"CGXControl", nullptr};

CGXControl::CGXControl(CGXGridCore* grid) : m_pGrid(grid) {}

CGXControl::~CGXControl() = default;

CWnd* CGXControl::GetGridWnd() const {
    return m_pGrid ? m_pGrid->GridWnd() : nullptr;
}

const CGXStyle& CGXControl::GetCachedStyle() {
    if (!m_pStyle) {
        m_pStyle = std::make_unique<CGXStyle>();
        if (m_bBound) {
            *m_pStyle = m_pGrid->LookupStyleRowCol(m_nRow, m_nCol);
        }
    }
    return *m_pStyle;
}

void CGXControl::FreeStyle(BOOL resetGridCache) {
    m_pStyle.reset();
    if (resetGridCache) {
        m_pGrid->ResetCurrentCellCache();
    }
}

BOOL CGXControl::IsControlTypeOf(const ControlTypeRecord* record) const {
    for (const ControlTypeRecord* own = GetTypeRecord(); own && record; own = own->base) {
        if (own == record || std::strcmp(own->name, record->name) == 0) {
            return TRUE;
        }
    }
    return FALSE;
}

CFont* CGXControl::SelectCellFont(CDC* dc, const CGXStyle& style, const CGXStyle* standardStyle) {
    return m_pGrid->LoadFont(dc, &style, standardStyle);
}

void CGXControl::InitCell(ROWCOL row, ROWCOL col) {
    m_nRow = row;
    m_nCol = col;
    m_bBound = TRUE;
    SetActive(FALSE);
    SetModified(FALSE);
    FreeStyle(FALSE);
    SetActiveChild(nullptr);
    PlaceChildren(row, col, GetInnerRect(row, col));
    m_pGrid->OnInitCurrentCell(row, col);
    CGXGridParam* param = m_pGrid->GetParam();
    if (param && (param->m_wActivateCell & 0x4) && AskStartEdit()) {
        SetActive(TRUE);
    }
}

void CGXControl::ResetCell() {
    Hide();
    SetModified(FALSE);
    SetActive(FALSE);
    FreeStyle(TRUE);
    m_bBound = FALSE;
}

BOOL CGXControl::ValidateValue() {
    return m_bBound ? m_pGrid->OnValidateCell(m_nRow, m_nCol) : TRUE;
}

BOOL CGXControl::AskStartEdit() {
    return m_bBound && m_pGrid->OnStartEditing(m_nRow, m_nCol);
}

BOOL CGXControl::ReportEditEnded() {
    return m_pGrid->OnEndEditing(m_nRow, m_nCol);
}

BOOL CGXControl::ReportCellLeft(ROWCOL newRow, ROWCOL newCol) {
    return m_pGrid->OnLeftCell(m_nRow, m_nCol, newRow, newCol);
}

BOOL CGXControl::AskCancelEdit() {
    return m_pGrid->OnCancelEditing(m_nRow, m_nCol);
}

void CGXControl::ReportEditCancelled() {}

void CGXControl::GetEditText(CString& text) {
    text.Empty();
    if (m_bBound) {
        text = GetCachedStyle().GetValue();
    }
}

void CGXControl::SetEditText(const CString& text) {
    if (m_bBound) {
        CGXStyle style;
        style.SetValue(text);
        m_pGrid->StoreStyleRowCol(m_nRow, m_nCol, &style, kMergeOverride, 0);
    }
}

CRect CGXControl::GetInnerRect(ROWCOL row, ROWCOL col, const RECT* cellRect, const CGXStyle* style) {
    const CGXStyle& cellStyle = style ? *style : m_pGrid->LookupStyleRowCol(row, col);
    const CRect cell = cellRect ? CRect(*cellRect) : m_pGrid->CalcRangeRectCovered(row, col, row, col);
    CRect inner = m_pGrid->SubtractBorders(cell, cellStyle, TRUE);
    CGXGridParam* param = m_pGrid->GetParam();
    if (param && !param->m_bGridLinesAtRightBottom) {
        // The last frozen column and row keep their own dividing line inside the cell.
        if (m_pGrid->LinesOn(FALSE) && col > m_pGrid->GetHeaderCols() && col == m_pGrid->GetFrozenCols() &&
            !cellStyle.HasBorder(kBorderRight)) {
            --inner.right;
        }
        if (m_pGrid->LinesOn(TRUE) && row > m_pGrid->GetHeaderRows() && row == m_pGrid->GetFrozenRows() &&
            !cellStyle.HasBorder(kBorderBottom)) {
            --inner.bottom;
        }
    }
    return inner;
}

CSize CGXControl::AddBorderSize(int width, int height, const CGXStyle& style) {
    return m_pGrid->AddBorders(width, height, style);
}

CSize CGXControl::CalcCellSize(CDC*, ROWCOL, ROWCOL, const CGXStyle&, const CGXStyle*, BOOL) {
    return CSize(0, 0);
}

BOOL CGXControl::DisplayTextToValue(CString&, ROWCOL, ROWCOL, const CGXStyle*) {
    return TRUE;
}

BOOL CGXControl::StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind,
                            const CGXStyle* cellStyle) {
    CGXGridParam* param = m_pGrid->GetParam();
    if (param && param->m_bReadOnlyProtectsData &&
        (m_pGrid->IsReadOnly() || (cellStyle && cellStyle->GetIncludeReadOnly() && cellStyle->GetReadOnly()))) {
        return FALSE;
    }
    const BOOL result = m_pGrid->StoreStyleRowCol(row, col, style, mode, kind);
    if (!result || !m_pGrid->IsCurrentCell(row, col)) {
        return result;
    }
    if (!IsBoundTo(row, col) || kind == 4) {
        InitCell(row, col);
        return result;
    }
    FreeStyle(TRUE);
    GetCachedStyle();
    const BOOL modified = IsModified();
    if (style && style->GetIncludeControlId()) {
        m_pGrid->ResetCurrentCellCache();
    } else if (style && style->GetIncludeValue()) {
        m_pStyle->SetValue(style->GetValue());
    }
    RedrawCell();
    SetModified(kind == 2 ? FALSE : modified);
    return result;
}

void CGXControl::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style, const CGXStyle*) {
    if (m_children.empty()) {
        return;
    }
    PlaceChildren(row, col, GetInnerRect(row, col, &rect, &style));
    const BOOL active = m_pGrid->IsCurrentCell(row, col) && !m_pGrid->IsPrinting() && m_pGrid->IsGridActive();
    for (const auto& child : m_children) {
        child->Draw(dc, active);
    }
}

void CGXControl::DrawCurrentCellFrame(CDC* dc, const RECT& rect) {
    // The thin inverted frame: one-pixel strips along the four sides.
    const CRect r(rect);
    const RECT strips[] = {{r.left, r.top, r.left + 1, r.bottom},
                           {r.right - 1, r.top, r.right, r.bottom},
                           {r.left + 1, r.top, r.right - 1, r.top + 1},
                           {r.left + 1, r.bottom - 1, r.right - 1, r.bottom}};
    for (const RECT& strip : strips) {
        dc->InvertRect(&strip);
    }
}

void CGXControl::DrawBackground(CDC* dc, const RECT& rect, const CGXStyle& style, BOOL erase) {
    CGXGridParam* param = m_pGrid->GetParam();
    const BOOL transparent = param && param->m_bTransparentBackground;
    if (erase || (!transparent && m_pGrid->IsDrawCellBackground())) {
        m_pGrid->FillRectWithBrush(dc, rect, style.GetInterior());
    }
}

void CGXControl::DrawFrame3d(CDC* dc, const RECT& rect, const CGXStyle& style) {
    if (IsPrintingBlackAndWhite()) {
        return;
    }
    const int kind = style.GetIncludeDraw3dFrame() ? style.GetDraw3dFrame() : 0;
    if (kind != 1 && kind != 2) {
        return;
    }
    const CRect inner = m_pGrid->SubtractBorders(rect, style, TRUE);
    const COLORREF highlight = GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT);
    const COLORREF black = RGB(0, 0, 0);
    GetDrawingAndFormatting()->Draw3dFrame(dc, inner.left - 1, inner.top - 1, inner.right, inner.bottom, 1,
                                           kind == 1 ? highlight : black, kind == 1 ? black : highlight);
}

BOOL CGXControl::IsPrintingBlackAndWhite() const {
    CGXGridParam* param = m_pGrid->GetParam();
    const CGXProperties* properties = param ? param->GetProperties() : nullptr;
    return properties && properties->printing && properties->printBlackAndWhite;
}

void CGXControl::ChildClicked(CGXChild*) {
    if (m_bBound) {
        m_pGrid->OnClickedButtonRowCol(m_nRow, m_nCol);
    }
}

void CGXControl::SysColorChanged() {
    for (const auto& child : m_children) {
        child->SysColorChanged();
    }
}

BOOL CGXControl::IsReadOnly() {
    const CGXStyle& style = GetCachedStyle();
    CGXGridParam* param = m_pGrid->GetParam();
    if (!param || !param->m_bReadOnlyProtectsData) {
        return FALSE;
    }
    return m_pGrid->IsReadOnly() || (style.GetIncludeReadOnly() && style.GetReadOnly());
}

void CGXControl::CancelMode() {
    for (const auto& child : m_children) {
        child->CancelMode();
    }
}

void CGXControl::AddChild(CGXChild* child) {
    m_children.emplace_back(child);
}

CGXChild* CGXControl::GetChild(int index) const {
    return index >= 0 && index < GetChildCount() ? m_children[static_cast<size_t>(index)].get() : nullptr;
}

void CGXControl::PlaceChildrenInBoundCell() {
    if (m_bBound && !m_children.empty()) {
        PlaceChildren(m_nRow, m_nCol, GetInnerRect(m_nRow, m_nCol));
    }
}

CGXChild* CGXControl::ChildAt(POINT point) const {
    for (const auto& child : m_children) {
        if (child->HitTest(point.x, point.y)) {
            return child.get();
        }
    }
    return nullptr;
}

void CGXControl::RedrawCell() {
    if (!m_bBound) {
        return;
    }
    Hide();
    CRect rect = m_pGrid->CalcCellRectSpanned(m_nRow, m_nCol);
    m_pGrid->InvalidateGridRect(&rect, TRUE);
}

BOOL CGXControl::MouseMove(UINT flags, POINT point, UINT) {
    PlaceChildrenInBoundCell();
    return m_pActiveChild ? m_pActiveChild->MouseMove(flags, point.x, point.y) : FALSE;
}

BOOL CGXControl::MouseMoveOver(ROWCOL, ROWCOL, UINT, POINT) {
    return FALSE;
}

BOOL CGXControl::LButtonDown(UINT flags, POINT point, UINT) {
    PlaceChildrenInBoundCell();
    CGXChild* child = ChildAt(point);
    if (!child) {
        return FALSE;
    }
    SetActiveChild(child);
    return child->LButtonDown(flags, point.x, point.y);
}

BOOL CGXControl::LButtonUp(UINT flags, POINT point, UINT) {
    PlaceChildrenInBoundCell();
    // The child that took the press takes the release, wherever the pointer is now.
    BOOL taken = m_pActiveChild ? m_pActiveChild->LButtonUp(flags, point.x, point.y) : FALSE;
    if (m_bBound && GetInnerRect(m_nRow, m_nCol).PtInRect(point)) {
        taken |= m_pGrid->OnLButtonClickedRowCol(m_nRow, m_nCol, flags, point);
    }
    return taken;
}

BOOL CGXControl::LButtonDblClk(UINT flags, POINT point) {
    PlaceChildrenInBoundCell();
    BOOL taken = FALSE;
    for (const auto& child : m_children) {
        if (!taken && child->HitTest(point.x, point.y)) {
            SetActiveChild(child.get());
            taken = child->LButtonDblClk(flags, point.x, point.y);
        }
    }
    return (m_bBound && m_pGrid->OnLButtonDblClkRowCol(m_nRow, m_nCol, flags, point)) || taken;
}

BOOL CGXControl::MButtonDown(UINT, POINT, UINT) {
    return FALSE;
}

BOOL CGXControl::MButtonUp(UINT flags, POINT point, UINT) {
    return m_bBound && m_pGrid->OnMButtonClickedRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::MButtonDblClk(UINT flags, POINT point) {
    return m_bBound && m_pGrid->OnMButtonDblClkRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::RButtonDown(UINT, POINT, UINT) {
    return FALSE;
}

BOOL CGXControl::RButtonUp(UINT flags, POINT point, UINT) {
    return m_bBound && m_pGrid->OnRButtonClickedRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::RButtonDblClk(UINT flags, POINT point) {
    return m_bBound && m_pGrid->OnRButtonDblClkRowCol(m_nRow, m_nCol, flags, point);
}

BOOL CGXControl::KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags) {
    if (m_pActiveChild && m_pActiveChild->KeyMessage(message, key, repeat, flags)) {
        return TRUE;
    }
    return DispatchCellKeyMessage(*this, message, key, repeat, flags, m_bPendingLead, m_storedUnit);
}

BOOL CharToText(WCHAR character, CString& text, BOOL& pendingLead, WCHAR storedUnit) {
    if (!pendingLead) {
        const WCHAR alone[2] = {character, 0};
        text = alone;
        return FALSE;
    }
    pendingLead = FALSE;
    const WCHAR pair[3] = {storedUnit, character, 0};
    text = pair;
    return TRUE;
}
