// A frame with a menu bar and two custom toolbars on a real X server (a private Xvfb): a screenshot shows
// them. Everything runs in a child process, so that the display backend it opens stays out of the others.
#include "ToolBarTestSupport.h"

#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"
#include "toolkit/SECMenuBar.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

using namespace tbtest;

namespace {

constexpr const char* kChildVariable = "DOLIVA_TOOLBAR_SCREEN_DIR";

void Pump(int milliseconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    MSG msg;
    while (std::chrono::steady_clock::now() < until) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

CRect OnScreen(SECCustomToolBar& bar, int index) {
    CRect rect = bar.m_btns[static_cast<size_t>(index)]->GetRect();
    bar.ClientToScreen(&rect);
    return rect;
}

} // namespace

TEST(ToolBarScreenChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of ToolBarScreenTest";
    }
    const std::string dir = out;
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    CWinApp app(u"ToolBarScreen");
    auto* frame = new ToolBarFrame;
    ASSERT_TRUE(frame->Create(nullptr, u"Toolbars", WS_OVERLAPPEDWINDOW, CRect(60, 40, 660, 340)));
    app.m_pMainWnd = frame;
    frame->EnableDocking(CBRS_ALIGN_ANY);

    HBITMAP strip = MakeStrip();
    {
        SECToolBarManager manager(frame);
        std::vector<UINT> ids;
        for (int i = 0; i < STRIP_IMAGES; ++i) {
            ids.push_back(ID_FIRST_CMD + static_cast<UINT>(i));
        }
        ASSERT_TRUE(manager.GetBmpMgr()->AddBitmap(strip, nullptr, ids.data(), STRIP_IMAGES));

        HMENU menu = ::CreateMenu();
        for (const char16_t* title : {u"&File", u"&Edit", u"&View", u"&Help"}) {
            HMENU popup = ::CreatePopupMenu();
            ::AppendMenuW(popup, MF_STRING, ID_FIRST_CMD, u"&Open");
            ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), title);
        }
        auto* menuBar = new SECMenuBar;
        menuBar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(menuBar->CreateMenuBar(frame));
        menuBar->SetMenu(menu);
        frame->DockControlBar(menuBar);

        const UINT standard[] = {ID_FIRST_CMD, ID_FIRST_CMD + 1, 0, ID_FIRST_CMD + 2, ID_FIRST_CMD + 3};
        const UINT extra[] = {ID_FIRST_CMD + 4, ID_FIRST_CMD + 5, ID_FIRST_CMD + 6};
        manager.DefineDefaultToolBar(AFX_IDW_TOOLBAR, u"Standard", standard, 5);
        manager.DefineDefaultToolBar(ID_SECOND_BAR, u"Extra", extra, 3);
        manager.CreateDefaultToolBars();
        SECCustomToolBar* pStandard = manager.FindToolBar(AFX_IDW_TOOLBAR);
        SECCustomToolBar* pExtra = manager.FindToolBar(ID_SECOND_BAR);
        ASSERT_TRUE(pStandard && pExtra);
        pStandard->m_btns[1]->m_nStyle |= SEC_TBBS_DISABLED;
        pStandard->m_btns[3]->m_nStyle |= SEC_TBBS_CHECKED;
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
        Pump(300);
        frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
        Pump(300);
        DisplayFlush();
        backend->RunOnDisplayThread([] {});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const testsupport::Picture shot = testsupport::ShootScreen(dir);
        ASSERT_TRUE(shot.Valid()) << "no screenshot";
        CRect window;
        frame->GetWindowRect(&window);
        shot.Crop(window).WritePng(dir + "/toolbar-screen.png");
        if (const char* keep = std::getenv("DOLIVA_TOOLBAR_SCREEN_PNG")) {
            shot.Crop(window).WritePng(keep);
        }
        EXPECT_GE(shot.Count(OnScreen(*menuBar, 0), ::GetSysColor(COLOR_MENUTEXT)), 10) << "the File menu's text";
        EXPECT_GE(shot.Count(OnScreen(*pStandard, 0), RGB(0, 0, 0)), 30) << "the first button's image";
        EXPECT_EQ(shot.Count(OnScreen(*pStandard, 1), ImageColour(1)), 0) << "the disabled button is embossed";
        EXPECT_GE(shot.Count(OnScreen(*pExtra, 0), ImageColour(4)), 30) << "the second toolbar";
        ::DestroyMenu(menu);
    }
    frame->DestroyWindow();
    ::DeleteObject(strip);
}

TEST(ToolBarScreenTest, ScreenshotShowsMenuBarAndToolBars) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const std::filesystem::path dir = testsupport::ScratchDir() / "toolbar-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "ToolBarScreenChild.Shoot");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "toolbar-screen.png").string();
}
