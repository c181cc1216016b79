#include "dialogs/CTimingDialog.h"

#include "dialogs/CCoaxDelayCalculator.h"
#include "platform/controls/CommonControls.h"

#include "platform/base/CString.h"
#include "platform/base/WideRuntime.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr char16_t kSection[] = u"Timing Adjustments";

// Halves away from zero.
double Round3(double x) {
    return std::trunc(x * 1000.0 + (x < 0 ? -0.5 : 0.5)) * 0.001;
}

double Trunc3(double x) {
    return std::trunc(x * 1000.0) * 0.001;
}

double Trunc1(double x) {
    return std::trunc(x * 10.0) * 0.1;
}

double ReadDouble(LPCTSTR key, LPCTSTR defaultText) {
    const CString text = AppGetProfileString(kSection, key, defaultText);
    return wcstod(text, nullptr);
}

void WriteDouble(LPCTSTR key, LPCTSTR format, double value) {
    CString text;
    text.Format(format, value);
    AppWriteProfileString(kSection, key, text);
}

// The edits whose loss of focus recalculates.
constexpr UINT kDeferredEdits[] = {
    CTimingDialog::kAntennaCableDelayId, CTimingDialog::kEpochId,
    CTimingDialog::kExtraDelayId,        CTimingDialog::kMeasurementCableDelayId,
    CTimingDialog::kPpsOffsetId,         CTimingDialog::kRxDelayId,
    CTimingDialog::kTraimLimitId};

} // namespace

BEGIN_MESSAGE_MAP(CTimingDialog, CPersistentDialog)
ON_CONTROL_RANGE(EN_KILLFOCUS, CTimingDialog::kEpochId, CTimingDialog::kTraimLimitId, OnEditKillFocus)
ON_WM_PARENTNOTIFY()
ON_NOTIFY(UDN_DELTAPOS, CTimingDialog::kEpochSpinId, OnSpin)
ON_NOTIFY(UDN_DELTAPOS, CTimingDialog::kPpsOffsetSpinId, OnSpin)
ON_NOTIFY(UDN_DELTAPOS, CTimingDialog::kExtraDelaySpinId, OnSpin)
ON_BN_CLICKED(CTimingDialog::kAntennaCoaxId, OnAntennaCoax)
ON_BN_CLICKED(CTimingDialog::kMeasurementCoaxId, OnMeasurementCoax)
ON_BN_CLICKED(CTimingDialog::kResetExtraDelayId, OnResetExtraDelayClicked)
ON_BN_CLICKED(CTimingDialog::kResetOffsetId, OnResetOffsetClicked)
ON_BN_CLICKED(CTimingDialog::kDefaultsId, OnDefaultsClicked)
END_MESSAGE_MAP()

CTimingDialog::CTimingDialog(CWnd* pParent) : CPersistentDialog(IDD, pParent) {
    LoadSettings();
    Recalculate();
}

void CTimingDialog::LoadSettings() {
    m_antennaCableDelay = kCableDelayRange.Clamp(ReadDouble(u"Antenna Cable Delay", u"0.0"));
    m_epoch = kEpochRange.Clamp(AppGetProfileInt(kSection, u"Epoch", 0));
    m_extraDelay = kExtraDelayRange.Clamp(ReadDouble(u"Extra Delay", u"0.000"));
    m_measurementCableDelay = kCableDelayRange.Clamp(ReadDouble(u"Measurement Cable Delay", u"0.0"));
    m_rxDelay = kRxDelayRange.Clamp(ReadDouble(u"Rx Delay", u"37.0"));
    m_ppsOffset = kPpsOffsetRange.Clamp(ReadDouble(u"1pps Delay", u"0.000"));
    m_traimLimit = kTraimLimitRange.Clamp(ReadDouble(u"T-Raim", u"500.0"));
    m_traimConditioned = AppGetProfileInt(kSection, u"T-Raim Conditioned 1pps", 0);
}

void CTimingDialog::Recalculate() {
    m_utcCorrection = std::trunc(m_rxDelay + m_measurementCableDelay + m_antennaCableDelay);
    RecalculateTotals();
}

void CTimingDialog::RecalculateTotals() {
    const double total = Round3(m_epoch * 1000.0 + m_ppsOffset - m_extraDelay);
    double other = total + 1000000.0;
    if (other > 1000000.0) {
        other -= 2000000.0;
    }
    m_totalEarly = total;
    m_totalLate = Round3(other);
    if (total > 0) {
        std::swap(m_totalEarly, m_totalLate);
    }
}

double CTimingDialog::LowerPpsBound() const {
    return std::max(-m_epoch * 1000.0, -10000.0);
}

void CTimingDialog::CarryPpsOffset() {
    m_ppsOffset = std::max(m_ppsOffset, LowerPpsBound());
    if (m_ppsOffset >= 1000.0) {
        ++m_epoch;
        m_ppsOffset -= 1000.0;
    } else if (m_ppsOffset < 0) {
        if (m_epoch > 0) {
            --m_epoch;
            m_ppsOffset += 1000.0;
        } else {
            m_ppsOffset = 0;
        }
    }
}

LRESULT CTimingDialog::OnDeferredEdit(WPARAM controlId, LPARAM) {
    if (!m_recalcArmed) {
        m_recalcArmed = TRUE;
        return 0;
    }
    switch (controlId) {
    case kEpochId:
        m_ppsOffset = std::max(m_ppsOffset, LowerPpsBound());
        break;
    case kPpsOffsetId:
        m_ppsOffset = Trunc3(m_ppsOffset);
        CarryPpsOffset();
        break;
    case kExtraDelayId:
        m_extraDelay = Trunc3(m_extraDelay);
        break;
    case kRxDelayId:
        m_rxDelay = Trunc1(m_rxDelay);
        break;
    case kAntennaCableDelayId:
        m_antennaCableDelay = Trunc1(m_antennaCableDelay);
        break;
    case kMeasurementCableDelayId:
        m_measurementCableDelay = Trunc1(m_measurementCableDelay);
        break;
    case kTraimLimitId:
        m_traimLimit = std::trunc(m_traimLimit * 0.01 + 0.5) * 100.0;
        break;
    default:
        break;
    }
    Recalculate();
    m_recalcArmed = TRUE;
    return 0;
}

// The spin handlers normalise the totals as Recalculate does, so the negative form is always first.
void CTimingDialog::OnEpochSpin(int delta) {
    m_epoch = kEpochRange.Clamp(m_epoch + delta);
    m_ppsOffset = std::max(m_ppsOffset, LowerPpsBound());
    RecalculateTotals();
}

void CTimingDialog::OnPpsOffsetSpin(int delta) {
    m_ppsOffset = Round3(m_ppsOffset + delta * 0.001);
    CarryPpsOffset();
    RecalculateTotals();
}

void CTimingDialog::OnExtraDelaySpin(int delta) {
    m_extraDelay = Round3(std::clamp(m_extraDelay + delta * 0.001, 0.0, 999.0));
    Recalculate();
}

void CTimingDialog::OnResetExtraDelay() {
    m_extraDelay = 0;
    Recalculate();
}

void CTimingDialog::OnResetOffset() {
    m_ppsOffset = 0;
    m_epoch = 0;
    Recalculate();
}

void CTimingDialog::OnDefaults() {
    m_rxDelay = ReceiverModel(g_receiverIdentity.model).defaultReceiverDelay;
    m_ppsOffset = 0;
    m_antennaCableDelay = 0;
    m_measurementCableDelay = 0;
    m_epoch = 0;
    m_extraDelay = 0;
    m_traimLimit = 500.0;
    m_traimConditioned = FALSE;
    Recalculate();
}

bool CTimingDialog::IsOkEnabled(int interfaceMode, int model) {
    if (interfaceMode >= 4 && interfaceMode <= 6) {
        return false;
    }
    return !ReceiverModel(model).Has(kFixedTimingDelays);
}

bool CTimingDialog::IsTraimConditionedEnabled(BOOL hasTraim, int model) {
    return hasTraim || ReceiverModel(model).Has(kTraimConditionedWithoutTraim);
}

void CTimingDialog::PrepareOpening() {
    m_backup = {m_epoch,   m_ppsOffset,  m_antennaCableDelay, m_measurementCableDelay,
                m_rxDelay, m_extraDelay, m_traimLimit,        m_traimConditioned};
    if (!IsTraimConditionedEnabled(g_receiverIdentity.hasTraim, g_receiverIdentity.model)) {
        m_traimConditioned = FALSE;
    }
    Recalculate();
}

UINT CTimingDialog::FindInvalidControl() const {
    if (!kCableDelayRange.Contains(m_antennaCableDelay)) {
        return kAntennaCableDelayId;
    }
    if (!kEpochRange.Contains(m_epoch)) {
        return kEpochId;
    }
    if (!kExtraDelayRange.Contains(m_extraDelay)) {
        return kExtraDelayId;
    }
    if (!kCableDelayRange.Contains(m_measurementCableDelay)) {
        return kMeasurementCableDelayId;
    }
    if (!kRxDelayRange.Contains(m_rxDelay)) {
        return kRxDelayId;
    }
    if (!kPpsOffsetRange.Contains(m_ppsOffset)) {
        return kPpsOffsetId;
    }
    if (!kTraimLimitRange.Contains(m_traimLimit)) {
        return kTraimLimitId;
    }
    return 0;
}

BOOL CTimingDialog::ConfirmSettings() {
    if (FindInvalidControl() != 0) {
        return FALSE;
    }
    SaveSettings();
    return TRUE;
}

void CTimingDialog::SaveSettings() const {
    AppWriteProfileInt(kSection, u"Epoch", m_epoch);
    WriteDouble(u"1pps Delay", u"%05.3f", m_ppsOffset);
    WriteDouble(u"Antenna Cable Delay", u"%03.1f", m_antennaCableDelay);
    WriteDouble(u"Measurement Cable Delay", u"%03.1f", m_measurementCableDelay);
    WriteDouble(u"Rx Delay", u"%03.1f", m_rxDelay);
    WriteDouble(u"Extra Delay", u"%05.3f", m_extraDelay);
    WriteDouble(u"T-Raim", u"%03.1f", m_traimLimit);
    AppWriteProfileInt(kSection, u"T-Raim Conditioned 1pps", m_traimConditioned);
}

void CTimingDialog::RestoreOpening() {
    m_epoch = m_backup.epoch;
    m_ppsOffset = m_backup.ppsOffset;
    m_antennaCableDelay = m_backup.antennaCableDelay;
    m_measurementCableDelay = m_backup.measurementCableDelay;
    m_rxDelay = m_backup.rxDelay;
    m_extraDelay = m_backup.extraDelay;
    m_traimLimit = m_backup.traimLimit;
    m_traimConditioned = m_backup.traimConditioned;
    Recalculate();
}

BOOL CTimingDialog::OnInitDialog() {
    PrepareOpening();
    CPersistentDialog::OnInitDialog();
    for (UINT spin : {kEpochSpinId, kPpsOffsetSpinId, kExtraDelaySpinId}) {
        SendDlgItemMessageW(static_cast<int>(spin), UDM_SETRANGE32, static_cast<WPARAM>(-999), 999);
        SendDlgItemMessageW(static_cast<int>(spin), UDM_SETPOS32, 0, 0);
    }
    const ReceiverIdentity& rx = g_receiverIdentity;
    if (!IsOkEnabled(g_interfaceMode, rx.model)) {
        GetDlgItem(IDOK)->EnableWindow(FALSE);
    }
    if (!IsTraimLimitEnabled(rx.hasTraim)) {
        GetDlgItem(kTraimLimitId)->EnableWindow(FALSE);
        SendDlgItemMessageW(kTraimLimitId, EM_SETREADONLY, TRUE, 0);
    }
    if (!IsTraimConditionedEnabled(rx.hasTraim, rx.model)) {
        GetDlgItem(kTraimConditionedId)->EnableWindow(FALSE);
        CheckDlgButton(kTraimConditionedId, BST_UNCHECKED);
    }
    const UINT hiddenIds[] = {kAutoCorrectTicId,        kQuantizationGroupId,     kFirstQuantizationId,
                              kFirstQuantizationId + 1, kFirstQuantizationId + 2, kFirstQuantizationId + 3};
    for (UINT hidden : hiddenIds) {
        if (CWnd* item = GetDlgItem(static_cast<int>(hidden))) {
            item->ShowWindow(SW_HIDE);
        }
    }
    // A click on Cancel must be seen before the edit it takes the focus from asks for a recalculation.
    if (CWnd* cancel = GetDlgItem(IDCANCEL)) {
        cancel->ModifyStyleEx(WS_EX_NOPARENTNOTIFY, 0);
    }
    return TRUE;
}

void CTimingDialog::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kAntennaCableDelayId, m_antennaCableDelay);
    DDV_MinMaxDouble(pDX, m_antennaCableDelay, kCableDelayRange.low, kCableDelayRange.high);
    DDX_Text(pDX, kEpochId, m_epoch);
    DDV_MinMaxInt(pDX, m_epoch, kEpochRange.low, kEpochRange.high);
    DDX_Text(pDX, kExtraDelayId, m_extraDelay);
    DDV_MinMaxDouble(pDX, m_extraDelay, kExtraDelayRange.low, kExtraDelayRange.high);
    DDX_Text(pDX, kMeasurementCableDelayId, m_measurementCableDelay);
    DDV_MinMaxDouble(pDX, m_measurementCableDelay, kCableDelayRange.low, kCableDelayRange.high);
    DDX_Text(pDX, kRxDelayId, m_rxDelay);
    DDV_MinMaxDouble(pDX, m_rxDelay, kRxDelayRange.low, kRxDelayRange.high);
    DDX_Text(pDX, kTotalEarlyId, m_totalEarly);
    DDX_Text(pDX, kTotalLateId, m_totalLate);
    DDX_Text(pDX, kPpsOffsetId, m_ppsOffset);
    DDV_MinMaxDouble(pDX, m_ppsOffset, kPpsOffsetRange.low, kPpsOffsetRange.high);
    DDX_Text(pDX, kTraimLimitId, m_traimLimit);
    DDV_MinMaxDouble(pDX, m_traimLimit, kTraimLimitRange.low, kTraimLimitRange.high);
    DDX_Check(pDX, kTraimConditionedId, m_traimConditioned);
    DDX_Text(pDX, kUtcCorrectionId, m_utcCorrection);
    DDX_Check(pDX, kAutoCorrectTicId, m_autoCorrectTic);
    DDX_Radio(pDX, kFirstQuantizationId, m_quantization);
}

void CTimingDialog::ShowValues() {
    if (GetSafeHwnd()) {
        UpdateData(FALSE);
    }
}

void CTimingDialog::OnEditKillFocus(UINT id) {
    if (std::find(std::begin(kDeferredEdits), std::end(kDeferredEdits), id) != std::end(kDeferredEdits)) {
        PostFieldCheck(id);
    }
}

void CTimingDialog::OnFieldCheck(UINT controlId) {
    if (!m_recalcArmed) {
        m_recalcArmed = TRUE;
        return;
    }
    if (!UpdateData(TRUE)) {
        return;
    }
    OnDeferredEdit(controlId);
    ShowValues();
}

void CTimingDialog::OnParentNotify(UINT message, LPARAM lParam) {
    CPersistentDialog::OnParentNotify(message, lParam);
    if (LOWORD(message) != WM_LBUTTONDOWN) {
        return;
    }
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const HWND child = ::ChildWindowFromPoint(m_hWnd, point);
    const CWnd* cancel = GetDlgItem(IDCANCEL);
    if (cancel && child == cancel->m_hWnd) {
        OnCancelClickStarted();
    }
}

void CTimingDialog::OnSpin(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const auto* updown = reinterpret_cast<const NMUPDOWN*>(pNMHDR);
    if (!UpdateData(TRUE)) {
        return;
    }
    switch (pNMHDR->idFrom) {
    case kEpochSpinId:
        OnEpochSpin(updown->iDelta);
        break;
    case kPpsOffsetSpinId:
        OnPpsOffsetSpin(updown->iDelta);
        break;
    default:
        OnExtraDelaySpin(updown->iDelta);
        break;
    }
    ShowValues();
}

void CTimingDialog::RunCoaxCalculator(LPCTSTR section, double& delay) {
    if (!UpdateData(TRUE)) {
        return;
    }
    CCoaxDelayCalculator calculator(this);
    calculator.m_section = section;
    if (calculator.DoModal() == IDOK) {
        delay = calculator.m_totalDelay;
        OnDeferredEdit(&delay == &m_antennaCableDelay ? kAntennaCableDelayId : kMeasurementCableDelayId);
        ShowValues();
    }
}

void CTimingDialog::OnResetExtraDelayClicked() {
    if (UpdateData(TRUE)) {
        OnResetExtraDelay();
        ShowValues();
    }
}

void CTimingDialog::OnResetOffsetClicked() {
    if (UpdateData(TRUE)) {
        OnResetOffset();
        ShowValues();
    }
}

void CTimingDialog::OnDefaultsClicked() {
    OnDefaults();
    ShowValues();
}

void CTimingDialog::OnOK() {
    if (!GetSafeHwnd()) {
        ConfirmSettings();
        return;
    }
    // Validate first: nothing reaches the profile while a value is outside its range.
    if (!UpdateData(TRUE) || !ConfirmSettings()) {
        return;
    }
    CPersistentDialog::OnOK();
}

void CTimingDialog::OnCancel() {
    RestoreOpening();
    if (GetSafeHwnd()) {
        CPersistentDialog::OnCancel();
    }
}
