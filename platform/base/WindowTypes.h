// Handle types of the window system and GDI, and the geometry records they share.
#pragma once

#include "platform/base/Win32Types.h"

#define DOLIVA_DECLARE_HANDLE(name)                                                                          \
    struct name##__ {                                                                                        \
        int unused;                                                                                          \
    };                                                                                                       \
    using name = name##__*

DOLIVA_DECLARE_HANDLE(HWND);
DOLIVA_DECLARE_HANDLE(HDC);
DOLIVA_DECLARE_HANDLE(HMENU);
DOLIVA_DECLARE_HANDLE(HACCEL);
DOLIVA_DECLARE_HANDLE(HICON);
DOLIVA_DECLARE_HANDLE(HPEN);
DOLIVA_DECLARE_HANDLE(HBRUSH);
DOLIVA_DECLARE_HANDLE(HFONT);
DOLIVA_DECLARE_HANDLE(HBITMAP);
DOLIVA_DECLARE_HANDLE(HRGN);
DOLIVA_DECLARE_HANDLE(HPALETTE);
DOLIVA_DECLARE_HANDLE(HHOOK);
DOLIVA_DECLARE_HANDLE(HRSRC);
DOLIVA_DECLARE_HANDLE(HMONITOR);
DOLIVA_DECLARE_HANDLE(HKL);
DOLIVA_DECLARE_HANDLE(HDWP);
DOLIVA_DECLARE_HANDLE(HENHMETAFILE);
DOLIVA_DECLARE_HANDLE(HMETAFILE);
using HCURSOR = HICON;
using HGDIOBJ = void*;
using HGLOBAL = void*;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *PPOINT, *LPPOINT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *PSIZE, *LPSIZE;

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *PRECT, *LPRECT;
using LPCRECT = const RECT*;

typedef struct tagPOINTS {
    SHORT x;
    SHORT y;
} POINTS, *PPOINTS;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *PMSG, *LPMSG;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int, WPARAM, LPARAM);

#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))
