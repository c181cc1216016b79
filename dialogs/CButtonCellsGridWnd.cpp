#include "dialogs/CButtonCellsGridWnd.h"

#include "platform/display/InputApi.h"

BEGIN_MESSAGE_MAP(CButtonCellsGridWnd, CGXGridWnd)
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

BOOL CButtonCellsGridWnd::AcceptsPress(CPoint point) {
    if (::GetCapture()) {
        return TRUE;
    }
    ROWCOL row = 0;
    ROWCOL col = 0;
    if (HitTest(point, &row, &col) != kHitCell) {
        return TRUE;
    }
    return IsButtonCell(row, col);
}

void CButtonCellsGridWnd::OnLButtonDown(UINT flags, CPoint point) {
    if (AcceptsPress(point)) {
        CGXGridWnd::OnLButtonDown(flags, point);
    }
}

void CButtonCellsGridWnd::OnRButtonDown(UINT flags, CPoint point) {
    if (AcceptsPress(point)) {
        CGXGridWnd::OnRButtonDown(flags, point);
    }
}

UINT CButtonCellsGridWnd::OnGetDlgCode() {
    return CGXGridWnd::OnGetDlgCode() | DLGC_WANTARROWS | DLGC_WANTCHARS;
}
