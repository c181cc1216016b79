#include "platform/clipboard/ClipboardMirror.h"

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
