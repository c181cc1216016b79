// Echoes of the set-up commands and the receiver-specific answers: a sentence each, a few with an effect
// (timing offsets, the receiver-mode pane, the 1PPS modem events).
#include "receiver/OncoreDecoder.h"

namespace {

constexpr double kMasPerDegree = 3600000.0;

constexpr unsigned Id(char first, char second) {
    return (static_cast<unsigned>(first) << 8) | static_cast<unsigned char>(second);
}

const char16_t* Word(unsigned value, std::initializer_list<const char16_t*> words,
                     const char16_t* otherwise) {
    return value < words.size() ? words.begin()[value] : otherwise;
}

// The names of the constellation bits joined by the separator.
CString Constellations(unsigned bits, const char16_t* separator) {
    static constexpr const char16_t* kNames[] = {u"GPS",  u"GLONASS",  u"Galileo",  u"Beidou",
                                                 u"QZSS", u"other #1", u"Other #2", u"SBAS"};
    if (bits == 0) {
        return u"NONE (illegal)";
    }
    CString names;
    for (int bit = 0; bit < 8; ++bit) {
        if (bits & (1u << bit)) {
            if (!names.IsEmpty()) {
                names += separator;
            }
            names += kNames[bit];
        }
    }
    return names;
}

} // namespace

void OncoreDecoder::DecodeEcho(const OncoreMessage& m, Texts& t) {
    const unsigned id = Id(static_cast<char>(m.Text()[2]), static_cast<char>(m.Text()[3]));
    const unsigned b4 = m.U8(4);
    CString& text = t.text;
    switch (id) {
    case Id('A', 'a'):
        text.AppendFormat(u"Time set to %02i:%02i:%02i UTC", b4, m.U8(5), m.U8(6));
        break;
    case Id('A', 'b'):
        text.AppendFormat(u"GMT Correction set to %s%02i:%02i", b4 == 0 ? u"+" : u"-", m.U8(5), m.U8(6));
        break;
    case Id('A', 'c'):
        text.AppendFormat(u"Date set to %s %02i, %02i UTC", static_cast<LPCTSTR>(m_view.GetMonthName(b4)),
                          m.U8(5), m.U16(6));
        break;
    case Id('A', 'd'):
        text.AppendFormat(u"Current Latitude set to %010.8f degrees", m.S32(4) / kMasPerDegree);
        break;
    case Id('A', 'e'):
        text.AppendFormat(u"Current Longitude set to %010.8f degrees", m.S32(4) / kMasPerDegree);
        break;
    case Id('A', 'f'):
        text.AppendFormat(u"Current Height set to %04.2f meters (WGS84)", m.S32(4) * 0.01);
        break;
    case Id('A', 'g'):
        text.AppendFormat(u"Elevation limit set to %i degrees", b4);
        break;
    case Id('A', 'h'):
        text += u"Satellite Selection Mode ";
        text += Word(b4, {u"AUTOMATIC (Best Geometry)", u"MANUAL", u"AUTOMATIC HIGHEST-IN-SKY"}, u"ERROR");
        break;
    case Id('A', 'i'):
        text += u"Current Satellite Assignment on Channel ";
        text.AppendFormat(u"%i is Prn %i ", b4, m.U8(5));
        break;
    case Id('A', 'j'):
        text += u"Satellite Selection xDOP: ";
        text += Word(b4, {u"GDOP", u"PDOP", u"HDOP", u"VDOP", u"TDOP"}, u"ERROR");
        break;
    case Id('A', 'k'):
        text += u"Current xDop Hysteresis is ";
        text.AppendFormat(u"%f", m.U16(4) * 0.1);
        break;
    case Id('A', 'l'):
        text += u"Current 3-D to 2-D DOP Threshold is ";
        text.AppendFormat(u"%f", m.U16(4) * 0.1);
        break;
    case Id('A', 'm'):
        text += u"Satellite Ignore List ";
        if (b4 == 0) {
            text.AppendFormat(u"Mask = 0x%08X", m.U32(5));
        } else {
            text += u"ERROR";
        }
        break;
    case Id('A', 'n'):
        text += u"Current Almanac Update Mode is ";
        text += Word(b4, {u"NO-UPDATE", u"UPDATE"}, u"ERROR");
        break;
    case Id('A', 'p'):
        text += u"Datum Parameters: ";
        text.AppendFormat(u"ID %i: semi-major axis %5.3f, inverse flattening %11.9f, delta X %3.1f, delta Y "
                          u"%3.1f, delta Z %3.1f",
                          b4, m.U24(5) + m.U16(8) / 1000.0, m.U16(10) + m.U32(12) * 1E-8, m.S16(16) * 0.1,
                          m.S16(18) * 0.1, m.S16(20) * 0.1);
        break;
    case Id('A', 'q'):
        text += u"Corrections: ";
        text +=
            Word(b4,
                 {u"Ionospheric  and Tropospheric DISABLED", u"Ionospheric ENABLED, Tropospheric DISABLED",
                  u"Ionospheric DISABLED, Tropospheric ENABLED", u"Ionospheric and Tropospheric ENABLED"},
                 u"Ionospheric/Tropospheric MODE ERROR");
        break;
    case Id('A', 'r'):
        text += u"Position Fix Mode ";
        text += Word(b4, {u"BEST-4", u"ALL-IN-VIEW"}, u"ERROR");
        break;
    case Id('A', 's'):
        text.AppendFormat(u"Position-Hold set to  %010.8f, %010.8f, %04.2f", m.S32(4) / kMasPerDegree,
                          m.S32(8) / kMasPerDegree, m.S32(12) * 0.01);
        break;
    case Id('A', 't'):
        text += u"Position Hold Mode ";
        text += Word(b4, {u"DISABLED", u"ENABLED", u"Automatic Site Survey in Progress"}, u"ERROR");
        m_view.SetReceiverModeStatus(static_cast<int>(b4));
        break;
    case Id('A', 'u'):
        text.AppendFormat(u"Altitude-Hold Height set to %04.2f meters (WGS84)", m.S32(4) * 0.01);
        break;
    case Id('A', 'v'):
        text += u"Altitude Hold Mode ";
        text += Word(b4, {u"DISABLED", u"ENABLED"}, u"ERROR");
        break;
    case Id('A', 'w'):
        text += u"Time Correction Mode ";
        text += Word(b4, {u"GPS", u"UTC"}, u"ERROR");
        break;
    case Id('A', 'x'):
        // The time value follows the receiver's echo: the clock correction uses what the receiver applies.
        m_view.GpsTimeSetEpochOffset(static_cast<LONG>(m.S16(4)));
        text.AppendFormat(u"Epoch offset set to %01i msec", static_cast<int>(m_view.GpsTimeGetEpochOffset()));
        break;
    case Id('A', 'y'):
        m_view.GpsTimeSetPpsOffset(static_cast<ULONG>(m.U32(4)));
        text.AppendFormat(u"1pps offset set to %05.3f microseconds", m_view.GpsTimeGetPpsOffset() / 1000.0);
        break;
    case Id('A', 'z'):
        m_view.GpsTimeSetCableDelay(static_cast<ULONG>(m.U32(4)));
        text.AppendFormat(u"1pps cable delay set to %01u nanoseconds",
                          static_cast<unsigned>(m_view.GpsTimeGetCableDelay()));
        break;
    case Id('A', 'A'):
        text += u"Current Ephemeris Hold mode  ";
        text += Word(b4, {u"DISABLED", u"ENABLED"}, u"");
        break;
    case Id('A', 'B'):
        text += u"Application Type set to  ";
        text += Word(b4, {u"AIR", u"HANDHELD", u"LAND", u"MARINE"}, u"STATIC");
        break;
    case Id('A', 'C'):
        text += u"Current 2-D to 0-D DOP Threshold is ";
        text.AppendFormat(u"%f", m.U16(4) * 0.1);
        break;
    case Id('A', 'D'):
        text.AppendFormat(u"Correction Timer Thresholds (seconds): Position Fix = %i, DGPS Output = %i", b4,
                          m.U8(5));
        break;
    case Id('A', 'E'):
        text += u"Output Align-to-Minute Mode ";
        text += Word(b4, {u"DISABLED", u"ENABLED"}, u"ERROR");
        break;
    case Id('A', 'J'):
        text.AppendFormat(u"Current Differential Time-out (seconds) = %i", b4);
        break;
    case Id('A', 'M'):
        text.AppendFormat(u"%4.2f,%u", b4 + m.U8(5) / 100.0, m.U16(6));
        break;
    case Id('A', 'N'):
        text.AppendFormat(u"Current Velocity Filter = %i", b4);
        break;
    case Id('A', 'O'):
        text += u"RTCM Port set to ";
        text += Word(b4, {u"9600", u"4800", u"2400"}, u"ERROR");
        text += u" baud";
        break;
    case Id('A', 'P'):
        text += u"Pulse Mode set to ";
        text += Word(b4, {u"1PPS", u"100PPS"}, u"ERROR");
        text += u" output";
        if (b4 == 0) {
            // Back to one pulse a second: the 1PPS edges that the 100-pulse mode switched off count again.
            if (!m_view.OnePpsPulseMode()) {
                DWORD mask = 0;
                if (m_view.GetPortCommMask(mask)) {
                    m_view.SetPortCommMask(mask | kOncorePpsModemEvents);
                }
            }
            m_view.OnePpsPulseMode() = TRUE;
        } else if (b4 == 1) {
            m_view.OnePpsPulseMode() = FALSE;
        }
        break;
    case Id('A', 'Q'):
        text += u"Position Filter Select ";
        text += Word(b4, {u"DISABLED", u"ENABLED"}, u"ERROR");
        text += u".";
        break;
    case Id('A', 'S'):
        text += u"Position Lock Select ";
        text += Word(b4, {u"DISABLED", u"ENABLED"}, u"ERROR");
        text += u".";
        break;
    case Id('C', 'f'):
        text += u"Receiver Set to Default Values";
        break;
    case Id('C', 'g'):
        text += u"Receiver Mode ";
        text += Word(b4, {u"IDLE", u"POSITION FIX (i.e., not IDLE)"}, u"ERROR");
        break;
    case Id('G', 'a'):
        text.AppendFormat(
            u"Position Estimate set to %010.8f degrees lat, %010.8f degrees lng, %4.2f meters %s altitude.",
            m.S32(4) / kMasPerDegree, m.S32(8) / kMasPerDegree, m.S32(12) * 0.01,
            m.U8(16) == 0 ? u"GPS" : u"MSL");
        break;
    case Id('G', 'b'):
        text.AppendFormat(u"Time Estimate set to %u, %u, %u, %u, %u, %u, %i, %i, %u.", b4, m.U8(5), m.U16(6),
                          m.U8(8), m.U8(9), m.U8(10), m.U8(11), m.U8(12), m.U8(13));
        break;
    case Id('G', 'c'):
        text += u"1PPS signal output set to ";
        text += Word(b4,
                     {u"OFF", u"ALWAYS ON", u"ON IF AT LEAST ONE SATELLITE TRACKED", u"ON IF TRAIM PASSES",
                      u"OFF", u"ALWAYS ON (Short)", u"ON IF AT LEAST ONE SATELLITE TRACKED (Short)",
                      u"ON IF TRAIM PASSES (Short)"},
                     u"ERROR");
        break;
    case Id('G', 'd'):
        text += u"Position Control set to ";
        text += Word(b4, {u"NORMAL", u"POSITION HOLD (0-D NAV)", u"ALTITUDE HOLD (2-D NAV)", u"AUTO-SURVEY"},
                     u"ERROR");
        break;
    case Id('G', 'e'):
        text += u"TRAIM set to ";
        text += Word(b4, {u"DISABLED", u"ENABLED"}, u"ERROR");
        break;
    case Id('G', 'f'):
        // The limit as the receiver holds it, in units of 100 ns.
        text.Format(u"@@Gf - TRAIM Alarm Limit set to %01u", m.U16(4));
        break;
    case Id('G', 'k'):
        text += u"Tag = " + m.Chars(4, 6);
        break;
    case Id('I', 'r'):
        text += u"Oscillator Learning Table Input Acknowledged.";
        break;
    case Id('S', 'c'):
        text += u"GNSS Constellation Mode is " + Constellations(b4, u" & ");
        break;
    case Id('S', 'm'):
        text += u"GNSS Receiver save all settings to non-volitile memory = ";
        text += Word(b4, {u"no change", u"settings saved"}, u"UNKNOWN, no change (illegal value)");
        break;
    case Id('S', 'o'):
        text += u"GNSS Receiver @@Ha/Hn/Bb Message Configuration is ";
        text += Word(b4,
                     {u"Output GNSS satellite information with highest SNR value",
                      u"Output GNSS satellite information with highest elevation angle",
                      u"Output only GPS constellation information",
                      u"Output only GLONASS constellation information",
                      u"Output only GALILEO constellation information",
                      u"Output only BEIDOU constellation information",
                      u"Output only SBAS + QZSS constellation information"},
                     u"UNKNOWN (illegal value)");
        break;
    case Id('S', 'p'):
        text.AppendFormat(u"GNSS Receiver current number of leap seconds = %i", b4);
        break;
    case Id('S', 't'):
        text += u"GNSS Receiver Date/Time/PPS Alignment is ";
        text += Word(b4,
                     {u"UNKNOWN (illegal value)", u"GPS = UTC (USNO) with no leap seconds",
                      u"UTC = UTC (USNO) with leap seconds", u"GLONASS = UTC (SU) with leap seconds",
                      u"BEIDOU = UTC (China) with leap seconds"},
                     u"UNKNOWN (illegal value)");
        break;
    case Id('S', 'x'):
        text += u"GNSS Receiver Type is " + Constellations(b4, u" + ");
        break;
    case Id('S', 'z'):
        text += u"System Power-On FAILURE.";
        break;
    case Id('W', 'b'):
        text.AppendFormat(u"%2.2X%2.2X", b4, m.U8(5));
        break;
    case Id('W', 'm'):
    case Id('W', 'p'):
    case Id('W', 'q'):
        text += m.Chars(4, 15);
        break;
    case Id('W', 'o'):
        text.AppendFormat(u", %u (0x%02X), %u (0x%02X)", m.U16(4), m.U16(4), m.U16(4), m.U16(4));
        break;
    case Id('W', 's'):
        text += m.Chars(4, 11);
        break;
    default:
        // "@@Ao", "@@Tj", "@@Tm" and A-group ids without a sentence add nothing.
        break;
    }
}
