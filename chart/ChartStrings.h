// The chart's texts from the string table, and its message boxes.
#pragma once

#include "platform/base/CString.h"

// FALSE and an empty text when the string is missing.
BOOL ChartLoadString(UINT id, CString& text);
CString ChartString(UINT id);
// A message box of the program with the text and the icon (MB_ICONEXCLAMATION, MB_ICONSTOP).
void ChartMessageBox(const CString& text, UINT icon);
