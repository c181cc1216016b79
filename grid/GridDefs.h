// Types and codes shared by the grid library: cell coordinates, style merge modes and value types.
#pragma once

#include "platform/base/Win32Types.h"

// A row or column number. Row 0 holds the column headers, column 0 the row headers.
using ROWCOL = DWORD;

// "No row or column", and the largest row or column a range may name.
constexpr ROWCOL kGridNoRowCol = 0xFFFFFFFF;
constexpr ROWCOL kGridMaxRowCol = 0xFFFFFFFE;

// How one style is merged into another (CGXStyle::MergeStyle and everything that stores styles).
enum GridMergeMode : int {
    kMergeOverride = 0, // take every attribute the other style includes
    kMergeFill = 1,     // take only what this style lacks
    kMergeCopy = 2,     // become a copy of the other style
    kMergeExclude = 3,  // remove what the other style includes
    kMergeRemove = 4,   // with no style: remove what is stored
};

// The value type of a style's value text.
enum GridValueType : int {
    kValueText = 0,
    kValueNumber = 1,
};
