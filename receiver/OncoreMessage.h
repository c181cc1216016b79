// Read access to one Motorola binary message as the framer delivers it: one unit per received byte, from the
// first "@" up to the checksum. Numbers are big-endian; a field beyond the message's end reads as 0 (text as
// nothing): a short message is refused before its fields are read, and this keeps a mistake there from ever
// reading past the end.
#pragma once

#include "platform/base/CString.h"
#include "receiver/ByteReader.h"

class OncoreMessage : public ByteReader {
public:
    explicit OncoreMessage(const CString& message)
        : ByteReader(message.GetString(), message.GetLength(), ByteOrder::kBigEndian), m_message(message) {}

    int Length() const { return m_message.GetLength(); }
    const CString& Text() const { return m_message; }

private:
    const CString& m_message;
};
