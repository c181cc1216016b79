// Replays a recorded capture in the shared fixtures' format, paced at the line rate: '#' comment lines are
// dropped; a text capture's lines go out with CR LF; a binary capture's bytes go out as they are.
#pragma once

#include "tools/simulator/ReceiverEngine.h"

#include <string>

namespace receiversim {

enum class CaptureFormat { Auto, Text, Binary };

struct Capture {
    Bytes body;        // what goes on the wire
    bool text = false; // lines re-ended with CR LF
};

// Binary captures lose only their leading comment block: their payloads hold 0x0A and '#' bytes.
Capture ParseCapture(ByteSpan file, CaptureFormat format = CaptureFormat::Auto);
bool LoadCapture(const std::string& path, CaptureFormat format, Capture& capture, std::string& error);

class ReplayEngine : public ReceiverEngine {
public:
    ReplayEngine(const EngineOptions& options, Capture capture, bool loop);
    std::string ProtocolState() const override { return Finished() ? "replay finished" : "replay"; }
    std::string Name() const override { return capture_.text ? "text replay" : "binary replay"; }
    bool Finished() const { return !loop_ && position_ >= capture_.body.size(); }
    std::size_t Position() const { return position_; }

protected:
    void HandleBytes(ByteSpan bytes) override;
    // Each second sends one second's worth of characters at the line rate.
    void HandleSecond() override;

private:
    Capture capture_;
    bool loop_;
    std::size_t position_ = 0;
};

} // namespace receiversim
