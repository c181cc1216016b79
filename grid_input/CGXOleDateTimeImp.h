// Dates and times in the user's locale through the platform's date type: its parser and its formats
// ("%c", "%x", "%X"). It reports no locale order or separator of its own.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXOleDateTimeImp : public CGXAbstractDateTimeImp {
public:
    // The platform reads the locale on each call: nothing is cached.
    void ReloadLocaleSettings() override {}
    // 3 (undetermined), the outputs untouched.
    int GetDateOrder(BOOL reload, BOOL* fourDigitYear, WCHAR* dateSeparator) override;
    // 0: none of its own.
    WCHAR GetTimeSeparator(BOOL reload) override;
    // The order is the locale's whatever is asked; a failed parse leaves the record cleared.
    BOOL ParseDateTimeFields(GXTimestamp* out, LPCTSTR text, int order) override;
    BOOL ParseDateTimeTm(std::tm* out, LPCTSTR text, int order) override;
    // "%c" with date and time, "%X" with a time alone, else "%x".
    void FormatDateTime(CString& out, const GXTimestamp& timestamp) override;
    void FormatTime(CString& out, const CTime& time) override;
};

void InstallOleDateTime();
