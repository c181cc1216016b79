// The toolkit's progress bar: where bar and background lie, the two-colour text, the timer and native mode.
#include "platform/framework/FrameworkTestSupport.h"

#include "toolkit/SECProgressCtrl.h"

#include <ostream>

namespace {

[[maybe_unused]] std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}

constexpr COLORREF kBar = RGB(0, 0, 255);
constexpr COLORREF kBack = RGB(255, 255, 255);

class ProgressTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        LPCTSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ASSERT_TRUE(
            m_parent.CreateEx(0, cls, u"Parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(
            m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 202, 22), &m_parent, 1, SEC_PROG_PERCENT));
    }
    void TearDown() override {
        m_progress.DestroyWindow();
        m_parent.DestroyWindow();
        fwtest::FrameworkTest::TearDown();
    }
    // The common control keeps a one-pixel edge: the client is 200 x 20.
    // Paints the control into a white 200 x 20 bitmap and hands back its pixels.
    template <typename Check>
    void Paint(Check check) {
        CClientDC screen(&m_parent);
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 200, 20));
        CBitmap* old = memory.SelectObject(&bitmap);
        memory.FillSolidRect(0, 0, 200, 20, RGB(1, 2, 3));
        m_progress.DoPaint(&memory);
        check(memory.GetSafeHdc());
        memory.SelectObject(old);
    }
    static int Count(HDC dc, const CRect& rc, COLORREF colour) {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                n += ::GetPixel(dc, x, y) == colour;
            }
        }
        return n;
    }

    CWnd m_parent;
    SECProgressCtrl m_progress;
};

TEST_F(ProgressTest, PercentAndRectanglesFollowRangeStyleAndPosition) {
    struct Case {
        int lower, upper, pos;
        DWORD style;
        double percent;
        CRect bar, background;
    };
    const Case cases[] = {
        {0, 100, 37, 0, 37.0, {0, 0, 74, 20}, {74, 0, 200, 20}},
        {5, 5, 5, 0, 0.0, {0, 0, 0, 20}, {0, 0, 200, 20}},           // equal bounds
        {0, 100, 250, 0, 100.0, {0, 0, 200, 20}, {200, 0, 200, 20}}, // beyond the upper bound
        {0, 100, -5, 0, 0.0, {0, 0, 0, 20}, {0, 0, 200, 20}},        // below the lower bound
        {10, 20, 15, SEC_PROG_RIGHTTOLEFT, 50.0, {100, 0, 200, 20}, {0, 0, 100, 20}},
        {0, 4, 1, SEC_PROG_VERTICAL, 25.0, {0, 15, 200, 20}, {0, 0, 200, 15}}, // fills upward
        {0, 4, 1, SEC_PROG_VERTICAL | SEC_PROG_TOPTOBOTTOM, 25.0, {0, 0, 200, 5}, {0, 5, 200, 20}},
    };
    for (const Case& c : cases) {
        m_progress.SetProgressStyle(c.style);
        m_progress.SetRange(c.lower, c.upper);
        m_progress.SetPos(c.pos);
        EXPECT_DOUBLE_EQ(m_progress.GetPercent(), c.percent) << c.pos;
        CRect bar, background;
        ASSERT_TRUE(m_progress.CalcRects(m_progress.GetPercent(), bar, background));
        EXPECT_EQ(bar, c.bar) << c.pos << " style " << c.style;
        EXPECT_EQ(background, c.background) << c.pos << " style " << c.style;
    }
}

TEST_F(ProgressTest, PercentTextChangesColourWhereTheBarEnds) {
    m_progress.SetColors(kBar, kBack);
    m_progress.SetPos(50);
    Paint([&](HDC dc) {
        const CRect bar(0, 0, 100, 20);
        const CRect background(100, 0, 200, 20);
        // The text straddles the bar's end: background-coloured over the bar, bar-coloured after it.
        EXPECT_GT(Count(dc, bar, kBack), 5);
        EXPECT_GT(Count(dc, background, kBar), 5);
        EXPECT_GT(Count(dc, bar, kBar), 100 * 20 - 200);
        EXPECT_EQ(Count(dc, CRect(0, 0, 200, 20), RGB(1, 2, 3)), 0) << "the whole client is drawn";
    });
    // Without a text style only the two areas are painted.
    m_progress.SetProgressStyle(0);
    Paint([&](HDC dc) {
        EXPECT_EQ(Count(dc, CRect(0, 0, 100, 20), kBar), 100 * 20);
        EXPECT_EQ(Count(dc, CRect(100, 0, 200, 20), kBack), 100 * 20);
    });
}

TEST_F(ProgressTest, TimerStepsPastTheUpperBoundAndStops) {
    m_progress.SetColors(kBar, kBack);
    m_progress.SetProgressStyle(0);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(95);
    EXPECT_EQ(m_progress.SetStep(10), 10);
    EXPECT_TRUE(m_progress.StartTimer(50));
    m_progress.SendMessageW(WM_TIMER, m_progress.GetTimerId());
    EXPECT_EQ(m_progress.GetPos(), 105);
    // At the bound the timer cannot be started again.
    EXPECT_FALSE(m_progress.StartTimer(50));
    EXPECT_TRUE(m_progress.StartTimer(0) == FALSE) << "at the bound even a stop reports the bound";
    Paint([&](HDC dc) { EXPECT_EQ(Count(dc, CRect(0, 0, 200, 20), kBar), 200 * 20); });
}

TEST_F(ProgressTest, CreateTwiceFailsAndNativeModeHandsThePositionToTheControl) {
    EXPECT_TRUE(m_progress.IsCreated());
    EXPECT_FALSE(m_progress.Create(WS_CHILD, CRect(0, 0, 10, 10), &m_parent, 2, 0));
    m_progress.SetRange(0, 50);
    m_progress.SetPos(20);
    m_progress.SetProgressStyle(SEC_PROG_NATIVE);
    EXPECT_EQ(static_cast<int>(m_progress.SendMessageW(PBM_GETPOS)), 20);
    m_progress.StepIt();
    EXPECT_EQ(m_progress.GetPos(), 30);
    EXPECT_EQ(static_cast<int>(m_progress.SendMessageW(PBM_GETPOS)), 30);
    EXPECT_EQ(m_progress.OffsetPos(-5), 30);
    EXPECT_EQ(static_cast<int>(m_progress.SendMessageW(PBM_GETPOS)), 25);
}

} // namespace
