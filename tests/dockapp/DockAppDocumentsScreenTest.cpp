// Documents of the multiple-document docking application on a private X server, as a person sees them: one
// docked on the left beside the MDI children, one floating in a window of its own above them. The shot stays
// in the scratch directory (dock-app-documents.png).
#include "DockAppDocuments.h"
#include "DockAppMdi.h"

#include "support/ScreenshotChild.h"
#include "support/TestSupport.h"

#include "platform/controls/StandardControls.h"
#include "platform/framework/CWinApp.h"
#include "platform/resources/Resources.h"
#include "toolkit/SysCommandEx.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr const char* kChildVariable = "DOLIVA_DOCK_DOCUMENTS_SCREEN_DIR";

CRect OnScreen(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    return r;
}

// The window-mode command for the view's frame, as its filters carry it out.
bool SwitchMode(CView* view, int mode) {
    CFrameWnd* frame = view->GetParentFrame();
    nsSysCommandEx::Record record;
    record.hWnd = frame->m_hWnd;
    record.nTargetMode = mode;
    nsSysCommandEx::ScxMsgFilter filter(frame, 257);
    LRESULT result = FALSE;
    filter.FilterMessage(nsSysCommandEx::GetMessageId(), nsSysCommandEx::SCX_APPLYMODE,
                         reinterpret_cast<LPARAM>(&record), &result);
    return result != FALSE;
}

} // namespace

TEST(DockAppDocumentsScreenChild, Shoot) {
    const char* out = std::getenv(kChildVariable);
    if (!out) {
        GTEST_SKIP() << "runs only as the child of DockAppDocumentsScreenTest";
    }
    const std::string dir = out;
    SdlDisplayBackend* backend = testsupport::OpenPrivateSdlDisplay();
    ASSERT_NE(backend, nullptr) << "no SDL display on a private X server";
    RegisterStandardControls();
    DolivaInstallResourceHooks();
    CWinApp app(u"DockAppDocumentsScreen");
    app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0);
    dockapp::DockAppMdiFrame* frame = dockapp::OpenDockAppMdiFrame(CPoint(40, 40));
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->m_documents.size(), 3u);
    CView* sky = frame->m_documents[1]->GetActiveView();
    CView* log = frame->m_documents[2]->GetActiveView();
    ASSERT_TRUE(SwitchMode(sky, nsSysCommandEx::ModeDockedLeft));
    ASSERT_TRUE(SwitchMode(log, nsSysCommandEx::ModeFloating));
    CFrameWnd* floating = log->GetParentFrame()->GetParentFrame();
    floating->SetWindowPos(nullptr, 430, 300, 300, 180, SWP_NOZORDER | SWP_NOACTIVATE);

    const testsupport::Picture shot = testsupport::ShootSettledScreen(backend, dir);
    ASSERT_TRUE(shot.Valid());
    shot.WritePng(dir + "/dock-app-documents.png");
    // Both moved views show their white page; the docked one lies beside the documents' area.
    for (CView* view : {sky, log}) {
        const CRect rect = OnScreen(*view);
        // A third: the text's share of the page grows as the layout narrows the docked view; an unpainted
        // view shows none.
        EXPECT_GE(shot.Count(rect, RGB(255, 255, 255)), rect.Width() * rect.Height() / 3);
    }
    CRect client;
    ::GetWindowRect(frame->m_hWndMDIClient, &client);
    const CRect docked = OnScreen(*sky->GetParentFrame());
    CRect overlap;
    EXPECT_FALSE(overlap.IntersectRect(&docked, &client));
    EXPECT_LE(docked.right, client.left);
    // The child left in the client shows its text: black on its white page.
    const CRect survey = OnScreen(*frame->m_documents.front()->GetActiveView());
    EXPECT_GE(shot.Count(survey, RGB(0, 0, 0)), 20);
    frame->DestroyWindow();
}

TEST(DockAppDocumentsScreenTest, ScreenshotShowsADocumentDockedAndOneFloatingBesideTheChildren) {
    REQUIRE_SCREENSHOT_CHILD(kChildVariable);
    const std::filesystem::path dir = testsupport::ScratchDir() / "dock-app-documents-screen";
    const testsupport::ChildRun child =
        testsupport::RunScreenshotChild(kChildVariable, dir, "DockAppDocumentsScreenChild.Shoot");
    EXPECT_TRUE(child.passed) << child.log << "\nsee " << (dir / "dock-app-documents.png").string();
}
