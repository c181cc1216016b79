#include "grid/CGXPluginComponent.h"
#include "platform/framework/Framework.h"
#include "tests/grid/GridTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A plug-in that logs the clicks it sees and sets the flags it is told to.
class ClickPlugin : public CGXPluginComponent {
public:
    ClickPlugin(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}

    BOOL setExit = FALSE;
    BOOL setSkip = FALSE;

protected:
    void OnLButtonDown(UINT, CPoint point) {
        m_log.push_back(m_name + " " + std::to_string(point.x));
        exitMessage = setExit;
        skipDefault = setSkip;
    }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

BEGIN_MESSAGE_MAP(ClickPlugin, CGXPluginComponent)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class PluginComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), u"", WS_OVERLAPPED, 0, 0, 50, 40, nullptr,
                                    nullptr));
    }
    void TearDown() override {
        if (::IsWindow(window.m_hWnd)) {
            window.DestroyWindow();
        }
        AfxDeleteTempMaps();
    }

    CWnd window;
    std::vector<std::string> log;
};

TEST_F(PluginComponentTest, RoutingStopsWhereAPluginSaysSo) {
    struct Case {
        const char* what;
        BOOL firstExits;
        BOOL firstSkips;
        std::vector<std::string> seen;
        BOOL windowSkips;
    };
    const Case cases[] = {
        {"neither flag", FALSE, FALSE, {"first 7", "second 7"}, FALSE},
        {"exit", TRUE, FALSE, {"first 7"}, FALSE},
        {"skip the default", FALSE, TRUE, {"first 7"}, TRUE},
    };
    for (const Case& c : cases) {
        ClickPlugin first("first", log);
        ClickPlugin second("second", log);
        ASSERT_TRUE(first.PlugIn(&window));
        ASSERT_TRUE(second.PlugIn(&window));
        EXPECT_EQ(first.m_hWnd, window.m_hWnd);
        first.setExit = c.firstExits;
        first.setSkip = c.firstSkips;
        log.clear();
        LRESULT result = 0;
        EXPECT_EQ(RoutePluginMessage({&first, &second}, WM_LBUTTONDOWN, 0, MAKELPARAM(7, 3), &result),
                  c.windowSkips)
            << c.what;
        EXPECT_EQ(log, c.seen) << c.what;
    }
    // A message no plug-in handles passes by.
    ClickPlugin only("only", log);
    only.PlugIn(&window);
    LRESULT result = 0;
    EXPECT_FALSE(only.HandleMessage(WM_USER + 5, 0, 0, &result));
    EXPECT_FALSE(RoutePluginMessage({&only}, WM_USER + 5, 0, 0, &result));
}

TEST_F(PluginComponentTest, DestroyingAPluginLeavesTheWindow) {
    auto plugin = std::make_unique<ClickPlugin>("p", log);
    plugin->PlugIn(&window);
    plugin.reset();
    EXPECT_TRUE(::IsWindow(window.m_hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);

    ClickPlugin unplugged("u", log);
    unplugged.PlugIn(nullptr);
    EXPECT_EQ(unplugged.m_hWnd, nullptr);
}

} // namespace
