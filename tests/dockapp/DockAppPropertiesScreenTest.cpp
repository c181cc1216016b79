// The properties pane on a private X server, as a person sees it: docked on the right beside the documents
// with the active caption, then floating on its own with the main window's caption and borders. The shots
// stay in the scratch directory (dock-app-properties.png, dock-app-properties-floating.png).
#include "DockAppMdi.h"

#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr const char* kChildVariable = "DOLIVA_DOCK_PROPERTIES_SCREEN_DIR";
constexpr COLORREF kPaneColour = RGB(250, 248, 236);

CRect OnScreen(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

// The caption strip of a window: the part of its window rectangle above its client area.
CRect CaptionOf(CWnd& wnd) {
    CRect window = OnScreen(wnd);
    CRect client;
    wnd.GetClientRect(&client);
    wnd.ClientToScreen(&client);
    return CRect(window.left, window.top, window.right, client.top);
}

} // namespace

TEST(DockAppPropertiesScreenChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of DockAppPropertiesScreenTest";
    }
    const std::string dir = out;
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    RegisterStandardControls();
    DolivaInstallResourceHooks();
    CWinApp app(u"DockAppPropertiesScreen");
    app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0);
    dockapp::DockAppMdiFrame* frame = dockapp::OpenDockAppMdiFrame(CPoint(40, 40));
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;
    SECDockableFrame* pane = frame->m_pProperties;
    ASSERT_NE(pane, nullptr);
    frame->SetActiveDockableFrame(pane);

    const testsupport::Picture docked = testsupport::ShootSettledScreen(backend, dir);
    ASSERT_TRUE(docked.Valid());
    docked.WritePng(dir + "/dock-app-properties.png");
    CRect view = OnScreen(*dockapp::PropertiesViewOf(pane));
    EXPECT_GE(docked.Count(view, kPaneColour), view.Width() * view.Height() / 2);
    // The active caption is the pane's: its colour shows there and not on the documents' captions.
    const COLORREF active = ::GetSysColor(COLOR_ACTIVECAPTION);
    const CRect caption = CaptionOf(*pane);
    EXPECT_GE(docked.Count(caption, active), caption.Width() * caption.Height() / 3);
    for (dockapp::DocumentFrame* document : frame->m_documents) {
        const CRect documentCaption = CaptionOf(*document);
        EXPECT_LT(docked.Count(documentCaption, active), documentCaption.Width()) << "an inactive document";
    }
    // Nothing overlaps the pane: not the documents' area, nor the other bars.
    CRect bar = OnScreen(*pane->GetHostBar());
    CRect client;
    ::GetWindowRect(frame->m_hWndMDIClient, &client);
    CRect overlap;
    for (const CRect& other : {client, OnScreen(frame->m_satellites), OnScreen(frame->m_log),
                               OnScreen(frame->m_controls)}) {
        EXPECT_FALSE(overlap.IntersectRect(&bar, &other)) << other.left << "," << other.top;
    }

    frame->FloatControlBarEx(pane->GetHostBar(), 420, 330);
    const testsupport::Picture floating = testsupport::ShootSettledScreen(backend, dir);
    ASSERT_TRUE(floating.Valid());
    floating.WritePng(dir + "/dock-app-properties-floating.png");
    view = OnScreen(*dockapp::PropertiesViewOf(pane));
    EXPECT_GE(floating.Count(view, kPaneColour), view.Width() * view.Height() / 2);
    const CRect floatingCaption = CaptionOf(*pane);
    EXPECT_GE(floating.Count(floatingCaption, active), floatingCaption.Width() * floatingCaption.Height() / 3);
    frame->DestroyWindow();
}

TEST(DockAppPropertiesScreenTest, ScreenshotsShowThePaneDockedAndFloating) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const std::filesystem::path dir = testsupport::ScratchDir() / "dock-app-properties-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "DockAppPropertiesScreenChild.Shoot");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "dock-app-properties.png").string();
}
