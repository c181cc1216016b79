// A docking-aware frame with a view and sizing bars for the docking tests, and the mouse driven by posted
// messages (the drag and splitter loops read them).
#pragma once

#include "platform/framework/FrameworkTestSupport.h"

#include "toolkit/SECControlBar.h"
#include "toolkit/SECDockBar.h"
#include "toolkit/SECFrameWnd.h"

#include <memory>
#include <string>
#include <vector>

namespace docktest {

constexpr UINT kFirstBarID = 0xE830; // among the control-bar ids, clear of the frame's own

// A sizing bar (a toolkit bar without the fixed-size style) in `frame` that may dock anywhere, kept in `bars`.
inline SECControlBar* AddSizingBar(CFrameWnd* frame, std::vector<std::unique_ptr<SECControlBar>>& bars,
                                   const char16_t* title) {
    auto bar = std::make_unique<SECControlBar>();
    UINT id = kFirstBarID + static_cast<UINT>(bars.size());
    if (!bar->Create(frame, title, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 0, id)) {
        return nullptr;
    }
    bar->EnableDocking(CBRS_ALIGN_ANY);
    bars.push_back(std::move(bar));
    return bars.back().get();
}

class DockFrame : public SECFrameWnd {
public:
    CWnd m_view;
    // What the status line was asked to show: the text, or the id of a string.
    std::vector<std::u16string> m_messages;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETMESSAGESTRING) {
            m_messages.push_back(lParam ? std::u16string(reinterpret_cast<LPCTSTR>(lParam))
                                        : u"#" + std::u16string(1, static_cast<char16_t>(wParam)));
        }
        return SECFrameWnd::WindowProc(message, wParam, lParam);
    }
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override {
        LPCTSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return m_view.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, AFX_IDW_PANE_FIRST);
    }
};

class DockTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_frame = new DockFrame;
        ASSERT_TRUE(
            m_frame->Create(nullptr, u"Docking", WS_OVERLAPPEDWINDOW, CRect(100, 100, 100 + 600, 100 + 400)));
        m_app.m_pMainWnd = m_frame;
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_bars.clear(); // while their frame is there to leave
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        fwtest::FrameworkTest::TearDown();
    }
    // A sizing bar (a toolkit bar without the fixed-size style) that may dock anywhere.
    SECControlBar* AddBar(const char16_t* title) { return AddSizingBar(m_frame, m_bars, title); }
    SECDockBar* Dock(UINT id) { return dynamic_cast<SECDockBar*>(m_frame->GetControlBar(id)); }
    // A bar's rectangle in its dock bar's client coordinates.
    static CRect InDockBar(CControlBar* bar) {
        CRect r;
        bar->GetWindowRect(&r);
        bar->GetParent()->ScreenToClient(&r);
        return r;
    }
    // Posts a mouse message at a screen point to `target` (what a modal tracking loop reads next).
    static void PostMouse(CWnd* target, UINT message, CPoint screen) {
        CPoint pt = screen;
        target->ScreenToClient(&pt);
        target->PostMessageW(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    }
    int Placeholders(SECDockBar* dock, UINT id) {
        int n = 0;
        for (INT_PTR i = 0; i < dock->m_arrBars.GetSize(); ++i) {
            n += CDockBar::IsPlaceholder(dock->m_arrBars[i]) &&
                 reinterpret_cast<UINT_PTR>(dock->m_arrBars[i]) == id;
        }
        return n;
    }

    CWinApp m_app{u"DockTest"};
    DockFrame* m_frame = nullptr;
    std::vector<std::unique_ptr<SECControlBar>> m_bars;
};

} // namespace docktest
