// The library-wide drawing and formatting services, one object owned by the library state and made on first
// use (GetDrawingAndFormatting). Its operations are virtual so that an application can replace the object.
// Here: the pattern bitmaps that pattern brushes are made of, and value formatting and parsing through the
// application-wide number-formatting object.
#pragma once

#include "platform/base/CString.h"
#include "platform/framework/CGdiObject.h"

#include <array>
#include <memory>

class CGXStyle;

class CGXDrawingAndFormatting {
public:
    // Pattern brushes are made of these 8 x 8 monochrome bitmaps.
    static constexpr int kPatternCount = 41;

    CGXDrawingAndFormatting() = default;
    virtual ~CGXDrawingAndFormatting();

    // The bitmap of pattern `index` (made on first request), or null for an index outside the patterns.
    virtual CBitmap* GetPatternBitmap(int index);
    // The value as display text by the style's format; without the number-formatting object the value (or
    // the style's value when value is null) unchanged.
    virtual CString& FormatValueText(CString& out, const CGXStyle& style, LPCTSTR value, int valueType,
                                     int reserved1, int reserved2);
    // Whether the text is a number (the number-formatting object's answer; FALSE without it).
    virtual BOOL ParseValueText(LPCTSTR text, double* value, int* format, int* places);

private:
    std::array<std::unique_ptr<CBitmap>, kPatternCount> m_patterns;
};

// The library state's object, made on first use.
CGXDrawingAndFormatting* GetDrawingAndFormatting();
