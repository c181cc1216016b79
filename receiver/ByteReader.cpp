#include "receiver/ByteReader.h"

#include <algorithm>
#include <string_view>

unsigned ByteReader::Unsigned(int at, int width) const {
    if (!Holds(at, width)) {
        return 0;
    }
    unsigned value = 0;
    for (int i = 0; i < width; ++i) {
        const int index = m_order == ByteOrder::kBigEndian ? at + i : at + width - 1 - i;
        value = (value << 8) | (static_cast<unsigned>(m_units[index]) & 0xFF);
    }
    return value;
}

int ByteReader::Signed(int at, int width) const {
    // The field's top bit moved to the int's, then back with the sign spread over the bits above the field.
    const int above = 32 - 8 * width;
    return static_cast<int>(Unsigned(at, width) << above) >> above;
}

CString ByteReader::Chars(int first, int count) const {
    if (first < 0 || first >= m_size || count <= 0) {
        return CString();
    }
    return CString(
        std::u16string_view(m_units + first, static_cast<std::size_t>(std::min(count, m_size - first))));
}

CString ByteReader::ZeroEndedText(int first, int count) const {
    CString text;
    for (int at = first; at < first + count && Holds(at, 1); ++at) {
        const unsigned byte = U8(at);
        if (byte == 0) {
            break;
        }
        text += static_cast<TCHAR>(byte);
    }
    return text;
}
