// The component's frame (fill, shadow, border) and its area fills: palette and solid brushes, shades,
// resource bitmaps and picture files, polygon fills, outlines and region frames.
#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/PictureDecoders.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphComponent.h"

#include "platform/framework/CDC.h"
#include "platform/resources/Resources.h"

#include <algorithm>
#include <cmath>

namespace {
struct Colour {
    double r, g, b;
    explicit Colour(COLORREF c) : r(GetRValue(c)), g(GetGValue(c)), b(GetBValue(c)) {}
    COLORREF Ref() const {
        auto channel = [](double v) { return static_cast<BYTE>(std::clamp(SRGTrunc(v), 0, 255)); };
        return RGB(channel(r), channel(g), channel(b));
    }
};

// Pen and brush selected into a context for a scope, put back afterwards.
class Selection {
public:
    Selection(CDC* dc, HGDIOBJ pen, HGDIOBJ brush) : m_dc(dc) {
        m_oldPen = pen ? ::SelectObject(dc->m_hDC, pen) : nullptr;
        m_oldBrush = brush ? ::SelectObject(dc->m_hDC, brush) : nullptr;
    }
    ~Selection() {
        if (m_oldPen) {
            ::SelectObject(m_dc->m_hDC, m_oldPen);
        }
        if (m_oldBrush) {
            ::SelectObject(m_dc->m_hDC, m_oldBrush);
        }
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    CDC* m_dc;
    HGDIOBJ m_oldPen;
    HGDIOBJ m_oldBrush;
};

// Polygons fill in alternate mode.
void AlternatePolygon(CDC* dc, const POINT* points, int count) {
    const int oldMode = dc->SetPolyFillMode(ALTERNATE);
    dc->Polygon(points, count);
    dc->SetPolyFillMode(oldMode);
}
} // namespace

HBITMAP SRGLoadBitmapResource(LPCTSTR name) {
    HMODULE module = DolivaFindResourceModule(name, RT_BITMAP);
    return LoadBitmapW(module, name);
}

int SRGraphComponent::StyleFillKind(const SRGraphStyle& style) {
    return style.GetKind() == 1 ? style.GetFrameFillKind() * 0x100 : style.GetFillKind() * 0x10;
}

// ---- The frame

void SRGraphComponent::DrawFill() {
    PushClipState();
    const CRect r = GetPixelRect();
    const POINT points[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
    try {
        FillPolygon(points, 5, &m_style, 0);
    } catch (...) {
        PopClipState();
        throw;
    }
    PopClipState();
}

void SRGraphComponent::DrawShadow() {
    const int type = m_style.GetShadowType();
    if (type == 0) {
        return;
    }
    if (type > 3) {
        DrawCustomShadow();
        return;
    }
    PushClipState();
    const int s = type == 1 ? 3 : type == 2 ? 8 : 16;
    int sx = s, sy = s;
    if (IsPrinting()) {
        sx = SRGTrunc(s * PrinterScaleX(m_pDC));
        sy = SRGTrunc(s * PrinterScaleY(m_pDC));
    }
    CBitmap pattern;
    if (pattern.Attach(SRGLoadBitmapResource(MAKEINTRESOURCEW(IDB_SRG_SHADOW)))) {
        CBrush brush;
        brush.CreatePatternBrush(&pattern);
        const CRect r = GetPixelRect();
        Selection selection(m_pDC, ::GetStockObject(NULL_PEN), brush.m_hObject);
        const int oldRop = m_pDC->SetROP2(R2_MASKPEN);
        m_pDC->Rectangle(r.right, r.top + sy, r.right + sx + 1, r.bottom + sy + 1);
        m_pDC->Rectangle(r.left + sx, r.bottom, r.right + 1, r.bottom + sy + 1);
        m_pDC->SetROP2(oldRop);
    }
    PopClipState();
}

void SRGraphComponent::DrawBorder() {
    const int type = m_style.GetBorderType();
    if (type == 0) {
        return;
    }
    if (type & 8) {
        DrawCustomBorder();
        return;
    }
    PushClipState();
    const CRect r = GetPixelRect();
    CPen* white = GetPen(PS_SOLID, 1, RGB(255, 255, 255));
    CPen* black = GetPen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* grey = GetPen(PS_SOLID, 1, RGB(0xC0, 0xC0, 0xC0));
    HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(HOLLOW_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(BLACK_PEN));
    auto bevel = [&](const CRect& b, bool raised) {
        m_pDC->SelectObject(raised ? white : black);
        m_pDC->MoveTo(b.left, b.bottom);
        m_pDC->LineTo(b.left, b.top);
        m_pDC->LineTo(b.right, b.top);
        m_pDC->SelectObject(raised ? black : white);
        m_pDC->LineTo(b.right, b.bottom);
        m_pDC->LineTo(b.left, b.bottom);
    };
    auto inset = [&](int by) {
        CRect b = r;
        b.DeflateRect(by, by);
        return b;
    };
    switch (type) {
    case 1:
    case 2:
        bevel(r, type == 1);
        break;
    case 4:
    case 5:
        for (int i = 0; i < 3; ++i) {
            bevel(inset(i), type == 4);
        }
        break;
    case 3:
    case 6: {
        const int k = type == 3 ? 1 : 3;
        for (int i = 0; i < k; ++i) {
            bevel(inset(i), true);
            const CRect g = inset(i + k);
            m_pDC->SelectObject(grey);
            m_pDC->MoveTo(g.left, g.top);
            m_pDC->LineTo(g.right, g.top);
            m_pDC->LineTo(g.right, g.bottom);
            m_pDC->LineTo(g.left, g.bottom);
            m_pDC->LineTo(g.left, g.top);
        }
        break;
    }
    case 7:
        m_pDC->SelectObject(GetPen(PS_SOLID, 1, m_style.m_crLine));
        m_pDC->Rectangle(r);
        break;
    default:
        break;
    }
    ::SelectObject(m_pDC->m_hDC, oldPen);
    ::SelectObject(m_pDC->m_hDC, oldBrush);
    PopClipState();
}

// ---- Palette brush and pen

BOOL SRGraphComponent::SelectBrush(int code, int colourCount) {
    if (code == m_nBrushCode && m_paletteBrush.m_hObject) {
        return TRUE;
    }
    m_paletteBrush.DeleteObject();
    if (colourCount != 16) {
        // The first series (code 0) would divide by zero: it takes white.
        m_paletteBrush.CreateSolidBrush(code > 0 ? static_cast<COLORREF>(16777215 / code) : 0xFFFFFF);
    } else if (code > 15 && ((code >> 4) & 7) != 0) {
        m_paletteBrush.CreateHatchBrush(SRGPaletteHatch(code), SRGPaletteColour(code));
    } else {
        m_paletteBrush.CreateSolidBrush(SRGPaletteColour(code));
    }
    m_nBrushCode = code;
    return TRUE;
}

BOOL SRGraphComponent::SelectPen(int code, int width) {
    if (code != m_nPenCode || width != m_nPenWidth || !m_pPalettePen) {
        m_pPalettePen = GetPen(SRGPalettePenStyle(code), width, SRGPaletteColour(code));
        m_nPenCode = code;
        m_nPenWidth = width;
    }
    return TRUE;
}

// ---- Polygons and regions

void SRGraphComponent::FillPolygon(const POINT* points, int count, SRGraphStyle* style, int kind) {
    if (!style || count <= 0 || !m_pDC) {
        return;
    }
    const int colourCount = m_pChart ? m_pChart->GetColourCount() : 16;
    if (kind == 0) {
        kind = StyleFillKind(*style);
    }
    if (kind == 0x1 || kind == 0x10) {
        SelectBrush(m_nPaletteCode, colourCount);
        Selection selection(m_pDC, ::GetStockObject(NULL_PEN), m_paletteBrush.m_hObject);
        AlternatePolygon(m_pDC, points, count);
    } else if (kind == 0x20 || kind == 0x100) {
        CBrush brush;
        brush.CreateSolidBrush(style->m_crSecond);
        Selection selection(m_pDC, ::GetStockObject(NULL_PEN), brush.m_hObject);
        AlternatePolygon(m_pDC, points, count);
    } else if (m_pChart) {
        m_pChart->PushClip();
        try {
            m_pChart->ClipToPolygon(points, count, RGN_AND);
            FillArea(nullptr, style, 0.0, 0, GetPointsBounds(points, count));
        } catch (...) {
            m_pChart->PopClip();
            throw;
        }
        m_pChart->PopClip();
    }
}

void SRGraphComponent::DrawOutline(const POINT* points, int count, SRGraphStyle* style, int kind) {
    if (!style || count <= 0 || !m_pDC) {
        return;
    }
    if (kind == 0) {
        kind = style->GetEffectiveLineKind();
    }
    if (kind == 1) {
        SelectPen(m_nPaletteCode, style->m_nLineWidth);
        Selection selection(m_pDC, m_pPalettePen->m_hObject, nullptr);
        m_pDC->Polyline(points, count);
    } else if (kind == 2 || kind == 4) {
        CPen* pen = GetPen(PS_SOLID, style->m_nLineWidth, kind == 2 ? RGB(0, 0, 0) : style->m_crLine);
        Selection selection(m_pDC, pen->m_hObject, nullptr);
        m_pDC->Polyline(points, count);
    } else if (m_pChart) {
        m_pChart->PushClip();
        m_pChart->ClipToPolygon(points, count, RGN_AND);
        CRgn clip;
        clip.CreateRectRgn(0, 0, 0, 0);
        if (::GetClipRgn(m_pDC->m_hDC, static_cast<HRGN>(clip.m_hObject)) == 1) {
            FrameRegion(static_cast<HRGN>(clip.m_hObject), style, 0.0, 0);
        }
        m_pChart->PopClip();
    }
}

void SRGraphComponent::FrameRegion(HRGN region, SRGraphStyle* style, double, int kind) {
    RECT box{};
    if (!region || !style || !m_pDC || ::GetRgnBox(region, &box) == NULLREGION) {
        return;
    }
    PushClipState();
    ::SelectClipRgn(m_pDC->m_hDC, region);
    if (kind == 0) {
        kind = style->GetEffectiveLineKind();
    }
    CBrush brush;
    CBitmap pattern;
    int width = 1, height = 1;
    if (kind == 3 && pattern.Attach(SRGLoadBitmapResource(style->m_strPatternName))) {
        brush.CreatePatternBrush(&pattern);
        width = height = style->m_nLineWidth;
    } else if (kind == 4) {
        brush.CreateSolidBrush(style->m_crLine);
        width = height = style->m_nLineWidth;
    } else {
        brush.CreateSolidBrush(RGB(0, 0, 0));
    }
    ::FrameRgn(m_pDC->m_hDC, region, static_cast<HBRUSH>(brush.m_hObject), width, height);
    PopClipState();
}

void SRGraphComponent::FillRegion(HRGN region, SRGraphStyle* style, double value, int kind) {
    // The region's own box is the area: a fixed reference rectangle would fill only the pixels at the origin.
    FillArea(region, style, value, kind, CRect());
}

// ---- Area fill

void SRGraphComponent::FillArea(HRGN region, SRGraphStyle* style, double value, int kind, const RECT& rect) {
    if (!style || !m_pDC) {
        return;
    }
    CRect area(rect);
    if (region) {
        PushClipState();
        ::SelectClipRgn(m_pDC->m_hDC, region);
        if (area.IsRectEmpty()) {
            ::GetRgnBox(region, &area);
        }
    }
    struct PopOnExit {
        SRGraphComponent* c;
        bool active;
        ~PopOnExit() {
            if (active) {
                c->PopClipState();
            }
        }
    } pop{this, region != nullptr};
    if (area.IsRectEmpty()) {
        return;
    }
    if (kind == 0) {
        kind = StyleFillKind(*style);
    }
    switch (kind) {
    case 0:
        break;
    case 0x10: {
        SelectBrush(m_nPaletteCode, m_pChart ? m_pChart->GetColourCount() : 16);
        Selection selection(m_pDC, ::GetStockObject(NULL_PEN), m_paletteBrush.m_hObject);
        m_pDC->Rectangle(area.left, area.top, area.right + 1, area.bottom + 1);
        break;
    }
    case 0x20:
    case 0x100: {
        CBrush brush;
        brush.CreateSolidBrush(style->m_crSecond);
        Selection selection(m_pDC, ::GetStockObject(NULL_PEN), brush.m_hObject);
        m_pDC->Rectangle(area.left, area.top, area.right + 1, area.bottom + 1);
        break;
    }
    case 0x30:
    case 0x200:
    case 0x40:
    case 0x300:
        DrawShadeFill(*style, (kind == 0x30 || kind == 0x200) ? 'v' : 'h', area);
        break;
    case 0x50:
    case 0x400:
        DrawAngledShade(*style, area);
        break;
    case 0x60:
    case 0x500:
        DrawBitmapFill(LoadResourceBitmap(style->m_strPictureName), *style, area);
        break;
    case 0x600:
        DrawBitmapFill(LoadPicture(*style), *style, area);
        break;
    default:
        DrawCustomFill(region, style, value, kind);
        break;
    }
}

void SRGraphComponent::DrawCustomFill(HRGN, SRGraphStyle*, double, int) {}

void SRGraphComponent::DrawShadeFill(const SRGraphStyle& style, int direction, const RECT& area) {
    const bool vertical = direction == 'v';
    const Colour c1(style.m_crSecond);
    const Colour c2(style.m_crThird);
    const double extent = vertical ? area.bottom - area.top : area.right - area.left;
    if (extent <= 0) {
        return;
    }
    const double dr = (c2.r - c1.r) / extent, dg = (c2.g - c1.g) / extent, db = (c2.b - c1.b) / extent;
    const double m = std::max({std::fabs(dr), std::fabs(dg), std::fabs(db)});
    int band = m >= 1.0 / extent ? 3 * std::max(1, SRGTrunc(std::floor(1.0 / m))) : SRGTrunc(3 * extent);
    band = std::max(band, 3);
    Colour current = c1;
    const int end = vertical ? area.bottom : area.right;
    for (int at = vertical ? area.top : area.left; at < end; at += band) {
        const int next = std::min(end, at + band);
        const RECT strip = vertical ? RECT{area.left, at, area.right, next} : RECT{at, area.top, next, area.bottom};
        CBrush brush;
        brush.CreateSolidBrush(current.Ref());
        m_pDC->FillRect(&strip, &brush);
        current.r += band * dr;
        current.g += band * dg;
        current.b += band * db;
    }
}

void SRGraphComponent::DrawAngledShade(const SRGraphStyle& style, const RECT& area) {
    double a = std::fabs(std::fmod(style.m_dShadeAngle * kSRGRadiansPerDegree, kSRGQuarterTurn));
    const double fiveDegrees = 0.08726646111111111;
    if (a < fiveDegrees) {
        DrawShadeFill(style, 'h', area);
        return;
    }
    if (a > kSRGQuarterTurn - fiveDegrees) {
        DrawShadeFill(style, 'v', area);
        return;
    }
    const Colour c1(style.m_crSecond);
    const Colour c2(style.m_crThird);
    const double w = area.right - area.left;
    const double h = area.bottom - area.top;
    const double d = std::hypot(w, h);
    const double length = std::cos(a - std::asin(h / d)) * d * 1.2;
    const double dr = (c2.r - c1.r) / length, dg = (c2.g - c1.g) / length, db = (c2.b - c1.b) / length;
    const double m = std::max({std::fabs(dr), std::fabs(dg), std::fabs(db)});
    if (!(length > 0.0) || 2.0 / length > m) {
        CBrush brush;
        brush.CreateSolidBrush(c1.Ref());
        m_pDC->FillRect(&area, &brush);
        return;
    }
    const double t = 2.0 * std::max(1.0, 1.0 / m);
    const int sx = std::max(1, SRGRound(t / std::cos(a)));
    const int sy = std::max(1, SRGRound(t / std::sin(a)));
    // The staircases may start below the area: the clip keeps the painting inside it.
    const int saved = m_pDC->SaveDC();
    m_pDC->IntersectClipRect(area.left, area.top, area.right, area.bottom);
    Colour current = c1;
    for (int k = 0; k * t < length; ++k) {
        CBrush brush;
        brush.CreateSolidBrush(current.Ref());
        int x = area.left;
        for (int y = area.top + sy * k; y + sy > area.top && x < area.right; y -= sy, x += sx) {
            const RECT step{x, y, x + sx, y + sy};
            m_pDC->FillRect(&step, &brush);
        }
        current.r += t * dr;
        current.g += t * dg;
        current.b += t * db;
    }
    m_pDC->RestoreDC(saved);
}

// ---- Bitmaps and pictures

CBitmap* SRGraphComponent::LoadResourceBitmap(const CString& name) {
    if (name.IsEmpty()) {
        return nullptr;
    }
    if (m_pResourceBitmap && name == m_strResourceBitmap) {
        return m_pResourceBitmap;
    }
    delete m_pResourceBitmap;
    m_pResourceBitmap = nullptr;
    m_strResourceBitmap = name;
    HBITMAP handle = SRGLoadBitmapResource(name);
    if (!handle) {
        return nullptr;
    }
    m_pResourceBitmap = new CBitmap;
    m_pResourceBitmap->Attach(handle);
    return m_pResourceBitmap;
}

void SRGraphComponent::DrawBitmapFill(CBitmap* bitmap, const SRGraphStyle& style, const RECT& area) {
    BITMAP info{};
    if (!bitmap || !bitmap->m_hObject || !bitmap->GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
        return;
    }
    CDC memory;
    memory.CreateCompatibleDC(m_pDC);
    CBitmap* old = memory.SelectObject(bitmap);
    if (style.m_dwSecondary & SRGS_STRETCH) {
        m_pDC->StretchBlt(area.left, area.top, area.right - area.left, area.bottom - area.top, &memory, 0, 0,
                          info.bmWidth, info.bmHeight, SRCCOPY);
    } else {
        const int tileWidth = std::max(1, SRGTrunc(info.bmWidth * PrinterScaleX(m_pDC)));
        const int tileHeight = std::max(1, SRGTrunc(info.bmHeight * PrinterScaleY(m_pDC)));
        for (int y = area.top; y < area.bottom; y += tileHeight) {
            for (int x = area.left; x < area.right; x += tileWidth) {
                m_pDC->StretchBlt(x, y, tileWidth, tileHeight, &memory, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
            }
        }
    }
    memory.SelectObject(old);
}

CBitmap* SRGraphComponent::GetBitmap() {
    if (!m_pPicture) {
        m_pPicture = new CBitmap;
    }
    m_pPicture->DeleteObject();
    m_pPicture->Attach(SRGLoadBitmapResource(MAKEINTRESOURCEW(IDB_SRG_NO_PICTURE)));
    return m_pPicture->m_hObject ? m_pPicture : nullptr;
}

CBitmap* SRGraphComponent::LoadPicture(SRGraphStyle& style) {
    if (style.HasThird(SRGT_PICTURE_LOADED) && m_bPictureLoaded && m_pPicture && m_pPicture->m_hObject) {
        return m_pPicture;
    }
    if (!m_pPicture) {
        m_pPicture = new CBitmap;
    }
    m_pPicture->DeleteObject();
    m_bPictureLoaded = FALSE;
    if (!style.m_strPictureName.IsEmpty()) {
        HBITMAP handle = SRGReadPictureFile(style.m_strPictureName, m_pDC);
        if (handle) {
            m_pPicture->Attach(handle);
            m_bPictureLoaded = TRUE;
        }
    }
    if (!m_bPictureLoaded) {
        m_bPictureLoaded = GetBitmap() != nullptr;
    }
    if (m_bPictureLoaded) {
        style.SetThird(SRGT_PICTURE_LOADED, TRUE);
    } else {
        m_bPictureLoaded = SupplyPicture(m_pPicture);
    }
    return m_pPicture->m_hObject ? m_pPicture : nullptr;
}
