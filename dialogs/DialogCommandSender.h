// How a dialog hands a receiver command to the view: the view's send routine (which frames, queues and
// echoes it) or its send-and-wait routine. GpsHostCommandSender is the view's side; tests record.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"
#include "receiver/GpsCommandSender.h"

class DialogCommandSender {
public:
    virtual ~DialogCommandSender() = default;
    virtual void Send(const CString& command) = 0;
    virtual BOOL SendAndWait(const CString& command) = 0;
};

class GpsHostCommandSender : public DialogCommandSender {
public:
    explicit GpsHostCommandSender(GpsSendHost& host) : m_host(host) {}
    void Send(const CString& command) override { SendGpsCommand(m_host, command); }
    BOOL SendAndWait(const CString& command) override { return SendGpsCommandAndWait(m_host, command); }

private:
    GpsSendHost& m_host;
};
