#include "receiver/UbxFramer.h"

#include "receiver/NmeaCheck.h"
#include "receiver/NmeaLineFramer.h"

#include <algorithm>

namespace {

// Room for most NMEA sentences, so that a line is not grown a few units at a time.
constexpr std::size_t kTypicalSentence = 96;

} // namespace

bool IsValidUbxFrame(const std::u16string& frame) {
    if (frame.size() < 8) {
        return false;
    }
    unsigned a = 0;
    unsigned b = 0;
    for (std::size_t i = 2; i < frame.size() - 2; ++i) {
        a = (a + (frame[i] & 0xFF)) & 0xFF;
        b = (b + a) & 0xFF;
    }
    return a == frame[frame.size() - 2] && b == frame[frame.size() - 1];
}

void UbxFramer::Reset() {
    m_state = 0;
    m_payloadLength = 0;
    m_afterCr = false;
    m_line.clear();
}

void UbxFramer::Feed(const BYTE* data, std::size_t size, std::vector<CString>& messages) {
    std::size_t i = 0;
    while (i < size) {
        if (m_state == 6) {
            // A payload's bytes need no look: they are taken as one run.
            const std::size_t take = std::min(m_payloadLength + 6 - m_line.size(), size - i);
            m_line.append(data + i, data + i + take);
            i += take;
            if (m_line.size() == m_payloadLength + 6) {
                m_state = 7;
            }
            continue;
        }
        FeedByte(data[i++], messages);
    }
}

void UbxFramer::FeedByte(BYTE byte, std::vector<CString>& messages) {
    switch (m_state) {
    case 0:
        if (m_afterCr) {
            m_afterCr = false;
            if (byte == 0x0A) {
                return;
            }
        }
        if (byte == 0xB5) {
            m_line.assign(1, byte);
            m_state = 1;
        } else if (byte == '$') {
            m_line.reserve(kTypicalSentence);
            m_line.assign(1, byte);
            m_state = 9;
        }
        return;
    case 1:
        if (byte == 0x62) {
            m_line.push_back(byte);
            m_state = 2;
        } else {
            // Not a frame after all: this byte may begin the next one.
            m_line.clear();
            m_state = 0;
            FeedByte(byte, messages);
        }
        return;
    case 2:
    case 3:
        m_line.push_back(byte);
        ++m_state;
        return;
    case 4:
        m_line.push_back(byte);
        m_payloadLength = byte;
        m_state = 5;
        return;
    case 5:
        m_line.push_back(byte);
        m_payloadLength += static_cast<std::size_t>(byte) * 256;
        if (m_payloadLength > kMaxPayload) {
            // A length no frame can have (or a false start): look for a frame in what was taken for its head.
            const std::u16string held = m_line.substr(1);
            m_line.clear();
            m_state = 0;
            for (char16_t unit : held) {
                FeedByte(static_cast<BYTE>(unit), messages);
            }
            return;
        }
        m_state = m_payloadLength == 0 ? 7 : 6;
        m_line.reserve(m_payloadLength + 8);
        return;
    case 6:
        m_line.push_back(byte);
        if (m_line.size() == m_payloadLength + 6) {
            m_state = 7;
        }
        return;
    case 7:
        m_line.push_back(byte);
        m_state = 8;
        return;
    case 8:
        m_line.push_back(byte);
        if (IsValidUbxFrame(m_line)) {
            messages.emplace_back(std::move(m_line));
        }
        m_line.clear();
        m_state = 0;
        return;
    case 9:
        if (byte == 0x0D || byte == 0x0A) {
            if (!CheckNmeaLine(m_line)) {
                m_line.clear();
            }
            messages.emplace_back(std::move(m_line));
            m_line.clear();
            m_afterCr = byte == 0x0D;
            m_state = 0;
        } else if (IsPrintableByte(byte)) {
            if (m_line.size() + 1 >= kMaxLine) {
                m_line.clear();
                m_state = 0;
                FeedByte(byte, messages);
                return;
            }
            m_line.push_back(byte);
        }
        return;
    default:
        Reset();
        return;
    }
}
