#include "toolkit/SECCaptionControlMsgFilter.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CFrameWnd.h"

IMPLEMENT_DYNCREATE(SECCaptionControlMsgFilter, SECCaptionMsgFilter)

namespace {

constexpr UINT HOLD_TIMER = 1;

} // namespace

// ---- The hold timer

int SECCaptionControlMsgFilterTimer::OnCreate(LPCREATESTRUCT) {
    m_bStarted = SetTimer(HOLD_TIMER, m_nPeriod, nullptr) != 0;
    return m_bStarted ? 0 : -1;
}

void SECCaptionControlMsgFilterTimer::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != HOLD_TIMER || m_bFired) {
        return;
    }
    m_bFired = TRUE;
    KillTimer(HOLD_TIMER);
    if (m_pButton && m_pButton->m_bTracking) {
        m_pButton->OnHoldTimeout(m_pt);
    }
}

void SECCaptionControlMsgFilterTimer::OnDestroy() {
    KillTimer(HOLD_TIMER);
    CWnd::OnDestroy();
}

BEGIN_MESSAGE_MAP(SECCaptionControlMsgFilterTimer, CWnd)
ON_WM_CREATE()
ON_WM_TIMER()
ON_WM_DESTROY()
END_MESSAGE_MAP()

// ---- The button

SECCaptionControlMsgFilter::SECCaptionControlMsgFilter(CFrameWnd* pFrame, int nID, UINT nType, UINT nState,
                                                       int nHoldPeriod)
    : SECCaptionMsgFilter(pFrame, nID), m_nType(nType), m_nState(nState), m_nHoldPeriod(nHoldPeriod) {}

SECCaptionControlMsgFilter::SECCaptionControlMsgFilter(const SECCaptionControlMsgFilter& other)
    : SECCaptionMsgFilter(other), m_rect(other.m_rect), m_nType(other.m_nType), m_nState(other.m_nState),
      m_nHoldPeriod(other.m_nHoldPeriod), m_pStateWnd(other.m_pStateWnd), m_nHitCode(other.m_nHitCode) {}

CWnd* SECCaptionControlMsgFilter::GetStateWnd() const {
    return m_pStateWnd ? m_pStateWnd : GetFrameWnd();
}

SECCaptionControlMsgFilter::~SECCaptionControlMsgFilter() {
    KillHoldTimer();
}

BOOL SECCaptionControlMsgFilter::IsButtonApplicable(BOOL& bInactive) const {
    bInactive = FALSE;
    CWnd* pFrame = GetStateWnd();
    if (m_nID < SEC_CAPTION_CLOSE || m_nID > SEC_CAPTION_HELP || !pFrame || !(pFrame->GetStyle() & WS_SYSMENU)) {
        return FALSE;
    }
    const DWORD style = pFrame->GetStyle();
    const BOOL bMax = pFrame->IsZoomed();
    const BOOL bMin = pFrame->IsIconic();
    if (m_nID == SEC_CAPTION_CLOSE) {
        HMENU hSys = ::GetSystemMenu(pFrame->m_hWnd, FALSE);
        UINT state = hSys ? ::GetMenuState(hSys, SC_CLOSE, MF_BYCOMMAND) : 0;
        bInactive = state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED));
        return TRUE;
    }
    if (pFrame->GetExStyle() & WS_EX_TOOLWINDOW) {
        return FALSE;
    }
    const bool bBoxes = (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) != 0;
    switch (m_nID) {
    case SEC_CAPTION_MAX:
        bInactive = !(style & WS_MAXIMIZEBOX);
        return bBoxes && !bMax;
    case SEC_CAPTION_RESTORE:
        bInactive = bMax ? !(style & WS_MAXIMIZEBOX) : !(style & WS_MINIMIZEBOX);
        return bBoxes && (bMax || bMin);
    case SEC_CAPTION_MIN:
        bInactive = !(style & WS_MINIMIZEBOX);
        return bBoxes && !bMin;
    default:
        return !bBoxes && (pFrame->GetExStyle() & WS_EX_CONTEXTHELP);
    }
}

void SECCaptionControlMsgFilter::DrawCaptionButton() {
    CFrameWnd* pFrame = GetFrameWnd();
    if (!pFrame || m_rect.IsRectEmpty() || m_nID < SEC_CAPTION_CLOSE || m_nID > SEC_CAPTION_HELP) {
        return;
    }
    CWindowDC dc(pFrame);
    CRect rect = m_rect;
    // The standard kinds draw the glyph their id names.
    const UINT state = m_nType == DFC_CAPTION ? (m_nState & ~0xFu) | static_cast<UINT>(m_nID) : m_nState;
    ::DrawFrameControl(dc.m_hDC, &rect, m_nType, state);
}

BOOL SECCaptionControlMsgFilter::HitTestButton(CPoint ptScreen) const {
    CFrameWnd* pFrame = GetFrameWnd();
    if (!pFrame || m_rect.IsRectEmpty()) {
        return FALSE;
    }
    CRect window;
    pFrame->GetWindowRect(&window);
    CRect onScreen = m_rect;
    onScreen.OffsetRect(window.TopLeft());
    return onScreen.PtInRect(ptScreen);
}

UINT SECCaptionControlMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    switch (message) {
    case WM_SETTEXT:
    case WM_SETCURSOR:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
        DrawCaptionButton();
        return SEC_FILTER_HANDLED;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: {
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (wParam != m_nHitCode || !HitTestButton(pt)) {
            break;
        }
        if (!(m_nState & DFCS_INACTIVE)) {
            if (message == WM_NCLBUTTONDOWN) {
                OnButtonDown(pt);
            } else {
                SendButtonCommand(RightClick, pt);
            }
        }
        return SEC_FILTER_CONSUMED;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        if (!m_bTracking || !GetFrameWnd()) {
            break;
        }
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        GetFrameWnd()->ClientToScreen(&pt);
        if (message == WM_MOUSEMOVE) {
            OnTrackMove(pt);
        } else {
            OnButtonUp(pt);
        }
        return SEC_FILTER_CONSUMED;
    }
    default:
        break;
    }
    return ProcessChildren(message, wParam, lParam, pResult);
}

void SECCaptionControlMsgFilter::BeginTracking(BOOL bPush, BOOL bRedraw) {
    m_bTracking = TRUE;
    if (bPush) {
        m_nState |= DFCS_PUSHED;
    }
    GetFrameWnd()->SetCapture();
    if (bRedraw) {
        DrawCaptionButton();
    }
}

void SECCaptionControlMsgFilter::EndTracking(BOOL bRelease, BOOL bRedraw) {
    m_bTracking = FALSE;
    KillHoldTimer();
    if (bRelease && CWnd::GetCapture() == GetFrameWnd()) {
        ::ReleaseCapture();
    }
    m_nState &= ~DFCS_PUSHED;
    if (bRedraw) {
        DrawCaptionButton();
    }
}

void SECCaptionControlMsgFilter::OnButtonDown(CPoint ptScreen) {
    BeginTracking(TRUE, TRUE);
    if (m_nHoldPeriod >= 0) {
        StartHoldTimer(ptScreen);
    }
}

void SECCaptionControlMsgFilter::OnTrackMove(CPoint ptScreen) {
    const BOOL bOver = HitTestButton(ptScreen);
    if (bOver == ((m_nState & DFCS_PUSHED) != 0)) {
        return;
    }
    if (bOver) {
        m_nState |= DFCS_PUSHED;
        if (m_nHoldPeriod >= 0) {
            StartHoldTimer(ptScreen);
        }
    } else {
        m_nState &= ~DFCS_PUSHED;
        KillHoldTimer();
    }
    DrawCaptionButton();
}

void SECCaptionControlMsgFilter::OnButtonUp(CPoint ptScreen) {
    EndTracking(TRUE, TRUE);
    if (HitTestButton(ptScreen)) {
        SendButtonCommand(Click, ptScreen);
    }
}

void SECCaptionControlMsgFilter::OnHoldTimeout(CPoint ptScreen) {
    EndTracking(TRUE, FALSE);
    SendButtonCommand(Held, ptScreen);
}

void SECCaptionControlMsgFilter::KillHoldTimer() {
    if (m_pTimer) {
        if (m_pTimer->GetSafeHwnd()) {
            m_pTimer->DestroyWindow();
        }
        delete m_pTimer;
        m_pTimer = nullptr;
    }
}

void SECCaptionControlMsgFilter::StartHoldTimer(CPoint ptScreen) {
    KillHoldTimer();
    CFrameWnd* pFrame = GetFrameWnd();
    if (!pFrame || m_nHoldPeriod < 0) {
        return;
    }
    m_pTimer = new SECCaptionControlMsgFilterTimer(this, static_cast<UINT>(m_nHoldPeriod), ptScreen);
    if (!m_pTimer->Create(AfxRegisterWndClass(0), u"", WS_CHILD, CRect(0, 0, 0, 0), pFrame, 0)) {
        // Without a timer the button works without hold.
        delete m_pTimer;
        m_pTimer = nullptr;
    }
}

BOOL SECCaptionControlMsgFilter::BuildButtonCommand(int nCode, CPoint ptScreen, HWND& hWnd, UINT& message,
                                                    WPARAM& wParam, LPARAM& lParam) {
    static const UINT commands[] = {SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CONTEXTHELP};
    if (nCode != Click || m_nID < SEC_CAPTION_CLOSE || m_nID > SEC_CAPTION_HELP || !GetStateWnd()) {
        return FALSE;
    }
    hWnd = GetStateWnd()->m_hWnd;
    message = WM_SYSCOMMAND;
    wParam = commands[m_nID];
    lParam = MAKELPARAM(ptScreen.x, ptScreen.y);
    return TRUE;
}

void SECCaptionControlMsgFilter::SendButtonCommand(int nCode, CPoint ptScreen) {
    HWND hWnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (BuildButtonCommand(nCode, ptScreen, hWnd, message, wParam, lParam)) {
        ::PostMessageW(hWnd, message, wParam, lParam);
    }
}
