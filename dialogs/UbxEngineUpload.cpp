#include "dialogs/UbxEngineUpload.h"

#include "dialogs/FirmwareUploadHost.h"
#include "platform/base/CFile.h"
#include "platform/base/Exceptions.h"
#include "receiver/CThBufferList.h"
#include "receiver/ReceiverState.h"

#include <array>
#include <new>

namespace {

constexpr BYTE kClassMon = 0x0A, kIdMonVer = 0x04;
constexpr BYTE kClassUpd = 0x09, kIdUpload = 0x02, kIdCrc = 0x0D, kIdSafe = 0x07, kIdFlashDetect = 0x08,
               kIdReboot = 0x0E;
constexpr int kReplyTimeoutSec = 4;
constexpr std::size_t kMinimumImageSize = 48;

std::uint32_t WordAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

std::uint32_t Marker(const char (&text)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24);
}

TCHAR MarkerChar(std::uint32_t word, int index) {
    return static_cast<TCHAR>((word >> (8 * index)) & 0xFF);
}

} // namespace

int UbxImageGeneration(std::uint32_t markerWord) {
    if (markerWord == Marker("UBX5")) {
        return 50;
    }
    if (markerWord == Marker("UB51")) {
        return 60;
    }
    if (markerWord == Marker("UBX7")) {
        return 70;
    }
    if (markerWord == Marker("UBX8")) {
        return 80;
    }
    return 0;
}

int UbxHardwareGeneration(const CString& hardwareVersion10) {
    struct Entry {
        const char16_t* text;
        int generation;
    };
    static constexpr std::array<Entry, 5> kTable{
        {{u"00080000", 80}, {u"00070000", 70}, {u"00040007", 60}, {u"00040006", 51}, {u"00040005", 50}}};
    for (const Entry& entry : kTable) {
        // All ten characters: the eight digits and two NULs.
        std::u16string expected(entry.text);
        expected.append(2, u'\0');
        if (hardwareVersion10.str() == expected) {
            return entry.generation;
        }
    }
    return 0;
}

std::uint32_t UbxRomSize(int hardwareGeneration) {
    switch (hardwareGeneration) {
    case 50:
        return 0x60000;
    case 51:
    case 60:
        return 0x70000;
    case 70:
        return 0x80000;
    case 80:
        return 0x88000;
    default:
        return 0;
    }
}

std::uint32_t UbxRomCrcAddress(int hardwareGeneration) {
    std::uint32_t address = UbxRomSize(hardwareGeneration) - 4;
    if (hardwareGeneration < 70) {
        address += 0x200000;
    }
    return address;
}

int UbxRomVersion(std::uint32_t romCrc) {
    struct Entry {
        std::uint32_t crc;
        int version;
    };
    static constexpr std::array<Entry, 17> kTable{{{0x00000000, 200},
                                                   {0xE046F6C8, 300},
                                                   {0x3CB3E4FF, 400},
                                                   {0x806AF596, 500},
                                                   {0xEA00D0BD, 510},
                                                   {0xB5CD6FC1, 600},
                                                   {0x2BA123BA, 601},
                                                   {0x288646C9, 602},
                                                   {0xB94D4114, 701},
                                                   {0x494DF1F9, 703},
                                                   {0xD5FCE753, 10},
                                                   {0xFCE598B1, 11},
                                                   {0xED152ADE, 14},
                                                   {0x100E368D, 100},
                                                   {0xDFAA666C, 21},
                                                   {0x041D115D, 22},
                                                   {0xA15AF099, 201}}};
    for (const Entry& entry : kTable) {
        if (entry.crc == romCrc) {
            return entry.version;
        }
    }
    return -1;
}

CString UbxFrame(BYTE messageClass, BYTE messageId, const std::vector<std::uint32_t>& payloadWords) {
    std::u16string frame{u'\xB5', u'\x62', messageClass, messageId};
    const std::size_t length = payloadWords.size() * 4;
    frame += static_cast<char16_t>(length & 0xFF);
    frame += static_cast<char16_t>((length >> 8) & 0xFF);
    for (std::uint32_t word : payloadWords) {
        for (int i = 0; i < 4; ++i) {
            frame += static_cast<char16_t>((word >> (8 * i)) & 0xFF);
        }
    }
    return CString(std::move(frame));
}

void UbxEngineUpload::Echo(const CString& text) {
    m_host.AddRawDataLine(text);
}

std::uint32_t UbxEngineUpload::ReplyWord(const CString& frame, int payloadOffset) {
    std::uint32_t word = 0;
    for (int i = 0; i < 4; ++i) {
        word |= static_cast<std::uint32_t>(frame[6 + payloadOffset + i] & 0xFF) << (8 * i);
    }
    return word;
}

bool UbxEngineUpload::Await(BYTE messageClass, BYTE messageId, Length rule, int payloadLength,
                            int timeoutSec) {
    const ULONGLONG start = m_host.MonotonicMs();
    for (;;) {
        if (!g_receiveList.IsEmpty()) {
            const CString message = g_receiveList.RemoveHead();
            const CString text = m_host.DecodeUbxMessage(message);
            if (!text.IsEmpty()) {
                Echo(_T("=> ") + text);
            }
            if (messageClass != 0 && message.GetLength() >= 6 && message[0] == 0xB5 && message[1] == 0x62 &&
                message[2] == messageClass && message[3] == messageId) {
                const int length = (message[4] & 0xFF) | ((message[5] & 0xFF) << 8);
                // The payload must also be there, whatever the length field claims.
                const bool present = message.GetLength() >= 6 + length;
                const bool fits = rule == Length::AtLeast ? length >= payloadLength : length == payloadLength;
                if (present && fits) {
                    m_reply = message;
                    return true;
                }
            }
            continue;
        }
        if (m_host.MonotonicMs() - start >= static_cast<ULONGLONG>(timeoutSec) * 1000) {
            return false;
        }
        m_host.PollIdle();
    }
}

void UbxEngineUpload::Drain(int seconds) {
    Await(0, 0, Length::AtLeast, 0, seconds);
}

BOOL UbxEngineUpload::Run(const CString& path) {
    const int keptMode = g_interfaceMode.load();
    m_host.SetProgress(0);
    bool ok = false;
    CString failureText = _T("Firmware Upload FAILED");

    auto procedure = [&]() -> bool {
        if (path.IsEmpty()) {
            return false;
        }
        CFile file;
        if (!file.Open(path, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone)) {
            return false;
        }
        Echo(_T("Loading the image file into memory.\n"));
        const auto fileLength = static_cast<std::int64_t>(file.GetLength());
        try {
            m_image.assign(static_cast<std::size_t>(fileLength), 0);
        } catch (const std::bad_alloc&) {
            Echo(_T("Allocation of file buffer memory failed.\n"));
            return false;
        }
        std::int64_t got = 0;
        try {
            while (got < fileLength) {
                const UINT n = file.Read(m_image.data() + got, static_cast<UINT>(fileLength - got));
                if (n == 0) {
                    break;
                }
                got += n;
            }
        } catch (CException* e) {
            e->Delete();
        }
        file.Close();
        if (got != fileLength) {
            CString text;
            text.Format(_T("Wrong number of bytes read. Read = %ld, Expected = %ld"), static_cast<long>(got),
                        static_cast<long>(fileLength));
            Echo(text);
            return false;
        }

        Echo(_T("Verifying the image file.\n"));
        if (m_image.size() < kMinimumImageSize) {
            Echo(_T("Error: The image file is too small.\n"));
            return false;
        }
        const std::uint32_t marker = WordAt(m_image, 0);
        const int imageGeneration = UbxImageGeneration(marker);
        CString text;
        if (imageGeneration == 0) {
            text.Format(_T("Image magic word invalid: 0x%04X / '%c%c%c%c'"), marker, MarkerChar(marker, 0),
                        MarkerChar(marker, 1), MarkerChar(marker, 2), MarkerChar(marker, 3));
            Echo(text);
            return false;
        }
        const std::uint32_t base = WordAt(m_image, 12);
        const std::uint32_t alignedEnd = WordAt(m_image, 20) & ~3u;
        // The CRC words must lie inside the file; an image that says otherwise is cut short.
        const std::uint64_t crcOffset = static_cast<std::uint32_t>(alignedEnd - base);
        if (std::uint64_t{alignedEnd} < std::uint64_t{base} + 4 || crcOffset + 8 > m_image.size()) {
            Echo(_T("Error: The image file is too small.\n"));
            return false;
        }
        const std::uint32_t imageCrc1 = WordAt(m_image, crcOffset);
        const std::uint32_t imageCrc2 = WordAt(m_image, crcOffset + 4);
        const std::uint32_t checkedLength = alignedEnd - base - 4;
        text.Format(_T("The image file is for hardware series %c%c%c%c"), MarkerChar(marker, 0),
                    MarkerChar(marker, 1), MarkerChar(marker, 2), MarkerChar(marker, 3));
        Echo(text);

        m_host.SetUbxUploadRunning(TRUE);
        Echo(_T("Switch to passthrough mode at 57600 baud.\n"));
        CString passThrough(_T("@@Wb"));
        passThrough += TCHAR(0x01);
        passThrough += TCHAR(0x34);
        m_host.SendGpsCommandAndWait(passThrough);
        m_host.SleepMs(500);
        m_host.SetCommBaudRate(57600);
        m_host.SleepMs(100);
        g_interfaceMode = kModeUbloxUbx;

        Echo(_T("Poll for GPS module information (MON-VER).\n"));
        m_host.SendGpsCommand(UbxFrame(kClassMon, kIdMonVer, {}));
        if (!Await(kClassMon, kIdMonVer, Length::AtLeast, 40, kReplyTimeoutSec)) {
            Echo(_T("GPS module information poll failed.\n"));
            return false;
        }
        Echo(_T("Received GPS module information.\n"));
        const CString hardware = m_reply.Mid(6 + 30, 10);
        const int hardwareGeneration = UbxHardwareGeneration(hardware);
        CString hardwareText = hardware;
        if (const int nul = hardwareText.Find(TCHAR(0)); nul >= 0) {
            hardwareText = hardwareText.Left(nul);
        }
        text.Format(_T("Receiver HW %s, Generation %d.%d"), static_cast<LPCTSTR>(hardwareText),
                    hardwareGeneration / 10, hardwareGeneration % 10);
        Echo(text);
        if (imageGeneration / 10 != hardwareGeneration / 10) {
            failureText.Format(_T("Error: The image file is for a UBX%d but the hardware is a UBX%d."),
                               imageGeneration / 10, hardwareGeneration / 10);
            return false;
        }
        text.Format(_T("OK: The image file is for a UBX%d and the hardware is a UBX%d."),
                    imageGeneration / 10, hardwareGeneration / 10);
        Echo(text);
        const std::uint32_t romSize = UbxRomSize(hardwareGeneration);
        text.Format(_T("Receiver ROM size is.%d bytes, %dKB."), static_cast<int>(romSize),
                    static_cast<int>(romSize / 1024));
        Echo(text);

        Echo(_T("Requesting the ROM CRC data.\n"));
        m_host.SendGpsCommand(UbxFrame(kClassUpd, kIdUpload, {UbxRomCrcAddress(hardwareGeneration), 4, 0}));
        if (!Await(kClassUpd, kIdUpload, Length::AtLeast, 16, kReplyTimeoutSec)) {
            Echo(_T("Could not get ROM CRC.\n"));
            return false;
        }
        const std::uint32_t romCrc = ReplyWord(m_reply, 12);
        text.Format(_T("ROM CRC: 0x%08X"), romCrc);
        Echo(text);
        const int romVersion = UbxRomVersion(romCrc);
        if (romVersion < 0) {
            text.Format(_T("u-blox%d.%d ROM version unknown (0x%08X)"), hardwareGeneration / 10,
                        hardwareGeneration % 10, romCrc);
            Echo(text);
            return false;
        }
        text.Format(_T("u-blox%d ROM%d.%02d hardware detected (0x%08X)"), hardwareGeneration / 10,
                    romVersion / 100, romVersion % 100, romCrc);
        Echo(text);

        Echo(_T("Check the ROM magic word.\n"));
        m_host.SendGpsCommand(UbxFrame(kClassUpd, kIdUpload, {base, 4, 0}));
        if (!Await(kClassUpd, kIdUpload, Length::AtLeast, 16, kReplyTimeoutSec)) {
            Echo(_T("Could not get ROM magic word.\n"));
            return false;
        }
        const std::uint32_t romMarker = ReplyWord(m_reply, 12);
        text.Format(_T("Received ROM magic word: 0x%08X"), romMarker);
        Echo(text);
        if (romMarker != marker) {
            failureText.Format(_T("Magic words don't match (%08x != %08x)"), romMarker, marker);
            return false;
        }
        Echo(_T("Magic words match, check CRC.\n"));

        Echo(_T("Verifying Image on hardware.\n"));
        m_host.SendGpsCommand(UbxFrame(kClassUpd, kIdCrc, {base, checkedLength, imageCrc1, imageCrc2}));
        if (!Await(kClassUpd, kIdCrc, Length::Exactly, 5, kReplyTimeoutSec)) {
            Echo(_T("Polling verify message failed.\n"));
            return false;
        }
        const bool crcGood = (m_reply[6 + 4] & 0xFF) != 0;
        text.Format(_T("CRC check %s"), crcGood ? _T("SUCCESS") : _T("ERROR"));
        Echo(text);
        if (crcGood) {
            Echo(_T("CRC on the flash is correct.\n"));
            Echo(_T("Read the CRC values to be able to compare later.\n"));
            m_host.SendGpsCommand(UbxFrame(kClassUpd, kIdUpload, {alignedEnd, 8, 0}));
            if (!Await(kClassUpd, kIdUpload, Length::AtLeast, 20, kReplyTimeoutSec)) {
                Echo(_T("Reading flash CRC timed out, doing update.\n"));
            }
        } else {
            Echo(_T("CRC on the flash is wrong, doing update.\n"));
        }

        Drain(1);
        Echo(_T("Send the safeboot command.\n"));
        m_host.SendGpsCommand(UbxFrame(kClassUpd, kIdSafe, {}));
        m_host.SleepMs(1100);
        Echo(_T("Sending training sequence.\n"));
        CString training;
        training += TCHAR(0x55);
        training += TCHAR(0x55);
        m_host.SendGpsCommand(training);
        m_host.SleepMs(500);

        Echo(_T("Poll for GPS module information (MON-VER) again.\n"));
        m_host.SendGpsCommand(UbxFrame(kClassMon, kIdMonVer, {}));
        if (Await(kClassMon, kIdMonVer, Length::AtLeast, 40, kReplyTimeoutSec)) {
            Echo(_T("Received GPS module information.\n"));
        } else {
            Echo(_T("GPS module information poll failed.\n"));
        }

        for (int round = 0; round < 2; ++round) {
            Echo(_T("Detecting Flash manufacturer and device IDs.\n"));
            m_host.SendGpsCommand(UbxFrame(kClassUpd, kIdFlashDetect, {base}));
            if (!Await(kClassUpd, kIdFlashDetect, Length::Exactly, 8, kReplyTimeoutSec)) {
                Echo(_T("ERROR: Flash Detection timed out.\n"));
                return false;
            }
            const int manufacturer = (m_reply[6 + 4] & 0xFF) | ((m_reply[6 + 5] & 0xFF) << 8);
            const int device = (m_reply[6 + 6] & 0xFF) | ((m_reply[6 + 7] & 0xFF) << 8);
            text.Format(_T("Flash ManId: 0x%04X DevId: 0x%04X"), manufacturer, device);
            Echo(text);
            Drain(1);
        }
        return true;
    };

    ok = procedure();
    if (!ok) {
        Echo(failureText);
    }
    Echo(_T("Rebooting the receiver.\n"));
    m_host.SendGpsCommand(UbxFrame(kClassUpd, kIdReboot, {}));

    m_image.clear();
    m_image.shrink_to_fit();
    g_interfaceMode = keptMode;
    CString restore(_T("@@Wb"));
    restore += TCHAR(0);
    restore += TCHAR(0);
    m_host.SendGpsCommand(restore);
    m_host.SetUbxUploadRunning(FALSE);
    return ok ? TRUE : FALSE;
}
