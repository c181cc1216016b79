#include "grid/GridSysColorCache.h"

#include "grid/GridResourceIds.h"
#include "platform/display/InputApi.h"
#include "platform/framework/FrameworkResources.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SystemColors.h"
#include "platform/kernel/Version.h"

GridSysColorCache& GridSysColorCache::Instance() {
    static GridSysColorCache cache;
    return cache;
}

GridSysColorCache::GridSysColorCache()
    : arrowCursor(LoadCursorW(nullptr, IDC_ARROW)), isWindows4OrLater((GetVersion() & 0xFF) > 3) {}

GridSysColorCache::~GridSysColorCache() {
    if (sysColorBitmap) {
        DeleteObject(sysColorBitmap);
    }
}

COLORREF GridSysColorCache::GetColor(int index) {
    const GridSysColorCache& cache = Instance();
    if (index >= 0 && index < cache.count) {
        return cache.colors[index];
    }
    return ::GetSysColor(index);
}

void GridSysColorCache::Refresh() {
    GridSysColorCache& cache = Instance();
    cache.count = kCachedColors;
    for (int i = 0; i < kCachedColors; ++i) {
        cache.colors[i] = ::GetSysColor(i);
    }
    cache.buttonFace = ::GetSysColor(COLOR_BTNFACE);
    cache.buttonShadow = ::GetSysColor(COLOR_BTNSHADOW);
    cache.buttonHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    cache.windowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    cache.light3d = ::GetSysColor(COLOR_3DLIGHT);
    cache.darkShadow3d = ::GetSysColor(COLOR_3DDKSHADOW);
    cache.windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    cache.window = ::GetSysColor(COLOR_WINDOW);
    cache.highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    cache.highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    if (cache.sysColorBitmap) {
        DeleteObject(cache.sysColorBitmap);
    }
    cache.sysColorBitmap = LoadSysColorBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDB_GRID_SYSCOLOR));
}
