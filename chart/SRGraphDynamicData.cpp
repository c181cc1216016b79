#include "chart/SRGraphDynamicData.h"

#include "chart/ChartResourceIds.h"
#include "chart/ChartStrings.h"
#include "chart/SRGraphException.h"

#include "platform/base/CArchive.h"
#include "platform/base/MessageBoxConstants.h"

#include <cmath>
#include <cstring>
#include <new>

IMPLEMENT_SERIAL(SRGraphDynamicData, SRGraphData, VERSIONABLE_SCHEMA | 1)

namespace {
// Bytes one stored cell takes at least: its 8 bytes, and with ranges a range (two doubles and a flag).
constexpr ULONGLONG kCellBytes = 8;
constexpr ULONGLONG kRangeBytes = 20;
} // namespace

double SRGraphDynamicData::CellValue(UINT cell) const {
    const std::uint64_t raw = m_cells[cell];
    switch (m_nDataType) {
    case typeDouble: {
        double d;
        std::memcpy(&d, &raw, sizeof d);
        return d;
    }
    case typeInt: {
        std::int32_t i;
        std::memcpy(&i, &raw, sizeof i);
        return i;
    }
    case typeShort: {
        std::uint16_t s;
        std::memcpy(&s, &raw, sizeof s);
        return s;
    }
    default:
        return 0.0;
    }
}

void SRGraphDynamicData::StoreCell(UINT cell, double value) {
    std::uint64_t& raw = m_cells[cell];
    switch (m_nDataType) {
    case typeDouble:
        std::memcpy(&raw, &value, sizeof value);
        break;
    case typeInt: {
        auto i = static_cast<std::int32_t>(value);
        std::memcpy(&raw, &i, sizeof i);
        break;
    }
    case typeShort: {
        auto s = static_cast<std::uint16_t>(static_cast<std::int32_t>(value));
        std::memcpy(&raw, &s, sizeof s);
        break;
    }
    default:
        break;
    }
}

void SRGraphDynamicData::Allocate(UINT cells) {
    try {
        std::vector<std::uint64_t> buffer(cells, 0);
        std::vector<CScale> ranges;
        if (m_bRanges) {
            ranges.resize(cells);
        }
        const UINT kept = m_bAllocated ? std::min(m_nSize, cells) : 0;
        for (UINT i = 0; i < kept; ++i) {
            buffer[i] = m_cells[i];
            if (m_bRanges && i < m_ranges.size()) {
                ranges[i] = m_ranges[i];
            }
        }
        m_cells.swap(buffer);
        m_ranges.swap(ranges);
        m_nSize = cells;
        m_bAllocated = TRUE;
    } catch (const std::bad_alloc&) {
        ChartMessageBox(ChartString(m_bAllocated ? IDS_SRG_DYNAMIC_REALLOCATION : IDS_SRG_DYNAMIC_ALLOCATION),
                        m_bAllocated ? MB_ICONEXCLAMATION : MB_ICONSTOP);
    }
}

void SRGraphDynamicData::SetRanges(BOOL ranges) {
    if (ranges) {
        if (m_ranges.empty()) {
            m_ranges.resize(m_nSize);
        }
    } else {
        m_ranges.clear();
    }
    m_bRanges = ranges;
}

BOOL SRGraphDynamicData::SetWritePosition(UINT cell) {
    if (cell >= m_nSize) {
        ThrowSRGraphException(SRGE_INDEX_RANGE);
    }
    m_nWritePos = cell;
    return TRUE;
}

BOOL SRGraphDynamicData::SetReadPosition(UINT cell) {
    if (cell >= m_nSize) {
        ThrowSRGraphException(SRGE_INDEX_RANGE);
    }
    m_nReadPos = cell;
    return TRUE;
}

void SRGraphDynamicData::CheckWritable() const {
    if (!m_bAllocated) {
        ThrowSRGraphException(SRGE_NO_BUFFER);
    }
    // A full buffer that neither wraps nor grows has no cell left to write.
    if (m_nWritePos >= m_nSize) {
        ThrowSRGraphException(SRGE_INDEX_RANGE);
    }
}

void SRGraphDynamicData::AdvanceWrite() {
    ++m_nWritePos;
    if (m_nWritePos == m_nSize) {
        if (m_bWrap) {
            m_nWritePos = 0;
        } else {
            Allocate(m_nSize + static_cast<UINT>(std::max(m_nGrowth, 0)));
        }
    }
}

void SRGraphDynamicData::SetValue(double value) {
    CheckWritable();
    if (m_bRanges && m_nWritePos < m_ranges.size()) {
        m_ranges[m_nWritePos].Include(value);
    }
    switch (m_nDataType) {
    case typeNew:
    case typeDouble:
        m_nDataType = typeDouble;
        break;
    case typeInt:
        if (!(value >= -2147483648.0 && value <= 2147483647.0)) {
            ThrowSRGraphException(SRGE_INCOMPATIBLE_DATA);
        }
        break;
    case typeShort:
        // A 16-bit cell is read back unsigned: a negative value has no place in it.
        if (!(value >= 0.0 && value <= 255.0)) {
            ThrowSRGraphException(SRGE_INCOMPATIBLE_DATA);
        }
        break;
    default:
        ThrowSRGraphException(SRGE_INCOMPATIBLE_DATA);
    }
    StoreCell(m_nWritePos, value);
    AdvanceWrite();
}

UINT SRGraphDynamicData::PushInt(LONG value) {
    if (m_nDataType != typeAny && m_nDataType != typeInt) {
        ThrowSRGraphException(SRGE_DATA_TYPE);
    }
    m_nDataType = typeInt;
    CheckWritable();
    if (m_bRanges && m_nWritePos < m_ranges.size()) {
        m_ranges[m_nWritePos].Include(value);
    }
    StoreCell(m_nWritePos, value);
    AdvanceWrite();
    return m_nWritePos;
}

UINT SRGraphDynamicData::PushShort(WORD value) {
    if (m_nDataType != typeAny && m_nDataType != typeShort) {
        ThrowSRGraphException(SRGE_DATA_TYPE);
    }
    CheckWritable();
    if (m_bRanges && m_nWritePos < m_ranges.size()) {
        m_ranges[m_nWritePos].Include(value);
    }
    m_nDataType = typeShort;
    StoreCell(m_nWritePos, value);
    AdvanceWrite();
    return m_nWritePos;
}

double SRGraphDynamicData::GetValue(BOOL logarithm) {
    if (!m_bAllocated || m_nReadPos >= m_nSize || m_nDataType < typeDouble || m_nDataType > typeShort) {
        return 0.0;
    }
    double value = CellValue(m_nReadPos);
    m_nReadPos = m_nReadPos + 1 >= m_nSize ? 0 : m_nReadPos + 1;
    return logarithm ? std::log10(std::fabs(value)) : value;
}

CScale SRGraphDynamicData::GetValueRange() {
    if (!m_bRanges || !m_bAllocated || m_nReadPos >= m_ranges.size()) {
        return CScale();
    }
    CScale range = m_ranges[m_nReadPos];
    m_nReadPos = m_nReadPos + 1 >= m_nSize ? 0 : m_nReadPos + 1;
    return range;
}

void SRGraphDynamicData::ShiftIn(double value, BOOL atEnd) {
    if (!m_bAllocated || m_nSize == 0) {
        return;
    }
    const UINT last = m_nSize - 1;
    const bool ranges = m_bRanges && m_ranges.size() == m_nSize;
    if (atEnd) {
        for (UINT i = 0; i < last; ++i) {
            m_cells[i] = m_cells[i + 1];
            if (ranges) {
                m_ranges[i] = m_ranges[i + 1];
            }
        }
    } else {
        for (UINT i = last; i > 0; --i) {
            m_cells[i] = m_cells[i - 1];
            if (ranges) {
                m_ranges[i] = m_ranges[i - 1];
            }
        }
    }
    const UINT cell = atEnd ? last : 0;
    StoreCell(cell, value);
    if (ranges) {
        m_ranges[cell].Reset();
    }
}

void SRGraphDynamicData::Serialize(CArchive& ar) {
    SRGraphData::Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bWrap) << static_cast<LONG>(m_bRanges) << static_cast<LONG>(m_bAllocated)
           << static_cast<DWORD>(m_nSize) << static_cast<LONG>(m_nDataType) << static_cast<LONG>(m_nGrowth);
        if (m_bAllocated) {
            for (UINT i = 0; i < m_nSize; ++i) {
                double raw;
                std::memcpy(&raw, &m_cells[i], sizeof raw);
                ar << raw;
                if (m_bRanges) {
                    CScale range = i < m_ranges.size() ? m_ranges[i] : CScale();
                    range.Serialize(ar);
                }
            }
        }
        return;
    }
    LONG wrap = 0, ranges = 0, allocated = 0, type = 0, growth = 0;
    DWORD size = 0;
    ar >> wrap >> ranges >> allocated >> size >> type >> growth;
    m_bWrap = wrap;
    m_bRanges = ranges;
    m_nDataType = type;
    m_nGrowth = growth;
    m_nReadPos = 0;
    m_nWritePos = 0;
    m_cells.clear();
    m_ranges.clear();
    m_bAllocated = FALSE;
    m_nSize = 0;
    if (!allocated) {
        return;
    }
    // The stored size decides the allocation: it must fit in what the archive still holds, and the cells
    // are added as they are read, so that a size the data do not back allocates nothing up front.
    ar.EnsureAvailable(static_cast<ULONGLONG>(size) * (kCellBytes + (m_bRanges ? kRangeBytes : 0)));
    for (DWORD i = 0; i < size; ++i) {
        double raw = 0.0;
        ar >> raw;
        std::uint64_t bits;
        std::memcpy(&bits, &raw, sizeof bits);
        m_cells.push_back(bits);
        if (m_bRanges) {
            m_ranges.emplace_back();
            m_ranges.back().Serialize(ar);
        }
    }
    m_nSize = size;
    m_bAllocated = TRUE;
}
