#include "platform/base/MulDiv.h"

#include <gtest/gtest.h>

#include <climits>

TEST(MulDiv, RoundsHalfAwayFromZeroAndReportsFailureAsMinusOne) {
    struct Case {
        int number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {10, 3, 2, 15},
        {5, 3, 2, 8}, // 7.5
        {-5, 3, 2, -8},
        {5, -3, 2, -8},
        {5, 3, -2, -8},
        {-5, -3, 2, 8},
        {-5, 3, -2, 8},
        {1, 1, 2, 1}, // 0.5
        {-1, 1, 2, -1},
        {7, 1, 3, 2}, // 2.33
        {8, 1, 3, 3}, // 2.67
        {-8, 1, 3, -3},
        {1, 1, 3, 0},
        {0, 5, 7, 0},
        {40, 96, 288, 13},   // 13.33
        {-40, 96, 288, -13}, // the font height of a 10-point font at 96 dpi
        {11, 288, 96, 33},
        {0x40000000, 4, 8, 0x20000000}, // the product needs 64 bits
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MIN, INT_MIN, INT_MIN, INT_MIN},
        {INT_MIN, 1, 1, INT_MIN},
        {INT_MAX, -1, 1, -INT_MAX},
        {INT_MIN, 1, 2, INT_MIN / 2},
        {INT_MIN, -1, 1, -1}, // 2^31 does not fit
        {1, INT_MIN, -1, -1},
        {INT_MAX, 2, 1, -1},
        {INT_MAX, INT_MAX, 1, -1},
        {INT_MAX, 2, 2, INT_MAX},
        {5, 7, 0, -1}, // zero divisor
        {0, 0, 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
    }
}
