// Window classes, windows and the window tree, window data, positions and visibility.
//
// Windows belong to the thread that created them; their procedures run on that thread only (a call from
// another thread that must reach the procedure is carried there as a sent message). Handles are never reused
// within a process, so a stale handle answers "invalid window" rather than naming a newer window.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/WindowTypes.h"
#include "platform/display/WindowConstants.h"
#include "platform/display/WindowMessages.h"

using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// ---- Classes
// Names are matched without regard to case. A class registered by the program hides a system class of the
// same name. The answer is the class atom (0xC000 onwards; RegisterWindowMessage draws from the same table).
ATOM RegisterClassW(const WNDCLASSW* wc);
ATOM RegisterClassExW(const WNDCLASSEXW* wc);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW wc);
BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSEXW wc);
int GetClassNameW(HWND hwnd, LPWSTR className, int maxCount);
// Indexes GCL_*/GCLP_*, or a byte offset into the class extra bytes.
ULONG_PTR GetClassLongPtrW(HWND hwnd, int index);
ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value);
DWORD GetClassLongW(HWND hwnd, int index);
DWORD SetClassLongW(HWND hwnd, int index, LONG value);
WORD GetClassWord(HWND hwnd, int index);

// ---- Creation and destruction
// Message order: WH_CBT HCBT_CREATEWND, WM_GETMINMAXINFO (overlapped and sizing windows), WM_NCCREATE,
// WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_PARENTNOTIFY(WM_CREATE) to the ancestors, then, for
// WS_VISIBLE, what ShowWindow sends. WM_NCCREATE answering FALSE fails the creation after WM_NCDESTROY;
// WM_CREATE answering -1 destroys the window (WM_DESTROY, WM_NCDESTROY) and fails it.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
#define CreateWindowW(className, windowName, style, x, y, width, height, parent, menu, instance, param)      \
    CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menu, instance, param)
// Order: owned windows first; WH_CBT HCBT_DESTROYWND; WM_PARENTNOTIFY(WM_DESTROY) to the ancestors; the
// window hidden; WM_DESTROY to the window then to its children (parents before children); WM_NCDESTROY to the
// children (children before parents) and last to the window. Only the owning thread may destroy a window.
BOOL DestroyWindow(HWND hwnd);
// For areas above the window core that keep windows of their own (the clipboard's owner and listeners): the
// hook runs for every window DestroyWindow destroys, before its WM_DESTROY, while it still answers messages.
using WindowDestroyHook = void (*)(HWND hwnd);
void DisplayAddWindowDestroyHook(WindowDestroyHook hook);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowUnicode(HWND hwnd);

// ---- The tree
HWND GetDesktopWindow();
// The parent of a child window, the owner of a WS_POPUP window, otherwise null.
HWND GetParent(HWND hwnd);
// Answers the previous parent. A null parent makes the window top-level.
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetAncestor(HWND hwnd, UINT flags);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetTopWindow(HWND hwnd);
#define GetNextWindow(hwnd, cmd) GetWindow(hwnd, cmd)
// Every descendant, parents before their children, each level in z-order.
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
// The top-level windows of this process, in z-order.
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam);
HWND GetLastActivePopup(HWND hwnd);
DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);
// Top-level windows by class and/or title (exact, without regard to case): this process's first, then those
// of this user's other processes in the same scope (the DOLIVA_CONFIG_DIR in use). A foreign window answers a
// handle that IsWindow, GetWindowThreadProcessId, IsIconic, ShowWindow, SetForegroundWindow,
// GetLastActivePopup, GetWindowTextW and GetClassNameW accept.
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName);

// ---- Ids, text and data
int GetDlgCtrlID(HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount);
int GetWindowTextLengthW(HWND hwnd);
// The text DefWindowProc keeps, without sending WM_GETTEXT.
int InternalGetWindowText(HWND hwnd, LPWSTR text, int maxCount);
// Indexes GWL_*/GWLP_*, or a byte offset into the window extra bytes. Style changes send WM_STYLECHANGING and
// WM_STYLECHANGED; a changed frame takes effect with SetWindowPos(SWP_FRAMECHANGED).
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
WORD GetWindowWord(HWND hwnd, int index);
WORD SetWindowWord(HWND hwnd, int index, WORD value);
BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data);
HANDLE GetPropW(HWND hwnd, LPCWSTR name);
HANDLE RemovePropW(HWND hwnd, LPCWSTR name);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- Menus of top-level windows (the menu objects come with the framework; the window keeps the handle and
// reserves the menu bar through the hooks in DisplayBackend.h)
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);

// ---- Positions
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
// Null stands for the screen. Answers MAKELONG(dx, dy).
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// WM_WINDOWPOSCHANGING (unless SWP_NOSENDCHANGING), WM_NCCALCSIZE when the size or frame changes, then
// WM_WINDOWPOSCHANGED, whose default sends WM_MOVE and WM_SIZE.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL EndDeferWindowPos(HDWP info);
BOOL BringWindowToTop(HWND hwnd);
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);

// ---- Visibility and state
// Answers whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL ShowOwnedPopups(HWND owner, BOOL show);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL OpenIcon(HWND hwnd);
BOOL CloseWindow(HWND hwnd);
// Answers whether the window was disabled before. Disabling sends WM_CANCELMODE, takes the focus and the
// capture away from the window and its children, then sends WM_ENABLE.
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL FlashWindow(HWND hwnd, BOOL invert);

// ---- Windows under a point
// The deepest visible, enabled window under a screen point; WM_NCHITTEST answering HTTRANSPARENT passes the
// point on to the windows beneath (for windows of the calling thread).
HWND WindowFromPoint(POINT point);
// A direct child of `parent` under a point in its client coordinates; `parent` itself when no child is there,
// null outside it.
HWND ChildWindowFromPoint(HWND parent, POINT point);
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);
HWND RealChildWindowFromPoint(HWND parent, POINT point);

#define RegisterClass RegisterClassW
#define RegisterClassEx RegisterClassExW
#define UnregisterClass UnregisterClassW
#define GetClassInfo GetClassInfoW
#define GetClassInfoEx GetClassInfoExW
#define GetClassName GetClassNameW
#define GetClassLongPtr GetClassLongPtrW
#define SetClassLongPtr SetClassLongPtrW
#define GetClassLong GetClassLongW
#define SetClassLong SetClassLongW
#define CreateWindowEx CreateWindowExW
#define CreateWindow CreateWindowW
#define FindWindow FindWindowW
#define FindWindowEx FindWindowExW
#define SetWindowText SetWindowTextW
#define GetWindowText GetWindowTextW
#define GetWindowTextLength GetWindowTextLengthW
#define GetWindowLongPtr GetWindowLongPtrW
#define SetWindowLongPtr SetWindowLongPtrW
#define GetWindowLong GetWindowLongW
#define SetWindowLong SetWindowLongW
#define SetProp SetPropW
#define GetProp GetPropW
#define RemoveProp RemovePropW
#define CallWindowProc CallWindowProcW
#define DefWindowProc DefWindowProcW
