#include "platform/system/Privileges.h"

#include "platform/kernel/Handles.h"
#include "platform/kernel/KernelObject.h"
#include "platform/system/Capabilities.h"

#include <cerrno>
#include <cstddef>
#include <string_view>
#include <vector>

#include <linux/capability.h>

namespace {

struct PrivilegeEntry {
    std::u16string_view name;
    DWORD luid;     // the original's well-known values
    int capability; // -1: always held
};

constexpr PrivilegeEntry kPrivileges[] = {
    {SE_LOCK_MEMORY_NAME, 4, CAP_IPC_LOCK},
    {SE_SYSTEMTIME_NAME, 12, CAP_SYS_TIME},
    {SE_INC_BASE_PRIORITY_NAME, 14, -1},
    {SE_SHUTDOWN_NAME, 19, CAP_SYS_BOOT},
    {SE_DEBUG_NAME, 20, CAP_SYS_PTRACE},
    {SE_CHANGE_NOTIFY_NAME, 23, -1},
    {SE_TIME_ZONE_NAME, 34, -1},
};

const PrivilegeEntry* FindByLuid(const LUID& luid) {
    if (luid.HighPart != 0) {
        return nullptr;
    }
    for (const PrivilegeEntry& entry : kPrivileges) {
        if (entry.luid == luid.LowPart) {
            return &entry;
        }
    }
    return nullptr;
}

std::uint64_t Bit(const PrivilegeEntry& entry) {
    return entry.capability < 0 ? 0 : CapabilityBit(entry.capability);
}

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

class TokenObject : public KernelObject {
public:
    explicit TokenObject(DWORD access) : access_(access) {}
    bool IsWaitable() const override { return false; }
    DWORD Access() const { return access_; }

private:
    const DWORD access_;
};

std::size_t PrivilegesSize(DWORD count) {
    const std::size_t size = offsetof(TOKEN_PRIVILEGES, Privileges) + count * sizeof(LUID_AND_ATTRIBUTES);
    return size < sizeof(TOKEN_PRIVILEGES) ? sizeof(TOKEN_PRIVILEGES) : size;
}

} // namespace

BOOL OpenProcessToken(HANDLE processHandle, DWORD desiredAccess, PHANDLE tokenHandle) {
    if (processHandle != GetCurrentProcess()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!tokenHandle) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HANDLE token = RegisterKernelObject(std::make_shared<TokenObject>(desiredAccess));
    if (!token) {
        return FALSE;
    }
    *tokenHandle = token;
    return TRUE;
}

BOOL LookupPrivilegeValueW(LPCWSTR systemName, LPCWSTR name, PLUID luid) {
    if (systemName && *systemName) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (!name || !luid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (const PrivilegeEntry& entry : kPrivileges) {
        if (EqualsNoCase(name, entry.name)) {
            luid->LowPart = entry.luid;
            luid->HighPart = 0;
            return TRUE;
        }
    }
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
}

BOOL AdjustTokenPrivileges(HANDLE tokenHandle, BOOL disableAllPrivileges, PTOKEN_PRIVILEGES newState,
                           DWORD bufferLength, PTOKEN_PRIVILEGES previousState, PDWORD returnLength) {
    std::shared_ptr<TokenObject> token = LookupKernelObjectAs<TokenObject>(tokenHandle);
    if (!token) {
        return FALSE;
    }
    if (!(token->Access() & TOKEN_ADJUST_PRIVILEGES) || (previousState && !(token->Access() & TOKEN_QUERY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if ((!disableAllPrivileges && !newState) || (previousState && !returnLength)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::shared_ptr<ProcessCapabilities> capabilities = GetProcessCapabilities();
    CapabilitySets sets;
    if (!capabilities->Get(&sets)) {
        SetLastErrorFromErrno();
        return FALSE;
    }

    std::uint64_t effective = sets.effective;
    bool allAssigned = true;
    std::vector<LUID_AND_ATTRIBUTES> changed;
    auto note = [&](const PrivilegeEntry& entry) {
        changed.push_back(
            LUID_AND_ATTRIBUTES{LUID{entry.luid, 0}, (effective & Bit(entry)) ? SE_PRIVILEGE_ENABLED : 0u});
    };
    if (disableAllPrivileges) {
        for (const PrivilegeEntry& entry : kPrivileges) {
            if (effective & Bit(entry)) {
                note(entry);
            }
        }
        for (const PrivilegeEntry& entry : kPrivileges) {
            effective &= ~Bit(entry);
        }
    } else {
        // The array runs past its declared length, as the caller sized it.
        const LUID_AND_ATTRIBUTES* requested = newState->Privileges;
        for (DWORD i = 0; i < newState->PrivilegeCount; ++i) {
            const LUID_AND_ATTRIBUTES& wanted = requested[i];
            const PrivilegeEntry* entry = FindByLuid(wanted.Luid);
            if (!entry) {
                allAssigned = false;
                continue;
            }
            const std::uint64_t bit = Bit(*entry);
            if (bit == 0) {
                continue;
            }
            const bool enable =
                (wanted.Attributes & SE_PRIVILEGE_ENABLED) && !(wanted.Attributes & SE_PRIVILEGE_REMOVED);
            if (enable && !(sets.permitted & bit)) {
                allAssigned = false;
                continue;
            }
            if (enable != ((effective & bit) != 0)) {
                note(*entry);
                effective = enable ? effective | bit : effective & ~bit;
            }
        }
    }

    if (previousState) {
        const std::size_t needed = PrivilegesSize(static_cast<DWORD>(changed.size()));
        *returnLength = static_cast<DWORD>(needed);
        if (bufferLength < needed) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        previousState->PrivilegeCount = static_cast<DWORD>(changed.size());
        LUID_AND_ATTRIBUTES* out = previousState->Privileges;
        for (std::size_t i = 0; i < changed.size(); ++i) {
            out[i] = changed[i];
        }
    }
    if (effective != sets.effective && !capabilities->SetEffective(effective)) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    SetLastError(allAssigned ? ERROR_SUCCESS : ERROR_NOT_ALL_ASSIGNED);
    return TRUE;
}
