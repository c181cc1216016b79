// How a dialog hands a receiver command to the view: the view's send routine (which frames, queues and
// echoes it) or its send-and-wait routine. The view implements it (ViewCommandSender); tests record.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

class DialogCommandSender {
public:
    virtual ~DialogCommandSender() = default;
    virtual void Send(const CString& command) = 0;
    virtual BOOL SendAndWait(const CString& command) = 0;
};
