// The port control and the two worker threads over an in-process fake serial line: what reaches the receive
// list and the view, the 1PPS ticks, what goes out on the wire, and that stopping leaves no thread behind.
#include "platform/base/TimeConversions.h"
#include "platform/kernel/Kernel.h"
#include "platform/serial/FakeSerialPort.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsPortControl.h"
#include "receiver/ReceiverEvents.h"
#include "receiver/ReceiverState.h"
#include "tests/receiver/FramerTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

using doliva::serial::FakeSerialWire;
using namespace framer_test;
using Line = FakeSerialWire::Line;

class RecordingEvents : public ReceiverEvents {
public:
    void PostGpsDataQueued() override { Bump(m_dataPosts); }
    void PostPpsTick() override { Bump(m_ticks); }
    void PostLinkLost(DWORD error) override {
        std::lock_guard lock(m_mutex);
        m_losses.push_back(error);
        m_changed.notify_all();
    }
    std::vector<DWORD> Losses() {
        std::lock_guard lock(m_mutex);
        return m_losses;
    }
    void ShowLinkError(const CString& text) override {
        std::lock_guard lock(m_mutex);
        m_errors.push_back(text.str());
    }
    void AddRawDataLine(const CString& text) override {
        std::lock_guard lock(m_mutex);
        m_rawLines.push_back(text.str());
    }
    std::vector<std::u16string> RawLines() {
        std::lock_guard lock(m_mutex);
        return m_rawLines;
    }

    int DataPosts() {
        std::lock_guard lock(m_mutex);
        return m_dataPosts;
    }
    int Ticks() {
        std::lock_guard lock(m_mutex);
        return m_ticks;
    }
    // Waits (bounded, so that a fault fails instead of hanging) until `ready` holds.
    bool WaitFor(const std::function<bool()>& ready) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] {
            lock.unlock();
            const bool ok = ready();
            lock.lock();
            return ok;
        });
    }
    std::vector<std::u16string> Errors() {
        std::lock_guard lock(m_mutex);
        return m_errors;
    }

private:
    void Bump(int& counter) {
        std::lock_guard lock(m_mutex);
        ++counter;
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_dataPosts = 0;
    int m_ticks = 0;
    std::vector<std::u16string> m_errors;
    std::vector<std::u16string> m_rawLines;
    std::vector<DWORD> m_losses;
};

// Polls a condition that no event announces (the receive list filling, bytes arriving on the wire).
bool Eventually(const std::function<bool()>& ready) {
    for (int i = 0; i < 4000; ++i) {
        if (ready()) {
            return true;
        }
        Sleep(5);
    }
    return ready();
}

std::vector<std::u16string> DrainReceiveList() {
    std::vector<std::u16string> out;
    while (!g_receiveList.IsEmpty()) {
        out.push_back(g_receiveList.RemoveHead().str());
    }
    return out;
}

class LinkThreads : public testing::Test {
protected:
    void SetUp() override {
        CreateLinkSemaphores();
        // As the view's initial update does: each gate opened once.
        ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);
        ReleaseCrossProcessSemaphore(g_ppsGate, 1, nullptr);
        g_initializing = 0;
        g_interfaceMode = kModeMotorolaBinary;
        g_ppsInterface = kPpsDsr;
        g_firmwareUploadActive = 0;
        wire = FakeSerialWire::Create("gps-link");
        ASSERT_NE(wire, nullptr);
        setenv("DOLIVA_COM7", wire->Device().c_str(), 1);
        control = std::make_unique<GpsPortControl>(events);
        control->m_portDevicePath = GpsPortControl::DevicePathFor(u"COM7");
    }

    void TearDown() override {
        control.reset();
        EXPECT_EQ(g_hGpsPort, nullptr);
        DestroyLinkSemaphores();
        g_receiveList.RemoveAll();
        g_transmitList.RemoveAll();
        SetCurrentUtcSource({});
    }

    // Opens the port and waits until the receive thread watches it.
    void Open() {
        ASSERT_TRUE(control->OpenGpsPort());
        ASSERT_TRUE(Eventually([] {
            DWORD mask = 0;
            return GetCommMask(g_hGpsPort, &mask) && mask == 0xB9;
        }));
    }

    void Transmit(const CString& command) {
        g_transmitList.AddTail(command);
        ReleaseCrossProcessSemaphore(g_transmitReady, 1, nullptr);
    }

    // A DSR rising edge after a low level, then the view handling the tick (which re-opens the gate).
    void PulseDsr(bool handleTick = true) {
        const int before = events.Ticks();
        wire->SetLine(Line::Dsr, false);
        wire->SetLine(Line::Dsr, true);
        if (handleTick) {
            ASSERT_TRUE(events.WaitFor([&] { return events.Ticks() > before; }));
            ReleaseCrossProcessSemaphore(g_ppsGate, 1, nullptr);
        }
    }

    RecordingEvents events;
    std::shared_ptr<FakeSerialWire> wire;
    std::unique_ptr<GpsPortControl> control;
};

TEST_F(LinkThreads, ReceivedMessagesAreQueuedWithOnePostPerGateOpening) {
    ASSERT_TRUE(control->OpenGpsPort());
    const Bytes bo = OncoreFrame("Bo", "\x12");
    const Bytes ea = OncoreFrame("Ea", Bytes(69, '\x0A'));
    wire->Send(bo + ea + bo, 5);
    ASSERT_TRUE(Eventually([] { return g_receiveList.GetCount() == 3; }));
    EXPECT_EQ(events.DataPosts(), 1);
    EXPECT_EQ(DrainReceiveList(),
              (std::vector<std::u16string>{OncoreMessage(bo), OncoreMessage(ea), OncoreMessage(bo)}));

    ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr); // the view has drained the list
    g_interfaceMode = kModeGenericNmea;
    wire->Send("$GPZDA,1\r\n");
    ASSERT_TRUE(events.WaitFor([&] { return events.DataPosts() == 2; }));
    ASSERT_TRUE(Eventually([] { return g_receiveList.GetCount() == 1; }));
    EXPECT_EQ(g_receiveList.RemoveHead(), CString(u"$GPZDA,1"));
}

TEST_F(LinkThreads, FullListDropsFurtherMessages) {
    g_interfaceMode = kModeGenericNmea;
    ASSERT_TRUE(control->OpenGpsPort());
    Bytes lines;
    for (int i = 0; i < 15; ++i) {
        lines += "line" + std::to_string(i) + "\r\n";
    }
    wire->Send(lines, 7);
    ASSERT_TRUE(Eventually([&] { return wire->PendingChunks() == 0; }));
    Sleep(50);
    const std::vector<std::u16string> queued = DrainReceiveList();
    ASSERT_EQ(queued.size(), 10u);
    EXPECT_EQ(queued.front(), u"line0");
    EXPECT_EQ(queued.back(), u"line9");
    EXPECT_EQ(events.DataPosts(), 1);
}

TEST_F(LinkThreads, EachRisingEdgeOfTheSelectedLinePostsOneTick) {
    wire->SetLine(Line::Dcd, true);
    Open();
    PulseDsr();
    EXPECT_EQ(g_ppsEdgeGapNs.load(), -1) << "no rise of the line before";
    PulseDsr();
    PulseDsr();
    EXPECT_EQ(events.Ticks(), 3);
    // Each tick tells how long after the line's rise before it came.
    EXPECT_GE(g_ppsEdgeGapNs.load(), 0);
    EXPECT_LT(g_ppsEdgeGapNs.load(), 750'000'000);
    Sleep(800);
    PulseDsr();
    EXPECT_GE(g_ppsEdgeGapNs.load(), 800'000'000);
    // Other lines post nothing, nor does a line that only falls.
    wire->SetLine(Line::Dcd, false);
    wire->SetLine(Line::Dcd, true);
    wire->SetLine(Line::Cts, true);
    wire->SetLine(Line::Dsr, false);
    // A pulse too short to be read high still counts once.
    wire->Pulse(Line::Dsr);
    ASSERT_TRUE(events.WaitFor([&] { return events.Ticks() == 5; }));
    Sleep(100);
    EXPECT_EQ(events.Ticks(), 5);
}

TEST_F(LinkThreads, EdgeFindingTheGateTakenIsDroppedButStamped) {
    UtcInstant now{1'700'000'000, 250'000'000};
    SetCurrentUtcSource([&] { return now; });
    Open();
    PulseDsr(false);
    ASSERT_TRUE(events.WaitFor([&] { return events.Ticks() == 1; }));
    EXPECT_EQ(g_ppsTimestamp.load(), 1'700'000'000'250LL);
    const LONGLONG tickEdge = g_ppsEdgeCounter.load();
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    EXPECT_GT(tickEdge, 0);
    EXPECT_LE(tickEdge, counter.QuadPart);
    // The view has not handled that tick yet: the next edge is dropped, its time still kept, while the
    // posted tick keeps the counter of its own edge.
    now = UtcInstant{1'700'000'001, 500'000'000};
    PulseDsr(false);
    ASSERT_TRUE(Eventually([] { return g_ppsTimestamp.load() == 1'700'000'001'500LL; }));
    Sleep(100);
    EXPECT_EQ(events.Ticks(), 1);
    EXPECT_EQ(g_ppsEdgeCounter.load(), tickEdge);
}

TEST_F(LinkThreads, NoTicksWhileInitialising) {
    g_initializing = 1;
    Open();
    g_interfaceMode = kModeGenericNmea;
    for (int i = 0; i < 3; ++i) {
        wire->SetLine(Line::Dsr, false);
        wire->SetLine(Line::Dsr, true);
    }
    wire->Pulse(Line::Dsr);
    // Data still flows meanwhile; once it has, every edge before it has been seen.
    wire->Send("$GPZDA,1\r\n");
    ASSERT_TRUE(Eventually([] { return g_receiveList.GetCount() == 1; }));
    g_initializing = 0;
    wire->SetLine(Line::Dsr, false); // a fall (and the old pulse) after initialisation is no edge either
    Sleep(100);
    EXPECT_EQ(events.Ticks(), 0);
    wire->SetLine(Line::Dsr, true);
    ASSERT_TRUE(events.WaitFor([&] { return events.Ticks() == 1; }));
}

TEST_F(LinkThreads, CommandsGoOutInOrderWithTheirLineEnds) {
    ASSERT_TRUE(control->OpenGpsPort());
    Transmit(CString(u"@@Cj\u0029"));
    ASSERT_TRUE(wire->WaitReceived(7, 20'000));
    EXPECT_EQ(wire->TakeReceived(), Bytes("@@Cj\x29\r\n"));

    Bytes expected;
    for (int i = 0; i < 10; ++i) {
        g_transmitList.AddTail(CString(u"T" + std::u16string(1, char16_t(u'0' + i))));
        expected += "T" + std::to_string(i) + "\r\n";
    }
    g_transmitList.AddTail(CString(std::u16string(u"\u0010\u0003\uFF92")));
    expected += "\x10\x03\x92";
    ReleaseCrossProcessSemaphore(g_transmitReady, 1, nullptr);
    ASSERT_TRUE(wire->WaitReceived(expected.size(), 20'000));
    EXPECT_EQ(wire->TakeReceived(), expected);
}

TEST_F(LinkThreads, ShortWriteSendsTheTailLaterWithOneLineEnd) {
    ASSERT_TRUE(control->OpenGpsPort());
    wire->LimitWrites(3);
    Transmit(CString(u"$PMOTG,GGA,0001*01"));
    ASSERT_TRUE(wire->WaitReceived(3, 20'000));
    wire->UnlimitWrites();
    ASSERT_TRUE(wire->WaitReceived(20, 20'000));
    Sleep(100);
    EXPECT_EQ(wire->TakeReceived(), "$PMOTG,GGA,0001*01\r\n");
}

TEST_F(LinkThreads, ReopenAndShutdownLeaveNoThreadRunning) {
    ASSERT_TRUE(control->OpenGpsPort());
    EXPECT_TRUE(control->ThreadsRunning());
    g_receiveList.AddTail(CString(u"stale"));
    g_transmitList.AddTail(CString(u"stale"));

    // The same port only reconfigures: threads and queues stay.
    EXPECT_TRUE(control->UsePort(GpsPortControl::DevicePathFor(u"COM7")));
    EXPECT_EQ(wire->OpenCount(), 1);
    EXPECT_EQ(g_receiveList.GetCount(), 1);

    // Another port: both lists emptied, new threads that do not stop at once.
    auto other = FakeSerialWire::Create("gps-other");
    setenv("DOLIVA_COM8", other->Device().c_str(), 1);
    ASSERT_TRUE(control->UsePort(GpsPortControl::DevicePathFor(u"COM8")));
    EXPECT_FALSE(wire->IsOpen());
    EXPECT_TRUE(other->IsOpen());
    EXPECT_EQ(g_receiveList.GetCount(), 0);
    EXPECT_EQ(g_transmitList.GetCount(), 0);
    Sleep(50);
    EXPECT_TRUE(control->ThreadsRunning());
    Transmit(CString(u"BIN"));
    ASSERT_TRUE(other->WaitReceived(5, 20'000));

    control->StopLink();
    EXPECT_FALSE(control->ThreadsRunning());
    EXPECT_FALSE(other->IsOpen());
    ASSERT_TRUE(control->OpenGpsPort());
    control.reset(); // the destructor stops the threads too
    EXPECT_FALSE(other->IsOpen());
}

TEST_F(LinkThreads, PortThatCannotBeOpenedStartsNothing) {
    wire->FailNextOpen(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(control->OpenGpsPort());
    EXPECT_FALSE(control->ThreadsRunning());
    EXPECT_EQ(g_hGpsPort, nullptr);
    EXPECT_EQ(events.Errors(), (std::vector<std::u16string>{u"ERROR: while opening GPS port \\\\.\\COM7 - " +
                                                            SystemErrorText(ERROR_ACCESS_DENIED)}));
    // Confirming the same port again opens it now that it can be.
    EXPECT_TRUE(control->UsePort(GpsPortControl::DevicePathFor(u"COM7")));
    EXPECT_TRUE(wire->IsOpen());
}

// A port that goes away under the receive thread is told once, with the error; stopping the link, or a
// link without a port, is no loss. A quiet open of a port still away shows nothing.
TEST_F(LinkThreads, APortThatGoesAwayIsToldOnceAndAStopIsNot) {
    Open();
    control->StopLink();
    EXPECT_TRUE(events.Losses().empty());

    Open();
    wire->HangUp();
    ASSERT_TRUE(events.WaitFor([&] { return !events.Losses().empty(); }));
    EXPECT_EQ(events.Losses(), (std::vector<DWORD>{ERROR_ACCESS_DENIED}));
    control->StopLink();
    Sleep(50);
    EXPECT_EQ(events.Losses().size(), 1u);

    wire->FailNextOpen(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(control->OpenGpsPort(TRUE));
    EXPECT_TRUE(events.Errors().empty());
    Open();
    EXPECT_EQ(wire->OpenCount(), 3);

    control->m_portDevicePath = GpsPortControl::DevicePathFor(u"TCP/IP");
    ASSERT_TRUE(control->OpenGpsPort());
    Sleep(50);
    control->StopLink();
    EXPECT_EQ(events.Losses().size(), 1u);
}

TEST_F(LinkThreads, NetworkPortNameOpensNothingYetStartsTheThreads) {
    control->m_portDevicePath = GpsPortControl::DevicePathFor(u"TCP/IP");
    ASSERT_TRUE(control->OpenGpsPort());
    EXPECT_EQ(g_hGpsPort, nullptr);
    Transmit(CString(u"T0"));
    ASSERT_TRUE(Eventually([] { return g_transmitList.IsEmpty(); })); // dropped, not kept
    control->StopLink();
    EXPECT_FALSE(control->ThreadsRunning());
}

TEST_F(LinkThreads, RateChangeAndConfiguration) {
    EXPECT_FALSE(control->SetCommBaudRate(nullptr, 4800));
    control->m_baudRate = CBR_19200;
    control->m_dataBits = 7;
    control->m_parityOn = TRUE;
    control->m_parity = MARKPARITY;
    control->m_handshake = 2;
    ASSERT_TRUE(control->OpenGpsPort());
    const DCB dcb = wire->ProgramDcb();
    EXPECT_EQ(dcb.BaudRate, 19200u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, MARKPARITY);
    EXPECT_EQ(dcb.fOutxCtsFlow, 1u);
    EXPECT_EQ(dcb.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
    EXPECT_EQ(dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_TRUE(wire->Dtr());
    EXPECT_TRUE(control->SetCommBaudRate(g_hGpsPort, 4800));
    EXPECT_EQ(wire->ProgramSettings().baudRate, 4800u);
    EXPECT_EQ(wire->ProgramSettings().byteSize, 7);
}

// A real tty (a pseudo-terminal) through the same code: data flows both ways although the port has no
// modem lines, which the raw-data window is told once, and the port re-opens and closes cleanly.
TEST_F(LinkThreads, PseudoTerminalCarriesDataWithoutModemLines) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    setenv("DOLIVA_COM9", ptsname(master), 1);
    control->m_portDevicePath = GpsPortControl::DevicePathFor(u"COM9");
    g_interfaceMode = kModeGenericNmea;
    g_ppsInterface = kPpsDcd;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(control->OpenGpsPort())
            << (events.Errors().empty() ? ""
                                        : std::string(events.Errors()[0].begin(), events.Errors()[0].end()));
        const Bytes sentence = "$GPZDA,1\r\n";
        ASSERT_EQ(write(master, sentence.data(), sentence.size()), static_cast<ssize_t>(sentence.size()));
        ASSERT_TRUE(Eventually([] { return g_receiveList.GetCount() == 1; }));
        EXPECT_EQ(g_receiveList.RemoveHead(), CString(u"$GPZDA,1"));
        ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);

        Transmit(CString(u"T0"));
        Bytes heard;
        ASSERT_TRUE(Eventually([&] {
            pollfd fd{master, POLLIN, 0};
            char buffer[64];
            if (poll(&fd, 1, 0) == 1) {
                const ssize_t n = read(master, buffer, sizeof buffer);
                heard.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            }
            return heard.size() >= 4;
        }));
        EXPECT_EQ(heard, "T0\r\n");
    }
    EXPECT_EQ(events.RawLines(), (std::vector<std::u16string>(
                                     2, u"WARNING: GPS port \\\\.\\COM9 reports no modem lines - no 1PPS")));
    control->StopLink();
    EXPECT_FALSE(control->ThreadsRunning());
    close(master);
}

} // namespace
