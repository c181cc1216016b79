#include "app/AveragingDialog.h"

#include "app/CGpsNav.h"
#include "platform/controls/ControlConstants.h"

BEGIN_MESSAGE_MAP(CAveragingDialog, CPersistentDialog)
ON_BN_CLICKED(CAveragingDialog::kIdcResetPosition, OnResetPositionCount)
ON_BN_CLICKED(CAveragingDialog::kIdcResetRms, OnResetRmsCount)
ON_BN_CLICKED(CAveragingDialog::kIdcResetTiming, OnResetTimingCount)
ON_BN_CLICKED(CAveragingDialog::kIdcResetUnlock, OnResetUnlockCount)
ON_BN_CLICKED(CAveragingDialog::kIdcResetAll, OnResetAll)
ON_BN_CLICKED(CAveragingDialog::kIdcDefaults, OnDefaults)
ON_BN_CLICKED(CAveragingDialog::kIdcRestartOnUnlock, OnRestartOnUnlock)
END_MESSAGE_MAP()

namespace {

CString Count(double value) {
    CString text;
    text.Format(u"%i", static_cast<int>(value));
    return text;
}

} // namespace

CAveragingDialog::CAveragingDialog(CGpsNav& engine, CWnd* pParent)
    : CPersistentDialog(IDD, pParent), m_engine(engine) {}

void CAveragingDialog::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    AveragingSettings& s = m_engine.Settings();
    if (!pDX->m_bSaveAndValidate) {
        m_useDopWeighting = s.useDopWeighting ? 1 : 0;
        m_restartOnUnlock = s.restartOnUnlock ? 1 : 0;
        m_continueOnRestart = s.continueOnRestart ? 1 : 0;
    }
    // Every limit in the loader's range: a negative RMS or timing limit would spoil the averages.
    AveragingSettings entered = s;
    DDX_Text(pDX, kIdcLimitPosition, entered.positionWeightLimit);
    DDV_MinMaxDouble(pDX, entered.positionWeightLimit, kWeightLimitRange.low, kWeightLimitRange.high);
    DDX_Text(pDX, kIdcLimitRms, entered.rmsWeightLimit);
    DDV_MinMaxDouble(pDX, entered.rmsWeightLimit, kWeightLimitRange.low, kWeightLimitRange.high);
    DDX_Text(pDX, kIdcLimitTiming, entered.timingWeightLimit);
    DDV_MinMaxDouble(pDX, entered.timingWeightLimit, kWeightLimitRange.low, kWeightLimitRange.high);
    DDX_Check(pDX, kIdcUseDopWeighting, m_useDopWeighting);
    DDX_Text(pDX, kIdcHdopWeight, entered.hdopWeight);
    DDV_MinMaxDouble(pDX, entered.hdopWeight, kDopWeightRange.low, kDopWeightRange.high);
    DDX_Text(pDX, kIdcVdopWeight, entered.vdopWeight);
    DDV_MinMaxDouble(pDX, entered.vdopWeight, kDopWeightRange.low, kDopWeightRange.high);
    DDX_Text(pDX, kIdcTdopWeight, entered.tdopWeight);
    DDV_MinMaxDouble(pDX, entered.tdopWeight, kDopWeightRange.low, kDopWeightRange.high);
    DDX_Check(pDX, kIdcRestartOnUnlock, m_restartOnUnlock);
    DDX_Check(pDX, kIdcContinueOnRestart, m_continueOnRestart);
    if (pDX->m_bSaveAndValidate) {
        entered.useDopWeighting = m_useDopWeighting;
        entered.restartOnUnlock = m_restartOnUnlock;
        entered.continueOnRestart = m_continueOnRestart;
        s = entered;
    }
}

BOOL CAveragingDialog::OnInitDialog() {
    CPersistentDialog::OnInitDialog();
    if (CWnd* cancel = GetDlgItem(IDCANCEL)) {
        cancel->ModifyStyleEx(WS_EX_NOPARENTNOTIFY, 0);
    }
    int stops[6];
    for (int i = 0; i < 6; ++i) {
        stops[i] = kReportTabStops[i];
    }
    SendDlgItemMessageW(kIdcReport, EM_SETTABSTOPS, 6, reinterpret_cast<LPARAM>(stops));
    SetDlgItemTextW(kIdcReport, m_engine.FormatAveragesReport());
    ShowCounters();
    if (m_engine.DopWeightingUnavailable()) {
        m_engine.Settings().useDopWeighting = FALSE;
        m_useDopWeighting = 0;
        CheckDlgButton(kIdcUseDopWeighting, BST_UNCHECKED);
        for (UINT id : {static_cast<UINT>(kIdcUseDopWeighting), static_cast<UINT>(kIdcHdopWeight),
                        static_cast<UINT>(kIdcVdopWeight), static_cast<UINT>(kIdcTdopWeight)}) {
            if (CWnd* item = GetDlgItem(static_cast<int>(id))) {
                item->EnableWindow(FALSE);
            }
        }
    }
    return TRUE;
}

void CAveragingDialog::ShowCounters() {
    ShowControlText(kIdcPositionCount, m_engine.GetPositionCountText());
    ShowControlText(kIdcRmsCount, Count(m_engine.GetRmsCount()));
    ShowControlText(kIdcTimingCount, Count(m_engine.GetTimingCount()));
    ShowControlText(kIdcUnlockCount, Count(m_engine.GetUnlockCount()));
    ShowControlText(kIdcLockedSince, m_engine.GetLockedSinceText());
    ShowControlText(kIdcTsigma, m_engine.GetTsigmaText());
}

void CAveragingDialog::ShowControlText(UINT controlId, const CString& text) {
    if (m_hWnd && GetDlgItem(static_cast<int>(controlId))) {
        SetDlgItemTextW(static_cast<int>(controlId), text);
    }
}

void CAveragingDialog::OnResetPositionCount() {
    m_engine.ResetPositionCount();
    ShowControlText(kIdcPositionCount, Count(0));
}

void CAveragingDialog::OnResetRmsCount() {
    m_engine.ResetRmsCount();
    ShowControlText(kIdcRmsCount, Count(0));
}

void CAveragingDialog::OnResetTimingCount() {
    m_engine.ResetTimingCount();
    ShowControlText(kIdcTimingCount, Count(0));
}

void CAveragingDialog::OnResetUnlockCount() {
    m_engine.ResetUnlockCount();
    ShowControlText(kIdcUnlockCount, Count(0));
}

void CAveragingDialog::OnResetAll() {
    OnResetPositionCount();
    OnResetRmsCount();
    OnResetTimingCount();
}

void CAveragingDialog::OnDefaults() {
    SetDlgItemTextW(kIdcLimitPosition, Count(28800));
    SetDlgItemTextW(kIdcLimitRms, Count(86400));
    SetDlgItemTextW(kIdcLimitTiming, Count(28800));
    CheckDlgButton(kIdcUseDopWeighting, BST_CHECKED);
    CString text;
    text.Format(u"%03.1f", 1.5);
    SetDlgItemTextW(kIdcHdopWeight, text);
    text.Format(u"%03.1f", 2.0);
    SetDlgItemTextW(kIdcVdopWeight, text);
    text.Format(u"%03.1f", 1.5);
    SetDlgItemTextW(kIdcTdopWeight, text);
}

void CAveragingDialog::OnRestartOnUnlock() {
    m_engine.Settings().restartOnUnlock = IsDlgButtonChecked(kIdcRestartOnUnlock) ? TRUE : FALSE;
}

void CAveragingDialog::OnOK() {
    // A failed validation keeps the dialog open and writes nothing.
    if (!UpdateData(TRUE)) {
        return;
    }
    m_engine.SaveSettings();
    CPersistentDialog::OnOK();
}
