// The navigation messages "@@Ba", "@@Ea", "@@Ha", "@@Hb" and "@@Hr" and their PVT records.
#include "receiver/OncoreDecoder.h"
#include "receiver/ReceiverIdentity.h"

#include <cmath>

namespace {

constexpr double kMasPerDegree = 3600000.0;
constexpr double kKnotsPerCmPerSecond = 0.019425;

// Satellite ids the table keeps: up to 32, or every byte value for the receivers with wide ids.
int ChannelPrn(unsigned id, bool wideIds) {
    return wideIds || id < 33 ? static_cast<int>(id) : 0;
}

int LinearLevel(unsigned strength) {
    const int level = static_cast<int>(strength) - 20;
    return level < 0 ? 0 : level;
}

int LogLevel(unsigned strength) {
    if (strength == 0) {
        return 0;
    }
    return static_cast<int>(20.0 * std::log10(static_cast<double>(strength)) + 4.6 - 17.0 + 0.5);
}

// The fields at bytes 4-30, shared by "@@Ba", "@@Ea", "@@Ha" and "@@Hb".
struct CommonFields {
    unsigned month, day, year, hours, minutes;
    double seconds; // with the fraction, as single precision holds it
    int latitudeMas, longitudeMas;
    double heightWgs84, heightMsl; // metres

    explicit CommonFields(const OncoreMessage& m)
        : month(m.U8(4)), day(m.U8(5)), year(m.U16(6)), hours(m.U8(8)), minutes(m.U8(9)),
          seconds(static_cast<double>(static_cast<float>(m.U8(10)) + static_cast<float>(m.U32(11)) * 1E-9f)),
          latitudeMas(m.S32(15)), longitudeMas(m.S32(19)), heightWgs84(m.S32(23) * 0.01),
          heightMsl(m.S32(27) * 0.01) {}

    double Latitude() const { return latitudeMas / kMasPerDegree; }
    double Longitude() const { return longitudeMas / kMasPerDegree; }
};

// Date and time at the head of every PVT record but "@@Hr"'s.
CString RecordHead(const CommonFields& f) {
    CString head;
    head.Format(u"%0.2u/%0.2u/%0.4u, %0.2u:%0.2u:%012.9f, ", f.month, f.day, f.year, f.hours, f.minutes,
                f.seconds);
    return head;
}

CString Tag(const OncoreMessage& m, int at) {
    return m.Chars(at, 6);
}

} // namespace

void OncoreDecoder::DecodeBa(const OncoreMessage& m, Texts& t) {
    DecodeBaEa(m, t, false);
}

void OncoreDecoder::DecodeEa(const OncoreMessage& m, Texts& t) {
    DecodeBaEa(m, t, true);
}

void OncoreDecoder::DecodeBaEa(const OncoreMessage& m, Texts& t, bool eightChannel) {
    const int channels = eightChannel ? 8 : 6;
    const int statusAt = eightChannel ? 72 : 64;
    const unsigned status = m.U8(statusAt);
    const unsigned dopByte = m.U8(37);
    const ReceiverModelInfo& model = ReceiverModel(m_view.GetReceiverModel());
    CommonFields f(m);

    // A 12-channel message (and for "@@Ba" an 8-channel one) seen within the last ticks takes precedence.
    const bool skipped = m_view.HaPrecedenceTicks() > 0 || (!eightChannel && m_view.EaPrecedenceTicks() > 0);
    if (!skipped) {
        TakeTickTime(m, true);
        m_view.GpsNavSetSpeed(m.U16(31) * kKnotsPerCmPerSecond);
        m_view.GpsNavSetHeading(m.U16(33) * 0.1);

        const bool geoidModel = eightChannel ? model.Has(kGeoidInEa) : model.Has(kGeoidInBa);
        if (geoidModel) {
            if (eightChannel) {
                m_view.StampStartupTime();
            }
            if (f.heightMsl == 0.0) {
                f.heightMsl = f.heightWgs84 - m_view.GetGeoidSeparation(f.Latitude(), f.Longitude());
            }
            if (eightChannel) {
                m_view.AntennaStatus() = static_cast<int>(dopByte >> 6);
                m_view.SetAntennaStatus(m_view.AntennaStatus());
            }
        }
        m_view.UpdatePositionText(f.Latitude(), f.Longitude(), f.heightWgs84, f.heightMsl);

        m_view.GpsNavSetTrackedCount(static_cast<int>(m.U8(39)));
        CString cell;
        cell.Format(u"%1.1u Visible", m.U8(38));
        m_view.SetSatsGridCellText(18, 6, cell);
        cell.Format(u"%1.1u Tracked", m.U8(39));
        m_view.SetSatsGridCellText(18, 8, cell);

        const bool wideIds = eightChannel ? model.Has(kWideIds) : model.Has(kWideIdsInBa);
        SatelliteChannelTable rows{};
        for (int k = 0; k < channels; ++k) {
            const int at = 40 + 4 * k;
            const unsigned strength = m.U8(at + 2);
            rows[k].prn = ChannelPrn(m.U8(at), wideIds);
            rows[k].SetModeAndFlags(static_cast<int>(m.U8(at + 1)), static_cast<int>(m.U8(at + 3)));
            rows[k].signal = model.Has(kLogSignalLevels) ? LogLevel(strength) : LinearLevel(strength);
            rows[k].used = 1;
        }
        SetChannelRows(rows, channels);

        CString statusText;
        int receiverMode = -1;
        if (status & 0x80) {
            statusText += u"Position Propagate Mode, ";
            receiverMode = 0;
        }
        if (status & 0x40) {
            statusText += u"Poor Geometry (DOP>20), ";
            receiverMode = 1;
        }
        if (status & 0x20) {
            statusText += u"3-D Fix, ";
            m_view.GpsNavSetFixType(3);
            receiverMode = 0;
        }
        if (status & 0x10) {
            statusText += u"Altitude Hold (2-D Fix), ";
            m_view.GpsNavSetFixType(2);
            receiverMode = 0;
        }
        if (status & 0x08) {
            statusText += u"Acquiring Satellites or Position Hold, ";
            m_view.GpsNavSetFixType(1);
            receiverMode = 1;
        }
        if (status & 0x04) {
            statusText += u"DGPS, ";
        }
        if (status & 0x01) {
            statusText += u"Bad Almanac, ";
        } else if (status & 0x02) {
            statusText += u"Insufficient Satellites (<3), ";
        }
        if (dopByte & 0x20) {
            receiverMode = 2;
        }
        m_view.SetReceiverModeStatus(receiverMode);
        if (!statusText.IsEmpty()) {
            statusText = statusText.Left(statusText.GetLength() - 2);
        }

        int quality = 0;
        if (status & 0x80) {
            quality = 4;
        } else if ((status & 0x24) == 0x24) {
            quality = 3;
        } else if (status & 0x20) {
            quality = 2;
        } else if (status & 0x08) {
            quality = 1;
        }
        m_view.GpsNavSetFixQuality(quality);

        CString dopText;
        if (eightChannel && !model.Has(kLogSignalLevels)) {
            const double dop = m.U16(35) * 0.1;
            CString dopPart;
            if (dop > 0.0) {
                if (dopByte == 0) {
                    dopPart.Format(u"PDOP = %4.1f", dop);
                } else if (dopByte == 1) {
                    dopPart.Format(u"HDOP = %4.1f", dop);
                }
            }
            if (!statusText.IsEmpty() && !dopPart.IsEmpty()) {
                statusText += u": " + dopPart;
            }
        } else if (!(status & 0x10)) {
            dopText = m_view.GpsNavFormatDops();
        }
        m_view.SetSatsGridCellText(19, 1, statusText);
        m_view.SetSatsGridCellText(20, 1, dopText);
    }

    if (WantsRecord()) {
        CString& r = t.record;
        r = RecordHead(f);
        const char16_t* dopType = dopByte != 0 ? u"HDOP" : u"PDOP";
        if (eightChannel) {
            r.AppendFormat(u"%#10.8e, %#10.8e, %4.2f, %4.2f, %4.2f, %3.1f, %s, %3.1f, %u, %u",
                           static_cast<double>(f.latitudeMas), static_cast<double>(f.longitudeMas),
                           f.heightWgs84, f.heightMsl, m.U16(31) * 0.01, m.U16(33) * 0.1, dopType,
                           m.U16(35) * 0.1, m.U8(38), m.U8(39));
            for (int k = 0; k < channels; ++k) {
                const int at = 40 + 4 * k;
                r.AppendFormat(u", %u, %u, %u, 0x%02x", m.U8(at), m.U8(at + 1), m.U8(at + 2), m.U8(at + 3));
            }
            r.AppendFormat(u", 0x%02x", status);
            t.text = u"@@Ea, " + r;
        } else {
            r.AppendFormat(u"%#10.8e,%#10.8e,%4.2f,%4.2f,%4.2f,%3.1f,%s,%3.1f,%u,%u,0x%02x",
                           static_cast<double>(f.latitudeMas), static_cast<double>(f.longitudeMas),
                           f.heightWgs84, f.heightMsl, m.U16(31) * 0.01, m.U16(33) * 0.1, dopType,
                           m.U16(35) * 0.1, m.U8(38), m.U8(39), status);
            for (int k = 0; k < channels; ++k) {
                const int at = 40 + 4 * k;
                r.AppendFormat(u",%u,%u,%u,0x%02x", m.U8(at), m.U8(at + 1), m.U8(at + 2), m.U8(at + 3));
            }
            t.text = u"@@Ba," + r;
        }
    }

    m_view.UpdateSatsGrid();
    if (eightChannel) {
        m_view.EaPrecedenceTicks() = 5;
    }
    m_view.SetViewTimer(kOncoreWatchdogTimer, kOncoreWatchdogPeriodMs);
    m_view.KillViewTimer(kOncoreAntennaTimer);
}

void OncoreDecoder::DecodeHa(const OncoreMessage& m, Texts& t) {
    const ReceiverModelInfo& model = ReceiverModel(m_view.GetReceiverModel());
    CommonFields f(m);
    const unsigned statusHigh = m.U8(129), statusLow = m.U8(130);
    const unsigned fixMode = statusHigh >> 5;

    TakeTickTime(m, true);
    m_view.GpsNavSetSpeed(m.U16(47) * kKnotsPerCmPerSecond);
    m_view.GpsNavSetHeading(m.U16(51) * 0.1);
    if (model.Has(kGeoidInHa) && f.heightMsl == 0.0) {
        f.heightMsl = f.heightWgs84 - m_view.GetGeoidSeparation(f.Latitude(), f.Longitude());
    }
    m_view.UpdatePositionText(f.Latitude(), f.Longitude(), f.heightWgs84, f.heightMsl);
    m_view.GpsNavSetTrackedCount(static_cast<int>(m.U8(56)));
    CString cell;
    cell.Format(u"%1.1u Visible", m.U8(55));
    m_view.SetSatsGridCellText(18, 6, cell);
    cell.Format(u"%1.1u Tracked", m.U8(56));
    m_view.SetSatsGridCellText(18, 8, cell);

    SatelliteChannelTable rows{};
    for (int k = 0; k < 12; ++k) {
        const int at = 57 + 6 * k;
        const unsigned channelHigh = m.U8(at + 4), channelLow = m.U8(at + 5);
        const unsigned flags =
            (channelLow & 0xF0) | ((channelLow & 0x0F) >= 7 ? 0x08 : 0) | (channelHigh & 0x01);
        rows[k].prn = ChannelPrn(m.U8(at), model.Has(kWideIds));
        rows[k].SetModeAndFlags(static_cast<int>(m.U8(at + 1)), static_cast<int>(flags));
        rows[k].signal = LinearLevel(m.U8(at + 2));
        rows[k].used = (channelHigh & 0x08) || (channelLow & 0x80) ? 1 : 0;
    }
    SetChannelRows(rows, 12);

    m_view.AntennaStatus() = static_cast<int>((statusLow >> 1) & 3);
    m_view.SetAntennaStatus(m_view.AntennaStatus());

    CString statusText;
    int receiverMode = -1;
    switch (fixMode) {
    case 2:
        statusText = u"Poor Geometry, ";
        receiverMode = 1;
        break;
    case 3:
        statusText = u"Acquiring Satellites, ";
        m_view.GpsNavSetFixType(1);
        receiverMode = 1;
        break;
    case 4:
        statusText = u"Position Hold, ";
        m_view.GpsNavSetFixType(1);
        receiverMode = 1;
        break;
    case 5:
        statusText = u"Position Propagate Mode, ";
        receiverMode = 0;
        break;
    case 6:
        statusText = u"Altitude Hold (2-D Fix), ";
        m_view.GpsNavSetFixType(2);
        receiverMode = 0;
        break;
    case 7:
        statusText = u"3-D Fix, ";
        m_view.GpsNavSetFixType(3);
        receiverMode = 0;
        break;
    default:
        break;
    }
    if (statusLow & 0x80) {
        statusText += u"Cold Start or Bad Almanac, ";
    } else if (statusLow & 0x08) {
        statusText += u"Insufficient Satellites (<3), ";
    }
    if (statusLow & 0x40) {
        statusText += u"DGPS, ";
    }
    if (statusLow & 0x20) {
        receiverMode = 1;
    }
    if (statusLow & 0x10) {
        receiverMode = 2;
    }
    if (!statusText.IsEmpty()) {
        statusText = statusText.Left(statusText.GetLength() - 2);
    }
    m_view.SetReceiverModeStatus(receiverMode);

    int quality = 0;
    if (fixMode == 5) {
        quality = 4;
    } else if (fixMode == 7) {
        quality = statusLow & 0x20 ? 3 : 2;
    } else if (fixMode == 4) {
        quality = 1;
    }
    m_view.GpsNavSetFixQuality(quality);

    const double dop = m.U16(53) * 0.1;
    CString dopText;
    if (dop > 0.0) {
        const int fixType = m_view.GpsNavGetFixType();
        if (fixType == 3) {
            dopText.Format(u"PDOP = %4.1f", dop);
        } else if (fixType == 2) {
            dopText.Format(u"HDOP = %4.1f", dop);
        }
    }
    m_view.SetSatsGridCellText(19, 1, statusText);
    m_view.SetSatsGridCellText(20, 1, dopText);

    if (WantsRecord()) {
        CString& r = t.record;
        r = RecordHead(f);
        const CString tag = Tag(m, 145);
        r.AppendFormat(u"%#10.8e,%#10.8e,%4.2f,%4.2f,%4.2f,%4.2f,%3.1f,%s,%3.1f,%u,%u,0x%04x,\"%s\"",
                       static_cast<double>(f.latitudeMas), static_cast<double>(f.longitudeMas), f.heightWgs84,
                       f.heightMsl, m.U16(47) * 0.01, m.U16(49) * 0.01, m.U16(51) * 0.1,
                       fixMode == 7 ? u"PDOP" : u"HDOP", dop, m.U8(55), m.U8(56), m.U16(129),
                       static_cast<LPCTSTR>(tag));
        for (int k = 0; k < 12; ++k) {
            const int at = 57 + 6 * k;
            r.AppendFormat(u",%u,%u,%u,%u,0x%04x", m.U8(at), m.U8(at + 1), m.U8(at + 2), m.U8(at + 3),
                           m.U16(at + 4));
        }
        r.AppendFormat(u",%u,%u,%i,%u,%3.1f,0x%02x,0x%06x", m.U8(131), m.U8(132), m.S16(133), m.U32(135),
                       m.S16(139) * 0.5, m.U8(141), m.U24(142));
        t.text = u"@@Ha, " + r;
    }

    m_view.UpdateSatsGrid();
    m_view.HaPrecedenceTicks() = 5;
    m_view.SetViewTimer(kOncoreWatchdogTimer, kOncoreWatchdogPeriodMs);
    if (!(statusLow & (0x40 | 0x10 | 0x08))) {
        m_view.KillViewTimer(kOncoreAntennaTimer);
    } else if (m_view.AntennaStatus() != 0) {
        m_view.SetViewTimer(kOncoreAntennaTimer, kOncoreAntennaPeriodMs);
    }
}

void OncoreDecoder::DecodeHb(const OncoreMessage& m, Texts& t) {
    TakeTickTime(m, false);
    m_view.AntennaStatus() = static_cast<int>((m.U8(42) >> 1) & 3);

    if (WantsRecord()) {
        const CommonFields f(m);
        CString& r = t.record;
        r = RecordHead(f);
        const CString tag = Tag(m, 45);
        r.AppendFormat(u"%#10.8e,%#10.8e,%4.2f,%4.2f,%4.2f,%4.2f,%3.1f,%s,%3.1f,%u,%u,0x%04x,\"%s\"",
                       static_cast<double>(f.latitudeMas), static_cast<double>(f.longitudeMas), f.heightWgs84,
                       f.heightMsl, m.U16(31) * 0.01, m.U16(33) * 0.01, m.U16(35) * 0.1,
                       (m.U8(41) >> 5) == 7 ? u"PDOP" : u"HDOP", m.U16(37) * 0.1, m.U8(39), m.U8(40),
                       m.U16(41), static_cast<LPCTSTR>(tag));
        t.text = u"@@Hb, " + r;
    }
    m_view.UpdateSatsGrid();
}

void OncoreDecoder::DecodeHr(const OncoreMessage& m, Texts& t) {
    if (WantsRecord()) {
        CString& r = t.record;
        const CString tag = Tag(m, 161);
        r.Format(u"%0.2u/%0.2u/%0.4u, %0.2u:%0.2u:%0.2u, %u,%u,%#10.8e,%#10.8e,%4.2f,%4.2f,%3.1f,%s,%3.1f,%u,"
                 u"0x%04x,0x%04x,\"%s\" ",
                 m.U8(4), m.U8(5), m.U16(6), m.U8(8), m.U8(9), m.U8(10), m.U16(11), m.U32(13),
                 static_cast<double>(m.S32(17)), static_cast<double>(m.S32(21)), m.S32(25) * 0.01,
                 m.U16(29) * 0.01, m.U16(31) * 0.1, (m.U8(37) & 1) ? u"HDOP" : u"PDOP", m.U16(35) * 0.1,
                 m.U8(38), m.U16(39), m.U16(33), static_cast<LPCTSTR>(tag));
        t.text = u"@@Hr, " + r;
    }
}
