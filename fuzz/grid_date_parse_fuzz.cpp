// Date and time text typed into a grid cell, read by the grid's own parser (the one that does without the
// platform's date type): any text must parse or be refused without reading out of bounds, and a record it
// accepts must format.
#include "grid/GridLibraryState.h"
#include "grid_input/CGXNoOleDateTimeImp.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool installed = [] {
        InstallNoOleDateTime();
        return true;
    }();
    (void)installed;
    if (size == 0) {
        return 0;
    }
    // The first byte picks the date order (0-3); the rest is the text, one byte per unit.
    const int order = data[0] & 3;
    const std::u16string text(data + 1, data + size);
    CGXNoOleDateTimeImp parser;
    std::tm broken{};
    parser.ParseDateTimeTm(&broken, text.c_str(), order);
    GXTimestamp record;
    if (parser.ParseDateTimeFields(&record, text.c_str(), order)) {
        CString formatted;
        parser.FormatDateTime(formatted, record);
    }
    return 0;
}
