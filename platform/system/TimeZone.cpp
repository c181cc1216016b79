#include "platform/system/TimeZone.h"

#include "platform/base/CodePage.h"
#include "platform/base/TimeConversions.h"
#include "platform/system/SystemClock.h"

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

struct LocalState {
    long offset = 0; // seconds east of UTC
    bool dst = false;
    std::string name;
};

LocalState StateAt(std::int64_t utc) {
    struct tm fields {};
    LocalState state;
    if (LocalTmFromSeconds(utc, &fields)) {
        state.offset = fields.tm_gmtoff;
        state.dst = fields.tm_isdst > 0;
        state.name = fields.tm_zone ? fields.tm_zone : "";
    }
    return state;
}

bool SameState(const LocalState& a, const LocalState& b) {
    return a.offset == b.offset && a.dst == b.dst;
}

struct Transition {
    std::int64_t instant = 0; // the first second of the new state
    LocalState before;
    LocalState after;
};

// The zone's year as the original describes it.
struct ZoneYear {
    bool hasDaylight = false;
    LocalState standard;
    LocalState daylight;
    SYSTEMTIME standardDate{};
    SYSTEMTIME daylightDate{};
};

// The rule form of a transition: the local clock time just before it, with the day as "nth weekday".
SYSTEMTIME RuleDate(const Transition& t) {
    const std::int64_t local = t.instant + t.before.offset;
    const std::int64_t days = local >= 0 ? local / 86400 : -((-local + 86399) / 86400);
    const std::int64_t secondOfDay = local - days * 86400;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, &year, &month, &day);
    SYSTEMTIME rule{};
    rule.wYear = 0;
    rule.wMonth = static_cast<WORD>(month);
    rule.wDayOfWeek = static_cast<WORD>(DayOfWeekFromDays(days));
    rule.wDay = static_cast<WORD>(day + 7 > DaysInMonth(year, month) ? 5 : (day - 1) / 7 + 1);
    rule.wHour = static_cast<WORD>(secondOfDay / 3600);
    rule.wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
    rule.wSecond = static_cast<WORD>(secondOfDay % 60);
    return rule;
}

ZoneYear ComputeYear(std::int64_t year, std::int64_t now) {
    const std::int64_t start = DaysFromCivil(year, 1, 1) * 86400;
    const std::int64_t end = DaysFromCivil(year + 1, 1, 1) * 86400;

    std::vector<Transition> transitions;
    std::optional<LocalState> someStandard;
    std::optional<LocalState> someDaylight;
    LocalState previous = StateAt(start);
    for (std::int64_t t = start; t < end;) {
        const std::int64_t next = t + 86400 < end ? t + 86400 : end;
        const LocalState state = StateAt(next);
        if (!SameState(previous, state)) {
            // The first second in (t, next] that has the new state.
            std::int64_t lo = t;
            std::int64_t hi = next;
            while (hi - lo > 1) {
                const std::int64_t mid = lo + (hi - lo) / 2;
                if (SameState(StateAt(mid), previous)) {
                    lo = mid;
                } else {
                    hi = mid;
                }
            }
            transitions.push_back(Transition{hi, previous, StateAt(hi)});
        }
        (state.dst ? someDaylight : someStandard) = state;
        previous = state;
        t = next;
    }

    ZoneYear zone;
    const LocalState current = StateAt(now);
    zone.standard = !current.dst ? current : someStandard.value_or(current);
    const Transition* toDaylight = nullptr;
    const Transition* toStandard = nullptr;
    for (const Transition& t : transitions) {
        if (!t.before.dst && t.after.dst && !toDaylight) {
            toDaylight = &t;
        } else if (t.before.dst && !t.after.dst && !toStandard) {
            toStandard = &t;
        }
    }
    if (toDaylight && toStandard) {
        zone.hasDaylight = true;
        zone.daylight = current.dst ? current : toDaylight->after;
        if (current.dst) {
            zone.standard = toStandard->after;
        }
        zone.daylightDate = RuleDate(*toDaylight);
        zone.standardDate = RuleDate(*toStandard);
    } else {
        zone.daylight = zone.standard;
    }
    return zone;
}

void CopyName(WCHAR (&out)[32], const std::string& name) {
    const std::u16string wide = Utf8ToUtf16(name);
    const std::size_t n = wide.size() < 31 ? wide.size() : 31;
    wide.copy(out, n);
    for (std::size_t i = n; i < 32; ++i) {
        out[i] = 0;
    }
}

std::mutex g_cacheMutex;
struct CachedYear {
    std::string zoneKey;
    std::int64_t year = 0;
    ZoneYear zone;
};
std::optional<CachedYear> g_cache;

} // namespace

DWORD TimeZoneInformationAt(std::int64_t utcSeconds, LPTIME_ZONE_INFORMATION info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    tzset();
    struct tm local {};
    if (!LocalTmFromSeconds(utcSeconds, &local)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    const std::int64_t year = std::int64_t{local.tm_year} + 1900;
    const char* tz = std::getenv("TZ");
    const std::string zoneKey = tz ? std::string("TZ=") + tz : std::string("localtime");

    ZoneYear zone;
    {
        std::lock_guard lock(g_cacheMutex);
        if (!g_cache || g_cache->zoneKey != zoneKey || g_cache->year != year) {
            g_cache = CachedYear{zoneKey, year, ComputeYear(year, utcSeconds)};
        }
        zone = g_cache->zone;
    }

    *info = TIME_ZONE_INFORMATION{};
    info->Bias = static_cast<LONG>(-zone.standard.offset / 60);
    info->StandardBias = 0;
    CopyName(info->StandardName, zone.standard.name);
    CopyName(info->DaylightName, zone.daylight.name);
    if (!zone.hasDaylight) {
        return TIME_ZONE_ID_UNKNOWN;
    }
    info->DaylightBias = static_cast<LONG>(-(zone.daylight.offset - zone.standard.offset) / 60);
    info->StandardDate = zone.standardDate;
    info->DaylightDate = zone.daylightDate;
    return local.tm_isdst > 0 ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION info) {
    GetSystemClock();
    return TimeZoneInformationAt(CurrentUtc().seconds, info);
}
