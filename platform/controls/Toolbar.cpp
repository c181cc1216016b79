// The toolbar control: buttons laid out left to right, a new row after every button marked TBSTATE_WRAP.
// Images come from the strips added with TB_ADDBITMAP, numbered on from strip to strip; a disabled image is
// drawn embossed (its outline in highlight and shadow), a checked or pressed button sunken.
#include "platform/controls/Toolbar.h"

#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kDefaultSeparator = 8;

struct Strip {
    HBITMAP bitmap = nullptr;
    int first = 0;
    int count = 0;
};

struct ToolbarState {
    std::vector<TBBUTTON> buttons;
    std::vector<Strip> strips;
    SIZE bitmapSize{16, 15};
    SIZE buttonSize{23, 22};
    HWND notify = nullptr; // TB_SETPARENT
    HWND tooltip = nullptr;
    int pressed = -1; // the button being clicked (mouse captured)
    int hot = -1;
    bool tracking = false;
};

ToolbarState* StateOf(HWND hwnd) {
    return reinterpret_cast<ToolbarState*>(GetWindowLongPtrW(hwnd, 0));
}

DWORD StyleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

HWND NotifyTarget(HWND hwnd, const ToolbarState& s) {
    return s.notify ? s.notify : GetParent(hwnd);
}

bool IsSeparator(const TBBUTTON& b) {
    return (b.fsStyle & TBSTYLE_SEP) != 0;
}

int SeparatorWidth(const TBBUTTON& b) {
    return b.iBitmap > 0 ? b.iBitmap : kDefaultSeparator;
}

// The rectangle of every button in client coordinates (empty for hidden ones).
std::vector<RECT> Layout(const ToolbarState& s) {
    std::vector<RECT> rects(s.buttons.size());
    int x = 0;
    int y = 0;
    for (std::size_t i = 0; i < s.buttons.size(); ++i) {
        const TBBUTTON& b = s.buttons[i];
        if (b.fsState & TBSTATE_HIDDEN) {
            rects[i] = RECT{x, y, x, y};
            continue;
        }
        int cx = IsSeparator(b) ? SeparatorWidth(b) : s.buttonSize.cx;
        rects[i] = RECT{x, y, x + cx, y + s.buttonSize.cy};
        x += cx;
        if (b.fsState & TBSTATE_WRAP) {
            // A wrapped separator becomes a gap between rows.
            y += s.buttonSize.cy + (IsSeparator(b) ? SeparatorWidth(b) * 2 / 3 : 0);
            x = 0;
        }
    }
    return rects;
}

void UpdateTools(HWND hwnd, ToolbarState& s) {
    if (!s.tooltip) {
        return;
    }
    std::vector<RECT> rects = Layout(s);
    for (std::size_t i = 0; i < s.buttons.size(); ++i) {
        if (IsSeparator(s.buttons[i])) {
            continue;
        }
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = hwnd;
        ti.uId = static_cast<UINT_PTR>(s.buttons[i].idCommand);
        ti.rect = rects[i];
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        if (!SendMessageW(s.tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti)) ||
            !SendMessageW(s.tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) {
            SendMessageW(s.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }
}

void Changed(HWND hwnd, ToolbarState& s) {
    UpdateTools(hwnd, s);
    InvalidateRect(hwnd, nullptr, TRUE);
}

int IndexOf(const ToolbarState& s, int id) {
    for (std::size_t i = 0; i < s.buttons.size(); ++i) {
        if (s.buttons[i].idCommand == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int HitTest(const ToolbarState& s, POINT pt) {
    std::vector<RECT> rects = Layout(s);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (!IsSeparator(s.buttons[i]) && PtInRect(&rects[i], pt)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Where image `index` lives: a strip's bitmap and the x offset in it.
bool FindImage(const ToolbarState& s, int index, HBITMAP& bitmap, int& x) {
    for (const Strip& strip : s.strips) {
        if (index >= strip.first && index < strip.first + strip.count) {
            bitmap = strip.bitmap;
            x = (index - strip.first) * s.bitmapSize.cx;
            return true;
        }
    }
    return false;
}

void DrawImage(HDC dc, const ToolbarState& s, const TBBUTTON& b, int x, int y, bool enabled) {
    HBITMAP bitmap = nullptr;
    int sx = 0;
    if (!FindImage(s, b.iBitmap, bitmap, sx)) {
        return;
    }
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap);
    if (enabled) {
        BitBlt(dc, x, y, s.bitmapSize.cx, s.bitmapSize.cy, mem, sx, 0, SRCCOPY);
    } else {
        // Embossed: what is neither face nor highlight becomes the outline, in highlight one pixel down
        // and right, then in shadow on top.
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        std::vector<bool> ink(static_cast<std::size_t>(s.bitmapSize.cx * s.bitmapSize.cy));
        for (int py = 0; py < s.bitmapSize.cy; ++py) {
            for (int px = 0; px < s.bitmapSize.cx; ++px) {
                COLORREF c = GetPixel(mem, sx + px, py);
                ink[static_cast<std::size_t>(py * s.bitmapSize.cx + px)] =
                    c != face && c != light && c != CLR_INVALID;
            }
        }
        for (int pass = 0; pass < 2; ++pass) {
            int offset = pass == 0 ? 1 : 0;
            COLORREF colour = pass == 0 ? light : shadow;
            for (int py = 0; py < s.bitmapSize.cy; ++py) {
                for (int px = 0; px < s.bitmapSize.cx; ++px) {
                    if (ink[static_cast<std::size_t>(py * s.bitmapSize.cx + px)]) {
                        SetPixelV(dc, x + px + offset, y + py + offset, colour);
                    }
                }
            }
        }
    }
    SelectObject(mem, old);
    DeleteDC(mem);
}

void PaintButton(HDC dc, const ToolbarState& s, const TBBUTTON& b, RECT rc, bool flat, bool hot) {
    if (IsSeparator(b)) {
        if (flat && !(b.fsState & TBSTATE_WRAP)) {
            RECT line{rc.left + (rc.right - rc.left) / 2 - 1, rc.top + 1, 0, rc.bottom - 1};
            line.right = line.left + 2;
            DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
        }
        return;
    }
    bool enabled = (b.fsState & TBSTATE_ENABLED) != 0;
    bool down = (b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) != 0;
    if ((b.fsState & TBSTATE_CHECKED) && !(b.fsState & TBSTATE_PRESSED)) {
        // A checked button shows a lighter face, as a latched key does.
        RECT inner = rc;
        InflateRect(&inner, -1, -1);
        COLORREF face = GetSysColor(COLOR_BTNFACE);
        COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        HBRUSH brush = CreateSolidBrush(RGB((GetRValue(face) + GetRValue(light)) / 2,
                                            (GetGValue(face) + GetGValue(light)) / 2,
                                            (GetBValue(face) + GetBValue(light)) / 2));
        FillRect(dc, &inner, brush);
        DeleteObject(brush);
    }
    if (down) {
        RECT edge = rc;
        DrawEdge(dc, &edge, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!flat || (hot && enabled)) {
        RECT edge = rc;
        DrawEdge(dc, &edge, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    }
    int x = rc.left + (rc.right - rc.left - s.bitmapSize.cx) / 2 + (down ? 1 : 0);
    int y = rc.top + (rc.bottom - rc.top - s.bitmapSize.cy) / 2 + (down ? 1 : 0);
    DrawImage(dc, s, b, x, y, enabled && !(b.fsState & TBSTATE_INDETERMINATE));
}

void Paint(HWND hwnd, ToolbarState& s) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    if (!(StyleOf(hwnd) & TBSTYLE_TRANSPARENT)) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
    bool flat = (StyleOf(hwnd) & TBSTYLE_FLAT) != 0;
    std::vector<RECT> rects = Layout(s);
    for (std::size_t i = 0; i < s.buttons.size(); ++i) {
        if (!(s.buttons[i].fsState & TBSTATE_HIDDEN)) {
            PaintButton(dc, s, s.buttons[i], rects[i], flat, static_cast<int>(i) == s.hot);
        }
    }
    EndPaint(hwnd, &ps);
}

void InvalidateButton(HWND hwnd, const ToolbarState& s, int index) {
    std::vector<RECT> rects = Layout(s);
    if (index >= 0 && index < static_cast<int>(rects.size())) {
        InvalidateRect(hwnd, &rects[static_cast<std::size_t>(index)], TRUE);
    }
}

// Sets or clears state bits of the button with command `id`.
LRESULT ChangeState(HWND hwnd, ToolbarState& s, int id, BYTE bits, bool on) {
    int i = IndexOf(s, id);
    if (i < 0) {
        return FALSE;
    }
    TBBUTTON& b = s.buttons[static_cast<std::size_t>(i)];
    BYTE state = on ? static_cast<BYTE>(b.fsState | bits) : static_cast<BYTE>(b.fsState & ~bits);
    if (state != b.fsState) {
        bool relayout = ((state ^ b.fsState) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) != 0;
        b.fsState = state;
        if (relayout) {
            Changed(hwnd, s);
        } else {
            InvalidateButton(hwnd, s, i);
        }
    }
    return TRUE;
}

void Click(HWND hwnd, ToolbarState& s, int index) {
    TBBUTTON& b = s.buttons[static_cast<std::size_t>(index)];
    if (b.fsStyle & TBSTYLE_CHECK) {
        if ((b.fsStyle & TBSTYLE_GROUP) == TBSTYLE_GROUP && (b.fsStyle & TBSTYLE_CHECK)) {
            // A check group: the buttons of the same group around this one are released.
            auto sameGroup = [&](std::size_t j) {
                return (s.buttons[j].fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP;
            };
            for (std::size_t j = static_cast<std::size_t>(index); j-- > 0 && sameGroup(j);) {
                s.buttons[j].fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
            }
            for (std::size_t j = static_cast<std::size_t>(index) + 1; j < s.buttons.size() && sameGroup(j);
                 ++j) {
                s.buttons[j].fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
            }
            b.fsState |= TBSTATE_CHECKED;
        } else {
            b.fsState ^= TBSTATE_CHECKED;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    int id = b.idCommand;
    SendMessageW(NotifyTarget(hwnd, s), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
}

void Relay(ToolbarState& s, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (s.tooltip) {
        MSG m{hwnd, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        SendMessageW(s.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
    }
}

void Insert(HWND hwnd, ToolbarState& s, std::size_t at, const TBBUTTON* buttons, std::size_t count) {
    at = std::min(at, s.buttons.size());
    s.buttons.insert(s.buttons.begin() + static_cast<std::ptrdiff_t>(at), buttons, buttons + count);
    Changed(hwnd, s);
}

void RemoveTool(ToolbarState& s, HWND hwnd, const TBBUTTON& b) {
    if (s.tooltip && !IsSeparator(b)) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = hwnd;
        ti.uId = static_cast<UINT_PTR>(b.idCommand);
        SendMessageW(s.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

LRESULT ButtonInfo(HWND hwnd, ToolbarState& s, WPARAM wParam, TBBUTTONINFOW* info, bool set) {
    if (!info || info->cbSize < sizeof(TBBUTTONINFOW)) {
        return -1;
    }
    int i = (info->dwMask & TBIF_BYINDEX) ? static_cast<int>(wParam) : IndexOf(s, static_cast<int>(wParam));
    if (i < 0 || i >= static_cast<int>(s.buttons.size())) {
        return -1;
    }
    TBBUTTON& b = s.buttons[static_cast<std::size_t>(i)];
    if (!set) {
        if (info->dwMask & TBIF_COMMAND)
            info->idCommand = b.idCommand;
        if (info->dwMask & TBIF_IMAGE)
            info->iImage = b.iBitmap;
        if (info->dwMask & TBIF_STATE)
            info->fsState = b.fsState;
        if (info->dwMask & TBIF_STYLE)
            info->fsStyle = b.fsStyle;
        if (info->dwMask & TBIF_LPARAM)
            info->lParam = b.dwData;
        if (info->dwMask & TBIF_SIZE) {
            info->cx = static_cast<WORD>(IsSeparator(b) ? SeparatorWidth(b) : s.buttonSize.cx);
        }
        return i;
    }
    if (info->dwMask & TBIF_COMMAND)
        b.idCommand = info->idCommand;
    if (info->dwMask & TBIF_IMAGE)
        b.iBitmap = info->iImage;
    if (info->dwMask & TBIF_STATE)
        b.fsState = info->fsState;
    if (info->dwMask & TBIF_STYLE)
        b.fsStyle = info->fsStyle;
    if (info->dwMask & TBIF_LPARAM)
        b.dwData = info->lParam;
    if ((info->dwMask & TBIF_SIZE) && IsSeparator(b))
        b.iBitmap = info->cx;
    Changed(hwnd, s);
    return TRUE;
}

SIZE Extent(const ToolbarState& s) {
    SIZE size{0, 0};
    for (const RECT& rc : Layout(s)) {
        size.cx = std::max(size.cx, static_cast<LONG>(rc.right));
        size.cy = std::max(size.cy, static_cast<LONG>(rc.bottom));
    }
    return size;
}

void CreateTooltip(HWND hwnd, ToolbarState& s) {
    RegisterTooltipClass();
    s.tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd,
                                nullptr, nullptr, nullptr);
    UpdateTools(hwnd, s);
}

LRESULT ToolbarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ToolbarState* s = StateOf(hwnd);
    if (!s) {
        if (msg == WM_NCCREATE) {
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new ToolbarState));
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_CREATE:
        if (StyleOf(hwnd) & TBSTYLE_TOOLTIPS) {
            CreateTooltip(hwnd, *s);
        }
        return 0;
    case WM_DESTROY:
        if (s->tooltip) {
            DestroyWindow(s->tooltip);
            s->tooltip = nullptr;
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, 0, 0);
        delete s;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        Relay(*s, hwnd, msg, wParam, lParam);
        int i = HitTest(*s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (i < 0 || !(s->buttons[static_cast<std::size_t>(i)].fsState & TBSTATE_ENABLED)) {
            // Not a button: the parent may drag the bar from here.
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        s->pressed = i;
        s->buttons[static_cast<std::size_t>(i)].fsState |= TBSTATE_PRESSED;
        SetCapture(hwnd);
        InvalidateButton(hwnd, *s, i);
        return 0;
    }
    case WM_MOUSEMOVE: {
        Relay(*s, hwnd, msg, wParam, lParam);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int i = HitTest(*s, pt);
        if (s->pressed >= 0) {
            TBBUTTON& b = s->buttons[static_cast<std::size_t>(s->pressed)];
            BYTE state = i == s->pressed ? static_cast<BYTE>(b.fsState | TBSTATE_PRESSED)
                                         : static_cast<BYTE>(b.fsState & ~TBSTATE_PRESSED);
            if (state != b.fsState) {
                b.fsState = state;
                InvalidateButton(hwnd, *s, s->pressed);
            }
        } else if (i != s->hot && (StyleOf(hwnd) & TBSTYLE_FLAT)) {
            InvalidateButton(hwnd, *s, s->hot);
            s->hot = i;
            InvalidateButton(hwnd, *s, i);
            if (!s->tracking) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
                s->tracking = TrackMouseEvent(&tme) != FALSE;
            }
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        s->tracking = false;
        InvalidateButton(hwnd, *s, s->hot);
        s->hot = -1;
        return 0;
    case WM_LBUTTONUP: {
        Relay(*s, hwnd, msg, wParam, lParam);
        int i = s->pressed;
        if (i < 0) {
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        s->pressed = -1;
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        TBBUTTON& b = s->buttons[static_cast<std::size_t>(i)];
        bool inside = (b.fsState & TBSTATE_PRESSED) != 0;
        b.fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
        InvalidateButton(hwnd, *s, i);
        if (inside) {
            Click(hwnd, *s, i);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (s->pressed >= 0 && reinterpret_cast<HWND>(lParam) != hwnd) {
            s->buttons[static_cast<std::size_t>(s->pressed)].fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
            InvalidateButton(hwnd, *s, s->pressed);
            s->pressed = -1;
        }
        return 0;
    case WM_NOTIFY: {
        // The tooltip asks the button's text of the window that owns the buttons.
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->hwndFrom == s->tooltip) {
            return SendMessageW(NotifyTarget(hwnd, *s), WM_NOTIFY, wParam, lParam);
        }
        break;
    }
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_SETBITMAPSIZE:
        s->bitmapSize = SIZE{LOWORD(lParam), HIWORD(lParam)};
        Changed(hwnd, *s);
        return TRUE;
    case TB_SETBUTTONSIZE:
        s->buttonSize = SIZE{std::max<LONG>(LOWORD(lParam), 1), std::max<LONG>(HIWORD(lParam), 1)};
        Changed(hwnd, *s);
        return TRUE;
    case TB_GETBUTTONSIZE:
        return MAKELONG(s->buttonSize.cx, s->buttonSize.cy);
    case TB_ADDBITMAP: {
        auto* add = reinterpret_cast<const TBADDBITMAP*>(lParam);
        if (!add || add->hInst || !add->nID || wParam == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        int first = 0;
        for (const Strip& strip : s->strips) {
            first = std::max(first, strip.first + strip.count);
        }
        s->strips.push_back(Strip{reinterpret_cast<HBITMAP>(add->nID), first, static_cast<int>(wParam)});
        InvalidateRect(hwnd, nullptr, TRUE);
        return first;
    }
    case TB_REPLACEBITMAP: {
        auto* r = reinterpret_cast<const TBREPLACEBITMAP*>(lParam);
        if (!r) {
            return FALSE;
        }
        for (Strip& strip : s->strips) {
            if (reinterpret_cast<UINT_PTR>(strip.bitmap) == r->nIDOld) {
                strip.bitmap = reinterpret_cast<HBITMAP>(r->nIDNew);
                strip.count = r->nButtons;
                InvalidateRect(hwnd, nullptr, TRUE);
                return TRUE;
            }
        }
        return FALSE;
    }
    case TB_GETBITMAP: {
        int i = IndexOf(*s, static_cast<int>(wParam));
        return i < 0 ? 0 : s->buttons[static_cast<std::size_t>(i)].iBitmap;
    }
    case TB_ADDBUTTONSW:
        if (!lParam) {
            return FALSE;
        }
        Insert(hwnd, *s, s->buttons.size(), reinterpret_cast<const TBBUTTON*>(lParam), wParam);
        return TRUE;
    case TB_INSERTBUTTONW:
        if (!lParam) {
            return FALSE;
        }
        Insert(hwnd, *s, wParam, reinterpret_cast<const TBBUTTON*>(lParam), 1);
        return TRUE;
    case TB_DELETEBUTTON: {
        if (wParam >= s->buttons.size()) {
            return FALSE;
        }
        // The tool of the last button goes; the others are renewed by their command ids.
        RemoveTool(*s, hwnd, s->buttons[wParam]);
        s->buttons.erase(s->buttons.begin() + static_cast<std::ptrdiff_t>(wParam));
        s->pressed = -1;
        s->hot = -1;
        Changed(hwnd, *s);
        return TRUE;
    }
    case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(s->buttons.size());
    case TB_GETBUTTON:
        if (wParam >= s->buttons.size() || !lParam) {
            return FALSE;
        }
        *reinterpret_cast<TBBUTTON*>(lParam) = s->buttons[wParam];
        return TRUE;
    case TB_COMMANDTOINDEX:
        return IndexOf(*s, static_cast<int>(wParam));
    case TB_GETITEMRECT: {
        if (wParam >= s->buttons.size() || !lParam) {
            return FALSE;
        }
        *reinterpret_cast<RECT*>(lParam) = Layout(*s)[wParam];
        return TRUE;
    }
    case TB_SETSTATE: {
        int i = IndexOf(*s, static_cast<int>(wParam));
        if (i < 0) {
            return FALSE;
        }
        s->buttons[static_cast<std::size_t>(i)].fsState = static_cast<BYTE>(LOWORD(lParam));
        Changed(hwnd, *s);
        return TRUE;
    }
    case TB_GETSTATE: {
        int i = IndexOf(*s, static_cast<int>(wParam));
        return i < 0 ? -1 : s->buttons[static_cast<std::size_t>(i)].fsState;
    }
    case TB_ENABLEBUTTON:
        return ChangeState(hwnd, *s, static_cast<int>(wParam), TBSTATE_ENABLED, LOWORD(lParam) != 0);
    case TB_CHECKBUTTON:
        return ChangeState(hwnd, *s, static_cast<int>(wParam), TBSTATE_CHECKED, LOWORD(lParam) != 0);
    case TB_PRESSBUTTON:
        return ChangeState(hwnd, *s, static_cast<int>(wParam), TBSTATE_PRESSED, LOWORD(lParam) != 0);
    case TB_HIDEBUTTON:
        return ChangeState(hwnd, *s, static_cast<int>(wParam), TBSTATE_HIDDEN, LOWORD(lParam) != 0);
    case TB_INDETERMINATE:
        return ChangeState(hwnd, *s, static_cast<int>(wParam), TBSTATE_INDETERMINATE, LOWORD(lParam) != 0);
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONPRESSED:
    case TB_ISBUTTONHIDDEN: {
        static const BYTE bits[] = {TBSTATE_ENABLED, TBSTATE_CHECKED, TBSTATE_PRESSED, TBSTATE_HIDDEN};
        int i = IndexOf(*s, static_cast<int>(wParam));
        return i >= 0 && (s->buttons[static_cast<std::size_t>(i)].fsState & bits[msg - TB_ISBUTTONENABLED]);
    }
    case TB_SETCMDID:
        if (wParam >= s->buttons.size()) {
            return FALSE;
        }
        RemoveTool(*s, hwnd, s->buttons[wParam]);
        s->buttons[wParam].idCommand = static_cast<int>(lParam);
        Changed(hwnd, *s);
        return TRUE;
    case TB_GETBUTTONINFOW:
        return ButtonInfo(hwnd, *s, wParam, reinterpret_cast<TBBUTTONINFOW*>(lParam), false);
    case TB_SETBUTTONINFOW:
        return ButtonInfo(hwnd, *s, wParam, reinterpret_cast<TBBUTTONINFOW*>(lParam), true);
    case TB_SETSTYLE:
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(lParam));
        if ((lParam & TBSTYLE_TOOLTIPS) && !s->tooltip) {
            CreateTooltip(hwnd, *s);
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case TB_GETSTYLE:
        return static_cast<LRESULT>(StyleOf(hwnd));
    case TB_GETTOOLTIPS:
        return reinterpret_cast<LRESULT>(s->tooltip);
    case TB_SETTOOLTIPS:
        s->tooltip = reinterpret_cast<HWND>(wParam);
        UpdateTools(hwnd, *s);
        return 0;
    case TB_SETPARENT: {
        HWND old = NotifyTarget(hwnd, *s);
        s->notify = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETROWS: {
        LRESULT rows = s->buttons.empty() ? 0 : 1;
        for (std::size_t i = 0; i + 1 < s->buttons.size(); ++i) {
            rows += (s->buttons[i].fsState & TBSTATE_WRAP) ? 1 : 0;
        }
        return rows;
    }
    case TB_AUTOSIZE: {
        DWORD style = StyleOf(hwnd);
        HWND parent = GetParent(hwnd);
        if ((style & CCS_NORESIZE) || !parent) {
            return 0;
        }
        RECT area{};
        GetClientRect(parent, &area);
        SIZE extent = Extent(*s);
        int y = (style & 3) == CCS_BOTTOM ? static_cast<int>(area.bottom) - extent.cy : 0;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | ((style & CCS_NOPARENTALIGN) ? SWP_NOMOVE : 0);
        SetWindowPos(hwnd, nullptr, 0, y, area.right - area.left, extent.cy, flags);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterToolbarClass() {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(nullptr, TOOLBARCLASSNAMEW, &existing)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ToolbarProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = TOOLBARCLASSNAMEW;
    DisplayRegisterSystemClass(&wc);
}
