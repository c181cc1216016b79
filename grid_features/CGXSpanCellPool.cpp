#include "grid_features/CGXSpanCellPool.h"

#include "grid/CGXRange.h"
#include "grid/GridLibraryState.h"
#include "platform/base/CArchive.h"
#include "platform/base/Exceptions.h"

#include <new>

IMPLEMENT_SERIAL(CGXSpanCellPool, CObject, 1)

namespace {

constexpr ROWCOL kLargest = 0x7FFFFFFF;

DWORD EntryAt(const CDWordArray* inner, ROWCOL index) {
    return inner && static_cast<INT_PTR>(index) < inner->GetSize() ? inner->GetAt(static_cast<INT_PTR>(index))
                                                                    : kNoSpan;
}

// One direction of a lookup: the span's start and its last cell, when the cell lies in one.
bool FindSpan(const CGXDWordArrayPtrArray& store, ROWCOL outer, ROWCOL inner, ROWCOL& start, ROWCOL& end) {
    const CDWordArray* entries = store.GetArray(static_cast<INT_PTR>(outer));
    const DWORD value = EntryAt(entries, inner);
    if (value == kNoSpan) {
        return false;
    }
    INT_PTR last = static_cast<INT_PTR>(inner);
    while (last + 1 < entries->GetSize() && entries->GetAt(last + 1) == value) {
        ++last;
    }
    start = value;
    end = static_cast<ROWCOL>(last);
    return true;
}

// One direction of setting or clearing a span.
bool StoreSpan(CGXDWordArrayPtrArray& store, ROWCOL outerFirst, ROWCOL outerLast, ROWCOL innerFirst,
               ROWCOL innerLast, BOOL set) {
    // A span one cell long in this direction is not one.
    if (set && innerFirst == innerLast) {
        return false;
    }
    bool changed = false;
    for (ROWCOL outer = outerFirst; outer <= outerLast; ++outer) {
        CDWordArray* entries = store.GetArray(static_cast<INT_PTR>(outer));
        const DWORD old = EntryAt(entries, innerFirst);
        if (!entries) {
            if (!set) {
                continue;
            }
            entries = new CDWordArray;
            store.SetAtGrow(static_cast<INT_PTR>(outer), entries);
        }
        INT_PTR at = static_cast<INT_PTR>(innerFirst);
        if (set) {
            while (entries->GetSize() < at) {
                entries->Add(kNoSpan);
            }
            for (; at <= static_cast<INT_PTR>(innerLast); ++at) {
                entries->SetAtGrow(at, innerFirst);
            }
            // The rest of an older span this one cut into is no span any more.
            for (; at < entries->GetSize() && entries->GetAt(at) == old; ++at) {
                entries->SetAt(at, kNoSpan);
            }
            changed = true;
        } else if (old != kNoSpan) {
            for (; at < entries->GetSize() && entries->GetAt(at) == old; ++at) {
                entries->SetAt(at, kNoSpan);
            }
            changed = true;
        }
    }
    return changed;
}

CGXSpanCellPool* AsPool(CObject* pool) {
    return static_cast<CGXSpanCellPool*>(pool);
}

} // namespace

void CGXSpanCellPool::Serialize(CArchive& ar) {
    m_HorzSpans.Serialize(ar);
    m_VertSpans.Serialize(ar);
}

BOOL CGXSpanCellPool::GetSpanCellsRowCol(ROWCOL row, ROWCOL col, CGXRange& range) const {
    if (row > kLargest || col > kLargest) {
        return FALSE;
    }
    const bool horizontal = FindSpan(m_HorzSpans, row, col, range.left, range.right);
    const bool vertical = FindSpan(m_VertSpans, col, row, range.top, range.bottom);
    return horizontal || vertical;
}

BOOL CGXSpanCellPool::SetSpanCellsRowCol(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, BOOL set) {
    if (bottom > kLargest || right > kLargest) {
        return FALSE;
    }
    try {
        const bool horizontal = StoreSpan(m_HorzSpans, top, bottom, left, right, set);
        const bool vertical = StoreSpan(m_VertSpans, left, right, top, bottom, set);
        return horizontal || vertical;
    } catch (CMemoryException* e) {
        e->Delete();
    } catch (const std::bad_alloc&) {
    }
    return FALSE;
}

BOOL CGXSpanCellPool::InsertRows(ROWCOL row, ROWCOL count) {
    m_HorzSpans.InsertArrays(row, count);
    return m_VertSpans.InsertElements(row, count);
}

BOOL CGXSpanCellPool::RemoveRows(ROWCOL first, ROWCOL last) {
    m_HorzSpans.RemoveArrays(first, last);
    return m_VertSpans.RemoveElements(first, last);
}

BOOL CGXSpanCellPool::MoveRows(ROWCOL first, ROWCOL last, ROWCOL dest) {
    m_HorzSpans.MoveArrays(first, last, dest);
    return m_VertSpans.MoveElements(first, last, dest);
}

BOOL CGXSpanCellPool::InsertCols(ROWCOL col, ROWCOL count) {
    m_VertSpans.InsertArrays(col, count);
    return m_HorzSpans.InsertElements(col, count);
}

BOOL CGXSpanCellPool::RemoveCols(ROWCOL first, ROWCOL last) {
    m_VertSpans.RemoveArrays(first, last);
    return m_HorzSpans.RemoveElements(first, last);
}

BOOL CGXSpanCellPool::MoveCols(ROWCOL first, ROWCOL last, ROWCOL dest) {
    m_VertSpans.MoveArrays(first, last, dest);
    return m_HorzSpans.MoveElements(first, last, dest);
}

CGXSpanCellPool& CGXSpanCellPool::Assign(const CGXSpanCellPool& other) {
    if (&other != this) {
        m_VertSpans.Assign(other.m_VertSpans);
        m_HorzSpans.Assign(other.m_HorzSpans);
    }
    return *this;
}

void CGXSpanCellPool::DeleteAll() {
    m_HorzSpans.DeleteAll();
    m_VertSpans.DeleteAll();
}

CObject* CGXSpanCellPoolImp::ClonePool(const CObject* source) {
    auto* pool = new CGXSpanCellPool;
    if (source) {
        pool->Assign(*static_cast<const CGXSpanCellPool*>(source));
    }
    return pool;
}

CObject* CGXSpanCellPoolImp::CreatePool() {
    return new CGXSpanCellPool;
}

void CGXSpanCellPoolImp::CopyPool(CObject* dest, const CObject* source) {
    if (dest && source) {
        AsPool(dest)->Assign(*static_cast<const CGXSpanCellPool*>(source));
    }
}

void CGXSpanCellPoolImp::InsertRows(CObject* pool, ROWCOL row, ROWCOL count) {
    if (pool) {
        AsPool(pool)->InsertRows(row, count);
    }
}

void CGXSpanCellPoolImp::RemoveRows(CObject* pool, ROWCOL first, ROWCOL last) {
    if (pool) {
        AsPool(pool)->RemoveRows(first, last);
    }
}

void CGXSpanCellPoolImp::MoveRows(CObject* pool, ROWCOL first, ROWCOL last, ROWCOL dest) {
    if (pool) {
        AsPool(pool)->MoveRows(first, last, dest);
    }
}

void CGXSpanCellPoolImp::InsertCols(CObject* pool, ROWCOL col, ROWCOL count) {
    if (pool) {
        AsPool(pool)->InsertCols(col, count);
    }
}

void CGXSpanCellPoolImp::RemoveCols(CObject* pool, ROWCOL first, ROWCOL last) {
    if (pool) {
        AsPool(pool)->RemoveCols(first, last);
    }
}

void CGXSpanCellPoolImp::MoveCols(CObject* pool, ROWCOL first, ROWCOL last, ROWCOL dest) {
    if (pool) {
        AsPool(pool)->MoveCols(first, last, dest);
    }
}

void CGXSpanCellPoolImp::DeleteAll(CObject* pool) {
    if (pool) {
        AsPool(pool)->DeleteAll();
    }
}

void InstallSpanCellPool() {
    InstallAppFeature<CGXSpanCellPoolImp>(GridLibraryState::Instance().spanCellPoolImp);
}
