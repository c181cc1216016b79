#include "grid/CGXGridCoveredCellsImp.h"

#include "grid/CGXCoveredCellPool.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "grid/GridCoveredRanges.h"
#include "platform/base/Exceptions.h"

#include <algorithm>

namespace {

// Sets the parameter's update lock for a scope and puts the old value back.
class UpdateLock {
public:
    explicit UpdateLock(CGXGridParam& param) : m_param(param), m_old(param.m_bLockUpdate) {
        param.m_bLockUpdate = TRUE;
    }
    ~UpdateLock() { m_param.m_bLockUpdate = m_old; }
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

private:
    CGXGridParam& m_param;
    BOOL m_old;
};

} // namespace

void CGXGridCore::InstallCoveredCells() {
    InstallFeature<CGXGridCoveredCellsImp>(kFeatureCoveredCells);
    InstallCoveredCellPool();
    if (m_pParam) {
        m_pParam->CreateCoveredCellPool();
    }
    InstallDrawSpannedCells();
}

BOOL CGXGridCoveredCellsImp::SetCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom,
                                                   ROWCOL right, UINT flags, int ctCmd) {
    ROWCOL oldBottom = top;
    ROWCOL oldRight = left;
    CGXRange old;
    if (grid->GetCoveredCellsRowCol(top, left, old)) {
        oldBottom = old.bottom;
        oldRight = old.right;
    }
    const BOOL cover = !(top == bottom && left == right);
    if (!grid->StoreCoveredCellsRowCol(top, left, bottom, right, cover)) {
        return FALSE;
    }
    CGXRange affected(top, left, std::max(bottom, oldBottom), std::max(right, oldRight));
    grid->DelayFloatCells(affected);
    grid->DelayMergeCells(affected);
    for (int pass = 0; pass < 2; ++pass) {
        CGXRange grown = affected;
        const BOOL changed = pass == 0 ? grid->EvalMergeCells(affected, TRUE, &grown, 0)
                                       : grid->EvalFloatCells(affected, TRUE, &grown, 0);
        if (changed) {
            const CGXRange before = affected;
            affected.UnionRanges(before, grown);
        }
    }
    grid->UpdateCoveredCellsRowCol(affected.top, affected.left, affected.bottom, affected.right, flags, TRUE);

    CGXGridParam* param = grid->GetParam();
    auto* commands = static_cast<CGXAbstractCommandFactory*>(grid->GetFeature(kFeatureUndoRedo));
    if (commands && ctCmd != kCmdRollback && param && param->m_bUndoEnabled) {
        if (CObject* command = commands->CreateCoveredCellsCommand(top, left, oldBottom, oldRight, ctCmd)) {
            grid->AddCommand(command, ctCmd);
        }
    }
    return TRUE;
}

CGXRange* CGXGridCoveredCellsImp::GetCoveredCellsRowCol(CGXGridCore* grid, ROWCOL row, ROWCOL col,
                                                        CGXRange& range) {
    const CGXGridParam* param = grid->GetParam();
    return param && GridCoveredRanges::Find(*param, row, col, range) ? &range : nullptr;
}

BOOL CGXGridCoveredCellsImp::StoreCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom,
                                                     ROWCOL right, BOOL set) {
    CGXGridParam* param = grid->GetParam();
    if (!param || top >= GridCoveredRanges::kFirstUncoverable || left >= GridCoveredRanges::kFirstUncoverable) {
        return FALSE;
    }
    if (param->m_bReadOnlyProtectsData) {
        const CGXStyle& standard = grid->GetStandardStyle();
        if (grid->IsReadOnly() || (standard.GetIncludeReadOnly() && standard.GetReadOnly())) {
            return FALSE;
        }
    }
    BOOL stored = FALSE;
    try {
        stored = GridCoveredRanges::Store(*param, top, left, bottom, right, set);
    } catch (CMemoryException* e) {
        e->Delete();
        return FALSE;
    }
    if (stored) {
        grid->SetDocumentModified(TRUE);
    }
    return stored;
}

void CGXGridCoveredCellsImp::UpdateCoveredCellsRowCol(CGXGridCore* grid, ROWCOL top, ROWCOL left, ROWCOL bottom,
                                                      ROWCOL right, UINT flags, BOOL) {
    CGXGridParam* param = grid->GetParam();
    if (!param || param->m_bLockUpdate) {
        return;
    }
    CGXRange covered;
    if (grid->GetCoveredCellsRowCol(top, left, covered)) {
        bottom = std::max(bottom, covered.bottom);
        right = std::max(right, covered.right);
        ROWCOL row = 0;
        ROWCOL col = 0;
        if (grid->GetCurrentCell(row, col) && covered.ContainsCell(row, col) &&
            !(row == covered.top && col == covered.left)) {
            grid->SetCurrentCell(covered.top, covered.left, flags | 8);
        }
    }
    grid->RedrawRowCol(top, left, bottom, right, flags, FALSE);
}

BOOL CGXGridCoveredCellsImp::ExpandRangeByCoveredCells(CGXGridCore* grid, CGXRange& range) {
    const CGXGridParam* param = grid->GetParam();
    if (!param || !range.IsCells()) {
        return FALSE;
    }
    const CGXRange before = range;
    GridCoveredRanges::ExpandToCoveredCells(*param, range);
    return range == before ? FALSE : TRUE;
}

void CGXGridCoveredCellsImp::ApplyRemovalChanges(CGXGridCore* grid, const std::vector<CGXRange>& changes,
                                                 UINT& flags) {
    if (changes.empty()) {
        return;
    }
    UpdateLock lock(*grid->GetParam());
    BOOL changed = FALSE;
    for (const CGXRange& change : changes) {
        // A range is made smaller by uncovering it first.
        changed |= grid->SetCoveredCellsRowCol(change.top, change.left, change.top, change.left, flags, kCmdNormal);
        if (change.bottom != change.top || change.right != change.left) {
            changed |= grid->SetCoveredCellsRowCol(change.top, change.left, change.bottom, change.right, flags,
                                                   kCmdNormal);
        }
    }
    if (changed) {
        flags = 1;
    }
}

void CGXGridCoveredCellsImp::RemoveCoveredRows(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT& flags, int) {
    if (const CGXGridParam* param = grid->GetParam()) {
        ApplyRemovalChanges(grid, GridCoveredRanges::ChangesForRemovedRows(*param, from, to), flags);
    }
}

void CGXGridCoveredCellsImp::RemoveCoveredCols(CGXGridCore* grid, ROWCOL from, ROWCOL to, UINT& flags, int) {
    if (const CGXGridParam* param = grid->GetParam()) {
        ApplyRemovalChanges(grid, GridCoveredRanges::ChangesForRemovedCols(*param, from, to), flags);
    }
}
