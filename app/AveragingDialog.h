// The "Averaging Parameters" dialog (template IDD_GPS_NAV) on the view's long-lived averaging engine: the filter
// limits, the DOP weighting and the restart switches, the counters, the lock state, the timing-accuracy
// estimate and the averages report, with the reset buttons. While it is open the engine writes its texts
// into the dialog's statics (through the view's IsDialogOpen and ShowControlText).
#pragma once

#include "appframe/CPersistentDialog.h"
#include "resources/Resource.h"

class CGpsNav;

class CAveragingDialog : public CPersistentDialog {
public:
    enum { IDD = IDD_GPS_NAV };
    enum : UINT {
        kIdcUseDopWeighting = 1045,
        kIdcRestartOnUnlock = 1154,
        kIdcContinueOnRestart = 1217,
        kIdcResetPosition = 1056,
        kIdcResetRms = 1054,
        kIdcResetTiming = 1052,
        kIdcResetUnlock = 1049,
        kIdcResetAll = 1132,
        kIdcDefaults = 1130,
    };
    // The report's tab stops in dialog units.
    static constexpr int kReportTabStops[6] = {5, 40, 85, 130, 175, 210};

    CAveragingDialog(CGpsNav& engine, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // A text of the engine into one of the dialog's controls, while the window exists.
    void ShowControlText(UINT controlId, const CString& text);

    void OnResetPositionCount();
    void OnResetRmsCount();
    void OnResetTimingCount();
    void OnResetUnlockCount();
    void OnResetAll();
    void OnDefaults();
    void OnRestartOnUnlock();

protected:
    void OnOK() override;

private:
    void ShowCounters();

    CGpsNav& m_engine;
    int m_useDopWeighting = 0;
    int m_restartOnUnlock = 0;
    int m_continueOnRestart = 0;

    DECLARE_MESSAGE_MAP()
};
