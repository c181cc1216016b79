#include "platform/base/MulDiv.h"

#include <cstdint>

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = std::int64_t{number} * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::uint64_t magnitude =
        product < 0 ? 0ULL - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
    const std::uint64_t divisor = denominator < 0
                                      ? 0ULL - static_cast<std::uint64_t>(std::int64_t{denominator})
                                      : static_cast<std::uint64_t>(denominator);
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (negative) {
        if (quotient > 0x80000000ULL) {
            return -1;
        }
        return static_cast<int>(-static_cast<std::int64_t>(quotient));
    }
    if (quotient > 0x7FFFFFFFULL) {
        return -1;
    }
    return static_cast<int>(quotient);
}
