// Serial ports on tty devices (/dev/ttyS*, /dev/ttyUSB*, /dev/serial/by-id/*, pty slaves).
//
// The device is opened non-blocking and locked against other opens (flock, and TIOCEXCL against other
// programs); its termios are saved and put back at close. Settings go through termios2, so any rate the
// driver takes works. Modem-line changes are caught by a watcher thread that sleeps in TIOCMIWAIT on the
// lines the event mask names (polling the levels every millisecond where the driver lacks TIOCMIWAIT); it
// is stopped by SIGRTMIN+1, whose handler is installed without SA_RESTART and which only watcher threads
// leave unblocked.
#pragma once

#include "platform/serial/SerialDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace doliva::serial {

// Null with `error` set: ERROR_FILE_NOT_FOUND for a device that is missing or not a tty,
// ERROR_ACCESS_DENIED for one in use or not permitted.
std::unique_ptr<SerialDevice> OpenTtyDevice(const std::string& path, DWORD* error);

// The termios2 settings a DCB asks for, over the control flags the device has now: the control flags (rate
// code, size, parity, stop bits, CRTSCTS; always CLOCAL and CREAD, never HUPCL), the input flags (IXON,
// IXOFF, INPCK; nothing else), the rates and the XON/XOFF characters. Mark and space parity use CMSPAR.
struct TtyModes {
    std::uint32_t cflag = 0;
    std::uint32_t iflag = 0;
    std::uint32_t ispeed = 0;
    std::uint32_t ospeed = 0;
    std::uint8_t startChar = 0;
    std::uint8_t stopChar = 0;
};
TtyModes TtyModesForDcb(const DCB& dcb, std::uint32_t currentCflag);

// For tests: stand-ins for the modem-line calls, so that the watcher can run over a device that has no modem
// lines (a pty). `wait` replaces TIOCMIWAIT (TIOCM_* line bits; 0, or -1 with errno set), `sample` replaces
// TIOCMGET with TIOCGICOUNT (false: no modem lines). Ports opened afterwards use them; empty members restore
// the real calls.
struct TtyModemCalls {
    std::function<int(int fd, int lines)> wait;
    std::function<bool(int fd, ModemSample* sample)> sample;
};
void SetTtyModemCallsForTests(TtyModemCalls calls);

// The stop signal of the watchers (SIGRTMIN+1).
int WatcherStopSignal();

} // namespace doliva::serial
