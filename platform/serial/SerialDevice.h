// What a serial port needs from the thing behind it: a tty (TtyDevice), an RFC 2217 connection
// (Rfc2217Device) or the in-process fake (FakeSerialPort). The port calls every member but Attach, Detach
// and SetModemInterest with its lock held, so a device needs no lock of its own for them; only the watchers
// and the fake's test side run elsewhere, and they reach the port through PortEvents.
#pragma once

#include "platform/serial/CommApi.h"
#include "platform/serial/ModemTracker.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace doliva::serial {

// Calls into the port from threads other than its engine. Never called with a device lock held.
class PortEvents {
public:
    virtual ~PortEvents() = default;
    virtual void OnModemSample(const ModemSample& sample) = 0;
    // Takes the sample as the reference without reporting changes (a watcher starting over).
    virtual void OnModemRebase(const ModemSample& sample) = 0;
    // Something changed that the engine should look at (data arrived, writes may go on).
    virtual void WakeEngine() = 0;
};

// What one look at the device found.
struct DeviceInput {
    std::vector<std::uint8_t> data;
    std::vector<ModemSample> modem;
    DWORD errors = 0; // CE_* bits
    bool gone = false;
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Once the port is running / before it closes (outside the port's lock: watchers are joined here).
    virtual void Attach(std::weak_ptr<PortEvents> port) = 0;
    virtual void Detach() = 0;
    // Puts the device back as it was found and lets it go.
    virtual void Close() = 0;

    // The descriptor the engine polls, and for what.
    virtual int PollFd() const = 0;
    virtual short PollEvents(bool writeBlocked) const = 0;
    // Gathers what has arrived, without blocking. `revents` is what poll reported (0 when the engine only
    // asks because InputPending said so); `roomForData` is false while the port's input queue is not empty
    // (a device that keeps its chunks apart waits then).
    virtual void ReadInput(DeviceInput& in, short revents, bool roomForData) = 0;
    virtual bool InputPending() const { return false; }

    // Hands bytes to the device without blocking: the count taken (0 when it takes nothing now), or -1 with
    // `error` set when the device is gone.
    virtual long Write(const std::uint8_t* data, std::size_t size, DWORD* error) = 0;
    // Bytes taken but not yet sent, and bytes arrived but not yet gathered.
    virtual std::size_t OutQueue() = 0;
    virtual std::size_t InQueue() { return 0; }
    virtual void Purge(bool input, bool output) = 0;
    // True while the far end asked us to stop sending (RFC 2217 flow-control suspend).
    virtual bool OutputSuspended() const { return false; }
    // True when the device does not stop output on CTS itself (the port then holds writes while CTS is low).
    virtual bool NeedsLayerCtsFlow() const { return false; }

    // The line settings found at open.
    virtual DCB InitialState() = 0;
    // Applies a validated DCB; answers 0 or a Win32 error.
    virtual DWORD Configure(const DCB& dcb) = 0;
    virtual DWORD SetDtr(bool on) = 0;
    virtual DWORD SetRts(bool on) = 0;
    virtual DWORD SetBreak(bool on) = 0;
    // SETXOFF / SETXON: stop or restart output as if XOFF or XON had been received.
    virtual DWORD SetOutputStopped(bool stopped) {
        (void)stopped;
        return 0;
    }

    virtual bool SupportsModemLines() const = 0;
    // Levels and counters now; false when the device cannot tell.
    virtual bool SampleModem(ModemSample* sample) = 0;
    // The EV_* modem bits of the current mask, so that a watcher waits on those lines only. Called outside
    // the port's lock, like Attach and Detach.
    virtual void SetModemInterest(DWORD eventBits) { (void)eventBits; }
};

} // namespace doliva::serial
