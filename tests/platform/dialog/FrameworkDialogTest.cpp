// Dialogs as framework objects, from the templates of framework_dialogs.rc: the modal loop and its keys,
// data exchange both ways for every type, validation failures, control objects attached by DDX_Control with
// their owner-drawn items reflected, a form view inside a frame, and property sheets with their pages.
#include "DialogTestIds.h"

#include "platform/base/CodePage.h"
#include "platform/controls/StandardControls.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/AfxControls.h"
#include "platform/framework/CCheckListBox.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CFormView.h"
#include "platform/framework/CPropertySheet.h"
#include "platform/controls/CommonControls.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

// ---- The owner of modal dialogs: each time the dialog's queue runs empty, the next step of the test runs.
std::deque<std::function<void(HWND dialog)>> steps;
int idlesWithoutSteps = 0;

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        HWND dialog = reinterpret_cast<HWND>(lParam);
        if (!steps.empty()) {
            auto step = std::move(steps.front());
            steps.pop_front();
            step(dialog);
            PostMessageW(dialog, WM_NULL, 0, 0); // another idle for the next step
            idlesWithoutSteps = 0;
        } else if (++idlesWithoutSteps > 0) {
            // A test that lost its way must not hang.
            ADD_FAILURE() << "the dialog is still up after the last step";
            ::EndDialog(dialog, -2);
            if (auto* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog))) {
                pDlg->EndDialog(-2);
            }
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
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
}

void Pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

std::u16string TextOf(HWND hwnd) {
    WCHAR buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

// A dialog whose exchange the test gives.
class ExchangeDialog : public CDialog {
public:
    explicit ExchangeDialog(CWnd* pParent = nullptr, UINT id = IDD_EXCHANGE) : CDialog(id, pParent) {}
    std::function<void(CDataExchange*)> exchange;
    void DoDataExchange(CDataExchange* pDX) override {
        if (exchange) {
            exchange(pDX);
        }
    }
};

struct Box {
    std::u16string text;
    UINT type;
    HWND focusWhenShown;
};

class FrameworkDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = u"FrameworkDialogOwner";
            ASSERT_NE(RegisterClassW(&wc), 0);
            registered = true;
        }
        steps.clear();
        idlesWithoutSteps = 0;
        previous = DisplaySetMessageBoxResponder(
            [this](HWND, const std::u16string&, const std::u16string& text, UINT type) {
                boxes.push_back({text, type, GetFocus()});
                return IDOK;
            });
        owner = CreateWindowExW(0, u"FrameworkDialogOwner", u"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                40, 700, 500, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        SetActiveWindow(owner);
        Pump();
    }
    void TearDown() override {
        DestroyWindow(owner);
        Pump();
        DisplaySetMessageBoxResponder(previous);
        CWnd::DeleteTempMap();
        DisplayUseRealClock();
    }

    CWnd* Owner() { return CWnd::FromHandle(owner); }

    HWND owner = nullptr;
    std::vector<Box> boxes;
    MessageBoxResponder previous;
};

// ---- The modal loop

TEST_F(FrameworkDialogTest, ModalDialogTabsInTemplateOrderAndEscapeCancels) {
    ExchangeDialog dlg(Owner());
    std::vector<int> focused;
    bool ownerDisabled = false;
    auto note = [&](HWND dialog) {
        focused.push_back(GetDlgCtrlID(GetFocus()));
        (void)dialog;
    };
    steps = {
        [&](HWND dialog) {
            ownerDisabled = !IsWindowEnabled(owner);
            EXPECT_EQ(CWnd::FromHandlePermanent(dialog), &dlg);
            note(dialog);
            Key(VK_TAB);
        },
        [&](HWND dialog) {
            note(dialog);
            Key(VK_TAB);
        },
        [&](HWND dialog) {
            note(dialog);
            Key(VK_TAB, true);
        },
        [&](HWND dialog) {
            note(dialog);
            Key(VK_ESCAPE);
        },
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(focused, (std::vector<int>{IDC_TEXT, IDC_INT, IDC_UINT, IDC_INT}));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FrameworkDialogTest, EnterPressesTheDefaultButtonWhichSavesTheData) {
    ExchangeDialog dlg(Owner());
    CString text = u"before";
    int number = 3;
    dlg.exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_TEXT, text);
        DDX_Text(pDX, IDC_INT, number);
    };
    steps = {[&](HWND dialog) {
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_INT)), u"3"); // OnInitDialog loaded the members
        SetDlgItemTextW(dialog, IDC_TEXT, u"after");
        SetDlgItemTextW(dialog, IDC_INT, u"-17");
        EXPECT_EQ(dlg.GetDefID(), static_cast<DWORD>(MAKELONG(IDOK, DC_HASDEFID)));
        Key(VK_RETURN);
    }};
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(text, CString(u"after"));
    EXPECT_EQ(number, -17);
}

TEST_F(FrameworkDialogTest, FailedValidationKeepsTheModalDialogOpenWithTheFocusOnTheControl) {
    ExchangeDialog dlg(Owner());
    int number = 5;
    CString text = u"x";
    dlg.exchange = [&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_INT, number);
        DDV_MinMaxInt(pDX, number, 0, 10);
        DDX_Text(pDX, IDC_TEXT, text);
    };
    steps = {
        [&](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_INT, u"99");
            SetDlgItemTextW(dialog, IDC_TEXT, u"changed");
            Key(VK_RETURN);
        },
        [&](HWND dialog) {
            EXPECT_EQ(boxes.size(), 1u);
            if (!boxes.empty()) {
                EXPECT_EQ(boxes[0].text, u"Please enter an integer between 0 and 10.");
                EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
            }
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_INT));
            DWORD start = 0, end = 0;
            SendDlgItemMessageW(dialog, IDC_INT, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, 2u);
            // The failing value reached its member; the fields after it were not exchanged.
            EXPECT_EQ(number, 99);
            EXPECT_EQ(text, CString(u"x"));
            SetDlgItemTextW(dialog, IDC_INT, u"7");
            Key(VK_RETURN);
        },
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(number, 7);
    EXPECT_EQ(text, CString(u"changed"));
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(FrameworkDialogTest, MissingTemplateFailsAndQuitEndsTheLoop) {
    ExchangeDialog missing(Owner(), 4242);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner));

    ExchangeDialog dlg(Owner());
    steps = {[](HWND) { PostQuitMessage(3); }};
    EXPECT_EQ(dlg.DoModal(), -1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// ---- Data exchange on a modeless dialog

class ExchangeTest : public FrameworkDialogTest {
protected:
    void Open(std::function<void(CDataExchange*)> exchange) {
        dlg.exchange = std::move(exchange);
        ASSERT_TRUE(dlg.Create(IDD_EXCHANGE, Owner()));
        Pump();
    }
    void TearDown() override {
        if (dlg.m_hWnd) {
            dlg.DestroyWindow();
        }
        FrameworkDialogTest::TearDown();
    }
    HWND Item(int id) { return ::GetDlgItem(dlg.m_hWnd, id); }
    void Set(int id, const char16_t* text) { ::SetWindowTextW(Item(id), text); }

    ExchangeDialog dlg;
};

TEST_F(ExchangeTest, EveryTypeRoundTripsThroughItsControl) {
    CString text = u"GPS";
    int i = -2147483647 - 1;
    UINT u = 4294967295u;
    long l = -123456789L;
    BYTE b = 255;
    short s = -32768;
    float f = 0.1f;
    double d = 1.0 / 3.0;
    int check = 1, radio = 1, comboIndex = -1, listIndex = 2, scroll = 30;
    CString comboText = u"Min", editCombo = u"free text";
    Open([&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_TEXT, text);
        DDV_MaxChars(pDX, text, 8);
        DDX_Text(pDX, IDC_INT, i);
        DDX_Text(pDX, IDC_UINT, u);
        DDX_Text(pDX, IDC_LONG, l);
        DDX_Text(pDX, IDC_BYTE, b);
        DDX_Text(pDX, IDC_SHORT, s);
        DDX_Text(pDX, IDC_FLOAT, f);
        DDX_Text(pDX, IDC_DOUBLE, d);
        DDX_Check(pDX, IDC_CHECK, check);
        DDX_Radio(pDX, IDC_RADIO1, radio);
        DDX_CBString(pDX, IDC_COMBO_LIST, comboText);
        DDX_CBIndex(pDX, IDC_COMBO_LIST, comboIndex);
        DDX_CBString(pDX, IDC_COMBO_EDIT, editCombo);
        DDX_LBIndex(pDX, IDC_LIST, listIndex);
        if (pDX->m_bSaveAndValidate) {
            DDX_Scroll(pDX, IDC_SCROLL, scroll);
        } else {
            ::SetScrollRange(Item(IDC_SCROLL), SB_CTL, 0, 100, FALSE);
            DDX_Scroll(pDX, IDC_SCROLL, scroll);
        }
    });
    // Loading: the framework's formats; the combo list selected by prefix, then the index put over it.
    EXPECT_EQ(TextOf(Item(IDC_TEXT)), u"GPS");
    EXPECT_EQ(SendMessageW(Item(IDC_TEXT), EM_GETLIMITTEXT, 0, 0), 8);
    EXPECT_EQ(TextOf(Item(IDC_INT)), u"-2147483648");
    EXPECT_EQ(TextOf(Item(IDC_UINT)), u"4294967295");
    EXPECT_EQ(TextOf(Item(IDC_LONG)), u"-123456789");
    EXPECT_EQ(TextOf(Item(IDC_BYTE)), u"255");
    EXPECT_EQ(TextOf(Item(IDC_SHORT)), u"-32768");
    EXPECT_EQ(TextOf(Item(IDC_FLOAT)), u"0.1");
    EXPECT_EQ(TextOf(Item(IDC_DOUBLE)), u"0.333333333333333");
    EXPECT_EQ(IsDlgButtonChecked(dlg.m_hWnd, IDC_CHECK), 1u);
    EXPECT_EQ(dlg.GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3), IDC_RADIO2);
    EXPECT_EQ(SendMessageW(Item(IDC_COMBO_LIST), CB_GETCOUNT, 0, 0), 3); // from the dialog-init data
    EXPECT_EQ(SendMessageW(Item(IDC_COMBO_LIST), CB_GETCURSEL, 0, 0), -1);
    EXPECT_EQ(TextOf(Item(IDC_COMBO_EDIT)), u"free text");
    EXPECT_EQ(SendMessageW(Item(IDC_LIST), LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(GetScrollPos(Item(IDC_SCROLL), SB_CTL), 30);

    // Saving reads back what the controls hold now.
    Set(IDC_TEXT, u"Timing");
    Set(IDC_INT, u"  2147483647 ");
    Set(IDC_UINT, u"0");
    Set(IDC_LONG, u"42");
    Set(IDC_BYTE, u"7");
    Set(IDC_SHORT, u"32767");
    Set(IDC_FLOAT, u"2.5e3");
    Set(IDC_DOUBLE, u"-1.25e-300");
    CheckDlgButton(dlg.m_hWnd, IDC_CHECK, BST_UNCHECKED);
    dlg.CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO3);
    SendMessageW(Item(IDC_COMBO_LIST), CB_SETCURSEL, 1, 0);
    Set(IDC_COMBO_EDIT, u"@@Ad");
    SendMessageW(Item(IDC_LIST), LB_SETCURSEL, 0, 0);
    SetScrollPos(Item(IDC_SCROLL), SB_CTL, 64, FALSE);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(text, CString(u"Timing"));
    EXPECT_EQ(i, 2147483647);
    EXPECT_EQ(u, 0u);
    EXPECT_EQ(l, 42L);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(s, 32767);
    EXPECT_EQ(f, 2500.0f);
    EXPECT_EQ(d, -1.25e-300);
    EXPECT_EQ(check, 0);
    EXPECT_EQ(radio, 2);
    EXPECT_EQ(comboText, CString(u"Minute"));
    EXPECT_EQ(comboIndex, 1);
    EXPECT_EQ(editCombo, CString(u"@@Ad"));
    EXPECT_EQ(listIndex, 0);
    EXPECT_EQ(scroll, 64);
    EXPECT_TRUE(boxes.empty());

    // No radio button checked is -1; loading -1 clears the group.
    for (int id : {IDC_RADIO1, IDC_RADIO2, IDC_RADIO3}) {
        CheckDlgButton(dlg.m_hWnd, id, BST_UNCHECKED);
    }
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(radio, -1);
    radio = 0;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3), IDC_RADIO1);
    radio = -1;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3), 0);
}

TEST_F(ExchangeTest, DoublesShowFifteenDigitsAndComeBackUnchanged) {
    double d = 0;
    Open([&](CDataExchange* pDX) { DDX_Text(pDX, IDC_DOUBLE, d); });
    for (double value : {0.1, 123456.789, -998999.5, 1e21, 5e-7, 299792458.0}) {
        d = value;
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        d = 0;
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(d, value) << Utf16ToUtf8(TextOf(Item(IDC_DOUBLE)));
    }
    d = 0.1 + 0.2;
    dlg.UpdateData(FALSE);
    EXPECT_EQ(TextOf(Item(IDC_DOUBLE)), u"0.3");
}

// One case per kind of refusal: the control, its text, the message, and what the member ends as.
struct Refusal {
    const char* name;
    int id;
    const char16_t* text;
    const char16_t* message;
};

TEST_F(ExchangeTest, RefusalsShowTheirMessageFocusTheControlAndStopTheExchange) {
    CString text;
    int i = 0;
    UINT u = 0;
    long l = 0;
    BYTE b = 0;
    short s = 0;
    float f = 0;
    double d = 0;
    CString after = u"untouched";
    Open([&](CDataExchange* pDX) {
        DDX_Text(pDX, IDC_TEXT, text);
        DDV_MaxChars(pDX, text, 5);
        DDX_Text(pDX, IDC_INT, i);
        DDV_MinMaxInt(pDX, i, -10, 10);
        DDX_Text(pDX, IDC_UINT, u);
        DDV_MinMaxUInt(pDX, u, 1, 999);
        DDX_Text(pDX, IDC_LONG, l);
        DDV_MinMaxLong(pDX, l, 0, 1000);
        DDX_Text(pDX, IDC_BYTE, b);
        DDV_MinMaxByte(pDX, b, 0, 37);
        DDX_Text(pDX, IDC_SHORT, s);
        DDV_MinMaxShort(pDX, s, -5, 5);
        DDX_Text(pDX, IDC_FLOAT, f);
        DDV_MinMaxFloat(pDX, f, 0.5f, 1.5f);
        DDX_Text(pDX, IDC_DOUBLE, d);
        DDV_MinMaxDouble(pDX, d, -0.5, 100000);
        if (pDX->m_bSaveAndValidate) {
            after = u"exchanged";
        }
    });
    const Refusal cases[] = {
        {"too long", IDC_TEXT, u"abcdef", u"Enter no more than 5 characters."},
        {"not an integer", IDC_INT, u"12x", u"Please enter an integer."},
        {"empty integer", IDC_INT, u"", u"Please enter an integer."},
        {"int range", IDC_INT, u"11", u"Please enter an integer between -10 and 10."},
        {"int overflow", IDC_INT, u"99999999999",
         u"Please enter an integer between -2147483648 and 2147483647."},
        {"negative unsigned", IDC_UINT, u"-1", u"Please enter a positive integer."},
        {"uint range", IDC_UINT, u"0", u"Please enter an integer between 1 and 999."},
        {"long range", IDC_LONG, u"-1", u"Please enter an integer between 0 and 1000."},
        {"byte type", IDC_BYTE, u"256", u"Please enter an integer between 0 and 255."},
        {"byte range", IDC_BYTE, u"38", u"Please enter an integer between 0 and 37."},
        {"short type", IDC_SHORT, u"40000", u"Please enter an integer between -32768 and 32767."},
        {"short range", IDC_SHORT, u"6", u"Please enter an integer between -5 and 5."},
        {"not a float", IDC_FLOAT, u"1,5", u"Please enter a number."},
        {"float range", IDC_FLOAT, u"1.6", u"Please enter a number between 0.5 and 1.5."},
        {"not a number", IDC_DOUBLE, u"1e", u"Please enter a number."},
        {"double range", IDC_DOUBLE, u"100000.25", u"Please enter a number between -0.5 and 100000."},
    };
    const std::pair<int, const char16_t*> valid[] = {
        {IDC_TEXT, u"abcde"}, {IDC_INT, u" -10 "}, {IDC_UINT, u"999"},  {IDC_LONG, u"1000"},
        {IDC_BYTE, u"37"},    {IDC_SHORT, u"-5"},  {IDC_FLOAT, u"1.5"}, {IDC_DOUBLE, u"-0.5"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto [id, value] : valid) {
            Set(id, value);
        }
        SetFocus(Item(IDC_CHECK));
        Set(c.id, c.text);
        boxes.clear();
        after = u"untouched";
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(GetFocus(), Item(c.id));
        DWORD start = 1, end = 0;
        SendMessageW(Item(c.id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, std::u16string(c.text).size());
        EXPECT_EQ(after, CString(u"untouched"));
    }
    // A value refused by its range check has reached the member already.
    EXPECT_EQ(d, 100000.25);
    boxes.clear();
    for (auto [id, value] : valid) {
        Set(id, value);
    }
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(i, -10);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(after, CString(u"exchanged"));
}

// Notifications of the dialog's controls while the data is loaded do not reach its handlers.
class NotifiedDialog : public ExchangeDialog {
public:
    int changes = 0;
    CString text = u"loaded";

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_TEXT, text); }
    void OnTextChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NotifiedDialog, ExchangeDialog)
ON_EN_CHANGE(IDC_TEXT, OnTextChange)
END_MESSAGE_MAP()

TEST_F(FrameworkDialogTest, ControlNotificationsAreHeldBackWhileTheDataIsExchanged) {
    NotifiedDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE, Owner()));
    EXPECT_EQ(TextOf(dlg.GetDlgItem(IDC_TEXT)->m_hWnd), u"loaded");
    EXPECT_EQ(dlg.changes, 0);
    dlg.SetDlgItemTextW(IDC_TEXT, u"typed");
    EXPECT_EQ(dlg.changes, 1);
    // A modeless dialog's EndDialog only hides it.
    dlg.EndDialog(IDOK);
    EXPECT_TRUE(IsWindow(dlg.m_hWnd));
    EXPECT_FALSE(dlg.IsWindowVisible());
    dlg.DestroyWindow();
}

// ---- Control objects

// An owner-drawn list box object that counts what its parent reflects to it.
class CountingList : public CListBox {
public:
    std::vector<UINT> drawn;
    int deleted = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(dis->itemID); }
    void DeleteItem(LPDELETEITEMSTRUCT) override { ++deleted; }
};

class TestForm : public CFormView {
    DECLARE_DYNCREATE(TestForm)

public:
    TestForm() : CFormView(IDD_FORM) {}
    CString name = u"Oncore";
    int number = 12;
    CountingList list;
    CEdit edit;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_OWNERLIST, list);
        DDX_Control(pDX, IDC_TEXT, edit);
        DDX_Text(pDX, IDC_TEXT, name);
        DDX_Text(pDX, IDC_INT, number);
    }
};

IMPLEMENT_DYNCREATE(TestForm, CFormView)

TEST_F(FrameworkDialogTest, FormViewFromATemplateInAFrame) {
    auto* frame = new CFrameWnd;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(TestForm);
    // A frame smaller than the form, so that the view scrolls.
    ASSERT_TRUE(frame->Create(nullptr, u"Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 270, 220),
                              nullptr, nullptr, 0, &context));
    frame->InitialUpdateFrame(nullptr, TRUE);
    Pump();
    auto* form = dynamic_cast<TestForm*>(frame->GetDlgItem(AFX_IDW_PANE_FIRST));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetStyle() & WS_CHILD, static_cast<DWORD>(WS_CHILD));

    // The controls sit at their dialog-unit places and got the members.
    HWND nameEdit = ::GetDlgItem(form->m_hWnd, IDC_TEXT);
    ASSERT_NE(nameEdit, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(nameEdit), &form->edit);
    EXPECT_EQ(TextOf(nameEdit), u"Oncore");
    EXPECT_EQ(TextOf(::GetDlgItem(form->m_hWnd, IDC_INT)), u"12");
    RECT place{50, 7, 130, 19};
    ::MapDialogRect(form->m_hWnd, &place);
    RECT actual{};
    ::GetWindowRect(nameEdit, &actual);
    ::MapWindowPoints(nullptr, form->m_hWnd, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.left, place.left);
    EXPECT_EQ(actual.top, place.top);
    EXPECT_TRUE(form->GetStyle() & WS_VSCROLL);
    CSize total = form->GetTotalSize();
    EXPECT_GT(total.cy, 150);

    // Scrolling stops at the bottom of the form and moves the children with the picture.
    form->ScrollToPosition(CPoint(0, 1000));
    CRect client;
    form->GetClientRect(&client);
    int y = form->GetScrollPosition().y;
    EXPECT_EQ(y, total.cy - client.Height());
    EXPECT_GT(y, 0);
    ::GetWindowRect(nameEdit, &actual);
    ::MapWindowPoints(nullptr, form->m_hWnd, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(actual.top, place.top - y);
    form->ScrollToPosition(CPoint(0, 0));

    // Tab moves between the form's controls through the frame's message filtering.
    form->edit.SetFocus();
    Key(VK_TAB);
    Pump();
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(form->m_hWnd, IDC_INT));

    // Owner-drawn items are drawn by the control's object, and deleted items reported to it.
    form->list.AddString(u"one");
    form->list.AddString(u"two");
    form->list.UpdateWindow();
    Pump();
    EXPECT_FALSE(form->list.drawn.empty());
    form->list.ResetContent();
    EXPECT_EQ(form->list.deleted, 2);

    // The view's data comes back.
    form->edit.SetWindowTextW(u"Motorola");
    EXPECT_TRUE(form->UpdateData(TRUE));
    EXPECT_EQ(form->name, CString(u"Motorola"));
    frame->DestroyWindow();
    Pump();
}

TEST_F(FrameworkDialogTest, ControlWrappersSendTheirMessages) {
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SHOWCASE, Owner()));
    CComboBox combo;
    CListBox list;
    CButton check;
    CEdit edit;
    CProgressCtrl progress;
    CSpinButtonCtrl spin;
    ASSERT_TRUE(combo.SubclassDlgItem(IDC_COMBO_LIST, &dlg));
    ASSERT_TRUE(list.SubclassDlgItem(IDC_LIST, &dlg));
    ASSERT_TRUE(check.SubclassDlgItem(IDC_CHECK, &dlg));
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_INT, &dlg));
    ASSERT_TRUE(progress.SubclassDlgItem(IDC_PROGRESS, &dlg));
    ASSERT_TRUE(spin.SubclassDlgItem(IDC_SPIN, &dlg));

    EXPECT_EQ(combo.GetCount(), 2);
    EXPECT_EQ(combo.SelectString(-1, u"gps+"), 1);
    CString item;
    combo.GetLBText(1, item);
    EXPECT_EQ(item, CString(u"GPS+GLONASS"));
    EXPECT_EQ(list.GetCount(), 3);
    list.GetText(2, item);
    EXPECT_EQ(item, CString(u"PRN 25  SNR 31"));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
    edit.SetWindowTextW(u"12345");
    edit.SetSel(1, 3);
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);
    progress.SetRange(0, 100);
    progress.SetPos(40);
    EXPECT_EQ(progress.GetPos(), 40);
    int lower = 0, upper = 0;
    progress.GetRange(lower, upper);
    EXPECT_EQ(upper, 100);
    spin.SetRange(1, 999);
    spin.SetPos(25);
    EXPECT_EQ(LOWORD(spin.GetPos()), 25);
    EXPECT_EQ(spin.GetBuddy()->m_hWnd, edit.m_hWnd);
    EXPECT_EQ(TextOf(edit.m_hWnd), u"25");
    combo.UnsubclassWindow();
    list.UnsubclassWindow();
    check.UnsubclassWindow();
    edit.UnsubclassWindow();
    progress.UnsubclassWindow();
    spin.UnsubclassWindow();
    dlg.DestroyWindow();
}

// ---- The check list box

class ChecksDialog : public ExchangeDialog {
public:
    std::vector<int> changes; // the checks of item 0 at each CLBN_CHKCHANGE
    CCheckListBox checks;

protected:
    void OnCheckChange() { changes.push_back(checks.GetCaretIndex()); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ChecksDialog, ExchangeDialog)
ON_CONTROL(CLBN_CHKCHANGE, 2000, OnCheckChange)
END_MESSAGE_MAP()

TEST_F(FrameworkDialogTest, CheckListBoxTogglesByClickOnTheBoxAndBySpace) {
    ChecksDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_EXCHANGE, Owner()));
    ASSERT_TRUE(dlg.checks.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LBS_NOTIFY,
                                  CRect(300, 200, 420, 280), &dlg, 2000));
    dlg.checks.SetFont(dlg.GetFont());
    for (const char16_t* name : {u"GPS", u"GLONASS", u"SBAS"}) {
        dlg.checks.AddString(name);
    }
    dlg.checks.SetCheck(1, 1);
    dlg.checks.SetCheck(2, 2); // not a three-state list: plain checked
    EXPECT_EQ(dlg.checks.GetCheck(2), 1);
    // The states follow their items.
    dlg.checks.DeleteString(0);
    EXPECT_EQ(dlg.checks.GetCount(), 2);
    EXPECT_EQ(dlg.checks.GetCheck(0), 1);
    dlg.checks.InsertString(0, u"QZSS");
    EXPECT_EQ(dlg.checks.GetCheck(0), 0);
    EXPECT_EQ(dlg.checks.GetCheck(1), 1);
    dlg.checks.UpdateWindow();
    Pump();

    // A click on the box of item 1 unchecks it; a click on its text only selects it.
    CRect item;
    dlg.checks.GetItemRect(1, &item);
    CPoint box(item.left + 8, item.CenterPoint().y);
    dlg.checks.ClientToScreen(&box);
    DisplayInjectMouse(WM_LBUTTONDOWN, box);
    DisplayInjectMouse(WM_LBUTTONUP, box);
    Pump();
    EXPECT_EQ(dlg.checks.GetCheck(1), 0);
    CPoint text(item.left + 60, item.CenterPoint().y);
    dlg.checks.ClientToScreen(&text);
    DisplayAdvanceTestClock(1000); // no double click
    DisplayInjectMouse(WM_LBUTTONDOWN, text);
    DisplayInjectMouse(WM_LBUTTONUP, text);
    Pump();
    EXPECT_EQ(dlg.checks.GetCheck(1), 0);
    EXPECT_EQ(dlg.checks.GetCurSel(), 1);

    // Space toggles the item with the caret; a disabled item stays as it is.
    Key(VK_SPACE);
    Pump();
    EXPECT_EQ(dlg.checks.GetCheck(1), 1);
    dlg.checks.Enable(1, FALSE);
    Key(VK_SPACE);
    Pump();
    EXPECT_EQ(dlg.checks.GetCheck(1), 1);
    EXPECT_EQ(dlg.changes, (std::vector<int>{1, 1}));
    dlg.DestroyWindow();
}

// ---- Property sheets

std::vector<std::string> sheetLog;

// A page that writes what the sheet asks of it to sheetLog, and refuses when told to.
class LoggingPage : public CPropertyPage {
public:
    LoggingPage(UINT id, const char* name) : CPropertyPage(id), m_name(name) {}
    BOOL OnSetActive() override { return Log("set"), TRUE; }
    BOOL OnKillActive() override { return Log("kill"), allowLeave; }
    BOOL OnApply() override {
        Log("apply");
        return allowApply && CPropertyPage::OnApply();
    }
    void OnReset() override { Log("reset"); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == PSM_QUERYSIBLINGS) {
            return answer;
        }
        return CPropertyPage::WindowProc(message, wParam, lParam);
    }
    void Log(const char* what) { sheetLog.push_back(m_name + "." + what); }
    std::string m_name;
    BOOL allowLeave = TRUE;
    BOOL allowApply = TRUE;
    LRESULT answer = 0;
};

void CtrlKey(UINT vk, bool shift = false) {
    DisplayInjectKey(VK_CONTROL, 0, TRUE, FALSE);
    Key(vk, shift);
    DisplayInjectKey(VK_CONTROL, 0, FALSE, FALSE);
}

RECT ScreenRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
}

class PropertySheetTest : public FrameworkDialogTest {
protected:
    void SetUp() override {
        FrameworkDialogTest::SetUp();
        sheetLog.clear();
        sheet.m_pParentWnd = Owner();
        for (LoggingPage* page : {&name, &number, &notes}) {
            sheet.AddPage(page);
        }
    }
    HWND Tab() const { return sheet.GetTabControl(); }
    std::u16string TabText(int index) const {
        WCHAR buffer[32] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 32;
        SendMessageW(Tab(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return reinterpret_cast<const char16_t*>(buffer);
    }
    BOOL ApplyEnabled() const { return IsWindowEnabled(::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW)); }
    void ClickTab(int index) {
        RECT rc{};
        SendMessageW(Tab(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rc));
        SendMessageW(Tab(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 3, rc.top + 3));
        SendMessageW(Tab(), WM_LBUTTONUP, 0, MAKELPARAM(rc.left + 3, rc.top + 3));
    }

    LoggingPage name{IDD_PAGE_NAME, "name"};
    LoggingPage number{IDD_PAGE_NUMBER, "number"};
    LoggingPage notes{IDD_PAGE_NOTES, "notes"};
    CPropertySheet sheet{u"Settings"};
};

TEST_F(PropertySheetTest, PagesAreMadeWhenFirstShownAndTheKeysStepThroughThemInARing) {
    std::vector<int> shown;
    auto note = [&](HWND) {
        shown.push_back(sheet.GetActiveIndex());
        CPropertyPage* active = sheet.GetActivePage();
        EXPECT_TRUE(active->IsWindowVisible());
        EXPECT_EQ(SendMessageW(Tab(), TCM_GETCURSEL, 0, 0), sheet.GetActiveIndex());
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0)), active->m_hWnd);
        for (CPropertyPage* page : {static_cast<CPropertyPage*>(&name), static_cast<CPropertyPage*>(&number),
                                    static_cast<CPropertyPage*>(&notes)}) {
            if (page != active && page->m_hWnd) {
                EXPECT_FALSE(page->IsWindowVisible());
            }
        }
    };
    steps = {
        [&](HWND dialog) {
            EXPECT_EQ(TextOf(dialog), u"Settings");
            EXPECT_EQ(TabText(0) + u"," + TabText(1) + u"," + TabText(2), u"Name,Number,Notes");
            EXPECT_EQ(number.m_hWnd, nullptr);
            EXPECT_EQ(notes.m_hWnd, nullptr);
            // The page lies inside the tab control's body, as wide as the widest template and as tall as
            // the tallest, and keeps no caption of its own.
            RECT page = ScreenRect(name.m_hWnd), tab = ScreenRect(Tab());
            RECT du{0, 0, 180, 110};
            MapDialogRect(dialog, &du);
            EXPECT_EQ(page.right - page.left, du.right);
            EXPECT_EQ(page.bottom - page.top, du.bottom);
            EXPECT_TRUE(page.left > tab.left && page.right < tab.right && page.top > tab.top &&
                        page.bottom < tab.bottom);
            EXPECT_FALSE(name.GetStyle() & WS_CAPTION);
            note(dialog);
            CtrlKey(VK_TAB);
        },
        [&](HWND dialog) {
            note(dialog);
            RECT first = ScreenRect(name.m_hWnd), second = ScreenRect(number.m_hWnd);
            EXPECT_TRUE(EqualRect(&first, &second));
            CtrlKey(VK_NEXT);
        },
        [&](HWND dialog) {
            note(dialog);
            CtrlKey(VK_NEXT);
        },
        [&](HWND dialog) {
            note(dialog);
            CtrlKey(VK_PRIOR);
        },
        [&](HWND dialog) {
            note(dialog);
            CtrlKey(VK_TAB, true);
        },
        [&](HWND dialog) {
            note(dialog);
            Key(VK_ESCAPE);
        },
    };
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0, 2, 1}));
    EXPECT_EQ(sheetLog, (std::vector<std::string>{
                            "name.set", "name.kill", "number.set", "number.kill", "notes.set", "notes.kill",
                            "name.set", "name.kill", "notes.set", "notes.kill", "number.set",
                            "name.reset", "number.reset", "notes.reset"}));
    EXPECT_EQ(name.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(PropertySheetTest, ApplyFollowsTheChangedPagesAndRefusalsKeepTheSheetWhereItIs) {
    sheet.SetActivePage(1);
    steps = {
        [&](HWND) {
            EXPECT_EQ(name.m_hWnd, nullptr); // the start page is the one made first
            EXPECT_FALSE(ApplyEnabled());
            number.allowLeave = FALSE;
            ClickTab(0);
            EXPECT_EQ(sheet.GetActiveIndex(), 1);
            EXPECT_EQ(SendMessageW(Tab(), TCM_GETCURSEL, 0, 0), 1);
            number.allowLeave = TRUE;
            ClickTab(0);
            EXPECT_EQ(sheet.GetActiveIndex(), 0);

            // Siblings: the first made page that answers.
            number.answer = 7;
            EXPECT_EQ(name.QuerySiblings(1, 2), 7);

            name.SetModified();
            number.SetModified();
            EXPECT_TRUE(ApplyEnabled());
            number.SetModified(FALSE);
            EXPECT_TRUE(ApplyEnabled());
            sheetLog.clear();
            SendMessageW(sheet.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_APPLY_NOW, BN_CLICKED),
                         reinterpret_cast<LPARAM>(::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW)));
            EXPECT_EQ(sheetLog, (std::vector<std::string>{"name.kill", "name.apply"}));
            EXPECT_FALSE(ApplyEnabled());
            EXPECT_FALSE(name.IsModified());

            // OK: every made page applies; one that refuses comes to the front and the sheet stays.
            number.allowApply = FALSE;
            sheetLog.clear();
            Key(VK_RETURN);
        },
        [&](HWND) {
            EXPECT_EQ(sheet.GetActiveIndex(), 1);
            EXPECT_EQ(sheetLog,
                      (std::vector<std::string>{"name.kill", "name.apply", "number.apply", "name.kill", "number.set"}));
            number.allowApply = TRUE;
            sheetLog.clear();
            Key(VK_RETURN);
        },
    };
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(sheetLog, (std::vector<std::string>{"number.kill", "name.apply", "number.apply"}));
}

// Modeless: the owner stays usable; Ctrl+Tab steps as in a modal sheet; Apply leaves the sheet open; Escape,
// the close box and the owner's end each take the sheet and its pages down, and the sheet opens again after.
TEST_F(PropertySheetTest, AModelessSheetLeavesItsOwnerEnabledAndEndsByCloseOrWithItsOwner) {
    ASSERT_TRUE(sheet.Create(Owner()));
    Pump();
    EXPECT_TRUE(sheet.IsModeless());
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(sheet.IsWindowVisible());
    EXPECT_EQ(GetWindow(sheet.m_hWnd, GW_OWNER), owner);
    EXPECT_EQ(::GetDlgItem(sheet.m_hWnd, IDOK), nullptr);
    EXPECT_EQ(TextOf(::GetDlgItem(sheet.m_hWnd, IDCANCEL)), u"Close");
    EXPECT_FALSE(sheet.Create(Owner())) << "one window at a time";
    // The page lies above the tab control: a click on it reaches it.
    RECT page = ScreenRect(name.m_hWnd);
    HWND hit = WindowFromPoint(POINT{(page.left + page.right) / 2, (page.top + page.bottom) / 2});
    EXPECT_TRUE(hit == name.m_hWnd || IsChild(name.m_hWnd, hit));

    CtrlKey(VK_TAB);
    Pump();
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    CtrlKey(VK_TAB, true);
    Pump();
    EXPECT_EQ(sheet.GetActiveIndex(), 0);

    name.SetModified();
    sheetLog.clear();
    SendMessageW(sheet.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_APPLY_NOW, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(sheet.m_hWnd, ID_APPLY_NOW)));
    EXPECT_EQ(sheetLog, (std::vector<std::string>{"name.kill", "name.apply"}));
    EXPECT_TRUE(IsWindow(sheet.m_hWnd));

    sheetLog.clear();
    Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(name.m_hWnd, nullptr);
    EXPECT_EQ(number.m_hWnd, nullptr);
    EXPECT_EQ(sheetLog, (std::vector<std::string>{"name.reset", "number.reset"}));

    ASSERT_TRUE(sheet.Create(Owner()));
    EXPECT_NE(name.m_hWnd, nullptr);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_FALSE(ApplyEnabled()) << "nothing changed in the new window";
    SendMessageW(sheet.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_EQ(sheet.m_hWnd, nullptr);

    ASSERT_TRUE(sheet.Create(Owner()));
    sheet.SetActivePage(2);
    DestroyWindow(owner);
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(sheet.GetTabControl(), nullptr);
    EXPECT_EQ(notes.m_hWnd, nullptr);
}

TEST_F(PropertySheetTest, ASheetWithoutPagesDoesNotOpen) {
    CPropertySheet empty(u"Empty", Owner());
    EXPECT_EQ(empty.DoModal(), -1);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

} // namespace
