// The one place where the application's engines reach the profile. Until the application object exists it
// is the registry profile of "Halvorn\Doliva"; the application object will route it through its own
// profile calls.
#pragma once

#include "platform/base/CString.h"
#include "platform/registry/AppProfile.h"

// The installed profile; SetAppProfile(nullptr) puts the default back.
CAppProfile& AppProfile();
void SetAppProfile(CAppProfile* profile);

CString AppGetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultText = nullptr);
int AppGetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue);
BOOL AppWriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value);
BOOL AppWriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
