// An array of owned DWORD arrays, indexed by one grid coordinate (the outer index) and then the other (the
// inner index): the store of the span cell pool. Null entries stand for empty inner arrays.
#pragma once

#include "grid/GridDefs.h"
#include "platform/base/CArrays.h"

// The entry of a cell that no span covers.
constexpr DWORD kNoSpan = 0xFFFFFFFF;

class CGXDWordArrayPtrArray : public CPtrArray {
    DECLARE_DYNAMIC(CGXDWordArrayPtrArray)
public:
    CGXDWordArrayPtrArray() = default;
    ~CGXDWordArrayPtrArray() override { DeleteAll(); }
    CGXDWordArrayPtrArray(const CGXDWordArrayPtrArray&) = delete;
    CGXDWordArrayPtrArray& operator=(const CGXDWordArrayPtrArray&) = delete;

    // A deep copy; a null inner array of the source becomes an empty one.
    virtual CGXDWordArrayPtrArray& Assign(const CGXDWordArrayPtrArray& other);

    CDWordArray* GetArray(INT_PTR index) const {
        return index < GetSize() ? static_cast<CDWordArray*>(GetAt(index)) : nullptr;
    }
    // Deletes every inner array and empties the outer one.
    void DeleteAll();

    // Each answers FALSE, changing nothing, when the outer array is empty or an argument is refused.
    BOOL InsertArrays(ROWCOL index, ROWCOL count);
    BOOL RemoveArrays(ROWCOL first, ROWCOL last);
    BOOL MoveArrays(ROWCOL first, ROWCOL last, ROWCOL dest);
    BOOL InsertElements(ROWCOL index, ROWCOL count);
    BOOL RemoveElements(ROWCOL first, ROWCOL last);
    BOOL MoveElements(ROWCOL first, ROWCOL last, ROWCOL dest);

    // WORD version 1, DWORD outer size, then (DWORD index, DWORD array) for each inner array present, in
    // increasing index order, and DWORD 0xFFFFFFFF. Reading replaces the contents.
    void Serialize(CArchive& ar) override;
};
