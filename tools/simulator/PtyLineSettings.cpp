// Kept apart from <termios.h>: the kernel's termios2 carries any rate, the 14400 of the rate table too.
#include "tools/simulator/PtyTransport.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace receiversim {

bool ReadLineSettings(int fd, LineSettings& line) {
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0) {
        return false;
    }
    line.baud = t.c_ospeed;
    switch (t.c_cflag & CSIZE) {
    case CS5:
        line.dataBits = 5;
        break;
    case CS6:
        line.dataBits = 6;
        break;
    case CS7:
        line.dataBits = 7;
        break;
    default:
        line.dataBits = 8;
        break;
    }
    if ((t.c_cflag & PARENB) == 0) {
        line.parity = Parity::None;
    } else if ((t.c_cflag & CMSPAR) != 0) {
        line.parity = (t.c_cflag & PARODD) != 0 ? Parity::Mark : Parity::Space;
    } else {
        line.parity = (t.c_cflag & PARODD) != 0 ? Parity::Odd : Parity::Even;
    }
    line.stopBits = (t.c_cflag & CSTOPB) != 0 ? 2 : 1;
    return true;
}

} // namespace receiversim
