// The message box drawn as a dialog (what MessageBox shows on a display), driven headlessly by keys: default
// buttons, Esc, mnemonics, and a layout that keeps every control inside the box.
#include "platform/dialog/MessageBoxDialog.h"
#include "platform/base/Geometry.h"
#include "platform/controls/StandardControls.h"
#include "platform/dialog/Dialog.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/MessageBox.h"
#include "platform/display/User.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

std::deque<std::function<void(HWND box)>> boxSteps;
int stepsRun = 0;
int idlesAfterSteps = 0;

LRESULT BoxOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        HWND box = reinterpret_cast<HWND>(lParam);
        if (!boxSteps.empty()) {
            auto step = std::move(boxSteps.front());
            boxSteps.pop_front();
            ++stepsRun;
            step(box);
            PostMessageW(box, WM_NULL, 0, 0); // another idle for the next step
            idlesAfterSteps = 0;
        } else if (++idlesAfterSteps > 0) {
            ADD_FAILURE() << "the box is still up after the last step";
            EndDialog(box, 0);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Press(UINT vk, bool alt = false) {
    if (alt) {
        DisplayInjectKey(VK_MENU, 0, TRUE, FALSE);
    }
    DisplayInjectKey(vk, 0, TRUE, FALSE);
    DisplayInjectKey(vk, 0, FALSE, FALSE);
    if (alt) {
        DisplayInjectKey(VK_MENU, 0, FALSE, FALSE);
    }
}

std::u16string Text(HWND hwnd) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

class MessageBoxDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(50000);
        RegisterStandardControls();
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = BoxOwnerProc;
            wc.lpszClassName = u"BoxOwner";
            ASSERT_NE(RegisterClassW(&wc), 0);
            registered = true;
        }
        boxSteps.clear();
        stepsRun = 0;
        idlesAfterSteps = 0;
        owner = CreateWindowExW(0, u"BoxOwner", u"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500,
                                400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner);
        DisplayUseRealClock();
    }
    HWND owner = nullptr;
};

struct KeyCase {
    const char* name;
    UINT type;
    std::vector<std::pair<UINT, bool>> keys; // key, with Alt
    int answer;
    std::vector<std::u16string> buttons;
};

TEST_F(MessageBoxDialogTest, KeysAnswerWithTheButtonsOfTheType) {
    const KeyCase cases[] = {
        {"ok, Esc", MB_OK, {{VK_ESCAPE, false}}, IDOK, {u"OK"}},
        {"yes/no ignores Esc, Alt+N",
         MB_YESNO | MB_ICONQUESTION,
         {{VK_ESCAPE, false}, {'N', true}},
         IDNO,
         {u"&Yes", u"&No"}},
        {"second default", MB_OKCANCEL | MB_DEFBUTTON2, {{VK_RETURN, false}}, IDCANCEL, {u"OK", u"Cancel"}},
        {"yes/no/cancel, Esc",
         MB_YESNOCANCEL | MB_ICONEXCLAMATION,
         {{VK_ESCAPE, false}},
         IDCANCEL,
         {u"&Yes", u"&No", u"Cancel"}},
        {"third default",
         MB_ABORTRETRYIGNORE | MB_DEFBUTTON3 | MB_ICONHAND,
         {{VK_RETURN, false}},
         IDIGNORE,
         {u"&Abort", u"&Retry", u"&Ignore"}},
        {"tab moves the default",
         MB_RETRYCANCEL,
         {{VK_TAB, false}, {VK_RETURN, false}},
         IDCANCEL,
         {u"&Retry", u"Cancel"}},
        {"help does not close",
         MB_OK | MB_HELP,
         {{VK_TAB, false}, {VK_SPACE, false}, {VK_ESCAPE, false}},
         IDOK,
         {u"OK", u"Help"}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::u16string> buttons;
        bool ownerDisabled = false;
        boxSteps.clear();
        stepsRun = 0;
        idlesAfterSteps = 0;
        boxSteps.push_back([&](HWND box) {
            ownerDisabled = !IsWindowEnabled(owner);
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) {
                    buttons.push_back(Text(child));
                }
            }
        });
        for (auto [key, alt] : c.keys) {
            boxSteps.push_back([key, alt](HWND) { Press(key, alt); });
        }
        EXPECT_EQ(DisplayRunMessageBoxDialog(owner, u"Caption", u"Text of the box.", c.type), c.answer);
        EXPECT_EQ(buttons, c.buttons);
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
}

TEST_F(MessageBoxDialogTest, LongTextWrapsAndEverythingFitsInTheBox) {
    std::u16string text;
    for (int i = 0; i < 40; ++i) {
        text += u"The receiver has not answered. ";
    }
    text += u"\n\nLast line & no mnemonic.";
    bool checked = false;
    boxSteps.push_back([&](HWND box) {
        Press(VK_RETURN); // taken once the checks are done
        checked = true;
        EXPECT_EQ(Text(box), u"Receiver");
        RECT client{};
        GetClientRect(box, &client);
        RECT screen{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
        RECT frame{};
        GetWindowRect(box, &frame);
        EXPECT_LE(frame.right - frame.left, screen.right - screen.left);
        EXPECT_GE(frame.left, screen.left);
        EXPECT_GE(frame.top, screen.top);
        std::vector<RECT> placed;
        HWND textCtl = nullptr;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.right, client.right);
            EXPECT_LE(r.bottom, client.bottom);
            for (const RECT& other : placed) {
                RECT overlap{};
                EXPECT_FALSE(IntersectRect(&overlap, &r, &other)) << GetDlgCtrlID(child);
            }
            placed.push_back(r);
            if (Text(child) == text) {
                textCtl = child;
            }
        }
        ASSERT_NE(textCtl, nullptr);
        RECT textRect{};
        GetClientRect(textCtl, &textRect);
        EXPECT_GT(textRect.bottom, 5 * 8); // several lines
    });
    EXPECT_EQ(DisplayRunMessageBoxDialog(owner, u"Receiver", text, MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_TRUE(checked);
}

} // namespace
