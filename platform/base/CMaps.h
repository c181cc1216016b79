// The framework's non-template maps: 17 buckets unless InitHashTable says otherwise; string keys hash as
// h = h * 33 + unit, word and pointer keys as the value (low 32 bits) shifted right by 4. The object maps
// leave deleting their objects to their owner.
#pragma once

#include "platform/base/CollectionTemplates.h"

// Pointer maps cannot be stored in an archive; their Serialize does nothing.
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
    DECLARE_DYNAMIC(CMapPtrToWord)
public:
    explicit CMapPtrToWord(INT_PTR blockSize = 10) : CMap(blockSize) {}
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(INT_PTR blockSize = 10) : CMap(blockSize) {}
    void Serialize(CArchive& ar) override { CObject::Serialize(ar); }
};

// Stored as count, then each key (WORD) and object in iteration order.
class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
public:
    explicit CMapWordToOb(INT_PTR blockSize = 10) : CMap(blockSize) {}
};

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
    DECLARE_SERIAL(CMapStringToOb)
public:
    explicit CMapStringToOb(INT_PTR blockSize = 10) : CMap(blockSize) {}
};

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(INT_PTR blockSize = 10) : CMap(blockSize) {}
};
