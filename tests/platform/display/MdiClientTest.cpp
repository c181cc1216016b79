// The MDI client and the default frame and child procedures, driven by messages.
#include "DisplayTestSupport.h"

#include <string>
#include <vector>

using namespace displaytest;
using ::testing::ElementsAre;

namespace {

constexpr UINT kFirstChild = 0xFF00;

struct Event {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Event>* g_events = nullptr;
HWND g_client = nullptr;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefFrameProcW(hwnd, g_client, msg, wParam, lParam);
}

LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (g_events && (msg == WM_MDIACTIVATE || msg == WM_NCACTIVATE)) {
        g_events->push_back({hwnd, msg, wParam, lParam});
    }
    return DefMDIChildProcW(hwnd, msg, wParam, lParam);
}

void RegisterOnce(const char16_t* name, WNDPROC proc) {
    WNDCLASSW existing{};
    if (GetClassInfoW(nullptr, name, &existing)) {
        return;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
}

std::u16string Text(HWND hwnd) {
    char16_t buffer[256]{};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

std::vector<std::u16string> MenuTexts(HMENU menu) {
    std::vector<std::u16string> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char16_t buffer[128]{};
        GetMenuStringW(menu, static_cast<UINT>(i), buffer, 128, MF_BYPOSITION);
        bool checked = (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) != 0;
        out.push_back((checked ? u"*" : u"") + std::u16string(buffer));
    }
    return out;
}

RECT WindowIn(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

class MdiClientTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        RegisterOnce(u"MdiTestFrame", FrameProc);
        RegisterOnce(u"MdiTestChild", ChildProc);
        g_events = &events;
        menuBar = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuW(file, MF_STRING, 100, u"&Open");
        windowMenu = CreatePopupMenu();
        AppendMenuW(windowMenu, MF_STRING, 200, u"&Cascade");
        AppendMenuW(menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), u"&File");
        AppendMenuW(menuBar, MF_POPUP, reinterpret_cast<UINT_PTR>(windowMenu), u"&Window");
        frame = CreateWindowExW(0, u"MdiTestFrame", u"Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                nullptr, menuBar, nullptr, nullptr);
        created.push_back(frame);
        CLIENTCREATESTRUCT ccs{windowMenu, kFirstChild};
        RECT rc{};
        GetClientRect(frame, &rc);
        client = CreateWindowExW(WS_EX_CLIENTEDGE, u"MDIClient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                 0, 0, rc.right, rc.bottom, frame, nullptr, nullptr, &ccs);
        g_client = client;
        SetActiveWindow(frame);
    }
    void TearDown() override {
        g_events = nullptr;
        DisplayTest::TearDown();
        g_client = nullptr;
    }

    HWND NewChild(const char16_t* title, DWORD style = WS_VISIBLE) {
        MDICREATESTRUCTW mcs{u"MdiTestChild", title, nullptr, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, style, 0};
        return reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }
    HWND Active(BOOL* maximized = nullptr) {
        return reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
    }
    std::vector<HWND> ZOrder() {
        std::vector<HWND> out;
        for (HWND c = GetWindow(client, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            out.push_back(c);
        }
        return out;
    }

    std::vector<Event> events;
    HMENU menuBar = nullptr;
    HMENU windowMenu = nullptr;
    HWND frame = nullptr;
    HWND client = nullptr;
};

TEST_F(MdiClientTest, CreatedChildrenAreNumberedListedAndTheNewestIsActive) {
    HWND one = NewChild(u"One");
    HWND two = NewChild(u"Two");
    HWND three = NewChild(u"Three");
    ASSERT_TRUE(one && two && three);
    EXPECT_EQ(Active(), three);
    EXPECT_EQ(GetFocus(), three);
    EXPECT_TRUE(GetWindowLongW(three, GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(GetDlgCtrlID(one), static_cast<int>(kFirstChild));
    EXPECT_EQ(GetDlgCtrlID(three), static_cast<int>(kFirstChild + 2));
    EXPECT_THAT(MenuTexts(windowMenu), ElementsAre(u"&Cascade", u"", u"&1 One", u"&2 Two", u"*&3 Three"));
    // New windows step down the client by a caption and a frame each.
    int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(WindowIn(one).left, 0);
    EXPECT_EQ(WindowIn(two).top, step);
    EXPECT_EQ(WindowIn(three).left, 2 * step);

    // A title change shows in the list.
    SetWindowTextW(two, u"Second");
    EXPECT_EQ(MenuTexts(windowMenu)[3], u"&2 Second");
}

TEST_F(MdiClientTest, ActivationTellsBothChildrenAndFollowsTheWindowMenu) {
    HWND one = NewChild(u"One");
    HWND two = NewChild(u"Two");
    events.clear();
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(one), 0);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].hwnd, two);
    EXPECT_EQ(events[0].msg, static_cast<UINT>(WM_NCACTIVATE));
    EXPECT_EQ(events[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(events[1].hwnd, two);
    EXPECT_EQ(events[1].msg, static_cast<UINT>(WM_MDIACTIVATE));
    EXPECT_EQ(events[2].hwnd, one);
    EXPECT_EQ(events[2].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(events[3].wParam, reinterpret_cast<WPARAM>(two));
    EXPECT_EQ(events[3].lParam, reinterpret_cast<LPARAM>(one));
    EXPECT_EQ(ZOrder().front(), one);
    EXPECT_EQ(GetFocus(), one);

    // The client passes caption states on to its active child.
    events.clear();
    SendMessageW(client, WM_NCACTIVATE, FALSE, 0);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].hwnd, one);
    EXPECT_EQ(events[0].wParam, static_cast<WPARAM>(FALSE));

    // The Window menu's entries activate their child through the frame.
    SendMessageW(frame, WM_COMMAND, kFirstChild + 1, 0);
    EXPECT_EQ(Active(), two);
    EXPECT_THAT(MenuTexts(windowMenu), ElementsAre(u"&Cascade", u"", u"&1 One", u"*&2 Two"));

    // A click into an inactive child activates it.
    SetWindowPos(one, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Click(one, POINT{5, 5});
    Pump();
    EXPECT_EQ(Active(), one);
}

TEST_F(MdiClientTest, NextAndPreviousCycleThroughTheChildren) {
    HWND one = NewChild(u"One");
    HWND two = NewChild(u"Two");
    HWND three = NewChild(u"Three");
    std::vector<HWND> seen;
    for (int i = 0; i < 3; ++i) {
        SendMessageW(client, WM_MDINEXT, 0, 0);
        seen.push_back(Active());
    }
    EXPECT_THAT(seen, ElementsAre(two, one, three));
    SendMessageW(client, WM_MDINEXT, 0, 1);
    EXPECT_EQ(Active(), one);
    SendMessageW(client, WM_MDINEXT, 0, 1);
    EXPECT_EQ(Active(), two);
    // The system command of a child does the same.
    SendMessageW(two, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
    EXPECT_EQ(Active(), one);
}

TEST_F(MdiClientTest, CascadeAndTileFillTheClient) {
    RECT area{};
    GetClientRect(client, &area);
    int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
    std::vector<HWND> kids;
    for (const char16_t* title : {u"A", u"B", u"C", u"D"}) {
        kids.push_back(NewChild(title));
    }
    EXPECT_EQ(SendMessageW(client, WM_MDICASCADE, 0, 0), 4);
    // The bottom of the Z order comes first, so the active window lies on top at the last place.
    EXPECT_EQ(WindowIn(kids[0]).left, 0);
    RECT top = WindowIn(kids[3]);
    EXPECT_EQ(top.left, 3 * step);
    EXPECT_EQ(top.top, 3 * step);
    EXPECT_EQ(top.right, area.right);
    EXPECT_EQ(top.bottom, area.bottom);

    struct Case {
        int windows;
        WPARAM how;
        std::vector<RECT> rects; // in Z order, the active first
    };
    int w = area.right;
    int h = area.bottom;
    const Case cases[] = {
        {2, MDITILE_VERTICAL, {{0, 0, w / 2, h}, {w / 2, 0, w, h}}},
        {2, MDITILE_HORIZONTAL, {{0, 0, w, h / 2}, {0, h / 2, w, h}}},
        {4,
         MDITILE_VERTICAL,
         {{0, 0, w / 2, h / 2}, {0, h / 2, w / 2, h}, {w / 2, 0, w, h / 2}, {w / 2, h / 2, w, h}}},
        // Five make two columns, the odd one in the last.
        {5,
         MDITILE_VERTICAL,
         {{0, 0, w / 2, h / 2},
          {0, h / 2, w / 2, h},
          {w / 2, 0, w, h / 3},
          {w / 2, h / 3, w, 2 * h / 3},
          {w / 2, 2 * h / 3, w, h}}},
    };
    for (const Case& c : cases) {
        while (static_cast<int>(kids.size()) < c.windows) {
            kids.push_back(NewChild(u"More"));
        }
        while (static_cast<int>(kids.size()) > c.windows) {
            SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(kids.back()), 0);
            kids.pop_back();
        }
        EXPECT_EQ(SendMessageW(client, WM_MDITILE, c.how, 0), c.windows);
        std::vector<HWND> order = ZOrder();
        for (std::size_t i = 0; i < order.size(); ++i) {
            RECT rc = WindowIn(order[i]);
            EXPECT_EQ(rc.left, c.rects[i].left) << c.windows << " windows, " << i;
            EXPECT_EQ(rc.top, c.rects[i].top) << c.windows << " windows, " << i;
            EXPECT_EQ(rc.right, c.rects[i].right) << c.windows << " windows, " << i;
            EXPECT_EQ(rc.bottom, c.rects[i].bottom) << c.windows << " windows, " << i;
        }
    }
}

TEST_F(MdiClientTest, AMaximisedChildLendsItsButtonsAndTitleToTheFrame) {
    HWND one = NewChild(u"One");
    HWND two = NewChild(u"Two");
    int items = GetMenuItemCount(menuBar);
    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(two), 0);
    BOOL maximized = FALSE;
    EXPECT_EQ(Active(&maximized), two);
    EXPECT_TRUE(maximized);
    // Its client area covers the MDI client; caption and frame lie outside.
    RECT inner{};
    GetClientRect(two, &inner);
    RECT area{};
    GetClientRect(client, &area);
    EXPECT_EQ(inner.right, area.right);
    EXPECT_EQ(inner.bottom, area.bottom);
    POINT origin{0, 0};
    MapWindowPoints(two, client, &origin, 1);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    // System menu first, minimise, restore and close last.
    ASSERT_EQ(GetMenuItemCount(menuBar), items + 4);
    EXPECT_EQ(GetSubMenu(menuBar, 0), GetSystemMenu(two, FALSE));
    EXPECT_EQ(GetMenuItemID(menuBar, items + 1), static_cast<UINT>(SC_MINIMIZE));
    EXPECT_EQ(GetMenuItemID(menuBar, items + 2), static_cast<UINT>(SC_RESTORE));
    EXPECT_EQ(GetMenuItemID(menuBar, items + 3), static_cast<UINT>(SC_CLOSE));
    // At the bar's end as on a caption: menu-size buttons side by side, close 2 pixels apart and 2 from the
    // end.
    RECT minimize{}, restore{}, close{};
    ASSERT_TRUE(GetMenuItemRect(frame, menuBar, static_cast<UINT>(items + 1), &minimize));
    ASSERT_TRUE(GetMenuItemRect(frame, menuBar, static_cast<UINT>(items + 2), &restore));
    ASSERT_TRUE(GetMenuItemRect(frame, menuBar, static_cast<UINT>(items + 3), &close));
    const int button = GetSystemMetrics(SM_CXMENUSIZE) - 2;
    EXPECT_EQ(minimize.right - minimize.left, button);
    EXPECT_EQ(minimize.right, restore.left);
    EXPECT_EQ(restore.right - restore.left, button);
    EXPECT_EQ(restore.right, close.left);
    EXPECT_EQ(close.right - close.left, button + 4);
    RECT window{};
    GetWindowRect(frame, &window);
    EXPECT_EQ(close.right, window.right - GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(Text(frame), u"Frame - [Two]");
    // The frame's own caption changes keep the child's part.
    SetWindowTextW(frame, u"App");
    EXPECT_EQ(Text(frame), u"App - [Two]");

    // Another child activated takes the maximised state over.
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(one), 0);
    EXPECT_TRUE(IsZoomed(one));
    EXPECT_FALSE(IsZoomed(two));
    EXPECT_EQ(GetSubMenu(menuBar, 0), GetSystemMenu(one, FALSE));
    EXPECT_EQ(GetMenuItemCount(menuBar), items + 4);
    EXPECT_EQ(Text(frame), u"App - [One]");

    // The close button in the menu bar closes the maximised child; the next one is maximised.
    SendMessageW(frame, WM_COMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(one));
    EXPECT_EQ(Active(&maximized), two);
    EXPECT_TRUE(maximized);
    EXPECT_EQ(Text(frame), u"App - [Two]");

    SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(two), 0);
    EXPECT_FALSE(IsZoomed(two));
    EXPECT_EQ(GetMenuItemCount(menuBar), items);
    EXPECT_EQ(GetSubMenu(menuBar, 0) != nullptr, true);
    EXPECT_NE(GetSubMenu(menuBar, 0), GetSystemMenu(two, FALSE));
    EXPECT_EQ(Text(frame), u"App");
}

TEST_F(MdiClientTest, DestroyingChildrenActivatesTheNextAndRenumbers) {
    HWND one = NewChild(u"One");
    HWND two = NewChild(u"Two");
    HWND three = NewChild(u"Three");
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(three), 0);
    EXPECT_FALSE(IsWindow(three));
    EXPECT_EQ(Active(), two);
    // Closing a child through its system command goes the same way.
    SendMessageW(one, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(one));
    EXPECT_EQ(GetDlgCtrlID(two), static_cast<int>(kFirstChild));
    EXPECT_THAT(MenuTexts(windowMenu), ElementsAre(u"&Cascade", u"", u"*&1 Two"));

    // The last one is told it is no longer active, and the list leaves the menu.
    events.clear();
    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(two), 0);
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[1].msg, static_cast<UINT>(WM_MDIACTIVATE));
    EXPECT_EQ(events[1].wParam, reinterpret_cast<WPARAM>(two));
    EXPECT_EQ(events[1].lParam, 0);
    EXPECT_EQ(Active(), nullptr);
    EXPECT_THAT(MenuTexts(windowMenu), ElementsAre(u"&Cascade"));
}

TEST_F(MdiClientTest, SetMenuMovesTheListToTheNewWindowMenu) {
    NewChild(u"One");
    HMENU other = CreateMenu();
    HMENU otherWindow = CreatePopupMenu();
    AppendMenuW(otherWindow, MF_STRING, 300, u"&Tile");
    AppendMenuW(other, MF_POPUP, reinterpret_cast<UINT_PTR>(otherWindow), u"&Window");
    EXPECT_EQ(reinterpret_cast<HMENU>(SendMessageW(client, WM_MDISETMENU, reinterpret_cast<WPARAM>(other),
                                                   reinterpret_cast<LPARAM>(otherWindow))),
              menuBar);
    EXPECT_EQ(GetMenu(frame), other);
    EXPECT_THAT(MenuTexts(windowMenu), ElementsAre(u"&Cascade"));
    EXPECT_THAT(MenuTexts(otherWindow), ElementsAre(u"&Tile", u"", u"*&1 One"));
    // Null parameters keep what is set.
    SendMessageW(client, WM_MDISETMENU, 0, 0);
    EXPECT_EQ(GetMenu(frame), other);
    SetMenu(frame, menuBar);
    DestroyMenu(other);
}

TEST_F(MdiClientTest, MinimisedChildrenLineUpAlongTheBottom) {
    HWND one = NewChild(u"One");
    HWND two = NewChild(u"Two");
    ShowWindow(one, SW_MINIMIZE);
    ShowWindow(two, SW_MINIMIZE);
    RECT area{};
    GetClientRect(client, &area);
    RECT a = WindowIn(one);
    RECT b = WindowIn(two);
    EXPECT_EQ(a.bottom, area.bottom);
    EXPECT_EQ(b.bottom, area.bottom);
    EXPECT_EQ(std::min(a.left, b.left), 0);
    EXPECT_EQ(std::abs(a.left - b.left), GetSystemMetrics(SM_CXMINSPACING));
    // Restored ones are not counted by cascade.
    EXPECT_EQ(SendMessageW(client, WM_MDICASCADE, 0, 0), 0);
}

} // namespace
