// The position-averaging engine behind the "Averaging Parameters" dialog: weighted running means of the
// receiver's fixes with the differences and RMS values against the reference location, the timing-accuracy
// estimate (Tsigma), the lock state and the reference location itself. The dialog owns one engine for the
// whole run; the engine works whether or not the dialog is open.
#pragma once

#include "appframe/SettingRange.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

class CGpsTime;

// What the engine needs from its owner.
class IPositionAveragerHost {
public:
    virtual ~IPositionAveragerHost() = default;
    // The receiver interface mode (2 Motorola Binary, 3 Motorola Binary Rx Only, ...), the receiver's model
    // code and its active channel count.
    virtual int GetInterfaceMode() const = 0;
    virtual int GetReceiverModel() const = 0;
    virtual int GetActiveChannelCount() const = 0;
    virtual void SendGpsCommand(const CString& command) = 0;
    // The dialog's controls are written only while it is open.
    virtual bool IsDialogOpen() const = 0;
    virtual void ShowControlText(UINT controlId, const CString& text) = 0;
};

// What the dialog accepts for the three weight limits and the three DOP weights. Loading keeps its own rule:
// a stored value outside its range (the DOP weights may be stored up to 99) takes the default and is
// written back.
constexpr SettingRange<double> kWeightLimitRange{0.0, 999999.0};
constexpr SettingRange<double> kDopWeightRange{0.0, 10.0};
constexpr SettingRange<double> kStoredDopWeightRange{0.0, 99.0};

// Profile section "Averaging Data".
struct AveragingSettings {
    double positionWeightLimit = 28800.0;
    double rmsWeightLimit = 86400.0;
    double timingWeightLimit = 28800.0;
    BOOL useDopWeighting = TRUE;
    double hdopWeight = 1.5;
    double vdopWeight = 2.0;
    double tdopWeight = 1.5;
    BOOL restartOnUnlock = TRUE;
    BOOL continueOnRestart = FALSE;
};

// Control ids of the dialog that the engine writes.
enum AveragingControl : UINT {
    kIdcPositionCount = 1042,
    kIdcRmsCount = 1043,
    kIdcTimingCount = 1044,
    kIdcLockedSince = 1046,
    kIdcUnlockCount = 1047,
    kIdcTsigma = 1051,
    kIdcLimitPosition = 1061,
    kIdcLimitRms = 1062,
    kIdcLimitTiming = 1063,
    kIdcHdopWeight = 1048,
    kIdcVdopWeight = 1059,
    kIdcTdopWeight = 1060,
    kIdcReport = 1064,
};

class CGpsNav {
public:
    enum Pair { kRefAvg, kAvgCur, kRefCur, kPairCount };
    enum Axis { kLatitude, kLongitude, k2D, kAltitudeGps, kAltitudeMsl, kAxisCount };
    struct Term {
        double difference = 0.0; // metres
        double meanSquare = 0.0;
        double rms = 0.0;
    };

    // Loads the settings, the reference location and (when continued) the stored averages.
    explicit CGpsNav(IPositionAveragerHost& host);
    // Saves the averages: the next start continues from this run's when it is told to.
    ~CGpsNav();
    CGpsNav(const CGpsNav&) = delete;
    CGpsNav& operator=(const CGpsNav&) = delete;

    // Stores the fix, averages it and answers its grid locator.
    CString UpdatePosition(double latitude, double longitude, double altitudeGps, double altitudeMsl,
                           int gpsMode);
    void UpdateAverages(int gpsMode);
    // gpsMode: 0 3-D, 1 2-D, 2 timing (0-D).
    BOOL CheckLock(int gpsMode, const CGpsTime& tick);

    // Negative DOPs, counts, speeds and headings (fix quality below -1) mean "not reported" and are ignored.
    void SetDops(double gdop, double pdop, double hdop, double vdop, double tdop);
    void SetFixType(int fixType);
    int GetFixType() const { return m_fixType; }
    void SetTrackedCount(int count);
    int GetTrackedCount() const { return m_trackedCount; }
    void SetSpeed(double knots);
    double GetSpeed() const { return m_speedKnots; }
    void SetHeading(double degrees);
    double GetHeading() const { return m_headingDeg; }
    void SetFixQuality(int level);
    int GetFixQuality() const { return m_fixQuality; }
    void SetTimingErrorTerms(double a, double b);

    void GetReferencePosition(double& latitude, double& longitude, double& altitudeGps,
                              double& altitudeMsl) const;
    double GetReferenceMslAltitude() const { return m_refAltitudeMsl; }
    int GetRefLocOnStart() const { return m_refLocOnStart; }
    void SetRefLocOnStart(int value) { m_refLocOnStart = value; }
    void SetReferencePosition(double latitude, double longitude, double altitudeGps, double altitudeMsl);
    void SetReferenceFromAverage();
    void SetReferenceFromCurrent();
    double GetCurrentGeoidSeparation() const { return m_altitudeGps - m_altitudeMsl; }
    double GetMetresPerDegreeLongitude() const { return m_metresPerDegLon; }

    void ResetAverages();
    void LoadAverages();
    void SaveAverages() const;

    // The dialog's side: its settings, their check on OK (0 when valid, else the id of the first control
    // out of range), their store, and its reset buttons.
    AveragingSettings& Settings() { return m_settings; }
    const AveragingSettings& Settings() const { return m_settings; }
    static UINT FirstInvalidSetting(const AveragingSettings& settings);
    void SaveSettings() const;
    // Motorola Binary receivers other than model 10 report no usable DOPs for weighting.
    bool DopWeightingUnavailable() const;
    void ResetPositionCount();
    void ResetRmsCount();
    void ResetTimingCount();
    void ResetUnlockCount();
    void ResetAll();

    // Texts; format as in FormatPositionText (3 only for the current fix).
    CString FormatCurrentPosition(int format) const;
    CString FormatAveragePosition(int format) const;
    CString FormatReferencePosition(int format) const;
    CString FormatGridLocator() const;
    CString FormatDops() const;
    // Rebuilds and answers the report text.
    const CString& FormatAveragesReport();

    // Takes the next number off the front of a stored text (0.0 and the text untouched when there is none).
    static double ParseNextNumber(CString& text);

    double GetAverageLatitude() const { return m_avgLatitude; }
    double GetAverageLongitude() const { return m_avgLongitude; }
    double GetAverageAltitudeGps() const { return m_avgAltitudeGps; }
    double GetAverageAltitudeMsl() const { return m_avgAltitudeMsl; }
    double GetPositionCount() const { return m_positionCount; }
    double GetAltitudeCount() const { return m_altitudeCount; }
    double GetRmsCount() const { return m_rmsCount; }
    double GetTimingCount() const { return m_timingCount; }
    const Term& GetTerm(Pair pair, Axis axis) const { return m_terms[pair][axis]; }
    double GetTsigma() const { return m_tsigma; }
    double GetTsigmaMax() const { return m_tsigmaMax; }
    double GetTsigmaMin() const { return m_tsigmaMin; }
    double GetTsigmaAverage() const { return m_tsigmaAverage; }
    BOOL IsLocked() const { return m_locked; }
    int GetUnlockCount() const { return m_unlockCount; }
    bool IsRestartPending() const { return m_restartPending; }
    const CString& GetTsigmaText() const { return m_tsigmaText; }
    const CString& GetPositionCountText() const { return m_positionCountText; }
    const CString& GetLockedSinceText() const { return m_lockedSinceText; }
    const CString& GetReportText() const { return m_reportText; }

private:
    void Show(UINT controlId, const CString& text) const;
    void ShowCount(UINT controlId, double count) const;
    void LoadReference();
    void LoadSettings();
    double DopWeight(double weight, double dop) const;
    void AverageTerm(Term& term, double difference, double weight) const;

    IPositionAveragerHost& m_host;
    AveragingSettings m_settings;

    double m_refLatitude = 0.0;
    double m_refLongitude = 0.0;
    double m_refAltitudeGps = 0.0;
    double m_refAltitudeMsl = 0.0;
    int m_refLocOnStart = 0;
    double m_metresPerDegLat = 0.0;
    double m_metresPerDegLon = 0.0;

    double m_latitude = 0.0;
    double m_longitude = 0.0;
    double m_altitudeGps = 0.0;
    double m_altitudeMsl = 0.0;
    int m_fixType = 0;
    double m_gdop = 0.0, m_pdop = 0.0, m_hdop = 0.0, m_vdop = 0.0, m_tdop = 0.0;
    int m_trackedCount = 0;
    double m_speedKnots = 0.0;
    double m_headingDeg = 0.0;
    int m_fixQuality = 0;

    double m_avgLatitude = 0.0;
    double m_avgLongitude = 0.0;
    double m_avgAltitudeGps = 0.0;
    double m_avgAltitudeMsl = 0.0;
    double m_positionCount = 0.0;
    double m_altitudeCount = 0.0;
    double m_rmsCount = 0.0;
    double m_timingCount = 0.0;
    Term m_terms[kPairCount][kAxisCount];

    double m_timingErrorA = 0.0;
    double m_timingErrorB = 0.0;
    double m_timingErrorSumSq = 0.0;
    double m_tsigma = 0.0;
    double m_tsigmaMax = 0.0;
    double m_tsigmaMin = 0.0;
    double m_tsigmaAverage = 0.0;

    BOOL m_locked = FALSE;
    int m_unlockCount = 0;
    CString m_lockedSinceText;
    bool m_restartPending = false;
    // The last update was locked / the last locked update had a 2-D or 3-D fix. One engine lives for the
    // whole run, so they need not be process-wide.
    bool m_hadTimingSolution = true;
    bool m_hadPositionFix = true;

    CString m_tsigmaText;
    CString m_reportText;
    CString m_positionCountText;
};
