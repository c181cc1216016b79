// Visible satellites ("@@Bb", merged into the channel table) and the almanac, ephemeris and raw-data
// messages, which only become text.
#include "receiver/OncoreDecoder.h"

#include <algorithm>

void OncoreDecoder::DecodeBb(const OncoreMessage& m, Texts& t) {
    if (m.Length() <= 4) {
        return;
    }
    if (t.wanted) {
        t.text.Format(u"@@Bb %u ", m.U8(4));
    }
    const int count = std::min(static_cast<int>(m.U8(4)), 12);
    if (m.Length() <= 7 * count + 4) {
        return;
    }
    SatelliteChannelTable& table = m_view.SatTable();
    const int active = m_view.GetActiveChannels();
    for (int i = 0; i < kSatelliteChannelRows; ++i) {
        if (i >= active) {
            table[i].prn = 256;
            table[i].signal = 0;
        }
        table[i].elevation = 0;
        table[i].azimuth = 0;
        table[i].trend = 0;
    }
    for (int k = 0; k < count; ++k) {
        const int at = 5 + 7 * k;
        const int id = static_cast<int>(m.U8(at));
        const int doppler = m.S16(at + 1);
        const unsigned elevation = m.U8(at + 3), azimuth = m.U16(at + 4);
        if (t.wanted) {
            t.text.AppendFormat(u"%u %d %u %u %u ", static_cast<unsigned>(id), doppler, elevation, azimuth,
                                m.U8(at + 6));
        }
        for (SatelliteChannelRow& row : table) {
            if (row.prn == id || row.prn == 256) {
                row.prn = id;
                row.elevation = static_cast<int>(elevation);
                row.azimuth = static_cast<int>(azimuth);
                row.trend = doppler >= 0 ? 1 : -1;
                break;
            }
        }
    }
    m_view.UpdateSatsGrid();
}

void OncoreDecoder::DecodeBd(const OncoreMessage& m, Texts& t) {
    switch (m.U8(4)) {
    case 0:
        t.text = u"@@Bd, No almanac in the receiver";
        break;
    case 1:
        t.text = u"@@Bd, Valid almanac in the receiver";
        t.text.AppendFormat(u", week = %u, time = %u, Sats = %u, SV id mask = 0x%02X ", m.U8(5), m.U8(6),
                            m.U8(7), m.U32(8));
        break;
    default:
        t.text = u"@@Bd, Message field error";
        break;
    }
}

void OncoreDecoder::DecodeBfCc(const OncoreMessage& m, Texts& t) {
    t.text = m.Chars(0, 4);
    t.text.AppendFormat(m.Text()[2] == u'C' ? u" Sat %02u, Ephemeris Data Message ECHO"
                                            : u" Sat %02u, Ephemeris Data Message",
                        m.U8(4));
}

void OncoreDecoder::DecodeCb(const OncoreMessage& m, Texts& t) {
    t.text.Format(u"@@Cb SF %u PG %02u DATA:", m.U8(4), m.U8(5));
    for (int at = 6; at < 30; at += 3) {
        t.text.AppendFormat(u" %02X%02X%02X", m.U8(at), m.U8(at + 1), m.U8(at + 2));
    }
}

void OncoreDecoder::DecodeCe(const OncoreMessage& m, Texts& t) {
    t.text.AppendFormat(u"Pseudorange Correction: %3.1f", m.U24(4) * 0.1);
    for (int k = 0; k < 6; ++k) {
        const int at = 7 + 7 * k;
        t.text.AppendFormat(k == 0 ? u" [%i, %4.2f, %5.3f, %i]" : u", [%i, %4.2f, %5.3f, %i]",
                            static_cast<int>(m.U8(at)), m.S24(at + 1) * 0.01, m.S16(at + 4) * 0.001,
                            static_cast<int>(m.U8(at + 6)));
    }
}

void OncoreDecoder::DecodeBgEg(const OncoreMessage& m, Texts& t) {
    if (!WantsRecord()) {
        return;
    }
    const bool eightChannel = m.Text()[2] == u'E';
    const int channels = eightChannel ? 8 : 6;
    CString data;
    data.Format(u"%11.9f,%u,0x%02X", m.U24(4) + m.U32(7) * 1E-9, m.U8(11), m.U8(12));
    for (int k = 0; k < channels; ++k) {
        const int at = 13 + 18 * k;
        const double range = m.U24(at) + m.U32(at + 3) * 1E-9;
        const double phase = m.U16(at + 7) + m.U16(at + 9) / 65536.0;
        data.AppendFormat(u",%11.9f,%6.4f,%u,%i", range, phase, m.U24(at + 11), m.S16(at + 14));
        // The last channel ends after its signed value.
        if (k + 1 < channels) {
            data.AppendFormat(u",%u,0x%02X", m.U8(at + 16), m.U8(at + 17));
        }
    }
    t.text = (eightChannel ? u"@@Eg, " : u"@@Bg, ") + data;
}

void OncoreDecoder::DecodeEq(const OncoreMessage& m, Texts& t) {
    t.text += m.Chars(4, 89);
}

void OncoreDecoder::DecodeSa(const OncoreMessage& m, Texts& t) {
    t.text.AppendFormat(u"%0.2u/%0.2u/%0.4u, %0.2u:%0.2u:%0.2u, SV=%u, ST=%u, ", m.U8(4), m.U8(5), m.U16(6),
                        m.U8(8), m.U8(9), m.U8(10), m.U8(11), m.U8(12));
    for (int k = 0; k < 24; ++k) {
        const int at = 13 + 7 * k;
        t.text.AppendFormat(u"[SVID %0.1u, Type %0.1u, C/No=%0.1u, AZ=%0.1u, EL=%0.1u, Used=%0.1u]", m.U8(at),
                            m.U8(at + 1), m.U8(at + 2), m.U16(at + 3), m.U8(at + 5), m.U8(at + 6));
    }
}

void OncoreDecoder::DecodeTk(const OncoreMessage& m, Texts& t) {
    t.text += m.Chars(4, 55);
    t.text.AppendFormat(u"<%02.2X><%02.2X><%02.2X>", m.U8(59), m.U8(60), m.U8(61));
}

void OncoreDecoder::DecodeTr(const OncoreMessage& m, Texts& t) {
    CString& text = t.text;
    for (int k = 0; k < 12; ++k) {
        const int b = 4 + 49 * k;
        if (k > 0) {
            text += u",";
        }
        text.AppendFormat(u"%0.2u,%u,%0.2u,%u,%0.2u", m.U8(b), m.U8(b + 1), m.U8(b + 2), m.U8(b + 3),
                          m.U8(b + 4));
        text.AppendFormat(u",%11.9f", m.U24(b + 5) + m.U8(b + 8) / 256.0);
        text.AppendFormat(u",%u,%u,%u", m.U8(b + 9), m.U8(b + 10), m.U8(b + 11));
        text.AppendFormat(u",%11.9f", m.S32(b + 12) * 0.06097555160522461);
        text.AppendFormat(u",%06.4f", m.U8(b + 16) + m.U8(b + 17) / 256.0);
        text.AppendFormat(u",%11.9f", m.S32(b + 20) + m.U16(b + 18) / 65536.0);
        text.AppendFormat(u",%11.9f", m.S32(b + 26) + m.U16(b + 24) / 65536.0);
        text.AppendFormat(u",%u", m.U16(b + 30));
        for (int i = 32; i <= 48; ++i) {
            text.AppendFormat(u",%u", m.U8(b + i));
        }
    }
    text.AppendFormat(u",%u", m.U16(592));
}
