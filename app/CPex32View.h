// The program's only view. It owns everything that runs while the program runs: the receiver link and its
// worker threads, the time value, the position-averaging engine, the satellite channel tables, the settings
// of the dialogs, the raw-data and receiver-ID windows and the clock font; it shows the clock.
//
// The receiver link and the decoders reach it through the interfaces of the receiver library, which it
// implements (ViewReceiverLink.cpp); its menu commands and timers are in ViewMenuCommands.cpp and its
// form's grid and clock font in ViewForm.cpp.
#pragma once

#include "app/CGpsNav.h"
#include "app/ClockStep.h"
#include "app/ClockSynchroniser.h"
#include "app/GpsDataLogger.h"
#include "app/GpsTickHandler.h"
#include "app/GpsTime.h"
#include "platform/framework/CFormView.h"
#include "platform/system/SystemTime.h"
#include "platform/system/TimeZone.h"
#include "receiver/GpsCommandSender.h"
#include "receiver/NmeaDecoder.h"
#include "receiver/OncoreDecoder.h"
#include "receiver/ReceiverConfiguration.h"
#include "receiver/ReceiverEvents.h"
#include "receiver/ReceiverInitialisation.h"
#include "receiver/ReceiverState.h"
#include "receiver/SatelliteChannelTable.h"
#include "receiver/UbxDecoder.h"
#include "resources/Resource.h"

#include <memory>
#include <vector>

class CPortDialog;
class CSatelliteViewChartDialog;
class CSatsDataGrid;
class CTimingDialog;
class CGpsRxModeSelect;
class CSyncClockDialog;
class CLogType;
class CRawDataDialog;
class CRxIdStringDialog;
class CAveragingDialog;
class CManualCommandDialog;
class CGpsRxUpld;
class ViewCommandSender;
class ViewFirmwareUploadHost;
class CMainFrame;
class GpsPortControl;
struct ViewCommandState;

// Program-wide values of the view: the position format of the texts and the leap-second state the decoders
// report (the satellites grid keeps its sort mode, g_satelliteSortMode).
extern int g_navDataFormat;
extern int g_leapSecondPending;
extern int g_ntpLeapIndicator;

class CPex32View : public CFormView,
                   public ReceiverEvents,
                   public ReceiverInitHost,
                   public OncoreView,
                   public IPositionAveragerHost,
                   public IGpsTickHost,
                   public IClockSyncHost,
                   public IGpsLogHost {
    DECLARE_DYNCREATE(CPex32View)

public:
    enum { IDD = IDD_PEX32_FORM };

    CPex32View();
    ~CPex32View() override;

    // ---- CFormView
    void DoDataExchange(CDataExchange* pDX) override;
    void OnInitialUpdate() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnUpdate(CView*, LPARAM, CObject*) override {}
    // While an initialisation runs, the commands that need the receiver are greyed and do nothing.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // ---- Display and state: the form's texts, the port and the receiver set-up
    void UpdateControls() override;
    void ClearReceiverDisplays() override;
    DWORD ReadTimeZone();
    void UpdateClockDisplay() override;
    void SyncPcClock() override;
    void ApplySyncSettings();
    void GetPortSettings();
    // TRUE when the receiver was set up; the not-found box only with showNotFoundBox.
    BOOL InitGpsReceiver(BOOL showNotFoundBox);
    void SendReceiverSetup();
    void SendTimingSetup();
    void SendTimeSetup();
    void UpdatePositionText(double latitude, double longitude, double heightWgs84,
                            double altitudeMsl) override;
    void SendGpsCommand(const CString& command) override;
    BOOL SendGpsCommandAndWait(const CString& command);
    void SetClockDisplayMode(int mode);
    void SendPositionSetup();
    // The raw-data log's side of the echo.
    void WriteRawLogLine(const CString& line);

    // ---- Message handlers
    LRESULT OnGpsData(WPARAM wParam, LPARAM lParam);
    LRESULT OnGpsTick(WPARAM wParam, LPARAM lParam);
    LRESULT OnSatsGridRefresh(WPARAM wParam, LPARAM lParam);
    LRESULT OnStartGpsInit(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowLogFailure(WPARAM wParam, LPARAM lParam);
    // The port went away (kMsgGpsLinkLost): reported once, the displays and the clock left alone until
    // the port is back, then tried again every few seconds (by the watchdog with auto-restart).
    LRESULT OnGpsLinkLost(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnContextMenu(CWnd*, CPoint) {}

    // ---- Menu commands (ViewMenuCommands.cpp)
    void OnViewRawData();
    void OnViewReceiverId();
    void OnPositionFormat(UINT nID);
    void OnUpdatePositionFormat(CCmdUI* pCmdUI);
    void OnSoundAll() { SetSound(TRUE, TRUE); }
    void OnSoundOutOfLock() { SetSound(FALSE, TRUE); }
    void OnSoundTicks() { SetSound(TRUE, FALSE); }
    void OnSoundNone() { SetSound(FALSE, FALSE); }
    void SetSound(BOOL soundOn, BOOL soundOutOfLock);
    void OnUpdateSound(CCmdUI* pCmdUI);
    void OnReferenceFromAverage();
    void OnReferenceFromCurrent();
    void OnReferenceManual();
    void OnAveragingParameters();
    void OnSetGpsInterface();
    // What follows a confirmed serial-port dialog: the rate change told to the receiver, the port taken,
    // the receiver initialised again, the displays cleared and the antenna timer armed in Motorola binary.
    void ApplyConfirmedPortDialog();
    // The manual command dialog destroyed and made again with its window (after a port or firmware change).
    void RecreateManualCommandDialog();
    void SetUbxUploadRunning(BOOL running) { m_ubxUploadRunning = running; }
    void SetFirmwareUploadRunning(BOOL running) { m_firmwareUploadRunning = running; }
    void OnTimingParameters();
    void OnReceiverParameters();
    void OnNewGpsLog();
    void OnOpenGpsLog();
    void OnCloseGpsLog();
    void OnUpdateOpenGpsLog(CCmdUI* pCmdUI);
    void OnUpdateCloseGpsLog(CCmdUI* pCmdUI);
    void OnSetPcClock();
    void OnSkyPlot();
    void OnManualCommands();
    void OnSelfTest();
    void OnSelfSurvey();
    void OnManualSatelliteSelect();
    void OnFirmwareUpload();
    void OnDisplayUtc() { SetClockDisplayMode(0); }
    void OnDisplayPc() { SetClockDisplayMode(1); }
    void OnDisplayLmst() { SetClockDisplayMode(2); }
    void OnDisplayGmst() { SetClockDisplayMode(3); }
    void OnDisplayMjd() { SetClockDisplayMode(4); }
    void OnDisplayPcMinusUtc() { SetClockDisplayMode(5); }
    void OnUpdateClockDisplayMode(CCmdUI* pCmdUI);
    void OnUpdateReceiverCommand(CCmdUI* pCmdUI);
    void OnUnusedCommand() {}
    void OnUpdateDisabled(CCmdUI* pCmdUI);
    void OnUpdateNothing(CCmdUI*) {}

    // ---- ReceiverEvents (worker threads and the port control)
    void PostGpsDataQueued() override;
    void PostPpsTick() override;
    void PostLinkLost(DWORD error) override;
    void ShowLinkError(const CString& text) override;
    void AddRawDataLine(const CString& text) override;

    // ---- GpsSendHost
    CString DecodeOncoreMessage(const CString& message) override;
    BOOL DecodeNmeaSentence(const CString& sentence) override;
    CString DecodeUbxMessage(const CString& frame) override;
    void AddIdText(const CString& text) override;
    void UpdateViewWindow() override;
    void PumpPendingMessages() override;
    BOOL UbxUploadRunning() override;
    // The set-up's pauses handle the window's messages (and show what they painted) while they last.
    void SleepMs(DWORD milliseconds) override;
    BOOL StopWaiting() override { return m_closing; }
    void SetChannelCounts(int channels) override;
    void SetHasDgps(BOOL hasDgps) override;
    void SetHasTraim(BOOL hasTraim) override;

    // ---- DecoderView
    CTime& RxTime() override { return m_rxTime; }
    float& RxSeconds() override { return m_rxSeconds; }
    BOOL& TickHandled() override { return m_tickHandled; }
    BOOL& TickSinceZda() override { return m_tickSinceZda; }
    BOOL& TickSinceRmc() override { return m_tickSinceRmc; }
    BOOL& ZdaSinceTick() override { return m_zdaSinceTick; }
    BOOL& DecoderTicks() override { return m_decoderTicks; }
    int& DgpsStatus() override { return m_dgpsStatus; }
    LONG& GpsUtcOffsetSec() override { return m_gpsUtcOffsetSec; }
    int& LeapSecondPending() override { return g_leapSecondPending; }
    int& NtpLeapIndicator() override { return g_ntpLeapIndicator; }
    SatelliteChannelTable& SatTable() override { return m_satTables.m_satTable; }
    BOOL IsRawWindowShown() const override { return m_rawWindowShown; }
    BOOL IsLogSecond() const override { return m_logger.IsLogSecond(); }
    int GetTimeZoneBiasMin() const override { return m_timeZoneBiasMin; }
    BOOL IsGpsRxOnLocalTime() const override;
    int GetReceiverModel() const override;
    float GetFirmwareVersion() const override;
    int GetGpsTimeYear() const override { return m_gpsTime.GetYear(); }
    int GetGpsTimeMonth() const override { return m_gpsTime.GetMonth(); }
    void UpdateSatsGrid() override;
    // Re-plots the sky plot's satellites from the sorted channel table, when the dialog exists.
    void PlotSatellites();
    // PlotSatellites, only while the sky-plot window exists.
    void RefreshSkyPlot();
    // A channel row plots as tracked by bit 0 of its flags in the u-blox modes and bit 7 in the others.
    static BOOL IsTrackedOnSkyPlot(const SatelliteChannelRow& row, int interfaceMode);
    // Loads the faces and glyphs the first paint of the form and the bars needs, so that the first frame does
    // not wait for them: the start runs it while the display opens.
    static void WarmTextCaches();
    // The document's sky-plot dialog, null before the initial update.
    CSatelliteViewChartDialog* SkyPlotDialog();
    void WriteBinaryLogMessage(const CString& message) override;
    void WritePvtLogLine(const CString& text) override;
    void GpsNavSetFixQuality(int level) override;
    void GpsNavSetTrackedCount(int count) override;
    void GpsNavSetFixType(int fixType) override;
    int GpsNavGetFixType() const override;
    void GpsNavSetDops(double gdop, double pdop, double hdop, double vdop, double tdop) override;
    void GpsNavSetSpeed(double knots) override;
    void GpsNavSetHeading(double degrees) override;
    void SetSatsGridCellText(int row, int column, const CString& text) override;
    BOOL HasRxIdDialog() const override;
    void RxIdSetText(const CString& text) override;
    void RxIdAddText(const CString& text) override;
    void SetAntennaStatus(int status) override;
    void SetReceiverModeStatus(int status) override;
    WeekRolloverCheck& RolloverCheck() override { return m_rolloverCheck; }

    // ---- OncoreView
    float& RxSecondFraction() override { return m_rxSecondFraction; }
    int& HaPrecedenceTicks() override { return m_haPrecedenceTicks; }
    int& EaPrecedenceTicks() override { return m_eaPrecedenceTicks; }
    int& AntennaStatus() override { return m_antennaStatus; }
    BOOL& ShowTraimStatusOnce() override { return m_showTraimStatusOnce; }
    BOOL& OnePpsPulseMode() override { return m_onePpsPulseMode; }
    int GetGpsTimeDay() const override { return m_gpsTime.GetDay(); }
    int GetActiveChannels() const override;
    void SetReceiverModel(int model) override;
    void SetFirmwareVersion(float version) override;
    void SetVersionText(const CString& text) override;
    void SetReceiverPlusModel(BOOL plus) override;
    void SetViewTimer(UINT id, UINT elapseMs) override;
    void KillViewTimer(UINT id) override;
    void StampStartupTime() override;
    BOOL GetPortCommMask(DWORD& mask) override;
    BOOL SetPortCommMask(DWORD mask) override;
    double GetGeoidSeparation(double latitude, double longitude) const override;
    CString GetMonthName(int month) const override;
    CString GpsNavFormatDops() const override;
    void GpsTimeSetEpochOffset(LONG milliseconds) override { m_gpsTime.SetEpochOffset(milliseconds); }
    LONG GpsTimeGetEpochOffset() const override { return m_gpsTime.GetEpochOffset(); }
    void GpsTimeSetPpsOffset(ULONG nanoseconds) override { m_gpsTime.SetPpsOffset(nanoseconds); }
    ULONG GpsTimeGetPpsOffset() const override { return m_gpsTime.GetPpsOffset(); }
    void GpsTimeSetCableDelay(ULONG nanoseconds) override { m_gpsTime.SetCableDelay(nanoseconds); }
    ULONG GpsTimeGetCableDelay() const override { return m_gpsTime.GetCableDelay(); }

    // ---- IPositionAveragerHost
    int GetInterfaceMode() const override;
    int GetActiveChannelCount() const override { return GetActiveChannels(); }
    bool IsDialogOpen() const override;
    void ShowControlText(UINT controlId, const CString& text) override;

    // ---- ReceiverSetupHost and ReceiverInitHost
    ReceiverParameters GetReceiverParameters() override;
    TimingAdjustments GetTimingAdjustments() override;
    ReferencePosition GetReferencePosition() override;
    void AddStatusText(const CString& text) override;
    void RemoveStatusText(const CString& text) override;
    DWORD& PortBaudRate() override;
    BOOL SetPortBaudRate(DWORD rate) override;
    void ReconfigurePort() override;
    void TakePortSettings() override { GetPortSettings(); }
    // Reopens the receive gate so that what arrived while it was held is handled at once.
    void ReleaseLinkGates() override;
    BOOL UseChosenPort(const CString& devicePath) override;
    BOOL NoGpsInit() override { return m_noGpsInit; }
    void StoreFoundInterfaceMode(int mode) override;
    BOOL GetRxOnlyIdentity(ReceiverIdentity& identity) override;
    void LoadReceiverParameters() override;
    void ClearPvt6AndLocalTimeFlags() override;
    BOOL IsRefLocOnStart() override;
    void GpsNavSaveAverages() override;
    void GpsNavLoadAverages() override;
    void GpsNavSetTimingErrorTerms(double a, double b) override;
    void ShowBusyCursor(BOOL on) override;
    void RepaintView() override;
    void SetStatusText(const CString& text) override;
    void ClearRxIdWindow() override;
    void FlashTickIcon() override;
    void ResetReceiverDerivedState() override;
    int ShowMessageBox(const CString& text, UINT type) override;
    void InitialisationEnded() override;
    // An initialisation of the receiver runs (this call comes from inside one of its waits).
    BOOL IsInitialising() const { return m_initialisation.IsRunning(); }

    // ---- IGpsTickHost
    BOOL IsClosing() const override { return m_closing; }
    const CTime& RxTime() const override { return m_rxTime; }
    const CTime& PcTime() const override { return m_pcTime; }
    int GetPpsInterface() const override { return g_ppsInterface.load(); }
    BYTE& PpsRate100() override { return g_ppsRate100; }
    BYTE& PpsRateTicks() override { return g_ppsRateTicks; }
    BOOL IsSoundOn() const override { return m_soundOn; }
    BOOL IsSoundOutOfLock() const override { return m_soundOutOfLock; }
    BOOL IsOutOfLock() const override { return m_outOfLock; }
    BOOL IsOverrideTraim() const override;
    void DecideLogSecondForExtraTick() override { m_logger.DecideLogSecondForExtraTick(); }
    void ClearUtcInfoText() override { m_utcInfoText.Empty(); }
    BOOL HasRawDataWindow() const override;
    void ReopenLogFiles() override { m_logger.ReopenLogFiles(); }
    void ShowTickIcon() override;
    void ClearTickIcon() override;
    void ReleasePpsGate() override;
    void ReportPpsLineFault(const CString& text) override;

    // ---- IClockSyncHost
    CTime& PcTime() override { return m_pcTime; }
    const CGpsTime& GpsTime() const override { return m_gpsTime; }
    BOOL IsTickHandled() const override { return m_tickHandled; }
    int GetStartupStampMillis() const override { return m_startupTimestamp.millitm; }
    CSyncClockDialog& SyncClockDialog() override;
    void ShowLatencyText(const CString& text) override;
    void ShowClockSetFailure(const CString& text) override;
    float GetRxSeconds() const override { return m_rxSeconds; }
    LONG GetGpsUtcOffsetSec() const override { return m_gpsUtcOffsetSec; }
    const CGpsNav& GpsNav() const override;

    // ---- IGpsLogHost
    CLogType& LogType() override;
    void ShowLogFailure(const CString& text) override;
    BOOL ShowLogTypeDialog() override;
    BOOL ShowLogFileDialog(const LogFileDialogRequest& request, CString& path) override;

    // ---- State the other parts of the program read (and tests look at)
    CMainFrame* GetMainFrame() const;
    GpsPortControl& PortControl() { return *m_portControl; }
    CPortDialog* GetPortDialog() const { return m_portDialog.get(); }
    CSyncClockDialog* GetSyncClockDialog() const { return m_syncClockDialog.get(); }
    CRawDataDialog* GetRawDataDialog() const { return m_rawDataDialog.get(); }
    CRxIdStringDialog* GetRxIdDialog() const { return m_rxIdDialog.get(); }
    CGpsNav* GetGpsNav() const { return m_gpsNav.get(); }
    const CGpsTime& GetGpsTime() const { return m_gpsTime; }
    int GetClockDisplayMode() const { return m_clockDisplayMode; }
    void SetClosing(BOOL closing) { m_closing = closing; }
    BOOL IsLinkLost() const { return m_linkLost; }
    LONGLONG GetPcOffsetMs() const { return m_clockSync.GetPcOffsetMs(); }
    int GetTimeSyncMode() const { return m_clockSync.GetTimeSyncMode(); }
    GpsDataLogger& Logger() { return m_logger; }
    ViewCommandState CommandState() const;
    // The satellites grid in the form's placeholder; null before the initial update.
    CSatsDataGrid* GetSatsGrid() const { return m_satsGrid.get(); }
    // The clock's font, made at the initial update.
    CFont& ClockFont() { return m_clockFont; }
    // The texts of the form's controls.
    CString m_clockText;
    CString m_utcInfoText;
    CString m_pcTimeText;
    CString m_siderealText;
    CString m_latitudeText;
    CString m_longitudeText;
    CString m_altitudeGpsText;
    CString m_altitudeMslText;
    CString m_latencyText;
    CString m_gridSquareText;
    CString m_receiverStatusText;

private:
    void ReferenceFollowUp();
    // The satellites grid on the template's placeholder control.
    void CreateSatsGrid();
    // Bold Arial as tall as the clock control's client area, given to that control.
    void CreateClockFont();
    // The grid's channel and summary rows emptied, with the bars' captions.
    void ClearSatsGridCells();
    int PcMillis() const;
    // A lost port opened again: the receiver initialised as after a restart. FALSE while it is still away.
    BOOL ReopenLostLink();
    // What the watchdog does with auto-restart: the receiver parameters reloaded, the receiver set up anew.
    void RestartReceiver();

    // Owned dialogs, windows and engines; null until created.
    std::unique_ptr<CPortDialog> m_portDialog;
    std::unique_ptr<CRawDataDialog> m_rawDataDialog;
    std::unique_ptr<CRxIdStringDialog> m_rxIdDialog;
    std::unique_ptr<CTimingDialog> m_timingDialog;
    std::unique_ptr<CSyncClockDialog> m_syncClockDialog;
    std::unique_ptr<CGpsRxModeSelect> m_rxModeSelect;
    std::unique_ptr<CLogType> m_logTypeDialog;
    std::unique_ptr<CGpsNav> m_gpsNav;
    std::unique_ptr<CSatsDataGrid> m_satsGrid;
    std::unique_ptr<GpsPortControl> m_portControl;
    // The averaging dialog while it is open.
    CAveragingDialog* m_averagingDialog = nullptr;
    std::unique_ptr<ViewCommandSender> m_dialogSender;
    std::unique_ptr<ViewFirmwareUploadHost> m_uploadHost;
    std::unique_ptr<CManualCommandDialog> m_manualCommandDialog;
    std::unique_ptr<CGpsRxUpld> m_firmwareUploadDialog;
    // The engine upload reads the receive list itself; the data handler keeps away meanwhile.
    BOOL m_ubxUploadRunning = FALSE;
    BOOL m_firmwareUploadRunning = FALSE;
    // Log failures found during a tick, shown after it.
    std::vector<CString> m_pendingLogFailures;

    OncoreDecoder m_oncoreDecoder{*this};
    NmeaDecoder m_nmeaDecoder{*this};
    UbxDecoder m_ubxDecoder{*this};
    // The work of the tick, the clock setting, the logs and the receiver's set-up.
    GpsDataLogger m_logger{*this};
    ClockSynchroniser m_clockSync{*this, m_logger};
    GpsTickHandler m_tickHandler{*this};
    ReceiverConfiguration m_configuration{*this};
    ReceiverInitialisation m_initialisation{*this, m_configuration};

    // Time.
    CGpsTime m_gpsTime;
    TIME_ZONE_INFORMATION m_timeZoneInfo{};
    DWORD m_timeZoneResult = TIME_ZONE_ID_UNKNOWN;
    int m_timeZoneBiasMin = 0;
    CTime m_pcTime;
    CTime m_rxTime{kNoReceiverTime};
    float m_rxSeconds = 0.0f;
    float m_rxSecondFraction = 0.0f;
    CTimeSpan m_oneSecond{1};
    LONG m_gpsUtcOffsetSec = 0;
    _timeb m_startupTimestamp{};
    WeekRolloverCheck m_rolloverCheck;
    // How long every tick waits before it is handled (DOLIVA_TICK_DELAY_MS; 0 normally).
    DWORD m_tickDelayMs = 0;

    // Tick.
    BOOL m_tickHandled = FALSE;
    BOOL m_tickSinceZda = FALSE;
    BOOL m_tickSinceRmc = FALSE;
    BOOL m_zdaSinceTick = FALSE;
    BOOL m_decoderTicks = FALSE;
    int m_haPrecedenceTicks = 0;
    int m_eaPrecedenceTicks = 0;
    BOOL m_outOfLock = TRUE;
    int m_dgpsStatus = 0;
    int m_antennaStatus = -1;
    BOOL m_showTraimStatusOnce = FALSE;
    BOOL m_onePpsPulseMode = FALSE;

    // Display and sound.
    int m_clockDisplayMode = 0;
    CFont m_clockFont;
    BOOL m_soundOn = FALSE;
    BOOL m_soundOutOfLock = FALSE;

    BOOL m_rawWindowShown = FALSE;
    BOOL m_closing = FALSE;
    BOOL m_noGpsInit = FALSE;
    // From a lost port until it is open again.
    BOOL m_linkLost = FALSE;

    SatelliteChannelTables m_satTables;

    DECLARE_MESSAGE_MAP()
};
