// Maps from a row or column number to a 32-bit value (the grid parameter's row heights and column widths),
// with the renumbering that keeps per-row data with its rows when rows are inserted, removed or moved.
#pragma once

#include "grid/GridHashChain.h"
#include "platform/base/CObject.h"

class CGXCollMapDWordToLong : public CObject {
    DECLARE_SERIAL(CGXCollMapDWordToLong)
public:
    explicit CGXCollMapDWordToLong(int blockSize = 10);
    ~CGXCollMapDWordToLong() override = default;

    INT_PTR GetCount() const { return m_chain.GetCount(); }
    BOOL IsEmpty() const { return m_chain.IsEmpty(); }
    UINT GetHashTableSize() const { return m_chain.GetHashTableSize(); }

    BOOL Lookup(DWORD key, LONG& value) const;
    // The value of the key, made 0 when missing.
    LONG& SetAt(DWORD key);
    LONG& operator[](DWORD key) { return SetAt(key); }
    void SetAt(DWORD key, LONG value) { SetAt(key) = value; }
    BOOL RemoveKey(DWORD key);
    void RemoveAll() { m_chain.RemoveAll(); }
    // Empties the map and sets its bucket count.
    void InitHashTable(UINT bucketCount) { m_chain.InitHashTable(bucketCount); }

    // Iteration in bucket order, from GetStartPosition to a null position.
    POSITION GetStartPosition() const { return m_chain.GetStartPosition(); }
    void GetNextAssoc(POSITION& position, DWORD& key, LONG& value) const;

    // Keys at or above `at` grow by count.
    void InsertKeys(DWORD at, DWORD count);
    // Keys first..last go; keys above last shrink by last - first + 1.
    void RemoveKeys(DWORD first, DWORD last);

    // WORD count, then key and value DWORDs bucket by bucket. Reading sets the pairs read and keeps the rest.
    // A map of more than 65535 pairs cannot be stored: the archive exception, instead of a count that lies.
    void Serialize(CArchive& ar) override;

protected:
    UINT BucketOf(DWORD key) const { return (key / 16) % m_chain.GetHashTableSize(); }
    // Replaces the contents by the pairs of the map, keys renumbered.
    template <class Renumber>
    void Rebuild(Renumber renumber);

    GridHashChain<DWORD, LONG> m_chain;
};

class CGXMapDWordToLong : public CGXCollMapDWordToLong {
    DECLARE_SERIAL(CGXMapDWordToLong)
public:
    explicit CGXMapDWordToLong(int blockSize = 10) : CGXCollMapDWordToLong(blockSize) {}

    // Renumbers the keys as if rows from..to were moved to start at dest; the keys between shift the other
    // way by the block's length.
    void MoveKeys(DWORD from, DWORD to, DWORD dest);
    virtual void Assign(const CGXMapDWordToLong& other);
};
