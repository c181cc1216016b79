// The UBX decoder's texts and effects, message by message.
#include "receiver/UbxDecoder.h"
#include "tests/receiver/DecoderTestSupport.h"
#include "tests/receiver/FramerTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace decoder_test;
using framer_test::UbxFrame;
using framer_test::Units;

struct UbxFixture : ::testing::Test {
    RecordingView view;
    UbxDecoder decoder{view};

    std::u16string Decode(unsigned cls, unsigned id, const std::string& payload) {
        return decoder
            .DecodeUbxMessage(CString(
                Units(UbxFrame(static_cast<unsigned char>(cls), static_cast<unsigned char>(id), payload))))
            .str();
    }
};

TEST_F(UbxFixture, FramesThatAreNotUbxAreRefused) {
    EXPECT_EQ(decoder.DecodeUbxMessage(CString(Units(std::string("\xB5\x62\x05\x01\x00\x00\x06", 7)))).str(),
              u"");
    EXPECT_EQ(decoder.DecodeUbxMessage(u"$GPGGA,1,2,3").str(), u"");
    EXPECT_TRUE(view.binaryLog.empty());
    EXPECT_TRUE(view.pvtLines.empty());
}

TEST_F(UbxFixture, NamesAndUnhandledMessages) {
    view.logSecond = TRUE;
    struct Case {
        unsigned cls, id;
        std::string payload;
        std::u16string text;
    } cases[] = {
        {0x05, 0x01, std::string("\x06\x01", 2), u"UBX-ACK ACK\n"},
        {0x05, 0x00, std::string("\x06\x01", 2), u"UBX-ACK NAK\n"},
        {0x05, 0x07, "", u"UBX-ACK Unknown ID ???\n"},
        {0x01, 0x02, std::string(27, '\0'), u"UBX-NAV  ...\n"}, // POSLLH one byte short
        {0x01, 0x35, std::string(20, '\0'), u"UBX-NAV  ...\n"},
        {0x02, 0x10, "", u"UBX-RXM  ...\n"},
        {0x04, 0x02, "text", u"UBX-INF  ...\n"},
        {0x06, 0x01, std::string(3, '\0'), u"UBX-CFG  ...\n"},
        {0x0B, 0x02, std::string(71, '\0'), u"UBX-AID  ...\n"}, // AID-HUI without its flags
        {0x0B, 0x31, "", u"UBX-AID  ...\n"},
        {0x0A, 0x04, std::string(39, '\0'), u"UBX-MON  ...\n"},
        {0x0D, 0x11, std::string(7, '\0'), u"UBX-TIM  ...\n"},
        {0x27, 0x03, "", u"UBX-27 ?~Unknown Message Class-???  ...\n"},
        {0x09, 0x14, "", u"UBX-UPD-SOS\n"},
        {0x09, 0x0C, "", u"UBX-UPD-FLWRI\n"},
        {0x09, 0x03, "", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Decode(c.cls, c.id, c.payload), c.text) << Narrow(c.text);
    }
    // Every frame goes to the binary log and writes "..." to the PVT log of a logging second.
    EXPECT_EQ(view.binaryLog.size(), std::size(cases));
    EXPECT_EQ(view.WrittenPvtLines(), std::vector<std::u16string>(std::size(cases), u"..."));
    EXPECT_TRUE(view.positions.empty());
}

TEST_F(UbxFixture, TruncatedFrameCountsAsWrongLength) {
    // The length field promises 28 bytes, the frame holds 10.
    const std::string frame = std::string("\xB5\x62\x01\x02\x1C\x00", 6) + std::string(10, '\x01');
    EXPECT_EQ(decoder.DecodeUbxMessage(CString(Units(frame))).str(), u"UBX-NAV  ...\n");
    EXPECT_TRUE(view.positions.empty());
}

TEST_F(UbxFixture, PosLlhPositionAndDetail) {
    PayloadBuilder p(28);
    p.Put(0, 416070000, 4).Put(4, static_cast<unsigned>(-688066651), 4).Put(8, 447654405, 4);
    p.Put(12, 13684, 4).Put(16, 43156, 4).Put(20, 8900, 4).Put(24, 14580, 4);
    // Without the raw window or a logging second only the name is shown.
    EXPECT_EQ(Decode(0x01, 0x02, p.Bytes()), u"UBX-NAV-POSLLH \n");
    ASSERT_EQ(view.positions.size(), 1u);
    EXPECT_NEAR(view.positions[0].latitude, 44.7654405, 1e-12);
    EXPECT_NEAR(view.positions[0].longitude, -68.8066651, 1e-12);
    EXPECT_NEAR(view.positions[0].heightWgs84, 13.684, 1e-12);
    EXPECT_NEAR(view.positions[0].altitudeMsl, 43.156, 1e-12);

    view.rawWindowShown = TRUE;
    const std::u16string detail =
        u"iTOW = 416070000, lon = -68.80666510, lat = 44.76544050, height = 13.684, "
        u"MSL = 43.156, hAcc = 8900, vAcc = 14580";
    EXPECT_EQ(Decode(0x01, 0x02, p.Bytes()), u"UBX-NAV-POSLLH " + detail + u"\n");
    EXPECT_EQ(view.pvtLines.back(), detail);
}

std::string TimeUtc(unsigned valid, unsigned year = 2021, unsigned month = 2, unsigned day = 23) {
    PayloadBuilder p(20);
    p.Put(0, 410688000, 4).Put(4, 25, 4).Put(8, static_cast<unsigned>(-1234), 4).Put(12, year, 2);
    p.Put(14, month, 1).Put(15, day, 1).Put(16, 18, 1).Put(17, 4, 1).Put(18, 30, 1).Put(19, valid, 1);
    return p.Bytes();
}

TEST_F(UbxFixture, TimeUtcNeedsAllThreeValidBits) {
    for (unsigned valid : {0x00u, 0x03u, 0x05u, 0x06u}) {
        Decode(0x01, 0x21, TimeUtc(valid));
    }
    EXPECT_LT(view.rxTime.GetTime(), 0);
    EXPECT_TRUE(view.clockSyncs.empty());

    view.gpsRxOnLocalTime = TRUE; // never applied to UBX times
    view.timeZoneBiasMin = 60;
    EXPECT_EQ(Decode(0x01, 0x21, TimeUtc(0x07)), u"UBX-NAV-TIMEUTC \n");
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 2, 23, 18, 4, 31));
    EXPECT_EQ(view.clockSyncs, (std::vector<__time64_t>{Utc(2021, 2, 23, 18, 4, 30)}));
    EXPECT_TRUE(view.decoderTicks);
    EXPECT_EQ(view.clockDisplays, 1);

    // After a tick the next message only prepares the time; a bad date keeps it but still advances it.
    view.tickHandled = TRUE;
    Decode(0x01, 0x21, TimeUtc(0xF7, 2021, 13, 23));
    EXPECT_EQ(view.rxTime.GetTime(), Utc(2021, 2, 23, 18, 4, 32));
    EXPECT_EQ(view.clockSyncs.size(), 1u);
    EXPECT_FALSE(view.tickHandled);

    view.rawWindowShown = TRUE;
    EXPECT_EQ(Decode(0x01, 0x21, TimeUtc(0x07)),
              u"UBX-NAV-TIMEUTC iTOW = 410688000, tAcc = 25, nano = -1234, date (YMD) 2021, 2, 23, "
              u"Time = 18:04:30, valid = 07\n");
}

std::string SvInfo(const std::vector<std::array<int, 8>>& channels, int numCh = -1) {
    PayloadBuilder p(8);
    p.Put(0, 1000, 4).Put(4, numCh < 0 ? channels.size() : static_cast<unsigned>(numCh), 1).Put(5, 4, 1);
    std::size_t at = 8;
    for (const auto& c : channels) { // chn, svid, flags, quality, cno, elev, azim, prRes
        p.Put(at, c[0], 1)
            .Put(at + 1, c[1], 1)
            .Put(at + 2, c[2], 1)
            .Put(at + 3, c[3], 1)
            .Put(at + 4, c[4], 1);
        p.Put(at + 5, static_cast<unsigned>(c[5]), 1)
            .Put(at + 6, c[6], 2)
            .Put(at + 8, static_cast<unsigned>(c[7]), 4);
        at += 12;
    }
    return p.Bytes();
}

TEST_F(UbxFixture, SvInfoFillsTheChannelTable) {
    view.table.fill(SatelliteChannelRow{7, 7, 7, 7, 7, 7, 7}); // reset by every SVINFO
    Decode(0x01, 0x30,
           SvInfo({
               {0, 5, 0x01, 7, 40, 45, 200, 0},  // used: signal 23
               {1, 12, 0x01, 4, 10, 30, 100, 0}, // cno 10: signal 0
               {2, 20, 0x11, 7, 70, 95, 400, 0}, // signal held at 39, elevation 90, azimuth 359
               {255, 7, 0x01, 4, 30, 20, 10, 0}, // no channel: template row, still used and visible
               {4, 9, 0x00, 3, 30, -3, 10, 0},   // below the horizon
               {5, 11, 0x00, 1, 0, 10, 10, 0},   // no signal: template row, visible
           }));
    const SatelliteChannelTable& t = view.table;
    EXPECT_EQ(t[0], (SatelliteChannelRow{5, 45, 200, 23, 1, 7 | 0x01 << 8, 0}));
    EXPECT_EQ(t[1], (SatelliteChannelRow{12, 30, 100, 0, 1, 4 | 0x01 << 8, 0}));
    EXPECT_EQ(t[2], (SatelliteChannelRow{20, 90, 359, 39, 1, 7 | 0x11 << 8, 0}));
    for (int i = 3; i < 16; ++i) {
        EXPECT_EQ(t[i], SatelliteChannelTables::m_emptySatRow) << i;
    }
    EXPECT_EQ(view.Cell(18, 4), u"GPS");
    EXPECT_EQ(view.Cell(18, 5), u"SATs");
    EXPECT_EQ(view.Cell(18, 6), u"5 Visible");
    EXPECT_EQ(view.Cell(18, 8), u"4 Tracked");
    EXPECT_EQ(view.trackedCounts, (std::vector<int>{4}));
    EXPECT_EQ(view.gridRefreshes, 1);
}

TEST_F(UbxFixture, SvInfoReadsOnlyTheChannelsItHolds) {
    // numCh promises 20 channels; two are there.
    Decode(0x01, 0x30, SvInfo({{0, 5, 1, 7, 40, 45, 200, 0}, {1, 6, 1, 7, 40, 45, 200, 0}}, 20));
    EXPECT_EQ(view.table[1].prn, 6);
    EXPECT_EQ(view.table[2], SatelliteChannelTables::m_emptySatRow);
    EXPECT_EQ(view.Cell(18, 6), u"2 Visible");
    // At most 16 channels reach the table.
    std::vector<std::array<int, 8>> many;
    for (int k = 0; k < 18; ++k) {
        many.push_back({k, k + 1, 1, 7, 40, 10, 10, 0});
    }
    Decode(0x01, 0x30, SvInfo(many));
    EXPECT_EQ(view.table[15].prn, 16);
    EXPECT_EQ(view.Cell(18, 8), u"16 Tracked");
}

TEST_F(UbxFixture, SvInfoTexts) {
    view.rawWindowShown = TRUE;
    std::vector<std::array<int, 8>> channels;
    for (int k = 0; k < 9; ++k) {
        channels.push_back({k, k + 1, 1, 7, 40, -1, 10, -25});
    }
    const std::u16string text = Decode(0x01, 0x30, SvInfo(channels));
    const std::u16string first =
        u"chn=0, svid=1, flags=01, quality=07, cno=40, elev=-1, azim=10, prRes=-25, ";
    const std::u16string ninth =
        u"chn=8, svid=9, flags=01, quality=07, cno=40, elev=-1, azim=10, prRes=-25, , ";
    EXPECT_EQ(text.substr(0, 15 + first.size()), u"UBX-NAV-SVINFO " + first);
    EXPECT_NE(text.find(u"\n" + std::u16string(30, u' ') + ninth + u"\n"), std::u16string::npos);
    const std::u16string head = u"iTOW = 1000, numCh = 9, globalFlags = 04, res = 0, ";
    EXPECT_EQ(view.pvtLines.back().substr(0, head.size() + first.size()), head + first);
}

TEST_F(UbxFixture, StatusAndDop) {
    PayloadBuilder status(16);
    status.Put(4, 5, 1);
    Decode(0x01, 0x03, status.Bytes());
    EXPECT_EQ(view.Cell(19, 1), u"Time only fix (0-D Nav)");
    EXPECT_EQ(view.receiverMode, (std::vector<int>{1}));
    EXPECT_EQ(view.fixTypes, (std::vector<int>{1}));

    PayloadBuilder dop(18);
    for (int i = 0; i < 7; ++i) {
        dop.Put(4 + 2 * i, 100 + 11 * i, 2); // g 1.00, p 1.11, t 1.22, v 1.33, h 1.44, n, e
    }
    Decode(0x01, 0x04, dop.Bytes());
    EXPECT_EQ(view.Cell(20, 1), u"DOPs: T = 1.2");
    ASSERT_EQ(view.dops.size(), 1u);
    const double expected[] = {1.00, 1.11, 1.44, 1.33, 1.22}; // g, p, h, v, t
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(view.dops[0][i], expected[i], 1e-12) << i;
    }

    status.Put(4, 3, 1);
    Decode(0x01, 0x03, status.Bytes());
    EXPECT_EQ(view.Cell(19, 1), u"3-D Fix");
    view.rawWindowShown = TRUE;
    EXPECT_EQ(Decode(0x01, 0x04, dop.Bytes()), u"UBX-NAV-DOP iTOW = 0, gDOP = 1.00, pDOP = 1.11, tDOP = "
                                               u"1.22, vDOP = 1.33, hDOP = 1.44, nDOP = 1.55, "
                                               u"eDOP = 1.66\n");
    EXPECT_EQ(view.Cell(20, 1), u"DOPs: T = 1.2, P = 1.1, H = 1.4, V = 1.3");

    status.Put(4, 9, 1).Put(5, 0xDD, 1);
    EXPECT_EQ(
        Decode(0x01, 0x03, status.Bytes()),
        u"UBX-NAV-STATUS iTOW = 0, gpsFix = 9, flags = 0xDD, diffStat = 0x00, res = 0, ttff = 0, msss = 0\n");
    EXPECT_EQ(view.Cell(19, 1), u"");
    EXPECT_EQ(view.receiverMode.back(), -1);
    EXPECT_EQ(view.fixTypes.size(), 2u); // not called for an unknown fix
}

TEST_F(UbxFixture, MonVerWithExtensions) {
    PayloadBuilder p(100);
    p.PutText(0, "ROM CORE 3.01 (107888)").PutText(30, "00080000").PutText(40, "FWVER=TIM 1.10");
    p.PutText(70, std::string(30, 'X')); // a full field without a terminating zero
    const std::u16string ext2(30, u'X');
    EXPECT_EQ(
        Decode(0x0A, 0x04, p.Bytes()),
        u"UBX-MON-VER  Software Version ROM CORE 3.01 (107888), Hardware Version 00080000, FWVER=TIM 1.10, " +
            ext2 + u"  ...\n");
    EXPECT_EQ(view.rxIdSet, (std::vector<std::u16string>{u"u-blox Receiver/Software Version\n"
                                                         u"Software Version: ROM CORE 3.01 (107888)\n"
                                                         u"Hardware Version: 00080000\n"
                                                         u"ROM and extensions:\n"
                                                         u"FWVER=TIM 1.10\n" +
                                                         ext2 + u"\n"}));
    // A partial extension is not one.
    PayloadBuilder q(69);
    q.PutText(0, "7.03 (45969)").PutText(30, "00040007").PutText(40, "partial");
    EXPECT_EQ(Decode(0x0A, 0x04, q.Bytes()),
              u"UBX-MON-VER  Software Version 7.03 (45969), Hardware Version 00040007  ...\n");
}

TEST_F(UbxFixture, TextsBelongToTheirCall) {
    // The ID window may pump messages and so decode another frame while this one is being decoded.
    std::u16string inner;
    view.onRxIdSetText = [&] {
        view.onRxIdSetText = nullptr;
        inner = Decode(0x05, 0x01, std::string("\x0A\x04", 2));
    };
    PayloadBuilder p(40);
    p.PutText(0, "SW").PutText(30, "HW");
    EXPECT_EQ(Decode(0x0A, 0x04, p.Bytes()), u"UBX-MON-VER  Software Version SW, Hardware Version HW  ...\n");
    EXPECT_EQ(inner, u"UBX-ACK ACK\n");
}

TEST_F(UbxFixture, MonHwAntennaAndLayouts) {
    struct Case {
        unsigned aStatus;
        int pane;
    } cases[] = {{2, 0}, {3, 1}, {4, 2}, {0, -1}, {1, -1}};
    for (const Case& c : cases) {
        PayloadBuilder p(60);
        p.Put(20, c.aStatus, 1);
        Decode(0x0A, 0x09, p.Bytes());
        EXPECT_EQ(view.antenna.back(), c.pane) << c.aStatus;
    }
    view.rawWindowShown = TRUE;
    PayloadBuilder p60(60), p68(68);
    p60.Put(0, 0x1234, 4).Put(45, 7, 1).Put(48, 0xAB, 4).Put(52, 0xCD, 4).Put(56, 0xEF, 4).Put(20, 2, 1);
    p68.Put(0, 0x1234, 4).Put(53, 7, 1).Put(56, 0xAB, 4).Put(60, 0xCD, 4).Put(64, 0xEF, 4).Put(20, 2, 1);
    const std::u16string text = u"UBX-MON-HW pinSel = 1234, pinBank = 0000, pinDir = 0000, pinVal = 0000, "
                                u"noisePerMS = 0, agcCnt = 0, aStatus = 2, aPower = 0, flags = 0, res1 = 0, "
                                u"usedMask = 0, jamInd = 7, pinIrq = 00AB, pullH = 00CD, pullL = 00EF\n";
    EXPECT_EQ(Decode(0x0A, 0x09, p60.Bytes()), text);
    EXPECT_EQ(Decode(0x0A, 0x09, p68.Bytes()), text);
}

std::string AidHui(unsigned ls, unsigned wnf, unsigned dn, unsigned lsf, unsigned flags) {
    PayloadBuilder p(72);
    p.Put(26, ls, 2).Put(28, wnf, 2).Put(30, dn, 2).Put(32, lsf, 2).Put(68, flags, 4);
    return p.Bytes();
}

TEST_F(UbxFixture, AidHuiLeapSecondState) {
    // Week 1929 plus 6 days is 2016-12-31; week 1934 plus 1 day is 2017-01-30.
    view.gpsYear = 2016;
    view.gpsMonth = 11;
    struct Case {
        unsigned ls, wnf, dn, lsf, flags;
        int year, month;
        LONG offset;
        int pending, indicator;
    } cases[] = {
        {17, 1929, 6, 18, 0x00, 2016, 11, 0, -1, 3},  // invalid flags: (0, 0) in the month before the leap
        {17, 1929, 6, 18, 0x07, 2016, 11, 17, 1, 1},  // leap next month, one second to add
        {18, 1929, 6, 17, 0x07, 2016, 11, 18, 2, 2},  // one to take away
        {17, 1929, 6, 18, 0x07, 2016, 10, 17, 1, 0},  // two months ahead: no indicator yet
        {17, 1929, 6, 18, 0x07, 2017, 1, 18, -1, 0},  // passed
        {17, 1929, 6, 18, 0x07, 2016, 12, 18, -1, 0}, // in the leap month itself
        {18, 1934, 1, 18, 0x07, 2016, 12, 18, 5, 3},  // equal: pending kept; next month over the new year
    };
    for (const Case& c : cases) {
        view.gpsYear = c.year;
        view.gpsMonth = c.month;
        view.leapSecondPending = 5;
        view.gpsUtcOffsetSec = 99;
        Decode(0x0B, 0x02, AidHui(c.ls, c.wnf, c.dn, c.lsf, c.flags));
        EXPECT_EQ(view.gpsUtcOffsetSec, c.offset) << c.ls << " " << c.lsf << " " << c.year << "-" << c.month;
        EXPECT_EQ(view.leapSecondPending, c.pending)
            << c.ls << " " << c.lsf << " " << c.year << "-" << c.month;
        EXPECT_EQ(view.ntpLeapIndicator, c.indicator)
            << c.ls << " " << c.lsf << " " << c.year << "-" << c.month;
    }
    view.logSecond = TRUE;
    view.gpsYear = 2016;
    view.gpsMonth = 11;
    EXPECT_EQ(Decode(0x0B, 0x02, AidHui(17, 1929, 6, 18, 0x07)),
              u"UBX-AID-HUI  ... utcLS = 17, utcWNF = 1929, utcDN = 6, utcLSF = 18 ... valid = 0x07 -->> "
              u"LS Pending = 1, NTP Leap Indicator = 1\n");
}

TEST_F(UbxFixture, ConfigurationAndTimingAnswers) {
    view.rawWindowShown = TRUE;
    PayloadBuilder prt(20);
    prt.Put(0, 1, 1).Put(4, 0x8D0, 4).Put(8, 115200, 4).Put(12, 0x7, 2).Put(14, 0x1, 2);
    EXPECT_EQ(Decode(0x06, 0x00, prt.Bytes()),
              u"UBX-CFG-PRT portID = UART #1, res0 = 0, res1 = 0, mode = 000008D0, baudRate = 115200, "
              u"inProtoMask = 0007, outProtoMask = 0001, flags = 0000, pad = 0\n");
    prt.Put(0, 9, 1);
    EXPECT_NE(Decode(0x06, 0x00, prt.Bytes()).find(u"portID = unknown,"), std::u16string::npos);

    PayloadBuilder tp5(32);
    tp5.Put(0, 1, 1).Put(2, 0xFFFF, 2).Put(4, 50, 2).Put(6, static_cast<unsigned>(-3), 2);
    tp5.Put(8, 1, 4).Put(12, 10, 4).Put(16, 0xC0000000u, 4).Put(20, 0x80010000u, 4);
    tp5.Put(24, static_cast<unsigned>(-7), 4);
    const std::u16string head = u"UBX-CFG-TP5 TimePulse1, res0 = 0, res1 = -1, antCableDelay = 50 ns, "
                                u"rfGroupDelay = -3 ns, ";
    struct Case {
        unsigned flags;
        std::u16string rest;
    } forms[] = {
        {0x18 | 0x100, u"freqPeriod = 1 Hz, freqPeriodLock = 10 Hz, pulseLenRatio = 3221225472 us, "
                       u"pulseLenRatioLock = 2147549184 us, userDelay = -7 ns, ubx_flags = 0x18\n"},
        {0x08, u"freqPeriod = 1 Hz, freqPeriodLock = 10 Hz, pulseLenRatio = 0.750000 ratio, "
               u"pulseLenRatioLock = 0.500015 ratio, userDelay = -7 ns, ubx_flags = 0x8\n"},
        {0x10, u"freqPeriod = 1 us, freqPeriodLock = 10 us, pulseLenRatio = 3221225472 us, "
               u"pulseLenRatioLock = 2147549184 us, userDelay = -7 ns, ubx_flags = 0x10\n"},
        {0x07, u"freqPeriod = 1 us, freqPeriodLock = 10 us, pulseLenRatio = 0.750000 ratio, "
               u"pulseLenRatioLock = 0.500015 ratio, userDelay = -7 ns, ubx_flags = 0x7\n"},
    };
    for (const Case& c : forms) {
        tp5.Put(28, c.flags, 4);
        EXPECT_EQ(Decode(0x06, 0x31, tp5.Bytes()), head + c.rest) << c.flags;
    }

    PayloadBuilder timTp(16);
    timTp.Put(0, 416070000, 4)
        .Put(4, 123, 4)
        .Put(8, static_cast<unsigned>(-456), 4)
        .Put(12, 2146, 2)
        .Put(14, 3, 1);
    EXPECT_EQ(
        Decode(0x0D, 0x01, timTp.Bytes()),
        u"UBX-TIM-TP towMS = 416070000, towSubMS = 123, qErr = -456, week = 2146, flags = 3, res = 0\n");
    PayloadBuilder dosc(8);
    dosc.Put(0, 2, 1).Put(4, 32768, 4);
    EXPECT_EQ(Decode(0x0D, 0x11, dosc.Bytes()), u"UBX-TIM-DOSC ver = 2, D/A value = 32768\n");
    PayloadBuilder tmode(28);
    tmode.Put(0, 2, 4).Put(4, static_cast<unsigned>(-100), 4);
    EXPECT_EQ(Decode(0x06, 0x1D, tmode.Bytes()),
              u"UBX-CFG-TMODE timeMode = 2, fixedPosX = -100, fixedPosY = 0, fixedPosZ = 0, fixedPosVar = 0, "
              u"svinMinDur = 0, svinVarLimit = 0\n");
}

} // namespace
