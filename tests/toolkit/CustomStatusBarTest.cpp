// The custom status bar: pane set-up and layout, what reaches the control, pane attributes, the window text,
// the progress display, and what the panes look like.
#include "ToolkitTestSupport.h"

using namespace toolkittest;

namespace {

// The extra width each pane got beyond its text and frame, from the control's part edges.
std::vector<int> StretchShares(SECCustomStatusBar& bar) {
    int edges[8]{};
    int count = static_cast<int>(bar.SendMessageW(SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)));
    int borders[3]{};
    bar.SendMessageW(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    std::vector<int> shares;
    for (int i = 0; i < count; ++i) {
        UINT id = 0, style = 0;
        int width = 0;
        bar.GetPaneInfo(i, id, style, width);
        int left = i == 0 ? borders[0] : edges[i - 1] + borders[2];
        shares.push_back(edges[i] - left - (width + 6));
    }
    return shares;
}

TEST_F(ToolkitTest, SetPanesGivesTheSeparatorAQuarterScreenAndMakesEveryPaneOwnerDrawn) {
    // A bottom bar asking for a top border leaves the separation to the control.
    EXPECT_EQ(Bar().GetBarStyle() & (CBRS_BORDER_ANY | CBRS_BORDER_3D), 0u);
    const UINT ids[] = {0, ID_PANE_MODE, ID_PANE_BLANK, ID_PANE_MODE, 0};
    ASSERT_TRUE(Bar().SetPanes(ids, 5));
    ASSERT_EQ(Bar().GetCount(), 5);
    UINT id = 0, style = 0;
    int width = 0;
    Bar().GetPaneInfo(0, id, style, width);
    EXPECT_EQ(width, ::GetSystemMetrics(SM_CXSCREEN) / 4);
    EXPECT_EQ(style & (SBPS_STRETCH | SBPS_NOBORDERS), static_cast<UINT>(SBPS_STRETCH | SBPS_NOBORDERS));
    // A later separator only gets the width.
    Bar().GetPaneInfo(4, id, style, width);
    EXPECT_EQ(style & SBPS_STRETCH, 0u);
    EXPECT_EQ(width, ::GetSystemMetrics(SM_CXSCREEN) / 4);
    EXPECT_EQ(Bar().GetPaneText(1), CString(u"Position hold"));
    EXPECT_EQ(Bar().GetPaneText(2), CString(u"  ")) << "a missing string shows two spaces";
    Bar().GetPaneInfo(1, id, style, width);
    EXPECT_GT(width, Bar().m_panes[2].cxText);
    EXPECT_EQ(Bar().PaneIndexFromId(ID_PANE_MODE), 1) << "the first of two";
    EXPECT_EQ(Bar().PaneIndexFromId(ID_PANE_CAPS), -1);
    for (int i = 0; i < 5; ++i) {
        LRESULT info = Bar().SendMessageW(SB_GETTEXTLENGTHW, static_cast<WPARAM>(i));
        EXPECT_TRUE(HIWORD(static_cast<DWORD>(info)) & SBT_OWNERDRAW) << "pane " << i;
    }
}

TEST_F(ToolkitTest, SpareWidthIsSharedByStretchingPanesTheLastTakingTheRemainder) {
    const UINT ids[] = {ID_PANE_MODE, ID_PANE_CAPS};
    ASSERT_TRUE(Bar().SetPanes(ids, 2));
    Bar().SetPaneInfo(0, ID_PANE_MODE, SBPS_STRETCH, 10);
    Bar().SetPaneInfo(1, ID_PANE_CAPS, SBPS_STRETCH, 10);
    std::vector<int> shares = StretchShares(Bar());
    int spare = shares[0] + shares[1];
    ASSERT_GT(spare, 7);
    // Widen the second pane until exactly 7 pixels are left over.
    Bar().SetPaneInfo(1, ID_PANE_CAPS, SBPS_STRETCH, 10 + spare - 7);
    EXPECT_EQ(StretchShares(Bar()), (std::vector<int>{3, 4}));
    // Nothing stretches: nobody takes the spare.
    Bar().SetPaneInfo(0, ID_PANE_MODE, 0, 10);
    Bar().SetPaneInfo(1, ID_PANE_CAPS, 0, 10);
    EXPECT_EQ(StretchShares(Bar()), (std::vector<int>{0, 0}));
}

TEST_F(ToolkitTest, PaneTextsAreSentOnlyWhenTheyChangeAndNotForDisabledPanes) {
    Bar().UpdateAllPanes(FALSE, TRUE);
    Bar().sent.clear();
    EXPECT_TRUE(Bar().SetPaneText(1, u"Position hold"));
    EXPECT_EQ(Bar().Count(SB_SETTEXTW), 0) << "same text, nothing pending";
    EXPECT_TRUE(Bar().SetPaneText(1, u"Navigating"));
    ASSERT_EQ(Bar().Count(SB_SETTEXTW), 1);
    EXPECT_EQ(Bar().sent.back().text, u"Navigating");
    EXPECT_EQ(Bar().sent.back().wParam & 0xFF, 1u);
    // Held back until the next paint, then sent once.
    EXPECT_TRUE(Bar().SetPaneText(1, u"Later", FALSE));
    EXPECT_EQ(Bar().Count(SB_SETTEXTW), 1);
    Bar().UpdateAllPanes(FALSE, TRUE);
    EXPECT_EQ(Bar().Count(SB_SETTEXTW), 2);
    // A style change re-sends the text with the new type; a disabled pane is sent no text.
    UINT style = Bar().GetPaneStyle(1);
    EXPECT_TRUE(Bar().SetPaneStyle(1, style | SBPS_POPOUT));
    EXPECT_EQ(Bar().sent.back().wParam, static_cast<WPARAM>(1 | style | SBPS_POPOUT));
    EXPECT_EQ(Bar().sent.back().text, u"Later");
    EXPECT_TRUE(Bar().SetPaneStyle(1, style | SBPS_DISABLED));
    EXPECT_TRUE(Bar().sent.back().nullText);
    // Indexes outside the panes change nothing.
    EXPECT_FALSE(Bar().SetPaneText(7, u"x"));
    EXPECT_FALSE(Bar().SetPaneStyle(-1, 0));
    EXPECT_EQ(Bar().GetPaneText(7), CString());
}

TEST_F(ToolkitTest, AttributesNotNamedByTheMaskSwitchOffButKeepTheirValues) {
    SECPaneAttributes a;
    a.nIndex = 1;
    a.clrFore = RGB(255, 255, 255);
    a.clrBack = RGB(0, 128, 0);
    a.strText = u"Ant OK";
    a.cx = 40;
    a.nAlign = TA_CENTER;
    a.fMask = SBP_FOREGROUND | SBP_BACKGROUND | SBP_TEXT | SBP_WIDTH | SBP_TEXTALIGN;
    ASSERT_TRUE(Bar().SetPaneAttributes(a, TRUE));

    SECPaneAttributes change;
    change.nIndex = 1;
    change.clrFore = RGB(0, 0, 0);
    change.fMask = SBP_FOREGROUND;
    ASSERT_TRUE(Bar().SetPaneAttributes(change, TRUE));
    SECPaneAttributes read;
    read.nIndex = 1;
    ASSERT_TRUE(Bar().GetPaneAttributes(read));
    EXPECT_EQ(read.fMask, static_cast<UINT>(SBP_FOREGROUND));
    EXPECT_EQ(read.clrFore, RGB(0, 0, 0));
    EXPECT_EQ(read.clrBack, RGB(0, 128, 0)) << "switched off, value kept";
    EXPECT_EQ(read.cx, 40);
    EXPECT_EQ(read.strText, CString(u"Ant OK"));
    EXPECT_EQ(read.nID, ID_PANE_MODE);
    EXPECT_TRUE(read.nStyle & SBPS_OWNERDRAW);

    // The index of an absent id is refused, not written through.
    change.nIndex = Bar().PaneIndexFromId(ID_PANE_BLANK);
    EXPECT_FALSE(Bar().SetPaneAttributes(change, TRUE));
    read.nIndex = 9;
    EXPECT_FALSE(Bar().GetPaneAttributes(read));
}

TEST_F(ToolkitTest, WindowTextIsTheFirstSeparatorPane) {
    HWND bar = Bar().GetSafeHwnd();
    EXPECT_EQ(::SendMessageW(bar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Ready")), 0);
    EXPECT_EQ(Bar().GetPaneText(0), CString(u"Ready"));
    TCHAR buffer[8] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(::SendMessageW(bar, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], u'x');
    EXPECT_EQ(::SendMessageW(bar, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(std::u16string(buffer), u"Re");
    EXPECT_EQ(::SendMessageW(bar, WM_GETTEXTLENGTH, 0, 0), 5);

    const UINT ids[] = {ID_PANE_MODE};
    ASSERT_TRUE(Bar().SetPanes(ids, 1));
    EXPECT_EQ(::SendMessageW(bar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Ready")), -1);
    EXPECT_EQ(::SendMessageW(bar, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(bar, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(buffer)), 1);
    EXPECT_EQ(buffer[0], 0);
}

TEST_F(ToolkitTest, ProgressTakesTheBarAndEndProgressRestoresTheFirstPane) {
    SECPaneAttributes first;
    first.nIndex = 0;
    first.strText = u"Ready";
    first.clrBack = RGB(255, 0, 0);
    first.nAlign = TA_RIGHT;
    first.fMask = SBP_TEXT | SBP_BACKGROUND | SBP_TEXTALIGN;
    ASSERT_TRUE(Bar().SetPaneAttributes(first, TRUE));
    SECPaneAttributes before;
    before.nIndex = 0;
    ASSERT_TRUE(Bar().GetPaneAttributes(before));

    ASSERT_TRUE(Bar().StartProgress(u"Loading", 0, 100, TRUE, SEC_PROG_PERCENT));
    SECProgressCtrl* progress = Bar().GetProgressCtrl();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->IsWindowVisible());
    SECPaneAttributes during;
    during.nIndex = 0;
    ASSERT_TRUE(Bar().GetPaneAttributes(during));
    EXPECT_EQ(during.strText, CString(u"Loading "));
    EXPECT_EQ(during.nStyle & ~static_cast<UINT>(SBPS_OWNERDRAW), static_cast<UINT>(SBPS_NOBORDERS));
    EXPECT_EQ(during.nAlign, static_cast<UINT>(TA_LEFT));
    EXPECT_EQ(during.clrBack, RGB(255, 0, 0)) << "the caption keeps the pane's colours";
    CRect area;
    progress->GetWindowRect(&area);
    Bar().ScreenToClient(&area);
    EXPECT_GT(area.left, during.cx);
    // The window text cannot replace the caption meanwhile.
    EXPECT_EQ(Bar().SendMessageW(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Other")), 0);
    EXPECT_EQ(Bar().GetPaneText(0), CString(u"Loading "));
    // A second start changes the caption; the first pane's old attributes are kept from the first one.
    ASSERT_TRUE(Bar().StartProgress(u"Saving", 0, 10, FALSE, SEC_PROG_PERCENT));
    EXPECT_EQ(Bar().GetProgressCtrl(), progress);

    Bar().EndProgress();
    EXPECT_EQ(Bar().GetProgressCtrl(), nullptr);
    SECPaneAttributes after;
    after.nIndex = 0;
    ASSERT_TRUE(Bar().GetPaneAttributes(after));
    EXPECT_EQ(after.strText, before.strText);
    EXPECT_EQ(after.nStyle, before.nStyle);
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.nAlign, before.nAlign);
    EXPECT_EQ(after.clrBack, before.clrBack);
}

// Draws pane `index` into a white bitmap and counts the pixels of `colour`.
int DrawnPixels(SECCustomStatusBar& bar, int index, COLORREF colour) {
    CClientDC screen(&bar);
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, 60, 20);
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, 60, 20, RGB(255, 255, 255));
    DRAWITEMSTRUCT dis{};
    dis.itemID = static_cast<UINT>(index);
    dis.hDC = memory.GetSafeHdc();
    dis.rcItem = RECT{0, 0, 60, 20};
    bar.DrawPane(&dis);
    int n = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            n += ::GetPixel(memory.GetSafeHdc(), x, y) == colour;
        }
    }
    memory.SelectObject(old);
    return n;
}

TEST_F(ToolkitTest, WhileProgressShowsOnlyTheFirstPaneIsDrawnAndDisabledPanesNever) {
    const COLORREF green = RGB(0, 128, 0);
    for (int i = 0; i < 2; ++i) {
        SECPaneAttributes a;
        a.nIndex = i;
        a.strText = u"Text";
        a.clrBack = green;
        a.fMask = SBP_TEXT | SBP_BACKGROUND;
        ASSERT_TRUE(Bar().SetPaneAttributes(a, TRUE));
    }
    EXPECT_GT(DrawnPixels(Bar(), 1, green), 900);
    ASSERT_TRUE(Bar().StartProgress(nullptr, 0, 10, TRUE, SEC_PROG_PERCENT));
    EXPECT_EQ(DrawnPixels(Bar(), 1, green), 0);
    EXPECT_GT(DrawnPixels(Bar(), 0, green), 900);
    Bar().EndProgress();
    Bar().SetPaneStyle(1, Bar().GetPaneStyle(1) | SBPS_DISABLED);
    EXPECT_EQ(DrawnPixels(Bar(), 1, green), 0);
}

TEST_F(ToolkitTest, ColouredPanesRenderInTheirColoursAndABitmapPaneFitsItsBitmap) {
    const COLORREF green = RGB(0, 128, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);
    SECPaneAttributes a;
    a.nIndex = 1;
    a.strText = u"Navigating";
    a.clrFore = white;
    a.clrBack = green;
    a.fMask = SBP_TEXT | SBP_FOREGROUND | SBP_BACKGROUND;
    ASSERT_TRUE(Bar().SetPaneAttributes(a, TRUE));

    // A 30 x 24 red bitmap in the third pane, the bar made tall enough for it.
    CClientDC screen(&Bar());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 30, 24));
    {
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap* old = memory.SelectObject(&bitmap);
        memory.FillSolidRect(0, 0, 30, 24, red);
        memory.SelectObject(old);
    }
    SECPaneAttributes b;
    b.nIndex = 2;
    b.strText = u"hidden";
    b.pBitmap = &bitmap;
    b.fMask = SBP_BITMAP | SBP_TEXT;
    Bar().sent.clear();
    ASSERT_TRUE(Bar().SetPaneAttributes(b, TRUE));
    UINT id = 0, style = 0;
    int width = 0;
    Bar().GetPaneInfo(2, id, style, width);
    EXPECT_EQ(width, 30);
    int borders[3]{};
    Bar().SendMessageW(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    ASSERT_EQ(Bar().Count(SB_SETMINHEIGHT), 1);
    for (const Sent& sent : Bar().sent) {
        if (sent.message == SB_SETMINHEIGHT) {
            EXPECT_EQ(sent.wParam, static_cast<WPARAM>(24 + 2 * borders[1]));
        }
    }
    m_frame->RecalcLayout();
    CRect barRect;
    Bar().GetClientRect(&barRect);
    EXPECT_GE(barRect.Height(), 24 + 2 * borders[1]);

    testsupport::Picture render;
    ASSERT_TRUE(RenderFrame(render, "toolkit-status"));
    CRect coloured = PaneInWindow(1);
    CRect bitmapPane = PaneInWindow(2);
    ASSERT_FALSE(coloured.IsRectEmpty());
    EXPECT_GT(render.Count(coloured, green), coloured.Width() * coloured.Height() / 2);
    EXPECT_GT(render.Count(coloured, white), 10) << "the text in its own colour";
    EXPECT_GT(render.Count(bitmapPane, red), 25 * 20);
    EXPECT_EQ(render.Count(bitmapPane, ::GetSysColor(COLOR_WINDOWTEXT)), 0) << "no text over the bitmap";
}

} // namespace
