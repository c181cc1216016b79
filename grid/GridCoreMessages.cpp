// The window messages the window part hands to the engine: mouse, focus, sizing and the rest.
#include "grid/CGXControl.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "platform/display/InputApi.h"
#include "platform/display/ScrollBarApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CWnd.h"

BOOL CGXGridCore::ProcessKeys(CWnd*, UINT, UINT, UINT, UINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridLButtonDown(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridLButtonUp(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridLButtonDblClk(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridMButtonDown(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridMButtonUp(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridMButtonDblClk(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridRButtonDown(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridRButtonUp(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridRButtonDblClk(UINT, POINT) {
    return FALSE;
}

BOOL CGXGridCore::OnGridMouseMove(UINT, POINT) {
    return FALSE;
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

BOOL CGXGridCore::OnGridSize(UINT, int, int) {
    m_nLastVisibleRow = m_nLastVisibleCol = kGridNoRowCol;
    if (m_bInitDone) {
        UpdateScrollbars(TRUE, TRUE);
    }
    return FALSE;
}

void CGXGridCore::OnGridSetFocus(CWnd*) {}

void CGXGridCore::OnGridKillFocus(CWnd*) {}

UINT CGXGridCore::OnGridGetDlgCode(UINT code) {
    return code | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
}

void CGXGridCore::OnGridCancelMode() {}

BOOL CGXGridCore::OnGridMouseActivate(CWnd*, UINT, UINT, int&) {
    return FALSE;
}

void CGXGridCore::OnGridSysColorChange() {
    FreeObjectCache();
    InvalidateGridRect(nullptr);
}

void CGXGridCore::OnGridTimer(UINT_PTR) {}

BOOL CGXGridCore::OnGridVScroll(UINT, UINT, CWnd*) {
    return FALSE;
}

BOOL CGXGridCore::OnGridHScroll(UINT, UINT, CWnd*) {
    return FALSE;
}

BOOL CGXGridCore::OnGridCommand(WPARAM wParam, LPARAM lParam) {
    return m_pCurrentCellControl && m_pCurrentCellControl->HandleCommand(wParam, lParam);
}

BOOL CGXGridCore::QueryParamFlag() {
    return m_pParam ? m_pParam->GetTabFlag() : FALSE;
}

BOOL CGXGridCore::OnValidateCurrentCellRequest(WPARAM) {
    return TransferCurrentCell(TRUE, 1, TRUE);
}

void CGXGridCore::ShowScrollBar(int bar, BOOL show) {
    if (m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
        ::ShowScrollBar(m_pGridWnd->GetSafeHwnd(), bar, show);
    }
}
