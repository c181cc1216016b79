// Painting the grid and invalidating what changed.
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "platform/display/PaintApi.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/CWnd.h"

#include <algorithm>

void CGXGridCore::InvalidateGridRect(const RECT* rect, BOOL erase) {
    if (m_pGridWnd && m_pGridWnd->GetSafeHwnd() && ::IsWindowVisible(m_pGridWnd->GetSafeHwnd())) {
        CRect grid;
        GetGridRect(grid);
        ::InvalidateRect(m_pGridWnd->GetSafeHwnd(), rect ? rect : &grid, erase);
    }
}

void CGXGridCore::UpdateGridWindow() {
    if (m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
        ::UpdateWindow(m_pGridWnd->GetSafeHwnd());
    }
}

void CGXGridCore::Redraw(UINT flags, BOOL) {
    FreeObjectCache();
    const ROWCOL count = GetRowCount();
    if (m_nTopRow > count) {
        m_nTopRow = std::max(count, GetFrozenRows() + 1);
        m_nLastVisibleRow = kGridNoRowCol;
    }
    if (!m_bInitDone || (m_pParam && m_pParam->m_bLockUpdate)) {
        return;
    }
    if (flags & 1) {
        UpdateScrollbars(FALSE);
    }
    InvalidateGridRect(nullptr);
    if (flags & 2) {
        UpdateGridWindow();
    }
}

void CGXGridCore::OnGridDraw(CDC*) {}
