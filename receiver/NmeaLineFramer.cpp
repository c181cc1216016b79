#include "receiver/NmeaLineFramer.h"

#include "platform/base/WideRuntime.h"
#include "receiver/NmeaCheck.h"

#include <array>

bool IsPrintableByte(BYTE byte) {
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> printable{};
        for (int i = 0; i < 256; ++i) {
            printable[i] = iswprint(static_cast<char16_t>(i)) != 0;
        }
        return printable;
    }();
    return table[byte];
}

void NmeaLineFramer::Feed(const BYTE* data, std::size_t size, std::vector<CString>& messages) {
    for (std::size_t i = 0; i < size; ++i) {
        const BYTE byte = data[i];
        if (byte == 0x0D) {
            if (!m_line.empty() && m_line[0] == u'$' && !CheckNmeaLine(m_line)) {
                m_line.clear();
            }
            messages.emplace_back(std::move(m_line));
            m_line.clear();
            // Room for the next sentence at once, rather than a few units at a time.
            m_line.reserve(96);
        } else if (IsPrintableByte(byte)) {
            m_line.push_back(byte);
            if (m_line.size() >= kMaxLine) {
                m_line.clear();
            }
        }
    }
}
