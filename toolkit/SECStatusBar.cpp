#include "toolkit/SECStatusBar.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CFrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(SECStatusBar, SECControlBar)

BEGIN_MESSAGE_MAP(SECStatusBar, SECControlBar)
ON_WM_NCHITTEST()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_WINDOWPOSCHANGING()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

namespace {

// Each pane's text width is framed by three pixels on either side.
constexpr int kPaneBorder = 6;
constexpr UINT kUnsent = 1;

class SECStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<SECStatusBar*>(m_pOther);
        const int index = static_cast<int>(m_nIndex);
        UINT style = bar->GetPaneStyle(index) & ~static_cast<UINT>(SBPS_DISABLED);
        bar->SetPaneStyle(index, bOn ? style : (style | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override {
        auto* bar = static_cast<SECStatusBar*>(m_pOther);
        const int index = static_cast<int>(m_nIndex);
        UINT style = bar->GetPaneStyle(index) & ~static_cast<UINT>(SBPS_POPOUT);
        bar->SetPaneStyle(index, nCheck ? (style | SBPS_POPOUT) : style);
    }
    void SetText(LPCTSTR lpszText) override {
        static_cast<SECStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText, TRUE);
    }
};

} // namespace

SECStatusBar::SECStatusBar() {
    m_cyTopBorder = 2;
    const bool newShell = SECGetToolkitMetrics().bIsNewShell;
    m_cxLeftBorder = m_cxRightBorder = newShell ? 0 : 2;
    m_cyBottomBorder = newShell ? 0 : 1;
}

SECStatusBar::~SECStatusBar() {
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL SECStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL SECStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    RegisterStatusBarClass();
    DWORD windowStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                        CCS_NORESIZE | CCS_NODIVIDER | dwCtrlStyle;
    if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME)) {
        windowStyle |= SBARS_SIZEGRIP;
    }
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) {
        return FALSE;
    }
    SetOwner(pParentWnd);
    return TRUE;
}

BOOL SECStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
    // A bottom bar with a top border gets its separation from the control's own edges instead.
    if (SECGetToolkitMetrics().bIsNewShell && ((m_dwStyle >> 8) & 0xFF) == 0x82) {
        m_dwStyle &= ~static_cast<DWORD>(0x0F80);
    }
    return SECControlBar::PreCreateWindow(cs);
}

SECStatusPane* SECStatusBar::GetPanePtr(int nIndex) const {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) {
        return nullptr;
    }
    return &m_panes[static_cast<size_t>(nIndex)];
}

int SECStatusBar::TextWidth(const CString& text) const {
    HDC dc = ::GetDC(nullptr);
    HFONT font = m_hWnd ? reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) : nullptr;
    HGDIOBJ old = ::SelectObject(dc, font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, text.GetLength(), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return static_cast<int>(size.cx);
}

void SECStatusBar::GetControlBorders(int borders[3]) const {
    borders[0] = borders[1] = borders[2] = 0;
    if (m_hWnd) {
        ::SendMessageW(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    }
}

BOOL SECStatusBar::SetPanes(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_panes.assign(static_cast<size_t>(nIDCount), SECStatusPane{});
    m_nCount = nIDCount;
    BOOL result = TRUE;
    if (lpIDArray) {
        for (int i = 0; i < nIDCount; ++i) {
            SECStatusPane& pane = m_panes[static_cast<size_t>(i)];
            pane.nID = lpIDArray[i];
            pane.nFlags |= kUnsent;
            if (pane.nID != 0) {
                CString text;
                if (!text.LoadString(pane.nID)) {
                    text = u"  ";
                }
                pane.cxText = TextWidth(text);
                if (!SetPaneText(i, text, FALSE)) {
                    result = FALSE;
                    break;
                }
            } else {
                pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (i == 0) {
                    pane.nStyle |= SBPS_STRETCH | SBPS_NOBORDERS;
                }
            }
        }
    }
    UpdateAllPanes(TRUE, TRUE);
    return result;
}

int SECStatusBar::PaneIndexFromId(UINT nIDFind) const {
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == nIDFind) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

UINT SECStatusBar::GetItemID(int nIndex) const {
    const SECStatusPane* pane = GetPanePtr(nIndex);
    return pane ? pane->nID : 0;
}

void SECStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!m_hWnd ||
        !::SendMessageW(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect))) {
        ::SetRectEmpty(lpRect);
    }
}

UINT SECStatusBar::GetPaneStyle(int nIndex) const {
    const SECStatusPane* pane = GetPanePtr(nIndex);
    return pane ? pane->nStyle : 0;
}

BOOL SECStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    SECStatusPane* pane = GetPanePtr(nIndex);
    if (!pane) {
        return FALSE;
    }
    if (pane->nStyle == nStyle) {
        return TRUE;
    }
    if ((pane->nStyle ^ nStyle) & SBPS_STRETCH) {
        pane->nStyle = nStyle;
        UpdateAllPanes(TRUE, FALSE);
    }
    pane->nFlags |= kUnsent;
    pane->nStyle = nStyle;
    return SetPaneText(nIndex, CString(pane->strText), TRUE);
}

void SECStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    const SECStatusPane* pane = GetPanePtr(nIndex);
    nID = pane ? pane->nID : 0;
    nStyle = pane ? pane->nStyle : 0;
    cxWidth = pane ? pane->cxText : 0;
}

void SECStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    SECStatusPane* pane = GetPanePtr(nIndex);
    if (!pane) {
        return;
    }
    bool layout = false;
    pane->nID = nID;
    if (pane->nStyle != nStyle) {
        if ((pane->nStyle ^ nStyle) & SBPS_STRETCH) {
            pane->nStyle = nStyle;
            layout = true;
        } else {
            pane->nFlags |= kUnsent;
            pane->nStyle = nStyle;
            SetPaneText(nIndex, CString(pane->strText), TRUE);
        }
    }
    if (pane->cxText != cxWidth) {
        pane->cxText = cxWidth;
        layout = true;
    }
    if (layout) {
        UpdateAllPanes(TRUE, FALSE);
    }
}

CString SECStatusBar::GetPaneText(int nIndex) const {
    const SECStatusPane* pane = GetPanePtr(nIndex);
    return pane ? pane->strText : CString();
}

BOOL SECStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    SECStatusPane* pane = GetPanePtr(nIndex);
    if (!pane) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const CString text(lpszNewText ? lpszNewText : u"");
    if (!(pane->nFlags & kUnsent) && text == pane->strText) {
        return TRUE;
    }
    pane->strText = text;
    if (!bUpdate) {
        pane->nFlags |= kUnsent;
        return TRUE;
    }
    pane->nFlags &= ~kUnsent;
    if (m_hWnd) {
        LPCTSTR shown = (pane->nStyle & SBPS_DISABLED) ? nullptr : static_cast<LPCTSTR>(pane->strText);
        ::SendMessageW(m_hWnd, SB_SETTEXTW, static_cast<WPARAM>(nIndex) | pane->nStyle,
                       reinterpret_cast<LPARAM>(shown));
    }
    return TRUE;
}

void SECStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
    if (!m_hWnd) {
        return;
    }
    if (bUpdateRects && !m_panes.empty()) {
        CRect rect;
        GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE);
        int borders[3];
        GetControlBorders(borders);
        int spare = rect.Width() + borders[2];
        int stretching = 0;
        for (const SECStatusPane& pane : m_panes) {
            spare -= pane.cxText + kPaneBorder + borders[2];
            stretching += (pane.nStyle & SBPS_STRETCH) ? 1 : 0;
        }
        std::vector<int> edges(m_panes.size());
        int right = borders[0];
        for (size_t i = 0; i < m_panes.size(); ++i) {
            right += m_panes[i].cxText + kPaneBorder;
            if ((m_panes[i].nStyle & SBPS_STRETCH) && spare > 0) {
                // The last stretching pane takes the remainder.
                const int share = spare / stretching;
                right += share;
                spare -= share;
                --stretching;
            }
            edges[i] = right;
            right += borders[2];
        }
        ::SendMessageW(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
    if (bUpdateText) {
        for (size_t i = 0; i < m_panes.size(); ++i) {
            if (m_panes[i].nFlags & kUnsent) {
                SetPaneText(static_cast<int>(i), CString(m_panes[i].strText), TRUE);
            }
        }
    }
}

void SECStatusBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    SECControlBar::CalcInsideRect(rect, bHorz, FALSE);
    if (m_hWnd && (GetStyle() & SBARS_SIZEGRIP)) {
        CWnd* parent = GetParent();
        if (!parent || !parent->IsZoomed()) {
            int borders[3];
            GetControlBorders(borders);
            rect.right -= 2 * ::GetSystemMetrics(SM_CXBORDER) + borders[0] + ::GetSystemMetrics(SM_CXVSCROLL);
        }
    }
}

CSize SECStatusBar::CalcFixedLayout(BOOL, BOOL bHorz) {
    if (!bHorz) {
        return CSize(0, 0);
    }
    TEXTMETRICW tm{};
    HDC dc = ::GetDC(nullptr);
    HFONT font = m_hWnd ? reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)) : nullptr;
    HGDIOBJ old = ::SelectObject(dc, font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    int borders[3];
    GetControlBorders(borders);
    CRect inset(0, 0, 0, 0);
    SECControlBar::CalcInsideRect(inset, TRUE, FALSE);
    int height = static_cast<int>(tm.tmHeight - tm.tmInternalLeading) - 1 +
                 2 * (::GetSystemMetrics(SM_CYBORDER) + borders[1]) +
                 static_cast<int>(inset.top - inset.bottom);
    return CSize(32767, std::max(height, m_nMinHeight));
}

void SECStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    SECStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].nID;
        // The bar's own handlers first, then the frame's, which never disable a pane for want of one.
        if (!state.DoUpdate(this, FALSE)) {
            state.DoUpdate(pTarget, FALSE);
        }
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void SECStatusBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    if (m_hWnd && ((dwOldStyle ^ dwNewStyle) & CBRS_BORDER_ANY)) {
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

BOOL SECStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DRAWITEM) {
        DrawPane(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult) {
            *pResult = TRUE;
        }
        return TRUE;
    }
    return SECControlBar::OnChildNotify(message, wParam, lParam, pResult);
}

UINT SECStatusBar::OnNcHitTest(CPoint) {
    return Default() == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

void SECStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    CRect inset(0, 0, 0, 0);
    SECControlBar::CalcInsideRect(inset, TRUE, FALSE);
    RECT& rc = lpncsp->rgrc[0];
    rc.left += inset.left;
    rc.top += inset.top - 2;
    rc.right += inset.right;
    rc.bottom += inset.bottom;
    rc.right = std::max(rc.left, rc.right);
    rc.bottom = std::max(rc.top, rc.bottom);
}

void SECStatusBar::OnNcPaint() {
    EraseNonClient();
}

void SECStatusBar::OnPaint() {
    UpdateAllPanes(FALSE, TRUE);
    Default();
}

void SECStatusBar::OnSize(UINT nType, int cx, int cy) {
    SECControlBar::OnSize(nType, cx, cy);
    UpdateAllPanes(TRUE, FALSE);
}

void SECStatusBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
    const DWORD saved = m_dwStyle;
    m_dwStyle &= ~static_cast<DWORD>(CBRS_BORDER_ANY);
    SECControlBar::OnWindowPosChanging(lpWndPos);
    m_dwStyle = saved;
}

LRESULT SECStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    const int index = FirstSeparatorIndex();
    if (index < 0) {
        return -1;
    }
    return SetPaneText(index, reinterpret_cast<LPCTSTR>(lParam), TRUE) ? 0 : -1;
}

LRESULT SECStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    auto* buffer = reinterpret_cast<LPTSTR>(lParam);
    if (!buffer || wParam == 0) {
        return 0;
    }
    const int index = FirstSeparatorIndex();
    const CString text = index >= 0 ? GetPaneText(index) : CString();
    const size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), wParam - 1);
    std::copy_n(static_cast<LPCTSTR>(text), n, buffer);
    buffer[n] = 0;
    return static_cast<LRESULT>(n + 1);
}

LRESULT SECStatusBar::OnGetTextLength(WPARAM, LPARAM) {
    const int index = FirstSeparatorIndex();
    return index >= 0 ? GetPaneText(index).GetLength() : 0;
}

LRESULT SECStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
    m_nMinHeight = static_cast<int>(wParam);
    return Default();
}
