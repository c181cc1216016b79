// Reader of the standard binary resource file (.res): an empty 32-byte entry, then per resource a header
// (data size, header size, type, name, data version, memory flags, language, version, characteristics) and
// the data, each DWORD-aligned. Everything is checked against the buffer; nothing is copied.
#pragma once

#include "platform/base/Win32Types.h"

#include <cstddef>
#include <string>
#include <vector>

// A type or name: an ordinal, or a string (as stored; compared case-insensitively).
struct ResName {
    bool isOrdinal = true;
    WORD ordinal = 0;
    std::u16string text;

    bool operator==(const ResName&) const = default;
};

struct ResEntry {
    ResName type;
    ResName name;
    WORD language = 0;
    WORD memoryFlags = 0;
    DWORD dataVersion = 0;
    DWORD version = 0;
    DWORD characteristics = 0;
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// Parses a whole .res image. False with ERROR_INVALID_DATA (and `entries` unspecified) when any header or
// size does not fit.
bool ParseResFile(const void* data, size_t size, std::vector<ResEntry>& entries);

// Case-insensitive equality of a stored name with an API name (MAKEINTRESOURCE ordinal, "#123", or text).
bool ResNameMatches(const ResName& stored, const char16_t* name);
// The API form of a name: ordinals as MAKEINTRESOURCE, "#123" as 123, text otherwise.
ResName ResNameFromApi(const char16_t* name);
