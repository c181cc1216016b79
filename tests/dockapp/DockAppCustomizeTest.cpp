// The customisation sheet of the docking application driven by messages, in the SDI and the MDI frame: it
// opens from the menu command over a frame that stays usable, a command dragged off the "Commands" page lands
// on a toolbar, a new toolbar made from the "Toolbars" page takes a button too, and closing the sheet ends
// customise mode. The customised toolbars come back in the next frame, and in the application's next run
// with the same settings (two child runs of this binary).
#include "DockAppCustomizeSupport.h"
#include "DockAppMdi.h"

#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include "platform/display/DisplayBackend.h"
#include "platform/framework/FrameworkTestSupport.h"

#include <cstdlib>

namespace dockapp {
namespace {

constexpr const char* kRunVariable = "DOLIVA_DOCK_CUSTOMIZE_RUN_DIR";

void ForgetSavedLayouts(CWinApp& app) {
    for (const char16_t* section : {u"DockApp Layout-Summary", u"DockApp MDI Layout-Summary"}) {
        app.WriteProfileInt(section, u"Bars", 0);
    }
    for (const char16_t* section : {u"DockApp-ToolBars", u"DockApp MDI-ToolBars"}) {
        app.WriteProfileInt(section, u"Count", 0);
    }
}

class DockAppCustomizeTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override { ForgetSavedLayouts(m_app); }
    void TearDown() override {
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        fwtest::FrameworkTest::TearDown();
    }
    template <class Frame> Frame* Keep(Frame* frame) {
        m_frame = frame;
        m_app.m_pMainWnd = frame;
        return frame;
    }
    void CloseFrame() {
        m_frame->SendMessageW(WM_CLOSE);
        fwtest::DrainQueue();
        m_frame = nullptr;
    }

    // Opens the sheet by the menu command and checks what every frame's sheet shows.
    SECToolBarSheet* OpenSheet(CFrameWnd* frame, SECToolBarManager& manager, CustomizeSheetHolder& holder) {
        frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE_SHEET);
        SECToolBarSheet* sheet = holder.Sheet();
        EXPECT_TRUE(sheet && sheet->IsWindowVisible());
        if (!sheet) {
            return nullptr;
        }
        EXPECT_TRUE(sheet->IsModeless());
        EXPECT_EQ(sheet->GetPageCount(), 2);
        EXPECT_TRUE(manager.IsCustomizing());
        EXPECT_TRUE(frame->IsWindowEnabled()) << "the frame stays usable while the sheet is up";
        EXPECT_EQ(::GetWindow(sheet->m_hWnd, GW_OWNER), frame->m_hWnd);
        // A second command brings the same sheet forward.
        HWND first = sheet->m_hWnd;
        frame->SendMessageW(WM_COMMAND, ID_DOCK_CUSTOMIZE_SHEET);
        EXPECT_EQ(holder.Sheet()->m_hWnd, first);
        return sheet;
    }

    CWinApp m_app{u"DockApp"};
    CFrameWnd* m_frame = nullptr;
};

TEST_F(DockAppCustomizeTest, TheSheetCustomisesTheToolBarsWhileTheFrameStaysUsable) {
    DockAppFrame* frame = Keep(OpenDockAppFrame());
    ASSERT_NE(frame, nullptr);
    SECToolBarManager& manager = *frame->m_pManager;
    SECToolBarSheet* sheet = OpenSheet(frame, manager, frame->m_sheet);
    ASSERT_NE(sheet, nullptr);
    CustomiseThroughTheSheet(frame);
    ExpectCustomised(frame);
    SECCustomToolBar* made = manager.FindToolBar(SEC_IDW_FIRST_USER_TOOLBAR);
    EXPECT_TRUE(made->IsFloating());
    EXPECT_TRUE(manager.IsCustomizing()) << "the sheet stays up";
    EXPECT_GE(sheet->m_toolBarsPage.m_pLogic->FindItemById(SEC_IDW_FIRST_USER_TOOLBAR), 0);

    // The close box ends customise mode and gives the frame its children back.
    sheet->SendMessageW(WM_SYSCOMMAND, SC_CLOSE);
    fwtest::DrainQueue();
    EXPECT_FALSE(frame->m_sheet.IsOpen());
    EXPECT_FALSE(manager.IsCustomizing());
    EXPECT_TRUE(frame->IsWindowEnabled());
    EXPECT_TRUE(frame->m_view.IsWindowEnabled());
}

TEST_F(DockAppCustomizeTest, TheMdiFrameOffersTheSheetAndItsNextFrameKeepsWhatItChanged) {
    DockAppMdiFrame* frame = Keep(OpenDockAppMdiFrame());
    ASSERT_NE(frame, nullptr);
    SECToolBarManager& manager = *frame->m_pManager;
    SECCustomToolBar* receiver = manager.FindToolBar(ID_BAR_RECEIVER);
    ASSERT_NE(receiver, nullptr);
    CRect bar, satellites;
    receiver->GetWindowRect(&bar);
    frame->m_satellites.GetWindowRect(&satellites);
    EXPECT_LE(bar.bottom, satellites.top) << "the toolbars above the panels";

    SECToolBarSheet* sheet = OpenSheet(frame, manager, frame->m_sheet);
    ASSERT_NE(sheet, nullptr);
    DragCommand(*sheet, 0, 3, *receiver); // Standard: Connect
    const std::vector<UINT> changed{ID_DOCK_SURVEY, ID_DOCK_SKY, 0, ID_DOCK_LOG, ID_DOCK_CONNECT};
    EXPECT_EQ(IdsOf(receiver), changed);
    sheet->SendMessageW(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                        reinterpret_cast<LPARAM>(::GetDlgItem(sheet->m_hWnd, IDCANCEL))); // Close
    EXPECT_FALSE(frame->m_sheet.IsOpen());
    EXPECT_FALSE(manager.IsCustomizing());
    CloseFrame();

    frame = Keep(OpenDockAppMdiFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(IdsOf(frame->m_pManager->FindToolBar(ID_BAR_RECEIVER)), changed);

    // A frame that goes while the sheet is up takes it down with it.
    OpenSheet(frame, *frame->m_pManager, frame->m_sheet);
    frame->DestroyWindow();
    m_frame = nullptr;
    fwtest::DrainQueue();
}

// The MDI frame has no menu bar: a right click on a bar offers the sheet; elsewhere no menu opens.
TEST_F(DockAppCustomizeTest, ARightClickOnABarOffersTheSheet) {
    DockAppMdiFrame* frame = Keep(OpenDockAppMdiFrame());
    ASSERT_NE(frame, nullptr);
    auto tap = [](UINT vk) {
        DisplayInjectKey(vk, 0, TRUE, FALSE);
        DisplayInjectKey(vk, 0, FALSE, FALSE);
    };
    // An open menu would take the Escape; without one it reaches the frame and does nothing.
    tap(VK_ESCAPE);
    frame->SendMessageW(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(frame->m_documents.front()->m_hWnd),
                        MAKELPARAM(300, 300));
    fwtest::DrainQueue();
    EXPECT_FALSE(frame->m_sheet.IsOpen());

    CRect bar;
    frame->m_pManager->FindToolBar(ID_BAR_STANDARD)->GetWindowRect(&bar);
    tap('C'); // "&Customize..."
    frame->SendMessageW(WM_CONTEXTMENU,
                        reinterpret_cast<WPARAM>(frame->m_pManager->FindToolBar(ID_BAR_STANDARD)->m_hWnd),
                        MAKELPARAM(bar.left + 5, bar.top + 5));
    fwtest::DrainQueue();
    EXPECT_TRUE(frame->m_sheet.IsOpen());
}

// A dialog over its owner: centred on it, with its caption, and clear of the bars on top of the frame; the
// toolbar list and the sheet each take the other down, so that closing one cannot end the other's customising.
TEST_F(DockAppCustomizeTest, TheToolBarListAndTheSheetOpenOneAtATimeCentredOnTheFrameClearOfItsTopBars) {
    DockAppFrame* frame = Keep(OpenDockAppFrame());
    ASSERT_NE(frame, nullptr);
    CRect outer;
    frame->GetWindowRect(&outer);
    // One at a time: each command takes the other window down, and customising goes on.
    for (UINT command : {ID_DOCK_CUSTOMIZE, ID_DOCK_CUSTOMIZE_SHEET, ID_DOCK_CUSTOMIZE}) {
        frame->SendMessageW(WM_COMMAND, command);
        EXPECT_TRUE(frame->m_pManager->IsCustomizing());
        const bool list = command == ID_DOCK_CUSTOMIZE;
        EXPECT_EQ(frame->m_sheet.IsOpen(), !list);
        EXPECT_EQ(frame->m_pCustomize && frame->m_pCustomize->GetSafeHwnd(), list);
        CWnd* dialog = list ? static_cast<CWnd*>(frame->m_pCustomize.get()) : frame->m_sheet.Sheet();
        CRect rect;
        dialog->GetWindowRect(&rect);
        EXPECT_TRUE(dialog->GetStyle() & WS_CAPTION);
        EXPECT_NEAR(rect.CenterPoint().x, outer.CenterPoint().x, 1);
        EXPECT_NEAR(rect.CenterPoint().y, outer.CenterPoint().y, 1);
        for (CWnd* bar : {static_cast<CWnd*>(frame->m_pMenuBar),
                          static_cast<CWnd*>(frame->m_pManager->FindToolBar(ID_BAR_STANDARD)),
                          static_cast<CWnd*>(frame->m_pManager->FindToolBar(ID_BAR_RECEIVER))}) {
            CRect barRect, overlap;
            bar->GetWindowRect(&barRect);
            EXPECT_FALSE(overlap.IntersectRect(&rect, &barRect)) << barRect.left << "," << barRect.top;
        }
    }
}

// The two runs of the application, each a child of the test below.
TEST(DockAppCustomizeRun, First) {
    if (!std::getenv(kRunVariable)) {
        GTEST_SKIP() << "runs only as the child of DockAppCustomizeRunTest";
    }
    CWinApp app(u"DockApp");
    ForgetSavedLayouts(app);
    DockAppFrame* frame = OpenDockAppFrame();
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;
    CustomiseThroughTheSheet(frame);
    // Closed with the sheet still up: the frame takes it down before saving.
    frame->SendMessageW(WM_CLOSE);
    fwtest::DrainQueue();
    app.m_pMainWnd = nullptr;
}

TEST(DockAppCustomizeRun, Next) {
    if (!std::getenv(kRunVariable)) {
        GTEST_SKIP() << "runs only as the child of DockAppCustomizeRunTest";
    }
    CWinApp app(u"DockApp");
    DockAppFrame* frame = OpenDockAppFrame();
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;
    ExpectCustomised(frame);
    EXPECT_FALSE(frame->m_pManager->IsCustomizing());
    frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
}

TEST(DockAppCustomizeRunTest, ToolBarsCustomisedInOneRunComeBackInTheNext) {
    if (std::getenv(kRunVariable)) {
        GTEST_SKIP() << "the child runs only its own part";
    }
    const std::filesystem::path dir = testsupport::ScratchDir() / "dock-app-customize-runs";
    const testsupport::ChildRun first = testsupport::RunScreenshotChild(kRunVariable, dir, "DockAppCustomizeRun.First");
    ASSERT_TRUE(first.passed) << first.log;
    const testsupport::ChildRun next = testsupport::RunScreenshotChild(kRunVariable, dir, "DockAppCustomizeRun.Next");
    EXPECT_TRUE(next.passed) << next.log;
}

} // namespace
} // namespace dockapp
