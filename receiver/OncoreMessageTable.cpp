#include "receiver/OncoreMessageTable.h"

#include <array>
#include <iterator>

namespace {

using H = OncoreHandler;
using X = RxIdWindowUse;

constexpr OncoreMessageKind Framed(const char (&id)[3], int length, OncoreHandler handler,
                                   RxIdWindowUse window = X::kNone) {
    return {{id[0], id[1], 0}, length, handler, OncoreLengthRule::kFramed, 0, nullptr, window};
}

// Framed, but the decoder only names it.
constexpr OncoreMessageKind Unhandled(const char (&id)[3], int length) {
    return Framed(id, length, H::kNone);
}

// Framed; a message of another length gets the error text alone.
constexpr OncoreMessageKind Checked(const char (&id)[3], int length, OncoreHandler handler,
                                    const char16_t* lengthError, RxIdWindowUse window = X::kNone) {
    return {{id[0], id[1], 0}, length, handler, OncoreLengthRule::kFramed, 0, lengthError, window};
}

constexpr OncoreMessageKind AtLeast(const char (&id)[3], int length, int minLength, OncoreHandler handler,
                                    RxIdWindowUse window = X::kNone) {
    return {{id[0], id[1], 0}, length, handler, OncoreLengthRule::kAtLeast, minLength, nullptr, window};
}

constexpr OncoreMessageKind AnyLength(const char (&id)[3], int length, OncoreHandler handler,
                                      RxIdWindowUse window = X::kNone) {
    return {{id[0], id[1], 0}, length, handler, OncoreLengthRule::kAny, 0, nullptr, window};
}

// Each id with the length the framer cuts it at ("@@" to LF, 0 when it never does), the length rule and
// handler of the decoder and what the receiver-ID window gets.
constexpr OncoreMessageKind kMessages[] = {
    Framed("AA", 8, H::kEcho, X::kAddsText),
    Framed("AB", 8, H::kEcho, X::kAddsText),
    Framed("AC", 9, H::kEcho, X::kAddsText),
    Framed("AD", 9, H::kEcho, X::kAddsText),
    Framed("AE", 8, H::kEcho, X::kAddsText),
    Framed("AJ", 8, H::kEcho, X::kAddsText),
    Framed("AM", 11, H::kEcho, X::kAddsText),
    Framed("AN", 8, H::kEcho, X::kAddsText),
    Framed("AO", 8, H::kEcho, X::kAddsText),
    Framed("AP", 8, H::kEcho, X::kAddsText),
    Framed("AQ", 8, H::kEcho, X::kAddsText),
    Framed("AS", 8, H::kEcho, X::kAddsText),
    Framed("Aa", 10, H::kEcho, X::kAddsText),
    Framed("Ab", 10, H::kEcho, X::kAddsText),
    Framed("Ac", 11, H::kEcho, X::kAddsText),
    Framed("Ad", 11, H::kEcho, X::kAddsText),
    Framed("Ae", 11, H::kEcho, X::kAddsText),
    Framed("Af", 15, H::kEcho, X::kAddsText),
    Framed("Ag", 8, H::kEcho, X::kAddsText),
    Framed("Ah", 8, H::kEcho, X::kAddsText),
    Framed("Ai", 9, H::kEcho, X::kAddsText),
    Framed("Aj", 8, H::kEcho, X::kAddsText),
    Framed("Ak", 9, H::kEcho, X::kAddsText),
    Framed("Al", 9, H::kEcho, X::kAddsText),
    Framed("Am", 12, H::kEcho, X::kAddsText),
    Framed("An", 8, H::kEcho, X::kAddsText),
    AnyLength("Ao", 0, H::kEcho, X::kAddsText), // never framed, and no sentence
    Framed("Ap", 25, H::kEcho, X::kAddsText),
    Framed("Aq", 8, H::kEcho, X::kAddsText),
    Framed("Ar", 8, H::kEcho, X::kAddsText),
    Framed("As", 20, H::kEcho, X::kAddsText),
    Framed("At", 8, H::kEcho, X::kAddsText),
    Framed("Au", 12, H::kEcho, X::kAddsText),
    Framed("Av", 8, H::kEcho, X::kAddsText),
    Framed("Aw", 8, H::kEcho, X::kAddsText),
    Framed("Ax", 9, H::kEcho, X::kAddsText),
    Framed("Ay", 11, H::kEcho, X::kAddsText),
    Framed("Az", 11, H::kEcho, X::kAddsText),
    Framed("Ba", 68, H::kBa),
    AnyLength("Bb", 92, H::kBb), // checked against its own satellite count
    AnyLength("Bc", 82, H::kNothing),
    Framed("Bd", 23, H::kBd),
    Framed("Bf", 80, H::kBfCc),
    Framed("Bg", 122, H::kBgEg),
    Framed("Bj", 8, H::kBj),
    Framed("Bk", 69, H::kBkEk),
    AnyLength("Bl", 41, H::kNothing),
    Framed("Bn", 59, H::kBnEn, X::kAddsTraimStatusOnce),
    Framed("Bo", 8, H::kBo),
    Framed("Ca", 9, H::kCa, X::kAddsReport),
    Framed("Cb", 33, H::kCb),
    Framed("Cc", 80, H::kBfCc),
    AnyLength("Cd", 171, H::kNothing),
    Framed("Ce", 52, H::kCe),
    Framed("Cf", 7, H::kEcho),
    Framed("Cg", 8, H::kEcho, X::kAddsText),
    AnyLength("Ch", 9, H::kNothing),
    AtLeast("Cj", 294, 123, H::kCj, X::kReplacesText), // the version fields end at byte 122
    Framed("Ck", 7, H::kCk),
    Unhandled("Co", 29),
    Framed("Ea", 76, H::kEa),
    AnyLength("Ec", 100, H::kNothing),
    Framed("Eg", 158, H::kBgEg),
    Framed("Ek", 71, H::kBkEk),
    Framed("En", 69, H::kBnEn, X::kAddsTraimStatusOnce),
    Framed("Eq", 96, H::kEq),
    Framed("Fa", 9, H::kFa, X::kAddsReport),
    Unhandled("Fd", 189),
    Framed("Ga", 20, H::kEcho, X::kAddsText),
    Framed("Gb", 17, H::kEcho, X::kAddsText),
    Framed("Gc", 8, H::kEcho, X::kAddsText),
    Framed("Gd", 8, H::kEcho, X::kAddsText),
    Framed("Ge", 8, H::kEcho, X::kAddsText),
    Framed("Gf", 9, H::kEcho, X::kAddsText),
    Framed("Gj", 21, H::kGj),
    Framed("Gk", 13, H::kEcho, X::kAddsText),
    Unhandled("Gl", 264),
    Checked("Ha", 154, H::kHa, u"@@Ha ????"),
    Checked("Hb", 54, H::kHb, u"@@Hb ????"),
    Checked("Hn", 78, H::kHn, u"@@Hn, ????", X::kAddsTraimStatusOnce),
    Checked("Hr", 170, H::kHr, u"@@Hr ????"),
    Framed("Ia", 10, H::kIa, X::kAddsReport),
    Unhandled("Ip", 127),
    Framed("Ir", 7, H::kEcho),
    Framed("Sa", 184, H::kSa),
    Framed("Sc", 8, H::kEcho),
    Framed("Sm", 8, H::kEcho),
    Framed("So", 8, H::kEcho),
    Framed("Sp", 8, H::kEcho),
    Framed("St", 8, H::kEcho),
    Framed("Sx", 8, H::kEcho),
    Framed("Sz", 8, H::kEcho),
    Unhandled("Tf", 12),
    Unhandled("Ti", 21),
    Framed("Tj", 27, H::kEcho),
    Framed("Tk", 65, H::kTk),
    Framed("Tm", 19, H::kEcho),
    Unhandled("Tn", 11),
    Unhandled("To", 142),
    Unhandled("Tq", 7),
    Framed("Tr", 597, H::kTr),
    Unhandled("Ts", 17),
    Framed("Wb", 9, H::kEcho),
    Framed("Wm", 22, H::kEcho),
    Framed("Wo", 9, H::kEcho),
    AtLeast("Wp", 0, 19, H::kEcho), // never framed; the text runs to byte 18
    AtLeast("Wq", 0, 19, H::kEcho),
    Framed("Ws", 18, H::kEcho),
};

// Row numbers by id letters, 0 for none (the row's index plus one).
using RowIndex = std::array<std::array<unsigned char, 128>, 128>;

constexpr RowIndex kRowIndex = [] {
    RowIndex index{};
    for (std::size_t row = 0; row < std::size(kMessages); ++row) {
        const OncoreMessageKind& kind = kMessages[row];
        index[static_cast<unsigned char>(kind.id[0])][static_cast<unsigned char>(kind.id[1])] =
            static_cast<unsigned char>(row + 1);
    }
    return index;
}();
static_assert(std::size(kMessages) < 255);

} // namespace

bool OncoreMessageKind::TakesLength(int length) const {
    switch (rule) {
    case OncoreLengthRule::kFramed:
        return length == framedLength - 3;
    case OncoreLengthRule::kAtLeast:
        return length >= minLength;
    case OncoreLengthRule::kAny:
        return true;
    }
    return false;
}

const OncoreMessageKind* FindOncoreMessage(char16_t first, char16_t second) {
    if (first >= 128 || second >= 128) {
        return nullptr;
    }
    const unsigned row = kRowIndex[first][second];
    return row != 0 ? &kMessages[row - 1] : nullptr;
}

int OncoreMessageLength(char16_t first, char16_t second) {
    const OncoreMessageKind* kind = FindOncoreMessage(first, second);
    return kind != nullptr ? kind->framedLength : 0;
}
