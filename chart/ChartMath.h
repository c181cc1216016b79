// Chart geometry is computed in doubles and turned into device pixels by truncation toward zero.
#pragma once

#include <climits>
#include <cmath>
#include <initializer_list>

// Truncates toward zero; values beyond the int range (and NaN, as 0) are held inside it, so that odd data
// or placements can never make a conversion undefined.
inline int SRGTrunc(double value) {
    if (!(value == value)) {
        return 0;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// Placements reach no further than this from the origin: far enough for any surface, and near enough that
// the drawing layer's sums of coordinates cannot overflow.
constexpr int kSRGMaxCoordinate = 1 << 24;

// A device coordinate from a placement: truncated and held within kSRGMaxCoordinate.
inline int SRGPixel(double value) {
    const int pixel = SRGTrunc(value);
    return pixel > kSRGMaxCoordinate ? kSRGMaxCoordinate : pixel < -kSRGMaxCoordinate ? -kSRGMaxCoordinate : pixel;
}

// trunc(value + 0.5), the chart's rounding.
inline int SRGRound(double value) {
    return SRGTrunc(value + 0.5);
}

// last - first + 1 held inside the int range, whatever a stored scope holds.
inline int SRGCountBetween(int first, int last) {
    const long long count = static_cast<long long>(last) - first + 1;
    return count > INT_MAX ? INT_MAX : count < INT_MIN ? INT_MIN : static_cast<int>(count);
}

// The chart's angle factors (its own roundings, which stored shapes and pictures were made with).
constexpr double kSRGRadiansPerDegree = 0.017453292222222222;
constexpr double kSRGDegreesPerRadian = 57.295780490442965;
constexpr double kSRGQuarterTurn = 1.5707963;

// Whether the value is one of the listed ones (graph and axis styles).
inline bool SRGOneOf(int value, std::initializer_list<int> values) {
    for (int v : values) {
        if (v == value) {
            return true;
        }
    }
    return false;
}
