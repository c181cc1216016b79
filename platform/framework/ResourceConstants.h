// What a resource script includes (cmake/DolivaResources.cmake runs the C preprocessor over it): the headers
// of the constants it names, which are plain #defines for that reason, and the names only a script uses.
#pragma once

#include "platform/base/MessageBoxConstants.h"
#include "platform/controls/ControlConstants.h"
#include "platform/display/VirtualKeys.h"
#include "platform/display/WindowStyles.h"
#include "platform/framework/AfxRes.h"

// Custom resource types written as numbered data blocks: llvm-rc has no statement for them. C++ has the
// MAKEINTRESOURCE forms in Resources.h.
#ifdef RC_INVOKED
#define RT_DLGINIT 240
#define RT_TOOLBAR 241
#endif
