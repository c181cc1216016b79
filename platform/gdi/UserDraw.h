// The window system's drawing helpers that work on any DC: rectangle fills, 3-D edges, focus rectangles,
// frame controls in the classic look, formatted and tabbed text, grey text and icons. Colours come from
// GetSysColor.
#pragma once

#include "platform/base/Geometry.h" // the rectangle helpers belong with these
#include "platform/gdi/GdiTypes.h"

// A brush handle at most COLOR_MENUBAR + 1 stands for the system colour (handle - 1), as the original allows.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);

// Answers the height of the text drawn (or measured with DT_CALCRECT), 0 on failure.
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
int DrawTextExW(HDC dc, LPWSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params);
LONG TabbedTextOutW(HDC dc, int x, int y, LPCWSTR text, int count, int tabPositions, const INT* tabStops,
                    int tabOrigin);
DWORD GetTabbedTextExtentW(HDC dc, LPCWSTR text, int count, int tabPositions, const INT* tabStops);
BOOL GrayStringW(HDC dc, HBRUSH brush, GRAYSTRINGPROC outputFunc, LPARAM data, int count, int x, int y,
                 int width, int height);

// Icons are a colour bitmap and an AND mask (a monochrome icon: one mask of double height, AND half over XOR
// half). The bitmaps passed in are copied.
HICON CreateIconIndirect(PICONINFO iconInfo);
// Answers copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON icon, PICONINFO iconInfo);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFreeBrush,
                UINT flags);

#define DrawText DrawTextW
#define DrawTextEx DrawTextExW
#define TabbedTextOut TabbedTextOutW
#define GetTabbedTextExtent GetTabbedTextExtentW
#define GrayString GrayStringW
