// What the receiver link tells the view. The application implements it with PostMessage (the two posts come
// from the worker threads and must never be lost) and its message box and raw-data window.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

class ReceiverEvents {
public:
    virtual ~ReceiverEvents() = default;
    // WM_APP+0x0A, wParam 0: messages wait in g_receiveList (posted only by whoever took g_receiveGate).
    virtual void PostGpsDataQueued() = 0;
    // WM_APP+0x0C, wParam 1: a 1PPS edge (posted only by whoever took g_ppsGate).
    virtual void PostPpsTick() = 0;
    // A failure the user must see: a message box with the exclamation icon and a raw-data window line.
    virtual void ShowLinkError(const CString& text) = 0;
    // A line for the raw-data window only.
    virtual void AddRawDataLine(const CString& text) = 0;
    // The port went away under the receive thread (a closed RFC 2217 server, an unplugged adapter), with
    // the error that ended its wait; the thread has ended. Posted at most once per thread.
    virtual void PostLinkLost(DWORD error) { (void)error; }
};
