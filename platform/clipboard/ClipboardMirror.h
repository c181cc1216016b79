// The desktop clipboard that the clipboard's Unicode text is mirrored to, and the process's own stand-in for
// one. The desktop's own (SDL2's) comes with the SDL display (platform/sdl/SdlClipboardMirror.h), which
// installs it when it starts; until then there is no mirror.
#pragma once

#include <mutex>
#include <optional>
#include <string>

// The desktop clipboard that Unicode text is mirrored to. Text crosses in the desktop's form, lines ending in
// LF: the clipboard turns CR LF into LF on the way out and a lone LF into CR LF on the way in.
class ClipboardMirror {
public:
    virtual ~ClipboardMirror() = default;
    // Puts text on the desktop clipboard (empty text: the clipboard holds no text).
    virtual void Publish(const std::u16string& text) = 0;
    // The desktop clipboard's text, empty when it has none; nullopt when there is no desktop clipboard.
    virtual std::optional<std::u16string> Fetch() = 0;
};

// A clipboard of the process's own, for tests and displays without a desktop clipboard.
class MemoryClipboardMirror : public ClipboardMirror {
public:
    void Publish(const std::u16string& text) override;
    std::optional<std::u16string> Fetch() override;
    // What another program would do: put text there.
    void SetDesktopText(const std::u16string& text);
    std::u16string DesktopText() const;
    int PublishCount() const;

private:
    mutable std::mutex m_mutex;
    std::u16string m_text;
    int m_publishCount = 0;
};
