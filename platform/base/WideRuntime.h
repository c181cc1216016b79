// The wide C runtime functions the program calls, over char16_t, with the original platform's conventions.
// They overload the C library's wchar_t functions (different parameter types), so both may be visible.
// - Formatting follows WideFormat.h.
// - Numbers are read in the "C" locale whatever the process locale. wcstol/wcstoul clamp to the 32-bit LONG
//   and DWORD ranges and "%ld" in swscanf stores a LONG, as long was 32 bits on the original.
// - Character classes and case mappings are Unicode's, never the process locale's: a fixed table below
//   U+0100 (0xA0-0xFF printable, 0x80-0x9F control; U+0085 and U+00A0 are spaces), glibc's "C.UTF-8"
//   classification above.
#pragma once

#include "platform/base/Win32Types.h"

#include <cstdarg>
#include <cstddef>
// The C++ library's <cwchar> and <cwctype> copy the global wchar_t functions into std with
// using-declarations; had the overloads below been declared first, those would copy them too and make
// std::wcstol and the like ambiguous in the library's own headers. Including them here first keeps std to the
// C library's functions.
#include <cwchar>
#include <cwctype>

// The formatting family. Each answers the number of units written without the terminator, or -1 for an
// invalid format; on an invalid format a buffer with room gets an empty string.
// The old form with no size: the caller guarantees room.
int swprintf(char16_t* buffer, const char16_t* format, ...);
int vswprintf(char16_t* buffer, const char16_t* format, va_list args);
// The counted form: at most count units including the terminator; when the text does not fit it is cut off,
// terminated, and the answer is -1.
int swprintf(char16_t* buffer, size_t count, const char16_t* format, ...);
int vswprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args);
// At most count units; the terminator only when there is room for it. Answers -1 when the text was cut off.
int _snwprintf(char16_t* buffer, size_t count, const char16_t* format, ...);
int _vsnwprintf(char16_t* buffer, size_t count, const char16_t* format, va_list args);
// The length the text would have.
int _scwprintf(const char16_t* format, ...);
int _vscwprintf(const char16_t* format, va_list args);

// Answers the number of fields assigned, or EOF (-1) when the input ends before the first conversion (or the
// format is invalid). Conversions: d i u o x X p n c C s S [set] e E f F g G a A and "%%", with '*', a width
// and the length modifiers hh h l ll L I64 I32 I w z j t. "%f" stores a float, "%lf" and "%Lf" a double;
// "%c" and "%s" store wide units, "%hc", "%C", "%hs" and "%S" narrow Windows-1252 bytes. Integer
// conversions wrap on overflow; floats take no "inf", "nan" or hex forms.
int swscanf(const char16_t* input, const char16_t* format, ...);
int vswscanf(const char16_t* input, const char16_t* format, va_list args);

// Number conversions. Set *end (when given) past the digits read, or to text when none were; out-of-range
// values clamp and set errno to ERANGE; an invalid base sets EINVAL.
double wcstod(const char16_t* text, char16_t** end);
long wcstol(const char16_t* text, char16_t** end, int base);
unsigned long wcstoul(const char16_t* text, char16_t** end, int base);
long long wcstoll(const char16_t* text, char16_t** end, int base);
unsigned long long wcstoull(const char16_t* text, char16_t** end, int base);
long long _wcstoi64(const char16_t* text, char16_t** end, int base);
unsigned long long _wcstoui64(const char16_t* text, char16_t** end, int base);
int _wtoi(const char16_t* text);
long _wtol(const char16_t* text);
long long _wtoi64(const char16_t* text);
double _wtof(const char16_t* text);
// Radix 2..36, lower-case digits; only radix 10 prints a sign, other radices show the two's complement.
char16_t* _itow(int value, char16_t* buffer, int radix);
char16_t* _ltow(LONG value, char16_t* buffer, int radix);
char16_t* _ultow(ULONG value, char16_t* buffer, int radix);
char16_t* _i64tow(long long value, char16_t* buffer, int radix);
char16_t* _ui64tow(unsigned long long value, char16_t* buffer, int radix);

// Strings. Comparisons are ordinal on units (the "C" locale's collation); the case-insensitive ones compare
// towlower of each unit.
size_t wcslen(const char16_t* text);
size_t wcsnlen(const char16_t* text, size_t max);
char16_t* wcscpy(char16_t* dest, const char16_t* source);
char16_t* wcsncpy(char16_t* dest, const char16_t* source, size_t count);
char16_t* wcscat(char16_t* dest, const char16_t* source);
char16_t* wcsncat(char16_t* dest, const char16_t* source, size_t count);
int wcscmp(const char16_t* a, const char16_t* b);
int wcsncmp(const char16_t* a, const char16_t* b, size_t count);
int _wcsicmp(const char16_t* a, const char16_t* b);
int _wcsnicmp(const char16_t* a, const char16_t* b, size_t count);
int wcscoll(const char16_t* a, const char16_t* b);
int _wcsicoll(const char16_t* a, const char16_t* b);
const char16_t* wcschr(const char16_t* text, char16_t c);
char16_t* wcschr(char16_t* text, char16_t c);
const char16_t* wcsrchr(const char16_t* text, char16_t c);
char16_t* wcsrchr(char16_t* text, char16_t c);
const char16_t* wcsstr(const char16_t* text, const char16_t* find);
char16_t* wcsstr(char16_t* text, const char16_t* find);
size_t wcsspn(const char16_t* text, const char16_t* set);
size_t wcscspn(const char16_t* text, const char16_t* set);
const char16_t* wcspbrk(const char16_t* text, const char16_t* set);
char16_t* wcspbrk(char16_t* text, const char16_t* set);
char16_t* wcstok(char16_t* text, const char16_t* delimiters, char16_t** context);
// A malloc'd copy; free it with free().
char16_t* _wcsdup(const char16_t* text);
char16_t* _wcsupr(char16_t* text);
char16_t* _wcslwr(char16_t* text);
char16_t* _wcsrev(char16_t* text);
char16_t* _wcsset(char16_t* text, char16_t c);

// Character classes (non-zero when true) and case mappings.
int iswprint(char16_t c);
int iswgraph(char16_t c);
int iswalnum(char16_t c);
int iswalpha(char16_t c);
int iswdigit(char16_t c);
int iswxdigit(char16_t c);
int iswspace(char16_t c);
int iswupper(char16_t c);
int iswlower(char16_t c);
int iswpunct(char16_t c);
int iswcntrl(char16_t c);
char16_t towupper(char16_t c);
char16_t towlower(char16_t c);
