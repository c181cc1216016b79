#include "receiver/NmeaDecoder.h"

#include "platform/base/TimeConversions.h"
#include "receiver/NmeaScan.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace {

struct FieldTime {
    unsigned hours = 0;
    unsigned minutes = 0;
    float seconds = 0.0f;
};

bool ScanTime(const CString& field, FieldTime& time) {
    return NmeaScan(field)
               .Unsigned(&time.hours, 2)
               .Unsigned(&time.minutes, 2)
               .Float(&time.seconds)
               .Result() == 3;
}

bool IsValidTime(const FieldTime& time) {
    return time.hours <= 23 && time.minutes <= 59 && time.seconds >= 0.0f && time.seconds < 60.0f;
}

struct FieldAngle {
    unsigned degrees = 0;
    float minutes = 0.0f;
    double value = 0.0; // signed degrees
};

// "ddmm.mmmm" (degreeDigits 2) or "dddmm.mmmm" (3) with its hemisphere letter.
bool ScanAngle(const CString& field, const CString& hemisphere, std::size_t degreeDigits, double limit,
               FieldAngle& angle) {
    if (NmeaScan(field).Unsigned(&angle.degrees, degreeDigits).Float(&angle.minutes).Result() != 2 ||
        angle.minutes < 0.0f) {
        return false;
    }
    const double magnitude = angle.degrees + static_cast<double>(angle.minutes) / 60.0;
    if (magnitude > limit) {
        return false;
    }
    double sign;
    if (hemisphere == u"N" || hemisphere == u"E") {
        sign = 1.0;
    } else if (hemisphere == u"S" || hemisphere == u"W") {
        sign = -1.0;
    } else {
        return false;
    }
    angle.value = magnitude * sign;
    return true;
}

bool ScanUnsigned(const CString& field, unsigned& value) {
    return NmeaScan(field).Unsigned(&value).Result() == 1;
}

bool ScanInt(const CString& field, int& value) {
    return NmeaScan(field).Int(&value).Result() == 1;
}

bool ScanFloat(const CString& field, float& value) {
    return NmeaScan(field).Float(&value).Result() == 1;
}

int RoundedSeconds(float seconds) {
    return static_cast<int>(std::floor(static_cast<double>(seconds) + 0.5));
}

// A UTC instant (never pushed through the PC's time zone); a receiver on local time is shifted to UTC.
__time64_t TickTimeFromFields(const DecoderView& view, unsigned year, unsigned month, unsigned day,
                              const FieldTime& time) {
    __time64_t utc = DaysFromCivil(year, month, day) * 86400 + static_cast<__time64_t>(time.hours) * 3600 +
                     static_cast<__time64_t>(time.minutes) * 60 + RoundedSeconds(time.seconds);
    if (view.IsGpsRxOnLocalTime()) {
        utc += static_cast<__time64_t>(view.GetTimeZoneBiasMin()) * 60;
    }
    return utc;
}

// Empty fields become "0" so that the one-format scans see every item.
void FillEmptyFields(CString& sentence) {
    while (sentence.Find(u",,") >= 0) {
        sentence.Replace(u",,", u",0,");
    }
    sentence.Replace(u",*", u",0*");
    if (sentence.GetLength() > 0 && sentence[sentence.GetLength() - 1] == u',') {
        sentence += u"0";
    }
}

// A scan of a GSV sentence past its "$GPGSV," head.
NmeaScan GsvHead(const CString& sentence) {
    NmeaScan scan(sentence);
    for (char16_t unit : std::u16string_view(u"$GPGSV,")) {
        scan.Literal(unit);
    }
    return scan;
}

// GSV signal levels onto the Eb/No scale by receiver model.
int EbNoFromSignal(int model, unsigned signal) {
    const long long level = static_cast<long long>(signal) - ReceiverModel(model).gsvSignalOffset;
    return level <= 0 ? 0 : static_cast<int>(level);
}

} // namespace

CString NmeaDecoder::NextNmeaField(CString& sentence, LPCTSTR defaultText) {
    CString field;
    const int comma = sentence.Find(u',');
    if (comma < 0) {
        if (!sentence.IsEmpty()) {
            field = sentence;
            sentence.Empty();
        } else {
            field = defaultText;
        }
    } else {
        field = sentence.Left(comma);
        if (field.IsEmpty()) {
            field = defaultText;
        }
        sentence = sentence.Mid(comma + 1);
    }
    field.Trim();
    return field;
}

bool NmeaDecoder::IsRepeat(Kind kind, const CString& sentence) {
    if (m_lastSentence[kind] == sentence) {
        return true;
    }
    m_lastSentence[kind] = sentence;
    return false;
}

bool NmeaDecoder::WantsRecord() const {
    return m_view.IsRawWindowShown() || m_view.IsLogSecond();
}

BOOL NmeaDecoder::DecodeNmeaSentence(CString sentence) {
    static constexpr struct {
        const char16_t* id;
        int kind; // -1 for GGA, which has no repeat check
    } kIds[] = {
        {u"$GPZDA", kZda},   {u"$GPGGA", -1},     {u"$GPGSA", kGsa},   {u"$GPGSV", kGsv},
        {u"$GPGLL", kGll},   {u"$GPRMC", kRmc},   {u"$GPVTG", kVtg},   {u"$PGRMT", kPgrmt},
        {u"$PGRMI", kPgrmi}, {u"$PGRMC", kPgrmc}, {u"$PGRMO", kPgrmo},
    };
    const CString id = sentence.Left(6);
    int match = -2;
    for (const auto& entry : kIds) {
        if (id == entry.id) {
            match = entry.kind;
            break;
        }
    }

    BOOL result = FALSE;
    if (match != -2) {
        if (match >= 0 && IsRepeat(static_cast<Kind>(match), sentence)) {
            return TRUE;
        }
        const CString fields = sentence.Mid(7);
        switch (match) {
        case -1:
            result = DecodeGga(fields);
            break;
        case kZda:
            result = DecodeZda(fields);
            break;
        case kGsa:
            result = DecodeGsa(sentence);
            break;
        case kGsv:
            result = DecodeGsv(sentence);
            break;
        case kRmc: {
            const int rmc = DecodeRmc(fields);
            if (rmc < 0) {
                return TRUE;
            }
            result = rmc;
            break;
        }
        case kPgrmt:
            DecodePgrmt(fields);
            result = TRUE;
            break;
        case kPgrmi:
            DecodePgrmi(fields);
            result = TRUE;
            break;
        case kPgrmc:
            DecodePgrmc(fields);
            result = TRUE;
            break;
        case kPgrmo:
            DecodePgrmo(fields);
            result = TRUE;
            break;
        default: // GLL and VTG carry nothing the view uses
            result = TRUE;
            break;
        }
    }
    // The same record goes out after every sentence of a logging second.
    m_view.WritePvtLogLine(m_pvtRecord);
    return result;
}

BOOL NmeaDecoder::DecodeZda(CString fields) {
    BOOL result = TRUE;
    FieldTime time;
    if (!ScanTime(NextNmeaField(fields, u"000000.00"), time) || !IsValidTime(time)) {
        result = FALSE;
    }
    unsigned day = 0;
    if (!ScanUnsigned(NextNmeaField(fields, u"0"), day) || day < 1 || day > 31) {
        result = FALSE;
    }
    unsigned month = 0;
    if (!ScanUnsigned(NextNmeaField(fields, u"0"), month) || month < 1 || month > 12) {
        result = FALSE;
    }
    unsigned year = 0;
    if (!ScanUnsigned(NextNmeaField(fields, u"0"), year)) {
        result = FALSE;
    }
    unsigned zone = 0;
    if (!ScanUnsigned(NextNmeaField(fields, u"0"), zone)) {
        result = FALSE;
    }
    if (!ScanUnsigned(NextNmeaField(fields, u"0"), zone)) {
        return FALSE;
    }
    if (!result) {
        return FALSE;
    }

    CTime& rxTime = m_view.RxTime();
    if (year >= 1900) {
        // The local-time shift belongs to a time just taken: an old one was shifted already.
        rxTime = ReceiverTickTime(m_view, TickTimeFromFields(m_view, year, month, day, time));
    }
    m_view.RxSeconds() = time.seconds;
    if (!m_view.TickSinceZda()) {
        m_view.SyncPcClock();
        m_view.DecoderTicks() = TRUE;
        m_view.UpdateClockDisplay();
    }
    m_view.TickHandled() = FALSE;
    m_view.TickSinceZda() = FALSE;
    m_view.ZdaSinceTick() = TRUE;
    AdvanceReceiverTime(rxTime, 1);
    return TRUE;
}

BOOL NmeaDecoder::DecodeGga(CString fields) {
    BOOL result = TRUE;
    const bool wantsRecord = WantsRecord();

    // The record is rebuilt from each sentence; without its time it stays empty (its columns would shift).
    FieldTime time;
    const bool timeTaken = ScanTime(NextNmeaField(fields, u"000000.00"), time);
    const bool buildsRecord = wantsRecord && timeTaken;
    if (wantsRecord) {
        m_pvtRecord.Empty();
    }
    if (buildsRecord) {
        m_pvtRecord.Format(u"%02u,%02u,%05.2f,", time.hours, time.minutes, static_cast<double>(time.seconds));
    }

    FieldAngle latitude;
    const CString latField = NextNmeaField(fields, u"0000.0000");
    const CString latHemisphere = NextNmeaField(fields, u"");
    const bool latValid = ScanAngle(latField, latHemisphere, 2, 90.0, latitude);
    if (!latValid) {
        result = FALSE;
    } else if (buildsRecord) {
        m_pvtRecord.AppendFormat(u"%02u,%06.6f,%s,", latitude.degrees, static_cast<double>(latitude.minutes),
                                 latHemisphere.GetString());
    }

    FieldAngle longitude;
    const CString lonField = NextNmeaField(fields, u"00000.0000");
    const CString lonHemisphere = NextNmeaField(fields, u"");
    if (!ScanAngle(lonField, lonHemisphere, 3, 180.0, longitude)) {
        result = FALSE;
    } else if (buildsRecord && latValid) {
        m_pvtRecord.AppendFormat(u"%02u,%06.6f,%s,%s", longitude.degrees,
                                 static_cast<double>(longitude.minutes), lonHemisphere.GetString(),
                                 fields.GetString());
    }

    int quality = 0;
    if (!ScanInt(NextNmeaField(fields, u"0"), quality)) {
        quality = 0;
        result = FALSE;
    }

    unsigned satellites = 0;
    if (ScanUnsigned(NextNmeaField(fields, u""), satellites)) {
        int level;
        if (g_interfaceMode == kModeUbloxNmea) {
            level = quality == 1 ? 2 : quality == 2 ? 3 : quality == 6 ? 4 : 0;
        } else if (quality == 2) {
            level = 3;
        } else if (quality == 1 && satellites >= 4) {
            level = 2;
        } else {
            level = satellites >= 1 ? 1 : 0;
        }
        m_view.GpsNavSetFixQuality(level);
        CString text;
        text.Format(u"%1.1u Tracked", satellites);
        m_view.SetSatsGridCellText(18, 8, text);
        m_view.GpsNavSetTrackedCount(static_cast<int>(satellites));
    } else {
        result = FALSE;
    }

    NextNmeaField(fields, u""); // HDOP

    float altitude = 0.0f;
    if (!ScanFloat(NextNmeaField(fields, u"0.0"), altitude)) {
        result = FALSE;
    }
    if (NextNmeaField(fields, u"") != u"M") {
        altitude = 0.0f;
    }
    float separation = 0.0f;
    if (!ScanFloat(NextNmeaField(fields, u"0.0"), separation)) {
        result = FALSE;
    }
    if (NextNmeaField(fields, u"") != u"M") {
        separation = 0.0f;
    }

    // Firmware of these models before 8.8 fills the height fields differently.
    const double alt = altitude;
    const double sep = separation;
    double heightWgs84 = alt + sep;
    double altitudeMsl = alt;
    const float version = m_view.GetFirmwareVersion();
    if (ReceiverModel(m_view.GetReceiverModel()).Has(kHeightsByFirmware) && version != 0.0f) {
        if (version < 7.0f) {
            heightWgs84 = alt;
            altitudeMsl = alt - sep;
        } else if (version < 8.8f) {
            altitudeMsl = alt;
            heightWgs84 = alt - sep;
        }
    }
    if (result) {
        m_view.UpdatePositionText(latitude.value, longitude.value, heightWgs84, altitudeMsl);
    }

    float age = 0.0f;
    if (!ScanFloat(NextNmeaField(fields, u"0.0"), age)) {
        result = FALSE;
    }
    int station = 0;
    if (!ScanInt(NextNmeaField(fields, u"0"), station)) {
        return FALSE;
    }

    if (result) {
        CString text;
        if (quality == 2) {
            m_view.DgpsStatus() = 2;
            if (age == 0.0f && station == 0) {
                text = u"Receiving DGPS";
            } else {
                text.Format(u"Receiving DGPS, Age %4.1f sec, Station ID \"%04d\"", static_cast<double>(age),
                            station);
            }
        } else {
            m_view.DgpsStatus() = 0;
        }
        m_view.SetSatsGridCellText(21, 1, text);
    }
    return result;
}

BOOL NmeaDecoder::DecodeGsa(CString sentence) {
    FillEmptyFields(sentence);
    char16_t mode = 0;
    unsigned fixType = 0;
    unsigned satellites[12] = {};
    float pdop = 0.0f;
    float hdop = 0.0f;
    float vdop = 0.0f;
    // "$GPGSA,%1c,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%u,%f,%f,%f"
    NmeaScan scan(sentence);
    for (char16_t unit : std::u16string_view(u"$GPGSA,")) {
        scan.Literal(unit);
    }
    scan.Char(&mode).Literal(u',').Unsigned(&fixType);
    for (unsigned& satellite : satellites) {
        scan.Literal(u',').Unsigned(&satellite);
    }
    scan.Literal(u',').Float(&pdop).Literal(u',').Float(&hdop).Literal(u',').Float(&vdop);
    const int items = scan.Result();
    if (items < 17) {
        return FALSE;
    }
    const bool automatic = mode == u'A';
    if (fixType == 3) {
        m_fixText = automatic ? u"3-D Fix (A)" : u"3-D Fix (M)";
        m_view.GpsNavSetFixType(3);
    } else if (fixType == 2) {
        m_fixText = automatic ? u"2-D Fix (A)" : u"2-D Fix (M)";
        m_view.GpsNavSetFixType(2);
    } else {
        m_fixText = u"No Fix";
        m_view.GpsNavSetFixType(1);
    }
    m_view.SetSatsGridCellText(19, 1, m_fixText);
    if (m_view.GpsNavGetFixType() == 3) {
        m_view.GpsNavSetDops(-1.0, pdop, hdop, vdop, -1.0);
        m_dopText.Format(u"PDOP = %3.1f, HDOP = %3.1f, VDOP = %3.1f", static_cast<double>(pdop),
                         static_cast<double>(hdop), static_cast<double>(vdop));
        m_view.SetSatsGridCellText(20, 1, m_dopText);
    }
    m_view.UpdateControls();
    return TRUE;
}

BOOL NmeaDecoder::DecodeGsv(CString sentence) {
    FillEmptyFields(sentence);
    BOOL result = TRUE;
    unsigned count = 0;
    unsigned number = 0;
    unsigned inView = 0;
    if (GsvHead(sentence)
            .Unsigned(&count, 1)
            .Literal(u',')
            .Unsigned(&number, 1)
            .Literal(u',')
            .Unsigned(&inView, 2)
            .Result() == 3) {
        CString text;
        text.Format(u"%1.1u Visible", inView);
        m_view.SetSatsGridCellText(18, 6, text);
    } else {
        result = FALSE;
    }

    // "$GPGSV,%*1u,%*1u,%*2u" and up to four groups ",%2u,%2u,%3u,%2u".
    unsigned g[16] = {};
    NmeaScan scan = GsvHead(sentence);
    scan.Unsigned(nullptr, 1).Literal(u',').Unsigned(nullptr, 1).Literal(u',').Unsigned(nullptr, 2);
    for (int i = 0; i < 16; ++i) {
        scan.Literal(u',').Unsigned(&g[i], i % 4 == 2 ? 3 : 2);
    }
    const int items = scan.Result();
    if (items < 0 || items % 4 != 0) {
        return FALSE;
    }
    if (!result) {
        return FALSE;
    }

    SatelliteChannelTable& table = m_view.SatTable();
    if (number == 1) {
        table.fill(SatelliteChannelTables::m_emptySatRow);
    }
    const int model = m_view.GetReceiverModel();
    const long long base = 4LL * (static_cast<long long>(number) - 1);
    const long long left = static_cast<long long>(inView) - base;
    const int groups = left < 0 ? 4 : static_cast<int>(std::min<long long>(4, left));
    for (int i = 0; i < groups; ++i) {
        const long long rowIndex = base + i;
        if (rowIndex < 0 || rowIndex >= kSatelliteChannelRows) {
            continue;
        }
        SatelliteChannelRow row{256, 0, 0, 0, 0, 0, 0};
        // A number that is no satellite number (a negative field wraps through %u) leaves a free row, so
        // nothing downstream indexes by it.
        if (i < items / 4 && g[4 * i] <= 255) {
            row.prn = static_cast<std::int32_t>(g[4 * i]);
            row.elevation = static_cast<std::int32_t>(g[4 * i + 1]);
            row.azimuth = static_cast<std::int32_t>(g[4 * i + 2]);
            row.signal = EbNoFromSignal(model, g[4 * i + 3]);
        }
        if (row.signal > 0) {
            row.SetModeAndFlags(8, kSatFlagUsed);
            row.used = 1;
        } else {
            row.SetModeAndFlags(9, 0);
            row.used = 0;
        }
        table[static_cast<std::size_t>(rowIndex)] = row;
    }
    if (number == count) {
        m_view.UpdateSatsGrid();
    }
    return TRUE;
}

int NmeaDecoder::DecodeRmc(CString fields) {
    BOOL result = TRUE;
    FieldTime time;
    if (!ScanTime(NextNmeaField(fields, u"000000.00"), time) || !IsValidTime(time)) {
        result = FALSE;
    }
    if (NextNmeaField(fields, u"V") != u"A") {
        return -1;
    }
    FieldAngle angle;
    const CString latField = NextNmeaField(fields, u"0000.0000");
    const CString latHemisphere = NextNmeaField(fields, u"");
    if (!ScanAngle(latField, latHemisphere, 2, 90.0, angle)) {
        result = FALSE;
    }
    const CString lonField = NextNmeaField(fields, u"00000.0000");
    const CString lonHemisphere = NextNmeaField(fields, u"");
    if (!ScanAngle(lonField, lonHemisphere, 3, 180.0, angle)) {
        result = FALSE;
    }
    float value = 0.0f;
    if (ScanFloat(NextNmeaField(fields, u"0.0"), value)) {
        m_view.GpsNavSetSpeed(value);
    } else {
        result = FALSE;
    }
    if (ScanFloat(NextNmeaField(fields, u"0.0"), value)) {
        m_view.GpsNavSetHeading(value);
    } else {
        result = FALSE;
    }
    unsigned day = 0;
    unsigned month = 0;
    unsigned year = 0;
    if (NmeaScan(NextNmeaField(fields, u"010100"))
                .Unsigned(&day, 2)
                .Unsigned(&month, 2)
                .Unsigned(&year, 2)
                .Result() != 3 ||
        day < 1 || day > 31 || month < 1 || month > 12) {
        result = FALSE;
    }
    year += year < 80 ? 2000 : 1900;
    NextNmeaField(fields, u""); // magnetic variation
    NextNmeaField(fields, u""); // and its direction

    if (result && !m_view.ZdaSinceTick()) {
        CTime& rxTime = m_view.RxTime();
        rxTime = ReceiverTickTime(m_view, TickTimeFromFields(m_view, year, month, day, time));
        if (!m_view.TickSinceRmc()) {
            m_view.SyncPcClock();
            m_view.DecoderTicks() = TRUE;
            m_view.UpdateClockDisplay();
        }
        m_view.TickHandled() = FALSE;
        m_view.TickSinceRmc() = FALSE;
        AdvanceReceiverTime(rxTime, 1);
    }
    return result;
}

void NmeaDecoder::DecodePgrmt(CString fields) {
    static constexpr const char16_t* kLabels[] = {
        u"ROM checksum test (P=pass, F=fail) = ", u"Receiver failure? (P=pass, F=fail) = ",
        u"Stored Data (L=lost, R=retained) = ",   u"Real time clock (L=lost, R=retained) = ",
        u"Oscillator drift (P=pass, F=fail) = ",  u"Data collection (C = collecting) = ",
        u"Board temperature (degrees C) = ",
    };
    CString text = NextNmeaField(fields, u"") + u"\n";
    for (const char16_t* label : kLabels) {
        text += label;
        text += NextNmeaField(fields, u"");
        text += u"\n";
    }
    if (m_view.HasRxIdDialog()) {
        m_view.RxIdSetText(text);
    }
}

void NmeaDecoder::DecodePgrmi(CString fields) {
    std::vector<CString> texts;
    texts.emplace_back(u"$PRGMI Initialization Message:\n");

    CString field = NextNmeaField(fields, u"0000.0000");
    CString text;
    text.Format(u"  Latitude = %s deg  %s min ", field.Left(2).GetString(), field.Mid(2).GetString());
    text.AppendFormat(u"%s\n", NextNmeaField(fields, u" ").GetString());
    texts.push_back(text);

    field = NextNmeaField(fields, u"00000.0000");
    text.Format(u"  Longitude = %s deg  %s min ", field.Left(3).GetString(), field.Mid(3).GetString());
    text.AppendFormat(u"%s\n", NextNmeaField(fields, u" ").GetString());
    texts.push_back(text);

    field = NextNmeaField(fields, u"000000");
    text.Format(u"  Day = %s, Month = %s, Year = %s\n", field.Left(2).GetString(),
                field.Mid(2, 2).GetString(), field.Right(2).GetString());
    texts.push_back(text);

    field = NextNmeaField(fields, u"000000");
    text.Format(u"  Hour = %s, Minute = %s, Second = %s\n", field.Left(2).GetString(),
                field.Mid(2, 2).GetString(), field.Right(2).GetString());
    texts.push_back(text);

    text.Format(u"  Acq Reset = %s\n", NextNmeaField(fields, u"000000").GetString());
    texts.push_back(text);

    if (m_view.HasRxIdDialog()) {
        for (const CString& t : texts) {
            m_view.RxIdAddText(t);
        }
    }
}

void NmeaDecoder::DecodePgrmc(CString fields) {
    static constexpr const char16_t* kLines[] = {
        u"  Fix Mode = %s\n",
        u"  Altitude (MSL) = %s meters\n",
        u"  Earth Datum Index = %s\n",
        u"  Semi-major axis = %s meters\n",
        u"  Inverse Flattening factor = %s\n",
        u"  Delta-X = %s\n",
        u"  Delta-Y = %s\n",
        u"  Delta-Z = %s\n",
        u"  Differential Mode = %s\n",
        u"  Baud Rate = %s\n",
        u"  Velocity Filter = %s\n",
        u"  Null field = %s\n",
    };
    std::vector<CString> texts;
    texts.emplace_back(u"$PGRMC Configuration Message:\n");
    for (const char16_t* line : kLines) {
        CString text;
        text.Format(line, NextNmeaField(fields, u" ").GetString());
        texts.push_back(text);
    }
    if (m_view.HasRxIdDialog()) {
        for (const CString& t : texts) {
            m_view.RxIdAddText(t);
        }
    }
}

void NmeaDecoder::DecodePgrmo(CString fields) {
    CString text;
    text.Format(u"$PGRMO: Target Sentence = %s, ", NextNmeaField(fields, u"NONE").GetString());
    text.AppendFormat(u"  Mode = %s\n", NextNmeaField(fields, u" ").GetString());
    if (m_view.HasRxIdDialog()) {
        m_view.RxIdAddText(text);
    }
}
