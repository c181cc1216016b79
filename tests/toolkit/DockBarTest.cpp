// The toolkit dock bar: rows shared by proportion, splitters and their limits, the placeholder a floating
// bar leaves, insertion by row and column, and the floating frame's menu.
#include "DockTestSupport.h"

#include "toolkit/SECMiniDockFrameWnd.h"

namespace docktest {
namespace {

using DockBarTest = DockTest;

TEST_F(DockBarTest, SizingBarsShareTheirRowByProportionLessTheSplitter) {
    SECControlBar* a = AddBar(u"A");
    SECControlBar* b = AddBar(u"B");
    ASSERT_TRUE(a && b);
    m_frame->DockControlBarEx(a, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.3f, 120);
    m_frame->DockControlBarEx(b, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.7f, 80);
    m_frame->RecalcLayout();
    CRect client;
    m_frame->GetClientRect(&client);
    const int length = client.Width() - SECDockBar::kSplitterSize;
    CRect ra = InDockBar(a);
    CRect rb = InDockBar(b);
    EXPECT_EQ(ra.Width(), static_cast<int>(length * 0.3f));
    EXPECT_EQ(rb.left, ra.right + SECDockBar::kSplitterSize);
    EXPECT_EQ(rb.right, client.Width()) << "the last sizing bar reaches the end of the row";
    EXPECT_EQ(ra.Height(), 120) << "the row is as thick as its thickest bar";
    EXPECT_EQ(rb.Height(), 120);
    EXPECT_EQ(ra.top, SECDockBar::kEdgeSize) << "an etched edge on the outer side";

    // One splitter between the bars, one between the row and the views.
    SECDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
    int inRow = 0;
    int rows = 0;
    for (const auto& s : top->Splitters()) {
        (s->m_bInRow ? inRow : rows)++;
        if (s->m_bInRow) {
            EXPECT_EQ(s->m_rect, CRect(ra.right, ra.top, rb.left, ra.bottom));
        } else {
            EXPECT_EQ(s->m_rect.top, ra.bottom);
        }
    }
    EXPECT_EQ(inRow, 1);
    EXPECT_EQ(rows, 1);
    CRect dockRect;
    top->GetWindowRect(&dockRect);
    EXPECT_EQ(dockRect.Height(), SECDockBar::kEdgeSize + 120 + SECDockBar::kSplitterSize);

    // A bar alone in its row takes all of it.
    m_frame->ShowControlBar(b, FALSE, FALSE);
    EXPECT_EQ(InDockBar(a).Width(), client.Width());
}

TEST_F(DockBarTest, NormalizingKeepsThePriorityBarsShareAndTheOthersRatio) {
    SECControlBar* a = AddBar(u"A");
    SECControlBar* b = AddBar(u"B");
    SECControlBar* c = AddBar(u"C");
    SECDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
    for (SECControlBar* bar : {a, b, c}) {
        top->DockControlBarAtRowCol(bar, 9, 0);
    }
    struct Case {
        float a, b, c;
        SECControlBar* priority;
        float wantA, wantB, wantC;
    };
    const Case cases[] = {
        {1.0f, 1.0f, 2.0f, nullptr, 0.25f, 0.25f, 0.5f},
        {0.25f, 0.5f, 0.5f, a, 0.25f, 0.375f, 0.375f}, // dropped in: keeps p, others shrink 1:1
        {0.5f, 0.1f, 0.3f, c, 0.5f / 0.6f * 0.7f, 0.1f / 0.6f * 0.7f, 0.3f},
        {0.99f, 0.5f, 0.5f, a, 0.99f / 1.99f, 0.5f / 1.99f, 0.5f / 1.99f}, // above 0.95: no priority
        {0.7f, 0.15f, 0.15f, a, 0.7f, 0.15f, 0.15f}, // normalised again with the same priority: unchanged
    };
    for (const Case& k : cases) {
        a->m_fProportion = k.a;
        b->m_fProportion = k.b;
        c->m_fProportion = k.c;
        int sizing = 0;
        int fixed = 0;
        top->NormalizeRowProportions(1, k.priority, &sizing, &fixed);
        EXPECT_NEAR(a->m_fProportion, k.wantA, 1e-4) << k.a << " " << k.b << " " << k.c;
        EXPECT_NEAR(b->m_fProportion, k.wantB, 1e-4) << k.a << " " << k.b << " " << k.c;
        EXPECT_NEAR(c->m_fProportion, k.wantC, 1e-4) << k.a << " " << k.b << " " << k.c;
        EXPECT_EQ(sizing, 3);
        EXPECT_EQ(fixed, 0);
    }
    // No share falls below 18 pixels' worth of the row.
    a->m_fProportion = 0.0001f;
    top->NormalizeRowProportions(1, nullptr);
    EXPECT_GE(a->m_fProportion, top->m_fMinProportion);
    EXPECT_NEAR(top->m_fMinProportion, 18.0f / static_cast<float>(top->RowLength()), 1e-6);
}

TEST_F(DockBarTest, SplitterDragsStopAtTheirLimits) {
    SECControlBar* a = AddBar(u"A");
    SECControlBar* b = AddBar(u"B");
    m_frame->DockControlBarEx(a, AFX_IDW_DOCKBAR_TOP, 0, 0, 0.5f, 100);
    m_frame->DockControlBarEx(b, AFX_IDW_DOCKBAR_TOP, 1, 0, 0.5f, 100);
    m_frame->RecalcLayout();
    SECDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
    auto splitter = [&](BOOL inRow) {
        for (const auto& s : top->Splitters()) {
            if (s->m_bInRow == inRow) {
                return s.get();
            }
        }
        return static_cast<SECDockBar::Splitter*>(nullptr);
    };
    CRect client;
    top->GetClientRect(&client);
    // Drag the in-row splitter to the far left, then far right: 24 pixels stay for each bar.
    struct Drag {
        int to;
        int wantLead;
    };
    for (Drag d :
         {Drag{-500, 24}, Drag{5000, client.right - 24 - SECDockBar::kSplitterSize}, Drag{300, 300}}) {
        SECDockBar::Splitter* s = splitter(TRUE);
        ASSERT_NE(s, nullptr);
        CPoint grab = s->m_rect.CenterPoint();
        CPoint to(d.to + (grab.x - s->m_rect.left), grab.y);
        top->ClientToScreen(&to);
        PostMouse(top, WM_MOUSEMOVE, to);
        PostMouse(top, WM_LBUTTONUP, to);
        top->OnSplitterButtonDown(s, grab);
        m_frame->RecalcLayout();
        EXPECT_EQ(InDockBar(a).right, d.wantLead) << d.to;
        EXPECT_GE(InDockBar(a).Width(), SECDockBar::kMinBarLength);
        EXPECT_EQ(InDockBar(b).left, d.wantLead + SECDockBar::kSplitterSize) << d.to;
        EXPECT_EQ(InDockBar(b).right, client.right);
    }

    // The row splitter: the row keeps 19 pixels and so do the views.
    SECDockBar::Splitter* s = splitter(FALSE);
    ASSERT_NE(s, nullptr);
    top->GetSplitterLimits(s);
    EXPECT_EQ(s->m_nMin, s->m_rect.top - 100 + SECDockBar::kMinRowThickness);
    CRect view;
    m_frame->m_view.GetWindowRect(&view);
    top->ScreenToClient(&view);
    EXPECT_EQ(s->m_nMax, view.bottom - SECDockBar::kMinRowThickness);
    CPoint grab = s->m_rect.CenterPoint();
    CPoint up(grab.x, grab.y - 1000);
    top->ClientToScreen(&up);
    PostMouse(top, WM_MOUSEMOVE, up);
    PostMouse(top, WM_LBUTTONUP, up);
    top->OnSplitterButtonDown(s, grab);
    m_frame->RecalcLayout();
    EXPECT_EQ(InDockBar(a).Height(), SECDockBar::kMinRowThickness);

    // Escape cancels: nothing moves.
    CRect before = InDockBar(a);
    s = splitter(TRUE);
    PostMouse(top, WM_MOUSEMOVE, CPoint(0, 0));
    top->PostMessageW(WM_KEYDOWN, VK_ESCAPE, 0);
    top->OnSplitterButtonDown(s, s->m_rect.CenterPoint());
    m_frame->RecalcLayout();
    EXPECT_EQ(InDockBar(a), before);
}

TEST_F(DockBarTest, FloatingLeavesOnePlaceholderAndTheBarComesBackToIt) {
    SECControlBar* a = AddBar(u"A");
    SECControlBar* b = AddBar(u"B");
    SECControlBar* c = AddBar(u"C");
    m_frame->DockControlBarEx(a, AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.5f, 100);
    m_frame->DockControlBarEx(b, AFX_IDW_DOCKBAR_LEFT, 1, 0, 0.5f, 100);
    m_frame->DockControlBarEx(c, AFX_IDW_DOCKBAR_LEFT, 0, 1, 1.0f, 90);
    m_frame->RecalcLayout();
    SECDockBar* left = Dock(AFX_IDW_DOCKBAR_LEFT);
    const CRect placed = InDockBar(b);
    const UINT id = static_cast<UINT>(b->GetDlgCtrlID());
    for (int round = 0; round < 3; ++round) {
        b->m_pDockContext->ToggleDocking();
        ASSERT_TRUE(b->IsFloating()) << round;
        EXPECT_EQ(Placeholders(left, id), 1) << round;
        EXPECT_TRUE(dynamic_cast<SECMiniDockFrameWnd*>(b->GetParentFrame()));
        // Alone in the row now.
        EXPECT_EQ(InDockBar(a).Height(), placed.bottom) << round;
        b->m_pDockContext->ToggleDocking();
        ASSERT_FALSE(b->IsFloating()) << round;
        EXPECT_EQ(Placeholders(left, id), 0) << round;
        m_frame->RecalcLayout();
        EXPECT_EQ(InDockBar(b), placed) << round;
    }
    // The row list names each bar once, whatever placeholders sit between.
    m_frame->FloatControlBarEx(a, 300, 300);
    CPtrList row;
    ASSERT_TRUE(left->GetRowBars(row, b));
    EXPECT_EQ(row.GetCount(), 1);
    EXPECT_EQ(row.GetHead(), b);
    EXPECT_FALSE(left->GetRowBars(row, nullptr));
    EXPECT_TRUE(row.IsEmpty());
}

TEST_F(DockBarTest, InsertAtRowColCountsRowsAndColumnsAsAsked) {
    SECDockBar* top = Dock(AFX_IDW_DOCKBAR_TOP);
    SECControlBar* a = AddBar(u"A");
    SECControlBar* b = AddBar(u"B");
    SECControlBar* n = AddBar(u"N");
    void* const A = a;
    void* const B = b;
    void* const N = n;
    using Layout = std::vector<void*>;
    struct Case {
        SECDockPos pos;
        Layout want;
    };
    // Starting from the rows {A} {B}.
    const Case cases[] = {
        {{0, 0, 0}, {nullptr, N, A, nullptr, B, nullptr}},
        {{0, 5, 0}, {nullptr, A, N, nullptr, B, nullptr}},
        {{1, 0, SECDockPos::newRow}, {nullptr, A, nullptr, N, nullptr, B, nullptr}},
        {{-1, 0, 0}, {nullptr, N, A, nullptr, B, nullptr}},
        {{-2, 0, 0}, {nullptr, N, nullptr, A, nullptr, B, nullptr}},
        {{2, 0, 0}, {nullptr, A, nullptr, B, nullptr, N, nullptr}},
        {{0, 1, SECDockPos::fromEndRow | SECDockPos::fromEndCol}, {nullptr, A, nullptr, B, N, nullptr}},
        {{-1, 0, SECDockPos::fromEndRow}, {nullptr, N, A, nullptr, B, nullptr}},
        {{-2, 0, SECDockPos::fromEndRow}, {nullptr, N, nullptr, A, nullptr, B, nullptr}},
    };
    for (const Case& k : cases) {
        top->m_arrBars.RemoveAll();
        for (void* p : Layout{nullptr, A, nullptr, B, nullptr}) {
            top->m_arrBars.Add(p);
        }
        top->InsertAtRowCol(n, k.pos);
        Layout got(top->m_arrBars.GetData(), top->m_arrBars.GetData() + top->m_arrBars.GetSize());
        EXPECT_EQ(got, k.want) << k.pos.nRow << "," << k.pos.nCol << " flags " << k.pos.dwFlags;
    }
    top->m_arrBars.RemoveAll();
    top->m_arrBars.Add(nullptr);
    EXPECT_EQ(top->InsertAtRowCol(n, {3, 3, 0}), 1) << "an empty dock bar takes the bar on its first row";
    EXPECT_EQ(top->InsertAsFirstRow(nullptr), -1);
    top->m_arrBars.RemoveAll();
    top->m_arrBars.Add(nullptr);
}

TEST_F(DockBarTest, FloatingFrameOffersHideAndClosingItHidesTheBar) {
    SECControlBar* a = AddBar(u"A");
    m_frame->FloatControlBarEx(a, 250, 250);
    auto* floating = dynamic_cast<SECMiniDockFrameWnd*>(a->GetParentFrame());
    ASSERT_NE(floating, nullptr);
    CMenu* menu = floating->GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    for (UINT gone : {SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE}) {
        EXPECT_EQ(menu->GetMenuState(gone, MF_BYCOMMAND), static_cast<UINT>(-1)) << gone;
    }
    CString text;
    menu->GetMenuString(SC_CLOSE, text, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(text), u"Hide");
    floating->SendMessageW(WM_CLOSE);
    EXPECT_FALSE(a->IsWindowVisible());
    EXPECT_FALSE(floating->IsWindowVisible());

    // Floating a bar that is alone in its frame again only moves that frame.
    m_frame->ShowControlBar(a, TRUE, FALSE);
    m_frame->FloatControlBarEx(a, 320, 260);
    EXPECT_EQ(a->GetParentFrame(), floating);
    CRect r;
    floating->GetWindowRect(&r);
    EXPECT_EQ(r.TopLeft(), CPoint(320, 260));
}

} // namespace
} // namespace docktest
