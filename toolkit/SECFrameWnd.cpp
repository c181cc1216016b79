#include "toolkit/SECFrameWnd.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CWinThread.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECGradientCaption.h"
#include "toolkit/SECMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
ON_WM_NCPAINT()
ON_WM_NCACTIVATE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

namespace {

// Frame dock bars in the order they are made and laid out.
const UINT kDockBarIDs[] = {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT,
                            AFX_IDW_DOCKBAR_RIGHT};

} // namespace

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

SECFrameWnd::~SECFrameWnd() = default;

CDockBar* SECFrameWnd::CreateDockBar(UINT) {
    return new SECDockBar(FALSE, FALSE);
}

void SECFrameWnd::EnableDocking(DWORD dwDockStyle) {
    CFrameWnd::EnableDocking(dwDockStyle);
    m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
}

SECDockBar* SECFrameWnd::DockBarFor(DWORD dwAlign) {
    for (UINT id : kDockBarIDs) {
        auto* pDockBar = dynamic_cast<SECDockBar*>(GetControlBar(id));
        if (pDockBar && (pDockBar->m_dwStyle & dwAlign & CBRS_ALIGN_ANY)) {
            return pDockBar;
        }
    }
    return nullptr;
}

void SECFrameWnd::DockControlBarEx(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fProportion,
                                   int nSize) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    SECControlBar* sec = dynamic_cast<SECControlBar*>(pBar);
    if (sec) {
        sec->OnBeforeDock();
    }
    SECDockBar* pDockBar = nDockBarID ? dynamic_cast<SECDockBar*>(GetControlBar(nDockBarID))
                                      : DockBarFor(pBar->m_dwDockStyle & CBRS_ALIGN_ANY);
    if (!pDockBar) {
        return;
    }
    if (sec) {
        sec->m_fProportion = fProportion;
    }
    // The size across the row is measured in the orientation of the dock bar it goes to.
    const DWORD mode = pDockBar->IsHorzDock() ? (LM_LENGTHY | LM_HORZDOCK | LM_HORZ) : LM_VERTDOCK;
    pBar->CalcDynamicLayout(nSize, mode | LM_COMMIT);
    HWND oldFloating =
        pBar->m_pDockBar && pBar->m_pDockBar->m_bFloating ? pBar->m_pDockBar->GetParent()->m_hWnd : nullptr;
    pDockBar->DockControlBarAtRowCol(pBar, nCol, nRow);
    if (oldFloating && ::IsWindow(oldFloating)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(oldFloating))) {
            frame->RecalcLayout();
        }
    }
    if (sec) {
        sec->OnAfterDock();
    }
    RecalcLayout();
}

void SECFrameWnd::FloatControlBarEx(CControlBar* pBar, int x, int y, DWORD dwStyle) {
    if (!pBar || !pBar->m_hWnd) {
        return;
    }
    CDockBar* pOld = pBar->m_pDockBar;
    if (pOld && pOld->m_bFloating && pOld->GetDockedCount() == 1 &&
        (pOld->m_dwStyle & dwStyle & CBRS_ALIGN_ANY)) {
        CWnd* frame = pOld->GetParent();
        frame->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        frame->UpdateWindow();
        return;
    }
    SECControlBar* sec = dynamic_cast<SECControlBar*>(pBar);
    if (sec) {
        sec->OnBeforeFloat();
    }
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT) {
            dwStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | CBRS_ALIGN_TOP;
        }
    }
    CMiniDockFrameWnd* frame = CreateFloatingFrame(dwStyle);
    if (!frame) {
        return;
    }
    frame->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->m_wndDockBar.DockControlBar(pBar);
    frame->RecalcLayout();
    if (pBar->GetStyle() & WS_VISIBLE) {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
    }
    if (pBar->m_pDockContext) {
        pBar->m_pDockContext->m_ptMRUFloatPos = CPoint(x, y);
        pBar->m_pDockContext->m_dwMRUFloatStyle = dwStyle;
    }
    if (sec) {
        sec->OnAfterFloat();
    }
    RecalcLayout();
}

void SECFrameWnd::RecalcLayout(BOOL bNotify) {
    CFrameWnd::RecalcLayout(bNotify);
    if (!m_hWnd) {
        return;
    }
    if (m_rectLastViewArea.IsRectEmpty()) {
        RedrawWindow(nullptr, nullptr, RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
    } else {
        for (UINT id : kDockBarIDs) {
            if (auto* pDockBar = dynamic_cast<SECDockBar*>(GetControlBar(id))) {
                pDockBar->FlushRedraws();
            }
        }
    }
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &m_rectLastViewArea);
}

BOOL SECFrameWnd::LoadBarLayout(LPCTSTR lpszProfileName) {
    SECDockState state;
    if (!state.LoadState(lpszProfileName)) {
        return FALSE;
    }
    CWinThread* thread = AfxGetThread();
    if (thread && !thread->m_pMainWnd) {
        thread->m_pMainWnd = this;
    }
    state.Apply(this);
    return TRUE;
}

void SECFrameWnd::SaveBarLayout(LPCTSTR lpszProfileName) {
    SECDockState state;
    state.Collect(this);
    state.SaveState(lpszProfileName);
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
