#include "grid/CGXBrushValue.h"

#include "grid/CGXDrawingAndFormatting.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"
#include "grid/GridNumberText.h"

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

CString CGXBrushValue::GetDescription() const {
    const GridStoredColor color = GetColorStored();
    const DWORD background = GetBkColorStored().bits;
    const int kindByte = color.kind == kColorKindSystem ? static_cast<int>(0xFE - color.bits)
                                                        : static_cast<int>(color.kind);
    const unsigned second = GetStyle() == kPattern ? GetPattern() : GetHatch();
    CString text;
    text.Format(u"%lu %ld %d %d %d %d %d %d %d", static_cast<unsigned long>(GetStyle()),
                static_cast<long>(second), static_cast<int>(color.bits & 0xFF),
                static_cast<int>((color.bits >> 8) & 0xFF), static_cast<int>((color.bits >> 16) & 0xFF),
                static_cast<int>(background & 0xFF), static_cast<int>((background >> 8) & 0xFF),
                static_cast<int>((background >> 16) & 0xFF), kindByte);
    return text;
}

CGXBrushValue& CGXBrushValue::SetDescription(LPCTSTR text) {
    long n[9] = {};
    const int count = ReadBlankSeparatedNumbers(text, n, 9);
    if (count < 5) {
        SetColor(0);
        return SetBkColor(0);
    }
    const auto byte = [](long value) { return static_cast<DWORD>(value) & 0xFF; };
    SetStyle(static_cast<unsigned>(n[0]));
    if (GetStyle() == kPattern) {
        SetPattern(static_cast<unsigned>(n[1]));
    } else {
        SetHatch(static_cast<unsigned>(n[1]));
    }
    const DWORD bytes = byte(n[2]) | byte(n[3]) << 8 | byte(n[4]) << 16;
    DWORD color = bytes | static_cast<DWORD>(n[8]) << 24;
    if (count == 9 && n[8] == 1) {
        color = 0x1000000 | (bytes & 0xFFFF);
    } else if (count == 9 && n[8] == 2) {
        color = 0x2000000 | bytes;
    }
    SetColor(color);
    return SetBkColor(count >= 8 ? byte(n[5]) | byte(n[6]) << 8 | byte(n[7]) << 16 : 0);
}

void SerializeBrush(CArchive& ar, CGXBrushValue& brush) {
    RequireFeature(GridLibraryState::Instance().styleSerializeImp)->SerializeBrush(ar, brush);
}
