// NmeaScan against the runtime's swscanf: every scan format the sentence decoder uses, on the same text, must
// give the same answer and the same values. Shared by the table test and the fuzz target.
#pragma once

#include "platform/base/WideRuntime.h"
#include "receiver/NmeaScan.h"

#include <cstring>
#include <string>

namespace nmea_scan_check {

struct Values {
    unsigned u[16] = {};
    int i[2] = {};
    float f[3] = {};
    char16_t c = 0;

    bool operator==(const Values& other) const {
        return std::memcmp(u, other.u, sizeof u) == 0 && std::memcmp(i, other.i, sizeof i) == 0 &&
               std::memcmp(f, other.f, sizeof f) == 0 && c == other.c;
    }
};

struct Outcome {
    int result = 0;
    Values values;
    bool operator==(const Outcome& other) const { return result == other.result && values == other.values; }
};

inline NmeaScan Head(const char16_t* text, const char16_t* head) {
    NmeaScan scan(text);
    for (; *head; ++head) {
        scan.Literal(*head);
    }
    return scan;
}

// The format's name when NmeaScan and swscanf disagree on `text`; null when they agree on every format.
inline const char* FirstDisagreement(const char16_t* text) {
    struct Pair {
        const char* format;
        Outcome direct, runtime;
    };
    Pair pairs[9];
    int n = 0;
    auto add = [&](const char* format) -> Pair& {
        pairs[n].format = format;
        return pairs[n++];
    };
    {
        Pair& p = add("%2u%2u%f");
        Values& d = p.direct.values;
        p.direct.result = NmeaScan(text).Unsigned(&d.u[0], 2).Unsigned(&d.u[1], 2).Float(&d.f[0]).Result();
        Values& r = p.runtime.values;
        p.runtime.result = swscanf(text, u"%2u%2u%f", &r.u[0], &r.u[1], &r.f[0]);
    }
    for (std::size_t digits : {2u, 3u}) {
        Pair& p = add(digits == 2 ? "%2u%f" : "%3u%f");
        Values& d = p.direct.values;
        p.direct.result = NmeaScan(text).Unsigned(&d.u[0], digits).Float(&d.f[0]).Result();
        Values& r = p.runtime.values;
        p.runtime.result = swscanf(text, digits == 2 ? u"%2u%f" : u"%3u%f", &r.u[0], &r.f[0]);
    }
    {
        Pair& p = add("%u %d %f");
        p.direct.result = NmeaScan(text).Unsigned(&p.direct.values.u[0]).Result() * 100 +
                          NmeaScan(text).Int(&p.direct.values.i[0]).Result() * 10 +
                          NmeaScan(text).Float(&p.direct.values.f[0]).Result();
        p.runtime.result = swscanf(text, u"%u", &p.runtime.values.u[0]) * 100 +
                           swscanf(text, u"%d", &p.runtime.values.i[0]) * 10 +
                           swscanf(text, u"%f", &p.runtime.values.f[0]);
    }
    {
        Pair& p = add("%2u%2u%2u");
        Values& d = p.direct.values;
        p.direct.result =
            NmeaScan(text).Unsigned(&d.u[0], 2).Unsigned(&d.u[1], 2).Unsigned(&d.u[2], 2).Result();
        Values& r = p.runtime.values;
        p.runtime.result = swscanf(text, u"%2u%2u%2u", &r.u[0], &r.u[1], &r.u[2]);
    }
    {
        Pair& p = add("GSA");
        Values& d = p.direct.values;
        NmeaScan scan = Head(text, u"$GPGSA,");
        scan.Char(&d.c).Literal(u',').Unsigned(&d.u[0]);
        for (int k = 1; k <= 12; ++k) {
            scan.Literal(u',').Unsigned(&d.u[k]);
        }
        scan.Literal(u',').Float(&d.f[0]).Literal(u',').Float(&d.f[1]).Literal(u',').Float(&d.f[2]);
        p.direct.result = scan.Result();
        Values& r = p.runtime.values;
        p.runtime.result = swscanf(text, u"$GPGSA,%1c,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%f,%f,%f", &r.c,
                                   &r.u[0], &r.u[1], &r.u[2], &r.u[3], &r.u[4], &r.u[5], &r.u[6], &r.u[7],
                                   &r.u[8], &r.u[9], &r.u[10], &r.u[11], &r.u[12], &r.f[0], &r.f[1], &r.f[2]);
    }
    {
        Pair& p = add("GSV head");
        Values& d = p.direct.values;
        p.direct.result = Head(text, u"$GPGSV,")
                              .Unsigned(&d.u[0], 1)
                              .Literal(u',')
                              .Unsigned(&d.u[1], 1)
                              .Literal(u',')
                              .Unsigned(&d.u[2], 2)
                              .Result();
        Values& r = p.runtime.values;
        p.runtime.result = swscanf(text, u"$GPGSV,%1u,%1u,%2u", &r.u[0], &r.u[1], &r.u[2]);
    }
    {
        Pair& p = add("GSV groups");
        Values& d = p.direct.values;
        NmeaScan scan = Head(text, u"$GPGSV,");
        scan.Unsigned(nullptr, 1).Literal(u',').Unsigned(nullptr, 1).Literal(u',').Unsigned(nullptr, 2);
        for (int k = 0; k < 16; ++k) {
            scan.Literal(u',').Unsigned(&d.u[k], k % 4 == 2 ? 3 : 2);
        }
        p.direct.result = scan.Result();
        Values& r = p.runtime.values;
        unsigned* g = r.u;
        p.runtime.result = swscanf(
            text, u"$GPGSV,%*1u,%*1u,%*2u,%2u,%2u,%3u,%2u,%2u,%2u,%3u,%2u,%2u,%2u,%3u,%2u,%2u,%2u,%3u,%2u",
            &g[0], &g[1], &g[2], &g[3], &g[4], &g[5], &g[6], &g[7], &g[8], &g[9], &g[10], &g[11], &g[12],
            &g[13], &g[14], &g[15]);
    }
    for (int k = 0; k < n; ++k) {
        if (!(pairs[k].direct == pairs[k].runtime)) {
            return pairs[k].format;
        }
    }
    return nullptr;
}

} // namespace nmea_scan_check
