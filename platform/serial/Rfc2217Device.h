// Serial ports on an RFC 2217 port server, named rfc2217://host:port (a host name, an IPv4 address or an
// IPv6 address in brackets). The connection is made when the port is opened; the port's settings, lines,
// breaks and purges become COM-PORT-OPTION commands, and the server's modem-state notifications become
// modem-line changes stamped when they arrive. A dropped connection is a device that has gone.
#pragma once

#include "platform/serial/SerialDevice.h"

#include <memory>
#include <string>

namespace doliva::serial {

struct Rfc2217Address {
    std::string host;
    std::string port;
};

// Splits rfc2217://host:port; false for anything else.
bool ParseRfc2217Address(const std::string& device, Rfc2217Address* address);

// Null with `error` set: ERROR_FILE_NOT_FOUND when the address is malformed or nothing answers there,
// ERROR_ACCESS_DENIED when this process has the same address open already.
std::unique_ptr<SerialDevice> OpenRfc2217Device(const std::string& device, DWORD* error);

} // namespace doliva::serial
