// The window messages the window part hands to the engine: mouse, focus, sizing and the rest.
#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXPluginComponent.h"
#include "grid/CGXStyle.h"
#include "grid/GridColor.h"
#include "grid/GridLibraryState.h"
#include "grid/GridSysColorCache.h"
#include "platform/display/InputApi.h"
#include "platform/display/MessageApi.h"
#include "platform/display/ScrollBarApi.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWnd.h"

#include <algorithm>

// ---- Mouse

namespace {

constexpr WORD kPressInProgress = 0x1;
constexpr WORD kPressWithCtrl = 0x80;
constexpr WORD kPressOnBoundCell = 0x100;
constexpr WORD kPhaseDown = 0x4;
constexpr WORD kPhaseMove = 0x8;
constexpr WORD kPhaseUp = 0x10;
constexpr WORD kPhaseLeftPressCell = 0x20;
constexpr WORD kPhaseOnPressCell = 0x40;

// The other buttons whose being down cancels a press of this one.
UINT OtherButtons(GridButton button) {
    switch (button) {
    case GridButton::Left:
        return MK_RBUTTON | MK_MBUTTON;
    case GridButton::Middle:
        return MK_LBUTTON | MK_RBUTTON;
    default:
        return MK_LBUTTON | MK_MBUTTON;
    }
}

template <class Interface>
Interface* Feature(CGXGridCore* grid, int entry) {
    return static_cast<Interface*>(grid->GetFeature(entry));
}

} // namespace

// The fill handle takes the mouse only while the selection frame is on.
CGXAbstractGridExcelLikeFillImp* CGXGridCore::FillHandle() {
    return m_pParam && m_pParam->m_bExcelLikeFrame
               ? Feature<CGXAbstractGridExcelLikeFillImp>(this, kFeatureExcelLikeFill)
               : nullptr;
}

BOOL CGXGridCore::PrepareButton(GridButton button, UINT flags, POINT point, int& hit, ROWCOL& row, ROWCOL& col) {
    if (!m_bInitDone) {
        return FALSE;
    }
    m_bGridActive = TRUE;
    m_nButtonFlags = flags;
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if ((hwnd && ::GetCapture() == hwnd) || (flags & OtherButtons(button))) {
        if (hwnd) {
            ::SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
        }
        OnGridCancelMode();
        return FALSE;
    }
    UpdateGridWindow();
    hit = HitTest(point, &row, &col);
    return TRUE;
}

void CGXGridCore::CoveredTopLeft(ROWCOL& row, ROWCOL& col) {
    CGXRange covered;
    if (GetCoveredCellsRowCol(row, col, covered)) {
        row = covered.top;
        col = covered.left;
    }
}

WORD CGXGridCore::ClickPhase(WORD phase, ROWCOL row, ROWCOL col) const {
    WORD result = static_cast<WORD>(m_wButtonState | phase);
    if (row == m_nPressRow && col == m_nPressCol) {
        result |= kPhaseOnPressCell;
    } else if (m_nLastMoveRow == m_nPressRow && m_nLastMoveCol == m_nPressCol) {
        result |= kPhaseLeftPressCell;
    }
    return result;
}

BOOL CGXGridCore::ButtonDown(GridButton button, UINT flags, POINT point) {
    int hit = 0;
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (!PrepareButton(button, flags, point, hit, row, col)) {
        return FALSE;
    }
    const BOOL left = button == GridButton::Left;
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (left && hit == kHitFillHandle) {
        m_nPressRow = row;
        m_nPressCol = col;
        m_wButtonState = kPressInProgress;
        if (auto* fill = FillHandle()) {
            fill->OnLButtonDown(this, point, flags, hit, row, col);
        }
        if (hwnd && ::GetCapture() != hwnd && m_wButtonState) {
            ::SetCapture(hwnd);
        }
        return TRUE;
    }
    if (hit != kHitCell && hit != kHitHeader && hit != kHitSelectionFrame) {
        // Edges, hidden rows and columns and the outside belong to the user-resize feature.
        auto* resize = left ? Feature<CGXAbstractGridUserResizeCellsImp>(this, kFeatureUserResizeCells) : nullptr;
        return resize ? resize->OnLButtonDown(this, point, flags, hit, row, col) : FALSE;
    }
    auto* drag = left && (row != 0 || col != 0)
                     ? Feature<CGXAbstractGridUserDragSelectRangeImp>(this, kFeatureUserDragSelectRange)
                     : nullptr;
    if (drag && drag->OnLButtonDown(this, point, flags, hit, row, col)) {
        return TRUE;
    }
    m_nPressRow = row;
    m_nPressCol = col;
    m_wButtonState = kPressInProgress;
    ROWCOL checkRow = row;
    ROWCOL checkCol = col;
    CoveredTopLeft(checkRow, checkCol);
    CGXControl* control = IsCurrentCell(checkRow, checkCol) ? GetControlRowCol(checkRow, checkCol) : nullptr;
    if (control && control->IsBoundTo(checkRow, checkCol)) {
        m_wButtonState |= kPressOnBoundCell;
    }
    if (flags & MK_CONTROL) {
        m_wButtonState |= kPressWithCtrl;
    }
    if (auto* select = left ? Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange) : nullptr) {
        select->OnLButtonDown(this, point, flags, hit, row, col);
    }
    m_nLastMoveRow = row;
    m_nLastMoveCol = col;
    if (ProcessClick(button, row, col, row, col, point, flags, static_cast<WORD>(m_wButtonState | 0x44))) {
        if (hwnd && ::GetCapture() != hwnd && m_wButtonState) {
            ::SetCapture(hwnd);
        }
    } else if (hwnd) {
        ::SendMessageW(hwnd, WM_CANCELMODE, 0, 0);
    }
    return TRUE;
}

BOOL CGXGridCore::OnGridLButtonDown(UINT flags, POINT point) {
    return ButtonDown(GridButton::Left, flags, point);
}

BOOL CGXGridCore::OnGridMButtonDown(UINT flags, POINT point) {
    return ButtonDown(GridButton::Middle, flags, point);
}

BOOL CGXGridCore::OnGridRButtonDown(UINT flags, POINT point) {
    return ButtonDown(GridButton::Right, flags, point);
}

POINT CGXGridCore::ClampToGrid(POINT point) {
    CRect grid;
    GetGridRect(grid);
    point.x = std::clamp<LONG>(point.x, grid.left, std::max<LONG>(grid.left, grid.right - m_cyFrame));
    point.y = std::clamp<LONG>(point.y, grid.top, std::max<LONG>(grid.top, grid.bottom - m_cyFrame));
    return point;
}

BOOL CGXGridCore::OnGridMouseMove(UINT flags, POINT point) {
    if (!m_bInitDone) {
        return FALSE;
    }
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (m_bCellTips && m_pCellTip && (!hwnd || ::GetCapture() != hwnd)) {
        m_pCellTip->OnMouseMove(this, flags, point);
    }
    const POINT clamped = ClampToGrid(point);
    if (auto* drag = Feature<CGXAbstractGridUserDragSelectRangeImp>(this, kFeatureUserDragSelectRange)) {
        ROWCOL row = 0;
        ROWCOL col = 0;
        const int hit = HitTest(clamped, &row, &col);
        if (drag->OnMouseMove(this, clamped, flags, hit, row, col)) {
            return TRUE;
        }
    }
    if (m_wButtonState & kPressInProgress) {
        if (!hwnd || ::GetCapture() != hwnd) {
            return FALSE;
        }
        ROWCOL row = 0;
        ROWCOL col = 0;
        HitTest(clamped, &row, &col);
        row = std::clamp(row, GetRow(GetHeaderRows() + 1), std::max<ROWCOL>(GetRowCount(), 1));
        col = std::clamp(col, GetCol(GetHeaderCols() + 1), std::max<ROWCOL>(GetColCount(), 1));
        const GridButton button = (m_nButtonFlags & MK_LBUTTON)   ? GridButton::Left
                                  : (m_nButtonFlags & MK_MBUTTON) ? GridButton::Middle
                                                                  : GridButton::Right;
        ProcessClick(button, m_nPressRow, m_nPressCol, row, col, point, flags, ClickPhase(kPhaseMove, row, col));
        if (auto* fill = FillHandle(); fill && fill->OnMouseMove(this, clamped, flags, kHitCell, row, col)) {
            return TRUE;
        }
        if (row != m_nLastMoveRow || col != m_nLastMoveCol) {
            if (auto* select = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange)) {
                select->OnMouseMove(this, clamped, flags, kHitCell, row, col);
            }
        }
        m_nLastMoveRow = row;
        m_nLastMoveCol = col;
        return TRUE;
    }
    if (auto* resize = Feature<CGXAbstractGridUserResizeCellsImp>(this, kFeatureUserResizeCells)) {
        ROWCOL row = 0;
        ROWCOL col = 0;
        const int hit = HitTest(clamped, &row, &col);
        if (resize->OnMouseMove(this, clamped, flags, hit, row, col)) {
            return TRUE;
        }
    }
    CRect grid;
    GetGridRect(grid);
    if (grid.PtInRect(point) && !m_bNoMouseOver) {
        ROWCOL row = 0;
        ROWCOL col = 0;
        HitTest(clamped, &row, &col);
        if (row <= GetRowCount() && col <= GetColCount()) {
            CoveredTopLeft(row, col);
            CGXControl* control = GetControlRowCol(row, col);
            if (control && control->MouseMoveOver(row, col, flags, point)) {
                return TRUE;
            }
        }
        UpdateCursor(clamped);
    } else {
        UpdateCursor(point);
    }
    return TRUE;
}

BOOL CGXGridCore::ButtonUp(GridButton button, UINT flags, POINT point) {
    m_bAutoScrollStop = TRUE;
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (!hwnd || ::GetCapture() != hwnd) {
        return FALSE;
    }
    const BOOL left = button == GridButton::Left;
    const POINT clamped = ClampToGrid(point);
    ROWCOL row = 0;
    ROWCOL col = 0;
    const int hit = HitTest(clamped, &row, &col);
    auto* drag = left ? Feature<CGXAbstractGridUserDragSelectRangeImp>(this, kFeatureUserDragSelectRange) : nullptr;
    if (drag && drag->OnLButtonUp(this, clamped, flags, hit, row, col)) {
        return TRUE;
    }
    if (!(m_wButtonState & kPressInProgress)) {
        if (auto* resize = left ? Feature<CGXAbstractGridUserResizeCellsImp>(this, kFeatureUserResizeCells)
                                : nullptr) {
            resize->OnLButtonUp(this, clamped, flags, hit, row, col);
        }
        return TRUE;
    }
    ::ReleaseCapture();
    if (left) {
        if (auto* fill = FillHandle()) {
            fill->OnLButtonUp(this, clamped, flags, hit, row, col);
        }
        if (auto* select = Feature<CGXAbstractGridUserSelectRangeImp>(this, kFeatureUserSelectRange)) {
            select->OnLButtonUp(this, clamped, flags, hit, row, col);
        }
    }
    row = std::min(row, GetRowCount());
    col = std::min(col, GetColCount());
    ProcessClick(button, m_nPressRow, m_nPressCol, row, col, point, flags, ClickPhase(kPhaseUp, row, col));
    m_wButtonState = 0;
    return TRUE;
}

BOOL CGXGridCore::OnGridLButtonUp(UINT flags, POINT point) {
    return ButtonUp(GridButton::Left, flags, point);
}

BOOL CGXGridCore::OnGridMButtonUp(UINT flags, POINT point) {
    return ButtonUp(GridButton::Middle, flags, point);
}

BOOL CGXGridCore::OnGridRButtonUp(UINT flags, POINT point) {
    return ButtonUp(GridButton::Right, flags, point);
}

BOOL CGXGridCore::ButtonDblClk(GridButton button, UINT flags, POINT point) {
    int hit = 0;
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (!PrepareButton(button, flags, point, hit, row, col)) {
        return FALSE;
    }
    if (hit != kHitCell && hit != kHitHeader) {
        auto* resize = button == GridButton::Left
                           ? Feature<CGXAbstractGridUserResizeCellsImp>(this, kFeatureUserResizeCells)
                           : nullptr;
        return resize ? resize->OnLButtonDblClk(this, point, flags, hit, row, col) : FALSE;
    }
    CoveredTopLeft(row, col);
    CGXControl* control = GetControlRowCol(row, col);
    if (!(IsCurrentCell(row, col) && control && control->IsBoundTo(row, col))) {
        SetCurrentCell(row, col, 0x0A);
        control = GetControlRowCol(row, col);
    }
    BOOL taken = FALSE;
    if (IsCurrentCell(row, col) && control && control->IsBoundTo(row, col)) {
        taken = button == GridButton::Left     ? control->LButtonDblClk(flags, point)
                : button == GridButton::Middle ? control->MButtonDblClk(flags, point)
                                               : control->RButtonDblClk(flags, point);
    } else {
        taken = button == GridButton::Left     ? OnLButtonDblClkRowCol(row, col, flags, point)
                : button == GridButton::Middle ? OnMButtonDblClkRowCol(row, col, flags, point)
                                               : OnRButtonDblClkRowCol(row, col, flags, point);
    }
    return taken ? TRUE : ButtonDown(button, flags, point);
}

BOOL CGXGridCore::OnGridLButtonDblClk(UINT flags, POINT point) {
    return ButtonDblClk(GridButton::Left, flags, point);
}

BOOL CGXGridCore::OnGridMButtonDblClk(UINT flags, POINT point) {
    return ButtonDblClk(GridButton::Middle, flags, point);
}

BOOL CGXGridCore::OnGridRButtonDblClk(UINT flags, POINT point) {
    return ButtonDblClk(GridButton::Right, flags, point);
}

// The three phases of a click on a cell: the press moves the current cell, moves and the release go to the
// pressed cell's control.
BOOL CGXGridCore::ProcessClick(GridButton button, ROWCOL pressRow, ROWCOL pressCol, ROWCOL row, ROWCOL col,
                               POINT point, UINT flags, WORD phase) {
    CoveredTopLeft(pressRow, pressCol);
    const auto boundControl = [&]() -> CGXControl* {
        if (!IsCurrentCell(pressRow, pressCol)) {
            return nullptr;
        }
        CGXControl* control = GetControlRowCol(pressRow, pressCol);
        return control && control->IsBoundTo(pressRow, pressCol) ? control : nullptr;
    };
    if (phase & kPhaseDown) {
        const BOOL onBound = (m_wButtonState & kPressOnBoundCell) != 0;
        const BOOL move = button == GridButton::Left ? !(onBound && !m_pParam->m_bSelectCurrentCell) : !onBound;
        if (move) {
            m_bWarningShown = FALSE;
            const UINT moveFlags = button == GridButton::Left && (m_wButtonState & kPressWithCtrl) ? 0x84 : 4;
            SetCurrentCell(pressRow, pressCol, moveFlags);
            if (m_bWarningShown || pressRow > GetRowCount() || pressCol > GetColCount()) {
                return FALSE;
            }
        }
        if (CGXControl* control = boundControl()) {
            switch (button) {
            case GridButton::Left:
                control->LButtonDown(flags, point, phase);
                break;
            case GridButton::Middle:
                control->MButtonDown(flags, point, phase);
                break;
            default:
                control->RButtonDown(flags, point, phase);
                break;
            }
        }
        m_bMovedOffPressCell = FALSE;
        return TRUE;
    }
    if (phase & kPhaseUp) {
        if (CGXControl* control = boundControl()) {
            switch (button) {
            case GridButton::Left:
                control->LButtonUp(flags, point, phase);
                break;
            case GridButton::Middle:
                control->MButtonUp(flags, point, phase);
                break;
            default:
                control->RButtonUp(flags, point, phase);
                break;
            }
        } else {
            switch (button) {
            case GridButton::Left:
                OnLButtonClickedRowCol(pressRow, pressCol, flags, point);
                break;
            case GridButton::Middle:
                OnMButtonClickedRowCol(pressRow, pressCol, flags, point);
                break;
            default:
                OnRButtonClickedRowCol(pressRow, pressCol, flags, point);
                break;
            }
        }
        if (!m_bMovedOffPressCell && IsCurrentCell(pressRow, pressCol)) {
            if (ScrollCellInView(pressRow, pressCol, 2, FALSE)) {
                if (CGXControl* control = GetControlRowCol(pressRow, pressCol)) {
                    control->RedrawCell();
                }
            }
        } else if (m_pParam->TestCurrentCellSelectFlags(3)) {
            return SetCurrentCell(row, col, 4);
        }
        return TRUE;
    }
    if (CGXControl* control = boundControl()) {
        control->MouseMove(flags, point, phase);
    }
    if (row != pressRow || col != pressCol) {
        m_bMovedOffPressCell = TRUE;
    }
    return TRUE;
}

BOOL CGXGridCore::OnGridSetCursor(UINT hitTest, UINT) {
    if (hitTest != HTCLIENT || !m_pGridWnd) {
        return FALSE;
    }
    POINT point{};
    ::GetCursorPos(&point);
    ::ScreenToClient(m_pGridWnd->GetSafeHwnd(), &point);
    UpdateCursor(point);
    return TRUE;
}

BOOL CGXGridCore::OnGridSize(UINT type, int cx, int cy) {
    m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    CFrameWnd* frame = hwnd ? m_pGridWnd->GetParentFrame() : nullptr;
    const BOOL frameZoomed = frame && frame->IsZoomed();
    if (type == SIZE_MAXIMIZED) {
        // A tab window's sheet becoming active: its bars go onto the shared ones in full.
        if (m_bInitDone) {
            UpdateScrollbars(TRUE, FALSE);
        }
    }
    if (type != SIZE_RESTORED) {
        m_bFrameZoomed = frameZoomed;
        return FALSE;
    }
    if (m_bSizeLocked) {
        if (hwnd && frameZoomed == m_bFrameZoomed) {
            ::ValidateRect(hwnd, nullptr);
        }
        return TRUE;
    }
    if (hwnd && m_pParam && m_pParam->m_bSmartResize && !m_bRectGridSet && frame && m_nLastWidth > 0 &&
        m_nLastHeight > 0 && !m_bInUpdateScrollbars) {
        CRect window;
        m_pGridWnd->GetWindowRect(&window);
        if (window.TopLeft() == m_rectLastWindow.TopLeft()) {
            RepaintNewStrips(frameZoomed != m_bFrameZoomed, cx, cy);
        }
    }
    if (m_bInitDone) {
        if (m_bCellTips && m_pCellTip) {
            m_pCellTip->OnSize(this);
        }
        if (!m_bInUpdateScrollbars) {
            UpdateFontMetrics();
            if (m_pParam->m_bSmartResize) {
                UpdateGridWindow();
            }
            UpdateScrollbars(TRUE, TRUE);
        }
    }
    if (hwnd && m_pGridWnd->IsWindowVisible()) {
        // Less the scroll bars, so that the strip a hidden bar leaves is painted too.
        m_nLastWidth = cx - ::GetSystemMetrics(SM_CXVSCROLL);
        m_nLastHeight = cy - ::GetSystemMetrics(SM_CYHSCROLL);
        m_pGridWnd->GetWindowRect(&m_rectLastWindow);
    } else {
        ResetSizeState();
    }
    m_bFrameZoomed = frameZoomed;
    return FALSE;
}

// The window grew and kept its old pixels: only the columns and rows that come into view are painted.
void CGXGridCore::RepaintNewStrips(BOOL everything, int cx, int cy) {
    HWND hwnd = m_pGridWnd->GetSafeHwnd();
    if (everything) {
        ::InvalidateRect(hwnd, nullptr, TRUE);
        ::UpdateWindow(hwnd);
        return;
    }
    ::ValidateRect(hwnd, nullptr);
    const POINT last{m_nLastWidth, m_nLastHeight};
    int left = m_nLastWidth;
    int top = m_nLastHeight;
    if (CalcClientColFromPt(last, &left) == kGridNoRowCol) {
        left = m_nLastWidth;
    }
    if (CalcClientRowFromPt(last, &top) == kGridNoRowCol) {
        top = m_nLastHeight;
    }
    const BOOL taller = cy > m_nLastHeight;
    if (cx > m_nLastWidth) {
        // Without the band below, the strip reaches the bottom: the last row's new part needs painting.
        const CRect strip(left, 0, cx, taller ? std::min(m_nLastHeight, top) : cy);
        ::InvalidateRect(hwnd, &strip, TRUE);
        ::UpdateWindow(hwnd);
    }
    if (taller) {
        const CRect band(0, top, cx, cy);
        ::InvalidateRect(hwnd, &band, TRUE);
        ::UpdateWindow(hwnd);
    }
}

void CGXGridCore::ResetSizeState() {
    m_nLastWidth = 0;
    m_nLastHeight = 0;
}

void CGXGridCore::OnGridShowWindow(BOOL show, UINT) {
    if (!show) {
        m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
        ResetSizeState();
    }
}

void CGXGridCore::LockSizeRedraw(BOOL lock) {
    m_bSizeLocked = lock;
    if (!lock && m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
        ::InvalidateRect(m_pGridWnd->GetSafeHwnd(), nullptr, TRUE);
    }
}

void CGXGridCore::OnGridSetFocus(CWnd* oldWnd) {
    HWND grid = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    HWND old = oldWnd ? oldWnd->GetSafeHwnd() : nullptr;
    // The focus flag follows the focus even when the grid moves it itself: the current-cell frame shows
    // only while the flag is set.
    if (!old || !::IsChild(grid, old)) {
        m_bGridActive = TRUE;
    }
    if (m_bSettingFocus) {
        return;
    }
    if (!old || !::IsChild(grid, old)) {
        OnActivateGrid(TRUE);
    }
    m_pLastFocusWnd = oldWnd;
    if (m_bValidationFailed) {
        if (CGXControl* control = GetCurrentCellControl()) {
            control->RedrawCell();
        }
    }
    m_bValidationFailed = FALSE;
}

void CGXGridCore::OnGridKillFocus(CWnd* newWnd) {
    m_bFocusLostWhileStoring = TRUE;
    if (m_bSettingFocus) {
        return;
    }
    HWND grid = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    HWND next = newWnd ? newWnd->GetSafeHwnd() : nullptr;
    if (next != grid && !::IsChild(grid, next)) {
        OnActivateGrid(FALSE);
    }
}

UINT CGXGridCore::OnGridGetDlgCode(UINT code) {
    return code | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
}

void CGXGridCore::OnGridCancelMode() {
    if (m_pCellTip) {
        m_pCellTip->Dismiss(this);
    }
    if (!m_bInitDone) {
        return;
    }
    if (m_bSizeTracking) {
        CancelTrackSize();
    } else if (m_wButtonState) {
        // An abandoned press: the selection goes, the current cell is stored and bound again where the
        // release would have.
        ClearSelection(TRUE);
        if (m_pParam->TestCurrentCellSelectFlags(3) && m_bCurrentCellValid) {
            SetCurrentCell(m_nCurrentRow, m_nCurrentCol, 0x0A);
        }
        m_wButtonState = 0;
    } else if (m_bDragging) {
        CancelDragSelect();
    }
    if (m_nForcedCursor) {
        RefreshCursor(0);
    }
    HWND hwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (hwnd && ::GetCapture() == hwnd) {
        ::ReleaseCapture();
    }
    if (CGXControl* control = GetCurrentCellControl()) {
        control->CancelMode();
    }
}

BOOL CGXGridCore::OnGridMouseActivate(CWnd* desktop, UINT hitTest, UINT message, int& result) {
    HWND grid = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    if (grid && m_pParam && m_pParam->m_bCheckActiveView && m_pGridWnd->IsKindOf(RUNTIME_CLASS(CView)) &&
        hitTest == HTCLIENT) {
        HWND last = m_pLastFocusWnd ? m_pLastFocusWnd->GetSafeHwnd() : nullptr;
        BOOL keep = !last || last == grid;
        if (!keep && ::IsChild(grid, last)) {
            // A child of the grid keeps the focus when it lies in the frame that has the focus.
            CWnd* focus = CWnd::FromHandle(::GetFocus());
            keep = focus && CWnd::FromHandle(last)->GetParentFrame() == focus->GetParentFrame();
        }
        if (!keep) {
            ::SetFocus(grid);
            m_pLastFocusWnd = m_pGridWnd;
            result = MA_ACTIVATEANDEAT;
            return TRUE;
        }
    }
    CGXControl* control = GetCurrentCellControl();
    return control ? control->MouseActivate(desktop, hitTest, message, result) : FALSE;
}

BOOL CGXGridCore::OnActivateGrid(BOOL activate) {
    HWND grid = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    const auto cancelMode = [grid]() {
        if (grid) {
            ::SendMessageW(grid, WM_CANCELMODE, 0, 0);
        }
    };
    cancelMode();
    if (activate) {
        m_pAppState->lastActivatedGrid = this;
    } else if (m_bValidatingCell) {
        return FALSE;
    }
    m_bGridActive = activate;
    if (m_bValidatingCell || !m_bInitDone || !m_pParam) {
        return FALSE;
    }
    BOOL result = TRUE;
    if (!activate) {
        cancelMode();
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    CGXControl* control = GetCurrentCell(row, col) && !m_pAppState->ignoreFocusChange ? GetControlRowCol(row, col)
                                                                                      : nullptr;
    if (control && activate) {
        if (m_pParam->m_wActivateCell & 0x04) {
            control->SetActive(TRUE);
        }
        control->RedrawCell();
    } else if (control && control->IsBoundTo(row, col)) {
        // Leaving the grid ends the edit as leaving the cell would.
        if (CheckEnabledOrValidate(FALSE, row, col, row, col)) {
            const BOOL modified = control->IsModified();
            if (modified) {
                result = control->StoreValue();
            }
            if (result) {
                result = control->ReportEditEnded();
            }
            if (result) {
                control->SetActive(FALSE);
                control->SetModified(FALSE);
                control->RedrawCell();
            }
            if (modified) {
                RecalcHook3(FALSE);
                Recalc(FALSE, nullptr, TRUE);
            }
        } else {
            result = FALSE;
        }
    } else if (control) {
        RedrawRowCol(row, col, row, col, 1, FALSE);
    }
    if (activate) {
        UpdateFontMetrics();
        UpdateScrollbars(TRUE, FALSE);
    }
    ResetSizeState();
    return result;
}

HBRUSH CGXGridCore::OnGridCtlColor(CDC* dc, CWnd* wnd, UINT kind) {
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (!GetCurrentCell(row, col)) {
        return nullptr;
    }
    const CGXStyle& style = LookupStyleRowCol(row, col);
    if (CGXControl* control = GetRegisteredControl(style.GetControlId())) {
        if (HBRUSH own = control->HandleCtlColor(dc, wnd, kind)) {
            return own;
        }
    }
    const CGXBrushValue& interior = style.GetInterior();
    const GridStoredColor back = interior.GetStyle() == BS_SOLID ? interior.GetColorStored() : interior.GetBkColorStored();
    dc->SetBkColor(ResolveGridColor(back) & 0xFFFFFF);
    dc->SetTextColor(style.GetTextColorValue() & 0xFFFFFF);
    CBrush* brush = GetBrush(interior);
    return brush ? static_cast<HBRUSH>(*brush) : nullptr;
}

void CGXGridCore::OnGridSysColorChange() {
    // Controls that keep pictures in system colours map them again.
    GridSysColorCache::Refresh();
    FreeObjectCache();
    for (const auto& entry : m_controlMap) {
        if (entry.second) {
            entry.second->SysColorChanged();
        }
    }
    InvalidateGridRect(nullptr);
}

void CGXGridCore::OnGridWinIniChange(LPCTSTR section) {
    InitDateTimeFeature();
    for (const auto& entry : m_controlMap) {
        if (entry.second) {
            entry.second->WinIniChanged(section);
        }
    }
    InvalidateGridRect(nullptr);
}

void CGXGridCore::OnGridTimer(UINT_PTR timerId) {
    if (m_pCellTip && m_pCellTip->OnTimer(this, timerId)) {
        return;
    }
    if (auto* plugin = static_cast<CGXAbstractAutoScrollPlugin*>(m_features[kFeatureAutoScroll])) {
        plugin->OnTimer(this, timerId);
    } else if (timerId == kAutoScrollTimerId && m_pGridWnd) {
        ::KillTimer(m_pGridWnd->GetSafeHwnd(), timerId); // nothing would ever stop it
    }
}

BOOL CGXGridCore::PreTranslateGridMessage(MSG* msg) {
    if (!m_bInitDone || !m_pGridWnd || !m_pGridWnd->IsWindowVisible()) {
        return FALSE;
    }
    if (m_bCellTips && m_pCellTip) {
        m_pCellTip->RelayMessage(this, msg);
    }
    CGXControl* control = GetCurrentCellControl();
    return control ? control->ReservedQuery(msg) : FALSE;
}

BOOL CGXGridCore::ProcessPluginMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!m_bInitDone || m_pluginList.empty()) {
        return FALSE;
    }
    return RoutePluginMessage(m_pluginList, message, wParam, lParam, &result);
}

void CGXGridCore::AddPlugin(CGXPluginComponent* plugin) {
    m_pluginList.push_back(plugin);
    plugin->PlugIn(m_pGridWnd);
}

void CGXGridCore::SetCellTipHandler(CGXAbstractCellTipHandler* handler) {
    if (m_pCellTip) {
        m_pCellTip->Hide(this);
    }
    m_pCellTip.reset(handler);
}

void CGXGridCore::EnableCellTips(BOOL enable) {
    if (!enable && m_pCellTip) {
        m_pCellTip->Hide(this);
    }
    m_bCellTips = enable;
}

BOOL CGXGridCore::OnGridCommand(WPARAM wParam, LPARAM lParam) {
    return m_pCurrentCellControl && m_pCurrentCellControl->HandleCommand(wParam, lParam);
}

BOOL CGXGridCore::QueryParamFlag() {
    return m_pParam ? m_pParam->GetTabFlag() : FALSE;
}

BOOL CGXGridCore::OnValidateCurrentCellRequest(WPARAM entering) {
    // A sheet being entered has nothing to validate.
    return entering ? TRUE : TransferCurrentCell(TRUE, 1, TRUE);
}

void CGXGridCore::UpdateTabName(WPARAM index) {
    CGXAbstractTabWndInterface* tabs = GridLibraryState::Instance().tabWndInterface.get();
    if (!tabs || !m_pParam || !m_pGridWnd) {
        return;
    }
    CString name;
    tabs->GetTabNameAt(name, m_pGridWnd, static_cast<int>(index));
    m_pParam->m_strTabName = name;
}

void CGXGridCore::ShowScrollBar(int bar, BOOL show) {
    if (m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
        ::ShowScrollBar(m_pGridWnd->GetSafeHwnd(), bar, show);
    }
}
