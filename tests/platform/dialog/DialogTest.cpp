// The dialog manager from hand-built templates: creation, dialog units, WM_INITDIALOG and the focus, keyboard
// navigation, the modal loop, refusing malformed templates, the GetDlgItem* helpers.
#include "platform/dialog/Dialog.h"
#include "platform/base/MulDiv.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/StandardControls.h"
#include "platform/dialog/DialogTemplate.h"
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;

struct ItemSpec {
    DWORD style;
    short x, y, cx, cy;
    DWORD id;
    std::variant<WORD, std::u16string> cls;
    std::u16string text;
    std::vector<BYTE> data = {};
    DWORD exStyle = 0;
};

class Bytes {
public:
    void W(WORD v) {
        b.push_back(static_cast<BYTE>(v & 0xFF));
        b.push_back(static_cast<BYTE>(v >> 8));
    }
    void D(DWORD v) {
        W(static_cast<WORD>(v & 0xFFFF));
        W(static_cast<WORD>(v >> 16));
    }
    void S(const std::u16string& s) {
        for (char16_t c : s) {
            W(static_cast<WORD>(c));
        }
        W(0);
    }
    void Align() {
        while (b.size() % 4) {
            b.push_back(0);
        }
    }
    std::vector<BYTE> b;
};

// A DLGTEMPLATEEX with an 8-point font.
std::vector<BYTE> DialogEx(DWORD style, const std::vector<ItemSpec>& items, short cx = 200, short cy = 120) {
    Bytes t;
    t.W(1);
    t.W(0xFFFF);
    t.D(0);
    t.D(0);
    t.D(style | DS_SETFONT);
    t.W(static_cast<WORD>(items.size()));
    t.W(10);
    t.W(10);
    t.W(static_cast<WORD>(cx));
    t.W(static_cast<WORD>(cy));
    t.W(0); // no menu
    t.W(0); // the dialog class
    t.S(u"Test dialog");
    t.W(8);
    t.W(FW_NORMAL);
    t.b.push_back(0);
    t.b.push_back(DEFAULT_CHARSET);
    t.S(u"Liberation Sans");
    for (const ItemSpec& item : items) {
        t.Align();
        t.D(0);
        t.D(item.exStyle);
        t.D(item.style);
        t.W(static_cast<WORD>(item.x));
        t.W(static_cast<WORD>(item.y));
        t.W(static_cast<WORD>(item.cx));
        t.W(static_cast<WORD>(item.cy));
        t.D(item.id);
        if (std::holds_alternative<WORD>(item.cls)) {
            t.W(0xFFFF);
            t.W(std::get<WORD>(item.cls));
        } else {
            t.S(std::get<std::u16string>(item.cls));
        }
        t.S(item.text);
        t.W(static_cast<WORD>(item.data.size()));
        t.b.insert(t.b.end(), item.data.begin(), item.data.end());
    }
    return t.b;
}

constexpr int kLabel = 100, kName = 101, kAlpha = 102, kBeta = 103, kSpin = 104, kRecorder = 105;

// A label, an edit, a radio group of two, OK (the default), Cancel, an up-down, a recording custom control.
std::vector<ItemSpec> StandardItems() {
    return {
        {WS_CHILD | WS_VISIBLE | SS_LEFT, 5, 5, 40, 10, kLabel, kStatic, u"&Name:"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 50, 5, 80, 12, kName, kEdit,
         u"abc"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 5, 25, 60, 10, kAlpha, kButton,
         u"&Alpha"},
        {WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 5, 37, 60, 10, kBeta, kButton, u"&Beta"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 90, 95, 50, 14, IDOK, kButton,
         u"OK"},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP, 145, 95, 50, 14, IDCANCEL, kButton, u"Cancel"},
        {WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT, 132, 5, 10, 12, kSpin, std::u16string(u"msctls_updown32"),
         u""},
        {WS_CHILD, 1, 2, 3, 4, kRecorder, std::u16string(u"DialogTestRecorder"), u"", {0xAA, 0xBB, 0xCC}},
    };
}

// What the dialog procedures of the tests see.
struct Spy {
    std::vector<UINT> commands;
    HWND initFocus = nullptr;
    LPARAM initParam = 0;
    INT_PTR initAnswer = TRUE;
    std::function<void(HWND)> onInit;
    std::function<void(HWND, UINT, WPARAM, LPARAM)> onMessage;
    std::vector<BYTE> recorderData;
};
Spy* spy = nullptr;

INT_PTR SpyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!spy) {
        return FALSE;
    }
    if (spy->onMessage) {
        spy->onMessage(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_INITDIALOG:
        spy->initFocus = reinterpret_cast<HWND>(wParam);
        spy->initParam = lParam;
        if (spy->onInit) {
            spy->onInit(hwnd);
        }
        return spy->initAnswer;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            spy->commands.push_back(LOWORD(wParam));
        }
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE && spy) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* data = static_cast<const BYTE*>(cs->lpCreateParams);
        if (data) {
            WORD size = static_cast<WORD>(data[0] | (data[1] << 8));
            spy->recorderData.assign(data, data + size);
        }
    }
    if (msg == WM_SETFONT) {
        SetPropW(hwnd, u"font", reinterpret_cast<HANDLE>(wParam));
    }
    if (msg == WM_GETFONT) {
        return reinterpret_cast<LRESULT>(GetPropW(hwnd, u"font"));
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The owner of modal dialogs: WM_ENTERIDLE runs the test's step.
std::function<void(HWND dialog)> onIdle;
int idleCount = 0;

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        ++idleCount;
        if (onIdle) {
            onIdle(reinterpret_cast<HWND>(lParam));
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = RecorderProc;
            wc.lpszClassName = u"DialogTestRecorder";
            ASSERT_NE(RegisterClassW(&wc), 0);
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = u"DialogTestOwner";
            ASSERT_NE(RegisterClassW(&wc), 0);
            registered = true;
        }
        spy = &record;
        idleCount = 0;
        onIdle = nullptr;
        owner = CreateWindowExW(0, u"DialogTestOwner", u"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                600, 450, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        SetActiveWindow(owner);
        Pump(nullptr);
    }
    void TearDown() override {
        if (IsWindow(dialog)) {
            DestroyWindow(dialog);
        }
        DestroyWindow(owner);
        Pump(nullptr);
        spy = nullptr;
        onIdle = nullptr;
        DisplayUseRealClock();
    }

    HWND Create(const std::vector<BYTE>& bytes, LPARAM param = 0) {
        dialog = CreateDialogIndirectParamSizedW(nullptr, bytes.data(), bytes.size(), owner, SpyProc, param);
        Pump(dialog);
        return dialog;
    }
    static void Pump(HWND dlg) {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!dlg || !IsDialogMessageW(dlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
    void Key(UINT vk, bool shift = false) {
        if (shift) {
            DisplayInjectKey(VK_SHIFT, 0, TRUE, FALSE);
        }
        DisplayInjectKey(vk, 0, TRUE, FALSE);
        DisplayInjectKey(vk, 0, FALSE, FALSE);
        if (shift) {
            DisplayInjectKey(VK_SHIFT, 0, FALSE, FALSE);
        }
        Pump(dialog);
    }
    HWND Item(int id) { return GetDlgItem(dialog, id); }
    DWORD StyleOf(int id) { return static_cast<DWORD>(GetWindowLongW(Item(id), GWL_STYLE)); }

    Spy record;
    HWND owner = nullptr;
    HWND dialog = nullptr;
};

TEST_F(DialogTest, ControlsAreCreatedInTemplateOrderAtDialogUnitPositions) {
    std::vector<ItemSpec> items = StandardItems();
    ASSERT_NE(Create(DialogEx(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, items), 77),
              nullptr);
    EXPECT_EQ(record.initParam, 77);

    // The base units come from the template font: the alphabet's average width and the font height.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int baseX = (size.cx + 26) / 52;
    int baseY = tm.tmHeight;
    RECT units{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    EXPECT_EQ(units.right, baseX);
    EXPECT_EQ(units.bottom, baseY);

    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, MulDiv(200, baseX, 4));
    EXPECT_EQ(client.bottom, MulDiv(120, baseY, 8));
    EXPECT_EQ(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, WS_EX_DLGMODALFRAME);

    std::size_t i = 0;
    for (HWND ctl = GetWindow(dialog, GW_CHILD); ctl; ctl = GetWindow(ctl, GW_HWNDNEXT), ++i) {
        ASSERT_LT(i, items.size());
        const ItemSpec& item = items[i];
        EXPECT_EQ(static_cast<DWORD>(GetDlgCtrlID(ctl)), item.id);
        RECT rc{};
        GetWindowRect(ctl, &rc);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
        if (item.id != kSpin) { // the up-down is free to place itself
            RECT origin{item.x, item.y, item.cx, item.cy};
            MapDialogRect(dialog, &origin); // position and size are converted each on its own
            EXPECT_EQ(rc.left, origin.left) << item.id;
            EXPECT_EQ(rc.top, origin.top) << item.id;
            EXPECT_EQ(rc.right - rc.left, origin.right) << item.id;
            EXPECT_EQ(rc.bottom - rc.top, origin.bottom) << item.id;
        }
        EXPECT_EQ(GetWindowLongW(ctl, GWL_EXSTYLE) & WS_EX_NOPARENTNOTIFY, WS_EX_NOPARENTNOTIFY) << item.id;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(ctl, WM_GETFONT, 0, 0)), font) << item.id;
    }
    EXPECT_EQ(i, items.size());
    // The creation data reaches WM_CREATE behind its size word.
    EXPECT_EQ(record.recorderData, (std::vector<BYTE>{5, 0, 0xAA, 0xBB, 0xCC}));

    WCHAR text[16] = {};
    EXPECT_EQ(GetDlgItemTextW(dialog, kName, text, 16), 3u);
    EXPECT_EQ(std::u16string(text), u"abc");
}

TEST_F(DialogTest, InitDialogAnsweringTrueFocusesTheFirstTabStop) {
    Create(DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems()));
    EXPECT_EQ(record.initFocus, Item(kName)); // the label has no WS_TABSTOP
    EXPECT_EQ(GetFocus(), Item(kName));
}

TEST_F(DialogTest, InitDialogAnsweringFalseLeavesTheFocusToTheProcedure) {
    record.initAnswer = FALSE;
    record.onInit = [](HWND dlg) { SetFocus(GetDlgItem(dlg, IDCANCEL)); };
    Create(DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems()));
    EXPECT_EQ(GetFocus(), Item(IDCANCEL));
}

TEST_F(DialogTest, TabFollowsTheTemplateOrderAndArrowsStayInTheGroup) {
    Create(DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems()));
    ASSERT_EQ(GetFocus(), Item(kName));
    // Beta has no WS_TABSTOP; the hidden recorder and the up-down are no tab stops either.
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(kAlpha));
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(IDOK));
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(IDCANCEL));
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(kName));
    Key(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Item(IDCANCEL));
    Key(VK_TAB, true);
    Key(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Item(kAlpha));

    // Down moves within the radio group and checks the button; it wraps inside the group only.
    Key(VK_DOWN);
    EXPECT_EQ(GetFocus(), Item(kBeta));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kBeta), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kAlpha), 0u);
    Key(VK_DOWN);
    EXPECT_EQ(GetFocus(), Item(kAlpha));
    EXPECT_EQ(GetNextDlgGroupItem(dialog, Item(kAlpha), TRUE), Item(kBeta));
    EXPECT_EQ(GetNextDlgGroupItem(dialog, Item(IDOK), FALSE), Item(IDCANCEL));

    // A disabled control is skipped.
    EnableWindow(Item(IDOK), FALSE);
    EXPECT_EQ(GetNextDlgTabItem(dialog, Item(kAlpha), FALSE), Item(IDCANCEL));
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndEscapeCancels) {
    Create(DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems()));
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(record.commands, (std::vector<UINT>{IDOK, IDCANCEL}));

    // The default look follows the focus to another push button and comes back when it leaves.
    record.commands.clear();
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    EXPECT_EQ(GetFocus(), Item(IDCANCEL));
    EXPECT_EQ(StyleOf(IDCANCEL) & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(StyleOf(IDOK) & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
    Key(VK_RETURN);
    Key(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(kName));
    EXPECT_EQ(StyleOf(IDOK) & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(StyleOf(IDCANCEL) & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
    EXPECT_EQ(record.commands, (std::vector<UINT>{IDCANCEL}));

    // DM_SETDEFID moves the default; a disabled default button makes Enter do nothing.
    record.commands.clear();
    SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
    Key(VK_RETURN);
    EnableWindow(Item(IDCANCEL), FALSE);
    Key(VK_RETURN);
    EXPECT_EQ(record.commands, (std::vector<UINT>{IDCANCEL}));
}

TEST_F(DialogTest, EnterWithoutDefaultButtonSendsIdOk) {
    std::vector<ItemSpec> items = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, 5, 5, 80, 12, kName, kEdit, u""},
    };
    Create(DialogEx(WS_POPUP | WS_VISIBLE, items));
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), 0);
    Key(VK_RETURN);
    EXPECT_EQ(record.commands, (std::vector<UINT>{IDOK}));
}

TEST_F(DialogTest, MnemonicsMoveTheFocusOrClick) {
    Create(DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems()));
    SetFocus(Item(IDOK));
    // Alt+B clicks the radio button; a plain letter works while a button has the focus.
    DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    DisplayInjectKey('B', 0, TRUE, FALSE);
    DisplayInjectKey('B', 0, FALSE, FALSE);
    DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    Pump(dialog);
    EXPECT_EQ(GetFocus(), Item(kBeta));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kBeta), BST_CHECKED);
    Key('A');
    EXPECT_EQ(GetFocus(), Item(kAlpha));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kAlpha), BST_CHECKED);
    // A label's mnemonic hands the focus to the control after it.
    Key('N');
    EXPECT_EQ(GetFocus(), Item(kName));
    // In the edit, letters are text.
    Key('A');
    EXPECT_EQ(GetFocus(), Item(kName));
}

TEST_F(DialogTest, ModalLoopDisablesTheOwnerAndEnablesItBeforeTheDialogGoes) {
    std::vector<BYTE> bytes = DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems());
    bool ownerDisabledWhileUp = false;
    bool ownerEnabledAtDestroy = false;
    HWND seen = nullptr;
    record.onMessage = [&](HWND dlg, UINT msg, WPARAM, LPARAM) {
        if (msg == WM_DESTROY) {
            ownerEnabledAtDestroy = IsWindowEnabled(owner) != FALSE;
        }
        seen = dlg;
    };
    onIdle = [&](HWND dlg) {
        ownerDisabledWhileUp = !IsWindowEnabled(owner);
        EXPECT_TRUE(IsWindowVisible(dlg));
        EndDialog(dlg, 42);
    };
    EXPECT_EQ(DialogBoxIndirectParamSizedW(nullptr, bytes.data(), bytes.size(), owner, SpyProc, 0), 42);
    EXPECT_GE(idleCount, 1);
    EXPECT_TRUE(ownerDisabledWhileUp);
    EXPECT_TRUE(ownerEnabledAtDestroy);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(IsWindow(seen));
}

TEST_F(DialogTest, NestedModalDialogsEndCleanly) {
    std::vector<BYTE> bytes = DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems());
    std::vector<HWND> stack;
    INT_PTR innerResult = 0;
    record.onMessage = [&](HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
        if (msg == WM_INITDIALOG) {
            stack.push_back(dlg);
        }
        if (msg == WM_COMMAND && LOWORD(wParam) == 900) {
            // The outer dialog opens the inner one from its procedure.
            innerResult = DialogBoxIndirectParamSizedW(nullptr, bytes.data(), bytes.size(), dlg, SpyProc, 0);
            EXPECT_TRUE(IsWindowEnabled(dlg));
            EndDialog(dlg, 9);
        }
    };
    onIdle = [&](HWND dlg) {
        if (stack.size() == 1) {
            PostMessageW(dlg, WM_COMMAND, 900, 0);
        }
    };
    // The inner dialog's owner is the outer dialog, which gets the idle messages then.
    record.onMessage = [prev = record.onMessage, &stack](HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
        prev(dlg, msg, wParam, lParam);
        if (msg == WM_ENTERIDLE && stack.size() == 2) {
            EXPECT_FALSE(IsWindowEnabled(stack[0]));
            EndDialog(stack[1], 7);
        }
    };
    EXPECT_EQ(DialogBoxIndirectParamSizedW(nullptr, bytes.data(), bytes.size(), owner, SpyProc, 0), 9);
    EXPECT_EQ(innerResult, 7);
    ASSERT_EQ(stack.size(), 2u);
    EXPECT_FALSE(IsWindow(stack[0]));
    EXPECT_FALSE(IsWindow(stack[1]));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, QuitEndsTheModalLoopAndIsPostedAgain) {
    std::vector<BYTE> bytes = DialogEx(WS_POPUP | WS_VISIBLE, StandardItems());
    onIdle = [](HWND) { PostQuitMessage(3); };
    EXPECT_EQ(DialogBoxIndirectParamSizedW(nullptr, bytes.data(), bytes.size(), owner, SpyProc, 0), 0);
    EXPECT_TRUE(IsWindowEnabled(owner));
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DialogTest, MalformedTemplatesAreRefused) {
    std::vector<BYTE> good = DialogEx(WS_POPUP, StandardItems());
    ASSERT_TRUE(DialogParseTemplate(good.data(), good.size()).has_value());
    // Every cut short of the end is refused (the last item's data is the final bytes).
    for (std::size_t n = 0; n < good.size(); ++n) {
        EXPECT_FALSE(DialogParseTemplate(good.data(), n).has_value()) << n;
    }
    SetLastError(0);
    EXPECT_EQ(CreateDialogIndirectParamSizedW(nullptr, good.data(), good.size() - 1, owner, SpyProc, 0),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    EXPECT_EQ(DialogBoxIndirectParamSizedW(nullptr, good.data(), 10, owner, SpyProc, 0), -1);
    EXPECT_TRUE(IsWindowEnabled(owner));

    std::vector<BYTE> version = good;
    version[0] = 2; // an extended template of another version
    EXPECT_FALSE(DialogParseTemplate(version.data(), version.size()).has_value());

    // A control of a class nobody registered fails the whole dialog, leaving no window behind.
    std::vector<ItemSpec> items = {{WS_CHILD, 0, 0, 10, 10, 1, std::u16string(u"NoSuchClass"), u""}};
    std::vector<BYTE> unknown = DialogEx(WS_POPUP, items);
    int procCalls = 0;
    record.onMessage = [&](HWND, UINT, WPARAM, LPARAM) { ++procCalls; };
    EXPECT_EQ(CreateDialogIndirectParamSizedW(nullptr, unknown.data(), unknown.size(), owner, SpyProc, 0),
              nullptr);
    EXPECT_EQ(GetWindow(owner, GW_ENABLEDPOPUP), nullptr);
    EXPECT_EQ(record.initFocus, nullptr); // WM_INITDIALOG never came
    // ... unless the template says DS_NOFAILCREATE.
    std::vector<BYTE> tolerant = DialogEx(WS_POPUP | DS_NOFAILCREATE, items);
    EXPECT_NE(Create(tolerant), nullptr);
}

TEST_F(DialogTest, ClassicTemplateWithCreationData) {
    Bytes t;
    t.D(WS_POPUP | WS_CAPTION);
    t.D(0);
    t.W(1);
    t.W(0);
    t.W(0);
    t.W(100);
    t.W(50);
    t.W(0);
    t.W(0);
    t.S(u"Old");
    t.Align();
    t.D(WS_CHILD | WS_VISIBLE);
    t.D(0);
    t.W(1);
    t.W(2);
    t.W(30);
    t.W(10);
    t.W(kRecorder);
    t.S(u"DialogTestRecorder");
    t.W(0xFFFF); // the text as an ordinal
    t.W(5);
    t.W(4); // the size counts its own word here
    t.W(0x0201);
    auto info = DialogParseTemplate(t.b.data(), t.b.size());
    ASSERT_TRUE(info.has_value());
    EXPECT_FALSE(info->extended);
    EXPECT_EQ(info->title, u"Old");
    ASSERT_EQ(info->items.size(), 1u);
    EXPECT_EQ(info->items[0].id, static_cast<DWORD>(kRecorder));
    EXPECT_TRUE(info->items[0].text.isOrdinal);
    EXPECT_EQ(info->items[0].text.ordinal, 5);
    EXPECT_EQ(info->items[0].creationData, (std::vector<BYTE>{4, 0, 0x01, 0x02}));

    // Without DS_SETFONT the dialog measures with the system font.
    dialog =
        CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATEW>(t.b.data()), owner, SpyProc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT units{0, 0, 4, 8};
    MapDialogRect(dialog, &units);
    EXPECT_EQ(MAKELONG(units.right, units.bottom), GetDialogBaseUnits());
}

TEST_F(DialogTest, DlgItemIntegersAndButtons) {
    Create(DialogEx(WS_POPUP, StandardItems()));
    struct Case {
        const char16_t* text;
        BOOL isSigned;
        BOOL ok;
        UINT value;
    } cases[] = {
        {u" 42 ", FALSE, TRUE, 42},
        {u"-5", TRUE, TRUE, static_cast<UINT>(-5)},
        {u"-5", FALSE, FALSE, 0},
        {u"4294967295", FALSE, TRUE, 4294967295u},
        {u"4294967296", FALSE, FALSE, 0},
        {u"2147483648", TRUE, FALSE, 0},
        {u"-2147483648", TRUE, TRUE, 0x80000000u},
        {u"12a", FALSE, FALSE, 0},
        {u"", FALSE, FALSE, 0},
    };
    for (const Case& c : cases) {
        SetDlgItemTextW(dialog, kName, c.text);
        BOOL ok = !c.ok;
        EXPECT_EQ(GetDlgItemInt(dialog, kName, &ok, c.isSigned), c.value);
        EXPECT_EQ(ok, c.ok);
    }
    SetDlgItemInt(dialog, kName, static_cast<UINT>(-12), TRUE);
    WCHAR text[16] = {};
    GetDlgItemTextW(dialog, kName, text, 16);
    EXPECT_EQ(std::u16string(text), u"-12");
    BOOL ok = FALSE;
    EXPECT_EQ(GetDlgItemInt(dialog, 9999, &ok, TRUE), 0u);
    EXPECT_FALSE(ok);

    CheckRadioButton(dialog, kAlpha, kBeta, kBeta);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kAlpha), 0u);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kBeta), BST_CHECKED);
    EXPECT_TRUE(CheckDlgButton(dialog, kAlpha, BST_CHECKED));
    EXPECT_EQ(SendDlgItemMessageW(dialog, kAlpha, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(CheckDlgButton(dialog, 9999, BST_CHECKED));
}

TEST_F(DialogTest, ModelessEndDialogHidesAndCloseMeansCancel) {
    Create(DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems()));
    ASSERT_TRUE(IsWindowVisible(dialog));
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump(dialog);
    EXPECT_EQ(record.commands, (std::vector<UINT>{IDCANCEL}));
    EXPECT_TRUE(EndDialog(dialog, 1));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(DialogTest, FocusComesBackWhenTheDialogIsActivatedAgain) {
    Create(DialogEx(WS_POPUP | WS_CAPTION | WS_VISIBLE, StandardItems()));
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDCANCEL)), TRUE);
    ASSERT_EQ(GetFocus(), Item(IDCANCEL));
    SetActiveWindow(owner);
    EXPECT_NE(GetFocus(), Item(IDCANCEL));
    SetActiveWindow(dialog);
    EXPECT_EQ(GetFocus(), Item(IDCANCEL));
    // WM_NEXTDLGCTL with a direction moves along the tab order.
    SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
    EXPECT_EQ(GetFocus(), Item(kName));
}

INT_PTR AnsweringProc(HWND dlg, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_USER + 5) {
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 1234);
        return TRUE;
    }
    if (msg == WM_CTLCOLORDLG) {
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 1); // not the answer: for these the return value is
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_INFOBK));
    }
    return FALSE;
}

TEST_F(DialogTest, ProcedureAnswersThroughMsgResultExceptForDirectMessages) {
    Create(DialogEx(WS_POPUP, StandardItems()));
    EXPECT_EQ(reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC)), &SpyProc);
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&AnsweringProc));
    EXPECT_EQ(SendMessageW(dialog, WM_USER + 5, 0, 0), 1234);
    HDC dc = GetDC(dialog);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), 0)),
              GetSysColorBrush(COLOR_INFOBK));
    ReleaseDC(dialog, dc);
    EXPECT_EQ(SendMessageW(dialog, WM_USER + 6, 0, 0), 0); // unhandled: the default course
    SetWindowLongPtrW(dialog, DWLP_USER, 77);
    EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_USER), 77);
}

} // namespace
