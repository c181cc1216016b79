// The GPS engine's firmware procedure: checks a u-blox image against the engine behind the receiver's
// processor (series, ROM version, marker word, flash CRC), puts the engine into safe boot, detects its flash
// twice and reboots it. The flash is neither erased nor written. Every step is reported in the raw-data
// window; every ending reboots the engine and restores the interface mode.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <cstdint>
#include <vector>

class FirmwareUploadHost;

// Generations: 50, 51, 60, 70, 80; 0 when unknown.
int UbxImageGeneration(std::uint32_t markerWord);
// From MON-VER's ten hardware-version characters.
int UbxHardwareGeneration(const CString& hardwareVersion10);
std::uint32_t UbxRomSize(int hardwareGeneration);
std::uint32_t UbxRomCrcAddress(int hardwareGeneration);
// The ROM version (e.g. 701 for 7.01) of a ROM CRC word, or -1 when unknown.
int UbxRomVersion(std::uint32_t romCrc);

// A UBX frame without its checksum, one byte per unit, as the send routine takes it.
CString UbxFrame(BYTE messageClass, BYTE messageId, const std::vector<std::uint32_t>& payloadWords);

class UbxEngineUpload {
public:
    explicit UbxEngineUpload(FirmwareUploadHost& host) : m_host(host) {}

    // `path` empty: the user cancelled the file choice. TRUE when the procedure reached its reboot without
    // a failure.
    BOOL Run(const CString& path);

private:
    enum class Length { AtLeast, Exactly };
    // Awaits the message; false on time-out. The frame is kept in m_reply.
    bool Await(BYTE messageClass, BYTE messageId, Length rule, int payloadLength, int timeoutSec);
    void Drain(int seconds);
    bool PassThroughAndCheck();
    void Echo(const CString& text);
    static std::uint32_t ReplyWord(const CString& frame, int payloadOffset);

    FirmwareUploadHost& m_host;
    std::vector<unsigned char> m_image;
    CString m_reply;
};
