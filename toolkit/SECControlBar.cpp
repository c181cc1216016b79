#include "toolkit/SECControlBar.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CDockContext.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "toolkit/SECDockContext.h"
#include "platform/gdi/SystemColors.h"

#include <algorithm>

// ---- Toolkit-wide values

ToolkitMetrics::ToolkitMetrics() {
    // Every shell the stand-in window manager offers is the new one.
    bIsNewShell = TRUE;
    cxBorder = cyBorder = bIsNewShell ? 2 : 1;
    hcurArrow = ::LoadCursorW(nullptr, IDC_ARROW);
    ReloadColors();
    g_secComboExNewItem = ::RegisterWindowMessageW(u"secComboExNewItem");
    g_secComboExApply = ::RegisterWindowMessageW(u"secComboExApply");
    g_secMacroSignature = 'M' | ('A' << 8) | ('C' << 16) | (static_cast<DWORD>('R') << 24);
}

void ToolkitMetrics::ReloadColors() {
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    clr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    clrWindow = ::GetSysColor(COLOR_WINDOW);
    clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
}

ToolkitMetrics& SECGetToolkitMetrics() {
    static ToolkitMetrics metrics;
    return metrics;
}

const CSize g_secDefaultBarSize(300, 180);
BOOL g_secNoRedrawLayout = TRUE;
UINT g_secComboExNewItem = 0;
UINT g_secComboExApply = 0;
DWORD g_secMacroSignature = 0;

SECGripperInfo::SECGripperInfo() {
    m_strHide.LoadString(IDS_SEC_HIDE_DOCKED);
    m_strExpand.LoadString(IDS_SEC_EXPAND_DOCKED);
    m_strContract.LoadString(IDS_SEC_CONTRACT_DOCKED);
}

int SECGripperInfo::GetWidth() const {
    return m_cxLeftGap + m_cxFirstBar + m_cxBarGap + m_cxSecondBar + m_cxRightGap;
}

int SECGripperInfo::GetHeight() const {
    return m_cyTopGap + m_cyFirstBar + m_cyBarGap + m_cySecondBar + m_cyBottomGap;
}

// ---- SECControlBar

IMPLEMENT_DYNCREATE(SECControlBar, CControlBar)

BEGIN_MESSAGE_MAP(SECControlBar, CControlBar)
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_CONTEXTMENU()
ON_WM_DESTROY()
ON_WM_ERASEBKGND()
ON_COMMAND(ID_SEC_ALLOWDOCKING, OnAllowDocking)
ON_COMMAND(ID_SEC_HIDE, OnHide)
ON_COMMAND(ID_SEC_MDIFLOAT, OnMDIFloat)
END_MESSAGE_MAP()

SECControlBar::SECControlBar() {
    SECGetToolkitMetrics();
}

SECControlBar::~SECControlBar() {
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL SECControlBar::Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle, UINT nID,
                           CCreateContext* pContext) {
    return CreateEx(nullptr, lpszWindowName, nID, dwStyle, dwExStyle, CRect(0, 0, 0, 0), pParentWnd,
                    pContext);
}

BOOL SECControlBar::CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle,
                             DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, CCreateContext*) {
    m_dwExStyle = dwExStyle;
    if (!CreateBar(0, lpszClassName, dwStyle, rect, pParentWnd, nID)) {
        return FALSE;
    }
    if (lpszWindowName) {
        SetWindowTextW(lpszWindowName);
    }
    if (m_dwExStyle & CBRS_EX_STRETCH_ON_SIZE) {
        RecordChildLayout();
    }
    m_szHorzDock = m_szVertDock = m_szFloat = g_secDefaultBarSize;
    EnableToolTips(TRUE);
    return TRUE;
}

void SECControlBar::RecordChildLayout() {
    FreeChildLayout();
    if (!m_hWnd) {
        return;
    }
    ChildLayout client;
    GetClientRect(&client.rect);
    m_childLayout.push_back(client);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ChildLayout record;
        record.hWnd = child;
        ::GetWindowRect(child, &record.rect);
        ScreenToClient(&record.rect);
        m_childLayout.push_back(record);
    }
}

void SECControlBar::GetInsideRect(CRect& rect) const {
    GetClientRect(&rect);
    const int inset = m_gripperInfo.m_nEndInset;
    if (HasGripper() && !IsFloating()) {
        if (IsDockedHorz()) {
            rect.left += m_gripperInfo.GetWidth();
            rect.top += inset;
            rect.right -= inset;
            rect.bottom -= inset;
        } else if (IsDockedVert()) {
            rect.top += m_gripperInfo.GetHeight();
            rect.left += inset;
            rect.right -= inset;
            rect.bottom -= inset;
        }
    } else if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
        rect.left += m_rcBorderSpace.left;
        rect.top += m_rcBorderSpace.top;
        rect.right -= m_rcBorderSpace.right;
        rect.bottom -= m_rcBorderSpace.bottom;
    }
}

CDockContext* SECControlBar::CreateDockContext() {
    return new SECDockContext(this);
}

void SECControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext) {
        m_pDockContext = CreateDockContext();
    }
    if (m_hWndOwner == nullptr) {
        SetOwner(GetParent());
    }
}

BOOL SECControlBar::IsMDIFloating() const {
    // Only the toolkit's dock bars host bars as MDI children; none exist in this program.
    return FALSE;
}

void SECControlBar::SetExStyle(DWORD dwExStyle, BOOL bRedraw) {
    DWORD old = m_dwExStyle;
    if (m_hWnd && IsFloating()) {
        if (CFrameWnd* floating = GetParentFrame()) {
            if (dwExStyle & CBRS_EX_FIXEDSIZE) {
                floating->ModifyStyle(0, 0x200, SWP_FRAMECHANGED);
            } else {
                floating->ModifyStyle(0x200, WS_THICKFRAME | 0x400, SWP_FRAMECHANGED);
            }
        }
    }
    if (!((old & CBRS_EX_STRETCH_ON_SIZE) && (dwExStyle & CBRS_EX_STRETCH_ON_SIZE))) {
        if (dwExStyle & CBRS_EX_STRETCH_ON_SIZE) {
            RecordChildLayout();
        } else {
            FreeChildLayout();
        }
    }
    if (old != dwExStyle && bRedraw && m_hWnd) {
        // A zero size makes the next frame layout size the bar again.
        SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOACTIVATE);
    }
    m_dwExStyle = dwExStyle;
}

void SECControlBar::ModifyExStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
    SetExStyle((m_dwExStyle & ~dwRemove) | dwAdd, bRedraw);
}

CSize SECControlBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    return bHorz ? m_szHorzDock : m_szVertDock;
}

CSize SECControlBar::CalcDynamicLayout(int nLength, DWORD nMode) {
    if (nMode & LM_COMMIT) {
        // The share is truncated; the small bias keeps a length set from a share (length / row) from
        // coming back a pixel short through the float's rounding.
        int length = (nMode & LM_STRETCH)
                         ? static_cast<int>(static_cast<double>(nLength) * m_fProportion + 1e-3)
                         : nLength;
        if (nMode & LM_HORZDOCK) {
            ((nMode & LM_LENGTHY) ? m_szHorzDock.cy : m_szHorzDock.cx) = length;
        } else if (nMode & LM_VERTDOCK) {
            ((nMode & LM_LENGTHY) ? m_szVertDock.cy : m_szVertDock.cx) = length;
        } else if (nMode & LM_LENGTHY) {
            m_szFloat.cy = length;
        } else {
            m_szFloat.cx = length;
            m_nMRUWidth = static_cast<UINT>(length);
        }
    }
    if (nMode & (LM_HORZDOCK | LM_VERTDOCK)) {
        return CalcFixedLayout(nMode & LM_STRETCH, (nMode & LM_HORZ) ? TRUE : FALSE);
    }
    return m_szFloat;
}

void SECControlBar::CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bVertGripper) const {
    if (!(m_dwExStyle & CBRS_EX_FLATSTYLE)) {
        CControlBar::CalcInsideRect(rect, bHorz);
        return;
    }
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += 1;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += 1;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= 1;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= 1;
    const bool gripper = HasGripper() && !IsFloating();
    if (bHorz) {
        rect.left += gripper ? m_gripperInfo.GetWidth() : m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += (bVertGripper && gripper) ? m_gripperInfo.GetHeight() : m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void SECControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    const DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY)) {
        return;
    }
    if (m_dwExStyle & CBRS_EX_FLATSTYLE) {
        if (style & CBRS_BORDER_LEFT)
            rect.left += 1;
        if (style & CBRS_BORDER_TOP)
            rect.top += 1;
        if (style & CBRS_BORDER_RIGHT)
            rect.right -= 1;
        if (style & CBRS_BORDER_BOTTOM)
            rect.bottom -= 1;
        if (HasGripper()) {
            DrawGripper(pDC, rect);
        }
        return;
    }
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    const bool cool = (m_dwExStyle & CBRS_EX_COOLBORDERS) != 0;
    const COLORREF dark = cool ? (m.bIsNewShell ? m.clrBtnShadow : m.clrWindowFrame) : m.clrBtnFace;
    const COLORREF light = cool ? m.clrBtnHilite : m.clrBtnFace;
    const bool three = (style & CBRS_BORDER_3D) != 0;
    const int cx = rect.Width();
    const int cy = rect.Height();
    const int inner = three ? 1 : 0;
    if (IsDockedHorz()) {
        const int top = (style & CBRS_BORDER_TOP) ? m.cyBorder : 0;
        const int height = cy - top - ((style & CBRS_BORDER_BOTTOM) ? m.cyBorder : 0);
        if (style & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(rect.left, rect.top + top, 1, height, dark);
        if (style & CBRS_BORDER_TOP)
            pDC->FillSolidRect(rect.left, rect.top, cx, 1, dark);
        if (style & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(rect.right - 1 - inner, rect.top + top, 1, height, dark);
        if (style & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(rect.left, rect.bottom - 1 - inner, cx, 1, dark);
        if (three) {
            if (style & CBRS_BORDER_LEFT)
                pDC->FillSolidRect(rect.left + 1, rect.top + top, 1, height, light);
            if (style & CBRS_BORDER_TOP)
                pDC->FillSolidRect(rect.left, rect.top + 1, cx, 1, light);
            if (style & CBRS_BORDER_RIGHT)
                pDC->FillSolidRect(rect.right - 1, rect.top + top, 1, height, light);
            if (style & CBRS_BORDER_BOTTOM)
                pDC->FillSolidRect(rect.left, rect.bottom - 1, cx, 1, light);
        }
    } else {
        if (style & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(rect.left, rect.top - 2, 1, cy + 4, dark);
        if (style & CBRS_BORDER_TOP)
            pDC->FillSolidRect(rect.left + 2, rect.top, cx - 3, 1, dark);
        if (style & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(rect.right - 1 - inner, rect.top, 1, cy, dark);
        if (style & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(rect.left + 2, rect.bottom - 1 - inner, cx - 3, 1, dark);
        if (three) {
            if (style & CBRS_BORDER_LEFT)
                pDC->FillSolidRect(rect.left + 1, rect.top - 2, 1, cy + 4, light);
            if (style & CBRS_BORDER_TOP)
                pDC->FillSolidRect(rect.left + 2, rect.top + 1, cx - 3, 1, light);
        }
    }
    if (style & CBRS_BORDER_LEFT)
        rect.left += m.cxBorder;
    if (style & CBRS_BORDER_TOP)
        rect.top += m.cyBorder;
    if (style & CBRS_BORDER_RIGHT)
        rect.right -= m.cxBorder;
    if (style & CBRS_BORDER_BOTTOM)
        rect.bottom -= m.cyBorder;
}

void SECControlBar::AddGripperSpace(CRect& rect, BOOL bHorz) const {
    if (bHorz) {
        rect.left += m_gripperInfo.GetWidth();
    } else {
        rect.top += m_gripperInfo.GetHeight();
    }
}

void SECControlBar::DrawGripper(CDC* pDC, const CRect& rectBar) {
    const BOOL horz = IsDockedHorz();
    if (IsFloating() || !(horz || IsDockedVert())) {
        return;
    }
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    const SECGripperInfo& g = m_gripperInfo;
    CRect strip = rectBar;
    strip.DeflateRect(1, 1);
    auto raised = [&](int x, int y, int cx, int cy) {
        pDC->FillSolidRect(x, y, cx, cy, m.clrBtnShadow);
        pDC->FillSolidRect(x, y, cx - 1, cy - 1, m.clrBtnHilite);
    };
    if (horz) {
        strip.right = strip.left + g.GetWidth();
        strip.top += g.m_nEndInset;
        strip.bottom -= g.m_nEndInset;
        if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE)
            LayoutCloseButton(pDC, strip, TRUE);
        if (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND)
            LayoutExpandButton(pDC, strip, TRUE);
        raised(strip.left + g.m_cxLeftGap, strip.top, g.m_cxFirstBar, strip.Height());
        raised(strip.left + g.m_cxLeftGap + g.m_cxFirstBar + g.m_cxBarGap, strip.top, g.m_cxSecondBar,
               strip.Height());
    } else {
        strip.bottom = strip.top + g.GetHeight();
        strip.left += g.m_nEndInset;
        strip.right -= g.m_nEndInset;
        if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE)
            LayoutCloseButton(pDC, strip, FALSE);
        if (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND)
            LayoutExpandButton(pDC, strip, FALSE);
        raised(strip.left, strip.top + g.m_cyTopGap, strip.Width(), g.m_cyFirstBar);
        raised(strip.left, strip.top + g.m_cyTopGap + g.m_cyFirstBar + g.m_cyBarGap, strip.Width(),
               g.m_cySecondBar);
    }
}

namespace {

// The square a gripper button takes from the strip's top (horizontal) or right end (vertical).
CRect TakeButtonSquare(CRect& strip, BOOL bHorz, const SECGripperInfo& g) {
    CRect square;
    if (bHorz) {
        square.left = std::max(0, static_cast<int>(strip.left) + g.m_cxLeftGap - 2);
        square.right =
            std::min(static_cast<int>(strip.right), static_cast<int>(strip.right) - g.m_cxRightGap + 2);
        square.top = strip.top;
        square.bottom = square.top + square.Width();
        strip.top = square.bottom + 2;
    } else {
        square.top = strip.top + g.m_cyTopGap - 2;
        square.bottom = strip.bottom - g.m_cyBottomGap + 2;
        square.right = strip.right;
        square.left = square.right - square.Height();
        strip.right = square.left - 2;
    }
    return square;
}

} // namespace

void SECControlBar::LayoutCloseButton(CDC* pDC, CRect& strip, BOOL bHorz) {
    m_rcClose = TakeButtonSquare(strip, bHorz, m_gripperInfo);
    m_bClosePressed ? DrawCloseButtonPressed(pDC) : DrawCloseButton(pDC);
}

void SECControlBar::DrawCloseButtonPressed(CDC* pDC) {
    pDC->DrawFrameControl(&m_rcClose, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
}

void SECControlBar::DrawCloseButton(CDC* pDC) {
    pDC->DrawFrameControl(&m_rcClose, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void SECControlBar::LayoutExpandButton(CDC* pDC, CRect& strip, BOOL bHorz) {
    m_rcExpand = TakeButtonSquare(strip, bHorz, m_gripperInfo);
    UpdateExpandState(bHorz);
    m_bExpandPressed ? DrawExpandButtonPressed(pDC) : DrawExpandButton(pDC);
}

void SECControlBar::DrawExpandButton(CDC* pDC) {
    CRect rect = m_rcExpand;
    rect.left -= 1;
    rect.top -= 1;
    UINT state = m_bHorzExpand ? (m_bNotMaximized ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                               : (m_bNotMaximized ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
    if (!m_bExpandEnabled) {
        state |= DFCS_INACTIVE;
    }
    pDC->DrawFrameControl(&rect, DFC_SCROLL, state);
}

void SECControlBar::DrawExpandButtonPressed(CDC* pDC) {
    CRect rect = m_rcExpand;
    rect.left -= 1;
    rect.top -= 1;
    UINT state = m_bHorzExpand ? (m_bNotMaximized ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                               : (m_bNotMaximized ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
    state |= m_bExpandEnabled ? DFCS_PUSHED : DFCS_INACTIVE;
    pDC->DrawFrameControl(&rect, DFC_SCROLL, state);
}

void SECControlBar::UpdateExpandState(BOOL bHorz) {
    // The framework's dock bars keep no row proportions: a docked bar is never maximised in its row.
    m_bHorzExpand = bHorz;
    m_bNotMaximized = TRUE;
    m_bExpandEnabled = TRUE;
}

INT_PTR SECControlBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (!(m_dwStyle & CBRS_TOOLTIPS)) {
        return -1;
    }
    INT_PTR hit = CControlBar::OnToolHitTest(point, pTI);
    if (hit != -1 || IsFloating()) {
        return hit;
    }
    auto fill = [&](const CRect& rect, const CString& text) {
        if (pTI) {
            pTI->hwnd = m_hWnd;
            pTI->rect = rect;
            pTI->lpszText = const_cast<LPTSTR>(static_cast<LPCTSTR>(text));
        }
    };
    if ((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcClose.PtInRect(point)) {
        fill(m_rcClose, m_gripperInfo.m_strHide);
        return 1024;
    }
    if ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_rcExpand.PtInRect(point)) {
        fill(m_rcExpand, m_bNotMaximized ? m_gripperInfo.m_strExpand : m_gripperInfo.m_strContract);
        return 2048;
    }
    return -1;
}

void SECControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void SECControlBar::DoPaint(CDC* pDC) {
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
}

void SECControlBar::OnSize(UINT nType, int cx, int cy) {
    if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) {
        int x0 = 0;
        int y0 = 0;
        const SECGripperInfo& g = m_gripperInfo;
        const int inset = g.m_nEndInset;
        if (HasGripper()) {
            if (IsDockedHorz() && !IsFloating()) {
                x0 = g.GetWidth();
                y0 = inset;
                cx -= inset + g.GetWidth();
                cy -= 2 * inset;
            } else {
                x0 = inset;
                y0 = g.GetHeight();
                cx -= 2 * inset;
                cy -= inset + g.GetHeight();
            }
        } else if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
            cx -= m_rcBorderSpace.left + m_rcBorderSpace.right;
            cy -= m_rcBorderSpace.top + m_rcBorderSpace.bottom;
        }
        cx = std::max(cx, 0);
        cy = std::max(cy, 0);
        const bool margins = !HasGripper() && (m_dwExStyle & CBRS_EX_BORDERSPACE);
        const int dx = margins ? static_cast<int>(m_rcBorderSpace.left) : 0;
        const int dy = margins ? static_cast<int>(m_rcBorderSpace.top) : 0;
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (g_secNoRedrawLayout ? SWP_NOREDRAW : 0);
        if ((m_dwExStyle & CBRS_EX_STRETCH_ON_SIZE) && m_childLayout.size() > 1) {
            const int w0 = std::max(1, static_cast<int>(m_childLayout[0].rect.Width()));
            const int h0 = std::max(1, static_cast<int>(m_childLayout[0].rect.Height()));
            HDWP batch = ::BeginDeferWindowPos(static_cast<int>(m_childLayout.size()) - 1);
            for (size_t i = 1; i < m_childLayout.size(); ++i) {
                const CRect& r = m_childLayout[i].rect;
                CRect to(x0 + cx * r.left / w0, y0 + cy * r.top / h0, x0 + cx * r.right / w0,
                         y0 + cy * r.bottom / h0);
                to.OffsetRect(dx, dy);
                if (batch) {
                    batch = ::DeferWindowPos(batch, m_childLayout[i].hWnd, nullptr, to.left, to.top,
                                             to.Width(), to.Height(), flags);
                }
            }
            if (batch) {
                ::EndDeferWindowPos(batch);
            }
            if (IsFloating()) {
                Invalidate();
            }
        } else if (m_dwExStyle & CBRS_EX_SIZE_TO_FIT) {
            if (HasGripper() && IsFloating()) {
                cx += x0 + inset;
                cy += y0 + inset;
                x0 = y0 = 0;
            }
            if (HWND first = ::GetWindow(m_hWnd, GW_CHILD)) {
                ::SetWindowPos(first, nullptr, x0 + dx, y0 + dy, cx, cy, flags);
            }
        }
    }
    Default();
}

void SECControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if ((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcClose.PtInRect(point)) {
        if (!IsFloating() && !m_bClosePressed && CanCloseFromGripper()) {
            m_bClosePressed = TRUE;
            CWindowDC dc(this);
            DrawCloseButtonPressed(&dc);
            SetCapture();
        }
        return;
    }
    if ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_bExpandEnabled && m_rcExpand.PtInRect(point)) {
        if (!IsFloating() && !m_bExpandPressed && CanExpandFromGripper()) {
            m_bExpandPressed = TRUE;
            CWindowDC dc(this);
            DrawExpandButtonPressed(&dc);
            SetCapture();
        }
        return;
    }
    if (m_bClosePressed || m_bExpandPressed) {
        m_bClosePressed = m_bExpandPressed = FALSE;
        Invalidate();
    }
    CFrameWnd* frame = GetParentFrame();
    if (IsFloating() && frame && !frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        Default();
        return;
    }
    CControlBar::OnLButtonDown(nFlags, point);
}

void SECControlBar::OnLButtonUp(UINT, CPoint point) {
    if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    if (m_bClosePressed && m_rcClose.PtInRect(point)) {
        m_bClosePressed = FALSE;
        Invalidate();
        SendMessageW(WM_COMMAND, ID_SEC_HIDE);
        return;
    }
    if (m_bExpandPressed && m_rcExpand.PtInRect(point)) {
        m_bExpandPressed = FALSE;
        m_bNotMaximized = !m_bNotMaximized;
        Invalidate();
        return;
    }
    if (m_bClosePressed || m_bExpandPressed) {
        m_bClosePressed = m_bExpandPressed = FALSE;
        Invalidate();
    }
    Default();
}

void SECControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcClose.PtInRect(point)) ||
        ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_rcExpand.PtInRect(point))) {
        return;
    }
    CFrameWnd* frame = GetParentFrame();
    if (IsFloating() && frame && !frame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        Default();
        return;
    }
    CControlBar::OnLButtonDblClk(nFlags, point);
}

void SECControlBar::OnContextMenu(CWnd* pWnd, CPoint point) {
    if (!(m_dwExStyle & CBRS_EX_STDCONTEXTMENU)) {
        Default();
        return;
    }
    CMenu menu;
    if (!menu.CreatePopupMenu()) {
        return;
    }
    CString allow;
    CString hide;
    allow.LoadString(ID_SEC_ALLOWDOCKING);
    hide.LoadString(ID_SEC_HIDE);
    menu.AppendMenu(MF_STRING, ID_SEC_ALLOWDOCKING, allow);
    menu.AppendMenu(MF_STRING, ID_SEC_HIDE, hide);
    menu.CheckMenuItem(ID_SEC_ALLOWDOCKING,
                       MF_BYCOMMAND | ((m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : MF_UNCHECKED));
    OnExtendContextMenu(&menu);
    if (m_pDockContext && m_pDockSite) {
        m_pDockSite->SendMessageW(WM_SEC_EXTENDCONTEXTMENU, reinterpret_cast<WPARAM>(this),
                                  reinterpret_cast<LPARAM>(&menu));
    }
    if (point.x == -1 && point.y == -1) {
        CWnd* named = pWnd ? pWnd : this;
        CRect client;
        named->GetClientRect(&client);
        point = CPoint(client.Width() / 4, 10);
        named->ClientToScreen(&point);
    }
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

void SECControlBar::OnAllowDocking() {
    if (m_dwDockStyle & CBRS_ALIGN_ANY) {
        m_dwSavedDockStyle = m_dwDockStyle;
        if (!IsFloating() && m_pDockContext && m_pDockBar) {
            m_pDockContext->ToggleDocking();
        }
        EnableDocking(0);
    } else {
        EnableDocking(m_dwSavedDockStyle);
    }
}

void SECControlBar::OnHide() {
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->ShowControlBar(this, FALSE, FALSE);
    }
}

void SECControlBar::OnMDIFloat() {
    // Floating inside the main window needs an MDI frame; this program's frame is SDI.
}

BOOL SECControlBar::OnEraseBkgnd(CDC* pDC) {
    if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
        CRect clip;
        pDC->GetClipBox(&clip);
        CRect inside;
        GetInsideRect(inside);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        pDC->FillSolidRect(clip.left, clip.top, clip.Width(), inside.top - clip.top, face);
        pDC->FillSolidRect(clip.left, inside.bottom, clip.Width(), clip.bottom - inside.bottom, face);
        pDC->FillSolidRect(clip.left, inside.top, inside.left - clip.left, inside.Height(), face);
        pDC->FillSolidRect(inside.right, inside.top, clip.right - inside.right, inside.Height(), face);
    }
    return static_cast<BOOL>(Default());
}

void SECControlBar::EraseNonClient() {
    CWindowDC dc(this);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    CRect window;
    GetWindowRect(&window);
    client.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    window.OffsetRect(-window.left, -window.top);
    DrawBorders(&dc, window);
    dc.IntersectClipRect(&window);
    SendMessageW(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
}

void SECControlBar::OnDestroy() {
    FreeChildLayout();
    CControlBar::OnDestroy();
    if (CFrameWnd* frame = GetDockingFrame()) {
        frame->DelayRecalcLayout(TRUE);
    }
}
