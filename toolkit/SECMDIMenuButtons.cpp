#include "toolkit/SECMDIMenuButtons.h"

#include "toolkit/SECBtnDrawContext.h"
#include "toolkit/SECCapConLstMDIMaxChildMsgFilter.h"
#include "toolkit/SECCustomToolBar.h"

#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"

SEC_IMPLEMENT_BUTTON(SECCapMenuBtn)
SEC_IMPLEMENT_BUTTON(SECBtnCaption)

CMDIChildWnd* SECMenuBarMaximizedChild(const SECCustomToolBar* pBar) {
    if (!pBar || !pBar->GetSafeHwnd()) {
        return nullptr;
    }
    // The bar may sit in a dock bar or a floating frame: its dock site is the MDI frame.
    CWnd* pFrame = pBar->m_pDockSite ? static_cast<CWnd*>(pBar->m_pDockSite) : pBar->GetParentFrame();
    return SECGetMaximizedMDIChild(pFrame);
}

// ---- The icon

void SECCapMenuBtn::RecalcSize() {
    m_cx = 16;
    m_cy = 16;
}

BOOL SECCapMenuBtn::OpenMenu() {
    CMDIChildWnd* pChild = SECMenuBarMaximizedChild(m_pToolBar);
    HMENU hSystem = pChild ? ::GetSystemMenu(pChild->m_hWnd, FALSE) : nullptr;
    if (!hSystem) {
        return FALSE;
    }
    if (::GetMenuDefaultItem(hSystem, FALSE, GMDI_GOINTOPOPUPS) == static_cast<UINT>(-1)) {
        ::SetMenuDefaultItem(hSystem, SC_CLOSE, FALSE);
    }
    return m_pToolBar->OpenMenuButton(this, reinterpret_cast<LPARAM>(hSystem), -1);
}

void SECCapMenuBtn::DrawFace(SECBtnDrawContext& ctx, BOOL, int& x, int& y, int& cx, int& cy, int) {
    CDC& dc = ctx.m_dcBuffer;
    dc.FillSolidRect(x, y, m_cx, m_cy, ::GetSysColor(COLOR_BTNFACE));
    if (m_hIcon) {
        ::DrawIconEx(dc.m_hDC, x, y, m_hIcon, 16, 16, 0, nullptr, DI_NORMAL);
    } else {
        // A window without an icon still shows where its system menu opens.
        CRect box(x + 2, y + 2, x + 14, y + 14);
        ::DrawEdge(dc.m_hDC, &box, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
    cx = m_cx;
    cy = m_cy;
}

// ---- Minimise, restore and close

SECBtnCaption::SECBtnCaption() {
    m_nType = SEC_BTN_FAREND;
    m_nStyle |= SEC_TBBS_KEEPENABLED;
}

void SECBtnCaption::RecalcSize() {
    m_cxPart = ::GetSystemMetrics(SM_CXSIZE) - 2;
    m_cyPart = ::GetSystemMetrics(SM_CYSIZE) - 4;
    m_cx = 3 * m_cxPart + 2;
    m_cy = m_cyPart;
}

CRect SECBtnCaption::PartRect(int nPart) const {
    const int x = m_x + nPart * m_cxPart + (nPart == Close ? 2 : 0);
    return CRect(x, m_y, x + m_cxPart, m_y + m_cyPart);
}

int SECBtnCaption::PartAt(CPoint point) const {
    for (int part : {Minimize, Restore, Close}) {
        if (PartRect(part).PtInRect(point)) {
            return part;
        }
    }
    return None;
}

void SECBtnCaption::Draw(CDC& dc, SECBtnDrawContext&) {
    CRect rect = GetRect();
    if (!dc.RectVisible(&rect)) {
        return;
    }
    dc.FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
    if (!(m_nFlags & kShown)) {
        return;
    }
    static const UINT glyphs[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
    for (int part : {Minimize, Restore, Close}) {
        UINT state = glyphs[part];
        if (part != Close && !(m_nFlags & kMinRestoreEnabled)) {
            state |= DFCS_INACTIVE;
        }
        if (part == m_nPressedPart && (m_nStyle & SEC_TBBS_PRESSED)) {
            state |= DFCS_PUSHED;
        }
        CRect partRect = PartRect(part);
        ::DrawFrameControl(dc.m_hDC, &partRect, DFC_CAPTION, state);
    }
}

BOOL SECBtnCaption::BtnPressDown(CPoint point) {
    const int part = PartAt(point);
    if ((m_nStyle & SEC_TBBS_DISABLED) || !(m_nFlags & kShown) || part == None ||
        (part != Close && !(m_nFlags & kMinRestoreEnabled))) {
        return FALSE;
    }
    m_nPressedPart = part;
    m_nStyle |= SEC_TBBS_PRESSED;
    Invalidate();
    return TRUE;
}

void SECBtnCaption::BtnPressMouseMove(CPoint point) {
    const UINT old = m_nStyle;
    if (PartAt(point) == m_nPressedPart) {
        m_nStyle |= SEC_TBBS_PRESSED;
    } else {
        m_nStyle &= ~SEC_TBBS_PRESSED;
    }
    if (old != m_nStyle) {
        Invalidate();
    }
}

void SECBtnCaption::BtnPressCancel() {
    m_nStyle &= ~SEC_TBBS_PRESSED;
    m_nPressedPart = None;
    Invalidate();
}

UINT SECBtnCaption::BtnPressUp(CPoint point) {
    const int part = m_nPressedPart;
    BtnPressCancel();
    if (part == None || PartAt(point) != part) {
        return 0;
    }
    static const UINT commands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    if (CMDIChildWnd* pChild = SECMenuBarMaximizedChild(m_pToolBar)) {
        CPoint screen = point;
        m_pToolBar->ClientToScreen(&screen);
        pChild->PostMessage(WM_SYSCOMMAND, commands[part], MAKELPARAM(screen.x, screen.y));
    }
    // Not a command of the bar's owner.
    return 0;
}
