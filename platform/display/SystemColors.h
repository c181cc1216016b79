// Changing the system colours, which the windows have to hear of; the colours themselves are GDI's table.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/gdi/SystemColors.h"

// Sets colours for the rest of the process; sends WM_SYSCOLORCHANGE to the top-level windows and redraws
// them all.
BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors);
