#include "chart/SRGraphTip.h"

#include "platform/display/SystemMetrics.h"
#include "platform/framework/CDC.h"

#include <gtest/gtest.h>

namespace {
CSize LineSize(LPCTSTR text) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(std::u16string(text).size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return size;
}
} // namespace

TEST(ChartTip, SizesToItsLinesAndKeepsOnTheScreen) {
    CRect screen;
    CWnd::GetDesktopWindow()->GetClientRect(&screen);
    const CSize widest = LineSize(u"bbbb");
    const int width = widest.cx + 4 * GetSystemMetrics(SM_CXBORDER);
    const int height = 3 * widest.cy + 4 * GetSystemMetrics(SM_CYBORDER);
    const struct {
        int x, y;
        CPoint topLeft;
    } cases[] = {
        {100, 300, CPoint(100, 300 - height - 5)},                             // above the point
        {screen.right - 2, 300, CPoint(screen.right - 2 - width, 300 - height - 5)}, // left of it at the edge
        {100, 3, CPoint(100, 3 + height + 5)},                                  // below it at the top
    };
    for (const auto& c : cases) {
        SRGraphTip tip;
        tip.SetAutoHideTime(0);
        tip.ShowFormat(c.x, c.y, nullptr, u"%s\n%s\n%s", u"a", u"bbbb", u"cc");
        ASSERT_TRUE(tip.IsShown());
        EXPECT_EQ(tip.GetText(), CString(u"a\nbbbb\ncc"));
        CRect r;
        tip.GetWindowRect(&r);
        EXPECT_EQ(r, CRect(c.topLeft, CSize(width, height))) << c.x << "," << c.y;
    }
}

TEST(ChartTip, HidesOnItsTimerAndWhenTheMouseComesOver) {
    SRGraphTip tip;
    tip.Show(u"PRN 12", 50, 200, nullptr);
    ASSERT_TRUE(tip.IsShown());
    tip.SendMessage(WM_TIMER, SRGraphTip::kHideTimer, 0);
    EXPECT_FALSE(tip.IsShown());
    EXPECT_EQ(tip.GetSafeHwnd(), nullptr);

    tip.Show(u"PRN 12", 50, 200, nullptr);
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_FALSE(tip.IsShown());
}
