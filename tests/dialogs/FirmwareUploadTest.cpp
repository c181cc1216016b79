// The two firmware uploads against scripted receivers on a fake clock: the boot loader's waits and rates,
// record resends and the statistics; the engine procedure's checks, failure texts and its fixed ending.
#include "DialogTestSupport.h"
#include "dialogs/FirmwareUploadHost.h"
#include "dialogs/IntelHexUpload.h"
#include "dialogs/UbxEngineUpload.h"
#include "platform/base/MessageBoxConstants.h"
#include "platform/system/SystemClock.h"
#include "receiver/CThBufferList.h"
#include "receiver/CommandFraming.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <vector>

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

// A host on a fake monotonic millisecond clock; the scripted receiver sees every command, every queued
// record and every idle poll, and answers through g_receiveList.
class ScriptedHost : public FirmwareUploadHost {
public:
    std::int64_t nowMs = 1'000'000'000'000;
    std::vector<CString> commands, records, lines, boxes;
    std::vector<DWORD> rates;
    std::vector<BOOL> uploadRunning;
    std::function<void(const CString&)> onCommand = [](const CString&) {};
    std::function<void(const CString&)> onRecord = [](const CString&) {};
    std::function<void(DWORD)> onRate = [](DWORD) {};
    std::function<void()> onPoll = [] {};

    void SendGpsCommand(const CString& command) override {
        commands.push_back(command);
        onCommand(command);
    }
    BOOL SendGpsCommandAndWait(const CString& command) override {
        SendGpsCommand(command);
        return TRUE;
    }
    BOOL SetCommBaudRate(DWORD rate) override {
        rates.push_back(rate);
        onRate(rate);
        return TRUE;
    }
    CString DecodeUbxMessage(const CString&) override { return CString(); }
    void AddRawDataLine(const CString& text) override { lines.push_back(text); }
    int ShowMessageBox(const CString& text, UINT) override {
        boxes.push_back(text);
        return IDOK;
    }
    void SetProgress(int) override {}
    void SetUbxUploadRunning(BOOL running) override { uploadRunning.push_back(running); }
    void SetUploadRunning(BOOL) override {}
    ULONGLONG MonotonicMs() override { return static_cast<ULONGLONG>(nowMs); }
    void SleepMs(DWORD ms) override { nowMs += ms; }
    // The transmit thread's part: takes a queued record to the receiver.
    void PollIdle() override {
        nowMs += 10;
        onPoll();
        if (!g_transmitList.IsEmpty()) {
            const CString record = g_transmitList.RemoveHead();
            records.push_back(record);
            onRecord(record);
        }
    }
    // The end-of-file record is queued without awaiting its reply: the transmit thread takes it later.
    void TakeLastRecord() {
        while (!g_transmitList.IsEmpty()) {
            records.push_back(g_transmitList.RemoveHead());
        }
    }
    bool Echoed(const CString& text) const {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
};

class FirmwareUploadTest : public dialogtest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        g_receiveList.RemoveAll();
        g_transmitList.RemoveAll();
    }
    void TearDown() override {
        g_receiveList.RemoveAll();
        g_transmitList.RemoveAll();
        ProfileTest::TearDown();
    }
    CString WriteFile(const std::string& name, const std::string& bytes) {
        const auto path = testsupport::ScratchDir() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return CString(path.string().c_str());
    }
    ScriptedHost host;
};

const char* const kHexFile = "; firmware\r\n"
                             ":0400000001020304F2\r\n"
                             ":00000001FF\r\n";

// A boot loader that announces itself on "@@Wc" and ACKs every record.
void BootLoaderAnswering(ScriptedHost& host) {
    host.onCommand = [](const CString& command) {
        if (command == _T("@@Wc")) {
            g_receiveList.AddTail(_T("Waiting for program..."));
        }
    };
    host.onRecord = [](const CString&) { g_receiveList.AddTail(CString(TCHAR(0x06))); };
}

TEST_F(FirmwareUploadTest, BootLoaderFoundAtOnceSendsEveryRecordAndCountsTheComment) {
    BootLoaderAnswering(host);
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", kHexFile)), IntelHexUploadResult::Completed);
    host.TakeLastRecord();
    EXPECT_TRUE(host.rates.empty());
    EXPECT_THAT(host.commands, ElementsAre(CString(_T("@@Wc")), CString(_T("\r\n"))));
    EXPECT_THAT(host.records, ElementsAre(CString(_T(":0400000001020304F2")), CString(_T(":00000001FF"))));
    EXPECT_EQ(upload.Stats().recordCount, 3);
    EXPECT_EQ(upload.Stats().characterCount, 19 + 11);
    EXPECT_THAT(host.boxes, ElementsAre(CString(_T("Firmware upload \ncompleted successfully.\n"))));
    EXPECT_FALSE(host.Echoed(_T("Firmware Upload FAILED")));
    EXPECT_TRUE(host.Echoed(_T("    Record Count              = 3\n")));
    EXPECT_TRUE(host.Echoed(_T("    Character Count          = 30\n")));
}

TEST_F(FirmwareUploadTest, SilentReceiverTriesTheFastRateThenGivesUp) {
    IntelHexUpload upload(host);
    const std::int64_t start = host.nowMs;
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", kHexFile)), IntelHexUploadResult::Failed);
    EXPECT_THAT(host.rates, ElementsAre(57600u, 9600u));
    EXPECT_TRUE(host.records.empty());
    EXPECT_TRUE(host.Echoed(_T("Firmware Upload FAILED")));
    EXPECT_TRUE(host.boxes.empty());
    // 0.5 s, up to 3 s, 0.1 s, up to 43 s, 0.3 s and the final 0.1 s.
    EXPECT_GE(host.nowMs - start, 44'000);
    EXPECT_LE(host.nowMs - start, 48'000);
}

TEST_F(FirmwareUploadTest, BootLoaderFoundAtTheFastRate) {
    host.onRate = [](DWORD rate) {
        if (rate == 57600) {
            g_receiveList.AddTail(_T("Waiting for program..."));
        }
    };
    host.onRecord = [](const CString&) { g_receiveList.AddTail(CString(TCHAR(0x06))); };
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", kHexFile)), IntelHexUploadResult::Completed);
    host.TakeLastRecord();
    EXPECT_THAT(host.rates, ElementsAre(57600u));
    EXPECT_EQ(host.records.size(), 2u);
}

TEST_F(FirmwareUploadTest, BootLoaderFoundInTheRoundWhereTheFirstWaitEndsIsFound) {
    std::int64_t waitStart = 0;
    host.onCommand = [&](const CString& command) {
        if (command == _T("@@Wc")) {
            waitStart = host.nowMs + 500; // after the pause that follows "@@Wc"
        }
    };
    bool announced = false;
    host.onPoll = [&] {
        if (!announced && waitStart && host.nowMs - waitStart >= 3000) {
            announced = true;
            g_receiveList.AddTail(_T("Waiting for program..."));
        }
    };
    host.onRecord = [](const CString&) { g_receiveList.AddTail(CString(TCHAR(0x06))); };
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", kHexFile)), IntelHexUploadResult::Completed);
    EXPECT_TRUE(announced);
    EXPECT_TRUE(host.rates.empty());
}

// The program sets the PC clock while the upload waits: the waits do not notice.
TEST_F(FirmwareUploadTest, WaitsDoNotFollowTheClockTheProgramSets) {
    const auto wallClock = std::make_shared<ManualClock>(UtcInstant{1'900'000'000, 0});
    InstallSystemClock(wallClock);
    std::int64_t waitStart = 0;
    host.onCommand = [&](const CString& command) {
        if (command == _T("@@Wc")) {
            waitStart = host.nowMs + 500;
        }
    };
    bool stepped = false;
    host.onPoll = [&] {
        if (!stepped) {
            stepped = true;
            wallClock->Advance(3'600'000);
        }
        if (waitStart && host.nowMs - waitStart == 1000) {
            g_receiveList.AddTail(_T("Waiting for program..."));
        }
    };
    host.onRecord = [&](const CString&) {
        wallClock->Advance(-3'600'000);
        g_receiveList.AddTail(CString(TCHAR(0x06)));
    };
    IntelHexUpload upload(host);
    const IntelHexUploadResult result = upload.Run(WriteFile("fw.hex", kHexFile));
    InstallSystemClock(nullptr);
    EXPECT_EQ(result, IntelHexUploadResult::Completed);
    EXPECT_TRUE(host.rates.empty());
    EXPECT_EQ(upload.Stats().responseTimeouts, 0);
}

TEST_F(FirmwareUploadTest, NakThenAckResendsTheRecordOnce) {
    BootLoaderAnswering(host);
    int seen = 0;
    host.onRecord = [&seen](const CString&) {
        g_receiveList.AddTail(CString(TCHAR(++seen == 1 ? 0x15 : 0x06)));
    };
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", kHexFile)), IntelHexUploadResult::Completed);
    host.TakeLastRecord();
    EXPECT_EQ(host.records.size(), 3u);
    EXPECT_EQ(upload.Stats().nakErrors, 1);
    EXPECT_EQ(upload.Stats().sendRecordRetries, 1);
    EXPECT_TRUE(host.Echoed(_T("  NAK Response: Resend Record (2) Retry Count = 1\n")));
}

TEST_F(FirmwareUploadTest, FiveTimeOutsFailTheUpload) {
    BootLoaderAnswering(host);
    host.onRecord = [](const CString&) {};
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", kHexFile)), IntelHexUploadResult::Failed);
    EXPECT_EQ(host.records.size(), 5u);
    EXPECT_EQ(upload.Stats().responseTimeouts, 5);
    EXPECT_EQ(upload.Stats().sendRecordRetries, 4);
    EXPECT_EQ(host.lines.back(), CString(_T("    NAK Errors                = 0\n")));
    EXPECT_TRUE(host.Echoed(_T("  No Response: Resend Record (2) Retry Count = 5\n")));
    EXPECT_THAT(host.boxes,
                ElementsAre(CString(_T("No Response: retries exceeded: Firmware upload failed.\n"))));
    EXPECT_TRUE(host.Echoed(_T("Firmware Upload FAILED")));
}

TEST_F(FirmwareUploadTest, InvalidRepliesAreCountedAndIgnored) {
    BootLoaderAnswering(host);
    host.onRecord = [](const CString&) {
        g_receiveList.AddTail(_T("Xyz"));
        g_receiveList.AddTail(CString(TCHAR(0x11)));
        g_receiveList.AddTail(CString(TCHAR(0x06)));
    };
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", kHexFile)), IntelHexUploadResult::Completed);
    host.TakeLastRecord();
    EXPECT_EQ(upload.Stats().invalidResponses, 1);
    EXPECT_EQ(upload.Stats().sendRecordRetries, 0);
}

TEST_F(FirmwareUploadTest, FileEndingBeforeItsEndRecordIsReported) {
    BootLoaderAnswering(host);
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(WriteFile("fw.hex", ":0400000001020304F2\n")), IntelHexUploadResult::EndOfFile);
    EXPECT_THAT(host.boxes, ElementsAre(CString(_T("End of File: Firmware upload failed.\n"))));
    EXPECT_FALSE(host.Echoed(_T("Firmware Upload FAILED")));
}

TEST_F(FirmwareUploadTest, NoFileSendsNothing) {
    IntelHexUpload upload(host);
    EXPECT_EQ(upload.Run(CString()), IntelHexUploadResult::NotStarted);
    EXPECT_EQ(upload.Run(_T("/nonexistent/fw.hex")), IntelHexUploadResult::NotStarted);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_TRUE(host.lines.empty());
}

// ---- The engine procedure

std::string Le32(std::uint32_t v) {
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

constexpr std::uint32_t kBase = 0x1000;

// A 72-byte image: marker, base 0x1000, end 0x1043 (aligned 0x1040), CRC words at 64 and 68.
std::string Image(const char* marker) {
    std::string image(72, '\0');
    image.replace(0, 4, marker);
    image.replace(12, 4, Le32(kBase));
    image.replace(20, 4, Le32(kBase + 0x43));
    image.replace(64, 4, Le32(0x11111111));
    image.replace(68, 4, Le32(0x22222222));
    return image;
}

CString Reply(BYTE cls, BYTE id, const std::string& payload) {
    std::u16string frame{
        u'\xB5', u'\x62', cls, id, char16_t(payload.size() & 0xFF), char16_t(payload.size() >> 8)};
    for (unsigned char c : payload) {
        frame += char16_t(c);
    }
    frame += u"\x01\x02";
    return CString(frame);
}

struct EngineScript {
    std::string hardware = std::string("00040007") + std::string(2, '\0');
    std::uint32_t romCrc = 0x00000000;
    std::uint32_t romMarker = 0;
    bool crcGood = true;
    bool answerFlashDetect = true;

    void operator()(const CString& c) const {
        if (c.GetLength() < 6 || c[0] != 0xB5) {
            return;
        }
        const int cls = c[2], id = c[3];
        auto word = [&c](int i) {
            std::uint32_t v = 0;
            for (int k = 0; k < 4; ++k) {
                v |= std::uint32_t(c[6 + 4 * i + k] & 0xFF) << (8 * k);
            }
            return v;
        };
        if (cls == 0x0A && id == 0x04) {
            std::string payload(40, ' ');
            payload.replace(30, 10, hardware);
            g_receiveList.AddTail(Reply(0x0A, 0x04, payload));
        } else if (cls == 0x09 && id == 0x02) {
            const std::uint32_t address = word(0);
            const std::uint32_t data = address == kBase ? romMarker : romCrc;
            g_receiveList.AddTail(Reply(0x09, 0x02, Le32(address) + Le32(4) + Le32(0) + Le32(data)));
        } else if (cls == 0x09 && id == 0x0D) {
            g_receiveList.AddTail(Reply(0x09, 0x0D, Le32(kBase) + std::string(1, crcGood ? '\1' : '\0')));
        } else if (cls == 0x09 && id == 0x08 && answerFlashDetect) {
            g_receiveList.AddTail(Reply(0x09, 0x08, Le32(kBase) + std::string("\xBF\x00\x41\x25", 4)));
        }
    }
};

int CountFrames(const std::vector<CString>& commands, int cls, int id) {
    return static_cast<int>(std::count_if(commands.begin(), commands.end(), [&](const CString& c) {
        return c.GetLength() >= 4 && c[0] == 0xB5 && c[2] == cls && c[3] == id;
    }));
}

CString WbCommand(TCHAR a, TCHAR b) {
    CString command(_T("@@Wb"));
    command += a;
    command += b;
    return command;
}

TEST(UbxEngineTables, GenerationsRomSizesAndVersions) {
    EXPECT_EQ(UbxHardwareGeneration(CString(std::u16string(u"00040007\0\0", 10))), 60);
    EXPECT_EQ(UbxHardwareGeneration(CString(std::u16string(u"00040006\0\0", 10))), 51);
    EXPECT_EQ(UbxHardwareGeneration(CString(std::u16string(u"00040007 \0", 10))), 0);
    EXPECT_EQ(UbxImageGeneration(0x31354255), 60); // "UB51"
    EXPECT_EQ(UbxRomCrcAddress(50), 0x25FFFCu);
    EXPECT_EQ(UbxRomCrcAddress(80), 0x87FFCu);
    EXPECT_EQ(UbxRomVersion(0x00000000), 200);
    EXPECT_EQ(UbxRomVersion(0xA15AF099), 201);
    EXPECT_EQ(UbxRomVersion(0x12345678), -1);
}

TEST_F(FirmwareUploadTest, EngineProcedureChecksTheImageAndRebootsTheEngine) {
    EngineScript script;
    script.romMarker = 0x31354255;
    host.onCommand = script;
    g_interfaceMode = kModeMotorolaBinary;
    UbxEngineUpload upload(host);
    EXPECT_TRUE(upload.Run(WriteFile("fw.bin", Image("UB51"))));
    EXPECT_TRUE(host.Echoed(_T("OK: The image file is for a UBX6 and the hardware is a UBX6.")));
    EXPECT_TRUE(host.Echoed(_T("u-blox6 ROM2.00 hardware detected (0x00000000)")));
    EXPECT_TRUE(host.Echoed(_T("CRC check SUCCESS")));
    EXPECT_TRUE(host.Echoed(_T("Flash ManId: 0x00BF DevId: 0x2541")));
    EXPECT_FALSE(host.Echoed(_T("Firmware Upload FAILED")));
    EXPECT_EQ(CountFrames(host.commands, 0x09, 0x07), 1);
    EXPECT_EQ(CountFrames(host.commands, 0x09, 0x08), 2);
    EXPECT_EQ(CountFrames(host.commands, 0x09, 0x0E), 1);
    EXPECT_THAT(host.rates, ElementsAre(57600u));
    EXPECT_EQ(host.commands.front(), WbCommand(0x01, 0x34));
    EXPECT_EQ(host.commands.back(), WbCommand(0, 0));
    EXPECT_THAT(host.uploadRunning, ElementsAre(TRUE, FALSE));
    EXPECT_EQ(g_interfaceMode.load(), kModeMotorolaBinary);
    // The CRC verify carries the base, the checked length and the image's two CRC words.
    const auto verify = std::find_if(host.commands.begin(), host.commands.end(),
                                     [](const CString& c) { return c.GetLength() > 3 && c[3] == 0x0D; });
    ASSERT_NE(verify, host.commands.end());
    EXPECT_EQ(*verify, UbxFrame(0x09, 0x0D, {kBase, 60, 0x11111111, 0x22222222}));
}

TEST_F(FirmwareUploadTest, EngineProcedureFailures) {
    struct Case {
        const char* name;
        std::string image;
        EngineScript script;
        const char16_t* failureText;
        int flashDetects;
    };
    EngineScript ubx7;
    ubx7.hardware = std::string("00070000") + std::string(2, '\0');
    EngineScript unknownRom;
    unknownRom.romCrc = 0x12345678;
    EngineScript wrongMarker;
    wrongMarker.romMarker = 0x41414141;
    EngineScript noFlash;
    noFlash.romMarker = 0x31354255;
    noFlash.answerFlashDetect = false;
    const Case cases[] = {
        {"too small", Image("UB51").substr(0, 47), {}, u"Error: The image file is too small.\n", 0},
        {"bad marker", Image("ABCD"), {}, u"Image magic word invalid: 0x44434241 / 'ABCD'", 0},
        {"series mismatch", Image("UBX8"), ubx7,
         u"Error: The image file is for a UBX8 but the hardware is a UBX7.", 0},
        {"unknown rom", Image("UB51"), unknownRom, u"u-blox6.0 ROM version unknown (0x12345678)", 0},
        {"marker mismatch", Image("UB51"), wrongMarker, u"Magic words don't match (41414141 != 31354255)", 0},
        {"no flash detection", Image("UB51"), noFlash, u"ERROR: Flash Detection timed out.\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHost h;
        h.onCommand = c.script;
        UbxEngineUpload upload(h);
        EXPECT_FALSE(upload.Run(WriteFile("fw.bin", c.image)));
        EXPECT_TRUE(h.Echoed(CString(c.failureText)));
        EXPECT_EQ(CountFrames(h.commands, 0x09, 0x08), c.flashDetects);
        EXPECT_EQ(CountFrames(h.commands, 0x09, 0x0E), 1);
        EXPECT_EQ(h.commands.back(), WbCommand(0, 0));
        g_receiveList.RemoveAll();
    }
}

TEST_F(FirmwareUploadTest, CancelledEngineUploadStillRebootsAndRestores) {
    UbxEngineUpload upload(host);
    EXPECT_FALSE(upload.Run(CString()));
    EXPECT_THAT(host.lines,
                ElementsAre(CString(_T("Firmware Upload FAILED")), CString(_T("Rebooting the receiver.\n"))));
    ASSERT_EQ(host.commands.size(), 2u);
    EXPECT_EQ(host.commands[0], UbxFrame(0x09, 0x0E, {}));
    EXPECT_EQ(host.commands[1], WbCommand(0, 0));
}

} // namespace
