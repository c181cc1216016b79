// The cell data's sparse arrays: styles by index (a row's cells, or the row or column base styles), and rows
// of such arrays by row index. Both own what they hold; a null element is a cell without a style.
#pragma once

#include "platform/base/CArrays.h"

class CArchive;
class CGXStyle;

class CGXStylePtrArray : public CPtrArray {
    DECLARE_DYNCREATE(CGXStylePtrArray)
public:
    CGXStylePtrArray() = default;
    ~CGXStylePtrArray() override { DeleteAll(); }

    // Through the application-wide document archive object.
    void Serialize(CArchive& ar) override;

    // The style at the index, null beyond the end.
    CGXStyle* GetStyleAt(INT_PTR index) const {
        return index >= 0 && index < GetSize() ? static_cast<CGXStyle*>(GetAt(index)) : nullptr;
    }
    // Deletes every style and empties the array.
    void DeleteAll();
    // Deletes and removes the styles from..from + count - 1 (as many as there are).
    void DeleteRange(INT_PTR from, INT_PTR count);
    // A copy with clones of the styles.
    void CopyFrom(const CGXStylePtrArray& other);
};

class CGXStylePtrArrayPtrArray : public CPtrArray {
    DECLARE_DYNCREATE(CGXStylePtrArrayPtrArray)
public:
    CGXStylePtrArrayPtrArray() = default;
    ~CGXStylePtrArrayPtrArray() override { DeleteAll(); }

    void Serialize(CArchive& ar) override;

    CGXStylePtrArray* GetRowAt(INT_PTR index) const {
        return index >= 0 && index < GetSize() ? static_cast<CGXStylePtrArray*>(GetAt(index)) : nullptr;
    }
    void DeleteAll();
    void DeleteRange(INT_PTR from, INT_PTR count);
    void CopyFrom(const CGXStylePtrArrayPtrArray& other);
};

// Moves count elements from `from` so that the block begins at `dest`, in one pointer array; nothing is
// deleted. Elements beyond the end read as null.
void MovePointerBlock(CPtrArray& array, INT_PTR from, INT_PTR count, INT_PTR dest);
