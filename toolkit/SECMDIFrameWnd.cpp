#include "toolkit/SECMDIFrameWnd.h"

#include "platform/framework/CDockContext.h"
#include "platform/framework/CMDIChildWnd.h"
#include "toolkit/SECCapConLstMDIMaxChildMsgFilter.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDockState.h"
#include "toolkit/SECFrameDocking.h"
#include "toolkit/SECMenuBarFeature.h"
#include "toolkit/SECMiniDockFrameWnd.h"
#include "toolkit/ScxButtonMsgFilter.h"
#include "toolkit/SysCommandEx.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(SECMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECMDIFrameWnd, CMDIFrameWnd)
ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

constexpr DWORD kMDIFloatHostStyle = 0x42CFA000; // child, clip children, overlapped window, add to title, snap to bars
constexpr int kMDIFloatStart = 30;
constexpr int kMDIFloatStepX = 20;
constexpr int kMDIFloatStepY = 23;

// Bottom, left and right in turn; the first turns of each start a new row.
std::vector<UINT> DefaultDockSequence() {
    std::vector<UINT> sequence;
    for (int i = 0; i < 6; ++i) {
        if (i % 3 == 0) {
            sequence.push_back(0);
        }
        sequence.push_back(AFX_IDW_DOCKBAR_BOTTOM);
        if (i % 2 == 0) {
            sequence.push_back(0);
        }
        sequence.push_back(AFX_IDW_DOCKBAR_LEFT);
        if (i % 2 == 0) {
            sequence.push_back(0);
        }
        sequence.push_back(AFX_IDW_DOCKBAR_RIGHT);
    }
    return sequence;
}

DWORD AdjustFloatStyle(CControlBar* pBar, DWORD dwStyle) {
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT) {
            dwStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | CBRS_ALIGN_TOP;
        }
    }
    return dwStyle;
}

} // namespace

SECMDIFrameWnd::SECMDIFrameWnd()
    : m_pMDIFloatHostClass(RUNTIME_CLASS(SECControlBarMDIChildWnd)), m_dockSequence(DefaultDockSequence()) {
    using namespace nsSysCommandEx;
    m_filters.Register({
        {SEC_FILTER_SYSCOMMANDEX, -1, RUNTIME_CLASS(ScxMsgFilter), 0},
        {SEC_FILTER_CAPTION_LIST, -1, RUNTIME_CLASS(SECCapConLstMDIMaxChildMsgFilter), 0},
        {SEC_FILTER_MAXCHILD_MODE_BUTTON, SEC_FILTER_CAPTION_LIST,
         RUNTIME_CLASS(ScxButtonMDIMaxChildMsgFilter), 0},
        {SEC_FILTER_MAXCHILD_DBLCLK, -1, RUNTIME_CLASS(ScxNCRDBLClkMDIMaxChildMsgFilter), 0},
    });
    SECMDIFrameWnd::ConfigureCaptionButtons(SECDefaultCaptionConfig());
}

void SECMDIFrameWnd::ConfigureCaptionButtons(UINT nFlags) {
    m_filters.Switch({(nFlags & SEC_CAPTION_CFG_MODES) != 0, TRUE, TRUE, TRUE});
}

LRESULT SECMDIFrameWnd::DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_filters.OnSysCommandEx(message, wParam, lParam, result)) {
        return result;
    }
    return CMDIFrameWnd::DefWindowProcW(message, wParam, lParam);
}

LRESULT SECMDIFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SECGetMenuRequestMessage()) {
        return OnGetMenu(wParam, lParam);
    }
    if (m_pMenuFeature) {
        // The menu bar's feature sees each message first.
        LRESULT result = 0;
        m_pMenuFeature->OnWndMsg(message, wParam, lParam, &result);
        if (m_pMenuFeature->m_bHandled) {
            return result;
        }
    }
    return m_filters.Route(message, wParam, lParam,
                           [&] { return CMDIFrameWnd::WindowProc(message, wParam, lParam); });
}

SECMDIFrameWnd::~SECMDIFrameWnd() {
    DestroyMenus();
    for (CControlBar* pBar : m_ownedBars) {
        delete pBar;
    }
}

CDockBar* SECMDIFrameWnd::CreateDockBar(UINT) {
    return new SECDockBar(FALSE, FALSE);
}

void SECMDIFrameWnd::EnableDocking(DWORD dwDockStyle) {
    CFrameWnd::EnableDocking(dwDockStyle);
    m_pFloatingFrameClass = RUNTIME_CLASS(SECMiniDockFrameWnd);
}

void SECMDIFrameWnd::DockControlBarEx(CControlBar* pBar, SECDockPos pos, UINT nDockBarID, float fProportion,
                                      int nSize) {
    SECDockBar* pDockBar = nDockBarID ? dynamic_cast<SECDockBar*>(GetControlBar(nDockBarID)) : nullptr;
    if (nDockBarID && !pDockBar) {
        return;
    }
    SECDockBarInFrame(this, pBar, pDockBar, pos, fProportion, nSize);
}

void SECMDIFrameWnd::DockControlBarAtRowColEx(CControlBar* pBar, UINT nDockBarID, int nRow, int nCol,
                                              float fProportion, int nSize) {
    DockControlBarEx(pBar, {nRow, nCol, 0}, nDockBarID, fProportion, nSize);
}

void SECMDIFrameWnd::FloatControlBarEx(CControlBar* pBar, int x, int y, DWORD dwStyle) {
    SECFloatBarInFrame(this, pBar, x, y, dwStyle);
}

CPoint SECMDIFrameWnd::NextMDIFloatPosition() {
    CRect client;
    ::GetClientRect(m_hWndMDIClient, &client);
    CPoint point = m_ptNextMDIFloat;
    m_ptNextMDIFloat.x += kMDIFloatStepX;
    m_ptNextMDIFloat.y += kMDIFloatStepY;
    if (m_ptNextMDIFloat.x > client.Width() - kMDIFloatStart) {
        m_ptNextMDIFloat.x = kMDIFloatStart;
    }
    if (m_ptNextMDIFloat.y > client.Height() - kMDIFloatStart) {
        m_ptNextMDIFloat.y = kMDIFloatStart;
    }
    return point;
}

CPoint SECMDIFrameWnd::ClampMDIFloatPosition(CPoint point) const {
    CRect client;
    ::GetClientRect(m_hWndMDIClient, &client);
    point.x = std::clamp<LONG>(point.x, 0, std::max<LONG>(0, client.Width()));
    point.y = std::clamp<LONG>(point.y, 0, std::max<LONG>(0, client.Height() - kMDIFloatStart));
    return point;
}

CMDIChildWnd* SECMDIFrameWnd::CreateMDIFloatHost(DWORD, CControlBar*) {
    if (!m_pMDIFloatHostClass) {
        return nullptr;
    }
    auto* host = dynamic_cast<CMDIChildWnd*>(m_pMDIFloatHostClass->CreateObject());
    if (!host) {
        AfxThrowMemoryException();
    }
    // A host that fails to load has deleted itself.
    if (!host->LoadFrame(kMDIFloatHostResource, kMDIFloatHostStyle, this, nullptr)) {
        return nullptr;
    }
    return host;
}

void SECMDIFrameWnd::FloatControlBarInMDIChild(CControlBar* pBar, int x, int y, DWORD dwStyle) {
    if (!pBar || !pBar->m_hWnd || !m_hWndMDIClient) {
        return;
    }
    auto* sec = dynamic_cast<SECControlBar*>(pBar);
    if (sec) {
        sec->OnBeforeMDIFloat();
    }
    CPoint point;
    if (x < 0 || y < 0) {
        point = NextMDIFloatPosition();
    } else {
        point = CPoint(x, y);
        ::ScreenToClient(m_hWndMDIClient, &point);
    }
    point = ClampMDIFloatPosition(point);

    auto* pOld = dynamic_cast<SECDockBar*>(pBar->m_pDockBar);
    if (pOld && pOld->m_bMDIHost && pOld->GetDockedCount() == 1 && (pOld->m_dwStyle & dwStyle & CBRS_ALIGN_ANY)) {
        auto* host = dynamic_cast<CFrameWnd*>(pOld->GetParent());
        host->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        host->RecalcLayout();
        host->UpdateWindow();
        return;
    }
    dwStyle = AdjustFloatStyle(pBar, dwStyle);
    CMDIChildWnd* hostWnd = CreateMDIFloatHost(dwStyle, pBar);
    auto* floatHost = dynamic_cast<SECMDIFloatHost*>(hostWnd);
    if (!floatHost) {
        if (hostWnd) {
            hostWnd->DestroyWindow();
        }
        return;
    }
    CMDIChildWnd* host = hostWnd;
    // The host's dock bar lays the bar out in the orientation asked for, as a floating frame's does.
    floatHost->DockBar().m_dwStyle =
        (floatHost->DockBar().m_dwStyle & ~static_cast<DWORD>(CBRS_ALIGN_ANY)) | (dwStyle & CBRS_ALIGN_ANY);
    if (!host->GetOwner()) {
        host->SetOwner(pBar);
    }
    floatHost->DockBar().DockBarAt(pBar, nullptr);
    host->RecalcLayout();
    host->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    host->ShowWindow(SW_SHOWNOACTIVATE);
    host->UpdateWindow();
    if (LRESULT icon = pBar->SendMessageW(WM_GETICON, ICON_BIG, 0)) {
        host->SendMessageW(WM_SETICON, ICON_BIG, icon);
    }
    if (sec) {
        sec->OnAfterMDIFloat();
    }
    RecalcLayout();
}

void SECMDIFrameWnd::GetNextDockPosition(UINT& nDockBarID, SECDockPos& pos, float& fProportion, int& nSize) {
    fProportion = 1.0f;
    nSize = 150;
    nDockBarID = 0;
    const std::size_t count = m_dockSequence.size();
    if (count == 0) {
        nDockBarID = AFX_IDW_DOCKBAR_BOTTOM;
        pos = {0, 0, SECDockPos::newRow};
        return;
    }
    for (std::size_t step = 0; step < count; ++step) {
        const std::size_t index = (m_nDockSequenceCursor + step) % count;
        const UINT id = m_dockSequence[index];
        if (id == 0) {
            continue;
        }
        nDockBarID = id;
        pos = {0, 1, SECDockPos::fromEndCol};
        if (id == AFX_IDW_DOCKBAR_TOP || id == AFX_IDW_DOCKBAR_LEFT) {
            pos.dwFlags |= SECDockPos::fromEndRow;
        }
        if (count > 1 && m_dockSequence[(index + count - 1) % count] == 0) {
            pos.dwFlags |= SECDockPos::newRow;
            if (pos.dwFlags & SECDockPos::fromEndRow) {
                pos.nRow = 1;
            }
        }
        m_nDockSequenceCursor = (index + 1) % count;
        return;
    }
}

void SECMDIFrameWnd::RecalcLayout(BOOL bNotify) {
    CMDIFrameWnd::RecalcLayout(bNotify);
    if (!m_hWnd) {
        return;
    }
    SECFlushFrameRedraws(this, m_rectLastViewArea);
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &m_rectLastViewArea);
}

BOOL SECMDIFrameWnd::LoadBarLayout(LPCTSTR lpszProfileName) {
    return SECLoadFrameBarLayout(this, lpszProfileName);
}

void SECMDIFrameWnd::SaveBarLayout(LPCTSTR lpszProfileName) {
    SECSaveFrameBarLayout(this, lpszProfileName);
}

void SECMDIFrameWnd::ApplyDockState(SECDockState& state) {
    state.Apply(this);
}

void SECMDIFrameWnd::CollectDockState(SECDockState& state) {
    state.Collect(this);
}

// ---- The host of a bar floating inside the main window

IMPLEMENT_DYNCREATE(SECControlBarMDIChildWnd, SECMDIChildWnd)
