// The dialog bar: made from a template without its caption, hidden until shown when made hidden, its
// three sizes the dialog's, and a missing template refused.
#include "DockApp.h"
#include "DockAppIds.h"

#include "platform/framework/FrameworkTestSupport.h"

namespace dockapp {
namespace {

// The frame goes in TearDown, after the test's bars have left it.
class DialogBarTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_frame = OpenDockAppFrame();
        ASSERT_NE(m_frame, nullptr);
    }
    void TearDown() override {
        m_frame->DestroyWindow();
        fwtest::FrameworkTest::TearDown();
    }
    CWinApp m_app{u"DialogBarTest"};
    DockAppFrame* m_frame = nullptr;
};

TEST_F(DialogBarTest, MadeFromTheTemplateWithoutCaptionHiddenUntilShown) {
    DockAppFrame* frame = m_frame;
    SECDialogBar bar;
    ASSERT_TRUE(bar.Create(frame, IDD_DOCK_CONTROLS, WS_CHILD | CBRS_TOP, 0, 0xE840));
    EXPECT_FALSE(bar.IsWindowVisible());
    EXPECT_FALSE(bar.GetStyle() & WS_CAPTION);
    EXPECT_TRUE(bar.GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_EQ(bar.GetDlgCtrlID(), 0xE840);
    EXPECT_EQ(frame->GetControlBar(0xE840), &bar) << "the frame knows it as one of its bars";
    EXPECT_GT(bar.m_sizeDefault.cx, 0);
    EXPECT_EQ(bar.m_szHorzDock, bar.m_sizeDefault);
    EXPECT_EQ(bar.m_szVertDock, bar.m_sizeDefault);
    EXPECT_EQ(bar.m_szFloat, bar.m_sizeDefault);
    frame->ShowControlBar(&bar, TRUE, FALSE);
    EXPECT_TRUE(bar.IsWindowVisible());

    SECDialogBar missing;
    EXPECT_FALSE(missing.Create(frame, 4321, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, 0xE841));
    EXPECT_EQ(missing.m_hWnd, nullptr);
}

} // namespace
} // namespace dockapp
