#include "receiver/CommandFraming.h"

#include "platform/base/CodePage.h"
#include "receiver/ReceiverState.h"

#include <algorithm>

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void AppendHexByte(std::u16string& text, unsigned value) {
    text.push_back(kHexDigits[(value >> 4) & 0x0F]);
    text.push_back(kHexDigits[value & 0x0F]);
}

void AppendBracketedHex(std::u16string& text, char16_t unit) {
    text.push_back(u'<');
    AppendHexByte(text, unit & 0xFF);
    text.push_back(u'>');
}

bool BeginsWith(const std::u16string& text, std::u16string_view prefix) {
    return std::u16string_view(text).starts_with(prefix);
}

} // namespace

BOOL AddNmeaChecksum(CString& command) {
    std::u16string text = command.str();
    if (text.size() < 7 || text[0] != u'$') {
        return FALSE;
    }
    if (text[text.size() - 3] == u'*') {
        text.resize(text.size() - 3);
    }
    unsigned sum = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        sum ^= text[i];
    }
    text.push_back(u'*');
    AppendHexByte(text, sum & 0xFF);
    command = CString(std::move(text));
    return TRUE;
}

BOOL AddBracketChecksum(CString& command) {
    std::u16string text = command.str();
    if (text.size() < 4 || text[0] != u'>') {
        return FALSE;
    }
    text += u";*";
    unsigned sum = 0;
    for (char16_t unit : text) {
        sum ^= unit;
    }
    AppendHexByte(text, sum & 0xFF);
    text.push_back(u'<');
    command = CString(std::move(text));
    return TRUE;
}

BOOL AddUbxChecksum(CString& command) {
    std::u16string text = command.str();
    if (text.size() < 4 || text[0] != 0xB5 || text[1] != 0x62) {
        return FALSE;
    }
    unsigned a = 0;
    unsigned b = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        a = (a + (text[i] & 0xFF)) & 0xFF;
        b = (b + a) & 0xFF;
    }
    text.push_back(static_cast<char16_t>(a));
    text.push_back(static_cast<char16_t>(b));
    command = CString(std::move(text));
    return TRUE;
}

BOOL AddOncoreChecksum(CString& command) {
    std::u16string text = command.str();
    if (text.size() < 4 || text[0] != u'@') {
        return FALSE;
    }
    std::size_t end = text.size();
    if (text[end - 2] == u'*') {
        end -= 2;
    }
    char16_t sum = 0;
    for (std::size_t i = 0; i < end; ++i) {
        sum ^= text[i];
    }
    text.push_back(sum);
    command = CString(std::move(text));
    return TRUE;
}

CommandKind ClassifyGpsCommand(const CString& command) {
    const std::u16string& text = command.str();
    if (BeginsWith(text, u"$")) {
        return CommandKind::Nmea;
    }
    if (BeginsWith(text, u">")) {
        return CommandKind::Bracket;
    }
    if (BeginsWith(text, u"\u00B5\u0062")) {
        return CommandKind::Ubx;
    }
    if (BeginsWith(text, u"@@")) {
        return CommandKind::Oncore;
    }
    if (BeginsWith(text, u"\u0055\u0055")) {
        return CommandKind::Raw5555;
    }
    return CommandKind::Unframed;
}

CommandKind FrameGpsCommand(CString& command) {
    const CommandKind kind = ClassifyGpsCommand(command);
    switch (kind) {
    case CommandKind::Nmea:
        AddNmeaChecksum(command);
        break;
    case CommandKind::Bracket:
        AddBracketChecksum(command);
        break;
    case CommandKind::Ubx:
        AddUbxChecksum(command);
        break;
    case CommandKind::Oncore:
        AddOncoreChecksum(command);
        break;
    case CommandKind::Raw5555:
    case CommandKind::Unframed:
        break;
    }
    return kind;
}

CString GpsCommandEchoText(const CString& framed, bool longTk) {
    const std::u16string& text = framed.str();
    std::u16string echo = u"<- ";
    switch (ClassifyGpsCommand(framed)) {
    case CommandKind::Nmea:
    case CommandKind::Bracket:
        echo += text;
        break;
    case CommandKind::Oncore: {
        const std::size_t shown =
            std::min<std::size_t>(text.size(), longTk && BeginsWith(text, u"@@Tk") ? 59 : 4);
        echo.append(text, 0, shown);
        for (std::size_t i = shown; i < text.size(); ++i) {
            AppendBracketedHex(echo, text[i]);
        }
        break;
    }
    case CommandKind::Ubx:
    case CommandKind::Raw5555:
        for (char16_t unit : text) {
            AppendBracketedHex(echo, unit);
        }
        break;
    case CommandKind::Unframed:
        return CString();
    }
    return CString(std::move(echo));
}

std::string GpsCommandWireBytes(const CString& command) {
    std::string bytes = NarrowUnits(command.str());
    if (command.IsEmpty() || command.str()[0] != 0x10) {
        bytes += "\r\n";
    }
    return bytes;
}

void RateChangeCode(int interfaceMode, DWORD baudRate, BYTE code[2]) {
    struct Row {
        DWORD rate;
        BYTE motorola[2];
        BYTE ublox[2];
    };
    static constexpr Row kRows[] = {
        {300, {0x40, 0x03}, {0x00, 0x03}},   {1200, {0x40, 0x12}, {0x00, 0x12}},
        {2400, {0x40, 0x24}, {0x00, 0x24}},  {4800, {0x40, 0x48}, {0x00, 0x48}},
        {9600, {0x00, 0x00}, {0x00, 0x96}},  {14400, {0x41, 0x44}, {0x01, 0x44}},
        {19200, {0x41, 0x92}, {0x01, 0x92}}, {38400, {0x43, 0x84}, {0x03, 0x84}},
        {57600, {0x45, 0x76}, {0x01, 0x34}},
    };
    const bool ublox = interfaceMode == kModeUbloxUbx || interfaceMode == kModeUbloxNmea;
    code[0] = ublox ? 0x01 : 0x00;
    code[1] = ublox ? 0x34 : 0x00;
    for (const Row& row : kRows) {
        if (row.rate == baudRate) {
            const BYTE* chosen = ublox ? row.ublox : row.motorola;
            code[0] = chosen[0];
            code[1] = chosen[1];
        }
    }
}

CString RateChangeCommand(int interfaceMode, DWORD baudRate) {
    BYTE code[2];
    RateChangeCode(interfaceMode, baudRate, code);
    std::u16string text = u"@@Wb";
    text.push_back(code[0]);
    text.push_back(code[1]);
    return CString(std::move(text));
}
