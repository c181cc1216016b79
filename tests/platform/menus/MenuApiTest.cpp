// Menus and accelerators at the window-system level: building and editing menus, menus from templates,
// accelerator tables and their translation, and the tracking loop driven by posted input.
#include "MenuTestIds.h"

#include "platform/controls/ControlConstants.h"
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"
#include "platform/kernel/Threads.h"
#include "platform/resources/Resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> g_seen;
LRESULT g_menuCharAnswer = 0;
HMENU g_clickMenu = nullptr;
LONG g_clickRight = 0;
HWND g_clickHwnd = nullptr;
std::vector<std::pair<UINT, ULONG_PTR>> g_ownerItems; // WM_MEASUREITEM/WM_DRAWITEM: item id and data
UINT g_drawState = 0;
HMENU g_clickSub = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        g_seen.push_back({msg, wParam, lParam});
        break;
    case WM_MENUCHAR:
        g_seen.push_back({msg, wParam, lParam});
        return g_menuCharAnswer;
    default:
        break;
    }
    if (msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        g_ownerItems.emplace_back(dis->itemID, dis->itemData);
        g_drawState |= dis->itemState;
        EXPECT_EQ(dis->CtlType, static_cast<UINT>(ODT_MENU));
        EXPECT_EQ(dis->rcItem.bottom - dis->rcItem.top, 30);
        return TRUE;
    }
    if (msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        g_ownerItems.emplace_back(mis->itemID, mis->itemData);
        mis->itemWidth = 77;
        mis->itemHeight = 30;
        return TRUE;
    }
    if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        return 0; // recorded only
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Pump() {
    MSG m{};
    for (int i = 0; i < 10000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void Key(UINT vk, bool down) {
    DisplayInjectKey(vk, 0, down ? TRUE : FALSE, FALSE);
}
void Tap(UINT vk) {
    Key(vk, true);
    Key(vk, false);
}

POINT Center(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class MenuApiTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = RecordingProc;
            wc.lpszClassName = u"MenuApiTestWindow";
            wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            ASSERT_NE(RegisterClassExW(&wc), 0);
            registered = true;
        }
        g_seen.clear();
        g_menuCharAnswer = 0;
    }
    void TearDown() override {
        if (hwnd_) {
            DestroyWindow(hwnd_);
        }
        Pump();
    }

    HWND MakeWindow(HMENU menu) {
        hwnd_ = CreateWindowExW(0, u"MenuApiTestWindow", u"Menus", WS_OVERLAPPEDWINDOW, 40, 40, 400, 300,
                                nullptr, menu, nullptr, nullptr);
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
        SetFocus(hwnd_);
        UpdateWindow(hwnd_);
        Pump();
        g_seen.clear();
        return hwnd_;
    }

    std::vector<Seen> Of(UINT msg) const {
        std::vector<Seen> out;
        for (const auto& s : g_seen) {
            if (s.msg == msg) {
                out.push_back(s);
            }
        }
        return out;
    }
    std::vector<UINT> Commands() const {
        std::vector<UINT> out;
        for (const auto& s : Of(WM_COMMAND)) {
            out.push_back(LOWORD(s.wParam));
        }
        return out;
    }

    HWND hwnd_ = nullptr;
};

TEST_F(MenuApiTest, ItemsAreAddedFoundAndChangedByPositionAndByCommand) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU recent = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(file, MF_STRING, 100, u"&Open\tCtrl+O"));
    ASSERT_TRUE(AppendMenuW(file, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuW(recent, MF_STRING | MF_GRAYED, 110, u"one"));
    ASSERT_TRUE(AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), u"&Recent"));
    ASSERT_TRUE(InsertMenuW(file, 100, MF_BYCOMMAND | MF_STRING, 99, u"&New"));
    ASSERT_TRUE(AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), u"&File"));

    EXPECT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(GetMenuItemID(file, 0), 99u);
    EXPECT_EQ(GetMenuItemID(file, 1), 100u);
    EXPECT_EQ(GetMenuItemID(file, 2), 0u);                    // the separator
    EXPECT_EQ(GetMenuItemID(file, 3), static_cast<UINT>(-1)); // a submenu
    EXPECT_EQ(GetMenuItemID(file, 9), static_cast<UINT>(-1));
    EXPECT_EQ(GetSubMenu(bar, 0), file);
    EXPECT_EQ(GetSubMenu(file, 3), recent);

    // By command the search goes into submenus.
    EXPECT_EQ(GetMenuState(bar, 110, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(GetMenuState(bar, 555, MF_BYCOMMAND), static_cast<UINT>(-1));
    UINT popupState = GetMenuState(file, 3, MF_BYPOSITION);
    EXPECT_TRUE(popupState & MF_POPUP);
    EXPECT_EQ(popupState >> 8, 1u); // the submenu's item count

    WCHAR text[32];
    EXPECT_EQ(GetMenuStringW(bar, 100, text, 32, MF_BYCOMMAND), 12);
    EXPECT_EQ(std::u16string(text), u"&Open\tCtrl+O");
    EXPECT_EQ(GetMenuStringW(file, 0, text, 3, MF_BYPOSITION), 2); // cut to the buffer
    EXPECT_EQ(std::u16string(text), u"&N");

    EXPECT_EQ(CheckMenuItem(bar, 100, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(bar, 100, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(bar, 555, MF_CHECKED), static_cast<DWORD>(-1));
    EXPECT_EQ(EnableMenuItem(bar, 110, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(bar, 110, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(bar, 555, MF_GRAYED), -1);

    ASSERT_TRUE(ModifyMenuW(file, 0, MF_BYPOSITION | MF_STRING | MF_CHECKED, 98, u"N&ew"));
    EXPECT_EQ(GetMenuItemID(file, 0), 98u);
    EXPECT_TRUE(GetMenuState(file, 98, MF_BYCOMMAND) & MF_CHECKED);

    // RemoveMenu keeps the submenu alive, DeleteMenu destroys it.
    ASSERT_TRUE(RemoveMenu(file, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(recent));
    ASSERT_TRUE(AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), u"&Recent"));
    ASSERT_TRUE(DeleteMenu(file, 3, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(recent));
    EXPECT_FALSE(DeleteMenu(file, 7, MF_BYPOSITION));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND));

    ASSERT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(file)); // submenus go with their menu
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    EXPECT_EQ(GetMenuItemCount(bar), -1);
}

TEST_F(MenuApiTest, ItemInfoRadioGroupsAndDefaultItem) {
    HMENU menu = CreatePopupMenu();
    for (UINT id = 1; id <= 3; ++id) {
        AppendMenuW(menu, MF_STRING, id, u"item");
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_STATE | MIIM_FTYPE;
    info.wID = 7;
    info.dwTypeData = const_cast<LPWSTR>(u"Se&ven");
    info.dwItemData = 0xABCD;
    info.fState = MFS_CHECKED;
    info.fType = MFT_RADIOCHECK;
    ASSERT_TRUE(InsertMenuItemW(menu, 0, TRUE, &info));

    MENUITEMINFOW got{};
    WCHAR buffer[16];
    got.cbSize = sizeof got;
    got.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
    got.dwTypeData = buffer;
    got.cch = 16;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 7, FALSE, &got));
    EXPECT_EQ(got.wID, 7u);
    EXPECT_EQ(std::u16string(buffer), u"Se&ven");
    EXPECT_EQ(got.cch, 6u);
    EXPECT_EQ(got.dwItemData, 0xABCDu);
    EXPECT_TRUE(got.fState & MFS_CHECKED);
    EXPECT_TRUE(got.fType & MFT_RADIOCHECK);
    EXPECT_EQ(got.hSubMenu, nullptr);

    // Without a buffer the length comes back.
    got.fMask = MIIM_STRING;
    got.dwTypeData = nullptr;
    got.cch = 0;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 0, TRUE, &got));
    EXPECT_EQ(got.cch, 6u);

    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    set.fMask = MIIM_DATA;
    set.dwItemData = 42;
    ASSERT_TRUE(SetMenuItemInfoW(menu, 2, TRUE, &set));
    got.fMask = MIIM_DATA | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 2, TRUE, &got));
    EXPECT_EQ(got.dwItemData, 42u);
    EXPECT_EQ(got.wID, 2u); // untouched
    EXPECT_FALSE(SetMenuItemInfoW(menu, 99, FALSE, &set));

    ASSERT_TRUE(CheckMenuRadioItem(menu, 1, 3, 2, MF_BYCOMMAND));
    EXPECT_FALSE(GetMenuState(menu, 1, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(menu, 2, MF_BYCOMMAND) & MFT_RADIOCHECK);
    EXPECT_TRUE(GetMenuState(menu, 7, MF_BYCOMMAND) & MF_CHECKED); // outside the range

    ASSERT_TRUE(SetMenuDefaultItem(menu, 3, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), 3u);
    EXPECT_EQ(GetMenuDefaultItem(menu, TRUE, 0), 3u);
    EXPECT_FALSE(SetMenuDefaultItem(menu, 44, FALSE));
    DestroyMenu(menu);
}

TEST_F(MenuApiTest, MenusAndAcceleratorsLoadFromTheEmbeddedResources) {
    HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MENUFRAME));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    HMENU edit = GetSubMenu(menu, 1);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetMenuItemCount(edit), 6);
    EXPECT_EQ(GetMenuItemID(edit, 1), static_cast<UINT>(ID_VIEW_CMD));
    HMENU more = GetSubMenu(edit, 5);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(GetMenuItemID(more, 0), static_cast<UINT>(ID_DEEP_CMD));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 0), 2), 0u); // the separator
    HMENU context = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_CONTEXT));
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(GetMenuState(context, ID_CTX_GRAYED, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(context);
    DestroyMenu(menu);

    EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(999)), nullptr);

    HACCEL accel = LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(IDR_MENUFRAME));
    ASSERT_NE(accel, nullptr);
    ASSERT_EQ(CopyAcceleratorTableW(accel, nullptr, 0), 4);
    ACCEL entries[4]{};
    ASSERT_EQ(CopyAcceleratorTableW(accel, entries, 4), 4);
    EXPECT_EQ(entries[0].key, 'A');
    EXPECT_EQ(entries[0].cmd, ID_APP_CMD);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL | FNOINVERT);
    EXPECT_EQ(entries[3].key, 'd');
    EXPECT_EQ(entries[3].fVirt & FVIRTKEY, 0);
    ASSERT_EQ(CopyAcceleratorTableW(accel, entries, 2), 2);
    EXPECT_TRUE(DestroyAcceleratorTable(accel));
    EXPECT_FALSE(DestroyAcceleratorTable(accel));
}

TEST_F(MenuApiTest, AcceleratorsSendCommandsMatchingModifiersAndSkipDisabledItems) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 10, u"&Ten");
    AppendMenuW(popup, MF_STRING | MF_GRAYED, 11, u"&Eleven");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), u"&Numbers");
    HWND hwnd = MakeWindow(bar);
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'T', 10}, {FVIRTKEY, VK_F2, 11}, {FVIRTKEY, VK_F3, 12}};
    HACCEL accel = CreateAcceleratorTableW(table, 3);
    ASSERT_NE(accel, nullptr);

    auto run = [&](std::initializer_list<std::pair<UINT, bool>> keys) {
        for (auto [vk, down] : keys) {
            Key(vk, down);
        }
        int translated = 0;
        MSG m{};
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorW(hwnd, accel, &m)) {
                ++translated;
                continue;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        return translated;
    };

    EXPECT_EQ(run({{VK_CONTROL, true}, {'T', true}, {'T', false}, {VK_CONTROL, false}}), 1);
    ASSERT_EQ(Commands(), std::vector<UINT>{10});
    EXPECT_EQ(HIWORD(Of(WM_COMMAND)[0].wParam), 1); // from an accelerator
    // The owner updates its menu first, as if the user opened it.
    EXPECT_EQ(Of(WM_INITMENU).size(), 1u);
    EXPECT_EQ(Of(WM_INITMENUPOPUP).size(), 1u);

    g_seen.clear();
    EXPECT_EQ(run({{'T', true}, {'T', false}}), 0);     // Ctrl is part of the entry
    EXPECT_EQ(run({{VK_F2, true}, {VK_F2, false}}), 1); // matched, but the item is disabled
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(run({{VK_F3, true}, {VK_F3, false}}), 1); // no menu item: always sent
    EXPECT_EQ(Commands(), std::vector<UINT>{12});
    DestroyAcceleratorTable(accel);
}

TEST_F(MenuApiTest, KeyboardDrivesTheMenuBar) {
    HMENU bar = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MENUFRAME));
    MakeWindow(bar);

    // Alt alone enters the bar; Right moves to Edit, Down opens it, Down twice and Enter choose "Shared".
    Tap(VK_MENU);
    Tap(VK_RIGHT);
    Tap(VK_DOWN);
    Tap(VK_DOWN);
    Tap(VK_DOWN);
    Tap(VK_RETURN);
    Pump();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_SHARED_CMD});
    ASSERT_FALSE(Of(WM_ENTERMENULOOP).empty());
    EXPECT_EQ(Of(WM_ENTERMENULOOP)[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(Of(WM_INITMENU).size(), 1u);
    ASSERT_EQ(Of(WM_INITMENUPOPUP).size(), 1u);
    EXPECT_EQ(reinterpret_cast<HMENU>(Of(WM_INITMENUPOPUP)[0].wParam), GetSubMenu(bar, 1));
    EXPECT_EQ(LOWORD(Of(WM_INITMENUPOPUP)[0].lParam), 1);
    EXPECT_EQ(Of(WM_EXITMENULOOP).size(), 1u);
    auto selects = Of(WM_MENUSELECT);
    ASSERT_FALSE(selects.empty());
    EXPECT_EQ(HIWORD(selects.back().wParam), 0xFFFF); // the close
    bool sawShared = false;
    for (const auto& s : selects) {
        sawShared = sawShared || LOWORD(s.wParam) == ID_SHARED_CMD;
    }
    EXPECT_TRUE(sawShared);

    // Alt+E opens Edit; the mnemonic M opens the submenu, D chooses the deep item.
    g_seen.clear();
    Key(VK_MENU, true);
    Tap('E');
    Key(VK_MENU, false);
    Tap('M');
    Tap('D');
    Pump();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_DEEP_CMD});
    EXPECT_EQ(Of(WM_INITMENUPOPUP).size(), 2u);

    // F10 enters too; Escape twice leaves without a command; disabled items are not chosen.
    g_seen.clear();
    EnableMenuItem(bar, ID_FRAME_CMD, MF_GRAYED);
    Tap(VK_F10);
    Tap(VK_RETURN); // opens File
    Tap(VK_DOWN);   // to the disabled Frame command (still selectable)
    Tap(VK_RETURN); // nothing
    Tap(VK_ESCAPE);
    Tap(VK_ESCAPE);
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Of(WM_EXITMENULOOP).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);

    // An unknown mnemonic asks the owner, whose answer may choose an item.
    g_seen.clear();
    g_menuCharAnswer = MAKELRESULT(0, MNC_EXECUTE);
    Key(VK_MENU, true);
    Tap('F');
    Key(VK_MENU, false);
    Tap('Q');
    Pump();
    ASSERT_EQ(Of(WM_MENUCHAR).size(), 1u);
    EXPECT_EQ(LOWORD(Of(WM_MENUCHAR)[0].wParam), u'q');
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_APP_CMD});
}

TEST_F(MenuApiTest, MouseDrivesTheMenuBar) {
    HMENU bar = LoadMenuW(nullptr, MAKEINTRESOURCEW(IDR_MENUFRAME));
    HWND hwnd = MakeWindow(bar);
    RECT file{};
    RECT edit{};
    ASSERT_TRUE(GetMenuItemRect(hwnd, bar, 0, &file));
    ASSERT_TRUE(GetMenuItemRect(hwnd, bar, 1, &edit));
    EXPECT_EQ(file.bottom - file.top, GetSystemMetrics(SM_CYMENU));
    EXPECT_GT(edit.left, file.left);
    // The bar takes its place above the client area.
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_LE(file.bottom, origin.y);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(Center(file).x, Center(file).y)), HTMENU);

    // Press on File and release: File stays open; hover over Edit switches to it. The popup's items are
    // found while the loop runs, so the clicks on them come from the loop's own WM_INITMENUPOPUP.
    HMENU editMenu = GetSubMenu(bar, 1);
    g_clickHwnd = hwnd;
    g_clickSub = editMenu;
    DisplayInjectMouse(WM_MOUSEMOVE, Center(file));
    DisplayInjectMouse(WM_LBUTTONDOWN, Center(file));
    DisplayInjectMouse(WM_LBUTTONUP, Center(file));
    DisplayInjectMouse(WM_MOUSEMOVE, Center(edit));
    // A message posted to the window runs inside the loop after the popup of Edit shows.
    struct Clicker {
        static void CALLBACK Run(HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(g_clickHwnd, id);
            RECT item{};
            if (GetMenuItemRect(g_clickHwnd, g_clickSub, 1, &item)) {
                DisplayInjectMouse(WM_MOUSEMOVE, Center(item));
                DisplayInjectMouse(WM_LBUTTONDOWN, Center(item));
                DisplayInjectMouse(WM_LBUTTONUP, Center(item));
            } else {
                EndMenu();
            }
        }
    };
    DisplayUseTestClock();
    SetTimer(hwnd, 1, 10, Clicker::Run);
    DisplayAdvanceTestClock(20);
    Pump();
    DisplayUseRealClock();
    EXPECT_EQ(Commands(), std::vector<UINT>{ID_VIEW_CMD});
    EXPECT_EQ(Of(WM_INITMENUPOPUP).size(), 2u); // File, then Edit
    EXPECT_EQ(GetCapture(), nullptr);

    // A click outside every menu dismisses it.
    g_seen.clear();
    DisplayInjectMouse(WM_LBUTTONDOWN, Center(file));
    DisplayInjectMouse(WM_LBUTTONUP, Center(file));
    DisplayInjectMouse(WM_LBUTTONDOWN, POINT{origin.x + 300, origin.y + 200});
    DisplayInjectMouse(WM_LBUTTONUP, POINT{origin.x + 300, origin.y + 200});
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Of(WM_EXITMENULOOP).size(), 1u);
}

TEST_F(MenuApiTest, TrackPopupMenuReturnsOrPostsTheChoice) {
    HWND hwnd = MakeWindow(nullptr);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 501, u"&First");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | MF_GRAYED, 502, u"&Grayed");
    AppendMenuW(menu, MF_STRING, 503, u"&Last");

    // Keyboard: Down selects the first item, Down skips the separator, Down again lands on Last.
    Tap(VK_DOWN);
    Tap(VK_DOWN);
    Tap(VK_DOWN);
    Tap(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 100, 100, 0, hwnd, nullptr), 503);
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(g_seen.empty()); // TPM_NONOTIFY

    // Mnemonic, posted as WM_COMMAND to the owner.
    g_seen.clear();
    Tap('F');
    EXPECT_EQ(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 100, 100, 0, hwnd, nullptr), TRUE);
    EXPECT_TRUE(Commands().empty()); // posted, not sent
    Pump();
    EXPECT_EQ(Commands(), std::vector<UINT>{501});
    ASSERT_EQ(Of(WM_ENTERMENULOOP).size(), 1u);
    EXPECT_EQ(Of(WM_ENTERMENULOOP)[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(Of(WM_INITMENUPOPUP).size(), 1u);

    // Escape answers 0; a disabled item's mnemonic chooses nothing.
    Tap('G');
    Tap(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, hwnd, nullptr), 0);

    // Right alignment puts the menu's right edge at x; the mouse chooses on release.
    struct Clicker {
        static void CALLBACK Run(HWND owner, UINT, UINT_PTR id, DWORD) {
            KillTimer(owner, id);
            RECT item{};
            // The menu was opened by TrackPopupMenu: its handle is the one the test keeps.
            if (GetMenuItemRect(owner, g_clickMenu, 3, &item)) {
                g_clickRight = item.right;
                DisplayInjectMouse(WM_MOUSEMOVE, Center(item));
                DisplayInjectMouse(WM_LBUTTONDOWN, Center(item));
                DisplayInjectMouse(WM_LBUTTONUP, Center(item));
            } else {
                EndMenu();
            }
        }
    };
    g_clickMenu = menu;
    DisplayUseTestClock();
    SetTimer(hwnd, 2, 10, Clicker::Run);
    DisplayAdvanceTestClock(20);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTALIGN, 300, 100, 0, hwnd, nullptr), 503);
    DisplayUseRealClock();
    EXPECT_LE(g_clickRight, 300);
    EXPECT_GT(g_clickRight, 250);

    EXPECT_FALSE(TrackPopupMenu(reinterpret_cast<HMENU>(0x1234), 0, 0, 0, 0, hwnd, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
    DestroyMenu(menu);
}

TEST_F(MenuApiTest, MessageFiltersSeeTheMenusInputFirstAndMayEatIt) {
    HWND hwnd = MakeWindow(nullptr);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 501, u"&First");
    AppendMenuW(menu, MF_STRING, 502, u"&Second");
    struct Filter {
        static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
            const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            if (code == MSGF_MENU && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
                return TRUE;
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        }
    };
    HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, &Filter::Proc, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    // Escape would close the menu; eaten, Down and Return choose the first item.
    Tap(VK_ESCAPE);
    Tap(VK_DOWN);
    Tap(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, hwnd, nullptr), 501);
    UnhookWindowsHookEx(hook);
    Tap(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, hwnd, nullptr), 0);
    DestroyMenu(menu);
}

TEST_F(MenuApiTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
    HWND hwnd = MakeWindow(nullptr);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_OWNERDRAW, 601, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(0x5150)));
    AppendMenuW(menu, MF_STRING, 602, u"&Plain");
    g_ownerItems.clear();
    g_drawState = 0;
    Tap(VK_DOWN); // selects the owner-drawn item: drawn again, selected
    Tap(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 100, 100, 0, hwnd, nullptr), 601);
    ASSERT_EQ(Of(WM_MEASUREITEM).size(), 1u);
    ASSERT_GE(Of(WM_DRAWITEM).size(), 1u);
    for (const auto& [id, data] : g_ownerItems) {
        EXPECT_EQ(id, 601u);
        EXPECT_EQ(data, 0x5150u);
    }
    EXPECT_TRUE(g_drawState & ODS_SELECTED);
    DestroyMenu(menu);
}

TEST_F(MenuApiTest, SystemMenuSendsSysCommands) {
    HWND hwnd = MakeWindow(nullptr);
    HMENU sys = GetSystemMenu(hwnd, FALSE);
    ASSERT_NE(sys, nullptr);
    EXPECT_EQ(GetSystemMenu(hwnd, FALSE), sys);
    EXPECT_EQ(GetMenuItemID(sys, GetMenuItemCount(sys) - 1), static_cast<UINT>(SC_CLOSE));
    // Alt+Space opens it; C chooses Close.
    Key(VK_MENU, true);
    Tap(VK_SPACE);
    Key(VK_MENU, false);
    Tap('C');
    Pump();
    bool sawClose = false;
    for (const auto& s : Of(WM_SYSCOMMAND)) {
        sawClose = sawClose || (s.wParam & 0xFFF0) == SC_CLOSE;
    }
    EXPECT_TRUE(sawClose);
    EXPECT_TRUE(IsWindow(hwnd));
    // Restore is disabled for a window that is neither minimised nor maximised.
    EXPECT_TRUE(GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND) & MF_GRAYED);
}

} // namespace
