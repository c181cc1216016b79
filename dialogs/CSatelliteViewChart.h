// The sky plot: the satellites at their azimuth and elevation on a polar chart (north up, east right, the
// zenith at the centre), and two horizon traces built over hours of tracking: per 2-degree bin the lowest
// elevation and per 10-degree bin the highest elevation at which a satellite was tracked. The traces are
// stored with the document; the satellite markers are rebuilt at every re-plot.
#pragma once

#include "chart/SRGraph.h"
#include "chart/SRGraphStyle.h"
#include "chart/SRGraphTip.h"

#include "platform/framework/AfxControls.h"

class CArchive;
class SRGraphFeedback;

class CSatelliteViewChart : public CStatic {
public:
    CSatelliteViewChart();
    ~CSatelliteViewChart() override;

    // Data groups: the fine trace (azimuths, radial values), the coarse trace, the satellites by PRN.
    enum : int {
        kFineAzimuths = 0,
        kFineRadii = 1,
        kCoarseAzimuths = 2,
        kCoarseRadii = 3,
        kSatelliteAzimuths = 4,
        kSatelliteRadii = 5,
    };
    static constexpr int kTraceItems = 180;
    static constexpr int kDrawnSatellites = 33;
    // A PRN past the satellite groups' items is not plotted: it would only grow the groups, never drawn.
    static constexpr unsigned kHighestPrn = kTraceItems - 1;
    static constexpr UINT_PTR kHoverTimer = 2;
    static constexpr UINT kHoverDelayMs = 500;
    static constexpr int kAnnotationKey = 1;

    // The radial value of an elevation: 0 at the zenith, 1 on the horizon.
    static double RadialValue(int elevation);

    void PlotSatellite(unsigned prn, int azimuth, int elevation, int ebNo, int colourCode, BOOL tracked);
    void ClearSatelliteMarkers();
    void ResetHorizon(BOOL rebuild);
    void ResetFineHorizon(BOOL rebuild);
    void ResetCoarseHorizon(BOOL rebuild);
    void EnsureHorizonGroups();
    void Serialize(CArchive& ar) override;
    void SetItemAnnotation(int item, int group, const CString& text);
    void SetGroupAnnotation(int group, const CString& text);
    // The hover text of a hit record: empty unless it is a drawn satellite marker with its annotation.
    CString GetTipText(const SRGraphFeedback& record);
    void ShowTip(const SRGraphFeedback& record);

    SRGraph& GetChart() { return m_chart; }
    SRGraphTip& GetTip() { return m_tip; }

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnParentNotify(UINT message, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);

private:
    void ResetTrace(int azimuthGroup, double degreesPerItem, COLORREF colour, BOOL rebuild);
    void HoverAt(CPoint point);

    SRGraph m_chart;
    SRGraphTip m_tip;
    SRGraphStyle m_chartStyle;
    CPoint m_lastMouse{0, 0};
    BOOL m_hoverTimerStarted = FALSE;

    DECLARE_MESSAGE_MAP()
};
