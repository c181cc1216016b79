// The toolkit's control-bar base: sizes per docking state, proportional child layout, the inside rectangle
// and the border colours.
#include "platform/framework/FrameworkTestSupport.h"

#include "toolkit/SECControlBar.h"

namespace {

class ControlBarTest : public fwtest::FrameworkTest {
protected:
    void SetUp() override {
        LPCTSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ASSERT_TRUE(
            m_parent.CreateEx(0, cls, u"Parent", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
    }
    void TearDown() override {
        if (m_bar.GetSafeHwnd()) {
            m_bar.DestroyWindow();
        }
        m_parent.DestroyWindow();
        fwtest::FrameworkTest::TearDown();
    }
    CWnd m_parent;
    SECControlBar m_bar;
};

TEST_F(ControlBarTest, DynamicLayoutCommitsTheLengthToTheDockingStatesSize) {
    ASSERT_TRUE(m_bar.Create(&m_parent, u"Bar", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 0, 100));
    EXPECT_EQ(m_bar.m_szHorzDock, CSize(300, 180)) << "every size starts at the default";
    m_bar.m_fProportion = 0.5f;
    struct Case {
        int length;
        DWORD mode;
        CSize horz, vert, floating;
    };
    const Case cases[] = {
        {200, LM_COMMIT | LM_STRETCH | LM_HORZDOCK | LM_HORZ, {100, 180}, {300, 180}, {300, 180}},
        {200, LM_COMMIT | LM_HORZDOCK | LM_LENGTHY | LM_HORZ, {100, 200}, {300, 180}, {300, 180}},
        {90, LM_COMMIT | LM_VERTDOCK, {100, 200}, {90, 180}, {300, 180}},
        {77, LM_COMMIT, {100, 200}, {90, 180}, {77, 180}},
        {55, LM_COMMIT | LM_LENGTHY, {100, 200}, {90, 180}, {77, 55}},
        {999, LM_HORZDOCK | LM_HORZ, {100, 200}, {90, 180}, {77, 55}}, // without commit nothing is stored
    };
    for (const Case& c : cases) {
        CSize result = m_bar.CalcDynamicLayout(c.length, c.mode);
        EXPECT_EQ(m_bar.m_szHorzDock, c.horz) << c.mode;
        EXPECT_EQ(m_bar.m_szVertDock, c.vert) << c.mode;
        EXPECT_EQ(m_bar.m_szFloat, c.floating) << c.mode;
        CSize expected = (c.mode & LM_HORZDOCK) ? c.horz : (c.mode & LM_VERTDOCK) ? c.vert : c.floating;
        EXPECT_EQ(result, expected) << c.mode;
    }
    EXPECT_EQ(m_bar.m_nMRUWidth, 77u);
}

TEST_F(ControlBarTest, ChildrenKeepTheirProportionsOrTheFirstFillsTheBar) {
    ASSERT_TRUE(
        m_bar.CreateEx(nullptr, u"Bar", 100, WS_CHILD | WS_VISIBLE, 0, CRect(0, 0, 100, 40), &m_parent));
    CWnd child;
    LPCTSTR cls = AfxRegisterWndClass(0);
    ASSERT_TRUE(child.Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 30), &m_bar, 1));
    m_bar.SetExStyle(CBRS_EX_STRETCH_ON_SIZE, FALSE);
    m_bar.SetWindowPos(nullptr, 0, 0, 200, 80, SWP_NOZORDER | SWP_NOMOVE);
    CRect rect;
    child.GetWindowRect(&rect);
    m_bar.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(20, 20, 120, 60));

    m_bar.SetExStyle(CBRS_EX_SIZE_TO_FIT, FALSE);
    m_bar.SetWindowPos(nullptr, 0, 0, 150, 50, SWP_NOZORDER | SWP_NOMOVE);
    child.GetWindowRect(&rect);
    m_bar.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(0, 0, 150, 50));

    // With margins the children sit inside them.
    m_bar.SetExStyle(CBRS_EX_SIZE_TO_FIT | CBRS_EX_BORDERSPACE, FALSE);
    m_bar.SetWindowPos(nullptr, 0, 0, 160, 60, SWP_NOZORDER | SWP_NOMOVE);
    child.GetWindowRect(&rect);
    m_bar.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(10, 10, 150, 50));
    CRect inside;
    m_bar.GetInsideRect(inside);
    EXPECT_EQ(inside, CRect(10, 10, 150, 50));
}

TEST_F(ControlBarTest, FlatBordersTakeOnePixelAndTheGripperItsWidth) {
    ASSERT_TRUE(m_bar.Create(&m_parent, u"Bar", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_ANY,
                             CBRS_EX_FLATSTYLE | CBRS_EX_GRIPPER, 100));
    m_bar.m_cxLeftBorder = m_bar.m_cxRightBorder = 2;
    m_bar.m_cyTopBorder = m_bar.m_cyBottomBorder = 3;
    CRect rect(0, 0, 100, 30);
    m_bar.CalcInsideRect(rect, TRUE, FALSE);
    EXPECT_EQ(rect, CRect(1 + 17, 1 + 3, 100 - 1 - 2, 30 - 1 - 3));
    rect = CRect(0, 0, 30, 100);
    m_bar.CalcInsideRect(rect, FALSE, TRUE);
    EXPECT_EQ(rect, CRect(1 + 3, 1 + 17, 30 - 1 - 3, 100 - 1 - 2));
    m_bar.SetExStyle(CBRS_EX_FLATSTYLE, FALSE);
    rect = CRect(0, 0, 100, 30);
    m_bar.CalcInsideRect(rect, TRUE, FALSE);
    EXPECT_EQ(rect.left, 1 + 2) << "without a gripper the left border";
}

TEST_F(ControlBarTest, BordersAreButtonFaceUnlessColouredBordersAreAsked) {
    ASSERT_TRUE(
        m_bar.Create(&m_parent, u"Bar", WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_TOP, 0, 100));
    auto topLine = [&](DWORD exStyle, CRect& rect) {
        m_bar.SetExStyle(exStyle, FALSE);
        CClientDC screen(&m_parent);
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, 50, 10);
        CBitmap* old = memory.SelectObject(&bitmap);
        memory.FillSolidRect(0, 0, 50, 10, RGB(1, 2, 3));
        rect = CRect(0, 0, 50, 10);
        m_bar.DrawBorders(&memory, rect);
        COLORREF colour = ::GetPixel(memory.GetSafeHdc(), 20, 0);
        memory.SelectObject(old);
        return colour;
    };
    CRect rect;
    EXPECT_EQ(topLine(0, rect), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(rect, CRect(0, SECGetToolkitMetrics().cyBorder, 50, 10));
    EXPECT_EQ(topLine(CBRS_EX_COOLBORDERS, rect), ::GetSysColor(COLOR_BTNSHADOW));
}

} // namespace
