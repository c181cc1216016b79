#include "dialogs/CSyncClockDialog.h"

#include "platform/controls/CommonControls.h"
#include "receiver/AppProfileAccess.h"

#include <limits>

namespace {

constexpr char16_t kSection[] = u"Time Sync";

constexpr LPCTSTR kUnitNames[] = {u"Hour(s)", u"Minute(s)", u"Second(s)"};

} // namespace

BEGIN_MESSAGE_MAP(CSyncClockDialog, CPersistentDialog)
ON_BN_CLICKED(CSyncClockDialog::kMaxOnId, OnMaxActivate)
END_MESSAGE_MAP()

CSyncClockDialog::CSyncClockDialog(CWnd* pParent) : CPersistentDialog(IDD, pParent) {
    LoadSettings();
    UpdateMaxSeconds();
    m_opening = CurrentSettings();
}

void CSyncClockDialog::LoadSettings() {
    m_syncMode = AppGetProfileInt(kSection, u"Time Sync Mode", 0);
    if (!kSyncModeRange.Contains(m_syncMode)) {
        m_syncMode = kDisable;
    }
    m_deltaMs = kDeltaMsRange.Clamp(AppGetProfileInt(kSection, u"Time Sync Delta Msec", 100));
    m_overrideIntegrity = AppGetProfileInt(kSection, u"Time Sync Override Integrity", 0);
    m_overrideTraim = AppGetProfileInt(kSection, u"Time Sync Override TRAIM", 0);
    m_deltaOn = AppGetProfileInt(kSection, u"Time Sync Delta", 0);
    m_maxOn = AppGetProfileInt(kSection, u"Time Sync Max On", 0);
    m_maxQty = kMaxQtyRange.Clamp(AppGetProfileInt(kSection, u"Time Sync Max Qty", 1));
    m_maxUnits = kMaxUnitsRange.Clamp(AppGetProfileInt(kSection, u"Time Sync Max Units", 0));
}

void CSyncClockDialog::UpdateMaxSeconds() {
    switch (m_maxUnits) {
    case kHours:
        m_maxSeconds = LONGLONG{m_maxQty} * 3600;
        break;
    case kMinutes:
        m_maxSeconds = LONGLONG{m_maxQty} * 60;
        break;
    case kSeconds:
        m_maxSeconds = LONGLONG{m_maxQty};
        break;
    default:
        m_maxSeconds = 0;
        break;
    }
}

void CSyncClockDialog::NoteClockSet(const CString& text) {
    m_lastSyncText = text;
    if (m_resetCount == std::numeric_limits<UINT>::max()) {
        m_resetCountText.Format(u"> %u", m_resetCount);
    } else {
        ++m_resetCount;
        m_resetCountText.Format(u"%u", m_resetCount);
    }
    if (GetSafeHwnd()) {
        SetDlgItemTextW(kLastSyncId, m_lastSyncText);
        SetDlgItemTextW(kResetCountId, m_resetCountText);
    }
}

UINT CSyncClockDialog::FindInvalidControl() const {
    if (!kDeltaMsRange.Contains(m_deltaMs)) {
        return kDeltaMsId;
    }
    if (!kMaxQtyRange.Contains(m_maxQty)) {
        return kMaxQtyId;
    }
    return 0;
}

BOOL CSyncClockDialog::OnInitDialog() {
    SendDlgItemMessageW(kMaxUnitsId, CB_RESETCONTENT, 0, 0);
    for (LPCTSTR name : kUnitNames) {
        SendDlgItemMessageW(kMaxUnitsId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendDlgItemMessageW(kMaxQtySpinId, UDM_SETRANGE32, kMaxQtyRange.low, kMaxQtyRange.high);
    LoadSettings();
    UpdateMaxSeconds();
    m_opening = CurrentSettings();
    CPersistentDialog::OnInitDialog();
    SendDlgItemMessageW(kMaxUnitsId, CB_SETCURSEL, static_cast<WPARAM>(m_maxUnits), 0);
    EnableMaxControls(m_maxOn);
    return TRUE;
}

void CSyncClockDialog::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, kFirstModeId, m_syncMode);
    DDX_Text(pDX, kDeltaMsId, m_deltaMs);
    DDV_MinMaxInt(pDX, m_deltaMs, kDeltaMsRange.low, kDeltaMsRange.high);
    DDX_Text(pDX, kLastSyncId, m_lastSyncText);
    DDX_Text(pDX, kResetCountId, m_resetCountText);
    DDX_Check(pDX, kOverrideIntegrityId, m_overrideIntegrity);
    DDX_Check(pDX, kOverrideTraimId, m_overrideTraim);
    DDX_Check(pDX, kDeltaOnId, m_deltaOn);
    DDX_Text(pDX, kNtpHitsId, m_ntpHitsText);
    DDX_Check(pDX, kMaxOnId, m_maxOn);
    DDX_Text(pDX, kMaxQtyId, m_maxQty);
    DDV_MinMaxUInt(pDX, m_maxQty, kMaxQtyRange.low, kMaxQtyRange.high);
}

CSyncClockDialog::Settings CSyncClockDialog::CurrentSettings() const {
    return {m_syncMode, m_deltaMs, m_overrideIntegrity, m_overrideTraim, m_deltaOn,
            m_maxOn,    m_maxQty,  m_maxUnits};
}

void CSyncClockDialog::RestoreSettings(const Settings& settings) {
    m_syncMode = settings.syncMode;
    m_deltaMs = settings.deltaMs;
    m_overrideIntegrity = settings.overrideIntegrity;
    m_overrideTraim = settings.overrideTraim;
    m_deltaOn = settings.deltaOn;
    m_maxOn = settings.maxOn;
    m_maxQty = settings.maxQty;
    m_maxUnits = settings.maxUnits;
    UpdateMaxSeconds();
}

void CSyncClockDialog::EnableMaxControls(BOOL on) {
    for (UINT id : {kMaxQtySpinId, kMaxUnitsId, kMaxQtyId}) {
        if (CWnd* item = GetDlgItem(static_cast<int>(id))) {
            item->EnableWindow(on ? TRUE : FALSE);
        }
    }
}

// Only the controls follow: the clock setting reads the overrides from the members while the dialog is
// open, so nothing reaches them before OK.
void CSyncClockDialog::OnMaxActivate() {
    EnableMaxControls(IsDlgButtonChecked(kMaxOnId) ? TRUE : FALSE);
}

void CSyncClockDialog::OnOK() {
    if (!GetSafeHwnd()) {
        ConfirmSettings();
        return;
    }
    if (!UpdateData(TRUE)) {
        // What was taken before the refused value goes back: the dialog stays open, nothing is accepted.
        RestoreSettings(m_opening);
        return;
    }
    const LRESULT units = SendDlgItemMessageW(kMaxUnitsId, CB_GETCURSEL, 0, 0);
    if (units != CB_ERR) {
        m_maxUnits = static_cast<int>(units);
    }
    if (ConfirmSettings()) {
        CPersistentDialog::OnOK();
    } else {
        RestoreSettings(m_opening);
    }
}

void CSyncClockDialog::OnCancel() {
    RestoreSettings(m_opening);
    CPersistentDialog::OnCancel();
}

BOOL CSyncClockDialog::ConfirmSettings() {
    if (FindInvalidControl() != 0) {
        return FALSE;
    }
    if (AppGetProfileInt(kSection, u"Time Sync Mode", 0) != m_syncMode ||
        AppGetProfileInt(kSection, u"Time Sync Delta", 0) != m_deltaOn ||
        AppGetProfileInt(kSection, u"Time Sync Delta Msec", 100) != m_deltaMs) {
        m_resetCount = 0;
        m_resetCountText = u"0";
        AppWriteProfileInt(kSection, u"Time Sync Mode", m_syncMode);
        AppWriteProfileInt(kSection, u"Time Sync Delta", m_deltaOn);
        AppWriteProfileInt(kSection, u"Time Sync Delta Msec", m_deltaMs);
    }
    AppWriteProfileInt(kSection, u"Time Sync Override TRAIM", m_overrideTraim);
    AppWriteProfileInt(kSection, u"Time Sync Override Integrity", m_overrideIntegrity);
    AppWriteProfileInt(kSection, u"Time Sync Max On", m_maxOn);
    AppWriteProfileInt(kSection, u"Time Sync Max Qty", static_cast<int>(m_maxQty));
    AppWriteProfileInt(kSection, u"Time Sync Max Units", m_maxUnits);
    UpdateMaxSeconds();
    return TRUE;
}
