// A buffer of 8-byte cells that stands for the items of a dynamic group: doubles, 32-bit integers or 16-bit
// values, optionally with a value range per cell. Reads and writes go to the cell at the read or write
// position, which advance after each access; a full buffer wraps to cell 0 or grows.
#pragma once

#include "chart/SRGraphData.h"

#include <cstdint>
#include <vector>

class SRGraphDynamicData : public SRGraphData {
    DECLARE_SERIAL(SRGraphDynamicData)

public:
    enum DataType { typeAny = -1, typeNew = 0, typeDouble = 1, typeInt = 2, typeShort = 3 };

    SRGraphDynamicData() = default;

    void Serialize(CArchive& ar) override;
    // The range of the cell at the read position (which advances), with ranges; else an unset range.
    CScale GetValueRange() override;
    BOOL IsDynamic() const override { return TRUE; }
    // The cell at the read position, which then advances (back to 0 after the last cell).
    double GetValue(BOOL logarithm = FALSE) override;
    // Stores at the write position by the data type, which then advances.
    void SetValue(double value) override;

    // Shifts every cell by one: at end, towards cell 0 with the value last; otherwise away from it with the
    // value first.
    virtual void ShiftIn(double value, BOOL atEnd);
    virtual void SetWrap(BOOL wrap) { m_bWrap = wrap; }
    virtual BOOL SetWritePosition(UINT cell);
    virtual void ResetWritePosition() { m_nWritePos = 0; }
    virtual BOOL HasRanges() const { return m_bRanges; }
    virtual void SetRanges(BOOL ranges);
    virtual BOOL SetReadPosition(UINT cell);
    virtual void ResetReadPosition() { m_nReadPos = 0; }
    virtual UINT GetSize() const { return m_nSize; }
    virtual int GetGrowth() const { return m_nGrowth; }
    virtual void SetGrowth(int growth) { m_nGrowth = growth; }
    // Allocates the buffer, or resizes it keeping the first cells.
    virtual void Allocate(UINT cells);
    virtual UINT PushInt(LONG value);
    virtual UINT PushShort(WORD value);

    int GetDataType() const { return m_nDataType; }
    UINT GetWritePosition() const { return m_nWritePos; }
    UINT GetReadPosition() const { return m_nReadPos; }
    BOOL IsAllocated() const { return m_bAllocated; }

private:
    double CellValue(UINT cell) const;
    void StoreCell(UINT cell, double value);
    // Moves the write position on; a full buffer wraps or grows.
    void AdvanceWrite();
    // A write needs an allocated buffer and a write position inside it.
    void CheckWritable() const;

    std::vector<CScale> m_ranges;
    BOOL m_bRanges = FALSE;
    int m_nDataType = typeNew;
    int m_nGrowth = 0;
    BOOL m_bWrap = FALSE;
    BOOL m_bAllocated = FALSE;
    UINT m_nSize = 0;
    UINT m_nReadPos = 0;
    UINT m_nWritePos = 0;
    std::vector<std::uint64_t> m_cells;
};
