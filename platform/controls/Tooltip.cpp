// Tooltips ("tooltips_class32"): tools are rectangles of windows (or whole windows) with a text; mouse
// messages relayed to the control show the tip after the initial delay, hide it after the auto-pop delay, and
// switch between tools after the shorter reshow delay. The tip is a top-most pop-up in the info colours.
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlsCommon.h"

#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"
#include "platform/resources/Resources.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace controls;

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr int kMargin = 3;
const char16_t kOwnerProp[] = u"DolivaTipOwner";
const char16_t kProcProp[] = u"DolivaTipProc";

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    bool callback = false;
    std::u16string text;
    LPARAM lParam = 0;
};

struct TipState {
    std::vector<Tool> tools;
    bool active = true;
    int initial = -1; // -1: derived from the double-click time
    int autopop = -1;
    int reshow = -1;
    int pending = -1;
    int shown = -1;
    int suppressed = -1; // the tool whose tip timed out, until the mouse leaves it
    bool tracking = false;
    POINT trackPos{};
    COLORREF background = CLR_DEFAULT;
    COLORREF textColor = CLR_DEFAULT;
    int maxWidth = -1;
    HFONT font = nullptr;
    std::u16string text;
};

int Delay(const TipState& s, int which) {
    int base = static_cast<int>(GetDoubleClickTime());
    switch (which) {
    case TTDT_INITIAL:
        return s.initial >= 0 ? s.initial : base;
    case TTDT_AUTOPOP:
        return s.autopop >= 0 ? s.autopop : base * 10;
    case TTDT_RESHOW:
        return s.reshow >= 0 ? s.reshow : base / 5;
    default:
        return 0;
    }
}

bool SameTool(const Tool& t, HWND hwnd, UINT_PTR id) {
    return t.hwnd == hwnd && t.id == id;
}

int Find(const TipState& s, const TOOLINFOW* ti) {
    if (!ti) {
        return -1;
    }
    for (std::size_t i = 0; i < s.tools.size(); ++i) {
        if (SameTool(s.tools[i], ti->hwnd, ti->uId)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ValidInfo(const TOOLINFOW* ti) {
    return ti && ti->cbSize >= TTTOOLINFOW_V1_SIZE;
}

void SetText(Tool& tool, const TOOLINFOW* ti) {
    tool.callback = false;
    tool.text.clear();
    tool.hinst = ti->hinst;
    if (ti->lpszText == LPSTR_TEXTCALLBACKW) {
        tool.callback = true;
    } else if (ti->lpszText && IS_INTRESOURCE(ti->lpszText)) {
        WCHAR buffer[512] = {};
        UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(ti->lpszText));
        if (LoadStringW(ti->hinst, id, buffer, 512) > 0) {
            tool.text = buffer;
        }
    } else if (ti->lpszText) {
        tool.text = ti->lpszText;
    }
}

void FillInfo(const Tool& tool, TOOLINFOW* ti) {
    ti->uFlags = tool.flags;
    ti->hwnd = tool.hwnd;
    ti->uId = tool.id;
    ti->rect = tool.rect;
    ti->hinst = tool.hinst;
    if (ti->cbSize >= sizeof(TOOLINFOW)) {
        ti->lParam = tool.lParam;
    }
}

LRESULT Notify(HWND tip, const Tool& tool, NMHDR* hdr, UINT code) {
    hdr->hwndFrom = tip;
    hdr->idFrom = tool.id;
    hdr->code = code;
    HWND target = tool.hwnd ? tool.hwnd : GetParent(tip);
    return target ? SendMessageW(target, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(hdr)) : 0;
}

// The tool's text, asking its window for it when the tool has none of its own.
std::u16string TextOf(HWND tip, TipState& s, int index) {
    Tool& tool = s.tools[index];
    if (!tool.callback) {
        return tool.text;
    }
    NMTTDISPINFOW info{};
    info.uFlags = tool.flags;
    info.lParam = tool.lParam;
    info.hinst = nullptr;
    Notify(tip, tool, &info.hdr, TTN_GETDISPINFOW);
    info.szText[79] = 0;
    std::u16string text;
    if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(info.lpszText)) {
        text = info.lpszText;
    } else if (info.lpszText && IS_INTRESOURCE(info.lpszText)) {
        WCHAR buffer[512] = {};
        if (LoadStringW(info.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(info.lpszText)), buffer,
                        512) > 0) {
            text = buffer;
        }
    } else {
        text = info.szText;
    }
    // The tool list may have changed inside the notification.
    if (index < static_cast<int>(s.tools.size()) && (info.uFlags & TTF_DI_SETITEM)) {
        s.tools[index].callback = false;
        s.tools[index].text = text;
    }
    return text;
}

RECT ToolRect(const Tool& tool) {
    RECT rc{};
    if (tool.flags & TTF_IDISHWND) {
        GetClientRect(reinterpret_cast<HWND>(tool.id), &rc);
        return rc;
    }
    return tool.rect;
}

HWND ToolWindow(const Tool& tool) {
    return (tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) : tool.hwnd;
}

int HitTest(const TipState& s, HWND hwnd, POINT pt) {
    for (std::size_t i = 0; i < s.tools.size(); ++i) {
        const Tool& tool = s.tools[i];
        if (ToolWindow(tool) != hwnd || (tool.flags & TTF_TRACK)) {
            continue;
        }
        RECT rc = ToolRect(tool);
        if (PtInRect(&rc, pt)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

HFONT FontOf(const TipState& s) {
    return s.font ? s.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

UINT TextFormat(HWND tip) {
    UINT format = DT_LEFT | DT_NOCLIP;
    if (GetWindowLongW(tip, GWL_STYLE) & TTS_NOPREFIX) {
        format |= DT_NOPREFIX;
    }
    return format;
}

SIZE Measure(HWND tip, const TipState& s, const std::u16string& text) {
    HDC dc = GetDC(tip);
    HGDIOBJ old = SelectObject(dc, FontOf(s));
    RECT rc{0, 0, s.maxWidth > 0 ? s.maxWidth : 0x7FFF, 0};
    UINT format = TextFormat(tip) | DT_CALCRECT | (s.maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
    SelectObject(dc, old);
    ReleaseDC(tip, dc);
    return SIZE{rc.right - rc.left + 2 * kMargin + 2, rc.bottom - rc.top + 2 * kMargin + 2};
}

void Pop(HWND tip, TipState& s) {
    KillTimer(tip, kPopTimer);
    if (s.shown < 0) {
        return;
    }
    int index = s.shown;
    s.shown = -1;
    SetWindowPos(tip, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    if (index < static_cast<int>(s.tools.size())) {
        NMHDR hdr{};
        Notify(tip, s.tools[index], &hdr, TTN_POP);
    }
}

void Show(HWND tip, TipState& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.tools.size())) {
        return;
    }
    std::u16string text = TextOf(tip, s, index);
    if (index >= static_cast<int>(s.tools.size()) || text.empty()) {
        return;
    }
    s.text = text;
    const Tool& tool = s.tools[index];
    SIZE size = Measure(tip, s, text);
    POINT pos{};
    if (tool.flags & TTF_TRACK) {
        pos = s.trackPos;
    } else if (tool.flags & TTF_CENTERTIP) {
        RECT rc = ToolRect(tool);
        MapWindowPoints(ToolWindow(tool), nullptr, reinterpret_cast<POINT*>(&rc), 2);
        pos = POINT{(rc.left + rc.right - size.cx) / 2, rc.bottom + 2};
    } else {
        GetCursorPos(&pos);
        pos.y += GetSystemMetrics(SM_CYCURSOR) * 3 / 4;
    }
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    pos.x = std::max(work.left, std::min(pos.x, work.right - size.cx));
    pos.y = std::max(work.top, std::min(pos.y, work.bottom - size.cy));
    s.shown = index;
    s.pending = -1;
    SetWindowPos(tip, HWND_TOPMOST, pos.x, pos.y, size.cx, size.cy, SWP_NOACTIVATE);
    NMHDR hdr{};
    if (!IsWindow(tip)) {
        return;
    }
    Notify(tip, s.tools[index], &hdr, TTN_SHOW);
    if (!IsWindow(tip)) {
        return;
    }
    SetWindowPos(tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    InvalidateRect(tip, nullptr, TRUE);
    if (!(tool.flags & TTF_TRACK)) {
        SetTimer(tip, kPopTimer, static_cast<UINT>(Delay(s, TTDT_AUTOPOP)), nullptr);
    }
}

// Hides the tip and forgets the one waiting to show.
void Cancel(HWND tip, TipState& s) {
    Pop(tip, s);
    s.pending = -1;
    KillTimer(tip, kShowTimer);
}

void Relay(HWND tip, TipState& s, const MSG* msg) {
    if (!msg || !s.active || s.tracking) {
        return;
    }
    switch (msg->message) {
    case WM_MOUSEMOVE: {
        int hit = HitTest(s, msg->hwnd, POINT{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)});
        if (hit != s.suppressed) {
            s.suppressed = -1;
        }
        if (hit < 0) {
            Cancel(tip, s);
        } else if (hit == s.shown || hit == s.suppressed) {
            // the tip stays as it is
        } else if (s.shown >= 0) {
            Pop(tip, s);
            s.pending = hit;
            SetTimer(tip, kShowTimer, static_cast<UINT>(std::max(Delay(s, TTDT_RESHOW), 1)), nullptr);
        } else if (hit != s.pending) {
            s.pending = hit;
            SetTimer(tip, kShowTimer, static_cast<UINT>(std::max(Delay(s, TTDT_INITIAL), 1)), nullptr);
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE:
        s.suppressed = s.shown >= 0 ? s.shown : s.pending;
        Cancel(tip, s);
        break;
    default:
        break;
    }
}

LRESULT SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kProcProp));
    HWND tip = reinterpret_cast<HWND>(GetPropW(hwnd, kOwnerProp));
    if (tip && IsWindow(tip) && ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_NCMOUSEMOVE)) {
        MSG relayed{hwnd, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kOwnerProp);
        RemovePropW(hwnd, kProcProp);
        if (old) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        }
    }
    return old ? CallWindowProcW(old, hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Subclass(HWND tip, HWND window) {
    if (!window || !IsWindow(window) || GetPropW(window, kProcProp)) {
        return;
    }
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
    SetPropW(window, kProcProp, reinterpret_cast<HANDLE>(old));
    SetPropW(window, kOwnerProp, reinterpret_cast<HANDLE>(tip));
}

void Unsubclass(HWND tip, HWND window) {
    if (!window || !IsWindow(window) || reinterpret_cast<HWND>(GetPropW(window, kOwnerProp)) != tip) {
        return;
    }
    auto old = reinterpret_cast<WNDPROC>(GetPropW(window, kProcProp));
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == SubclassProc) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(window, kProcProp);
        RemovePropW(window, kOwnerProp);
    } else {
        RemovePropW(window, kOwnerProp); // someone subclassed after us: stop relaying, keep the chain
    }
}

void Paint(HWND tip, TipState& s) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(tip, &ps);
    RECT rc{};
    GetClientRect(tip, &rc);
    COLORREF back = ColorOrSystem(s.background, COLOR_INFOBK);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    HGDIOBJ old = SelectObject(dc, FontOf(s));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorOrSystem(s.textColor, COLOR_INFOTEXT));
    InflateRect(&rc, -kMargin, -kMargin);
    DrawTextW(dc, s.text.c_str(), static_cast<int>(s.text.size()), &rc,
              TextFormat(tip) | (s.maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    EndPaint(tip, &ps);
}

// A tooltip is a top-most tool window that never takes the activation.
LRESULT OnNcCreate(HWND tip, WPARAM wParam, LPARAM lParam) {
    SetWindowLongPtrW(tip, 0, reinterpret_cast<LONG_PTR>(new TipState));
    DWORD style = static_cast<DWORD>(GetWindowLongW(tip, GWL_STYLE));
    SetWindowLongW(tip, GWL_STYLE, static_cast<LONG>((style | WS_POPUP | WS_BORDER) & ~WS_CHILD));
    DWORD ex = static_cast<DWORD>(GetWindowLongW(tip, GWL_EXSTYLE));
    SetWindowLongW(tip, GWL_EXSTYLE, static_cast<LONG>(ex | WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    return DefWindowProcW(tip, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND tip, TipState* s, WPARAM wParam, LPARAM lParam) {
    for (const Tool& tool : s->tools) {
        if (tool.flags & TTF_SUBCLASS) {
            Unsubclass(tip, ToolWindow(tool));
        }
    }
    return DestroyState(tip, s, wParam, lParam);
}

LRESULT OnTimer(HWND tip, TipState& s, UINT_PTR timer) {
    if (timer == kShowTimer) {
        KillTimer(tip, kShowTimer);
        if (s.active && s.pending >= 0) {
            Show(tip, s, s.pending);
        }
    } else if (timer == kPopTimer) {
        s.suppressed = s.shown;
        Pop(tip, s);
    }
    return 0;
}

LRESULT OnActivate(HWND tip, TipState& s, bool active) {
    s.active = active;
    if (!active) {
        Cancel(tip, s);
    }
    return 0;
}

LRESULT OnAddTool(HWND tip, TipState& s, const TOOLINFOW* ti) {
    if (!ValidInfo(ti) || Find(s, ti) >= 0) {
        return FALSE;
    }
    Tool tool;
    tool.flags = ti->uFlags;
    tool.hwnd = ti->hwnd;
    tool.id = ti->uId;
    tool.rect = ti->rect;
    tool.lParam = ti->cbSize >= sizeof(TOOLINFOW) ? ti->lParam : 0;
    SetText(tool, ti);
    s.tools.push_back(tool);
    if (tool.flags & TTF_SUBCLASS) {
        Subclass(tip, ToolWindow(tool));
    }
    return TRUE;
}

// The window of a removed tool stays subclassed while another tool still needs it.
LRESULT OnDelTool(HWND tip, TipState& s, const TOOLINFOW* ti) {
    int index = Find(s, ti);
    if (index < 0) {
        return 0;
    }
    if (s.shown == index) {
        Pop(tip, s);
    }
    Tool removed = s.tools[index];
    s.tools.erase(s.tools.begin() + index);
    for (int* ref : {&s.shown, &s.pending, &s.suppressed}) {
        if (*ref == index) {
            *ref = -1;
        } else if (*ref > index) {
            --*ref;
        }
    }
    if (removed.flags & TTF_SUBCLASS) {
        HWND window = ToolWindow(removed);
        bool stillUsed = std::any_of(s.tools.begin(), s.tools.end(), [&](const Tool& t) {
            return (t.flags & TTF_SUBCLASS) && ToolWindow(t) == window;
        });
        if (!stillUsed) {
            Unsubclass(tip, window);
        }
    }
    return 0;
}

LRESULT OnUpdateTipText(HWND tip, TipState& s, const TOOLINFOW* ti) {
    int index = Find(s, ti);
    if (index >= 0) {
        SetText(s.tools[index], ti);
        if (s.shown == index) {
            Show(tip, s, index);
        }
    }
    return 0;
}

// The buffer holds `capacity` characters, 80 when the caller gives none.
LRESULT OnGetText(HWND tip, TipState& s, WPARAM capacity, TOOLINFOW* ti) {
    int index = Find(s, ti);
    if (index < 0 || !ti->lpszText) {
        return 0;
    }
    std::u16string text = TextOf(tip, s, index);
    std::size_t n = std::min(text.size(), (capacity ? capacity : 80) - 1);
    std::copy_n(text.begin(), n, ti->lpszText);
    ti->lpszText[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT OnGetToolInfo(const TipState& s, TOOLINFOW* ti) {
    int index = Find(s, ti);
    if (index < 0) {
        return FALSE;
    }
    FillInfo(s.tools[index], ti);
    return TRUE;
}

LRESULT OnSetToolInfo(TipState& s, const TOOLINFOW* ti) {
    int index = Find(s, ti);
    if (index >= 0 && ValidInfo(ti)) {
        Tool& tool = s.tools[index];
        tool.flags = ti->uFlags;
        tool.rect = ti->rect;
        if (ti->cbSize >= sizeof(TOOLINFOW)) {
            tool.lParam = ti->lParam;
        }
        SetText(tool, ti);
    }
    return 0;
}

LRESULT OnHitTest(const TipState& s, TTHITTESTINFOW* hit) {
    if (!hit) {
        return FALSE;
    }
    int index = HitTest(s, hit->hwnd, hit->pt);
    if (index < 0) {
        return FALSE;
    }
    hit->ti.cbSize = sizeof(TOOLINFOW);
    FillInfo(s.tools[index], &hit->ti);
    return TRUE;
}

// TTDT_AUTOMATIC derives the auto-pop and reshow delays from the initial one.
LRESULT OnSetDelayTime(TipState& s, WPARAM which, LPARAM lParam) {
    int value = static_cast<short>(LOWORD(lParam));
    switch (which) {
    case TTDT_AUTOMATIC:
        s.initial = value;
        s.autopop = value < 0 ? -1 : value * 10;
        s.reshow = value < 0 ? -1 : value / 5;
        break;
    case TTDT_INITIAL:
        s.initial = value;
        break;
    case TTDT_AUTOPOP:
        s.autopop = value;
        break;
    case TTDT_RESHOW:
        s.reshow = value;
        break;
    default:
        break;
    }
    return 0;
}

LRESULT OnTrackActivate(HWND tip, TipState& s, bool activate, const TOOLINFOW* ti) {
    int index = Find(s, ti);
    if (activate && index >= 0) {
        s.tracking = true;
        Pop(tip, s);
        Show(tip, s, index);
    } else if (!activate) {
        s.tracking = false;
        Pop(tip, s);
    }
    return 0;
}

LRESULT OnTrackPosition(HWND tip, TipState& s, LPARAM lParam) {
    s.trackPos = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (s.tracking && s.shown >= 0) {
        SetWindowPos(tip, nullptr, s.trackPos.x, s.trackPos.y, 0, 0,
                     SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
    }
    return 0;
}

LRESULT OnGetCurrentTool(const TipState& s, TOOLINFOW* ti) {
    if (s.shown < 0) {
        return FALSE;
    }
    if (ti) {
        FillInfo(s.tools[s.shown], ti);
    }
    return TRUE;
}

// The tools: adding, removing, their texts and rectangles.
LRESULT ToolMessage(HWND tip, TipState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* ti = reinterpret_cast<TOOLINFOW*>(lParam);
    switch (msg) {
    case TTM_ADDTOOLW:
        return OnAddTool(tip, s, ti);
    case TTM_DELTOOLW:
        return OnDelTool(tip, s, ti);
    case TTM_NEWTOOLRECTW: {
        int index = Find(s, ti);
        if (index >= 0) {
            s.tools[index].rect = ti->rect;
        }
        return 0;
    }
    case TTM_UPDATETIPTEXTW:
        return OnUpdateTipText(tip, s, ti);
    case TTM_GETTEXTW:
        return OnGetText(tip, s, wParam, ti);
    case TTM_GETTOOLINFOW:
        return OnGetToolInfo(s, ti);
    case TTM_SETTOOLINFOW:
        return OnSetToolInfo(s, ti);
    case TTM_HITTESTW:
        return OnHitTest(s, reinterpret_cast<TTHITTESTINFOW*>(lParam));
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(s.tools.size());
    case TTM_GETCURRENTTOOLW:
        return OnGetCurrentTool(s, ti);
    default:
        return DefWindowProcW(tip, msg, wParam, lParam);
    }
}

// Showing the tip: activation, relayed mouse messages, delays, colours, tracking.
LRESULT TipMessage(HWND tip, TipState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case TTM_ACTIVATE:
        return OnActivate(tip, s, wParam != 0);
    case TTM_RELAYEVENT:
        Relay(tip, s, reinterpret_cast<const MSG*>(lParam));
        return 0;
    case TTM_POP:
        Cancel(tip, s);
        return 0;
    case TTM_SETDELAYTIME:
        return OnSetDelayTime(s, wParam, lParam);
    case TTM_GETDELAYTIME:
        return Delay(s, static_cast<int>(wParam));
    case TTM_SETTIPBKCOLOR:
        ReplaceColor(tip, s.background, static_cast<COLORREF>(wParam));
        return 0;
    case TTM_SETTIPTEXTCOLOR:
        ReplaceColor(tip, s.textColor, static_cast<COLORREF>(wParam));
        return 0;
    case TTM_GETTIPBKCOLOR:
        return static_cast<LRESULT>(ColorOrSystem(s.background, COLOR_INFOBK));
    case TTM_GETTIPTEXTCOLOR:
        return static_cast<LRESULT>(ColorOrSystem(s.textColor, COLOR_INFOTEXT));
    case TTM_SETMAXTIPWIDTH:
        return std::exchange(s.maxWidth, static_cast<int>(lParam));
    case TTM_GETMAXTIPWIDTH:
        return s.maxWidth;
    case TTM_TRACKACTIVATE:
        return OnTrackActivate(tip, s, wParam != 0, reinterpret_cast<const TOOLINFOW*>(lParam));
    case TTM_TRACKPOSITION:
        return OnTrackPosition(tip, s, lParam);
    case TTM_UPDATE:
        if (s.shown >= 0) {
            Show(tip, s, s.shown);
        }
        return 0;
    default:
        return ToolMessage(tip, s, msg, wParam, lParam);
    }
}

LRESULT TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TipState* s = StateOf<TipState>(hwnd);
    if (!s) {
        return msg == WM_NCCREATE ? OnNcCreate(hwnd, wParam, lParam)
                                  : DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        return OnNcDestroy(hwnd, s, wParam, lParam);
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_TIMER:
        return OnTimer(hwnd, *s, wParam);
    default:
        return TipMessage(hwnd, *s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterTooltipClass() {
    RegisterControlClass(TOOLTIPS_CLASSW, TipProc, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, nullptr);
}
