// The status bar ("msctls_statusbar32"): parts with text, a type per part (sunken, no borders, raised,
// owner-drawn), icons, a simple mode with one text, and a size grip; it places itself along its parent's
// bottom (or top) edge whenever it receives WM_SIZE.
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlsCommon.h"

#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace controls;

// SB_GETBORDERS: no horizontal border, two pixels above and below the parts, two between them.
constexpr int kBorderX = 0;
constexpr int kBorderY = 2;
constexpr int kSpacing = 2;
constexpr int kMaxParts = 256;
constexpr UINT kTypeMask = SBT_OWNERDRAW | SBT_NOBORDERS | SBT_POPOUT | SBT_RTLREADING | SBT_NOTABPARSING;

struct StatusPart {
    int right = -1;
    std::u16string text;
    UINT type = 0;
    LPARAM data = 0; // what an owner-drawn part was given
    HICON icon = nullptr;
};

struct StatusState {
    std::vector<StatusPart> parts = std::vector<StatusPart>(1);
    StatusPart simple;
    bool simpleMode = false;
    int minHeight = 0;
    HFONT font = nullptr;
    COLORREF background = CLR_DEFAULT;
    bool inLayout = false;
};

HFONT FontOf(const StatusState& s) {
    return s.font ? s.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TextHeight(HWND hwnd, const StatusState& s) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, FontOf(s));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return static_cast<int>(tm.tmHeight);
}

int BarHeight(HWND hwnd, const StatusState& s) {
    int inner = std::max(TextHeight(hwnd, s) + 2, s.minHeight);
    inner = std::max(inner, GetSystemMetrics(SM_CYSMICON) + 2);
    return inner + 2 * kBorderY;
}

bool ParentZoomed(HWND hwnd) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    return top && IsZoomed(top);
}

bool GripShown(HWND hwnd) {
    return (ClassStyle(hwnd) & SBARS_SIZEGRIP) && !ParentZoomed(hwnd);
}

RECT GripRect(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    int size = std::max(GetSystemMetrics(SM_CXVSCROLL), static_cast<int>(rc.bottom - rc.top) - kBorderY);
    rc.left = std::max(rc.left, rc.right - size);
    rc.top = std::max(rc.top, rc.bottom - size);
    return rc;
}

bool PartRect(HWND hwnd, const StatusState& s, int index, RECT& out) {
    RECT client{};
    GetClientRect(hwnd, &client);
    if (s.simpleMode) {
        out = RECT{client.left + kBorderX, client.top + kBorderY, client.right - kBorderX, client.bottom};
        return true;
    }
    if (index < 0 || index >= static_cast<int>(s.parts.size())) {
        return false;
    }
    int left = index == 0 ? kBorderX : s.parts[index - 1].right + kSpacing;
    if (index > 0 && s.parts[index - 1].right == -1) {
        left = client.right;
    }
    int right = s.parts[index].right == -1 ? static_cast<int>(client.right) - kBorderX : s.parts[index].right;
    out = RECT{left, client.top + kBorderY, std::max(left, right), client.bottom};
    return true;
}

void InvalidatePart(HWND hwnd, const StatusState& s, int index) {
    RECT rc{};
    if (PartRect(hwnd, s, index, rc)) {
        InvalidateRect(hwnd, &rc, TRUE);
    }
}

void Layout(HWND hwnd, StatusState& s) {
    DWORD style = ClassStyle(hwnd);
    HWND parent = GetParent(hwnd);
    if ((style & CCS_NORESIZE) || !parent || s.inLayout) {
        return;
    }
    RECT area{};
    GetClientRect(parent, &area);
    int height = BarHeight(hwnd, s);
    RECT self{};
    GetWindowRect(hwnd, &self);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&self), 2);
    int x = 0;
    int y = (style & 3) == CCS_TOP ? 0 : static_cast<int>(area.bottom) - height;
    int width = area.right - area.left;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (style & CCS_NOPARENTALIGN) {
        x = self.left;
        y = self.top;
        width = self.right - self.left;
    } else if (style & CCS_NOMOVEY) {
        y = self.top;
    }
    s.inLayout = true;
    SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
    s.inLayout = false;
}

void DrawText3(HDC dc, const std::u16string& text, RECT rc, bool tabs) {
    // Tabs split the text into left, centred and right-aligned pieces.
    const UINT aligns[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    std::size_t start = 0;
    for (int piece = 0; piece < 3; ++piece) {
        std::size_t tab = tabs && piece < 2 ? text.find(u'\t', start) : std::u16string::npos;
        std::u16string part =
            text.substr(start, tab == std::u16string::npos ? std::u16string::npos : tab - start);
        if (!part.empty()) {
            DrawTextW(dc, part.c_str(), static_cast<int>(part.size()), &rc,
                      aligns[piece] | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        if (tab == std::u16string::npos) {
            break;
        }
        start = tab + 1;
    }
}

void PaintPart(HWND hwnd, HDC dc, const StatusPart& part, int index, RECT rc) {
    if (!(part.type & SBT_NOBORDERS)) {
        RECT edge = rc;
        DrawEdge(dc, &edge, (part.type & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    }
    RECT content = rc;
    InflateRect(&content, -1, -1);
    RECT iconRect{};
    if (part.icon) {
        int cx = GetSystemMetrics(SM_CXSMICON);
        int cy = GetSystemMetrics(SM_CYSMICON);
        int top = content.top + std::max(0, static_cast<int>(content.bottom - content.top) - cy) / 2;
        iconRect = RECT{content.left + 1, top, content.left + 1 + cx, top + cy};
        content.left = iconRect.right + 2;
    }
    if (part.type & SBT_OWNERDRAW) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = 0;
        dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        dis.itemID = static_cast<UINT>(index);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.hwndItem = hwnd;
        dis.hDC = dc;
        dis.rcItem = content;
        dis.itemData = static_cast<ULONG_PTR>(part.data);
        if (HWND parent = GetParent(hwnd)) {
            SendMessageW(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        }
    } else if (!part.text.empty()) {
        RECT textRect = content;
        textRect.left += part.icon ? 0 : 2;
        textRect.right -= 2;
        DrawText3(dc, part.text, textRect, !(part.type & SBT_NOTABPARSING));
    }
    // Drawn last, so an owner-drawn part cannot paint over it.
    if (part.icon) {
        DrawIconEx(dc, iconRect.left, iconRect.top, part.icon, iconRect.right - iconRect.left,
                   iconRect.bottom - iconRect.top, 0, nullptr, DI_NORMAL);
    }
}

void Paint(HWND hwnd, StatusState& s) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    COLORREF back = ColorOrSystem(s.background, COLOR_3DFACE);
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    HGDIOBJ oldFont = SelectObject(dc, FontOf(s));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (s.simpleMode) {
        RECT rc{};
        PartRect(hwnd, s, 0, rc);
        PaintPart(hwnd, dc, s.simple, SB_SIMPLEID, rc);
    } else {
        for (int i = 0; i < static_cast<int>(s.parts.size()); ++i) {
            RECT rc{};
            if (PartRect(hwnd, s, i, rc) && rc.right > rc.left) {
                PaintPart(hwnd, dc, s.parts[i], i, rc);
            }
        }
    }
    if (GripShown(hwnd)) {
        RECT grip = GripRect(hwnd);
        DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

StatusPart* PartAt(StatusState& s, int index) {
    if (index == SB_SIMPLEID) {
        return &s.simple;
    }
    if (index < 0 || index >= static_cast<int>(s.parts.size())) {
        return nullptr;
    }
    return &s.parts[index];
}

LRESULT TextInfo(const StatusPart& part) {
    return MAKELONG(static_cast<WORD>(std::min<std::size_t>(part.text.size(), 0xFFFF)),
                    static_cast<WORD>(part.type));
}

// The window's text is the first part's.
LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* s = new StatusState;
    SetState(hwnd, s);
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
        s->parts[0].text = cs->lpszName;
    }
    return DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam);
}

LRESULT OnSize(HWND hwnd, StatusState& s) {
    if (!s.inLayout) {
        Layout(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
}

// The size grip is the bottom-right corner of the top-level window.
LRESULT OnNcHitTest(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(hwnd, &pt);
    RECT grip = GripRect(hwnd);
    if (GripShown(hwnd) && PtInRect(&grip, pt)) {
        return HTBOTTOMRIGHT;
    }
    return DefWindowProcW(hwnd, WM_NCHITTEST, wParam, lParam);
}

// The grip sizes the top-level window, not the bar.
LRESULT OnNcLButtonDown(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (wParam != HTBOTTOMRIGHT) {
        return DefWindowProcW(hwnd, WM_NCLBUTTONDOWN, wParam, lParam);
    }
    SizeTopLevelFromGrip(hwnd, WMSZ_BOTTOMRIGHT, lParam);
    return 0;
}

LRESULT OnSetText(HWND hwnd, StatusState& s, LPARAM lParam) {
    s.parts[0].text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
    s.parts[0].type &= ~static_cast<UINT>(SBT_OWNERDRAW);
    InvalidatePart(hwnd, s, 0);
    return TRUE;
}

// The low byte of wParam is the part (SB_SIMPLEID the simple mode's), the rest its type; an owner-drawn
// part keeps lParam for its owner instead of a text.
LRESULT OnSetPartText(HWND hwnd, StatusState& s, WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(wParam & 0xFF);
    StatusPart* part = PartAt(s, index);
    if (!part) {
        return FALSE;
    }
    part->type = static_cast<UINT>(wParam) & kTypeMask;
    if (part->type & SBT_OWNERDRAW) {
        part->text.clear();
        part->data = lParam;
    } else {
        part->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
        part->data = 0;
    }
    if (index == SB_SIMPLEID ? s.simpleMode : !s.simpleMode) {
        InvalidatePart(hwnd, s, index == SB_SIMPLEID ? 0 : index);
    }
    return TRUE;
}

LRESULT OnGetPartText(StatusState& s, WPARAM wParam, LPARAM lParam) {
    StatusPart* part = PartAt(s, static_cast<int>(wParam & 0xFF));
    if (!part) {
        return 0;
    }
    if (part->type & SBT_OWNERDRAW) {
        return part->data;
    }
    if (auto* buffer = reinterpret_cast<LPWSTR>(lParam)) {
        std::copy(part->text.begin(), part->text.end(), buffer);
        buffer[part->text.size()] = 0;
    }
    return TextInfo(*part);
}

LRESULT OnSetParts(HWND hwnd, StatusState& s, WPARAM count, LPARAM lParam) {
    auto* edges = reinterpret_cast<const int*>(lParam);
    if (!edges || count == 0 || count > kMaxParts) {
        return FALSE;
    }
    s.parts.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        s.parts[i].right = edges[i];
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetParts(const StatusState& s, WPARAM count, LPARAM lParam) {
    if (auto* edges = reinterpret_cast<int*>(lParam)) {
        std::size_t n = std::min<std::size_t>(count, s.parts.size());
        for (std::size_t i = 0; i < n; ++i) {
            edges[i] = s.parts[i].right;
        }
    }
    return static_cast<LRESULT>(s.parts.size());
}

LRESULT OnGetBorders(LPARAM lParam) {
    auto* borders = reinterpret_cast<int*>(lParam);
    if (!borders) {
        return FALSE;
    }
    borders[0] = kBorderX;
    borders[1] = kBorderY;
    borders[2] = kSpacing;
    return TRUE;
}

LRESULT OnGetRect(HWND hwnd, const StatusState& s, WPARAM index, LPARAM lParam) {
    auto* out = reinterpret_cast<RECT*>(lParam);
    RECT rc{};
    if (!out || !PartRect(hwnd, s, static_cast<int>(index), rc)) {
        return FALSE;
    }
    *out = rc;
    return TRUE;
}

// Part -1 is the simple mode's.
StatusPart* IconPart(StatusState& s, WPARAM wParam) {
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    return index == -1 ? &s.simple : PartAt(s, index);
}

LRESULT OnSetIcon(HWND hwnd, StatusState& s, WPARAM wParam, LPARAM lParam) {
    StatusPart* part = IconPart(s, wParam);
    if (!part) {
        return FALSE;
    }
    part->icon = reinterpret_cast<HICON>(lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnSimple(HWND hwnd, StatusState& s, bool simple) {
    if (s.simpleMode != simple) {
        s.simpleMode = simple;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return 0;
}

// The SB_* messages.
LRESULT PartMessage(HWND hwnd, StatusState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case SB_SETTEXTW:
        return OnSetPartText(hwnd, s, wParam, lParam);
    case SB_GETTEXTW:
        return OnGetPartText(s, wParam, lParam);
    case SB_GETTEXTLENGTHW: {
        StatusPart* part = PartAt(s, static_cast<int>(wParam & 0xFF));
        return part ? TextInfo(*part) : 0;
    }
    case SB_SETPARTS:
        return OnSetParts(hwnd, s, wParam, lParam);
    case SB_GETPARTS:
        return OnGetParts(s, wParam, lParam);
    case SB_GETBORDERS:
        return OnGetBorders(lParam);
    case SB_SETMINHEIGHT:
        s.minHeight = static_cast<int>(wParam);
        return 0;
    case SB_SIMPLE:
        return OnSimple(hwnd, s, wParam != 0);
    case SB_ISSIMPLE:
        return s.simpleMode ? TRUE : FALSE;
    case SB_GETRECT:
        return OnGetRect(hwnd, s, wParam, lParam);
    case SB_SETICON:
        return OnSetIcon(hwnd, s, wParam, lParam);
    case SB_GETICON: {
        StatusPart* part = IconPart(s, wParam);
        return part ? reinterpret_cast<LRESULT>(part->icon) : 0;
    }
    case SB_SETBKCOLOR:
        return ReplaceColor(hwnd, s.background, static_cast<COLORREF>(lParam));
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT StatusProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = StateOf<StatusState>(hwnd);
    if (!s) {
        return msg == WM_NCCREATE ? OnNcCreate(hwnd, wParam, lParam)
                                  : DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_CREATE:
        Layout(hwnd, *s);
        return 0;
    case WM_NCDESTROY:
        return DestroyState(hwnd, s, wParam, lParam);
    case WM_SIZE:
        return OnSize(hwnd, *s);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_NCHITTEST:
        return OnNcHitTest(hwnd, wParam, lParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(hwnd, wParam, lParam);
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
        return OnSetText(hwnd, *s, lParam);
    case WM_GETTEXT:
        return CopyTextOut(s->parts[0].text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(s->parts[0].text.size());
    default:
        return PartMessage(hwnd, *s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterStatusBarClass() {
    RegisterControlClass(STATUSCLASSNAMEW, StatusProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW,
                         nullptr);
}
