// Update regions, WM_PAINT, the DCs of windows, scrolling window contents, surfaces.
#include "platform/display/DisplayInternal.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/kernel/Threads.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

// GetDCEx: take the clipping flags from the window's styles (as GetDC and BeginPaint do).
#define DCX_USESTYLE 0x00010000L

namespace display_detail {
namespace {

int Width(const RECT& rc) {
    return rc.right - rc.left;
}
int Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

RECT ClientArea(const Window& w) {
    return RECT{0, 0, Width(w.rcClient), Height(w.rcClient)};
}

RECT OffsetCopy(RECT rc, int dx, int dy) {
    OffsetRect(&rc, dx, dy);
    return rc;
}

bool HasNonClient(const Window& w) {
    return w.rcWindow.left != w.rcClient.left || w.rcWindow.top != w.rcClient.top ||
           w.rcWindow.right != w.rcClient.right || w.rcWindow.bottom != w.rcClient.bottom;
}

bool ChildrenIncluded(const Window& w, UINT flags) {
    if (flags & RDW_ALLCHILDREN) {
        return true;
    }
    if (flags & RDW_NOCHILDREN) {
        return false;
    }
    return !(w.style & WS_CLIPCHILDREN);
}

void ChildrenBottomFirst(const Window& w, std::vector<HWND>& out) {
    out.assign(w.children.rbegin(), w.children.rend());
}

// A DC about to be made: everything gathered under the lock, the DC itself made without it (GDI has its own
// lock and the two are never held together).
struct PendingDc {
    bool ok = false;
    HWND hwnd = nullptr;
    POINT origin{};
    Region visible;
    DcRecord rec;
};

PendingDc PrepareDcLocked(Window& w, Region visible, bool windowArea, bool paint, bool clipChildren = false,
                          bool clipSiblings = false, int clipMode = 0, const Region* clip = nullptr) {
    PendingDc p;
    POINT topOrigin{};
    std::shared_ptr<Surface> surface = SurfaceOfLocked(w.hwnd, &topOrigin);
    if (!surface) {
        return p;
    }
    POINT origin = windowArea ? WindowOriginScreenLocked(w) : ClientOriginScreenLocked(w);
    p.origin = POINT{origin.x - topOrigin.x, origin.y - topOrigin.y};
    Globals& g = G();
    if (g.lockedWindow && (g.lockedWindow == w.hwnd || IsDescendantLocked(g.lockedWindow, w.hwnd))) {
        visible.Clear();
    }
    p.ok = true;
    p.hwnd = w.hwnd;
    p.visible = visible;
    p.rec.hwnd = w.hwnd;
    p.rec.surface = surface;
    p.rec.topLevel = TopLevelOfLocked(w.hwnd);
    p.rec.paint = paint;
    p.rec.dirty = visible.Bounds();
    p.rec.windowArea = windowArea;
    p.rec.clipChildren = clipChildren;
    p.rec.clipSiblings = clipSiblings;
    p.rec.origin = p.origin;
    p.rec.clipMode = clipMode;
    if (clip) {
        p.rec.clip = *clip;
    }
    return p;
}

HDC FinishDc(PendingDc& p) {
    if (!p.ok) {
        return nullptr;
    }
    WindowDrawTarget target{};
    target.surface = p.rec.surface->surface;
    target.origin = p.origin;
    pixman_region32_init(&target.visible);
    pixman_region32_copy(&target.visible, p.visible.get());
    HDC dc = GdiCreateWindowDC(p.hwnd, target);
    pixman_region32_fini(&target.visible);
    if (!dc) {
        return nullptr;
    }
    Lock lock = LockState();
    G().dcs[dc] = std::move(p.rec);
    return dc;
}

void SendWindowPaint(HWND hwnd) {
    unsigned count = 0;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w || !NeedsPaintLocked(*w)) {
            return;
        }
        count = w->paintCount;
    }
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    Lock lock = LockState();
    Window* w = FindQuietLocked(hwnd);
    if (w && w->paintCount == count && NeedsPaintLocked(*w)) {
        w->update.Clear();
        w->erase = false;
        w->ncDirty = false;
        w->internalPaint = false;
    }
}

void UpdateTree(HWND hwnd, UINT flags, bool self) {
    if (self) {
        SendWindowPaint(hwnd);
    }
    std::vector<HWND> children;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w || !ChildrenIncluded(*w, flags)) {
            return;
        }
        ChildrenBottomFirst(*w, children);
    }
    for (HWND child : children) {
        UpdateTree(child, flags, true);
    }
}

void EraseTree(HWND hwnd, UINT flags, bool self) {
    if (self) {
        EraseNow(hwnd);
    }
    std::vector<HWND> children;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w || !ChildrenIncluded(*w, flags)) {
            return;
        }
        ChildrenBottomFirst(*w, children);
    }
    for (HWND child : children) {
        EraseTree(child, flags, true);
    }
}

bool RegionFromHandle(HRGN rgn, Region& out) {
    return GdiCopyRegionToPixman(rgn, out.get());
}

void CopyToHandle(const Region& region, HRGN rgn) {
    if (!rgn) {
        return;
    }
    HRGN tmp = GdiCreateRegionFromPixman(region.get());
    if (tmp) {
        CombineRgn(rgn, tmp, nullptr, RGN_COPY);
        DeleteObject(tmp);
    }
}

} // namespace

// ---- Regions and painting state

bool NeedsPaintLocked(const Window& w) {
    if (!w.update.Empty() || w.ncDirty || w.internalPaint) {
        return IsVisibleLocked(w.hwnd) || w.internalPaint;
    }
    return false;
}

void InvalidateFrameLocked(Window& w) {
    if (HasNonClient(w) && IsVisibleLocked(w.hwnd)) {
        w.ncDirty = true;
        if (auto q = QueueOfLocked(w.tid)) {
            WakeLocked(*q, QS_PAINT);
        }
    }
}

void InvalidateLocked(Window& w, const Region* rgn, UINT flags) {
    if (w.hwnd == G().desktop) {
        for (HWND top : w.children) {
            if (Window* t = FindQuietLocked(top)) {
                InvalidateLocked(*t, nullptr, flags | RDW_FRAME);
            }
        }
        return;
    }
    if (!IsVisibleLocked(w.hwnd)) {
        return;
    }
    Region area(ClientArea(w));
    Region r = rgn ? *rgn : area;
    Region inClient = r;
    inClient.Intersect(area);
    // The non-client area, in client coordinates.
    RECT windowInClient = OffsetCopy(w.rcWindow, -w.rcClient.left, -w.rcClient.top);
    bool touchesFrame = false;
    if (!rgn) {
        touchesFrame = HasNonClient(w);
    } else if (HasNonClient(w)) {
        Region nc(windowInClient);
        nc.Subtract(area);
        nc.Intersect(r);
        touchesFrame = !nc.Empty();
    }
    bool changed = false;
    if (flags & RDW_INVALIDATE) {
        if (!inClient.Empty()) {
            w.update.Union(inClient);
            if (flags & RDW_ERASE) {
                w.erase = true;
            }
            changed = true;
        }
        if ((flags & RDW_FRAME) && touchesFrame) {
            w.ncDirty = true;
            changed = true;
        }
    } else if (flags & RDW_VALIDATE) {
        if (!inClient.Empty()) {
            w.update.Subtract(inClient);
        }
        if ((flags & RDW_NOERASE) || w.update.Empty()) {
            w.erase = false;
        }
        if ((flags & RDW_NOFRAME) && touchesFrame) {
            w.ncDirty = false;
        }
    }
    if (flags & RDW_INTERNALPAINT) {
        w.internalPaint = true;
        changed = true;
    } else if (flags & RDW_NOINTERNALPAINT) {
        w.internalPaint = false;
    }
    if (changed) {
        if (auto q = QueueOfLocked(w.tid)) {
            WakeLocked(*q, QS_PAINT);
        }
    }
    if (!ChildrenIncluded(w, flags)) {
        return;
    }
    UINT childFlags = flags & ~static_cast<UINT>(RDW_UPDATENOW | RDW_ERASENOW);
    for (HWND child : w.children) {
        Window* c = FindQuietLocked(child);
        if (!c || !(c->style & WS_VISIBLE)) {
            continue;
        }
        Region part = r;
        part.Intersect(area);
        part.Intersect(c->rcWindow);
        if (part.Empty()) {
            continue;
        }
        part.Offset(-c->rcClient.left, -c->rcClient.top);
        InvalidateLocked(*c, &part, childFlags | ((flags & RDW_INVALIDATE) ? RDW_FRAME : 0));
    }
}

Region VisibleRegionLocked(const Window& w, bool windowArea, bool clipChildren, bool clipSiblings) {
    Region empty;
    if (!IsVisibleLocked(w.hwnd)) {
        return empty;
    }
    Globals& g = G();
    HWND topHwnd = TopLevelOfLocked(w.hwnd);
    Window* top = FindQuietLocked(topHwnd);
    if (!top) {
        return empty;
    }
    POINT o = top->hwnd == g.desktop ? POINT{0, 0} : WindowOriginScreenLocked(*top);
    RECT own = windowArea ? WindowRectScreenLocked(w) : ClientRectScreenLocked(w);
    if (!windowArea && w.minimized) {
        return empty;
    }
    Region r(OffsetCopy(own, -o.x, -o.y));
    auto subtractHigherSiblings = [&](const Window& cur) {
        Window* p = FindQuietLocked(cur.parent);
        if (!p) {
            return;
        }
        for (HWND sib : p->children) {
            if (sib == cur.hwnd) {
                break;
            }
            Window* s = FindQuietLocked(sib);
            if (s && (s->style & WS_VISIBLE)) {
                r.Subtract(OffsetCopy(WindowRectScreenLocked(*s), -o.x, -o.y));
            }
        }
    };
    if (clipSiblings && w.hwnd != topHwnd) {
        subtractHigherSiblings(w);
    }
    const Window* cur = &w;
    while (cur->hwnd != topHwnd && cur->hwnd != g.desktop) {
        Window* p = FindQuietLocked(cur->parent);
        if (!p || p->hwnd == g.desktop) {
            break;
        }
        r.Intersect(OffsetCopy(ClientRectScreenLocked(*p), -o.x, -o.y));
        if (p->hwnd != topHwnd && (p->style & WS_CLIPSIBLINGS)) {
            subtractHigherSiblings(*p);
        }
        cur = p;
    }
    if (clipChildren) {
        for (HWND child : w.children) {
            Window* c = FindQuietLocked(child);
            if (c && (c->style & WS_VISIBLE)) {
                r.Subtract(OffsetCopy(WindowRectScreenLocked(*c), -o.x, -o.y));
            }
        }
    }
    if (top->surface) {
        r.Intersect(RECT{0, 0, top->surface->width, top->surface->height});
    }
    return r;
}

std::shared_ptr<Surface> SurfaceOfLocked(HWND hwnd, POINT* topLevelOrigin) {
    Globals& g = G();
    HWND topHwnd = TopLevelOfLocked(hwnd);
    Window* top = FindQuietLocked(topHwnd);
    if (!top) {
        return nullptr;
    }
    if (top->hwnd == g.desktop) {
        if (!top->surface) {
            SIZE s = g.backend ? g.backend->ScreenSize() : SIZE{1280, 1024};
            top->surface = std::make_shared<Surface>(s.cx, s.cy);
            top->rcWindow = top->rcClient = RECT{0, 0, s.cx, s.cy};
        }
        if (topLevelOrigin) {
            *topLevelOrigin = POINT{0, 0};
        }
        return top->surface;
    }
    if (topLevelOrigin) {
        *topLevelOrigin = WindowOriginScreenLocked(*top);
    }
    return top->surface;
}

void ResizeSurfaceLocked(Window& w) {
    if (!w.surface) {
        return;
    }
    int width = Width(w.rcWindow);
    int height = Height(w.rcWindow);
    if (w.surface->width == width && w.surface->height == height) {
        return;
    }
    auto next = std::make_shared<Surface>(width, height);
    cairo_t* cr = cairo_create(next->surface);
    cairo_set_source_surface(cr, w.surface->surface, 0, 0);
    cairo_rectangle(cr, 0, 0, std::min(width, w.surface->width), std::min(height, w.surface->height));
    cairo_fill(cr);
    cairo_destroy(cr);
    w.surface = next;
    w.dirty = RECT{0, 0, width, height};
}

void MarkDirtyLocked(HWND topLevel, const RECT& surfaceRect) {
    Window* top = FindQuietLocked(topLevel);
    if (!top || !top->surface || IsRectEmpty(&surfaceRect)) {
        return;
    }
    RECT merged{};
    if (IsRectEmpty(&top->dirty)) {
        merged = surfaceRect;
    } else {
        UnionRect(&merged, &top->dirty, &surfaceRect);
    }
    top->dirty = merged;
}

void PresentDirty(DWORD tid) {
    std::vector<std::pair<HWND, std::pair<std::shared_ptr<Surface>, RECT>>> work;
    {
        Lock lock = LockState();
        Globals& g = G();
        for (HWND top : FindQuietLocked(g.desktop)->children) {
            Window* t = FindQuietLocked(top);
            if (t && t->tid == tid && t->surface && !IsRectEmpty(&t->dirty)) {
                work.push_back({top, {t->surface, t->dirty}});
                t->dirty = RECT{};
            }
        }
    }
    for (auto& [hwnd, entry] : work) {
        cairo_surface_flush(entry.first->surface);
        Backend().Present(hwnd, entry.first->surface, entry.second);
    }
}

void RefreshKeptDcs() {
    std::vector<std::pair<HDC, Region>> updates;
    {
        Lock lock = LockState();
        Globals& g = G();
        for (auto& [dc, rec] : g.dcs) {
            if (rec.paint) {
                continue;
            }
            Window* w = FindQuietLocked(rec.hwnd);
            Region visible;
            if (w) {
                POINT topOrigin{};
                std::shared_ptr<Surface> surface = SurfaceOfLocked(rec.hwnd, &topOrigin);
                POINT origin = rec.windowArea ? WindowOriginScreenLocked(*w) : ClientOriginScreenLocked(*w);
                origin.x -= topOrigin.x;
                origin.y -= topOrigin.y;
                // A DC whose surface or origin moved would draw in the wrong place: it draws nothing instead.
                if (surface == rec.surface && origin.x == rec.origin.x && origin.y == rec.origin.y) {
                    visible = VisibleRegionLocked(*w, rec.windowArea, rec.clipChildren, rec.clipSiblings);
                    if (rec.clipMode) {
                        Region clip = rec.clip;
                        clip.Offset(-topOrigin.x, -topOrigin.y);
                        if (rec.clipMode == DCX_INTERSECTRGN) {
                            visible.Intersect(clip);
                        } else {
                            visible.Subtract(clip);
                        }
                    }
                    if (g.lockedWindow &&
                        (g.lockedWindow == w->hwnd || IsDescendantLocked(g.lockedWindow, w->hwnd))) {
                        visible.Clear();
                    }
                }
            }
            RECT bounds = visible.Bounds();
            rec.dirty = bounds;
            updates.emplace_back(dc, visible);
        }
    }
    for (auto& [dc, visible] : updates) {
        GdiSetWindowDCVisible(dc, visible.get());
    }
}

void UpdateNow(HWND hwnd, UINT flags) {
    UpdateTree(hwnd, flags, true);
}

void EraseNow(HWND hwnd) {
    bool nc = false;
    bool erase = false;
    {
        Lock lock = LockState();
        Window* w = FindQuietLocked(hwnd);
        if (!w || !IsVisibleLocked(hwnd)) {
            return;
        }
        nc = w->ncDirty;
        w->ncDirty = false;
        erase = w->erase && !w->update.Empty();
        w->erase = false;
    }
    if (nc) {
        SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    }
    if (erase) {
        HDC dc = nullptr;
        PendingDc pending;
        {
            Lock lock = LockState();
            Window* w = FindQuietLocked(hwnd);
            if (!w) {
                return;
            }
            Region visible = VisibleRegionLocked(*w, false, (w->style & WS_CLIPCHILDREN) != 0,
                                                 (w->style & WS_CLIPSIBLINGS) != 0);
            Region upd = w->update;
            POINT topOrigin{};
            SurfaceOfLocked(hwnd, &topOrigin);
            POINT o = ClientOriginScreenLocked(*w);
            upd.Offset(o.x - topOrigin.x, o.y - topOrigin.y);
            visible.Intersect(upd);
            pending = PrepareDcLocked(*w, visible, false, false);
        }
        dc = FinishDc(pending);
        if (dc) {
            SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            ReleaseDC(hwnd, dc);
        }
    }
}

} // namespace display_detail

using namespace display_detail;

BOOL RedrawWindow(HWND hwnd, const RECT* updateRect, HRGN updateRgn, UINT flags) {
    Region rgn;
    bool haveRegion = false;
    if (updateRgn) {
        if (!RegionFromHandle(updateRgn, rgn)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        haveRegion = true;
    } else if (updateRect) {
        rgn.Set(*updateRect);
        haveRegion = true;
    }
    if (!hwnd) {
        hwnd = G().desktop;
    }
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT | RDW_NOINTERNALPAINT)) {
            InvalidateLocked(*w, haveRegion ? &rgn : nullptr, flags);
        }
    }
    bool desktop = hwnd == G().desktop;
    if (flags & RDW_UPDATENOW) {
        UpdateTree(hwnd, desktop ? (flags | RDW_ALLCHILDREN) : flags, !desktop);
    } else if (flags & RDW_ERASENOW) {
        EraseTree(hwnd, desktop ? (flags | RDW_ALLCHILDREN) : flags, !desktop);
    }
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    return RedrawWindow(hwnd, nullptr, rgn, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    return RedrawWindow(hwnd, rect, nullptr, RDW_VALIDATE);
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
    return RedrawWindow(hwnd, nullptr, rgn, RDW_VALIDATE);
}

BOOL UpdateWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    bool needErase = false;
    RECT bounds{};
    bool empty = true;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return FALSE;
        }
        bounds = w->update.Bounds();
        empty = w->update.Empty();
        needErase = erase && (w->erase || w->ncDirty);
    }
    if (rect) {
        *rect = bounds;
    }
    if (needErase && !empty) {
        EraseNow(hwnd);
    }
    return empty ? FALSE : TRUE;
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    Region copy;
    bool needErase = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return ERROR;
        }
        copy = w->update;
        needErase = erase && (w->erase || w->ncDirty);
    }
    CopyToHandle(copy, rgn);
    if (needErase && !copy.Empty()) {
        EraseNow(hwnd);
    }
    return copy.Kind();
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    if (!ps) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool nc = false;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return nullptr;
        }
        ++w->paintCount;
        nc = w->ncDirty;
        w->ncDirty = false;
    }
    HideCaretForPaint(hwnd);
    if (nc) {
        SendMessageW(hwnd, WM_NCPAINT, 1, 0);
    }
    HDC dc = nullptr;
    bool erase = false;
    Region upd;
    PendingDc pending;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return nullptr;
        }
        upd = w->update;
        upd.Intersect(ClientArea(*w));
        w->update.Clear();
        w->internalPaint = false;
        erase = w->erase;
        w->erase = false;
        Region visible = VisibleRegionLocked(*w, false, (w->style & WS_CLIPCHILDREN) != 0,
                                             (w->style & WS_CLIPSIBLINGS) != 0);
        Region inSurface = upd;
        POINT topOrigin{};
        SurfaceOfLocked(hwnd, &topOrigin);
        POINT o = ClientOriginScreenLocked(*w);
        inSurface.Offset(o.x - topOrigin.x, o.y - topOrigin.y);
        visible.Intersect(inSurface);
        pending = PrepareDcLocked(*w, visible, false, true);
    }
    dc = FinishDc(pending);
    *ps = PAINTSTRUCT{};
    ps->hdc = dc;
    ps->rcPaint = upd.Bounds();
    ps->fErase = FALSE;
    if (erase && dc) {
        ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    }
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps) {
        return FALSE;
    }
    if (ps->hdc) {
        ReleaseDC(hwnd, ps->hdc);
    }
    ShowCaretAfterPaint(hwnd);
    return TRUE;
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
    Region clipRegion;
    bool haveClip = false;
    if (clip && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
        haveClip = RegionFromHandle(clip, clipRegion);
        // The region belongs to the system from here on.
        DeleteObject(clip);
    }
    Lock lock = LockState();
    Globals& g = G();
    if (!hwnd) {
        hwnd = g.desktop;
    }
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    bool windowArea = (flags & DCX_WINDOW) != 0;
    bool clipChildren =
        (flags & DCX_CLIPCHILDREN) || ((flags & DCX_USESTYLE) && (w->style & WS_CLIPCHILDREN));
    bool clipSiblings =
        (flags & DCX_CLIPSIBLINGS) || ((flags & DCX_USESTYLE) && (w->style & WS_CLIPSIBLINGS));
    Region visible;
    if (hwnd == g.desktop) {
        POINT o{};
        auto surface = SurfaceOfLocked(hwnd, &o);
        visible.Set(RECT{0, 0, surface->width, surface->height});
    } else {
        visible = VisibleRegionLocked(*w, windowArea, clipChildren, clipSiblings);
    }
    POINT topOrigin{};
    SurfaceOfLocked(hwnd, &topOrigin);
    int clipMode = 0;
    if (haveClip) {
        clipMode = (flags & DCX_INTERSECTRGN) ? DCX_INTERSECTRGN : DCX_EXCLUDERGN;
        Region inSurface = clipRegion;
        inSurface.Offset(-topOrigin.x, -topOrigin.y);
        if (clipMode == DCX_INTERSECTRGN) {
            visible.Intersect(inSurface);
        } else {
            visible.Subtract(inSurface);
        }
    }
    bool keepable = !(flags & (DCX_INTERSECTUPDATE | DCX_EXCLUDEUPDATE)) && hwnd != g.desktop;
    if (flags & (DCX_INTERSECTUPDATE | DCX_EXCLUDEUPDATE)) {
        Region upd = w->update;
        POINT o = ClientOriginScreenLocked(*w);
        upd.Offset(o.x - topOrigin.x, o.y - topOrigin.y);
        if (flags & DCX_INTERSECTUPDATE) {
            visible.Intersect(upd);
        } else {
            visible.Subtract(upd);
        }
        if (flags & DCX_VALIDATE) {
            w->update.Clear();
            w->erase = false;
        }
    }
    PendingDc pending;
    // Only DCs whose region the window alone decides follow its later changes.
    bool follow = keepable && !(flags & DCX_LOCKWINDOWUPDATE);
    if ((flags & DCX_LOCKWINDOWUPDATE) && g.lockedWindow) {
        HWND locked = g.lockedWindow;
        g.lockedWindow = nullptr;
        pending = PrepareDcLocked(*w, visible, windowArea, true);
        g.lockedWindow = locked;
    } else {
        pending = PrepareDcLocked(*w, visible, windowArea, !follow, clipChildren, clipSiblings, clipMode,
                                  haveClip ? &clipRegion : nullptr);
    }
    lock.unlock();
    return FinishDc(pending);
}

HDC GetDC(HWND hwnd) {
    return GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_CACHE);
}

HDC GetWindowDC(HWND hwnd) {
    return GetDCEx(hwnd, nullptr, DCX_USESTYLE | DCX_WINDOW | DCX_CACHE);
}

int ReleaseDC(HWND, HDC dc) {
    DcRecord rec;
    {
        Lock lock = LockState();
        Globals& g = G();
        auto it = g.dcs.find(dc);
        if (it == g.dcs.end()) {
            return 0;
        }
        rec = std::move(it->second);
        g.dcs.erase(it);
        MarkDirtyLocked(rec.topLevel, rec.dirty);
    }
    GdiDeleteWindowDC(dc);
    return 1;
}

HWND WindowFromDC(HDC dc) {
    return GdiWindowFromDC(dc);
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN updateRgn,
                   LPRECT updateRect, UINT flags) {
    bool caretHidden = false;
    {
        Lock lock = LockState();
        if (!FindLocked(hwnd)) {
            return ERROR;
        }
        ThreadQueue& q = CurrentQueueLocked();
        caretHidden = q.caret.hwnd == hwnd;
    }
    if (caretHidden) {
        HideCaret(hwnd);
    }
    Region invalid;
    std::vector<HWND> movedChildren;
    {
        Lock lock = LockState();
        Window* w = FindLocked(hwnd);
        if (!w) {
            return ERROR;
        }
        RECT client = ClientArea(*w);
        RECT scroll = client;
        RECT clipRc = client;
        if (scrollRect) {
            IntersectRect(&scroll, scrollRect, &client);
        }
        if (clipRect) {
            IntersectRect(&clipRc, clipRect, &client);
        }
        POINT topOrigin{};
        std::shared_ptr<Surface> surface = SurfaceOfLocked(hwnd, &topOrigin);
        POINT co = ClientOriginScreenLocked(*w);
        POINT inSurface{co.x - topOrigin.x, co.y - topOrigin.y};

        Region visible = VisibleRegionLocked(*w, false, (w->style & WS_CLIPCHILDREN) != 0,
                                             (w->style & WS_CLIPSIBLINGS) != 0);
        visible.Offset(-inSurface.x, -inSurface.y);

        Region src(scroll);
        src.Intersect(clipRc);
        src.Intersect(visible);
        Region dst = src;
        dst.Offset(dx, dy);
        dst.Intersect(clipRc);
        dst.Intersect(visible);

        if (surface && !dst.Empty() && (dx || dy)) {
            cairo_surface_flush(surface->surface);
            unsigned char* data = cairo_image_surface_get_data(surface->surface);
            int stride = cairo_image_surface_get_stride(surface->surface);
            RECT bb = src.Bounds();
            OffsetRect(&bb, inSurface.x, inSurface.y);
            int bw = Width(bb);
            std::vector<std::uint32_t> temp(static_cast<std::size_t>(bw) *
                                            static_cast<std::size_t>(Height(bb)));
            for (int y = bb.top; y < bb.bottom; ++y) {
                std::memcpy(&temp[static_cast<std::size_t>(y - bb.top) * bw], data + y * stride + bb.left * 4,
                            static_cast<std::size_t>(bw) * 4);
            }
            Region dstSurface = dst;
            dstSurface.Offset(inSurface.x, inSurface.y);
            for (const RECT& r : dstSurface.Rects()) {
                for (int y = r.top; y < r.bottom; ++y) {
                    int sy = y - dy - bb.top;
                    int sx = r.left - dx - bb.left;
                    std::memcpy(data + y * stride + r.left * 4, &temp[static_cast<std::size_t>(sy) * bw + sx],
                                static_cast<std::size_t>(Width(r)) * 4);
                }
            }
            cairo_surface_mark_dirty(surface->surface);
            MarkDirtyLocked(TopLevelOfLocked(hwnd), dstSurface.Bounds());
        }

        invalid.Set(scroll);
        invalid.Intersect(clipRc);
        if (dx || dy) {
            invalid.Subtract(dst);
        } else {
            invalid.Clear();
        }

        // The pending update region inside the scrolled area moves with the pixels.
        Region moving = w->update;
        Region scrollClip(scroll);
        scrollClip.Intersect(clipRc);
        moving.Intersect(scrollClip);
        if (!moving.Empty()) {
            w->update.Subtract(moving);
            moving.Offset(dx, dy);
            moving.Intersect(clipRc);
            w->update.Union(moving);
        }
        if ((flags & SW_INVALIDATE) && !invalid.Empty()) {
            InvalidateLocked(*w, &invalid,
                             RDW_INVALIDATE | RDW_NOCHILDREN | ((flags & SW_ERASE) ? RDW_ERASE : 0));
        }
        if (flags & SW_SCROLLCHILDREN) {
            for (HWND child : w->children) {
                Window* c = FindQuietLocked(child);
                if (!c) {
                    continue;
                }
                RECT inter{};
                if (!scrollRect || IntersectRect(&inter, &c->rcWindow, &scroll)) {
                    movedChildren.push_back(child);
                }
            }
        }
        ThreadQueue& q = CurrentQueueLocked();
        if (q.caret.hwnd == hwnd) {
            POINT cp = q.caret.pos;
            if (PtInRect(&scroll, cp)) {
                q.caret.pos.x += dx;
                q.caret.pos.y += dy;
            }
        }
    }
    for (HWND child : movedChildren) {
        RECT rc{};
        {
            Lock lock = LockState();
            Window* c = FindQuietLocked(child);
            if (!c) {
                continue;
            }
            rc = c->rcWindow;
        }
        SetWindowPos(child, nullptr, rc.left + dx, rc.top + dy, 0, 0,
                     SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (updateRgn) {
        CopyToHandle(invalid, updateRgn);
    }
    if (updateRect) {
        *updateRect = invalid.Bounds();
    }
    if (caretHidden) {
        ShowCaret(hwnd);
    }
    return invalid.Kind();
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect) {
    UINT flags = SW_INVALIDATE | SW_ERASE | (scrollRect ? 0u : static_cast<UINT>(SW_SCROLLCHILDREN));
    return ScrollWindowEx(hwnd, dx, dy, scrollRect, clipRect, nullptr, nullptr, flags) != ERROR;
}

BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scrollRect, const RECT* clipRect, HRGN updateRgn,
              LPRECT updateRect) {
    RECT clipBox{};
    if (GetClipBox(dc, &clipBox) == ERROR) {
        return FALSE;
    }
    RECT scroll = scrollRect ? *scrollRect : clipBox;
    RECT clipRc = clipRect ? *clipRect : clipBox;
    RECT src{};
    IntersectRect(&src, &scroll, &clipRc);
    if (!IsRectEmpty(&src) && (dx || dy)) {
        // Through a copy, so that overlapping source and destination never smear.
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bmp = CreateCompatibleBitmap(dc, Width(src), Height(src));
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, Width(src), Height(src), dc, src.left, src.top, SRCCOPY);
        SaveDC(dc);
        IntersectClipRect(dc, clipRc.left, clipRc.top, clipRc.right, clipRc.bottom);
        BitBlt(dc, src.left + dx, src.top + dy, Width(src), Height(src), mem, 0, 0, SRCCOPY);
        RestoreDC(dc, -1);
        SelectObject(mem, old);
        DeleteObject(bmp);
        DeleteDC(mem);
    }
    Region invalid(scroll);
    invalid.Intersect(clipRc);
    if (dx || dy) {
        Region moved(src);
        moved.Offset(dx, dy);
        moved.Intersect(clipRc);
        invalid.Subtract(moved);
    } else {
        invalid.Clear();
    }
    if (updateRgn) {
        CopyToHandle(invalid, updateRgn);
    }
    if (updateRect) {
        *updateRect = invalid.Bounds();
    }
    return TRUE;
}

BOOL LockWindowUpdate(HWND hwnd) {
    HWND unlocked = nullptr;
    {
        Lock lock = LockState();
        Globals& g = G();
        if (hwnd) {
            if (!FindLocked(hwnd)) {
                return FALSE;
            }
            if (g.lockedWindow && g.lockedWindow != hwnd) {
                return FALSE;
            }
            g.lockedWindow = hwnd;
            return TRUE;
        }
        unlocked = g.lockedWindow;
        g.lockedWindow = nullptr;
    }
    if (unlocked) {
        RedrawWindow(unlocked, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return TRUE;
}

// ---- Surfaces for tests, developers and backends

cairo_surface_t* DisplayWindowSurface(HWND hwnd, POINT* clientOrigin) {
    Lock lock = LockState();
    Window* w = FindLocked(hwnd);
    if (!w) {
        return nullptr;
    }
    POINT topOrigin{};
    auto surface = SurfaceOfLocked(hwnd, &topOrigin);
    if (!surface) {
        return nullptr;
    }
    if (clientOrigin) {
        POINT o = ClientOriginScreenLocked(*w);
        *clientOrigin = POINT{o.x - topOrigin.x, o.y - topOrigin.y};
    }
    cairo_surface_flush(surface->surface);
    return surface->surface;
}

COLORREF DisplayGetPixel(HWND hwnd, int x, int y) {
    POINT origin{};
    cairo_surface_t* surface = DisplayWindowSurface(hwnd, &origin);
    if (!surface) {
        return CLR_INVALID;
    }
    int sx = origin.x + x;
    int sy = origin.y + y;
    if (sx < 0 || sy < 0 || sx >= cairo_image_surface_get_width(surface) ||
        sy >= cairo_image_surface_get_height(surface)) {
        return CLR_INVALID;
    }
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::uint32_t px = 0;
    std::memcpy(&px, data + sy * cairo_image_surface_get_stride(surface) + sx * 4, 4);
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

BOOL DisplayRenderWindowToPng(HWND hwnd, const char* path) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<Surface> surface;
    {
        Lock lock = LockState();
        if (!FindLocked(hwnd)) {
            return FALSE;
        }
        surface = SurfaceOfLocked(hwnd, nullptr);
    }
    if (!surface) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    cairo_surface_flush(surface->surface);
    if (cairo_surface_write_to_png(surface->surface, path) != CAIRO_STATUS_SUCCESS) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

void DisplayFlush() {
    PresentDirty(GetCurrentThreadId());
}
