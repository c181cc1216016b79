// The GDI objects a paint needs, cached by their packed values between paints, and the selection of the
// zoomed fonts that cells draw with.
#include "grid/CGXBrushValue.h"
#include "grid/CGXFont.h"
#include "grid/CGXGridCore.h"
#include "grid/CGXPenValue.h"
#include "grid/CGXStyle.h"
#include "grid/GridLibraryState.h"
#include "platform/framework/CGdiObject.h"

#include <cstring>

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
