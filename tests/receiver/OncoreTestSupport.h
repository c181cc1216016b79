// The recording view as the Motorola binary decoder's tests use it, and a builder of its messages.
#pragma once

#include "platform/base/CString.h"
#include "receiver/OncoreDecoder.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <string>

namespace oncore_test {

using decoder_test::Narrow;
using decoder_test::Position;
using decoder_test::Utc;

// "@@" + id + payload, `units` long (the framer's length minus checksum, CR and LF); numbers big-endian.
class OncoreBuilder {
public:
    OncoreBuilder(const char* id, int units) : m_units(static_cast<std::size_t>(units), u'\0') {
        m_units[0] = m_units[1] = u'@';
        m_units[2] = static_cast<char16_t>(id[0]);
        m_units[3] = static_cast<char16_t>(id[1]);
    }
    OncoreBuilder& Put(int at, long long value, int width) {
        for (int i = 0; i < width; ++i) {
            m_units.at(static_cast<std::size_t>(at + i)) = static_cast<char16_t>(
                (static_cast<unsigned long long>(value) >> (8 * (width - 1 - i))) & 0xFF);
        }
        return *this;
    }
    OncoreBuilder& Text(int at, const std::string& text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            m_units.at(at + i) = static_cast<unsigned char>(text[i]);
        }
        return *this;
    }
    CString Message() const { return CString(m_units); }
    operator CString() const { return Message(); }

private:
    std::u16string m_units;
};

using decoder_test::TimerCall;

// The Oncore tests start with this second's tick handled, so that a time message only prepares the next.
class RecordingOncoreView : public decoder_test::RecordingView {
public:
    RecordingOncoreView() { tickHandled = TRUE; }
};

// Decodes and answers the text as narrow bytes, for readable comparisons.
inline std::string Decode(OncoreDecoder& decoder, const CString& message) {
    return Narrow(decoder.DecodeOncoreMessage(message).str());
}

} // namespace oncore_test
