// Read access to one Motorola binary message as the framer delivers it: one unit per received byte, from the
// first "@" up to the checksum. Numbers are big-endian. A field that lies beyond the message's end reads as
// 0 (and text as nothing): a short message is refused before its fields are read, and this keeps a
// mistake there from ever reading past the end.
#pragma once

#include "platform/base/CString.h"

#include <cstdint>

class OncoreMessage {
public:
    explicit OncoreMessage(const CString& message) : m_message(message) {}

    int Length() const { return m_message.GetLength(); }
    const CString& Text() const { return m_message; }

    unsigned U8(int at) const {
        return at >= 0 && at < Length() ? static_cast<unsigned>(m_message[at]) & 0xFF : 0;
    }
    unsigned U16(int at) const { return Unsigned(at, 2); }
    unsigned U24(int at) const { return Unsigned(at, 3); }
    unsigned U32(int at) const { return Unsigned(at, 4); }
    int S8(int at) const { return static_cast<std::int8_t>(U8(at)); }
    int S16(int at) const { return static_cast<std::int16_t>(U16(at)); }
    int S24(int at) const {
        const unsigned value = U24(at);
        return value & 0x800000 ? static_cast<int>(value) - 0x1000000 : static_cast<int>(value);
    }
    int S32(int at) const { return static_cast<std::int32_t>(U32(at)); }

    // The units from `first`, at most `count` of them, clamped to the message.
    CString Chars(int first, int count) const {
        if (first >= Length() || count <= 0) {
            return CString();
        }
        return m_message.Mid(first, count);
    }

private:
    unsigned Unsigned(int at, int width) const {
        unsigned value = 0;
        for (int i = 0; i < width; ++i) {
            value = (value << 8) | U8(at + i);
        }
        return value;
    }

    const CString& m_message;
};
