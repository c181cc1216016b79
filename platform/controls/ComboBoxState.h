// The state of a combo box and the operations its messages share.
#pragma once

#include "platform/controls/ControlsCommon.h"

#include <string>

namespace controls::combo {

constexpr int kEditId = 1001;
constexpr int kListId = 1000;
constexpr int kEdge = 2;

struct ComboState {
    HWND hwnd = nullptr;
    HWND edit = nullptr;
    HWND list = nullptr;
    WNDPROC editProc = nullptr;
    HFONT font = nullptr;
    bool dropped = false;
    bool focused = false;
    bool settingEdit = false; // our own change of the edit text: no CBN_EDIT* notifications
    bool extendedUi = false;
    int fieldHeight = 0;   // the height of the closed combo box
    int itemHeight = 0;    // the height of the selection field's text area
    int droppedHeight = 0; // the whole height with the list dropped
    int droppedWidth = 0;
    int committed = -1; // the selection when the list was dropped (restored by a cancel)
};

inline DWORD Style(const ComboState* s) {
    return ClassStyle(s->hwnd);
}
inline DWORD Kind(const ComboState* s) {
    return Style(s) & 3;
}
inline bool IsList(const ComboState* s) {
    return Kind(s) == CBS_DROPDOWNLIST;
}
inline bool IsSimple(const ComboState* s) {
    return Kind(s) == CBS_SIMPLE;
}

inline void Notify(ComboState* s, UINT code) {
    NotifyParent(s->hwnd, code);
}

int Cur(const ComboState* s);
std::u16string ItemText(const ComboState* s, int i);
// Sets the edit's text without CBN_EDIT* notifications.
LRESULT SetEditText(ComboState* s, const char16_t* text);
// The edit shows the selected item (selected as a whole when the combo box has the focus).
void SyncEdit(ComboState* s);
// The drop-down arrow.
RECT ButtonRect(const ComboState* s);
void Layout(ComboState* s);
// The item and field heights for the font.
void ComputeHeights(ComboState* s);
void DropDown(ComboState* s);
// Closes the dropped list; a cancel (`ok` false) goes back to the selection it was dropped with.
void CloseUp(ComboState* s, bool ok, bool notifyEnd = true);
void ToggleDropped(ComboState* s);
// A selection the user made (keys or a click): the field follows, then CBN_SELCHANGE.
void UserSelect(ComboState* s, int i);
// Keys of the combo box (its own in a drop-down list, its edit's otherwise). Answers whether they were used.
bool Key(ComboState* s, UINT msg, WPARAM key);
void GotFocus(ComboState* s);
void LostFocus(ComboState* s, HWND next);
// WM_GETDLGCODE: a dropped list wants Enter and Esc, which close it.
LRESULT DropDownKeys(const ComboState* s, LPARAM lParam);
// The window procedure the edit is subclassed with: the combo box's keys and focus come first.
LRESULT CALLBACK ComboEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PaintField(ComboState* s, HDC dc);
// A list box message to the list.
inline LRESULT Forward(ComboState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(s->list, msg, wParam, lParam);
}

} // namespace controls::combo
