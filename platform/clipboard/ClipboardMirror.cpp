#include "platform/clipboard/ClipboardMirror.h"

#include "platform/base/CodePage.h"

#include <SDL.h>

void SdlClipboardMirror::Publish(const std::u16string& text) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return;
    }
    SDL_SetClipboardText(Utf16ToUtf8(text).c_str());
}

std::optional<std::u16string> SdlClipboardMirror::Fetch() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        return std::nullopt;
    }
    char* text = SDL_GetClipboardText();
    if (!text) {
        return std::u16string();
    }
    std::u16string wide = Utf8ToUtf16(text);
    SDL_free(text);
    return wide;
}

void MemoryClipboardMirror::Publish(const std::u16string& text) {
    std::lock_guard lock(m_mutex);
    m_text = text;
    ++m_publishCount;
}

std::optional<std::u16string> MemoryClipboardMirror::Fetch() {
    std::lock_guard lock(m_mutex);
    return m_text;
}

void MemoryClipboardMirror::SetDesktopText(const std::u16string& text) {
    std::lock_guard lock(m_mutex);
    m_text = text;
}

std::u16string MemoryClipboardMirror::DesktopText() const {
    std::lock_guard lock(m_mutex);
    return m_text;
}

int MemoryClipboardMirror::PublishCount() const {
    std::lock_guard lock(m_mutex);
    return m_publishCount;
}
