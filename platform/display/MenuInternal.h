// Shared internals of the menu system; not for code outside platform/display.
#pragma once

#include "platform/display/DisplayInternal.h"

#include <string>
#include <vector>

namespace display_detail {

struct MenuItemData {
    UINT type = 0;  // MFT_*
    UINT state = 0; // MFS_*
    UINT id = 0;
    HMENU sub = nullptr;
    ULONG_PTR data = 0;
    std::u16string text;
    HBITMAP bitmap = nullptr;

    bool Separator() const { return (type & MFT_SEPARATOR) != 0; }
    bool Disabled() const { return (state & MFS_GRAYED) != 0; }
};

// A copy of a menu's items (the menu lock is never held while windows are called).
bool MenuSnapshot(HMENU menu, std::vector<MenuItemData>& items);
// The menu and position holding command `id` (searching submenus), or false.
bool MenuFindCommand(HMENU menu, UINT id, HMENU* holder, int* pos);
void MenuSetHilite(HMENU menu, int pos, bool on);

// The menu bar of a window: its height for a window width and its drawing (NonClient.cpp calls these when
// the framework installed no hooks of its own).
int MenuBarLayoutHeight(HWND hwnd, HMENU menu, int windowWidth);
void MenuBarDraw(HWND hwnd, HMENU menu, HDC windowDc, const RECT& bar);

// The text of a menu item without its '&' marks, and the mnemonic (lower case, 0 for none).
char16_t MenuMnemonic(const std::u16string& text);

} // namespace display_detail
