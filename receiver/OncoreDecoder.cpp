#include "receiver/OncoreDecoder.h"

#include "platform/base/TimeConversions.h"
#include "receiver/MotorolaFramer.h"

#include <string_view>

namespace {

constexpr unsigned Id(char first, char second) {
    return (static_cast<unsigned>(first) << 8) | static_cast<unsigned char>(second);
}

} // namespace

OncoreDecoder::Handler OncoreDecoder::FindHandler(char16_t first, char16_t second) {
    if (first > 0x7F || second > 0x7F) {
        return nullptr;
    }
    const unsigned id = Id(static_cast<char>(first), static_cast<char>(second));
    if (first == u'A' && ((second >= u'a' && second <= u'z') ||
                          std::u16string_view(u"ABCDEJMNOPQS").find(second) != std::u16string_view::npos)) {
        return &OncoreDecoder::DecodeEcho;
    }
    switch (id) {
    case Id('B', 'a'):
        return &OncoreDecoder::DecodeBa;
    case Id('E', 'a'):
        return &OncoreDecoder::DecodeEa;
    case Id('H', 'a'):
        return &OncoreDecoder::DecodeHa;
    case Id('H', 'b'):
        return &OncoreDecoder::DecodeHb;
    case Id('H', 'r'):
        return &OncoreDecoder::DecodeHr;
    case Id('B', 'o'):
        return &OncoreDecoder::DecodeBo;
    case Id('B', 'j'):
        return &OncoreDecoder::DecodeBj;
    case Id('G', 'j'):
        return &OncoreDecoder::DecodeGj;
    case Id('B', 'n'):
    case Id('E', 'n'):
        return &OncoreDecoder::DecodeBnEn;
    case Id('H', 'n'):
        return &OncoreDecoder::DecodeHn;
    case Id('B', 'k'):
    case Id('E', 'k'):
        return &OncoreDecoder::DecodeBkEk;
    case Id('C', 'k'):
        return &OncoreDecoder::DecodeCk;
    case Id('B', 'b'):
        return &OncoreDecoder::DecodeBb;
    case Id('B', 'd'):
        return &OncoreDecoder::DecodeBd;
    case Id('B', 'f'):
    case Id('C', 'c'):
        return &OncoreDecoder::DecodeBfCc;
    case Id('C', 'b'):
        return &OncoreDecoder::DecodeCb;
    case Id('C', 'e'):
        return &OncoreDecoder::DecodeCe;
    case Id('B', 'g'):
    case Id('E', 'g'):
        return &OncoreDecoder::DecodeBgEg;
    case Id('E', 'q'):
        return &OncoreDecoder::DecodeEq;
    case Id('S', 'a'):
        return &OncoreDecoder::DecodeSa;
    case Id('T', 'k'):
        return &OncoreDecoder::DecodeTk;
    case Id('T', 'r'):
        return &OncoreDecoder::DecodeTr;
    case Id('C', 'j'):
        return &OncoreDecoder::DecodeCj;
    case Id('C', 'f'):
    case Id('C', 'g'):
    case Id('G', 'a'):
    case Id('G', 'b'):
    case Id('G', 'c'):
    case Id('G', 'd'):
    case Id('G', 'e'):
    case Id('G', 'f'):
    case Id('G', 'k'):
    case Id('I', 'r'):
    case Id('S', 'c'):
    case Id('S', 'm'):
    case Id('S', 'o'):
    case Id('S', 'p'):
    case Id('S', 't'):
    case Id('S', 'x'):
    case Id('S', 'z'):
    case Id('T', 'j'):
    case Id('T', 'm'):
    case Id('W', 'b'):
    case Id('W', 'm'):
    case Id('W', 'o'):
    case Id('W', 'p'):
    case Id('W', 'q'):
    case Id('W', 's'):
        return &OncoreDecoder::DecodeEcho;
    case Id('C', 'a'):
        return &OncoreDecoder::DecodeCa;
    case Id('F', 'a'):
        return &OncoreDecoder::DecodeFa;
    case Id('I', 'a'):
        return &OncoreDecoder::DecodeIa;
    case Id('B', 'c'):
    case Id('B', 'l'):
    case Id('C', 'd'):
    case Id('C', 'h'):
    case Id('E', 'c'):
        return &OncoreDecoder::DecodeNothing;
    default:
        return nullptr;
    }
}

int OncoreDecoder::RequiredLength(char16_t first, char16_t second) {
    const unsigned id =
        first <= 0x7F && second <= 0x7F ? Id(static_cast<char>(first), static_cast<char>(second)) : 0;
    switch (id) {
    // These check their own length, or read nothing.
    case Id('H', 'a'):
    case Id('H', 'b'):
    case Id('H', 'r'):
    case Id('H', 'n'):
    case Id('E', 'k'):
    case Id('C', 'j'):
    case Id('B', 'b'):
    case Id('A', 'o'):
    case Id('B', 'c'):
    case Id('B', 'l'):
    case Id('C', 'd'):
    case Id('C', 'h'):
    case Id('E', 'c'):
        return -1;
    // Never framed: no table length, but their text runs to byte 18.
    case Id('W', 'p'):
    case Id('W', 'q'):
        return 19;
    default:
        break;
    }
    const int length = OncoreMessageLength(first, second);
    return length > 0 ? length - 3 : -1;
}

CString OncoreDecoder::DecodeOncoreMessage(const CString& message) {
    if (message.GetLength() < 4 || message[0] != u'@' || message[1] != u'@') {
        return CString();
    }
    m_view.WriteBinaryLogMessage(message);

    Texts texts;
    texts.text = message.Left(4) + u" ";
    const OncoreMessage m(message);
    const Handler handler = FindHandler(message[2], message[3]);
    if (handler != nullptr) {
        // A message that is not as long as its id says is not taken: its fields are not where they belong.
        const int required = RequiredLength(message[2], message[3]);
        const bool fits = required < 0 || message.GetLength() == required ||
                          (required == 19 && message.GetLength() >= required);
        if (fits && (this->*handler)(m, texts) == Ending::Alone) {
            return texts.text;
        }
    }

    if (texts.text.GetLength() == 5) {
        texts.text += u"...";
    }
    texts.text += u"\n";
    m_view.WritePvtLogLine(texts.record);
    return texts.text;
}

void OncoreDecoder::TakeTickTime(const OncoreMessage& m, bool full) {
    const float fraction = static_cast<float>(m.U32(11)) * 1E-9f;
    m_view.RxSecondFraction() = fraction;
    m_view.RxSeconds() = static_cast<float>(m.U8(10)) + fraction;

    CTime& rxTime = m_view.RxTime();
    const unsigned month = m.U8(4), day = m.U8(5), year = m.U16(6);
    if (day >= 1 && day <= 31 && month >= 1 && month <= 12 && year >= 1900 && year <= 2999) {
        // A UTC instant, never pushed through the PC's time zone. Rounding and the local-time shift belong to
        // a time just taken: an older one had them already.
        __time64_t time = DaysFromCivil(year, month, day) * 86400 + m.U8(8) * 3600 + m.U8(9) * 60 + m.U8(10);
        if (fraction >= 0.5f) {
            time += 1;
        }
        if (m_view.IsGpsRxOnLocalTime()) {
            time += static_cast<__time64_t>(m_view.GetTimeZoneBiasMin()) * 60;
        }
        rxTime = CTime(time);
        if (!full) {
            // The short message's time is also that of the last edge: a tick before the next full message
            // must find the next edge's time, or the clock is set a second behind.
            AdvanceReceiverTime(rxTime, 1);
        }
    }
    if (!full) {
        return;
    }
    if (!m_view.TickHandled()) {
        m_view.SyncPcClock();
        m_view.DecoderTicks() = TRUE;
        m_view.UpdateClockDisplay();
    }
    m_view.TickHandled() = FALSE;
    AdvanceReceiverTime(rxTime, 1);
}

void OncoreDecoder::SetChannelRows(const SatelliteChannelTable& rows, int filled) {
    SatelliteChannelTable& table = m_view.SatTable();
    for (int i = 0; i < kSatelliteChannelRows; ++i) {
        SatelliteChannelRow& row = table[i];
        if (i < filled) {
            row.prn = rows[i].prn;
            row.state = rows[i].state;
            row.signal = rows[i].signal;
            row.used = rows[i].used;
        } else {
            row = SatelliteChannelTables::m_emptySatRow;
        }
    }
}

OncoreDecoder::Ending OncoreDecoder::DecodeNothing(const OncoreMessage&, Texts&) {
    return Ending::Common;
}
