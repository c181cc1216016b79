// Formatted text in a rectangle: line breaks, word wrapping, tabs, '&' prefixes, ellipses, alignment,
// clipping and measuring.
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace gdi {
int OutputText(Dc& dc, int x, int y, UINT options, const RECT* rect, const char16_t* text, int count,
               const int* deviceAdvances);
} // namespace gdi

using namespace gdi;

namespace {
// Coordinates summed in 64 bits and held inside the int range: rectangles may span the whole range.
int Saturated(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

struct Line {
    std::u16string text;
    int prefix = -1; // index of the underlined character in `text`
    int width = 0;
};

class Layout {
public:
    Layout(Dc& dc, UINT format, int tabWidth) : dc_(dc), format_(format), tabWidth_(std::max(1, tabWidth)) {
        sx_ = std::fabs(ScaleX(dc.s));
    }

    // Width of text[a, b) starting at the line's start (tabs expand from there), logical units.
    int Width(const std::u16string& s, size_t a, size_t b) const {
        int w = 0;
        size_t run = a;
        for (size_t i = a; i <= b; ++i) {
            if (i == b || (s[i] == u'\t' && (format_ & DT_EXPANDTABS))) {
                w += Plain(s, run, i);
                if (i < b) {
                    w = (w / tabWidth_ + 1) * tabWidth_;
                }
                run = i + 1;
            }
        }
        return w;
    }

    int Plain(const std::u16string& s, size_t a, size_t b) const {
        if (b <= a) {
            return 0;
        }
        int dev = TextWidth(dc_, s.data() + a, static_cast<int>(b - a));
        return static_cast<int>(std::lround(dev / sx_));
    }

private:
    Dc& dc_;
    UINT format_;
    int tabWidth_;
    double sx_;
};

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}

// Removes '&' markers: "&x" underlines x, "&&" is one '&'. Positions map each kept character to its source.
std::u16string StripPrefixes(const std::u16string& s, std::vector<bool>* underlined) {
    std::u16string out;
    underlined->clear();
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'&') {
            if (i + 1 < s.size()) {
                ++i;
                out += s[i];
                underlined->push_back(s[i] != u'&');
            }
            continue;
        }
        out += s[i];
        underlined->push_back(false);
    }
    return out;
}

std::u16string Ellipsize(const Layout& lay, const std::u16string& s, int avail, UINT format) {
    static const std::u16string dots = u"...";
    if (lay.Width(s, 0, s.size()) <= avail) {
        return s;
    }
    int dotsW = lay.Width(dots, 0, dots.size());
    if (format & DT_PATH_ELLIPSIS) {
        size_t slash = s.find_last_of(u"\\/");
        if (slash != std::u16string::npos && slash > 0) {
            std::u16string tail = s.substr(slash);
            int tailW = lay.Width(tail, 0, tail.size());
            for (size_t k = slash; k-- > 0;) {
                if (lay.Width(s, 0, k) + dotsW + tailW <= avail) {
                    return s.substr(0, k) + dots + tail;
                }
            }
            if (dotsW + tailW <= avail) {
                return dots + tail;
            }
            // The file name itself is too long: end ellipsis on the whole text.
        }
    }
    size_t best = 0;
    for (size_t k = s.size(); k-- > 0;) {
        if (lay.Width(s, 0, k) + dotsW <= avail) {
            best = k;
            break;
        }
    }
    if (format & DT_WORD_ELLIPSIS) {
        size_t k = best;
        while (k > 0 && !IsSpace(s[k - 1]) && k < s.size() && !IsSpace(s[k])) {
            --k;
        }
        if (k > 0) {
            best = k;
        }
    }
    while (best > 0 && IsSpace(s[best - 1]) && (format & DT_WORD_ELLIPSIS)) {
        --best;
    }
    return s.substr(0, best) + dots;
}

int DoDrawText(HDC hdc, LPWSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
    GDI_LOCK();
    Dc* dcp = CheckDc(hdc);
    if (!dcp || !rect || (!text && count != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Dc& dc = *dcp;
    if (count < 0) {
        count = static_cast<int>(std::char_traits<char16_t>::length(text));
    }
    std::u16string src(text ? text : u"", static_cast<size_t>(count));
    Record(dc, "DrawText", {rect->left, rect->top, rect->right, rect->bottom, format}, src);
    if (!RealizeFont(dc)) {
        return 0;
    }
    int tabChars = 8;
    if (format & DT_TABSTOP) {
        tabChars = static_cast<int>((format >> 8) & 0xFF);
        format &= ~0xFF00u; // those bits carry the tab length
    }
    int leftMargin = 0;
    int rightMargin = 0;
    if (params) {
        if (params->iTabLength > 0) {
            tabChars = params->iTabLength;
        }
        leftMargin = params->iLeftMargin;
        rightMargin = params->iRightMargin;
        params->uiLengthDrawn = 0;
    }
    TEXTMETRICW tm{};
    FontTextMetrics(dc, &tm);
    int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    Layout lay(dc, format, std::max(1, tabChars) * tm.tmAveCharWidth);
    // In 64 bits: a rectangle spanning the whole coordinate range must not overflow the width.
    int avail = Saturated(static_cast<long long>(rect->right) - rect->left - leftMargin - rightMargin);
    bool single = format & DT_SINGLELINE;
    bool prefixes = !(format & DT_NOPREFIX);

    // Paragraphs: hard breaks unless single line.
    std::vector<std::u16string> paras;
    {
        std::u16string cur;
        for (size_t i = 0; i < src.size(); ++i) {
            char16_t c = src[i];
            if (c == u'\r' || c == u'\n') {
                if (single) {
                    continue;
                }
                paras.push_back(cur);
                cur.clear();
                if (c == u'\r' && i + 1 < src.size() && src[i + 1] == u'\n') {
                    ++i;
                }
                continue;
            }
            cur += c;
        }
        paras.push_back(cur);
    }
    std::vector<Line> lines;
    for (const std::u16string& para : paras) {
        std::vector<bool> under;
        std::u16string p = prefixes ? StripPrefixes(para, &under) : para;
        if (!prefixes) {
            under.assign(p.size(), false);
        }
        auto emit = [&](size_t a, size_t b) {
            Line ln;
            ln.text = p.substr(a, b - a);
            for (size_t i = a; i < b; ++i) {
                if (under[i] && ln.prefix < 0) {
                    ln.prefix = static_cast<int>(i - a);
                }
            }
            lines.push_back(std::move(ln));
        };
        if (!(format & DT_WORDBREAK) || single) {
            emit(0, p.size());
            continue;
        }
        size_t pos = 0;
        if (p.empty()) {
            emit(0, 0);
        }
        while (pos < p.size()) {
            size_t end = pos;
            size_t lastBreak = std::u16string::npos;
            while (end < p.size()) {
                if (IsSpace(p[end]) && end > pos) {
                    lastBreak = end;
                }
                if (lay.Width(p, pos, end + 1) > avail) {
                    break;
                }
                ++end;
            }
            if (end == p.size()) {
                emit(pos, end);
                break;
            }
            size_t lineEnd;
            size_t next;
            if (IsSpace(p[end])) {
                lineEnd = end; // the overflowing character is a space: break there
            } else if (lastBreak != std::u16string::npos) {
                lineEnd = lastBreak;
            } else if (format & DT_EDITCONTROL) {
                lineEnd = std::max(end, pos + 1); // break inside the word
            } else {
                lineEnd = end;
                while (lineEnd < p.size() && !IsSpace(p[lineEnd])) {
                    ++lineEnd; // the word keeps its line and is clipped
                }
            }
            next = lineEnd;
            while (lineEnd > pos && IsSpace(p[lineEnd - 1])) {
                --lineEnd;
            }
            while (next < p.size() && IsSpace(p[next])) {
                ++next;
            }
            emit(pos, lineEnd);
            pos = next;
        }
    }
    bool ellipsis = format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS);
    for (Line& ln : lines) {
        if (ellipsis) {
            std::u16string e = Ellipsize(lay, ln.text, avail, format);
            if (e != ln.text) {
                if (ln.prefix >= static_cast<int>(e.size()) - 3) {
                    ln.prefix = -1;
                }
                ln.text = e;
                if ((format & DT_MODIFYSTRING) && text && lines.size() == 1) {
                    size_t n = std::min(e.size(), static_cast<size_t>(count));
                    std::memcpy(text, e.data(), n * sizeof(char16_t));
                    if (n < static_cast<size_t>(count)) {
                        text[n] = 0;
                    }
                }
            }
        }
        ln.width = lay.Width(ln.text, 0, ln.text.size());
    }
    int total = lineHeight * static_cast<int>(lines.size());
    if (params) {
        params->uiLengthDrawn = static_cast<UINT>(count);
    }
    if (format & DT_CALCRECT) {
        int maxw = 0;
        for (const Line& ln : lines) {
            maxw = std::max(maxw, ln.width);
        }
        rect->right = Saturated(static_cast<long long>(rect->left) + maxw + leftMargin + rightMargin);
        rect->bottom = Saturated(static_cast<long long>(rect->top) + total);
        return total;
    }
    int y = rect->top;
    int result = total;
    if (single) {
        if (format & DT_VCENTER) {
            y = Saturated(rect->top + (static_cast<long long>(rect->bottom) - rect->top - lineHeight) / 2);
            result = Saturated(static_cast<long long>(y) - rect->top + lineHeight);
        } else if (format & DT_BOTTOM) {
            y = Saturated(static_cast<long long>(rect->bottom) - lineHeight);
            result = Saturated(static_cast<long long>(y) - rect->top + lineHeight);
        }
    }
    UINT savedAlign = dc.s.textAlign;
    dc.s.textAlign = TA_LEFT | TA_TOP;
    bool wasRecording = dc.recording;
    dc.recording = false;
    UINT options = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
    FontLineMetrics fm = LineMetrics(dc);
    for (const Line& ln : lines) {
        int x = Saturated(static_cast<long long>(rect->left) + leftMargin);
        if (format & DT_CENTER) {
            x = Saturated(static_cast<long long>(rect->left) + leftMargin + (static_cast<long long>(avail) - ln.width) / 2);
        } else if (format & DT_RIGHT) {
            x = Saturated(static_cast<long long>(rect->right) - rightMargin - ln.width);
        }
        if (!(format & DT_PREFIXONLY)) {
            // Segments between tabs.
            size_t run = 0;
            int pos = 0;
            for (size_t i = 0; i <= ln.text.size(); ++i) {
                bool tab = i < ln.text.size() && ln.text[i] == u'\t';
                if (i == ln.text.size() || tab) {
                    if (i > run) {
                        OutputText(dc, Saturated(static_cast<long long>(x) + pos), y, options, rect, ln.text.data() + run,
                                   static_cast<int>(i - run), nullptr);
                    }
                    pos += lay.Plain(ln.text, run, i);
                    if (tab && (format & DT_EXPANDTABS)) {
                        pos = lay.Width(ln.text, 0, i + 1);
                    }
                    run = i + 1;
                }
            }
        }
        if (ln.prefix >= 0 && !(format & DT_HIDEPREFIX)) {
            int ux0 = x + lay.Width(ln.text, 0, static_cast<size_t>(ln.prefix));
            int ux1 = x + lay.Width(ln.text, 0, static_cast<size_t>(ln.prefix) + 1);
            Surface s;
            if (TargetSurface(dc, &s)) {
                Region clip = EffectiveClip(dc);
                if (!(format & DT_NOCLIP)) {
                    RECT r = ToDeviceRect(dc.s, *rect);
                    OffsetRect(&r, dc.origin.x, dc.origin.y);
                    clip.IntersectRect(r);
                }
                POINT a = ToDevice(dc.s, POINT{ux0, y});
                POINT b = ToDevice(dc.s, POINT{ux1, y});
                int uy = a.y + fm.ascent + fm.underlinePos + dc.origin.y;
                Painter p(s, clip, SolidPaint(ResolveColor(dc, dc.s.textColor, s.mono)), R2_COPYPEN);
                for (int t = 0; t < fm.underlineThickness; ++t) {
                    p.SpanClipped(uy + t, a.x + dc.origin.x, b.x + dc.origin.x);
                }
                FinishDrawing(dc);
            }
        }
        y = Saturated(static_cast<long long>(y) + lineHeight);
    }
    dc.recording = wasRecording;
    dc.s.textAlign = savedAlign;
    return result;
}

} // namespace

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    // Only DT_MODIFYSTRING writes to the text, as in the original.
    return DoDrawText(hdc, const_cast<LPWSTR>(text), count, rect, format, nullptr);
}

int DrawTextExW(HDC hdc, LPWSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
    if (params && params->cbSize != sizeof(DRAWTEXTPARAMS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return DoDrawText(hdc, text, count, rect, format, params);
}
