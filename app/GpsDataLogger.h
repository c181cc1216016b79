// The view's GPS data log: one log at a time, of raw data lines, PVT records, the program's own "$PQVR"
// records or the Motorola binary messages (optionally in the "Rinex Data" arrangement). Records are written
// only in the seconds the log interval selects, and the file is closed and reopened at the start of every
// minute so that what was written is safe on disk.
//
// A log that fails to open, write or reopen is closed at once and reported once (a message box with the
// system's text, then "ERROR: GPS log stopped" in the raw-data window); the commands then show no open log.
#pragma once

#include "platform/base/CStdioFile.h"
#include "platform/base/CString.h"
#include "platform/base/CTime.h"
#include "platform/base/Win32Types.h"

#include <memory>

class CGpsTime;
class CLogType;
class CGpsNav;

// The file dialog a New or Open command shows.
struct LogFileDialogRequest {
    BOOL save = TRUE; // a save dialog for New, an open dialog for Open
    CString defaultExtension;
    CString filter;
    CString title;
    CString fileName = u"DolivaLog";
    CString initialDirectory;
    DWORD flags = 0;
};

// What the logger needs of the view.
class IGpsLogHost {
public:
    virtual ~IGpsLogHost() = default;
    // m_logTypeDialog: kind, interval, "Use GPS Sec #" and the second offset.
    virtual CLogType& LogType() = 0;
    // m_gpsTime: its time stamps the headers and trailers.
    virtual const CGpsTime& GpsTime() const = 0;
    // g_interfaceMode and the receiver identity's active channel count.
    virtual int GetInterfaceMode() const = 0;
    virtual int GetActiveChannelCount() const = 0;
    // CPex32View::SendGpsCommand (the Rinex output switches).
    virtual void SendGpsCommand(const CString& command) = 0;
    // The log failure: an exclamation box with the text, then a line in the raw-data window. It can come
    // from inside the tick handler (at high priority, with the 1PPS gate taken), so a box shown later, from
    // a posted message, keeps the ticks flowing while it waits for the user. The log is already closed.
    virtual void ShowLogFailure(const CString& text) = 0;
    virtual void AddRawDataLine(const CString& line) = 0;
    // The log type dialog, modal, with its caption already set; TRUE on OK.
    virtual BOOL ShowLogTypeDialog() = 0;
    // The file dialog; TRUE with the chosen full path on OK.
    virtual BOOL ShowLogFileDialog(const LogFileDialogRequest& request, CString& path) = 0;
    // String resource 121 ("Version 2.7.29").
    virtual CString GetVersionText() const;
};

class GpsDataLogger {
public:
    // The four files, each with its path; the order is that of the closing.
    enum LogFile { kRawFile, kPvtFile, kBinaryFile, kNmeaFile, kFileCount };

    explicit GpsDataLogger(IGpsLogHost& host);
    // Closes whatever is open without trailers (the view closes the log properly before).
    ~GpsDataLogger();
    GpsDataLogger(const GpsDataLogger&) = delete;
    GpsDataLogger& operator=(const GpsDataLogger&) = delete;

    // The log kind's file (0 raw, 1 and 4 binary, 2 PVT, 3 NMEA common format).
    static LogFile FileOfKind(int kind);

    // Commands 33516 and 33517, and their update rule (both only while no log is open; Close only while one
    // is).
    void OnNewGpsLog();
    void OnOpenGpsLog();
    BOOL IsAnyLogOpen() const;

    BOOL OpenNewLog(int kind);
    BOOL OpenExistingLog(int kind);
    // Writes the trailers and closes; TRUE when a file was closed.
    BOOL CloseGpsDataLog();
    // At second 0 of every minute.
    void ReopenLogFiles();

    // Appends text and a line end in a logging second to an open file; empty text writes nothing.
    void WriteTextLogLine(LogFile file, const CString& text);
    void WriteBinaryLogMessage(const CString& message);
    // The text's characters as bytes, to the binary log.
    void WriteBinaryBytes(const CString& text);
    void RinexOutputOn();
    void RinexOutputOff();

    // The logging second of a clock-setting step: rxSecond is the receiver's UTC second.
    void DecideLogSecond(int rxSecond, LONG gpsUtcOffsetSec);
    // An extra tick within a second logs only when every second does.
    void DecideLogSecondForExtraTick();
    BOOL IsLogSecond() const { return m_logSecond; }
    BOOL& LogSecond() { return m_logSecond; }
    BOOL IsLogOpenFlag() const { return m_logOpen; }
    // The "$PQVRA" record of a logging second, to the NMEA common format log.
    void WritePositionRecord(const CTime& rxTime, float rxSeconds, const CGpsNav& nav);

    BOOL IsFileOpen(LogFile file) const;
    const CString& GetPath(LogFile file) const { return m_path[file]; }
    void SetPath(LogFile file, const CString& path) { m_path[file] = path; }

    // ((s + o + 60) mod 60) mod interval == 0, o = -1 for "+1 Sec offset" and +1 for "-1 Sec offset".
    static BOOL IsLoggingSecond(int second, int interval, int secondOffset);
    // The PVT column row (without its line end) for the interface mode and channel count; empty when the
    // receiver gets none.
    static CString PvtColumnRow(int interfaceMode, int channels, BOOL forNewLog);
    // "$PQVRA," ... with unknown (negative) values as lone commas.
    static CString FormatPositionRecord(const CTime& rxTime, float rxSeconds, const CString& position,
                                        double speedKnots, double headingDeg, int trackedCount, int quality);
    // The message, the exclusive-or of its characters after "@@", CR LF.
    static CString BinaryRecord(const CString& message);
    // The folder part of a chosen path, without the separator before the file name.
    static CString FolderOfPath(const CString& path);

private:
    enum class Failure { kOpen, kWrite, kReopen };

    BOOL OpenLog(int kind, bool forNew);
    BOOL BeginCommand(LPCTSTR caption, bool forNew, CString& path, int& kind);
    CString Header(LogFile file, bool forNew) const;
    CString TimeText() const;
    // Writes to an open file and hands the data to the system, so that a full disk shows at once.
    void Put(LogFile file, const CString& text);
    void PutBytes(const CString& bytes);
    // Closes every file without trailers, clears the flags and reports once.
    void Fail(Failure what, LogFile file, DWORD errorCode);
    static DWORD ErrorCodeOf(CException* e);

    IGpsLogHost& m_host;
    std::unique_ptr<CStdioFile> m_file[kFileCount];
    CString m_path[kFileCount];
    BOOL m_logOpen = FALSE;
    BOOL m_logSecond = FALSE;
    // The Rinex arrangement holds the position and range messages until the next "@@Bg"/"@@Eg".
    CString m_pendingPositionMsg;
    CString m_pendingRangeMsg;
};
