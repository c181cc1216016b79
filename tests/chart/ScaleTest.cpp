#include "ChartTestSupport.h"

#include "chart/CScale.h"
#include "chart/RangeRounding.h"
#include "chart/SRGAxisManager.h"
#include "chart/SRGDecimalScale.h"
#include "chart/SRGTickMarks.h"

#include <gtest/gtest.h>

#include <cmath>

using charttest::Canvas;

namespace {
CScale Range(double low, double high) {
    CScale range;
    range.Include(low);
    range.Include(high);
    return range;
}
} // namespace

TEST(RangeRounding, LinearRangesWidenAndRoundOutToReadableMultiples) {
    const struct {
        double low, high, factor, roundedLow, roundedHigh;
    } cases[] = {
        {0.0, 97.0, 1.1, 0.0, 105.0},      // the lower end stays at 0 inside the margin
        {3.0, 97.0, 1.0, 0.0, 100.0},      // steps of 10 times the factors: 0 and 100 are nearest
        {1234.0, 5678.0, 1.0, 1000.0, 6000.0}, // 3000 and 2000 tie at 6000; the later factor wins
        {-11.3, -1.2, 1.0, -12.0, -1.0},   // negative ranges round away from the data too
        {5.0, 5.0, 1.1, 5.0, 5.0},         // no span: left as it is
    };
    for (const auto& c : cases) {
        CScale range = Range(c.low, c.high);
        SRGRoundLinearRange(range, c.factor);
        EXPECT_NEAR(range.m_dMin, c.roundedLow, 1e-12) << c.low << ".." << c.high;
        EXPECT_NEAR(range.m_dMax, c.roundedHigh, 1e-12) << c.low << ".." << c.high;
    }
}

TEST(RangeRounding, LogRangesGoToDecadesWhenForcedAndOneDigitOtherwise) {
    const struct {
        double low, high;
        bool force;
        double roundedLow, roundedHigh;
    } cases[] = {
        {3.0, 97.0, true, 1.0, 100.0},
        {3.0, 97.0, false, 3.0, 100.0},
        {0.0, 50.0, false, 0.0001, 100.0},  // 0 becomes 0.0001; over five decades force whole ones
        {2.0, 2.5, true, 2.0, 3.0},         // within a decade a forced rounding is not kept
        {1.0, 1e7, false, 1.0, 1e7},        // more than five decades force it
    };
    for (const auto& c : cases) {
        CScale range = Range(c.low, c.high);
        SRGRoundLogRange(range, c.force);
        EXPECT_NEAR(range.m_dMin, c.roundedLow, c.roundedLow * 1e-9) << c.low << ".." << c.high;
        EXPECT_NEAR(range.m_dMax, c.roundedHigh, c.roundedHigh * 1e-9) << c.low << ".." << c.high;
    }
}

TEST(RangeRounding, DateRangesRoundTheirStartByTheSpan) {
    const double start = 45000.0 + (7 * 3600 + 12 * 60 + 33) / 86400.0; // 07:12:33
    const struct {
        double span, roundedStart;
    } cases[] = {
        {4.0 / 86400, start},                                  // up to five seconds: untouched
        {30.0 / 86400, start},                                 // up to a minute: seconds kept
        {2.0 / 24, 45000.0 + (7 * 3600 + 12 * 60) / 86400.0}, // up to five hours: whole minutes
        {2.0, 45000.0 + 7.0 / 24},                             // up to five days: whole hours
        {30.0, 45000.0},                                       // longer: whole days
    };
    for (const auto& c : cases) {
        CScale range = Range(start, start + c.span);
        SRGRoundDateRange(range, 1.0);
        EXPECT_NEAR(range.m_dMin, c.roundedStart, 1e-7) << c.span;
        EXPECT_EQ(range.m_dMax, start + c.span) << c.span;
    }
}

TEST(DecimalScale, LabelsTheLineFromItsMinimumToItsMaximum) {
    SRGraph chart;
    Canvas canvas(200, 300);
    auto* scale = new SRGDecimalScale;
    chart.AddComponent(scale);
    scale->BeginDraw(canvas.DC(), nullptr);
    scale->SetStartPoint(50, 250);
    scale->SetEndPoint(50, 50);
    scale->SetMinimum(0.0);
    scale->SetMaximum(100.0);
    scale->SetStep(25.0);
    scale->SetFormat(u"%g");
    scale->BuildLabels();
    ASSERT_EQ(scale->GetCount(), 5);
    const char16_t* texts[] = {u"0", u"25", u"50", u"75", u"100"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(scale->GetLabel(i)->GetText(1), CString(texts[i])) << i;
    }
    // A step too small for the line still stops at the label limit.
    scale->SetStep(1e-9);
    scale->BuildLabels();
    EXPECT_LE(scale->GetCount(), kSRGMaxScaleLabels);
    scale->EndDraw();
}

TEST(AxisManager, SlotsStartEmptyAndRemovingKeepsOrDeletes) {
    SRGAxisManager manager;
    EXPECT_EQ(manager.GetScale(), nullptr);
    EXPECT_EQ(manager.GetTickMarks(), nullptr);
    EXPECT_EQ(manager.GetGridLines(), nullptr);
    EXPECT_EQ(manager.GetDisplay(), nullptr);
    EXPECT_EQ(manager.GetTitle(), nullptr);
    EXPECT_EQ(manager.GetRequiredWidth(), 0);
    EXPECT_EQ(manager.GetRequiredHeight(), 0);

    auto* scale = new SRGDecimalScale;
    manager.SetScale(scale);
    manager.SetTickMarks(new SRGTickMarks);
    EXPECT_EQ(manager.GetScale(), scale);
    SRGraphComponent* removed = manager.RemoveScale(FALSE);
    EXPECT_EQ(removed, scale);
    EXPECT_EQ(manager.GetScale(), nullptr);
    delete removed;
    EXPECT_EQ(manager.RemoveTickMarks(TRUE), nullptr);
    EXPECT_EQ(manager.GetTickMarks(), nullptr);
}
