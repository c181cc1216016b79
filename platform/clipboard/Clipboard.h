// The clipboard: one store per process, formats, registered formats and the open/owner protocol.
//
// Data handed to SetClipboardData belongs to the clipboard from then on: global-memory blocks are freed with
// GlobalFree when the clipboard is emptied or the format is replaced; GDI-object formats (CF_BITMAP,
// CF_PALETTE, CF_ENHMETAFILE, CF_GDIOBJFIRST..LAST) go to the GDI deleter hook; private formats
// (CF_PRIVATEFIRST..LAST) and CF_OWNERDISPLAY are never freed here, their owner frees them on
// WM_DESTROYCLIPBOARD.
//
// Text: whichever of CF_UNICODETEXT, CF_TEXT and CF_OEMTEXT is set first is the source of the other two,
// converted on first request (ANSI and OEM both Windows-1252), together with a CF_LOCALE of 0x0409. The
// store's Unicode text is published to the desktop clipboard through the mirror when the clipboard is closed
// after a change (text the owner has yet to render is not), and text another program put there becomes
// CF_UNICODETEXT of an ownerless clipboard at the next OpenClipboard.
//
// Messages to windows (WM_RENDERFORMAT, WM_RENDERALLFORMATS, WM_DESTROYCLIPBOARD, WM_CLIPBOARDUPDATE) go
// through the message hook that the window core installs; without one nothing is sent and delayed formats
// render as null.
#pragma once

#include "platform/base/GlobalMemory.h"
#include "platform/base/LastError.h"
#include "platform/base/Win32Types.h"
#include "platform/base/WindowTypes.h"
#include "platform/clipboard/ClipboardMirror.h"
#include "platform/display/WindowMessages.h"

#include <functional>
#include <memory>
#include <string>

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_METAFILEPICT 3
#define CF_SYLK 4
#define CF_DIF 5
#define CF_TIFF 6
#define CF_OEMTEXT 7
#define CF_DIB 8
#define CF_PALETTE 9
#define CF_PENDATA 10
#define CF_RIFF 11
#define CF_WAVE 12
#define CF_UNICODETEXT 13
#define CF_ENHMETAFILE 14
#define CF_HDROP 15
#define CF_LOCALE 16
#define CF_DIBV5 17
#define CF_OWNERDISPLAY 0x0080
#define CF_DSPTEXT 0x0081
#define CF_DSPBITMAP 0x0082
#define CF_DSPMETAFILEPICT 0x0083
#define CF_DSPENHMETAFILE 0x008E
#define CF_PRIVATEFIRST 0x0200
#define CF_PRIVATELAST 0x02FF
#define CF_GDIOBJFIRST 0x0300
#define CF_GDIOBJLAST 0x03FF

// Fails with ERROR_ACCESS_DENIED while another thread has the clipboard open; the thread that has it open may
// open it again (the open window changes).
BOOL OpenClipboard(HWND newOwner);
// ERROR_CLIPBOARD_NOT_OPEN unless this thread has it open. Publishes the text and posts WM_CLIPBOARDUPDATE to
// the listeners when the content changed.
BOOL CloseClipboard();
// Frees the data, sends WM_DESTROYCLIPBOARD to the previous owner and makes the open window the owner.
BOOL EmptyClipboard();
// A null handle asks the owner for the data later (WM_RENDERFORMAT); that answers null with NO_ERROR, and
// fails with ERROR_INVALID_PARAMETER when the clipboard has no owner window. While the owner renders, it
// sets the data without opening the clipboard. A handle that is not a global block, for a format whose data
// is one, fails with ERROR_INVALID_HANDLE.
HANDLE SetClipboardData(UINT format, HANDLE mem);
// The clipboard's own handle (do not free it); null with ERROR_NOT_FOUND for a format it does not hold.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
// The format after `format` (0 starts), 0 with NO_ERROR at the end.
UINT EnumClipboardFormats(UINT format);
// The first of the list that the clipboard holds; 0 when it is empty, -1 when it holds none of them.
int GetPriorityClipboardFormat(UINT* formats, int count);
// Ids 0xC000 and up; the same name (compared without case) gives the same id.
UINT RegisterClipboardFormatW(LPCWSTR name);
UINT RegisterClipboardFormatA(LPCSTR name);
// Registered formats only: the name, truncated to maxCount - 1 units; 0 with ERROR_INVALID_PARAMETER for
// predefined or unknown ids.
int GetClipboardFormatNameW(UINT format, LPWSTR name, int maxCount);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
// Counts the changes of content.
DWORD GetClipboardSequenceNumber();
BOOL AddClipboardFormatListener(HWND hwnd);
BOOL RemoveClipboardFormatListener(HWND hwnd);

#define RegisterClipboardFormat RegisterClipboardFormatW
#define GetClipboardFormatName GetClipboardFormatNameW

// The window core calls this when a window is destroyed, before its WM_DESTROY: an owner with delayed formats gets
// WM_RENDERALLFORMATS first; what it leaves unrendered is dropped, and the window stops being owner,
// open window and listener.
void ClipboardWindowDestroyed(HWND hwnd);

// Delivers a message to a window: sent (the answer comes back) or, when `post` is set, posted. By default
// through the window core; tests install their own.
using ClipboardMessageHook =
    std::function<LRESULT(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool post)>;
// Installs the hook and answers the previous one; an empty function sends nothing.
ClipboardMessageHook ClipboardSetMessageHook(ClipboardMessageHook hook);

// Deletes the handle of a GDI-object format; DeleteObject by default. It runs with the clipboard locked and
// must not call it.
using ClipboardGdiObjectDeleter = std::function<void(UINT format, HANDLE object)>;
ClipboardGdiObjectDeleter ClipboardSetGdiObjectDeleter(ClipboardGdiObjectDeleter deleter);

// Installs a mirror (null: none) and answers the previous one. The next OpenClipboard takes over the new
// mirror's text when it has any.
std::shared_ptr<ClipboardMirror> ClipboardSetMirror(std::shared_ptr<ClipboardMirror> mirror);
