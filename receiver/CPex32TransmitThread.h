// The only writer to the port: sleeps until commands are queued in g_transmitList, then writes them in order.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/LinkThread.h"

// Pause before the unwritten tail of a short write goes out again.
constexpr DWORD kWriteRetryPauseMs = 500;

class CPex32TransmitThread : public LinkThread {
public:
    explicit CPex32TransmitThread(HANDLE port) : m_port(port) {}
    ~CPex32TransmitThread() override;

    // Writes one command (CR LF added unless it begins with DLE); a failed write or a stop drops it.
    void WriteCommand(const CString& command);

protected:
    DWORD Run() override;
    LPCWSTR Name() const override { return u"gps transmit"; }

private:
    HANDLE m_port;
    HANDLE m_writeEvent = nullptr;
};
