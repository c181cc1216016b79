// Decodes the Motorola Oncore binary messages into the view: the time of the coming tick (and the clock
// setting when no tick came), position, fix and antenna state, DOPs, leap-second and T-RAIM state, the
// satellite channel table, the receiver identity, configuration echoes and self-test reports. Each call
// answers the one-line text for the raw-data window. The decoder keeps nothing between calls (it may be
// entered again while a call runs: a self-test report sends a command, and the send decodes what is queued).
#pragma once

#include "platform/base/CString.h"
#include "receiver/OncoreMessage.h"
#include "receiver/OncoreMessageTable.h"
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
        // Someone reads the text: the raw-data window or log, or the receiver-ID window. The frequent
        // messages whose text only goes there leave it at its head while nobody does.
        bool wanted = true;
    };
    using Handler = void (OncoreDecoder::*)(const OncoreMessage&, Texts&);

    static Handler HandlerOf(OncoreHandler handler);
    // A message its table entry takes: the handler, and what the receiver-ID window gets of it.
    void Decode(const OncoreMessageKind& kind, const OncoreMessage& m, Texts& t);
    bool WantsRecord() const { return m_view.IsRawWindowShown() || m_view.IsLogSecond(); }

    // Time of the next tick from a position message; `full` adds the local-time shift, the clock step and
    // the advance to the next tick.
    void TakeTickTime(const OncoreMessage& m, bool full);
    // Rows below `filled` take the channel's prn, state, signal and used (their sky position stays, "@@Bb"
    // keeps it); the rest become empty rows.
    void SetChannelRows(const SatelliteChannelTable& rows, int filled);

    // Position and status.
    void DecodeBa(const OncoreMessage& m, Texts& t);
    void DecodeEa(const OncoreMessage& m, Texts& t);
    void DecodeBaEa(const OncoreMessage& m, Texts& t, bool eightChannel);
    void DecodeHa(const OncoreMessage& m, Texts& t);
    void DecodeHb(const OncoreMessage& m, Texts& t);
    void DecodeHr(const OncoreMessage& m, Texts& t);
    // Time, T-RAIM and DOP.
    void DecodeBo(const OncoreMessage& m, Texts& t);
    void DecodeBj(const OncoreMessage& m, Texts& t);
    void DecodeGj(const OncoreMessage& m, Texts& t);
    void DecodeBnEn(const OncoreMessage& m, Texts& t);
    void DecodeHn(const OncoreMessage& m, Texts& t);
    void DecodeBkEk(const OncoreMessage& m, Texts& t);
    void DecodeCk(const OncoreMessage& m, Texts& t);
    // Satellites, almanac, ephemeris, raw data.
    void DecodeBb(const OncoreMessage& m, Texts& t);
    void DecodeBd(const OncoreMessage& m, Texts& t);
    void DecodeBfCc(const OncoreMessage& m, Texts& t);
    void DecodeCb(const OncoreMessage& m, Texts& t);
    void DecodeCe(const OncoreMessage& m, Texts& t);
    void DecodeBgEg(const OncoreMessage& m, Texts& t);
    void DecodeEq(const OncoreMessage& m, Texts& t);
    void DecodeSa(const OncoreMessage& m, Texts& t);
    void DecodeTk(const OncoreMessage& m, Texts& t);
    void DecodeTr(const OncoreMessage& m, Texts& t);
    // Identification.
    void DecodeCj(const OncoreMessage& m, Texts& t);
    // Configuration echoes and receiver-specific answers.
    void DecodeEcho(const OncoreMessage& m, Texts& t);
    // Self tests.
    void DecodeCa(const OncoreMessage& m, Texts& t);
    void DecodeFa(const OncoreMessage& m, Texts& t);
    void DecodeIa(const OncoreMessage& m, Texts& t);
    void FinishSelfTest(const CString& report);
    // Recognised messages that add nothing.
    void DecodeNothing(const OncoreMessage& m, Texts& t);

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
