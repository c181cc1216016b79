// The toolkit tests' world: a frame with a view and a custom status bar created the way the program's main
// frame creates it, a bar that records what it sends to its control, and a render of the frame for pixels.
#pragma once

#include "platform/framework/FrameworkTestSupport.h"

#include "platform/display/DisplayBackend.h"
#include "support/Picture.h"
#include "toolkit/SECCustomStatusBar.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace toolkittest {

constexpr UINT ID_PANE_MODE = 0xE710;
constexpr UINT ID_PANE_CAPS = 0xE711;
constexpr UINT ID_PANE_BLANK = 0xE712; // no string

// What the bar sent its control.
struct Sent {
    UINT message = 0;
    WPARAM wParam = 0;
    bool nullText = false;
    std::u16string text;
};

class SpyStatusBar : public SECCustomStatusBar {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == SB_SETTEXTW || message == SB_SETMINHEIGHT || message == SB_SETPARTS) {
            Sent s;
            s.message = message;
            s.wParam = wParam;
            s.nullText = lParam == 0;
            if (message == SB_SETTEXTW && lParam) {
                s.text = reinterpret_cast<LPCTSTR>(lParam);
            }
            sent.push_back(s);
        }
        return SECCustomStatusBar::WindowProc(message, wParam, lParam);
    }
    int Count(UINT message) const {
        int n = 0;
        for (const Sent& s : sent) {
            n += s.message == message;
        }
        return n;
    }
    using SECCustomStatusBar::m_drawInfo;
    using SECCustomStatusBar::m_panes;
    std::vector<Sent> sent;
};

class StatusFrame : public CFrameWnd {
public:
    SpyStatusBar m_bar;
    CWnd m_view;
    std::vector<UINT> panes{0, ID_PANE_MODE, ID_PANE_CAPS};

    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
        LPCTSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return m_view.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
    }
    int OnCreate(LPCREATESTRUCT cs) {
        if (CFrameWnd::OnCreate(cs) == -1) {
            return -1;
        }
        if (!m_bar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP,
                          AFX_IDW_STATUS_BAR) ||
            !m_bar.SetPanes(panes.data(), static_cast<int>(panes.size()))) {
            return -1;
        }
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

inline BEGIN_MESSAGE_MAP(StatusFrame, CFrameWnd) ON_WM_CREATE() END_MESSAGE_MAP()

    class ToolkitTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        SetStringResourceLoader([](UINT id, std::u16string& text) {
            if (id == ID_PANE_MODE) {
                text = u"Position hold";
                return true;
            }
            if (id == ID_PANE_CAPS) {
                text = u"CAP";
                return true;
            }
            return false;
        });
        m_frame = new StatusFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Toolkit", WS_OVERLAPPEDWINDOW, CRect(100, 100, 700, 400)));
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        SetStringResourceLoader(nullptr);
        fwtest::FrameworkTest::TearDown();
    }
    SpyStatusBar& Bar() { return m_frame->m_bar; }
    // Renders the frame after painting everything that is invalid.
    bool RenderFrame(testsupport::Picture& render, const char* name) {
        m_frame->RedrawWindow(nullptr, nullptr,
                              RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        const char* dir = std::getenv("DOLIVA_TEST_SCRATCH");
        render =
            testsupport::RenderWindow(m_frame->m_hWnd, std::string(dir ? dir : "/tmp") + "/" + name + ".png");
        return render.Valid();
    }
    // A pane rectangle of the bar in the frame window's coordinates (what the render holds).
    CRect PaneInWindow(int index) {
        CRect r;
        Bar().GetPaneRect(index, &r);
        Bar().ClientToScreen(&r);
        CRect window;
        m_frame->GetWindowRect(&window);
        r.OffsetRect(-window.left, -window.top);
        return r;
    }

    CWinApp m_app{u"ToolkitTest"};
    StatusFrame* m_frame = nullptr;
};

} // namespace toolkittest
