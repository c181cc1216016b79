// A fixture for the common dialogs: an owner window whose WM_ENTERIDLE runs the test's steps one by one
// while a modal dialog waits, a message-box responder that records and answers from a script, and a test
// clock.
#pragma once

#include "platform/commdlg/CommDlg.h"
#include "platform/controls/StandardControls.h"
#include "platform/dialog/Dialog.h"
#include "platform/display/User.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace commdlgtest {

struct Box {
    std::u16string caption;
    std::u16string text;
    UINT type;
};

class CommDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        DisplayUseTestClock(100000);
        RegisterStandardControls();
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc{};
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = u"CommDlgTestOwner";
            ASSERT_NE(RegisterClassW(&wc), 0);
            registered = true;
        }
        current = this;
        owner = CreateWindowExW(0, u"CommDlgTestOwner", u"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                600, 450, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        SetActiveWindow(owner);
        previousResponder = DisplaySetMessageBoxResponder(
            [this](HWND, const std::u16string& caption, const std::u16string& text, UINT type) {
                boxes.push_back({caption, text, type});
                if (answers.empty()) {
                    return DisplayDefaultMessageBoxAnswer(type);
                }
                int answer = answers.front();
                answers.pop_front();
                return answer;
            });
        Pump();
    }

    void TearDown() override {
        DisplaySetMessageBoxResponder(previousResponder);
        steps.clear();
        if (IsWindow(owner)) {
            DestroyWindow(owner);
        }
        Pump();
        current = nullptr;
        DisplayUseRealClock();
    }

    static void Pump() {
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    // The texts of a list box's items.
    static std::vector<std::u16string> Items(HWND list) {
        std::vector<std::u16string> out;
        LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
            std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(length));
            out.push_back(text);
        }
        return out;
    }

    static std::u16string Text(HWND dialog, int id) {
        WCHAR buffer[1024] = {};
        GetDlgItemTextW(dialog, id, buffer, 1024);
        return buffer;
    }

    // A command from a control as the control itself sends it.
    static void Command(HWND dialog, int id, UINT code) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    HWND owner = nullptr;
    std::deque<std::function<void(HWND dialog)>> steps;
    int unscripted = 0; // idle turns with no step left (the dialog is cancelled then)
    std::vector<Box> boxes;
    std::deque<int> answers;
    // Sees the messages of the owner and of any other window of its class (children standing in for views).
    std::function<void(UINT, WPARAM, LPARAM)> ownerHook;
    MessageBoxResponder previousResponder;

    static inline CommDlgTest* current = nullptr;

    static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (current && current->ownerHook) {
            current->ownerHook(msg, wParam, lParam);
        }
        if (current && hwnd == current->owner) {
            if (msg == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
                HWND dialog = reinterpret_cast<HWND>(lParam);
                if (current->steps.empty()) {
                    ++current->unscripted;
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                } else {
                    auto step = std::move(current->steps.front());
                    current->steps.pop_front();
                    step(dialog);
                    // The loop waits for something new before its next idle turn.
                    if (IsWindow(dialog)) {
                        PostMessageW(dialog, WM_NULL, 0, 0);
                    }
                }
                return 0;
            }
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
};

} // namespace commdlgtest
