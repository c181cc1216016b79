// The state of a list box and the operations its messages share.
#pragma once

#include "platform/controls/ControlsCommon.h"

#include <string>
#include <vector>

namespace controls::listbox {

struct Item {
    std::u16string text;
    ULONG_PTR data = 0;
    bool selected = false;
    int height = 0;
};

struct ListState {
    HWND hwnd = nullptr;
    HWND combo = nullptr; // the combo box a dropped list belongs to
    std::vector<Item> items;
    int cur = -1;    // the selection of a single-selection list
    int caret = 0;   // the item with the focus rectangle
    int anchor = -1; // where an extended selection started
    int top = 0;
    int itemHeight = 16;
    HFONT font = nullptr;
    bool focused = false;
    bool tracking = false;      // the mouse is held on the list
    bool comboTracking = false; // dropped: the list follows the mouse until a click
    std::vector<int> tabStops;
    int hExtent = 0;
    bool vscroll = false;     // created with WS_VSCROLL (the style bit goes while the bar is hidden)
    int requestedHeight = -1; // the window height asked for, before rounding to whole items
};

inline DWORD Style(const ListState* s) {
    return ClassStyle(s->hwnd);
}
inline bool OwnerDraw(const ListState* s) {
    return Style(s) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
}
inline bool HasStrings(const ListState* s) {
    return !OwnerDraw(s) || (Style(s) & LBS_HASSTRINGS);
}
inline bool MultiSel(const ListState* s) {
    return Style(s) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
}
inline int Count(const ListState* s) {
    return static_cast<int>(s->items.size());
}
inline bool Valid(const ListState* s, int i) {
    return i >= 0 && i < Count(s);
}
inline void Redraw(ListState* s) {
    InvalidateRect(s->hwnd, nullptr, TRUE);
}

// Owner-draw messages of a dropped list go to the combo box's parent in the combo box's name.
HWND OwnerTarget(const ListState* s);
UINT CtlType(const ListState* s);
UINT CtlId(const ListState* s);
void Notify(ListState* s, UINT code);

// Items wholly visible from the top index (at least one).
int PageSize(const ListState* s);
int MaxTop(const ListState* s);
void UpdateScrollBar(ListState* s);
// Whether the window's height is rounded to whole items.
bool Integral(const ListState* s);
// The height of the window for `height` asked for: the client area a whole number of items.
int IntegralHeight(const ListState* s, int height);
void ApplyIntegralHeight(ListState* s);
void SetTop(ListState* s, int top);
void EnsureVisible(ListState* s, int i);
RECT ItemRect(const ListState* s, int i);
// The item under a client point, and whether the point is outside the items.
int ItemFromPoint(const ListState* s, POINT p, bool* outside);

int Insert(ListState* s, int index, LPARAM lParam, bool sorted);
int Delete(ListState* s, int index);
void Reset(ListState* s);
int Find(const ListState* s, int start, const char16_t* text, bool exact);
void SetCur(ListState* s, int i);
void SelectRange(ListState* s, int from, int to, bool select);

void Paint(ListState* s, HDC dc);
void KeyDown(ListState* s, WPARAM key);
void CharTyped(ListState* s, char16_t ch);
// A click (down) or a drag onto item `i`, selecting as the style asks.
void MouseSelect(ListState* s, int i, WPARAM keys, bool down);

} // namespace controls::listbox
