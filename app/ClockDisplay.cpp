#include "app/ClockDisplay.h"

#include "app/GpsTime.h"

namespace {

// "%H:%M:%S." of a UTC time and the fixed correction as milliseconds: the display changes once a second at
// the tick, so the milliseconds shown are those at which the second began.
CString UtcWithCorrection(const CGpsTime& gpsTime) {
    const int correction = gpsTime.GetCorrection();
    CString text;
    if (correction < 0) {
        text = gpsTime.SubtractSpan(CTimeSpan(1)).FormatGmt(u"%H:%M:%S.");
        text.AppendFormat(u"%03u", correction + 1000);
    } else {
        text = gpsTime.Format(u"%H:%M:%S.");
        text.AppendFormat(u"%03u", correction);
    }
    return text;
}

} // namespace

CString GetMonthName(int month) {
    static const char16_t* const kNames[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                             u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    return (month >= 1 && month <= 12) ? CString(kNames[month - 1]) : CString(u"Illegal month");
}

CString GetDayName(int day) {
    static const char16_t* const kNames[] = {u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                             u"Thursday", u"Friday", u"Saturday"};
    return (day >= 1 && day <= 7) ? CString(kNames[day - 1]) : CString(u"Illegal day");
}

CString FormatUtcClockText(const CGpsTime& gpsTime) {
    return UtcWithCorrection(gpsTime);
}

CString FormatPcClockText(const CTime& pcTime, int pcMillis) {
    CString text = pcTime.Format(u"%H:%M:%S.");
    text.AppendFormat(u"%03u", pcMillis);
    return text;
}

CString FormatBigClockText(int mode, const CGpsTime& gpsTime, const CTime& pcTime, int pcMillis,
                           LONGLONG pcOffsetMs) {
    CString text;
    switch (mode) {
    case kDisplayUtc:
        return UtcWithCorrection(gpsTime);
    case kDisplayPc:
        return FormatPcClockText(pcTime, pcMillis);
    case kDisplayLmst:
        return gpsTime.GetSiderealTimeText(1);
    case kDisplayGmst:
        return gpsTime.GetSiderealTimeText(0);
    case kDisplayMjd:
        text.Format(u"%08.5f", gpsTime.GetMjdWithFraction());
        return text;
    case kDisplayPcMinusUtc:
        text.Format(u"%05.3f", static_cast<double>(pcOffsetMs) * 0.001);
        return text;
    default:
        return text;
    }
}

CString FormatUtcInfoText(const CGpsTime& gpsTime, int gpsUtcOffsetSec, int leapSecondPending) {
    // Built piece by piece; the names never pass through a format.
    CString text;
    text.Format(u"UTC Day #%.3i  ", gpsTime.GetDayOfYear());
    text += UtcWithCorrection(gpsTime);
    text += u"\r\n";
    text += GetDayName(gpsTime.GetDayOfWeek());
    text.AppendFormat(u", %.2i ", gpsTime.GetDay());
    text += GetMonthName(gpsTime.GetMonth());
    text.AppendFormat(u" %.4i\r\nGPS Week = %u", gpsTime.GetYear(), gpsTime.GetGpsWeek());
    if (gpsUtcOffsetSec > 0) {
        text.AppendFormat(u"\r\nUTC = GPS - %i seconds", gpsUtcOffsetSec);
    }
    if (leapSecondPending == 1) {
        text += u"\r\n+1 leap second is pending";
    } else if (leapSecondPending == 2) {
        text += u"\r\n-1 leap second is pending";
    }
    return text;
}

CString FormatPcTimeText(const CTime& pcTime, int pcMillis, DWORD timeZoneResult, LPCTSTR standardName,
                         LPCTSTR daylightName) {
    const CString standard(standardName ? standardName : u"");
    const CString daylight(daylightName ? daylightName : u"");
    CString text = FormatPcClockText(pcTime, pcMillis);
    text += u"\r\n";
    if (timeZoneResult == 1) {
        text += standard;
    } else if (timeZoneResult == 2) {
        text += daylight;
    } else if (!standard.IsEmpty()) {
        text += standard;
    } else {
        text += u"Unknown Time Zone";
    }
    return text;
}

CString FormatSiderealText(const CGpsTime& gpsTime) {
    CString text;
    text.Format(u"%s\r\n%s\r\n%08.5f", gpsTime.GetSiderealTimeText(1).GetString(),
                gpsTime.GetSiderealTimeText(0).GetString(), gpsTime.GetMjdWithFraction());
    return text;
}

PositionColumns SplitPositionColumns(const CString& current, const CString& average,
                                     const CString& reference) {
    PositionColumns columns;
    CString* targets[4] = {&columns.latitude, &columns.longitude, &columns.altitudeGps, &columns.altitudeMsl};
    const CString* sources[3] = {&current, &average, &reference};
    for (int line = 0; line < 3; ++line) {
        const std::u16string& s = sources[line]->str();
        size_t start = 0;
        for (int field = 0; field < 4; ++field) {
            // The last column takes whatever follows the third tab.
            size_t end = field < 3 ? s.find(u'\t', start) : std::u16string::npos;
            std::u16string part;
            if (start <= s.size()) {
                part = s.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
            }
            if (line > 0) {
                *targets[field] += u"\n";
            }
            *targets[field] += CString(part);
            start = end == std::u16string::npos ? s.size() + 1 : end + 1;
        }
    }
    return columns;
}

ClockColour ChooseClockColour(BOOL outOfLock, BOOL tickHandled, BOOL decoderTicks, int ppsInterface) {
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF navy = RGB(0, 0, 128);
    if (outOfLock) {
        return {false, red};
    }
    if (tickHandled) {
        return decoderTicks ? ClockColour{false, navy} : ClockColour{true, 0};
    }
    return {false, ppsInterface > 0 ? red : navy};
}

LONG TimeZoneBiasMinutes(DWORD timeZoneResult, LONG bias, LONG standardBias, LONG daylightBias) {
    if (timeZoneResult == 1) {
        return bias + standardBias;
    }
    if (timeZoneResult == 2) {
        return bias + daylightBias;
    }
    return bias;
}
