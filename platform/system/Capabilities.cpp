#include "platform/system/Capabilities.h"

#include <cerrno>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

class SystemCapabilities : public ProcessCapabilities {
public:
    bool Get(CapabilitySets* sets) override {
        __user_cap_data_struct data[2]{};
        if (!Read(data)) {
            return false;
        }
        sets->permitted = Join(data[0].permitted, data[1].permitted);
        sets->effective = Join(data[0].effective, data[1].effective);
        return true;
    }

    bool SetEffective(std::uint64_t effective) override {
        __user_cap_data_struct data[2]{};
        if (!Read(data)) {
            return false;
        }
        data[0].effective = static_cast<std::uint32_t>(effective);
        data[1].effective = static_cast<std::uint32_t>(effective >> 32);
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(SYS_capset, &header, data) == 0;
    }

private:
    static std::uint64_t Join(std::uint32_t low, std::uint32_t high) {
        return std::uint64_t{low} | (std::uint64_t{high} << 32);
    }
    static bool Read(__user_cap_data_struct (&data)[2]) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(SYS_capget, &header, data) == 0;
    }
};

std::mutex g_mutex;
std::shared_ptr<ProcessCapabilities> g_installed;

} // namespace

std::shared_ptr<ProcessCapabilities> ProcessCapabilities::System() {
    static const std::shared_ptr<ProcessCapabilities> system = std::make_shared<SystemCapabilities>();
    return system;
}

FakeCapabilities::FakeCapabilities(std::uint64_t permitted, std::uint64_t effective)
    : m_sets{permitted, effective & permitted} {}

bool FakeCapabilities::Get(CapabilitySets* sets) {
    std::lock_guard lock(m_mutex);
    *sets = m_sets;
    return true;
}

bool FakeCapabilities::SetEffective(std::uint64_t effective) {
    std::lock_guard lock(m_mutex);
    if (effective & ~m_sets.permitted) {
        errno = EPERM;
        return false;
    }
    m_sets.effective = effective;
    return true;
}

CapabilitySets FakeCapabilities::Sets() const {
    std::lock_guard lock(m_mutex);
    return m_sets;
}

void InstallProcessCapabilities(std::shared_ptr<ProcessCapabilities> capabilities) {
    std::lock_guard lock(g_mutex);
    g_installed = std::move(capabilities);
}

std::shared_ptr<ProcessCapabilities> GetProcessCapabilities() {
    std::lock_guard lock(g_mutex);
    return g_installed ? g_installed : ProcessCapabilities::System();
}
