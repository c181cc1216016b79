// The modeless "Satellite Az-El Chart" window around the sky plot. It is the object the document file
// stores: writing the document writes the plot's horizon traces. Closing it only hides it.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "dialogs/CSatelliteViewChart.h"
#include "resources/Resource.h"

class CArchive;

class CSatelliteViewChartDialog : public CPersistentDialog {
    DECLARE_SERIAL(CSatelliteViewChartDialog)

public:
    enum { IDD = IDD_SKY_PLOT };

    explicit CSatelliteViewChartDialog(CWnd* pParent = nullptr);

    // Reads one object of this class; a null object (as a document written before the sky plot holds)
    // reads as null, an object of another class throws.
    static CSatelliteViewChartDialog* ReadChartDialogFromArchive(CArchive& ar);

    void Serialize(CArchive& ar) override;
    using CPersistentDialog::Create;
    BOOL Create(CWnd* pParent = nullptr);
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CSatelliteViewChart& GetChart() { return m_chart; }

    static constexpr LPCTSTR kResetWarning =
        u"WARNING: This will restart the horizon \r\nline generation.  It will take at least  \r\n12 hours to "
        u"generate a complete new trace.\r\n\r\nDo you really want to do this?";

protected:
    void OnClose();
    void OnResetHorizon();

    CSatelliteViewChart m_chart;

    DECLARE_MESSAGE_MAP()
};
