// A map from a 32-bit key to a string: the older archive form of a style's user attributes (attribute id
// to text). Newest entries come first within a bucket.
#pragma once

#include "grid/GridHashChain.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CGXCollMapDWordToString : public CObject {
    DECLARE_SERIAL(CGXCollMapDWordToString)
public:
    explicit CGXCollMapDWordToString(int blockSize = 10);
    ~CGXCollMapDWordToString() override = default;

    INT_PTR GetCount() const { return m_chain.GetCount(); }
    BOOL IsEmpty() const { return m_chain.IsEmpty(); }
    UINT GetHashTableSize() const { return m_chain.GetHashTableSize(); }

    // Frees the buckets and makes n empty ones.
    void AllocHashTable(UINT bucketCount) { m_chain.InitHashTable(bucketCount, true); }
    void RemoveAll() { m_chain.RemoveAll(); }
    BOOL Lookup(DWORD key, CString& value) const;
    // The value of the key, made empty when missing.
    CString& operator[](DWORD key);

    POSITION GetStartPosition() const { return m_chain.GetStartPosition(); }
    void GetNextAssoc(POSITION& position, DWORD& key, CString& value) const;

    // WORD count, then DWORD key and string per entry, bucket by bucket. Reading adds to what is there. A map
    // of more than 65535 entries is refused with the archive exception rather than stored with a wrong count.
    void Serialize(CArchive& ar) override;

private:
    UINT BucketOf(DWORD key) const { return (key / 16) % m_chain.GetHashTableSize(); }

    GridHashChain<DWORD, CString> m_chain;
};
