// The GDI objects a paint needs, cached by their packed values between paints, the selection of the
// zoomed fonts that cells draw with, and the grid's DC for work outside a paint.
#include "grid/CGXBrushValue.h"
#include "grid/CGXFont.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXGridParam.h"
#include "grid/CGXLongOperation.h"
#include "grid/CGXPenValue.h"
#include "grid/CGXStyle.h"
#include "grid/GridDrawTable.h"
#include "grid/GridLibraryState.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CWnd.h"
#include "platform/gdi/Gdi.h"

#include <cstring>
#include <memory>

namespace {

ULONGLONG Key(DWORD low, DWORD high) {
    return (static_cast<ULONGLONG>(high) << 32) | low;
}

} // namespace

CFont* CGXGridCore::GetFont(const CGXFont& font) {
    std::unique_ptr<CFont>& entry = m_fontCache[font.GetKey()];
    if (!entry || !entry->m_hObject) {
        entry = std::make_unique<CFont>();
        entry->CreateFontIndirect(&font.GetLogFont());
    }
    return entry->m_hObject ? entry.get() : nullptr;
}

CBrush* CGXGridCore::GetBrush(const CGXBrushValue& brush) {
    std::unique_ptr<CBrush>& entry = m_brushCache[Key(brush.GetWord0(), brush.GetWord1())];
    if (!entry || !entry->m_hObject) {
        entry = std::make_unique<CBrush>();
        LOGBRUSH logBrush{};
        brush.GetLogBrushValues(logBrush);
        entry->CreateBrushIndirect(&logBrush);
    }
    return entry->m_hObject ? entry.get() : nullptr;
}

CPen* CGXGridCore::GetPen(const CGXPenValue& pen) {
    std::unique_ptr<CPen>& entry = m_penCache[Key(pen.GetWord0(), pen.GetWord1())];
    if (!entry || !entry->m_hObject) {
        entry = std::make_unique<CPen>();
        LOGPEN logPen{};
        pen.GetLogPenValues(logPen);
        entry->CreatePenIndirect(&logPen);
    }
    return entry->m_hObject ? entry.get() : nullptr;
}

void CGXGridCore::FreeGdiCache() {
    ReleaseGridDC(); // its font comes from the cache
    m_fontCache.clear();
    m_brushCache.clear();
    m_penCache.clear();
}

CFont* CGXGridCore::SelectZoomedFont(CDC* dc, const CGXFont& font) {
    CGXFont zoomed(font);
    zoomed.SetSize(font.GetSize() * GetZoom() * 0.01);
    CFont* gdiFont = GetFont(zoomed);
    return gdiFont ? dc->SelectObject(gdiFont) : nullptr;
}

CFont* CGXGridCore::LoadFont(CDC* dc, const CGXStyle* style, const CGXStyle* standard) {
    if (!style || !style->GetIncludeFont()) {
        return nullptr;
    }
    if (standard && standard->GetIncludeFont() &&
        std::memcmp(&style->GetFont().GetLogFont(), &standard->GetFont().GetLogFont(), sizeof(LOGFONTW)) == 0) {
        return nullptr;
    }
    return SelectZoomedFont(dc, style->GetFont());
}

CDC* CGXGridCore::GetGridDC() {
    if (m_nDrawingDepth > 0 && m_pDrawTable) {
        return m_pDrawTable->dc;
    }
    if (!m_pClientDC && m_pGridWnd && m_pGridWnd->GetSafeHwnd()) {
        m_pClientDC = std::make_unique<CClientDC>(m_pGridWnd);
        PrepareDC(m_pClientDC.get());
        m_pOldGridDCFont = m_pStandardStyle && m_pStandardStyle->GetIncludeFont()
                               ? SelectZoomedFont(m_pClientDC.get(), m_pStandardStyle->GetFont())
                               : nullptr;
    }
    return m_pClientDC.get();
}

void CGXGridCore::ReleaseGridDC() {
    // A long operation keeps its DC: it would be made again for every cell.
    if (!m_pClientDC || m_nDrawingDepth > 0 || GetLongOperationState().level > 0) {
        return;
    }
    if (m_pOldGridDCFont) {
        m_pClientDC->SelectObject(m_pOldGridDCFont);
        m_pOldGridDCFont = nullptr;
    }
    m_pClientDC.reset();
}

void CGXGridCore::PrepareDC(CDC* dc, BOOL printing) {
    if (printing) {
        // Drawn in screen pixels, scaled to the printer's resolution.
        HDC screen = ::GetDC(nullptr);
        const int screenX = ::GetDeviceCaps(screen, LOGPIXELSX);
        const int screenY = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        dc->SetMapMode(MM_ANISOTROPIC);
        dc->SetWindowExt(screenX, screenY);
        dc->SetViewportExt(dc->GetDeviceCaps(LOGPIXELSX), dc->GetDeviceCaps(LOGPIXELSY));
        return;
    }
    CGXAbstractPrintDeviceImp* printer = GridLibraryState::Instance().printDeviceImp;
    if (!m_pParam || !m_pParam->m_bUsePrinterMetrics || !printer || !m_pParam->GetPrintDevice()) {
        return;
    }
    CDC* printerDC = printer->GetPrinterDC(m_pParam->GetPrintDevice());
    if (!printerDC || !printerDC->GetSafeHdc()) {
        return;
    }
    // Measured as printed, drawn on the screen at the same scale.
    dc->SetAttribDC(printerDC->GetSafeHdc());
    HDC screen = ::GetDC(nullptr);
    const int screenX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int screenY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    ::SetMapMode(dc->GetSafeHdc(), MM_ANISOTROPIC);
    ::SetWindowExtEx(dc->GetSafeHdc(), screenX, screenY, nullptr);
    ::SetViewportExtEx(dc->GetSafeHdc(), ::GetDeviceCaps(dc->GetSafeHdc(), LOGPIXELSX),
                       ::GetDeviceCaps(dc->GetSafeHdc(), LOGPIXELSY), nullptr);
}
