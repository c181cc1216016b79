#include "tools/simulator/OncoreEngine.h"

#include "tools/simulator/NmeaSentences.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

namespace receiversim {

namespace {

struct IdLength {
    const char* id;
    int length;
};

// Whole lengths, "@@" to LF, of the messages the receiver sends; its echoes of set commands take these too.
constexpr IdLength kMessageLengths[] = {
    {"AA", 8},   {"AB", 8},   {"AC", 9},   {"AD", 9},   {"AE", 8},   {"AJ", 8},   {"AM", 11}, {"AN", 8},
    {"AO", 8},   {"AP", 8},   {"AQ", 8},   {"AS", 8},   {"Aa", 10},  {"Ab", 10},  {"Ac", 11}, {"Ad", 11},
    {"Ae", 11},  {"Af", 15},  {"Ag", 8},   {"Ah", 8},   {"Ai", 9},   {"Aj", 8},   {"Ak", 9},  {"Al", 9},
    {"Am", 12},  {"An", 8},   {"Ap", 25},  {"Aq", 8},   {"Ar", 8},   {"As", 20},  {"At", 8},  {"Au", 12},
    {"Av", 8},   {"Aw", 8},   {"Ax", 9},   {"Ay", 11},  {"Az", 11},  {"Ba", 68},  {"Bb", 92}, {"Bc", 82},
    {"Bd", 23},  {"Bf", 80},  {"Bg", 122}, {"Bj", 8},   {"Bk", 69},  {"Bl", 41},  {"Bn", 59}, {"Bo", 8},
    {"Ca", 9},   {"Cb", 33},  {"Cc", 80},  {"Cd", 171}, {"Ce", 52},  {"Cf", 7},   {"Cg", 8},  {"Ch", 9},
    {"Cj", 294}, {"Ck", 7},   {"Co", 29},  {"Ea", 76},  {"Ec", 100}, {"Eg", 158}, {"Ek", 71}, {"En", 69},
    {"Eq", 96},  {"Fa", 9},   {"Fd", 189}, {"Ga", 20},  {"Gb", 17},  {"Gc", 8},   {"Gd", 8},  {"Ge", 8},
    {"Gf", 9},   {"Gj", 21},  {"Gk", 13},  {"Gl", 264}, {"Ha", 154}, {"Hb", 54},  {"Hn", 78}, {"Hr", 170},
    {"Ia", 10},  {"Ip", 127}, {"Ir", 7},   {"Sa", 184}, {"Sc", 8},   {"Sm", 8},   {"So", 8},  {"Sp", 8},
    {"St", 8},   {"Sx", 8},   {"Sz", 8},   {"Tf", 12},  {"Ti", 21},  {"Tj", 27},  {"Tk", 65}, {"Tm", 19},
    {"Tn", 11},  {"To", 142}, {"Tq", 7},   {"Tr", 597}, {"Ts", 17},  {"Wb", 9},   {"Wm", 22}, {"Wo", 9},
    {"Ws", 18},
};

// Whole lengths of the commands whose form differs from the message of the same id, or that have none.
constexpr IdLength kCommandLengths[] = {
    {"Ba", 8}, {"Ea", 8}, {"Ha", 8}, {"Hb", 8}, {"Bb", 8}, {"Bk", 8},  {"Ek", 8},  {"Bl", 8},
    {"Bg", 8}, {"Eg", 8}, {"Bi", 8}, {"Bh", 8}, {"Bo", 8}, {"Ci", 8},  {"Hn", 8},  {"Cj", 7},
    {"Bj", 7}, {"Gj", 7}, {"Ca", 7}, {"Fa", 7}, {"Ia", 7}, {"Af", 12}, {"Bn", 22}, {"En", 22},
};

int LookUp(const IdLength* table, std::size_t count, std::string_view id) {
    for (std::size_t i = 0; i < count; ++i) {
        if (id == table[i].id) {
            return table[i].length;
        }
    }
    return 0;
}

int CommandLength(std::string_view id) {
    const int own = LookUp(kCommandLengths, std::size(kCommandLengths), id);
    return own != 0 ? own : OncoreEngine::MessageLength(id);
}

// Set commands the receiver answers by echoing its new setting.
bool IsEchoedSetting(const std::string& id) {
    static constexpr const char* kOthers[] = {"Cf", "Cg", "Ga", "Gb", "Gc", "Gd",
                                              "Ge", "Gf", "Gk", "Sc", "Wb"};
    if (id[0] == 'A') {
        return true;
    }
    return std::any_of(std::begin(kOthers), std::end(kOthers), [&](const char* o) { return id == o; });
}

std::string Fit(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string Hex(ByteSpan bytes) {
    std::string out;
    for (std::uint8_t b : bytes) {
        char h[4];
        std::snprintf(h, sizeof h, " %02X", static_cast<unsigned>(b));
        out += h;
    }
    return out;
}

std::int64_t Round(double v) {
    return std::llround(v);
}

} // namespace

OncoreEngine::OncoreEngine(const EngineOptions& options, const OncoreOptions& oncore)
    : ReceiverEngine(options), oncore_(oncore), protocol_(oncore.protocol) {
    if (oncore_.modelNumber.empty()) {
        oncore_.modelNumber = DefaultModelNumber(oncore_.channels);
    }
    if (oncore_.continuousAtStart) {
        binaryRates_[oncore_.channels >= 12 ? "Ha" : oncore_.channels >= 8 ? "Ea" : "Ba"] = 1;
        nmeaRates_["GGA"] = 1;
        nmeaRates_["RMC"] = 1;
    }
}

std::string OncoreEngine::ProtocolState() const {
    switch (protocol_) {
    case OncoreProtocol::Binary:
        return "binary";
    case OncoreProtocol::Nmea:
        return "nmea";
    case OncoreProtocol::Loran:
        return "loran";
    }
    return "";
}

std::string OncoreEngine::Name() const {
    return "Oncore " + std::to_string(oncore_.channels) + "-channel";
}

int OncoreEngine::OutputRate(const std::string& id) const {
    const auto& rates = id.size() == 3 ? nmeaRates_ : binaryRates_;
    const auto it = rates.find(id);
    return it == rates.end() ? 0 : it->second;
}

std::string OncoreEngine::DefaultModelNumber(int channels) {
    // The identification reads the family from the first characters and the sixth.
    if (channels >= 12) {
        return "P121T11T11"; // M12
    }
    if (channels >= 8) {
        return "R5122U1115"; // UT+
    }
    return "B1121P1131"; // XT
}

int OncoreEngine::MessageLength(std::string_view id) {
    return LookUp(kMessageLengths, std::size(kMessageLengths), id);
}

std::optional<std::uint32_t> OncoreEngine::RateFromCode(std::uint8_t high, std::uint8_t low) {
    if (high == 0 && low == 0) {
        return 9600;
    }
    const int digits[] = {high & 0x0F, low >> 4, low & 0x0F};
    if ((high & 0xF0) != 0x40 || digits[0] > 9 || digits[1] > 9 || digits[2] > 9) {
        return std::nullopt;
    }
    const std::uint32_t rate =
        static_cast<std::uint32_t>((digits[0] * 100 + digits[1] * 10 + digits[2]) * 100);
    static constexpr std::uint32_t kRates[] = {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600};
    if (std::find(std::begin(kRates), std::end(kRates), rate) == std::end(kRates)) {
        return std::nullopt;
    }
    return rate;
}

Bytes OncoreEngine::IdentityPayload(const OncoreOptions& oncore) {
    // A CR LF, the 33-character copyright line, then nine lines of 26 characters; each field starts at the
    // column where the identification looks for it.
    const std::string lines[] = {
        "SFTW P/N # 98-P36830P    ",
        "SOFTWARE VER # " + Fit(oncore.softwareVersion, 11),
        "SOFTWARE REV # " + Fit(oncore.softwareRevision, 11),
        "SOFTWARE DATE  " + Fit(oncore.softwareDate, 11),
        "MODEL # " +
            Fit(oncore.modelNumber.empty() ? DefaultModelNumber(oncore.channels) : oncore.modelNumber, 18),
        "HWDR P/N # _____________  ",
        "SERIAL #   SIM000001      ",
        "MANUFACTUR DATE 0A01      ",
        "OPTIONS LIST    IB        ",
    };
    std::string text = "\r\n" + Fit(oncore.copyright, 33);
    for (const std::string& line : lines) {
        text += "\r\n" + Fit(line, 26);
    }
    return Bytes(text.begin(), text.end());
}

bool OncoreEngine::Answers(const std::string& id) const {
    const int ch = oncore_.channels;
    if (id == "Ba" || id == "Ca") {
        return ch == 6 || ch == 8;
    }
    if (id == "Ea" || id == "Fa") {
        return ch == 8;
    }
    if (id == "Ha" || id == "Hb" || id == "Ia") {
        return ch >= 12;
    }
    if (id == "Bn") {
        return oncore_.traim && (ch == 6 || ch == 8);
    }
    if (id == "En") {
        return oncore_.traim && ch == 8;
    }
    if (id == "Hn") {
        return oncore_.traim && ch >= 12;
    }
    return true;
}

void OncoreEngine::ResetInput() {
    binaryInput_.clear();
    textInput_.clear();
}

void OncoreEngine::HandleBytes(ByteSpan bytes) {
    if (protocol_ == OncoreProtocol::Binary) {
        binaryInput_.insert(binaryInput_.end(), bytes.begin(), bytes.end());
        ParseBinary();
        return;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t b = bytes[i];
        if (b == '\r' || b == '\n') {
            if (!textInput_.empty()) {
                const std::string line = std::exchange(textInput_, {});
                ExecuteText(line);
                if (protocol_ == OncoreProtocol::Binary) {
                    // The rest of the read belongs to the binary protocol now.
                    HandleBytes(bytes.subspan(i + 1));
                    return;
                }
            }
        } else if (textInput_.size() < 200) {
            textInput_ += static_cast<char>(b);
        }
    }
}

void OncoreEngine::ParseBinary() {
    constexpr std::size_t kLongestCommand = 700;
    static constexpr std::uint8_t kSync[] = {'@', '@'};
    while (true) {
        auto start =
            std::search(binaryInput_.begin(), binaryInput_.end(), std::begin(kSync), std::end(kSync));
        if (start == binaryInput_.end()) {
            // Keep a lone "@" that may start the next command.
            const bool keepLast = !binaryInput_.empty() && binaryInput_.back() == '@';
            binaryInput_.erase(binaryInput_.begin(), binaryInput_.end() - (keepLast ? 1 : 0));
            return;
        }
        binaryInput_.erase(binaryInput_.begin(), start);
        if (binaryInput_.size() < 4) {
            return;
        }
        const std::string id(binaryInput_.begin() + 2, binaryInput_.begin() + 4);
        if (!std::isalpha(static_cast<unsigned char>(id[0])) ||
            !std::isalpha(static_cast<unsigned char>(id[1]))) {
            binaryInput_.erase(binaryInput_.begin()); // "@@@": the command starts one byte later
            continue;
        }
        const ByteSpan buf(binaryInput_);
        auto valid = [&](std::size_t length) {
            return length >= 7 && length <= buf.size() && buf[length - 2] == '\r' &&
                   buf[length - 1] == '\n' && XorOf(buf.subspan(2, length - 5)) == buf[length - 3];
        };
        std::size_t length = 0;
        const int known = CommandLength(id);
        if (known != 0 && buf.size() < static_cast<std::size_t>(known)) {
            return;
        }
        if (known != 0 && valid(static_cast<std::size_t>(known))) {
            length = static_cast<std::size_t>(known);
        } else {
            // An unknown command, or another form of a known one: it ends at the first CR LF its checksum
            // byte agrees with.
            std::uint8_t x = buf[2] ^ buf[3];
            for (std::size_t end = 7; end <= buf.size() && length == 0; ++end) {
                // x is the XOR of the id and the bytes up to the candidate checksum byte at end - 3.
                if (x == buf[end - 3] && buf[end - 2] == '\r' && buf[end - 1] == '\n') {
                    length = end;
                }
                x ^= buf[end - 3];
            }
        }
        if (length == 0) {
            // Nothing ends it yet. A line end with more behind it means this was no command: look for the
            // next one.
            const Bytes crlf{'\r', '\n'};
            const auto lineEnd =
                std::search(binaryInput_.begin() + 4, binaryInput_.end(), crlf.begin(), crlf.end());
            const bool overrun = lineEnd != binaryInput_.end() && lineEnd + 2 < binaryInput_.end();
            if (!overrun && buf.size() < kLongestCommand) {
                return;
            }
            Note("<- " + Printable(buf.first(std::min<std::size_t>(buf.size(), 40))) +
                 " (not a command: ignored)");
            binaryInput_.erase(binaryInput_.begin());
            continue;
        }
        const Bytes params(buf.begin() + 4, buf.begin() + static_cast<std::ptrdiff_t>(length) - 3);
        binaryInput_.erase(binaryInput_.begin(), binaryInput_.begin() + static_cast<std::ptrdiff_t>(length));
        ExecuteBinary(id, params);
        if (protocol_ != OncoreProtocol::Binary) {
            // A protocol switch: what follows is text.
            const Bytes rest = std::exchange(binaryInput_, {});
            HandleBytes(rest);
            return;
        }
    }
}

void OncoreEngine::SendOncore(const std::string& id, const Bytes& payload) {
    Bytes frame = OncoreFrame(id, payload);
    const std::string label = "@@" + id + " (" + std::to_string(frame.size()) + " bytes)";
    Send(std::move(frame), label);
}

void OncoreEngine::SetProtocol(OncoreProtocol protocol) {
    if (protocol != protocol_) {
        protocol_ = protocol;
        Note("protocol now " + ProtocolState() + " at " + Line().ToString());
    }
}

void OncoreEngine::ExecuteBinary(const std::string& id, ByteSpan params) {
    Note("<- @@" + id + Hex(params));
    const std::uint8_t first = params.empty() ? 0 : params[0];
    if (!Answers(id)) {
        Note("   not a command of this receiver: no answer");
        return;
    }
    if (id == "Cj") {
        SendOncore(id, IdentityPayload(oncore_));
    } else if (id == "Ba" || id == "Ea" || id == "Ha" || id == "Hb" || id == "Bb") {
        // 0 asks for one message now; n sends one every n seconds from the next second on.
        binaryRates_[id] = first;
        if (first == 0) {
            SendOncore(id, id == "Hb"   ? ShortPositionMessage()
                           : id == "Bb" ? VisibleSatellites()
                                        : PositionMessage(id[0]));
        }
    } else if (id == "Bn" || id == "En" || id == "Hn") {
        traimSetup_.assign(params.begin(), params.end());
        traimId_ = id;
        traimRate_ = first;
        SendOncore(id, TraimStatus(id));
    } else if (id == "Bo") {
        SendOncore(id, Bytes{static_cast<std::uint8_t>(Options().leapSeconds)});
    } else if (id == "Bj") {
        SendOncore(id, Bytes{0});
    } else if (id == "Gj") {
        const auto leap = static_cast<std::uint8_t>(Options().leapSeconds);
        // The last leap second: present and future values, the date and time of the event.
        SendOncore(id, Bytes{leap, leap, 0x07, 0xE0, 12, 31, 23, 59, 60, 0, 0, 0, 0, 0});
    } else if (id == "Ca" || id == "Fa") {
        SendOncore(id, Bytes{0, 0});
    } else if (id == "Ia") {
        SendOncore(id, Bytes{0, 0, 0});
    } else if (id == "Bh") {
        if (oncore_.dgps) {
            SendOncore("Ce", Bytes(static_cast<std::size_t>(MessageLength("Ce") - 7), 0));
        }
    } else if (id == "Ci") {
        if (first == 1) {
            SetProtocol(OncoreProtocol::Nmea);
        } else if (first == 2) {
            SetProtocol(OncoreProtocol::Loran);
        }
    } else if (IsEchoedSetting(id) && MessageLength(id) != 0) {
        const bool query =
            !params.empty() && std::all_of(params.begin(), params.end(), [](auto b) { return b == 0xFF; });
        Bytes value = query && settings_.count(id) ? settings_[id] : Bytes(params.begin(), params.end());
        if (!query) {
            settings_[id] = value;
        }
        value.resize(static_cast<std::size_t>(MessageLength(id) - 7), 0);
        SendOncore(id, value);
        if (id == "Wb" && params.size() >= 2 && !query) {
            // The answer leaves at the old rate; the receiver listens at the new one afterwards.
            if (const auto rate = RateFromCode(params[0], params[1])) {
                LineSettings line = Line();
                line.baud = *rate;
                SwitchLine(line);
            } else {
                Note("   unknown rate code: rate kept");
            }
        } else if (id == "Cf") {
            binaryRates_.clear();
            traimRate_ = 0;
        }
    } else {
        Note("   no answer");
    }
}

void OncoreEngine::ExecuteText(const std::string& line) {
    if (protocol_ == OncoreProtocol::Nmea) {
        ExecuteNmea(line);
    } else {
        ExecuteLoran(line);
    }
}

void OncoreEngine::ExecuteNmea(const std::string& line) {
    Note("<- " + line);
    if (line.rfind("$PMOTG,", 0) != 0) {
        Note("   not a command: ignored");
        return;
    }
    std::string body = line.substr(1);
    const std::size_t star = body.find('*');
    if (star != std::string::npos) {
        if (body.substr(star + 1) != NmeaChecksum(body.substr(0, star))) {
            Note("   bad checksum: ignored");
            return;
        }
        body.resize(star);
    }
    // PMOTG,kind,value
    const std::size_t c1 = body.find(',');
    const std::size_t c2 = body.find(',', c1 + 1);
    const std::string kind = body.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    const std::string value = c2 == std::string::npos ? "" : body.substr(c2 + 1);
    if (kind == "FOR") {
        if (value == "0") {
            SetProtocol(OncoreProtocol::Binary);
        }
        return;
    }
    static constexpr const char* kKinds[] = {"GGA", "GLL", "GSA", "GSV", "RMC", "VTG", "ZDA"};
    if (std::find(std::begin(kKinds), std::end(kKinds), kind) == std::end(kKinds) || value.empty() ||
        !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        Note("   not understood");
        return;
    }
    nmeaRates_[kind] = std::stoi(value.substr(0, 4));
}

void OncoreEngine::ExecuteLoran(const std::string& raw) {
    const std::size_t b = raw.find_first_not_of(' ');
    const std::size_t e = raw.find_last_not_of(' ');
    const std::string line = b == std::string::npos ? "" : raw.substr(b, e - b + 1);
    Note("<- " + line);
    if (line == "BIN") {
        SetProtocol(OncoreProtocol::Binary);
    } else if (line == "NMEA") {
        SetProtocol(OncoreProtocol::Nmea);
    } else if (line == "T0") {
        loranContinuous_ = false;
        Send(LoranTimeLine());
    } else if (line == "T1") {
        loranContinuous_ = true;
    } else if (line == "Z") {
        Send("ZONCORE" + std::to_string(oncore_.channels) + "CH\r\n");
    } else {
        Note("   not understood");
    }
}

std::string OncoreEngine::LoranTimeLine() const {
    const CalendarTime t = ToCalendar(ReportedTime());
    char text[32];
    std::snprintf(text, sizeof text, "T%04d%02d%02d%02d%02d%02d\r\n", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

void OncoreEngine::HandleSecond() {
    const int n = SecondsRun();
    auto due = [n](int rate) { return rate > 0 && n % rate == 0; };
    switch (protocol_) {
    case OncoreProtocol::Binary:
        for (const char* id : {"Ha", "Ea", "Ba", "Hb", "Bb"}) {
            const auto it = binaryRates_.find(id);
            if (it != binaryRates_.end() && due(it->second) && Answers(id)) {
                const std::string sid = id;
                SendOncore(sid, sid == "Hb"   ? ShortPositionMessage()
                                : sid == "Bb" ? VisibleSatellites()
                                              : PositionMessage(sid[0]));
            }
        }
        if (due(traimRate_) && !traimId_.empty()) {
            SendOncore(traimId_, TraimStatus(traimId_));
        }
        break;
    case OncoreProtocol::Nmea: {
        const NmeaSentences nmea(ToCalendar(ReportedTime()), Options(), Sky());
        for (const char* kind : {"GGA", "GLL", "GSA", "GSV", "RMC", "VTG", "ZDA"}) {
            const auto it = nmeaRates_.find(kind);
            if (it != nmeaRates_.end() && due(it->second)) {
                for (const std::string& sentence : nmea.ByName(kind)) {
                    Send(sentence);
                }
            }
        }
        break;
    }
    case OncoreProtocol::Loran:
        if (loranContinuous_) {
            Send(LoranTimeLine());
        }
        break;
    }
}

Bytes OncoreEngine::CommonFields() const {
    const CalendarTime t = ToCalendar(ReportedTime());
    const EngineOptions& o = Options();
    Bytes out;
    out.push_back(static_cast<std::uint8_t>(t.month));
    out.push_back(static_cast<std::uint8_t>(t.day));
    PutBe(out, static_cast<std::uint64_t>(t.year), 2);
    out.push_back(static_cast<std::uint8_t>(t.hour));
    out.push_back(static_cast<std::uint8_t>(t.minute));
    out.push_back(static_cast<std::uint8_t>(t.second));
    PutBe(out, static_cast<std::uint64_t>(t.nanos), 4);
    PutBe(out, static_cast<std::uint64_t>(Round(o.latitude * 3'600'000.0)), 4);
    PutBe(out, static_cast<std::uint64_t>(Round(o.longitude * 3'600'000.0)), 4);
    PutBe(out, static_cast<std::uint64_t>(Round(o.heightEllipsoid * 100.0)), 4);
    PutBe(out, static_cast<std::uint64_t>(Round(o.heightMsl * 100.0)), 4);
    return out;
}

Bytes OncoreEngine::PositionMessage(char family) const {
    const auto& sky = Sky();
    const int visible = static_cast<int>(sky.size());
    Bytes out = CommonFields();
    const auto dop = static_cast<std::uint64_t>(Round(Dops::position * 10));
    if (family == 'H') {
        const Bytes common = out;
        out.insert(out.end(), common.begin() + 11, common.end()); // unfiltered position and heights
        PutBe(out, 0, 2);                                         // 3-D speed
        PutBe(out, 0, 2);                                         // 2-D speed
        PutBe(out, 0, 2);                                         // heading
        PutBe(out, dop, 2);
        const int tracked = std::min(visible, 12);
        out.push_back(static_cast<std::uint8_t>(visible));
        out.push_back(static_cast<std::uint8_t>(tracked));
        for (int i = 0; i < 12; ++i) {
            if (i < tracked) {
                const Satellite& s = sky[static_cast<std::size_t>(i)];
                out.insert(out.end(),
                           {static_cast<std::uint8_t>(s.prn), 8, static_cast<std::uint8_t>(s.cno), 0x2A});
                PutBe(out, s.used ? 0x08A0 : 0x0000, 2);
            } else {
                out.insert(out.end(), 6, 0);
            }
        }
        out.push_back(0xE0);              // 3-D fix
        out.push_back(0x00);              // antenna OK
        PutBe(out, 0, 2);                 // reserved
        PutBe(out, 0, 2);                 // clock bias, ns
        PutBe(out, 76'000, 4);            // oscillator offset, Hz
        PutBe(out, 60, 2);                // temperature, half degrees
        out.push_back(0x03);              // UTC parameters
        out.insert(out.end(), {0, 0, 0}); // GMT offset
        for (char c : std::string_view("SIMRCV")) {
            out.push_back(static_cast<std::uint8_t>(c));
        }
        return out;
    }
    const int channels = family == 'B' ? 6 : 8;
    const int tracked = std::min(visible, channels);
    PutBe(out, 0, 2); // speed
    PutBe(out, 0, 2); // heading
    PutBe(out, dop, 2);
    out.push_back(0x00); // PDOP, antenna OK
    out.push_back(static_cast<std::uint8_t>(visible));
    out.push_back(static_cast<std::uint8_t>(tracked));
    for (int i = 0; i < channels; ++i) {
        if (i < tracked) {
            const Satellite& s = sky[static_cast<std::size_t>(i)];
            out.insert(out.end(), {static_cast<std::uint8_t>(s.prn), 8, static_cast<std::uint8_t>(s.cno),
                                   static_cast<std::uint8_t>(s.used ? 0xA2 : 0x00)});
        } else {
            out.insert(out.end(), 4, 0);
        }
    }
    out.push_back(0x20); // 3-D fix
    return out;
}

Bytes OncoreEngine::ShortPositionMessage() const {
    Bytes out = CommonFields();
    PutBe(out, 0, 2); // 3-D speed
    PutBe(out, 0, 2); // 2-D speed
    PutBe(out, 0, 2); // heading
    PutBe(out, static_cast<std::uint64_t>(Round(Dops::position * 10)), 2);
    out.push_back(static_cast<std::uint8_t>(Sky().size()));
    out.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(Sky().size(), 12)));
    out.push_back(0xE0);
    out.push_back(0x00);
    out.insert(out.end(), {0, 0});
    for (char c : std::string_view("SIMRCV")) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
    return out;
}

Bytes OncoreEngine::VisibleSatellites() const {
    const auto& sky = Sky();
    const int n = std::min<int>(static_cast<int>(sky.size()), 12);
    Bytes out{static_cast<std::uint8_t>(n)};
    for (int i = 0; i < 12; ++i) {
        if (i < n) {
            const Satellite& s = sky[static_cast<std::size_t>(i)];
            out.push_back(static_cast<std::uint8_t>(s.prn));
            PutBe(out, static_cast<std::uint64_t>(static_cast<std::int64_t>(s.dopplerHz)), 2);
            out.push_back(static_cast<std::uint8_t>(s.elevation));
            PutBe(out, static_cast<std::uint64_t>(s.azimuth), 2);
            out.push_back(0); // healthy
        } else {
            out.insert(out.end(), 7, 0);
        }
    }
    return out;
}

Bytes OncoreEngine::TraimStatus(const std::string& id) const {
    Bytes out;
    int channels = 12;
    if (id != "Hn") {
        // The set-up as received, then the status.
        out = traimSetup_;
        out.resize(15, 0);
        channels = id == "Bn" ? 6 : 8;
        out.insert(out.end(), {1, 1, 0, 0}); // pulse on, synchronised to GPS, solution OK, status detect
        PutBe(out, 5, 2);                    // one-sigma accuracy, ns
        out.push_back(0);                    // sawtooth
    } else {
        out.insert(out.end(), {1, 1, 0, 0}); // pulse, sync, solution, status
        PutBe(out, 0, 4);                    // removed satellites
        PutBe(out, 5, 2);                    // one-sigma accuracy, ns
        out.push_back(0);                    // sawtooth
    }
    const auto& sky = Sky();
    for (int i = 0; i < channels; ++i) {
        const bool present = i < static_cast<int>(sky.size()) && sky[static_cast<std::size_t>(i)].used;
        out.push_back(present ? static_cast<std::uint8_t>(sky[static_cast<std::size_t>(i)].prn) : 0);
        PutBe(out, present ? 100u + static_cast<unsigned>(i) : 0u, 4); // fractional GPS time, ns
    }
    return out;
}

} // namespace receiversim
