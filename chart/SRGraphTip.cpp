#include "chart/SRGraphTip.h"

#include "platform/base/WideRuntime.h"
#include "platform/display/SystemMetrics.h"

#include <algorithm>
#include <cstdarg>
#include <vector>

BEGIN_MESSAGE_MAP(SRGraphTip, CWnd)
ON_WM_PAINT()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
constexpr COLORREF kTipColour = 0xDFFFFF;
constexpr size_t kFormatMax = 1024;

std::vector<CString> SplitLines(const CString& text) {
    std::vector<CString> lines;
    int start = 0;
    for (int at = text.Find(u'\n'); at >= 0; at = text.Find(u'\n', start)) {
        lines.push_back(text.Mid(start, at - start));
        start = at + 1;
    }
    lines.push_back(text.Mid(start));
    return lines;
}
} // namespace

SRGraphTip::~SRGraphTip() {
    if (m_hWnd) {
        DestroyWindow();
    }
    if (m_hBackground) {
        ::DeleteObject(m_hBackground);
    }
}

void SRGraphTip::ShowFormat(int x, int y, CWnd* parent, LPCTSTR format, ...) {
    TCHAR buffer[kFormatMax + 1] = {0};
    va_list args;
    va_start(args, format);
    _vsnwprintf(buffer, kFormatMax, format, args);
    va_end(args);
    buffer[kFormatMax] = 0;
    Show(buffer, x, y, parent);
}

void SRGraphTip::Show(const CString& text, int x, int y, CWnd* parent) {
    if (m_bShown && m_hWnd) {
        ShowWindow(SW_HIDE);
        UpdateWindow();
    } else {
        if (!m_hBackground) {
            m_hBackground = ::CreateSolidBrush(kTipColour);
            m_strClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_SAVEBITS | CS_BYTEALIGNCLIENT, nullptr,
                                             m_hBackground, nullptr);
        }
        if (!CreateEx(WS_EX_WINDOWEDGE, m_strClass, u"", WS_POPUP, CRect(0, 0, 0, 0), parent, 0)) {
            return;
        }
    }
    m_strText = text;
    m_x = x;
    m_y = y;

    CWnd* desktop = CWnd::GetDesktopWindow();
    HDC dc = ::GetDC(desktop ? desktop->GetSafeHwnd() : nullptr);
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    int width = 0, height = 0;
    const std::vector<CString> lines = SplitLines(text);
    for (const CString& line : lines) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, line, line.GetLength(), &size);
        width = std::max<int>(width, size.cx);
        height = size.cy;
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(desktop ? desktop->GetSafeHwnd() : nullptr, dc);
    width = std::max(width, 4);

    const int windowWidth = width + 4 * GetSystemMetrics(SM_CXBORDER);
    const int windowHeight = height * static_cast<int>(lines.size()) + 4 * GetSystemMetrics(SM_CYBORDER);
    CRect desktopRect;
    if (desktop) {
        desktop->GetClientRect(&desktopRect);
    }
    const int left = x + windowWidth >= desktopRect.Width() ? x - windowWidth : x;
    const int top = y - windowHeight - 5 > 0 ? y - windowHeight - 5 : y + windowHeight + 5;
    MoveWindow(left, top, windowWidth, windowHeight, TRUE);
    ShowWindow(SW_SHOWNOACTIVATE);
    UpdateWindow();
    m_bShown = TRUE;
    if (m_nAutoHide > 0) {
        SetTimer(kHideTimer, static_cast<UINT>(m_nAutoHide));
    }
}

void SRGraphTip::Hide() {
    if (m_bShown) {
        if (m_hWnd) {
            DestroyWindow();
        }
        m_bShown = FALSE;
    }
}

void SRGraphTip::OnPaint() {
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    CBrush background(kTipColour);
    dc.FillRect(&r, &background);
    dc.FrameRect(&r, CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH))));
    CFont* oldFont = dc.SelectObject(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
    dc.SetTextColor(RGB(0, 0, 0));
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const int lineHeight = dc.GetTextExtent(u"A", 1).cy;
    int y = 2 * GetSystemMetrics(SM_CYBORDER);
    for (const CString& line : SplitLines(m_strText)) {
        CRect band(r.left, y, r.right, y + lineHeight);
        dc.DrawTextW(line, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        y += lineHeight;
    }
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void SRGraphTip::OnMouseMove(UINT, CPoint) {
    Hide();
}

void SRGraphTip::OnTimer(UINT_PTR id) {
    if (id == kHideTimer) {
        KillTimer(kHideTimer);
        Hide();
    }
}
