// The user attributes of a style: owned attribute objects kept sorted by id, one per id.
#pragma once

#include "grid/CGXUserAttribute.h"
#include "platform/base/CArrays.h"

class CGXUserAttributeMap : public CObArray {
    DECLARE_SERIAL(CGXUserAttributeMap)
public:
    CGXUserAttributeMap() = default;
    ~CGXUserAttributeMap() override;

    // WORD count, then each attribute as an object followed by its WORD id. Reading replaces the contents.
    void Serialize(CArchive& ar) override;

    void DeleteAll();
    BOOL IsEmpty() const { return GetSize() == 0; }
    CGXAbstractUserAttribute* GetAttributeAt(INT_PTR index) const {
        return static_cast<CGXAbstractUserAttribute*>(GetAt(index));
    }
    // Binary search by id; -1 when absent.
    INT_PTR FindIndex(WORD id) const;
    CGXAbstractUserAttribute* FindAttribute(WORD id) const;
    CGXAbstractUserAttribute* GetAttribute(WORD id) const { return FindAttribute(id); }
    // The map owns the attribute from now on and gives it the id; an attribute of that id is replaced in
    // its place.
    void SetAttribute(WORD id, CGXAbstractUserAttribute* attribute);
    void SetAttributeCopy(WORD id, const CGXAbstractUserAttribute& attribute);
    void RemoveAttribute(WORD id);
    // Modes as for styles: 0 override, 1 add only missing ids, 2 empty first then add, 3 remove the other's
    // ids.
    void Merge(const CGXUserAttributeMap& other, int mode);
    void SortById();
    // Every attribute as the key "UA<id>" with its text, in the application profile's section.
    void WriteProfile(LPCTSTR section) const;
};
