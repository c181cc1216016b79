// Caption buttons and message filters of the docking-aware MDI frame, its document windows and dockable
// frames: which filters each frame has and how the configuration switches them, the buttons' places, the
// window-mode button driven with the mouse (click, press and leave, hold) and drawn, and a maximised
// document window's buttons in the main window's menu row.
#include "DockTestSupport.h"

#include "toolkit/SECCapConLstMDIMaxChildMsgFilter.h"
#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/ScxButtonMsgFilter.h"
#include "toolkit/SysCommandEx.h"

#include "platform/display/DisplayBackend.h"
#include "platform/framework/CDC.h"

namespace docktest {
namespace {

using namespace nsSysCommandEx;

struct SentCommand {
    UINT command;
    Record record;
};

// Records the extended system commands instead of carrying them out (the mode menu would be modal).
class RecordingChild : public SECMDIChildWnd {
public:
    std::vector<SentCommand> sent;

protected:
    LRESULT DefWindowProcW(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == GetMessageId()) {
            sent.push_back({static_cast<UINT>(wParam & 0xFFF0), *reinterpret_cast<Record*>(lParam)});
            return 0;
        }
        return SECMDIChildWnd::DefWindowProcW(message, wParam, lParam);
    }
};

void Pump() {
    MSG msg{};
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

CRect OnScreen(CWnd* wnd, const CRect& inWindow) {
    CRect window;
    wnd->GetWindowRect(&window);
    CRect rect = inWindow;
    rect.OffsetRect(window.TopLeft());
    return rect;
}

SECCaptionControlMsgFilter* Button(SECFrameFilterTree& filters, int nID) {
    return dynamic_cast<SECCaptionControlMsgFilter*>(filters.Find(nID));
}

class MDICaptionTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        DisplayUseTestClock(50000);
        m_frame = new SECMDIFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        m_child = new RecordingChild;
        ASSERT_TRUE(m_child->LoadFrame(0, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_frame));
        m_child->MoveWindow(20, 20, 400, 300);
        Pump();
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
            m_app.m_pMainWnd = nullptr;
        }
        fwtest::FrameworkTest::TearDown();
    }
    // The child's mode button, laid out, in screen coordinates.
    CRect ModeButtonOnScreen() {
        m_child->SendMessageW(WM_NCPAINT, 1, 0);
        return OnScreen(m_child, Button(m_child->m_filters, SEC_FILTER_MODE_BUTTON)->m_rect);
    }

    CWinApp m_app{u"MDICaptionTest"};
    SECMDIFrameWnd* m_frame = nullptr;
    RecordingChild* m_child = nullptr;
};

TEST_F(MDICaptionTest, DescriptorsMakeEachFramesFiltersAndTheConfigurationSwitchesThem) {
    SECFrameFilterTree& frame = m_frame->m_filters;
    EXPECT_TRUE(dynamic_cast<ScxMsgFilter*>(frame.Find(SEC_FILTER_SYSCOMMANDEX)));
    EXPECT_TRUE(dynamic_cast<SECCapConLstMDIMaxChildMsgFilter*>(frame.Find(SEC_FILTER_CAPTION_LIST)));
    EXPECT_TRUE(dynamic_cast<ScxButtonMDIMaxChildMsgFilter*>(
        frame.Find(SEC_FILTER_CAPTION_LIST)->FindFilter(SEC_FILTER_MAXCHILD_MODE_BUTTON, nullptr, 0)));
    EXPECT_TRUE(dynamic_cast<ScxNCRDBLClkMDIMaxChildMsgFilter*>(frame.Find(SEC_FILTER_MAXCHILD_DBLCLK)));
    // Without a template that switches window modes, only the menu row's buttons are on.
    EXPECT_FALSE(frame.IsEnabled(SEC_FILTER_SYSCOMMANDEX));
    EXPECT_TRUE(frame.IsEnabled(SEC_FILTER_CAPTION_LIST));
    m_frame->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    EXPECT_TRUE(frame.IsEnabled(SEC_FILTER_SYSCOMMANDEX));

    SECFrameFilterTree& child = m_child->m_filters;
    EXPECT_TRUE(dynamic_cast<ScxButtonMDIChildMsgFilter*>(
        child.Find(SEC_FILTER_CAPTION_LIST)->FindFilter(SEC_FILTER_MODE_BUTTON, nullptr, 0)));
    const int ids[] = {SEC_FILTER_SYSCOMMANDEX, SEC_FILTER_CAPTION_LIST, SEC_FILTER_MODE_BUTTON,
                       SEC_FILTER_CAPTION_DBLCLK, SEC_FILTER_CONTEXT_MENU};
    struct Case {
        UINT flags;
        std::vector<bool> on; // in the order of `ids`
    } cases[] = {
        {0, {false, true, false, false, false}},
        {SEC_CAPTION_CFG_MODES, {true, true, true, true, true}},
        {SEC_CAPTION_CFG_MODES | SEC_CAPTION_CFG_NO_MODE_BUTTON, {true, true, false, true, true}},
        {SEC_CAPTION_CFG_MODES | SEC_CAPTION_CFG_NO_DBLCLK, {true, true, true, false, true}},
        {SEC_CAPTION_CFG_MODES | SEC_CAPTION_CFG_NO_CONTEXT_MENU, {true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        m_child->ConfigureCaptionButtons(c.flags);
        for (std::size_t i = 0; i < std::size(ids); ++i) {
            EXPECT_EQ(child.IsEnabled(ids[i]) != FALSE, c.on[i])
                << "flags " << c.flags << " filter " << ids[i];
        }
    }
}

TEST_F(MDICaptionTest, DocumentButtonsLineUpFromTheRightWithTheModeButtonLast) {
    m_child->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    m_child->SendMessageW(WM_NCPAINT, 1, 0);
    SECFrameFilterTree& f = m_child->m_filters;
    const CRect close = Button(f, SEC_CAPTION_CLOSE)->m_rect;
    const CRect max = Button(f, SEC_CAPTION_MAX)->m_rect;
    const CRect min = Button(f, SEC_CAPTION_MIN)->m_rect;
    const CRect mode = Button(f, SEC_FILTER_MODE_BUTTON)->m_rect;
    CRect window;
    m_child->GetWindowRect(&window);
    const int frame = ::GetSystemMetrics(SM_CXFRAME);
    const CSize size(::GetSystemMetrics(SM_CXSIZE) - 2, ::GetSystemMetrics(SM_CYSIZE) - 4);
    EXPECT_EQ(close,
              CRect(CPoint(window.Width() - frame - size.cx - 2, ::GetSystemMetrics(SM_CYFRAME) + 2), size));
    EXPECT_EQ(max.right, close.left - 2);
    EXPECT_EQ(min.right, max.left);
    EXPECT_EQ(mode.right, min.left - 2);
    EXPECT_EQ(mode.Size(), size);
    EXPECT_TRUE(Button(f, SEC_CAPTION_RESTORE)->m_rect.IsRectEmpty());

    // Maximised, the document window's own caption is gone: its mode button rests.
    m_child->ShowWindow(SW_SHOWMAXIMIZED);
    m_child->SendMessageW(WM_NCPAINT, 1, 0);
    EXPECT_TRUE(Button(f, SEC_FILTER_MODE_BUTTON)->m_rect.IsRectEmpty());
}

TEST_F(MDICaptionTest, TheModeButtonGivesItsCommandOnlyWhenReleasedOverIt) {
    m_child->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    const CRect button = ModeButtonOnScreen();
    auto* mode = Button(m_child->m_filters, SEC_FILTER_MODE_BUTTON);

    // Pressed and released over it: the default window mode at the click point.
    DisplayInjectMouse(WM_LBUTTONDOWN, button.CenterPoint());
    Pump();
    EXPECT_TRUE(mode->m_nState & DFCS_PUSHED);
    EXPECT_EQ(CWnd::GetCapture(), m_child);
    DisplayInjectMouse(WM_LBUTTONUP, button.CenterPoint());
    Pump();
    ASSERT_EQ(m_child->sent.size(), 1u);
    EXPECT_EQ(m_child->sent[0].command, SCX_APPLYMODE);
    EXPECT_EQ(m_child->sent[0].record.nTargetMode, -1);
    EXPECT_EQ(m_child->sent[0].record.hWnd, m_child->m_hWnd);
    EXPECT_EQ(CPoint(m_child->sent[0].record.x, m_child->sent[0].record.y), button.CenterPoint());
    EXPECT_FALSE(mode->m_nState & DFCS_PUSHED);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    // Pressed, then left: it pops up again, and a release away gives nothing; coming back pushes it again.
    m_child->sent.clear();
    DisplayAdvanceTestClock(1000);
    DisplayInjectMouse(WM_LBUTTONDOWN, button.CenterPoint());
    DisplayInjectMouse(WM_MOUSEMOVE, button.CenterPoint() + CPoint(0, 60));
    Pump();
    EXPECT_FALSE(mode->m_nState & DFCS_PUSHED);
    EXPECT_TRUE(mode->m_bTracking);
    DisplayInjectMouse(WM_MOUSEMOVE, button.CenterPoint());
    Pump();
    EXPECT_TRUE(mode->m_nState & DFCS_PUSHED);
    DisplayInjectMouse(WM_MOUSEMOVE, button.CenterPoint() + CPoint(0, 60));
    DisplayInjectMouse(WM_LBUTTONUP, button.CenterPoint() + CPoint(0, 60));
    Pump();
    EXPECT_TRUE(m_child->sent.empty());
    EXPECT_FALSE(mode->m_bTracking);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(MDICaptionTest, HoldingOrRightClickingTheModeButtonAsksForTheMenuBelowIt) {
    m_child->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    const CRect button = ModeButtonOnScreen();
    DisplayInjectMouse(WM_LBUTTONDOWN, button.CenterPoint());
    Pump();
    DisplayAdvanceTestClock(kModeButtonHold - 10);
    Pump();
    EXPECT_TRUE(m_child->sent.empty());
    DisplayAdvanceTestClock(20);
    Pump();
    ASSERT_EQ(m_child->sent.size(), 1u);
    EXPECT_EQ(m_child->sent[0].command, SCX_SHOWMODEMENU);
    EXPECT_EQ(CPoint(m_child->sent[0].record.x, m_child->sent[0].record.y),
              CPoint(button.left, button.bottom));
    EXPECT_EQ(CRect(m_child->sent[0].record.rect), button);
    EXPECT_EQ(m_child->sent[0].record.dwFlags & 1u, 1u);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    // The release after the hold gives no second command.
    DisplayInjectMouse(WM_LBUTTONUP, button.CenterPoint());
    Pump();
    EXPECT_EQ(m_child->sent.size(), 1u);

    DisplayAdvanceTestClock(1000);
    DisplayInjectMouse(WM_RBUTTONDOWN, button.CenterPoint());
    Pump();
    ASSERT_EQ(m_child->sent.size(), 2u);
    EXPECT_EQ(m_child->sent[1].command, SCX_SHOWMODEMENU);
    EXPECT_EQ(m_child->sent[1].record.dwFlags & 1u, 0u);
}

TEST_F(MDICaptionTest, TheModeButtonIsDrawnRaisedOrPushedWithTwoChevrons) {
    m_child->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    m_child->SendMessageW(WM_NCPAINT, 1, 0);
    auto* mode = Button(m_child->m_filters, SEC_FILTER_MODE_BUTTON);
    const CRect r = mode->m_rect;
    ASSERT_EQ(r.Size(), CSize(16, 14));
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    auto look = [&](bool pushed) {
        CWindowDC dc(m_child);
        return std::vector<COLORREF>{
            dc.GetPixel(r.left, r.top),                            // outer top-left edge
            dc.GetPixel(r.right - 1, r.bottom - 1),                // outer bottom-right edge
            dc.GetPixel(r.left + 6 + pushed, r.top + 2 + pushed),  // upper apex
            dc.GetPixel(r.left + 3 + pushed, r.top + 5 + pushed),  // upper chevron's left arm end
            dc.GetPixel(r.left + 6 + pushed, r.top + 10 + pushed), // lower apex
            dc.GetPixel(r.left + 3 + pushed, r.top + 6 + pushed),  // lower chevron's extra step
            dc.GetPixel(r.left + 7 + pushed, r.top + 6 + pushed),  // between the chevrons
        };
    };
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = ::GetSysColor(COLOR_3DDKSHADOW);
    EXPECT_EQ(look(false), (std::vector<COLORREF>{highlight, dark, text, text, text, text, face}));
    mode->m_nState |= DFCS_PUSHED;
    mode->DrawCaptionButton();
    EXPECT_EQ(look(true), (std::vector<COLORREF>{dark, highlight, text, text, text, text, face}));
}

TEST_F(MDICaptionTest, AMaximisedChildsButtonsSitInTheMenuRowAndCommandTheChild) {
    m_child->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    SECFrameFilterTree& f = m_frame->m_filters;
    m_frame->SendMessageW(WM_NCPAINT, 1, 0);
    EXPECT_TRUE(Button(f, SEC_CAPTION_CLOSE)->m_rect.IsRectEmpty()) << "nothing while no child is maximised";
    // Without a menu row the place below the caption is the client's: the buttons stay away.
    m_child->ShowWindow(SW_SHOWMAXIMIZED);
    Pump();
    m_frame->SendMessageW(WM_NCPAINT, 1, 0);
    EXPECT_TRUE(Button(f, SEC_CAPTION_CLOSE)->m_rect.IsRectEmpty()) << "no menu row";

    HMENU menu = ::CreateMenu();
    ::AppendMenuW(menu, MF_STRING, 100, u"&File");
    m_frame->SetMenu(CMenu::FromHandle(menu));
    Pump();
    m_frame->SendMessageW(WM_NCPAINT, 1, 0);
    const CRect close = Button(f, SEC_CAPTION_CLOSE)->m_rect;
    const CRect restore = Button(f, SEC_CAPTION_RESTORE)->m_rect;
    const CRect min = Button(f, SEC_CAPTION_MIN)->m_rect;
    const CRect mode = Button(f, SEC_FILTER_MAXCHILD_MODE_BUTTON)->m_rect;
    EXPECT_TRUE(Button(f, SEC_CAPTION_MAX)->m_rect.IsRectEmpty());
    const CSize size(::GetSystemMetrics(SM_CXMENUSIZE) - 2, ::GetSystemMetrics(SM_CYMENUSIZE) - 4);
    EXPECT_EQ(close.Size(), size);
    EXPECT_EQ(close.top, ::GetSystemMetrics(SM_CYFRAME) + 2 + ::GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(restore.right, close.left - 2);
    EXPECT_EQ(min.right, restore.left);
    EXPECT_EQ(mode.right, min.left - 2);

    // Pressed and released on the menu row's restore button: the child is restored, not the main window.
    const CPoint at = OnScreen(m_frame, restore).CenterPoint();
    EXPECT_TRUE(m_frame->SendMessageW(WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(at.x, at.y)) == 0);
    EXPECT_TRUE(Button(f, SEC_CAPTION_RESTORE)->m_bTracking);
    CPoint client = at;
    m_frame->ScreenToClient(&client);
    m_frame->SendMessageW(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    Pump();
    EXPECT_FALSE(m_child->IsZoomed());
    EXPECT_FALSE(m_frame->IsZoomed());

    // The mode button and a right double click there speak to the maximised child.
    m_child->ShowWindow(SW_SHOWMAXIMIZED);
    Pump();
    m_frame->SendMessageW(WM_NCPAINT, 1, 0);
    const CPoint modeAt = OnScreen(m_frame, Button(f, SEC_FILTER_MAXCHILD_MODE_BUTTON)->m_rect).CenterPoint();
    m_frame->SendMessageW(WM_NCRBUTTONDOWN, HTMENU, MAKELPARAM(modeAt.x, modeAt.y));
    m_frame->SendMessageW(WM_NCRBUTTONDBLCLK, HTMENU, MAKELPARAM(modeAt.x - 100, modeAt.y));
    ASSERT_EQ(m_child->sent.size(), 2u);
    EXPECT_EQ(m_child->sent[0].command, SCX_SHOWMODEMENU);
    EXPECT_EQ(m_child->sent[1].command, SCX_APPLYMODE);

    // Without its mode button on, the child shows none in the menu row.
    m_child->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES | SEC_CAPTION_CFG_NO_MODE_BUTTON);
    m_frame->SendMessageW(WM_NCPAINT, 1, 0);
    EXPECT_TRUE(Button(f, SEC_FILTER_MAXCHILD_MODE_BUTTON)->m_rect.IsRectEmpty());
    m_frame->SetMenu(nullptr);
    ::DestroyMenu(menu);
}

} // namespace
} // namespace docktest
