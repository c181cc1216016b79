// Decodes the Motorola Oncore binary messages into the view: the time of the coming tick (and the clock
// setting when no tick came), position, fix and antenna state, DOPs, leap-second and T-RAIM state, the
// satellite channel table, the receiver identity, configuration echoes and self-test reports. Each call
// answers the one-line text for the raw-data window. The decoder keeps nothing between calls (it may be
// entered again while a call runs: a self-test report sends a command, and the send decodes what is queued).
#pragma once

#include "platform/base/CString.h"
#include "receiver/OncoreMessage.h"
#include "receiver/OncoreView.h"

class OncoreDecoder {
public:
    explicit OncoreDecoder(OncoreView& view) : m_view(view) {}

    // The message without checksum, CR and LF. Empty when it is not an "@@" message of at least 4 units;
    // otherwise the text ends with a line feed, but for the four length-error texts ("@@Ha ????", ...).
    CString DecodeOncoreMessage(const CString& message);

private:
    // The texts of one call.
    struct Texts {
        CString text;   // returned to the caller
        CString record; // the PVT record
    };
    enum class Ending {
        Common, // the common end: "..." when nothing was added, "\n", the PVT record
        Alone,  // the text is returned as it is, without the common end
    };
    using Handler = Ending (OncoreDecoder::*)(const OncoreMessage&, Texts&);

    static Handler FindHandler(char16_t first, char16_t second);
    // The length a handled message must have, -1 when the handler checks it itself or reads nothing.
    static int RequiredLength(char16_t first, char16_t second);
    bool WantsRecord() const { return m_view.IsRawWindowShown() || m_view.IsLogSecond(); }

    // Time of the next tick from a position message; `full` adds the local-time shift, the clock step and
    // the advance to the next tick.
    void TakeTickTime(const OncoreMessage& m, bool full);
    // Rows below `filled` take the channel's prn, state, signal and used (their sky position stays, "@@Bb"
    // keeps it); the rest become empty rows.
    void SetChannelRows(const SatelliteChannelTable& rows, int filled);

    // Position and status.
    Ending DecodeBa(const OncoreMessage& m, Texts& t);
    Ending DecodeEa(const OncoreMessage& m, Texts& t);
    Ending DecodeBaEa(const OncoreMessage& m, Texts& t, bool eightChannel);
    Ending DecodeHa(const OncoreMessage& m, Texts& t);
    Ending DecodeHb(const OncoreMessage& m, Texts& t);
    Ending DecodeHr(const OncoreMessage& m, Texts& t);
    // Time, T-RAIM and DOP.
    Ending DecodeBo(const OncoreMessage& m, Texts& t);
    Ending DecodeBj(const OncoreMessage& m, Texts& t);
    Ending DecodeGj(const OncoreMessage& m, Texts& t);
    Ending DecodeBnEn(const OncoreMessage& m, Texts& t);
    Ending DecodeHn(const OncoreMessage& m, Texts& t);
    Ending DecodeBkEk(const OncoreMessage& m, Texts& t);
    Ending DecodeCk(const OncoreMessage& m, Texts& t);
    void ShowTraimStatusOnce(const CString& text);
    // Satellites, almanac, ephemeris, raw data.
    Ending DecodeBb(const OncoreMessage& m, Texts& t);
    Ending DecodeBd(const OncoreMessage& m, Texts& t);
    Ending DecodeBfCc(const OncoreMessage& m, Texts& t);
    Ending DecodeCb(const OncoreMessage& m, Texts& t);
    Ending DecodeCe(const OncoreMessage& m, Texts& t);
    Ending DecodeBgEg(const OncoreMessage& m, Texts& t);
    Ending DecodeEq(const OncoreMessage& m, Texts& t);
    Ending DecodeSa(const OncoreMessage& m, Texts& t);
    Ending DecodeTk(const OncoreMessage& m, Texts& t);
    Ending DecodeTr(const OncoreMessage& m, Texts& t);
    // Identification.
    Ending DecodeCj(const OncoreMessage& m, Texts& t);
    // Configuration echoes and receiver-specific answers.
    Ending DecodeEcho(const OncoreMessage& m, Texts& t);
    // Self tests.
    Ending DecodeCa(const OncoreMessage& m, Texts& t);
    Ending DecodeFa(const OncoreMessage& m, Texts& t);
    Ending DecodeIa(const OncoreMessage& m, Texts& t);
    void FinishSelfTest(const CString& report);
    // Recognised messages that add nothing.
    Ending DecodeNothing(const OncoreMessage& m, Texts& t);

    OncoreView& m_view;
};

// What the identification text says about the receiver.
struct OncoreIdentity {
    bool recognised = false; // a known manufacturer: the fields below apply
    int model = 0;
    bool plus = false;
    CString versionText;
    float firmwareVersion = 0.0f;
};

// Reads an "@@Cj" text (at least 123 units); `previousVersion` is kept when no number can be read.
OncoreIdentity IdentifyOncoreReceiver(const CString& message, float previousVersion);
// The model code of the Motorola model-number rules (the trimmed model number), 0 when no rule matches.
int OncoreModelFromNumber(const CString& modelNumber);
