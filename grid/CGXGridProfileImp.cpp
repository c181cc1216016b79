#include "grid/CGXGridProfileImp.h"

#include "grid/CGXProperties.h"
#include "grid/CGXStyle.h"
#include "grid/CGXStylesMap.h"
#include "grid/GridLibraryState.h"
#include "grid/GridNumberText.h"
#include "grid/GridResourceIds.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CWinApp.h"
#include "platform/registry/Registry.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <optional>
#include <vector>

namespace {

// The application's profile as the profile code needs it: texts by section and key, and the names below a
// section in either layout.
class Profile {
public:
    explicit Profile(CWinApp* app) : m_app(app) {}

    bool IsValid() const { return m_app != nullptr; }
    // Registry layout with nested sections, or the flat layout of INI files.
    bool UsesRegistry() const { return m_app->m_pszRegistryKey != nullptr; }

    // A null value deletes the key.
    void Write(LPCTSTR section, LPCTSTR key, LPCTSTR value) const { m_app->WriteProfileString(section, key, value); }
    void WriteNumber(LPCTSTR section, LPCTSTR key, long value) const {
        CString text;
        text.Format(u"%ld", value);
        Write(section, key, text);
    }
    // Missing or empty: nothing.
    std::optional<CString> Read(LPCTSTR section, LPCTSTR key) const {
        CString text = m_app->GetProfileString(section, key);
        if (text.IsEmpty()) {
            return std::nullopt;
        }
        return text;
    }
    // A whole decimal number within [low, high]; anything else is skipped.
    std::optional<long> ReadNumber(LPCTSTR section, LPCTSTR key, long low, long high) const {
        const std::optional<CString> text = Read(section, key);
        if (!text) {
            return std::nullopt;
        }
        return ParseNumber(*text, low, high);
    }
    // A colour value: up to ten digits within 32 bits.
    static std::optional<DWORD> ParseUnsigned(CString text) {
        text.TrimLeft();
        text.TrimRight();
        if (text.IsEmpty() || text.GetLength() > 10 || text.SpanIncluding(u"0123456789") != text) {
            return std::nullopt;
        }
        const unsigned long long value = wcstoull(text, nullptr, 10);
        if (value > 0xFFFFFFFFull) {
            return std::nullopt;
        }
        return static_cast<DWORD>(value);
    }
    static std::optional<long> ParseNumber(CString text, long low, long high) {
        text.TrimLeft();
        text.TrimRight();
        int at = (!text.IsEmpty() && (text[0] == u'-' || text[0] == u'+')) ? 1 : 0;
        if (at == text.GetLength() || text.GetLength() > 11) {
            return std::nullopt;
        }
        for (; at < text.GetLength(); ++at) {
            if (text[at] < u'0' || text[at] > u'9') {
                return std::nullopt;
            }
        }
        const long value = _wtol(text);
        if (value < low || value > high) {
            return std::nullopt;
        }
        return value;
    }

    // The subkeys (registry layout) or the keys (flat layout) of a section; nullopt when the section is
    // missing.
    std::optional<std::vector<CString>> Names(LPCTSTR section, bool subkeys) const {
        HKEY key = OpenSection(section);
        if (!key) {
            return std::nullopt;
        }
        std::vector<CString> names;
        for (DWORD index = 0;; ++index) {
            WCHAR name[REG_MAX_KEY_NAME + 1] = {};
            LONG rc = 0;
            if (subkeys) {
                rc = RegEnumKeyW(key, index, name, REG_MAX_KEY_NAME + 1);
            } else {
                DWORD length = REG_MAX_KEY_NAME + 1;
                rc = RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            }
            if (rc != ERROR_SUCCESS) {
                break;
            }
            names.emplace_back(name);
        }
        RegCloseKey(key);
        return names;
    }
    void DeleteSubkeys(LPCTSTR section) const {
        const std::optional<std::vector<CString>> names = Names(section, true);
        if (!names) {
            return;
        }
        HKEY key = OpenSection(section);
        for (const CString& name : *names) {
            RegDeleteTreeW(key, name);
        }
        RegCloseKey(key);
    }
    void DeleteSection(LPCTSTR section) const { m_app->WriteProfileString(section, nullptr, nullptr); }

private:
    HKEY OpenSection(LPCTSTR section) const {
        HKEY app = m_app->GetAppRegistryKey();
        if (!app) {
            return nullptr;
        }
        HKEY key = nullptr;
        const LONG rc = RegOpenKeyExW(app, section, 0, KEY_READ | KEY_WRITE, &key);
        RegCloseKey(app);
        return rc == ERROR_SUCCESS ? key : nullptr;
    }

    CWinApp* m_app;
};

Profile AppProfile() {
    return Profile(AfxGetApp());
}

bool IsEmptySection(LPCTSTR section) {
    return !section || !*section;
}

// A base style's key name: "#" and the id of the string that names it, else its name.
CString BaseStyleKeyName(const CString& name, UINT resourceId) {
    if (resourceId == 0) {
        return name;
    }
    CString key;
    key.Format(u"#%u", resourceId);
    return key;
}

// Line feeds as a backslash and "n", backslashes doubled, carriage returns dropped.
CString EscapeChoices(const CString& text) {
    CString out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const TCHAR c = text[i];
        if (c == u'\n') {
            out += u"\\n";
        } else if (c == u'\\') {
            out += u"\\\\";
        } else if (c != u'\r') {
            out += c;
        }
    }
    return out;
}

// A backslash and "n" becomes CR LF, a doubled backslash one backslash.
CString UnescapeChoices(const CString& text) {
    CString out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const TCHAR c = text[i];
        if (c == u'\\' && i + 1 < text.GetLength() && (text[i + 1] == u'n' || text[i + 1] == u'\\')) {
            out += text[++i] == u'n' ? CString(u"\r\n") : CString(u"\\");
        } else {
            out += c;
        }
    }
    return out;
}

const LPCTSTR kBorderKeys[4] = {u"Top", u"Left", u"Bottom", u"Right"};

// The flag attributes with their keys, setters and getters, in the writer's order around the others.
struct FlagKey {
    LPCTSTR key;
    int attribute;
    BOOL (CGXStyle::*get)() const;
    CGXStyle& (CGXStyle::*set)(BOOL);
};
const FlagKey kFlagsFirst[] = {
    {u"ReadOnly", kStyleReadOnly, &CGXStyle::GetReadOnly, &CGXStyle::SetReadOnly},
    {u"FloatCell", kStyleFloatCell, &CGXStyle::GetFloatCell, &CGXStyle::SetFloatCell},
    {u"FloodCell", kStyleFloodCell, &CGXStyle::GetFloodCell, &CGXStyle::SetFloodCell},
};
const FlagKey kFlagsScrollbar[] = {
    {u"VerticalScrollbar", kStyleVerticalScrollbar, &CGXStyle::GetVerticalScrollbar,
     &CGXStyle::SetVerticalScrollbar},
};
const FlagKey kFlagsSecond[] = {
    {u"WrapText", kStyleWrapText, &CGXStyle::GetWrapText, &CGXStyle::SetWrapText},
    {u"AutoSize", kStyleAutoSize, &CGXStyle::GetAutoSize, &CGXStyle::SetAutoSize},
    {u"AllowEnter", kStyleAllowEnter, &CGXStyle::GetAllowEnter, &CGXStyle::SetAllowEnter},
    {u"Enabled", kStyleEnabled, &CGXStyle::GetEnabled, &CGXStyle::SetEnabled},
    {u"TriState", kStyleTriState, &CGXStyle::GetTriState, &CGXStyle::SetTriState},
};

// The numeric attributes with their keys and the values they may take.
struct NumberKey {
    LPCTSTR key;
    int attribute;
    long low;
    long high;
};
const NumberKey kNumbers[] = {
    {u"HorizontalAlignment", kStyleHorizontalAlignment, 0, 2},
    {u"VerticalAlignment", kStyleVerticalAlignment, 0, 8},
    {u"MergeCell", kStyleMergeCell, 0, 7},
    {u"Draw3dFrame", kStyleDraw3dFrame, 0, 3},
    {u"ControlId", kStyleControlId, 0, 0xFFFF},
    {u"MaxLength", kStyleMaxLength, 0, 0xFFFF},
    {u"Format", kStyleFormat, 0, 31},
    {u"Places", kStylePlaces, 0, 15},
};

long GetNumberAttribute(const CGXStyle& style, int attribute) {
    switch (attribute) {
    case kStyleHorizontalAlignment: return style.GetHorizontalAlignment();
    case kStyleVerticalAlignment: return style.GetVerticalAlignment();
    case kStyleMergeCell: return style.GetMergeCell();
    case kStyleDraw3dFrame: return style.GetDraw3dFrame();
    case kStyleControlId: return style.GetControlId();
    case kStyleMaxLength: return style.GetMaxLength();
    case kStyleFormat: return style.GetFormat();
    default: return style.GetPlaces();
    }
}

void SetNumberAttribute(CGXStyle& style, int attribute, long value) {
    switch (attribute) {
    case kStyleHorizontalAlignment: style.SetHorizontalAlignment(static_cast<int>(value)); break;
    case kStyleVerticalAlignment:
        // Only top, centred and bottom are values.
        if (value == 0 || value == 4 || value == 8) {
            style.SetVerticalAlignment(static_cast<int>(value));
        }
        break;
    case kStyleMergeCell: style.SetMergeCell(static_cast<int>(value)); break;
    case kStyleDraw3dFrame: style.SetDraw3dFrame(static_cast<int>(value)); break;
    case kStyleControlId: style.SetControlId(static_cast<WORD>(value)); break;
    case kStyleMaxLength: style.SetMaxLength(static_cast<WORD>(value)); break;
    case kStyleFormat: style.SetFormat(static_cast<int>(value)); break;
    default: style.SetPlaces(static_cast<int>(value)); break;
    }
}

const NumberKey& NumberKeyOf(int attribute) {
    for (const NumberKey& entry : kNumbers) {
        if (entry.attribute == attribute) {
            return entry;
        }
    }
    return kNumbers[0];
}

void WriteNumberKey(const Profile& profile, LPCTSTR section, const CGXStyle& style, int attribute) {
    const NumberKey& entry = NumberKeyOf(attribute);
    if (style.GetInclude(attribute)) {
        profile.WriteNumber(section, entry.key, GetNumberAttribute(style, attribute));
    } else {
        profile.Write(section, entry.key, nullptr);
    }
}

void WriteFlagKeys(const Profile& profile, LPCTSTR section, const CGXStyle& style, const FlagKey* flags,
                   size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (style.GetInclude(flags[i].attribute)) {
            profile.WriteNumber(section, flags[i].key, (style.*flags[i].get)() ? 1 : 0);
        } else {
            profile.Write(section, flags[i].key, nullptr);
        }
    }
}

void ReadFlagKeys(const Profile& profile, LPCTSTR section, CGXStyle& style, const FlagKey* flags,
                  size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (const std::optional<long> value = profile.ReadNumber(section, flags[i].key, 0, 1)) {
            (style.*flags[i].set)(*value != 0);
        }
    }
}

// A text key, or the key deleted when the attribute is not included.
void WriteTextKey(const Profile& profile, LPCTSTR section, LPCTSTR key, BOOL included, const CString& text) {
    profile.Write(section, key, included ? static_cast<LPCTSTR>(text) : nullptr);
}

} // namespace

void CGXGridProfileImp::WriteStyleProfile(const CGXStyle& style, LPCTSTR section, const CGXStylesMap* map) {
    const Profile profile = AppProfile();
    if (!profile.IsValid() || IsEmptySection(section)) {
        return;
    }
    WriteNumberKey(profile, section, style, kStyleHorizontalAlignment);
    WriteNumberKey(profile, section, style, kStyleVerticalAlignment);
    WriteFlagKeys(profile, section, style, kFlagsFirst, std::size(kFlagsFirst));
    WriteNumberKey(profile, section, style, kStyleMergeCell);
    WriteNumberKey(profile, section, style, kStyleDraw3dFrame);
    WriteNumberKey(profile, section, style, kStyleControlId);
    WriteNumberKey(profile, section, style, kStyleMaxLength);
    WriteFlagKeys(profile, section, style, kFlagsScrollbar, std::size(kFlagsScrollbar));

    CString baseStyle;
    UINT resourceId = 0;
    LPCTSTR baseName = map && style.GetIncludeBaseStyle() ? map->GetBaseStyleName(style.GetBaseStyle(), resourceId)
                                                          : nullptr;
    if (baseName) {
        baseStyle = BaseStyleKeyName(baseName, resourceId);
    }
    WriteTextKey(profile, section, u"BaseStyle", baseName != nullptr, baseStyle);

    // A system colour goes as its present red, green and blue.
    const COLORREF color = style.GetTextColor();
    CString colorText;
    colorText.Format(u"%d %d %d", static_cast<int>(GetRValue(color)), static_cast<int>(GetGValue(color)),
                     static_cast<int>(GetBValue(color)));
    WriteTextKey(profile, section, u"TextColor", style.GetIncludeTextColor(), colorText);

    WriteFlagKeys(profile, section, style, kFlagsSecond, std::size(kFlagsSecond));
    WriteTextKey(profile, section, u"Value", style.GetIncludeValue(), style.GetValue());
    WriteTextKey(profile, section, u"Interior", style.GetIncludeInterior(), style.GetInterior().GetDescription());
    WriteNumberKey(profile, section, style, kStyleFormat);
    WriteNumberKey(profile, section, style, kStylePlaces);
    WriteTextKey(profile, section, u"ChoicesList", style.GetIncludeChoicesList(),
                 EscapeChoices(style.GetChoicesList()));
    if (style.GetIncludeFont()) {
        WriteFontProfile(style.GetFont(), section, u"Font");
    } else {
        profile.Write(section, u"Font", nullptr);
    }
    WriteTextKey(profile, section, u"Borders", style.GetIncludeBorders(), CString(u"1"));
    if (style.GetIncludeBorders()) {
        for (int side = 0; side < 4; ++side) {
            const CGXPenValue& pen = style.GetBorders(side);
            WriteTextKey(profile, section, kBorderKeys[side], pen.IsIncluded(), pen.GetDescription());
        }
    }
    if (style.GetIncludeUserAttributes() && style.GetUserAttributes()) {
        style.GetUserAttributes()->WriteProfile(section);
    }
}

BOOL CGXGridProfileImp::ReadStyleProfile(CGXStyle& style, LPCTSTR section, const CGXStylesMap* map) {
    const Profile profile = AppProfile();
    if (!profile.IsValid() || IsEmptySection(section)) {
        return FALSE;
    }
    style.ClearAll();
    for (const NumberKey& entry : kNumbers) {
        if (const std::optional<long> value = profile.ReadNumber(section, entry.key, entry.low, entry.high)) {
            SetNumberAttribute(style, entry.attribute, *value);
        }
    }
    ReadFlagKeys(profile, section, style, kFlagsFirst, std::size(kFlagsFirst));
    ReadFlagKeys(profile, section, style, kFlagsSecond, std::size(kFlagsSecond));
    ReadFlagKeys(profile, section, style, kFlagsScrollbar, std::size(kFlagsScrollbar));

    if (const std::optional<CString> text = profile.Read(section, u"BaseStyle"); text && map) {
        // An unknown name gives 0; a "#" without a string id is damaged and skipped.
        if ((*text)[0] != u'#') {
            style.SetBaseStyle(map->GetBaseStyleIdByName(*text));
        } else if (const std::optional<long> resourceId = Profile::ParseNumber(text->Mid(1), 1, 0xFFFF)) {
            style.SetBaseStyle(map->GetBaseStyleIdByResource(static_cast<UINT>(*resourceId)));
        }
    }
    if (const std::optional<CString> text = profile.Read(section, u"TextColor")) {
        long rgb[3] = {};
        if (ReadBlankSeparatedNumbers(*text, rgb, 3) == 3) {
            style.SetTextColor(RGB(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF));
        }
    }
    if (const std::optional<CString> text = profile.Read(section, u"Value")) {
        style.SetValue(*text);
    }
    if (const std::optional<CString> text = profile.Read(section, u"Interior")) {
        long fields[9] = {};
        if (ReadBlankSeparatedNumbers(*text, fields, 9) >= 5) {
            CGXBrushValue brush;
            style.SetInterior(brush.SetDescription(*text));
        }
    }
    if (const std::optional<CString> text = profile.Read(section, u"ChoicesList")) {
        style.SetChoicesList(UnescapeChoices(*text));
    }
    CGXFont font;
    if (ReadFontProfile(font, section, u"Font")) {
        style.SetFont(font);
    }
    if (profile.Read(section, u"Borders").value_or(CString()) == CString(u"1")) {
        for (int side = 0; side < 4; ++side) {
            const std::optional<CString> text = profile.Read(section, kBorderKeys[side]);
            long fields[6] = {};
            if (text && ReadBlankSeparatedNumbers(*text, fields, 6) >= 5) {
                CGXPenValue pen;
                style.SetBorders(side, pen.SetDescription(*text));
            }
        }
    }
    if (map) {
        for (const auto& [id, info] : map->GetUserAttributeInfoMap()) {
            CString key;
            key.Format(u"UA%u", static_cast<unsigned>(id));
            if (const std::optional<CString> text = profile.Read(section, key)) {
                style.SetUserAttribute(id, *text);
            }
        }
    }
    return TRUE;
}

void CGXGridProfileImp::WriteFontProfile(const CGXFont& font, LPCTSTR section, LPCTSTR key) {
    const Profile profile = AppProfile();
    if (profile.IsValid() && !IsEmptySection(section) && key && *key) {
        profile.Write(section, key, font.GetDescription());
    }
}

BOOL CGXGridProfileImp::ReadFontProfile(CGXFont& font, LPCTSTR section, LPCTSTR key) {
    const Profile profile = AppProfile();
    if (!profile.IsValid() || IsEmptySection(section) || !key || !*key) {
        return FALSE;
    }
    const std::optional<CString> text = profile.Read(section, key);
    if (!text) {
        return FALSE;
    }
    font.SetDescription(*text);
    return TRUE;
}

void CGXGridProfileImp::WriteStylesMapProfile(const CGXStylesMap& map) {
    const Profile profile = AppProfile();
    const CString& section = map.profileSection;
    if (!profile.IsValid() || section.IsEmpty()) {
        return;
    }
    const bool registry = profile.UsesRegistry();
    if (registry) {
        profile.DeleteSubkeys(section);
    } else {
        profile.DeleteSection(section);
    }
    for (const auto& [id, record] : map.baseStyles) {
        if (!record.style) {
            continue;
        }
        const CString keyName = BaseStyleKeyName(record.name, record.resourceId);
        if (registry) {
            record.style->WriteProfile(section + u"\\" + keyName, &map);
        } else {
            profile.Write(section, keyName, u"1");
            record.style->WriteProfile(section + u"." + keyName, &map);
        }
    }
}

BOOL CGXGridProfileImp::ReadStylesMapProfile(CGXStylesMap& map) {
    const Profile profile = AppProfile();
    const CString section = map.profileSection;
    if (!profile.IsValid() || section.IsEmpty()) {
        return FALSE;
    }
    const bool registry = profile.UsesRegistry();
    const std::optional<std::vector<CString>> names = profile.Names(section, registry);
    if (!names || names->empty()) {
        return FALSE;
    }
    for (const CString& name : *names) {
        std::unique_ptr<CGXStyle> style = map.CreateStyle();
        style->ReadProfile(section + (registry ? u"\\" : u".") + name, &map);
        if (name[0] != u'#') {
            map.RegisterStyle(name, *style, FALSE);
        } else if (const std::optional<long> resourceId = Profile::ParseNumber(name.Mid(1), 1, 0xFFFF)) {
            map.RegisterResourceStyle(static_cast<UINT>(*resourceId), *style, FALSE);
        }
    }
    map.standardStyleId = map.GetBaseStyleIdByResource(IDS_GRID_STYLE_STANDARD);
    map.columnHeaderStyleId = map.GetBaseStyleIdByResource(IDS_GRID_STYLE_COLUMN_HEADER);
    map.rowHeaderStyleId = map.GetBaseStyleIdByResource(IDS_GRID_STYLE_ROW_HEADER);
    // Whatever the profile lacked of the standard style takes the library default.
    if (const auto standard = map.baseStyles.find(map.standardStyleId);
        standard != map.baseStyles.end() && standard->second.resourceId == IDS_GRID_STYLE_STANDARD &&
        standard->second.style) {
        CGXStyle defaults;
        defaults.SetDefault();
        standard->second.style->MergeStyle(defaults, kMergeFill);
    }
    return TRUE;
}

namespace {

struct PropertyFlag {
    LPCTSTR key;
    BOOL CGXProperties::*member;
};
const PropertyFlag kLineFlags[] = {
    {u"MarkColumnHeader", &CGXProperties::markColumnHeader}, {u"MarkRowHeader", &CGXProperties::markRowHeader},
    {u"3dHeader", &CGXProperties::threeDHeader},             {u"HorizontalLines", &CGXProperties::horizontalLines},
    {u"VerticalLines", &CGXProperties::verticalLines},
};
const PropertyFlag kPrintFlags[] = {
    {u"Page Order", &CGXProperties::pageOrder},
    {u"Print Vertical Lines", &CGXProperties::printVerticalLines},
    {u"Print Horizontal Lines", &CGXProperties::printHorizontalLines},
    {u"Print Only Black&White", &CGXProperties::printBlackAndWhite},
    {u"Print Row Headers", &CGXProperties::printRowHeaders},
    {u"Print Column Headers", &CGXProperties::printColumnHeaders},
    {u"Center Vertical", &CGXProperties::centerVertical},
    {u"Center Horizontal", &CGXProperties::centerHorizontal},
    {u"Print Frame", &CGXProperties::printFrame},
};

} // namespace

void CGXGridProfileImp::WritePropertiesProfile(const CGXProperties& properties) {
    const Profile profile = AppProfile();
    const CString& section = properties.profileSection;
    if (!profile.IsValid() || section.IsEmpty()) {
        return;
    }
    const auto writeNumber = [&](LPCTSTR key, long value) { profile.WriteNumber(section, key, value); };
    for (INT_PTR i = 0; i < properties.colorNames.GetSize() && i < properties.colors.GetSize(); ++i) {
        CString text;
        text.Format(u"%lu", static_cast<unsigned long>(properties.colors[i]));
        profile.Write(section, properties.colorNames[i], text);
    }
    for (const PropertyFlag& flag : kLineFlags) {
        writeNumber(flag.key, properties.*flag.member);
    }
    for (const auto& [id, entry] : properties.GetUserProperties()) {
        if (entry.style && entry.style->GetIncludeValue()) {
            CString key;
            key.Format(u"UP%u", static_cast<unsigned>(id));
            profile.Write(section, key, entry.style->GetValue());
        }
    }
    for (const PropertyFlag& flag : kPrintFlags) {
        writeNumber(flag.key, properties.*flag.member);
    }
    CString margins;
    margins.Format(u"%ld,%ld,%ld,%ld", static_cast<long>(properties.margins[0]),
                   static_cast<long>(properties.margins[1]), static_cast<long>(properties.margins[2]),
                   static_cast<long>(properties.margins[3]));
    profile.Write(section, u"Margins", margins);
    writeNumber(u"Start Page Numbering", properties.startPageNumber);
    CString distances;
    distances.Format(u"%ld,%ld", static_cast<long>(properties.headerDistance),
                     static_cast<long>(properties.footerDistance));
    profile.Write(section, u"Distances", distances);
}

namespace {

// Up to `count` comma-separated integers; each later one only when a comma follows the one before. Reading
// stops at the first field that is not a number.
int ReadCommaSeparated(const CString& text, LONG* values, int count) {
    int read = 0;
    int start = 0;
    while (read < count) {
        const int comma = text.Find(u',', start);
        const CString field = comma < 0 ? text.Mid(start) : text.Mid(start, comma - start);
        const std::optional<long> value = Profile::ParseNumber(field, LONG_MIN, LONG_MAX);
        if (!value) {
            break;
        }
        values[read++] = *value;
        if (comma < 0) {
            break;
        }
        start = comma + 1;
    }
    return read;
}

} // namespace

BOOL CGXGridProfileImp::ReadPropertiesProfile(CGXProperties& properties) {
    const Profile profile = AppProfile();
    const CString section = properties.profileSection;
    if (!profile.IsValid() || section.IsEmpty()) {
        return FALSE;
    }
    const std::optional<std::vector<CString>> keys = profile.Names(section, false);
    if (!keys || (!profile.UsesRegistry() && keys->empty())) {
        return FALSE;
    }
    for (INT_PTR i = 0; i < properties.colorNames.GetSize() && i < properties.colors.GetSize(); ++i) {
        if (const std::optional<CString> text = profile.Read(section, properties.colorNames[i])) {
            if (const std::optional<DWORD> value = Profile::ParseUnsigned(*text)) {
                properties.colors[i] = *value;
            }
        }
    }
    const auto readFlag = [&](LPCTSTR key, BOOL& flag) {
        if (const std::optional<long> value = profile.ReadNumber(section, key, 0, 1)) {
            flag = *value != 0;
        }
    };
    for (const PropertyFlag& flag : kLineFlags) {
        readFlag(flag.key, properties.*flag.member);
    }
    for (auto& [id, entry] : properties.GetUserProperties()) {
        CString key;
        key.Format(u"UP%u", static_cast<unsigned>(id));
        // A key that is there sets the value, also to an empty text; a missing one leaves it.
        if (entry.style && std::find(keys->begin(), keys->end(), key) != keys->end()) {
            entry.style->SetValue(AfxGetApp()->GetProfileString(section, key));
        }
    }
    for (const PropertyFlag& flag : kPrintFlags) {
        readFlag(flag.key, properties.*flag.member);
    }
    if (const std::optional<CString> text = profile.Read(section, u"Margins")) {
        ReadCommaSeparated(*text, properties.margins, 4);
    }
    if (const std::optional<long> value = profile.ReadNumber(section, u"Start Page Numbering", LONG_MIN, LONG_MAX)) {
        properties.startPageNumber = *value;
    }
    if (const std::optional<CString> text = profile.Read(section, u"Distances")) {
        LONG distances[2] = {properties.headerDistance, properties.footerDistance};
        ReadCommaSeparated(*text, distances, 2);
        properties.headerDistance = distances[0];
        properties.footerDistance = distances[1];
    }
    return TRUE;
}

void InstallGridProfile() {
    InstallAppFeature<CGXGridProfileImp>(GridLibraryState::Instance().profileImp);
}
