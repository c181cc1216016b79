// The multiple-document docking application's documents moved between the window forms by the window-mode
// command: an MDI child docked, floated and made a child again keeps its view, its document and its text;
// and documents docked when the frame closes leave no bars behind in the saved layout.
#include "DockAppDocuments.h"
#include "DockAppMdi.h"

#include "platform/framework/FrameworkTestSupport.h"
#include "toolkit/SECDocTemplateUtils.h"
#include "toolkit/SysCommandEx.h"

namespace dockapp {
namespace {

using namespace nsSysCommandEx;

class DockAppDocumentsTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_app.WriteProfileInt(u"DockApp MDI Layout-Summary", u"Bars", 0); // no saved layout: the default
        Open();
    }
    void TearDown() override {
        if (m_frame) {
            m_frame->DestroyWindow();
        }
        m_app.m_pMainWnd = nullptr;
        fwtest::FrameworkTest::TearDown();
    }
    void Open() {
        m_frame = OpenDockAppMdiFrame();
        ASSERT_NE(m_frame, nullptr);
    }
    // The window-mode command for the view's frame, as the frame's filters carry it out when the mode menu,
    // the mode button or a caption click sends it; whether a frame resulted.
    static LRESULT SwitchMode(CView* view, int mode) {
        CFrameWnd* frame = view->GetParentFrame();
        Record record;
        record.hWnd = frame->m_hWnd;
        record.nTargetMode = mode;
        ScxMsgFilter filter(frame, 257);
        LRESULT result = FALSE;
        filter.FilterMessage(GetMessageId(), SCX_APPLYMODE, reinterpret_cast<LPARAM>(&record), &result);
        return result;
    }

    CWinApp m_app{u"DockApp"};
    DockAppMdiFrame* m_frame = nullptr;
};

TEST_F(DockAppDocumentsTest, ADocumentGoesDockedFloatingAndBackToAChildWithItsViewAndText) {
    ASSERT_EQ(m_frame->m_documents.size(), 3u);
    CView* view = m_frame->m_documents.front()->GetActiveView();
    ASSERT_NE(view, nullptr);
    auto* note = dynamic_cast<NoteDocument*>(view->GetDocument());
    ASSERT_NE(note, nullptr);
    const CString text = note->m_text;
    SECMultiDocTemplate* pTemplate = DocumentTemplate();

    ASSERT_TRUE(SwitchMode(view, -1)) << "the default from a child: docked";
    auto* docked = dynamic_cast<SECDockableFrame*>(view->GetParentFrame());
    ASSERT_NE(docked, nullptr);
    EXPECT_EQ(pTemplate->GetDockSide(docked), SECMultiDocTemplate::sideBottom);
    EXPECT_EQ(m_frame->m_documents.size(), 2u) << "the child is gone";
    EXPECT_TRUE(SECIsFullyVisible(view));
    CString caption;
    docked->GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Survey"));
    // The docked document does not cover the documents' area.
    CRect bar;
    CRect client;
    CRect overlap;
    docked->GetHostBar()->GetWindowRect(&bar);
    ::GetWindowRect(m_frame->m_hWndMDIClient, &client);
    EXPECT_FALSE(overlap.IntersectRect(&bar, &client));

    ASSERT_TRUE(SwitchMode(view, ModeFloating));
    EXPECT_EQ(pTemplate->GetDockSide(view->GetParentFrame()), SECMultiDocTemplate::sideFloating);
    EXPECT_TRUE(SECIsFullyVisible(view));

    ASSERT_TRUE(SwitchMode(view, ModeMDIChild));
    ASSERT_EQ(m_frame->m_documents.size(), 3u);
    DocumentFrame* child = m_frame->m_documents.back();
    EXPECT_EQ(child->GetActiveView(), view);
    EXPECT_EQ(m_frame->MDIGetActive(), child);
    EXPECT_EQ(view->GetDocument(), note);
    EXPECT_EQ(note->m_text, text);
    child->GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Survey"));
    EXPECT_EQ(m_frame->GetControlBar(0xEA00), nullptr) << "the docked form's bar went with it";
}

TEST_F(DockAppDocumentsTest, DocumentsDockedAtCloseLeaveNoBarsInTheNextLayout) {
    CView* view = m_frame->m_documents.back()->GetActiveView();
    ASSERT_TRUE(SwitchMode(view, ModeDockedLeft));
    ASSERT_NE(m_frame->GetControlBar(0xEA00), nullptr);
    m_frame->SendMessageW(WM_CLOSE);
    fwtest::DrainQueue();
    Open();
    EXPECT_EQ(m_frame->GetControlBar(0xEA00), nullptr);
    EXPECT_EQ(m_frame->m_documents.size(), 3u);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 3);
}

} // namespace
} // namespace dockapp
