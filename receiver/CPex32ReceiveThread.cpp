#include "receiver/CPex32ReceiveThread.h"

#include "platform/base/TimeConversions.h"
#include "platform/kernel/Kernel.h"
#include "platform/serial/Serial.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/ReceiverEvents.h"
#include "receiver/ReceiverState.h"

namespace {

constexpr DWORD kModemEvents = EV_CTS | EV_DSR | EV_RLSD;
constexpr DWORD kReceiveMask = EV_RXCHAR | kModemEvents | EV_ERR; // 0xB9

// Per 1PPS line (DCD, CTS, DSR): set when the line was seen low. Kept across port re-opens.
bool g_ppsArmed[3] = {};

struct PpsLineInfo {
    DWORD event;
    DWORD onBit;
};
constexpr PpsLineInfo kPpsLines[3] = {{EV_RLSD, MS_RLSD_ON}, {EV_CTS, MS_CTS_ON}, {EV_DSR, MS_DSR_ON}};

std::int64_t CounterNs(LONGLONG ticks) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    const LONGLONG f = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    return ticks / f * 1'000'000'000 + ticks % f * 1'000'000'000 / f;
}

std::int64_t Milliseconds(const UtcInstant& t) {
    return t.seconds * 1000 + t.nanoseconds / 1'000'000;
}

const ModemLineStamp& StampOf(const ModemEdgeStamp& stamp, int line) {
    return line == 0 ? stamp.dcd : line == 1 ? stamp.cts : stamp.dsr;
}

// Waits out a request still pending on the port, so that its OVERLAPPED can go.
void AbandonRequest(HANDLE port, OVERLAPPED& overlapped) {
    if (!HasOverlappedIoCompleted(&overlapped)) {
        CancelIoEx(port, &overlapped);
        DWORD ignored = 0;
        GetOverlappedResult(port, &overlapped, &ignored, TRUE);
    }
}

// Errors of a wait that say nothing about the device: no port at all, or a mask cleared to stop the thread.
bool IsDeviceLoss(DWORD error) {
    return error != ERROR_INVALID_HANDLE && error != ERROR_INVALID_PARAMETER &&
           error != ERROR_OPERATION_ABORTED;
}

} // namespace

CPex32ReceiveThread::~CPex32ReceiveThread() {
    WaitUntilEnded();
}

void CPex32ReceiveThread::Queue(const CString& message) {
    if (g_receiveList.GetCount() >= kReceiveListCap) {
        return;
    }
    g_receiveList.AddTail(message);
    if (WaitCrossProcessSemaphore(g_receiveGate, 0) == 0) {
        m_events.PostGpsDataQueued();
    }
}

void CPex32ReceiveThread::FrameAndQueue(const BYTE* data, DWORD size, int interfaceMode,
                                        bool firmwareUpload) {
    const FramerKind kind =
        interfaceMode == kModeMotorolaBinary || interfaceMode == kModeMotorolaRxOnly ? FramerKind::Motorola
        : interfaceMode == kModeUbloxUbx || interfaceMode == kModeUbloxNmea          ? FramerKind::Ubx
                                                                                     : FramerKind::Nmea;
    if (kind != m_lastFramer) {
        // A line begun under another mode is not continued when that mode comes back.
        (kind == FramerKind::Nmea       ? m_nmea.Reset()
         : kind == FramerKind::Motorola ? m_motorola.Reset()
                                        : m_ubx.Reset());
        m_lastFramer = kind;
    }
    m_messages.clear();
    switch (kind) {
    case FramerKind::Nmea:
        m_nmea.Feed(data, size, m_messages);
        break;
    case FramerKind::Motorola:
        m_motorola.Feed(data, size, m_messages, firmwareUpload);
        break;
    case FramerKind::Ubx:
        m_ubx.Feed(data, size, m_messages);
        break;
    }
    for (const CString& message : m_messages) {
        Queue(message);
    }
}

bool CPex32ReceiveThread::NoteRises(int line, ModemEdgeStamp* stamp) {
    if (!GetCommEventStamp(m_port, stamp)) {
        *stamp = ModemEdgeStamp{};
        return false;
    }
    const DWORD rises = StampOf(*stamp, line).rises;
    const bool advanced = m_haveRises[line] && rises != m_lastRises[line];
    m_lastRises[line] = rises;
    m_haveRises[line] = true;
    return advanced;
}

void CPex32ReceiveThread::NoteEarlierRise(int line) {
    ModemEdgeStamp stamp;
    NoteRises(line, &stamp);
    if (StampOf(stamp, line).lastRiseCounter != 0) {
        m_lastRiseCounter[line] = StampOf(stamp, line).lastRiseCounter;
    }
}

void CPex32ReceiveThread::CaptureEdge(DWORD events) {
    const int selected = g_ppsInterface.load();
    if (selected < kPpsDcd || selected > kPpsDsr) {
        return;
    }
    const int line = selected - 1;
    DWORD status = 0;
    if (!GetCommModemStatus(m_port, &status)) {
        return;
    }
    if (!(events & kPpsLines[line].event)) {
        return;
    }
    // The port stamps each change when it sees it and counts the rises, also those of a pulse that had
    // fallen again before its level could be read.
    ModemEdgeStamp stamp;
    const DWORD risesBefore = m_lastRises[line];
    const bool hadRises = m_haveRises[line];
    const bool newRise = NoteRises(line, &stamp);
    const ModemLineStamp& lineStamp = StampOf(stamp, line);

    // Armed when seen low, accepted when seen high; a rise the port counted since the last look is an edge
    // even when the low level was never seen apart from it (changes reported together), or when the line
    // is already low again (a whole pulse came and went).
    bool accepted = false;
    if (!(status & kPpsLines[line].onBit)) {
        accepted = newRise;
        g_ppsArmed[line] = true;
    } else {
        accepted = g_ppsArmed[line] || newRise;
        g_ppsArmed[line] = false;
    }
    if (!accepted) {
        return;
    }
    g_ppsTimestamp = Milliseconds(newRise ? lineStamp.lastRise : CurrentUtc());
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const LONGLONG edgeCounter = newRise ? lineStamp.lastRiseCounter : now.QuadPart;
    std::int64_t gapNs = -1;
    if (hadRises && lineStamp.rises - risesBefore > 1) {
        gapNs = 0; // another rise came between the last look and this one
    } else if (m_lastRiseCounter[line] > 0) {
        gapNs = CounterNs(edgeCounter - m_lastRiseCounter[line]);
    }
    m_lastRiseCounter[line] = edgeCounter;
    if (WaitCrossProcessSemaphore(g_ppsGate, 0) == 0) {
        // The tick's own edge: one dropped while the view is busy must not move it.
        g_ppsEdgeCounter = edgeCounter;
        g_ppsEdgeGapNs = gapNs;
        g_ppsTickDataMark = g_receiveList.AppendedCount();
        m_events.PostPpsTick();
    }
}

void CPex32ReceiveThread::HandleEvents(DWORD events, HANDLE readEvent) {
    if (events & kModemEvents) {
        if (g_initializing.load() == 0) {
            // The bytes of this report stay in the port until the next EV_RXCHAR.
            CaptureEdge(events);
            return;
        }
        // Edges while initialising are ignored, and must not count as new once it ends; the first one
        // after it is measured from the last of them.
        const int selected = g_ppsInterface.load();
        if (selected >= kPpsDcd && selected <= kPpsDsr) {
            NoteEarlierRise(selected - 1);
        }
    }
    if (events & EV_RXCHAR) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = readEvent;
        DWORD read = 0;
        if (!ReadFile(m_port, m_readBuffer, sizeof m_readBuffer, &read, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) {
                return;
            }
            if (!GetOverlappedResult(m_port, &overlapped, &read, TRUE)) {
                return;
            }
        }
        FrameAndQueue(m_readBuffer, read, g_interfaceMode.load(), g_firmwareUploadActive.load() != 0);
    }
    DWORD errors = 0;
    ClearCommError(m_port, &errors, nullptr);
}

void CPex32ReceiveThread::ReportLoss(DWORD error) {
    if (m_port == nullptr || !IsDeviceLoss(error)) {
        return;
    }
    if (WaitCrossProcessSemaphore(g_stopSemaphore, 0) == 0) {
        // Being stopped: whatever failed, nobody waits for this port any more.
        ReleaseCrossProcessSemaphore(g_stopSemaphore, 1, nullptr);
        return;
    }
    m_events.PostLinkLost(error);
}

DWORD CPex32ReceiveThread::Run() {
    HANDLE waitEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE readEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // The edges counted so far are old; those from here on are new even if they come before the mask.
    for (int line = 0; line < 3; ++line) {
        NoteEarlierRise(line);
    }
    SetCommMask(m_port, kReceiveMask);
    DWORD status = 0;
    GetCommModemStatus(m_port, &status);
    DWORD errors = 0;
    COMSTAT comStat{};
    ClearCommError(m_port, &errors, &comStat);
    // Bytes that came before the event mask was set raise no event of their own.
    if (comStat.cbInQue > 0) {
        HandleEvents(EV_RXCHAR, readEvent);
    }

    OVERLAPPED waitOverlapped{};
    waitOverlapped.hEvent = waitEvent;
    bool pending = false;
    DWORD events = 0;
    for (;;) {
        if (!pending) {
            if (WaitCommEvent(m_port, &events, &waitOverlapped)) {
                HandleEvents(events, readEvent);
                continue;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING) {
                ReportLoss(error);
                break;
            }
            pending = true;
        }
        if (WaitCrossProcessSemaphore(g_stopSemaphore, 0) == 0) {
            // Left released for the other worker thread and the next port open.
            ReleaseCrossProcessSemaphore(g_stopSemaphore, 1, nullptr);
            break;
        }
        const HANDLE handles[] = {CrossProcessSemaphoreEvent(g_stopSemaphore), waitEvent};
        const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0) {
            ReleaseCrossProcessSemaphore(g_stopSemaphore, 1, nullptr);
            break;
        }
        if (woke == WAIT_OBJECT_0 + 1) {
            pending = false;
            DWORD ignored = 0;
            if (GetOverlappedResult(m_port, &waitOverlapped, &ignored, FALSE)) {
                HandleEvents(events, readEvent);
            }
        }
    }
    if (pending) {
        AbandonRequest(m_port, waitOverlapped);
    }
    CloseHandle(waitEvent);
    CloseHandle(readEvent);
    return 0;
}
