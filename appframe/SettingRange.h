// The range a dialog's field accepts, in one place for the dialog's validation and for loading the stored
// value: a value edited by hand in the settings is clamped into it on loading, so that nothing reaches the
// program that could not have been typed.
#pragma once

#include <cmath>
#include <type_traits>
#include <utility>

template <typename T>
struct SettingRange {
    T low;
    T high;

    constexpr bool Contains(T value) const { return value >= low && value <= high; }

    // The nearest value inside the range, for a value of any arithmetic type (compared by value, so a
    // negative int is below an unsigned range). What is no number at all reads as 0, as unparseable text
    // does, and is then clamped.
    template <typename U>
    constexpr T Clamp(U value) const {
        if constexpr (std::is_integral_v<U> && std::is_integral_v<T>) {
            return std::cmp_less(value, low)       ? low
                   : std::cmp_greater(value, high) ? high
                                                   : static_cast<T>(value);
        } else {
            const double v = std::isnan(static_cast<double>(value)) ? 0.0 : static_cast<double>(value);
            return v < static_cast<double>(low)    ? low
                   : v > static_cast<double>(high) ? high
                                                   : static_cast<T>(v);
        }
    }
};
