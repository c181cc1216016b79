// The receiver configuration commands: the receiver, timing, time and position set-ups and the T-RAIM
// command, built from the user's settings for the receiver in use. Motorola Binary (2) gets Oncore "@@"
// commands, the two u-blox modes (9, 10) UBX frames; every other interface mode gets nothing.
//
// Host interface. The view implements ReceiverSetupHost (beside GpsSendHost, whose send routines carry every
// command): it hands over the settings as plain values, since the receiver library cannot link the dialogs,
// the reference position of its averaging engine, the time-zone bias, the PC time, the status-bar texts,
// the clearing of the receiver displays and the offsets of its time value. Several names match those of
// DecoderView and OncoreView on purpose, so that one override in the view serves both.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/GpsCommandSender.h"

#include <initializer_list>
#include <string>

// The pulse settings last sent (0 one pulse a second, 1 a hundred; 0 long, 1 short), and the tick handler's
// count of extra edges, reset whenever the pulse mode is set.
extern BYTE g_ppsRate100;
extern BYTE g_ppsRateTicks;
extern BYTE g_ppsDurationSent;

// The receiver parameters (the receiver-parameters dialog's members).
struct ReceiverParameters {
    int elevationMask = 0;      // degrees
    int gpsMode = 0;            // 0 3-D, 1 2-D, 2 0-D (timing)
    int positionFixMode = 0;    // 0 all in view, 1 best 4
    int satelliteSelection = 0; // 0 best geometry, 1 highest in the sky
    int geometry = 0;           // 0 GDOP ... 4 TDOP
    int ionoCorrection = 0;     // 0 enabled, 1 disabled
    int tropoCorrection = 0;    // 0 enabled, 1 disabled
    int applicationType = 0;    // 0 air, 1 handheld, 2 land, 3 marine, 4 static
    BOOL alignMessages = FALSE;
    BOOL dgpsOutput = FALSE;
    int dgpsRate = 30; // seconds
    BOOL sixChannelMode = FALSE;
    BOOL gpsRxOnLocalTime = FALSE;
    int pulseMode = 0;   // 0 1 PPS, 1 100 PPS
    int ppsDuration = 0; // 0 long, 1 short
    BOOL satGps = FALSE;
    BOOL satGlonass = FALSE;
    BOOL satGalileo = FALSE;
    BOOL satBeidou = FALSE;
    BOOL satQzss = FALSE;
    BOOL satSbas = FALSE;
    DWORD satEnableMask = 0xFFFFFFFFu; // bit n-1 set: PRN n enabled
};

// The timing adjustments (the timing dialog's members).
struct TimingAdjustments {
    double totalLate = 0;     // µs, 0 to 1000000
    double utcCorrection = 0; // ns
    double traimLimit = 0;    // ns; 0 is T-RAIM off
    BOOL traimConditioned = FALSE;
};

// The reference position (CGpsNav::GetReferencePosition).
struct ReferencePosition {
    double latitude = 0;  // degrees
    double longitude = 0; // degrees
    double heightWgs84 = 0;
    double altitudeMsl = 0;
};

// The T-RAIM set-up fields (the view's m_traimLeadByte, m_traimOn, m_traimAlarmLimit, m_ppsControl).
struct TraimSetupFields {
    BYTE leadByte = 0;
    BYTE on = 0;
    WORD alarmLimit = 10; // 100 ns units
    BYTE ppsControl = 1;
};

class ReceiverSetupHost : public GpsSendHost {
public:
    virtual ReceiverParameters GetReceiverParameters() = 0;
    virtual TimingAdjustments GetTimingAdjustments() = 0;
    virtual ReferencePosition GetReferencePosition() = 0;
    // m_timeZoneBiasMin: UTC minus local time in minutes.
    virtual int GetTimeZoneBiasMin() const = 0;
    // m_gpsUtcOffsetSec: GPS time minus UTC as the receiver last said, 0 before it did.
    virtual LONG GetGpsUtcOffsetSec() const = 0;
    // The PC time as UTC; the view leaves the default, GetSystemTime.
    virtual void GetPcTimeUtc(SYSTEMTIME& time);
    // CMainFrame::AddStatusText and RemoveStatusText.
    virtual void AddStatusText(const CString& text) = 0;
    virtual void RemoveStatusText(const CString& text) = 0;
    virtual void ClearReceiverDisplays() = 0;
    // The offsets of m_gpsTime.
    virtual void GpsTimeSetEpochOffset(LONG milliseconds) = 0;
    virtual void GpsTimeSetPpsOffset(ULONG nanoseconds) = 0;
    virtual void GpsTimeSetCableDelay(ULONG nanoseconds) = 0;
    // m_showTraimStatusOnce.
    virtual BOOL& ShowTraimStatusOnce() = 0;
};

// The receiver's model, channel counts and T-RAIM flag come from g_receiverIdentity, the mode from
// g_interfaceMode. The view keeps one of these for its whole life.
class ReceiverConfiguration {
public:
    explicit ReceiverConfiguration(ReceiverSetupHost& host) : m_host(host) {}

    void SendReceiverSetup();
    void SendTimingSetup();
    void SendTimeSetup();
    void SendPositionSetup();
    // The T-RAIM command for a channel count; sends nothing.
    CString SendTraimSetup(int channels) const;

    TraimSetupFields m_traim;

private:
    void SendOncoreReceiverSetup(const ReceiverParameters& p);
    void SendUbloxReceiverSetup(const ReceiverParameters& p);
    void Send(const CString& command);
    BOOL SendAndWait(const CString& command);

    ReceiverSetupHost& m_host;
};

// Command texts, one byte per unit, without checksums (the send path adds them).
CString OncoreCommand(const char* id, std::initializer_list<BYTE> bytes = {});
// A UBX frame's sync, class, id, length and payload.
CString UbxCommand(BYTE cls, BYTE id, const std::u16string& payload);
// CFG-PRT for UART 1 at 8N1 with UBX and NMEA in and out, the whole rate in its 32-bit field.
CString UbxPortConfiguration(DWORD baudRate);
// The earth-centred X, Y and Z of a WGS84 position in centimetres, as CFG-TMODE carries them.
void EarthCentredCm(double latitude, double longitude, double height, LONG xyz[3]);
// GPS time minus UTC when the receiver has not said: the leap seconds since 1980 as of 2017.
constexpr LONG kKnownGpsUtcOffsetSec = 18;
// How close to GPS time the PC's clock is claimed to be in the time aiding.
constexpr LONG kPcTimeAccuracyMs = 1000;
// AID-INI with the GPS week and time of week of a PC time (UTC seconds since 1970 and milliseconds) and
// the GPS-UTC offset, claiming kPcTimeAccuracyMs.
CString UbxTimeAiding(LONGLONG utcSeconds, int milliseconds, LONG gpsUtcOffsetSec);
// AID-INI with a reference position.
CString UbxPositionAiding(const ReferencePosition& position);
