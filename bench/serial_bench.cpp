#include "platform/kernel/Kernel.h"
#include "platform/serial/FakeSerialPort.h"
#include "platform/serial/Rfc2217Protocol.h"
#include "platform/serial/Serial.h"

#include <cstdlib>

#include <benchmark/benchmark.h>

namespace {

using doliva::serial::FakeSerialWire;

// Reading a port server's stream: a second of receiver output at 115200 bit/s, some of it 0xFF.
void BM_Rfc2217ParseStream(benchmark::State& state) {
    std::vector<std::uint8_t> stream;
    for (int i = 0; i < 11520; ++i) {
        const auto b = static_cast<std::uint8_t>(i * 37);
        stream.push_back(b);
        if (b == 0xFF) {
            stream.push_back(0xFF);
        }
    }
    namespace r = doliva::serial::rfc2217;
    for (auto _ : state) {
        r::Client client;
        r::ServerInput out;
        client.Parse(stream.data(), stream.size(), out);
        benchmark::DoNotOptimize(out.data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_Rfc2217ParseStream);

struct FakePort {
    std::shared_ptr<FakeSerialWire> wire = FakeSerialWire::Create("bench");
    HANDLE port = INVALID_HANDLE_VALUE;
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    FakePort() {
        setenv("DOLIVA_COM50", wire->Device().c_str(), 1);
        port = CreateFileW(u"\\\\.\\COM50", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    }
    ~FakePort() {
        CloseHandle(port);
        CloseHandle(event);
        unsetenv("DOLIVA_COM50");
    }
    DWORD Wait() {
        OVERLAPPED ov{};
        ov.hEvent = event;
        DWORD events = 0;
        DWORD n = 0;
        if (!WaitCommEvent(port, &events, &ov)) {
            GetOverlappedResult(port, &ov, &n, TRUE);
        }
        return events;
    }
};

// A modem-line change to the end of the receive thread's wait: the path a 1PPS edge takes.
void BM_ModemEdgeToWaitCommEvent(benchmark::State& state) {
    FakePort fake;
    SetCommMask(fake.port, EV_RLSD);
    bool level = false;
    for (auto _ : state) {
        level = !level;
        fake.wire->SetLine(FakeSerialWire::Line::Dcd, level);
        benchmark::DoNotOptimize(fake.Wait());
    }
}
BENCHMARK(BM_ModemEdgeToWaitCommEvent);

// One message from the wire to the program: the event, then the read, as the receive thread does them.
void BM_MessageToRead(benchmark::State& state) {
    FakePort fake;
    COMMTIMEOUTS t{MAXDWORD, 0, 50, 50, 0};
    SetCommTimeouts(fake.port, &t);
    SetCommMask(fake.port, EV_RXCHAR);
    const std::string message = "$GPZDA,120000.00,10,12,2026,00,00*6C\r\n";
    char buffer[2048];
    for (auto _ : state) {
        fake.wire->Send(message);
        fake.Wait();
        OVERLAPPED ov{};
        ov.hEvent = fake.event;
        DWORD n = 0;
        if (!ReadFile(fake.port, buffer, sizeof buffer, &n, &ov)) {
            GetOverlappedResult(fake.port, &ov, &n, TRUE);
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_MessageToRead);

} // namespace
