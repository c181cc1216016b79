#include "chart/SRGDateScale.h"

#include "chart/ChartMath.h"
#include "chart/ChartResourceIds.h"

#include "platform/framework/CDC.h"

#include <cmath>
#include <iterator>

IMPLEMENT_SERIAL(SRGDateScale, SRGDecimalScale, VERSIONABLE_SCHEMA | 1)

namespace {
// Readable durations in days, from one second to ten years.
constexpr double kDateSteps[] = {1.157407407407e-05, 2.314814814814e-05, 5.787037037035e-05, 0.0001157407407407,
                                 0.0003472222222221, 0.0006944444444444, 0.001388888888889, 0.003472222222222,
                                 0.006944444444444,  0.02083333333333,   0.04166666666667,  0.083333333332,
                                 0.125,              0.166666666664,     0.25,              0.333333333333,
                                 1.0,                7.0,                14.0,              30.0,
                                 90.0,               180.0,              365.0,             730.0,
                                 1825.0,             3650.0};

// Months a calendar step moves by.
int MonthsFor(double step) {
    if (step == 30.0) {
        return 1;
    }
    if (step == 90.0) {
        return 3;
    }
    if (step == 180.0) {
        return 6;
    }
    if (step == 730.0) {
        return 24;
    }
    if (step == 1825.0) {
        return 60;
    }
    if (step == 3650.0) {
        return 120;
    }
    return 12;
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Midnight of the day of month in the given month; a day the month lacks becomes its last day.
double CalendarDay(int year, int month, int day) {
    COleDateTime date;
    if (date.SetDate(year, month, std::min(day, DaysInMonth(year, month))) != 0) {
        return std::nan("");
    }
    return date.m_dt;
}
} // namespace

SRGDateScale::SRGDateScale() {
    m_nType = IDS_SRG_TYPE_DATE_SCALE;
    m_bAvoidOverlap = TRUE;
}

double SRGDateScale::ChooseStep(double span, int fit, double given) {
    if (given != 0.0 && given != 0.1) {
        return given;
    }
    double wanted = fit > 0 ? span / fit : HUGE_VAL;
    wanted = std::max(wanted, kDateSteps[0]);
    if (!(wanted <= 1825.0)) {
        return 3650.0;
    }
    for (size_t i = 1; i < std::size(kDateSteps); ++i) {
        if (kDateSteps[i] >= wanted) {
            return kDateSteps[i];
        }
    }
    return 3650.0;
}

CString SRGDateScale::FormatForSpan(double span) {
    if (span <= 0.0006944444444444) {
        return u"%S";
    }
    if (span <= 0.04166666666667) {
        return u"%M:%S";
    }
    if (span <= 1.0) {
        return u"%H:%M:%S";
    }
    return u"%x";
}

void SRGDateScale::BuildLabels() {
    if (!m_bDrawing || !m_pDC) {
        return;
    }
    BeginBuild();
    TEXTMETRICW metrics{};
    m_pDC->GetTextMetricsW(&metrics);
    const int band = metrics.tmHeight * 6 / 5;
    const int fit = band > 0 ? SRGTrunc(LineLength()) / band : 0;
    const double span = m_dMax - m_dMin;
    const double step = ChooseStep(span, fit, m_dStep);
    const CString format = m_strFormat.IsEmpty() ? FormatForSpan(span) : m_strFormat;
    const POINT offset = GetLabelOffset();
    const double s0 = m_bAscending ? m_dMin : m_dMax;
    const double far = m_bAscending ? m_dMax : m_dMin;
    const bool calendar = step > 29.999999;
    const COleDateTime startDate(s0);
    int year = startDate.GetYear(), month = startDate.GetMonth();
    const int day = startDate.GetDay();
    double tick = s0;
    if (calendar && startDate.GetStatus() == COleDateTime::valid) {
        tick = CalendarDay(year, month, day);
    }
    int used = 0, passes = 0;
    while (passes < 2 && used < kSRGMaxScaleLabels && std::isfinite(tick)) {
        if (m_bAscending ? tick > far : tick < far) {
            tick = far;
            if (++passes >= 2) {
                break;
            }
        }
        SRGraphLabel* label = LabelAt(used++);
        label->SetText(COleDateTime(tick).Format(format));
        PlaceAt(label, std::fabs(tick - s0), span, offset);
        if (calendar && startDate.GetStatus() == COleDateTime::valid) {
            const int months = MonthsFor(step) * (m_bAscending ? 1 : -1);
            int total = year * 12 + (month - 1) + months;
            year = total / 12;
            month = total % 12 + 1;
            tick = CalendarDay(year, month, day);
        } else {
            tick += m_bAscending ? step : -step;
        }
        if (!(step > 0.0)) {
            break;
        }
    }
    EndBuild(used);
}
