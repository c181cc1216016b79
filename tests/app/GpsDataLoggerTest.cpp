#include "app/GpsDataLogger.h"

#include "TimekeepingFakeView.h"
#include "platform/registry/Registry.h"
#include "receiver/AppProfileAccess.h"
#include "support/FreshProfile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using apptest::Utc;

namespace {

CString Bytes(const std::string& bytes) {
    std::u16string units;
    for (char c : bytes) {
        units += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return CString(units);
}

int CountFields(const CString& row) {
    return row.IsEmpty() ? 0 : 1 + static_cast<int>(std::count(row.str().begin(), row.str().end(), u','));
}

class GpsDataLog : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testsupport::UseFreshProfile().string();
        view.gpsTime.SetTime(Utc(2024, 3, 10, 12, 0, 0));
    }
    void TearDown() override { doliva::registry::DropCachedHives(); }

    std::string Open(GpsDataLogger::LogFile file, int kind, const std::string& name, bool forNew = true) {
        const std::string path = dir + "/" + name;
        view.logger.SetPath(file, CString(Utf8ToUtf16(path)));
        EXPECT_TRUE(forNew ? view.logger.OpenNewLog(kind) : view.logger.OpenExistingLog(kind));
        return path;
    }

    std::string dir;
    apptest::FakeTimekeepingView view;
};

} // namespace

TEST(LoggingSecond, IntervalOffsetAndGpsSeconds) {
    struct Case {
        int interval, offset;
        std::vector<int> seconds;
    } cases[] = {
        {10, CLogType::kPlusOneSecond, {1, 11, 21, 31, 41, 51}},
        {10, CLogType::kMinusOneSecond, {9, 19, 29, 39, 49, 59}},
        {15, CLogType::kZeroOffset, {0, 15, 30, 45}},
        {60, CLogType::kPlusOneSecond, {1}},
        {0, CLogType::kZeroOffset, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> got;
        for (int s = 0; s < 60; ++s) {
            if (GpsDataLogger::IsLoggingSecond(s, c.interval, c.offset)) {
                got.push_back(s);
            }
        }
        EXPECT_EQ(got, c.seconds) << c.interval << "/" << c.offset;
    }
}

TEST_F(GpsDataLog, LoggingSecondsNeedAnOpenLogAndCanFollowGpsSeconds) {
    view.logType.m_logInterval = 1;
    view.logger.DecideLogSecond(30, 18);
    EXPECT_FALSE(view.logger.IsLogSecond()) << "no log open";

    Open(GpsDataLogger::kRawFile, CLogType::kRawData, "raw.txt");
    view.logType.m_logInterval = 60;
    view.logType.m_useGpsSecond = TRUE;
    std::vector<int> got;
    for (int s = 0; s < 60; ++s) {
        view.logger.DecideLogSecond(s, 18);
        if (view.logger.IsLogSecond()) {
            got.push_back(s);
        }
    }
    EXPECT_EQ(got, std::vector<int>{42});
}

TEST_F(GpsDataLog, RawLogHeaderRecordsInLoggingSecondsAndTrailer) {
    const std::string path = Open(GpsDataLogger::kRawFile, CLogType::kRawData, "raw.txt");
    view.logType.m_logInterval = 2;
    view.logger.DecideLogSecond(1, 0);
    view.AddRawDataLine(u"not logged");
    view.logger.DecideLogSecond(2, 0);
    view.AddRawDataLine(u"$GPZDA,120002.00,10,03,2024,00,00*6C");
    view.AddRawDataLine(u"");
    view.AddRawDataLine(u"caf\u00e9 \u00b0");
    view.gpsTime.SetTime(Utc(2024, 3, 10, 12, 0, 3));
    EXPECT_TRUE(view.logger.CloseGpsDataLog());
    EXPECT_FALSE(view.logger.IsAnyLogOpen());
    EXPECT_EQ(testsupport::ReadWholeFile(path),
              "; Opened Doliva Version 2.7.29 Raw Data Log at Sun Mar 10 12:00:00 2024 UTC\r\n"
              "$GPZDA,120002.00,10,03,2024,00,00*6C\r\n"
              "caf\xE9 \xB0\r\n"
              "; Closed Doliva Version 2.7.29 Log at Sun Mar 10 12:00:03 2024 UTC\r\n");
    EXPECT_FALSE(view.logger.CloseGpsDataLog()) << "nothing left to close";
}

TEST_F(GpsDataLog, PvtHeadersFollowTheReceiver) {
    view.channels = 12;
    view.interfaceMode = 2;
    const std::string path = Open(GpsDataLogger::kPvtFile, CLogType::kPvtData, "pvt.csv");
    view.logger.LogSecond() = TRUE;
    view.logger.WriteTextLogLine(GpsDataLogger::kPvtFile, u"record");
    view.logger.CloseGpsDataLog();
    const CString row12 = GpsDataLogger::PvtColumnRow(2, 12, TRUE);
    EXPECT_EQ(testsupport::ReadWholeFile(path),
              "; Opened Doliva Version 2.7.29 PVT Data Log at Sun Mar 10 12:00:00 2024 UTC\r\n" +
                  apptest::Narrow(row12) +
                  "\r\nrecord\r\n"
                  "; Closed Doliva Version 2.7.29 Log at Sun Mar 10 12:00:00 2024 UTC\r\n");

    EXPECT_EQ(CountFields(row12), 15 + 12 * 5 + 7);
    EXPECT_EQ(row12.Left(18), u"Date,Time,lat(mas)");
    EXPECT_EQ(row12.Right(17), u"UTC_Data,GMT_Data");
    EXPECT_NE(row12.Find(u",svid_1,ch_mode_1,sig_str_1,iode_1,ch_stat_1,svid_2,"), -1);
    EXPECT_NE(row12.Find(u",ch_stat_12,reserved,"), -1);

    struct Case {
        int mode, channels;
        BOOL forNew;
        int fields;
        const char* first;
    } cases[] = {
        {2, 12, FALSE, 28 + 12 * 4, "month,day,year"},
        {3, 8, TRUE, 13 + 8 * 4, "Date,Time,lat(mas)"},
        {2, 8, FALSE, 20 + 8 * 4, "month,day,year"},
        {2, 6, TRUE, 13 + 6 * 4, "Date,Time,lat(mas)"},
        {6, 0, TRUE, 16, "time,lat_deg"},
        {1, 12, FALSE, 18, "hour,minutes,seconds,lat_deg"},
        {2, 10, TRUE, 0, ""},
        {9, 0, TRUE, 0, ""},
        {0, 12, TRUE, 0, ""},
    };
    for (const Case& c : cases) {
        const CString row = GpsDataLogger::PvtColumnRow(c.mode, c.channels, c.forNew);
        EXPECT_EQ(CountFields(row), c.fields) << c.mode << "/" << c.channels;
        EXPECT_EQ(apptest::Narrow(row).rfind(c.first, 0), 0u) << c.mode << "/" << c.channels;
    }
    EXPECT_EQ(GpsDataLogger::PvtColumnRow(2, 8, FALSE).Right(19), u"sig_str_8,ch_stat_8");
}

TEST_F(GpsDataLog, AnExistingLogIsAppendedToAndNoSecondLogOpens) {
    const std::string path = dir + "/nmea.txt";
    std::ofstream(path, std::ios::binary) << "earlier\r\n";
    Open(GpsDataLogger::kNmeaFile, CLogType::kNmeaPvt, "nmea.txt", false);
    EXPECT_FALSE(view.logger.OpenNewLog(CLogType::kRawData));
    EXPECT_FALSE(view.logger.OpenExistingLog(CLogType::kNmeaPvt));
    view.logger.CloseGpsDataLog();
    EXPECT_EQ(testsupport::ReadWholeFile(path), "earlier\r\n"
                               "$PQVRM Opened Doliva Version 2.7.29 Log at Sun Mar 10 12:00:00 2024 UTC\r\n"
                               "$PQVRM Closed Doliva Version 2.7.29 Log at Sun Mar 10 12:00:00 2024 UTC\r\n");
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(GpsDataLog, MinuteReopenKeepsAppendingWithoutANewHeader) {
    const std::string path = Open(GpsDataLogger::kRawFile, CLogType::kRawData, "raw.txt");
    view.logger.LogSecond() = TRUE;
    view.logger.WriteTextLogLine(GpsDataLogger::kRawFile, u"before");
    view.logger.ReopenLogFiles();
    EXPECT_TRUE(view.logger.IsLogOpenFlag());
    view.logger.WriteTextLogLine(GpsDataLogger::kRawFile, u"after");
    // What was written before the reopen is on disk already.
    EXPECT_EQ(testsupport::ReadWholeFile(path),
              "; Opened Doliva Version 2.7.29 Raw Data Log at Sun Mar 10 12:00:00 2024 UTC\r\n"
              "before\r\nafter\r\n");
    // Without an open log the reopen does nothing.
    view.logger.CloseGpsDataLog();
    view.logger.ReopenLogFiles();
    EXPECT_FALSE(view.logger.IsAnyLogOpen());
}

TEST(BinaryRecord, MessageChecksumAndLineEnd) {
    const CString record = GpsDataLogger::BinaryRecord(Bytes(std::string("@@Ha\x01\x02\x00\xFF", 8)));
    EXPECT_EQ(record,
              Bytes(std::string("@@Ha\x01\x02\x00\xFF", 8) + char('H' ^ 'a' ^ 0x01 ^ 0x02 ^ 0xFF) + "\r\n"));
}

TEST_F(GpsDataLog, BinaryAndRinexLogs) {
    view.interfaceMode = 2;
    view.channels = 12;
    const std::string plain = Open(GpsDataLogger::kBinaryFile, CLogType::kBinaryData, "plain.bin");
    view.logger.LogSecond() = FALSE;
    view.logger.WriteBinaryLogMessage(u"@@Ea1");
    view.logger.LogSecond() = TRUE;
    view.logger.WriteBinaryLogMessage(u"@@Ea2");
    view.logger.WriteBinaryLogMessage(u"");
    view.logger.CloseGpsDataLog();
    EXPECT_EQ(testsupport::ReadWholeFile(plain), "@@Ea2" + std::string(1, 'E' ^ 'a' ^ '2') + "\r\n");
    EXPECT_TRUE(view.sent.empty());

    // Rinex: position and range wait for the next "@@Bg"/"@@Eg"; other messages are dropped.
    const std::string rinex = Open(GpsDataLogger::kBinaryFile, CLogType::kRinexData, "rinex.bin");
    EXPECT_EQ(view.logType.m_logKind, CLogType::kRinexData);
    std::vector<std::string> on;
    for (const CString& c : view.sent) {
        on.push_back(apptest::Narrow(c));
    }
    EXPECT_EQ(on, (std::vector<std::string>{std::string("@@Eg\x01"), std::string("@@Bi\x01")}));
    view.logger.LogSecond() = TRUE;
    view.logger.WriteBinaryLogMessage(u"@@Bk1");
    view.logger.WriteBinaryLogMessage(u"@@Ba1");
    view.logger.WriteBinaryLogMessage(u"@@Ba2");
    view.logger.WriteBinaryLogMessage(u"@@Xx9");
    EXPECT_EQ(testsupport::ReadWholeFile(rinex), "");
    view.logger.WriteBinaryLogMessage(u"@@Bg1");
    view.logger.WriteBinaryLogMessage(u"@@Ha1");
    view.logger.WriteBinaryLogMessage(u"@@Eg2");
    view.sent.clear();
    view.logger.CloseGpsDataLog();
    auto rec = [](const std::string& m) {
        char sum = 0;
        for (size_t i = 2; i < m.size(); ++i) {
            sum = static_cast<char>(sum ^ m[i]);
        }
        return m + sum + "\r\n";
    };
    EXPECT_EQ(testsupport::ReadWholeFile(rinex), rec("@@Ba2") + rec("@@Bk1") + rec("@@Bg1") + rec("@@Ha1") + rec("@@Eg2"));
    ASSERT_EQ(view.sent.size(), 2u);
    EXPECT_EQ(apptest::Narrow(view.sent[0]), std::string("@@Eg\x00", 5));
}

TEST_F(GpsDataLog, PositionRecordWritesUnknownValuesAsLoneCommas) {
    EXPECT_EQ(GpsDataLogger::FormatPositionRecord(Utc(2024, 3, 10, 12, 0, 30), 29.0f,
                                                  u"3230.0000,N,11715.0000,W", -1.0, 12.5, 7, 3),
              u"$PQVRA,20240310,120029.00,3230.0000,N,11715.0000,W,,N,012.5,07,3");
    EXPECT_EQ(GpsDataLogger::FormatPositionRecord(Utc(2024, 3, 11), 59.5f, u"0000.0000,N,00000.0000,E", 3.24,
                                                  -1.0, -1, -1),
              u"$PQVRA,20240310,235959.50,0000.0000,N,00000.0000,E,003.2,N,,,");
}

TEST_F(GpsDataLog, NewAndOpenCommandsAskForTheFileAndRememberItsFolder) {
    AppWriteProfileString(u"PexView", u"GPS Log File Directory", CString(Utf8ToUtf16(dir)));
    view.logType.m_logKind = CLogType::kPvtData;
    view.chosenPath = CString(Utf8ToUtf16(dir + "/sub/DolivaLog.csv"));
    std::filesystem::create_directories(dir + "/sub");
    view.logger.OnNewGpsLog();
    ASSERT_EQ(view.fileRequests.size(), 1u);
    const LogFileDialogRequest& r = view.fileRequests[0];
    EXPECT_EQ(view.captions, std::vector<std::string>{"New GPS Log Type"});
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.title, u"New PVT Data Log File");
    EXPECT_EQ(r.defaultExtension, u"csv");
    EXPECT_EQ(r.filter, u"Text Log Files (*.csv)|*.csv|All Files (*.*)|*.*||");
    EXPECT_EQ(r.fileName, u"DolivaLog");
    EXPECT_EQ(r.flags, 0x80806u);
    EXPECT_EQ(apptest::Narrow(r.initialDirectory), dir);
    EXPECT_TRUE(view.logger.IsFileOpen(GpsDataLogger::kPvtFile));
    EXPECT_EQ(apptest::Narrow(AppGetProfileString(u"PexView", u"GPS Log File Directory")), dir + "/sub");
    // While a log is open the commands ask nothing and leave its path alone.
    view.chosenPath = u"/elsewhere/other.csv";
    view.logger.OnNewGpsLog();
    view.logger.OnOpenGpsLog();
    EXPECT_EQ(view.fileRequests.size(), 1u);
    EXPECT_EQ(apptest::Narrow(view.logger.GetPath(GpsDataLogger::kPvtFile)), dir + "/sub/DolivaLog.csv");
    view.logger.CloseGpsDataLog();
    view.chosenPath = CString(Utf8ToUtf16(dir + "/sub/DolivaLog.csv"));

    struct Case {
        int kind;
        const char* title;
        const char* extension;
        DWORD flags;
    } open[] = {{CLogType::kRawData, "Open Raw Data Log File", "txt", 0x8A804},
                {CLogType::kRinexData, "Open Binary Log File", "bin", 0x8A804},
                {CLogType::kPvtData, "Open PVT Data Log File", "txt", 0x82804},
                {CLogType::kNmeaPvt, "Open NMEA Common Format Log File", "txt", 0x82804}};
    for (const Case& c : open) {
        view.fileRequests.clear();
        view.logType.m_logKind = c.kind;
        view.logger.OnOpenGpsLog();
        ASSERT_EQ(view.fileRequests.size(), 1u);
        EXPECT_FALSE(view.fileRequests[0].save);
        EXPECT_EQ(apptest::Narrow(view.fileRequests[0].title), c.title);
        EXPECT_EQ(apptest::Narrow(view.fileRequests[0].defaultExtension), c.extension);
        EXPECT_EQ(view.fileRequests[0].flags, c.flags);
        EXPECT_TRUE(view.logger.IsAnyLogOpen()) << c.title;
        view.logger.CloseGpsDataLog();
    }
    EXPECT_EQ(view.captions.back(), "Open GPS Log Type");

    // Cancelled dialogs open nothing.
    view.fileRequests.clear();
    view.logTypeAnswer = FALSE;
    view.logger.OnNewGpsLog();
    EXPECT_TRUE(view.fileRequests.empty());
    view.logTypeAnswer = TRUE;
    view.fileAnswer = FALSE;
    view.logger.OnNewGpsLog();
    EXPECT_FALSE(view.logger.IsAnyLogOpen());
    EXPECT_TRUE(view.boxes.empty());
}

TEST_F(GpsDataLog, FailuresAreReportedOnceAndStopLogging) {
    std::ofstream(dir + "/plain", std::ios::binary) << "x";
    struct Case {
        const char* what;
        std::string path;
        const char* start;
    } cases[] = {
        {"full disk", "/dev/full", "Error while writing GPS log file\n\"/dev/full\"\nSysErr: "},
        {"below a regular file", dir + "/plain/log.txt", "Error while opening GPS log file\n\""},
    };
    for (const Case& c : cases) {
        apptest::FakeTimekeepingView v;
        v.gpsTime.SetTime(Utc(2024, 3, 10, 12));
        v.logger.SetPath(GpsDataLogger::kRawFile, CString(Utf8ToUtf16(c.path)));
        EXPECT_FALSE(v.logger.OpenNewLog(CLogType::kRawData)) << c.what;
        // Everything after the failure finds no log.
        v.logger.LogSecond() = TRUE;
        v.AddRawDataLine(u"later");
        v.logger.ReopenLogFiles();
        EXPECT_FALSE(v.logger.CloseGpsDataLog()) << c.what;
        EXPECT_FALSE(v.logger.IsAnyLogOpen()) << c.what;
        EXPECT_FALSE(v.logger.IsLogOpenFlag()) << c.what;
        ASSERT_EQ(v.boxes.size(), 1u) << c.what;
        EXPECT_EQ(v.boxes[0].rfind(c.start, 0), 0u) << v.boxes[0];
        EXPECT_NE(v.boxes[0].find("GPS logging stopped."), std::string::npos);
        EXPECT_EQ(v.boxes[0].find("Unknown error"), std::string::npos) << v.boxes[0];
        EXPECT_EQ(std::count(v.rawLines.begin(), v.rawLines.end(), "ERROR: GPS log stopped"), 1) << c.what;
    }
    EXPECT_EQ(apptest::FakeTimekeepingView().boxes.size(), 0u);
}

TEST_F(GpsDataLog, AFullDiskDuringBinaryLoggingIsReportedOnce) {
    view.logger.SetPath(GpsDataLogger::kBinaryFile, u"/dev/full");
    ASSERT_TRUE(view.logger.OpenNewLog(CLogType::kBinaryData)) << "a binary log has no header to fail";
    view.logger.LogSecond() = TRUE;
    view.logger.WriteBinaryLogMessage(u"@@Ha1");
    view.logger.WriteBinaryLogMessage(u"@@Ha2");
    EXPECT_FALSE(view.logger.IsAnyLogOpen());
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_NE(view.boxes[0].find("SysErr: There is not enough space on the disk."), std::string::npos)
        << view.boxes[0];
}

TEST_F(GpsDataLog, AFileRemovedBeforeTheMinuteIsNotMadeAgain) {
    const std::string path = Open(GpsDataLogger::kNmeaFile, CLogType::kNmeaPvt, "gone.txt");
    std::filesystem::remove(path);
    view.logger.ReopenLogFiles();
    EXPECT_FALSE(view.logger.IsAnyLogOpen());
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].rfind("Error while reopening GPS log file\n\"" + path + "\"\nSysErr: ", 0), 0u);
    EXPECT_EQ(view.rawLines, std::vector<std::string>{"ERROR: GPS log stopped"});
}
