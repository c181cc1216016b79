#include "receiver/GpsPortControl.h"

#include "platform/kernel/Kernel.h"
#include "platform/serial/Serial.h"
#include "receiver/CPex32ReceiveThread.h"
#include "receiver/CPex32TransmitThread.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/ReceiverEvents.h"
#include "receiver/ReceiverState.h"

HANDLE g_hGpsPort = nullptr;

namespace {

constexpr char16_t kDevicePrefix[] = u"\\\\.\\";

// Waits for a worker thread: `firstWaitMs`, then in rounds of a second for as long as it takes, since its
// object must not go while it runs, nor may new threads start on the port before it has gone.
void AwaitThread(LinkThread& thread, DWORD firstWaitMs) {
    if (thread.Join(firstWaitMs)) {
        return;
    }
    while (!thread.Join(1000)) {
    }
}

} // namespace

GpsPortControl::GpsPortControl(ReceiverEvents& events) : m_events(events) {}

GpsPortControl::~GpsPortControl() {
    StopThreads(1000);
    if (g_hGpsPort != nullptr) {
        SetCommTimeouts(g_hGpsPort, &m_savedTimeouts);
        CloseHandle(g_hGpsPort);
        g_hGpsPort = nullptr;
    }
}

CString GpsPortControl::DevicePathFor(const CString& portName) {
    return CString(kDevicePrefix) + portName;
}

BOOL GpsPortControl::ThreadsRunning() const {
    return (m_receiveThread && !m_receiveThread->Join(0)) || (m_transmitThread && !m_transmitThread->Join(0));
}

void GpsPortControl::StopThreads(DWORD firstWaitMs) {
    if (m_receiveThread) {
        ReleaseCrossProcessSemaphore(g_stopSemaphore, 1, nullptr);
        // Completes the receive thread's pending wait for comm events.
        if (g_hGpsPort != nullptr) {
            SetCommMask(g_hGpsPort, 0);
        }
        AwaitThread(*m_receiveThread, firstWaitMs);
        m_receiveThread.reset();
    }
    if (m_transmitThread) {
        ReleaseCrossProcessSemaphore(g_stopSemaphore, 1, nullptr);
        ReleaseCrossProcessSemaphore(g_transmitReady, 1, nullptr);
        AwaitThread(*m_transmitThread, firstWaitMs);
        m_transmitThread.reset();
    }
}

void GpsPortControl::StopLink() {
    StopThreads(kThreadStopWaitMs);
    if (g_hGpsPort != nullptr) {
        SetCommTimeouts(g_hGpsPort, &m_savedTimeouts);
        CloseHandle(g_hGpsPort);
        g_hGpsPort = nullptr;
    }
    g_receiveList.RemoveAll();
    g_transmitList.RemoveAll();
}

BOOL GpsPortControl::OpenGpsPort(BOOL quiet) {
    StopLink();
    if (m_portDevicePath != DevicePathFor(u"TCP/IP")) {
        HANDLE port = CreateFileW(m_portDevicePath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
        if (port == INVALID_HANDLE_VALUE || port == nullptr) {
            const DWORD error = GetLastError();
            if (quiet) {
                return FALSE;
            }
            m_events.ShowLinkError(CString(u"ERROR: while opening GPS port ") + m_portDevicePath + u" - " +
                                   CString(SystemErrorText(error)));
            return FALSE;
        }
        g_hGpsPort = port;
        m_timeoutsSaved = false;
        ConfigureCommPort();
        if (g_ppsInterface.load() != kPpsNone && !PortSupportsModemLines(port)) {
            // Data still flows; only the ticks cannot come.
            m_events.AddRawDataLine(CString(u"WARNING: GPS port ") + m_portDevicePath +
                                    u" reports no modem lines - no 1PPS");
        }
    }
    // Take back the stop request the old threads left released.
    WaitCrossProcessSemaphore(g_stopSemaphore, 0);
    m_receiveThread = std::make_unique<CPex32ReceiveThread>(g_hGpsPort, m_events);
    m_receiveThread->Start();
    m_transmitThread = std::make_unique<CPex32TransmitThread>(g_hGpsPort);
    m_transmitThread->Start();
    return TRUE;
}

void GpsPortControl::ConfigureCommPort() {
    if (g_hGpsPort == nullptr) {
        return;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(g_hGpsPort, &dcb);
    dcb.BaudRate = m_baudRate;
    dcb.ByteSize = m_dataBits;
    dcb.Parity = m_parity;
    dcb.StopBits = m_stopBits;
    dcb.fBinary = 1;
    dcb.fParity = m_parityOn ? 1 : 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fTXContinueOnXoff = 1;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fNull = 0;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = 0;
    switch (m_handshake) {
    case 1:
        dcb.fOutX = 1;
        dcb.fInX = 1;
        break;
    case 2:
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        break;
    case 3:
        dcb.fOutxDsrFlow = 1;
        dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
        break;
    default:
        break;
    }
    dcb.XonLim = 512;
    dcb.XoffLim = 512;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.EofChar = 0;
    dcb.EvtChar = 0x0D;
    SetCommState(g_hGpsPort, &dcb);

    // The port's own time-outs are kept once per open, to be put back before it closes.
    if (!m_timeoutsSaved) {
        m_timeoutsSaved = GetCommTimeouts(g_hGpsPort, &m_savedTimeouts) != FALSE;
    }
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0xFFFFFFFFu;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 50;
    timeouts.WriteTotalTimeoutMultiplier = 50;
    timeouts.WriteTotalTimeoutConstant = 0;
    SetCommTimeouts(g_hGpsPort, &timeouts);

    DWORD mask = 0;
    if (GetCommMask(g_hGpsPort, &mask)) {
        SetCommMask(g_hGpsPort, mask);
    }
}

BOOL GpsPortControl::SetCommBaudRate(HANDLE port, DWORD rate) {
    if (port == nullptr) {
        return FALSE;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) {
        return FALSE;
    }
    dcb.BaudRate = rate;
    if (!SetCommState(port, &dcb)) {
        return FALSE;
    }
    DWORD mask = 0;
    if (GetCommMask(port, &mask)) {
        SetCommMask(port, mask);
    }
    Sleep(kRateChangeSettleMs);
    return TRUE;
}

BOOL GpsPortControl::UsePort(const CString& devicePath) {
    if (devicePath != m_portDevicePath || g_hGpsPort == nullptr) {
        m_portDevicePath = devicePath;
        return OpenGpsPort();
    }
    ConfigureCommPort();
    return TRUE;
}
