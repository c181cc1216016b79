#include "app/CPex32View.h"
#include "app/ViewDialogHosts.h"
#include "dialogs/CGpsRxUpld.h"
#include "dialogs/CManualCommandDialog.h"

#include "app/CPex32Doc.h"
#include "app/ClockDisplay.h"
#include "app/RawDataWindow.h"
#include "app/ViewCommands.h"
#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CLogType.h"
#include "dialogs/CPortDialog.h"
#include "dialogs/CSatelliteViewChartDialog.h"
#include "dialogs/CSatsDataGrid.h"
#include "dialogs/CSyncClockDialog.h"
#include "dialogs/CTimingDialog.h"
#include "platform/framework/CWinApp.h"
#include "platform/kernel/Ticks.h"
#include "platform/system/Priority.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsDataDispatch.h"
#include "receiver/GpsPortControl.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <algorithm>
#include <cstdlib>

int g_navDataFormat = 0;
int g_leapSecondPending = -1;
int g_ntpLeapIndicator = 0;

namespace {

const TCHAR kPexView[] = u"PexView";

LONGLONG NowMillis() {
    _timeb now{};
    _ftime(&now);
    return now.time * 1000 + now.millitm;
}

} // namespace

IMPLEMENT_DYNCREATE(CPex32View, CFormView)

BEGIN_MESSAGE_MAP(CPex32View, CFormView)
ON_MESSAGE(kMsgGpsDataQueued, OnGpsData)
ON_MESSAGE(kMsgPpsTick, OnGpsTick)
ON_MESSAGE(kMsgSatsGridRefresh, OnSatsGridRefresh)
ON_MESSAGE(kMsgStartGpsInit, OnStartGpsInit)
ON_MESSAGE(kMsgShowLogFailure, OnShowLogFailure)
ON_MESSAGE(kMsgGpsLinkLost, OnGpsLinkLost)
ON_WM_TIMER()
ON_WM_CTLCOLOR()
ON_WM_CONTEXTMENU()
ON_COMMAND(kCmdRawData, OnViewRawData)
ON_COMMAND(kCmdReceiverIdMessage, OnViewReceiverId)
ON_COMMAND_RANGE(kCmdFormatDegrees, kCmdFormatSeconds, OnPositionFormat)
ON_UPDATE_COMMAND_UI_RANGE(kCmdFormatDegrees, kCmdFormatSeconds, OnUpdatePositionFormat)
ON_COMMAND(kCmdSoundAll, OnSoundAll)
ON_COMMAND(kCmdSoundOutOfLock, OnSoundOutOfLock)
ON_COMMAND(kCmdSoundTicks, OnSoundTicks)
ON_COMMAND(kCmdSoundNone, OnSoundNone)
ON_UPDATE_COMMAND_UI(kCmdSoundAll, OnUpdateSound)
ON_UPDATE_COMMAND_UI(kCmdSoundOutOfLock, OnUpdateSound)
ON_UPDATE_COMMAND_UI(kCmdSoundTicks, OnUpdateSound)
ON_UPDATE_COMMAND_UI(kCmdSoundNone, OnUpdateSound)
ON_COMMAND(kCmdReferenceFromAverage, OnReferenceFromAverage)
ON_COMMAND(kCmdReferenceFromCurrent, OnReferenceFromCurrent)
ON_COMMAND(kCmdReferenceManual, OnReferenceManual)
ON_COMMAND(kCmdAveragingParameters, OnAveragingParameters)
ON_COMMAND(kCmdSetGpsInterface, OnSetGpsInterface)
ON_COMMAND(kCmdTimingParameters, OnTimingParameters)
ON_UPDATE_COMMAND_UI(kCmdTimingParameters, OnUpdateReceiverCommand)
ON_COMMAND(kCmdReceiverParameters, OnReceiverParameters)
ON_UPDATE_COMMAND_UI(kCmdReceiverParameters, OnUpdateReceiverCommand)
ON_COMMAND(kCmdNewGpsLog, OnNewGpsLog)
ON_COMMAND(kCmdOpenGpsLog, OnOpenGpsLog)
ON_UPDATE_COMMAND_UI(kCmdNewGpsLog, OnUpdateOpenGpsLog)
ON_UPDATE_COMMAND_UI(kCmdOpenGpsLog, OnUpdateOpenGpsLog)
ON_COMMAND(kCmdCloseGpsLog, OnCloseGpsLog)
ON_UPDATE_COMMAND_UI(kCmdCloseGpsLog, OnUpdateCloseGpsLog)
ON_COMMAND(kCmdSetPcClock, OnSetPcClock)
ON_COMMAND(kCmdSkyPlot, OnSkyPlot)
ON_COMMAND(kCmdManualCommands, OnManualCommands)
ON_UPDATE_COMMAND_UI(kCmdManualCommands, OnUpdateReceiverCommand)
ON_COMMAND(kCmdSelfTest, OnSelfTest)
ON_UPDATE_COMMAND_UI(kCmdSelfTest, OnUpdateReceiverCommand)
ON_COMMAND(kCmdSelfSurvey, OnSelfSurvey)
ON_UPDATE_COMMAND_UI(kCmdSelfSurvey, OnUpdateReceiverCommand)
ON_COMMAND(kCmdManualSatelliteSelect, OnManualSatelliteSelect)
ON_UPDATE_COMMAND_UI(kCmdManualSatelliteSelect, OnUpdateReceiverCommand)
ON_COMMAND(kCmdFirmwareUpload, OnFirmwareUpload)
ON_UPDATE_COMMAND_UI(kCmdFirmwareUpload, OnUpdateReceiverCommand)
ON_COMMAND(kCmdDisplayUtc, OnDisplayUtc)
ON_COMMAND(kCmdDisplayPc, OnDisplayPc)
ON_COMMAND(kCmdDisplayLmst, OnDisplayLmst)
ON_COMMAND(kCmdDisplayGmst, OnDisplayGmst)
ON_COMMAND(kCmdDisplayMjd, OnDisplayMjd)
ON_COMMAND(kCmdDisplayPcMinusUtc, OnDisplayPcMinusUtc)
ON_UPDATE_COMMAND_UI(kCmdDisplayUtc, OnUpdateClockDisplayMode)
ON_UPDATE_COMMAND_UI(kCmdDisplayPc, OnUpdateClockDisplayMode)
ON_UPDATE_COMMAND_UI(kCmdDisplayLmst, OnUpdateClockDisplayMode)
ON_UPDATE_COMMAND_UI(kCmdDisplayGmst, OnUpdateClockDisplayMode)
ON_UPDATE_COMMAND_UI(kCmdDisplayMjd, OnUpdateClockDisplayMode)
ON_UPDATE_COMMAND_UI(kCmdDisplayPcMinusUtc, OnUpdateClockDisplayMode)
ON_COMMAND(kCmdUnused33511, OnUnusedCommand)
ON_COMMAND(kCmdUnused33526, OnUnusedCommand)
ON_COMMAND(kCmdUnused33527, OnUnusedCommand)
ON_COMMAND(kCmdUnused33528, OnUnusedCommand)
ON_COMMAND(kCmdUnused33530, OnUnusedCommand)
ON_COMMAND(kCmdUnused33531, OnUnusedCommand)
ON_COMMAND(kCmdUnused33545, OnUnusedCommand)
ON_COMMAND(kCmdUnused33554, OnUnusedCommand)
ON_UPDATE_COMMAND_UI(kCmdUnused33527, OnUpdateDisabled)
ON_UPDATE_COMMAND_UI(kCmdUnused33528, OnUpdateDisabled)
ON_UPDATE_COMMAND_UI(kCmdUnused33530, OnUpdateDisabled)
ON_UPDATE_COMMAND_UI(kCmdUnused33545, OnUpdateNothing)
ON_UPDATE_COMMAND_UI(kCmdUnused33554, OnUpdateNothing)
END_MESSAGE_MAP()

CPex32View::CPex32View() : CFormView(IDD) {
    CreateLinkSemaphores();
    m_noGpsInit = AppGetProfileInt(u"GPS Interface", u"NoGpsInit", 0) != 0;
    g_initializing = m_noGpsInit ? 0 : 1;
    m_satTables.Reset();

    m_pcTime = CTime::GetCurrentTime();
    // Until a receiver reports, the receiver time stands at "none yet".
    m_rxTime = CTime(kNoReceiverTime);
    g_ppsTimestamp = NowMillis();
    _ftime(&m_startupTimestamp);

    m_latencyText = u"0";
    g_receiverIdentity = ReceiverIdentity{};
    g_receiverNotFound = FALSE;
    g_receiverPlusModel = FALSE;
    g_leapSecondPending = -1;
    ReadTimeZone();
    m_portControl = std::make_unique<GpsPortControl>(static_cast<ReceiverEvents&>(*this));
    // DOLIVA_TICK_DELAY_MS makes the program act on every 1PPS edge that much later, as a slow or busy
    // machine would: for trying how the clock setting copes (up to 900 ms).
    if (const char* delay = std::getenv("DOLIVA_TICK_DELAY_MS"); delay && *delay) {
        m_tickDelayMs = static_cast<DWORD>(std::clamp(std::atoi(delay), 0, 900));
    }
}

CPex32View::~CPex32View() {
    m_closing = TRUE;
    m_logger.CloseGpsDataLog();
    // Stops both worker threads (clearing the event mask wakes the receive thread) and closes the port.
    m_portControl.reset();

    if (m_rawDataDialog && m_rawDataDialog->m_hWnd) {
        m_rawDataDialog->DestroyWindow();
    }
    if (m_rxIdDialog && m_rxIdDialog->m_hWnd) {
        m_rxIdDialog->DestroyWindow();
    }
    if (m_manualCommandDialog && m_manualCommandDialog->m_hWnd) {
        m_manualCommandDialog->DestroyWindow();
    }
    m_manualCommandDialog.reset();
    // The document has written the sky plot by now: it closes before its views go.
    if (auto* document = dynamic_cast<CPex32Doc*>(m_pDocument)) {
        if (CSatelliteViewChartDialog* skyPlot = document->m_chartDialog) {
            if (skyPlot->m_hWnd) {
                skyPlot->DestroyWindow();
            }
            delete skyPlot;
            document->m_chartDialog = nullptr;
        }
    }
    m_firmwareUploadDialog.reset();
    m_portDialog.reset();
    m_rawDataDialog.reset();
    m_rxIdDialog.reset();
    if (m_satsGrid && m_satsGrid->GetSafeHwnd()) {
        m_satsGrid->DestroyWindow();
    }
    m_satsGrid.reset();
    m_timingDialog.reset();
    m_rxModeSelect.reset();
    m_syncClockDialog.reset();
    m_logTypeDialog.reset();
    m_gpsNav.reset();

    AppWriteProfileInt(kPexView, u"Data", g_navDataFormat);
    AppWriteProfileInt(kPexView, u"Time Sync Mode", m_clockSync.GetTimeSyncMode());
    AppWriteProfileInt(kPexView, u"Satellite Sort Mode", g_satelliteSortMode);
    AppWriteProfileInt(kPexView, u"Clock Display Mode Enum", m_clockDisplayMode);
    AppWriteProfileInt(kPexView, u"Sound", m_soundOn);
    AppWriteProfileInt(kPexView, u"Sound OOL", m_soundOutOfLock);

    DestroyLinkSemaphores();
    m_clockFont.DeleteObject();
}

void CPex32View::OnInitialUpdate() {
    ReadTimeZone();
    g_navDataFormat = AppGetProfileInt(kPexView, u"Data", 0);
    g_satelliteSortMode = AppGetProfileInt(kPexView, u"Satellite Sort Mode", 4);
    m_soundOn = AppGetProfileInt(kPexView, u"Sound", 1);
    m_soundOutOfLock = AppGetProfileInt(kPexView, u"Sound OOL", 1);

    CreateSatsGrid();
    CFormView::OnInitialUpdate();

    m_clockDisplayMode = AppGetProfileInt(kPexView, u"Clock Display Mode Enum", 0);
    if (m_clockDisplayMode == kDisplayPc) {
        g_ppsTimestamp = NowMillis();
        m_pcTime = CTime(g_ppsTimestamp.load() / 1000);
        m_rxTime = CTime(kNoReceiverTime);
        m_rxSeconds = 0.0f;
        // Local time, as the PC mode shows it every second after.
        m_clockText = FormatPcClockText(m_pcTime, PcMillis());
    } else {
        m_clockText.Empty();
    }

    if (CFrameWnd* frame = GetParentFrame()) {
        frame->RecalcLayout();
    }
    ResizeParentToFit(FALSE);
    CreateClockFont();

    if (!m_portDialog) {
        m_portDialog = std::make_unique<CPortDialog>();
    }
    GetPortSettings();
    g_interfaceMode = m_portDialog->GetInterfaceMode();

    if (!m_rawDataDialog) {
        m_rawDataDialog = std::make_unique<CRawDataDialog>(u"GpsRaw", this);
        m_rawDataDialog->SetTitle(u"GPS Raw Data");
    }
    if (auto* document = dynamic_cast<CPex32Doc*>(GetDocument())) {
        document->OnOpenDocument(u"");
        if (!document->m_chartDialog) {
            document->m_chartDialog = new CSatelliteViewChartDialog;
        }
        if (!document->m_chartDialog->m_hWnd) {
            document->m_chartDialog->Create(GetTopLevelParent());
        }
    }
    if (!m_rxIdDialog) {
        m_rxIdDialog = std::make_unique<CRxIdStringDialog>(this);
        m_rxIdDialog->SetText(u"");
        m_rxIdDialog->Create(GetTopLevelParent());
        m_rxIdDialog->SetText(u"");
    }
    if (!m_timingDialog) {
        m_timingDialog = std::make_unique<CTimingDialog>();
    }
    if (!m_gpsNav) {
        m_gpsNav = std::make_unique<CGpsNav>(static_cast<IPositionAveragerHost&>(*this));
    }
    double latitude = 0, longitude = 0, altitudeGps = 0, altitudeMsl = 0;
    m_gpsNav->GetReferencePosition(latitude, longitude, altitudeGps, altitudeMsl);
    m_gpsTime.SetLocation(latitude, longitude);
    if (!m_rxModeSelect) {
        m_rxModeSelect = std::make_unique<CGpsRxModeSelect>();
    }
    SyncClockDialog();
    ApplySyncSettings();
    LogType();

    ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
    ReleaseCrossProcessSemaphore(g_ppsGate, 1, nullptr);
    UpdateControls();
}

BOOL CPex32View::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (IsInitialising() && CommandNeedsIdleReceiver(nID)) {
        if (nCode == CN_UPDATE_COMMAND_UI && pExtra) {
            static_cast<CCmdUI*>(pExtra)->Enable(FALSE);
        }
        return nCode == CN_UPDATE_COMMAND_UI || nCode == CN_COMMAND;
    }
    return CFormView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CPex32View::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (bActivate) {
        SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CPex32View::UpdateControls() {
    if (m_hWnd) {
        UpdateData(FALSE);
    }
}

void CPex32View::ClearReceiverDisplays() {
    m_utcInfoText.Empty();
    m_pcTimeText.Empty();
    m_siderealText.Empty();
    m_latitudeText.Empty();
    m_longitudeText.Empty();
    m_altitudeGpsText.Empty();
    m_altitudeMslText.Empty();
    ClearSatsGridCells();
    SatelliteChannelTables::Fill(m_satTables.m_satTableShown);
    if (m_gpsNav) {
        m_gpsNav->SetDops(0, 0, 0, 0, 0);
    }
    UpdateControls();
}

DWORD CPex32View::ReadTimeZone() {
    const int previousBias = m_timeZoneBiasMin;
    m_timeZoneResult = GetTimeZoneInformation(&m_timeZoneInfo);
    m_timeZoneBiasMin = TimeZoneBiasMinutes(m_timeZoneResult, m_timeZoneInfo.Bias,
                                            m_timeZoneInfo.StandardBias, m_timeZoneInfo.DaylightBias);
    // A receiver that reports local time gets the new bias with the time set-up.
    if (m_timeZoneBiasMin != previousBias && m_rxModeSelect && m_rxModeSelect->m_gpsRxOnLocalTime &&
        g_interfaceMode.load() == kModeMotorolaBinary) {
        SendTimeSetup();
    }
    return m_timeZoneResult;
}

int CPex32View::PcMillis() const {
    const LONGLONG stamp = g_ppsTimestamp.load();
    return static_cast<int>(((stamp % 1000) + 1000) % 1000);
}

void CPex32View::UpdateClockDisplay() {
    if (m_closing) {
        return;
    }
    if (!IsReceiverTime(m_rxTime)) {
        return;
    }
    m_gpsTime.SetTime(m_rxTime);
    const int pcMillis = PcMillis();
    m_clockText =
        FormatBigClockText(m_clockDisplayMode, m_gpsTime, m_pcTime, pcMillis, m_clockSync.GetPcOffsetMs());
    m_tickHandler.PlayDecoderSecondSound(m_gpsTime.GetSecond());
    m_utcInfoText = FormatUtcInfoText(m_gpsTime, m_gpsUtcOffsetSec, g_leapSecondPending);
    if (m_clockSync.ClockWasSet()) {
        SyncClockDialog().NoteClockSet(m_utcInfoText);
        m_clockSync.ClockWasSet() = FALSE;
    }
    const DWORD zone = ReadTimeZone();
    m_pcTimeText =
        FormatPcTimeText(m_pcTime, pcMillis, zone, m_timeZoneInfo.StandardName, m_timeZoneInfo.DaylightName);
    m_siderealText = FormatSiderealText(m_gpsTime);
    if (m_gpsNav) {
        const PositionColumns columns =
            SplitPositionColumns(m_gpsNav->FormatCurrentPosition(g_navDataFormat),
                                 m_gpsNav->FormatAveragePosition(g_navDataFormat),
                                 m_gpsNav->FormatReferencePosition(g_navDataFormat));
        m_latitudeText = columns.latitude;
        m_longitudeText = columns.longitude;
        m_altitudeGpsText = columns.altitudeGps;
        m_altitudeMslText = columns.altitudeMsl;
        const int gpsMode = m_rxModeSelect ? m_rxModeSelect->m_gpsMode : 0;
        m_outOfLock = !m_gpsNav->CheckLock(gpsMode, m_gpsTime);
    }
    UpdateControls();
}

void CPex32View::ApplySyncSettings() {
    m_clockSync.ApplySyncSettings();
}

void CPex32View::SyncPcClock() {
    m_clockSync.SyncPcClock();
}

LRESULT CPex32View::OnGpsTick(WPARAM, LPARAM) {
    if (m_tickDelayMs > 0) {
        // As on a busy machine: the tick waits while the messages behind it are handled.
        const ULONGLONG until = GetTickCount64() + m_tickDelayMs;
        while (GetTickCount64() < until && !m_closing) {
            PumpPendingMessages();
            Sleep(1);
        }
    }
    // However late the tick, its second is the one the receiver told before its edge.
    DispatchDataBeforeTick(static_cast<GpsSendHost&>(*this), m_closing);
    m_tickHandler.OnGpsTick(g_ppsEdgeGapNs.load());
    return 0;
}

LRESULT CPex32View::OnSatsGridRefresh(WPARAM, LPARAM) {
    UpdateSatsGrid();
    return 0;
}

void CPex32View::SetClockDisplayMode(int mode) {
    m_clockDisplayMode = mode;
    AppWriteProfileInt(kPexView, u"Clock Display Mode Enum", mode);
    if (IsReceiverTime(m_rxTime)) {
        m_clockText = FormatBigClockText(m_clockDisplayMode, m_gpsTime, m_pcTime, PcMillis(),
                                         m_clockSync.GetPcOffsetMs());
    }
    UpdateControls();
}
