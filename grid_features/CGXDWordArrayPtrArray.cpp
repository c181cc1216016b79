#include "grid_features/CGXDWordArrayPtrArray.h"

#include "grid/GridContainers.h"
#include "platform/base/CArchive.h"
#include "platform/base/Exceptions.h"

#include <algorithm>
#include <cstdint>

IMPLEMENT_DYNAMIC(CGXDWordArrayPtrArray, CPtrArray)

namespace {

constexpr ROWCOL kLargest = 0x7FFFFFFF;
constexpr DWORD kEndMarker = 0xFFFFFFFF;
constexpr WORD kVersion = 1;

bool SignedSumNegative(ROWCOL index, ROWCOL count) {
    return static_cast<int32_t>(index + count) < 0;
}

// The block first..last, as the array operations take it.
template <class Array, class Value>
void MoveBlock(Array& array, ROWCOL first, ROWCOL last, ROWCOL dest, Value empty) {
    if (last >= first) {
        MoveArrayBlock(array, static_cast<INT_PTR>(first), static_cast<INT_PTR>(last - first) + 1,
                       static_cast<INT_PTR>(dest), empty);
    }
}

} // namespace

CGXDWordArrayPtrArray& CGXDWordArrayPtrArray::Assign(const CGXDWordArrayPtrArray& other) {
    if (&other == this) {
        return *this;
    }
    DeleteAll();
    SetSize(other.GetSize());
    for (INT_PTR i = 0; i < other.GetSize(); ++i) {
        auto* copy = new CDWordArray;
        if (const CDWordArray* source = other.GetArray(i)) {
            copy->Copy(*source);
        }
        SetAt(i, copy);
    }
    return *this;
}

void CGXDWordArrayPtrArray::DeleteAll() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetArray(i);
    }
    RemoveAll();
}

BOOL CGXDWordArrayPtrArray::InsertArrays(ROWCOL index, ROWCOL count) {
    if (GetSize() == 0 || SignedSumNegative(index, count)) {
        return FALSE;
    }
    if (static_cast<INT_PTR>(index) < GetSize()) {
        InsertAt(static_cast<INT_PTR>(index), nullptr, static_cast<INT_PTR>(count));
    }
    return TRUE;
}

BOOL CGXDWordArrayPtrArray::RemoveArrays(ROWCOL first, ROWCOL last) {
    if (GetSize() == 0 || static_cast<INT_PTR>(first) >= GetSize()) {
        return FALSE;
    }
    const INT_PTR end = std::min<INT_PTR>(static_cast<INT_PTR>(last), GetSize() - 1);
    for (INT_PTR i = static_cast<INT_PTR>(first); i <= end; ++i) {
        delete GetArray(i);
    }
    if (end >= static_cast<INT_PTR>(first)) {
        RemoveAt(static_cast<INT_PTR>(first), end - static_cast<INT_PTR>(first) + 1);
    }
    return TRUE;
}

BOOL CGXDWordArrayPtrArray::MoveArrays(ROWCOL first, ROWCOL last, ROWCOL dest) {
    if (GetSize() == 0 || first > kLargest || last > kLargest || dest > kLargest) {
        return FALSE;
    }
    MoveBlock(*this, first, last, dest, static_cast<void*>(nullptr));
    return TRUE;
}

BOOL CGXDWordArrayPtrArray::InsertElements(ROWCOL index, ROWCOL count) {
    if (GetSize() == 0 || SignedSumNegative(index, count)) {
        return FALSE;
    }
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        CDWordArray* inner = GetArray(i);
        if (inner && inner->GetUpperBound() >= static_cast<INT_PTR>(index)) {
            inner->InsertAt(static_cast<INT_PTR>(index), kNoSpan, static_cast<INT_PTR>(count));
        }
    }
    return TRUE;
}

BOOL CGXDWordArrayPtrArray::RemoveElements(ROWCOL first, ROWCOL last) {
    if (GetSize() == 0) {
        return FALSE;
    }
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        CDWordArray* inner = GetArray(i);
        if (inner && static_cast<INT_PTR>(first) < inner->GetSize()) {
            const INT_PTR end = std::min<INT_PTR>(static_cast<INT_PTR>(last), inner->GetSize() - 1);
            inner->RemoveAt(static_cast<INT_PTR>(first), end - static_cast<INT_PTR>(first) + 1);
        }
    }
    return TRUE;
}

BOOL CGXDWordArrayPtrArray::MoveElements(ROWCOL first, ROWCOL last, ROWCOL dest) {
    if (GetSize() == 0 || first > kLargest || last > kLargest || dest > kLargest) {
        return FALSE;
    }
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (CDWordArray* inner = GetArray(i)) {
            MoveBlock(*inner, first, last, dest, kNoSpan);
        }
    }
    return TRUE;
}

void CGXDWordArrayPtrArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << kVersion << static_cast<DWORD>(GetSize());
        for (INT_PTR i = 0; i < GetSize(); ++i) {
            if (CDWordArray* inner = GetArray(i)) {
                ar << static_cast<DWORD>(i);
                inner->Serialize(ar);
            }
        }
        ar << kEndMarker;
        return;
    }
    WORD version = 0;
    ar >> version;
    if (version != kVersion) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    DWORD count = 0;
    ar >> count;
    DeleteAll();
    // The outer size is more than the archive holds: it counts against the load budget.
    ar.ChargeLoadMemory(static_cast<ULONGLONG>(count) * sizeof(void*));
    SetSize(static_cast<INT_PTR>(count));
    int64_t previous = -1;
    for (DWORD index = 0; ar >> index, index != kEndMarker;) {
        // An index outside the stored size, or out of order, would write outside the array or over an
        // array read before: the archive is refused.
        if (index >= count || static_cast<int64_t>(index) <= previous) {
            AfxThrowArchiveException(CArchiveException::badIndex);
        }
        previous = index;
        auto* inner = new CDWordArray;
        SetAt(static_cast<INT_PTR>(index), inner);
        inner->Serialize(ar);
    }
}
