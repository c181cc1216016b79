// When the PC clock is set ("Time Sync"): the mode, the error threshold, the largest correction allowed and
// the two overrides, with the time of the last setting and the number of settings made this run.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

class CSyncClockDialog {
public:
    enum { IDD = 134 };
    enum : UINT { kDeltaMsId = 1144, kMaxQtyId = 1256 };
    // m_syncMode
    enum SyncMode : int { kDisable, kOneTime, kEverySecond, kEveryMinute, kEveryHour, kEveryDay };
    // m_maxUnits
    enum MaxUnits : int { kHours, kMinutes, kSeconds };

    CSyncClockDialog();

    void LoadSettings();
    void UpdateMaxSeconds();
    // The largest correction in seconds, 0 for no limit.
    int GetMaxCorrectionSeconds() const { return m_maxOn ? m_maxSeconds : 0; }
    // Counts one clock setting made at the moment the text describes.
    void NoteClockSet(const CString& text);

    // The first control whose value is outside its range, 0 when all are inside.
    UINT FindInvalidControl() const;
    // Writes the profile only when both values are inside their ranges; FALSE leaves the dialog open.
    // A change of the mode, the threshold switch or the threshold starts the count again.
    BOOL OnOK();

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
    int m_maxSeconds = 0;
};
