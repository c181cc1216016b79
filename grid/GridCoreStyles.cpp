// Cell styles: storing into cells and ranges, composing a cell's style from its row, column, table, header
// and base styles, and the per-paint cache of composed styles with its free list.
#include "grid/CGXControl.h"
#include "grid/CGXData.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "grid/GridNumberText.h"
#include "grid/GridResourceIds.h"
#include "platform/base/CArrays.h"
#include "platform/base/Exceptions.h"
#include "platform/framework/CWinApp.h"

namespace {

// A recycled style is dropped once the free list holds this many.
constexpr size_t kMaxFreeStyles = 501;

// Marked ranges show a grey dotted interior.
constexpr unsigned kMarkedRangePattern = 17;

// Column labels in bijective base 26: 1 "A", 26 "Z", 27 "AA".
CString ColumnLetters(ROWCOL col) {
    std::u16string letters;
    while (col > 0) {
        --col;
        letters.insert(letters.begin(), static_cast<char16_t>(u'A' + col % 26));
        col /= 26;
    }
    return CString(letters.c_str());
}

} // namespace

CGXStyle* CGXGridCore::CreateStyle() {
    if (!m_styleFreeList.empty()) {
        CGXStyle* style = m_styleFreeList.front();
        m_styleFreeList.pop_front();
        return style;
    }
    if (m_pStyleClass) {
        return static_cast<CGXStyle*>(m_pStyleClass->CreateObject());
    }
    return new CGXStyle;
}

void CGXGridCore::RecycleStyle(CGXStyle* style) {
    if (!style) {
        return;
    }
    if (m_styleFreeList.size() >= kMaxFreeStyles) {
        delete style;
        return;
    }
    style->ClearAll();
    m_styleFreeList.push_front(style);
}

void CGXGridCore::FreeObjectCache() {
    if (m_nDrawingDepth > 0) {
        return;
    }
    for (auto& [cell, style] : m_styleCache) {
        RecycleStyle(style);
    }
    m_styleCache.clear();
    FreeGdiCache();
    if (!m_bSuspendCurrentCellStyle) {
        ResetCurrentCellCache();
    }
}

void CGXGridCore::ResetCurrentCellCache() {
    m_pCurrentCellStyle.reset();
    m_pCurrentCellControl = nullptr;
}

const CGXStyle& CGXGridCore::LookupStyleRowCol(ROWCOL row, ROWCOL col) {
    const BOOL current = IsCurrentCell(row, col);
    if (current && m_bCacheCurrentCellStyle && m_pCurrentCellStyle) {
        return *m_pCurrentCellStyle;
    }
    if (!current || m_bSuspendCurrentCellStyle) {
        auto found = m_styleCache.find({row, col});
        if (found != m_styleCache.end()) {
            return *found->second;
        }
    }
    CGXStyle* style = CreateStyle();
    ComposeStyleRowCol(row, col, *style, TRUE);
    if (IsReadOnly()) {
        style->SetReadOnly(TRUE);
    }
    if (!current || m_bSuspendCurrentCellStyle) {
        m_styleCache[{row, col}] = style;
        return *style;
    }
    m_pCurrentCellStyle.reset(style);
    m_pCurrentCellControl = GetRegisteredControl(style->GetControlId());
    return *m_pCurrentCellStyle;
}

void CGXGridCore::ComposeStyleRowCol(ROWCOL row, ROWCOL col, CGXStyle& style, BOOL withStandard) {
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    if (!data) {
        return;
    }
    style.ClearAll();
    data->GetStyle(row, col, style, kMergeCopy, 0);
    if (m_bLookupValueOnly && style.GetIncludeValue()) {
        return;
    }
    const ROWCOL headerRows = GetHeaderRows();
    const ROWCOL headerCols = GetHeaderCols();
    if (col > headerCols) {
        data->GetStyle(row, 0, style, kMergeFill, -1);
    }
    if (row > headerRows) {
        data->GetStyle(0, col, style, kMergeFill, -1);
        if (col > headerCols) {
            data->GetStyle(0, 0, style, kMergeFill, -1);
        }
    }
    const CGXStylesMap* stylesMap = m_pParam->GetStylesMap();
    if (stylesMap) {
        style.ApplyBaseStyles(*stylesMap);
    }
    if (row <= headerRows && m_pColHeaderStyle) {
        style.MergeStyle(*m_pColHeaderStyle, kMergeFill);
    } else if (col <= headerCols && m_pRowHeaderStyle) {
        style.MergeStyle(*m_pRowHeaderStyle, kMergeFill);
    }
    if (!style.GetIncludeValue()) {
        if (row == 0 && col > 0 && m_pParam->m_bLetterColHeaders) {
            style.SetValue(ColumnLetters(col));
        } else if (col == 0 && row > 0 && m_pParam->m_bNumberRowHeaders) {
            style.SetValueUnsigned(row);
        }
    }
    if (withStandard && m_pStandardStyle) {
        style.MergeStyle(*m_pStandardStyle, kMergeFill);
    }
    if (m_pParam->m_bMarkRanges && m_pParam->m_bShowMarkedRanges && m_pParam->m_markedRanges.ContainsCell(row, col)) {
        CGXBrushValue marked;
        marked.SetPattern(kMarkedRangePattern).SetColor(RGB(192, 192, 192));
        style.SetInterior(marked);
    }
    // The text being edited keeps the edit's own colour.
    if (IsCurrentCell(row, col)) {
        CGXControl* control = GetRegisteredControl(style.GetControlId());
        if (control && control->IsActive()) {
            return;
        }
    }
    if (style.GetIncludeValue() && style.HasUserAttribute(IDS_GRID_UA_NEGATIVE_COLOR) &&
        WideToDouble(style.GetValue()) < 0.0) {
        style.SetTextColor(style.GetUserAttribute(IDS_GRID_UA_NEGATIVE_COLOR).GetDWordValue());
    }
}

BOOL CGXGridCore::StoreStyleRowCol(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind) {
    if (IsStoreRefused()) {
        return FALSE;
    }
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    if (!data) {
        return FALSE;
    }
    const BOOL stored = data->StoreStyle(row, col, style, mode, kind);
    if (!m_bInSetStyleRange) {
        RecalcHook2(CGXRange(row, col, row, col));
    }
    if (IsCurrentCell(row, col)) {
        ResetCurrentCellCache();
    }
    m_bSuspendCurrentCellStyle = FALSE;
    return stored;
}

BOOL CGXGridCore::LoadStoredStyleRowCol(ROWCOL row, ROWCOL col, CGXStyle& style, int mode, int kind) {
    CGXData* data = m_pParam ? m_pParam->GetData() : nullptr;
    return data ? data->GetStyle(row, col, style, mode, kind) : FALSE;
}

void DeleteStyleArray(CObArray* array) {
    if (!array) {
        return;
    }
    for (INT_PTR i = 0; i < array->GetSize(); ++i) {
        delete array->GetAt(i);
    }
    delete array;
}

BOOL CGXGridCore::ConfirmTooLargeForUndo() {
    return AfxMessageBox(GridLibraryState::Instance().GetText(kTextUndoTooLarge), MB_OKCANCEL) == IDOK;
}

namespace {

// Whole rows, columns or the table keep their styles in the header row and column: (row, 0), (0, col)
// and (0, 0).
CGXRange StoredCells(const CGXRange& range, ROWCOL rowCount, ROWCOL colCount) {
    CGXRange cells(range);
    if (range.IsRows()) {
        cells.ExpandToCells(0, 0, 0, 0);
    } else {
        cells.ExpandToCells(0, 0, range.IsCols() ? 0 : rowCount, range.IsTable() ? 0 : colCount);
    }
    return cells;
}

} // namespace

CObArray* CGXGridCore::CopyStyleArray(const CGXRange& cells, int kind, CGXLongOperation* operation) {
    const ROWCOL width = cells.right - cells.left + 1;
    const ULONGLONG total = static_cast<ULONGLONG>(cells.bottom - cells.top + 1) * width;
    auto* array = new CObArray;
    array->SetSize(static_cast<INT_PTR>(total));
    ULONGLONG index = 0;
    for (ROWCOL row = cells.top; row <= cells.bottom && row != kGridNoRowCol; ++row) {
        for (ROWCOL col = cells.left; col <= cells.right && col != kGridNoRowCol; ++col, ++index) {
            CGXStyle* style = CreateStyle();
            if (LoadStoredStyleRowCol(row, col, *style, kMergeCopy, kind)) {
                array->SetAt(static_cast<INT_PTR>(index), style);
            } else {
                RecycleStyle(style);
            }
            if (operation) {
                BOOL aborted = FALSE;
                operation->SetPercentDone(static_cast<int>((index + 1) * 100 / total));
                if (operation->CheckAbort(aborted) && aborted) {
                    DeleteStyleArray(array);
                    AfxThrowUserException();
                }
            }
        }
    }
    return array;
}

BOOL CGXGridCore::SetStyleRange(const CGXRange& range, const CGXStyle* style, int mode, int kind,
                                const CObArray* undoArray, UINT flags, int ctCmd) {
    if (!range.IsValid()) {
        return FALSE;
    }
    if (kind == 0 && !range.IsCells()) {
        kind = -1;
    }
    const CGXRange cells = StoredCells(range, GetRowCount(), GetColCount());
    const ROWCOL width = cells.right - cells.left + 1;
    const ULONGLONG total = static_cast<ULONGLONG>(cells.bottom - cells.top + 1) * width;
    GridLibraryState& library = GridLibraryState::Instance();
    CGXLongOperation operation;
    operation.SetStatusText(library.GetText(kTextUndoInfo), FALSE);

    // The record of what the cells held, for the undo feature.
    CObArray* record = nullptr;
    CGXAbstractCommandFactory* factory = RecordingFactory(ctCmd);
    if (factory) {
        const BOOL tooLarge = cells.bottom - cells.top >= 0x7FFF || width > 0x7FFF || total >= 0x7FFFFFFF;
        if (tooLarge) {
            if (!ConfirmTooLargeForUndo()) {
                return FALSE;
            }
        } else {
            try {
                record = CopyStyleArray(cells, kind, m_wButtonState ? nullptr : &operation);
            } catch (CUserException* e) {
                e->Delete();
                if (!ConfirmTooLargeForUndo()) {
                    return FALSE;
                }
            }
        }
    }

    operation.SetStatusText(library.GetText(ctCmd == kCmdNormal ? kTextStoringCells : kTextRestoringCells), FALSE);
    FreeObjectCache();
    const BOOL wasInside = m_bInSetStyleRange;
    if (!wasInside) {
        RecalcHook2(range);
    }
    m_bInSetStyleRange = TRUE;
    const BOOL oldDataMode = SetDataUndoMode(factory != nullptr);
    if (undoArray && static_cast<ULONGLONG>(undoArray->GetSize()) > total) {
        if (ApplyDataUndoInfo(undoArray->GetAt(static_cast<INT_PTR>(total)), TRUE, 0)) {
            Recalc(TRUE, nullptr, TRUE);
        }
    }
    BOOL changed = FALSE;
    BOOL aborted = FALSE;
    ULONGLONG done = 0;
    for (ROWCOL row = cells.top; row <= cells.bottom && row != kGridNoRowCol && !aborted; ++row) {
        for (ROWCOL col = cells.left; col <= cells.right && col != kGridNoRowCol; ++col) {
            if (undoArray) {
                // Replaying a record: each cell gets back what it held; a cell that held nothing is emptied.
                if (static_cast<ULONGLONG>(undoArray->GetSize()) <= done) {
                    break;
                }
                const auto* old = static_cast<const CGXStyle*>(undoArray->GetAt(static_cast<INT_PTR>(done)));
                changed |= StoreStyleRowCol(row, col, old, old ? mode : kMergeRemove, kind);
            } else {
                changed |= StoreStyleRowCol(row, col, style, mode, kind);
            }
            if (kind == -1 && m_bCurrentCellValid &&
                ((row == 0 && col == 0) || row == m_nCurrentRow || col == m_nCurrentCol)) {
                ResetCurrentCellCache();
            }
            ++done;
            // Never while a mouse press runs: a message box then would break the press.
            if (!m_wButtonState) {
                operation.SetPercentDone(static_cast<int>(done * 100 / total));
                if (operation.CheckAbort(aborted) && aborted) {
                    break; // the part done so far stays and is shown
                }
            }
        }
    }
    m_bInSetStyleRange = wasInside;
    SetDataUndoMode(oldDataMode);

    if (changed) {
        CGXRange shown(range);
        shown.ExpandToCells(0, 0, GetRowCount(), GetColCount());
        UpdateStyleRange(shown, style, mode, kind, flags, TRUE);
        SetDocumentModified(TRUE);
    }
    if (record && changed) {
        if (CObject* snapshot = GetDataUndoInfo()) {
            record->SetAtGrow(static_cast<INT_PTR>(total), snapshot);
        }
        RecordCommand(factory->CreateSetStyleRangeCmd(range, kind, record), ctCmd);
        record = nullptr;
        if (ctCmd == kCmdUndo || ctCmd == kCmdRedo) {
            SetAdvancedUndoCell(cells.top, cells.left, TRUE);
        }
    } else if (record) {
        DiscardDataUndoInfo();
        DeleteStyleArray(record);
    }
    return changed && !aborted;
}

BOOL CGXGridCore::SetValueRange(const CGXRange& range, LPCTSTR text, int mode, UINT flags) {
    CGXStyle value;
    value.SetValue(text);
    return SetStyleRange(range, &value, mode, 0, nullptr, flags);
}

BOOL CGXGridCore::SetControlTextRowCol(ROWCOL row, ROWCOL col, const CString& text, UINT flags,
                                       const CGXStyle* style) {
    CGXStyle* scratch = nullptr;
    if (!style) {
        scratch = CreateStyle();
        ComposeStyleRowCol(row, col, *scratch, TRUE);
        style = scratch;
    }
    CGXControl* control = GetRegisteredControl(style->GetControlId());
    const BOOL stored = control ? control->StoreDisplayText(row, col, text, flags, style) : FALSE;
    if (scratch) {
        RecycleStyle(scratch);
    }
    return stored;
}

void CGXGridCore::UpdateStyleRange(const CGXRange& range, const CGXStyle* style, int mode, int kind, UINT flags,
                                   BOOL hint) {
    if (m_pParam && !m_pParam->m_bLockUpdate && m_bInitDone) {
        CRect rect = CalcRangeRectSpanned(range.top, range.left, range.bottom, range.right);
        if (!rect.IsRectEmpty()) {
            InvalidateGridRect(&rect);
        }
        if (flags & 2) {
            UpdateGridWindow();
        }
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintStyleRange(this, range, style, mode, kind, flags);
    }
}

const CString& CGXGridCore::GetValueRowCol(ROWCOL row, ROWCOL col) {
    if (!m_pValueScratch) {
        m_pValueScratch = std::make_unique<CGXStyle>();
    }
    m_pValueScratch->ClearAll();
    const BOOL old = m_bLookupValueOnly;
    m_bLookupValueOnly = TRUE;
    ComposeStyleRowCol(row, col, *m_pValueScratch, TRUE);
    m_bLookupValueOnly = old;
    return m_pValueScratch->GetValue();
}

CString CGXGridCore::GetStoredValueRowCol(ROWCOL row, ROWCOL col) {
    CGXStyle stored;
    LoadStoredStyleRowCol(row, col, stored, kMergeOverride, 0);
    return stored.GetValue();
}

CGXControl* CGXGridCore::GetControlRowCol(ROWCOL row, ROWCOL col) {
    return GetRegisteredControl(LookupStyleRowCol(row, col).GetControlId());
}

// ---- Replacing the styles map, the properties or one base style

BOOL CGXGridCore::ChangeStylesMap(const CGXStylesMap& stylesMap, UINT flags, int ctCmd) {
    if (IsStoreRefused() || !m_pParam || !m_pParam->GetStylesMap()) {
        return FALSE;
    }
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateChangeStylesMapCmd(*m_pParam->GetStylesMap()), ctCmd);
    }
    m_pParam->GetStylesMap()->Assign(stylesMap);
    SetDocumentModified(TRUE);
    UpdateStylesMap(flags, TRUE);
    return TRUE;
}

void CGXGridCore::UpdateStylesMap(UINT flags, BOOL hint) {
    LookupBaseStylesAgain();
    Redraw(flags, FALSE);
    if (auto* hints = HintSender(hint)) {
        hints->HintStylesMap(this, flags);
    }
}

BOOL CGXGridCore::ChangeProperties(const CGXProperties& properties, UINT flags, int ctCmd) {
    if (IsStoreRefused() || !m_pParam || !m_pParam->GetProperties()) {
        return FALSE;
    }
    if (auto* factory = RecordingFactory(ctCmd)) {
        RecordCommand(factory->CreateChangePropertiesCmd(*m_pParam->GetProperties()), ctCmd);
    }
    *m_pParam->GetProperties() = properties;
    SetDocumentModified(TRUE);
    UpdateProperties(flags, TRUE);
    return TRUE;
}

void CGXGridCore::UpdateProperties(UINT flags, BOOL hint) {
    Redraw(flags, FALSE);
    if (auto* hints = HintSender(hint)) {
        hints->HintProperties(this, flags);
    }
}

BOOL CGXGridCore::ChangeBaseStyle(WORD id, const CGXStyle& style, int mode, UINT flags, int ctCmd) {
    if (IsStoreRefused() || !m_pParam || !m_pParam->GetStylesMap()) {
        return FALSE;
    }
    auto found = m_pParam->GetStylesMap()->baseStyles.find(id);
    if (found == m_pParam->GetStylesMap()->baseStyles.end() || !found->second.style) {
        return FALSE;
    }
    auto* factory = RecordingFactory(ctCmd);
    if (factory && m_bInitDone) {
        RecordCommand(factory->CreateChangeBaseStyleCmd(id, *found->second.style, found->second.name), ctCmd);
    }
    found->second.style->MergeStyle(style, mode);
    SetDocumentModified(TRUE);
    UpdateBaseStyle(id, flags, TRUE);
    return TRUE;
}

void CGXGridCore::UpdateBaseStyle(WORD id, UINT flags, BOOL hint) {
    if (m_bInitDone) {
        LookupBaseStylesAgain();
        UpdateFontMetrics();
        Redraw(flags, FALSE);
    }
    if (auto* hints = HintSender(hint)) {
        hints->HintBaseStyle(this, id, flags);
    }
}
