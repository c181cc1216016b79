#include "grid/CGXCoveredCellPool.h"

#include "grid/CGXRangeList.h"
#include "grid/GridLibraryState.h"

IMPLEMENT_DYNCREATE(CGXCoveredCellPool, CObject)

POSITION CGXCoveredCellPool::Lookup(ROWCOL row, ROWCOL col) const {
    const auto cells = m_rows.find(row);
    if (cells == m_rows.end()) {
        return nullptr;
    }
    const auto cell = cells->second.find(col);
    return cell == cells->second.end() ? nullptr : cell->second;
}

BOOL CGXCoveredCellPool::SetRange(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, POSITION position) {
    if (position && top == bottom && left == right) {
        return FALSE;
    }
    bool changed = false;
    if (!position) {
        for (ROWCOL row = top; row <= bottom && row >= top; ++row) {
            const auto cells = m_rows.find(row);
            if (cells == m_rows.end()) {
                continue;
            }
            auto cell = cells->second.find(left);
            const POSITION held = cell == cells->second.end() ? nullptr : cell->second;
            for (ROWCOL col = left; held && cell != cells->second.end() && cell->first == col && cell->second == held;
                 ++col) {
                cell = cells->second.erase(cell);
                changed = true;
            }
            if (cells->second.empty()) {
                m_rows.erase(cells);
            }
        }
        return changed ? TRUE : FALSE;
    }

    // A cell of another range refuses the whole range; check before changing anything.
    for (ROWCOL row = top; row <= bottom && row >= top; ++row) {
        const POSITION held = Lookup(row, left);
        if (held && held != position) {
            return FALSE;
        }
    }
    for (ROWCOL row = top; row <= bottom && row >= top; ++row) {
        std::map<ROWCOL, POSITION>& cells = m_rows[row];
        for (ROWCOL col = left; col <= right && col >= left; ++col) {
            cells[col] = position;
        }
        // The range shrank: what it held beyond its right column goes.
        for (auto cell = cells.upper_bound(right); cell != cells.end() && cell->second == position;) {
            cell = cells.erase(cell);
        }
        changed = true;
    }
    return changed ? TRUE : FALSE;
}

void CGXCoveredCellPool::Rebuild(const CGXRangeList& ranges) {
    m_rows.clear();
    for (POSITION position = ranges.GetHeadPosition(); position;) {
        const POSITION at = position;
        const CGXRange* range = ranges.GetNextRange(position);
        if (range->IsValid()) {
            SetRange(range->top, range->left, range->bottom, range->right, at);
        }
    }
}

CObject* CGXCoveredCellPoolImp::CreatePool() {
    return new CGXCoveredCellPool;
}

void CGXCoveredCellPoolImp::CopyPool(CObject* pool, const CGXRangeList& coveredRanges) {
    if (auto* covered = dynamic_cast<CGXCoveredCellPool*>(pool)) {
        covered->Rebuild(coveredRanges);
    }
}

void InstallCoveredCellPool() {
    InstallAppFeature<CGXCoveredCellPoolImp>(GridLibraryState::Instance().coveredCellPoolImp);
}
