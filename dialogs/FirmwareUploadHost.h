// What the two firmware uploads need of the view and the dialog. Replies are read from g_receiveList and
// records queued on g_transmitList by the uploads themselves; everything else goes through the host.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Win32Types.h"

class FirmwareUploadHost {
public:
    virtual ~FirmwareUploadHost() = default;

    virtual void SendGpsCommand(const CString& command) = 0;
    virtual BOOL SendGpsCommandAndWait(const CString& command) = 0;
    virtual BOOL SetCommBaudRate(DWORD rate) = 0;
    virtual CString DecodeUbxMessage(const CString& frame) = 0;
    // The raw-data window's line (which pumps the GUI thread's messages while that window exists).
    virtual void AddRawDataLine(const CString& text) = 0;
    virtual int ShowMessageBox(const CString& text, UINT type) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void SetUbxUploadRunning(BOOL running) = 0;
    // Set while either upload runs: the raw-data line then lets the GUI thread catch up with its messages
    // also when the raw-data window is closed, so that the program does not freeze for minutes.
    virtual void SetUploadRunning(BOOL running) = 0;

    // The millisecond clock of every wait and of the transfer time: monotonic, since the program itself
    // sets the PC clock. Then pauses, and what a polling loop does when it finds nothing to read.
    virtual ULONGLONG MonotonicMs();
    virtual void SleepMs(DWORD milliseconds);
    virtual void PollIdle();
};
