// Inside the drawing layer: the handle table, the object records, device-context state and the pixel
// machinery shared by the drawing functions. Not for use outside platform/gdi.
#pragma once

#include "platform/base/Geometry.h"
#include "platform/base/LastError.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/RecordingDC.h"

#include <cairo.h>
#include <pixman.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace gdi {

// One lock for the whole layer: objects are shared between threads the way the original allows.
std::recursive_mutex& Mutex();
#define GDI_LOCK() std::lock_guard<std::recursive_mutex> gdiLock_(::gdi::Mutex())

// ---- Regions: pixman regions with value semantics.
class Region {
public:
    Region() { pixman_region32_init(&r_); }
    explicit Region(const RECT& rc);
    Region(const Region& other) {
        pixman_region32_init(&r_);
        pixman_region32_copy(&r_, &other.r_);
    }
    Region& operator=(const Region& other) {
        if (this != &other) {
            pixman_region32_copy(&r_, &other.r_);
        }
        return *this;
    }
    ~Region() { pixman_region32_fini(&r_); }

    pixman_region32_t* get() { return &r_; }
    const pixman_region32_t* get() const { return &r_; }
    bool Empty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&r_)); }
    RECT Box() const;
    int Type() const; // NULLREGION / SIMPLEREGION / COMPLEXREGION
    void Set(const RECT& rc);
    void Clear() { pixman_region32_clear(&r_); }
    void Intersect(const Region& o) { pixman_region32_intersect(&r_, &r_, &o.r_); }
    void IntersectRect(const RECT& rc);
    void Union(const Region& o) { pixman_region32_union(&r_, &r_, &o.r_); }
    void UnionRect(const RECT& rc);
    void Subtract(const Region& o) { pixman_region32_subtract(&r_, &r_, &o.r_); }
    void Xor(const Region& o);
    void Translate(int dx, int dy) { pixman_region32_translate(&r_, dx, dy); }
    bool Contains(int x, int y) const {
        return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&r_), x, y, nullptr);
    }
    // Whether the rectangle lies wholly inside one of the region's rectangles.
    bool ContainsRectFully(const RECT& rc) const;
    bool Overlaps(const RECT& rc) const;
    bool Equals(const Region& o) const {
        return pixman_region32_equal(const_cast<pixman_region32_t*>(&r_),
                                     const_cast<pixman_region32_t*>(&o.r_));
    }
    const pixman_box32_t* Rects(int* count) const {
        return pixman_region32_rectangles(const_cast<pixman_region32_t*>(&r_), count);
    }

private:
    pixman_region32_t r_;
};

// Runs of pixels of one row, [x0, x1).
struct Span {
    int y;
    int x0;
    int x1;
};
// A region from spans (any order, may overlap).
Region RegionFromSpans(const std::vector<Span>& spans);

// ---- Pixels. Surfaces are CAIRO_FORMAT_RGB24: 0x00RRGGBB in a 32-bit word.
inline uint32_t ToPixel(COLORREF c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
inline COLORREF ToColorRef(uint32_t p) {
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}
// The nearer of black and white.
uint32_t MonoPixel(uint32_t p);

struct Surface {
    uint32_t* data = nullptr;
    int stride = 0; // in pixels
    int width = 0;
    int height = 0;
    bool mono = false;
    uint32_t* Row(int y) const { return data + static_cast<ptrdiff_t>(y) * stride; }
};

uint32_t Rop2(int rop2, uint32_t pen, uint32_t dst);
uint32_t Rop3(uint8_t rop, uint32_t pat, uint32_t src, uint32_t dst);

// What a fill paints: a solid colour or a tiled pattern (with holes for transparent hatch gaps).
struct Paint {
    bool none = false;
    bool solid = true;
    uint32_t color = 0;
    int w = 0;
    int h = 0;
    std::vector<uint32_t> pix;
    std::vector<uint8_t> hole; // empty: no holes
    int orgX = 0;              // surface coordinates of the pattern's (0,0)
    int orgY = 0;
    uint32_t At(int x, int y, bool* skip) const;
};

// Paints spans and pixels on a surface through a clip region (surface coordinates) with a ROP2 mix.
class Painter {
public:
    Painter(const Surface& s, const Region& clip, const Paint& paint, int rop2)
        : s_(s), clip_(clip), paint_(paint), rop2_(rop2) {}
    void SpanClipped(int y, int x0, int x1);
    void Pixel(int x, int y);
    // Paints without testing the clip (the caller has).
    void SpanRaw(int y, int x0, int x1);

private:
    const Surface& s_;
    const Region& clip_;
    Paint paint_; // a copy: callers pass temporaries
    int rop2_;
};

// Calls f(x0, x1) for the parts of [x0, x1) on row y inside the region.
template <class F>
void ForClippedRuns(const Region& clip, int y, int x0, int x1, F&& f) {
    int n = 0;
    const pixman_box32_t* r = clip.Rects(&n);
    // Rectangles are sorted by band; find the first band reaching below y.
    int lo = 0;
    int hi = n;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (r[mid].y2 <= y) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    for (int i = lo; i < n && r[i].y1 <= y; ++i) {
        if (r[i].y2 <= y) {
            continue;
        }
        int a = x0 > r[i].x1 ? x0 : r[i].x1;
        int b = x1 < r[i].x2 ? x1 : r[i].x2;
        if (a < b) {
            f(a, b);
        }
    }
}

// ---- Objects
enum class Kind : uint8_t { Pen = 1, Brush, Font, Bitmap, Region, Palette, DC, Icon };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
    bool stock = false;
    int selected = 0; // selections in DCs (saved states included)
    bool deletePending = false;
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    DWORD style = PS_SOLID; // full style: type, end cap, join, line style
    int width = 1;
    COLORREF color = 0;
    bool ext = false;
    UINT brushStyle = BS_SOLID;
    ULONG_PTR hatch = 0;
    std::vector<DWORD> userStyle;
    bool dcPen = false;
    int LineStyle() const { return static_cast<int>(style & PS_STYLE_MASK); }
    bool Geometric() const { return (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

struct Bitmap;

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    // Pattern brushes: a copy of the pattern, as colours or (monochrome) as bits where 1 = background.
    bool mono = false;
    int patW = 0;
    int patH = 0;
    std::vector<uint32_t> pat;
    std::vector<uint8_t> monoBits;
    HBITMAP patternBitmap = nullptr; // the bitmap it was made from (GetObject answers it)
    std::vector<uint8_t> packedDib;  // DIB pattern brushes keep the DIB
    UINT dibUsage = DIB_RGB_COLORS;
    bool dcBrush = false;
};

struct Font : Object {
    Font() : Object(Kind::Font) {}
    LOGFONTW lf{};
};

struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    ~Bitmap() override;
    int width = 0;
    int height = 0;
    int bpp = 32;      // the depth the bitmap answers for
    bool mono = false; // a device monochrome bitmap: pixels are black (0) or white (1)
    cairo_surface_t* surface = nullptr;
    SIZE dimension{0, 0};
    HDC ownerDc = nullptr;
    // DIB sections: the caller-visible bits in their own format; the surface mirrors them.
    bool dib = false;
    BITMAPINFOHEADER header{};
    std::vector<RGBQUAD> colors;
    DWORD masks[3]{0, 0, 0};
    bool topDown = false;
    uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    int dibStride = 0;
    bool wraps = false; // the surface uses the bits directly (32 bpp top-down BI_RGB)
    std::unique_ptr<uint8_t[]> storage;
    std::vector<uint8_t> shadow; // the bits as the surface last mirrored them

    Surface Pixels() const;
    void SyncIn();  // DIB bits -> surface
    void SyncOut(); // surface -> DIB bits
};

struct RegionObject : Object {
    RegionObject() : Object(Kind::Region) {}
    Region rgn;
};

struct Palette : Object {
    Palette() : Object(Kind::Palette) {}
    std::vector<PALETTEENTRY> entries;
};

struct Icon : Object {
    Icon() : Object(Kind::Icon) {}
    bool isIcon = true;
    DWORD hotX = 0;
    DWORD hotY = 0;
    int width = 0;
    int height = 0;
    std::shared_ptr<Bitmap> mask;  // monochrome; double height for monochrome icons
    std::shared_ptr<Bitmap> color; // may be null
};

// ---- Paths (device coordinates, flattened)
struct PathFigure {
    std::vector<std::pair<double, double>> pts;
    bool closed = false;
};
struct Path {
    std::vector<PathFigure> figures;
    bool open = false;   // between BeginPath and EndPath
    bool closed = false; // EndPath done, path ready
    bool HasFigure() const { return !figures.empty(); }
};

// A printer DC's document: pages are drawn on a raster image at the printer's resolution and placed on the
// PDF page at EndPage.
struct PrinterJob {
    ~PrinterJob();
    cairo_surface_t* page = nullptr; // RGB24 raster of the current page
    cairo_surface_t* pdf = nullptr;  // open between StartDoc and EndDoc
    int widthPx = 0;
    int heightPx = 0;
    int dpi = 300;
    double widthMm = 0;
    double heightMm = 0;
    std::string outputPath;
    std::u16string deviceName;
    bool inDoc = false;
    bool inPage = false;
    int pages = 0;
};

struct DcState {
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;
    HGDIOBJ palette = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    int charExtra = 0;
    int arcDirection = AD_COUNTERCLOCKWISE;
    int mapMode = MM_TEXT;
    int graphicsMode = GM_COMPATIBLE;
    POINT windowOrg{0, 0};
    POINT viewportOrg{0, 0};
    SIZE windowExt{1, 1};
    SIZE viewportExt{1, 1};
    POINT brushOrg{0, 0};
    POINT cur{0, 0};
    std::optional<Region> clip; // device units
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
};

enum class DcKind { Memory, Window, Display, Info, Printer };

struct Dc : Object {
    Dc() : Object(Kind::DC) {}
    ~Dc() override;
    DcKind dcKind = DcKind::Memory;
    HDC self = nullptr;
    HWND hwnd = nullptr;
    cairo_surface_t* windowSurface = nullptr; // window DCs: a reference to the window core's surface
    POINT origin{0, 0};                       // surface position of device (0,0)
    Region visible;                           // window DCs: surface pixels the DC may touch
    std::unique_ptr<PrinterJob> printer;
    DcState s;
    std::vector<DcState> saved;
    Path path;
    int styleRun = 0; // position in the pen's dash pattern, carried from line to line
    bool recording = false;
    std::vector<GdiRecord> records;
    // Surface-coordinate clip cache.
    Region effClip;
    bool effValid = false;
    bool isPrinting() const { return dcKind == DcKind::Printer; }
};

// Handle table. Lookups never dereference a handle: a stale or foreign one answers null.
HGDIOBJ AddObject(std::shared_ptr<Object> obj);
Object* Lookup(HGDIOBJ h);
std::shared_ptr<Object> LookupShared(HGDIOBJ h);
void RemoveObject(HGDIOBJ h);
template <class T>
T* Get(HGDIOBJ h, Kind k) {
    Object* o = Lookup(h);
    if (!o || o->kind != k) {
        return nullptr;
    }
    return static_cast<T*>(o);
}
inline Dc* GetDc(HDC h) {
    return Get<Dc>(h, Kind::DC);
}
// As GetDc, setting ERROR_INVALID_HANDLE when the handle is bad.
Dc* CheckDc(HDC h);
HGDIOBJ StockObject(int index);
HBITMAP DefaultBitmap();
void Select(HGDIOBJ h);   // counts a selection
void Deselect(HGDIOBJ h); // drops one, finishing a pending delete
void SelectState(const DcState& s);
void DeselectState(const DcState& s);

// ---- DC helpers
// The surface a DC draws on (DIB bits brought in); false for DCs without one.
bool TargetSurface(Dc& dc, Surface* out);
Bitmap* TargetBitmap(Dc& dc);
// After drawing: DIB sections get their bits back, cairo learns the pixels changed.
void FinishDrawing(Dc& dc);
// The DC's clip in surface coordinates: visible area, clip region, surface bounds.
const Region& EffectiveClip(Dc& dc);
void InvalidateClip(Dc& dc);
// The device rectangle of the DC (device units): bitmap, page or window area.
RECT DeviceBounds(Dc& dc);
uint32_t ResolveColor(Dc& dc, COLORREF c, bool mono);
// The paint of the DC's brush (or another brush) for the target.
Paint BrushPaint(Dc& dc, HGDIOBJ brush, bool mono);
Paint SolidPaint(uint32_t color);

// Coordinates.
bool IsPureTranslation(const DcState& s);
POINT ToDevice(const DcState& s, POINT p);
POINT ToLogical(const DcState& s, POINT p);
void ToDeviceD(const DcState& s, double x, double y, double* dx, double* dy);
RECT ToDeviceRect(const DcState& s, const RECT& r); // normalised
double ScaleX(const DcState& s);
double ScaleY(const DcState& s);

// Recording.
void Record(Dc& dc, const char* op, std::vector<long long> args, std::u16string text = {});

// ---- Shapes rendered with cairo into a coverage mask: spans of covered pixels.
using PathBuilder = void (*)(cairo_t* cr, const void* ctx);
// Fills (or strokes with the given line settings) a path given in surface coordinates; answers the covered
// spans inside `clipBox`.
std::vector<Span> RasterizeFill(const std::vector<PathFigure>& figures, bool winding, const RECT& clipBox);
struct StrokeStyle {
    double width = 1;
    cairo_line_cap_t cap = CAIRO_LINE_CAP_ROUND;
    cairo_line_join_t join = CAIRO_LINE_JOIN_ROUND;
    double miterLimit = 10;
    std::vector<double> dashes;
};
std::vector<Span> RasterizeStroke(const std::vector<PathFigure>& figures, const StrokeStyle& st,
                                  const RECT& clipBox);

// Cosmetic lines: the pixels of a line from a to b, end pixel excluded, in the original's order.
template <class F>
void BresenhamLine(int x0, int y0, int x1, int y1, F&& plot);

// ---- Drawing helpers shared across files
// Paints spans (device-surface coordinates) with the DC's brush and ROP2.
void FillSpansWithBrush(Dc& dc, const Surface& s, const std::vector<Span>& spans, HGDIOBJ brush, int rop2);
void FillRegionWithPaint(Dc& dc, const Surface& s, const Region& rgn, const Paint& paint, int rop2);
// Draws the outline figures (surface coordinates) with the DC's pen.
void StrokeFigures(Dc& dc, const Surface& s, const std::vector<PathFigure>& figures, bool curve);
// Region covering polygons given in surface coordinates.
Region PolygonRegion(const std::vector<PathFigure>& figures, bool winding);
// The closed path of a DC as a region (device units); the path is consumed.
bool TakePathRegion(Dc& dc, Region* out);
// A region given in logical units moved to surface coordinates of the DC.
Region LogicalRegionToSurface(Dc& dc, const Region& rgn);
// Figures of an ellipse arc etc. in surface coordinates for the shape functions.
std::vector<std::pair<double, double>> EllipsePoints(double cx, double cy, double rx, double ry, double a0,
                                                     double a1, bool full);

// ---- Text (Fonts.cpp / Text.cpp)
struct RealFont;
RealFont* RealizeFont(Dc& dc);
void FontTextMetrics(Dc& dc, TEXTMETRICW* tm);
// Advances of each unit in device pixels (character extra included).
std::vector<int> TextAdvances(Dc& dc, const char16_t* text, int count);
int TextWidth(Dc& dc, const char16_t* text, int count);
// Draws glyphs on the surface at device position (x, y) = baseline origin, clipped to `clip`.
void DrawGlyphs(Dc& dc, const Surface& s, cairo_surface_t* cs, const Region& clip, double x, double y,
                const char16_t* text, int count, const int* advances, uint32_t color);
double FontEscapement(Dc& dc); // radians, counter-clockwise on screen
struct FontLineMetrics {
    int ascent;
    int descent;
    int height;
    int underlinePos; // below the baseline, positive down
    int underlineThickness;
    int strikeoutPos; // above the baseline, positive up
    int strikeoutThickness;
    bool underline;
    bool strikeout;
};
FontLineMetrics LineMetrics(Dc& dc);

// ---- DIBs (Bitmaps.cpp)
struct DibInfo {
    int width = 0;
    int height = 0; // rows, positive
    bool topDown = false;
    int bpp = 0;
    DWORD compression = BI_RGB;
    DWORD masks[3]{0, 0, 0};
    std::vector<uint32_t> palette; // resolved colours for depths up to 8
    size_t headerBytes = 0;        // header, masks and colour table
    size_t stride = 0;             // bytes per stored row (uncompressed)
};
// Reads a BITMAPINFO (or core header) of at most `avail` bytes (SIZE_MAX: trust the header, as the callers of
// the original's functions without a size must). DIB_PAL_COLORS tables resolve through the DC's palette.
bool ParseDibInfo(const void* info, size_t avail, UINT usage, Dc* dc, DibInfo* out);
// Decodes the bits (`size` bytes, SIZE_MAX unknown) to top-down pixels, width*height of them. RLE bits are
// expanded; runs outside the image are dropped.
bool DecodeDibBits(const DibInfo& info, const uint8_t* bits, size_t size, std::vector<uint32_t>* out);
// Bytes the uncompressed bits of a DIB take.
size_t DibBitsSize(const DibInfo& info);
// The target surface of a DC as a cairo surface (text drawing), null when it has none.
cairo_surface_t* TargetCairoSurface(Dc& dc);
HDC NewDcOfKind(DcKind kind);

// Blit core shared by BitBlt, StretchBlt, MaskBlt, StretchDIBits, PatBlt.
struct BlitSource {
    const Surface* surf = nullptr; // null: no source
    bool mono = false;             // mono source on a colour target takes text/background colours
    uint32_t monoFg = 0;           // colour for 0 (black) bits
    uint32_t monoBg = 0xFFFFFF;    // colour for 1 (white) bits
    bool toMono = false;           // colour source on a mono target: background colour becomes white
    uint32_t srcBk = 0xFFFFFF;
    RECT rect{}; // source rectangle in source pixels (may be mirrored: right < left)
};
bool BlitCore(Dc& dst, const RECT& destDevice, const BlitSource& src, DWORD rop, const Surface* mask,
              POINT maskOrg, DWORD backRop);

} // namespace gdi

// Line rasterisation, in the header because it is used with different plotters.
template <class F>
void gdi::BresenhamLine(int x0, int y0, int x1, int y1, F&& plot) {
    int dx = x1 - x0;
    int dy = y1 - y0;
    int adx = dx < 0 ? -dx : dx;
    int ady = dy < 0 ? -dy : dy;
    int sx = dx < 0 ? -1 : 1;
    int sy = dy < 0 ? -1 : 1;
    if (adx == 0 && ady == 0) {
        return;
    }
    // Exact halves go up (towards smaller y) on x-major lines and right on y-major ones: the diamond-exit
    // convention, which keeps a line and its reverse on the same pixels.
    if (adx >= ady) {
        // minor offset = round(i * ady / adx); halves rounded towards -y.
        int bias = sy > 0 ? -1 : 0;
        long long err = static_cast<long long>(adx) + bias; // numerator of (2*i*ady + adx + bias) / (2*adx)
        int y = y0;
        for (int i = 0; i < adx; ++i) {
            plot(x0 + i * sx, y);
            err += 2LL * ady;
            while (err >= 2LL * adx) {
                err -= 2LL * adx;
                y += sy;
            }
        }
    } else {
        int bias = sx > 0 ? 0 : -1;
        long long err = static_cast<long long>(ady) + bias;
        int x = x0;
        for (int i = 0; i < ady; ++i) {
            plot(x, y0 + i * sy);
            err += 2LL * adx;
            while (err >= 2LL * ady) {
                err -= 2LL * ady;
                x += sx;
            }
        }
    }
}
