// The receiver link's settings ("GPS Interface"): the port and its framing, the 1PPS line, the interface
// mode, the minimised-initialisation and auto-restart flags and a network address. The link code reads them
// through the getters; the port and mode lists are repaired as soon as the object exists.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/ReceiverIdentity.h"

#include <vector>

class CPortDialog {
public:
    enum { IDD = 114 };
    static constexpr int kRateCount = 10;
    static constexpr int kMaxProbedPort = 128;

    CPortDialog();
    // Stores the settings once more, as a last chance when the program ends.
    ~CPortDialog();
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
    // A new mode chosen: its rate, and the auto-restart flag cleared.
    void OnModeChanged(const CString& modeText);
    // The opening: a rate the mode does not offer is replaced by the mode's own.
    void OnInitDialog();
    // Stores everything; an invalid network address is dropped first.
    void OnOK();

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

private:
    void SaveSettings() const;
};
