// The receiver link's settings ("GPS Interface"): the port and its framing, the 1PPS line, the interface
// mode, the minimised-initialisation and auto-restart flags and a network address. The link code reads them
// through the getters; the port and mode lists are repaired as soon as the object exists.
#pragma once

#include "appframe/CPersistentDialog.h"
#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "platform/framework/AfxControls.h"
#include "receiver/ReceiverIdentity.h"
#include "resources/Resource.h"

#include <vector>

class CPortDialog : public CPersistentDialog {
public:
    enum { IDD = IDD_PORT_DIALOG };
    enum : UINT {
        kStopBitsId = 1003,
        kModeListId = 1004,
        kDataBitsId = 1006,
        kFirstRateId = 1008,
        kParityId = 1021,
        kHandshakeId = 1026,
        kPpsId = 1029,
        kProbeId = 1158,
        kPortListId = 1247,
        kNoInitId = 1264,
        kAutoRestartId = 1265,
        kAddressId = 1267,
    };
    // The rate buttons in rate order (300 bps first).
    static constexpr UINT kRateIds[10] = {1008, 1010, 1012, 1036, 1014, 1039, 1017, 1019, 1041, 1020};
    static constexpr int kRateCount = 10;
    static constexpr int kMaxProbedPort = 128;

    // Reads the settings and the receiver type chosen last (for the receive-only mode).
    explicit CPortDialog(CWnd* pParent = nullptr);
    // Stores the settings once more, as a last chance when the program ends.
    ~CPortDialog() override;
    CPortDialog(const CPortDialog&) = delete;
    CPortDialog& operator=(const CPortDialog&) = delete;

    CString GetPortName() const { return m_portName; }
    int GetPpsInterface() const { return m_ppsIndex; }
    DWORD GetBaudRate() const { return RateForIndex(m_rateIndex); }
    int GetInterfaceMode() const { return InterfaceModeFromName(m_modeText); }
    int GetDataBitsFlag() const { return m_dataBitsIndex; }
    int GetHandshake() const { return m_handshakeIndex; }
    int GetParity() const { return m_parityIndex; }
    int GetStopBits() const { return m_stopBitsIndex; }
    BOOL GetNoGpsInit() const { return m_noGpsInit; }
    BOOL GetAutoRestart() const { return m_autoRestart; }
    // TRUE when the record holds a receiver chosen in the receiver type dialog (a version above 0).
    BOOL GetReceiverIdentity(ReceiverIdentity& identity) const;
    void SetReceiverIdentity(const ReceiverIdentity& identity) { m_receiverIdentity = identity; }
    // The mode a search found; codes without a name change nothing.
    void SetInterfaceMode(int code);

    // "COM%i" of every port from 1 to 128 the system knows, joined with ",".
    static CString ProbeComPorts();
    // Repairs the stored port list, port and mode (and stores what it changed).
    void PrepareLists();
    // The port drop-down's entries: "TCP/IP" first unless the list holds it, then the list's entries.
    std::vector<CString> PortChoices() const;
    // A probe by the user: a different list replaces the stored one.
    void OnProbePorts();
    // A new mode chosen without a window: its rate, and the auto-restart flag cleared. With a window the
    // choice shows in the controls only, until OK reads them.
    void OnModeChanged(const CString& modeText);
    // The opening: a rate the mode does not offer is replaced by the mode's own. With a window the lists
    // are filled and the rate buttons follow the mode.
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Stores everything; an invalid network address is dropped first. With a window the controls are read
    // first, and the receive-only mode asks for the receiver type.
    void OnOK() override;

    // Tables of the interface modes and rates.
    static DWORD RateForIndex(int rateIndex);
    static int InterfaceModeFromName(const CString& modeText);
    static CString InterfaceModeName(int code);
    // The rate index checked when the mode is chosen; -1 for a text that names no listed mode.
    static int ModeRateIndex(const CString& modeText);
    static bool IsRateEnabled(const CString& modeText, int rateIndex);
    static bool IsAutoRestartEnabled(const CString& modeText) { return modeText == u"Motorola Binary"; }
    static CString ModeList();

    // List helpers. Port names match whole entries only: "COM1" is not in "COM10,COM12".
    static std::vector<CString> SplitList(const CString& list);
    static bool ListContains(const CString& list, const CString& entry);
    // Everything after the list's last digit goes.
    static CString CutAfterLastDigit(const CString& list);
    // Four dotted numbers, optionally ":" and a port number.
    static BOOL IsValidNetworkAddress(const CString& address);

    CString m_portName;
    int m_rateIndex = 4;
    int m_dataBitsIndex = 1;
    int m_handshakeIndex = 0;
    int m_parityIndex = 0;
    int m_stopBitsIndex = 0;
    CString m_modeText;
    int m_ppsIndex = 1;
    BOOL m_noGpsInit = FALSE;
    CString m_networkAddress;
    BOOL m_autoRestart = FALSE;
    CString m_portList;
    CString m_modeList;
    ReceiverIdentity m_receiverIdentity;

protected:
    // The window's handlers.
    void OnModeSelChange();
    void OnProbeClicked();
    void OnAddressKillFocus();

private:
    void SaveSettings() const;
    void FillPortList();
    // Enables the rate buttons (and the auto-restart box) the selected mode offers.
    void UpdateRateButtons();
    // Exactly one rate button is checked and enabled.
    BOOL IsRateSelectionValid() const;
    CString SelectedModeText() const;

    CComboBox m_portCombo;
    CComboBox m_modeCombo;

    DECLARE_MESSAGE_MAP()
};
