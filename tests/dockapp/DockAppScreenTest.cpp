// The docking test application on a private X server, as a person sees it: docked, with the toolbar list
// open, then with a bar floating. The shots stay in the scratch directory (dock-app-docked.png,
// dock-app-customise.png, dock-app-floating.png); the multiple-document frame too, docked and with a bar
// floating inside it (dock-app-mdi.png, dock-app-mdi-floating.png), and as a workbook with its tabs
// (dock-app-workbook.png).
#include "DockApp.h"
#include "DockAppIds.h"
#include "DockAppMdi.h"

#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr const char* kChildVariable = "DOLIVA_DOCK_SCREEN_DIR";

CRect OnScreen(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

testsupport::Picture Shoot(SdlDisplayBackend* backend, const std::string& dir, const char* name) {
    testsupport::Picture shot = testsupport::ShootSettledScreen(backend, dir);
    if (shot.Valid()) {
        shot.WritePng(dir + "/" + name);
    }
    return shot;
}

SdlDisplayBackend* OpenDisplay() {
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    RegisterStandardControls();
    return backend;
}

} // namespace

TEST(DockAppScreenChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of DockAppScreenTest";
    }
    const std::string dir = out;
    SdlDisplayBackend* backend = OpenDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    CWinApp app(u"DockAppScreen");
    app.WriteProfileInt(u"DockApp Layout-Summary", u"Bars", 0);
    dockapp::DockAppFrame* frame = dockapp::OpenDockAppFrame(CPoint(40, 40));
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;

    const testsupport::Picture docked = Shoot(backend, dir, "dock-app-docked.png");
    ASSERT_TRUE(docked.Valid());
    // Each panel shows its colour over most of its area, and none covers another or the view.
    CRect satellites = OnScreen(frame->m_satellites);
    CRect log = OnScreen(frame->m_log);
    CRect controls = OnScreen(frame->m_controls);
    CRect view = OnScreen(frame->m_view);
    for (auto [rect, colour] :
         {std::pair{satellites, frame->m_satellites.m_colour}, std::pair{log, frame->m_log.m_colour},
          std::pair{controls, static_cast<COLORREF>(::GetSysColor(COLOR_BTNFACE))}}) {
        EXPECT_GE(docked.Count(rect, colour), rect.Width() * rect.Height() / 2);
    }
    CRect overlap;
    EXPECT_FALSE(overlap.IntersectRect(&satellites, &log));
    EXPECT_FALSE(overlap.IntersectRect(&satellites, &view));
    EXPECT_FALSE(overlap.IntersectRect(&controls, &view));
    // The menu bar and the toolbars above the panels, none covering another; each shows its texts or its
    // images' black frames.
    CRect menu = OnScreen(*frame->m_pMenuBar);
    CRect standard = OnScreen(*frame->m_pManager->FindToolBar(dockapp::ID_BAR_STANDARD));
    CRect receiver = OnScreen(*frame->m_pManager->FindToolBar(dockapp::ID_BAR_RECEIVER));
    for (const CRect& bar : {menu, standard, receiver}) {
        EXPECT_GE(docked.Count(bar, RGB(0, 0, 0)), 40) << bar.left << "," << bar.top;
        for (const CRect& other : {satellites, log, view}) {
            EXPECT_FALSE(overlap.IntersectRect(&bar, &other)) << bar.left << "," << bar.top;
        }
    }
    EXPECT_FALSE(overlap.IntersectRect(&menu, &standard));
    EXPECT_FALSE(overlap.IntersectRect(&standard, &receiver));
    EXPECT_EQ(standard.top, receiver.top);
    // The splitter between the two top panels is drawn in the button face with its shadow line.
    CRect splitter(satellites.right, satellites.top, log.left, satellites.bottom);
    EXPECT_GE(docked.Count(splitter, ::GetSysColor(COLOR_BTNFACE)), splitter.Height());
    EXPECT_GE(docked.Count(splitter, ::GetSysColor(COLOR_BTNSHADOW)), splitter.Height() / 2);

    frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE);
    ASSERT_TRUE(frame->m_pCustomize && frame->m_pCustomize->IsWindowVisible());
    EXPECT_TRUE(Shoot(backend, dir, "dock-app-customise.png").Valid());
    frame->m_pCustomize->SendMessageW(WM_COMMAND, IDCANCEL);

    frame->FloatControlBarEx(&frame->m_log, 330, 300);
    const testsupport::Picture floating = Shoot(backend, dir, "dock-app-floating.png");
    ASSERT_TRUE(floating.Valid());
    log = OnScreen(frame->m_log);
    EXPECT_GE(floating.Count(log, frame->m_log.m_colour), log.Width() * log.Height() / 2)
        << "the floating panel";
    satellites = OnScreen(frame->m_satellites);
    EXPECT_GE(floating.Count(satellites, frame->m_satellites.m_colour),
              satellites.Width() * satellites.Height() / 2)
        << "Satellites alone in its row";
    frame->DestroyWindow();
}

TEST(DockAppScreenChild, ShootMdi) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of DockAppScreenTest";
    }
    const std::string dir = out;
    SdlDisplayBackend* backend = OpenDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    CWinApp app(u"DockAppScreen");
    app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0);
    dockapp::DockAppMdiFrame* frame = dockapp::OpenDockAppMdiFrame(CPoint(40, 40));
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;

    const testsupport::Picture docked = Shoot(backend, dir, "dock-app-mdi.png");
    ASSERT_TRUE(docked.Valid());
    CRect satellites = OnScreen(frame->m_satellites);
    CRect log = OnScreen(frame->m_log);
    for (auto [rect, colour] :
         {std::pair{satellites, frame->m_satellites.m_colour}, std::pair{log, frame->m_log.m_colour}}) {
        EXPECT_GE(docked.Count(rect, colour), rect.Width() * rect.Height() / 2);
    }
    // The active document's view shows white over most of it; no document reaches over the bars.
    CRect view = OnScreen(*frame->m_documents.back()->GetActiveView());
    EXPECT_GE(docked.Count(view, RGB(255, 255, 255)), view.Width() * view.Height() / 2);
    CRect overlap;
    for (dockapp::DocumentFrame* document : frame->m_documents) {
        CRect r = OnScreen(*document);
        EXPECT_FALSE(overlap.IntersectRect(&r, &satellites));
        EXPECT_FALSE(overlap.IntersectRect(&r, &log));
        const CRect controls = OnScreen(frame->m_controls);
        EXPECT_FALSE(overlap.IntersectRect(&r, &controls));
    }

    // Floated without activation, the host comes to the front when the user activates it.
    frame->FloatControlBarInMDIChild(&frame->m_log, -1, -1);
    frame->MDIActivate(frame->m_log.GetParentFrame());
    const testsupport::Picture floating = Shoot(backend, dir, "dock-app-mdi-floating.png");
    ASSERT_TRUE(floating.Valid());
    log = OnScreen(frame->m_log);
    EXPECT_GE(floating.Count(log, frame->m_log.m_colour), log.Width() * log.Height() / 2)
        << "the panel floating inside the main window, above the documents";
    frame->DestroyWindow();

    // As a workbook: the tabs below the documents, the active one raised and showing its title.
    app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0);
    frame = dockapp::OpenDockAppMdiFrame(CPoint(40, 40), true);
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;
    const testsupport::Picture book = Shoot(backend, dir, "dock-app-workbook.png");
    ASSERT_TRUE(book.Valid());
    CRect strip;
    ::GetWindowRect(frame->m_hWndMDIClient, &strip);
    strip = CRect(strip.left, strip.bottom + 4, strip.right, strip.bottom + 4 + frame->m_nTabHeight);
    EXPECT_GE(book.Count(strip, RGB(0, 0, 0)), 3 * 60) << "tab outlines and titles";
    const CRect bookControls = OnScreen(frame->m_controls);
    EXPECT_FALSE(overlap.IntersectRect(&strip, &bookControls));
    frame->DestroyWindow();
}

TEST(DockAppScreenTest, ScreenshotsShowTheBarsDockedAndFloating) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const std::filesystem::path dir = testsupport::ScratchDir() / "dock-app-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "DockAppScreenChild.Shoot");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "dock-app-docked.png").string();
}

TEST(DockAppScreenTest, ScreenshotsShowTheMdiFrameWithItsBars) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const std::filesystem::path dir = testsupport::ScratchDir() / "dock-app-mdi-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "DockAppScreenChild.ShootMdi");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "dock-app-mdi.png").string();
}
