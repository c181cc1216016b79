#include "chart/SRGraphComponent.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/SRGCompiledPolygon.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphException.h"
#include "chart/SRGraphLabel.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CWnd.h"

#include <algorithm>
#include <cmath>
#include <iterator>

IMPLEMENT_SERIAL(SRGraphComponent, CObject, VERSIONABLE_SCHEMA | 1)

namespace {
constexpr COLORREF kPaletteColours[16] = {0x0000FF, 0x008000, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFF00FF,
                                          0x000080, 0x008080, 0x800000, 0x800080, 0x0080FF, 0x80FF00,
                                          0xFF0080, 0xFF8000, 0x8000FF, 0x00FF80};
constexpr int kPalettePens[8] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_SOLID, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL};
constexpr int kPaletteHatches[8] = {HS_HORIZONTAL, HS_BDIAGONAL, HS_CROSS,    HS_DIAGCROSS,
                                    HS_FDIAGONAL,  HS_HORIZONTAL, HS_VERTICAL, HS_DIAGCROSS};
// The longest picture name a template gives.
constexpr int kPictureNameMax = 64;
} // namespace

COLORREF SRGPaletteColour(int code) {
    return kPaletteColours[code & 15];
}

int SRGPalettePenStyle(int code) {
    return kPalettePens[(code >> 3) & 7];
}

int SRGPaletteHatch(int code) {
    return kPaletteHatches[(code >> 4) & 7];
}

SRGraphComponent::SRGraphComponent() : m_nType(IDS_SRG_TYPE_COMPONENT) {
    m_style.SetKind(1);
}

SRGraphComponent::~SRGraphComponent() {
    for (POSITION pos = m_shapes.GetHeadPosition(); pos;) {
        delete m_shapes.GetNext(pos);
    }
    m_shapes.RemoveAll();
    delete m_pTagLabel;
    delete m_pPicture;
    delete m_pResourceBitmap;
}

POSITION SRGraphComponent::PreviousComponentPosition() const {
    if (!m_pChart) {
        return nullptr;
    }
    CObList& components = m_pChart->GetComponentList();
    POSITION pos = components.Find(const_cast<SRGraphComponent*>(this));
    if (pos) {
        components.GetPrev(pos);
    }
    return pos;
}

BOOL SRGraphComponent::IsPrinting() const {
    return m_pDC && (m_pDC->IsPrinting() || m_pDC->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER);
}

void SRGraphComponent::PushClipState() {
    if (m_pChart) {
        m_pChart->PushClip();
        m_pChart->RemoveClip();
    }
}

void SRGraphComponent::PopClipState() {
    if (m_pChart) {
        m_pChart->PopClip();
    }
}

void SRGraphComponent::SetParentGraph(SRGraph* chart) {
    m_pChart = chart;
    m_rect.SetChart(chart);
    if (chart) {
        m_nAnnotationKey = chart->GetAnnotationKey();
    }
}

void SRGraphComponent::SetFillColours(COLORREF second, COLORREF third) {
    m_style.m_crSecond = second;
    m_style.m_crThird = third;
}

void SRGraphComponent::SetRect(double left, double top, double right, double bottom) {
    m_rect.SetValues(left, top, right, bottom);
}

void SRGraphComponent::SetUnitMode(int mode) {
    m_rect.SetUnitModeOnly(mode);
    UpdatePlacement();
}

void SRGraphComponent::UpdatePlacement() {
    switch (m_rect.GetUnitMode()) {
    case SRG_MILLIMETRES:
        SetDepths(2.5, 5.0, 5.0);
        break;
    case SRG_INCHES:
        SetDepths(0.1, 0.2, 0.2);
        break;
    case SRG_PERCENT:
        SetDepths(1.25, 2.5, 2.5);
        break;
    default:
        SetDepths(5.0, 10.0, 10.0);
        break;
    }
}

void SRGraphComponent::BeginDraw(CDC* dc, CWnd* window) {
    m_bDrawing = TRUE;
    m_pDC = dc;
    m_pWindow = window;
}

void SRGraphComponent::DrawComponent(CDC* dc, CWnd* window) {
    struct Restore {
        SRGraphComponent& c;
        ~Restore() {
            c.m_bDrawing = FALSE;
            c.PopClipState();
        }
    };
    m_pDC = dc;
    PushClipState();
    Restore restore{*this};
    m_pWindow = window;
    m_bDrawing = TRUE;
    DrawFill();
    DrawShadow();
    DrawBorder();
    Draw();
    m_bChanged = FALSE;
}

// ---- Placement and scope

int SRGraphComponent::ContextPixelsPerInch(bool horizontal) const {
    if (m_pDC && m_pDC->m_hAttribDC) {
        return m_pDC->GetDeviceCaps(horizontal ? LOGPIXELSX : LOGPIXELSY);
    }
    HDC screen = ::GetDC(nullptr);
    int value = ::GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return value;
}

int SRGraphComponent::ScreenPixelsPerInch(bool horizontal) {
    int& cached = horizontal ? m_nScreenPixelsX : m_nScreenPixelsY;
    if (cached == 0) {
        HDC screen = ::GetDC(nullptr);
        cached = ::GetDeviceCaps(screen, horizontal ? LOGPIXELSX : LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    return cached;
}

double SRGraphComponent::PrinterScaleX(CDC* dc) {
    const int screen = ScreenPixelsPerInch(true);
    const int device = dc && dc->m_hAttribDC ? dc->GetDeviceCaps(LOGPIXELSX) : screen;
    return screen ? static_cast<double>(device) / screen : 1.0;
}

double SRGraphComponent::PrinterScaleY(CDC* dc) {
    const int screen = ScreenPixelsPerInch(false);
    const int device = dc && dc->m_hAttribDC ? dc->GetDeviceCaps(LOGPIXELSY) : screen;
    return screen ? static_cast<double>(device) / screen : 1.0;
}

double SRGraphComponent::GetDepthY() {
    if (!m_bDrawing) {
        return m_dDepthY;
    }
    switch (m_rect.GetUnitMode()) {
    case SRG_MILLIMETRES:
        return m_dDepthY * ContextPixelsPerInch(false) * kSRGInchesPerMillimetre;
    case SRG_INCHES:
        return m_dDepthY * ContextPixelsPerInch(false);
    case SRG_PERCENT: {
        SIZE size{};
        return m_pChart ? m_dDepthY * m_pChart->GetDrawingSize(size).cy * 0.01 : m_dDepthY;
    }
    default:
        return IsPrinting() ? m_dDepthY * std::min(PrinterScaleX(m_pDC), PrinterScaleY(m_pDC)) : m_dDepthY;
    }
}

double SRGraphComponent::GetDepthX() {
    if (!m_bDrawing) {
        return m_dDepthX;
    }
    switch (m_rect.GetUnitMode()) {
    case SRG_MILLIMETRES:
        return m_dDepthX * ContextPixelsPerInch(true) * kSRGInchesPerMillimetre;
    case SRG_INCHES:
        return m_dDepthX * ContextPixelsPerInch(true);
    case SRG_PERCENT: {
        SIZE size{};
        return m_pChart ? m_dDepthX * m_pChart->GetDrawingSize(size).cx * 0.01 : m_dDepthX;
    }
    default:
        return IsPrinting() ? m_dDepthX * std::min(PrinterScaleX(m_pDC), PrinterScaleY(m_pDC)) : m_dDepthX;
    }
}

double SRGraphComponent::GetDepth() {
    if (!m_bDrawing) {
        return m_dDepth;
    }
    const int resolution = (ContextPixelsPerInch(true) + ContextPixelsPerInch(false)) / 2;
    switch (m_rect.GetUnitMode()) {
    case SRG_MILLIMETRES:
        return m_dDepth * resolution * kSRGInchesPerMillimetre;
    case SRG_INCHES:
        return m_dDepth * resolution;
    case SRG_PERCENT: {
        SIZE size{};
        return m_pChart ? m_dDepth * m_pChart->GetDrawingSize(size).cx * 0.01 : m_dDepth;
    }
    default:
        return IsPrinting() ? m_dDepth * std::min(PrinterScaleX(m_pDC), PrinterScaleY(m_pDC)) : m_dDepth;
    }
}

CRect SRGraphComponent::LabelSpace(const CRect& rect) {
    int border = 1;
    switch (m_style.GetBorderType()) {
    case 0:
        border = 0;
        break;
    case 3:
        border = 2;
        break;
    case 4:
    case 5:
        border = 3;
        break;
    case 6:
        border = 6;
        break;
    default:
        border = m_style.GetBorderType() >= 8 ? GetCustomBorderWidth() : 1;
        break;
    }
    CRect inner = rect;
    inner.DeflateRect(SRGTrunc(GetDepthX() + border), SRGTrunc(GetDepthY() + border));
    return inner;
}

BOOL SRGraphComponent::IsInScope(int item, int group) const {
    bool itemIn = (m_nFirstItem == -1 && m_nLastItem == -1) || (item >= m_nFirstItem && item <= m_nLastItem);
    bool groupIn = m_nLastGroup == -1 || (group >= m_nFirstGroup && group <= m_nLastGroup);
    return itemIn && groupIn;
}

void SRGraphComponent::GetScope(int& firstItem, int& lastItem, int& firstGroup, int& lastGroup) const {
    firstItem = m_nFirstItem;
    lastItem = m_nLastItem;
    firstGroup = m_nFirstGroup;
    lastGroup = m_nLastGroup;
}

void SRGraphComponent::SetScope(int firstItem, int lastItem, int firstGroup, int lastGroup) {
    m_nFirstItem = firstItem;
    m_nLastItem = lastItem;
    m_nFirstGroup = firstGroup;
    m_nLastGroup = lastGroup;
    m_bChanged = TRUE;
}

void SRGraphComponent::SetAnnotationKey(int key) {
    m_nAnnotationKey = key == -1 ? GetAnnotationKey() : key;
}

int SRGraphComponent::GetAnnotationKey() const {
    return m_pChart ? m_pChart->GetAnnotationKey() : m_nAnnotationKey;
}

POINT SRGraphComponent::RotatePoint(int x, int y, double angle, BOOL radians) {
    const double a = radians ? angle : angle * kSRGRadiansPerDegree;
    return POINT{SRGRound(y * std::sin(a) + x * std::cos(a)), SRGRound(y * std::cos(a) - x * std::sin(a))};
}

void SRGraphComponent::Invalidate(CWnd* window) {
    if (!window || !window->GetSafeHwnd() || !m_pChart) {
        return;
    }
    CClientDC dc(window);
    CDC* saved = m_pDC;
    m_pDC = &dc;
    const CRect r = m_rect.GetPixelRect(&dc, window);
    m_pDC = saved;
    switch (m_pChart->GetRedrawMode()) {
    case 1:
    case 256:
        window->InvalidateRect(&r, TRUE);
        break;
    case 16: {
        const int type = m_style.GetShadowType();
        if (type >= 1 && type <= 3) {
            const int s = type == 1 ? 3 : type == 2 ? 8 : 16;
            CRect right(r.right, r.top + s, r.right + s + 1, r.bottom + s + 1);
            CRect below(r.left + s, r.bottom, r.right + 1, r.bottom + s + 1);
            window->InvalidateRect(&right, TRUE);
            window->InvalidateRect(&below, TRUE);
        }
        break;
    }
    default:
        break;
    }
}

// ---- Archive

CScale& SRGraphComponent::GetVersionRecord(CScale& out) {
    out.m_dMax = 0.0;
    out.m_dMin = 1.0;
    out.m_bUnset = TRUE;
    return out;
}

int SRGraphComponent::GetArchiveVersion(CArchive& ar) {
    if (ar.IsLoading() && m_valueRange.IsUnset() && m_valueRange.m_dMin > m_valueRange.m_dMax) {
        return SRGTrunc(m_valueRange.m_dMin);
    }
    return -1;
}

void SRGraphComponent::Serialize(CArchive& ar) {
    m_style.Serialize(ar);
    m_rect.Serialize(ar);
    if (ar.IsStoring()) {
        GetVersionRecord(m_valueRange);
    }
    m_valueRange.Serialize(ar);
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nReservedWord) << static_cast<LONG>(m_nLastItem) << static_cast<LONG>(m_nFirstItem)
           << static_cast<LONG>(m_nLastGroup) << static_cast<LONG>(m_nFirstGroup);
        ar << m_dDepth << m_dDepthY << m_dDepthX;
        ar << static_cast<LONG>(m_nType);
        return;
    }
    LONG reserved = 0, lastItem = 0, firstItem = 0, lastGroup = 0, firstGroup = 0, type = 0;
    ar >> reserved >> lastItem >> firstItem >> lastGroup >> firstGroup;
    ar >> m_dDepth >> m_dDepthY >> m_dDepthX;
    // The stored type id is that of the class, which the object knows already: taking it from the archive
    // would let damaged data pass one kind of component off as another.
    ar >> type;
    m_nReservedWord = reserved;
    m_nLastItem = lastItem;
    m_nFirstItem = firstItem;
    m_nLastGroup = lastGroup;
    m_nFirstGroup = firstGroup;
    m_bChanged = TRUE;
}

// ---- Template common part

int SRGraphComponent::ReadTemplateCommonPart(const CString& text) {
    float left = 0, top = 0, right = 0, bottom = 0;
    int unit = 0, border = 0, fill = 0, shadow = 0, used = 0;
    if (swscanf(text, u"%g %g %g %g %d %d %d %d %n", &left, &top, &right, &bottom, &unit, &border, &fill, &shadow,
                &used) < 8) {
        ThrowSRGraphException(SRGE_TEMPLATE_COMPONENT);
    }
    if (fill < 0 || fill > 5) {
        ThrowSRGraphException(SRGE_TEMPLATE_FILL);
    }
    const CString rest = text.Mid(used);
    int c[7] = {0, 0, 0, 0, 0, 0, 0};
    int more = 0, flag = 0;
    // The line holds at most 254 characters: a name read from it fits.
    TCHAR name[kSRGTemplateLineMax + 2] = {0};
    bool picture = false;
    switch (fill) {
    case 1:
        if (swscanf(rest, u"%d %d %d %n", &c[0], &c[1], &c[2], &more) < 3) {
            ThrowSRGraphException(SRGE_TEMPLATE_FILL);
        }
        break;
    case 2:
    case 3:
        if (swscanf(rest, u"%d %d %d %d %d %d %n", &c[0], &c[1], &c[2], &c[3], &c[4], &c[5], &more) < 6) {
            ThrowSRGraphException(SRGE_TEMPLATE_FILL);
        }
        break;
    case 4:
        if (swscanf(rest, u"%d %d %d %d %d %d %d %n", &c[0], &c[1], &c[2], &c[3], &c[4], &c[5], &c[6], &more) < 7) {
            ThrowSRGraphException(SRGE_TEMPLATE_FILL);
        }
        break;
    case 5:
        if (swscanf(rest, u" \"%[0-9a-zA-Z-_. ]\" %d %n", name, &flag, &more) < 2) {
            ThrowSRGraphException(SRGE_TEMPLATE_FILL);
        }
        picture = true;
        break;
    default:
        break;
    }
    SetRect(left, top, right, bottom);
    SetUnitMode(unit);
    m_style.m_dwSecondary = static_cast<DWORD>(fill & 15) * 0x100 + static_cast<DWORD>(shadow & 15) * 0x10 +
                            static_cast<DWORD>(border & 15);
    auto colour = [](int r, int g, int b) { return RGB(r & 0xFF, g & 0xFF, b & 0xFF); };
    m_style.m_crSecond = colour(c[0], c[1], c[2]);
    m_style.m_crThird = colour(c[3], c[4], c[5]);
    m_style.m_dShadeAngle = c[6];
    m_style.SetPictureName(picture ? CString(name).Left(kPictureNameMax) : CString());
    m_style.m_dwSecondary = flag == 0 ? (m_style.m_dwSecondary | SRGS_STRETCH) : (m_style.m_dwSecondary & ~SRGS_STRETCH);
    return used + more;
}

void SRGraphComponent::WriteTemplateCommonPart(SRGTemplateWriter& writer) {
    const int fill = m_style.GetFrameFillKind();
    writer.WriteFormat(u"%g %g %g %g %d %d %d %d ", m_rect.m_dLeft, m_rect.m_dTop, m_rect.m_dRight, m_rect.m_dBottom,
                       m_rect.GetUnitMode(), m_style.GetBorderType(), fill, m_style.GetShadowType());
    const COLORREF a = m_style.m_crSecond;
    const COLORREF b = m_style.m_crThird;
    switch (fill) {
    case 1:
        writer.WriteFormat(u"%d %d %d ", GetRValue(a), GetGValue(a), GetBValue(a));
        break;
    case 2:
    case 3:
        writer.WriteFormat(u"%d %d %d %d %d %d ", GetRValue(a), GetGValue(a), GetBValue(a), GetRValue(b),
                           GetGValue(b), GetBValue(b));
        break;
    case 4:
        writer.WriteFormat(u"%d %d %d %d %d %d %g ", GetRValue(a), GetGValue(a), GetBValue(a), GetRValue(b),
                           GetGValue(b), GetBValue(b), m_style.m_dShadeAngle);
        break;
    case 5:
        // The reader stretches on 0, so a stretched picture is written as 0: a template written and read
        // back keeps the component's choice.
        writer.WriteFormat(u"\"%s\" %d ", static_cast<LPCTSTR>(m_style.m_strPictureName),
                           (m_style.m_dwSecondary & SRGS_STRETCH) ? 0 : 1);
        break;
    default:
        break;
    }
}

void SRGraphComponent::WriteTemplate(SRGTemplateWriter& writer) {
    WriteTemplateKeyword(writer);
    WriteTemplateCommonPart(writer);
    WriteTemplateTypePart(writer);
    WriteTemplateExtraPart(writer);
    writer.WriteText(u"\n");
}

// ---- Highlights and helpers

void SRGraphComponent::HighlightInvertLine(SRGraphStyle& style) {
    style.m_crLine ^= 0xFFFFFF;
    style.m_nLineWidth = 3;
    style.SetLineKind(4);
}

void SRGraphComponent::HighlightSymbol(SRGraphStyle& style) {
    style.SetOption(SRGO_FIXED_SIZES, TRUE);
    style.m_dFirstLimit = 3.0;
    style.m_dThirdLimit = 3.0;
}

void SRGraphComponent::HighlightLine(int, int, SRGraphStyle& style) {
    style.m_nLineWidth = 3;
    style.m_crLine = 0x0000FF;
    style.SetLineKind(4);
}

void SRGraphComponent::OffsetPoints(POINT* points, int count, int dx, int dy) {
    for (int i = 0; i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
}

CRect SRGraphComponent::GetPointsBounds(const POINT* points, int count) const {
    if (count <= 0) {
        return CRect();
    }
    CRect r(points[0].x, points[0].y, points[0].x, points[0].y);
    for (int i = 1; i < count; ++i) {
        r.left = std::min<LONG>(r.left, points[i].x);
        r.top = std::min<LONG>(r.top, points[i].y);
        r.right = std::max<LONG>(r.right, points[i].x);
        r.bottom = std::max<LONG>(r.bottom, points[i].y);
    }
    return r;
}

SIZE SRGraphComponent::GetPointsExtent(const POINT* points, int count) const {
    CRect r = GetPointsBounds(points, count);
    return SIZE{r.Width(), r.Height()};
}

SRGCompiledPolygon* SRGraphComponent::LoadPolygon(const CString& name, LPCTSTR resourceType) {
    return m_pChart ? m_pChart->LoadPolygon(name, resourceType) : nullptr;
}

CPen* SRGraphComponent::GetPen(int style, int width, COLORREF colour) {
    if (m_pChart) {
        return m_pChart->GetPen(style, width, colour);
    }
    m_pen.DeleteObject();
    m_pen.CreatePen(style, width, colour);
    return &m_pen;
}

CPen* SRGraphComponent::GetDefaultPen() {
    return GetPen(PS_SOLID, 1, 0);
}

double SRGraphComponent::PointDistance(double x0, double y0, double x1, double y1) {
    return std::fabs(std::hypot(x1 - x0, y1 - y0));
}

double SRGraphComponent::SegmentAngle(double x0, double y0, double x1, double y1) {
    if (x1 - x0 == 0.0 && y1 - y0 == 0.0) {
        return 0.0;
    }
    return std::atan2(y1 - y0, x1 - x0);
}

int SRGraphComponent::CompareAscending(const void* a, const void* b) {
    const double x = *static_cast<const double*>(a);
    const double y = *static_cast<const double*>(b);
    return x == y ? 0 : (x > y ? 1 : -1);
}

int SRGraphComponent::CompareDescending(const void* a, const void* b) {
    const double x = *static_cast<const double*>(a);
    const double y = *static_cast<const double*>(b);
    return x == y ? 0 : (x >= y ? -1 : 1);
}

int SRGraphComponent::CompareBySecondField(const void* a, const void* b) {
    const LONG x = static_cast<const LONG*>(a)[1];
    const LONG y = static_cast<const LONG*>(b)[1];
    return x == y ? 0 : (x > y ? 1 : -1);
}
