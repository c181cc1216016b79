#include "FrameworkTestSupport.h"

#include "platform/controls/StandardControls.h"

#include <string>
#include <vector>

using namespace fwtest;

namespace {

std::vector<UINT> g_rawMessages;

// The procedure of a window class the framework did not register.
LRESULT RawProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_rawMessages.push_back(msg);
    if (msg == WM_USER + 1) {
        return 1000;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

const char16_t* RawClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &RawProc;
        wc.lpszClassName = u"FrameworkTestRaw";
        ::RegisterClassW(&wc);
        registered = true;
    }
    return u"FrameworkTestRaw";
}

class SubclassingWnd : public CWnd {
public:
    int sized = 0;
    int destroyed = 0;
    void OnSize(UINT, int, int) { ++sized; }
    void OnDestroy() {
        ++destroyed;
        CWnd::OnDestroy();
    }
    LRESULT OnUser2(WPARAM, LPARAM) { return 2000; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SubclassingWnd, CWnd)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_MESSAGE(WM_USER + 2, OnUser2)
END_MESSAGE_MAP()

using WndMapTest = FrameworkTest;

TEST_F(WndMapTest, FromHandleAnswersTemporariesUntilIdleCleanup) {
    HWND raw = ::CreateWindowExW(0, RawClass(), u"raw", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, raw);
    EXPECT_EQ(CWnd::FromHandle(raw), temp);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

    CWinApp app(u"Doliva");
    app.OnIdle(1); // frees the temporaries without touching the window
    EXPECT_TRUE(::IsWindow(raw));
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);

    CWnd attached;
    ASSERT_TRUE(attached.Attach(raw));
    EXPECT_EQ(CWnd::FromHandle(raw), &attached);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), &attached);
    EXPECT_EQ(attached.Detach(), raw);
    EXPECT_EQ(attached.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    ::DestroyWindow(raw);
}

TEST_F(WndMapTest, SubclassedWindowTriesTheMapFirstThenTheOldProcedure) {
    HWND raw = ::CreateWindowExW(0, RawClass(), u"raw", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    SubclassingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(raw));
    EXPECT_FALSE(SubclassingWnd().SubclassWindow(raw)); // one object per window
    EXPECT_EQ(::SendMessageW(raw, WM_USER + 2, 0, 0), 2000);
    g_rawMessages.clear();
    EXPECT_EQ(::SendMessageW(raw, WM_USER + 1, 0, 0), 1000); // not in the map: the old procedure answers
    EXPECT_EQ(g_rawMessages, std::vector<UINT>{WM_USER + 1});
    ::SendMessageW(raw, WM_SIZE, 0, 0);
    EXPECT_EQ(wnd.sized, 1);

    EXPECT_EQ(wnd.UnsubclassWindow(), raw);
    EXPECT_EQ(::SendMessageW(raw, WM_USER + 2, 0, 0), 0);
    ::SendMessageW(raw, WM_SIZE, 0, 0);
    EXPECT_EQ(wnd.sized, 1);
    ::DestroyWindow(raw);
}

TEST_F(WndMapTest, SubclassDlgItemAndDestructionDetach) {
    LPCTSTR cls = AfxRegisterWndClass(0);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, cls, u"parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    HWND child = ::CreateWindowExW(0, RawClass(), u"", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(77)), nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    SubclassingWnd wnd;
    EXPECT_FALSE(wnd.SubclassDlgItem(78, &parent));
    ASSERT_TRUE(wnd.SubclassDlgItem(77, &parent));
    EXPECT_EQ(parent.GetDlgItem(77), &wnd);
    EXPECT_EQ(wnd.GetParent(), &parent);
    EXPECT_EQ(wnd.GetDlgCtrlID(), 77);

    ASSERT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(wnd.destroyed, 1);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(parent.m_hWnd, nullptr);
}

TEST_F(WndMapTest, DeletingTheObjectDestroysItsWindow) {
    LPCTSTR cls = AfxRegisterWndClass(0);
    HWND hwnd = nullptr;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, cls, u"short", WS_OVERLAPPED, 0, 0, 20, 20, nullptr, nullptr));
        hwnd = wnd.m_hWnd;
        EXPECT_TRUE(::IsWindow(hwnd));
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(WndMapTest, WrappersForwardToTheWindow) {
    LPCTSTR cls = AfxRegisterWndClass(0);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, cls, u"title", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr));
    CString text;
    wnd.GetWindowTextW(text);
    EXPECT_EQ(text, CString(u"title"));
    wnd.SetWindowTextW(u"other");
    EXPECT_EQ(wnd.GetWindowTextLengthW(), 5);
    EXPECT_TRUE(wnd.ModifyStyle(WS_MAXIMIZEBOX, 0));
    EXPECT_FALSE(wnd.GetStyle() & WS_MAXIMIZEBOX);
    EXPECT_FALSE(wnd.ModifyStyle(WS_MAXIMIZEBOX, 0)); // nothing changed
    wnd.MoveWindow(5, 6, 250, 180);
    CRect r;
    wnd.GetWindowRect(&r);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.top, 6);
    EXPECT_EQ(r.Width(), 250);
    EXPECT_EQ(r.Height(), 180);
    EXPECT_FALSE(wnd.IsWindowVisible());
    wnd.ShowWindow(SW_SHOW);
    EXPECT_TRUE(wnd.IsWindowVisible());
    EXPECT_NE(wnd.SetTimer(9, 1000), 0u);
    EXPECT_TRUE(wnd.KillTimer(9));
    CClientDC dc(&wnd);
    EXPECT_NE(dc.m_hDC, nullptr);
    EXPECT_EQ(CDC::FromHandle(dc.m_hDC), &dc);
}

// A window that borrows a sibling scroll bar for its vertical one, as grids in a tab window do.
class BorrowingWnd : public CWnd {
public:
    CScrollBar* GetScrollBarCtrl(int bar) const override { return bar == SB_VERT ? borrowed : nullptr; }
    CScrollBar* borrowed = nullptr;
};

TEST_F(WndMapTest, ScrollBarOperationsActOnABorrowedScrollBar) {
    RegisterStandardControls();
    LPCTSTR cls = AfxRegisterWndClass(0);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, cls, u"parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CScrollBar shared;
    ASSERT_TRUE(shared.Create(u"SCROLLBAR", nullptr, SBS_VERT | WS_CHILD | WS_VISIBLE,
                              CRect(280, 0, 296, 180), &parent, 0xEA10));
    BorrowingWnd wnd;
    ASSERT_TRUE(wnd.Create(cls, u"", WS_CHILD | WS_VISIBLE | WS_HSCROLL, CRect(0, 0, 200, 100), &parent, 1));
    wnd.borrowed = &shared;

    wnd.SetScrollRange(SB_VERT, 0, 50, FALSE);
    wnd.SetScrollPos(SB_VERT, 20);
    wnd.SetScrollRange(SB_HORZ, 0, 10, FALSE);
    wnd.SetScrollPos(SB_HORZ, 4);
    EXPECT_EQ(shared.GetScrollPos(), 20);
    EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 20);
    EXPECT_EQ(::GetScrollPos(wnd.GetSafeHwnd(), SB_VERT), 0) << "the window's own bar is left alone";
    EXPECT_EQ(::GetScrollPos(wnd.GetSafeHwnd(), SB_HORZ), 4) << "a bar of its own stays its own";
    SCROLLINFO info{};
    ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &info, SIF_RANGE | SIF_POS));
    EXPECT_EQ(info.nMax, 50);
    EXPECT_EQ(info.nPos, 20);
    int low = -1;
    int high = -1;
    wnd.GetScrollRange(SB_VERT, &low, &high);
    EXPECT_EQ(high, 50);
    wnd.EnableScrollBarCtrl(SB_VERT, FALSE);
    EXPECT_FALSE(shared.IsWindowEnabled());
    wnd.DestroyWindow();
    parent.DestroyWindow();
}

// A child two deep inside a top-level window that has an owner of its own: the parent owner stops at the
// first window that is not a child, the top-level parent goes on through the owner.
TEST_F(WndMapTest, ParentOwnerStopsAtTheTopLevelWindowTopLevelParentFollowsItsOwner) {
    LPCTSTR cls = AfxRegisterWndClass(0);
    for (DWORD ownedStyle : {static_cast<DWORD>(WS_OVERLAPPED), static_cast<DWORD>(WS_POPUP)}) {
        SCOPED_TRACE(ownedStyle);
        CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, cls, u"owner", WS_OVERLAPPED, 0, 0, 200, 200, nullptr, nullptr));
        CWnd top;
        ASSERT_TRUE(top.CreateEx(0, cls, u"owned", ownedStyle, 0, 0, 150, 150, owner.m_hWnd, nullptr));
        CWnd child;
        ASSERT_TRUE(child.CreateEx(0, cls, u"child", WS_CHILD, 0, 0, 100, 100, top.m_hWnd, nullptr));
        CWnd grandchild;
        ASSERT_TRUE(
            grandchild.CreateEx(0, cls, u"grandchild", WS_CHILD, 0, 0, 50, 50, child.m_hWnd, nullptr));

        struct Case {
            CWnd* wnd;
            CWnd* parentOwner;
        } cases[] = {{&owner, &owner}, {&top, &top}, {&child, &top}, {&grandchild, &top}};
        for (const Case& c : cases) {
            EXPECT_EQ(c.wnd->GetParentOwner(), c.parentOwner);
            EXPECT_EQ(c.wnd->GetTopLevelParent(), &owner);
        }
        EXPECT_EQ(CWnd().GetTopLevelParent(), nullptr);
        EXPECT_EQ(CWnd().GetParentOwner(), nullptr);
    }
}

TEST_F(WndMapTest, GdiWrappersOwnTheirHandlesAndTemporariesDoNot) {
    HGDIOBJ handle = nullptr;
    {
        CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
        handle = pen.m_hObject;
        ASSERT_NE(handle, nullptr);
        EXPECT_EQ(CPen::FromHandle(static_cast<HPEN>(handle)), &pen);
        LOGPEN lp{};
        EXPECT_EQ(pen.GetLogPen(&lp), static_cast<int>(sizeof lp));
        EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    }
    EXPECT_EQ(::GetObjectType(handle), 0u); // deleted with its wrapper

    HBRUSH brush = ::CreateSolidBrush(RGB(9, 9, 9));
    CBrush* temp = CBrush::FromHandle(brush);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CBrush::FromHandle(brush), temp);
    AfxDeleteTempMaps();
    EXPECT_EQ(::GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH)); // still there
    ::DeleteObject(brush);

    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(4, 4, 1, 32, nullptr));
    CBitmap* old = mem.SelectObject(&bitmap);
    mem.FillSolidRect(0, 0, 4, 4, RGB(10, 20, 30));
    EXPECT_EQ(mem.GetPixel(1, 1), RGB(10, 20, 30));
    mem.SelectObject(old);
}

} // namespace
