#include "receiver/MotorolaFramer.h"

#include <array>

namespace {

struct LengthEntry {
    char id[3];
    unsigned short length;
};

constexpr LengthEntry kLengths[] = {
    {"AA", 8},   {"AB", 8},   {"AC", 9},   {"AD", 9},   {"AE", 8},   {"AJ", 8},   {"AM", 11}, {"AN", 8},
    {"AO", 8},   {"AP", 8},   {"AQ", 8},   {"AS", 8},   {"Aa", 10},  {"Ab", 10},  {"Ac", 11}, {"Ad", 11},
    {"Ae", 11},  {"Af", 15},  {"Ag", 8},   {"Ah", 8},   {"Ai", 9},   {"Aj", 8},   {"Ak", 9},  {"Al", 9},
    {"Am", 12},  {"An", 8},   {"Ap", 25},  {"Aq", 8},   {"Ar", 8},   {"As", 20},  {"At", 8},  {"Au", 12},
    {"Av", 8},   {"Aw", 8},   {"Ax", 9},   {"Ay", 11},  {"Az", 11},  {"Ba", 68},  {"Bb", 92}, {"Bc", 82},
    {"Bd", 23},  {"Bf", 80},  {"Bg", 122}, {"Bj", 8},   {"Bk", 69},  {"Bl", 41},  {"Bn", 59}, {"Bo", 8},
    {"Ca", 9},   {"Cb", 33},  {"Cc", 80},  {"Cd", 171}, {"Ce", 52},  {"Cf", 7},   {"Cg", 8},  {"Ch", 9},
    {"Cj", 294}, {"Ck", 7},   {"Co", 29},  {"Ea", 76},  {"Ec", 100}, {"Eg", 158}, {"Ek", 71}, {"En", 69},
    {"Eq", 96},  {"Fa", 9},   {"Fd", 189}, {"Ga", 20},  {"Gb", 17},  {"Gc", 8},   {"Gd", 8},  {"Ge", 8},
    {"Gf", 9},   {"Gj", 21},  {"Gk", 13},  {"Gl", 264}, {"Ha", 154}, {"Hb", 54},  {"Hn", 78}, {"Hr", 170},
    {"Ia", 10},  {"Ip", 127}, {"Ir", 7},   {"Sa", 184}, {"Sc", 8},   {"Sm", 8},   {"So", 8},  {"Sp", 8},
    {"St", 8},   {"Sx", 8},   {"Sz", 8},   {"Tf", 12},  {"Ti", 21},  {"Tj", 27},  {"Tk", 65}, {"Tm", 19},
    {"Tn", 11},  {"To", 142}, {"Tq", 7},   {"Tr", 597}, {"Ts", 17},  {"Wb", 9},   {"Wm", 22}, {"Wo", 9},
    {"Ws", 18},
};
static_assert(std::size(kLengths) == 105);

using LengthTable = std::array<std::array<unsigned short, 128>, 128>;

const LengthTable& Lengths() {
    static const LengthTable table = [] {
        LengthTable t{};
        for (const LengthEntry& entry : kLengths) {
            t[static_cast<unsigned char>(entry.id[0])][static_cast<unsigned char>(entry.id[1])] =
                entry.length;
        }
        return t;
    }();
    return table;
}

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

int OncoreMessageLength(char16_t first, char16_t second) {
    if (first >= 128 || second >= 128) {
        return 0;
    }
    return Lengths()[first][second];
}

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
