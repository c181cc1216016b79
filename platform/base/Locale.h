// The user's locale as the original's national-language calls report it: number, currency, date and time
// conventions and the day and month names, by locale id.
//
// The values come from a table of the original's settings for a few locales, not from the C runtime: the
// process's numeric locale stays "C" whatever the user's, so that numbers written and read by the program
// never change with the desktop's language. The user locale is taken once from the environment (LC_ALL,
// then LC_TIME, then LANG: "de_DE.UTF-8" is German (Germany)); a language outside the table, or none, is
// English (United States). DolivaSetUserLocale pins it, for tests.
#pragma once

#include "platform/base/Win32Types.h"

using LCTYPE = DWORD;
using LANGID = WORD;

#define LOCALE_NOUSEROVERRIDE 0x80000000
#define LOCALE_RETURN_NUMBER 0x20000000
#define LANG_USER_DEFAULT 0x0400
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_INVARIANT 0x007F

#define LOCALE_ILANGUAGE 0x0001
#define LOCALE_SLANGUAGE 0x0002
#define LOCALE_SENGLANGUAGE 0x1001
#define LOCALE_SABBREVLANGNAME 0x0003
#define LOCALE_ICOUNTRY 0x0005
#define LOCALE_SCOUNTRY 0x0006
#define LOCALE_SLIST 0x000C
#define LOCALE_IMEASURE 0x000D
#define LOCALE_SDECIMAL 0x000E
#define LOCALE_STHOUSAND 0x000F
#define LOCALE_SGROUPING 0x0010
#define LOCALE_IDIGITS 0x0011
#define LOCALE_ILZERO 0x0012
#define LOCALE_SNATIVEDIGITS 0x0013
#define LOCALE_SCURRENCY 0x0014
#define LOCALE_SINTLSYMBOL 0x0015
#define LOCALE_SMONDECIMALSEP 0x0016
#define LOCALE_SMONTHOUSANDSEP 0x0017
#define LOCALE_SMONGROUPING 0x0018
#define LOCALE_ICURRDIGITS 0x0019
#define LOCALE_IINTLCURRDIGITS 0x001A
#define LOCALE_ICURRENCY 0x001B
#define LOCALE_INEGCURR 0x001C
#define LOCALE_SDATE 0x001D
#define LOCALE_STIME 0x001E
#define LOCALE_SSHORTDATE 0x001F
#define LOCALE_SLONGDATE 0x0020
#define LOCALE_IDATE 0x0021
#define LOCALE_ILDATE 0x0022
#define LOCALE_ITIME 0x0023
#define LOCALE_ICENTURY 0x0024
#define LOCALE_ITLZERO 0x0025
#define LOCALE_IDAYLZERO 0x0026
#define LOCALE_IMONLZERO 0x0027
#define LOCALE_S1159 0x0028
#define LOCALE_S2359 0x0029
#define LOCALE_SDAYNAME1 0x002A // Monday; SDAYNAME7 (0x0030) is Sunday
#define LOCALE_SABBREVDAYNAME1 0x0031
#define LOCALE_SMONTHNAME1 0x0038
#define LOCALE_SABBREVMONTHNAME1 0x0044
#define LOCALE_SPOSITIVESIGN 0x0050
#define LOCALE_SNEGATIVESIGN 0x0051
#define LOCALE_INEGNUMBER 0x1010
#define LOCALE_STIMEFORMAT 0x1003
#define LOCALE_IFIRSTDAYOFWEEK 0x100C

#define MAKELANGID(primary, sub)                                                                             \
    static_cast<WORD>((static_cast<WORD>(sub) << 10) | static_cast<WORD>(primary))
#define MAKELCID(langId, sortId)                                                                             \
    static_cast<DWORD>((static_cast<DWORD>(sortId) << 16) | static_cast<DWORD>(langId))
#define LANGIDFROMLCID(lcid) static_cast<WORD>(lcid)

// The locales the table knows.
constexpr LCID kLocaleEnglishUS = 0x0409;
constexpr LCID kLocaleEnglishUK = 0x0809;
constexpr LCID kLocaleGerman = 0x0407;
constexpr LCID kLocaleFrench = 0x040C;

// The text of one item, with its terminator, into buffer (max units including the terminator). With max 0
// only the length needed (terminator included) is answered. 0 on failure: ERROR_INVALID_PARAMETER for an
// unknown locale or a null buffer with a size, ERROR_INVALID_FLAGS for an unknown item,
// ERROR_INSUFFICIENT_BUFFER when max is too small. LOCALE_USER_DEFAULT and LOCALE_SYSTEM_DEFAULT name the
// user locale; LOCALE_NOUSEROVERRIDE is accepted and changes nothing.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR buffer, int max);
#define GetLocaleInfo GetLocaleInfoW

LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
LANGID GetUserDefaultLangID();
// Whether the table knows the locale (after resolving the default ids).
BOOL IsValidLocale(LCID locale, DWORD flags);

// Pins the user locale (one the table knows; others are refused with FALSE). 0 goes back to the locale the
// environment names.
BOOL DolivaSetUserLocale(LCID locale);
