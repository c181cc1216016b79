// The current cell: moving it, storing and validating the cell being left, binding the control.
#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXStyle.h"
#include "platform/display/MessageApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"

namespace {

// Type-ahead for a window is dropped before a warning or a refused move, so that keys meant for the cell
// being left never reach another one.
void DropPendingKeys(HWND window) {
    MSG msg{};
    while (window && ::PeekMessageW(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

} // namespace

BOOL CGXGridCore::GetCurrentCell(ROWCOL& row, ROWCOL& col, BOOL allowWhilePrinting) {
    row = m_nCurrentRow;
    col = m_nCurrentCol;
    if (m_nCurrentRow > GetRowCount() || m_nCurrentCol > GetColCount()) {
        m_bCurrentCellValid = FALSE;
    }
    return m_bCurrentCellValid && (allowWhilePrinting || !m_bPrinting);
}

BOOL CGXGridCore::IsCurrentCell(ROWCOL row, ROWCOL col, BOOL allowWhilePrinting) {
    if (!m_bCurrentCellValid || (m_bPrinting && !allowWhilePrinting)) {
        return FALSE;
    }
    if ((row != kGridNoRowCol && row != m_nCurrentRow) || (col != kGridNoRowCol && col != m_nCurrentCol)) {
        return FALSE;
    }
    return m_nCurrentRow <= GetRowCount() && m_nCurrentCol <= GetColCount();
}

BOOL CGXGridCore::IsActiveCurrentCell() {
    CGXControl* control = GetCurrentCellControl();
    return !m_bPrinting && control && control->IsActive();
}

CGXControl* CGXGridCore::GetCurrentCellControl() {
    ROWCOL row = 0;
    ROWCOL col = 0;
    return GetCurrentCell(row, col) ? GetControlRowCol(row, col) : nullptr;
}

void CGXGridCore::SetCurrentCellState(BOOL valid, ROWCOL row, ROWCOL col) {
    if (valid) {
        m_bCurrentCellValid = FALSE;
        m_pCurrentCellControl = GetControlRowCol(row, col);
    }
    m_bCurrentCellValid = valid;
    if (valid) {
        CGXControl* control = m_pCurrentCellControl;
        m_nCurrentRow = m_nCurrentCol = 0;
        m_pCurrentCellStyle.reset();
        m_nCurrentRow = row;
        m_nCurrentCol = col;
        LookupStyleRowCol(row, col); // refills the current cell's style
        m_pCurrentCellControl = control;
        if (m_pParam) {
            m_pParam->m_nSavedCurrentRow = row;
            m_pParam->m_nSavedCurrentCol = col;
        }
    }
}

BOOL CGXGridCore::CheckEnabledOrValidate(BOOL testNew, ROWCOL row, ROWCOL col, ROWCOL curRow, ROWCOL curCol) {
    if (testNew) {
        if (row > GetRowCount() || col > GetColCount()) {
            return FALSE;
        }
        const CGXStyle& style = LookupStyleRowCol(row, col);
        return !(style.GetInclude(kStyleEnabled) && !style.GetEnabled());
    }
    m_strWarningText.Empty();
    CGXControl* control = GetControlRowCol(curRow, curCol);
    return control && control->IsModified() ? control->ValidateValue() : TRUE;
}

BOOL CGXGridCore::SetCurrentCell(ROWCOL row, ROWCOL col, UINT flags) {
    CGXRange covered;
    if (GetCoveredCellsRowCol(row, col, covered)) {
        row = covered.top;
        col = covered.left;
    }
    ROWCOL oldRow = 0;
    ROWCOL oldCol = 0;
    CGXControl* oldControl = nullptr;
    if (GetCurrentCell(oldRow, oldCol)) {
        oldControl = GetControlRowCol(oldRow, oldCol);
    }
    HWND gridHwnd = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
    BOOL failed = FALSE;
    BOOL stored = FALSE;

    if (oldControl) {
        const BOOL modified = oldControl->IsModified();
        CString keptText;
        if (oldControl->IsBoundTo(oldRow, oldCol)) {
            oldControl->GetEditText(keptText);
        }
        m_bValidatingCell = TRUE;
        m_bFocusLostWhileStoring = FALSE;
        HWND focus = ::GetFocus();
        if (oldControl->IsActive() && gridHwnd && ::IsChild(gridHwnd, focus)) {
            DropPendingKeys(focus);
        }
        const auto restoreFocus = [&]() {
            if (m_strWarningText.IsEmpty() && oldControl->IsActive() && focus && ::IsWindow(focus) &&
                ::IsWindowVisible(focus)) {
                ::SetFocus(focus);
                if (focus == gridHwnd || ::IsChild(gridHwnd, focus)) {
                    m_bGridActive = TRUE;
                }
            }
        };
        const auto redrawOld = [&]() {
            if (stored) {
                CRect rect = CalcCellRectSpanned(oldRow, oldCol);
                InvalidateGridRect(&rect);
            } else {
                oldControl->RedrawCell();
            }
        };
        if (CheckEnabledOrValidate(FALSE, row, col, oldRow, oldCol)) {
            BOOL canLeave = TRUE;
            RecalcHook4();
            if (modified) {
                stored = oldControl->StoreValue();
                canLeave = stored & 1;
            }
            if (canLeave && oldControl->IsBoundTo(oldRow, oldCol)) {
                canLeave = oldControl->ReportEditEnded();
                if (modified) {
                    RecalcHook3(FALSE);
                    Recalc(FALSE, nullptr, TRUE);
                }
            }
            if (m_strWarningText.IsEmpty()) {
                RecalcHook5(m_strWarningText);
                RecalcHook4();
            }
            if (m_bFocusLostWhileStoring) {
                m_bWarningShown = TRUE;
            }
            if (canLeave) {
                SetCurrentCellState(FALSE, 0, 0);
                if (oldControl->IsBoundTo(oldRow, oldCol)) {
                    oldControl->Hide();
                }
                oldControl->SetActive(FALSE);
                const BOOL left = oldControl->ReportCellLeft(row, col);
                const BOOL suspend = m_bSuspendCurrentCellStyle;
                DisplayWarningText();
                if (left) {
                    m_bSuspendCurrentCellStyle = TRUE;
                    redrawOld();
                    oldControl->ResetCell();
                    if (flags & 0x06) {
                        UpdateGridWindow();
                    }
                }
                m_bSuspendCurrentCellStyle = suspend;
            } else {
                // The store or the control refused: the old cell stays, with its text, active.
                restoreFocus();
                DisplayWarningText();
                SetCurrentCellState(TRUE, oldRow, oldCol);
                oldControl->Hide();
                if (!oldControl->IsBoundTo(oldRow, oldCol)) {
                    oldControl->InitCell(oldRow, oldCol);
                }
                oldControl->SetActive(TRUE);
                oldControl->SetModified(TRUE);
                oldControl->SetEditText(keptText);
                redrawOld();
                failed = TRUE;
            }
        } else {
            restoreFocus();
            DisplayWarningText();
            oldControl->RedrawCell();
            failed = TRUE;
        }
        m_bValidatingCell = FALSE;
    }

    BOOL moved = FALSE;
    if (!failed) {
        if (row > GetRowCount() || col > GetColCount()) {
            failed = TRUE;
        } else if (oldControl && row == oldRow && col == oldCol && oldControl->IsActive() &&
                   IsCurrentCell(row, col)) {
            if (!ScrollCellInView(row, col, flags, FALSE)) {
                oldControl->RedrawCell();
            }
            moved = TRUE;
        } else if ((row == oldRow && col == oldCol) || CheckEnabledOrValidate(TRUE, row, col, oldRow, oldCol)) {
            CGXControl* control = GetControlRowCol(row, col);
            if (!control) {
                // Without any control the cell is current but has nothing to bind.
                SetCurrentCellState(TRUE, row, col);
                moved = TRUE;
            } else if (m_pParam && m_pParam->m_bLockUpdate) {
                SetCurrentCellState(TRUE, row, col);
                control->InitCell(row, col);
                moved = TRUE;
            } else {
                if (!(flags & 0x20) && gridHwnd && ::IsWindowVisible(gridHwnd)) {
                    m_bSettingFocus = TRUE;
                    ::SetFocus(gridHwnd);
                    m_bSettingFocus = FALSE;
                }
                SetCurrentCellState(TRUE, row, col);
                control->InitCell(row, col);
                if (flags & 0x10) {
                    control->SetActive(TRUE);
                }
                if (!m_pParam || m_pParam->m_wCurrentCellDisplay != 1) {
                    control->RedrawCell();
                }
                if (flags & 0x08) {
                    ScrollCellInView(row, col, flags, FALSE);
                }
                moved = TRUE;
            }
            if (flags & 0x06) {
                UpdateGridWindow();
            }
        } else {
            failed = TRUE;
        }
        if (failed && oldControl && CheckEnabledOrValidate(TRUE, oldRow, oldCol, 0, 0)) {
            SetCurrentCellState(TRUE, oldRow, oldCol);
            oldControl->InitCell(oldRow, oldCol);
            oldControl->RedrawCell();
        }
    }
    if (moved && m_pParam && m_pParam->m_bSelectCurrentCell && !(flags & 0x80) &&
        !m_pParam->m_selectedRanges.ContainsCell(row, col)) {
        m_pParam->m_selectedRanges.DeleteAll();
        if (row > GetHeaderRows() && col > GetHeaderCols()) {
            m_pParam->m_selectedRanges.AddRange(new CGXRange(row, col, row, col));
        }
        InvalidateGridRect(nullptr);
    }
    // The other views follow, whether or not the move failed here.
    auto* hints = m_pParam && m_pParam->m_bHintCurrentCell && !(flags & 0x40) ? HintSender(TRUE) : nullptr;
    if (hints) {
        hints->HintSetCurrentCell(this, row, col, (flags & ~0x08u) | 0xE0);
    }
    return moved;
}

BOOL CGXGridCore::TransferCurrentCell(BOOL saveAndValidate, UINT flags, BOOL hint) {
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (!GetCurrentCell(row, col)) {
        return TRUE;
    }
    CGXControl* control = GetControlRowCol(row, col);
    BOOL result = TRUE;
    if (saveAndValidate) {
        if (control && control->IsActive()) {
            result = SetCurrentCell(row, col, flags);
        }
        if (!m_bSuspendCurrentCellStyle) {
            ResetCurrentCellCache();
        }
    } else {
        if (!m_bSuspendCurrentCellStyle) {
            ResetCurrentCellCache();
        }
        control = GetControlRowCol(row, col);
        if (control) {
            if (control->IsActive()) {
                result = control->AskCancelEdit();
            }
            control->InitCell(row, col);
            control->RedrawCell();
            control->ReportEditCancelled();
        }
    }
    if (auto* hints = HintSender(hint)) {
        result &= hints->HintTransferCurrentCell(this, saveAndValidate, flags);
    }
    return result;
}

void CGXGridCore::SyncCurrentCell(BOOL store) {
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (!m_bCurrentCellValid) {
        return;
    }
    row = m_nCurrentRow;
    col = m_nCurrentCol;
    CGXControl* control = m_pCurrentCellControl ? m_pCurrentCellControl : GetControlRowCol(row, col);
    if (!control) {
        return;
    }
    if (store && CheckEnabledOrValidate(FALSE, 0, 0, row, col) && control->IsModified()) {
        control->StoreValue();
    }
    control->ResetCell();
}

void CGXGridCore::HideCurrentCell() {
    if (m_bCurrentCellValid && m_pCurrentCellControl) {
        m_pCurrentCellControl->Hide();
    }
}

void CGXGridCore::OnInitCurrentCell(ROWCOL row, ROWCOL col) {
    if (row != m_nLastInitRow || col != m_nLastInitCol) {
        OnMovedCurrentCell(row, col);
    }
    m_nLastInitRow = row;
    m_nLastInitCol = col;
}

void CGXGridCore::SetWarningText(LPCTSTR text) {
    m_strWarningText = text ? text : u"";
}

void CGXGridCore::DisplayWarningText() {
    if (m_strWarningText.IsEmpty()) {
        return;
    }
    const CString text = m_strWarningText;
    m_strWarningText.Empty();
    const BOOL validating = m_bValidatingCell;
    m_bValidatingCell = TRUE;
    HWND focus = ::GetFocus();
    DropPendingKeys(focus);
    if (m_bCurrentCellValid) {
        ScrollCellInView(m_nCurrentRow, m_nCurrentCol, 2, FALSE);
    }
    AfxMessageBox(text, MB_OK);
    m_bWarningShown = TRUE;
    if (focus && ::IsWindow(focus)) {
        ::SetFocus(focus);
        HWND grid = m_pGridWnd ? m_pGridWnd->GetSafeHwnd() : nullptr;
        if (focus == grid || ::IsChild(grid, focus)) {
            m_bGridActive = TRUE;
        }
    }
    m_bValidatingCell = validating;
}
