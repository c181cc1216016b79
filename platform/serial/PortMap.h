// From port names to devices.
//
// "COMn" (n >= 1, also written "\\.\COMn", any letter case) names a device found in this order:
// 1. the environment variable DOLIVA_COMn (a device path, rfc2217://host:port, or fake://name for a test's
//    FakeSerialWire), for one run;
// 2. a value in HKEY_CURRENT_USER\HARDWARE\DEVICEMAP\SERIALCOMM whose data is "COMn": its name is the device;
// 3. the same in HKEY_LOCAL_MACHINE;
// 4. COM1-COM4: /dev/ttyS0-/dev/ttyS3; COM5 onwards: the entries of /dev/serial/by-id in name order.
// Names compare whole: "COM1" never matches "COM10".
#pragma once

#include "platform/base/Win32Types.h"
#include "platform/serial/CommApi.h"

#include <optional>
#include <string>
#include <vector>

namespace doliva::serial {

// n for "COMn" (and for "\\.\COMn" when allowDevicePrefix), 0 for anything else.
int ComPortNumber(const char16_t* name, bool allowDevicePrefix);

struct PortTarget {
    std::string device;
    PortSource source = PortSource::Default;
};

// The device that port n maps to; nothing when no rule names one (a by-id entry that does not exist).
std::optional<PortTarget> ResolveComPort(int number);

// Whether the device is there: a character device for paths, a configured address for rfc2217://, a
// registered wire for fake://. Opens nothing.
bool DevicePresent(const std::string& device);

// Opens port n (CreateFileW's work for COM names): null with the last error set on failure.
HANDLE OpenComPort(int number, DWORD desiredAccess, DWORD flagsAndAttributes);

// For tests: the directory that stands for /dev in the default map (ttyS0..3 and serial/by-id below it);
// an empty string restores /dev.
void SetDeviceRootForTests(const std::string& root);

} // namespace doliva::serial
