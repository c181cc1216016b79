// The dialog-template reader over arbitrary bytes (templates come from resource files): it must never read
// past the bytes it is given, and what it accepts must be self-consistent.
#include "platform/dialog/DialogTemplate.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto info = DialogParseTemplate(data, size);
    if (!info) {
        return 0;
    }
    for (const DialogItemTemplate& item : info->items) {
        if (!item.className.present) {
            std::abort();
        }
        if (!item.creationData.empty()) {
            std::size_t counted = item.creationData[0] | (item.creationData[1] << 8);
            if (counted != item.creationData.size()) {
                std::abort();
            }
        }
    }
    return 0;
}
