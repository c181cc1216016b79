#include "FrameworkTestSupport.h"

#include "platform/display/MessageBox.h"

#include <string>
#include <vector>

using namespace fwtest;

namespace {

#define IDR_LOOP 500
#define WM_LOOP_EATEN (WM_APP + 7)

std::vector<std::string> g_loop;

class LoopDoc : public CDocument {
    DECLARE_DYNCREATE(LoopDoc)
};
IMPLEMENT_DYNCREATE(LoopDoc, CDocument)

class LoopView : public CView {
    DECLARE_DYNCREATE(LoopView)

public:
    void OnDraw(CDC*) override {}
    LRESULT OnEaten(WPARAM, LPARAM) {
        g_loop.push_back("view got the eaten message");
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(LoopView, CView)
BEGIN_MESSAGE_MAP(LoopView, CView)
ON_MESSAGE(WM_LOOP_EATEN, OnEaten)
END_MESSAGE_MAP()

// Takes one message before it is dispatched, as accelerators and dialog navigation do.
class LoopFrame : public CFrameWnd {
    DECLARE_DYNCREATE(LoopFrame)

public:
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_LOOP_EATEN) {
            g_loop.push_back(
                std::string("frame pretranslated, from ") +
                (CWnd::FromHandlePermanent(pMsg->hwnd) == GetActiveView() ? "view" : "elsewhere"));
            return TRUE;
        }
        return CFrameWnd::PreTranslateMessage(pMsg);
    }
};
IMPLEMENT_DYNCREATE(LoopFrame, CFrameWnd)

class LoopApp : public CWinApp {
public:
    LoopApp() : CWinApp(u"Loop") {}
    BOOL InitInstance() override {
        AddDocTemplate(new CSingleDocTemplate(IDR_LOOP, RUNTIME_CLASS(LoopDoc), RUNTIME_CLASS(LoopFrame),
                                              RUNTIME_CLASS(LoopView)));
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (!ProcessShellCommand(info)) {
            return FALSE;
        }
        g_loop.push_back("initialised");
        CView* view = static_cast<CFrameWnd*>(m_pMainWnd)->GetActiveView();
        view->PostMessageW(WM_LOOP_EATEN);
        return TRUE;
    }
    BOOL OnIdle(LONG count) override {
        if (idles.size() < 8) {
            idles.push_back(count);
        }
        if (count == 1 && m_pMainWnd && !exitPosted) {
            // Leave through the menu command, as a user would.
            m_pMainWnd->PostMessageW(WM_COMMAND, ID_APP_EXIT);
            exitPosted = true;
        }
        return CWinApp::OnIdle(count);
    }
    int ExitInstance() override {
        g_loop.push_back(std::string("exit, main window ") + (m_pMainWnd ? "left" : "gone"));
        return CWinApp::ExitInstance() + 100;
    }
    std::vector<LONG> idles;
    bool exitPosted = false;
};

using RunLoopTest = FrameworkTest;

TEST_F(RunLoopTest, WinMainRunsTheLoopWithIdlePassesUntilTheMainFrameCloses) {
    g_loop.clear();
    LoopApp app;
    char arg0[] = "loop";
    char* argv[] = {arg0};
    EXPECT_EQ(AfxWinMain(1, argv), 100);
    std::vector<std::string> expected = {"initialised", "frame pretranslated, from view",
                                         "exit, main window gone"};
    EXPECT_EQ(g_loop, expected);
    ASSERT_GE(app.idles.size(), 2u);
    EXPECT_EQ(app.idles[0], 0);
    EXPECT_EQ(app.idles[1], 1);
    EXPECT_EQ(app.GetOpenDocumentCount(), 0);
}

class ThrowingWnd : public CWnd {
public:
    bool failCreate = false;
    int OnCreate(LPCREATESTRUCT cs) {
        if (failCreate) {
            throw new CUserException;
        }
        return CWnd::OnCreate(cs);
    }
    LRESULT OnBoom(WPARAM, LPARAM) { throw new CNotSupportedException; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingWnd, CWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_USER + 9, OnBoom)
END_MESSAGE_MAP()

TEST_F(RunLoopTest, ExceptionsFromHandlersAreReportedAndStopAtTheWindowProcedure) {
    CWinApp app(u"Loop");
    std::vector<std::u16string> boxes;
    MessageBoxResponder previous = DisplaySetMessageBoxResponder(
        [&boxes](HWND, const std::u16string&, const std::u16string& text, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    LPCTSTR cls = AfxRegisterWndClass(0);
    {
        ThrowingWnd failing;
        failing.failCreate = true;
        EXPECT_FALSE(failing.CreateEx(0, cls, u"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
        EXPECT_EQ(failing.m_hWnd, nullptr);
        EXPECT_TRUE(boxes.empty()); // the user exception was reported by whoever threw it
    }
    ThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, cls, u"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(::SendMessageW(wnd.m_hWnd, WM_USER + 9, 0, 0), 0);
    EXPECT_EQ(boxes.size(), 1u);
    DisplaySetMessageBoxResponder(previous);
}

} // namespace
