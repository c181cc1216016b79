#include "platform/registry/HiveText.h"

#include "platform/base/CodePage.h"
#include "platform/registry/Registry.h"

#include <cstdio>

namespace doliva::registry {

namespace {

constexpr std::u16string_view kRegedit4 = u"REGEDIT4";
constexpr std::u16string_view kRegedit5 = u"Windows Registry Editor Version 5.00";

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && (IsSpace(s.front()) || s.front() == u'\r')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (IsSpace(s.back()) || s.back() == u'\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool StartsWithNoCase(std::u16string_view s, std::u16string_view prefix) {
    return s.size() >= prefix.size() && NamesEqual(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// 1 to 8 hex digits, the whole of s.
bool ParseHex32(std::u16string_view s, DWORD* out) {
    if (s.empty() || s.size() > 8) {
        return false;
    }
    DWORD v = 0;
    for (char16_t c : s) {
        int d = HexDigit(c);
        if (d < 0) {
            return false;
        }
        v = (v << 4) | static_cast<DWORD>(d);
    }
    *out = v;
    return true;
}

bool ValidUtf16(std::u16string_view s, size_t* badAt = nullptr) {
    for (size_t i = 0; i < s.size(); ++i) {
        char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (badAt) {
                *badAt = i;
            }
            return false;
        }
    }
    return true;
}

std::vector<BYTE> Utf16Bytes(std::u16string_view s) {
    std::vector<BYTE> out;
    out.reserve(s.size() * 2);
    for (char16_t c : s) {
        out.push_back(static_cast<BYTE>(c & 0xFF));
        out.push_back(static_cast<BYTE>(c >> 8));
    }
    return out;
}

std::u16string BytesUtf16(const std::vector<BYTE>& b) {
    std::u16string out;
    out.reserve(b.size() / 2);
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        out.push_back(static_cast<char16_t>(b[i] | (b[i + 1] << 8)));
    }
    return out;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

struct Parser {
    std::u16string text;
    bool narrowIsCp1252 = false;
    bool narrowStrings = true; // REGEDIT4: hex string data is narrow text
    std::vector<std::u16string_view> lines;
    size_t index = 0; // next line
    HiveParseResult result;

    bool Fail(size_t line, const char* what) {
        result.forest.reset();
        result.errorLine = line;
        result.error = what;
        return false;
    }

    // A quoted string starting at s[0] == '"'; answers the rest after the closing quote.
    bool Quoted(std::u16string_view& s, std::u16string& out) {
        out.clear();
        for (size_t i = 1; i < s.size(); ++i) {
            char16_t c = s[i];
            if (c == u'"') {
                s.remove_prefix(i + 1);
                return true;
            }
            if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'\\' || s[i + 1] == u'"')) {
                out.push_back(s[++i]);
            } else {
                // A lone backslash is kept: hand-written paths often carry one.
                out.push_back(c);
            }
        }
        return false;
    }

    std::vector<BYTE> NarrowToStored(const std::string& bytes) const {
        bool utf8 = !narrowIsCp1252 && IsValidUtf8(bytes);
        return Utf16Bytes(utf8 ? Utf8ToUtf16(bytes) : Cp1252ToUtf16(bytes));
    }

    bool HexList(std::u16string_view s, size_t line, std::vector<BYTE>& out) {
        out.clear();
        s = Trim(s);
        if (s.empty()) {
            return true;
        }
        size_t pos = 0;
        while (true) {
            size_t comma = s.find(u',', pos);
            std::u16string_view item = Trim(s.substr(pos, comma == s.npos ? s.npos : comma - pos));
            bool last = comma == s.npos;
            if (item.empty()) {
                if (!last) {
                    return Fail(line, "bad hex data (empty byte)");
                }
                return true; // a trailing comma
            }
            if (item.size() > 2 || HexDigit(item[0]) < 0 || (item.size() == 2 && HexDigit(item[1]) < 0)) {
                return Fail(line, "bad hex data");
            }
            int v = HexDigit(item[0]);
            if (item.size() == 2) {
                v = v * 16 + HexDigit(item[1]);
            }
            out.push_back(static_cast<BYTE>(v));
            if (last) {
                return true;
            }
            pos = comma + 1;
        }
    }

    bool Header(std::u16string_view line, size_t lineNo, std::shared_ptr<KeyNode>& current) {
        if (line.size() < 2 || line.back() != u']') {
            return Fail(lineNo, "bad key header");
        }
        std::u16string_view path = line.substr(1, line.size() - 2);
        bool remove = !path.empty() && path.front() == u'-';
        if (remove) {
            path.remove_prefix(1);
        }
        std::vector<std::u16string_view> parts;
        size_t pos = 0;
        while (true) {
            size_t slash = path.find(u'\\', pos);
            std::u16string_view part = path.substr(pos, slash == path.npos ? path.npos : slash - pos);
            if (part.empty()) {
                return Fail(lineNo, "bad key header (empty key name)");
            }
            parts.push_back(part);
            if (slash == path.npos) {
                break;
            }
            pos = slash + 1;
        }
        if (parts.size() > kMaxKeyDepth) {
            return Fail(lineNo, "bad key header (nested too deep)");
        }
        if (!StartsWithNoCase(parts[0], u"HKEY_") || parts[0].size() == 5) {
            return Fail(lineNo, "bad key header (unknown root key)");
        }
        if (remove) {
            std::shared_ptr<KeyNode> parent = result.forest;
            for (size_t i = 0; parent && i + 1 < parts.size(); ++i) {
                parent = parent->FindSubkey(parts[i]);
            }
            if (parent) {
                parent->RemoveSubkey(parts.back());
            }
            current.reset();
            return true;
        }
        current = result.forest;
        for (auto part : parts) {
            current = current->AddSubkey(part);
        }
        return true;
    }

    bool Value(std::u16string_view line, size_t lineNo, const std::shared_ptr<KeyNode>& current,
               bool skipping) {
        std::u16string name;
        if (line.front() == u'@') {
            line.remove_prefix(1);
        } else if (!Quoted(line, name)) {
            return Fail(lineNo, "unterminated quoted name");
        }
        line = Trim(line);
        if (line.empty() || line.front() != u'=') {
            return Fail(lineNo, "expected '=' after the value name");
        }
        line = Trim(line.substr(1));
        if (line.empty()) {
            return Fail(lineNo, "missing value data");
        }
        DWORD type = 0;
        std::vector<BYTE> data;
        bool erase = false;
        if (line.front() == u'"') {
            std::u16string text;
            if (!Quoted(line, text)) {
                return Fail(lineNo, "unterminated quoted string");
            }
            if (!Trim(line).empty()) {
                return Fail(lineNo, "text after the quoted string");
            }
            type = REG_SZ;
            text.push_back(u'\0');
            data = Utf16Bytes(text);
        } else if (line == u"-") {
            erase = true;
        } else if (StartsWithNoCase(line, u"dword:")) {
            DWORD v = 0;
            if (!ParseHex32(Trim(line.substr(6)), &v)) {
                return Fail(lineNo, "bad dword data");
            }
            type = REG_DWORD;
            data = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                    static_cast<BYTE>(v >> 24)};
        } else if (StartsWithNoCase(line, u"hex")) {
            std::u16string_view rest = line.substr(3);
            type = REG_BINARY;
            if (!rest.empty() && rest.front() == u'(') {
                size_t close = rest.find(u')');
                if (close == rest.npos || !ParseHex32(rest.substr(1, close - 1), &type)) {
                    return Fail(lineNo, "bad hex type");
                }
                rest.remove_prefix(close + 1);
            }
            if (rest.empty() || rest.front() != u':') {
                return Fail(lineNo, "bad hex data (missing ':')");
            }
            std::u16string list(rest.substr(1));
            while (!list.empty() && list.back() == u'\\') {
                list.pop_back();
                if (index < lines.size()) {
                    list.append(Trim(lines[index++]));
                }
            }
            if (!HexList(list, lineNo, data)) {
                return false;
            }
            if (IsStringType(type) && narrowStrings) {
                data = NarrowToStored(std::string(data.begin(), data.end()));
            }
        } else {
            return Fail(lineNo, "unknown value data");
        }
        if (skipping) {
            return true;
        }
        if (!current) {
            return Fail(lineNo, "value outside a key");
        }
        if (erase) {
            current->DeleteValue(name);
        } else {
            current->SetValue(name, type, std::move(data));
        }
        return true;
    }

    bool Run() {
        size_t start = 0;
        while (start <= text.size()) {
            size_t nl = text.find(u'\n', start);
            if (nl == text.npos) {
                lines.push_back(std::u16string_view(text).substr(start));
                break;
            }
            lines.push_back(std::u16string_view(text).substr(start, nl - start));
            start = nl + 1;
        }
        for (size_t i = 0; i < lines.size(); ++i) {
            size_t bad = 0;
            if (!ValidUtf16(lines[i], &bad)) {
                return Fail(i + 1, "unpaired UTF-16 surrogate");
            }
            if (lines[i].find(u'\0') != lines[i].npos) {
                return Fail(i + 1, "NUL character");
            }
        }
        result.forest = std::make_shared<KeyNode>(u"");
        bool versionSeen = false;
        std::shared_ptr<KeyNode> current;
        bool skipping = false;
        while (index < lines.size()) {
            size_t lineNo = index + 1;
            std::u16string_view line = Trim(lines[index++]);
            if (line.empty() || line.front() == u';') {
                continue;
            }
            if (!versionSeen) {
                if (line == kRegedit4) {
                    narrowStrings = true;
                } else if (line == kRegedit5) {
                    narrowStrings = false;
                } else {
                    return Fail(lineNo, "not a registry file (no REGEDIT4 line)");
                }
                versionSeen = true;
                continue;
            }
            if (line.front() == u'[') {
                if (!Header(line, lineNo, current)) {
                    return false;
                }
                skipping = !current;
            } else if (line.front() == u'"' || line.front() == u'@') {
                if (!Value(line, lineNo, current, skipping)) {
                    return false;
                }
            } else {
                return Fail(lineNo, "unrecognised line");
            }
        }
        return true;
    }
};

// The string a REG_SZ holds when it can be written as "text": one terminator at the end and nothing a line
// or the quotes cannot carry.
bool PlainString(const RegValue& v, std::u16string* text) {
    if (v.data.size() < 2 || v.data.size() % 2 != 0) {
        return false;
    }
    std::u16string s = BytesUtf16(v.data);
    if (s.back() != u'\0') {
        return false;
    }
    s.pop_back();
    if (s.find_first_of(std::u16string_view(u"\0\r\n", 3)) != s.npos) {
        return false;
    }
    if (!ValidUtf16(s)) {
        return false;
    }
    *text = std::move(s);
    return true;
}

bool Narrowable(const std::vector<BYTE>& data) {
    return data.size() % 2 == 0 && ValidUtf16(BytesUtf16(data));
}

bool NeedsWideStrings(const KeyNode& key) {
    for (const RegValue& v : key.Values()) {
        std::u16string text;
        if (IsStringType(v.type) && !(v.type == REG_SZ && PlainString(v, &text)) && !Narrowable(v.data)) {
            return true;
        }
    }
    for (const auto& sub : key.Subkeys()) {
        if (NeedsWideStrings(*sub)) {
            return true;
        }
    }
    return false;
}

void AppendQuoted(std::string& out, std::u16string_view s) {
    out.push_back('"');
    std::u16string escaped;
    for (char16_t c : s) {
        if (c == u'\\' || c == u'"') {
            escaped.push_back(u'\\');
        }
        escaped.push_back(c);
    }
    out += Utf16ToUtf8(escaped);
    out.push_back('"');
}

void AppendHex(std::string& out, size_t column, const BYTE* data, size_t size) {
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < size; ++i) {
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 15]);
        column += 2;
        if (i + 1 < size) {
            out.push_back(',');
            ++column;
            if (column >= 76) {
                out += "\\\n  ";
                column = 2;
            }
        }
    }
}

void AppendValue(std::string& out, const RegValue& v, bool narrowStrings) {
    size_t lineStart = out.size();
    if (v.name.empty()) {
        out.push_back('@');
    } else {
        AppendQuoted(out, v.name);
    }
    out.push_back('=');
    std::u16string text;
    if (v.type == REG_SZ && PlainString(v, &text)) {
        AppendQuoted(out, text);
    } else if (v.type == REG_DWORD && v.data.size() == 4) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%02x%02x%02x%02x", v.data[3], v.data[2], v.data[1], v.data[0]);
        out += buf;
    } else {
        if (v.type == REG_BINARY) {
            out += "hex:";
        } else {
            char buf[24];
            std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
            out += buf;
        }
        size_t column = out.size() - lineStart;
        if (IsStringType(v.type) && narrowStrings) {
            std::string narrow = Utf16ToUtf8(BytesUtf16(v.data));
            AppendHex(out, column, reinterpret_cast<const BYTE*>(narrow.data()), narrow.size());
        } else {
            AppendHex(out, column, v.data.data(), v.data.size());
        }
    }
    out.push_back('\n');
}

void AppendKey(std::string& out, const KeyNode& key, const std::u16string& path, bool isRoot,
               bool narrowStrings) {
    // Every key gets a header so empty keys survive; a root only when nothing below names it.
    if (!isRoot || !key.Values().empty() || key.Subkeys().empty()) {
        out.push_back('[');
        out += Utf16ToUtf8(path);
        out += "]\n";
        for (const RegValue& v : key.Values()) {
            AppendValue(out, v, narrowStrings);
        }
        out.push_back('\n');
    }
    for (const auto& sub : key.Subkeys()) {
        AppendKey(out, *sub, path + u"\\" + sub->Name(), false, narrowStrings);
    }
}

} // namespace

HiveParseResult ParseHiveText(std::string_view bytes) {
    Parser p;
    auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && b(0) == 0xFF && b(1) == 0xFE) {
        if (bytes.size() % 2 != 0) {
            // Decode what is there so the fault gets a line number.
            bytes.remove_suffix(1);
            p.text.reserve(bytes.size() / 2);
            for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
                p.text.push_back(static_cast<char16_t>(b(i) | (b(i + 1) << 8)));
            }
            size_t lines = 1;
            for (char16_t c : p.text) {
                lines += c == u'\n';
            }
            p.Fail(lines, "truncated UTF-16 text");
            return p.result;
        }
        p.text.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            p.text.push_back(static_cast<char16_t>(b(i) | (b(i + 1) << 8)));
        }
    } else {
        if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) {
            bytes.remove_prefix(3);
        }
        bool valid = true;
        p.text = Utf8ToUtf16(bytes, &valid);
        if (!valid) {
            p.text = Cp1252ToUtf16(bytes);
            p.narrowIsCp1252 = true;
        }
    }
    p.Run();
    return p.result;
}

std::string FormatHiveText(const KeyNode& forest) {
    bool narrowStrings = !NeedsWideStrings(forest);
    std::string out = narrowStrings ? "REGEDIT4\n\n" : "Windows Registry Editor Version 5.00\n\n";
    for (const auto& root : forest.Subkeys()) {
        AppendKey(out, *root, root->Name(), true, narrowStrings);
    }
    return out;
}

} // namespace doliva::registry
