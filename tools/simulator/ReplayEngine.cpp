#include "tools/simulator/ReplayEngine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace receiversim {

namespace {

EngineOptions WithoutDelay(EngineOptions options) {
    options.messageDelay = std::chrono::milliseconds(0);
    return options;
}

bool IsTextByte(std::uint8_t b) {
    return b == '\t' || b == '\n' || b == '\r' || (b >= 0x20 && b < 0x7F);
}

} // namespace

Capture ParseCapture(ByteSpan file, CaptureFormat format) {
    // The leading comment block.
    std::size_t start = 0;
    while (start < file.size() && file[start] == '#') {
        const auto lf = std::find(file.begin() + static_cast<std::ptrdiff_t>(start), file.end(), '\n');
        start = lf == file.end() ? file.size() : static_cast<std::size_t>(lf - file.begin()) + 1;
    }
    const ByteSpan rest = file.subspan(start);
    Capture capture;
    capture.text = format == CaptureFormat::Text ||
                   (format == CaptureFormat::Auto && std::all_of(rest.begin(), rest.end(), IsTextByte));
    if (!capture.text) {
        capture.body.assign(rest.begin(), rest.end());
        return capture;
    }
    std::size_t pos = 0;
    while (pos < rest.size()) {
        const auto lf = std::find(rest.begin() + static_cast<std::ptrdiff_t>(pos), rest.end(), '\n');
        const std::size_t end = static_cast<std::size_t>(lf - rest.begin());
        std::size_t lineEnd = end;
        while (lineEnd > pos && rest[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        if (lineEnd > pos && rest[pos] != '#') {
            capture.body.insert(capture.body.end(), rest.begin() + static_cast<std::ptrdiff_t>(pos),
                                rest.begin() + static_cast<std::ptrdiff_t>(lineEnd));
            capture.body.push_back('\r');
            capture.body.push_back('\n');
        }
        pos = end + 1;
    }
    return capture;
}

bool LoadCapture(const std::string& path, CaptureFormat format, Capture& capture, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    capture = ParseCapture(file, format);
    if (capture.body.empty()) {
        error = path + ": nothing to replay";
        return false;
    }
    return true;
}

ReplayEngine::ReplayEngine(const EngineOptions& options, Capture capture, bool loop)
    : ReceiverEngine(WithoutDelay(options)), capture_(std::move(capture)), loop_(loop) {}

void ReplayEngine::HandleBytes(ByteSpan bytes) {
    Note("<- " + Printable(bytes) + " (replaying: ignored)");
}

void ReplayEngine::HandleSecond() {
    const std::size_t size = capture_.body.size();
    std::size_t budget = std::max<std::size_t>(1, static_cast<std::size_t>(Line().CharactersPerSecond()));
    while (budget > 0 && size > 0) {
        if (position_ >= size) {
            if (!loop_) {
                return;
            }
            position_ = 0;
            Note("replay starts again");
        }
        const std::size_t n = std::min(budget, size - position_);
        const auto from = capture_.body.begin() + static_cast<std::ptrdiff_t>(position_);
        Send(Bytes(from, from + static_cast<std::ptrdiff_t>(n)), "replay bytes " + std::to_string(position_) +
                                                                     "-" + std::to_string(position_ + n - 1) +
                                                                     " of " + std::to_string(size));
        position_ += n;
        budget -= n;
    }
}

} // namespace receiversim
