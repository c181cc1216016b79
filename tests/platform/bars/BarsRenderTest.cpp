// What the bars look like: the frame rendered as the display would show it.
#include "BarsTestSupport.h"

#include "platform/display/DisplayBackend.h"

#include <cairo.h>

#include <cstdlib>
#include <string>

using namespace barstest;

namespace {

struct Image {
    cairo_surface_t* surface = nullptr;
    ~Image() {
        if (surface) {
            cairo_surface_destroy(surface);
        }
    }
    COLORREF At(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface);
        int stride = cairo_image_surface_get_stride(surface);
        std::uint32_t p = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of the colour lie in the rectangle.
    int Count(const RECT& rc, COLORREF colour) const {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                n += At(x, y) == colour;
            }
        }
        return n;
    }
};

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
    ASSERT_TRUE(DisplayRenderWindowToPng(m_frame->m_hWnd, path.c_str()));
    Image image;
    image.surface = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image.surface), CAIRO_STATUS_SUCCESS);

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
    ASSERT_TRUE(DisplayRenderWindowToPng(m_frame->m_hWnd, path.c_str()));
    Image again;
    again.surface = cairo_image_surface_create_from_png(path.c_str());
    CRect pane;
    status.GetItemRect(1, &pane);
    CRect paneInWindow = InWindow(*m_frame, status, pane);
    paneInWindow.DeflateRect(2, 2);
    EXPECT_EQ(again.Count(paneInWindow, RGB(0, 0, 0)), paneInWindow.Width() * paneInWindow.Height());
    if (const char* keep = std::getenv("DOLIVA_BARS_PNG")) {
        DisplayRenderWindowToPng(m_frame->m_hWnd, keep);
    }
}
