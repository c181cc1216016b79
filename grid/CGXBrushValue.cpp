#include "grid/CGXBrushValue.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"

#include <cstdint>

CGXBrushValue::CGXBrushValue() = default;

CGXBrushValue& CGXBrushValue::SetColor(COLORREF color) {
    const GridStoredColor stored = StoreGridColor(color);
    m_word0 = (m_word0 & 0xCF) | (stored.kind << 4) | (stored.bits << 8);
    return *this;
}

CGXBrushValue& CGXBrushValue::SetBkColor(COLORREF color) {
    const GridStoredColor stored = StoreGridColor(color);
    m_word0 = (m_word0 & ~0xC0u) | (stored.kind << 6);
    m_word1 = (m_word1 & 0xFF000000) | (stored.bits & 0xFFFFFF);
    return *this;
}

CGXBrushValue& CGXBrushValue::SetBrush(unsigned style, COLORREF color, unsigned hatch) {
    SetStyle(style);
    SetColor(color);
    SetHatch(hatch);
    SetBkColor(RGB(255, 255, 255));
    return SetPattern(kNoPattern);
}

CGXBrushValue& CGXBrushValue::SetStyle(unsigned style) {
    m_word1 = (m_word1 & 0x3FFFFFFF) | ((style & 3) << 30);
    return *this;
}

CGXBrushValue& CGXBrushValue::SetHatch(unsigned hatch) {
    m_word0 = (m_word0 & ~7u) | (hatch & 7);
    return *this;
}

CGXBrushValue& CGXBrushValue::SetPattern(unsigned index) {
    m_word1 = (m_word1 & ~(0x3Fu << 24)) | ((index & 0x3F) << 24);
    return *this;
}

void CGXBrushValue::GetLogBrushValues(LOGBRUSH& logBrush) const {
    logBrush.lbStyle = GetStyle();
    logBrush.lbHatch = GetHatch();
    if (GetStyle() == kPattern) {
        if (GetPattern() < static_cast<unsigned>(CGXDrawingAndFormatting::kPatternCount)) {
            CBitmap* pattern = GetDrawingAndFormatting()->GetPatternBitmap(static_cast<int>(GetPattern()));
            logBrush.lbHatch = pattern ? reinterpret_cast<std::uintptr_t>(pattern->m_hObject) : 0;
        } else {
            logBrush.lbStyle = kNull;
        }
    }
    logBrush.lbColor = ResolveGridColor(GetColorStored());
}

const LOGBRUSH& CGXBrushValue::GetLogBrush() const {
    static LOGBRUSH shared;
    GetLogBrushValues(shared);
    return shared;
}

void SerializeBrush(CArchive& ar, CGXBrushValue& brush) {
    RequireFeature(GridLibraryState::Instance().styleSerializeImp)->SerializeBrush(ar, brush);
}
