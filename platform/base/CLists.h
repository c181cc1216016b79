// The framework's non-template lists. The object list holds CObject pointers and leaves deleting the
// objects to its owner.
#pragma once

#include "platform/base/CollectionTemplates.h"

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR blockSize = 10) : CList(blockSize) {}
};

// Pointers cannot be stored in an archive; Serialize does nothing.
class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR blockSize = 10) : CList(blockSize) {}
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR blockSize = 10) : CList(blockSize) {}
};
