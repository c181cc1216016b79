#include "receiver/AppProfileAccess.h"

namespace {

CAppProfile*& Installed() {
    static CAppProfile* profile = nullptr;
    return profile;
}

} // namespace

CAppProfile& AppProfile() {
    static CAppProfile fallback(u"Halvorn", u"Doliva");
    CAppProfile* profile = Installed();
    return profile ? *profile : fallback;
}

void SetAppProfile(CAppProfile* profile) {
    Installed() = profile;
}

CString AppGetProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR defaultText) {
    return CString(AppProfile().GetProfileString(section, entry, defaultText));
}

int AppGetProfileInt(LPCTSTR section, LPCTSTR entry, int defaultValue) {
    return static_cast<int>(AppProfile().GetProfileInt(section, entry, defaultValue));
}

BOOL AppWriteProfileString(LPCTSTR section, LPCTSTR entry, LPCTSTR value) {
    return AppProfile().WriteProfileString(section, entry, value);
}

BOOL AppWriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    return AppProfile().WriteProfileInt(section, entry, value);
}
