// The view's command ids (menu resource 112), its timers and its custom messages, and the enabling rules of
// the commands whose availability depends on the receiver.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

enum ViewCommand : UINT {
    kCmdRawData = 33501,
    kCmdReceiverIdMessage = 33502,
    kCmdFormatDegrees = 33503,
    kCmdFormatMinutes = 33504,
    kCmdFormatSeconds = 33505,
    kCmdSoundAll = 33506,
    kCmdReferenceFromAverage = 33507,
    kCmdReferenceFromCurrent = 33508,
    kCmdAveragingParameters = 33509,
    kCmdSetGpsInterface = 33510,
    kCmdUnused33511 = 33511,
    kCmdReferenceManual = 33512,
    kCmdTimingParameters = 33513,
    kCmdReceiverParameters = 33515,
    kCmdNewGpsLog = 33516,
    kCmdOpenGpsLog = 33517,
    kCmdCloseGpsLog = 33519,
    kCmdSoundOutOfLock = 33520,
    kCmdSoundNone = 33521,
    kCmdSetPcClock = 33522,
    kCmdSoundTicks = 33523,
    kCmdSkyPlot = 33524,
    kCmdManualCommands = 33525,
    kCmdUnused33526 = 33526,
    kCmdUnused33527 = 33527,
    kCmdUnused33528 = 33528,
    kCmdUnused33530 = 33530,
    kCmdUnused33531 = 33531,
    kCmdSelfTest = 33532,
    kCmdSelfSurvey = 33533,
    kCmdManualSatelliteSelect = 33535,
    kCmdDisplayUtc = 33540,
    kCmdDisplayPc = 33541,
    kCmdDisplayGmst = 33542,
    kCmdDisplayLmst = 33543,
    kCmdDisplayPcMinusUtc = 33544,
    kCmdUnused33545 = 33545,
    kCmdDisplayMjd = 33550,
    kCmdUnused33554 = 33554,
    kCmdFirmwareUpload = 33555,
};

// Timers of the view window.
enum ViewTimer : UINT {
    kTimerTickIcon = 1,
    kTimerWatchdog = 3,
    kTimerAntenna = 4,
    kTimerLinkRetry = 5,
};
constexpr UINT kTickIconFlashMs = 300;
constexpr UINT kWatchdogRestartPeriodMs = 30000;
constexpr UINT kAntennaPeriodMs = 4200000;
// How often a lost port is tried again.
constexpr UINT kLinkRetryPeriodMs = 3000;

// Custom messages of the view (WM_APP = 0x8000).
constexpr UINT kMsgSatsGridRefresh = 0x8000 + 0x0D;
constexpr UINT kMsgStartGpsInit = 0x8000 + 0x13;
// A log failure waiting to be shown once the tick that found it is over.
constexpr UINT kMsgShowLogFailure = 0x8000 + 0x20;

// The display command of each clock display mode 0..5, and the mode of a display command (-1 for none).
UINT DisplayModeCommand(int mode);
int DisplayModeFromCommand(UINT command);

// Enabling rules of the receiver-dependent commands, from the interface mode, the receiver's model code and
// the flags of the identified receiver.
struct ViewCommandState {
    int interfaceMode = 0;
    int model = 0;
    BOOL plusModel = FALSE;
    BOOL receiverNotFound = FALSE;
};
bool IsViewCommandEnabled(UINT command, const ViewCommandState& state);
// The commands that talk to the receiver or set it up again: unavailable while an initialisation runs.
bool CommandNeedsIdleReceiver(UINT command);

// The follow-up after a new reference location, a confirmed timing dialog and a confirmed receiver parameters
// dialog: send the set-up, run the initialisation again, or nothing.
enum class SetupFollowUp { kNothing, kSendSetup, kInitialise };
SetupFollowUp ReferenceFollowUp(int interfaceMode);
SetupFollowUp TimingFollowUp(int interfaceMode);
SetupFollowUp ReceiverParametersFollowUp(int interfaceMode);

// The self-test command for the receiver model ("@@Ia" or "@@Fa") and the self-survey command for the
// interface mode and channel count (the UBX frame without its checksum).
CString SelfTestCommand(int model);
CString SelfSurveyCommand(int interfaceMode, int activeChannels);
