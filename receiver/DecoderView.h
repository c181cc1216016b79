// What the NMEA and UBX decoders reach of the view: its members that carry the receiver's time and state, and
// the view, frame, grid, navigation and window routines they call. The view implements it directly; the
// receiver library cannot link the application, so everything that lives there comes through here.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Win32Types.h"
#include "receiver/SatelliteChannelTable.h"
#include "receiver/WeekRollover.h"

class DecoderView {
public:
    virtual ~DecoderView() = default;

    // --- The view's members (and program-wide values) the decoders read and write.
    // m_rxTime: the receiver's UTC instant of the coming 1PPS tick; a time before 1970 means none yet.
    virtual CTime& RxTime() = 0;
    // m_rxSeconds: the seconds of the last ZDA time field with their fraction.
    virtual float& RxSeconds() = 0;
    // m_tickHandled: a 1PPS tick came since the last time message. m_tickSinceZda and m_tickSinceRmc: one
    // came since the last ZDA, RMC (without it that sentence sets the clock itself). m_zdaSinceTick: a ZDA
    // gave this second's time, so an RMC does not. m_decoderTicks: the decoders drive the second.
    virtual BOOL& TickHandled() = 0;
    virtual BOOL& TickSinceZda() = 0;
    virtual BOOL& TickSinceRmc() = 0;
    virtual BOOL& ZdaSinceTick() = 0;
    virtual BOOL& DecoderTicks() = 0;
    // m_dgpsStatus: 2 while the GGA fix is differential, else 0.
    virtual int& DgpsStatus() = 0;
    // m_gpsUtcOffsetSec.
    virtual LONG& GpsUtcOffsetSec() = 0;
    // g_leapSecondPending (-1 unknown, 0 none, 1 add, 2 subtract) and g_ntpLeapIndicator.
    virtual int& LeapSecondPending() = 0;
    virtual int& NtpLeapIndicator() = 0;
    // m_satTable, the live channel table.
    virtual SatelliteChannelTable& SatTable() = 0;
    // m_rawWindowShown and m_logSecond: either one asks for the detail texts and the PVT record.
    virtual BOOL IsRawWindowShown() const = 0;
    virtual BOOL IsLogSecond() const = 0;
    // m_timeZoneBiasMin (UTC minus local, minutes) and the receiver parameters' "Gps Rx On Local Time".
    virtual int GetTimeZoneBiasMin() const = 0;
    virtual BOOL IsGpsRxOnLocalTime() const = 0;
    // The identified receiver's model code and firmware version (0 when unknown).
    virtual int GetReceiverModel() const = 0;
    virtual float GetFirmwareVersion() const = 0;
    // Year and month of m_gpsTime (CGpsTime::GetYear, CGpsTime::GetMonth).
    virtual int GetGpsTimeYear() const = 0;
    virtual int GetGpsTimeMonth() const = 0;

    // --- CPex32View routines.
    virtual void SyncPcClock() = 0;
    virtual void UpdateClockDisplay() = 0;
    virtual void UpdateControls() = 0;
    // Refreshes the satellites grid from m_satTable (and with it the sky plot).
    virtual void UpdateSatsGrid() = 0;
    // Hands a fix to the position averaging and the position texts.
    virtual void UpdatePositionText(double latitude, double longitude, double heightWgs84,
                                    double altitudeMsl) = 0;
    virtual void WriteBinaryLogMessage(const CString& message) = 0;
    // WriteTextLogLine with m_pvtLogFile: written only in a logging second, to an open log, when not empty.
    virtual void WritePvtLogLine(const CString& text) = 0;

    // --- m_gpsNav (CGpsNav). Negative DOPs leave the stored ones unchanged.
    virtual void GpsNavSetFixQuality(int level) = 0;
    virtual void GpsNavSetTrackedCount(int count) = 0;
    virtual void GpsNavSetFixType(int fixType) = 0;
    virtual int GpsNavGetFixType() const = 0;
    virtual void GpsNavSetDops(double gdop, double pdop, double hdop, double vdop, double tdop) = 0;
    virtual void GpsNavSetSpeed(double knots) = 0;
    virtual void GpsNavSetHeading(double degrees) = 0;

    // --- CSatsDataGrid::SetCellTextIfChanged on m_satsGrid.
    virtual void SetSatsGridCellText(int row, int column, const CString& text) = 0;

    // --- The receiver-ID window (m_rxIdDialog): CRxIdStringDialog::SetText and AddText.
    virtual BOOL HasRxIdDialog() const = 0;
    virtual void RxIdSetText(const CString& text) = 0;
    virtual void RxIdAddText(const CString& text) = 0;

    // --- CMainFrame panes: -1 empties the pane.
    virtual void SetAntennaStatus(int status) = 0;
    virtual void SetReceiverModeStatus(int status) = 0;

    // --- The week-rollover check of the receiver's dates, one for the view; its notices go to the raw-data
    // window.
    virtual WeekRolloverCheck& RolloverCheck() = 0;
    virtual void AddRawDataLine(const CString& line) = 0;
};

// The receiver's UTC instant of a tick as a decoder hands it over: after the week-rollover check, so that a
// date 1024 weeks back never reaches the PC clock.
inline CTime ReceiverTickTime(DecoderView& view, __time64_t receiverTime) {
    CString notice;
    const __time64_t checked = view.RolloverCheck().Apply(receiverTime, notice);
    if (!notice.IsEmpty()) {
        view.AddRawDataLine(notice);
    }
    return CTime(checked);
}

// Advances a receiver time by whole seconds; "no time yet" stays no time.
inline void AdvanceReceiverTime(CTime& time, LONGLONG seconds) {
    if (time.GetTime() >= 0) {
        time = CTime(time.GetTime() + seconds);
    }
}
