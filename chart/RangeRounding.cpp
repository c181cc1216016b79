#include "chart/RangeRounding.h"

#include "chart/CScale.h"
#include "chart/ChartMath.h"

#include "platform/base/COleDateTime.h"

#include <cmath>

namespace {
constexpr double kStepFactors[] = {3.5, 2.5, 3.0, 2.0, 5.0, 1.0};

// Step 2 of the rounding: widen by the margin of the factor.
void Widen(CScale& range, double factor) {
    if (factor == 1.0) {
        return;
    }
    const double lo = range.m_dMin, hi = range.m_dMax;
    const double m = (factor - 1.0) * (hi - lo) * 0.5;
    range.Include(lo >= 0.0 && lo <= m ? 0.0 : lo - m);
    range.Include(hi >= -m && hi <= 0.0 ? 0.0 : hi + m);
}

// The decade number of a logarithm: its integer part, less one when it is negative.
int DecadeNumber(double x) {
    return SRGTrunc(x) - (x < 0.0 ? 1 : 0);
}
} // namespace

double SRGDecades(const CScale& range) {
    return std::log10(range.m_dMax) - std::log10(range.m_dMin);
}

void SRGRoundLinearRange(CScale& range, double factor) {
    if (!(range.GetSpan() > 0.0) || !std::isfinite(range.GetSpan())) {
        return; // nothing to round: a logarithm of the span would have no value
    }
    Widen(range, factor);
    const double lo = range.m_dMin, hi = range.m_dMax, s = hi - lo;
    const double t = s * 0.001;
    int p = SRGTrunc(std::log10(s));
    if (p < 0) {
        --p;
    }
    if (s / std::pow(10.0, p) <= 4.0) {
        --p;
    }
    double lower = lo, upper = hi;
    double bestLower = HUGE_VAL, bestUpper = HUGE_VAL;
    for (double k : kStepFactors) {
        const double u = std::pow(10.0, p) * k;
        double c = u * std::floor(lo / u);
        if (c > lo + t) {
            c -= u;
        }
        if (lo - c <= bestLower) {
            bestLower = lo - c;
            lower = c;
        }
        c = u * std::floor(hi / u);
        if (c < hi - t) {
            c += u;
        }
        if (c - hi <= bestUpper) {
            bestUpper = c - hi;
            upper = c;
        }
    }
    range.Include(lower);
    range.Include(upper);
}

void SRGRoundDateRange(CScale& range, double factor) {
    if (!(range.GetSpan() >= 0.0)) {
        return;
    }
    Widen(range, factor);
    const double s = range.GetSpan();
    if (s <= 5.7870370370349996e-05) {
        return;
    }
    const COleDateTime lower(range.m_dMin);
    if (lower.GetStatus() != COleDateTime::valid) {
        return;
    }
    int hour = lower.GetHour(), minute = lower.GetMinute(), second = lower.GetSecond();
    if (s <= 0.0006944444444444) {
        // to the second
    } else if (s <= 0.20833333333335002) {
        second = 0;
    } else if (s <= 5.0) {
        minute = second = 0;
    } else {
        hour = minute = second = 0;
    }
    COleDateTime rebuilt;
    if (rebuilt.SetDateTime(lower.GetYear(), lower.GetMonth(), lower.GetDay(), hour, minute, second) == 0) {
        range.Include(rebuilt.m_dt);
    }
}

void SRGRoundLogRange(CScale& range, bool force) {
    double lo = range.m_dMin, hi = range.m_dMax;
    if (!(lo > 0.0)) {
        lo = 0.0001;
    }
    if (!(hi > 0.0) || hi <= lo) {
        hi = lo * 10.0;
    }
    const double a = std::log10(lo), b = std::log10(hi), d = b - a;
    if (d > 5.0) {
        force = true;
    }
    if (force) {
        force = d > 0.6 || DecadeNumber(a) != DecadeNumber(b);
    }
    double newLo, newHi;
    if (force) {
        const double t = d * 0.01;
        double e1 = std::floor(a);
        if ((e1 + 1.0) - a < t) {
            e1 += 1.0;
        }
        double e2 = std::ceil(b);
        if ((b + 1.0) - e2 < t) {
            e2 -= 1.0;
        }
        if (e1 == e2) {
            e2 = e1 + 1.0;
        }
        newLo = std::pow(10.0, e1);
        newHi = std::pow(10.0, e2);
    } else {
        const double q1 = std::pow(10.0, std::floor(std::log10(lo)));
        const double q2 = std::pow(10.0, std::floor(std::log10(hi)));
        newLo = std::floor(lo / q1) * q1;
        newHi = std::ceil(hi / q2) * q2;
    }
    range.Reset();
    range.Include(newLo);
    range.Include(newHi);
}
