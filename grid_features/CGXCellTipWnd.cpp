#include "grid_features/CGXCellTipWnd.h"

#include "grid/CGXDIB.h"
#include "grid/CGXGridCore.h"
#include "grid_features/CGXCellTipStatic.h"
#include "grid_features/CGXGridCellTips.h"
#include "platform/display/MessageApi.h"
#include "platform/display/SystemMetrics.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/AfxControls.h"
#include "platform/framework/CDC.h"

BEGIN_MESSAGE_MAP(CGXCellTipWnd, CWnd)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_MBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_CHAR()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CGXCellTipWnd::CGXCellTipWnd(CGXGridCore* grid, int kind, CGXGridCellTips* owner)
    : m_pGrid(grid), m_nKind(kind), m_pOwner(owner), m_hBackground(::GetSysColorBrush(COLOR_INFOBK)) {}

CGXCellTipWnd::~CGXCellTipWnd() {
    if (GetSafeHwnd()) {
        DestroyWindow();
    }
}

BOOL CGXCellTipWnd::CreateTip() {
    if (GetSafeHwnd()) {
        return TRUE;
    }
    const LPCTSTR cls = AfxRegisterWndClass(CS_SAVEBITS, nullptr, m_hBackground, nullptr);
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, cls, u"", WS_POPUP, CRect(0, 0, 0, 0), nullptr, 0);
}

void CGXCellTipWnd::OnTipMouse(UINT message, UINT flags, CPoint point) {
    CWnd* grid = m_pGrid->GridWnd();
    if (!grid || !grid->GetSafeHwnd()) {
        return;
    }
    if (message != WM_MOUSEMOVE && m_pOwner) {
        m_pOwner->Dismiss(m_pGrid);
    }
    // A move on the tip is a move on the grid: the tip stays while the pointer stays on its cell.
    ClientToScreen(&point);
    grid->ScreenToClient(&point);
    ::SendMessageW(grid->GetSafeHwnd(), message, flags, MAKELPARAM(point.x, point.y));
}

void CGXCellTipWnd::OnTipKey() {
    if (m_pOwner) {
        m_pOwner->Dismiss(m_pGrid);
    }
}

void CGXCellTipWnd::OnMouseMove(UINT flags, CPoint point) {
    OnTipMouse(WM_MOUSEMOVE, flags, point);
}

void CGXCellTipWnd::OnLButtonDown(UINT flags, CPoint point) {
    OnTipMouse(WM_LBUTTONDOWN, flags, point);
}

void CGXCellTipWnd::OnMButtonDown(UINT flags, CPoint point) {
    OnTipMouse(WM_MBUTTONDOWN, flags, point);
}

void CGXCellTipWnd::OnRButtonDown(UINT flags, CPoint point) {
    OnTipMouse(WM_RBUTTONDOWN, flags, point);
}

void CGXCellTipWnd::OnChar(UINT, UINT, UINT) {
    OnTipKey();
}

BEGIN_MESSAGE_MAP(CGXTextCellTipWnd, CGXCellTipWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

CGXTextCellTipWnd::CGXTextCellTipWnd(CGXGridCore* grid, CGXGridCellTips* owner)
    : CGXCellTipWnd(grid, kTipText, owner) {}

void CGXTextCellTipWnd::SetTipFont(const LOGFONTW& font) {
    m_logFont = font;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

void CGXTextCellTipWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillRect(&client, CBrush::FromHandle(m_hBackground));
    CFont* old = m_font.GetSafeHandle() ? dc.SelectObject(&m_font) : nullptr;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_INFOTEXT));
    CString text;
    GetWindowTextW(text);
    CRect r = m_rectText;
    dc.DrawTextW(text, text.GetLength(), &r, DT_NOPREFIX | DT_NOCLIP);
    dc.FrameRect(&client, CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))));
    if (old) {
        dc.SelectObject(old);
    }
}

BEGIN_MESSAGE_MAP(CGXStaticBitmapCellTipWnd, CGXCellTipWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

CGXStaticBitmapCellTipWnd::CGXStaticBitmapCellTipWnd(CGXGridCore* grid, CGXGridCellTips* owner)
    : CGXCellTipWnd(grid, kTipPicture, owner) {}

void CGXStaticBitmapCellTipWnd::OnPaint() {
    CPaintDC dc(this);
    if (!m_hDib) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    dc.FillRect(&client, CBrush::FromHandle(m_hBackground));
    CGXDIB::Draw(&dc, m_hDib, m_rectPicture, 0, 0);
    dc.FrameRect(&client, CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))));
}
