// Deep copies of a grid parameter object, a styles map and grid properties: the copy gets objects of its own
// for everything the source has, whether the source owns or borrows them.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXGridParamCopyOperatorImp : public CGXAbstractGridParamCopyOperatorImp {
public:
    // The copy keeps the source's own-flags, as archives and callers read them; the objects made for a
    // copy whose flag says "borrowed" are held in the copy's object map so that they are freed with it.
    void CopyGridParam(CGXGridParam& dest, const CGXGridParam& source) override;
    // Style ids, names and the next id stay, so that styles naming base styles by id stay valid.
    void CopyStylesMap(CGXStylesMap& dest, const CGXStylesMap& source) override;
    // Frame and token names, the default user-property style and page breaks are not copied.
    void CopyProperties(CGXProperties& dest, const CGXProperties& source) override;
};

void InstallGridParamCopyOperator();
