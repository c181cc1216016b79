// The texts of the view's clock display: the big clock in its six modes, the UTC information block, the PC
// time line, the sidereal block and the position columns, each from the values the view holds.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Win32Types.h"

class CGpsTime;

// "Clock Display Mode Enum" values.
enum ClockDisplayMode {
    kDisplayUtc = 0,
    kDisplayPc = 1,
    kDisplayLmst = 2,
    kDisplayGmst = 3,
    kDisplayMjd = 4,
    kDisplayPcMinusUtc = 5
};

// "Jan".."Dec" for 1..12, "Illegal month" otherwise; "Sunday".."Saturday" for 1..7, "Illegal day" otherwise.
CString GetMonthName(int month);
CString GetDayName(int day);

// The tick's UTC as "%H:%M:%S." and the milliseconds of the fixed correction; a negative correction shows
// the previous second with correction + 1000.
CString FormatUtcClockText(const CGpsTime& gpsTime);
// The PC's time in local time as "%H:%M:%S." and the stamp's milliseconds "%03u".
CString FormatPcClockText(const CTime& pcTime, int pcMillis);

// The big clock for a mode; gpsTime already holds the tick's time. Modes outside 0..5 show nothing.
CString FormatBigClockText(int mode, const CGpsTime& gpsTime, const CTime& pcTime, int pcMillis,
                           LONGLONG pcOffsetMs);

// The UTC information block: day of year and time, weekday and date, GPS week, then the GPS-UTC difference
// when above 0 and the pending leap second (1 positive, 2 negative).
CString FormatUtcInfoText(const CGpsTime& gpsTime, int gpsUtcOffsetSec, int leapSecondPending);

// The PC time and the time-zone name for GetTimeZoneInformation's result (1 standard, 2 daylight).
CString FormatPcTimeText(const CTime& pcTime, int pcMillis, DWORD timeZoneResult, LPCTSTR standardName,
                         LPCTSTR daylightName);

// LMST, GMST and the MJD with its day fraction, one per line.
CString FormatSiderealText(const CGpsTime& gpsTime);

// The four position columns (latitude, longitude, GPS altitude, MSL altitude), each three lines: the
// current fix, the average and the reference, taken from their tab-separated texts.
struct PositionColumns {
    CString latitude;
    CString longitude;
    CString altitudeGps;
    CString altitudeMsl;
};
PositionColumns SplitPositionColumns(const CString& current, const CString& average,
                                     const CString& reference);

// Colour of the big clock; useDefault when it keeps the control's own colour.
struct ClockColour {
    bool useDefault = false;
    COLORREF colour = 0;
};
ClockColour ChooseClockColour(BOOL outOfLock, BOOL tickHandled, BOOL decoderTicks, int ppsInterface);

// The time-zone bias in minutes for GetTimeZoneInformation's result.
LONG TimeZoneBiasMinutes(DWORD timeZoneResult, LONG bias, LONG standardBias, LONG daylightBias);
