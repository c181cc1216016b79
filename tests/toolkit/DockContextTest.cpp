// Dragging and double-clicking toolkit bars: the 4-pixel threshold before a floating bar docks, Ctrl to
// keep it floating, the status-line prompts, and where a double-click floats a docked bar.
#include "DockTestSupport.h"

#include "platform/framework/AfxRes.h"
#include "toolkit/SECDockContext.h"

namespace docktest {
namespace {

using DockContextTest = DockTest;

TEST_F(DockContextTest, FloatingBarDocksOnlyPastTheThresholdAndNeverWithCtrl) {
    SECControlBar* bar = AddBar(u"Bar");
    m_frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_TOP, 0, 0, 1.0f, 80);
    m_frame->RecalcLayout();
    CPoint origin(0, 0);
    m_frame->ClientToScreen(&origin);
    struct Case {
        CPoint move;
        bool ctrl;
        bool docks;
    };
    const Case cases[] = {
        {{2, 2}, false, false}, // |dx| + |dy| = 4
        {{-4, 0}, false, false},
        {{3, 2}, false, true},  // 5
        {{30, 0}, true, false}, // Ctrl held
    };
    for (const Case& k : cases) {
        // Floating over the top edge of the frame's client area, where the top dock bar catches it.
        m_frame->FloatControlBarEx(bar, origin.x + 40, origin.y);
        ASSERT_TRUE(bar->IsFloating());
        CRect r;
        bar->GetWindowRect(&r);
        // The bar's top 4 pixels above the frame's client area (its floating frame's caption higher).
        m_frame->FloatControlBarEx(bar, origin.x + 40, origin.y - (r.top - origin.y) - 4);
        bar->GetWindowRect(&r);
        m_frame->m_messages.clear();
        CPoint start = r.TopLeft() + CPoint(10, 6);
        if (k.ctrl) {
            bar->PostMessageW(WM_KEYDOWN, VK_CONTROL, 0);
        }
        PostMouse(bar, WM_MOUSEMOVE, start + k.move);
        PostMouse(bar, WM_LBUTTONUP, start + k.move);
        bar->m_pDockContext->StartDrag(start);
        EXPECT_EQ(!bar->IsFloating(), k.docks) << k.move.x << "," << k.move.y << (k.ctrl ? " ctrl" : "");
        EXPECT_EQ(CWnd::GetCapture(), nullptr);
        ASSERT_GE(m_frame->m_messages.size(), 2u);
        EXPECT_EQ(m_frame->m_messages.front(), u"Press the Ctrl key to prevent docking.");
        EXPECT_EQ(m_frame->m_messages.back(),
                  u"#" + std::u16string(1, static_cast<char16_t>(AFX_IDS_IDLEMESSAGE)));
        fwtest::DrainQueue();
    }
}

TEST_F(DockContextTest, DragShapesKeepTheMouseInsideAndEscapeChangesNothing) {
    SECControlBar* bar = AddBar(u"Bar");
    m_frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_LEFT, 0, 0, 1.0f, 90);
    m_frame->RecalcLayout();
    auto* context = static_cast<SECDockContext*>(bar->m_pDockContext);
    CRect r;
    bar->GetWindowRect(&r);
    // Grab near the bottom of a tall bar: the horizontal shapes (shorter) move down to the mouse.
    CPoint start(r.left + 5, r.bottom - 3);
    bar->PostMessageW(WM_KEYDOWN, VK_ESCAPE, 0);
    CRect before = InDockBar(bar);
    bar->m_pDockContext->StartDrag(start);
    for (const CRect& shape :
         {context->m_rectDragHorz, context->m_rectDragVert, context->m_rectFrameDragHorz}) {
        EXPECT_TRUE(shape.PtInRect(start))
            << shape.left << "," << shape.top << "," << shape.right << "," << shape.bottom;
    }
    EXPECT_EQ(context->m_rectDragHorz.bottom, start.y + SECGetToolkitMetrics().cyBorder);
    EXPECT_FALSE(bar->IsFloating());
    EXPECT_EQ(InDockBar(bar), before);
}

TEST_F(DockContextTest, DoubleClickFloatsAtTheLastFloatingPlaceOrBesideTheDockedOne) {
    SECControlBar* bar = AddBar(u"Bar");
    m_frame->DockControlBarEx(bar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 1.0f, 70);
    m_frame->RecalcLayout();
    CDockContext* context = bar->m_pDockContext;
    // Never floated where it could be seen: at the top left of its docked place.
    context->m_ptMRUFloatPos = CPoint(-1, 5);
    CRect docked;
    bar->GetWindowRect(&docked);
    context->ToggleDocking();
    ASSERT_TRUE(bar->IsFloating());
    CRect frame;
    bar->GetParentFrame()->GetWindowRect(&frame);
    EXPECT_EQ(frame.TopLeft(), docked.TopLeft());

    context->ToggleDocking();
    ASSERT_FALSE(bar->IsFloating());
    context->m_ptMRUFloatPos = CPoint(333, 222);
    bar->m_fProportion = 1.0f;
    context->ToggleDocking();
    bar->GetParentFrame()->GetWindowRect(&frame);
    EXPECT_EQ(frame.TopLeft(), CPoint(333, 222));
    // A bar that may dock nowhere stays floating.
    bar->m_dwDockStyle = 0;
    context->ToggleDocking();
    EXPECT_TRUE(bar->IsFloating());
}

// A floating sizing bar resized by its frame's borders: the border's hit code, the edge that follows the
// mouse while the opposite one stays, the floating size limits, and Escape changing nothing.
TEST_F(DockContextTest, FloatingBarResizesByItsFrameBorder) {
    SECControlBar* bar = AddBar(u"Bar");
    const CSize start(200, 150);
    struct Case {
        const char* what;
        UINT hit;
        CPoint move;
        CRect change; // of the floating frame's edges: left, top, right, bottom
        bool cancel;
    };
    const auto* context = static_cast<SECDockContext*>(bar->m_pDockContext);
    const int shrinkPastMinimum = start.cx - context->m_sizeMinFloat.cx + 5;
    const Case cases[] = {
        {"right wider", HTRIGHT, {40, 0}, {0, 0, 40, 0}, false},
        {"left wider", HTLEFT, {-30, 0}, {-30, 0, 0, 0}, false},
        {"top taller", HTTOP, {0, -20}, {0, -20, 0, 0}, false},
        {"corner", HTBOTTOMRIGHT, {20, 25}, {0, 0, 20, 25}, false},
        {"corner, width past the minimum", HTBOTTOMLEFT, {shrinkPastMinimum, 10}, {0, 0, 0, 10}, false},
        {"escape", HTRIGHT, {40, 0}, {0, 0, 0, 0}, true},
    };
    for (const Case& k : cases) {
        bar->m_szFloat = start;
        m_frame->FloatControlBarEx(bar, 300, 200);
        CFrameWnd* floating = bar->GetParentFrame();
        ASSERT_NE(floating, m_frame);
        floating->RecalcLayout();
        CRect before;
        floating->GetWindowRect(&before);
        // The grab point on the border the case names.
        CPoint grab = before.CenterPoint();
        if (k.hit == HTLEFT || k.hit == HTBOTTOMLEFT) {
            grab.x = before.left + 1;
        } else if (k.hit == HTRIGHT || k.hit == HTBOTTOMRIGHT) {
            grab.x = before.right - 2;
        }
        if (k.hit == HTTOP) {
            grab.y = before.top + 1;
        } else if (k.hit == HTBOTTOMRIGHT || k.hit == HTBOTTOMLEFT) {
            grab.y = before.bottom - 2;
        }
        ASSERT_EQ(floating->SendMessageW(WM_NCHITTEST, 0, MAKELPARAM(grab.x, grab.y)), LRESULT(k.hit))
            << k.what;
        if (k.cancel) {
            PostMouse(bar, WM_MOUSEMOVE, grab + k.move);
            bar->PostMessageW(WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            PostMouse(bar, WM_MOUSEMOVE, grab + k.move);
            PostMouse(bar, WM_LBUTTONUP, grab + k.move);
        }
        floating->SendMessageW(WM_NCLBUTTONDOWN, k.hit, MAKELPARAM(grab.x, grab.y));
        EXPECT_EQ(CWnd::GetCapture(), nullptr) << k.what;
        ASSERT_TRUE(bar->IsFloating()) << k.what;
        CRect after;
        bar->GetParentFrame()->GetWindowRect(&after);
        const CRect change(after.left - before.left, after.top - before.top, after.right - before.right,
                           after.bottom - before.bottom);
        EXPECT_EQ(change, k.change) << k.what << ": " << change.left << "," << change.top << ","
                                    << change.right << "," << change.bottom;
        EXPECT_EQ(bar->m_szFloat, start + CSize(k.change.Width(), k.change.Height())) << k.what;
        fwtest::DrainQueue();
    }
}

} // namespace
} // namespace docktest
