// The progress bar ("msctls_progress32"): a position within a range, drawn as classic blocks or a smooth bar,
// horizontal or vertical.
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlsCommon.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <utility>

namespace {

using namespace controls;

struct ProgressState {
    HFONT font = nullptr;
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
    COLORREF bar = CLR_DEFAULT;
    COLORREF background = CLR_DEFAULT;
};

int Clamp(const ProgressState& s, long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::min(s.low, s.high), std::max(s.low, s.high)));
}

void Redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, TRUE);
}

// Changes the position and repaints only when the filled part may have changed.
int Move(HWND hwnd, ProgressState& s, long long value) {
    int old = s.pos;
    s.pos = Clamp(s, value);
    if (s.pos != old) {
        Redraw(hwnd);
    }
    return old;
}

void Paint(HWND hwnd, const ProgressState& s) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    COLORREF back = ColorOrSystem(s.background, COLOR_3DFACE);
    COLORREF fore = ColorOrSystem(s.bar, COLOR_HIGHLIGHT);
    HBRUSH backBrush = CreateSolidBrush(back);
    FillRect(dc, &rc, backBrush);
    DeleteObject(backBrush);
    RECT inner = rc;
    InflateRect(&inner, -1, -1);
    bool vertical = (ClassStyle(hwnd) & PBS_VERTICAL) != 0;
    long long range = static_cast<long long>(s.high) - s.low;
    int length = vertical ? inner.bottom - inner.top : inner.right - inner.left;
    int filled = 0;
    if (range > 0 && length > 0) {
        filled = static_cast<int>((static_cast<long long>(s.pos) - s.low) * length / range);
    }
    filled = std::clamp(filled, 0, std::max(length, 0));
    HBRUSH barBrush = CreateSolidBrush(fore);
    if (ClassStyle(hwnd) & PBS_SMOOTH) {
        RECT bar = inner;
        if (vertical) {
            bar.top = inner.bottom - filled;
        } else {
            bar.right = inner.left + filled;
        }
        FillRect(dc, &bar, barBrush);
    } else {
        // Blocks two thirds as long as the bar is thick, with a gap of two pixels; the last block drawn may
        // be cut where the filled part ends.
        int thick = vertical ? inner.right - inner.left : inner.bottom - inner.top;
        int block = std::max(1, thick * 2 / 3);
        constexpr int gap = 2;
        for (int start = 0; start < filled; start += block + gap) {
            int end = std::min(start + block, filled);
            RECT piece = inner;
            if (vertical) {
                piece.bottom = inner.bottom - start;
                piece.top = inner.bottom - end;
            } else {
                piece.left = inner.left + start;
                piece.right = inner.left + end;
            }
            FillRect(dc, &piece, barBrush);
        }
    }
    DeleteObject(barBrush);
    EndPaint(hwnd, &ps);
}

// The classic bar has a thin sunken border of its own.
void AddEdge(HWND hwnd) {
    DWORD ex = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    if (!(ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) {
        SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(ex | WS_EX_STATICEDGE));
    }
}

// Answers the range before, as PBM_SETRANGE packs it.
LRESULT SetRange(HWND hwnd, ProgressState& s, int low, int high) {
    LRESULT old = MAKELONG(static_cast<WORD>(s.low), static_cast<WORD>(s.high));
    s.low = low;
    s.high = high;
    s.pos = Clamp(s, s.pos);
    Redraw(hwnd);
    return old;
}

LRESULT OnGetRange(const ProgressState& s, WPARAM low, LPARAM lParam) {
    if (auto* range = reinterpret_cast<PBRANGE*>(lParam)) {
        range->iLow = s.low;
        range->iHigh = s.high;
    }
    return low ? s.low : s.high;
}

// Past the end the bar starts over from the other end.
LRESULT OnStepIt(HWND hwnd, ProgressState& s) {
    long long next = static_cast<long long>(s.pos) + s.step;
    int lo = std::min(s.low, s.high);
    int hi = std::max(s.low, s.high);
    long long span = static_cast<long long>(hi) - lo;
    if (next > hi || next < lo) {
        next = span > 0 ? lo + (((next - lo) % span) + span) % span : lo;
    }
    int old = s.pos;
    s.pos = static_cast<int>(next);
    if (s.pos != old) {
        Redraw(hwnd);
    }
    return old;
}

// The PBM_* messages.
LRESULT ProgressMessage(HWND hwnd, ProgressState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case PBM_SETRANGE:
        return SetRange(hwnd, s, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
        return SetRange(hwnd, s, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
        return OnGetRange(s, wParam, lParam);
    case PBM_SETPOS:
        return Move(hwnd, s, static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return Move(hwnd, s, static_cast<long long>(s.pos) + static_cast<int>(wParam));
    case PBM_GETPOS:
        return s.pos;
    case PBM_SETSTEP:
        return std::exchange(s.step, static_cast<int>(wParam));
    case PBM_GETSTEP:
        return s.step;
    case PBM_STEPIT:
        return OnStepIt(hwnd, s);
    case PBM_SETBARCOLOR:
        return ReplaceColor(hwnd, s.bar, static_cast<COLORREF>(lParam));
    case PBM_GETBARCOLOR:
        return static_cast<LRESULT>(s.bar);
    case PBM_SETBKCOLOR:
        return ReplaceColor(hwnd, s.background, static_cast<COLORREF>(lParam));
    case PBM_GETBKCOLOR:
        return static_cast<LRESULT>(s.background);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT WindowMessage(HWND hwnd, ProgressState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETFONT:
        s.font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    default:
        return ProgressMessage(hwnd, s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterProgressClass() {
    RegisterControlClass(PROGRESS_CLASSW, ControlProc<ProgressState, WindowMessage, AddEdge>,
                         CS_HREDRAW | CS_VREDRAW, IDC_ARROW, nullptr);
}
