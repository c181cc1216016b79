// Scrolling: moving the top row or left column with a window scroll of the pixels already drawn, bringing a
// cell into view, and keeping the window's scroll bars (shown, range, position, proportional thumb) in step.
#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/GridLibraryState.h"
#include "platform/display/PaintApi.h"
#include "platform/display/ScrollBarApi.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CWnd.h"

#include <algorithm>

namespace {

constexpr int kModeAlways = 0x1;
constexpr int kModeWhenNeeded = 0x2;
constexpr int kModeShared = 0x4;
constexpr int kModeProportional = 0x8;

} // namespace

// ---- Scrolling the cells

CRect CGXGridCore::ScrollArea(BOOL vertical) {
    if (vertical) {
        return CalcRectBelowRow(GetRow(GetClientRow(m_nTopRow) - 1));
    }
    return CalcRectRightOfCol(GetCol(GetClientCol(m_nLeftCol) - 1));
}

// The last top row (left column) from which the last row (column) is still shown whole.
ROWCOL CGXGridCore::LastUsefulFirst(BOOL vertical, int room) {
    const ROWCOL count = vertical ? GetRowCount() : GetColCount();
    const ROWCOL first = (vertical ? GetFrozenRows() : GetFrozenCols()) + 1;
    const auto size = [&](ROWCOL index) { return vertical ? GetRowHeight(index) : GetColWidth(index); };
    ROWCOL index = count;
    int sum = size(index);
    while (sum < room && index > first) {
        --index;
        sum += size(index);
    }
    if (sum >= room && index < count) {
        ++index;
    }
    return std::max(index, first);
}

BOOL CGXGridCore::HideCurrentCellForScroll(BOOL vertical) {
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (GetCurrentCell(row, col)) {
        CGXControl* control = GetControlRowCol(row, col);
        if (control && control->IsActive() && !(vertical ? IsFrozenRow(row) : IsFrozenCol(col))) {
            control->Hide();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CGXGridCore::ScrollCells(int direction, ROWCOL count, UINT) {
    HideCellTip();
    m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
    const BOOL vertical = direction == 1 || direction == 3;
    const BOOL back = direction == 1 || direction == 2;
    m_bMovingCurrentCell = TRUE;
    ROWCOL& first = vertical ? m_nTopRow : m_nLeftCol;
    const ROWCOL firstScrollable = (vertical ? GetFrozenRows() : GetFrozenCols()) + 1;
    const CRect area = ScrollArea(vertical);
    const int room = vertical ? area.Height() : area.Width();
    const auto size = [&](ROWCOL index) { return vertical ? GetRowHeight(index) : GetColWidth(index); };
    BOOL moved = FALSE;
    ROWCOL newFirst = first;
    int distance = 0;
    if (back) {
        newFirst = first > count ? std::max(first - count, firstScrollable) : firstScrollable;
        newFirst = std::max<ROWCOL>(newFirst, 1);
        for (ROWCOL index = first; index > newFirst && distance < room; --index) {
            distance += size(index - 1);
        }
    } else {
        const ROWCOL last = LastUsefulFirst(vertical, room);
        count = last > first ? std::min(count, last - first) : 0;
        newFirst = first + count;
        for (ROWCOL index = first; index < newFirst && distance < room; ++index) {
            distance += size(index);
        }
    }
    if (newFirst != first && (vertical ? CanChangeTopRow(newFirst) : CanChangeLeftCol(newFirst))) {
        const BOOL hidden = HideCurrentCellForScroll(vertical);
        // The last row or column shown in part: its hidden part comes into view too.
        CRect grid;
        GetGridRect(grid);
        const int partEdge = vertical ? CalcClientRowTop(GetClientRow(CalcBottomRowFromRect(grid)))
                                      : CalcClientColLeft(GetClientCol(CalcRightColFromRect(grid)));
        first = newFirst;
        if (distance < room) {
            const int d = back ? distance : -distance;
            ScrollGridWindow(vertical ? 0 : d, vertical ? d : 0, area, area);
            if (!back) {
                CRect band = area;
                (vertical ? band.top : band.left) = std::max<LONG>(vertical ? area.top : area.left, partEdge - distance);
                InvalidateGridRect(&band);
            }
        } else {
            InvalidateGridRect(&area);
        }
        if (hidden) {
            // The scrolled pixels hold no window: the cell is drawn again, which places it.
            ROWCOL row = 0;
            ROWCOL col = 0;
            GetCurrentCell(row, col);
            CRect cell = CalcCellRectSpanned(row, col);
            InvalidateGridRect(&cell);
        }
        SetScrollPos(vertical ? SB_VERT : SB_HORZ, first, TRUE);
        if (back && (GetScrollBarMode(vertical ? SB_VERT : SB_HORZ) & kModeWhenNeeded) && first == firstScrollable) {
            UpdateScrollbars(TRUE, FALSE);
        }
        if (vertical) {
            OnTopRowChanged();
        } else {
            OnLeftColChanged();
        }
        moved = TRUE;
    }
    m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
    UpdateGridWindow();
    m_bMovingCurrentCell = FALSE;
    return moved;
}

void CGXGridCore::ScrollGridWindow(int dx, int dy, const RECT& scrollRect, const RECT& clipRect) {
    if (m_pGridWnd && m_pGridWnd->GetSafeHwnd() && (dx || dy)) {
        ::ScrollWindowEx(m_pGridWnd->GetSafeHwnd(), dx, dy, &scrollRect, &clipRect, nullptr, nullptr,
                         SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    }
}

BOOL CGXGridCore::ScrollCellInView(ROWCOL row, ROWCOL col, UINT flags, BOOL) {
    const ROWCOL frozenRows = GetFrozenRows();
    const ROWCOL frozenCols = GetFrozenCols();
    CGXRange covered;
    if (GetCoveredCellsRowCol(row, col, covered)) {
        if (covered.bottom > frozenRows && row < frozenRows + 1) {
            row = frozenRows + 1;
        }
        if (covered.right > frozenCols && col < frozenCols + 1) {
            col = frozenCols + 1;
        }
    }
    CRect grid;
    GetGridRect(grid);
    const ROWCOL bottom = CalcBottomRowFromRect(grid);
    const ROWCOL right = CalcRightColFromRect(grid);
    BOOL scrolled = FALSE;
    if (row > frozenRows && row < m_nTopRow) {
        SetTopRow(row, flags, TRUE);
        scrolled = TRUE;
    } else if (row > m_nTopRow && row >= bottom &&
               (bottom != GetRowCount() || CalcClientRowTop(GetClientRow(bottom) + 1) > grid.bottom)) {
        TellControlOfScroll(TRUE);
        int sum = GetRowHeight(row) + GetRowHeight(0) + CalcSumOfRowHeights(1, frozenRows);
        ROWCOL top = row;
        while (sum < grid.Height() && top > frozenRows + 1) {
            --top;
            sum += GetRowHeight(top);
        }
        if (sum >= grid.Height() && top < row) {
            ++top;
        }
        SetTopRow(std::min(top, GetRowCount()), flags, TRUE);
        scrolled = TRUE;
    }
    if (col > frozenCols && col < m_nLeftCol) {
        SetLeftCol(col, flags, TRUE);
        scrolled = TRUE;
    } else if (col > m_nLeftCol && col >= right &&
               (right != GetColCount() || CalcClientColLeft(GetClientCol(right) + 1) > grid.right)) {
        TellControlOfScroll(FALSE);
        int sum = GetColWidth(col) + GetColWidth(0) + CalcSumOfColWidths(1, frozenCols);
        ROWCOL left = col;
        while (sum < grid.Width() && left > frozenCols + 1) {
            --left;
            sum += GetColWidth(left);
        }
        if (sum >= grid.Width() && left < col) {
            ++left;
        }
        SetLeftCol(std::min(left, GetColCount()), flags, TRUE);
        scrolled = TRUE;
    }
    if (flags & 0x06) {
        UpdateGridWindow();
    }
    return scrolled;
}

// ---- Scroll bars

CWnd* CGXGridCore::GetSharedScrollBarParent() const {
    if (!m_pGridWnd || !m_pGridWnd->GetSafeHwnd()) {
        return nullptr;
    }
    for (CRuntimeClass* parentClass : GridLibraryState::Instance().runtimeClasses) {
        if (CWnd* parent = FindParentOfClass(m_pGridWnd, parentClass, FALSE)) {
            return parent;
        }
    }
    return nullptr;
}

CScrollBar* CGXGridCore::GetScrollBarCtrl(int bar) const {
    if (!m_pGridWnd || (m_pGridWnd->GetStyle() & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) {
        return nullptr;
    }
    CWnd* parent = GetSharedScrollBarParent();
    constexpr int kFirstSharedHorzBar = 0xEA00;
    constexpr int kFirstSharedVertBar = 0xEA10;
    return parent ? static_cast<CScrollBar*>(
                        parent->GetDlgItem(bar == SB_HORZ ? kFirstSharedHorzBar : kFirstSharedVertBar))
                  : nullptr;
}

void CGXGridCore::SetScrollBarMode(int bar, int mode, BOOL redraw) {
    if (bar == SB_VERT || bar == SB_BOTH) {
        m_nVScrollMode = mode;
    }
    if (bar == SB_HORZ || bar == SB_BOTH) {
        m_nHScrollMode = mode;
    }
    if (!redraw) {
        return;
    }
    if (mode == 0) {
        ShowScrollBar(bar, FALSE);
    } else if (mode & kModeAlways) {
        ShowScrollBar(bar, TRUE);
    } else if (mode & kModeWhenNeeded) {
        UpdateScrollbars(TRUE, FALSE);
    }
}

BOOL CGXGridCore::LockScrollbars(BOOL lock) {
    const BOOL old = m_bLockScrollbars;
    m_bLockScrollbars = lock;
    if (!lock && old) {
        UpdateScrollbars(TRUE, FALSE);
    }
    return old;
}

int CGXGridCore::ScrollFactor(int bar) const {
    return std::max(1, bar == SB_VERT ? m_nVScrollFactor : m_nHScrollFactor);
}

void CGXGridCore::SetScrollRange(int bar, ROWCOL minPos, ROWCOL maxPos, BOOL redraw) {
    const int mode = GetScrollBarMode(bar);
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (mode == 0 || !hwnd) {
        return;
    }
    int& factor = bar == SB_VERT ? m_nVScrollFactor : m_nHScrollFactor;
    factor = static_cast<int>(maxPos / 32767 + 1);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    // Through the window, which puts the values on a borrowed scroll bar when the grid has one.
    const BOOL read = m_pGridWnd->GetScrollInfo(bar, &info, SIF_ALL);
    ROWCOL page = 0;
    if ((mode & kModeProportional) && read) {
        const ROWCOL count = bar == SB_VERT ? GetRowCount() : GetColCount();
        page = (count + 1 - std::min(maxPos, count + 1)) / static_cast<ROWCOL>(factor);
        maxPos = count;
    }
    maxPos /= static_cast<ROWCOL>(factor);
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (maxPos < minPos) {
        info.nMin = info.nMax = static_cast<int>(maxPos);
        info.nPage = 1;
    } else {
        info.nMin = static_cast<int>(minPos);
        info.nMax = static_cast<int>(maxPos);
        info.nPage = page;
    }
    if (!read || !m_pGridWnd->SetScrollInfo(bar, &info, redraw)) {
        m_pGridWnd->SetScrollRange(bar, static_cast<int>(minPos), static_cast<int>(maxPos), redraw);
    }
    m_bScrollbarsChanged = TRUE;
}

ROWCOL CGXGridCore::SetScrollPos(int bar, ROWCOL position, BOOL redraw) {
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (GetScrollBarMode(bar) == 0 || !hwnd) {
        return 0;
    }
    const int factor = ScrollFactor(bar);
    const int thumb = position < static_cast<ROWCOL>(factor) ? 0 : static_cast<int>(position) / factor;
    return static_cast<ROWCOL>(m_pGridWnd->SetScrollPos(bar, thumb, redraw)) * static_cast<ROWCOL>(factor);
}

ROWCOL CGXGridCore::GetScrollPos(int bar) {
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    return hwnd ? static_cast<ROWCOL>(m_pGridWnd->GetScrollPos(bar)) * static_cast<ROWCOL>(ScrollFactor(bar))
                : 0;
}

void CGXGridCore::UpdateScrollbars(BOOL noRepaint, BOOL onlyIfCountsChanged) {
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (!m_bInitDone || m_bInUpdateScrollbars || m_bLockScrollbars || !hwnd || !m_pParam ||
        m_pParam->m_bLockUpdate) {
        return;
    }
    if (m_bPrinting) {
        ShowScrollBar(SB_BOTH, FALSE);
        return;
    }
    // A hidden sheet leaves the shared bars to the sheet shown.
    if (!::IsWindowVisible(hwnd) && GetSharedScrollBarParent()) {
        return;
    }
    CRect client;
    ::GetClientRect(hwnd, &client);
    if ((m_nVScrollMode == 0 && m_nHScrollMode == 0) || client.IsRectEmpty()) {
        return;
    }
    const ROWCOL rows = m_nVScrollMode ? GetRowCount() : 0;
    const ROWCOL cols = m_nHScrollMode ? GetColCount() : 0;
    if (onlyIfCountsChanged && rows == m_nLastScrollRowCount && cols == m_nLastScrollColCount) {
        return;
    }
    m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
    const ROWCOL fr = GetFrozenRows() + 1;
    const ROWCOL fc = GetFrozenCols() + 1;
    CRect grid;
    GetGridRect(grid);
    const ROWCOL mr = m_nVScrollMode ? LastUsefulFirst(TRUE, grid.Height() - CalcSumOfRowHeights(0, fr - 1)) : fr;
    const ROWCOL mc = m_nHScrollMode ? LastUsefulFirst(FALSE, grid.Width() - CalcSumOfColWidths(0, fc - 1)) : fc;
    if ((m_nVScrollMode & kModeProportional) && m_nTopRow > fr && mr < m_nTopRow) {
        SetTopRow(mr, 2, TRUE);
        UpdateGridWindow();
    }
    if ((m_nHScrollMode & kModeProportional) && m_nLeftCol > fc && mc < m_nLeftCol) {
        SetLeftCol(mc, 2, TRUE);
        UpdateGridWindow();
    }
    m_bInUpdateScrollbars = TRUE;
    const auto updateBar = [&](int bar, int mode, DWORD styleBit, ROWCOL first, ROWCOL last, ROWCOL position) {
        const BOOL shown = (::GetWindowLongW(hwnd, GWL_STYLE) & styleBit) != 0;
        switch (mode & ~kModeProportional) {
        case 0:
            if (shown) {
                ShowScrollBar(bar, FALSE);
                return TRUE;
            }
            return FALSE;
        case kModeWhenNeeded:
            if (position <= first && last <= first) {
                if (shown) {
                    ShowScrollBar(bar, FALSE);
                    return TRUE;
                }
                return FALSE;
            }
            [[fallthrough]];
        case kModeAlways:
            SetScrollRange(bar, first, last, FALSE);
            SetScrollPos(bar, position, FALSE);
            if (!shown) {
                ShowScrollBar(bar, TRUE);
                return TRUE;
            }
            return FALSE;
        case kModeShared:
            SetScrollRange(bar, first, last, FALSE);
            SetScrollPos(bar, position, TRUE);
            return FALSE;
        default:
            return FALSE;
        }
    };
    const BOOL vChanged = updateBar(SB_VERT, m_nVScrollMode, WS_VSCROLL, fr, mr, m_nTopRow);
    const BOOL hChanged = updateBar(SB_HORZ, m_nHScrollMode, WS_HSCROLL, fc, mc, m_nLeftCol);
    if (!noRepaint && (vChanged || hChanged)) {
        UpdateGridWindow();
        ::GetClientRect(hwnd, &client);
        if (hChanged) {
            CRect band(client.left, client.bottom - 2 * ::GetSystemMetrics(SM_CYHSCROLL), client.right, client.bottom);
            ::InvalidateRect(hwnd, &band, TRUE);
        }
        if (vChanged) {
            CRect band(client.right - 2 * ::GetSystemMetrics(SM_CXVSCROLL), client.top, client.right, client.bottom);
            ::InvalidateRect(hwnd, &band, TRUE);
        }
        UpdateGridWindow();
    }
    if (m_nVScrollMode) {
        SetScrollPos(SB_VERT, m_nTopRow, TRUE);
    }
    if (m_nHScrollMode) {
        SetScrollPos(SB_HORZ, m_nLeftCol, TRUE);
    }
    m_bInUpdateScrollbars = FALSE;
    m_nLastScrollRowCount = rows;
    m_nLastScrollColCount = cols;
}

// ---- Scroll messages

BOOL CGXGridCore::OnGridScroll(BOOL vertical, UINT code, UINT position) {
    if (!m_bInitDone || m_nDrawingDepth > 0) {
        return FALSE;
    }
    TellControlOfScroll(vertical);
    const ROWCOL count = vertical ? GetRowCount() : GetColCount();
    const ROWCOL first = (vertical ? GetFrozenRows() : GetFrozenCols()) + 1;
    if (count == 0 || first >= count) {
        return FALSE;
    }
    ROWCOL& top = vertical ? m_nTopRow : m_nLeftCol;
    const int back = vertical ? 1 : 2;
    const int forward = vertical ? 3 : 4;
    const ROWCOL target =
        first + (std::max<ROWCOL>(position, first) - first) * static_cast<ROWCOL>(ScrollFactor(vertical ? SB_VERT : SB_HORZ));
    CRect grid;
    GetGridRect(grid);
    switch (code) {
    case SB_LINEUP:
        ScrollCells(back, 1);
        break;
    case SB_LINEDOWN:
        ScrollCells(forward, 1);
        break;
    case SB_PAGEUP:
        if (top > 1) {
            const int room = (vertical ? grid.Height() - CalcSumOfRowHeights(0, first - 1)
                                       : grid.Width() - CalcSumOfColWidths(0, first - 1));
            int sum = vertical ? GetRowHeight(top) : GetColWidth(top);
            ROWCOL n = 0;
            for (ROWCOL index = top; index > first; --index) {
                const int size = vertical ? GetRowHeight(index - 1) : GetColWidth(index - 1);
                if (sum + size > room) {
                    break;
                }
                sum += size;
                ++n;
            }
            ScrollCells(back, std::max<ROWCOL>(n, 1));
        }
        break;
    case SB_PAGEDOWN:
        if (top < count) {
            const ROWCOL last = vertical ? CalcBottomRowFromRect(grid) : CalcRightColFromRect(grid);
            ScrollCells(forward, std::max<ROWCOL>(last > top ? last - top : 0, 1));
        }
        break;
    case SB_THUMBTRACK:
        if (!m_pParam->IsThumbTrackEnabled()) {
            break;
        }
        [[fallthrough]];
    case SB_THUMBPOSITION:
        if (target < top) {
            ScrollCells(back, top - target);
        } else if (target > top) {
            ScrollCells(forward, target - top);
        }
        break;
    case SB_TOP:
        ScrollCells(back, top);
        break;
    case SB_BOTTOM:
        ScrollCells(forward, count);
        break;
    case SB_ENDSCROLL:
        m_bAutoScrollStop = TRUE;
        break;
    default:
        break;
    }
    return TRUE;
}

void CGXGridCore::TellControlOfScroll(BOOL vertical) {
    if (CGXControl* control = m_pCurrentCellControl) {
        MSG msg{};
        msg.hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
        msg.message = vertical ? WM_VSCROLL : WM_HSCROLL;
        control->CheckGridScroll(msg);
    }
}

BOOL CGXGridCore::OnGridVScroll(UINT code, UINT position, CWnd*) {
    return OnGridScroll(TRUE, code, position);
}

BOOL CGXGridCore::OnGridHScroll(UINT code, UINT position, CWnd*) {
    return OnGridScroll(FALSE, code, position);
}

// Without the auto-scroll plug-in nothing would ever stop the timer: it is not started then.
void CGXGridCore::StartAutoScroll(BOOL capture, BOOL vertical, BOOL horizontal) {
    m_bAutoScrollVert = vertical;
    m_bAutoScrollHorz = horizontal;
    m_bAutoScrollStop = FALSE;
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (!m_features[kFeatureAutoScroll] || !hwnd) {
        m_bAutoScrollStart = FALSE;
        return;
    }
    m_bAutoScrollStart = TRUE;
    if (capture) {
        ::SetCapture(hwnd);
    }
    m_nAutoScrollTimer = ::SetTimer(hwnd, kAutoScrollTimerId, 10, nullptr);
    if (m_nAutoScrollTimer) {
        ::PostMessageW(hwnd, WM_TIMER, kAutoScrollTimerId, 0);
    } else {
        m_bAutoScrollStart = FALSE;
    }
}
