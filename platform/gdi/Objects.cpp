// The handle table, stock objects, selection and deletion, pens, brushes and palettes.
#include "platform/base/GlobalMemory.h"
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <cstring>

namespace gdi {

std::recursive_mutex& Mutex() {
    static std::recursive_mutex m;
    return m;
}

// ---- Region
Region::Region(const RECT& rc) {
    pixman_region32_init(&r_);
    Set(rc);
}

RECT Region::Box() const {
    if (Empty()) {
        return RECT{0, 0, 0, 0};
    }
    const pixman_box32_t* b = pixman_region32_extents(const_cast<pixman_region32_t*>(&r_));
    return RECT{b->x1, b->y1, b->x2, b->y2};
}

int Region::Type() const {
    int n = pixman_region32_n_rects(const_cast<pixman_region32_t*>(&r_));
    return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void Region::Set(const RECT& rc) {
    pixman_region32_fini(&r_);
    int l = std::min(rc.left, rc.right);
    int r = std::max(rc.left, rc.right);
    int t = std::min(rc.top, rc.bottom);
    int b = std::max(rc.top, rc.bottom);
    if (l == r || t == b) {
        pixman_region32_init(&r_);
    } else {
        pixman_region32_init_rect(&r_, l, t, static_cast<unsigned>(r - l), static_cast<unsigned>(b - t));
    }
}

void Region::IntersectRect(const RECT& rc) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        Clear();
        return;
    }
    pixman_region32_intersect_rect(&r_, &r_, rc.left, rc.top, static_cast<unsigned>(rc.right - rc.left),
                                   static_cast<unsigned>(rc.bottom - rc.top));
}

void Region::UnionRect(const RECT& rc) {
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        return;
    }
    pixman_region32_union_rect(&r_, &r_, rc.left, rc.top, static_cast<unsigned>(rc.right - rc.left),
                               static_cast<unsigned>(rc.bottom - rc.top));
}

void Region::Xor(const Region& o) {
    Region both(*this);
    both.Intersect(o);
    Union(o);
    Subtract(both);
}

bool Region::ContainsRectFully(const RECT& rc) const {
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        return true;
    }
    pixman_box32_t box{rc.left, rc.top, rc.right, rc.bottom};
    int n = 0;
    const pixman_box32_t* r = Rects(&n);
    for (int i = 0; i < n; ++i) {
        if (r[i].x1 <= box.x1 && r[i].y1 <= box.y1 && r[i].x2 >= box.x2 && r[i].y2 >= box.y2) {
            return true;
        }
    }
    return false;
}

bool Region::Overlaps(const RECT& rc) const {
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        return false;
    }
    pixman_box32_t box{rc.left, rc.top, rc.right, rc.bottom};
    return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&r_), &box) != PIXMAN_REGION_OUT;
}

Region RegionFromSpans(const std::vector<Span>& spans) {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(spans.size());
    for (const Span& s : spans) {
        if (s.x1 > s.x0) {
            boxes.push_back(pixman_box32_t{s.x0, s.y, s.x1, s.y + 1});
        }
    }
    Region r;
    if (!boxes.empty()) {
        // init_rects validates and merges any order and overlap.
        pixman_region32_fini(r.get());
        pixman_region32_init_rects(r.get(), boxes.data(), static_cast<int>(boxes.size()));
    }
    return r;
}

// ---- Handle table
namespace {
struct Slot {
    std::shared_ptr<Object> obj;
    uint32_t gen = 1;
};
constexpr uint32_t kIndexBits = 20;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr uint32_t kGenMask = 0x7FF;

struct Table {
    std::vector<Slot> slots;
    std::vector<uint32_t> free;
};

Table& TheTable() {
    static Table t;
    return t;
}

bool Decode(HGDIOBJ h, uint32_t* index, uint32_t* gen) {
    auto v = reinterpret_cast<uintptr_t>(h);
    if (v == 0 || v > 0x7FFFFFFFu) {
        return false;
    }
    uint32_t idx = static_cast<uint32_t>(v) & kIndexMask;
    if (idx == 0) {
        return false;
    }
    *index = idx - 1;
    *gen = (static_cast<uint32_t>(v) >> kIndexBits) & kGenMask;
    return true;
}
} // namespace

HGDIOBJ AddObject(std::shared_ptr<Object> obj) {
    GDI_LOCK();
    Table& t = TheTable();
    uint32_t index;
    if (!t.free.empty()) {
        index = t.free.back();
        t.free.pop_back();
    } else {
        if (t.slots.size() >= kIndexMask) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        index = static_cast<uint32_t>(t.slots.size());
        t.slots.emplace_back();
    }
    Slot& s = t.slots[index];
    s.obj = std::move(obj);
    uintptr_t v = (static_cast<uintptr_t>(s.gen & kGenMask) << kIndexBits) | (index + 1);
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(v);
    if (s.obj->kind == Kind::DC) {
        static_cast<Dc*>(s.obj.get())->self = static_cast<HDC>(h);
    }
    return h;
}

std::shared_ptr<Object> LookupShared(HGDIOBJ h) {
    GDI_LOCK();
    uint32_t index;
    uint32_t gen;
    if (!Decode(h, &index, &gen)) {
        return nullptr;
    }
    Table& t = TheTable();
    if (index >= t.slots.size() || (t.slots[index].gen & kGenMask) != gen) {
        return nullptr;
    }
    return t.slots[index].obj;
}

Object* Lookup(HGDIOBJ h) {
    GDI_LOCK();
    uint32_t index;
    uint32_t gen;
    if (!Decode(h, &index, &gen)) {
        return nullptr;
    }
    Table& t = TheTable();
    if (index >= t.slots.size() || (t.slots[index].gen & kGenMask) != gen) {
        return nullptr;
    }
    return t.slots[index].obj.get();
}

void RemoveObject(HGDIOBJ h) {
    GDI_LOCK();
    uint32_t index;
    uint32_t gen;
    if (!Decode(h, &index, &gen)) {
        return;
    }
    Table& t = TheTable();
    if (index >= t.slots.size() || (t.slots[index].gen & kGenMask) != gen || !t.slots[index].obj) {
        return;
    }
    std::shared_ptr<Object> dying = std::move(t.slots[index].obj);
    t.slots[index].obj.reset();
    t.slots[index].gen = ((t.slots[index].gen + 1) & kGenMask) ? (t.slots[index].gen + 1) & kGenMask : 1;
    t.free.push_back(index);
    dying.reset(); // destructors may look up other handles; the slot is already free
}

Dc* CheckDc(HDC h) {
    Dc* dc = GetDc(h);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return dc;
}

void Select(HGDIOBJ h) {
    if (Object* o = Lookup(h)) {
        ++o->selected;
    }
}

void Deselect(HGDIOBJ h) {
    Object* o = Lookup(h);
    if (!o) {
        return;
    }
    if (o->selected > 0) {
        --o->selected;
    }
    if (o->selected == 0) {
        if (o->kind == Kind::Bitmap) {
            static_cast<Bitmap*>(o)->ownerDc = nullptr;
        }
        if (o->deletePending && !o->stock) {
            RemoveObject(h);
        }
    }
}

void SelectState(const DcState& s) {
    Select(s.pen);
    Select(s.brush);
    Select(s.font);
    Select(s.bitmap);
    Select(s.palette);
}

void DeselectState(const DcState& s) {
    Deselect(s.pen);
    Deselect(s.brush);
    Deselect(s.font);
    Deselect(s.bitmap);
    Deselect(s.palette);
}

// ---- Stock objects
namespace {
constexpr int kStockCount = 22;
constexpr int kDefaultBitmap = 21;

std::shared_ptr<Brush> MakeSolidBrush(COLORREF c) {
    auto b = std::make_shared<Brush>();
    b->style = BS_SOLID;
    b->color = c & 0x00FFFFFFu;
    return b;
}

std::shared_ptr<Pen> MakePen(int style, int width, COLORREF c) {
    auto p = std::make_shared<Pen>();
    p->style = static_cast<DWORD>(style);
    p->width = width;
    p->color = c;
    return p;
}

std::shared_ptr<Font> MakeFont(int height, int weight, BYTE charset, BYTE pitch, const char16_t* face) {
    auto f = std::make_shared<Font>();
    f->lf.lfHeight = height;
    f->lf.lfWeight = weight;
    f->lf.lfCharSet = charset;
    f->lf.lfPitchAndFamily = pitch;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i) {
        f->lf.lfFaceName[i] = face[i];
    }
    return f;
}

struct Stock {
    HGDIOBJ handles[kStockCount]{};
};

Stock& TheStock() {
    static Stock* stock = [] {
        auto* s = new Stock();
        auto add = [&](int i, std::shared_ptr<Object> o) {
            o->stock = true;
            s->handles[i] = AddObject(std::move(o));
        };
        add(WHITE_BRUSH, MakeSolidBrush(RGB(255, 255, 255)));
        add(LTGRAY_BRUSH, MakeSolidBrush(RGB(192, 192, 192)));
        add(GRAY_BRUSH, MakeSolidBrush(RGB(128, 128, 128)));
        add(DKGRAY_BRUSH, MakeSolidBrush(RGB(64, 64, 64)));
        add(BLACK_BRUSH, MakeSolidBrush(RGB(0, 0, 0)));
        auto null = std::make_shared<Brush>();
        null->style = BS_NULL;
        add(NULL_BRUSH, null);
        add(WHITE_PEN, MakePen(PS_SOLID, 0, RGB(255, 255, 255)));
        add(BLACK_PEN, MakePen(PS_SOLID, 0, RGB(0, 0, 0)));
        add(NULL_PEN, MakePen(PS_NULL, 0, RGB(0, 0, 0)));
        add(OEM_FIXED_FONT, MakeFont(12, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN, u"Terminal"));
        add(ANSI_FIXED_FONT, MakeFont(12, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, u"Courier"));
        add(ANSI_VAR_FONT,
            MakeFont(12, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, u"MS Sans Serif"));
        add(SYSTEM_FONT, MakeFont(16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, u"System"));
        add(DEVICE_DEFAULT_FONT, MakeFont(16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, u"System"));
        auto pal = std::make_shared<Palette>();
        static const BYTE sys[20][3] = {{0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                                        {0, 0, 128},     {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                                        {192, 220, 192}, {166, 202, 240}, {255, 251, 240}, {160, 160, 164},
                                        {128, 128, 128}, {255, 0, 0},     {0, 255, 0},     {255, 255, 0},
                                        {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        for (const auto& c : sys) {
            pal->entries.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
        }
        add(DEFAULT_PALETTE, pal);
        add(SYSTEM_FIXED_FONT, MakeFont(16, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, u"Fixedsys"));
        add(DEFAULT_GUI_FONT,
            MakeFont(-11, FW_NORMAL, DEFAULT_CHARSET, VARIABLE_PITCH | FF_SWISS, u"MS Shell Dlg"));
        auto dcBrush = MakeSolidBrush(RGB(255, 255, 255));
        dcBrush->dcBrush = true;
        add(DC_BRUSH, dcBrush);
        auto dcPen = MakePen(PS_SOLID, 0, RGB(0, 0, 0));
        dcPen->dcPen = true;
        add(DC_PEN, dcPen);
        auto bmp = std::make_shared<Bitmap>();
        bmp->width = 1;
        bmp->height = 1;
        bmp->bpp = 1;
        bmp->mono = true;
        bmp->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        Surface px = bmp->Pixels();
        px.data[0] = 0; // a fresh memory DC reads black
        cairo_surface_mark_dirty(bmp->surface);
        add(kDefaultBitmap, bmp);
        return s;
    }();
    return *stock;
}
} // namespace

HGDIOBJ StockObject(int index) {
    GDI_LOCK();
    if (index < 0 || index >= kStockCount || index == 9 || index == 20) {
        return nullptr;
    }
    return TheStock().handles[index];
}

HBITMAP DefaultBitmap() {
    return static_cast<HBITMAP>(StockObject(kDefaultBitmap));
}

uint32_t MonoPixel(uint32_t p) {
    int r = (p >> 16) & 0xFF;
    int g = (p >> 8) & 0xFF;
    int b = p & 0xFF;
    int toBlack = r * r + g * g + b * b;
    int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
    return toWhite <= toBlack ? 0xFFFFFFu : 0u;
}

} // namespace gdi

using namespace gdi;

HGDIOBJ GetStockObject(int object) {
    if (object == 21) {
        return nullptr; // the memory DCs' default bitmap is not handed out
    }
    HGDIOBJ h = StockObject(object);
    if (!h) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return h;
}

void GdiMarkStock(HGDIOBJ object) {
    GDI_LOCK();
    if (Object* o = Lookup(object)) {
        o->stock = true;
    }
}

DWORD GetObjectType(HGDIOBJ object) {
    GDI_LOCK();
    Object* o = Lookup(object);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (o->kind) {
    case Kind::Pen:
        return static_cast<Pen*>(o)->ext ? OBJ_EXTPEN : OBJ_PEN;
    case Kind::Brush:
        return OBJ_BRUSH;
    case Kind::Font:
        return OBJ_FONT;
    case Kind::Bitmap:
        return OBJ_BITMAP;
    case Kind::Region:
        return OBJ_REGION;
    case Kind::Palette:
        return OBJ_PAL;
    case Kind::DC:
        return static_cast<Dc*>(o)->dcKind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    case Kind::Icon:
        break;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return nullptr;
    }
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return dc->s.pen;
    case OBJ_BRUSH:
        return dc->s.brush;
    case OBJ_FONT:
        return dc->s.font;
    case OBJ_BITMAP:
        return dc->s.bitmap;
    case OBJ_PAL:
        return dc->s.palette;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    Object* o = Lookup(object);
    if (!dc || !o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HGDIOBJ* slot = nullptr;
    switch (o->kind) {
    case Kind::Pen: {
        slot = &dc->s.pen;
        auto* p = static_cast<Pen*>(o);
        Record(*dc, "SelectPen",
               {static_cast<long long>(p->style), p->width, static_cast<long long>(p->color)});
        dc->styleRun = 0;
        break;
    }
    case Kind::Brush: {
        slot = &dc->s.brush;
        auto* b = static_cast<Brush*>(o);
        Record(*dc, "SelectBrush", {b->style, static_cast<long long>(b->color), b->hatch});
        break;
    }
    case Kind::Font: {
        slot = &dc->s.font;
        auto* f = static_cast<Font*>(o);
        Record(*dc, "SelectFont", {f->lf.lfHeight, f->lf.lfWeight, f->lf.lfEscapement, f->lf.lfItalic},
               std::u16string(f->lf.lfFaceName));
        break;
    }
    case Kind::Bitmap: {
        auto* b = static_cast<Bitmap*>(o);
        if (dc->dcKind != DcKind::Memory) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        if (!b->stock && b->ownerDc && b->ownerDc != hdc && b->selected > 0) {
            SetLastError(ERROR_INVALID_PARAMETER); // a bitmap lives in one DC at a time
            return nullptr;
        }
        slot = &dc->s.bitmap;
        if (!b->stock) {
            b->ownerDc = hdc;
        }
        Record(*dc, "SelectBitmap", {b->width, b->height, b->bpp});
        InvalidateClip(*dc);
        break;
    }
    case Kind::Region: {
        int type = SelectClipRgn(hdc, static_cast<HRGN>(object));
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(type));
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HGDIOBJ previous = *slot;
    Select(object);
    *slot = object;
    Deselect(previous);
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    GDI_LOCK();
    Object* o = Lookup(object);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (o->stock) {
        return TRUE;
    }
    if (o->kind == Kind::DC || o->kind == Kind::Icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (o->selected > 0) {
        // Selected bitmaps and palettes stay; pens, brushes and fonts go when they are deselected.
        if (o->kind == Kind::Bitmap || o->kind == Kind::Palette) {
            return FALSE;
        }
        o->deletePending = true;
        return TRUE;
    }
    RemoveObject(object);
    return TRUE;
}

BOOL UnrealizeObject(HGDIOBJ object) {
    GDI_LOCK();
    if (!Lookup(object)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

namespace {
int CopyOut(const void* record, int recordSize, int size, LPVOID buffer) {
    if (!buffer) {
        return recordSize;
    }
    int n = std::min(size, recordSize);
    if (n <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, record, static_cast<size_t>(n));
    return n;
}
} // namespace

int GetObjectW(HANDLE object, int size, LPVOID buffer) {
    GDI_LOCK();
    Object* o = Lookup(object);
    if (!o) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (o->kind) {
    case Kind::Pen: {
        auto* p = static_cast<Pen*>(o);
        if (!p->ext) {
            LOGPEN lp{p->style, POINT{p->width, 0}, p->color};
            return CopyOut(&lp, sizeof(lp), size, buffer);
        }
        size_t bytes = offsetof(EXTLOGPEN, elpStyleEntry) + p->userStyle.size() * sizeof(DWORD);
        bytes = std::max(bytes, sizeof(EXTLOGPEN));
        std::vector<uint8_t> raw(bytes);
        auto* e = reinterpret_cast<EXTLOGPEN*>(raw.data());
        e->elpPenStyle = p->style;
        e->elpWidth = static_cast<DWORD>(p->width);
        e->elpBrushStyle = p->brushStyle;
        e->elpColor = p->color;
        e->elpHatch = p->hatch;
        e->elpNumEntries = static_cast<DWORD>(p->userStyle.size());
        std::memcpy(raw.data() + offsetof(EXTLOGPEN, elpStyleEntry), p->userStyle.data(),
                    p->userStyle.size() * sizeof(DWORD));
        int need = static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry) + p->userStyle.size() * sizeof(DWORD));
        return CopyOut(raw.data(), need, size, buffer);
    }
    case Kind::Brush: {
        auto* b = static_cast<Brush*>(o);
        LOGBRUSH lb{b->style, b->color, 0};
        if (b->style == BS_HATCHED) {
            lb.lbHatch = static_cast<ULONG_PTR>(b->hatch);
        } else if (b->style == BS_PATTERN) {
            lb.lbHatch = reinterpret_cast<ULONG_PTR>(b->patternBitmap);
        } else if (b->style == BS_DIBPATTERN || b->style == BS_DIBPATTERNPT) {
            lb.lbHatch = reinterpret_cast<ULONG_PTR>(b->packedDib.data());
            lb.lbColor = b->dibUsage;
        }
        return CopyOut(&lb, sizeof(lb), size, buffer);
    }
    case Kind::Font:
        return CopyOut(&static_cast<Font*>(o)->lf, sizeof(LOGFONTW), size, buffer);
    case Kind::Bitmap: {
        auto* b = static_cast<Bitmap*>(o);
        BITMAP bm{};
        bm.bmType = 0;
        bm.bmWidth = b->width;
        bm.bmHeight = b->height;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = static_cast<WORD>(b->bpp);
        if (b->dib) {
            bm.bmWidthBytes = b->dibStride;
            bm.bmBits = b->bits;
        } else {
            bm.bmWidthBytes = ((b->width * b->bpp + 15) / 16) * 2;
        }
        if (b->dib && buffer && size >= static_cast<int>(sizeof(DIBSECTION))) {
            DIBSECTION ds{};
            ds.dsBm = bm;
            ds.dsBmih = b->header;
            ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
            ds.dsBmih.biSizeImage = static_cast<DWORD>(b->bitsSize);
            std::memcpy(ds.dsBitfields, b->masks, sizeof(ds.dsBitfields));
            return CopyOut(&ds, sizeof(ds), size, buffer);
        }
        return CopyOut(&bm, sizeof(bm), size, buffer);
    }
    case Kind::Palette: {
        WORD n = static_cast<WORD>(static_cast<Palette*>(o)->entries.size());
        return CopyOut(&n, sizeof(n), size, buffer);
    }
    default:
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
}

COLORREF SetDCBrushColor(HDC hdc, COLORREF color) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return CLR_INVALID;
    }
    COLORREF old = dc->s.dcBrushColor;
    dc->s.dcBrushColor = color;
    return old;
}

COLORREF GetDCBrushColor(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    return dc ? dc->s.dcBrushColor : CLR_INVALID;
}

COLORREF SetDCPenColor(HDC hdc, COLORREF color) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return CLR_INVALID;
    }
    COLORREF old = dc->s.dcPenColor;
    dc->s.dcPenColor = color;
    return old;
}

COLORREF GetDCPenColor(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    return dc ? dc->s.dcPenColor : CLR_INVALID;
}

// ---- Pens
HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_shared<Pen>();
    p->style = static_cast<DWORD>(style);
    p->width = width < 0 ? -width : width;
    p->color = color;
    return static_cast<HPEN>(AddObject(std::move(p)));
}

HPEN CreatePenIndirect(const LOGPEN* logPen) {
    if (!logPen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

HPEN ExtCreatePen(DWORD penStyle, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* style) {
    if (!brush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD type = penStyle & PS_TYPE_MASK;
    DWORD line = penStyle & PS_STYLE_MASK;
    bool bad = line > PS_ALTERNATE || (type != PS_COSMETIC && type != PS_GEOMETRIC);
    if (type == PS_COSMETIC) {
        bad = bad || width != 1 || brush->lbStyle != BS_SOLID || line == PS_INSIDEFRAME;
    } else {
        bad = bad || line == PS_ALTERNATE;
    }
    if (line == PS_USERSTYLE) {
        bad = bad || styleCount == 0 || styleCount > 16 || !style;
    } else {
        bad = bad || styleCount != 0;
    }
    if (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL && brush->lbStyle != BS_HATCHED) {
        bad = true; // pattern-brush pens are not drawn by this layer
    }
    if (bad) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_shared<Pen>();
    p->ext = true;
    p->style = penStyle;
    p->width = static_cast<int>(width);
    p->color = brush->lbColor;
    p->brushStyle = brush->lbStyle;
    p->hatch = brush->lbHatch;
    if (brush->lbStyle == BS_NULL) {
        p->style = (penStyle & ~PS_STYLE_MASK) | PS_NULL;
    }
    if (line == PS_USERSTYLE) {
        p->userStyle.assign(style, style + styleCount);
    }
    return static_cast<HPEN>(AddObject(std::move(p)));
}

// ---- Brushes
HBRUSH CreateSolidBrush(COLORREF color) {
    auto b = std::make_shared<Brush>();
    b->style = BS_SOLID;
    b->color = color;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_shared<Brush>();
    b->style = BS_HATCHED;
    b->color = color;
    b->hatch = hatch;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    GDI_LOCK();
    Bitmap* bm = Get<Bitmap>(bitmap, Kind::Bitmap);
    if (!bm || bm->width <= 0 || bm->height <= 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    bm->SyncIn();
    auto b = std::make_shared<Brush>();
    b->style = BS_PATTERN;
    b->patternBitmap = bitmap;
    b->mono = bm->mono;
    b->patW = bm->width;
    b->patH = bm->height;
    Surface px = bm->Pixels();
    for (int y = 0; y < bm->height; ++y) {
        for (int x = 0; x < bm->width; ++x) {
            uint32_t v = px.Row(y)[x] & 0xFFFFFFu;
            if (b->mono) {
                b->monoBits.push_back(v ? 1 : 0);
            } else {
                b->pat.push_back(v);
            }
        }
    }
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

namespace gdi {
// Defined with the bitmaps: decodes a packed DIB into 32-bit pixels (top row first).
bool DecodePackedDib(const uint8_t* data, size_t size, UINT usage, Dc* dc, int* width, int* height,
                     std::vector<uint32_t>* pixels, size_t* consumed);
} // namespace gdi

HBRUSH CreateDIBPatternBrushPt(const void* packedDib, UINT usage) {
    GDI_LOCK();
    if (!packedDib || (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // The caller's block has no stated size: trust its header, as the original must.
    const auto* bih = static_cast<const BITMAPINFOHEADER*>(packedDib);
    if (bih->biSize < sizeof(BITMAPINFOHEADER) || bih->biSize > 1024 || bih->biWidth <= 0 ||
        bih->biWidth > 4096 || bih->biHeight == 0 || bih->biHeight > 4096 || bih->biHeight < -4096) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size_t colors = bih->biClrUsed ? bih->biClrUsed : (bih->biBitCount <= 8 ? (1u << bih->biBitCount) : 0);
    if (bih->biCompression == BI_BITFIELDS && bih->biSize == sizeof(BITMAPINFOHEADER)) {
        colors = 3;
    }
    size_t entry = usage == DIB_PAL_COLORS ? 2 : 4;
    size_t stride = ((static_cast<size_t>(bih->biWidth) * bih->biBitCount + 31) / 32) * 4;
    size_t rows = static_cast<size_t>(bih->biHeight < 0 ? -bih->biHeight : bih->biHeight);
    size_t total = bih->biSize + colors * entry + stride * rows;
    if (colors > 256) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int w = 0;
    int h = 0;
    std::vector<uint32_t> pixels;
    size_t used = 0;
    const auto* bytes = static_cast<const uint8_t*>(packedDib);
    if (!DecodePackedDib(bytes, total, usage, nullptr, &w, &h, &pixels, &used)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_shared<Brush>();
    b->style = BS_DIBPATTERNPT;
    b->patW = w;
    b->patH = h;
    b->pat = std::move(pixels);
    b->packedDib.assign(bytes, bytes + total);
    b->dibUsage = usage;
    return static_cast<HBRUSH>(AddObject(std::move(b)));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    switch (lb->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(lb->lbColor);
    case BS_NULL: {
        auto b = std::make_shared<Brush>();
        b->style = BS_NULL;
        return static_cast<HBRUSH>(AddObject(std::move(b)));
    }
    case BS_HATCHED:
        return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
    case BS_PATTERN:
    case BS_PATTERN8X8:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    case BS_DIBPATTERNPT:
    case BS_DIBPATTERN8X8:
        return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(lb->lbHatch), lb->lbColor & 0xFFFF);
    case BS_DIBPATTERN: {
        auto mem = reinterpret_cast<HGLOBAL>(lb->lbHatch);
        const void* p = GlobalLock(mem);
        if (!p) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        HBRUSH b = CreateDIBPatternBrushPt(p, lb->lbColor & 0xFFFF);
        GlobalUnlock(mem);
        return b;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return FALSE;
    }
    if (previous) {
        *previous = dc->s.brushOrg;
    }
    dc->s.brushOrg = POINT{x, y};
    return TRUE;
}

BOOL GetBrushOrgEx(HDC hdc, LPPOINT point) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !point) {
        return FALSE;
    }
    *point = dc->s.brushOrg;
    return TRUE;
}

namespace gdi {

Paint SolidPaint(uint32_t color) {
    Paint p;
    p.solid = true;
    p.color = color;
    return p;
}

// The 8x8 hatch patterns, most significant bit leftmost; set bits are the hatch lines.
static const uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
};

Paint BrushPaint(Dc& dc, HGDIOBJ brush, bool mono) {
    Paint p;
    Brush* b = Get<Brush>(brush, Kind::Brush);
    if (!b || b->style == BS_NULL) {
        p.none = true;
        return p;
    }
    auto fix = [&](uint32_t v) { return mono ? MonoPixel(v) : v; };
    p.orgX = dc.origin.x + dc.s.brushOrg.x;
    p.orgY = dc.origin.y + dc.s.brushOrg.y;
    switch (b->style) {
    case BS_SOLID:
        p.solid = true;
        p.color = ResolveColor(dc, b->dcBrush ? dc.s.dcBrushColor : b->color, mono);
        return p;
    case BS_HATCHED: {
        p.solid = false;
        p.w = 8;
        p.h = 8;
        uint32_t fg = ResolveColor(dc, b->color, mono);
        uint32_t bg = ResolveColor(dc, dc.s.bkColor, mono);
        bool transparent = dc.s.bkMode == TRANSPARENT;
        p.pix.resize(64);
        if (transparent) {
            p.hole.resize(64);
        }
        int h = std::clamp(b->hatch, 0, 5);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                bool on = (kHatch[h][y] >> (7 - x)) & 1;
                p.pix[y * 8 + x] = on ? fg : bg;
                if (transparent) {
                    p.hole[y * 8 + x] = on ? 0 : 1;
                }
            }
        }
        return p;
    }
    default: {
        if (b->patW <= 0 || b->patH <= 0) {
            p.none = true;
            return p;
        }
        p.solid = false;
        p.w = b->patW;
        p.h = b->patH;
        p.pix.resize(static_cast<size_t>(p.w) * p.h);
        if (b->mono) {
            uint32_t fg = ResolveColor(dc, dc.s.textColor, mono);
            uint32_t bg = ResolveColor(dc, dc.s.bkColor, mono);
            for (size_t i = 0; i < p.pix.size(); ++i) {
                p.pix[i] = b->monoBits[i] ? bg : fg;
            }
        } else {
            for (size_t i = 0; i < p.pix.size(); ++i) {
                p.pix[i] = fix(b->pat[i]);
            }
        }
        return p;
    }
    }
}

} // namespace gdi

// ---- Palettes
HPALETTE CreatePalette(const LOGPALETTE* logPalette) {
    if (!logPalette || logPalette->palNumEntries == 0 || logPalette->palVersion != 0x300) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto p = std::make_shared<Palette>();
    p->entries.assign(logPalette->palPalEntry, logPalette->palPalEntry + logPalette->palNumEntries);
    return static_cast<HPALETTE>(AddObject(std::move(p)));
}

HPALETTE CreateHalftonePalette(HDC) {
    auto p = std::make_shared<Palette>();
    // The 6x6x6 colour cube plus the static colours' greys.
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                p->entries.push_back(PALETTEENTRY{static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51),
                                                  static_cast<BYTE>(b * 51), 0});
            }
        }
    }
    for (int i = 0; i < 40; ++i) {
        BYTE v = static_cast<BYTE>(i * 255 / 39);
        p->entries.push_back(PALETTEENTRY{v, v, v, 0});
    }
    return static_cast<HPALETTE>(AddObject(std::move(p)));
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc || !Get<Palette>(palette, Kind::Palette)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    HGDIOBJ previous = dc->s.palette;
    Select(palette);
    dc->s.palette = palette;
    Deselect(previous);
    return static_cast<HPALETTE>(previous);
}

UINT RealizePalette(HDC hdc) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return GDI_ERROR;
    }
    return 0; // a true-colour surface maps no entries
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries) {
    GDI_LOCK();
    Palette* p = Get<Palette>(palette, Kind::Palette);
    if (!p) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!entries) {
        return static_cast<UINT>(p->entries.size());
    }
    if (start >= p->entries.size()) {
        return 0;
    }
    UINT n = std::min<UINT>(count, static_cast<UINT>(p->entries.size()) - start);
    std::copy_n(p->entries.begin() + start, n, entries);
    return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
    GDI_LOCK();
    Palette* p = Get<Palette>(palette, Kind::Palette);
    if (!p || p->stock || !entries) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (start >= p->entries.size()) {
        return 0;
    }
    UINT n = std::min<UINT>(count, static_cast<UINT>(p->entries.size()) - start);
    std::copy_n(entries, n, p->entries.begin() + start);
    return n;
}

BOOL ResizePalette(HPALETTE palette, UINT entries) {
    GDI_LOCK();
    Palette* p = Get<Palette>(palette, Kind::Palette);
    if (!p || p->stock || entries == 0 || entries > 1024) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    p->entries.resize(entries, PALETTEENTRY{0, 0, 0, 0});
    return TRUE;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
    GDI_LOCK();
    Palette* p = Get<Palette>(palette, Kind::Palette);
    if (!p || p->entries.empty()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return CLR_INVALID;
    }
    int r = GetRValue(color);
    int g = GetGValue(color);
    int b = GetBValue(color);
    UINT best = 0;
    long bestDist = -1;
    for (size_t i = 0; i < p->entries.size(); ++i) {
        const PALETTEENTRY& e = p->entries[i];
        long d = (e.peRed - r) * (e.peRed - r) + (e.peGreen - g) * (e.peGreen - g) +
                 (e.peBlue - b) * (e.peBlue - b);
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = static_cast<UINT>(i);
        }
    }
    return best;
}

COLORREF GetNearestColor(HDC hdc, COLORREF color) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    if (!dc) {
        return CLR_INVALID;
    }
    Surface s;
    bool mono = TargetSurface(*dc, &s) && s.mono;
    return ToColorRef(ResolveColor(*dc, color, mono));
}

UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, LPPALETTEENTRY entries) {
    GDI_LOCK();
    if (!CheckDc(hdc)) {
        return 0;
    }
    (void)start;
    (void)count;
    (void)entries;
    return 0; // not a palette device
}
