#include "toolkit/SECFrameWnd.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CMenu.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECFrameDocking.h"
#include "toolkit/SECGradientCaption.h"
#include "toolkit/SECMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
ON_WM_NCPAINT()
ON_WM_NCACTIVATE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

DWORD SECBarLayoutMode(const CControlBar* pBar) {
    if ((pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (pBar->m_dwStyle & CBRS_FLOATING)) {
        return LM_LENGTHY | LM_MRUWIDTH | LM_HORZ;
    }
    if (pBar->m_dwStyle & CBRS_ORIENT_HORZ) {
        return LM_LENGTHY | LM_HORZDOCK | LM_HORZ;
    }
    return LM_VERTDOCK;
}

SECFrameWnd::SECFrameWnd() = default;

SECFrameWnd::~SECFrameWnd() {
    for (CControlBar* pBar : m_ownedBars) {
        delete pBar;
    }
}

CDockBar* SECFrameWnd::CreateDockBar(UINT) {
    return new SECDockBar(FALSE, FALSE);
}

void SECFrameWnd::EnableDocking(DWORD dwDockStyle) {
    CFrameWnd::EnableDocking(dwDockStyle);
    m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
}

SECDockBar* SECFrameWnd::DockBarFor(DWORD dwAlign) {
    return SECDockBarFor(this, dwAlign);
}

void SECFrameWnd::DockControlBarEx(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fProportion,
                                   int nSize) {
    SECDockBar* pDockBar = nDockBarID ? dynamic_cast<SECDockBar*>(GetControlBar(nDockBarID)) : nullptr;
    if (nDockBarID && !pDockBar) {
        return;
    }
    SECDockBarInFrame(this, pBar, pDockBar, {nRow, nCol, 0}, fProportion, nSize);
}

void SECFrameWnd::FloatControlBarEx(CControlBar* pBar, int x, int y, DWORD dwStyle) {
    SECFloatBarInFrame(this, pBar, x, y, dwStyle);
}

void SECFrameWnd::RecalcLayout(BOOL bNotify) {
    CFrameWnd::RecalcLayout(bNotify);
    if (!m_hWnd) {
        return;
    }
    SECFlushFrameRedraws(this, m_rectLastViewArea);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &m_rectLastViewArea);
}

BOOL SECFrameWnd::LoadBarLayout(LPCTSTR lpszProfileName) {
    return SECLoadFrameBarLayout(this, lpszProfileName);
}

void SECFrameWnd::SaveBarLayout(LPCTSTR lpszProfileName) {
    SECSaveFrameBarLayout(this, lpszProfileName);
}

void SECFrameWnd::ApplyDockState(SECDockState& state) {
    state.Apply(this);
}

void SECFrameWnd::CollectDockState(SECDockState& state) {
    state.Collect(this);
}

BOOL SECFrameWnd::EnableGradientCaption(BOOL bEnable, BOOL bRedraw) {
    const BOOL previous = m_bGradientCaption;
    m_bGradientCaption = bEnable;
    if (m_hWnd) {
        if (bRedraw) {
            PostMessageW(WM_NCPAINT, 1, 0);
        }
        PostMessageW(WM_NCACTIVATE, 0, 0);
    }
    return previous;
}

void SECFrameWnd::DrawCaption() {
    CRect window;
    GetWindowRect(&window);
    BOOL bClose = TRUE;
    if (CMenu* menu = GetSystemMenu(FALSE)) {
        bClose = !(menu->GetMenuState(SC_CLOSE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }
    const CRect caption = SECGradientCaption::CaptionRect(window.Width(), GetStyle(), bClose);
    if (caption.Width() <= 0 || caption.Height() <= 0) {
        return;
    }
    CWindowDC dc(this);
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(&dc) ||
        !bitmap.CreateCompatibleBitmap(&dc, caption.Width(), caption.Height())) {
        // Without room to draw in, the standard caption serves.
        EnableGradientCaption(FALSE, TRUE);
        return;
    }
    CBitmap* old = memory.SelectObject(&bitmap);
    SECGradientCaption::Draw(&memory, CRect(CPoint(0, 0), caption.Size()), this, m_bCaptionActive,
                             m_nCaptionAlignment);
    dc.BitBlt(caption.left, caption.top, caption.Width(), caption.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

LRESULT SECFrameWnd::DefaultHidden() {
    const DWORD style = GetStyle();
    if (style & WS_VISIBLE) {
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(style & ~static_cast<DWORD>(WS_VISIBLE)));
    }
    LRESULT result = Default();
    if (style & WS_VISIBLE) {
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    }
    return result;
}

void SECFrameWnd::OnNcPaint() {
    Default();
    if (m_bGradientCaption) {
        DrawCaption();
    }
}

BOOL SECFrameWnd::OnNcActivate(BOOL bActive) {
    if (!m_bGradientCaption) {
        return CFrameWnd::OnNcActivate(bActive);
    }
    m_bCaptionActive = IsWindowEnabled() ? bActive : FALSE;
    DefaultHidden();
    SendMessageW(WM_NCPAINT, 1, 0);
    return TRUE;
}

LRESULT SECFrameWnd::OnSetText(WPARAM, LPARAM) {
    if (!m_bGradientCaption) {
        return Default();
    }
    DefaultHidden();
    DrawCaption();
    return TRUE;
}
