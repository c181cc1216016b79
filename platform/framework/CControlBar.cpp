#include "platform/framework/CControlBar.h"

#include "platform/controls/CommonControls.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CDockContext.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/gdi/UserDraw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

namespace {
constexpr int kGripper = 7; // the gripper and the gap after it
}

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONDBLCLK()
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
    delete m_pDockContext;
    m_pDockContext = nullptr;
    if (m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
    }
    std::free(m_pData);
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL CControlBar::AllocElements(int nElements, int cbElement) {
    std::free(m_pData);
    m_pData = nullptr;
    m_nCount = 0;
    if (nElements < 0 || cbElement <= 0) {
        return nElements == 0;
    }
    if (nElements > 0) {
        m_pData = std::calloc(static_cast<std::size_t>(nElements), static_cast<std::size_t>(cbElement));
        if (!m_pData) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
    }
    m_nCount = nElements;
    return TRUE;
}

BOOL CControlBar::CreateBar(DWORD dwExStyle, LPCTSTR lpszClassName, DWORD dwStyle, const RECT& rect,
                            CWnd* pParentWnd, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    if (!lpszClassName) {
        AfxEndDeferRegisterClass();
        lpszClassName =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    }
    dwStyle &= ~static_cast<DWORD>(CBRS_ALL);
    dwStyle |= WS_CLIPSIBLINGS;
    if (!CreateEx(dwExStyle, lpszClassName, nullptr, dwStyle, rect, pParentWnd, nID)) {
        return FALSE;
    }
    SetOwner(pParentWnd);
    return TRUE;
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs) {
    if (CWnd::OnCreate(lpcs) == -1) {
        return -1;
    }
    // The frame that holds the bar keeps it in its list (a floating frame's bars belong to its owner).
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        if (CWnd* owner = pFrame->GetOwner(); owner && owner->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
            pFrame = static_cast<CFrameWnd*>(owner);
        }
    }
    if (pFrame) {
        m_pDockSite = pFrame;
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy() {
    if (m_pDockBar && ::IsWindow(m_pDockBar->m_hWnd)) {
        m_pDockBar->RemoveControlBar(this);
    }
    m_pDockBar = nullptr;
    CWnd::OnDestroy();
}

BOOL CControlBar::DestroyWindow() {
    // Destroyed on its own, the bar would leave its frame empty during its WM_DESTROY; the frame then goes
    // and takes the bar, still its child, down a second time.
    if (m_hWnd && m_pDockBar && m_pDockBar->m_bFloating && m_pDockBar->GetDockedCount() <= 1) {
        if (CWnd* pFrame = m_pDockBar->GetParent()) {
            return pFrame->DestroyWindow();
        }
    }
    return CWnd::DestroyWindow();
}

void CControlBar::PostNcDestroy() {
    if (m_bAutoDelete) {
        delete this;
    }
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
    dwStyle &= CBRS_ALL;
    if (m_dwStyle != dwStyle) {
        DWORD old = m_dwStyle;
        m_dwStyle = dwStyle;
        OnBarStyleChange(old, dwStyle);
    }
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

CFrameWnd* CControlBar::GetDockingFrame() const {
    CFrameWnd* pFrame = GetParentFrame();
    return pFrame ? pFrame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const {
    return m_pDockBar && m_pDockBar->m_bFloating;
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext) {
        m_pDockContext = new CDockContext(this);
    }
    if (m_hWndOwner == nullptr) {
        SetOwner(GetParent());
    }
}

BOOL CControlBar::EnableToolTips(BOOL bEnable) {
    if (bEnable) {
        m_dwStyle |= CBRS_TOOLTIPS;
    } else {
        m_dwStyle &= ~static_cast<DWORD>(CBRS_TOOLTIPS);
    }
    return TRUE;
}

int CControlBar::GripperSize() const {
    return (m_dwStyle & CBRS_GRIPPER) && !IsFloating() ? kGripper : 0;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    DWORD style = m_dwStyle;
    int edge = (style & CBRS_BORDER_3D) ? 2 : 1;
    if (style & CBRS_BORDER_LEFT)
        rect.left += edge;
    if (style & CBRS_BORDER_TOP)
        rect.top += edge;
    if (style & CBRS_BORDER_RIGHT)
        rect.right -= edge;
    if (style & CBRS_BORDER_BOTTOM)
        rect.bottom -= edge;
    if (bHorz) {
        rect.left += m_cxLeftBorder + GripperSize();
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder + GripperSize();
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    CSize size(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, bHorz);
    // The borders count across the bar (and along it when it does not stretch).
    if (!bStretch || !bHorz)
        size.cx += rect.left - rect.right;
    if (!bStretch || bHorz)
        size.cy += rect.top - rect.bottom;
    return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

BOOL CControlBar::IsVisible() const {
    if (m_nStateFlags & delayHide) {
        return FALSE;
    }
    return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

void CControlBar::DelayShow(BOOL bShow) {
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    if (bShow && !(GetStyle() & WS_VISIBLE)) {
        m_nStateFlags |= delayShow;
    } else if (!bShow && (GetStyle() & WS_VISIBLE)) {
        m_nStateFlags |= delayHide;
    }
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) {
    DWORD style = GetStyle() & WS_VISIBLE;
    if (m_nStateFlags & (delayHide | delayShow)) {
        bool show = (m_nStateFlags & delayShow) != 0;
        m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
        if (lpLayout && lpLayout->hDWP) {
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                               (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        }
        style = show ? WS_VISIBLE : 0;
    }
    return style | m_dwStyle;
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam) {
    auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD dwStyle = RecalcDelayShow(lpLayout);
    if (!(dwStyle & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY)) {
        return 0;
    }
    CRect rect(lpLayout->rect);
    CSize avail = rect.Size();
    DWORD mode = lpLayout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING)) {
        mode |= LM_HORZ | LM_MRUWIDTH;
    } else if (dwStyle & CBRS_ORIENT_HORZ) {
        mode |= LM_HORZ | LM_HORZDOCK;
    } else {
        mode |= LM_VERTDOCK;
    }
    CSize size = CalcDynamicLayout(-1, mode);
    size.cx = std::min(size.cx, avail.cx);
    size.cy = std::min(size.cy, avail.cy);
    if (dwStyle & CBRS_ORIENT_HORZ) {
        lpLayout->sizeTotal.cy += size.cy;
        lpLayout->sizeTotal.cx = std::max(lpLayout->sizeTotal.cx, size.cx);
        if (dwStyle & CBRS_ALIGN_TOP) {
            lpLayout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            lpLayout->rect.bottom -= size.cy;
        }
    } else {
        lpLayout->sizeTotal.cx += size.cx;
        lpLayout->sizeTotal.cy = std::max(lpLayout->sizeTotal.cy, size.cy);
        if (dwStyle & CBRS_ALIGN_LEFT) {
            lpLayout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            lpLayout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    AfxRepositionWindow(lpLayout, m_hWnd, &rect);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (!(GetStyle() & WS_VISIBLE)) {
        return 0;
    }
    // The frame the commands go to: the docking frame, also for a bar floating in a mini frame.
    CFrameWnd* pTarget = m_pDockSite;
    if (!pTarget) {
        pTarget = GetParentFrame();
    }
    if (pTarget) {
        OnUpdateCmdUI(pTarget, static_cast<BOOL>(wParam));
    }
    return 0;
}

void CControlBar::UpdateFlyby(UINT message, LPARAM lParam) {
    UINT id = 0;
    if (message == WM_MOUSEMOVE) {
        INT_PTR hit = OnToolHitTest(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), nullptr);
        id = hit > 0 ? static_cast<UINT>(hit) : 0;
        if (id && !m_nFlybyID) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hWnd, 0};
            ::TrackMouseEvent(&tme);
        }
    }
    if (id == m_nFlybyID) {
        return;
    }
    m_nFlybyID = id;
    CWnd* target = m_pDockSite ? static_cast<CWnd*>(m_pDockSite) : GetOwner();
    if (target && target->m_hWnd) {
        target->SendMessageW(WM_SETMESSAGESTRING, id ? id : AFX_IDS_IDLEMESSAGE);
    }
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if ((message == WM_MOUSEMOVE || message == WM_MOUSELEAVE) && (m_dwStyle & CBRS_FLYBY)) {
        UpdateFlyby(message, lParam);
    }
    switch (message) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) {
            return result;
        }
        CWnd* owner = GetOwner();
        if (owner && owner->m_hWnd != m_hWnd) {
            result = owner->SendMessageW(message, wParam, lParam);
        }
        if (hdr && hdr->code == TTN_NEEDTEXTW) {
            // Nobody answered: the tip is the part of the command's string after the newline.
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            bool answered = (info->lpszText && info->lpszText != info->szText) || info->szText[0] != 0;
            if (!answered) {
                UINT id = static_cast<UINT>(hdr->idFrom);
                CString full;
                CString tip;
                if (id != 0 && full.LoadString(id)) {
                    AfxExtractSubString(tip, full, 1);
                }
                std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(tip.GetLength()), 79);
                std::memcpy(info->szText, static_cast<LPCTSTR>(tip), n * sizeof(WCHAR));
                info->szText[n] = 0;
                info->lpszText = info->szText;
            }
        }
        return result;
    }
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // What the bar's controls tell their parent goes on to the owner, the frame.
        LRESULT result = 0;
        if (message != WM_COMMAND && OnWndMsg(message, wParam, lParam, &result)) {
            return result;
        }
        if (message == WM_COMMAND && lParam && reinterpret_cast<HWND>(lParam) != m_hWnd &&
            ReflectLastMsg(reinterpret_cast<HWND>(lParam), &result)) {
            return result;
        }
        CWnd* owner = GetOwner();
        if (owner && owner->m_hWnd != m_hWnd) {
            return owner->SendMessageW(message, wParam, lParam);
        }
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    CRect rect(lpncsp->rgrc[0]);
    // Only the edges and the gripper are non-client; the inner margins are the control's own client.
    int edge = (m_dwStyle & CBRS_BORDER_3D) ? 2 : 1;
    CRect nc(0, 0, 0, 0);
    if (m_dwStyle & CBRS_BORDER_LEFT)
        nc.left += edge;
    if (m_dwStyle & CBRS_BORDER_TOP)
        nc.top += edge;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        nc.right += edge;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        nc.bottom += edge;
    if (m_dwStyle & CBRS_ORIENT_VERT && !(m_dwStyle & CBRS_ORIENT_HORZ) && !IsFloating()) {
        nc.top += GripperSize();
    } else {
        nc.left += GripperSize();
    }
    rect.left += nc.left;
    rect.top += nc.top;
    rect.right = std::max(rect.left, rect.right - nc.right);
    rect.bottom = std::max(rect.top, rect.bottom - nc.bottom);
    lpncsp->rgrc[0] = rect;
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY)) {
        return;
    }
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (style & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), shadow);
    if (style & CBRS_BORDER_TOP)
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
    if (style & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), shadow);
    if (style & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, shadow);
    if (style & CBRS_BORDER_3D) {
        // The inner line of a 3D border catches the light.
        if (style & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), light);
        if (style & CBRS_BORDER_TOP)
            pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, light);
        if (style & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), light);
        if (style & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, light);
    }
    int edge = (style & CBRS_BORDER_3D) ? 2 : 1;
    if (style & CBRS_BORDER_LEFT)
        rect.left += edge;
    if (style & CBRS_BORDER_TOP)
        rect.top += edge;
    if (style & CBRS_BORDER_RIGHT)
        rect.right -= edge;
    if (style & CBRS_BORDER_BOTTOM)
        rect.bottom -= edge;
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
    if (GripperSize() == 0) {
        return;
    }
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if ((m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_ORIENT_HORZ)) {
        pDC->Draw3dRect(rect.left + 2, rect.top + 2, rect.Width() - 4, 3, light, shadow);
    } else {
        pDC->Draw3dRect(rect.left + 2, rect.top + 2, 3, rect.Height() - 4, light, shadow);
    }
}

void CControlBar::OnNcPaint() {
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    CRect origin;
    GetWindowRect(&origin);
    client.OffsetRect(-origin.left, -origin.top);
    dc.ExcludeClipRect(&client);
    dc.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
    CRect rect = window;
    DrawBorders(&dc, rect);
    DrawGripper(&dc, rect);
}

void CControlBar::DoPaint(CDC*) {}

void CControlBar::OnPaint() {
    // Bars over a control leave the client to it.
    if (m_pfnSuper) {
        Default();
        return;
    }
    CPaintDC dc(this);
    DoPaint(&dc);
}

BOOL CControlBar::OnEraseBkgnd(CDC* pDC) {
    if (m_pfnSuper) {
        return static_cast<BOOL>(Default());
    }
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

INT_PTR CControlBar::OnToolHitTest(CPoint, TOOLINFO*) const {
    return -1;
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point) {
    // Pressing on the bar (not on one of its buttons) starts dragging it.
    if (m_pDockContext && m_pDockBar && OnToolHitTest(point, nullptr) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    (void)nFlags;
    Default();
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pDockContext && m_pDockBar && OnToolHitTest(point, nullptr) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    (void)nFlags;
    Default();
}
