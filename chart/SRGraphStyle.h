// The drawing style every chart part carries: five words of packed fields, colours, limits, names and
// angles. Which fields matter depends on the carrier (the chart, a component, a group or an item).
#pragma once

#include "platform/base/CObject.h"
#include "platform/base/CString.h"

class CArchive;

// Option word bits.
enum : DWORD {
    SRGO_DEFERRED_CHILD = 0x1,        // a compound's child drawn after the others
    SRGO_COMBINE_FIXED = 0x4,         // the fixed range is combined with the data range
    SRGO_VALUE_LABELS_PUSH = 0x10,    // value scale labels pushed aside instead of hidden
    SRGO_CATEGORY_LABELS_PUSH = 0x20, // the same for the category scale
    SRGO_EXPLICIT_RECT = 0x80,        // the display rectangle is given, not computed
    SRGO_DATA_FIRST = 0x100,          // data drawn before the axes
    SRGO_KEEP_GROUP_ORDER = 0x200,
    SRGO_NO_VALUE_TICKS = 0x800,
    SRGO_NO_CATEGORY_TICKS = 0x1000,
    SRGO_ZERO_NOT_FORCED = 0x2000,
    SRGO_NO_DEPTH_GRID = 0x4000,
    SRGO_NO_VALUE_GRID = 0x8000, // horizontal lines; rings of polar and radar webs
    SRGO_NO_X_GRID = 0x10000,    // vertical lines; spokes of polar and radar webs
    SRGO_NULL_BREAKS_LINE = 0x40000,
    SRGO_EQUAL_UNITS = 0x200000,
    SRGO_HIDDEN_GROUP = 0x400000, // of a group: hidden while the chart draws
    SRGO_NO_CATEGORY_LABELS = 0x800000,
    SRGO_NO_VALUE_SCALE = 0x1000000,
    SRGO_PLACEHOLDER_PICTURE = 0x2000000,
    SRGO_FIXED_RANGES = 0x4000000,
    SRGO_LOG_VALUE_AXIS = 0x8000000,
    SRGO_PATTERN_SHADING = 0x10000000,
    SRGO_FILL_PLOT_AREA = 0x20000000,
    SRGO_FIXED_SIZES = 0x40000000, // symbol, bar and depth sizes from the limits
};

// Third style word bits.
enum : DWORD {
    SRGT_PICTURE_LOADED = 0x1000000,
    SRGT_EXTENT = 0x2000000,
    SRGT_LEADER_LINES = 0x4000000,
    SRGT_SCALES_USE_SCOPE = 0x8000000,
    SRGT_LINE_THINNING = 0x10000000,
    SRGT_SWAP_RANGES = 0x20000000,
    SRGT_KEEP_CATEGORY_STYLE = 0x40000000,
    SRGT_LOG_X_AXIS = 0x80000000,
};

// Secondary word: a resource bitmap or picture is stretched over the area instead of tiled.
constexpr DWORD SRGS_STRETCH = 0x80000000;

class SRGraphStyle : public CObject {
    DECLARE_SERIAL(SRGraphStyle)

public:
    SRGraphStyle() = default;
    SRGraphStyle(const SRGraphStyle& other) : CObject() { Assign(other); }
    SRGraphStyle& operator=(const SRGraphStyle& other) {
        Assign(other);
        return *this;
    }

    // Every member but the changed flag.
    void Assign(const SRGraphStyle& other);
    // A different name forgets the loaded picture.
    void SetPictureName(const CString& name);
    // Option bit 0x8000000; marks the style changed when the bit changes.
    void SetLogarithmic(BOOL logarithmic);
    void Serialize(CArchive& ar) override;

    // ---- First style word
    int GetKind() const { return Field(m_dwStyle, 0, 4); }
    void SetKind(int kind) { SetField(m_dwStyle, 0, 4, kind); }
    int GetTagNibble() const { return Field(m_dwStyle, 4, 4); }
    void SetTagNibble(int nibble) { SetField(m_dwStyle, 4, 4, nibble); }
    int GetHighlight() const { return Field(m_dwStyle, 8, 4); }
    void SetHighlight(int highlight) { SetField(m_dwStyle, 8, 4, highlight); }
    int GetKeyType() const { return Field(m_dwStyle, 12, 4); }
    int GetLabelShape() const { return Field(m_dwStyle, 16, 4); }
    void SetLabelShape(int shape) { SetField(m_dwStyle, 16, 4, shape); }
    int GetTagPosition() const { return Field(m_dwStyle, 20, 4); }
    void SetTagPosition(int position) { SetField(m_dwStyle, 20, 4, position); }
    int GetLabelAngleStep() const { return Field(m_dwStyle, 24, 4); }
    int GetTagMode() const { return Field(m_dwStyle, 28, 2); }
    void SetTagMode(int mode) { SetField(m_dwStyle, 28, 2, mode); }
    int GetLabelFontSizeCode() const { return Field(m_dwStyle, 30, 2); }

    // ---- Chart type word
    int GetLineKind() const { return Field(m_dwChartType, 0, 4); }
    void SetLineKind(int kind) { SetField(m_dwChartType, 0, 4, kind); }
    int GetFillKind() const { return Field(m_dwChartType, 4, 4); }
    void SetFillKind(int kind) { SetField(m_dwChartType, 4, 4, kind); }
    int GetShapeKind() const { return Field(m_dwChartType, 8, 8); }
    void SetShapeKind(int kind) { SetField(m_dwChartType, 8, 8, kind); }
    int GetGraphStyle() const { return Field(m_dwChartType, 16, 8); }
    void SetGraphStyle(int style) { SetField(m_dwChartType, 16, 8, style); }
    int GetAxisStyle() const { return Field(m_dwChartType, 24, 8); }
    void SetAxisStyle(int style) { SetField(m_dwChartType, 24, 8, style); }

    // ---- Secondary word (a component's frame and fill)
    int GetBorderType() const { return Field(m_dwSecondary, 0, 4); }
    void SetBorderType(int type) { SetField(m_dwSecondary, 0, 4, type); }
    int GetShadowType() const { return Field(m_dwSecondary, 4, 4); }
    void SetShadowType(int type) { SetField(m_dwSecondary, 4, 4, type); }
    int GetFrameFillKind() const { return Field(m_dwSecondary, 8, 4); }
    void SetFrameFillKind(int kind) { SetField(m_dwSecondary, 8, 4, kind); }

    // ---- Option and third words
    BOOL HasOption(DWORD bits) const { return (m_dwOptions & bits) != 0; }
    void SetOption(DWORD bits, BOOL on) { m_dwOptions = on ? (m_dwOptions | bits) : (m_dwOptions & ~bits); }
    BOOL HasThird(DWORD bits) const { return (m_dwThird & bits) != 0; }
    void SetThird(DWORD bits, BOOL on) { m_dwThird = on ? (m_dwThird | bits) : (m_dwThird & ~bits); }

    // The line kind and the fill kind the component toolkit reads: from the secondary word for a
    // component's own frame style (kind 1), from the chart type word for a data style.
    int GetEffectiveLineKind() const { return GetKind() == 1 ? GetBorderType() : GetLineKind(); }

    static int Field(DWORD word, int shift, int width) {
        return static_cast<int>((word >> shift) & ((1u << width) - 1u));
    }
    static void SetField(DWORD& word, int shift, int width, int value) {
        DWORD mask = ((1u << width) - 1u) << shift;
        word = (word & ~mask) | ((static_cast<DWORD>(value) << shift) & mask);
    }

    BOOL m_bChanged = FALSE;
    DWORD m_dwStyle = 0x1010; // first style word
    COLORREF m_crColour = 0x808000;
    DWORD m_dwThird = 0;
    double m_dFirstLimit = 1.0e7;
    double m_dSecondLimit = 1.0e7;
    double m_dThirdLimit = 1.0e7;
    CString m_strShapeName;
    DWORD m_dwChartType = 0x112;
    DWORD m_dwOptions = 0;
    DWORD m_dwSecondary = 0x100;
    COLORREF m_crLine = 0;
    CString m_strPatternName;
    int m_nLineWidth = 1;
    COLORREF m_crSecond = 0xFFFFFF;
    COLORREF m_crThird = 0;
    double m_dShadeAngle = 0.0;
    CString m_strPictureName;
    double m_dPieAngle = 30.0;
    double m_dReserved = 0.0;
    double m_dRotation = 0.0;
};
