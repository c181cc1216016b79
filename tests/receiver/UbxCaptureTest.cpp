// A recorded u-blox timing receiver replayed through the UBX framer and decoder: every position agrees with
// an independent decoder's fix of the same second, and every UTC time taken is the frame's own.
#include "platform/base/CString.h"
#include "receiver/UbxDecoder.h"
#include "receiver/UbxFramer.h"
#include "support/TestSupport.h"
#include "tests/receiver/DecoderTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace decoder_test;

unsigned Field(const std::u16string& frame, std::size_t at, int width) {
    unsigned value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = (value << 8) | (frame[6 + at + i] & 0xFF);
    }
    return value;
}

TEST(UbxCapture, PositionsAndTimesOfTheM8T) {
    REQUIRE_SHARED_FIXTURES();
    const auto dir = testsupport::SharedFixturesDir() / "receiver-captures";
    const std::string bytes = testsupport::ReadWholeFile(dir / "u-blox-m8t-time.log");
    UbxFramer framer;
    std::vector<CString> messages;
    framer.Feed(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), messages);

    std::map<__time64_t, std::string> reference;
    {
        std::istringstream in(testsupport::ReadWholeFile(dir / "u-blox-m8t-time.log.chk"));
        for (std::string line; std::getline(in, line);) {
            if (line.find("\"class\":\"TPV\"") != std::string::npos) {
                if (const auto time = JsonString(line, "time")) {
                    reference[AfterRolloverCheck(IsoSeconds(*time))] = line;
                }
            }
        }
    }
    ASSERT_FALSE(reference.empty());

    InterfaceModeScope mode(kModeUbloxUbx);
    RecordingView view;
    UbxDecoder decoder(view);
    std::map<unsigned, Position> positions; // by iTOW
    std::map<unsigned, __time64_t> utc;     // by iTOW
    int timesChecked = 0;
    for (const CString& message : messages) {
        const std::u16string frame = message.str();
        if (frame.size() < 8 || frame[0] != 0xB5) {
            continue;
        }
        const std::size_t positionsBefore = view.positions.size();
        EXPECT_FALSE(decoder.DecodeUbxMessage(message).IsEmpty());
        const unsigned cls = frame[2], id = frame[3];
        if (cls == 0x01 && id == 0x02) {
            ASSERT_EQ(view.positions.size(), positionsBefore + 1);
            positions[Field(frame, 0, 4)] = view.positions.back();
        } else if (cls == 0x01 && id == 0x21 && (Field(frame, 19, 1) & 0x07) == 0x07) {
            const __time64_t fields = AfterRolloverCheck(
                Utc(static_cast<int>(Field(frame, 12, 2)), static_cast<int>(Field(frame, 14, 1)),
                    static_cast<int>(Field(frame, 15, 1)), static_cast<int>(Field(frame, 16, 1)),
                    static_cast<int>(Field(frame, 17, 1)), static_cast<int>(Field(frame, 18, 1))));
            // The time of the coming tick, one second on.
            EXPECT_EQ(view.rxTime.GetTime(), fields + 1);
            utc[Field(frame, 0, 4)] = fields;
            ++timesChecked;
        }
        // A 1PPS tick between the epochs.
        view.tickHandled = TRUE;
    }
    EXPECT_GT(timesChecked, 100);

    int compared = 0;
    for (const auto& [iTow, position] : positions) {
        const auto second = utc.find(iTow);
        if (second == utc.end()) {
            continue;
        }
        const auto tpv = reference.find(second->second);
        if (tpv == reference.end()) {
            continue;
        }
        const std::string& t = tpv->second;
        EXPECT_NEAR(position.latitude, *JsonNumber(t, "lat"), 1e-7) << t;
        EXPECT_NEAR(position.longitude, *JsonNumber(t, "lon"), 1e-7) << t;
        EXPECT_NEAR(position.heightWgs84, *JsonNumber(t, "altHAE"), 1e-3) << t;
        EXPECT_NEAR(position.altitudeMsl, *JsonNumber(t, "altMSL"), 1e-3) << t;
        ++compared;
    }
    EXPECT_GT(compared, 100);
}

} // namespace
