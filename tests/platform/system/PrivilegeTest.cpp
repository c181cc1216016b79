// The token and privilege calls over a fake capability interface, and the real interface in a child.

#include "SystemTestSupport.h"

#include <cstdio>
#include <fstream>
#include <string>

#include <linux/capability.h>
#include <sys/wait.h>

using namespace system_test;

namespace {

class ScopedCapabilities {
public:
    explicit ScopedCapabilities(std::shared_ptr<ProcessCapabilities> caps) {
        InstallProcessCapabilities(caps);
    }
    ~ScopedCapabilities() { InstallProcessCapabilities(nullptr); }
};

constexpr std::uint64_t kTime = CapabilityBit(CAP_SYS_TIME);
constexpr std::uint64_t kBoot = CapabilityBit(CAP_SYS_BOOT);
constexpr std::uint64_t kDac = CapabilityBit(CAP_DAC_OVERRIDE);

LUID Privilege(const char16_t* name) {
    LUID luid{};
    EXPECT_TRUE(LookupPrivilegeValueW(nullptr, name, &luid)) << GetLastError();
    return luid;
}

// One privilege, as the program asks for it.
TOKEN_PRIVILEGES One(LUID luid, DWORD attributes) {
    TOKEN_PRIVILEGES tp{};
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Luid = luid;
    tp.Privileges[0].Attributes = attributes;
    return tp;
}

HANDLE OpenToken(DWORD access = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY) {
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, &token));
    return token;
}

std::uint64_t EffectiveFromProcStatus() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("CapEff:", 0) == 0) {
            return std::stoull(line.substr(7), nullptr, 16);
        }
    }
    return ~std::uint64_t{0};
}

} // namespace

TEST(Privileges, LookupKnowsTheNamesInAnyCaseAndRefusesOthers) {
    EXPECT_EQ(Privilege(u"SeSystemtimePrivilege").LowPart, 12u);
    EXPECT_EQ(Privilege(u"SeSystemTimePrivilege").LowPart, 12u);
    EXPECT_EQ(Privilege(SE_SHUTDOWN_NAME).LowPart, 19u);
    LUID luid{};
    EXPECT_FALSE(LookupPrivilegeValueW(nullptr, u"SeNoSuchPrivilege", &luid));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_SUCH_PRIVILEGE));
    EXPECT_FALSE(LookupPrivilegeValueW(u"elsewhere", SE_SYSTEMTIME_NAME, &luid));
}

TEST(Privileges, EnableWithoutThePermittedCapabilityIsQuietlyPartial) {
    auto caps = std::make_shared<FakeCapabilities>(kDac, kDac);
    ScopedCapabilities installed(caps);
    HANDLE token = OpenToken();
    TOKEN_PRIVILEGES tp = One(Privilege(u"SeSystemTimePrivilege"), SE_PRIVILEGE_ENABLED);
    SetLastError(0);
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ALL_ASSIGNED));
    EXPECT_EQ(caps->Sets().effective, kDac);
    EXPECT_TRUE(CloseHandle(token));
}

TEST(Privileges, EnableRaisesThePermittedCapabilityAndDisableAllDropsOnlyPrivilegeCapabilities) {
    auto caps = std::make_shared<FakeCapabilities>(kTime | kBoot | kDac, kBoot | kDac);
    ScopedCapabilities installed(caps);
    HANDLE token = OpenToken();

    TOKEN_PRIVILEGES tp = One(Privilege(SE_SYSTEMTIME_NAME), SE_PRIVILEGE_ENABLED);
    TOKEN_PRIVILEGES previous{};
    DWORD length = 0;
    SetLastError(1234);
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, sizeof previous, &previous, &length));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(caps->Sets().effective, kTime | kBoot | kDac);
    ASSERT_EQ(previous.PrivilegeCount, 1u);
    EXPECT_EQ(previous.Privileges[0].Luid.LowPart, 12u);
    EXPECT_EQ(previous.Privileges[0].Attributes, 0u);

    // Room for two entries: the time and shutdown privileges were both on.
    struct {
        TOKEN_PRIVILEGES head;
        LUID_AND_ATTRIBUTES more[1];
    } before{};
    ASSERT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, sizeof before, &before.head, &length));
    EXPECT_EQ(caps->Sets().effective, kDac);
    EXPECT_EQ(before.head.PrivilegeCount, 2u);
    EXPECT_EQ(length, sizeof before);

    // A previous-state buffer too small changes nothing.
    tp = One(Privilege(SE_SYSTEMTIME_NAME), SE_PRIVILEGE_ENABLED);
    EXPECT_FALSE(AdjustTokenPrivileges(token, FALSE, &tp, sizeof(DWORD), &previous, &length));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(caps->Sets().effective, kDac);
    CloseHandle(token);
}

TEST(Privileges, TokenAccessAndHandlesAreChecked) {
    ScopedCapabilities installed(std::make_shared<FakeCapabilities>(kTime, 0));
    TOKEN_PRIVILEGES tp = One(Privilege(SE_SYSTEMTIME_NAME), SE_PRIVILEGE_ENABLED);

    HANDLE queryOnly = OpenToken(TOKEN_QUERY);
    EXPECT_FALSE(AdjustTokenPrivileges(queryOnly, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(queryOnly);
    EXPECT_FALSE(AdjustTokenPrivileges(queryOnly, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    HANDLE token = nullptr;
    EXPECT_FALSE(OpenProcessToken(reinterpret_cast<HANDLE>(0x1234), TOKEN_ALL_ACCESS, &token));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Privileges, UnderTheSimulatedClockSettingTheTimeNeedsNoPrivilege) {
    ScopedCapabilities installed(std::make_shared<FakeCapabilities>(0, 0));
    auto base = std::make_shared<ManualClock>(Utc(2024, 1, 1, 0, 0, 0));
    ScopedSystemClock clock(std::make_shared<SimulatedClock>("", [base] { return base->Now(); }));
    const SYSTEMTIME st = Fields(2024, 1, 1, 0, 0, 1);
    EXPECT_TRUE(SetSystemTime(&st));
}

// The real capget/capset path, in a child so that the test process keeps its own sets. Nothing here sets
// the clock: only the effective bit is dropped and raised again.
TEST(Privileges, RealCapabilityInterfaceRaisesAndDropsTheEffectiveBit) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::shared_ptr<ProcessCapabilities> system = ProcessCapabilities::System();
        CapabilitySets sets;
        if (!system->Get(&sets)) {
            _exit(2);
        }
        if (!(sets.permitted & kTime)) {
            _exit(77);
        }
        InstallProcessCapabilities(system);
        HANDLE token = nullptr;
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token);
        if (!AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr) ||
            (EffectiveFromProcStatus() & kTime)) {
            _exit(3);
        }
        LUID luid{};
        LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &luid);
        TOKEN_PRIVILEGES tp = One(luid, SE_PRIVILEGE_ENABLED);
        if (!AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) ||
            GetLastError() != ERROR_SUCCESS || !(EffectiveFromProcStatus() & kTime)) {
            _exit(4);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "CAP_SYS_TIME is not in the permitted set";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
