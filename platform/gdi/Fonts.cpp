// Fonts: the classic faces mapped to metric-compatible free fonts through fontconfig, FreeType metrics in
// the original's terms (cell and character heights, leading, average width, the inverted pitch bit), glyphs
// drawn by cairo with antialiasing off and full hinting, and the Symbol face's 8-bit encoding.
#include "platform/gdi/GdiPrivate.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <tuple>
#include <unordered_map>

namespace gdi {

namespace {

std::u16string Lower(const std::u16string& s) {
    std::u16string out = s;
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c + 32);
        }
    }
    return out;
}

std::u16string FaceOf(const LOGFONTW& lf) {
    std::u16string s;
    for (int i = 0; i < LF_FACESIZE && lf.lfFaceName[i]; ++i) {
        s += lf.lfFaceName[i];
    }
    return s;
}

// The free family drawing a face, and the name the face answers to.
struct FaceChoice {
    const char* family;  // fontconfig family
    std::u16string name; // GetTextFace answer
    BYTE family4;        // FF_* of the realised font
    bool symbol = false; // 8-bit codes through the Symbol encoding
};

struct Alias {
    const char16_t* face;
    const char* family;
    const char16_t* canonical;
    BYTE ff;
};

const Alias kAliases[] = {
    {u"arial", "Liberation Sans", u"Arial", FF_SWISS},
    {u"helvetica", "Liberation Sans", u"Helvetica", FF_SWISS},
    {u"ms sans serif", "Liberation Sans", u"MS Sans Serif", FF_SWISS},
    {u"microsoft sans serif", "Liberation Sans", u"Microsoft Sans Serif", FF_SWISS},
    {u"ms shell dlg", "Liberation Sans", u"MS Shell Dlg", FF_SWISS},
    {u"ms shell dlg 2", "Liberation Sans", u"MS Shell Dlg 2", FF_SWISS},
    {u"tahoma", "Liberation Sans", u"Tahoma", FF_SWISS},
    {u"system", "Liberation Sans", u"System", FF_SWISS},
    {u"liberation sans", "Liberation Sans", u"Liberation Sans", FF_SWISS},
    {u"arial narrow", "Liberation Sans Narrow", u"Arial Narrow", FF_SWISS},
    {u"times new roman", "Liberation Serif", u"Times New Roman", FF_ROMAN},
    {u"times", "Liberation Serif", u"Times", FF_ROMAN},
    {u"ms serif", "Liberation Serif", u"MS Serif", FF_ROMAN},
    {u"liberation serif", "Liberation Serif", u"Liberation Serif", FF_ROMAN},
    {u"courier new", "Liberation Mono", u"Courier New", FF_MODERN},
    {u"courier", "Liberation Mono", u"Courier", FF_MODERN},
    {u"fixedsys", "Liberation Mono", u"Fixedsys", FF_MODERN},
    {u"terminal", "Liberation Mono", u"Terminal", FF_MODERN},
    {u"lucida console", "Liberation Mono", u"Lucida Console", FF_MODERN},
    {u"liberation mono", "Liberation Mono", u"Liberation Mono", FF_MODERN},
    {u"dejavu sans", "DejaVu Sans", u"DejaVu Sans", FF_SWISS},
    {u"dejavu sans mono", "DejaVu Sans Mono", u"DejaVu Sans Mono", FF_MODERN},
    {u"dejavu serif", "DejaVu Serif", u"DejaVu Serif", FF_ROMAN},
};

FaceChoice ChooseFace(const LOGFONTW& lf) {
    std::u16string face = FaceOf(lf);
    std::u16string key = Lower(face);
    if (key == u"symbol") {
        return FaceChoice{"DejaVu Sans", u"Symbol", FF_DECORATIVE, true};
    }
    for (const Alias& a : kAliases) {
        if (key == a.face) {
            return FaceChoice{a.family, a.canonical, a.ff};
        }
    }
    BYTE pitch = lf.lfPitchAndFamily & 0x03;
    BYTE family = lf.lfPitchAndFamily & 0xF0;
    if (pitch == FIXED_PITCH || family == FF_MODERN) {
        return FaceChoice{"Liberation Mono", face.empty() ? u"Courier New" : u"Liberation Mono", FF_MODERN};
    }
    if (family == FF_ROMAN) {
        return FaceChoice{"Liberation Serif", face.empty() ? u"Times New Roman" : u"Liberation Serif",
                          FF_ROMAN};
    }
    if (face.empty() || family == FF_SWISS) {
        return FaceChoice{"Liberation Sans", face.empty() ? u"Arial" : u"Liberation Sans", FF_SWISS};
    }
    return FaceChoice{"DejaVu Sans", u"DejaVu Sans", FF_SWISS};
}

// Adobe Symbol encoding, 0x20..0xFF, as Unicode (0: no character).
const char16_t kSymbol[224] = {
    // 0x20
    0x0020,
    0x0021,
    0x2200,
    0x0023,
    0x2203,
    0x0025,
    0x0026,
    0x220B,
    0x0028,
    0x0029,
    0x2217,
    0x002B,
    0x002C,
    0x2212,
    0x002E,
    0x002F,
    // 0x30
    0x0030,
    0x0031,
    0x0032,
    0x0033,
    0x0034,
    0x0035,
    0x0036,
    0x0037,
    0x0038,
    0x0039,
    0x003A,
    0x003B,
    0x003C,
    0x003D,
    0x003E,
    0x003F,
    // 0x40
    0x2245,
    0x0391,
    0x0392,
    0x03A7,
    0x0394,
    0x0395,
    0x03A6,
    0x0393,
    0x0397,
    0x0399,
    0x03D1,
    0x039A,
    0x039B,
    0x039C,
    0x039D,
    0x039F,
    // 0x50
    0x03A0,
    0x0398,
    0x03A1,
    0x03A3,
    0x03A4,
    0x03A5,
    0x03C2,
    0x03A9,
    0x039E,
    0x03A8,
    0x0396,
    0x005B,
    0x2234,
    0x005D,
    0x22A5,
    0x005F,
    // 0x60
    0x203E,
    0x03B1,
    0x03B2,
    0x03C7,
    0x03B4,
    0x03B5,
    0x03C6,
    0x03B3,
    0x03B7,
    0x03B9,
    0x03D5,
    0x03BA,
    0x03BB,
    0x03BC,
    0x03BD,
    0x03BF,
    // 0x70
    0x03C0,
    0x03B8,
    0x03C1,
    0x03C3,
    0x03C4,
    0x03C5,
    0x03D6,
    0x03C9,
    0x03BE,
    0x03C8,
    0x03B6,
    0x007B,
    0x007C,
    0x007D,
    0x223C,
    0x0000,
    // 0x80 (unused)
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    // 0x90 (unused)
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    // 0xA0
    0x20AC,
    0x03D2,
    0x2032,
    0x2264,
    0x2044,
    0x221E,
    0x0192,
    0x2663,
    0x2666,
    0x2665,
    0x2660,
    0x2194,
    0x2190,
    0x2191,
    0x2192,
    0x2193,
    // 0xB0
    0x00B0,
    0x00B1,
    0x2033,
    0x2265,
    0x00D7,
    0x221D,
    0x2202,
    0x2022,
    0x00F7,
    0x2260,
    0x2261,
    0x2248,
    0x2026,
    0x23D0,
    0x23AF,
    0x21B5,
    // 0xC0
    0x2135,
    0x2111,
    0x211C,
    0x2118,
    0x2297,
    0x2295,
    0x2205,
    0x2229,
    0x222A,
    0x2283,
    0x2287,
    0x2284,
    0x2282,
    0x2286,
    0x2208,
    0x2209,
    // 0xD0
    0x2220,
    0x2207,
    0x00AE,
    0x00A9,
    0x2122,
    0x220F,
    0x221A,
    0x22C5,
    0x00AC,
    0x2227,
    0x2228,
    0x21D4,
    0x21D0,
    0x21D1,
    0x21D2,
    0x21D3,
    // 0xE0
    0x25CA,
    0x2329,
    0x00AE,
    0x00A9,
    0x2122,
    0x2211,
    0x239B,
    0x239C,
    0x239D,
    0x23A1,
    0x23A2,
    0x23A3,
    0x23A7,
    0x23A8,
    0x23A9,
    0x23AA,
    // 0xF0
    0x0000,
    0x232A,
    0x222B,
    0x2320,
    0x23AE,
    0x2321,
    0x239E,
    0x239F,
    0x23A0,
    0x23A4,
    0x23A5,
    0x23A6,
    0x23AB,
    0x23AC,
    0x23AD,
    0x0000,
};

uint32_t SymbolToUnicode(uint32_t c) {
    if (c >= 0xF020 && c <= 0xF0FF) {
        c -= 0xF000;
    }
    if (c >= 0x20 && c <= 0xFF) {
        char16_t u = kSymbol[c - 0x20];
        return u ? u : c;
    }
    return c;
}

FT_Library Library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        FT_Init_FreeType(&l);
        return l;
    }();
    return lib;
}

struct FaceFile {
    std::string path;
    int index = 0;
};

// A fontconfig configuration of our own over the system font folders, without the user's or the system's
// substitution rules: the classic faces are mapped here, and the same fonts answer on every machine.
FcConfig* Config() {
    static FcConfig* config = [] {
        // The system's font caches are read, so the folders need not be scanned (nor caches written).
        static const char kXml[] = "<?xml version=\"1.0\"?><fontconfig>"
                                   "<dir>/usr/share/fonts</dir><dir>/usr/local/share/fonts</dir>"
                                   "<cachedir>/var/cache/fontconfig</cachedir>"
                                   "<cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>";
        FcConfig* c = FcConfigCreate();
        FcConfigParseAndLoadFromMemory(c, reinterpret_cast<const FcChar8*>(kXml), FcFalse);
        FcConfigBuildFonts(c);
        return c;
    }();
    return config;
}

bool FindFile(const char* family, bool bold, bool italic, FaceFile* out) {
    static std::map<std::tuple<std::string, bool, bool>, FaceFile> cache;
    auto key = std::make_tuple(std::string(family), bold, italic);
    if (auto it = cache.find(key); it != cache.end()) {
        *out = it->second;
        return !out->path.empty();
    }
    FaceFile file;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(Config(), pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(Config(), pat, &result);
    if (match) {
        FcChar8* path = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
            file.path = reinterpret_cast<const char*>(path);
        }
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
            file.index = index;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    cache[key] = file;
    *out = file;
    return !file.path.empty();
}

const cairo_user_data_key_t kFaceKey{};

void DoneFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

struct LoadedFace {
    FT_Face ft = nullptr;
    cairo_font_face_t* cairo = nullptr;
};

LoadedFace LoadFace(const FaceFile& file) {
    LoadedFace f;
    if (FT_New_Face(Library(), file.path.c_str(), file.index, &f.ft) != 0) {
        f.ft = nullptr;
        return f;
    }
    f.cairo = cairo_ft_font_face_create_for_ft_face(f.ft, 0);
    cairo_font_face_set_user_data(f.cairo, &kFaceKey, f.ft, DoneFace);
    return f;
}

cairo_font_options_t* Options() {
    static cairo_font_options_t* o = [] {
        cairo_font_options_t* opt = cairo_font_options_create();
        cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_NONE);
        cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_FULL);
        cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_ON);
        return opt;
    }();
    return o;
}

long WeightedAverageUnits(FT_Face face) {
    // The classic weighted mean of the lower-case letters and the space (per mille weights).
    static const int weights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6,  35, 20, 56,
                                    56, 17, 4,  49, 56,  71, 31, 10, 18, 3, 18, 2,  166};
    long sum = 0;
    for (int i = 0; i < 27; ++i) {
        FT_ULong ch = i < 26 ? static_cast<FT_ULong>('a' + i) : ' ';
        if (FT_Load_Char(face, ch, FT_LOAD_NO_SCALE) != 0) {
            return 0;
        }
        sum += face->glyph->metrics.horiAdvance * weights[i];
    }
    return sum / 1000;
}

} // namespace

struct Glyph {
    FT_UInt index = 0;
    int face = 0; // 0 primary, 1 fallback
    int advance = 0;
};

struct RealFont {
    ~RealFont() {
        for (auto& s : scaled) {
            if (s) {
                cairo_scaled_font_destroy(s);
            }
        }
        for (auto& f : faces) {
            if (f.cairo) {
                cairo_font_face_destroy(f.cairo);
            }
        }
    }
    LoadedFace faces[2];
    cairo_scaled_font_t* scaled[2]{nullptr, nullptr};
    cairo_matrix_t matrix{};
    int ppem = 0;
    double xScale = 1;
    int ascent = 0;
    int descent = 0;
    int height = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool fixedPitch = false;
    bool symbol = false;
    BYTE family = FF_SWISS;
    BYTE charset = ANSI_CHARSET;
    int ulPos = 1;
    int ulThick = 1;
    int soPos = 3;
    int soThick = 1;
    std::u16string name;
    std::unordered_map<uint32_t, Glyph> glyphs;

    Glyph GlyphFor(uint32_t ch) {
        auto it = glyphs.find(ch);
        if (it != glyphs.end()) {
            return it->second;
        }
        Glyph g;
        uint32_t u = symbol ? SymbolToUnicode(ch) : ch;
        g.index = FT_Get_Char_Index(faces[0].ft, u);
        if (g.index == 0 && faces[1].ft) {
            FT_UInt alt = FT_Get_Char_Index(faces[1].ft, u);
            if (alt) {
                g.index = alt;
                g.face = 1;
            }
        }
        cairo_glyph_t cg{g.index, 0, 0};
        cairo_text_extents_t ext;
        cairo_scaled_font_glyph_extents(scaled[g.face], &cg, 1, &ext);
        g.advance = static_cast<int>(std::lround(ext.x_advance));
        glyphs.emplace(ch, g);
        return g;
    }
};

namespace {

struct FontKey {
    int ppem;
    int width;
    int weight;
    bool italic;
    bool underline;
    bool strikeout;
    BYTE charset;
    BYTE pitch;
    std::u16string face;
    bool operator<(const FontKey& o) const {
        return std::tie(ppem, width, weight, italic, underline, strikeout, charset, pitch, face) <
               std::tie(o.ppem, o.width, o.weight, o.italic, o.underline, o.strikeout, o.charset, o.pitch,
                        o.face);
    }
};

std::unique_ptr<RealFont> Build(const LOGFONTW& lf, int deviceHeight, int deviceWidth) {
    FaceChoice choice = ChooseFace(lf);
    bool bold = lf.lfWeight >= FW_SEMIBOLD;
    bool italic = lf.lfItalic != 0;
    FaceFile file;
    if (!FindFile(choice.family, bold, italic, &file) && !FindFile("DejaVu Sans", bold, italic, &file)) {
        return nullptr;
    }
    auto rf = std::make_unique<RealFont>();
    rf->faces[0] = LoadFace(file);
    if (!rf->faces[0].ft) {
        return nullptr;
    }
    FT_Face face = rf->faces[0].ft;
    FaceFile fallback;
    if (std::strcmp(choice.family, "DejaVu Sans") != 0 && FindFile("DejaVu Sans", bold, italic, &fallback)) {
        rf->faces[1] = LoadFace(fallback);
    }
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
    double upem = face->units_per_EM ? face->units_per_EM : 2048;
    double winA = os2 ? os2->usWinAscent : face->ascender;
    double winD = os2 ? os2->usWinDescent : -face->descender;
    if (winA + winD <= 0) {
        winA = upem * 0.9;
        winD = upem * 0.2;
    }
    int ppem;
    if (deviceHeight < 0) {
        ppem = -deviceHeight;
    } else {
        int cell = deviceHeight == 0 ? 16 : deviceHeight;
        ppem = static_cast<int>(std::lround(cell * upem / (winA + winD)));
    }
    ppem = std::clamp(ppem, 1, 4096);
    auto scale = [&](double units) { return units * ppem / upem; };
    rf->ppem = ppem;
    rf->ascent = static_cast<int>(std::lround(scale(winA)));
    rf->descent = static_cast<int>(std::lround(scale(winD)));
    rf->height = rf->ascent + rf->descent;
    rf->internalLeading = std::max(0, rf->height - ppem);
    if (hhea) {
        double gap = hhea->Ascender - hhea->Descender + hhea->Line_Gap - (winA + winD);
        rf->externalLeading = std::max(0, static_cast<int>(std::lround(scale(gap))));
    }
    rf->fixedPitch = FT_IS_FIXED_WIDTH(face) || (post && post->isFixedPitch);
    long avgUnits = rf->fixedPitch ? 0 : WeightedAverageUnits(face);
    if (avgUnits <= 0) {
        FT_Load_Char(face, 'x', FT_LOAD_NO_SCALE);
        avgUnits = face->glyph->metrics.horiAdvance;
        if (os2 && !rf->fixedPitch && os2->xAvgCharWidth > 0) {
            avgUnits = os2->xAvgCharWidth;
        }
    }
    double naturalAvg = scale(static_cast<double>(avgUnits));
    if (deviceWidth > 0 && naturalAvg > 0) {
        rf->xScale = deviceWidth / naturalAvg;
    }
    rf->aveCharWidth = std::max(1, static_cast<int>(std::lround(naturalAvg * rf->xScale)));
    rf->maxCharWidth = static_cast<int>(
        std::lround(scale(hhea ? hhea->advance_Width_Max : face->max_advance_width) * rf->xScale));
    rf->weight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    rf->italic = italic;
    rf->underline = lf.lfUnderline != 0;
    rf->strikeout = lf.lfStrikeOut != 0;
    rf->symbol = choice.symbol;
    rf->family = choice.family4;
    rf->charset =
        choice.symbol ? SYMBOL_CHARSET : (lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet);
    rf->name = choice.name;
    if (post) {
        rf->ulThick = std::max(1, static_cast<int>(std::lround(scale(post->underlineThickness))));
        rf->ulPos = std::max(1, static_cast<int>(std::lround(scale(-post->underlinePosition))));
    }
    if (os2) {
        rf->soThick = std::max(1, static_cast<int>(std::lround(scale(os2->yStrikeoutSize))));
        rf->soPos = std::max(1, static_cast<int>(std::lround(scale(os2->yStrikeoutPosition))));
    }
    cairo_matrix_init_scale(&rf->matrix, ppem * rf->xScale, ppem);
    cairo_matrix_t ctm;
    cairo_matrix_init_identity(&ctm);
    for (int i = 0; i < 2; ++i) {
        if (rf->faces[i].cairo) {
            rf->scaled[i] = cairo_scaled_font_create(rf->faces[i].cairo, &rf->matrix, &ctm, Options());
        }
    }
    if (!rf->scaled[1]) {
        rf->faces[1] = LoadedFace{};
    }
    return rf;
}

std::map<FontKey, std::unique_ptr<RealFont>>& Cache() {
    static std::map<FontKey, std::unique_ptr<RealFont>> cache;
    return cache;
}

Font* CurrentFont(Dc& dc) {
    Font* f = Get<Font>(dc.s.font, Kind::Font);
    if (!f) {
        f = Get<Font>(StockObject(SYSTEM_FONT), Kind::Font);
    }
    return f;
}

} // namespace

RealFont* RealizeFont(Dc& dc) {
    Font* f = CurrentFont(dc);
    if (!f) {
        return nullptr;
    }
    const LOGFONTW& lf = f->lf;
    double sy = std::fabs(ScaleY(dc.s));
    double sx = std::fabs(ScaleX(dc.s));
    int h = lf.lfHeight == 0 ? 0 : static_cast<int>(std::lround(lf.lfHeight * sy));
    if (lf.lfHeight != 0 && h == 0) {
        h = lf.lfHeight < 0 ? -1 : 1;
    }
    int w = static_cast<int>(std::lround(std::abs(lf.lfWidth) * sx));
    FontKey key{h,
                w,
                lf.lfWeight >= FW_SEMIBOLD ? FW_BOLD : (lf.lfWeight ? lf.lfWeight : FW_NORMAL),
                lf.lfItalic != 0,
                lf.lfUnderline != 0,
                lf.lfStrikeOut != 0,
                lf.lfCharSet,
                lf.lfPitchAndFamily,
                Lower(FaceOf(lf))};
    auto& cache = Cache();
    auto it = cache.find(key);
    if (it != cache.end()) {
        return it->second.get();
    }
    auto rf = Build(lf, h, w);
    if (!rf) {
        return nullptr;
    }
    rf->weight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    RealFont* raw = rf.get();
    cache.emplace(std::move(key), std::move(rf));
    return raw;
}

double FontEscapement(Dc& dc) {
    Font* f = CurrentFont(dc);
    if (!f) {
        return 0;
    }
    return f->lf.lfEscapement * M_PI / 1800.0;
}

FontLineMetrics LineMetrics(Dc& dc) {
    FontLineMetrics m{};
    RealFont* rf = RealizeFont(dc);
    if (!rf) {
        return m;
    }
    m.ascent = rf->ascent;
    m.descent = rf->descent;
    m.height = rf->height;
    m.underlinePos = rf->ulPos;
    m.underlineThickness = rf->ulThick;
    m.strikeoutPos = rf->soPos;
    m.strikeoutThickness = rf->soThick;
    m.underline = rf->underline;
    m.strikeout = rf->strikeout;
    return m;
}

namespace {
// Device pixels to logical units along an axis.
LONG ToLogicalX(Dc& dc, double v) {
    return static_cast<LONG>(std::lround(v / std::fabs(ScaleX(dc.s))));
}
LONG ToLogicalY(Dc& dc, double v) {
    return static_cast<LONG>(std::lround(v / std::fabs(ScaleY(dc.s))));
}
} // namespace

void FontTextMetrics(Dc& dc, TEXTMETRICW* tm) {
    *tm = TEXTMETRICW{};
    RealFont* rf = RealizeFont(dc);
    if (!rf) {
        return;
    }
    tm->tmHeight = ToLogicalY(dc, rf->height);
    tm->tmAscent = ToLogicalY(dc, rf->ascent);
    tm->tmDescent = ToLogicalY(dc, rf->descent);
    tm->tmInternalLeading = ToLogicalY(dc, rf->internalLeading);
    tm->tmExternalLeading = ToLogicalY(dc, rf->externalLeading);
    tm->tmAveCharWidth = ToLogicalX(dc, rf->aveCharWidth);
    tm->tmMaxCharWidth = ToLogicalX(dc, rf->maxCharWidth);
    tm->tmWeight = rf->weight;
    tm->tmOverhang = 0;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = rf->symbol ? 0xF020 : 0x20;
    tm->tmLastChar = rf->symbol ? 0xF0FF : 0xFFFC;
    tm->tmDefaultChar = rf->symbol ? 0xF020 : 0x1F;
    tm->tmBreakChar = rf->symbol ? 0xF020 : 0x20;
    tm->tmItalic = rf->italic ? 1 : 0;
    tm->tmUnderlined = rf->underline ? 1 : 0;
    tm->tmStruckOut = rf->strikeout ? 1 : 0;
    // The pitch bit is set for VARIABLE pitch.
    tm->tmPitchAndFamily =
        static_cast<BYTE>((rf->fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE | rf->family);
    tm->tmCharSet = rf->charset;
}

std::vector<int> TextAdvances(Dc& dc, const char16_t* text, int count) {
    std::vector<int> adv(static_cast<size_t>(std::max(count, 0)), 0);
    RealFont* rf = RealizeFont(dc);
    if (!rf || count <= 0) {
        return adv;
    }
    int extra = static_cast<int>(std::lround(dc.s.charExtra * std::fabs(ScaleX(dc.s))));
    for (int i = 0; i < count; ++i) {
        uint32_t ch = text[i];
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            adv[i] = rf->GlyphFor(ch).advance + extra;
            adv[++i] = 0;
            continue;
        }
        adv[i] = rf->GlyphFor(ch).advance + extra;
    }
    return adv;
}

int TextWidth(Dc& dc, const char16_t* text, int count) {
    int w = 0;
    for (int a : TextAdvances(dc, text, count)) {
        w += a;
    }
    return w;
}

void DrawGlyphs(Dc& dc, const Surface& s, cairo_surface_t* cs, const Region& clip, double x, double y,
                const char16_t* text, int count, const int* advances, uint32_t color) {
    RealFont* rf = RealizeFont(dc);
    if (!rf || !cs || count <= 0 || clip.Empty()) {
        return;
    }
    (void)s;
    std::vector<cairo_glyph_t> runs[2];
    double pen = 0;
    for (int i = 0; i < count; ++i) {
        uint32_t ch = text[i];
        bool pair = false;
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < count && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            pair = true;
        }
        Glyph g = rf->GlyphFor(ch);
        if (ch != u' ' && ch != u'\t') {
            runs[g.face].push_back(cairo_glyph_t{g.index, pen, 0});
        }
        pen += advances[i];
        if (pair) {
            ++i;
            pen += advances[i];
        }
    }
    cairo_t* cr = cairo_create(cs);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    int n = 0;
    const pixman_box32_t* boxes = clip.Rects(&n);
    for (int i = 0; i < n; ++i) {
        cairo_rectangle(cr, boxes[i].x1, boxes[i].y1, boxes[i].x2 - boxes[i].x1, boxes[i].y2 - boxes[i].y1);
    }
    cairo_clip(cr);
    cairo_set_source_rgb(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         (color & 0xFF) / 255.0);
    cairo_translate(cr, x, y);
    double esc = FontEscapement(dc);
    if (esc != 0) {
        cairo_rotate(cr, -esc);
    }
    cairo_set_font_options(cr, Options());
    for (int f = 0; f < 2; ++f) {
        if (runs[f].empty() || !rf->faces[f].cairo) {
            continue;
        }
        cairo_set_font_face(cr, rf->faces[f].cairo);
        cairo_set_font_matrix(cr, &rf->matrix);
        cairo_show_glyphs(cr, runs[f].data(), static_cast<int>(runs[f].size()));
    }
    cairo_destroy(cr);
    cairo_surface_flush(cs);
}

} // namespace gdi

using namespace gdi;

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
    if (!logFont) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto f = std::make_shared<Font>();
    f->lf = *logFont;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(AddObject(std::move(f)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<BYTE>(italic);
    lf.lfUnderline = static_cast<BYTE>(underline);
    lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    for (int i = 0; faceName && faceName[i] && i < LF_FACESIZE - 1; ++i) {
        lf.lfFaceName[i] = faceName[i];
    }
    return CreateFontIndirectW(&lf);
}

int GetTextFaceW(HDC hdc, int count, LPWSTR faceName) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    RealFont* rf = dc ? RealizeFont(*dc) : nullptr;
    if (!rf) {
        return 0;
    }
    int len = static_cast<int>(rf->name.size());
    if (!faceName) {
        return len + 1;
    }
    if (count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int n = std::min(len, count - 1);
    std::copy_n(rf->name.data(), n, faceName);
    faceName[n] = 0;
    return n;
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !metrics || !RealizeFont(*dc)) {
        return FALSE;
    }
    FontTextMetrics(*dc, metrics);
    return TRUE;
}

UINT GetTextCharset(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    RealFont* rf = dc ? RealizeFont(*dc) : nullptr;
    return rf ? rf->charset : DEFAULT_CHARSET;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !size || count < 0 || (count > 0 && !text) || !RealizeFont(*dc)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int w = TextWidth(*dc, text, count);
    RealFont* rf = RealizeFont(*dc);
    size->cx = static_cast<LONG>(std::lround(w / std::fabs(ScaleX(dc->s))));
    size->cy = static_cast<LONG>(std::lround(rf->height / std::fabs(ScaleY(dc->s))));
    return TRUE;
}

BOOL GetTextExtentPointW(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
    return GetTextExtentPoint32W(hdc, text, count, size);
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx,
                           LPSIZE size) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !size || count < 0 || (count > 0 && !text) || !RealizeFont(*dc)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<int> adv = TextAdvances(*dc, text, count);
    double sx = std::fabs(ScaleX(dc->s));
    int total = 0;
    int fits = 0;
    bool stillFits = true;
    for (int i = 0; i < count; ++i) {
        total += adv[i];
        int logical = static_cast<int>(std::lround(total / sx));
        if (dx) {
            dx[i] = logical;
        }
        if (stillFits && (maxExtent < 0 || logical <= maxExtent)) {
            fits = i + 1;
        } else {
            stillFits = false;
        }
    }
    if (fit) {
        *fit = fits;
    }
    size->cx = static_cast<LONG>(std::lround(total / sx));
    size->cy = static_cast<LONG>(std::lround(RealizeFont(*dc)->height / std::fabs(ScaleY(dc->s))));
    return TRUE;
}

BOOL GetCharWidth32W(HDC hdc, UINT first, UINT last, LPINT widths) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    RealFont* rf = dc ? RealizeFont(*dc) : nullptr;
    if (!rf || !widths || last < first || last - first > 0x10FFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (UINT c = first; c <= last; ++c) {
        widths[c - first] = static_cast<int>(std::lround(rf->GlyphFor(c).advance / std::fabs(ScaleX(dc->s))));
    }
    return TRUE;
}

BOOL GetCharWidthW(HDC hdc, UINT first, UINT last, LPINT widths) {
    return GetCharWidth32W(hdc, first, last, widths);
}

BOOL GetCharABCWidthsW(HDC hdc, UINT first, UINT last, LPABC widths) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    RealFont* rf = dc ? RealizeFont(*dc) : nullptr;
    if (!rf || !widths || last < first || last - first > 0x10FFFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (UINT c = first; c <= last; ++c) {
        Glyph g = rf->GlyphFor(c);
        cairo_glyph_t cg{g.index, 0, 0};
        cairo_text_extents_t ext;
        cairo_scaled_font_glyph_extents(rf->scaled[g.face], &cg, 1, &ext);
        int a = static_cast<int>(std::floor(ext.x_bearing));
        int b = static_cast<int>(std::ceil(ext.x_bearing + ext.width)) - a;
        if (ext.width <= 0) {
            a = 0;
            b = 0;
        }
        widths[c - first] = ABC{a, static_cast<UINT>(b), g.advance - a - b};
    }
    return TRUE;
}

namespace {
struct Family {
    const char16_t* name;
    const char* file;
    BYTE pitchFamily;
    BYTE charset;
};

const Family kFamilies[] = {
    {u"Arial", "Liberation Sans", VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET},
    {u"Courier New", "Liberation Mono", FIXED_PITCH | FF_MODERN, ANSI_CHARSET},
    {u"Liberation Mono", "Liberation Mono", FIXED_PITCH | FF_MODERN, ANSI_CHARSET},
    {u"Liberation Sans", "Liberation Sans", VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET},
    {u"Liberation Serif", "Liberation Serif", VARIABLE_PITCH | FF_ROMAN, ANSI_CHARSET},
    {u"DejaVu Sans", "DejaVu Sans", VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET},
    {u"Microsoft Sans Serif", "Liberation Sans", VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET},
    {u"MS Sans Serif", "Liberation Sans", VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET},
    {u"Symbol", "DejaVu Sans", VARIABLE_PITCH | FF_DECORATIVE, SYMBOL_CHARSET},
    {u"Tahoma", "Liberation Sans", VARIABLE_PITCH | FF_SWISS, ANSI_CHARSET},
    {u"Times New Roman", "Liberation Serif", VARIABLE_PITCH | FF_ROMAN, ANSI_CHARSET},
};

bool SameName(const WCHAR* a, const char16_t* b) {
    return Lower(std::u16string(a)) == Lower(std::u16string(b));
}
} // namespace

int EnumFontFamiliesExW(HDC hdc, LPLOGFONTW logFont, FONTENUMPROCW proc, LPARAM lParam, DWORD) {
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BYTE wantCharset = logFont ? logFont->lfCharSet : DEFAULT_CHARSET;
    const WCHAR* wantFace = logFont && logFont->lfFaceName[0] ? logFont->lfFaceName : nullptr;
    int result = 1;
    for (const Family& f : kFamilies) {
        if (wantFace && !SameName(wantFace, f.name)) {
            continue;
        }
        if (wantCharset != DEFAULT_CHARSET && wantCharset != f.charset) {
            continue;
        }
        FaceFile file;
        {
            GDI_LOCK();
            if (!FindFile(f.file, false, false, &file)) {
                continue;
            }
        }
        ENUMLOGFONTEXW elf{};
        LOGFONTW& lf = elf.elfLogFont;
        lf.lfHeight = -12;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = f.charset;
        lf.lfOutPrecision = OUT_STROKE_PRECIS;
        lf.lfClipPrecision = CLIP_STROKE_PRECIS;
        lf.lfQuality = DRAFT_QUALITY;
        lf.lfPitchAndFamily = f.pitchFamily;
        std::u16string name(f.name);
        std::copy_n(name.data(), std::min<size_t>(name.size(), LF_FACESIZE - 1), lf.lfFaceName);
        std::copy_n(name.data(), std::min<size_t>(name.size(), LF_FULLFACESIZE - 1), elf.elfFullName);
        const char16_t* style = u"Regular";
        std::copy_n(style, 7, elf.elfStyle);
        const char16_t* script = f.charset == SYMBOL_CHARSET ? u"Symbol" : u"Western";
        std::copy_n(script, std::char_traits<char16_t>::length(script), elf.elfScript);
        NEWTEXTMETRICEXW ntm{};
        {
            GDI_LOCK();
            HDC mem = hdc ? hdc : CreateCompatibleDC(nullptr);
            HFONT font = CreateFontIndirectW(&lf);
            HGDIOBJ old = SelectObject(mem, font);
            TEXTMETRICW tm{};
            GetTextMetricsW(mem, &tm);
            SelectObject(mem, old);
            DeleteObject(font);
            if (!hdc) {
                DeleteDC(mem);
            }
            std::memcpy(&ntm.ntmTm, &tm, sizeof(tm));
        }
        ntm.ntmTm.ntmFlags = NTM_REGULAR;
        ntm.ntmTm.ntmSizeEM = 2048;
        ntm.ntmTm.ntmCellHeight = static_cast<UINT>(ntm.ntmTm.tmHeight);
        ntm.ntmTm.ntmAvgWidth = static_cast<UINT>(ntm.ntmTm.tmAveCharWidth);
        result = proc(&elf.elfLogFont, reinterpret_cast<const TEXTMETRICW*>(&ntm), TRUETYPE_FONTTYPE, lParam);
        if (!result) {
            break;
        }
    }
    return result;
}

int EnumFontFamiliesW(HDC hdc, LPCWSTR family, FONTENUMPROCW proc, LPARAM lParam) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    for (int i = 0; family && family[i] && i < LF_FACESIZE - 1; ++i) {
        lf.lfFaceName[i] = family[i];
    }
    return EnumFontFamiliesExW(hdc, &lf, proc, lParam, 0);
}
