// The framework's MDI frame and children: creation through the client, command routing to the active child,
// the active child's menu in the frame, and the Window menu's commands.
#include "FrameworkTestSupport.h"

#include <string>
#include <vector>

using namespace fwtest;

namespace {

constexpr UINT ID_TEST_SAVE = 0x8101;
constexpr UINT ID_TEST_FRAME_ONLY = 0x8102;

std::vector<std::string> g_calls;
int g_childrenAlive = 0;

class TestChild : public CMDIChildWnd {
public:
    explicit TestChild(std::string name) : m_name(std::move(name)) { ++g_childrenAlive; }
    ~TestChild() override { --g_childrenAlive; }
    void OnSave() { g_calls.push_back(m_name + " save"); }
    std::string m_name;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestChild, CMDIChildWnd)
ON_COMMAND(ID_TEST_SAVE, OnSave)
END_MESSAGE_MAP()

class TestMdiFrame : public CMDIFrameWnd {
public:
    void OnSave() { g_calls.push_back("frame save"); }
    void OnFrameOnly() { g_calls.push_back("frame only"); }
    void KeepMenuAsDefault() { m_hMenuDefault = ::GetMenu(m_hWnd); }
    void PostNcDestroy() override {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestMdiFrame, CMDIFrameWnd)
ON_COMMAND(ID_TEST_SAVE, OnSave)
ON_COMMAND(ID_TEST_FRAME_ONLY, OnFrameOnly)
END_MESSAGE_MAP()

HMENU MenuWithWindowPopup(const char16_t* first) {
    HMENU bar = ::CreateMenu();
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, ID_TEST_SAVE, u"&Save");
    HMENU window = ::CreatePopupMenu();
    ::AppendMenuW(window, MF_STRING, ID_WINDOW_CASCADE, u"&Cascade");
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), first);
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(window), u"&Window");
    ::AppendMenuW(bar, MF_STRING, 0x8200, u"&Help");
    return bar;
}

class MdiFrameTest : public FrameworkTest {
protected:
    void SetUp() override {
        g_calls.clear();
        frameMenu = MenuWithWindowPopup(u"&File");
        ASSERT_TRUE(frame.CreateEx(0, nullptr, u"Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                   frameMenu));
        frame.KeepMenuAsDefault();
        frame.SetActiveWindow();
    }
    void TearDown() override {
        if (frame.m_hWnd) {
            frame.DestroyWindow();
        }
        FrameworkTest::TearDown();
        EXPECT_EQ(g_childrenAlive, 0);
    }
    TestChild* NewChild(const std::string& name, HMENU shared) {
        auto* child = new TestChild(name);
        child->m_hMenuShared = shared;
        std::u16string title(name.begin(), name.end());
        EXPECT_TRUE(child->Create(nullptr, title.c_str(), WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW,
                                  CFrameWnd::rectDefault, &frame));
        return child;
    }

    TestMdiFrame frame;
    HMENU frameMenu = nullptr;
};

TEST_F(MdiFrameTest, ChildrenLiveInTheClientAndTheActiveOneGetsCommandsFirst) {
    ASSERT_NE(frame.m_hWndMDIClient, nullptr);
    EXPECT_EQ(::GetDlgCtrlID(frame.m_hWndMDIClient), AFX_IDW_PANE_FIRST);
    HMENU docMenu = MenuWithWindowPopup(u"&Document");
    TestChild* one = NewChild("one", docMenu);
    TestChild* two = NewChild("two", docMenu);
    EXPECT_EQ(::GetParent(one->m_hWnd), frame.m_hWndMDIClient);
    EXPECT_EQ(one->GetMDIFrame(), &frame);
    EXPECT_EQ(frame.MDIGetActive(), two);
    EXPECT_EQ(frame.GetActiveFrame(), two);

    frame.SendMessageW(WM_COMMAND, ID_TEST_SAVE, 0);
    frame.SendMessageW(WM_COMMAND, ID_TEST_FRAME_ONLY, 0);
    frame.MDIActivate(one);
    frame.SendMessageW(WM_COMMAND, ID_TEST_SAVE, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"two save", "frame only", "one save"}));

    // The active child's menu is the frame's, its Window popup lists the children.
    EXPECT_EQ(::GetMenu(frame.m_hWnd), docMenu);
    HMENU windowPopup = ::GetSubMenu(docMenu, 1);
    EXPECT_EQ(::GetMenuItemCount(windowPopup), 4); // Cascade, separator, one, two

    // The frame's Window commands arrange the children.
    frame.SendMessageW(WM_COMMAND, ID_WINDOW_TILE_VERT, 0);
    CRect a;
    CRect b;
    one->GetWindowRect(&a);
    two->GetWindowRect(&b);
    EXPECT_EQ(a.Width(), b.Width());
    EXPECT_NE(a.left, b.left);

    // Closing both gives the frame its own menu back; the objects go with their windows.
    one->MDIDestroy();
    EXPECT_EQ(frame.MDIGetActive(), two);
    two->SendMessageW(WM_CLOSE);
    EXPECT_EQ(frame.MDIGetActive(), nullptr);
    EXPECT_EQ(::GetMenu(frame.m_hWnd), frameMenu);
    EXPECT_EQ(g_childrenAlive, 0);
    ::DestroyMenu(docMenu);
}

TEST_F(MdiFrameTest, ANewChildComesUpMaximisedWhenTheActiveOneIs) {
    TestChild* one = NewChild("one", nullptr);
    one->MDIMaximize();
    BOOL maximized = FALSE;
    EXPECT_EQ(frame.MDIGetActive(&maximized), one);
    EXPECT_TRUE(maximized);
    auto* two = new TestChild("two");
    ASSERT_TRUE(two->Create(nullptr, u"two", WS_CHILD | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, &frame));
    two->ActivateFrame();
    EXPECT_EQ(frame.MDIGetActive(&maximized), two);
    EXPECT_TRUE(maximized);
    EXPECT_FALSE(one->IsZoomed());
}

TEST_F(MdiFrameTest, ChildCreationFailsWithoutAnMdiFrame) {
    auto* orphan = new TestChild("orphan");
    EXPECT_FALSE(orphan->Create(nullptr, u"orphan"));
    EXPECT_EQ(g_childrenAlive, 0);
}

} // namespace
