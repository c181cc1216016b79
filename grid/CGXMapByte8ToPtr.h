// A map from an 8-byte key (two 32-bit values) to a pointer.
#pragma once

#include "grid/GridHashChain.h"
#include "platform/base/CObject.h"

struct GridByte8Key {
    DWORD low = 0;
    DWORD high = 0;
    bool operator==(const GridByte8Key&) const = default;
};

class CGXMapByte8ToPtr : public CObject {
public:
    explicit CGXMapByte8ToPtr(int blockSize = 10) : m_chain(17, true) { (void)blockSize; }

    INT_PTR GetCount() const { return m_chain.GetCount(); }
    BOOL Lookup(const GridByte8Key& key, void*& value) const {
        const auto* assoc = m_chain.Find(key, BucketOf(key));
        if (!assoc) {
            return FALSE;
        }
        value = assoc->value;
        return TRUE;
    }
    void*& SetAt(const GridByte8Key& key) { return m_chain.FindOrAdd(key, BucketOf(key)).value; }
    BOOL RemoveKey(const GridByte8Key& key) { return m_chain.Remove(key, BucketOf(key)) ? TRUE : FALSE; }
    void RemoveAll() { m_chain.RemoveAll(); }
    POSITION GetStartPosition() const { return m_chain.GetStartPosition(); }
    void GetNextAssoc(POSITION& position, GridByte8Key& key, void*& value) const {
        if (const auto* assoc = m_chain.GetNext(position)) {
            key = assoc->key;
            value = assoc->value;
        }
    }

private:
    UINT BucketOf(const GridByte8Key& key) const { return key.low % m_chain.GetHashTableSize(); }

    GridHashChain<GridByte8Key, void*> m_chain;
};
