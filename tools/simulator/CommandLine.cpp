#include "tools/simulator/CommandLine.h"

#include "tools/simulator/NmeaEngine.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace receiversim {

namespace {

bool ToNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end != nullptr && *end == '\0' && std::isfinite(value);
}

bool ToInteger(const std::string& text, long min, long max, long& value) {
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return !text.empty() && end != nullptr && *end == '\0' && value >= min && value <= max;
}

} // namespace

std::string UsageText() {
    return R"(Usage: doliva-receiver-sim [options]

A simulated GPS timing receiver for trying the program without hardware. It prints one line with what to
connect the program to (a pseudo-terminal path, or rfc2217://host:port), logs one line per message it
receives and sends on stderr, and runs until interrupted (Ctrl-C).

Receiver:
  --protocol oncore|nmea|ubx  Motorola Oncore binary (default), generic NMEA, or u-blox UBX
  --channels 6|8|12           Oncore channel count (default 8)
  --mode binary|nmea|loran    the Oncore's protocol at start (default binary)
  --ubx-nmea                  the u-blox starts with NMEA output instead of UBX
  --rate BAUD                 line rate (default 9600; 4800 for NMEA, 1200 for LORAN)
  --data-bits 7|8, --parity none|odd|even|mark|space
  --offset SECONDS            reported GPS time minus the real clock, e.g. 0.250 or -2
  --delay MS                  the second's messages leave this long after the 1PPS edge (default 150)
  --no-traim, --dgps          Oncore without T-RAIM, with DGPS
  --polled                    the Oncore sends its position message only when asked
  --model-number TEXT, --copyright TEXT, --version TEXT, --revision TEXT
                              the Oncore's identity answer
  --satellites N              satellites in view (default 9, at most 16)
  --position LAT,LON,HEIGHT   degrees, degrees, metres above the ellipsoid
  --replay FILE               replay a recorded capture instead ('#' lines dropped; text lines sent
                              with CR LF, binary bytes unchanged), paced at --rate
  --loop                      replay again from the start when the capture ends
  --format auto|text|binary   how to read the capture (default auto)

Connection:
  --pty                       a pseudo-terminal, data only (default): DOLIVA_COM1=/dev/pts/N
  --rfc2217 HOST:PORT         an RFC 2217 server (port 0: any free port), with the 1PPS on a modem line
  --pps dcd|cts|dsr|none      the 1PPS line (default dcd)
  --pulse normal|short|100hz  100 ms high, 30 microseconds high, or 100 pulses a second
  --no-pace                   write each message at once instead of at the line rate
  --quiet                     no log
  --help                      this text

Examples:
  doliva-receiver-sim --protocol oncore --channels 12 --rfc2217 127.0.0.1:0 --pps dcd
  doliva-receiver-sim --protocol ubx --offset 0.250 --pty
  doliva-receiver-sim --replay oncore-m12.log --rate 9600 --loop --rfc2217 127.0.0.1:2217
)";
}

bool ParseCommandLine(const std::vector<std::string>& args, SimulatorConfig& config, std::string& error) {
    std::string mode = "binary";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        auto bad = [&](const std::string& v) {
            error = "bad value for " + arg + ": " + v;
            return false;
        };
        std::string v;
        long n = 0;
        double d = 0;
        if (arg == "--help" || arg == "-h") {
            config.help = true;
        } else if (arg == "--quiet" || arg == "-q") {
            config.quiet = true;
        } else if (arg == "--protocol") {
            if (!value(v)) {
                return false;
            }
            if (v != "oncore" && v != "nmea" && v != "ubx") {
                return bad(v);
            }
            config.protocol = v;
        } else if (arg == "--channels") {
            if (!value(v)) {
                return false;
            }
            if (v != "6" && v != "8" && v != "12") {
                return bad(v);
            }
            config.oncore.channels = std::stoi(v);
        } else if (arg == "--mode") {
            if (!value(v)) {
                return false;
            }
            if (v != "binary" && v != "nmea" && v != "loran") {
                return bad(v);
            }
            mode = v;
        } else if (arg == "--ubx-nmea") {
            config.ubx.nmeaAtStart = true;
        } else if (arg == "--rate") {
            if (!value(v)) {
                return false;
            }
            if (!ToInteger(v, 50, 4'000'000, n)) {
                return bad(v);
            }
            config.engine.line.baud = static_cast<std::uint32_t>(n);
            config.rateGiven = true;
        } else if (arg == "--data-bits") {
            if (!value(v)) {
                return false;
            }
            if (v != "7" && v != "8") {
                return bad(v);
            }
            config.engine.line.dataBits = static_cast<std::uint8_t>(std::stoi(v));
        } else if (arg == "--parity") {
            if (!value(v)) {
                return false;
            }
            if (v == "none") {
                config.engine.line.parity = Parity::None;
            } else if (v == "odd") {
                config.engine.line.parity = Parity::Odd;
            } else if (v == "even") {
                config.engine.line.parity = Parity::Even;
            } else if (v == "mark") {
                config.engine.line.parity = Parity::Mark;
            } else if (v == "space") {
                config.engine.line.parity = Parity::Space;
            } else {
                return bad(v);
            }
        } else if (arg == "--offset") {
            if (!value(v)) {
                return false;
            }
            if (!ToNumber(v, d) || std::fabs(d) > 1e9) {
                return bad(v);
            }
            config.engine.timeOffset = std::chrono::nanoseconds(std::llround(d * 1e9));
        } else if (arg == "--delay") {
            if (!value(v)) {
                return false;
            }
            if (!ToInteger(v, 0, 999, n)) {
                return bad(v);
            }
            config.engine.messageDelay = std::chrono::milliseconds(n);
        } else if (arg == "--no-traim") {
            config.oncore.traim = false;
        } else if (arg == "--dgps") {
            config.oncore.dgps = true;
        } else if (arg == "--polled") {
            config.oncore.continuousAtStart = false;
        } else if (arg == "--model-number") {
            if (!value(config.oncore.modelNumber)) {
                return false;
            }
        } else if (arg == "--copyright") {
            if (!value(config.oncore.copyright)) {
                return false;
            }
        } else if (arg == "--version") {
            if (!value(config.oncore.softwareVersion)) {
                return false;
            }
        } else if (arg == "--revision") {
            if (!value(config.oncore.softwareRevision)) {
                return false;
            }
        } else if (arg == "--satellites") {
            if (!value(v)) {
                return false;
            }
            if (!ToInteger(v, 0, 16, n)) {
                return bad(v);
            }
            config.engine.satellites = static_cast<int>(n);
        } else if (arg == "--position") {
            if (!value(v)) {
                return false;
            }
            std::istringstream in(v);
            std::string lat, lon, height;
            double la = 0, lo = 0, h = 0;
            if (!std::getline(in, lat, ',') || !std::getline(in, lon, ',') || !std::getline(in, height) ||
                !ToNumber(lat, la) || !ToNumber(lon, lo) || !ToNumber(height, h) || std::fabs(la) > 90 ||
                std::fabs(lo) > 180) {
                return bad(v);
            }
            config.engine.heightMsl += h - config.engine.heightEllipsoid;
            config.engine.latitude = la;
            config.engine.longitude = lo;
            config.engine.heightEllipsoid = h;
        } else if (arg == "--replay") {
            if (!value(config.replayFile)) {
                return false;
            }
        } else if (arg == "--loop") {
            config.replayLoop = true;
        } else if (arg == "--format") {
            if (!value(v)) {
                return false;
            }
            if (v == "auto") {
                config.replayFormat = CaptureFormat::Auto;
            } else if (v == "text") {
                config.replayFormat = CaptureFormat::Text;
            } else if (v == "binary") {
                config.replayFormat = CaptureFormat::Binary;
            } else {
                return bad(v);
            }
        } else if (arg == "--pty") {
            config.session.transport = TransportKind::Pty;
        } else if (arg == "--rfc2217") {
            if (!value(v)) {
                return false;
            }
            const std::size_t colon = v.rfind(':');
            if (colon == std::string::npos || !ToInteger(v.substr(colon + 1), 0, 65535, n)) {
                return bad(v);
            }
            config.session.transport = TransportKind::Rfc2217;
            config.session.host = v.substr(0, colon);
            config.session.port = static_cast<std::uint16_t>(n);
        } else if (arg == "--pps") {
            if (!value(v)) {
                return false;
            }
            if (v == "dcd") {
                config.session.pps = PpsLine::Dcd;
            } else if (v == "cts") {
                config.session.pps = PpsLine::Cts;
            } else if (v == "dsr") {
                config.session.pps = PpsLine::Dsr;
            } else if (v == "none") {
                config.session.pps = PpsLine::None;
            } else {
                return bad(v);
            }
        } else if (arg == "--pulse") {
            if (!value(v)) {
                return false;
            }
            if (v == "normal") {
                config.session.loop.pulse = PulseMode::Normal;
            } else if (v == "short") {
                config.session.loop.pulse = PulseMode::Short;
            } else if (v == "100hz") {
                config.session.loop.pulse = PulseMode::Hz100;
            } else {
                return bad(v);
            }
        } else if (arg == "--no-pace") {
            config.session.loop.pace = false;
        } else {
            error = "unknown option: " + arg;
            return false;
        }
    }
    config.oncore.protocol = mode == "nmea"    ? OncoreProtocol::Nmea
                             : mode == "loran" ? OncoreProtocol::Loran
                                               : OncoreProtocol::Binary;
    if (!config.rateGiven && config.replayFile.empty()) {
        if (config.protocol == "nmea" || (config.protocol == "oncore" && mode == "nmea")) {
            config.engine.line.baud = 4800;
        } else if (config.protocol == "oncore" && mode == "loran") {
            config.engine.line.baud = 1200;
        }
    }
    return true;
}

std::unique_ptr<ReceiverEngine> MakeEngine(const SimulatorConfig& config, std::string& error) {
    if (!config.replayFile.empty()) {
        Capture capture;
        if (!LoadCapture(config.replayFile, config.replayFormat, capture, error)) {
            return nullptr;
        }
        return std::make_unique<ReplayEngine>(config.engine, std::move(capture), config.replayLoop);
    }
    if (config.protocol == "nmea") {
        return std::make_unique<NmeaEngine>(config.engine);
    }
    if (config.protocol == "ubx") {
        return std::make_unique<UbxEngine>(config.engine, config.ubx);
    }
    return std::make_unique<OncoreEngine>(config.engine, config.oncore);
}

} // namespace receiversim
