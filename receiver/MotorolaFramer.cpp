#include "receiver/MotorolaFramer.h"

#include "receiver/OncoreMessageTable.h"

namespace {

// The check of the `length` units of a candidate message at `start`.
bool IsWholeMessage(const std::u16string& line, std::size_t start, std::size_t length) {
    const std::size_t end = start + length;
    if (line[end - 2] != 0x0D || line[end - 1] != 0x0A) {
        return false;
    }
    if (line.compare(start, 4, u"@@Eq") == 0) {
        return true;
    }
    unsigned sum = 0;
    for (std::size_t i = start; i < end - 3; ++i) {
        sum ^= line[i];
    }
    return sum == line[end - 3];
}

std::size_t LengthAt(const std::u16string& line, std::size_t start) {
    return line.size() - start > 6 ? OncoreMessageLength(line[start + 2], line[start + 3]) : 0;
}

// A whole message that ends with the line's last unit and starts after its first: it shows that what the
// line began with was no message (a false "@@", a message cut short) without waiting for that one's length.
std::size_t FindMessageEndingHere(const std::u16string& line) {
    for (std::size_t at = line.find(u"@@", 1); at != std::u16string::npos; at = line.find(u"@@", at + 1)) {
        const std::size_t length = LengthAt(line, at);
        if (length != 0 && line.size() - at == length && IsWholeMessage(line, at, length)) {
            return at;
        }
    }
    return std::u16string::npos;
}

} // namespace

void MotorolaFramer::Feed(const BYTE* data, std::size_t size, std::vector<CString>& messages,
                          bool firmwareUpload) {
    for (std::size_t i = 0; i < size; ++i) {
        const BYTE byte = data[i];
        m_line.push_back(byte);
        if (firmwareUpload) {
            if (byte == 0x0A || m_line[0] <= 27) {
                messages.emplace_back(std::move(m_line));
                m_line.clear();
            } else if (m_line.size() >= kMaxLine) {
                m_line.clear();
            }
            continue;
        }
        if (byte == 0x0A) {
            TakeMessages(messages);
        } else if (m_line.size() >= kMaxLine) {
            m_line.clear();
        }
    }
}

void MotorolaFramer::TakeMessages(std::vector<CString>& messages) {
    for (;;) {
        const std::size_t start = m_line.find(u"@@");
        if (start == std::u16string::npos) {
            m_line.clear();
            return;
        }
        m_line.erase(0, start);
        const std::size_t length = LengthAt(m_line, 0);
        if (length == 0 && m_line.size() < 7) {
            return; // the id may still be coming
        }
        if (length != 0 && m_line.size() >= length && IsWholeMessage(m_line, 0, length)) {
            messages.emplace_back(m_line.substr(0, length - 3));
            m_line.erase(0, length);
            continue;
        }
        if (length != 0 && m_line.size() < length) {
            const std::size_t later = FindMessageEndingHere(m_line);
            if (later == std::u16string::npos) {
                return; // that LF was a payload byte
            }
            m_line.erase(0, later);
            continue;
        }
        m_line.erase(0, 1);
    }
}
