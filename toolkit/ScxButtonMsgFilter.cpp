#include "toolkit/ScxButtonMsgFilter.h"

#include "toolkit/SECCapConLstMDIMaxChildMsgFilter.h"
#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECFrameFilters.h"
#include "toolkit/SECMDIChildWnd.h"
#include "toolkit/SysCommandEx.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CFrameWnd.h"

#include <algorithm>

namespace nsSysCommandEx {

IMPLEMENT_DYNCREATE(ScxButtonMsgFilter, SECCaptionControlMsgFilter)
IMPLEMENT_DYNCREATE(ScxButtonMDIChildMsgFilter, ScxButtonMsgFilter)
IMPLEMENT_DYNCREATE(ScxButtonMDIMaxChildMsgFilter, ScxButtonMsgFilter)
IMPLEMENT_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter, SECNcMsgFilter)

namespace {

constexpr UINT RESULT_DONE = 15;

} // namespace

void DrawModeButton(HDC hDC, const RECT& rc, BOOL bPushed, BOOL bDockableFrame) {
    CDC* pDC = CDC::FromHandle(hDC);
    CRect rect(rc);
    const int width = rect.Width();
    const int height = rect.Height();
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF darkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    pDC->Draw3dRect(rect, bPushed ? darkShadow : highlight, bPushed ? highlight : darkShadow);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(rect, bPushed ? shadow : ::GetSysColor(COLOR_3DLIGHT), bPushed ? face : shadow);
    rect.DeflateRect(1, 1);
    pDC->FillSolidRect(rect, face);

    // A stroke is 9 units of a 9800 x 9600 square that spans the button: it grows with the button.
    const int strokeW = std::max(2, 9 * width * 100 / 9800);
    const int strokeH = std::max(1, 9 * height * 100 / 9600);
    int m = static_cast<int>(0.6 * height);
    if ((m - strokeH) % 2 == 0) {
        ++m;
    }
    const int steps = (m - strokeH + 1) / 2;
    const int shift = (bPushed ? 1 : 0) + (strokeH != 1 ? 1 : 0);
    const int x = rc.left + (width - strokeW - 2 * steps + 2) / 2 + steps - 2 + shift;
    const int yUp = rc.top + (height - m) / 2 - 1 + shift + (bDockableFrame ? 1 : 0);
    const int yDown = yUp + m - strokeH + (bDockableFrame ? 0 : 1);
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    auto stroke = [&](int sx, int sy, int sw) { pDC->FillSolidRect(sx, sy, sw, strokeH, text); };

    stroke(x, yUp, strokeW + 1);
    stroke(x, yDown, strokeW + 1);
    for (int i = 1; i < steps; ++i) {
        stroke(x - i, yUp + i, strokeW);
        stroke(x + 1 + i, yUp + i, strokeW);
        stroke(x - i, yDown - i, strokeW);
        stroke(x + 1 + i, yDown - i, strokeW);
    }
    if (!bDockableFrame && strokeW > 1) {
        // The lower chevron reaches one step further, its outer edges trimmed.
        stroke(x - steps + 1, yDown - steps, strokeW - 1);
        stroke(x + 1 + steps, yDown - steps, strokeW - 1);
    }
}

// ---- The mode button

BOOL ScxButtonMsgFilter::IsButtonApplicable(BOOL& bInactive) const {
    bInactive = FALSE;
    return TRUE;
}

void ScxButtonMsgFilter::DrawCaptionButton() {
    CFrameWnd* pFrame = GetFrameWnd();
    if (!pFrame || !pFrame->GetSafeHwnd() || m_rect.IsRectEmpty()) {
        return;
    }
    CWindowDC dc(pFrame);
    DrawModeButton(dc.m_hDC, m_rect, (m_nState & DFCS_PUSHED) != 0,
                   dynamic_cast<SECDockableFrame*>(pFrame) != nullptr);
}

UINT ScxButtonMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    UINT result = SECCaptionControlMsgFilter::ProcessMessage(message, wParam, lParam, pResult);
    const bool press = message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_LBUTTONUP;
    if (press && (result & SEC_FILTER_HANDLED)) {
        // The command may have changed the frame; no sibling should act on the click as well.
        result |= SEC_FILTER_STOP;
    }
    return result;
}

CWnd* ScxButtonMsgFilter::GetCommandWnd() const {
    return GetFrameWnd();
}

void ScxButtonMsgFilter::SendButtonCommand(int nCode, CPoint ptScreen) {
    CWnd* pTarget = GetCommandWnd();
    CFrameWnd* pFrame = GetFrameWnd();
    if (!pTarget || !pFrame) {
        return;
    }
    Record record;
    record.hWnd = pTarget->m_hWnd;
    if (nCode == Click) {
        record.x = ptScreen.x;
        record.y = ptScreen.y;
        Send(pTarget, SCX_APPLYMODE, record);
        return;
    }
    // The menu opens below the button.
    CRect window;
    pFrame->GetWindowRect(&window);
    CRect onScreen = m_rect;
    onScreen.OffsetRect(window.TopLeft());
    record.rect = onScreen;
    record.x = onScreen.left;
    record.y = onScreen.bottom;
    if (nCode == Held) {
        record.dwFlags |= 1;
    }
    Send(pTarget, SCX_SHOWMODEMENU, record);
}

// ---- On a document window's caption

BOOL ScxButtonMDIChildMsgFilter::IsButtonApplicable(BOOL& bInactive) const {
    bInactive = FALSE;
    return GetFrameWnd() && !GetFrameWnd()->IsZoomed();
}

UINT ScxButtonMDIChildMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                LRESULT* pResult) {
    if (GetFrameWnd() && GetFrameWnd()->IsZoomed()) {
        return ProcessChildren(message, wParam, lParam, pResult);
    }
    return ScxButtonMsgFilter::ProcessMessage(message, wParam, lParam, pResult);
}

// ---- In the main window's menu row

CMDIChildWnd* ScxButtonMDIMaxChildMsgFilter::GetMaximizedChild() const {
    auto* pChild = dynamic_cast<SECMDIChildWnd*>(SECGetMaximizedMDIChild(GetFrameWnd()));
    return pChild && pChild->m_filters.IsEnabled(SEC_FILTER_MODE_BUTTON) ? pChild : nullptr;
}

CWnd* ScxButtonMDIMaxChildMsgFilter::GetCommandWnd() const {
    return GetMaximizedChild();
}

BOOL ScxButtonMDIMaxChildMsgFilter::IsButtonApplicable(BOOL& bInactive) const {
    bInactive = FALSE;
    return GetMaximizedChild() != nullptr;
}

UINT ScxButtonMDIMaxChildMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                   LRESULT* pResult) {
    if (!GetMaximizedChild() && !m_bTracking) {
        return ProcessChildren(message, wParam, lParam, pResult);
    }
    return ScxButtonMsgFilter::ProcessMessage(message, wParam, lParam, pResult);
}

// ---- A right double click on the menu row

UINT ScxNCRDBLClkMDIMaxChildMsgFilter::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                      LRESULT* pResult) {
    if (message == WM_NCRBUTTONDBLCLK && wParam == HTMENU) {
        auto* pChild = dynamic_cast<SECMDIChildWnd*>(SECGetMaximizedMDIChild(GetFrameWnd()));
        if (pChild && pChild->m_filters.IsEnabled(SEC_FILTER_CAPTION_DBLCLK)) {
            Record record = RecordAt(pChild->m_hWnd, lParam);
            Send(pChild, SCX_APPLYMODE, record);
            return RESULT_DONE;
        }
    }
    return ProcessChildren(message, wParam, lParam, pResult);
}

} // namespace nsSysCommandEx
