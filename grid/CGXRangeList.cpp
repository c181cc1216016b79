#include "grid/CGXRangeList.h"

#include "platform/base/CArchive.h"

#include <algorithm>
#include <memory>

IMPLEMENT_SERIAL(CGXRangeList, CPtrList, 1)

namespace {

using Side = ROWCOL CGXRange::*;

void InsertLines(CGXRangeList& list, Side low, Side high, ROWCOL at, ROWCOL count) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGXRange* range = list.GetNextRange(pos);
        if (range->*low >= at) {
            range->*low += count;
        }
        if (range->*high >= at) {
            range->*high += count;
        }
    }
}

void RemoveLines(CGXRangeList& list, Side low, Side high, ROWCOL first, ROWCOL last, ROWCOL newLast) {
    if (last < first) {
        return;
    }
    const ROWCOL count = last - first + 1;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGXRange* range = list.GetNextRange(pos);
        if (!range->valid) {
            continue;
        }
        if (first <= range->*low && range->*high <= last) {
            range->valid = FALSE;
        } else {
            if (range->*low >= first) {
                range->*low = std::max(first, std::max(range->*low, last) - count);
            }
            if (range->*high >= first) {
                range->*high = std::max(range->*high, last) - count;
            }
            range->valid = range->*low <= range->*high;
        }
        range->*high = std::min(range->*high, newLast);
    }
}

void MoveLines(CGXRangeList& list, Side low, Side high, ROWCOL first, ROWCOL last, ROWCOL dest,
               ROWCOL lastLine) {
    if (last < first || dest == first) {
        return;
    }
    const ROWCOL count = last - first + 1;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CGXRange* range = list.GetNextRange(pos);
        const ROWCOL top = range->*low;
        // The shift as an unsigned amount added with wrap-around: a move up adds a "negative" amount.
        ROWCOL shift = 0;
        if (top >= first && top <= last) {
            shift = dest - first;
        } else if (dest > first && top > last && top < dest + count) {
            shift = 0 - count;
        } else if (dest < first && top >= dest && top < first) {
            shift = count;
        }
        range->*low += shift;
        range->*high += shift;
        range->*high = std::min(range->*high, lastLine);
    }
}

BOOL LineIntervals(const CGXRangeList& list, Side low, Side high, CGXRange::Type lineType, ROWCOL lastLine,
                   CDWordArray& starts, CDWordArray& ends, BOOL linesOnly) {
    starts.RemoveAll();
    ends.RemoveAll();
    bool taken = false;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CGXRange* range = list.GetNextRange(pos);
        if (!range->valid) {
            continue;
        }
        if (linesOnly && range->type != lineType && range->type != CGXRange::kTable) {
            continue;
        }
        taken = true;
        const ROWCOL start = range->*low;
        // A range of the other lines, or the table, reaches to the last line.
        const bool acrossLines =
            range->type == CGXRange::kTable || (range->type != lineType && range->type != CGXRange::kCells);
        const ROWCOL end = acrossLines ? lastLine : range->*high;
        INT_PTR i = 0;
        for (; i < starts.GetSize(); ++i) {
            if (start <= ends[i] && end >= starts[i]) {
                starts[i] = std::min<DWORD>(starts[i], start);
                ends[i] = std::max<DWORD>(ends[i], end);
                break;
            }
            if (starts[i] > start) {
                starts.InsertAt(i, start);
                ends.InsertAt(i, end);
                break;
            }
        }
        if (i == starts.GetSize()) {
            starts.Add(start);
            ends.Add(end);
        }
    }
    if (!taken) {
        return FALSE;
    }
    for (INT_PTR i = 0; i + 1 < starts.GetSize();) {
        if (static_cast<ULONGLONG>(starts[i + 1]) <= static_cast<ULONGLONG>(ends[i]) + 1) {
            ends[i] = std::max(ends[i], ends[i + 1]);
            starts.RemoveAt(i + 1);
            ends.RemoveAt(i + 1);
        } else {
            ++i;
        }
    }
    return TRUE;
}

} // namespace

void CGXRangeList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        RemoveInvalid();
        ar << static_cast<WORD>(1) << static_cast<DWORD>(GetCount());
        for (POSITION pos = GetHeadPosition(); pos;) {
            WriteRangeToArchive(ar, *GetNextRange(pos));
        }
        return;
    }
    WORD version = 0;
    ar >> version;
    if (version != 1) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
    DWORD count = 0;
    ar >> count;
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 18);
    for (DWORD i = 0; i < count; ++i) {
        auto range = std::make_unique<CGXRange>();
        ReadRangeFromArchive(ar, *range);
        AddTail(range.release());
    }
}

CGXRangeList& CGXRangeList::Assign(const CGXRangeList& other) {
    if (&other == this) {
        return *this;
    }
    DeleteAll();
    for (POSITION pos = other.GetHeadPosition(); pos;) {
        const CGXRange* range = other.GetNextRange(pos);
        if (range->valid) {
            AddHead(new CGXRange(*range));
        }
    }
    return *this;
}

void CGXRangeList::DeleteAll() {
    for (POSITION pos = GetHeadPosition(); pos;) {
        delete GetNextRange(pos);
    }
    RemoveAll();
}

void CGXRangeList::DeleteAt(POSITION position) {
    if (position) {
        delete GetRangeAt(position);
        RemoveAt(position);
    }
}

void CGXRangeList::RemoveInvalid() {
    for (POSITION pos = GetHeadPosition(); pos;) {
        const POSITION current = pos;
        if (!GetNextRange(pos)->valid) {
            DeleteAt(current);
        }
    }
}

BOOL CGXRangeList::ContainsCell(ROWCOL row, ROWCOL col, POSITION skip) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        const POSITION current = pos;
        const CGXRange* range = GetNextRange(pos);
        if (current != skip && range->ContainsCell(row, col)) {
            return TRUE;
        }
    }
    return FALSE;
}

POSITION CGXRangeList::FindCell(ROWCOL row, ROWCOL col) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        const POSITION current = pos;
        if (GetNextRange(pos)->ContainsCell(row, col)) {
            return current;
        }
    }
    return nullptr;
}

void CGXRangeList::InsertRows(ROWCOL row, ROWCOL count) {
    InsertLines(*this, &CGXRange::top, &CGXRange::bottom, row, count);
}

void CGXRangeList::InsertCols(ROWCOL col, ROWCOL count) {
    InsertLines(*this, &CGXRange::left, &CGXRange::right, col, count);
}

void CGXRangeList::RemoveRows(ROWCOL first, ROWCOL last, ROWCOL newLastRow) {
    RemoveLines(*this, &CGXRange::top, &CGXRange::bottom, first, last, newLastRow);
}

void CGXRangeList::RemoveCols(ROWCOL first, ROWCOL last, ROWCOL newLastCol) {
    RemoveLines(*this, &CGXRange::left, &CGXRange::right, first, last, newLastCol);
}

void CGXRangeList::MoveRows(ROWCOL first, ROWCOL last, ROWCOL dest, ROWCOL lastRow) {
    MoveLines(*this, &CGXRange::top, &CGXRange::bottom, first, last, dest, lastRow);
}

void CGXRangeList::MoveCols(ROWCOL first, ROWCOL last, ROWCOL dest, ROWCOL lastCol) {
    MoveLines(*this, &CGXRange::left, &CGXRange::right, first, last, dest, lastCol);
}

BOOL CGXRangeList::GetRowArray(ROWCOL lastRow, CDWordArray& starts, CDWordArray& ends, BOOL rowsOnly) const {
    return LineIntervals(*this, &CGXRange::top, &CGXRange::bottom, CGXRange::kRows, lastRow, starts, ends,
                         rowsOnly);
}

BOOL CGXRangeList::GetColArray(ROWCOL lastCol, CDWordArray& starts, CDWordArray& ends, BOOL colsOnly) const {
    return LineIntervals(*this, &CGXRange::left, &CGXRange::right, CGXRange::kColumns, lastCol, starts, ends,
                         colsOnly);
}
