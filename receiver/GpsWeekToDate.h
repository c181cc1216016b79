// Calendar date of a GPS week and second count, and the line check of the Motorola LORAN mode.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

// Valid for dates from 1901 to 2099 (every fourth year a leap year).
void GpsWeekToDate(WORD week, LONG seconds, BYTE* second, BYTE* minute, BYTE* hour, BYTE* day, BYTE* month,
                   WORD* year);

// TRUE when the line, without white space at its ends, holds only letters and digits (an empty line too).
BOOL IsLoranLine(CString line);
