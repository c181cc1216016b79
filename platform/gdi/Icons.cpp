// Icons as a colour bitmap and an AND mask, drawn the original's way: destination AND mask, then XOR colour.
#include "platform/gdi/GdiPrivate.h"

#include <algorithm>
#include <cstring>

namespace gdi {
namespace {

// A private copy of a bitmap's pixels (the icon owns it; the caller keeps its own bitmap).
std::shared_ptr<Bitmap> CopyBitmap(Bitmap& src) {
    src.SyncIn();
    auto b = std::make_shared<Bitmap>();
    b->width = src.width;
    b->height = src.height;
    b->mono = src.mono;
    b->bpp = src.mono ? 1 : 32;
    b->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, src.width, src.height);
    if (cairo_surface_status(b->surface) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    Surface from = src.Pixels();
    Surface to = b->Pixels();
    for (int y = 0; y < src.height; ++y) {
        std::memcpy(to.Row(y), from.Row(y), sizeof(uint32_t) * static_cast<size_t>(src.width));
    }
    cairo_surface_mark_dirty(b->surface);
    return b;
}

HBITMAP ExportBitmap(const Bitmap& b) {
    HBITMAP h = CreateBitmap(b.width, b.height, 1, b.mono ? 1 : 32, nullptr);
    Bitmap* out = Get<Bitmap>(h, Kind::Bitmap);
    if (!out) {
        return nullptr;
    }
    Surface from = b.Pixels();
    Surface to = out->Pixels();
    for (int y = 0; y < b.height; ++y) {
        std::memcpy(to.Row(y), from.Row(y), sizeof(uint32_t) * static_cast<size_t>(b.width));
    }
    cairo_surface_mark_dirty(out->surface);
    return h;
}

Icon* GetIcon(HICON h) {
    Icon* i = Get<Icon>(h, Kind::Icon);
    if (!i) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return i;
}

} // namespace
} // namespace gdi

using namespace gdi;

HICON CreateIconIndirect(PICONINFO info) {
    GDI_LOCK();
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Bitmap* mask = Get<Bitmap>(info->hbmMask, Kind::Bitmap);
    Bitmap* color = info->hbmColor ? Get<Bitmap>(info->hbmColor, Kind::Bitmap) : nullptr;
    if (!mask || (info->hbmColor && !color)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto icon = std::make_shared<Icon>();
    icon->isIcon = info->fIcon != FALSE;
    icon->mask = CopyBitmap(*mask);
    if (color) {
        icon->color = CopyBitmap(*color);
        icon->width = color->width;
        icon->height = color->height;
    } else {
        icon->width = mask->width;
        icon->height = mask->height / 2;
    }
    if (!icon->mask || (color && !icon->color)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (icon->isIcon) {
        icon->hotX = static_cast<DWORD>(icon->width / 2);
        icon->hotY = static_cast<DWORD>(icon->height / 2);
    } else {
        icon->hotX = info->xHotspot;
        icon->hotY = info->yHotspot;
    }
    return static_cast<HICON>(AddObject(std::move(icon)));
}

BOOL GetIconInfo(HICON h, PICONINFO info) {
    GDI_LOCK();
    Icon* icon = GetIcon(h);
    if (!icon || !info) {
        return FALSE;
    }
    info->fIcon = icon->isIcon;
    info->xHotspot = icon->hotX;
    info->yHotspot = icon->hotY;
    info->hbmMask = ExportBitmap(*icon->mask);
    info->hbmColor = icon->color ? ExportBitmap(*icon->color) : nullptr;
    return TRUE;
}

HICON CopyIcon(HICON h) {
    GDI_LOCK();
    Icon* icon = GetIcon(h);
    if (!icon) {
        return nullptr;
    }
    auto copy = std::make_shared<Icon>(*icon);
    copy->stock = false;
    copy->selected = 0;
    copy->deletePending = false;
    return static_cast<HICON>(AddObject(std::move(copy)));
}

BOOL DestroyIcon(HICON h) {
    GDI_LOCK();
    Icon* icon = GetIcon(h);
    if (!icon) {
        return FALSE;
    }
    if (!icon->stock) {
        RemoveObject(h);
    }
    return TRUE;
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON h, int width, int height, UINT, HBRUSH flickerFreeBrush,
                UINT flags) {
    GDI_LOCK();
    Dc* dc = CheckDc(hdc);
    Icon* icon = GetIcon(h);
    if (!dc || !icon) {
        return FALSE;
    }
    if (flags == 0) {
        flags = DI_NORMAL;
    }
    if (width == 0) {
        width = (flags & DI_DEFAULTSIZE) ? 32 : icon->width;
    }
    if (height == 0) {
        height = (flags & DI_DEFAULTSIZE) ? 32 : icon->height;
    }
    Record(*dc, "DrawIconEx", {x, y, width, height, flags});
    Surface ds;
    if (!TargetSurface(*dc, &ds) || width <= 0 || height <= 0) {
        return TRUE;
    }
    RECT dr = ToDeviceRect(dc->s, RECT{x, y, x + width, y + height});
    int dw = dr.right - dr.left;
    int dh = dr.bottom - dr.top;
    if (dw <= 0 || dh <= 0) {
        return TRUE;
    }
    Region clip = EffectiveClip(*dc);
    RECT sr = dr;
    OffsetRect(&sr, dc->origin.x, dc->origin.y);
    if (flickerFreeBrush) {
        // Drawn over the brush first, as the original does through its off-screen bitmap.
        Paint bg = BrushPaint(*dc, flickerFreeBrush, ds.mono);
        Painter p(ds, clip, bg, R2_COPYPEN);
        for (int yy = sr.top; yy < sr.bottom; ++yy) {
            p.SpanClipped(yy, sr.left, sr.right);
        }
    }
    Surface mask = icon->mask->Pixels();
    Surface color;
    if (icon->color) {
        color = icon->color->Pixels();
    }
    int iw = icon->width;
    int ih = icon->height;
    clip.IntersectRect(sr);
    int n = 0;
    const pixman_box32_t* boxes = clip.Rects(&n);
    for (int k = 0; k < n; ++k) {
        for (int yy = boxes[k].y1; yy < boxes[k].y2; ++yy) {
            int sy = static_cast<int>((static_cast<long long>(yy - sr.top) * ih) / dh);
            uint32_t* row = ds.Row(yy);
            for (int xx = boxes[k].x1; xx < boxes[k].x2; ++xx) {
                int sx = static_cast<int>((static_cast<long long>(xx - sr.left) * iw) / dw);
                uint32_t andBits = mask.Row(sy)[sx] & 0xFFFFFF;
                uint32_t xorBits =
                    icon->color ? color.Row(sy)[sx] & 0xFFFFFF : mask.Row(sy + ih)[sx] & 0xFFFFFF;
                if (ds.mono && icon->color) {
                    xorBits = MonoPixel(xorBits);
                }
                uint32_t v = row[xx];
                if (flags & DI_MASK) {
                    v &= andBits;
                }
                if (flags & DI_IMAGE) {
                    v = (flags & DI_MASK) ? (v ^ xorBits) : xorBits;
                }
                row[xx] = v & 0xFFFFFF;
            }
        }
    }
    FinishDrawing(*dc);
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}
