#include "ControlsTestSupport.h"

namespace controlstest {
namespace {

using ButtonTest = ControlsTest;

TEST_F(ButtonTest, AutoRadioClickChecksItselfAndUnchecksOnlyItsGroup) {
    HWND a = Make(u"Button", u"A", BS_AUTORADIOBUTTON | WS_GROUP, {10, 10, 100, 30}, 1);
    HWND b = Make(u"Button", u"B", BS_AUTORADIOBUTTON, {10, 40, 100, 60}, 2);
    HWND c = Make(u"Button", u"C", BS_AUTORADIOBUTTON, {10, 70, 100, 90}, 3);
    HWND d = Make(u"Button", u"D", BS_AUTORADIOBUTTON | WS_GROUP, {10, 100, 100, 120}, 4);
    SendMessageW(a, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(c, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(d, BM_SETCHECK, BST_CHECKED, 0);

    Click(b, {5, 5});

    EXPECT_EQ(SendMessageW(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(c, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(d, BM_GETCHECK, 0, 0), BST_CHECKED) << "another group";
    EXPECT_EQ(Codes(2), std::vector<UINT>{BN_CLICKED});
    EXPECT_EQ(GetFocus(), b);
    // The checked radio button is the group's tab stop.
    EXPECT_TRUE(GetWindowLongW(b, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongW(a, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(ButtonTest, CheckBoxesToggleByMouseAndSpace) {
    HWND check = Make(u"Button", u"Check", BS_AUTOCHECKBOX, {10, 10, 120, 30}, 1);
    HWND tri = Make(u"Button", u"Three", BS_AUTO3STATE, {10, 40, 120, 60}, 2);
    HWND manual = Make(u"Button", u"Manual", BS_CHECKBOX, {10, 70, 120, 90}, 3);

    Click(check, {5, 5});
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    SetFocus(check);
    DisplayInjectKey(VK_SPACE, 0, TRUE, FALSE);
    Pump();
    EXPECT_TRUE(SendMessageW(check, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_TRUE(SendMessageW(check, BM_GETSTATE, 0, 0) & BST_FOCUS);
    DisplayInjectKey(VK_SPACE, 0, FALSE, FALSE);
    Pump();
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(SendMessageW(check, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(Codes(1), (std::vector<UINT>{BN_CLICKED, BN_CLICKED}));

    std::vector<LRESULT> cycle;
    for (int i = 0; i < 3; ++i) {
        Click(tri, {5, 5});
        cycle.push_back(SendMessageW(tri, BM_GETCHECK, 0, 0));
    }
    EXPECT_EQ(cycle, (std::vector<LRESULT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));

    // A plain check box only reports; the program checks it. Indeterminate needs a three-state style.
    Click(manual, {5, 5});
    EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Codes(3), std::vector<UINT>{BN_CLICKED});
    SendMessageW(manual, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonTest, PushButtonClicksOnlyWhenReleasedOverIt) {
    HWND button = Make(u"Button", u"OK", BS_PUSHBUTTON, {10, 10, 90, 35}, 7);
    MouseDown(button, {10, 10});
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(GetCapture(), button);
    MouseUp(button, {200, 10});
    EXPECT_TRUE(Codes(7).empty());
    EXPECT_EQ(GetCapture(), nullptr);

    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(Codes(7), std::vector<UINT>{BN_CLICKED});

    EnableWindow(button, FALSE);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(Codes(7).size(), 1u);
}

TEST_F(ButtonTest, DoubleClickNotifiesWithBsNotify) {
    HWND button = Make(u"Button", u"N", BS_PUSHBUTTON | BS_NOTIFY, {10, 10, 90, 35}, 7);
    POINT pt = ToScreen(button, {5, 5});
    DisplayInjectMouse(WM_LBUTTONDOWN, pt);
    DisplayInjectMouse(WM_LBUTTONUP, pt);
    DisplayInjectMouse(WM_LBUTTONDOWN, pt);
    DisplayInjectMouse(WM_LBUTTONUP, pt);
    Pump();
    EXPECT_EQ(Codes(7), (std::vector<UINT>{BN_SETFOCUS, BN_CLICKED, BN_DOUBLECLICKED}));
}

TEST_F(ButtonTest, DialogCodesFollowTheStyle) {
    struct Case {
        DWORD style;
        LRESULT code;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        HWND button = Make(u"Button", u"x", c.style, {0, 0, 50, 20}, 1);
        EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), c.code) << c.style;
        DestroyWindow(button);
    }
    // BM_SETSTYLE turns a push button into the default one.
    HWND button = Make(u"Button", u"x", BS_PUSHBUTTON, {0, 0, 50, 20}, 1);
    SendMessageW(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageW(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(ButtonTest, GroupBoxIsTransparentToTheMouse) {
    HWND group = Make(u"Button", u"Group", BS_GROUPBOX, {10, 10, 200, 150}, 1);
    EXPECT_EQ(SendMessageW(group, WM_NCHITTEST, 0, MAKELPARAM(50, 50)), HTTRANSPARENT);
    EXPECT_EQ(WindowFromPoint(ToScreen(group, {50, 50})), parent);
}

TEST_F(ButtonTest, ClassicFaceFocusRectangleAndColourMessages) {
    parentMessages.clear();
    HWND button = Make(u"Button", u"", BS_PUSHBUTTON, {10, 10, 90, 40}, 1);
    HWND def = Make(u"Button", u"", BS_DEFPUSHBUTTON, {100, 10, 180, 40}, 2);
    UpdateWindow(parent);
    EXPECT_EQ(DisplayGetPixel(button, 40, 15), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(DisplayGetPixel(button, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(DisplayGetPixel(button, 79, 29), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(DisplayGetPixel(button, 78, 28), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(DisplayGetPixel(def, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(DisplayGetPixel(def, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_NE(std::find(parentMessages.begin(), parentMessages.end(), static_cast<UINT>(WM_CTLCOLORBTN)),
              parentMessages.end());

    auto focusRow = [&] {
        int changed = 0;
        for (int x = 3; x < 77; ++x) {
            changed += DisplayGetPixel(button, x, 3) != GetSysColor(COLOR_BTNFACE) ? 1 : 0;
        }
        return changed;
    };
    EXPECT_EQ(focusRow(), 0);
    SetFocus(button);
    UpdateWindow(parent);
    EXPECT_GT(focusRow(), 20) << "a dotted focus rectangle three pixels in";

    // Pushed: sunken, the face still the face colour.
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    UpdateWindow(parent);
    EXPECT_EQ(DisplayGetPixel(button, 0, 0), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(ButtonTest, BitmapButtonShowsItsImage) {
    HWND button = Make(u"Button", u"text", BS_PUSHBUTTON | BS_BITMAP, {10, 10, 90, 40}, 1);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 8, 8};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(memory, &all, red);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
    UpdateWindow(parent);
    EXPECT_EQ(DisplayGetPixel(button, 40, 15), RGB(255, 0, 0));
    EXPECT_EQ(DisplayGetPixel(button, 10, 15), GetSysColor(COLOR_BTNFACE));
    DestroyWindow(button);
    DeleteObject(bitmap);
    DeleteObject(red);
}

TEST_F(ButtonTest, CheckBoxAsksTheStaticColourAndOwnerDrawAsksTheParent) {
    HWND check = Make(u"Button", u"Check", BS_AUTOCHECKBOX, {10, 10, 120, 30}, 1);
    parentMessages.clear();
    InvalidateRect(check, nullptr, TRUE);
    UpdateWindow(parent);
    EXPECT_NE(std::find(parentMessages.begin(), parentMessages.end(), static_cast<UINT>(WM_CTLCOLORSTATIC)),
              parentMessages.end());

    std::vector<DRAWITEMSTRUCT> drawn;
    parentHook = [&](UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_DRAWITEM) {
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return std::nullopt;
    };
    HWND owner = Make(u"Button", u"", BS_OWNERDRAW, {10, 40, 70, 60}, 9);
    UpdateWindow(parent);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(drawn.back().CtlID, 9u);
    EXPECT_EQ(drawn.back().hwndItem, owner);
    EXPECT_EQ(drawn.back().itemState & ODS_SELECTED, 0u);
    SendMessageW(owner, BM_SETSTATE, TRUE, 0);
    UpdateWindow(parent);
    EXPECT_TRUE(drawn.back().itemState & ODS_SELECTED);
}

} // namespace
} // namespace controlstest
