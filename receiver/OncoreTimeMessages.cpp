// The time, T-RAIM and DOP messages: GPS-UTC offset, leap-second warnings, T-RAIM status, DOPs and the
// differential-correction age.
#include "receiver/OncoreDecoder.h"

namespace {

const char16_t* Word(unsigned value, std::initializer_list<const char16_t*> words,
                     const char16_t* otherwise) {
    if (value < words.size()) {
        return words.begin()[value];
    }
    return otherwise;
}

} // namespace

void OncoreDecoder::DecodeBo(const OncoreMessage& m, Texts& t) {
    m_view.GpsUtcOffsetSec() = static_cast<LONG>(m.U8(4));
    if (!t.wanted) {
        return;
    }
    t.text.Format(u"@@Bo - UTC offset = %i seconds", static_cast<int>(m.U8(4)));
}

void OncoreDecoder::DecodeBj(const OncoreMessage& m, Texts& t) {
    const unsigned pending = m.U8(4);
    m_view.LeapSecondPending() = static_cast<int>(pending);
    if (pending <= 2) {
        t.text = Word(pending,
                      {u"@@Bj No leap second pending", u"@@Bj Addition of one leap second is pending",
                       u"@@Bj Subtraction of one leap second is pending"},
                      u"");
    }
}

void OncoreDecoder::DecodeGj(const OncoreMessage& m, Texts& t) {
    const unsigned present = m.U8(4), future = m.U8(5);
    const int year = static_cast<int>(m.U16(6)), month = static_cast<int>(m.U8(8)),
              day = static_cast<int>(m.U8(9));
    int& pending = m_view.LeapSecondPending();
    pending = 0;
    const int nowYear = m_view.GetGpsTimeYear(), nowMonth = m_view.GetGpsTimeMonth(),
              nowDay = m_view.GetGpsTimeDay();
    const bool comingUp = year > nowYear || (year == nowYear && month > nowMonth) ||
                          (year == nowYear && month == nowMonth && day >= nowDay);
    if (comingUp) {
        pending = future > present ? 1 : future < present ? 2 : 0;
    }
    t.text.Format(u"@@Gj,%i,%i,%u,%u,%u,%u.%.9u,%u,%u,%u", static_cast<int>(present),
                  static_cast<int>(future), m.U16(6), m.U8(8), m.U8(9), m.U8(10), m.U32(11), m.U8(15),
                  m.U8(16), m.U8(17));
}

void OncoreDecoder::DecodeBnEn(const OncoreMessage& m, Texts& t) {
    if (!t.wanted) {
        return;
    }
    const bool eightChannel = m.Text()[2] == u'E';
    CString& text = t.text;
    text = eightChannel ? u"@@En, TRAIM (8-ch) " : u"@@Bn, TRAIM (6-ch) ";
    text += Word(m.U8(5), {u"DISBLED", u"ENABLED"}, u"ERROR");
    text.AppendFormat(u", limit = %03u nsec, ", m.U16(6) * 100);
    text += Word(m.U8(8),
                 {u"1PPS is OFF always", u"1PPS is ON always", u"1PPS is ON if tracking 1+ satellites",
                  u"1PPS is ON if T-RAIM is OK"},
                 u"1PPS state ERROR");
    text += u", ";
    for (int at = 9; at <= 18; ++at) {
        text.AppendFormat(u"%u", m.U8(at));
    }
    text += u", pulse status is ";
    text += Word(m.U8(19), {u"OFF", u"ON"}, u"ERROR");
    text += u", 1PPS pulse sync is ";
    text += Word(m.U8(20), {u"referenced to UTC", u"referenced to GPS"}, u"ERROR");
    text += u", Time RAIM solution status is ";
    text += Word(m.U8(21), {u"OK", u"ALARM", u"UNKNOWN"}, u"ERROR");
    text += u", Time RAIM status is ";
    text += Word(m.U8(22),
                 {u"detection and isolation possible", u"detection only possible",
                  u"neither detection or isolation possible"},
                 u"ERROR");
    text.AppendFormat(u", Sawtooth = %05.2f, One-Sigma Accuracy = %i", static_cast<double>(m.S8(25)),
                      static_cast<int>(m.U16(23)));
    const int satellites = eightChannel ? 8 : 6;
    for (int k = 0; k < satellites; ++k) {
        const int at = 26 + 5 * k;
        text.AppendFormat(u", %u, %11.9f", m.U8(at), m.U32(at + 1) * 1E-9);
    }
}

void OncoreDecoder::DecodeHn(const OncoreMessage& m, Texts& t) {
    if (!t.wanted) {
        return;
    }
    CString& text = t.text;
    text += u", Pulse ";
    text += m.U8(4) == 0 ? u"off" : u"on";
    text += u", 1PPS Ref to ";
    text += m.U8(5) == 0 ? u"UTC" : u"GPS";
    text += u", T-RAIM Solution Status ";
    text += Word(m.U8(6), {u"OK", u"ALARM"}, u"UNKNOWN");
    text += u", T-RAIM Status ";
    text +=
        Word(m.U8(7), {u"Can Detect and Isolate", u"Can Detect But Not Isolate"}, u"Can't Detect or Isolate");
    text.AppendFormat(u", SVIDs Removed= 0x%08X", m.U32(8));
    text.AppendFormat(u", Sawtooth %05.2f, One-Sigma Accuracy %i", static_cast<double>(m.S8(14)),
                      static_cast<int>(m.U16(12)));
    for (int k = 0; k < 12; ++k) {
        const int at = 15 + 5 * k;
        text.AppendFormat(u", %u, %11.9f", m.U8(at), m.U32(at + 1) * 1E-9);
    }
}

void OncoreDecoder::DecodeBkEk(const OncoreMessage& m, Texts& t) {
    const bool eightChannel = m.Text()[2] == u'E';
    const double gdop = m.U16(4) * 0.1, pdop = m.U16(6) * 0.1, hdop = m.U16(8) * 0.1, vdop = m.U16(10) * 0.1,
                 tdop = m.U16(12) * 0.1;
    m_view.GpsNavSetDops(gdop, pdop, hdop, vdop, tdop);
    if (t.wanted) {
        t.text.Format(eightChannel
                          ? u"@@Ek, GDOP = %.1f, PDOP =  %.1f, HDOP =  %.1f, VDOP =  %.1f TDOP = %.1f ... "
                          : u"@@Bk GDOP = %.1f, PDOP =  %.1f, HDOP =  %.1f, VDOP =  %.1f TDOP = %.1f ... ",
                      gdop, pdop, hdop, vdop, tdop);
    }
    if (m_view.DgpsStatus() == 1) {
        const double age = m.U16(22) * 0.1;
        CString cell;
        cell.Format(u"Receiving DGPS, Age %3.1f sec", age);
        if (age <= 0.0) {
            m_view.DgpsStatus() = 0;
        }
        m_view.SetSatsGridCellText(21, 1, cell);
    }
}

void OncoreDecoder::DecodeCk(const OncoreMessage&, Texts& t) {
    t.text = u"@@Ck: incoming DGPS";
    m_view.DgpsStatus() = 1;
}
