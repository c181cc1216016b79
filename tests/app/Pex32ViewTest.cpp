#include "AppTestSupport.h"
#include "support/ScopedEnvironment.h"

#include "app/CGridControlFactory.h"
#include "app/CPex32Doc.h"
#include "app/CPex32View.h"
#include "app/ClockDisplay.h"
#include "app/RawDataWindow.h"
#include "app/ViewCommands.h"
#include "dialogs/CPortDialog.h"
#include "dialogs/CReferencePositionDialog.h"
#include "dialogs/CSatelliteViewChartDialog.h"
#include "dialogs/CSatsDataGrid.h"
#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "platform/base/LastError.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/Framework.h"
#include "platform/resources/Resources.h"
#include "platform/serial/FakeSerialPort.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/CThBufferList.h"
#include "receiver/CommandFraming.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsPortControl.h"
#include "receiver/ReceiverIdentity.h"
#include "receiver/ReceiverState.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

#define IDR_VIEWTEST 112

class ViewTestDoc : public CDocument {
    DECLARE_DYNCREATE(ViewTestDoc)
};
IMPLEMENT_DYNCREATE(ViewTestDoc, CDocument)

// What a test does with the next modal dialog the program shows (the frame owns them all).
std::function<void(HWND dialog)> g_dialogStep;

class ViewTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(ViewTestFrame)

protected:
    LRESULT OnEnterIdle(WPARAM wParam, LPARAM lParam) {
        if (wParam == MSGF_DIALOGBOX && g_dialogStep) {
            auto step = std::move(g_dialogStep);
            g_dialogStep = nullptr;
            step(reinterpret_cast<HWND>(lParam));
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(ViewTestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(ViewTestFrame, CFrameWnd)
ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
END_MESSAGE_MAP()

class ViewTestApp : public CWinApp {
public:
    ViewTestApp() : CWinApp(u"Doliva") {}
};

// Records what an update handler sets.
class RecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override {
        enabled = on;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int check) override { checked = check; }
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}
    BOOL enabled = TRUE;
    int checked = -1;
};

class Pex32ViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        // As the program's start: its string table (the grid's control names) and its grids.
        DolivaInstallResourceHooks();
        SetUpProgramGrids();
        m_wire = doliva::serial::FakeSerialWire::Create("pex32view");
        ASSERT_NE(m_wire, nullptr);
        setenv("DOLIVA_COM1", m_wire->Device().c_str(), 1);
        AppWriteProfileString(u"GPS Interface", u"Port", u"COM1");
        AppWriteProfileString(u"GPS Interface", u"PEX Mode", u"Generic NMEA");
        AppWriteProfileInt(u"GPS Interface", u"1PPS Interface", 0);
        m_previousResponder = DisplaySetMessageBoxResponder(
            [this](HWND, const std::u16string&, const std::u16string& text, UINT) {
                m_boxes.push_back(text);
                return m_boxAnswer;
            });
        m_app.m_nCmdShow = SW_SHOWNORMAL;
        m_app.AddDocTemplate(new CSingleDocTemplate(IDR_VIEWTEST, m_documentClass,
                                                    RUNTIME_CLASS(ViewTestFrame), RUNTIME_CLASS(CPex32View)));
    }
    void TearDown() override {
        CloseProgram();
        Pump();
        DisplaySetMessageBoxResponder(m_previousResponder);
        unsetenv("DOLIVA_COM1");
    }

    CPex32View* OpenProgram() {
        m_app.OnFileNew();
        auto* frame = dynamic_cast<CFrameWnd*>(m_app.m_pMainWnd);
        return frame ? dynamic_cast<CPex32View*>(frame->GetActiveView()) : nullptr;
    }
    void CloseProgram() {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        m_app.CloseAllDocuments(TRUE);
    }
    static void Pump() {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT) {
                ::DispatchMessageW(&msg);
            }
        }
    }
    // Pumps the GUI thread's messages until the condition holds or two seconds have passed.
    static bool PumpUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 400; ++i) {
            Pump();
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return done();
    }
    void Command(UINT id) { ::SendMessageW(m_app.m_pMainWnd->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    RecordingCmdUI Update(CPex32View* view, UINT id) {
        RecordingCmdUI ui;
        ui.m_nID = id;
        view->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui;
    }

    ViewTestApp m_app;
    CRuntimeClass* m_documentClass = RUNTIME_CLASS(ViewTestDoc);
    std::shared_ptr<doliva::serial::FakeSerialWire> m_wire;
    MessageBoxResponder m_previousResponder;
    std::vector<std::u16string> m_boxes;
    int m_boxAnswer = IDNO;
};

TEST_F(Pex32ViewTest, StartMessageOpensThePortAndReceivedSentencesReachTheDecoder) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(g_interfaceMode.load(), kModeGenericNmea);
    EXPECT_FALSE(IsReceiverTime(view->RxTime()));

    view->SendMessageW(kMsgStartGpsInit);
    ASSERT_TRUE(m_wire->IsOpen());
    EXPECT_EQ(g_initializing.load(), 0);

    CString zda = u"$GPZDA,123456.00,10,03,2024,00,00";
    ASSERT_TRUE(AddNmeaChecksum(zda));
    m_wire->Send(apptest::Narrow(zda) + "\r\n");
    // The decoder takes the time of the coming tick: one second after the sentence's.
    ASSERT_TRUE(PumpUntil([&] { return IsReceiverTime(view->RxTime()); }));
    EXPECT_EQ(view->RxTime().GetTime(), apptest::Utc(2024, 3, 10, 12, 34, 57).GetTime());
    EXPECT_EQ(view->GetGpsTime().GetDay(), 10);
    EXPECT_FALSE(view->m_utcInfoText.IsEmpty());

    // A command goes out framed through the transmit thread.
    view->SendGpsCommand(u"$PGRMO,,3");
    CString expected = u"$PGRMO,,3";
    AddNmeaChecksum(expected);
    ASSERT_TRUE(m_wire->WaitReceived(expected.GetLength() + 2, 3000));
    EXPECT_EQ(m_wire->TakeReceived(), apptest::Narrow(expected) + "\r\n");
}

// The satellites grid is the form's placeholder control, takes the decoders' summary texts and shows the
// channel table's rows; clearing the displays empties it.
TEST_F(Pex32ViewTest, SatellitesGridTakesThePlaceholderAndShowsWhatTheDecodersReport) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    CSatsDataGrid* grid = view->GetSatsGrid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(view->GetDlgItem(IDC_SATS_GRID), grid);
    EXPECT_TRUE(grid->GetParam() != nullptr);
    // The mouse reaches the grid, not the form behind the placeholder.
    CRect place;
    grid->GetWindowRect(&place);
    EXPECT_EQ(::WindowFromPoint(CPoint(place.left + 4, place.bottom - 4)), grid->m_hWnd);

    view->SetSatsGridCellText(19, 1, u"3D Fix");
    EXPECT_EQ(grid->GetValueRowCol(19, 1), CString(u"3D Fix"));
    SatelliteChannelTable& table = view->SatTable();
    table.fill(SatelliteChannelTables::m_emptySatRow);
    table[0] = SatelliteChannelRow{17, 40, 90, 33, 1, kSatFlagUsed << 8, 0};
    view->UpdateSatsGrid();
    EXPECT_EQ(grid->GetValueRowCol(2, 1), CString(u"17"));
    EXPECT_EQ(grid->GetValueRowCol(2, 5), CString(u"33"));

    view->ClearReceiverDisplays();
    EXPECT_EQ(grid->GetValueRowCol(19, 1), CString());
    EXPECT_EQ(grid->GetValueRowCol(2, 1), CString());
    // The next refresh writes the row again.
    view->UpdateSatsGrid();
    EXPECT_EQ(grid->GetValueRowCol(2, 1), CString(u"17"));
}

TEST_F(Pex32ViewTest, TickRunsTheTickPathAndReopensTheGate) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    Command(kCmdRawData);
    view->RxTime() = apptest::Utc(2024, 3, 10, 12, 0, 5);
    // The receive thread takes the gate before it posts.
    ASSERT_EQ(WaitCrossProcessSemaphore(g_ppsGate, 0), 0u);
    view->SendMessageW(kMsgPpsTick, 1);
    EXPECT_TRUE(view->TickHandled());
    EXPECT_EQ(apptest::Narrow(view->m_clockText).substr(0, 9), "12:00:05.");
    EXPECT_EQ(apptest::Narrow(view->m_utcInfoText).substr(0, 26), "UTC Day #070  12:00:05.000");
    EXPECT_NE(view->GetRawDataDialog()->GetEditText().Find(u"-- PPS --"), -1);
    EXPECT_EQ(WaitCrossProcessSemaphore(g_ppsGate, 0), 0u);

    // A second edge before the next time message takes the extra-edge path: the UTC block is emptied.
    view->SendMessageW(kMsgPpsTick, 1);
    EXPECT_TRUE(view->m_utcInfoText.IsEmpty());
    EXPECT_EQ(WaitCrossProcessSemaphore(g_ppsGate, 0), 0u);

    // Clearing the receiver displays empties the texts and the shown channel table.
    view->RxTime() = apptest::Utc(2024, 3, 10, 12, 0, 6);
    view->UpdateClockDisplay();
    ASSERT_FALSE(view->m_siderealText.IsEmpty());
    view->ClearReceiverDisplays();
    EXPECT_TRUE(view->m_utcInfoText.IsEmpty());
    EXPECT_TRUE(view->m_pcTimeText.IsEmpty());
    EXPECT_TRUE(view->m_siderealText.IsEmpty());
    EXPECT_TRUE(view->m_latitudeText.IsEmpty());

    // While closing the gate stays taken.
    view->SetClosing(TRUE);
    view->SendMessageW(kMsgPpsTick, 1);
    EXPECT_NE(WaitCrossProcessSemaphore(g_ppsGate, 0), 0u);
    view->SetClosing(FALSE);
}

TEST_F(Pex32ViewTest, MenuCommandsRouteToTheViewAndUpdateTheirChecks) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);

    Command(kCmdDisplayGmst);
    EXPECT_EQ(view->GetClockDisplayMode(), kDisplayGmst);
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Clock Display Mode Enum", -1), kDisplayGmst);
    EXPECT_EQ(Update(view, kCmdDisplayGmst).checked, 1);
    EXPECT_EQ(Update(view, kCmdDisplayUtc).checked, 0);

    Command(kCmdFormatMinutes);
    EXPECT_EQ(g_navDataFormat, 1);
    EXPECT_EQ(Update(view, kCmdFormatMinutes).checked, 1);
    EXPECT_EQ(Update(view, kCmdFormatSeconds).checked, 0);

    struct SoundCase {
        UINT command;
        BOOL soundOn, soundOutOfLock;
    };
    for (const SoundCase& c :
         {SoundCase{kCmdSoundOutOfLock, FALSE, TRUE}, SoundCase{kCmdSoundTicks, TRUE, FALSE},
          SoundCase{kCmdSoundNone, FALSE, FALSE}, SoundCase{kCmdSoundAll, TRUE, TRUE}}) {
        Command(c.command);
        EXPECT_EQ(view->IsSoundOn(), c.soundOn) << c.command;
        EXPECT_EQ(view->IsSoundOutOfLock(), c.soundOutOfLock) << c.command;
        for (UINT other : {kCmdSoundAll, kCmdSoundOutOfLock, kCmdSoundTicks, kCmdSoundNone}) {
            EXPECT_EQ(Update(view, other).checked, other == c.command ? 1 : 0) << c.command << " " << other;
        }
    }

    // The raw-data window opens from the menu and the echo then reaches it.
    Command(kCmdRawData);
    ASSERT_NE(view->GetRawDataDialog(), nullptr);
    ASSERT_NE(view->GetRawDataDialog()->m_hWnd, nullptr);
    EXPECT_TRUE(view->IsRawWindowShown());
    view->AddRawDataLine(u"-> hello\r\n");
    EXPECT_EQ(apptest::Narrow(view->GetRawDataDialog()->GetEditText()), "-> hello\r\n");
    view->GetRawDataDialog()->SendMessageW(WM_CLOSE);
    Pump();
    view->AddRawDataLine(u"gone");
    EXPECT_FALSE(view->IsRawWindowShown());

    // Search mode disables the receiver-dependent settings.
    g_interfaceMode = kModeSearch;
    EXPECT_FALSE(Update(view, kCmdTimingParameters).enabled);
    EXPECT_FALSE(Update(view, kCmdManualCommands).enabled);
    EXPECT_FALSE(Update(view, kCmdUnused33527).enabled);
}

TEST_F(Pex32ViewTest, SelfSurveyAsksAndSendsTheCommandOfTheReceiver) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    view->SendMessageW(kMsgStartGpsInit);
    ASSERT_TRUE(m_wire->IsOpen());
    g_interfaceMode = kModeMotorolaBinary;
    g_receiverIdentity.model = 4;
    g_receiverIdentity.activeChannels = 12;

    m_boxAnswer = IDNO;
    Command(kCmdSelfSurvey);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].rfind(u"NOTICE: The GPS Receiver internal Self Survey mode", 0), 0u);
    EXPECT_FALSE(m_wire->WaitReceived(1, 200));

    m_boxAnswer = IDYES;
    Command(kCmdSelfSurvey);
    CString expected = CString(u"@@Gd") + CString(static_cast<TCHAR>(3));
    AddOncoreChecksum(expected);
    ASSERT_TRUE(m_wire->WaitReceived(expected.GetLength() + 2, 3000));
    EXPECT_EQ(m_wire->TakeReceived(), GpsCommandWireBytes(expected));
    g_interfaceMode = kModeGenericNmea;
}

TEST_F(Pex32ViewTest, StoredPcModeShowsThePcTimeAtOnceAndClosingWritesTheViewKeys) {
    const testsupport::ScopedTimeZone zone("IST-5:30");
    AppWriteProfileInt(u"PexView", u"Clock Display Mode Enum", kDisplayPc);
    AppWriteProfileInt(u"PexView", u"Sound", 0);
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetClockDisplayMode(), kDisplayPc);
    EXPECT_EQ(view->m_clockText.GetLength(), 12); // "%H:%M:%S." and three digits
    EXPECT_EQ(view->m_clockText.GetAt(8), u'.');
    // Local time, as the mode shows it later: five and a half hours ahead of UTC here.
    const CString localHms = view->PcTime().Format(u"%H:%M:%S");
    EXPECT_EQ(view->m_clockText.Left(8), localHms);
    EXPECT_NE(view->m_clockText.Left(8), view->PcTime().FormatGmt(u"%H:%M:%S"));
    EXPECT_FALSE(view->IsSoundOn());

    Command(kCmdSoundTicks);
    Command(kCmdFormatSeconds);
    CloseProgram();
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Sound", -1), 1);
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Sound OOL", -1), 0);
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Data", -1), 2);
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Clock Display Mode Enum", -1), kDisplayPc);
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Time Sync Mode", -1), 0);
    EXPECT_EQ(AppGetProfileInt(u"PexView", u"Satellite Sort Mode", -1), 4);
}

TEST(ViewCommandRules, EnablingByModeModelAndFlags) {
    struct Case {
        UINT command;
        int mode, model;
        BOOL plus, notFound;
        bool enabled;
    };
    const Case cases[] = {
        {kCmdTimingParameters, kModeSearch, 0, FALSE, FALSE, false},
        {kCmdTimingParameters, kModeGenericNmea, 0, FALSE, FALSE, false},
        {kCmdTimingParameters, kModeMotorolaBinary, 3, FALSE, FALSE, true},
        {kCmdReceiverParameters, kModeMotorolaRxOnly, 3, FALSE, FALSE, false},
        {kCmdReceiverParameters, kModeUbloxUbx, 19, FALSE, FALSE, true},
        {kCmdManualCommands, kModeSearch, 0, FALSE, FALSE, false},
        {kCmdSelfTest, kModeMotorolaBinary, 11, FALSE, FALSE, true},
        {kCmdSelfTest, kModeMotorolaBinary, 12, FALSE, FALSE, false},
        {kCmdSelfTest, kModeMotorolaNmea, 3, FALSE, FALSE, false},
        {kCmdSelfSurvey, kModeMotorolaBinary, 9, FALSE, FALSE, true},
        {kCmdSelfSurvey, kModeMotorolaBinary, 6, FALSE, FALSE, false},
        {kCmdSelfSurvey, kModeUbloxNmea, 19, FALSE, FALSE, true},
        {kCmdManualSatelliteSelect, kModeMotorolaRxOnly, 10, FALSE, FALSE, true},
        {kCmdManualSatelliteSelect, kModeMotorolaBinary, 3, FALSE, FALSE, false},
        {kCmdFirmwareUpload, kModeMotorolaBinary, 22, TRUE, FALSE, true},
        {kCmdFirmwareUpload, kModeMotorolaBinary, 22, FALSE, FALSE, false},
        {kCmdFirmwareUpload, kModeSearch, 0, FALSE, TRUE, true},
        {kCmdRawData, kModeSearch, 0, FALSE, FALSE, true},
    };
    for (const Case& c : cases) {
        ViewCommandState state{c.mode, c.model, c.plus, c.notFound};
        EXPECT_EQ(IsViewCommandEnabled(c.command, state), c.enabled)
            << c.command << " mode " << c.mode << " model " << c.model;
    }
}

TEST(ViewCommandRules, FollowUpsAndReceiverCommandBytes) {
    EXPECT_EQ(ReferenceFollowUp(kModeMotorolaBinary), SetupFollowUp::kSendSetup);
    EXPECT_EQ(ReferenceFollowUp(kModeMotorolaNmea), SetupFollowUp::kInitialise);
    EXPECT_EQ(ReferenceFollowUp(kModeMotorolaRxOnly), SetupFollowUp::kNothing);
    EXPECT_EQ(TimingFollowUp(kModeUbloxUbx), SetupFollowUp::kSendSetup);
    EXPECT_EQ(TimingFollowUp(kModeGenericNmea), SetupFollowUp::kNothing);
    EXPECT_EQ(TimingFollowUp(kModeMotorolaLoran), SetupFollowUp::kInitialise);
    EXPECT_EQ(ReceiverParametersFollowUp(kModeMotorolaRxOnly), SetupFollowUp::kInitialise);

    EXPECT_EQ(SelfTestCommand(4), CString(u"@@Ia"));
    EXPECT_EQ(SelfTestCommand(6), CString(u"@@Fa"));
    EXPECT_EQ(SelfSurveyCommand(kModeMotorolaBinary, 8), CString(u"@@At") + CString(static_cast<TCHAR>(2)));
    const CString ubx = SelfSurveyCommand(kModeUbloxUbx, 0);
    const std::vector<unsigned> expected = {
        0xB5, 0x62, 0x06, 0x3D, 0x1C, 0x00, 0x01, 0x00, 0x00, 0x00, 0,    0,    0,    0,    0,    0,    0,
        0,    0,    0,    0,    0,    0xD0, 0x07, 0x00, 0x00, 0x10, 0x27, 0x00, 0x00, 0xD0, 0x07, 0x00, 0x00};
    ASSERT_EQ(ubx.GetLength(), static_cast<int>(expected.size()));
    for (int i = 0; i < ubx.GetLength(); ++i) {
        EXPECT_EQ(static_cast<unsigned>(ubx[i]), expected[i]) << i;
    }
    for (int mode = 0; mode < 6; ++mode) {
        EXPECT_EQ(DisplayModeFromCommand(DisplayModeCommand(mode)), mode);
    }
    EXPECT_EQ(DisplayModeCommand(kDisplayMjd), static_cast<UINT>(kCmdDisplayMjd));
}

} // namespace

namespace {

TEST_F(Pex32ViewTest, ConfirmedPortDialogMovesTheLinkToTheChosenPort) {
    auto second = doliva::serial::FakeSerialWire::Create("pex32view-second");
    ASSERT_NE(second, nullptr);
    setenv("DOLIVA_COM2", second->Device().c_str(), 1);
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    view->SendMessageW(kMsgStartGpsInit);
    ASSERT_TRUE(m_wire->IsOpen());

    view->GetPortDialog()->m_portName = u"COM2";
    view->ApplyConfirmedPortDialog();
    EXPECT_FALSE(m_wire->IsOpen());
    EXPECT_TRUE(second->IsOpen());
    EXPECT_EQ(view->PortControl().m_portDevicePath, GpsPortControl::DevicePathFor(u"COM2"));
    EXPECT_EQ(g_interfaceMode.load(), kModeGenericNmea);
    CloseProgram();
    unsetenv("DOLIVA_COM2");
}

TEST_F(Pex32ViewTest, RestartTimersActOnlyWithAutoRestart) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    view->SendMessageW(kMsgStartGpsInit);
    g_interfaceMode = kModeMotorolaBinary;

    view->GetPortDialog()->m_autoRestart = FALSE;
    view->SendMessageW(WM_TIMER, kTimerAntenna);
    EXPECT_FALSE(m_wire->WaitReceived(1, 200));

    view->GetPortDialog()->m_autoRestart = TRUE;
    view->SendMessageW(WM_TIMER, kTimerAntenna);
    CString expected = u"@@Cf";
    AddOncoreChecksum(expected);
    ASSERT_TRUE(m_wire->WaitReceived(expected.GetLength() + 2, 3000));
    EXPECT_EQ(m_wire->TakeReceived(), GpsCommandWireBytes(expected));
    g_interfaceMode = kModeGenericNmea;
}

} // namespace

namespace {

TEST_F(Pex32ViewTest, ReleasingTheGatesAfterInitialisationHandlesWhatArrivedMeanwhile) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    Pump();
    // Initialisation held the receive gate while a message came in: nothing was posted for it.
    ASSERT_EQ(WaitCrossProcessSemaphore(g_receiveGate, 0), 0u);
    g_receiveList.AddTail(u"$GPZDA,123456.00,10,03,2024,00,00*00");
    view->ReleaseLinkGates();
    MSG msg{};
    EXPECT_TRUE(::PeekMessageW(&msg, view->m_hWnd, kMsgGpsDataQueued, kMsgGpsDataQueued, PM_NOREMOVE));
    g_receiveList.RemoveAll();
    Pump();
}

} // namespace

namespace {

TEST_F(Pex32ViewTest, DialogCommandsOpenTheirDialogsAndCancelChangesNothing) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    Pump();
    g_interfaceMode = kModeMotorolaBinary;
    g_receiverNotFound = TRUE;
    const struct {
        UINT command;
        const char16_t* caption;
    } cases[] = {
        {kCmdSetGpsInterface, u"GPS Receiver Serial Port Settings"},
        {kCmdTimingParameters, u"Timing Setup"},
        {kCmdReceiverParameters, u"GPS Receiver Mode Selections"},
        {kCmdSetPcClock, u"Set PC Clock"},
        {kCmdReferenceManual, u"Set Reference Location"},
        {kCmdAveragingParameters, u"Averaging Parameters"},
        {kCmdFirmwareUpload, u"Send new firmware to the GPS Rx"},
        {kCmdNewGpsLog, u"New GPS Log Type"},
        {kCmdOpenGpsLog, u"Open GPS Log Type"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(apptest::Narrow(CString(c.caption)));
        std::u16string caption;
        g_dialogStep = [&caption](HWND dialog) {
            char16_t text[128] = {};
            ::GetWindowTextW(dialog, text, 128);
            caption = text;
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        };
        Command(c.command);
        EXPECT_EQ(caption, c.caption);
        EXPECT_FALSE(g_dialogStep);
    }
    EXPECT_EQ(g_firmwareUploadActive.load(), 0);
    EXPECT_TRUE(m_wire->TakeReceived().empty());
    g_receiverNotFound = FALSE;
}

} // namespace

namespace {

TEST_F(Pex32ViewTest, ALogFailureIsShownAfterTheTickThatFoundIt) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    Pump();
    m_boxes.clear();
    view->ShowLogFailure(u"Cannot write the log");
    EXPECT_TRUE(m_boxes.empty());
    Pump();
    EXPECT_EQ(m_boxes, (std::vector<std::u16string>{u"Cannot write the log"}));
}

} // namespace

namespace {

TEST_F(Pex32ViewTest, ManualReferenceShowsAndKeepsTheStartupChoiceAndSavesTheNamedLocation) {
    AppWriteProfileInt(u"RefLocation", u"Ref_Loc_On_Start", 0);
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    Pump();
    g_interfaceMode = kModeMotorolaRxOnly; // no set-up follows
    UINT shownChecked = BST_INDETERMINATE;
    g_dialogStep = [&shownChecked](HWND dialog) {
        shownChecked = ::IsDlgButtonChecked(dialog, CReferencePositionDialog::kLoadOnStartupId);
        ::SendDlgItemMessageW(dialog, CReferencePositionDialog::kLoadOnStartupId, BM_CLICK, 0, 0);
        ::SetDlgItemTextW(dialog, CReferencePositionDialog::kLocationComboId, u"Trip");
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    };
    Command(kCmdReferenceManual);
    EXPECT_EQ(shownChecked, static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(view->GetGpsNav()->GetRefLocOnStart(), 1);
    EXPECT_EQ(AppGetProfileInt(u"RefLocation", u"Ref_Loc_On_Start", -1), 1);
    EXPECT_EQ(CReferencePositionDialog::StoredLocationNames(), std::vector<CString>{CString(u"Trip")});
}

} // namespace

namespace {

TEST_F(Pex32ViewTest, RawLinesOfARunningUploadLetWaitingMessagesThroughWithTheWindowClosed) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    Pump();
    m_boxes.clear();
    view->SetFirmwareUploadRunning(TRUE);
    view->ShowLogFailure(u"while uploading"); // posted to the view
    view->AddRawDataLine(u"    Record Count              = 1\n");
    EXPECT_EQ(m_boxes, (std::vector<std::u16string>{u"while uploading"}));

    // Without an upload (and without the window) the line lets nothing through.
    view->SetFirmwareUploadRunning(FALSE);
    view->ShowLogFailure(u"afterwards");
    view->AddRawDataLine(u"line");
    EXPECT_EQ(m_boxes.size(), 1u);
    Pump();
    EXPECT_EQ(m_boxes.size(), 2u);
}

} // namespace

namespace {

// The program's own document: the sky-plot dialog lives in it and in its file.
class Pex32ViewSkyPlotTest : public Pex32ViewTest {
protected:
    void SetUp() override {
        m_documentClass = RUNTIME_CLASS(CPex32Doc);
        Pex32ViewTest::SetUp();
    }
    static CSatelliteViewChartDialog* SkyPlot(CPex32View* view) {
        return dynamic_cast<CPex32Doc*>(view->GetDocument())->m_chartDialog;
    }
    static SRGraphData* Item(CSatelliteViewChartDialog* dialog, int group, int index) {
        return dialog->GetChart().GetChart().GetGroup(group, TRUE)->GetItem(index, TRUE);
    }
};

TEST_F(Pex32ViewSkyPlotTest, ChannelRowsReachTheSkyPlotAndItsTracesOutliveTheProgram) {
    std::filesystem::remove(Utf16ToUtf8(CPex32Doc::DocumentFilePath().str()));
    {
        CPex32View* view = OpenProgram();
        ASSERT_NE(view, nullptr);
        CSatelliteViewChartDialog* dialog = SkyPlot(view);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->m_hWnd);
        EXPECT_FALSE(dialog->IsWindowVisible());

        SatelliteChannelTable& table = view->SatTable();
        table.fill(SatelliteChannelTables::m_emptySatRow);
        table[0] = SatelliteChannelRow{12, 40, 90, 45, 1, kSatFlagUsed << 8, 1};
        table[1] = SatelliteChannelRow{15, 20, 200, 30, 0, 0, -1};
        table[2] = SatelliteChannelRow{18, 0, 10, 30, 0, kSatFlagUsed << 8, 0};
        view->UpdateSatsGrid();
        EXPECT_EQ(Item(dialog, 4, 12)->GetStyle().m_strShapeName, CString(u"STAR"));
        EXPECT_EQ(Item(dialog, 4, 15)->GetStyle().m_strShapeName, CString(u"CROSS"));
        EXPECT_EQ(Item(dialog, 4, 18)->GetStyle().GetShapeKind(), 0);
        EXPECT_NEAR(Item(dialog, 1, 45)->GetValue(), 50.0 / 90.0, 1e-12);
        EXPECT_TRUE(Item(dialog, 1, 100)->IsNull());

        Command(kCmdSkyPlot);
        EXPECT_TRUE(dialog->IsWindowVisible());
        // Closed as the user closes it: the document is written before the view goes.
        ::SendMessageW(m_app.m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
        Pump();
        ASSERT_EQ(m_app.m_pMainWnd, nullptr);
    }
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    CSatelliteViewChartDialog* dialog = SkyPlot(view);
    ASSERT_NE(dialog, nullptr);
    EXPECT_NEAR(Item(dialog, 1, 45)->GetValue(), 50.0 / 90.0, 1e-12);
    EXPECT_EQ(Item(dialog, 4, 12)->GetStyle().GetShapeKind(), 0);
}

TEST(SkyPlotTracking, TrackedBitByInterfaceMode) {
    SatelliteChannelRow row{5, 30, 100, 40, 1, 0, 0};
    const struct {
        int flags;
        int mode;
        BOOL tracked;
    } cases[] = {
        {kSatFlagUsed, kModeMotorolaBinary, TRUE},  {kSatFlagUbxUsed, kModeMotorolaBinary, FALSE},
        {kSatFlagUbxUsed, kModeUbloxUbx, TRUE},     {kSatFlagUsed, kModeUbloxNmea, FALSE},
        {kSatFlagUbxUsed, kModeUbloxNmea, TRUE},    {kSatFlagUsed, kModeGenericNmea, TRUE},
    };
    for (const auto& c : cases) {
        row.SetModeAndFlags(8, c.flags);
        EXPECT_EQ(CPex32View::IsTrackedOnSkyPlot(row, c.mode), c.tracked) << c.flags << " in mode " << c.mode;
    }
}

// A port that goes away: told once in the raw-data window, no time left to set the clock from, the big
// clock says so; tried again quietly until it opens, then the receiver is set up as at start. With
// auto-restart the watchdog does the same.
TEST_F(Pex32ViewTest, ALostPortIsToldOnceAndOpenedAgainWhenItIsBack) {
    CPex32View* view = OpenProgram();
    ASSERT_NE(view, nullptr);
    Command(kCmdRawData);
    view->SendMessageW(kMsgStartGpsInit);
    ASSERT_TRUE(m_wire->IsOpen());
    view->RxTime() = apptest::Utc(2024, 3, 10, 12, 0, 5);

    m_wire->HangUp();
    ASSERT_TRUE(PumpUntil([&] { return view->IsLinkLost(); }));
    view->SendMessageW(kMsgGpsLinkLost, ERROR_ACCESS_DENIED); // a second report changes nothing
    const CString raw = view->GetRawDataDialog()->GetEditText();
    const CString lost =
        CString(u"ERROR: GPS port \\\\.\\COM1 lost - the device went away or its connection closed");
    EXPECT_NE(raw.Find(lost), -1) << apptest::Narrow(raw);
    EXPECT_EQ(raw.Find(lost, raw.Find(lost) + 1), -1) << "told once";
    EXPECT_FALSE(IsReceiverTime(view->RxTime()));
    EXPECT_EQ(view->m_clockText, CString(u"no receiver"));
    EXPECT_FALSE(m_wire->IsOpen());
    EXPECT_TRUE(m_boxes.empty());

    m_wire->FailNextOpen(ERROR_FILE_NOT_FOUND);
    view->SendMessageW(WM_TIMER, kTimerLinkRetry);
    EXPECT_TRUE(view->IsLinkLost());
    EXPECT_TRUE(m_boxes.empty()) << "a retry that fails says nothing";
    view->SendMessageW(WM_TIMER, kTimerLinkRetry);
    EXPECT_FALSE(view->IsLinkLost());
    EXPECT_TRUE(m_wire->IsOpen());
    EXPECT_EQ(m_wire->OpenCount(), 2);
    EXPECT_EQ(g_initializing.load(), 0) << "set up again";

    view->GetPortDialog()->m_autoRestart = TRUE;
    m_wire->HangUp();
    ASSERT_TRUE(PumpUntil([&] { return view->IsLinkLost(); }));
    view->SendMessageW(WM_TIMER, kTimerWatchdog);
    EXPECT_FALSE(view->IsLinkLost());
    EXPECT_EQ(m_wire->OpenCount(), 3);
    EXPECT_TRUE(m_boxes.empty());
}

} // namespace
