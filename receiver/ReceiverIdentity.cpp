#include "receiver/ReceiverIdentity.h"

#include <iterator>

ReceiverIdentity g_receiverIdentity;
BOOL g_receiverPlusModel = FALSE;
BOOL g_receiverNotFound = FALSE;

namespace {

using F = ReceiverFamily;

// What the twelve-channel family (the M12s, SIGNAV, TX Oncore and the WQT models) has in common.
constexpr unsigned kTwelveChannelFamilyRules =
    kTwelveChannelFamily | kLeapSecondPollGj | kOneSecondRule | kNewTimingCommands | kSelfSurvey | kGeoidInHa;
constexpr double kShortDelay = 10.1, kLongDelay = 93.0;

// One row per code, at the code's index: code, name, family, channels, error terms, GSV signal offset, the
// receiver delay of the timing defaults, rules.
constexpr ReceiverModelInfo kModels[] = {
    {0, nullptr, F::kNone, 0, 0, 0, 17, kShortDelay, 0},
    {1, u"GT", F::kGtSl, 8, 10, 500, 20, kShortDelay, kFixedTimingDelays | kGeoidInEa | kGeoidInBa},
    {2, u"GT+", F::kGtSl, 8, 10, 500, 20, kShortDelay, kFixedTimingDelays | kGeoidInEa | kGeoidInBa},
    {3, u"M12", F::kM12, 12, 10, 100, 20, kLongDelay,
     kTwelveChannelFamilyRules | kTraimConditionedWithoutTraim | kGeoidInBa},
    {4, u"M12+", F::kM12, 12, 10, 100, 20, kLongDelay, kTwelveChannelFamilyRules | kGeoidInBa},
    {5, u"M12M", F::kM12, 12, 10, 100, 20, kLongDelay, kTwelveChannelFamilyRules | kGeoidInBa},
    {6, u"PVT6", F::kVpXt, 6, 10, 100, 0, kShortDelay,
     kSelfTestLayoutB | kManualSatelliteSelect | kLogSignalLevels | kHeightsByFirmware},
    {7, u"SL", F::kGtSl, 8, 10, 500, 20, kShortDelay, kGeoidInEa | kGeoidInBa},
    {8, u"UT", F::kUt, 8, 10, 100, 0, kShortDelay,
     kOneSecondRule | kNewTimingCommands | kGeoidInEa | kGeoidInBa},
    {9, u"UT+", F::kUt, 8, 10, 100, 0, kShortDelay,
     kOneSecondRule | kNewTimingCommands | kSelfSurvey | kGeoidInEa | kGeoidInBa},
    {10, u"VP", F::kVpXt, 8, 10, 100, 0, kShortDelay,
     kSelfTestLayoutB | kDopWeighting | kManualSatelliteSelect | kLogSignalLevels | kHeightsByFirmware},
    {11, u"XT", F::kVpXt, 6, 10, 100, 0, kShortDelay,
     kSelfTestLayoutB | kManualSatelliteSelect | kLogSignalLevels | kHeightsByFirmware},
    {12, nullptr, F::kNone, 0, 0, 0, 17, kShortDelay, 0},
    {13, nullptr, F::kNone, 0, 0, 0, 17, kShortDelay, 0},
    {14, nullptr, F::kGenericNmea, 0, 0, 0, 17, kShortDelay, 0},
    {15, nullptr, F::kNone, 0, 0, 0, 0, kShortDelay, 0},
    {16, nullptr, F::kNone, 0, 0, 0, 0, kShortDelay, 0},
    {17, u"CNXT/NVMN", F::kConexant, 8, 10, 100, 0, kShortDelay,
     kOneSecondRule | kNewTimingCommands | kSelfSurvey | kGeoidInEa | kGeoidInBa},
    {18, u"SIGNAV", F::kM12, 12, 10, 100, 20, kLongDelay, kTwelveChannelFamilyRules | kGeoidInBa},
    {19, nullptr, F::kUblox, 0, 0, 0, 17, kLongDelay, 0},
    {20, u"TX Oncore", F::kM12, 8, 10, 100, 20, kLongDelay, kTwelveChannelFamilyRules | kGeoidInBa},
    {21, u"WQT-6Tf", F::kWqt6T, 12, 10, 100, 20, kLongDelay,
     kTwelveChannelFamilyRules | kSelfTestLayoutB | kGeoidInBa},
    {22, u"WQT-6Tr", F::kWqt6T, 12, 10, 100, 20, kLongDelay,
     kTwelveChannelFamilyRules | kSelfTestLayoutB | kGeoidInBa},
    {23, u"WQT-M8F", F::kWqtM8, 12, 10, 100, 20, kLongDelay,
     kTwelveChannelFamilyRules | kSelfTestLayoutB | kPulseModeFixed | kGeoidInBa | kWideIds | kWideIdsInBa},
    {24, u"WQT-M8T", F::kWqtM8, 12, 10, 100, 20, kLongDelay,
     kTwelveChannelFamilyRules | kSelfTestLayoutB | kWideIds},
};

constexpr bool RowsAtTheirCodes() {
    for (std::size_t i = 0; i < std::size(kModels); ++i) {
        if (kModels[i].code != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(RowsAtTheirCodes());

// Codes beyond the table.
constexpr ReceiverModelInfo kNoModel{-1, nullptr, F::kNone, 0, 0, 0, 0, kShortDelay, 0};

} // namespace

std::span<const ReceiverModelInfo> ReceiverModels() {
    return kModels;
}

const ReceiverModelInfo& ReceiverModel(int code) {
    return code >= 0 && code < static_cast<int>(std::size(kModels)) ? kModels[code] : kNoModel;
}

const ReceiverModelInfo* FindReceiverModel(int code) {
    const ReceiverModelInfo& model = ReceiverModel(code);
    return model.name != nullptr ? &model : nullptr;
}

CString ReceiverModelName(int code) {
    const ReceiverModelInfo* model = FindReceiverModel(code);
    return model ? CString(model->name) : CString();
}

bool IsTwelveChannelModel(int code) {
    return ReceiverModel(code).Has(kTwelveChannelFamily);
}

CString LeapSecondPollCommand(int code) {
    return ReceiverModel(code).Has(kLeapSecondPollGj) ? CString(u"@@Gj") : CString(u"@@Bj");
}
