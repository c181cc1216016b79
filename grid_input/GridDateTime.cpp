#include "grid_input/GridDateTime.h"

#include "grid/GridLibraryState.h"
#include "platform/base/CTime.h"

int GetLocaleDateOrder(BOOL reload, BOOL* fourDigitYear, WCHAR* dateSeparator) {
    CGXAbstractDateTimeImp* dateTime = GridLibraryState::Instance().dateTimeImp;
    return dateTime ? dateTime->GetDateOrder(reload, fourDigitYear, dateSeparator) : 3;
}

WCHAR GetLocaleTimeSeparator(BOOL reload) {
    CGXAbstractDateTimeImp* dateTime = GridLibraryState::Instance().dateTimeImp;
    return dateTime ? dateTime->GetTimeSeparator(reload) : u':';
}

void FormatLocalTime(CString& out, const CTime& time) {
    std::tm local{};
    const bool broken = time.GetLocalTm(&local) != nullptr;
    const bool hasTime = broken && (local.tm_hour != 0 || local.tm_min != 0 || local.tm_sec != 0);
    const bool hasMonth = broken && local.tm_mon + 1 > 0;
    out = time.Format(hasTime ? (hasMonth ? u"%c" : u"%X") : u"%x");
}
