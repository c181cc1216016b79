#include "platform/display/RendezvousText.h"

#include "platform/base/CodePage.h"
#include "platform/display/WindowConstants.h"

#include <cstdio>

namespace {

std::string Hex(std::uint64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(value));
    return buffer;
}

// 1 to 16 hex digits.
bool ParseHex(std::string_view text, std::uintptr_t* value) {
    if (text.empty() || text.size() > 2 * sizeof(std::uintptr_t)) {
        return false;
    }
    std::uintptr_t v = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) {
            return false;
        }
        v = v << 4 | static_cast<std::uintptr_t>(digit);
    }
    *value = v;
    return true;
}

// A decimal number from 0 to max, without sign or leading blanks.
bool ParseDecimal(std::string_view text, long long max, long long* value) {
    if (text.empty() || text.size() > 18) {
        return false;
    }
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0');
    }
    if (v > max) {
        return false;
    }
    *value = v;
    return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == text.npos ? text.npos : at - from));
        if (at == text.npos) {
            return parts;
        }
        from = at + 1;
    }
}

std::string Escape(const std::u16string& text) {
    std::string out;
    for (char c : Utf16ToUtf8(text)) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::u16string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char n = text[++i];
            out += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += text[i];
        }
    }
    return Utf8ToUtf16(out);
}

constexpr std::string_view kMagic = "doliva-windows";

} // namespace

std::string FormatWindowList(const RendezvousWindowList& list) {
    std::string text = std::string(kMagic) + " 1 " + std::to_string(list.pid) + " " + list.start + "\n";
    for (const RendezvousWindow& w : list.windows) {
        text += Hex(w.handle) + "\t" + (w.visible ? "v" : "") + (w.iconic ? "i" : "") + "-\t" +
                Escape(w.cls) + "\t" + Escape(w.title) + "\n";
    }
    return text;
}

bool ParseWindowList(std::string_view text, RendezvousWindowList* list) {
    if (text.size() > kMaxWindowListBytes) {
        return false;
    }
    std::vector<std::string_view> lines = Split(text, '\n');
    const std::vector<std::string_view> header = Split(lines[0], ' ');
    long long pid = 0;
    // The start time is empty when /proc could not tell it.
    if (header.size() < 3 || header.size() > 4 || header[0] != kMagic || header[1] != "1" ||
        !ParseDecimal(header[2], 0x7FFFFFFF, &pid) || pid == 0) {
        return false;
    }
    RendezvousWindowList out;
    out.pid = static_cast<int>(pid);
    out.start = header.size() == 4 ? std::string(header[3]) : std::string();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string_view> fields = Split(lines[i], '\t');
        RendezvousWindow w;
        if (fields.size() != 4 || !ParseHex(fields[0], &w.handle)) {
            continue;
        }
        w.visible = fields[1].find('v') != std::string_view::npos;
        w.iconic = fields[1].find('i') != std::string_view::npos;
        w.cls = Unescape(fields[2]);
        w.title = Unescape(fields[3]);
        out.windows.push_back(std::move(w));
    }
    *list = std::move(out);
    return true;
}

std::string FormatRequest(const RendezvousRequest& request) {
    std::string line = request.verb + " " + Hex(request.handle);
    if (request.verb == "show") {
        // Appended apart: GCC 12 at -O3 takes `" " + std::to_string(...)` for an overlapping copy (-Wrestrict).
        line += ' ';
        line += std::to_string(request.command);
    }
    return line;
}

bool ParseRequest(std::string_view line, RendezvousRequest* request) {
    const std::vector<std::string_view> words = Split(line, ' ');
    RendezvousRequest out;
    if (words.size() < 2 || !ParseHex(words[1], &out.handle)) {
        return false;
    }
    out.verb = std::string(words[0]);
    if (out.verb == "show") {
        long long command = 0;
        if (words.size() != 3 || !ParseDecimal(words[2], SW_MAX, &command)) {
            return false;
        }
        out.command = static_cast<int>(command);
    } else if (words.size() != 2 || (out.verb != "iconic" && out.verb != "iswindow" &&
                                     out.verb != "foreground" && out.verb != "popup")) {
        return false;
    }
    *request = std::move(out);
    return true;
}
