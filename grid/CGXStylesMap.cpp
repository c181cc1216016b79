#include "grid/CGXStylesMap.h"

#include "grid/GridArchive.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "platform/base/CArchive.h"
#include "platform/gdi/SystemColors.h"

#include <iterator>

IMPLEMENT_SERIAL(CGXStylesMap, CObject, 0)

CGXBaseStyleInfo::CGXBaseStyleInfo(const CGXBaseStyleInfo& other)
    : id(other.id), resourceId(other.resourceId), name(other.name),
      style(other.style ? other.style->Clone() : nullptr), system(other.system) {}

CGXUserAttributeInfo::CGXUserAttributeInfo(const CGXUserAttributeInfo& other)
    : id(other.id), name(other.name), style(other.style ? other.style->Clone() : nullptr) {}

CGXStylesMap::CGXStylesMap(CRuntimeClass* styleRuntimeClass)
    : styleClass(styleRuntimeClass ? styleRuntimeClass : RUNTIME_CLASS(CGXStyle)) {}

CGXStylesMap::CGXStylesMap(const CGXStylesMap& other) : CObject(), styleClass(other.styleClass) {
    Assign(other);
}

CGXStylesMap::~CGXStylesMap() {
    DeleteAll();
}

void CGXStylesMap::Serialize(CArchive& ar) {
    RequireFeature(GridLibraryState::Instance().docSerializeImp)->SerializeStylesMap(*this, ar);
}

CGXStylesMap& CGXStylesMap::Assign(const CGXStylesMap& other) {
    if (&other != this) {
        if (CGXAbstractGridParamCopyOperatorImp* copy = GridLibraryState::Instance().paramCopyOperatorImp) {
            copy->CopyStylesMap(*this, other);
        }
    }
    return *this;
}

void CGXStylesMap::WriteProfile() const {
    if (CGXAbstractGridProfileImp* profile = GridLibraryState::Instance().profileImp) {
        profile->WriteStylesMapProfile(*this);
    }
}

BOOL CGXStylesMap::ReadProfile() {
    CGXAbstractGridProfileImp* profile = GridLibraryState::Instance().profileImp;
    return profile ? profile->ReadStylesMapProfile(*this) : FALSE;
}

std::unique_ptr<CGXStyle> CGXStylesMap::CreateStyle() const {
    CObject* object = styleClass ? styleClass->CreateObject() : nullptr;
    if (auto* style = dynamic_cast<CGXStyle*>(object)) {
        return std::unique_ptr<CGXStyle>(style);
    }
    delete object;
    return std::make_unique<CGXStyle>();
}

WORD CGXStylesMap::RegisterStyle(LPCTSTR name, const CGXStyle& style, BOOL system) {
    const std::u16string key(name ? name : u"");
    WORD id = 0;
    if (const auto found = idByName.find(key); found != idByName.end()) {
        id = found->second;
    } else {
        id = NextStyleId();
        idByName[key] = id;
    }
    SetBaseStyleRecord(id, style, key.c_str(), 0, system);
    return id;
}

bool CGXStylesMap::FindResourceStyle(UINT resourceId, WORD& id) const {
    const auto found = idByResource.find(resourceId);
    if (found == idByResource.end()) {
        return false;
    }
    const auto record = baseStyles.find(found->second);
    if (record == baseStyles.end() || record->second.resourceId != resourceId) {
        return false;
    }
    id = found->second;
    return true;
}

WORD CGXStylesMap::RegisterResourceStyle(UINT resourceId, const CGXStyle& style, BOOL system) {
    CString name;
    if (!name.LoadString(resourceId)) {
        name.Format(u"UA%u", resourceId);
    }
    WORD id = 0;
    if (!FindResourceStyle(resourceId, id)) {
        id = NextStyleId();
        idByResource[resourceId] = id;
    }
    idByName[name.str()] = id;
    SetBaseStyleRecord(id, style, name, resourceId, system);
    return id;
}

void CGXStylesMap::SetBaseStyleRecord(WORD id, const CGXStyle& style, LPCTSTR name, UINT resourceId,
                                      BOOL system) {
    auto found = baseStyles.find(id);
    if (found != baseStyles.end()) {
        found->second.style.reset(style.Clone());
        return;
    }
    CGXBaseStyleInfo& record = baseStyles[id];
    record.id = id;
    record.resourceId = resourceId;
    record.name = name ? name : u"";
    record.style.reset(style.Clone());
    record.system = system;
}

BOOL CGXStylesMap::LookupBaseStyle(WORD id, const CGXStyle*& style) const {
    const auto found = baseStyles.find(id);
    if (found == baseStyles.end()) {
        return FALSE;
    }
    style = found->second.style.get();
    return TRUE;
}

LPCTSTR CGXStylesMap::GetBaseStyleName(WORD id, UINT& resourceId) const {
    const auto found = baseStyles.find(id);
    if (found == baseStyles.end()) {
        resourceId = 0;
        return nullptr;
    }
    resourceId = found->second.resourceId;
    return found->second.name;
}

WORD CGXStylesMap::GetBaseStyleIdByName(LPCTSTR name) const {
    const auto found = idByName.find(name ? name : u"");
    return found == idByName.end() ? 0 : found->second;
}

WORD CGXStylesMap::GetBaseStyleIdByResource(UINT resourceId) const {
    WORD id = 0;
    return FindResourceStyle(resourceId, id) ? id : 0;
}

POSITION CGXStylesMap::GetFirstStylePosition() const {
    return idByName.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<INT_PTR>(1));
}

void CGXStylesMap::GetNextStyle(POSITION& position, WORD& id, CString& name, UINT& resourceId,
                                const CGXStyle*& style) const {
    // The position is the 1-based index of the next name.
    const auto index = reinterpret_cast<INT_PTR>(position);
    if (index <= 0 || index > static_cast<INT_PTR>(idByName.size())) {
        position = nullptr;
        return;
    }
    const auto entry = std::next(idByName.begin(), index - 1);
    name = CString(entry->first);
    id = entry->second;
    if (const auto record = baseStyles.find(id); record != baseStyles.end()) {
        style = record->second.style.get();
        resourceId = record->second.resourceId;
    }
    position =
        index < static_cast<INT_PTR>(idByName.size()) ? reinterpret_cast<POSITION>(index + 1) : nullptr;
}

void CGXStylesMap::RegisterControl(WORD controlId) {
    if (controlNames.count(controlId)) {
        return;
    }
    CString name;
    if (!name.LoadString(controlId)) {
        AfxThrowResourceException();
    }
    controlNames[controlId] = name;
}

void CGXStylesMap::RegisterUserAttribute(WORD attributeId, const CGXStyle* style) {
    if (userAttributes.count(attributeId)) {
        return;
    }
    CString name;
    if (!name.LoadString(attributeId)) {
        AfxThrowResourceException();
    }
    CGXUserAttributeInfo record;
    record.id = attributeId;
    record.name = name;
    record.style = CreateStyle();
    if (style) {
        *record.style = *style;
    }
    userAttributes.emplace(attributeId, std::move(record));
}

void CGXStylesMap::DeleteAll() {
    DeleteBaseStyles();
    DeleteControlNames();
    userAttributes.clear();
}

void CGXStylesMap::DeleteBaseStyles() {
    baseStyles.clear();
    idByName.clear();
    nextStyleId = 0;
}

void CGXStylesMap::CreateStandardStyles() {
    const GridLibraryState& state = GridLibraryState::Instance();
    const bool headerBorders = state.optionLineMode && state.optionHeaderLook;
    std::unique_ptr<CGXStyle> style = CreateStyle();

    style->SetDefault();
    style->SetFont(CGXFont().SetDefault().SetSize(8), kMergeOverride);
    standardStyleId = RegisterResourceStyle(IDS_GRID_STYLE_STANDARD, *style, TRUE);

    style->ClearAll();
    if (headerBorders) {
        style->SetBorders(kBorderAll, CGXPenValue(PS_NULL, 1, RGB(0, 0, 0)));
    }
    style->SetFont(CGXFont().SetWeight(700), kMergeOverride);
    style->SetInteriorColor(SystemColorValue(COLOR_BTNFACE));
    style->SetHorizontalAlignment(1);
    style->SetVerticalAlignment(4);
    style->SetControlId(IDS_GRID_CTRL_HEADER);
    columnHeaderStyleId = RegisterResourceStyle(IDS_GRID_STYLE_COLUMN_HEADER, *style, TRUE);

    style->ClearAll();
    if (headerBorders) {
        style->SetBorders(kBorderAll, CGXPenValue(PS_NULL, 1, RGB(0, 0, 0)));
    }
    style->SetControlId(IDS_GRID_CTRL_HEADER);
    style->SetInteriorColor(SystemColorValue(COLOR_BTNFACE));
    rowHeaderStyleId = RegisterResourceStyle(IDS_GRID_STYLE_ROW_HEADER, *style, TRUE);
}

CGXStylesMap* ReadStylesMapFromArchive(CArchive& ar) {
    return static_cast<CGXStylesMap*>(ar.ReadObject(RUNTIME_CLASS(CGXStylesMap)));
}
