#include "platform/serial/PortMap.h"

#include "platform/base/CodePage.h"
#include "platform/registry/Registry.h"
#include "platform/serial/FakeSerialPort.h"
#include "platform/serial/Rfc2217Device.h"
#include "platform/serial/SerialPort.h"
#include "platform/serial/TtyDevice.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <map>
#include <mutex>
#include <sys/stat.h>

extern char** environ;

namespace doliva::serial {

namespace {

constexpr char16_t kSerialCommKey[] = u"HARDWARE\\DEVICEMAP\\SERIALCOMM";
constexpr std::string_view kEnvironmentPrefix = "DOLIVA_COM";
// More ports than the program's dialog ever probes; also keeps the number parse far from overflow.
constexpr int kMaxPortNumber = 9999;

std::mutex g_rootMutex;
std::string g_deviceRoot;

std::string DeviceRoot() {
    std::lock_guard lock(g_rootMutex);
    return g_deviceRoot.empty() ? std::string("/dev") : g_deviceRoot;
}

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

// n for "COMn" exactly; 0 otherwise.
int ParseComName(std::u16string_view s) {
    if (s.size() < 4 || Upper(s[0]) != u'C' || Upper(s[1]) != u'O' || Upper(s[2]) != u'M') {
        return 0;
    }
    s.remove_prefix(3);
    if (s.size() > 4 || s[0] == u'0') {
        return 0;
    }
    int n = 0;
    for (char16_t c : s) {
        if (c < u'0' || c > u'9') {
            return 0;
        }
        n = n * 10 + (c - u'0');
    }
    return n >= 1 && n <= kMaxPortNumber ? n : 0;
}

// Every value of the hive's SERIALCOMM key whose data is a port name: port number and device, in the
// hive's order.
std::vector<std::pair<int, std::string>> HiveEntries(HKEY hive) {
    std::vector<std::pair<int, std::string>> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExW(hive, kSerialCommKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return entries;
    }
    std::vector<WCHAR> name(REG_MAX_VALUE_NAME + 1);
    std::vector<BYTE> data(256);
    for (DWORD index = 0;; ++index) {
        DWORD nameUnits = static_cast<DWORD>(name.size());
        DWORD dataBytes = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG rc =
            RegEnumValueW(key, index, name.data(), &nameUnits, nullptr, &type, data.data(), &dataBytes);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
            continue; // a value too long to be a port name, or not text
        }
        std::u16string text;
        for (DWORD i = 0; i + 1 < dataBytes; i += 2) {
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
        while (!text.empty() && text.back() == u'\0') {
            text.pop_back();
        }
        if (const int n = ParseComName(text); n != 0 && nameUnits > 0) {
            entries.emplace_back(n, Utf16ToUtf8(std::u16string_view(name.data(), nameUnits)));
        }
    }
    RegCloseKey(key);
    return entries;
}

std::optional<std::string> HiveLookup(HKEY hive, int number) {
    for (auto& [n, device] : HiveEntries(hive)) {
        if (n == number) {
            return device;
        }
    }
    return std::nullopt;
}

std::vector<std::string> ById() {
    const std::string dir = DeviceRoot() + "/serial/by-id";
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") {
                names.push_back(n);
            }
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    for (std::string& n : names) {
        n = dir + "/" + n;
    }
    return names;
}

std::optional<std::string> EnvironmentLookup(int number) {
    const std::string name = std::string(kEnvironmentPrefix) + std::to_string(number);
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return std::string(value);
}

bool StartsWith(const std::string& s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

int ComPortNumber(const char16_t* name, bool allowDevicePrefix) {
    if (name == nullptr) {
        return 0;
    }
    std::u16string_view s(name);
    if (allowDevicePrefix && s.starts_with(u"\\\\.\\")) {
        s.remove_prefix(4);
    }
    return ParseComName(s);
}

std::optional<PortTarget> ResolveComPort(int number) {
    if (number < 1) {
        return std::nullopt;
    }
    if (auto device = EnvironmentLookup(number)) {
        return PortTarget{*device, PortSource::Environment};
    }
    if (auto device = HiveLookup(HKEY_CURRENT_USER, number)) {
        return PortTarget{*device, PortSource::UserHive};
    }
    if (auto device = HiveLookup(HKEY_LOCAL_MACHINE, number)) {
        return PortTarget{*device, PortSource::MachineHive};
    }
    if (number <= 4) {
        return PortTarget{DeviceRoot() + "/ttyS" + std::to_string(number - 1), PortSource::Default};
    }
    const std::vector<std::string> byId = ById();
    if (static_cast<std::size_t>(number - 5) < byId.size()) {
        return PortTarget{byId[static_cast<std::size_t>(number - 5)], PortSource::Default};
    }
    return std::nullopt;
}

bool DevicePresent(const std::string& device) {
    if (StartsWith(device, "rfc2217://")) {
        Rfc2217Address address;
        return ParseRfc2217Address(device, &address);
    }
    if (StartsWith(device, "fake://")) {
        return FakeSerialWire::Find(device.substr(7)) != nullptr;
    }
    struct stat st {};
    return stat(device.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

HANDLE OpenComPort(int number, DWORD, DWORD flagsAndAttributes) {
    const std::optional<PortTarget> target = ResolveComPort(number);
    if (!target) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    DWORD error = ERROR_FILE_NOT_FOUND;
    std::unique_ptr<SerialDevice> device;
    if (StartsWith(target->device, "rfc2217://")) {
        device = OpenRfc2217Device(target->device, &error);
    } else if (StartsWith(target->device, "fake://")) {
        device = OpenFakeDevice(target->device, &error);
    } else {
        device = OpenTtyDevice(target->device, &error);
    }
    if (!device) {
        SetLastError(error);
        return nullptr;
    }
    auto port =
        std::make_shared<SerialPort>(std::move(device), (flagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0);
    if (const DWORD startError = port->Start(); startError != 0) {
        SetLastError(startError);
        return nullptr;
    }
    return RegisterKernelObject(std::move(port));
}

void SetDeviceRootForTests(const std::string& root) {
    std::lock_guard lock(g_rootMutex);
    g_deviceRoot = root;
}

std::vector<ComPortEntry> ListComPorts() {
    std::map<int, bool> numbers;
    for (char** env = environ; env != nullptr && *env != nullptr; ++env) {
        const std::string_view entry(*env);
        if (!entry.starts_with(kEnvironmentPrefix)) {
            continue;
        }
        const std::size_t eq = entry.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        const std::string name(entry.substr(0, eq));
        const std::u16string wide = u"COM" + Utf8ToUtf16(name.substr(kEnvironmentPrefix.size()));
        if (const int n = ParseComName(wide); n != 0) {
            numbers[n] = true;
        }
    }
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (auto& [n, device] : HiveEntries(hive)) {
            numbers[n] = true;
        }
    }
    for (int n = 1; n <= 4; ++n) {
        numbers[n] = true;
    }
    const std::size_t byId = ById().size();
    for (std::size_t i = 0; i < byId && i + 5 <= static_cast<std::size_t>(kMaxPortNumber); ++i) {
        numbers[static_cast<int>(i + 5)] = true;
    }
    std::vector<ComPortEntry> ports;
    for (const auto& [n, unused] : numbers) {
        const std::optional<PortTarget> target = ResolveComPort(n);
        if (!target) {
            continue;
        }
        ComPortEntry entry;
        entry.number = n;
        entry.name = u"COM" + Utf8ToUtf16(std::to_string(n));
        entry.device = target->device;
        entry.source = target->source;
        entry.present = DevicePresent(target->device);
        ports.push_back(std::move(entry));
    }
    return ports;
}

} // namespace doliva::serial
