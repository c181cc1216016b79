// The grid library's date and time services: whichever date/time object the library state holds answers
// them (GridLibraryState::dateTimeImp); without one they give the neutral answers.
#pragma once

#include "grid/GridFeatureInterfaces.h"

// The date order (0 day-month-year, 1 month-day-year, 2 year-month-day) with the four-digit-year flag and
// the date separator; 3, and the outputs untouched, without a date/time object.
int GetLocaleDateOrder(BOOL reload, BOOL* fourDigitYear, WCHAR* dateSeparator);
// ':' without a date/time object.
WCHAR GetLocaleTimeSeparator(BOOL reload);

// The local time as the locale's date and time ("%c"), or its date alone ("%x") at midnight.
void FormatLocalTime(CString& out, const CTime& time);
