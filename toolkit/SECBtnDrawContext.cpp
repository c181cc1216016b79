#include "toolkit/SECBtnDrawContext.h"

#include "platform/base/Exceptions.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECCustomToolBar.h"

SECBtnDrawContext::SECBtnDrawContext() {
    CClientDC screen(nullptr);
    if (!m_dcMask.CreateCompatibleDC(&screen) || !m_dcImage.CreateCompatibleDC(&screen) ||
        !m_dcBuffer.CreateCompatibleDC(&screen) || !MakeDitherBrush()) {
        AfxThrowResourceException();
    }
}

SECBtnDrawContext::~SECBtnDrawContext() {
    Release();
}

BOOL SECBtnDrawContext::MakeDitherBrush() {
    // An 8 x 8 checkerboard: colour 0 button face, colour 1 button highlight.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
        DWORD rows[8];
    } dib{};
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = 8;
    dib.header.biHeight = 8;
    dib.header.biPlanes = 1;
    dib.header.biBitCount = 1;
    const ToolkitMetrics& m = SECGetToolkitMetrics();
    auto quad = [](COLORREF c) { return RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0}; };
    dib.colors[0] = quad(m.clrBtnFace);
    dib.colors[1] = quad(m.clrBtnHilite);
    for (int i = 0; i < 8; ++i) {
        dib.rows[i] = (i % 2) ? 0x55 : 0xAA;
    }
    HBRUSH hbr = ::CreateDIBPatternBrushPt(&dib, DIB_RGB_COLORS);
    return hbr && m_brDither.Attach(hbr);
}

void SECBtnDrawContext::RenewDitherBrush() {
    m_brDither.DeleteObject();
    MakeDitherBrush();
}

BOOL SECBtnDrawContext::Prepare(CDC& barDC, int cx, const SECCustomToolBar& toolBar) {
    Release();
    int cy = toolBar.GetButtonHeight();
    if (cx <= 0 || cy <= 0 || !m_bmBuffer.CreateCompatibleBitmap(&barDC, cx, cy) ||
        !m_bmMask.CreateBitmap(cx, cy, 1, 1, nullptr)) {
        Release();
        return FALSE;
    }
    m_hbmOldBuffer = static_cast<HBITMAP>(::SelectObject(m_dcBuffer.m_hDC, m_bmBuffer.m_hObject));
    m_hbmOldMask = static_cast<HBITMAP>(::SelectObject(m_dcMask.m_hDC, m_bmMask.m_hObject));
    return TRUE;
}

void SECBtnDrawContext::SelectImageStrip(HBITMAP hbmStrip) {
    if (hbmStrip == m_hbmStrip) {
        return;
    }
    HBITMAP old = static_cast<HBITMAP>(::SelectObject(m_dcImage.m_hDC, hbmStrip));
    if (!m_hbmOldImage) {
        m_hbmOldImage = old;
    }
    m_hbmStrip = hbmStrip;
}

void SECBtnDrawContext::Release() {
    if (m_hbmOldImage) {
        ::SelectObject(m_dcImage.m_hDC, m_hbmOldImage);
        m_hbmOldImage = nullptr;
    }
    m_hbmStrip = nullptr;
    if (m_hbmOldBuffer) {
        ::SelectObject(m_dcBuffer.m_hDC, m_hbmOldBuffer);
        m_hbmOldBuffer = nullptr;
    }
    if (m_hbmOldMask) {
        ::SelectObject(m_dcMask.m_hDC, m_hbmOldMask);
        m_hbmOldMask = nullptr;
    }
    m_bmBuffer.DeleteObject();
    m_bmMask.DeleteObject();
}
