// Focus, activation, capture, the keyboard, the caret, cursors and icons.
//
// Focus and the active window are kept per thread; the foreground window and the capture for the whole
// process. Mouse input goes to the capture window when there is one, else to the window under the cursor;
// keyboard input goes to the focus window of the foreground window's thread.
#pragma once

#include "platform/base/WindowTypes.h"
#include "platform/display/WindowConstants.h"
#include "platform/display/WindowMessages.h"

// WM_KILLFOCUS(new) to the window losing the focus, then WM_SETFOCUS(old) to the new one; the window's
// top-level window is activated first when it is not active. Answers the previous focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// WM_NCACTIVATE and WM_ACTIVATE to the window losing activation, WM_ACTIVATEAPP when the active thread
// changes, then WM_NCACTIVATE and WM_ACTIVATE to the new one; the focus follows unless its WM_ACTIVATE placed
// it inside.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();

// WM_CAPTURECHANGED(new) to the window losing the capture.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track);
// Runs a capture loop until the mouse leaves the drag rectangle (TRUE) or the button goes up (FALSE).
BOOL DragDetect(HWND hwnd, POINT point);

// The state as of the input message being handled: bit 15 down, bit 0 toggled.
SHORT GetKeyState(int virtKey);
// The state of the keyboard at this instant.
SHORT GetAsyncKeyState(int virtKey);
BOOL GetKeyboardState(LPBYTE keyState);
BOOL SetKeyboardState(const BYTE* keyState);
UINT MapVirtualKeyW(UINT code, UINT mapType);
SHORT VkKeyScanW(WCHAR ch);
int GetKeyNameTextW(LONG lParam, LPWSTR buffer, int size);

// One caret per thread, drawn by inverting its rectangle, blinking on a timer.
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);

// Standard cursors and icons (a null instance with IDC_*/IDI_*) are shared: destroying them does nothing.
// Other names are the icon and cursor groups of the module's resources (DolivaLoadIconResource).
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL DestroyCursor(HCURSOR cursor);
BOOL GetCursorPos(LPPOINT point);
// Moves the cursor and generates the mouse move as real movement would.
BOOL SetCursorPos(int x, int y);
int ShowCursor(BOOL show);
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(LPRECT rect);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT milliseconds);

#define LoadCursor LoadCursorW
#define LoadIcon LoadIconW
#define MapVirtualKey MapVirtualKeyW
#define VkKeyScan VkKeyScanW
#define GetKeyNameText GetKeyNameTextW
