#include "grid/CGXData.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/CGXRange.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"

#include <memory>

IMPLEMENT_SERIAL(CGXData, CObject, 0)

namespace {

// Row and column numbers as array indexes; anything beyond what an array can hold is beyond every array.
INT_PTR AsIndex(ROWCOL value) {
    return static_cast<INT_PTR>(value);
}

// Inserts count nulls before `index` where there are elements to shift; beyond the end nothing is needed,
// as missing elements read as null.
void InsertNulls(CPtrArray& array, ROWCOL index, ROWCOL count) {
    if (count > 0 && AsIndex(index) < array.GetSize()) {
        array.InsertAt(AsIndex(index), nullptr, AsIndex(count));
    }
}

// The number of rows from..to that exist among `count`.
ROWCOL RemovedCount(ROWCOL from, ROWCOL to, ROWCOL count) {
    if (from > count || to < from) {
        return 0;
    }
    const ROWCOL last = to < count ? to : count;
    return last >= from ? last - from + 1 : 0;
}

} // namespace

CGXData::CGXData() : m_pAppState(&GridLibraryState::Instance()) {}

CGXData::~CGXData() {
    DeleteContents();
}

void CGXData::Serialize(CArchive& ar) {
    RequireFeature(GridLibraryState::Instance().docSerializeImp)->SerializeData(*this, ar);
}

void CGXData::DeleteContents() {
    m_cells.DeleteAll();
    m_rowBaseStyles.DeleteAll();
    m_colBaseStyles.DeleteAll();
}

CGXData& CGXData::operator=(const CGXData& other) {
    if (&other != this) {
        DeleteContents();
        m_cells.CopyFrom(other.m_cells);
        m_rowBaseStyles.CopyFrom(other.m_rowBaseStyles);
        m_colBaseStyles.CopyFrom(other.m_colBaseStyles);
        m_rowCount = other.m_rowCount;
        m_colCount = other.m_colCount;
    }
    return *this;
}

void CGXData::InitParam(CGXGridParam*) {}

BOOL CGXData::SetRowCount(ROWCOL count) {
    if (count < m_rowCount) {
        RemoveRows(count + 1, m_rowCount);
    } else if (count > m_rowCount) {
        InsertRows(m_rowCount + 1, count - m_rowCount);
    }
    return TRUE;
}

BOOL CGXData::SetColCount(ROWCOL count) {
    if (count < m_colCount) {
        RemoveCols(count + 1, m_colCount);
    } else if (count > m_colCount) {
        InsertCols(m_colCount + 1, count - m_colCount);
    }
    return TRUE;
}

BOOL CGXData::InsertRows(ROWCOL row, ROWCOL count) {
    InsertNulls(m_rowBaseStyles, row, count);
    InsertNulls(m_cells, row, count);
    m_rowCount += count;
    return TRUE;
}

BOOL CGXData::InsertCols(ROWCOL col, ROWCOL count) {
    InsertNulls(m_colBaseStyles, col, count);
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        if (CGXStylePtrArray* row = m_cells.GetRowAt(i)) {
            InsertNulls(*row, col, count);
        }
    }
    m_colCount += count;
    return TRUE;
}

BOOL CGXData::RemoveRows(ROWCOL from, ROWCOL to) {
    if (from > m_rowCount) {
        return TRUE;
    }
    const INT_PTR count = to >= from ? AsIndex(to - from) + 1 : 0;
    m_rowBaseStyles.DeleteRange(AsIndex(from), count);
    m_cells.DeleteRange(AsIndex(from), count);
    m_rowCount -= RemovedCount(from, to, m_rowCount);
    return TRUE;
}

BOOL CGXData::RemoveCols(ROWCOL from, ROWCOL to) {
    if (from > m_colCount) {
        return TRUE;
    }
    const INT_PTR count = to >= from ? AsIndex(to - from) + 1 : 0;
    m_colBaseStyles.DeleteRange(AsIndex(from), count);
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        if (CGXStylePtrArray* row = m_cells.GetRowAt(i)) {
            row->DeleteRange(AsIndex(from), count);
        }
    }
    m_colCount -= RemovedCount(from, to, m_colCount);
    return TRUE;
}

BOOL CGXData::MoveRows(ROWCOL from, ROWCOL to, ROWCOL dest) {
    if (to >= from) {
        const INT_PTR count = AsIndex(to - from) + 1;
        MovePointerBlock(m_rowBaseStyles, AsIndex(from), count, AsIndex(dest));
        MovePointerBlock(m_cells, AsIndex(from), count, AsIndex(dest));
    }
    return TRUE;
}

BOOL CGXData::MoveCols(ROWCOL from, ROWCOL to, ROWCOL dest) {
    if (to >= from) {
        const INT_PTR count = AsIndex(to - from) + 1;
        MovePointerBlock(m_colBaseStyles, AsIndex(from), count, AsIndex(dest));
        for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
            if (CGXStylePtrArray* row = m_cells.GetRowAt(i)) {
                MovePointerBlock(*row, AsIndex(from), count, AsIndex(dest));
            }
        }
    }
    return TRUE;
}

BOOL CGXData::CopyCells(CGXRange range, ROWCOL destRow, ROWCOL destCol) {
    CGXAbstractDataCopyMoveCellsImp* copy = GridLibraryState::Instance().dataCopyMoveCellsImp;
    return copy ? copy->CopyCells(*this, range, destRow, destCol) : FALSE;
}

BOOL CGXData::MoveCells(const CGXRange* range, ROWCOL destRow, ROWCOL destCol, CObject** undoInfo,
                        BOOL createUndoInfo, int reserved) {
    CGXAbstractDataCopyMoveCellsImp* move = GridLibraryState::Instance().dataCopyMoveCellsImp;
    return move ? move->MoveCells(*this, range, destRow, destCol, undoInfo, createUndoInfo, reserved) : FALSE;
}

BOOL CGXData::StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind) {
    if (row > m_rowCount) {
        m_rowCount = row;
    }
    if (col > m_colCount) {
        m_colCount = col;
    }
    if (kind == kBaseStyleKind) {
        CGXStylePtrArray& bases = row != 0 ? m_rowBaseStyles : m_colBaseStyles;
        const INT_PTR index = AsIndex(row != 0 ? row : col);
        CGXStyle* existing = bases.GetStyleAt(index);
        if (!style) {
            if (existing) {
                delete existing;
                bases.SetAt(index, nullptr);
            }
        } else if (existing) {
            existing->MergeStyle(*style, mode);
        } else if (mode != kMergeExclude) {
            std::unique_ptr<CGXStyle> copy(style->Clone());
            bases.SetAtGrow(index, copy.get());
            copy.release();
        }
        return TRUE;
    }

    CGXStylePtrArray* cells = m_cells.GetRowAt(AsIndex(row));
    if (!style) {
        if (cells && cells->GetStyleAt(AsIndex(col))) {
            delete cells->GetStyleAt(AsIndex(col));
            cells->SetAt(AsIndex(col), nullptr);
        }
        return TRUE;
    }
    CGXStyle* existing = cells ? cells->GetStyleAt(AsIndex(col)) : nullptr;
    if (!existing && mode == kMergeExclude) {
        return TRUE;
    }
    if (!cells) {
        if (m_cells.GetSize() < AsIndex(m_rowCount) + 1) {
            m_cells.SetSize(AsIndex(m_rowCount) + 1);
        }
        auto newRow = std::make_unique<CGXStylePtrArray>();
        newRow->SetSize(AsIndex(m_colCount) + 1);
        m_cells.SetAt(AsIndex(row), newRow.get());
        cells = newRow.release();
    } else if (cells->GetSize() < AsIndex(m_colCount) + 1) {
        cells->SetSize(AsIndex(m_colCount) + 1);
    }

    const bool detectNumber = kind == kDetectNumberKind && mode != kMergeExclude &&
                              style->GetIncludeValue() && style->GetValueType() != kValueNumber &&
                              GridLibraryState::Instance().numberFormattingImp;
    double number = 0;
    const bool isNumber = detectNumber && GetDrawingAndFormatting()->ParseValueText(
                                              style->GetValue(), &number, nullptr, nullptr);

    CGXStyle* stored = existing;
    if (existing) {
        existing->MergeStyle(*style, mode);
    } else {
        std::unique_ptr<CGXStyle> copy(style->Clone());
        cells->SetAt(AsIndex(col), copy.get());
        stored = copy.release();
    }
    if (isNumber) {
        stored->SetValueType(kValueNumber);
    }
    return TRUE;
}

BOOL CGXData::GetStyle(ROWCOL row, ROWCOL col, CGXStyle& out, int mode, int kind) const {
    if (row > m_rowCount || col > m_colCount) {
        return FALSE;
    }
    const CGXStyle* stored = nullptr;
    if (kind == kBaseStyleKind) {
        stored =
            row != 0 ? m_rowBaseStyles.GetStyleAt(AsIndex(row)) : m_colBaseStyles.GetStyleAt(AsIndex(col));
    } else if (const CGXStylePtrArray* cells = m_cells.GetRowAt(AsIndex(row))) {
        stored = cells->GetStyleAt(AsIndex(col));
    }
    if (!stored) {
        return FALSE;
    }
    if (mode == kMergeCopy) {
        out.Assign(*stored);
    } else {
        out.MergeStyle(*stored, mode);
    }
    return TRUE;
}

BOOL CGXData::MoveDataRows(const CGXRange& range, const CDWordArray& order) {
    CGXAbstractGridSortMoveDataImp* move = GridLibraryState::Instance().sortMoveDataImp;
    return move ? move->MoveDataRows(*this, range, order) : FALSE;
}

BOOL CGXData::MoveDataCols(const CGXRange& range, const CDWordArray& order) {
    CGXAbstractGridSortMoveDataImp* move = GridLibraryState::Instance().sortMoveDataImp;
    return move ? move->MoveDataCols(*this, range, order) : FALSE;
}

BOOL CGXData::ResetValue(ROWCOL, ROWCOL) {
    m_scratchStyle1.SetValue(u"");
    return FALSE;
}
