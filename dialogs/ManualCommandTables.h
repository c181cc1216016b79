// The command tables of the manual command dialog, and which of them (and which rows) a receiver gets.
#pragma once

#include "platform/base/Win32Types.h"

#include <vector>

// One row: the name in the list, the prefix it puts into the prefix edit, its description, the documented
// message length (not used by the dialog; 0 where it is not documented) and its default parameters.
struct ManualCommandEntry {
    LPCTSTR name;
    LPCTSTR sendTemplate;
    LPCTSTR description;
    int length;
    LPCTSTR defaultParameters;
};

extern const ManualCommandEntry g_motorolaBinaryCommandTable[102];
extern const ManualCommandEntry g_motorolaNmeaCommandTable[8];
extern const ManualCommandEntry g_ubxCommandTable[9];
extern const ManualCommandEntry g_ubxNmeaRateCommandTable[13];
extern const ManualCommandEntry g_otherReceiverCommandTable[5];

// What the dialog offers one receiver: the table (null for none), the rows in table order, and the typing
// limits of the list's edit and of the prefix edit (0 leaves them as they are).
struct ManualCommandChoice {
    const ManualCommandEntry* table = nullptr;
    int tableRows = 0;
    std::vector<int> offeredRows;
    int listLimit = 0;
    int prefixLimit = 0;
};

ManualCommandChoice ChooseManualCommandTable(int model, int interfaceMode);
