// CPex32View's side of the receiver link: what the worker threads, the send routines and the decoders reach
// of the view, the port settings, the start-up initialisation and the received-data handler.
#include "app/CPex32View.h"

#include "app/CMainFrame.h"
#include "app/ClockDisplay.h"
#include "app/RawDataWindow.h"
#include "app/SatsGridRefresh.h"
#include "app/ViewCommands.h"
#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CLogType.h"
#include "dialogs/CPortDialog.h"
#include "dialogs/CSatsDataGrid.h"
#include "dialogs/CSyncClockDialog.h"
#include "dialogs/CTimingDialog.h"
#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CWinApp.h"
#include "platform/kernel/Ticks.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/Geoid.h"
#include "receiver/GpsDataDispatch.h"
#include "receiver/GpsPortControl.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <cstdio>
#include <string>

namespace {

// Running as a service or without a display nobody sees the window: the link's comings and goings go to
// standard error too (the journal, for a service).
void TellConsole(const CString& text) {
    const std::string line = "doliva: " + Utf16ToUtf8(text.str()) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace

// ---- ReceiverEvents

void CPex32View::PostGpsDataQueued() {
    ::PostMessageW(m_hWnd, kMsgGpsDataQueued, 0, 0);
}

void CPex32View::PostPpsTick() {
    ::PostMessageW(m_hWnd, kMsgPpsTick, 1, 0);
}

void CPex32View::PostLinkLost(DWORD error) {
    ::PostMessageW(m_hWnd, kMsgGpsLinkLost, error, 0);
}

LRESULT CPex32View::OnGpsLinkLost(WPARAM error, LPARAM) {
    if (m_closing || m_linkLost) {
        return 0;
    }
    m_linkLost = TRUE;
    // A port whose device was unplugged or whose server closed answers "access denied", which would only
    // puzzle the user; other errors keep the system's text.
    const CString reason = error == ERROR_ACCESS_DENIED ? CString(u"the device went away or its connection closed")
                                                        : CString(SystemErrorText(static_cast<DWORD>(error)));
    const CString text = CString(u"ERROR: GPS port ") + m_portControl->m_portDevicePath + u" lost - " + reason;
    SetStatusText(text);
    AddRawDataLine(text);
    TellConsole(text);
    m_portControl->StopLink();

    // Nothing the receiver said before may set the clock or claim a fix now.
    m_rxTime = CTime(kNoReceiverTime);
    m_tickHandled = FALSE;
    m_outOfLock = TRUE;
    m_antennaStatus = -1;
    SetAntennaStatus(-1);
    SetReceiverModeStatus(CMainFrame::kReceiverLost);
    KillViewTimer(kTimerTickIcon);
    ClearTickIcon();
    m_clockText = u"no receiver";
    ClearReceiverDisplays();

    const BOOL autoRestart = m_portDialog && m_portDialog->GetAutoRestart();
    SetViewTimer(autoRestart ? kTimerWatchdog : kTimerLinkRetry, kLinkRetryPeriodMs);
    return 0;
}

BOOL CPex32View::ReopenLostLink() {
    if (!m_portControl->OpenGpsPort(TRUE)) {
        return FALSE;
    }
    m_linkLost = FALSE;
    const CString text = CString(u"GPS port ") + m_portControl->m_portDevicePath + u" open again";
    AddRawDataLine(text);
    TellConsole(text);
    return TRUE;
}

void CPex32View::ShowLinkError(const CString& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    AddRawDataLine(text);
}

void CPex32View::AddRawDataLine(const CString& text) {
    CString line = text;
    while (!line.IsEmpty() && (line[line.GetLength() - 1] == u'\r' || line[line.GetLength() - 1] == u'\n')) {
        line = line.Left(line.GetLength() - 1);
    }
    WriteRawLogLine(line);
    const bool window = m_rawDataDialog && m_rawDataDialog->m_hWnd;
    if (window) {
        m_rawDataDialog->AddText(line);
    }
    if (window || m_firmwareUploadRunning) {
        // Every echoed line lets the GUI thread catch up with what waits in its queue; an upload blocks
        // the GUI thread for minutes, and its lines are the only breaks.
        PumpPendingMessages();
    } else {
        m_rawWindowShown = FALSE;
    }
}

// ---- GpsSendHost

CString CPex32View::DecodeOncoreMessage(const CString& message) {
    return m_oncoreDecoder.DecodeOncoreMessage(message);
}

BOOL CPex32View::DecodeNmeaSentence(const CString& sentence) {
    return m_nmeaDecoder.DecodeNmeaSentence(sentence);
}

CString CPex32View::DecodeUbxMessage(const CString& frame) {
    return m_ubxDecoder.DecodeUbxMessage(frame);
}

void CPex32View::AddIdText(const CString& text) {
    RxIdAddText(text);
}

void CPex32View::UpdateViewWindow() {
    if (m_hWnd) {
        UpdateWindow();
    }
}

void CPex32View::PumpPendingMessages() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!AfxPumpMessage()) {
            ::PostQuitMessage(0);
            return;
        }
    }
}

void CPex32View::SleepMs(DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    for (;;) {
        PumpPendingMessages();
        const ULONGLONG now = ::GetTickCount64();
        if (m_closing || now >= end) {
            return;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

BOOL CPex32View::UbxUploadRunning() {
    return m_ubxUploadRunning;
}

void CPex32View::SetChannelCounts(int channels) {
    g_receiverIdentity.activeChannels = channels;
    g_receiverIdentity.nativeChannels = channels;
}

void CPex32View::SetHasDgps(BOOL hasDgps) {
    g_receiverIdentity.hasDgps = hasDgps;
}

void CPex32View::SetHasTraim(BOOL hasTraim) {
    g_receiverIdentity.hasTraim = hasTraim;
}

// ---- DecoderView

BOOL CPex32View::IsGpsRxOnLocalTime() const {
    return m_rxModeSelect ? m_rxModeSelect->m_gpsRxOnLocalTime : FALSE;
}

int CPex32View::GetReceiverModel() const {
    return g_receiverIdentity.model;
}

float CPex32View::GetFirmwareVersion() const {
    return g_receiverIdentity.firmwareVersion;
}

void CPex32View::UpdateSatsGrid() {
    if (m_closing) {
        return;
    }
    SatsGridRefresh refresh(m_satTables, m_satsGrid.get(), g_interfaceMode.load());
    const SatsGridRefreshResult result = refresh.Run();
    if (result.skyPlotChanged) {
        RefreshSkyPlot();
    }
    if (m_rxModeSelect) {
        m_rxModeSelect->SetTrackedSatellites(result.shownMask);
    }
}

void CPex32View::UpdatePositionText(double latitude, double longitude, double heightWgs84,
                                    double altitudeMsl) {
    if (!m_gpsNav) {
        return;
    }
    const int gpsMode = m_rxModeSelect ? m_rxModeSelect->m_gpsMode : 0;
    const CString locator = m_gpsNav->UpdatePosition(latitude, longitude, heightWgs84, altitudeMsl, gpsMode);
    if (locator != m_gridSquareText) {
        m_gridSquareText = locator;
        UpdateControls();
    }
}

void CPex32View::GpsNavSetFixQuality(int level) {
    if (m_gpsNav) {
        m_gpsNav->SetFixQuality(level);
    }
}

void CPex32View::GpsNavSetTrackedCount(int count) {
    if (m_gpsNav) {
        m_gpsNav->SetTrackedCount(count);
    }
}

void CPex32View::GpsNavSetFixType(int fixType) {
    if (m_gpsNav) {
        m_gpsNav->SetFixType(fixType);
    }
}

int CPex32View::GpsNavGetFixType() const {
    return m_gpsNav ? m_gpsNav->GetFixType() : 0;
}

void CPex32View::GpsNavSetDops(double gdop, double pdop, double hdop, double vdop, double tdop) {
    if (m_gpsNav) {
        m_gpsNav->SetDops(gdop, pdop, hdop, vdop, tdop);
    }
}

void CPex32View::GpsNavSetSpeed(double knots) {
    if (m_gpsNav) {
        m_gpsNav->SetSpeed(knots);
    }
}

void CPex32View::GpsNavSetHeading(double degrees) {
    if (m_gpsNav) {
        m_gpsNav->SetHeading(degrees);
    }
}

void CPex32View::SetSatsGridCellText(int row, int column, const CString& text) {
    if (m_satsGrid && m_satsGrid->GetParam()) {
        m_satsGrid->SetCellTextIfChanged(static_cast<ROWCOL>(row), static_cast<ROWCOL>(column), text);
    }
}

BOOL CPex32View::HasRxIdDialog() const {
    return m_rxIdDialog != nullptr;
}

void CPex32View::RxIdSetText(const CString& text) {
    if (m_rxIdDialog) {
        m_rxIdDialog->SetText(text);
    }
}

void CPex32View::RxIdAddText(const CString& text) {
    if (m_rxIdDialog && m_rxIdDialog->m_hWnd) {
        m_rxIdDialog->AddText(text);
    }
}

// ---- OncoreView

int CPex32View::GetActiveChannels() const {
    return g_receiverIdentity.activeChannels;
}

void CPex32View::SetReceiverModel(int model) {
    g_receiverIdentity.model = model;
}

void CPex32View::SetFirmwareVersion(float version) {
    g_receiverIdentity.firmwareVersion = version;
}

void CPex32View::SetVersionText(const CString& text) {
    g_receiverIdentity.versionText = text;
}

void CPex32View::SetReceiverPlusModel(BOOL plus) {
    g_receiverPlusModel = plus;
}

void CPex32View::SetViewTimer(UINT id, UINT elapseMs) {
    if (m_hWnd) {
        SetTimer(id, elapseMs);
    }
}

void CPex32View::KillViewTimer(UINT id) {
    if (m_hWnd) {
        KillTimer(id);
    }
}

void CPex32View::StampStartupTime() {
    _ftime(&m_startupTimestamp);
}

BOOL CPex32View::GetPortCommMask(DWORD& mask) {
    return g_hGpsPort != nullptr && GetCommMask(g_hGpsPort, &mask);
}

BOOL CPex32View::SetPortCommMask(DWORD mask) {
    return g_hGpsPort != nullptr && SetCommMask(g_hGpsPort, mask);
}

double CPex32View::GetGeoidSeparation(double latitude, double longitude) const {
    return GeoidSeparation(latitude, longitude);
}

CString CPex32View::GetMonthName(int month) const {
    return ::GetMonthName(month);
}

CString CPex32View::GpsNavFormatDops() const {
    return m_gpsNav ? m_gpsNav->FormatDops() : CString();
}

// ---- IPositionAveragerHost

int CPex32View::GetInterfaceMode() const {
    return g_interfaceMode.load();
}

// ---- The frame's panes

CMainFrame* CPex32View::GetMainFrame() const {
    return dynamic_cast<CMainFrame*>(GetParentFrame());
}

void CPex32View::SetAntennaStatus(int status) {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->SetAntennaStatus(status);
    }
}

void CPex32View::SetReceiverModeStatus(int status) {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->SetReceiverModeStatus(status);
    }
}

void CPex32View::ShowTickIcon() {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->ShowTickIcon();
    }
}

void CPex32View::ClearTickIcon() {
    if (CMainFrame* frame = GetMainFrame()) {
        if (m_linkLost) {
            frame->ShowNoTickIcon();
        } else {
            frame->ClearTickIcon();
        }
    }
}

void CPex32View::FlashTickIcon() {
    ShowTickIcon();
    ClearTickIcon();
}

void CPex32View::SetStatusText(const CString& text) {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->SetStatusText(text);
    }
}

void CPex32View::AddStatusText(const CString& text) {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->AddStatusText(text);
    }
}

void CPex32View::RemoveStatusText(const CString& text) {
    if (CMainFrame* frame = GetMainFrame()) {
        frame->RemoveStatusText(text);
    }
}

// ---- Sending

void CPex32View::SendGpsCommand(const CString& command) {
    ::SendGpsCommand(static_cast<GpsSendHost&>(*this), command);
}

BOOL CPex32View::SendGpsCommandAndWait(const CString& command) {
    return ::SendGpsCommandAndWait(static_cast<GpsSendHost&>(*this), command);
}

// ---- Port settings, start-up and received data

void CPex32View::GetPortSettings() {
    if (!m_portDialog) {
        return;
    }
    GpsPortControl& port = *m_portControl;
    if (port.m_portDevicePath.IsEmpty()) {
        port.m_portDevicePath = GpsPortControl::DevicePathFor(m_portDialog->GetPortName());
    }
    g_ppsInterface = m_portDialog->GetPpsInterface();
    port.m_baudRate = m_portDialog->GetBaudRate();
    port.m_dataBits = m_portDialog->GetDataBitsFlag() ? 8 : 7;
    switch (m_portDialog->GetParity()) {
    case 1: // odd
        port.m_parityOn = TRUE;
        port.m_parity = ODDPARITY;
        break;
    case 2: // even
        port.m_parityOn = TRUE;
        port.m_parity = EVENPARITY;
        break;
    case 3: // space
        port.m_parityOn = TRUE;
        port.m_parity = SPACEPARITY;
        break;
    case 4: // mark
        port.m_parityOn = TRUE;
        port.m_parity = MARKPARITY;
        break;
    default:
        port.m_parityOn = FALSE;
        port.m_parity = NOPARITY;
        break;
    }
    port.m_stopBits = m_portDialog->GetStopBits() == 1 ? TWOSTOPBITS : ONESTOPBIT;
    port.m_handshake = m_portDialog->GetHandshake();
    m_noGpsInit = m_portDialog->GetNoGpsInit();
}

LRESULT CPex32View::OnStartGpsInit(WPARAM, LPARAM) {
    m_clockText = u"Initializing...";
    RepaintView();
    SetStatusText(u"Initialization");
    // The window is painted and shown before the port is opened and the receiver searched for.
    PumpPendingMessages();
    if (!m_closing) {
        m_portControl->OpenGpsPort();
        InitGpsReceiver(TRUE);
    }
    _timeb now{};
    _ftime(&now);
    g_ppsTimestamp = now.time * 1000 + now.millitm;
    m_pcTime = CTime(now.time);
    m_clockText = u"waiting...";
    RepaintView();
    return 0;
}

void CPex32View::ReleaseLinkGates() {
    ReopenReceiveGate(*this);
    ReleaseCrossProcessSemaphore(g_ppsGate, 1, nullptr);
}

BOOL CPex32View::InitGpsReceiver(BOOL showNotFoundBox) {
    return showNotFoundBox ? m_initialisation.RunGpsInitialisation() : m_initialisation.InitGpsReceiver();
}

LRESULT CPex32View::OnGpsData(WPARAM, LPARAM) {
    return ::OnGpsData(static_cast<GpsSendHost&>(*this), static_cast<ReceiverEvents&>(*this), m_closing);
}

// ---- What the receiver's set-up reads and changes

ReceiverParameters CPex32View::GetReceiverParameters() {
    ReceiverParameters p;
    if (!m_rxModeSelect) {
        m_rxModeSelect = std::make_unique<CGpsRxModeSelect>();
    }
    const CGpsRxModeSelect& s = *m_rxModeSelect;
    p.elevationMask = s.m_elevationMask;
    p.gpsMode = s.m_gpsMode;
    p.positionFixMode = s.m_positionFixMode;
    p.satelliteSelection = s.m_satelliteSelection;
    p.geometry = s.m_geometry;
    p.ionoCorrection = s.m_ionoCorrection;
    p.tropoCorrection = s.m_tropoCorrection;
    p.applicationType = s.m_applicationType;
    p.alignMessages = s.m_alignMessages;
    p.dgpsOutput = s.m_dgpsActivate;
    p.dgpsRate = s.m_dgpsRate;
    p.sixChannelMode = s.m_emulatePvt6;
    p.gpsRxOnLocalTime = s.m_gpsRxOnLocalTime;
    p.pulseMode = s.m_pulseMode;
    p.ppsDuration = s.m_ppsDuration;
    p.satGps = s.m_satGps;
    p.satGlonass = s.m_satGlonass;
    p.satGalileo = s.m_satGalileo;
    p.satBeidou = s.m_satBeidou;
    p.satQzss = s.m_satQzss;
    p.satSbas = s.m_satSbas;
    p.satEnableMask = s.m_satEnableMask;
    return p;
}

TimingAdjustments CPex32View::GetTimingAdjustments() {
    TimingAdjustments t;
    if (!m_timingDialog) {
        m_timingDialog = std::make_unique<CTimingDialog>();
    }
    t.totalLate = m_timingDialog->m_totalLate;
    t.utcCorrection = m_timingDialog->m_utcCorrection;
    t.traimLimit = m_timingDialog->m_traimLimit;
    t.traimConditioned = m_timingDialog->m_traimConditioned;
    return t;
}

ReferencePosition CPex32View::GetReferencePosition() {
    ReferencePosition r;
    if (m_gpsNav) {
        m_gpsNav->GetReferencePosition(r.latitude, r.longitude, r.heightWgs84, r.altitudeMsl);
    }
    return r;
}

DWORD& CPex32View::PortBaudRate() {
    return m_portControl->m_baudRate;
}

BOOL CPex32View::SetPortBaudRate(DWORD rate) {
    return m_portControl->SetCommBaudRate(g_hGpsPort, rate);
}

void CPex32View::ReconfigurePort() {
    m_portControl->ConfigureCommPort();
}

BOOL CPex32View::UseChosenPort(const CString& devicePath) {
    const BOOL opened = m_portControl->UsePort(devicePath);
    if (g_hGpsPort != nullptr) {
        m_linkLost = FALSE;
    }
    return opened;
}

void CPex32View::StoreFoundInterfaceMode(int mode) {
    if (m_portDialog) {
        m_portDialog->SetInterfaceMode(mode);
    }
}

BOOL CPex32View::GetRxOnlyIdentity(ReceiverIdentity& identity) {
    return m_portDialog ? m_portDialog->GetReceiverIdentity(identity) : FALSE;
}

void CPex32View::LoadReceiverParameters() {
    if (!m_rxModeSelect) {
        m_rxModeSelect = std::make_unique<CGpsRxModeSelect>();
    }
    m_rxModeSelect->LoadSettings();
}

void CPex32View::ClearPvt6AndLocalTimeFlags() {
    if (m_rxModeSelect) {
        m_rxModeSelect->m_emulatePvt6 = FALSE;
        m_rxModeSelect->m_gpsRxOnLocalTime = FALSE;
    }
}

BOOL CPex32View::IsRefLocOnStart() {
    return m_gpsNav && m_gpsNav->GetRefLocOnStart() != 0;
}

void CPex32View::GpsNavSaveAverages() {
    if (m_gpsNav) {
        m_gpsNav->SaveAverages();
    }
}

void CPex32View::GpsNavLoadAverages() {
    if (m_gpsNav) {
        m_gpsNav->LoadAverages();
    }
}

void CPex32View::GpsNavSetTimingErrorTerms(double a, double b) {
    if (m_gpsNav) {
        m_gpsNav->SetTimingErrorTerms(a, b);
    }
}

void CPex32View::ShowBusyCursor(BOOL on) {
    ::SetCursor(::LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

void CPex32View::RepaintView() {
    if (m_hWnd) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

void CPex32View::ClearRxIdWindow() {
    if (m_rxIdDialog && m_rxIdDialog->m_hWnd) {
        m_rxIdDialog->SetText(u"");
    }
}

void CPex32View::ResetReceiverDerivedState() {
    m_gpsUtcOffsetSec = 0;
    g_leapSecondPending = -1;
    m_dgpsStatus = 0;
    m_satTables.Reset();
}

int CPex32View::ShowMessageBox(const CString& text, UINT type) {
    return AfxMessageBox(text, type);
}

// A close asked for during the initialisation waited for it to end (the frame cannot go while the view's
// handler runs); it goes ahead now.
void CPex32View::InitialisationEnded() {
    if (m_closing && m_hWnd) {
        if (CFrameWnd* frame = GetParentFrame()) {
            frame->PostMessageW(WM_CLOSE);
        }
    }
}

// ---- What the tick, the clock setting and the logs read

BOOL CPex32View::IsOverrideTraim() const {
    return m_syncClockDialog ? m_syncClockDialog->m_overrideTraim : FALSE;
}

BOOL CPex32View::HasRawDataWindow() const {
    return m_rawDataDialog && m_rawDataDialog->m_hWnd;
}

void CPex32View::ReleasePpsGate() {
    // The data after the edge is let through before the next edge can set a new mark.
    EndTickHold(*this);
    ReleaseCrossProcessSemaphore(g_ppsGate, 1, nullptr);
}

void CPex32View::ReportPpsLineFault(const CString& text) {
    SetStatusText(text);
    AddRawDataLine(text);
}

CSyncClockDialog& CPex32View::SyncClockDialog() {
    if (!m_syncClockDialog) {
        m_syncClockDialog = std::make_unique<CSyncClockDialog>();
    }
    return *m_syncClockDialog;
}

void CPex32View::ShowLatencyText(const CString& text) {
    m_latencyText = text;
    UpdateControls();
}

void CPex32View::ShowClockSetFailure(const CString& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

const CGpsNav& CPex32View::GpsNav() const {
    return *m_gpsNav;
}

CLogType& CPex32View::LogType() {
    if (!m_logTypeDialog) {
        m_logTypeDialog = std::make_unique<CLogType>(this);
    }
    return *m_logTypeDialog;
}

// The failure may be found inside the tick handler, with the 1PPS gate taken: a box shown there would
// stop the ticks, and the clock setting with them, until someone closes it.
void CPex32View::ShowLogFailure(const CString& text) {
    m_pendingLogFailures.push_back(text);
    if (m_hWnd) {
        PostMessage(kMsgShowLogFailure);
    }
}

LRESULT CPex32View::OnShowLogFailure(WPARAM, LPARAM) {
    std::vector<CString> texts;
    texts.swap(m_pendingLogFailures);
    for (const CString& text : texts) {
        AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
    return 0;
}

BOOL CPex32View::ShowLogTypeDialog() {
    return LogType().DoModal() == IDOK;
}

BOOL CPex32View::ShowLogFileDialog(const LogFileDialogRequest& request, CString& path) {
    CFileDialog dialog(!request.save, request.defaultExtension, request.fileName, request.flags,
                       request.filter, this);
    dialog.m_ofn.lpstrTitle = request.title;
    if (!request.initialDirectory.IsEmpty()) {
        dialog.m_ofn.lpstrInitialDir = request.initialDirectory;
    }
    if (dialog.DoModal() != IDOK) {
        return FALSE;
    }
    path = dialog.GetPathName();
    return TRUE;
}
