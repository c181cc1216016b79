// The shared font records of CGXFont: one record per distinct font description, reference counted, holding
// the LOGFONT built from the description.
#pragma once

#include "grid/CGXMapByte8ToPtr.h"
#include "grid/GridHashChain.h"
#include "platform/gdi/GdiTypes.h"

struct GXFontData {
    LONG refCount = 0;
    LOGFONTW logFont{};
    BOOL built = FALSE;
};

class CGXMapFontData {
public:
    explicit CGXMapFontData(int blockSize = 10) : m_chain(257, false) { (void)blockSize; }
    CGXMapFontData(const CGXMapFontData&) = delete;
    CGXMapFontData& operator=(const CGXMapFontData&) = delete;

    INT_PTR GetCount() const { return m_chain.GetCount(); }
    void InitHashTable(UINT bucketCount, BOOL allocateNow) {
        m_chain.InitHashTable(bucketCount, allocateNow);
    }
    GXFontData* Lookup(ULONGLONG key) {
        auto* assoc = m_chain.Find(Split(key), BucketOf(key));
        return assoc ? &assoc->value : nullptr;
    }
    // The record of the key, made zeroed when missing.
    GXFontData& SetAt(ULONGLONG key) { return m_chain.FindOrAdd(Split(key), BucketOf(key)).value; }
    // Removes the record; the map empties itself (table and blocks) when that was the last one.
    BOOL RemoveKey(ULONGLONG key) { return m_chain.Remove(Split(key), BucketOf(key)) ? TRUE : FALSE; }

private:
    static GridByte8Key Split(ULONGLONG key) {
        return {static_cast<DWORD>(key), static_cast<DWORD>(key >> 32)};
    }
    UINT BucketOf(ULONGLONG key) const { return static_cast<DWORD>(key) % m_chain.GetHashTableSize(); }

    GridHashChain<GridByte8Key, GXFontData> m_chain;
};
