#include "platform/gdi/SystemColors.h"

#include <array>
#include <atomic>

namespace {
constexpr int kColorCount = 31;

std::array<std::atomic<COLORREF>, kColorCount>& Colors() {
    static std::array<std::atomic<COLORREF>, kColorCount> colors;
    static const bool filled = [] {
        const COLORREF defaults[kColorCount] = {
            RGB(192, 192, 192), // scroll bar
            RGB(0, 128, 128),   // desktop
            RGB(0, 0, 128),     // active caption
            RGB(128, 128, 128), // inactive caption
            RGB(192, 192, 192), // menu
            RGB(255, 255, 255), // window
            RGB(0, 0, 0),       // window frame
            RGB(0, 0, 0),       // menu text
            RGB(0, 0, 0),       // window text
            RGB(255, 255, 255), // caption text
            RGB(192, 192, 192), // active border
            RGB(192, 192, 192), // inactive border
            RGB(128, 128, 128), // application workspace
            RGB(0, 0, 128),     // highlight
            RGB(255, 255, 255), // highlight text
            RGB(192, 192, 192), // button face
            RGB(128, 128, 128), // button shadow
            RGB(128, 128, 128), // grey text
            RGB(0, 0, 0),       // button text
            RGB(192, 192, 192), // inactive caption text
            RGB(255, 255, 255), // button highlight
            RGB(0, 0, 0),       // 3D dark shadow
            RGB(223, 223, 223), // 3D light
            RGB(0, 0, 0),       // tooltip text
            RGB(255, 255, 225), // tooltip background
            0,                  // (unused)
            RGB(0, 0, 255),     // hot-tracked item
            RGB(16, 132, 208),  // active caption gradient
            RGB(181, 181, 181), // inactive caption gradient
            RGB(0, 0, 128),     // highlighted menu item
            RGB(192, 192, 192), // menu bar
        };
        for (int i = 0; i < kColorCount; ++i) {
            colors[i].store(defaults[i]);
        }
        return true;
    }();
    (void)filled;
    return colors;
}
} // namespace

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= kColorCount) {
        return 0;
    }
    return Colors()[index].load(std::memory_order_relaxed);
}

void StoreSysColor(int index, COLORREF color) {
    if (index >= 0 && index < kColorCount) {
        Colors()[index].store(color, std::memory_order_relaxed);
    }
}
