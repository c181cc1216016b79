// The edit control's text, lines, selection, clipboard, undo, keys, painting and scrolling.
#include "platform/controls/EditState.h"

#include "platform/clipboard/Clipboard.h"

#include <cstring>

namespace controls::edit {

namespace {

std::u16string Shown(const EditState* s) {
    if (s->passwordChar && !Multi(s)) {
        return std::u16string(s->text.size(), s->passwordChar);
    }
    return s->text;
}

void ComputeFormatRect(EditState* s) {
    if (s->formatSet) {
        return;
    }
    RECT client;
    GetClientRect(s->hwnd, &client);
    s->format = client;
    s->format.left += s->leftMargin;
    s->format.right -= s->rightMargin;
    if (!Multi(s) && client.bottom - client.top > s->lineHeight + 1) {
        s->format.top += 1;
    }
    if (s->format.right < s->format.left) {
        s->format.right = s->format.left;
    }
    s->format.bottom = std::max(s->format.bottom, s->format.top);
}

int VisibleLines(const EditState* s) {
    return std::max(1, static_cast<int>((s->format.bottom - s->format.top) / std::max(1, s->lineHeight)));
}

} // namespace

void Layout(EditState* s) {
    Measure m(s);
    TEXTMETRICW tm{};
    GetTextMetricsW(m.dc(), &tm);
    s->lineHeight = std::max<int>(1, tm.tmHeight);
    ComputeFormatRect(s);
    s->lines.clear();
    if (!Multi(s)) {
        s->lines.push_back(Line{0, Len(s), 0});
        return;
    }
    int width = s->format.right - s->format.left;
    bool wrap = !NoWrap(s);
    int pos = 0;
    const int n = Len(s);
    while (true) {
        int end = pos;
        while (end < n && s->text[end] != u'\n' &&
               !(s->text[end] == u'\r' && end + 1 < n && s->text[end + 1] == u'\n')) {
            ++end;
        }
        int breakLen = end < n ? (s->text[end] == u'\r' ? 2 : 1) : 0;
        // The paragraph [pos, end), wrapped into lines.
        int start = pos;
        if (wrap && end > start) {
            std::vector<int> ext = m.Prefixes(s->text.data() + start, end - start);
            int i = 0;
            const int count = end - start;
            while (count - i > 0 && ext[count] - ext[i] > width) {
                // The longest run that fits, broken after the last space in it.
                int fit = i;
                while (fit < count && ext[fit + 1] - ext[i] <= width) {
                    ++fit;
                }
                if (fit == i) {
                    fit = i + 1;
                }
                int brk = fit;
                for (int k = fit; k > i; --k) {
                    if (s->text[start + k - 1] == u' ' || s->text[start + k - 1] == u'\t') {
                        brk = k;
                        break;
                    }
                }
                // Spaces that overflow stay on the line they end.
                while (brk < count && s->text[start + brk] == u' ') {
                    ++brk;
                }
                s->lines.push_back(Line{start + i, brk - i, 0});
                i = brk;
            }
            s->lines.push_back(Line{start + i, count - i, breakLen});
        } else {
            s->lines.push_back(Line{start, end - start, breakLen});
        }
        if (breakLen == 0) {
            break;
        }
        pos = end + breakLen;
    }
}

int LineOf(const EditState* s, int pos) {
    int line = 0;
    for (int i = 0; i < static_cast<int>(s->lines.size()); ++i) {
        if (s->lines[i].start <= pos) {
            line = i;
        } else {
            break;
        }
    }
    return line;
}

namespace {

int LineWidth(const EditState* s, const Measure& m, int line) {
    const Line& l = s->lines[line];
    std::u16string shown = Shown(s);
    return m.Width(shown.data() + l.start, l.length);
}

int AlignOffset(const EditState* s, const Measure& m, int line) {
    DWORD style = Style(s);
    int width = s->format.right - s->format.left;
    int lw = LineWidth(s, m, line);
    if (lw >= width) {
        return 0;
    }
    if (style & ES_CENTER) {
        return (width - lw) / 2;
    }
    if (style & ES_RIGHT) {
        return width - lw - 1;
    }
    return 0;
}

} // namespace

POINT PosToPoint(const EditState* s, const Measure& m, int pos) {
    int line = LineOf(s, pos);
    const Line& l = s->lines[line];
    std::u16string shown = Shown(s);
    int x = s->format.left - s->xOffset + AlignOffset(s, m, line) +
            m.Width(shown.data() + l.start, pos - l.start);
    int y = s->format.top + (Multi(s) ? (line - s->firstLine) * s->lineHeight : 0);
    return POINT{x, y};
}

int PointToPos(const EditState* s, const Measure& m, POINT p) {
    int line = 0;
    if (Multi(s)) {
        int rel = p.y - s->format.top;
        line = s->firstLine + (rel < 0 ? -1 - (-rel - 1) / s->lineHeight : rel / s->lineHeight);
        line = std::clamp(line, 0, static_cast<int>(s->lines.size()) - 1);
    }
    const Line& l = s->lines[line];
    std::u16string shown = Shown(s);
    std::vector<int> ext = m.Prefixes(shown.data() + l.start, l.length);
    int x = p.x - (s->format.left - s->xOffset + AlignOffset(s, m, line));
    int best = 0;
    for (int i = 0; i <= l.length; ++i) {
        if (i == l.length || x < (ext[i] + ext[i + 1] + 1) / 2) {
            best = i;
            break;
        }
    }
    // A wrapped line's end is the next line's start; stay on this one.
    if (best == l.length && l.breakLen == 0 && line + 1 < static_cast<int>(s->lines.size()) && l.length > 0) {
        best = l.length - 1;
        if (x >= ext[l.length]) {
            best = l.length;
        }
    }
    return l.start + best;
}

void UpdateScrollBars(EditState* s) {
    if (s->updatingBars || !Multi(s)) {
        return;
    }
    s->updatingBars = true;
    DWORD style = s->bars;
    if (style & WS_VSCROLL) {
        SCROLLINFO si{sizeof(si),
                      SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                      0,
                      static_cast<int>(s->lines.size()) - 1,
                      static_cast<UINT>(VisibleLines(s)),
                      s->firstLine,
                      0};
        SetScrollInfo(s->hwnd, SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        Measure m(s);
        int widest = 0;
        for (int i = 0; i < static_cast<int>(s->lines.size()); ++i) {
            widest = std::max(widest, LineWidth(s, m, i));
        }
        int page = s->format.right - s->format.left;
        SCROLLINFO si{sizeof(si),
                      SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                      0,
                      std::max(widest + 1, page) - 1,
                      static_cast<UINT>(page),
                      s->xOffset,
                      0};
        SetScrollInfo(s->hwnd, SB_HORZ, &si, TRUE);
    }
    s->updatingBars = false;
}

void PlaceCaret(EditState* s) {
    if (!s->focused) {
        return;
    }
    Measure m(s);
    POINT p = PosToPoint(s, m, s->caret);
    SetCaretPos(p.x, p.y);
}

bool ScrollCaret(EditState* s) {
    bool moved = false;
    Measure m(s);
    if (Multi(s)) {
        int line = LineOf(s, s->caret);
        int visible = VisibleLines(s);
        if (line < s->firstLine) {
            s->firstLine = line;
            moved = true;
        } else if (line >= s->firstLine + visible) {
            s->firstLine = line - visible + 1;
            moved = true;
        }
    }
    if (NoWrap(s)) {
        int line = LineOf(s, s->caret);
        const Line& l = s->lines[line];
        std::u16string shown = Shown(s);
        int x = AlignOffset(s, m, line) + m.Width(shown.data() + l.start, s->caret - l.start);
        int width = s->format.right - s->format.left;
        if (x < s->xOffset) {
            s->xOffset = std::max(0, x - width / 4);
            moved = true;
        } else if (x >= s->xOffset + width) {
            s->xOffset = x - width + width / 4;
            moved = true;
        }
    }
    if (moved) {
        UpdateScrollBars(s);
        Redraw(s);
    }
    PlaceCaret(s);
    return moved;
}

void SetSelection(EditState* s, int anchor, int caret) {
    anchor = std::clamp(anchor, 0, Len(s));
    caret = std::clamp(caret, 0, Len(s));
    // Never inside a CR LF pair.
    auto fix = [s](int pos) {
        return (pos > 0 && pos < Len(s) && s->text[pos - 1] == u'\r' && s->text[pos] == u'\n') ? pos - 1
                                                                                               : pos;
    };
    anchor = fix(anchor);
    caret = fix(caret);
    if (anchor != s->anchor || caret != s->caret) {
        s->anchor = anchor;
        s->caret = caret;
        Redraw(s);
    }
    s->typingRun = false;
    PlaceCaret(s);
}

namespace {

void Changed(EditState* s, bool notify) {
    if (notify) {
        NotifyParent(s->hwnd, EN_UPDATE);
    }
    Redraw(s);
    if (notify) {
        NotifyParent(s->hwnd, EN_CHANGE);
    }
}

} // namespace

bool ReplaceSel(EditState* s, std::u16string insert, bool canUndo, bool user, bool typing) {
    int from = SelMin(s);
    int to = SelMax(s);
    if (!Multi(s)) {
        // One line: stop at the first line break.
        size_t cut = insert.find_first_of(u"\r\n");
        if (cut != std::u16string::npos) {
            insert.resize(cut);
        }
    }
    int room = s->limit - (Len(s) - (to - from));
    if (static_cast<int>(insert.size()) > std::max(0, room)) {
        insert.resize(static_cast<size_t>(std::max(0, room)));
        NotifyParent(s->hwnd, EN_MAXTEXT);
        if (insert.empty() && from == to) {
            return false;
        }
    }
    std::u16string next = s->text;
    next.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), insert);
    if (!Multi(s) && !(Style(s) & ES_AUTOHSCROLL) && !insert.empty()) {
        Measure m(s);
        std::u16string shown = s->passwordChar ? std::u16string(next.size(), s->passwordChar) : next;
        if (m.Width(shown.data(), static_cast<int>(shown.size())) > s->format.right - s->format.left) {
            NotifyParent(s->hwnd, EN_MAXTEXT);
            return false;
        }
    }
    if (user && Multi(s) && !(Style(s) & ES_AUTOVSCROLL) && !insert.empty()) {
        // Without vertical scrolling the text must fit the lines shown.
        std::u16string kept = std::move(s->text);
        std::vector<Line> keptLines = std::move(s->lines);
        s->text = next;
        Layout(s);
        bool fits = static_cast<int>(s->lines.size()) <= VisibleLines(s);
        s->text = std::move(kept);
        s->lines = std::move(keptLines);
        if (!fits) {
            NotifyParent(s->hwnd, EN_MAXTEXT);
            return false;
        }
    }
    if (canUndo) {
        if (!(typing && s->typingRun)) {
            s->undo = Snapshot{s->text, s->anchor, s->caret};
        }
        s->canUndo = true;
    } else {
        s->undo = Snapshot{};
        s->canUndo = false;
    }
    s->text = std::move(next);
    s->anchor = s->caret = from + static_cast<int>(insert.size());
    s->typingRun = typing;
    s->modified = true;
    Layout(s);
    if (s->firstLine > static_cast<int>(s->lines.size()) - 1) {
        s->firstLine = std::max(0, static_cast<int>(s->lines.size()) - 1);
    }
    DWORD style = Style(s);
    if (!Multi(s) || (style & (ES_AUTOVSCROLL | WS_VSCROLL)) || (style & ES_AUTOHSCROLL)) {
        ScrollCaret(s);
    }
    UpdateScrollBars(s);
    PlaceCaret(s);
    Changed(s, true);
    return true;
}

void SetText(EditState* s, const char16_t* text) {
    s->text = text ? std::u16string(text) : std::u16string();
    if (!Multi(s)) {
        size_t cut = s->text.find_first_of(u"\r\n");
        if (cut != std::u16string::npos) {
            s->text.resize(cut);
        }
    }
    s->anchor = s->caret = 0;
    s->firstLine = 0;
    s->xOffset = 0;
    s->undo = Snapshot{};
    s->canUndo = false;
    s->typingRun = false;
    s->modified = false;
    Layout(s);
    UpdateScrollBars(s);
    PlaceCaret(s);
}

void Undo(EditState* s) {
    if (!s->canUndo) {
        return;
    }
    Snapshot current{s->text, s->anchor, s->caret};
    s->text = s->undo.text;
    s->anchor = std::min(s->undo.anchor, Len(s));
    s->caret = std::min(s->undo.caret, Len(s));
    s->undo = std::move(current);
    s->typingRun = false;
    s->modified = true;
    Layout(s);
    ScrollCaret(s);
    UpdateScrollBars(s);
    Changed(s, true);
}

void Copy(EditState* s) {
    if (SelMin(s) == SelMax(s) || (s->passwordChar && !Multi(s))) {
        return;
    }
    std::u16string part =
        s->text.substr(static_cast<size_t>(SelMin(s)), static_cast<size_t>(SelMax(s) - SelMin(s)));
    if (!OpenClipboard(s->hwnd)) {
        return;
    }
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (part.size() + 1) * sizeof(char16_t));
    if (mem) {
        auto* dest = static_cast<char16_t*>(GlobalLock(mem));
        std::memcpy(dest, part.c_str(), (part.size() + 1) * sizeof(char16_t));
        GlobalUnlock(mem);
        SetClipboardData(CF_UNICODETEXT, mem);
    }
    CloseClipboard();
}

bool ReadOnly(const EditState* s) {
    return Style(s) & ES_READONLY;
}

void Paste(EditState* s) {
    if (ReadOnly(s) || !OpenClipboard(s->hwnd)) {
        return;
    }
    std::u16string text;
    if (HANDLE mem = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const char16_t*>(GlobalLock(mem))) {
            text = p;
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    if (!text.empty()) {
        ReplaceSel(s, text, true, true);
    }
}

void Clear(EditState* s) {
    if (!ReadOnly(s) && SelMin(s) != SelMax(s)) {
        ReplaceSel(s, u"", true, true);
    }
}

namespace {

bool IsWordChar(char16_t c) {
    return c != u' ' && c != u'\t' && c != u'\r' && c != u'\n';
}

int WordLeft(const EditState* s, int pos) {
    while (pos > 0 && !IsWordChar(s->text[pos - 1])) {
        --pos;
    }
    while (pos > 0 && IsWordChar(s->text[pos - 1])) {
        --pos;
    }
    return pos;
}

int WordRight(const EditState* s, int pos) {
    int n = Len(s);
    while (pos < n && IsWordChar(s->text[pos])) {
        ++pos;
    }
    while (pos < n && !IsWordChar(s->text[pos]) && s->text[pos] != u'\r' && s->text[pos] != u'\n') {
        ++pos;
    }
    if (pos == s->caret && pos < n) {
        pos += (s->text[pos] == u'\r' && pos + 1 < n) ? 2 : 1;
    }
    return pos;
}

int PrevPos(const EditState* s, int pos) {
    if (pos >= 2 && s->text[pos - 2] == u'\r' && s->text[pos - 1] == u'\n') {
        return pos - 2;
    }
    return std::max(0, pos - 1);
}

int NextPos(const EditState* s, int pos) {
    if (pos + 1 < Len(s) && s->text[pos] == u'\r' && s->text[pos + 1] == u'\n') {
        return pos + 2;
    }
    return std::min(Len(s), pos + 1);
}

void MoveCaret(EditState* s, int pos, bool extend) {
    SetSelection(s, extend ? s->anchor : pos, pos);
    ScrollCaret(s);
}

int VerticalMove(EditState* s, int lines) {
    Measure m(s);
    POINT p = PosToPoint(s, m, s->caret);
    int line = std::clamp(LineOf(s, s->caret) + lines, 0, static_cast<int>(s->lines.size()) - 1);
    p.y = s->format.top + (line - s->firstLine) * s->lineHeight;
    return PointToPos(s, m, p);
}

} // namespace

void KeyDown(EditState* s, WPARAM key) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    bool multi = Multi(s);
    switch (key) {
    case VK_LEFT:
        if (!shift && SelMin(s) != SelMax(s) && !ctrl) {
            MoveCaret(s, SelMin(s), false);
        } else {
            MoveCaret(s, ctrl ? WordLeft(s, s->caret) : PrevPos(s, s->caret), shift);
        }
        break;
    case VK_RIGHT:
        if (!shift && SelMin(s) != SelMax(s) && !ctrl) {
            MoveCaret(s, SelMax(s), false);
        } else {
            MoveCaret(s, ctrl ? WordRight(s, s->caret) : NextPos(s, s->caret), shift);
        }
        break;
    case VK_UP:
        MoveCaret(s, multi ? VerticalMove(s, -1) : PrevPos(s, s->caret), shift);
        break;
    case VK_DOWN:
        MoveCaret(s, multi ? VerticalMove(s, 1) : NextPos(s, s->caret), shift);
        break;
    case VK_PRIOR:
        if (multi) {
            MoveCaret(s, VerticalMove(s, -VisibleLines(s)), shift);
        }
        break;
    case VK_NEXT:
        if (multi) {
            MoveCaret(s, VerticalMove(s, VisibleLines(s)), shift);
        }
        break;
    case VK_HOME:
        if (ctrl || !multi) {
            MoveCaret(s, 0, shift);
        } else {
            MoveCaret(s, s->lines[LineOf(s, s->caret)].start, shift);
        }
        break;
    case VK_END:
        if (ctrl || !multi) {
            MoveCaret(s, Len(s), shift);
        } else {
            const Line& l = s->lines[LineOf(s, s->caret)];
            MoveCaret(s, l.start + l.length, shift);
        }
        break;
    case VK_DELETE:
        if (ReadOnly(s)) {
            break;
        }
        if (shift) {
            SendMessageW(s->hwnd, WM_CUT, 0, 0);
        } else if (SelMin(s) != SelMax(s)) {
            ReplaceSel(s, u"", true, true);
        } else if (s->caret < Len(s)) {
            s->anchor = NextPos(s, s->caret);
            ReplaceSel(s, u"", true, true);
        }
        break;
    case VK_INSERT:
        if (ctrl) {
            SendMessageW(s->hwnd, WM_COPY, 0, 0);
        } else if (shift) {
            SendMessageW(s->hwnd, WM_PASTE, 0, 0);
        }
        break;
    default:
        break;
    }
}

void Char(EditState* s, char16_t ch) {
    DWORD style = Style(s);
    switch (ch) {
    case 0x03: // Ctrl+C
        SendMessageW(s->hwnd, WM_COPY, 0, 0);
        return;
    case 0x16: // Ctrl+V
        SendMessageW(s->hwnd, WM_PASTE, 0, 0);
        return;
    case 0x18: // Ctrl+X
        SendMessageW(s->hwnd, WM_CUT, 0, 0);
        return;
    case 0x1A: // Ctrl+Z
        SendMessageW(s->hwnd, WM_UNDO, 0, 0);
        return;
    case u'\b':
        if (ReadOnly(s)) {
            return;
        }
        if (SelMin(s) == SelMax(s)) {
            if (s->caret == 0) {
                return;
            }
            s->anchor = PrevPos(s, s->caret);
        }
        ReplaceSel(s, u"", true, true);
        return;
    case u'\r':
    case u'\n':
        if (Multi(s) && !ReadOnly(s)) {
            ReplaceSel(s, u"\r\n", true, true);
        }
        return;
    case u'\t':
        if (Multi(s) && !ReadOnly(s)) {
            ReplaceSel(s, u"\t", true, true, true);
        }
        return;
    default:
        break;
    }
    if (ch < 0x20 || ReadOnly(s)) {
        return;
    }
    if ((style & ES_NUMBER) && (ch < u'0' || ch > u'9')) {
        MessageBeep(0);
        return;
    }
    if (style & ES_UPPERCASE) {
        ch = FoldCase(ch);
    } else if ((style & ES_LOWERCASE) && FoldCase(ch) == ch) {
        if ((ch >= u'A' && ch <= u'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) {
            ch = static_cast<char16_t>(ch + 0x20);
        }
    }
    ReplaceSel(s, std::u16string(1, ch), true, true, true);
}

namespace {

HBRUSH Colors(EditState* s, HDC dc) {
    bool staticLook = ReadOnly(s) || !IsWindowEnabled(s->hwnd);
    HBRUSH brush = ControlColor(s->hwnd, dc, staticLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    if (!IsWindowEnabled(s->hwnd)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    return brush;
}

} // namespace

void Paint(EditState* s, HDC dc) {
    RECT client;
    GetClientRect(s->hwnd, &client);
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(s->font));
    HBRUSH back = Colors(s, dc);
    FillRect(dc, &client, back);
    IntersectClipRect(dc, s->format.left, s->format.top, s->format.right,
                      Multi(s) ? s->format.bottom
                               : std::max(s->format.bottom, s->format.top + s->lineHeight));
    SetBkMode(dc, TRANSPARENT);
    COLORREF textColor = GetTextColor(dc);
    Measure m(s);
    std::u16string shown = Shown(s);
    bool showSel = (s->focused || (Style(s) & ES_NOHIDESEL)) && SelMin(s) != SelMax(s);
    int first = Multi(s) ? s->firstLine : 0;
    int last = Multi(s) ? std::min(static_cast<int>(s->lines.size()) - 1, first + VisibleLines(s)) : 0;
    for (int i = first; i <= last; ++i) {
        const Line& l = s->lines[i];
        POINT origin = PosToPoint(s, m, l.start);
        std::vector<int> ext = m.Prefixes(shown.data() + l.start, l.length);
        SetTextColor(dc, textColor);
        TextOutW(dc, origin.x, origin.y, shown.data() + l.start, l.length);
        if (showSel) {
            int a = std::clamp(SelMin(s) - l.start, 0, l.length);
            int b = std::clamp(SelMax(s) - l.start, 0, l.length);
            if (a < b) {
                RECT hl{origin.x + ext[a], origin.y, origin.x + ext[b], origin.y + s->lineHeight};
                FillRect(dc, &hl, GetSysColorBrush(COLOR_HIGHLIGHT));
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
                TextOutW(dc, hl.left, origin.y, shown.data() + l.start + a, b - a);
            }
        }
    }
    RestoreDC(dc, saved);
}

void ScrollLines(EditState* s, int lines) {
    int maxFirst = std::max(0, static_cast<int>(s->lines.size()) - 1);
    int first = std::clamp(s->firstLine + lines, 0, maxFirst);
    if (first != s->firstLine) {
        s->firstLine = first;
        UpdateScrollBars(s);
        Redraw(s);
        PlaceCaret(s);
    }
}

void ScrollPixels(EditState* s, int dx) {
    int x = std::max(0, s->xOffset + dx);
    if (x != s->xOffset) {
        s->xOffset = x;
        UpdateScrollBars(s);
        Redraw(s);
        PlaceCaret(s);
    }
}

LRESULT VScroll(EditState* s, int code, int thumb) {
    int before = s->firstLine;
    switch (code) {
    case SB_LINEUP:
        ScrollLines(s, -1);
        break;
    case SB_LINEDOWN:
        ScrollLines(s, 1);
        break;
    case SB_PAGEUP:
        ScrollLines(s, -VisibleLines(s));
        break;
    case SB_PAGEDOWN:
        ScrollLines(s, VisibleLines(s));
        break;
    case SB_TOP:
        ScrollLines(s, -s->firstLine);
        break;
    case SB_BOTTOM:
        ScrollLines(s, static_cast<int>(s->lines.size()));
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        ScrollLines(s, thumb - s->firstLine);
        break;
    default:
        return 0;
    }
    return s->firstLine - before;
}

void SelectWord(EditState* s, int pos) {
    int from = pos;
    int to = pos;
    while (from > 0 && IsWordChar(s->text[from - 1])) {
        --from;
    }
    while (to < Len(s) && IsWordChar(s->text[to])) {
        ++to;
    }
    SetSelection(s, from, to);
}

void HScroll(EditState* s, int code, int thumb) {
    int page = s->format.right - s->format.left;
    int average = std::max(1, s->lineHeight / 2);
    switch (code) {
    case SB_LINELEFT:
        ScrollPixels(s, -average);
        break;
    case SB_LINERIGHT:
        ScrollPixels(s, average);
        break;
    case SB_PAGELEFT:
        ScrollPixels(s, -page);
        break;
    case SB_PAGERIGHT:
        ScrollPixels(s, page);
        break;
    case SB_LEFT:
        ScrollPixels(s, -s->xOffset);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        ScrollPixels(s, thumb - s->xOffset);
        break;
    default:
        break;
    }
}

} // namespace controls::edit
