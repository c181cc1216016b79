#include "tools/simulator/UbxEngine.h"

#include "tools/simulator/NmeaSentences.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>

namespace receiversim {

namespace {

constexpr std::uint8_t kNav = 0x01, kAck = 0x05, kCfg = 0x06, kMon = 0x0A, kAid = 0x0B, kTim = 0x0D,
                       kNmea = 0xF0;

constexpr std::uint16_t Key(std::uint8_t cls, std::uint8_t id) {
    return static_cast<std::uint16_t>(cls << 8 | id);
}

// Everything the receiver can send each second, in the order it sends it.
constexpr std::uint16_t kOutputs[] = {
    Key(kNav, 0x02),  Key(kNav, 0x03),  Key(kNav, 0x04),  Key(kNav, 0x20),  Key(kNav, 0x21),
    Key(kNav, 0x30),  Key(kMon, 0x09),  Key(kTim, 0x01),  Key(kNmea, 0x00), Key(kNmea, 0x01),
    Key(kNmea, 0x02), Key(kNmea, 0x03), Key(kNmea, 0x04), Key(kNmea, 0x05), Key(kNmea, 0x08),
};

const char* NmeaKind(std::uint8_t id) {
    switch (id) {
    case 0x00:
        return "GGA";
    case 0x01:
        return "GLL";
    case 0x02:
        return "GSA";
    case 0x03:
        return "GSV";
    case 0x04:
        return "RMC";
    case 0x05:
        return "VTG";
    case 0x08:
        return "ZDA";
    default:
        return nullptr;
    }
}

std::string MessageName(std::uint8_t cls, std::uint8_t id) {
    static const std::map<std::uint16_t, const char*> kNames = {
        {Key(kNav, 0x02), "NAV-POSLLH"},  {Key(kNav, 0x03), "NAV-STATUS"},  {Key(kNav, 0x04), "NAV-DOP"},
        {Key(kNav, 0x20), "NAV-TIMEGPS"}, {Key(kNav, 0x21), "NAV-TIMEUTC"}, {Key(kNav, 0x30), "NAV-SVINFO"},
        {Key(kAck, 0x00), "ACK-NAK"},     {Key(kAck, 0x01), "ACK-ACK"},     {Key(kCfg, 0x00), "CFG-PRT"},
        {Key(kCfg, 0x01), "CFG-MSG"},     {Key(kCfg, 0x09), "CFG-CFG"},     {Key(kCfg, 0x13), "CFG-ANT"},
        {Key(kCfg, 0x1D), "CFG-TMODE"},   {Key(kCfg, 0x24), "CFG-NAV5"},    {Key(kCfg, 0x31), "CFG-TP5"},
        {Key(kCfg, 0x3E), "CFG-GNSS"},    {Key(kMon, 0x04), "MON-VER"},     {Key(kMon, 0x09), "MON-HW"},
        {Key(kAid, 0x01), "AID-INI"},     {Key(kAid, 0x02), "AID-HUI"},     {Key(kTim, 0x01), "TIM-TP"},
    };
    const auto it = kNames.find(Key(cls, id));
    if (it != kNames.end()) {
        return it->second;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X", static_cast<unsigned>(cls), static_cast<unsigned>(id));
    return text;
}

// Payload lengths of the CFG messages the receiver takes (0: any length is accepted).
bool CfgLengthOk(std::uint8_t id, std::size_t length) {
    switch (id) {
    case 0x04: // RST
        return length == 4;
    case 0x07: // TP
        return length == 20;
    case 0x08: // RATE
        return length == 6;
    case 0x09: // CFG
        return length == 12 || length == 13;
    case 0x13: // ANT
        return length == 4;
    case 0x1D: // TMODE
    case 0x3D: // TMODE2
        return length == 28;
    case 0x24: // NAV5
        return length == 36;
    case 0x31: // TP5
        return length == 32;
    case 0x3E: // GNSS
        return length >= 4 && (length - 4) % 8 == 0;
    case 0x71: // TMODE3
        return length == 40;
    default:
        return false;
    }
}

void PutText(Bytes& out, const std::string& text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out.push_back(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
    }
}

void PutI(Bytes& out, std::int64_t value, int width) {
    PutLe(out, static_cast<std::uint64_t>(value), width);
}

} // namespace

UbxEngine::UbxEngine(const EngineOptions& options, const UbxOptions& ubx)
    : ReceiverEngine(options), ubx_(ubx) {
    if (ubx_.nmeaAtStart) {
        for (std::uint8_t id : {0x00, 0x02, 0x03, 0x04, 0x08}) {
            rates_[Key(kNmea, id)] = 1;
        }
    } else {
        for (std::uint8_t id : {0x02, 0x03, 0x04, 0x21, 0x30}) {
            rates_[Key(kNav, id)] = 1;
        }
        rates_[Key(kMon, 0x09)] = 1;
    }
}

int UbxEngine::MessageRate(std::uint8_t cls, std::uint8_t id) const {
    const auto it = rates_.find(Key(cls, id));
    return it == rates_.end() ? 0 : it->second;
}

std::string UbxEngine::ProtocolState() const {
    bool ubx = false;
    bool nmea = false;
    for (const auto& [key, rate] : rates_) {
        if (rate > 0) {
            ((key >> 8) == kNmea ? nmea : ubx) = true;
        }
    }
    ubx = ubx && (outProtocols_ & 1) != 0;
    nmea = nmea && (outProtocols_ & 2) != 0;
    return ubx && nmea ? "ubx+nmea" : ubx ? "ubx" : nmea ? "nmea" : "silent";
}

void UbxEngine::HandleBytes(ByteSpan bytes) {
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    ParseFrames();
}

void UbxEngine::ParseFrames() {
    constexpr std::size_t kLongestPayload = 4096;
    while (true) {
        std::size_t start = 0;
        while (start + 1 < input_.size() && !(input_[start] == 0xB5 && input_[start + 1] == 0x62)) {
            ++start;
        }
        if (start > 0) {
            // Text between frames: line ends after commands, or NMEA the receiver does not take.
            const Bytes skipped(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(start));
            if (std::any_of(skipped.begin(), skipped.end(), [](auto b) { return b != '\r' && b != '\n'; })) {
                Note("<- " + Printable(skipped) + " (not UBX: ignored)");
            }
            input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(start));
        }
        if (input_.size() < 6 || input_[0] != 0xB5) {
            return;
        }
        const std::size_t length = static_cast<std::size_t>(GetLe(input_, 4, 2));
        if (length > kLongestPayload) {
            input_.erase(input_.begin());
            continue;
        }
        if (input_.size() < length + 8) {
            return;
        }
        const ByteSpan frame(input_.data(), length + 8);
        const Fletcher f = FletcherOf(frame.subspan(2, length + 4));
        if (f.a != frame[length + 6] || f.b != frame[length + 7]) {
            Note("<- UBX frame with a bad checksum: ignored");
            input_.erase(input_.begin());
            continue;
        }
        const std::uint8_t cls = frame[2];
        const std::uint8_t id = frame[3];
        const Bytes payload(frame.begin() + 6, frame.begin() + 6 + static_cast<std::ptrdiff_t>(length));
        input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(length + 8));
        Note("<- UBX " + MessageName(cls, id) + " (" + std::to_string(length) + " bytes)");
        if ((inProtocols_ & 1) == 0) {
            Note("   UBX input is off: ignored");
            continue;
        }
        Execute(cls, id, payload);
    }
}

void UbxEngine::SendUbx(std::uint8_t cls, std::uint8_t id, const Bytes& payload) {
    Send(UbxFrame(cls, id, payload),
         "UBX " + MessageName(cls, id) + " (" + std::to_string(payload.size()) + " bytes)");
}

void UbxEngine::Ack(bool ok, std::uint8_t id) {
    SendUbx(kAck, ok ? 0x01 : 0x00, Bytes{kCfg, id});
}

void UbxEngine::Execute(std::uint8_t cls, std::uint8_t id, ByteSpan payload) {
    if (cls == kCfg) {
        ExecuteCfg(id, payload);
        return;
    }
    if (cls == kAid && id == 0x01) {
        return; // aiding is taken without an answer
    }
    Bytes answer;
    if (payload.empty() && Build(cls, id, answer)) {
        SendUbx(cls, id, answer);
    } else if (payload.empty() && cls == kMon && id == 0x04) {
        SendUbx(cls, id, MonVer());
    } else if (payload.empty() && cls == kAid && id == 0x02) {
        SendUbx(cls, id, AidHui());
    } else {
        Note("   no answer");
    }
}

void UbxEngine::ExecuteCfg(std::uint8_t id, ByteSpan payload) {
    const std::size_t n = payload.size();
    if (id == 0x00) { // PRT
        if (n <= 1) {
            SendUbx(kCfg, id, PortConfig());
            Ack(true, id);
            return;
        }
        if (n != 20) {
            Ack(false, id);
            return;
        }
        // The acknowledgement leaves at the old settings; the port changes after it.
        Ack(true, id);
        if (payload[0] != 1) {
            return;
        }
        const auto mode = static_cast<std::uint32_t>(GetLe(payload, 4, 4));
        LineSettings line = Line();
        line.baud = static_cast<std::uint32_t>(GetLe(payload, 8, 4));
        line.dataBits = static_cast<std::uint8_t>(5 + ((mode >> 6) & 3));
        const unsigned parity = (mode >> 9) & 7;
        line.parity = parity == 0 ? Parity::Even : parity == 1 ? Parity::Odd : Parity::None;
        line.stopBits = ((mode >> 12) & 3) == 2 ? 2 : 1;
        inProtocols_ = static_cast<std::uint16_t>(GetLe(payload, 12, 2));
        outProtocols_ = static_cast<std::uint16_t>(GetLe(payload, 14, 2));
        if (line.baud == 0) {
            Note("   rate 0: port left as it was");
            return;
        }
        SwitchLine(line);
        return;
    }
    if (id == 0x01) { // MSG
        if (n < 2) {
            Ack(false, id);
            return;
        }
        const std::uint16_t key = Key(payload[0], payload[1]);
        if (n == 2) {
            Bytes answer{payload[0], payload[1], 0, 0, 0, 0, 0, 0};
            answer[3] = static_cast<std::uint8_t>(MessageRate(payload[0], payload[1]));
            SendUbx(kCfg, id, answer);
            Ack(true, id);
        } else if (n == 3 || n == 8) {
            rates_[key] = payload[n == 3 ? 2 : 3]; // the current port, or UART 1 of the six
            Ack(true, id);
        } else {
            Ack(false, id);
        }
        return;
    }
    if (n == 0 && cfg_.count(id) != 0) {
        SendUbx(kCfg, id, cfg_[id]);
        Ack(true, id);
        return;
    }
    if (!CfgLengthOk(id, n)) {
        Ack(false, id);
        return;
    }
    cfg_[id] = Bytes(payload.begin(), payload.end());
    Ack(true, id);
}

Bytes UbxEngine::PortConfig() const {
    const LineSettings& line = Line();
    std::uint32_t mode = static_cast<std::uint32_t>((line.dataBits - 5) & 3) << 6 | 0x10;
    mode |= (line.parity == Parity::Even ? 0u : line.parity == Parity::Odd ? 1u : 4u) << 9;
    mode |= (line.stopBits == 2 ? 2u : 0u) << 12;
    Bytes out{1, 0};
    PutLe(out, 0, 2);
    PutLe(out, mode, 4);
    PutLe(out, line.baud, 4);
    PutLe(out, inProtocols_, 2);
    PutLe(out, outProtocols_, 2);
    PutLe(out, 0, 4);
    return out;
}

void UbxEngine::HandleSecond() {
    const int n = SecondsRun();
    std::unique_ptr<NmeaSentences> nmea;
    const CalendarTime t = ToCalendar(ReportedTime());
    for (std::uint16_t key : kOutputs) {
        const auto cls = static_cast<std::uint8_t>(key >> 8);
        const auto id = static_cast<std::uint8_t>(key & 0xFF);
        const int rate = MessageRate(cls, id);
        if (rate <= 0 || n % rate != 0) {
            continue;
        }
        if (cls == kNmea) {
            if ((outProtocols_ & 2) == 0) {
                continue;
            }
            if (!nmea) {
                nmea = std::make_unique<NmeaSentences>(t, Options(), Sky());
            }
            for (const std::string& sentence : nmea->ByName(NmeaKind(id))) {
                Send(sentence);
            }
            continue;
        }
        Bytes payload;
        if ((outProtocols_ & 1) != 0 && Build(cls, id, payload)) {
            SendUbx(cls, id, payload);
        }
    }
}

bool UbxEngine::Build(std::uint8_t cls, std::uint8_t id, Bytes& payload) const {
    switch (Key(cls, id)) {
    case Key(kNav, 0x02):
        payload = NavPosLlh();
        return true;
    case Key(kNav, 0x03):
        payload = NavStatus();
        return true;
    case Key(kNav, 0x04):
        payload = NavDop();
        return true;
    case Key(kNav, 0x20):
        payload = NavTimeGps();
        return true;
    case Key(kNav, 0x21):
        payload = NavTimeUtc();
        return true;
    case Key(kNav, 0x30):
        payload = NavSvInfo();
        return true;
    case Key(kMon, 0x09):
        payload = MonHw();
        return true;
    case Key(kTim, 0x01):
        payload = TimTp();
        return true;
    default:
        return false;
    }
}

std::uint32_t UbxEngine::Tow() const {
    return static_cast<std::uint32_t>(ToGpsTime(ReportedTime(), Options().leapSeconds).towNanos / 1'000'000);
}

Bytes UbxEngine::NavPosLlh() const {
    const EngineOptions& o = Options();
    Bytes out;
    PutLe(out, Tow(), 4);
    PutI(out, std::llround(o.longitude * 1e7), 4);
    PutI(out, std::llround(o.latitude * 1e7), 4);
    PutI(out, std::llround(o.heightEllipsoid * 1000.0), 4);
    PutI(out, std::llround(o.heightMsl * 1000.0), 4);
    PutLe(out, 1500, 4); // horizontal accuracy, mm
    PutLe(out, 2500, 4); // vertical accuracy, mm
    return out;
}

Bytes UbxEngine::NavStatus() const {
    Bytes out;
    PutLe(out, Tow(), 4);
    out.push_back(UsedCount() >= 4 ? 3 : 0);       // 3-D fix
    out.push_back(UsedCount() >= 4 ? 0x0D : 0x0C); // fix OK, week and time of week set
    out.push_back(0);                              // fix status
    out.push_back(0);                              // flags 2
    PutLe(out, 28'000, 4);                         // time to first fix, ms
    PutLe(out, static_cast<std::uint64_t>(SecondsRun()) * 1000 + 60'000, 4); // since start-up, ms
    return out;
}

Bytes UbxEngine::NavDop() const {
    Bytes out;
    PutLe(out, Tow(), 4);
    for (double dop :
         {Dops::geometric, Dops::position, Dops::time, Dops::vertical, Dops::horizontal, 0.8, 0.6}) {
        PutLe(out, static_cast<std::uint64_t>(std::llround(dop * 100)), 2);
    }
    return out;
}

Bytes UbxEngine::NavTimeGps() const {
    const GpsTime g = ToGpsTime(ReportedTime(), Options().leapSeconds);
    Bytes out;
    PutLe(out, static_cast<std::uint64_t>(g.towNanos / 1'000'000), 4);
    PutI(out, g.towNanos % 1'000'000, 4); // fraction of the ms, ns
    PutI(out, g.week, 2);
    out.push_back(static_cast<std::uint8_t>(Options().leapSeconds));
    out.push_back(0x07);
    PutLe(out, 20, 4);
    return out;
}

Bytes UbxEngine::NavTimeUtc() const {
    const CalendarTime t = ToCalendar(ReportedTime());
    Bytes out;
    PutLe(out, Tow(), 4);
    PutLe(out, 20, 4); // time accuracy, ns
    PutI(out, t.nanos, 4);
    PutLe(out, static_cast<std::uint64_t>(t.year), 2);
    out.push_back(static_cast<std::uint8_t>(t.month));
    out.push_back(static_cast<std::uint8_t>(t.day));
    out.push_back(static_cast<std::uint8_t>(t.hour));
    out.push_back(static_cast<std::uint8_t>(t.minute));
    out.push_back(static_cast<std::uint8_t>(t.second));
    out.push_back(0x07); // time of week, week number and UTC valid
    return out;
}

Bytes UbxEngine::NavSvInfo() const {
    const auto& sky = Sky();
    Bytes out;
    PutLe(out, Tow(), 4);
    out.push_back(static_cast<std::uint8_t>(sky.size()));
    out.push_back(0x04); // chip generation
    PutLe(out, 0, 2);
    for (std::size_t i = 0; i < sky.size(); ++i) {
        const Satellite& s = sky[i];
        out.push_back(static_cast<std::uint8_t>(i)); // channel
        out.push_back(static_cast<std::uint8_t>(s.prn));
        out.push_back(s.used ? 0x0D : 0x0C); // used, orbit and ephemeris available
        out.push_back(s.used ? 7 : 4);       // code and carrier locked, or code locked
        out.push_back(static_cast<std::uint8_t>(s.cno));
        out.push_back(static_cast<std::uint8_t>(static_cast<std::int8_t>(s.elevation)));
        PutI(out, s.azimuth, 2);
        PutI(out, static_cast<std::int64_t>(i) * 37 - 150, 4); // pseudorange residual, cm
    }
    return out;
}

Bytes UbxEngine::MonHw() const {
    Bytes out;
    PutLe(out, 0, 4);             // pin selection
    PutLe(out, 0, 4);             // pin bank
    PutLe(out, 0, 4);             // pin direction
    PutLe(out, 0, 4);             // pin value
    PutLe(out, 82, 2);            // noise per ms
    PutLe(out, 5120, 2);          // AGC count
    out.push_back(2);             // antenna status: OK
    out.push_back(1);             // antenna power: on
    out.push_back(0x01);          // flags: RTC calibrated
    out.push_back(0);             // reserved
    PutLe(out, 0, 4);             // used mask
    out.insert(out.end(), 17, 0); // virtual pin mapping
    out.push_back(4);             // jamming indicator
    PutLe(out, 0, 2);             // reserved
    PutLe(out, 0, 4);             // pin interrupts
    PutLe(out, 0, 4);             // pull-ups
    PutLe(out, 0, 4);             // pull-downs
    return out;
}

Bytes UbxEngine::TimTp() const {
    // The next pulse's time.
    const GpsTime g = ToGpsTime(ReportedTime() + std::chrono::seconds(1), Options().leapSeconds);
    Bytes out;
    PutLe(out, static_cast<std::uint64_t>(g.towNanos / 1'000'000), 4);
    PutLe(out, 0, 4); // sub-ms part
    PutI(out, -3, 4); // quantisation error, ps
    PutLe(out, static_cast<std::uint64_t>(g.week), 2);
    out.push_back(0x03); // UTC based, UTC available
    out.push_back(0);
    return out;
}

Bytes UbxEngine::MonVer() const {
    Bytes out;
    PutText(out, ubx_.software, 30);
    PutText(out, ubx_.hardware, 10);
    for (const std::string& extension : ubx_.extensions) {
        PutText(out, extension, 30);
    }
    return out;
}

Bytes UbxEngine::AidHui() const {
    const int leap = Options().leapSeconds;
    Bytes out;
    PutLe(out, 0, 4);             // satellite health mask
    out.insert(out.end(), 16, 0); // UTC polynomial A0, A1 (doubles)
    PutLe(out, 405'504, 4);       // UTC reference time of week
    PutI(out, 1929 % 256, 2);     // UTC reference week
    PutI(out, leap, 2);           // leap seconds now
    PutI(out, 1928, 2);           // week of the last leap second event (2016-12-31)
    PutI(out, 7, 2);              // its day
    PutI(out, leap, 2);           // leap seconds after it
    PutI(out, 0, 2);              // spare
    out.insert(out.end(), 32, 0); // ionosphere parameters
    PutLe(out, 0x07, 4);          // health, UTC and ionosphere valid
    return out;
}

} // namespace receiversim
