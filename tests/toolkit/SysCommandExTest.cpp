// The window-mode menu and the caption clicks that send the extended system commands.
#include "platform/framework/FrameworkTestSupport.h"

#include "toolkit/SysCommandEx.h"

#include "platform/resources/Resources.h"

#include <string>
#include <vector>

using namespace nsSysCommandEx;

namespace {

// Picks "&Left" from the menu it is shown, instead of waiting for the user.
class ChoosingFilter : public ScxMsgFilter {
public:
    using ScxMsgFilter::ScxMsgFilter;
    SECMsgFilter* Clone() const override { return new ChoosingFilter(*this); }
    int TrackModeMenu(HMENU hMenu, const Record& record) override {
        shownAt = CPoint(record.x, record.y);
        return ::GetMenuItemCount(hMenu) == 6 ? ModeDockedLeft : 0;
    }
    static inline CPoint shownAt;
};

// A frame whose tree of filters sees the extended command, and which notes each one it receives.
class ModeFrame : public CFrameWnd {
public:
    ChoosingFilter m_root{this, -1};
    std::vector<std::pair<UINT, int>> commands; // command, target mode

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == GetMessageId()) {
            commands.emplace_back(static_cast<UINT>(wParam & 0xFFF0), reinterpret_cast<Record*>(lParam)->nTargetMode);
            LRESULT result = 0;
            m_root.FilterMessage(message, wParam, lParam, &result);
            return result;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

class SysCommandExTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        // The menu's texts come from the toolkit's string table in the program's resources.
        SetStringResourceLoader([](UINT id, std::u16string& text) {
            char16_t buffer[256] = {};
            const int length = ::LoadStringW(nullptr, id, reinterpret_cast<LPWSTR>(buffer), 256);
            text.assign(buffer, length > 0 ? static_cast<size_t>(length) : 0);
            return length > 0;
        });
        m_frame = new ModeFrame;
        ASSERT_TRUE(m_frame->Create(nullptr, u"Modes", WS_OVERLAPPEDWINDOW, CRect(50, 50, 450, 350)));
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_frame->DestroyWindow();
        SetStringResourceLoader(nullptr);
        fwtest::FrameworkTest::TearDown();
    }
    static std::u16string ItemText(HMENU hMenu, int pos) {
        char16_t text[64] = {};
        ::GetMenuStringW(hMenu, static_cast<UINT>(pos), reinterpret_cast<LPWSTR>(text), 64, MF_BYPOSITION);
        return text;
    }

    ModeFrame* m_frame = nullptr;
};

TEST_F(SysCommandExTest, TheModeMenuChecksTheCurrentModeAtBothLevels) {
    HMENU hMenu = m_frame->m_root.BuildModeMenu(m_frame, ModeDockedLeft);
    ASSERT_EQ(::GetMenuItemCount(hMenu), 6);
    const std::u16string top[] = {u"&Docked", u"&Floating", u"&MDI Child", u"", u"D&ocked to", u"MD&I Child as"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(ItemText(hMenu, i), top[i]) << i;
    }
    EXPECT_EQ(::GetMenuItemID(hMenu, 0), static_cast<UINT>(ModeDocked));
    EXPECT_TRUE(::GetMenuState(hMenu, 0, MF_BYPOSITION) & MF_CHECKED) << "the main mode";
    EXPECT_FALSE(::GetMenuState(hMenu, 2, MF_BYPOSITION) & MF_CHECKED);
    HMENU hSides = ::GetSubMenu(hMenu, 4);
    const int sides[] = {ModeDockedTop, ModeDockedLeft, ModeDockedBottom, ModeDockedRight};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(::GetMenuItemID(hSides, i), static_cast<UINT>(sides[i]));
        EXPECT_EQ((::GetMenuState(hSides, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0, i == 1) << i;
    }
    HMENU hChild = ::GetSubMenu(hMenu, 5);
    EXPECT_EQ(ItemText(hChild, 1), u"Ma&ximized");
    EXPECT_EQ(::GetMenuItemID(hChild, 1), static_cast<UINT>(ModeMDIMaximized));
    ::DestroyMenu(hMenu);

    const std::pair<int, int> mains[] = {{0, 0}, {1, 1}, {4, 1}, {5, 5}, {9, 5}, {10, 10}, {11, 0}};
    for (const auto& [mode, main] : mains) {
        EXPECT_EQ(MainMode(mode), main) << mode;
    }
}

TEST_F(SysCommandExTest, ARightClickOnTheCaptionOffersTheMenuAndAppliesTheChoice) {
    m_frame->m_root.AddChild(new ScxContextMenuFilter(m_frame, 261));
    CRect window;
    m_frame->GetWindowRect(&window);
    const UINT result =
        m_frame->m_root.FilterMessage(WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(window.left + 40, window.top + 8), nullptr);
    EXPECT_EQ(result, 15u);
    EXPECT_EQ(ChoosingFilter::shownAt, CPoint(window.left + 40, window.top + 8)) << "at the pointer";
    const std::vector<std::pair<UINT, int>> expected = {
        {SCX_SHOWMODEMENU, -1}, {SCX_GETMODEMENU, -1}, {SCX_APPLYMODE, ModeDockedLeft}};
    EXPECT_EQ(m_frame->commands, expected);
    // Elsewhere than on the caption the filter lets the message be.
    EXPECT_EQ(m_frame->m_root.FilterMessage(WM_NCRBUTTONUP, HTCLIENT, 0, nullptr), 0u);
}

TEST_F(SysCommandExTest, ARightDoubleClickOnTheCaptionAsksForTheDefaultMode) {
    m_frame->m_root.AddChild(new ScxCaptionNCRDBLClkFilter(m_frame, 259));
    EXPECT_EQ(m_frame->m_root.FilterMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, 0, nullptr), 15u);
    EXPECT_EQ(m_frame->commands, (std::vector<std::pair<UINT, int>>{{SCX_APPLYMODE, -1}}));
    EXPECT_EQ(m_frame->m_root.DefaultTargetMode(m_frame, ModeMDIRestored, Record{}), ModeDocked);
    EXPECT_EQ(m_frame->m_root.DefaultTargetMode(m_frame, ModeDockedTop, Record{}), ModeMDIChild);
}

} // namespace
