// Feeds arbitrary bytes, as a program might write them, to the simulated receivers' command parsers and to
// the RFC 2217 server's Telnet parser, and checks that whatever the receivers send back is well framed.
//
// Input: a selector byte (which receiver, in which protocol), a byte that sets how the rest is cut into
// reads, then the bytes. Every third read a simulated second passes, four at most.
#include "tools/simulator/NmeaEngine.h"
#include "tools/simulator/OncoreEngine.h"
#include "tools/simulator/TelnetComPort.h"
#include "tools/simulator/UbxEngine.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

using namespace receiversim;

namespace {

void Check(bool ok) {
    if (!ok) {
        __builtin_trap();
    }
}

// Each emission is one or more whole frames of one of the three protocols, or a LORAN text line.
void CheckFrames(const Bytes& b) {
    std::size_t pos = 0;
    while (pos < b.size()) {
        const ByteSpan rest = ByteSpan(b).subspan(pos);
        if (rest.size() >= 2 && rest[0] == '@' && rest[1] == '@') {
            Check(rest.size() >= 7);
            const std::string id(rest.begin() + 2, rest.begin() + 4);
            const auto length = static_cast<std::size_t>(OncoreEngine::MessageLength(id));
            Check(length != 0 && length <= rest.size());
            Check(XorOf(rest.subspan(2, length - 5)) == rest[length - 3]);
            Check(rest[length - 2] == '\r' && rest[length - 1] == '\n');
            pos += length;
        } else if (rest.size() >= 2 && rest[0] == 0xB5 && rest[1] == 0x62) {
            Check(rest.size() >= 8);
            const std::size_t length = rest[4] | static_cast<std::size_t>(rest[5]) << 8;
            Check(length + 8 <= rest.size());
            const Fletcher f = FletcherOf(rest.subspan(2, length + 4));
            Check(f.a == rest[length + 6] && f.b == rest[length + 7]);
            pos += length + 8;
        } else {
            std::size_t end = pos;
            while (end + 1 < b.size() && !(b[end] == '\r' && b[end + 1] == '\n')) {
                ++end;
            }
            Check(end + 1 < b.size());
            const std::string line(b.begin() + static_cast<std::ptrdiff_t>(pos),
                                   b.begin() + static_cast<std::ptrdiff_t>(end));
            if (!line.empty() && line[0] == '$') {
                const std::size_t star = line.rfind('*');
                Check(star != std::string::npos &&
                      line.substr(star + 1) == NmeaChecksum(line.substr(1, star - 1)));
            }
            pos = end + 2;
        }
    }
}

std::unique_ptr<ReceiverEngine> MakeEngine(std::uint8_t selector) {
    EngineOptions options;
    OncoreOptions oncore;
    oncore.channels = selector & 1 ? 12 : (selector & 2 ? 8 : 6);
    oncore.traim = (selector & 4) != 0;
    oncore.dgps = (selector & 8) != 0;
    switch ((selector >> 4) % 6) {
    case 0:
        return std::make_unique<OncoreEngine>(options, oncore);
    case 1:
        oncore.protocol = OncoreProtocol::Nmea;
        return std::make_unique<OncoreEngine>(options, oncore);
    case 2:
        oncore.protocol = OncoreProtocol::Loran;
        return std::make_unique<OncoreEngine>(options, oncore);
    case 3:
        return std::make_unique<NmeaEngine>(options);
    case 4: {
        UbxOptions ubx;
        ubx.nmeaAtStart = (selector & 1) != 0;
        return std::make_unique<UbxEngine>(options, ubx);
    }
    default: {
        UbxOptions ubx;
        return std::make_unique<UbxEngine>(options, ubx);
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t selector = data[0];
    const std::size_t cut = 1 + data[1] % 64;
    const ByteSpan input(data + 2, size - 2);

    std::unique_ptr<ReceiverEngine> engine = MakeEngine(selector);
    UtcInstant clock = FromCalendar(2024, 12, 31, 23, 59, 50);
    int reads = 0;
    for (std::size_t pos = 0; pos < input.size(); pos += cut) {
        // The engine keeps whatever line settings the bytes switched it to; they arrive at its settings.
        for (const Emission& e : engine->OnReceived(input.subspan(pos, std::min(cut, input.size() - pos)))) {
            CheckFrames(e.bytes);
        }
        if (++reads % 3 == 0 && reads <= 12) {
            clock += std::chrono::seconds(1);
            for (const Emission& e : engine->OnSecond(clock)) {
                CheckFrames(e.bytes);
            }
        }
    }
    engine->TakeLog();

    // The Telnet side: the same bytes as a client's stream, and the data escaping undone exactly.
    TelnetComPort telnet;
    telnet.Feed(input);
    telnet.TakeReplies();
    TelnetComPort fresh;
    const Bytes escaped = TelnetComPort::EscapeData(input);
    Check(fresh.Feed(escaped) == Bytes(input.begin(), input.end()));
    Check(fresh.TakeReplies().empty());
    return 0;
}
