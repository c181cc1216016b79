// The "Edit" class: single-line and multi-line text editing with selection, clipboard and one level of undo.
#include "platform/clipboard/Clipboard.h"
#include "platform/controls/ControlsCommon.h"
#include "platform/controls/StandardControls.h"

#include <cstring>
#include <vector>

namespace {

using namespace controls;

constexpr int kDefaultLimit = 30000;

struct Line {
    int start = 0;
    int length = 0;   // without the line break
    int breakLen = 0; // 2 for CR LF, 1 for a lone LF, 0 for a wrapped or the last line
};

struct Snapshot {
    std::u16string text;
    int anchor = 0;
    int caret = 0;
};

struct EditState {
    HWND hwnd = nullptr;
    std::u16string text;
    int anchor = 0;
    int caret = 0;
    int limit = kDefaultLimit;
    bool modified = false;
    Snapshot undo;
    bool canUndo = false;
    bool typingRun = false; // consecutive typing shares one undo step
    char16_t passwordChar = 0;
    HFONT font = nullptr;
    int leftMargin = 1;
    int rightMargin = 1;
    RECT format{};
    bool formatSet = false;
    int firstLine = 0; // multi-line: the top visible line
    int xOffset = 0;   // pixels scrolled horizontally
    bool focused = false;
    bool selecting = false; // the mouse is selecting
    bool updatingBars = false;
    int lineHeight = 16;
    std::vector<Line> lines;
    DWORD bars = 0; // WS_HSCROLL/WS_VSCROLL as created (the style bits go while a bar is hidden)
};

DWORD Style(const EditState* s) {
    return ClassStyle(s->hwnd);
}
bool Multi(const EditState* s) {
    return Style(s) & ES_MULTILINE;
}
int Len(const EditState* s) {
    return static_cast<int>(s->text.size());
}
int SelMin(const EditState* s) {
    return std::min(s->anchor, s->caret);
}
int SelMax(const EditState* s) {
    return std::max(s->anchor, s->caret);
}

// Horizontal scrolling instead of wrapping.
bool NoWrap(const EditState* s) {
    DWORD style = Style(s);
    return !(style & ES_MULTILINE) || (style & (ES_AUTOHSCROLL | WS_HSCROLL));
}

// A memory DC with the control's font, for measuring.
class Measure {
public:
    explicit Measure(const EditState* s) {
        dc_ = CreateCompatibleDC(nullptr);
        SelectObject(dc_, ControlFont(s->font));
    }
    ~Measure() { DeleteDC(dc_); }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;
    HDC dc() const { return dc_; }
    int Width(const char16_t* text, int count) const {
        SIZE size{};
        if (count <= 0) {
            return 0;
        }
        GetTextExtentPoint32W(dc_, text, count, &size);
        return size.cx;
    }
    // Extents of each prefix of the text: out[i] is the width of the first i characters.
    std::vector<int> Prefixes(const char16_t* text, int count) const {
        std::vector<int> out(static_cast<size_t>(count) + 1, 0);
        if (count > 0) {
            SIZE size{};
            GetTextExtentExPointW(dc_, text, count, -1, nullptr, out.data() + 1, &size);
        }
        return out;
    }

private:
    HDC dc_;
};

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

void Redraw(EditState* s) {
    InvalidateRect(s->hwnd, nullptr, TRUE);
}

// Scrolls so the caret is visible; answers whether anything moved.
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

void Changed(EditState* s, bool notify) {
    if (notify) {
        NotifyParent(s->hwnd, EN_UPDATE);
    }
    Redraw(s);
    if (notify) {
        NotifyParent(s->hwnd, EN_CHANGE);
    }
}

// Replaces the selection, within the limit. `user` (typing, pasting) also keeps a multi-line edit without
// ES_AUTOVSCROLL within its lines; `canUndo` keeps what was there for EM_UNDO.
bool ReplaceSel(EditState* s, std::u16string insert, bool canUndo, bool user, bool typing = false) {
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

HBRUSH Colors(EditState* s, HDC dc) {
    bool staticLook = ReadOnly(s) || !IsWindowEnabled(s->hwnd);
    HBRUSH brush = ControlColor(s->hwnd, dc, staticLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    if (!IsWindowEnabled(s->hwnd)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    return brush;
}

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

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* s = StateOf<EditState>(hwnd);
    if (!s && msg != WM_NCCREATE) {
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_NCCREATE: {
        s = new EditState;
        s->hwnd = hwnd;
        SetState(hwnd, s);
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        DWORD style = static_cast<DWORD>(cs->style);
        if (style & ES_MULTILINE) {
            // Scroll bars scroll automatically; a multi-line edit is never a password field.
            if (style & WS_HSCROLL) {
                style |= ES_AUTOHSCROLL;
            }
            if (style & WS_VSCROLL) {
                style |= ES_AUTOVSCROLL;
            }
            style &= ~static_cast<DWORD>(ES_PASSWORD);
        } else {
            style &= ~static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL);
        }
        if (style & ES_PASSWORD) {
            s->passwordChar = u'*';
        }
        s->bars = style & (WS_HSCROLL | WS_VSCROLL);
        if (style != static_cast<DWORD>(cs->style)) {
            SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
        }
        if (!DefWindowProcW(hwnd, msg, wParam, lParam)) {
            return FALSE;
        }
        SetText(s, cs->lpszName && !IS_INTRESOURCE(cs->lpszName) ? cs->lpszName : u"");
        return TRUE;
    }
    case WM_NCDESTROY:
        SetState(hwnd, nullptr);
        delete s;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_CREATE:
        Layout(s);
        UpdateScrollBars(s);
        return 0;
    case WM_SIZE:
        s->formatSet = false;
        Layout(s);
        if (s->firstLine > static_cast<int>(s->lines.size()) - 1) {
            s->firstLine = std::max(0, static_cast<int>(s->lines.size()) - 1);
        }
        UpdateScrollBars(s);
        Redraw(s);
        PlaceCaret(s);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (Multi(s) && (Style(s) & ES_WANTRETURN)) {
            code |= DLGC_WANTALLKEYS;
        }
        return code;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        PAINTSTRUCT ps{};
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
        bool hide = s->focused && !wParam;
        if (hide) {
            HideCaret(hwnd);
        }
        Paint(s, dc);
        if (hide) {
            ShowCaret(hwnd);
        }
        if (!wParam) {
            EndPaint(hwnd, &ps);
        }
        return 0;
    }
    case WM_SETFOCUS:
        s->focused = true;
        CreateCaret(hwnd, nullptr, 1, s->lineHeight);
        PlaceCaret(s);
        ShowCaret(hwnd);
        Redraw(s);
        NotifyParent(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        s->selecting = false;
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        DestroyCaret();
        Redraw(s);
        NotifyParent(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        Redraw(s);
        return 0;
    case WM_SETTEXT: {
        SetText(s, reinterpret_cast<const char16_t*>(lParam));
        Redraw(s);
        // A multi-line edit reports no change for a text set by the program.
        if (!Multi(s)) {
            NotifyParent(hwnd, EN_UPDATE);
            NotifyParent(hwnd, EN_CHANGE);
        }
        return TRUE;
    }
    case WM_GETTEXT: {
        if (!lParam || wParam == 0) {
            return 0;
        }
        auto* buffer = reinterpret_cast<char16_t*>(lParam);
        size_t count = std::min(s->text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(buffer, s->text.data(), count * sizeof(char16_t));
        buffer[count] = 0;
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
        return Len(s);
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        s->formatSet = false;
        Layout(s);
        if (s->focused) {
            CreateCaret(hwnd, nullptr, 1, s->lineHeight);
            PlaceCaret(s);
            ShowCaret(hwnd);
        }
        UpdateScrollBars(s);
        if (LOWORD(lParam)) {
            Redraw(s);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_CHAR:
        Char(s, static_cast<char16_t>(wParam));
        return 0;
    case WM_KEYDOWN:
        KeyDown(s, wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SetFocus(hwnd);
        Measure m(s);
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int pos = PointToPos(s, m, p);
        if (msg == WM_LBUTTONDBLCLK) {
            int from = pos;
            int to = pos;
            while (from > 0 && IsWordChar(s->text[from - 1])) {
                --from;
            }
            while (to < Len(s) && IsWordChar(s->text[to])) {
                ++to;
            }
            SetSelection(s, from, to);
            return 0;
        }
        SetSelection(s, (wParam & MK_SHIFT) ? s->anchor : pos, pos);
        ScrollCaret(s);
        s->selecting = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s->selecting && GetCapture() == hwnd) {
            Measure m(s);
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SetSelection(s, s->anchor, PointToPos(s, m, p));
            ScrollCaret(s);
        }
        return 0;
    case WM_LBUTTONUP:
        if (s->selecting) {
            s->selecting = false;
            if (GetCapture() == hwnd) {
                ReleaseCapture();
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        s->selecting = false;
        return 0;
    case WM_VSCROLL:
        if (Multi(s)) {
            NotifyParent(hwnd, EN_VSCROLL);
            VScroll(s, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        }
        return 0;
    case WM_HSCROLL:
        if (Multi(s)) {
            NotifyParent(hwnd, EN_HSCROLL);
            int page = s->format.right - s->format.left;
            int avg = std::max(1, s->lineHeight / 2);
            switch (LOWORD(wParam)) {
            case SB_LINELEFT:
                ScrollPixels(s, -avg);
                break;
            case SB_LINERIGHT:
                ScrollPixels(s, avg);
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
                ScrollPixels(s, static_cast<short>(HIWORD(wParam)) - s->xOffset);
                break;
            default:
                break;
            }
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (Multi(s)) {
            ScrollLines(s, -3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_COPY:
        Copy(s);
        return 0;
    case WM_CUT:
        if (!ReadOnly(s) && !(s->passwordChar && !Multi(s))) {
            Copy(s);
            Clear(s);
        }
        return 0;
    case WM_PASTE:
        Paste(s);
        return 0;
    case WM_CLEAR:
        Clear(s);
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (!s->canUndo) {
            return FALSE;
        }
        Undo(s);
        return TRUE;
    case EM_CANUNDO:
        return s->canUndo;
    case EM_EMPTYUNDOBUFFER:
        s->undo = Snapshot{};
        s->canUndo = false;
        s->typingRun = false;
        return 0;
    case EM_GETSEL: {
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
    case EM_SETSEL: {
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
    case EM_REPLACESEL: {
        auto* text = reinterpret_cast<const char16_t*>(lParam);
        ReplaceSel(s, text ? std::u16string(text) : std::u16string(), wParam != 0, false);
        return 0;
    }
    case EM_LIMITTEXT:
        s->limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, 0x7FFFFFFE)) : 0x7FFFFFFE;
        return 0;
    case EM_GETLIMITTEXT:
        return s->limit;
    case EM_GETLINECOUNT:
        return Multi(s) ? static_cast<LRESULT>(s->lines.size()) : 1;
    case EM_LINEINDEX: {
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
    case EM_LINELENGTH: {
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
    case EM_GETLINE: {
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
    case EM_LINEFROMCHAR: {
        if (!Multi(s)) {
            return 0;
        }
        int index = static_cast<int>(wParam);
        if (index == -1) {
            index = SelMin(s) != SelMax(s) ? SelMin(s) : s->caret;
        }
        return LineOf(s, std::min(index, Len(s)));
    }
    case EM_SCROLLCARET:
        ScrollCaret(s);
        return TRUE;
    case EM_LINESCROLL:
        if (!Multi(s)) {
            return FALSE;
        }
        if (wParam && NoWrap(s)) {
            Measure m(s);
            TEXTMETRICW tm{};
            GetTextMetricsW(m.dc(), &tm);
            ScrollPixels(s, static_cast<int>(wParam) * tm.tmAveCharWidth);
        }
        ScrollLines(s, static_cast<int>(lParam));
        return TRUE;
    case EM_SCROLL: {
        if (!Multi(s)) {
            return FALSE;
        }
        if (wParam != SB_LINEUP && wParam != SB_LINEDOWN && wParam != SB_PAGEUP && wParam != SB_PAGEDOWN) {
            return FALSE;
        }
        LRESULT moved = VScroll(s, static_cast<int>(wParam), 0);
        return MAKELONG(static_cast<WORD>(moved), TRUE);
    }
    case EM_GETFIRSTVISIBLELINE:
        if (Multi(s)) {
            return s->firstLine;
        } else {
            Measure m(s);
            return PointToPos(s, m, POINT{s->format.left, s->format.top});
        }
    case EM_SETREADONLY: {
        LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        SetWindowLongW(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
        Redraw(s);
        return TRUE;
    }
    case EM_GETMODIFY:
        return s->modified;
    case EM_SETMODIFY:
        s->modified = wParam != 0;
        return 0;
    case EM_SETPASSWORDCHAR: {
        if (Multi(s)) {
            return 0;
        }
        s->passwordChar = static_cast<char16_t>(wParam);
        LONG style = GetWindowLongW(hwnd, GWL_STYLE);
        SetWindowLongW(hwnd, GWL_STYLE, wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
        Layout(s);
        Redraw(s);
        PlaceCaret(s);
        return 0;
    }
    case EM_GETPASSWORDCHAR:
        return s->passwordChar;
    case EM_SETMARGINS:
        if (wParam & EC_LEFTMARGIN) {
            s->leftMargin = LOWORD(lParam) == EC_USEFONTINFO ? 1 : LOWORD(lParam);
        }
        if (wParam & EC_RIGHTMARGIN) {
            s->rightMargin = HIWORD(lParam) == EC_USEFONTINFO ? 1 : HIWORD(lParam);
        }
        s->formatSet = false;
        Layout(s);
        Redraw(s);
        PlaceCaret(s);
        return 0;
    case EM_GETMARGINS:
        return MAKELONG(s->leftMargin, s->rightMargin);
    case EM_GETRECT:
        if (lParam) {
            *reinterpret_cast<RECT*>(lParam) = s->format;
        }
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (lParam) {
            s->format = *reinterpret_cast<const RECT*>(lParam);
            s->formatSet = true;
        } else {
            s->formatSet = false;
        }
        Layout(s);
        UpdateScrollBars(s);
        if (msg == EM_SETRECT) {
            Redraw(s);
        }
        PlaceCaret(s);
        return 0;
    case EM_POSFROMCHAR: {
        int index = static_cast<int>(wParam);
        if (index < 0 || index > Len(s)) {
            return -1;
        }
        Measure m(s);
        POINT p = PosToPoint(s, m, index);
        return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
        Measure m(s);
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        int pos = PointToPos(s, m, p);
        return MAKELONG(static_cast<WORD>(pos), static_cast<WORD>(LineOf(s, pos)));
    }
    case EM_SETTABSTOPS:
        return TRUE;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

void RegisterEditClass() {
    RegisterControlClass(u"Edit", EditProc, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM, nullptr);
}
