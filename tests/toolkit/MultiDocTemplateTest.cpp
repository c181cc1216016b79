// The toolkit's multiple-document template: new views in MDI children, docked or floating dockable frames;
// a view moved between the forms with its document and its state; the forms switched by the extended
// system command as the window-mode menu and caption clicks send it.
#include "platform/framework/FrameworkTestSupport.h"

#include "platform/framework/CDocument.h"
#include "platform/framework/CView.h"
#include "toolkit/SECDocTemplateUtils.h"
#include "toolkit/SECDockableFrame.h"
#include "toolkit/SECMDIFrameWnd.h"
#include "toolkit/SECMultiDocTemplate.h"
#include "toolkit/SysCommandEx.h"

using namespace nsSysCommandEx;

namespace {

class TextDoc : public CDocument {
    DECLARE_DYNCREATE(TextDoc)
};
IMPLEMENT_DYNCREATE(TextDoc, CDocument)

constexpr UINT ID_TEXT_REFRESH = 0x8300;

// A view with state of its own that a re-created view would not have.
class TextView : public CView {
    DECLARE_DYNCREATE(TextView)
public:
    void OnDraw(CDC*) override {}
    void OnRefresh() { ++m_nRefreshes; }
    CString m_typed;
    int m_nRefreshes = 0;
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TextView, CView)

BEGIN_MESSAGE_MAP(TextView, CView)
ON_COMMAND(ID_TEXT_REFRESH, OnRefresh)
END_MESSAGE_MAP()

class MultiDocTemplateTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        m_template = new SECMultiDocTemplate(320, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(SECMDIChildWnd),
                                             RUNTIME_CLASS(TextView));
        m_template->m_strDocStrings = u"\nText\nText\n\n\n\n";
        m_template->m_hMenuDockable = ::CreateMenu();
        m_app.AddDocTemplate(m_template);
        m_frame = new SECMDIFrameWnd;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 900, 700)));
        m_app.m_pMainWnd = m_frame;
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_app.CloseAllDocuments(TRUE);
        m_frame->DestroyWindow();
        m_app.m_pMainWnd = nullptr;
        fwtest::FrameworkTest::TearDown();
    }
    // A new document with its view's own text set.
    TextView* OpenText(const char16_t* typed) {
        CDocument* doc = m_template->OpenDocumentFile(nullptr);
        if (!doc) {
            return nullptr;
        }
        POSITION pos = doc->GetFirstViewPosition();
        auto* view = static_cast<TextView*>(doc->GetNextView(pos));
        view->m_typed = typed;
        return view;
    }
    // Sends the window-mode command for `frame` through the filter that carries it out; pResult's answer.
    LRESULT Apply(CFrameWnd* frame, int target, Record record = Record{}) {
        record.hWnd = frame->m_hWnd;
        record.nTargetMode = target;
        ScxMsgFilter filter(frame, 257);
        LRESULT result = -1;
        m_handled = filter.FilterMessage(GetMessageId(), SCX_APPLYMODE, reinterpret_cast<LPARAM>(&record), &result);
        return result;
    }
    static int ViewCount(CDocument* doc) {
        int count = 0;
        for (POSITION pos = doc->GetFirstViewPosition(); pos; doc->GetNextView(pos)) {
            ++count;
        }
        return count;
    }

    CWinApp m_app{u"MultiDocToolkitTest"};
    SECMultiDocTemplate* m_template = nullptr;
    SECMDIFrameWnd* m_frame = nullptr;
    UINT m_handled = 0;
};

TEST_F(MultiDocTemplateTest, NewViewsComeInTheFormAskedForWithTheSharedMenu) {
    EXPECT_TRUE(SECHasMultiDocTemplate());
    TextView* child = OpenText(u"a");
    ASSERT_NE(child, nullptr);
    EXPECT_NE(dynamic_cast<SECMDIChildWnd*>(child->GetParentFrame()), nullptr);

    m_template->m_nNewForm = SECMultiDocTemplate::formDocked;
    TextView* docked = OpenText(u"b");
    ASSERT_NE(docked, nullptr);
    auto* frame = dynamic_cast<SECDockableFrame*>(docked->GetParentFrame());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(m_template->GetDockSide(frame), SECMultiDocTemplate::sideBottom) << "the first default place";
    EXPECT_EQ(frame->m_hMenu, m_template->m_hMenuDockable);
    EXPECT_EQ(frame->GetFrameResourceID(), 320u);
    CString caption;
    frame->GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Text2"));
    SECDocTemplateUtils utils;
    EXPECT_EQ(utils.FindTemplate(docked->GetDocument(), docked, frame), m_template);
    EXPECT_EQ(utils.GetTemplateFrameClass(m_template, TRUE), RUNTIME_CLASS(SECDockableFrame));

    m_template->m_nNewForm = SECMultiDocTemplate::formFloating;
    TextView* floating = OpenText(u"c");
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(m_template->GetDockSide(floating->GetParentFrame()), SECMultiDocTemplate::sideFloating);

    // The shared menu is the template's: it outlives the frames.
    m_app.CloseAllDocuments(TRUE);
    EXPECT_TRUE(::IsMenu(m_template->m_hMenuDockable));
}

TEST_F(MultiDocTemplateTest, TheTemplatesAcceleratorsWorkWhileADockedFrameHasTheFocus) {
    ACCEL f5{FVIRTKEY, VK_F5, static_cast<WORD>(ID_TEXT_REFRESH)};
    m_template->m_hAccelDockable = ::CreateAcceleratorTableW(&f5, 1);
    m_template->m_nNewForm = SECMultiDocTemplate::formDocked;
    TextView* view = OpenText(u"r");
    ASSERT_NE(view, nullptr);
    CFrameWnd* frame = view->GetParentFrame();
    EXPECT_EQ(frame->GetDefaultAccelerator(), m_template->m_hAccelDockable);
    m_frame->SetActiveDockableFrame(frame);
    view->SetFocus();
    MSG key{view->m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {}};
    EXPECT_TRUE(frame->PreTranslateMessage(&key));
    EXPECT_EQ(view->m_nRefreshes, 1);
    ::DestroyAcceleratorTable(m_template->m_hAccelDockable);
    m_template->m_hAccelDockable = nullptr;
}

TEST_F(MultiDocTemplateTest, ToggleMovesTheViewItselfBetweenChildAndDockedFrame) {
    TextView* view = OpenText(u"typed here");
    ASSERT_NE(view, nullptr);
    CDocument* doc = view->GetDocument();
    CFrameWnd* child = view->GetParentFrame();
    const HWND childWnd = child->m_hWnd;

    CFrameWnd* docked = m_template->ToggleFrame(child);
    ASSERT_NE(docked, nullptr);
    EXPECT_FALSE(::IsWindow(childWnd)) << "the child is gone";
    EXPECT_EQ(view->GetParentFrame(), docked);
    EXPECT_EQ(docked->GetActiveView(), view);
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(ViewCount(doc), 1);
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), docked);
    EXPECT_EQ(m_template->GetDockSide(docked), SECMultiDocTemplate::sideBottom);

    CFrameWnd* back = m_template->ToggleFrame(docked);
    ASSERT_NE(back, nullptr);
    EXPECT_NE(dynamic_cast<SECMDIChildWnd*>(back), nullptr);
    EXPECT_EQ(view->GetParentFrame(), back);
    EXPECT_EQ(view->m_typed, CString(u"typed here"));
    EXPECT_EQ(m_frame->MDIGetActive(), back);
    EXPECT_EQ(m_frame->GetActiveDockableFrame(), nullptr);
    EXPECT_EQ(m_frame->GetControlBar(0xEA00), nullptr) << "the docked frame's bar went with it";
    CString caption;
    back->GetWindowTextW(caption);
    EXPECT_EQ(caption, CString(u"Text1"));

    // Nothing to move: no view, or not a frame of either form.
    auto* empty = new SECMDIChildWnd;
    ASSERT_TRUE(empty->LoadFrame(0, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_frame, nullptr));
    EXPECT_EQ(m_template->ToggleFrame(empty), nullptr);
    EXPECT_EQ(m_template->ToggleFrame(nullptr), nullptr);
    empty->DestroyWindow();
}

TEST_F(MultiDocTemplateTest, DockFramePlacesAChildOrADockedFrameOnTheSideAsked) {
    TextView* view = OpenText(u"x");
    ASSERT_NE(view, nullptr);
    const SECDockPos pos{0, 0, SECDockPos::newRow};
    const SECDockSize size{1.0f, CSize(210, 0)};
    CFrameWnd* left = m_template->DockFrame(view->GetParentFrame(), AFX_IDW_DOCKBAR_LEFT, &pos, &size);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(view->GetParentFrame(), left);
    EXPECT_EQ(m_template->GetDockSide(left), SECMultiDocTemplate::sideLeft);
    auto* bar = static_cast<SECDockableFrame*>(left)->GetHostBar();
    EXPECT_EQ(bar->m_dwStyle & CBRS_ALIGN_ANY, static_cast<DWORD>(CBRS_ALIGN_LEFT));
    CRect rect;
    bar->GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 210);

    EXPECT_EQ(m_template->DockFrame(left, AFX_IDW_DOCKBAR_TOP), left) << "a docked frame stays itself";
    EXPECT_EQ(m_template->GetDockSide(left), SECMultiDocTemplate::sideTop);
    EXPECT_EQ(m_template->DockFrame(left, 1234), nullptr) << "not a dock bar";
    EXPECT_EQ(m_template->GetDockSide(left), SECMultiDocTemplate::sideTop);
}

TEST_F(MultiDocTemplateTest, TheModeCommandSwitchesFormsAndTheViewSurvivesEach) {
    TextView* view = OpenText(u"kept");
    ASSERT_NE(view, nullptr);
    struct Step {
        int target;
        int side; // the dock side after it; -1: an MDI child
        bool maximised;
    };
    const Step steps[] = {
        {-1, SECMultiDocTemplate::sideBottom, false},       // the default from a child: docked
        {ModeDockedTop, SECMultiDocTemplate::sideTop, false},
        {ModeDockedLeft, SECMultiDocTemplate::sideLeft, false},
        {ModeFloating, SECMultiDocTemplate::sideFloating, false},
        {ModeDocked, SECMultiDocTemplate::sideLeft, false}, // docked again where it was
        {-1, -1, false},                                    // the default from a docked frame: child
        {ModeFloating, SECMultiDocTemplate::sideFloating, false},
        {ModeMDIMaximized, -1, true},
        {ModeMDIRestored, -1, false},
    };
    for (const Step& step : steps) {
        CFrameWnd* before = view->GetParentFrame();
        EXPECT_EQ(Apply(before, step.target), TRUE) << step.target;
        EXPECT_EQ(m_handled & 15u, 15u);
        CFrameWnd* after = view->GetParentFrame();
        ASSERT_NE(after, nullptr);
        EXPECT_EQ(view->m_typed, CString(u"kept"));
        EXPECT_EQ(ViewCount(view->GetDocument()), 1);
        if (step.side < 0) {
            EXPECT_NE(dynamic_cast<SECMDIChildWnd*>(after), nullptr) << step.target;
            EXPECT_EQ(after->IsZoomed() != FALSE, step.maximised) << step.target;
        } else {
            EXPECT_EQ(m_template->GetDockSide(after), step.side) << step.target;
        }
    }
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 1);
}

TEST_F(MultiDocTemplateTest, AFloatingFrameComesUpWhereTheChildWasAndTheRecordCanPlaceIt) {
    TextView* view = OpenText(u"p");
    ASSERT_NE(view, nullptr);
    CFrameWnd* child = view->GetParentFrame();
    child->SetWindowPos(nullptr, 40, 30, 300, 200, SWP_NOZORDER);
    CRect was;
    child->GetWindowRect(&was);
    ASSERT_EQ(Apply(child, ModeFloating), TRUE);
    CFrameWnd* floating = view->GetParentFrame()->GetParentFrame();
    CRect now;
    floating->GetWindowRect(&now);
    EXPECT_EQ(now.TopLeft(), was.TopLeft());

    Record place;
    place.dwFlags = 1;
    place.x = 120;
    place.y = 90;
    ASSERT_EQ(Apply(view->GetParentFrame(), ModeFloating, place), TRUE);
    floating->GetWindowRect(&now);
    EXPECT_EQ(now.TopLeft(), CPoint(120, 90));
}

TEST_F(MultiDocTemplateTest, ACommandWithoutATemplateOrAViewChangesNothing) {
    auto* plain = new SECMDIChildWnd;
    ASSERT_TRUE(plain->LoadFrame(0, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, m_frame, nullptr));
    EXPECT_EQ(Apply(plain, ModeDocked), FALSE);
    EXPECT_EQ(m_handled, 0u);
    EXPECT_TRUE(::IsWindow(plain->m_hWnd));
    plain->DestroyWindow();
    // A side that is no mode is refused by a frame that has a template.
    TextView* view = OpenText(u"q");
    ASSERT_NE(view, nullptr);
    CFrameWnd* child = view->GetParentFrame();
    EXPECT_EQ(Apply(child, 42), FALSE);
    EXPECT_EQ(view->GetParentFrame(), child);
}

} // namespace
