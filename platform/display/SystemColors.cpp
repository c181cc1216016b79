#include "platform/display/SystemColors.h"

#include "platform/display/MessageApi.h"
#include "platform/display/PaintApi.h"

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors) {
    if (count < 0 || (count > 0 && (!indexes || !colors))) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        StoreSysColor(indexes[i], colors[i]);
    }
    // As on the original, every top-level window hears of it and everything is drawn again.
    SendMessageW(HWND_BROADCAST, WM_SYSCOLORCHANGE, 0, 0);
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}
