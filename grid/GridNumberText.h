// Reading cell and attribute texts as numbers.
#pragma once

#include "platform/base/Win32Types.h"

// The text read as a floating-point number the way the C runtime's atof reads it (0 when it is not one),
// always with "." as the decimal point.
double WideToDouble(LPCTSTR text);
// Whether the text is a number: the number-formatting object parses it, and the value written back with
// "%.13g" is the text itself ("12" is a number, "12.0" and " 12" are not). Without the number-formatting
// object no text is a number.
BOOL IsNumberText(LPCTSTR text, double* value = nullptr);
// Reads up to maxCount decimal numbers separated by blanks (leading blanks skipped); a field that is not a
// number reads as 0. The count read; 0 for a null or empty text.
int ReadBlankSeparatedNumbers(LPCTSTR text, long* numbers, int maxCount);
