// CPex32View's timers and menu commands.
#include "app/CPex32View.h"

#include "app/AveragingDialog.h"
#include "app/RawDataWindow.h"
#include "app/ViewCommands.h"
#include "app/ViewDialogHosts.h"
#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CGpsRxUpld.h"
#include "dialogs/CManualCommandDialog.h"
#include "dialogs/CManualSatelliteSelect.h"
#include "dialogs/CPortDialog.h"
#include "dialogs/CReferencePositionDialog.h"
#include "dialogs/CSyncClockDialog.h"
#include "dialogs/CTimingDialog.h"
#include "platform/framework/CWinApp.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/CThBufferList.h"
#include "receiver/CommandFraming.h"
#include "receiver/GpsPortControl.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

namespace {

const TCHAR kSelfTestQuestion[] =
    u"WARNING: Self Test will disable the GPS receiver for about 10 seconds.When the self-test is complete, "
    u"the "
    u"acquisition process starts all over as if the receiver were first powered on. The date, time, position "
    u"and ephemeris information is all retained.\r\n\r\nUse \"View/View GPS Receiver ID Message\" to view "
    u"the "
    u"results.\r\n\r\nDo you really want to do this?";

const TCHAR kMotorolaSurveyQuestion[] =
    u"NOTICE: The GPS Receiver internal Self Survey mode is independent of this program's software "
    u"self-survey. To save the self survey results, wait for the survey to complete, then save the current "
    u"position to the reference position. \r\n\r\nWARNING: The survey mode overrides some user settings. It "
    u"activates 3D navigation mode and activates TRAIM. User settings are not restored on completion. After "
    u"saving the survey results, re-initialize the GPS Receiver using the menu Edit / Set GPS Receiver "
    u"Interface window.\r\n\r\n\r\nThe internal Auto Survey mode will average a total of 10,000 2D and 3D "
    u"position fixes to achieve a horizontal position accuracy of <10m 95%. If the averaging process is "
    u"interrupted, the \r\naveraging resumes where it left off. Once the position is surveyed, the GPS "
    u"receiver will automatically enter the position-hold mode. \r\n\r\nDo you really want to do this?";

const TCHAR kUbloxSurveyQuestion[] =
    u"NOTICE: The GPS Receiver internal Self Survey mode is independent of this program's software "
    u"self-survey. To save the self survey results, wait for the survey to complete, then save the current "
    u"position to the reference position. \r\n\r\nWARNING: The survey mode overrides some user settings. "
    u"User "
    u"settings are not restored on completion. After saving the survey results, re-initialize the GPS "
    u"Receiver using the menu Edit / Set GPS Receiver Interface window.\r\n\r\nThe internal Auto Survey mode "
    u"will achieve a horizontal position accuracy of <10m 95%. If the averaging process is interrupted, the "
    u"averaging resumes where it left off. Once the position is surveyed, the GPS receiver will "
    u"automatically "
    u"enter the position-hold mode. \r\n\r\nDo you really want to do this?";

CString Bytes(std::initializer_list<unsigned> bytes) {
    CString text;
    for (unsigned b : bytes) {
        text += static_cast<TCHAR>(b & 0xFF);
    }
    return text;
}

} // namespace

CString SelfSurveyCommand(int interfaceMode, int activeChannels) {
    if (interfaceMode == kModeUbloxUbx || interfaceMode == kModeUbloxNmea) {
        // CFG-TMODE: survey-in, then 2000, 10000 and 2000 in the last three fields.
        CString frame = Bytes({0xB5, 0x62, 0x06, 0x3D, 0x1C, 0x00, 0x01, 0x00, 0x00, 0x00});
        for (int i = 0; i < 12; ++i) {
            frame += static_cast<TCHAR>(0);
        }
        frame += Bytes({0xD0, 0x07, 0x00, 0x00, 0x10, 0x27, 0x00, 0x00, 0xD0, 0x07, 0x00, 0x00});
        return frame;
    }
    return activeChannels == 12 ? CString(u"@@Gd") + Bytes({0x03}) : CString(u"@@At") + Bytes({0x02});
}

CString SelfTestCommand(int model) {
    return IsTwelveChannelModel(model) ? CString(u"@@Ia") : CString(u"@@Fa");
}

ViewCommandState CPex32View::CommandState() const {
    ViewCommandState state;
    state.interfaceMode = g_interfaceMode.load();
    state.model = g_receiverIdentity.model;
    state.plusModel = g_receiverPlusModel;
    state.receiverNotFound = g_receiverNotFound;
    return state;
}

// ---- Timers

void CPex32View::RestartReceiver() {
    if (m_rxModeSelect) {
        m_rxModeSelect->LoadSettings();
    }
    g_receiverNotFound = FALSE;
    InitGpsReceiver(FALSE);
}

void CPex32View::OnTimer(UINT_PTR nIDEvent) {
    switch (nIDEvent) {
    case kTimerTickIcon:
        KillTimer(kTimerTickIcon);
        ClearTickIcon();
        break;
    case kTimerWatchdog:
        if (m_portDialog && m_portDialog->GetAutoRestart()) {
            if (m_linkLost && !ReopenLostLink()) {
                SetTimer(kTimerWatchdog, kLinkRetryPeriodMs);
                break;
            }
            KillTimer(kTimerLinkRetry);
            RestartReceiver();
            SetTimer(kTimerWatchdog, kWatchdogRestartPeriodMs);
        }
        break;
    case kTimerLinkRetry:
        // Without auto-restart; the watchdog takes over when it is switched on meanwhile.
        if (!m_linkLost) {
            KillTimer(kTimerLinkRetry);
        } else if (ReopenLostLink()) {
            KillTimer(kTimerLinkRetry);
            RestartReceiver();
        }
        break;
    case kTimerAntenna:
        if (m_portDialog && m_portDialog->GetAutoRestart()) {
            SendGpsCommand(u"@@Cf");
            KillTimer(kTimerAntenna);
        }
        break;
    default:
        CView::OnTimer(nIDEvent);
        break;
    }
}

// ---- Windows

void CPex32View::OnViewRawData() {
    if (!m_rawDataDialog) {
        return;
    }
    if (!m_rawDataDialog->m_hWnd) {
        m_rawDataDialog->Create(GetTopLevelParent());
    }
    m_rawDataDialog->ShowWindowRestoring(SW_RESTORE);
    m_rawWindowShown = TRUE;
}

void CPex32View::OnViewReceiverId() {
    if (!m_rxIdDialog) {
        return;
    }
    if (!m_rxIdDialog->m_hWnd) {
        m_rxIdDialog->Create(GetTopLevelParent());
        m_rxIdDialog->SetText(g_receiverIdentity.versionText);
    }
    m_rxIdDialog->ShowWindowRestoring(SW_RESTORE);
}

// ---- Position format and sound

void CPex32View::OnPositionFormat(UINT nID) {
    g_navDataFormat = static_cast<int>(nID - kCmdFormatDegrees);
    UpdateClockDisplay();
}

void CPex32View::OnUpdatePositionFormat(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(static_cast<int>(pCmdUI->m_nID - kCmdFormatDegrees) == g_navDataFormat);
}

void CPex32View::SetSound(BOOL soundOn, BOOL soundOutOfLock) {
    m_soundOn = soundOn;
    m_soundOutOfLock = soundOutOfLock;
}

void CPex32View::OnUpdateSound(CCmdUI* pCmdUI) {
    BOOL checked = FALSE;
    switch (pCmdUI->m_nID) {
    case kCmdSoundAll:
        checked = m_soundOn && m_soundOutOfLock;
        break;
    case kCmdSoundOutOfLock:
        checked = !m_soundOn && m_soundOutOfLock;
        break;
    case kCmdSoundTicks:
        checked = m_soundOn && !m_soundOutOfLock;
        break;
    case kCmdSoundNone:
        checked = !m_soundOn && !m_soundOutOfLock;
        break;
    default:
        break;
    }
    pCmdUI->SetCheck(checked ? 1 : 0);
}

void CPex32View::OnUpdateClockDisplayMode(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(DisplayModeFromCommand(pCmdUI->m_nID) == m_clockDisplayMode ? 1 : 0);
}

void CPex32View::OnUpdateReceiverCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsViewCommandEnabled(pCmdUI->m_nID, CommandState()));
}

void CPex32View::OnUpdateDisabled(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}

// ---- Reference location

void CPex32View::ReferenceFollowUp() {
    if (!m_gpsNav) {
        return;
    }
    double latitude = 0, longitude = 0, altitudeGps = 0, altitudeMsl = 0;
    m_gpsNav->GetReferencePosition(latitude, longitude, altitudeGps, altitudeMsl);
    m_gpsTime.SetLocation(latitude, longitude);
    switch (::ReferenceFollowUp(g_interfaceMode.load())) {
    case SetupFollowUp::kSendSetup:
        SendPositionSetup();
        break;
    case SetupFollowUp::kInitialise:
        InitGpsReceiver(TRUE);
        break;
    case SetupFollowUp::kNothing:
        break;
    }
}

void CPex32View::OnReferenceFromAverage() {
    if (m_gpsNav) {
        m_gpsNav->SetReferenceFromAverage();
        ReferenceFollowUp();
    }
}

void CPex32View::OnReferenceFromCurrent() {
    if (m_gpsNav) {
        m_gpsNav->SetReferenceFromCurrent();
        ReferenceFollowUp();
    }
}

void CPex32View::OnReferenceManual() {
    if (!m_gpsNav) {
        return;
    }
    CReferencePositionDialog dialog(this);
    m_gpsNav->GetReferencePosition(dialog.m_locLatitude, dialog.m_locLongitude, dialog.m_wgs84Altitude,
                                   dialog.m_mslAltitude);
    dialog.m_currentGeoidSeparation = m_gpsNav->GetCurrentGeoidSeparation();
    dialog.m_positionFormat = g_navDataFormat;
    dialog.m_loadOnStartup = m_gpsNav->GetRefLocOnStart();
    if (dialog.DoModal() == IDOK) {
        m_gpsNav->SetRefLocOnStart(dialog.m_loadOnStartup);
        m_gpsNav->SetReferencePosition(dialog.m_locLatitude, dialog.m_locLongitude, dialog.m_wgs84Altitude,
                                       dialog.m_mslAltitude);
        ReferenceFollowUp();
    }
}

void CPex32View::OnAveragingParameters() {
    if (!m_gpsNav) {
        return;
    }
    CAveragingDialog dialog(*m_gpsNav, this);
    m_averagingDialog = &dialog;
    dialog.DoModal();
    m_averagingDialog = nullptr;
}

bool CPex32View::IsDialogOpen() const {
    return m_averagingDialog && m_averagingDialog->m_hWnd;
}

void CPex32View::ShowControlText(UINT controlId, const CString& text) {
    if (m_averagingDialog) {
        m_averagingDialog->ShowControlText(controlId, text);
    }
}

// ---- Settings dialogs

void CPex32View::OnSetGpsInterface() {
    if (m_portDialog && m_portDialog->DoModal() == IDOK) {
        ApplyConfirmedPortDialog();
    }
}

void CPex32View::RecreateManualCommandDialog() {
    if (m_manualCommandDialog && m_manualCommandDialog->m_hWnd) {
        m_manualCommandDialog->DestroyWindow();
    }
    if (!m_dialogSender) {
        m_dialogSender = std::make_unique<ViewCommandSender>(*this);
    }
    m_manualCommandDialog = std::make_unique<CManualCommandDialog>(m_dialogSender.get(), this);
    m_manualCommandDialog->Create(this);
}

void CPex32View::ApplyConfirmedPortDialog() {
    if (!m_portDialog) {
        return;
    }
    const int mode = m_portDialog->GetInterfaceMode();
    m_initialisation.ApplyConfirmedPortDialog(mode, m_portDialog->GetBaudRate(),
                                              GpsPortControl::DevicePathFor(m_portDialog->GetPortName()),
                                              m_portDialog->GetNoGpsInit());
    ClearReceiverDisplays();
    RecreateManualCommandDialog();
    if (mode == kModeMotorolaBinary) {
        SetTimer(kTimerAntenna, kAntennaPeriodMs);
    } else {
        KillTimer(kTimerAntenna);
    }
}

namespace {

// The modes whose receiver takes a set-up command; the others need the whole initialisation.
bool TakesSetupCommands(int mode) {
    return mode == 2 || mode == 4 || mode == 7 || mode == 9 || mode == 10;
}

} // namespace

void CPex32View::OnTimingParameters() {
    if (!m_timingDialog || m_timingDialog->DoModal() != IDOK) {
        return;
    }
    const int mode = g_interfaceMode.load();
    if (TakesSetupCommands(mode)) {
        SendTimingSetup();
    } else if (mode != 3 && mode != 6 && mode != 8 && mode != 11) {
        InitGpsReceiver(TRUE);
    }
}

void CPex32View::OnReceiverParameters() {
    if (!m_rxModeSelect || m_rxModeSelect->DoModal() != IDOK) {
        return;
    }
    if (TakesSetupCommands(g_interfaceMode.load())) {
        SendReceiverSetup();
    } else {
        InitGpsReceiver(TRUE);
    }
}

void CPex32View::OnSetPcClock() {
    if (m_syncClockDialog && m_syncClockDialog->DoModal() == IDOK) {
        ApplySyncSettings();
    }
}

void CPex32View::OnManualCommands() {
    if (!m_manualCommandDialog) {
        RecreateManualCommandDialog();
    } else if (!m_manualCommandDialog->m_hWnd) {
        m_manualCommandDialog->Create(this);
    }
    if (m_manualCommandDialog->m_hWnd) {
        m_manualCommandDialog->ShowWindowRestoring(SW_RESTORE);
    }
}

void CPex32View::OnManualSatelliteSelect() {
    if (!m_dialogSender) {
        m_dialogSender = std::make_unique<ViewCommandSender>(*this);
    }
    CManualSatelliteSelect dialog(m_dialogSender.get(), m_rxModeSelect.get(), this);
    if (dialog.DoModal() == IDOK) {
        ClearReceiverDisplays();
    }
}

void CPex32View::OnFirmwareUpload() {
    KillTimer(kTimerAntenna);
    KillTimer(kTimerWatchdog);
    if (!m_firmwareUploadDialog) {
        m_uploadHost = std::make_unique<ViewFirmwareUploadHost>(*this);
        m_firmwareUploadDialog = std::make_unique<CGpsRxUpld>(*m_uploadHost, this);
    }
    g_firmwareUploadActive = 1;
    if (m_firmwareUploadDialog->DoModal() == IDOK) {
        while (!g_receiveList.RemoveHead().IsEmpty()) {
        }
        g_firmwareUploadActive = 0;
        ReconfigurePort();
        if (m_portDialog) {
            m_initialisation.ApplyPortSettings(m_portDialog->GetInterfaceMode(), m_portDialog->GetBaudRate(),
                                               m_portDialog->GetNoGpsInit());
        }
        ClearReceiverDisplays();
        RecreateManualCommandDialog();
    }
    g_firmwareUploadActive = 0;
}

// ---- Receiver commands

void CPex32View::OnSelfTest() {
    if (g_interfaceMode.load() != kModeMotorolaBinary) {
        return;
    }
    if (AfxMessageBox(kSelfTestQuestion, MB_ICONEXCLAMATION | MB_YESNO) == IDYES) {
        SendGpsCommand(SelfTestCommand(g_receiverIdentity.model));
    }
}

void CPex32View::OnSelfSurvey() {
    const int mode = g_interfaceMode.load();
    LPCTSTR question = nullptr;
    if (mode == kModeMotorolaBinary) {
        question = kMotorolaSurveyQuestion;
    } else if (mode == kModeUbloxUbx || mode == kModeUbloxNmea) {
        question = kUbloxSurveyQuestion;
    } else {
        return;
    }
    if (AfxMessageBox(question, MB_ICONEXCLAMATION | MB_YESNO) == IDYES) {
        SendGpsCommand(SelfSurveyCommand(mode, g_receiverIdentity.activeChannels));
    }
}

// ---- Logs

void CPex32View::OnNewGpsLog() {
    m_logger.OnNewGpsLog();
}

void CPex32View::OnOpenGpsLog() {
    m_logger.OnOpenGpsLog();
}

void CPex32View::OnCloseGpsLog() {
    m_logger.CloseGpsDataLog();
}

void CPex32View::OnUpdateOpenGpsLog(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_logger.IsAnyLogOpen());
}

void CPex32View::OnUpdateCloseGpsLog(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_logger.IsAnyLogOpen());
}

void CPex32View::WriteRawLogLine(const CString& line) {
    m_logger.WriteTextLogLine(GpsDataLogger::kRawFile, line);
}

void CPex32View::WriteBinaryLogMessage(const CString& message) {
    m_logger.WriteBinaryLogMessage(message);
}

void CPex32View::WritePvtLogLine(const CString& text) {
    m_logger.WriteTextLogLine(GpsDataLogger::kPvtFile, text);
}

// ---- Configuration commands

void CPex32View::SendReceiverSetup() {
    m_configuration.SendReceiverSetup();
}

void CPex32View::SendTimingSetup() {
    m_configuration.SendTimingSetup();
}

void CPex32View::SendTimeSetup() {
    m_configuration.SendTimeSetup();
}

void CPex32View::SendPositionSetup() {
    m_configuration.SendPositionSetup();
}
