// Cuts a u-blox stream into whole UBX frames (0xB5 0x62 class id length payload CK_A CK_B, checked) and the
// NMEA text lines between them (checked like the NMEA framer's, ended by CR or LF).
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <cstddef>
#include <string>
#include <vector>

class UbxFramer {
public:
    // Nothing held may reach this many units: the longest frame has a payload of 791 bytes.
    static constexpr std::size_t kMaxLine = 800;
    static constexpr std::size_t kMaxPayload = kMaxLine - 9;

    void Feed(const BYTE* data, std::size_t size, std::vector<CString>& messages);
    void Reset();

    // The framer's position: 0 scanning, 1-8 inside a frame, 9 inside a text line.
    int State() const { return m_state; }

private:
    void FeedByte(BYTE byte, std::vector<CString>& messages);

    int m_state = 0;
    std::size_t m_payloadLength = 0;
    bool m_afterCr = false; // the last text line ended with CR: an LF right after it belongs to it
    std::u16string m_line;
};

// The UBX Fletcher check of a whole frame held one byte per unit.
bool IsValidUbxFrame(const std::u16string& frame);
