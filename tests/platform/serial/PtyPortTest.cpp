#include "SerialTestSupport.h"

#include <algorithm>
#include <memory>

namespace serialtest {
namespace {

// The real tty code over a pseudo-terminal: the port opens the slave through DOLIVA_COM3, the test plays the
// receiver on the master.
class PtyPortTest : public SerialTest {
protected:
    void SetUp() override {
        SerialTest::SetUp();
        pty_ = std::make_unique<PtyPair>();
        env_ = std::make_unique<ScopedEnv>("DOLIVA_COM3", pty_->SlavePath());
    }
    void TearDown() override {
        if (port_ != nullptr && port_ != INVALID_HANDLE_VALUE) {
            CloseHandle(port_);
        }
        env_.reset();
        pty_.reset();
        SerialTest::TearDown();
    }

    HANDLE Open(bool overlapped = true) {
        port_ = OpenPort(u"\\\\.\\COM3", overlapped);
        EXPECT_NE(port_, INVALID_HANDLE_VALUE) << GetLastError();
        return port_;
    }

    std::unique_ptr<PtyPair> pty_;
    std::unique_ptr<ScopedEnv> env_;
    HANDLE port_ = nullptr;
};

TEST_F(PtyPortTest, TheDeviceTakesEachRate) {
    Open();
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    for (DWORD rate : {4800u, 9600u, 1200u, 115200u}) {
        dcb.BaudRate = rate;
        ASSERT_TRUE(SetCommState(port_, &dcb));
        EXPECT_EQ(pty_->MasterRate(), rate);
        EXPECT_TRUE(pty_->MasterUsesStandardCode()) << rate;
    }
    // No standard code exists for these: the free-rate interface carries them.
    for (DWORD rate : {14400u, 250000u}) {
        dcb.BaudRate = rate;
        ASSERT_TRUE(SetCommState(port_, &dcb));
        EXPECT_EQ(pty_->MasterRate(), rate);
        EXPECT_FALSE(pty_->MasterUsesStandardCode()) << rate;
        DCB back{};
        ASSERT_TRUE(GetCommState(port_, &back));
        EXPECT_EQ(back.BaudRate, rate);
    }
}

// A pty keeps eight data bits and no parity whatever it is told (TtyModesTest covers those flags); the stop
// bits do reach it.
TEST_F(PtyPortTest, StopBitsReachTheDevice) {
    Open();
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.StopBits = ONE5STOPBITS; // taken as two
    ASSERT_TRUE(SetCommState(port_, &dcb));
    EXPECT_TRUE(pty_->MasterTwoStopBits());
    dcb.StopBits = ONESTOPBIT;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    EXPECT_FALSE(pty_->MasterTwoStopBits());
}

TEST_F(PtyPortTest, DataFlowsBothWaysWithOverlappedRequests) {
    Open();
    UseProgramTimeouts(port_);
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR | EV_CTS | EV_DSR | EV_RLSD | EV_ERR));

    Overlapped wait;
    DWORD events = 0;
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &wait.ov)));
    pty_->Write("$GPZDA,1*00\r\n");
    DWORD ignored = 0;
    ASSERT_TRUE(Finish(port_, wait, &ignored));
    EXPECT_EQ(events, DWORD{EV_RXCHAR});
    std::string got = ReadSome(port_);
    while (got.size() < 13) {
        const std::string more = ReadSome(port_);
        ASSERT_FALSE(more.empty());
        got += more;
    }
    EXPECT_EQ(got, "$GPZDA,1*00\r\n");

    const std::string command("@@Cj\x29\r\n\xff\x00\x10", 10);
    EXPECT_EQ(WriteSome(port_, command), command.size());
    EXPECT_EQ(pty_->Read(command.size()), command);
}

// Received characters are reported as a UART's receive interrupt reports them: a message that comes in
// pieces is one EV_RXCHAR once the line goes quiet, so a receive thread wakes once for it; an event
// character (with the byte after it) or a while of unbroken input is reported while more is still coming.
TEST_F(PtyPortTest, ArrivalsAreReportedPerBurstAndAtTheEventCharacter) {
    Open();
    UseProgramTimeouts(port_);
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.BaudRate = 1200; // four characters' quiet take 33 ms, two after the event character 17 ms
    dcb.EvtChar = '\r';
    ASSERT_TRUE(SetCommState(port_, &dcb));
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR | EV_RXFLAG));

    Overlapped wait;
    DWORD events = 0;
    DWORD ignored = 0;
    // The pieces must follow each other closely; a round in which a busy machine held the writer back
    // longer than the gathering proves nothing and is tried again.
    for (int round = 0;; ++round) {
        ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &wait.ov)));
        DWORD longestGap = 0;
        DWORD last = GetTickCount();
        for (const char* piece : {"@@Ha", "\x01\x02", "\x03\x04", "\x05\x06", "\x07\x08"}) {
            pty_->Write(piece);
            Sleep(1);
            longestGap = std::max(longestGap, GetTickCount() - last);
            last = GetTickCount();
        }
        ASSERT_TRUE(Finish(port_, wait, &ignored));
        if (longestGap < 20 || round == 4) {
            break;
        }
        Sleep(100);
        ReadSome(port_);
    }
    EXPECT_EQ(events, DWORD{EV_RXCHAR});
    EXPECT_EQ(ReadSome(port_), std::string("@@Ha\x01\x02\x03\x04\x05\x06\x07\x08"));

    // Unbroken input is reported all the same.
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &wait.ov)));
    pty_->Write("$GPZDA,1\r\n");
    for (int i = 0; i < 100 && !HasOverlappedIoCompleted(&wait.ov); ++i) {
        pty_->Write("x");
        Sleep(1);
    }
    ASSERT_TRUE(Finish(port_, wait, &ignored));
    EXPECT_EQ(events, DWORD{EV_RXCHAR | EV_RXFLAG});
    EXPECT_EQ(ReadSome(port_).substr(0, 10), "$GPZDA,1\r\n");
}

TEST_F(PtyPortTest, SetCommMaskZeroEndsAPendingWait) {
    Open();
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR | EV_RLSD));
    Overlapped wait;
    DWORD events = 0xDEAD;
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &wait.ov)));
    ASSERT_TRUE(SetCommMask(port_, 0));
    DWORD ignored = 0;
    EXPECT_TRUE(Finish(port_, wait, &ignored));
    EXPECT_EQ(events, 0u);
    EXPECT_FALSE(WaitCommEvent(port_, &events, &wait.ov));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PtyPortTest, ClosingTheMasterEndsPendingRequestsWithAnError) {
    Open();
    ExpectLossEndsPendingRequests(port_, EV_RXCHAR | EV_RLSD, [&] { pty_->CloseMaster(); });
    DWORD n = 0;
    Overlapped write;
    EXPECT_FALSE(WriteFile(port_, "x", 1, &n, &write.ov));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(CloseHandle(port_));
    port_ = nullptr;
}

TEST_F(PtyPortTest, APtyHasNoModemLinesAndDataStillFlows) {
    Open();
    UseProgramTimeouts(port_);
    EXPECT_FALSE(PortSupportsModemLines(port_));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    DWORD modem = 0xDEAD;
    ASSERT_TRUE(GetCommModemStatus(port_, &modem));
    EXPECT_EQ(modem, 0u);
    // DTR/DSR output flow cannot hold anything back on a device that has no DSR.
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.fOutxDsrFlow = 1;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR | EV_CTS | EV_DSR | EV_RLSD));
    pty_->Write("x");
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_RXCHAR});
    EXPECT_EQ(ReadSome(port_), "x");
    EXPECT_EQ(WriteSome(port_, "y"), 1u);
    EXPECT_EQ(pty_->Read(1), "y");
}

TEST_F(PtyPortTest, APortOpensOnceAtATime) {
    Open();
    EXPECT_EQ(OpenPort(u"COM3"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ASSERT_TRUE(CloseHandle(port_));
    port_ = nullptr;
    Open();
}

TEST_F(PtyPortTest, AWriteTheDeviceCannotTakeEndsShortAtItsTimeOut) {
    Open();
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 100};
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    // Nobody reads the master, so its buffer fills and the rest of the write is not taken.
    const std::string big(256 * 1024, 'z');
    const DWORD written = WriteSome(port_, big);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
    EXPECT_EQ(pty_->Read(big.size(), 200).size(), written);
}

TEST_F(PtyPortTest, BlockingReadsHonourTheTimeouts) {
    Open(false);
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 0};
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    char buffer[16];
    DWORD n = 99;
    ASSERT_TRUE(ReadFile(port_, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 0u);

    t = COMMTIMEOUTS{0, 0, 0, 0, 0}; // all four bytes, however long it takes
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    std::thread sender([&] {
        pty_->Write("ab");
        Sleep(30);
        pty_->Write("cd");
    });
    ASSERT_TRUE(ReadFile(port_, buffer, 4, &n, nullptr));
    sender.join();
    EXPECT_EQ(std::string(buffer, n), "abcd");
}

} // namespace
} // namespace serialtest
