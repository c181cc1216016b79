// Uses the kernel's termios2 constants, so it keeps clear of <termios.h>.
#include "platform/serial/TtyDevice.h"

#include <asm/termbits.h>

#include <gtest/gtest.h>

namespace {

using doliva::serial::TtyModesForDcb;

DCB Dcb(DWORD rate, BYTE size, BYTE parity, BYTE stop) {
    DCB dcb{};
    dcb.BaudRate = rate;
    dcb.ByteSize = size;
    dcb.Parity = parity;
    dcb.fParity = parity != NOPARITY;
    dcb.StopBits = stop;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

struct ParityCase {
    BYTE parity;
    std::uint32_t flags;
};

TEST(TtyModes, ParityCodesMapToTheirFlags) {
    const ParityCase cases[] = {{NOPARITY, 0},
                                {ODDPARITY, PARENB | PARODD},
                                {EVENPARITY, PARENB},
                                {MARKPARITY, PARENB | CMSPAR | PARODD},
                                {SPACEPARITY, PARENB | CMSPAR}};
    for (const ParityCase& c : cases) {
        const auto modes = TtyModesForDcb(Dcb(9600, 8, c.parity, ONESTOPBIT), 0);
        EXPECT_EQ(modes.cflag & (PARENB | PARODD | CMSPAR), c.flags) << int{c.parity};
        EXPECT_EQ((modes.iflag & INPCK) != 0, c.parity != NOPARITY) << int{c.parity};
    }
}

TEST(TtyModes, SizesStopBitsAndAlwaysLocalLines) {
    const std::uint32_t sizes[] = {CS5, CS6, CS7, CS8};
    for (BYTE size = 5; size <= 8; ++size) {
        EXPECT_EQ(TtyModesForDcb(Dcb(9600, size, NOPARITY, ONESTOPBIT), 0).cflag & CSIZE, sizes[size - 5]);
    }
    EXPECT_EQ(TtyModesForDcb(Dcb(9600, 8, NOPARITY, ONESTOPBIT), CSTOPB).cflag & CSTOPB, 0u);
    EXPECT_EQ(TtyModesForDcb(Dcb(9600, 8, NOPARITY, ONE5STOPBITS), 0).cflag & CSTOPB, unsigned{CSTOPB});
    EXPECT_EQ(TtyModesForDcb(Dcb(9600, 8, NOPARITY, TWOSTOPBITS), 0).cflag & CSTOPB, unsigned{CSTOPB});
    // A pulse per second on DCD must never hang the line up: CLOCAL always, HUPCL never.
    const auto modes = TtyModesForDcb(Dcb(9600, 8, NOPARITY, ONESTOPBIT), HUPCL | CRTSCTS | PARENB);
    EXPECT_EQ(modes.cflag & (CLOCAL | CREAD | HUPCL | CRTSCTS | PARENB), unsigned{CLOCAL | CREAD});
}

TEST(TtyModes, RatesUseTheStandardCodeOrAFreeRate) {
    const auto standard = TtyModesForDcb(Dcb(4800, 8, NOPARITY, ONESTOPBIT), B9600);
    EXPECT_EQ(standard.cflag & CBAUD, unsigned{B4800});
    EXPECT_EQ(standard.ospeed, 4800u);
    const auto free = TtyModesForDcb(Dcb(14400, 8, NOPARITY, ONESTOPBIT), B9600 | (B9600 << IBSHIFT));
    EXPECT_EQ(free.cflag & CBAUD, unsigned{BOTHER});
    EXPECT_EQ(free.cflag & (CBAUD << IBSHIFT), 0u); // the input rate follows the output rate
    EXPECT_EQ(free.ispeed, 14400u);
    EXPECT_EQ(free.ospeed, 14400u);
}

TEST(TtyModes, HandshakesMapToTermiosExceptDtrDsr) {
    DCB dcb = Dcb(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.XonChar = 0x21;
    dcb.XoffChar = 0x23;
    auto modes = TtyModesForDcb(dcb, 0);
    EXPECT_EQ(modes.iflag & (IXON | IXOFF), unsigned{IXON | IXOFF});
    EXPECT_EQ(modes.startChar, 0x21);
    EXPECT_EQ(modes.stopChar, 0x23);
    EXPECT_EQ(modes.cflag & CRTSCTS, 0u);

    dcb = Dcb(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    modes = TtyModesForDcb(dcb, 0);
    EXPECT_EQ(modes.cflag & CRTSCTS, unsigned{CRTSCTS});
    EXPECT_EQ(modes.iflag & (IXON | IXOFF), 0u);

    // DTR/DSR is the port's own work: termios sees no flow control at all.
    dcb = Dcb(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fOutxDsrFlow = 1;
    dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    modes = TtyModesForDcb(dcb, 0);
    EXPECT_EQ(modes.cflag & CRTSCTS, 0u);
    EXPECT_EQ(modes.iflag, 0u);
}

} // namespace
