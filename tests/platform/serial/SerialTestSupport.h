// Shared helpers of the serial tests: a scratch settings directory with hive files, environment overrides,
// overlapped requests, and a pseudo-terminal pair whose slave a port opens.
#pragma once

#include "platform/kernel/Kernel.h"
#include "platform/registry/Registry.h"
#include "platform/serial/Serial.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace serialtest {

using Clock = std::chrono::steady_clock;

inline std::int64_t MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A limit for waits that should end at once: generous, so that a fault fails the test instead of hanging it.
constexpr DWORD kPatience = 10'000;

using testsupport::ScopedEnv;

// An OVERLAPPED with its own manual-reset event.
struct Overlapped {
    OVERLAPPED ov{};
    Overlapped() { ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    ~Overlapped() { CloseHandle(ov.hEvent); }
    Overlapped(const Overlapped&) = delete;
    Overlapped& operator=(const Overlapped&) = delete;
    bool Done(DWORD ms = kPatience) { return WaitForSingleObject(ov.hEvent, ms) == WAIT_OBJECT_0; }
};

// Sets the program's time-outs: reads answer with what is there within 50 ms, writes may take 50 ms a byte.
inline void UseProgramTimeouts(HANDLE port) {
    COMMTIMEOUTS t{MAXDWORD, 0, 50, 50, 0};
    ASSERT_TRUE(SetCommTimeouts(port, &t));
}

// Starts an overlapped request; true when it is pending (false: it ended at once).
inline bool Pending(BOOL started) {
    if (started) {
        return false;
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_IO_PENDING));
    return true;
}

// Waits for an overlapped request to end; answers GetOverlappedResult's result with the last error in
// `error`.
inline BOOL Finish(HANDLE port, Overlapped& o, DWORD* transferred, DWORD* error = nullptr) {
    EXPECT_TRUE(o.Done()) << "the request did not end";
    DWORD n = 0;
    const BOOL ok = GetOverlappedResult(port, &o.ov, &n, FALSE);
    if (error != nullptr) {
        *error = ok ? 0 : GetLastError();
    }
    if (transferred != nullptr) {
        *transferred = n;
    }
    return ok;
}

// Starts a comm-event wait and a read on a port with the given event mask and reads that wait for all their
// bytes, loses the device behind it, and checks that both requests end with ERROR_ACCESS_DENIED and that a
// new wait is refused the same way: what the program's receive thread sees when a receiver goes away.
template <typename LoseDevice>
void ExpectLossEndsPendingRequests(HANDLE port, DWORD mask, LoseDevice loseDevice) {
    COMMTIMEOUTS t{};
    ASSERT_TRUE(SetCommTimeouts(port, &t));
    ASSERT_TRUE(SetCommMask(port, mask));
    Overlapped wait;
    Overlapped read;
    DWORD events = 0;
    char buffer[32];
    DWORD n = 0;
    ASSERT_TRUE(Pending(WaitCommEvent(port, &events, &wait.ov)));
    ASSERT_TRUE(Pending(ReadFile(port, buffer, sizeof buffer, &n, &read.ov)));

    loseDevice();
    DWORD error = 0;
    EXPECT_FALSE(Finish(port, wait, &n, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(Finish(port, read, &n, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(WaitCommEvent(port, &events, &wait.ov));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// One overlapped read of up to `size` bytes, waited for.
inline std::string ReadSome(HANDLE port, DWORD size = 2048) {
    Overlapped o;
    std::string buffer(size, '\0');
    DWORD n = 0;
    if (Pending(ReadFile(port, buffer.data(), size, &n, &o.ov))) {
        EXPECT_TRUE(Finish(port, o, &n));
    }
    buffer.resize(n);
    return buffer;
}

// One overlapped write, waited for; answers the count written.
inline DWORD WriteSome(HANDLE port, const std::string& bytes) {
    Overlapped o;
    DWORD n = 0;
    if (Pending(WriteFile(port, bytes.data(), static_cast<DWORD>(bytes.size()), &n, &o.ov))) {
        EXPECT_TRUE(Finish(port, o, &n));
    }
    return n;
}

// One overlapped WaitCommEvent, waited for; answers the events.
inline DWORD WaitEvents(HANDLE port) {
    Overlapped o;
    DWORD events = 0xDEAD;
    if (Pending(WaitCommEvent(port, &events, &o.ov))) {
        DWORD ignored = 0;
        EXPECT_TRUE(Finish(port, o, &ignored));
    }
    return events;
}

inline HANDLE OpenPort(const char16_t* name, bool overlapped = true) {
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL | (overlapped ? FILE_FLAG_OVERLAPPED : 0), nullptr);
}

// Every test gets a private settings directory (the launcher's, or one made here when run by hand), with
// the hives read afresh.
class SerialTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("DOLIVA_CONFIG_DIR");
        if (dir == nullptr || *dir == '\0') {
            char tmpl[] = "/tmp/doliva-serialtest.XXXXXX";
            ASSERT_NE(mkdtemp(tmpl), nullptr);
            setenv("DOLIVA_CONFIG_DIR", tmpl, 1);
            setenv("XDG_CONFIG_HOME", tmpl, 1);
        }
        dir_ = std::getenv("DOLIVA_CONFIG_DIR");
        doliva::registry::DropCachedHives();
    }
    void TearDown() override {
        doliva::serial::SetDeviceRootForTests("");
        for (const std::string& file : written_) {
            std::remove(file.c_str());
        }
        doliva::registry::DropCachedHives();
    }

    // Writes the SERIALCOMM key of a hive file: pairs of (device, "COMn").
    void WriteSerialComm(bool machine, const std::vector<std::pair<std::string, std::string>>& entries) {
        const std::string file = dir_ + (machine ? "/system.reg" : "/user.reg");
        written_.push_back(file);
        std::ofstream out(file, std::ios::trunc);
        out << "REGEDIT4\n\n[" << (machine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER")
            << "\\HARDWARE\\DEVICEMAP\\SERIALCOMM]\n";
        for (const auto& [device, port] : entries) {
            out << '"' << device << "\"=\"" << port << "\"\n";
        }
        out.close();
        doliva::registry::DropCachedHives();
    }

    std::string dir_;
    std::vector<std::string> written_;
};

// A pseudo-terminal pair. The test plays the far end on the master; the port opens the slave by its path.
// The pair keeps a slave descriptor of its own, so that the master does not see a hang-up between opens.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int Master() const { return master_; }
    void CloseMaster();

    // The rate the slave is set to, as the master sees it (termios2), and whether it is set by a standard
    // rate code rather than as a free rate.
    DWORD MasterRate() const;
    bool MasterUsesStandardCode() const;
    bool MasterTwoStopBits() const;

    void Write(const std::string& bytes);
    // Reads from the master until `count` bytes have come or `ms` have passed.
    std::string Read(std::size_t count, DWORD ms = kPatience);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

} // namespace serialtest
