#include "chart/SRGDisplayBase.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"
#include "chart/RangeRounding.h"
#include "chart/SRGGridLines.h"
#include "chart/SRGraph.h"
#include "chart/SRGraphException.h"
#include "chart/SRGraphLabelBlock.h"
#include "chart/TemplateText.h"

#include "platform/base/CArchive.h"
#include "platform/base/WideRuntime.h"
#include "platform/framework/CDC.h"

IMPLEMENT_DYNAMIC(SRGDisplayBase, SRGraphTitle)

HBITMAP SRGLoadBitmapResource(LPCTSTR name);

namespace {
bool IsDateScale(const SRGraphLabelBlock* scale) {
    return scale && scale->GetComponentType() == IDS_SRG_TYPE_DATE_SCALE;
}
} // namespace

SRGDisplayBase::SRGDisplayBase() {
    m_nType = IDS_SRG_TYPE_DISPLAY;
}

SRGDisplayBase::~SRGDisplayBase() {
    DeleteListEntries(m_xTicks);
    DeleteListEntries(m_valueTicks);
    DeleteListEntries(m_labelTicks);
    delete m_pXScale;
    delete m_pYScale;
    delete m_pLabelBlock;
}

void SRGDisplayBase::DeleteListEntries(CPtrList& list) {
    SRGFreePositions(list);
}

void SRGDisplayBase::DeleteScaleObjects() {
    delete m_pXScale;
    delete m_pYScale;
    delete m_pLabelBlock;
    m_pXScale = m_pYScale = m_pLabelBlock = nullptr;
    DeleteListEntries(m_xTicks);
    DeleteListEntries(m_valueTicks);
    DeleteListEntries(m_labelTicks);
    m_bChanged = TRUE;
}

int SRGDisplayBase::ResetXAxisRange() {
    m_xAxisRange.Reset();
    return 0;
}

int SRGDisplayBase::ResetValueAxisRange() {
    m_valueAxisRange.Reset();
    return 0;
}

void SRGDisplayBase::SetDisplayRect(int left, int top, int right, int bottom, BOOL explicitRect) {
    m_rectDisplay = CRect(left, top, right, bottom);
    m_style.SetOption(SRGO_EXPLICIT_RECT, explicitRect != 0);
}

int SRGDisplayBase::GetAutoFontSize() {
    return (m_rectDisplay.bottom - m_rectDisplay.top) / -25;
}

// ---- The pipeline

void SRGDisplayBase::Draw() {
    if (!m_nDrawnMark || !m_pDC) {
        return;
    }
    if (m_style.m_bChanged) {
        DeleteScaleObjects();
        m_style.m_bChanged = FALSE;
    }
    if (!m_style.HasOption(SRGO_EXPLICIT_RECT)) {
        m_rectDisplay = GetPixelRect();
    }
    if (IsPrinting() || m_bChanged || (m_nFontStyle & SRGF_AUTOSIZE)) {
        m_bFontDirty = TRUE;
    }
    if (m_bFontDirty) {
        CreateTitleFont();
        if (!IsPrinting()) {
            m_bFontDirty = FALSE;
        }
    }
    if (!m_bScopeReady) {
        m_bValueAxisDerived = FALSE;
        m_bXAxisDerived = FALSE;
        ResolveScope();
    }
    m_bScopeReady = FALSE;
    if (!m_style.HasOption(SRGO_EXPLICIT_RECT)) {
        m_rectDisplay = LabelSpace(m_rectDisplay);
    }
    if (m_rectDisplay.Width() >= 2 && m_rectDisplay.Height() >= 2) {
        const bool partial = m_pChart && m_pChart->IsPartialRedraw();
        const int mode = m_pChart ? m_pChart->GetRedrawMode() : 0;
        if (!partial || mode == 0x5000) {
            DrawScales();
        }
        if (m_rectDisplay.Width() < 2 || m_rectDisplay.Height() < 2) {
            return;
        }
        const int half = m_style.m_nLineWidth / 2;
        if (m_pChart) {
            m_pChart->PushClip();
            m_pChart->ClipToRect(m_rectDisplay.left - half - 1, m_rectDisplay.top - half - 1,
                                 m_rectDisplay.right + half + 2, m_rectDisplay.bottom + half + 2, RGN_COPY);
        }
        struct PopClip {
            SRGraph* chart;
            ~PopClip() {
                if (chart) {
                    chart->PopClip();
                }
            }
        } pop{m_pChart};
        const bool axes = !partial || mode == 0x4000;
        const bool data = !partial || mode == 0x6000;
        if (m_style.HasOption(SRGO_DATA_FIRST)) {
            if (data) {
                DrawData();
            }
            if (axes) {
                DrawAxes();
            }
        } else {
            if (axes) {
                DrawAxes();
            }
            if (data) {
                DrawData();
            }
        }
    }
    SetDrawnValueRange(m_valueAxisRange);
    SetDrawnXRange(m_xAxisRange);
    if (m_bXAxisDerived) {
        ResetXAxisRange();
    }
    if (m_bValueAxisDerived) {
        ResetValueAxisRange();
    }
}

void SRGDisplayBase::ResolveScope() {
    if (m_bScopeReady) {
        return;
    }
    const int groups = m_pChart ? m_pChart->GetGroupCount() : 0;
    const int items = m_pChart ? m_pChart->GetMaxItemCount() : 0;
    m_nResolvedFirstGroup = m_nFirstGroup == -1 ? 0 : m_nFirstGroup;
    m_nResolvedLastGroup = m_nLastGroup == -1 ? groups - 1 : m_nLastGroup;
    m_nResolvedFirstItem = m_nFirstItem == -1 ? 0 : m_nFirstItem;
    m_nResolvedLastItem = m_nLastItem == -1 ? items - 1 : m_nLastItem;
    m_nGroupCount = m_nResolvedLastGroup - m_nResolvedFirstGroup + 1;
    m_nItemCount = m_nResolvedLastItem - m_nResolvedFirstItem + 1;
    m_valueRange.Reset();
    m_xRange.Reset();
    PrepareDataRanges();
    ComputeScaleRanges();
    m_bScopeReady = TRUE;
}

// ---- Ranges

bool SRGDisplayBase::ValueAxisIsDate() {
    return SRGOneOf(m_style.GetAxisStyle(), {18, 19, 20, 21, 22, 23, 25, 27}) || IsDateScale(m_pYScale);
}

bool SRGDisplayBase::XAxisIsDate() {
    return m_style.GetAxisStyle() == 26 || IsDateScale(m_pXScale);
}

double SRGDisplayBase::GetValueMarginFactor() {
    const int graph = m_style.GetGraphStyle();
    return ValueAxisIsDate() || (graph >= 41 && graph <= 45) ? 1.0 : 1.1;
}

double SRGDisplayBase::GetXMarginFactor() {
    const int graph = m_style.GetGraphStyle();
    return XAxisIsDate() || (graph >= 41 && graph <= 45) ? 1.0 : 1.1;
}

void SRGDisplayBase::ComputeScaleRanges() {
    const int graph = m_style.GetGraphStyle();
    const bool xy = graph >= 32 && graph <= 34;
    const bool axisRanged = SRGOneOf(graph, {19, 20, 21, 32, 33, 34, 41, 42, 43, 44, 45});
    const bool valueLog = m_style.HasOption(SRGO_LOG_VALUE_AXIS);
    const bool xLog = xy ? m_style.HasThird(SRGT_LOG_X_AXIS) : valueLog;
    const bool valueDate = ValueAxisIsDate();
    const bool xDate = XAxisIsDate();

    auto round = [](CScale& range, bool log, bool force, bool date, double factor, bool includeZero) {
        if (log) {
            SRGRoundLogRange(range, force);
            return SRGDecades(range);
        }
        if (!force) {
            return range.GetSpan();
        }
        if (includeZero) {
            range.Include(0.0);
        }
        if (date) {
            SRGRoundDateRange(range, factor);
        } else {
            SRGRoundLinearRange(range, factor);
        }
        return range.GetSpan();
    };

    if (m_style.HasOption(SRGO_FIXED_RANGES)) {
        m_dValueSpan = round(m_valueRange, valueLog, false, valueDate, 1.0, false);
        m_dXSpan = round(m_xRange, m_style.HasThird(SRGT_LOG_X_AXIS), false, xDate, 1.0, false);
    } else {
        const bool zero = !m_style.HasOption(SRGO_ZERO_NOT_FORCED);
        m_dValueSpan = round(m_valueRange, valueLog, true, valueDate, GetValueMarginFactor(), zero);
        m_dXSpan = round(m_xRange, xLog, true, xDate, GetXMarginFactor(), zero);
    }

    if (!axisRanged) {
        m_xAxisRange.Reset();
        m_valueAxisRange.Reset();
        return;
    }
    if (m_xAxisRange.IsUnset()) {
        m_xAxisRange = m_xRange;
        m_bXAxisDerived = TRUE;
    }
    if (m_valueAxisRange.IsUnset()) {
        m_valueAxisRange = m_valueRange;
        m_bValueAxisDerived = TRUE;
    }
    auto axisSpan = [](CScale& axis, const CScale& data, bool log, bool date) {
        if (log) {
            SRGRoundLogRange(axis, false);
            return SRGDecades(axis);
        }
        if (data.GetSpan() != axis.GetSpan()) {
            if (date) {
                SRGRoundDateRange(axis, 1.0);
            } else {
                SRGRoundLinearRange(axis, 1.0);
            }
        }
        return axis.GetSpan();
    };
    m_dValueSpan = axisSpan(m_valueAxisRange, m_valueRange, valueLog, valueDate);
    m_dXSpan = axisSpan(m_xAxisRange, m_xRange, xLog, xDate);
}

double SRGDisplayBase::GetValueTickStep() {
    double s = m_dValueSpan;
    double d;
    if (!(s > 0.0) || !std::isfinite(s)) {
        return 0.1;
    }
    if (s > 1.0) {
        d = 1.0;
        while (s >= 10.0) {
            s *= 0.1;
            d *= 10.0;
        }
    } else {
        d = 0.1;
        while (s < 1.0) {
            s *= 10.0;
            d *= 0.1;
        }
    }
    return d * 0.1;
}

void SRGDisplayBase::MakeValueLabels(double step, CStringList& list) {
    if (!m_bDrawing) {
        ThrowSRGraphException(SRGE_OUTSIDE_DRAW);
    }
    if (!(step > 0.0)) {
        return;
    }
    for (double v = 0.0; v <= m_dValueSpan; v += step) {
        CString text;
        text.Format(u"%g", v);
        list.AddTail(text);
    }
}

// ---- Dispatch

void SRGDisplayBase::DrawDefaultData() {
    if (!m_style.HasOption(SRGO_PLACEHOLDER_PICTURE) || !m_pDC) {
        return;
    }
    CBitmap picture;
    BITMAP info{};
    if (!picture.Attach(SRGLoadBitmapResource(MAKEINTRESOURCEW(IDB_SRG_PLACEHOLDER))) || !picture.GetBitmap(&info)) {
        return;
    }
    CDC memory;
    memory.CreateCompatibleDC(m_pDC);
    CBitmap* old = memory.SelectObject(&picture);
    const CRect& r = m_rectDisplay;
    m_pDC->BitBlt(r.left + (r.right - r.left) / 2 - info.bmWidth / 2, r.top + (r.bottom - r.top) / 2 - info.bmHeight / 2,
                  info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void SRGDisplayBase::DrawData() {
    switch (m_style.GetGraphStyle()) {
    case 0:
        DrawDefaultData();
        break;
    case 1:
    case 31:
        DrawLines();
        break;
    case 2:
    case 16:
        DrawBars();
        break;
    case 3:
    case 15:
        DrawColumns();
        break;
    case 4:
    case 13:
        DrawPie();
        break;
    case 6:
        DrawAreas();
        break;
    case 7:
    case 24:
        DrawHighLow();
        break;
    case 9:
        DrawColumns3D();
        break;
    case 10:
    case 17:
        DrawRibbons3D();
        break;
    case 11:
        DrawLayeredColumns();
        break;
    case 12:
        DrawLayeredBars();
        break;
    case 14:
        DrawStackedArea();
        break;
    case 18:
    case 23:
        DrawRadar();
        break;
    case 19:
    case 20:
    case 21:
    case 32:
    case 33:
    case 34:
        DrawXY();
        break;
    case 25:
        DrawCombination();
        break;
    case 26:
    case 27:
        DrawPolarData();
        break;
    case 28:
    case 29:
    case 46:
        DrawStock();
        break;
    case 30:
        DrawFloatingBars();
        break;
    case 35:
    case 36:
        DrawSteps();
        break;
    case 37:
        DrawStackedColumns();
        break;
    case 38:
        DrawStackedBars();
        break;
    case 39:
        DrawGroupStackedColumns();
        break;
    case 40:
        DrawGroupStackedBars();
        break;
    case 41:
    case 42:
        DrawBubbles();
        break;
    case 43:
    case 44:
    case 45:
        DrawVectors();
        break;
    default:
        DrawOtherData();
        break;
    }
}

void SRGDisplayBase::DrawAxes() {
    const int axis = m_style.GetAxisStyle();
    const int graph = m_style.GetGraphStyle();
    if (axis == 0 || axis == 9) {
        return;
    }
    if (axis == 1) {
        if (SRGOneOf(graph, {1, 3, 5, 6, 7, 8, 11, 14, 24, 25, 28, 29, 31, 35, 36, 37, 39, 46})) {
            DrawAxisFrame();
        } else if (SRGOneOf(graph, {2, 12, 22, 30, 38, 40})) {
            DrawBarAxisFrame();
        } else if (SRGOneOf(graph, {9, 10, 17})) {
            DrawAxes3D();
        } else if (SRGOneOf(graph, {15, 16})) {
            DrawAxisFrame3D();
        } else if (SRGOneOf(graph, {18, 23})) {
            DrawRadarAxis();
        } else if (SRGOneOf(graph, {19, 20, 21, 32, 33, 34, 41, 42, 43, 44, 45})) {
            DrawXYAxes();
        } else if (SRGOneOf(graph, {26, 27})) {
            DrawPolarAxis();
        }
    } else if (SRGOneOf(axis, {2, 12, 18, 19, 24, 25})) {
        DrawAxisFrame();
    } else if (SRGOneOf(axis, {3, 8})) {
        // no axes
    } else if (axis >= 4 && axis <= 7) {
        DrawAxes3D();
    } else if (SRGOneOf(axis, {10, 23})) {
        DrawBarAxisFrame();
    } else if (SRGOneOf(axis, {11, 13, 16, 20, 21, 22})) {
        DrawAxisFrame3D();
    } else if (axis == 14) {
        DrawRadarAxis();
    } else if (SRGOneOf(axis, {15, 26, 27})) {
        DrawXYAxes();
    } else if (axis == 17) {
        DrawPolarAxis();
    } else {
        DrawOtherAxes();
    }
    DrawDataWatchers();
}

void SRGDisplayBase::DrawScales() {
    const int axis = m_style.GetAxisStyle();
    const int graph = m_style.GetGraphStyle();
    if (SRGOneOf(axis, {0, 3, 8})) {
        return;
    }
    if (axis == 1) {
        if (SRGOneOf(graph, {2, 12, 16, 22, 38})) {
            DrawBarScales();
        } else if (SRGOneOf(graph, {4, 13})) {
            DrawPieLabels();
        } else if (SRGOneOf(graph, {9, 10, 17})) {
            DrawScales3D();
        } else if (SRGOneOf(graph, {18, 23})) {
            DrawRadarGrid();
        } else if (SRGOneOf(graph, {19, 20, 21, 32, 33, 34, 41, 42, 43, 44, 45})) {
            DrawXYScales();
        } else if (SRGOneOf(graph, {26, 27})) {
            DrawPolarGrid();
        } else if (graph == 30) {
            DrawFloatingBarScales();
        } else if (graph == 39) {
            DrawGroupColumnScales();
        } else if (graph == 40) {
            DrawGroupBarScales();
        } else {
            DrawCategoryScales();
        }
    } else if (SRGOneOf(axis, {2, 11, 12, 13, 18, 19, 20, 21})) {
        if (graph == 39) {
            DrawGroupColumnScales();
        } else {
            DrawCategoryScales();
        }
    } else if (axis >= 4 && axis <= 7) {
        DrawScales3D();
    } else if (axis == 9) {
        DrawPieLabels();
    } else if (SRGOneOf(axis, {10, 16, 22, 23})) {
        if (graph == 40) {
            DrawGroupBarScales();
        } else {
            DrawBarScales();
        }
    } else if (axis == 14) {
        DrawRadarGrid();
    } else if (SRGOneOf(axis, {15, 26, 27})) {
        DrawXYScales();
    } else if (axis == 17) {
        DrawPolarGrid();
    } else if (SRGOneOf(axis, {24, 25})) {
        DrawFloatingBarScales();
    } else {
        DrawOtherScales();
    }
}

void SRGDisplayBase::DrawDataWatchers() {
    for (POSITION pos = PreviousComponentPosition(); pos;) {
        auto* component = static_cast<SRGraphComponent*>(m_pChart->GetComponentList().GetPrev(pos));
        auto* watcher = dynamic_cast<SRGGridLines*>(component);
        if (!watcher || component->GetComponentType() != IDS_SRG_TYPE_DATA_WATCHER) {
            break;
        }
        m_pChart->ClipToRect(m_rectDisplay.left, m_rectDisplay.top, m_rectDisplay.right, m_rectDisplay.bottom, RGN_COPY);
        watcher->SetPlotRect(m_rectDisplay);
        watcher->SetDrawLines(1);
        watcher->BeginDraw(m_pDC, m_pWindow);
        watcher->SetXRange(m_xRange);
        watcher->SetValueRange(m_valueRange);
        SRGraphStyle& style = watcher->GetStyle();
        style.m_bChanged = TRUE;
        style.SetAxisStyle(m_style.GetAxisStyle());
        style.SetGraphStyle(m_style.GetGraphStyle());
        watcher->Draw();
        watcher->SetDrawLines(0);
    }
}

// ---- Template and archive

void SRGDisplayBase::WriteTemplateKeyword(SRGTemplateWriter& writer) {
    writer.WriteText(u"data ");
}

void SRGDisplayBase::WriteTemplateExtraPart(SRGTemplateWriter& writer) {
    const int options = (m_style.HasThird(SRGT_KEEP_CATEGORY_STYLE) ? 0 : 4) +
                        (m_style.HasOption(SRGO_CATEGORY_LABELS_PUSH) ? 1 : 0) +
                        (m_style.HasOption(SRGO_VALUE_LABELS_PUSH) ? 2 : 0);
    writer.WriteFormat(u"%d %d %d %d", m_style.GetAxisStyle(), m_style.GetGraphStyle(), options,
                       m_style.HasOption(SRGO_LOG_VALUE_AXIS) ? 1 : 0);
}

int SRGDisplayBase::ReadTemplateTypePart(const CString& text) {
    const int used = SRGraphTitle::ReadTemplateTypePart(text);
    int axis = 0, graph = 0, options = 0, logarithmic = 0, more = 0;
    if (swscanf(text.Mid(used), u" %d %d %d %d %n", &axis, &graph, &options, &logarithmic, &more) < 4) {
        ThrowSRGraphException(SRGE_TEMPLATE_DATA);
    }
    m_style.SetAxisStyle(axis & 0xFF);
    m_style.SetGraphStyle(graph & 0xFF);
    m_style.SetOption(SRGO_CATEGORY_LABELS_PUSH, (options & 1) != 0);
    m_style.SetOption(SRGO_VALUE_LABELS_PUSH, (options & 2) != 0);
    m_style.SetThird(SRGT_KEEP_CATEGORY_STYLE, (options & 4) == 0);
    m_style.SetLogarithmic(logarithmic != 0);
    m_style.m_bChanged = TRUE;
    return used + more;
}

void SRGDisplayBase::Serialize(CArchive& ar) {
    SRGraphTitle::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_dFixedMax << m_dFixedMin << m_dFixedXMax << m_dFixedXMin;
        ar << static_cast<LONG>(m_rectDisplay.left) << static_cast<LONG>(m_rectDisplay.top)
           << static_cast<LONG>(m_rectDisplay.right) << static_cast<LONG>(m_rectDisplay.bottom);
        return;
    }
    LONG left = 0, top = 0, right = 0, bottom = 0;
    ar >> m_dFixedMax >> m_dFixedMin >> m_dFixedXMax >> m_dFixedXMin;
    ar >> left >> top >> right >> bottom;
    m_rectDisplay = CRect(left, top, right, bottom);
}
