#include "app/ViewCommands.h"

#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

namespace {

constexpr UINT kDisplayCommands[] = {kCmdDisplayUtc,  kCmdDisplayPc,  kCmdDisplayLmst,
                                     kCmdDisplayGmst, kCmdDisplayMjd, kCmdDisplayPcMinusUtc};

bool IsUbloxMode(int mode) {
    return mode == kModeUbloxUbx || mode == kModeUbloxNmea;
}

} // namespace

UINT DisplayModeCommand(int mode) {
    return mode >= 0 && mode < 6 ? kDisplayCommands[mode] : 0;
}

int DisplayModeFromCommand(UINT command) {
    for (int mode = 0; mode < 6; ++mode) {
        if (kDisplayCommands[mode] == command) {
            return mode;
        }
    }
    return -1;
}

bool IsViewCommandEnabled(UINT command, const ViewCommandState& s) {
    const int mode = s.interfaceMode;
    const ReceiverModelInfo& model = ReceiverModel(s.model);
    switch (command) {
    case kCmdTimingParameters:
        return mode != kModeGenericNmea && mode != kModeSearch;
    case kCmdReceiverParameters:
        return mode != kModeMotorolaRxOnly && mode != kModeGenericNmea && mode != 8 && mode != kModeSearch;
    case kCmdManualCommands:
        return mode != kModeSearch;
    case kCmdSelfTest:
        return mode == kModeMotorolaBinary && model.IsOncore();
    case kCmdSelfSurvey:
        return (mode == kModeMotorolaBinary && model.Has(kSelfSurvey)) || IsUbloxMode(mode);
    case kCmdManualSatelliteSelect:
        return (mode == kModeMotorolaBinary || mode == kModeMotorolaRxOnly) &&
               model.Has(kManualSatelliteSelect);
    case kCmdFirmwareUpload:
        return (mode == kModeMotorolaBinary && s.plusModel && model.IsWqt()) || s.receiverNotFound;
    case kCmdUnused33527:
    case kCmdUnused33528:
    case kCmdUnused33530:
        return false;
    default:
        return true;
    }
}

SetupFollowUp ReferenceFollowUp(int mode) {
    switch (mode) {
    case kModeMotorolaBinary:
    case 4:
        return SetupFollowUp::kSendSetup;
    case kModeMotorolaRxOnly:
    case 8:
        return SetupFollowUp::kNothing;
    default:
        return SetupFollowUp::kInitialise;
    }
}

SetupFollowUp TimingFollowUp(int mode) {
    switch (mode) {
    case kModeMotorolaBinary:
    case 4:
    case 7:
    case kModeUbloxUbx:
    case kModeUbloxNmea:
        return SetupFollowUp::kSendSetup;
    case kModeMotorolaRxOnly:
    case kModeGenericNmea:
    case 8:
    case kModeSearch:
        return SetupFollowUp::kNothing;
    default:
        return SetupFollowUp::kInitialise;
    }
}

SetupFollowUp ReceiverParametersFollowUp(int mode) {
    switch (mode) {
    case kModeMotorolaBinary:
    case 4:
    case 7:
    case kModeUbloxUbx:
    case kModeUbloxNmea:
        return SetupFollowUp::kSendSetup;
    default:
        return SetupFollowUp::kInitialise;
    }
}

bool CommandNeedsIdleReceiver(UINT command) {
    switch (command) {
    case kCmdSetGpsInterface:
    case kCmdTimingParameters:
    case kCmdReceiverParameters:
    case kCmdReferenceFromAverage:
    case kCmdReferenceFromCurrent:
    case kCmdReferenceManual:
    case kCmdManualCommands:
    case kCmdSelfTest:
    case kCmdSelfSurvey:
    case kCmdManualSatelliteSelect:
    case kCmdFirmwareUpload:
        return true;
    default:
        return false;
    }
}
