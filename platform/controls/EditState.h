// The state of an edit control and the operations its messages share.
#pragma once

#include "platform/controls/ControlsCommon.h"

#include <string>
#include <vector>

namespace controls::edit {

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

inline DWORD Style(const EditState* s) {
    return ClassStyle(s->hwnd);
}
inline bool Multi(const EditState* s) {
    return Style(s) & ES_MULTILINE;
}
inline int Len(const EditState* s) {
    return static_cast<int>(s->text.size());
}
inline int SelMin(const EditState* s) {
    return std::min(s->anchor, s->caret);
}
inline int SelMax(const EditState* s) {
    return std::max(s->anchor, s->caret);
}

// Horizontal scrolling instead of wrapping.
inline bool NoWrap(const EditState* s) {
    DWORD style = Style(s);
    return !(style & ES_MULTILINE) || (style & (ES_AUTOHSCROLL | WS_HSCROLL));
}

inline void Redraw(EditState* s) {
    InvalidateRect(s->hwnd, nullptr, TRUE);
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

// Lays the text out in lines for the format rectangle.
void Layout(EditState* s);
int LineOf(const EditState* s, int pos);
POINT PosToPoint(const EditState* s, const Measure& m, int pos);
int PointToPos(const EditState* s, const Measure& m, POINT p);
void UpdateScrollBars(EditState* s);
void PlaceCaret(EditState* s);
// Scrolls so the caret is visible; answers whether anything moved.
bool ScrollCaret(EditState* s);
void SetSelection(EditState* s, int anchor, int caret);
// Selects the word around `pos`.
void SelectWord(EditState* s, int pos);
// Replaces the selection, within the limit. `user` (typing, pasting) also keeps a multi-line edit without
// ES_AUTOVSCROLL within its lines; `canUndo` keeps what was there for EM_UNDO.
bool ReplaceSel(EditState* s, std::u16string insert, bool canUndo, bool user, bool typing = false);
void SetText(EditState* s, const char16_t* text);
void Undo(EditState* s);
void Copy(EditState* s);
bool ReadOnly(const EditState* s);
void Paste(EditState* s);
void Clear(EditState* s);
void KeyDown(EditState* s, WPARAM key);
void Char(EditState* s, char16_t ch);
void Paint(EditState* s, HDC dc);
void ScrollLines(EditState* s, int lines);
void ScrollPixels(EditState* s, int dx);
// A scroll-bar request; VScroll answers the lines scrolled.
LRESULT VScroll(EditState* s, int code, int thumb);
void HScroll(EditState* s, int code, int thumb);

} // namespace controls::edit
