#include "tests/support/TestSupport.h"
#include "tests/tools/SimTestSupport.h"
#include "tests/tools/TelnetTestClient.h"
#include "tools/simulator/ReplayEngine.h"
#include "tools/simulator/SimulatorSession.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <termios.h>
#include <thread>

using namespace receiversim;
using namespace simtest;
using namespace std::chrono_literals;

namespace {

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::filesystem::path CapturePath(const std::string& name) {
    return testsupport::SharedFixturesDir() / "receiver-captures" / name;
}

// What a capture should put on the wire, worked out line by line here.
Bytes ExpectedText(const Bytes& file) {
    std::string out;
    std::string line;
    auto finish = [&] {
        while (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line[0] != '#') {
            out += line + "\r\n";
        }
        line.clear();
    };
    for (std::uint8_t b : file) {
        if (b == '\n') {
            finish();
        } else {
            line += static_cast<char>(b);
        }
    }
    finish();
    return ToBytes(out);
}

Bytes ExpectedBinary(const Bytes& file, std::size_t headerLines) {
    std::size_t pos = 0;
    for (std::size_t i = 0; i < headerLines; ++i) {
        pos =
            static_cast<std::size_t>(
                std::find(file.begin() + static_cast<std::ptrdiff_t>(pos), file.end(), '\n') - file.begin()) +
            1;
    }
    return Bytes(file.begin() + static_cast<std::ptrdiff_t>(pos), file.end());
}

std::unique_ptr<SimulatorSession> StartReplay(const Capture& capture, TransportKind kind,
                                              std::uint32_t baud) {
    EngineOptions engine;
    engine.line.baud = baud;
    SessionOptions options;
    options.transport = kind;
    options.loop.manualSeconds = true;
    std::string error;
    auto session =
        SimulatorSession::Start(std::make_unique<ReplayEngine>(engine, capture, false), options, error);
    EXPECT_TRUE(session) << error;
    return session;
}

} // namespace

TEST(Replay, BinaryCapturesLoseOnlyTheirLeadingComments) {
    const std::string file = "# receiver\n# place\n@@Ea\x0a#\x0d\x0a\xff\n# not a comment\n";
    const Capture c = ParseCapture(ToBytes(file));
    EXPECT_FALSE(c.text);
    EXPECT_EQ(ToBytes("@@Ea\x0a#\x0d\x0a\xff\n# not a comment\n"), c.body);
}

TEST(Replay, TextCapturesLoseEveryCommentAndEndLinesWithCrLf) {
    const std::string file = "# receiver\n$GPGGA,1*00\n# mid-file note\n$GPRMC,2*00\r\n\n$GPZDA,3*00";
    const Capture c = ParseCapture(ToBytes(file));
    EXPECT_TRUE(c.text);
    EXPECT_EQ(ToBytes("$GPGGA,1*00\r\n$GPRMC,2*00\r\n$GPZDA,3*00\r\n"), c.body);
    // Forced to binary, the same file goes out as it is after its header.
    EXPECT_EQ(ToBytes(file.substr(11)), ParseCapture(ToBytes(file), CaptureFormat::Binary).body);
}

TEST(Replay, SharedCapturesAreReadAsTheirKindAndKeepTheirBytes) {
    REQUIRE_SHARED_FIXTURES();
    struct Case {
        const char* name;
        bool text;
        std::size_t headerLines; // binary ones
    };
    const Case cases[] = {
        {"oncore-binary.log", false, 21},  {"oncore-m12.log", false, 12}, {"ublox-aek-4t.log", false, 9},
        {"u-blox-m8t-time.log", false, 6}, {"bu353s4.log", true, 0},      {"oncore.log", true, 0},
        {"ublox-lea-5h.log", true, 0},
    };
    for (const Case& c : cases) {
        const Bytes file = ReadFile(CapturePath(c.name));
        ASSERT_FALSE(file.empty()) << c.name;
        Capture capture;
        std::string error;
        ASSERT_TRUE(LoadCapture(CapturePath(c.name).string(), CaptureFormat::Auto, capture, error)) << error;
        EXPECT_EQ(c.text, capture.text) << c.name;
        EXPECT_EQ(c.text ? ExpectedText(file) : ExpectedBinary(file, c.headerLines), capture.body) << c.name;
    }
}

TEST(Replay, BinaryCaptureOverRfc2217ArrivesUnchangedAtTheLineRate) {
    REQUIRE_SHARED_FIXTURES();
    Capture capture;
    std::string error;
    ASSERT_TRUE(LoadCapture(CapturePath("oncore-m12.log").string(), CaptureFormat::Auto, capture, error))
        << error;
    ASSERT_NE(capture.body.end(),
              std::find(capture.body.begin(), capture.body.end(), 0xFF)); // doubled on the way
    auto session = StartReplay(capture, TransportKind::Rfc2217, 115200);
    ASSERT_TRUE(session);
    TelnetTestClient client(session->Port());
    ASSERT_TRUE(client.Negotiate());
    ASSERT_TRUE(client.SetBaud(115200));
    const auto start = std::chrono::steady_clock::now();
    session->TriggerSecond(FromCalendar(2026, 1, 21, 7, 33, 0));
    ASSERT_TRUE(client.PumpUntil([&] { return client.data.size() >= capture.body.size(); }, 3s));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(capture.body, client.data);
    // 11520 characters a second: never faster than the line.
    EXPECT_GE(took, std::chrono::milliseconds(capture.body.size() * 1000 / 11520 * 8 / 10));
    client.Pump(200ms);
    EXPECT_EQ(capture.body.size(), client.data.size());
}

TEST(Replay, TextCaptureOverAPtyArrivesWithCrLf) {
    REQUIRE_SHARED_FIXTURES();
    Capture capture;
    std::string error;
    ASSERT_TRUE(LoadCapture(CapturePath("ublox-lea-5h.log").string(), CaptureFormat::Auto, capture, error))
        << error;
    auto session = StartReplay(capture, TransportKind::Pty, 115200);
    ASSERT_TRUE(session);
    const int fd = open(session->Target().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    cfsetispeed(&t, B115200);
    cfsetospeed(&t, B115200);
    tcsetattr(fd, TCSANOW, &t);
    std::this_thread::sleep_for(50ms); // the simulator notices the open
    session->TriggerSecond(FromCalendar(2010, 8, 23, 8, 55, 0));
    const Bytes got = ReadFor(fd, 3s, capture.body.size());
    EXPECT_EQ(ExpectedText(ReadFile(CapturePath("ublox-lea-5h.log"))), got);
    close(fd);
}
