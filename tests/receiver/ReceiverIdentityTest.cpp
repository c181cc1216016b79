#include "receiver/ReceiverIdentity.h"

#include "platform/base/CodePage.h"
#include "platform/base/WideRuntime.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

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
        EXPECT_EQ(model->Has(kTwelveChannelFamily), c.twelve);
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

// Each rule that depends on the model, with the codes it holds for, checked over every code: a code moved
// into or out of a group shows.
TEST(ReceiverModelTable, EachRuleHoldsForItsModels) {
    struct Case {
        const char* name;
        ReceiverRule rule;
        std::set<int> codes;
    };
    const Case cases[] = {
        {"twelve-channel family", kTwelveChannelFamily, {3, 4, 5, 18, 20, 21, 22, 23, 24}},
        {"leap-second poll @@Gj", kLeapSecondPollGj, {3, 4, 5, 18, 20, 21, 22, 23, 24}},
        {"one-second rule", kOneSecondRule, {3, 4, 5, 8, 9, 17, 18, 20, 21, 22, 23, 24}},
        {"new timing commands", kNewTimingCommands, {3, 4, 5, 8, 9, 17, 18, 20, 21, 22, 23, 24}},
        {"self survey", kSelfSurvey, {3, 4, 5, 9, 17, 18, 20, 21, 22, 23, 24}},
        {"self-test layout B", kSelfTestLayoutB, {6, 10, 11, 21, 22, 23, 24}},
        {"T-RAIM conditioned without T-RAIM", kTraimConditionedWithoutTraim, {3}},
        {"fixed timing delays", kFixedTimingDelays, {1, 2}},
        {"DOP weighting", kDopWeighting, {10}},
        {"pulse mode fixed", kPulseModeFixed, {23}},
        {"manual satellite selection", kManualSatelliteSelect, {6, 10, 11}},
        {"logarithmic signal levels", kLogSignalLevels, {6, 10, 11}},
        {"heights by firmware", kHeightsByFirmware, {6, 10, 11}},
        {"geoid in @@Ea", kGeoidInEa, {1, 2, 7, 8, 9, 17}},
        {"geoid in @@Ba", kGeoidInBa, {1, 2, 3, 4, 5, 7, 8, 9, 17, 18, 20, 21, 22, 23}},
        {"geoid in @@Ha", kGeoidInHa, {3, 4, 5, 18, 20, 21, 22, 23, 24}},
        {"wide ids", kWideIds, {23, 24}},
        {"wide ids in @@Ba", kWideIdsInBa, {23}},
    };
    for (const Case& c : cases) {
        for (int code = -1; code <= 26; ++code) {
            EXPECT_EQ(ReceiverModel(code).Has(c.rule), c.codes.count(code) == 1)
                << c.name << ", code " << code;
        }
    }
}

TEST(ReceiverModelTable, FamiliesAndNumbersByCode) {
    using F = ReceiverFamily;
    const std::map<F, std::set<int>> families = {
        {F::kGenericNmea, {14}}, {F::kUblox, {19}},       {F::kGtSl, {1, 2, 7}},        {F::kUt, {8, 9}},
        {F::kConexant, {17}},    {F::kVpXt, {6, 10, 11}}, {F::kM12, {3, 4, 5, 18, 20}}, {F::kWqt6T, {21, 22}},
        {F::kWqtM8, {23, 24}},
    };
    const std::set<int> ebNo17 = {0, 12, 13, 14, 19};
    const std::set<int> ebNo20 = {1, 2, 3, 4, 5, 7, 18, 20, 21, 22, 23, 24};
    const std::set<int> longDelay = {3, 4, 5, 18, 19, 20, 21, 22, 23, 24};
    for (int code = -1; code <= 26; ++code) {
        SCOPED_TRACE(code);
        const ReceiverModelInfo& model = ReceiverModel(code);
        F family = F::kNone;
        for (const auto& [f, codes] : families) {
            if (codes.count(code) == 1) {
                family = f;
            }
        }
        EXPECT_EQ(model.family, family);
        EXPECT_EQ(model.IsOncore(), FindReceiverModel(code) != nullptr);
        EXPECT_EQ(model.IsWqt(), code >= 21 && code <= 24);
        EXPECT_EQ(model.gsvSignalOffset, ebNo17.count(code) ? 17 : ebNo20.count(code) ? 20 : 0);
        EXPECT_EQ(model.defaultReceiverDelay, longDelay.count(code) ? 93.0 : 10.1);
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
