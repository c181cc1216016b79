#include "platform/base/CodePage.h"

#include "platform/base/LastError.h"

#include <cstring>

namespace {
// Windows-1252 0x80-0x9F; 0 marks the five undefined bytes, which map to the same C1 code points as the
// original's conversion does.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t Cp1252Unit(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80]) {
        return kCp1252High[b - 0x80];
    }
    return b;
}

bool Cp1252Byte(char16_t u, unsigned char* out) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        *out = static_cast<unsigned char>(u);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == u || (kCp1252High[i] == 0 && u == 0x80 + i)) {
            *out = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}
} // namespace

std::u16string Utf8ToUtf16(std::string_view text, bool* valid) {
    std::u16string out;
    out.reserve(text.size());
    bool ok = true;
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        unsigned char c = s[i];
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        int len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
        if (c >= 0xF5) {
            len = 0;
        }
        char32_t cp = len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool good = len != 0 && i + len <= n;
        for (int k = 1; good && k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) {
                good = false;
            } else {
                cp = (cp << 6) | (s[i + k] & 0x3F);
            }
        }
        if (good && ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
                     (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))) {
            good = false;
        }
        if (!good) {
            ok = false;
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        AppendUtf16(out, cp);
        i += len;
    }
    if (valid) {
        *valid = ok;
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    bool valid = true;
    Utf8ToUtf16(text, &valid);
    return valid;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) {
        out.push_back(Cp1252Unit(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Utf16ToCp1252(std::u16string_view text, char defaultChar, bool* usedDefault) {
    std::string out;
    out.reserve(text.size());
    bool used = false;
    for (char16_t u : text) {
        unsigned char b;
        if (Cp1252Byte(u, &b)) {
            out.push_back(static_cast<char>(b));
        } else {
            out.push_back(defaultChar);
            used = true;
        }
    }
    if (usedDefault) {
        *usedDefault = used;
    }
    return out;
}

std::u16string WidenBytes(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        out.push_back(static_cast<unsigned char>(c));
    }
    return out;
}

std::string NarrowUnits(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (char16_t u : units) {
        out.push_back(static_cast<char>(u & 0xFF));
    }
    return out;
}

namespace {
bool IsAnsi(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP || codePage == CP_1252;
}
} // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceBytes, LPWSTR dest,
                        int destUnits) {
    if (!source || sourceBytes < -1 || destUnits < 0 || (!IsAnsi(codePage) && codePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = sourceBytes == -1 ? std::strlen(source) + 1 : static_cast<size_t>(sourceBytes);
    std::string_view in(source, n);
    std::u16string out;
    if (codePage == CP_UTF8) {
        bool valid = true;
        out = Utf8ToUtf16(in, &valid);
        if (!valid && (flags & MB_ERR_INVALID_CHARS)) {
            SetLastError(1113); // ERROR_NO_UNICODE_TRANSLATION
            return 0;
        }
    } else {
        out = Cp1252ToUtf16(in);
    }
    if (destUnits == 0) {
        return static_cast<int>(out.size());
    }
    if (out.size() > static_cast<size_t>(destUnits)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(dest, out.data(), out.size() * sizeof(char16_t));
    return static_cast<int>(out.size());
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int sourceUnits, LPSTR dest, int destBytes,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (!source || sourceUnits < -1 || destBytes < 0 || (!IsAnsi(codePage) && codePage != CP_UTF8)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t n = 0;
    if (sourceUnits == -1) {
        while (source[n]) {
            ++n;
        }
        ++n;
    } else {
        n = static_cast<size_t>(sourceUnits);
    }
    std::u16string_view in(source, n);
    std::string out;
    bool used = false;
    if (codePage == CP_UTF8) {
        out = Utf16ToUtf8(in);
    } else {
        out = Utf16ToCp1252(in, defaultChar ? *defaultChar : '?', &used);
    }
    if (usedDefaultChar) {
        *usedDefaultChar = used ? TRUE : FALSE;
    }
    if (destBytes == 0) {
        return static_cast<int>(out.size());
    }
    if (out.size() > static_cast<size_t>(destBytes)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(dest, out.data(), out.size());
    return static_cast<int>(out.size());
}
