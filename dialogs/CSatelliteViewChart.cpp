#include "dialogs/CSatelliteViewChart.h"

#include "dialogs/CustomGraphDisplay.h"

#include "chart/SRGraphData.h"
#include "chart/SRGraphDataList.h"
#include "chart/SRGraphFeedback.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CDC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CSatelliteViewChart, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_PARENTNOTIFY()
ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
constexpr COLORREF kFineTraceColour = RGB(0, 128, 0);
constexpr COLORREF kCoarseTraceColour = RGB(0, 0, 255);
constexpr COLORREF kRisingColour = RGB(0, 0, 255);
constexpr COLORREF kSettingColour = RGB(255, 0, 0);
constexpr COLORREF kSteadyColour = RGB(0, 128, 128);
constexpr DWORD kShapeKindMask = 0xFF00;
constexpr DWORD kLineOnly = 0x400;
constexpr DWORD kSolidLineKind = 4;

COLORREF MarkerColour(int colourCode) {
    return colourCode > 0 ? kRisingColour : colourCode < 0 ? kSettingColour : kSteadyColour;
}

// A horizon item draws a solid line in the trace's colour and nothing else.
void MakeTraceStyle(SRGraphStyle& style, COLORREF colour) {
    style.m_dwChartType = (style.m_dwChartType & ~kShapeKindMask) | kLineOnly;
    style.m_dwChartType = (style.m_dwChartType & ~DWORD{0xB}) | kSolidLineKind;
    style.m_crLine = colour;
    style.m_crColour = colour;
}

// A satellite item draws its symbol only, at a fixed size.
void MakeMarkerStyle(SRGraphStyle& style, COLORREF colour, bool seen) {
    style.m_dwChartType = (style.m_dwChartType & 0xFFFF022F) | 0x220;
    style.SetOption(SRGO_FIXED_SIZES, TRUE);
    style.m_strShapeName = seen ? u"STAR" : u"CROSS";
    const double size = seen ? 1.5 : 1.0;
    style.m_dThirdLimit = size;
    style.m_dFirstLimit = size;
    style.m_crColour = colour;
    style.m_crSecond = colour;
    style.m_crLine = colour;
}

SRGraphData* NullItem() {
    auto* item = new SRGraphData;
    item->Clear();
    item->SetNull(TRUE);
    return item;
}
} // namespace

CSatelliteViewChart::CSatelliteViewChart() {
    auto* display = new CustomGraphDisplay;
    display->SetUnitMode(3);
    display->SetRect(0.0, 0.0, 100.0, 100.0);
    display->SetFixedMaximum(1.0);
    display->SetFixedMinimum(0.0);
    SRGraphStyle& style = display->GetStyle();
    style.SetAxisStyle(17);
    style.SetGraphStyle(26);
    style.SetOption(SRGO_FIXED_RANGES, TRUE);
    style.SetOption(SRGO_NO_CATEGORY_LABELS | SRGO_NO_VALUE_SCALE, FALSE);
    if (style.GetTagNibble() == 0) {
        style.SetTagNibble(1);
    }
    display->DeleteScaleObjects();
    m_chart.AddComponent(display);
    m_chart.SetFeedbackLogging(TRUE);

    m_chartStyle.SetShapeKind(0x04);
    m_chart.SetDefaultStyle(m_chartStyle);

    for (int group : {kSatelliteAzimuths, kSatelliteRadii}) {
        SRGraphDataList* list = m_chart.GetGroup(group, TRUE);
        for (int i = 0; i < kTraceItems; ++i) {
            SRGraphData* item = NullItem();
            if (group == kSatelliteAzimuths) {
                item->GetStyle().SetShapeKind(0);
            }
            list->SetItem(item, i);
        }
    }
}

CSatelliteViewChart::~CSatelliteViewChart() = default;

double CSatelliteViewChart::RadialValue(int elevation) {
    return (90 - std::clamp(elevation, 0, 90)) * 0.011111111111111112;
}

void CSatelliteViewChart::ResetTrace(int azimuthGroup, double degreesPerItem, COLORREF colour, BOOL rebuild) {
    SRGraphDataList* azimuths = m_chart.GetGroup(azimuthGroup, TRUE);
    SRGraphDataList* radii = m_chart.GetGroup(azimuthGroup + 1, TRUE);
    int start = 0;
    if (!rebuild) {
        start = std::min(azimuths->GetItemCount(), radii->GetItemCount());
        if (start > kTraceItems - 1) {
            return;
        }
    }
    for (int i = start; i < kTraceItems; ++i) {
        SRGraphData* azimuth = NullItem();
        MakeTraceStyle(azimuth->GetStyle(), colour);
        azimuth->SetValue(degreesPerItem * i);
        azimuths->SetItem(azimuth, i);
        radii->SetItem(NullItem(), i);
    }
}

void CSatelliteViewChart::ResetFineHorizon(BOOL rebuild) {
    ResetTrace(kFineAzimuths, 2.0, kFineTraceColour, rebuild);
}

void CSatelliteViewChart::ResetCoarseHorizon(BOOL rebuild) {
    ResetTrace(kCoarseAzimuths, 10.0, kCoarseTraceColour, rebuild);
}

void CSatelliteViewChart::ResetHorizon(BOOL rebuild) {
    ResetFineHorizon(rebuild);
    ResetCoarseHorizon(rebuild);
}

void CSatelliteViewChart::EnsureHorizonGroups() {
    for (int group : {kFineAzimuths, kCoarseAzimuths}) {
        SRGraphDataList* azimuths = m_chart.GetGroup(group, TRUE);
        SRGraphDataList* radii = m_chart.GetGroup(group + 1, TRUE);
        if (azimuths->GetItemCount() != kTraceItems || radii->GetItemCount() != kTraceItems) {
            azimuths->DeleteItems();
            radii->DeleteItems();
            group == kFineAzimuths ? ResetFineHorizon(TRUE) : ResetCoarseHorizon(TRUE);
        }
    }
}

void CSatelliteViewChart::ClearSatelliteMarkers() {
    SRGraphDataList* azimuths = m_chart.GetGroup(kSatelliteAzimuths, TRUE);
    SRGraphDataList* radii = m_chart.GetGroup(kSatelliteRadii, TRUE);
    const int count = std::min({azimuths->GetItemCount(), radii->GetItemCount(), kDrawnSatellites});
    for (int i = 0; i < count; ++i) {
        for (SRGraphDataList* list : {azimuths, radii}) {
            SRGraphData* item = list->GetItem(i, TRUE);
            item->Clear();
            item->SetNull(TRUE);
        }
        azimuths->GetItem(i, TRUE)->GetStyle().SetShapeKind(0);
    }
}

void CSatelliteViewChart::PlotSatellite(unsigned prn, int azimuth, int elevation, int ebNo, int colourCode,
                                        BOOL tracked) {
    CString text;
    text.Format(u"%u,%i", prn, ebNo);
    azimuth = std::clamp(azimuth, 0, 359);
    const double r = RadialValue(elevation);
    const COLORREF colour = MarkerColour(colourCode);
    const bool seen = tracked && ebNo > 0;

    if (seen) {
        SRGraphData* fine = m_chart.GetGroup(kFineRadii, TRUE)->GetItem(azimuth / 2, TRUE);
        if (fine->IsNull() || fine->GetValue() < r) {
            fine->SetValue(r);
        }
        const int bin = azimuth / 10;
        SRGraphData* coarse = m_chart.GetGroup(kCoarseRadii, TRUE)->GetItem(bin, TRUE);
        if (coarse->IsNull() || coarse->GetValue() > r) {
            if (r > 0.0) {
                coarse->SetValue(r);
            } else {
                for (int group : {kCoarseRadii, kCoarseAzimuths}) {
                    SRGraphData* item = m_chart.GetGroup(group, TRUE)->GetItem(bin, TRUE);
                    item->Clear();
                    item->SetNull(TRUE);
                }
            }
        }
    }

    // The traces learn from every tracked satellite; a marker needs an item of the satellite groups.
    if (prn > kHighestPrn) {
        return;
    }
    const int item = static_cast<int>(prn);
    SRGraphData* marker = m_chart.GetGroup(kSatelliteAzimuths, TRUE)->GetItem(item, TRUE);
    marker->SetValue(azimuth);
    SetItemAnnotation(item, kSatelliteAzimuths, text);
    MakeMarkerStyle(marker->GetStyle(), colour, seen);
    m_chart.GetGroup(kSatelliteRadii, TRUE)->GetItem(item, TRUE)->SetValue(r);
    SetItemAnnotation(item, kSatelliteRadii, text);

    if (GetSafeHwnd()) {
        Invalidate(TRUE);
    }
}

void CSatelliteViewChart::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        for (int group = kFineAzimuths; group <= kCoarseRadii; ++group) {
            m_chart.GetGroup(group, TRUE)->Serialize(ar);
        }
        return;
    }
    const UINT schema = ar.GetObjectSchema();
    const int lastGroup = schema == 2 ? kCoarseRadii : kFineRadii;
    for (int group = kFineAzimuths; group <= lastGroup; ++group) {
        m_chart.GetGroup(group, TRUE)->Serialize(ar);
    }
    if (schema == 2) {
        ResetHorizon(FALSE);
    } else {
        ResetCoarseHorizon(TRUE);
    }
}

void CSatelliteViewChart::SetItemAnnotation(int item, int group, const CString& text) {
    m_chart.GetGroup(group, TRUE)->GetItem(item, TRUE)->SetAnnotation(text, FALSE, kAnnotationKey);
}

void CSatelliteViewChart::SetGroupAnnotation(int group, const CString& text) {
    m_chart.SetGroupAnnotation(group, text, TRUE);
}

CString CSatelliteViewChart::GetTipText(const SRGraphFeedback& record) {
    if (record.GetGroup() != kSatelliteAzimuths) {
        return CString();
    }
    const int item = record.m_nItem;
    SRGraphDataList* azimuths = m_chart.GetGroup(kSatelliteAzimuths, TRUE);
    if (item < 0 || item >= azimuths->GetItemCount()) {
        return CString();
    }
    SRGraphData* marker = azimuths->GetItem(item, FALSE);
    const CString annotation = marker->GetAnnotation(kAnnotationKey);
    if (marker->GetStyle().GetShapeKind() == 0 || annotation.IsEmpty()) {
        return CString();
    }
    const int comma = annotation.Find(u',');
    const CString prnText = comma < 0 ? annotation : annotation.Left(comma);
    const CString ebNoText = comma < 0 ? CString() : annotation.Mid(comma + 1);
    const double elevation = 90.0 - 90.0 * m_chart.GetGroup(kSatelliteRadii, TRUE)->GetItem(item, TRUE)->GetValue();
    CString text;
    text.Format(u"PRN %s, Azm = %01.0f, El = %01.0f, Eb/No = %s", prnText.GetString(), marker->GetValue(),
                elevation, ebNoText.GetString());
    return text;
}

void CSatelliteViewChart::ShowTip(const SRGraphFeedback& record) {
    const CString text = GetTipText(record);
    if (text.IsEmpty()) {
        return;
    }
    POINT at = m_lastMouse;
    if (GetSafeHwnd()) {
        ClientToScreen(&at);
    }
    m_tip.Show(text, at.x, at.y, this);
}

void CSatelliteViewChart::OnPaint() {
    CPaintDC dc(this);
    m_chart.DrawGraph(&dc, this);
}

BOOL CSatelliteViewChart::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CSatelliteViewChart::HoverAt(CPoint point) {
    if (m_hoverTimerStarted) {
        KillTimer(kHoverTimer);
        m_hoverTimerStarted = FALSE;
    }
    if (point == m_lastMouse) {
        return;
    }
    if (m_tip.IsShown()) {
        m_tip.Hide();
    }
    SetTimer(kHoverTimer, kHoverDelayMs);
    m_hoverTimerStarted = TRUE;
    m_lastMouse = point;
}

void CSatelliteViewChart::OnMouseMove(UINT, CPoint point) {
    HoverAt(point);
    Default();
}

void CSatelliteViewChart::OnParentNotify(UINT message, LPARAM lParam) {
    if (LOWORD(message) == WM_MOUSEMOVE) {
        HoverAt(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    }
    Default();
}

void CSatelliteViewChart::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kHoverTimer) {
        CStatic::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kHoverTimer);
    m_hoverTimerStarted = FALSE;
    if (SRGraphFeedback* hit = m_chart.HitTestFeedback(m_lastMouse.x, m_lastMouse.y)) {
        ShowTip(*hit);
    }
}
