// "Satellite Select": satellites assigned to the first eight channels of a Motorola receiver, or channels
// disabled, sent as "@@Ah"/"@@Ai" commands and kept in "Manual Satellite Select". Opened modally per use.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "resources/Resource.h"

class CGpsRxModeSelect;
class DialogCommandSender;

class CManualSatelliteSelect : public CPersistentDialog {
public:
    enum { IDD = IDD_SAT_SELECT };
    static constexpr int kChannels = 8;
    static constexpr BYTE kMaxSatelliteId = 37;
    enum : UINT { kFirstDisableId = 1189, kClearAllId = 1198 };
    // The satellite ID edits of channels 1 to 8.
    static constexpr UINT kIdEditIds[kChannels] = {1197, 1182, 1183, 1184, 1185, 1186, 1187, 1188};

    // `rxSettings` tells the satellite selection mode ("Highest in the sky" or not); it may be null.
    CManualSatelliteSelect(DialogCommandSender* sender, const CGpsRxModeSelect* rxSettings,
                           CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The stored choices; anything malformed clears them all.
    void LoadSettings();
    void OnClearAll();
    // Sends and stores only when every value is inside its range; FALSE leaves the dialog open.
    BOOL ConfirmSelection();

    int m_disable[kChannels] = {};
    BYTE m_satelliteId[kChannels] = {};

protected:
    void OnOK() override;
    virtual void ShowMessage(const CString& text);

private:
    void SaveSettings() const;

    DialogCommandSender* m_sender;
    const CGpsRxModeSelect* m_rxSettings;

    DECLARE_MESSAGE_MAP()
};
