// The caret: one per thread, drawn by inverting its rectangle, blinking on a system timer.
#include "platform/display/DisplayInternal.h"

#include "platform/gdi/Gdi.h"
#include "platform/kernel/Threads.h"

namespace display_detail {
namespace {

constexpr UINT_PTR kCaretTimer = 0xFFFF;

void Invert(const Caret& c) {
    if (!c.hwnd || !IsWindow(c.hwnd)) {
        return;
    }
    HDC dc = GetDC(c.hwnd);
    if (!dc) {
        return;
    }
    if (c.bitmap && c.bitmap != reinterpret_cast<HBITMAP>(1)) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, c.bitmap);
        BitBlt(dc, c.pos.x, c.pos.y, c.width, c.height, mem, 0, 0, SRCINVERT);
        SelectObject(mem, old);
        DeleteDC(mem);
    } else {
        PatBlt(dc, c.pos.x, c.pos.y, c.width, c.height, DSTINVERT);
    }
    ReleaseDC(c.hwnd, dc);
}

// Toggles the drawn state when it differs from `on`.
void DrawState(bool on) {
    Caret copy;
    {
        Lock lock = LockState();
        Caret& c = CurrentQueueLocked().caret;
        if (!c.hwnd || c.on == on) {
            return;
        }
        c.on = on;
        copy = c;
    }
    Invert(copy);
}

} // namespace

void HandleSystemTimer(HWND hwnd, UINT_PTR id) {
    if (id != kCaretTimer) {
        return;
    }
    bool on = false;
    {
        Lock lock = LockState();
        Caret& c = CurrentQueueLocked().caret;
        if (c.hwnd != hwnd || c.hideCount > 0) {
            return;
        }
        on = !c.on;
    }
    DrawState(on);
}

void HideCaretForPaint(HWND hwnd) {
    {
        Lock lock = LockState();
        Caret& c = CurrentQueueLocked().caret;
        if (c.hwnd != hwnd || !c.on) {
            return;
        }
    }
    DrawState(false);
}

void ShowCaretAfterPaint(HWND hwnd) {
    {
        Lock lock = LockState();
        Caret& c = CurrentQueueLocked().caret;
        if (c.hwnd != hwnd || c.hideCount > 0 || c.on) {
            return;
        }
    }
    DrawState(true);
}

void DestroyCaretOfWindowLocked(HWND hwnd) {
    for (auto& [tid, q] : G().threads) {
        if (q->caret.hwnd == hwnd) {
            q->caret = Caret{};
        }
    }
}

} // namespace display_detail

using namespace display_detail;

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        if (w->tid != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    DestroyCaret();
    if (bitmap && bitmap != reinterpret_cast<HBITMAP>(1)) {
        BITMAP bm{};
        if (GetObjectW(bitmap, sizeof bm, &bm)) {
            width = bm.bmWidth;
            height = bm.bmHeight;
        }
    }
    Lock lock = LockState();
    Caret& c = CurrentQueueLocked().caret;
    c = Caret{};
    c.hwnd = hwnd;
    c.bitmap = bitmap;
    c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    c.hideCount = 1;
    return TRUE;
}

BOOL DestroyCaret() {
    HWND hwnd = nullptr;
    {
        Lock lock = LockState();
        hwnd = CurrentQueueLocked().caret.hwnd;
        if (!hwnd) {
            return FALSE;
        }
    }
    DrawState(false);
    KillSystemTimer(hwnd, 0xFFFF);
    Lock lock = LockState();
    CurrentQueueLocked().caret = Caret{};
    return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
    HWND owner = nullptr;
    bool nowShown = false;
    UINT blink = 0;
    {
        Lock lock = LockState();
        Caret& c = CurrentQueueLocked().caret;
        if (!c.hwnd || (hwnd && hwnd != c.hwnd) || c.hideCount == 0) {
            return FALSE;
        }
        owner = c.hwnd;
        nowShown = --c.hideCount == 0;
        blink = G().caretBlinkTime;
    }
    if (nowShown) {
        DrawState(true);
        SetSystemTimer(owner, 0xFFFF, blink);
    }
    return TRUE;
}

BOOL HideCaret(HWND hwnd) {
    HWND owner = nullptr;
    bool wasShown = false;
    {
        Lock lock = LockState();
        Caret& c = CurrentQueueLocked().caret;
        if (!c.hwnd || (hwnd && hwnd != c.hwnd)) {
            return FALSE;
        }
        owner = c.hwnd;
        wasShown = c.hideCount++ == 0;
    }
    if (wasShown) {
        DrawState(false);
        KillSystemTimer(owner, 0xFFFF);
    }
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    bool visible = false;
    HWND owner = nullptr;
    UINT blink = 0;
    {
        Lock lock = LockState();
        Caret& c = CurrentQueueLocked().caret;
        if (!c.hwnd) {
            return FALSE;
        }
        if (c.pos.x == x && c.pos.y == y) {
            return TRUE;
        }
        visible = c.hideCount == 0;
        owner = c.hwnd;
        blink = G().caretBlinkTime;
    }
    DrawState(false);
    {
        Lock lock = LockState();
        CurrentQueueLocked().caret.pos = POINT{x, y};
    }
    if (visible) {
        DrawState(true);
        SetSystemTimer(owner, 0xFFFF, blink);
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    if (!point) {
        return FALSE;
    }
    Lock lock = LockState();
    Caret& c = CurrentQueueLocked().caret;
    if (!c.hwnd) {
        return FALSE;
    }
    *point = c.pos;
    return TRUE;
}

UINT GetCaretBlinkTime() {
    Lock lock = LockState();
    return G().caretBlinkTime;
}

BOOL SetCaretBlinkTime(UINT milliseconds) {
    Lock lock = LockState();
    G().caretBlinkTime = milliseconds;
    return TRUE;
}
