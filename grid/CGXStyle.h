// The style of a cell, row, column, base style or whole grid: alignment, colours, font, borders, value,
// cell control and the rest. Every attribute may be present or absent; the include mask says which are.
// A grid composes a cell's effective style by merging the styles of cell, row, column and table, and fills
// the gaps from the chain of base styles.
#pragma once

#include "grid/CGXBrushValue.h"
#include "grid/CGXFont.h"
#include "grid/CGXPenValue.h"
#include "grid/CGXUserAttributeMap.h"
#include "grid/GridDefs.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <array>
#include <memory>

class CArchive;
class CGXStylesMap;

// The attributes by their bit in the include mask (the mask GetIncludeMask gives and archives store).
enum GXStyleAttribute : int {
    kStyleHorizontalAlignment = 0,
    kStyleVerticalAlignment = 1,
    kStyleReadOnly = 2,
    kStyleControlId = 3,
    kStyleInterior = 4,
    kStyleTextColor = 5,
    kStyleWrapText = 6,
    kStyleAllowEnter = 7,
    kStyleBorders = 8,
    kStyleFont = 9,
    kStyleValue = 10,
    kStyleChoicesList = 11,
    kStyleVerticalScrollbar = 12,
    kStyleMaxLength = 13,
    kStyleBaseStyle = 14,
    kStyleEnabled = 15,
    kStyleTriState = 16,
    kStyleDraw3dFrame = 17,
    kStyleUserAttributes = 18,
    kStyleAutoSize = 19,
    kStyleExtraWord = 20, // a 32-bit word without a name, carried like the others
    kStyleFloatCell = 21,
    kStyleFloodCell = 22,
    kStyleMergeCell = 23,
    kStyleFormat = 24,
    kStylePlaces = 25,
    kStyleAttributeCount = 26
};

// The sides of a style's borders, in the order of the border array and of the archive.
enum GXBorderSide : int {
    kBorderTop = 0,
    kBorderLeft = 1,
    kBorderBottom = 2,
    kBorderRight = 3,
    kBorderAll = -1
};

// The cell control of a style with nothing else said: the edit control.
constexpr WORD kEditControlId = 52512;

class CGXStyle : public CObject {
    DECLARE_SERIAL(CGXStyle)
public:
    CGXStyle();
    CGXStyle(const CGXStyle& other);
    CGXStyle& operator=(const CGXStyle& other) { return Assign(other); }
    ~CGXStyle() override;

    // The archive form through the application-wide style archive object (SerializeEx without a map).
    void Serialize(CArchive& ar) override;
    // The styles map (or the archive's document pointer when that is one) turns base-style ids into names.
    virtual void SerializeEx(CArchive& ar, const CGXStylesMap* stylesMap);

    virtual CGXStyle* Clone() const;
    virtual CGXStyle& Assign(const CGXStyle& other);
    // Every attribute at the library's defaults, except borders, base style and user attributes.
    virtual CGXStyle& SetDefault();
    // Whether every attribute the other includes is included here with the same value (through the
    // application-wide style compare object; FALSE without it).
    virtual BOOL CompareSubset(const CGXStyle& other) const;
    // Fills what the style lacks from its chain of base styles, nearer ones first. The walk stops at a
    // style without base style, an unknown id, or an id it has already visited.
    virtual CGXStyle& ApplyBaseStyles(const CGXStylesMap& stylesMap);
    // Modes: 0 take what the other includes, 1 take what this lacks, 2 copy, 3 remove what the other
    // includes.
    virtual CGXStyle& MergeStyle(const CGXStyle& other, int mode);
    virtual CGXStyle& ClearAll();

    // The style in a profile section, through the application-wide profile object (nothing, or FALSE,
    // without it); the styles map (or null) names the base style.
    virtual void WriteProfile(LPCTSTR section, const CGXStylesMap* stylesMap) const;
    virtual BOOL ReadProfile(LPCTSTR section, const CGXStylesMap* stylesMap);

    // The 26-bit include mask, and setting all include flags from one (no attribute data changes).
    DWORD GetIncludeMask() const;
    CGXStyle& SetIncludeMask(DWORD mask);
    BOOL GetInclude(int attribute) const;
    // Sets or clears one include flag; no data changes (see SetIncludeValue and SetIncludeBorders).
    CGXStyle& SetInclude(int attribute, BOOL include);

    // Setters: each stores the attribute and includes it.
    CGXStyle& SetHorizontalAlignment(int alignment); // 1 centred, 2 right, else left
    CGXStyle& SetVerticalAlignment(int alignment);   // 4 centred, 8 bottom, else top
    CGXStyle& SetReadOnly(BOOL readOnly);
    CGXStyle& SetControlId(WORD controlId);
    CGXStyle& SetInterior(const CGXBrushValue& brush);
    // A solid brush of the colour; the pattern and the background stay.
    CGXStyle& SetInteriorColor(COLORREF color);
    CGXStyle& SetTextColor(COLORREF color);
    CGXStyle& SetWrapText(BOOL wrap);
    CGXStyle& SetAllowEnter(BOOL allow);
    CGXStyle& SetBorders(int side, const CGXPenValue& pen);
    // Four pens (top, left, bottom, right), or null to delete the borders.
    CGXStyle& SetBorderArray(const CGXPenValue* pens);
    // Mode as MergeStyle's: merges into the style's font when it has one, else takes a copy.
    CGXStyle& SetFont(const CGXFont& font, int mode = kMergeOverride);
    CGXStyle& SetValue(LPCTSTR text);
    CGXStyle& SetValue(const CString& text) { return SetValue(static_cast<LPCTSTR>(text)); }
    CGXStyle& SetValueLong(LONG value);
    CGXStyle& SetValueUnsigned(DWORD value);
    CGXStyle& SetValueType(int valueType);
    CGXStyle& SetChoicesList(LPCTSTR text);
    CGXStyle& SetChoicesList(const CString& text) { return SetChoicesList(static_cast<LPCTSTR>(text)); }
    CGXStyle& SetVerticalScrollbar(BOOL scrollbar);
    CGXStyle& SetMaxLength(WORD maxLength);
    // The low 8 bits of the id are kept.
    CGXStyle& SetBaseStyle(WORD baseStyleId);
    CGXStyle& SetEnabled(BOOL enabled);
    CGXStyle& SetTriState(BOOL triState);
    CGXStyle& SetDraw3dFrame(int frame);
    CGXStyle& SetAutoSize(BOOL autoSize);
    CGXStyle& SetExtraWord(DWORD word);
    CGXStyle& SetFloatCell(BOOL floatCell);
    CGXStyle& SetFloodCell(BOOL floodCell);
    CGXStyle& SetMergeCell(int mergeCell);
    CGXStyle& SetFormat(int format);
    CGXStyle& SetPlaces(int places);
    // A new CGXUserAttribute from the text.
    CGXStyle& SetUserAttribute(WORD id, LPCTSTR text);
    // The style's map (made on first use) owns the attribute from now on.
    CGXStyle& SetUserAttributeObject(WORD id, CGXAbstractUserAttribute* attribute);
    // A copy of a non-empty map; null or an empty map deletes the style's attributes.
    CGXStyle& SetUserAttributes(const CGXUserAttributeMap* attributes);

    // Clearing the value's flag also empties the value text.
    CGXStyle& SetIncludeValue(BOOL include);
    // Includes or excludes one side's pen (or all four); Borders stays included while any side is set.
    CGXStyle& SetIncludeBorders(int side, BOOL include);

    int GetHorizontalAlignment() const { return m_horizontalAlignment; }
    int GetVerticalAlignment() const { return m_verticalAlignment * 4; }
    BOOL GetReadOnly() const { return m_readOnly; }
    WORD GetControlId() const { return m_controlId; }
    const CGXBrushValue& GetInterior() const { return m_interior; }
    // The text colour as a colour value (a system colour with its current RGB value and its top byte).
    COLORREF GetTextColor() const { return LoadGridColor(m_textColor); }
    // The colour to draw the text with.
    COLORREF GetTextColorValue() const { return ResolveGridColor(m_textColor); }
    BOOL GetWrapText() const { return m_wrapText; }
    BOOL GetAllowEnter() const { return m_allowEnter; }
    // The pen of a side; an unset pen when the style has no borders.
    const CGXPenValue& GetBorders(int side) const;
    BOOL HasBorder(int side) const { return GetBorders(side).IsIncluded(); }
    // The style's font (an empty one when it has none).
    const CGXFont& GetFont() const;
    CGXFont* GetFontPtr() const { return m_font.get(); }
    const CString& GetValue() const { return m_value; }
    LPCTSTR GetValueRef() const { return m_value; }
    int GetValueType() const { return m_valueType; }
    const CString& GetChoicesList() const { return m_choicesList; }
    BOOL GetVerticalScrollbar() const { return m_verticalScrollbar; }
    WORD GetMaxLength() const { return m_maxLength; }
    WORD GetBaseStyle() const { return m_baseStyle; }
    BOOL GetEnabled() const { return m_enabled; }
    BOOL GetTriState() const { return m_triState; }
    int GetDraw3dFrame() const { return m_draw3dFrame; }
    BOOL GetAutoSize() const { return m_autoSize; }
    DWORD GetExtraWord() const { return m_extraWord; }
    BOOL GetFloatCell() const { return m_floatCell; }
    BOOL GetFloodCell() const { return m_floodCell; }
    int GetMergeCell() const { return m_mergeCell; }
    int GetFormat() const { return m_format; }
    int GetPlaces() const { return m_places; }
    BOOL HasUserAttribute(WORD id) const;
    // The attribute, or the program-wide empty one; never null.
    const CGXAbstractUserAttribute& GetUserAttribute(WORD id) const;
    const CGXUserAttributeMap* GetUserAttributes() const { return m_userAttributes.get(); }

    BOOL GetIncludeHorizontalAlignment() const { return GetInclude(kStyleHorizontalAlignment); }
    BOOL GetIncludeVerticalAlignment() const { return GetInclude(kStyleVerticalAlignment); }
    BOOL GetIncludeReadOnly() const { return GetInclude(kStyleReadOnly); }
    BOOL GetIncludeControlId() const { return GetInclude(kStyleControlId); }
    BOOL GetIncludeInterior() const { return GetInclude(kStyleInterior); }
    BOOL GetIncludeTextColor() const { return GetInclude(kStyleTextColor); }
    BOOL GetIncludeWrapText() const { return GetInclude(kStyleWrapText); }
    BOOL GetIncludeAllowEnter() const { return GetInclude(kStyleAllowEnter); }
    BOOL GetIncludeBorders() const { return GetInclude(kStyleBorders); }
    BOOL GetIncludeFont() const { return GetInclude(kStyleFont); }
    BOOL GetIncludeValue() const { return GetInclude(kStyleValue); }
    BOOL GetIncludeChoicesList() const { return GetInclude(kStyleChoicesList); }
    BOOL GetIncludeVerticalScrollbar() const { return GetInclude(kStyleVerticalScrollbar); }
    BOOL GetIncludeMaxLength() const { return GetInclude(kStyleMaxLength); }
    BOOL GetIncludeBaseStyle() const { return GetInclude(kStyleBaseStyle); }
    BOOL GetIncludeEnabled() const { return GetInclude(kStyleEnabled); }
    BOOL GetIncludeTriState() const { return GetInclude(kStyleTriState); }
    BOOL GetIncludeDraw3dFrame() const { return GetInclude(kStyleDraw3dFrame); }
    BOOL GetIncludeUserAttributes() const { return GetInclude(kStyleUserAttributes); }
    BOOL GetIncludeAutoSize() const { return GetInclude(kStyleAutoSize); }
    BOOL GetIncludeExtraWord() const { return GetInclude(kStyleExtraWord); }
    BOOL GetIncludeFloatCell() const { return GetInclude(kStyleFloatCell); }
    BOOL GetIncludeFloodCell() const { return GetInclude(kStyleFloodCell); }
    BOOL GetIncludeMergeCell() const { return GetInclude(kStyleMergeCell); }
    BOOL GetIncludeFormat() const { return GetInclude(kStyleFormat); }
    BOOL GetIncludePlaces() const { return GetInclude(kStylePlaces); }

    // The names of the attributes as the profile and archive services know them (28 entries: the four
    // border sides included), in the table's order.
    static const LPCTSTR* GetAttributeNames();
    static constexpr int kAttributeNameCount = 28;

private:
    using BorderArray = std::array<CGXPenValue, 4>;

    BorderArray& EnsureBorders();
    CGXUserAttributeMap& EnsureUserAttributes();
    void TakeAttribute(const CGXStyle& other, int attribute, int mode);
    void UpdateBordersInclude();

    DWORD m_include = 0; // in the style's own order: FloodCell's flag before FloatCell's
    BYTE m_horizontalAlignment = 0;
    BYTE m_verticalAlignment = 0;
    BOOL m_readOnly = FALSE;
    WORD m_controlId = 0;
    CGXBrushValue m_interior;
    GridStoredColor m_textColor;
    BOOL m_wrapText = FALSE;
    BOOL m_allowEnter = FALSE;
    std::unique_ptr<BorderArray> m_borders;
    std::unique_ptr<CGXFont> m_font;
    CString m_value;
    int m_valueType = kValueText;
    CString m_choicesList;
    BOOL m_verticalScrollbar = FALSE;
    WORD m_maxLength = 0;
    WORD m_baseStyle = 0;
    BOOL m_enabled = FALSE;
    BOOL m_triState = FALSE;
    int m_draw3dFrame = 0;
    std::unique_ptr<CGXUserAttributeMap> m_userAttributes;
    BOOL m_autoSize = FALSE;
    DWORD m_extraWord = 0;
    BOOL m_floatCell = FALSE;
    BOOL m_floodCell = FALSE;
    int m_mergeCell = 0;
    int m_format = 0;
    int m_places = 0;
};

// Reads an object and checks that it is a CGXStyle (the archive exception otherwise).
CGXStyle* ReadStyleFromArchive(CArchive& ar);
