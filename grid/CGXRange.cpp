#include "grid/CGXRange.h"

#include "platform/base/CArchive.h"

#include <algorithm>

CGXRange& CGXRange::SetCells(ROWCOL row1, ROWCOL col1, ROWCOL row2, ROWCOL col2) {
    type = kCells;
    top = std::min(row1, row2);
    bottom = std::max(row1, row2);
    left = std::min(col1, col2);
    right = std::max(col1, col2);
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::SetRows(ROWCOL row1, ROWCOL row2) {
    type = kRows;
    top = std::min(row1, row2);
    bottom = std::max(row1, row2);
    left = right = 0;
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::SetCols(ROWCOL col1, ROWCOL col2) {
    type = kColumns;
    left = std::min(col1, col2);
    right = std::max(col1, col2);
    top = bottom = 0;
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::SetTable() {
    type = kTable;
    valid = TRUE;
    return *this;
}

CGXRange& CGXRange::ExpandToCells(ROWCOL gridTop, ROWCOL gridLeft, ROWCOL gridBottom, ROWCOL gridRight) {
    switch (type) {
    case kRows:
        left = gridLeft;
        right = gridRight;
        break;
    case kColumns:
        top = gridTop;
        bottom = gridBottom;
        break;
    case kTable:
        top = gridTop;
        left = gridLeft;
        bottom = gridBottom;
        right = gridRight;
        break;
    default:
        break;
    }
    type = kCells;
    return *this;
}

BOOL CGXRange::ContainsCell(ROWCOL row, ROWCOL col) const {
    if (!valid) {
        return FALSE;
    }
    switch (type) {
    case kTable:
        return TRUE;
    case kRows:
        return top <= row && row <= bottom;
    case kColumns:
        return left <= col && col <= right;
    default:
        return top <= row && row <= bottom && left <= col && col <= right;
    }
}

BOOL CGXRange::IntersectRanges(const CGXRange& a, const CGXRange& b) {
    if (a.type == kTable || b.type == kTable) {
        *this = b.type == kTable ? a : b;
        valid = TRUE;
        return TRUE;
    }
    if ((a.type == kRows && b.type == kColumns) || (a.type == kColumns && b.type == kRows)) {
        const CGXRange& rows = a.type == kRows ? a : b;
        const CGXRange& cols = a.type == kRows ? b : a;
        SetCells(rows.top, cols.left, rows.bottom, cols.right);
        return TRUE;
    }
    if (a.type == kRows || b.type == kRows) {
        const CGXRange* cells = a.type == kCells ? &a : b.type == kCells ? &b : nullptr;
        const ROWCOL newTop = std::max(a.top, b.top);
        const ROWCOL newBottom = std::min(a.bottom, b.bottom);
        type = cells ? kCells : kRows;
        top = newTop;
        bottom = newBottom;
        left = cells ? cells->left : 0;
        right = cells ? cells->right : 0;
        valid = top <= bottom;
        return valid;
    }
    if (a.type == kColumns || b.type == kColumns) {
        const CGXRange* cells = a.type == kCells ? &a : b.type == kCells ? &b : nullptr;
        const ROWCOL newLeft = std::max(a.left, b.left);
        const ROWCOL newRight = std::min(a.right, b.right);
        type = cells ? kCells : kColumns;
        left = newLeft;
        right = newRight;
        top = cells ? cells->top : 0;
        bottom = cells ? cells->bottom : 0;
        valid = left <= right;
        return valid;
    }
    const ROWCOL newTop = std::max(a.top, b.top);
    const ROWCOL newLeft = std::max(a.left, b.left);
    const ROWCOL newBottom = std::min(a.bottom, b.bottom);
    const ROWCOL newRight = std::min(a.right, b.right);
    type = kCells;
    top = newTop;
    left = newLeft;
    bottom = newBottom;
    right = newRight;
    valid = top <= bottom && left <= right;
    return valid;
}

BOOL CGXRange::UnionRanges(const CGXRange& a, const CGXRange& b) {
    if (a.type == kTable || b.type == kTable || (a.type == kRows && b.type == kColumns) ||
        (a.type == kColumns && b.type == kRows)) {
        SetTable();
    } else if (a.type == kColumns || b.type == kColumns) {
        SetCols(std::min(a.left, b.left), std::max(a.right, b.right));
    } else if (a.type == kRows || b.type == kRows) {
        SetRows(std::min(a.top, b.top), std::max(a.bottom, b.bottom));
    } else {
        SetCells(std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
                 std::max(a.right, b.right));
    }
    return TRUE;
}

void WriteRangeToArchive(CArchive& ar, const CGXRange& range) {
    ar << range.top << range.left << range.bottom << range.right << static_cast<BYTE>(range.type)
       << static_cast<BYTE>(range.valid ? 1 : 0);
}

void ReadRangeFromArchive(CArchive& ar, CGXRange& range) {
    BYTE type = 0;
    BYTE valid = 0;
    ar >> range.top >> range.left >> range.bottom >> range.right >> type >> valid;
    range.type = type & 3;
    range.valid = valid ? TRUE : FALSE;
}
