// What the Motorola binary decoder reaches of the view beyond the common decoder view: the members only the
// Oncore messages use, the receiver identity the identification message writes, the view's timers, the
// send routine, the port's event mask, and the application's services (time value, geoid, month names)
// that the receiver library cannot link directly.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/DecoderView.h"

// The view's timers the decoder arms and kills.
constexpr UINT kOncoreWatchdogTimer = 3;
constexpr UINT kOncoreWatchdogPeriodMs = 60000;
constexpr UINT kOncoreAntennaTimer = 4;
constexpr UINT kOncoreAntennaPeriodMs = 4200000;

// Modem-line events that carry the 1PPS edges (EV_CTS | EV_DSR | EV_RLSD).
constexpr DWORD kOncorePpsModemEvents = 0x38;

class OncoreView : public DecoderView {
public:
    // --- The view's members.
    // m_rxSecondFraction: the fraction of the last position message's second.
    virtual float& RxSecondFraction() = 0;
    // m_haPrecedenceTicks and m_eaPrecedenceTicks: the ticks left during which a "@@Ha" ("@@Ea") seen takes
    // precedence over the position messages of fewer channels; the tick handler counts them down.
    virtual int& HaPrecedenceTicks() = 0;
    virtual int& EaPrecedenceTicks() = 0;
    // m_antennaStatus: 0 OK, 1 over-current, 2 under-current or open, 3 no voltage.
    virtual int& AntennaStatus() = 0;
    // m_showTraimStatusOnce and m_onePpsPulseMode.
    virtual BOOL& ShowTraimStatusOnce() = 0;
    virtual BOOL& OnePpsPulseMode() = 0;
    // Day of m_gpsTime (CGpsTime::GetDay).
    virtual int GetGpsTimeDay() const = 0;

    // --- The receiver identity (g_receiverIdentity, g_receiverPlusModel).
    virtual int GetActiveChannels() const = 0;
    virtual void SetReceiverModel(int model) = 0;
    virtual void SetFirmwareVersion(float version) = 0;
    virtual void SetVersionText(const CString& text) = 0;
    virtual void SetReceiverPlusModel(BOOL plus) = 0;

    // --- View routines.
    // SetTimer on the view's window (arming an armed timer restarts its period) and KillTimer.
    virtual void SetViewTimer(UINT id, UINT elapseMs) = 0;
    virtual void KillViewTimer(UINT id) = 0;
    // Stamps m_startupTimestamp with the PC's current time.
    virtual void StampStartupTime() = 0;
    // CPex32View::SendGpsCommand: frames and queues the command; it may decode queued messages meanwhile.
    virtual void SendGpsCommand(const CString& command) = 0;
    // GetCommMask and SetCommMask on the open port; FALSE when there is none.
    virtual BOOL GetPortCommMask(DWORD& mask) = 0;
    virtual BOOL SetPortCommMask(DWORD mask) = 0;

    // --- Application services.
    virtual double GetGeoidSeparation(double latitude, double longitude) const = 0;
    virtual CString GetMonthName(int month) const = 0;
    // CGpsNav::FormatDops on m_gpsNav.
    virtual CString GpsNavFormatDops() const = 0;
    // The offsets of m_gpsTime (CGpsTime setters and getters).
    virtual void GpsTimeSetEpochOffset(LONG milliseconds) = 0;
    virtual LONG GpsTimeGetEpochOffset() const = 0;
    virtual void GpsTimeSetPpsOffset(ULONG nanoseconds) = 0;
    virtual ULONG GpsTimeGetPpsOffset() const = 0;
    virtual void GpsTimeSetCableDelay(ULONG nanoseconds) = 0;
    virtual ULONG GpsTimeGetCableDelay() const = 0;
};
