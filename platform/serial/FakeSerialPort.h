// An in-process serial line for tests. A test creates a FakeSerialWire under a name and maps a port to
// "fake://<name>" (DOLIVA_COMn or a SERIALCOMM entry); the program then opens that port as any other, and
// the test plays the far end: it sends bytes, reads what the program wrote, sees the program's settings and
// lines, and drives DCD, CTS, DSR and RI.
//
// Bytes cross only while the program's rate, data bits and parity equal the far end's: otherwise every byte
// arrives with its top bit set (so no text, "@@" or UBX header can get through) and the receiving port sees
// a framing error.
#pragma once

#include "platform/serial/CommApi.h"
#include "platform/serial/SerialDevice.h"

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace doliva::serial {

struct FakeLineSettings {
    DWORD baudRate = CBR_9600;
    BYTE byteSize = 8;
    BYTE parity = NOPARITY;
    BYTE stopBits = ONESTOPBIT;

    // Stop bits aside, as a real receiver takes two stop bits for one.
    bool Matches(const FakeLineSettings& other) const {
        return baudRate == other.baudRate && byteSize == other.byteSize && parity == other.parity;
    }
};

class FakeSerialWire : public std::enable_shared_from_this<FakeSerialWire> {
public:
    enum class Line { Dcd, Cts, Dsr, Ring };

    // Registers the wire under `name` for as long as it lives. Null when the name is taken.
    static std::shared_ptr<FakeSerialWire> Create(const std::string& name);
    // The wire registered under `name`, if any.
    static std::shared_ptr<FakeSerialWire> Find(const std::string& name);
    ~FakeSerialWire();
    FakeSerialWire(const FakeSerialWire&) = delete;
    FakeSerialWire& operator=(const FakeSerialWire&) = delete;

    const std::string& Name() const { return name_; }
    // "fake://<name>", the device to map a port to.
    std::string Device() const { return "fake://" + name_; }

    // The far end's settings (9600 8N1 at first).
    void SetRemoteSettings(const FakeLineSettings& settings);
    // What the program set last (9600 8N1 before it set anything), and its whole DCB.
    FakeLineSettings ProgramSettings() const;
    DCB ProgramDcb() const;
    bool IsOpen() const;
    // How many times the port was opened.
    int OpenCount() const;

    // Bytes to the program, in chunks of `chunk` bytes (0: one chunk). A chunk reaches the port's input
    // queue only once the program has read the one before, so each read sees one chunk at most.
    void Send(std::string_view bytes, std::size_t chunk = 0);
    void Send(const std::vector<std::uint8_t>& bytes, std::size_t chunk = 0);
    // Chunks not yet taken by the port.
    std::size_t PendingChunks() const;

    // What the program wrote since the last call.
    std::string TakeReceived();
    // Waits (up to `ms`) until `count` bytes are there to take.
    bool WaitReceived(std::size_t count, DWORD ms);

    // The next open fails with this Win32 error.
    void FailNextOpen(DWORD error);
    // The device goes away: pending requests end with an error, later calls fail. A later open works again.
    void HangUp();

    // Sets a line now; a change is one transition, stamped now, reported to the open port.
    void SetLine(Line line, bool level);
    // A pulse that rose and fell before it could be read: the transition counter moves by two, the level
    // stays as it was (which should be low).
    void Pulse(Line line);
    bool LineLevel(Line line) const;

    // The program's writes are taken up to `bytes` more bytes, then stall until UnlimitWrites (its write
    // time-out then ends them short).
    void LimitWrites(std::size_t bytes);
    void UnlimitWrites();

    bool Dtr() const;
    bool Rts() const;
    bool Break() const;

private:
    friend class FakeDevice;
    explicit FakeSerialWire(std::string name);

    DWORD LevelsLocked() const;
    ModemSample SampleLocked() const;
    void ChangeLine(Line line, int transitions, bool level);
    void Notify(); // wakes the port's engine; wire lock held

    const std::string name_;
    mutable std::mutex mutex_;
    std::condition_variable received_;
    FakeLineSettings remote_;
    FakeLineSettings program_;
    DCB dcb_{};
    bool open_ = false;
    int openCount_ = 0;
    DWORD failNext_ = 0;
    bool hungUp_ = false;
    std::deque<std::vector<std::uint8_t>> toProgram_;
    std::deque<DWORD> toProgramErrors_;
    std::string fromProgram_;
    std::array<bool, 4> levels_{};
    std::array<std::uint32_t, 4> counts_{};
    bool writeLimited_ = false;
    std::size_t writeAllowance_ = 0;
    bool dtr_ = false;
    bool rts_ = false;
    bool break_ = false;
    int eventFd_ = -1;
    std::weak_ptr<PortEvents> port_;
};

// Opens the wire named by "fake://<name>" as a port device: ERROR_FILE_NOT_FOUND when no such wire exists,
// ERROR_ACCESS_DENIED while it is open, or the error a test asked for.
std::unique_ptr<SerialDevice> OpenFakeDevice(const std::string& device, DWORD* error);

} // namespace doliva::serial
