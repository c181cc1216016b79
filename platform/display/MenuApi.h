// Menus and accelerator tables: menu bars drawn in the non-client area of a top-level window, popup menus
// (windows of class "#32768" drawn by the layer) and the modal tracking loop that drives both by mouse and
// keyboard, sending the owner WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT, WM_ENTERMENULOOP/WM_EXITMENULOOP
// and posting WM_COMMAND (WM_SYSCOMMAND for the system menu) for the chosen item.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/WindowTypes.h"
#include "platform/display/WindowMessages.h"

// ---- Item flags (the MF_* forms of AppendMenu and friends)
#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_USECHECKBITMAPS 0x00000200L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_UNHILITE 0x00000000L
#define MF_HILITE 0x00000080L
#define MF_DEFAULT 0x00001000L
#define MF_SYSMENU 0x00002000L
#define MF_HELP 0x00004000L
#define MF_RIGHTJUSTIFY 0x00004000L
#define MF_MOUSESELECT 0x00008000L
#define MF_END 0x00000080L

#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200L
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTORDER 0x00002000L
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY

#define MFS_GRAYED 0x00000003L
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

#define MIIM_STATE 0x00000001
#define MIIM_ID 0x00000002
#define MIIM_SUBMENU 0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE 0x00000010
#define MIIM_DATA 0x00000020
#define MIIM_STRING 0x00000040
#define MIIM_BITMAP 0x00000080
#define MIIM_FTYPE 0x00000100

#define GMDI_USEDISABLED 0x0001L
#define GMDI_GOINTOPOPUPS 0x0002L

// ---- TrackPopupMenu
#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L
#define TPM_RECURSE 0x0001L

// WM_MENUCHAR answers (in the high word).
#define MNC_IGNORE 0
#define MNC_CLOSE 1
#define MNC_EXECUTE 2
#define MNC_SELECT 3

// ---- Accelerators
#define FVIRTKEY TRUE
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

typedef struct tagACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
} ACCEL, *LPACCEL;

typedef struct tagMENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
    HBITMAP hbmpItem;
} MENUITEMINFOW, *LPMENUITEMINFOW;
typedef const MENUITEMINFOW* LPCMENUITEMINFOW;
typedef MENUITEMINFOW MENUITEMINFO;
typedef LPMENUITEMINFOW LPMENUITEMINFO;

typedef struct tagTPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
} TPMPARAMS, *LPTPMPARAMS;

// ---- Menus
HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// `newItem` is the command id, or the submenu handle with MF_POPUP; `item` the text (MF_STRING), the bitmap
// (MF_BITMAP) or the item data (MF_OWNERDRAW).
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR newItem, LPCWSTR item);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR item);
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR item);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
// RemoveMenu keeps a removed item's submenu; DeleteMenu destroys it.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);

int GetMenuItemCount(HMENU menu);
// The command id of the item at `pos`; -1 (as UINT) for a submenu or a position out of range.
UINT GetMenuItemID(HMENU menu, int pos);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxCount, UINT flags);
HMENU GetSubMenu(HMENU menu, int pos);
// MF_* state bits; a submenu answers MF_POPUP with its item count in the high byte; -1 when not found.
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
// The previous MF_CHECKED state, or -1 when the item does not exist.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
// The previous MF_GRAYED/MF_DISABLED state, or -1 when the item does not exist.
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
// The screen rectangle of an item of a window's menu bar or of an open popup menu.
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect);
// The window's own copy of the system menu (made on first use); `revert` puts the standard one back.
HMENU GetSystemMenu(HWND hwnd, BOOL revert);

// Menus from MENU templates: by resource, or from template bytes.
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);
HMENU LoadMenuIndirectW(const void* menuTemplate);

// Runs the popup menu at (x, y) in screen coordinates until an item is chosen or the menu is dismissed.
// With TPM_RETURNCMD answers the command chosen (0 for none); otherwise TRUE, the command going to `owner`.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
// Ends the menu tracking of the calling thread.
BOOL EndMenu();

// ---- Accelerator tables
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
HACCEL CreateAcceleratorTableW(LPACCEL entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// Copies up to `count` entries (all when `entries` is null: answers the table's size).
int CopyAcceleratorTableW(HACCEL table, LPACCEL entries, int count);
// A key message matching an entry becomes WM_COMMAND (high word 1) to `hwnd`, or WM_SYSCOMMAND for a
// command of the system menu; an entry whose menu item is disabled sends nothing. TRUE when it matched.
int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg);

// The window procedure's part in menus (called by DefWindowProc): SC_KEYMENU and SC_MOUSEMENU.
void MenuSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);

#define AppendMenu AppendMenuW
#define InsertMenu InsertMenuW
#define ModifyMenu ModifyMenuW
#define InsertMenuItem InsertMenuItemW
#define GetMenuItemInfo GetMenuItemInfoW
#define SetMenuItemInfo SetMenuItemInfoW
#define GetMenuString GetMenuStringW
#define LoadMenu LoadMenuW
#define LoadMenuIndirect LoadMenuIndirectW
#define LoadAccelerators LoadAcceleratorsW
#define CreateAcceleratorTable CreateAcceleratorTableW
#define CopyAcceleratorTable CopyAcceleratorTableW
#define TranslateAccelerator TranslateAcceleratorW
