#include "SerialTestSupport.h"

#include "platform/serial/FakeSerialPort.h"

#include <memory>

namespace serialtest {
namespace {

using doliva::serial::FakeLineSettings;
using doliva::serial::FakeSerialWire;
using Line = FakeSerialWire::Line;

bool Between(const UtcInstant& t, const UtcInstant& low, const UtcInstant& high) {
    auto ns = [](const UtcInstant& u) { return u.seconds * 1'000'000'000 + u.nanoseconds; };
    return ns(low) <= ns(t) && ns(t) <= ns(high);
}

class FakePortTest : public SerialTest {
protected:
    void SetUp() override {
        SerialTest::SetUp();
        wire_ = FakeSerialWire::Create("receiver");
        ASSERT_TRUE(wire_);
        env_ = std::make_unique<ScopedEnv>("DOLIVA_COM7", wire_->Device());
    }
    void TearDown() override {
        if (port_ != nullptr && port_ != INVALID_HANDLE_VALUE) {
            CloseHandle(port_);
        }
        env_.reset();
        SerialTest::TearDown();
    }

    HANDLE Open(bool overlapped = true) {
        port_ = OpenPort(u"\\\\.\\COM7", overlapped);
        EXPECT_NE(port_, INVALID_HANDLE_VALUE);
        return port_;
    }

    void SetRate(DWORD rate) {
        DCB dcb{};
        ASSERT_TRUE(GetCommState(port_, &dcb));
        dcb.BaudRate = rate;
        ASSERT_TRUE(SetCommState(port_, &dcb));
    }

    std::shared_ptr<FakeSerialWire> wire_;
    std::unique_ptr<ScopedEnv> env_;
    HANDLE port_ = nullptr;
};

TEST_F(FakePortTest, EachChunkReachesItsOwnRead) {
    Open();
    UseProgramTimeouts(port_);
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    wire_->Send("abcdefghij", 3);
    std::vector<std::string> reads;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(WaitEvents(port_), DWORD{EV_RXCHAR});
        reads.push_back(ReadSome(port_));
    }
    EXPECT_EQ(reads, (std::vector<std::string>{"abc", "def", "ghi", "j"}));
}

TEST_F(FakePortTest, BytesCrossOnlyAtMatchingSettings) {
    Open();
    UseProgramTimeouts(port_);
    wire_->SetRemoteSettings(FakeLineSettings{4800});
    SetRate(9600);
    EXPECT_EQ(wire_->ProgramSettings().baudRate, 9600u);

    wire_->Send("$GPZDA*00\r\n");
    const std::string garbled = ReadSome(port_);
    ASSERT_EQ(garbled.size(), 11u);
    for (char c : garbled) {
        EXPECT_GE(static_cast<unsigned char>(c), 0x80);
    }
    DWORD errors = 0;
    ASSERT_TRUE(ClearCommError(port_, &errors, nullptr));
    EXPECT_EQ(errors & CE_FRAME, DWORD{CE_FRAME});
    EXPECT_EQ(WriteSome(port_, "@@Cj"), 4u);
    EXPECT_EQ(wire_->TakeReceived(), "\xC0\xC0\xC3\xEA");

    SetRate(4800);
    wire_->Send("$GPZDA\r\n");
    EXPECT_EQ(ReadSome(port_), "$GPZDA\r\n");
    EXPECT_EQ(WriteSome(port_, "@@Cj"), 4u);
    EXPECT_EQ(wire_->TakeReceived(), "@@Cj");

    // Data bits and parity count as much as the rate.
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.ByteSize = 7;
    dcb.Parity = EVENPARITY;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    EXPECT_EQ(WriteSome(port_, "A"), 1u);
    EXPECT_EQ(wire_->TakeReceived(), "\xC1");
}

TEST_F(FakePortTest, DsrFlowControlHoldsWritesUntilDsrOrTimeOut) {
    Open();
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.fOutxDsrFlow = 1;
    dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 5000};
    ASSERT_TRUE(SetCommTimeouts(port_, &t));

    Overlapped o;
    DWORD n = 0;
    ASSERT_TRUE(Pending(WriteFile(port_, "ABC", 3, &n, &o.ov)));
    EXPECT_FALSE(o.Done(50));
    COMSTAT status{};
    ASSERT_TRUE(ClearCommError(port_, nullptr, &status));
    EXPECT_TRUE(status.fDsrHold);
    EXPECT_EQ(status.cbOutQue, 3u);
    EXPECT_EQ(wire_->TakeReceived(), "");

    wire_->SetLine(Line::Dsr, true);
    ASSERT_TRUE(Finish(port_, o, &n));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(wire_->TakeReceived(), "ABC");

    // With DSR low until the time-out, nothing goes and the write reports 0 bytes, successfully.
    wire_->SetLine(Line::Dsr, false);
    t.WriteTotalTimeoutConstant = 100;
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    const auto start = Clock::now();
    EXPECT_EQ(WriteSome(port_, "DEF"), 0u);
    EXPECT_GE(MsSince(start), 100);
    EXPECT_EQ(wire_->TakeReceived(), "");
}

TEST_F(FakePortTest, ModemEdgesReachWaitCommEventWithStamps) {
    Open();
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD | EV_DSR));
    Overlapped o;
    DWORD events = 0;
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &o.ov)));

    const UtcInstant before = CurrentUtc();
    wire_->SetLine(Line::Dcd, true);
    const UtcInstant after = CurrentUtc();
    DWORD ignored = 0;
    ASSERT_TRUE(Finish(port_, o, &ignored));
    EXPECT_EQ(events, DWORD{EV_RLSD});
    ModemEdgeStamp stamp{};
    ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
    EXPECT_EQ(stamp.dcd.rises, 1u);
    EXPECT_TRUE(stamp.dcd.level);
    EXPECT_TRUE(Between(stamp.dcd.lastRise, before, after));
    DWORD modem = 0;
    ASSERT_TRUE(GetCommModemStatus(port_, &modem));
    EXPECT_EQ(modem, DWORD{MS_RLSD_ON});
    EXPECT_TRUE(PortSupportsModemLines(port_));

    // CTS is not in the mask: its change is stamped but not reported.
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &o.ov)));
    wire_->SetLine(Line::Cts, true);
    EXPECT_FALSE(o.Done(50));
    ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
    EXPECT_EQ(stamp.cts.rises, 1u);
    wire_->SetLine(Line::Dsr, true);
    ASSERT_TRUE(Finish(port_, o, &ignored));
    EXPECT_EQ(events, DWORD{EV_DSR});
}

TEST_F(FakePortTest, APulseThatFellBeforeTheReadCountsAsAnEdge) {
    Open();
    ASSERT_TRUE(SetCommMask(port_, EV_DSR));
    wire_->Pulse(Line::Dsr);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_DSR});
    ModemEdgeStamp stamp{};
    ASSERT_TRUE(GetCommEventStamp(port_, &stamp));
    EXPECT_EQ(stamp.dsr.rises, 1u);
    EXPECT_EQ(stamp.dsr.changes, 2u);
    EXPECT_TRUE(stamp.dsr.lastWasPulse);
    EXPECT_FALSE(stamp.dsr.level);
    DWORD modem = 0;
    ASSERT_TRUE(GetCommModemStatus(port_, &modem));
    EXPECT_EQ(modem & MS_DSR_ON, 0u);
}

TEST_F(FakePortTest, EventsWithoutAWaitAreKeptUntilTheNextWaitOrMaskChange) {
    Open();
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD | EV_RXCHAR));
    wire_->SetLine(Line::Dcd, true);
    DWORD events = 0;
    Overlapped o;
    EXPECT_TRUE(WaitCommEvent(port_, &events, &o.ov)); // at once
    EXPECT_EQ(events, DWORD{EV_RLSD});

    wire_->SetLine(Line::Dcd, false);
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD | EV_RXCHAR)); // forgets it
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &o.ov)));
    ASSERT_TRUE(SetCommMask(port_, EV_RLSD));
    DWORD ignored = 0;
    ASSERT_TRUE(Finish(port_, o, &ignored));
    EXPECT_EQ(events, 0u);
}

TEST_F(FakePortTest, AStalledWriteEndsShortAtItsTimeOut) {
    Open();
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 10, 0}; // 10 ms a byte
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    wire_->LimitWrites(3);
    const auto start = Clock::now();
    EXPECT_EQ(WriteSome(port_, "@@Cj)\r\n"), 3u);
    EXPECT_GE(MsSince(start), 70);
    wire_->UnlimitWrites();
    EXPECT_EQ(WriteSome(port_, "j)\r\n"), 4u);
    EXPECT_EQ(wire_->TakeReceived(), "@@Cj)\r\n");
}

TEST_F(FakePortTest, HangUpEndsPendingRequestsAndLaterCallsFail) {
    Open();
    ExpectLossEndsPendingRequests(port_, EV_RXCHAR, [&] { wire_->HangUp(); });
    EXPECT_FALSE(SetCommMask(port_, 0));

    EXPECT_TRUE(CloseHandle(port_));
    port_ = nullptr;
    Open();
    EXPECT_EQ(wire_->OpenCount(), 2);
}

TEST_F(FakePortTest, OpenFailuresAreReportedWithTheirError) {
    wire_->FailNextOpen(ERROR_GEN_FAILURE);
    EXPECT_EQ(OpenPort(u"COM7"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_GEN_FAILURE));
    Open();
    EXPECT_EQ(OpenPort(u"COM7"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(FakePortTest, LinesFollowTheDcbAndEscapes) {
    Open();
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    EXPECT_TRUE(wire_->Dtr());
    EXPECT_FALSE(wire_->Rts());
    EXPECT_TRUE(EscapeCommFunction(port_, CLRDTR));
    EXPECT_TRUE(EscapeCommFunction(port_, SETRTS));
    EXPECT_TRUE(EscapeCommFunction(port_, SETBREAK));
    EXPECT_FALSE(wire_->Dtr());
    EXPECT_TRUE(wire_->Rts());
    EXPECT_TRUE(wire_->Break());
    EXPECT_TRUE(ClearCommBreak(port_));
    EXPECT_FALSE(wire_->Break());
    EXPECT_FALSE(EscapeCommFunction(port_, 99));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(FakePortTest, SetCommStateRefusesBadSettings) {
    Open();
    DCB good{};
    ASSERT_TRUE(GetCommState(port_, &good));
    auto refused = [&](auto change) {
        DCB dcb = good;
        change(dcb);
        const bool ok = SetCommState(port_, &dcb);
        return !ok && GetLastError() == static_cast<DWORD>(ERROR_INVALID_PARAMETER);
    };
    EXPECT_TRUE(refused([](DCB& d) { d.BaudRate = 0; }));
    EXPECT_TRUE(refused([](DCB& d) { d.ByteSize = 9; }));
    EXPECT_TRUE(refused([](DCB& d) { d.ByteSize = 4; }));
    EXPECT_TRUE(refused([](DCB& d) { d.Parity = 5; }));
    EXPECT_TRUE(refused([](DCB& d) { d.StopBits = 3; }));
    EXPECT_TRUE(refused([](DCB& d) {
        d.fOutX = 1;
        d.XoffChar = d.XonChar;
    }));
    DCB dcb{};
    ASSERT_TRUE(GetCommState(port_, &dcb));
    EXPECT_EQ(dcb.BaudRate, good.BaudRate); // unchanged by the refusals
}

TEST_F(FakePortTest, CancelPurgeAndCloseEndPendingRequests) {
    Open();
    COMMTIMEOUTS t{};
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR));
    char buffer[8];
    DWORD n = 0;
    DWORD error = 0;

    Overlapped read;
    ASSERT_TRUE(Pending(ReadFile(port_, buffer, sizeof buffer, &n, &read.ov)));
    ASSERT_TRUE(CancelIo(port_));
    EXPECT_FALSE(Finish(port_, read, &n, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_OPERATION_ABORTED));

    // Two bytes arrive for an eight-byte read; the purge ends the read with them.
    ASSERT_TRUE(Pending(ReadFile(port_, buffer, sizeof buffer, &n, &read.ov)));
    wire_->Send("ab");
    EXPECT_FALSE(read.Done(50));
    ASSERT_TRUE(PurgeComm(port_, PURGE_RXABORT));
    EXPECT_FALSE(Finish(port_, read, &n, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_OPERATION_ABORTED));
    EXPECT_EQ(n, 2u);

    // Bytes that nobody reads are dropped by a purge of the input.
    wire_->Send("cd");
    COMSTAT status{};
    for (int i = 0; i < 1000 && status.cbInQue == 0; ++i) {
        Sleep(1);
        ASSERT_TRUE(ClearCommError(port_, nullptr, &status));
    }
    EXPECT_EQ(status.cbInQue, 2u);
    ASSERT_TRUE(PurgeComm(port_, PURGE_RXCLEAR));
    ASSERT_TRUE(ClearCommError(port_, nullptr, &status));
    EXPECT_EQ(status.cbInQue, 0u);

    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR)); // forget the arrival
    Overlapped wait;
    DWORD events = 0;
    ASSERT_TRUE(Pending(WaitCommEvent(port_, &events, &wait.ov)));
    EXPECT_FALSE(WaitCommEvent(port_, &events, &read.ov)); // one wait at a time
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(CloseHandle(port_));
    port_ = nullptr;
    EXPECT_FALSE(Finish(nullptr, wait, &n, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_OPERATION_ABORTED));
    EXPECT_FALSE(wire_->IsOpen());
}

TEST_F(FakePortTest, TransmitEmptyFollowsTheLastWrite) {
    Open();
    ASSERT_TRUE(SetCommMask(port_, EV_TXEMPTY));
    EXPECT_EQ(WriteSome(port_, "x"), 1u);
    EXPECT_EQ(WaitEvents(port_), DWORD{EV_TXEMPTY});
}

TEST_F(FakePortTest, BlockingHandleHonoursTheTimeouts) {
    Open(false);
    COMMTIMEOUTS t{0, 0, 60, 0, 0}; // all bytes, or whatever came within 60 ms
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    wire_->Send("abc");
    char buffer[8];
    DWORD n = 0;
    const auto start = Clock::now();
    ASSERT_TRUE(ReadFile(port_, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(std::string(buffer, n), "abc");
    EXPECT_GE(MsSince(start), 60);

    t = COMMTIMEOUTS{MAXDWORD, MAXDWORD, 5000, 0, 0}; // the first bytes, as soon as they come
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    std::thread sender([&] {
        Sleep(20);
        wire_->Send("de");
    });
    ASSERT_TRUE(ReadFile(port_, buffer, sizeof buffer, &n, nullptr));
    sender.join();
    EXPECT_EQ(std::string(buffer, n), "de");

    t = COMMTIMEOUTS{MAXDWORD, 0, 0, 0, 0}; // what is there, even nothing
    ASSERT_TRUE(SetCommTimeouts(port_, &t));
    ASSERT_TRUE(ReadFile(port_, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(n, 0u);

    DWORD written = 0;
    ASSERT_TRUE(WriteFile(port_, "xyz", 3, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(wire_->TakeReceived(), "xyz");
}

TEST_F(FakePortTest, SetCommMaskZeroWakesABlockedWait) {
    Open(false);
    ASSERT_TRUE(SetCommMask(port_, EV_RXCHAR | EV_RLSD));
    DWORD events = 0xDEAD;
    BOOL ok = FALSE;
    std::thread waiter([&] { ok = WaitCommEvent(port_, &events, nullptr); });
    Sleep(30);
    ASSERT_TRUE(SetCommMask(port_, 0));
    waiter.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(events, 0u);
    EXPECT_FALSE(WaitCommEvent(port_, &events, nullptr)); // no mask, nothing to wait for
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
} // namespace serialtest
