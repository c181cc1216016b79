// What the bars look like: the frame rendered as the display would show it.
#include "BarsTestSupport.h"

#include "platform/display/DisplayBackend.h"
#include "support/Picture.h"

#include <cstdlib>
#include <string>

using namespace barstest;

namespace {

// A rectangle of a child in the top-level window's coordinates (what the render holds).
CRect InWindow(const CWnd& top, const CWnd& child, const RECT& rc) {
    CRect r(rc);
    child.ClientToScreen(&r);
    CRect window;
    top.GetWindowRect(&window);
    r.OffsetRect(-window.left, -window.top);
    return r;
}

} // namespace

TEST_F(BarsTest, RenderShowsButtonsEnabledDisabledAndThePanes) {
    m_app.OnIdle(0); // Save disabled, New enabled
    m_frame->m_wndStatusBar.SetPaneText(0, u"Ready");
    m_frame->UpdateWindow();
    m_frame->RedrawWindow(nullptr, nullptr,
                          RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    const char* dir = std::getenv("DOLIVA_TEST_SCRATCH");
    std::string path = std::string(dir ? dir : "/tmp") + "/bars-frame.png";
    const testsupport::Picture image = testsupport::RenderWindow(m_frame->m_hWnd, path);
    ASSERT_TRUE(image.Valid());

    CToolBar& bar = ToolBar();
    CRect newButton;
    CRect saveButton;
    bar.GetItemRect(0, &newButton);
    bar.GetItemRect(1, &saveButton);
    CRect newInWindow = InWindow(*m_frame, bar, newButton);
    CRect saveInWindow = InWindow(*m_frame, bar, saveButton);
    // The enabled image is drawn as it is: its black square.
    EXPECT_GT(image.Count(newInWindow, RGB(0, 0, 0)), 60);
    // The disabled one is embossed: no red, its outline in the shadow colour.
    EXPECT_EQ(image.Count(saveInWindow, RGB(255, 0, 0)), 0);
    EXPECT_GT(image.Count(saveInWindow, ::GetSysColor(COLOR_BTNSHADOW)), 40);
    // The last button's red square is there.
    CRect modeButton;
    bar.GetItemRect(3, &modeButton);
    EXPECT_EQ(image.Count(InWindow(*m_frame, bar, modeButton), RGB(255, 0, 0)), 0); // nobody handles it
    // The owner-drawn pane is black, the status bar's face around the panes.
    CStatusBar& status = m_frame->m_wndStatusBar;
    status.SetPaneStyle(1, status.GetPaneStyle(1) | SBPS_OWNERDRAW);
    status.UpdateWindow();
    const testsupport::Picture again = testsupport::RenderWindow(m_frame->m_hWnd, path);
    ASSERT_TRUE(again.Valid());
    CRect pane;
    status.GetItemRect(1, &pane);
    CRect paneInWindow = InWindow(*m_frame, status, pane);
    paneInWindow.DeflateRect(2, 2);
    EXPECT_EQ(again.Count(paneInWindow, RGB(0, 0, 0)), paneInWindow.Width() * paneInWindow.Height());
    if (const char* keep = std::getenv("DOLIVA_BARS_PNG")) {
        DisplayRenderWindowToPng(m_frame->m_hWnd, keep);
    }
}
