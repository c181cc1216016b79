// The only reader of the port: waits for comm events, turns a rising edge on the 1PPS line into a tick for
// the view, and cuts the bytes read into messages with the framer of the current interface mode.
#pragma once

#include "platform/base/Win32Types.h"
#include "receiver/LinkThread.h"
#include "receiver/MotorolaFramer.h"
#include "receiver/NmeaLineFramer.h"
#include "receiver/UbxFramer.h"

#include <vector>

class ReceiverEvents;

// The receive gate is tried after each message queued; at most this many wait in g_receiveList.
constexpr INT_PTR kReceiveListCap = 10;

class CPex32ReceiveThread : public LinkThread {
public:
    CPex32ReceiveThread(HANDLE port, ReceiverEvents& events) : m_port(port), m_events(events) {}
    ~CPex32ReceiveThread() override;

    // The bytes of one read: framed by the framer `interfaceMode` selects, the messages queued.
    void FrameAndQueue(const BYTE* data, DWORD size, int interfaceMode, bool firmwareUpload);
    // Edge capture for the events of one comm event report.
    void CaptureEdge(DWORD events);

protected:
    DWORD Run() override;
    LPCWSTR Name() const override { return u"gps receive"; }

private:
    enum class FramerKind { Nmea, Motorola, Ubx };
    void HandleEvents(DWORD events, HANDLE readEvent);
    void Queue(const CString& message);
    // Tells the view that the port went away, unless the wait failed for want of a port or for a stop.
    void ReportLoss(DWORD error);
    // Reads the port's edge stamps; TRUE when the line rose since the last look.
    bool NoteRises(int line, struct ModemEdgeStamp* stamp);
    // Takes the rises so far as seen, the last of them as the rise before the next edge.
    void NoteEarlierRise(int line);

    HANDLE m_port;
    ReceiverEvents& m_events;
    BYTE m_readBuffer[2048];
    NmeaLineFramer m_nmea;
    MotorolaFramer m_motorola;
    UbxFramer m_ubx;
    FramerKind m_lastFramer = FramerKind::Nmea;
    DWORD m_lastRises[3] = {};
    bool m_haveRises[3] = {};
    // Per line, the performance counter at the last rise seen (0 before any).
    LONGLONG m_lastRiseCounter[3] = {};
    std::vector<CString> m_messages;
};
