#include "platform/registry/Registry.h"

#include "platform/registry/Hive.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

using doliva::registry::Hive;
using doliva::registry::KeyNode;
using doliva::registry::RegValue;

namespace doliva::registry {

namespace {

std::string EnvDir(const char* name) {
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : std::string();
}

std::string HomeDirectory() {
    std::string home = EnvDir("HOME");
    if (!home.empty()) {
        return home;
    }
    struct passwd pw;
    struct passwd* found = nullptr;
    std::vector<char> buf(16384);
    if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir) {
        return found->pw_dir;
    }
    return "/";
}

struct HiveCache {
    std::mutex mutex;
    std::shared_ptr<Hive> user;
    std::shared_ptr<Hive> machine;
};

HiveCache& Cache() {
    static HiveCache cache;
    return cache;
}

} // namespace

std::string UserHivePath() {
    std::string dir = EnvDir("DOLIVA_CONFIG_DIR");
    if (!dir.empty()) {
        return dir + "/user.reg";
    }
    std::string base = EnvDir("XDG_CONFIG_HOME");
    if (base.empty() || base[0] != '/') {
        base = HomeDirectory() + "/.config";
    }
    return base + "/doliva/user.reg";
}

std::string MachineHivePath() {
    std::string dir = EnvDir("DOLIVA_CONFIG_DIR");
    return dir.empty() ? std::string("/etc/doliva/system.reg") : dir + "/system.reg";
}

void DropCachedHives() {
    HiveCache& c = Cache();
    std::lock_guard<std::mutex> guard(c.mutex);
    c.user.reset();
    c.machine.reset();
}

namespace {
std::shared_ptr<Hive> UserHive();
} // namespace

std::string CheckUserHiveWritable() {
    return UserHive()->CheckWritable();
}

ExclusiveFileLock::Result ClaimUserHive(ExclusiveFileLock& lock) {
    return UserHive()->Claim(lock);
}

namespace {

std::shared_ptr<Hive> UserHive() {
    HiveCache& c = Cache();
    std::lock_guard<std::mutex> guard(c.mutex);
    if (!c.user) {
        c.user = std::make_shared<Hive>(UserHivePath(), u"HKEY_CURRENT_USER", true);
    }
    return c.user;
}

std::shared_ptr<Hive> MachineHive() {
    HiveCache& c = Cache();
    std::lock_guard<std::mutex> guard(c.mutex);
    if (!c.machine) {
        c.machine = std::make_shared<Hive>(MachineHivePath(), u"HKEY_LOCAL_MACHINE");
    }
    return c.machine;
}

struct KeyHandle {
    std::shared_ptr<Hive> hive;
    std::shared_ptr<KeyNode> node;
    REGSAM access = 0;
};

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<ULONG_PTR, KeyHandle> open;
    ULONG_PTR next = 0x10000; // never reused, so a closed handle stays invalid
};

HandleTable& Handles() {
    static HandleTable table;
    return table;
}

constexpr ULONG_PTR kPredefinedFirst = 0x80000000u;
constexpr ULONG_PTR kPredefinedLast = 0x80000060u;
constexpr REGSAM kWriteRights =
    KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

bool IsPredefined(HKEY h) {
    auto v = reinterpret_cast<ULONG_PTR>(h);
    return v >= kPredefinedFirst && v <= kPredefinedLast;
}

LONG Resolve(HKEY h, KeyHandle& out) {
    if (h == HKEY_CURRENT_USER || h == HKEY_LOCAL_MACHINE) {
        out.hive = h == HKEY_CURRENT_USER ? UserHive() : MachineHive();
        out.node = out.hive->Root();
        out.access = KEY_ALL_ACCESS;
        return ERROR_SUCCESS;
    }
    if (IsPredefined(h)) {
        return ERROR_ACCESS_DENIED; // no classes, other users or performance data here
    }
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.mutex);
    auto it = t.open.find(reinterpret_cast<ULONG_PTR>(h));
    if (it == t.open.end()) {
        return ERROR_INVALID_HANDLE;
    }
    out = it->second;
    return ERROR_SUCCESS;
}

HKEY NewHandle(KeyHandle handle) {
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.mutex);
    ULONG_PTR id = t.next;
    t.next += 4;
    t.open.emplace(id, std::move(handle));
    return reinterpret_cast<HKEY>(id);
}

REGSAM EffectiveAccess(REGSAM sam, const Hive& hive) {
    if (sam & GENERIC_READ) {
        sam |= KEY_READ;
    }
    if (sam & GENERIC_WRITE) {
        sam |= KEY_WRITE;
    }
    if (sam & GENERIC_EXECUTE) {
        sam |= KEY_EXECUTE;
    }
    if (sam & GENERIC_ALL) {
        sam |= KEY_ALL_ACCESS;
    }
    if (sam & MAXIMUM_ALLOWED) {
        sam |= hive.CanWrite() ? KEY_ALL_ACCESS : KEY_READ;
    }
    return sam & ~(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE | GENERIC_ALL | MAXIMUM_ALLOWED);
}

// What a name may hold so that the hive file can carry it.
bool StorableName(std::u16string_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        if (c == u'\r' || c == u'\n') {
            return false;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
            name[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// "a\b\c" into its names; one trailing backslash is allowed, empty names are not.
LONG SplitPath(LPCWSTR subKey, std::vector<std::u16string_view>& parts) {
    parts.clear();
    if (!subKey) {
        return ERROR_SUCCESS;
    }
    std::u16string_view s(subKey);
    if (!s.empty() && s.back() == u'\\') {
        s.remove_suffix(1);
    }
    if (s.empty()) {
        return ERROR_SUCCESS;
    }
    size_t pos = 0;
    while (true) {
        size_t slash = s.find(u'\\', pos);
        std::u16string_view part = s.substr(pos, slash == s.npos ? s.npos : slash - pos);
        if (part.empty() || part.size() > REG_MAX_KEY_NAME) {
            return ERROR_INVALID_PARAMETER;
        }
        parts.push_back(part);
        if (slash == s.npos) {
            return ERROR_SUCCESS;
        }
        pos = slash + 1;
    }
}

std::shared_ptr<KeyNode> Walk(std::shared_ptr<KeyNode> node, const std::vector<std::u16string_view>& parts,
                              size_t count) {
    for (size_t i = 0; node && i < count; ++i) {
        node = node->FindSubkey(parts[i]);
    }
    return node;
}

std::u16string_view ValueName(LPCWSTR name) {
    return name ? std::u16string_view(name) : std::u16string_view();
}

// Copies a name with its terminator into a buffer of *units units; answers ERROR_MORE_DATA when it does not
// fit, else sets *units to the length without the terminator.
LONG CopyName(const std::u16string& name, LPWSTR buffer, LPDWORD units) {
    if (*units <= name.size()) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(buffer, name.data(), name.size() * sizeof(char16_t));
    buffer[name.size()] = u'\0';
    *units = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// A handle's key, refreshed from its hive file, for operations that only read.
LONG ReadKey(HKEY hKey, REGSAM needed, const std::function<LONG(KeyHandle&)>& op) {
    KeyHandle h;
    LONG rc = Resolve(hKey, h);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if ((h.access & needed) != needed) {
        return ERROR_ACCESS_DENIED;
    }
    return h.hive->Read([&]() -> LONG { return h.node->Deleted() ? ERROR_KEY_DELETED : op(h); });
}

LONG WriteKey(HKEY hKey, REGSAM needed, const std::function<LONG(KeyHandle&, bool&)>& op) {
    KeyHandle h;
    LONG rc = Resolve(hKey, h);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (!(h.access & needed)) {
        return ERROR_ACCESS_DENIED;
    }
    return h.hive->Write(
        [&](bool& changed) -> LONG { return h.node->Deleted() ? ERROR_KEY_DELETED : op(h, changed); });
}

} // namespace
} // namespace doliva::registry

using namespace doliva::registry;

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD dwOptions, REGSAM samDesired,
                     const LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    if (!lpSubKey || (dwOptions & REG_OPTION_CREATE_LINK)) {
        return ERROR_INVALID_PARAMETER;
    }
    KeyHandle parent;
    LONG rc = Resolve(hKey, parent);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    std::vector<std::u16string_view> parts;
    rc = SplitPath(lpSubKey, parts);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    for (auto part : parts) {
        if (!StorableName(part)) {
            return ERROR_INVALID_PARAMETER;
        }
    }
    if (parent.node->Depth() + parts.size() > kMaxKeyDepth) {
        return ERROR_INVALID_PARAMETER;
    }
    REGSAM access = EffectiveAccess(samDesired, *parent.hive);
    if ((access & kWriteRights) && !parent.hive->CanWrite()) {
        return ERROR_ACCESS_DENIED;
    }
    std::shared_ptr<KeyNode> found;
    rc = parent.hive->Read([&]() -> LONG {
        if (parent.node->Deleted()) {
            return ERROR_KEY_DELETED;
        }
        found = Walk(parent.node, parts, parts.size());
        return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    bool created = false;
    if (!found) {
        if (!(parent.access & KEY_CREATE_SUB_KEY)) {
            return ERROR_ACCESS_DENIED;
        }
        rc = parent.hive->Write([&](bool& changed) -> LONG {
            if (parent.node->Deleted()) {
                return ERROR_KEY_DELETED;
            }
            std::shared_ptr<KeyNode> node = parent.node;
            for (auto part : parts) {
                bool added = false;
                node = node->AddSubkey(part, &added);
                created = created || added;
            }
            found = node;
            changed = created;
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    *phkResult = NewHandle(KeyHandle{parent.hive, found, access});
    if (lpdwDisposition) {
        *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    return ERROR_SUCCESS;
}

LONG RegCreateKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult) {
    return RegCreateKeyExW(hKey, lpSubKey ? lpSubKey : u"", 0, nullptr, REG_OPTION_NON_VOLATILE,
                           MAXIMUM_ALLOWED, nullptr, phkResult, nullptr);
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
    if (!phkResult) {
        return ERROR_INVALID_PARAMETER;
    }
    *phkResult = nullptr;
    KeyHandle parent;
    LONG rc = Resolve(hKey, parent);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    std::vector<std::u16string_view> parts;
    rc = SplitPath(lpSubKey, parts);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    REGSAM access = EffectiveAccess(samDesired, *parent.hive);
    if ((access & kWriteRights) && !parent.hive->CanWrite()) {
        return ERROR_ACCESS_DENIED;
    }
    std::shared_ptr<KeyNode> found;
    rc = parent.hive->Read([&]() -> LONG {
        if (parent.node->Deleted()) {
            return ERROR_KEY_DELETED;
        }
        found = Walk(parent.node, parts, parts.size());
        return found ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    *phkResult = NewHandle(KeyHandle{parent.hive, found, access});
    return ERROR_SUCCESS;
}

LONG RegOpenKeyW(HKEY hKey, LPCWSTR lpSubKey, PHKEY phkResult) {
    return RegOpenKeyExW(hKey, lpSubKey, 0, MAXIMUM_ALLOWED, phkResult);
}

LONG RegCloseKey(HKEY hKey) {
    if (IsPredefined(hKey)) {
        return ERROR_SUCCESS;
    }
    HandleTable& t = Handles();
    std::lock_guard<std::mutex> guard(t.mutex);
    return t.open.erase(reinterpret_cast<ULONG_PTR>(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
    if (!lpData && cbData != 0) {
        return ERROR_NOACCESS;
    }
    std::u16string_view name = ValueName(lpValueName);
    if (name.size() > REG_MAX_VALUE_NAME || !StorableName(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<BYTE> data;
    if (cbData) {
        data.assign(lpData, lpData + cbData);
    }
    return WriteKey(hKey, KEY_SET_VALUE, [&](KeyHandle& h, bool& changed) -> LONG {
        const RegValue* old = h.node->FindValue(name);
        changed = !old || old->type != dwType || old->data != data;
        if (changed) {
            h.node->SetValue(name, dwType, data);
        }
        return ERROR_SUCCESS;
    });
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
    if (lpData && !lpcbData) {
        return ERROR_INVALID_PARAMETER;
    }
    return ReadKey(hKey, KEY_QUERY_VALUE, [&](KeyHandle& h) -> LONG {
        const RegValue* v = h.node->FindValue(ValueName(lpValueName));
        if (!v) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (lpType) {
            *lpType = v->type;
        }
        auto size = static_cast<DWORD>(v->data.size());
        if (lpData) {
            if (*lpcbData < size) {
                *lpcbData = size;
                return ERROR_MORE_DATA;
            }
            if (size) {
                std::memcpy(lpData, v->data.data(), size);
            }
        }
        if (lpcbData) {
            *lpcbData = size;
        }
        return ERROR_SUCCESS;
    });
}

LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) {
        return ERROR_INVALID_PARAMETER;
    }
    return ReadKey(hKey, KEY_QUERY_VALUE, [&](KeyHandle& h) -> LONG {
        const auto& values = h.node->Values();
        if (dwIndex >= values.size()) {
            return ERROR_NO_MORE_ITEMS;
        }
        const RegValue& v = values[dwIndex];
        LONG rc = CopyName(v.name, lpValueName, lpcchValueName);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        if (lpType) {
            *lpType = v.type;
        }
        auto size = static_cast<DWORD>(v.data.size());
        if (lpData) {
            if (*lpcbData < size) {
                *lpcbData = size;
                return ERROR_MORE_DATA;
            }
            if (size) {
                std::memcpy(lpData, v.data.data(), size);
            }
        }
        if (lpcbData) {
            *lpcbData = size;
        }
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD, LPWSTR lpClass,
                   LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    if (!lpName || !lpcchName) {
        return ERROR_INVALID_PARAMETER;
    }
    return ReadKey(hKey, KEY_ENUMERATE_SUB_KEYS, [&](KeyHandle& h) -> LONG {
        const auto& subkeys = h.node->Subkeys();
        if (dwIndex >= subkeys.size()) {
            return ERROR_NO_MORE_ITEMS;
        }
        LONG rc = CopyName(subkeys[dwIndex]->Name(), lpName, lpcchName);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        if (lpClass && lpcchClass) {
            if (*lpcchClass == 0) {
                return ERROR_MORE_DATA;
            }
            lpClass[0] = u'\0';
        }
        if (lpcchClass) {
            *lpcchClass = 0;
        }
        if (lpftLastWriteTime) {
            *lpftLastWriteTime = h.hive->LastWriteTime();
        }
        return ERROR_SUCCESS;
    });
}

LONG RegEnumKeyW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, DWORD cchName) {
    return RegEnumKeyExW(hKey, dwIndex, lpName, &cchName, nullptr, nullptr, nullptr, nullptr);
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    return WriteKey(hKey, KEY_SET_VALUE, [&](KeyHandle& h, bool& changed) -> LONG {
        changed = h.node->DeleteValue(ValueName(lpValueName));
        return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

namespace {
// Removes the key at parts below h (and, with `tree`, everything under it).
LONG DeleteSubkey(HKEY hKey, LPCWSTR lpSubKey, bool tree) {
    std::vector<std::u16string_view> parts;
    LONG rc = SplitPath(lpSubKey, parts);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    if (parts.empty() && !tree) {
        return ERROR_INVALID_PARAMETER;
    }
    return WriteKey(hKey, kWriteRights, [&](KeyHandle& h, bool& changed) -> LONG {
        if (parts.empty()) {
            changed = !h.node->Values().empty() || !h.node->Subkeys().empty();
            h.node->ClearValues();
            h.node->RemoveAllSubkeys();
            return ERROR_SUCCESS;
        }
        std::shared_ptr<KeyNode> parent = Walk(h.node, parts, parts.size() - 1);
        std::shared_ptr<KeyNode> target = parent ? parent->FindSubkey(parts.back()) : nullptr;
        if (!target) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (!tree && !target->Subkeys().empty()) {
            return ERROR_ACCESS_DENIED;
        }
        changed = parent->RemoveSubkey(parts.back());
        return ERROR_SUCCESS;
    });
}
} // namespace

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    if (!lpSubKey) {
        return ERROR_INVALID_PARAMETER;
    }
    return DeleteSubkey(hKey, lpSubKey, false);
}

LONG RegDeleteKeyExW(HKEY hKey, LPCWSTR lpSubKey, REGSAM, DWORD) {
    return RegDeleteKeyW(hKey, lpSubKey);
}

LONG RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
    return DeleteSubkey(hKey, lpSubKey, true);
}

LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      PFILETIME lpftLastWriteTime) {
    return ReadKey(hKey, KEY_QUERY_VALUE, [&](KeyHandle& h) -> LONG {
        if (lpClass && lpcchClass) {
            if (*lpcchClass == 0) {
                return ERROR_MORE_DATA;
            }
            lpClass[0] = u'\0';
        }
        if (lpcchClass) {
            *lpcchClass = 0;
        }
        size_t maxSubkey = 0, maxName = 0, maxData = 0;
        for (const auto& k : h.node->Subkeys()) {
            maxSubkey = std::max(maxSubkey, k->Name().size());
        }
        for (const RegValue& v : h.node->Values()) {
            maxName = std::max(maxName, v.name.size());
            maxData = std::max(maxData, v.data.size());
        }
        if (lpcSubKeys) {
            *lpcSubKeys = static_cast<DWORD>(h.node->Subkeys().size());
        }
        if (lpcbMaxSubKeyLen) {
            *lpcbMaxSubKeyLen = static_cast<DWORD>(maxSubkey);
        }
        if (lpcbMaxClassLen) {
            *lpcbMaxClassLen = 0;
        }
        if (lpcValues) {
            *lpcValues = static_cast<DWORD>(h.node->Values().size());
        }
        if (lpcbMaxValueNameLen) {
            *lpcbMaxValueNameLen = static_cast<DWORD>(maxName);
        }
        if (lpcbMaxValueLen) {
            *lpcbMaxValueLen = static_cast<DWORD>(maxData);
        }
        if (lpcbSecurityDescriptor) {
            *lpcbSecurityDescriptor = 0;
        }
        if (lpftLastWriteTime) {
            *lpftLastWriteTime = h.hive->LastWriteTime();
        }
        return ERROR_SUCCESS;
    });
}

LONG RegFlushKey(HKEY hKey) {
    return ReadKey(hKey, 0, [](KeyHandle&) -> LONG { return ERROR_SUCCESS; });
}
