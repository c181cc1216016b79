#include "receiver/OncoreDecoder.h"

#include "platform/base/TimeConversions.h"

OncoreDecoder::Handler OncoreDecoder::HandlerOf(OncoreHandler handler) {
    using H = OncoreHandler;
    switch (handler) {
    case H::kNone:
        return nullptr;
    case H::kNothing:
        return &OncoreDecoder::DecodeNothing;
    case H::kBa:
        return &OncoreDecoder::DecodeBa;
    case H::kEa:
        return &OncoreDecoder::DecodeEa;
    case H::kHa:
        return &OncoreDecoder::DecodeHa;
    case H::kHb:
        return &OncoreDecoder::DecodeHb;
    case H::kHr:
        return &OncoreDecoder::DecodeHr;
    case H::kBo:
        return &OncoreDecoder::DecodeBo;
    case H::kBj:
        return &OncoreDecoder::DecodeBj;
    case H::kGj:
        return &OncoreDecoder::DecodeGj;
    case H::kBnEn:
        return &OncoreDecoder::DecodeBnEn;
    case H::kHn:
        return &OncoreDecoder::DecodeHn;
    case H::kBkEk:
        return &OncoreDecoder::DecodeBkEk;
    case H::kCk:
        return &OncoreDecoder::DecodeCk;
    case H::kBb:
        return &OncoreDecoder::DecodeBb;
    case H::kBd:
        return &OncoreDecoder::DecodeBd;
    case H::kBfCc:
        return &OncoreDecoder::DecodeBfCc;
    case H::kCb:
        return &OncoreDecoder::DecodeCb;
    case H::kCe:
        return &OncoreDecoder::DecodeCe;
    case H::kBgEg:
        return &OncoreDecoder::DecodeBgEg;
    case H::kEq:
        return &OncoreDecoder::DecodeEq;
    case H::kSa:
        return &OncoreDecoder::DecodeSa;
    case H::kTk:
        return &OncoreDecoder::DecodeTk;
    case H::kTr:
        return &OncoreDecoder::DecodeTr;
    case H::kCj:
        return &OncoreDecoder::DecodeCj;
    case H::kEcho:
        return &OncoreDecoder::DecodeEcho;
    case H::kCa:
        return &OncoreDecoder::DecodeCa;
    case H::kFa:
        return &OncoreDecoder::DecodeFa;
    case H::kIa:
        return &OncoreDecoder::DecodeIa;
    }
    return nullptr;
}

CString OncoreDecoder::DecodeOncoreMessage(const CString& message) {
    if (message.GetLength() < 4 || message[0] != u'@' || message[1] != u'@') {
        return CString();
    }
    m_view.WriteBinaryLogMessage(message);

    Texts texts;
    texts.text = message.Left(4) + u" ";
    const OncoreMessageKind* kind = FindOncoreMessage(message[2], message[3]);
    if (kind != nullptr && kind->handler != OncoreHandler::kNone) {
        // A message that is not as long as its id says is not taken: its fields are not where they belong.
        if (kind->TakesLength(message.GetLength())) {
            Decode(*kind, OncoreMessage(message), texts);
        } else if (kind->lengthError != nullptr) {
            return kind->lengthError;
        }
    }

    if (texts.text.GetLength() == 5) {
        texts.text += u"...";
    }
    texts.text += u"\n";
    m_view.WritePvtLogLine(texts.record);
    return texts.text;
}

void OncoreDecoder::Decode(const OncoreMessageKind& kind, const OncoreMessage& m, Texts& t) {
    const bool idWindowReads =
        m_view.HasRxIdDialog() &&
        (kind.rxIdWindow == RxIdWindowUse::kAddsText ||
         (kind.rxIdWindow == RxIdWindowUse::kAddsTraimStatusOnce && m_view.ShowTraimStatusOnce()));
    t.wanted = WantsRecord() || idWindowReads;
    if (kind.rxIdWindow == RxIdWindowUse::kReplacesText && m_view.HasRxIdDialog()) {
        m_view.RxIdSetText(m.Text());
    }
    (this->*HandlerOf(kind.handler))(m, t);
    switch (kind.rxIdWindow) {
    case RxIdWindowUse::kAddsText:
        if (m_view.HasRxIdDialog()) {
            m_view.RxIdAddText(t.text);
        }
        break;
    case RxIdWindowUse::kAddsTraimStatusOnce:
        if (m_view.ShowTraimStatusOnce() && m_view.HasRxIdDialog()) {
            m_view.ShowTraimStatusOnce() = FALSE;
            m_view.RxIdAddText(t.text);
        }
        break;
    default: // the window has been given what it gets, or gets nothing
        break;
    }
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
        rxTime = ReceiverTickTime(m_view, time);
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

void OncoreDecoder::DecodeNothing(const OncoreMessage&, Texts&) {}
