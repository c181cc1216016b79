// What LoadFrame of the frame classes shares: the title from the first part of string nIDResource, and the
// window class, one with the icon of nIDResource when there is one.
#pragma once

#include "platform/base/CString.h"

LPCTSTR AfxFrameClassForResource(UINT nIDResource, CString& title);
