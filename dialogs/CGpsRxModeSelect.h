// The receiver's navigation and timing parameters ("GPS Rx Settings"): fix mode, elevation mask, satellite
// selection, corrections, DGPS output, pulse settings, constellations and the per-satellite enable mask. The
// configuration commands are built from the public members; the defaults sets depend on the receiver in use
// (g_interfaceMode and g_receiverIdentity).
#pragma once

#include "platform/base/Win32Types.h"

// Which controls the opening leaves enabled for the receiver in use.
struct RxModeControls {
    bool gpsMode2D = true;
    bool gpsMode0D = true;
    bool positionFixMode = true;
    bool satelliteSelection = true;
    bool geometry = true;
    bool ionoCorrection = true;
    bool tropoCorrection = true;
    bool elevationMask = true;
    bool applicationType = true;
    bool dgpsActivate = true;
    bool dgpsRate = true;
    bool alignMessages = true;
    bool satelliteCheckRows = true; // the enable grid's check-box rows
    bool disableAllButton = true;
    bool sixChannel = true;
    bool localTime = true;
    bool pulseMode = true;
    bool ppsDuration = true;
    bool constellations = true;
    bool dgpsDefaultsButton = true;
    bool okButton = true;
};

class CGpsRxModeSelect {
public:
    enum { IDD = 133 };
    enum : UINT { kElevationMaskId = 1105, kDgpsRateId = 1120 };

    CGpsRxModeSelect();
    // Keeps the two receiver-state flags the identity line shows.
    ~CGpsRxModeSelect();
    CGpsRxModeSelect(const CGpsRxModeSelect&) = delete;
    CGpsRxModeSelect& operator=(const CGpsRxModeSelect&) = delete;

    // Reads every setting; receivers that cannot do 0-D navigation have a stored 0-D mode made 2-D (and
    // stored so).
    void LoadSettings();
    // The PRNs in the channel table (bit PRN-1); the seen mask keeps every one of the run.
    void SetTrackedSatellites(DWORD mask);
    void OnEnableAllSatellites() { m_satEnableMask = 0xFFFFFFFFu; }
    void OnDisableAllSatellites() { m_satEnableMask = 0; }

    // The opening: the settings read again, then what the receiver cannot do disabled with the value it
    // works with forced into the member.
    RxModeControls OnInitDialog();

    // The correction values the defaults use: 1 is "Disabled".
    int IonoDefault(int flag) const;
    int TropoDefault(int flag) const;
    void OnNavigationDefaults();
    void OnPrecisionTimingDefaults();
    void OnDgpsDefaults();

    // The first control whose value is outside its range, 0 when both are inside.
    UINT FindInvalidControl() const;
    // Writes every setting when both values are inside their ranges; FALSE leaves the dialog open.
    BOOL OnOK();

    int m_elevationMask = 0;       // degrees, 0 to 89
    int m_gpsMode = -1;            // 0 3-D, 1 2-D, 2 0-D (timing)
    int m_positionFixMode = -1;    // 0 all in view, 1 best 4
    int m_satelliteSelection = -1; // 0 best geometry, 1 highest in the sky
    int m_geometry = -1;           // 0 GDOP, 1 PDOP, 2 HDOP, 3 VDOP, 4 TDOP
    int m_ionoCorrection = -1;     // 0 enabled, 1 disabled
    int m_tropoCorrection = -1;    // 0 enabled, 1 disabled
    int m_applicationType = -1;    // 0 air, 1 handheld, 2 land, 3 marine, 4 static
    BOOL m_alignMessages = FALSE;
    BOOL m_dgpsActivate = FALSE;
    int m_dgpsRate = 30; // seconds per message, 1 to 255
    BOOL m_emulatePvt6 = FALSE;
    int m_pulseMode = 0;   // 0 1 PPS, 1 100 PPS
    int m_ppsDuration = 0; // 0 200 ms, 1 30 µs
    BOOL m_gpsRxOnLocalTime = FALSE;
    BOOL m_satGps = FALSE;
    BOOL m_satGlonass = FALSE;
    BOOL m_satGalileo = FALSE;
    BOOL m_satBeidou = FALSE;
    BOOL m_satQzss = FALSE;
    BOOL m_satSbas = FALSE;
    DWORD m_satEnableMask = 0; // bit n-1 = PRN n
    DWORD m_trackedMask = 0;
    DWORD m_seenMask = 0;

private:
    // The blocks the opening shares between receivers.
    void DisableAdvancedSelections(RxModeControls& c, bool applicationType);
    void DisableDgps(RxModeControls& c);
    void DisableSatelliteChoice(RxModeControls& c);
    void DisablePps(RxModeControls& c);
    void DisableConstellations(RxModeControls& c);
    void DisableOldReceiverControls(RxModeControls& c);
    // The parts the three defaults sets share.
    void SetCorrections(int iono, int tropo);
    void SetTimingSelections(int applicationType);
    void SetDgpsOutput(BOOL on);
    void SetGpsOnly(BOOL withSbas);
};
