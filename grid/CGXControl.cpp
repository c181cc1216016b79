#include "grid/CGXControl.h"

#include "grid/CGXBrushValue.h"
#include "grid/CGXCellTipBase.h"
#include "grid/CGXChild.h"
#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/CellKeyDispatch.h"
#include "grid/GridChoiceList.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "grid/GridSysColorCache.h"
#include "grid/CGXRangeList.h"
#include "platform/base/CSharedFile.h"
#include "platform/base/CodePage.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/base/WideRuntime.h"
#include "platform/display/MessageApi.h"
#include "platform/display/WindowMessages.h"
#include "platform/framework/CDC.h"
#include "platform/gdi/SystemColors.h"
#include "platform/framework/CWnd.h"

#include <cstdlib>
#include <cstring>
#include <string>

const ControlTypeRecord CGXControl::kTypeRecord = {"CGXControl", nullptr};

namespace {

// A bound read as the C library reads numbers: the ANSI text, 0 when it is no number.
double ReadNumber(const CString& text) {
    const int length = text.GetLength();
    std::string narrow(static_cast<size_t>(length) * 2 + 1, '\0');
    const int written = ::WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(),
                                              static_cast<int>(narrow.size()) - 1, nullptr, nullptr);
    narrow.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return std::atof(narrow.c_str());
}

} // namespace

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

BOOL CGXControl::IsControlTypeOf(const ControlTypeRecord& record) const {
    for (const ControlTypeRecord* r = &GetTypeRecord(); r; r = r->base) {
        if (r == &record || std::strcmp(r->name, record.name) == 0) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CGXControl::IsWindowKindOf(const CRuntimeClass* windowClass) {
    CWnd* window = GetCellWindow();
    return window && window->IsKindOf(windowClass);
}

CFont* CGXControl::SelectCellFont(CDC* dc, const CGXStyle& style, const CGXStyle* standardStyle) {
    return m_pGrid->LoadFont(dc, &style, standardStyle);
}

void CGXControl::ForwardKillFocus(CWnd* newFocus) {
    CWnd* grid = GetGridWnd();
    if (!grid || newFocus == grid || GetIgnoreFocusChange()) {
        return;
    }
    HWND next = newFocus ? newFocus->GetSafeHwnd() : nullptr;
    if (next == grid->GetSafeHwnd()) {
        return;
    }
    ::SendMessageW(grid->GetSafeHwnd(), WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
}

void CGXControl::ExcludeRectFromPaint(const RECT& rect) {
    m_pGrid->ExcludeFromNextPaint(rect);
}

void CGXControl::RegisterUserAttributes(CGXStylesMap* stylesMap) {
    CGXStyle warning;
    warning.SetWrapText(TRUE).SetAutoSize(TRUE);
    stylesMap->RegisterUserAttribute(kAttrValidWarning, &warning);
    // The bounds are edited with a spin edit, on one line.
    CGXStyle bound;
    bound.SetControlId(52519).SetWrapText(FALSE);
    stylesMap->RegisterUserAttribute(kAttrValidMax, &bound);
    stylesMap->RegisterUserAttribute(kAttrValidMin, &bound);
}

void CGXControl::SetCellTip(CGXCellTipBase* tip) {
    m_pCellTip.reset(tip);
}

// ---- The edit cycle

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
    if (!m_bBound) {
        return TRUE;
    }
    if (IsActive() && IsModified()) {
        CString text;
        GetEditText(text);
        if (!text.IsEmpty()) {
            const CGXStyle& style = m_pGrid->LookupStyleRowCol(m_nRow, m_nCol);
            const double value = ReadNumber(text);
            const auto outside = [&](WORD id, bool below) {
                if (!style.HasUserAttribute(id)) {
                    return false;
                }
                const double bound = ReadNumber(style.GetUserAttribute(id).GetValue());
                return below ? value < bound : value > bound;
            };
            if (outside(kAttrValidMin, true) || outside(kAttrValidMax, false)) {
                m_pGrid->SetWarningText(style.GetUserAttribute(kAttrValidWarning).GetValue());
                return FALSE;
            }
        }
        if (!CheckTypedText(text)) {
            return FALSE;
        }
    }
    return m_pGrid->OnValidateCell(m_nRow, m_nCol);
}

BOOL CGXControl::AskStartEdit() {
    if (!m_bBound || !m_pGrid->OnStartEditing(m_nRow, m_nCol)) {
        return FALSE;
    }
    m_pGrid->ScrollCellInView(m_nRow, m_nCol, 2, TRUE);
    return TRUE;
}

BOOL CGXControl::ReportModified() {
    if (!IsModified()) {
        return FALSE;
    }
    m_pGrid->OnModifyCell(m_nRow, m_nCol);
    return TRUE;
}

BOOL CGXControl::AskCancelEdit() {
    return m_pGrid->OnCancelEditing(m_nRow, m_nCol);
}

void CGXControl::ReportEditCancelled() {
    m_pGrid->OnEditingCancelled(m_nRow, m_nCol);
}

BOOL CGXControl::ReportEditEnded() {
    return m_pGrid->OnEndEditing(m_nRow, m_nCol);
}

BOOL CGXControl::ReportCellLeft(ROWCOL newRow, ROWCOL newCol) {
    return m_pGrid->OnLeftCell(m_nRow, m_nCol, newRow, newCol);
}

BOOL CGXControl::AskClearCell() {
    return m_pGrid->CanClearCell(m_nRow, m_nCol);
}

// ---- Geometry and drawing

CRect CGXControl::GetInnerRect(ROWCOL row, ROWCOL col, const RECT* cellRect, const CGXStyle* style) {
    const CGXStyle& s = style ? *style : m_pGrid->LookupStyleRowCol(row, col);
    CRect cell;
    if (cellRect) {
        cell = *cellRect;
    } else {
        CGXRange covered;
        cell = m_pGrid->GetCoveredCellsRowCol(row, col, covered)
                   ? m_pGrid->CalcRangeRectCovered(covered.top, covered.left, covered.bottom, covered.right)
                   : m_pGrid->CalcCellRect(row, col);
    }
    CRect rect = m_pGrid->SubtractBorders(cell, s, TRUE);
    CGXGridParam* param = m_pGrid->GetParam();
    if (param && !param->m_bGridLinesAtRightBottom) {
        // The frozen edge's line is drawn inside the last frozen row or column.
        if (m_pGrid->LinesOn(FALSE) && col > m_pGrid->GetHeaderCols() && col == m_pGrid->GetFrozenCols() &&
            !s.HasBorder(kBorderRight)) {
            rect.right -= 1;
        }
        if (m_pGrid->LinesOn(TRUE) && row > m_pGrid->GetHeaderRows() && row == m_pGrid->GetFrozenRows() &&
            !s.HasBorder(kBorderBottom)) {
            rect.bottom -= 1;
        }
    }
    return rect;
}

CSize CGXControl::AddBorderSize(int width, int height, const CGXStyle& style) {
    return m_pGrid->AddBorders(width, height, style);
}

CSize CGXControl::CalcCellSize(CDC*, ROWCOL, ROWCOL, const CGXStyle&, const CGXStyle*, BOOL, int) {
    return CSize(0, 0);
}

BOOL CGXControl::CanFloatCell(ROWCOL, ROWCOL, const CGXStyle&, BOOL) {
    return FALSE;
}

BOOL CGXControl::CanMergeCell(ROWCOL, ROWCOL, const CGXStyle& style, int) {
    return !style.GetValue().IsEmpty();
}

void CGXControl::DrawCurrentCellFrame(CDC* dc, const RECT& rect) {
    CGXGridParam* param = m_pGrid->GetParam();
    if (!param) {
        return;
    }
    const WORD mode = param->m_wCurrentCellDisplay;
    if (!(mode == 0 || (mode == 2 && m_pGrid->IsGridActive()))) {
        return;
    }
    if (param->m_wActivateCell == 4 && IsWindowKindOf(RUNTIME_CLASS(CWnd))) {
        return; // an always active window shows its own caret instead
    }
    const CGXProperties* properties = param->GetProperties();
    const CString kind = properties ? properties->GetUserProperty(IDS_GRID_PROP_CURRENT_CELL).GetValue() : CString();
    const CRect r(rect);
    const auto border = [&](int width) {
        const CGXPenValue pen(PS_SOLID, static_cast<unsigned>(width), RGB(0, 0, 0));
        // The grid's sides: 0 left, 1 right, 2 top, 3 bottom; drawn top, bottom, left, right.
        for (int side : {2, 3, 0, 1}) {
            m_pGrid->DrawBorderLine(pen, r, side, dc, nullptr);
        }
    };
    const auto invert = [&](int w) {
        const RECT strips[] = {{r.left, r.top, r.left + w, r.bottom},
                               {r.right - w, r.top, r.right, r.bottom},
                               {r.left + w, r.top, r.right - w, r.top + w},
                               {r.left + w, r.bottom - w, r.right - w, r.bottom}};
        for (const RECT& strip : strips) {
            dc->InvertRect(&strip);
        }
    };
    if (properties && kind == properties->frameNames[2]) {
        border(1);
    } else if (properties && kind == properties->frameNames[3]) {
        border(2);
    } else if (properties && kind == properties->frameNames[4]) {
        // no frame
    } else if (properties && kind == properties->frameNames[1]) {
        invert(2);
    } else {
        invert(1);
    }
}

void CGXControl::Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
                      const CGXStyle*) {
    if (m_children.empty()) {
        return;
    }
    PlaceChildren(row, col, GetInnerRect(row, col, &rect, &style));
    const BOOL active = m_pGrid->IsCurrentCell(row, col) && !m_pGrid->IsPrinting() && m_pGrid->IsGridActive();
    for (const auto& child : m_children) {
        child->Draw(dc, active);
    }
}

BOOL CGXControl::IsBlackAndWhitePrinting() const {
    return IsBlackAndWhitePrinting(m_pGrid);
}

BOOL CGXControl::IsBlackAndWhitePrinting(CGXGridCore* grid) {
    CGXGridParam* param = grid->GetParam();
    const CGXProperties* properties = param ? param->GetProperties() : nullptr;
    return properties && properties->printing && properties->printBlackAndWhite;
}

void CGXControl::DrawBackground(CDC* dc, const RECT& rect, const CGXStyle& style, BOOL erase) {
    DrawCellBackground(m_pGrid, dc, rect, style, erase);
}

void CGXControl::DrawCellBackground(CGXGridCore* grid, CDC* dc, const RECT& rect, const CGXStyle& style,
                                    BOOL erase) {
    CGXGridParam* param = grid->GetParam();
    const BOOL transparent = param && param->m_bTransparentBackground;
    if (erase || (!transparent && grid->IsDrawCellBackground())) {
        const BOOL blackAndWhite = IsBlackAndWhitePrinting(grid);
        const CGXBrushValue& interior = style.GetInterior();
        if (interior.GetStyle() == BS_HOLLOW) {
            FillRectColor(dc, rect, blackAndWhite ? RGB(255, 255, 255) : interior.GetBkColor());
        } else if (blackAndWhite) {
            CGXBrushValue mono(interior);
            if (interior.GetStyle() == BS_SOLID) {
                mono.SetColor(RGB(255, 255, 255)).SetBkColor(RGB(0, 0, 0));
            } else {
                mono.SetColor(RGB(0, 0, 0)).SetBkColor(RGB(255, 255, 255));
            }
            grid->FillRectWithBrush(dc, rect, mono);
        } else {
            grid->FillRectWithBrush(dc, rect, interior);
        }
    }
    DrawCellFrame3d(grid, dc, rect, style);
}

void CGXControl::DrawFrame3d(CDC* dc, const RECT& rect, const CGXStyle& style) {
    DrawCellFrame3d(m_pGrid, dc, rect, style);
}

void CGXControl::DrawCellFrame3d(CGXGridCore* grid, CDC* dc, const RECT& rect, const CGXStyle& style) {
    if (IsBlackAndWhitePrinting(grid) || !style.GetIncludeDraw3dFrame()) {
        return;
    }
    const int kind = style.GetDraw3dFrame();
    if (kind != 1 && kind != 2) {
        return;
    }
    const CRect inner = grid->SubtractBorders(rect, style, TRUE);
    const COLORREF highlight = GridSysColorCache::GetColor(COLOR_BTNHIGHLIGHT);
    const COLORREF black = RGB(0, 0, 0);
    GetDrawingAndFormatting()->Draw3dFrame(dc, inner.left - 1, inner.top - 1, inner.right, inner.bottom, 1,
                                           kind == 1 ? highlight : black, kind == 1 ? black : highlight);
}

void CGXControl::RedrawCell() {
    if (!m_bBound) {
        return;
    }
    Hide();
    CRect rect;
    CGXRange covered;
    if (IsActive() && m_pGrid->GetCoveredCellsRowCol(m_nRow, m_nCol, covered)) {
        rect = m_pGrid->CalcRangeRectCovered(covered.top, covered.left, covered.bottom, covered.right);
    } else if (IsActive()) {
        rect = m_pGrid->CalcCellRect(m_nRow, m_nCol);
    } else {
        rect = m_pGrid->CalcCellRectSpanned(m_nRow, m_nCol);
    }
    m_pGrid->InvalidateGridRect(&rect, TRUE);
}

// ---- Values and texts

void CGXControl::GetEditText(CString& text) {
    text.Empty();
    if (!m_bBound) {
        return;
    }
    const CGXStyle& style = GetCachedStyle();
    if (style.GetIncludeValue()) {
        text = style.GetValue();
    } else {
        ValueToDisplayText(text, m_nRow, m_nCol, nullptr, style);
    }
}

void CGXControl::SetEditText(const CString& text) {
    if (m_bBound) {
        m_pGrid->SetControlTextRowCol(m_nRow, m_nCol, text, 2, &GetCachedStyle());
    }
}

BOOL CGXControl::GetCellValue(CString& text) {
    if (!m_bBound || !GetCachedStyle().GetIncludeValue()) {
        return FALSE;
    }
    text = GetCachedStyle().GetValue();
    return TRUE;
}

void CGXControl::SetCellValue(const CString& text) {
    if (m_bBound) {
        GetCachedStyle();
        m_pStyle->SetValue(text);
    }
}

BOOL CGXControl::ValueToDisplayText(CString& out, ROWCOL, ROWCOL, LPCTSTR value, const CGXStyle& style) {
    if (!value) {
        if (!style.GetIncludeValue()) {
            return FALSE;
        }
        value = style.GetValueRef();
    }
    if (style.GetIncludeFormat() && style.GetFormat() != 0) {
        GetDrawingAndFormatting()->FormatValueText(out, style, value, style.GetValueType(), 0, 0);
    } else {
        out = value;
    }
    return TRUE;
}

BOOL CGXControl::StoreDisplayText(ROWCOL row, ROWCOL col, const CString& text, UINT flags,
                                  const CGXStyle* style) {
    CGXStyle* scratch = nullptr;
    if (!style) {
        scratch = m_pGrid->CreateStyle();
        m_pGrid->ComposeStyleRowCol(row, col, *scratch, TRUE);
        style = scratch;
    }
    CString value = text;
    BOOL result = DisplayTextToValue(value, row, col, *style);
    if (result) {
        CGXGridParam* param = m_pGrid->GetParam();
        if (param && param->m_bReadOnlyProtectsData && (m_pGrid->IsReadOnly() || style->GetReadOnly())) {
            result = FALSE;
        } else {
            if (style->GetIncludeMaxLength() && style->GetMaxLength() > 0 &&
                style->GetMaxLength() < value.GetLength()) {
                value = value.Left(style->GetMaxLength());
            }
            result = m_pGrid->SetValueRange(CGXRange(row, col, row, col), value, kMergeOverride, flags);
        }
    }
    if (scratch) {
        m_pGrid->RecycleStyle(scratch);
    }
    return result;
}

BOOL CGXControl::StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind,
                            const CGXStyle* cellStyle) {
    CGXGridParam* param = m_pGrid->GetParam();
    if (param && param->m_bReadOnlyProtectsData &&
        (m_pGrid->IsReadOnly() || (cellStyle && cellStyle->GetReadOnly()))) {
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
        SetCellValue(style->GetValue());
    }
    RedrawCell();
    SetModified(kind == 2 ? FALSE : modified);
    return result;
}

BOOL CGXControl::CopyValueToStyle(ROWCOL row, ROWCOL col, CGXStyle& style) {
    CString value;
    if (m_bBound && m_pGrid->IsCurrentCell(row, col) && GetCellValue(value)) {
        style.SetValue(value);
    }
    return FALSE;
}

BOOL CGXControl::GetChoiceEntry(CString& out, LPCTSTR choices, int index) {
    out.Empty();
    if (!choices || index < 0) {
        return FALSE;
    }
    CString rest = choices;
    for (int i = 0; i <= index; ++i) {
        if (rest.IsEmpty()) {
            out.Empty();
            return FALSE;
        }
        SplitFirstLine(rest, out);
    }
    return TRUE;
}

int CGXControl::FindChoiceEntry(CString& out, const CString& text, LPCTSTR choices, BOOL exact) {
    out.Empty();
    if (text.IsEmpty() || !choices) {
        return -1;
    }
    CString rest = choices;
    CString line;
    CString prefixLine;
    int prefixIndex = -1;
    for (int index = 0; !rest.IsEmpty(); ++index) {
        SplitFirstLine(rest, line);
        if (_wcsicmp(line, text) == 0) {
            out = line;
            return index;
        }
        if (!exact && prefixIndex < 0 &&
            _wcsnicmp(line, text, static_cast<size_t>(text.GetLength())) == 0) {
            prefixIndex = index;
            prefixLine = line;
        }
    }
    if (prefixIndex >= 0) {
        out = prefixLine;
    }
    return prefixIndex;
}

void CGXControl::ValueFromStyle(ROWCOL, ROWCOL, int, const CGXStyle& style, CString& out) {
    out = style.GetValue();
}

void CGXControl::ReplaceSelection(const CString& text) {
    if (m_bBound && m_pGrid->IsCurrentCell(m_nRow, m_nCol)) {
        m_pGrid->SetControlTextRowCol(m_nRow, m_nCol, text, 2, &GetCachedStyle());
    }
}

BOOL CGXControl::IsReadOnly() {
    const CGXStyle& style = GetCachedStyle();
    CGXGridParam* param = m_pGrid->GetParam();
    if (!param || !param->m_bReadOnlyProtectsData) {
        return FALSE;
    }
    return m_pGrid->IsReadOnly() || style.GetReadOnly();
}

BOOL CGXControl::Copy() {
    if (!IsActive()) {
        if (!m_bBound || !m_pGrid->IsCurrentCell(m_nRow, m_nCol)) {
            return FALSE;
        }
        CGXRangeList cell;
        cell.AddRange(new CGXRange(m_nRow, m_nCol, m_nRow, m_nCol));
        return m_pGrid->CopyCells(cell);
    }
    CString text;
    GetSelectedText(text);
    if (text.IsEmpty()) {
        return FALSE;
    }
    CSharedFile file(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 4096);
    const WCHAR zero = 0;
    file.Write(text.GetString(), static_cast<UINT>(text.GetLength() * sizeof(WCHAR)));
    file.Write(&zero, sizeof(zero));
    CWnd* grid = GetGridWnd();
    if (!::OpenClipboard(grid ? grid->GetSafeHwnd() : nullptr)) {
        return FALSE;
    }
    HGLOBAL data = file.Detach();
    const BOOL set = ::SetClipboardData(CF_UNICODETEXT, data) != nullptr;
    ::CloseClipboard();
    if (!set) {
        ::GlobalFree(data);
    }
    return set;
}

BOOL CGXControl::Cut() {
    if (IsActive()) {
        if (!Copy()) {
            return FALSE;
        }
        ReplaceSelection(CString());
        return TRUE;
    }
    if (!m_bBound || !m_pGrid->IsCurrentCell(m_nRow, m_nCol)) {
        return FALSE;
    }
    CGXRangeList cell;
    cell.AddRange(new CGXRange(m_nRow, m_nCol, m_nRow, m_nCol));
    return m_pGrid->CutCells(cell);
}

BOOL CGXControl::MayPaste() {
    return m_bBound && IsActive() && !GetCachedStyle().GetReadOnly();
}

BOOL CGXControl::CanPaste() {
    return MayPaste() && ::IsClipboardFormatAvailable(CF_UNICODETEXT);
}

BOOL CGXControl::Paste() {
    if (!MayPaste()) {
        return FALSE;
    }
    const BOOL openHere = ::GetOpenClipboardWindow() == nullptr;
    CWnd* grid = GetGridWnd();
    if (openHere && !::OpenClipboard(grid ? grid->GetSafeHwnd() : nullptr)) {
        return FALSE;
    }
    BOOL pasted = FALSE;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<LPCWSTR>(::GlobalLock(data))) {
            const CString pastedText(text);
            ::GlobalUnlock(data);
            if (CheckPastedText(pastedText)) {
                ReplaceSelection(pastedText);
            }
            pasted = TRUE;
        }
    }
    if (openHere) {
        ::CloseClipboard();
    }
    return pasted;
}

BOOL CGXControl::CanCut() {
    return m_bBound && !GetCachedStyle().GetReadOnly();
}

BOOL CGXControl::IsHeaderMarked(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    auto* marker = static_cast<CGXAbstractGridMarkEditHeaderImp*>(m_pGrid->GetFeature(kFeatureMarkEditHeader));
    return marker ? marker->IsHeaderMarked(m_pGrid, this, row, col, style) : FALSE;
}

// ---- Mouse

CRect CGXControl::PlaceChildrenOfBoundCell() {
    if (!m_bBound) {
        return CRect();
    }
    const CRect inner = GetInnerRect(m_nRow, m_nCol);
    PlaceChildren(m_nRow, m_nCol, inner);
    return inner;
}

CGXChild* CGXControl::ChildAt(POINT point) {
    for (const auto& child : m_children) {
        if (child->HitTest(point.x, point.y)) {
            return child.get();
        }
    }
    return nullptr;
}

BOOL CGXControl::MouseMove(UINT flags, POINT point, UINT) {
    PlaceChildrenOfBoundCell();
    return m_pActiveChild ? m_pActiveChild->MouseMove(flags, point.x, point.y) : FALSE;
}

BOOL CGXControl::MouseMoveOver(ROWCOL row, ROWCOL col, UINT flags, POINT point) {
    BOOL handled = FALSE;
    if (!m_children.empty()) {
        PlaceChildren(row, col, GetInnerRect(row, col));
        for (const auto& child : m_children) {
            if (child->HitTest(point.x, point.y) && child->MouseMoveOver(row, col, flags, point.x, point.y)) {
                handled = TRUE;
                break;
            }
        }
    }
    return m_pGrid->OnControlMouseRowCol(row, col, flags, point) | handled;
}

BOOL CGXControl::ButtonDown(GridButton button, UINT flags, POINT point) {
    PlaceChildrenOfBoundCell();
    CGXChild* child = ChildAt(point);
    if (!child) {
        return FALSE;
    }
    SetActiveChild(child);
    switch (button) {
    case GridButton::Left:
        return child->LButtonDown(flags, point.x, point.y);
    case GridButton::Middle:
        return child->MButtonDown(flags, point.x, point.y);
    default:
        return child->RButtonDown(flags, point.x, point.y);
    }
}

BOOL CGXControl::ButtonUp(GridButton button, UINT flags, POINT point) {
    const CRect inner = PlaceChildrenOfBoundCell();
    BOOL result = FALSE;
    if (m_pActiveChild) {
        switch (button) {
        case GridButton::Left:
            result = m_pActiveChild->LButtonUp(flags, point.x, point.y);
            break;
        case GridButton::Middle:
            result = m_pActiveChild->MButtonUp(flags, point.x, point.y);
            break;
        default:
            result = m_pActiveChild->RButtonUp(flags, point.x, point.y);
            break;
        }
    }
    if (m_bBound && inner.PtInRect(point)) {
        switch (button) {
        case GridButton::Left:
            result |= m_pGrid->OnLButtonClickedRowCol(m_nRow, m_nCol, flags, point);
            break;
        case GridButton::Middle:
            result |= m_pGrid->OnMButtonClickedRowCol(m_nRow, m_nCol, flags, point);
            break;
        default:
            result |= m_pGrid->OnRButtonClickedRowCol(m_nRow, m_nCol, flags, point);
            break;
        }
    }
    return result;
}

BOOL CGXControl::ButtonDblClk(GridButton button, UINT flags, POINT point) {
    PlaceChildrenOfBoundCell();
    BOOL result = FALSE;
    for (const auto& child : m_children) {
        if (!child->HitTest(point.x, point.y)) {
            continue;
        }
        SetActiveChild(child.get());
        if (button == GridButton::Left) {
            result = child->LButtonDblClk(flags, point.x, point.y);
        } else if (button == GridButton::Middle) {
            result = child->MButtonDblClk(flags, point.x, point.y);
        } else {
            result = child->RButtonDblClk(flags, point.x, point.y);
        }
        if (result) {
            break;
        }
    }
    if (!m_bBound) {
        return result;
    }
    if (button == GridButton::Left) {
        return m_pGrid->OnLButtonDblClkRowCol(m_nRow, m_nCol, flags, point) | result;
    }
    if (button == GridButton::Middle) {
        return m_pGrid->OnMButtonDblClkRowCol(m_nRow, m_nCol, flags, point) | result;
    }
    return m_pGrid->OnRButtonDblClkRowCol(m_nRow, m_nCol, flags, point) | result;
}

BOOL CGXControl::LButtonDown(UINT flags, POINT point, UINT) {
    return ButtonDown(GridButton::Left, flags, point);
}

BOOL CGXControl::LButtonUp(UINT flags, POINT point, UINT) {
    return ButtonUp(GridButton::Left, flags, point);
}

BOOL CGXControl::LButtonDblClk(UINT flags, POINT point) {
    return ButtonDblClk(GridButton::Left, flags, point);
}

BOOL CGXControl::MButtonDown(UINT flags, POINT point, UINT) {
    return ButtonDown(GridButton::Middle, flags, point);
}

BOOL CGXControl::MButtonUp(UINT flags, POINT point, UINT) {
    return ButtonUp(GridButton::Middle, flags, point);
}

BOOL CGXControl::MButtonDblClk(UINT flags, POINT point) {
    return ButtonDblClk(GridButton::Middle, flags, point);
}

BOOL CGXControl::RButtonDown(UINT flags, POINT point, UINT) {
    return ButtonDown(GridButton::Right, flags, point);
}

BOOL CGXControl::RButtonUp(UINT flags, POINT point, UINT) {
    return ButtonUp(GridButton::Right, flags, point);
}

BOOL CGXControl::RButtonDblClk(UINT flags, POINT point) {
    return ButtonDblClk(GridButton::Right, flags, point);
}

// ---- Keys

BOOL CGXControl::KeyMessage(UINT message, WPARAM key, UINT repeat, UINT flags) {
    if (m_pActiveChild && m_pActiveChild->KeyMessage(message, key, repeat, flags)) {
        return TRUE;
    }
    return DispatchCellKey(*this, message, key, repeat, flags, m_bPendingLead, m_storedUnit);
}

void CGXControl::WinIniChanged(LPCTSTR section) {
    for (const auto& child : m_children) {
        child->WinIniChanged(section);
    }
}

void CGXControl::SysColorChanged() {
    for (const auto& child : m_children) {
        child->SysColorChanged();
    }
}

void CGXControl::CancelMode() {
    for (const auto& child : m_children) {
        child->CancelMode();
    }
}

// ---- Children and cell tips

void CGXControl::ChildClicked(CGXChild*) {
    m_pGrid->OnClickedButtonRowCol(m_nRow, m_nCol);
}

void CGXControl::CheckGridScroll(const MSG& msg) {
    if ((msg.message != WM_VSCROLL && msg.message != WM_HSCROLL) || !IsActive()) {
        return;
    }
    CGXRange span;
    if (!m_pGrid->GetSpannedRangeRowCol(m_nRow, m_nCol, span)) {
        return;
    }
    const ROWCOL frozenCols = m_pGrid->GetFrozenCols();
    const ROWCOL frozenRows = m_pGrid->GetFrozenRows();
    const BOOL splitsCols = span.left <= frozenCols && frozenCols < span.right;
    const BOOL splitsRows = span.top <= frozenRows && frozenRows < span.bottom;
    if (!splitsCols && !splitsRows) {
        return;
    }
    if (IsModified()) {
        StoreValue();
    }
    SetActive(FALSE);
    RedrawCell();
}

BOOL CGXControl::NeedsCellTip(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    return m_pCellTip ? m_pCellTip->NeedsTip(row, col, style) : FALSE;
}

int CGXControl::GetCellTipKind(ROWCOL row, ROWCOL col, const CGXStyle& style) {
    return m_pCellTip ? m_pCellTip->GetTipKind(row, col, style) : 0x7FFFFFFF;
}

void CGXControl::InitCellTip(ROWCOL row, ROWCOL col, const CGXStyle& style, CWnd* tipWindow) {
    if (m_pCellTip) {
        m_pCellTip->InitTip(row, col, style, tipWindow);
    }
}

void CGXControl::AddChild(CGXChild* child) {
    m_children.emplace_back(child);
}

CGXChild* CGXControl::GetChild(int index) {
    return index >= 0 && index < GetChildCount() ? m_children[static_cast<size_t>(index)].get() : nullptr;
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
