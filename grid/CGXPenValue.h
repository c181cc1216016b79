// A border pen packed into 8 bytes: style (0-6 as the platform's pen styles, 7 meaning "this side is not
// set"), width and colour with its kind (see GridColor.h). Its text form "%lu %ld %d %d %d %d" (style,
// width, red, green, blue, kind byte) is how styles store their borders in archives and the profile.
#pragma once

#include "grid/GridColor.h"
#include "platform/base/CString.h"

class CArchive;
class CGXBrushValue;

class CGXPenValue {
public:
    static constexpr unsigned kNotSet = 7;

    // Not set, width 1, colour 0.
    CGXPenValue() { Init(); }
    CGXPenValue(unsigned style, unsigned width, COLORREF color);
    CGXPenValue(const CGXPenValue&) = default;
    CGXPenValue& operator=(const CGXPenValue&) = default;
    bool operator==(const CGXPenValue&) const = default;

    CGXPenValue& Init();
    CGXPenValue& SetStyle(unsigned style);
    CGXPenValue& SetWidth(unsigned width);
    CGXPenValue& SetColor(COLORREF color);
    // TRUE turns an unset pen into a solid one and leaves any other style; FALSE unsets it.
    CGXPenValue& SetIncluded(BOOL include);

    unsigned GetStyle() const { return m_word0 & 7; }
    unsigned GetWidth() const { return (m_word0 >> 3) & 0xFFFF; }
    BOOL IsIncluded() const { return GetStyle() != kNotSet; }
    COLORREF GetColor() const { return LoadGridColor(GetColorStored()); }
    GridStoredColor GetColorStored() const { return {(m_word0 >> 19) & 3, m_word1 & 0xFFFFFF}; }

    // The LOGPEN the pen stands for, system colours resolved.
    void GetLogPenValues(LOGPEN& logPen) const;
    // The same in one shared buffer that the next call overwrites.
    const LOGPEN& GetLogPen() const;

    // The brush a dashed or dotted border is painted with: style 5 copies the interior, styles 1-4 make
    // pattern brushes (33-36 with patternSet, else 37-40) in the pen's colour on the interior's, or black on
    // white for black-and-white output. FALSE, and the brush left alone, for any other style.
    BOOL MakeLineBrush(CGXBrushValue& brush, const CGXBrushValue& interior, BOOL patternSet,
                       BOOL blackAndWhite) const;

    // The text form; a system colour writes its current red, green and blue and 0xFE minus its index.
    CString GetDescription() const;
    // Reads up to six numbers; with at least five the pen takes style, width and colour and is set (an
    // unset style becomes solid), with fewer it becomes an unset pen of colour 0.
    CGXPenValue& SetDescription(LPCTSTR text);

    DWORD GetWord0() const { return m_word0; }
    DWORD GetWord1() const { return m_word1; }

private:
    DWORD m_word0 = 0;
    DWORD m_word1 = 0;
};

// Through the application-wide style archive object.
void SerializePen(CArchive& ar, CGXPenValue& pen);
