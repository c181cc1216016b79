// Multiple-document windows: the "MDIClient" window class that holds a frame's document windows (children
// with WS_EX_MDICHILD), and the default procedures of the frame (DefFrameProc) and of the children
// (DefMDIChildProc). The client activates one child at a time, cascades, tiles and arranges them, maximises
// one inside itself (its system menu and caption buttons then sit in the frame's menu bar and its title in
// the frame's caption) and lists the children at the end of the frame's window menu.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/display/WindowMessages.h"

struct CLIENTCREATESTRUCT {
    HANDLE hWindowMenu; // the popup the client lists its children in, or null
    UINT idFirstChild;  // the command of the first listed child; the others follow
};
using LPCLIENTCREATESTRUCT = CLIENTCREATESTRUCT*;

struct MDICREATESTRUCTW {
    LPCWSTR szClass;
    LPCWSTR szTitle;
    HANDLE hOwner;
    int x;
    int y;
    int cx;
    int cy;
    DWORD style;
    LPARAM lParam; // reaches the child as CREATESTRUCT::lpCreateParams->lParam
};
using LPMDICREATESTRUCTW = MDICREATESTRUCTW*;
using MDICREATESTRUCT = MDICREATESTRUCTW;
using LPMDICREATESTRUCT = MDICREATESTRUCTW*;

#define MDIS_ALLCHILDSTYLES 0x0001

// WM_MDITILE and WM_MDICASCADE
#define MDITILE_VERTICAL 0x0000
#define MDITILE_HORIZONTAL 0x0001
#define MDITILE_SKIPDISABLED 0x0002
#define MDITILE_ZORDER 0x0004

// Bitmap items of a menu bar drawn by the layer: the maximised child's icon and caption buttons.
#define HBMMENU_SYSTEM (reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(1)))
#define HBMMENU_MBAR_RESTORE (reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(2)))
#define HBMMENU_MBAR_MINIMIZE (reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(3)))
#define HBMMENU_MBAR_CLOSE (reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(5)))

// Items of the window menu the client lists at most; the rest are reached through the window list.
#define MDI_MAX_LISTED_CHILDREN 9

LRESULT DefFrameProcW(HWND hwnd, HWND client, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefMDIChildProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Ctrl+F4 closes and Ctrl+F6 / Ctrl+Shift+F6 cycle the client's children; TRUE when the message was used.
BOOL TranslateMDISysAccel(HWND client, LPMSG msg);

#define DefFrameProc DefFrameProcW
#define DefMDIChildProc DefMDIChildProcW
