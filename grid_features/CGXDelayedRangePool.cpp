#include "grid_features/CGXDelayedRangePool.h"

#include "grid/GridLibraryState.h"
#include "platform/base/CArchive.h"
#include "platform/base/Exceptions.h"

#include <algorithm>
#include <new>

IMPLEMENT_SERIAL(CGXDelayedRangePool, CObject, 1)

namespace {

constexpr DWORD kNoColumn = 0xFFFFFFFF;
constexpr ROWCOL kLastRowCol = 0xFFFFFFFE;

bool Covers(const CGXRange& outer, const CGXRange& inner) {
    return outer.ContainsCell(inner.top, inner.left) && outer.ContainsCell(inner.bottom, inner.right);
}

// A new range assigned from p, or null when memory runs out.
CGXDelayedRange* CopyOf(const CGXDelayedRange& p) {
    try {
        auto* copy = new CGXDelayedRange;
        copy->Assign(p);
        return copy;
    } catch (CMemoryException* e) {
        e->Delete();
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}

} // namespace

void CGXDelayedRangePool::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD_PTR>(m_Ranges.GetSize()));
        for (INT_PTR i = 0; i < m_Ranges.GetSize(); ++i) {
            ar.WriteObject(m_Ranges.GetAt(i));
        }
        return;
    }
    DeleteAll();
    const DWORD_PTR count = ar.ReadCount();
    // Each element takes at least its two-byte reference.
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 2);
    for (DWORD_PTR i = 0; i < count; ++i) {
        // Each range is owned by this pool alone; a null element holds nothing and is dropped.
        if (CObject* range = ar.ReadOwnedObject(RUNTIME_CLASS(CGXDelayedRange))) {
            m_Ranges.Add(range);
        }
    }
}

CGXDelayedRangePool& CGXDelayedRangePool::Assign(const CGXDelayedRangePool& other) {
    if (&other == this) {
        return *this;
    }
    DeleteAll();
    for (INT_PTR i = 0; i < other.GetCount(); ++i) {
        auto* copy = new CGXDelayedRange;
        m_Ranges.Add(copy);
        copy->Assign(*other.GetAt(i));
    }
    return *this;
}

void CGXDelayedRangePool::AddRange(const CGXRange& range) {
    INT_PTR free = -1;
    const INT_PTR count = GetCount();
    for (INT_PTR i = 0; i < count; ++i) {
        CGXDelayedRange& p = *GetAt(i);
        if (p.m_bDone) {
            free = i;
            continue;
        }
        if (Covers(range, p.m_Range)) {
            p.Reset();
            if (free < 0) {
                free = i;
            }
            continue;
        }
        if (p.m_StartRows.GetSize() == 0) {
            if (p.m_Range.right == range.left - 1) {
                p.m_Range.right = range.right;
            }
            if (p.m_Range.bottom == range.top - 1) {
                p.m_Range.bottom = range.bottom;
            }
            if (Covers(p.m_Range, range)) {
                return;
            }
        }
    }
    if (free >= 0) {
        CGXDelayedRange& slot = *GetAt(free);
        slot.m_bDone = FALSE;
        slot.m_Range = range;
        return;
    }
    try {
        auto* added = new CGXDelayedRange(range);
        try {
            m_Ranges.InsertAt(0, added);
        } catch (...) {
            delete added;
            throw;
        }
    } catch (CMemoryException* e) {
        e->Delete();
    } catch (const std::bad_alloc&) {
    }
}

BOOL CGXDelayedRangePool::GetPendingCells(const CGXRange& range, CDWordArray& lefts, CDWordArray& rights) {
    if (range.bottom < range.top || range.right < range.left) {
        return FALSE;
    }
    const INT_PTR rows = static_cast<INT_PTR>(range.bottom - range.top) + 1;
    try {
        lefts.SetSize(rows);
        rights.SetSize(rows);
    } catch (CMemoryException* e) {
        e->Delete();
        return FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    std::fill_n(lefts.GetData(), rows, kNoColumn);
    std::fill_n(rights.GetData(), rows, 0);

    SplitColumns(range);
    BOOL found = FALSE;
    const INT_PTR count = GetCount();
    for (INT_PTR i = 0; i < count; ++i) {
        CGXDelayedRange& p = *GetAt(i);
        CGXRange newRows;
        if (p.m_bDone || !newRows.IntersectRanges(p.m_Range, range) || !p.MarkEvaluated(newRows)) {
            continue;
        }
        const ROWCOL first = std::max(p.m_Range.top, newRows.top);
        const ROWCOL last = std::min(p.m_Range.bottom, newRows.bottom);
        for (ROWCOL row = first; row <= last && row >= first; ++row) {
            const INT_PTR j = static_cast<INT_PTR>(row - range.top);
            lefts[j] = lefts[j] == kNoColumn ? p.m_Range.left : std::min(lefts[j], p.m_Range.left);
            rights[j] = std::max(rights[j], p.m_Range.right);
        }
        found = TRUE;
    }
    if (found) {
        RemoveDone();
    }
    return found;
}

void CGXDelayedRangePool::SplitColumns(const CGXRange& range) {
    const INT_PTR count = GetCount();
    for (INT_PTR i = 0; i < count; ++i) {
        CGXDelayedRange& p = *GetAt(i);
        CGXRange q;
        if (p.m_bDone || !q.IntersectRanges(p.m_Range, range)) {
            continue;
        }
        if (p.m_Range.left < q.left) {
            if (CGXDelayedRange* piece = CopyOf(p)) {
                piece->m_Range.right = q.left - 1;
                p.m_Range.left = q.left;
                m_Ranges.Add(piece);
            }
        }
        if (q.right < p.m_Range.right) {
            if (CGXDelayedRange* piece = CopyOf(p)) {
                piece->m_Range.left = q.right + 1;
                p.m_Range.right = q.right;
                m_Ranges.Add(piece);
            }
        }
    }
}

void CGXDelayedRangePool::ClampRows(ROWCOL maxRow) {
    for (INT_PTR i = 0; i < GetCount(); ++i) {
        CGXRange& r = GetAt(i)->m_Range;
        r.top = std::min(r.top, maxRow);
        r.bottom = std::min(r.bottom, maxRow);
    }
}

void CGXDelayedRangePool::ClampCols(ROWCOL maxCol) {
    for (INT_PTR i = 0; i < GetCount(); ++i) {
        CGXRange& r = GetAt(i)->m_Range;
        r.left = std::min(r.left, maxCol);
        r.right = std::min(r.right, maxCol);
    }
}

void CGXDelayedRangePool::RemoveDone() {
    for (INT_PTR i = GetCount() - 1; i >= 0; --i) {
        if (GetAt(i)->m_bDone) {
            delete GetAt(i);
            m_Ranges.RemoveAt(i);
        }
    }
}

void CGXDelayedRangePool::DeleteAll() {
    for (INT_PTR i = 0; i < GetCount(); ++i) {
        delete GetAt(i);
    }
    m_Ranges.RemoveAll();
}

CObject* CGXDelayedRangePoolImp::ClonePool(const CObject* source) {
    auto* pool = new CGXDelayedRangePool;
    if (source) {
        pool->Assign(*static_cast<const CGXDelayedRangePool*>(source));
    }
    return pool;
}

CObject* CGXDelayedRangePoolImp::CreatePool() {
    return new CGXDelayedRangePool;
}

void CGXDelayedRangePoolImp::CopyPool(CObject* dest, const CObject* source) {
    if (dest && source) {
        static_cast<CGXDelayedRangePool*>(dest)->Assign(*static_cast<const CGXDelayedRangePool*>(source));
    }
}

void CGXDelayedRangePoolImp::DelayWholeTable(CObject* pool) {
    if (auto* delayed = static_cast<CGXDelayedRangePool*>(pool)) {
        delayed->DeleteAll();
        delayed->AddRange(CGXRange(0, 0, kLastRowCol, kLastRowCol));
    }
}

void InstallDelayedRangePool() {
    InstallAppFeature<CGXDelayedRangePoolImp>(GridLibraryState::Instance().delayedRangePoolImp);
}
