// The toolbar control on its own: buttons, layout, state, clicks and check groups.
#include "platform/controls/Toolbar.h"

#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<WPARAM> g_commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        g_commands.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TBBUTTON Button(int id, BYTE style = TBSTYLE_BUTTON, int image = 0, BYTE state = TBSTATE_ENABLED) {
    TBBUTTON b{};
    b.idCommand = id;
    b.fsStyle = style;
    b.iBitmap = image;
    b.fsState = state;
    return b;
}

class ToolbarControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterToolbarClass();
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = u"ToolbarTestParent";
        RegisterClassExW(&wc);
        parent_ = CreateWindowExW(0, u"ToolbarTestParent", u"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr,
                                  nullptr, nullptr, nullptr);
        toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0,
                                   300, 30, parent_, reinterpret_cast<HMENU>(7), nullptr, nullptr);
        ASSERT_NE(toolbar_, nullptr);
        SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELONG(24, 22));
        g_commands.clear();
    }
    void TearDown() override { DestroyWindow(parent_); }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(toolbar_, msg, wParam, lParam);
    }
    RECT ItemRect(int index) {
        RECT rc{};
        Send(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    void ClickAt(int index) {
        RECT rc = ItemRect(index);
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Send(WM_LBUTTONUP, 0, at);
    }
    BYTE State(int id) { return static_cast<BYTE>(Send(TB_GETSTATE, static_cast<WPARAM>(id))); }

    HWND parent_ = nullptr;
    HWND toolbar_ = nullptr;
};

TEST_F(ToolbarControlTest, ButtonsAndSeparatorsLieSideBySideAndWrap) {
    TBBUTTON buttons[] = {Button(10), Button(0, TBSTYLE_SEP, 6), Button(11, TBSTYLE_BUTTON, 1), Button(12)};
    ASSERT_TRUE(Send(TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons)));
    EXPECT_EQ(Send(TB_BUTTONCOUNT), 4);
    RECT expected[] = {{0, 0, 24, 22}, {24, 0, 30, 22}, {30, 0, 54, 22}, {54, 0, 78, 22}};
    for (int i = 0; i < 4; ++i) {
        RECT rc = ItemRect(i);
        EXPECT_TRUE(EqualRect(&rc, &expected[i])) << i;
    }
    // A wrapped button ends its row; a hidden one takes no room.
    Send(TB_SETSTATE, 11, TBSTATE_ENABLED | TBSTATE_WRAP);
    EXPECT_EQ(ItemRect(3).left, 0);
    EXPECT_EQ(ItemRect(3).top, 22);
    EXPECT_EQ(Send(TB_GETROWS), 2);
    Send(TB_HIDEBUTTON, 10, TRUE);
    EXPECT_EQ(ItemRect(1).left, 0);

    // Insert and delete by index; ids follow their buttons.
    TBBUTTON inserted = Button(20);
    ASSERT_TRUE(Send(TB_INSERTBUTTONW, 1, reinterpret_cast<LPARAM>(&inserted)));
    EXPECT_EQ(Send(TB_COMMANDTOINDEX, 20), 1);
    EXPECT_EQ(Send(TB_COMMANDTOINDEX, 12), 4);
    ASSERT_TRUE(Send(TB_DELETEBUTTON, 0));
    EXPECT_EQ(Send(TB_COMMANDTOINDEX, 20), 0);
    EXPECT_EQ(Send(TB_COMMANDTOINDEX, 10), -1);
    EXPECT_FALSE(Send(TB_DELETEBUTTON, 9));
    TBBUTTON out{};
    EXPECT_FALSE(Send(TB_GETBUTTON, 9, reinterpret_cast<LPARAM>(&out)));
    ASSERT_TRUE(Send(TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&out)));
    EXPECT_EQ(out.idCommand, 11);
    EXPECT_EQ(out.iBitmap, 1);
}

TEST_F(ToolbarControlTest, StateMessagesAndButtonInfo) {
    TBBUTTON buttons[] = {Button(10), Button(11)};
    Send(TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    EXPECT_TRUE(Send(TB_ENABLEBUTTON, 10, FALSE));
    EXPECT_FALSE(Send(TB_ISBUTTONENABLED, 10));
    EXPECT_TRUE(Send(TB_CHECKBUTTON, 11, TRUE));
    EXPECT_TRUE(Send(TB_ISBUTTONCHECKED, 11));
    EXPECT_TRUE(Send(TB_PRESSBUTTON, 11, TRUE));
    EXPECT_EQ(State(11), TBSTATE_ENABLED | TBSTATE_CHECKED | TBSTATE_PRESSED);
    EXPECT_FALSE(Send(TB_ENABLEBUTTON, 99, TRUE));
    EXPECT_EQ(Send(TB_GETSTATE, 99), -1);

    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_COMMAND | TBIF_IMAGE | TBIF_STYLE;
    info.idCommand = 30;
    info.iImage = 5;
    info.fsStyle = TBSTYLE_CHECK;
    EXPECT_TRUE(Send(TB_SETBUTTONINFOW, 10, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(Send(TB_COMMANDTOINDEX, 30), 0);
    TBBUTTONINFOW read{};
    read.cbSize = sizeof read;
    read.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_IMAGE | TBIF_STATE | TBIF_STYLE | TBIF_SIZE;
    EXPECT_EQ(Send(TB_GETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&read)), 0);
    EXPECT_EQ(read.idCommand, 30);
    EXPECT_EQ(read.iImage, 5);
    EXPECT_EQ(read.fsStyle, TBSTYLE_CHECK);
    EXPECT_EQ(read.fsState, 0);
    EXPECT_EQ(read.cx, 24);
    EXPECT_EQ(Send(TB_GETBUTTONINFOW, 99, reinterpret_cast<LPARAM>(&read)), -1);
    read.cbSize = 4;
    EXPECT_EQ(Send(TB_GETBUTTONINFOW, 0, reinterpret_cast<LPARAM>(&read)), -1);

    // Tooltips asked for after creation: one tool a button.
    EXPECT_EQ(Send(TB_GETTOOLTIPS), 0);
    Send(TB_SETSTYLE, 0, static_cast<LPARAM>(Send(TB_GETSTYLE) | TBSTYLE_TOOLTIPS));
    auto tip = reinterpret_cast<HWND>(Send(TB_GETTOOLTIPS));
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

    TBADDBITMAP bad{nullptr, 0};
    EXPECT_EQ(Send(TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&bad)), -1);
}

TEST_F(ToolbarControlTest, ClicksCommandAndToggleCheckBoxesAndGroups) {
    TBBUTTON buttons[] = {Button(10), Button(11, TBSTYLE_CHECK), Button(12, TBSTYLE_CHECKGROUP),
                          Button(13, TBSTYLE_CHECKGROUP), Button(14, TBSTYLE_BUTTON, 0, 0)};
    Send(TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(buttons));
    ClickAt(0);
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0], MAKEWPARAM(10, BN_CLICKED));
    ClickAt(1);
    EXPECT_TRUE(Send(TB_ISBUTTONCHECKED, 11));
    ClickAt(1);
    EXPECT_FALSE(Send(TB_ISBUTTONCHECKED, 11));
    ClickAt(2);
    ClickAt(3);
    EXPECT_FALSE(Send(TB_ISBUTTONCHECKED, 12)); // the group keeps one button down
    EXPECT_TRUE(Send(TB_ISBUTTONCHECKED, 13));
    ClickAt(3);
    EXPECT_TRUE(Send(TB_ISBUTTONCHECKED, 13));
    g_commands.clear();
    ClickAt(4); // disabled
    EXPECT_TRUE(g_commands.empty());

    // Pressed, then released elsewhere: no command, nothing stays pressed.
    RECT rc = ItemRect(0);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 3, rc.top + 3));
    EXPECT_TRUE(Send(TB_ISBUTTONPRESSED, 10));
    EXPECT_EQ(GetCapture(), toolbar_);
    Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 5));
    EXPECT_FALSE(Send(TB_ISBUTTONPRESSED, 10));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(250, 5));
    EXPECT_TRUE(g_commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    // TB_SETPARENT sends the commands elsewhere.
    HWND other = CreateWindowExW(0, u"ToolbarTestParent", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(Send(TB_SETPARENT, reinterpret_cast<WPARAM>(other))), parent_);
    ClickAt(0);
    ASSERT_EQ(g_commands.size(), 1u);
    DestroyWindow(other);
}

} // namespace
