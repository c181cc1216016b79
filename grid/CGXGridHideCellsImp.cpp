#include "grid/CGXGridHideCellsImp.h"

#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/CGXProperties.h"
#include "grid/CGXRange.h"
#include "platform/base/CArrays.h"

#include <vector>

namespace {

INT_PTR BitCount(const CByteArray& bits) {
    return bits.GetSize() * 8;
}

BOOL BitAt(const CByteArray& bits, INT_PTR n) {
    return n < BitCount(bits) && (bits[n / 8] & (1u << (n % 8))) != 0;
}

void PutBit(CByteArray& bits, INT_PTR n, BOOL value) {
    const BYTE mask = static_cast<BYTE>(1u << (n % 8));
    bits[n / 8] = static_cast<BYTE>(value ? bits[n / 8] | mask : bits[n / 8] & ~mask);
}

// Drops the trailing bytes that hold no set bit.
void TrimUnused(CByteArray& bits) {
    INT_PTR size = bits.GetSize();
    while (size > 0 && bits[size - 1] == 0) {
        --size;
    }
    bits.SetSize(size);
}

CByteArray& BitsOf(CGXGridCore* grid, BOOL rows) {
    CGXGridParam* param = grid->GetParam();
    return rows ? param->m_abHiddenRows : param->m_abHiddenCols;
}

} // namespace

BOOL HiddenBitsSet(CByteArray& bits, ROWCOL n, BOOL value) {
    const INT_PTR at = static_cast<INT_PTR>(n);
    if (at >= BitCount(bits)) {
        if (!value) {
            return TRUE; // past the end every bit is already 0
        }
        const INT_PTR oldSize = bits.GetSize();
        bits.SetSize(at / 8 + 1);
        for (INT_PTR i = oldSize; i < bits.GetSize(); ++i) {
            bits[i] = 0;
        }
    }
    PutBit(bits, at, value);
    return TRUE;
}

BOOL HiddenBitsTest(const CByteArray& bits, ROWCOL n) {
    return BitAt(bits, static_cast<INT_PTR>(n));
}

void HiddenBitsRemove(CByteArray& bits, ROWCOL first, ROWCOL last) {
    const INT_PTR total = BitCount(bits);
    if (last < first || static_cast<INT_PTR>(first) >= total) {
        return;
    }
    const INT_PTR from = static_cast<INT_PTR>(first);
    const INT_PTR count = std::min<INT_PTR>(static_cast<INT_PTR>(last) - from + 1, total - from);
    for (INT_PTR n = from; n < total; ++n) {
        PutBit(bits, n, n + count < total ? BitAt(bits, n + count) : FALSE);
    }
    TrimUnused(bits);
}

void HiddenBitsInsert(CByteArray& bits, ROWCOL at, ROWCOL count) {
    const INT_PTR total = BitCount(bits);
    if (count == 0 || static_cast<INT_PTR>(at) >= total) {
        return;
    }
    const INT_PTR from = static_cast<INT_PTR>(at);
    const INT_PTR n = static_cast<INT_PTR>(count);
    const INT_PTR oldSize = bits.GetSize();
    bits.SetSize(oldSize + (n - 1) / 8 + 1);
    for (INT_PTR i = oldSize; i < bits.GetSize(); ++i) {
        bits[i] = 0;
    }
    const INT_PTR grown = BitCount(bits);
    for (INT_PTR i = grown - 1; i >= from + n; --i) {
        PutBit(bits, i, BitAt(bits, i - n));
    }
    for (INT_PTR i = from; i < from + n && i < grown; ++i) {
        PutBit(bits, i, FALSE);
    }
}

void HiddenBitsMove(CByteArray& bits, ROWCOL first, ROWCOL last, ROWCOL dest) {
    if (dest == first || last < first) {
        return;
    }
    const ROWCOL count = last - first + 1;
    std::vector<BOOL> moved;
    moved.reserve(count);
    for (ROWCOL n = first; n <= last; ++n) {
        moved.push_back(HiddenBitsTest(bits, n));
    }
    // Counted in the array before the removal: past the moved rows when moving down.
    const ROWCOL insertAt = dest > first ? dest + count : dest;
    if (static_cast<INT_PTR>(insertAt) < BitCount(bits)) {
        HiddenBitsInsert(bits, insertAt, count);
    }
    for (ROWCOL k = 0; k < count; ++k) {
        HiddenBitsSet(bits, insertAt + k, moved[k]);
    }
    const ROWCOL sourceAt = dest > first ? first : first + count;
    HiddenBitsRemove(bits, sourceAt, sourceAt + count - 1);
}

void CGXGridCore::InstallHideCells() {
    InstallFeature<CGXGridHideCellsImp>(kFeatureHideCells);
}

void CGXGridHideCellsImp::RemoveRows(CGXGridCore* grid, ROWCOL from, ROWCOL to) {
    HiddenBitsRemove(BitsOf(grid, TRUE), from, to);
}

void CGXGridHideCellsImp::RemoveCols(CGXGridCore* grid, ROWCOL from, ROWCOL to) {
    HiddenBitsRemove(BitsOf(grid, FALSE), from, to);
}

void CGXGridHideCellsImp::InsertRows(CGXGridCore* grid, ROWCOL row, ROWCOL count) {
    HiddenBitsInsert(BitsOf(grid, TRUE), row, count);
}

void CGXGridHideCellsImp::InsertCols(CGXGridCore* grid, ROWCOL col, ROWCOL count) {
    HiddenBitsInsert(BitsOf(grid, FALSE), col, count);
}

void CGXGridHideCellsImp::MoveRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, ROWCOL dest) {
    HiddenBitsMove(BitsOf(grid, TRUE), from, to, dest);
}

void CGXGridHideCellsImp::MoveCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, ROWCOL dest) {
    HiddenBitsMove(BitsOf(grid, FALSE), from, to, dest);
}

BOOL CGXGridHideCellsImp::Hide(CGXGridCore* grid, BOOL rows, ROWCOL from, ROWCOL to, BOOL hide,
                               const BOOL* hideArray, UINT flags, int ctCmd) {
    if (to == 0) {
        to = from;
    }
    CGXGridParam* param = grid->GetParam();
    if (!param || to < from) {
        return FALSE;
    }
    CGXLongOperation operation;
    std::vector<BOOL> oldStates;
    BOOL changed = FALSE;
    for (ROWCOL index = from;; ++index) {
        const BOOL wasHidden = rows ? grid->IsRowHidden(index) : grid->IsColHidden(index);
        const BOOL wanted = hideArray ? hideArray[index - from] : hide;
        oldStates.push_back(wasHidden);
        if (rows) {
            grid->StoreHideRow(index, wanted);
        } else {
            grid->StoreHideCol(index, wanted);
        }
        changed |= (wasHidden ? TRUE : FALSE) != (wanted ? TRUE : FALSE);
        if (index == to) {
            break;
        }
    }
    if (!changed) {
        return FALSE;
    }
    const CGXRange spans = rows ? CGXRange().SetRows(from, to) : CGXRange().SetCols(from, to);
    grid->DelayMergeCells(spans);
    grid->DelayFloatCells(spans);
    if (rows) {
        grid->UpdateChangedRowHeights(from, to, flags, TRUE);
    } else {
        grid->UpdateChangedColWidths(from, to, flags, TRUE);
    }
    auto* commands = static_cast<CGXAbstractCommandFactory*>(grid->GetFeature(kFeatureUndoRedo));
    if (commands && ctCmd != kCmdRollback && param->m_bUndoEnabled) {
        BOOL* states = new BOOL[oldStates.size()];
        std::copy(oldStates.begin(), oldStates.end(), states);
        CObject* command = rows ? commands->CreateHideRowsCommand(from, to, states, ctCmd)
                                : commands->CreateHideColsCommand(from, to, states, ctCmd);
        if (command) {
            grid->AddCommand(command, ctCmd);
        }
    }
    return TRUE;
}

BOOL CGXGridHideCellsImp::HideRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray,
                                   UINT flags, int ctCmd) {
    return Hide(grid, TRUE, from, to, hide, hideArray, flags, ctCmd);
}

BOOL CGXGridHideCellsImp::HideCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, BOOL hide, BOOL* hideArray,
                                   UINT flags, int ctCmd) {
    return Hide(grid, FALSE, from, to, hide, hideArray, flags, ctCmd);
}

BOOL CGXGridHideCellsImp::IsHidden(CGXGridCore* grid, BOOL rows, ROWCOL index) {
    const CGXGridParam* param = grid->GetParam();
    if (!param) {
        return FALSE;
    }
    // Only the top pane row (left pane column) of a splitter window shows the column (row) headers.
    const ROWCOL pane = rows ? grid->m_nSplitterRow : grid->m_nSplitterCol;
    const ROWCOL headers = rows ? grid->GetHeaderRows() : grid->GetHeaderCols();
    if (pane != 0 && !grid->IsPrinting() && index <= headers) {
        return TRUE;
    }
    const CGXProperties* properties = param->GetProperties();
    if (index == 0 && grid->IsPrinting() && properties && properties->printing &&
        !(rows ? properties->printColumnHeaders : properties->printRowHeaders)) {
        return TRUE;
    }
    return HiddenBitsTest(rows ? param->m_abHiddenRows : param->m_abHiddenCols, index);
}

BOOL CGXGridHideCellsImp::IsRowHidden(CGXGridCore* grid, ROWCOL row) {
    return IsHidden(grid, TRUE, row);
}

BOOL CGXGridHideCellsImp::IsColHidden(CGXGridCore* grid, ROWCOL col) {
    return IsHidden(grid, FALSE, col);
}

BOOL CGXGridHideCellsImp::StoreHideRow(CGXGridCore* grid, ROWCOL row, BOOL hide) {
    return grid->GetParam() ? HiddenBitsSet(BitsOf(grid, TRUE), row, hide) : FALSE;
}

BOOL CGXGridHideCellsImp::StoreHideCol(CGXGridCore* grid, ROWCOL col, BOOL hide) {
    return grid->GetParam() ? HiddenBitsSet(BitsOf(grid, FALSE), col, hide) : FALSE;
}
