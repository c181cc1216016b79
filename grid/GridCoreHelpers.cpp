// Small helpers the features lean on: the selection as a list, the current cell's text, the unsuccessful
// search's beep, and the entry points of the selection, its frame and the fill handle.
#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXRangeList.h"
#include "platform/display/MessageBox.h"

BOOL CGXGridCore::GetSelectedRangeList(CGXRangeList& list, BOOL addCurrentCell) {
    list.DeleteAll();
    if (m_pParam) {
        const CGXRangeList& selected = m_pParam->m_selectedRanges;
        for (POSITION pos = selected.GetHeadPosition(); pos;) {
            list.AddRange(new CGXRange(*selected.GetNextRange(pos)));
        }
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (list.IsEmpty() && addCurrentCell && GetCurrentCell(row, col)) {
        list.AddRange(new CGXRange(row, col, row, col));
    }
    return !list.IsEmpty();
}

BOOL CGXGridCore::IsCellInRangeList(ROWCOL row, ROWCOL col, const CGXRangeList& list) {
    return list.ContainsCell(row, col);
}

void CGXGridCore::GetCurrentCellText(CString& text) {
    text.Empty();
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (GetCurrentCell(row, col)) {
        if (CGXControl* control = GetControlRowCol(row, col)) {
            control->GetSelectedText(text);
        }
    }
}

void CGXGridCore::OnTextNotFound(LPCTSTR) {
    ::MessageBeep(0);
}

// ---- Selection, its frame and the fill handle

namespace {

template <class Interface>
Interface* Feature(CGXGridCore* grid, int entry) {
    return static_cast<Interface*>(grid->GetFeature(entry));
}

} // namespace

void CGXGridCore::RefreshSelection(const CGXRange* range, BOOL select, BOOL update) {
    if (auto* f = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange)) {
        f->RefreshSelection(this, range, select, update);
    }
}

BOOL CGXGridCore::SelectRange(const CGXRange& range, BOOL select) {
    auto* f = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange);
    return f ? f->SelectRange(this, range, select) : FALSE;
}

void CGXGridCore::DrawSelectionChange(const CGXRange& range, const CGXRangeList* before, BOOL update) {
    if (auto* f = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange)) {
        f->DrawSelectionChange(this, range, before, update);
    }
}

void CGXGridCore::SetSelection(POSITION position, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right) {
    if (auto* f = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange)) {
        f->SetSelection(this, position, top, left, bottom, right);
    }
}

void CGXGridCore::DrawSelectionRange(POSITION position, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right,
                                     BOOL update) {
    if (auto* f = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange)) {
        f->DrawSelectionRange(this, position, top, left, bottom, right, update);
    }
}

void CGXGridCore::ClearSelection(BOOL update) {
    if (auto* f = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange)) {
        f->ClearSelection(this, update);
    }
}

BOOL CGXGridCore::CanChangeSelection(const CGXRange* range, BOOL byMouse, BOOL byKeys) {
    OnChangingSelection(range, byMouse, byKeys);
    return TRUE;
}

BOOL CGXGridCore::OnLButtonClickedRowCol(ROWCOL row, ROWCOL col, UINT flags, POINT point) {
    auto* f = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange);
    return f ? f->OnCtrlClickCell(this, row, col, flags, point) : FALSE;
}

void CGXGridCore::DrawExcelLikeFrame(CDC* dc, const CGXRange& range, int kind, BOOL flag) {
    if (auto* f = Feature<CGXAbstractGridExcelLikeFrameImp>(this, kFeatureExcelLikeFrame)) {
        f->DrawRangeFrame(this, dc, range, kind, flag);
    }
}

void CGXGridCore::UpdateExcelLikeFrame(CDC* dc, BOOL eraseOld, const CGXRange* range) {
    if (auto* f = Feature<CGXAbstractGridExcelLikeFrameImp>(this, kFeatureExcelLikeFrame)) {
        f->DrawSelectionFrame(this, dc, eraseOld, range);
    }
}

void CGXGridCore::RefreshExcelLikeFrame() {
    if (auto* f = Feature<CGXAbstractGridExcelLikeFrameImp>(this, kFeatureExcelLikeFrame)) {
        f->RefreshSelectionFrame(this);
    }
}

BOOL CGXGridCore::LockExcelLikeFrame(BOOL lock, BOOL redraw) {
    auto* f = Feature<CGXAbstractGridExcelLikeFrameImp>(this, kFeatureExcelLikeFrame);
    return f ? f->LockSelectionFrame(this, lock, redraw) : FALSE;
}

BOOL CGXGridCore::ApplyExcelLikeFill(const CGXRange& filled, const CGXRange& source) {
    auto* f = Feature<CGXAbstractGridExcelLikeFillImp>(this, kFeatureExcelLikeFill);
    return f ? f->FillCells(this, source, filled) : FALSE;
}

void CGXGridCore::AddExcelLikeFillRange(const CGXRange& range) {
    if (auto* f = Feature<CGXAbstractGridExcelLikeFillImp>(this, kFeatureExcelLikeFill)) {
        f->SelectFilledRange(this, range);
    }
}

void CGXGridCore::SetExcelLikeFillImp(CGXAbstractGridExcelLikeFillImp* fill, BOOL autoDelete) {
    m_features[kFeatureExcelLikeFill] = fill;
    if (autoDelete) {
        AddToAutoDeleteList(fill);
    }
}

void CGXGridCore::CancelDragSelect() {
    if (auto* f = Feature<CGXAbstractGridUserDragSelectRangeImp>(this, kFeatureUserDragSelectRange)) {
        f->CancelDragSelect(this);
    }
}
