#include "tests/tools/SimTestSupport.h"
#include "tools/simulator/NmeaEngine.h"
#include "tools/simulator/UbxEngine.h"

#include <gtest/gtest.h>

using namespace receiversim;
using namespace simtest;

namespace {

const UtcInstant kEdge = FromCalendar(2024, 2, 29, 23, 59, 59);

std::string Kind(const std::string& sentence) {
    return sentence.substr(1, 5);
}

std::vector<UbxMessage> Ask(UbxEngine& engine, std::uint8_t cls, std::uint8_t id, const Bytes& payload = {}) {
    return DecodeUbx(Concat(engine.OnReceived(UbxCommand(cls, id, payload))));
}

Bytes CfgPrt(std::uint32_t baud, std::uint32_t mode = 0x08C0) {
    Bytes p{1, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        p.push_back(static_cast<std::uint8_t>(mode >> (8 * i)));
    }
    for (int i = 0; i < 4; ++i) {
        p.push_back(static_cast<std::uint8_t>(baud >> (8 * i)));
    }
    p.insert(p.end(), {3, 0, 3, 0, 0, 0, 0, 0});
    return p;
}

} // namespace

TEST(NmeaEngine, SendsItsSentencesOnceASecondWithValidChecksums) {
    EngineOptions o;
    o.line.baud = 4800;
    o.timeOffset = std::chrono::milliseconds(1500);
    NmeaEngine engine(o);
    const auto emissions = engine.OnSecond(kEdge);
    ASSERT_FALSE(emissions.empty());
    for (const Emission& e : emissions) {
        EXPECT_EQ(std::chrono::microseconds(150'000), e.delay);
        EXPECT_EQ(4800u, e.line.baud);
    }
    const auto sentences = DecodeNmea(Concat(emissions));
    std::vector<std::string> kinds;
    for (const auto& s : sentences) {
        kinds.push_back(Kind(s));
    }
    EXPECT_EQ((std::vector<std::string>{"GPGGA", "GPGSA", "GPGSV", "GPGSV", "GPGSV", "GPRMC", "GPZDA"}),
              kinds);
    // 23:59:59 and 1.5 s is half a second into the next day.
    EXPECT_EQ("$GPGGA,000000.50,4722.6140,N,00832.5020,E,1,09,1.0,408.0,M,48.0,M,,", sentences[0]);
    EXPECT_EQ("$GPGSV,3,1,09", sentences[2].substr(0, 13));
    EXPECT_EQ("$GPGSV,3,3,09,10,14,190,37", sentences[4]);
    EXPECT_EQ("$GPRMC,000000.50,A,4722.6140,N,00832.5020,E,0.0,0.0,010324,,", sentences[5]);
    EXPECT_EQ("$GPZDA,000000.50,01,03,2024,00,00", sentences[6]);
    // It takes no commands.
    EXPECT_TRUE(engine.OnReceived(NmeaCommand("PMOTG,ZDA,0001")).empty());
}

TEST(UbxEngine, AnswersTheVersionPollWithItsExtensions) {
    UbxEngine engine(EngineOptions{}, UbxOptions{});
    const auto answers = Ask(engine, 0x0A, 0x04);
    ASSERT_EQ(1u, answers.size());
    const Bytes& p = answers[0].payload;
    ASSERT_EQ(40u + 30u * 5u, p.size());
    EXPECT_EQ("ROM CORE 3.01 (107888)", std::string(reinterpret_cast<const char*>(p.data())));
    EXPECT_EQ("00080000", std::string(reinterpret_cast<const char*>(p.data() + 30)));
    EXPECT_EQ("MOD=NEO-M8T", std::string(reinterpret_cast<const char*>(p.data() + 100)));
}

TEST(UbxEngine, AcknowledgesConfigurationFramesAndRefusesMalformedOnes) {
    struct Case {
        std::uint8_t id;
        Bytes payload;
        std::uint8_t ackId; // 1 ACK, 0 NAK
    };
    const Case cases[] = {
        {0x01, {0x01, 0x21, 0x01}, 1},             // CFG-MSG on the current port
        {0x01, {0x01, 0x21, 0, 1, 0, 0, 0, 0}, 1}, // CFG-MSG for every port
        {0x13, {0x17, 0, 0, 0}, 1},                // CFG-ANT
        {0x09, Bytes(12, 0), 1},                   // CFG-CFG
        {0x24, Bytes(36, 0), 1},                   // CFG-NAV5
        {0x1D, Bytes(28, 0), 1},                   // CFG-TMODE
        {0x3E, Bytes(4 + 7 * 8, 0), 1},            // CFG-GNSS, seven blocks
        {0x31, Bytes(32, 0), 1},                   // CFG-TP5
        {0x13, {0x17, 0, 0}, 0},                   // CFG-ANT one byte short
        {0x00, Bytes(19, 0), 0},                   // CFG-PRT one byte short
        {0x7F, {1, 2}, 0},                         // unknown
    };
    for (const Case& c : cases) {
        UbxEngine engine(EngineOptions{}, UbxOptions{});
        const auto answers = Ask(engine, 0x06, c.id, c.payload);
        ASSERT_EQ(1u, answers.size()) << static_cast<int>(c.id);
        EXPECT_EQ(0x05, answers[0].cls);
        EXPECT_EQ(c.ackId, answers[0].id) << static_cast<int>(c.id);
        EXPECT_EQ((Bytes{0x06, c.id}), answers[0].payload);
    }
}

TEST(UbxEngine, PortRateChangesAfterTheAcknowledgement) {
    UbxEngine engine(EngineOptions{}, UbxOptions{});
    const auto emissions = engine.OnReceived(UbxCommand(0x06, 0x00, CfgPrt(57600)));
    ASSERT_EQ(1u, emissions.size());
    EXPECT_EQ(9600u, emissions[0].line.baud);
    EXPECT_EQ(0x01, DecodeUbx(emissions[0].bytes).at(0).id);
    EXPECT_EQ(57600u, engine.Line().baud);
    EXPECT_EQ(8, engine.Line().dataBits);
    EXPECT_EQ(Parity::None, engine.Line().parity);
    // The poll now goes unheard at the old rate, and is answered at the new one.
    LineSettings old = engine.Line();
    old.baud = 9600;
    EXPECT_TRUE(engine.OnReceived(UbxCommand(0x0A, 0x04), old).empty());
    EXPECT_EQ(1u, Ask(engine, 0x0A, 0x04).size());
    // The port's settings read back; the rate's upper bytes count too.
    engine.OnReceived(UbxCommand(0x06, 0x00, CfgPrt(115200)));
    const auto prt = Ask(engine, 0x06, 0x00);
    ASSERT_EQ(2u, prt.size());
    EXPECT_EQ(115200u, Le(prt[0].payload, 8, 4));
    EXPECT_EQ(0x08C0u, Le(prt[0].payload, 4, 4) & 0x0EC0u);
}

TEST(UbxEngine, SendsTheNavigationMessagesEachSecond) {
    EngineOptions o;
    o.timeOffset = std::chrono::milliseconds(250);
    UbxEngine engine(o, UbxOptions{});
    const auto messages = DecodeUbx(Concat(engine.OnSecond(kEdge)));
    std::vector<std::pair<int, int>> ids;
    for (const auto& m : messages) {
        ids.emplace_back(m.cls, m.id);
    }
    EXPECT_EQ((std::vector<std::pair<int, int>>{{1, 2}, {1, 3}, {1, 4}, {1, 0x21}, {1, 0x30}, {0x0A, 9}}),
              ids);
    ASSERT_EQ(6u, messages.size());
    const Bytes& posllh = messages[0].payload;
    ASSERT_EQ(28u, posllh.size());
    EXPECT_EQ(85417000u, Le(posllh, 4, 4));
    EXPECT_EQ(473769000u, Le(posllh, 8, 4));
    EXPECT_EQ(456000u, Le(posllh, 12, 4));
    EXPECT_EQ(16u, messages[1].payload.size());
    EXPECT_EQ(18u, messages[2].payload.size());
    const Bytes& utc = messages[3].payload;
    ASSERT_EQ(20u, utc.size());
    EXPECT_EQ(250'000'000u, Le(utc, 8, 4));
    EXPECT_EQ(2024u, Le(utc, 12, 2));
    EXPECT_EQ((Bytes{2, 29, 23, 59, 59, 0x07}), Bytes(utc.begin() + 14, utc.end()));
    // Thursday 2024-02-29 23:59:59.25 UTC is GPS time of week 4 days, 86399.25 s and 18 leap seconds.
    EXPECT_EQ(4u * 86400'000u + 86399'250u + 18'000u, Le(utc, 0, 4));
    const Bytes& svinfo = messages[4].payload;
    ASSERT_EQ(8u + 12u * 9u, svinfo.size());
    EXPECT_EQ(9, svinfo[4]);
    EXPECT_EQ(60u, messages[5].payload.size());
    EXPECT_EQ(2, messages[5].payload[20]); // antenna OK
}

TEST(UbxEngine, MessageRatesFollowCfgMsgIncludingNmeaOutput) {
    UbxEngine engine(EngineOptions{}, UbxOptions{});
    EXPECT_EQ("ubx", engine.ProtocolState());
    for (std::uint8_t id : {0x02, 0x03, 0x04, 0x30}) {
        engine.OnReceived(UbxCommand(0x06, 0x01, {0x01, id, 0}));
    }
    engine.OnReceived(UbxCommand(0x06, 0x01, {0x0A, 0x09, 0}));
    engine.OnReceived(UbxCommand(0x06, 0x01, {0x01, 0x21, 2}));
    engine.OnReceived(UbxCommand(0x06, 0x01, {0xF0, 0x08, 1}));
    EXPECT_EQ("ubx+nmea", engine.ProtocolState());
    // Second 0: NAV-TIMEUTC (every second second) and ZDA; second 1: ZDA only.
    const Bytes first = Concat(engine.OnSecond(kEdge));
    ASSERT_GT(first.size(), 28u);
    EXPECT_EQ(1u, DecodeUbx(Bytes(first.begin(), first.begin() + 28)).size());
    EXPECT_EQ("$GPZDA,235959.00,29,02,2024,00,00", DecodeNmea(Bytes(first.begin() + 28, first.end())).at(0));
    EXPECT_EQ(1u, DecodeNmea(Concat(engine.OnSecond(kEdge + std::chrono::seconds(1)))).size());
}

TEST(UbxEngine, AnswersTheLeapSecondPoll) {
    UbxEngine engine(EngineOptions{}, UbxOptions{});
    const auto answers = Ask(engine, 0x0B, 0x02);
    ASSERT_EQ(1u, answers.size());
    const Bytes& p = answers[0].payload;
    ASSERT_EQ(72u, p.size());
    EXPECT_EQ(18u, Le(p, 26, 2)); // leap seconds now
    EXPECT_EQ(18u, Le(p, 32, 2)); // and after the announced event
    EXPECT_EQ(7u, Le(p, 68, 4) & 7u);
    // Aiding is taken without an answer; a frame with a bad checksum is not taken at all.
    EXPECT_TRUE(engine.OnReceived(UbxCommand(0x0B, 0x01, Bytes(48, 0))).empty());
    Bytes bad = UbxCommand(0x0A, 0x04);
    bad[6] ^= 1;
    EXPECT_TRUE(engine.OnReceived(bad).empty());
}

TEST(UbxEngine, NmeaModeStartsWithNmeaOutput) {
    UbxOptions u;
    u.nmeaAtStart = true;
    UbxEngine engine(EngineOptions{}, u);
    EXPECT_EQ("nmea", engine.ProtocolState());
    const auto sentences = DecodeNmea(Concat(engine.OnSecond(kEdge)));
    ASSERT_EQ(7u, sentences.size()); // GGA, GSA, three GSV, RMC, ZDA
    EXPECT_EQ("GPGGA", Kind(sentences.front()));
    EXPECT_EQ("GPZDA", Kind(sentences.back()));
}
