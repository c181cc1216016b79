// A fixture for the standard controls: a visible, active parent window that records the notifications of its
// controls, a test clock, and input helpers.
#pragma once

#include "platform/controls/StandardControls.h"
#include "platform/display/User.h"
#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace controlstest {

struct Note {
    int id;
    UINT code;
    HWND from;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Make(LPCWSTR cls, LPCWSTR text, DWORD style, RECT rect, int id, DWORD exStyle = 0);
    // The notification codes recorded for a control id, in order.
    std::vector<UINT> Codes(int id) const;
    void ClearNotes() { notes.clear(); }

    static int Pump();
    // A key pressed and released, with modifiers held around it.
    static void Press(UINT vk, std::initializer_list<UINT> modifiers = {});
    static void Type(const std::u16string& text);
    static POINT ToScreen(HWND hwnd, POINT client);
    static void MouseDown(HWND hwnd, POINT client);
    static void MouseUp(HWND hwnd, POINT client);
    static void Click(HWND hwnd, POINT client);
    static std::u16string Text(HWND hwnd);

    HWND parent = nullptr;
    std::vector<Note> notes;
    std::vector<UINT> parentMessages; // the WM_CTLCOLOR*, WM_DRAWITEM, ... the parent received
    // Answers a message of the parent before the recording default.
    std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> parentHook;

    static ControlsTest* current;
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

} // namespace controlstest
