// Dockable frames in a docking-aware MDI frame without children: numbered captions of frames showing one
// document, another showing frame taking over when the active one closes, and the frame bar's answer to a
// click while it floats; the caption's buttons.
#include "platform/framework/FrameworkTestSupport.h"

#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "toolkit/SECDocTemplateUtils.h"
#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECFrameBar.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/ScxButtonMsgFilter.h"
#include "toolkit/SysCommandEx.h"

#include "platform/display/DisplayBackend.h"

namespace {

class PaneView : public CView {
    DECLARE_DYNCREATE(PaneView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PaneView, CView)

// Hears the extended system commands that reach a frame's filters unhandled.
class CommandRecorder : public SECMsgFilter {
public:
    explicit CommandRecorder(std::vector<UINT>& sent) : m_sent(sent) {}
    UINT ProcessMessage(UINT message, WPARAM wParam, LPARAM, LRESULT*) override {
        if (message == nsSysCommandEx::GetMessageId()) {
            m_sent.push_back(static_cast<UINT>(wParam & 0xFFF0));
        }
        return 0;
    }
    std::vector<UINT>& m_sent;
};

class DockableFrameTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_template = new CSingleDocTemplate(0, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(SECDockableFrame),
                                            RUNTIME_CLASS(PaneView));
        m_app.AddDocTemplate(m_template);
        m_doc = new CDocument;
        m_doc->m_bAutoDelete = FALSE;
        m_doc->SetTitle(u"Notes");
        m_template->AddDocument(m_doc);
        m_frame = new SECMDIFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600)));
        m_app.m_pMainWnd = m_frame;
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_app.m_pMainWnd->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        m_template->RemoveDocument(m_doc);
        delete m_doc;
        fwtest::FrameworkTest::TearDown();
    }
    // A frame with a view of the document in a new bar docked at the bottom.
    SECDockableFrame* AddPane(UINT nBarID) {
        auto* pane = new SECDockableFrame;
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(PaneView);
        context.m_pCurrentDoc = m_doc;
        if (!pane->CreateInBar(m_frame, 0, nBarID, &context)) {
            delete pane;
            return nullptr;
        }
        pane->InitialUpdateFrame(m_doc, TRUE);
        m_frame->DockControlBarEx(pane->GetHostBar(), {0, 0, 0}, AFX_IDW_DOCKBAR_BOTTOM, 0.5f, 120);
        return pane;
    }
    CString Caption(CWnd* wnd) {
        CString text;
        wnd->GetWindowTextW(text);
        return text;
    }

    CWinApp m_app{u"DockableFrameTest"};
    CSingleDocTemplate* m_template = nullptr;
    CDocument* m_doc = nullptr;
    SECMDIFrameWnd* m_frame = nullptr;
};

TEST_F(DockableFrameTest, FramesShowingOneDocumentAreNumberedAfterItsTitle) {
    SECDockableFrame* first = AddPane(0xE900);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::u16string(Caption(first).GetString()), u"Notes");
    SECDockableFrame* second = AddPane(0xE901);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::u16string(Caption(first).GetString()), u"Notes:1");
    EXPECT_EQ(std::u16string(Caption(second).GetString()), u"Notes:2");
    SECDocTemplateUtils utils;
    EXPECT_TRUE(utils.IsDockableFrameClass(first->GetRuntimeClass()));
    EXPECT_FALSE(utils.IsDockableFrameClass(RUNTIME_CLASS(SECFrameWnd)));
}

// With no MDI child showing, closing the active frame makes another showing one active; one whose bar is
// hidden does not count, and then nothing is active.
TEST_F(DockableFrameTest, ClosingTheActiveFrameHandsOnToAnotherShowingOne) {
    for (bool otherShows : {true, false}) {
        SECDockableFrame* closing = AddPane(0xE900);
        SECDockableFrame* other = AddPane(0xE901);
        ASSERT_TRUE(closing && other);
        m_frame->ShowControlBar(other->GetHostBar(), otherShows, FALSE);
        m_frame->SetActiveDockableFrame(closing);
        ASSERT_EQ(m_frame->GetActiveDockableFrame(), closing);
        closing->DestroyWindow();
        EXPECT_EQ(m_frame->GetActiveDockableFrame(), otherShows ? other : nullptr) << otherShows;
        other->DestroyWindow();
        EXPECT_EQ(m_frame->GetActiveDockableFrame(), nullptr);
    }
}

TEST_F(DockableFrameTest, AFloatingFrameBarClickedActivatesItsFloatingFrame) {
    SECDockableFrame* pane = AddPane(0xE900);
    ASSERT_NE(pane, nullptr);
    CControlBar* bar = pane->GetHostBar();
    m_frame->FloatControlBarEx(bar, 300, 200);
    ASSERT_TRUE(bar->IsFloating());
    const LRESULT answer = bar->SendMessageW(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(m_frame->m_hWnd),
                                             MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(answer, MA_ACTIVATE);
    EXPECT_EQ(CWnd::GetActiveWindow(), bar->GetTopLevelParent());
    pane->DestroyWindow();
}

// A docked frame's caption (no system menu, so no standard buttons): the window-mode button at its right
// end, in the tool window's sizes; a click on the mode button makes the frame active and gives the command
// instead of dragging the bar.
TEST_F(DockableFrameTest, TheModeButtonOnADockedFramesCaptionGivesItsCommand) {
    DisplayUseTestClock(50000);
    SECDockableFrame* pane = AddPane(0xE900);
    ASSERT_NE(pane, nullptr);
    pane->ConfigureCaptionButtons(SEC_CAPTION_CFG_MODES);
    std::vector<UINT> sent;
    pane->m_filters.Root().AddChild(new CommandRecorder(sent));
    pane->SendMessageW(WM_NCPAINT, 1, 0);
    auto* close = dynamic_cast<SECCaptionControlMsgFilter*>(pane->m_filters.Find(SEC_CAPTION_CLOSE));
    auto* mode =
        dynamic_cast<nsSysCommandEx::ScxButtonMsgFilter*>(pane->m_filters.Find(SEC_FILTER_MODE_BUTTON));
    ASSERT_TRUE(close && mode);
    EXPECT_EQ(mode->m_rect.Size(),
              CSize(::GetSystemMetrics(SM_CXSMSIZE) - 2, ::GetSystemMetrics(SM_CYSMSIZE) - 4));
    CRect window;
    pane->GetWindowRect(&window);
    CRect caption;
    mode->GetCaptionRect(caption);
    EXPECT_EQ(mode->m_rect.right, caption.right - 2);
    EXPECT_TRUE(close->m_rect.IsRectEmpty());

    const CPoint at = mode->m_rect.CenterPoint() + window.TopLeft();
    CRect barBefore;
    pane->GetHostBar()->GetWindowRect(&barBefore);
    DisplayInjectMouse(WM_LBUTTONDOWN, at);
    DisplayInjectMouse(WM_LBUTTONUP, at);
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), pane);
    EXPECT_EQ(sent, std::vector<UINT>{nsSysCommandEx::SCX_APPLYMODE});
    CRect barAfter;
    pane->GetHostBar()->GetWindowRect(&barAfter);
    EXPECT_EQ(barAfter, barBefore);
    EXPECT_FALSE(pane->GetHostBar()->IsFloating());
}

} // namespace
