// Maps from a (row, column) pair to an object: the grid engine's per-cell caches. The map never deletes
// the objects it holds.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridHashChain.h"
#include "platform/base/CObject.h"

struct GridCellKey {
    ROWCOL row = 0;
    ROWCOL col = 0;
    bool operator==(const GridCellKey&) const = default;
};

class CMapNdxToOb : public CObject {
    DECLARE_SERIAL(CMapNdxToOb)
public:
    explicit CMapNdxToOb(int blockSize = 10);
    ~CMapNdxToOb() override = default;

    INT_PTR GetCount() const { return m_chain.GetCount(); }
    BOOL IsEmpty() const { return m_chain.IsEmpty(); }

    BOOL Lookup(ROWCOL row, ROWCOL col, CObject*& object) const;
    // The object slot of the cell, made null when missing.
    CObject*& SetAt(ROWCOL row, ROWCOL col);
    BOOL RemoveKey(ROWCOL row, ROWCOL col);
    void RemoveAll() { m_chain.RemoveAll(); }
    void InitHashTable(UINT bucketCount, BOOL allocateNow = TRUE) {
        m_chain.InitHashTable(bucketCount, allocateNow);
    }

    POSITION GetStartPosition() const { return m_chain.GetStartPosition(); }
    void GetNextAssoc(POSITION& position, ROWCOL& row, ROWCOL& col, CObject*& object) const;

    // WORD count, then per cell DWORD row, DWORD column and the object. Reading reads objects of any class.
    void Serialize(CArchive& ar) override;

private:
    UINT BucketOf(ROWCOL row, ROWCOL col) const {
        return (((col & 0xFFFF) << 12) | ((row & 0xFFFF) >> 4)) % m_chain.GetHashTableSize();
    }

    GridHashChain<GridCellKey, CObject*> m_chain;
};

class CGXMapCellToOb : public CMapNdxToOb {
    DECLARE_SERIAL(CGXMapCellToOb)
public:
    explicit CGXMapCellToOb(int blockSize = 10) : CMapNdxToOb(blockSize) {}
};
