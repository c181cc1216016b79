// The toolbar customisation on a private X server with a window manager, as a person sees it: the toolbar
// list dialog and the customisation sheet's two pages, each framed with its caption and centred on the frame
// clear of its top bars, then the toolbars as the sheet left them. The shots stay in the scratch directory
// (dock-app-toolbar-list.png, dock-app-sheet-toolbars.png, dock-app-sheet-commands.png,
// dock-app-customised.png).
#include "DockAppCustomizeSupport.h"

#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"
#include "support/WindowManager.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr const char* kChildVariable = "DOLIVA_DOCK_CUSTOMIZE_SCREEN_DIR";

CRect OnScreen(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

CRect ClientOnScreen(CWnd& wnd) {
    CRect r;
    wnd.GetClientRect(&r);
    wnd.ClientToScreen(&r);
    return r;
}

// Waits for the window manager's frame around a top-level window; its top border is the caption.
int WaitForCaption(SdlDisplayBackend* backend, CWnd& wnd) {
    for (int i = 0; i < 100; ++i) {
        if (const int top = testsupport::ManagedFrameOffset(*backend, wnd.m_hWnd).y; top > 0) {
            return top;
        }
        testsupport::PumpMessagesFor(50);
    }
    return 0;
}

class Shooter {
public:
    Shooter(SdlDisplayBackend* backend, std::string dir, dockapp::DockAppFrame* frame)
        : m_backend(backend), m_dir(std::move(dir)), m_frame(frame) {}

    // Shoots the screen with `dialog` up: framed with a caption, readable (its texts' black), and clear
    // of the frame's top bars, which still show their images' black frames.
    testsupport::Picture ShootOver(CWnd& dialog, const char* name) {
        EXPECT_GT(WaitForCaption(m_backend, dialog), 8) << name << ": the window manager gave no caption";
        testsupport::Picture shot = testsupport::ShootSettledScreen(m_backend, m_dir);
        EXPECT_TRUE(shot.Valid()) << name;
        if (!shot.Valid()) {
            return shot;
        }
        shot.WritePng(m_dir + "/" + name);
        const CRect client = ClientOnScreen(dialog);
        EXPECT_GE(shot.Count(client, RGB(0, 0, 0)), 300) << name << ": texts";
        EXPECT_GE(shot.Count(client, ::GetSysColor(COLOR_BTNFACE)), client.Width() * client.Height() / 3) << name;
        const CRect rect = OnScreen(dialog);
        for (CWnd* bar : Bars()) {
            const CRect barRect = OnScreen(*bar);
            CRect overlap;
            EXPECT_FALSE(overlap.IntersectRect(&rect, &barRect)) << name;
            EXPECT_GE(shot.Count(barRect, RGB(0, 0, 0)), 40) << name << ": the bar at " << barRect.top;
        }
        return shot;
    }

    std::vector<CWnd*> Bars() const {
        return {m_frame->m_pMenuBar, m_frame->m_pManager->FindToolBar(dockapp::ID_BAR_STANDARD),
                m_frame->m_pManager->FindToolBar(dockapp::ID_BAR_RECEIVER)};
    }

    SdlDisplayBackend* m_backend;
    std::string m_dir;
    dockapp::DockAppFrame* m_frame;
};

} // namespace

TEST(DockAppCustomizeScreenChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of DockAppCustomizeScreenTest";
    }
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    RegisterStandardControls();
    DolivaInstallResourceHooks();
    auto wm = std::make_unique<testsupport::WindowManager>();
    // The manager is up once it frames a window; a window shown (and activated) before that can hang in its
    // first map. A window destroyed while the manager still handles it gives an X error that ends the
    // process: the windows go after the manager.
    HWND probe = ::CreateWindowExW(0, u"Static", u"probe", WS_OVERLAPPEDWINDOW, 700, 500, 80, 60, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(probe, nullptr);
    ::ShowWindow(probe, SW_SHOWNOACTIVATE);
    ASSERT_GT(WaitForCaption(backend, *CWnd::FromHandle(probe)), 0) << "openbox framed nothing";
    ::ShowWindow(probe, SW_HIDE);
    CWinApp app(u"DockAppCustomizeScreen");
    app.WriteProfileInt(u"DockApp Layout-Summary", u"Bars", 0);
    app.WriteProfileInt(u"DockApp-ToolBars", u"Count", 0);
    dockapp::DockAppFrame* frame = dockapp::OpenDockAppFrame(CPoint(20, 30));
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;
    ASSERT_GT(WaitForCaption(backend, *frame), 0);
    Shooter shooter(backend, out, frame);

    frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE);
    ASSERT_TRUE(frame->m_pCustomize);
    shooter.ShootOver(*frame->m_pCustomize, "dock-app-toolbar-list.png");
    frame->m_pCustomize->SendMessageW(WM_COMMAND, IDCANCEL); // hidden until the frame goes

    frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE_SHEET);
    SECToolBarSheet* sheet = frame->m_sheet.Sheet();
    ASSERT_TRUE(sheet && sheet->IsOpen());
    shooter.ShootOver(*sheet, "dock-app-sheet-toolbars.png");
    sheet->SetActivePage(&sheet->m_commandsPage);
    testsupport::Picture commands = shooter.ShootOver(*sheet, "dock-app-sheet-commands.png");
    // The first category's four buttons show their images: framed in black while enabled, embossed once an
    // idle update has disabled them (it may run first on a loaded machine), so any pixels off the face
    // colour count. A few more shots are allowed while the window manager is still placing the sheet.
    auto blackInButtons = [&] {
        CRect buttons = sheet->m_commandsPage.ButtonRect(0);
        buttons.right = sheet->m_commandsPage.ButtonRect(3).right;
        sheet->m_commandsPage.ClientToScreen(&buttons);
        return buttons.Width() * buttons.Height() - commands.Count(buttons, ::GetSysColor(COLOR_BTNFACE));
    };
    for (int retry = 0; retry < 10 && blackInButtons() < 4 * 40; ++retry) {
        testsupport::PumpMessagesFor(200);
        commands = testsupport::ShootSettledScreen(backend, out);
    }
    EXPECT_GE(blackInButtons(), 4 * 40);

    dockapp::CustomiseThroughTheSheet(frame);
    // The new toolbar floats where the shot shows it whole.
    SECCustomToolBar* made = frame->m_pManager->FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    ASSERT_NE(made, nullptr);
    frame->FloatControlBar(made, CPoint(560, 420));
    // Closed: the toolbars leave customise mode, so no button shows the selection frame.
    sheet->SendMessageW(WM_SYSCOMMAND, SC_CLOSE);
    testsupport::PumpMessagesFor(100);
    ASSERT_FALSE(frame->m_sheet.IsOpen());
    // The buttons' states as the application's idle time gives them.
    ::SendMessageW(frame->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    const testsupport::Picture customised = testsupport::ShootSettledScreen(backend, out);
    ASSERT_TRUE(customised.Valid());
    customised.WritePng(std::string(out) + "/dock-app-customised.png");
    // Standard's five images, each framed in black, and the new toolbar's one: all enabled.
    EXPECT_GE(customised.Count(OnScreen(*frame->m_pManager->FindToolBar(dockapp::ID_BAR_STANDARD)), RGB(0, 0, 0)),
              5 * 40);
    EXPECT_GE(customised.Count(ClientOnScreen(*made), RGB(0, 0, 0)), 40);
    wm.reset();
    testsupport::PumpMessagesFor(200);
    frame->DestroyWindow();
    ::DestroyWindow(probe);
}

TEST(DockAppCustomizeScreenTest, ScreenshotsShowTheDialogsFramedOverTheFrameAndTheCustomisedToolBars) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    if (!testsupport::ToolInstalled("openbox")) {
        GTEST_SKIP() << "openbox is not installed";
    }
    const std::filesystem::path dir = testsupport::ScratchDir() / "dock-app-customize-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "DockAppCustomizeScreenChild.Shoot");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "dock-app-sheet-commands.png").string();
}
