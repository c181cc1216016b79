// The progress bar ("msctls_progress32"): a position within a range, drawn as classic blocks or a smooth bar,
// horizontal or vertical.
#include "platform/controls/CommonControls.h"

#include "platform/gdi/Gdi.h"

#include <algorithm>

namespace {

struct ProgressState {
    HFONT font = nullptr;
    int low = 0;
    int high = 100;
    int pos = 0;
    int step = 10;
    COLORREF bar = CLR_DEFAULT;
    COLORREF background = CLR_DEFAULT;
};

ProgressState* StateOf(HWND hwnd) {
    return reinterpret_cast<ProgressState*>(GetWindowLongPtrW(hwnd, 0));
}

DWORD Style(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

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
    COLORREF back = s.background == CLR_DEFAULT ? GetSysColor(COLOR_3DFACE) : s.background;
    COLORREF fore = s.bar == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : s.bar;
    HBRUSH backBrush = CreateSolidBrush(back);
    FillRect(dc, &rc, backBrush);
    DeleteObject(backBrush);
    RECT inner = rc;
    InflateRect(&inner, -1, -1);
    bool vertical = (Style(hwnd) & PBS_VERTICAL) != 0;
    long long range = static_cast<long long>(s.high) - s.low;
    int length = vertical ? inner.bottom - inner.top : inner.right - inner.left;
    int filled = 0;
    if (range > 0 && length > 0) {
        filled = static_cast<int>((static_cast<long long>(s.pos) - s.low) * length / range);
    }
    filled = std::clamp(filled, 0, std::max(length, 0));
    HBRUSH barBrush = CreateSolidBrush(fore);
    if (Style(hwnd) & PBS_SMOOTH) {
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

LRESULT ProgressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ProgressState* s = StateOf(hwnd);
    if (!s) {
        if (msg == WM_NCCREATE) {
            s = new ProgressState;
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
            // The classic bar has a thin sunken border of its own.
            DWORD ex = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
            if (!(ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) {
                SetWindowLongW(hwnd, GWL_EXSTYLE, static_cast<LONG>(ex | WS_EX_STATICEDGE));
            }
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, 0, 0);
        delete s;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
        LRESULT old = MAKELONG(static_cast<WORD>(s->low), static_cast<WORD>(s->high));
        if (msg == PBM_SETRANGE) {
            s->low = LOWORD(lParam);
            s->high = HIWORD(lParam);
        } else {
            s->low = static_cast<int>(wParam);
            s->high = static_cast<int>(lParam);
        }
        s->pos = Clamp(*s, s->pos);
        Redraw(hwnd);
        return old;
    }
    case PBM_GETRANGE: {
        if (auto* range = reinterpret_cast<PBRANGE*>(lParam)) {
            range->iLow = s->low;
            range->iHigh = s->high;
        }
        return wParam ? s->low : s->high;
    }
    case PBM_SETPOS:
        return Move(hwnd, *s, static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return Move(hwnd, *s, static_cast<long long>(s->pos) + static_cast<int>(wParam));
    case PBM_GETPOS:
        return s->pos;
    case PBM_SETSTEP: {
        int old = s->step;
        s->step = static_cast<int>(wParam);
        return old;
    }
    case PBM_GETSTEP:
        return s->step;
    case PBM_STEPIT: {
        // Past the end the bar starts over from the other end.
        long long next = static_cast<long long>(s->pos) + s->step;
        int lo = std::min(s->low, s->high);
        int hi = std::max(s->low, s->high);
        long long span = static_cast<long long>(hi) - lo;
        if (next > hi || next < lo) {
            next = span > 0 ? lo + (((next - lo) % span) + span) % span : lo;
        }
        int old = s->pos;
        s->pos = static_cast<int>(next);
        if (s->pos != old) {
            Redraw(hwnd);
        }
        return old;
    }
    case PBM_SETBARCOLOR: {
        COLORREF old = s->bar;
        s->bar = static_cast<COLORREF>(lParam);
        Redraw(hwnd);
        return static_cast<LRESULT>(old);
    }
    case PBM_GETBARCOLOR:
        return static_cast<LRESULT>(s->bar);
    case PBM_SETBKCOLOR: {
        COLORREF old = s->background;
        s->background = static_cast<COLORREF>(lParam);
        Redraw(hwnd);
        return static_cast<LRESULT>(old);
    }
    case PBM_GETBKCOLOR:
        return static_cast<LRESULT>(s->background);
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterProgressClass() {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(nullptr, PROGRESS_CLASSW, &existing)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ProgressProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = PROGRESS_CLASSW;
    DisplayRegisterSystemClass(&wc);
}
