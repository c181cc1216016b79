#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CSatEnableGridWnd.h"
#include "grid/CGXStyle.h"

#include "platform/display/WindowApi.h"

#include "receiver/AppProfileAccess.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr char16_t kSection[] = u"GPS Rx Settings";

int Mode() {
    return g_interfaceMode.load();
}

bool IsGenericNmeaMode() {
    return Mode() >= 4 && Mode() <= 6;
}

bool IsUbloxMode() {
    return Mode() == kModeUbloxUbx || Mode() == kModeUbloxNmea;
}

using F = ReceiverFamily;

const ReceiverModelInfo& Receiver() {
    return ReceiverModel(g_receiverIdentity.model);
}

bool FamilyIn(std::initializer_list<ReceiverFamily> families) {
    return std::find(families.begin(), families.end(), Receiver().family) != families.end();
}

bool Below(float threshold) {
    return FirmwareBelow(g_receiverIdentity.firmwareVersion, threshold);
}

int Read(LPCTSTR key, int defaultValue) {
    return AppGetProfileInt(kSection, key, defaultValue);
}

void Write(LPCTSTR key, int value) {
    AppWriteProfileInt(kSection, key, value);
}

} // namespace

BEGIN_MESSAGE_MAP(CGpsRxModeSelect, CPersistentDialog)
ON_EN_KILLFOCUS(CGpsRxModeSelect::kElevationMaskId, OnElevationKillFocus)
ON_BN_CLICKED(CGpsRxModeSelect::kDgpsActivateId, OnDgpsActivateClicked)
ON_BN_CLICKED(CGpsRxModeSelect::kEnableAllId, OnEnableAllClicked)
ON_BN_CLICKED(CGpsRxModeSelect::kDisableAllId, OnDisableAllClicked)
ON_BN_CLICKED(CGpsRxModeSelect::kNavigationDefaultsId, OnNavigationDefaultsClicked)
ON_BN_CLICKED(CGpsRxModeSelect::kTimingDefaultsId, OnTimingDefaultsClicked)
ON_BN_CLICKED(CGpsRxModeSelect::kDgpsDefaultsId, OnDgpsDefaultsClicked)
ON_BN_CLICKED(CGpsRxModeSelect::kHundredPpsId, OnHundredPpsClicked)
END_MESSAGE_MAP()

CGpsRxModeSelect::CGpsRxModeSelect(CWnd* pParent) : CPersistentDialog(IDD, pParent) {
    RegisterSatEnableGridClass();
    LoadSettings();
    m_emulatePvt6 = Read(u"Emulate Pvt6", 0);
}

CGpsRxModeSelect::~CGpsRxModeSelect() {
    Write(u"Emulate Pvt6", m_emulatePvt6);
    Write(u"Gps Rx On Local Time", m_gpsRxOnLocalTime);
}

void CGpsRxModeSelect::LoadSettings() {
    m_elevationMask = kElevationMaskRange.Clamp(Read(u"Elevation Mask", 5));
    m_gpsMode = Read(u"GPS Mode", 0);
    m_positionFixMode = Read(u"Position Fix Mode", 0);
    m_satelliteSelection = Read(u"Satellite Selection", 0);
    m_geometry = Read(u"Geometry", 0);
    m_ionoCorrection = Read(u"Ionospheric Delay", 0);
    m_tropoCorrection = Read(u"Tropospheric Delay", 1);
    m_applicationType = Read(u"Application Type", 2);
    m_alignMessages = Read(u"Align Messages", 0);
    m_dgpsActivate = Read(u"DGPS Activate", 0);
    m_dgpsRate = kDgpsRateRange.Clamp(Read(u"DGPS Rate", 30));
    m_emulatePvt6 = Read(u"Emulate Pvt6", 0);
    m_ppsDuration = Read(u"PPS Duration", 0);
    // Only a Motorola binary link runs the receiver on local time.
    m_gpsRxOnLocalTime = Mode() == kModeMotorolaBinary ? Read(u"Gps Rx On Local Time", 0) : 0;
    m_satGps = Read(u"Sat Gps", 1);
    m_satGlonass = Read(u"Sat Glonass", 0);
    m_satGalileo = Read(u"Sat Galileo", 0);
    m_satBeidou = Read(u"Sat Beidou", 0);
    m_satQzss = Read(u"Sat Qzss", 0);
    m_satSbas = Read(u"Sat Sbas", 0);
    SetEnableMask(static_cast<DWORD>(Read(u"Sat Enable Bit Mask", -1)));
    if (m_gpsMode == 2 && (IsGenericNmeaMode() || FamilyIn({F::kGtSl}))) {
        m_gpsMode = 1;
        Write(u"GPS Mode", m_gpsMode);
    }
}

void CGpsRxModeSelect::SetTrackedSatellites(DWORD mask) {
    m_trackedMask = mask;
    m_seenMask |= mask;
    if (CSatEnableGridWnd* grid = SatelliteGrid()) {
        grid->ShowTrackedMasks(m_trackedMask, m_seenMask);
    }
}

CSatEnableGridWnd* CGpsRxModeSelect::SatelliteGrid() {
    if (!GetSafeHwnd()) {
        return nullptr;
    }
    auto* grid = dynamic_cast<CSatEnableGridWnd*>(GetDlgItem(kSatelliteGridId));
    return grid && grid->GetParam() ? grid : nullptr;
}

void CGpsRxModeSelect::SetEnableMask(DWORD mask) {
    m_satEnableMask = mask;
    if (CSatEnableGridWnd* grid = SatelliteGrid()) {
        grid->SetEnableMask(mask);
    }
}

void CGpsRxModeSelect::DisableAdvancedSelections(RxModeControls& c, bool applicationType) {
    c.positionFixMode = false;
    m_positionFixMode = 0;
    c.satelliteSelection = false;
    m_satelliteSelection = 0;
    c.geometry = false;
    m_geometry = 1;
    if (applicationType) {
        c.applicationType = false;
        m_applicationType = 2;
    }
    c.alignMessages = false;
    m_alignMessages = FALSE;
}

void CGpsRxModeSelect::DisableDgps(RxModeControls& c) {
    c.dgpsActivate = false;
    c.dgpsRate = false;
    m_dgpsActivate = FALSE;
}

void CGpsRxModeSelect::DisableSatelliteChoice(RxModeControls& c) {
    c.satelliteCheckRows = false;
    c.disableAllButton = false;
    OnEnableAllSatellites();
}

void CGpsRxModeSelect::DisablePps(RxModeControls& c) {
    c.pulseMode = false;
    m_pulseMode = 0;
    c.ppsDuration = false;
    m_ppsDuration = 0;
}

void CGpsRxModeSelect::DisableConstellations(RxModeControls& c) {
    c.constellations = false;
    SetGpsOnly(FALSE);
}

void CGpsRxModeSelect::DisableOldReceiverControls(RxModeControls& c) {
    if (Below(2.0f)) {
        c.elevationMask = false;
        m_elevationMask = 10;
        c.tropoCorrection = false;
        m_tropoCorrection = 1;
    }
    DisableAdvancedSelections(c, true);
    DisableDgps(c);
    DisableSatelliteChoice(c);
    c.sixChannel = false;
    m_emulatePvt6 = FALSE;
    DisableConstellations(c);
}

RxModeControls CGpsRxModeSelect::PrepareOpening() {
    LoadSettings();
    RxModeControls c;
    c.dgpsRate = m_dgpsActivate != FALSE;
    const bool binary = Mode() == kModeMotorolaBinary;
    auto no2D = [&] {
        c.gpsMode2D = false;
        if (m_gpsMode == 1) {
            m_gpsMode = 0;
        }
    };
    auto no0D = [&] {
        c.gpsMode0D = false;
        if (m_gpsMode == 2) {
            m_gpsMode = 0;
        }
    };
    auto noIono = [&](int value) {
        c.ionoCorrection = false;
        m_ionoCorrection = value;
    };
    auto noTropo = [&](int value) {
        c.tropoCorrection = false;
        m_tropoCorrection = value;
    };
    auto noSixChannel = [&] {
        c.sixChannel = false;
        m_emulatePvt6 = FALSE;
    };
    auto noLocalTime = [&] {
        c.localTime = false;
        m_gpsRxOnLocalTime = FALSE;
    };

    if (IsGenericNmeaMode()) {
        no0D();
        noIono(IonoDefault(1));
        noTropo(TropoDefault(0));
        c.elevationMask = false;
        m_elevationMask = 5;
        DisableAdvancedSelections(c, true);
        DisableDgps(c);
        DisableSatelliteChoice(c);
        noSixChannel();
        noLocalTime();
        DisablePps(c);
        DisableConstellations(c);
    } else if (FamilyIn({F::kGtSl})) {
        if (Below(1.6f)) {
            noIono(1);
        }
        if (Below(2.0f)) {
            no2D();
        }
        no0D();
        DisablePps(c);
        DisableOldReceiverControls(c);
    } else if (FamilyIn({F::kUt})) {
        if (Below(2.0f)) {
            noIono(1);
            DisablePps(c);
        }
        no2D();
        DisableOldReceiverControls(c);
    } else if (FamilyIn({F::kConexant})) {
        if (Below(2.0f)) {
            noIono(1);
        }
        no2D();
        DisableAdvancedSelections(c, true);
        DisableDgps(c);
        DisableSatelliteChoice(c);
        noSixChannel();
        DisablePps(c);
        DisableConstellations(c);
    } else if (FamilyIn({F::kVpXt})) {
        DisablePps(c);
        if (!binary || Below(8.9f)) {
            noTropo(1);
        }
        if (!binary || Below(8.0f)) {
            noSixChannel();
        }
        if (!(g_receiverIdentity.hasDgps && binary)) {
            DisableDgps(c);
            c.alignMessages = false;
            m_alignMessages = FALSE;
        }
        DisableConstellations(c);
    } else if (FamilyIn({F::kM12})) {
        DisableAdvancedSelections(c, true);
        DisableDgps(c);
        noSixChannel();
        DisableConstellations(c);
    } else if (Receiver().IsWqt()) {
        DisableAdvancedSelections(c, false);
        DisableDgps(c);
        noSixChannel();
        noLocalTime();
        if (Receiver().Has(kPulseModeFixed)) {
            c.pulseMode = false;
            m_pulseMode = 0;
            c.ppsDuration = !Below(3.299f);
            if (!c.ppsDuration) {
                m_ppsDuration = 0;
            }
        }
        if (FamilyIn({F::kWqt6T})) {
            DisableConstellations(c);
        }
    } else if (IsUbloxMode()) {
        no2D();
        noIono(0);
        noTropo(0);
        DisableAdvancedSelections(c, false);
        DisableDgps(c);
        DisableSatelliteChoice(c);
        noSixChannel();
        noLocalTime();
        c.ppsDuration = true;
    }

    c.dgpsDefaultsButton = g_receiverIdentity.hasDgps && binary;
    c.okButton = Mode() != kModeGenericNmea;
    if (!binary) {
        noLocalTime();
    }
    return c;
}

int CGpsRxModeSelect::IonoDefault(int flag) const {
    if (flag == 0) {
        return 1;
    }
    if (IsGenericNmeaMode()) {
        return 0;
    }
    if (FamilyIn({F::kGtSl})) {
        return Below(1.6f) ? 1 : 0;
    }
    if (FamilyIn({F::kUt, F::kConexant})) {
        return Below(2.0f) ? 1 : 0;
    }
    return 0;
}

int CGpsRxModeSelect::TropoDefault(int flag) const {
    if (flag == 0 || IsGenericNmeaMode()) {
        return 1;
    }
    if (FamilyIn({F::kGtSl, F::kUt, F::kConexant})) {
        return Below(2.0f) ? 1 : 0;
    }
    if (FamilyIn({F::kM12, F::kWqt6T, F::kWqtM8})) {
        return 0;
    }
    return Below(8.9f) ? 1 : 0;
}

void CGpsRxModeSelect::SetCorrections(int iono, int tropo) {
    m_ionoCorrection = iono;
    m_tropoCorrection = tropo;
}

void CGpsRxModeSelect::SetTimingSelections(int applicationType) {
    m_positionFixMode = 0;
    m_satelliteSelection = 1;
    m_geometry = 4;
    m_applicationType = applicationType;
    SetDgpsOutput(FALSE);
    OnEnableAllSatellites();
}

void CGpsRxModeSelect::SetDgpsOutput(BOOL on) {
    m_dgpsActivate = on;
}

void CGpsRxModeSelect::SetGpsOnly(BOOL withSbas) {
    m_satGps = TRUE;
    m_satGlonass = FALSE;
    m_satGalileo = FALSE;
    m_satBeidou = FALSE;
    m_satQzss = FALSE;
    m_satSbas = withSbas;
}

void CGpsRxModeSelect::OnNavigationDefaults() {
    SetCorrections(IonoDefault(1), TropoDefault(1));
    if (IsGenericNmeaMode()) {
        m_gpsMode = 0;
        return;
    }
    if (FamilyIn({F::kGtSl, F::kUt, F::kConexant})) {
        m_elevationMask = Below(2.0f) ? 10 : 5;
        m_gpsMode = 0;
        return;
    }
    m_elevationMask = 5;
    m_gpsMode = 0;
    m_positionFixMode = 0;
    m_satelliteSelection = 0;
    m_geometry = 0;
    m_applicationType = 2;
    SetDgpsOutput(FALSE);
    OnEnableAllSatellites();
    if (!FamilyIn({F::kM12, F::kWqt6T}) && (FamilyIn({F::kWqtM8}) || IsUbloxMode())) {
        SetGpsOnly(TRUE);
    }
}

void CGpsRxModeSelect::OnPrecisionTimingDefaults() {
    SetCorrections(IonoDefault(1), TropoDefault(1));
    if (IsGenericNmeaMode()) {
        m_gpsMode = 1;
    } else if (FamilyIn({F::kGtSl})) {
        m_gpsMode = Below(2.0f) ? 0 : 1;
        m_elevationMask = 10;
    } else if (FamilyIn({F::kUt, F::kConexant})) {
        m_gpsMode = 2;
        m_elevationMask = 10;
    } else if (FamilyIn({F::kM12})) {
        m_gpsMode = 2;
        m_elevationMask = 5;
        SetTimingSelections(2);
    } else if (FamilyIn({F::kWqt6T})) {
        m_gpsMode = 2;
        m_elevationMask = 5;
        SetTimingSelections(4);
    } else if (FamilyIn({F::kWqtM8}) || IsUbloxMode()) {
        m_gpsMode = 2;
        m_elevationMask = 5;
        SetTimingSelections(4);
        SetGpsOnly(FALSE);
    } else {
        m_gpsMode = 2;
        m_elevationMask = 10;
        SetTimingSelections(2);
    }
}

void CGpsRxModeSelect::OnDgpsDefaults() {
    SetCorrections(1, 1);
    if (IsGenericNmeaMode()) {
        m_gpsMode = 1;
        return;
    }
    if (FamilyIn({F::kGtSl})) {
        m_gpsMode = Below(2.0f) ? 0 : 1;
        m_elevationMask = Below(2.0f) ? 10 : 5;
        return;
    }
    if (FamilyIn({F::kUt, F::kConexant})) {
        m_gpsMode = 2;
        m_elevationMask = Below(2.0f) ? 10 : 5;
        return;
    }
    m_gpsMode = 2;
    m_elevationMask = FamilyIn({F::kM12, F::kWqt6T, F::kWqtM8}) ? 5 : 10;
    m_positionFixMode = 0;
    m_satelliteSelection = 0;
    m_geometry = 0;
    m_applicationType = 2;
    SetDgpsOutput(TRUE);
    OnEnableAllSatellites();
}

UINT CGpsRxModeSelect::FindInvalidControl() const {
    if (!kElevationMaskRange.Contains(m_elevationMask)) {
        return kElevationMaskId;
    }
    if (!kDgpsRateRange.Contains(m_dgpsRate)) {
        return kDgpsRateId;
    }
    return 0;
}

BOOL CGpsRxModeSelect::ConfirmSettings() {
    if (FindInvalidControl() != 0) {
        return FALSE;
    }
    Write(u"Elevation Mask", m_elevationMask);
    Write(u"GPS Mode", m_gpsMode);
    Write(u"Position Fix Mode", m_positionFixMode);
    Write(u"Satellite Selection", m_satelliteSelection);
    Write(u"Geometry", m_geometry);
    Write(u"Application Type", m_applicationType);
    Write(u"Ionospheric Delay", m_ionoCorrection);
    Write(u"Tropospheric Delay", m_tropoCorrection);
    Write(u"DGPS Activate", m_dgpsActivate);
    Write(u"DGPS Rate", m_dgpsRate);
    Write(u"Align Messages", m_alignMessages);
    Write(u"Emulate Pvt6", m_emulatePvt6);
    Write(u"Gps Rx On Local Time", m_gpsRxOnLocalTime);
    Write(u"Sat Beidou", m_satBeidou);
    Write(u"Sat Glonass", m_satGlonass);
    Write(u"Sat Galileo", m_satGalileo);
    Write(u"Sat Gps", m_satGps);
    Write(u"Sat Qzss", m_satQzss);
    Write(u"Sat Sbas", m_satSbas);
    Write(u"PPS Duration", m_ppsDuration);
    Write(u"Sat Enable Bit Mask", static_cast<int>(m_satEnableMask));
    return TRUE;
}

BOOL CGpsRxModeSelect::OnInitDialog() {
    CPersistentDialog::OnInitDialog();
    m_controls = PrepareOpening();
    if (CSatEnableGridWnd* grid = SatelliteGrid()) {
        grid->SetEnableMask(m_satEnableMask);
        grid->InitTrackedMasks(m_trackedMask, m_seenMask);
    }
    UpdateData(FALSE);
    ApplyControls(m_controls);
    return TRUE;
}

void CGpsRxModeSelect::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kElevationMaskId, m_elevationMask);
    DDV_MinMaxInt(pDX, m_elevationMask, kElevationMaskRange.low, kElevationMaskRange.high);
    DDX_Radio(pDX, kFirstGpsModeId, m_gpsMode);
    DDX_Radio(pDX, kAllInViewId, m_positionFixMode);
    DDX_Radio(pDX, kBestGeometryId, m_satelliteSelection);
    DDX_Radio(pDX, kFirstGeometryId, m_geometry);
    DDX_Radio(pDX, kIonoEnabledId, m_ionoCorrection);
    DDX_Radio(pDX, kTropoEnabledId, m_tropoCorrection);
    DDX_Radio(pDX, kFirstApplicationId, m_applicationType);
    DDX_Check(pDX, kAlignMessagesId, m_alignMessages);
    DDX_Check(pDX, kDgpsActivateId, m_dgpsActivate);
    DDX_Text(pDX, kDgpsRateId, m_dgpsRate);
    DDV_MinMaxInt(pDX, m_dgpsRate, kDgpsRateRange.low, kDgpsRateRange.high);
    DDX_Check(pDX, kSixChannelId, m_emulatePvt6);
    DDX_Radio(pDX, kOnePpsId, m_pulseMode);
    DDX_Radio(pDX, kLongPulseId, m_ppsDuration);
    DDX_Check(pDX, kLocalTimeId, m_gpsRxOnLocalTime);
    DDX_Check(pDX, kSatGpsId, m_satGps);
    DDX_Check(pDX, kSatGlonassId, m_satGlonass);
    DDX_Check(pDX, kSatGalileoId, m_satGalileo);
    DDX_Check(pDX, kSatBeidouId, m_satBeidou);
    DDX_Check(pDX, kSatQzssId, m_satQzss);
    DDX_Check(pDX, kSatSbasId, m_satSbas);
}

void CGpsRxModeSelect::ApplyControls(const RxModeControls& c) {
    auto enable = [this](std::initializer_list<UINT> ids, bool on) {
        for (UINT id : ids) {
            if (CWnd* item = GetDlgItem(static_cast<int>(id))) {
                item->EnableWindow(on ? TRUE : FALSE);
            }
        }
    };
    enable({kGpsMode2DId}, c.gpsMode2D);
    enable({kGpsMode0DId}, c.gpsMode0D);
    enable({kAllInViewId, kBest4Id}, c.positionFixMode);
    enable({kBestGeometryId, kHighestInSkyId}, c.satelliteSelection);
    enable({kFirstGeometryId, kFirstGeometryId + 1, kFirstGeometryId + 2, kFirstGeometryId + 3,
            kFirstGeometryId + 4},
           c.geometry);
    enable({kIonoEnabledId, kIonoDisabledId}, c.ionoCorrection);
    enable({kTropoEnabledId, kTropoDisabledId}, c.tropoCorrection);
    enable({kElevationMaskId}, c.elevationMask);
    enable({kFirstApplicationId, kFirstApplicationId + 1, kFirstApplicationId + 2, kFirstApplicationId + 3,
            kFirstApplicationId + 4},
           c.applicationType);
    enable({kDgpsActivateId}, c.dgpsActivate);
    enable({kDgpsRateId}, c.dgpsRate);
    SendDlgItemMessageW(kDgpsRateId, EM_SETREADONLY, c.dgpsRate ? FALSE : TRUE, 0);
    enable({kAlignMessagesId}, c.alignMessages);
    enable({kDisableAllId}, c.disableAllButton);
    if (CSatEnableGridWnd* grid = SatelliteGrid(); grid && !c.satelliteCheckRows) {
        CGXStyle disabled;
        disabled.SetEnabled(FALSE);
        grid->SetStyleRange(CGXRange(2, 1, 2, 16), &disabled);
        grid->SetStyleRange(CGXRange(4, 1, 4, 16), &disabled);
    }
    enable({kSixChannelId}, c.sixChannel);
    enable({kLocalTimeId}, c.localTime);
    enable({kOnePpsId, kHundredPpsId}, c.pulseMode);
    enable({kLongPulseId, kShortPulseId}, c.ppsDuration);
    enable({kSatGpsId, kSatGlonassId, kSatGalileoId, kSatBeidouId, kSatQzssId, kSatSbasId}, c.constellations);
    enable({kDgpsDefaultsId}, c.dgpsDefaultsButton);
    enable({IDOK}, c.okButton);
}

void CGpsRxModeSelect::OnElevationKillFocus() {
    PostFieldCheck(kElevationMaskId);
}

void CGpsRxModeSelect::OnFieldCheck(UINT) {
    UpdateData(TRUE);
}

void CGpsRxModeSelect::OnDgpsActivateClicked() {
    m_dgpsActivate = IsDlgButtonChecked(kDgpsActivateId) ? TRUE : FALSE;
    const bool rate = m_controls.dgpsActivate && m_dgpsActivate;
    if (CWnd* item = GetDlgItem(kDgpsRateId)) {
        item->EnableWindow(rate ? TRUE : FALSE);
    }
    SendDlgItemMessageW(kDgpsRateId, EM_SETREADONLY, rate ? FALSE : TRUE, 0);
}

void CGpsRxModeSelect::OnNavigationDefaultsClicked() {
    UpdateData(TRUE);
    OnNavigationDefaults();
    UpdateData(FALSE);
}

void CGpsRxModeSelect::OnTimingDefaultsClicked() {
    UpdateData(TRUE);
    OnPrecisionTimingDefaults();
    UpdateData(FALSE);
}

void CGpsRxModeSelect::OnDgpsDefaultsClicked() {
    UpdateData(TRUE);
    OnDgpsDefaults();
    UpdateData(FALSE);
}

void CGpsRxModeSelect::OnHundredPpsClicked() {
    const int answer =
        MessageBoxW(u"WARNING: For all GPS receivers except the\r\nQVR Clock II, selecting 100 PPS will "
                    u"disable \r\nPPS time synchronization for the computer.\r\nDo you really want to do "
                    u"this?",
                    nullptr, MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDNO) {
        CheckRadioButton(kOnePpsId, kHundredPpsId, kOnePpsId);
        m_pulseMode = 0;
    }
}

void CGpsRxModeSelect::OnOK() {
    if (!GetSafeHwnd()) {
        ConfirmSettings();
        return;
    }
    if (!UpdateData(TRUE)) {
        return;
    }
    if (CSatEnableGridWnd* grid = SatelliteGrid()) {
        m_satEnableMask = grid->GetEnableMask();
    }
    if (!ConfirmSettings()) {
        return;
    }
    CPersistentDialog::OnOK();
}
