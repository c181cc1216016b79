// A cell's interior brush packed into 8 bytes: style (solid, null, hatched or pattern), hatch, pattern index
// (63 = none), pattern colour and background colour, each colour with its kind (see GridColor.h).
#pragma once

#include "grid/GridColor.h"
#include "platform/base/CString.h"

class CArchive;

class CGXBrushValue {
public:
    enum Style : unsigned { kSolid = 0, kNull = 1, kHatched = 2, kPattern = 3 };
    static constexpr unsigned kNoPattern = 63;

    // Solid, no pattern, pattern colour RGB black, background RGB white.
    CGXBrushValue();
    CGXBrushValue(const CGXBrushValue&) = default;
    CGXBrushValue& operator=(const CGXBrushValue&) = default;
    bool operator==(const CGXBrushValue&) const = default;

    // The pattern colour.
    CGXBrushValue& SetColor(COLORREF color);
    CGXBrushValue& SetBkColor(COLORREF color);
    // Style, pattern colour and hatch; the background becomes RGB white and the pattern none.
    CGXBrushValue& SetBrush(unsigned style, COLORREF color, unsigned hatch);
    CGXBrushValue& SetStyle(unsigned style);
    CGXBrushValue& SetHatch(unsigned hatch);
    CGXBrushValue& SetPattern(unsigned index);

    unsigned GetStyle() const { return m_word1 >> 30; }
    unsigned GetHatch() const { return m_word0 & 7; }
    unsigned GetPattern() const { return (m_word1 >> 24) & 0x3F; }
    // The colours as colour values (a system colour with its current RGB value).
    COLORREF GetColor() const { return LoadGridColor(GetColorStored()); }
    COLORREF GetBkColor() const { return LoadGridColor(GetBkColorStored()); }
    GridStoredColor GetColorStored() const { return {(m_word0 >> 4) & 3, m_word0 >> 8}; }
    GridStoredColor GetBkColorStored() const { return {(m_word0 >> 6) & 3, m_word1 & 0xFFFFFF}; }

    // The LOGBRUSH this brush stands for: system colours resolved; a pattern brush takes the pattern's
    // bitmap, and becomes a null brush when its index names no pattern.
    void GetLogBrushValues(LOGBRUSH& logBrush) const;
    // The same in one shared buffer that the next call overwrites.
    const LOGBRUSH& GetLogBrush() const;

    // The profile's text form "%lu %ld %d %d %d %d %d %d %d": style, hatch (the pattern index for a pattern
    // brush), the pattern colour's three bytes, the background's three bytes, and the pattern colour's kind
    // (254 minus the index for a system colour).
    CString GetDescription() const;
    // Needs the first five numbers; with fewer only the colours change, both to black.
    CGXBrushValue& SetDescription(LPCTSTR text);

    DWORD GetWord0() const { return m_word0; }
    DWORD GetWord1() const { return m_word1; }

private:
    DWORD m_word0 = 0;
    DWORD m_word1 = 0x3FFFFFFF;
};

// Through the application-wide style archive object.
void SerializeBrush(CArchive& ar, CGXBrushValue& brush);
