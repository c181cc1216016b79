#include "toolkit/SECGradientCaption.h"

#include "platform/framework/CGdiObject.h"

#include <algorithm>

namespace SECGradientCaption {

void GradientFill(CDC* pDC, const CRect& rect, int nSteps, COLORREF start, COLORREF end) {
    const int width = rect.Width();
    if (width <= 0 || nSteps <= 0) {
        return;
    }
    nSteps = std::min(nSteps, width);
    const int stepWidth = width / nSteps;
    const int from[3] = {GetRValue(start), GetGValue(start), GetBValue(start)};
    const int to[3] = {GetRValue(end), GetGValue(end), GetBValue(end)};
    int value[3];
    int delta[3];
    for (int c = 0; c < 3; ++c) {
        value[c] = from[c] << 8;
        delta[c] = ((to[c] - from[c]) * 256) / nSteps;
    }
    for (int i = 0; i < nSteps; ++i) {
        const int left = rect.left + i * stepWidth;
        const int right = i == nSteps - 1 ? rect.right : left + stepWidth + 1;
        pDC->FillSolidRect(CRect(left, rect.top, right, rect.bottom),
                           RGB(value[0] >> 8, value[1] >> 8, value[2] >> 8));
        for (int c = 0; c < 3; ++c) {
            value[c] += delta[c];
            value[c] = delta[c] >= 0 ? std::min(value[c], to[c] << 8) : std::max(value[c], to[c] << 8);
        }
    }
}

void SplitText(const CString& text, CString& first, CString& rest) {
    const int hyphen = text.Find(u'-');
    if (hyphen < 0) {
        first = text;
        rest.Empty();
        return;
    }
    first = text.Left(hyphen);
    rest = text.Mid(hyphen);
}

CRect CaptionRect(int width, DWORD style, BOOL bClose) {
    CRect rect;
    rect.left = ::GetSystemMetrics(SM_CXFRAME);
    rect.top = ::GetSystemMetrics(SM_CYFRAME) - ((style & WS_THICKFRAME) ? 0 : 1);
    rect.right = width - ::GetSystemMetrics(SM_CXSIZE) - 1;
    rect.bottom = rect.top + ::GetSystemMetrics(SM_CYSIZE);
    const int d = ((style & WS_MAXIMIZEBOX) ? 1 : 0) + ((style & WS_MINIMIZEBOX) ? 1 : 0);
    const int c = bClose ? 1 : 0;
    rect.right +=
        ::GetSystemMetrics(SM_CXBORDER) - (d - (1 - c)) * ::GetSystemMetrics(SM_CXSIZE) - (d > 0 ? 1 : 0);
    return rect;
}

namespace {

BOOL MakeCaptionFont(CFont& font, BOOL bItalic) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        return FALSE;
    }
    metrics.lfCaptionFont.lfItalic = bItalic ? TRUE : FALSE;
    return font.CreateFontIndirect(&metrics.lfCaptionFont);
}

} // namespace

void Draw(CDC* pDC, const CRect& rect, CWnd* pWnd, BOOL bActive, int nAlignment) {
    CRect rest = rect;
    const int cx = ::GetSystemMetrics(SM_CXSIZE);
    if (pWnd->GetStyle() & WS_SYSMENU) {
        CRect cell(rect.left, rect.top, rect.left + cx, rect.top + ::GetSystemMetrics(SM_CYSIZE));
        pDC->FillSolidRect(&cell, bActive ? RGB(0, 0, 0) : ::GetSysColor(COLOR_INACTIVECAPTION));
        auto icon =
            reinterpret_cast<HICON>(::GetClassLongPtrW(pWnd->m_hWnd, cx < 30 ? GCLP_HICONSM : GCLP_HICON));
        if (icon) {
            ::DrawIconEx(pDC->m_hDC, cell.left + 2, cell.top + 1, icon, cell.Width() - 2, cell.Height() - 2,
                         0, nullptr, DI_NORMAL);
        }
        rest.left = cell.right;
    }
    if (bActive) {
        CRect gradient = rest;
        gradient.bottom += 1;
        GradientFill(pDC, gradient, kSteps, RGB(0, 0, 0), ::GetSysColor(COLOR_ACTIVECAPTION));
    } else {
        pDC->FillSolidRect(&rest, ::GetSysColor(COLOR_INACTIVECAPTION));
    }
    CString text;
    pWnd->GetWindowTextW(text);
    CString first;
    CString second;
    SplitText(text, first, second);
    CFont italic;
    CFont normal;
    if (!MakeCaptionFont(italic, TRUE) || !MakeCaptionFont(normal, FALSE)) {
        return;
    }
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(255, 255, 255));
    CFont* old = pDC->SelectObject(&italic);
    const int firstWidth = pDC->GetTextExtent(first).cx;
    const int roomNeeded = firstWidth + pDC->GetTextExtent(CString(u"W...")).cx;
    const int left = rest.left + 3;
    const bool drawRest = !second.IsEmpty() && rest.right - left >= roomNeeded;
    pDC->SelectObject(&normal);
    const int restWidth = drawRest ? pDC->GetTextExtent(second).cx : 0;
    int x = left;
    if (nAlignment == 1) {
        x = std::max(left, left + (rest.right - left - firstWidth - restWidth) / 2);
    } else if (nAlignment != 0) {
        x = std::max(left, static_cast<int>(rest.right) - firstWidth - restWidth);
    }
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    pDC->SelectObject(&italic);
    CRect textRect(x, rest.top, rest.right, rest.bottom);
    pDC->DrawText(first, &textRect, format);
    if (drawRest) {
        pDC->SelectObject(&normal);
        if (!bActive) {
            pDC->SetTextColor(::GetSysColor(COLOR_INACTIVECAPTIONTEXT));
        }
        textRect.left = x + firstWidth;
        pDC->DrawText(second, &textRect, format);
    }
    pDC->SelectObject(old);
}

} // namespace SECGradientCaption
