// The layout of the satellite-enable grid, which the program keeps as the resource "SATSENABLEGRID" of type
// "GXLAYOUT": 4 rows of 16 columns, the satellite numbers 1-16 in row 1 and 17-32 in row 3, and under each
// number a 3-D check box ("1" enabled, "0" disabled) in rows 2 and 4, and the printer settings it was drawn
// with. It is built at build time and written in the archive form the grid loads, with single-byte strings
// and the older properties form.
#pragma once

#include "platform/base/Win32Types.h"

#include <memory>
#include <vector>

class CGXGridParam;

namespace gridlayout {

constexpr DWORD kLayoutRows = 4;
constexpr DWORD kLayoutCols = 16;
constexpr WORD kCheckBox3dControl = 52523;
constexpr WORD kStaticControl = 52513;

// The parameter object of the layout. Needs the grid's string table (control and style names).
std::unique_ptr<CGXGridParam> BuildSatsEnableLayout();
// A parameter object in the layout resources' form: single-byte strings, the older properties form.
// Installs the grid's archive objects and the print-device object when they are missing.
std::vector<BYTE> WriteLayout(CGXGridParam& param);
// The layout's bytes as the resource holds them.
std::vector<BYTE> WriteSatsEnableLayout();

} // namespace gridlayout
