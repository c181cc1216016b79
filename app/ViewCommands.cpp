#include "app/ViewCommands.h"

#include "receiver/ReceiverState.h"

namespace {

constexpr UINT kDisplayCommands[] = {kCmdDisplayUtc,  kCmdDisplayPc,  kCmdDisplayLmst,
                                     kCmdDisplayGmst, kCmdDisplayMjd, kCmdDisplayPcMinusUtc};

bool ModelIn(int model, int first, int last) {
    return model >= first && model <= last;
}

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
    const int model = s.model;
    switch (command) {
    case kCmdTimingParameters:
        return mode != kModeGenericNmea && mode != kModeSearch;
    case kCmdReceiverParameters:
        return mode != kModeMotorolaRxOnly && mode != kModeGenericNmea && mode != 8 && mode != kModeSearch;
    case kCmdManualCommands:
        return mode != kModeSearch;
    case kCmdSelfTest:
        return mode == kModeMotorolaBinary &&
               (ModelIn(model, 1, 11) || model == 17 || model == 18 || ModelIn(model, 20, 24));
    case kCmdSelfSurvey:
        return (mode == kModeMotorolaBinary && (ModelIn(model, 3, 5) || model == 9 || model == 17 ||
                                                model == 18 || ModelIn(model, 20, 24))) ||
               IsUbloxMode(mode);
    case kCmdManualSatelliteSelect:
        return (mode == kModeMotorolaBinary || mode == kModeMotorolaRxOnly) &&
               (model == 6 || model == 10 || model == 11);
    case kCmdFirmwareUpload:
        return (mode == kModeMotorolaBinary && s.plusModel && ModelIn(model, 21, 24)) || s.receiverNotFound;
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
