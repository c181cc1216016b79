// The two ways the GUI thread sends a command to the receiver: frame it by its prefix, queue it for the
// transmit thread, echo it, and then deal with what the receive list holds, or wait for the answer.
//
// The view provides the decoders, the windows and the receiver identity through GpsSendHost. Waits run on
// the monotonic clock and last exactly their N seconds.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

class GpsSendHost {
public:
    virtual ~GpsSendHost() = default;

    virtual CString DecodeOncoreMessage(const CString& message) = 0;
    virtual BOOL DecodeNmeaSentence(const CString& sentence) = 0;
    virtual CString DecodeUbxMessage(const CString& frame) = 0;
    virtual void AddRawDataLine(const CString& line) = 0;
    // The receiver-ID window's AddText; ignored while that window does not exist.
    virtual void AddIdText(const CString& text) = 0;
    virtual void UpdateViewWindow() = 0;
    // Handles the GUI thread's pending messages; a quit request is posted again and ends the round.
    virtual void PumpPendingMessages() = 0;
    virtual BOOL UbxUploadRunning() = 0;
    // The receiver identity's channel counts (both) and flags.
    virtual void SetChannelCounts(int channels) = 0;
    virtual void SetHasDgps(BOOL hasDgps) = 0;
    virtual void SetHasTraim(BOOL hasTraim) = 0;

    virtual ULONGLONG MonotonicMs();
    virtual void SleepMs(DWORD milliseconds);
    // TRUE once the program is closing: waits for answers end at once, unanswered.
    virtual BOOL StopWaiting() { return FALSE; }
};

// Hands a framed command to the transmit thread. The list is bounded: when it is full (the receiver takes
// nothing) the oldest commands give way, and the first drop of each such run adds one raw-data line.
void QueueForTransmit(GpsSendHost& host, const CString& framed);
// Frames, queues and echoes the command, then decodes (or drops) what the receive list holds.
void SendGpsCommand(GpsSendHost& host, CString command);
// As SendGpsCommand, then waits for the answer the command calls for. FALSE on time-out, and at once,
// without sending, for a command it does not handle (">" sentences, "$" sentences other than "$PMOTG",
// "$PGRM" and "$GPALM", 0x55 0x55 commands).
BOOL SendGpsCommandAndWait(GpsSendHost& host, CString command);
