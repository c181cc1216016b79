#include "dialogs/CSatelliteViewChartDialog.h"

#include "platform/base/CArchive.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/DataExchange.h"

IMPLEMENT_SERIAL(CSatelliteViewChartDialog, CPersistentDialog, VERSIONABLE_SCHEMA | 2)

BEGIN_MESSAGE_MAP(CSatelliteViewChartDialog, CPersistentDialog)
ON_WM_CLOSE()
ON_BN_CLICKED(IDC_RESET_HORIZON, OnResetHorizon)
END_MESSAGE_MAP()

CSatelliteViewChartDialog::CSatelliteViewChartDialog(CWnd* pParent) : CPersistentDialog(IDD, pParent) {}

CSatelliteViewChartDialog* CSatelliteViewChartDialog::ReadChartDialogFromArchive(CArchive& ar) {
    return static_cast<CSatelliteViewChartDialog*>(ar.ReadObject(RUNTIME_CLASS(CSatelliteViewChartDialog)));
}

void CSatelliteViewChartDialog::Serialize(CArchive& ar) {
    m_chart.Serialize(ar);
}

BOOL CSatelliteViewChartDialog::Create(CWnd* pParent) {
    return CPersistentDialog::Create(IDD, pParent);
}

void CSatelliteViewChartDialog::DoDataExchange(CDataExchange* pDX) {
    CPersistentDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SKY_PLOT, m_chart);
}

BOOL CSatelliteViewChartDialog::OnInitDialog() {
    CPersistentDialog::OnInitDialog();
    m_chart.EnsureHorizonGroups();
    if (m_chart.GetSafeHwnd()) {
        m_chart.Invalidate(TRUE);
    }
    return TRUE;
}

void CSatelliteViewChartDialog::OnClose() {
    m_chart.ClearSatelliteMarkers();
    Default();
}

void CSatelliteViewChartDialog::OnResetHorizon() {
    if (AfxMessageBox(kResetWarning, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        m_chart.ResetHorizon(TRUE);
    }
}
