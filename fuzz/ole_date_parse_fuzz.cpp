// Date and time text as a user or a document supplies it: the parser must refuse or accept any text
// without reading out of bounds, and whatever it accepts must format and parse back to the same value.
#include "platform/base/COleDateTime.h"
#include "platform/base/TimeConversions.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC0", 1);
    tzset();
    SetCurrentUtcSource([] { return UtcInstant{1717243200, 0}; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the flags; the rest is the text, one byte per unit (so seeds stay readable),
    // unless the flag byte's top bit asks for raw UTF-16 pairs.
    const std::uint8_t control = data[0];
    const DWORD flags = (control & 1 ? VAR_TIMEVALUEONLY : 0) | (control & 2 ? VAR_DATEVALUEONLY : 0);
    std::u16string text;
    if (control & 0x80) {
        for (std::size_t i = 1; i + 1 < size; i += 2) {
            text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        }
    } else {
        text.assign(data + 1, data + size);
    }

    COleDateTime date;
    if (!date.ParseDateTime(text.c_str(), flags)) {
        if (date.GetStatus() != COleDateTime::invalid || date.m_dt != 0.0) {
            std::abort();
        }
        return 0;
    }
    if (date.GetStatus() != COleDateTime::valid || date.GetYear() < 100 || date.GetYear() > 9999) {
        std::abort();
    }
    const CString shown = date.Format();
    COleDateTime again;
    if (!again.ParseDateTime(shown) || again.m_dt != date.m_dt) {
        std::abort();
    }
    (void)date.Format(u"%#c %j %U %W %Z");
    return 0;
}
