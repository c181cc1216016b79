#include "grid_input/CGXOleDateTimeImp.h"

#include "grid/GridLibraryState.h"
#include "grid_input/GridDateTime.h"
#include "platform/base/COleDateTime.h"
#include "platform/base/Locale.h"

namespace {

bool Parse(LPCTSTR text, COleDateTime& value) {
    return text && value.ParseDateTime(text, 0, LANG_USER_DEFAULT) && value.GetStatus() == COleDateTime::valid;
}

} // namespace

int CGXOleDateTimeImp::GetDateOrder(BOOL, BOOL*, WCHAR*) {
    return 3;
}

WCHAR CGXOleDateTimeImp::GetTimeSeparator(BOOL) {
    return 0;
}

BOOL CGXOleDateTimeImp::ParseDateTimeFields(GXTimestamp* out, LPCTSTR text, int) {
    if (!out) {
        return FALSE;
    }
    *out = GXTimestamp{};
    COleDateTime value;
    if (!Parse(text, value)) {
        return FALSE;
    }
    out->year = static_cast<short>(value.GetYear());
    out->month = static_cast<WORD>(value.GetMonth());
    out->day = static_cast<WORD>(value.GetDay());
    out->hour = static_cast<WORD>(value.GetHour());
    out->minute = static_cast<WORD>(value.GetMinute());
    out->second = static_cast<WORD>(value.GetSecond());
    return TRUE;
}

BOOL CGXOleDateTimeImp::ParseDateTimeTm(std::tm* out, LPCTSTR text, int) {
    if (!out) {
        return FALSE;
    }
    *out = std::tm{};
    COleDateTime value;
    if (!Parse(text, value)) {
        return FALSE;
    }
    out->tm_year = value.GetYear() - 1900;
    out->tm_mon = value.GetMonth() - 1;
    out->tm_mday = value.GetDay();
    out->tm_hour = value.GetHour();
    out->tm_min = value.GetMinute();
    out->tm_sec = value.GetSecond();
    return TRUE;
}

void CGXOleDateTimeImp::FormatDateTime(CString& out, const GXTimestamp& timestamp) {
    const bool hasTime = timestamp.hour != 0 || timestamp.minute != 0 || timestamp.second != 0;
    const bool hasDate = timestamp.month != 0;
    COleDateTime value;
    if (hasDate) {
        value.SetDateTime(timestamp.year, timestamp.month, timestamp.day, timestamp.hour, timestamp.minute,
                          timestamp.second);
    } else {
        // A record without a date would make no valid value: the time alone is formatted.
        value.SetTime(timestamp.hour, timestamp.minute, timestamp.second);
    }
    out = value.Format(hasDate && hasTime ? u"%c" : hasTime ? u"%X" : u"%x");
}

void CGXOleDateTimeImp::FormatTime(CString& out, const CTime& time) {
    FormatLocalTime(out, time);
}

void InstallOleDateTime() {
    InstallAppFeature<CGXOleDateTimeImp>(GridLibraryState::Instance().dateTimeImp);
}
