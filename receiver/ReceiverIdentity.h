// Which receiver is attached: set by identification, read by the decoders, the dialogs and the firmware
// upload. The model table gives each model code its name and the set-up details that depend on the model.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

// Model codes with a meaning of their own; the named models are in the table.
enum ReceiverModelCode : int {
    kModelUnknown = 0,
    kModelGenericNmea = 14,
    kModelUblox = 19,
};

struct ReceiverIdentity {
    int model = kModelUnknown;
    float firmwareVersion = 0.0f; // parsed from versionText
    CString versionText;
    int activeChannels = 0;
    int nativeChannels = 0; // negative when unknown
    BOOL hasDgps = FALSE;
    BOOL hasTraim = FALSE;
};

extern ReceiverIdentity g_receiverIdentity;
// The identified model is a "+" variant (set by the identification message).
extern BOOL g_receiverPlusModel;
// The last initialisation found no receiver (it enables the firmware upload).
extern BOOL g_receiverNotFound;

struct ReceiverModelInfo {
    int code;
    LPCTSTR name;             // the name in the identity line
    int channels;             // the channel count assumed when initialisation is minimised
    bool twelveChannelFamily; // gets "@@Gj", "@@Gk" and "@@AQ"
    int errorTerm1;           // the two timing error terms of the model
    int errorTerm2;
};

// The table entry of a named model; null for 0, the unassigned codes 12, 13, 15 and 16, the generic NMEA
// and u-blox codes and anything outside 1-24.
const ReceiverModelInfo* FindReceiverModel(int code);
// The model's name, empty when it has none.
CString ReceiverModelName(int code);
bool IsTwelveChannelModel(int code);

// Firmware thresholds compare in single precision, as the version is held: a receiver reporting "8.9" is
// from version 8.9 on.
inline bool FirmwareBelow(float version, float threshold) {
    return version < threshold;
}
