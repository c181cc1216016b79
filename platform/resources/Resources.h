// The resource API: modules holding compiled resource files (the standard binary .res format, embedded at
// build time by doliva_add_resources), found by type and name the Win32 way.
//
// A null module means the program's own module, which gathers every script embedded without a module name.
// Handles stay valid for the life of the process; resource data is never copied out of the embedded bytes.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/Locale.h"
#include "platform/base/WindowTypes.h"
#include "platform/resources/ImageConstants.h"

#include <cstddef>
#include <functional>

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_FONTDIR MAKEINTRESOURCEW(7)
#define RT_FONT MAKEINTRESOURCEW(8)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_MESSAGETABLE MAKEINTRESOURCEW(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_DLGINIT MAKEINTRESOURCEW(240)
#define RT_TOOLBAR MAKEINTRESOURCEW(241)


#define LANG_NEUTRAL 0x00
#define SUBLANG_NEUTRAL 0x00

using ENUMRESNAMEPROCW = BOOL (*)(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param);

// ---- Modules

// Registers a compiled resource file as (part of) a module. `name` null or empty: the program's module;
// otherwise the module of that name, made on first use. The bytes must outlive the process unless `copy`.
// Answers the module handle, or null with ERROR_INVALID_DATA when the file is malformed (nothing is added).
HMODULE DolivaRegisterResources(const void* data, size_t size, const char16_t* name, bool copy = false);
// The handle of a module by name (null or empty: the program's), or null when none is registered.
HMODULE DolivaResourceModule(const char16_t* name);
// The first module (the program's first, then the others in registration order) holding the resource, or
// null with the lookup's error; the way code finds a resource that may live in any loaded module.
HMODULE DolivaFindResourceModule(LPCWSTR name, LPCWSTR type);

// Hooks CString::LoadString (as its default) and PlaySound(SND_RESOURCE) to the resources (strings and
// sounds from the program's module). Idempotent; the application calls it at start. Registering the
// program's resources already hooks the strings.
void DolivaInstallResourceHooks();

// ---- The Win32 calls

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);
BOOL EnumResourceNamesW(HMODULE module, LPCWSTR type, ENUMRESNAMEPROCW callback, LONG_PTR param);

// Copies string `id` into `buffer` (NUL-terminated, cut to max - 1 units) and answers its length; with
// `max` 0 stores a read-only pointer to the (not terminated) text in *buffer instead. 0 when missing.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int max);

// The bitmap resource as a device bitmap (through GDI's packed-DIB reader), or null.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
// A bitmap (IMAGE_BITMAP) from a resource, or with LR_LOADFROMFILE from the .bmp file `name` (a DIB section
// with LR_CREATEDIBSECTION), or an icon or cursor resource (cx by cy, 0 for the group's first size). Null
// with the error: ERROR_FILE_NOT_FOUND for a missing file, ERROR_INVALID_DATA for one that is not a bitmap,
// ERROR_NOT_SUPPORTED for other kinds and for icons from files.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
// A 1, 4 or 8-bit bitmap resource with the colour-table entries black, dark grey, light grey and white
// replaced by COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE and COLOR_BTNHIGHLIGHT (toolbar images that
// follow the user's colours). Other depths are refused: null with ERROR_INVALID_DATA.
HBITMAP LoadSysColorBitmap(HINSTANCE instance, LPCWSTR name);

// An icon (or cursor) from its group: the image that best fits cx by cy (0, 0: the group's first size),
// or null. LoadIconW and LoadCursorW of a module come here (at 32 by 32).
HICON DolivaLoadIconResource(HINSTANCE instance, LPCWSTR name, int cx, int cy, bool cursor);
// One icon image (RT_ICON) or cursor image (RT_CURSOR, hot spot first) as an icon; null with
// ERROR_INVALID_DATA for anything malformed, compressed or of an unusual depth.
HICON DolivaCreateIconFromImage(const void* data, size_t size, bool icon);

inline HRSRC FindResource(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return FindResourceW(module, name, type);
}
inline HRSRC FindResourceEx(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
    return FindResourceExW(module, type, name, language);
}
inline HANDLE LoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    return LoadImageW(instance, name, type, cx, cy, flags);
}
inline int LoadString(HINSTANCE instance, UINT id, LPWSTR buffer, int max) {
    return LoadStringW(instance, id, buffer, max);
}

// The bytes of a resource in one step (null and the lookup's error when missing).
const BYTE* DolivaResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, size_t* size);
