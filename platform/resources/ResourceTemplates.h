// Parsers of the resource formats the framework and the controls read: string-table blocks, menus,
// accelerator tables, dialog templates (classic and extended), dialog-init data, icon and cursor groups and
// toolbar blocks. Each takes the resource bytes and checks every count and size against them; malformed
// data gives false with ERROR_INVALID_DATA and nothing read out of bounds.
#pragma once

#include "platform/base/Win32Types.h"
#include "platform/resources/ResFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// ---- String tables: block n (from 1) holds ids 16(n-1) .. 16n-1, each a length-prefixed UTF-16 text.

// Text `index` (0..15) of a block; an empty text means the id is not defined. The view points into the
// block, which must be 2-byte aligned.
bool FindStringInBlock(const void* block, size_t size, UINT index, std::u16string_view& text);

// ---- Menus

// Item flags as stored: the MF_* values (MF_GRAYED 0x01, MF_CHECKED 0x08, MF_POPUP 0x10, MF_END 0x80, ...).
enum : WORD { kMenuFlagPopup = 0x0010, kMenuFlagEnd = 0x0080 };

struct ParsedMenuItem {
    WORD flags = 0; // as stored, the end mark cleared
    WORD id = 0;    // 0 for pop-ups and separators
    std::u16string text;
    std::vector<ParsedMenuItem> popup;

    bool IsPopup() const { return (flags & kMenuFlagPopup) != 0; }
    // A separator is written as an item with no flags, id and text.
    bool IsSeparator() const { return !IsPopup() && id == 0 && text.empty(); }
};

struct ParsedMenu {
    std::vector<ParsedMenuItem> items;

    // The item with command `id` anywhere in the tree, or null.
    const ParsedMenuItem* FindCommand(WORD id) const;
};

// A MENU template (header version 0). Nesting is limited to a sane depth.
bool ParseMenuTemplate(const void* data, size_t size, ParsedMenu& menu);

// ---- Accelerators

// fVirt holds the FVIRTKEY (0x01), FNOINVERT (0x02), FSHIFT (0x04), FCONTROL (0x08) and FALT (0x10) bits.

struct AcceleratorEntry {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};

// The table's entries up to the one marked last (0x80).
bool ParseAcceleratorTable(const void* data, size_t size, std::vector<AcceleratorEntry>& table);

// ---- Dialog templates

// Predefined control classes by ordinal.
enum : WORD {
    kDialogClassButton = 0x0080,
    kDialogClassEdit = 0x0081,
    kDialogClassStatic = 0x0082,
    kDialogClassListBox = 0x0083,
    kDialogClassScrollBar = 0x0084,
    kDialogClassComboBox = 0x0085,
};

struct DialogItem {
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    DWORD id = 0; // a WORD in classic templates
    ResName windowClass;
    ResName title;                  // text, or an ordinal (an icon or bitmap id)
    std::vector<BYTE> creationData; // the bytes after the size word

    // "Button", "Edit", ... for predefined ordinals, else the class text.
    std::u16string ClassName() const;
};

struct ParsedDialog {
    bool extended = false;
    DWORD helpId = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;
    short y = 0;
    short cx = 0;
    short cy = 0;
    ResName menu;        // ordinal 0: none
    ResName windowClass; // ordinal 0: the dialog class
    std::u16string caption;
    bool hasFont = false; // DS_SETFONT
    WORD pointSize = 0;
    WORD weight = 0;
    bool italic = false;
    BYTE charset = 0;
    std::u16string typeface;
    std::vector<DialogItem> items;
};

// A DIALOG or DIALOGEX template.
bool ParseDialogTemplate(const void* data, size_t size, ParsedDialog& dialog);

// Dialog-init data (type 240): strings to add to list and combo boxes after creation.
struct DialogInitEntry {
    WORD controlId = 0;
    WORD message = 0; // LB_ADDSTRING or CB_ADDSTRING
    std::string text; // single-byte as stored, without the terminator
};
bool ParseDialogInit(const void* data, size_t size, std::vector<DialogInitEntry>& entries);

// ---- Icon and cursor groups

struct IconGroupEntry {
    WORD width = 0; // 0 in the file means 256 for icons; given here as stored
    WORD height = 0;
    BYTE colorCount = 0;
    WORD planes = 0;
    WORD bitCount = 0;
    DWORD bytesInRes = 0;
    WORD id = 0; // the RT_ICON / RT_CURSOR resource
};
struct ParsedIconGroup {
    WORD type = 0; // 1 icon, 2 cursor
    std::vector<IconGroupEntry> entries;
};
bool ParseIconGroup(const void* data, size_t size, ParsedIconGroup& group);

// The id of the image that best fits cx by cy (0 for the first entry's size): the exact size with the most
// colours, else the nearest larger, else the largest. 0 when the group is empty.
WORD ChooseGroupImage(const ParsedIconGroup& group, int cx, int cy);

// ---- Toolbars (type 241): version 1, button width and height, count, then the command ids (0: separator).

struct ParsedToolbar {
    WORD width = 0;
    WORD height = 0;
    std::vector<WORD> commands;
};
bool ParseToolbar(const void* data, size_t size, ParsedToolbar& toolbar);
