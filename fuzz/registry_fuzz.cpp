// The hive file reader over arbitrary bytes: it must never read out of bounds, and whatever it accepts must
// write out and read back to the same tree and the same text.
#include "platform/registry/HiveText.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace doliva::registry;
    HiveParseResult first = ParseHiveText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!first.Ok()) {
        if (first.errorLine == 0 || first.error.empty()) {
            std::abort(); // a fault must say where and what
        }
        return 0;
    }
    std::string text = FormatHiveText(*first.forest);
    HiveParseResult second = ParseHiveText(text);
    if (!second.Ok()) {
        std::fprintf(stderr, "written text does not parse: line %zu: %s\n%s\n", second.errorLine,
                     second.error.c_str(), text.c_str());
        std::abort();
    }
    if (!second.forest->SameContent(*first.forest) || FormatHiveText(*second.forest) != text) {
        std::fprintf(stderr, "round trip changed the hive:\n%s\n", text.c_str());
        std::abort();
    }
    return 0;
}
