// The platform version as the original reports it to programs that ask which Windows family they run on:
// an NT-family system of version 10.0, so that code choosing between old and new behaviour takes the new.
#pragma once

#include "platform/base/Win32Types.h"

// Low byte the major version, next byte the minor version, bits 16-30 the build; bit 31 clear (NT family).
DWORD GetVersion();
