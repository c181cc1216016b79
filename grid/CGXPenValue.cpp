#include "grid/CGXPenValue.h"

#include "grid/CGXBrushValue.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"
#include "grid/GridNumberText.h"
#include "platform/base/WideRuntime.h"

CGXPenValue::CGXPenValue(unsigned style, unsigned width, COLORREF color) {
    SetStyle(style);
    SetWidth(width);
    SetColor(color);
}

CGXPenValue& CGXPenValue::Init() {
    m_word0 = 0;
    m_word1 = 0;
    SetStyle(kNotSet);
    return SetWidth(1);
}

CGXPenValue& CGXPenValue::SetStyle(unsigned style) {
    m_word0 = (m_word0 & ~7u) | (style & 7);
    return *this;
}

CGXPenValue& CGXPenValue::SetWidth(unsigned width) {
    m_word0 = (m_word0 & ~(0xFFFFu << 3)) | ((width & 0xFFFF) << 3);
    return *this;
}

CGXPenValue& CGXPenValue::SetColor(COLORREF color) {
    const GridStoredColor stored = StoreGridColor(color);
    m_word0 = (m_word0 & ~(3u << 19)) | (stored.kind << 19);
    m_word1 = stored.bits & 0xFFFFFF;
    return *this;
}

CGXPenValue& CGXPenValue::SetIncluded(BOOL include) {
    if (!include) {
        return SetStyle(kNotSet);
    }
    if (GetStyle() == kNotSet) {
        SetStyle(PS_SOLID);
    }
    return *this;
}

void CGXPenValue::GetLogPenValues(LOGPEN& logPen) const {
    logPen.lopnStyle = GetStyle();
    logPen.lopnWidth = {static_cast<LONG>(GetWidth()), 0};
    logPen.lopnColor = ResolveGridColor(GetColorStored());
}

const LOGPEN& CGXPenValue::GetLogPen() const {
    static LOGPEN shared;
    GetLogPenValues(shared);
    return shared;
}

BOOL CGXPenValue::MakeLineBrush(CGXBrushValue& brush, const CGXBrushValue& interior, BOOL patternSet,
                                BOOL blackAndWhite) const {
    const unsigned style = GetStyle();
    if (style == PS_NULL) {
        brush = interior;
        return TRUE;
    }
    if (style < 1 || style > 4) {
        return FALSE;
    }
    brush.SetStyle(CGXBrushValue::kPattern);
    brush.SetPattern((patternSet ? 32 : 36) + style);
    if (blackAndWhite) {
        brush.SetColor(RGB(0, 0, 0));
        brush.SetBkColor(RGB(255, 255, 255));
    } else {
        brush.SetColor(GetColor());
        brush.SetBkColor(interior.GetStyle() == CGXBrushValue::kSolid ? interior.GetColor()
                                                                      : interior.GetBkColor());
    }
    return TRUE;
}

CString CGXPenValue::GetDescription() const {
    const GridStoredColor stored = GetColorStored();
    const COLORREF rgb = ResolveGridColor(stored) & 0xFFFFFF;
    const int kindByte = stored.kind == kColorKindSystem ? static_cast<int>(0xFE - stored.bits)
                                                         : static_cast<int>(stored.kind);
    CString text;
    text.Format(u"%lu %ld %d %d %d %d", static_cast<unsigned long>(GetStyle()), static_cast<long>(GetWidth()),
                static_cast<int>(GetRValue(rgb)), static_cast<int>(GetGValue(rgb)),
                static_cast<int>(GetBValue(rgb)), kindByte);
    return text;
}

CGXPenValue& CGXPenValue::SetDescription(LPCTSTR text) {
    long numbers[6] = {};
    const int count = ReadBlankSeparatedNumbers(text, numbers, 6);
    if (count < 5) {
        SetColor(0);
        return SetIncluded(FALSE);
    }
    SetStyle(static_cast<unsigned>(numbers[0]) & 7);
    SetWidth(static_cast<unsigned>(numbers[1]) & 0xFFFF);
    DWORD color = (static_cast<DWORD>(numbers[2]) & 0xFF) | (static_cast<DWORD>(numbers[3]) << 8) |
                  (static_cast<DWORD>(numbers[4]) << 16);
    if (count >= 6) {
        color += static_cast<DWORD>(numbers[5]) << 24;
    }
    SetColor(color);
    return SetIncluded(TRUE);
}

void SerializePen(CArchive& ar, CGXPenValue& pen) {
    RequireFeature(GridLibraryState::Instance().styleSerializeImp)->SerializePen(ar, pen);
}
