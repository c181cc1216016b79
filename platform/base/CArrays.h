// The framework's non-template arrays. Each is the matching CArray with its own run-time class; the
// object array holds CObject pointers and leaves deleting the objects to its owner.
#pragma once

#include "platform/base/CollectionTemplates.h"

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
};

// Pointers cannot be stored in an archive; Serialize does nothing.
class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

// Stored as one block of bytes.
class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
};

// Elements are stored as DWORD values.
class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_SERIAL(CUIntArray)
};

class CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
};
