// The sentence decoder's number reader against the runtime's swscanf on untrusted text: every format the
// decoder uses must give the same answer and the same values, and neither may read past the text.
#include "tests/receiver/NmeaScanCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i < size && data[i] != 0; ++i) {
        text.push_back(data[i]);
    }
    if (nmea_scan_check::FirstDisagreement(text.c_str()) != nullptr) {
        __builtin_trap();
    }
    return 0;
}
