// The work of CPex32View::OnGpsTick (WM_APP+0x0C, one message per accepted 1PPS edge): decide whether the
// edge is the tick of a new second and, if so, set the PC clock, refresh the display, send the per-second
// receiver polls, flash the tick icon, play the tick sound and reopen the log at the minute; stop the
// edges of a receiver left at 100 pulses per second. Also the second sounds the display plays when the
// decoders drive the second, and the "Sound Effects" menu.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Win32Types.h"

#include <cstdint>

// Timer 1 puts the idle icon back 300 ms after a tick.
constexpr UINT kTickIconTimer = 1;
constexpr UINT kTickIconPeriodMs = 300;

// The three tick sounds (WAVE resources).
constexpr LPCTSTR kSoundMinuteTick = u"SOUND_MIN_TICK";
constexpr LPCTSTR kSoundSecondTick = u"SOUND_SEC_TICK";
constexpr LPCTSTR kSoundWarningTick = u"SOUND_WARN_TICK";

// The "Sound Effects" menu: All, Out of Lock Only, Clock Ticks Only, None.
constexpr UINT kIdSoundAll = 33506;
constexpr UINT kIdSoundOutOfLockOnly = 33520;
constexpr UINT kIdSoundClockTicksOnly = 33523;
constexpr UINT kIdSoundNone = 33521;

// What the tick handling needs of the view.
class IGpsTickHost {
public:
    virtual ~IGpsTickHost() = default;

    // --- The view's state.
    virtual BOOL IsClosing() const = 0;
    // m_tickHandled, m_tickSinceZda, m_tickSinceRmc, m_zdaSinceTick, m_decoderTicks (see DecoderView).
    virtual BOOL& TickHandled() = 0;
    virtual BOOL& TickSinceZda() = 0;
    virtual BOOL& TickSinceRmc() = 0;
    virtual BOOL& ZdaSinceTick() = 0;
    virtual BOOL& DecoderTicks() = 0;
    // m_haPrecedenceTicks and m_eaPrecedenceTicks, counted down at every tick (see OncoreView).
    virtual int& HaPrecedenceTicks() = 0;
    virtual int& EaPrecedenceTicks() = 0;
    virtual const CTime& RxTime() const = 0;
    virtual const CTime& PcTime() const = 0;
    virtual int GetInterfaceMode() const = 0;
    virtual int GetReceiverModel() const = 0;
    // g_ppsInterface: above 0 when a 1PPS line is configured.
    virtual int GetPpsInterface() const = 0;
    // g_ppsRate100 (1 while the receiver sends 100 pulses per second) and g_ppsRateTicks, the count of
    // extra edges; the receiver set-up resets both.
    virtual BYTE& PpsRate100() = 0;
    virtual BYTE& PpsRateTicks() = 0;
    // "Sound", "Sound OOL", m_outOfLock and the clock-sync dialog's "Time Sync Override TRAIM".
    virtual BOOL IsSoundOn() const = 0;
    virtual BOOL IsSoundOutOfLock() const = 0;
    virtual BOOL IsOutOfLock() const = 0;
    virtual BOOL IsOverrideTraim() const = 0;
    // The logging second of an extra edge (GpsDataLogger::DecideLogSecondForExtraTick).
    virtual void DecideLogSecondForExtraTick() = 0;

    // --- The view's routines.
    virtual void SyncPcClock() = 0;
    virtual void UpdateClockDisplay() = 0;
    // Empties m_utcInfoText; UpdateControls moves the texts into the controls.
    virtual void ClearUtcInfoText() = 0;
    virtual void UpdateControls() = 0;
    virtual BOOL HasRawDataWindow() const = 0;
    virtual void AddRawDataLine(const CString& line) = 0;
    virtual void SendGpsCommand(const CString& command) = 0;
    virtual void ReopenLogFiles() = 0;
    // CMainFrame::ShowTickIcon / ClearTickIcon, and SetTimer on the view.
    virtual void ShowTickIcon() = 0;
    virtual void ClearTickIcon() = 0;
    virtual void SetViewTimer(UINT id, UINT elapseMs) = 0;
    // GetCommMask / SetCommMask on the open port; FALSE when there is none.
    virtual BOOL GetPortCommMask(DWORD& mask) = 0;
    virtual BOOL SetPortCommMask(DWORD mask) = 0;
    // Lets the receive thread post the next tick (g_ppsGate).
    virtual void ReleasePpsGate() = 0;
    // A fault of the 1PPS line the user must hear of: the status bar and the raw-data window.
    virtual void ReportPpsLineFault(const CString& text) = 0;
    // PlaySoundW of the program's WAVE resource, asynchronously.
    virtual void PlayTickSound(LPCTSTR name);
};

class GpsTickHandler {
public:
    explicit GpsTickHandler(IGpsTickHost& host);

    // OnGpsTick's work; the message's answer is 0. `edgeGapNs`: how long before the tick's edge the line
    // rose before (g_ppsEdgeGapNs), -1 when unknown.
    void OnGpsTick(std::int64_t edgeGapNs = -1);
    // From the clock display when the decoders drive the second: clears the tick icon and plays one sound
    // per new receiver second.
    void PlayDecoderSecondSound(int rxSecond);

    // The ("Sound", "Sound OOL") pair a menu command selects; FALSE for another id.
    static BOOL SoundSettingsOfCommand(UINT id, BOOL& soundOn, BOOL& soundOutOfLock);
    // Whether the item carries the check mark for the pair.
    static BOOL IsSoundCommandChecked(UINT id, BOOL soundOn, BOOL soundOutOfLock);

private:
    void NewSecond();
    void ExtraEdge();
    void StopModemLineEvents();
    void SendPolls(int rxSecond);
    void ShowTick();
    // The sound of a handled or extra tick when "Sound" is off: "Out of Lock Only" warns while out of lock.
    void PlayOutOfLockOnly();

    // A line at one pulse a second that pulses faster: reported once, and its edges switched off.
    bool LineFaultStopsEdges(bool tooSoon);

    IGpsTickHost& m_host;
    // g_lastSoundSecond: the receiver second whose sound the display played last.
    int m_lastSoundSecond = -1;
    // Edges in a row that came too soon after the line's rise before, and whether a fault was reported.
    int m_tooSoonEdges = 0;
    bool m_lineFaultReported = false;
};
