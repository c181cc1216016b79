// Which receiver is attached: set by identification, read by the decoders, the dialogs and the firmware
// upload. The model table holds everything that depends on the model code: its name, its family and the
// set-up, decoding and clock rules that differ between models. Nothing else lists model codes.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

#include <span>

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

// The product lines the receiver-parameters defaults and the brand-specific commands tell apart.
enum class ReceiverFamily : unsigned char {
    kNone, // not identified, or a code never assigned
    kGenericNmea,
    kUblox,
    kGtSl,     // GT, GT+, SL
    kUt,       // UT, UT+
    kConexant, // CNXT/NVMN
    kVpXt,     // PVT6, VP, XT
    kM12,      // M12, M12+, M12M, SIGNAV, TX Oncore
    kWqt6T,    // WQT-6Tf, WQT-6Tr
    kWqtM8,    // WQT-M8F, WQT-M8T: multi-constellation, they alone answer the "@@S" commands
};

// The rules that hold for some models only, one bit each.
enum ReceiverRule : unsigned {
    kTwelveChannelFamily = 1u << 0, // gets "@@Gk", "@@AQ", the "@@Ia" self test and the 12-channel set-ups
    kLeapSecondPollGj = 1u << 1,    // the leap second is polled with "@@Gj", not "@@Bj"
    kOneSecondRule = 1u << 2,       // the clock step's one-second rule applies
    kNewTimingCommands = 1u << 3,   // the timing set-up sends "@@Ay" and "@@Az" without "@@Ax"
    kSelfSurvey = 1u << 4,          // offers the receiver's own position survey
    kSelfTestLayoutB = 1u << 5,     // the "@@Fa" result word has the second layout (no antenna bits)
    kTraimConditionedWithoutTraim = 1u << 6, // the T-RAIM conditioned pulse works without the T-RAIM option
    kFixedTimingDelays = 1u << 7,            // the timing dialog cannot change the receiver's delays
    kDopWeighting = 1u << 8,                 // averaging may weigh positions by DOP in the binary modes
    kPulseModeFixed = 1u << 9,               // one pulse a second only; its duration from firmware 3.299 on
    kManualSatelliteSelect = 1u << 10,       // the manual satellite selection is offered
    kLogSignalLevels = 1u << 11,             // "@@Ba" and "@@Ea" give signal levels on a logarithmic scale
    kHeightsByFirmware = 1u << 12,           // firmware before 8.8 fills the NMEA height fields differently
    // A mean-sea-level height of 0 means none (the geoid gives it) in "@@Ea", "@@Ba", and "@@Ha" and "@@Hb".
    kGeoidInEa = 1u << 13,
    kGeoidInBa = 1u << 14,
    kGeoidInHa = 1u << 15,
    kWideIds = 1u << 16,     // satellite ids above 32 are kept in "@@Ea" and "@@Ha"
    kWideIdsInBa = 1u << 17, // and in "@@Ba"
};

struct ReceiverModelInfo {
    int code;
    LPCTSTR name; // the name in the identity line; none for a code without a model
    ReceiverFamily family;
    int channels;   // the channel count assumed when initialisation is minimised
    int errorTerm1; // the two timing error terms of the model
    int errorTerm2;
    int gsvSignalOffset;         // taken off an NMEA satellite signal for the Eb/No scale; 0 keeps it
    double defaultReceiverDelay; // the timing dialog's Defaults, in microseconds
    unsigned rules;              // ReceiverRule bits

    bool Has(ReceiverRule rule) const { return (rules & rule) != 0; }
    // A model that speaks the Motorola Oncore binary protocol.
    bool IsOncore() const {
        return family != ReceiverFamily::kNone && family != ReceiverFamily::kGenericNmea &&
               family != ReceiverFamily::kUblox;
    }
    // The brand's own receivers: they have "+" variants, always 12 channels and a firmware upload.
    bool IsWqt() const { return family == ReceiverFamily::kWqt6T || family == ReceiverFamily::kWqtM8; }
};

// Every row of the table, in the order of the codes.
std::span<const ReceiverModelInfo> ReceiverModels();
// The table row of any code; codes without a model (0, 12 to 16, 19 and any outside 1-24) have no name,
// channels or error terms.
const ReceiverModelInfo& ReceiverModel(int code);
// The table entry of a named model; null for 0, the unassigned codes 12, 13, 15 and 16, the generic NMEA
// and u-blox codes and anything outside 1-24.
const ReceiverModelInfo* FindReceiverModel(int code);
// The model's name, empty when it has none.
CString ReceiverModelName(int code);
bool IsTwelveChannelModel(int code);
// The leap-second poll of an Oncore model: "@@Gj" or "@@Bj".
CString LeapSecondPollCommand(int code);

// Firmware thresholds compare in single precision, as the version is held: a receiver reporting "8.9" is
// from version 8.9 on.
inline bool FirmwareBelow(float version, float threshold) {
    return version < threshold;
}
