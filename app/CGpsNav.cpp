#include "app/CGpsNav.h"

#include "app/GpsTime.h"
#include "app/PositionText.h"
#include "platform/base/WideRuntime.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char16_t* kAveragingSection = u"Averaging Data";
constexpr const char16_t* kReferenceSection = u"RefLocation";
constexpr double kMetresPerDegree = 111111.1;
// Not pi/180: the stored metres-per-degree figures were made with this factor.
constexpr double kRadiansPerDegree = 0.0174533;
constexpr double kCounterCeiling = 999999.0;

// A text is valid when its start converts and the value is in range.
bool ConvertText(const CString& text, double* value) {
    char16_t* end = nullptr;
    *value = wcstod(text.GetString(), &end);
    return end != text.GetString();
}

void StepCounter(double& counter, double limit) {
    counter = counter < limit ? counter + 1 : limit;
    if (counter > kCounterCeiling) {
        counter = kCounterCeiling;
    }
}

// A weight limit below 1 leaves its counter below 1; averaging over at least one sample keeps the means
// finite (the average then follows the fix).
double Divisor(double counter) {
    return std::max(counter, 1.0);
}

CString Fixed16(double value) {
    CString text;
    text.Format(u"%018.16f", value);
    return text;
}

} // namespace

CGpsNav::CGpsNav(IPositionAveragerHost& host) : m_host(host) {
    LoadReference();
    LoadSettings();
    LoadAverages();
    m_metresPerDegLat = kMetresPerDegree;
    m_metresPerDegLon = std::cos(m_refLatitude * kRadiansPerDegree) * kMetresPerDegree;
    m_trackedCount = -1;
    m_fixQuality = -1;
    m_speedKnots = -1.0;
    m_headingDeg = -1.0;
    m_gdop = m_pdop = m_hdop = m_vdop = m_tdop = 0.0;
    m_locked = FALSE;
    SetTimingErrorTerms(500, 500);
}

CGpsNav::~CGpsNav() {
    SaveAverages();
}

void CGpsNav::LoadReference() {
    struct Field {
        const char16_t* key;
        const char16_t* defaultText;
        double* value;
        bool (*inRange)(double);
    };
    const Field fields[] = {
        {u"Latitude", u"32.9143894", &m_refLatitude, [](double v) { return v >= -90.0 && v <= 90.0; }},
        {u"Longitude", u"-117.1122356", &m_refLongitude, [](double v) { return v > -180.0 && v <= 180.0; }},
        {u"GPS Altitude", u"96.06", &m_refAltitudeGps, [](double v) { return v >= -1000.0; }},
        {u"MSL Altitude", u"100.0", &m_refAltitudeMsl, [](double v) { return v >= -1000.0; }},
    };
    for (const Field& field : fields) {
        double value = 0.0;
        if (!ConvertText(AppGetProfileString(kReferenceSection, field.key, field.defaultText), &value) ||
            !field.inRange(value)) {
            value = 0.0;
            AppWriteProfileString(kReferenceSection, field.key, Fixed16(value));
        }
        *field.value = value;
    }
    m_refLocOnStart = AppGetProfileInt(kReferenceSection, u"Ref_Loc_On_Start", 1);
}

void CGpsNav::LoadSettings() {
    struct Field {
        const char16_t* key;
        double defaultValue;
        SettingRange<double> range;
        const char16_t* writeFormat;
        double* value;
    };
    AveragingSettings& s = m_settings;
    const Field fields[] = {
        {u"Position Weight Limit", 28800.0, kWeightLimitRange, u"%08.1f", &s.positionWeightLimit},
        {u"RMS Weight Limit", 86400.0, kWeightLimitRange, u"%08.1f", &s.rmsWeightLimit},
        {u"Timing Weight Limit", 28800.0, kWeightLimitRange, u"%08.1f", &s.timingWeightLimit},
        {u"HDOP Weight", 1.5, kStoredDopWeightRange, u"%04.1f", &s.hdopWeight},
        {u"VDOP Weight", 2.0, kStoredDopWeightRange, u"%04.1f", &s.vdopWeight},
        {u"TDOP Weight", 1.5, kStoredDopWeightRange, u"%04.1f", &s.tdopWeight},
    };
    s.useDopWeighting = AppGetProfileInt(kAveragingSection, u"Use DOP Weighting", 1);
    for (const Field& field : fields) {
        CString defaultText;
        defaultText.Format(u"%.1f", field.defaultValue);
        double value = 0.0;
        if (!ConvertText(AppGetProfileString(kAveragingSection, field.key, defaultText), &value) ||
            !field.range.Contains(value)) {
            value = field.defaultValue;
            CString text;
            text.Format(field.writeFormat, value);
            AppWriteProfileString(kAveragingSection, field.key, text);
        }
        *field.value = value;
    }
    s.restartOnUnlock = AppGetProfileInt(kAveragingSection, u"Restart Averages On Unlock", 1);
    s.continueOnRestart = AppGetProfileInt(kAveragingSection, u"Restart Averages On Startup", 0);
}

void CGpsNav::Show(UINT controlId, const CString& text) const {
    if (m_host.IsDialogOpen()) {
        m_host.ShowControlText(controlId, text);
    }
}

void CGpsNav::ShowCount(UINT controlId, double count) const {
    CString text;
    text.Format(u"%i", static_cast<int>(count));
    Show(controlId, text);
}

double CGpsNav::DopWeight(double weight, double dop) const {
    if (m_settings.useDopWeighting && dop > 0) {
        const double w = weight / dop;
        return w * w;
    }
    return 1.0;
}

void CGpsNav::AverageTerm(Term& term, double difference, double weight) const {
    const double n = Divisor(m_rmsCount);
    double v = weight;
    double s = n - v;
    if (s < 0) {
        v = n;
        s = 0;
    }
    term.difference = difference;
    term.meanSquare = (s * term.meanSquare + v * difference * difference) / n;
    term.rms = std::sqrt(term.meanSquare);
}

CString CGpsNav::UpdatePosition(double latitude, double longitude, double altitudeGps, double altitudeMsl,
                                int gpsMode) {
    m_latitude = latitude;
    m_longitude = longitude;
    m_altitudeGps = altitudeGps;
    m_altitudeMsl = altitudeMsl;
    UpdateAverages(gpsMode);
    return FormatGridLocator();
}

void CGpsNav::UpdateAverages(int gpsMode) {
    if (!m_locked) {
        if (m_settings.restartOnUnlock && !m_restartPending) {
            ResetAverages();
        }
        if (m_hadTimingSolution) {
            m_tsigmaText = u"No Timing Solution. Not enough satellites tracked.";
            Show(kIdcTsigma, m_tsigmaText);
            m_hadTimingSolution = false;
        }
        return;
    }
    m_hadTimingSolution = true;

    StepCounter(m_timingCount, m_settings.timingWeightLimit);
    ShowCount(kIdcTimingCount, m_timingCount);
    {
        const double n = Divisor(m_timingCount);
        double w = DopWeight(m_settings.tdopWeight, m_tdop);
        double r = n - w;
        if (r < 0) {
            w = n;
            r = 0;
        }
        const double unknowns = gpsMode == 0 ? 4.0 : gpsMode == 1 ? 3.0 : 1.0;
        if (m_trackedCount <= 0) {
            m_tsigmaText.Empty();
        } else {
            const double tracked = m_trackedCount;
            const double q = tracked > unknowns ? (tracked - unknowns + 0.5) / unknowns : 0.5 / unknowns;
            m_tsigma = std::sqrt(m_timingErrorSumSq / q);
            m_tsigmaAverage = (r * m_tsigmaAverage + w * m_tsigma) / n;
            m_tsigmaMax = m_tsigmaMax > 0 ? std::max(m_tsigmaMax, m_tsigma) : m_tsigma;
            m_tsigmaMin = m_tsigmaMin > 0 ? std::min(m_tsigmaMin, m_tsigma) : m_tsigma;
            m_tsigmaText.Format(u"Tsigma %03.0f nsec (max %3.0f, average %3.0f, min %3.0f)", m_tsigma,
                                m_tsigmaMax, m_tsigmaAverage, m_tsigmaMin);
        }
        Show(kIdcTsigma, m_tsigmaText);
    }

    if (m_restartPending) {
        m_avgLatitude = m_latitude;
        m_avgLongitude = m_longitude;
        m_avgAltitudeGps = m_altitudeGps;
        m_avgAltitudeMsl = m_altitudeMsl;
        m_restartPending = false;
    }

    const bool fix = m_fixType == 2 || m_fixType == 3;
    // One more update after the fix was lost still averages.
    if (!m_hadPositionFix && !fix) {
        return;
    }

    StepCounter(m_positionCount, m_settings.positionWeightLimit);
    if (m_fixType == 3) {
        StepCounter(m_altitudeCount, m_settings.positionWeightLimit);
    }
    if (static_cast<int>(m_positionCount) == static_cast<int>(m_altitudeCount)) {
        m_positionCountText.Format(u"%i", static_cast<int>(m_positionCount));
    } else {
        m_positionCountText.Format(u"%i/%i", static_cast<int>(m_positionCount),
                                   static_cast<int>(m_altitudeCount));
    }
    Show(kIdcPositionCount, m_positionCountText);
    StepCounter(m_rmsCount, m_settings.rmsWeightLimit);
    ShowCount(kIdcRmsCount, m_rmsCount);

    const double n = Divisor(m_positionCount);
    double w = DopWeight(m_settings.hdopWeight, m_hdop);
    double r = n - w;
    if (r < 0) {
        w = n;
        r = 0;
    }
    m_avgLatitude = (r * m_avgLatitude + w * m_latitude) / n;
    m_avgLongitude = (r * m_avgLongitude + w * m_longitude) / n;

    const double lat[kPairCount] = {(m_refLatitude - m_avgLatitude) * m_metresPerDegLat,
                                    (m_avgLatitude - m_latitude) * m_metresPerDegLat,
                                    (m_refLatitude - m_latitude) * m_metresPerDegLat};
    const double lon[kPairCount] = {(m_refLongitude - m_avgLongitude) * m_metresPerDegLon,
                                    (m_avgLongitude - m_longitude) * m_metresPerDegLon,
                                    (m_refLongitude - m_longitude) * m_metresPerDegLon};
    for (int pair = 0; pair < kPairCount; ++pair) {
        AverageTerm(m_terms[pair][kLatitude], lat[pair], w);
        AverageTerm(m_terms[pair][kLongitude], lon[pair], w);
        AverageTerm(m_terms[pair][k2D], std::sqrt(lat[pair] * lat[pair] + lon[pair] * lon[pair]), 1.0);
    }

    if (m_fixType == 3) {
        const double na = Divisor(m_altitudeCount);
        double wa = DopWeight(m_settings.vdopWeight, m_vdop);
        double ra = na - wa;
        if (ra < 0) {
            wa = na;
            ra = 0;
        }
        m_avgAltitudeGps = (ra * m_avgAltitudeGps + wa * m_altitudeGps) / na;
        m_avgAltitudeMsl = (ra * m_avgAltitudeMsl + wa * m_altitudeMsl) / na;
        const double gps[kPairCount] = {m_refAltitudeGps - m_avgAltitudeGps, m_avgAltitudeGps - m_altitudeGps,
                                        m_refAltitudeGps - m_altitudeGps};
        const double msl[kPairCount] = {m_refAltitudeMsl - m_avgAltitudeMsl, m_avgAltitudeMsl - m_altitudeMsl,
                                        m_refAltitudeMsl - m_altitudeMsl};
        for (int pair = 0; pair < kPairCount; ++pair) {
            AverageTerm(m_terms[pair][kAltitudeGps], gps[pair], wa);
            AverageTerm(m_terms[pair][kAltitudeMsl], msl[pair], wa);
        }
    }

    m_hadPositionFix = fix;
    if (m_host.IsDialogOpen()) {
        m_host.ShowControlText(kIdcReport, FormatAveragesReport());
    }
}

BOOL CGpsNav::CheckLock(int gpsMode, const CGpsTime& tick) {
    bool locked = true;
    if (gpsMode == 0 || gpsMode == 1) {
        locked = m_trackedCount >= 3;
    } else if (gpsMode == 2) {
        locked = m_trackedCount >= 1;
    }
    if (!locked) {
        ++m_unlockCount;
        m_locked = FALSE;
        if (m_host.IsDialogOpen()) {
            ShowCount(kIdcUnlockCount, m_unlockCount);
            Show(kIdcLockedSince, CString());
        }
        return FALSE;
    }
    if (!m_locked) {
        m_locked = TRUE;
        m_lockedSinceText = tick.Format(u"%d%b%y %H:%M:%S") + u" UTC";
        Show(kIdcLockedSince, m_lockedSinceText);
    }
    return TRUE;
}

void CGpsNav::SetDops(double gdop, double pdop, double hdop, double vdop, double tdop) {
    if (gdop >= 0) {
        m_gdop = gdop;
    }
    if (pdop >= 0) {
        m_pdop = pdop;
    }
    if (hdop >= 0) {
        m_hdop = hdop;
    }
    if (vdop >= 0) {
        m_vdop = vdop;
    }
    if (tdop >= 0) {
        m_tdop = tdop;
    }
}

void CGpsNav::SetFixType(int fixType) {
    if (fixType == m_fixType) {
        return;
    }
    m_fixType = fixType;
    if (m_host.GetInterfaceMode() == 2) {
        // Ask for the position-hold state; 0xFF goes out as one byte.
        CString command(m_host.GetActiveChannelCount() < 12 ? u"@@At" : u"@@Gd");
        command += static_cast<TCHAR>(0xFF);
        m_host.SendGpsCommand(command);
    }
}

void CGpsNav::SetTrackedCount(int count) {
    if (count >= 0) {
        m_trackedCount = count;
    }
}

void CGpsNav::SetSpeed(double knots) {
    if (knots >= 0) {
        m_speedKnots = knots;
    }
}

void CGpsNav::SetHeading(double degrees) {
    if (degrees >= 0) {
        m_headingDeg = degrees;
    }
}

void CGpsNav::SetFixQuality(int level) {
    if (level >= -1) {
        m_fixQuality = level;
    }
}

void CGpsNav::SetTimingErrorTerms(double a, double b) {
    m_timingErrorA = a;
    m_timingErrorB = b;
    m_timingErrorSumSq = a * a + b * b;
}

void CGpsNav::GetReferencePosition(double& latitude, double& longitude, double& altitudeGps,
                                   double& altitudeMsl) const {
    latitude = m_refLatitude;
    longitude = m_refLongitude;
    altitudeGps = m_refAltitudeGps;
    altitudeMsl = m_refAltitudeMsl;
}

void CGpsNav::SetReferencePosition(double latitude, double longitude, double altitudeGps,
                                   double altitudeMsl) {
    m_refLatitude = latitude;
    m_refLongitude = longitude;
    m_refAltitudeGps = altitudeGps;
    m_refAltitudeMsl = altitudeMsl;
    m_metresPerDegLat = kMetresPerDegree;
    m_metresPerDegLon = std::cos(latitude * kRadiansPerDegree) * kMetresPerDegree;
    AppWriteProfileString(kReferenceSection, u"Latitude", Fixed16(latitude));
    AppWriteProfileString(kReferenceSection, u"Longitude", Fixed16(longitude));
    AppWriteProfileString(kReferenceSection, u"GPS Altitude", Fixed16(altitudeGps));
    AppWriteProfileString(kReferenceSection, u"MSL Altitude", Fixed16(altitudeMsl));
    AppWriteProfileInt(kReferenceSection, u"Ref_Loc_On_Start", m_refLocOnStart);
}

void CGpsNav::SetReferenceFromAverage() {
    SetReferencePosition(m_avgLatitude, m_avgLongitude, m_avgAltitudeGps, m_avgAltitudeMsl);
}

void CGpsNav::SetReferenceFromCurrent() {
    SetReferencePosition(m_latitude, m_longitude, m_altitudeGps, m_altitudeMsl);
}

bool CGpsNav::DopWeightingUnavailable() const {
    const int mode = m_host.GetInterfaceMode();
    return (mode == kModeMotorolaBinary || mode == kModeMotorolaRxOnly) &&
           !ReceiverModel(m_host.GetReceiverModel()).Has(kDopWeighting);
}

void CGpsNav::ResetAverages() {
    m_avgLatitude = m_latitude;
    m_avgLongitude = m_longitude;
    m_avgAltitudeGps = m_altitudeGps;
    m_avgAltitudeMsl = m_altitudeMsl;
    for (auto& row : m_terms) {
        for (Term& term : row) {
            term = Term();
        }
    }
    m_positionCount = m_altitudeCount = m_rmsCount = m_timingCount = 0.0;
    m_unlockCount = 0;
    m_tsigma = m_tsigmaMax = m_tsigmaMin = -1.0;
    m_tsigmaAverage = 0.0;
    m_restartPending = true;
    if (DopWeightingUnavailable()) {
        m_settings.useDopWeighting = FALSE;
    }
}

namespace {

// The stored mean squares, one key per axis, each in the pair order Ref-Avg, Avg-Cur, Ref-Cur.
struct StoredAxis {
    const char16_t* key;
    CGpsNav::Axis axis;
};
constexpr StoredAxis kStoredAxes[] = {
    {u"Averages - RMS Lat", CGpsNav::kLatitude},    {u"Averages - RMS Lng", CGpsNav::kLongitude},
    {u"Averages - RMS 2D", CGpsNav::k2D},           {u"Averages - RMS Msl", CGpsNav::kAltitudeMsl},
    {u"Averages - RMS Alt", CGpsNav::kAltitudeGps},
};

} // namespace

void CGpsNav::SaveAverages() const {
    CString text;
    text.Format(u"%018.16f %018.16f %018.16f %018.16f", m_avgLatitude, m_avgLongitude, m_avgAltitudeGps,
                m_avgAltitudeMsl);
    AppWriteProfileString(kAveragingSection, u"Averages - Position", text);
    text.Format(u"%018.16f %018.16f %018.16f", m_positionCount, m_altitudeCount, m_rmsCount);
    AppWriteProfileString(kAveragingSection, u"Averages - Weights", text);
    for (const StoredAxis& stored : kStoredAxes) {
        text.Format(u"%018.16f %018.16f %018.16f", m_terms[kRefAvg][stored.axis].meanSquare,
                    m_terms[kAvgCur][stored.axis].meanSquare, m_terms[kRefCur][stored.axis].meanSquare);
        AppWriteProfileString(kAveragingSection, stored.key, text);
    }
}

void CGpsNav::LoadAverages() {
    if (!m_settings.continueOnRestart) {
        ResetAverages();
        return;
    }
    CString text = AppGetProfileString(kAveragingSection, u"Averages - Position", u"");
    m_avgLatitude = ParseNextNumber(text);
    m_avgLongitude = ParseNextNumber(text);
    m_avgAltitudeGps = ParseNextNumber(text);
    m_avgAltitudeMsl = ParseNextNumber(text);
    text = AppGetProfileString(kAveragingSection, u"Averages - Weights", u"");
    m_positionCount = ParseNextNumber(text);
    m_altitudeCount = ParseNextNumber(text);
    m_rmsCount = ParseNextNumber(text);
    for (const StoredAxis& stored : kStoredAxes) {
        text = AppGetProfileString(kAveragingSection, stored.key, u"");
        for (int pair = 0; pair < kPairCount; ++pair) {
            m_terms[pair][stored.axis].meanSquare = ParseNextNumber(text);
        }
    }
    if (DopWeightingUnavailable()) {
        m_settings.useDopWeighting = FALSE;
    }
}

double CGpsNav::ParseNextNumber(CString& text) {
    const std::u16string& s = text.str();
    size_t start = 0;
    while (start < s.size() && iswspace(s[start])) {
        ++start;
    }
    size_t end = start;
    while (end < s.size() &&
           std::u16string_view(u"+-1234567890.").find(s[end]) != std::u16string_view::npos) {
        ++end;
    }
    if (end == start) {
        return 0.0;
    }
    const std::u16string run = s.substr(start, end - start);
    const double value = wcstod(run.c_str(), nullptr);
    while (end < s.size() && iswspace(s[end])) {
        ++end;
    }
    text = CString(s.substr(end));
    return value;
}

UINT CGpsNav::FirstInvalidSetting(const AveragingSettings& s) {
    // The loader's range for every limit: a negative one would drive its counter and mean squares negative.
    auto limitOk = [](double v) { return kWeightLimitRange.Contains(v); };
    auto weightOk = [](double v) { return kDopWeightRange.Contains(v); };
    if (!limitOk(s.positionWeightLimit)) {
        return kIdcLimitPosition;
    }
    if (!limitOk(s.rmsWeightLimit)) {
        return kIdcLimitRms;
    }
    if (!limitOk(s.timingWeightLimit)) {
        return kIdcLimitTiming;
    }
    if (!weightOk(s.hdopWeight)) {
        return kIdcHdopWeight;
    }
    if (!weightOk(s.vdopWeight)) {
        return kIdcVdopWeight;
    }
    if (!weightOk(s.tdopWeight)) {
        return kIdcTdopWeight;
    }
    return 0;
}

void CGpsNav::SaveSettings() const {
    const AveragingSettings& s = m_settings;
    CString text;
    text.Format(u"%08.1f", s.positionWeightLimit);
    AppWriteProfileString(kAveragingSection, u"Position Weight Limit", text);
    text.Format(u"%08.1f", s.rmsWeightLimit);
    AppWriteProfileString(kAveragingSection, u"RMS Weight Limit", text);
    text.Format(u"%08.1f", s.timingWeightLimit);
    AppWriteProfileString(kAveragingSection, u"Timing Weight Limit", text);
    AppWriteProfileInt(kAveragingSection, u"Use DOP Weighting", s.useDopWeighting);
    text.Format(u"%04.1f", s.hdopWeight);
    AppWriteProfileString(kAveragingSection, u"HDOP Weight", text);
    text.Format(u"%04.1f", s.vdopWeight);
    AppWriteProfileString(kAveragingSection, u"VDOP Weight", text);
    text.Format(u"%04.1f", s.tdopWeight);
    AppWriteProfileString(kAveragingSection, u"TDOP Weight", text);
    AppWriteProfileInt(kAveragingSection, u"Restart Averages On Unlock", s.restartOnUnlock);
    AppWriteProfileInt(kAveragingSection, u"Restart Averages On Startup", s.continueOnRestart);
}

void CGpsNav::ResetPositionCount() {
    m_positionCount = 0.0;
    m_altitudeCount = 0.0;
    m_positionCountText.Format(u"%i", 0);
    Show(kIdcPositionCount, m_positionCountText);
    m_avgLatitude = m_latitude;
    m_avgLongitude = m_longitude;
    m_avgAltitudeGps = m_altitudeGps;
    m_avgAltitudeMsl = m_altitudeMsl;
}

void CGpsNav::ResetRmsCount() {
    m_rmsCount = 0.0;
    ShowCount(kIdcRmsCount, 0);
}

void CGpsNav::ResetTimingCount() {
    m_tsigmaMax = m_tsigmaMin = m_tsigmaAverage = m_tsigma;
    m_timingCount = 0.0;
    ShowCount(kIdcTimingCount, 0);
}

void CGpsNav::ResetUnlockCount() {
    m_unlockCount = 0;
    ShowCount(kIdcUnlockCount, 0);
}

void CGpsNav::ResetAll() {
    ResetPositionCount();
    ResetRmsCount();
    ResetTimingCount();
}

CString CGpsNav::FormatCurrentPosition(int format) const {
    return FormatPositionText(format, m_latitude, m_longitude, m_altitudeGps, m_altitudeMsl, true);
}

CString CGpsNav::FormatAveragePosition(int format) const {
    return FormatPositionText(format, m_avgLatitude, m_avgLongitude, m_avgAltitudeGps, m_avgAltitudeMsl,
                              false);
}

CString CGpsNav::FormatReferencePosition(int format) const {
    return FormatPositionText(format, m_refLatitude, m_refLongitude, m_refAltitudeGps, m_refAltitudeMsl,
                              false);
}

CString CGpsNav::FormatGridLocator() const {
    return ::FormatGridLocator(m_latitude, m_longitude);
}

CString CGpsNav::FormatDops() const {
    return FormatDopText(m_gdop, m_pdop, m_hdop, m_vdop, m_tdop);
}

const CString& CGpsNav::FormatAveragesReport() {
    AveragingReportValues values;
    for (int pair = 0; pair < kPairCount; ++pair) {
        for (int axis = 0; axis < kAxisCount; ++axis) {
            values.difference[pair][axis] = m_terms[pair][axis].difference;
            values.rms[pair][axis] = m_terms[pair][axis].rms;
        }
    }
    m_reportText = FormatAveragesReportText(values);
    return m_reportText;
}
