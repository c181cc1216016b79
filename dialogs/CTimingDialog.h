// The timing corrections of the receiver's 1PPS output ("Timing Adjustments"): the late epoch and fine
// offsets, the early cable, receiver and extra delays, and the T-RAIM limit, with the UTC correction and the
// total offset computed from them. The view sends the timing set-up from the public members after OK.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "appframe/SettingRange.h"
#include "platform/base/Win32Types.h"
#include "resources/Resource.h"

class CTimingDialog : public CPersistentDialog {
public:
    enum { IDD = IDD_TIMING };
    enum : UINT {
        kDefaultsId = 3,
        kTotalEarlyId = 1077,
        kTotalLateId = 1078,
        kUtcCorrectionId = 1084,
        kEpochSpinId = 1086,
        kPpsOffsetSpinId = 1087,
        kExtraDelaySpinId = 1088,
        kAntennaCoaxId = 1089,
        kMeasurementCoaxId = 1090,
        kResetExtraDelayId = 1099,
        kResetOffsetId = 1101,
        kTraimConditionedId = 1126,
        kAutoCorrectTicId = 1224,
        kFirstQuantizationId = 1227,
        kQuantizationGroupId = 1231,
    };
    // Control ids the deferred recalculation and the range check name.
    enum : UINT {
        kAntennaCableDelayId = 1081,
        kEpochId = 1073,
        kExtraDelayId = 1079,
        kMeasurementCableDelayId = 1082,
        kRxDelayId = 1080,
        kPpsOffsetId = 1075,
        kTraimLimitId = 1085,
    };

    // What the edits accept; stored values are clamped into these when loaded.
    static constexpr SettingRange<double> kCableDelayRange{0.0, 20000.0}; // both cables
    static constexpr SettingRange<int> kEpochRange{0, 999};
    static constexpr SettingRange<double> kExtraDelayRange{0.0, 999.999};
    static constexpr SettingRange<double> kRxDelayRange{0.0, 1000.0};
    static constexpr SettingRange<double> kPpsOffsetRange{-999.999, 999.999};
    static constexpr SettingRange<double> kTraimLimitRange{250.0, 1000.0};

    explicit CTimingDialog(CWnd* pParent = nullptr);

    // Reads the eight stored values; text that is no number reads as 0, and each value is clamped into its
    // edit's range.
    void LoadSettings();
    void Recalculate();
    // The deferred work after an edit lost the focus; skipped once after a click on Cancel.
    LRESULT OnDeferredEdit(WPARAM controlId, LPARAM = 0);
    void OnEpochSpin(int delta);
    void OnPpsOffsetSpin(int delta);
    void OnExtraDelaySpin(int delta);
    void OnResetExtraDelay();
    void OnResetOffset();
    void OnDefaults();
    void OnCancelClickStarted() { m_recalcArmed = 0; }

    // Opening: the backup for Cancel and what the receiver lacks forced off.
    void PrepareOpening();
    // The first control whose value is outside its range, 0 when all are inside.
    UINT FindInvalidControl() const;
    // Writes the profile only when every value is inside its range; FALSE leaves the dialog open.
    BOOL ConfirmSettings();
    // Restores the values of the opening; nothing is written.
    void RestoreOpening();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // What the opening enables for the receiver in use.
    static bool IsOkEnabled(int interfaceMode, int model);
    static bool IsTraimLimitEnabled(BOOL hasTraim) { return hasTraim != FALSE; }
    static bool IsTraimConditionedEnabled(BOOL hasTraim, int model);

    double m_antennaCableDelay = 0;     // ns
    int m_epoch = 0;                    // ms
    double m_extraDelay = 0;            // µs
    double m_measurementCableDelay = 0; // ns
    double m_rxDelay = 0;               // ns
    double m_totalEarly = 0;            // µs, -1000000 to 0
    double m_totalLate = 0;             // µs, 0 to 1000000
    double m_ppsOffset = 0;             // µs
    double m_traimLimit = 0;            // ns
    BOOL m_traimConditioned = FALSE;
    double m_utcCorrection = 0; // ns
    BOOL m_autoCorrectTic = FALSE;
    int m_quantization = -1;
    BOOL m_recalcArmed = TRUE;

protected:
    void OnOK() override;
    void OnCancel() override;
    // The window's handlers.
    void OnEditKillFocus(UINT id);
    void OnFieldCheck(UINT controlId) override;
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnSpin(NMHDR* pNMHDR, LRESULT* pResult);
    void OnAntennaCoax() { RunCoaxCalculator(u"Antenna Coax Calculator", m_antennaCableDelay); }
    void OnMeasurementCoax() { RunCoaxCalculator(u"Measurement Coax Calculator", m_measurementCableDelay); }
    void OnResetExtraDelayClicked();
    void OnResetOffsetClicked();
    void OnDefaultsClicked();

private:
    // Shows the coax calculator for one cable; its total replaces the delay on OK.
    void RunCoaxCalculator(LPCTSTR section, double& delay);
    // The controls after a change made by a handler.
    void ShowValues();

    struct Persistent {
        int epoch;
        double ppsOffset, antennaCableDelay, measurementCableDelay, rxDelay, extraDelay, traimLimit;
        BOOL traimConditioned;
    };

    // Steps of Recalculate after the UTC correction: the total in both forms, the negative one first.
    void RecalculateTotals();
    double LowerPpsBound() const;
    void CarryPpsOffset();
    void SaveSettings() const;

    Persistent m_backup{};

    DECLARE_MESSAGE_MAP()
};
