// Fonts and text: the classic faces, metrics in the original's terms, rotated output, formatted text.
#include "tests/platform/gdi/GdiTestSupport.h"

#include <cstring>
#include <string>

using namespace gditest;

namespace {

HFONT Font(int height, const char16_t* face, int weight = FW_NORMAL, int escapement = 0, BYTE pitch = 0) {
    return CreateFontW(height, 0, escapement, escapement, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face);
}

// Selects a font into a DC for the scope of a test.
class UseFont {
public:
    UseFont(HDC dc, HFONT font) : dc_(dc), font_(font) { old_ = SelectObject(dc, font); }
    ~UseFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

std::u16string Face(HDC dc) {
    WCHAR buf[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, buf);
    return buf;
}

} // namespace

TEST(GdiFonts, ClassicFacesAnswerToTheirNames) {
    Canvas c(10, 10);
    const char16_t* faces[] = {u"Arial", u"Times New Roman", u"Courier New", u"MS Sans Serif", u"Symbol"};
    for (const char16_t* f : faces) {
        UseFont use(c.dc(), Font(-12, f));
        EXPECT_EQ(Face(c.dc()), f);
    }
    UseFont unknown(c.dc(), Font(-12, u"No Such Face"));
    EXPECT_EQ(Face(c.dc()), u"DejaVu Sans");
}

TEST(GdiFonts, MetricsFollowTheCharacterAndCellHeights) {
    Canvas c(10, 10);
    TEXTMETRICW tm{};
    {
        // Negative: character height (em) 13, the cell larger by the internal leading.
        UseFont use(c.dc(), Font(-13, u"Arial"));
        ASSERT_TRUE(GetTextMetricsW(c.dc(), &tm));
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(tm.tmHeight, 15);
        EXPECT_EQ(tm.tmAveCharWidth, 6);
        EXPECT_EQ(tm.tmWeight, FW_NORMAL);
        EXPECT_GT(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    }
    {
        // Positive: cell height.
        UseFont use(c.dc(), Font(16, u"Arial"));
        GetTextMetricsW(c.dc(), &tm);
        EXPECT_EQ(tm.tmHeight, 16);
    }
    {
        UseFont use(c.dc(), Font(-13, u"Arial", FW_BOLD));
        GetTextMetricsW(c.dc(), &tm);
        EXPECT_EQ(tm.tmWeight, FW_BOLD);
    }
}

TEST(GdiFonts, FixedPitchBitIsSetForVariablePitchFonts) {
    Canvas c(10, 10);
    TEXTMETRICW tm{};
    {
        UseFont use(c.dc(), Font(-12, u"Arial"));
        GetTextMetricsW(c.dc(), &tm);
        EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, TMPF_FIXED_PITCH);
        EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_SWISS);
        EXPECT_NE(tm.tmPitchAndFamily & TMPF_TRUETYPE, 0);
        SIZE i{};
        SIZE m{};
        GetTextExtentPoint32W(c.dc(), u"iiii", 4, &i);
        GetTextExtentPoint32W(c.dc(), u"MMMM", 4, &m);
        EXPECT_LT(i.cx, m.cx);
    }
    {
        UseFont use(c.dc(), Font(-12, u"Courier New"));
        GetTextMetricsW(c.dc(), &tm);
        EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
        EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_MODERN);
        SIZE i{};
        SIZE m{};
        GetTextExtentPoint32W(c.dc(), u"iiii", 4, &i);
        GetTextExtentPoint32W(c.dc(), u"MMMM", 4, &m);
        EXPECT_EQ(i.cx, m.cx);
        EXPECT_EQ(i.cx, 4 * tm.tmAveCharWidth);
    }
}

TEST(GdiFonts, ExtentsAddUpAndCountCharacterExtra) {
    Canvas c(10, 10);
    UseFont use(c.dc(), Font(-12, u"Arial"));
    SIZE whole{};
    GetTextExtentPoint32W(c.dc(), u"Hello", 5, &whole);
    int widths[5] = {};
    ASSERT_TRUE(GetCharWidth32W(c.dc(), u'H', u'L', widths)); // H I J K L
    int sum = 0;
    for (const char16_t ch : std::u16string(u"Hello")) {
        int w = 0;
        GetCharWidth32W(c.dc(), ch, ch, &w);
        sum += w;
    }
    EXPECT_EQ(whole.cx, sum);
    int fit = 0;
    int dx[5] = {};
    SIZE sz{};
    ASSERT_TRUE(GetTextExtentExPointW(c.dc(), u"Hello", 5, whole.cx - 1, &fit, dx, &sz));
    EXPECT_EQ(fit, 4);
    EXPECT_EQ(dx[4], whole.cx);
    SetTextCharacterExtra(c.dc(), 2);
    SIZE spaced{};
    GetTextExtentPoint32W(c.dc(), u"Hello", 5, &spaced);
    EXPECT_EQ(spaced.cx, whole.cx + 10);
}

TEST(GdiText, TextOutAlignsOnTheReferencePoint) {
    Canvas c(120, 60);
    UseFont use(c.dc(), Font(-20, u"Arial"));
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    SIZE sz{};
    GetTextExtentPoint32W(c.dc(), u"HH", 2, &sz);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), kRed);
    // With an opaque background the cell is exactly the text extent.
    TextOutW(c.dc(), 10, 5, u"HH", 2);
    EXPECT_EQ(c.Ink(), (RECT{10, 5, 10 + sz.cx, 5 + tm.tmHeight}));
    c.Clear(kWhite);
    SetTextAlign(c.dc(), TA_RIGHT | TA_BASELINE);
    TextOutW(c.dc(), 100, 40, u"HH", 2);
    EXPECT_EQ(c.Ink(), (RECT{100 - sz.cx, 40 - tm.tmAscent, 100, 40 + tm.tmDescent}));
    c.Clear(kWhite);
    SetTextAlign(c.dc(), TA_CENTER | TA_BOTTOM);
    TextOutW(c.dc(), 60, 50, u"HH", 2);
    EXPECT_EQ(c.Ink(), (RECT{60 - sz.cx / 2, 50 - tm.tmHeight, 60 - sz.cx / 2 + sz.cx, 50}));
}

TEST(GdiText, UpdateCpMovesTheCurrentPosition) {
    Canvas c(100, 30);
    UseFont use(c.dc(), Font(-12, u"Arial"));
    SetTextAlign(c.dc(), TA_UPDATECP);
    MoveToEx(c.dc(), 5, 5, nullptr);
    TextOutW(c.dc(), 0, 0, u"ab", 2);
    SIZE sz{};
    GetTextExtentPoint32W(c.dc(), u"ab", 2, &sz);
    POINT p{};
    GetCurrentPositionEx(c.dc(), &p);
    EXPECT_EQ(p.x, 5 + sz.cx);
    EXPECT_EQ(p.y, 5);
}

TEST(GdiText, RotatedTextExtentBox) {
    Canvas c(100, 100);
    UseFont use(c.dc(), Font(-20, u"Arial", FW_NORMAL, 900));
    SIZE sz{};
    GetTextExtentPoint32W(c.dc(), u"HHH", 3, &sz); // extents are along the baseline
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_EQ(sz.cy, tm.tmHeight);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), kRed);
    // 90 degrees: the text runs up from the reference point, its top to the left.
    TextOutW(c.dc(), 20, 80, u"HHH", 3);
    RECT ink = c.Ink();
    EXPECT_EQ(ink.left, 20);
    EXPECT_EQ(ink.right, 20 + tm.tmHeight);
    EXPECT_EQ(ink.bottom, 80);
    EXPECT_EQ(ink.top, 80 - sz.cx);
}

TEST(GdiText, GlyphsUseTheTextColourWithoutSmoothing) {
    Canvas c(60, 30);
    UseFont use(c.dc(), Font(-20, u"Arial"));
    SetBkMode(c.dc(), TRANSPARENT);
    SetTextColor(c.dc(), kBlue);
    TextOutW(c.dc(), 2, 2, u"W", 1);
    int blue = c.Count(kBlue);
    EXPECT_GT(blue, 20);
    EXPECT_EQ(blue + c.Count(kWhite), 60 * 30); // two colours only: no antialiasing
}

TEST(GdiText, ExtTextOutOpaqueFillsTheRectangleEvenWithoutText) {
    Canvas c(20, 20);
    SetBkColor(c.dc(), kGreen);
    RECT r{2, 3, 12, 9};
    ASSERT_TRUE(ExtTextOutW(c.dc(), 0, 0, ETO_OPAQUE, &r, u"", 0, nullptr));
    EXPECT_EQ(c.Ink(), r);
    EXPECT_EQ(c.Count(kGreen), 60);
}

TEST(GdiText, ExtTextOutClipsToItsRectangleAndHonoursSpacing) {
    Canvas c(100, 30);
    UseFont use(c.dc(), Font(-20, u"Arial"));
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{0, 0, 8, 30};
    ExtTextOutW(c.dc(), 0, 0, ETO_CLIPPED, &r, u"WWW", 3, nullptr);
    EXPECT_LE(c.Ink().right, 8);
    c.Clear(kWhite);
    const INT dx[3] = {30, 30, 30};
    ExtTextOutW(c.dc(), 0, 0, 0, nullptr, u"|||", 3, dx);
    // Three bars 30 pixels apart.
    RECT ink = c.Ink();
    EXPECT_GE(ink.right - ink.left, 60);
}

TEST(GdiText, SymbolFaceDrawsArrowsForItsCodes) {
    Canvas c(40, 40);
    UseFont use(c.dc(), Font(-24, u"Symbol"));
    SetBkMode(c.dc(), TRANSPARENT);
    const char16_t up[] = {0xAD, 0};
    const char16_t down[] = {0xAF, 0};
    TextOutW(c.dc(), 5, 5, up, 1);
    std::vector<COLORREF> upPixels = c.Pixels();
    RECT upInk = c.Ink();
    c.Clear(kWhite);
    TextOutW(c.dc(), 5, 5, down, 1);
    RECT downInk = c.Ink();
    EXPECT_NE(c.Pixels(), upPixels);
    // An arrow is tall and narrow; up and down mirror each other.
    EXPECT_GT(upInk.bottom - upInk.top, upInk.right - upInk.left);
    EXPECT_EQ(upInk.right - upInk.left, downInk.right - downInk.left);
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET);
    // The private-use form of the code draws the same glyph.
    const char16_t upPua[] = {0xF0AD, 0};
    c.Clear(kWhite);
    TextOutW(c.dc(), 5, 5, upPua, 1);
    EXPECT_EQ(c.Pixels(), upPixels);
}

TEST(GdiText, UnderlineAndStrikeOutAddLines) {
    Canvas c(80, 30);
    SetBkMode(c.dc(), TRANSPARENT);
    {
        UseFont use(c.dc(), Font(-16, u"Arial"));
        TextOutW(c.dc(), 2, 2, u"ab", 2);
    }
    int plain = c.Count(kBlack);
    c.Clear(kWhite);
    HFONT f = CreateFontW(-16, 0, 0, 0, FW_NORMAL, FALSE, TRUE, TRUE, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
    UseFont use(c.dc(), f);
    TextOutW(c.dc(), 2, 2, u"ab", 2);
    EXPECT_GT(c.Count(kBlack), plain);
}

TEST(GdiDrawText, WordBreakAndCalcRect) {
    Canvas c(200, 100);
    UseFont use(c.dc(), Font(-12, u"Arial"));
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    SIZE word{};
    GetTextExtentPoint32W(c.dc(), u"alpha", 5, &word);
    SIZE two{};
    GetTextExtentPoint32W(c.dc(), u"alpha beta", 10, &two);
    // Room for "alpha beta" but not for a third word: two lines.
    RECT r{0, 0, two.cx + 2, 0};
    int h = DrawTextW(c.dc(), u"alpha beta gamma", -1, &r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(h, 2 * tm.tmHeight);
    EXPECT_EQ(r.bottom, 2 * tm.tmHeight);
    EXPECT_EQ(r.right, two.cx);
    EXPECT_EQ(c.Count(kWhite), 200 * 100); // measuring draws nothing
    // A single line gets its own width.
    RECT one{10, 10, 10, 10};
    DrawTextW(c.dc(), u"alpha", 5, &one, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(one, (RECT{10, 10, 10 + word.cx, 10 + tm.tmHeight}));
    // Hard breaks make lines of their own.
    RECT multi{0, 0, 200, 0};
    EXPECT_EQ(DrawTextW(c.dc(), u"a\r\nb\nc", -1, &multi, DT_CALCRECT), 3 * tm.tmHeight);
    // A word longer than the width keeps its line without DT_EDITCONTROL and is broken with it.
    RECT narrow{0, 0, word.cx / 2, 0};
    EXPECT_EQ(DrawTextW(c.dc(), u"alpha", 5, &narrow, DT_WORDBREAK | DT_CALCRECT), tm.tmHeight);
    narrow = RECT{0, 0, word.cx / 2, 0};
    EXPECT_GT(DrawTextW(c.dc(), u"alpha", 5, &narrow, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT),
              tm.tmHeight);
}

TEST(GdiDrawText, AlignmentAndClipping) {
    Canvas c(100, 40);
    UseFont use(c.dc(), Font(-12, u"Arial"));
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    SIZE sz{};
    GetTextExtentPoint32W(c.dc(), u"xy", 2, &sz);
    SetBkMode(c.dc(), OPAQUE);
    SetBkColor(c.dc(), kRed);
    RECT r{0, 0, 100, 40};
    int h = DrawTextW(c.dc(), u"xy", 2, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    int top = (40 - tm.tmHeight) / 2;
    EXPECT_EQ(h, top + tm.tmHeight);
    EXPECT_EQ(c.Ink(), (RECT{(100 - sz.cx) / 2, top, (100 - sz.cx) / 2 + sz.cx, top + tm.tmHeight}));
    c.Clear(kWhite);
    DrawTextW(c.dc(), u"xy", 2, &r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_EQ(c.Ink(), (RECT{100 - sz.cx, 40 - tm.tmHeight, 100, 40}));
    // Clipped to the rectangle unless DT_NOCLIP.
    c.Clear(kWhite);
    RECT small{0, 0, 4, 4};
    DrawTextW(c.dc(), u"xy", 2, &small, DT_SINGLELINE);
    EXPECT_EQ(c.Ink(), small);
    c.Clear(kWhite);
    DrawTextW(c.dc(), u"xy", 2, &small, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(c.Ink(), (RECT{0, 0, sz.cx, tm.tmHeight}));
}

TEST(GdiDrawText, PrefixesAreUnderlinedUnlessNoPrefix) {
    Canvas c(100, 30);
    UseFont use(c.dc(), Font(-12, u"Arial"));
    SetBkMode(c.dc(), TRANSPARENT);
    RECT r{0, 0, 100, 30};
    RECT calc = r;
    DrawTextW(c.dc(), u"&File", -1, &calc, DT_SINGLELINE | DT_CALCRECT);
    SIZE sz{};
    GetTextExtentPoint32W(c.dc(), u"File", 4, &sz);
    EXPECT_EQ(calc.right, sz.cx); // the marker takes no room
    DrawTextW(c.dc(), u"&File", -1, &r, DT_SINGLELINE);
    int withLine = c.Count(kBlack);
    c.Clear(kWhite);
    DrawTextW(c.dc(), u"File", -1, &r, DT_SINGLELINE);
    int plain = c.Count(kBlack);
    EXPECT_GT(withLine, plain);
    c.Clear(kWhite);
    DrawTextW(c.dc(), u"&File", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(c.Count(kBlack), plain);
    // "&&" is one ampersand; with DT_NOPREFIX the markers stay text.
    RECT a = r;
    RECT b = r;
    DrawTextW(c.dc(), u"a&&b", -1, &a, DT_SINGLELINE | DT_CALCRECT);
    DrawTextW(c.dc(), u"a&b", -1, &b, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(a.right, b.right);
}

TEST(GdiDrawText, EllipsesShortenTextToFit) {
    Canvas c(200, 30);
    UseFont use(c.dc(), Font(-12, u"Arial"));
    SIZE full{};
    GetTextExtentPoint32W(c.dc(), u"a long line of text", 19, &full);
    RECT r{0, 0, full.cx / 2, 20};
    WCHAR buf[64] = u"a long line of text";
    DrawTextExW(c.dc(), buf, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    std::u16string shown(buf);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
    SIZE now{};
    GetTextExtentPoint32W(c.dc(), buf, static_cast<int>(shown.size()), &now);
    EXPECT_LE(now.cx, full.cx / 2);
    WCHAR path[64] = u"c:\\folder\\deeper\\file.txt";
    SIZE tail{};
    GetTextExtentPoint32W(c.dc(), u"...\\file.txt", 12, &tail);
    RECT pr{0, 0, tail.cx + 2, 20};
    DrawTextExW(c.dc(), path, -1, &pr, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    std::u16string p(path);
    EXPECT_EQ(p.substr(p.size() - 9), u"\\file.txt");
    EXPECT_NE(p.find(u"..."), std::u16string::npos);
}

TEST(GdiDrawText, TabsExpandToStops) {
    Canvas c(200, 30);
    UseFont use(c.dc(), Font(-12, u"Arial"));
    TEXTMETRICW tm{};
    GetTextMetricsW(c.dc(), &tm);
    RECT r{0, 0, 200, 30};
    DrawTextW(c.dc(), u"a\tb", -1, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    SIZE b{};
    GetTextExtentPoint32W(c.dc(), u"b", 1, &b);
    EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + b.cx);
    DWORD ext = GetTabbedTextExtentW(c.dc(), u"a\tb", 3, 0, nullptr);
    EXPECT_EQ(LOWORD(ext), 8 * tm.tmAveCharWidth + b.cx);
    INT stops[1] = {40};
    ext = GetTabbedTextExtentW(c.dc(), u"a\tb\tc", 5, 1, stops);
    SIZE cc{};
    GetTextExtentPoint32W(c.dc(), u"c", 1, &cc);
    EXPECT_EQ(LOWORD(ext), 80 + cc.cx);
    EXPECT_EQ(HIWORD(ext), tm.tmHeight);
}

TEST(GdiFonts, EnumerationListsTheMappedFamilies) {
    std::vector<std::u16string> names;
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(
        nullptr, &lf,
        [](const LOGFONTW* f, const TEXTMETRICW*, DWORD type, LPARAM p) {
            EXPECT_EQ(type, static_cast<DWORD>(TRUETYPE_FONTTYPE));
            reinterpret_cast<std::vector<std::u16string>*>(p)->push_back(f->lfFaceName);
            return 1;
        },
        reinterpret_cast<LPARAM>(&names), 0);
    auto has = [&](const char16_t* n) { return std::find(names.begin(), names.end(), n) != names.end(); };
    EXPECT_TRUE(has(u"Arial"));
    EXPECT_TRUE(has(u"Courier New"));
    EXPECT_TRUE(has(u"Times New Roman"));
    EXPECT_TRUE(has(u"Symbol"));
    // Asking for one face answers that face only; a callback answering 0 stops.
    std::memcpy(lf.lfFaceName, u"Arial", 12);
    int calls = 0;
    int result = EnumFontFamiliesExW(
        nullptr, &lf,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) {
            ++*reinterpret_cast<int*>(p);
            return 0;
        },
        reinterpret_cast<LPARAM>(&calls), 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(result, 0);
}

TEST(GdiFonts, StockFontsAndLogFontRoundTrip) {
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, -11);
    ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    HFONT f = Font(-17, u"Courier New", FW_BOLD, 450);
    LOGFONTW back{};
    GetObjectW(f, sizeof(back), &back);
    EXPECT_EQ(back.lfHeight, -17);
    EXPECT_EQ(back.lfEscapement, 450);
    EXPECT_EQ(std::u16string(back.lfFaceName), u"Courier New");
    EXPECT_EQ(GetObjectType(f), static_cast<DWORD>(OBJ_FONT));
    DeleteObject(f);
}

TEST(GdiText, GrayStringDrawsOnlyEveryOtherPixelOfTheText) {
    Canvas c(80, 30);
    HFONT f = Font(-20, u"Arial", FW_BOLD);
    UseFont use(c.dc(), f);
    SetBkMode(c.dc(), TRANSPARENT);
    TextOutW(c.dc(), 2, 2, u"MW", 2);
    int full = c.Count(kBlack);
    c.Clear(kWhite);
    ASSERT_TRUE(GrayStringW(c.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(u"MW"), 2, 2, 2, 0, 0));
    int grey = c.Count(kBlack);
    EXPECT_GT(grey, full / 3);
    EXPECT_LT(grey, full * 2 / 3);
}
