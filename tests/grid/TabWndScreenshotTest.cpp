// A tab window with three grids as sheets on a private X server, as a person sees it: the test runs itself
// again in a child process (the display backend is chosen once per process), which shows the window, takes
// an X screenshot and checks the tabs' colours and the grid shown on it.
#include "grid/CGXEditControl.h"
#include "grid/CGXGridWnd.h"
#include "grid/CGXHeader.h"
#include "grid/CGXTabWnd.h"
#include "grid/GridLibraryState.h"
#include "grid/GridResourceIds.h"
#include "grid/GridSysColorCache.h"
#include "platform/framework/Framework.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_TABWND_SCREENSHOT_DIR";

void Pump() {
    MSG m{};
    for (int round = 0; round < 30; ++round) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        usleep(10000);
    }
}

TEST(TabWndScreenshotChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of TabWndScreenshot";
    }
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    GridSysColorCache::Refresh();

    CWnd frame;
    LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(frame.CreateEx(0, cls, u"Workbook", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, CRect(40, 40, 520, 340),
                               nullptr, 0));
    CGXTabWnd tabs;
    ASSERT_TRUE(tabs.Create(&frame, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 100));
    CRect client;
    frame.GetClientRect(&client);
    tabs.MoveWindow(&client);
    RegisterGridWindowClasses(AfxGetInstanceHandle());
    CGXGridWnd::RegisterWndClass(AfxGetInstanceHandle());
    CGXGridWnd sheets[3];
    const char16_t* names[3] = {u"Satellites", u"Positions", u"Events"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(sheets[i].Create(u"CGXGridWnd", u"", WS_CHILD, CRect(0, 0, 10, 10), &tabs, 10 + i));
        sheets[i].InitializeFromStyle();
        // The cells' controls, as a program's factory would give them.
        sheets[i].RegisterControl(IDS_GRID_CTRL_HEADER, new CGXHeader(&sheets[i]), FALSE, FALSE);
        sheets[i].RegisterControl(IDS_GRID_CTRL_EDIT, new CGXEditControl(&sheets[i], IDS_GRID_CTRL_EDIT), TRUE,
                                  FALSE);
        sheets[i].SetRowCount(100);
        sheets[i].SetColCount(20);
        tabs.AttachSheet(&sheets[i], names[i]);
    }
    tabs.SwitchToSheet(&sheets[1]);
    frame.UpdateWindow();
    Pump();
    DisplayFlush();
    backend->RunOnDisplayThread([] {});
    // Where the beam's client area lies on the X screen: the frame's content there, plus the beam's offset.
    RECT native{};
    ASSERT_TRUE(backend->NativeContentRect(frame.GetSafeHwnd(), &native));
    CPoint beamOrigin(0, 0);
    tabs.m_pBeam->ClientToScreen(&beamOrigin);
    frame.ScreenToClient(&beamOrigin);
    native.left += beamOrigin.x;
    native.top += beamOrigin.y;
    const std::string png = std::string(out) + "/tabs-screen.png";
    ASSERT_TRUE(testsupport::ShootScreen(out).WritePng(png));

    const testsupport::Picture screen = testsupport::Picture::FromPng(png);
    ASSERT_TRUE(screen.Valid());
    CGXTabBeam& beam = *tabs.m_pBeam;
    auto middleOf = [&](int tab) {
        return CPoint(native.left + beam.GetTabLeft(tab) + beam.m_nGap + 3, native.top + beam.m_nBeamHeight / 2);
    };
    // The current tab in the window colour, the others in the button face; the beam's top row black.
    EXPECT_EQ(screen.At(middleOf(1).x, middleOf(1).y), GridSysColorCache::GetColor(COLOR_WINDOW));
    EXPECT_EQ(screen.At(middleOf(0).x, middleOf(0).y), GridSysColorCache::GetColor(COLOR_BTNFACE));
    EXPECT_EQ(screen.At(middleOf(2).x, middleOf(2).y), GridSysColorCache::GetColor(COLOR_BTNFACE));
    EXPECT_EQ(screen.At(middleOf(0).x, native.top), RGB(0, 0, 0));
    EXPECT_NE(screen.At(middleOf(1).x, native.top), RGB(0, 0, 0)) << "the current tab is open at the top";
    const RECT names2{native.left + beam.GetTabLeft(1), native.top, native.left + beam.GetTabLeft(2),
                      native.top + beam.m_nBeamHeight};
    EXPECT_GT(screen.Count(names2, RGB(0, 0, 0)), 30) << "no legible name on the current tab";
    // The grid shown fills the sheet area, with the shared vertical bar at its right.
    CRect grid;
    sheets[1].GetWindowRect(&grid);
    frame.ScreenToClient(&grid);
    RECT nativeFrame{};
    ASSERT_TRUE(backend->NativeContentRect(frame.GetSafeHwnd(), &nativeFrame));
    const RECT gridOnScreen{nativeFrame.left + grid.left, nativeFrame.top + grid.top,
                            nativeFrame.left + grid.right, nativeFrame.top + grid.bottom};
    EXPECT_GT(screen.Count(gridOnScreen, GridSysColorCache::GetColor(COLOR_WINDOW)),
              grid.Width() * grid.Height() / 4);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(tabs.GetSafeHwnd(), CGXTabWnd::kVertBarId)))
        << "100 rows scroll on the shared bar";
    tabs.DestroyWindow();
    frame.DestroyWindow();
}

TEST(TabWndScreenshot, ThreeSheetsWithTheirTabsOnAPrivateXServer) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const fs::path out = testsupport::ScratchDir() / "tabwnd-screenshot";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, out, "TabWndScreenshotChild.Shoot");
    ASSERT_TRUE(child.passed) << child.log;
    if (const char* keep = std::getenv("DOLIVA_TABWND_KEEP_SCREENSHOT")) {
        fs::copy_file(out / "tabs-screen.png", keep, fs::copy_options::overwrite_existing);
    }
}

} // namespace
