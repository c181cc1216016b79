// Keys: the current cell's control sees every key first; then the navigation keys move the current cell in
// one of twelve directions, skipping hidden, covered and disabled cells.
#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "platform/display/InputApi.h"
#include "platform/display/MessageApi.h"
#include "platform/display/VirtualKeys.h"
#include "platform/framework/CWnd.h"

#include <algorithm>

namespace {

BOOL KeyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

} // namespace

BOOL CGXGridCore::ProcessKeys(CWnd* sender, UINT message, UINT key, UINT repeat, UINT flags) {
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (hwnd && ::GetCapture() == hwnd) {
        if (key == VK_ESCAPE) {
            ::SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
        }
        return TRUE; // keys wait while a drag holds the mouse
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (GetCurrentCell(row, col) && sender && sender->GetSafeHwnd() == hwnd) {
        if (CGXControl* control = GetControlRowCol(row, col)) {
            if (!control->IsBoundTo(row, col)) {
                control->InitCell(row, col);
            }
            if (control->KeyMessage(message, key, repeat, flags)) {
                ScrollCellInView(row, col, 2, FALSE);
                UpdateGridWindow();
                return TRUE;
            }
        }
    }
    switch (message) {
    case WM_KEYDOWN:
        return OnGridKeyDown(key, repeat, flags);
    case WM_SYSKEYDOWN:
        return OnGridSysKeyDown(key, repeat, flags);
    case WM_CHAR: {
        CString text;
        if (CharToText(static_cast<WCHAR>(key), text, m_bPendingLead, m_storedLead)) {
            return text.IsEmpty() ? TRUE : OnGridCharText(text, repeat, flags);
        }
        return OnGridChar(key, repeat, flags);
    }
    default:
        return FALSE;
    }
}

BOOL CGXGridCore::OnGridKeyDown(UINT key, UINT repeat, UINT) {
    const BOOL ctrl = KeyDown(VK_CONTROL);
    const BOOL shift = KeyDown(VK_SHIFT);
    const BOOL alt = KeyDown(VK_MENU);
    const int n = static_cast<int>(std::max(1u, repeat));
    BOOL handled = TRUE;
    switch (key) {
    case VK_LEFT:
        ProcessMoveKey(ctrl ? 9 : 2, n);
        break;
    case VK_UP:
        ProcessMoveKey(ctrl ? 7 : 1, n);
        break;
    case VK_RIGHT:
        ProcessMoveKey(ctrl ? 10 : 4, n);
        break;
    case VK_DOWN:
        ProcessMoveKey(ctrl ? 8 : 3, n);
        break;
    case VK_PRIOR:
        ProcessMoveKey(6, n);
        break;
    case VK_NEXT:
        ProcessMoveKey(5, n);
        break;
    case VK_HOME:
    case VK_END:
        handled = ctrl;
        if (ctrl) {
            ProcessMoveKey(key == VK_HOME ? 11 : 12, 1);
        }
        break;
    case VK_TAB:
        if (TransferCurrentCell(TRUE, 1, TRUE)) {
            MoveCurrentCell(shift ? 2 : 4, 1, TRUE);
        }
        break;
    case VK_RETURN:
        handled = !ctrl && !shift && !alt;
        if (handled && TransferCurrentCell(TRUE, 1, TRUE) && m_pParam && m_pParam->m_nEnterKeyDirection != 0) {
            ProcessMoveKey(m_pParam->m_nEnterKeyDirection, 1);
        }
        break;
    case VK_ESCAPE:
        OnEscapeKey();
        break;
    case VK_F2:
        OnEditKey();
        break;
    case VK_BACK:
        handled = ctrl;
        if (ctrl) {
            Redo();
        }
        break;
    case VK_INSERT:
        handled = ctrl || shift;
        if (ctrl) {
            if (CanCopy()) {
                Copy();
            }
        } else if (shift && CanPaste()) {
            Paste();
        }
        break;
    case VK_DELETE:
        if (shift) {
            if (CanCut()) {
                Cut();
            }
        } else if (IsCurrentCell(kGridNoRowCol, kGridNoRowCol) && !IsActiveCurrentCell() && CanClear()) {
            Clear(ctrl);
        }
        break;
    default:
        handled = FALSE;
        break;
    }
    if (handled) {
        UpdateGridWindow();
    }
    return handled;
}

void CGXGridCore::OnEscapeKey() {
    if (m_pParam && m_pParam->m_bShowMarkedRanges) {
        m_pParam->m_bShowMarkedRanges = FALSE;
        Redraw(1, TRUE);
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (GetCurrentCell(row, col)) {
        if (CGXControl* control = GetControlRowCol(row, col)) {
            if (control->AskCancelEdit()) {
                control->InitCell(row, col);
                control->RedrawCell();
                control->ReportEditCancelled();
            } else {
                control->RedrawCell();
            }
        }
        ScrollCellInView(row, col, 2, FALSE);
    }
    if (m_pParam && !m_pParam->m_bSelectCurrentCell && !m_pParam->m_selectedRanges.IsEmpty()) {
        m_pParam->m_selectedRanges.DeleteAll();
        InvalidateGridRect(nullptr);
    }
}

void CGXGridCore::OnEditKey() {
    CGXControl* control = GetCurrentCellControl();
    if (!control) {
        OnGridKeyDown(VK_RETURN, 1, 0);
        return;
    }
    if (control->IsActive()) {
        TransferCurrentCell(TRUE, 2, TRUE);
        return;
    }
    TransferCurrentCell(FALSE, 2, TRUE);
    control = GetCurrentCellControl();
    if (control && !IsReadOnly() && control->AskStartEdit()) {
        control->SetActive(TRUE);
        control->RedrawCell();
    }
}

BOOL CGXGridCore::OnGridChar(UINT key, UINT, UINT) {
    switch (key) {
    case 0x03:
        if (CanCopy()) {
            Copy();
        }
        return TRUE;
    case 0x16:
        if (CanPaste()) {
            Paste();
        }
        return TRUE;
    case 0x18:
        if (CanCut()) {
            Cut();
        }
        return TRUE;
    case 0x1A:
        Undo();
        return TRUE;
    case 0x12:
        Redo();
        return TRUE;
    case 0x09:
    case 0x0D:
    case 0x7F:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CGXGridCore::OnGridSysKeyDown(UINT key, UINT, UINT) {
    if (key == VK_BACK && KeyDown(VK_MENU)) {
        Undo();
        return TRUE;
    }
    return FALSE;
}

BOOL CGXGridCore::ProcessMoveKey(int direction, int count) {
    if (auto* select = static_cast<CGXAbstractGridUserSelectRangeImp*>(m_features[kFeatureUserSelectRange])) {
        return select->ExtendSelectionOnMove(this, direction, count);
    }
    return MoveCurrentCell(direction, count, TRUE);
}

void CGXGridCore::ScrollRequest(int direction, ROWCOL count) {
    ScrollCells(direction, count, 1);
}

// Whether the cell may be landed on; a covered cell is judged by its range's top-left.
BOOL CGXGridCore::IsCellEnabledForMove(ROWCOL row, ROWCOL col) {
    CoveredTopLeft(row, col);
    const CGXStyle& style = LookupStyleRowCol(row, col);
    return !(style.GetInclude(kStyleEnabled) && !style.GetEnabled());
}

BOOL CGXGridCore::CalcNextCell(int direction, ROWCOL& row, ROWCOL& col) {
    const BOOL vertical = direction == 1 || direction == 3;
    if (direction < 1 || direction > 4) {
        return FALSE;
    }
    const BOOL forward = direction == 3 || direction == 4;
    const ROWCOL last = vertical ? GetRowCount() : GetColCount();
    ROWCOL r = row;
    ROWCOL c = col;
    ROWCOL& walk = vertical ? r : c;
    while (walk >= 1 && walk <= last) {
        const BOOL hidden = vertical ? GetRowHeight(r) == 0 : GetColWidth(c) == 0;
        CGXRange covered;
        const BOOL inner = GetCoveredCellsRowCol(r, c, covered) && (vertical ? covered.top : covered.left) != walk;
        if (!hidden && !inner && IsCellEnabledForMove(r, c)) {
            row = r;
            col = c;
            return TRUE;
        }
        if (forward) {
            ++walk;
        } else {
            --walk;
        }
    }
    return FALSE;
}

BOOL CGXGridCore::MoveCurrentCell(int direction, int count, BOOL select) {
    count = std::max(1, count);
    m_bMovingCurrentCell = TRUE;
    ROWCOL startRow = 0;
    ROWCOL startCol = 0;
    const BOOL hadCell = GetCurrentCell(startRow, startCol);
    if (!hadCell) {
        startRow = std::min(m_nCurrentRow, GetRowCount());
        startCol = std::min(m_nCurrentCol, GetColCount());
    }
    const ROWCOL frozenRows = GetFrozenRows();
    const ROWCOL frozenCols = GetFrozenCols();
    const ROWCOL headerRows = GetHeaderRows();
    const ROWCOL headerCols = GetHeaderCols();
    const ROWCOL rowCount = GetRowCount();
    const ROWCOL colCount = GetColCount();
    ROWCOL extraRows = 0;
    ROWCOL extraCols = 0;
    CGXRange covered;
    if (hadCell && GetCoveredCellsRowCol(startRow, startCol, covered)) {
        extraRows = covered.bottom - covered.top;
        extraCols = covered.right - covered.left;
    }
    ROWCOL row = startRow;
    ROWCOL col = startCol;
    BOOL found = TRUE;
    const auto step = [&](int times, auto&& one) {
        for (int i = 0; i < times && found; ++i) {
            ROWCOL r = row;
            ROWCOL c = col;
            if (!one(r, c)) {
                break;
            }
            if (!found) {
                break;
            }
            row = r;
            col = c;
        }
    };
    const auto stepBack = [&](ROWCOL& index, ROWCOL header, ROWCOL frozen, ROWCOL first) {
        if (index <= header + 1) {
            return FALSE;
        }
        if (!m_pParam->m_bMoveScrollsAtTop && frozen > header && index == first) {
            index = frozen; // from the first scrollable cell shown to the last frozen one
        } else {
            --index;
        }
        return TRUE;
    };
    CRect grid;
    GetGridRect(grid);
    switch (direction) {
    case 1:
        step(count, [&](ROWCOL& r, ROWCOL& c) {
            if (!stepBack(r, headerRows, frozenRows, m_nTopRow)) {
                return FALSE;
            }
            found = CalcNextCell(1, r, c);
            return TRUE;
        });
        break;
    case 2:
        step(count, [&](ROWCOL& r, ROWCOL& c) {
            if (!stepBack(c, headerCols, frozenCols, m_nLeftCol)) {
                return FALSE;
            }
            found = CalcNextCell(2, r, c);
            return TRUE;
        });
        break;
    case 3:
        step(count, [&](ROWCOL& r, ROWCOL& c) {
            if (r >= rowCount) {
                return FALSE;
            }
            r = IsFrozenRow(r) ? GetRow(GetClientRow(r) + extraRows + 1) : r + extraRows + 1;
            extraRows = 0;
            found = CalcNextCell(3, r, c);
            return TRUE;
        });
        break;
    case 4:
        step(count, [&](ROWCOL& r, ROWCOL& c) {
            if (c >= colCount) {
                return FALSE;
            }
            c = IsFrozenCol(c) ? GetCol(GetClientCol(c) + extraCols + 1) : c + extraCols + 1;
            extraCols = 0;
            found = CalcNextCell(4, r, c);
            return TRUE;
        });
        break;
    case 5:
        if (m_nTopRow < rowCount) {
            const ROWCOL n = std::max(m_nTopRow + 1, CalcBottomRowFromRect(grid)) - m_nTopRow;
            ScrollRequest(3, n);
            if (row > frozenRows) {
                row = std::min(startRow + n, rowCount);
            }
        }
        found = CalcNextCell(3, row, col) || CalcNextCell(1, row, col);
        break;
    case 6:
        if (m_nTopRow <= frozenRows + 1) {
            row = std::min(headerRows + 1, rowCount);
            found = CalcNextCell(3, row, col);
        } else {
            const int available = grid.Height() - CalcSumOfRowHeights(0, frozenRows);
            int sum = GetRowHeight(m_nTopRow);
            ROWCOL n = 0;
            for (ROWCOL r = m_nTopRow; r > 1 && sum + GetRowHeight(r - 1) < available; --r) {
                sum += GetRowHeight(r - 1);
                ++n;
            }
            n = std::max<ROWCOL>(n, 1);
            ScrollRequest(1, n);
            if (row > frozenRows) {
                row = std::max(startRow, n + 1) - n;
            }
            found = CalcNextCell(1, row, col) || CalcNextCell(3, row, col);
        }
        break;
    case 7:
        row = std::min(headerRows + 1, rowCount);
        found = CalcNextCell(3, row, col);
        break;
    case 8:
        row = rowCount;
        found = CalcNextCell(1, row, col);
        break;
    case 9:
        col = std::min(headerCols + 1, colCount);
        found = CalcNextCell(4, row, col);
        break;
    case 10:
        col = colCount;
        found = CalcNextCell(2, row, col);
        break;
    case 11:
        row = std::min(headerRows + 1, rowCount);
        col = std::min(headerCols + 1, colCount);
        found = CalcNextCell(3, row, col) || CalcNextCell(4, row, col);
        break;
    case 12:
        row = rowCount;
        col = colCount;
        found = CalcNextCell(1, row, col) || CalcNextCell(2, row, col);
        break;
    default:
        found = FALSE;
        break;
    }
    BOOL result = TRUE;
    if (!found) {
        result = FALSE;
    } else if ((row != startRow && row > headerRows) || (col != startCol && col > headerCols) || !hadCell) {
        UINT flags = 0x8A;
        if (m_pParam->m_bSelectCurrentCell && select) {
            flags = 0x0A;
            if (!m_pParam->m_selectedRanges.IsEmpty() && !m_pParam->m_selectedRanges.ContainsCell(row, col)) {
                m_pParam->m_selectedRanges.DeleteAll();
                InvalidateGridRect(nullptr);
            }
        }
        result = SetCurrentCell(row, col, flags);
    }
    m_bMovingCurrentCell = FALSE;
    return result;
}

void CGXGridCore::MoveToRecord(int kind, LONG n) {
    static constexpr int kMoves[] = {7, 1, 3, 8};
    if (kind >= 0 && kind <= 3) {
        ProcessMoveKey(kMoves[kind], 1);
    } else if (kind == 4) {
        const ROWCOL row = std::min(GetHeaderRows() + static_cast<ROWCOL>(n), GetRowCount());
        const ROWCOL col = std::min(GetHeaderCols() + 1, GetColCount());
        SetCurrentCell(row, col, 0x0A);
        if (m_pGridWnd) {
            m_pGridWnd->SetFocus();
        }
    }
}
