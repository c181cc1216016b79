// Widening and rounding of value ranges to readable limits: linear ranges to multiples of 3.5, 2.5, 3, 2, 5
// or 1 times a power of ten, date ranges to whole minutes, hours or days, logarithmic ranges to decades.
#pragma once

class CScale;

// Widens the range by (factor - 1) of its span, half at each end (an end stays at 0 when the margin would
// carry it across), then moves each end out to the nearest candidate multiple. A range without a span is
// left as it is.
void SRGRoundLinearRange(CScale& range, double factor);
// Widens as the linear rounding does, then rounds the lower end down by the span; the upper end stays.
void SRGRoundDateRange(CScale& range, double factor);
// Forced: whole decades; otherwise one significant digit, rounded outward. Ends at or below 0 are taken as
// 0.0001.
void SRGRoundLogRange(CScale& range, bool force);
// The decimal decades between the ends.
double SRGDecades(const CScale& range);
