// The up-down control ("msctls_updown32"): two arrow buttons that step a position, ask the parent first with
// UDN_DELTAPOS, then report with WM_VSCROLL/WM_HSCROLL; optionally writes the position into a buddy window.
#include "platform/controls/CommonControls.h"
#include "platform/controls/ControlsCommon.h"

#include "platform/base/Geometry.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace controls;

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstDelay = 500;
constexpr UINT kRepeatDelay = 100;
const char16_t kBuddyOwnerProp[] = u"DolivaUpDownOwner";
const char16_t kBuddyProcProp[] = u"DolivaUpDownBuddyProc";

enum Part { kNone = 0, kUp = 1, kDown = 2 };

struct UpDownState {
    HFONT font = nullptr;
    int lower = 100; // the documented default range runs from 100 down to 0
    int upper = 0;
    int pos = 0;
    int base = 10;
    HWND buddy = nullptr;
    std::vector<UDACCEL> accel{{0, 1}, {2, 5}, {5, 20}};
    int pressed = kNone;
    bool over = false;
    std::uint64_t pressStart = 0;
};

int Lo(const UpDownState& s) {
    return std::min(s.lower, s.upper);
}
int Hi(const UpDownState& s) {
    return std::max(s.lower, s.upper);
}

std::u16string Format(HWND hwnd, const UpDownState& s) {
    char buffer[32];
    if (s.base == 16) {
        std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(s.pos));
        std::string text(buffer);
        return std::u16string(text.begin(), text.end());
    }
    std::snprintf(buffer, sizeof buffer, "%d", s.pos < 0 ? -s.pos : s.pos);
    std::string digits(buffer);
    std::string out;
    bool thousands = !(ClassStyle(hwnd) & UDS_NOTHOUSANDS);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (thousands && i > 0 && (digits.size() - i) % 3 == 0) {
            out.push_back(',');
        }
        out.push_back(digits[i]);
    }
    if (s.pos < 0) {
        out.insert(out.begin(), '-');
    }
    return std::u16string(out.begin(), out.end());
}

// The buddy's text as a number: separators allowed in base 10, an optional 0x in base 16.
bool Parse(const std::u16string& text, int base, int& out) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') {
        ++i;
    }
    bool negative = false;
    if (base == 10 && i < text.size() && text[i] == u'-') {
        negative = true;
        ++i;
    }
    if (base == 16 && i + 1 < text.size() && text[i] == u'0' &&
        (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
    }
    long long value = 0;
    int digits = 0;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        int d = -1;
        if (c >= u'0' && c <= u'9') {
            d = c - u'0';
        } else if (base == 16 && c >= u'a' && c <= u'f') {
            d = c - u'a' + 10;
        } else if (base == 16 && c >= u'A' && c <= u'F') {
            d = c - u'A' + 10;
        } else if (base == 10 && c == u',') {
            continue;
        } else if (c == u' ') {
            break;
        } else {
            return false;
        }
        value = value * base + d;
        if (value > 0x7FFFFFFFLL) {
            return false;
        }
        ++digits;
    }
    for (; i < text.size(); ++i) {
        if (text[i] != u' ') {
            return false;
        }
    }
    if (!digits) {
        return false;
    }
    out = static_cast<int>(negative ? -value : value);
    return true;
}

bool BuddyInt(HWND hwnd, const UpDownState& s) {
    return s.buddy && IsWindow(s.buddy) && (ClassStyle(hwnd) & UDS_SETBUDDYINT);
}

// Takes the position from the buddy's text; false when the text is no number in range.
bool SyncFromBuddy(HWND hwnd, UpDownState& s) {
    if (!BuddyInt(hwnd, s)) {
        return true;
    }
    int length = GetWindowTextLengthW(s.buddy);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(s.buddy, text.data(), length + 1)));
    int value = 0;
    if (!Parse(text, s.base, value) || value < Lo(s) || value > Hi(s)) {
        return false;
    }
    s.pos = value;
    return true;
}

void UpdateBuddy(HWND hwnd, const UpDownState& s) {
    if (BuddyInt(hwnd, s)) {
        SetWindowTextW(s.buddy, Format(hwnd, s).c_str());
    }
}

RECT PartRect(HWND hwnd, int part) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    if (ClassStyle(hwnd) & UDS_HORZ) {
        int mid = (rc.left + rc.right) / 2;
        if (part == kUp) {
            rc.left = mid;
        } else {
            rc.right = mid;
        }
    } else {
        int mid = (rc.top + rc.bottom) / 2;
        if (part == kUp) {
            rc.bottom = mid;
        } else {
            rc.top = mid;
        }
    }
    return rc;
}

int HitPart(HWND hwnd, POINT pt) {
    for (int part : {kUp, kDown}) {
        RECT rc = PartRect(hwnd, part);
        if (PtInRect(&rc, pt)) {
            return part;
        }
    }
    return kNone;
}

int Increment(const UpDownState& s, std::uint64_t heldMs) {
    int inc = 1;
    for (const UDACCEL& a : s.accel) {
        if (heldMs >= static_cast<std::uint64_t>(a.nSec) * 1000) {
            inc = static_cast<int>(a.nInc);
        }
    }
    return std::max(inc, 1);
}

void Step(HWND hwnd, UpDownState& s, int part, std::uint64_t heldMs) {
    SyncFromBuddy(hwnd, s);
    int delta = Increment(s, heldMs);
    if (part == kDown) {
        delta = -delta;
    }
    if (s.lower > s.upper) {
        delta = -delta; // an inverted range: "up" still moves toward the upper end
    }
    HWND parent = GetParent(hwnd);
    NMUPDOWN nm{};
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd));
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = s.pos;
    nm.iDelta = delta;
    if (parent && SendMessageW(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm))) {
        return;
    }
    if (!IsWindow(hwnd)) {
        return;
    }
    long long next = static_cast<long long>(s.pos) + nm.iDelta;
    if (next > Hi(s)) {
        next = (ClassStyle(hwnd) & UDS_WRAP) ? Lo(s) : Hi(s);
    } else if (next < Lo(s)) {
        next = (ClassStyle(hwnd) & UDS_WRAP) ? Hi(s) : Lo(s);
    }
    if (next != s.pos) {
        s.pos = static_cast<int>(next);
        UpdateBuddy(hwnd, s);
    }
    if (parent) {
        UINT msg = (ClassStyle(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
        SendMessageW(parent, msg, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(s.pos)),
                     reinterpret_cast<LPARAM>(hwnd));
    }
}

void EndScroll(HWND hwnd) {
    if (HWND parent = GetParent(hwnd)) {
        UINT msg = (ClassStyle(hwnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
        SendMessageW(parent, msg, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(hwnd));
    }
}

LRESULT BuddyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kBuddyProcProp));
    HWND owner = reinterpret_cast<HWND>(GetPropW(hwnd, kBuddyOwnerProp));
    if (owner && IsWindow(owner) && (msg == WM_KEYDOWN || msg == WM_KEYUP) &&
        (wParam == VK_UP || wParam == VK_DOWN)) {
        SendMessageW(owner, msg, wParam, lParam);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kBuddyOwnerProp);
        RemovePropW(hwnd, kBuddyProcProp);
        if (old) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        }
    }
    return old ? CallWindowProcW(old, hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Unsubclass(HWND buddy) {
    if (!buddy || !IsWindow(buddy) || !GetPropW(buddy, kBuddyProcProp)) {
        return;
    }
    auto old = reinterpret_cast<WNDPROC>(GetPropW(buddy, kBuddyProcProp));
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(buddy, GWLP_WNDPROC)) == BuddyProc) {
        SetWindowLongPtrW(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(buddy, kBuddyProcProp);
    }
    RemovePropW(buddy, kBuddyOwnerProp);
}

void Align(HWND hwnd, UpDownState& s) {
    DWORD style = ClassStyle(hwnd);
    if (!(style & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT)) || !s.buddy) {
        return;
    }
    HWND parent = GetParent(hwnd);
    RECT buddy{};
    GetWindowRect(s.buddy, &buddy);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&buddy), 2);
    RECT self{};
    GetWindowRect(hwnd, &self);
    int width = self.right - self.left;
    if (width <= 0) {
        width = GetSystemMetrics(SM_CXVSCROLL);
    }
    int height = buddy.bottom - buddy.top;
    // The arrows sit on the buddy's edge and overlap its border.
    constexpr int overlap = 2;
    int buddyWidth = std::max<LONG>(0, buddy.right - buddy.left - width + overlap);
    if (style & UDS_ALIGNRIGHT) {
        SetWindowPos(s.buddy, nullptr, 0, 0, buddyWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, buddy.left + buddyWidth - overlap, buddy.top, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(s.buddy, nullptr, buddy.left + width - overlap, buddy.top, buddyWidth, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, buddy.left, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND SetBuddy(HWND hwnd, UpDownState& s, HWND buddy) {
    HWND old = s.buddy;
    Unsubclass(old);
    s.buddy = buddy && IsWindow(buddy) ? buddy : nullptr;
    if (!s.buddy) {
        return old;
    }
    if ((ClassStyle(hwnd) & UDS_ARROWKEYS) && !GetPropW(s.buddy, kBuddyProcProp)) {
        LONG_PTR previous = SetWindowLongPtrW(s.buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc));
        SetPropW(s.buddy, kBuddyProcProp, reinterpret_cast<HANDLE>(previous));
        SetPropW(s.buddy, kBuddyOwnerProp, reinterpret_cast<HANDLE>(hwnd));
    }
    Align(hwnd, s);
    return old;
}

void Paint(HWND hwnd, UpDownState& s) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    bool horz = (ClassStyle(hwnd) & UDS_HORZ) != 0;
    UINT inactive = IsWindowEnabled(hwnd) ? 0 : DFCS_INACTIVE;
    for (int part : {kUp, kDown}) {
        RECT rc = PartRect(hwnd, part);
        UINT kind = horz ? (part == kUp ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT)
                         : (part == kUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
        UINT pushed = (s.pressed == part && s.over) ? DFCS_PUSHED : 0;
        DrawFrameControl(dc, &rc, DFC_SCROLL, kind | pushed | inactive);
    }
    EndPaint(hwnd, &ps);
}

void Release(HWND hwnd, UpDownState& s) {
    if (s.pressed == kNone) {
        return;
    }
    s.pressed = kNone;
    KillTimer(hwnd, kRepeatTimer);
    InvalidateRect(hwnd, nullptr, FALSE);
    EndScroll(hwnd);
}

LRESULT OnNcDestroy(HWND hwnd, UpDownState* s, WPARAM wParam, LPARAM lParam) {
    Unsubclass(s->buddy);
    return DestroyState(hwnd, s, wParam, lParam);
}

// A press on an arrow steps at once, then repeats after the first delay while the button is held.
LRESULT OnLButtonDown(HWND hwnd, UpDownState& s, LPARAM lParam) {
    int part = HitPart(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (part == kNone || !IsWindowEnabled(hwnd)) {
        return 0;
    }
    SetCapture(hwnd);
    s.pressed = part;
    s.over = true;
    s.pressStart = DisplayNow();
    InvalidateRect(hwnd, nullptr, FALSE);
    Step(hwnd, s, part, 0);
    if (IsWindow(hwnd) && s.pressed != kNone) {
        SetTimer(hwnd, kRepeatTimer, kFirstDelay, nullptr);
    }
    return 0;
}

LRESULT OnMouseMove(HWND hwnd, UpDownState& s, LPARAM lParam) {
    if (s.pressed != kNone) {
        bool over = HitPart(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == s.pressed;
        if (over != s.over) {
            s.over = over;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
    }
    return 0;
}

// Steps only while the mouse is on the pressed arrow; the longer it is held, the larger the steps.
LRESULT OnTimer(HWND hwnd, UpDownState& s, UINT_PTR timer) {
    if (timer == kRepeatTimer && s.pressed != kNone) {
        if (s.over) {
            Step(hwnd, s, s.pressed, DisplayNow() - s.pressStart);
        }
        if (IsWindow(hwnd) && s.pressed != kNone) {
            SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
        }
    }
    return 0;
}

// With UDS_ARROWKEYS the up and down keys step like the arrows.
LRESULT OnKey(HWND hwnd, UpDownState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!(ClassStyle(hwnd) & UDS_ARROWKEYS) || (wParam != VK_UP && wParam != VK_DOWN)) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_KEYDOWN) {
        Step(hwnd, s, wParam == VK_UP ? kUp : kDown, 0);
    } else {
        EndScroll(hwnd);
    }
    return 0;
}

LRESULT SetRange(UpDownState& s, int lower, int upper) {
    s.lower = lower;
    s.upper = upper;
    s.pos = std::clamp(s.pos, Lo(s), Hi(s));
    return 0;
}

LRESULT OnGetRange32(const UpDownState& s, WPARAM lower, LPARAM upper) {
    if (lower) {
        *reinterpret_cast<int*>(lower) = s.lower;
    }
    if (upper) {
        *reinterpret_cast<int*>(upper) = s.upper;
    }
    return 0;
}

// The buddy's text counts as the position; the new one is written back into it.
LRESULT OnSetPos(HWND hwnd, UpDownState& s, int wanted) {
    SyncFromBuddy(hwnd, s);
    int old = s.pos;
    s.pos = std::clamp(wanted, Lo(s), Hi(s));
    UpdateBuddy(hwnd, s);
    return old;
}

// The error flag is set when the buddy's text is not a number.
LRESULT OnGetPos32(HWND hwnd, UpDownState& s, LPARAM error) {
    bool ok = SyncFromBuddy(hwnd, s);
    if (error) {
        *reinterpret_cast<BOOL*>(error) = ok ? FALSE : TRUE;
    }
    return s.pos;
}

LRESULT OnSetBase(HWND hwnd, UpDownState& s, WPARAM base) {
    if (base != 10 && base != 16) {
        return 0;
    }
    int old = s.base;
    s.base = static_cast<int>(base);
    UpdateBuddy(hwnd, s);
    return old;
}

LRESULT OnSetAccel(UpDownState& s, WPARAM count, LPARAM lParam) {
    auto* table = reinterpret_cast<const UDACCEL*>(lParam);
    if (!table || count == 0) {
        return FALSE;
    }
    s.accel.assign(table, table + count);
    return TRUE;
}

LRESULT OnGetAccel(const UpDownState& s, WPARAM count, LPARAM lParam) {
    if (auto* out = reinterpret_cast<UDACCEL*>(lParam)) {
        std::copy_n(s.accel.begin(), std::min<std::size_t>(count, s.accel.size()), out);
    }
    return static_cast<LRESULT>(s.accel.size());
}

// The UDM_* messages.
LRESULT UpDownMessage(HWND hwnd, UpDownState& s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case UDM_SETRANGE:
        return SetRange(s, static_cast<short>(HIWORD(lParam)), static_cast<short>(LOWORD(lParam)));
    case UDM_GETRANGE:
        return MAKELONG(static_cast<WORD>(s.upper), static_cast<WORD>(s.lower));
    case UDM_SETRANGE32:
        return SetRange(s, static_cast<int>(wParam), static_cast<int>(lParam));
    case UDM_GETRANGE32:
        return OnGetRange32(s, wParam, lParam);
    case UDM_SETPOS:
        return OnSetPos(hwnd, s, static_cast<short>(LOWORD(lParam)));
    case UDM_SETPOS32:
        return OnSetPos(hwnd, s, static_cast<int>(lParam));
    case UDM_GETPOS: {
        bool ok = SyncFromBuddy(hwnd, s);
        return MAKELONG(static_cast<WORD>(s.pos), ok ? 0 : 1);
    }
    case UDM_GETPOS32:
        return OnGetPos32(hwnd, s, lParam);
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(hwnd, s, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(s.buddy);
    case UDM_SETBASE:
        return OnSetBase(hwnd, s, wParam);
    case UDM_GETBASE:
        return s.base;
    case UDM_SETACCEL:
        return OnSetAccel(s, wParam, lParam);
    case UDM_GETACCEL:
        return OnGetAccel(s, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT UpDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = StateOrNew<UpDownState>(hwnd, msg);
    if (!s) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_CREATE:
        if (ClassStyle(hwnd) & UDS_AUTOBUDDY) {
            SetBuddy(hwnd, *s, GetWindow(hwnd, GW_HWNDPREV));
        }
        return 0;
    case WM_NCDESTROY:
        return OnNcDestroy(hwnd, s, wParam, lParam);
    case WM_PAINT:
        Paint(hwnd, *s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(hwnd, *s, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(hwnd, *s, lParam);
    case WM_TIMER:
        return OnTimer(hwnd, *s, wParam);
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        Release(hwnd, *s);
        return 0;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        Release(hwnd, *s);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_KEYDOWN:
    case WM_KEYUP:
        return OnKey(hwnd, *s, msg, wParam, lParam);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    default:
        return UpDownMessage(hwnd, *s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterUpDownClass() {
    RegisterControlClass(UPDOWN_CLASSW, UpDownProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW,
                         reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1)));
}
