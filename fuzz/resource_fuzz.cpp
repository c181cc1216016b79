// The resource file reader and the template parsers over arbitrary bytes: each resource found is handed to
// every parser, and so is the whole input.
#include "platform/resources/ResFile.h"
#include "platform/resources/ResourceTemplates.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

void ParseAll(const BYTE* data, size_t size) {
    ParsedMenu menu;
    ParseMenuTemplate(data, size, menu);
    ParsedDialog dialog;
    ParseDialogTemplate(data, size, dialog);
    std::vector<AcceleratorEntry> accelerators;
    ParseAcceleratorTable(data, size, accelerators);
    std::vector<DialogInitEntry> init;
    ParseDialogInit(data, size, init);
    ParsedIconGroup group;
    if (ParseIconGroup(data, size, group)) {
        ChooseGroupImage(group, 32, 32);
    }
    ParsedToolbar toolbar;
    ParseToolbar(data, size, toolbar);
    std::u16string_view text;
    for (UINT index = 0; index < 16; ++index) {
        if (FindStringInBlock(data, size, index, text) && !text.empty()) {
            volatile char16_t last = text.back();
            (void)last;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size, aligned copy: overreads past it are caught and string blocks may be read in place.
    std::vector<BYTE> bytes(data, data + size);
    std::vector<ResEntry> entries;
    if (ParseResFile(bytes.data(), bytes.size(), entries)) {
        for (const ResEntry& entry : entries) {
            ParseAll(entry.data, entry.size);
        }
    }
    ParseAll(bytes.data(), bytes.size());
    return 0;
}
