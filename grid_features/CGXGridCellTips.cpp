#include "grid_features/CGXGridCellTips.h"

#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXRange.h"
#include "grid/CGXStyle.h"
#include "grid_features/CGXCellTipStatic.h"
#include "grid_features/CGXCellTipWnd.h"
#include "platform/display/InputApi.h"
#include "platform/display/MessageApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CWnd.h"

CGXGridCellTips::CGXGridCellTips() = default;

CGXGridCellTips::~CGXGridCellTips() = default;

CGXGridCellTips* CGXGridCellTips::Install(CGXGridCore* grid) {
    auto* tips = new CGXGridCellTips;
    grid->SetCellTipHandler(tips);
    grid->EnableCellTips(TRUE);
    return tips;
}

CGXCellTipWnd* CGXGridCellTips::GetShownTip() const {
    return m_pShown && m_pShown->GetSafeHwnd() && m_pShown->IsWindowVisible() ? m_pShown : nullptr;
}

void CGXGridCellTips::StopTimer(CGXGridCore* grid) {
    if (CWnd* window = grid->GridWnd(); window && window->GetSafeHwnd()) {
        ::KillTimer(window->GetSafeHwnd(), kCellTipTimerId);
    }
}

void CGXGridCellTips::Dismiss(CGXGridCore* grid) {
    StopTimer(grid);
    m_bPending = FALSE;
    if (m_pShown && m_pShown->GetSafeHwnd()) {
        m_pShown->ShowWindow(SW_HIDE);
    }
    m_pShown = nullptr;
}

void CGXGridCellTips::Hide(CGXGridCore* grid) {
    Dismiss(grid);
    m_nRow = m_nCol = kGridNoRowCol;
}

void CGXGridCellTips::OnMouseMove(CGXGridCore* grid, UINT flags, POINT point) {
    if (flags & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON)) {
        Dismiss(grid);
        return;
    }
    ROWCOL row = kGridNoRowCol;
    ROWCOL col = kGridNoRowCol;
    CRect area;
    grid->GetGridRect(area);
    if (area.PtInRect(point)) {
        const int hit = grid->HitTest(point, &row, &col);
        if ((hit == kHitCell || hit == kHitHeader) && row <= grid->GetRowCount() && col <= grid->GetColCount()) {
            CGXRange covered;
            if (grid->GetCoveredCellsRowCol(row, col, covered)) {
                row = covered.top;
                col = covered.left;
            }
        } else {
            row = col = kGridNoRowCol;
        }
    }
    if (row == m_nRow && col == m_nCol) {
        return; // still on the same cell: a pending tip keeps its delay, a shown one stays
    }
    Hide(grid);
    if (row == kGridNoRowCol) {
        return;
    }
    m_nRow = row;
    m_nCol = col;
    CGXControl* control = grid->GetControlRowCol(row, col);
    CWnd* window = grid->GridWnd();
    if (control && window && control->NeedsCellTip(row, col, grid->LookupStyleRowCol(row, col))) {
        m_bPending = ::SetTimer(window->GetSafeHwnd(), kCellTipTimerId, kShowDelay, nullptr) != 0;
    }
}

BOOL CGXGridCellTips::OnTimer(CGXGridCore* grid, UINT_PTR timerId) {
    if (timerId != kCellTipTimerId) {
        return FALSE;
    }
    if (m_bPending) {
        m_bPending = FALSE;
        Show(grid);
    } else if (GetShownTip()) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        if (!m_rectCell.PtInRect(cursor)) {
            Hide(grid);
        }
    } else {
        StopTimer(grid);
    }
    return TRUE;
}

void CGXGridCellTips::Show(CGXGridCore* grid) {
    StopTimer(grid);
    CGXControl* control = grid->GetControlRowCol(m_nRow, m_nCol);
    CWnd* window = grid->GridWnd();
    if (!control || !window || !window->IsWindowVisible()) {
        return;
    }
    // The cell may have changed while the tip waited.
    const CGXStyle& style = grid->LookupStyleRowCol(m_nRow, m_nCol);
    if (!control->NeedsCellTip(m_nRow, m_nCol, style)) {
        return;
    }
    CGXCellTipWnd* tip = TipWindow(grid, control->GetCellTipKind(m_nRow, m_nCol, style));
    if (!tip) {
        return;
    }
    control->InitCellTip(m_nRow, m_nCol, style, tip);
    tip->SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    tip->Invalidate();
    m_pShown = tip;
    m_rectCell = grid->CalcCellRectSpanned(m_nRow, m_nCol);
    window->ClientToScreen(&m_rectCell);
    ::SetTimer(window->GetSafeHwnd(), kCellTipTimerId, kLeaveCheck, nullptr);
}

CGXCellTipWnd* CGXGridCellTips::TipWindow(CGXGridCore* grid, int kind) {
    CGXCellTipWnd* tip = nullptr;
    if (kind == kTipPicture) {
        if (!m_pPictureTip) {
            m_pPictureTip = std::make_unique<CGXStaticBitmapCellTipWnd>(grid, this);
        }
        tip = m_pPictureTip.get();
    } else {
        if (!m_pTextTip) {
            m_pTextTip = std::make_unique<CGXTextCellTipWnd>(grid, this);
        }
        tip = m_pTextTip.get();
    }
    return tip->CreateTip() ? tip : nullptr;
}

void CGXGridCellTips::OnSize(CGXGridCore* grid) {
    Hide(grid);
}

void CGXGridCellTips::RelayMessage(CGXGridCore* grid, const MSG* msg) {
    if (!msg) {
        return;
    }
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
        Dismiss(grid);
        break;
    default:
        break;
    }
}
