// The process's capabilities, as far as the privilege calls need them: read the permitted and effective
// sets, and change the effective one. Linux keeps capabilities per thread; a change applies to the calling
// thread (the one that goes on to set the clock).
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

struct CapabilitySets {
    std::uint64_t permitted = 0;
    std::uint64_t effective = 0;
};

constexpr std::uint64_t CapabilityBit(int capability) {
    return std::uint64_t{1} << capability;
}

class ProcessCapabilities {
public:
    virtual ~ProcessCapabilities() = default;
    // False with errno set on failure.
    virtual bool Get(CapabilitySets* sets) = 0;
    // Replaces the effective set, leaving the permitted and inheritable ones alone.
    virtual bool SetEffective(std::uint64_t effective) = 0;
    // capget/capset through the system calls.
    static std::shared_ptr<ProcessCapabilities> System();
};

// Sets held in memory, for tests. A raise beyond the permitted set fails with EPERM, as capset does.
class FakeCapabilities : public ProcessCapabilities {
public:
    explicit FakeCapabilities(std::uint64_t permitted = 0, std::uint64_t effective = 0);
    bool Get(CapabilitySets* sets) override;
    bool SetEffective(std::uint64_t effective) override;
    CapabilitySets Sets() const;

private:
    mutable std::mutex m_mutex;
    CapabilitySets m_sets;
};

// The interface the privilege calls use; null restores the system's.
void InstallProcessCapabilities(std::shared_ptr<ProcessCapabilities> capabilities);
std::shared_ptr<ProcessCapabilities> GetProcessCapabilities();
