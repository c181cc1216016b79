#include "toolkit/SECProgressCtrl.h"

#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(SECProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(SECProgressCtrl, CProgressCtrl)
ON_WM_CREATE()
ON_WM_ERASEBKGND()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_SHOWWINDOW()
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

// Paints whatever is waiting, so that a long job on the GUI thread still shows its progress.
void PumpPaints() {
    MSG msg{};
    // Bounded: a window that never validates itself must not hold the caller here.
    for (int i = 0; i < 256 && ::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        ::DispatchMessageW(&msg);
    }
}

} // namespace

SECProgressCtrl::~SECProgressCtrl() {
    if (m_hWnd) {
        DestroyWindow();
    }
}

BOOL SECProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                             DWORD dwProgressStyle) {
    if (m_bCreated) {
        return FALSE;
    }
    m_dwProgressStyle = dwProgressStyle;
    m_bCreated = CProgressCtrl::Create(dwStyle, rect, pParentWnd, nID);
    return m_bCreated;
}

BOOL SECProgressCtrl::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (!CWnd::SubclassDlgItem(nID, pParent)) {
        return FALSE;
    }
    m_bCreated = TRUE;
    InitRect();
    return TRUE;
}

void SECProgressCtrl::SetRange(int nLower, int nUpper) {
    m_nLower = nLower;
    m_nUpper = nUpper;
    if (m_hWnd) {
        SendMessageW(PBM_SETRANGE32, static_cast<WPARAM>(nLower), static_cast<LPARAM>(nUpper));
    }
}

int SECProgressCtrl::SetPos(int nPos, BOOL bPump) {
    int previous = m_nPos;
    m_nPos = nPos;
    if (IsNative()) {
        return m_hWnd ? static_cast<int>(SendMessageW(PBM_SETPOS, static_cast<WPARAM>(nPos))) : previous;
    }
    if (m_bCreated && m_hWnd) {
        Invalidate();
        if (bPump) {
            PumpPaints();
        }
    }
    return previous;
}

int SECProgressCtrl::OffsetPos(int nDelta, BOOL bPump) {
    if (IsNative()) {
        int previous = m_nPos;
        m_nPos += nDelta;
        if (m_hWnd) {
            SendMessageW(PBM_DELTAPOS, static_cast<WPARAM>(nDelta));
        }
        return previous;
    }
    return SetPos(m_nPos + nDelta, bPump);
}

int SECProgressCtrl::SetStep(int nStep) {
    int previous = m_nStep;
    m_nStep = nStep;
    if (m_hWnd) {
        SendMessageW(PBM_SETSTEP, static_cast<WPARAM>(nStep));
    }
    return previous;
}

void SECProgressCtrl::SetColors(COLORREF clrBar, COLORREF clrBackground) {
    m_clrBar = clrBar;
    m_clrBackground = clrBackground;
    if (m_bCreated && m_hWnd) {
        Invalidate();
    }
}

void SECProgressCtrl::SetFont(CFont* pFont, BOOL bRedraw) {
    m_pFont = pFont;
    if (bRedraw && m_bCreated && m_hWnd) {
        Invalidate();
    }
}

void SECProgressCtrl::SetText(LPCTSTR lpszText) {
    m_strText = lpszText ? lpszText : u"";
}

CString SECProgressCtrl::GetText() const {
    return m_strText;
}

int SECProgressCtrl::StepIt(BOOL bPump) {
    if (IsNative()) {
        int previous = m_nPos;
        m_nPos += m_nStep;
        if (m_hWnd) {
            SendMessageW(PBM_STEPIT);
        }
        return previous;
    }
    return OffsetPos(m_nStep, bPump);
}

void SECProgressCtrl::Reset() {
    SetPos(m_nLower, TRUE);
    if (m_bCreated && m_hWnd) {
        InitRect();
        Invalidate();
    }
}

BOOL SECProgressCtrl::StartTimer(UINT nElapse) {
    if (m_nPos >= m_nUpper) {
        if (m_hWnd) {
            KillTimer(m_nTimerId);
        }
        m_bTimerRunning = FALSE;
        return FALSE;
    }
    if (nElapse == 0) {
        if (m_hWnd) {
            KillTimer(m_nTimerId);
        }
        m_bTimerRunning = FALSE;
        return TRUE;
    }
    UINT_PTR id = m_hWnd ? SetTimer(256, nElapse) : 0;
    if (id) {
        m_nTimerId = id;
    }
    m_bTimerRunning = id != 0;
    return m_bTimerRunning;
}

void SECProgressCtrl::InitRect() {
    if (m_hWnd) {
        GetClientRect(&m_rcClient);
    }
}

void SECProgressCtrl::DrawBar(CDC* pDC, const CRect& rect) {
    CBrush brush;
    brush.CreateSolidBrush(m_clrBar);
    pDC->FillRect(&rect, &brush);
}

void SECProgressCtrl::DrawBackground(CDC* pDC, const CRect& rect) {
    pDC->FillSolidRect(&rect, m_clrBackground);
}

double SECProgressCtrl::GetPercent() const {
    const int pos = std::clamp(m_nPos, std::min(m_nLower, m_nUpper), std::max(m_nLower, m_nUpper));
    const int span = m_nUpper == m_nLower ? 1 : m_nUpper - m_nLower;
    return static_cast<double>(pos - m_nLower) / span * 100.0;
}

BOOL SECProgressCtrl::CalcRects(double percent, CRect& rectBar, CRect& rectBackground) {
    const CRect& c = m_rcClient;
    const float p = static_cast<float>(percent) * 0.01f;
    rectBar = c;
    rectBackground = c;
    if (m_dwProgressStyle & SEC_PROG_VERTICAL) {
        const int h = static_cast<int>(p * static_cast<float>(c.Height()));
        if (m_dwProgressStyle & SEC_PROG_TOPTOBOTTOM) {
            rectBar.bottom = c.top + h;
            rectBackground.top = c.top + h;
        } else {
            rectBar.top = c.bottom - h;
            rectBackground.bottom = c.bottom - h;
        }
    } else {
        const int w = static_cast<int>(p * static_cast<float>(c.Width()));
        if (m_dwProgressStyle & SEC_PROG_RIGHTTOLEFT) {
            rectBar.left = c.right - w;
            rectBackground.right = c.right - w;
        } else {
            rectBar.right = c.left + w;
            rectBackground.left = c.left + w;
        }
    }
    return TRUE;
}

void SECProgressCtrl::DoPaint(CDC* pDC) {
    if (!m_bVisible) {
        return;
    }
    const double percent = GetPercent();
    CRect bar;
    CRect background;
    if (CalcRects(percent, bar, background)) {
        DrawOffscreen(percent, bar, background, pDC);
    }
}

void SECProgressCtrl::DrawOffscreen(double percent, const CRect& rectBar, const CRect& rectBackground,
                                    CDC* pDC) {
    CDC memory;
    if (!memory.CreateCompatibleDC(pDC)) {
        return;
    }
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(pDC, m_rcClient.Width(), m_rcClient.Height())) {
        return;
    }
    CBitmap* old = memory.SelectObject(&bitmap);
    DrawBackground(&memory, rectBackground);
    DrawBar(&memory, rectBar);
    DrawProgressText(&memory, percent, rectBackground, rectBar);
    pDC->BitBlt(m_rcClient.left, m_rcClient.top, m_rcClient.Width(), m_rcClient.Height(), &memory, 0, 0,
                SRCCOPY);
    memory.SelectObject(old);
}

void SECProgressCtrl::DrawProgressText(CDC* pDC, double percent, const CRect& rectBackground,
                                       const CRect& rectBar) {
    CString text;
    if (m_dwProgressStyle & SEC_PROG_PERCENT) {
        text.Format(u"%d %%", std::min(static_cast<int>(std::trunc(percent + 0.5)), 100));
    } else if (m_dwProgressStyle & SEC_PROG_TEXT) {
        text = m_strText;
    } else {
        return;
    }
    OnBeforeDrawText(text);
    CFont* oldFont = m_pFont ? pDC->SelectObject(m_pFont) : nullptr;
    UINT format = DT_SINGLELINE | DT_VCENTER;
    format |= (m_dwProgressStyle & SEC_PROG_TEXTLEFT)    ? DT_LEFT
              : (m_dwProgressStyle & SEC_PROG_TEXTRIGHT) ? DT_RIGHT
                                                         : DT_CENTER;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CRect whole = m_rcClient;
    CRgn overBar;
    CRgn overBackground;
    overBar.CreateRectRgnIndirect(&rectBar);
    overBackground.CreateRectRgnIndirect(&rectBackground);
    pDC->SelectClipRgn(&overBar);
    COLORREF oldColour = pDC->SetTextColor(m_clrBackground);
    pDC->DrawTextW(text, &whole, format);
    pDC->SelectClipRgn(&overBackground);
    pDC->SetTextColor(m_clrBar);
    whole = m_rcClient;
    pDC->DrawTextW(text, &whole, format);
    pDC->SelectClipRgn(nullptr);
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    if (oldFont) {
        pDC->SelectObject(oldFont);
    }
}

void SECProgressCtrl::SetProgressStyle(DWORD dwProgressStyle) {
    const bool nativeOn = !IsNative() && (dwProgressStyle & SEC_PROG_NATIVE);
    m_dwProgressStyle = dwProgressStyle;
    if (nativeOn && m_hWnd) {
        SendMessageW(PBM_SETPOS, static_cast<WPARAM>(m_nPos));
    }
    if (m_hWnd) {
        Invalidate();
    }
}

int SECProgressCtrl::OnCreate(LPCREATESTRUCT) {
    if (Default() == -1) {
        return -1;
    }
    InitRect();
    return 0;
}

BOOL SECProgressCtrl::OnEraseBkgnd(CDC*) {
    return IsNative() ? static_cast<BOOL>(Default()) : TRUE;
}

void SECProgressCtrl::OnPaint() {
    if (IsNative()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    DoPaint(&dc);
}

void SECProgressCtrl::OnSize(UINT, int, int) {
    Default();
    InitRect();
}

void SECProgressCtrl::OnShowWindow(BOOL bShow, UINT) {
    m_bVisible = bShow;
    Default();
}

void SECProgressCtrl::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == m_nTimerId) {
        StepIt(TRUE);
        if (m_nPos >= m_nUpper) {
            KillTimer(m_nTimerId);
            m_bTimerRunning = FALSE;
        }
    }
    Default();
}
