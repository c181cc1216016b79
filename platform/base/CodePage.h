// Code-page conversions. CP_ACP (the "ANSI" code page) is Windows-1252, as on the machines the program's
// stored files come from; CP_UTF8 is UTF-8.
#pragma once

#include "platform/base/Win32Types.h"

#include <string>
#include <string_view>

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_THREAD_ACP 3
#define CP_1252 1252
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400

// UTF-8 to UTF-16; invalid sequences become U+FFFD and clear *valid when given.
std::u16string Utf8ToUtf16(std::string_view text, bool* valid = nullptr);
std::string Utf16ToUtf8(std::u16string_view text);
bool IsValidUtf8(std::string_view text);

std::u16string Cp1252ToUtf16(std::string_view text);
// Units with no Windows-1252 byte become defaultChar and set *usedDefault when given.
std::string Utf16ToCp1252(std::u16string_view text, char defaultChar = '?', bool* usedDefault = nullptr);

// One byte to one unit and back (the receiver link's and text files' convention): bytes widen unchanged,
// units narrow to their low byte.
std::u16string WidenBytes(std::string_view bytes);
std::string NarrowUnits(std::u16string_view units);

// The Win32 calls, with their counting conventions (cb/cch of -1 includes the terminating zero; a zero
// output size asks for the needed size).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes, LPWSTR dest,
                        int destUnits);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceUnits, LPSTR dest,
                        int destBytes, LPCSTR defaultChar, LPBOOL usedDefaultChar);
