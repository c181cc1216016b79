// The archive forms of styles (version 6), fonts (version 2; version 1 read), brushes and pens, and the
// reader of the user attributes of styles written before style version 5.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXStyleSerializeImp : public CGXAbstractStyleSerializeImp {
public:
    static constexpr WORD kStyleVersion = 6;
    static constexpr WORD kFontVersion = 2;

    void SerializeFont(CArchive& ar, CGXFont& font) override;
    void SerializeBrush(CArchive& ar, CGXBrushValue& brush) override;
    void SerializePen(CArchive& ar, CGXPenValue& pen) override;
    void SerializeStyle(CGXStyle& style, CArchive& ar, const CGXStylesMap* stylesMap) override;

private:
    void StoreStyle(const CGXStyle& style, CArchive& ar, const CGXStylesMap* stylesMap);
    void LoadStyle(CGXStyle& style, CArchive& ar, const CGXStylesMap* stylesMap);
    void LoadFontVersion1(CArchive& ar, CGXFont& font);
};

class CGXSerializeV5CompatibleImp : public CGXAbstractSerializeV5CompatibleImp {
public:
    // A CGXCollMapDWordToString of attribute texts by id becomes the style's user attributes.
    void ReadOldUserAttributes(CGXStyle& style, CArchive& ar) override;
};

// The application-wide installers: each creates its object once, when its slot is empty.
void InstallStyleSerialize();
void InstallSerializeV5Compatible();
