#include "tools/simulator/OncoreEngine.h"
#include "tests/tools/SimTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace receiversim;
using namespace simtest;

namespace {

const UtcInstant kEdge = FromCalendar(2024, 2, 29, 23, 59, 59);

EngineOptions Common(std::uint32_t baud = 9600) {
    EngineOptions o;
    o.line.baud = baud;
    return o;
}

OncoreOptions Polled(int channels) {
    OncoreOptions o;
    o.channels = channels;
    o.continuousAtStart = false;
    return o;
}

std::string Field(const Bytes& message, std::size_t from, std::size_t to) {
    std::string s(message.begin() + static_cast<std::ptrdiff_t>(from),
                  message.begin() + static_cast<std::ptrdiff_t>(to) + 1);
    const std::size_t b = s.find_first_not_of(' ');
    const std::size_t e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

std::vector<OncoreMessage> Ask(OncoreEngine& engine, const std::string& id, const Bytes& params = {}) {
    return DecodeOncore(Concat(engine.OnReceived(OncoreCommand(id, params))));
}

bool IsAlphanumericLine(const std::string& line) {
    return !line.empty() &&
           std::all_of(line.begin(), line.end(), [](unsigned char c) { return std::isalnum(c); });
}

} // namespace

TEST(OncoreEngine, IdentityAnswerPutsEachFieldAtItsColumn) {
    struct Case {
        int channels;
        std::string copyright, model, makerText;
        std::size_t makerFrom, makerTo;
    };
    const Case cases[] = {
        {6, "", "", "MOTOROLA", 26, 33},
        {8, "", "", "MOTOROLA", 26, 33},
        {12, "", "", "MOTOROLA", 26, 33},
        {12, "COPYRIGHT 2021 Halvorn Ltd.", "WQT-M8T+", "Halvorn", 21, 27},
    };
    for (const Case& c : cases) {
        OncoreOptions o = Polled(c.channels);
        o.softwareVersion = "8";
        o.softwareRevision = "8";
        if (!c.copyright.empty()) {
            o.copyright = c.copyright;
        }
        o.modelNumber = c.model;
        OncoreEngine engine(Common(), o);
        const auto messages = Ask(engine, "Cj");
        ASSERT_EQ(1u, messages.size()) << c.channels;
        const Bytes& m = messages[0].whole;
        ASSERT_EQ(294u, m.size());
        EXPECT_EQ(c.makerText, Field(m, c.makerFrom, c.makerTo));
        EXPECT_EQ("8", Field(m, 84, 94));
        EXPECT_EQ("8", Field(m, 112, 122));
        const std::string model = c.model.empty() ? OncoreEngine::DefaultModelNumber(c.channels) : c.model;
        EXPECT_EQ(model, Field(m, 161, 171));
        EXPECT_EQ('\r', m[4]);
        EXPECT_EQ('\n', m[5]);
    }
    // The default model numbers name their channel count's family: XT (6), UT+ (8), M12 (12).
    EXPECT_EQ('B', OncoreEngine::DefaultModelNumber(6)[0]);
    EXPECT_EQ('U', OncoreEngine::DefaultModelNumber(8)[5]);
    EXPECT_EQ("P1", OncoreEngine::DefaultModelNumber(12).substr(0, 2));
}

TEST(OncoreEngine, AnswersThePositionPollsOfItsChannelCountOnly) {
    struct Case {
        int channels;
        bool ba, ea, ha;
    };
    for (const Case& c :
         {Case{6, true, false, false}, Case{8, true, true, false}, Case{12, false, false, true}}) {
        OncoreEngine engine(Common(), Polled(c.channels));
        EXPECT_EQ(c.ba, Ask(engine, "Ba", {0}).size() == 1) << c.channels;
        EXPECT_EQ(c.ea, Ask(engine, "Ea", {0}).size() == 1) << c.channels;
        EXPECT_EQ(c.ha, Ask(engine, "Ha", {0}).size() == 1) << c.channels;
        EXPECT_EQ(c.ha, Ask(engine, "Hb", {0}).size() == 1) << c.channels;
    }
}

TEST(OncoreEngine, PositionMessagesCarryTheOffsetTimeAndThePosition) {
    for (const char* id : {"Ba", "Ea", "Ha", "Hb"}) {
        EngineOptions common = Common();
        common.timeOffset = std::chrono::milliseconds(250);
        OncoreEngine engine(common, Polled(std::string(id) == "Ha" || std::string(id) == "Hb" ? 12 : 8));
        engine.SetClock(kEdge);
        const auto messages = Ask(engine, id, {0});
        ASSERT_EQ(1u, messages.size()) << id;
        const Bytes& m = messages[0].whole;
        EXPECT_EQ(2, m[4]) << id;
        EXPECT_EQ(29, m[5]);
        EXPECT_EQ(2024u, Be(m, 6, 2));
        EXPECT_EQ(23, m[8]);
        EXPECT_EQ(59, m[9]);
        EXPECT_EQ(59, m[10]);
        EXPECT_EQ(250'000'000u, Be(m, 11, 4));
        EXPECT_EQ(static_cast<std::int32_t>(47.3769 * 3'600'000), static_cast<std::int32_t>(Be(m, 15, 4)));
        EXPECT_EQ(static_cast<std::int32_t>(8.5417 * 3'600'000), static_cast<std::int32_t>(Be(m, 19, 4)));
        EXPECT_EQ(45600u, Be(m, 23, 4));
        EXPECT_EQ(40800u, Be(m, 27, 4));
    }
    // A negative offset moves the reported second back, across the date.
    EngineOptions common = Common();
    common.timeOffset = std::chrono::seconds(-86399);
    OncoreEngine engine(common, Polled(8));
    engine.SetClock(kEdge);
    const Bytes m = Ask(engine, "Ea", {0}).at(0).whole;
    EXPECT_EQ(2, m[4]);
    EXPECT_EQ(29, m[5]);
    EXPECT_EQ(0, m[8]);
    EXPECT_EQ(0, m[10]);
}

TEST(OncoreEngine, ContinuousOutputFollowsTheRateByte) {
    OncoreEngine engine(Common(), Polled(12));
    EXPECT_TRUE(engine.OnSecond(kEdge).empty());
    EXPECT_TRUE(Ask(engine, "Ha", {1}).empty()); // output starts with the next second
    for (int s = 1; s <= 3; ++s) {
        const auto emissions = engine.OnSecond(kEdge + std::chrono::seconds(s));
        const auto messages = DecodeOncore(Concat(emissions));
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ("Ha", messages[0].id);
        EXPECT_EQ(std::chrono::microseconds(150'000), emissions[0].delay);
        EXPECT_EQ(s - 1, messages[0].whole[10]); // 23:59:59 and one, two, three seconds: 0, 1, 2
    }
    EXPECT_EQ(1u, Ask(engine, "Ha", {0}).size()); // a poll answers at once and stops the output
    EXPECT_TRUE(engine.OnSecond(kEdge + std::chrono::seconds(9)).empty());
}

TEST(OncoreEngine, EightChannelReceiverWithContinuousOutputSendsEaEachSecond) {
    OncoreOptions o;
    o.channels = 8;
    OncoreEngine engine(Common(), o);
    const auto messages = DecodeOncore(Concat(engine.OnSecond(kEdge)));
    ASSERT_EQ(1u, messages.size());
    EXPECT_EQ("Ea", messages[0].id);
    EXPECT_EQ(0x20, messages[0].whole[72]); // 3-D fix
}

TEST(OncoreEngine, RateChangeAnswersAtTheOldRateThenSwitches) {
    struct Case {
        std::uint8_t high, low;
        std::uint32_t rate;
    };
    const Case cases[] = {{0x41, 0x92, 19200}, {0x40, 0x48, 4800},  {0x45, 0x76, 57600},
                          {0x43, 0x84, 38400}, {0x41, 0x44, 14400}, {0x40, 0x12, 1200},
                          {0x00, 0x00, 9600},  {0x01, 0x34, 4800}}; // an unknown code keeps the rate
    for (const Case& c : cases) {
        OncoreEngine engine(Common(4800), Polled(8));
        const auto emissions = engine.OnReceived(OncoreCommand("Wb", {c.high, c.low}));
        ASSERT_EQ(1u, emissions.size());
        EXPECT_EQ(4800u, emissions[0].line.baud) << c.rate;
        const auto messages = DecodeOncore(emissions[0].bytes);
        ASSERT_EQ(1u, messages.size());
        EXPECT_EQ((Bytes{c.high, c.low}), messages[0].payload);
        EXPECT_EQ(c.rate, engine.Line().baud);
    }
    OncoreEngine engine(Common(9600), Polled(8));
    engine.OnReceived(OncoreCommand("Wb", {0x41, 0x92}));
    LineSettings old = engine.Line();
    old.baud = 9600;
    EXPECT_TRUE(engine.OnReceived(ToBytes(OncoreCommand("Cj")), old).empty());
    EXPECT_EQ(1u, Ask(engine, "Cj").size());
}

TEST(OncoreEngine, NmeaAndLoranModesKeepTheRateAndSwitchBack) {
    OncoreEngine engine(Common(4800), Polled(12));
    EXPECT_TRUE(Ask(engine, "Ci", {1}).empty());
    EXPECT_EQ("nmea", engine.ProtocolState());
    EXPECT_EQ(4800u, engine.Line().baud);
    EXPECT_TRUE(engine.OnSecond(kEdge).empty());

    EXPECT_TRUE(engine.OnReceived(NmeaCommand("PMOTG,ZDA,0001")).empty());
    const auto zda = DecodeNmea(Concat(engine.OnSecond(kEdge)));
    ASSERT_EQ(1u, zda.size());
    EXPECT_EQ("$GPZDA,235959.00,29,02,2024,00,00", zda[0]);
    // A command with a wrong checksum is not obeyed.
    engine.OnReceived("$PMOTG,GGA,0001*00\r\n");
    EXPECT_EQ(1u, DecodeNmea(Concat(engine.OnSecond(kEdge))).size());

    engine.OnReceived(NmeaCommand("PMOTG,FOR,0"));
    EXPECT_EQ("binary", engine.ProtocolState());
    EXPECT_EQ(4800u, engine.Line().baud);
    EXPECT_EQ(1u, Ask(engine, "Cj").size());

    EXPECT_TRUE(Ask(engine, "Ci", {2}).empty());
    EXPECT_EQ("loran", engine.ProtocolState());
    for (const char* command : {"T0\r\n", "Z\r\n"}) {
        const std::string answer = ToText(Concat(engine.OnReceived(command)));
        ASSERT_GE(answer.size(), 3u);
        EXPECT_EQ("\r\n", answer.substr(answer.size() - 2)) << command;
        EXPECT_TRUE(IsAlphanumericLine(answer.substr(0, answer.size() - 2))) << answer;
    }
    engine.OnReceived("T1\r\n");
    EXPECT_EQ("T20240229235959\r\n", ToText(Concat(engine.OnSecond(kEdge))));
    engine.OnReceived("BIN\r\n");
    EXPECT_EQ("binary", engine.ProtocolState());
    EXPECT_EQ(4800u, engine.Line().baud);
}

TEST(OncoreEngine, CommandsAfterASwitchInTheSameReadFollowTheNewProtocol) {
    OncoreEngine engine(Common(4800), Polled(12));
    const std::string both = OncoreCommand("Ci", {1}) + NmeaCommand("PMOTG,FOR,0") + OncoreCommand("Cj");
    EXPECT_EQ(1u, DecodeOncore(Concat(engine.OnReceived(both))).size());
    EXPECT_EQ("binary", engine.ProtocolState());
}

TEST(OncoreEngine, SetCommandsAreEchoedAtTheMessageLength) {
    OncoreEngine engine(Common(), Polled(12));
    const Bytes date{2, 29, 0x07, 0xE8, 23, 59, 59, 0, 0, 0};
    for (const auto& [id, params] : std::vector<std::pair<std::string, Bytes>>{
             {"Aw", {1}}, {"Gb", date}, {"Cg", {1}}, {"Cf", {}}, {"Ay", {0x00, 0x0D, 0x0A, 0x0D}}}) {
        const std::string command = OncoreCommand(id, params);
        EXPECT_EQ(command, ToText(Concat(engine.OnReceived(command)))) << id;
    }
    // The position-height echo is longer than its command; the parameters lead it.
    const auto af = Ask(engine, "Af", {0, 0, 0x12, 0x34, 0});
    ASSERT_EQ(1u, af.size());
    EXPECT_EQ((Bytes{0, 0, 0x12, 0x34, 0, 0, 0, 0}), af[0].payload);
    // A query (all 0xFF) answers with the setting in force.
    Ask(engine, "Ag", {10});
    EXPECT_EQ((Bytes{10}), Ask(engine, "Ag", {0xFF}).at(0).payload);
}

TEST(OncoreEngine, TimeTraimSelfTestAndDgpsAnswers) {
    struct Case {
        int channels;
        bool traim, dgps;
        std::string command;
        Bytes params;
        std::string answer; // empty: none
    };
    const Bytes traim15{0, 1, 0, 10, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    const Case cases[] = {
        {8, true, false, "En", traim15, "En"}, {8, true, false, "Bn", traim15, "Bn"},
        {6, true, false, "En", traim15, ""},   {8, false, false, "En", traim15, ""},
        {12, true, false, "Hn", {0}, "Hn"},    {12, false, false, "Hn", {0}, ""},
        {6, true, false, "Ca", {}, "Ca"},      {8, true, false, "Fa", {}, "Fa"},
        {12, true, false, "Ia", {}, "Ia"},     {12, true, false, "Fa", {}, ""},
        {8, true, true, "Bh", {1}, "Ce"},      {8, true, false, "Bh", {1}, ""},
        {8, true, false, "Bo", {1}, "Bo"},     {8, true, false, "Bj", {}, "Bj"},
        {12, true, false, "Gj", {}, "Gj"},
    };
    for (const Case& c : cases) {
        OncoreOptions o = Polled(c.channels);
        o.traim = c.traim;
        o.dgps = c.dgps;
        OncoreEngine engine(Common(), o);
        const auto messages = Ask(engine, c.command, c.params);
        if (c.answer.empty()) {
            EXPECT_TRUE(messages.empty()) << c.channels << " " << c.command;
        } else {
            ASSERT_EQ(1u, messages.size()) << c.channels << " " << c.command;
            EXPECT_EQ(c.answer, messages[0].id);
        }
    }
    OncoreEngine engine(Common(), Polled(8));
    EXPECT_EQ((Bytes{18}), Ask(engine, "Bo", {1}).at(0).payload);
    EXPECT_EQ((Bytes{0, 0}), Ask(engine, "Fa").at(0).payload); // all tests passed
}

TEST(OncoreEngine, CommandsSplitAnywhereOrAmongNoiseAreUnderstood) {
    // The parameter bytes hold CR LF: the command ends at its own length, not at the first line end.
    const std::string command = OncoreCommand("Ay", {0x0D, 0x0A, 0x0D, 0x0A}) + OncoreCommand("Cj");
    OncoreEngine engine(Common(), Polled(8));
    Bytes all;
    for (char c : "xx@" + command) {
        const Bytes one = Concat(engine.OnReceived(std::string(1, c)));
        all.insert(all.end(), one.begin(), one.end());
    }
    const auto messages = DecodeOncore(all);
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ("Ay", messages[0].id);
    EXPECT_EQ("Cj", messages[1].id);
}

TEST(OncoreEngine, BytesAtOtherLineSettingsAreIgnoredAndSpoilTheCommandTheyInterrupt) {
    OncoreEngine engine(Common(9600), Polled(8));
    const Bytes cj = ToBytes(OncoreCommand("Cj"));
    for (LineSettings other : {LineSettings{4800, 8, Parity::None, 1}, LineSettings{9600, 7, Parity::None, 1},
                               LineSettings{9600, 8, Parity::Even, 1}}) {
        EXPECT_TRUE(engine.OnReceived(cj, other).empty()) << other.ToString();
    }
    // Two stop bits are no obstacle.
    EXPECT_EQ(1u, engine.OnReceived(cj, LineSettings{9600, 8, Parity::None, 2}).size());
    // Half a command, noise at another rate, the other half: nothing.
    engine.OnReceived(ByteSpan(cj).first(3), engine.Line());
    engine.OnReceived(cj, LineSettings{4800, 8, Parity::None, 1});
    EXPECT_TRUE(engine.OnReceived(ByteSpan(cj).subspan(3), engine.Line()).empty());
    EXPECT_EQ(1u, engine.OnReceived(cj).size());
}
