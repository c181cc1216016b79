#include "receiver/CPex32TransmitThread.h"

#include "platform/kernel/Kernel.h"
#include "platform/serial/Serial.h"
#include "receiver/CThBufferList.h"
#include "receiver/CommandFraming.h"
#include "receiver/CrossProcessSemaphore.h"

#include <string>

CPex32TransmitThread::~CPex32TransmitThread() {
    WaitUntilEnded();
}

void CPex32TransmitThread::WriteCommand(const CString& command) {
    std::string bytes = GpsCommandWireBytes(command);
    const HANDLE stopEvent = CrossProcessSemaphoreEvent(g_stopSemaphore);
    while (!bytes.empty()) {
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_writeEvent;
        DWORD written = 0;
        if (!WriteFile(m_port, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &overlapped)) {
            if (GetLastError() != ERROR_IO_PENDING) {
                return;
            }
            const HANDLE handles[] = {m_writeEvent, stopEvent};
            if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) {
                // Stopping: the write goes no further, and its buffer must outlive it.
                CancelIoEx(m_port, &overlapped);
                GetOverlappedResult(m_port, &overlapped, &written, TRUE);
                return;
            }
            if (!GetOverlappedResult(m_port, &overlapped, &written, FALSE)) {
                return;
            }
        }
        if (written >= bytes.size()) {
            return;
        }
        bytes.erase(0, written);
        // A stop during the pause drops the rest of the command.
        if (WaitForSingleObject(stopEvent, kWriteRetryPauseMs) == WAIT_OBJECT_0) {
            return;
        }
    }
}

DWORD CPex32TransmitThread::Run() {
    m_writeEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE handles[] = {CrossProcessSemaphoreEvent(g_transmitReady),
                              CrossProcessSemaphoreEvent(g_stopSemaphore)};
    for (;;) {
        bool drain = WaitCrossProcessSemaphore(g_transmitReady, 0) == 0;
        if (!drain) {
            if (WaitCrossProcessSemaphore(g_stopSemaphore, 0) == 0) {
                break;
            }
            const DWORD woke = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
            if (woke == WAIT_OBJECT_0 + 1) {
                break;
            }
            drain = woke == WAIT_OBJECT_0;
        }
        if (drain) {
            while (!g_transmitList.IsEmpty()) {
                WriteCommand(g_transmitList.RemoveHead());
            }
        }
    }
    // Left released for the other worker thread and the next port open.
    ReleaseCrossProcessSemaphore(g_stopSemaphore, 1, nullptr);
    CloseHandle(m_writeEvent);
    m_writeEvent = nullptr;
    return 0;
}
