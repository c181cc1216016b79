// The identity text "@@Cj": manufacturer, model rules, brand search, version text and number.
#include "tests/receiver/OncoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace oncore_test;

// A 291-unit identity text of blanks with the given fields.
CString Identity(const std::string& maker, const std::string& modelNumber, const std::string& version,
                 const std::string& revision, int makerAt = 26, int versionAt = 84) {
    OncoreBuilder b("Cj", 291);
    b.Text(4, std::string(287, ' '));
    b.Text(makerAt, maker).Text(versionAt, version).Text(112, revision).Text(161, modelNumber);
    return b;
}

TEST(OncoreIdentity, ModelNumberRules) {
    struct Case {
        const char* number;
        int model;
    } cases[] = {
        {"A12345", 11}, {"B1xxxx", 11}, {"B2xxxx", 11}, {"B3xxxx", 10}, {"B4xxxx", 10}, {"B8xxxx", 10},
        {"NSxxxx", 10}, {"PVTxxx", 6},  {"P2xxxT", 3},  {"P1xxxx", 3},  {"P2xxxx", 4},  {"P3xxxx", 5},
        {"R1xxxA", 8},  {"R1xxxN", 1},  {"R3xxxG", 2},  {"R4xxxG", 2},  {"R5xxxU", 9},  {"R6xxxG", 7},
        {"T8xxxx", 10}, {"ILxxxx", 5},  {"R5xxxG", 0},  {"B5xxxx", 0},  {"", 0},        {"P", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(OncoreModelFromNumber(c.number), c.model);
    }
}

TEST(OncoreIdentity, MotorolaIdentityTextSetsModelAndVersion) {
    struct Case {
        std::string maker, number, version, revision;
        int model;
        bool plus;
        const char* versionText;
        float firmware;
    } cases[] = {
        {"MOTOROLA", "  B3121P1115 ", "   8   ", "   8   ", 10, false, "8.8", 8.8f},
        {"MOTOROLA", "R5122U1115", "10", "3", 9, false, "10.3", 10.3f},
        {"MOTOROLA", "R5122X1115", "10", "3", 5, false, "10.3", 10.3f},
        {"MOTOROLA", "ZZZ", "V1", "2", 5, false, "V1.2", 1.5f},
        {"MOTOROLA", "ZZZ  WQT-M8T+", "V", "REV 2.5", 24, true, "V.REV 2.5", 2.5f},
        {"MOTOROLA", "X WQT-6Tf", "1", "07", 21, false, "1.07", 1.07f},
        {"MOTOROLA", "X WQT-6Tr WQT-M8F+", "", "", 22, false, ".", 0.0f},
        {"CONEXANT", "", "2", "1", 17, false, "2.1", 2.1f},
        {"SIGNAV  ", "", "3", "0", 18, false, "3.0", 3.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        RecordingOncoreView view;
        view.firmwareVersion = 1.5f;
        view.plusModel = TRUE;
        OncoreDecoder decoder(view);
        const CString message = Identity(c.maker, c.number, c.version, c.revision);
        EXPECT_EQ(decoder.DecodeOncoreMessage(message), message + u"\n");
        EXPECT_EQ(view.rxIdSet, std::vector<std::u16string>{message.str()});
        EXPECT_EQ(view.model, c.model);
        EXPECT_EQ(view.plusModel, c.plus ? TRUE : FALSE);
        EXPECT_EQ(view.versionText, CString(c.versionText));
        EXPECT_FLOAT_EQ(view.firmwareVersion, c.firmware);
    }
}

TEST(OncoreIdentity, OtherMakersAndUnknownOnes) {
    RecordingOncoreView view;
    view.model = 8;
    view.firmwareVersion = 1.5f;
    OncoreDecoder decoder(view);

    Decode(decoder, Identity("HALVORN", "P3xxxx", "4", "2", 21));
    EXPECT_EQ(view.model, 5);
    Decode(decoder, Identity("SiRF", "P1", "2", "3", 15));
    EXPECT_EQ(view.model, 5);
    EXPECT_EQ(view.versionText, u"2.3");
    Decode(decoder, Identity("i-LOTUS", "", "ILT1.2", "7", 26, 83));
    EXPECT_EQ(view.model, 20);
    EXPECT_EQ(view.versionText, u"ILT1.2.7");
    EXPECT_FLOAT_EQ(view.firmwareVersion, 1.2f); // characters 3 to 5

    view.model = 8;
    view.versionText = u"kept";
    const CString unknown = Identity("ACME GPS", "P1", "9", "9");
    EXPECT_EQ(decoder.DecodeOncoreMessage(unknown), unknown + u"\n");
    EXPECT_EQ(view.model, 8);
    EXPECT_EQ(view.versionText, u"kept");
}

TEST(OncoreIdentity, AShortIdentityReadsOnlyWhatItHas) {
    RecordingOncoreView view;
    view.model = 8;
    OncoreDecoder decoder(view);
    // Long enough to be taken, too short for the model number: the maker is read, the rest is clamped.
    OncoreBuilder b("Cj", 130);
    b.Text(4, std::string(126, ' ')).Text(26, "MOTOROLA").Text(84, "5").Text(112, "1");
    Decode(decoder, b);
    EXPECT_EQ(view.model, 5);
    EXPECT_EQ(view.versionText, u"5.1");
    EXPECT_EQ(Decode(decoder, OncoreBuilder("Cj", 122).Text(26, "MOTOROLA")), "@@Cj ...\n");
    EXPECT_EQ(view.rxIdSet.size(), 1u);
}

} // namespace
