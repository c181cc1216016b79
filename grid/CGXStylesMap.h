// The registry of a grid's named base styles (which cell styles inherit from by id), of the names of the
// cell controls the factory registered, and of the user attributes the controls understand, each with the
// style in which a property editor shows its value.
#pragma once

#include "grid/CGXStyle.h"
#include "platform/base/CObject.h"
#include "platform/base/CString.h"

#include <map>
#include <memory>
#include <string>

class CArchive;

struct CGXBaseStyleInfo {
    CGXBaseStyleInfo() = default;
    // A copy with a clone of the style.
    CGXBaseStyleInfo(const CGXBaseStyleInfo& other);
    CGXBaseStyleInfo(CGXBaseStyleInfo&&) = default;
    CGXBaseStyleInfo& operator=(CGXBaseStyleInfo&&) = default;

    WORD id = 0;
    UINT resourceId = 0; // 0 for a style named by its text
    CString name;
    std::unique_ptr<CGXStyle> style;
    BOOL system = FALSE;
};

struct CGXUserAttributeInfo {
    CGXUserAttributeInfo() = default;
    // A copy with a clone of the style.
    CGXUserAttributeInfo(const CGXUserAttributeInfo& other);
    CGXUserAttributeInfo(CGXUserAttributeInfo&&) = default;
    CGXUserAttributeInfo& operator=(CGXUserAttributeInfo&&) = default;

    WORD id = 0;
    CString name;
    std::unique_ptr<CGXStyle> style;
};

class CGXStylesMap : public CObject {
    DECLARE_SERIAL(CGXStylesMap)
public:
    // Styles are made from the class (CGXStyle when null).
    explicit CGXStylesMap(CRuntimeClass* styleRuntimeClass = nullptr);
    // Empty, then Assign.
    CGXStylesMap(const CGXStylesMap& other);
    CGXStylesMap& operator=(const CGXStylesMap& other) { return Assign(other); }
    ~CGXStylesMap() override;

    // Through the application-wide document archive object.
    void Serialize(CArchive& ar) override;
    // Through the application-wide parameter copy object; nothing without it.
    CGXStylesMap& Assign(const CGXStylesMap& other);
    // The base styles in the profile section, through the application-wide profile object (nothing, or
    // FALSE, without it).
    void WriteProfile() const;
    BOOL ReadProfile();

    // The id of the name, a new one when it is new; the style is stored as a clone.
    WORD RegisterStyle(LPCTSTR name, const CGXStyle& style, BOOL system = FALSE);
    // Named by a string resource ("UA<id>" when the string is missing).
    WORD RegisterResourceStyle(UINT resourceId, const CGXStyle& style, BOOL system = FALSE);
    // A known id gets a clone of the style (its name, resource id and flag stay); a new id a new record.
    void SetBaseStyleRecord(WORD id, const CGXStyle& style, LPCTSTR name, UINT resourceId, BOOL system);
    WORD NextStyleId() { return nextStyleId++; }

    BOOL LookupBaseStyle(WORD id, const CGXStyle*& style) const;
    // The name of a base style and its resource id; null and 0 for an unknown id.
    LPCTSTR GetBaseStyleName(WORD id, UINT& resourceId) const;
    // 0 when unknown.
    WORD GetBaseStyleIdByName(LPCTSTR name) const;
    WORD GetBaseStyleIdByResource(UINT resourceId) const;

    // Iteration over the style names (null when there are none); the style and resource id come with a
    // name whose id has a record.
    POSITION GetFirstStylePosition() const;
    void GetNextStyle(POSITION& position, WORD& id, CString& name, UINT& resourceId,
                      const CGXStyle*& style) const;

    // The control's name from the string table, once; a missing string raises the resource exception.
    void RegisterControl(WORD controlId);
    // Once per id: the name from the string table (a missing one raises the resource exception and
    // registers nothing) and a style of the map's class, initialised from the given one.
    void RegisterUserAttribute(WORD attributeId, const CGXStyle* style = nullptr);
    const std::map<WORD, CGXUserAttributeInfo>& GetUserAttributeInfoMap() const { return userAttributes; }

    void DeleteAll();
    // The base styles and their names go and ids start from 0 again; the resource index keeps its entries
    // (a later lookup checks them against the styles there are).
    void DeleteBaseStyles();
    void DeleteControlNames() { controlNames.clear(); }

    // "Standard" (the library defaults, 8-point default font), "Column Header" and "Row Header" (button
    // face, control 52520; null-pen borders when the library options ask for them).
    void CreateStandardStyles();

    // A new style of the map's class.
    std::unique_ptr<CGXStyle> CreateStyle() const;

    WORD standardStyleId = 0;
    WORD columnHeaderStyleId = 0;
    WORD rowHeaderStyleId = 0;
    CRuntimeClass* styleClass;
    std::map<WORD, CGXBaseStyleInfo> baseStyles;
    std::map<UINT, WORD> idByResource;
    std::map<std::u16string, WORD> idByName;
    WORD nextStyleId = 0;
    std::map<WORD, CString> controlNames;
    std::map<WORD, CGXUserAttributeInfo> userAttributes;
    CString profileSection = u"Styles";

private:
    // The id the resource index holds for a style that is still there with that resource id.
    bool FindResourceStyle(UINT resourceId, WORD& id) const;
};

// Reads an object and checks that it is a CGXStylesMap (the archive exception otherwise).
CGXStylesMap* ReadStylesMapFromArchive(CArchive& ar);
