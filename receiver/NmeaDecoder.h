// Decodes the NMEA sentences of the "$GP" talker and the "$PGRM" answers into the view: the time of the
// coming tick (and the clock setting when no tick came), the fix, DOPs, satellites, the receiver-ID window
// and the GGA-based PVT record. The view owns one decoder for the whole run.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/DecoderView.h"

class NmeaDecoder {
public:
    explicit NmeaDecoder(DecoderView& view) : m_view(view) {}

    // The sentence as the framer left it ("*hh" checked and removed). TRUE when recognised and its fields
    // were good.
    BOOL DecodeNmeaSentence(CString sentence);

    // Takes the first comma-separated field off the front of the sentence. An empty field becomes the
    // default; the field is trimmed afterwards, so blanks give an empty text rather than the default.
    static CString NextNmeaField(CString& sentence, LPCTSTR defaultText);

    const CString& GetPvtRecord() const { return m_pvtRecord; }
    const CString& GetFixText() const { return m_fixText; }
    const CString& GetDopText() const { return m_dopText; }

private:
    enum Kind { kZda, kGsa, kGsv, kGll, kRmc, kVtg, kPgrmt, kPgrmi, kPgrmc, kPgrmo, kKindCount };

    // TRUE when the sentence repeats the last of its kind; otherwise it becomes the last.
    bool IsRepeat(Kind kind, const CString& sentence);
    bool WantsRecord() const;

    BOOL DecodeZda(CString fields);
    BOOL DecodeGga(CString fields);
    BOOL DecodeGsa(CString sentence);
    BOOL DecodeGsv(CString sentence);
    // Answers FALSE, TRUE or -1: TRUE without the PVT write (status not "A").
    int DecodeRmc(CString fields);
    void DecodePgrmt(CString fields);
    void DecodePgrmi(CString fields);
    void DecodePgrmc(CString fields);
    void DecodePgrmo(CString fields);

    DecoderView& m_view;
    CString m_lastSentence[kKindCount];
    CString m_pvtRecord;
    CString m_fixText;
    CString m_dopText;
};
