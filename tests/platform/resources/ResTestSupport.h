// Helpers of the resource tests: the compiled test script as bytes, and a builder of small .res images.
#pragma once

#include "platform/base/Win32Types.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The .res file the build made from test_resources.rc.
inline std::vector<BYTE> CompiledTestRes() {
    std::ifstream in(DOLIVA_BINARY_DIR "/tests/resources/test_platform_resources/test_resources.res",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ResBuilder {
public:
    ResBuilder() {
        // The empty leading entry.
        Dword(0);
        Dword(32);
        Word(0xFFFF);
        Word(0);
        Word(0xFFFF);
        Word(0);
        m_bytes.resize(32, 0);
    }
    // An entry with ordinal or text type and name (text when the ordinal is 0).
    ResBuilder& Add(WORD typeOrdinal, const std::u16string& typeText, WORD nameOrdinal,
                    const std::u16string& nameText, const std::vector<BYTE>& data, WORD language = 0x409) {
        std::vector<BYTE> header;
        auto put16 = [&](WORD v) {
            header.push_back(static_cast<BYTE>(v));
            header.push_back(static_cast<BYTE>(v >> 8));
        };
        auto putName = [&](WORD ordinal, const std::u16string& text) {
            if (ordinal) {
                put16(0xFFFF);
                put16(ordinal);
            } else {
                for (char16_t c : text) {
                    put16(c);
                }
                put16(0);
            }
        };
        putName(typeOrdinal, typeText);
        putName(nameOrdinal, nameText);
        while ((header.size() + 8) % 4) {
            header.push_back(0);
        }
        size_t start = m_bytes.size();
        Dword(static_cast<DWORD>(data.size()));
        Dword(static_cast<DWORD>(8 + header.size() + 16));
        m_bytes.insert(m_bytes.end(), header.begin(), header.end());
        Dword(0);
        Word(0x1030);
        Word(language);
        Dword(0);
        Dword(0);
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
        while ((m_bytes.size() - start) % 4) {
            m_bytes.push_back(0);
        }
        return *this;
    }
    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    void Word(WORD v) {
        m_bytes.push_back(static_cast<BYTE>(v));
        m_bytes.push_back(static_cast<BYTE>(v >> 8));
    }
    void Dword(DWORD v) {
        Word(static_cast<WORD>(v));
        Word(static_cast<WORD>(v >> 16));
    }
    std::vector<BYTE> m_bytes;
};
