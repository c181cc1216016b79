// Message filters: the tree (stop bit, descriptors switching filters, clones) and the toolkit's caption
// buttons (which show for which frame styles and states, and a click that becomes a system command).
#include "platform/framework/FrameworkTestSupport.h"

#include "toolkit/SECCaptionControlMsgFilter.h"

#include <string>
#include <vector>

namespace {

// Answers a fixed result and counts its calls.
class CountingFilter : public SECMsgFilter {
    DECLARE_DYNCREATE(CountingFilter)

public:
    CountingFilter() = default;
    CountingFilter(int nID, UINT nAnswer) : SECMsgFilter(nullptr, nID), m_nAnswer(nAnswer) {}
    SECMsgFilter* Clone() const override { return new CountingFilter(*this); }
    UINT ProcessMessage(UINT, WPARAM, LPARAM, LRESULT*) override {
        ++m_nCalls;
        return m_nAnswer;
    }
    UINT m_nAnswer = 0;
    int m_nCalls = 0;
};
IMPLEMENT_DYNCREATE(CountingFilter, SECMsgFilter)

TEST(MsgFilterTree, ChildrenAreAskedInOrderUntilOneSaysStop) {
    SECMsgFilter root;
    auto* first = new CountingFilter(1, 2);
    auto* stopper = new CountingFilter(2, SEC_FILTER_HANDLED | SEC_FILTER_STOP);
    auto* last = new CountingFilter(3, 4);
    root.AddChild(first);
    root.AddChild(stopper);
    root.AddChild(last);
    EXPECT_EQ(root.FilterMessage(WM_NCPAINT, 0, 0, nullptr), 2u | SEC_FILTER_HANDLED | SEC_FILTER_STOP);
    EXPECT_EQ(last->m_nCalls, 0);
    stopper->m_bEnabled = FALSE;
    EXPECT_EQ(root.FilterMessage(WM_NCPAINT, 0, 0, nullptr), 6u) << "a disabled child is skipped";
    root.m_bEnabled = FALSE;
    EXPECT_EQ(root.FilterMessage(WM_NCPAINT, 0, 0, nullptr), 0u);
}

TEST(MsgFilterTree, DescriptorsMakeFiltersAndTurningOffSparesTheKeptOnes) {
    SECMsgFilter root;
    const SECMsgFilter::DescriptorTable table = {
        {256, -1, RUNTIME_CLASS(CountingFilter), 0},
        {257, 256, RUNTIME_CLASS(CountingFilter), 1}, // kept on
        {258, 256, RUNTIME_CLASS(CountingFilter), 0},
        {300, 999, RUNTIME_CLASS(CountingFilter), 0}, // no such parent
    };
    root.ApplyDescriptorTable(table, TRUE);
    SECMsgFilter* parent = root.FindFilter(256, nullptr, 0);
    ASSERT_TRUE(parent);
    EXPECT_EQ(parent->m_children.size(), 2u);
    EXPECT_EQ(root.FindFilter(258, nullptr, 0), nullptr) << "a depth of 0 looks at the children only";
    ASSERT_TRUE(root.FindFilter(258));
    EXPECT_EQ(root.FindFilter(300), nullptr);

    root.ApplyDescriptorTable(table, FALSE);
    EXPECT_FALSE(parent->m_bEnabled);
    EXPECT_TRUE(root.FindFilter(257)->m_bEnabled);
    EXPECT_FALSE(root.FindFilter(258)->m_bEnabled);

    std::unique_ptr<SECMsgFilter> copy(root.Clone());
    ASSERT_TRUE(copy->FindFilter(257));
    EXPECT_NE(copy->FindFilter(257), root.FindFilter(257)) << "a deep copy";
    EXPECT_TRUE(dynamic_cast<CountingFilter*>(copy->FindFilter(258)));
}

class CaptionButtonTest : public fwtest::FrameworkTest {
protected:
    void TearDown() override {
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        fwtest::FrameworkTest::TearDown();
    }
    // The buttons the list shows for a frame of that style and show state, in the list's order, with their
    // inactive look.
    std::vector<std::pair<int, bool>> Shown(DWORD style, DWORD exStyle, int show) {
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        m_frame = new CFrameWnd;
        EXPECT_TRUE(m_frame->Create(nullptr, u"Caption", style, CRect(50, 50, 450, 350), nullptr, nullptr, exStyle));
        m_frame->ShowWindow(show);
        m_list = std::make_unique<SECCaptionControlListMsgFilter>(m_frame, -1);
        m_list->LayoutButtons();
        std::vector<std::pair<int, bool>> shown;
        for (SECMsgFilter* pChild : m_list->m_children) {
            auto* pButton = static_cast<SECCaptionControlMsgFilter*>(pChild);
            if (!pButton->m_rect.IsRectEmpty()) {
                shown.emplace_back(pButton->m_nID, (pButton->m_nState & DFCS_INACTIVE) != 0);
            }
        }
        return shown;
    }

    CFrameWnd* m_frame = nullptr;
    std::unique_ptr<SECCaptionControlListMsgFilter> m_list;
};

TEST_F(CaptionButtonTest, WhichButtonsShowForEachStyleAndState) {
    using ShownList = std::vector<std::pair<int, bool>>;
    const DWORD caption = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
    struct Case {
        const char* name;
        DWORD style;
        DWORD exStyle;
        int show;
        ShownList shown;
    } cases[] = {
        {"help without boxes", caption | WS_SYSMENU, WS_EX_CONTEXTHELP, SW_SHOW,
         {{SEC_CAPTION_CLOSE, false}, {SEC_CAPTION_HELP, false}}},
        {"both boxes, maximised", caption | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, SW_SHOWMAXIMIZED,
         {{SEC_CAPTION_CLOSE, false}, {SEC_CAPTION_RESTORE, false}, {SEC_CAPTION_MIN, false}}},
        {"both boxes, normal", caption | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, SW_SHOW,
         {{SEC_CAPTION_CLOSE, false}, {SEC_CAPTION_MAX, false}, {SEC_CAPTION_MIN, false}}},
        {"maximise box only", caption | WS_SYSMENU | WS_MAXIMIZEBOX, 0, SW_SHOW,
         {{SEC_CAPTION_CLOSE, false}, {SEC_CAPTION_MAX, false}, {SEC_CAPTION_MIN, true}}},
        {"tool window", caption | WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_TOOLWINDOW, SW_SHOW, {{SEC_CAPTION_CLOSE, false}}},
        {"no system menu", caption | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, SW_SHOW, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shown(c.style, c.exStyle, c.show), c.shown) << c.name;
    }
}

TEST_F(CaptionButtonTest, ClickingCloseTracksItAndPostsTheSystemCommand) {
    Shown(WS_OVERLAPPEDWINDOW, 0, SW_SHOW);
    auto* pClose = static_cast<SECCaptionControlMsgFilter*>(m_list->FindFilter(SEC_CAPTION_CLOSE));
    CRect window;
    m_frame->GetWindowRect(&window);
    CPoint pt = pClose->m_rect.CenterPoint() + window.TopLeft();
    EXPECT_EQ(m_list->FilterMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y), nullptr) & 7u, 7u);
    EXPECT_TRUE(pClose->m_bTracking);
    EXPECT_TRUE(pClose->m_nState & DFCS_PUSHED);
    EXPECT_EQ(CWnd::GetCapture(), m_frame);
    CPoint client = pt;
    m_frame->ScreenToClient(&client);
    m_list->FilterMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y), nullptr);
    EXPECT_FALSE(pClose->m_bTracking);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, m_frame->m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(SC_CLOSE));

    // Pressed elsewhere in the caption, the buttons let the frame have it.
    EXPECT_EQ(m_list->FilterMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 30, pt.y), nullptr), 0u);
}

} // namespace
