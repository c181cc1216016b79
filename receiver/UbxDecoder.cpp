#include "receiver/UbxDecoder.h"

#include "platform/base/TimeConversions.h"
#include "receiver/ByteReader.h"
#include "receiver/GpsWeekToDate.h"

#include <algorithm>
#include <cstdint>

namespace {

// Top 16 bits of a pulse-length ratio as a binary fraction.
double RatioFromBits(unsigned value) {
    double ratio = 0.0;
    for (int i = 0; i < 16; ++i) {
        if (value & (1u << (31 - i))) {
            ratio += 1.0 / static_cast<double>(1u << (i + 1));
        }
    }
    return ratio;
}

// The per-call texts and what every handler needs.
struct Call {
    DecoderView& view;
    const ByteReader& p;
    bool detailWanted;
    CString& fixText; // the decoder's satellites-grid texts
    CString& dopText;
    CString text{};
    CString detail = u"...";
    CString rxIdText{}; // for the receiver-ID window

    void AppendDetail() { text += detail; }
    // Unhandled id, wrong length or unknown class: named only.
    void NamedOnly() { text += CString(u"  ") + detail; }
};

void DecodePosEcef(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        c.detail.Format(u"iTOW = %u, ecefX = %i, ecefY = %i, ecefZ = %i, pAcc = %u", p.U32(0), p.S32(4),
                        p.S32(8), p.S32(12), p.U32(16));
        c.AppendDetail();
    }
}

void DecodePosLlh(Call& c) {
    const ByteReader& p = c.p;
    const double lon = p.S32(4) * 1e-7;
    const double lat = p.S32(8) * 1e-7;
    const double height = p.S32(12) * 0.001;
    const double msl = p.S32(16) * 0.001;
    c.view.UpdatePositionText(lat, lon, height, msl);
    if (c.detailWanted) {
        c.detail.Format(
            u"iTOW = %u, lon = %1.8f, lat = %1.8f, height = %1.3f, MSL = %1.3f, hAcc = %u, vAcc = %u",
            p.U32(0), lon, lat, height, msl, p.U32(20), p.U32(24));
        c.AppendDetail();
    }
}

void DecodeStatus(Call& c) {
    CString& fixText = c.fixText;
    const ByteReader& p = c.p;
    static constexpr struct {
        const char16_t* text;
        int fixType;
        int pane;
    } kFixes[] = {
        {u"No Fix, ", 0, 0},
        {u"Dead reckoning only, ", 2, 0},
        {u"2D-fix, ", 2, 0},
        {u"3-D Fix, ", 3, 0},
        {u"GPS + dead reckoning combined, ", 3, 0},
        {u"Time only fix (0-D Nav), ", 1, 1},
    };
    const unsigned gpsFix = p.U8(4);
    int pane = -1;
    fixText.Empty();
    if (gpsFix < std::size(kFixes)) {
        fixText = kFixes[gpsFix].text;
        c.view.GpsNavSetFixType(kFixes[gpsFix].fixType);
        pane = kFixes[gpsFix].pane;
    }
    if (!fixText.IsEmpty()) {
        fixText = fixText.Left(fixText.GetLength() - 2);
    }
    c.view.SetReceiverModeStatus(pane);
    c.view.SetSatsGridCellText(19, 1, fixText);
    if (c.detailWanted) {
        c.detail.Format(
            u"iTOW = %u, gpsFix = %u, flags = 0x%2.2X, diffStat = 0x%2.2X, res = %u, ttff = %u, msss = %u",
            p.U32(0), gpsFix, p.U8(5), p.U8(6), p.U8(7), p.U32(8), p.U32(12));
        c.AppendDetail();
    }
}

void DecodeDop(Call& c) {
    CString& dopText = c.dopText;
    const ByteReader& p = c.p;
    double dops[7];
    for (int i = 0; i < 7; ++i) {
        dops[i] = p.U16(4 + 2 * i) * 0.01;
    }
    const double g = dops[0], pd = dops[1], t = dops[2], v = dops[3], h = dops[4];
    c.view.GpsNavSetDops(g, pd, h, v, t);
    if (c.view.GpsNavGetFixType() == 1) {
        dopText.Format(u"DOPs: T = %3.1f", t);
    } else {
        dopText.Format(u"DOPs: T = %3.1f, P = %3.1f, H = %3.1f, V = %3.1f", t, pd, h, v);
    }
    c.view.SetSatsGridCellText(20, 1, dopText);
    if (c.detailWanted) {
        c.detail.Format(u"iTOW = %u, gDOP = %4.2f, pDOP = %4.2f, tDOP = %4.2f, vDOP = %4.2f, hDOP = %4.2f, "
                        u"nDOP = %4.2f, eDOP = %4.2f",
                        p.U32(0), dops[0], dops[1], dops[2], dops[3], dops[4], dops[5], dops[6]);
        c.AppendDetail();
    }
}

void DecodeTimeGps(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        c.detail.Format(u"iTOW = %u ... week = %u, leap seconds = %i, valid = %2.2x", p.U32(0), p.U16(8),
                        p.U8(10), p.U8(11));
        c.AppendDetail();
    }
}

void DecodeTimeUtc(Call& c) {
    const ByteReader& p = c.p;
    const unsigned year = p.U16(12), month = p.U8(14), day = p.U8(15);
    const unsigned hour = p.U8(16), minute = p.U8(17), second = p.U8(18), valid = p.U8(19);
    if ((valid & 0x07) == 0x07) {
        CTime& rxTime = c.view.RxTime();
        if (day >= 1 && day <= 31 && month >= 1 && month <= 12 && year >= 1900) {
            // A UTC instant: never shifted, whatever the PC's time zone.
            rxTime = ReceiverTickTime(c.view, DaysFromCivil(year, month, day) * 86400 +
                                                  static_cast<__time64_t>(hour) * 3600 +
                                                  static_cast<__time64_t>(minute) * 60 + second);
        }
        if (!c.view.TickHandled()) {
            c.view.SyncPcClock();
            c.view.DecoderTicks() = TRUE;
            c.view.UpdateClockDisplay();
        }
        c.view.TickHandled() = FALSE;
        AdvanceReceiverTime(rxTime, 1);
    }
    if (c.detailWanted) {
        c.detail.Format(u"iTOW = %u, tAcc = %u, nano = %i, date (YMD) %u, %u, %u, Time = %2.2u:%2.2u:%2.2u, "
                        u"valid = %2.2x",
                        p.U32(0), p.U32(4), p.S32(8), year, month, day, hour, minute, second, valid);
        c.AppendDetail();
    }
}

void DecodeSvInfo(Call& c) {
    const ByteReader& p = c.p;
    SatelliteChannelTable& table = c.view.SatTable();
    table.fill(SatelliteChannelTables::m_emptySatRow);

    const unsigned numCh = p.U8(4);
    // Only channels wholly inside the payload.
    const int channels = std::min<int>({static_cast<int>(numCh), kSatelliteChannelRows, (p.Size() - 8) / 12});
    unsigned visible = 0;
    unsigned used = 0;
    const bool wanted = c.detailWanted;
    if (wanted) {
        c.detail.Format(u"iTOW = %u, numCh = %u, globalFlags = %2.2x, res = %u, ", p.U32(0), numCh, p.U8(5),
                        p.U16(6));
    }
    for (int k = 0; k < channels; ++k) {
        const int at = 8 + 12 * k;
        const unsigned chn = p.U8(at), svid = p.U8(at + 1), flags = p.U8(at + 2), quality = p.U8(at + 3);
        const unsigned cno = p.U8(at + 4);
        const int elev = p.S8(at + 5);
        const unsigned azim = p.U16(at + 6);
        const int prRes = p.S32(at + 8);
        if (flags & 0x01) {
            ++used;
        }
        if (elev > 0) {
            ++visible;
        }
        if (chn != 255 && cno > 0 && elev > 0) {
            SatelliteChannelRow& row = table[static_cast<std::size_t>(k)];
            row.prn = static_cast<std::int32_t>(svid);
            row.elevation = std::min(elev, 90);
            row.azimuth = static_cast<std::int32_t>(std::min(azim, 359u));
            row.signal = std::clamp(static_cast<int>(cno) - 17, 0, 39);
            row.used = static_cast<std::int32_t>(flags & 0x01);
            row.SetModeAndFlags(static_cast<int>(quality), static_cast<int>(flags));
            row.trend = 0;
        }
        if (wanted) {
            CString channel;
            channel.Format(
                u"chn=%u, svid=%u, flags=%2.2x, quality=%2.2x, cno=%u, elev=%i, azim=%i, prRes=%i, ", chn,
                svid, flags, quality, cno, elev, static_cast<int>(azim), prRes);
            if (k > 0) {
                channel += u", ";
            }
            c.detail += channel;
            if (k == 8) {
                c.text += CString(u"\n") + CString(u' ', 30);
            }
            c.text += channel;
        }
    }
    c.view.SetSatsGridCellText(18, 4, u"GPS");
    c.view.SetSatsGridCellText(18, 5, u"SATs");
    CString count;
    count.Format(u"%1.1u Visible", visible);
    c.view.SetSatsGridCellText(18, 6, count);
    c.view.GpsNavSetTrackedCount(static_cast<int>(used));
    count.Format(u"%1.1u Tracked", used);
    c.view.SetSatsGridCellText(18, 8, count);
    c.view.UpdateSatsGrid();
}

void DecodeCfgPrt(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        static constexpr const char16_t* kPorts[] = {u"DDC", u"UART #1", u"UART #2", u"USB", u"SBI"};
        const unsigned port = p.U8(0);
        c.detail.Format(
            u"portID = %s, res0 = %u, res1 = %u, mode = %8.8X, baudRate = %u, inProtoMask = %4.4X, "
            u"outProtoMask = %4.4X, flags = %4.4X, pad = %u",
            port < std::size(kPorts) ? kPorts[port] : u"unknown", p.U8(1), p.U16(2), p.U32(4), p.U32(8),
            p.U16(12), p.U16(14), p.U16(16), p.U16(18));
        c.AppendDetail();
    }
}

void DecodeCfgTp(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        c.detail.Format(u"interval = %u us, length = %u us, status = %i, timeRef = %u, flags = %u, res = %u, "
                        u"antennaCableDelay = %i ns, rfGroupDelay = %i ns, userDelay = %i ns",
                        p.U32(0), p.U32(4), p.U8(8), p.U8(9), p.U8(10), p.U8(11), p.U16(12), p.U16(14),
                        p.S32(16));
        c.AppendDetail();
    }
}

void DecodeCfgTp5(Call& c) {
    const ByteReader& p = c.p;
    if (!c.detailWanted) {
        return;
    }
    const unsigned flags = p.U32(28);
    const bool frequency = (flags & 0x08) != 0;
    const bool length = (flags & 0x10) != 0;
    const char16_t* periodUnit = frequency ? u"Hz" : u"us";
    CString head;
    head.Format(u"TimePulse%u, res0 = %u, res1 = %i, antCableDelay = %i ns, rfGroupDelay = %i ns, freqPeriod "
                u"= %u %s, "
                u"freqPeriodLock = %u %s, ",
                p.U8(0), p.U8(1), p.S16(2), p.S16(4), p.S16(6), p.U32(8), periodUnit, p.U32(12), periodUnit);
    CString pulse;
    if (length) {
        pulse.Format(u"pulseLenRatio = %u us, pulseLenRatioLock = %u us, ", p.U32(16), p.U32(20));
    } else {
        pulse.Format(u"pulseLenRatio = %f ratio, pulseLenRatioLock = %f ratio, ", RatioFromBits(p.U32(16)),
                     RatioFromBits(p.U32(20)));
    }
    CString tail;
    tail.Format(u"userDelay = %i ns, ubx_flags = 0x%X", p.S32(24), flags & 0xFF);
    c.detail = head + pulse + tail;
    c.AppendDetail();
}

void DecodeCfgTmode(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        c.detail.Format(u"timeMode = %u, fixedPosX = %i, fixedPosY = %i, fixedPosZ = %i, fixedPosVar = %u, "
                        u"svinMinDur = %u, svinVarLimit = %u",
                        p.U32(0), p.S32(4), p.S32(8), p.S32(12), p.U32(16), p.U32(20), p.U32(24));
        c.AppendDetail();
    }
}

void DecodeCfgNav5(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        c.detail.Format(
            u"mask = %02.2X, dynModel = %u, fixMode = %u, fixedAlt = %i, fixedAltVar = %i, minElev = %i, "
            u"drLimit = %u, pDopMask = %u, tDopMask = %u, pAccMask = %u, tAccMask = %u, "
            u"staticHoldThresh = %u, res1 = %u, res2 = %u, res3 = %u, res4 = %u",
            p.U16(0), p.U8(2), p.U8(3), p.S32(4), p.S32(8), p.U8(12), p.U8(13), p.U16(14), p.U16(16),
            p.U16(18), p.U16(20), p.U8(22), p.U8(23), p.U32(24), p.U32(28), p.U32(32));
        c.AppendDetail();
    }
}

void DecodeMonVer(Call& c) {
    const ByteReader& p = c.p;
    const CString software = p.ZeroEndedText(0, 30);
    const CString hardware = p.ZeroEndedText(30, 10);
    const int extensions = std::min(29, (p.Size() - 40) / 30);
    c.text += CString(u" Software Version ") + software + u", Hardware Version " + hardware;
    CString& identity = c.rxIdText;
    identity = CString(u"u-blox Receiver/Software Version\n") + u"Software Version: " + software + u"\n" +
               u"Hardware Version: " + hardware + u"\n" + u"ROM and extensions:\n";
    for (int i = 0; i < extensions; ++i) {
        const CString extension = p.ZeroEndedText(40 + 30 * i, 30);
        c.text += CString(u", ") + extension;
        identity += extension + u"\n";
    }
    c.NamedOnly();
}

void DecodeMonHw(Call& c) {
    const ByteReader& p = c.p;
    const unsigned aStatus = p.U8(20);
    c.view.SetAntennaStatus(aStatus == 2 ? 0 : aStatus == 3 ? 1 : aStatus == 4 ? 2 : -1);
    if (c.detailWanted) {
        // The older 68-byte layout has eight more bytes before jamInd.
        const int shift = p.Size() == 68 ? 8 : 0;
        c.detail.Format(
            u"pinSel = %04.4X, pinBank = %04.4X, pinDir = %04.4X, pinVal = %04.4X, noisePerMS = %u, "
            u"agcCnt = %u, aStatus = %u, aPower = %u, flags = %u, res1 = %u, usedMask = %u, "
            u"jamInd = %u, pinIrq = %04.4X, pullH = %04.4X, pullL = %04.4X",
            p.U32(0), p.U32(4), p.U32(8), p.U32(12), p.U16(16), p.U16(18), aStatus, p.U8(21), p.U8(22),
            p.U8(23), p.U32(24), p.U8(45 + shift), p.U32(48 + shift), p.U32(52 + shift), p.U32(56 + shift));
        c.AppendDetail();
    }
}

void DecodeAidHui(Call& c) {
    const ByteReader& p = c.p;
    DecoderView& view = c.view;
    const unsigned utcLs = p.U16(26), utcWnf = p.U16(28), utcDn = p.U16(30), utcLsf = p.U16(32);
    const unsigned flags = p.U8(68);

    BYTE second, minute, hour, day, month;
    WORD year;
    // The day number is 1..7; a wild one is held where its seconds still fit.
    GpsWeekToDate(static_cast<WORD>(utcWnf), static_cast<LONG>(std::min(utcDn, 24855u) * 86400u), &second,
                  &minute, &hour, &day, &month, &year);
    const int currentYear = view.GetGpsTimeYear();
    const int currentMonth = view.GetGpsTimeMonth();
    const bool later = year > currentYear || (year == currentYear && month > currentMonth);
    const bool valid = (flags & 0x07) == 0x07;

    LONG& offset = view.GpsUtcOffsetSec();
    int& pending = view.LeapSecondPending();
    offset = 0;
    unsigned a = 0, b = 0;
    if (!valid) {
        pending = -1;
    } else if (!later) {
        offset = static_cast<LONG>(utcLsf);
        pending = -1;
        a = b = utcLsf;
    } else {
        offset = static_cast<LONG>(utcLs);
        if (utcLsf > utcLs) {
            pending = 1;
        } else if (utcLsf < utcLs) {
            pending = 2;
        }
        a = utcLsf;
        b = utcLs;
    }
    const int nextMonth = currentMonth == 12 ? 1 : currentMonth + 1;
    const int nextMonthYear = currentMonth == 12 ? currentYear + 1 : currentYear;
    int& indicator = view.NtpLeapIndicator();
    if (year == nextMonthYear && month == nextMonth) {
        indicator = a > b ? 1 : a < b ? 2 : 3;
    } else {
        indicator = 0;
    }

    if (c.detailWanted) {
        c.detail.Format(
            u" ... utcLS = %u, utcWNF = %u, utcDN = %u, utcLSF = %u ... valid = 0x%2.2x -->> LS Pending = "
            u"%u, NTP Leap Indicator = %u",
            utcLs, utcWnf, utcDn, utcLsf, flags, pending, indicator);
        c.AppendDetail();
    }
}

void DecodeTimTp(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        c.detail.Format(u"towMS = %u, towSubMS = %u, qErr = %i, week = %u, flags = %u, res = %u", p.U32(0),
                        p.U32(4), p.S32(8), p.U16(12), p.U8(14), p.U8(15));
        c.AppendDetail();
    }
}

void DecodeTimDosc(Call& c) {
    const ByteReader& p = c.p;
    if (c.detailWanted) {
        c.detail.Format(u"ver = %u, D/A value = %u", p.U8(0), p.U32(4));
        c.AppendDetail();
    }
}

struct UbxClass {
    unsigned cls;
    const char16_t* name;
    // What follows the name for an id without an entry; without it the message is only named.
    const char16_t* unknownId;
};

constexpr UbxClass kClasses[] = {
    {0x01, u"UBX-NAV", nullptr},
    {0x02, u"UBX-RXM", nullptr},
    {0x04, u"UBX-INF", nullptr},
    {0x05, u"UBX-ACK", u" Unknown ID ???"},
    {0x06, u"UBX-CFG", nullptr},
    {0x09, u"", u""}, // the firmware-update messages name themselves; an unknown one gets no text
    {0x0A, u"UBX-MON", nullptr},
    {0x0B, u"UBX-AID", nullptr},
    {0x0D, u"UBX-TIM", nullptr},
};

enum class PayloadRule : unsigned char { kExact, kAtLeast, kAny };

// Every UBX message the decoder knows. A message whose payload does not fit its rule is only named; one
// without a handler gets its suffix and no detail.
struct UbxMessageKind {
    unsigned cls, id;
    const char16_t* suffix; // follows the class name
    PayloadRule rule;
    int length;
    void (*handler)(Call&);
    bool replacesRxIdText = false; // its version summary replaces the receiver-ID window's text

    bool TakesLength(int payload) const {
        return rule == PayloadRule::kAny ||
               (rule == PayloadRule::kExact ? payload == length : payload >= length);
    }
};

using R = PayloadRule;

constexpr UbxMessageKind kMessages[] = {
    {0x01, 0x01, u"-POSECEF ", R::kExact, 20, DecodePosEcef},
    {0x01, 0x02, u"-POSLLH ", R::kExact, 28, DecodePosLlh},
    {0x01, 0x03, u"-STATUS ", R::kExact, 16, DecodeStatus},
    {0x01, 0x04, u"-DOP ", R::kExact, 18, DecodeDop},
    {0x01, 0x20, u"-TIMEGPS ", R::kExact, 16, DecodeTimeGps},
    {0x01, 0x21, u"-TIMEUTC ", R::kExact, 20, DecodeTimeUtc},
    {0x01, 0x30, u"-SVINFO ", R::kAtLeast, 20, DecodeSvInfo},
    {0x05, 0x00, u" NAK", R::kAny, 0, nullptr},
    {0x05, 0x01, u" ACK", R::kAny, 0, nullptr},
    {0x06, 0x00, u"-PRT ", R::kExact, 20, DecodeCfgPrt},
    {0x06, 0x07, u"-TP ", R::kExact, 20, DecodeCfgTp},
    {0x06, 0x1D, u"-TMODE ", R::kExact, 28, DecodeCfgTmode},
    {0x06, 0x24, u"-NAV5 ", R::kExact, 36, DecodeCfgNav5},
    {0x06, 0x31, u"-TP5 ", R::kExact, 32, DecodeCfgTp5},
    {0x09, 0x01, u"UBX-UPD-DOWNL", R::kAny, 0, nullptr},
    {0x09, 0x02, u"UBX-UPD-UPLOAD", R::kAny, 0, nullptr},
    {0x09, 0x06, u"UBX-UPD-IDEN", R::kAny, 0, nullptr},
    {0x09, 0x07, u"UBX-UPD-SAFE", R::kAny, 0, nullptr},
    {0x09, 0x08, u"UBX-UPD-FLDET", R::kAny, 0, nullptr},
    {0x09, 0x09, u"UBX-UPD-QSIZE", R::kAny, 0, nullptr},
    {0x09, 0x0B, u"UBX-UPD-ERASE", R::kAny, 0, nullptr},
    {0x09, 0x0C, u"UBX-UPD-FLWRI", R::kAny, 0, nullptr},
    {0x09, 0x0D, u"UBX-UPD-CRC", R::kAny, 0, nullptr},
    {0x09, 0x0E, u"UBX-UPD-RBOOT", R::kAny, 0, nullptr},
    {0x09, 0x0F, u"UBX-UPD-SETQ", R::kAny, 0, nullptr},
    {0x09, 0x14, u"UBX-UPD-SOS", R::kAny, 0, nullptr},
    {0x0A, 0x04, u"-VER ", R::kAtLeast, 40, DecodeMonVer, true},
    {0x0A, 0x09, u"-HW ", R::kAtLeast, 60, DecodeMonHw},
    // The flags lie in the last four of the 72 bytes.
    {0x0B, 0x02, u"-HUI ", R::kAtLeast, 72, DecodeAidHui},
    {0x0D, 0x01, u"-TP ", R::kExact, 16, DecodeTimTp},
    {0x0D, 0x11, u"-DOSC ", R::kExact, 8, DecodeTimDosc},
};

const UbxClass* FindClass(unsigned cls) {
    for (const UbxClass& c : kClasses) {
        if (c.cls == cls) {
            return &c;
        }
    }
    return nullptr;
}

const UbxMessageKind* FindMessage(unsigned cls, unsigned id) {
    for (const UbxMessageKind& kind : kMessages) {
        if (kind.cls == cls && kind.id == id) {
            return &kind;
        }
    }
    return nullptr;
}

} // namespace

CString UbxDecoder::DecodeUbxMessage(CString frame) {
    if (frame.GetLength() < 8 || frame[0] != 0xB5) {
        return CString();
    }
    m_view.WriteBinaryLogMessage(frame);

    const unsigned cls = frame[2] & 0xFFu;
    const unsigned id = frame[3] & 0xFFu;
    const int declared = static_cast<int>((frame[4] & 0xFFu) | ((frame[5] & 0xFFu) << 8));
    // A frame that does not hold its declared payload counts as one of the wrong length.
    const int length = std::min(declared, frame.GetLength() - 6);
    const ByteReader payload(frame.GetString() + 6, length, ByteOrder::kLittleEndian);
    Call c{m_view, payload, m_view.IsRawWindowShown() || m_view.IsLogSecond(), m_fixText, m_dopText};

    if (const UbxClass* klass = FindClass(cls)) {
        c.text = klass->name;
        const UbxMessageKind* kind = FindMessage(cls, id);
        if (kind == nullptr) {
            if (klass->unknownId != nullptr) {
                c.text += klass->unknownId;
            } else {
                c.NamedOnly();
            }
        } else if (!kind->TakesLength(length)) {
            c.NamedOnly();
        } else {
            c.text += kind->suffix;
            if (kind->handler != nullptr) {
                kind->handler(c);
            }
            if (kind->replacesRxIdText && m_view.HasRxIdDialog()) {
                m_view.RxIdSetText(c.rxIdText);
            }
        }
    } else {
        c.text.Format(u"UBX-%X ?~Unknown Message Class-???", cls);
        c.NamedOnly();
    }

    if (!c.text.IsEmpty()) {
        c.text += u"\n";
    }
    m_view.WritePvtLogLine(c.detail);
    return c.text;
}
