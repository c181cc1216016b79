// The frame with its toolbar and status bar on a real X server (a private Xvfb): a screenshot shows them.
// Everything runs in a child process, so that the display backend it opens stays out of the other tests.
#include "BarsTestSupport.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace barstest;

namespace {

constexpr const char* kChildVariable = "DOLIVA_BARS_SCREEN_DIR";

// A rectangle of a bar item on the screen.
template <typename Bar>
CRect ItemOnScreen(Bar& bar, int index) {
    CRect rect;
    bar.GetItemRect(index, &rect);
    bar.ClientToScreen(&rect);
    return rect;
}

} // namespace

// Runs in the child: the frame on the private display, then a screenshot of its client area.
TEST(BarsScreenChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of BarsScreenTest";
    }
    const std::string dir = out;
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    InstallTestResources();
    CWinApp app(u"BarsScreen");
    auto* frame = new BarFrame;
    ASSERT_TRUE(frame->Create(nullptr, u"Bars", WS_OVERLAPPEDWINDOW, CRect(60, 40, 660, 440)));
    app.m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    testsupport::PumpMessagesFor(300);
    app.OnIdle(0);
    frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    const testsupport::Picture shot = testsupport::ShootSettledScreen(backend, dir);
    ASSERT_TRUE(shot.Valid()) << "no screenshot";
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    shot.Crop(client).WritePng(dir + "/bars-screen.png");
    if (const char* keep = std::getenv("DOLIVA_BARS_SCREEN_PNG")) {
        shot.Crop(client).WritePng(keep);
    }
    // The New button's black square, the embossed (disabled) Save button, the status bar's face and text.
    const CRect newButton = ItemOnScreen(frame->m_wndToolBar, 0);
    const CRect saveButton = ItemOnScreen(frame->m_wndToolBar, 1);
    const CRect pane = ItemOnScreen(frame->m_wndStatusBar, 0);
    CRect view;
    frame->m_wndView.GetWindowRect(&view);
    EXPECT_GE(shot.Count(newButton, RGB(0, 0, 0)), 60) << "the toolbar's New button";
    EXPECT_GE(shot.Count(saveButton, ::GetSysColor(COLOR_BTNSHADOW)), 40) << "the disabled Save button";
    EXPECT_GE(shot.Count(pane, ::GetSysColor(COLOR_BTNFACE)), pane.Width() * pane.Height() / 2)
        << "the status bar's face";
    EXPECT_GE(shot.Count(pane, ::GetSysColor(COLOR_BTNTEXT)), 10) << "the status bar's text";
    EXPECT_EQ(
        shot.Count(CRect(view.left + 10, view.top + 10, view.left + 60, view.top + 60), RGB(255, 255, 255)),
        2500)
        << "the view";
    frame->DestroyWindow();
}

TEST(BarsScreenTest, ScreenshotShowsToolbarAndStatusBar) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const std::filesystem::path dir = testsupport::ScratchDir() / "bars-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "BarsScreenChild.Shoot");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "bars-screen.png").string();
}
