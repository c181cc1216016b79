// printf-style formatting over char16_t with the original platform's conventions, which the program's texts
// and log files depend on byte for byte:
// - "%s", "%ls", "%ws" take wide text (const char16_t*); "%S", "%hs" narrow bytes, widened through the ANSI
//   code page (Windows-1252). "%c", "%lc", "%wc" take a wide unit, "%C", "%hc" a narrow char (both passed as
//   int). A null string prints "(null)"; a string's precision limits its units.
// - "%ld" and "%lu" are 32-bit (LONG, DWORD); "%lld", "%I64d" 64-bit (read as long long); "%I", "%z" and "%t"
//   size_t/ptrdiff_t; "%j" intmax_t. "%L" on floating conversions still reads a double (the original's long
//   double was a double).
// - Floating conversions are built from the value's first 17 significant digits (later digits print as 0),
//   rounded half up on those digits; exponents have at least three digits ("1.500000e+003"); infinity and
//   NaN print as "1.#INF", "1.#QNAN", "1.#SNAN" and "-1.#IND" laid out like digits, so "%f" gives
//   "1.#INF00", "%.2f" gives "1.#J" and "%g" gives "1.#INF". '.' is always the decimal point. "%a" defaults
//   to six hex digits, as the other floating conversions default to six.
// - "%#x" prefixes "0x" to non-zero values; "%p" prints 16 upper-case hex digits; the '0' flag pads every
//   conversion (strings too) and is dropped when an integer has a precision. Precision of numbers is capped
//   at 512.
// Invalid formats are refused: "%n", unknown conversions, a conversion cut off at the end, length modifiers
// that make no sense for the conversion, flags or width on "%%", and widths or precisions (also from '*')
// above kMaxFormatField.
#pragma once

#include "platform/base/Win32Types.h"

#include <cstdarg>
#include <string>

// The largest width or precision a format may ask for.
constexpr int kMaxFormatField = 100000;

// Appends the formatted text to out. Answers false (and appends nothing) for an invalid format.
bool AppendFormatV(std::u16string& out, const char16_t* format, va_list args);
bool AppendFormat(std::u16string& out, const char16_t* format, ...);
