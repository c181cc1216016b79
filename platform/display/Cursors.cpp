// Cursors and icons: the shared standard ones, the current cursor, its position, visibility and clipping.
#include "platform/display/DisplayInternal.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/resources/Resources.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

constexpr int kSize = 32;

// A 32x32 picture: colour pixels (0x00RRGGBB) and opacity.
struct Picture {
    std::array<std::uint32_t, kSize * kSize> color{};
    std::array<bool, kSize * kSize> opaque{};
    void Set(int x, int y, std::uint32_t c) {
        if (x >= 0 && y >= 0 && x < kSize && y < kSize) {
            color[y * kSize + x] = c;
            opaque[y * kSize + x] = true;
        }
    }
};

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kNavy = 0x000080;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGray = 0xC0C0C0;

const char* const kArrow[] = {
    "X           ", "XX          ", "X.X         ", "X..X        ", "X...X       ",
    "X....X      ", "X.....X     ", "X......X    ", "X.......X   ", "X........X  ",
    "X.....XXXXX ", "X..X..X     ", "X.X X..X    ", "XX  X..X    ", "X    X..X   ",
    "     X..X   ", "      X..X  ", "      X..X  ", "       XX   ",
};

const char* const kQuestion[] = {".XXX.", "X...X", "....X", "...X.", "..X..", ".....", "..X.."};
const char* const kBang[] = {"..X..", "..X..", "..X..", "..X..", "..X..", ".....", "..X.."};
const char* const kInfo[] = {"..X..", ".....", ".XX..", "..X..", "..X..", "..X..", ".XXX."};

void Glyph(Picture& p, const char* const* rows, std::uint32_t color, int scale, int left, int top) {
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 5; ++x) {
            if (rows[y][x] == 'X') {
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        p.Set(left + x * scale + dx, top + y * scale + dy, color);
                    }
                }
            }
        }
    }
}

void Disc(Picture& p, std::uint32_t fill, std::uint32_t edge) {
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            double d = std::hypot(x + 0.5 - 16.0, y + 0.5 - 16.0);
            if (d <= 14.0) {
                p.Set(x, y, d > 13.0 ? edge : fill);
            }
        }
    }
}

Picture IconPicture(int id) {
    Picture p;
    switch (id) {
    case 32513: // hand: a red disc with a white cross
        Disc(p, kRed, kBlack);
        for (int i = 9; i <= 22; ++i) {
            for (int w = -1; w <= 1; ++w) {
                p.Set(i + w, i, kWhite);
                p.Set(31 - i + w, i, kWhite);
            }
        }
        break;
    case 32514: // question
        Disc(p, kWhite, kBlack);
        Glyph(p, kQuestion, kBlue, 3, 9, 6);
        break;
    case 32515: // exclamation: a yellow triangle
        for (int y = 3; y < 30; ++y) {
            int half = (y - 3) / 2 + 1;
            for (int x = 16 - half; x < 16 + half; ++x) {
                bool edge = y == 29 || x == 16 - half || x == 16 + half - 1;
                p.Set(x, y, edge ? kBlack : kYellow);
            }
        }
        Glyph(p, kBang, kBlack, 3, 9, 9);
        break;
    case 32516: // asterisk: information
        Disc(p, kWhite, kBlue);
        Glyph(p, kInfo, kBlue, 3, 9, 6);
        break;
    default: // application and logo: a little window
        for (int y = 4; y < 28; ++y) {
            for (int x = 2; x < 30; ++x) {
                bool edge = x == 2 || x == 29 || y == 4 || y == 27;
                p.Set(x, y, edge ? kBlack : (y < 9 ? kNavy : (y == 9 ? kGray : kWhite)));
            }
        }
        break;
    }
    return p;
}

Picture ArrowPicture() {
    Picture p;
    for (int y = 0; y < static_cast<int>(std::size(kArrow)); ++y) {
        for (int x = 0; kArrow[y][x]; ++x) {
            if (kArrow[y][x] == 'X') {
                p.Set(x, y, kBlack);
            } else if (kArrow[y][x] == '.') {
                p.Set(x, y, kWhite);
            }
        }
    }
    return p;
}

HICON MakeIcon(const Picture& p, bool icon, DWORD hotX, DWORD hotY) {
    std::array<std::uint32_t, kSize * kSize> pixels{};
    std::array<BYTE, kSize * kSize / 8> mask{};
    for (int i = 0; i < kSize * kSize; ++i) {
        if (p.opaque[i]) {
            pixels[i] = p.color[i];
        } else {
            mask[i / 8] |= static_cast<BYTE>(0x80 >> (i % 8));
        }
    }
    HBITMAP color = CreateBitmap(kSize, kSize, 1, 32, pixels.data());
    HBITMAP monochrome = CreateBitmap(kSize, kSize, 1, 1, mask.data());
    ICONINFO info{icon ? TRUE : FALSE, hotX, hotY, monochrome, color};
    HICON handle = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(monochrome);
    if (handle) {
        GdiMarkStock(handle);
    }
    return handle;
}

bool IsStandardCursorId(int id) {
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651 && id != 32647);
}

bool IsStandardIconId(int id) {
    return id >= 32512 && id <= 32517;
}

std::mutex standardLock;
std::unordered_map<int, HCURSOR>& StandardCursors() {
    static std::unordered_map<int, HCURSOR> cursors;
    return cursors;
}
std::unordered_map<int, HICON>& StandardIcons() {
    static std::unordered_map<int, HICON> icons;
    return icons;
}

bool IsStandardHandle(HICON handle) {
    std::lock_guard<std::mutex> guard(standardLock);
    for (auto& [id, h] : StandardCursors()) {
        if (h == handle) {
            return true;
        }
    }
    for (auto& [id, h] : StandardIcons()) {
        if (h == handle) {
            return true;
        }
    }
    return false;
}

} // namespace

int DisplayStandardCursorId(HCURSOR cursor) {
    std::lock_guard<std::mutex> guard(standardLock);
    for (auto& [id, h] : StandardCursors()) {
        if (h == cursor) {
            return id;
        }
    }
    return 0;
}

using namespace display_detail;

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    if (!instance && IS_INTRESOURCE(name)) {
        int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        if (!IsStandardCursorId(id)) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        std::lock_guard<std::mutex> guard(standardLock);
        HCURSOR& slot = StandardCursors()[id];
        if (!slot) {
            slot = MakeIcon(ArrowPicture(), false, 0, 0);
        }
        return slot;
    }
    HCURSOR cursor = DolivaLoadIconResource(instance, name, kSize, kSize, true);
    if (!cursor) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return cursor;
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    if (!instance && IS_INTRESOURCE(name)) {
        int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        if (!IsStandardIconId(id)) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        std::lock_guard<std::mutex> guard(standardLock);
        HICON& slot = StandardIcons()[id];
        if (!slot) {
            slot = MakeIcon(IconPicture(id), true, kSize / 2, kSize / 2);
        }
        return slot;
    }
    HICON icon = DolivaLoadIconResource(instance, name, kSize, kSize, false);
    if (!icon) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    return icon;
}

BOOL DestroyCursor(HCURSOR cursor) {
    if (!cursor) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (IsStandardHandle(cursor)) {
        return TRUE;
    }
    return DestroyIcon(cursor);
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = nullptr;
    {
        Lock lock = LockState();
        old = G().cursor;
        G().cursor = cursor;
    }
    if (old != cursor) {
        Backend().CursorChanged(cursor);
    }
    return old;
}

HCURSOR GetCursor() {
    Lock lock = LockState();
    return G().cursor;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lock lock = LockState();
    *point = G().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    DisplayInjectMouse(WM_MOUSEMOVE, POINT{x, y});
    POINT pt{};
    GetCursorPos(&pt);
    Backend().CursorMoved(pt);
    return TRUE;
}

int ShowCursor(BOOL show) {
    Lock lock = LockState();
    G().cursorCount += show ? 1 : -1;
    return G().cursorCount;
}

BOOL ClipCursor(const RECT* rect) {
    Lock lock = LockState();
    Globals& g = G();
    if (!rect) {
        g.clipCursorOn = false;
        return TRUE;
    }
    g.clipCursor = *rect;
    g.clipCursorOn = true;
    g.cursorPos.x = std::clamp<LONG>(g.cursorPos.x, rect->left, std::max(rect->left, rect->right - 1));
    g.cursorPos.y = std::clamp<LONG>(g.cursorPos.y, rect->top, std::max(rect->top, rect->bottom - 1));
    return TRUE;
}

BOOL GetClipCursor(LPRECT rect) {
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SIZE screen = Backend().ScreenSize();
    Lock lock = LockState();
    *rect = G().clipCursorOn ? G().clipCursor : RECT{0, 0, screen.cx, screen.cy};
    return TRUE;
}
