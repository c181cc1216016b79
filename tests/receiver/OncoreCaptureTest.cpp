// Recorded Oncore receivers framed and decoded message by message: every time and position the decoder takes
// must agree with an independent decoder's results for the same bytes.
#include "receiver/MotorolaFramer.h"
#include "support/TestSupport.h"
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

using namespace oncore_test;
using decoder_test::IsoSeconds;
using decoder_test::JsonNumber;
using decoder_test::JsonString;

struct Capture {
    const char* name;
    int model;
    const char* positionId;
};

class OncoreCaptures : public ::testing::TestWithParam<Capture> {};

TEST_P(OncoreCaptures, TimesAndPositionsAgreeWithTheReference) {
    REQUIRE_SHARED_FIXTURES();
    const Capture capture = GetParam();
    const auto dir = testsupport::SharedFixturesDir() / "receiver-captures";

    // The bytes after the leading comment lines, exactly as they came.
    std::string bytes = testsupport::ReadWholeFile(dir / capture.name);
    std::size_t start = 0;
    while (start < bytes.size() && bytes[start] == '#') {
        start = bytes.find('\n', start) + 1;
    }
    MotorolaFramer framer;
    std::vector<CString> messages;
    framer.Feed(reinterpret_cast<const BYTE*>(bytes.data() + start), bytes.size() - start, messages);
    ASSERT_FALSE(messages.empty());

    struct Reference {
        double latitude, longitude, heightWgs84;
        bool matched = false;
    };
    std::map<__time64_t, Reference> references;
    {
        std::istringstream in(testsupport::ReadWholeFile(dir / (std::string(capture.name) + ".chk")));
        for (std::string line; std::getline(in, line);) {
            if (line.find("\"class\":\"TPV\"") == std::string::npos) {
                continue;
            }
            const auto time = JsonString(line, "time");
            const auto lat = JsonNumber(line, "lat"), lon = JsonNumber(line, "lon"),
                       hae = JsonNumber(line, "altHAE");
            if (time && lat && lon && hae) {
                // The reference keeps the receiver's date; ours is moved on past a week rollover.
                references[decoder_test::AfterRolloverCheck(IsoSeconds(*time))] = {*lat, *lon, *hae};
            }
        }
    }
    ASSERT_FALSE(references.empty());

    RecordingOncoreView view;
    view.model = capture.model;
    view.tickHandled = FALSE;
    view.logSecond = TRUE;
    OncoreDecoder decoder(view);
    int taken = 0;
    for (const CString& message : messages) {
        const std::string id = Narrow(message.Left(4).str());
        const std::size_t positions = view.positions.size();
        const std::string text = Decode(decoder, message);
        SCOPED_TRACE(text);
        // Every message of these receivers has a handler that takes it.
        EXPECT_EQ(text.find(" ...\n"), std::string::npos);
        EXPECT_EQ(text.find("????"), std::string::npos);
        if (id != capture.positionId) {
            EXPECT_EQ(view.positions.size(), positions);
            continue;
        }
        ASSERT_EQ(view.positions.size(), positions + 1);
        ++taken;
        // The decoder's time is that of the next tick; the fix belongs to the second before it.
        const __time64_t second = view.rxTime.GetTime() - 1;
        auto it = references.find(second);
        if (it == references.end()) {
            // The reference reports no fix for the receiver's first second (it still had no mode).
            continue;
        }
        const Position& p = view.positions.back();
        constexpr double kOneMas = 1.0 / 3600000.0;
        EXPECT_NEAR(p.latitude, it->second.latitude, kOneMas);
        EXPECT_NEAR(p.longitude, it->second.longitude, kOneMas);
        EXPECT_NEAR(p.heightWgs84, it->second.heightWgs84, 0.01);
        it->second.matched = true;
    }
    EXPECT_GE(taken, static_cast<int>(references.size()));
    for (const auto& [second, reference] : references) {
        EXPECT_TRUE(reference.matched) << "reference fix at " << second << " not decoded";
    }
    // One clock setting for the first message; every later one finds no tick either (no 1PPS here).
    EXPECT_EQ(view.clockSyncs.size(), static_cast<std::size_t>(taken));
}

INSTANTIATE_TEST_SUITE_P(Receivers, OncoreCaptures,
                         ::testing::Values(Capture{"oncore-binary.log", 9, "@@Ea"},
                                           Capture{"oncore-m12.log", 3, "@@Ha"}),
                         [](const ::testing::TestParamInfo<Capture>& info) {
                             return info.param.model == 9 ? std::string("EightChannel") : std::string("M12");
                         });

} // namespace
