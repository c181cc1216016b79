// When the PC clock is set ("Time Sync"): the mode, the error threshold, the largest correction allowed and
// the two overrides, with the time of the last setting and the number of settings made this run.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "appframe/SettingRange.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "resources/Resource.h"

class CSyncClockDialog : public CPersistentDialog {
public:
    enum { IDD = IDD_SYNC_CLOCK };
    enum : UINT {
        kFirstModeId = 1136,
        kDeltaOnId = 1143,
        kDeltaMsId = 1144,
        kLastSyncId = 1145,
        kResetCountId = 1151,
        kOverrideTraimId = 1180,
        kOverrideIntegrityId = 1181,
        kNtpFrameId = 1221,
        kNtpHitsId = 1223,
        kMaxOnId = 1248,
        kMaxUnitsId = 1250,
        kMaxQtyId = 1256,
        kMaxQtySpinId = 1257,
    };
    // m_syncMode
    enum SyncMode : int { kDisable, kOneTime, kEverySecond, kEveryMinute, kEveryHour, kEveryDay };
    // m_maxUnits
    enum MaxUnits : int { kHours, kMinutes, kSeconds };

    // What the dialog accepts; stored values are clamped into these when loaded (a mode outside its range
    // counts as off).
    static constexpr SettingRange<int> kSyncModeRange{kDisable, kEveryDay};
    static constexpr SettingRange<int> kDeltaMsRange{10, 60000};
    static constexpr SettingRange<UINT> kMaxQtyRange{1, 999};
    static constexpr SettingRange<int> kMaxUnitsRange{kHours, kSeconds};

    explicit CSyncClockDialog(CWnd* pParent = nullptr);

    void LoadSettings();
    void UpdateMaxSeconds();
    // The largest correction in seconds, 0 for no limit.
    LONGLONG GetMaxCorrectionSeconds() const { return m_maxOn ? m_maxSeconds : 0; }
    // Counts one clock setting made at the moment the text describes.
    void NoteClockSet(const CString& text);

    // The first control whose value is outside its range, 0 when all are inside.
    UINT FindInvalidControl() const;
    // Writes the profile only when both values are inside their ranges; FALSE leaves the dialog open.
    // A change of the mode, the threshold switch or the threshold starts the count again.
    BOOL ConfirmSettings();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnMaxActivate();

    int m_syncMode = kDisable;
    int m_deltaMs = 100;
    CString m_lastSyncText;
    CString m_resetCountText = u"0";
    BOOL m_overrideIntegrity = FALSE;
    BOOL m_overrideTraim = FALSE;
    BOOL m_deltaOn = FALSE;
    CString m_ntpHitsText;
    BOOL m_maxOn = FALSE;
    UINT m_maxQty = 1;
    int m_maxUnits = kHours;
    UINT m_resetCount = 0;
    LONGLONG m_maxSeconds = 0; // never wraps, whatever the quantity

protected:
    void OnOK() override;
    void OnCancel() override;

private:
    // The settings the clock setting reads; they change only when OK accepts the dialog.
    struct Settings {
        int syncMode;
        int deltaMs;
        BOOL overrideIntegrity;
        BOOL overrideTraim;
        BOOL deltaOn;
        BOOL maxOn;
        UINT maxQty;
        int maxUnits;
    };
    Settings CurrentSettings() const;
    void RestoreSettings(const Settings& settings);
    void EnableMaxControls(BOOL on);

    Settings m_opening{};

    DECLARE_MESSAGE_MAP()
};
