#include "app/GpsDataLogger.h"

#include "app/CGpsNav.h"
#include "app/GpsTime.h"
#include "dialogs/CLogType.h"
#include "platform/base/Exceptions.h"
#include "platform/base/LastError.h"
#include "receiver/AppProfileAccess.h"

namespace {

constexpr LPCTSTR kProfileSection = u"PexView";
constexpr LPCTSTR kLogDirectoryEntry = u"GPS Log File Directory";
constexpr LPCTSTR kProgramName = u"Doliva";

constexpr LPCTSTR kTextFilter = u"Text Log Files (*.txt)|*.txt|All Files (*.*)|*.*||";
constexpr LPCTSTR kCsvFilter = u"Text Log Files (*.csv)|*.csv|All Files (*.*)|*.*||";
constexpr LPCTSTR kBinaryFilter = u"Binary Log Files (*.bin)|*.bin|All Files (*.*)|*.*||";

// Save: explorer, path must exist, hide read-only, confirm overwrite. Open: explorer, confirm creation, path
// must exist, hide read-only, with or without "no read-only return".
constexpr DWORD kSaveFlags = 0x80806;
constexpr DWORD kOpenNoReadOnlyFlags = 0x8A804;
constexpr DWORD kOpenFlags = 0x82804;

bool IsBinaryFile(GpsDataLogger::LogFile file) {
    return file == GpsDataLogger::kBinaryFile;
}

UINT TypeFlag(GpsDataLogger::LogFile file) {
    return IsBinaryFile(file) ? CFile::typeBinary : CFile::typeText;
}

void AppendNumbered(CString& row, std::initializer_list<LPCTSTR> names, int channels) {
    for (int n = 1; n <= channels; ++n) {
        for (LPCTSTR name : names) {
            row.AppendFormat(u",%s%d", name, n);
        }
    }
}

LogFileDialogRequest DialogRequest(int kind, bool forNew, const CString& directory) {
    LogFileDialogRequest r;
    r.save = forNew;
    r.initialDirectory = directory;
    switch (GpsDataLogger::FileOfKind(kind)) {
    case GpsDataLogger::kRawFile:
        r.defaultExtension = u"txt";
        r.filter = kTextFilter;
        r.title = forNew ? u"New Raw Data Log File" : u"Open Raw Data Log File";
        r.flags = forNew ? kSaveFlags : kOpenNoReadOnlyFlags;
        break;
    case GpsDataLogger::kBinaryFile:
        r.defaultExtension = u"bin";
        r.filter = kBinaryFilter;
        r.title = forNew ? u"New Binary Log File" : u"Open Binary Log File";
        r.flags = forNew ? kSaveFlags : kOpenNoReadOnlyFlags;
        break;
    case GpsDataLogger::kPvtFile:
        r.defaultExtension = forNew ? u"csv" : u"txt";
        r.filter = forNew ? kCsvFilter : kTextFilter;
        r.title = forNew ? u"New PVT Data Log File" : u"Open PVT Data Log File";
        r.flags = forNew ? kSaveFlags : kOpenFlags;
        break;
    default:
        r.defaultExtension = u"txt";
        r.filter = kTextFilter;
        r.title = forNew ? u"New NMEA Common Format Log File" : u"Open NMEA Common Format Log File";
        r.flags = forNew ? kSaveFlags : kOpenFlags;
        break;
    }
    return r;
}

} // namespace

CString IGpsLogHost::GetVersionText() const {
    CString text;
    text.LoadString(121);
    return text;
}

GpsDataLogger::GpsDataLogger(IGpsLogHost& host) : m_host(host) {}

GpsDataLogger::~GpsDataLogger() {
    for (auto& file : m_file) {
        if (file) {
            file->Abort();
        }
    }
}

GpsDataLogger::LogFile GpsDataLogger::FileOfKind(int kind) {
    switch (kind) {
    case CLogType::kBinaryData:
    case CLogType::kRinexData:
        return kBinaryFile;
    case CLogType::kPvtData:
        return kPvtFile;
    case CLogType::kNmeaPvt:
        return kNmeaFile;
    default:
        return kRawFile;
    }
}

BOOL GpsDataLogger::IsFileOpen(LogFile file) const {
    return m_file[file] && m_file[file]->m_pStream != nullptr;
}

BOOL GpsDataLogger::IsAnyLogOpen() const {
    for (int f = 0; f < kFileCount; ++f) {
        if (IsFileOpen(static_cast<LogFile>(f))) {
            return TRUE;
        }
    }
    return FALSE;
}

CString GpsDataLogger::FolderOfPath(const CString& path) {
    const int slash = path.ReverseFind(u'/');
    const int backslash = path.ReverseFind(u'\\');
    const int cut = slash > backslash ? slash : backslash;
    if (cut < 0) {
        return CString();
    }
    // The root keeps its separator.
    return path.Left(cut == 0 ? 1 : cut);
}

BOOL GpsDataLogger::BeginCommand(LPCTSTR caption, bool forNew, CString& path, int& kind) {
    // The commands are disabled while a log is open; choosing a path now would move the open log's file.
    if (IsAnyLogOpen()) {
        return FALSE;
    }
    CLogType& logType = m_host.LogType();
    logType.SetCaption(caption);
    if (!m_host.ShowLogTypeDialog()) {
        return FALSE;
    }
    kind = logType.m_logKind;
    const CString directory = AppGetProfileString(kProfileSection, kLogDirectoryEntry, u"");
    if (!m_host.ShowLogFileDialog(DialogRequest(kind, forNew, directory), path)) {
        return FALSE;
    }
    m_path[FileOfKind(kind)] = path;
    AppWriteProfileString(kProfileSection, kLogDirectoryEntry, FolderOfPath(path));
    return TRUE;
}

void GpsDataLogger::OnNewGpsLog() {
    CString path;
    int kind = 0;
    if (BeginCommand(u"New GPS Log Type", true, path, kind)) {
        OpenNewLog(kind);
    }
}

void GpsDataLogger::OnOpenGpsLog() {
    CString path;
    int kind = 0;
    if (BeginCommand(u"Open GPS Log Type", false, path, kind)) {
        OpenExistingLog(kind);
    }
}

CString GpsDataLogger::TimeText() const {
    return m_host.GpsTime().Format(u"%a %b %d %H:%M:%S %Y");
}

CString GpsDataLogger::Header(LogFile file, bool forNew) const {
    const CString lead = CString(kProgramName) + u" " + m_host.GetVersionText();
    const CString time = TimeText();
    switch (file) {
    case kRawFile:
        return u"; Opened " + lead + u" Raw Data Log at " + time + u" UTC\n";
    case kPvtFile: {
        CString header = u"; Opened " + lead + u" PVT Data Log at " + time + u" UTC\n";
        const CString row =
            PvtColumnRow(m_host.GetInterfaceMode(), m_host.GetActiveChannelCount(), forNew ? TRUE : FALSE);
        if (!row.IsEmpty()) {
            header += row + u"\n";
        }
        return header;
    }
    case kNmeaFile:
        return u"$PQVRM Opened " + lead + u" Log at " + time + u" UTC\n";
    default:
        return CString();
    }
}

BOOL GpsDataLogger::OpenNewLog(int kind) {
    return OpenLog(kind, true);
}

BOOL GpsDataLogger::OpenExistingLog(int kind) {
    return OpenLog(kind, false);
}

BOOL GpsDataLogger::OpenLog(int kind, bool forNew) {
    if (IsAnyLogOpen()) {
        return FALSE;
    }
    m_logOpen = FALSE;
    const LogFile file = FileOfKind(kind);
    UINT flags = CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | TypeFlag(file);
    if (!forNew) {
        flags |= CFile::modeNoTruncate;
    }
    auto stream = std::make_unique<CStdioFile>();
    CFileException error;
    if (!stream->Open(m_path[file], flags, &error)) {
        Fail(Failure::kOpen, file, ErrorCodeOf(&error));
        return FALSE;
    }
    m_file[file] = std::move(stream);
    m_logOpen = TRUE;
    try {
        m_file[file]->SeekToEnd();
    } catch (CException* e) {
        const DWORD code = ErrorCodeOf(e);
        e->Delete();
        Fail(Failure::kOpen, file, code);
        return FALSE;
    }
    const CString header = Header(file, forNew);
    if (!header.IsEmpty()) {
        Put(file, header);
    }
    if (m_logOpen && (forNew ? kind : m_host.LogType().m_logKind) == CLogType::kRinexData) {
        RinexOutputOn();
    }
    if (m_logOpen && forNew) {
        m_host.LogType().m_logKind = kind;
    }
    return m_logOpen;
}

BOOL GpsDataLogger::CloseGpsDataLog() {
    m_logOpen = FALSE;
    const CString suffix =
        CString(kProgramName) + u" " + m_host.GetVersionText() + u" Log at " + TimeText() + u" UTC\n";
    if (m_host.LogType().m_logKind == CLogType::kRinexData) {
        RinexOutputOff();
    }
    BOOL closed = FALSE;
    for (LogFile file : {kRawFile, kPvtFile, kBinaryFile, kNmeaFile}) {
        if (!IsFileOpen(file)) {
            continue;
        }
        closed = TRUE;
        if (file == kNmeaFile) {
            Put(file, u"$PQVRM Closed " + suffix);
        } else if (file != kBinaryFile) {
            Put(file, u"; Closed " + suffix);
        }
        if (!IsFileOpen(file)) {
            // The trailer failed: Fail closed everything.
            break;
        }
        try {
            m_file[file]->Close();
        } catch (CException* e) {
            const DWORD code = ErrorCodeOf(e);
            e->Delete();
            Fail(Failure::kWrite, file, code);
            break;
        }
        m_file[file].reset();
    }
    m_pendingPositionMsg.Empty();
    m_pendingRangeMsg.Empty();
    return closed;
}

void GpsDataLogger::ReopenLogFiles() {
    if (!m_logOpen) {
        return;
    }
    m_logOpen = FALSE;
    for (LogFile file : {kRawFile, kBinaryFile, kPvtFile, kNmeaFile}) {
        if (!IsFileOpen(file)) {
            continue;
        }
        try {
            m_file[file]->Close();
        } catch (CException* e) {
            const DWORD code = ErrorCodeOf(e);
            e->Delete();
            Fail(Failure::kWrite, file, code);
            return;
        }
        // Appending to what is there; a file that has gone away is not made again.
        auto stream = std::make_unique<CStdioFile>();
        CFileException error;
        if (!stream->Open(m_path[file], CFile::modeWrite | CFile::shareDenyWrite | TypeFlag(file), &error)) {
            m_file[file].reset();
            Fail(Failure::kReopen, file, ErrorCodeOf(&error));
            return;
        }
        m_file[file] = std::move(stream);
        m_logOpen = TRUE;
        try {
            m_file[file]->SeekToEnd();
        } catch (CException* e) {
            const DWORD code = ErrorCodeOf(e);
            e->Delete();
            Fail(Failure::kReopen, file, code);
            return;
        }
    }
}

void GpsDataLogger::Put(LogFile file, const CString& text) {
    if (!IsFileOpen(file)) {
        return;
    }
    try {
        m_file[file]->WriteString(text);
        m_file[file]->Flush();
    } catch (CException* e) {
        const DWORD code = ErrorCodeOf(e);
        e->Delete();
        Fail(Failure::kWrite, file, code);
    }
}

void GpsDataLogger::PutBytes(const CString& bytes) {
    if (!IsFileOpen(kBinaryFile) || bytes.IsEmpty()) {
        return;
    }
    std::string data;
    data.reserve(static_cast<size_t>(bytes.GetLength()));
    for (char16_t unit : bytes.str()) {
        data += static_cast<char>(unit & 0xFF);
    }
    try {
        m_file[kBinaryFile]->Write(data.data(), static_cast<UINT>(data.size()));
        m_file[kBinaryFile]->Flush();
    } catch (CException* e) {
        const DWORD code = ErrorCodeOf(e);
        e->Delete();
        Fail(Failure::kWrite, kBinaryFile, code);
    }
}

DWORD GpsDataLogger::ErrorCodeOf(CException* e) {
    if (auto* fileError = dynamic_cast<CFileException*>(e); fileError && fileError->m_lOsError > 0) {
        return static_cast<DWORD>(fileError->m_lOsError);
    }
    const DWORD last = GetLastError();
    return last != ERROR_SUCCESS ? last : ERROR_WRITE_FAULT;
}

void GpsDataLogger::Fail(Failure what, LogFile file, DWORD errorCode) {
    const bool rinex = IsFileOpen(kBinaryFile) && m_host.LogType().m_logKind == CLogType::kRinexData;
    // Everything is closed before anyone is told: the box runs a message loop, and a tick or a data line
    // arriving meanwhile must find no log to write to.
    for (auto& stream : m_file) {
        if (stream) {
            stream->Abort();
            stream.reset();
        }
    }
    m_logOpen = FALSE;
    m_logSecond = FALSE;
    m_pendingPositionMsg.Empty();
    m_pendingRangeMsg.Empty();
    if (rinex) {
        RinexOutputOff();
    }

    CString text = what == Failure::kOpen    ? u"Error while opening GPS log file\n\""
                   : what == Failure::kWrite ? u"Error while writing GPS log file\n\""
                                             : u"Error while reopening GPS log file\n\"";
    text += m_path[file];
    text += u"\"\nSysErr: ";
    text += CString(SystemErrorText(errorCode));
    text += u"\nGPS logging stopped.";
    m_host.ShowLogFailure(text);
    m_host.AddRawDataLine(u"ERROR: GPS log stopped");
}

void GpsDataLogger::WriteTextLogLine(LogFile file, const CString& text) {
    if (!m_logSecond || IsBinaryFile(file) || !IsFileOpen(file) || text.IsEmpty()) {
        return;
    }
    Put(file, text + u"\n");
}

CString GpsDataLogger::BinaryRecord(const CString& message) {
    BYTE checksum = 0;
    for (int i = 2; i < message.GetLength(); ++i) {
        checksum ^= static_cast<BYTE>(message.GetAt(i) & 0xFF);
    }
    CString record = message;
    record += static_cast<TCHAR>(checksum);
    record += u"\r\n";
    return record;
}

void GpsDataLogger::WriteBinaryBytes(const CString& text) {
    PutBytes(text);
}

void GpsDataLogger::WriteBinaryLogMessage(const CString& message) {
    if (!IsFileOpen(kBinaryFile) || message.IsEmpty()) {
        return;
    }
    if (m_host.LogType().m_logKind != CLogType::kRinexData) {
        if (m_logSecond) {
            WriteBinaryBytes(BinaryRecord(message));
        }
        return;
    }
    const CString id = message.Left(4);
    if (id == u"@@Ba" || id == u"@@Ea") {
        m_pendingPositionMsg = message;
    } else if (id == u"@@Bk" || id == u"@@Ek") {
        m_pendingRangeMsg = message;
    } else if (id == u"@@Bg" || id == u"@@Eg") {
        for (CString* pending : {&m_pendingPositionMsg, &m_pendingRangeMsg}) {
            if (!pending->IsEmpty()) {
                if (m_logSecond) {
                    WriteBinaryBytes(BinaryRecord(*pending));
                }
                pending->Empty();
            }
        }
        if (m_logSecond) {
            WriteBinaryBytes(BinaryRecord(message));
        }
    } else if (id == u"@@Bf" || id == u"@@Cc" || id == u"@@Ha") {
        if (m_logSecond) {
            WriteBinaryBytes(BinaryRecord(message));
        }
    }
}

void GpsDataLogger::RinexOutputOn() {
    if (m_host.GetInterfaceMode() != 2) {
        return;
    }
    m_host.SendGpsCommand(CString(m_host.GetActiveChannelCount() > 7 ? u"@@Eg" : u"@@Bg") + TCHAR(0x01));
    m_host.SendGpsCommand(CString(u"@@Bi") + TCHAR(0x01));
}

void GpsDataLogger::RinexOutputOff() {
    if (m_host.GetInterfaceMode() != 2) {
        return;
    }
    m_host.SendGpsCommand(CString(m_host.GetActiveChannelCount() > 7 ? u"@@Eg" : u"@@Bg") + TCHAR(0x00));
    m_host.SendGpsCommand(CString(u"@@Bi") + TCHAR(0x00));
}

BOOL GpsDataLogger::IsLoggingSecond(int second, int interval, int secondOffset) {
    if (interval <= 0) {
        return FALSE;
    }
    const int o = secondOffset == CLogType::kPlusOneSecond    ? -1
                  : secondOffset == CLogType::kMinusOneSecond ? 1
                                                              : 0;
    const int s = (((second + o + 60) % 60) + 60) % 60;
    return s % interval == 0 ? TRUE : FALSE;
}

void GpsDataLogger::DecideLogSecond(int rxSecond, LONG gpsUtcOffsetSec) {
    m_logSecond = FALSE;
    const CLogType& logType = m_host.LogType();
    if (!m_logOpen || logType.m_logInterval <= 0) {
        return;
    }
    const int s = rxSecond + (logType.m_useGpsSecond ? static_cast<int>(gpsUtcOffsetSec) : 0);
    m_logSecond = IsLoggingSecond(s, logType.m_logInterval, logType.m_secondOffset);
}

void GpsDataLogger::DecideLogSecondForExtraTick() {
    m_logSecond = m_host.LogType().m_logInterval == 1 ? TRUE : FALSE;
}

CString GpsDataLogger::FormatPositionRecord(const CTime& rxTime, float rxSeconds, const CString& position,
                                            double speedKnots, double headingDeg, int trackedCount,
                                            int quality) {
    CString record = u"$PQVRA,";
    record += (rxTime - CTimeSpan(1)).FormatGmt(u"%Y%m%d,%H%M");
    record.AppendFormat(u"%05.2f", static_cast<double>(rxSeconds));
    record += u",";
    record += position;
    if (speedKnots < 0) {
        record += u",";
    } else {
        record.AppendFormat(u",%05.1f", speedKnots);
    }
    record += u",N";
    if (headingDeg < 0) {
        record += u",";
    } else {
        record.AppendFormat(u",%05.1f", headingDeg);
    }
    if (trackedCount < 0) {
        record += u",";
    } else {
        record.AppendFormat(u",%02.2u", static_cast<unsigned>(trackedCount));
    }
    if (quality < 0) {
        record += u",";
    } else {
        record.AppendFormat(u",%01i", quality);
    }
    return record;
}

void GpsDataLogger::WritePositionRecord(const CTime& rxTime, float rxSeconds, const CGpsNav& nav) {
    if (!m_logSecond || !IsFileOpen(kNmeaFile)) {
        return;
    }
    WriteTextLogLine(kNmeaFile,
                     FormatPositionRecord(rxTime, rxSeconds, nav.FormatCurrentPosition(3), nav.GetSpeed(),
                                          nav.GetHeading(), nav.GetTrackedCount(), nav.GetFixQuality()));
}

CString GpsDataLogger::PvtColumnRow(int interfaceMode, int channels, BOOL forNewLog) {
    CString row;
    switch (interfaceMode) {
    case 2:
    case 3:
        if (channels == 12) {
            if (forNewLog) {
                row = u"Date,Time,lat(mas),long(mas),height,height_msl,velocity_3D,velocity_2D,heading,dop_"
                      u"type,"
                      u"dop,vis_sats,tracked_sats,rcvr_status,ID_tag";
                AppendNumbered(row, {u"svid_", u"ch_mode_", u"sig_str_", u"iode_", u"ch_stat_"}, 12);
                row += u",reserved,reserved,clock_bias,oscillator_offset,temperature,UTC_Data,GMT_Data";
            } else {
                row =
                    u"month,day,year,hour,minutes,seconds,lat(mas),long(mas),height,height_msl,north,east,"
                    u"vertical,Unfiltered_lat(mas),Unfiltered_long(mas),Unfiltered_height,"
                    u"Unfiltered_height_msl,Unfiltered_north,Unfiltered_east,Unfiltered_vertical,velocity_3D,"
                    u"velocity_2D,heading,dop_type,dop,no_vis_sat,no_tracked,rcvr_status";
                AppendNumbered(row, {u"svid_", u"ch_mode_", u"sig_str_", u"ch_stat_"}, 12);
            }
        } else if (channels == 8 || channels == 6) {
            row = forNewLog
                      ? u"Date,Time,lat(mas),long(mas),height,height_msl,velocity,heading,dop_type,dop,"
                        u"vis_sats,tracked_sats,rcvr_status"
                      : u"month,day,year,hour,minutes,seconds,lat(mas),long(mas),height,height_msl,north,"
                        u"east,vertical,velocity,heading,dop_type,dop,no_vis_sat,no_tracked,rcvr_status";
            AppendNumbered(row, {u"svid_", u"ch_mode_", u"sig_str_", u"ch_stat_"}, channels);
        }
        break;
    case 1:
    case 4:
    case 5:
    case 6:
        row = forNewLog ? u"time,lat_deg,lat_min,lat_dir,long_deg,long_min,long_dir,quality,no_tracked,HDOP,"
                          u"height_msl,height_units,geoid_sep,geoid_sep_units,DGPS_age,DGPS_Ref_Stn_id"
                        : u"hour,minutes,seconds,lat_deg,lat_min,lat_dir,long_deg,long_min,long_dir,quality,"
                          u"no_tracked,HDOP,height_msl,height_units,geoid_sep,geoid_sep_units,DGPS_age,"
                          u"DGPS_Ref_Stn_id";
        break;
    default:
        break;
    }
    return row;
}
