// The areas of one grid parameter whose floating or merged spans are still to be evaluated. Changes only
// record an area here; drawing and printing ask for the cells pending in the rows they are about to show.
#pragma once

#include "grid/GridFeatureInterfaces.h"
#include "grid_features/CGXDelayedRange.h"

class CGXDelayedRangePool : public CObject {
    DECLARE_SERIAL(CGXDelayedRangePool)
public:
    CGXDelayedRangePool() = default;
    ~CGXDelayedRangePool() override { DeleteAll(); }
    CGXDelayedRangePool(const CGXDelayedRangePool&) = delete;
    CGXDelayedRangePool& operator=(const CGXDelayedRangePool&) = delete;

    // The ranges as an object array. Reading replaces the ranges; every range read is pending.
    void Serialize(CArchive& ar) override;
    virtual CGXDelayedRangePool& Assign(const CGXDelayedRangePool& other);

    // Records an area: resets the ranges it covers, widens an unevaluated neighbour that then holds it, or
    // takes a free slot or a new range.
    void AddRange(const CGXRange& range);
    // For every row of the range (index row - range.top), the leftmost and rightmost column still pending
    // (0xFFFFFFFF and 0 where none), and marks those rows evaluated. FALSE when the range is inverted,
    // memory runs out or nothing in it is pending.
    BOOL GetPendingCells(const CGXRange& range, CDWordArray& lefts, CDWordArray& rights);
    // Splits the pending ranges that meet the range so that their columns outside it are ranges of their own.
    void SplitColumns(const CGXRange& range);
    void ClampRows(ROWCOL maxRow);
    void ClampCols(ROWCOL maxCol);
    void RemoveDone();
    void DeleteAll();

    INT_PTR GetCount() const { return m_Ranges.GetSize(); }
    CGXDelayedRange* GetAt(INT_PTR index) const { return static_cast<CGXDelayedRange*>(m_Ranges.GetAt(index)); }

private:
    CObArray m_Ranges;
};

// Creates and copies the grid parameter's delayed-range pools.
class CGXDelayedRangePoolImp : public CGXAbstractDelayedRangePoolImp {
public:
    CObject* ClonePool(const CObject* source) override;
    CObject* CreatePool() override;
    void CopyPool(CObject* dest, const CObject* source) override;
    void DelayWholeTable(CObject* pool) override;
};

void InstallDelayedRangePool();
