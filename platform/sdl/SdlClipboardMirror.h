// The desktop clipboard of SDL2, which the SDL display installs as the clipboard's mirror when it starts.
#pragma once

#include "platform/clipboard/ClipboardMirror.h"

// It does nothing while no SDL display runs. SDL wants its video calls on the thread that runs the display,
// which is where the program uses the clipboard.
class SdlClipboardMirror : public ClipboardMirror {
public:
    void Publish(const std::u16string& text) override;
    std::optional<std::u16string> Fetch() override;
};
