// Whether one style contains another: every attribute the other includes is included with an equal value.
// The grid uses it to find cells that already carry a style.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXStyleCompareSubsetImp : public CGXAbstractStyleCompareSubsetImp {
public:
    // Colours compare as drawn (a system colour by its present value); fonts and borders by the parts the
    // other sets; user attributes by id. The value type is not compared.
    BOOL IsSubSet(const CGXStyle& style, const CGXStyle& other) override;
};

void InstallStyleCompareSubset();
