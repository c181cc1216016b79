// The three framers on constructed streams: what each delivers, what it refuses, and that nothing depends
// on how the bytes were split into reads.
#include "receiver/NmeaCheck.h"
#include "receiver/OncoreMessageTable.h"
#include "tests/receiver/FramerTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace framer_test;
using Lines = std::vector<std::u16string>;

const Bytes kGga = Sentence("$GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000");
const std::u16string kGgaBody = Units(kGga.substr(0, kGga.size() - 3));

TEST(NmeaCheck, Table) {
    struct Case {
        std::u16string line;
        bool pass;
        std::u16string after;
    } cases[] = {
        {Units(kGga), true, kGgaBody},
        {Units(kGga.substr(0, kGga.size() - 2) + "7d"), false, kGgaBody}, // lower-case hex fails
        {Units(kGga.substr(0, kGga.size() - 2) + "00"), false, kGgaBody},
        {u"$PMOTG,x", true, u"$PMOTG,x"},
        {u"$GPZDA,1", true, u"$GPZDA,1"},
        {u"$XX,1", false, u"$XX,1"},
        {u"$GP1", false, u"$GP1"},         // no comma
        {u"$GP,*1,2", false, u"$GP,*1,2"}, // a "*" not in the checksum place
        {u"$*", false, u"$*"},
        {u"$*00", true, u"$"},
    };
    for (Case& c : cases) {
        std::u16string line = c.line;
        EXPECT_EQ(CheckNmeaLine(line), c.pass) << std::string(c.line.begin(), c.line.end());
        EXPECT_EQ(line, c.after);
    }
}

TEST(NmeaLineFramer, LinesChecksumsAndFiltering) {
    const Bytes stream = kGga + "\r\n" +                             // good: "*hh" removed
                         kGga.substr(0, kGga.size() - 1) + "0\r\n" + // bad: delivered empty
                         "not nmea\r\n" +                            // passes as it is
                         "$XX,1\r\n" +                               // unknown talker without checksum
                         "a\x01"
                         "b\n\x85\xE9\r" + // control bytes and LF dropped, 0xE9 kept
                         "\r" +            // empty line still delivered
                         "$GPRMC,partial"; // waits for its CR
    const Lines lines = FeedEveryWay<NmeaLineFramer>(stream);
    EXPECT_EQ(lines, (Lines{kGgaBody, u"", u"not nmea", u"", u"ab\u00E9", u""}));
}

TEST(NmeaLineFramer, EndlessLineIsDiscardedAt800Units) {
    EXPECT_EQ(FeedWhole<NmeaLineFramer>(Bytes(799, 'a') + "\r"), (Lines{std::u16string(799, u'a')}));
    EXPECT_EQ(FeedWhole<NmeaLineFramer>(Bytes(800, 'a') + "xy\r"), (Lines{u"xy"}));
    EXPECT_EQ(FeedWhole<NmeaLineFramer>(Bytes(100000, 'a') + "\r" + kGga + "\r"), (Lines{u"", kGgaBody}));
}

TEST(OncoreFramer, LengthTable) {
    EXPECT_EQ(OncoreMessageLength(u'C', u'j'), 294);
    EXPECT_EQ(OncoreMessageLength(u'T', u'r'), 597);
    EXPECT_EQ(OncoreMessageLength(u'A', u'A'), 8);
    EXPECT_EQ(OncoreMessageLength(u'W', u's'), 18);
    EXPECT_EQ(OncoreMessageLength(u'Z', u'z'), 0);
    EXPECT_EQ(OncoreMessageLength(0x1C3, u'a'), 0);
}

TEST(OncoreFramer, PayloadLineFeedsAndEqWithoutChecksum) {
    const Bytes bo = OncoreFrame("Bo", "\x0A"); // LF inside the payload
    Bytes eq = OncoreFrame("Eq", Bytes(89, '\x0A'));
    eq[eq.size() - 3] = '\x77'; // "@@Eq" carries no checksum
    const Lines lines = FeedEveryWay<MotorolaFramer>(bo + eq);
    EXPECT_EQ(lines, (Lines{OncoreMessage(bo), OncoreMessage(eq)}));
}

TEST(OncoreFramer, IdentificationMessageOnlyAtItsLength) {
    const Bytes cj = OncoreFrame("Cj", Bytes(287, 'x'));
    ASSERT_EQ(cj.size(), 294u);
    EXPECT_EQ(FeedWhole<MotorolaFramer>(cj), (Lines{OncoreMessage(cj)}));
    // 293 bytes and an LF: the LF is taken as payload and the message waits for more.
    EXPECT_EQ(FeedWhole<MotorolaFramer>(OncoreFrame("Cj", Bytes(286, 'x'))), Lines{});
    EXPECT_EQ(FeedWhole<MotorolaFramer>(OncoreFrame("Cj", Bytes(288, 'x'))), Lines{});
}

// Whatever goes wrong with one message, the next whole message still comes out.
TEST(OncoreFramer, ResynchronisesOnTheNextMessage) {
    const Bytes bo = OncoreFrame("Bo", "\x12");
    const Bytes ea = OncoreFrame("Ea", Bytes(69, '\x0A'));
    Bytes badSum = bo;
    badSum[5] ^= 0x40;
    struct Case {
        const char* what;
        Bytes before;
    } cases[] = {
        {"a line without @@", "garbage line\r\n"},
        {"a bad checksum", badSum},
        {"a truncated message", OncoreFrame("Ea", Bytes(30, '\x01'))},
        {"an unknown id", OncoreFrame("Zz", "abcdef")},
        {"a lone @@", "@@\r\n"},
        {"a false start of the longest message", "@@Tr\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FeedEveryWay<MotorolaFramer>(c.before + bo + ea + bo),
                  (Lines{OncoreMessage(bo), OncoreMessage(ea), OncoreMessage(bo)}));
    }
}

TEST(OncoreFramer, EndlessLineStaysBounded) {
    const Bytes bo = OncoreFrame("Bo", "\x12");
    const Lines lines = FeedWhole<MotorolaFramer>("@@Ha" + Bytes(100000, 'q') + bo);
    EXPECT_EQ(lines, (Lines{OncoreMessage(bo)}));
}

TEST(OncoreFramer, FirmwareUploadDeliversRawLines) {
    MotorolaFramer framer;
    std::vector<CString> messages;
    const Bytes stream = "\x06S1 ok\n\x15";
    framer.Feed(reinterpret_cast<const BYTE*>(stream.data()), stream.size(), messages, true);
    EXPECT_EQ(Texts(messages), (Lines{u"\x06", u"S1 ok\n", u"\x15"}));
}

TEST(UbxFramer, FramesAndTextLines) {
    const Bytes poll = UbxFrame(0x0A, 0x04, "");
    ASSERT_EQ(poll, Bytes("\xB5\x62\x0A\x04\x00\x00\x0E\x34", 8));
    const Bytes timeutc = UbxFrame(0x01, 0x21, Bytes("\x0D\x0A$\xB5\x62", 5) + Bytes(15, '\0'));
    Bytes badB = poll;
    badB.back() ^= 1;
    const Bytes stream = poll + "junk" + timeutc + badB + kGga + "\r\n" + poll + "$XX,1\r\n" + "$GPZDA,1\n" +
                         poll + "$GPTXT,2\r" + "$GPTXT,3\r\n" + poll + Bytes("\xB5\xB5", 2) + poll;
    const Lines lines = FeedEveryWay<UbxFramer>(stream);
    EXPECT_EQ(lines, (Lines{Units(poll), Units(timeutc), kGgaBody, Units(poll), u"", u"$GPZDA,1", Units(poll),
                            u"$GPTXT,2", u"$GPTXT,3", Units(poll), Units(poll)}));
}

TEST(UbxFramer, ImpossibleLengthAndEndlessTextStayBounded) {
    const Bytes poll = UbxFrame(0x0A, 0x04, "");
    struct Case {
        const char* what;
        Bytes before;
    } cases[] = {
        {"a length beyond the largest frame", Bytes("\xB5\x62\x01\x02\xFF\xFF", 6)},
        {"an endless text line", "$GP" + Bytes(5000, 'a')},
        {"a frame start inside an impossible head", Bytes("\xB5\x62\xB5\x62\xFF\xFF", 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UbxFramer framer;
        std::vector<CString> messages;
        const Bytes stream = c.before + poll;
        framer.Feed(reinterpret_cast<const BYTE*>(stream.data()), stream.size(), messages);
        EXPECT_EQ(Texts(messages), (Lines{Units(poll)}));
        EXPECT_EQ(framer.State(), 0);
    }
    const Bytes largest = UbxFrame(0x0A, 0x04, Bytes(UbxFramer::kMaxPayload, 'p'));
    EXPECT_EQ(FeedWhole<UbxFramer>(largest), (Lines{Units(largest)}));
}

} // namespace
