// The check a settings dialog runs when a field is left, driven by keys in the dialogs' modal loops: a value
// the check refuses shows its message box once and the focus goes back to the field. The boxes are the
// layer's real ones (answered by Enter), and after each box the window system's late report of the focus
// moving to the box and back is replayed, as a display backend delivers it: the check must not take that
// report for the field being left again.
#include "dialogs/CCoaxDelayCalculator.h"
#include "dialogs/CGpsRxModeSelect.h"
#include "dialogs/CReferencePositionDialog.h"
#include "dialogs/CTimingDialog.h"

#include "DialogTestSupport.h"
#include "platform/dialog/MessageBoxDialog.h"
#include "platform/display/MessageBox.h"
#include "platform/framework/CWinApp.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// More boxes than this for one leaving is the endless series; the test then ends the dialog.
constexpr size_t kRunaway = 4;
// Posted to the owner with the dialog after each box: the window system's late focus report.
constexpr UINT kLateFocusReport = WM_APP + 0x40;

std::deque<std::function<void(HWND dialog)>> g_steps;

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        HWND dialog = reinterpret_cast<HWND>(lParam);
        if (!g_steps.empty()) {
            auto step = std::move(g_steps.front());
            g_steps.pop_front();
            step(dialog);
            PostMessageW(dialog, WM_NULL, 0, 0); // another idle for the next step
        } else if (auto* pDialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog))) {
            ADD_FAILURE() << "the dialog is still up after the last step";
            pDialog->EndDialog(IDABORT);
        }
        return 0;
    }
    if (msg == kLateFocusReport) {
        HWND dialog = reinterpret_cast<HWND>(wParam);
        DisplayActivateFromBackend(dialog, FALSE);
        DisplayActivateFromBackend(dialog, TRUE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Key(UINT vk) {
    DisplayInjectKey(vk, 0, TRUE, FALSE);
    DisplayInjectKey(vk, 0, FALSE, FALSE);
}

struct LeaveCase {
    const char* name;
    std::function<std::unique_ptr<CDialog>(CWnd* owner)> make;
    UINT field;
    const char16_t* typed;
    UINT leaveKey;
    const char16_t* message;
};

class FieldCheck : public dialogtest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = u"FieldCheckOwner";
            return RegisterClassW(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        g_steps.clear();
        m_owner = CreateWindowExW(0, u"FieldCheckOwner", u"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                  700, 500, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_owner, nullptr);
        SetActiveWindow(m_owner);
        // The program's boxes belong to its main window's active popup: the dialog.
        m_app.m_pMainWnd = CWnd::FromHandle(m_owner);
        m_previous = DisplaySetMessageBoxResponder(
            [this](HWND owner, const std::u16string& caption, const std::u16string& text, UINT type) {
                m_boxes.push_back(text);
                if (m_boxes.size() > kRunaway) {
                    if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(owner))) {
                        dialog->EndDialog(IDABORT);
                    }
                    return IDOK;
                }
                Key(VK_RETURN);
                const int answer = DisplayRunMessageBoxDialog(owner, caption, text, type);
                PostMessageW(m_owner, kLateFocusReport, reinterpret_cast<WPARAM>(owner), 0);
                return answer;
            });
    }
    void TearDown() override {
        m_app.m_pMainWnd = nullptr;
        DestroyWindow(m_owner);
        DisplaySetMessageBoxResponder(m_previous);
        CWnd::DeleteTempMap();
        WindowTest::TearDown();
    }

    CWinApp m_app{u"Doliva"};
    HWND m_owner = nullptr;
    std::vector<std::u16string> m_boxes;
    MessageBoxResponder m_previous;
};

TEST_F(FieldCheck, ARefusedValueShowsItsMessageOnceAndTheFocusReturnsToTheField) {
    g_receiverIdentity.model = 10;
    g_receiverIdentity.hasTraim = TRUE;
    const LeaveCase cases[] = {
        {"T-RAIM limit", [](CWnd* owner) { return std::make_unique<CTimingDialog>(owner); },
         CTimingDialog::kTraimLimitId, u"abc", VK_TAB, u"Please enter a number."},
        {"reference latitude", [](CWnd* owner) { return std::make_unique<CReferencePositionDialog>(owner); },
         CReferencePositionDialog::kLatitudeId, u"x", VK_TAB, u"Unknown characters at end of field."},
        {"coax velocity", [](CWnd* owner) { return std::make_unique<CCoaxDelayCalculator>(owner); },
         CCoaxDelayCalculator::kVelocity1Id, u"1.5", VK_TAB, CCoaxDelayCalculator::kVelocityMessage},
        {"elevation mask", [](CWnd* owner) { return std::make_unique<CGpsRxModeSelect>(owner); },
         CGpsRxModeSelect::kElevationMaskId, u"abc", VK_TAB, u"Please enter an integer."},
        {"elevation mask, Enter", [](CWnd* owner) { return std::make_unique<CGpsRxModeSelect>(owner); },
         CGpsRxModeSelect::kElevationMaskId, u"abc", VK_RETURN, u"Please enter an integer."},
    };
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_boxes.clear();
        bool focusInField = false;
        g_steps = {
            [&](HWND dialog) {
                SetFocus(GetDlgItem(dialog, static_cast<int>(c.field)));
                SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
                DisplayInjectText(c.typed);
                Key(c.leaveKey);
            },
            [&](HWND dialog) {
                // For a combo box, the focus is in its edit.
                HWND field = GetDlgItem(dialog, static_cast<int>(c.field));
                focusInField = GetFocus() == field || IsChild(field, GetFocus());
                Key(VK_ESCAPE);
            },
        };
        std::unique_ptr<CDialog> dialog = c.make(CWnd::FromHandle(m_owner));
        EXPECT_EQ(dialog->DoModal(), IDCANCEL);
        ASSERT_FALSE(m_boxes.empty());
        EXPECT_EQ(m_boxes, std::vector<std::u16string>{c.message});
        EXPECT_TRUE(focusInField);
        Pump();
    }
}

} // namespace
