// Device contexts: creation, saved states, attributes, mapping modes, clipping and device capabilities.
#include "platform/base/CodePage.h"
#include "platform/base/MulDiv.h"
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace gdi {

namespace {
std::atomic<int> screenWidth{1024};
std::atomic<int> screenHeight{768};
constexpr int kScreenDpi = 96;

bool SameFace(LPCWSTR a, const char16_t* b) {
    if (!a) {
        return false;
    }
    for (;; ++a, ++b) {
        char16_t x = *a >= u'a' && *a <= u'z' ? static_cast<char16_t>(*a - 32) : *a;
        char16_t y = *b >= u'a' && *b <= u'z' ? static_cast<char16_t>(*b - 32) : *b;
        if (x != y) {
            return false;
        }
        if (!x) {
            return true;
        }
    }
}
} // namespace

// Printers.cpp
HDC CreatePrinterDC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* devmode, bool info);

Dc::~Dc() {
    if (windowSurface) {
        cairo_surface_destroy(windowSurface);
    }
}

void Record(Dc& dc, const char* op, std::vector<long long> args, std::u16string text) {
    if (dc.recording) {
        dc.records.push_back(GdiRecord{op, std::move(args), std::move(text)});
    }
}

void InvalidateClip(Dc& dc) {
    dc.effValid = false;
}

Bitmap* TargetBitmap(Dc& dc) {
    if (dc.dcKind != DcKind::Memory) {
        return nullptr;
    }
    return Get<Bitmap>(dc.s.bitmap, Kind::Bitmap);
}

namespace {
bool SurfaceOf(cairo_surface_t* cs, Surface* out) {
    if (!cs || cairo_surface_status(cs) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(cs) != CAIRO_SURFACE_TYPE_IMAGE) {
        return false;
    }
    cairo_surface_flush(cs);
    out->data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(cs));
    out->stride = cairo_image_surface_get_stride(cs) / 4;
    out->width = cairo_image_surface_get_width(cs);
    out->height = cairo_image_surface_get_height(cs);
    out->mono = false;
    return out->data != nullptr;
}

cairo_surface_t* CairoTarget(Dc& dc) {
    switch (dc.dcKind) {
    case DcKind::Memory: {
        Bitmap* b = TargetBitmap(dc);
        return b ? b->surface : nullptr;
    }
    case DcKind::Window:
        return dc.windowSurface;
    case DcKind::Printer:
        return dc.printer ? dc.printer->page : nullptr;
    default:
        return nullptr;
    }
}
} // namespace

bool TargetSurface(Dc& dc, Surface* out) {
    if (dc.dcKind == DcKind::Memory) {
        Bitmap* b = TargetBitmap(dc);
        if (!b || !b->surface) {
            return false;
        }
        b->SyncIn();
        *out = b->Pixels();
        return out->data != nullptr;
    }
    return SurfaceOf(CairoTarget(dc), out);
}

cairo_surface_t* TargetCairoSurface(Dc& dc) {
    return CairoTarget(dc);
}

void FinishDrawing(Dc& dc) {
    if (cairo_surface_t* cs = CairoTarget(dc)) {
        cairo_surface_mark_dirty(cs);
    }
    if (Bitmap* b = TargetBitmap(dc)) {
        b->SyncOut();
    }
}

RECT DeviceBounds(Dc& dc) {
    switch (dc.dcKind) {
    case DcKind::Memory: {
        Bitmap* b = TargetBitmap(dc);
        return b ? RECT{0, 0, b->width, b->height} : RECT{0, 0, 1, 1};
    }
    case DcKind::Window: {
        RECT box = dc.visible.Box();
        OffsetRect(&box, -dc.origin.x, -dc.origin.y);
        return box;
    }
    case DcKind::Printer:
        return dc.printer ? RECT{0, 0, dc.printer->widthPx, dc.printer->heightPx} : RECT{0, 0, 0, 0};
    default:
        return RECT{0, 0, screenWidth.load(), screenHeight.load()};
    }
}

const Region& EffectiveClip(Dc& dc) {
    if (dc.effValid) {
        return dc.effClip;
    }
    Region r;
    int w = 0;
    int h = 0;
    // The size only: bringing DIB bits in here could undo pixels drawn earlier in the same call.
    if (dc.dcKind == DcKind::Memory) {
        if (Bitmap* b = TargetBitmap(dc); b && b->surface) {
            w = b->width;
            h = b->height;
        }
    } else if (cairo_surface_t* cs = CairoTarget(dc);
               cs && cairo_surface_get_type(cs) == CAIRO_SURFACE_TYPE_IMAGE) {
        w = cairo_image_surface_get_width(cs);
        h = cairo_image_surface_get_height(cs);
    }
    if (w > 0 && h > 0) {
        r.Set(RECT{0, 0, w, h});
        if (dc.dcKind == DcKind::Window) {
            r.Intersect(dc.visible);
        }
        if (dc.s.clip) {
            Region c = *dc.s.clip;
            c.Translate(dc.origin.x, dc.origin.y);
            r.Intersect(c);
        }
    }
    dc.effClip = r;
    dc.effValid = true;
    return dc.effClip;
}

uint32_t ResolveColor(Dc& dc, COLORREF c, bool mono) {
    uint32_t v;
    if ((c >> 24) == 0x01) {
        Palette* p = Get<Palette>(dc.s.palette, Kind::Palette);
        if (!p) {
            p = Get<Palette>(StockObject(DEFAULT_PALETTE), Kind::Palette);
        }
        size_t i = c & 0xFFFF;
        if (p && i < p->entries.size()) {
            const PALETTEENTRY& e = p->entries[i];
            v = (static_cast<uint32_t>(e.peRed) << 16) | (static_cast<uint32_t>(e.peGreen) << 8) | e.peBlue;
        } else {
            v = 0;
        }
    } else {
        v = ToPixel(c & 0xFFFFFFu);
    }
    return mono ? MonoPixel(v) : v;
}

// ---- Coordinates
bool IsPureTranslation(const DcState& s) {
    return s.viewportExt.cx == s.windowExt.cx && s.viewportExt.cy == s.windowExt.cy;
}

double ScaleX(const DcState& s) {
    return static_cast<double>(s.viewportExt.cx) / s.windowExt.cx;
}
double ScaleY(const DcState& s) {
    return static_cast<double>(s.viewportExt.cy) / s.windowExt.cy;
}

namespace {
LONG Round(double v) {
    v = std::floor(v + 0.5);
    return static_cast<LONG>(std::clamp(v, -2147483648.0, 2147483647.0));
}
} // namespace

POINT ToDevice(const DcState& s, POINT p) {
    if (IsPureTranslation(s)) {
        return POINT{p.x - s.windowOrg.x + s.viewportOrg.x, p.y - s.windowOrg.y + s.viewportOrg.y};
    }
    return POINT{Round((static_cast<double>(p.x) - s.windowOrg.x) * ScaleX(s) + s.viewportOrg.x),
                 Round((static_cast<double>(p.y) - s.windowOrg.y) * ScaleY(s) + s.viewportOrg.y)};
}

void ToDeviceD(const DcState& s, double x, double y, double* dx, double* dy) {
    *dx = (x - s.windowOrg.x) * ScaleX(s) + s.viewportOrg.x;
    *dy = (y - s.windowOrg.y) * ScaleY(s) + s.viewportOrg.y;
}

POINT ToLogical(const DcState& s, POINT p) {
    if (IsPureTranslation(s)) {
        return POINT{p.x - s.viewportOrg.x + s.windowOrg.x, p.y - s.viewportOrg.y + s.windowOrg.y};
    }
    return POINT{Round((static_cast<double>(p.x) - s.viewportOrg.x) / ScaleX(s) + s.windowOrg.x),
                 Round((static_cast<double>(p.y) - s.viewportOrg.y) / ScaleY(s) + s.windowOrg.y)};
}

RECT ToDeviceRect(const DcState& s, const RECT& r) {
    POINT a = ToDevice(s, POINT{r.left, r.top});
    POINT b = ToDevice(s, POINT{r.right, r.bottom});
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

namespace {
struct DeviceSize {
    int horzRes;
    int vertRes;
    int horzSize; // millimetres
    int vertSize;
};

DeviceSize DeviceSizeOf(Dc& dc) {
    if (dc.dcKind == DcKind::Printer && dc.printer) {
        return DeviceSize{dc.printer->widthPx, dc.printer->heightPx,
                          static_cast<int>(std::lround(dc.printer->widthMm)),
                          static_cast<int>(std::lround(dc.printer->heightMm))};
    }
    int w = screenWidth.load();
    int h = screenHeight.load();
    return DeviceSize{w, h, static_cast<int>(std::lround(w * 25.4 / kScreenDpi)),
                      static_cast<int>(std::lround(h * 25.4 / kScreenDpi))};
}

// Isotropic mode keeps logical units square: the viewport extent shrinks on the longer axis.
void FixIsotropic(Dc& dc) {
    DcState& s = dc.s;
    DeviceSize d = DeviceSizeOf(dc);
    double xdim = static_cast<double>(s.viewportExt.cx) * d.horzSize /
                  (static_cast<double>(d.horzRes) * s.windowExt.cx);
    double ydim = static_cast<double>(s.viewportExt.cy) * d.vertSize /
                  (static_cast<double>(d.vertRes) * s.windowExt.cy);
    if (std::fabs(xdim) > std::fabs(ydim)) {
        int min = s.viewportExt.cx >= 0 ? 1 : -1;
        s.viewportExt.cx = Round(s.viewportExt.cx * std::fabs(ydim / xdim));
        if (s.viewportExt.cx == 0) {
            s.viewportExt.cx = min;
        }
    } else if (std::fabs(xdim) < std::fabs(ydim)) {
        int min = s.viewportExt.cy >= 0 ? 1 : -1;
        s.viewportExt.cy = Round(s.viewportExt.cy * std::fabs(xdim / ydim));
        if (s.viewportExt.cy == 0) {
            s.viewportExt.cy = min;
        }
    }
}

void InitState(DcState& s, bool memory) {
    s = DcState{};
    s.pen = StockObject(BLACK_PEN);
    s.brush = StockObject(WHITE_BRUSH);
    s.font = StockObject(SYSTEM_FONT);
    s.palette = StockObject(DEFAULT_PALETTE);
    s.bitmap = memory ? DefaultBitmap() : nullptr;
    SelectState(s);
}

HDC NewDc(DcKind kind) {
    auto dc = std::make_shared<Dc>();
    dc->dcKind = kind;
    InitState(dc->s, kind == DcKind::Memory);
    return static_cast<HDC>(AddObject(std::move(dc)));
}
} // namespace

HDC NewDcOfKind(DcKind kind) {
    return NewDc(kind);
}

} // namespace gdi

using namespace gdi;

// ---- Creation
HDC CreateCompatibleDC(HDC hdc) {
    GDI_LOCK();
    if (hdc && !CheckDc(hdc)) {
        return nullptr;
    }
    return NewDc(DcKind::Memory);
}

HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* initData) {
    GDI_LOCK();
    if (SameFace(driver, u"DISPLAY") || (!driver && SameFace(device, u"DISPLAY"))) {
        return NewDc(DcKind::Display);
    }
    return CreatePrinterDC(driver, device, output, initData, false);
}

HDC CreateICW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* initData) {
    GDI_LOCK();
    if (SameFace(driver, u"DISPLAY") || (!driver && SameFace(device, u"DISPLAY"))) {
        return NewDc(DcKind::Info);
    }
    return CreatePrinterDC(driver, device, output, initData, true);
}

BOOL DeleteDC(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    if (dc->printer && dc->printer->inDoc) {
        AbortDoc(hdc);
    }
    DeselectState(dc->s);
    for (const DcState& st : dc->saved) {
        DeselectState(st);
    }
    dc->s = DcState{};
    dc->saved.clear();
    RemoveObject(hdc);
    return TRUE;
}

HDC GdiCreateWindowDC(HWND hwnd, const WindowDrawTarget& target) {
    GDI_LOCK();
    HDC h = NewDc(DcKind::Window);
    Dc* dc = GetDc(h);
    dc->hwnd = hwnd;
    dc->windowSurface = target.surface ? cairo_surface_reference(target.surface) : nullptr;
    dc->origin = target.origin;
    pixman_region32_copy(dc->visible.get(), const_cast<pixman_region32_t*>(&target.visible));
    return h;
}

void GdiDeleteWindowDC(HDC dc) {
    DeleteDC(dc);
}

bool GdiSetWindowDCVisible(HDC hdc, const pixman_region32_t* visible) {
    GDI_LOCK();
    Dc* dc = GetDc(hdc);
    if (!dc || dc->dcKind != DcKind::Window || !visible) {
        return false;
    }
    pixman_region32_copy(dc->visible.get(), const_cast<pixman_region32_t*>(visible));
    InvalidateClip(*dc);
    return true;
}

HWND GdiWindowFromDC(HDC hdc) {
    GDI_LOCK();
    Dc* dc = GetDc(hdc);
    return dc ? dc->hwnd : nullptr;
}

void GdiSetScreenSize(int width, int height) {
    if (width > 0 && height > 0) {
        gdi::screenWidth = width;
        gdi::screenHeight = height;
    }
}

HDC GdiCreateRecordingDC(int width, int height) {
    GDI_LOCK();
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    cairo_surface_t* cs = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(cs) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(cs);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Surface s;
    SurfaceOf(cs, &s);
    for (int y = 0; y < s.height; ++y) {
        std::fill(s.Row(y), s.Row(y) + s.width, 0xFFFFFFu);
    }
    cairo_surface_mark_dirty(cs);
    HDC h = NewDc(DcKind::Window);
    Dc* dc = GetDc(h);
    dc->windowSurface = cs; // owned through the DC's reference
    dc->visible.Set(RECT{0, 0, width, height});
    dc->recording = true;
    return h;
}

BOOL GdiSetRecording(HDC hdc, BOOL on) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    dc->recording = on != FALSE;
    return TRUE;
}

std::vector<GdiRecord> GdiGetRecords(HDC hdc) {
    GDI_LOCK();
    Dc* dc = GetDc(hdc);
    return dc ? dc->records : std::vector<GdiRecord>{};
}

void GdiClearRecords(HDC hdc) {
    GDI_LOCK();
    if (Dc* dc = GetDc(hdc)) {
        dc->records.clear();
    }
}

std::string GdiFormatRecord(const GdiRecord& record) {
    std::string s = record.op + "(";
    for (size_t i = 0; i < record.args.size(); ++i) {
        if (i) {
            s += ",";
        }
        s += std::to_string(record.args[i]);
    }
    if (!record.text.empty()) {
        if (!record.args.empty()) {
            s += ",";
        }
        s += '"';
        s += Utf16ToUtf8(record.text);
        s += '"';
    }
    return s + ")";
}

// ---- Saved states
int SaveDC(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return 0;
    }
    dc->saved.push_back(dc->s);
    SelectState(dc->s);
    Record(*dc, "SaveDC", {static_cast<long long>(dc->saved.size())});
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    int size = static_cast<int>(dc->saved.size());
    int level = savedDC < 0 ? size + 1 + savedDC : savedDC;
    if (savedDC == 0 || level < 1 || level > size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Record(*dc, "RestoreDC", {savedDC});
    DcState previous = std::move(dc->s);
    dc->s = std::move(dc->saved[level - 1]);
    for (int i = level; i < size; ++i) {
        DeselectState(dc->saved[i]);
    }
    dc->saved.resize(level - 1);
    // Bitmaps keep their DC while any state holds them.
    if (Bitmap* b = Get<Bitmap>(dc->s.bitmap, Kind::Bitmap); b && !b->stock) {
        b->ownerDc = hdc;
    }
    DeselectState(previous);
    InvalidateClip(*dc);
    dc->styleRun = 0;
    return TRUE;
}

BOOL GetDCOrgEx(HDC hdc, LPPOINT point) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !point) {
        return FALSE;
    }
    *point = dc->origin;
    return TRUE;
}

BOOL GdiFlush() {
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return 0;
    }
    bool printer = dc->dcKind == DcKind::Printer && dc->printer;
    DeviceSize d = DeviceSizeOf(*dc);
    int dpi = printer ? dc->printer->dpi : kScreenDpi;
    switch (index) {
    case DRIVERVERSION:
        return 0x4000;
    case TECHNOLOGY:
        return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZSIZE:
        return d.horzSize;
    case VERTSIZE:
        return d.vertSize;
    case HORZRES:
    case DESKTOPHORZRES:
        return d.horzRes;
    case VERTRES:
    case DESKTOPVERTRES:
        return d.vertRes;
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
        return -1;
    case NUMMARKERS:
    case NUMFONTS:
    case PDEVICESIZE:
        return 0;
    case CURVECAPS:
        return CC_CIRCLES | CC_PIE | CC_CHORD | CC_ELLIPSES | CC_WIDE | CC_STYLED | CC_WIDESTYLED |
               CC_INTERIORS | CC_ROUNDRECT;
    case LINECAPS:
        return LC_POLYLINE | LC_MARKER | LC_POLYMARKER | LC_WIDE | LC_STYLED | LC_WIDESTYLED | LC_INTERIORS;
    case POLYGONALCAPS:
        return PC_POLYGON | PC_RECTANGLE | PC_WINDPOLYGON | PC_SCANLINE | PC_WIDE | PC_STYLED |
               PC_WIDESTYLED | PC_INTERIORS;
    case TEXTCAPS:
        return TC_OP_CHARACTER | TC_OP_STROKE | TC_CP_STROKE | TC_CR_ANY | TC_SA_DOUBLE | TC_SA_INTEGER |
               TC_SA_CONTIN | TC_UA_ABLE | TC_SO_ABLE | TC_RA_ABLE | TC_VA_ABLE;
    case CLIPCAPS:
        return CP_RECTANGLE;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT |
               RC_STRETCHBLT | RC_FLOODFILL | RC_STRETCHDIB | RC_OP_DX_OUTPUT;
    case ASPECTX:
    case ASPECTY:
        return 36;
    case ASPECTXY:
        return 51;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return dpi;
    case SIZEPALETTE:
        return 0;
    case NUMRESERVED:
        return 20;
    case COLORRES:
        return 24;
    case PHYSICALWIDTH:
        return printer ? d.horzRes : 0;
    case PHYSICALHEIGHT:
        return printer ? d.vertRes : 0;
    case PHYSICALOFFSETX:
    case PHYSICALOFFSETY:
    case SCALINGFACTORX:
    case SCALINGFACTORY:
        return 0;
    case VREFRESH:
        return printer ? 0 : 60;
    case BLTALIGNMENT:
    case SHADEBLENDCAPS:
    case COLORMGMTCAPS:
        return 0;
    default:
        return 0;
    }
}

// ---- Attributes
#define DC_ATTRIBUTE(Setter, Getter, Type, field, valid, failValue)                                          \
    Type Setter(HDC hdc, Type value) {                                                                       \
        GDI_LOCK();                                                                                          \
        Dc* dc = CheckDc(hdc);                                                                               \
        if (!dc || !(valid)) {                                                                               \
            SetLastError(ERROR_INVALID_PARAMETER);                                                           \
            return failValue;                                                                                \
        }                                                                                                    \
        Type old = dc->s.field;                                                                              \
        dc->s.field = value;                                                                                 \
        Record(*dc, #Setter, {static_cast<long long>(value)});                                               \
        return old;                                                                                          \
    }                                                                                                        \
    Type Getter(HDC hdc) {                                                                                   \
        GDI_LOCK();                                                                                          \
        Dc* dc = CheckDc(hdc);                                                                               \
        return dc ? dc->s.field : failValue;                                                                 \
    }

DC_ATTRIBUTE(SetROP2, GetROP2, int, rop2, value >= R2_BLACK && value <= R2_WHITE, 0)
DC_ATTRIBUTE(SetBkMode, GetBkMode, int, bkMode, value == TRANSPARENT || value == OPAQUE, 0)
DC_ATTRIBUTE(SetPolyFillMode, GetPolyFillMode, int, polyFillMode, value == ALTERNATE || value == WINDING, 0)
DC_ATTRIBUTE(SetStretchBltMode, GetStretchBltMode, int, stretchMode,
             value >= BLACKONWHITE && value <= HALFTONE, 0)
DC_ATTRIBUTE(SetArcDirection, GetArcDirection, int, arcDirection,
             value == AD_COUNTERCLOCKWISE || value == AD_CLOCKWISE, 0)
DC_ATTRIBUTE(SetGraphicsMode, GetGraphicsMode, int, graphicsMode,
             value == GM_COMPATIBLE || value == GM_ADVANCED, 0)
DC_ATTRIBUTE(SetBkColor, GetBkColor, COLORREF, bkColor, value != CLR_INVALID, CLR_INVALID)
DC_ATTRIBUTE(SetTextColor, GetTextColor, COLORREF, textColor, value != CLR_INVALID, CLR_INVALID)
DC_ATTRIBUTE(SetTextAlign, GetTextAlign, UINT, textAlign, value <= 0xFFFFu, GDI_ERROR)

int SetTextCharacterExtra(HDC hdc, int extra) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return static_cast<int>(0x80000000u);
    }
    int old = dc->s.charExtra;
    dc->s.charExtra = extra;
    return old;
}

int GetTextCharacterExtra(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    return dc ? dc->s.charExtra : static_cast<int>(0x80000000u);
}

// ---- Mapping
int SetMapMode(HDC hdc, int mode) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int old = dc->s.mapMode;
    if (mode == old && mode != MM_ISOTROPIC) {
        return old;
    }
    DeviceSize d = DeviceSizeOf(*dc);
    DcState& s = dc->s;
    auto metric = [&](int perMmNum, int perMmDen) {
        s.windowExt = SIZE{MulDiv(d.horzSize, perMmNum, perMmDen), MulDiv(d.vertSize, perMmNum, perMmDen)};
        s.viewportExt = SIZE{d.horzRes, -d.vertRes};
    };
    switch (mode) {
    case MM_TEXT:
        s.windowExt = SIZE{1, 1};
        s.viewportExt = SIZE{1, 1};
        break;
    case MM_LOMETRIC:
    case MM_ISOTROPIC:
        metric(10, 1);
        break;
    case MM_HIMETRIC:
        metric(100, 1);
        break;
    case MM_LOENGLISH:
        metric(1000, 254);
        break;
    case MM_HIENGLISH:
        metric(10000, 254);
        break;
    case MM_TWIPS:
        metric(14400, 254);
        break;
    case MM_ANISOTROPIC:
        break;
    }
    s.mapMode = mode;
    Record(*dc, "SetMapMode", {mode});
    InvalidateClip(*dc);
    return old;
}

int GetMapMode(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    return dc ? dc->s.mapMode : 0;
}

namespace {
BOOL SetOrigin(HDC hdc, POINT DcState::*field, LONG x, LONG y, LPPOINT previous, bool offset,
               const char* op) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    POINT& f = dc->s.*field;
    if (previous) {
        *previous = f;
    }
    f = offset ? POINT{f.x + x, f.y + y} : POINT{x, y};
    Record(*dc, op, {x, y});
    return TRUE;
}

template <class T>
BOOL GetPair(HDC hdc, T DcState::*field, T* out) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !out) {
        return FALSE;
    }
    *out = dc->s.*field;
    return TRUE;
}

BOOL SetExtent(HDC hdc, bool window, int x, int y, LPSIZE previous, bool scale, int xn = 1, int xd = 1,
               int yn = 1, int yd = 1) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    SIZE& ext = window ? dc->s.windowExt : dc->s.viewportExt;
    if (previous) {
        *previous = ext;
    }
    if (dc->s.mapMode != MM_ISOTROPIC && dc->s.mapMode != MM_ANISOTROPIC) {
        return TRUE; // fixed modes ignore extents
    }
    SIZE next;
    if (scale) {
        if (xd == 0 || yd == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        next = SIZE{MulDiv(ext.cx, xn, xd), MulDiv(ext.cy, yn, yd)};
    } else {
        next = SIZE{x, y};
    }
    if (next.cx == 0 || next.cy == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ext = next;
    if (dc->s.mapMode == MM_ISOTROPIC) {
        FixIsotropic(*dc);
    }
    Record(*dc, window ? "SetWindowExtEx" : "SetViewportExtEx", {ext.cx, ext.cy});
    InvalidateClip(*dc);
    return TRUE;
}
} // namespace

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcState::windowOrg, x, y, previous, false, "SetWindowOrgEx");
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT point) {
    return GetPair(dc, &DcState::windowOrg, point);
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcState::viewportOrg, x, y, previous, false, "SetViewportOrgEx");
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT point) {
    return GetPair(dc, &DcState::viewportOrg, point);
}
BOOL OffsetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcState::windowOrg, x, y, previous, true, "OffsetWindowOrgEx");
}
BOOL OffsetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return SetOrigin(dc, &DcState::viewportOrg, x, y, previous, true, "OffsetViewportOrgEx");
}
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous) {
    return SetExtent(dc, true, x, y, previous, false);
}
BOOL GetWindowExtEx(HDC dc, LPSIZE size) {
    return GetPair(dc, &DcState::windowExt, size);
}
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous) {
    return SetExtent(dc, false, x, y, previous, false);
}
BOOL GetViewportExtEx(HDC dc, LPSIZE size) {
    return GetPair(dc, &DcState::viewportExt, size);
}
BOOL ScaleViewportExtEx(HDC dc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous) {
    return SetExtent(dc, false, 0, 0, previous, true, xNum, xDenom, yNum, yDenom);
}
BOOL ScaleWindowExtEx(HDC dc, int xNum, int xDenom, int yNum, int yDenom, LPSIZE previous) {
    return SetExtent(dc, true, 0, 0, previous, true, xNum, xDenom, yNum, yDenom);
}

BOOL LPtoDP(HDC hdc, LPPOINT points, int count) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || (count > 0 && !points)) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        points[i] = ToDevice(dc->s, points[i]);
    }
    return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT points, int count) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || (count > 0 && !points)) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        points[i] = ToLogical(dc->s, points[i]);
    }
    return TRUE;
}

// ---- Clipping
namespace {
// The type of the region the DC now draws through (device-relative).
int ClipType(Dc& dc) {
    return EffectiveClip(dc).Type();
}

Region CurrentClipOrBounds(Dc& dc) {
    if (dc.s.clip) {
        return *dc.s.clip;
    }
    return Region(DeviceBounds(dc));
}
} // namespace

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || mode < RGN_AND || mode > RGN_COPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    if (!rgn) {
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        dc->s.clip.reset();
        InvalidateClip(*dc);
        Record(*dc, "SelectClipRgn", {});
        return ClipType(*dc);
    }
    RegionObject* r = Get<RegionObject>(rgn, Kind::Region);
    if (!r) {
        SetLastError(ERROR_INVALID_HANDLE);
        return ERROR;
    }
    Region next;
    if (mode == RGN_COPY) {
        next = r->rgn;
    } else {
        next = CurrentClipOrBounds(*dc);
        switch (mode) {
        case RGN_AND:
            next.Intersect(r->rgn);
            break;
        case RGN_OR:
            next.Union(r->rgn);
            break;
        case RGN_XOR:
            next.Xor(r->rgn);
            break;
        case RGN_DIFF:
            next.Subtract(r->rgn);
            break;
        }
    }
    dc->s.clip = next;
    InvalidateClip(*dc);
    RECT box = next.Box();
    Record(*dc, "SelectClipRgn", {box.left, box.top, box.right, box.bottom, mode});
    return ClipType(*dc);
}

int SelectClipRgn(HDC dc, HRGN rgn) {
    return ExtSelectClipRgn(dc, rgn, RGN_COPY);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return ERROR;
    }
    RECT r = ToDeviceRect(dc->s, RECT{left, top, right, bottom});
    if (dc->s.clip) {
        dc->s.clip->IntersectRect(r);
    } else {
        dc->s.clip = Region(r);
    }
    InvalidateClip(*dc);
    Record(*dc, "IntersectClipRect", {left, top, right, bottom});
    return ClipType(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return ERROR;
    }
    RECT r = ToDeviceRect(dc->s, RECT{left, top, right, bottom});
    Region next = CurrentClipOrBounds(*dc);
    next.Subtract(Region(r));
    dc->s.clip = next;
    InvalidateClip(*dc);
    Record(*dc, "ExcludeClipRect", {left, top, right, bottom});
    return ClipType(*dc);
}

int OffsetClipRgn(HDC hdc, int x, int y) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return ERROR;
    }
    if (dc->s.clip) {
        int dx = IsPureTranslation(dc->s) ? x : static_cast<int>(std::lround(x * ScaleX(dc->s)));
        int dy = IsPureTranslation(dc->s) ? y : static_cast<int>(std::lround(y * ScaleY(dc->s)));
        dc->s.clip->Translate(dx, dy);
        InvalidateClip(*dc);
    }
    return ClipType(*dc);
}

int GetClipBox(HDC hdc, LPRECT rect) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        return ERROR;
    }
    const Region& eff = EffectiveClip(*dc);
    Region dev = eff;
    if (dc->dcKind == DcKind::Display || dc->dcKind == DcKind::Info) {
        dev = dc->s.clip ? *dc->s.clip : Region(DeviceBounds(*dc));
        if (dc->s.clip) {
            dev.IntersectRect(DeviceBounds(*dc));
        }
    } else {
        dev.Translate(-dc->origin.x, -dc->origin.y);
    }
    RECT box = dev.Box();
    POINT a = ToLogical(dc->s, POINT{box.left, box.top});
    POINT b = ToLogical(dc->s, POINT{box.right, box.bottom});
    *rect = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    return dev.Type();
}

int GetClipRgn(HDC hdc, HRGN rgn) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    RegionObject* r = Get<RegionObject>(rgn, Kind::Region);
    if (!dc || !r) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    if (!dc->s.clip) {
        return 0;
    }
    r->rgn = *dc->s.clip;
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return -1;
    }
    POINT p = ToDevice(dc->s, POINT{x, y});
    return EffectiveClip(*dc).Contains(p.x + dc->origin.x, p.y + dc->origin.y);
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !rect) {
        return FALSE;
    }
    RECT r = ToDeviceRect(dc->s, *rect);
    OffsetRect(&r, dc->origin.x, dc->origin.y);
    return EffectiveClip(*dc).Overlaps(r);
}
