// A scale of calendar dates and times (day counts with fractions): a step from a table of readable
// durations, calendar stepping by months and years for long steps, and a format by the span.
#pragma once

#include "chart/SRGDecimalScale.h"

#include "platform/base/COleDateTime.h"

class SRGDateScale : public SRGDecimalScale {
    DECLARE_SERIAL(SRGDateScale)

public:
    SRGDateScale();
    void BuildLabels() override;

    virtual void SetMaximumDate(COleDateTime date) { m_dMax = date.m_dt; }
    virtual void SetMinimumDate(COleDateTime date) { m_dMin = date.m_dt; }
    virtual void SetDateStep(COleDateTimeSpan span) { m_dStep = static_cast<double>(span); }

    // The step for a span and a number of labels that fit (a given step other than 0 and 0.1 stays).
    static double ChooseStep(double span, int fit, double given);
    // The format for a span: seconds, minutes and seconds, the time, or the date.
    static CString FormatForSpan(double span);
};
