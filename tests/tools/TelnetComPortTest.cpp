#include "tools/simulator/TelnetComPort.h"
#include "tests/tools/SimTestSupport.h"

#include <gtest/gtest.h>

using namespace receiversim;
using namespace receiversim::telnet;
using simtest::Bytes;

namespace {

Bytes ComPort(std::uint8_t command, Bytes value) {
    Bytes out{kIac, kSb, kComPort, command};
    for (std::uint8_t b : value) {
        out.push_back(b);
        if (b == kIac) {
            out.push_back(kIac);
        }
    }
    out.push_back(kIac);
    out.push_back(kSe);
    return out;
}

} // namespace

TEST(TelnetComPort, AnswersNegotiationOnceAndRefusesOtherOptions) {
    struct Case {
        Bytes in, reply;
    };
    TelnetComPort t;
    const Case cases[] = {
        {{kIac, kWill, kComPort}, {kIac, kDo, kComPort}},
        {{kIac, kWill, kComPort}, {}}, // already agreed: no answer, no loop
        {{kIac, kDo, kBinary}, {kIac, kWill, kBinary}},
        {{kIac, kWill, kBinary}, {kIac, kDo, kBinary}},
        {{kIac, kDo, kSuppressGoAhead}, {kIac, kWill, kSuppressGoAhead}},
        {{kIac, kWill, 24}, {kIac, kDont, 24}}, // terminal type
        {{kIac, kDo, 1}, {kIac, kWont, 1}},     // echo
        {{kIac, kDont, kBinary}, {kIac, kWont, kBinary}},
        {{kIac, kDont, kBinary}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(t.Feed(c.in).empty());
        EXPECT_EQ(c.reply, t.TakeReplies()) << int(c.in[1]) << " " << int(c.in[2]);
    }
    EXPECT_TRUE(t.ComPortAgreed());
}

TEST(TelnetComPort, PortCommandsSetTheLineAndAreAnsweredWithCodePlus100) {
    struct Case {
        std::uint8_t command;
        Bytes value, answer;
    };
    const Case cases[] = {
        {kSetBaudRate, {0, 0, 0x12, 0xC0}, {0, 0, 0x12, 0xC0}}, // 4800
        {kSetBaudRate, {0, 0, 0, 0}, {0, 0, 0x12, 0xC0}},       // a query
        {kSetDataSize, {7}, {7}},
        {kSetParity, {3}, {3}}, // even
        {kSetStopSize, {2}, {2}},
        {kSetControl, {1}, {1}}, // no flow control
        {kSetControl, {7}, {8}}, // DTR asked: on
        {kSetControl, {9}, {9}}, // DTR off
        {kSetControl, {7}, {9}},
        {kSetLineStateMask, {0}, {0}},
        {kSetModemStateMask, {0x88}, {0x88}},
        {kPurgeData, {3}, {3}},
    };
    TelnetComPort t;
    t.Feed(Bytes{kIac, kWill, kComPort});
    t.TakeReplies();
    for (const Case& c : cases) {
        t.Feed(ComPort(c.command, c.value));
        EXPECT_EQ(ComPort(static_cast<std::uint8_t>(c.command + 100), c.answer), t.TakeReplies())
            << int(c.command);
    }
    EXPECT_EQ((LineSettings{4800, 7, Parity::Even, 2}), t.Line());
    EXPECT_EQ(0x88, t.ModemStateMask());
    EXPECT_TRUE(t.TakePurgeOutput());
    EXPECT_FALSE(t.TakePurgeOutput());
    // A value holding 0xFF arrives doubled and is read single.
    t.Feed(ComPort(kSetBaudRate, {0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(65535u, t.Line().baud);
    EXPECT_EQ(ComPort(101, {0, 0, 0xFF, 0xFF}), t.TakeReplies());
    // Flow control holds the output until resumed; no answer is due.
    t.Feed(ComPort(kFlowSuspend, {}));
    EXPECT_TRUE(t.OutputSuspended());
    t.Feed(ComPort(kFlowResume, {}));
    EXPECT_FALSE(t.OutputSuspended());
    EXPECT_TRUE(t.TakeReplies().empty());
}

TEST(TelnetComPort, DataIsUndoubledOnTheWayInAndDoubledOnTheWayOut) {
    TelnetComPort t;
    // Data, a doubled 0xFF, a NOP and a negotiation in the middle, split anywhere.
    const Bytes in{'@', kIac, kIac, '@', kIac, 241, 'C', kIac, kWill, kComPort, 'j'};
    Bytes data;
    for (std::uint8_t b : in) {
        const Bytes part = t.Feed(Bytes{b});
        data.insert(data.end(), part.begin(), part.end());
    }
    EXPECT_EQ((Bytes{'@', 0xFF, '@', 'C', 'j'}), data);
    EXPECT_EQ((Bytes{1, 0xFF, 0xFF, 2, 0xFF, 0xFF}), TelnetComPort::EscapeData(Bytes{1, 0xFF, 2, 0xFF}));
}

TEST(TelnetComPort, ModemStateIsNotifiedThroughTheClientsMask) {
    TelnetComPort t;
    EXPECT_TRUE(t.ModemStateNotification(kCd | kDeltaCd, kCd | kDeltaCd).empty()); // option not agreed yet
    t.Feed(Bytes{kIac, kWill, kComPort});
    EXPECT_EQ(ComPort(107, {kCd | kDsr | kDeltaCd}),
              t.ModemStateNotification(kCd | kDsr | kDeltaCd, kCd | kDeltaCd));
    t.Feed(ComPort(kSetModemStateMask, {kCd | kDeltaCd}));
    EXPECT_EQ(ComPort(107, {kDeltaCd}), t.ModemStateNotification(kDsr | kDeltaCd, kCd | kDeltaCd));
    // A change the mask hides is not notified.
    EXPECT_TRUE(t.ModemStateNotification(kCts | kDeltaCts, kCts | kDeltaCts).empty());
}
