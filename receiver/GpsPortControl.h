// The serial link to the receiver: opening, configuring and closing the port, changing its rate, and
// starting and stopping the two worker threads. Runs on the GUI thread.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "platform/serial/CommApi.h"

#include <memory>

class CPex32ReceiveThread;
class CPex32TransmitThread;
class ReceiverEvents;

// The open port, null when closed; the worker threads use it directly.
extern HANDLE g_hGpsPort;

// How long a port re-open waits for each worker thread before it looks again.
constexpr DWORD kThreadStopWaitMs = 3000;
// Settling time after a rate change.
constexpr DWORD kRateChangeSettleMs = 250;

class GpsPortControl {
public:
    explicit GpsPortControl(ReceiverEvents& events);
    // Stops the threads (waiting as long as they take) and closes the port.
    ~GpsPortControl();
    GpsPortControl(const GpsPortControl&) = delete;
    GpsPortControl& operator=(const GpsPortControl&) = delete;

    // Port settings.
    CString m_portDevicePath; // "\\.\" + the port name
    DWORD m_baudRate = CBR_9600;
    BYTE m_dataBits = 8;
    BOOL m_parityOn = FALSE;
    BYTE m_parity = NOPARITY;
    BYTE m_stopBits = ONESTOPBIT;
    int m_handshake = 0; // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 DTR/DSR
    COMMTIMEOUTS m_savedTimeouts{};

    // "\\.\" + name.
    static CString DevicePathFor(const CString& portName);

    // Stops the link, opens the port named by m_portDevicePath ("TCP/IP" opens none), configures it and
    // starts both threads. FALSE (no thread started) when the port cannot be opened; the error was shown
    // unless `quiet` (the retries after a lost port, which was reported once).
    // A port without modem lines (a pty) while a 1PPS line is chosen gets a warning line.
    BOOL OpenGpsPort(BOOL quiet = FALSE);
    // Applies the settings to the open port; nothing without one.
    void ConfigureCommPort();
    // Changes only the rate of the open port, then lets the line settle. FALSE without a port or on refusal.
    BOOL SetCommBaudRate(HANDLE port, DWORD rate);
    // The port chosen in the serial-port dialog: re-opened when it differs from the open one or none is
    // open, else the open one reconfigured. Answers what OpenGpsPort answered, or TRUE.
    BOOL UsePort(const CString& devicePath);

    // Asks both threads to end, waits until they have, closes the port and empties both lists.
    void StopLink();
    BOOL ThreadsRunning() const;

private:
    void StopThreads(DWORD firstWaitMs);

    ReceiverEvents& m_events;
    std::unique_ptr<CPex32ReceiveThread> m_receiveThread;
    std::unique_ptr<CPex32TransmitThread> m_transmitThread;
    bool m_timeoutsSaved = false;
};
