#include "platform/base/Locale.h"

#include "platform/base/LastError.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>

namespace {

struct LocaleItem {
    LCTYPE type;
    const char16_t* text;
};

// Each table holds the original's values; day names run Monday to Sunday.
#define LOCALE_NAMES(d1, d2, d3, d4, d5, d6, d7, a1, a2, a3, a4, a5, a6, a7, m1, m2, m3, m4, m5, m6, m7, m8, \
                     m9, m10, m11, m12, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12)                    \
    {LOCALE_SDAYNAME1, d1}, {LOCALE_SDAYNAME1 + 1, d2}, {LOCALE_SDAYNAME1 + 2, d3},                          \
        {LOCALE_SDAYNAME1 + 3, d4}, {LOCALE_SDAYNAME1 + 4, d5}, {LOCALE_SDAYNAME1 + 5, d6},                  \
        {LOCALE_SDAYNAME1 + 6, d7}, {LOCALE_SABBREVDAYNAME1, a1}, {LOCALE_SABBREVDAYNAME1 + 1, a2},          \
        {LOCALE_SABBREVDAYNAME1 + 2, a3}, {LOCALE_SABBREVDAYNAME1 + 3, a4},                                  \
        {LOCALE_SABBREVDAYNAME1 + 4, a5}, {LOCALE_SABBREVDAYNAME1 + 5, a6},                                  \
        {LOCALE_SABBREVDAYNAME1 + 6, a7}, {LOCALE_SMONTHNAME1, m1}, {LOCALE_SMONTHNAME1 + 1, m2},            \
        {LOCALE_SMONTHNAME1 + 2, m3}, {LOCALE_SMONTHNAME1 + 3, m4}, {LOCALE_SMONTHNAME1 + 4, m5},            \
        {LOCALE_SMONTHNAME1 + 5, m6}, {LOCALE_SMONTHNAME1 + 6, m7}, {LOCALE_SMONTHNAME1 + 7, m8},            \
        {LOCALE_SMONTHNAME1 + 8, m9}, {LOCALE_SMONTHNAME1 + 9, m10}, {LOCALE_SMONTHNAME1 + 10, m11},         \
        {LOCALE_SMONTHNAME1 + 11, m12}, {LOCALE_SABBREVMONTHNAME1, b1},                                      \
        {LOCALE_SABBREVMONTHNAME1 + 1, b2}, {LOCALE_SABBREVMONTHNAME1 + 2, b3},                              \
        {LOCALE_SABBREVMONTHNAME1 + 3, b4}, {LOCALE_SABBREVMONTHNAME1 + 4, b5},                              \
        {LOCALE_SABBREVMONTHNAME1 + 5, b6}, {LOCALE_SABBREVMONTHNAME1 + 6, b7},                              \
        {LOCALE_SABBREVMONTHNAME1 + 7, b8}, {LOCALE_SABBREVMONTHNAME1 + 8, b9},                              \
        {LOCALE_SABBREVMONTHNAME1 + 9, b10}, {LOCALE_SABBREVMONTHNAME1 + 10, b11},                           \
        {LOCALE_SABBREVMONTHNAME1 + 11, b12}

#define ENGLISH_NAMES                                                                                        \
    LOCALE_NAMES(u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday", u"Sunday", u"Mon", \
                 u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun", u"January", u"February", u"March", u"April", \
                 u"May", u"June", u"July", u"August", u"September", u"October", u"November", u"December",    \
                 u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun", u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec")

const LocaleItem kEnglishUS[] = {
    {LOCALE_ILANGUAGE, u"0409"},
    {LOCALE_SLANGUAGE, u"English (United States)"},
    {LOCALE_SENGLANGUAGE, u"English"},
    {LOCALE_SABBREVLANGNAME, u"ENU"},
    {LOCALE_ICOUNTRY, u"1"},
    {LOCALE_SCOUNTRY, u"United States"},
    {LOCALE_SLIST, u","},
    {LOCALE_IMEASURE, u"1"},
    {LOCALE_SDECIMAL, u"."},
    {LOCALE_STHOUSAND, u","},
    {LOCALE_SGROUPING, u"3;0"},
    {LOCALE_IDIGITS, u"2"},
    {LOCALE_ILZERO, u"1"},
    {LOCALE_INEGNUMBER, u"1"},
    {LOCALE_SNATIVEDIGITS, u"0123456789"},
    {LOCALE_SCURRENCY, u"$"},
    {LOCALE_SINTLSYMBOL, u"USD"},
    {LOCALE_SMONDECIMALSEP, u"."},
    {LOCALE_SMONTHOUSANDSEP, u","},
    {LOCALE_SMONGROUPING, u"3;0"},
    {LOCALE_ICURRDIGITS, u"2"},
    {LOCALE_IINTLCURRDIGITS, u"2"},
    {LOCALE_ICURRENCY, u"0"},
    {LOCALE_INEGCURR, u"0"},
    {LOCALE_SPOSITIVESIGN, u""},
    {LOCALE_SNEGATIVESIGN, u"-"},
    {LOCALE_SDATE, u"/"},
    {LOCALE_STIME, u":"},
    {LOCALE_SSHORTDATE, u"M/d/yyyy"},
    {LOCALE_SLONGDATE, u"dddd, MMMM d, yyyy"},
    {LOCALE_STIMEFORMAT, u"h:mm:ss tt"},
    {LOCALE_IDATE, u"0"},
    {LOCALE_ILDATE, u"0"},
    {LOCALE_ITIME, u"0"},
    {LOCALE_ICENTURY, u"1"},
    {LOCALE_ITLZERO, u"0"},
    {LOCALE_IDAYLZERO, u"0"},
    {LOCALE_IMONLZERO, u"0"},
    {LOCALE_S1159, u"AM"},
    {LOCALE_S2359, u"PM"},
    {LOCALE_IFIRSTDAYOFWEEK, u"6"},
    ENGLISH_NAMES,
};

const LocaleItem kEnglishUK[] = {
    {LOCALE_ILANGUAGE, u"0809"},
    {LOCALE_SLANGUAGE, u"English (United Kingdom)"},
    {LOCALE_SENGLANGUAGE, u"English"},
    {LOCALE_SABBREVLANGNAME, u"ENG"},
    {LOCALE_ICOUNTRY, u"44"},
    {LOCALE_SCOUNTRY, u"United Kingdom"},
    {LOCALE_SLIST, u","},
    {LOCALE_IMEASURE, u"0"},
    {LOCALE_SDECIMAL, u"."},
    {LOCALE_STHOUSAND, u","},
    {LOCALE_SGROUPING, u"3;0"},
    {LOCALE_IDIGITS, u"2"},
    {LOCALE_ILZERO, u"1"},
    {LOCALE_INEGNUMBER, u"1"},
    {LOCALE_SNATIVEDIGITS, u"0123456789"},
    {LOCALE_SCURRENCY, u"\u00A3"},
    {LOCALE_SINTLSYMBOL, u"GBP"},
    {LOCALE_SMONDECIMALSEP, u"."},
    {LOCALE_SMONTHOUSANDSEP, u","},
    {LOCALE_SMONGROUPING, u"3;0"},
    {LOCALE_ICURRDIGITS, u"2"},
    {LOCALE_IINTLCURRDIGITS, u"2"},
    {LOCALE_ICURRENCY, u"0"},
    {LOCALE_INEGCURR, u"1"},
    {LOCALE_SPOSITIVESIGN, u""},
    {LOCALE_SNEGATIVESIGN, u"-"},
    {LOCALE_SDATE, u"/"},
    {LOCALE_STIME, u":"},
    {LOCALE_SSHORTDATE, u"dd/MM/yyyy"},
    {LOCALE_SLONGDATE, u"dd MMMM yyyy"},
    {LOCALE_STIMEFORMAT, u"HH:mm:ss"},
    {LOCALE_IDATE, u"1"},
    {LOCALE_ILDATE, u"1"},
    {LOCALE_ITIME, u"1"},
    {LOCALE_ICENTURY, u"1"},
    {LOCALE_ITLZERO, u"1"},
    {LOCALE_IDAYLZERO, u"1"},
    {LOCALE_IMONLZERO, u"1"},
    {LOCALE_S1159, u"AM"},
    {LOCALE_S2359, u"PM"},
    {LOCALE_IFIRSTDAYOFWEEK, u"0"},
    ENGLISH_NAMES,
};

const LocaleItem kGerman[] = {
    {LOCALE_ILANGUAGE, u"0407"},
    {LOCALE_SLANGUAGE, u"German (Germany)"},
    {LOCALE_SENGLANGUAGE, u"German"},
    {LOCALE_SABBREVLANGNAME, u"DEU"},
    {LOCALE_ICOUNTRY, u"49"},
    {LOCALE_SCOUNTRY, u"Germany"},
    {LOCALE_SLIST, u";"},
    {LOCALE_IMEASURE, u"0"},
    {LOCALE_SDECIMAL, u","},
    {LOCALE_STHOUSAND, u"."},
    {LOCALE_SGROUPING, u"3;0"},
    {LOCALE_IDIGITS, u"2"},
    {LOCALE_ILZERO, u"1"},
    {LOCALE_INEGNUMBER, u"1"},
    {LOCALE_SNATIVEDIGITS, u"0123456789"},
    {LOCALE_SCURRENCY, u"\u20AC"},
    {LOCALE_SINTLSYMBOL, u"EUR"},
    {LOCALE_SMONDECIMALSEP, u","},
    {LOCALE_SMONTHOUSANDSEP, u"."},
    {LOCALE_SMONGROUPING, u"3;0"},
    {LOCALE_ICURRDIGITS, u"2"},
    {LOCALE_IINTLCURRDIGITS, u"2"},
    {LOCALE_ICURRENCY, u"3"},
    {LOCALE_INEGCURR, u"8"},
    {LOCALE_SPOSITIVESIGN, u""},
    {LOCALE_SNEGATIVESIGN, u"-"},
    {LOCALE_SDATE, u"."},
    {LOCALE_STIME, u":"},
    {LOCALE_SSHORTDATE, u"dd.MM.yyyy"},
    {LOCALE_SLONGDATE, u"dddd, d. MMMM yyyy"},
    {LOCALE_STIMEFORMAT, u"HH:mm:ss"},
    {LOCALE_IDATE, u"1"},
    {LOCALE_ILDATE, u"1"},
    {LOCALE_ITIME, u"1"},
    {LOCALE_ICENTURY, u"1"},
    {LOCALE_ITLZERO, u"1"},
    {LOCALE_IDAYLZERO, u"1"},
    {LOCALE_IMONLZERO, u"1"},
    {LOCALE_S1159, u""},
    {LOCALE_S2359, u""},
    {LOCALE_IFIRSTDAYOFWEEK, u"0"},
    LOCALE_NAMES(u"Montag", u"Dienstag", u"Mittwoch", u"Donnerstag", u"Freitag", u"Samstag", u"Sonntag", u"Mo",
                 u"Di", u"Mi", u"Do", u"Fr", u"Sa", u"So", u"Januar", u"Februar", u"M\u00E4rz", u"April", u"Mai",
                 u"Juni", u"Juli", u"August", u"September", u"Oktober", u"November", u"Dezember", u"Jan", u"Feb",
                 u"M\u00E4r", u"Apr", u"Mai", u"Jun", u"Jul", u"Aug", u"Sep", u"Okt", u"Nov", u"Dez"),
};

const LocaleItem kFrench[] = {
    {LOCALE_ILANGUAGE, u"040c"},
    {LOCALE_SLANGUAGE, u"French (France)"},
    {LOCALE_SENGLANGUAGE, u"French"},
    {LOCALE_SABBREVLANGNAME, u"FRA"},
    {LOCALE_ICOUNTRY, u"33"},
    {LOCALE_SCOUNTRY, u"France"},
    {LOCALE_SLIST, u";"},
    {LOCALE_IMEASURE, u"0"},
    {LOCALE_SDECIMAL, u","},
    {LOCALE_STHOUSAND, u"\u00A0"},
    {LOCALE_SGROUPING, u"3;0"},
    {LOCALE_IDIGITS, u"2"},
    {LOCALE_ILZERO, u"1"},
    {LOCALE_INEGNUMBER, u"1"},
    {LOCALE_SNATIVEDIGITS, u"0123456789"},
    {LOCALE_SCURRENCY, u"\u20AC"},
    {LOCALE_SINTLSYMBOL, u"EUR"},
    {LOCALE_SMONDECIMALSEP, u","},
    {LOCALE_SMONTHOUSANDSEP, u"\u00A0"},
    {LOCALE_SMONGROUPING, u"3;0"},
    {LOCALE_ICURRDIGITS, u"2"},
    {LOCALE_IINTLCURRDIGITS, u"2"},
    {LOCALE_ICURRENCY, u"3"},
    {LOCALE_INEGCURR, u"8"},
    {LOCALE_SPOSITIVESIGN, u""},
    {LOCALE_SNEGATIVESIGN, u"-"},
    {LOCALE_SDATE, u"/"},
    {LOCALE_STIME, u":"},
    {LOCALE_SSHORTDATE, u"dd/MM/yyyy"},
    {LOCALE_SLONGDATE, u"dddd d MMMM yyyy"},
    {LOCALE_STIMEFORMAT, u"HH:mm:ss"},
    {LOCALE_IDATE, u"1"},
    {LOCALE_ILDATE, u"1"},
    {LOCALE_ITIME, u"1"},
    {LOCALE_ICENTURY, u"1"},
    {LOCALE_ITLZERO, u"1"},
    {LOCALE_IDAYLZERO, u"1"},
    {LOCALE_IMONLZERO, u"1"},
    {LOCALE_S1159, u""},
    {LOCALE_S2359, u""},
    {LOCALE_IFIRSTDAYOFWEEK, u"0"},
    LOCALE_NAMES(u"lundi", u"mardi", u"mercredi", u"jeudi", u"vendredi", u"samedi", u"dimanche", u"lun.",
                 u"mar.", u"mer.", u"jeu.", u"ven.", u"sam.", u"dim.", u"janvier", u"f\u00E9vrier", u"mars",
                 u"avril", u"mai", u"juin", u"juillet", u"ao\u00FBt", u"septembre", u"octobre", u"novembre",
                 u"d\u00E9cembre", u"janv.", u"f\u00E9vr.", u"mars", u"avr.", u"mai", u"juin", u"juil.",
                 u"ao\u00FBt", u"sept.", u"oct.", u"nov.", u"d\u00E9c."),
};

struct LocaleTable {
    LCID id;
    const LocaleItem* items;
    size_t count;
};

const LocaleTable kTables[] = {
    {kLocaleEnglishUS, kEnglishUS, std::size(kEnglishUS)},
    {kLocaleEnglishUK, kEnglishUK, std::size(kEnglishUK)},
    {kLocaleGerman, kGerman, std::size(kGerman)},
    {kLocaleFrench, kFrench, std::size(kFrench)},
};

const LocaleTable* FindTable(LCID id) {
    for (const LocaleTable& table : kTables) {
        if (table.id == id) {
            return &table;
        }
    }
    return nullptr;
}

// "de_DE.UTF-8", "en_GB", "fr": the language and territory before any codeset or modifier.
LCID LocaleFromName(std::string_view name) {
    const size_t end = name.find_first_of(".@");
    name = name.substr(0, end);
    const std::string_view language = name.substr(0, name.find('_'));
    const std::string_view territory = name.find('_') == std::string_view::npos
                                           ? std::string_view()
                                           : name.substr(name.find('_') + 1);
    if (language == "en") {
        return territory == "GB" || territory == "UK" || territory == "IE" ? kLocaleEnglishUK : kLocaleEnglishUS;
    }
    if (language == "de") {
        return kLocaleGerman;
    }
    if (language == "fr") {
        return kLocaleFrench;
    }
    return kLocaleEnglishUS;
}

LCID EnvironmentLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            return LocaleFromName(value);
        }
    }
    return kLocaleEnglishUS;
}

std::atomic<LCID> g_pinnedLocale{0};

LCID Resolve(LCID locale) {
    switch (locale & 0xFFFF) {
    case LOCALE_USER_DEFAULT:
    case LOCALE_SYSTEM_DEFAULT:
    case 0:
        return GetUserDefaultLCID();
    case LOCALE_INVARIANT:
        return kLocaleEnglishUS;
    default:
        return locale & 0xFFFF;
    }
}

} // namespace

int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR buffer, int max) {
    if (max < 0 || (max > 0 && !buffer)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const LocaleTable* table = FindTable(Resolve(locale));
    if (!table) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const LCTYPE item = type & ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE);
    for (size_t i = 0; i < table->count; ++i) {
        if (table->items[i].type != item) {
            continue;
        }
        const std::u16string_view text(table->items[i].text);
        const int needed = static_cast<int>(text.size()) + 1;
        if (max == 0) {
            return needed;
        }
        if (max < needed) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = 0;
        return needed;
    }
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
}

LCID GetUserDefaultLCID() {
    const LCID pinned = g_pinnedLocale.load();
    if (pinned) {
        return pinned;
    }
    static const LCID environment = EnvironmentLocale();
    return environment;
}

LCID GetSystemDefaultLCID() {
    return GetUserDefaultLCID();
}

LANGID GetUserDefaultLangID() {
    return LANGIDFROMLCID(GetUserDefaultLCID());
}

BOOL IsValidLocale(LCID locale, DWORD) {
    return FindTable(Resolve(locale)) ? TRUE : FALSE;
}

BOOL DolivaSetUserLocale(LCID locale) {
    if (locale && !FindTable(locale)) {
        return FALSE;
    }
    g_pinnedLocale = locale;
    return TRUE;
}
