#include "receiver/ReceiverIdentity.h"

#include "platform/base/CodePage.h"
#include "platform/base/WideRuntime.h"

#include <gtest/gtest.h>

namespace {

TEST(ReceiverModelTable, NamedModelsCarryTheirSetUpDetails) {
    struct Case {
        int code;
        const char* name;
        int channels;
        bool twelve;
        int term2;
    };
    const Case cases[] = {
        {1, "GT", 8, false, 500},       {2, "GT+", 8, false, 500},       {3, "M12", 12, true, 100},
        {4, "M12+", 12, true, 100},     {5, "M12M", 12, true, 100},      {6, "PVT6", 6, false, 100},
        {7, "SL", 8, false, 500},       {8, "UT", 8, false, 100},        {9, "UT+", 8, false, 100},
        {10, "VP", 8, false, 100},      {11, "XT", 6, false, 100},       {17, "CNXT/NVMN", 8, false, 100},
        {18, "SIGNAV", 12, true, 100},  {20, "TX Oncore", 8, true, 100}, {21, "WQT-6Tf", 12, true, 100},
        {22, "WQT-6Tr", 12, true, 100}, {23, "WQT-M8F", 12, true, 100},  {24, "WQT-M8T", 12, true, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const ReceiverModelInfo* model = FindReceiverModel(c.code);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(Utf16ToUtf8(model->name), c.name);
        EXPECT_EQ(Utf16ToUtf8(ReceiverModelName(c.code).str()), c.name);
        EXPECT_EQ(model->channels, c.channels);
        EXPECT_EQ(model->twelveChannelFamily, c.twelve);
        EXPECT_EQ(IsTwelveChannelModel(c.code), c.twelve);
        EXPECT_EQ(model->errorTerm1, 10);
        EXPECT_EQ(model->errorTerm2, c.term2);
    }
}

TEST(ReceiverModelTable, CodesWithoutAModelHaveNoEntry) {
    for (int code : {0, 12, 13, 15, 16, 14, 19, 25, -1}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(FindReceiverModel(code), nullptr);
        EXPECT_TRUE(ReceiverModelName(code).IsEmpty());
        EXPECT_FALSE(IsTwelveChannelModel(code));
    }
}

TEST(ReceiverIdentity, StartsUnidentified) {
    const ReceiverIdentity identity;
    EXPECT_EQ(identity.model, kModelUnknown);
    EXPECT_EQ(identity.firmwareVersion, 0.0f);
    EXPECT_TRUE(identity.versionText.IsEmpty());
    EXPECT_FALSE(identity.hasDgps);
    EXPECT_FALSE(identity.hasTraim);
}

// A version parsed from its text as the receiver reports it is not below the same threshold, although 8.9f
// is below the double 8.9.
TEST(ReceiverIdentity, FirmwareThresholdsCompareInSinglePrecision) {
    float version = 0.0f;
    ASSERT_EQ(swscanf(u"8.9", u"%f", &version), 1);
    EXPECT_FALSE(FirmwareBelow(version, 8.9f));
    EXPECT_TRUE(FirmwareBelow(8.7f, 8.9f));
    EXPECT_TRUE(FirmwareBelow(0.0f, 1.6f));
}

} // namespace
