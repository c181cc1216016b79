#include "FrameworkTestSupport.h"

#include "platform/display/MessageBox.h"

#include <string>
#include <vector>

using namespace fwtest;

namespace {

#define IDR_TESTFRAME 300
#define ID_TEST_ROUTE 400
#define ID_TEST_ONLY_APP 401
#define ID_TEST_DOC_DISABLES 402
#define ID_TEST_CHECKED 403
#define ID_TEST_NO_HANDLER 404
#define ID_TEST_COMMAND_ONLY 405
#define ID_TEST_CONTINUE 406
#define IDW_TEST_BAR 0xE810

std::vector<std::string> g_events;

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(u"FrameworkTest") {}
    BOOL OnRoute(UINT) {
        g_events.push_back("app");
        return FALSE;
    }
    void OnOnlyApp() { g_events.push_back("app only"); }
    void OnUpdateContinue(CCmdUI* ui) {
        g_events.push_back("app update");
        ui->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
ON_COMMAND(ID_TEST_ONLY_APP, OnOnlyApp)
ON_COMMAND(ID_TEST_COMMAND_ONLY, OnOnlyApp)
ON_UPDATE_COMMAND_UI(ID_TEST_CONTINUE, OnUpdateContinue)
END_MESSAGE_MAP()

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)

public:
    TestDoc() { g_events.push_back("doc constructed"); }
    ~TestDoc() override { g_events.push_back("doc destroyed"); }
    BOOL OnNewDocument() override {
        g_events.push_back("doc new");
        return CDocument::OnNewDocument();
    }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_text << m_number;
        } else {
            ar >> m_text >> m_number;
        }
    }
    BOOL OnRoute(UINT) {
        g_events.push_back("doc");
        return FALSE;
    }
    void OnUpdateDisables(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
    void OnUpdateContinue(CCmdUI* ui) {
        g_events.push_back("doc update");
        ui->ContinueRouting(); // lets the targets after this one decide
    }
    CString m_text;
    int m_number = 0;
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TestDoc, CDocument)

BEGIN_MESSAGE_MAP(TestDoc, CDocument)
ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
ON_UPDATE_COMMAND_UI(ID_TEST_DOC_DISABLES, OnUpdateDisables)
ON_UPDATE_COMMAND_UI(ID_TEST_CHECKED, OnUpdateChecked)
ON_UPDATE_COMMAND_UI(ID_TEST_CONTINUE, OnUpdateContinue)
END_MESSAGE_MAP()

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)

public:
    TestView() { g_events.push_back("view constructed"); }
    ~TestView() override { g_events.push_back("view destroyed"); }
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override {
        g_events.push_back(std::string("view initial update, doc ") + (GetDocument() ? "set" : "missing"));
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* sender, LPARAM hint, CObject* object) override {
        if (hint != 0) {
            g_events.push_back("view update " + std::to_string(hint));
        }
        CView::OnUpdate(sender, hint, object);
    }
    int OnCreate(LPCREATESTRUCT cs) {
        g_events.push_back("view created");
        return CView::OnCreate(cs);
    }
    BOOL OnRoute(UINT) {
        g_events.push_back("view");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TestView, CView)

BEGIN_MESSAGE_MAP(TestView, CView)
ON_WM_CREATE()
ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
END_MESSAGE_MAP()

// A bar along the top edge: takes 20 pixels in the layout and updates its child controls at idle time,
// against the frame, as the framework's bars do.
class TestBar : public CWnd {
public:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        RECT r{layout->rect.left, layout->rect.top, layout->rect.right, layout->rect.top + 20};
        layout->rect.top += 20;
        AfxRepositionWindow(layout, m_hWnd, &r);
        return 0;
    }
    LRESULT OnIdleUpdate(WPARAM, LPARAM) {
        if (CFrameWnd* frame = GetParentFrame()) {
            UpdateDialogControls(frame, TRUE);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

// A check-box stand-in: answers as a button and keeps the check state it is given.
class CheckControl : public CWnd {
public:
    int check = -1;
    UINT OnGetDlgCode() { return DLGC_BUTTON; }
    LRESULT OnSetCheck(WPARAM w, LPARAM) {
        check = static_cast<int>(w);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CheckControl, CWnd)
ON_WM_GETDLGCODE()
ON_MESSAGE(0x00F1, OnSetCheck)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)

public:
    TestFrame() { g_events.push_back("frame constructed"); }
    ~TestFrame() override { g_events.push_back("frame destroyed"); }
    int OnCreate(LPCREATESTRUCT cs) {
        g_events.push_back("frame created");
        return CFrameWnd::OnCreate(cs);
    }
    BOOL OnRoute(UINT) {
        g_events.push_back("frame");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND_EX(ID_TEST_ROUTE, OnRoute)
END_MESSAGE_MAP()

class DocViewTest : public FrameworkTest {
protected:
    void SetUp() override {
        g_events.clear();
        SetStringResourceLoader([](UINT id, std::u16string& text) {
            if (id != IDR_TESTFRAME) {
                return false;
            }
            text = u"Test App\nReceiver\nReceiver\n\n\nTest.Document\nTest Document";
            return true;
        });
        m_previousResponder = DisplaySetMessageBoxResponder(
            [this](HWND, const std::u16string&, const std::u16string& text, UINT) {
                m_boxes.push_back(text);
                return m_boxAnswer;
            });
        m_app.m_nCmdShow = SW_SHOWNORMAL;
        m_app.AddDocTemplate(new CSingleDocTemplate(IDR_TESTFRAME, RUNTIME_CLASS(TestDoc),
                                                    RUNTIME_CLASS(TestFrame), RUNTIME_CLASS(TestView)));
    }
    void TearDown() override {
        if (m_app.m_pMainWnd) {
            m_app.m_pMainWnd->DestroyWindow();
        }
        m_app.CloseAllDocuments(TRUE);
        FrameworkTest::TearDown();
        DisplaySetMessageBoxResponder(m_previousResponder);
        SetStringResourceLoader(nullptr);
    }
    TestDoc* NewDocument() {
        m_app.OnFileNew();
        POSITION pos = m_app.GetFirstDocTemplatePosition();
        CDocTemplate* tmpl = m_app.GetNextDocTemplate(pos);
        POSITION docPos = tmpl->GetFirstDocPosition();
        return docPos ? static_cast<TestDoc*>(tmpl->GetNextDoc(docPos)) : nullptr;
    }

    TestApp m_app;
    MessageBoxResponder m_previousResponder;
    std::vector<std::u16string> m_boxes;
    int m_boxAnswer = IDNO;
};

TEST_F(DocViewTest, SingleDocumentTemplateCreatesDocumentThenFrameThenView) {
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    std::vector<std::string> expected = {
        "doc constructed", "frame constructed",           "frame created", "view constructed", "view created",
        "doc new",         "view initial update, doc set"};
    EXPECT_EQ(g_events, expected);

    auto* frame = dynamic_cast<TestFrame*>(m_app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    CView* view = frame->GetActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), doc);
    EXPECT_EQ(frame->GetActiveDocument(), doc);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(view->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    // The title comes from the template's string: the document name, then the application's.
    EXPECT_EQ(doc->GetTitle(), CString(u"Receiver"));
    CString title;
    frame->GetWindowTextW(title);
    EXPECT_EQ(title, CString(u"Receiver - Test App"));

    // A second "new" reuses the document and the frame.
    g_events.clear();
    m_app.OnFileNew();
    EXPECT_EQ(g_events, (std::vector<std::string>{"doc new", "view initial update, doc set"}));
}

TEST_F(DocViewTest, UpdateAllViewsSkipsTheSender) {
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = doc->GetNextView(pos);
    EXPECT_EQ(pos, nullptr);
    g_events.clear();
    doc->UpdateAllViews(nullptr, 7);
    doc->UpdateAllViews(view, 8);
    EXPECT_EQ(g_events, std::vector<std::string>{"view update 7"});
}

TEST_F(DocViewTest, CommandsRouteViewDocumentFrameApplication) {
    ASSERT_NE(NewDocument(), nullptr);
    g_events.clear();
    CWnd* frame = m_app.m_pMainWnd;
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_ROUTE, 0), 0);
    EXPECT_EQ(g_events, (std::vector<std::string>{"view", "doc", "frame", "app"}));

    g_events.clear();
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_ONLY_APP, 0), 0);
    EXPECT_EQ(g_events, std::vector<std::string>{"app only"});
    // Disabled by the document's update handler: the command does not run.
    g_events.clear();
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_DOC_DISABLES, 0), 0);
    EXPECT_TRUE(g_events.empty());
}

TEST_F(DocViewTest, IdleUpdateEnablesAndChecksBarControlsAndLaysOutTheBar) {
    ASSERT_NE(NewDocument(), nullptr);
    auto* frame = static_cast<CFrameWnd*>(m_app.m_pMainWnd);
    LPCTSTR cls = AfxRegisterWndClass(0);
    TestBar bar;
    ASSERT_TRUE(bar.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, IDW_TEST_BAR));
    CWnd disabled;
    CheckControl checked;
    CWnd noHandler;
    CWnd commandOnly;
    CWnd continued;
    ASSERT_TRUE(
        disabled.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &bar, ID_TEST_DOC_DISABLES));
    ASSERT_TRUE(checked.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(5, 0, 10, 5), &bar, ID_TEST_CHECKED));
    ASSERT_TRUE(
        noHandler.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(10, 0, 15, 5), &bar, ID_TEST_NO_HANDLER));
    ASSERT_TRUE(
        commandOnly.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(15, 0, 20, 5), &bar, ID_TEST_COMMAND_ONLY));
    ASSERT_TRUE(
        continued.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(20, 0, 25, 5), &bar, ID_TEST_CONTINUE));
    g_events.clear();

    EXPECT_TRUE(m_app.OnIdle(0));
    EXPECT_FALSE(disabled.IsWindowEnabled());
    EXPECT_EQ(checked.check, 1);
    EXPECT_FALSE(noHandler.IsWindowEnabled()); // nobody would run it
    EXPECT_TRUE(commandOnly.IsWindowEnabled());
    EXPECT_FALSE(continued.IsWindowEnabled());
    EXPECT_EQ(g_events, (std::vector<std::string>{"doc update", "app update"}));
    EXPECT_FALSE(m_app.OnIdle(1));

    // Measuring gives the space left for the view without moving anything.
    CRect left;
    frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &left);
    CRect clientNow;
    frame->GetClientRect(&clientNow);
    EXPECT_EQ(left, CRect(0, 20, clientNow.right, clientNow.bottom));

    frame->RecalcLayout();
    CRect client;
    frame->GetClientRect(&client);
    CRect barRect;
    bar.GetWindowRect(&barRect);
    frame->ScreenToClient(&barRect);
    EXPECT_EQ(barRect, CRect(0, 0, client.Width(), 20));
    CRect viewRect;
    frame->GetActiveView()->GetWindowRect(&viewRect);
    frame->ScreenToClient(&viewRect);
    EXPECT_EQ(viewRect.top, 20);
    EXPECT_EQ(viewRect.bottom, client.bottom);
}

TEST_F(DocViewTest, DocumentRoundTripsThroughItsFile) {
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->m_text = u"Sekunde \u00e4";
    doc->m_number = -31;
    doc->SetModifiedFlag();
    std::u16string path = ScratchPath("doc.bin");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    EXPECT_FALSE(doc->IsModified());

    doc->m_text.Empty();
    doc->m_number = 0;
    TestDoc* reopened = static_cast<TestDoc*>(m_app.OpenDocumentFile(path.c_str()));
    ASSERT_EQ(reopened, doc); // the single document is reused
    EXPECT_EQ(doc->m_text, CString(u"Sekunde \u00e4"));
    EXPECT_EQ(doc->m_number, -31);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), CString(path.c_str()));

    // A missing file fails with a message and leaves the document as it was.
    std::u16string missing = ScratchPath("missing.bin");
    EXPECT_FALSE(doc->OnOpenDocument(missing.c_str()));
    EXPECT_EQ(m_boxes.size(), 1u);
}

TEST_F(DocViewTest, ClosingTheMainFrameAsksAboutChangesAndEndsTheLoop) {
    TestDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    HWND frame = m_app.m_pMainWnd->m_hWnd;
    doc->SetModifiedFlag();

    m_boxAnswer = IDCANCEL;
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(m_boxes.size(), 1u);
    EXPECT_TRUE(::IsWindow(frame));

    m_boxAnswer = IDNO;
    g_events.clear();
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string>{"view destroyed", "frame destroyed", "doc destroyed"}));
    MSG msg{};
    bool quit = false;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        quit = quit || msg.message == WM_QUIT;
    }
    EXPECT_TRUE(quit);
}

} // namespace
