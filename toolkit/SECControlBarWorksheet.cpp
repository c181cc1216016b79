#include "toolkit/SECControlBarWorksheet.h"

IMPLEMENT_DYNCREATE(SECControlBarWorksheet, SECWorksheet)
