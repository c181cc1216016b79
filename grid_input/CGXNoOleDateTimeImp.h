// Dates and times in the user's locale without the platform's date type: reads the locale's short-date
// pattern and time separator itself (cached process-wide until the next reload) and carries its own parser
// and formatter.
#pragma once

#include "grid/GridFeatureInterfaces.h"

class CGXNoOleDateTimeImp : public CGXAbstractDateTimeImp {
public:
    void ReloadLocaleSettings() override;
    int GetDateOrder(BOOL reload, BOOL* fourDigitYear, WCHAR* dateSeparator) override;
    WCHAR GetTimeSeparator(BOOL reload) override;
    // A text "date time", "date" or "time": the date in the given order (3: the locale's) of digits and
    // "/-. " separators, six digits in a row read as three pairs; the time as hours, then two-digit minutes
    // and seconds after the separator, with an optional AM/PM (or A/P) ending. A time alone has the date
    // of 1 January 1970 (month 0 in the timestamp: no date). On failure the fields read so far stay.
    BOOL ParseDateTimeFields(GXTimestamp* out, LPCTSTR text, int order) override;
    BOOL ParseDateTimeTm(std::tm* out, LPCTSTR text, int order) override;
    // The date in the locale's order and separator (two-digit years unless the locale writes four), then
    // the time as hh:mm:ss when it is not midnight.
    void FormatDateTime(CString& out, const GXTimestamp& timestamp) override;
    void FormatTime(CString& out, const CTime& time) override;

    // Forgets the cached locale settings (they are process-wide).
    static void ClearLocaleCache();
};

void InstallNoOleDateTime();
