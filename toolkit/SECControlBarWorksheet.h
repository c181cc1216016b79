// The host of a bar floated inside a workbook: a worksheet with a tab of its own, holding the bar as the
// MDI frame's float host does.
#pragma once

#include "toolkit/SECMDIFloatHost.h"
#include "toolkit/SECWorksheet.h"

class SECControlBarWorksheet : public SECMDIFloatHostWnd<SECWorksheet> {
    DECLARE_DYNCREATE(SECControlBarWorksheet)
};
