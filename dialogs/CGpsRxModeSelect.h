// The receiver's navigation and timing parameters ("GPS Rx Settings"): fix mode, elevation mask, satellite
// selection, corrections, DGPS output, pulse settings, constellations and the per-satellite enable mask. The
// configuration commands are built from the public members; the defaults sets depend on the receiver in use
// (g_interfaceMode and g_receiverIdentity).
#pragma once

#include "appframe/CPersistentDialog.h"
#include "appframe/SettingRange.h"
#include "platform/base/Win32Types.h"
#include "resources/Resource.h"

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

class CSatEnableGridWnd;

class CGpsRxModeSelect : public CPersistentDialog {
public:
    enum { IDD = IDD_RX_MODE_SELECT };
    enum : UINT {
        kFirstGpsModeId = 1102,
        kGpsMode2DId = 1103,
        kGpsMode0DId = 1104,
        kElevationMaskId = 1105,
        kBest4Id = 1106,
        kDgpsActivateId = 1107,
        kAllInViewId = 1108,
        kHighestInSkyId = 1109,
        kBestGeometryId = 1110,
        kFirstGeometryId = 1111,
        kIonoDisabledId = 1116,
        kIonoEnabledId = 1117,
        kSatelliteGridId = 1118,
        kDgpsRateId = 1120,
        kFirstApplicationId = 1121,
        kTropoEnabledId = 1127,
        kEnableAllId = 1128,
        kDisableAllId = 1129,
        kTropoDisabledId = 1131,
        kNavigationDefaultsId = 1133,
        kTimingDefaultsId = 1134,
        kAlignMessagesId = 1135,
        kDgpsDefaultsId = 1137,
        kSixChannelId = 1172,
        kOnePpsId = 1173,
        kHundredPpsId = 1174,
        kLongPulseId = 1175,
        kShortPulseId = 1176,
        kLocalTimeId = 1179,
        kSatGpsId = 1273,
        kSatGlonassId = 1274,
        kSatBeidouId = 1275,
        kSatGalileoId = 1276,
        kSatQzssId = 1277,
        kSatSbasId = 1278,
    };

    // What the edits accept; stored values are clamped into these when loaded.
    static constexpr SettingRange<int> kElevationMaskRange{0, 89};
    static constexpr SettingRange<int> kDgpsRateRange{1, 255};

    explicit CGpsRxModeSelect(CWnd* pParent = nullptr);
    // Keeps the two receiver-state flags the identity line shows.
    ~CGpsRxModeSelect() override;
    CGpsRxModeSelect(const CGpsRxModeSelect&) = delete;
    CGpsRxModeSelect& operator=(const CGpsRxModeSelect&) = delete;

    // Reads every setting, the elevation mask and the DGPS rate clamped into their ranges; receivers that
    // cannot do 0-D navigation have a stored 0-D mode made 2-D (and stored so).
    void LoadSettings();
    // The PRNs in the channel table (bit PRN-1); the seen mask keeps every one of the run.
    void SetTrackedSatellites(DWORD mask);
    void OnEnableAllSatellites() { SetEnableMask(0xFFFFFFFFu); }
    void OnDisableAllSatellites() { SetEnableMask(0); }
    // The satellite-enable grid while the dialog is open, else null.
    CSatEnableGridWnd* SatelliteGrid();

    // The opening: the settings read again, then what the receiver cannot do disabled with the value it
    // works with forced into the member.
    RxModeControls PrepareOpening();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The correction values the defaults use: 1 is "Disabled".
    int IonoDefault(int flag) const;
    int TropoDefault(int flag) const;
    void OnNavigationDefaults();
    void OnPrecisionTimingDefaults();
    void OnDgpsDefaults();

    // The first control whose value is outside its range, 0 when both are inside.
    UINT FindInvalidControl() const;
    // Writes every setting when both values are inside their ranges; FALSE leaves the dialog open.
    BOOL ConfirmSettings();
    // The mask kept and shown in the grid when it is open.
    void SetEnableMask(DWORD mask);

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

protected:
    void OnOK() override;
    // The window's handlers.
    void OnElevationKillFocus();
    void OnFieldCheck(UINT controlId) override;
    void OnDgpsActivateClicked();
    void OnEnableAllClicked() { OnEnableAllSatellites(); }
    void OnDisableAllClicked() { OnDisableAllSatellites(); }
    void OnNavigationDefaultsClicked();
    void OnTimingDefaultsClicked();
    void OnDgpsDefaultsClicked();
    void OnHundredPpsClicked();

private:
    // Enables the controls by what the opening found.
    void ApplyControls(const RxModeControls& c);
    RxModeControls m_controls;

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

    DECLARE_MESSAGE_MAP()
};
