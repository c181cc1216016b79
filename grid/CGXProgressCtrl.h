// The progress cell: the cell's numeric value as a horizontal bar between a lower and an upper bound (user
// attributes), with a centred caption whose colour changes where it crosses the bar's end. Bounds may come
// in either order; equal bounds show an empty bar below them and a full one from them on.
#pragma once

#include "grid/CGXControl.h"

class CGXStylesMap;

class CGXProgressCtrl : public CGXControl {
public:
    static const ControlTypeRecord kTypeRecord;
    static constexpr WORD kLowerBoundAttribute = 51025;
    static constexpr WORD kUpperBoundAttribute = 51026;
    // A caption template: the value is inserted for one integer conversion (%d, %ld, %5d...); "%%" is a
    // percent sign, and anything else is shown as written.
    static constexpr WORD kCaptionAttribute = 51027;

    using CGXControl::CGXControl;

    static void RegisterUserAttributes(CGXStylesMap* stylesMap);

    const ControlTypeRecord& GetTypeRecord() const override { return kTypeRecord; }
    void Draw(CDC* dc, const RECT& rect, ROWCOL row, ROWCOL col, const CGXStyle& style,
              const CGXStyle* standardStyle) override;
    // A value outside the bounds is stored clamped to them.
    BOOL StoreStyle(ROWCOL row, ROWCOL col, const CGXStyle* style, int mode, int kind,
                    const CGXStyle* cellStyle) override;

    virtual CString& FormatCaption(CString& out, ROWCOL row, ROWCOL col, const CGXStyle& style);
    virtual COLORREF GetBarColor(BOOL bar, const CGXStyle& style);
    virtual COLORREF GetCaptionColor(BOOL onBar, const CGXStyle& style);

    // Value units per pixel at the last drawing.
    double GetScale() const { return m_scale; }
    // The bar's right edge for the value in a cell from left to right (never outside the cell).
    static int BarRight(long value, long lower, long upper, int left, int right);

protected:
    double m_scale = 1.0;
};

// The template with the value inserted for its first integer conversion; see kCaptionAttribute.
CString FormatProgressCaption(const CString& format, long value);
