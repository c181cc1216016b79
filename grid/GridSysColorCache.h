// The grid library's cache of system colours, read once at start-up and again when the system colours
// change (WM_SYSCOLORCHANGE), so that everything the grid draws with a system colour follows the scheme.
#pragma once

#include "platform/gdi/GdiTypes.h"

class GridSysColorCache {
public:
    static constexpr int kCachedColors = 24;

    static GridSysColorCache& Instance();

    // The cached colour of a system-colour index below the cache's count, else the live system colour.
    static COLORREF GetColor(int index);
    // Refills the colours 0-23 and the named ones, and rebuilds the system-coloured bitmap.
    static void Refresh();

    int count = 0;
    COLORREF colors[kCachedColors] = {};
    COLORREF buttonFace = 0;
    COLORREF buttonShadow = 0;
    COLORREF buttonHighlight = 0;
    COLORREF windowFrame = 0;
    COLORREF light3d = 0;
    COLORREF darkShadow3d = 0;
    COLORREF windowText = 0;
    COLORREF window = 0;
    COLORREF highlight = 0;
    COLORREF highlightText = 0;
    HCURSOR arrowCursor = nullptr;
    BOOL isWindows4OrLater = FALSE;
    // Bitmap resource 20028 in the current button colours; null when the program has no such bitmap.
    HBITMAP sysColorBitmap = nullptr;

    GridSysColorCache(const GridSysColorCache&) = delete;
    GridSysColorCache& operator=(const GridSysColorCache&) = delete;

private:
    GridSysColorCache();
    ~GridSysColorCache();
};
