// The "Edit" class: single-line and multi-line text editing with selection, clipboard and one level of undo;
// a handler per message.
#include "platform/controls/EditState.h"
#include "platform/controls/StandardControls.h"

#include <cstring>

namespace {

using namespace controls;
using namespace controls::edit;

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void SetStyleBit(HWND hwnd, LONG bit, bool on) {
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    SetWindowLongW(hwnd, GWL_STYLE, on ? (style | bit) : (style & ~bit));
}

// Scroll bars scroll automatically; a multi-line edit is never a password field, a single-line one has no
// scroll bars.
DWORD CreationStyle(DWORD style) {
    if (!(style & ES_MULTILINE)) {
        return style & ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
    }
    if (style & WS_HSCROLL) {
        style |= ES_AUTOHSCROLL;
    }
    if (style & WS_VSCROLL) {
        style |= ES_AUTOVSCROLL;
    }
    return style & ~static_cast<DWORD>(ES_PASSWORD);
}

LRESULT OnNcCreate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto* s = new EditState;
    s->hwnd = hwnd;
    SetState(hwnd, s);
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    DWORD style = CreationStyle(static_cast<DWORD>(cs->style));
    if (style & ES_PASSWORD) {
        s->passwordChar = u'*';
    }
    s->bars = style & (WS_HSCROLL | WS_VSCROLL);
    if (style != static_cast<DWORD>(cs->style)) {
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    }
    if (!DefWindowProcW(hwnd, WM_NCCREATE, wParam, lParam)) {
        return FALSE;
    }
    SetText(s, cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : u"");
    return TRUE;
}

LRESULT OnSize(EditState* s) {
    s->formatSet = false;
    Layout(s);
    if (s->firstLine > static_cast<int>(s->lines.size()) - 1) {
        s->firstLine = std::max(0, static_cast<int>(s->lines.size()) - 1);
    }
    UpdateScrollBars(s);
    Redraw(s);
    PlaceCaret(s);
    return 0;
}

LRESULT OnGetDlgCode(const EditState* s) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (Multi(s) && (Style(s) & ES_WANTRETURN)) {
        code |= DLGC_WANTALLKEYS;
    }
    return code;
}

// The caret is hidden while a focused edit paints itself.
LRESULT OnPaint(EditState* s, WPARAM printDc) {
    return PaintClient(s->hwnd, printDc, [s, printDc](HDC dc) {
        bool hide = s->focused && !printDc;
        if (hide) {
            HideCaret(s->hwnd);
        }
        Paint(s, dc);
        if (hide) {
            ShowCaret(s->hwnd);
        }
    });
}

void ShowNewCaret(EditState* s) {
    CreateCaret(s->hwnd, nullptr, 1, s->lineHeight);
    PlaceCaret(s);
    ShowCaret(s->hwnd);
}

LRESULT OnSetFocus(EditState* s) {
    s->focused = true;
    ShowNewCaret(s);
    Redraw(s);
    NotifyParent(s->hwnd, EN_SETFOCUS);
    return 0;
}

LRESULT OnKillFocus(EditState* s) {
    s->focused = false;
    s->selecting = false;
    if (GetCapture() == s->hwnd) {
        ReleaseCapture();
    }
    DestroyCaret();
    Redraw(s);
    NotifyParent(s->hwnd, EN_KILLFOCUS);
    return 0;
}

LRESULT OnSetText(EditState* s, LPARAM lParam) {
    SetText(s, reinterpret_cast<const char16_t*>(lParam));
    Redraw(s);
    // A multi-line edit reports no change for a text set by the program.
    if (!Multi(s)) {
        NotifyParent(s->hwnd, EN_UPDATE);
        NotifyParent(s->hwnd, EN_CHANGE);
    }
    return TRUE;
}

LRESULT OnSetFont(EditState* s, WPARAM wParam, LPARAM lParam) {
    s->font = reinterpret_cast<HFONT>(wParam);
    s->formatSet = false;
    Layout(s);
    if (s->focused) {
        ShowNewCaret(s);
    }
    UpdateScrollBars(s);
    if (LOWORD(lParam)) {
        Redraw(s);
    }
    return 0;
}

// A click places the caret (Shift extends the selection) and starts selecting with the mouse; a double
// click selects the word.
LRESULT OnLButtonDown(EditState* s, UINT msg, WPARAM keys, LPARAM lParam) {
    SetFocus(s->hwnd);
    Measure m(s);
    int pos = PointToPos(s, m, PointOf(lParam));
    if (msg == WM_LBUTTONDBLCLK) {
        SelectWord(s, pos);
        return 0;
    }
    SetSelection(s, (keys & MK_SHIFT) ? s->anchor : pos, pos);
    ScrollCaret(s);
    s->selecting = true;
    SetCapture(s->hwnd);
    return 0;
}

LRESULT OnMouseMove(EditState* s, LPARAM lParam) {
    if (s->selecting && GetCapture() == s->hwnd) {
        Measure m(s);
        SetSelection(s, s->anchor, PointToPos(s, m, PointOf(lParam)));
        ScrollCaret(s);
    }
    return 0;
}

LRESULT OnLButtonUp(EditState* s) {
    if (s->selecting) {
        s->selecting = false;
        if (GetCapture() == s->hwnd) {
            ReleaseCapture();
        }
    }
    return 0;
}

LRESULT OnScrollBar(EditState* s, UINT msg, WPARAM wParam) {
    if (!Multi(s)) {
        return 0;
    }
    int code = LOWORD(wParam);
    int thumb = static_cast<short>(HIWORD(wParam));
    if (msg == WM_VSCROLL) {
        NotifyParent(s->hwnd, EN_VSCROLL);
        VScroll(s, code, thumb);
    } else {
        NotifyParent(s->hwnd, EN_HSCROLL);
        HScroll(s, code, thumb);
    }
    return 0;
}

// A password is never cut (nor copied: Copy declines it).
LRESULT OnClipboard(EditState* s, UINT msg) {
    switch (msg) {
    case WM_COPY:
        Copy(s);
        break;
    case WM_CUT:
        if (!ReadOnly(s) && !(s->passwordChar && !Multi(s))) {
            Copy(s);
            Clear(s);
        }
        break;
    case WM_PASTE:
        Paste(s);
        break;
    default:
        Clear(s);
        break;
    }
    return 0;
}

LRESULT OnGetSel(const EditState* s, WPARAM wParam, LPARAM lParam) {
    DWORD from = static_cast<DWORD>(SelMin(s));
    DWORD to = static_cast<DWORD>(SelMax(s));
    if (wParam) {
        *reinterpret_cast<DWORD*>(wParam) = from;
    }
    if (lParam) {
        *reinterpret_cast<DWORD*>(lParam) = to;
    }
    return (from > 0xFFFF || to > 0xFFFF) ? -1 : static_cast<LRESULT>(MAKELONG(from, to));
}

// Start -1 removes the selection; positions past the end mean the end.
LRESULT OnSetSel(EditState* s, WPARAM wParam, LPARAM lParam) {
    int start = static_cast<int>(wParam);
    int end = static_cast<int>(lParam);
    if (start == -1) {
        SetSelection(s, s->caret, s->caret);
    } else {
        if (end < 0 || end > Len(s)) {
            end = Len(s);
        }
        if (start < 0 || start > Len(s)) {
            start = Len(s);
        }
        SetSelection(s, start, end);
    }
    if (!Multi(s)) {
        ScrollCaret(s);
    }
    return 0;
}

LRESULT OnReplaceSel(EditState* s, WPARAM canUndo, LPARAM lParam) {
    auto* text = reinterpret_cast<const char16_t*>(lParam);
    ReplaceSel(s, text ? std::u16string(text) : std::u16string(), canUndo != 0, false);
    return 0;
}

LRESULT OnUndo(EditState* s) {
    if (!s->canUndo) {
        return FALSE;
    }
    Undo(s);
    return TRUE;
}

LRESULT OnEmptyUndoBuffer(EditState* s) {
    s->undo = Snapshot{};
    s->canUndo = false;
    s->typingRun = false;
    return 0;
}

LRESULT OnSetPasswordChar(EditState* s, WPARAM wParam) {
    if (Multi(s)) {
        return 0;
    }
    s->passwordChar = static_cast<char16_t>(wParam);
    SetStyleBit(s->hwnd, ES_PASSWORD, wParam != 0);
    Layout(s);
    Redraw(s);
    PlaceCaret(s);
    return 0;
}

LRESULT OnSetMargins(EditState* s, WPARAM which, LPARAM lParam) {
    if (which & EC_LEFTMARGIN) {
        s->leftMargin = LOWORD(lParam) == EC_USEFONTINFO ? 1 : LOWORD(lParam);
    }
    if (which & EC_RIGHTMARGIN) {
        s->rightMargin = HIWORD(lParam) == EC_USEFONTINFO ? 1 : HIWORD(lParam);
    }
    s->formatSet = false;
    Layout(s);
    Redraw(s);
    PlaceCaret(s);
    return 0;
}

// A null rectangle goes back to the client area less the margins.
LRESULT OnSetRect(EditState* s, bool redraw, LPARAM lParam) {
    if (lParam) {
        s->format = *reinterpret_cast<const RECT*>(lParam);
        s->formatSet = true;
    } else {
        s->formatSet = false;
    }
    Layout(s);
    UpdateScrollBars(s);
    if (redraw) {
        Redraw(s);
    }
    PlaceCaret(s);
    return 0;
}

LRESULT OnLineIndex(const EditState* s, WPARAM wParam) {
    if (!Multi(s)) {
        return 0;
    }
    int line = static_cast<int>(wParam);
    if (line == -1) {
        line = LineOf(s, s->caret);
    }
    if (line < 0 || line >= static_cast<int>(s->lines.size())) {
        return -1;
    }
    return s->lines[line].start;
}

LRESULT OnLineLength(const EditState* s, WPARAM wParam) {
    if (!Multi(s)) {
        return Len(s);
    }
    int index = static_cast<int>(wParam);
    if (index == -1) {
        // The characters not selected on the lines the selection touches.
        if (SelMin(s) == SelMax(s)) {
            return 0;
        }
        const Line& first = s->lines[LineOf(s, SelMin(s))];
        const Line& last = s->lines[LineOf(s, SelMax(s))];
        return (SelMin(s) - first.start) + (last.start + last.length - SelMax(s));
    }
    if (index > Len(s)) {
        return 0;
    }
    return s->lines[LineOf(s, index)].length;
}

// The buffer's first word holds its size; the line is not terminated.
LRESULT OnGetLine(const EditState* s, WPARAM wParam, LPARAM lParam) {
    if (!lParam) {
        return 0;
    }
    auto* buffer = reinterpret_cast<char16_t*>(lParam);
    int size = static_cast<int>(*reinterpret_cast<WORD*>(buffer));
    int line = Multi(s) ? static_cast<int>(wParam) : 0;
    if (line < 0 || line >= static_cast<int>(s->lines.size())) {
        return 0;
    }
    const Line& l = s->lines[line];
    int count = std::min(size, l.length);
    std::memcpy(buffer, s->text.data() + l.start, static_cast<size_t>(count) * sizeof(char16_t));
    return count;
}

LRESULT OnLineFromChar(const EditState* s, WPARAM wParam) {
    if (!Multi(s)) {
        return 0;
    }
    int index = static_cast<int>(wParam);
    if (index == -1) {
        index = SelMin(s) != SelMax(s) ? SelMin(s) : s->caret;
    }
    return LineOf(s, std::min(index, Len(s)));
}

// Columns are average character widths.
LRESULT OnLineScroll(EditState* s, WPARAM columns, LPARAM lines) {
    if (!Multi(s)) {
        return FALSE;
    }
    if (columns && NoWrap(s)) {
        ScrollPixels(s, static_cast<int>(columns) * FontMetrics(s->font).tmAveCharWidth);
    }
    ScrollLines(s, static_cast<int>(lines));
    return TRUE;
}

LRESULT OnScroll(EditState* s, WPARAM code) {
    if (!Multi(s)) {
        return FALSE;
    }
    if (code != SB_LINEUP && code != SB_LINEDOWN && code != SB_PAGEUP && code != SB_PAGEDOWN) {
        return FALSE;
    }
    LRESULT moved = VScroll(s, static_cast<int>(code), 0);
    return MAKELONG(static_cast<WORD>(moved), TRUE);
}

// A single-line edit answers the first character shown.
LRESULT OnGetFirstVisibleLine(const EditState* s) {
    if (Multi(s)) {
        return s->firstLine;
    }
    Measure m(s);
    return PointToPos(s, m, POINT{s->format.left, s->format.top});
}

LRESULT OnPosFromChar(const EditState* s, WPARAM wParam) {
    int index = static_cast<int>(wParam);
    if (index < 0 || index > Len(s)) {
        return -1;
    }
    Measure m(s);
    POINT p = PosToPoint(s, m, index);
    return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

LRESULT OnCharFromPos(const EditState* s, LPARAM lParam) {
    Measure m(s);
    int pos = PointToPos(s, m, PointOf(lParam));
    return MAKELONG(static_cast<WORD>(pos), static_cast<WORD>(LineOf(s, pos)));
}

// Lines, positions and scrolling.
LRESULT LineMessage(EditState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case EM_GETLINECOUNT:
        return Multi(s) ? static_cast<LRESULT>(s->lines.size()) : 1;
    case EM_LINEINDEX:
        return OnLineIndex(s, wParam);
    case EM_LINELENGTH:
        return OnLineLength(s, wParam);
    case EM_GETLINE:
        return OnGetLine(s, wParam, lParam);
    case EM_LINEFROMCHAR:
        return OnLineFromChar(s, wParam);
    case EM_SCROLLCARET:
        ScrollCaret(s);
        return TRUE;
    case EM_LINESCROLL:
        return OnLineScroll(s, wParam, lParam);
    case EM_SCROLL:
        return OnScroll(s, wParam);
    case EM_GETFIRSTVISIBLELINE:
        return OnGetFirstVisibleLine(s);
    case EM_POSFROMCHAR:
        return OnPosFromChar(s, wParam);
    case EM_CHARFROMPOS:
        return OnCharFromPos(s, lParam);
    case EM_SETTABSTOPS:
        return TRUE;
    default:
        return DefWindowProcW(s->hwnd, msg, wParam, lParam);
    }
}

// The selection, undo, and the edit's settings.
LRESULT EditMessage(EditState* s, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_UNDO:
    case EM_UNDO:
        return OnUndo(s);
    case EM_CANUNDO:
        return s->canUndo;
    case EM_EMPTYUNDOBUFFER:
        return OnEmptyUndoBuffer(s);
    case EM_GETSEL:
        return OnGetSel(s, wParam, lParam);
    case EM_SETSEL:
        return OnSetSel(s, wParam, lParam);
    case EM_REPLACESEL:
        return OnReplaceSel(s, wParam, lParam);
    case EM_LIMITTEXT:
        s->limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE)) : 0x7FFFFFFE;
        return 0;
    case EM_GETLIMITTEXT:
        return s->limit;
    case EM_SETREADONLY:
        SetStyleBit(s->hwnd, ES_READONLY, wParam != 0);
        Redraw(s);
        return TRUE;
    case EM_GETMODIFY:
        return s->modified;
    case EM_SETMODIFY:
        s->modified = wParam != 0;
        return 0;
    case EM_SETPASSWORDCHAR:
        return OnSetPasswordChar(s, wParam);
    case EM_GETPASSWORDCHAR:
        return s->passwordChar;
    case EM_SETMARGINS:
        return OnSetMargins(s, wParam, lParam);
    case EM_GETMARGINS:
        return MAKELONG(s->leftMargin, s->rightMargin);
    case EM_GETRECT:
        if (lParam) {
            *reinterpret_cast<RECT*>(lParam) = s->format;
        }
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        return OnSetRect(s, msg == EM_SETRECT, lParam);
    default:
        return LineMessage(s, msg, wParam, lParam);
    }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        return OnNcCreate(hwnd, wParam, lParam);
    }
    auto* s = StateOf<EditState>(hwnd);
    if (!s) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCDESTROY:
        return DestroyState(hwnd, s, wParam, lParam);
    case WM_CREATE:
        Layout(s);
        UpdateScrollBars(s);
        return 0;
    case WM_SIZE:
        return OnSize(s);
    case WM_GETDLGCODE:
        return OnGetDlgCode(s);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return OnPaint(s, wParam);
    case WM_SETFOCUS:
        return OnSetFocus(s);
    case WM_KILLFOCUS:
        return OnKillFocus(s);
    case WM_ENABLE:
        Redraw(s);
        return 0;
    case WM_SETTEXT:
        return OnSetText(s, lParam);
    case WM_GETTEXT:
        return CopyTextOut(s->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return Len(s);
    case WM_SETFONT:
        return OnSetFont(s, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_CHAR:
        Char(s, static_cast<char16_t>(wParam));
        return 0;
    case WM_KEYDOWN:
        KeyDown(s, wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(s, msg, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(s, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(s);
    case WM_CAPTURECHANGED:
        s->selecting = false;
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        return OnScrollBar(s, msg, wParam);
    case WM_MOUSEWHEEL:
        if (!Multi(s)) {
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        ScrollLines(s, -3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    case WM_COPY:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
        return OnClipboard(s, msg);
    default:
        return EditMessage(s, msg, wParam, lParam);
    }
}

} // namespace

void RegisterEditClass() {
    RegisterControlClass(u"Edit", EditProc, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM, nullptr);
}
