// What the SDI and MDI docking application tests share: a window's place in its parent and the
// default top row and the float-and-dock-back round trip of a top-row panel.
#pragma once

#include "DockApp.h"

#include <gtest/gtest.h>

namespace dockapp {

inline CRect InParent(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    wnd.GetParent()->ScreenToClient(&r);
    return r;
}

// The default top row: `left` takes four tenths of the frame's width less the splitter, `right` the rest,
// both 110 high.
inline void ExpectTopRowSharedFourToSix(CFrameWnd* frame, PanelBar& left, PanelBar& right) {
    CRect client;
    frame->GetClientRect(&client);
    const CRect l = InParent(left);
    const CRect r = InParent(right);
    EXPECT_EQ(l.Width(), static_cast<int>((client.Width() - SECDockBar::kSplitterSize) * 0.4));
    EXPECT_EQ(r.left - l.right, SECDockBar::kSplitterSize);
    EXPECT_EQ(r.right, client.Width());
    EXPECT_EQ(l.Height(), 110);
    EXPECT_EQ(r.Height(), 110);
}

// Floats `bar` by a double-click on it and docks it back by a double-click on its floating frame's caption:
// while it floats `other` fills the row alone; afterwards both are where they were.
inline void ExpectDoubleClicksFloatAndDockBack(CFrameWnd* frame, PanelBar& bar, PanelBar& other) {
    const CRect before = InParent(bar);
    const CRect otherBefore = InParent(other);
    bar.SendMessageW(WM_LBUTTONDBLCLK, 0, MAKELPARAM(20, 40));
    ASSERT_TRUE(bar.IsFloating());
    EXPECT_EQ(InParent(other).right, before.right) << "the other panel alone fills the row";
    CFrameWnd* floating = bar.GetParentFrame();
    ASSERT_NE(floating, frame);
    CRect caption;
    floating->GetWindowRect(&caption);
    floating->SendMessageW(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.left + 30, caption.top + 5));
    ASSERT_FALSE(bar.IsFloating());
    frame->RecalcLayout();
    EXPECT_EQ(InParent(bar), before);
    EXPECT_EQ(InParent(other), otherBefore);
}

// The first splitter of the frame's top dock bar: between two bars of a row (inRow) or between a row and
// what lies below it.
inline SECDockBar::Splitter* TopSplitter(CFrameWnd* frame, BOOL inRow) {
    auto* top = dynamic_cast<SECDockBar*>(frame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    for (const auto& s : top->Splitters()) {
        if (s->m_bInRow == inRow) {
            return s.get();
        }
    }
    return nullptr;
}

// Drags that splitter by `delta` with posted mouse messages (the splitter's loop reads them), then lays out.
inline void DragTopSplitter(CFrameWnd* frame, BOOL inRow, CPoint delta) {
    SECDockBar::Splitter* s = TopSplitter(frame, inRow);
    ASSERT_NE(s, nullptr);
    CWnd* top = frame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    const CPoint grab = s->m_rect.CenterPoint();
    const CPoint to = grab + delta;
    top->PostMessageW(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    top->PostMessageW(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    top->SendMessageW(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    frame->RecalcLayout();
}

// The splitter between the two top panels keeps 24 pixels for each, however far it is dragged, and
// otherwise moves by the drag.
inline void ExpectInRowSplitterDragsStopAtTheLimits(CFrameWnd* frame, PanelBar& left, PanelBar& right) {
    DragTopSplitter(frame, TRUE, CPoint(5000, 0));
    EXPECT_EQ(InParent(right).Width(), SECDockBar::kMinBarPerSplitter);
    DragTopSplitter(frame, TRUE, CPoint(-5000, 0));
    EXPECT_EQ(InParent(left).Width(), SECDockBar::kMinBarPerSplitter);
    DragTopSplitter(frame, TRUE, CPoint(200, 0));
    EXPECT_EQ(InParent(left).Width(), SECDockBar::kMinBarPerSplitter + 200);
}

} // namespace dockapp
