#include "platform/serial/CommApi.h"

#include "platform/base/CodePage.h"
#include "platform/serial/PortMap.h"
#include "platform/serial/SerialPort.h"

#include <cctype>
#include <sstream>

using doliva::serial::SerialPort;

namespace {

std::shared_ptr<SerialPort> Port(HANDLE handle) {
    return LookupKernelObjectAs<SerialPort>(handle);
}

bool NeedPointer(const void* p) {
    if (p == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

DCB DefaultDcb() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = CBR_9600;
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fTXContinueOnXoff = 1;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    return dcb;
}

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

bool ParseNumber(const std::string& s, DWORD* out) {
    if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    *out = static_cast<DWORD>(std::stoul(s));
    return true;
}

bool ParseParity(const std::string& s, DCB& dcb) {
    static constexpr std::string_view kLetters = "noems";
    if (s.size() != 1 || kLetters.find(s[0]) == std::string_view::npos) {
        return false;
    }
    dcb.Parity = static_cast<BYTE>(kLetters.find(s[0]));
    dcb.fParity = dcb.Parity != NOPARITY;
    return true;
}

bool ParseStop(const std::string& s, DCB& dcb) {
    if (s == "1") {
        dcb.StopBits = ONESTOPBIT;
    } else if (s == "1.5") {
        dcb.StopBits = ONE5STOPBITS;
    } else if (s == "2") {
        dcb.StopBits = TWOSTOPBITS;
    } else {
        return false;
    }
    return true;
}

bool ParseOnOff(const std::string& s, bool* on) {
    if (s == "on") {
        *on = true;
    } else if (s == "off") {
        *on = false;
    } else {
        return false;
    }
    return true;
}

bool ParseData(const std::string& s, DCB& dcb) {
    DWORD bits = 0;
    if (!ParseNumber(s, &bits) || bits < 5 || bits > 8) {
        return false;
    }
    dcb.ByteSize = static_cast<BYTE>(bits);
    return true;
}

// "9600,n,8,1[,x|,p]"
bool ParseOldForm(const std::string& text, DCB& dcb) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ',');) {
        const std::size_t first = part.find_first_not_of(' ');
        const std::size_t last = part.find_last_not_of(' ');
        parts.push_back(first == std::string::npos ? std::string() : part.substr(first, last - first + 1));
    }
    if (parts.empty() || parts.size() > 5 || !ParseNumber(parts[0], &dcb.BaudRate)) {
        return false;
    }
    if (parts.size() > 1 && !ParseParity(parts[1], dcb)) {
        return false;
    }
    if (parts.size() > 2 && !ParseData(parts[2], dcb)) {
        return false;
    }
    if (parts.size() > 3 && !ParseStop(parts[3], dcb)) {
        return false;
    }
    dcb.fOutX = dcb.fInX = 0;
    dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    if (parts.size() > 4) {
        if (parts[4] == "x") {
            dcb.fOutX = dcb.fInX = 1;
        } else if (parts[4] == "p") {
            dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = 1;
            dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
            dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        } else {
            return false;
        }
    }
    return true;
}

bool ParseNewForm(const std::string& text, DCB& dcb) {
    std::stringstream in(text);
    for (std::string item; in >> item;) {
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos) {
            return false;
        }
        const std::string key = item.substr(0, eq);
        const std::string value = item.substr(eq + 1);
        bool on = false;
        if (key == "baud") {
            if (!ParseNumber(value, &dcb.BaudRate)) {
                return false;
            }
        } else if (key == "parity") {
            if (!ParseParity(value, dcb)) {
                return false;
            }
        } else if (key == "data") {
            if (!ParseData(value, dcb)) {
                return false;
            }
        } else if (key == "stop") {
            if (!ParseStop(value, dcb)) {
                return false;
            }
        } else if (key == "xon") {
            if (!ParseOnOff(value, &on)) {
                return false;
            }
            dcb.fOutX = dcb.fInX = on;
        } else if (key == "odsr") {
            if (!ParseOnOff(value, &on)) {
                return false;
            }
            dcb.fOutxDsrFlow = on;
        } else if (key == "octs") {
            if (!ParseOnOff(value, &on)) {
                return false;
            }
            dcb.fOutxCtsFlow = on;
        } else if (key == "idsr") {
            if (!ParseOnOff(value, &on)) {
                return false;
            }
            dcb.fDsrSensitivity = on;
        } else if (key == "to") {
            if (!ParseOnOff(value, &on)) {
                return false;
            }
        } else if (key == "dtr") {
            if (value == "hs") {
                dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
            } else if (ParseOnOff(value, &on)) {
                dcb.fDtrControl = on ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
            } else {
                return false;
            }
        } else if (key == "rts") {
            if (value == "hs") {
                dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
            } else if (value == "tg") {
                dcb.fRtsControl = RTS_CONTROL_TOGGLE;
            } else if (ParseOnOff(value, &on)) {
                dcb.fRtsControl = on ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
            } else {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

BOOL GetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts) {
    auto port = Port(file);
    if (!port || !NeedPointer(timeouts)) {
        return FALSE;
    }
    return port->GetTimeouts(timeouts);
}

BOOL SetCommTimeouts(HANDLE file, LPCOMMTIMEOUTS timeouts) {
    auto port = Port(file);
    if (!port || !NeedPointer(timeouts)) {
        return FALSE;
    }
    return port->SetTimeouts(*timeouts);
}

BOOL GetCommState(HANDLE file, LPDCB dcb) {
    auto port = Port(file);
    if (!port || !NeedPointer(dcb)) {
        return FALSE;
    }
    return port->GetState(dcb);
}

BOOL SetCommState(HANDLE file, LPDCB dcb) {
    auto port = Port(file);
    if (!port || !NeedPointer(dcb)) {
        return FALSE;
    }
    return port->SetState(*dcb);
}

BOOL BuildCommDCBW(LPCWSTR definition, LPDCB dcb) {
    if (definition == nullptr || dcb == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string text = Lower(Utf16ToUtf8(definition));
    // A leading "COMn:" names the port; it changes nothing.
    if (const std::size_t colon = text.find(':'); colon != std::string::npos && text.starts_with("com")) {
        text = text.substr(colon + 1);
    }
    DCB result = *dcb;
    result.DCBlength = sizeof(DCB);
    const bool ok =
        text.find('=') != std::string::npos ? ParseNewForm(text, result) : ParseOldForm(text, result);
    if (!ok) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *dcb = result;
    return TRUE;
}

BOOL SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue) {
    auto port = Port(file);
    return port ? port->Setup(inQueue, outQueue) : FALSE;
}

BOOL PurgeComm(HANDLE file, DWORD flags) {
    auto port = Port(file);
    return port ? port->Purge(flags) : FALSE;
}

BOOL ClearCommError(HANDLE file, LPDWORD errors, LPCOMSTAT status) {
    auto port = Port(file);
    return port ? port->ClearError(errors, status) : FALSE;
}

BOOL EscapeCommFunction(HANDLE file, DWORD function) {
    auto port = Port(file);
    return port ? port->Escape(function) : FALSE;
}

BOOL SetCommBreak(HANDLE file) {
    return EscapeCommFunction(file, SETBREAK);
}

BOOL ClearCommBreak(HANDLE file) {
    return EscapeCommFunction(file, CLRBREAK);
}

BOOL GetCommModemStatus(HANDLE file, LPDWORD modemStatus) {
    auto port = Port(file);
    if (!port || !NeedPointer(modemStatus)) {
        return FALSE;
    }
    return port->ModemStatus(modemStatus);
}

BOOL SetCommMask(HANDLE file, DWORD eventMask) {
    auto port = Port(file);
    return port ? port->SetMask(eventMask) : FALSE;
}

BOOL GetCommMask(HANDLE file, LPDWORD eventMask) {
    auto port = Port(file);
    if (!port || !NeedPointer(eventMask)) {
        return FALSE;
    }
    return port->GetMask(eventMask);
}

BOOL WaitCommEvent(HANDLE file, LPDWORD eventMask, LPOVERLAPPED overlapped) {
    auto port = Port(file);
    return port ? port->WaitEvent(eventMask, overlapped) : FALSE;
}

BOOL GetDefaultCommConfigW(LPCWSTR name, LPCOMMCONFIG config, LPDWORD size) {
    if (size == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const int number = doliva::serial::ComPortNumber(name, true);
    const auto target = number != 0 ? doliva::serial::ResolveComPort(number) : std::nullopt;
    if (!target || !doliva::serial::DevicePresent(target->device)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (config == nullptr || *size < sizeof(COMMCONFIG)) {
        *size = sizeof(COMMCONFIG);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *config = COMMCONFIG{};
    config->dwSize = sizeof(COMMCONFIG);
    config->wVersion = 1;
    config->dcb = DefaultDcb();
    config->dwProviderSubType = PST_RS232;
    *size = sizeof(COMMCONFIG);
    return TRUE;
}

BOOL GetCommEventStamp(HANDLE file, ModemEdgeStamp* stamp) {
    auto port = Port(file);
    if (!port || !NeedPointer(stamp)) {
        return FALSE;
    }
    return port->EventStamp(stamp);
}

BOOL PortSupportsModemLines(HANDLE file) {
    auto port = Port(file);
    return port ? port->SupportsModemLines() : FALSE;
}
