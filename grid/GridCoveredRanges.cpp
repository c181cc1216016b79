#include "grid/GridCoveredRanges.h"

#include "grid/CGXCoveredCellPool.h"
#include "grid/CGXGridParam.h"

#include <algorithm>

namespace GridCoveredRanges {

namespace {

CGXCoveredCellPool* PoolOf(const CGXGridParam& param) {
    return dynamic_cast<CGXCoveredCellPool*>(param.m_pCoveredCellPool);
}

POSITION Lookup(const CGXGridParam& param, ROWCOL row, ROWCOL col) {
    const CGXCoveredCellPool* pool = PoolOf(param);
    return pool && row < kFirstUncoverable && col < kFirstUncoverable ? pool->Lookup(row, col) : nullptr;
}

// Rows (or, swapped, columns) first..last removed: the changes for ranges over the axis given by the two
// accessors.
template <class Top, class Bottom, class Shrink>
std::vector<CGXRange> ChangesForRemoved(const CGXGridParam& param, ROWCOL first, ROWCOL last, Top top,
                                        Bottom bottom, Shrink shrink) {
    std::vector<CGXRange> changes;
    for (POSITION position = param.m_coveredRanges.GetHeadPosition(); position;) {
        const CGXRange& range = *param.m_coveredRanges.GetNextRange(position);
        if (!range.IsValid()) {
            continue;
        }
        if (top(range) >= first && top(range) <= last) {
            changes.push_back(CGXRange(range.top, range.left, range.top, range.left));
        } else if (top(range) < first && bottom(range) >= first && bottom(range) <= last) {
            changes.push_back(shrink(range, first - 1));
        }
    }
    return changes;
}

} // namespace

BOOL Find(const CGXGridParam& param, ROWCOL row, ROWCOL col, CGXRange& out) {
    const POSITION position = Lookup(param, row, col);
    if (!position) {
        return FALSE;
    }
    out = *param.m_coveredRanges.GetRangeAt(position);
    return TRUE;
}

BOOL Store(CGXGridParam& param, ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL cover) {
    if (top >= kFirstUncoverable || left >= kFirstUncoverable) {
        return FALSE;
    }
    param.CreateCoveredCellPool();
    CGXCoveredCellPool* pool = PoolOf(param);
    if (!pool) {
        return FALSE;
    }
    const POSITION existing = pool->Lookup(top, left);
    const CGXRange* existingRange = existing ? param.m_coveredRanges.GetRangeAt(existing) : nullptr;
    const bool startsHere = existingRange && existingRange->top == top && existingRange->left == left;
    if (!cover) {
        if (!startsHere) {
            return FALSE;
        }
        pool->SetRange(existingRange->top, existingRange->left, existingRange->bottom, existingRange->right,
                       nullptr);
        param.m_coveredRanges.DeleteAt(existing);
        return TRUE;
    }
    if (bottom >= kFirstUncoverable || right >= kFirstUncoverable) {
        return FALSE;
    }
    CGXRange wanted(top, left, bottom, right);
    CGXRange grown = wanted;
    ExpandToCoveredCells(param, grown);
    if (!(grown == wanted)) {
        return FALSE; // it would overlap another covered range (or cut the one starting here)
    }
    if (!startsHere) {
        if (top == bottom && left == right) {
            return FALSE;
        }
        const POSITION added = param.m_coveredRanges.AddRange(new CGXRange(wanted));
        if (!pool->SetRange(top, left, bottom, right, added)) {
            param.m_coveredRanges.DeleteAt(added);
            return FALSE;
        }
        return TRUE;
    }
    if (*existingRange == wanted) {
        return FALSE;
    }
    *param.m_coveredRanges.GetRangeAt(existing) = wanted;
    return pool->SetRange(top, left, bottom, right, existing);
}

void ExpandToCoveredCells(const CGXGridParam& param, CGXRange& range) {
    if (param.m_coveredRanges.IsEmpty() || !PoolOf(param)) {
        return;
    }
    // Over the list rather than the range's cells: a range may reach far past the grid's counts. Again while
    // the range grows, so that what it gained is looked at too.
    for (bool grew = true; grew;) {
        grew = false;
        for (POSITION position = param.m_coveredRanges.GetHeadPosition(); position;) {
            const CGXRange& covered = *param.m_coveredRanges.GetNextRange(position);
            const bool meets = covered.IsValid() && covered.top <= range.bottom && covered.bottom >= range.top &&
                               covered.left <= range.right && covered.right >= range.left;
            if (meets) {
                const CGXRange before = range;
                range.UnionRanges(before, covered);
                grew = grew || !(range == before);
            }
        }
    }
}

std::vector<CGXRange> ChangesForRemovedRows(const CGXGridParam& param, ROWCOL first, ROWCOL last) {
    return ChangesForRemoved(
        param, first, last, [](const CGXRange& r) { return r.top; }, [](const CGXRange& r) { return r.bottom; },
        [](const CGXRange& r, ROWCOL newBottom) { return CGXRange(r.top, r.left, newBottom, r.right); });
}

std::vector<CGXRange> ChangesForRemovedCols(const CGXGridParam& param, ROWCOL first, ROWCOL last) {
    return ChangesForRemoved(
        param, first, last, [](const CGXRange& r) { return r.left; }, [](const CGXRange& r) { return r.right; },
        [](const CGXRange& r, ROWCOL newRight) { return CGXRange(r.top, r.left, r.bottom, newRight); });
}

} // namespace GridCoveredRanges
