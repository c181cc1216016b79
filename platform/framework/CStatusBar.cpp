#include "platform/framework/CStatusBar.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
ON_WM_SIZE()
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_GETTEXT, OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

namespace {

constexpr UINT kTypeBits = SBPS_NOBORDERS | SBPS_POPOUT | SBPS_OWNERDRAW;

class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        auto* pBar = static_cast<CStatusBar*>(m_pOther);
        UINT style = pBar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_DISABLED);
        pBar->SetPaneStyle(static_cast<int>(m_nIndex), bOn ? style : (style | SBPS_DISABLED));
    }
    void SetCheck(int nCheck) override {
        auto* pBar = static_cast<CStatusBar*>(m_pOther);
        UINT style = pBar->GetPaneStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(SBPS_POPOUT);
        pBar->SetPaneStyle(static_cast<int>(m_nIndex), nCheck ? (style | SBPS_POPOUT) : style);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR lpszText) override {
        static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
    }
};

} // namespace

CStatusBar::CStatusBar() {
    // The control keeps its own margins.
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() {
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    RegisterStatusBarClass();
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD windowStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN |
                        CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | (dwCtrlStyle & 0xFFFF);
    if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME)) {
        windowStyle |= SBARS_SIZEGRIP;
    }
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID)) {
        return FALSE;
    }
    SetOwner(pParentWnd);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray) || nIDCount > 255) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    m_panes.assign(static_cast<size_t>(nIDCount), AFX_STATUSPANE{});
    m_nCount = nIDCount;
    BOOL ok = TRUE;
    bool stretchTaken = false;
    for (int i = 0; i < nIDCount; ++i) {
        AFX_STATUSPANE& pane = m_panes[static_cast<size_t>(i)];
        pane.nID = lpIDArray[i];
        if (pane.nID == ID_SEPARATOR) {
            pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (!stretchTaken) {
                pane.nStyle = SBPS_STRETCH | SBPS_NOBORDERS;
                stretchTaken = true;
            }
            continue;
        }
        if (!pane.strText.LoadString(pane.nID)) {
            ok = FALSE; // the pane stays, without text
        }
        pane.cxText = TextWidth(pane.strText);
    }
    UpdateAllPanes(TRUE, TRUE);
    return ok;
}

int CStatusBar::TextWidth(const CString& text) const {
    if (!m_hWnd) {
        return 0;
    }
    HDC dc = ::GetDC(m_hWnd);
    auto font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, text.GetLength(), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    return static_cast<int>(size.cx);
}

AFX_STATUSPANE* CStatusBar::GetPanePtr(int nIndex) const {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_panes.size())) {
        return nullptr;
    }
    return &m_panes[static_cast<size_t>(nIndex)];
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
    if (!m_hWnd || m_panes.empty()) {
        return;
    }
    if (bUpdateRects) {
        CRect client;
        GetClientRect(&client);
        int borders[3] = {0, 0, 0};
        SendMessageW(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
        // A pane is its text plus its edges and the inner margins.
        int fixed = 0;
        int stretchy = 0;
        for (const AFX_STATUSPANE& pane : m_panes) {
            fixed += pane.cxText + 6 + borders[2];
            stretchy += (pane.nStyle & SBPS_STRETCH) ? 1 : 0;
        }
        int available = client.Width() - 2 * borders[0];
        if (GetStyle() & SBARS_SIZEGRIP) {
            available -=
                std::max(::GetSystemMetrics(SM_CXVSCROLL), static_cast<int>(client.Height()) - borders[1]);
        }
        int spare = std::max(0, available - fixed);
        std::vector<int> edges(m_panes.size());
        int x = borders[0];
        int given = 0;
        int seen = 0;
        for (size_t i = 0; i < m_panes.size(); ++i) {
            int width = m_panes[i].cxText + 6;
            if (m_panes[i].nStyle & SBPS_STRETCH) {
                ++seen;
                // The last stretching pane takes the remainder.
                int share = seen == stretchy ? spare - given : spare / stretchy;
                given += share;
                width += share;
            }
            x += width;
            edges[i] = x;
            x += borders[2];
        }
        SendMessageW(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
    if (bUpdateText) {
        for (size_t i = 0; i < m_panes.size(); ++i) {
            const AFX_STATUSPANE& pane = m_panes[i];
            WPARAM type = i | (pane.nStyle & kTypeBits);
            LPCTSTR text = (pane.nStyle & SBPS_DISABLED) ? nullptr : static_cast<LPCTSTR>(pane.strText);
            SendMessageW(SB_SETTEXTW, type,
                         (pane.nStyle & SBPS_OWNERDRAW) ? static_cast<LPARAM>(i)
                                                        : reinterpret_cast<LPARAM>(text));
        }
    }
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].nID == nIDFind) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    AFX_STATUSPANE* pane = GetPanePtr(nIndex);
    return pane ? pane->nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!GetPanePtr(nIndex) ||
        !::SendMessageW(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect))) {
        ::SetRectEmpty(lpRect);
    }
}

CString CStatusBar::GetPaneText(int nIndex) const {
    AFX_STATUSPANE* pane = GetPanePtr(nIndex);
    return pane ? pane->strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
    AFX_STATUSPANE* pane = GetPanePtr(nIndex);
    if (!pane) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CString text(lpszNewText ? lpszNewText : u"");
    if (text == pane->strText) {
        return TRUE;
    }
    pane->strText = text;
    if (bUpdate && m_hWnd && !(pane->nStyle & SBPS_OWNERDRAW)) {
        LPCTSTR shown = (pane->nStyle & SBPS_DISABLED) ? nullptr : static_cast<LPCTSTR>(pane->strText);
        SendMessageW(SB_SETTEXTW, static_cast<WPARAM>(nIndex) | (pane->nStyle & kTypeBits),
                     reinterpret_cast<LPARAM>(shown));
    } else if (bUpdate && m_hWnd) {
        CRect rect;
        GetItemRect(nIndex, &rect);
        InvalidateRect(&rect);
    }
    return TRUE;
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    AFX_STATUSPANE* pane = GetPanePtr(nIndex);
    return pane ? pane->nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    AFX_STATUSPANE* pane = GetPanePtr(nIndex);
    if (!pane || pane->nStyle == nStyle) {
        return;
    }
    bool relayout = ((pane->nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    pane->nStyle = nStyle;
    if (m_hWnd) {
        LPCTSTR shown = (nStyle & SBPS_DISABLED) ? nullptr : static_cast<LPCTSTR>(pane->strText);
        SendMessageW(SB_SETTEXTW, static_cast<WPARAM>(nIndex) | (nStyle & kTypeBits),
                     (nStyle & SBPS_OWNERDRAW) ? static_cast<LPARAM>(nIndex)
                                               : reinterpret_cast<LPARAM>(shown));
        if (relayout) {
            UpdateAllPanes(TRUE, FALSE);
        }
    }
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    AFX_STATUSPANE* pane = GetPanePtr(nIndex);
    nID = pane ? pane->nID : 0;
    nStyle = pane ? pane->nStyle : 0;
    cxWidth = pane ? pane->cxText : 0;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    AFX_STATUSPANE* pane = GetPanePtr(nIndex);
    if (!pane) {
        return;
    }
    bool rects = pane->cxText != cxWidth || ((pane->nStyle ^ nStyle) & SBPS_STRETCH);
    pane->nID = nID;
    pane->cxText = cxWidth;
    SetPaneStyle(nIndex, nStyle);
    if (rects) {
        UpdateAllPanes(TRUE, FALSE);
    }
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult) {
            *pResult = TRUE;
        }
        return TRUE;
    }
    return CControlBar::OnChildNotify(message, wParam, lParam, pResult);
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    if (!m_hWnd) {
        return size;
    }
    int borders[3] = {0, 0, 0};
    SendMessageW(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    HDC dc = ::GetDC(m_hWnd);
    auto font = reinterpret_cast<HFONT>(SendMessageW(WM_GETFONT));
    HGDIOBJ old = ::SelectObject(dc, font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    int inner =
        std::max({static_cast<int>(tm.tmHeight) + 2, m_nMinHeight, ::GetSystemMetrics(SM_CYSMICON) + 2});
    size.cy += inner + 2 * borders[1];
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].nID;
        // Panes are only ever disabled by a handler, never for want of one.
        BOOL handled = state.DoUpdate(pTarget, FALSE);
        if (!handled) {
            int key = state.m_nID == ID_INDICATOR_CAPS   ? VK_CAPITAL
                      : state.m_nID == ID_INDICATOR_NUM  ? VK_NUMLOCK
                      : state.m_nID == ID_INDICATOR_SCRL ? VK_SCROLL
                                                         : 0;
            if (key) {
                state.Enable((::GetKeyState(key) & 1) != 0);
            }
        }
    }
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
    Default();
    (void)nType;
    (void)cx;
    (void)cy;
    UpdateAllPanes(TRUE, FALSE);
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    int index = CommandToIndex(ID_SEPARATOR);
    if (index < 0) {
        return FALSE;
    }
    return SetPaneText(index, reinterpret_cast<LPCTSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
    auto* buffer = reinterpret_cast<LPTSTR>(lParam);
    if (!buffer || wParam == 0) {
        return 0;
    }
    int index = CommandToIndex(ID_SEPARATOR);
    CString text = index >= 0 ? GetPaneText(index) : CString();
    size_t n = std::min<size_t>(static_cast<size_t>(text.GetLength()), wParam - 1);
    std::copy_n(static_cast<LPCTSTR>(text), n, buffer);
    buffer[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
    int index = CommandToIndex(ID_SEPARATOR);
    return index >= 0 ? GetPaneText(index).GetLength() : 0;
}

LRESULT CStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM) {
    m_nMinHeight = static_cast<int>(wParam);
    return Default();
}
