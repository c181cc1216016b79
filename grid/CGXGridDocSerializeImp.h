// The archive forms of the parameter object (version 9) and of what it owns: the styles map (2), the cell
// data (1) with its sparse style arrays (1), and the properties (3; version 2 also written on request).
//
// Every count, size and index read is checked against what the archive can hold and what the form allows;
// anything that does not fit raises the archive exception, and an object whose loading fails leaves nothing
// behind. The parameter object's own fields and the archive's field order are listed in the source.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXGridDocSerializeImp : public CGXAbstractGridDocSerializeImp {
public:
    static constexpr WORD kParamVersion = 9;
    static constexpr WORD kStylesMapVersion = 2;
    static constexpr WORD kDataVersion = 1;
    static constexpr WORD kArrayVersion = 1;
    static constexpr WORD kPropertiesVersion = 3;

    void SerializeStylesMap(CGXStylesMap& map, CArchive& ar) override;
    void SerializeData(CGXData& data, CArchive& ar) override;
    void SerializeStylePtrArrayPtrArray(CGXStylePtrArrayPtrArray& cells, CArchive& ar) override;
    void SerializeStylePtrArray(CGXStylePtrArray& styles, CArchive& ar) override;
    void SerializeProperties(CGXProperties& properties, CArchive& ar) override;
    void SerializeGridParam(CGXGridParam& param, CArchive& ar) override;

    // The properties form written: 3, or the older 2 (which ends with the Print Column Headers flag) for a
    // layout meant to look like the ones the program was first given.
    void SetPropertiesStoreVersion(WORD version) {
        m_propertiesStoreVersion = version == 2 ? 2 : kPropertiesVersion;
    }

private:
    void StoreGridParam(CGXGridParam& param, CArchive& ar);
    void LoadGridParam(CGXGridParam& param, CArchive& ar);

    WORD m_propertiesStoreVersion = kPropertiesVersion;
};

// Installs the document archive object, and the style archive object it needs, when their slots are empty.
void InstallGridDocSerialize();
