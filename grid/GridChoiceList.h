// The choice lists of list-like cells: lines separated by CR LF (or CR or LF), each of tab-separated
// columns, the first line perhaps a title.
#pragma once

#include "platform/base/CString.h"

// Moves the first line (up to CR, LF or CR LF) out of the text; the line end's position, or -1 when there
// was none (then the whole text is the line).
int SplitFirstLine(CString& text, CString& line);
// Column `column` (0-based) of the line, at most maxChars characters, into the buffer (maxChars + 1 units);
// empty when the line has fewer columns. The buffer.
LPTSTR GetTabColumnText(LPCTSTR line, int column, LPTSTR buffer, int maxChars);
// The index (counted without a skipped title) of the first line whose column equals the key (exact) or
// begins with it ignoring case; -1 and an empty line when none does.
int FindChoiceByColumn(LPCTSTR key, int column, LPCTSTR choices, BOOL skipTitle, CString& line, BOOL exact);
// Sorts the lines ignoring case, by the whole line (column 0 or less) or by that tab column; each line
// ends with CR LF afterwards, the title first when kept.
void SortChoiceLines(CString& choices, int column, BOOL keepTitle);
