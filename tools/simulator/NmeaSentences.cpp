#include "tools/simulator/NmeaSentences.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace receiversim {

namespace {

// Degrees as d(d)dmm.mmmm and the hemisphere letter; rounding carries into the degrees.
std::string Angle(double degrees, int degreeDigits, char positive, char negative) {
    const long long tenThousandths = std::llround(std::fabs(degrees) * 60.0 * 10000.0);
    const long long wholeDegrees = tenThousandths / (60 * 10000);
    const long long minutes = tenThousandths % (60 * 10000);
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld,%c", degreeDigits, wholeDegrees, minutes / 10000,
                  minutes % 10000, degrees < 0 ? negative : positive);
    return text;
}

std::string Format(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

NmeaSentences::NmeaSentences(const CalendarTime& time, const EngineOptions& options,
                             const std::vector<Satellite>& sky)
    : time_(time), options_(options), sky_(sky) {}

std::string NmeaSentences::Time() const {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d.%02d", time_.hour, time_.minute, time_.second,
                  static_cast<int>(time_.nanos / 10'000'000));
    return text;
}

std::string NmeaSentences::LatLon() const {
    return Angle(options_.latitude, 2, 'N', 'S') + "," + Angle(options_.longitude, 3, 'E', 'W');
}

std::string NmeaSentences::Gga() const {
    const int used =
        static_cast<int>(std::count_if(sky_.begin(), sky_.end(), [](auto& s) { return s.used; }));
    char count[8];
    std::snprintf(count, sizeof count, "%02d", used);
    return NmeaSentence("GPGGA," + Time() + "," + LatLon() + "," + (used >= 3 ? "1" : "0") + "," + count +
                        "," + Format("%.1f", Dops::horizontal) + "," + Format("%.1f", options_.heightMsl) +
                        ",M," + Format("%.1f", options_.heightEllipsoid - options_.heightMsl) + ",M,,");
}

std::string NmeaSentences::Gll() const {
    return NmeaSentence("GPGLL," + LatLon() + "," + Time() + ",A");
}

std::string NmeaSentences::Gsa() const {
    std::string body = "GPGSA,A,3,";
    int slots = 0;
    for (const Satellite& s : sky_) {
        if (s.used && slots < 12) {
            char prn[8];
            std::snprintf(prn, sizeof prn, "%02d", s.prn);
            body += prn;
            body += ',';
            ++slots;
        }
    }
    for (; slots < 12; ++slots) {
        body += ',';
    }
    body += Format("%.1f", Dops::position) + "," + Format("%.1f", Dops::horizontal) + "," +
            Format("%.1f", Dops::vertical);
    return NmeaSentence(body);
}

std::vector<std::string> NmeaSentences::Gsv() const {
    const int inView = static_cast<int>(sky_.size());
    const int messages = std::max(1, (inView + 3) / 4);
    std::vector<std::string> out;
    for (int m = 0; m < messages; ++m) {
        char head[32];
        std::snprintf(head, sizeof head, "GPGSV,%d,%d,%02d", messages, m + 1, inView);
        std::string body = head;
        for (int i = 4 * m; i < std::min(inView, 4 * m + 4); ++i) {
            const Satellite& s = sky_[static_cast<std::size_t>(i)];
            char group[32];
            std::snprintf(group, sizeof group, ",%02d,%02d,%03d,%02d", s.prn, s.elevation, s.azimuth, s.cno);
            body += group;
        }
        out.push_back(NmeaSentence(body));
    }
    return out;
}

std::string NmeaSentences::Rmc() const {
    char date[8];
    std::snprintf(date, sizeof date, "%02d%02d%02d", time_.day, time_.month, time_.year % 100);
    return NmeaSentence("GPRMC," + Time() + ",A," + LatLon() + ",0.0,0.0," + date + ",,");
}

std::string NmeaSentences::Vtg() const {
    return NmeaSentence("GPVTG,0.0,T,,M,0.0,N,0.0,K");
}

std::string NmeaSentences::Zda() const {
    char date[32];
    std::snprintf(date, sizeof date, ",%02d,%02d,%04d,00,00", time_.day, time_.month, time_.year);
    return NmeaSentence("GPZDA," + Time() + date);
}

std::vector<std::string> NmeaSentences::ByName(std::string_view kind) const {
    if (kind == "GGA") {
        return {Gga()};
    }
    if (kind == "GLL") {
        return {Gll()};
    }
    if (kind == "GSA") {
        return {Gsa()};
    }
    if (kind == "GSV") {
        return Gsv();
    }
    if (kind == "RMC") {
        return {Rmc()};
    }
    if (kind == "VTG") {
        return {Vtg()};
    }
    if (kind == "ZDA") {
        return {Zda()};
    }
    return {};
}

} // namespace receiversim
