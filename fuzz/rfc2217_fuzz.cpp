// The RFC 2217 client's reading of a port server's bytes: any stream, cut anywhere, must parse without
// reading out of bounds; cutting it differently must not change what comes out; the answers it sends must be
// well-formed negotiation; and serial data escaped by the client must read back unchanged.
#include "platform/serial/Rfc2217Protocol.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

namespace r = doliva::serial::rfc2217;

bool Same(const r::ServerInput& a, const r::ServerInput& b) {
    return a.data == b.data && a.reply == b.reply && a.modemStates == b.modemStates &&
           a.lineStates == b.lineStates && a.suspended == b.suspended;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the cut: the rest goes in pieces of that many bytes (at least one).
    const std::size_t piece = data[0] == 0 ? 1 : data[0];
    const uint8_t* stream = data + 1;
    const std::size_t length = size - 1;

    r::Client whole;
    whole.Greeting();
    r::ServerInput wholeOut;
    whole.Parse(stream, length, wholeOut);

    r::Client cut;
    cut.Greeting();
    r::ServerInput cutOut;
    for (std::size_t at = 0; at < length; at += piece) {
        cut.Parse(stream + at, std::min(piece, length - at), cutOut);
    }
    if (!Same(wholeOut, cutOut) || whole.ComPortAccepted() != cut.ComPortAccepted() ||
        whole.ConfirmedBaudrate() != cut.ConfirmedBaudrate()) {
        std::abort();
    }
    // Answers are IAC WILL/WONT/DO/DONT option triples, nothing else.
    if (wholeOut.reply.size() % 3 != 0) {
        std::abort();
    }
    for (std::size_t i = 0; i < wholeOut.reply.size(); i += 3) {
        if (wholeOut.reply[i] != r::kIac || wholeOut.reply[i + 1] < r::kWill) {
            std::abort();
        }
    }
    // Our own escaping reads back as the same data.
    std::vector<std::uint8_t> escaped;
    r::Client::AppendData(escaped, stream, length);
    r::Client reader;
    r::ServerInput readBack;
    reader.Parse(escaped.data(), escaped.size(), readBack);
    if (readBack.data != std::vector<std::uint8_t>(stream, stream + length) || !readBack.reply.empty()) {
        std::abort();
    }
    return 0;
}
