// doliva-decode: the program's receive path without the program, for measuring how fast it decodes.
//
//   doliva-decode [--raw-window] [--protocol oncore|nmea|ubx] < stream
//       Reads the receiver's bytes in reads of 2048 bytes as the receive thread does, frames them with the
//       interface mode's framer and hands the messages, ten at a time, to the program's received-data
//       dispatch and its decoders. With --raw-window the raw-data window counts as open: the decoders build
//       its texts and every line goes to standard output. The protocol is found from the first bytes when
//       not given. Standard error gets one line: messages and bytes.
//   doliva-decode --wire CAPTURE [--repeat N]
//       Writes what a receiver would have sent for a capture of the shared fixtures (its comment lines gone,
//       a text capture's lines ended CR LF), N times over: the input both decoders of a comparison read.
#include "receiver/CPex32ReceiveThread.h"
#include "receiver/CThBufferList.h"
#include "receiver/CrossProcessSemaphore.h"
#include "receiver/GpsDataDispatch.h"
#include "receiver/MotorolaFramer.h"
#include "receiver/NmeaLineFramer.h"
#include "receiver/ReceiverState.h"
#include "receiver/UbxFramer.h"
#include "tools/decoder/DecodeHost.h"
#include "tools/simulator/ReplayEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kReadSize = 2048;

int Usage() {
    std::fprintf(stderr, "usage: doliva-decode [--raw-window] [--protocol oncore|nmea|ubx] < stream\n"
                         "       doliva-decode --wire CAPTURE [--repeat N]\n");
    return 2;
}

int WriteWire(const std::string& path, long repeat) {
    receiversim::Capture capture;
    std::string error;
    if (!receiversim::LoadCapture(path, receiversim::CaptureFormat::Auto, capture, error)) {
        std::fprintf(stderr, "doliva-decode: %s\n", error.c_str());
        return 1;
    }
    for (long i = 0; i < repeat; ++i) {
        if (std::fwrite(capture.body.data(), 1, capture.body.size(), stdout) != capture.body.size()) {
            return 1;
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The interface mode whose framer suits the bytes: Oncore "@@" messages, UBX frames, or NMEA lines.
int ModeOf(std::string_view bytes) {
    std::size_t oncore = 0, ubx = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        oncore += bytes[i] == '@' && bytes[i + 1] == '@';
        ubx += bytes[i] == '\xB5' && bytes[i + 1] == 'b';
    }
    return oncore > ubx ? kModeMotorolaBinary : ubx > 0 ? kModeUbloxUbx : kModeGenericNmea;
}

int ModeNamed(const std::string& name) {
    return name == "oncore" ? kModeMotorolaBinary
           : name == "ubx"  ? kModeUbloxUbx
           : name == "nmea" ? kModeGenericNmea
                            : -1;
}

class Decoder {
public:
    Decoder(int mode, bool rawWindow) : m_mode(mode), m_host(rawWindow ? RawSink() : nullptr) {}

    void Feed(const BYTE* data, std::size_t size) {
        m_messages.clear();
        if (m_mode == kModeMotorolaBinary) {
            m_motorola.Feed(data, size, m_messages, false);
        } else if (m_mode == kModeUbloxUbx) {
            m_ubx.Feed(data, size, m_messages);
        } else {
            m_nmea.Feed(data, size, m_messages);
        }
        for (const CString& message : m_messages) {
            g_receiveList.AddTail(message);
            if (g_receiveList.GetCount() >= kReceiveListCap) {
                Drain();
            }
        }
        m_count += static_cast<long long>(m_messages.size());
        Drain();
    }

    long long Count() const { return m_count; }

private:
    std::function<void(const CString&)> RawSink() {
        return [this](const CString& line) {
            const std::u16string& units = line.str();
            m_line.resize(units.size() + 1);
            std::transform(units.begin(), units.end(), m_line.begin(),
                           [](char16_t unit) { return static_cast<char>(unit); });
            m_line.back() = '\n';
            std::fwrite(m_line.data(), 1, m_line.size(), stdout);
        };
    }
    void Drain() {
        if (!g_receiveList.IsEmpty()) {
            OnGpsData(m_host, m_host, FALSE);
        }
    }

    int m_mode;
    DecodeHost m_host;
    MotorolaFramer m_motorola;
    UbxFramer m_ubx;
    NmeaLineFramer m_nmea;
    std::vector<CString> m_messages;
    std::string m_line;
    long long m_count = 0;
};

} // namespace

int main(int argc, char** argv) {
    bool rawWindow = false;
    int mode = -1;
    std::string wire;
    long repeat = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--raw-window") {
            rawWindow = true;
        } else if (arg == "--protocol" && i + 1 < argc) {
            mode = ModeNamed(argv[++i]);
            if (mode < 0) {
                return Usage();
            }
        } else if (arg == "--wire" && i + 1 < argc) {
            wire = argv[++i];
        } else if (arg == "--repeat" && i + 1 < argc) {
            repeat = std::strtol(argv[++i], nullptr, 10);
        } else {
            return Usage();
        }
    }
    if (!wire.empty()) {
        return WriteWire(wire, repeat);
    }

    std::vector<BYTE> head(64 * 1024);
    std::size_t headSize = 0;
    for (ssize_t n;
         headSize < head.size() && (n = read(0, head.data() + headSize, head.size() - headSize)) > 0;) {
        headSize += static_cast<std::size_t>(n);
    }
    if (mode < 0) {
        mode = ModeOf(std::string_view(reinterpret_cast<const char*>(head.data()), headSize));
    }
    g_interfaceMode = mode;
    g_initializing = 0;
    CreateLinkSemaphores();
    ReleaseCrossProcessSemaphore(g_receiveGate, 1, nullptr);

    Decoder decoder(mode, rawWindow);
    long long bytes = 0;
    for (std::size_t at = 0; at < headSize; at += kReadSize) {
        const std::size_t n = std::min(kReadSize, headSize - at);
        decoder.Feed(head.data() + at, n);
        bytes += static_cast<long long>(n);
    }
    BYTE buffer[kReadSize];
    for (ssize_t n; (n = read(0, buffer, sizeof buffer)) > 0;) {
        decoder.Feed(buffer, static_cast<std::size_t>(n));
        bytes += n;
    }
    std::fflush(stdout);
    std::fprintf(stderr, "%lld messages, %lld bytes\n", decoder.Count(), bytes);
    DestroyLinkSemaphores();
    return 0;
}
