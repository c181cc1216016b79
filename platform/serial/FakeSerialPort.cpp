#include "platform/serial/FakeSerialPort.h"

#include <cerrno>
#include <chrono>
#include <map>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace doliva::serial {

namespace {

constexpr std::string_view kScheme = "fake://";

std::mutex g_wiresMutex;
std::map<std::string, std::weak_ptr<FakeSerialWire>>& Wires() {
    static std::map<std::string, std::weak_ptr<FakeSerialWire>> wires;
    return wires;
}

constexpr std::array<DWORD, 4> kLevelBits{MS_RLSD_ON, MS_CTS_ON, MS_DSR_ON, MS_RING_ON};

std::size_t IndexOf(FakeSerialWire::Line line) {
    switch (line) {
    case FakeSerialWire::Line::Dcd:
        return kLineDcd;
    case FakeSerialWire::Line::Cts:
        return kLineCts;
    case FakeSerialWire::Line::Dsr:
        return kLineDsr;
    case FakeSerialWire::Line::Ring:
        return kLineRing;
    }
    return kLineDcd;
}

FakeLineSettings SettingsOf(const DCB& dcb) {
    FakeLineSettings s;
    s.baudRate = dcb.BaudRate;
    s.byteSize = dcb.ByteSize;
    s.parity = dcb.Parity;
    s.stopBits = dcb.StopBits;
    return s;
}

// What a byte sent at the wrong settings turns into at the other end.
std::uint8_t Garbled(std::uint8_t b) {
    return static_cast<std::uint8_t>(b | 0x80);
}

} // namespace

class FakeDevice final : public SerialDevice {
public:
    FakeDevice(std::shared_ptr<FakeSerialWire> wire, int eventFd)
        : wire_(std::move(wire)), eventFd_(eventFd) {}
    static std::unique_ptr<SerialDevice> Open(const std::string& device, DWORD* error);
    ~FakeDevice() override { Close(); }

    void Attach(std::weak_ptr<PortEvents> port) override {
        std::lock_guard lock(wire_->mutex_);
        wire_->port_ = std::move(port);
    }

    void Detach() override {
        std::lock_guard lock(wire_->mutex_);
        wire_->port_.reset();
    }

    void Close() override {
        if (eventFd_ < 0) {
            return;
        }
        std::lock_guard lock(wire_->mutex_);
        wire_->open_ = false;
        wire_->toProgram_.clear();
        wire_->toProgramErrors_.clear();
        wire_->eventFd_ = -1;
        wire_->port_.reset();
        close(eventFd_);
        eventFd_ = -1;
    }

    int PollFd() const override { return eventFd_; }
    short PollEvents(bool) const override { return POLLIN; }

    void ReadInput(DeviceInput& in, short revents, bool roomForData) override {
        if (revents & POLLIN) {
            std::uint64_t value = 0;
            while (read(eventFd_, &value, sizeof value) < 0 && errno == EINTR) {
            }
        }
        std::lock_guard lock(wire_->mutex_);
        if (wire_->hungUp_) {
            in.gone = true;
            return;
        }
        if (roomForData && !wire_->toProgram_.empty()) {
            in.data = std::move(wire_->toProgram_.front());
            in.errors |= wire_->toProgramErrors_.front();
            wire_->toProgram_.pop_front();
            wire_->toProgramErrors_.pop_front();
        }
    }

    bool InputPending() const override {
        std::lock_guard lock(wire_->mutex_);
        return !wire_->toProgram_.empty() || wire_->hungUp_;
    }

    long Write(const std::uint8_t* data, std::size_t size, DWORD* error) override {
        std::lock_guard lock(wire_->mutex_);
        if (wire_->hungUp_) {
            *error = ERROR_ACCESS_DENIED;
            return -1;
        }
        std::size_t take = size;
        if (wire_->writeLimited_) {
            take = std::min(take, wire_->writeAllowance_);
            wire_->writeAllowance_ -= take;
        }
        const bool garble = !wire_->program_.Matches(wire_->remote_);
        for (std::size_t i = 0; i < take; ++i) {
            wire_->fromProgram_.push_back(static_cast<char>(garble ? Garbled(data[i]) : data[i]));
        }
        if (take > 0) {
            wire_->received_.notify_all();
        }
        return static_cast<long>(take);
    }

    std::size_t OutQueue() override { return 0; }

    void Purge(bool input, bool) override {
        if (input) {
            std::lock_guard lock(wire_->mutex_);
            wire_->toProgram_.clear();
            wire_->toProgramErrors_.clear();
        }
    }

    bool NeedsLayerCtsFlow() const override { return true; }

    DCB InitialState() override {
        std::lock_guard lock(wire_->mutex_);
        return wire_->dcb_;
    }

    DWORD Configure(const DCB& dcb) override {
        std::lock_guard lock(wire_->mutex_);
        wire_->dcb_ = dcb;
        wire_->program_ = SettingsOf(dcb);
        wire_->dtr_ = dcb.fDtrControl != DTR_CONTROL_DISABLE;
        wire_->rts_ = dcb.fRtsControl != RTS_CONTROL_DISABLE;
        return 0;
    }

    DWORD SetDtr(bool on) override {
        std::lock_guard lock(wire_->mutex_);
        wire_->dtr_ = on;
        return 0;
    }
    DWORD SetRts(bool on) override {
        std::lock_guard lock(wire_->mutex_);
        wire_->rts_ = on;
        return 0;
    }
    DWORD SetBreak(bool on) override {
        std::lock_guard lock(wire_->mutex_);
        wire_->break_ = on;
        return 0;
    }

    bool SupportsModemLines() const override { return true; }

    bool SampleModem(ModemSample* sample) override {
        std::lock_guard lock(wire_->mutex_);
        *sample = wire_->SampleLocked();
        return true;
    }

private:
    std::shared_ptr<FakeSerialWire> wire_;
    int eventFd_;
};

FakeSerialWire::FakeSerialWire(std::string name) : name_(std::move(name)) {
    dcb_.DCBlength = sizeof(DCB);
    dcb_.BaudRate = CBR_9600;
    dcb_.fBinary = 1;
    dcb_.fDtrControl = DTR_CONTROL_ENABLE;
    dcb_.fRtsControl = RTS_CONTROL_ENABLE;
    dcb_.fTXContinueOnXoff = 1;
    dcb_.ByteSize = 8;
    dcb_.XonChar = 0x11;
    dcb_.XoffChar = 0x13;
    dcb_.XonLim = 2048;
    dcb_.XoffLim = 512;
}

std::shared_ptr<FakeSerialWire> FakeSerialWire::Create(const std::string& name) {
    std::lock_guard lock(g_wiresMutex);
    auto& wires = Wires();
    if (auto it = wires.find(name); it != wires.end() && !it->second.expired()) {
        return nullptr;
    }
    std::shared_ptr<FakeSerialWire> wire(new FakeSerialWire(name));
    wires[name] = wire;
    return wire;
}

std::shared_ptr<FakeSerialWire> FakeSerialWire::Find(const std::string& name) {
    std::lock_guard lock(g_wiresMutex);
    auto& wires = Wires();
    if (auto it = wires.find(name); it != wires.end()) {
        return it->second.lock();
    }
    return nullptr;
}

FakeSerialWire::~FakeSerialWire() {
    std::lock_guard lock(g_wiresMutex);
    auto& wires = Wires();
    if (auto it = wires.find(name_); it != wires.end() && it->second.expired()) {
        wires.erase(it);
    }
}

void FakeSerialWire::SetRemoteSettings(const FakeLineSettings& settings) {
    std::lock_guard lock(mutex_);
    remote_ = settings;
}

FakeLineSettings FakeSerialWire::ProgramSettings() const {
    std::lock_guard lock(mutex_);
    return program_;
}

DCB FakeSerialWire::ProgramDcb() const {
    std::lock_guard lock(mutex_);
    return dcb_;
}

bool FakeSerialWire::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

int FakeSerialWire::OpenCount() const {
    std::lock_guard lock(mutex_);
    return openCount_;
}

void FakeSerialWire::Send(std::string_view bytes, std::size_t chunk) {
    Send(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), chunk);
}

void FakeSerialWire::Send(const std::vector<std::uint8_t>& bytes, std::size_t chunk) {
    std::lock_guard lock(mutex_);
    const bool garble = !program_.Matches(remote_);
    if (chunk == 0) {
        chunk = bytes.size();
    }
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        const std::size_t n = std::min(chunk, bytes.size() - at);
        std::vector<std::uint8_t> piece(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                        bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
        if (garble) {
            for (std::uint8_t& b : piece) {
                b = Garbled(b);
            }
        }
        toProgram_.push_back(std::move(piece));
        toProgramErrors_.push_back(garble ? CE_FRAME : 0);
    }
    Notify();
}

std::size_t FakeSerialWire::PendingChunks() const {
    std::lock_guard lock(mutex_);
    return toProgram_.size();
}

std::string FakeSerialWire::TakeReceived() {
    std::lock_guard lock(mutex_);
    std::string out;
    out.swap(fromProgram_);
    return out;
}

bool FakeSerialWire::WaitReceived(std::size_t count, DWORD ms) {
    std::unique_lock lock(mutex_);
    return received_.wait_for(lock, std::chrono::milliseconds(ms),
                              [&] { return fromProgram_.size() >= count; });
}

void FakeSerialWire::FailNextOpen(DWORD error) {
    std::lock_guard lock(mutex_);
    failNext_ = error;
}

void FakeSerialWire::HangUp() {
    std::lock_guard lock(mutex_);
    hungUp_ = true;
    Notify();
}

void FakeSerialWire::SetLine(Line line, bool level) {
    bool current;
    {
        std::lock_guard lock(mutex_);
        current = levels_[IndexOf(line)];
    }
    ChangeLine(line, current != level ? 1 : 0, level);
}

void FakeSerialWire::Pulse(Line line) {
    bool current;
    {
        std::lock_guard lock(mutex_);
        current = levels_[IndexOf(line)];
    }
    ChangeLine(line, 2, current);
}

void FakeSerialWire::ChangeLine(Line line, int transitions, bool level) {
    if (transitions == 0) {
        return;
    }
    std::shared_ptr<PortEvents> port;
    ModemSample sample;
    {
        std::lock_guard lock(mutex_);
        const std::size_t i = IndexOf(line);
        counts_[i] += static_cast<std::uint32_t>(transitions);
        levels_[i] = level;
        sample = SampleLocked();
        StampModemSample(sample);
        port = port_.lock();
    }
    if (port) {
        port->OnModemSample(sample);
    }
}

bool FakeSerialWire::LineLevel(Line line) const {
    std::lock_guard lock(mutex_);
    return levels_[IndexOf(line)];
}

void FakeSerialWire::LimitWrites(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    writeLimited_ = true;
    writeAllowance_ = bytes;
}

void FakeSerialWire::UnlimitWrites() {
    std::lock_guard lock(mutex_);
    writeLimited_ = false;
    Notify();
}

bool FakeSerialWire::Dtr() const {
    std::lock_guard lock(mutex_);
    return dtr_;
}

bool FakeSerialWire::Rts() const {
    std::lock_guard lock(mutex_);
    return rts_;
}

bool FakeSerialWire::Break() const {
    std::lock_guard lock(mutex_);
    return break_;
}

DWORD FakeSerialWire::LevelsLocked() const {
    DWORD levels = 0;
    for (std::size_t i = 0; i < levels_.size(); ++i) {
        if (levels_[i]) {
            levels |= kLevelBits[i];
        }
    }
    return levels;
}

ModemSample FakeSerialWire::SampleLocked() const {
    ModemSample sample;
    sample.levels = LevelsLocked();
    sample.haveCounts = true;
    sample.counts = counts_;
    return sample;
}

void FakeSerialWire::Notify() {
    if (eventFd_ >= 0) {
        const std::uint64_t one = 1;
        while (write(eventFd_, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
}

std::unique_ptr<SerialDevice> FakeDevice::Open(const std::string& device, DWORD* error) {
    if (device.compare(0, kScheme.size(), kScheme) != 0) {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    std::shared_ptr<FakeSerialWire> wire = FakeSerialWire::Find(device.substr(kScheme.size()));
    if (!wire) {
        *error = ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    std::lock_guard lock(wire->mutex_);
    if (wire->failNext_ != 0) {
        *error = wire->failNext_;
        wire->failNext_ = 0;
        return nullptr;
    }
    if (wire->open_) {
        *error = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0) {
        *error = Win32ErrorFromErrno(errno);
        return nullptr;
    }
    wire->open_ = true;
    ++wire->openCount_;
    wire->hungUp_ = false;
    wire->eventFd_ = fd;
    wire->program_ = SettingsOf(wire->dcb_);
    return std::make_unique<FakeDevice>(wire, fd);
}

std::unique_ptr<SerialDevice> OpenFakeDevice(const std::string& device, DWORD* error) {
    return FakeDevice::Open(device, error);
}

} // namespace doliva::serial
