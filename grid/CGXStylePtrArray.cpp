#include "grid/CGXStylePtrArray.h"

#include "grid/CGXStyle.h"
#include "grid/GridContainers.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CGXStylePtrArray, CPtrArray)
IMPLEMENT_DYNCREATE(CGXStylePtrArrayPtrArray, CPtrArray)

void CGXStylePtrArray::Serialize(CArchive& ar) {
    RequireFeature(GridLibraryState::Instance().docSerializeImp)->SerializeStylePtrArray(*this, ar);
}

void CGXStylePtrArray::DeleteAll() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetStyleAt(i);
    }
    RemoveAll();
}

void CGXStylePtrArray::DeleteRange(INT_PTR from, INT_PTR count) {
    if (from < 0 || from >= GetSize() || count <= 0) {
        return;
    }
    count = std::min(count, GetSize() - from);
    for (INT_PTR i = from; i < from + count; ++i) {
        delete GetStyleAt(i);
    }
    RemoveAt(from, count);
}

void CGXStylePtrArray::CopyFrom(const CGXStylePtrArray& other) {
    DeleteAll();
    SetSize(other.GetSize());
    for (INT_PTR i = 0; i < other.GetSize(); ++i) {
        const CGXStyle* style = other.GetStyleAt(i);
        SetAt(i, style ? style->Clone() : nullptr);
    }
}

void CGXStylePtrArrayPtrArray::Serialize(CArchive& ar) {
    RequireFeature(GridLibraryState::Instance().docSerializeImp)->SerializeStylePtrArrayPtrArray(*this, ar);
}

void CGXStylePtrArrayPtrArray::DeleteAll() {
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        delete GetRowAt(i);
    }
    RemoveAll();
}

void CGXStylePtrArrayPtrArray::DeleteRange(INT_PTR from, INT_PTR count) {
    if (from < 0 || from >= GetSize() || count <= 0) {
        return;
    }
    count = std::min(count, GetSize() - from);
    for (INT_PTR i = from; i < from + count; ++i) {
        delete GetRowAt(i);
    }
    RemoveAt(from, count);
}

void CGXStylePtrArrayPtrArray::CopyFrom(const CGXStylePtrArrayPtrArray& other) {
    DeleteAll();
    SetSize(other.GetSize());
    for (INT_PTR i = 0; i < other.GetSize(); ++i) {
        if (const CGXStylePtrArray* row = other.GetRowAt(i)) {
            auto* copy = new CGXStylePtrArray;
            copy->CopyFrom(*row);
            SetAt(i, copy);
        }
    }
}

void MovePointerBlock(CPtrArray& array, INT_PTR from, INT_PTR count, INT_PTR dest) {
    MoveArrayBlock(array, from, count, dest, static_cast<void*>(nullptr));
}
