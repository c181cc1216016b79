// The view's side of the sky plot: re-plotting the satellites from the channel table and the menu command
// that shows the plot.
#include "app/CPex32Doc.h"
#include "app/CPex32View.h"
#include "dialogs/CSatelliteViewChartDialog.h"
#include "receiver/ReceiverState.h"

CSatelliteViewChartDialog* CPex32View::SkyPlotDialog() {
    auto* document = dynamic_cast<CPex32Doc*>(m_pDocument);
    return document ? document->m_chartDialog : nullptr;
}

BOOL CPex32View::IsTrackedOnSkyPlot(const SatelliteChannelRow& row, int interfaceMode) {
    const bool ublox = interfaceMode == kModeUbloxUbx || interfaceMode == kModeUbloxNmea;
    const int bit = ublox ? kSatFlagUbxUsed : kSatFlagUsed;
    return (row.Flags() & bit) != 0 ? TRUE : FALSE;
}

void CPex32View::PlotSatellites() {
    CSatelliteViewChartDialog* dialog = SkyPlotDialog();
    if (!dialog) {
        return;
    }
    CSatelliteViewChart& chart = dialog->GetChart();
    chart.ClearSatelliteMarkers();
    const int mode = g_interfaceMode;
    for (const SatelliteChannelRow& row : m_satTables.m_satTableSorted) {
        if (row.elevation > 0) {
            chart.PlotSatellite(static_cast<unsigned>(row.prn), row.azimuth, row.elevation, row.signal, row.trend,
                                IsTrackedOnSkyPlot(row, mode));
        }
    }
}

void CPex32View::RefreshSkyPlot() {
    CSatelliteViewChartDialog* dialog = SkyPlotDialog();
    if (dialog && dialog->m_hWnd) {
        PlotSatellites();
    }
}

void CPex32View::OnSkyPlot() {
    PlotSatellites();
    if (CSatelliteViewChartDialog* dialog = SkyPlotDialog()) {
        if (!dialog->m_hWnd) {
            dialog->Create(GetTopLevelParent());
        }
        dialog->ShowWindowRestoring(SW_RESTORE);
    }
}
