#include "grid/CGXStyle.h"

#include "grid/CGXStylesMap.h"
#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"
#include "platform/base/CArchive.h"
#include "platform/gdi/SystemColors.h"

#include <set>

IMPLEMENT_SERIAL(CGXStyle, CObject, 0)

namespace {

constexpr int kInternalFloatCell = 22;
constexpr int kInternalFloodCell = 21;

// The style keeps FloodCell's flag before FloatCell's; the mask has them the other way round.
int InternalBit(int attribute) {
    switch (attribute) {
    case kStyleFloatCell:
        return kInternalFloatCell;
    case kStyleFloodCell:
        return kInternalFloodCell;
    default:
        return attribute;
    }
}

const LPCTSTR kAttributeNames[CGXStyle::kAttributeNameCount] = {
    u"HorizontalAlignment",
    u"VerticalAlignment",
    u"ReadOnly",
    u"ControlId",
    u"Interior",
    u"TextColor",
    u"WrapText",
    u"AllowEnter",
    u"Font",
    u"Borders",
    u"Top",
    u"Left",
    u"Bottom",
    u"Right",
    u"Value",
    u"MaxLength",
    u"VerticalScrollbar",
    u"ChoicesList",
    u"Enabled",
    u"TriState",
    u"Draw3dFrame",
    u"AutoSize",
    u"BaseStyle",
    u"FloatCell",
    u"FloodCell",
    u"MergeCell",
    u"Format",
    u"Places",
};

} // namespace

CGXStyle::CGXStyle() = default;

CGXStyle::CGXStyle(const CGXStyle& other) : CObject() {
    Assign(other);
}

CGXStyle::~CGXStyle() = default;

void CGXStyle::Serialize(CArchive& ar) {
    SerializeEx(ar, nullptr);
}

void CGXStyle::SerializeEx(CArchive& ar, const CGXStylesMap* stylesMap) {
    RequireFeature(GridLibraryState::Instance().styleSerializeImp)->SerializeStyle(*this, ar, stylesMap);
}

CGXStyle* CGXStyle::Clone() const {
    return new CGXStyle(*this);
}

CGXStyle& CGXStyle::Assign(const CGXStyle& other) {
    if (&other == this) {
        return *this;
    }
    if (other.m_include == 0) {
        return ClearAll();
    }
    m_include = other.m_include;
    m_horizontalAlignment = other.m_horizontalAlignment;
    m_verticalAlignment = other.m_verticalAlignment;
    m_readOnly = other.m_readOnly;
    m_controlId = other.m_controlId;
    m_interior = other.m_interior;
    m_textColor = other.m_textColor;
    m_wrapText = other.m_wrapText;
    m_allowEnter = other.m_allowEnter;
    m_verticalScrollbar = other.m_verticalScrollbar;
    m_maxLength = other.m_maxLength;
    m_enabled = other.m_enabled;
    m_triState = other.m_triState;
    m_draw3dFrame = other.m_draw3dFrame;
    m_autoSize = other.m_autoSize;
    m_extraWord = other.m_extraWord;
    m_floatCell = other.m_floatCell;
    m_floodCell = other.m_floodCell;
    m_mergeCell = other.m_mergeCell;
    m_format = other.m_format;
    m_places = other.m_places;
    m_baseStyle = other.m_baseStyle;
    m_value = other.GetIncludeValue() ? other.m_value : CString();
    m_valueType = other.m_valueType;
    m_choicesList = other.GetIncludeChoicesList() ? other.m_choicesList : CString();
    m_borders = other.m_borders ? std::make_unique<BorderArray>(*other.m_borders) : nullptr;
    m_font = other.m_font ? std::make_unique<CGXFont>(*other.m_font) : nullptr;
    if (other.m_userAttributes && !other.m_userAttributes->IsEmpty()) {
        if (!m_userAttributes) {
            m_userAttributes = std::make_unique<CGXUserAttributeMap>();
        }
        m_userAttributes->Merge(*other.m_userAttributes, kMergeCopy);
    } else {
        m_userAttributes.reset();
    }
    return *this;
}

CGXStyle& CGXStyle::SetDefault() {
    ClearAll();
    SetHorizontalAlignment(0);
    SetVerticalAlignment(0);
    SetReadOnly(FALSE);
    SetControlId(kEditControlId);
    SetInteriorColor(SystemColorValue(COLOR_WINDOW));
    SetTextColor(SystemColorValue(COLOR_WINDOWTEXT));
    SetWrapText(TRUE);
    SetAllowEnter(FALSE);
    SetEnabled(TRUE);
    SetTriState(FALSE);
    SetAutoSize(FALSE);
    SetVerticalScrollbar(FALSE);
    SetMaxLength(0);
    SetDraw3dFrame(0);
    SetFont(CGXFont().SetDefault(), kMergeOverride);
    SetValue(u"");
    SetChoicesList(u"");
    SetExtraWord(0);
    SetFloatCell(TRUE);
    SetFloodCell(TRUE);
    SetMergeCell(0);
    SetFormat(0);
    return SetPlaces(13);
}

void CGXStyle::WriteProfile(LPCTSTR section, const CGXStylesMap* stylesMap) const {
    if (CGXAbstractGridProfileImp* profile = GridLibraryState::Instance().profileImp) {
        profile->WriteStyleProfile(*this, section, stylesMap);
    }
}

BOOL CGXStyle::ReadProfile(LPCTSTR section, const CGXStylesMap* stylesMap) {
    CGXAbstractGridProfileImp* profile = GridLibraryState::Instance().profileImp;
    return profile ? profile->ReadStyleProfile(*this, section, stylesMap) : FALSE;
}

BOOL CGXStyle::CompareSubset(const CGXStyle& other) const {
    CGXAbstractStyleCompareSubsetImp* compare = GridLibraryState::Instance().styleCompareSubsetImp;
    return compare ? compare->IsSubSet(*this, other) : FALSE;
}

CGXStyle& CGXStyle::ApplyBaseStyles(const CGXStylesMap& stylesMap) {
    std::set<WORD> visited;
    const CGXStyle* current = this;
    while (current->GetIncludeBaseStyle()) {
        const WORD id = current->GetBaseStyle();
        if (!visited.insert(id).second) {
            break;
        }
        const CGXStyle* base = nullptr;
        if (!stylesMap.LookupBaseStyle(id, base) || !base) {
            break;
        }
        MergeStyle(*base, kMergeFill);
        current = base;
    }
    return *this;
}

void CGXStyle::TakeAttribute(const CGXStyle& other, int attribute, int mode) {
    switch (attribute) {
    case kStyleHorizontalAlignment:
        m_horizontalAlignment = other.m_horizontalAlignment;
        break;
    case kStyleVerticalAlignment:
        m_verticalAlignment = other.m_verticalAlignment;
        break;
    case kStyleReadOnly:
        m_readOnly = other.m_readOnly;
        break;
    case kStyleControlId:
        m_controlId = other.m_controlId;
        break;
    case kStyleInterior:
        m_interior = other.m_interior;
        break;
    case kStyleTextColor:
        SetTextColor(other.GetTextColor());
        break;
    case kStyleWrapText:
        m_wrapText = other.m_wrapText;
        break;
    case kStyleAllowEnter:
        m_allowEnter = other.m_allowEnter;
        break;
    case kStyleBorders: {
        BorderArray& borders = EnsureBorders();
        for (int side = 0; side < 4; ++side) {
            const CGXPenValue& pen = (*other.m_borders)[side];
            if (pen.IsIncluded() && (mode == kMergeOverride || !borders[side].IsIncluded())) {
                borders[side] = pen;
            }
        }
        UpdateBordersInclude();
        return;
    }
    case kStyleFont:
        if (m_font && GetIncludeFont()) {
            m_font->MergeFont(*other.m_font, mode);
        } else {
            m_font = std::make_unique<CGXFont>(*other.m_font);
        }
        break;
    case kStyleValue:
        m_value = other.m_value;
        m_valueType = other.m_valueType;
        break;
    case kStyleChoicesList:
        m_choicesList = other.m_choicesList;
        break;
    case kStyleVerticalScrollbar:
        m_verticalScrollbar = other.m_verticalScrollbar;
        break;
    case kStyleMaxLength:
        m_maxLength = other.m_maxLength;
        break;
    case kStyleBaseStyle:
        m_baseStyle = other.m_baseStyle;
        break;
    case kStyleEnabled:
        m_enabled = other.m_enabled;
        break;
    case kStyleTriState:
        m_triState = other.m_triState;
        break;
    case kStyleDraw3dFrame:
        m_draw3dFrame = other.m_draw3dFrame;
        break;
    case kStyleUserAttributes:
        if (!other.m_userAttributes || other.m_userAttributes->IsEmpty()) {
            return;
        }
        EnsureUserAttributes().Merge(*other.m_userAttributes, mode);
        break;
    case kStyleAutoSize:
        m_autoSize = other.m_autoSize;
        break;
    case kStyleExtraWord:
        m_extraWord = other.m_extraWord;
        break;
    case kStyleFloatCell:
        m_floatCell = other.m_floatCell;
        break;
    case kStyleFloodCell:
        m_floodCell = other.m_floodCell;
        break;
    case kStyleMergeCell:
        m_mergeCell = other.m_mergeCell;
        break;
    case kStyleFormat:
        m_format = other.m_format;
        break;
    case kStylePlaces:
        m_places = other.m_places;
        break;
    default:
        return;
    }
    SetInclude(attribute, TRUE);
}

CGXStyle& CGXStyle::MergeStyle(const CGXStyle& other, int mode) {
    if (&other == this) {
        return *this;
    }
    if (mode == kMergeExclude) {
        if (other.m_include == 0) {
            return *this;
        }
        for (int attribute = 0; attribute < kStyleAttributeCount; ++attribute) {
            if (!other.GetInclude(attribute)) {
                continue;
            }
            switch (attribute) {
            case kStyleValue:
                SetIncludeValue(FALSE);
                break;
            case kStyleBorders:
                if (m_borders && other.m_borders) {
                    for (int side = 0; side < 4; ++side) {
                        if ((*other.m_borders)[side].IsIncluded()) {
                            (*m_borders)[side].SetIncluded(FALSE);
                        }
                    }
                    UpdateBordersInclude();
                }
                break;
            case kStyleFont:
                if (m_font && other.m_font) {
                    m_font->MergeFont(*other.m_font, kMergeExclude);
                }
                break;
            case kStyleUserAttributes:
                if (m_userAttributes && other.m_userAttributes) {
                    m_userAttributes->Merge(*other.m_userAttributes, kMergeExclude);
                    if (m_userAttributes->IsEmpty()) {
                        SetInclude(kStyleUserAttributes, FALSE);
                    }
                }
                break;
            default:
                SetInclude(attribute, FALSE);
                break;
            }
        }
        return *this;
    }
    if (mode == kMergeCopy || m_include == 0) {
        return Assign(other);
    }
    if (other.m_include == 0) {
        return *this;
    }
    const int fillMode = mode == kMergeOverride ? kMergeOverride : kMergeFill;
    for (int attribute = 0; attribute < kStyleAttributeCount; ++attribute) {
        if (!other.GetInclude(attribute)) {
            continue;
        }
        // Borders, font and user attributes merge part by part; the rest come whole or not at all.
        const bool partwise =
            attribute == kStyleBorders || attribute == kStyleFont || attribute == kStyleUserAttributes;
        if (fillMode == kMergeFill && !partwise && GetInclude(attribute)) {
            continue;
        }
        if ((attribute == kStyleBorders && !other.m_borders) || (attribute == kStyleFont && !other.m_font)) {
            continue;
        }
        TakeAttribute(other, attribute, fillMode);
    }
    return *this;
}

CGXStyle& CGXStyle::ClearAll() {
    m_borders.reset();
    m_font.reset();
    m_userAttributes.reset();
    m_value.Empty();
    m_choicesList.Empty();
    m_extraWord = 0;
    m_include = 0;
    return *this;
}

DWORD CGXStyle::GetIncludeMask() const {
    DWORD mask = 0;
    for (int attribute = 0; attribute < kStyleAttributeCount; ++attribute) {
        if (GetInclude(attribute)) {
            mask |= 1u << attribute;
        }
    }
    return mask;
}

CGXStyle& CGXStyle::SetIncludeMask(DWORD mask) {
    m_include = 0;
    for (int attribute = 0; attribute < kStyleAttributeCount; ++attribute) {
        if (mask & (1u << attribute)) {
            m_include |= 1u << InternalBit(attribute);
        }
    }
    return *this;
}

BOOL CGXStyle::GetInclude(int attribute) const {
    if (attribute < 0 || attribute >= kStyleAttributeCount) {
        return FALSE;
    }
    return (m_include >> InternalBit(attribute)) & 1;
}

CGXStyle& CGXStyle::SetInclude(int attribute, BOOL include) {
    if (attribute >= 0 && attribute < kStyleAttributeCount) {
        const DWORD bit = 1u << InternalBit(attribute);
        m_include = include ? (m_include | bit) : (m_include & ~bit);
    }
    return *this;
}

CGXStyle& CGXStyle::SetHorizontalAlignment(int alignment) {
    m_horizontalAlignment = static_cast<BYTE>(alignment == 1 || alignment == 2 ? alignment : 0);
    return SetInclude(kStyleHorizontalAlignment, TRUE);
}

CGXStyle& CGXStyle::SetVerticalAlignment(int alignment) {
    m_verticalAlignment = static_cast<BYTE>(alignment == 4 ? 1 : alignment == 8 ? 2 : 0);
    return SetInclude(kStyleVerticalAlignment, TRUE);
}

CGXStyle& CGXStyle::SetReadOnly(BOOL readOnly) {
    m_readOnly = readOnly ? TRUE : FALSE;
    return SetInclude(kStyleReadOnly, TRUE);
}

CGXStyle& CGXStyle::SetControlId(WORD controlId) {
    m_controlId = controlId;
    return SetInclude(kStyleControlId, TRUE);
}

CGXStyle& CGXStyle::SetInterior(const CGXBrushValue& brush) {
    m_interior = brush;
    return SetInclude(kStyleInterior, TRUE);
}

CGXStyle& CGXStyle::SetInteriorColor(COLORREF color) {
    m_interior.SetStyle(CGXBrushValue::kSolid);
    m_interior.SetColor(color);
    return SetInclude(kStyleInterior, TRUE);
}

CGXStyle& CGXStyle::SetTextColor(COLORREF color) {
    m_textColor = StoreGridColor(color);
    return SetInclude(kStyleTextColor, TRUE);
}

CGXStyle& CGXStyle::SetWrapText(BOOL wrap) {
    m_wrapText = wrap ? TRUE : FALSE;
    return SetInclude(kStyleWrapText, TRUE);
}

CGXStyle& CGXStyle::SetAllowEnter(BOOL allow) {
    m_allowEnter = allow ? TRUE : FALSE;
    return SetInclude(kStyleAllowEnter, TRUE);
}

CGXStyle::BorderArray& CGXStyle::EnsureBorders() {
    if (!m_borders) {
        m_borders = std::make_unique<BorderArray>();
    }
    return *m_borders;
}

void CGXStyle::UpdateBordersInclude() {
    bool any = false;
    if (m_borders) {
        for (const CGXPenValue& pen : *m_borders) {
            any = any || pen.IsIncluded();
        }
    }
    SetInclude(kStyleBorders, any);
}

CGXStyle& CGXStyle::SetBorders(int side, const CGXPenValue& pen) {
    BorderArray& borders = EnsureBorders();
    if (side == kBorderAll) {
        borders.fill(pen);
    } else if (side >= 0 && side < 4) {
        borders[side] = pen;
    } else {
        return *this;
    }
    return SetInclude(kStyleBorders, TRUE);
}

CGXStyle& CGXStyle::SetBorderArray(const CGXPenValue* pens) {
    if (!pens) {
        m_borders.reset();
        return SetInclude(kStyleBorders, FALSE);
    }
    BorderArray& borders = EnsureBorders();
    std::copy(pens, pens + 4, borders.begin());
    return SetInclude(kStyleBorders, TRUE);
}

CGXStyle& CGXStyle::SetIncludeBorders(int side, BOOL include) {
    BorderArray& borders = EnsureBorders();
    if (side == kBorderAll) {
        for (CGXPenValue& pen : borders) {
            pen.SetIncluded(include);
        }
    } else if (side >= 0 && side < 4) {
        borders[side].SetIncluded(include);
    }
    UpdateBordersInclude();
    return *this;
}

const CGXPenValue& CGXStyle::GetBorders(int side) const {
    static const CGXPenValue unset;
    if (!m_borders || side < 0 || side >= 4) {
        return unset;
    }
    return (*m_borders)[side];
}

CGXStyle& CGXStyle::SetFont(const CGXFont& font, int mode) {
    if (mode == kMergeExclude) {
        if (m_font && GetIncludeFont()) {
            m_font->MergeFont(font, kMergeExclude);
        }
        return *this;
    }
    if (m_font) {
        m_font->MergeFont(font, mode);
    } else {
        m_font = std::make_unique<CGXFont>(font);
    }
    return SetInclude(kStyleFont, TRUE);
}

const CGXFont& CGXStyle::GetFont() const {
    static const CGXFont none;
    return m_font ? *m_font : none;
}

CGXStyle& CGXStyle::SetValue(LPCTSTR text) {
    m_value = text ? text : u"";
    m_valueType = kValueText;
    return SetInclude(kStyleValue, TRUE);
}

CGXStyle& CGXStyle::SetValueLong(LONG value) {
    m_value.Format(u"%ld", static_cast<long>(value));
    m_valueType = kValueNumber;
    return SetInclude(kStyleValue, TRUE);
}

CGXStyle& CGXStyle::SetValueUnsigned(DWORD value) {
    m_value.Format(u"%lu", static_cast<unsigned long>(value));
    m_valueType = kValueNumber;
    return SetInclude(kStyleValue, TRUE);
}

CGXStyle& CGXStyle::SetValueType(int valueType) {
    m_valueType = valueType & 7;
    return *this;
}

CGXStyle& CGXStyle::SetIncludeValue(BOOL include) {
    if (!include) {
        m_value.Empty();
    }
    return SetInclude(kStyleValue, include);
}

CGXStyle& CGXStyle::SetChoicesList(LPCTSTR text) {
    m_choicesList = text ? text : u"";
    return SetInclude(kStyleChoicesList, TRUE);
}

CGXStyle& CGXStyle::SetVerticalScrollbar(BOOL scrollbar) {
    m_verticalScrollbar = scrollbar ? TRUE : FALSE;
    return SetInclude(kStyleVerticalScrollbar, TRUE);
}

CGXStyle& CGXStyle::SetMaxLength(WORD maxLength) {
    m_maxLength = maxLength;
    return SetInclude(kStyleMaxLength, TRUE);
}

CGXStyle& CGXStyle::SetBaseStyle(WORD baseStyleId) {
    m_baseStyle = baseStyleId & 0xFF;
    return SetInclude(kStyleBaseStyle, TRUE);
}

CGXStyle& CGXStyle::SetEnabled(BOOL enabled) {
    m_enabled = enabled ? TRUE : FALSE;
    return SetInclude(kStyleEnabled, TRUE);
}

CGXStyle& CGXStyle::SetTriState(BOOL triState) {
    m_triState = triState ? TRUE : FALSE;
    return SetInclude(kStyleTriState, TRUE);
}

CGXStyle& CGXStyle::SetDraw3dFrame(int frame) {
    m_draw3dFrame = frame & 3;
    return SetInclude(kStyleDraw3dFrame, TRUE);
}

CGXStyle& CGXStyle::SetAutoSize(BOOL autoSize) {
    m_autoSize = autoSize ? TRUE : FALSE;
    return SetInclude(kStyleAutoSize, TRUE);
}

CGXStyle& CGXStyle::SetExtraWord(DWORD word) {
    m_extraWord = word;
    return SetInclude(kStyleExtraWord, TRUE);
}

CGXStyle& CGXStyle::SetFloatCell(BOOL floatCell) {
    m_floatCell = floatCell ? TRUE : FALSE;
    return SetInclude(kStyleFloatCell, TRUE);
}

CGXStyle& CGXStyle::SetFloodCell(BOOL floodCell) {
    m_floodCell = floodCell ? TRUE : FALSE;
    return SetInclude(kStyleFloodCell, TRUE);
}

CGXStyle& CGXStyle::SetMergeCell(int mergeCell) {
    m_mergeCell = mergeCell & 7;
    return SetInclude(kStyleMergeCell, TRUE);
}

CGXStyle& CGXStyle::SetFormat(int format) {
    m_format = format & 0x1F;
    return SetInclude(kStyleFormat, TRUE);
}

CGXStyle& CGXStyle::SetPlaces(int places) {
    m_places = places & 0xF;
    return SetInclude(kStylePlaces, TRUE);
}

CGXUserAttributeMap& CGXStyle::EnsureUserAttributes() {
    if (!m_userAttributes) {
        m_userAttributes = std::make_unique<CGXUserAttributeMap>();
    }
    SetInclude(kStyleUserAttributes, TRUE);
    return *m_userAttributes;
}

CGXStyle& CGXStyle::SetUserAttribute(WORD id, LPCTSTR text) {
    return SetUserAttributeObject(id, new CGXUserAttribute(text));
}

CGXStyle& CGXStyle::SetUserAttributeObject(WORD id, CGXAbstractUserAttribute* attribute) {
    if (attribute) {
        EnsureUserAttributes().SetAttribute(id, attribute);
    }
    return *this;
}

CGXStyle& CGXStyle::SetUserAttributes(const CGXUserAttributeMap* attributes) {
    if (!attributes || attributes->IsEmpty()) {
        m_userAttributes.reset();
        return SetInclude(kStyleUserAttributes, FALSE);
    }
    if (attributes != m_userAttributes.get()) {
        EnsureUserAttributes().Merge(*attributes, kMergeCopy);
    }
    return *this;
}

BOOL CGXStyle::HasUserAttribute(WORD id) const {
    return m_userAttributes && m_userAttributes->FindIndex(id) >= 0;
}

const CGXAbstractUserAttribute& CGXStyle::GetUserAttribute(WORD id) const {
    if (m_userAttributes) {
        if (const CGXAbstractUserAttribute* attribute = m_userAttributes->FindAttribute(id)) {
            return *attribute;
        }
    }
    return GetEmptyUserAttribute();
}

const LPCTSTR* CGXStyle::GetAttributeNames() {
    return kAttributeNames;
}

CGXStyle* ReadStyleFromArchive(CArchive& ar) {
    return static_cast<CGXStyle*>(ar.ReadObject(RUNTIME_CLASS(CGXStyle)));
}
