#include "app/PositionText.h"

#include <cmath>
#include <cstdint>

namespace {

struct Angle {
    int degrees;      // truncated toward zero
    double minutes;   // of the remainder, always positive
    int wholeMinutes; // for the seconds form
    double seconds;
    const char16_t* sign; // "-" for -1 < v < 0, where the degrees alone would lose the sign
};

Angle Split(double value) {
    Angle a{};
    a.degrees = static_cast<int>(std::trunc(value));
    a.minutes = std::fabs(value - a.degrees) * 60;
    a.wholeMinutes = static_cast<int>(std::trunc(a.minutes));
    a.seconds = (a.minutes - a.wholeMinutes) * 60;
    a.sign = (a.degrees == 0 && value < 0) ? u"-" : u"";
    return a;
}

bool Negative(const Angle& a) {
    return a.degrees < 0 || a.sign[0] == u'-';
}

} // namespace

CString FormatPositionText(int format, double latitude, double longitude, double altitudeGps,
                           double altitudeMsl, bool allowNmeaForm) {
    const Angle lat = Split(latitude);
    const Angle lon = Split(longitude);
    CString text;
    if (format == 3 && allowNmeaForm) {
        text.Format(u"%02.2d%07.4f,%s,%03.3d%07.4f,%s", std::abs(lat.degrees), lat.minutes,
                    Negative(lat) ? u"S" : u"N", std::abs(lon.degrees), lon.minutes,
                    Negative(lon) ? u"W" : u"E");
    } else if (format == 0) {
        text.Format(u"%10.7f°\t%11.7f°\t%8.2fm\t%8.2fm", latitude, longitude, altitudeGps, altitudeMsl);
    } else if (format == 1) {
        text.Format(u"%s%2.2d° %8.5f'\t%s%4d° %8.5f'\t%8.2fm\t%8.2fm", lat.sign, lat.degrees, lat.minutes,
                    lon.sign, lon.degrees, lon.minutes, altitudeGps, altitudeMsl);
    } else {
        text.Format(u"%s%2.2d° %3d' %7.4f\"\t%s%4d° %2.2d' %7.4f\"\t%8.2fm\t%8.2fm", lat.sign, lat.degrees,
                    lat.wholeMinutes, lat.seconds, lon.sign, lon.degrees, lon.wholeMinutes, lon.seconds,
                    altitudeGps, altitudeMsl);
    }
    return text;
}

CString FormatGridLocator(double latitude, double longitude) {
    // Millionths of a degree east of -180 and north of -90, in integer arithmetic.
    const auto l = static_cast<std::int64_t>(std::trunc((longitude + 540.0) * 1000000)) % 360000000;
    const std::int64_t l1 = l % 20000000;
    const std::int64_t l2 = l1 % 2000000;
    const std::int64_t e = (l2 * 6) / 1000;
    const auto b = static_cast<std::int64_t>(std::trunc((latitude + 90.0) * 1000000));
    const std::int64_t b1 = b % 10000000;
    const std::int64_t b2 = b1 % 1000000;
    const std::int64_t f = (b2 * 6) / 1000;
    char16_t text[10] = {static_cast<char16_t>(u'A' + l / 20000000),
                         static_cast<char16_t>(u'A' + b / 10000000),
                         static_cast<char16_t>(u'0' + l1 / 2000000),
                         static_cast<char16_t>(u'0' + b1 / 1000000),
                         static_cast<char16_t>(u'a' + e / 500),
                         static_cast<char16_t>(u'a' + f / 250),
                         u'.',
                         static_cast<char16_t>(u'0' + (e % 500) / 50),
                         static_cast<char16_t>(u'0' + (f % 250) / 25),
                         0};
    return CString(text);
}

CString FormatDopText(double gdop, double pdop, double hdop, double vdop, double tdop) {
    CString text;
    if (gdop <= 0 && pdop <= 0 && hdop <= 0 && vdop <= 0 && tdop <= 0) {
        return text;
    }
    text = u"DOPs: ";
    if (gdop > 0) {
        text.AppendFormat(u"G=%03.1f ", gdop);
    }
    if (pdop > 0) {
        text.AppendFormat(u"P=%03.1f ", pdop);
    }
    if (hdop > 0) {
        text.AppendFormat(u"H=%03.1f ", hdop);
    }
    if (vdop > 0) {
        text.AppendFormat(u"V=%03.1f ", vdop);
    }
    if (tdop > 0) {
        text.AppendFormat(u"T=%03.1f ", tdop);
    }
    return text;
}

CString FormatAveragesReportText(const AveragingReportValues& v) {
    CString text;
    text.Format(u"\t\tLatitude\tLongitude\t    - 2D -\tAlt(GPS)\tAlt(MSL)\r\n"
                u"Ref-Avg:\t%7.2f m\t%7.2f m\t%8.2f m\t%7.1f m\t%7.1f m\r\n"
                u"\tRMS:\t%7.2f\t%7.2f\t%8.2f\t%7.1f\t%7.1f\r\n"
                u"Avg-Cur:\t%7.2f m\t%7.2f m\t%8.2f m\t%7.1f m\t%7.1f m\r\n"
                u"\tRMS:\t%7.2f\t%7.2f\t%8.2f\t%7.1f\t%7.1f\r\n"
                u"Ref-Cur:\t%7.2f m\t%7.2f m\t%8.2f m\t%7.1f m\t%7.1f m\r\n"
                u"\tRMS:\t%7.2f\t%7.2f\t%8.2f\t%7.1f\t%7.1f",
                v.difference[0][0], v.difference[0][1], v.difference[0][2], v.difference[0][3],
                v.difference[0][4], v.rms[0][0], v.rms[0][1], v.rms[0][2], v.rms[0][3], v.rms[0][4],
                v.difference[1][0], v.difference[1][1], v.difference[1][2], v.difference[1][3],
                v.difference[1][4], v.rms[1][0], v.rms[1][1], v.rms[1][2], v.rms[1][3], v.rms[1][4],
                v.difference[2][0], v.difference[2][1], v.difference[2][2], v.difference[2][3],
                v.difference[2][4], v.rms[2][0], v.rms[2][1], v.rms[2][2], v.rms[2][3], v.rms[2][4]);
    return text;
}
