// The program's start in-process: frame, bars, panes and view; the start message; the status panes; closing.
#include "ShellTestSupport.h"

#include "app/ClockDisplay.h"
#include "app/ViewCommands.h"
#include "dialogs/CSatsDataGrid.h"
#include "platform/display/WindowApi.h"
#include "platform/framework/AfxRes.h"
#include "platform/registry/Registry.h"
#include "platform/serial/FakeSerialPort.h"
#include "receiver/AppProfileAccess.h"
#include "receiver/ReceiverState.h"
#include "resources/Resource.h"
#include "support/ScopedEnvironment.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace shelltest;

namespace {

// Records what an update handler sets.
struct RecordingCmdUI : CCmdUI {
    void Enable(BOOL on) override {
        enabled = on;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int check) override { checked = check; }
    BOOL enabled = TRUE;
    int checked = -1;
};

CString WindowText(HWND hwnd) {
    TCHAR text[256]{};
    ::GetWindowTextW(hwnd, text, 256);
    return text;
}

// The program's string table, what CString::LoadString reads once the resource hooks are in.
bool ProgramString(UINT id, std::u16string& text) {
    LPCWSTR start = nullptr;
    const int length = ::LoadStringW(nullptr, id, reinterpret_cast<LPWSTR>(&start), 0);
    text.assign(start ? start : u"", static_cast<size_t>(std::max(length, 0)));
    return length > 0;
}

TEST_F(ShellTest, StartBuildsFrameBarsPanesAndView) {
    ASSERT_TRUE(StartProgram());
    HWND frame = m_frame->GetSafeHwnd();
    TCHAR className[64]{};
    ::GetClassNameW(frame, className, 64);
    EXPECT_EQ(CString(className), CString(u"Doliva"));
    EXPECT_EQ(::FindWindowW(u"Doliva", nullptr), frame);

    EXPECT_TRUE(::IsWindow(m_frame->m_toolBar.GetSafeHwnd()));
    EXPECT_GT(m_frame->m_toolBar.GetCount(), 0);
    ASSERT_TRUE(::IsWindow(m_frame->m_statusBar.GetSafeHwnd()));
    const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_RX_MODE, ID_INDICATOR_ANTENNA, ID_INDICATOR_TICK,
                          ID_INDICATOR_STATUS_TEXT};
    ASSERT_EQ(m_frame->m_statusBar.GetCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(m_frame->m_statusBar.GetItemID(i), panes[i]) << "pane " << i;
    }
    UINT id = 0;
    UINT style = 0;
    int width = 0;
    m_frame->m_statusBar.GetPaneInfo(3, id, style, width);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(m_frame->GetAntennaState(), -1);
    EXPECT_EQ(m_frame->GetReceiverModeState(), -1);
    EXPECT_NE(dynamic_cast<CPex32View*>(m_frame->GetActiveView()), nullptr);
    EXPECT_NE(dynamic_cast<CPex32Doc*>(m_frame->GetActiveDocument()), nullptr);
}

// Every idle pass refreshes the title until the view exists; the start message is posted once.
TEST_F(ShellTest, IdlePassesPostTheStartOnceAndSetTheTitle) {
    ASSERT_TRUE(StartProgram());
    HWND view = m_frame->GetActiveView()->GetSafeHwnd();
    for (int pass = 0; pass < 4; ++pass) {
        m_app->OnIdle(pass);
    }
    EXPECT_EQ(TakeQueued(view, WM_APP_START_GPS_INIT), 1);
    EXPECT_EQ(g_firstIdle, 0);
    m_app->OnIdle(0);
    EXPECT_EQ(TakeQueued(view, WM_APP_START_GPS_INIT), 0);
    EXPECT_EQ(WindowText(m_frame->GetSafeHwnd()), CString(u"Doliva 2.7.29"));
}

TEST_F(ShellTest, TitleUsesAVersionStringWithoutTheWordWhole) {
    ASSERT_TRUE(StartProgram());
    SetStringResourceLoader([](UINT id, std::u16string& text) {
        if (id != IDS_VERSION) {
            return ProgramString(id, text);
        }
        text = u"Build 7";
        return true;
    });
    m_frame->UpdateTitle(u"");
    SetStringResourceLoader(ProgramString);
    EXPECT_EQ(WindowText(m_frame->GetSafeHwnd()), CString(u"Doliva Build 7"));
    m_frame->UpdateTitle(u"Given");
    EXPECT_EQ(WindowText(m_frame->GetSafeHwnd()), CString(u"Given"));
}

TEST_F(ShellTest, AntennaAndReceiverModePanesShowTheirStates) {
    ASSERT_TRUE(StartProgram());
    const COLORREF green = RGB(0, 128, 0), red = RGB(255, 0, 0), yellow = RGB(255, 255, 0);
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), face = ::GetSysColor(COLOR_BTNFACE);
    struct Case {
        bool antenna;
        int state;
        const char16_t* text;
        COLORREF textColour;
        COLORREF backColour;
    };
    const Case cases[] = {
        {true, 0, u"Ant OK", white, green},
        {true, 1, u"Ant OC Short", white, red},
        {true, 2, u"Ant Open", black, yellow},
        {true, 3, u"Ant No Pwr", black, yellow},
        {true, 9, u"", black, face},
        {false, 0, u"Navigating", white, green},
        {false, 1, u"Position Hold", white, green},
        {false, 2, u"Surveying", black, yellow},
        {false, -1, u"", black, face},
    };
    for (const Case& c : cases) {
        UINT paneId = c.antenna ? ID_INDICATOR_ANTENNA : ID_INDICATOR_RX_MODE;
        c.antenna ? m_frame->SetAntennaStatus(c.state) : m_frame->SetReceiverModeStatus(c.state);
        int index = m_frame->m_statusBar.CommandToIndex(paneId);
        COLORREF text = 1, back = 1;
        ASSERT_TRUE(m_frame->m_statusBar.GetPaneColours(index, text, back));
        EXPECT_EQ(m_frame->m_statusBar.GetColouredPaneText(index), CString(c.text)) << c.state;
        EXPECT_EQ(text, c.textColour) << c.state;
        EXPECT_EQ(back, c.backColour) << c.state;
        UINT id = 0, style = 0;
        int width = -1;
        m_frame->m_statusBar.GetPaneInfo(index, id, style, width);
        EXPECT_EQ(width > 0, c.text[0] != 0) << "the pane is as wide as its text";
    }
}

TEST_F(ShellTest, PanesRedrawOnlyOnChangeOrNegativeState) {
    ASSERT_TRUE(StartProgram());
    int before = m_frame->GetPaneRedrawCount();
    m_frame->SetAntennaStatus(0);
    m_frame->SetAntennaStatus(0);
    EXPECT_EQ(m_frame->GetPaneRedrawCount(), before + 1);
    m_frame->SetAntennaStatus(-1);
    m_frame->SetAntennaStatus(-1);
    EXPECT_EQ(m_frame->GetPaneRedrawCount(), before + 3);
    m_frame->SetReceiverModeStatus(2);
    m_frame->SetReceiverModeStatus(2);
    EXPECT_EQ(m_frame->GetPaneRedrawCount(), before + 4);
}

TEST_F(ShellTest, StatusTextAddsOnceAndRemovesTheFirstOccurrence) {
    ASSERT_TRUE(StartProgram());
    int index = m_frame->m_statusBar.CommandToIndex(ID_INDICATOR_STATUS_TEXT);
    m_frame->SetStatusText(u"Init ");
    EXPECT_TRUE(m_frame->AddStatusText(u"X"));
    EXPECT_TRUE(m_frame->AddStatusText(u"Y"));
    EXPECT_FALSE(m_frame->AddStatusText(u"it"));
    EXPECT_EQ(m_frame->GetStatusText(), CString(u"Init XY"));
    m_frame->SetStatusText(u"aXbX");
    EXPECT_TRUE(m_frame->RemoveStatusText(u"X"));
    EXPECT_EQ(m_frame->GetStatusText(), CString(u"abX"));
    EXPECT_FALSE(m_frame->RemoveStatusText(u"Z"));
    EXPECT_EQ(m_frame->m_statusBar.GetPaneText(index), CString(u"abX"));
}

TEST_F(ShellTest, TickIconSwitchesBetweenTheTwoIcons) {
    ASSERT_TRUE(StartProgram());
    ASSERT_NE(m_frame->m_tickIcon, nullptr);
    ASSERT_NE(m_frame->m_idleIcon, nullptr);
    HWND bar = m_frame->m_statusBar.GetSafeHwnd();
    WPARAM pane = static_cast<WPARAM>(m_frame->m_statusBar.CommandToIndex(ID_INDICATOR_TICK));
    m_frame->ShowTickIcon();
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(bar, SB_GETICON, pane, 0)), m_frame->m_tickIcon);
    m_frame->ClearTickIcon();
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(bar, SB_GETICON, pane, 0)), m_frame->m_idleIcon);
}

// View > Toolbar and View > Status Bar: enabled and checked while the bar shows; each hides and shows its
// bar.
TEST_F(ShellTest, ViewMenuTogglesTheToolbarAndTheStatusBar) {
    ASSERT_TRUE(StartProgram());
    const auto update = [&](UINT id) {
        RecordingCmdUI ui;
        ui.m_nID = id;
        EXPECT_TRUE(m_frame->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr)) << "no handler for " << id;
        return ui;
    };
    const std::pair<UINT, CWnd*> bars[] = {{ID_VIEW_TOOLBAR, &m_frame->m_toolBar},
                                           {ID_VIEW_STATUS_BAR, &m_frame->m_statusBar}};
    for (const auto& [id, bar] : bars) {
        RecordingCmdUI shown = update(id);
        EXPECT_TRUE(shown.enabled) << id;
        EXPECT_EQ(shown.checked, 1) << id;
        m_frame->SendMessageW(WM_COMMAND, id);
        EXPECT_FALSE(bar->GetStyle() & WS_VISIBLE) << id;
        EXPECT_EQ(update(id).checked, 0) << id;
        m_frame->SendMessageW(WM_COMMAND, id);
        EXPECT_TRUE(bar->GetStyle() & WS_VISIBLE) << id;
    }
}

// The frame opens fitted to the form. No two of the form's visible controls overlap, except a group box around
// its members, and each text control holds the widest text it can show in its own font; the grid's rows and
// columns fit its place. A smaller frame scrolls the form.
TEST_F(ShellTest, FormFitsTheFrameAndNoControlOverlapsOrClipsItsText) {
    ASSERT_TRUE(StartProgram());
    auto* view = dynamic_cast<CPex32View*>(m_frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    CRect client;
    view->GetClientRect(&client);
    const CSize form = view->GetTotalSize();
    EXPECT_EQ(client.Size(), form);
    EXPECT_FALSE(view->GetStyle() & (WS_VSCROLL | WS_HSCROLL));

    const auto isGroupBox = [](HWND hwnd) {
        TCHAR cls[32]{};
        ::GetClassNameW(hwnd, cls, 32);
        return CString(cls).CompareNoCase(u"Button") == 0 &&
               (::GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    };
    const auto placeOf = [&](HWND hwnd) {
        CRect r;
        ::GetWindowRect(hwnd, &r);
        view->ScreenToClient(&r);
        return r;
    };
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(view->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowVisible(child)) {
            controls.push_back(child);
        }
    }
    ASSERT_GT(controls.size(), 20u);
    for (size_t i = 0; i < controls.size(); ++i) {
        const CRect a = placeOf(controls[i]);
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= form.cx && a.bottom <= form.cy)
            << ::GetDlgCtrlID(controls[i]) << " leaves the form";
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const CRect b = placeOf(controls[j]);
            CRect both;
            if (!both.IntersectRect(&a, &b)) {
                continue;
            }
            const bool aAroundB = isGroupBox(controls[i]) && !isGroupBox(controls[j]) && both == b;
            const bool bAroundA = isGroupBox(controls[j]) && !isGroupBox(controls[i]) && both == a;
            EXPECT_TRUE(aAroundB || bAroundA) << ::GetDlgCtrlID(controls[i]) << " and "
                                              << ::GetDlgCtrlID(controls[j]) << " overlap";
        }
    }

    // The widest texts the program writes into each control; the captions as the template has them.
    const std::pair<int, const char16_t*> widest[] = {
        {IDC_CLOCK, u"88:88:88.888"},
        {IDC_UTC_INFO, u"UTC Day #365  23:59:59.999\r\nWednesday, 30 Sep 2000\r\nGPS Week = 2448\r\n"
                       u"UTC = GPS - 18 seconds\r\n+1 leap second is pending"},
        {IDC_PC_TIME, u"23:59:59.999\r\nUnknown Time Zone"},
        {IDC_SIDEREAL, u"23:59:59.99\r\n23:59:59.99\r\n60000.00000"},
        {IDC_LATITUDE, u"-89\u00B0 59' 59.9999\"\n-89\u00B0 59' 59.9999\"\n-89\u00B0 59' 59.9999\""},
        {IDC_LONGITUDE, u"-117\u00B0 06' 44.0482\"\n-117\u00B0 06' 44.0482\"\n-117\u00B0 06' 44.0482\""},
        {IDC_ALT_GPS, u"-12345.67m\n-12345.67m\n-12345.67m"},
        {IDC_ALT_MSL, u"-12345.67m\n-12345.67m\n-12345.67m"},
        {IDC_LATENCY, u"-1234567"},
        {IDC_GRID_SQUARE, u"MM88mm.88"},
    };
    const auto fits = [&](HWND hwnd, CString text) {
        text.Remove(u'\r');
        CClientDC dc(CWnd::FromHandle(hwnd));
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd, WM_GETFONT, 0, 0));
        HGDIOBJ old = font ? ::SelectObject(dc.GetSafeHdc(), font) : nullptr;
        CRect need(0, 0, 0, 0);
        dc.DrawTextW(text, &need, DT_CALCRECT | DT_NOPREFIX);
        if (old) {
            ::SelectObject(dc.GetSafeHdc(), old);
        }
        CRect have;
        ::GetClientRect(hwnd, &have);
        if (isGroupBox(hwnd)) {
            return need.Width() <= have.Width() - 16; // the title between the frame's corners
        }
        // The clock's line is taller than its box by the font's leading, which SS_CENTERIMAGE splits.
        return need.Width() <= have.Width() && (::GetDlgCtrlID(hwnd) == IDC_CLOCK || need.Height() <= have.Height());
    };
    for (const auto& [id, text] : widest) {
        HWND control = ::GetDlgItem(view->m_hWnd, id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_TRUE(fits(control, text)) << id;
    }
    for (HWND control : controls) {
        if (::GetDlgCtrlID(control) == static_cast<int>(IDC_STATIC) || isGroupBox(control)) {
            EXPECT_TRUE(fits(control, WindowText(control))) << Utf16ToUtf8(WindowText(control).str());
        }
    }

    // The clock's font is as tall as its box.
    CRect clockBox;
    view->GetDlgItem(IDC_CLOCK)->GetClientRect(&clockBox);
    LOGFONTW clockFont{};
    ASSERT_TRUE(view->ClockFont().GetLogFont(&clockFont));
    EXPECT_EQ(clockFont.lfHeight, -clockBox.Height());
    EXPECT_EQ(clockFont.lfWeight, FW_BOLD);

    // Its text is red while the receiver is out of lock; the other texts keep the default colour.
    const auto textColourOf = [&](int id) {
        CClientDC dc(view->GetDlgItem(id));
        dc.SetTextColor(RGB(1, 2, 3));
        view->SendMessageW(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                           reinterpret_cast<LPARAM>(view->GetDlgItem(id)->m_hWnd));
        return dc.GetTextColor();
    };
    ASSERT_TRUE(view->IsOutOfLock());
    EXPECT_EQ(textColourOf(IDC_CLOCK), RGB(255, 0, 0));
    EXPECT_NE(textColourOf(IDC_UTC_INFO), RGB(255, 0, 0));

    // The texts reach their controls.
    view->m_gridSquareText = u"JN47gj.50";
    view->UpdateControls();
    EXPECT_EQ(WindowText(::GetDlgItem(view->m_hWnd, IDC_GRID_SQUARE)), CString(u"JN47gj.50"));

    CSatsDataGrid* grid = view->GetSatsGrid();
    ASSERT_NE(grid, nullptr);
    CRect gridClient;
    grid->GetClientRect(&gridClient);
    int rows = 0;
    for (ROWCOL row = 0; row <= CSatsDataGrid::kRows; ++row) {
        rows += grid->GetRowHeight(row);
    }
    int columns = 0;
    for (ROWCOL col = 0; col <= CSatsDataGrid::kCols; ++col) {
        columns += grid->GetColWidth(col);
    }
    EXPECT_LE(rows, gridClient.Height());
    EXPECT_LE(columns, gridClient.Width());

    CRect frameRect;
    m_frame->GetWindowRect(&frameRect);
    m_frame->SetWindowPos(nullptr, 0, 0, frameRect.Width(), frameRect.Height() - 100, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
}

// The fit is for the first start only: a stored size is the user's and wins.
TEST_F(ShellTest, AStoredFrameSizeWinsOverTheFormsSize) {
    AppWriteProfileString(u"Window size", u"Rect", u"0020 0030 0420 0330 0000 0000");
    ASSERT_TRUE(StartProgram());
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    ASSERT_TRUE(m_frame->GetWindowPlacement(&wp));
    EXPECT_EQ(CRect(wp.rcNormalPosition), CRect(20, 30, 420, 330));
    auto* view = dynamic_cast<CPex32View*>(m_frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
}

// A window of the test's own whose timer runs `g_probe` until it answers that it is done: code that runs
// inside the program's waits, as the user's clicks would.
std::function<bool()> g_probe;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (g_probe && g_probe()) {
            ::KillTimer(hwnd, wParam);
        }
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// During a receiver search against a silent port the window answers: a display command is carried out, the
// commands that need the receiver are greyed, and Close ends the search and then the program at once,
// without the not-found box and without storing a found mode.
TEST_F(ShellTest, SearchKeepsAnsweringAndCloseEndsItAndTheProgram) {
    const auto wire = doliva::serial::FakeSerialWire::Create("silent-search");
    ASSERT_NE(wire, nullptr);
    const testsupport::ScopedEnv port("DOLIVA_COM1", wire->Device());
    std::vector<std::u16string> boxes;
    const MessageBoxResponder previous =
        DisplaySetMessageBoxResponder([&](HWND, const std::u16string&, const std::u16string& text, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    AppWriteProfileString(u"GPS Interface", u"Port", u"COM1");
    AppWriteProfileString(u"GPS Interface", u"PEX Mode", u"Search");
    ASSERT_TRUE(StartProgram());
    auto* view = dynamic_cast<CPex32View*>(m_frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(g_interfaceMode.load(), kModeSearch);
    HWND frame = m_frame->GetSafeHwnd();

    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = u"SearchProbe";
    ::RegisterClassW(&wc);
    HWND probe = ::CreateWindowExW(0, u"SearchProbe", u"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(probe, nullptr);
    bool ranInSearch = false;
    BOOL portCommandEnabled = TRUE;
    int displayMode = -1;
    g_probe = [&] {
        if (!view->IsInitialising()) {
            return false;
        }
        ranInSearch = true;
        RecordingCmdUI ui;
        ui.m_nID = kCmdSetGpsInterface;
        m_frame->OnCmdMsg(kCmdSetGpsInterface, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        portCommandEnabled = ui.enabled;
        m_frame->SendMessageW(WM_COMMAND, kCmdDisplayGmst);
        displayMode = view->GetClockDisplayMode();
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
        return true;
    };
    ::PostMessageW(view->m_hWnd, kMsgStartGpsInit, 0, 0);
    ::SetTimer(probe, 1, 20, nullptr);
    // The search alone lasts well over ten seconds (its four probes wait 3, 1, 2 and 4 s, after pauses);
    // the program is gone long before that.
    for (int i = 0; i < 1600 && ::IsWindow(frame); ++i) {
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT) {
                ::DispatchMessageW(&msg);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    g_probe = nullptr;
    ::DestroyWindow(probe);

    EXPECT_TRUE(ranInSearch);
    EXPECT_FALSE(portCommandEnabled);
    EXPECT_EQ(displayMode, kDisplayGmst);
    EXPECT_FALSE(::IsWindow(frame)) << "the program did not close";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(m_app->GetProfileString(u"GPS Interface", u"PEX Mode", u""), CString(u"Search"));
    EXPECT_EQ(m_app->GetProfileInt(u"PexView", u"Mode", -1), -1);
    m_frame = nullptr;
    DisplaySetMessageBoxResponder(previous);
}

// Closing marks the view, stores the view's and the frame's settings and writes the document file.
TEST_F(ShellTest, ClosingWritesTheSettingsAndTheDocumentFile) {
    ASSERT_TRUE(StartProgram());
    CString documentPath = CPex32Doc::DocumentFilePath();
    std::filesystem::path file(Utf16ToUtf8(documentPath.str()));
    std::filesystem::remove(file);
    CloseProgram();
    EXPECT_TRUE(std::filesystem::exists(file)) << file;
    EXPECT_EQ(file.parent_path(), std::filesystem::path(std::getenv("DOLIVA_CONFIG_DIR")));
    EXPECT_EQ(m_app->GetProfileInt(u"PexView", u"Sound", -1), 1);
    EXPECT_EQ(m_app->GetProfileInt(u"PexView", u"Satellite Sort Mode", -1), 4);
    CString rect = m_app->GetProfileString(u"Window size", u"Rect", u"");
    EXPECT_EQ(ParsePlacementNumbers(rect).size(), 6u) << Utf16ToUtf8(rect.str());
}

} // namespace
