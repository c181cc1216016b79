// Finding document templates: by registry type name and place, by view, frame and resource id; and
// whether a window shows through all the windows it sits in.
#include "platform/framework/FrameworkTestSupport.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "toolkit/SECControlBar.h"
#include "toolkit/SECDocTemplateUtils.h"

namespace {

class NoteView : public CView {
    DECLARE_DYNCREATE(NoteView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(NoteView, CView)

class DocTemplateUtilsTest : public fwtest::FrameworkTest {
protected:
    // Templates that differ in resource id only, with the registry type name `type`.
    CSingleDocTemplate* AddTemplate(UINT id, const char16_t* type) {
        auto* t = new CSingleDocTemplate(id, RUNTIME_CLASS(CDocument), RUNTIME_CLASS(CFrameWnd),
                                         RUNTIME_CLASS(NoteView));
        t->m_strDocStrings = CString(u"\n\n\n\n\n\n") + type;
        m_app.AddDocTemplate(t);
        return t;
    }
    CWinApp m_app{u"TemplateTest"};
};

TEST_F(DocTemplateUtilsTest, TemplatesAreCountedWithinTheirTypeName) {
    CSingleDocTemplate* a = AddTemplate(301, u"Log");
    CSingleDocTemplate* other = AddTemplate(302, u"Chart");
    CSingleDocTemplate* b = AddTemplate(303, u"Log");
    SECDocTemplateUtils utils;
    EXPECT_EQ(utils.GetTemplateIndex(a, u"Log"), 0);
    EXPECT_EQ(utils.GetTemplateIndex(b, u"Log"), 1);
    EXPECT_EQ(utils.GetTemplateIndex(other, u"Chart"), 0);
    EXPECT_EQ(utils.GetTemplateIndex(nullptr, u"Log"), -1);
    EXPECT_EQ(utils.GetTemplateByIndex(u"Log", 0), a);
    EXPECT_EQ(utils.GetTemplateByIndex(u"Log", 1), b);
    EXPECT_EQ(utils.GetTemplateByIndex(u"Log", 5), b) << "fewer than asked: the last";
    EXPECT_EQ(utils.GetTemplateByIndex(u"Sky", 0), nullptr);
}

TEST_F(DocTemplateUtilsTest, TheFramesResourceIdTellsApartTemplatesThatDifferInNothingElse) {
    AddTemplate(301, u"Log");
    CSingleDocTemplate* second = AddTemplate(302, u"Log");
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->LoadFrame(302, WS_OVERLAPPEDWINDOW));
    CDocument doc;
    auto* view = new NoteView;
    ASSERT_TRUE(view->Create(nullptr, u"", WS_CHILD, CRect(0, 0, 10, 10), frame, AFX_IDW_PANE_FIRST));
    SECDocTemplateUtils utils;
    EXPECT_EQ(utils.FindTemplate(&doc, view, frame), second);
    EXPECT_EQ(utils.FindTemplate(&doc, nullptr, frame), nullptr);
    frame->DestroyWindow();
}

TEST_F(DocTemplateUtilsTest, AWindowInAHiddenBarIsNotFullyVisible) {
    LPCTSTR cls = AfxRegisterWndClass(0);
    CWnd parent;
    ASSERT_TRUE(
        parent.CreateEx(0, cls, u"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    SECControlBar bar;
    ASSERT_TRUE(bar.Create(&parent, u"Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, 0xE850));
    CWnd child;
    ASSERT_TRUE(child.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &bar, 1));
    EXPECT_TRUE(SECIsFullyVisible(&child));
    bar.DelayShow(FALSE); // hidden as far as the bar is concerned, WS_VISIBLE still set
    EXPECT_TRUE(bar.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(SECIsFullyVisible(&child));
    EXPECT_FALSE(SECIsFullyVisible(nullptr));
    child.DestroyWindow();
    bar.DestroyWindow();
    parent.DestroyWindow();
}

} // namespace
