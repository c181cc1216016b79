// The self-test reports and their follow-up command.
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace oncore_test;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(OncoreSelfTest, SixChannelReport) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    const auto lines = Lines(Decode(decoder, OncoreBuilder("Ca", 6)));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "@@Ca RTC Comm & Time: PASS");
    for (const std::string& line : lines) {
        EXPECT_TRUE(line.ends_with(": PASS")) << line;
    }
    const auto failed = Lines(Decode(decoder, OncoreBuilder("Ca", 6).Put(4, 0x01, 1).Put(5, 0x41, 1)));
    EXPECT_EQ(failed[5], "@@Ca ROM MSByte Checksum: FAIL");
    EXPECT_EQ(failed[6], "@@Ca ROM LSByte Checksum: PASS");
    EXPECT_EQ(failed[7], "@@Ca 1KHz Presence: FAIL");
    EXPECT_EQ(failed[8], "@@Ca Channel 6 Correlation Test: PASS");
    EXPECT_EQ(failed[13], "@@Ca Channel 1 Correlation Test: FAIL");
    // Each report goes to the receiver-ID window and sends "@@Cg" 01 once.
    EXPECT_EQ(view.rxIdAdded.size(), 2u);
    EXPECT_EQ(view.sent, (std::vector<std::u16string>{u"@@Cg\x01", u"@@Cg\x01"}));
}

TEST(OncoreSelfTest, EightChannelLayoutsByModel) {
    RecordingOncoreView vp;
    vp.model = 10;
    OncoreDecoder decoder(vp);
    auto lines = Lines(Decode(decoder, OncoreBuilder("Fa", 6).Put(4, 0x80, 1).Put(5, 0x80, 1)));
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "@@Fa RTC Comm & Time: FAIL");
    EXPECT_EQ(lines[7], "@@Fa 1KHz Presence: PASS");
    EXPECT_EQ(lines[8], "@@Fa Channel 8 Correlation Test: FAIL");
    EXPECT_TRUE(vp.antenna.empty());

    RecordingOncoreView ut;
    ut.model = 8;
    OncoreDecoder second(ut);
    lines = Lines(Decode(second, OncoreBuilder("Fa", 6).Put(4, 0x81, 1)));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "@@Fa Antenna Undercurrent: FAIL");
    EXPECT_EQ(lines[5], "@@Fa ROM: PASS");
    EXPECT_EQ(lines[6], "@@Fa 1KHz Presence: FAIL");
    EXPECT_EQ(ut.antenna, std::vector<int>{2});
    EXPECT_EQ(ut.antennaStatus, 2);
    EXPECT_EQ(ut.sent.size(), 1u);
}

TEST(OncoreSelfTest, TwelveChannelReport) {
    RecordingOncoreView view;
    OncoreDecoder decoder(view);
    const auto lines = Lines(Decode(decoder, OncoreBuilder("Ia", 7).Put(4, 0x800801, 3)));
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "@@Ia Antenna Sense: UC");
    EXPECT_EQ(lines[1], "@@Ia RTC Comm & Time: PASS");
    EXPECT_EQ(lines[9], "@@Ia Channel 12 Correlation Test: FAIL");
    EXPECT_EQ(lines[20], "@@Ia Channel 1 Correlation Test: FAIL");
    EXPECT_TRUE(view.antenna.empty());
    EXPECT_EQ(view.sent.size(), 1u);
}

} // namespace
