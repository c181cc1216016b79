// The hive file format: the registry's own export format. Written as
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Halvorn\Doliva\GPS Interface]
//   "Port"="COM1"
//   "Baud"=dword:00002580
//   "Mask"=hex:01,02
//   @="default value"
//   "Path"=hex(2):25,54,45,4d,50,25,00
//
// in UTF-8. In a REGEDIT4 file the string types written as hex (REG_SZ = 1, REG_EXPAND_SZ = 2,
// REG_MULTI_SZ = 7) hold narrow text (UTF-8 here, Windows-1252 in files that are not valid UTF-8); in a
// "Windows Registry Editor Version 5.00" file they hold UTF-16LE, as exported. Strings that the narrow form
// cannot carry exactly (odd sizes, unpaired surrogates) make the writer use the 5.00 header, so every file
// re-reads to what was written.
#pragma once

#include "platform/registry/KeyNode.h"

#include <memory>
#include <string>
#include <string_view>

namespace doliva::registry {

struct HiveParseResult {
    // A nameless node whose subkeys are the roots named in the file (HKEY_CURRENT_USER, ...); null when the
    // text is damaged.
    std::shared_ptr<KeyNode> forest;
    size_t errorLine = 0; // 1-based line of the first fault
    std::string error;    // what is wrong there

    bool Ok() const { return forest != nullptr; }
};

// Accepts UTF-8 (with or without a byte-order mark), Windows-1252 and UTF-16LE with its byte-order mark. An
// empty or blank text is an empty hive. Comments (";") and blank lines are ignored, "[-key]" and "name"=-
// delete as an import does, a hex list ending in "\" continues on the next line.
HiveParseResult ParseHiveText(std::string_view bytes);

// The file text for a forest as ParseHiveText answers it.
std::string FormatHiveText(const KeyNode& forest);

} // namespace doliva::registry
