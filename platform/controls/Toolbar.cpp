// The toolbar control: buttons laid out left to right, a new row after every button marked TBSTATE_WRAP.
// Images come from the strips added with TB_ADDBITMAP, numbered on from strip to strip; a disabled image is
// drawn embossed (its outline in highlight and shadow), a checked or pressed button sunken.
#include "platform/controls/Toolbar.h"

#include "platform/base/Geometry.h"
#include "platform/controls/ControlsCommon.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/UserDraw.h"

#include <algorithm>
#include <vector>

namespace {

using namespace controls;

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

LRESULT OnCreate(HWND hwnd, ToolbarState& s) {
    if (StyleOf(hwnd) & TBSTYLE_TOOLTIPS) {
        CreateTooltip(hwnd, s);
    }
    return 0;
}

TBBUTTON& ButtonAt(ToolbarState& s, int index) {
    return s.buttons[static_cast<std::size_t>(index)];
}

void SetPressed(HWND hwnd, ToolbarState& s, int index, bool pressed) {
    TBBUTTON& b = ButtonAt(s, index);
    BYTE state = pressed ? static_cast<BYTE>(b.fsState | TBSTATE_PRESSED)
                         : static_cast<BYTE>(b.fsState & ~TBSTATE_PRESSED);
    if (state != b.fsState) {
        b.fsState = state;
        InvalidateButton(hwnd, s, index);
    }
}

// A press on an enabled button captures the mouse; elsewhere the parent may drag the bar from here.
LRESULT OnLButtonDown(HWND hwnd, ToolbarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    Relay(s, hwnd, msg, wParam, lParam);
    int i = HitTest(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (i < 0 || !(ButtonAt(s, i).fsState & TBSTATE_ENABLED)) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    s.pressed = i;
    ButtonAt(s, i).fsState |= TBSTATE_PRESSED;
    SetCapture(hwnd);
    InvalidateButton(hwnd, s, i);
    return 0;
}

// The pressed button shows pressed while the mouse is on it; a flat toolbar lights the button under it.
LRESULT OnMouseMove(HWND hwnd, ToolbarState& s, WPARAM wParam, LPARAM lParam) {
    Relay(s, hwnd, WM_MOUSEMOVE, wParam, lParam);
    int i = HitTest(s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (s.pressed >= 0) {
        SetPressed(hwnd, s, s.pressed, i == s.pressed);
    } else if (i != s.hot && (StyleOf(hwnd) & TBSTYLE_FLAT)) {
        InvalidateButton(hwnd, s, s.hot);
        s.hot = i;
        InvalidateButton(hwnd, s, i);
        if (!s.tracking) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
            s.tracking = TrackMouseEvent(&tme) != FALSE;
        }
    }
    return 0;
}

LRESULT OnMouseLeave(HWND hwnd, ToolbarState& s) {
    s.tracking = false;
    InvalidateButton(hwnd, s, s.hot);
    s.hot = -1;
    return 0;
}

// Released on the pressed button: a click.
LRESULT OnLButtonUp(HWND hwnd, ToolbarState& s, WPARAM wParam, LPARAM lParam) {
    Relay(s, hwnd, WM_LBUTTONUP, wParam, lParam);
    int i = s.pressed;
    if (i < 0) {
        return DefWindowProcW(hwnd, WM_LBUTTONUP, wParam, lParam);
    }
    s.pressed = -1;
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    bool inside = (ButtonAt(s, i).fsState & TBSTATE_PRESSED) != 0;
    ButtonAt(s, i).fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
    InvalidateButton(hwnd, s, i);
    if (inside) {
        Click(hwnd, s, i);
    }
    return 0;
}

LRESULT OnCaptureChanged(HWND hwnd, ToolbarState& s, HWND gaining) {
    if (s.pressed >= 0 && gaining != hwnd) {
        ButtonAt(s, s.pressed).fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
        InvalidateButton(hwnd, s, s.pressed);
        s.pressed = -1;
    }
    return 0;
}

// The tooltip asks the button's text of the window that owns the buttons.
LRESULT OnNotify(HWND hwnd, ToolbarState& s, WPARAM wParam, LPARAM lParam) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr && hdr->hwndFrom == s.tooltip) {
        return SendMessageW(NotifyTarget(hwnd, s), WM_NOTIFY, wParam, lParam);
    }
    return DefWindowProcW(hwnd, WM_NOTIFY, wParam, lParam);
}

// The images of a strip are numbered on from the last image of the strips before.
LRESULT OnAddBitmap(HWND hwnd, ToolbarState& s, WPARAM count, const TBADDBITMAP* add) {
    if (!add || add->hInst || !add->nID || count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    int first = 0;
    for (const Strip& strip : s.strips) {
        first = std::max(first, strip.first + strip.count);
    }
    s.strips.push_back(Strip{reinterpret_cast<HBITMAP>(add->nID), first, static_cast<int>(count)});
    InvalidateRect(hwnd, nullptr, TRUE);
    return first;
}

LRESULT OnReplaceBitmap(HWND hwnd, ToolbarState& s, const TBREPLACEBITMAP* r) {
    if (!r) {
        return FALSE;
    }
    for (Strip& strip : s.strips) {
        if (reinterpret_cast<UINT_PTR>(strip.bitmap) == r->nIDOld) {
            strip.bitmap = reinterpret_cast<HBITMAP>(r->nIDNew);
            strip.count = r->nButtons;
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT OnInsertButtons(HWND hwnd, ToolbarState& s, std::size_t at, LPARAM buttons, std::size_t count) {
    if (!buttons) {
        return FALSE;
    }
    Insert(hwnd, s, at, reinterpret_cast<const TBBUTTON*>(buttons), count);
    return TRUE;
}

// The tool of the deleted button goes; the others are renewed by their command ids.
LRESULT OnDeleteButton(HWND hwnd, ToolbarState& s, WPARAM index) {
    if (index >= s.buttons.size()) {
        return FALSE;
    }
    RemoveTool(s, hwnd, s.buttons[index]);
    s.buttons.erase(s.buttons.begin() + static_cast<std::ptrdiff_t>(index));
    s.pressed = -1;
    s.hot = -1;
    Changed(hwnd, s);
    return TRUE;
}

LRESULT OnGetButton(ToolbarState& s, WPARAM index, LPARAM out) {
    if (index >= s.buttons.size() || !out) {
        return FALSE;
    }
    *reinterpret_cast<TBBUTTON*>(out) = s.buttons[index];
    return TRUE;
}

LRESULT OnGetItemRect(ToolbarState& s, WPARAM index, LPARAM out) {
    if (index >= s.buttons.size() || !out) {
        return FALSE;
    }
    *reinterpret_cast<RECT*>(out) = Layout(s)[index];
    return TRUE;
}

LRESULT OnSetState(HWND hwnd, ToolbarState& s, WPARAM id, LPARAM state) {
    int i = IndexOf(s, static_cast<int>(id));
    if (i < 0) {
        return FALSE;
    }
    ButtonAt(s, i).fsState = static_cast<BYTE>(LOWORD(state));
    Changed(hwnd, s);
    return TRUE;
}

LRESULT OnSetCmdId(HWND hwnd, ToolbarState& s, WPARAM index, LPARAM id) {
    if (index >= s.buttons.size()) {
        return FALSE;
    }
    RemoveTool(s, hwnd, s.buttons[index]);
    s.buttons[index].idCommand = static_cast<int>(id);
    Changed(hwnd, s);
    return TRUE;
}

LRESULT OnSetStyle(HWND hwnd, ToolbarState& s, LPARAM style) {
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    if ((style & TBSTYLE_TOOLTIPS) && !s.tooltip) {
        CreateTooltip(hwnd, s);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return 0;
}

LRESULT OnGetRows(const ToolbarState& s) {
    LRESULT rows = s.buttons.empty() ? 0 : 1;
    for (std::size_t i = 0; i + 1 < s.buttons.size(); ++i) {
        rows += (s.buttons[i].fsState & TBSTATE_WRAP) ? 1 : 0;
    }
    return rows;
}

// Spans the parent's width at its top (or bottom, with CCS_BOTTOM), as high as the buttons.
LRESULT OnAutoSize(HWND hwnd, const ToolbarState& s) {
    DWORD style = StyleOf(hwnd);
    HWND parent = GetParent(hwnd);
    if ((style & CCS_NORESIZE) || !parent) {
        return 0;
    }
    RECT area{};
    GetClientRect(parent, &area);
    SIZE extent = Extent(s);
    int y = (style & 3) == CCS_BOTTOM ? static_cast<int>(area.bottom) - extent.cy : 0;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | ((style & CCS_NOPARENTALIGN) ? SWP_NOMOVE : 0);
    SetWindowPos(hwnd, nullptr, 0, y, area.right - area.left, extent.cy, flags);
    return 0;
}

// The state bit a TB_IS* message asks about.
BYTE QueriedState(UINT msg) {
    static const BYTE bits[] = {TBSTATE_ENABLED, TBSTATE_CHECKED, TBSTATE_PRESSED, TBSTATE_HIDDEN};
    return bits[msg - TB_ISBUTTONENABLED];
}

// The state bit a TB_* message of the enable/check/press/hide/indeterminate kind sets or clears.
BYTE ChangedState(UINT msg) {
    switch (msg) {
    case TB_ENABLEBUTTON:
        return TBSTATE_ENABLED;
    case TB_CHECKBUTTON:
        return TBSTATE_CHECKED;
    case TB_PRESSBUTTON:
        return TBSTATE_PRESSED;
    case TB_HIDEBUTTON:
        return TBSTATE_HIDDEN;
    case TB_INDETERMINATE:
        return TBSTATE_INDETERMINATE;
    default:
        return 0;
    }
}

// The buttons' states, and the toolbar's style, tooltip, notified window and size.
LRESULT StateMessage(HWND hwnd, ToolbarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (BYTE bit = ChangedState(msg)) {
        return ChangeState(hwnd, s, static_cast<int>(wParam), bit, LOWORD(lParam) != 0);
    }
    switch (msg) {
    case TB_SETSTATE:
        return OnSetState(hwnd, s, wParam, lParam);
    case TB_GETSTATE: {
        int i = IndexOf(s, static_cast<int>(wParam));
        return i < 0 ? -1 : ButtonAt(s, i).fsState;
    }
    case TB_ISBUTTONENABLED:
    case TB_ISBUTTONCHECKED:
    case TB_ISBUTTONPRESSED:
    case TB_ISBUTTONHIDDEN: {
        int i = IndexOf(s, static_cast<int>(wParam));
        return i >= 0 && (ButtonAt(s, i).fsState & QueriedState(msg));
    }
    case TB_SETSTYLE:
        return OnSetStyle(hwnd, s, lParam);
    case TB_GETSTYLE:
        return static_cast<LRESULT>(StyleOf(hwnd));
    case TB_GETTOOLTIPS:
        return reinterpret_cast<LRESULT>(s.tooltip);
    case TB_SETTOOLTIPS:
        s.tooltip = reinterpret_cast<HWND>(wParam);
        UpdateTools(hwnd, s);
        return 0;
    case TB_SETPARENT: {
        HWND old = NotifyTarget(hwnd, s);
        s.notify = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(old);
    }
    case TB_GETROWS:
        return OnGetRows(s);
    case TB_AUTOSIZE:
        return OnAutoSize(hwnd, s);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

// The buttons and their images.
LRESULT ButtonMessage(HWND hwnd, ToolbarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_SETBITMAPSIZE:
        s.bitmapSize = SIZE{LOWORD(lParam), HIWORD(lParam)};
        Changed(hwnd, s);
        return TRUE;
    case TB_SETBUTTONSIZE:
        s.buttonSize = SIZE{std::max<LONG>(LOWORD(lParam), 1), std::max<LONG>(HIWORD(lParam), 1)};
        Changed(hwnd, s);
        return TRUE;
    case TB_GETBUTTONSIZE:
        return MAKELONG(s.buttonSize.cx, s.buttonSize.cy);
    case TB_ADDBITMAP:
        return OnAddBitmap(hwnd, s, wParam, reinterpret_cast<const TBADDBITMAP*>(lParam));
    case TB_REPLACEBITMAP:
        return OnReplaceBitmap(hwnd, s, reinterpret_cast<const TBREPLACEBITMAP*>(lParam));
    case TB_GETBITMAP: {
        int i = IndexOf(s, static_cast<int>(wParam));
        return i < 0 ? 0 : ButtonAt(s, i).iBitmap;
    }
    case TB_ADDBUTTONSW:
        return OnInsertButtons(hwnd, s, s.buttons.size(), lParam, wParam);
    case TB_INSERTBUTTONW:
        return OnInsertButtons(hwnd, s, wParam, lParam, 1);
    case TB_DELETEBUTTON:
        return OnDeleteButton(hwnd, s, wParam);
    case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(s.buttons.size());
    case TB_GETBUTTON:
        return OnGetButton(s, wParam, lParam);
    case TB_COMMANDTOINDEX:
        return IndexOf(s, static_cast<int>(wParam));
    case TB_GETITEMRECT:
        return OnGetItemRect(s, wParam, lParam);
    case TB_SETCMDID:
        return OnSetCmdId(hwnd, s, wParam, lParam);
    case TB_GETBUTTONINFOW:
    case TB_SETBUTTONINFOW:
        return ButtonInfo(hwnd, s, wParam, reinterpret_cast<TBBUTTONINFOW*>(lParam),
                          msg == TB_SETBUTTONINFOW);
    default:
        return StateMessage(hwnd, s, msg, wParam, lParam);
    }
}

LRESULT ToolbarMessage(HWND hwnd, ToolbarState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate(hwnd, s);
    case WM_DESTROY:
        if (s.tooltip) {
            DestroyWindow(s.tooltip);
            s.tooltip = nullptr;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(hwnd, s, msg, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(hwnd, s, wParam, lParam);
    case WM_MOUSELEAVE:
        return OnMouseLeave(hwnd, s);
    case WM_LBUTTONUP:
        return OnLButtonUp(hwnd, s, wParam, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(hwnd, s, reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        return OnNotify(hwnd, s, wParam, lParam);
    default:
        return ButtonMessage(hwnd, s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterToolbarClass() {
    RegisterControlClass(TOOLBARCLASSNAMEW, ControlProc<ToolbarState, ToolbarMessage>, CS_DBLCLKS, IDC_ARROW,
                         nullptr);
}
