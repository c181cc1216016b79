// Decodes one UBX frame into the view (position, fix, DOPs, UTC time of the coming tick, satellites,
// antenna, version, leap-second state) and answers the one-line text the raw-data window shows. The view
// owns one decoder for the whole run; the texts of a call are its own, so nested calls cannot mix them.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/DecoderView.h"

class UbxDecoder {
public:
    explicit UbxDecoder(DecoderView& view) : m_view(view) {}

    // The frame one byte per unit: 0xB5 0x62 class id length(2) payload checksum(2). Answers "" for a frame
    // that is not UBX and for an unknown firmware-update id; otherwise a text ending in a line feed.
    CString DecodeUbxMessage(CString frame);

    const CString& GetFixText() const { return m_fixText; }
    const CString& GetDopText() const { return m_dopText; }

private:
    DecoderView& m_view;
    // Shown in the satellites grid; these may be shared between calls.
    CString m_fixText;
    CString m_dopText;
};
