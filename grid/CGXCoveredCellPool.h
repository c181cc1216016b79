// The index from a cell to the covered range that holds it, one per grid parameter object. The parameter's
// list of covered ranges is what is kept; the pool is rebuilt from it (after reading, after a copy) and
// names each range by its position in that list. Only ranges larger than one cell are entered.
#pragma once

#include "grid/GridDefs.h"
#include "grid/GridFeatureInterfaces.h"
#include "platform/base/CObject.h"
#include "platform/base/CollectionTemplates.h"

#include <map>

class CGXRangeList;

class CGXCoveredCellPool : public CObject {
    DECLARE_DYNCREATE(CGXCoveredCellPool)
public:
    CGXCoveredCellPool() = default;

    // The list position of the range holding the cell, or null.
    virtual POSITION Lookup(ROWCOL row, ROWCOL col) const;
    // With a position: enters the range's cells (a one-cell range is refused), clearing what the same
    // range held beyond its right column; a cell of another range refuses the whole range and leaves the
    // pool as it was. Without: clears the cells of the range found at each row's left column. TRUE when
    // anything changed.
    virtual BOOL SetRange(ROWCOL top, ROWCOL left, ROWCOL bottom, ROWCOL right, POSITION position);
    // Empties the pool and enters every range of the list.
    void Rebuild(const CGXRangeList& ranges);

private:
    // Per row, per column, the position of the range holding the cell.
    std::map<ROWCOL, std::map<ROWCOL, POSITION>> m_rows;
};

class CGXCoveredCellPoolImp : public CGXAbstractCoveredCellPoolImp {
public:
    CObject* CreatePool() override;
    // A null pool or an object of another class is left alone.
    void CopyPool(CObject* pool, const CGXRangeList& coveredRanges) override;
};

// Makes the covered-cell pool object the library's, once.
void InstallCoveredCellPool();
