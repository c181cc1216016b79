#include "chart/SRGraphLabel.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphLabelBlock.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CDC.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(SRGraphLabel, SRGraphTitle, VERSIONABLE_SCHEMA | 1)

HBITMAP SRGLoadBitmapResource(LPCTSTR name);

namespace {
constexpr double kRoundOutline = 1.41421356237;

// A context for measuring when the label has none of its own.
class MeasuringDC {
public:
    explicit MeasuringDC(CDC* dc) : m_dc(dc) {
        if (!m_dc) {
            m_own.CreateCompatibleDC(nullptr);
            m_dc = &m_own;
        }
    }
    CDC* operator->() const { return m_dc; }
    CDC* get() const { return m_dc; }

private:
    CDC m_own;
    CDC* m_dc;
};

// Turns (x, y) relative to the anchor by the angle (counter-clockwise on the screen).
POINT Turn(double x, double y, double radians) {
    if (radians == 0.0) {
        return POINT{SRGTrunc(x), SRGTrunc(y)};
    }
    const double c = std::cos(radians), s = std::sin(radians);
    return POINT{SRGTrunc(c * x + s * y), SRGTrunc(c * y - s * x)};
}

// Colour of a bevel edge facing a direction (degrees, counter-clockwise from the right), lit from the top
// left: white towards the light, black away from it, grey across it.
COLORREF BevelColour(double facing, bool raised) {
    const int octant = static_cast<int>(std::floor(facing / 45.0 + 0.5)) & 7;
    static const int kRaised[8] = {0, 1, 2, 2, 2, 1, 0, 0}; // 0 black, 1 grey, 2 white
    int shade = kRaised[octant];
    if (!raised && shade != 1) {
        shade = 2 - shade;
    }
    return shade == 2 ? RGB(255, 255, 255) : shade == 1 ? RGB(0xB3, 0xB3, 0xB3) : RGB(0, 0, 0);
}
} // namespace

SRGraphLabel::SRGraphLabel() {
    m_nType = IDS_SRG_TYPE_LABEL;
    m_nAlignment = 0;
}

SRGraphLabel::~SRGraphLabel() = default;

// ---- Ownership

void SRGraphLabel::SetOwnerBlock(SRGraphLabelBlock* block, BOOL inBlock, BOOL ownStyle) {
    m_pOwnerBlock = block;
    m_bInBlock = inBlock;
    m_bOwnStyle = ownStyle;
}

SRGraph* SRGraphLabel::GetGraph() const {
    if (m_pOwnerBlock && (m_bInBlock || !m_pChart)) {
        return m_pOwnerBlock->GetGraph();
    }
    return m_pChart;
}

SRGraphStyle& SRGraphLabel::GetStyle() {
    if (m_pOwnerBlock && m_bInBlock && !m_bOwnStyle) {
        return m_pOwnerBlock->GetStyle();
    }
    return m_style;
}

CDC* SRGraphLabel::GetDC() const {
    return m_pOwnerBlock && m_bInBlock ? m_pOwnerBlock->GetDC() : m_pDC;
}

CWnd* SRGraphLabel::GetWindow() const {
    return m_pOwnerBlock && m_bInBlock ? m_pOwnerBlock->GetWindow() : m_pWindow;
}

CFont* SRGraphLabel::GetFont() const {
    // A turned label has a font of its own, made from the block's, so that its text turns with it.
    if (m_pOwnerBlock && m_bInBlock && !m_bOwnStyle && m_style.m_dRotation == 0.0) {
        return m_pOwnerBlock->GetFont();
    }
    return m_pFont;
}

COLORREF SRGraphLabel::GetColor() const {
    return m_pOwnerBlock && m_bInBlock ? m_pOwnerBlock->GetColor() : m_crText;
}

// ---- Text and font

const CString& SRGraphLabel::GetCurrentText() {
    SRGraph* chart = GetGraph();
    return m_texts.GetText(chart ? chart->GetAnnotationKey() : m_nAnnotationKey);
}

void SRGraphLabel::SetText(const CString& text) {
    SRGraph* chart = GetGraph();
    m_texts.SetText(chart ? chart->GetAnnotationKey() : m_nAnnotationKey, text);
}

int SRGraphLabel::GetFontSize() {
    return m_rect.GetUnitMode() == SRG_PIXELS ? m_nFontSize : SRGRound(m_dDepth);
}

void SRGraphLabel::SetFontSize(int size) {
    if (m_rect.GetUnitMode() == SRG_PIXELS) {
        m_nFontSize = size;
    } else {
        m_dDepth = size;
    }
    m_bFontDirty = TRUE;
}

void SRGraphLabel::CreateTitleFont() {
    if (m_pOwnerBlock && m_bInBlock && !m_bOwnStyle) {
        CFont* blockFont = m_pOwnerBlock->GetFont();
        LOGFONTW font{};
        if (m_style.m_dRotation != 0.0 && blockFont && blockFont->GetLogFont(&font)) {
            font.lfEscapement = font.lfOrientation = SRGRound(m_style.m_dRotation * 10.0);
            ReplaceFont(font);
        }
        return;
    }
    if (m_pExternalFont) {
        ReplaceFont(*m_pExternalFont);
        return;
    }
    LOGFONTW font;
    MakeLogFont(font, GetFontSize(), SRGRound(m_style.m_dRotation * 10.0), GetDC());
    ReplaceFont(font);
}

CSize SRGraphLabel::MeasureText() {
    const CString& text = GetCurrentText();
    if (text.IsEmpty()) {
        return CSize(0, 0);
    }
    MeasuringDC dc(GetDC());
    // Extents do not turn with the text: the upright font measures a turned label too.
    CFont* font = m_pOwnerBlock && m_bInBlock && !m_bOwnStyle ? m_pOwnerBlock->GetFont() : m_pFont;
    HGDIOBJ old = font && font->m_hObject ? ::SelectObject(dc->m_hDC, font->m_hObject) : nullptr;
    CSize size = dc->GetTextExtent(text);
    if (old) {
        ::SelectObject(dc->m_hDC, old);
    }
    return size;
}

void SRGraphLabel::ApplyItemStyle(SRGraphStyle& style) {
    const int step = style.GetLabelAngleStep();
    if (step <= 7) {
        m_style.m_dRotation = step * 45.0;
    }
    static const int kSides[8] = {4, 5, 6, 7, 0, 1, 2, 3};
    const int position = style.GetTagPosition();
    m_nSide = position <= 7 ? kSides[position] : SRGL_CENTRED;
    m_style.m_crSecond = style.m_crSecond;
    m_style.m_crThird = style.m_crThird;
    m_style.SetLabelShape(style.GetLabelShape());
    const int code = style.GetLabelFontSizeCode();
    SetFontSize(code <= 1 ? 8 : code == 2 ? 10 : GetLargeFontSize());
}

// ---- Anchor

double SRGraphLabel::UnitsFromPixels(int pixels, bool horizontal) {
    CDC* dc = GetDC();
    const int resolution = dc && dc->m_hAttribDC ? dc->GetDeviceCaps(horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
    switch (m_rect.GetUnitMode()) {
    case SRG_MILLIMETRES:
        return pixels / (resolution * kSRGInchesPerMillimetreExact);
    case SRG_INCHES:
        return static_cast<double>(pixels) / resolution;
    case SRG_PERCENT: {
        SRGraph* chart = GetGraph();
        if (!chart || !chart->IsInDraw()) {
            return 0.0;
        }
        SIZE size{};
        chart->GetDrawingSize(size);
        const int extent = horizontal ? size.cx : size.cy;
        return extent ? pixels * 100.0 / extent : 0.0;
    }
    default:
        return pixels;
    }
}

void SRGraphLabel::UpdatePixelAnchor() {
    const int mode = m_rect.GetUnitMode();
    if (mode == SRG_PIXELS) {
        m_anchorPixels = POINT{SRGRound(m_dAnchorX), SRGRound(m_dAnchorY)};
        return;
    }
    CDC* dc = GetDC();
    if (!dc) {
        return; // outside drawing the anchor in units cannot be turned into pixels
    }
    const int rx = dc->m_hAttribDC ? dc->GetDeviceCaps(LOGPIXELSX) : 96;
    const int ry = dc->m_hAttribDC ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    switch (mode) {
    case SRG_MILLIMETRES:
        m_anchorPixels = POINT{SRGRound(rx * m_dAnchorX * kSRGInchesPerMillimetreExact),
                               SRGRound(ry * m_dAnchorY * kSRGInchesPerMillimetreExact)};
        break;
    case SRG_INCHES:
        m_anchorPixels = POINT{SRGRound(rx * m_dAnchorX), SRGRound(ry * m_dAnchorY)};
        break;
    case SRG_PERCENT: {
        SRGraph* chart = GetGraph();
        if (chart && chart->IsInDraw()) {
            SIZE size{};
            chart->GetDrawingSize(size);
            m_anchorPixels = POINT{SRGRound(size.cx * m_dAnchorX * 0.01), SRGRound(size.cy * m_dAnchorY * 0.01)};
        }
        break;
    }
    default:
        break;
    }
}

void SRGraphLabel::SetAnchorX(double x) {
    m_dAnchorX = x;
    if (m_rect.GetUnitMode() == SRG_PIXELS) {
        m_anchorPixels.x = SRGTrunc(x);
    }
}

void SRGraphLabel::SetAnchorY(double y) {
    m_dAnchorY = y;
    if (m_rect.GetUnitMode() == SRG_PIXELS) {
        m_anchorPixels.y = SRGTrunc(y);
    }
}

void SRGraphLabel::SetAnchor(double x, double y) {
    SetAnchorX(x);
    SetAnchorY(y);
}

POINT SRGraphLabel::GetAnchorPoint() {
    UpdatePixelAnchor();
    return m_anchorPixels;
}

void SRGraphLabel::SetAnchorPixels(int x, int y) {
    m_anchorPixels = POINT{x, y};
    m_dAnchorX = UnitsFromPixels(x, true);
    m_dAnchorY = UnitsFromPixels(y, false);
}

void SRGraphLabel::MoveAnchorBy(int dx, int dy) {
    m_anchorPixels.x += dx;
    m_anchorPixels.y += dy;
    m_dAnchorX += UnitsFromPixels(dx, true);
    m_dAnchorY += UnitsFromPixels(dy, false);
}

// ---- Direction and rotation

void SRGraphLabel::SetMoveDirection(int type) {
    static const double kFactors[4][2] = {{0, -1}, {-1, 0}, {1, 0}, {0, 1}};
    if (type >= 0 && type <= 3) {
        m_dMoveX = kFactors[type][0];
        m_dMoveY = kFactors[type][1];
        m_bMoveMode = TRUE;
    } else {
        m_bMoveMode = FALSE;
    }
}

void SRGraphLabel::SetAngle(double degrees) {
    const double a = degrees * kSRGRadiansPerDegree;
    m_dMoveX = std::cos(a);
    m_dMoveY = std::sin(a);
    m_bMoveMode = degrees == 0.0 || degrees == 90.0 || degrees == 180.0 || degrees == 270.0;
}

void SRGraphLabel::SetRotationMode(int mode) {
    if (mode >= 0 && mode <= 3) {
        m_style.m_dRotation = mode * 90.0;
        m_bRotationMode = TRUE;
    } else {
        m_bRotationMode = FALSE;
    }
}

// ---- Outline

void SRGraphLabel::FreeOutline() {
    m_outline.clear();
}

void SRGraphLabel::ComputeOutline(POINT* out, int count) {
    const int shapeCode = GetStyle().GetLabelShape();
    const CString name = CString(SRG_STOCK_SHAPE) + (shapeCode == 3 ? u"CIRCLE" : shapeCode == 4 ? u"FLASH" : u"BOX");
    const double factor = shapeCode == 3 || shapeCode == 4 ? kRoundOutline : 1.0;
    SRGCompiledPolygon* shape = nullptr;
    SRGCompiledPolygon* own = nullptr;
    SRGraph* chart = GetGraph();
    if (!chart || !chart->GetShape(name, nullptr, shape, 0.0) || !shape) {
        own = SRGCompiledPolygon::CreateStockShape(shapeCode == 3   ? SRGCompiledPolygon::circle
                                                   : shapeCode == 4 ? SRGCompiledPolygon::flash
                                                                    : SRGCompiledPolygon::box);
        shape = own;
    }
    const int points = shape->GetPointCount();
    if (static_cast<int>(m_outline.size()) != points) {
        m_outline.assign(static_cast<size_t>(points), POINT{0, 0});
    }
    const CSize text = MeasureText();
    const POINT anchor = GetAnchorPoint();
    static const int kSideX[9] = {1, 1, 0, -1, -1, -1, 0, 1, 0};
    static const int kSideY[9] = {0, 1, 1, 1, 0, -1, -1, -1, 0};
    const int side = m_nSide >= 0 && m_nSide <= 8 ? m_nSide : SRGL_CENTRED;
    const int dx = kSideX[side] * (text.cx / 2);
    const int dy = kSideY[side] * (text.cy / 2);
    const double w = text.cx * factor;
    const double h = text.cy * factor;
    const RECT box{SRGTrunc(-w / 2 + dx), SRGTrunc(-h / 2 + dy), SRGTrunc(w / 2 + dx), SRGTrunc(h / 2 + dy)};
    const POINT* fitted = shape->FitToRect(box);
    const double a = m_style.m_dRotation * kSRGRadiansPerDegree;
    for (int i = 0; i < points; ++i) {
        const POINT p = Turn(fitted[i].x, fitted[i].y, a);
        m_outline[static_cast<size_t>(i)] = POINT{anchor.x + p.x, anchor.y + p.y};
    }
    delete own;
    if (out && out != m_outline.data()) {
        std::copy_n(m_outline.begin(), std::min<int>(count, points), out);
    }
}

POINT SRGraphLabel::GetTextOrigin() {
    const CSize t = MeasureText();
    static const int kOriginX[9] = {0, 0, -1, -2, -2, -2, -1, 0, -1}; // in halves of the width
    static const int kOriginY[9] = {-1, 0, 0, 0, -1, -2, -2, -2, -1};
    const int side = m_nSide >= 0 && m_nSide <= 8 ? m_nSide : SRGL_CENTRED;
    auto part = [](int halves, int extent) { return halves == -2 ? -extent : halves * (extent / 2); };
    const POINT p = Turn(part(kOriginX[side], t.cx), part(kOriginY[side], t.cy),
                         m_style.m_dRotation * kSRGRadiansPerDegree);
    const POINT anchor = GetAnchorPoint();
    return POINT{anchor.x + p.x, anchor.y + p.y};
}

CSize SRGraphLabel::GetOutlineSize() const {
    if (m_outline.empty()) {
        return CSize(0, 0);
    }
    LONG minX = m_outline[0].x, maxX = minX, minY = m_outline[0].y, maxY = minY;
    for (const POINT& p : m_outline) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return CSize(maxX - minX, maxY - minY);
}

HRGN SRGraphLabel::CreateOutlineRegion() const {
    if (m_outline.empty()) {
        return ::CreateRectRgn(0, 0, 0, 0);
    }
    return ::CreatePolygonRgn(m_outline.data(), static_cast<int>(m_outline.size()), ALTERNATE);
}

void SRGraphLabel::OffsetOutline(int dx, int dy) {
    for (POINT& p : m_outline) {
        p.x += dx;
        p.y += dy;
    }
}

// ---- Drawing

void SRGraphLabel::DrawComponent(CDC* dc, CWnd* window) {
    const bool inBlock = m_pOwnerBlock && m_bInBlock;
    const bool ownLook = !inBlock || m_bOwnStyle;
    m_pDC = dc;
    m_pWindow = window;
    m_bDrawing = TRUE;
    struct Restore {
        SRGraphLabel& label;
        bool popClip;
        ~Restore() {
            label.m_bDrawing = FALSE;
            if (popClip) {
                label.PopClipState();
            }
        }
    } restore{*this, !inBlock};
    if (!inBlock) {
        PushClipState();
    }
    if (FontNeedsRebuild() || m_bFontDirty || !m_pFont || !ownLook) {
        CreateTitleFont();
        if (!IsPrinting()) {
            m_bFontDirty = FALSE;
        }
    }
    ComputeOutline(nullptr, 0);
    const int count = static_cast<int>(m_outline.size());
    SRGraphStyle& style = GetStyle();
    if (ownLook && style.GetFrameFillKind() != 0) {
        FillPolygon(m_outline.data(), count, &style, 0);
    }
    if (ownLook && style.GetBorderType() != 0) {
        DrawLabelBorder();
    }
    if (m_nDrawnMark && !GetCurrentText().IsEmpty()) {
        CFont* font = GetFont();
        HGDIOBJ oldFont = font && font->m_hObject ? ::SelectObject(dc->m_hDC, font->m_hObject) : nullptr;
        const COLORREF oldColour = dc->SetTextColor(GetColor());
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        const POINT origin = GetTextOrigin();
        dc->TextOutW(origin.x, origin.y, GetCurrentText());
        dc->SetBkMode(oldMode);
        dc->SetTextColor(oldColour);
        if (oldFont) {
            ::SelectObject(dc->m_hDC, oldFont);
        }
    }
    if (ownLook && style.GetShadowType() != 0) {
        DrawLabelShadow();
    }
}

void SRGraphLabel::DrawLabelBorder() {
    SRGraphStyle& style = GetStyle();
    const int type = style.GetBorderType();
    if (type < 1 || type > 7) {
        DrawCustomLabelBorder();
        return;
    }
    const int n = static_cast<int>(m_outline.size());
    if (n < 2) {
        return;
    }
    SRGraph* chart = GetGraph();
    if (chart) {
        chart->PushClip();
    }
    // The outline's turning direction decides which side of an edge is outside.
    double area = 0.0;
    for (int i = 0; i + 1 < n; ++i) {
        area += static_cast<double>(m_outline[i].x) * m_outline[i + 1].y - static_cast<double>(m_outline[i + 1].x) * m_outline[i].y;
    }
    const int width = type <= 3 ? 1 : 3;
    HGDIOBJ oldPen = ::SelectObject(m_pDC->m_hDC, ::GetStockObject(BLACK_PEN));
    for (int i = 0; i + 1 < n; ++i) {
        const POINT a = m_outline[i], b = m_outline[i + 1];
        COLORREF colour = style.m_crLine;
        int penWidth = 1;
        if (type == 1 || type == 2 || type == 4 || type == 5) {
            // Screen y grows downward: flip it to find the outward normal's direction.
            const double dx = b.x - a.x, dy = -(b.y - a.y);
            const double sign = area < 0 ? 1.0 : -1.0;
            const double facing = std::atan2(-dx * sign, dy * sign) * kSRGDegreesPerRadian;
            colour = BevelColour(facing < 0 ? facing + 360.0 : facing, type == 1 || type == 4);
            penWidth = width;
        }
        m_pDC->SelectObject(GetPen(PS_SOLID, penWidth, colour));
        m_pDC->MoveTo(a.x, a.y);
        m_pDC->LineTo(b.x, b.y);
    }
    ::SelectObject(m_pDC->m_hDC, oldPen);
    if (chart) {
        chart->PopClip();
    }
}

void SRGraphLabel::DrawLabelShadow() {
    const int type = GetStyle().GetShadowType();
    if (type < 1 || type > 3) {
        DrawCustomLabelShadow();
        return;
    }
    const int s = type == 1 ? 3 : type == 2 ? 8 : 16;
    const int sx = IsPrinting() ? SRGTrunc(s * PrinterScaleX(m_pDC)) : s;
    const int sy = IsPrinting() ? SRGTrunc(s * PrinterScaleY(m_pDC)) : s;
    HRGN outline = CreateOutlineRegion();
    HRGN shadow = CreateOutlineRegion();
    ::OffsetRgn(shadow, sx, sy);
    ::CombineRgn(shadow, shadow, outline, RGN_DIFF);
    CBitmap pattern;
    if (pattern.Attach(SRGLoadBitmapResource(MAKEINTRESOURCEW(IDB_SRG_SHADOW)))) {
        CBrush brush;
        brush.CreatePatternBrush(&pattern);
        HGDIOBJ oldBrush = ::SelectObject(m_pDC->m_hDC, brush.m_hObject);
        const int oldRop = m_pDC->SetROP2(R2_MASKPEN);
        ::PaintRgn(m_pDC->m_hDC, shadow);
        m_pDC->SetROP2(oldRop);
        ::SelectObject(m_pDC->m_hDC, oldBrush);
    }
    ::DeleteObject(shadow);
    ::DeleteObject(outline);
}

// ---- Template and archive

void SRGraphLabel::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"label ");
}

void SRGraphLabel::WriteTemplateTypePart(SRGTemplateWriter& writer) {
    SRGraphTitle::WriteTemplateTypePart(writer);
    writer.WriteFormat(u" %g %g %g %g %g %d %d", m_dAnchorX, m_dAnchorY, m_dMoveX, m_dMoveY, m_style.m_dRotation,
                       m_nSide, m_bInBlock);
}

void SRGraphLabel::WriteTemplate(SRGTemplateWriter& writer) {
    WriteTemplateKeyword(writer);
    WriteTemplateCommonPart(writer);
    WriteTemplateTypePart(writer);
    WriteTemplateExtraPart(writer);
    writer.WriteText(u"\n");
    m_texts.WriteTemplate(writer);
}

int SRGraphLabel::ReadTemplateTypePart(const CString& text) {
    const int used = SRGraphTitle::ReadTemplateTypePart(text);
    float x = 0, y = 0, fx = 0, fy = 0, angle = 0;
    int side = 0, inBlock = 0, more = 0;
    if (swscanf(text.Mid(used), u" %f %f %f %f %f %d %d%n", &x, &y, &fx, &fy, &angle, &side, &inBlock, &more) == 7) {
        SetAnchor(x, y);
        m_dMoveX = fx;
        m_dMoveY = fy;
        m_style.m_dRotation = angle;
        m_nSide = side;
        m_bInBlock = inBlock;
        return used + more;
    }
    return used;
}

void SRGraphLabel::Serialize(CArchive& ar) {
    SRGraphTitle::Serialize(ar);
    if (ar.IsLoading()) {
        m_texts.RemoveAll();
    }
    m_texts.Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_bInBlock) << static_cast<LONG>(m_bRotationMode) << static_cast<LONG>(m_bThirdFlag)
           << static_cast<LONG>(m_bOwnStyle) << static_cast<LONG>(m_bMoveMode);
        ar << m_dAnchorX << m_dAnchorY << m_dMoveX << m_dMoveY;
        ar << static_cast<LONG>(m_nSide);
        const LONG anchor[2] = {m_anchorPixels.x, m_anchorPixels.y};
        ar.Write(anchor, sizeof anchor);
        return;
    }
    LONG inBlock = 0, rotation = 0, third = 0, ownStyle = 0, move = 0, side = 0;
    ar >> inBlock >> rotation >> third >> ownStyle >> move;
    ar >> m_dAnchorX >> m_dAnchorY >> m_dMoveX >> m_dMoveY;
    ar >> side;
    LONG anchor[2] = {0, 0};
    if (ar.Read(anchor, sizeof anchor) != sizeof anchor) {
        AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    m_bInBlock = inBlock;
    m_bRotationMode = rotation;
    m_bThirdFlag = third;
    m_bOwnStyle = ownStyle;
    m_bMoveMode = move;
    m_nSide = side;
    m_anchorPixels = POINT{anchor[0], anchor[1]};
}
