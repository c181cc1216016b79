// A bounds-checked little-endian cursor over resource bytes, shared by the resource parsers. Every read
// fails (and stays failed) rather than run past the end.
#pragma once

#include "platform/base/Win32Types.h"
#include "platform/resources/ResFile.h"

#include <cstddef>
#include <string>

class ResourceReader {
public:
    ResourceReader(const void* data, size_t size)
        : m_data(static_cast<const BYTE*>(data)), m_size(data ? size : 0) {}

    bool Ok() const { return m_ok; }
    size_t Offset() const { return m_offset; }
    size_t Remaining() const { return m_ok ? m_size - m_offset : 0; }
    const BYTE* Here() const { return m_data + m_offset; }

    bool Skip(size_t bytes) {
        if (!m_ok || bytes > m_size - m_offset) {
            return m_ok = false;
        }
        m_offset += bytes;
        return true;
    }
    // Aligns to a multiple of `unit` from the start. Padding cut off at the end lands on the end, where the
    // next read fails.
    bool Align(size_t unit) {
        size_t pad = (unit - m_offset % unit) % unit;
        if (pad > m_size - m_offset) {
            m_offset = m_size;
            return m_ok;
        }
        m_offset += pad;
        return m_ok;
    }
    BYTE Byte() {
        if (!Skip(1)) {
            return 0;
        }
        return m_data[m_offset - 1];
    }
    WORD Word() {
        if (!Skip(2)) {
            return 0;
        }
        return static_cast<WORD>(m_data[m_offset - 2] | (m_data[m_offset - 1] << 8));
    }
    DWORD Dword() {
        WORD low = Word();
        WORD high = Word();
        return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
    }
    // A NUL-terminated UTF-16 text; a missing terminator fails.
    std::u16string Text() {
        std::u16string text;
        while (m_ok) {
            WORD unit = Word();
            if (!m_ok || unit == 0) {
                break;
            }
            text.push_back(static_cast<char16_t>(unit));
        }
        return text;
    }
    // A name in template form: 0xFFFF then an ordinal, or a NUL-terminated text.
    ResName NameOrOrdinal() {
        ResName name;
        if (Remaining() >= 2 && Here()[0] == 0xFF && Here()[1] == 0xFF) {
            Word();
            name.ordinal = Word();
            return name;
        }
        name.isOrdinal = false;
        name.text = Text();
        return name;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_ok = true;
};
