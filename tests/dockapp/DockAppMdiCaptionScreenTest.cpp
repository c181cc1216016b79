// The multiple-document frame's caption buttons on a private X server, as a person sees them: the document
// windows with their buttons and the window-mode button on their captions and the menu bar alone in the
// first row (dock-app-mdi-captions.png); then the active document maximised, its icon and its minimise,
// restore and close buttons at the ends of the menu bar (dock-app-mdi-maximised.png); and a plain
// docking-aware MDI frame with a window menu, whose maximised document's buttons the toolkit draws over the
// menu row's own (dock-app-mdi-window-menu.png).
#include "DockAppMdi.h"

#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "toolkit/SECCaptionControlMsgFilter.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECMDIMenuBar.h"
#include "toolkit/SECMDIMenuButtons.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr const char* kChildVariable = "DOLIVA_DOCK_CAPTION_SCREEN_DIR";

CRect OnScreen(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

CRect InWindowOnScreen(CWnd& wnd, const CRect& inWindow) {
    CRect r = inWindow;
    r.OffsetRect(OnScreen(wnd).TopLeft());
    return r;
}

} // namespace

TEST(DockAppMdiCaptionScreenChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of DockAppMdiCaptionScreenTest";
    }
    const std::string dir = out;
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    RegisterStandardControls();
    CWinApp app(u"DockAppCaptionScreen");
    app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0);
    dockapp::DockAppMdiFrame* frame = dockapp::OpenDockAppMdiFrame(CPoint(40, 40));
    ASSERT_NE(frame, nullptr);
    app.m_pMainWnd = frame;

    const testsupport::Picture captions = testsupport::ShootSettledScreen(backend, dir);
    ASSERT_TRUE(captions.Valid());
    captions.WritePng(dir + "/dock-app-mdi-captions.png");
    // The menu bar shows the document's menu texts, above the panels and apart from them.
    SECMDIMenuBar* bar = frame->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    const CRect menu = OnScreen(*bar);
    EXPECT_GE(captions.Count(menu, RGB(0, 0, 0)), 60) << "menu texts";
    CRect overlap;
    for (CWnd* other : {static_cast<CWnd*>(&frame->m_satellites), static_cast<CWnd*>(&frame->m_log)}) {
        const CRect r = OnScreen(*other);
        EXPECT_FALSE(overlap.IntersectRect(&menu, &r));
    }
    // The active document's window-mode button: its chevrons in the button text colour on the face.
    dockapp::DocumentFrame* active = frame->m_documents.back();
    auto* mode = dynamic_cast<SECCaptionControlMsgFilter*>(active->m_filters.Find(SEC_FILTER_MODE_BUTTON));
    ASSERT_NE(mode, nullptr);
    const CRect modeRect = InWindowOnScreen(*active, mode->m_rect);
    EXPECT_GE(captions.Count(modeRect, ::GetSysColor(COLOR_BTNTEXT)), 16) << "chevrons";
    EXPECT_GE(captions.Count(modeRect, ::GetSysColor(COLOR_BTNFACE)),
              modeRect.Width() * modeRect.Height() / 3);

    frame->MDIMaximize(active);
    const testsupport::Picture maximised = testsupport::ShootSettledScreen(backend, dir);
    ASSERT_TRUE(maximised.Valid());
    maximised.WritePng(dir + "/dock-app-mdi-maximised.png");
    ASSERT_EQ(bar->GetButton(0)->m_nType, SEC_BTN_MENU);
    auto* buttons = dynamic_cast<SECBtnCaption*>(bar->GetButton(bar->GetBtnCount() - 1));
    ASSERT_NE(buttons, nullptr);
    CRect close = buttons->PartRect(SECBtnCaption::Close);
    bar->ClientToScreen(&close);
    EXPECT_GE(maximised.Count(close, RGB(0, 0, 0)), 8) << "the close glyph";
    EXPECT_LE(close.right, OnScreen(*bar).right) << "inside the bar";
    // The document's view fills the client under the bars.
    const CRect view = OnScreen(*active->GetActiveView());
    EXPECT_FALSE(overlap.IntersectRect(&view, &menu));
    EXPECT_GE(maximised.Count(view, RGB(255, 255, 255)), view.Width() * view.Height() / 2);
    frame->DestroyWindow();

    auto* plain = new SECMDIFrameWnd;
    ASSERT_TRUE(plain->Create(nullptr, u"Window menu", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 400)));
    app.m_pMainWnd = plain;
    HMENU windowMenuBar = ::CreateMenu();
    for (const char16_t* title : {u"&File", u"&Window", u"&Help"}) {
        ::AppendMenuW(windowMenuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), title);
    }
    plain->SetMenu(CMenu::FromHandle(windowMenuBar));
    plain->ShowWindow(SW_SHOW);
    auto* document = new SECMDIChildWnd;
    ASSERT_TRUE(document->LoadFrame(0, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, plain));
    document->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    plain->MDIMaximize(document);
    const testsupport::Picture windowMenu = testsupport::ShootSettledScreen(backend, dir);
    ASSERT_TRUE(windowMenu.Valid());
    windowMenu.WritePng(dir + "/dock-app-mdi-window-menu.png");
    auto* listed = dynamic_cast<SECCaptionControlMsgFilter*>(plain->m_filters.Find(SEC_CAPTION_CLOSE));
    ASSERT_NE(listed, nullptr);
    const CRect listedClose = InWindowOnScreen(*plain, listed->m_rect);
    EXPECT_GE(windowMenu.Count(listedClose, RGB(0, 0, 0)), 8) << "the close glyph";
    plain->DestroyWindow();
    ::DestroyMenu(windowMenuBar);
}

TEST(DockAppMdiCaptionScreenTest, ScreenshotsShowTheCaptionButtonsAndTheMaximisedDocument) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const std::filesystem::path dir = testsupport::ScratchDir() / "dock-app-mdi-caption-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "DockAppMdiCaptionScreenChild.Shoot");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "dock-app-mdi-captions.png").string();
}
