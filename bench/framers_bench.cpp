// Bytes per second through each receiver framer, on recorded receiver traffic when the shared captures lie
// beside the checkout, and on a made-up NMEA stream always.
#include "receiver/MotorolaFramer.h"
#include "receiver/NmeaLineFramer.h"
#include "receiver/UbxFramer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::filesystem::path CapturesDir() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "shared" / "fixtures" /
           "receiver-captures";
}

// The capture's bytes without its leading '#' lines; text captures get CR LF line ends and lose every '#'
// line, as a receiver would send them.
std::string LoadCapture(const std::string& name, bool text) {
    std::ifstream in(CapturesDir() / name, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out;
    std::size_t at = 0;
    bool header = true;
    while (at < file.size()) {
        std::size_t end = file.find('\n', at);
        end = end == std::string::npos ? file.size() : end + 1;
        const bool comment = file[at] == '#';
        if (!(header || text) || !comment) {
            if (!text) {
                out.append(file, at, std::string::npos);
                break;
            }
            std::string line = file.substr(at, end - at);
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
                line.pop_back();
            }
            out += line + "\r\n";
        }
        header = header && comment;
        at = end;
    }
    return out;
}

template <class Framer>
void RunFramer(benchmark::State& state, const std::string& stream, std::size_t readSize) {
    const auto* data = reinterpret_cast<const BYTE*>(stream.data());
    std::vector<CString> messages;
    for (auto _ : state) {
        Framer framer;
        messages.clear();
        for (std::size_t at = 0; at < stream.size(); at += readSize) {
            framer.Feed(data + at, std::min(readSize, stream.size() - at), messages);
        }
        benchmark::DoNotOptimize(messages.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(stream.size()));
}

template <class Framer>
void Register(const std::string& name, std::string stream) {
    if (stream.empty()) {
        return;
    }
    for (std::size_t readSize : {std::size_t{64}, std::size_t{2048}}) {
        benchmark::RegisterBenchmark(
            (name + "/read" + std::to_string(readSize)).c_str(),
            [stream, readSize](benchmark::State& state) { RunFramer<Framer>(state, stream, readSize); });
    }
}

const bool registered = [] {
    std::string made;
    for (int i = 0; i < 200; ++i) {
        made += "$GPGGA,030719.000,3747.0873,S,17518.8938,E,1,08,1.1,59.9,M,23.7,M,,0000*7D\r\n";
    }
    Register<NmeaLineFramer>("BM_NmeaFramer/synthetic", made);
    if (std::filesystem::is_directory(CapturesDir())) {
        Register<NmeaLineFramer>("BM_NmeaFramer/bu353s4", LoadCapture("bu353s4.log", true));
        Register<NmeaLineFramer>("BM_NmeaFramer/ublox-lea-5h", LoadCapture("ublox-lea-5h.log", true));
        Register<MotorolaFramer>("BM_MotorolaFramer/oncore-m12", LoadCapture("oncore-m12.log", false));
        Register<MotorolaFramer>("BM_MotorolaFramer/oncore-binary", LoadCapture("oncore-binary.log", false));
        Register<UbxFramer>("BM_UbxFramer/u-blox-m8t-time", LoadCapture("u-blox-m8t-time.log", false));
        Register<UbxFramer>("BM_UbxFramer/ublox-aek-4t", LoadCapture("ublox-aek-4t.log", false));
    }
    return true;
}();

} // namespace
