// The menu test application on a private X server, as a person sees it: the test runs itself again in a
// child process (the display backend is chosen once per process, before the first window), which opens the
// File menu of a frame loaded from the resources, takes an X screenshot and writes it as a PNG.
#include "MenuTestIds.h"

#include "platform/framework/Framework.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/Resources.h"
#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
constexpr const char* kChildVariable = "DOLIVA_MENU_SCREENSHOT_DIR";

class ShotFrame : public CFrameWnd {};

struct ShotState {
    std::string outDir;
    SdlDisplayBackend* backend = nullptr;
    HWND frame = nullptr;
    bool shot = false;
    RECT barNative{};
    RECT popupNative{};
};
ShotState* g_shot = nullptr;

void CALLBACK TakeShot(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    ShotState& s = *g_shot;
    HWND popup = FindWindowW(u"#32768", nullptr);
    if (popup) {
        DisplayFlush();
        s.backend->RunOnDisplayThread([] {});
        bool rects = s.backend->NativeContentRect(s.frame, &s.barNative) &&
                     s.backend->NativeContentRect(popup, &s.popupNative);
        s.shot = rects && testsupport::ShootScreen(s.outDir).WritePng(s.outDir + "/menu-screen.png");
    }
    EndMenu();
}

TEST(MenuScreenshotChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of MenuScreenshot";
    }
    ShotState state;
    state.outDir = out;
    state.backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(state.backend, nullptr) << "no SDL display on a private X server";
    g_shot = &state;
    DolivaInstallResourceHooks();

    // A frame straight from the resources: title, menu and accelerators.
    auto* frame = new ShotFrame;
    ASSERT_TRUE(frame->LoadFrame(IDR_MENUFRAME));
    frame->m_bAutoMenuEnable = FALSE; // no handlers here: keep the items as the script has them
    frame->ShowWindow(SW_SHOWNORMAL);
    ASSERT_NE(frame, nullptr);
    state.frame = frame->m_hWnd;
    frame->SetWindowPos(nullptr, 40, 40, 480, 320, SWP_NOZORDER);
    frame->SetForegroundWindow();
    frame->UpdateWindow();
    DisplayFlush();

    // Alt+F opens File with its first item selected; the timer fires inside the menu loop.
    SetTimer(state.frame, 7, 300, TakeShot);
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    DisplayInjectKey('F', 0, TRUE, FALSE);
    DisplayInjectKey('F', 0, FALSE, FALSE);
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    MSG m{};
    for (int round = 0; !state.shot && round < 500; ++round) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        usleep(10000);
    }
    ASSERT_TRUE(state.shot);

    // On the screen: File highlighted in the bar, and the popup's first item highlighted below it, with
    // menu-text pixels in the popup.
    const testsupport::Picture screen = testsupport::Picture::FromPng(state.outDir + "/menu-screen.png");
    ASSERT_TRUE(screen.Valid());
    COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_EQ(screen.At(state.barNative.left + 3, state.barNative.top + 3), highlight);
    EXPECT_EQ(screen.At(state.popupNative.left + 6, state.popupNative.top + 5), highlight);
    EXPECT_GE(state.popupNative.top, state.barNative.top);
    EXPECT_GT(screen.Count(state.popupNative, GetSysColor(COLOR_MENUTEXT)), 50)
        << "no legible text in the popup";
    frame->DestroyWindow();
}

TEST(MenuScreenshot, MenuBarAndOpenPopupOnAPrivateXServer) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const fs::path out = testsupport::ScratchDir() / "menu-screenshot";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, out, "MenuScreenshotChild.Shoot");
    ASSERT_TRUE(child.passed) << child.log;
    EXPECT_TRUE(fs::exists(out / "menu-screen.png"));
    if (const char* keep = std::getenv("DOLIVA_MENU_KEEP_SCREENSHOT")) {
        fs::copy_file(out / "menu-screen.png", keep, fs::copy_options::overwrite_existing);
    }
}

} // namespace
