// Command framing by prefix, the echo texts, the wire bytes and the rate-change codes.
#include "receiver/CommandFraming.h"
#include "receiver/ReceiverState.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CString Cmd(std::u16string text) {
    return CString(std::move(text));
}

// Literals that hold zero units.
template <std::size_t N>
std::u16string U(const char16_t (&text)[N]) {
    return std::u16string(text, N - 1);
}

std::string Hex(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char b : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", b);
        out += buffer;
    }
    if (!out.empty()) {
        out.pop_back();
    }
    return out;
}

TEST(CommandFraming, FramingByPrefix) {
    struct Case {
        std::u16string command;
        CommandKind kind;
        std::u16string framed;
    } cases[] = {
        {u"$PMOTG,GGA,0001", CommandKind::Nmea, u"$PMOTG,GGA,0001*01"},
        {u"$PMOTG,GGA,0001*00", CommandKind::Nmea, u"$PMOTG,GGA,0001*01"}, // the old checksum is replaced
        {u"$PMOTG", CommandKind::Nmea, u"$PMOTG"},                         // under 7 units: left alone
        {u">ABC", CommandKind::Bracket, u">ABC;*6F<"},
        {u">AB", CommandKind::Bracket, u">AB"},
        {U(u"\u00B5\u0062\u000A\u0004\u0000\u0000"), CommandKind::Ubx,
         U(u"\u00B5\u0062\u000A\u0004\u0000\u0000\u000E\u0034")},
        {u"\u00B5\u0062\u000A", CommandKind::Ubx, u"\u00B5\u0062\u000A"},
        {u"@@Cj", CommandKind::Oncore, u"@@Cj\u0029"},
        {u"@@Gk******", CommandKind::Oncore, u"@@Gk******\u002C"},
        {u"@@Ab*x", CommandKind::Oncore, u"@@Ab*x\u0023"}, // a trailing "*x" is left out of the sum
        {u"\u0055\u0055\u0001", CommandKind::Raw5555, u"\u0055\u0055\u0001"},
        {u"T0", CommandKind::Unframed, u"T0"},
        {u"BIN", CommandKind::Unframed, u"BIN"},
    };
    for (const Case& c : cases) {
        CString command = Cmd(c.command);
        EXPECT_EQ(FrameGpsCommand(command), c.kind) << std::string(c.command.begin(), c.command.end());
        EXPECT_EQ(command.str(), c.framed) << std::string(c.command.begin(), c.command.end());
    }
}

TEST(CommandFraming, ChecksumRefusalsLeaveTheCommand) {
    CString notNmea(u">PMOTG,GGA");
    EXPECT_FALSE(AddNmeaChecksum(notNmea));
    CString notOncore(u"$@@Cj");
    EXPECT_FALSE(AddOncoreChecksum(notOncore));
    CString shortOncore(u"@@C");
    EXPECT_FALSE(AddOncoreChecksum(shortOncore));
    EXPECT_EQ(shortOncore, CString(u"@@C"));
}

TEST(CommandFraming, EchoTexts) {
    struct Case {
        std::u16string framed;
        bool longTk;
        std::u16string echo;
    } cases[] = {
        {u"$PMOTG,GGA,0001*01", false, u"<- $PMOTG,GGA,0001*01"},
        {u"@@Cj\u0029", false, u"<- @@Cj<29>"},
        {U(u"@@Ha\u0000\u0029"), false, u"<- @@Ha<00><29>"},
        {U(u"\u00B5\u0062\u000A\u0004\u0000\u0000\u000E\u0034"), false,
         u"<- <B5><62><0A><04><00><00><0E><34>"},
        {u"\u0055\u0055\u01FF", false, u"<- <55><55><FF>"},
        {u"T0", false, u""},
        {u"NMEA", false, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GpsCommandEchoText(Cmd(c.framed), c.longTk).str(), c.echo);
    }
    std::u16string tk = u"@@Tk" + std::u16string(55, u'a') + u"\u0001\u0002";
    EXPECT_EQ(GpsCommandEchoText(Cmd(tk), true).str(), u"<- " + tk.substr(0, 59) + u"<01><02>");
    EXPECT_EQ(GpsCommandEchoText(Cmd(tk), false).str().substr(0, 11), u"<- @@Tk<61>");
}

TEST(CommandFraming, WireBytes) {
    CString cj(u"@@Cj");
    FrameGpsCommand(cj);
    EXPECT_EQ(Hex(GpsCommandWireBytes(cj)), "40 40 43 6A 29 0D 0A");
    EXPECT_EQ(Hex(GpsCommandWireBytes(Cmd(u"\u0010\u0003\u00FF"))), "10 03 FF"); // DLE: no line end
    EXPECT_EQ(Hex(GpsCommandWireBytes(Cmd(u"A\uFF92"))), "41 92 0D 0A");
    EXPECT_EQ(Hex(GpsCommandWireBytes(Cmd(u"\u0110"))), "10 0D 0A"); // only the unit DLE itself counts
    EXPECT_EQ(Hex(GpsCommandWireBytes(CString())), "0D 0A");
}

TEST(CommandFraming, RateChangeCodes) {
    struct Case {
        int mode;
        DWORD rate;
        BYTE code[2];
    } cases[] = {
        {kModeMotorolaBinary, 19200, {0x41, 0x92}},  {kModeMotorolaBinary, 9600, {0x00, 0x00}},
        {kModeMotorolaBinary, 57600, {0x45, 0x76}},  {kModeMotorolaBinary, 300, {0x40, 0x03}},
        {kModeMotorolaBinary, 115200, {0x00, 0x00}}, {kModeUbloxUbx, 57600, {0x01, 0x34}},
        {kModeUbloxNmea, 9600, {0x00, 0x96}},        {kModeUbloxUbx, 14400, {0x01, 0x44}},
        {kModeUbloxUbx, 115200, {0x01, 0x34}},
    };
    for (const Case& c : cases) {
        BYTE code[2] = {0xEE, 0xEE};
        RateChangeCode(c.mode, c.rate, code);
        EXPECT_EQ(code[0], c.code[0]) << c.mode << " " << c.rate;
        EXPECT_EQ(code[1], c.code[1]) << c.mode << " " << c.rate;
    }
    CString wb = RateChangeCommand(kModeMotorolaBinary, 19200);
    FrameGpsCommand(wb);
    EXPECT_EQ(Hex(GpsCommandWireBytes(wb)), "40 40 57 62 41 92 E6 0D 0A");
}

} // namespace
