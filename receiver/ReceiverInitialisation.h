// Receiver identification and initialisation: finds out which receiver is attached (or searches for one
// across the Motorola NMEA, binary and LORAN rates and the u-blox poll), identifies it, brings a Motorola
// receiver into its binary protocol for the set-up and back, sends the configuration commands and leaves
// the receiver in the interface mode found. Runs on the GUI thread; the send routines pump messages.
//
// Host interface. The view (CPex32View) implements ReceiverInitHost and keeps its entry points
// (InitGpsReceiver, RunGpsInitialisation, ApplyPortSettings, OnSetGpsInterface), which call this class. What
// the host provides beyond the configuration host:
// - the port: its rate member (m_baudRate), changing only the rate of the open port (SetCommBaudRate with
//   g_hGpsPort), applying all settings (ConfigureCommPort), copying the port dialog's settings
//   (GetPortSettings), taking the chosen port (GpsPortControl::UsePort), and "NoGpsInit";
// - the port dialog's found-mode store (CPortDialog::SetInterfaceMode) and its receive-only identity
//   (CPortDialog::GetReceiverIdentity);
// - the receiver parameters' reload (CGpsRxModeSelect::LoadSettings) and the clearing of their PVT6 and
//   local-time flags, the reference location's "Ref_Loc_On_Start";
// - the averaging engine (CGpsNav::SaveAverages, LoadAverages, SetTimingErrorTerms);
// - the windows: busy cursor, repaint, status text and panes, the receiver-ID window, the satellites grid's
//   status cells, the tick icon and the message box;
// - the reset of the receiver-derived view state (GPS-UTC offset, leap state, DGPS state, the four channel
//   tables) and the release of the two gates at the end (the view re-checks the receive list, as its
//   data handler does).
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/ReceiverConfiguration.h"
#include "receiver/ReceiverIdentity.h"

class ReceiverInitHost : public ReceiverSetupHost {
public:
    // --- The port.
    virtual DWORD& PortBaudRate() = 0;                         // m_baudRate
    virtual BOOL SetPortBaudRate(DWORD rate) = 0;              // SetCommBaudRate(g_hGpsPort, rate)
    virtual void ReconfigurePort() = 0;                        // ConfigureCommPort
    virtual void TakePortSettings() = 0;                       // GetPortSettings
    virtual BOOL UseChosenPort(const CString& devicePath) = 0; // re-open on another port, else reconfigure
    virtual BOOL NoGpsInit() = 0;                              // m_noGpsInit

    // --- Settings.
    virtual void StoreFoundInterfaceMode(int mode) = 0;             // CPortDialog::SetInterfaceMode
    virtual BOOL GetRxOnlyIdentity(ReceiverIdentity& identity) = 0; // CPortDialog::GetReceiverIdentity
    virtual void LoadReceiverParameters() = 0;                      // CGpsRxModeSelect::LoadSettings
    virtual void ClearPvt6AndLocalTimeFlags() = 0;
    virtual BOOL IsRefLocOnStart() = 0;

    // --- Averaging engine.
    virtual void GpsNavSaveAverages() = 0;
    virtual void GpsNavLoadAverages() = 0;
    virtual void GpsNavSetTimingErrorTerms(double a, double b) = 0;

    // --- Windows and view state.
    virtual void ShowBusyCursor(BOOL on) = 0;
    virtual void RepaintView() = 0; // Invalidate and UpdateWindow
    virtual void SetStatusText(const CString& text) = 0;
    // -1 empties a pane; the receiver-mode pane is set to 0 (navigating) after a u-blox set-up.
    virtual void SetAntennaStatus(int status) = 0;
    virtual void SetReceiverModeStatus(int status) = 0;
    virtual void ClearRxIdWindow() = 0; // its text, when the window exists
    virtual void SetSatsGridCellText(int row, int column, const CString& text) = 0;
    virtual void FlashTickIcon() = 0; // ShowTickIcon then ClearTickIcon
    // m_gpsUtcOffsetSec 0, g_leapSecondPending -1, m_dgpsStatus 0, the four channel tables emptied.
    virtual void ResetReceiverDerivedState() = 0;
    // A message box (the not-found box after a failed initialisation).
    virtual int ShowMessageBox(const CString& text, UINT type) = 0;
    // The common end's release of g_receiveGate and g_ppsGate; the default releases both once.
    virtual void ReleaseLinkGates();
    // The outermost initialisation run has ended (a close asked for meanwhile can go ahead now).
    virtual void InitialisationEnded() {}
};

// The text of the not-found box.
extern const char16_t kReceiverNotFoundText[];

// The status lines of an identified receiver. The binary line appends "+" to a WQT name of a "+" model and
// ", Rx Only" for the receive-only mode, then the DGPS, T-RAIM, PVT6 and local-time notes; the NMEA line only
// the DGPS and T-RAIM notes.
CString BinaryIdentityLine(const ReceiverIdentity& identity, BOOL plusModel, BOOL rxOnly, BOOL pvt6,
                           BOOL localTime);
CString NmeaIdentityLine(const ReceiverIdentity& identity);

class ReceiverInitialisation {
public:
    ReceiverInitialisation(ReceiverInitHost& host, ReceiverConfiguration& configuration)
        : m_host(host), m_configuration(configuration) {}

    // TRUE when the receiver was set up. The watchdog calls it directly, without the not-found box. One run
    // at a time: a call while one runs (from a message handled during its waits) answers FALSE at once. A run
    // that finds the program closing gives up at its next step, storing nothing.
    BOOL InitGpsReceiver();
    // Reloads the receiver parameters and initialises; a failure sets g_receiverNotFound and shows the box
    // (not when the program is closing).
    BOOL RunGpsInitialisation();
    // An initialisation runs (the caller is a message handler inside one of its waits).
    BOOL IsRunning() const { return m_running; }
    // Mode, rate and "NoGpsInit" of the port dialog: reconfigures the port and runs initialisation.
    BOOL ApplyPortSettings(int mode, DWORD rate, BOOL noGpsInit);
    // OnSetGpsInterface after the dialog was confirmed: a Motorola binary or u-blox receiver is told its new
    // rate by "@@Wb" at the old one, the settings are taken, the port opened or reconfigured, and the
    // receiver initialised again.
    void ApplyConfirmedPortDialog(int mode, DWORD rate, const CString& devicePath, BOOL noGpsInit);

    // The searches and probes; `mode` is the mode found, 11 when none. TRUE when one was found.
    BOOL SearchReceiver(int& mode);
    BOOL SearchMotorolaReceiver(int& mode);
    BOOL ProbeUbloxReceiver(int& mode);
    BOOL ProbeGpsReceiver(int kind);

private:
    // Marks a run for its length; the end of the outermost one is told to the host.
    class RunScope;
    BOOL Initialise();
    // The program closes: the run ends here, storing nothing.
    BOOL Abandon();
    BOOL SetUpMotorola(int found, DWORD configuredRate, DWORD setupRate);
    BOOL SetUpUblox(int found, DWORD configuredRate);
    // Sets the rate member and the port's rate.
    BOOL SetRate(DWORD rate);
    // A set-up step that could not set the port's rate.
    BOOL FailSetup(const CString& text);
    BOOL CommonEnd(int found, BOOL result, BOOL identified);
    void DrainToOncoreDecoder(DWORD pauseMs);
    void Send(const CString& command);
    BOOL SendAndWait(const CString& command);

    ReceiverInitHost& m_host;
    ReceiverConfiguration& m_configuration;
    BOOL m_running = FALSE;
};
